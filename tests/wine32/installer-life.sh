#!/usr/bin/env bash
# Inside tests/wine32/run.sh's bed (a line of selection.txt): the sample setup's whole life.
# Install silently into a folder with a space, check every file, the shortcut, the uninstall
# entry and the registration; run the installed game; uninstall and check that nothing is
# left, the registry equal to its export from before. Then an install upgraded in place, and
# an uninstall after the DLL was deleted by hand.
# Usage: installer-life.sh BIN_FOLDER (holding sample-setup.exe and the shipped DLL)
set -uo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(awk '/^#define ZELINTERSTITIAL_VERSION_(MAJOR|MINOR|PATCH|BUILD) /{v=v s $3; s="."} END{print v}' \
    "$root/include/ZelInterstitial.h")
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" # no menu entries in $HOME
work=$(dirname "$WINEPREFIX")/installer
mkdir -p "$work"
drive=$WINEPREFIX/drive_c
dir='C:\Games\Star Duel'
game="$drive/Games/Star Duel"
link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Star Duel.lnk"
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sample Studio Star Duel'
registration_key='HKEY_LOCAL_MACHINE\Software\Classes\Software\Pellago\Preferences'
failed=0
fail() { echo "installer FAIL: $*"; failed=1; }

# NSIS reads /D= and _?= from the raw command line, unquoted: cmd hands it over as written.
raw() { "$WINE64" cmd /c "$*" || fail "exit code $? from: $*"; }
# The whole registry, as regedit exports it, in UTF-8.
snapshot() {
    "$WINE64" regedit /E "Z:${work//\//\\}\\$1.reg" || fail "regedit /E $1"
    iconv -f UTF-16 -t UTF-8 "$work/$1.reg" | tr -d '\r' >"$work/$1.txt"
    (cd "$drive" && find . | sort) >"$work/$1.files"
}
# The values of one key in a snapshot, sorted.
values() { key="[$2]" awk '$0 == ENVIRON["key"] {on = 1; next} /^\[/ {on = 0} on && NF' "$work/$1.txt" | sort; }
q() { printf '"%s"' "$(sed 's/\\/\\\\/g; s/"/\\"/g' <<<"$1")"; } # a string as regedit writes it

installed() { # SNAPSHOT: every file, the shortcut, the uninstall entry, the registration
    local f size=0
    for f in ZelInterstitial.dll sample_game.exe launch.ini readme.txt uninstall.exe; do
        [ -s "$game/$f" ] || fail "$1: $f is not installed"
        size=$((size + $(stat -c %s "$game/$f" 2>/dev/null || echo 0)))
    done
    cmp -s "$game/ZelInterstitial.dll" "$bin/ZelInterstitial.dll" || fail "$1: not the shipped DLL"
    cmp -s "$game/launch.ini" "$root/examples/launch.ini" || fail "$1: not the sample launch.ini"
    grep -aqF "$dir\\sample_game.exe" "$link" 2>/dev/null || fail "$1: no shortcut to the game"
    snapshot "$1"
    local created= key # the first registration key missing before: it is to go at uninstall
    for key in Software 'Software\Pellago' 'Software\Pellago\Preferences'; do
        grep -qxF "[HKEY_LOCAL_MACHINE\Software\Classes\\$key]" "$work/before.txt" || { created=$key; break; }
    done
    diff <(values "$1" "$uninstall_key") <(sort <<EOF2
"CreatedRegistrationKey"=$(q "$created")
"DisplayIcon"=$(q "$dir\\sample_game.exe")
"DisplayName"="Star Duel"
"DisplayVersion"="$version"
"EstimatedSize"=dword:$(printf %08x $((size / 1024)))
"InstallLocation"=$(q "$dir")
"NoModify"=dword:00000001
"NoRepair"=dword:00000001
"Publisher"="Sample Studio"
"QuietUninstallString"=$(q "\"$dir\\uninstall.exe\" /S")
"UninstallString"=$(q "\"$dir\\uninstall.exe\"")
EOF2
    ) || fail "$1: the uninstall entry differs (< found, > expected)"
    local registered=$(values "$1" "$registration_key" | grep '^"ZelInterstitialDLL"=')
    [ "$registered" = "\"ZelInterstitialDLL\"=$(q "$dir\\ZelInterstitial.dll")" ] ||
        fail "$1: the registration does not name the installed DLL: $registered"
}

# The one key that Wine itself changes between two exports: the display driver records its
# video device when a program first opens the display.
export skipped='[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Video\'
unregistered() { # SNAPSHOT: uninstalled, and nothing left behind
    cp "$game/uninstall.exe" "$work/uninstall.exe" || fail "$1: no uninstaller"
    raw "Z:${work//\//\\}\\uninstall.exe /S _?=$dir" # waited for: it does not copy itself away
    rm -f "$work/uninstall.exe"
    snapshot "$1"
    diff "$work/before.files" "$work/$1.files" || fail "$1: files left or removed (> left)"
    diff <(awk '/^\[/ {skip = index($0, ENVIRON["skipped"]) == 1} !skip' "$work/before.txt") \
        <(awk '/^\[/ {skip = index($0, ENVIRON["skipped"]) == 1} !skip' "$work/$1.txt") ||
        fail "$1: the registry differs from before the install (> after)"
}

setup="Z:${work//\//\\}\\setup.exe"
cp "$bin/sample-setup.exe" "$work/setup.exe"
snapshot before
raw "$setup /S /D=$dir"
installed installed
# The installed game, silently at start (3) and at exit (2): no portal client, so it goes on.
out=$(cd "$game" && "$WINE64" sample_game.exe 3 2 | tr -d '\r')
[ "$(grep -c 'answered 1' <<<"$out")" = 2 ] || fail "the installed game answered: $out"
grep -qi '^Lumora=No' "$game/launch.ini" || fail "the game did not record the verdict in launch.ini"
unregistered uninstalled

# An upgrade in place: the earlier DLL differs and its registration names another file (a
# value as long as the library's own, so that registration rewrites it).
raw "$setup /S /D=$dir"
echo old >>"$game/ZelInterstitial.dll"
stale=$(printf 'C:\\Games\\Star Duel 0.9\\%0217d\\ZelInterstitial.dll' 0)
"$WINE64" reg add 'HKCR\Software\Pellago\Preferences' /v ZelInterstitialDLL /d "$stale" /f >/dev/null
raw "$setup /S /D=$dir"
installed upgraded
# The DLL deleted by hand: the uninstaller cannot call it, and still removes everything.
rm "$game/ZelInterstitial.dll"
unregistered uninstalled-without-dll
[ "$failed" = 0 ] && echo "installer: installed, run, upgraded and uninstalled; nothing left"
exit "$failed"
