#!/usr/bin/env bash
# The release as a user's machine sees it, under Wine: the zip's contents; a silent install into
# a stand-in player folder found through the registry, its uninstall entry, and a silent
# uninstall that takes away exactly what was installed and nothing of the user's; the folders
# the installer must refuse; and a running player it must not install under. The installed
# plugin is started in the stand-in player, which must find the installed language packs.
# Usage: check-installer.sh SETUP ZIP HELPER HOST PLAYER_FACTS PLUGIN_DLL LANGUAGE_PACK...
set -u
export LC_ALL=C
setup=$1 zip=$2 helper=$3 host=$4 facts=$5 plugin=$6
shift 6
packs=("$@")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine="$here/../../tools/wine/run-wine.sh"
export WINEPREFIX=${CV_WINEPREFIX:-$(cd "$here/../.." && pwd)/build/wineprefix}
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}

passed=0 failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }

fact() { sed -n "s/^!define $1 \"\(.*\)\"\r\{0,1\}$/\1/p" "$facts"; }
player_exe=$(fact PLAYER_EXE)
player_class=$(fact PLAYER_WINDOW_CLASS)
player_key="HKCU\\$(fact PLAYER_KEY)"
player_uninstall_key="HKLM\\$(fact PLAYER_UNINSTALL_KEY)"
own_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Crateview'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
uninstaller='Uninstall Crateview.exe'
[ -n "$player_exe" ] && [ -n "$player_class" ] || { echo "cannot read the player's facts from $facts"; exit 1; }

# Everything lives under C:\cvrelease of the test prefix; the documents folder too, so that
# nothing reaches the real home the prefix's own documents folder may point at.
root_unix="$WINEPREFIX/drive_c/cvrelease"
root_win='C:\cvrelease'
docs_unix="$root_unix/Documents" docs_win="$root_win\\Documents"
rm -rf "$root_unix"
mkdir -p "$docs_unix"

reg() { "$wine" reg "$@" >/dev/null 2>&1; }
reg_value() {  # KEY VALUE-NAME (empty name: the default value)
  local out
  if [ -z "$2" ]; then out=$("$wine" reg query "$1" /ve 2>/dev/null); else out=$("$wine" reg query "$1" /v "$2" 2>/dev/null); fi
  echo "$out" | tr -d '\r' | sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -1
}

old_personal=$("$wine" reg query "$shell_folders" /v Personal 2>/dev/null | tr -d '\r' | grep -c REG_)
old_personal_value=$(reg_value "$shell_folders" Personal)
# A run killed before it could put the folder back left ours: the prefix's own is the default.
[ "$old_personal_value" = "$docs_win" ] && old_personal=0
restore() {
  if [ "$old_personal" -gt 0 ]; then reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d "$old_personal_value" /f
  else reg delete "$shell_folders" /v Personal /f; fi
  reg delete "$player_key" /f
  reg delete "$player_uninstall_key" /f
  reg delete "$own_key" /f
}
trap restore EXIT
reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d "$docs_win" /f
shown_docs=$("$wine" "$helper" documents | tr -d '\r')
if [ "$shown_docs" != "$docs_win" ]; then
  echo "the documents folder could not be moved into the test folder (shell says '$shown_docs'); stopping"
  exit 1
fi

