#!/usr/bin/env bash
# Runs the stand-in player (cvhost.exe) with the plugin under Wine on small scripts and checks
# what it prints: the plugin's start-up line, the settings the plugin wrote on first run, the
# refusal of an old player version, the menu entry, screenshots, unknown commands, the
# object counts printed after unloading, and that the plugin leaves nothing of its own on the
# host's windows, records and services once it quit.
set -u
host=$1
plugin=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run_wine=$here/../../tools/wine/run-wine.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/cv-host-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check NAME CONDITION-STATUS
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
has_line() { grep -qxF -- "$2" <<<"$1"; }
# Runs the host on a script given on standard input; the output is in $out, its exit code in
# $status (3 when a message box showed that the script did not answer, or the plugin left
# something behind at quit).
run_host() {
  local name=$1; shift
  cat >"$work/$name.txt"
  out=$(timeout 300 "$run_wine" "$host" --plugin "$plugin" --script "$work/$name.txt" "$@" 2>&1 | tr -d '\r'
        exit "${PIPESTATUS[0]}")
  status=$?
  echo "$out" >"$work/$name.out"
}
# What the host reports when a plugin quits leaving something of its own behind.
left_behind='^host: (window procedure left on .* after quit|frame record freed while its frame lives|service interface not released|accelerators still registered after quit|accelerator table not destroyed after quit|menu item .* after quit|preferences page .* still registered after quit|request [0-9]+ .*)$'
left_nothing() { ! grep -qE "$left_behind" <<<"$out" && [ "$status" -eq 0 ]; }
dump_on_failure() { [ "$failed" -gt "$1" ] && { echo "--- output of $2:"; cat "$work/$2.out"; }; }

# --- first start: init line, settings written into the redirected documents folder ---------
before=$failed
run_host first --documents "$work/docs" <<SCRIPT
wait-idle 10000
settings
frobnicate now
screenshot $work/shot.png
menu host
quit
SCRIPT
check "init line" "$(has_line "$out" "host: plugin Crateview 2.02 init returned 0"; echo $?)"
check "settings file in the documents folder" "$([ -f "$work/docs/Crateview/gen_cv.ini" ]; echo $?)"
settings=$(sed -n '/^> settings$/,/^> /p' <<<"$out")
check "settings has [General]" "$(has_line "$settings" "[General]"; echo $?)"
check "settings has File types=mp3;" "$(has_line "$settings" "File types=mp3;"; echo $?)"
check "unknown command reported" "$(has_line "$out" "unknown command: frobnicate"; echo $?)"
check "commands echoed in order" "$(grep '^> ' <<<"$out" | tr '\n' '|' | grep -qxF "> wait-idle 10000|> settings|> frobnicate now|> screenshot $work/shot.png|> menu host|> quit|"; echo $?)"
check "object counts last" "$(tail -n 1 <<<"$out" | grep -qE '^host: gdi [0-9]+->[0-9]+ user [0-9]+->[0-9]+$'; echo $?)"
check "a run without boxes exits with 0" "$status"
main_menu=$(sed -n '/^\[main\]$/,/^\[second\]$/p' <<<"$out")
second_menu=$(sed -n '/^\[second\]$/,/^> /p' <<<"$out")
entry=$(printf 'Crateview\\\\tAlt+D')
check "menu entry once in the main menu" "$([ "$(grep -c "$entry" <<<"$main_menu")" -eq 1 ]; echo $?)"
check "menu entry after the anchor item" "$(grep -A1 $'\t40258\t' <<<"$main_menu" | grep -q "$entry"; echo $?)"
check "menu entry once in the second menu" "$([ "$(grep -c "$entry" <<<"$second_menu")" -eq 1 ]; echo $?)"
check "the frame's identity is in the record when the frame is made" "$(has_line "$out" "host: frame made with identity {24FF1DCF-7D8A-4D78-9B1B-B709DF75318D}"; echo $?)"
check "screenshot of the frame" "$(grep -qE '^screenshot: [0-9]+x[0-9]+$' <<<"$out"; echo $?)"
# The settings ask for a 100 x 100 frame; the player never makes one smaller than 275 x 116.
check "a frame no smaller than the player allows" "$(grep -E '^screenshot: [0-9]+x[0-9]+$' <<<"$out" | head -n 1 |
  awk -Fx '{ sub(/^screenshot: /, "", $1); exit !($1 >= 275 && $2 >= 116) }'; echo $?)"
