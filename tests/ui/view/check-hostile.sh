#!/usr/bin/env bash
# Hostile input end to end in the stand-in player. Files named with quotes, LIKE wildcards,
# brackets, "#", ";", a combining mark, CJK and a character outside the BMP are scanned,
# listed, found by a search for "100%" and no other, and reach the player's playlist under
# their exact names; "?" searches that would run for ever or delete list nothing and change
# nothing. Malformed playlist files (noise made from a fixed seed, a mark alone, NUL
# bytes, lone CRs, a megabyte line, odd-length UTF-16, 100,000 entries) open as playlist roots.
# A careless player (no skin bitmap, tag answers without a terminator) and one without a frame
# window are survived. Every run must end with the player's own orderly exit.
set -u
scratch=hostile
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"

profile() {  # folder
  mkdir -p "$1/Crateview"
  printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
    >"$1/Crateview/gen_cv.ini"
}
# The player's orderly end: it prints its object counts last.
ended() { tail -n 1 <<<"$out" | grep -q '^host: gdi '; }

# Odd names, each file one byte.
names=("it's" "100% pure" "a_b" "[live]" "#1 hit" "semi;colon" $'Cafe\xcc\x81' $'\xe9\x9f\xb3\xe6\xa5\xbd' $'\xf0\x9f\x8e\xb5 note' "x!y")
mkdir -p "$work/names"
for name in "${names[@]}"; do printf 'x' >"$work/names/$name.mp3"; done
lib=$(winpath "$work/names")
# A "?" search that would add up the library joined with itself twelve times: years of work.
endless="(SELECT sum($(for i in $(seq 0 11); do printf 't%d.FILEID+' $i; done)0) FROM $(for i in $(seq 0 11); do printf 'QueryView t%d,' $i; done | sed 's/,$//')) > 0"
profile "$work/docs-names"
run_host names "$work/docs-names" <<SCRIPT
$(open_root "$lib")
list
focus tree
key Enter
wait-idle 5000
playlist
search 100%
sleep 1500
wait-idle 10000
list
search ?$endless
sleep 1500
wait-idle 20000
list
search ?1; DELETE FROM Files
sleep 1500
wait-idle 10000
list
quit
SCRIPT
listed=$(nth 1 list | tail -n +2)
played=$(nth 1 playlist | cut -f2)
missing=0
for name in "${names[@]}"; do
  grep -qF -- "$name" <<<"$listed" || { missing=1; echo "not listed: $name"; }
  grep -qxF -- "$lib\\$name.mp3" <<<"$played" || { missing=1; echo "not played: $name"; }
