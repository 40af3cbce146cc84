#!/usr/bin/env bash
# The German pack end to end in the stand-in player: the pack in the plugin's lang folder is
# chosen on the preference page, whose restart offer asks the player for a restart; at the
# next start the tree's and the list's menus, the column headers, the status line and the
# tree's top item are German, with English for the strings the pack leaves out. With
# CV_SHOT_DIR set, the screenshot of the German view is copied there.
set -u
host=$1
plugin=$2
pack=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d /tmp/cv-language-check.XXXXXX)
trap '[ -n "${CV_KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
section() { sed -n "/^> $1\$/,/^> /p" <<<"$out" | sed '1d;$d'; }  # output of one command
# The top-level captions of a printed menu (a caption's own tab is printed as \t).
captions() { awk -F'\t' '$1 == 0 {print $3}'; }

mkdir -p "$work/player/Plugins" "$work/lib/Album"
cp "$plugin" "$work/player/Plugins/gen_cv.dll"
for n in 1 2 3; do printf 'x' >"$work/lib/Album/track$n.mp3"; done
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview/lang"
cp "$pack" "$docs/Crateview/lang/German.dll"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"
run() {  # script file: one life of the player, its output kept in $out
  out=$(cd "$work" && "$top/tools/wine/run-wine.sh" "$host" --plugin "$(winpath "$work/player/Plugins/gen_cv.dll")" \
        --documents "$docs" --script "$1" 2>&1)
  status=$?
  echo "$out" >"$1.out"
}

cat >"$work/choose.script" <<SCRIPT
wait-idle 10000
key Ctrl+P
dialog-set 1018 1
dialog
dialog-set 1022 Deutsch
answer yes
wait-idle 10000
quit
SCRIPT
run "$work/choose.script"
check "the choosing run answers every box it meets" "$([ "$status" -eq 0 ] && ! grep -q '^unexpected box' <<<"$out"; echo $?)"
check "the language list offers the pack by its own name" \
  "$(section dialog | grep -qP '^1022\tComboBox\t.*items=English <default>\|Deutsch'; echo $?)"
check "accepting the restart offer asks the player for a restart" "$(grep -q 'host: restart requested' <<<"$out"; echo $?)"
check "the pack is stored at shutdown" \
  "$(grep -qiF "Language=$(winpath "$docs/Crateview/lang/German.dll")" "$docs/Crateview/gen_cv.ini"; echo $?)"

cat >"$work/german.script" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib\\Album
wait-idle 10000
status
tree
menu header
right-click tree
select-rows 0,1
right-click list:0
screenshot $(winpath "$work/view-german.png") menu
quit
SCRIPT
run "$work/german.script"

check "the run answers every box it meets" "$([ "$status" -eq 0 ] && ! grep -q '^unexpected box' <<<"$out"; echo $?)"
check "status line in German" \
  "$(section status | head -n 1 | grep -qE '^3 Datei\(en\) von 3 gefundenen Datei\(en\) gelesen \('; echo $?)"
check "the tree's top item in German" "$(section tree | grep -q 'Meine Bibliothek'; echo $?)"
headers=$(section "menu header" | captions)
check "column headers in German" \
  "$(grep -qx 'Titel' <<<"$headers" && grep -qx 'Interpret' <<<"$headers" && grep -qx 'Dateiname' <<<"$headers"; echo $?)"
check "the header the pack leaves out stays English" "$(grep -qx 'Playcount' <<<"$headers"; echo $?)"
check "the tree's menu in German" \
  "$(diff <(section "right-click tree" | captions) <(printf '%s\n' 'Stamm einfügen' 'Stamm entfernen') >/dev/null; echo $?)"
list_menu=$(section "right-click list:0" | captions)
check "the list's menu in German" \
  "$(grep -qxF 'Abspielen\tEnter' <<<"$list_menu" && grep -qxF 'Alle auswählen\tCtrl+A' <<<"$list_menu"; echo $?)"
check "the menu item the pack leaves out stays English" "$(grep -qxF 'Find file in Explorer\tCtrl+F' <<<"$list_menu"; echo $?)"
check "screenshot of the German view" "$([ -s "$work/view-german.png" ]; echo $?)"
[ -n "${CV_SHOT_DIR:-}" ] && [ -s "$work/view-german.png" ] && cp "$work/view-german.png" "$CV_SHOT_DIR/view-german.png"

echo "German pack end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || for f in "$work"/*.script.out; do echo "--- $(basename "$f") ---"; cat "$f"; done
[ "$failed" = 0 ]
