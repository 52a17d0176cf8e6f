#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a PNG file with Python's own zlib, independently of the program that wrote it.

Usage: png_pixels.py FILE [X,Y ...]
Checks the signature, the CRC of every chunk, IHDR and the image data (8-bit RGB or RGBA, any
filter), then prints "WIDTHxHEIGHT" and the colour of each pixel asked for as #RRGGBB (the
alpha, if any, as a fourth byte). Exits 1 with a reason on stderr for a broken file.
"""
import struct
import sys
import zlib


def fail(reason):
    sys.stderr.write(f"{sys.argv[1]}: {reason}\n")
    sys.exit(1)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def main():
    data = open(sys.argv[1], "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("no PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        if pos + 12 > len(data):
            fail("a chunk is cut short")
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            fail(f"chunk {kind!r} has a wrong CRC")
        chunks.append((kind, body))
        pos += 12 + length
    if not chunks or chunks[0][0] != b"IHDR" or chunks[-1][0] != b"IEND":
        fail("IHDR must come first and IEND last")
    width, height, depth, colour, method, filtering, interlace = struct.unpack(
        ">IIBBBBB", chunks[0][1])
    if depth != 8 or colour not in (2, 6) or method or filtering or interlace:
        fail(f"unexpected format depth {depth} colour type {colour}")
    size = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = width * size
    if len(raw) != height * (stride + 1):
        fail(f"{len(raw)} bytes of image data for {width}x{height}")
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - size] if i >= size else 0
            up, corner = previous[i], previous[i - size] if i >= size else 0
            line[i] = (line[i] + [0, left, up, (left + up) // 2, paeth(left, up, corner)][kind]) & 255
        rows.append(line)
        previous = line
    print(f"{width}x{height}")
    for point in sys.argv[2:]:
        x, y = map(int, point.split(","))
        print("#" + rows[y][x * size:(x + 1) * size].hex().upper())


main()
