#!/usr/bin/env bash
# Measures how long the desktop window goes without painting while it
# transfers a level of about 5,000 files: builds the window's bench driver
# (Release) into build-repaint/, generates the working tree with make_data.py
# and runs the real main window's transfer on the offscreen platform, with the
# window kept alive during the work and, for comparison, without.
set -euo pipefail

usage() {
    cat <<'USAGE'
Usage: bench/repaint.sh [--scale S] [--runs N] [--tmp DIR]

  --scale S   size of the generated tree; 1 is about 5,000 files and 500 MB (default 1)
  --runs N    transfers with and without keep-alive, alternating (default 3 each)
  --tmp DIR   where to make the temporary folder (default: $TMPDIR or /tmp)
USAGE
}

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench/common.sh
. "$repo/bench/common.sh"

scale=1
runs=3
tmp_base="${TMPDIR:-/tmp}"
parse_options "$@"

window_bench corvane_repaint_bench repaint

run() {
    rm -rf "$tmp/target"
    sync
    "$driver" "$level" "$tmp/target" "$@" 2>/dev/null
}
echo "== warm-up (reads the sources into the page cache)"
run --no-keep-alive >/dev/null
echo "== measuring"
for _ in $(seq "$runs"); do
    run
    run --no-keep-alive
done
