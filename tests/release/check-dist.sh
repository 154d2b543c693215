#!/usr/bin/env bash
# The SDK folder: SHA256SUMS lists every other file and holds, and the changelog's top entry
# is the header's version. Usage: tests/release/check-dist.sh DIST VERSION
set -euo pipefail
cd "$1"
sha256sum --quiet -c SHA256SUMS
[ "$(cut -c67- SHA256SUMS)" = "$(find . -type f ! -name SHA256SUMS | cut -c3- | LC_ALL=C sort)" ] ||
    { echo "SHA256SUMS does not list every file" >&2; exit 1; }
top=$(grep -m1 '^## \[' CHANGELOG.md || true)
[[ $top == "## [$2]"* ]] || { echo "CHANGELOG.md's top entry '$top' is not the header's $2" >&2; exit 1; }
