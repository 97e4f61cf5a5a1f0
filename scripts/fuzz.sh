#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds: scripts/fuzz.sh TARGET SECONDS
# Targets: data_files wave picture video serial drive_script recording gamepad gpx package.
# Builds with clang into build-fuzz/ (sanitized, coverage-instrumented), starts
# from the project's seeds in fuzz/seeds/TARGET and keeps what it learns in
# build-fuzz/corpus/TARGET; a finding is written to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
bash scripts/install-deps.sh
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTRAINSIM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build-fuzz -j2 --target "fuzz_$target"
corpus=$PWD/build-fuzz/corpus/$target
mkdir -p "$corpus" "$PWD/build-fuzz/findings"
export QT_QPA_PLATFORM=offscreen
# Leaks are looked for by the sanitized test run; here only crashes, hangs,
# undefined behaviour and wrong answers count.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
exec "./build-fuzz/fuzz/fuzz_$target" "$corpus" "$PWD/fuzz/seeds/$target" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$PWD/build-fuzz/findings/$target-" -print_final_stats=1
