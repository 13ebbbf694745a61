"""The Wine start retry (wine_start_retry.py) driven with fake programs on Linux.

Each fake program is a shell script that counts its runs and, on run N, does what the case
says for that run: prints on stdout or stderr, stays silent, exits with a code, or first
outlasts the wrapper's start-failure window.
"""
import importlib
import os
import pathlib
import selectors
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
WRAPPER = HERE / "wine_start_retry.py"
sys.path.insert(0, str(HERE))
retry = importlib.import_module(WRAPPER.stem)

# One word per run: "silent:N" exits N having printed nothing, "out:N" and "err:N" print a
# line on stdout or stderr first, "slow:N" exits N silently after the start-failure window.
FAKE = """#!/bin/sh
count="$1"; shift
echo run >> "$count"
runs=$(wc -l < "$count")
eval "plan=\\${$runs}"
code=${plan#*:}
case $plan in
  out:*) echo "stdout of run $runs" ;;
  err:*) echo "stderr of run $runs" >&2 ;;
  slow:*) sleep %s ;;
esac
exit "$code"
""" % (retry.START_FAILURE_SECONDS + 0.5)


class WineStartRetry(unittest.TestCase):
    def setUp(self):
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="wine-retry-"))
        self.fake = self.dir / "fake.sh"
        self.fake.write_text(FAKE)
        self.fake.chmod(0o755)
        self.log = self.dir / "retries.log"
        self.wrapper_runs = 0

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def run_wrapper(self, *plan):
        self.wrapper_runs += 1
        count = self.dir / f"count-{self.wrapper_runs}"
        env = dict(os.environ, **{retry.RETRY_LOG: str(self.log)})
        env.pop("PYTHONUNBUFFERED", None)  # the wrapper must pass output on by itself
        command = [sys.executable, str(WRAPPER), str(self.fake), str(count), *plan]
        return count, subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)

    def test_cases(self):
        # plan of runs, exit code, runs made, retried, stdout, stderr of the program
        cases = [
            (["silent:5", "out:0"], 0, 2, True, "stdout of run 2\n", ""),
            (["silent:5", "silent:7"], 7, 2, True, "", ""),
            (["out:3", "out:0"], 3, 1, False, "stdout of run 1\n", ""),
            (["err:3", "out:0"], 3, 1, False, "", "stderr of run 1\n"),
            (["slow:5", "out:0"], 5, 1, False, "", ""),
            (["out:0", "out:0"], 0, 1, False, "stdout of run 1\n", ""),
            (["silent:0", "out:0"], 0, 1, False, "", ""),
        ]
        for plan, code, runs, retried, stdout, stderr in cases:
            with self.subTest(plan=plan):
                if self.log.exists():
                    self.log.unlink()
                count, wrapper = self.run_wrapper(*plan)
                out, err = wrapper.communicate(timeout=60)
                err = err.decode()
                self.assertEqual(wrapper.returncode, code)
                self.assertEqual(len(count.read_text().splitlines()), runs)
                self.assertEqual(out.decode(), stdout)
                notes = [line for line in err.splitlines(keepends=True) if line.startswith("wine_start_retry:")]
                self.assertEqual(err.replace("".join(notes), ""), stderr)
                if retried:
                    # One line naming the program and why, and one log line with the outcome.
                    self.assertEqual(len(notes), 1, err)
                    self.assertIn("fake.sh", notes[0])
                    self.assertIn(f"exited {plan[0].split(':')[1]} ", notes[0])
                    self.assertIn("printed nothing", notes[0])
                    logged = self.log.read_text().splitlines()
                    self.assertEqual(len(logged), 1)
                    self.assertTrue(logged[0].endswith(f"the second run exited {code}"), logged[0])
                else:
                    self.assertEqual(notes, [])
                    self.assertFalse(self.log.exists())

    def test_output_is_passed_on_as_it_comes(self):
        # The program prints, then waits for a file that the test makes only after it read
        # that line from the wrapper: a wrapper that held the output back would stall here.
        gate = self.dir / "gate"
        self.fake.write_text(
            '#!/bin/sh\necho first\n'
            f'i=0; while [ ! -e "{gate}" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done\n'
            'echo second >&2\nexit 4\n')
        _, wrapper = self.run_wrapper()
        with selectors.DefaultSelector() as selector:
            selector.register(wrapper.stdout, selectors.EVENT_READ)
            self.assertTrue(selector.select(timeout=20), "no output from the wrapper before the program ended")
        self.assertEqual(wrapper.stdout.readline(), b"first\n")
        gate.touch()
        out, err = wrapper.communicate(timeout=60)
        self.assertEqual((wrapper.returncode, out, err), (4, b"", b"second\n"))

    def test_a_program_that_cannot_be_started_fails(self):
        wrapper = subprocess.run([sys.executable, str(WRAPPER), str(self.dir / "missing")],
                                 capture_output=True, text=True, timeout=60)
        self.assertEqual(wrapper.returncode, 127)
        self.assertIn("cannot run", wrapper.stderr)


if __name__ == "__main__":
    unittest.main()
