#!/usr/bin/env bash
# Workbook reading and writing, side by side with openpyxl and a bare DOM reader.
#   bench/workbook/run.sh BUILD_DIR     (a Release build with -DQUVELA_BENCHMARKS=ON)
# QUVELA_BENCH_RUNS sets the repetitions (default 5); QUVELA_BENCH_SHARED the folder of
# the shared roster generator, openpyxl workloads and DOM reader (default: shared/bench in
# the folder that holds the checkout).
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
