"""The minimal host of docs/host-guide.md: the guide shows exactly the file, and the file,
run against the built library, handles a dropped ROM, play, a save request, a link request
and the quit, driven by the player's input pushed into its runs."""

import contextlib
import importlib
import io
import os
import sys
import tempfile
import unittest

from bundle import LIB, SOURCE, vorla_ui

EXAMPLE = os.path.join(SOURCE, "docs", "examples", "minimal_host.py")
GUIDE = os.path.join(SOURCE, "docs", "host-guide.md")
ROM = "/roms/Vorla & The Glassmaze (EU).gba"
GUARD_POLLS = 300


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


class Player:
    """Per run, the input of one player: actions at given polls of that run."""

    def __init__(self, ui, script):
        self.ui, self.script = ui, script
        self.run = -1
        self.problem = ""

    def __call__(self, poll):
        inspect = self.ui.inspect
        if poll == 0:
            self.run += 1
        if poll >= GUARD_POLLS:
            self.problem = "run %d did not end" % self.run
            inspect.close_window()
            return
        step = self.script[self.run].get(poll) if self.run < len(self.script) else None
        if step is None:
            return
        verb, argument = step
        done = {"drop": inspect.drop, "press": inspect.press, "close": lambda _: inspect.close_window()}[verb](argument)
        if not done:
            self.problem = "run %d: could not %s %s on the %s page" % (self.run, verb, argument, inspect.page().name)
            inspect.close_window()


class MinimalHostTest(unittest.TestCase):
    def test_the_guide_shows_the_file_as_it_is(self):
        self.assertIn("```python\n" + read(EXAMPLE) + "```\n", read(GUIDE))

    def test_it_runs_through_a_drop_play_a_save_and_a_link_request_to_quit(self):
        os.environ["VORLA_UI_LIB"] = LIB  # found the way the example finds it
        sys.path.insert(0, os.path.dirname(EXAMPLE))
        try:
            host = importlib.import_module("minimal_host")
        finally:
            sys.path.pop(0)
        ui = vorla_ui.load(LIB)  # the very Launcher the example gets
        ui.set_poll_interval(5)
        player = Player(ui, [
            {2: ("drop", ROM)},
            {2: ("press", "play")},
            {2: ("press", "settings"), 4: ("press", "save_export")},
            {2: ("press", "online"), 4: ("press", "online_host")},
            {2: ("close", None)},
        ])
        ui.add_poll_hook(player)
        out = io.StringIO()
        with tempfile.TemporaryDirectory() as tmp, contextlib.redirect_stdout(out):
            ini = os.path.join(tmp, "vorla.ini")
            result = host.main(ini)
            with open(ini, newline="") as f:
                settings = f.read()
        ui.remove_poll_hook(player)
        ui.set_keep_place(False)  # the example turned it on for the library's later runs
        self.assertEqual(player.problem, "")
        self.assertEqual(result, 0)
        self.assertEqual(out.getvalue().splitlines(), [
            "ROM: " + ROM,
            "would play with " + ROM,
            "would save export with " + ROM,
            "would link host with " + ROM,
        ])
        self.assertIn("\r\nmode=host\r\n", settings)
        self.assertEqual(player.run, 4)


if __name__ == "__main__":
    unittest.main()
