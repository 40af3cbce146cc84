#!/usr/bin/env bash
# What the view's end-to-end checks share, sourced by each with the player and the plugin as
# its arguments: a scratch folder, the stand-in player run over a script, the output of one
# command, and the tally of checks. The caller names its scratch folder in `scratch` first.
host=$1
plugin=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d "/tmp/cv-$scratch-check.XXXXXX")
trap '[ -n "${CV_KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # name, status (0 = holds)
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
host_options=()  # more options for the player, set by a check before a run
run_host() {  # name, documents; script on stdin
  local name=$1 docs=$2
  cat >"$work/$name.script"
  out=$(cd "$work" && "$top/tools/wine/run-wine.sh" "$host" --plugin "$plugin" --documents "$docs" \
        --script "$work/$name.script" ${host_options[@]+"${host_options[@]}"} 2>&1)
  local status=$?
  echo "$out" >"$work/$name.out"
  # The host fails a run in which the plugin showed a box the script did not answer.
  check "the $name run answers every box it meets" "$( [ "$status" -eq 0 ] && ! grep -q '^unexpected box' <<<"$out"; echo $?)"
}
open_root() {  # folder: script lines that add it as a root without reading tags, then select it
  printf 'wait-idle 10000\nadd-root %s\nanswer no\nwait-idle 60000\nselect %s\nwait-idle 10000\n' "$1" "$1"
}
section() { sed -n "/^> $1\$/,/^> /p" <<<"$out" | sed '1d;$d'; }  # output of one command
has_line() { grep -qxF -- "$2" <<<"$1"; }
nth() {  # the output of the n-th run of this command line (through the environment: awk -v reads backslashes)
  want="> $2" n=$1 awk '$0 == ENVIRON["want"] {k++; on = (k == ENVIRON["n"]); next} /^> /{on = 0} on' <<<"$out"
}
sample_library() {  # more [General] lines (with \n between them): the sample library in $work/lib, a profile in $docs
  bash "$top/tools/samplelib/make-sample-library.sh" "$work/lib" >/dev/null
  lib=$(winpath "$work/lib")
  docs="$work/docs"
  mkdir -p "$docs/Crateview"
  printf "[General]\nFile types=mp3;flac;\nAuto-refresh=0\n${1:-}[Window]\nLeft=0\nTop=0\nRight=900\nBottom=600\nVisible=1\n" \
    >"$docs/Crateview/gen_cv.ini"
}
write_profile() {  # documents folder, more [General] lines ending in \r\n: a profile with no roots yet
  mkdir -p "$1/Crateview"
  printf "[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n${2:-}[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n" \
    >"$1/Crateview/gen_cv.ini"
}
