"""What a wheel of the binding must hold, checked from its zip listing and bytes:
    python3 wheel_check.py WHEEL PLATFORM
(PLATFORM linux_x86_64 or win_amd64). Prints each problem and exits 1, or one line naming
what it checked. Used by the Python wheel test and by the Windows stage."""

import os
import re
import struct
import sys
import zipfile

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
PACKAGE = os.path.join(SOURCE, "app", "vorla_ui")

# platform: {file in the package: what its first bytes must show}
LIBRARIES = {
    "linux_x86_64": {"libvorla_ui.so": "elf"},
    "win_amd64": {"vorla_ui.dll": "pe", "SDL2.dll": "pe"},
}
X86_64 = {"elf": 62, "pe": 0x8664}  # e_machine, IMAGE_FILE_HEADER.Machine


def machine(data, kind):
    """The machine a shared object was built for, or None when it is not one of `kind`."""
    if kind == "elf" and data[:4] == b"\x7fELF" and data[4] == 2:  # 64-bit
        return struct.unpack_from("<H", data, 18)[0]
    if kind == "pe" and data[:2] == b"MZ":
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] == b"PE\0\0":
            return struct.unpack_from("<H", data, pe + 4)[0]
    return None


def problems(wheel, platform):
    name = os.path.basename(wheel)
    found = re.fullmatch(r"vorla_ui-(\d+\.\d+\.\d+)-py3-none-(\w+)\.whl", name)
    if not found or found.group(2) != platform:
        return ["%s is not named vorla_ui-<version>-py3-none-%s.whl" % (name, platform)]
    version = found.group(1)
    info = "vorla_ui-%s.dist-info/" % version
    libraries = LIBRARIES[platform]
    modules = sorted(f for f in os.listdir(PACKAGE) if f.endswith(".py")) + ["py.typed"]
    expected = {"vorla_ui/" + f for f in modules + list(libraries)}
    expected |= {info + f for f in ("METADATA", "WHEEL", "top_level.txt", "RECORD")}
    out = []
    with zipfile.ZipFile(wheel) as archive:
        entries = set(archive.namelist())
        if entries != expected:
            out.append("entries missing: %s; not expected: %s" % (sorted(expected - entries), sorted(entries - expected)))
        wheel_info = archive.read(info + "WHEEL").decode() if info + "WHEEL" in entries else ""
        for line in ("Tag: py3-none-%s" % platform, "Root-Is-Purelib: true"):
            if line not in wheel_info.splitlines():
                out.append("WHEEL lacks the line %r" % line)
        if "vorla_ui/_version.py" in entries and '__version__ = "%s"' % version not in archive.read(
                "vorla_ui/_version.py").decode():
            out.append("vorla_ui/_version.py does not give the version %s of the file name" % version)
        for library, kind in libraries.items():
            if "vorla_ui/" + library in entries:
                got = machine(archive.read("vorla_ui/" + library), kind)
                if got != X86_64[kind]:
                    out.append("vorla_ui/%s is not an x86-64 %s shared object (machine %r)" % (library, kind.upper(), got))
    return out


def main(argv):
    wheel, platform = argv[1:3]
    found = problems(wheel, platform)
    for problem in found:
        print("wheel check: %s: %s" % (os.path.basename(wheel), problem))
    if not found:
        print("wheel check: %s holds the binding, py.typed and %s" % (
            os.path.basename(wheel), " and ".join(sorted(LIBRARIES[platform]))))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
