"""PNG files from pixels, with the standard library's zlib (compression and CRC-32)."""

from __future__ import annotations

import os
import struct
import zlib
from typing import Union

_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def encode_png(width: int, height: int, rgb: bytes) -> bytes:
    """A PNG image (8-bit RGB, not interlaced) of `rgb`: rows of width * 3 bytes, top first."""
    stride = width * 3
    if width <= 0 or height <= 0 or len(rgb) != stride * height:
        raise ValueError("%d bytes do not make a %d x %d RGB image" % (len(rgb), width, height))
    # Filter type 0 (none) in front of every row.
    rows = b"".join(b"\0" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (_SIGNATURE + _chunk(b"IHDR", header) + _chunk(b"IDAT", zlib.compress(rows, 6))
            + _chunk(b"IEND", b""))


def write_png(path: Union[str, "os.PathLike[str]"], width: int, height: int, rgb: bytes) -> None:
    """Writes `rgb` (see encode_png) to the PNG file `path`."""
    data = encode_png(width, height, rgb)
    with open(path, "wb") as f:
        f.write(data)
