#!/bin/sh
# screenshot.sh PROGRAM OUT.png [ARGS...]: runs a Windows program under Wine on a private X
# server (Xvfb), waits until its window is drawn, saves a picture of it and stops everything
# it started: the program, the Wine processes of its prefix, wineserver and Xvfb.
#
# The program runs inside a Wine virtual desktop, so that Wine draws the window's title bar
# and border itself (there is no window manager); the picture is the desktop cropped to the
# window. Environment:
#   KALORA_SCREENSHOT_PREFIX  Wine prefix to use (default: ~/.cache/kalora/wine-screenshot;
#                             a new one costs about 20 s on its first start)
#   KALORA_SCREENSHOT_WAIT    seconds to wait for the window (default 60)
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 PROGRAM OUT.png [ARGS...]" >&2
  exit 2
fi
program=$1
out=$2
shift 2
[ -f "$program" ] || { echo "$0: cannot read program $program" >&2; exit 2; }
for tool in Xvfb wine wineserver import convert; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (tools/setup.sh)" >&2; exit 2; }
done

export WINEPREFIX="${KALORA_SCREENSHOT_PREFIX:-$HOME/.cache/kalora/wine-screenshot}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wait_seconds=${KALORA_SCREENSHOT_WAIT:-60}
desktop_size=1024x768
work=$(mktemp -d)
xvfb_pid=""
started_server=no

quiet() { "$@" </dev/null >/dev/null 2>&1; }

cleanup() {
  # Only what this script started: the prefix's own wineserver (which ends every Wine
  # process of the prefix) and our Xvfb.
  if [ $started_server = yes ]; then
    quiet wineserver -k || true
    quiet timeout 20 wineserver -w || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# A free display: no lock file and no socket.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 "${desktop_size}x24" -nolisten tcp </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=0
until [ -e "/tmp/.X11-unix/X$display" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "$0: Xvfb did not start on :$display" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
export DISPLAY=":$display"

# A wineserver of our own for the prefix; one already running there belongs to someone else.
mkdir -p "$WINEPREFIX"
if quiet wineserver -k0; then
  echo "$0: a wineserver is already running in $WINEPREFIX; use another KALORA_SCREENSHOT_PREFIX" >&2
  exit 1
fi
quiet wineserver -p
started_server=yes
quiet wineboot -i || true

wine explorer "/desktop=kalora-screenshot,$desktop_size" "$program" "$@" \
  </dev/null >"$work/program.log" 2>&1 &

# The window is there when the desktop, cropped to what is not background, stops changing.
background_geometry() {
  convert "$1" -trim -format '%wx%h%O' info: 2>/dev/null || echo none
}
previous=""
elapsed=0
geometry=none
while [ "$elapsed" -lt $((wait_seconds * 2)) ]; do
  sleep 0.5
  elapsed=$((elapsed + 1))
  quiet import -display "$DISPLAY" -window root "$work/desktop.png" || continue
  geometry=$(background_geometry "$work/desktop.png")
  case $geometry in
    "${desktop_size}"*|none|1x1*) previous=""; continue ;;
  esac
  if [ "$geometry" = "$previous" ]; then
    break
  fi
  previous=$geometry
done
if [ "$geometry" = none ] || [ "$geometry" != "$previous" ]; then
  echo "$0: no window of $program appeared within ${wait_seconds}s" >&2
  cat "$work/program.log" >&2
  exit 1
fi

sleep 1  # let the last controls finish drawing
import -display "$DISPLAY" -window root "$work/desktop.png"
mkdir -p "$(dirname "$out")"
convert "$work/desktop.png" -trim +repage "$out"
echo "$out: $(convert "$out" -format '%wx%h' info:) window of $program"
