#!/usr/bin/env bash
# Drag and drop end to end in the stand-in player: a playlist file dropped on the tree's empty
# space becomes a root, a folder dropped on that playlist adds its supported files with those of
# its sub-folders, files dropped on the list while a folder is shown are refused, and rows and a
# tree folder dragged out of the view reach the player's own drop target as dropped-file lists.
# A Shift-drag of files from the file manager onto the playlist is answered with copy, and the
# files are still on disk afterwards (the file manager deletes what it is told was moved).
set -u
host=$1
plugin=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d /tmp/cv-dragdrop-check.XXXXXX)
trap '[ -n "${CV_KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
nth() {  # the output of the n-th command with this text (awk -v would read backslashes as escapes)
  want="> $2" n="$1" awk '$0 == ENVIRON["want"] {k++; on = (k == ENVIRON["n"]); next} /^> /{on = 0} on' <<<"$out"
}

mkdir -p "$work/lib/Album" "$work/lib/Other/Deep" "$work/docs/Crateview"
for n in 1 2 3; do printf 'x' >"$work/lib/Album/track$n.mp3"; done
printf 'x' >"$work/lib/Other/song.mp3"
printf 'x' >"$work/lib/Other/Deep/deep.mp3"
printf 'x' >"$work/lib/Other/notes.txt"
printf '#EXTM3U\r\n' >"$work/mix.m3u8"
printf 'x' >"$work/loose.mp3"
mkdir -p "$work/keep"
printf 'x' >"$work/keep/kept1.mp3"
printf 'x' >"$work/keep/kept2.mp3"
lib=$(winpath "$work/lib")
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$work/docs/Crateview/gen_cv.ini"
cp "$work/docs/Crateview/gen_cv.ini" "$work/docs/Crateview/gen_cv.ini.orig"

cat >"$work/script" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
drop tree $work/mix.m3u8
wait-idle 20000
tree
drop tree:mix $work/lib/Other
wait-idle 10000
drop --shift tree:mix $work/keep/kept1.mp3 $work/keep/kept2.mp3
wait-idle 10000
select mix
wait-idle 10000
list
select $lib\\Album
wait-idle 10000
drop list $work/loose.mp3
list
select-rows 0,1
drag-out list:1
drag-out tree:$lib\\Other
quit
SCRIPT
out=$(cd "$work" && "$top/tools/wine/run-wine.sh" "$host" --plugin "$(winpath "$plugin")" \
      --documents "$(winpath "$work/docs")" --script "$(winpath "$work/script")" 2>&1)
status=$?
echo "$out" >"$work/out.txt"

check "an .m3u8 dropped on empty tree space is taken" "$(nth 1 "drop tree $work/mix.m3u8" | grep -qx 'drop: copy'; echo $?)"
check "and becomes a playlist root" "$(nth 1 tree | grep -qP '^1\tmix\b'; echo $?)"
check "a folder dropped on the playlist item is taken" "$(nth 1 "drop tree:mix $work/lib/Other" | grep -qx 'drop: copy'; echo $?)"
shift_out=$(nth 1 "drop --shift tree:mix $work/keep/kept1.mp3 $work/keep/kept2.mp3")
check "a Shift-drag of two files onto the playlist is answered with copy, never move" \
  "$(grep -qx 'drop: copy' <<<"$shift_out" && grep -qx 'drop: shift held' <<<"$shift_out"; echo $?)"
check "and both files are still on disk" \
  "$(grep -qx 'drop: 2 of 2 files still on disk' <<<"$shift_out" && [ -f "$work/keep/kept1.mp3" ] &&
     [ -f "$work/keep/kept2.mp3" ]; echo $?)"
mix_list=$(nth 1 list)
check "the playlist lists the folder's supported files, the sub-folder's included, and the two" \
  "$([ "$(head -1 <<<"$mix_list")" = 4 ] && grep -q 'song' <<<"$mix_list" && grep -q 'deep' <<<"$mix_list" &&
     grep -q 'kept2' <<<"$mix_list" && ! grep -q 'notes' <<<"$mix_list"; echo $?)"
check "files dropped on the list while a folder is shown are refused" \
  "$(nth 1 "drop list $work/loose.mp3" | grep -qx 'drop: none' && [ "$(nth 2 list | head -1)" = 3 ]; echo $?)"
rows_out=$(nth 1 "drag-out list:1")
check "two rows dragged out reach the player's target with their two full paths" \
  "$(grep -qF "host: drop received 2 files: $lib\\Album\\track1.mp3; $lib\\Album\\track2.mp3 effect copy" <<<"$rows_out"; echo $?)"
check "a tree folder dragged out carries its path" \
  "$(sed -n '/^> drag-out tree:/,/^> /p' <<<"$out" | grep -qF "host: drop received 1 files: $lib\\Other\\ effect copy"; echo $?)"
check "the player ends cleanly, nothing of the plugin left behind" "$([ "$status" = 0 ]; echo $?)"

# "Force drag/drop action" 2 offers only a move: the player's target can take nothing else.
mkdir -p "$work/docs2/Crateview"
sed 's/^Auto-refresh=0\r$/Auto-refresh=0\r\nForce drag\/drop action=2\r/' "$work/docs/Crateview/gen_cv.ini.orig" \
  >"$work/docs2/Crateview/gen_cv.ini"
cat >"$work/script2" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib\\Album
wait-idle 10000
select-rows 0,1
drag-out list:1
quit
SCRIPT
first_out=$out
out=$(cd "$work" && "$top/tools/wine/run-wine.sh" "$host" --plugin "$(winpath "$plugin")" \
      --documents "$(winpath "$work/docs2")" --script "$(winpath "$work/script2")" 2>&1)
check "with only a move allowed, rows dragged out are moved" \
  "$(nth 1 "drag-out list:1" | grep -qF "host: drop received 2 files: $lib\\Album\\track1.mp3; $lib\\Album\\track2.mp3 effect move"; echo $?)"
out="$first_out
$out"

echo "drag and drop end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || { echo "$out" | tail -60; false; }
