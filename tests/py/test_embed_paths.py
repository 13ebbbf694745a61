"""The binding under the search-path rules of the Windows embeddable Python, checked here
on Linux: the interpreter runs isolated (-I: no PYTHONPATH, no user site), without site
(-S, as the embed's "#import site") and without the script's folder (-P), and sys.path is
exactly the lines of python/python311._pth, resolved against the python folder, with the
embed's zip of the standard library standing for this interpreter's own."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from bundle import BUNDLE, LIB, SOURCE

EMBED_PTH = ["python311.zip", ".", "", "# Uncomment to run site.main() automatically", "#import site"]

BOOT = r"""
import os, runpy, sys
pth, script = sys.argv[1], sys.argv[2]
folder = os.path.dirname(os.path.abspath(pth))
stdlib = [p for p in sys.path if os.path.isdir(p)]
paths = []
with open(pth, encoding="utf-8") as f:
    for line in f:
        line = line.strip()
        if not line or line.startswith("#") or line.startswith("import "):
            continue
        if line.endswith(".zip"):
            paths.extend(stdlib)
        else:
            paths.append(os.path.normpath(os.path.join(folder, line.replace("\\", os.sep))))
sys.path[:] = paths
sys.argv = [script] + sys.argv[3:]
runpy.run_path(script, run_name="__main__")
"""

PROBE = """import sys
import vorla_ui
print(vorla_ui.__file__)
print(int(vorla_ui.ExitCode.LINK_READY))
"""


def release_lines():
    """The lines the release build appends to the embed's ._pth file."""
    with open(os.path.join(SOURCE, "cmake", "embed-python-paths.txt"), encoding="utf-8") as f:
        return f.read().splitlines()


class EmbedPathsTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.bundle = os.path.join(self.tmp.name, "Vorla Recomp")
        shutil.copytree(os.path.join(BUNDLE, "app"), os.path.join(self.bundle, "app"),
                        ignore=shutil.ignore_patterns("__pycache__"))
        os.symlink(LIB, os.path.join(self.bundle, os.path.basename(LIB)))
        os.makedirs(os.path.join(self.bundle, "python"))
        self.pth = os.path.join(self.bundle, "python", "python311._pth")
        self.probe = os.path.join(self.tmp.name, "probe.py")
        with open(self.probe, "w") as f:
            f.write(PROBE)
        # What the isolated interpreter must ignore.
        self.env = dict(os.environ, PYTHONPATH=os.path.join(BUNDLE, "app"), SDL_VIDEODRIVER="dummy",
                        PYTHONDONTWRITEBYTECODE="1")
        self.env.pop("VORLA_UI_LIB", None)

    def tearDown(self):
        self.tmp.cleanup()

    def write_pth(self, lines):
        with open(self.pth, "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")

    def embedded(self, script, *args):
        return subprocess.run([sys.executable, "-I", "-S", "-P", "-c", BOOT, self.pth, script] + list(args),
                              env=self.env, cwd=self.tmp.name, capture_output=True, text=True, timeout=120)

    def tour(self):
        pages = os.path.join(self.tmp.name, "pages")
        result = self.embedded(os.path.join(self.bundle, "app", "launcher", "launcher.py"), "--tour", pages)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(len(os.listdir(pages)), result.stdout.count("launcher: tour: wrote "))
        self.assertIn("launcher: tour: 8 pages in", result.stdout)
        shutil.rmtree(pages)

    def test_the_release_lines_make_the_binding_importable(self):
        self.assertIn("..\\app", release_lines())
        self.write_pth(EMBED_PTH + release_lines())
        result = self.embedded(self.probe)
        self.assertEqual(result.returncode, 0, result.stderr)
        location, ten = result.stdout.splitlines()
        self.assertEqual(os.path.dirname(location), os.path.join(self.bundle, "app", "vorla_ui"))
        self.assertEqual(ten, "10")
        self.tour()

    def test_without_them_only_the_launcher_script_finds_its_binding(self):
        self.write_pth(EMBED_PTH)
        result = self.embedded(self.probe)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("No module named 'vorla_ui'", result.stderr)
        self.tour()


if __name__ == "__main__":
    unittest.main()
