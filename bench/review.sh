#!/usr/bin/env bash
# Measures how long the review of a transfer takes to appear for a level of
# about 5,000 files: from the press of "Review..." until its table has been
# painted, in the real main window on the offscreen platform. Builds the
# window's bench drivers (Release) into build-repaint/ (shared with
# repaint.sh), generates the working tree with make_data.py and measures a
# review into a new target (every file new) and one into a target that
# already holds the whole release (every file compared byte for byte).
set -euo pipefail

usage() {
    cat <<'USAGE'
Usage: bench/review.sh [--scale S] [--runs N] [--tmp DIR]

  --scale S   size of the generated tree; 1 is about 5,000 files and 500 MB (default 1)
  --runs N    reviews opened in each case (default 5)
  --tmp DIR   where to make the temporary folder (default: $TMPDIR or /tmp)
USAGE
}

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench/common.sh
. "$repo/bench/common.sh"

scale=1
runs=5
tmp_base="${TMPDIR:-/tmp}"
parse_options "$@"

window_bench corvane_review_bench review

echo "== measuring"
"$driver" "$level" "$tmp/new" --runs "$runs" 2>/dev/null
"$driver" "$level" "$tmp/transferred" --transferred --runs "$runs" 2>/dev/null
