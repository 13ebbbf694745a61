"""The stand-in host end to end: the bundle's VorlaRecomp starts the interpreter on
launcher.py, which finds the binding and the library beside it, shows the launcher and
ends on Ctrl+C; without a library it says where it looked."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from bundle import BUNDLE, finish


class StandInHostTest(unittest.TestCase):
    def test_runs_the_launcher_and_ends_cleanly_on_interrupt(self):
        with tempfile.TemporaryDirectory() as tmp:
            ini = os.path.join(tmp, "vorla.ini")
            env = dict(os.environ, PYTHONUNBUFFERED="1")
            env.pop("VORLA_UI_LIB", None)  # found beside the bundle
            proc = subprocess.Popen(
                [os.path.join(BUNDLE, "VorlaRecomp"), "--console", "--ini", ini, "--rom", "/roms/demo.gba"],
                env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
            time.sleep(2.0)
            self.assertIsNone(proc.poll(), "the launcher ended by itself")
            # Ctrl+C in a terminal reaches the whole process group.
            os.killpg(proc.pid, signal.SIGINT)
            out, err = finish(proc, 30)
            self.assertEqual(proc.returncode, 130, out + err)
            self.assertIn("launcher: interrupted", out)
            self.assertNotIn("Traceback", err)
            # The run ended through its normal shutdown, which writes the settings.
            self.assertTrue(os.path.exists(ini))

    def test_a_window_that_cannot_start_ends_it_with_the_librarys_reason(self):
        with tempfile.TemporaryDirectory() as tmp:
            ini = os.path.join(tmp, "vorla.ini")
            env = dict(os.environ, SDL_VIDEODRIVER="no_such_driver")
            result = subprocess.run([sys.executable, os.path.join(BUNDLE, "app", "launcher", "launcher.py"),
                                     "--ini", ini], env=env, capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertRegex(result.stderr, "(?m)^launcher: vorla_ui: SDL_InitSubSystem failed: .*no_such_driver")
            self.assertNotIn("Traceback", result.stderr)
            self.assertFalse(os.path.exists(ini))

    def test_without_a_library_it_names_the_places_it_looked(self):
        with tempfile.TemporaryDirectory() as tmp:
            # The bundle's scripts without the library beside them.
            shutil.copytree(os.path.join(BUNDLE, "app"), os.path.join(tmp, "app"),
                            ignore=shutil.ignore_patterns("__pycache__"))
            script = os.path.join(tmp, "app", "launcher", "launcher.py")
            missing = os.path.join(tmp, "gone", "libvorla_ui.so")
            cases = [
                ({}, "the library was not found (looked for %s and %s and libvorla_ui.so.1 through the dynamic "
                     "loader)" % (os.path.join(tmp, "libvorla_ui.so"), os.path.join(tmp, "app", "vorla_ui", "libvorla_ui.so"))),
                ({"VORLA_UI_LIB": missing}, "VORLA_UI_LIB names %s, which does not exist" % missing),
            ]
            for extra, message in cases:
                with self.subTest(extra):
                    env = dict(os.environ, **extra)
                    if not extra:
                        env.pop("VORLA_UI_LIB", None)
                    result = subprocess.run([sys.executable, script, "--ini", os.path.join(tmp, "v.ini")],
                                            env=env, capture_output=True, text=True, timeout=60)
                    self.assertEqual(result.returncode, 1)
                    self.assertIn(message, result.stderr)
                    self.assertEqual(result.stderr.count("\n"), 1, result.stderr)
                    self.assertFalse(os.path.exists(os.path.join(tmp, "v.ini")))


if __name__ == "__main__":
    unittest.main()
