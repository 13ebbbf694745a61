#!/usr/bin/env python3
"""Stand-in for the host application.

It loads vorla_ui from the bundle, shows the launcher with vl_run and acts on every exit
code the way the real host would, printing what it would do for the actions it cannot
perform here (build and start the game, manage save data, open a network link). The
build and the cable-link lobby are simulated so that the whole launcher can be tried.

Python 3 standard library only.
"""

import argparse
import configparser
import ctypes
import os
import signal
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
BUNDLE = os.path.normpath(os.path.join(HERE, "..", ".."))


class VlStatus(ctypes.Structure):
    _fields_ = [
        ("state", ctypes.c_int32),
        ("percent", ctypes.c_int32),
        ("message", ctypes.c_char * 96),
        ("rom_path", ctypes.c_char * 260),
        ("rom_ok", ctypes.c_int32),
    ]


class VlOnlineStatus(ctypes.Structure):
    _fields_ = [
        ("lobby_state", ctypes.c_int32),
        ("slot_state", ctypes.c_int32 * 4),
        ("slot_ping", ctypes.c_int32 * 4),
        ("slot_name", (ctypes.c_char * 16) * 4),
        ("local_slot", ctypes.c_int32),
        ("address", ctypes.c_char * 48),
        ("host_message", ctypes.c_char * 96),
        ("quality", ctypes.c_int32),
        ("pauses", ctypes.c_int32),
        ("p95_ms", ctypes.c_int32),
        ("addresses", (ctypes.c_char * 48) * 4),
    ]


assert ctypes.sizeof(VlStatus) == 368, "vl_status must be 368 bytes"
assert ctypes.sizeof(VlOnlineStatus) == 452, "vl_online_status must be 452 bytes"
assert VlStatus.rom_ok.offset == 364 and VlOnlineStatus.addresses.offset == 260

STATUS_CB = ctypes.CFUNCTYPE(None, ctypes.POINTER(VlStatus))
ONLINE_CB = ctypes.CFUNCTYPE(None, ctypes.POINTER(VlOnlineStatus))

EXIT_NAMES = {
    0: "quit", 1: "play", 2: "choose a ROM", 3: "open the save folder", 4: "export the save",
    5: "import a save", 6: "host a link", 7: "join a link", 8: "leave the link",
    9: "start the linked game", 10: "ready / not ready",
}

SDL_QUIT_EVENT = 0x100


def library_candidates():
    env = os.environ.get("VORLA_UI_LIB")
    if env:
        yield env
    for folder in (BUNDLE, HERE):
        for name in ("vorla_ui.dll", "libvorla_ui.so", "libvorla_ui.dylib"):
            yield os.path.join(folder, name)


def load_library():
    for path in library_candidates():
        if os.path.exists(path):
            if os.name == "nt":
                os.add_dll_directory(os.path.dirname(path))
            return ctypes.CDLL(path)
    raise SystemExit("launcher: vorla_ui library not found beside the bundle")


def declare(lib):
    lib.vl_run.argtypes = [ctypes.c_char_p, STATUS_CB]
    lib.vl_run.restype = ctypes.c_int32
    lib.vl_dropped_path.restype = ctypes.c_char_p
    lib.vl_set_poll_interval.argtypes = [ctypes.c_int32]
    # The callback type, or None to switch the online poll off.
    lib.vl_set_online_poll.argtypes = [ctypes.c_void_p]
    lib.vl_set_start_page.argtypes = [ctypes.c_uint32]
    lib.vui_open.argtypes = [ctypes.c_char_p]
    lib.vui_open.restype = ctypes.c_int32
    lib.vui_progress.argtypes = [ctypes.c_int32, ctypes.c_char_p]
    lib.vui_progress.restype = ctypes.c_int32


def sdl_library():
    for name in ("SDL2.dll", "libSDL2-2.0.so.0", "libSDL2.dylib"):
        try:
            return ctypes.CDLL(name)
        except OSError:
            continue
    return None


