#!/usr/bin/env bash
# Inside tests/wine32/run.sh's bed (a line of selection.txt): the sample setup's whole life.
# A silent install into a folder with a space: every file, the shortcut, the uninstall entry
# and the registration; the installed game run silently; a silent uninstall leaving drive C
# and the registry as they were before. Then an upgrade in place, and an uninstall after the
# DLL was deleted by hand.
# Usage: installer-life.sh BIN_FOLDER (holding sample-setup.exe and the shipped DLL)
set -uo pipefail
bin=$(cd "$1" && pwd) root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(awk '/^#define ZELINTERSTITIAL_VERSION_(MAJOR|MINOR|PATCH|BUILD) /{v=v s $3; s="."} END{print v}' \
    "$root/include/ZelInterstitial.h")
work=$(dirname "$WINEPREFIX")/installer dir='C:\Games\Star Duel' game="$WINEPREFIX/drive_c/Games/Star Duel"
mkdir -p "$work" && cp "$bin/sample-setup.exe" "$work/setup.exe" && setup="Z:${work//\//\\}\\setup.exe"
failed=0
fail() { echo "installer FAIL: $*"; failed=1; }
# NSIS reads /D= and _?= from the raw command line, unquoted: cmd hands it over as written.
raw() { "$WINE64" cmd /c "$*" || fail "exit code $? from: $*"; }
snapshot() { # NAME: the registry as regedit exports it (UTF-8, "\\" as "\") and drive C's files
    "$WINE64" regedit /E "Z:${work//\//\\}\\$1.reg" || fail "regedit /E $1"
    iconv -f UTF-16 -t UTF-8 "$work/$1.reg" | tr -d '\r' | sed 's/\\\\/\\/g' |
        awk '/^\[/ {skip = $0 ~ ENVIRON["skipped"]} !skip' >"$work/$1.txt"
    (cd "$WINEPREFIX/drive_c" && find . | sort) >"$work/$1.files"
}
values() { key="[$2]" awk '$0 == ENVIRON["key"] {on = 1; next} /^\[/ {on = 0} on && NF' "$work/$1.txt" | sort; }
installed() { # NAME: every file, the shortcut, the uninstall entry and the registration
    local size # CreatedRegistrationKey: checked through the registry after the uninstall
    size=$(cd "$game" && cat ZelInterstitial.dll sample_game.exe launch.ini readme.txt uninstall.exe | wc -c) &&
        cmp -s "$game/ZelInterstitial.dll" "$bin/ZelInterstitial.dll" && cmp -s "$game/launch.ini" "$root/examples/launch.ini" &&
        grep -aqF "$dir\\sample_game.exe" "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Star Duel.lnk" ||
        fail "$1: a file is missing or not the shipped one, or no shortcut to the game"
    snapshot "$1"
    diff <(values "$1" 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sample Studio Star Duel' |
        grep -v '^"CreatedRegistrationKey"='
        values "$1" 'HKEY_LOCAL_MACHINE\Software\Classes\Software\Pellago\Preferences' | grep '^"ZelInterstitialDLL"=') - <<EOF ||
"DisplayIcon"="$dir\sample_game.exe"
"DisplayName"="Star Duel"
"DisplayVersion"="$version"
"EstimatedSize"=dword:$(printf %08x $((size / 1024)))
"InstallLocation"="$dir"
"Publisher"="Sample Studio"
"QuietUninstallString"="\"$dir\uninstall.exe\" /S"
"UninstallString"="\"$dir\uninstall.exe\""
"ZelInterstitialDLL"="$dir\ZelInterstitial.dll"
EOF
        fail "$1: the uninstall entry or the registration differs (< found, > expected)"
}
uninstalled() { # NAME: silently, waited for (started with _?=, it does not copy itself away)
    cp "$game/uninstall.exe" "$work/" && raw "Z:${work//\//\\}\\uninstall.exe /S _?=$dir"
    rm -f "$work/uninstall.exe" && snapshot "$1"
    diff "$work/before.files" "$work/$1.files" && diff "$work/before.txt" "$work/$1.txt" ||
        fail "$1: drive C or the registry differs from before the install (> after)"
}

# The display opened first: Wine then writes the volatile keys of its display devices, and
# may write them again later, so the comparison skips them: HKEY_LOCAL_MACHINE\Hardware; under
# HKEY_LOCAL_MACHINE\System\CurrentControlSet, Hardware Profiles, Control\Video,
# Control\DeviceClasses and Control\Class\{4D36E968-...} (the display class); the user's
# Software\Wine\Temporary System Parameters under HKEY_USERS.
export skipped='^\[HKEY_(LOCAL_MACHINE\\(Hardware|System\\CurrentControlSet\\(Hardware Profiles|Control\\(Video|DeviceClasses|Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\})))|USERS\\[^\\]+\\Software\\Wine\\Temporary System Parameters)[]\\]'
"$WINE64" rundll32.exe user32.dll,UpdateWindow
snapshot before
raw "$setup /S /D=$dir" && installed installed
out=$(cd "$game" && "$WINE64" sample_game.exe 3 2) # silent; no portal client: it goes on
[ "$(grep -c 'answered 1' <<<"$out")" = 2 ] && grep -q '^Lumora=No' "$game/launch.ini" ||
    fail "the installed game answered: $out"
uninstalled uninstalled
# An upgrade in place over an earlier DLL, registered elsewhere with a value as long as the
# library's own (which registration rewrites).
raw "$setup /S /D=$dir" && echo old >>"$game/ZelInterstitial.dll"
"$WINE64" reg add 'HKCR\Software\Pellago\Preferences' /v ZelInterstitialDLL /f \
    /d "$(printf 'C:\\Games\\Star Duel 0.9\\%0217d\\ZelInterstitial.dll' 0)" >/dev/null
raw "$setup /S /D=$dir" && installed upgraded
rm "$game/ZelInterstitial.dll" # by hand: the uninstaller cannot call it, and removes all
uninstalled uninstalled-without-dll
exit "$failed"
