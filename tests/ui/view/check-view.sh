#!/usr/bin/env bash
# The view end to end in the stand-in player over a generated library: a root added through the
# folder browser, folders listed with their tags and status line, searches (words, "?" conditions,
# accents), header sorting, and the selected folder remembered across a restart.
set -u
scratch=view
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
rows() { section "$1" | tail -n +2; }

sample_library 'Remember last selected folder=1\n'

# A search is asked for half a second after the last key, and the player cannot see that timer,
# so each search sleeps past it before waiting for the view to settle.
run_host first "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib\\Björk\\Debut
wait-idle 10000
status
list
select My Library
wait-idle 10000
search river
sleep 1500
wait-idle 10000
list
search morning river
sleep 1500
wait-idle 10000
list
search ?artist LIKE 'o''n%'
sleep 1500
wait-idle 10000
list
search bjork
sleep 1500
wait-idle 10000
status
search nomatch
sleep 1500
wait-idle 10000
select $lib\\Sigur Rós\\Takk
wait-idle 10000
search
sleep 1500
wait-idle 10000
click-header 1
list
click-header 1
list
quit
SCRIPT

status=$(section "status" | head -n 1)
check "status line format" "$(grep -qE '^[0-9]+ file\(s\) scanned out of [0-9]+ file\(s\) found \([0-9]{2}:[0-9]{2}:[0-9]{2}\+?, [0-9]+\.[0-9]{2} MB\)$' <<<"$status"; echo $?)"
lists=$(awk '/^> list$/{n++} {print n"\t"$0}' <<<"$out")
list_n() { awk -F'\t' -v n="$1" '$1==n' <<<"$lists" | cut -f2- | sed '1d' | sed '/^> /,$d'; }
debut=$(list_n 1)
check "a folder lists its files and only those" "$([ "$(head -n 1 <<<"$debut")" -gt 0 ] && ! tail -n +2 <<<"$debut" | cut -f14 | grep -vqF "$lib\\Björk\\Debut\\"; echo $?)"
check "tags of shown rows are read" "$(tail -n +2 <<<"$debut" | head -n 1 | cut -f3 | grep -qx 'Björk'; echo $?)"
check "lengths are shown" "$(tail -n +2 <<<"$debut" | head -n 1 | cut -f9 | grep -qE '^[0-9]{2}:[0-9]{2}$'; echo $?)"
river=$(list_n 2)
check "a word search lists only matching files" "$([ "$(head -n 1 <<<"$river")" -gt 0 ] && ! tail -n +2 <<<"$river" | grep -viq 'river'; echo $?)"
both=$(list_n 3)
check "a two-word search keeps rows holding both words" "$([ "$(head -n 1 <<<"$both")" -gt 0 ] && ! tail -n +2 <<<"$both" | grep -viE 'morning' | grep -q . && ! tail -n +2 <<<"$both" | grep -viE 'river' | grep -q .; echo $?)"
oneil=$(list_n 4)
check "a ? condition with a doubled quote finds O'Neil" "$([ "$(head -n 1 <<<"$oneil")" -gt 0 ] && ! tail -n +2 <<<"$oneil" | cut -f14 | grep -vqF "O'Neil"; echo $?)"
nomatch_status=$(sed -n '/^> search bjork$/,/^> search nomatch$/p' <<<"$out" | grep -E 'file\(s\) found' | tail -n 1)
check "without stripping accents 'bjork' finds nothing" "$(grep -q '^0 file(s) scanned out of 0 file(s)' <<<"$nomatch_status"; echo $?)"
ascending=$(list_n 5 | tail -n +2 | cut -f2)
descending=$(list_n 6 | tail -n +2 | cut -f2)
first=$(head -n 1 <<<"$ascending"); last=$(tail -n 1 <<<"$ascending")
check "first header click sorts titles ascending" "$([ -n "$ascending" ] && [ "$(printf '%s\n%s\n' "$last" "$first" | LC_ALL=C sort -f | head -n 1)" = "$first" ]; echo $?)"
check "second header click sorts them descending" "$([ -n "$descending" ] && [ "$descending" = "$(tac <<<"$ascending")" ]; echo $?)"

# The next start: the folder selected at the last close is selected again, and with accents
# stripped the same search finds the accented artist.
# The settings file has Windows line ends.
sed -i 's/^Strip accents=0\r\?$/Strip accents=1\r/' "$docs/Crateview/gen_cv.ini"
check "options are written at shutdown" "$(grep -q '^Strip accents=1' "$docs/Crateview/gen_cv.ini"; echo $?)"
run_host second "$docs" <<SCRIPT
wait-idle 60000
tree
status
select My Library
wait-idle 10000
search bjork
sleep 1500
wait-idle 10000
list
quit
SCRIPT
check "the last selected folder comes back" "$(section tree | grep -E $'\tTakk\t' | grep -q selected; echo $?)"
bjork=$(section list)
check "with accents stripped 'bjork' finds Björk" "$([ "$(head -n 1 <<<"$bjork")" -gt 0 ] && tail -n +2 <<<"$bjork" | cut -f14 | grep -qF 'Björk'; echo $?)"

