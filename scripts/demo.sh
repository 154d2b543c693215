#!/usr/bin/env bash
# The demo: the sample game with ZelInterstitial.dll on the virtual display that
# scripts/wine/with-wine.sh provides. The game runs in a folder of its own with the example
# profile and a sample upsell picture; the game's answers and the library's debug output are
# printed; the start and the exit dialogs are saved as PNG pictures and each is ended with a
# click on its play zone. The game runs three times: without a portal client, then with the
# sample client declining and taking over the launch. Then zelpreview paints the same faces
# without running the game, with each hot zone outlined and explained (OUT-FOLDER/preview).
#
#   scripts/wine/with-wine.sh scripts/demo.sh BIN-FOLDER OUT-FOLDER     (what `make demo` runs)
#
# BIN-FOLDER holds the 64-bit build's sample_game.exe, ZelInterstitial.dll, dialog_demo.exe,
# sample_portal.exe and zelpreview.exe.
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: scripts/demo.sh BIN-FOLDER OUT-FOLDER" >&2; exit 2; }
if [ -z "${DISPLAY:-}" ]; then
    echo "demo: no display; run it through scripts/wine/with-wine.sh" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
WINE64=${WINE64:-/usr/lib/wine/wine64}
for file in sample_game.exe ZelInterstitial.dll dialog_demo.exe sample_portal.exe zelpreview.exe; do
    [ -f "$bin/$file" ] || { echo "demo: $bin/$file is missing (run: make twin)" >&2; exit 2; }
done

# Wine shows the Unix file system as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The game's folder: the program, the library and the profile side by side, as a game ships.
game=$out/game
rm -rf "$game"
mkdir -p "$game"
cp "$bin/sample_game.exe" "$bin/ZelInterstitial.dll" "$game/"
if [ -f "$root/examples/launch.ini" ]; then
    cp "$root/examples/launch.ini" "$game/launch.ini"
else
    printf '[Main]\r\nGameName=Star Duel\r\n[Upsell]\r\nUpsellLine1=Enjoying Star Duel?\r\n' \
        >"$game/launch.ini"
fi

cd "$game"  # the upsell picture is found from the game's working directory
"$WINE64" "$bin/dialog_demo.exe" --sample-upsell upsell.bmp

# Runs the sample game once, saving its dialogs as PNG files named after the scenario.
status=0
shots=()
play() {  # play SCENARIO DESCRIPTION
    echo
    echo "=== demo: $2"
    local start_png=$out/interstitial-$1-start.png exit_png=$out/interstitial-$1-exit.png
    rm -f "$start_png" "$exit_png"
    "$WINE64" "$bin/dialog_demo.exe" "$(windows_path "$start_png")" "$(windows_path "$exit_png")" \
        -- "$(windows_path "$game/sample_game.exe")" 1 0 || status=$?
    # The profile records the portal's verdict, as the library wrote it at start.
    grep -i '^Lumora=' launch.ini | tr -d '\r' | sed 's/^/demo: launch.ini records /' || true
    for png in "$start_png" "$exit_png"; do
        if [ -s "$png" ]; then shots+=("$png"); fi
    done
}

# The stand-in portal client in a folder of its own, for the hand-off scenarios.
portal=$out/portal
rm -rf "$portal"
mkdir -p "$portal"
cp "$bin/sample_portal.exe" "$portal/"
portal_exe=$(windows_path "$portal/sample_portal.exe")

echo "demo: the sample game in $game"
play no-portal "no portal client installed: the dialog at start and at exit"
"$WINE64" "$portal_exe" --register decline
play portal-declines "the portal client declines: the game goes on and shows the dialog"
"$WINE64" "$portal_exe" --register takeover
play portal-takes-over "the portal client takes over: the game quits at once, no dialog"
"$WINE64" "$portal_exe" --unregister
echo
echo "demo: what the portal client received (from $portal/sample_portal.log):"
grep '^command line' "$portal/sample_portal.log" | sed 's/^/demo:   /' || true

# The same faces without running the game: zelpreview paints them through the library, with
# each hot zone outlined and what a click there does.
echo
echo "=== demo: the game's faces through zelpreview, each hot zone explained"
preview_status=0
"$WINE64" "$bin/zelpreview.exe" --zones --out "$(windows_path "$out/preview")" \
    "$(windows_path "$game")" || preview_status=$?

echo
start_png=$out/interstitial-no-portal-start.png
exit_png=$out/interstitial-no-portal-exit.png
missing=0
for png in "${shots[@]}"; do
    echo "demo: screenshot $png"
done
for png in "$start_png" "$exit_png"; do
    if [ ! -s "$png" ]; then
        echo "demo: no screenshot $png" >&2
        missing=1
    fi
done
[ "$status" -eq 0 ] || { echo "demo: the sample game ended with status $status" >&2; exit 1; }
[ "$preview_status" -eq 0 ] || { echo "demo: zelpreview ended with status $preview_status" >&2; exit 1; }
exit "$missing"
