#!/usr/bin/env python3
# The hardening rules every PE of an SDK folder meets, as a table: one row per rule, one
# column per file (bin/*/*.dll and *.exe), "ok" or "FAIL". Each rule is held even where the
# toolchain meets it by default, so that a toolchain change cannot drop it quietly.
# Usage: tests/product/pe_rules.py SDK_FOLDER
import glob, struct, sys

W, X, S = 0x80000000, 0x20000000, 0x10000000  # a section's flags: writable, executable, shared
# Each rule's name, what it holds, and its check on (PE32+, DllCharacteristics, base
# relocations present, symbol table offset and count, [(section name, flags)]).
RULES = [
    ("aslr", "DYNAMIC_BASE, with the base relocations it needs",
     lambda p, f, r, t, s: f & 0x40 and r and ".reloc" in dict(s)),
    ("dep", "NX_COMPAT", lambda p, f, r, t, s: f & 0x100),
    ("high-entropy-aslr", "HIGH_ENTROPY_VA (PE32+ only)", lambda p, f, r, t, s: not p or f & 0x20),
    ("no-wx-section", "no section both writable and executable",
     lambda p, f, r, t, s: not [c for _, c in s if c & W and c & X]),
    ("no-shared-writable", "no section both shared and writable",
     lambda p, f, r, t, s: not [c for _, c in s if c & W and c & S]),
    ("no-coff-symbols", "no COFF symbol or string table (both header fields zero)",
     lambda p, f, r, t, s: t == (0, 0)),
    ("no-debug-sections", "no .debug_* or .gnu_debuglink, no long (/N) section name",
     lambda p, f, r, t, s: not [n for n, _ in s if n.startswith((".debug", ".gnu_deb", "/"))]),
]


def facts(data):  # the rules' arguments, from the file's headers
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, symbols, nsymbols, optional, flags = struct.unpack_from("<2xH4xIIHH", data, pe + 4)
    plus = struct.unpack_from("<H", data, pe + 24)[0] == 0x20B
    relocs = struct.unpack_from("<I", data, pe + 24 + (112 if plus else 96) + 44)[0]
    sections = [(data[h:h + 8].rstrip(b"\0").decode("latin-1"), struct.unpack_from("<I", data, h + 36)[0])
                for h in range(pe + 24 + optional, pe + 24 + optional + 40 * count, 40)]
    return (plus, struct.unpack_from("<H", data, pe + 94)[0], relocs > 0 and not flags & 1,
            (symbols, nsymbols), sections)


files = sorted(glob.glob(sys.argv[1] + "/bin/*/*.dll") + glob.glob(sys.argv[1] + "/bin/*/*.exe"))
names = [f.split("/bin/")[-1] for f in files]
marks = [["ok" if rule(*facts(open(f, "rb").read())) else "FAIL" for f in files] for _, _, rule in RULES]
print("%-18s" % "rule" + "".join(" %*s" % (len(n), n) for n in names))
for (name, what, _), row in zip(RULES, marks):
    print("%-18s" % name + "".join(" %*s" % (len(n), m) for n, m in zip(names, row)) + "  " + what)
failed = sum(row.count("FAIL") for row in marks)
print(f"hardening: {len(RULES)} rules x {len(files)} files, {failed} failed")
sys.exit(1 if failed or not files else 0)
