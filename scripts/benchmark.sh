#!/usr/bin/env bash
# Figures, not tests: the cost of a silent run of the shipped Quenmar.exe against two
# reference programs built the same way for the same machine (the x86_64 build where
# 32-bit programs cannot run), and the shipped exe's size and import table.
#
#   scripts/benchmark.sh [runs]     (default 41 runs of each program per scenario)
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
scripts/setup.sh || exit 1
. scripts/build-env.sh
. scripts/wine-env.sh

build_preset win32 Quenmar QuenmarCheck bench_empty bench_common_controls || exit 1
build_preset win64 Quenmar bench_empty bench_common_controls silent_path_benchmark || exit 1

{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null # Wine needs only the name
wine_cleanup_on_exit
wine_display_start || exit 1
wine_prefix_init "$root/build/wine-bench/prefix" || exit 1
if wine_check_pe32 "$root/build/win32/bin/QuenmarCheck.exe"; then
    programs="$root/build/win32/bin"
else
    programs="$root/build/win64/bin"
    echo "benchmark: 32-bit programs cannot run here ($WINE_PE32_WHY); timing the x86_64 build"
fi
echo "timed: $(wine_pe_machine "$programs/Quenmar.exe")"
"$WINE" "$root/build/win64/bin/silent_path_benchmark.exe" "${1:-41}" "$(winepath_of "$programs")" |
    tr -d '\r'

exe="$root/build/win32/bin/Quenmar.exe"
echo
echo "shipped exe: $exe"
echo "  size: $(stat -c %s "$exe") bytes (goal: at most $((128 * 1024)))"
for ref in bench_empty bench_common_controls; do
    echo "  $ref.exe (same build): $(stat -c %s "$root/build/win32/bin/$ref.exe") bytes"
done
echo "  imports:"
i686-w64-mingw32-objdump -p "$exe" | awk '
    /DLL Name:/ { dll = $3; next }
    dll && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { names[dll] = names[dll] " " $NF }
    /^$/ { dll = "" }
    END { for (d in names) printf "    %s:%s\n", d, names[d] }' | sort
