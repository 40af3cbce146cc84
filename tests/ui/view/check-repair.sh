#!/usr/bin/env bash
# Repairing a playlist end to end in the stand-in player: a playlist root whose two files moved
# into a folder root, "Repair playlist" chosen from its tree menu, the renamed question answered
# "I feel lucky" once, the report, the list showing the new places, a save writing them, and a
# second repair finding nothing broken.
set -u
scratch=repair
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
save_item() { grep -P '^0\t3029\t' <<<"$1"; }  # the Save playlist line of a printed menu

mkdir -p "$work/lib/New"
printf 'x' >"$work/lib/New/a.mp3"
printf 'x' >"$work/lib/New/b.mp3"
printf '#EXTM3U\r\nOld\\a.mp3\r\nOld\\b.mp3\r\n' >"$work/lib/mix.m3u"
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host repair "$docs" <<SCRIPT
wait-idle 10000
add-root $lib\\New
answer no
wait-idle 60000
add-playlist-root $lib\\mix.m3u
wait-idle 20000
select $lib\\mix.m3u
wait-idle 10000
right-click tree:$lib\\mix.m3u
choose Repair playlist
answer I feel lucky
answer ok
wait-idle 10000
list
right-click tree:$lib\\mix.m3u
choose Save playlist
answer yes
wait-idle 10000
right-click tree:$lib\\mix.m3u
choose Repair playlist
answer ok
wait-idle 10000
quit
SCRIPT

saved=$(tr -d '\r' <"$work/lib/mix.m3u")
menu_before=$(nth 1 "right-click tree:$lib\\mix.m3u")
menu_after=$(nth 2 "right-click tree:$lib\\mix.m3u")
check "Save playlist is greyed before the repair" "$(save_item "$menu_before" | grep -q 'greyed$'; echo $?)"
check "and enabled after it" "$(save_item "$menu_after" | grep -q 'greyed$'; [ $? = 1 ]; echo $?)"
check "the question shows with its renamed buttons and the first file's new place" \
  "$(has_line "$out" "box: Confirm: Crateview have the file 'a.mp3' at the path '$lib\\New\\'.\\nUpdate the playlist to this path?"; echo $?)"
check "one question for both entries" "$([ "$(grep -c '^box: Confirm:' <<<"$out")" = 1 ]; echo $?)"
check "the report counts both" "$(has_line "$out" "box: : 2 filepath(s) updated."; echo $?)"
check "the list shows the new places" "$(grep -q 'New\\a.mp3' <<<"$(sed -n '/^> list$/,/^> /p' <<<"$out")"; echo $?)"
check "the save writes the new paths" "$(printf '%s\n' "$saved" | grep -qxF 'New\a.mp3' && printf '%s\n' "$saved" | grep -qxF 'New\b.mp3' && ! grep -q 'Old' <<<"$saved"; echo $?)"
check "a second repair finds nothing broken" "$(has_line "$out" "box: : No broken filepath(s)"; echo $?)"
check "no box went unanswered" "$(! grep -q 'unexpected box\|no message box appeared\|no such button' <<<"$out"; echo $?)"

echo "repair end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || { echo "--- host output ---"; echo "$out"; }
[ "$failed" = 0 ]
