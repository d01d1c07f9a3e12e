#!/usr/bin/env python3
"""Writes the seed inputs of the las_file fuzz target into corpus/las_file/seed-*.

Each input is a choices byte (see las_file_fuzzer.cpp) and a LAS file laid out as the ASPRS
LAS 1.0-1.4 file format publishes it: every header version, the format families, variable-length records, and the
broken files the reader must refuse (LAZ, cut short, counts off by one).
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus", "las_file")
LENGTHS = [20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67]


def las(minor, fmt, points, format_byte=None, records=()):
    size = 227 if minor <= 2 else 235 if minor == 3 else 375
    head = bytearray(size)
    head[0:4] = b"LASF"
    head[24], head[25] = 1, minor
    struct.pack_into("<H", head, 94, size)
    vlrs = b""
    for user, length in records:
        vlrs += struct.pack("<H16sHH32s", 0, user, 0, length, b"") + b"v" * length
    struct.pack_into("<IIBHI", head, 96, size + len(vlrs), len(records),
                     fmt if format_byte is None else format_byte, LENGTHS[fmt],
                     len(points) if fmt <= 5 else 0)
    struct.pack_into("<6d", head, 131, 0.01, 0.01, 0.01, 1000.0, 2000.0, 0.0)
    if minor >= 4:
        struct.pack_into("<Q", head, 247, len(points))
    body = b""
    for x, y, z, cls, withheld in points:
        rec = bytearray(LENGTHS[fmt])
        struct.pack_into("<iii", rec, 0, x, y, z)
        if fmt <= 5:
            rec[15] = (cls & 0x1F) | (0x80 if withheld else 0)
        else:
            rec[15] = 0x04 if withheld else 0
            rec[16] = cls
        body += bytes(rec)
    return bytes(head) + vlrs + body


CLOUD = [(0, 0, 100, 2, False), (100, 0, 110, 2, False), (0, 100, 120, 6, False),
         (50, 50, 90, 7, False), (100, 100, 130, 2, True), (70, 20, 200, 18, False),
         (-2**31, 2**31 - 1, 5, 9, False)]

SEEDS = {
    "v10-format0": (0x07, las(0, 0, CLOUD)),
    "v12-format1": (0x01, las(2, 1, CLOUD)),
    "v12-format3-vlr": (0x02, las(2, 3, CLOUD, records=[(b"LASF_Projection", 16)])),
    "v13-format5": (0x04, las(3, 5, CLOUD)),
    "v14-format6": (0x07, las(4, 6, CLOUD)),
    "v14-format10": (0x03, las(4, 10, CLOUD)),
    "laz-bit": (0x00, las(4, 7, CLOUD, format_byte=0x87)),
    "laz-record": (0x00, las(2, 1, CLOUD, records=[(b"laszip encoded", 34)])),
    "cut-short": (0x00, las(4, 6, CLOUD)[:-3]),
    "one-byte-over": (0x00, las(2, 0, CLOUD) + b"x"),
    "header-only": (0x00, las(2, 0, [])),
}

if __name__ == "__main__":
    os.makedirs(CORPUS, exist_ok=True)
    for name, (choices, data) in SEEDS.items():
        with open(os.path.join(CORPUS, "seed-" + name), "wb") as f:
            f.write(bytes([choices]) + data)
