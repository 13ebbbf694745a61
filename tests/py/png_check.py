"""A strict reader for the PNG files the binding writes (8-bit RGB, filter 0 on every row):
it checks the signature, every chunk's CRC, the header fields and the image data's size,
and returns the pixels."""

import struct
import zlib


class PngError(ValueError):
    pass


def read_png(data):
    """(width, height, rgb bytes) of a PNG image; PngError when it is not a valid one."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise PngError("no PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        if pos + 12 > len(data):
            raise PngError("cut chunk at byte %d" % pos)
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if len(body) != length or zlib.crc32(kind + body) != crc:
            raise PngError("bad CRC or length in chunk %r" % kind)
        chunks.append((kind, body))
        pos += 12 + length
    kinds = [kind for kind, _ in chunks]
    if not kinds or kinds[0] != b"IHDR" or kinds[-1] != b"IEND" or b"IDAT" not in kinds:
        raise PngError("chunks out of order: %r" % kinds)
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    if (depth, colour, compression, filtering, interlace) != (8, 2, 0, 0, 0):
        raise PngError("not 8-bit RGB without interlacing")
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = width * 3
    if len(raw) != (stride + 1) * height:
        raise PngError("%d bytes of image data for %d x %d" % (len(raw), width, height))
    rows = [raw[y * (stride + 1):(y + 1) * (stride + 1)] for y in range(height)]
    if any(row[0] != 0 for row in rows):
        raise PngError("a row with a filter other than none")
    return width, height, b"".join(row[1:] for row in rows)


def read_png_file(path):
    with open(path, "rb") as f:
        return read_png(f.read())
