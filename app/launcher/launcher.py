#!/usr/bin/env python3
"""Stand-in for the host application, written on the vorla_ui binding.

It shows the launcher with the library beside the bundle and acts on every exit code the
way the real host would, printing what it would do for the actions it cannot perform here
(build and start the game, manage save data, open a network link). The build and the
cable-link lobby are simulated so that the whole launcher can be tried.

    launcher.py [--rom PATH] [--ini PATH] [--page 0..4] [--watch DIR]
    launcher.py --tour DIR      # a picture of every page, written to DIR as PNG files

Python 3.8 or later, standard library only.
"""

from __future__ import annotations

import argparse
import configparser
import json
import os
import sys
import tempfile
import time
from typing import Callable, Dict, List, Optional

# The binding sits beside this script's folder, at <bundle>/app/vorla_ui. The embeddable
# Python on Windows finds it through its ._pth file; a plain `python3 launcher.py` or an
# interpreter whose ._pth was not amended finds it through this line.
APP_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
if os.path.normcase(APP_DIR) not in (os.path.normcase(os.path.abspath(p)) for p in sys.path if p):
    sys.path.insert(0, APP_DIR)

import vorla_ui  # noqa: E402 - needs the path above
from vorla_ui import BuildState, ExitCode, LobbyState, Page, Quality, SlotState  # noqa: E402

EXIT_NAMES = {
    ExitCode.QUIT: "quit", ExitCode.PLAY: "play", ExitCode.CHOOSE_ROM: "choose a ROM",
    ExitCode.SAVE_OPEN: "open the save folder", ExitCode.SAVE_EXPORT: "export the save",
    ExitCode.SAVE_IMPORT: "import a save", ExitCode.LINK_HOST: "host a link",
    ExitCode.LINK_JOIN: "join a link", ExitCode.LINK_LEAVE: "leave the link",
    ExitCode.LINK_START: "start the linked game", ExitCode.LINK_READY: "ready / not ready",
}
LINK_CODES = (ExitCode.LINK_HOST, ExitCode.LINK_JOIN, ExitCode.LINK_LEAVE, ExitCode.LINK_START,
              ExitCode.LINK_READY)
INVISIBLE_DRIVERS = ("offscreen", "dummy", "evdev")
TITLE = "Vorla & The Glassmaze - Recomp"

Clock = Callable[[], float]


def read_link_settings(ini_path: str) -> Dict[str, str]:
    """The [link] section of the settings file, as the host reads it after a run."""
    parser = configparser.ConfigParser(inline_comment_prefixes=(";", "#"), strict=False)
    try:
        parser.read(ini_path, encoding="utf-8")
    except (configparser.Error, UnicodeDecodeError):
        return {}
    return dict(parser["link"]) if parser.has_section("link") else {}


class Build:
    """The simulated build of the game: no ROM, building (playable), ready."""

    BUILD_SECONDS = 12.0

    def __init__(self, clock: Clock = time.monotonic) -> None:
        self.clock = clock
        self.rom = ""
        self.started = 0.0

    def choose(self, path: str, already: float = 0.0) -> None:
        """Starts building `path`, `already` seconds ago."""
        self.rom = path
        self.started = self.clock() - already

    def fill(self, status: vorla_ui.Status) -> None:
        if not self.rom:
            status.state = BuildState.NO_ROM
            return
        status.set_text("rom_path", self.rom)
        status.rom_ok = 1
        elapsed = self.clock() - self.started
        if elapsed < self.BUILD_SECONDS:
            status.state = BuildState.BUILDING
            status.percent = int(100 * elapsed / self.BUILD_SECONDS)
            status.set_text("message", "Building compiled version... (simulated)")
        else:
            status.state = BuildState.READY
            status.percent = 100