# Roots and rows as a user reaches them with the keys and the menus: a second root moved up
# and its auto-load flag switched, rows enqueued and a folder played (its playing row counted at
# once), a row's folder found in the tree, the host's playlist imported into a playlist root
# and an entry moved, the cache cleaned, the roots exported, a root removed and imported back.
mkdir -p "$work/more/Extra"
cp "$(find "$work/lib" -name '*.mp3' | head -n 1)" "$work/more/Extra/extra.mp3"
more=$(winpath "$work/more")
run_host third "$docs" <<SCRIPT
wait-idle 60000
add-root $more
answer no
wait-idle 60000
select $more
wait-idle 10000
focus tree
key ctrl+up
wait-idle 10000
tree
right-click tree:$more
choose Auto-load root on start-up
wait-idle 5000
right-click tree:$more
select $lib\\Björk\\Debut
wait-idle 10000
select-rows 0,1
focus list
key shift+enter
wait-idle 5000
playlist
focus tree
key enter
wait-idle 5000
playlist
list
select My Library
wait-idle 10000
search ?filename LIKE '12 Winter%' AND path LIKE '%Debut%'
sleep 1500
wait-idle 10000
select-rows 0
focus list
key ctrl+g
wait-idle 10000
tree
add-playlist-root $lib\\Favourites.m3u8
wait-idle 20000
select Favourites.m3u8
wait-idle 10000
search
sleep 1500
wait-idle 10000
list
right-click tree:Favourites.m3u8
choose Import playlist from Winamp
wait-idle 10000
list
select-rows 1
focus list
key ctrl+up
wait-idle 5000
list
command 1008
answer yes
answer ok
right-click tree:My Library
choose Export roots
dialog
dialog-set 1148 $(winpath "$work/roots.cv2")
dialog-click 1
wait-idle 10000
right-click tree:$more
choose Remove root
answer yes
wait-idle 20000
tree
right-click tree:My Library
choose Import roots
dialog
dialog-set 1148 $(winpath "$work/roots.cv2")
dialog-click 1
answer ok
quit
SCRIPT
# The output of the n-th run of a command line, compared as text (paths hold backslashes).
nth() { N=$1 WANT="> $2" awk '$0 == ENVIRON["WANT"] {k++; on = (k == ENVIRON["N"]); next} /^> /{on = 0} on' <<<"$out"; }
moved=$(nth 1 tree | awk -F'\t' '$1==1')
check "Ctrl+Up in the tree puts the root first and keeps it selected" "$(head -n 1 <<<"$moved" | grep -qE $'^1\tmore\t.*selected'; echo $?)"
check "the root's menu ticks auto-load, and choosing it switches the flag off" \
  "$(nth 1 "right-click tree:$more" | grep -qP '^0\t3023\tAuto-load root on start-up\tchecked' &&
     nth 2 "right-click tree:$more" | grep -qP '^0\t3023\tAuto-load root on start-up\t$'; echo $?)"
enqueued=$(nth 1 playlist | grep -cE $'^[0-9]+\t.*Debut')
check "Shift+Enter enqueues the selected rows with their titles" "$([ "$enqueued" = 2 ] && nth 1 playlist | grep -qE $'\t(Winter|Velvet)\t[0-9]+$'; echo $?)"
played=$(nth 2 playlist | grep -cE $'^[0-9]+\t.*Debut')
check "Enter in the tree replaces the playlist with the folder's files" "$([ "$played" = 18 ]; echo $?)"
check "Ctrl+G selects a row's folder in the tree" "$(nth 2 tree | grep selected | grep -qE $'\tDebut\t'; echo $?)"
lists=$(awk '/^> list$/{n++} {print n"\t"$0}' <<<"$out")
playing=$(list_n 1 | tail -n +2 | awk -F'\t' '$11 == 1')
check "the playing file's row shows its play at once" "$([ "$(grep -c . <<<"$playing")" = 1 ]; echo $?)"
empty=$(list_n 2); before=$(list_n 3); moved=$(list_n 4)
check "Ctrl+Up in a playlist swaps the entry with the one above" "$([ "$(head -n 1 <<<"$before")" -gt 2 ] && \
  [ "$(sed -n 3p <<<"$before" | cut -f14)" = "$(sed -n 2p <<<"$moved" | cut -f14)" ] && \
  [ "$(sed -n 2p <<<"$before" | cut -f14)" = "$(sed -n 3p <<<"$moved" | cut -f14)" ]; echo $?)"
check "importing the host's playlist from the menu appends its entries" "$([ "$(head -n 1 <<<"$before")" = $(( $(head -n 1 <<<"$empty") + 18 )) ]; echo $?)"
check "cleaning reports the counts" "$(grep -qE '^box: Information: [0-9]+ file\(s\) in database before clean\. [0-9]+ file\(s\) in database after clean$' <<<"$out"; echo $?)"
exported=$(sqlite3 "$work/roots.cv2" "PRAGMA user_version; SELECT type, rootOrder, name IS NULL FROM Roots ORDER BY rootOrder" 2>&1 | tr '\n' ' ')
check "the roots are exported in their order" "$([ "$exported" = "201 1|0|1 1|1|1 2|2|1 " ]; echo $?)"
check "importing them back adds the removed root and restarts" "$(grep -qx 'box: Information: 1 roots have been added. Now restarting...' <<<"$out" && grep -qx 'host: restart requested' <<<"$out"; echo $?)"
removed=$(nth 3 tree | awk -F'\t' '$1==1')
check "a root removed from its menu leaves the tree" "$([ -n "$removed" ] && ! grep -qE $'\tmore\t' <<<"$removed"; echo $?)"

[ "$failed" -gt 0 ] && { echo "--- first run:"; cat "$work/first.out"; echo "--- second run:"; cat "$work/second.out"; echo "--- third run:"; cat "$work/third.out"; }
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
