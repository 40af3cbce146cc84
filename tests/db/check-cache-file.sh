#!/usr/bin/env bash
# Checks cache files from outside the plugin: made by the start-up sequence under Wine, read
# with the sqlite3 command-line tool; an older layout upgrades, and a file that is not a
# database is set aside (never deleted) only when the user agrees.
set -u
tool=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run() { "$here/../../tools/wine/run-wine.sh" "$tool" "$@"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
winpath() { echo "Z:${1//\//\\}"; }
schema() { sqlite3 "$1" "SELECT type || ' ' || name FROM sqlite_master ORDER BY type, name" | tr '\n' ','; }
full='index IDX_FILEPATH,index IDX_FOLDERID,index IDX_PATH,table Files,table Folder,table Roots,view QueryView,'

# A new cache, its base and cache folders not made yet.
mkdir -p "$work/new"
out=$(run "$(winpath "$work/new/Crateview/Cache")")
db="$work/new/Crateview/Cache/cvCache.db"
check "new cache outcome" "outcome: current" "$(echo "$out" | grep outcome | tr -d '\r')"
check "new cache version" "201" "$(sqlite3 "$db" 'PRAGMA user_version')"
check "new cache schema" "$full" "$(schema "$db")"
check "new cache encoding" "UTF-16le" "$(sqlite3 "$db" 'PRAGMA encoding')"
check "view answers" "0" "$(sqlite3 "$db" 'SELECT COUNT(*) FROM QueryView')"

# A version-0 layout, made by the command-line tool, upgrades when the user agrees.
mkdir -p "$work/old"
sqlite3 "$work/old/cvCache.db" "CREATE TABLE Files (fileid INTEGER PRIMARY KEY, filename TEXT); CREATE TABLE Roots (rootid INTEGER PRIMARY KEY, type INTEGER, autoload INTEGER, path VARCHAR(300), rootOrder INTEGER, name VARCHAR(255)); CREATE INDEX IDX_FILEPATH on Files (filename); INSERT INTO Files (filename) VALUES ('a.mp3');"
out=$(run "$(winpath "$work/old")" yes)
check "old cache outcome" "outcome: upgraded" "$(echo "$out" | grep outcome | tr -d '\r')"
check "old cache version" "201" "$(sqlite3 "$work/old/cvCache.db" 'PRAGMA user_version')"
check "old cache schema" "$full" "$(schema "$work/old/cvCache.db")"
check "old rows kept" "a.mp3" "$(sqlite3 "$work/old/cvCache.db" 'SELECT filename FROM Files')"

# Not a database: declined, it stays byte for byte and nothing else is asked; accepted, it is
# set aside under a new name, still byte for byte, and a new cache takes its place.
mkdir -p "$work/junk"
head -c 5000 /dev/urandom > "$work/junk.orig"
cp "$work/junk.orig" "$work/junk/cvCache.db"
out=$(run "$(winpath "$work/junk")" no)
check "junk declined outcome" "outcome: no-cache" "$(echo "$out" | grep outcome | tr -d '\r')"
check "junk declined asked once" "1" "$(echo "$out" | grep -c '^asked: Warning: ')"
check "junk kept after 'no'" "$(sha256sum <"$work/junk.orig")" "$(sha256sum <"$work/junk/cvCache.db")"
out=$(run "$(winpath "$work/junk")" yes)
check "junk replaced outcome" "outcome: recreated" "$(echo "$out" | grep outcome | tr -d '\r')"
check "junk set aside whole" "$(sha256sum <"$work/junk.orig")" "$(sha256sum <"$work/junk/cvCache.db.bad-1")"
check "junk replaced version" "201" "$(sqlite3 "$work/junk/cvCache.db" 'PRAGMA user_version')"
check "junk replaced schema" "$full" "$(schema "$work/junk/cvCache.db")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
