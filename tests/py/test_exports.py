"""The shared library exports exactly its C interface, nothing of its C++ insides."""

import os
import re
import subprocess
import unittest

HEADER = os.path.join(os.path.dirname(__file__), "..", "..", "ui", "frame", "vorla_ui.h")


class ExportsTest(unittest.TestCase):
    def test_exported_symbols_are_the_declared_functions(self):
        with open(HEADER) as f:
            declared = set(re.findall(r"\bVL_API\b[^;(]*?\b((?:vl|vui)_\w+)\s*\(", f.read()))
        self.assertEqual(len(declared), 30)  # the regex found every export
        out = subprocess.run(["nm", "-D", "--defined-only", os.environ["VORLA_LIB"]],
                             capture_output=True, text=True, check=True).stdout
        exported = {line.split()[-1] for line in out.splitlines()
                    if line.split() and line.split()[-2] in ("T", "W", "D", "B", "R", "V", "i")}
        exported -= {"_edata", "_end", "__bss_start", "_init", "_fini"}
        self.assertEqual(exported, declared)


if __name__ == "__main__":
    unittest.main()
