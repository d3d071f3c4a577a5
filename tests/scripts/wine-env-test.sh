#!/usr/bin/env bash
# The Wine environment of the run and test commands when something is missing: each
# failure says what in one line, and nothing it started is left running. Stand-ins
# for Xvfb, Wine and the 32-bit loader play the failures; no real Wine is started.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../scripts/wine-env.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# expect_one_line NAME STATUS OUTPUT PATTERN: a non-zero status and one matching line.
expect_one_line() {
    local name="$1" status="$2" output="$3" pattern="$4"
    [ "$status" -ne 0 ] || fail "$name: returned 0"
    [ "$(printf '%s\n' "$output" | grep -c .)" -eq 1 ] || fail "$name: not one line: $output"
    grep -qE "$pattern" <<<"$output" || fail "$name: '$output' does not match '$pattern'"
}

stub() { # stub FILE BODY: an executable shell script
    printf '#!/bin/sh\n%s\n' "$2" >"$1"
    chmod +x "$1"
}

# No Xvfb at all.
mkdir "$work/empty-path"
out="$(PATH="$work/empty-path" wine_display_start 2>&1)"
expect_one_line "no Xvfb" $? "$out" '^display: Xvfb is not installed'

# An Xvfb that exits at once: every display tried, none left running.
mkdir "$work/bad-xvfb"
stub "$work/bad-xvfb/Xvfb" 'echo "$$" >>"'"$work"'/xvfb-pids"; exit 1'
out="$(PATH="$work/bad-xvfb:$PATH" wine_display_start 2>&1)"
expect_one_line "Xvfb fails" $? "$out" '^display: Xvfb did not start'
[ -s "$work/xvfb-pids" ] || fail "Xvfb fails: the stand-in never ran"
while read -r pid; do
    ! kill -0 "$pid" 2>/dev/null || fail "Xvfb fails: process $pid left running"
done <"$work/xvfb-pids"

# A prefix that cannot be built.
stub "$work/wineserver" 'exit 0'
stub "$work/wine64" '[ "$1" = wineboot ] && exit 1; exit 0'
out="$(WINESERVER="$work/wineserver" WINE="$work/wine64" wine_prefix_init "$work/prefix" 2>&1)"
expect_one_line "prefix fails" $? "$out" "^wine: the prefix $work/prefix could not be built"

# No 32-bit Wine, and a 32-bit loader the kernel cannot run.
out="$(WINE32_LOADER="$work/none" && wine_check_pe32 "$work/x.exe" && echo ran; echo "$WINE_PE32_WHY")"
[ "$out" = "the 32-bit Wine (package wine32:i386) is not installed" ] || fail "no wine32: $out"
printf '\177ELF\001\001\001\000garbage' >"$work/loader"
chmod +x "$work/loader"
out="$(WINE32_LOADER="$work/loader" && wine_check_pe32 "$work/x.exe" && echo ran; echo "$WINE_PE32_WHY")"
grep -qE '^the 32-bit Wine loader does not run on this kernel \(.*[Ee]xec format error\)$' <<<"$out" ||
    fail "32-bit loader cannot run: $out"

# A loader that runs, and a PE32 program that does or does not answer.
stub "$work/loader" 'exit 0'
stub "$work/wine64" 'case "$1" in *good.exe) echo "usage: QuenmarCheck.exe [key path]"; exit 2 ;; esac
echo "wine: could not load kernel32.dll"; exit 1'
: >"$work/good.exe"
: >"$work/bad.exe"
out="$(WINE32_LOADER="$work/loader" WINE="$work/wine64" &&
    wine_check_pe32 "$work/good.exe" && echo "ran $WINE_PE32")"
[ "$out" = "ran 1" ] || fail "PE32 runs: $out"
out="$(WINE32_LOADER="$work/loader" WINE="$work/wine64" &&
    wine_check_pe32 "$work/bad.exe" || echo "$WINE_PE32 $WINE_PE32_WHY")"
[ "$out" = "0 bad.exe --help did not run (exit status 1: wine: could not load kernel32.dll)" ] ||
    fail "PE32 does not run: $out"

# The kept-alive process ends with the run.
stub "$work/wine64" 'cat >/dev/null'
(
    WINE="$work/wine64"
    wine_keepalive_start
    echo "$WINE_KEEPALIVE_PID" >"$work/keepalive-pid"
    kill -0 "$WINE_KEEPALIVE_PID" || echo "not started" >>"$work/keepalive-problems"
    wine_keepalive_stop
)
pid="$(cat "$work/keepalive-pid")"
[ ! -s "$work/keepalive-problems" ] || fail "keep-alive: $(cat "$work/keepalive-problems")"
! kill -0 "$pid" 2>/dev/null || fail "keep-alive: process $pid left running"

[ "$failures" -eq 0 ] && echo "all Wine environment checks held"
[ "$failures" -eq 0 ]
