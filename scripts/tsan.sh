#!/usr/bin/env bash
# Builds with ThreadSanitizer into build-tsan/ and runs the tests that use the
# real timers and threads (the driving window with its 33 ms thread, the sound
# bank, the serial port, the editor's video analysis), including a demo train
# in the real-time window with every kind of input arriving while both steps
# and the painter run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The real-time run drives the demo of the normal build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target demo_data
cmake -S . -B build-tsan -G Ninja -DTRAINSIM_TSAN=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
# The build makes the demo with a sanitized generator, whose JPEG writing runs
# in Qt's (uninstrumented) thread pool: the tool is not under test here.
TSAN_OPTIONS=report_bugs=0 cmake --build build-tsan -j2 --target app_tests core_tests serial_port_tests video_tests \
  editor_tests
# The tests start socat from a process with threads; its child only execs.
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1 die_after_fork=0"
export QT_QPA_PLATFORM=offscreen
export TRAINSIM_DEMO_DIR=$PWD/build/demo
./build-tsan/tests/app_tests
./build-tsan/tests/core_tests
./build-tsan/tests/serial_port_tests
# The video decoder thread of the driving window and the editor, the working
# copy's decoder and encoder threads, and the editor's copy on its own thread
# under a progress dialog.
./build-tsan/tests/video_tests --gtest_filter='FrameWorker*:WorkingCopy*:DisposablePictures*'
# The editor's analysis of a video's motion: its own thread with a decoding
# thread beside it, progress and cancel (the whole analysis is too slow here).
./build-tsan/tests/editor_tests --gtest_filter='RouteEditor.AQuickSeekingCopyIsPreparedWithProgressAndThenUsed:SpeedFromVideoDialog.ProgressShowsWhileItRunsAndCancelStopsIt'
