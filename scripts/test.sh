#!/usr/bin/env bash
# Sets everything up and runs the whole test suite twice: a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (any sanitizer report fails the run). Both
# replay the fuzz targets' corpora as tests. With FUZZ_SECONDS above 0 it then builds the
# libFuzzer targets with clang and fuzzes each for that long (scripts/fuzz.sh). Ends with what
# passed, how long each step took, and one closing line "summary: N passed, N failed".
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-0}
passed=0
failed=0
report=()
step_start=$SECONDS

elapsed=""

# Sets `elapsed` to the seconds since the previous call, for the report.
lap() {
  elapsed="$((SECONDS - step_start)) s"
  step_start=$SECONDS
}

# Prints what ran and the closing line; exits 1 when anything failed.
finish() {
  echo "== done =="
  for line in "${report[@]}"; do echo "  $line"; done
  echo "summary: $passed passed, $failed failed"
  if ((failed)); then exit 1; fi
  exit 0
}

# run_ctest NAME BUILD_DIR: runs one build's tests and adds its counts from ctest's own count.
run_ctest() {
  local name=$1 dir=$2 log status=0
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log" || status=$?
  local counts
  counts=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [[ -z $counts ]]; then
    report+=("$name: ctest gave no count (exit $status)")
    failed=$((failed + 1))
    finish
  fi
  local bad=${counts%% *} total=${counts##* }
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  lap
  report+=("$name: $((total - bad)) of $total tests passed ($elapsed)")
  if [[ $status -ne 0 || $bad -ne 0 ]]; then finish; fi
}

step_failed() {  # step_failed WHAT
  report+=("$1: failed")
  failed=$((failed + 1))
  finish
}

echo "== setup and build (normal) =="
"$root/scripts/setup.sh" || step_failed "setup and normal build"
lap
report+=("normal build: built ($elapsed)")
echo "== tests (normal build) =="
run_ctest "normal build" "$root/build"

echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer) =="
{
  # Line tables are all a sanitizer report needs, and they compile faster than full debug data.
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON \
    -DORVANE_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 >/dev/null &&
    cmake --build "$root/build-asan"
} || step_failed "sanitizer build"
lap
report+=("sanitizer build: built ($elapsed)")
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run_ctest "sanitizer build" "$root/build-asan"

if ((fuzz_seconds <= 0)); then finish; fi
echo "== fuzzers =="
fuzz_log=$(mktemp)
if "$root/scripts/fuzz.sh" "$fuzz_seconds" 2>&1 | tee "$fuzz_log"; then
  targets=$(grep -c '^== fuzz ' "$fuzz_log" || true)
  passed=$((passed + targets))
  lap
  report+=("fuzzers: $targets targets replayed their corpora and ran ${fuzz_seconds} s each ($elapsed)")
  rm -f "$fuzz_log"
else
  rm -f "$fuzz_log"
  step_failed "fuzzers"
fi
finish
