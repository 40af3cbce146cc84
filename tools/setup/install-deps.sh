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
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
