#!/usr/bin/env bash
# Builds corvane-cli (Release) into build-bench/, generates the data in a
# temporary folder and times corvane-cli scan, transfer, size and pool beside
# wc -l, cp -r --preserve=mode,timestamps and du -sb on it.  See bench/README.md.
set -euo pipefail

usage() {
    cat <<'EOF'
Usage: bench/run.sh [--scale S] [--runs N] [--tmp DIR] [--disk DIR|none]

  --scale S   size of the generated data; 1 is the full set: a working tree of
              5,000 files and 500 MB, a level of 2 million lines and 120 MB,
              a tree of 100,000 files and 1,000 levels to pool (default 1)
  --runs N    timed rounds (default 7)
  --tmp DIR   where to make the temporary folder (default: /dev/shm when it
              has 4 GB free, else $TMPDIR or /tmp); needs about 3.5 GB at scale 1
  --disk DIR  a folder on another kind of file system than the data (a disk
              when the data is in memory): a copy of the big level is scanned
              there and the transfer timed there, with its own copy of the
              working tree, beside the same in the temporary folder (default:
              /var/tmp when the data is on tmpfs and /var/tmp is not); needs
              about 2 GB at scale 1; "none" leaves both out
EOF
}

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench/common.sh
. "$repo/bench/common.sh"

scale=1
runs=7
tmp_base=""
disk=""
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --disk) disk="${2:?--disk needs a value}"; shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
parse_options "${args[@]+"${args[@]}"}"

if [ -z "$tmp_base" ]; then
    # A RAM-backed folder keeps the disk out of the figures: creating
    # thousands of files on a busy or virtual disk varies far more from run
    # to run than the programs themselves do.
    tmp_base="${TMPDIR:-/tmp}"
    if [ -d /dev/shm ] && [ -w /dev/shm ] &&
        [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -ge $((4 * 1024 * 1024)) ]; then
        tmp_base=/dev/shm
    fi
fi

build="$repo/build-bench"
echo "== building corvane-cli (Release) in $build"
release_build "$build" corvane-cli -DCORVANE_WITH_UI=OFF -DCORVANE_BUILD_TESTS=OFF
cli="$build/src/corvane-cli"

tmp="$(mktemp -d "$tmp_base/corvane-bench.XXXXXX")"
disk_tmp=""
trap 'rm -rf "$tmp" ${disk_tmp:+"$disk_tmp"}' EXIT
echo "== generating the data (scale $scale, fixed seed) in $tmp"
python3 "$repo/bench/make_data.py" "$tmp/data" --scale "$scale"
echo "== file system: $(df -h --output=fstype,avail "$tmp" | tail -1 | tr -s ' ')"

# The scan and the transfer on a disk too: a level in memory says nothing
# about what mapping a file on disk costs, and tmpfs spares the transfer the
# cost of creating files on a real file system, which a user's game folder has.
fstype() { df --output=fstype "$1" | tail -1 | tr -d ' '; }
if [ -z "$disk" ] && [ "$(fstype "$tmp")" = tmpfs ] && [ -d /var/tmp ] && [ -w /var/tmp ] &&
    [ "$(fstype /var/tmp)" != tmpfs ]; then
    disk=/var/tmp
fi
disk_big="$tmp/data/big/big.map"
also=()
if [ -n "$disk" ] && [ "$disk" != none ]; then
    if [ "$(fstype "$disk")" = "$(fstype "$tmp")" ]; then
        echo "== $disk lies on $(fstype "$disk") like the data: the scan and the transfer are timed there once"
    else
        disk_tmp="$(mktemp -d "$disk/corvane-bench.XXXXXX")"
        cp "$disk_big" "$disk_tmp/big.map"
        disk_big="$disk_tmp/big.map"
        echo "== the scan and the transfer are timed on $(fstype "$disk") too, in $disk_tmp"
        also=(--transfer-also "$disk_tmp")
    fi
fi
echo "== the big level on disk: $disk_big ($(fstype "$disk_big"))"

echo "== measuring"
python3 "$repo/bench/bench.py" --cli "$cli" --data "$tmp/data" --scratch "$tmp/scratch" --runs "$runs" \
    --disk-big "$disk_big" "${also[@]+"${also[@]}"}"
