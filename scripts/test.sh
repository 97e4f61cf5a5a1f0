#!/usr/bin/env bash
# Installs, builds and runs the whole test suite, then the same suite under
# AddressSanitizer + UndefinedBehaviorSanitizer and the threaded tests under
# ThreadSanitizer, and a short run of every fuzz target from its seeds.
# The C++ sources must match .clang-format, and the translations be complete.
# TRAINSIM_QUICK=1 runs the normal suite alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bash scripts/format-check.sh
# Every text of ours has its finished Japanese translation.
bash scripts/translations.sh check
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 --timeout 600
if [ "${TRAINSIM_QUICK:-0}" != 1 ]; then
  bash scripts/asan.sh
  bash scripts/tsan.sh
  bash scripts/fuzz-smoke.sh 30
fi
