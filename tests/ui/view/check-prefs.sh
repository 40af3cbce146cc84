#!/usr/bin/env bash
# The preference pages end to end in the stand-in player: Ctrl+P opens the plugin's page,
# each tab shows its controls with the stored values, a change shows in the view at once
# (Strip accents finds an accented name, the shade slider repaints the rows) but reaches
# gen_cv.ini only at shutdown, and the file types are written on Apply. With CV_SHOT_DIR set,
# the screenshots of the four pages are copied there (docs/ holds them), packed.
set -u
scratch=prefs
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
shots=$(winpath "$work")

mkdir -p "$work/lib"
printf 'x' >"$work/lib/Björk.mp3"
printf 'x' >"$work/lib/other.mp3"
printf 'x' >"$work/lib/song.flac"
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\nStrip accents=0\r\n[List]\r\nStripe shade=20\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

run_host first "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib
wait-idle 10000
search bjork
sleep 1500
wait-idle 10000
list
key Ctrl+P
dialog
screenshot $shots\\prefs-general.png prefs
dialog-set 1018 1
dialog
dialog-click 1064
wait-idle 10000
screenshot $shots\\prefs-display.png prefs
search bjork
sleep 1500
wait-idle 10000
list
settings
dialog-set 1018 2
pixels list 3 18 1 16
dialog-set 1043 150
pixels list 3 18 1 16
dialog
screenshot $shots\\prefs-appearance.png prefs
dialog-set 1018 3
dialog
screenshot $shots\\prefs-about.png prefs
dialog-set 1018 0
dialog-set 1007 flac
dialog-click 1028
wait-idle 10000
settings
search
sleep 1500
wait-idle 10000
list
dialog-set 1018 1
dialog-set 1022 English <default>
answer yes
wait-idle 10000
quit
SCRIPT

general=$(nth 1 dialog)
check "Ctrl+P opens the page on the General tab" "$(grep -qP '^1018\t.*tab=0' <<<"$general"; echo $?)"
check "the file types come from the player, with the saved one selected and Apply disabled" \
  "$(grep -qP '^1007\tListBox\t\titems=(.*\|)?mp3\|.*m3u\|m3u8,selected=\d+$' <<<"$general" &&
     grep -qP '^1028\tButton\tApply\tdisabled' <<<"$general"; echo $?)"
check "the tree's double-click list ends with None" "$(grep -qP '^1024\tComboBox\t.*\|None,' <<<"$general"; echo $?)"
display=$(nth 2 dialog)
check "Display && Search shows Strip accents unchecked, as stored" \
  "$(grep -qP '^1064\tButton\tStrip accents from search queries\*\t$' <<<"$display"; echo $?)"
check "the language list starts with English <default>" "$(grep -qP '^1022\tComboBox\t.*items=English <default>' <<<"$display"; echo $?)"
check "before Strip accents the search finds nothing" "$(! nth 1 list | grep -q 'Bj'; echo $?)"
check "Strip accents changes what the search finds at once" "$(nth 2 list | grep -q 'Björk.mp3'; echo $?)"
check "the change is not written before shutdown" "$(nth 1 settings | grep -q '^Strip accents=0'; echo $?)"
appearance=$(nth 3 dialog)
check "the stripe slider moved to 150 shows 150%" \
  "$(grep -qP '^1043\t.*position=150' <<<"$appearance" && grep -qP '^1057\tStatic\t150%' <<<"$appearance"; echo $?)"
check "the shade slider repaints the list's rows at once" \
  "$(shaded=$(nth 1 "pixels list 3 18 1 16"); [ -n "$shaded" ] && [ "$shaded" != "$(nth 2 "pixels list 3 18 1 16")" ]; echo $?)"
about=$(nth 4 dialog)
check "About names SQLite's version" "$(grep -qP '^1065\tStatic\tPowered by SQLite v3\.' <<<"$about"; echo $?)"
check "Apply writes the file types at once" "$(nth 2 settings | grep -q '^File types=flac;'; echo $?)"
check "the view lists only the applied type" \
  "$(nth 3 list | grep -q 'song.flac' && ! nth 3 list | grep -q 'other.mp3'; echo $?)"
check "choosing a language offers a restart, and Yes asks the player for one" \
  "$(grep -q 'host: restart requested' <<<"$out"; echo $?)"
final=$(cat "$docs/Crateview/gen_cv.ini")
check "shutdown writes the changed options" \
  "$(grep -q '^Strip accents=1' <<<"$final" && grep -q '^Stripe shade=150' <<<"$final"; echo $?)"
for page in general display appearance about; do
  shot="$work/prefs-$page.png"
  check "screenshot of the $page page" "$([ -s "$shot" ]; echo $?)"
  [ -n "${CV_SHOT_DIR:-}" ] || continue
  # The player writes plain pixels; packed they are a few kilobytes instead of most of a megabyte.
  if command -v convert >/dev/null && [ -s "$shot" ]; then
    convert "$shot" -strip -define png:compression-level=9 "$work/packed.png" && mv "$work/packed.png" "$shot"
  fi
  cp "$shot" "$CV_SHOT_DIR/prefs-$page.png"
done

echo "prefs end to end: $passed passed, $failed failed"
[ "$failed" = 0 ]
