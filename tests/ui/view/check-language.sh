#!/usr/bin/env bash
# The German pack end to end in the stand-in player: the pack in the plugin's lang folder is
# chosen on the preference page, whose restart offer asks the player for a restart; at the
# next start the tree's and the list's menus, the column headers, the status line and the
# tree's top item are German, with English for the strings the pack leaves out. With
# CV_SHOT_DIR set, the screenshot of the German view is copied there.
set -u
scratch=language
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
pack=$3
# The top-level captions of a printed menu (a caption's own tab is printed as \t).
captions() { awk -F'\t' '$1 == 0 {print $3}'; }

mkdir -p "$work/player/Plugins" "$work/lib/Album"
cp "$plugin" "$work/player/Plugins/gen_cv.dll"
plugin=$(winpath "$work/player/Plugins/gen_cv.dll")  # loaded from a player's Plugins folder
for n in 1 2 3; do printf 'x' >"$work/lib/Album/track$n.mp3"; done
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview/lang"
cp "$pack" "$docs/Crateview/lang/German.dll"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host choose "$docs" <<SCRIPT
wait-idle 10000
key Ctrl+P
wait-idle 10000
dialog-set 1018 1
dialog
dialog-set 1022 Deutsch
answer yes
wait-idle 10000
quit
SCRIPT
check "the language list offers the pack by its own name" \
  "$(section dialog | grep -qP '^1022\tComboBox\t.*items=English <default>\|Deutsch'; echo $?)"
check "accepting the restart offer asks the player for a restart" "$(grep -q 'host: restart requested' <<<"$out"; echo $?)"
check "the pack is stored at shutdown" \
  "$(grep -qiF "Language=$(winpath "$docs/Crateview/lang/German.dll")" "$docs/Crateview/gen_cv.ini"; echo $?)"

run_host german "$docs" <<SCRIPT
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
[ "$failed" = 0 ] || for f in "$work"/*.out; do echo "--- $(basename "$f") ---"; cat "$f"; done
[ "$failed" = 0 ]
