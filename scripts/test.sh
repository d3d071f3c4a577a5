#!/usr/bin/env bash
# Builds all five presets and runs every test: host (sanitizers), fuzz (each fuzzer for
# a bounded time), win32 (checks of the shipped exes, one more build of them, signing),
# the Windows tests in process for i686 (win32-tests) and x86_64 (win64), and the
# end-to-end suite against the shipped i686 exes, under Wine in fresh prefixes on
# virtual displays. Where 32-bit programs cannot run, the i686 tests are left out and
# the end-to-end suite runs the x86_64 build; one line says so.
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

# The ctest runs (a preset and its arguments) go in lanes that run side by side, the
# runs of a lane one after the other: the Linux presets in one lane; the end-to-end
# suite in another; the Windows tests in process in a third. Each Windows lane has a
# display and a prefix of its own: runs that shared them would see each other's
# notices and emulated versions.
linux_lane=("host" "fuzz" "win32")
if wine_check_pe32 "$root/build/win32/bin/QuenmarCheck.exe"; then
    e2e_preset=win32-tests
    in_process_lane=("win32-tests -LE e2e" "win64 -LE e2e")
else
    echo "end-to-end: 32-bit programs cannot run here: $WINE_PE32_WHY;" \
        "the i686 tests are left out and the x86_64 build is tested instead"
    e2e_preset=win64
    in_process_lane=("win64 -LE e2e")
fi
e2e_lane=("$e2e_preset -L e2e")
product_line="$root/build/$e2e_preset/bin/e2e-product.txt"
sweep_line="$root/build/$e2e_preset/bin/e2e-sweep.txt"
rm -f "$product_line" "$sweep_line" "$root"/build/fuzz/fuzz-work/*/last-run.log
rm -f "$root"/build/ctest-*.log

# The Windows test exes are listed once before the lanes start: their test lists are
# made on first use, and two runs of one build must not make them at the same time.
for preset in $(printf '%s\n' "${e2e_lane[@]}" "${in_process_lane[@]}" | cut -d' ' -f1 | sort -u); do
    ctest --preset "$preset" -N >/dev/null 2>&1
done

# The log of a run: build/ctest-<preset>.log, or ctest-win64-LE-e2e.log for "win64 -LE e2e".
log_of() {
    local preset flag label
    read -r preset flag label <<<"$1"
    echo "$root/build/ctest-$preset${flag:+-${flag#-}-$label}.log"
}

# run_lane RUN...: each run's tests into its log, one run after the other.
run_lane() {
    local run preset locale
    for run in "$@"; do
        read -r preset _ <<<"$run"
        # Wine takes its code page from the locale's name; Linux tools (bash, openssl)
        # want a locale glibc has.
        locale=C.UTF-8
        case "$preset" in win64 | win32-tests) locale=ja_JP.UTF-8 ;; esac
        # shellcheck disable=SC2086 # a run is a preset and its arguments, split on purpose
        LANG=$locale LC_ALL=$locale ctest --preset $run "${ctest_arguments[@]}" \
            >"$(log_of "$run")" 2>&1
    done
}
ctest_arguments=("$@")

# Interrupted: each lane's ctest is stopped, and the lane then stops what it started.
lanes=()
stop_lanes() {
    local pid
    [ ${#lanes[@]} -gt 0 ] || return 0
    for pid in "${lanes[@]}"; do
        pkill -TERM -P "$pid" 2>/dev/null
        kill -TERM "$pid" 2>/dev/null
    done
    wait "${lanes[@]}" 2>/dev/null
}
trap 'stop_lanes; wine_stop' EXIT

# The Linux lane runs at a low priority: the Windows lanes take the longest, and the
# fuzzers run for a fixed time whatever share of the processor they get.
(renice -n 15 "$BASHPID" >/dev/null && run_lane "${linux_lane[@]}") &
lanes+=($!)
# The end-to-end suite takes the prefix made above.
run_lane "${e2e_lane[@]}" &
lanes+=($!)
(
    XVFB_PID="" WINE_KEEPALIVE_PID="" WINE_KEEPALIVE_FD="" WINE_KEEPALIVE_DIR=""
    wine_cleanup_on_exit
    wine_display_start && wine_prefix_init "$root/build/wine-run/prefix-in-process" &&
        run_lane "${in_process_lane[@]}"
) &
lanes+=($!)
wait "${lanes[@]}"
lanes=()

passed=0
failed=0
skipped=0
for run in "${linux_lane[@]}" "${in_process_lane[@]}" "${e2e_lane[@]}"; do
    log="$(log_of "$run")"
    if [ ! -f "$log" ]; then
        echo "$run: no tests ran (its display or Wine prefix could not be set up)"
        failed=$((failed + 1))
        continue
    fi
    cat "$log"
    summary=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        # No summary at all: count the whole run as one failure rather than none.
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