def put_text(record, name, text, index=None):
    """Copies text into a fixed char array field of a record (entry `index` of an
    array of texts), cut so that the terminator fits."""
    field = getattr(type(record), name)
    size = field.size if index is None else field.size // 4
    address = ctypes.addressof(record) + field.offset + (0 if index is None else index * size)
    data = text.encode("utf-8")[: size - 1]
    ctypes.memmove(address, data + b"\0", len(data) + 1)


def read_link_settings(ini_path):
    parser = configparser.ConfigParser(inline_comment_prefixes=(";", "#"), strict=False)
    try:
        parser.read(ini_path, encoding="utf-8")
    except (configparser.Error, UnicodeDecodeError):
        return {}
    return dict(parser["link"]) if parser.has_section("link") else {}


class Build:
    """The simulated build of the game: no ROM, preparing, building, ready."""

    BUILD_SECONDS = 12.0

    def __init__(self):
        self.rom = ""
        self.started = None

    def choose(self, path):
        self.rom = path
        self.started = time.monotonic()

    def fill(self, status):
        if not self.rom:
            status.state = 0
            return
        put_text(status, "rom_path", self.rom)
        status.rom_ok = 1
        elapsed = time.monotonic() - self.started
        if elapsed < self.BUILD_SECONDS:
            status.state = 2
            status.percent = int(100 * elapsed / self.BUILD_SECONDS)
            put_text(status, "message", "Building compiled version... (simulated)")
        else:
            status.state = 3
            status.percent = 100


class Lobby:
    """A simulated cable-link lobby, driven by exit codes 6 to 10 and the link settings."""

    def __init__(self):
        self.reset()

    def reset(self):
        self.state = 0
        self.since = time.monotonic()
        self.hosting = False
        self.players = 2
        self.name = "Player"
        self.local = -1
        self.ready = False
        self.message = ""

    def host(self, link):
        self.reset()
        self.state, self.hosting, self.local = 1, True, 0
        self.players = max(2, min(4, int(link.get("players", "2") or 2)))
        self.name = link.get("name", "Player")
        self.message = "Hosting on port %s (simulated)" % link.get("port", "47900")

    def join(self, link):
        self.reset()
        self.state, self.local = 2, 1
        self.name = link.get("name", "Player")
        self.message = "Joining %s:%s (simulated)" % (link.get("host", "?"), link.get("port", "?"))

    def toggle_ready(self):
        self.ready = not self.ready

    def start(self):
        if self.state in (1, 3):
            self.state, self.since, self.message = 4, time.monotonic(), ""

    def fill(self, online):
        age = time.monotonic() - self.since
        put_text(online, "addresses", "192.168.1.20", 0)
        put_text(online, "addresses", "fd00::20", 1)
        online.local_slot = self.local
        if self.state == 0:
            online.lobby_state = 0
            return
        if self.state == 2 and age > 2.0:
            self.state = 3
        online.lobby_state = self.state
        peers = min(self.players - 1, int(age / 2.5)) if self.hosting else 1
        names = ["Ann", "Bo", "Cyd"]
        slots = [(0, self.name if self.hosting else "Host")]
        for i in range(peers):
            slots.append((i + 1, names[i] if self.hosting else self.name))
        for slot, name in slots:
            put_text(online, "slot_name", name, slot)
            local = slot == self.local
            if local:
                online.slot_state[slot] = 3 if self.ready else 2
            else:
                online.slot_state[slot] = 3 if age > 4.0 + slot else 2
            online.slot_ping[slot] = -1 if local else 20 + 45 * slot + int(age * 3) % 15
        if self.state == 4:
            online.quality = 1 if age < 20 else 2
            online.p95_ms = 38 if age > 3 else -1
            online.pauses = int(age / 30)
        if self.message:
            put_text(online, "host_message", self.message)