# The user's things the installer must never touch.
plant_user_files() {
  mkdir -p "$docs_unix/Crateview/Cache" "$docs_unix/Crateview/lang" "$docs_unix/Playlists"
  printf '[General]\r\nLanguage=\r\n' >"$docs_unix/Crateview/gen_cv.ini"
  printf 'SQLite format 3\0cache' >"$docs_unix/Crateview/Cache/cvCache.db"
  printf 'own pack' >"$docs_unix/Crateview/lang/Own.dll"
  printf '#EXTM3U\r\nsong.mp3\r\n' >"$docs_unix/Playlists/mix.m3u8"
}
make_player_folder() {  # UNIX-FOLDER
  mkdir -p "$1/Plugins"
  printf 'player' >"$1/$player_exe"
  printf '[Winamp]\r\n' >"$1/winamp.ini"
  printf 'another plugin' >"$1/Plugins/gen_other.dll"
}
snapshot() { (cd "$root_unix" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
names() { cut -c67- | sort; }  # the paths of a snapshot, without the hashes
added_files() { comm -13 <(echo "$1" | names) <(snapshot | names); }
same_bytes() { cmp -s "$1" "$2"; }
run_setup() { "$wine" "$setup" "$@" >/dev/null 2>&1; }
run_uninstaller() {  # UNIX-FOLDER WINDOWS-FOLDER: waits for it by keeping it in place (_?=)
  "$wine" "$1/$uninstaller" /S "_?=$2" >/dev/null 2>&1
}

# --- the zip -------------------------------------------------------------------------------
zip_check=$(python3 - "$zip" "$plugin" "${packs[@]}" <<'EOF'
import os, sys, zipfile
zip_path, plugin, packs = sys.argv[1], sys.argv[2], sys.argv[3:]
name = os.path.basename(zip_path)[:-len(".zip")]
z = zipfile.ZipFile(zip_path)
members = sorted(i.filename for i in z.infolist() if not i.is_dir())
expected = sorted([f"{name}/gen_cv.dll", f"{name}/README.txt"] + [f"{name}/lang/{os.path.basename(p)}" for p in packs])
problems = []
if members != expected: problems.append(f"members {members}, expected {expected}")
elif z.read(f"{name}/gen_cv.dll") != open(plugin, "rb").read(): problems.append("gen_cv.dll is not the built one")
else:
    for p in packs:
        if z.read(f"{name}/lang/{os.path.basename(p)}") != open(p, "rb").read(): problems.append(p + " differs")
    readme = z.read(f"{name}/README.txt")
    version = name[len("Crateview-"):]
    if b"\n" in readme.replace(b"\r\n", b""): problems.append("README.txt has bare line feeds")
    if version.encode() not in readme: problems.append("README.txt does not name the version")
    if b"Insert root" not in readme: problems.append("README.txt does not say how to add a folder")
print("; ".join(problems))
EOF
)
check '[ -z "$zip_check" ]' "zip: $zip_check"
check '[ ${#packs[@]} -gt 0 ]' "the build made no language pack to ship"

# --- a silent install into the folder the player's own key names ---------------------------
player_unix="$root_unix/Player"
player_win="$root_win\\Player"
make_player_folder "$player_unix"
plant_user_files
reg add "$player_key" /ve /d "$player_win" /f
before=$(snapshot)
run_setup /S
status=$?
check '[ $status -eq 0 ]' "silent install into the player's folder exited $status"
added=$(added_files "$before" | sort)
expected=$( (echo "./Player/Plugins/gen_cv.dll"; echo "./Player/$uninstaller"
             for p in "${packs[@]}"; do echo "./Documents/Crateview/lang/$(basename "$p")"; done) | sort)
check '[ "$added" = "$expected" ]' "install added:
$added
expected:
$expected"
check 'same_bytes "$player_unix/Plugins/gen_cv.dll" "$plugin"' "the installed plugin is not the built one"
for p in "${packs[@]}"; do
  check 'same_bytes "$docs_unix/Crateview/lang/$(basename "$p")" "$p"' "pack $(basename "$p") not installed as built"
done
check '[ -z "$(echo "$before" | (cd "$root_unix" && sha256sum --quiet -c - 2>&1))" ]' "install changed a file that was there before"
uninstall_string=$(reg_value "$own_key" UninstallString)
check '[ "$uninstall_string" = "\"$player_win\\$uninstaller\"" ]' "uninstall entry names '$uninstall_string'"
check '[ "$(reg_value "$own_key" InstallLocation)" = "$player_win" ]' "uninstall entry's InstallLocation"
version=$(basename "$setup" -setup.exe); version=${version#Crateview-}
check '[ "$(reg_value "$own_key" DisplayVersion)" = "$version" ]' "uninstall entry's DisplayVersion is not $version"

# Installing again over the first (an upgrade) adds nothing more.
run_setup /S
status=$?
check '[ $status -eq 0 ] && [ "$(added_files "$before" | sort)" = "$expected" ]' "a second install exited $status or added other files"

# --- a silent uninstall: exactly the installed files and the entry go ----------------------
# The user used the plugin meanwhile: its settings and cache changed and a pack of their own
# came beside the installed ones; all of that stays.
printf '[General]\r\nLanguage=x\r\n' >"$docs_unix/Crateview/gen_cv.ini"
printf 'more' >"$docs_unix/Crateview/lang/Later.dll"
used=$(snapshot)
run_uninstaller "$player_unix" "$player_win"
status=$?
check '[ $status -eq 0 ]' "silent uninstall exited $status"
# Kept in place to be waited for, the uninstaller cannot delete itself: everything else went.
gone=$(comm -23 <(echo "$used" | names) <(snapshot | names))
expected_gone=$(echo "$expected" | grep -v "$uninstaller")
check '[ "$gone" = "$expected_gone" ]' "uninstall removed:
$gone
expected:
$expected_gone"
check '[ -z "$(added_files "$used")" ]' "uninstall added files"
check '[ -z "$(echo "$used" | grep -v -F "$expected_gone" | (cd "$root_unix" && sha256sum --quiet -c - 2>&1))" ]' \
  "uninstall changed a file of the user's or the player's"
check '! reg query "$own_key"' "the uninstall entry is still there"
check '[ -n "$(reg_value "$player_key" "")" ]' "the uninstall took the player's key"

# Run as the uninstall entry runs it (it copies itself away first), the uninstaller goes too.
rm -f "$docs_unix/Crateview/lang/Later.dll"
run_setup /S
"$wine" "$player_unix/$uninstaller" /S >/dev/null 2>&1
for _ in $(seq 120); do [ -e "$player_unix/$uninstaller" ] || [ -e "$player_unix/Plugins/gen_cv.dll" ] || break; sleep 1; done
check '[ ! -e "$player_unix/$uninstaller" ] && [ ! -e "$player_unix/Plugins/gen_cv.dll" ]' \
  "the uninstaller run from the uninstall entry left itself or the plugin"
check '[ -e "$player_unix/$player_exe" ] && [ -e "$player_unix/Plugins/gen_other.dll" ] && [ -e "$docs_unix/Crateview/gen_cv.ini" ]' \
  "the uninstaller run from the uninstall entry took the player's or the user's files"

# --- the installed plugin in the player: it lists music and finds the installed packs -------
rm -rf "$docs_unix/Crateview"
run_setup /S
mkdir -p "$root_unix/Music/Album"
for n in 1 2; do printf 'x' >"$root_unix/Music/Album/track$n.mp3"; done
printf 'wait-idle 10000\nadd-root %s\nanswer no\nwait-idle 60000\nselect %s\nwait-idle 10000\nstatus\nkey Ctrl+P\nwait-idle 10000\ndialog-set 1018 1\ndialog\nquit\n' \
  "$root_win\\Music" "$root_win\\Music\\Album" >"$root_unix/run.script"
"$wine" "$host" --plugin "$player_win\\Plugins\\gen_cv.dll" --documents "$docs_win" \
  --script "$root_win\\run.script" >"$root_unix/run.out" 2>&1
status=$?
host_out=$(tr -d '\r' <"$root_unix/run.out")
check '[ $status -eq 0 ] && echo "$host_out" | grep -qE "^2 file\(s\) "' "the installed plugin did not list the added folder:
$host_out"
check 'echo "$host_out" | grep -qP "^1022\tComboBox\t.*items=English <default>\|Deutsch"' \
  "the installed plugin does not offer the installed language pack"
check '[ -e "$docs_unix/Crateview/gen_cv.ini" ] && [ -e "$docs_unix/Crateview/Cache/cvCache.db" ]' \
  "the player did not store the plugin's settings and cache"
# What the plugin wrote is the user's: the uninstall leaves it.
written=$(cd "$docs_unix/Crateview" && find . -type f ! -path './lang/*' | sort)
run_uninstaller "$player_unix" "$player_win"
check '[ "$(cd "$docs_unix/Crateview" && find . -type f | sort)" = "$written" ]' \
  "the uninstall took files the plugin wrote"
[ -n "${CV_KEEP_WORK:-}" ] && cp "$root_unix/run.out" /tmp/cv-release-run.out
rm -rf "$root_unix/Music" "$root_unix/run.script" "$root_unix/run.out" "$player_unix/$uninstaller"

# --- found through the player's uninstall entry, in a folder with blanks --------------------
reg delete "$player_key" /f
other_unix="$root_unix/Program Files/Player Two"
other_win="$root_win\\Program Files\\Player Two"
make_player_folder "$other_unix"
reg add "$player_uninstall_key" /v UninstallString /d "\"$other_win\\UninstWA.exe\"" /f
run_setup /S
status=$?
check '[ $status -eq 0 ] && [ -e "$other_unix/Plugins/gen_cv.dll" ] && [ -e "$other_unix/$uninstaller" ]' \
  "install through the player's UninstallString exited $status or missed the folder"
check '[ "$(reg_value "$own_key" InstallLocation)" = "$other_win" ]' "uninstall entry after install through UninstallString"
"$wine" "$other_unix/$uninstaller" /S >/dev/null 2>&1
for _ in $(seq 120); do [ -e "$other_unix/Plugins/gen_cv.dll" ] || break; sleep 1; done
check '[ ! -e "$other_unix/Plugins/gen_cv.dll" ]' "uninstall from the folder with blanks left the plugin"
reg delete "$player_uninstall_key" /f

# --- folders that are not the player's are refused ------------------------------------------
empty_unix="$root_unix/NotAPlayer"
mkdir -p "$empty_unix/Plugins"
before=$(snapshot)
run_setup /S "/D=$root_win\\NotAPlayer"
status=$?
check '[ $status -eq 2 ]' "a folder without $player_exe named with /D was accepted"
check '[ -z "$(added_files "$before")" ]' "a refused /D folder still got files: $(added_files "$before")"
check '! reg query "$own_key"' "a refused install wrote its uninstall entry"

reg add "$player_key" /ve /d "$root_win\\NotAPlayer" /f
run_setup /S
status=$?
check '[ $status -eq 2 ] && [ -z "$(added_files "$before")" ]' \
  "a player key naming a folder without $player_exe was installed into (exit $status)"

# --- a running player is not installed under, nor uninstalled under -------------------------
ready_unix="$root_unix/window-ready"
start_window() {  # CLASS [WINDOWS-PATH of a file to hold open]; true once the window is up
  rm -f "$ready_unix"
  "$wine" "$helper" window "$1" "$root_win\\window-ready" ${2:+"$2"} >/dev/null 2>&1 &
  window_pid=$!
  for _ in $(seq 120); do [ -e "$ready_unix" ] && break; sleep 0.5; done
  [ -e "$ready_unix" ] || { fail "the helper's $1 window did not come up"; kill $window_pid 2>/dev/null; return 1; }
}
close_window() {  # as a user closes it; killed only if that fails
  "$wine" taskkill /im "$(basename "$helper")" >/dev/null 2>&1 || kill $window_pid 2>/dev/null
  wait $window_pid
}

reg add "$player_key" /ve /d "$player_win" /f
if start_window "$player_class"; then
  before=$(snapshot)
  run_setup /S
  status=$?
  check '[ $status -eq 3 ] && [ -z "$(added_files "$before")" ]' "installed while the player was running (exit $status)"
  check 'kill -0 $window_pid 2>/dev/null' "a silent install closed the running player"
  close_window
fi
run_setup /S
if start_window "$player_class"; then
  installed=$(snapshot)
  run_uninstaller "$player_unix" "$player_win"
  status=$?
  check '[ $status -eq 3 ] && [ "$(snapshot)" = "$installed" ]' "uninstalled while the player was running (exit $status)"
  close_window
fi

# --- a plugin another program holds is neither replaced nor reported removed ----------------
if start_window CvReleaseFileHolder "$player_win\\Plugins\\gen_cv.dll"; then
  installed=$(snapshot)
  run_setup /S
  status=$?
  check '[ $status -ne 0 ]' "an install over a plugin held open reported success"
  run_uninstaller "$player_unix" "$player_win"
  status=$?
  check '[ $status -eq 4 ] && [ "$(snapshot)" = "$installed" ]' \
    "an uninstall that could not remove the plugin exited $status or did not keep everything"
  check 'reg query "$own_key"' "an uninstall that could not remove the plugin dropped its entry"
  close_window
fi
run_uninstaller "$player_unix" "$player_win"
check '[ ! -e "$player_unix/Plugins/gen_cv.dll" ]' "the uninstall once the plugin was free left it"

rm -rf "$root_unix"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
