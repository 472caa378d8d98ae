# What the bench scripts share: their options and the Release build.
# Sourced by bench/run.sh and bench/repaint.sh, which define usage() first.

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
