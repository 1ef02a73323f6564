#!/usr/bin/env bash
# The XJ tool's import, adjustment and write-back of a 10,000-row roster, whole process each.
#   bench/xj/run.sh BUILD_DIR     (a Release build; quvela-batch is all it needs)
# QUVELA_BENCH_RUNS sets the repetitions (default 5).
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
