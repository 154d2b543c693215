#!/usr/bin/env bash
# Runs every fuzz target for a set time. Usage: tests/fuzz/run.sh BUILD_DIR SECONDS
# Each target starts from its seed corpus (tests/fuzz/corpus/<target>, only read) and keeps
# the inputs it finds in BUILD_DIR/corpus/<target>; a finding leaves its input in
# BUILD_DIR/artifacts and makes the script fail.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in search rewrite format; do
    mkdir -p "$build/corpus/$target" "$build/artifacts"
    log=$build/$target.log
    if "$build/fuzz_browser_$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "$here/corpus/$target" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz browser_$target: ${seconds} s, $runs runs, no finding"
    else
        echo "fuzz browser_$target: FINDING (log $log)" >&2
        tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
