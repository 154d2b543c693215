#!/usr/bin/env bash
# make preview: zelpreview --zones on each game folder, under Wine on the virtual display that
# scripts/wine/with-wine.sh provides (its depth from ZI_SCREEN), with the display's dots per
# inch set first; the PNGs and a contact sheet (sheet.png) go to OUT-FOLDER.
#
#   ZI_SCREEN=1024x768xDEPTH scripts/wine/with-wine.sh \
#       scripts/preview.sh BIN-FOLDER OUT-FOLDER DPI GAME-FOLDER...
set -euo pipefail

[ $# -ge 4 ] || { echo "usage: scripts/preview.sh BIN-FOLDER OUT-FOLDER DPI GAME-FOLDER..." >&2; exit 2; }
bin=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
# The display's depth, as with-wine.sh made it (its default when ZI_SCREEN is unset).
screen=${ZI_SCREEN:-1024x768x24}
depth=${screen##*x} dpi=$3
shift 3
WINE64=${WINE64:-/usr/lib/wine/wine64}
[ -f "$bin/zelpreview.exe" ] || { echo "preview: $bin/zelpreview.exe is missing (run: make twin)" >&2; exit 2; }

# Wine shows the Unix file system as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

games=()
for game in "$@"; do
    [ -d "$game" ] || { echo "preview: $game is not a folder" >&2; exit 2; }
    games+=("$(windows_path "$(cd "$game" && pwd)")")
done
# A new process reads the display's dots per inch from here.
"$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$WINE64" "$bin/zelpreview.exe" --zones --depth "$depth" --dpi "$dpi" \
    --out "$(windows_path "$out")" --sheet "$(windows_path "$out/sheet.png")" "${games[@]}"
