#!/usr/bin/env bash
# The ZW tool: the workbook view on 10,000 and 50,000 rows, and zw print --pdf of 1,000
# flagged rows out of 10,000, whole process each.
#   bench/zw/run.sh BUILD_DIR     (a Release build with the benchmarks)
# QUVELA_BENCH_RUNS sets the repetitions (default 5).
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
