#!/usr/bin/env bash
# Installs the Debian packages Corvane needs to build and test, when any is missing.
# Quiet, and quick when everything is there already. Packages named as arguments
# are installed too (scripts/screenshot.sh asks for its own this way).
set -euo pipefail

# dpkg-dev and file: CPack reads the programs' library needs when it makes the .deb.
# libzip-dev: zip archives; CMake finds it through pkg-config.
packages=(g++ cmake ninja-build pkg-config libgtest-dev qt6-base-dev libzip-dev dpkg-dev file "$@")
# CI also fuzzes (scripts/fuzz.sh): clang, and libFuzzer with the sanitizer runtimes. It runs the
# window tests with the Noto fonts that Xvfb and ImageMagick bring along (a monospaced family that
# does not call itself fixed-pitch) and once more without them (tests/ui/CMakeLists.txt).
if [ "${CI:-}" = "true" ]; then
  packages+=(clang libclang-rt-14-dev fonts-noto-mono)
fi

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "corvane: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

echo "corvane: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { "${sudo[@]}" apt-get update -qq && \
       "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "corvane: installing the packages failed" >&2
  exit 1
fi
