#!/usr/bin/env bash
# Takes docs/jb-window.png under a virtual X display, and the three JB form pictures
# docs/jb-form-normal.png, docs/jb-form-worker.png and docs/jb-form-rolling.png:
#   bash tests/jb_ui/window_shot/shots.sh [BUILD_DIR]    (default build-ui)
# A throw-away program folder holds the settings of both modes on the example rosters.
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=${1:-build-ui}
cmake --build "$build" --target quvela-batch jb-window-shot -j2 >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
{
  printf '[xtcs]\r\nType=1\r\nArea=vodeve工资处制\r\n'
  printf 'File0=某人社(2007)49号\r\nDate0=2010-4-7\r\nStart0=7\r\nEnd0=21\r\nyjkd0=78\r\n'
  printf 'excelFileName0=%s\r\n' "$PWD/examples/jb-normal-roster.xlsx"
  printf 'File1=某人社(2007)196号\r\nDate1=2010-4-7\r\nStart1=7\r\nEnd1=21\r\nyjkd1=78\r\n'
  printf 'excelFileName1=%s\r\n' "$PWD/examples/jb-rolling-roster.xlsx"
} | iconv -f UTF-8 -t GB18030 >"$dir/gwyjbgz.ini"
export ASAN_OPTIONS=detect_leaks=0
# Row 7 of the normal example is a civil servant (510), row 8 a worker (195); row 18 of
# the rolling example takes its former rank from columns 7 and 8.
for shot in normal:0:7 worker:0:8 rolling:1:18; do
  IFS=: read -r name mode row <<<"$shot"
  rm -rf "$dir/png"
  "$build/bin/quvela-batch" --dir "$dir" jb print --mode "$mode" --rows "$row-$row" \
    --pdf "$dir/form.pdf" --png-dir "$dir/png"
  cp "$dir/png/"*.png "docs/jb-form-$name.png"
done
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb "$build/bin/jb-window-shot" "$dir" docs/jb-window.png
echo "docs/jb-window.png and docs/jb-form-{normal,worker,rolling}.png written"
