#!/usr/bin/env bash
# Smart playlists end to end in the stand-in player: the tree menu's "Smart playlist" opens the
# query dialog, the builder composes two conditions joined with AND, OK without a name is
# refused with its message, the named playlist becomes a root listing exactly its files, and
# "Edit SQL-query" renames it; a value holding "%" and "_" lists the folder of that very name.
# Tags are read for the rows shown, so the album is shown first.
# Set CV_SHOT_DIR to keep the dialog's screenshot.
set -u
scratch=query
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"

bash "$top/tools/samplelib/make-sample-library.sh" "$work/lib" >/dev/null
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\r\nFile types=mp3;flac;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host query "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib\\The Lanterns\\Yellow Harbour
wait-idle 30000
sleep 1000
wait-idle 30000
list
right-click tree
choose Smart playlist
dialog-set 1089 Artist
dialog-click 1102
dialog-set 1096 Beatles
dialog-click 1101
dialog-set 1089 Year
dialog-click 1091
dialog-set 1096 1990
dialog-click 1029
dialog
dialog-click 1098
right-click tree
choose Smart playlist
dialog-set 1089 Artist
dialog-click 1102
dialog-set 1096 Lanterns
dialog-click 1101
dialog-set 1089 Year
dialog-click 1092
dialog-set 1096 2010
dialog-click 1029
dialog
dialog-click 1099
answer ok
dialog-set 1071 Lanterns before 2010
screenshot $work/query-dialog.png dialog
dialog-click 1099
wait-idle 30000
select Lanterns before 2010
wait-idle 10000
list
right-click tree:Lanterns before 2010
choose Edit SQL-query
dialog-set 1071 Lanterns in the nineties
dialog-click 1099
wait-idle 10000
tree
right-click tree
choose Smart playlist
dialog-set 1089 Filepath
dialog-click 1102
dialog-set 1096 100% Pure_
dialog-click 1101
dialog-set 1071 Pure
dialog
dialog-click 1099
wait-idle 30000
select Pure
wait-idle 10000
list
quit
SCRIPT

beatles=$(nth 1 "dialog")
shown=$(nth 2 "dialog")
album=$(nth 1 list | tail -n +2)
listed=$(nth 2 list | tail -n +2)
check "the dialog opens from the tree menu with its title" "$(grep -q '^dialog: Create New Smart Playlist' <<<"$beatles"; echo $?)"
check "Artist Contains Beatles, >>, Year Larger than 1990, AND composes the condition" \
  "$(grep -qF "(Artist LIKE '%Beatles%') AND (Year > 1990)" <<<"$beatles"; echo $?)"
check "the builder joins both conditions with AND" \
  "$(grep -qF "(Artist LIKE '%Lanterns%') AND (Year < 2010)" <<<"$shown"; echo $?)"
check "OK without a name is refused with its message" \
  "$(has_line "$out" "box: Error: You must give the SQL-root a name"; echo $?)"
check "the dialog's screenshot is a PNG" "$(head -c 8 "$work/query-dialog.png" 2>/dev/null | grep -q PNG; echo $?)"
check "the smart playlist lists files" "$([ -n "$listed" ]; echo $?)"
check "and only The Lanterns' album of 1999" \
  "$(! grep -v 'Yellow Harbour' <<<"$listed" | grep -q .; echo $?)"
check "all of that album" "$([ "$(grep -c . <<<"$listed")" = "$(grep -c . <<<"$album")" ]; echo $?)"
check "editing renames the tree item" "$(sed -n '/^> tree$/,/^> /p' <<<"$out" | grep -q 'Lanterns in the nineties'; echo $?)"
pure=$(nth 3 list | tail -n +2)
check "a value's % and _ are looked for as they are" \
  "$(grep -qF "(Filepath LIKE '%100!% Pure!_%' ESCAPE '!')" <<<"$(nth 3 dialog)"; echo $?)"
check "and the playlist lists that folder's files alone" \
  "$([ -n "$pure" ] && ! grep -vF '100% Pure_Noise' <<<"$pure" | grep -q .; echo $?)"
check "no box went unanswered" "$(! grep -q 'unexpected box\|no message box appeared\|no such button\|^no dialog\|^no control\|^disabled' <<<"$out"; echo $?)"

if [ -n "${CV_SHOT_DIR:-}" ] && [ -f "$work/query-dialog.png" ]; then cp "$work/query-dialog.png" "$CV_SHOT_DIR/"; fi
echo "query end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || { echo "--- host output ---"; echo "$out"; }
[ "$failed" = 0 ]
