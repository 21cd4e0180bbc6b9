#!/bin/sh
# Keeps one wineserver alive for the whole test run, in the build folder's own Wine prefix.
# Its output goes to /dev/null: a wineserver holding ctest's pipes would make the run hang.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the build folder's prefix}"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
quiet() { "$@" </dev/null >/dev/null 2>&1; }
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    quiet wineserver -p
    # The first start of a new prefix creates it (tens of seconds); do it once, here.
    quiet wineboot -i || true
    # Tests that open windows need no X server: Wine's null display driver. The desktop
    # process reads the setting when it starts, so a new prefix restarts the server once.
    if ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
      quiet wineserver -k || true
      quiet wineserver -w || true
      quiet wineserver -p
      quiet wineboot || true
    fi
    ;;
  stop)
    quiet wineserver -k || true
    ;;
esac
