#!/usr/bin/env bash
# Runs a command in a bed for 32-bit Windows programs: inside it, $WINE64 is the 32-bit Wine
# loader. Usage: tests/wine32/run.sh COMMAND [ARGS...], e.g.
#   tests/wine32/run.sh tests/wine32/programs.sh BIN_FOLDER tests/wine32/selection.txt
#
# The kernel cannot execute 32-bit ELF, so the i386 Wine loader runs under the user-space
# emulator that scripts/wine32/setup.sh (the install step) put in place. The batch runs in
# one user+mount+pid namespace holding a private binfmt_misc handler for i386 ELF (nothing
# is registered on the machine; it vanishes with the namespace), inside which
# scripts/wine/with-wine.sh gives it one fresh 32-bit prefix and a private display.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
"$root/scripts/wine32/setup.sh" --check || { echo "wine32: 32-bit Wine is not set up (make deps)" >&2; exit 2; }

qemu=${ZI_WINE32_CACHE:-/var/cache/zelinterstitial/wine32}/qemu/usr/bin/qemu-i386
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# Wine re-executes its i386 loader, so the kernel itself must hand every i386 ELF to the
# emulator; "F" opens the emulator now, so it need not be reachable by path later.
handler=":zi-i386:M::$magic:$mask:$qemu:F"

export WINEARCH=win32 WINE64=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver64
# --kill-child: when the batch ends, for whatever reason, every process in it ends too.
exec unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc \
    sh -c 'mount -t binfmt_misc none /proc/sys/fs/binfmt_misc &&
           printf "%s\n" "$0" >/proc/sys/fs/binfmt_misc/register && exec "$@"' "$handler" \
    "$root/scripts/wine/with-wine.sh" "$@"
