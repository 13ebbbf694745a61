"""The binding's thin layer against the C header, its text helpers, library discovery,
PNG writing and the Python versions it promises, without running the launcher."""

import ast
import ctypes
import glob
import os
import pydoc
import re
import tempfile
import unittest
from unittest import mock

import header
from bundle import BUNDLE, SOURCE, vorla_ui
from png_check import PngError, read_png

from vorla_ui import capi, discovery

class HeaderAgreementTest(unittest.TestCase):
    def test_records_have_the_header_sizes_and_offsets(self):
        text = header.text()
        sizes = dict(re.findall(r"sizeof\((\w+)\) == (\d+)", text))
        offsets = re.findall(r"offsetof\((\w+), (\w+)\) == (\d+)", text)
        records = {"vl_status": vorla_ui.vl_status, "vl_online_status": vorla_ui.vl_online_status}
        self.assertEqual(set(sizes), set(records))
        for name, record in records.items():
            with self.subTest(name):
                self.assertEqual(ctypes.sizeof(record), int(sizes[name]))
                expected = [(field, int(at)) for rec, field, at in offsets if rec == name]
                actual = [(field, getattr(record, field).offset) for field, _ in record._fields_]
                self.assertEqual(actual, expected)

    def test_enums_are_the_header_constants_without_their_prefix(self):
        families = [(vorla_ui.ExitCode, "VL_EXIT_"), (vorla_ui.Page, "VL_PAGE_"), (vorla_ui.BuildState, "VL_BUILD_"),
                    (vorla_ui.LobbyState, "VL_LOBBY_"), (vorla_ui.SlotState, "VL_SLOT_"),
                    (vorla_ui.Quality, "VL_QUALITY_")]
        for enum, prefix in families:
            with self.subTest(prefix):
                constants = header.constants(prefix)
                self.assertGreater(len(constants), 3)
                self.assertEqual({member.name: member.value for member in enum}, constants)
        self.assertEqual(capi.VL_RUN_REFUSED, header.constants("VL_RUN_")["REFUSED"])

    def test_the_version_is_the_headers(self):
        version = header.version()
        self.assertEqual(vorla_ui.__version__, version)
        with open(os.path.join(SOURCE, "app", "vorla_ui", "_version.py")) as f:
            self.assertIn('__version__ = "%s"' % version, f.read(), "the source tree's copy")
        self.assertEqual(discovery.SONAME, "libvorla_ui.so.%s" % version.split(".")[0])

    def test_every_export_is_declared_in_header_order(self):
        declared = re.findall(r"\bVL_API\b[^;(]*?\b((?:vl|vui)_\w+)\s*\(", header.text())
        self.assertEqual(capi.exported_names(), declared)

    def test_declare_names_a_missing_export(self):
        class Partial:
            vl_run = ctypes.CDLL(None).printf  # any C function object will do
        with self.assertRaisesRegex(AttributeError, "vl_dropped_path"):
            capi.declare(Partial())


class TextFieldsTest(unittest.TestCase):
    def test_set_text_cuts_whole_characters_and_clears_the_rest(self):
        # field, index, text, bytes stored (up to the terminator)
        cases = [
            ("message", None, "Building", b"Building"),
            ("message", None, "x" * 200, b"x" * 95),
            ("message", None, "a" + "\u00e9" * 60, b"a" + "\u00e9".encode() * 47),  # 95 bytes: 1 + 47 * 2
            ("message", None, "\u00e9" * 60, "\u00e9".encode() * 47),  # 94: the 48th would not fit
            ("rom_path", None, b"/roms/raw\xffname.gba", b"/roms/raw\xffname.gba"),
            ("slot_name", 3, "Cyd", b"Cyd"),
            ("slot_name", 0, "Ann-Sophie Lindqvist", b"Ann-Sophie Lind"),
            ("addresses", 1, "fd00::20", b"fd00::20"),
        ]
        for field, index, text, stored in cases:
            with self.subTest(field=field, text=text[:20]):
                record = vorla_ui.vl_online_status() if field in ("slot_name", "addresses") else vorla_ui.vl_status()
                record.set_text(field, "Z" * 300, index)  # a longer text before must not show through
                record.set_text(field, text, index)
                entry = getattr(record, field) if index is None else getattr(record, field)[index]
                raw = bytes(entry)
                self.assertEqual(raw[:len(stored)], stored)
                self.assertEqual(raw[len(stored):], bytes(len(raw) - len(stored)))
                self.assertEqual(record.text(field, index), stored.decode("utf-8", "replace"))

    def test_text_entries_stay_in_their_own_slot(self):
        online = vorla_ui.vl_online_status()
        for slot, name in enumerate(["Ann", "Bo", "Cyd", "Dee"]):
            online.set_text("slot_name", name * 9, slot)
        self.assertEqual([online.text("slot_name", i)[:3] for i in range(4)], ["Ann", "BoB", "Cyd", "Dee"])
        self.assertEqual(online.local_slot, 0, "the field after the names is untouched")

    def test_wrong_field_or_index_is_refused(self):
        status, online = vorla_ui.vl_status(), vorla_ui.vl_online_status()
        with self.assertRaises(AttributeError):
            status.set_text("percent", "5")
        with self.assertRaises(TypeError):
            online.set_text("slot_name", "Ann")
        with self.assertRaises(TypeError):
            status.set_text("message", "x", 0)
        with self.assertRaises(IndexError):
            online.set_text("addresses", "::1", 4)


