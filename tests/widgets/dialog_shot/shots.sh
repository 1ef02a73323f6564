#!/usr/bin/env bash
# Takes docs/message-box-zh.png and docs/open-dialog-zh.png under a virtual X display:
#   bash tests/widgets/dialog_shot/shots.sh [BUILD_DIR]    (default build-ui)
# The open dialog shows a throw-away folder holding the example roster and a text file,
# so that the workbook filter can be seen at work.
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=${1:-build-ui}
cmake --build "$build" --target dialogs-shot -j2 >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp examples/xj-roster.xlsx "$dir/薪级工资调整花名册.xlsx"
echo "not a roster" >"$dir/说明.txt"
export ASAN_OPTIONS=detect_leaks=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb "$build/bin/dialogs-shot" "$dir" docs/message-box-zh.png docs/open-dialog-zh.png
echo "docs/message-box-zh.png and docs/open-dialog-zh.png written"
