"""Exit codes as the host sees them: the built library driven through the stand-in
host's records and callbacks, widgets pressed with Return events pushed into the same
SDL instance the library uses, and the settings file read back as the host reads it."""

import ctypes
import os
import struct
import sys
import tempfile
import unittest

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")

BUNDLE = os.environ.get("VORLA_BUNDLE", "")
LIB = os.environ.get("VORLA_LIB", "")

sys.path.insert(0, os.path.join(BUNDLE, "app", "launcher"))
try:
    import launcher
finally:
    sys.path.pop(0)

SDL_KEYDOWN = 0x300
SDL_QUIT = 0x100
SDLK_RETURN = 13
SDL_SCANCODE_RETURN = 40
MAX_CALLS = 300


def load():
    lib = ctypes.CDLL(LIB)
    launcher.declare(lib)
    lib.vl_test_set_focus.argtypes = [ctypes.c_char_p]
    lib.vl_test_enabled.argtypes = [ctypes.c_char_p]
    lib.vl_test_enabled.restype = ctypes.c_int32
    lib.vl_test_window_id.restype = ctypes.c_uint32
    lib.vl_test_page.restype = ctypes.c_char_p
    # Already loaded by the library, so this is the same SDL and the same event queue.
    sdl = ctypes.CDLL("libSDL2-2.0.so.0")
    sdl.SDL_PushEvent.argtypes = [ctypes.c_void_p]
    return lib, sdl


class ScriptedHost:
    """Fills the records and presses one widget per poll. The online record first
    arrives with the first poll, after its status call, so pressing starts at the second."""

    def __init__(self, lib, sdl, case):
        self.lib, self.sdl, self.case = lib, sdl, case
        self.calls = 0
        self.problem = ""
        self.status_cb = launcher.STATUS_CB(self.on_status)
        self.online_cb = launcher.ONLINE_CB(self.on_online)

    def push(self, event_type, window_id=0, keysym=None):
        event = (ctypes.c_uint8 * 64)()
        struct.pack_into("<III", event, 0, event_type, 0, window_id)
        if keysym is not None:
            struct.pack_into("<BB", event, 12, 1, 0)  # pressed, not a repeat
            struct.pack_into("<iiH", event, 16, SDL_SCANCODE_RETURN, keysym, 0)
        self.sdl.SDL_PushEvent(event)

    def on_status(self, record):
        # An exception escaping a ctypes callback is only printed; end the run instead.
        try:
            self.script(record.contents)
        except Exception as error:  # noqa: BLE001 - reported through the test
            self.problem = "status callback raised %r" % (error,)
            self.push(SDL_QUIT)

    def script(self, status):
        status.state = self.case["state"]
        status.rom_ok = 1 if self.case["state"] else 0
        if status.rom_ok:
            status.rom_path = b"/roms/game.gba"
        call = self.calls
        self.calls += 1
        presses = self.case["presses"]
        if call >= MAX_CALLS:
            self.problem = "timed out"
            self.push(SDL_QUIT)
        elif 2 <= call <= len(presses) + 1:
            wid = presses[call - 2].encode()
            if not self.lib.vl_test_enabled(wid):
                self.problem = "cannot press %s on page %s" % (wid, self.lib.vl_test_page())
                self.push(SDL_QUIT)
                return
            self.lib.vl_test_set_focus(wid)
            self.push(SDL_KEYDOWN, self.lib.vl_test_window_id(), SDLK_RETURN)

    def on_online(self, record):
        online = record.contents
        online.lobby_state = self.case.get("lobby", 0)
        online.local_slot = 0
        for i, state in enumerate(self.case.get("slots", ())):
            online.slot_state[i] = state

    def run(self, ini):
        self.lib.vl_set_poll_interval(1)
        self.lib.vl_set_online_poll(self.online_cb)
        self.lib.vl_set_start_page(self.case["page"])
        try:
            return self.lib.vl_run(ini.encode(), self.status_cb)
        finally:
            self.lib.vl_set_online_poll(launcher.ONLINE_CB())  # null: no online poll
            self.lib.vl_set_start_page(0)


CASES = [
    {"name": "quit", "page": 0, "state": 3, "presses": ["quit"], "code": 0, "link": {"mode": "off"}},
    {"name": "play without a ROM", "page": 0, "state": 0, "presses": ["play"], "code": 2, "link": {"mode": "off"}},
    {"name": "play", "page": 0, "state": 3, "presses": ["play"], "code": 1, "link": {"mode": "off"}},
    {"name": "export from the settings page", "page": 0, "state": 3,
     "presses": ["settings", "save_export"], "code": 4, "link": {"mode": "off"}},
    {"name": "confirmed import", "page": 4, "state": 3,
     "presses": ["save_import", "confirm_yes"], "code": 5, "link": {"mode": "off"}},
    {"name": "host", "page": 3, "state": 3, "presses": ["online_host"], "code": 6,
     "ini": "[link]\r\nport=5000\r\nname=Ann\r\n", "link": {"mode": "host", "port": "5000", "name": "Ann"}},
    {"name": "leave", "page": 3, "state": 3, "lobby": 1, "slots": [3, 2], "presses": ["online_leave"],
     "code": 8, "link": {"mode": "off"}, "ini": "[link]\r\nmode=host\r\n"},
    {"name": "ready", "page": 3, "state": 3, "lobby": 3, "slots": [2, 3], "presses": ["online_ready"],
     "code": 10, "link": {"mode": "join"}, "ini": "[link]\r\nmode=join\r\n"},
]


class ExitCodesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lib, cls.sdl = load()

    def test_codes_and_settings_file_as_the_host_reads_them(self):
        for case in CASES:
            with self.subTest(case["name"]), tempfile.TemporaryDirectory() as tmp:
                ini = os.path.join(tmp, "vorla.ini")
                if "ini" in case:
                    with open(ini, "w", newline="") as f:
                        f.write(case["ini"])
                host = ScriptedHost(self.lib, self.sdl, case)
                code = host.run(ini)
                self.assertEqual(host.problem, "")
                self.assertEqual(code, case["code"])
                link = launcher.read_link_settings(ini)
                for key, value in case["link"].items():
                    self.assertEqual(link.get(key), value, key)


if __name__ == "__main__":
    unittest.main()
