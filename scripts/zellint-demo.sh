#!/usr/bin/env bash
# zellint in the demo: the sample profile, then a copy with the mistakes producers make.
#   scripts/zellint-demo.sh ZELLINT GAME-FOLDER OUT-FOLDER
# GAME-FOLDER holds the sample profile and its upsell picture (the demo's game folder).
set -euo pipefail
zellint=$1
game=$2
broken=$3/zellint-broken
rm -rf "$broken"
mkdir -p "$broken"
cp "$game/upsell.bmp" "$broken/"
# A typing error, a second name, a "true" full version, a width read as unsigned, a quote
# in the address, a seventeenth line, and a byte-order mark that hides [Main] on Windows
# once the opening comment is gone.
{
    printf '\xef\xbb\xbf'
    tr -d '\r' <"$game/launch.ini" | sed -e '1,/^\[Main\]/{/^;/d;/^$/d}' \
        -e 's/^GameName=/GameNmae=/' -e 's/^FullVersion=No/FullVersion=true/' \
        -e 's/^UpsellWidth=260/UpsellWidth=-40/' -e 's|^UpsellURL=\(.*\)|UpsellURL=\1?from="demo"|' \
        -e 's/^UpsellLine3=\(.*\)/UpsellLine3=\1\nUpsellLine17=And one more thing.\nGameName=Star Duel/'
} >"$broken/launch.ini"

echo
echo "=== demo: zellint on the sample profile ($game/launch.ini)"
"$zellint" "$game" && echo "demo: zellint found nothing to report (exit 0)"
echo
echo "=== demo: zellint on a broken copy ($broken/launch.ini)"
status=0
"$zellint" "$broken" || status=$?
echo "demo: zellint exit status $status (1: there are errors)"
echo
echo "=== demo: after zellint --fix (the byte-order mark removed, launch.ini.bak kept)"
"$zellint" --fix "$broken" || true
echo
echo "=== demo: what the game will see in the fixed copy (zellint --values, first lines)"
"$zellint" --values "$broken" | head -8
[ "$status" -eq 1 ]
