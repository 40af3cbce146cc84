#!/usr/bin/env bash
# Runs a command with an X display for Wine (a private Xvfb when none is set) and a persistent
# wineserver for the project's prefix, and stops both afterwards.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${CV_WINEPREFIX:-$(cd "$here/../.." && pwd)/build/wineprefix}
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export CV_WINEPREFIX=$WINEPREFIX

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix in $WINEPREFIX (first run only)"
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi
wineserver -p >/dev/null 2>&1
# Start the prefix's helper processes now, detached from any test's output.
wine cmd /c exit >/dev/null 2>&1 </dev/null

# On a window manager's display Wine hands top-level windows to it and, on hiding one, waits
# up to two seconds for it to confirm. A private Xvfb has no window manager, so every hidden
# window, message box and frame cost the full two seconds (most of a player's shutdown). Wine
# then manages the windows itself; on a real desktop the window manager keeps them.
x11_key='HKCU\Software\Wine\X11 Driver'
if [ -n "$xvfb_pid" ]; then
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
    wine reg add "$x11_key" /v Managed /d N /f >/dev/null 2>&1 </dev/null
elif grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg delete "$x11_key" /v Managed /f >/dev/null 2>&1 </dev/null
fi

"$@"
status=$?

wineserver -k >/dev/null 2>&1
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $status
