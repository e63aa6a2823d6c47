#!/usr/bin/env python3
"""Writes the release archive: the files in the order given, every name stored as code page 932
bytes with the UTF-8 flag (bit 11) clear, since that is how the zip folder of a Japanese Windows
XP reads names; one fixed time stamp and fixed permission bits for every entry, no extra fields,
so the same inputs always give the same bytes.

Usage: pack.py OUT.zip EPOCH NAME=PATH...
"""
import struct
import sys
import time
import zlib

VERSION_MADE_BY = (3 << 8) | 20  # Unix, so the permission bits below mean something; zip 2.0
VERSION_NEEDED = 20  # deflate
UNIX_MODE = 0o100644  # a regular file, rw-r--r--


def dos_time(epoch):
    t = time.gmtime(max(epoch, 315532800))  # the format starts in 1980
    return ((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2),
            ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday)


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return packer.compress(data) + packer.flush()


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    out, epoch, entries = argv[1], int(argv[2]), argv[3:]
    mtime, mdate = dos_time(epoch)
    body, directory = bytearray(), bytearray()
    for entry in entries:
        name, sep, path = entry.partition("=")
        if not sep or not name:
            sys.exit(f"pack.py: '{entry}' is not NAME=PATH")
        try:
            raw_name = name.encode("cp932")
        except UnicodeEncodeError:
            sys.exit(f"pack.py: '{name}' has no code page 932 form")
        with open(path, "rb") as f:
            data = f.read()
        packed = deflate(data)
        crc = zlib.crc32(data)
        fields = (VERSION_NEEDED, 0, 8, mtime, mdate, crc, len(packed), len(data), len(raw_name), 0)
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, *fields) + raw_name + packed
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, VERSION_MADE_BY, *fields,
                                 0, 0, 0, UNIX_MODE << 16, offset) + raw_name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                      len(directory), len(body), 0)
    with open(out, "wb") as f:
        f.write(body + directory + end)


if __name__ == "__main__":
    main(sys.argv)
