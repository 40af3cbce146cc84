#!/usr/bin/env bash
# The search index end to end in the stand-in player: after a library is scanned the worker
# builds the index while idle, a word typed in the search box lists the same files the cache's
# own texts hold, a second word narrows what the index proposes and still lists every file
# holding both, and when the player quits the index file beside the cache is left complete
# and marked in step with it (so the next start keeps it).
set -u
scratch=searchindex
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"

sample_library

# The sleep after the scan leaves the idle worker time to build the index before the search. The
# plugin's debug output (Wine shows it among its exception warnings) tells a search the index served.
export WINEDEBUG=-all,warn+seh
run_host first "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
sleep 3000
wait-idle 10000
select My Library
wait-idle 10000
search river
sleep 1500
wait-idle 10000
list
search river mor
sleep 1500
wait-idle 10000
list
quit
SCRIPT

cache=$(find "$work" -name cvCache.db | head -n 1)
index=$(dirname "$cache")/cvSearchIndex.db
listed=$(nth 1 list | head -n 1)
listed2=$(nth 2 list | head -n 1)
# The files whose texts or folder hold the word, read from the cache file itself.
expected=$(python3 - "$cache" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
rows = db.execute("""SELECT fo.path || f.filename FROM Files f, Folder fo WHERE f.folderid=fo.folderid
  AND f.file_exists=1 AND fo.folder_exists=1 AND f.extension IN ('mp3','flac') AND (f.title LIKE '%river%'
  OR f.artist LIKE '%river%' OR f.album LIKE '%river%' OR f.genre LIKE '%river%' OR f.comment LIKE '%river%'
  OR f.filename LIKE '%river%' OR fo.path LIKE '%river%')""").fetchall()
print(len(rows))
# The second word in the file's own texts, ignoring case (the sample library's texts hold
# nothing the system's comparison would match beyond that).
rows = db.execute("""SELECT f.filename, f.artist, f.title, f.album, f.genre, f.comment FROM Files f, Folder fo
  WHERE f.folderid=fo.folderid AND f.file_exists=1 AND fo.folder_exists=1 AND f.extension IN ('mp3','flac')
  AND (f.title LIKE '%river%' OR f.artist LIKE '%river%' OR f.album LIKE '%river%' OR f.genre LIKE '%river%'
  OR f.comment LIKE '%river%' OR f.filename LIKE '%river%' OR fo.path LIKE '%river%')""").fetchall()
print(sum(1 for row in rows if any('mor' in (text or '').lower() for text in row)))
PY
)
expected2=$(tail -n 1 <<<"$expected")
expected=$(head -n 1 <<<"$expected")
state=$(python3 - "$index" "$cache" <<'PY'
import sqlite3, sys
index = sqlite3.connect(sys.argv[1])
stamp, files, folders = index.execute("SELECT stamp, filesDone, foldersDone FROM SearchState").fetchone()
cache = sqlite3.connect(sys.argv[2])
most_files, most_folders = cache.execute("SELECT (SELECT MAX(fileid) FROM Files), (SELECT MAX(folderid) FROM Folder)").fetchone()
print("complete" if stamp is not None and files >= most_files and folders >= most_folders else "incomplete")
PY
)
served=$(grep -o 'the search index proposed [0-9]* files' <<<"$out" | head -n 1)
served2=$(grep -o 'the search index proposed [0-9]* files' <<<"$out" | tail -n 1)
proposed=$(tr -dc 0-9 <<<"$served")
proposed2=$(tr -dc 0-9 <<<"$served2")
check "the index served the search" "$([ -n "$served" ]; echo $?)"
check "the search lists files" "$([ "${listed:-0}" -gt 0 ] 2>/dev/null; echo $?)"
check "the search lists as many files as hold the word" "$([ "$listed" = "$expected" ]; echo $?)"
check "the second word lists files" "$([ "${listed2:-0}" -gt 0 ] 2>/dev/null; echo $?)"
check "the second word lists as many files as hold both words" "$([ "$listed2" = "$expected2" ]; echo $?)"
check "the second word narrows what the index proposes" \
  "$([ -n "$proposed2" ] && [ "$proposed2" -lt "$proposed" ] 2>/dev/null; echo $?)"
check "the index file is left complete and in step with the cache" "$([ "$state" = complete ]; echo $?)"
check "the cache file holds no table of the index" \
  "$(python3 -c "import sqlite3,sys; sys.exit(sqlite3.connect(sys.argv[1]).execute(\"SELECT COUNT(*) FROM sqlite_master WHERE name LIKE 'Search%'\").fetchone()[0])" "$cache"; echo $?)"

echo "search \"river\": $listed listed, $expected in the cache; $served; index at quit: $state"
echo "search \"river mor\": $listed2 listed, $expected2 in the cache; $served2"
echo "search index end to end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
