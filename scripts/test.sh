#!/usr/bin/env bash
# Builds all five presets and runs every test: host (sanitizers), fuzz (each fuzzer for
# a bounded time), win32 (checks of the shipped exes, two more builds of them, signing),
# the Windows tests in process for i686 (win32-tests) and x86_64 (win64), and the
# end-to-end suite against the shipped i686 exes, all under Wine in a fresh prefix on a
# virtual display. Where 32-bit programs cannot run, the i686
# tests are left out and the end-to-end suite runs the x86_64 build; one line says so.
# Ends with "N passed, M failed, K skipped".
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

scripts/setup.sh || exit 1
. scripts/build-env.sh
. scripts/wine-env.sh

for preset in host fuzz win32 win64 win32-tests; do
    build_preset "$preset" || exit 1
done

wine_cleanup_on_exit
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null # Wine needs only the name
# The display first: a prefix built without one cannot show windows afterwards.
wine_display_start || exit 1
wine_prefix_init "$root/build/wine-run/prefix" || exit 1

# ctest runs: preset and extra arguments. The end-to-end suite runs in one of them.
if wine_check_pe32 "$root/build/win32/bin/QuenmarCheck.exe"; then
    runs=("host" "fuzz" "win32" "win32-tests" "win64 -LE e2e")
    e2e_preset=win32-tests
else
    echo "end-to-end: 32-bit programs cannot run here: $WINE_PE32_WHY;" \
        "the i686 tests are left out and the x86_64 build is tested instead"
    runs=("host" "fuzz" "win32" "win64")
    e2e_preset=win64
fi
product_line="$root/build/$e2e_preset/bin/e2e-product.txt"
sweep_line="$root/build/$e2e_preset/bin/e2e-sweep.txt"
rm -f "$product_line" "$sweep_line" "$root"/build/fuzz/fuzz-work/*/last-run.log

passed=0
failed=0
skipped=0
for run in "${runs[@]}"; do
    read -r preset extra <<<"$run"
    log="$root/build/ctest-$preset.log"
    # Wine takes its code page from the locale's name; Linux tools (bash, openssl) want
    # a locale glibc has.
    locale=C.UTF-8
    case "$preset" in win64 | win32-tests) locale=ja_JP.UTF-8 ;; esac
    # shellcheck disable=SC2086 # extra holds separate arguments
    LANG=$locale LC_ALL=$locale ctest --preset "$preset" $extra "$@" 2>&1 | tee "$log"
    summary=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        # No summary at all: count the whole preset as one failure rather than none.
        grep -q 'No tests were found' "$log" || failed=$((failed + 1))
        continue
    fi
    nfail=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    ntotal=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
    nskip=$(grep -cE '^\s+[0-9]+ - .*\(Skipped\)$' "$log")
    passed=$((passed + ntotal - nfail - nskip))
    failed=$((failed + nfail))
    skipped=$((skipped + nskip))
done

# Which exe the end-to-end suite ran, as the suite itself saw it run.
if [ -f "$product_line" ]; then
    exe_line=$(tr -d '\r' <"$product_line")
    exe_path="${exe_line%% (*}"
    exe_path="${exe_path#Z:}"
    exe_path="${exe_path//\\//}"
    echo "end-to-end: ${exe_path#"$root"/} (${exe_line#* (}"
else
    echo "end-to-end: no run of the product was confirmed (EndToEnd.ProductRunsAsItsMachineType did not pass)"
fi
# How much bad input was tried, from the fuzzers' own counts.
fuzzed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$root"/build/fuzz/fuzz-work/*/last-run.log \
    2>/dev/null | awk '{ n += $1 } END { print n + 0 }')
echo "fuzzing: $fuzzed inputs through the command line, the day rule and the version codes"
# The bad-input sweep's count of cases and of those that held.
[ -f "$sweep_line" ] && tr -d '\r' <"$sweep_line"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
