#!/usr/bin/env bash
# The plugin in the stand-in player when its storage lets it down: a damaged cache answered
# both ways (declined: the file is left byte for byte; accepted: it is set aside, not deleted),
# a full disk and a read-only cache folder (a clear message, no crash, a settings file that is
# never half-written and whose lost save is reported once, and a later start with room works). The full disk is a small tmpfs volume
# holding the profile; where mounting is not allowed those parts are skipped and say so.
set -u
host=$(realpath "$1")
plugin=$(realpath "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/cv-storage.XXXXXX)
mounted=
cleanup() {
  [ -n "$mounted" ] && umount "$work/disk" 2>/dev/null
  [ -n "${CV_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
passed=0 failed=0 skipped=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
run_host() {  # name, documents; script on stdin; sets out and code
  local name=$1 docs=$2
  cat >"$work/$name.script"
  (cd "$work" && timeout 300 "$top/tools/wine/run-wine.sh" "$host" --plugin "$plugin" --documents "$docs" \
        --script "$work/$name.script" >"$work/$name.out" 2>&1)
  code=$?
  out=$(tr -d '\r' <"$work/$name.out")
}
new_profile() {
  mkdir -p "$1/Crateview"
  printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
    >"$1/Crateview/gen_cv.ini"
}
cache() { echo "$1/Crateview/Cache/cvCache.db"; }
stored() { sqlite3 "$(cache "$1")" "$2" 2>&1; }
sum() { sha256sum <"$1" | cut -d' ' -f1; }
# Overwrites the page headers of pages 2 and 3 (the Files and Folder tables), sparing the
# roots on page 4: what a bad sector or a stray write does.
damage() { for page in 1 2; do printf '\x5a\xa5\x5a\xa5\x5a\xa5\x5a\xa5' | dd of="$1" bs=1 seek=$((page * 4096)) conv=notrunc status=none; done; }

for lib in one two; do
  for d in 1 2 3; do
    mkdir -p "$work/$lib/d$d"
    for f in $(seq -w 1 30); do printf 'x' >"$work/$lib/d$d/t$f.mp3"; done
  done
done
one=$(winpath "$work/one")
two=$(winpath "$work/two")
add_one="wait-idle 10000
add-root $one
answer no
wait-idle 60000"

# --- A damaged cache, declined and then accepted.
new_profile "$work/damaged"
run_host damaged-first "$work/damaged" <<SCRIPT
$add_one
quit
SCRIPT
damage "$(cache "$work/damaged")"
before=$(sum "$(cache "$work/damaged")")
run_host damaged-no "$work/damaged" <<SCRIPT
answer no
wait-idle 20000
quit
SCRIPT
check "a damaged cache is found at start and the user asked" \
  "$(grep -q '^box: Warning: The Crateview library cache is damaged' <<<"$out"; echo $?)"
check "declined, the player runs on and quits cleanly" "$([ "$code" = 0 ]; echo $?)"
check "declined, the damaged file is left byte for byte" "$([ "$(sum "$(cache "$work/damaged")")" = "$before" ]; echo $?)"
check "declined, nothing is set aside" "$([ ! -e "$(cache "$work/damaged").bad-1" ]; echo $?)"
run_host damaged-yes "$work/damaged" <<SCRIPT
answer yes
wait-idle 60000
quit
SCRIPT
check "accepted, the player runs on and quits cleanly" "$([ "$code" = 0 ]; echo $?)"
check "accepted, the damaged file is set aside whole" "$([ "$(sum "$(cache "$work/damaged").bad-1")" = "$before" ]; echo $?)"
check "accepted, the new cache checks out" "$([ "$(stored "$work/damaged" 'PRAGMA integrity_check')" = ok ]; echo $?)"
check "accepted, the root comes back and is scanned again" \
  "$([ "$(stored "$work/damaged" 'SELECT COUNT(*) FROM Files WHERE file_exists=1')" = 90 ]; echo $?)"
[ "$failed" -gt 0 ] && tail -n 20 "$work"/damaged-*.out

# --- A full disk and a read-only cache folder, on a volume of their own. The notice is shown
# once, whenever the first write fails: the start-up scan may get there before the new root
# does, so either "answer ok" may be the one that takes it.
add_two_refused="add-root $two
answer no
wait-idle 60000
answer ok
wait-idle 10000
quit"
told_not_stored() { grep -q '^box: Error: Crateview could not store its library cache' <<<"$out"; echo $?; }
# The settings saved at shutdown cannot reach the file either. That is said once, after the
# script has ended, so the player counts that one box as unanswered (exit 3); nothing else may be.
told_settings_lost_once() { [ "$(grep -c '^box: Error: Crateview could not save its settings' <<<"$out")" = 1 ]; echo $?; }
quit_clean_but_settings_box() {
  [ "$code" = 0 ] || { [ "$code" = 3 ] && [ "$(grep -c '^unexpected box' <<<"$out")" = 1 ]; }; echo $?
}
mkdir -p "$work/disk"
if ! mount -t tmpfs -o size=1m tmpfs "$work/disk" 2>/dev/null; then
  echo "skipped: this machine does not allow mounting a small volume (full disk, read-only folder)"
  skipped=2
else
  mounted=1
  new_profile "$work/disk/full"
  run_host full-first "$work/disk/full" <<SCRIPT
$add_one
quit
SCRIPT
  # The settings file is brought just short of a whole block of the volume, so that the search
  # text saved at shutdown makes it need one more: on the full disk that write must fail whole.
  ini="$work/disk/full/Crateview/gen_cv.ini"
  pad=$((4000 - $(stat -c %s "$ini")))
  [ "$pad" -gt 0 ] && printf '[Notes]\r\nText=%s\r\n' "$(head -c "$pad" /dev/zero | tr '\0' n)" >>"$ini"
  ini_before=$(sum "$ini")
  dd if=/dev/zero of="$work/disk/fill" bs=4k status=none 2>/dev/null
  run_host full "$work/disk/full" <<SCRIPT
wait-idle 10000
answer ok
search $(printf 'a longer search text %.0s' $(seq 10))
wait-idle 10000
$add_two_refused
SCRIPT
  check "full disk: the user is told the cache could not be stored" "$(told_not_stored)"
  check "full disk: the lost settings are reported once" "$(told_settings_lost_once)"
  check "full disk: no crash, a clean quit" "$(quit_clean_but_settings_box)"
  check "full disk: the settings file is left whole" "$([ "$(sum "$work/disk/full/Crateview/gen_cv.ini")" = "$ini_before" ]; echo $?)"
  check "full disk: the cache still checks out" "$([ "$(stored "$work/disk/full" 'PRAGMA integrity_check')" = ok ]; echo $?)"
  rm -f "$work/disk/fill"
  run_host full-later "$work/disk/full" <<SCRIPT
wait-idle 60000
add-root $two
answer no
wait-idle 60000
quit
SCRIPT
  check "with room again the next start works" "$([ "$code" = 0 ]; echo $?)"
  check "with room again both roots are scanned whole" \
    "$([ "$(stored "$work/disk/full" 'SELECT COUNT(*) FROM Files WHERE file_exists=1')" = 180 ]; echo $?)"
  check "with room again the settings are written" \
    "$(grep -q '^Sort=' "$work/disk/full/Crateview/gen_cv.ini"; echo $?)"
  [ "$failed" -gt 0 ] && tail -n 20 "$work"/full*.out

  new_profile "$work/disk/ro"
  run_host ro-first "$work/disk/ro" <<SCRIPT
$add_one
quit
SCRIPT
  ini_before=$(sum "$work/disk/ro/Crateview/gen_cv.ini")
  cache_before=$(sum "$(cache "$work/disk/ro")")
  mount -o remount,ro "$work/disk"
  run_host ro "$work/disk/ro" <<SCRIPT
wait-idle 10000
answer ok
$add_two_refused
SCRIPT
  mount -o remount,rw "$work/disk"
  check "read-only folder: the user is told the cache could not be stored" "$(told_not_stored)"
  check "read-only folder: the lost settings are reported once" "$(told_settings_lost_once)"
  check "read-only folder: no crash, a clean quit" "$(quit_clean_but_settings_box)"
  check "read-only folder: settings and cache untouched" \
    "$([ "$(sum "$work/disk/ro/Crateview/gen_cv.ini")" = "$ini_before" ] && [ "$(sum "$(cache "$work/disk/ro")")" = "$cache_before" ]; echo $?)"
  [ "$failed" -gt 0 ] && tail -n 20 "$work"/ro*.out
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
