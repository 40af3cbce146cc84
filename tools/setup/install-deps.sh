#!/usr/bin/env bash
# Installs what the build and the Wine test bed need on a Debian 12 machine, skipping what is there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

want=(cmake make g++ gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      wine wine32:i386 xvfb xauth googletest libunac1-dev nodejs npm sqlite3 x11-apps imagemagick
      lame flac python3 nsis)
for p in "${want[@]}"; do
  # node and npm may come from outside Debian's packages; accept whatever is on PATH.
  case "$p" in
    nodejs) command -v node >/dev/null && continue ;;
    npm) command -v npm >/dev/null && continue ;;
  esac
  have "$p" || need+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need+=(wine32:i386)
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror part way through a sync fails one index now and then; try again, and if one
  # list stays stale, go on: the install below says plainly if a package is really missing.
  for attempt in 1 2 3; do
    apt-get update -qq && break
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    sleep $((attempt * 10))
  done
  # With the security list stale, its newer 64-bit libraries would no longer match the 32-bit
  # ones Wine needs; the release's own versions always match each other.
  apt-get install -y -qq --no-install-recommends "${need[@]}" ||
    apt-get install -y -qq --no-install-recommends -t bookworm "${need[@]}"
fi
