#!/usr/bin/env bash
# Builds corvane-cli (Release) into build-bench/, generates a working tree in
# a temporary folder and times corvane-cli transfer and size beside cp -r and
# du -sb on it.  See bench/README.md.
set -euo pipefail

usage() {
    cat <<'EOF'
Usage: bench/run.sh [--scale S] [--runs N] [--tmp DIR]

  --scale S   size of the generated tree; 1 is about 5,000 files and 500 MB (default 1)
  --runs N    timed rounds (default 5)
  --tmp DIR   where to make the temporary folder (default: $TMPDIR or /tmp);
              needs about 3.5 times the data size free
EOF
}

scale=1
runs=5
tmp_base="${TMPDIR:-/tmp}"
while [ $# -gt 0 ]; do
    case "$1" in
        --scale) scale="${2:?--scale needs a value}"; shift 2 ;;
        --runs) runs="${2:?--runs needs a value}"; shift 2 ;;
        --tmp) tmp_base="${2:?--tmp needs a value}"; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-bench"

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
echo "== building corvane-cli (Release) in $build"
cmake -S "$repo" -B "$build" "${generator[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCORVANE_WITH_UI=OFF -DCORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target corvane-cli >/dev/null
cli="$build/src/corvane-cli"

tmp="$(mktemp -d "$tmp_base/corvane-bench.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
echo "== generating the tree (scale $scale) in $tmp"
python3 "$repo/bench/make_data.py" "$tmp/data" --scale "$scale"
echo "== file system: $(df -h --output=fstype,avail "$tmp" | tail -1 | tr -s ' ')"

echo "== measuring"
python3 "$repo/bench/bench.py" --cli "$cli" --data "$tmp/data" --scratch "$tmp/scratch" --runs "$runs"
