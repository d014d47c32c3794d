#!/usr/bin/env python3
"""Draws Keldro's icon (a waveform with a cut through it) as PNG files.

Usage: make-icon.py OUT_DIR   -> OUT_DIR/keldro.png (256 px) and keldro-48.png
"""
import math
import struct
import sys
import zlib


def png(path, size, pixel):
    rows = bytearray()
    for y in range(size):
        rows.append(0)
        for x in range(size):
            rows.extend(pixel(x / size, y / size))
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                  + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def inside_rounded(u, v, radius=0.18, margin=0.04):
    lo, hi = margin + radius, 1 - margin - radius
    dx = max(lo - u, 0, u - hi)
    dy = max(lo - v, 0, v - hi)
    return dx * dx + dy * dy <= radius * radius and margin <= u <= 1 - margin and margin <= v <= 1 - margin


def pixel(u, v):
    if not inside_rounded(u, v):
        return (0, 0, 0, 0)
    # Background: blue, lighter towards the top.
    r, g, b = int(30 + 40 * (1 - v)), int(60 + 60 * (1 - v)), int(140 + 60 * (1 - v))
    # Waveform bars.
    bar = int(u * 14)
    height = 0.08 + 0.26 * abs(math.sin(bar * 1.7)) * (0.6 + 0.4 * math.sin(bar * 0.5))
    within_bar = (u * 14) % 1 < 0.62 and 0.12 < u < 0.88
    if within_bar and abs(v - 0.5) < height:
        r, g, b = 235, 240, 250
    # The cut: an orange line slightly off centre.
    if abs(u - 0.57) < 0.018 and 0.12 < v < 0.88:
        r, g, b = 255, 150, 30
    return (r, g, b, 255)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    png(f"{out}/keldro.png", 256, pixel)
    png(f"{out}/keldro-48.png", 48, pixel)