class RecordFieldsTest(unittest.TestCase):
    RECORDS = (vorla_ui.vl_status, vorla_ui.vl_online_status)

    def test_annotations_give_every_field_in_order_with_its_python_type(self):
        def python_type(kind, field=True):
            """What a field reads as (an int, bytes), or an element's ctypes type."""
            if field and kind in (ctypes.c_int32, ctypes.c_char * ctypes.sizeof(kind)):
                return "int" if kind is ctypes.c_int32 else "bytes"
            if issubclass(kind, ctypes.Array):
                return "ctypes.Array[%s]" % python_type(kind._type_, False)
            return {ctypes.c_int32: "ctypes.c_int32", ctypes.c_char: "ctypes.c_char"}[kind]
        for record in self.RECORDS:
            with self.subTest(record.__name__):
                expected = [(name, python_type(kind)) for name, kind in record._fields_]
                self.assertEqual(list(record.__annotations__.items()), expected)

    def test_a_misspelt_field_is_refused(self):
        for record, name in [(vorla_ui.Status(), "precent"), (vorla_ui.OnlineStatus(), "lobbystate")]:
            with self.subTest(name), self.assertRaises(AttributeError):
                setattr(record, name, 5)

    def test_help_gives_each_field_its_c_type_and_meaning(self):
        # record, field, C type as the header spells it
        cases = [(vorla_ui.Status, "state", "int32"), (vorla_ui.Status, "message", "char[96]"),
                 (vorla_ui.OnlineStatus, "slot_ping", "int32[4]"),
                 (vorla_ui.OnlineStatus, "slot_name", "char[4][16]")]
        for record, field, c_type in cases:
            with self.subTest(field):
                self.assertRegex(record.__doc__, r"\n    %s +%s +\S" % (field, re.escape(c_type)))

    def test_help_on_an_enum_lists_its_members_not_the_int_methods(self):
        text = pydoc.render_doc(vorla_ui.ExitCode, renderer=pydoc.plaintext)
        self.assertIn("CHOOSE_ROM = <ExitCode.CHOOSE_ROM: 2>", text)
        self.assertNotIn("bit_length", text)
        self.assertEqual(vorla_ui.ExitCode.PLAY + 1, 2, "still an int")


class DiscoveryTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        self.bundle = os.path.join(self.root, "bundle")
        os.makedirs(self.bundle)
        self.explicit = self.touch("elsewhere", "libvorla_ui.so")
        self.from_env = self.touch("env", "libvorla_ui.so")

    def tearDown(self):
        self.tmp.cleanup()

    def touch(self, *parts):
        path = os.path.join(self.root, *parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "w").close()
        return path

    def test_explicit_path_then_environment_then_bundle_then_wheel_then_system(self):
        beside = os.path.join(self.bundle, "libvorla_ui.so")
        package = os.path.join(self.root, "site-packages", "vorla_ui")
        in_package = os.path.join(package, "libvorla_ui.so")
        system = os.path.join(self.root, "usr", "lib", discovery.SONAME)
        missing = os.path.join(self.root, "missing.so")
        # explicit path, environment, files that exist, expected path or error text
        cases = [
            (self.explicit, {"VORLA_UI_LIB": self.from_env}, {beside}, self.explicit),
            (None, {"VORLA_UI_LIB": self.from_env}, {beside}, self.from_env),
            (None, {"VORLA_UI_LIB": ""}, {beside, in_package, system}, beside),
            (None, {}, {beside, in_package, system}, beside),
            (None, {}, {in_package, system}, in_package),
            (None, {}, {system}, system),
            (missing, {}, {beside}, "the library %s does not exist" % missing),
            (None, {"VORLA_UI_LIB": missing}, {beside}, "VORLA_UI_LIB names %s, which does not exist" % missing),
            (None, {}, set(), "looked for %s and %s and %s through the dynamic loader); pass its path to "
                              "vorla_ui.load() or set VORLA_UI_LIB" % (beside, in_package, discovery.SONAME)),
        ]
        for path, environ, present, expected in cases:
            with self.subTest(path=path, environ=environ, present=sorted(present)):
                for candidate in (beside, in_package, system):
                    if candidate in present:
                        os.makedirs(os.path.dirname(candidate), exist_ok=True)
                        open(candidate, "w").close()
                    elif os.path.exists(candidate):
                        os.remove(candidate)
                lookups = []

                def loader(soname):
                    lookups.append(soname)
                    return system if system in present else None
                find = lambda: discovery.find_library(path, environ, self.bundle, "posix", package, loader)
                if os.path.isabs(expected):
                    self.assertEqual(find(), expected)
                else:
                    with self.assertRaises(vorla_ui.LibraryNotFoundError) as caught:
                        find()
                    self.assertIn(expected, str(caught.exception))
                    self.assertIsInstance(caught.exception, FileNotFoundError)
                self.assertEqual(lookups, [discovery.SONAME] if expected in (system, cases[-1][-1]) else [])

    def test_the_package_looks_two_folders_up_for_the_library(self):
        package = os.path.dirname(vorla_ui.__file__)
        self.assertEqual(os.path.realpath(discovery.BUNDLE_DIR), os.path.realpath(BUNDLE))
        self.assertEqual(os.path.realpath(os.path.join(package, "..", "..")), os.path.realpath(BUNDLE))
        self.assertEqual(os.path.realpath(discovery.find_library(environ={}, system=None)),
                         os.path.realpath(os.path.join(BUNDLE, "libvorla_ui.so")))

    def test_windows_names_the_dll_and_puts_its_folder_on_the_dll_path(self):
        dll = self.touch("win bundle", "vorla_ui.dll")
        self.assertEqual(discovery.find_library(None, {}, os.path.dirname(dll), "nt"), dll)
        with self.assertRaises(vorla_ui.LibraryNotFoundError) as caught:
            discovery.find_library(None, {}, self.bundle, "nt", system=lambda soname: self.explicit)
        self.assertNotIn("dynamic loader", str(caught.exception), "Windows has no sonames")
        added, loaded = [], []
        with mock.patch.dict(discovery._dll_directories, clear=True):
            for _ in range(2):
                discovery.open_library(dll, "nt", add_dll_directory=lambda d: added.append(d) or d,
                                       loader=lambda p: loaded.append(p) or "handle")
        self.assertEqual(added, [os.path.dirname(dll)], "the folder is added once")
        self.assertEqual(loaded, [dll, dll])

    def test_a_library_that_does_not_load_is_named(self):
        broken = self.touch("broken", "libvorla_ui.so")
        with self.assertRaisesRegex(OSError, "vorla_ui: %s could not be loaded" % re.escape(broken)):
            discovery.open_library(broken, "posix")


