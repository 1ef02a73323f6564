#!/usr/bin/env bash
# Fuzzes the workbook readers with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#   tools/fuzz.sh [SECONDS] [TARGET...]     (default: 60 seconds, every target)
# Each target runs for SECONDS from a seed corpus of the workbooks in tests/spreadsheet
# and examples/; what it finds is kept in build-fuzz/corpus/TARGET between runs, and a
# crashing input is written to build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${QUVELA_FUZZ_BUILD:-build-fuzz}

fuzzer_runtime() {
  local lib
  lib=$(clang -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null || true)
  [ -f "$lib" ] || lib=$(clang -print-runtime-dir 2>/dev/null)/libclang_rt.fuzzer-x86_64.a
  [ -f "$lib" ]
}
if ! command -v clang++ >/dev/null || ! fuzzer_runtime; then
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends clang
  fuzzer_runtime || $sudo apt-get install -y -q --no-install-recommends libclang-rt-14-dev
fi

# Every object file is instrumented for coverage; only the targets link the fuzzer's main.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DQUVELA_SANITIZE=ON -DQUVELA_FUZZ=ON -DQUVELA_TESTS=OFF -DQUVELA_BENCHMARKS=OFF >/dev/null
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=()
  for dir in fuzz/*/; do
    [ -f "$dir/CMakeLists.txt" ] && targets+=("fuzz_$(basename "$dir")")
  done
fi
cmake --build "$build" --target "${targets[@]}" -j2

# Seeds: every workbook of the tests and examples. The .xlsx target also takes its
# parts-only form (worksheet, shared strings, styles, workbook joined by NUL bytes).
seeds="$build/seeds"
rm -rf "$seeds" && mkdir -p "$seeds/files" "$seeds/parts"
find tests/spreadsheet examples -type f \( -name '*.xls' -o -name '*.xlsx' -o -path '*/hostile/*' \
  -o -path '*/fuzz_regressions/*' \) -size -2M -exec cp -t "$seeds/files" {} + 2>/dev/null || true
/usr/bin/python3 - "$seeds/parts" examples/*.xlsx <<'PY'
import sys, zipfile, os
out = sys.argv[1]
for path in sys.argv[2:]:
    try:
        z = zipfile.ZipFile(path)
        names = {n.lower(): n for n in z.namelist()}
        parts = [names.get(n) for n in ('xl/worksheets/sheet1.xml', 'xl/sharedstrings.xml',
                                        'xl/styles.xml', 'xl/workbook.xml')]
        data = b'\0'.join(z.read(n) if n else b'' for n in parts)
        open(os.path.join(out, os.path.basename(path) + '.parts'), 'wb').write(data)
    except Exception as e:
        print('no parts seed from', path, e, file=sys.stderr)
PY

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/crashes"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  extra=("$seeds/files")
  [ "$target" = fuzz_xlsx ] && extra+=("$seeds/parts")
  echo "== $target for ${seconds}s"
  if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
      "$corpus" "${extra[@]}"; then
    echo "!! $target found a problem: see $build/crashes/" >&2
    status=1
  fi
done
exit $status
