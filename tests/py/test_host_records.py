"""The host records as a ctypes host fills them: the stand-in host's structures, records
with unterminated texts, and what the launcher window then offers, read back through the
inspection exports."""

import ctypes
import importlib.util
import os
import tempfile
import unittest

SDL_QUIT_EVENT = 0x100
MAX_CALLS = 400  # a run still going after this many polls is ended and fails the test


def load_launcher_module():
    path = os.path.join(os.environ["VORLA_BUNDLE"], "app", "launcher", "launcher.py")
    module_spec = importlib.util.spec_from_file_location("vorla_stand_in_host", path)
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module


def declare_inspection(lib):
    lib.vl_test_widget.argtypes = [ctypes.c_char_p] + [ctypes.POINTER(ctypes.c_int32)] * 4
    lib.vl_test_widget.restype = ctypes.c_int32
    lib.vl_test_enabled.argtypes = [ctypes.c_char_p]
    lib.vl_test_enabled.restype = ctypes.c_int32
    lib.vl_test_focus.restype = ctypes.c_char_p
    lib.vl_test_page.restype = ctypes.c_char_p
    lib.vl_test_addr_sel.restype = ctypes.c_int32


def push_quit(sdl):
    event = (ctypes.c_uint8 * 64)()
    ctypes.memmove(event, SDL_QUIT_EVENT.to_bytes(4, "little"), 4)
    sdl.SDL_PushEvent(event)


def fill_unterminated(record, name, byte, entry=None, entry_size=0):
    """Fills a fixed char array (or one entry of an array of them) to its last byte,
    leaving no terminator. ctypes reads char arrays as bytes, so go by offset."""
    field = getattr(type(record), name)
    offset, size = field.offset, field.size
    if entry is not None:
        offset, size = offset + entry * entry_size, entry_size
    ctypes.memset(ctypes.addressof(record) + offset, byte, size)


class HostRecords(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.host = load_launcher_module()
        cls.lib = ctypes.CDLL(os.environ["VORLA_LIB"])
        cls.host.declare(cls.lib)
        declare_inspection(cls.lib)
        cls.sdl = ctypes.CDLL("libSDL2-2.0.so.0")

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.ini = os.path.join(self.dir.name, "vorla.ini").encode()
        self.lib.vl_set_poll_interval(1)

    def tearDown(self):
        self.lib.vl_set_online_poll(self.host.ONLINE_CB())  # a null callback switches it off
        self.lib.vl_set_start_page(0)
        self.dir.cleanup()

    def widget(self, name):
        x, y, w, h = (ctypes.c_int32(-7) for _ in range(4))
        found = self.lib.vl_test_widget(name.encode(), ctypes.byref(x), ctypes.byref(y),
                                        ctypes.byref(w), ctypes.byref(h))
        return found, (x.value, y.value, w.value, h.value)

    def run_launcher(self, on_status, on_online=None):
        """One vl_run; on_status(record, call) returns True to end the run."""
        calls = {"status": 0}

        def status(pointer):
            call = calls["status"]
            calls["status"] += 1
            try:
                done = on_status(pointer.contents, call)
            except Exception as error:  # an exception cannot cross the C boundary
                calls["error"] = error
                done = True
            if done or call >= MAX_CALLS:
                push_quit(self.sdl)

        status_cb = self.host.STATUS_CB(status)
        online_cb = self.host.ONLINE_CB(lambda p: on_online(p.contents)) if on_online else self.host.ONLINE_CB()
        self.lib.vl_set_online_poll(online_cb)
        code = self.lib.vl_run(self.ini, status_cb)
        self.lib.vl_set_online_poll(self.host.ONLINE_CB())
        if "error" in calls:
            raise calls["error"]
        self.assertLess(calls["status"], MAX_CALLS + 1, "the run did not end")
        return code

    def test_unterminated_status_texts_and_the_main_page(self):
        seen = {}
        zeroed = []

        def on_status(record, call):
            if call >= 1:
                zeroed.append(bytes(ctypes.string_at(ctypes.addressof(record), 368)) == bytes(368))
            if call == 3:
                seen["play"] = self.widget("play")
                seen["play_enabled"] = self.lib.vl_test_enabled(b"play")
                seen["selectrom"] = self.widget("selectrom")[0]
                seen["online_enabled"] = self.lib.vl_test_enabled(b"online")
                seen["focus"] = self.lib.vl_test_focus()
                return True
            # Building, with a ROM, texts filling their whole arrays.
            record.state = 2
            record.percent = 55
            fill_unterminated(record, "message", ord("M"))
            fill_unterminated(record, "rom_path", ord("R"))
            record.rom_ok = 1
            return False

        self.assertEqual(self.run_launcher(on_status), 0)
        self.assertEqual(zeroed, [True, True, True], "every poll hands over a zeroed record")
        self.assertEqual(seen["play"], (1, (350, 358, 260, 46)))
        self.assertEqual(seen["play_enabled"], 1)
        self.assertEqual(seen["selectrom"], 0, "the button reads PLAY, so no ROM link")
        self.assertEqual(seen["online_enabled"], 1)
        self.assertEqual(seen["focus"], b"play")

    def test_preparing_build_without_a_rom_keeps_select_rom_dimmed(self):
        seen = {}

        def on_status(record, call):
            if call == 2:
                seen["play"] = self.lib.vl_test_enabled(b"play")
                seen["selectrom"] = self.lib.vl_test_enabled(b"selectrom")
                seen["online"] = self.lib.vl_test_enabled(b"online")
                return True
            record.state = 1
            fill_unterminated(record, "message", ord("P"))
            return False

        self.assertEqual(self.run_launcher(on_status), 0)
        self.assertEqual(seen, {"play": 0, "selectrom": 1, "online": 0})

    def test_unterminated_online_texts_and_the_lobby_widgets(self):
        self.lib.vl_set_start_page(3)
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

        def on_status(record, call):
            if call == 4:
                seen["page"] = self.lib.vl_test_page()
                seen["rows"] = [self.widget("online_ip%d" % k)[0] for k in range(4)]
                seen["row3"] = self.widget("online_ip3")[1]
                seen["start"] = self.lib.vl_test_enabled(b"online_start")
                seen["leave"] = self.lib.vl_test_enabled(b"online_leave")
                seen["copy"] = self.lib.vl_test_enabled(b"online_copy")
                seen["host"] = self.lib.vl_test_enabled(b"online_host")
                seen["pick"] = self.lib.vl_test_addr_sel()
                return True
            return False

        self.assertEqual(self.run_launcher(on_status, on_online), 0)
        self.assertEqual(seen["page"], b"online")
        self.assertEqual(seen["rows"], [1, 1, 1, 1])
        self.assertEqual(seen["row3"], (537, 496, 377, 20))
        self.assertEqual(seen["start"], 1, "two ready players may start")
        self.assertEqual(seen["leave"], 1)
        self.assertEqual(seen["copy"], 1)
        self.assertEqual(seen["host"], 0, "set-up is locked while linked")
        self.assertEqual(seen["pick"], 0)


if __name__ == "__main__":
    unittest.main()
