#!/usr/bin/env bash
# Kills the stand-in player at seeded random moments of a scan of three folder roots, a tag
# pass and a playlist save (see KillDriver.cpp), over a library generated here.
#   check-kills.sh CVHOST GEN_CV CVKILL KILLS [SEED [PHASE]]
# KILLS may be "soak": then CV_SOAK_KILLS (default 200) kills, and CV_SOAK_SEED the seed.
set -u
host=$1 plugin=$2 driver=$3 kills=$4 seed=${5:-1} only=${6:-}
if [ "$kills" = soak ]; then kills=${CV_SOAK_KILLS:-200}; seed=${CV_SOAK_SEED:-$seed}; fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/cv-kills.XXXXXX)
trap '[ -n "${CV_KEEP:-}" ] || rm -rf "$work"' EXIT
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# Three roots of three folders with twenty files each, and a playlist of the first root's files.
for r in 1 2 3; do
  for d in 1 2 3; do
    mkdir -p "$work/lib/r$r/disc$d"
    for f in $(seq -w 1 20); do printf 'x' >"$work/lib/r$r/disc$d/track$f.mp3"; done
  done
done
mkdir -p "$work/lists"
{
  printf '#EXTM3U\r\n'
  for d in 1 2 3; do for f in $(seq -w 1 20); do printf '%s\r\n' "$(winpath "$work/lib/r1/disc$d/track$f.mp3")"; done; done
} >"$work/lists/mix.m3u"

"$top/tools/wine/run-wine.sh" "$driver" --host "$(winpath "$host")" --plugin "$(winpath "$plugin")" \
  --work "$(winpath "$work")" --kills "$kills" --seed "$seed" ${only:+--only "$only"} | tr -d '\r'
status=${PIPESTATUS[0]}
exit "$status"
