#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, replays each committed corpus, then fuzzes each target
# for the given number of seconds (default 30). Any crash or sanitizer report fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}

cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON -DORVANE_TESTS=OFF \
  -DORVANE_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" --target orvane_fuzzers

shopt -s nullglob
for fuzzer in "$root"/build-fuzz/tests/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  corpus="$root/tests/fuzz/corpus/$name"
  work=$(mktemp -d)
  echo "== fuzz $name: replay $(ls "$corpus" | wc -l) seeds, then ${seconds}s =="
  "$fuzzer" -runs=0 "$corpus" 2>&1 | tail -n 2
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$work" "$corpus" 2>&1 | tail -n 2
  rm -rf "$work"
done
