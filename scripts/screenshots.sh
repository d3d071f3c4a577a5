#!/usr/bin/env bash
# Pictures of both notices as users see them: the service-pack notice in each of
# its five wordings and the end-of-support notice, drawn by Wine on a virtual
# display with the Japanese font replacements, saved as PNGs in docs/screenshots/.
#
#   scripts/screenshots.sh [OUTPUT_DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$(realpath -m "${1:-docs/screenshots}")"

scripts/setup.sh || exit 1
. scripts/build-env.sh
. scripts/wine-env.sh

build_preset win64 notice_preview || exit 1
preview="$root/build/win64/bin/notice_preview.exe"

{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null # Wine needs only the name
wine_cleanup_on_exit
# The display first: a prefix built without one keeps Wine's desktop display-less.
wine_display_start || exit 1
wine_prefix_init "$root/build/wine-shots/prefix" || exit 1
mkdir -p "$out"

# name  arguments of notice_preview
shots() {
    cat <<'LIST'
service-pack-notice-1-windows10     102 1
service-pack-notice-2-windows8-installer 102 2
service-pack-notice-3-windows8      102 3
service-pack-notice-4-installer     102 4
service-pack-notice-5-template      102 5
end-of-support-notice-vista         129
LIST
}

failed=0
while read -r name args; do
    # Shown until captured (the first window on a new display takes Wine a while).
    "$WINE" "$preview" $args 60000 </dev/null &
    pid=$!
    window=$(wine_wait_for_window "$pid" 300)
    if [ -z "$window" ]; then
        wait "$pid"
        echo "screenshots: $name: no window appeared (exit status $?)" >&2
        failed=1
    else
        sleep 0.7 # let it paint
        import -window "$window" "$out/$name.png" && echo "$out/$name.png"
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    # The next notice must not be mistaken for this one.
    for _ in $(seq 50); do
        [ -z "$(xdotool search --onlyvisible --name '.' 2>/dev/null)" ] && break
        sleep 0.1
    done
done < <(shots)
exit $failed
