#!/usr/bin/env bash
# Inside tests/wine32/run.sh's bed: runs each program of the selection file and reads its
# GoogleTest XML report. Every test name or pattern before a filter's "-" must have run and
# passed, since a filter that matches nothing passes in GoogleTest: a renamed test would
# otherwise drop out of the batch unnoticed.
# Usage: programs.sh BIN_FOLDER SELECTION_FILE (one line per program: its file name in
# BIN_FOLDER, or a NAME.sh of this folder run with BIN_FOLDER, then its arguments, after any
# NAME=VALUE words for its environment; blank lines and lines starting with # are skipped).
set -uo pipefail
bin=$1
selection=$2
[ -d "$bin" ] && [ -f "$selection" ] || { echo "usage: $0 BIN_FOLDER SELECTION_FILE" >&2; exit 2; }
reports=$(dirname "$WINEPREFIX")
"$WINESERVER" -p 60 # one server for the batch: each program then starts in well under 1 s
passed=0
failed=0
n=0
while read -r exe args; do
    case $exe in '' | '#'*) continue ;; esac
    settings=()
    while [[ $exe == *=* ]]; do settings+=("$exe") && read -r exe args <<<"$args"; done
    n=$((n + 1))
    xml=$reports/$n.xml
    echo "=== wine32 $exe $args"
    # shellcheck disable=SC2086 # the arguments are words on purpose
    rc=0
    run=("$WINE64" "$bin/$exe") && [[ $exe == *.sh ]] && run=("$(dirname "$0")/$exe" "$bin")
    env "${settings[@]}" timeout -k 10 "${ZI_WINE32_TIMEOUT:-300}" "${run[@]}" $args \
        "--gtest_output=xml:Z:${xml//\//\\}" </dev/null || rc=$?
    # Without a report (not a GoogleTest program, or one that died) its exit code is one test.
    tests="$((rc == 0)) 0"
    [ -f "$xml" ] && tests=$(sed -n 's/^<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)".*/\1 \2/p' "$xml" 2>/dev/null)
    read -r total failures <<<"${tests:-0 0}"
    passed=$((passed + total - failures))
    failed=$((failed + failures))
    if [ "$rc" != 0 ] && [ "$failures" = 0 ]; then
        echo "wine32 FAIL $exe: exit code $rc"
        failed=$((failed + 1))
    fi
    [ -f "$xml" ] || continue
    filter=$(sed -n 's/.*--gtest_filter=\([^ -]*\).*/\1/p' <<<"$args")
    IFS=: read -r -a patterns <<<"${filter:-*}"
    for pattern in "${patterns[@]}"; do
        # GoogleTest's * and ? as grep's, within one attribute; the suite is before the dot.
        re=$(sed 's/\*/[^"]*/g; s/?/[^"]/g' <<<"$pattern")
        if ! grep -Eq "<testcase name=\"${re#*.}\" [^>]*status=\"run\" result=\"completed\"[^>]*classname=\"${re%%.*}\" */>" "$xml" 2>/dev/null; then
            echo "wine32 FAIL $exe: no passing test matches $pattern"
            failed=$((failed + 1))
        fi
    done
    if [ "$rc" != 0 ]; then # a failed program may leave children or windows behind
        "$WINESERVER" -k
        "$WINESERVER" -w
        "$WINESERVER" -p 60
    fi
done <"$selection"
echo "wine32: $passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$n" -gt 0 ]
