"""PNG files read back through ImageMagick (libpng underneath, which checks the signature,
every chunk's CRC and the image data), for the tests of the PNG files the binding writes."""

import shutil
import subprocess


class PngError(ValueError):
    pass


def _magick(tool):
    path = shutil.which(tool, path="/usr/bin") or shutil.which(tool)
    if not path:
        raise RuntimeError("ImageMagick's %s is not installed (the test command installs imagemagick)" % tool)
    return path


def read_png(data):
    """(width, height, rgb bytes) of a PNG image; PngError when it is not a valid one."""
    size = subprocess.run([_magick("identify"), "-regard-warnings", "-format", "%m %w %h", "png:-"],
                          input=data, capture_output=True, timeout=60)
    if size.returncode != 0:
        raise PngError(size.stderr.decode(errors="replace").strip() or "not a PNG image")
    kind, width, height = size.stdout.decode().split()
    if kind != "PNG":
        raise PngError("a %s image, not PNG" % kind)
    pixels = subprocess.run([_magick("convert"), "-regard-warnings", "png:-", "-depth", "8", "rgb:-"],
                            input=data, capture_output=True, timeout=60)
    if pixels.returncode != 0:
        raise PngError(pixels.stderr.decode(errors="replace").strip())
    return int(width), int(height), pixels.stdout


def read_png_file(path):
    with open(path, "rb") as f:
        return read_png(f.read())
