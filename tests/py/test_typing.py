"""The binding as a type checker sees it: mypy --strict finds nothing to report in the
binding, the stand-in host and the guide's examples, and finds each mistake of a small
fixture (a misspelt record field among them) on its line."""

import os
import re
import subprocess
import sys
import unittest

from bundle import BUNDLE, SOURCE

APP = os.path.join(SOURCE, "app")
FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "typing_mistakes.py")
CACHE = os.path.join(os.path.dirname(BUNDLE), "mypy-cache")


def mypy(*paths):
    """mypy --strict on `paths` with the source tree's binding; (exit code, report lines)."""
    env = dict(os.environ, MYPYPATH=APP)
    result = subprocess.run([sys.executable, "-m", "mypy", "--strict", "--no-color-output", "--no-error-summary",
                             "--cache-dir", CACHE] + list(paths),
                            env=env, capture_output=True, text=True, timeout=240)
    if "No module named mypy" in result.stderr:
        raise AssertionError("mypy is missing: install Debian's mypy (scripts/setup-deps.sh does)")
    return result.returncode, [line for line in result.stdout.splitlines() if ": error: " in line]


class TypingTest(unittest.TestCase):
    def test_strict_mypy_finds_nothing_in_the_binding_the_stand_in_and_the_examples(self):
        code, errors = mypy(os.path.join(APP, "vorla_ui"), os.path.join(APP, "launcher", "launcher.py"),
                            os.path.join(SOURCE, "docs", "examples"))
        self.assertEqual(errors, [])
        self.assertEqual(code, 0)

    def test_strict_mypy_reports_each_mistake_of_the_fixture_on_its_line(self):
        with open(FIXTURE) as f:
            expected = sorted((number, match.group(1)) for number, line in enumerate(f, 1)
                              for match in [re.search(r"# error: ([\w-]+)$", line)] if match)
        code, errors = mypy(FIXTURE)
        reported = sorted((int(line.split(":")[1]), re.search(r"\[([\w-]+)\]$", line).group(1)) for line in errors)
        self.assertEqual(reported, expected, "\n".join(errors))
        self.assertEqual(code, 1)
        self.assertIn('"vl_status" has no attribute "precent"', "\n".join(errors))


if __name__ == "__main__":
    unittest.main()