check "first start leaves nothing behind at quit" "$(left_nothing; echo $?)"
dump_on_failure "$before" first

# --- a second start keeps the settings; screenshots are real PNG files ----------------------
before=$failed
run_host second --documents "$work/docs" <<SCRIPT
screenshot $work/frame.png
screenshot $work/main.png main
SCRIPT
check "second start" "$(has_line "$out" "host: plugin Crateview 2.02 init returned 0"; echo $?)"
check "script without quit ends with the counts" "$(tail -n 1 <<<"$out" | grep -q '^host: gdi '; echo $?)"
check "second start leaves nothing behind at quit" "$(left_nothing; echo $?)"
if command -v python3 >/dev/null; then
  for png in "$work/frame.png" "$work/main.png"; do
    python3 - "$png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n"
pos, idat, size = 8, b"", None
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    assert zlib.crc32(kind + body) == struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
    if kind == b"IHDR": size = struct.unpack(">II", body[:8])
    if kind == b"IDAT": idat += body
    pos += 12 + length
raw = zlib.decompress(idat)
assert len(raw) == size[1] * (size[0] * 3 + 1)
PY
    check "valid PNG $(basename "$png")" $?
  done
else
  check "PNG files written" "$([ -s "$work/frame.png" ] && [ -s "$work/main.png" ]; echo $?)"
fi
dump_on_failure "$before" second

# --- an old player: the plugin refuses in a message box and stays inert --------------------
before=$failed
run_host old --documents "$work/old" --version 5032 <<SCRIPT
answer ok
settings
screenshot $work/old.png
quit
SCRIPT
first_echo=$(grep -n '^> ' <<<"$out" | head -n 1 | cut -d: -f1)
box_line=$(grep -nxF "box: Error: Crateview requires Winamp 5.33 or later." <<<"$out" | head -n 1 | cut -d: -f1)
check "old version box shown at start-up" "$([ -n "$box_line" ] && [ "$box_line" -lt "$first_echo" ]; echo $?)"
check "old version init still returns 0" "$(has_line "$out" "host: plugin Crateview 2.02 init returned 0"; echo $?)"
check "inert plugin writes no settings" "$(has_line "$out" "no settings file"; echo $?)"
check "inert plugin makes no frame" "$(sed -n '/^> screenshot/,/^> /p' <<<"$out" | grep -qxF unsupported; echo $?)"
check "old version quits with counts" "$(tail -n 1 <<<"$out" | grep -q '^host: gdi '; echo $?)"
check "a start-up box answered by the leading answer" "$([ "$status" -eq 0 ] && ! grep -q '^unexpected box' <<<"$out"; echo $?)"
check "inert plugin leaves nothing behind" "$(left_nothing; echo $?)"
dump_on_failure "$before" old

# --- the same box unanswered: printed, dismissed, and the run fails -------------------------
before=$failed
run_host old-unanswered --documents "$work/old2" --version 5032 <<SCRIPT
settings
quit
SCRIPT
check "an unanswered start-up box is reported" "$(has_line "$out" 'unexpected box: no answer was given for "Error"; dismissed with OK'; echo $?)"
check "the script still runs after it" "$(has_line "$out" "no settings file"; echo $?)"
check "an unanswered box fails the run" "$([ "$status" -eq 3 ]; echo $?)"
dump_on_failure "$before" old-unanswered

