#!/usr/bin/env bash
# The public header compiles, with -Wall -Wextra -Werror, as C89 and as C++ (98 and 17),
# under MinGW GCC and clang's MSVC target, for x86 and x64; in C++ its layout assertions hold
# on each. Usage: tests/header/compile.sh
set -uo pipefail
include=$(cd "$(dirname "$0")/../../include" && pwd)
source='#include "ZelInterstitial.h"
int (*zi_entry)(int) = fnGameBeginEnd;
int zi_version = ZELINTERSTITIAL_VERSION;'
compilers=(
    "i686-w64-mingw32-gcc" "x86_64-w64-mingw32-gcc"
    "clang-14 --target=i686-pc-windows-msvc" "clang-14 --target=x86_64-pc-windows-msvc"
)
failed=0
for compiler in "${compilers[@]}"; do
    for language in "c -std=c89 -pedantic" "c++ -std=c++98" "c++ -std=c++17"; do
        # shellcheck disable=SC2086
        if ! $compiler -x $language -Wall -Wextra -Werror -fsyntax-only -I"$include" - <<<"$source"; then
            echo "FAILED: $compiler -x $language"
            failed=$((failed + 1))
        fi
    done
done
echo "header: $((${#compilers[@]} * 3 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
