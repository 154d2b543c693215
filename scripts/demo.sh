#!/usr/bin/env bash
# The demo: the sample game with ZelInterstitial.dll on the virtual display that
# scripts/wine/with-wine.sh provides. The game runs in a folder of its own with the example
# profile and a sample upsell picture; the game's answers and the library's debug output are
# printed; the start and the exit dialogs are saved as PNG pictures and each is ended with a
# click on its play zone.
#
#   scripts/wine/with-wine.sh scripts/demo.sh BIN-FOLDER OUT-FOLDER     (what `make demo` runs)
#
# BIN-FOLDER holds the 64-bit build's sample_game.exe, ZelInterstitial.dll and dialog_demo.exe.
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
for file in sample_game.exe ZelInterstitial.dll dialog_demo.exe; do
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

start_png=$out/interstitial-start.png
exit_png=$out/interstitial-exit.png
rm -f "$start_png" "$exit_png"
echo "demo: running the sample game in $game"
status=0
"$WINE64" "$bin/dialog_demo.exe" "$(windows_path "$start_png")" "$(windows_path "$exit_png")" \
    -- "$(windows_path "$game/sample_game.exe")" 1 0 || status=$?
# The game folder's profile now records the portal's verdict, as the library wrote it.
grep -i '^Lumora=' launch.ini | sed 's/^/demo: launch.ini records /' || true

missing=0
for png in "$start_png" "$exit_png"; do
    if [ -s "$png" ]; then
        echo "demo: screenshot $png"
    else
        echo "demo: no screenshot $png" >&2
        missing=1
    fi
done
[ "$status" -eq 0 ] || { echo "demo: the sample game ended with status $status" >&2; exit 1; }
exit "$missing"
