#!/usr/bin/env bash
# Saving playlists end to end in the stand-in player, where a wrong save costs a user entries
# or paths: F5 on a folder's playlist with an unsaved removal asks first, "No" reads the file
# again and Ctrl+S then writes every entry back; files named beyond the 8-bit code page dropped
# onto an ANSI playlist are saved as UTF-8 with its mark and read back as the same paths.
set -u
scratch=playlist-saves
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"

mkdir -p "$work/lib" "$work/intl"
for name in a b c; do printf 'x' >"$work/lib/$name.mp3"; done
printf '#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\n' >"$work/lib/mix.m3u"
printf 'x' >"$work/intl/Dvořák.mp3"
printf 'x' >"$work/intl/日本.mp3"
printf '#EXTM3U\r\n' >"$work/intl/world.m3u"
lib=$(winpath "$work/lib")
intl=$(winpath "$work/intl")
docs="$work/docs"
write_profile "$docs" 'Display tree playlists=1\r\n'

run_host saves "$docs" <<SCRIPT
$(open_root "$lib")
select $lib\\mix.m3u
wait-idle 10000
list
select-rows 1
key Delete
wait-idle 10000
list
key F5
answer no
wait-idle 10000
list
key Ctrl+S
wait-idle 10000
add-playlist-root $intl\\world.m3u
wait-idle 20000
drop tree:world $work/intl/Dvořák.mp3 $work/intl/日本.mp3
wait-idle 10000
select $intl\\world.m3u
wait-idle 10000
key Ctrl+S
answer yes
wait-idle 10000
key F5
wait-idle 10000
list
quit
SCRIPT

entries() { tr -d '\r' <"$1" | grep -v '^#'; }
check "the removal shows before F5" "$(! grep -q 'b.mp3' <<<"$(nth 2 list)"; echo $?)"
check "F5 asks to save the unsaved removal first" "$(grep -q '^box: .*Save playlist' <<<"$out"; echo $?)"
check "No reads the file again: every entry is listed" "$(grep -q 'b.mp3' <<<"$(nth 3 list)"; echo $?)"
check "Ctrl+S after F5 keeps every entry on disk" \
  "$([ "$(entries "$work/lib/mix.m3u" | tr '\n' ' ')" = 'a.mp3 b.mp3 c.mp3 ' ]; echo $?)"
check "the playlist that needs more than its code page is UTF-8 with its mark" \
  "$([ "$(head -c 3 "$work/intl/world.m3u" | od -An -tx1 | tr -d ' ')" = efbbbf ]; echo $?)"
check "its lines name the files exactly" \
  "$(entries "$work/intl/world.m3u" | grep -qx 'Dvořák.mp3' && entries "$work/intl/world.m3u" | grep -qx '日本.mp3'; echo $?)"
check "read back, it lists the same files" \
  "$(grep -q 'Dvořák.mp3' <<<"$(nth 4 list)" && grep -q '日本.mp3' <<<"$(nth 4 list)"; echo $?)"

echo "playlist saves end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || { echo "--- host output ---"; echo "$out"; }
[ "$failed" = 0 ]
