#!/usr/bin/env bash
# Checks a DLL as the SDK ships it and a game's loader sees it: PE32 for i386 (x86) or PE32+
# for x86-64 (x64), importing Windows system DLLs only, and exporting exactly the names and
# ordinals of the committed list src/entry/exports-<arch>.txt ("ordinal name" lines): the
# exports are a contract, changed only on purpose, together with that list. And as a game's
# download sees it: the same file as the build's, with the unstripped copy in the build
# folder carrying its build id, no C++ runtime in its link map, its code and everything
# beside the pictures small. (Stripped, and hardened: tests/product/pe_rules.py.)
# Usage: tests/product/check-dll.sh SDK_FOLDER BUILD_FOLDER x86|x64
set -uo pipefail
arch=${3:-x86}
dll=$1/bin/$arch/ZelInterstitial.dll
map=$2/ZelInterstitial.map
built=$2/bin/ZelInterstitial.dll
list=$(dirname "$0")/../../src/entry/exports-$arch.txt
case $arch in
    x86) format=pei-i386 magic=010b ;;
    x64) format=pei-x86-64 magic=020b ;;
    *) echo "usage: $0 SDK_FOLDER BUILD_FOLDER x86|x64" >&2; exit 2 ;;
esac
objdump=x86_64-w64-mingw32-objdump
passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

headers=$($objdump -p "$dll" 2>&1) || { echo "FAILED: cannot read $dll"; echo "0 passed, 1 failed"; exit 1; }
# The format names the machine (objdump recognises no other machine under either name).
check "file format $format" grep -q "file format $format\$" <<<"$headers"
check "optional header magic $magic" grep -qE "^Magic\s+$magic" <<<"$headers"

# WINMM is not among them: it is loaded when the first sound plays.
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
for name in $imports; do
    check "import of $name is a system DLL a game has loaded" grep -qiE "$allowed" <<<"$name"
done
check "imports kernel32" grep -qi '^KERNEL32.dll$' <<<"$imports"

exports=$(llvm-readobj-14 --coff-exports "$dll" | sed -n 's/^ *Ordinal: //p; s/^ *Name: //p' | paste -d' ' - -)
check "exports as listed in $list" diff -u "$list" - <<<"$exports"
sections=$($objdump -h "$dll")
check "the build's copy is the one that ships" cmp -s "$built" "$dll"
# The unstripped copy stays in the build folder, matched to the shipped DLL by its build id.
build_id() { $objdump -p "$1" 2>/dev/null | grep -o 'RSDS signature [0-9a-f]*'; }
id=$(build_id "$dll")
check "a build id, the unstripped copy's the same" test -n "$id" -a "$(build_id "$built.debug")" = "$id"
check "the unstripped copy has its symbols" grep -qE '^ +[0-9]+ \.debug_info' <<<"$($objdump -h "$built.debug")"

# No C++ runtime: the linker was not even offered libstdc++, libsupc++ or the libgcc_s DLL.
check "link map present" test -s "$map"
check "no C++ runtime in the link map" test -z "$(grep -E 'lib(std|sup)c\+\+|libgcc_s' "$map")"

# Sizes: .text at most 40 KiB; the file at most its pictures (.rsrc) plus 64 KiB. A section
# missing from the table counts as too large, or as none for .rsrc, and off a page boundary.
section() { awk -v name="$1" '$2 == name { print $3, $6 }' <<<"$sections"; } # size, file offset (hex)
read -r text _ <<<"$(section .text)"
read -r rsrc rsrc_offset <<<"$(section .rsrc)"
text=$((16#${text:-FFFFF}))
rsrc=$((16#${rsrc:-0}))
file=$(stat -c %s "$dll")
echo "sizes: file $file, .text $text, .rsrc $rsrc, file - .rsrc $((file - rsrc))"
check ".text <= 40 KiB" test "$text" -le $((40 * 1024))
check "file <= .rsrc + 64 KiB" test "$file" -le $((rsrc + 64 * 1024))
check ".rsrc at a page boundary of the file" test $((16#${rsrc_offset:-1} % 4096)) -eq 0
echo "product DLL ($arch): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
