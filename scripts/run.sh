#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program Corvane.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "corvane: no display to show the window on; run this in a desktop session" >&2
  echo "corvane: (scripts/screenshot.sh shows the window on a virtual display)" >&2
  exit 1
fi
exec "$build/src/ui/corvane" "$@"
