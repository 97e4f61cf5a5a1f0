#!/usr/bin/env bash
# A short run of every fuzz target (SECONDS each, 30 by default), one after
# another; the first finding fails it. Logs go to build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
mkdir -p build-fuzz/logs
for t in data_files wave picture video serial drive_script recording gamepad gpx package; do
  log=build-fuzz/logs/$t-smoke.log
  rc=0
  bash scripts/fuzz.sh "$t" "$seconds" >"$log" 2>&1 || rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  echo "fuzz $t: $seconds s, $execs executions, exit $rc"
  if [ "$rc" -ne 0 ]; then
    tail -40 "$log" >&2
    exit 1
  fi
done
