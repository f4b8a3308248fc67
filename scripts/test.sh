#!/usr/bin/env bash
# Sets everything up and runs the whole test suite twice: a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (any sanitizer report fails the run); then
# replays the fuzzers' corpora and fuzzes each target briefly.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)

echo "== tests (normal build) =="
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON \
  -DORVANE_BENCH=OFF >/dev/null
cmake --build "$root/build-asan"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

"$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
