#!/usr/bin/env bash
# make soak: LANES lanes of start/exit cycles (the first also with the faults) and one lane of
# games started together, each lane a zi_soak in a Wine prefix of its own: a client that never
# answers holds the machine-wide events for 40 s. A progress line every 10 s, then one table.
# Usage: tests/soak/run.sh BIN_FOLDER x64|x86 OUT_DIR, with CYCLES (10000), LANES (4), SEED,
# SHARE (1 cycle in SHARE each for the three 40-second clients: 1000), FAULTS (20 of each),
# ROUNDS (100 of each of 2, 4 and 8 games started together). Exit code 1 on any miss.
set -euo pipefail
bin=$1 arch=$2 out=$3 cycles=${CYCLES:-10000} lanes=${LANES:-4} seed=${SEED:-$(date +%s)}
wrap=scripts/wine/with-wine.sh
[ "$arch" = x86 ] && wrap=tests/wine32/run.sh
rm -rf "$out" && mkdir -p "$out"
echo "soak: $cycles cycles in $lanes lanes, seed $seed, $arch, $(date -u '+%F %H:%M UTC');" \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
began=$(date +%s)
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT # the lanes end with this run
for lane in $(seq 0 "$lanes"); do # lane 0: the games started together
    args=(0 "$seed" 0 0 "${ROUNDS:-100}")
    [ "$lane" = 0 ] || args=("$((cycles / lanes + (lane <= cycles % lanes)))" "$((seed + lane))" \
        "${SHARE:-1000}" "$([ "$lane" = 1 ] && echo "${FAULTS:-20}" || echo 0)" 0)
    "$wrap" sh -c '"$WINE64" "$0" "$@"' "$bin/zi_soak.exe" "${args[@]}" \
        >"$out/lane$lane.log" 2>&1 </dev/null &
done
while sleep 10; do
    echo "soak $(($(date +%s) - began)) s: $(tail -qn1 "$out"/lane*.log | tr -d '\r' | paste -sd';')"
    [ -n "$(jobs -r)" ] || break
done

# The table: "sum" rows added over the lanes, "max" rows the largest, "row" rows as they are.
echo "| soak, $arch, seed $seed, $(($(date +%s) - began)) s | |"
echo "|---|---|"
cat "$out"/lane*.log | tr -d '\r' | awk -v want="$cycles" '
    { at = index($0, " | "); key = substr($0, 5, at - 5); value = substr($0, at + 3) }
    $1 == "sum" { o[key] += value; if (key ~ /^miss/) misses += value }
    $1 == "max" && (!(key in o) || value + 0 > o[key] + 0) { o[key] = value }
    $1 == "row" { o[key] = value }
    /Unhandled exception|[Bb]acktrace/ { crashes++ }
    END {
        o["miss: cycles not run"] = want - o["cycles"]
        o["miss: crashes"] = crashes + 0
        misses += want - o["cycles"] + crashes
        if (o["seconds of the cycles"] > 0)
            o["cycles per minute"] = sprintf("%.0f", o["cycles"] * 60 / o["seconds of the cycles"])
        delete o["seconds of the cycles"]
        o["misses"] = misses + 0
        for (key in o) printf "| %s | %s |\n", key, o[key]
        exit misses > 0
    }' | sort
