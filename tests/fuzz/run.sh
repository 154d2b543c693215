#!/usr/bin/env bash
# Runs every fuzz target for a set time. Usage: tests/fuzz/run.sh BUILD_DIR SECONDS
# Each target (every BUILD_DIR/fuzz_<target>) starts from its seed corpus
# (tests/fuzz/corpus/<target> when there is one, only read) and keeps
# the inputs it finds in BUILD_DIR/corpus/<target>; a finding leaves its input in
# BUILD_DIR/artifacts and makes the script fail.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
for exe in "$build"/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    target=${exe##*/fuzz_}
    mkdir -p "$build/corpus/$target" "$build/artifacts"
    seeds=()
    [ -d "$here/corpus/$target" ] && seeds=("$here/corpus/$target")
    log=$build/$target.log
    if "$exe" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "${seeds[@]}" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $target: ${seconds} s, $runs runs, no finding"
    else
        echo "fuzz $target: FINDING (log $log)" >&2
        tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
