#!/usr/bin/env bash
# Two builds of one commit in two folders, at two times, packed by make dist's own steps into
# two folders: the same files, checksums and zip, byte for byte.
# Usage: tests/release/reproducible.sh BUILD_A BUILD_B OUT
set -euo pipefail
dist=$(dirname "$0")/../../cmake/dist.cmake
cmake -DBUILDS="$1" -DOUT="$3/a" -P "$dist" >/dev/null
cmake -DBUILDS="$2" -DOUT="$3/b" -P "$dist" >/dev/null
diff -r "$3/a" "$3/b"
echo "reproducible: $(find "$3/a" -type f | wc -l) files the same in both"
