#!/usr/bin/env bash
# Checks the shipped DLL as a game's loader sees it: PE32 for i386, importing Windows system
# DLLs only, exporting the entry point, the registration functions and the whole class. And
# as a game's download sees it: stripped, with the unstripped copy named by its debug link,
# no C++ runtime in its link map, its code and everything beside the pictures small.
# Usage: scripts/check-product-dll.sh path/to/ZelInterstitial.dll path/to/ZelInterstitial.map
set -uo pipefail
dll=$1
map=$2
objdump=i686-w64-mingw32-objdump
passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

headers=$($objdump -p "$dll" 2>&1) || { echo "FAILED: cannot read $dll"; echo "0 passed, 1 failed"; exit 1; }
check "file format pei-i386" grep -q 'file format pei-i386' <<<"$headers"
check "PE32 optional header (magic 010b)" grep -qE '^Magic\s+010b' <<<"$headers"
check "architecture i386" grep -qx 'architecture: i386, .*' <<<"$($objdump -f "$dll")"

# WINMM is not among them: it is loaded when the first sound plays.
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
for name in $imports; do
    check "import of $name is a system DLL a game has loaded" grep -qiE "$allowed" <<<"$name"
done
check "imports kernel32" grep -qi '^KERNEL32.dll$' <<<"$imports"

exports=$(sed -n 's/^\s*\[ *[0-9]*\] \([A-Za-z_][A-Za-z0-9_@]*\)$/\1/p' <<<"$headers")
expected=(
    fnGameBeginEnd DllRegisterServer DllUnRegisterServer DllUnregisterServer
    _ZN13CInterstitialC1Ev _ZN13CInterstitialD1Ev _ZN13CInterstitialaSERKS_
    _ZN13CInterstitial9BeginGameEi _ZN13CInterstitial7EndGameEi
    _ZN13CInterstitial13GetTovrinPathEv _ZN13CInterstitial12GetTamselUrlEv
    _ZN13CInterstitial12GetUpsellUrlEv _ZN13CInterstitial11GetGameNameEv
    _ZN13CInterstitial11DrawLogoBtnEP17tagDRAWITEMSTRUCT _ZN13CInterstitial14SetProfilePathEPc
    _ZN13CInterstitial11LoadProfileEPc _ZN13CInterstitial9SetRegionEi
    _ZN13CInterstitial9GetRegionEv _ZN13CInterstitial16ShowLaunchDialogEP6HWND__
    _ZN13CInterstitial12ShowGameNameEP6HWND__ _ZN13CInterstitial17ShowOrsoloGraphicEP6HWND__
    _ZN13CInterstitial16ShowButtonLabelsEP6HWND__ _ZN13CInterstitial13ShowGamesTextEP6HWND__
    _ZN13CInterstitial17ShowUpsellGraphicEP6HWND__ _ZN13CInterstitial14ShowUpsellTextEP6HWND__
    _ZN13CInterstitial11PlaceBitmapEP6HWND__PcP8tagPOINT
)
for name in "${expected[@]}"; do
    check "export $name" grep -qx "$name" <<<"$exports"
done
# Stripped: no symbol table and no debug sections; the copy the debug link names is beside it.
sections=$($objdump -h "$dll")
check "no symbol table" grep -qx 'no symbols' <<<"$($objdump -t "$dll")"
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
echo "product DLL: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
