"""The host records as a Python host fills them through the binding: records with
unterminated texts (written by offset, below the binding's text helpers, as a careless
host could), and what the launcher window then offers, read back through inspection."""

import ctypes
import os
import tempfile
import unittest

from bundle import fresh_launcher, vorla_ui

from vorla_ui import Page, Rect

MAX_POLLS = 400  # a run still going after this many polls is ended and fails the test


def fill_unterminated(record, name, byte, entry=None, entry_size=0):
    """Fills a fixed char array (or one entry of an array of them) to its last byte,
    leaving no terminator."""
    field = getattr(type(record), name)
    offset, size = field.offset, field.size
    if entry is not None:
        offset, size = offset + entry * entry_size, entry_size
    ctypes.memset(ctypes.addressof(record) + offset, byte, size)


class HostRecords(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ui = fresh_launcher()
        cls.inspect = cls.ui.inspect

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.ini = os.path.join(self.dir.name, "vorla.ini")
        self.ui.set_poll_interval(1)

    def tearDown(self):
        self.ui.set_online_poll(None)
        self.ui.set_start_page(Page.MAIN)
        self.dir.cleanup()

    def run_launcher(self, on_status, on_online=None):
        """One run; on_status(record, poll) returns True to end the run."""
        polls = {"status": 0}

        def status(record):
            poll = polls["status"]
            polls["status"] += 1
            try:
                done = on_status(record, poll)
            except Exception as error:  # kept for the test; the binding would only report it
                polls["error"] = error
                done = True
            if done or poll >= MAX_POLLS:
                self.inspect.close_window()

        self.ui.set_online_poll(on_online)
        code = self.ui.run(self.ini, status)
        self.ui.set_online_poll(None)
        if "error" in polls:
            raise polls["error"]
        self.assertLess(polls["status"], MAX_POLLS + 1, "the run did not end")
        return code

    def test_unterminated_status_texts_and_the_main_page(self):
        seen = {}
        zeroed = []

        def on_status(record, poll):
            if poll >= 1:
                zeroed.append(ctypes.string_at(ctypes.addressof(record), 368) == bytes(368))
            if poll == 3:
                seen["play"] = self.inspect.widget("play")
                seen["play_enabled"] = self.inspect.enabled("play")
                seen["selectrom"] = self.inspect.widget("selectrom")
                seen["online_enabled"] = self.inspect.enabled("online")
                seen["focus"] = self.inspect.focus()
                return True
            # Building, with a ROM, texts filling their whole arrays.
            record.state = 2
            record.percent = 55
            fill_unterminated(record, "message", ord("M"))
            fill_unterminated(record, "rom_path", ord("R"))
            record.rom_ok = 1
            return False

        self.assertEqual(self.run_launcher(on_status), vorla_ui.ExitCode.QUIT)
        self.assertEqual(zeroed, [True, True, True], "every poll hands over a zeroed record")
        self.assertEqual(seen["play"], Rect(350, 358, 260, 46))
        self.assertTrue(seen["play_enabled"])
        self.assertIsNone(seen["selectrom"], "the button reads PLAY, so no ROM link")
        self.assertTrue(seen["online_enabled"])
        self.assertEqual(seen["focus"], "play")

    def test_preparing_build_without_a_rom_keeps_select_rom_dimmed(self):
        seen = {}

        def on_status(record, poll):
            if poll == 2:
                seen["play"] = self.inspect.enabled("play")
                seen["selectrom"] = self.inspect.enabled("selectrom")
                seen["online"] = self.inspect.enabled("online")
                return True
            record.state = 1
            fill_unterminated(record, "message", ord("P"))
            return False

        self.assertEqual(self.run_launcher(on_status), vorla_ui.ExitCode.QUIT)
        self.assertEqual(seen, {"play": False, "selectrom": True, "online": False})

    def test_unterminated_online_texts_and_the_lobby_widgets(self):
        self.ui.set_start_page(Page.ONLINE)
        seen = {}

        def on_online(record):
            record.lobby_state = 1
            record.slot_state[0] = 3
            record.slot_state[1] = 3
            for k in range(4):
                fill_unterminated(record, "addresses", ord("0") + k, k, 48)
                fill_unterminated(record, "slot_name", ord("n"), k, 16)
            fill_unterminated(record, "address", ord("a"))
            fill_unterminated(record, "host_message", ord("h"))
            record.quality = -1

        def on_status(record, poll):
            if poll == 4:
                seen["page"] = self.inspect.page()
                seen["rows"] = [self.inspect.widget("online_ip%d" % k) is not None for k in range(4)]
                seen["row3"] = self.inspect.widget("online_ip3")
                seen["start"] = self.inspect.enabled("online_start")
                seen["leave"] = self.inspect.enabled("online_leave")
                seen["copy"] = self.inspect.enabled("online_copy")
                seen["host"] = self.inspect.enabled("online_host")
                seen["pick"] = self.inspect.addr_sel()
                return True
            return False

        self.assertEqual(self.run_launcher(on_status, on_online), vorla_ui.ExitCode.QUIT)
        self.assertEqual(seen["page"], Page.ONLINE)
        self.assertEqual(seen["rows"], [True, True, True, True])
        self.assertEqual(seen["row3"], Rect(537, 496, 377, 20))
        self.assertTrue(seen["start"], "two ready players may start")
        self.assertTrue(seen["leave"])
        self.assertTrue(seen["copy"])
        self.assertFalse(seen["host"], "set-up is locked while linked")
        self.assertEqual(seen["pick"], 0)


if __name__ == "__main__":
    unittest.main()
