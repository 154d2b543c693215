#!/usr/bin/env python3
"""The shipped DLL's size table, read from its PE headers: the whole file, its pictures
(.rsrc), its code (.text), its unwind tables (.eh_frame), and its COFF symbols plus debug
sections, for the shipped file and the unstripped copy beside it.
Usage: bench/sizes.py path/to/ZelInterstitial.dll"""
import os
import struct
import sys


def parts(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, = struct.unpack_from("<H", data, pe + 6)
    symbol_table, symbol_count = struct.unpack_from("<II", data, pe + 12)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    strings = symbol_table + 18 * symbol_count
    # The table and its strings; a stripped file keeps only the strings of long section names.
    symbols = len(data) - symbol_table if symbol_count else 0
    sizes = {"whole file": len(data), ".rsrc": 0, ".text": 0, ".eh_frame": 0,
             "COFF symbols + .debug_*": symbols}
    for i in range(sections):
        header = pe + 24 + optional_size + 40 * i
        name = data[header:header + 8].rstrip(b"\0").decode()
        size, = struct.unpack_from("<I", data, header + 8)  # the bytes in use, unpadded
        if name.startswith("/") and symbol_table:  # a long name, kept in the string table
            offset = strings + int(name[1:])
            name = data[offset:data.index(b"\0", offset)].decode()
        if name == ".eh_fram":  # the shipped file's .eh_frame, renamed to fit 8 characters
            name = ".eh_frame"
        if name.startswith(".debug_"):
            sizes["COFF symbols + .debug_*"] += size
        elif name in sizes:
            sizes[name] += size
    return sizes


def main():
    shipped = sys.argv[1]
    columns = [("shipped", shipped)]
    if os.path.exists(shipped + ".debug"):
        columns.append(("unstripped copy", shipped + ".debug"))
    tables = [parts(path) for _, path in columns]
    print("%-26s" % ("sizes of " + os.path.basename(shipped) + " (bytes)") +
          "".join("%17s" % title for title, _ in columns))
    for row in tables[0]:
        print("%-26s" % row + "".join("%17s" % format(t[row], ",") for t in tables))
    over = tables[0]["whole file"] - tables[0][".rsrc"]
    print("%-26s%17s" % ("whole file - .rsrc", format(over, ",")))


main()
