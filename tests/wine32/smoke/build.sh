#!/usr/bin/env bash
# Builds the 32-bit Wine smoke test (smoke.exe and smoke_lib.dll) with MinGW.
#
# Usage: tests/wine32/smoke/build.sh [output folder]   (default build/wine32-smoke)
# Then:  scripts/wine32/run-batch.sh build/wine32-smoke/smoke.exe
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
out=${1:-$repo/build/wine32-smoke}
cxx=${CXX_I686:-i686-w64-mingw32-g++}
flags=(-O2 -Wall -Wextra -static-libgcc -static-libstdc++)

mkdir -p "$out"
"$cxx" "${flags[@]}" -shared -o "$out/smoke_lib.dll" "$here/smoke_lib.cpp" \
    -Wl,--kill-at -Wl,--out-implib,"$out/libsmoke_lib.a"
"$cxx" "${flags[@]}" -o "$out/smoke.exe" "$here/smoke.cpp" "$out/libsmoke_lib.a" -luser32 -lgdi32
echo "built $out/smoke.exe and $out/smoke_lib.dll"
