"""Exit codes as the host sees them: the built library driven through the binding, widgets
pressed with Return as the player would, and the settings file read back as the stand-in
host reads it."""

import os
import tempfile
import unittest

from bundle import fresh_launcher, stand_in_host, vorla_ui

from vorla_ui import ExitCode, Page

MAX_POLLS = 300


class ScriptedHost:
    """Fills the records and presses one widget per poll. The online record first
    arrives with the first poll, after its status call, so pressing starts at the second."""

    def __init__(self, ui, case):
        self.ui, self.case = ui, case
        self.polls = 0
        self.problem = ""

    def on_status(self, status):
        status.state = self.case["state"]
        status.rom_ok = 1 if self.case["state"] else 0
        if status.rom_ok:
            status.set_text("rom_path", "/roms/game.gba")
        poll = self.polls
        self.polls += 1
        presses = self.case["presses"]
        if poll >= MAX_POLLS:
            self.problem = "timed out"
            self.ui.inspect.close_window()
        elif 2 <= poll <= len(presses) + 1:
            widget = presses[poll - 2]
            if not self.ui.inspect.press(widget):
                self.problem = "cannot press %s on page %s" % (widget, self.ui.inspect.page().name)
                self.ui.inspect.close_window()

    def on_online(self, online):
        online.lobby_state = self.case.get("lobby", 0)
        online.local_slot = 0
        for i, state in enumerate(self.case.get("slots", ())):
            online.slot_state[i] = state

    def run(self, ini):
        self.ui.set_poll_interval(1)
        self.ui.set_online_poll(self.on_online)
        self.ui.set_start_page(self.case["page"])
        try:
            return self.ui.run(ini, self.on_status)
        finally:
            self.ui.set_online_poll(None)
            self.ui.set_start_page(Page.MAIN)


CASES = [
    {"name": "quit", "page": 0, "state": 3, "presses": ["quit"], "code": ExitCode.QUIT, "link": {"mode": "off"}},
    {"name": "play without a ROM", "page": 0, "state": 0, "presses": ["play"], "code": ExitCode.CHOOSE_ROM,
     "link": {"mode": "off"}},
    {"name": "play", "page": 0, "state": 3, "presses": ["play"], "code": ExitCode.PLAY, "link": {"mode": "off"}},
    {"name": "export from the settings page", "page": 0, "state": 3,
     "presses": ["settings", "save_export"], "code": ExitCode.SAVE_EXPORT, "link": {"mode": "off"}},
    {"name": "confirmed import", "page": 4, "state": 3,
     "presses": ["save_import", "confirm_yes"], "code": ExitCode.SAVE_IMPORT, "link": {"mode": "off"}},
    {"name": "host", "page": 3, "state": 3, "presses": ["online_host"], "code": ExitCode.LINK_HOST,
     "ini": "[link]\r\nport=5000\r\nname=Ann\r\n", "link": {"mode": "host", "port": "5000", "name": "Ann"}},
    {"name": "leave", "page": 3, "state": 3, "lobby": 1, "slots": [3, 2], "presses": ["online_leave"],
     "code": ExitCode.LINK_LEAVE, "link": {"mode": "off"}, "ini": "[link]\r\nmode=host\r\n"},
    {"name": "ready", "page": 3, "state": 3, "lobby": 3, "slots": [2, 3], "presses": ["online_ready"],
     "code": ExitCode.LINK_READY, "link": {"mode": "join"}, "ini": "[link]\r\nmode=join\r\n"},
]


class ExitCodesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ui = fresh_launcher()
        cls.host = stand_in_host()

    def test_codes_and_settings_file_as_the_host_reads_them(self):
        for case in CASES:
            with self.subTest(case["name"]), tempfile.TemporaryDirectory() as tmp:
                ini = os.path.join(tmp, "vorla.ini")
                if "ini" in case:
                    with open(ini, "w", newline="") as f:
                        f.write(case["ini"])
                host = ScriptedHost(self.ui, case)
                code = host.run(ini)
                self.assertEqual(host.problem, "")
                self.assertIs(type(code), ExitCode)
                self.assertEqual(code, case["code"])
                link = self.host.read_link_settings(ini)
                for key, value in case["link"].items():
                    self.assertEqual(link.get(key), value, key)


if __name__ == "__main__":
    unittest.main()