# --- the current version starts; answers are taken by the next box only ---------------------
before=$failed
run_host answers --documents "$work/answers" --version 5033 --no-services <<'SCRIPT'
answer yes
quit
SCRIPT
check "5.33 accepted" "$(! grep -q '^box: ' <<<"$out"; echo $?)"
check "answer without a box reported" "$(has_line "$out" "answer: no message box appeared"; echo $?)"
check "no service manager, nothing left behind" "$(left_nothing; echo $?)"
dump_on_failure "$before" answers

# --- automation commands, against a probe plugin whose view reports what it received -------
probe=$(dirname "$host")/gen_probe.dll
if [ -f "$probe" ]; then
  before=$failed
  plugin_saved=$plugin
  plugin=$probe
  run_host probe <<SCRIPT
tree
list
select Rock\Live
status
search Hello World
status
focus list
key Ctrl+A
status
key F9
status
select-rows 0,2
key F4
status
select-rows 0-2
key F4
status
select-rows 1
key F4
status
dblclick-row 1
status
click-header 1
status
menu list
choose Deep
status
menu tree
choose Greyed
menu tree
choose Ask
answer no
status
right-click tree:Jazz
choose Beta
status
right-click tree
status
right-click list:2
choose Drawn
status
right-click list
choose Play
status
right-click header:1
choose Play
status
menu-key list Shift+F10
choose Play
status
drop tree:Jazz $work/one.mp3 $work/two.mp3
status
drop list $work/one.mp3
status
skin-change
status
quit
SCRIPT
  plugin=$plugin_saved
  # The line after a command, and the line after the first "status" that follows it.
  after() { awk -v c="> $1" 'found { print; exit } $0 == c { found = 1 }' <<<"$out"; }
  status_after() {
    awk -v c="> $1" '$0 == c { found = 1; next } found && $0 == "> status" { getline; print; exit }' <<<"$out"
  }
  check "tree lines: depth, text, image, state" "$(has_line "$out" $'0\tMy Library\t0\texpanded' && has_line "$out" $'2\tLive\t0\t'; echo $?)"
  check "list count then cells" "$(grep -A1 -x '> list' <<<"$out" | grep -qx 3 && has_line "$out" $'b.mp3\tLive'; echo $?)"
  check "select by trailing path" "$([ "$(status_after 'select Rock\\Live')" = "selected Live" ]; echo $?)"
  check "typing keeps capitals and spaces" "$([ "$(status_after 'search Hello World')" = "search Hello World" ]; echo $?)"
  check "Ctrl held for the key, key notice first" "$([ "$(status_after 'key Ctrl+A')" = "key Ctrl+65 after notice 65" ]; echo $?)"
  check "a key zeroed by the plugin is dropped" "$([ "$(status_after 'key F9')" = "key Ctrl+65 after notice 65" ]; echo $?)"
  check "a click selects, Ctrl adds and moves the mark" "$([ "$(status_after 'select-rows 0,2')" = "selection rows 0,2 mark 2" ]; echo $?)"
  check "Shift extends from the mark, which stays" "$([ "$(status_after 'select-rows 0-2')" = "selection rows 0,1,2 mark 0" ]; echo $?)"
  check "a plain click on a selected row keeps only it" "$([ "$(status_after 'select-rows 1')" = "selection rows 1 mark 1" ]; echo $?)"
  check "double-click on a row" "$([ "$(status_after 'dblclick-row 1')" = "double-click 1" ]; echo $?)"
  check "header click" "$([ "$(status_after 'click-header 1')" = "column 1" ]; echo $?)"
  check "menu lines with states" "$(has_line "$out" $'0\t10\t&Play\\tEnter\tdefault' && has_line "$out" $'0\t11\tGreyed\tgreyed' && has_line "$out" $'1\t12\tDeep\t'; echo $?)"
  first_menu=$(sed -n '/^> menu list$/,/^> /p' <<<"$out")
  check "an owner-drawn item shows the size its owner measured" "$(grep -qE $'^0\t14\tDrawn\towner-drawn\t[1-9][0-9]*x22$' <<<"$first_menu"; echo $?)"
  check "a submenu filled on opening is empty until opened" "$(grep -qE $'\tSend to\tsubmenu$' <<<"$first_menu" && ! grep -q 'Alpha' <<<"$first_menu"; echo $?)"
  check "the menu key opens the menu at the selection" "$(status_after 'choose Deep' | grep -q '^menu 12 from key list rows 1 mark 1'; echo $?)"
  check "choose opens only the submenu it goes through" "$(status_after 'choose Deep' | grep -qE ', opened More, drawn$'; echo $?)"
  check "greyed item not chosen" "$([ "$(after 'choose Greyed')" = "greyed: Greyed" ]; echo $?)"
  check "box printed and answered" "$(has_line "$out" 'box: Confirmation: Really?\nSure?' && [ "$(status_after 'answer no')" = "answered no" ]; echo $?)"
  check "right click on a tree item, choice told by its highlight" "$([ "$(status_after 'choose Beta')" = "menu 15 from tree Jazz, sent to 2, opened Send to, drawn" ]; echo $?)"
  check "right click on empty tree space, menu dismissed" "$([ "$(status_after 'right-click tree')" = "menu 0 from tree (none), drawn" ]; echo $?)"
  check "right click on a row selects it" "$(status_after 'choose Drawn' | grep -q '^menu 14 from list row 2, rows 2 mark 2'; echo $?)"
  check "right click on empty list space" "$(status_after 'right-click list' | grep -q '^menu 10 from list empty'; echo $?)"
  check "right click on the header" "$(status_after 'right-click header:1' | grep -q '^menu 10 from header'; echo $?)"
  check "Shift+F10 opens the menu" "$(status_after 'menu-key list Shift+F10' | grep -q '^menu 10 from key list'; echo $?)"
  check "drop on a tree item after enter and over" "$(status_after "drop tree:Jazz $work/one.mp3 $work/two.mp3" | grep -q '^tree enter,over,drop 2 on Jazz: .*one\.mp3$' && has_line "$out" "drop: copy"; echo $?)"
  check "a refused drag is left, not dropped" "$([ "$(status_after "drop list $work/one.mp3")" = "list enter,over,leave" ] && has_line "$out" "drop: none"; echo $?)"
  check "the probe run met no unexpected box" "$status"
  check "skin change notice" "$([ "$(status_after 'skin-change')" = "skin changed" ]; echo $?)"
  check "careful probe leaves nothing behind" "$(left_nothing; echo $?)"
  dump_on_failure "$before" probe

  # A box met while waiting may still be answered by the next line; one the script acts past is
  # dismissed with its most cautious button, the script goes on, and the run fails.
  before=$failed
  plugin=$probe
  run_host probe-boxes <<SCRIPT
