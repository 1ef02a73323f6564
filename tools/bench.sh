#!/usr/bin/env bash
# Builds Release with the benchmarks and runs every bench/*/run.sh with the build folder
# as its argument; each prints its own figures.
#   tools/bench.sh [AREA...]     (default: every area, e.g. tools/bench.sh workbook)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUVELA_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUVELA_BENCHMARKS=ON -DQUVELA_TESTS=OFF >/dev/null
cmake --build "$build" -j2
areas=("$@")
if ((${#areas[@]} == 0)); then
  for script in bench/*/run.sh; do
    [ -f "$script" ] && areas+=("$(basename "$(dirname "$script")")")
  done
fi
status=0
for area in "${areas[@]}"; do
  echo "=== $area"
  bash "bench/$area/run.sh" "$PWD/$build" || status=1
done
exit $status
