#!/usr/bin/env bash
# The plugin beside another that subclasses the same host windows and patches the same scroll
# imports after it started, and quits only after it was unloaded, as plugins of a real player
# do: a root added, a folder played, the player closed. The other plugin's hooks must keep
# hearing their windows and the host's own list through our quit and unload, and no window
# procedure or import, the host's or one the other plugin kept, may lead into the unloaded
# plugin; the host must live to print its counts.
set -u
scratch=other-plugin
. "$(dirname "${BASH_SOURCE[0]}")/../ui/view/end-to-end.sh"

sample_library
host_options=(--other-plugin)
run_host other "$docs" <<SCRIPT
$(open_root "$lib\\Björk\\Debut")
focus tree
key enter
wait-idle 5000
playlist
quit
SCRIPT

hooked=$(grep -E '^host: other plugin hooked [0-9]+ windows and [0-9]+ imports$' <<<"$out")
check "the other plugin hooks the main window, the editor and the frame" \
  "$(awk '{ exit !($5 >= 3) }' <<<"$hooked"; echo $?)"
check "and patches the eight scroll imports" "$(grep -q ' and 8 imports$' <<<"$hooked"; echo $?)"
check "the folder plays" "$([ "$(section playlist | grep -c .)" -gt 0 ]; echo $?)"
check "no hook of the other plugin is cut out or goes deaf" \
  "$(! grep -E '^host: the other plugin.s (hook|patch|scroll patches) .*(cut out|hears nothing)' <<<"$out"; echo $?)"
check "nothing leads into the unloaded plugin" \
  "$(! grep -E '^host: .*(leads into|led into) the unloaded plugin' <<<"$out"; echo $?)"
check "the other plugin quits last and reports" \
  "$(grep -qE '^host: other plugin quit after the unload; .* 0 procedures or imports lead into the unloaded plugin$' <<<"$out"; echo $?)"
check "the host lives to print its counts" "$(tail -n 1 <<<"$out" | grep -q '^host: gdi '; echo $?)"

grep -E '^host: ' <<<"$out"
[ "$failed" -gt 0 ] && { echo "--- output:"; cat "$work/other.out"; }
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