right-click list:1
choose Ask
wait-idle 5000
answer yes
status
right-click list:2
choose Ask
select-rows 0
status
quit
SCRIPT
  plugin=$plugin_saved
  check "a box ends the wait and is answered next" "$(sed -n '/^> wait-idle 5000$/,/^> /p' <<<"$out" | grep -qx 'box waiting' && [ "$(status_after 'answer yes')" = "answered yes" ]; echo $?)"
  check "a box the script acts past is dismissed at once" "$(sed -n '/^> select-rows 0$/,/^> /p' <<<"$out" | grep -qxF 'unexpected box: no answer was given for "Confirmation"; dismissed with No'; echo $?)"
  check "the script goes on after the dismissed box" "$([ "$(status_after 'select-rows 0')" = "answered no" ]; echo $?)"
  check "a dismissed box fails the run" "$([ "$status" -eq 3 ]; echo $?)"
  dump_on_failure "$before" probe-boxes

  # The view's add commands through the real folder browser and open dialog, and a plugin's
  # page in the preferences window driven by the dialog commands.
  before=$failed
  mkdir -p "$work/library/Rock"
  plugin=$probe
  run_host probe-dialogs <<SCRIPT
add-root $work/library/Rock
status
add-playlist-root $work/library/new.m3u
answer yes
wait-idle 3000
status
focus list
key F8
dialog
dialog-click 1040
status
dialog-set 1022 Two
status
focus list
key F7
status
playlist
play 2
status
key F6
sleep 500
dialog
dialog-click 1
status
quit
SCRIPT
  plugin=$plugin_saved
  check "add-root through the folder browser" "$(status_after "add-root $work/library/Rock" | grep -q '^root .*\\library\\Rock$'; echo $?)"
  check "add-playlist-root through the open dialog" "$(status_after "add-playlist-root $work/library/new.m3u" | grep -q '^playlist .*\\library\\new\.m3u$'; echo $?)"
  check "the open dialog's question is printed" "$(grep -q '^box: .*create' <<<"$out"; echo $?)"
  check "dialog lists the page's controls" "$(has_line "$out" "dialog: Preferences" && has_line "$out" $'1022\tComboBox\t\titems=One|Two|Three,selected=-1'; echo $?)"
  check "dialog-click on a check box" "$([ "$(status_after 'dialog-click 1040')" = "check 1" ]; echo $?)"
  check "dialog-set on a combo box" "$([ "$(status_after 'dialog-set 1022 Two')" = "combo Two" ]; echo $?)"
  check "playlist requests" "$([ "$(status_after 'key F7')" = 'title Probe Artist - b.mp3, freed 1, length 3, entry 1 C:\music\inserted.mp3, selected -1, first extension mp3' ]; echo $?)"
  check "playlist lines" "$(has_line "$out" $'1\tC:\\music\\inserted.mp3\t\t0' && has_line "$out" $'2\tC:\\music\\b.mp3\tProbe Artist - b.mp3\t61'; echo $?)"
  check "play notifies the playing file" "$([ "$(status_after 'play 2')" = 'playing C:\music\b.mp3' ]; echo $?)"
  check "file information dialog" "$(has_line "$out" "dialog: File information" && grep -qF $'1000\tEdit\tC:\\music\\a.mp3' <<<"$out" && [ "$(status_after 'dialog-click 1')" = "file info closed" ]; echo $?)"
  dump_on_failure "$before" probe-dialogs

  # A careless plugin: the host names each thing it left behind and fails.
  before=$failed
  plugin=$probe
  run_host probe-careless <<SCRIPT
focus list
key F11
status
quit
SCRIPT
  plugin=$plugin_saved
  check "the probe took the careless key" "$([ "$(status_after 'key F11')" = "careless quit" ]; echo $?)"
  check "window procedure left is reported" "$(has_line "$out" "host: window procedure left on CvHostMain after quit"; echo $?)"
  check "frame record freed early is reported" "$(has_line "$out" "host: frame record freed while its frame lives"; echo $?)"
  check "service interface kept is reported" "$(has_line "$out" "host: service interface not released"; echo $?)"
  check "an enqueue record of the older layout is reported" "$(has_line "$out" "host: request 1100 holds 0x000000B9 where the player reads a text or null; the player would crash"; echo $?)"
  check "a menu item left is reported" "$(has_line "$out" 'host: menu item "Probe" left in the main menu after quit'; echo $?)"
  check "a preferences page left is reported" "$(has_line "$out" 'host: preferences page "Probe" still registered after quit'; echo $?)"
  check "careless quit fails the host" "$([ "$status" -ne 0 ] && tail -n 1 <<<"$out" | grep -q '^host: gdi '; echo $?)"
  dump_on_failure "$before" probe-careless
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
