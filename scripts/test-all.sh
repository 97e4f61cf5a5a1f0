#!/usr/bin/env bash
# Everything: the test suite (what CI runs), then a 30 s smoke of every fuzz
# target, the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the ThreadSanitizer runs. Each part prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
part() {
  local start=$SECONDS
  echo ">>> $*"
  "$@"
  echo ">>> $* took $((SECONDS - start)) s"
}
part bash scripts/test.sh
part bash scripts/fuzz-smoke.sh 30
part bash scripts/asan.sh
part bash scripts/tsan.sh
