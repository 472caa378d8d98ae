#!/usr/bin/env bash
# Installs what is missing and builds Corvane into build/ (or $CORVANE_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh"

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DCORVANE_WERROR="$werror" >/dev/null
cmake --build "$build"
