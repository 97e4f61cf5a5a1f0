#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it
# under the project's .clang-format. Fix with: scripts/format-check.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
fmt=$(command -v clang-format-14 || command -v clang-format)
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  "$fmt" -i "${files[@]}"
  exit 0
fi
if ! "$fmt" --dry-run --Werror "${files[@]}" 2>format-check.log; then
  head -40 format-check.log >&2
  echo "format check: $(grep -c 'error:' format-check.log) places differ from .clang-format; run scripts/format-check.sh --fix" >&2
  rm -f format-check.log
  exit 1
fi
rm -f format-check.log
echo "format check: ${#files[@]} files as .clang-format says"
