#!/usr/bin/env bash
# One simulated hour of scripted driving on a demo line in the drive mode
# (tests/soak/back_and_forth.txt). Reads the trace as it is written: fails on
# a value that turned NaN or infinite (the trace writes those as null outside
# the picture slots, or as "nan"/"inf" in a text), and on memory that grows
# after the first simulated minute. Prints the figures for the README.
# Usage: scripts/soak.sh [BUILD_DIR]   (default build/; run scripts/build.sh first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/src/app/trainsim
[ -x "$bin" ] || { echo "soak: no $bin; build first" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/trace"
start=$(date +%s)
"$bin" drive --train 789 --data "$build/demo" --script tests/soak/back_and_forth.txt --trace "$work/trace" &
pid=$!
# One sample of the resident size per simulated minute (600 presentation steps).
awk -v pid="$pid" -v rssfile="$work/rss" '
  function rss(   line, f, kb) {
    kb = -1; f = "/proc/" pid "/status"
    while ((getline line < f) > 0) if (line ~ /^VmRSS:/) { split(line, p, " "); kb = p[2] }
    close(f); return kb
  }
  {
    n++
    s = $0
    sub(/"images":\{[^}]*\}/, "", s)
    if (s ~ /:null/ || tolower(s) ~ /(^|[^a-z])-?(nan|inf|infinity)([^a-z]|$)/) { bad++; if (bad <= 3) print "soak: non-finite value in line " n ": " substr(s, 1, 300) > "/dev/stderr" }
    if (match($0, /"speed":-?[0-9]+/)) { v = substr($0, RSTART + 8, RLENGTH - 8) + 0; if (v < 0) v = -v; if (v > top) top = v }
    if ($0 ~ /"event":"step"/ && ++steps % 600 == 0) { k = rss(); if (k > 0) print steps / 600, k > rssfile }
    last = $0
  }
  END {
    match(last, /"reason":"[a-zA-Z]*"/); reason = substr(last, RSTART, RLENGTH)
    printf "soak: %d trace lines, %d steps, top speed %.1f km/h, %s, non-finite lines %d\n", n, steps, top / 10000, reason, bad + 0
    exit bad > 0
  }' < "$work/trace" || { wait "$pid" || true; echo "soak: FAILED (non-finite values)" >&2; exit 1; }
wait "$pid"
end=$(date +%s)
awk -v wall="$((end - start))" '
  { m[NR] = $1; k[NR] = $2 }
  END {
    if (NR < 3) { print "soak: too few memory samples" > "/dev/stderr"; exit 1 }
    base = k[1]; hi = base; lo = base
    for (i = 1; i <= NR; i++) { if (k[i] > hi) hi = k[i]; if (k[i] < lo) lo = k[i] }
    printf "soak: resident size after minute 1: %d KiB, minute %d: %d KiB, range after minute 1: %d..%d KiB (growth %d KiB); %.0f s wall\n", base, m[NR], k[NR], lo, hi, k[NR] - base, wall
    # Flat: within 2 MiB of the first minute, whatever the last minutes do.
    exit (hi - base > 2048)
  }' "$work/rss" || { echo "soak: FAILED (memory grew after the first minute)" >&2; exit 1; }
echo "soak: passed"
