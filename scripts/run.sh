#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane's main job on a level:
# by default the example level in examples/harbor.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" >/dev/null
level="${1:-$root/examples/harbor/maps/harbor.map}"
exec "$build/src/corvane-cli" scan "$level"