class Lobby:
    """A simulated cable-link lobby, driven by the link exit codes and the link settings."""

    PEER_NAMES = ["Ann", "Bo", "Cyd"]

    def __init__(self, clock: Clock = time.monotonic) -> None:
        self.clock = clock
        self.reset()

    def reset(self) -> None:
        self.state = LobbyState.NOT_CONNECTED
        self.since = self.clock()
        self.hosting = False
        self.players = 2
        self.name = "Player"
        self.local = -1
        self.ready = False
        self.message = ""

    def host(self, link: Dict[str, str]) -> None:
        self.reset()
        self.state, self.hosting, self.local = LobbyState.WAITING, True, 0
        try:
            self.players = max(2, min(4, int(link.get("players", "2") or 2)))
        except ValueError:
            self.players = 2
        self.name = link.get("name", "Player")
        self.message = "Hosting on port %s (simulated)" % link.get("port", "47900")

    def join(self, link: Dict[str, str]) -> None:
        self.reset()
        self.state, self.local = LobbyState.CONNECTING, 1
        self.name = link.get("name", "Player")
        self.message = "Joining %s:%s (simulated)" % (link.get("host", "?"), link.get("port", "?"))

    def toggle_ready(self) -> None:
        self.ready = not self.ready

    def start(self) -> None:
        if self.state in (LobbyState.WAITING, LobbyState.CONNECTED):
            self.state, self.since, self.message = LobbyState.IN_GAME, self.clock(), ""

    def fill(self, online: vorla_ui.OnlineStatus) -> None:
        age = self.clock() - self.since
        online.set_text("addresses", "192.168.1.20", 0)
        online.set_text("addresses", "fd00::20", 1)
        online.local_slot = self.local
        if self.state == LobbyState.NOT_CONNECTED:
            online.lobby_state = LobbyState.NOT_CONNECTED
            return
        if self.state == LobbyState.CONNECTING and age > 2.0:
            self.state = LobbyState.CONNECTED
        online.lobby_state = self.state
        peers = min(self.players - 1, int(age / 2.5)) if self.hosting else 1
        slots = [(0, self.name if self.hosting else "Host")]
        for i in range(peers):
            slots.append((i + 1, self.PEER_NAMES[i] if self.hosting else self.name))
        for slot, name in slots:
            online.set_text("slot_name", name, slot)
            if slot == self.local:
                online.slot_state[slot] = SlotState.READY if self.ready else SlotState.CONNECTED
                online.slot_ping[slot] = -1
            else:
                online.slot_state[slot] = SlotState.READY if age > 4.0 + slot else SlotState.CONNECTED
                online.slot_ping[slot] = 20 + 45 * slot + int(age * 3) % 15
        if self.state == LobbyState.IN_GAME:
            online.quality = Quality.GOOD if age < 20 else Quality.FAIR
            online.p95_ms = 38 if age > 3 else -1
            online.pauses = int(age / 30)
        if self.message:
            online.set_text("host_message", self.message)


