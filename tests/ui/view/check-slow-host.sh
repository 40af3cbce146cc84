#!/usr/bin/env bash
# The plugin in the stand-in player when the player is slow or moves on by itself: one file's
# tags answered too late for the rows shown (given up after 2 s, the next file still read), a
# hang during F6 reported as files not read, the file-information dialog letting the plugin read
# an edited file again, and plays counted as the player starts files late and advances alone.
set -u
host=$1
plugin=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d /tmp/cv-slow-host.XXXXXX)
trap '[ -n "${CV_KEEP:-}" ] || rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
run_host() {  # name, documents, host options...; script on stdin
  local name=$1 docs=$2; shift 2
  cat >"$work/$name.script"
  out=$(cd "$work" && timeout 300 "$top/tools/wine/run-wine.sh" "$host" --plugin "$plugin" --documents "$docs" \
        --script "$work/$name.script" "$@" 2>&1 | tr -d '\r')
  echo "$out" >"$work/$name.out"
}
section() { sed -n "/^> $1\$/,/^> /p" <<<"$out" | sed '1d;$d'; }
new_profile() {  # folder: a profile whose list does not refresh by itself
  mkdir -p "$1/Crateview"
  printf '[General]\nFile types=mp3;\nAuto-refresh=0\n[Window]\nLeft=0\nTop=0\nRight=900\nBottom=600\nVisible=1\n' \
    >"$1/Crateview/gen_cv.ini"
}
stored() { sqlite3 "$1/Crateview/Cache/cvCache.db" "$2" 2>&1; }

mkdir -p "$work/lib" "$work/more"
for name in a b c; do printf 'x' >"$work/lib/$name.mp3"; done
for name in d e f; do printf 'x' >"$work/more/$name.mp3"; done
lib=$(winpath "$work/lib")
more=$(winpath "$work/more")
# Each run but one starts the same way: the first root added without reading its tags, then
# its folder selected, which reads the rows shown.
open_lib="wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib
wait-idle 30000"

# b.mp3 takes 3 s to read: the rows shown give it up after 2 s and c.mp3 is read once the host
# is free again.
new_profile "$work/slow"
run_host slow "$work/slow" --tag-delay 3000 --tag-delay-file b.mp3 <<SCRIPT
$open_lib
status
quit
SCRIPT
in_folder() {  # profile, folder name: each file name with its tagged flag
  stored "$1" "SELECT f.filename || IFNULL(f.tagged, 0) FROM Files f JOIN Folder d ON d.folderid=f.folderid WHERE d.path LIKE '%\\$2\\' ORDER BY f.filename" | tr '\n' ' '
}
check "the rows shown give up the slow file and read the next" "$([ "$(in_folder "$work/slow" lib)" = "a.mp31 b.mp30 c.mp31 " ]; echo $?)"
check "the file given up is not counted as scanned" \
  "$(section status | head -n 1 | grep -q '^2 file(s) scanned out of 3 file(s) found'; echo $?)"
[ "$failed" -gt 0 ] && { echo "--- slow:"; cat "$work/slow.out"; }
before=$failed

# A root's tags are read as it is added, and the host hangs on e.mp3 for good: it is given up
# after 10 s, and any file after it, asked of a hung host, fails at once. The script ends the
# hang; the plugin then reports the files it could not read.
new_profile "$work/hang"
# Only the pass over the new root reads tags: the rows shown afterwards must not read them again.
sed -i 's/^Auto-refresh=0$/Auto-refresh=0\nDisable tag reading=1/' "$work/hang/Crateview/gen_cv.ini"
run_host hang "$work/hang" --tag-delay never --tag-delay-file e.mp3 <<SCRIPT
wait-idle 10000
add-root $more
answer yes
sleep 14000
tag-delay 0
answer ok
wait-idle 30000
quit
SCRIPT
reported=$(sed -n 's/^box: Error: \([0-9]*\) file(s) was not read properly\.$/\1/p' <<<"$out")
unread=$(in_folder "$work/hang" more | tr ' ' '\n' | grep -c '0$')
check "a hang while a new root is read reports the files not read" \
  "$([ -n "$reported" ] && [ "$reported" = "$unread" ] && in_folder "$work/hang" more | grep -q 'e.mp30'; echo $?)"
check "the host quits after the hang" "$(tail -n 1 <<<"$out" | grep -q '^host: gdi '; echo $?)"
[ "$failed" -gt "$before" ] && { echo "--- hang:"; cat "$work/hang.out"; }
before=$failed

# The dialog lets the plugin go on (answer 0): the title edited there reaches the row and the
# cache. Playing the three rows: the player starts the first a while after the Play command and
# moves on by itself; each start is counted.
new_profile "$work/info"
run_host info "$work/info" --file-info-answer 0 --start-delay 300 <<SCRIPT
$open_lib
select-rows 0
command 1039
dialog
dialog-set 1001 title: Edited in the dialog
dialog-click 1
wait-idle 10000
list
select-rows 0,1,2
command 1037 3010
wait-playing 10000
advance
advance
advance
wait-idle 10000
list
playlist
quit
SCRIPT
lists=$(awk '/^> list$/{n++} {print n"\t"$0}' <<<"$out")
list_n() { awk -F'\t' -v n="$1" '$1==n' <<<"$lists" | cut -f2- | sed '1d' | sed '/^> /,$d'; }
check "the file-information dialog is shown" "$(grep -q '^dialog: File information' <<<"$out"; echo $?)"
check "the edited title is read again into the row" "$(list_n 1 | tail -n +2 | cut -f2 | grep -qx 'Edited in the dialog'; echo $?)"
check "the edited title is stored" "$([ "$(stored "$work/info" "SELECT COUNT(*) FROM Files WHERE title='Edited in the dialog'")" = 1 ]; echo $?)"
check "the first start after a delay is announced" "$(grep -qE '^playing .*\\[abc]\.mp3$' <<<"$out"; echo $?)"
check "each file the player moved on to is counted once" \
  "$([ "$(list_n 2 | tail -n +2 | cut -f11 | tr '\n' ' ')" = "1 1 1 " ]; echo $?)"
check "the plays are stored" "$([ "$(stored "$work/info" "SELECT SUM(playcount) FROM Files")" = 3 ]; echo $?)"
[ "$failed" -gt "$before" ] && { echo "--- info:"; cat "$work/info.out"; }
before=$failed

# Entries that end by themselves: the whole playlist plays through, each start counted.
new_profile "$work/tracks"
run_host tracks "$work/tracks" --track-ms 300 <<SCRIPT
$open_lib
select-rows 0,1,2
command 1037 3010
wait-playing 10000
wait-stopped 20000
wait-idle 10000
list
quit
SCRIPT
check "entries ending by themselves are each counted" \
  "$([ "$(section list | tail -n +2 | cut -f11 | tr '\n' ' ')" = "1 1 1 " ]; echo $?)"
[ "$failed" -gt "$before" ] && { echo "--- tracks:"; cat "$work/tracks.out"; }

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
