#!/usr/bin/env bash
# make bench: runs zi_bench in a folder of its own (the program, both DLLs, the sample
# game's launch.ini and the sample portal client), then prints the shipped DLL's sizes.
# Usage (under scripts/wine/with-wine.sh): bench/run.sh TWIN_BIN SHIPPED_DLL OUT_DIR
set -euo pipefail
bin=$1
shipped=$2
out=$3
rm -rf "$out" && mkdir -p "$out"
cp "$bin"/zi_bench.exe "$bin"/zi_bench_floor.dll "$bin"/ZelInterstitial.dll \
    "$bin"/sample_portal.exe examples/launch.ini "$out"/
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores;" \
    "load before the run: $(cut -d' ' -f1-3 /proc/loadavg); $(${WINE64:-wine64} --version)"
echo
(cd "$out" && "${WINE64:-wine64}" zi_bench.exe)
echo
bench/sizes.py "$shipped"
