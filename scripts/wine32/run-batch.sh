#!/usr/bin/env bash
# Runs a batch of 32-bit Windows programs under 32-bit Wine on an x86_64
# machine whose kernel cannot execute 32-bit ELF: the i386 Wine loader runs
# under the user-space emulator that setup.sh put in our cache folder.
#
# Usage: scripts/wine32/run-batch.sh [-f LIST]... [COMMAND]...
#   COMMAND  one program and its arguments in one shell word, separated by
#            spaces: "build/w32/foo_test.exe child 3". No quoting inside, so
#            no spaces in paths or arguments.
#   -f LIST  a file with one such command line per line; blank lines and
#            lines starting with # are skipped.
# Programs run one after another, in the caller's working directory, with
# stdin from /dev/null. Exit status: 0 when every program exited with 0, 1
# when any failed or timed out, 2 for a usage or setup problem.
#
# All programs share one fresh 32-bit prefix and one wineserver, inside one
# user+mount+pid namespace that holds a private binfmt_misc handler for i386
# ELF (nothing is registered on the machine; it vanishes with the namespace).
#
# Environment:
#   ZI_WINE32_CACHE    where setup.sh put the emulator (same default)
#   ZI_WINE32_TIMEOUT  seconds each program may run (default 120)
#   ZI_WINE32_DISPLAY  X display to use instead of a private Xvfb
#   ZI_WINE32_SCREEN   size of the private Xvfb's screen (default 1024x768x24)
#   ZI_WINE32_PREFIX   keep the prefix at this path and reuse it next time
#                      (saves the priming, ~13 s) instead of a fresh one
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${ZI_WINE32_CACHE:-/var/cache/zelinterstitial/wine32}
qemu=$cache/qemu/usr/bin/qemu-i386
wine=/usr/lib/wine/wine

say() { echo "wine32: $*" >&2; }
die() { echo "wine32: error: $*" >&2; exit 2; }

