#!/usr/bin/env bash
# Puts in place what run-batch.sh needs to run 32-bit Windows programs on an
# x86_64 Debian bookworm machine whose kernel cannot execute 32-bit ELF:
# a user-space i386 emulator (kept in our own cache folder) and 32-bit Wine.
#
# Usage: scripts/wine32/setup.sh [--check]
#   --check   only report whether everything is in place (exit 0 or 1).
# Needs root (it installs wine32:i386). Idempotent: a second run only checks.
#
# Environment:
#   ZEL_WINE32_CACHE   cache folder (default /var/cache/zelinterstitial/wine32)
#   ZEL_DEBIAN_MIRROR  Debian archive (default http://deb.debian.org/debian)
#   ZEL_QEMU_VERSION   exact qemu-user version to fetch (default: whatever
#                      bookworm-backports offers)
set -euo pipefail

cache=${ZEL_WINE32_CACHE:-/var/cache/zelinterstitial/wine32}
mirror=${ZEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
qemu=$cache/qemu/usr/bin/qemu-i386
wine_loader=/usr/lib/wine/wine

die() { echo "wine32 setup: error: $*" >&2; exit 1; }
note() { echo "wine32 setup: $*" >&2; }

# The bookworm emulator (7.2) ignores MAP_FIXED_NOREPLACE and takes about a
# minute to start each 32-bit Wine process, so anything before 8 is refused.
qemu_ok() {
    [ -x "$qemu" ] || return 1
    local major
    major=$("$qemu" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
    [ -n "$major" ] && [ "$major" -ge 8 ]
}

wine32_ok() {
    dpkg --print-foreign-architectures | grep -qx i386 || return 1
    [ "$(dpkg-query -W -f='${db:Status-Status}' wine32:i386 2>/dev/null)" = installed ] || return 1
    [ -x "$wine_loader" ]
}

xvfb_ok() { command -v Xvfb >/dev/null; }

all_ok() { qemu_ok && wine32_ok && xvfb_ok; }

if [ "${1:-}" = --check ]; then
    ok=0
    qemu_ok || { note "missing: i386 emulator >= 8 at $qemu"; ok=1; }
    wine32_ok || { note "missing: wine32:i386"; ok=1; }
    xvfb_ok || { note "missing: Xvfb"; ok=1; }
    exit $ok
fi

all_ok && exit 0

[ "$(id -u)" = 0 ] || die "must run as root (installs wine32:i386 and writes $cache)"
mkdir -p "$cache"
# Two setups at once (make -j, two checkouts) would race on apt and the cache.
exec 9>"$cache/setup.lock"
flock 9
all_ok && exit 0

apt_get() { apt-get -o DPkg::Lock::Timeout=600 "$@"; }

# apt options that make apt-get read only the given sources list and keep its
# index and download cache in our folder, leaving the system's apt state alone.
private_apt_opts() {
    local name=$1
    mkdir -p "$cache/apt/$name/lists/partial" "$cache/apt/$name/cache/archives/partial" \
        "$cache/apt/empty.d"
    echo "-o Dir::Etc::SourceList=$cache/apt/$name.list" \
        "-o Dir::Etc::SourceParts=$cache/apt/empty.d" \
        "-o Dir::State::Lists=$cache/apt/$name/lists" \
        "-o Dir::Cache=$cache/apt/$name/cache"
}

fetch_qemu() {
    note "fetching qemu-user from bookworm-backports into $cache/qemu"
    mkdir -p "$cache/apt"
    echo "deb [arch=amd64 signed-by=$keyring] $mirror bookworm-backports main" \
        > "$cache/apt/backports.list"
    local opts
    opts=$(private_apt_opts backports)
    # shellcheck disable=SC2086 # $opts is a list of words on purpose
    apt_get $opts -o APT::Architectures::=amd64 -q update \
        || die "apt-get update of bookworm-backports failed (network? mirror $mirror)"
    local want=qemu-user/bookworm-backports
    [ -n "${ZEL_QEMU_VERSION:-}" ] && want=qemu-user=$ZEL_QEMU_VERSION
    local dl=$cache/apt/download
    rm -rf "$dl" && mkdir -p "$dl"
    # shellcheck disable=SC2086
    (cd "$dl" && apt_get $opts -o APT::Architectures::=amd64 -q download "$want") \
        || die "apt-get download $want failed"
    local deb
    deb=$(ls "$dl"/qemu-user_*.deb 2>/dev/null | head -n1)
    [ -n "$deb" ] || die "no qemu-user .deb was downloaded"
    rm -rf "$cache/qemu.new"
    dpkg-deb -x "$deb" "$cache/qemu.new" || die "cannot unpack $deb"
    # The backports package carries static binaries; a dynamic one would need
    # the matching shared libraries and is of no use here.
    [ -x "$cache/qemu.new/usr/bin/qemu-i386" ] || die "$deb has no usr/bin/qemu-i386"
    if file -L "$cache/qemu.new/usr/bin/qemu-i386" 2>/dev/null | grep -q 'dynamically linked'; then
        die "$deb carries a dynamically linked qemu-i386; a static one is needed"
    fi
    rm -rf "$cache/qemu.old"
    [ -e "$cache/qemu" ] && mv "$cache/qemu" "$cache/qemu.old"
    mv "$cache/qemu.new" "$cache/qemu"
    rm -rf "$cache/qemu.old" "$dl"
    qemu_ok || die "$qemu is not a usable qemu-i386 8 or later: $("$qemu" --version 2>&1 | head -n1)"
    note "emulator: $("$qemu" --version | head -n1)"
}

install_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        note "adding the i386 architecture to dpkg"
        dpkg --add-architecture i386
    fi
    # Only what the 32-bit loader needs; the recommended GL/Vulkan/media stack
    # would only lengthen the install and is not used by our tests.
    local pkgs=(wine32:i386)
    xvfb_ok || pkgs+=(xvfb)
    note "installing ${pkgs[*]} with the system's sources"
    if apt_get -q update && DEBIAN_FRONTEND=noninteractive apt_get -q -y --no-install-recommends install "${pkgs[@]}"; then
        return 0
    fi
    # The security archive's i386 index sometimes fails to download ("File has
    # unexpected size"); the i386 and amd64 library versions then disagree and
    # the install fails. bookworm and bookworm-updates alone are consistent.
    note "install with the system's sources failed; retrying with bookworm and bookworm-updates only"
    {
        echo "deb [arch=amd64,i386 signed-by=$keyring] $mirror bookworm main"
        echo "deb [arch=amd64,i386 signed-by=$keyring] $mirror bookworm-updates main"
    } > "$cache/apt/main.list"
    local opts
    opts=$(private_apt_opts main)
    # shellcheck disable=SC2086
    apt_get $opts -q update || die "apt-get update of bookworm + bookworm-updates failed (network? mirror $mirror)"
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt_get $opts -q -y --no-install-recommends install "${pkgs[@]}" \
        || die "cannot install ${pkgs[*]} (see apt's messages above)"
}

qemu_ok || fetch_qemu
{ wine32_ok && xvfb_ok; } || install_wine32
all_ok || die "setup finished but the check still fails; run '$0 --check' for details"
note "ready: $("$qemu" --version | head -n1), wine32 $(dpkg-query -W -f='${Version}' wine32:i386)"