class Host:
    """The stand-in host: one launcher run after another, acting on each exit code."""

    def __init__(self, ui: vorla_ui.Launcher, ini_path: str, rom: Optional[str],
                 clock: Clock = time.monotonic) -> None:
        self.ui = ui
        self.ini_path = ini_path
        self.build = Build(clock)
        self.lobby = Lobby(clock)
        if rom:
            self.build.choose(rom)

    def on_status(self, record: vorla_ui.Status) -> None:
        self.build.fill(record)

    def on_online(self, record: vorla_ui.OnlineStatus) -> None:
        self.lobby.fill(record)

    def show_progress(self, title: str, steps: int) -> None:
        """The progress window while the simulated build prepares the fast mode."""
        try:
            with self.ui.progress(title) as window:
                for i in range(steps + 1):
                    if self.ui.quit_requested:
                        break
                    if not window.update(i * 100 // steps, "Preparing the fast mode... %d/%d" % (i, steps)):
                        print("launcher: the user closed the progress window")
                        break
                    time.sleep(0.03)
        except vorla_ui.ProgressWindowError as error:
            print("launcher: %s" % error, file=sys.stderr)

    def act(self, code: ExitCode) -> bool:
        """Does what the exit code asks; returns False when the host should stop."""
        print("launcher: vl_run returned %d (%s)" % (code, EXIT_NAMES.get(code, "unknown")))
        if code == ExitCode.QUIT:
            return False
        if code == ExitCode.PLAY:
            print("launcher: would start the game with %s" % (self.build.rom or "no ROM"))
        elif code == ExitCode.CHOOSE_ROM:
            path = self.ui.dropped_path()
            if path:
                print("launcher: ROM dropped on the window: %s" % path)
            else:
                path = os.environ.get("VORLA_DEMO_ROM", "Vorla & The Glassmaze (demo).gba")
                print("launcher: would show a file dialog; using %s" % path)
            self.show_progress(TITLE, 40)
            self.build.choose(path)
        elif code == ExitCode.SAVE_OPEN:
            print("launcher: would open the save folder")
        elif code == ExitCode.SAVE_EXPORT:
            print("launcher: would export the save data")
        elif code == ExitCode.SAVE_IMPORT:
            print("launcher: would import a save over the current one, keeping a backup")
        elif code in (ExitCode.LINK_HOST, ExitCode.LINK_JOIN):
            link = read_link_settings(self.ini_path)
            hosting = code == ExitCode.LINK_HOST
            print("launcher: would %s a link with %s" % ("host" if hosting else "join", link))
            (self.lobby.host if hosting else self.lobby.join)(link)
        elif code == ExitCode.LINK_LEAVE:
            print("launcher: leaving the link")
            self.lobby.reset()
        elif code == ExitCode.LINK_START:
            print("launcher: would start the linked game")
            self.lobby.start()
        elif code == ExitCode.LINK_READY:
            self.lobby.toggle_ready()
            print("launcher: ready" if self.lobby.ready else "launcher: not ready")
        return True

    def run(self, start_page: int) -> int:
        self.ui.set_poll_interval(100)
        self.ui.set_keep_place(True)  # lobby clicks end runs: the window must not jump
        self.ui.set_online_poll(self.on_online)
        self.ui.set_start_page(start_page)
        while True:
            code = self.ui.run(self.ini_path, self.on_status)
            if self.ui.quit_requested:
                print("launcher: interrupted")
                return 130
            if not self.act(code):
                return 0
            # Lobby requests come back to the online page.
            self.ui.set_start_page(Page.ONLINE if code in LINK_CODES else Page.MAIN)


class Watch:
    """--watch DIR, for automation that drives the window from outside, with real keys and
    clicks: prints the launcher's state as one line of JSON whenever it changes (page,
    focused widget, field being edited, keypad, the three fields, window size), and
    writes the frame as raw RGB rows to DIR/frame.rgb whenever DIR/frame.request appears
    (then removes the request)."""

    def __init__(self, ui: vorla_ui.Launcher, folder: str) -> None:
        self.ui, self.folder = ui, folder
        self.last: Optional[Dict[str, object]] = None
        os.makedirs(folder, exist_ok=True)

    def __call__(self, _poll: int) -> None:
        inspect = self.ui.inspect
        video = inspect.video()
        state: Dict[str, object] = {
            "page": inspect.page().name.lower(), "focus": inspect.focus(), "editing": inspect.editing(),
            "keypad": inspect.keypad(), "fields": list(inspect.fields()),
            "window": [video.width, video.height], "fullscreen": video.fullscreen,
        }
        if state != self.last:
            self.last = state
            print("launcher: watch %s" % json.dumps(state), flush=True)
        request = os.path.join(self.folder, "frame.request")
        if os.path.exists(request):
            frame = inspect.snapshot()
            if frame is not None:
                partial = os.path.join(self.folder, "frame.rgb.partial")
                with open(partial, "wb") as f:
                    f.write(frame.rgb())
                os.replace(partial, os.path.join(self.folder, "frame.rgb"))
            os.remove(request)


# The tour: one run per picture, with the simulated host set to show something on it.
# name, page, what the host reports
TOUR = [
    ("main_no_rom", Page.MAIN, "no rom"),
    ("main_building", Page.MAIN, "building"),
    ("main_ready", Page.MAIN, "ready"),
    ("keyboard", Page.KEYBOARD, "ready"),
    ("controller", Page.CONTROLLER, "controller"),
    ("online_lobby", Page.ONLINE, "lobby"),
    ("online_in_game", Page.ONLINE, "in game"),
    ("settings", Page.SETTINGS, "ready"),
]
TOUR_ROM = "/roms/Vorla & The Glassmaze (EU).gba"
TOUR_LINK = {"mode": "host", "players": "4", "port": "47900", "name": "Vorla"}
TOUR_SETTINGS = "[link]\r\n" + "".join("%s=%s\r\n" % item for item in TOUR_LINK.items())
TOUR_POLL_MS = 30
TOUR_PICTURE_POLL = 3  # the frames before it already show the host's first records


def set_scene(host: Host, scene: str) -> None:
    if scene != "no rom":
        building = scene == "building"
        host.build.choose(TOUR_ROM, already=0.45 * Build.BUILD_SECONDS if building else 60.0)
    if scene in ("lobby", "in game"):
        host.lobby.host(TOUR_LINK)
        host.lobby.since -= 10.0  # every peer has joined and is ready
        if scene == "in game":
            host.lobby.start()
            host.lobby.since -= 10.0


class TourStep:
    """One run of the tour: the simulated host's records, then a picture and the end."""

    def __init__(self, ui: vorla_ui.Launcher, host: Host, scene: str, path: str) -> None:
        self.ui, self.host, self.scene, self.path = ui, host, scene, path
        self.polls = 0
        self.written = False

    def status(self, record: vorla_ui.Status) -> None:
        self.host.on_status(record)
        if self.scene == "controller":
            self.ui.inspect.fake_pad(True, 14000, -21000)
        self.polls += 1
        if self.polls == TOUR_PICTURE_POLL + 1:
            picture = self.ui.inspect.snapshot()
            if picture is not None:
                picture.save_png(self.path)
                self.written = True
            self.ui.inspect.close_window()


def tour(ui: vorla_ui.Launcher, folder: str) -> int:
    """Writes a PNG of every page of TOUR to `folder`; 0 when all were written."""
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="vorla-tour-") as settings_dir:
        ini = os.path.join(settings_dir, "vorla.ini")
        with open(ini, "w", newline="") as f:
            f.write(TOUR_SETTINGS)
        ui.set_poll_interval(TOUR_POLL_MS)
        for number, (name, page, scene) in enumerate(TOUR, 1):
            host = Host(ui, ini, None, clock=lambda: 1000.0)  # time stands still in pictures
            set_scene(host, scene)
            step = TourStep(ui, host, scene, os.path.join(folder, "%02d_%s.png" % (number, name)))
            ui.set_online_poll(host.on_online)
            ui.set_start_page(page)
            ui.run(ini, step.status)
            if ui.quit_requested:
                print("launcher: interrupted")
                return 130
            if not step.written:
                print("launcher: tour: no picture of the %s page (the library painted none)" % name,
                      file=sys.stderr)
                return 1
            print("launcher: tour: wrote %s" % step.path)
    ui.set_online_poll(None)
    ui.set_start_page(Page.MAIN)
    print("launcher: tour: %d pages in %s" % (len(TOUR), folder))
    return 0


