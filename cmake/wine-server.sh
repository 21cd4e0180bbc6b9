#!/bin/sh
# Keeps one wineserver alive for the whole test run, in the build folder's own Wine prefix.
# Its output goes to /dev/null: a wineserver holding ctest's pipes would make the run hang.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the build folder's prefix}"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    # The first start of a new prefix creates it (tens of seconds); do it once, here.
    wineboot -i </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
