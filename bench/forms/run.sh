#!/usr/bin/env bash
# The XJ approval forms printed into one PDF, whole process: 100 and 1,000 forms.
#   bench/forms/run.sh BUILD_DIR     (a Release build; quvela-batch is all it needs)
# QUVELA_BENCH_RUNS sets the repetitions (default 5).
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
