"""Minimal PNG writing and reading (8-bit RGB and RGBA, no interlace).

Writing is deterministic: no time chunk, no text chunk, fixed zlib level.
Reading handles the five row filters so that we can inspect our own files
without any third-party package.
"""

import struct
import zlib

COLOR_TYPE_RGB = 2
COLOR_TYPE_RGBA = 6
CHANNELS = {COLOR_TYPE_RGB: 3, COLOR_TYPE_RGBA: 4}
SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind, row, prev, bpp):
    """Applies one PNG filter to a scanline (bytes), returning the filtered bytes."""
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if kind == 0:
            p = 0
        elif kind == 1:
            p = a
        elif kind == 2:
            p = b
        elif kind == 3:
            p = (a + b) // 2
        else:
            p = _paeth(a, b, c)
        out[i] = (x - p) & 0xFF
    return bytes(out)


def _row_cost(filtered):
    # The usual heuristic: smallest sum of absolute signed byte values.
    return sum(v if v < 128 else 256 - v for v in filtered)


def encode_png(width, height, pixels, color_type):
    """pixels: flat list of (r, g, b) or (r, g, b, a) tuples, row-major."""
    bpp = CHANNELS[color_type]
    prev = bytes(width * bpp)
    raw = bytearray()
    for y in range(height):
        row = bytes(v for px in pixels[y * width:(y + 1) * width] for v in px[:bpp])
        candidates = [_filter_row(k, row, prev, bpp) for k in range(5)]
        best = min(range(5), key=lambda k: (_row_cost(candidates[k]), k))
        raw.append(best)
        raw += candidates[best]
        prev = row
    header = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    return (SIGNATURE + _chunk(b"IHDR", header) + _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _chunk(b"IEND", b""))


def write_png(path, width, height, pixels, color_type):
    with open(path, "wb") as f:
        f.write(encode_png(width, height, pixels, color_type))


def read_png(path):
    """Returns (width, height, rows of RGBA tuples) for 8-bit RGB or RGBA files."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != SIGNATURE:
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, bytearray(), None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, color_type, _, _, interlace = header
    if depth != 8 or color_type not in CHANNELS or interlace:
        raise ValueError(f"{path}: unsupported PNG layout")
    bpp = CHANNELS[color_type]
    raw = zlib.decompress(bytes(idat))
    stride = width * bpp
    prev = bytearray(stride)
    rows = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            p = (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]
            line[i] = (line[i] + p) & 0xFF
        prev = line
        px = [tuple(line[x * bpp:(x + 1) * bpp]) for x in range(width)]
        if bpp == 3:
            px = [p + (255,) for p in px]
        rows.append(px)
    return width, height, rows
