#!/usr/bin/env bash
# Takes the launcher screenshot for README under a virtual X display:
#   bash tools/screenshots.sh [BUILD_DIR]     (default build-release, built if missing)
# The program runs with a throw-away home, so its desktop shortcut lands there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
if [ ! -x "$build/bin/quvela" ] || [ ! -x "$build/bin/grab-screen" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUVELA_TESTS=OFF >/dev/null
  cmake --build "$build" --target quvela grab-screen
fi
home=$(mktemp -d)
trap 'kill $app_pid 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; rm -rf "$home"' EXIT
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb HOME=$home ASAN_OPTIONS=detect_leaks=0
mkdir -p "$home/Desktop"
"$build/bin/quvela" >/dev/null 2>&1 &
app_pid=$!
sleep 3
# The launcher sits in the middle of the 1024 x 768 screen; a margin shows its rounding.
"$build/bin/grab-screen" docs/launcher.png $(((1024 - 493) / 2 - 12)) $(((768 - 377) / 2 - 12)) 517 401
echo "docs/launcher.png written"
