#!/usr/bin/env python3
"""The hardening rules every PE of an SDK folder meets, as a table: one row per rule, one
column per file (bin/*/*.dll and *.exe), "ok" or "FAIL". Each rule is held even where the
toolchain meets it by default, so that a toolchain change cannot drop it quietly.
Usage: tests/product/pe_rules.py SDK_FOLDER"""
import glob
import os
import struct
import sys

WRITE, EXECUTE, SHARED = 0x80000000, 0x20000000, 0x10000000


def read(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, = struct.unpack_from("<H", data, pe + 6)
    symbols, nsymbols, optional, flags = struct.unpack_from("<IIHH", data, pe + 12)
    o = pe + 24
    plus = struct.unpack_from("<H", data, o)[0] == 0x20B
    dll_flags, = struct.unpack_from("<H", data, o + 70)
    reloc_size, = struct.unpack_from("<I", data, o + (112 if plus else 96) + 5 * 8 + 4)
    sections = [(data[h:h + 8].rstrip(b"\0").decode("latin-1"), struct.unpack_from("<I", data, h + 36)[0])
                for h in (o + optional + 40 * i for i in range(count))]
    return dict(plus=plus, dll=dll_flags, relocs=reloc_size > 0 and not flags & 1,
                symbols=(symbols, nsymbols), sections=sections)


RULES = [  # name, what it holds
    ("aslr", "DYNAMIC_BASE, with the base relocations it needs",
     lambda p: p["dll"] & 0x40 and p["relocs"] and any(n == ".reloc" for n, _ in p["sections"])),
    ("dep", "NX_COMPAT", lambda p: p["dll"] & 0x100),
    ("high-entropy-aslr", "HIGH_ENTROPY_VA (PE32+ only)", lambda p: not p["plus"] or p["dll"] & 0x20),
    ("no-wx-section", "no section both writable and executable",
     lambda p: not any(c & WRITE and c & EXECUTE for _, c in p["sections"])),
    ("no-shared-writable", "no section both shared and writable",
     lambda p: not any(c & WRITE and c & SHARED for _, c in p["sections"])),
    ("no-coff-symbols", "no COFF symbol or string table (both header fields zero)",
     lambda p: p["symbols"] == (0, 0)),
    ("no-debug-sections", "no .debug_* or .gnu_debuglink, no long (/N) section name",
     lambda p: not any(n.startswith((".debug", ".gnu_deb", "/")) for n, _ in p["sections"])),
]


def main():
    root = sys.argv[1]
    files = sorted(glob.glob(os.path.join(root, "bin", "*", "*.dll")) + glob.glob(os.path.join(root, "bin", "*", "*.exe")))
    if not files:
        sys.exit(f"no PE under {root}/bin")
    names = [os.path.relpath(f, os.path.join(root, "bin")) for f in files]
    pes = [read(f) for f in files]
    width = max(len(n) for n in names)
    print(f"{'rule':20}" + "".join(f" {n:>{width}}" for n in names))
    failed = 0
    for name, what, rule in RULES:
        marks = ["ok" if rule(p) else "FAIL" for p in pes]
        failed += marks.count("FAIL")
        print(f"{name:20}" + "".join(f" {m:>{width}}" for m in marks) + f"  {what}")
    print(f"hardening: {len(RULES)} rules x {len(files)} files, {failed} failed")
    sys.exit(1 if failed else 0)


main()