def display_problem(ui: vorla_ui.Launcher) -> Optional[str]:
    """Why no window would be seen here, or None. A driver named in SDL_VIDEODRIVER is
    the user's choice and taken as it is."""
    if os.environ.get("SDL_VIDEODRIVER"):
        return None
    driver = ui.video_driver()
    if driver is None:
        return "no video driver of SDL starts here"
    if driver in INVISIBLE_DRIVERS:
        return "SDL fell back to its '%s' driver, which shows no window" % driver
    return None


def main(argv: List[str]) -> int:
    parser = argparse.ArgumentParser(description="Stand-in host for the Vorla launcher")
    parser.add_argument("--rom", help="ROM path to use as if it had been chosen")
    parser.add_argument("--ini", default="vorla.ini", help="settings file (default: vorla.ini)")
    parser.add_argument("--page", type=int, default=0, help="start page 0..4")
    parser.add_argument("--tour", metavar="DIR", help="write a PNG of every page to DIR and end")
    parser.add_argument("--watch", metavar="DIR",
                        help="print the launcher's state when it changes; frames on request in DIR")
    parser.add_argument("--console", action="store_true", help=argparse.SUPPRESS)
    args, _unknown = parser.parse_known_args(argv)

    try:
        ui = vorla_ui.load()
    except OSError as error:
        print("launcher: %s" % error, file=sys.stderr)
        return 1
    ui.quit_on_ctrl_c()
    try:
        if args.tour:
            return tour(ui, args.tour)
        problem = display_problem(ui)
        if problem:
            print("launcher: no display found (%s); run it on a desktop, or under a virtual display: "
                  "xvfb-run ./run (pictures of the pages instead: ./run --tour DIR)" % problem, file=sys.stderr)
            return 1
        if args.watch:
            ui.add_poll_hook(Watch(ui, args.watch))
        return Host(ui, args.ini, args.rom).run(args.page)
    except vorla_ui.VorlaUiError as error:  # the window did not start, or a run was refused
        print("launcher: %s" % error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
