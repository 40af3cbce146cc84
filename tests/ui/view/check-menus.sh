#!/usr/bin/env bash
# The view's context menus end to end in the stand-in player: the tree's menu and its root
# submenu leading to the folder browser, the list's menu over a selection (and none without
# one), the header's column menu toggling a column, bookmarks written and listed, the menu
# key choosing from the list, and the Enter rule when the Enter key is disabled.
set -u
host=$1
plugin=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d /tmp/cv-menus-check.XXXXXX)
trap '[ -n "${CV_KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
# The plugin sits in a player folder of its own, so the player's bookmark file is the test's.
mkdir -p "$work/player/Plugins"
cp "$plugin" "$work/player/Plugins/gen_cv.dll"
run_host() {  # name, documents; script on stdin
  local name=$1 docs=$2
  cat >"$work/$name.script"
  out=$(cd "$work" && "$top/tools/wine/run-wine.sh" "$host" --plugin "$(winpath "$work/player/Plugins/gen_cv.dll")" \
        --documents "$docs" --script "$work/$name.script" 2>&1)
  echo "$out" >"$work/$name.out"
}
section() { sed -n "/^> $1\$/,/^> /p" <<<"$out" | sed '1d;$d'; }  # output of one command
nth() {  # the output of the n-th command with this text
  awk -v want="> $2" -v n="$1" '$0 == want {k++; on = (k == n); next} /^> /{on = 0} on' <<<"$out"
}
captions() { awk -F'\t' '$1 == 0 {print $3}'; }  # the top-level captions of a printed menu

mkdir -p "$work/lib/Album" "$work/lib/Other"
for n in 1 2 3; do printf 'x' >"$work/lib/Album/track$n.mp3"; done
printf 'x' >"$work/lib/Other/song.mp3"
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\nShow delete=1\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host first "$docs" <<SCRIPT
wait-idle 10000
menu tree
answer-folder $lib
right-click tree
choose Folder
answer no
wait-idle 60000
tree
select $lib\\Album
wait-idle 10000
select-rows 0,1
menu list
menu header
choose Artist
menu header
select-rows 0,1
menu list
choose Bookmark item(s)
select-rows 2
menu list
select-rows 0
focus list
key shift+f10
choose Enqueue
playlist
select-rows 0
menu list
choose Select none
menu list
quit
SCRIPT

library_menu=$(nth 1 "menu tree")
root_menu=$(nth 1 "right-click tree")
check "the tree's menu for My Library ends with the roots" \
  "$(diff <(captions <<<"$library_menu") <(printf '%s\n' 'Play\tEnter' 'Enqueue\tShift+Enter' 'Enqueue and play\tCtrl+Enter' \
     'Enqueue after current\tAlt+Enter' '---' 'Refresh\tF5' 'Read tags\tF6' 'Import roots' 'Export roots' '---' 'Roots') >/dev/null; echo $?)"
check "the roots submenu offers the three kinds of root and a greyed Remove root" \
  "$(grep -qP '^2\t3004\tFolder\t.*owner-drawn' <<<"$library_menu" && grep -qP '^2\t3002\tPlaylist\t' <<<"$library_menu" &&
     grep -qP '^2\t3031\tSmart playlist\t' <<<"$library_menu" && grep -qP '^1\t3001\tRemove root\tgreyed' <<<"$library_menu"; echo $?)"
check "right-clicking empty tree space shows Insert root and a greyed Remove root alone" \
  "$(diff <(captions <<<"$root_menu") <(printf '%s\n' 'Insert root' 'Remove root') >/dev/null &&
     grep -qP '^1\t3004\tFolder\t' <<<"$root_menu" && grep -qP '^1\t3002\tPlaylist\t' <<<"$root_menu" &&
     grep -qP '^1\t3031\tSmart playlist\t' <<<"$root_menu" && grep -qP '^0\t3001\tRemove root\tgreyed' <<<"$root_menu"; echo $?)"
check "choosing Folder and picking a folder in the browser adds the root" "$(section tree | grep -qP '^1\tlib\t'; echo $?)"
list_menu=$(nth 1 "menu list")
check "the list's menu over two rows lists its fifteen items in order" \
  "$(diff <(captions <<<"$list_menu") <(printf '%s\n' 'Play\tEnter' 'Enqueue\tShift+Enter' 'Enqueue and play\tCtrl+Enter' \
     'Enqueue after current\tAlt+Enter' '---' 'Find more' 'Bookmarks' 'View file info\tAlt+3' 'Go to folder\tCtrl+G' \
     'Find file in Explorer\tCtrl+F' 'Delete file(s)' '---' 'Select all\tCtrl+A' 'Select none\tCtrl+D' 'Invert selection') >/dev/null; echo $?)"
check "the list's double-click action is the default item" "$(grep -qP '^0\t3011\t.*default' <<<"$list_menu"; echo $?)"
header1=$(nth 1 "menu header"); header2=$(nth 2 "menu header")
check "the header menu ticks Artist while it shows" "$(grep -qP '^0\t135071\tArtist\tchecked' <<<"$header1"; echo $?)"
check "choosing Artist hides it: the next header menu leaves it unticked" \
  "$(grep -qP '^0\t135071\tArtist\t$' <<<"$header2" && grep -qP '^0\t69535\tTitle\tchecked' <<<"$header2"; echo $?)"
check "the bookmark file holds the two bookmarked rows" \
  "$([ "$(grep -c 'track' "$work/player/Winamp.bm" 2>/dev/null)" -ge 2 ]; echo $?)"
bookmarks=$(nth 3 "menu list")
check "the bookmarks submenu lists what was bookmarked" \
  "$([ "$(grep -cP '^1\t[0-9]+\ttrack' <<<"$bookmarks")" -eq 2 ]; echo $?)"
check "Shift+F10 in the list opens its menu and Enqueue enqueues the row" "$(section playlist | grep -q 'track'; echo $?)"
check "with nothing selected the list shows no menu" "$(nth 5 "menu list" | grep -qx 'no menu'; echo $?)"

# Only the option changes between the runs.
sed -i 's/^Show delete=1\r\?$/Show delete=0\r\nDisable ENTER-key=1\r/' "$docs/Crateview/gen_cv.ini"
run_host second "$docs" <<SCRIPT
wait-idle 60000
select $lib\\Album
wait-idle 10000
select-rows 0
menu list
quit
SCRIPT
check "with the Enter key disabled Play shows no Enter" "$(section "menu list" | grep -qP '^0\t3010\tPlay\t'; echo $?)"

echo "menus end to end: $passed passed, $failed failed"
[ "$failed" = 0 ]
