#!/usr/bin/env bash
# Takes docs/jg-window.png, docs/jg-form-duty.png and docs/jg-form-worker.png:
#   bash tests/jg_ui/window_shot/shots.sh [BUILD_DIR]    (default build-ui)
# The example roster is shown by the window and printed by the headless command from a
# throw-away program folder whose settings name it.
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=${1:-build-ui}
cmake --build "$build" --target quvela-batch jg-window-shot -j2 >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp examples/jg-roster.xlsx "$dir/roster.xlsx"
# As a clerk left the window last time: the roster, the whole range, a fixed print date.
printf '[xtcs]\r\nexcelFileName=%s\r\nStart=7\r\nEnd=21\r\nDate=2010-1-15\r\n' "$dir/roster.xlsx" >"$dir/gwyzwgz.ini"
export ASAN_OPTIONS=detect_leaks=0
# Row 20: a clerk promoted to deputy section head, rank wage rising; row 9: a worker
# rising from senior worker to technician.
for shot in duty:20 worker:9; do
  name=${shot%%:*} row=${shot##*:}
  "$build/bin/quvela-batch" --dir "$dir" jg print --rows "$row-$row" --pdf "$dir/$name.pdf" --png-dir "$dir/$name"
  cp "$dir/$name"/*.png "docs/jg-form-$name.png"
done
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb "$build/bin/jg-window-shot" "$dir" docs/jg-window.png
echo "docs/jg-window.png, docs/jg-form-duty.png and docs/jg-form-worker.png written"
