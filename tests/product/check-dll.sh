#!/usr/bin/env bash
# Checks a shipped DLL as a game's loader sees it: PE32 for i386 (x86) or PE32+ for x86-64
# (x64), importing Windows system DLLs only, and exporting exactly the names and ordinals of
# the committed list src/entry/exports-<arch>.txt ("ordinal name" lines): the exports are a
# contract, changed only on purpose, together with that list. And as a game's download sees
# it: stripped, with the unstripped copy named by its debug link, no C++ runtime in its link
# map, its code and everything beside the pictures small.
# Usage: tests/product/check-dll.sh path/to/ZelInterstitial.dll path/to/ZelInterstitial.map x86|x64
set -uo pipefail
dll=$1
map=$2
arch=${3:-x86}
list=$(dirname "$0")/../../src/entry/exports-$arch.txt
case $arch in
    x86) format=pei-i386 magic=010b machine=i386 ;;
    x64) format=pei-x86-64 magic=020b machine=i386:x86-64 ;;
    *) echo "usage: $0 DLL MAP x86|x64" >&2; exit 2 ;;
esac
objdump=x86_64-w64-mingw32-objdump
passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

headers=$($objdump -p "$dll" 2>&1) || { echo "FAILED: cannot read $dll"; echo "0 passed, 1 failed"; exit 1; }
check "file format $format" grep -q "file format $format\$" <<<"$headers"
check "optional header magic $magic" grep -qE "^Magic\s+$magic" <<<"$headers"
check "architecture $machine" grep -qx "architecture: $machine, .*" <<<"$($objdump -f "$dll")"

# WINMM is not among them: it is loaded when the first sound plays.
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
for name in $imports; do
    check "import of $name is a system DLL a game has loaded" grep -qiE "$allowed" <<<"$name"
done
check "imports kernel32" grep -qi '^KERNEL32.dll$' <<<"$imports"

exports=$(llvm-readobj-14 --coff-exports "$dll" | sed -n 's/^ *Ordinal: //p; s/^ *Name: //p' | paste -d' ' - -)
check "exports as listed in $list" diff -u "$list" - <<<"$exports"
# Stripped: no symbol table and no debug sections; the copy the debug link names is beside it.
sections=$($objdump -h "$dll")
check "no symbol table" grep -qx 'no symbols' <<<"$($objdump -t "$dll")"
if [ "$arch" = x86 ]; then # the tools that ship beside it in bin/x86
    for tool in debug_run zellint zelpreview; do
        check "$tool.exe has no symbol table" grep -qx 'no symbols' <<<"$($objdump -t "$(dirname "$dll")/$tool.exe")"
    done
fi
check "no debug sections" test -z "$(grep -E '^ +[0-9]+ \.debug_' <<<"$sections")"
# The section's dump, its text column joined: the file name, then padding and a checksum.
link=$($objdump -s -j .gnu_debuglink "$dll" 2>/dev/null | awk '/^ [0-9a-f]+ / { printf "%s", $NF }' |
    grep -o '^ZelInterstitial\.dll\.debug')
check "debug link to ZelInterstitial.dll.debug" test "$link" = ZelInterstitial.dll.debug
check "unstripped copy beside it" grep -qE '^ +[0-9]+ \.debug_info' \
    <<<"$($objdump -h "$(dirname "$dll")/ZelInterstitial.dll.debug" 2>/dev/null)"

# No C++ runtime: the linker was not even offered libstdc++, libsupc++ or the libgcc_s DLL.
check "link map present" test -s "$map"
check "no C++ runtime in the link map" test -z "$(grep -E 'lib(std|sup)c\+\+|libgcc_s' "$map")"

# Sizes: .text at most 40 KiB; the file at most its pictures (.rsrc) plus 64 KiB.
section_size() {
    local hex
    hex=$(awk -v name="$1" '$2 == name { print $3 }' <<<"$sections")
    [ -n "$hex" ] && echo $((16#$hex))
}
text=$(section_size .text)
rsrc=$(section_size .rsrc)
file=$(stat -c %s "$dll")
echo "sizes: file $file, .text $text, .rsrc $rsrc, file - .rsrc $((file - rsrc))"
check ".text <= 40 KiB" test "${text:-999999}" -le $((40 * 1024))
check "file <= .rsrc + 64 KiB" test "$file" -le $((${rsrc:-0} + 64 * 1024))
rsrc_offset=$(awk '$2 == ".rsrc" { print $6 }' <<<"$sections")
check ".rsrc at a page boundary of the file" test $((16#${rsrc_offset:-1} % 4096)) -eq 0
echo "product DLL ($arch): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