done
check "every odd name is listed and reaches the playlist exactly" "$missing"
check "the playlist holds nothing else" "$([ "$(grep -c . <<<"$played")" = "${#names[@]}" ]; echo $?)"
found=$(nth 2 list)
check "a search for 100% finds that file alone" "$([ "$(head -n 1 <<<"$found")" = 1 ] && grep -qF '100% pure' <<<"$found"; echo $?)"
check "an endless \"?\" search is stopped and lists nothing" "$([ "$(nth 3 list | head -n 1)" = 0 ]; echo $?)"
check "a \"?\" search with a second statement lists nothing" "$([ "$(nth 4 list | head -n 1)" = 0 ]; echo $?)"
kept=$(sqlite3 "$work/docs-names/Crateview/Cache/cvCache.db" "SELECT COUNT(*) FROM Files" 2>&1)
check "and deletes nothing" "$([ "$kept" = "${#names[@]}" ]; echo $?)"
check "the names run ends in order" "$(ended; echo $?)"

# Malformed playlists, made from a fixed seed.
mkdir -p "$work/lists"
python3 - "$work/lists" <<'PY'
import random, sys
out = sys.argv[1]
rnd = random.Random(20261208)
files = {
    "noise.m3u": bytes(rnd.getrandbits(8) for _ in range(65536)),
    "mark-alone.m3u8": b"\xef\xbb\xbf",
    "nuls.m3u": b"#EXTM3U\r\na\x00b.mp3\r\n\x00\x00\r\nc.mp3\x00\r\n",
    "lone-cr.m3u": b"#EXTM3U\ra.mp3\rb.mp3\r#EXTINF:3,C\rc.mp3",
    "megabyte-line.m3u": b"a" * (1 << 20) + b".mp3\r\nb.mp3\r\n",
    "utf16-odd.m3u": b"\xff\xfe" + "#EXTM3U\r\na\ud83d.mp3\r\nb.mp3\r\n".encode("utf-16-le", "surrogatepass") + b"x",
    "many.m3u8": b"#EXTM3U\r\n" + b"".join(b"#EXTINF:1,T%d\r\nd\\%d.mp3\r\n" % (i, i) for i in range(100000)),
}
for name, data in files.items():
    open(f"{out}/{name}", "wb").write(data)
PY
lists=$(winpath "$work/lists")
profile "$work/docs-lists"
script=""
for name in noise.m3u mark-alone.m3u8 nuls.m3u lone-cr.m3u megabyte-line.m3u utf16-odd.m3u many.m3u8; do
  script+="add-playlist-root $lists\\$name"$'\n'"wait-idle 30000"$'\n'"select $name"$'\n'"wait-idle 60000"$'\n'"status"$'\n'
done
# The 100,000 entries are listed on the worker while the view stays idle.
script+="wait-status 60000 out of 100000 file(s) found"$'\n'"status"$'\n'
run_host lists "$work/docs-lists" <<SCRIPT
wait-idle 10000
${script}quit
SCRIPT
found_count() { nth "$1" status | grep -oE 'out of [0-9]+ file' | grep -oE '[0-9]+'; }
check "a UTF-8 mark alone opens empty" "$([ "$(found_count 2)" = 0 ]; echo $?)"
check "lone CRs end lines" "$([ "$(found_count 4)" = 3 ]; echo $?)"
check "a megabyte line is one entry" "$([ "$(found_count 5)" = 2 ]; echo $?)"
check "odd-length UTF-16 keeps its whole entries" "$([ "$(found_count 6)" = 2 ]; echo $?)"
check "100,000 entries all open" "$(grep -q 'out of 100000 file(s) found' <<<"$out"; echo $?)"
check "the playlists run ends in order" "$(ended; echo $?)"

# A careless player: no skin bitmap, and tag answers that fill the buffer without a terminator.
mkdir -p "$work/tagged"
python3 - "$work/tagged" <<'PY'
import sys
def frame(key, text):
    body = b"\x00" + text.encode("latin-1")
    return key.encode() + len(body).to_bytes(4, "big") + b"\x00\x00" + body
for i in range(3):
    frames = frame("TIT2", "Title %d" % i) + frame("TPE1", "Artist") + frame("TLEN", "61000")
    size = len(frames)
    syncsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    open(f"{sys.argv[1]}/song {i}.mp3", "wb").write(b"ID3\x03\x00\x00" + syncsafe + frames + b"\xff\xfb\x90\x00" * 8)
PY
tagged=$(winpath "$work/tagged")
profile "$work/docs-careless"
host_options=(--no-skin --tag-garbage)
run_host careless "$work/docs-careless" <<SCRIPT
$(open_root "$tagged")
focus list
key F6
answer yes
wait-idle 30000
status
quit
SCRIPT
check "every file is read from the careless player" \
  "$(nth 1 status | grep -q "^3 file(s) scanned out of 3"; echo $?)"
stored=$(sqlite3 "$work/docs-careless/Crateview/Cache/cvCache.db" "SELECT MAX(length(title)) FROM Files" 2>&1)
check "an answer without a terminator is cut to the buffer" "$([ "$stored" = 259 ]; echo $?)"

# A player that gives no frame window: nothing is shown, and the player still closes cleanly.
profile "$work/docs-frameless"
host_options=(--no-frame)
run_host frameless "$work/docs-frameless" <<SCRIPT
sleep 3000
quit
SCRIPT
check "the frameless run ends in order" "$(ended; echo $?)"
host_options=()

echo "hostile end to end: $passed passed, $failed failed"
[ "$failed" = 0 ] || { echo "--- host output ---"; echo "$out"; }
[ "$failed" = 0 ]
