#!/usr/bin/env bash
# Builds with clang, AddressSanitizer, UndefinedBehaviorSanitizer and the
# standard library's assertions into build-fuzz/ (the tree the fuzz targets
# share) and runs the whole test suite there: it drives both demo trains from
# the first station to the end of the line through the sanitized program.
# Any undefined behaviour ends the program that hit it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTRAINSIM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Qt and the font libraries keep their caches until exit; leaks are not looked for.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake --build build-fuzz -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-fuzz --output-on-failure -j2 --timeout 1800
