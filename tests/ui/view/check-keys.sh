#!/usr/bin/env bash
# The view's keys end to end in the stand-in player, pressed on the focused pane through the
# player's own message loop: F6 reads tags after asking, Enter plays and Shift+Enter enqueues
# the selected rows, an Alt key no pane uses reaches the player, F5 on a sub-folder finds a file
# added on disk while auto-refresh is off, and Ctrl+Up moves a root for good.
set -u
scratch=keys
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
nth() { awk -v n="$2" -v c="> $1" '$0==c{k++; next} /^> /{if(k==n) exit} k==n' <<<"$out"; }  # n-th one

# A few tagged files of the sample library in folders of our own: two roots, one with a sub-folder.
bash "$top/tools/samplelib/make-sample-library.sh" "$work/sample" >/dev/null
mkdir -p "$work/lib/Sub" "$work/other"
mapfile -t samples < <(find "$work/sample" -name '*.mp3' | sort | head -n 5)
for i in 0 1 2; do cp "${samples[$i]}" "$work/lib/Sub/track$i.mp3"; done
for i in 3 4; do cp "${samples[$i]}" "$work/other/other$i.mp3"; done
lib=$(winpath "$work/lib")
other=$(winpath "$work/other")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\nFile types=mp3;\nAuto-refresh=0\nDisable tag reading=1\n[Window]\nLeft=0\nTop=0\nRight=900\nBottom=600\nVisible=1\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host first "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
add-root $other
answer no
wait-idle 60000
select $lib\\Sub
wait-idle 10000
list
focus list
key F6
answer yes
wait-idle 30000
list
select-rows 0,1
key Enter
wait-idle 5000
playlist
key Shift+Enter
wait-idle 5000
playlist
key Alt+X
wait-idle 5000
quit
SCRIPT

artists() { tail -n +2 | cut -f3 | grep -c .; }
check "before F6 the list shows no tags" "$([ "$(nth list 1 | artists)" = 0 ]; echo $?)"
check "F6 asks about the unread tags" "$(grep -qxF 'box: Confirmation: Read all unread tags in current listview?' <<<"$out"; echo $?)"
check "after F6 the list shows every row's tags" "$([ "$(nth list 2 | artists)" = 3 ]; echo $?)"
check "Enter plays the two selected rows" "$([ "$(nth playlist 1 | wc -l)" = 2 ]; echo $?)"
check "Shift+Enter enqueues them after" "$([ "$(nth playlist 2 | wc -l)" = 4 ] && [ "$(nth playlist 2 | sed -n 3p | cut -f2)" = "$(nth playlist 1 | sed -n 1p | cut -f2)" ]; echo $?)"
check "Alt+X reaches the player's main window" "$(grep -qx 'host: key Alt+X' <<<"$out"; echo $?)"

# Without a scan at start-up the new file stays unknown until F5 on its folder reads it; the
# other root's new file stays unknown, F5 read nothing else.
cp "${samples[0]}" "$work/lib/Sub/added.mp3"
cp "${samples[3]}" "$work/other/elsewhere.mp3"
# The settings file has Windows line ends.
sed -i '/^Scan files=/d; s/^\[General\]\(\r\?\)$/[General]\1\nScan files=0\1/' "$docs/Crateview/gen_cv.ini"
run_host second "$docs" <<SCRIPT
wait-idle 30000
select $lib\\Sub
wait-idle 10000
list
focus tree
key F5
wait-idle 30000
list
select $other
wait-idle 10000
list
focus tree
key Ctrl+Up
wait-idle 5000
tree
quit
SCRIPT
check "F5 on a sub-folder finds the file added on disk" "$([ "$(nth list 1 | head -n 1)" = 3 ] && [ "$(nth list 2 | head -n 1)" = 4 ]; echo $?)"
check "F5 on a sub-folder reads no other folder" "$(nth list 3 | grep -qF 'elsewhere.mp3'; [ $? != 0 ]; echo $?)"
first_root() { section tree | awk -F'\t' '$1==1 {print $2; exit}'; }
check "Ctrl+Up in the tree moves the root up" "$([ "$(first_root)" = other ]; echo $?)"

run_host third "$docs" <<SCRIPT
wait-idle 30000
tree
quit
SCRIPT
check "the moved root keeps its place after a restart" "$([ "$(first_root)" = other ]; echo $?)"

echo "keys end to end: $passed passed, $failed failed"
[ "$failed" = 0 ]
