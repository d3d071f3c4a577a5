#!/usr/bin/env bash
# Builds what is missing and starts the shipped Quenmar.exe (i686) under Wine with the
# arguments given; where 32-bit programs cannot run, the x86_64 build, and it says so.
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
. scripts/build-env.sh
. scripts/wine-env.sh

if [ "$windows" = "list" ]; then
    wine_windows_table | awk '{printf "%-18s %s build %s, service pack %s, %s\n", $1, $2, $3, $4, $6}'
    exit 0
fi

build_preset win32 || exit 1
# The x86_64 build: the fallback exe, and the tool that emulates a Windows version.
build_preset win64 Quenmar emulate_windows || exit 1

export LANG="${LANG:-ja_JP.UTF-8}"
case "$LANG" in C | C.* | POSIX | "") export LANG=ja_JP.UTF-8 ;; esac
{ export LC_ALL="$LANG"; } 2>/dev/null # Wine needs only the name; glibc may lack the locale
export WINEPREFIX="$root/build/wine-app"
wine_cleanup_on_exit
have_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    have_display=1
else
    # Before the prefix: a prefix built without a display cannot show windows later.
    wine_display_start || exit 1
fi
if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
    echo "run: preparing a Wine prefix in $WINEPREFIX" >&2
    wine_prefix_init "$WINEPREFIX" || exit 1
else
    wine_prefix_start || exit 1
fi
if wine_check_pe32 "$root/build/win32/bin/QuenmarCheck.exe"; then
    exe="$root/build/win32/bin/Quenmar.exe"
else
    exe="$root/build/win64/bin/Quenmar.exe"
    echo "run: 32-bit programs cannot run here ($WINE_PE32_WHY); running the x86_64 build" >&2
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
