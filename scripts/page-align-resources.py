#!/usr/bin/env python3
"""Moves a PE file's .rsrc section to a file offset that is a multiple of 4096, with zeros
before it, and renews the header checksum. The pictures are nearly all of the DLL, and a
loader can map a page-aligned section straight from the file where it must otherwise read it
(Wine reads every section whose file offset is not page-aligned): that read was most of
what LoadLibrary of the DLL cost. Run after the last tool that rewrites the file.
Usage: scripts/page-align-resources.py FILE"""
import struct
import sys

PAGE = 4096


def checksum(data, field):
    total = 0
    for (word,) in struct.iter_unpack("<H", bytes(data) + b"\0" * (len(data) % 2)):
        total += word
    total -= sum(struct.unpack_from("<HH", data, field))  # the field itself counts as zero
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main():
    path = sys.argv[1]
    data = bytearray(open(path, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, = struct.unpack_from("<H", data, pe + 6)
    symbols, = struct.unpack_from("<I", data, pe + 12)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    headers = [pe + 24 + optional_size + 40 * i for i in range(count)]
    rsrc = [h for h in headers if data[h:h + 8].rstrip(b"\0") == b".rsrc"]
    if not rsrc:
        return
    offset, = struct.unpack_from("<I", data, rsrc[0] + 20)
    pad = -offset % PAGE
    if pad == 0:
        return
    data[offset:offset] = bytes(pad)
    for h in headers:
        raw, = struct.unpack_from("<I", data, h + 20)
        if raw >= offset:
            struct.pack_into("<I", data, h + 20, raw + pad)
    if symbols >= offset:
        struct.pack_into("<I", data, pe + 12, symbols + pad)
    field = pe + 24 + 64  # CheckSum, at the same place in PE32 and PE32+
    struct.pack_into("<I", data, field, checksum(data, field))
    open(path, "wb").write(data)


main()
