#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a given time, one after the other.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, all targets)
# Targets: level (the level reader, both scans, the sky), names (the path rules,
# the unsafe-name test), pak (a pak's directory and entries), zip (a zip's
# central directory and entries, through libzip), bsp (the compiled-level reader
# and the entity keys that name files), formats (textures, model skins and
# palette pictures). Each target keeps what it learns in
# $CORVANE_FUZZ_BUILD_DIR/corpus/TARGET; an input that fails is kept in
# .../findings/TARGET/ and the script exits non-zero. Reproduce one with
#   build-fuzz/fuzz/fuzz_TARGET FILE
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(level names pak zip bsp formats)

"$root/scripts/deps.sh" clang libclang-rt-14-dev
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_SANITIZE=ON -DCORVANE_WERROR=ON \
  -DCORVANE_BUILD_TESTS=OFF -DCORVANE_WITH_UI=OFF >/dev/null
cmake --build "$build" --target $(printf 'fuzz_%s ' "${targets[@]}")

seeds="$build/seeds"
for target in "${targets[@]}"; do
  # Seeds made before a target existed lack its folder: make them all again.
  [ -d "$seeds/$target" ] || { rm -rf "$seeds" && "$root/fuzz/make_seeds.sh" "$seeds"; break; }
done

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  echo "fuzz: $target for ${seconds}s" >&2
  # -rss_limit_mb: a level may be large but never needs gigabytes; -timeout: no
  # input may take seconds.
  if ! "$build/fuzz/fuzz_$target" "$corpus" "$seeds/$target" \
      -dict="$root/fuzz/$target.dict" -max_total_time="$seconds" -max_len=65536 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" >"$build/fuzz-$target.log" 2>&1; then
    tail -n 60 "$build/fuzz-$target.log" >&2
    echo "fuzz: $target found a failing input, kept in $findings/" >&2
    status=1
  else
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|cov:' "$build/fuzz-$target.log" | tail -n 3 >&2
  fi
done
exit $status
