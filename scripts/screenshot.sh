#!/usr/bin/env bash
# Takes screenshots of the desktop program on a virtual display: the main
# window with the example level loaded (docs/screenshot-main.png, or the first
# file given), its textures as pictures coloured by a generated base game's
# palette (docs/screenshot-pictures.png, or the fourth file given), the
# transfer log after the level has been transferred with its sky and a small
# Pellark tree (docs/screenshot-log.png, or the second file given), and the
# review of a second transfer into the same target after a texture was
# edited, another edited in the target and a third lost from the working tree
# (docs/screenshot-review.png, or the third file given). Its settings live in
# a temporary folder, so the user's own are never touched; the working tree is
# a copy of examples/harbor and the target is
# ${TMPDIR:-/tmp}/corvane-demo/games/harbor, both made afresh and removed
# again. CORVANE_NO_BUILD=1 uses the program already built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
out="${1:-$root/docs/screenshot-main.png}"
log_out="${2:-$root/docs/screenshot-log.png}"
review_out="${3:-$root/docs/screenshot-review.png}"
pictures_out="${4:-$root/docs/screenshot-pictures.png}"

"$root/scripts/deps.sh" xvfb xauth imagemagick xdotool fonts-dejavu-core python3
if [ "${CORVANE_NO_BUILD:-}" != 1 ] || [ ! -x "$build/src/ui/corvane" ]; then
  "$root/scripts/build.sh" >/dev/null
fi

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
  [ -z "${demo:-}" ] || rm -rf "$demo"
}
trap cleanup EXIT

# A free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1100x720x24 -nolisten tcp >/dev/null 2>&1 &
pids+=("$!")
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

demo="${TMPDIR:-/tmp}/corvane-demo"
rm -rf "$demo"
mkdir -p "$demo/games" "$demo/pellark/models" "$demo/pellark/help" "$work/config"
cp -r "$root/examples/harbor" "$demo/harbor"
maps="$demo/harbor/maps"
printf 'exec config.cfg\n' >"$demo/pellark/autoexec.cfg"
printf 'bind x quit\n' >"$demo/pellark/config.cfg"
printf 'IDP2' >"$demo/pellark/models/crate.md2"
printf 'help\n' >"$demo/pellark/help/readme.txt"
# A base game whose pak0.pak holds a palette of sixteen colour ramps, as the
# game's own does (the example's textures use its rows), and the game's own
# textures and sound that the example level names, so they are left out.
python3 - "$work/stage/pics/colormap.pcx" <<'PY'
import colorsys, os, sys
palette = bytearray()
for row in range(16):
    for i in range(16):
        rgb = colorsys.hsv_to_rgb((row / 16 + 0.06) % 1, 0 if row == 0 else 0.55, 0.12 + 0.85 * i / 15)
        palette += bytes(int(c * 255) for c in rgb)
header = bytearray(128)
header[0:4] = b"\x0a\x05\x01\x08"
header[65], header[66], header[68] = 1, 2, 1
os.makedirs(os.path.dirname(sys.argv[1]), exist_ok=True)
open(sys.argv[1], "wb").write(bytes(header) + b"\x00\x00\x0c" + bytes(palette))
PY
for own in textures/e1u1/metal2_1.wal textures/e1u1/sky1.wal textures/e2u3/floor1_1.wal sound/world/amb10.wav; do
  mkdir -p "$work/stage/$(dirname "$own")" && printf 'the game'"'"'s own' >"$work/stage/$own"
done
mkdir -p "$demo/baseq2"
"$build/src/corvane-cli" pack "$work/stage" --format pak -o "$demo/baseq2/pak0.pak" >/dev/null
printf '[General]\nSrcPath=%s\nTargPath=%s\nPakPath=\nPellarkPath=%s\nBaseGamePath=%s\n' \
  "$maps" "$demo/games/harbor" "$demo/pellark" "$demo/baseq2" >"$work/config/Corvane.conf"
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

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
# File > Open, the example level, Enter.
open_level() {
  xdotool key ctrl+o
  sleep 0.5
  xdotool type --delay 10 "$maps/harbor.map"
  xdotool key Return
  sleep 0.8
  # A click on the status bar closes the file name completer's popup.
  click 600 712
}
# "Use this", "Include Pellark tree", "Include sky".
use_target() {
  click 256 117
  click 28 225
  click 28 271
}
open_level

mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "$out"

# The textures as pictures, one selected and shown larger; then the names again.
click 1069 79
click 860 230
xdotool mousemove --window "$window" 960 130
sleep 1.5
import -window root -crop 1100x720+0+0 "$pictures_out"
echo "$pictures_out"
click 1069 79

# Then "Transfer"; the log opens.
use_target
xdotool key alt+t
sleep 1.5
info="$(xdotool search --name "^Information$" 2>/dev/null | head -1 || true)"
[ -n "$info" ] || { echo "corvane: the transfer log did not appear" >&2; exit 1; }
import -window root -crop 1100x720+0+0 "$log_out"
echo "$log_out"

# Continue; then a second release: planks.wal edited in the working tree,
# rail.wal edited in the target since, rope.wal lost from the working tree.
xdotool windowfocus --sync "$info"
xdotool key Return
sleep 0.5
printf 'second edition' >>"$demo/harbor/textures/harbor/planks.wal"
printf 'edited in the game' >>"$demo/games/harbor/textures/harbor_trim/rail.wal"
touch -d '1 hour ago' "$demo/games/harbor/textures/harbor/planks.wal"
rm "$demo/harbor/textures/harbor/rope.wal"
# File > New, the level again, "Use this", the options, then "Review...".
xdotool windowfocus --sync "$window"
xdotool key ctrl+n
sleep 0.3
open_level
use_target
xdotool key alt+r
sleep 1.5
review="$(xdotool search --name "^Review the transfer$" 2>/dev/null | head -1 || true)"
[ -n "$review" ] || { echo "corvane: the review did not appear" >&2; exit 1; }
import -window root -crop 1100x720+0+0 "$review_out"
echo "$review_out"
