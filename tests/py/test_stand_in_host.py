"""The stand-in host end to end: the bundle's VorlaRecomp starts the interpreter on
launcher.py, which loads the library, shows the launcher and ends on Ctrl+C."""

import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

BUNDLE = os.environ.get("VORLA_BUNDLE", "")


class StandInHostTest(unittest.TestCase):
    def test_runs_the_launcher_and_ends_cleanly_on_interrupt(self):
        with tempfile.TemporaryDirectory() as tmp:
            ini = os.path.join(tmp, "vorla.ini")
            env = dict(os.environ, SDL_VIDEODRIVER="dummy", PYTHONUNBUFFERED="1")
            proc = subprocess.Popen(
                [os.path.join(BUNDLE, "VorlaRecomp"), "--console", "--ini", ini, "--rom", "/roms/demo.gba"],
                env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
            time.sleep(2.0)
            self.assertIsNone(proc.poll(), "the launcher ended by itself")
            # Ctrl+C in a terminal reaches the whole process group.
            os.killpg(proc.pid, signal.SIGINT)
            out, err = proc.communicate(timeout=30)
            self.assertEqual(proc.returncode, 130, out + err)
            self.assertIn("launcher: interrupted", out)
            self.assertNotIn("Traceback", err)
            # The run ended through its normal shutdown, which writes the settings.
            self.assertTrue(os.path.exists(ini))

    def test_structures_match_the_library_records(self):
        sys.path.insert(0, os.path.join(BUNDLE, "app", "launcher"))
        try:
            import launcher
        finally:
            sys.path.pop(0)
        import ctypes
        self.assertEqual(ctypes.sizeof(launcher.VlStatus), 368)
        self.assertEqual(ctypes.sizeof(launcher.VlOnlineStatus), 452)
        offsets = {"message": 8, "rom_path": 104, "rom_ok": 364}
        for name, offset in offsets.items():
            self.assertEqual(getattr(launcher.VlStatus, name).offset, offset)
        offsets = {"slot_ping": 20, "slot_name": 36, "local_slot": 100, "address": 104,
                   "host_message": 152, "quality": 248, "pauses": 252, "p95_ms": 256, "addresses": 260}
        for name, offset in offsets.items():
            self.assertEqual(getattr(launcher.VlOnlineStatus, name).offset, offset)


if __name__ == "__main__":
    unittest.main()