class Host:
    def __init__(self, lib, ini_path, rom):
        self.lib = lib
        self.ini_path = ini_path
        self.build = Build()
        self.lobby = Lobby()
        self.sdl = sdl_library()
        self.interrupted = False
        if rom:
            self.build.choose(rom)
        # Keep the callbacks alive for as long as the library may call them.
        self.status_cb = STATUS_CB(self.on_status)
        self.online_cb = ONLINE_CB(self.on_online)

    def on_status(self, record):
        # An exception escaping a ctypes callback is swallowed; report it instead.
        try:
            if self.interrupted:
                self.push_quit()
            self.build.fill(record.contents)
        except Exception:
            traceback.print_exc()

    def on_online(self, record):
        try:
            self.lobby.fill(record.contents)
        except Exception:
            traceback.print_exc()

    def push_quit(self):
        if self.sdl is None:
            return
        event = (ctypes.c_uint8 * 64)()
        ctypes.memmove(event, ctypes.c_uint32(SDL_QUIT_EVENT).value.to_bytes(4, "little"), 4)
        self.sdl.SDL_PushEvent(event)

    def show_progress(self, title, steps):
        """The progress window while the simulated build prepares the fast mode."""
        if self.lib.vui_open(title.encode()) != 0:
            return
        try:
            for i in range(steps + 1):
                percent = i * 100 // steps
                if not self.lib.vui_progress(percent, b"Preparing the fast mode... %d/%d" % (i, steps)):
                    print("launcher: the user closed the progress window")
                    break
                time.sleep(0.03)
        finally:
            self.lib.vui_close()

    def act(self, code):
        """Does what the exit code asks; returns False when the host should stop."""
        print("launcher: vl_run returned %d (%s)" % (code, EXIT_NAMES.get(code, "unknown")))
        if code == 0:
            return False
        if code == 1:
            print("launcher: would start the game with %s" % (self.build.rom or "no ROM"))
        elif code == 2:
            dropped = self.lib.vl_dropped_path()
            if dropped:
                path = dropped.decode("utf-8", "replace")
                print("launcher: ROM dropped on the window: %s" % path)
            else:
                path = os.environ.get("VORLA_DEMO_ROM", "Vorla & The Glassmaze (demo).gba")
                print("launcher: would show a file dialog; using %s" % path)
            self.show_progress("Vorla & The Glassmaze - Recomp", 40)
            self.build.choose(path)
        elif code == 3:
            print("launcher: would open the save folder")
        elif code == 4:
            print("launcher: would export the save data")
        elif code == 5:
            print("launcher: would import a save over the current one, keeping a backup")
        elif code in (6, 7):
            link = read_link_settings(self.ini_path)
            print("launcher: would %s a link with %s" % ("host" if code == 6 else "join", link))
            (self.lobby.host if code == 6 else self.lobby.join)(link)
        elif code == 8:
            print("launcher: leaving the link")
            self.lobby.reset()
        elif code == 9:
            print("launcher: would start the linked game")
            self.lobby.start()
        elif code == 10:
            self.lobby.toggle_ready()
            print("launcher: ready" if self.lobby.ready else "launcher: not ready")
        return True

    def run(self, start_page):
        self.lib.vl_set_poll_interval(100)
        self.lib.vl_set_online_poll(self.online_cb)
        self.lib.vl_set_start_page(start_page)
        while True:
            code = self.lib.vl_run(self.ini_path.encode(), self.status_cb)
            if self.interrupted:
                print("launcher: interrupted")
                return 130
            if not self.act(code):
                return 0
            # Lobby requests come back to the online page.
            self.lib.vl_set_start_page(3 if code in (6, 7, 8, 9, 10) else 0)


def main(argv):
    parser = argparse.ArgumentParser(description="Stand-in host for the Vorla launcher")
    parser.add_argument("--rom", help="ROM path to use as if it had been chosen")
    parser.add_argument("--ini", default="vorla.ini", help="settings file (default: vorla.ini)")
    parser.add_argument("--page", type=int, default=0, help="start page 0..4")
    parser.add_argument("--console", action="store_true", help=argparse.SUPPRESS)
    args, _unknown = parser.parse_known_args(argv)

    lib = load_library()
    declare(lib)
    host = Host(lib, args.ini, args.rom)

    def interrupt(_signum, _frame):
        host.interrupted = True

    signal.signal(signal.SIGINT, interrupt)
    return host.run(args.page)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
