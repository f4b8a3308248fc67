#!/usr/bin/env bash
# Builds the tests of the threaded code with ThreadSanitizer and runs them: the random-art
# worker (pause, resume, close), the batch conversion's workers and savers, atomic saves from
# several threads, and the renderer's two shading threads. Any data race fails the run. Not part
# of scripts/test.sh, which runs the AddressSanitizer build; run it after changing anything that
# threads share.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DORVANE_BENCH=OFF >/dev/null
cmake --build "$root/build-tsan" --target test_randomart test_batch test_render test_base

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
"$root/build-tsan/tests/test_randomart" --gtest_filter='RandomArtWorker*:DnaFile*'
"$root/build-tsan/tests/test_batch"
"$root/build-tsan/tests/test_render" --gtest_filter='FastPaths.*'
"$root/build-tsan/tests/test_base" --gtest_filter='AtomicFile.*'
