#!/usr/bin/env bash
# Takes docs/zw-window.png and docs/zw-settings.png under a virtual X display, and
# docs/zw-form.png, the form of the first flagged row of the example roster:
#   bash tests/zw_ui/window_shot/shots.sh [BUILD_DIR]    (default build-ui)
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=${1:-build-ui}
cmake --build "$build" --target quvela-batch zw-window-shot -j2 >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp examples/zw-roster.xlsx "$dir/zw-roster.xlsx"
# The workbook and row range as the clerk left them last time.
printf '[xtcs]\r\nexcelFileName=%s\r\nStart=7\r\nEnd=21\r\n' "$dir/zw-roster.xlsx" >"$dir/zwgz.ini"
export ASAN_OPTIONS=detect_leaks=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb "$build/bin/zw-window-shot" "$dir" docs/zw-window.png docs/zw-settings.png
"$build/bin/quvela-batch" --dir "$dir" zw print --rows 7-21 --pdf "$dir/form.pdf" --png-dir "$dir/png" --png-dpi 110
cp "$(ls "$dir/png/"*.png | head -1)" docs/zw-form.png
echo "docs/zw-window.png, docs/zw-settings.png and docs/zw-form.png written"
