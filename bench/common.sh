# What the bench scripts share: their options and the Release build.
# Sourced by bench/run.sh, bench/repaint.sh and bench/review.sh, which define usage() first.

# Reads --scale, --runs and --tmp into scale, runs and tmp_base (which keep
# the caller's defaults when an option is not given).
parse_options() {
    while [ $# -gt 0 ]; do
        case "$1" in
            --scale) scale="${2:?--scale needs a value}"; shift 2 ;;
            --runs) runs="${2:?--runs needs a value}"; shift 2 ;;
            --tmp) tmp_base="${2:?--tmp needs a value}"; shift 2 ;;
            -h|--help) usage; exit 0 ;;
            *) usage >&2; exit 2 ;;
        esac
    done
}

# release_build BUILD_DIR TARGET [CMAKE_OPTION...]: configures BUILD_DIR in
# Release (with Ninja when it is there and the folder is new) and builds TARGET.
release_build() {
    local build="$1" target="$2"
    shift 2
    local generator=()
    if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    cmake -S "$repo" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$build" --target "$target" >/dev/null
}

# window_bench DRIVER NAME: what the window's bench scripts do first. Builds
# the bench driver DRIVER (Release, with the window) into build-repaint/,
# makes a temporary folder corvane-NAME.* below $tmp_base (removed when the
# script ends), generates the data there at $scale, and sets driver, tmp and
# level (the 5,000-file level); the offscreen Qt platform is exported.
window_bench() {
    local build="$repo/build-repaint"
    echo "== building the bench driver (Release) in $build"
    release_build "$build" "$1" -DCORVANE_WITH_UI=ON
    driver="$build/tests/ui/$1"
    tmp="$(mktemp -d "$tmp_base/corvane-$2.XXXXXX")"
    trap 'rm -rf "$tmp"' EXIT
    echo "== generating the tree (scale $scale) in $tmp"
    python3 "$repo/bench/make_data.py" "$tmp/data" --scale "$scale"
    level="$tmp/data/tree/maps/bench.map"
    echo "== $(wc -l <"$tmp/data/expected.txt") files to transfer; file system: $(df -h --output=fstype "$tmp" | tail -1)"
    export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp"
}
