#!/usr/bin/env bash
# Puts in place what tests/wine32/run.sh needs to run 32-bit Windows programs on an
# x86_64 Debian bookworm machine whose kernel cannot execute 32-bit ELF:
# a user-space i386 emulator (kept in our own cache folder) and 32-bit Wine.
#
# Usage: scripts/wine32/setup.sh [--check]
#   --check   only report whether everything is in place (exit 0 or 1).
# Needs root (it installs wine32:i386). Idempotent: a second run only checks.
#
# Environment:
#   ZI_WINE32_CACHE   cache folder (default /var/cache/zelinterstitial/wine32)
#   ZI_DEBIAN_MIRROR  Debian archive (default http://deb.debian.org/debian)
#   ZI_QEMU_VERSION   exact qemu-user version to fetch (default: whatever
#                      bookworm-backports offers)
set -euo pipefail

cache=${ZI_WINE32_CACHE:-/var/cache/zelinterstitial/wine32}
mirror=${ZI_DEBIAN_MIRROR:-http://deb.debian.org/debian}
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

# tests/wine32/run.sh registers its i386 handler in a binfmt_misc instance of its
# own user namespace, which kernels before 6.7 do not offer; nothing here can
# change that, so it is only checked.
namespace_ok() {
    unshare --user --map-root-user --mount \
        sh -c 'mount -t binfmt_misc none /proc/sys/fs/binfmt_misc' 2>/dev/null
}

all_ok() { qemu_ok && wine32_ok && xvfb_ok && namespace_ok; }

if [ "${1:-}" = --check ]; then
    ok=0
    qemu_ok || { note "missing: i386 emulator >= 8 at $qemu"; ok=1; }
    wine32_ok || { note "missing: wine32:i386"; ok=1; }
    xvfb_ok || { note "missing: Xvfb"; ok=1; }
    namespace_ok || { note "missing: a private binfmt_misc per user namespace (kernel $(uname -r); 6.7 or later needed)"; ok=1; }
    exit $ok
fi

namespace_ok || die "kernel $(uname -r) offers no private binfmt_misc per user namespace (6.7 or later needed); 32-bit Wine cannot run here without a machine-wide handler, which we do not install"
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
    [ -n "${ZI_QEMU_VERSION:-}" ] && want=qemu-user=$ZI_QEMU_VERSION
    local dl=$cache/apt/download
    rm -rf "$dl" && mkdir -p "$dl"
    # The download goes straight into our root-owned folder, not through
    # apt's sandbox user.
    # shellcheck disable=SC2086
    (cd "$dl" && apt_get $opts -o APT::Architectures::=amd64 -o APT::Sandbox::User=root -q download "$want") \
        || die "apt-get download $want failed"
    local debs=("$dl"/qemu-user_*.deb) deb
    deb=${debs[0]}
    [ -f "$deb" ] || die "no qemu-user .deb was downloaded"
    rm -rf "$cache/qemu.new"
    dpkg-deb -x "$deb" "$cache/qemu.new" || die "cannot unpack $deb"
    # The backports package carries static binaries; a dynamic one would need
    # the matching shared libraries and is of no use here.
    [ -x "$cache/qemu.new/usr/bin/qemu-i386" ] || die "$deb has no usr/bin/qemu-i386"
    if file -L "$cache/qemu.new/usr/bin/qemu-i386" 2>/dev/null | grep -q 'dynamically linked'; then
        die "$deb carries a dynamically linked qemu-i386; a static one is needed"
    fi
    # Keep the one emulator we use (and its licence) out of the ~360 MB of
    # every target the package carries.
    find "$cache/qemu.new" -mindepth 1 \( -type f -o -type l \) \
        ! -path "$cache/qemu.new/usr/bin/qemu-i386" ! -path "$cache/qemu.new/usr/share/doc/qemu-user/copyright" -delete
    find "$cache/qemu.new" -mindepth 1 -type d -empty -delete
    rm -rf "$cache/qemu.old"
    if [ -e "$cache/qemu" ]; then mv "$cache/qemu" "$cache/qemu.old"; fi
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
    # --no-remove: an install that would take anything away (wine64, say)
    # is refused, never carried out.
    if apt_get -q update && DEBIAN_FRONTEND=noninteractive \
        apt_get -q -y --no-install-recommends --no-remove install "${pkgs[@]}"; then
        return 0
    fi
    # The security archive's i386 index sometimes fails to download ("File has
    # unexpected size"); the i386 and amd64 library versions then disagree and
    # the install fails. bookworm and bookworm-updates alone are consistent.
    note "that failed (see above); retrying with bookworm and bookworm-updates only"
    {
        echo "deb [arch=amd64,i386 signed-by=$keyring] $mirror bookworm main"
        echo "deb [arch=amd64,i386 signed-by=$keyring] $mirror bookworm-updates main"
    } >"$cache/apt/main.list"
    local opts
    opts=$(private_apt_opts main)
    # shellcheck disable=SC2086 # $opts is a list of words on purpose
    apt_get $opts -q update || die "apt-get update of bookworm + bookworm-updates failed (network? mirror $mirror)"

    # An amd64 library installed from the security archive can be newer than
    # any i386 build these sources offer, and both halves of a Multi-Arch:
    # same pair must have one version: apt's answer is to remove the amd64
    # one with everything that needs it (wine64 among them). Instead, pin
    # each such amd64 library to the version its i386 twin gets.
    local pins=() sim removed name ver
    for _ in 1 2 3 4; do
        # shellcheck disable=SC2086
        sim=$(apt_get $opts -s -q --no-install-recommends install "${pkgs[@]}" "${pins[@]}" 2>&1) \
            || { echo "$sim" >&2; die "apt cannot find a way to install ${pkgs[*]}"; }
        removed=$(awk '$1 == "Remv" { sub(/:amd64$/, "", $2); print $2 }' <<<"$sim")
        [ -z "$removed" ] && break
        local pinned=0 have
        for name in $removed; do
            ver=$(awk -v p="$name:i386" '$1 == "Inst" && $2 == p { for (i = 3; i <= NF; i++) if ($i ~ /^\(/) { print substr($i, 2); exit } }' <<<"$sim")
            [ -n "$ver" ] || continue
            have=$(dpkg-query -W -f='${Version}' "$name:amd64" 2>/dev/null || true)
            if [ "$have" != "$ver" ]; then
                note "downgrading $name:amd64 from $have to $ver, the version of its i386 twin"
            fi
            pins+=("$name:amd64=$ver")
            pinned=1
        done
        [ "$pinned" = 1 ] || die "installing ${pkgs[*]} would remove: ${removed//$'\n'/ }; refusing"
    done
    [ -z "$removed" ] || die "installing ${pkgs[*]} would still remove: ${removed//$'\n'/ }; refusing"
    # Naming a package marks it as manually installed; put back the marks of
    # those that were only there as dependencies.
    local p auto=()
    for p in "${pins[@]}"; do
        if ! apt-mark showmanual "${p%%=*}" | grep -q .; then auto+=("${p%%=*}"); fi
    done
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt_get $opts -q -y --no-install-recommends --no-remove --allow-downgrades \
        install "${pkgs[@]}" "${pins[@]}" || die "cannot install ${pkgs[*]} (see apt's messages above)"
    if [ ${#auto[@]} -gt 0 ]; then apt-mark auto "${auto[@]}" >/dev/null; fi
}

qemu_ok || fetch_qemu
{ wine32_ok && xvfb_ok; } || install_wine32
all_ok || die "setup finished but the check still fails; run '$0 --check' for details"
# The private indexes are only needed while installing.
rm -rf "$cache/apt"
note "ready: $("$qemu" --version | head -n1), wine32 $(dpkg-query -W -f='${Version}' wine32:i386)"
