#!/usr/bin/env bash
# The skinned view end to end in the stand-in player, checked on the screen's own pixels: the
# Clear button's nine pieces (normal, and pressed while the mouse holds it down), its focus dots
# and the shift of its pressed caption, the border lines along the search box, the tree and the
# list, the dialog's and the search box's colours, the list's and the tree's scrollbars; then a
# skin change and the same checks against the second skin bitmap, without a restart. Expected
# colours are read from the skin bitmaps themselves. Last, the contrast of every text of the
# view in each of its states, in the stand-in's skins and in real ones. With CV_SHOT_DIR set,
# screenshots of the view in both skins and in three real ones are copied there (docs/ holds
# them), packed.
#
# The checks come in sections, each a pair of functions: NAME_probes prints the script lines
# that look at one skin (run once in each skin, they must leave the mouse button up and the
# focus in the search box), and NAME_checks RUN FILE SKIN checks what those lines printed in the
# RUN-th skin against the skin bitmap FILE. A new section (the scrollbars, say) defines its pair
# and adds its name to `sections`; a pixels line used once per skin is read back with
# `nth RUN "pixels ..."`, or with one_pixel, pixel_at and bounds_of.
set -u
scratch=skin
. "$(dirname "${BASH_SOURCE[0]}")/end-to-end.sh"
shots=$(winpath "$work")
skin_dir="$top/tools/host/res"

# --- reading the skin bitmaps (120x60, 24-bit, rows bottom-up, 360 bytes a row) ----------------
skin_pixel() {  # file x y -> RRGGBB
  od -An -tx1 -j $((54 + (59 - $3) * 360 + $2 * 3)) -N3 "$1" | awk '{print toupper($3 $2 $1)}'
}
skin_entry() { skin_pixel "$1" $((48 + 2 * $2)) 0; }  # file index -> the colour strip's entry

# --- reading the captures ----------------------------------------------------------------------
# The output of the n-th run of a "pixels" line (rows "Y: RRGGBB ..."); a capture starts at
# column 0 unless its line says otherwise, which pixel_at does not handle.
capture_of() { nth "$1" "pixels $2"; }
pixel_at() {  # capture x y -> RRGGBB
  awk -v x="$2" -v y="$3" '$1 == y ":" {print $(x + 2)}' <<<"$1"
}
capture_width() { head -1 <<<"$1" | awk '{print NF - 1}'; }
capture_height() { grep -c ':' <<<"$1"; }
# The smallest box "left top right bottom" (right and bottom exclusive) of the pixels of a colour.
bounds_of() {  # capture colour
  awk -v c="$2" '{y = $1 + 0; for (i = 2; i <= NF; i++) if ($i == c) {x = i - 2;
      if (n++ == 0 || x < l) l = x; if (n == 1 || y < t) t = y; if (x + 1 > r) r = x + 1; if (y + 1 > b) b = y + 1}}
    END {if (n) print l, t, r, b}' <<<"$1"
}
one_pixel() { capture_of "$1" "$2" | awk '{print $2}'; }  # run, pixels arguments -> its colour
expect_one() {  # what, run, pixels arguments (one pixel), colour
  local seen
  seen=$(one_pixel "$2" "$3")
  [ "$seen" = "$4" ] || echo "  $1: pixels $3 shows ${seen:-nothing}, expected $4"
  check "$1" "$([ "$seen" = "$4" ]; echo $?)"
}
expect_pixel() {  # what, capture, x, y, colour
  local seen
  seen=$(pixel_at "$2" "$3" "$4")
  [ "$seen" = "$5" ] || echo "  $1: at $3,$4 the screen shows ${seen:-nothing}, expected $5"
  check "$1" "$([ "$seen" = "$5" ]; echo $?)"
}