now() { echo "${EPOCHREALTIME/,/.}"; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# ---------------------------------------------------------------------------
# Inside the namespace: $2 is the file of resolved command lines.
if [ "${1:-}" = --inside ]; then
    list=$2
    # A binfmt_misc instance of this user namespace's own (kernel 6.7+), so
    # the handler below is seen by our processes only.
    mount -t binfmt_misc none /proc/sys/fs/binfmt_misc 2>/dev/null \
        || { echo "wine32: error: cannot mount a private binfmt_misc (needs kernel 6.7 or later)" >&2; exit 97; }
    # Wine re-executes its i386 loader, so running the emulator by hand is not
    # enough: the kernel must hand every i386 ELF to it. "F" opens the
    # emulator now, so it need not be reachable by path later.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":zi-i386:M::$magic:$mask:$ZI_W32_QEMU:F" > /proc/sys/fs/binfmt_misc/register \
        || { echo "wine32: error: cannot register the i386 handler" >&2; exit 98; }

    export WINEPREFIX=$ZI_W32_PREFIX WINEARCH=win32 WINEDEBUG=-all
    # Empty overrides disable the .NET and HTML engines, whose first-run
    # install prompts would otherwise stall the priming.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The 64-bit wineserver serves 32-bit clients and runs natively, not
    # under the emulator; the 32-bit one is the fallback.
    if [ -x /usr/lib/wine/wineserver64 ]; then
        WINESERVER=/usr/lib/wine/wineserver64
    else
        WINESERVER=/usr/lib/wine/wineserver32
    fi
    export WINESERVER

    # Wine links the profile's Desktop, Documents and the like to $HOME: a
    # home of the prefix's own keeps what the tests save out of the real one.
    export HOME=$WINEPREFIX/unix-home
    # Debian's Wine puts each server's socket folder in a new $TMPDIR/wine-*
    # and leaves it behind; ours go with the batch's work folder.
    work=$(dirname "$list")
    export TMPDIR=$work/tmp
    mkdir -p "$HOME" "$TMPDIR"
    # One server for the whole batch: each program then starts in well under
    # a second instead of 3-5 s.
    "$WINESERVER" -p 60
    restart_server() {
        "$WINESERVER" -k 2>/dev/null || true
        "$WINESERVER" -w 2>/dev/null || true
        "$WINESERVER" -p 60
    }

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        t=$(now)
        # wineboot complains about the working directory while the prefix it
        # is making is still empty; its messages matter only if it fails.
        if ! timeout -k 10 300 "$wine" wineboot.exe -i </dev/null >"$work/wineboot.log" 2>&1; then
            cat "$work/wineboot.log" >&2
            echo "wine32: error: priming the prefix failed" >&2
            exit 99
        fi
        # Unmanaged windows: with no window manager, managed ones make
        # DestroyWindow wait for the X server in vain. No crash dialog: a
        # crashing program prints its backtrace to stderr and ends, where the
        # dialog would wait on the invisible display until the timeout.
        printf '%s\r\n' 'REGEDIT4' '' \
            '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
            '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
            >"$work/settings.reg"
        if ! timeout -k 10 120 "$wine" reg.exe import "$work/settings.reg" </dev/null >"$work/reg.log" 2>&1; then
            cat "$work/reg.log" >&2
            echo "wine32: error: cannot import the prefix settings" >&2
            exit 99
        fi
        echo "wine32: prefix primed in $(since "$t") s" >&2
    fi

    failed=()
    n=$(wc -l <"$list")
    i=0
    while IFS= read -r line; do
        i=$((i + 1))
        read -r -a words <<<"$line"
        echo "=== wine32 [$i/$n] $line"
        t=$(now)
        set +e
        timeout -k 10 "$ZI_W32_TIMEOUT" "$wine" "${words[@]}" </dev/null
        rc=$?
        set -e
        took=$(since "$t")
        if [ "$rc" = 0 ]; then
            echo "--- wine32 [$i/$n] PASS ($took s): $line"
            continue
        elif [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
            echo "--- wine32 [$i/$n] FAIL: timed out after $ZI_W32_TIMEOUT s: $line"
            failed+=("$line (timed out)")
        else
            echo "--- wine32 [$i/$n] FAIL: exit code $rc ($took s): $line"
            failed+=("$line (exit code $rc)")
        fi
        # A failed program may leave children, windows or a debugger behind;
        # after a crash, the next program's first window took 11 s. A new
        # server (and with it new service processes) costs about 2 s.
        if [ "$i" -lt "$n" ]; then restart_server; fi
    done <"$list"

    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true

    echo "wine32: $n program(s), $((n - ${#failed[@]})) passed, ${#failed[@]} failed"
    for f in "${failed[@]}"; do echo "wine32:   FAIL $f"; done
    [ ${#failed[@]} = 0 ]
    exit
fi

# ---------------------------------------------------------------------------
# Outside: collect and check the command lines, start the display, enter the
# namespace.
lines=()
add_line() {
    local words exe
    read -r -a words <<<"$1"
    [ ${#words[@]} -gt 0 ] || return 0
    case ${words[0]} in '#'*) return 0 ;; esac
    exe=${words[0]}
    [ -f "$exe" ] || die "no such program: $exe"
    words[0]=$(realpath "$exe")
    lines+=("${words[*]}")
}
while [ $# -gt 0 ]; do
    case $1 in
    -f)
        if [ $# -lt 2 ] || [ ! -f "$2" ]; then die "-f needs a readable list file"; fi
        while IFS= read -r l || [ -n "$l" ]; do add_line "$l"; done <"$2"
        shift 2
        ;;
    -h | --help)
        sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
        exit 0
        ;;
    --) shift; for a in "$@"; do add_line "$a"; done; break ;;
    -*) die "unknown option $1 (see --help)" ;;
    *) add_line "$1"; shift ;;
    esac
done
[ ${#lines[@]} -gt 0 ] || die "no programs given (see --help)"

"$here/setup.sh" --check || die "the 32-bit Wine bed is not set up; run scripts/wine32/setup.sh as root"
command -v unshare >/dev/null || die "unshare (util-linux) is missing"
timeout=${ZI_WINE32_TIMEOUT:-120}
case $timeout in '' | *[!0-9]*) die "ZI_WINE32_TIMEOUT must be a number of seconds" ;; esac

start=$(now)
work=$(mktemp -d "${TMPDIR:-/tmp}/zi-wine32.XXXXXX")
xvfb_pid=
ns_pid=
# shellcheck disable=SC2317 # stop and cleanup run from the traps
stop() { # $1: signal, $2: pid of a child of ours
    kill "-$1" "$2" 2>/dev/null || true
    wait "$2" 2>/dev/null || true
}
# shellcheck disable=SC2317
cleanup() { # run by the EXIT trap
    # The namespace first: its wineserver and programs use the prefix and
    # the display. unshare ignores SIGTERM while it waits for its child, so
    # it gets SIGKILL, which --kill-child passes on to the whole namespace.
    [ -z "$ns_pid" ] || stop KILL "$ns_pid"
    [ -z "$xvfb_pid" ] || stop TERM "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'say "interrupted"; exit 130' INT TERM HUP

printf '%s\n' "${lines[@]}" >"$work/list"

if [ -n "${ZI_WINE32_DISPLAY:-}" ]; then
    display=$ZI_WINE32_DISPLAY
else
    # -displayfd lets the server take the first free display number itself,
    # so two batches at once cannot pick the same one.
    Xvfb -displayfd 3 -nolisten tcp -screen 0 "${ZI_WINE32_SCREEN:-1024x768x24}" 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; die "Xvfb did not start"; }
        sleep 0.1
    done
    [ -s "$work/display" ] || die "Xvfb gave no display number within 10 s"
    display=:$(tr -d '\n' <"$work/display")
fi

prefix=${ZI_WINE32_PREFIX:-$work/prefix}
say "${#lines[@]} program(s), display $display, prefix $prefix"

# --pid with --kill-child: when unshare ends, for whatever reason, every
# process of the batch (programs, wineserver, Wine's services) ends with it.
# Started in the background so that the traps above run at once on a signal.
DISPLAY=$display ZI_W32_QEMU=$qemu ZI_W32_PREFIX=$prefix ZI_W32_TIMEOUT=$timeout \
    unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc \
    "$0" --inside "$work/list" &
ns_pid=$!
rc=0
wait "$ns_pid" || rc=$?
ns_pid=
case $rc in
0 | 1) ;;
97 | 98 | 99) say "the batch could not start (code $rc)"; rc=2 ;;
*) say "the batch ended abnormally (code $rc)"; rc=2 ;;
esac
say "batch took $(since "$start") s"
exit $rc
