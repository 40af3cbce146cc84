#!/usr/bin/env bash
# The skinned scrollbars end to end in the stand-in player: real presses on the list's bar (an
# arrow, an arrow held, the track) move the list as a user expects, the bar shows the skin's
# pieces and takes the new skin's as soon as the player changes it, and a screenshot is kept.
set -u
scratch=scrollbars
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"

bash "$top/tools/samplelib/make-sample-library.sh" "$work/lib" >/dev/null
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\nFile types=mp3;flac;\nAuto-refresh=0\n[Window]\nLeft=0\nTop=0\nRight=700\nBottom=500\nVisible=1\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host bars "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select My Library
wait-idle 10000
top-row list
pixels list w-9 h-23
bar-click list down
wait-idle 5000
top-row list
bar-click list down 1000
wait-idle 5000
top-row list
bar-click list track-down
wait-idle 5000
top-row list
bar-click list up
wait-idle 5000
top-row list
screenshot $(winpath "$work/bars-first.png")
skin-change
wait-idle 5000
pixels list w-9 h-23
screenshot $(winpath "$work/bars-second.png")
quit
SCRIPT

tops=$(grep -E '^top-row list ' <<<"$out" | awk '{print $3}' | tr '\n' ' ')
read -r start one held paged back <<<"$tops"
echo "top rows: $tops"
check "the list starts at its first row" "$([ "${start:-x}" = 0 ]; echo $?)"
check "a click on the down arrow scrolls one row" "$([ "${one:-x}" = 1 ]; echo $?)"
check "holding the down arrow keeps scrolling" "$([ "${held:-0}" -gt 3 ]; echo $?)"
check "a click on the track scrolls a page" "$([ "${paged:-0}" -gt $((held + 5)) ]; echo $?)"
check "a click on the up arrow scrolls back one row" "$([ "${back:-x}" = $((paged - 1)) ]; echo $?)"
# The middle of the down arrow: 7 pixels in from the bar's edges, above the 14-pixel bottom bar.
colours=$(sed -n '/^> pixels list w-9 h-23$/{n;p}' <<<"$out" | awk '{print $2}')
first=$(sed -n 1p <<<"$colours") second=$(sed -n 2p <<<"$colours")
echo "down arrow colours: $first then $second"
check "the bar is drawn" "$([ -n "$first" ] && [ "$first" != FFFFFF ]; echo $?)"
check "a skin change repaints the bar from the new skin" "$([ -n "$second" ] && [ "$first" != "$second" ]; echo $?)"
check "screenshots were taken" "$([ -s "$work/bars-first.png" ] && [ -s "$work/bars-second.png" ]; echo $?)"
[ -n "${CV_SCREENSHOT_DIR:-}" ] && cp "$work"/bars-*.png "$CV_SCREENSHOT_DIR"/ 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
