#!/usr/bin/env bash
# Builds msvc_consumer.cpp as Visual Studio would (clang's MSVC target, lld-link, no C
# runtime) against an SDK folder, and puts it in OUT with the SDK's DLL and the sample
# launch.ini. Usage: tests/sdk/build-msvc-consumer.sh SDK_FOLDER x86|x64 OUT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sdk=$1 arch=$2 out=$3
case $arch in
    x86) target=i686-pc-windows-msvc machine=i386 ;;
    x64) target=x86_64-pc-windows-msvc machine=i386:x86-64 ;;
    *) echo "usage: $0 SDK x86|x64 OUT" >&2; exit 2 ;;
esac
mkdir -p "$out"
# The three kernel32 functions it uses; no Windows SDK here, so their import library too.
if [ "$arch" = x64 ]; then sed 's/@[0-9]*$//' "$here/kernel32.def"; else cat "$here/kernel32.def"; fi \
    >"$out/kernel32.def"
llvm-dlltool-14 -m $machine -k -d "$out/kernel32.def" -l "$out/kernel32.lib"
clang++-14 --target=$target -O2 -fno-exceptions -fno-rtti -std=c++17 -Wall -Wextra -Werror \
    -I"$sdk/include" -c "$here/msvc_consumer.cpp" -o "$out/msvc_consumer.obj"
lld-link -nologo -entry:mainCRTStartup -subsystem:console -nodefaultlib -out:"$out/msvc_consumer_$arch.exe" \
    "$out/msvc_consumer.obj" "$sdk/lib/$arch/ZelInterstitial.lib" "$out/kernel32.lib"
cp "$sdk/bin/$arch/ZelInterstitial.dll" "$sdk/examples/launch.ini" "$out/"
