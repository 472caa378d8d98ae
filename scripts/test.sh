#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# In CI (CI=true), or with CORVANE_HARDEN=1, it then also runs each fuzz target
# for a short while (CORVANE_FUZZ_SECONDS, 20 by default) and the whole suite
# once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/, or $CORVANE_ASAN_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

if [ "${CI:-}" = "true" ] || [ "${CORVANE_HARDEN:-}" = "1" ]; then
  "$root/scripts/fuzz.sh" "${CORVANE_FUZZ_SECONDS:-20}"

  asan="${CORVANE_ASAN_BUILD_DIR:-$root/build-asan}"
  cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_WERROR=ON \
    -DCORVANE_SANITIZE=ON >/dev/null
  cmake --build "$asan"
  # Any finding ends the test that made it (-fno-sanitize-recover), with a stack.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir "$asan" --output-on-failure -j "$(nproc)"
fi
