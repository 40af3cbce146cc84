#!/usr/bin/env bash
# `make run`: starts the stand-in player with the plugin over the sample library, with the
# plugin's documents folder in BUILD/run-profile. With a display the player stays open for the
# user; without one it runs under a private Xvfb, takes screenshots into BUILD/screenshots and
# quits.
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
mkdir -p "$profile" "$shots"
# A first run opens the view at a size that shows the tree and a page of the list; the user's
# own size is kept from then on.
if [ ! -f "$profile/Crateview/gen_cv.ini" ]; then
  mkdir -p "$profile/Crateview"
  printf '[Window]\r\nLeft=60\r\nTop=60\r\nRight=960\r\nBottom=620\r\n' >"$profile/Crateview/gen_cv.ini"
fi

host=$build/bin/cvhost.exe
plugin=$build/bin/gen_cv.dll
args=(--plugin "$plugin" --documents "$profile")

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the stand-in player on $DISPLAY (library: $library, profile: $profile)"
  echo "Crateview's window opens with Alt+D or from the player's menu."
  echo "To add music: right-click the empty space below the tree (left pane), choose"
  echo "Insert root > Folder and pick a folder; the sample library is in $library."
  exec "$root/tools/wine/with-display.sh" "$root/tools/wine/run-wine.sh" "$host" "${args[@]}"
fi

script=$build/run-screenshots.txt
cat >"$script" <<SCRIPT
wait-idle 15000
key Alt+D
sleep 500
screenshot $shots/frame-empty.png
add-root $library
wait-idle 30000
select My Library
wait-idle 30000
screenshot $shots/frame-library.png
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
"$root/tools/wine/with-display.sh" "$root/tools/wine/run-wine.sh" "$host" "${args[@]}" --script "$script"
