# Sourced by the scripts that build: one way to configure and build a preset.
#
# The shipped exes carry SOURCE_DATE_EPOCH as their PE time stamp, so two builds of one
# commit give the same bytes. By default it is the last commit's time (0 outside a git
# checkout); a value set by the caller wins.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$(dirname "${BASH_SOURCE[0]}")" log -1 --format=%ct 2>/dev/null) ||
        SOURCE_DATE_EPOCH=0
    [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=0
fi
export SOURCE_DATE_EPOCH

# build_preset PRESET [TARGET...]: configures the preset once (its output shown only on
# failure) and builds the targets, or everything. Quiet unless QUENMAR_BUILD_VERBOSE=1.
build_preset() {
    local preset="$1" log targets=()
    shift
    [ $# -eq 0 ] || targets=(--target "$@")
    log="$(mktemp)"
    if [ ! -f "build/$preset/build.ninja" ] && ! cmake --preset "$preset" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "build: configuring $preset failed" >&2
        return 1
    fi
    if ! cmake --build --preset "$preset" "${targets[@]}" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "build: building $preset failed" >&2
        return 1
    fi
    [ "${QUENMAR_BUILD_VERBOSE:-0}" = 1 ] && cat "$log"
    rm -f "$log"
    return 0
}
