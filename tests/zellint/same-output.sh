#!/usr/bin/env bash
# zellint on Linux and zellint.exe under Wine give the same bytes and the same exit status
# for the same file, in every output. Usage: same-output.sh ZELLINT ZELLINT_EXE [wine32]
# The exe runs under 64-bit Wine (call this inside scripts/wine/with-wine.sh), or with
# "wine32" as one batch under 32-bit Wine (tests/wine32/run.sh).
set -euo pipefail
native=$(realpath "$1")
exe=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
cd "$here/corpus"
files="font-junk.ini utf16-cjk.ini ninth-line.ini utf8-bom.ini missing-files.ini ten-bytes.ini cp1252-text.ini"
[ "${3:-}" = wine32 ] && files="font-junk.ini utf16-cjk.ini ninth-line.ini" # 4 s a run there
options="--format=text --format=json --format=sarif --values"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A command's output, then its exit status as "exit N": one run gives both, on either side.
with_status() { "$@" && echo "exit 0" || echo "exit $?"; }
n=0
for file in $files; do
    for option in $options; do
        n=$((n + 1))
        with_status "$native" "$option" "$file" >"$work/$n.native" 2>/dev/null
        echo "$exe $option $file" >>"$work/commands"
    done
done
# Each command of $1/commands under Wine ($WINE64), its output and exit status into $1/<n>.exe.
run_commands() {
    i=0
    while read -r command; do
        i=$((i + 1))
        with_status ${WINE64:-/usr/lib/wine/wine64} $command >"$1/$i.exe" 2>/dev/null
    done <"$1/commands"
}
if [ "${3:-}" = wine32 ]; then
    "$here/../wine32/run.sh" bash -c "$(declare -f with_status run_commands); run_commands \"\$0\"" \
        "$work" \
        >/dev/null 2>&1 || true
else
    run_commands "$work"
fi
status=0
for i in $(seq $n); do
    if ! cmp -s "$work/$i.native" "$work/$i.exe"; then
        echo "zellint same output: differs for: $(sed -n "${i}p" "$work/commands")" >&2
        diff "$work/$i.native" "$work/$i.exe" | head -20 >&2 || true
        status=1
    fi
done
[ $status = 0 ] && echo "zellint same output: $n runs of $exe, same bytes and status"
exit $status
