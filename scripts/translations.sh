#!/usr/bin/env bash
# Our texts in Japanese, one translation file per part of the program:
#   translations/app_ja.ts     the program's windows and dialogs (src/app)
#   translations/tools_ja.ts   the command line: --help, subcommands' messages (src/app: main,
#                              the option table, subcommands, *_mode)
#   translations/editor_ja.ts  the route editor (src/app/editor)
#   translations/core_ja.ts    what the core words for people: the checker's explanations,
#                              messages of the readers, tools and reports (src/core and siblings)
# "update" brings them in line with the sources (new texts appear unfinished);
# "check" fails when a text of ours has no finished Japanese translation or a
# translation file is behind its sources. CI runs "check".
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}

tools='/(main\.cpp|command_line\.(cpp|h)|subcommands\.(cpp|h)|data_folder\.(cpp|h)|[a-z_]+_mode\.(cpp|h))$'

sources() {
  case "$1" in
    app) find src/app -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) | grep -v -E "$tools" ;;
    tools) find src/app -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) | grep -E "$tools" ;;
    editor) find src/app/editor \( -name '*.cpp' -o -name '*.h' \) ;;
    core) find src/core src/gps src/motion src/pack src/video src/sound src/input \( -name '*.cpp' -o -name '*.h' \) ;;
  esac | LC_ALL=C sort
}

# The core has no Qt: its texts are marked with ts::trText(context, text)
# (src/core/text/our_text.h), read by lupdate as QCoreApplication::translate.
update_one() {  # AREA TS
  local list
  list=$(mktemp)
  sources "$1" > "$list"
  "$LUPDATE" -silent -locations none -no-obsolete -source-language en -target-language ja \
    -tr-function-alias translate+=trText,translate+=ourText,translate+=ourTextUtf8 "@$list" -ts "$2"
  rm -f "$list"
}

areas=(app tools editor core)
case "${1:-}" in
  update)
    for a in "${areas[@]}"; do update_one "$a" "translations/${a}_ja.ts"; done ;;
  check)
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    status=0
    for a in "${areas[@]}"; do
      ts=translations/${a}_ja.ts
      cp "$ts" "$tmp/${a}_ja.ts"
      update_one "$a" "$tmp/${a}_ja.ts"
      if ! cmp -s "$ts" "$tmp/${a}_ja.ts"; then
        echo "$ts is behind its sources (run: scripts/translations.sh update, then translate):" >&2
        diff -u "$ts" "$tmp/${a}_ja.ts" | grep '^[+-] *<source>' | head -20 >&2 || true
        status=1
      fi
      unfinished=$(grep -c 'type="unfinished"' "$tmp/${a}_ja.ts" || true)
      if [ "$unfinished" != 0 ]; then
        echo "$ts: $unfinished texts without a finished Japanese translation:" >&2
        grep -B2 'type="unfinished"' "$tmp/${a}_ja.ts" | grep '<source>' | head -20 >&2 || true
        status=1
      fi
    done
    exit $status ;;
  *) echo "usage: scripts/translations.sh update|check" >&2; exit 2 ;;
esac
