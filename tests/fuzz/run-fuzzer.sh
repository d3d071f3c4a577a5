#!/usr/bin/env bash
# Runs one fuzzer for a bounded time from the seeds in the repository, growing a working
# corpus in the build tree. A crash or a broken property fails the run and keeps the
# input that shows it.
#
#   run-fuzzer.sh FUZZER SEEDS WORK_DIR SECONDS
set -u
fuzzer="$1" seeds="$2" work="$3" seconds="$4"
mkdir -p "$work/corpus" "$work/found"
log="$work/last-run.log"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/found/" "$work/corpus" "$seeds" >"$log" 2>&1
status=$?
if [ "$status" -ne 0 ]; then
    grep -E 'property broken|ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error' "$log" | head -n 5
    tail -n 15 "$log"
    for input in "$work"/found/*; do
        [ -e "$input" ] || continue
        echo "reproducing input kept: $input"
        echo "  replay: $fuzzer $input; keep it as a regression test in" \
            "$(dirname "$(dirname "$seeds")")/regressions/$(basename "$seeds")/"
    done
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "$(basename "$fuzzer"): ${runs:-?} inputs in ${seconds} s, every property held"
