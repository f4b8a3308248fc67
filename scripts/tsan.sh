#!/usr/bin/env bash
# Builds the tests of the threaded code with ThreadSanitizer and runs them: the random-art
# worker (pause, resume, close), the batch conversion's workers and savers, atomic saves from
# several threads, the renderer's two shading threads, and the tools' dialogs with the values
# their workers hand over (the editor's tests of the two dialog classes, offscreen). Any data
# race fails the run. Not part of scripts/test.sh, which runs the AddressSanitizer build; run it
# after changing anything that threads share.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DORVANE_BENCH=OFF >/dev/null
targets=(test_randomart test_batch test_render test_base test_shell)
# The editor's tests need Qt; without it the dialogs are not built.
if cmake --build "$root/build-tsan" --target help | grep -q '^test_editor:'; then
  targets+=(test_editor)
fi
cmake --build "$root/build-tsan" --target "${targets[@]}"

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
"$root/build-tsan/tests/test_randomart" --gtest_filter='RandomArtWorker*:DnaFile*'
"$root/build-tsan/tests/test_batch"
"$root/build-tsan/tests/test_render" --gtest_filter='FastPaths.*'
"$root/build-tsan/tests/test_base" --gtest_filter='AtomicFile.*'
"$root/build-tsan/tests/test_shell" --gtest_filter='RandomArtRun*:LatestValue*'
if [[ " ${targets[*]} " == *" test_editor "* ]]; then
  # Qt's own threads are not instrumented (see the suppressions); Qt's plain event dispatcher
  # keeps GLib's threads out of the run.
  TSAN_OPTIONS="$TSAN_OPTIONS:suppressions=$root/scripts/tsan-qt.supp" QT_NO_GLIB=1 \
    QT_QPA_PLATFORM=offscreen "$root/build-tsan/tests/test_editor" -class ToolDialogsTest
fi
