"""VorlaRecomp on this platform: starts python/python(w).exe from its own folder on
app/launcher/launcher.py, passes the arguments on unchanged, returns the exit code."""

import os
import shutil
import signal
import stat
import subprocess
import tempfile
import unittest

BUNDLE = os.environ.get("VORLA_BUNDLE", "")
LAUNCHER = os.path.join(BUNDLE, "VorlaRecomp")

# A stand-in interpreter: records its name, working folder and arguments, one per line.
STUB = """#!/bin/sh
log="$STUB_LOG"
{ echo "$(basename "$0")"; pwd; for a in "$@"; do echo "arg:$a"; done; } > "$log"
if [ -n "$STUB_SIGNAL" ]; then kill -"$STUB_SIGNAL" $$; fi
exit "${STUB_EXIT:-0}"
"""


class LauncherTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="vorla launcher ")
        self.folder = os.path.join(self.root, "Vorla Recomp 'beta' folder")
        os.makedirs(os.path.join(self.folder, "python"))
        os.makedirs(os.path.join(self.folder, "app", "launcher"))
        shutil.copy(LAUNCHER, os.path.join(self.folder, "VorlaRecomp"))
        for name in ("python.exe", "pythonw.exe"):
            path = os.path.join(self.folder, "python", name)
            with open(path, "w") as f:
                f.write(STUB)
            os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        self.log = os.path.join(self.root, "stub.log")

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def launch(self, args, **env):
        full_env = dict(os.environ, STUB_LOG=self.log, **env)
        return subprocess.run([os.path.join(self.folder, "VorlaRecomp")] + args, env=full_env,
                              cwd=self.root, capture_output=True, text=True, timeout=30)

    def recorded(self):
        with open(self.log) as f:
            lines = f.read().splitlines()
        return lines[0], lines[1], [l[4:] for l in lines[2:]]

    def test_interpreter_choice_arguments_and_folder(self):
        script = os.path.join(self.folder, "app", "launcher", "launcher.py")
        cases = [
            # arguments, interpreter expected
            ([], "pythonw.exe"),
            (["--console", "--rom", "my game.gba"], "python.exe"),
            (["--Console"], "pythonw.exe"),
            (["x--consolex"], "python.exe"),
            (['say "hi"', "", "tab\there"], "pythonw.exe"),
        ]
        for args, interpreter in cases:
            with self.subTest(args=args):
                result = self.launch(args)
                self.assertEqual(result.returncode, 0, result.stderr)
                name, cwd, received = self.recorded()
                self.assertEqual(name, interpreter)
                self.assertEqual(os.path.realpath(cwd), os.path.realpath(self.folder))
                self.assertEqual(received, [script] + args)

    def test_exit_code_passes_through(self):
        for code in (0, 5, 130, 255):
            with self.subTest(code=code):
                self.assertEqual(self.launch([], STUB_EXIT=str(code)).returncode, code)

    def test_interpreter_killed_by_a_signal(self):
        result = self.launch([], STUB_SIGNAL="TERM")
        self.assertEqual(result.returncode, 128 + signal.SIGTERM)

    def test_missing_interpreter_reports_and_returns_one(self):
        shutil.rmtree(os.path.join(self.folder, "python"))
        result = self.launch(["--console"])
        self.assertEqual(result.returncode, 1)
        self.assertIn("Could not start the bundled Python (is the 'python' folder missing, or still being "
                      "scanned by your antivirus?).", result.stderr)
        self.assertFalse(os.path.exists(self.log))


if __name__ == "__main__":
    unittest.main()
