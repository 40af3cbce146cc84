#!/usr/bin/env bash
# `make run`: starts the stand-in player with the plugin over the sample library, wearing the
# stand-in's version of the player's default look. With a display the player stays open for the
# user, with the plugin's documents folder in BUILD/run-profile; without one it runs under a
# private Xvfb over a fresh profile each time (so that every run starts as a newcomer's first
# does), takes screenshots into BUILD/screenshots and quits.
set -u
build=${1:-build}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$root" && mkdir -p "$build" && cd "$build" && pwd)
library=$build/samplelib
profile=$build/run-profile
shots=$build/screenshots
export CV_WINEPREFIX=${CV_WINEPREFIX:-$build/wineprefix}

maker=$root/tools/samplelib/make-sample-library.sh
if [ -x "$maker" ] || [ -f "$maker" ]; then
  bash "$maker" "$library" || { echo "run: the sample library could not be made"; exit 1; }
else
  echo "run: tools/samplelib/make-sample-library.sh is missing; starting without a sample library"
  mkdir -p "$library"
fi
# A first run opens the view at a size that shows the tree and a page of the list; the user's
# own size is kept from then on.
first_profile() {  # folder
  if [ ! -f "$1/Crateview/gen_cv.ini" ]; then
    mkdir -p "$1/Crateview"
    printf '[Window]\r\nLeft=60\r\nTop=60\r\nRight=960\r\nBottom=620\r\n' >"$1/Crateview/gen_cv.ini"
  fi
}

host=$build/bin/cvhost.exe
plugin=$build/bin/gen_cv.dll
args=(--plugin "$plugin" --skin "$root/tools/host/res/skin-player.bmp")

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the stand-in player on $DISPLAY (library: $library, profile: $profile)"
  echo "Crateview's window opens with Alt+D or from the player's menu."
  echo "To add music: right-click the empty space below the tree (left pane), choose"
  echo "Insert root > Folder and pick a folder; the sample library is in $library."
  first_profile "$profile"
  exec "$root/tools/wine/with-display.sh" "$root/tools/wine/run-wine.sh" "$host" "${args[@]}" --documents "$profile"
fi

# The screenshots show what a newcomer sees: a profile that remembers no root yet.
profile=$build/run-screenshots-profile
rm -rf "$profile"
first_profile "$profile"
mkdir -p "$shots"

script=$build/run-screenshots.txt
cat >"$script" <<SCRIPT
wait-idle 15000
key Alt+D
sleep 500
screenshot $shots/frame-empty.png
add-root $library
answer no
wait-idle 30000
select My Library
wait-idle 30000
screenshot $shots/frame-library.png
select $library/Sigur Rós/Takk
wait-idle 30000
select-rows 1
screenshot $shots/frame-folder.png
tree
status
skin-change
sleep 500
screenshot $shots/frame-dark-skin.png
menu host
screenshot $shots/player.png main
settings
quit
SCRIPT
echo "No display: running under Xvfb; screenshots go to $shots"
"$root/tools/wine/with-display.sh" "$root/tools/wine/run-wine.sh" "$host" "${args[@]}" --documents "$profile" \
  --script "$script"
