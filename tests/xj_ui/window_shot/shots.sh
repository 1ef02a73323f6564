#!/usr/bin/env bash
# Takes docs/xj-window.png and docs/xj-settings.png under a virtual X display:
#   bash tests/xj_ui/window_shot/shots.sh [BUILD_DIR]    (default build-ui)
# The example roster is imported and adjusted by the headless commands into a
# throw-away program folder, which the window then shows.
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=${1:-build-ui}
cmake --build "$build" --target quvela-batch xj-window-shot -j2 >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp examples/xj-roster.xlsx "$dir/roster.xlsx"
"$build/bin/quvela-batch" --dir "$dir" xj import --workbook "$dir/roster.xlsx" --rows 7-30
"$build/bin/quvela-batch" --dir "$dir" xj adjust
# The row range as the clerk typed it before leaving the window last time.
printf 'Start=7\r\nEnd=30\r\n' >>"$dir/xjgz.ini"
export ASAN_OPTIONS=detect_leaks=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb "$build/bin/xj-window-shot" "$dir" docs/xj-window.png docs/xj-settings.png
echo "docs/xj-window.png and docs/xj-settings.png written"
