#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and this machine
# lacks. Quiet and quick when everything is there.
set -euo pipefail

# command-or-file  package
needs=(
    "cmake cmake"
    "make make"
    "g++ g++"
    "clang++ clang"
    "clang-format clang-format"
    "/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev"
    "/usr/src/googletest/CMakeLists.txt googletest"
    "i686-w64-mingw32-g++-win32 g++-mingw-w64-i686-win32"
    "i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix"
    "x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix"
    "x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64-win32"
    "clang++-14 clang-14"
    "llvm-dlltool-14 llvm-14"
    "lld-link lld"
    "i686-w64-mingw32-windres binutils-mingw-w64-i686"
    "x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64"
    "/usr/lib/wine/wine64 wine64"
    "Xvfb xvfb"
    "python3 python3"
    "/usr/include/freetype2/ft2build.h libfreetype-dev"
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf fonts-dejavu-core"
    "/usr/include/zlib.h zlib1g-dev"
    "/usr/i686-w64-mingw32/lib/libz.a libz-mingw-w64-dev"
    "zip zip"
    "openssl openssl"
    "osslsigncode osslsigncode"
    "makensis nsis"
)

missing=()
for need in "${needs[@]}"; do
    read -r what package <<<"$need"
    if [[ $what == /* ]]; then [ -e "$what" ] && continue; else command -v "$what" >/dev/null && continue; fi
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    if [ "$(id -u)" != 0 ]; then
        echo "install-deps: run as root (or install these packages): ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update -qq ||
        echo "install-deps: apt-get update reported errors; trying the install anyway" >&2
    apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine under an i386 emulator, for the shipped DLL's tests: a quick check once it is
# in place (root the first time). Without it the shipped 32-bit DLL would go untested.
"$(dirname "$0")/wine32/setup.sh" || { echo "install-deps: 32-bit Wine cannot be set up (see above)" >&2; exit 1; }
