#!/usr/bin/env bash
# Builds with ThreadSanitizer into build-tsan/ and runs the tests that use the
# real timers and threads (the driving window with its 33 ms thread, the sound bank).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-tsan -G Ninja -DTRAINSIM_TSAN=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-tsan -j2 --target app_tests core_tests serial_port_tests
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
./build-tsan/tests/app_tests
./build-tsan/tests/core_tests
./build-tsan/tests/serial_port_tests
