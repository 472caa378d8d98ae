#!/usr/bin/env bash
# Takes a screenshot of the desktop program with the example level loaded, on a
# virtual display: docs/screenshot-main.png (or the file given). Its settings
# live in a temporary folder, so the user's own are never touched.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
out="${1:-$root/docs/screenshot-main.png}"

"$root/scripts/deps.sh" xvfb xauth imagemagick xdotool fonts-dejavu-core
"$root/scripts/build.sh" >/dev/null

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1100x720x24 -nolisten tcp >/dev/null 2>&1 &
pids+=("$!")
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

maps="$root/examples/harbor/maps"
mkdir -p "$work/config"
printf '[General]\nSrcPath=%s\nTargPath=%s\nPakPath=\nPellarkPath=\n' "$maps" "/home/author/games/harbor" >"$work/config/Corvane.conf"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$build/src/ui/corvane" >/dev/null 2>&1 &
pids+=("$!")

window=""
for _ in $(seq 100); do
  window="$(xdotool search --name "Pellark's Corvane" 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "corvane: the window did not appear" >&2; exit 1; }
# With no window manager, the window stands where it asked to be: move it home.
xdotool windowmove "$window" 0 0 windowsize "$window" 1100 720
xdotool windowfocus --sync "$window"

# File > Open, the example level, Enter.
xdotool key ctrl+o
sleep 0.5
xdotool type --delay 10 "$maps/harbor.map"
xdotool key Return
sleep 0.8
# A click on the status bar closes the file name completer's popup.
xdotool mousemove --window "$window" 600 712 click 1
sleep 0.3

mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "$out"
