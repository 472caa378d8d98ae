#!/usr/bin/env bash
# How quickly the desktop window shows a huge level: builds the window's bench
# driver and corvane-cli (Release) into build-repaint/, generates two levels
# with make_window_data.py (the 119 MB level of 400 textures, and a level of
# 200,000 distinct textures) and, on the offscreen platform, times the load
# until both lists are painted beside `corvane-cli scan` of the same level,
# then a scroll through the whole texture list of the second level.
set -euo pipefail

usage() {
    cat <<'USAGE'
Usage: bench/window.sh [--scale S] [--runs N] [--tmp DIR]

  --scale S   size of the levels; 1 is 119 MB and 200,000 textures (default 1)
  --runs N    loads of each level in the window and scans of it (default 5 each)
  --tmp DIR   where to make the temporary folder (default: /dev/shm when it has
              1 GB free, else $TMPDIR or /tmp)
USAGE
}

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench/common.sh
. "$repo/bench/common.sh"

scale=1
runs=5
tmp_base=""
parse_options "$@"
if [ -z "$tmp_base" ]; then
    tmp_base="${TMPDIR:-/tmp}"
    if [ -d /dev/shm ] && [ -w /dev/shm ] &&
        [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -ge $((1024 * 1024)) ]; then
        tmp_base=/dev/shm
    fi
fi

build="$repo/build-repaint"
echo "== building the bench driver and corvane-cli (Release) in $build"
release_build "$build" corvane_window_bench -DCORVANE_WITH_UI=ON
cmake --build "$build" --target corvane-cli >/dev/null
driver="$build/tests/ui/corvane_window_bench"
cli="$build/src/corvane-cli"

tmp="$(mktemp -d "$tmp_base/corvane-window.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
echo "== generating the levels (scale $scale, fixed seed) in $tmp"
python3 "$repo/bench/make_window_data.py" "$tmp/data" --scale "$scale"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp"
# The window's driver, without the offscreen platform's notes about window hints.
window() { "$driver" "$@" 2> >(grep -v 'does not support propagateSizeHints' >&2); }

# Milliseconds of one scan, from spawning corvane-cli to its exit.
scan_ms() {
    local start end
    start=$(date +%s%N)
    "$cli" scan "$1" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))e-3
}
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for name in big unique; do
    level="$tmp/data/$name/maps/$name.map"
    echo "== $name.map: $(du -h "$level" | cut -f1)"
    "$cli" scan "$level" >/dev/null    # warm-up: the page cache holds the level
    window "$level" >/dev/null
    : >"$tmp/window.txt"
    : >"$tmp/scan.txt"
    for _ in $(seq "$runs"); do
        line="$(window "$level")"
        echo "   window  $line"
        echo "$line" | awk '{ print $2 }' >>"$tmp/window.txt"
        ms="$(scan_ms "$level")"
        printf '   scan    %9.1f ms\n' "$ms"
        echo "$ms" >>"$tmp/scan.txt"
    done
    window="$(median <"$tmp/window.txt")"
    scan="$(median <"$tmp/scan.txt")"
    awk -v w="$window" -v s="$scan" -v n="$name" 'BEGIN {
        r = w / s
        printf "%s.map: load->painted median %.1f ms, corvane-cli scan median %.1f ms, ratio %.2f (goal <= 2): %s\n",
               n, w, s, r, (r <= 2 ? "met" : "MISSED") }' | tee -a "$tmp/summary.txt"
done

echo "== scrolling the 200,000-entry texture list a page at a time"
window "$tmp/data/unique/maps/unique.map" --scroll | tee -a "$tmp/summary.txt"

echo "== summary"
cat "$tmp/summary.txt"
! grep -q MISSED "$tmp/summary.txt"
