#!/usr/bin/env bash
# Installs, builds and starts the simulator at its title screen on the demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
data="${TRAINSIM_DATA:-$PWD/build/demo}"
[ -d "$data" ] || data="$PWD/tests/fixtures/basic"
exec ./build/src/app/trainsim --data "$data" "$@"
