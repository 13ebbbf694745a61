"""The stand-in host where no display is: started as ./run starts it, it says so in one
line and ends, unless a video driver was chosen explicitly; its tour writes a PNG of every
page on any driver."""

import itertools
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from bundle import BUNDLE, LIB, STAND_IN, finish
from png_check import read_png_file

PAGES = ("main", "keyboard", "controller", "online", "settings")
INVISIBLE = ("offscreen", "dummy", "evdev", "None")


def without_display(**extra):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env.update(extra)
    return env


def driver_sdl_picks(env):
    probe = ("import sys; sys.path.insert(0, sys.argv[1]); import vorla_ui; "
             "print(vorla_ui.Launcher(sys.argv[2]).video_driver())")
    result = subprocess.run([sys.executable, "-c", probe, os.path.join(BUNDLE, "app"), LIB], env=env,
                            capture_output=True, text=True, timeout=60)
    return result.stdout.strip()


class NoDisplayTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.ini = os.path.join(self.tmp.name, "vorla.ini")

    def tearDown(self):
        self.tmp.cleanup()

    def start(self, env):
        return subprocess.Popen([os.path.join(BUNDLE, "VorlaRecomp"), "--console", "--ini", self.ini],
                                env=dict(env, PYTHONUNBUFFERED="1"), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, start_new_session=True)

    def test_without_a_display_it_says_so_and_ends(self):
        env = without_display()
        driver = driver_sdl_picks(env)
        if driver not in INVISIBLE:
            self.skipTest("SDL shows windows here without a display server (%s)" % driver)
        proc = self.start(env)
        out, err = finish(proc, 60)  # a guard: without the check it would wait for ever
        self.assertEqual(proc.returncode, 1, out + err)
        self.assertEqual(out, "")
        ours = [line for line in err.splitlines() if line.startswith("launcher:")]
        self.assertEqual(len(ours), 1, err)
        self.assertRegex(ours[0], r"^launcher: no display found \(.+\); run it on a desktop, .*xvfb-run \./run")
        self.assertIn("--tour", ours[0])
        self.assertNotIn("Traceback", err)
        self.assertFalse(os.path.exists(self.ini), "no run was started")

    def test_a_driver_chosen_explicitly_is_used_as_it_is(self):
        proc = self.start(without_display(SDL_VIDEODRIVER="offscreen"))
        time.sleep(2.0)
        still_running = proc.poll() is None
        os.killpg(proc.pid, signal.SIGINT)
        out, err = finish(proc, 30)
        self.assertTrue(still_running, out + err)
        self.assertEqual(proc.returncode, 130, out + err)
        self.assertNotIn("no display", err)
        self.assertTrue(os.path.exists(self.ini))


class TourTest(unittest.TestCase):
    def test_a_distinct_960x600_png_of_every_page_on_any_driver(self):
        cases = [("dummy driver", dict(os.environ, SDL_VIDEODRIVER="dummy")),
                 ("no display, no driver chosen", without_display())]
        for name, env in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as tmp:
                folder = os.path.join(tmp, "pages")
                result = subprocess.run([sys.executable, STAND_IN, "--tour", folder], env=env,
                                        capture_output=True, text=True, timeout=120)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                written = re.findall(r"^launcher: tour: wrote (.+)$", result.stdout, re.M)
                self.assertEqual(sorted(os.path.join(folder, f) for f in os.listdir(folder)), sorted(written))
                for page in PAGES:
                    self.assertTrue(any(page in os.path.basename(path) for path in written), page)
                pictures = {}
                for path in written:
                    width, height, rgb = read_png_file(path)
                    self.assertEqual((width, height), (960, 600), path)
                    pictures[os.path.basename(path)] = rgb
                for (a, first), (b, second) in itertools.combinations(pictures.items(), 2):
                    self.assertNotEqual(first, second, "%s and %s show the same" % (a, b))


if __name__ == "__main__":
    unittest.main()
