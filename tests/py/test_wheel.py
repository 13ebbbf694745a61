"""The binding as pip users get it. `cmake --build <build> --target wheel` writes
dist/vorla_ui-<header version>-py3-none-linux_x86_64.whl carrying the package, py.typed
and the built library; it installs into a fresh venv with `pip install --no-index`, where
the guide's minimal host runs headless on the wheel's library, found without
VORLA_UI_LIB. A library installed under a prefix is found by its soname through the
dynamic loader."""

import glob
import json
import os
import subprocess
import sys
import tempfile
import unittest

import header
import wheel_check
from bundle import BUNDLE, SOURCE

BUILD = os.path.dirname(BUNDLE)
EXAMPLE = os.path.join(SOURCE, "docs", "examples", "minimal_host.py")
DRIVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "venv_host.py")


def run(command, **options):
    result = subprocess.run(command, capture_output=True, text=True, timeout=240, **options)
    if result.returncode != 0:
        raise AssertionError("%s exited %d:\n%s%s" % (command, result.returncode, result.stdout, result.stderr))
    return result.stdout


def clean_env(**extra):
    """The environment of a host that set nothing up: no VORLA_UI_LIB, no PYTHONPATH."""
    env = {k: v for k, v in os.environ.items() if k not in ("VORLA_UI_LIB", "PYTHONPATH", "LD_LIBRARY_PATH")}
    env.update(SDL_VIDEODRIVER="dummy", SDL_RENDER_DRIVER="software", SDL_AUDIODRIVER="dummy", **extra)
    return env


class WheelTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        run(["cmake", "--build", BUILD, "--target", "wheel"])
        cls.wheel = os.path.join(BUILD, "dist", "vorla_ui-%s-py3-none-linux_x86_64.whl" % header.version())

    def test_the_wheel_holds_the_package_and_the_library_under_the_header_version(self):
        self.assertTrue(os.path.isfile(self.wheel), "%s was not written" % self.wheel)
        self.assertEqual(wheel_check.problems(self.wheel, "linux_x86_64"), [])

    def test_installed_in_a_fresh_venv_the_minimal_host_runs_on_the_wheels_library(self):
        with tempfile.TemporaryDirectory() as tmp:
            venv = os.path.join(tmp, "venv")
            run([sys.executable, "-m", "venv", venv])
            python = os.path.join(venv, "bin", "python")
            run([python, "-m", "pip", "install", "--quiet", "--no-index", self.wheel], env=clean_env())
            out = run([python, DRIVER, EXAMPLE, os.path.join(tmp, "vorla.ini")], env=clean_env(), cwd=tmp)
            lines = out.splitlines()
            summary = json.loads(lines[-1])
            site = os.path.realpath(venv)
            self.assertEqual(lines[:-1], ["ROM: /roms/game.gba", "would play with /roms/game.gba"])
            self.assertEqual((summary["code"], summary["runs"], summary["version"]), (0, 3, header.version()))
            self.assertTrue(os.path.realpath(summary["package"]).startswith(site), summary["package"])
            self.assertEqual(os.path.realpath(summary["library"]),
                             os.path.join(os.path.dirname(os.path.realpath(summary["package"])), "libvorla_ui.so"))


class SystemLibraryTest(unittest.TestCase):
    def test_a_library_installed_under_a_prefix_is_found_by_its_soname(self):
        find = ("import vorla_ui; ui = vorla_ui.load(); "
                "print(ui.library_path); print(ui.dropped_path())")
        with tempfile.TemporaryDirectory() as tmp:
            run(["cmake", "--install", BUILD, "--prefix", tmp])
            sonames = glob.glob(os.path.join(tmp, "lib*", "**", "libvorla_ui.so.%s" % header.version().split(".")[0]),
                                recursive=True)
            self.assertEqual(len(sonames), 1, sonames)
            # The source tree's binding: no library beside it, so only the loader can find one.
            app = os.path.join(SOURCE, "app")
            env = clean_env(PYTHONPATH=app, LD_LIBRARY_PATH=os.path.dirname(sonames[0]))
            out = run([sys.executable, "-c", find], env=env, cwd=tmp).splitlines()
            self.assertEqual(os.path.realpath(out[0]), os.path.realpath(sonames[0]))
            self.assertEqual(out[1], "None", "a call into the library found")
            if subprocess.run(["/sbin/ldconfig", "-p"], capture_output=True, text=True).stdout.count("libvorla_ui"):
                return  # a system-wide install would be found without LD_LIBRARY_PATH
            missing = subprocess.run([sys.executable, "-c", find], env=clean_env(PYTHONPATH=app), cwd=tmp,
                                     capture_output=True, text=True, timeout=60)
            self.assertIn("libvorla_ui.so.1 through the dynamic loader", missing.stderr)
            self.assertIn("LibraryNotFoundError", missing.stderr)


if __name__ == "__main__":
    unittest.main()
