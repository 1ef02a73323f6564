#!/usr/bin/env bash
# Installs what is missing, builds Quvela (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUVELA_TESTS=OFF >/dev/null
cmake --build build-release
exec build-release/bin/quvela "$@"
