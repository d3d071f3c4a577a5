#!/usr/bin/env bash
# Builds what is missing and starts Quenmar.exe (the x86_64 build: 32-bit programs
# cannot run on these machines) under Wine with the arguments given.
#
#   scripts/run.sh [--windows NAME] [--screenshot FILE] [--] [Quenmar arguments...]
#
#   --windows NAME     make Wine report that Windows first (--windows list shows the names)
#   --screenshot FILE  where the picture of the notice goes on a machine without a display
#                      (default build/run-screenshot.png)
#
# The Wine prefix under build/wine-app is kept between runs, so the once-a-day rule
# can be seen at work. Without a display the run uses a virtual one, saves a
# screenshot of whatever appeared, closes it and ends.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

windows=""
screenshot="$root/build/run-screenshot.png"
while [ $# -gt 0 ]; do
    case "$1" in
    --windows) windows="${2:-}"; shift 2 ;;
    --screenshot) screenshot="$(realpath -m "${2:-}")"; shift 2 ;;
    --help | -h) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    --) shift; break ;;
    *) break ;;
    esac
done

scripts/setup.sh || exit 1
. scripts/wine-env.sh

if [ "$windows" = "list" ]; then
    wine_windows_table | awk '{printf "%-18s %s build %s, service pack %s, %s\n", $1, $2, $3, $4, $6}'
    exit 0
fi

for preset in win64 win32; do
    [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" >/dev/null || { echo "build of $preset failed" >&2; exit 1; }
done
exe="$root/build/win64/bin/Quenmar.exe"

export LANG="${LANG:-ja_JP.UTF-8}"
case "$LANG" in C | C.* | POSIX | "") export LANG=ja_JP.UTF-8 ;; esac
{ export LC_ALL="$LANG"; } 2>/dev/null # Wine needs only the name; glibc may lack the locale
export WINEPREFIX="$root/build/wine-app"
trap 'wine_stop' EXIT
have_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    have_display=1
else
    # Before the prefix: a prefix built without a display cannot show windows later.
    wine_display_start || exit 1
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: preparing a Wine prefix in $WINEPREFIX" >&2
    wine_prefix_init "$WINEPREFIX"
else
    "$WINESERVER" -p 60
fi
[ -n "$windows" ] && { wine_emulate "$windows" || exit 1; }

if [ "$have_display" = 1 ]; then
    "$WINE" "$exe" "$@"
    exit 0
fi

"$WINE" "$exe" "$@" &
pid=$!
window=$(wine_wait_for_window "$pid" 200)
if [ -z "$window" ]; then
    wait "$pid"
    echo "run: no notice was shown (the program ended by itself)."
    exit 0
fi
sleep 0.5 # let the dialog paint
mkdir -p "$(dirname "$screenshot")"
import -window root "$screenshot"
echo "run: a notice appeared: \"$(xdotool getwindowname "$window")\"; screenshot: $screenshot"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