# --- the library and the player ----------------------------------------------------------------
mkdir -p "$work/lib"
for name in "Morning River.mp3" "Night Train.mp3" "Low Tide.mp3"; do printf 'x' >"$work/lib/$name"; done
# Enough rows and folders that the list and the tree both need their bars.
for n in $(seq -w 1 150); do printf 'x' >"$work/lib/Track $n.mp3"; done
for n in $(seq -w 1 30); do mkdir -p "$work/lib/Folder $n" && printf 'x' >"$work/lib/Folder $n/a.mp3"; done
lib=$(winpath "$work/lib")
docs="$work/docs"
mkdir -p "$docs/Crateview"
printf '[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nRight=760\r\nBottom=420\r\nVisible=1\r\n' \
  >"$docs/Crateview/gen_cv.ini"

# --- the Clear button: its nine pieces, normal and held down, its focus dots and its caption --
button="clear 0 0 50 18"
button_probes() {
  cat <<PROBES
focus search
pixels $button
focus clear
pixels $button
mouse-down clear
pixels $button
mouse-up clear
focus search
PROBES
}

# The nine pieces: where each is sampled on the button (clear of the caption and the focus
# dots) and where it comes from in the normal rows of the skin bitmap.
#           name          button x,y   bitmap x,y
pieces=("top-left      1 1          1 1"
        "top           8 1          20 1"
        "top-right     -2 1         45 1"
        "left          1 8          1 7"
        "centre        6 8          20 7"
        "right         -2 8         45 7"
        "bottom-left   1 -2         1 13"
        "bottom        8 -2         20 13"
        "bottom-right  -2 -2        45 13")

check_pieces() {  # skin file, capture, pressed (0/1), state name
  local file=$1 capture=$2 rows=$(( $3 * 15 )) w h name x y sx sy
  w=$(capture_width "$capture") h=$(capture_height "$capture")
  for piece in "${pieces[@]}"; do
    read -r name x y sx sy <<<"$piece"
    [ "$x" -lt 0 ] && x=$((w + x))
    [ "$y" -lt 0 ] && y=$((h + y))
    expect_pixel "$4: the button's $name piece" "$capture" "$x" "$y" "$(skin_pixel "$file" "$sx" $((sy + rows)))"
  done
}

