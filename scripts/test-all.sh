#!/usr/bin/env bash
# What scripts/test.sh (CI) runs, part by part, each with how long it took:
# the test suite, the whole suite under AddressSanitizer +
# UndefinedBehaviorSanitizer, the ThreadSanitizer runs and a 30 s smoke of
# every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
part() {
  local start=$SECONDS
  echo ">>> $*"
  "$@"
  echo ">>> $* took $((SECONDS - start)) s"
}
part env TRAINSIM_QUICK=1 bash scripts/test.sh
part bash scripts/asan.sh
part bash scripts/tsan.sh
part bash scripts/fuzz-smoke.sh 30
