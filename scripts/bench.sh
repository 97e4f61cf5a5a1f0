#!/usr/bin/env bash
# Builds, then prints every performance figure: the benchmarks, the drive
# mode over a simulated hour of the Konan Line (times real time, peak memory),
# the driving window under Xvfb for 60 s at the recorded speed, and the time
# from a click on a train to its driving window, and the live link's latency,
# processor time and timer lateness with 0, 1 and 16 clients. Timed figures are the median
# of several runs, with their spread. Usage: scripts/bench.sh [RUNS] (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
bash scripts/build.sh >/dev/null
b=build
export QT_QPA_PLATFORM=offscreen

# median and spread (min .. max) of the numbers on standard input
stats() { sort -g | awk '{v[NR]=$1} END {m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "median %s (%s .. %s, %d runs)", m, v[1], v[NR], NR}'; }

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "== benchmarks"
$b/bench/step_bench --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "median|stddev"
$b/bench/panel_bench $b/demo --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E "median|stddev|first"
$b/bench/route_load_bench 2>/dev/null | grep BM_
$b/bench/sound_bench 2>/dev/null | grep BM_
$b/bench/frame_fetch_bench 2>/dev/null | grep BM_

echo "== drive mode: a simulated hour of the Konan Line, trace on, snapshots off"
script=$b/bench-hour.txt
{
  echo "@20 jump 0"
  echo "@100 start"
  for k in $(seq 0 29); do
    t=$((1000 + k * 120000))
    echo "@$t jump 0"
    echo "@$((t + 2000)) char 5"
    echo "@$((t + 2000)) key shift+F1"
    echo "@$((t + 100000)) key shift+F2"
    echo "@$((t + 100000)) char 0"
  done
  echo "@3600000 close"
} > "$script"
: > $b/bench-hour.times
for _ in $(seq "$runs"); do
  /usr/bin/time -f "%e %M" -o $b/bench-hour.one $b/src/app/trainsim drive --train 789 --data $b/demo \
    --script "$script" --trace $b/bench-hour.jsonl
  cat $b/bench-hour.one >> $b/bench-hour.times
done
echo "wall seconds: $(cut -d' ' -f1 $b/bench-hour.times | stats)"
echo "times real time: $(cut -d' ' -f1 $b/bench-hour.times | awk '{print 3600 / $1}' | stats)"
echo "peak memory MB: $(cut -d' ' -f2 $b/bench-hour.times | awk '{printf "%.1f\n", $1 / 1024}' | stats)"
echo "trace: $(wc -l < $b/bench-hour.jsonl) lines, $(( $(stat -c %s $b/bench-hour.jsonl) / 1048576 )) MB"

echo "== driving window under Xvfb, 60 s at the recorded speed"
unset QT_QPA_PLATFORM
(cd $b && xvfb-run -a ./bench/view_rate demo 60) 2>/dev/null | grep -v propagate
echo "== click on a train to its driving window drawn"
for _ in $(seq "$runs"); do
  (cd $b && xvfb-run -a ./bench/view_rate demo --click) 2>/dev/null | grep click
done
echo "== live link in the driving window, 30 s each: no client, one, 16"
for n in 0 1 16; do
  (cd $b && QT_QPA_PLATFORM=offscreen ./bench/link_bench demo 30 $n) 2>/dev/null
done