class PngTest(unittest.TestCase):
    def test_written_pixels_read_back(self):
        width, height = 5, 3
        rgb = bytes(v for y in range(height) for x in range(width) for v in (x * 50, y * 100, (x + y) * 20))
        self.assertEqual(read_png(vorla_ui.encode_png(width, height, rgb)), (width, height, rgb))

    def test_snapshot_pixels_become_rgb(self):
        # Two ARGB pixels stored little-endian: opaque red, then half-transparent teal.
        shot = vorla_ui.Snapshot(bytes([0, 0, 255, 255, 0x80, 0x80, 0, 0x7F]), 2, 1)
        self.assertEqual(shot.rgb(), bytes([255, 0, 0, 0, 0x80, 0x80]))
        self.assertEqual(shot.pixel(1, 0), 0x7F008080)

    def test_mismatched_sizes_are_refused_and_damage_is_found(self):
        with self.assertRaises(ValueError):
            vorla_ui.encode_png(2, 2, bytes(11))
        data = bytearray(vorla_ui.encode_png(2, 2, bytes(12)))
        data[-20] ^= 1  # inside the image data
        with self.assertRaises(PngError):
            read_png(bytes(data))


def newer_annotations(tree):
    """Annotations that Python 3.8 cannot evaluate: built-in generics and X | Y."""
    annotations = [node.annotation for node in ast.walk(tree)
                   if isinstance(node, (ast.arg, ast.AnnAssign)) and node.annotation is not None]
    annotations += [node.returns for node in ast.walk(tree)
                    if isinstance(node, (ast.FunctionDef, ast.AsyncFunctionDef)) and node.returns is not None]
    builtin_generics = {"list", "dict", "tuple", "set", "frozenset", "type"}
    return [ast.dump(part) for annotation in annotations for part in ast.walk(annotation)
            if isinstance(part, ast.BinOp) and isinstance(part.op, ast.BitOr)
            or isinstance(part, ast.Subscript) and isinstance(part.value, ast.Name)
            and part.value.id in builtin_generics]


class PythonVersionTest(unittest.TestCase):
    def test_sources_parse_as_python_3_8(self):
        files = glob.glob(os.path.join(BUNDLE, "app", "vorla_ui", "*.py"))
        files += [os.path.join(BUNDLE, "app", "launcher", "launcher.py"),
                  os.path.join(SOURCE, "docs", "examples", "minimal_host.py")]
        self.assertGreater(len(files), 3)
        for path in files:
            with self.subTest(os.path.basename(path)):
                with open(path) as f:
                    source = f.read()
                tree = ast.parse(source, path, feature_version=(3, 8))
                if "from __future__ import annotations" not in source:
                    # Without it, annotations run on 3.8, where list[int] and int | None fail.
                    self.assertEqual(newer_annotations(tree), [])

    def test_importing_the_package_loads_no_library(self):
        # The package was imported by the test support module; nothing opened a library.
        self.assertEqual(vorla_ui.window._loaded, {})
        self.assertEqual(int(vorla_ui.ExitCode.LINK_READY), 10)


if __name__ == "__main__":
    unittest.main()
