#!/usr/bin/env bash
# Regenerates the golden traces from their scripts with the current build.
# Only for a deliberate change of behaviour: say why in the same commit.
set -euo pipefail
cd "$(dirname "$0")"
bin=../../build/src/app/trainsim
export QT_QPA_PLATFORM=offscreen
run() {  # name data train
  "$bin" drive --train "$3" --data "$2" --script "$1.txt" --trace "/tmp/golden-$$.jsonl"
  gzip -9n -c "/tmp/golden-$$.jsonl" > "$1.jsonl.gz"
  rm -f "/tmp/golden-$$.jsonl"
}
run demo_789 ../../build/demo 789
run demo_40 ../../build/demo 40
run basic_789 ../fixtures/basic 789
run basic_40 ../fixtures/basic 40
