#!/usr/bin/env bash
# Builds the SDK's examples/ project with find_package from the SDK folder alone, with
# MinGW for i686 and x86_64, and runs each sample game (start and exit, both silent) under
# Wine: 64-bit Wine for x86_64, the tests' 32-bit bed for i686. Each must answer 1 twice.
# Usage: tests/sdk/mingw-consumer.sh SDK_FOLDER WORK_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
sdk=$(cd "$1" && pwd)
work=$2
failed=0
# Each row: the architecture, the bed that runs its game, that bed's Wine and its time limit.
for row in "i686 tests/wine32/run.sh wine 300" "x86_64 scripts/wine/with-wine.sh wine64 120"; do
    read -r arch bed wine seconds <<<"$row"
    build=$work/mingw-$arch
    rm -rf "$build"
    cmake -S "$sdk/examples" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-mingw.cmake" \
        -DCMAKE_PREFIX_PATH="$sdk" -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-static >/dev/null
    cmake --build "$build" >/dev/null
    output=$(cd "$build" && timeout "$seconds" "$root/$bed" "/usr/lib/wine/$wine" sample_game.exe 3 2 2>&1)
    if [ "$(grep -c 'answered 1' <<<"$output")" != 2 ]; then
        echo "FAILED: the $arch MinGW sample game did not answer 1 twice:"
        echo "$output"
        failed=$((failed + 1))
    fi
done
echo "MinGW consumers: $((2 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
