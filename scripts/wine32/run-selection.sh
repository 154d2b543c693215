#!/usr/bin/env bash
# Runs a selection of the 32-bit Windows-side tests in one run-batch.sh batch (one
# namespace, one prefix, one wineserver) and checks that every test the selection names
# actually ran and passed: a filter that matches nothing passes in GoogleTest, so a renamed
# test would otherwise drop out of the batch unnoticed.
#
# Usage: scripts/wine32/run-selection.sh BIN_FOLDER SELECTION_FILE
#   SELECTION_FILE  one line per test program: its file name in BIN_FOLDER, then its
#                   arguments (a --gtest_filter); blank lines and lines starting with #
#                   are skipped.
# Every pattern before the filter's "-" (or "*" without one) must match at least one test
# that printed "[       OK ]". Exit status: 0 when all passed, 1 otherwise, 2 for a usage
# or setup problem.
#
# Environment: ZI_WINE32_TIMEOUT (seconds per program, default here 300) and the others of
# run-batch.sh.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
die() { echo "wine32 selection: error: $*" >&2; exit 2; }

[ $# = 2 ] || die "usage: $0 BIN_FOLDER SELECTION_FILE"
bin=$1
selection=$2
[ -d "$bin" ] || die "no folder $bin"
[ -f "$selection" ] || die "no selection file $selection"

work=$(mktemp -d "${TMPDIR:-/tmp}/zi-wine32-selection.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The batch's command lines, and for each the patterns that must match.
lines=()
patterns=()
while IFS= read -r line || [ -n "$line" ]; do
    read -r -a words <<<"$line"
    [ ${#words[@]} -gt 0 ] || continue
    case ${words[0]} in '#'*) continue ;; esac
    [ -f "$bin/${words[0]}" ] || die "$selection names ${words[0]}, which is not in $bin"
    words[0]=$bin/${words[0]}
    lines+=("${words[*]}")
    positive='*'
    for word in "${words[@]:1}"; do
        case $word in
        --gtest_filter=*)
            positive=${word#--gtest_filter=}
            positive=${positive%%-*}
            [ -n "$positive" ] || positive='*'
            ;;
        esac
    done
    patterns+=("$positive")
done <"$selection"
[ ${#lines[@]} -gt 0 ] || die "$selection names no test program"

export ZI_WINE32_TIMEOUT=${ZI_WINE32_TIMEOUT:-300}
rc=0
# With pipefail the pipeline fails with the batch's status, not tee's.
"$here/run-batch.sh" "${lines[@]}" 2>&1 | tee "$work/log" || rc=$?
[ "$rc" -le 1 ] || exit 2

# Each program's part of the log lies between its "=== wine32 [i/n]" and "--- wine32 [i/n]"
# lines; the tests it passed are its "[       OK ] Suite.Name (n ms)" lines.
missing=()
total=0
for i in "${!lines[@]}"; do
    n=$((i + 1))
    passed=$(awk -v n="$n" '
        index($0, "=== wine32 [" n "/") == 1 { inside = 1; next }
        index($0, "--- wine32 [" n "/") == 1 { inside = 0 }
        inside && /^\[       OK \] / { print $4 }' "$work/log")
    total=$((total + $(grep -c . <<<"$passed" || true)))
    IFS=: read -r -a wanted <<<"${patterns[$i]}"
    for pattern in "${wanted[@]}"; do
        [ -n "$pattern" ] || continue
        found=0
        while IFS= read -r name; do
            # GoogleTest's * and ? are the shell's.
            # shellcheck disable=SC2053
            if [[ $name == $pattern ]]; then found=1; break; fi
        done <<<"$passed"
        [ "$found" = 1 ] || missing+=("$(basename "${lines[$i]%% *}"): $pattern")
    done
done

for m in "${missing[@]}"; do echo "wine32 selection: FAIL no passing test matches $m"; done
if [ "$rc" = 0 ] && [ ${#missing[@]} = 0 ]; then
    echo "wine32 selection: ${#lines[@]} program(s), every selected test ran"
    echo "wine32: $total passed, 0 failed"
    exit 0
fi
echo "wine32: $total passed, $(( ${#missing[@]} > 0 ? ${#missing[@]} : 1 )) failed"
exit 1
