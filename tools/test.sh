#!/usr/bin/env bash
# Installs what is missing, builds the tests (Debug, AddressSanitizer and
# UndefinedBehaviorSanitizer, warnings as errors) and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build=${QUVELA_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUVELA_WERROR=ON -DQUVELA_SANITIZE=ON -DQUVELA_TESTS=ON >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
cd "$build" && ctest --output-on-failure -j2 --timeout 300