button_checks() {  # run (1 first skin, 2 second), skin file, name
  local n=$1 file=$2 skin=$3 plain focused pressed w h normal_box pressed_box text l t r b shifted
  plain=$(capture_of $((3 * n - 2)) "$button")
  focused=$(capture_of $((3 * n - 1)) "$button")
  pressed=$(capture_of $((3 * n)) "$button")
  check "$skin: the button is captured" "$([ "$(capture_width "$plain")" = 50 ] && [ "$(capture_height "$plain")" = 18 ]; echo $?)"
  check_pieces "$file" "$plain" 0 "$skin, normal"
  check_pieces "$file" "$pressed" 1 "$skin, held down"

  # The dotted frame runs two pixels inside the edge; the bottom row (15) starts one further in.
  w=$(capture_width "$focused") h=$(capture_height "$focused")
  for dot in "2 2" "4 2" "2 4" "$((w - 3)) 2" "$((w - 3)) 4" "3 $((h - 3))"; do
    expect_pixel "$skin: a focus dot" "$focused" ${dot% *} ${dot#* } 000000
  done
  expect_pixel "$skin: between the dots the piece shows" "$focused" 5 2 "$(skin_pixel "$file" 20 1)"
  expect_pixel "$skin: between the dots the piece shows" "$focused" 2 5 "$(skin_pixel "$file" 1 7)"
  expect_pixel "$skin: no dot without the focus" "$plain" 2 2 "$(skin_pixel "$file" 1 1)"
  expect_pixel "$skin: no dot without the focus" "$plain" 4 2 "$(skin_pixel "$file" 20 1)"

  text=$(skin_entry "$file" 3)
  normal_box=$(bounds_of "$plain" "$text")
  pressed_box=$(bounds_of "$pressed" "$text")
  read -r l t r b <<<"$normal_box"
  shifted="$((l + 2)) $((t + 2)) $((r + 2)) $((b + 2))"
  check "$skin: the caption is drawn in the skin's button text colour" "$([ -n "$normal_box" ]; echo $?)"
  [ -n "$normal_box" ] && [ "$pressed_box" != "$shifted" ] && echo "  caption at $normal_box, held down at $pressed_box"
  check "$skin: held down, the caption sits 2 pixels lower and further right" \
    "$([ -n "$normal_box" ] && [ "$pressed_box" = "$shifted" ]; echo $?)"
}

# --- the lines along the panes, and the colours of the dialog and the search box ---------------
borders_probes() {
  cat <<PROBES
pixels search 10 h
pixels search w 5
pixels tree w 20
pixels list 10 h
pixels tree w+2 20
pixels search w-5 h-5
PROBES
}

borders_checks() {  # run, skin file, name
  local n=$1 file=$2 skin=$3 line
  line=$(skin_entry "$file" 5)
  expect_one "$skin: the line below the search box" "$n" "search 10 h" "$line"
  expect_one "$skin: the line right of the search box" "$n" "search w 5" "$line"
  expect_one "$skin: the line right of the tree" "$n" "tree w 20" "$line"
  expect_one "$skin: the line below the list" "$n" "list 10 h" "$line"
  expect_one "$skin: the dialog's free area has the dialog colour" "$n" "tree w+2 20" "$(skin_entry "$file" 2)"
  expect_one "$skin: the search box has the field colour" "$n" "search w-5 h-5" "$(skin_entry "$file" 0)"
}

# --- the scrollbars: arrows, the five thumb slices, the track and the size box ------------------
# The list's vertical bar from the top (up arrow, then the thumb at the top of its track), its
# lower end (track, down arrow, size box), the start of its horizontal bar, and the tree's ends.
bars_probes() {
  cat <<PROBES
pixels list w-14 0 14 120
pixels list w-14 h-42 14 42
pixels list 0 h-14 30 14
pixels tree w-14 0 14 14
pixels tree w-14 h-14 14 14
PROBES
}

# A capture's rows are labelled with the window's own y; these checks count from its first row.
from_top() { awk '{$1 = NR - 1 ":"; print}' <<<"$1"; }

half_sum() {  # two RRGGBB colours -> each channel halved and summed
  printf '%02X%02X%02X' $(( (0x${1:0:2} >> 1) + (0x${2:0:2} >> 1) )) $(( (0x${1:2:2} >> 1) + (0x${2:2:2} >> 1) )) \
    $(( (0x${1:4:2} >> 1) + (0x${2:4:2} >> 1) ))
}

bars_checks() {  # run, skin file, name
  local n=$1 file=$2 skin=$3 top bottom horizontal slice box t b h mid
  top=$(from_top "$(capture_of "$n" "list w-14 0 14 120")")
  bottom=$(from_top "$(capture_of "$n" "list w-14 h-42 14 42")")
  horizontal=$(from_top "$(capture_of "$n" "list 0 h-14 30 14")")
  expect_pixel "$skin: the list's up arrow" "$top" 1 1 "$(skin_pixel "$file" 1 32)"
  expect_pixel "$skin: the list's down arrow" "$bottom" 1 15 "$(skin_pixel "$file" 15 32)"
  expect_pixel "$skin: the track, the mean of its two colours" "$bottom" 1 1 \
    "$(half_sum "$(skin_entry "$file" 13)" "$(skin_entry "$file" 14)")"
  expect_pixel "$skin: the size box" "$bottom" 7 35 "$(skin_entry "$file" 17)"
  expect_pixel "$skin: the horizontal bar's left arrow" "$horizontal" 1 1 "$(skin_pixel "$file" 1 46)"
  expect_pixel "$skin: the horizontal thumb's first slice" "$horizontal" 15 1 "$(skin_pixel "$file" 85 32)"
  expect_pixel "$skin: the horizontal thumb's second slice" "$horizontal" 19 1 "$(skin_pixel "$file" 89 32)"
  # The thumb sits right below the up arrow; its height h places the slices.
  t=$(bounds_of "$top" "$(skin_pixel "$file" 57 32)" | awk '{print $2}')
  b=$(bounds_of "$top" "$(skin_pixel "$file" 57 56)" | awk '{print $4}')
  check "$skin: the thumb starts below the up arrow" "$([ "${t:-x}" = 14 ]; echo $?)"
  if [ -n "$t" ] && [ -n "$b" ]; then
    h=$((b - t)) mid=$(( (b - t - 9) / 2 ))
    for slice in "1 32 $t $((t + 4))" "2 36 $((t + 4)) $((t + mid))" "3 41 $((t + mid)) $((t + mid + 10))" \
                 "4 51 $((t + mid + 10)) $((b - 4))" "5 56 $((b - 4)) $b"; do
      read -r number sy from to <<<"$slice"
      box=$(bounds_of "$top" "$(skin_pixel "$file" 57 "$sy")")
      [ "$box" = "0 $from 14 $to" ] || echo "  $skin: thumb slice $number of a $h-pixel thumb at ${box:-nowhere}, expected 0 $from 14 $to"
      check "$skin: thumb slice $number where the thumb's height puts it" "$([ "$box" = "0 $from 14 $to" ]; echo $?)"
    done
  else
    check "$skin: the thumb's first and last slices are drawn" 1
  fi
  expect_pixel "$skin: the tree's up arrow" "$(capture_of "$n" "tree w-14 0 14 14")" 1 1 "$(skin_pixel "$file" 1 32)"
  expect_pixel "$skin: the tree's down arrow" "$(from_top "$(capture_of "$n" "tree w-14 h-14 14 14")")" 1 1 \
    "$(skin_pixel "$file" 15 32)"
}

# --- readable texts: every text of the view, in each state, with every skin --------------------
# The stand-in's own two skins and the real skins kept beside the repository (copied here at run
# time, never into it). Before them: a search, a row played, two rows selected and the focus
# left on the row below them (selected and unselected again with Ctrl); in each skin every text
# is measured with the focus in the tree and in the list.
shared=${CV_SHARED_DIR:-$top/../shared}
[ -d "$shared/skins" ] || shared=/work/shared
mkdir -p "$work/skins"
cp "$skin_dir/skin-default.bmp" "$skin_dir/skin-dark.bmp" "$work/skins/"
real_skins=()
for file in "$shared"/skins/*.bmp; do
  [ -f "$file" ] && cp "$file" "$work/skins/" && real_skins+=("$(basename "$file")")
done
contrast_skins=(skin-default.bmp skin-dark.bmp "${real_skins[@]}")
# What each measure shows and the focus it is taken with.
tree_focused=(tree-selection tree-drop)
list_focused=(tree-selection list-normal list-selection list-focus list-playing header status label search)
# The pressed button is measured on its own: while it is measured the button stays pushed in.
tree_refocused=(list-selection clear)

contrast_probes() {  # skin file name
  echo "skin $(winpath "$work/skins/$1")"
  echo "focus tree"
  echo "contrast ${tree_focused[*]}"
  echo "focus list"
  echo "contrast ${list_focused[*]}"
  [ -n "${CV_SHOT_DIR:-}" ] && echo "screenshot $shots\\view-skin-${1%.bmp}.png"
  echo "focus tree"
  echo "contrast ${tree_refocused[*]}"
  echo "contrast clear-pressed"
}

# Each text against the skin's own rows: at least 3:1, or as much as the skin gives its rows.
contrast_checks() {  # skin file name
  local skin=$1 lines normal needed name focus ratio i=0
  lines=$(awk -v run="$2" '/^> skin .*skins/ {k++} k == run && /^contrast [a-z-]*:/' <<<"$out")
  normal=$(awk '/^contrast list-normal:/ {print $NF; exit}' <<<"$lines")
  needed=$(awk -v n="${normal:-0}" 'BEGIN {print (n < 3 ? n : 3)}')
  check "$skin: the normal rows are measured" "$([ -n "$normal" ]; echo $?)"
  while read -r _ name _ _ _ _ _ ratio; do
    name=${name%:}
    i=$((i + 1))
    if [ "$i" -le "${#tree_focused[@]}" ]; then focus="tree focused"
    elif [ "$i" -le $(( ${#tree_focused[@]} + ${#list_focused[@]} )) ]; then focus="list focused"
    else focus="tree focused again"; fi
    if [ -z "$ratio" ] || ! awk -v r="$ratio" -v n="$needed" 'BEGIN {exit !(r + 0.005 >= n)}'; then
      echo "  $skin, $focus: $(sed -n "${i}p" <<<"$lines") (needs $needed)"
      check "$skin: $name is readable ($focus)" 1
    else
      check "$skin: $name is readable ($focus)" 0
    fi
  done <<<"$lines"
  check "$skin: every text was measured" \
    "$([ "$i" = $(( ${#tree_focused[@]} + ${#list_focused[@]} + ${#tree_refocused[@]} + 1 )) ]; echo $?)"
}

# --- both skins, one after the other in one run of the player ------------------------------------
sections=(button borders bars)
probe_script() {  # screenshot name
  for section in "${sections[@]}"; do "${section}_probes"; done
  echo "screenshot $shots\\$1.png"
}

# The first skin is worn from a file given at start, as `make run` does (the dark one), and the
# second is the player's own default, switched to by name.
host_options=(--skin "$(winpath "$work/skins/skin-dark.bmp")")
run_host first "$docs" <<SCRIPT
wait-idle 10000
add-root $lib
answer no
wait-idle 60000
select $lib\\Folder 15
wait-idle 10000
select $lib
wait-idle 10000
$(probe_script skin-dark)
skin default
wait-idle 10000
$(probe_script skin-default)
search Track
wait-idle 10000
select-rows 5
key Enter
wait-playing 10000
select-rows 1-2,3,3
$(for skin in "${contrast_skins[@]}"; do contrast_probes "$skin"; done)
quit
SCRIPT

check_skin() {  # run, skin file, name
  for section in "${sections[@]}"; do "${section}_checks" "$@"; done
}
check_skin 1 "$skin_dir/skin-dark.bmp" "dark skin from --skin"
check_skin 2 "$skin_dir/skin-default.bmp" "after skin default, default skin"
check "the real skins are at hand" "$([ "${#real_skins[@]}" -gt 0 ]; echo $?)"
run=0
for skin in "${contrast_skins[@]}"; do
  run=$((run + 1))
  contrast_checks "$skin" "$run"
done

keep_shot() {  # name in $work, name in CV_SHOT_DIR
  [ -n "${CV_SHOT_DIR:-}" ] && [ -s "$work/$1.png" ] || return 0
  # The player writes plain pixels; packed they are a few kilobytes instead of most of a megabyte.
  if command -v convert >/dev/null; then
    convert "$work/$1.png" -strip -define png:compression-level=9 "$work/packed.png" && mv "$work/packed.png" "$work/$1.png"
  fi
  cp "$work/$1.png" "$CV_SHOT_DIR/$2.png"
}
for shot in skin-default skin-dark; do
  check "screenshot of the view in $shot" "$([ -s "$work/$shot.png" ]; echo $?)"
  keep_shot "$shot" "view-$shot"
done
# Three real skins for the README, with rows selected in both panes and the list focused.
for skin in base-2.91 AmigaPPC-dark Green-Dimension-V2; do keep_shot "view-skin-$skin" "view-skin-$skin"; done

echo "skin end to end: $passed passed, $failed failed"
[ "$failed" = 0 ]
