#!/usr/bin/env bash
# Runs a command with a private Wine prefix on a private virtual display, then stops both.
# Usage: scripts/wine/with-wine.sh COMMAND [ARGS...]; 64-bit unless WINE64 and WINEARCH
# say otherwise (tests/wine32/run.sh).
# Keeps the prefix with ZI_KEEP_PREFIX=1 (its path is printed) for looking around afterwards.
set -euo pipefail

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
for tool in "$WINE64" "$WINESERVER" Xvfb; do
    command -v "$tool" >/dev/null || { echo "with-wine: $tool is missing (run: make deps)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/zi-wine.XXXXXX)
export WINEPREFIX=$work/prefix
export TMPDIR=$work  # Wine leaves a folder per server in TMPDIR: keep it in ours
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no menu entries in $HOME for shortcuts
export WINE64 WINESERVER
xvfb_pid=
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ "${ZI_KEEP_PREFIX:-0}" = 1 ]; then echo "with-wine: prefix kept at $WINEPREFIX"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# Xvfb picks a free display itself and tells us which.
Xvfb -displayfd 3 -screen 0 "${ZI_SCREEN:-1024x768x24}" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "with-wine: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=:$(cat "$work/display")

# A new prefix can fail to create the first window of the first GUI program: prime it.
"$WINE64" wineboot -i >/dev/null 2>&1
"$WINESERVER" -w
# Without a window manager Wine waits about 2 s whenever a managed window closes. No crash
# dialog: a crashing program prints its backtrace and ends instead of waiting unseen.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

"$@"
