"""Real input on a real X display: the bundle's stand-in host runs the launcher on SDL's
x11 driver and xdotool types, presses and clicks as a player would. The host's printed
exit codes and the settings file it reads show what the launcher did; its --watch lines
show the page, the focus and the fields. A screenshot of the window (ImageMagick's
`import`) must be the frame scaled into the present rectangle, nearest neighbour, with the
letterbox colour around it, in every scaling mode.

Runs where SDL_VIDEODRIVER is x11 and DISPLAY is set (the display stage of the test
command); elsewhere it says why and exits 77, which ctest reports as skipped."""

import configparser
import ctypes
import json
import os
import queue
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from bundle import BUNDLE, fresh_launcher, vorla_ui

if os.environ.get("SDL_VIDEODRIVER") != "x11" or not os.environ.get("DISPLAY"):
    print("SKIPPED: real input needs an X display and SDL_VIDEODRIVER=x11 (the display stage of ./test)")
    sys.exit(77)

from vorla_ui import Page  # noqa: E402

TITLE = "Vorla & The Glassmaze - Recomp"
LETTERBOX = bytes((18, 18, 42))
GUARD = 30.0  # seconds any one expected change may take before the test gives up


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], check=True, capture_output=True,
                          text=True, timeout=GUARD).stdout


def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def present_rect(w, h, scaling):
    """Where the 960 x 600 frame lies in an output of w x h: the library's rule, in single
    precision as the library computes it."""
    if scaling == 2:
        return 0, 0, w, h
    s = min(f32(f32(w) / f32(960.0)), f32(f32(h) / f32(600.0)))
    if scaling == 0 and s >= 1.0:
        s = float(int(s))
    dw = int(f32(f32(s * 960.0) + 0.5))
    dh = int(f32(f32(s * 600.0) + 0.5))
    return int((w - dw) / 2), int((h - dh) / 2), dw, dh


def widget_rects(page, ids):
    """The logical rectangles of widgets, asked of the library in this process (dummy
    driver, default settings)."""
    ui = fresh_launcher()
    rects = {}
    previous = os.environ.get("SDL_VIDEODRIVER")
    os.environ["SDL_VIDEODRIVER"] = "dummy"
    try:
        with tempfile.TemporaryDirectory() as tmp:
            polls = []

            def status(_record):
                polls.append(1)
                if len(polls) < 2:  # the start-up call comes before the first page is built
                    return
                for widget in ids:
                    rects[widget] = ui.inspect.widget(widget)
                ui.inspect.close_window()

            ui.set_start_page(page)
            ui.run(os.path.join(tmp, "vorla.ini"), status)
            ui.set_start_page(Page.MAIN)
    finally:
        os.environ["SDL_VIDEODRIVER"] = previous
    return rects


def close_request(window):
    """What a window manager sends when the player clicks the close button."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the display")
    try:
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


def settings(path):
    parser = configparser.ConfigParser(inline_comment_prefixes=(";", "#"), strict=False)
    parser.read(path, encoding="utf-8")
    return parser


class StandIn:
    """The bundle's VorlaRecomp running the stand-in host with --watch, read line by line."""

    def __init__(self, folder, page, ini_text="", rom=None):
        self.ini = os.path.join(folder, "vorla.ini")
        self.watch_dir = os.path.join(folder, "watch")
        if ini_text:
            with open(self.ini, "w", newline="") as f:
                f.write(ini_text)
        self.lines = queue.Queue()
        self.seen = []
        self.state = {}
        self.proc = subprocess.Popen(
            [os.path.join(BUNDLE, "VorlaRecomp"), "--console", "--ini", self.ini, "--page", str(int(page)),
             "--watch", self.watch_dir] + (["--rom", rom] if rom else []),
            env=dict(os.environ, PYTHONUNBUFFERED="1"), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            text=True, start_new_session=True)
        threading.Thread(target=self._read, daemon=True).start()
        self.window = self._find_window()
        xdotool("windowfocus", "--sync", self.window)

    def _find_window(self):
        # xdotool's --name does not match the UTF-8 title SDL sets, so every mapped window
        # is asked for its name.
        deadline = time.monotonic() + GUARD
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "."],
                                   capture_output=True, text=True, timeout=GUARD).stdout.split()
            for window in found:
                if xdotool("getwindowname", window).strip() == TITLE:
                    return int(window)
            if self.proc.poll() is not None:
                raise AssertionError("the host ended before its window showed")
            time.sleep(0.1)
        raise AssertionError("no window named %r" % TITLE)

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def next_line(self, deadline):
        line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
        if line is None:
            raise AssertionError("the host ended; it printed:\n" + "\n".join(self.seen))
        self.seen.append(line)
        if line.startswith("launcher: watch "):
            self.state = json.loads(line[len("launcher: watch "):])
        return line

    def wait(self, what, test):
        """Reads the host's lines until test(state) holds; the state it holds for."""
        deadline = time.monotonic() + GUARD
        while not (self.state and test(self.state)):
            try:
                self.next_line(deadline)
            except queue.Empty:
                raise AssertionError("no %s within %d s; the host printed:\n%s"
                                     % (what, GUARD, "\n".join(self.seen))) from None
        return self.state

    def wait_line(self, text):
        deadline = time.monotonic() + GUARD
        while not any(line.startswith(text) for line in self.seen):
            try:
                self.next_line(deadline)
            except queue.Empty:
                raise AssertionError("no line %r; the host printed:\n%s" % (text, "\n".join(self.seen))) from None

    def next_window(self, code):
        """After the run ends with `code`, the window of the host's next run, which then
        gets the keyboard as a window manager would give it."""
        self.wait_line("launcher: vl_run returned %d (" % code)
        self.state = {}  # what the next run shows comes in the lines after that one
        self.window = self._find_window()
        xdotool("windowfocus", "--sync", self.window)

    def window_position(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def key(self, name):
        """One key pressed and released, then the focus or the page may have changed."""
        xdotool("key", name)

    def step_focus(self, key, target, limit=60):
        """Presses `key` until `target` has the focus, each press moving it."""
        for _ in range(limit):
            if self.state.get("focus") == target:
                return
            before = self.state["focus"]
            self.key(key)
            self.wait("focus change from %s" % before, lambda s, b=before: s["focus"] != b)
        self.fail_state("%s never got the focus with %s" % (target, key))

    def wait_setting(self, section, key, value, what):
        """Waits until vorla.ini holds `key` = `value` in `section`."""
        deadline = time.monotonic() + GUARD
        while settings(self.ini).get(section, key, fallback=None) != value:
            if time.monotonic() > deadline:
                self.fail_state("%s: vorla.ini has no %s=%s in [%s]" % (what, key, value, section))
            time.sleep(0.05)

    def escape_to_quit(self):
        """Escape back to the main page, Escape again to quit: the host stops with 0."""
        self.key("Escape")
        self.wait("the main page after Escape", lambda s: s["page"] == "main")
        self.key("Escape")
        self.wait_line("launcher: vl_run returned 0 (quit)")
        self.end(0)

    def fail_state(self, message):
        raise AssertionError("%s; the host printed:\n%s" % (message, "\n".join(self.seen)))

    def frame(self):
        """The library's render target, as RGB rows, asked of the host."""
        target = os.path.join(self.watch_dir, "frame.rgb")
        if os.path.exists(target):
            os.remove(target)
        open(os.path.join(self.watch_dir, "frame.request"), "w").close()
        deadline = time.monotonic() + GUARD
        while not os.path.exists(target):
            if time.monotonic() > deadline:
                self.fail_state("no frame from the host")
            time.sleep(0.05)
        with open(target, "rb") as f:
            return f.read()

    def screenshot(self, w, h):
        out = subprocess.run(["import", "-window", str(self.window), "-depth", "8", "rgb:-"],
                             check=True, capture_output=True, timeout=GUARD).stdout
        if len(out) != w * h * 3:
            raise AssertionError("a screenshot of %d bytes, not %d x %d" % (len(out), w, h))
        return out

    def end(self, code=0):
        try:
            self.proc.wait(timeout=GUARD)
        except subprocess.TimeoutExpired:
            self.kill()
            self.fail_state("the host did not end")
        while True:
            try:
                line = self.lines.get_nowait()
            except queue.Empty:
                break
            if line is not None:
                self.seen.append(line)
        if self.proc.returncode != code:
            self.fail_state("the host ended with %d, not %d" % (self.proc.returncode, code))

    def kill(self):
        """Ends the launcher and the interpreter it started (a session of their own)."""
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.proc.wait()
        self.proc.stdout.close()


def scaled_mismatches(shot, frame, w, h, rect):
    """Pixels of the screenshot that are neither the letterbox colour outside the present
    rectangle nor, inside it, the frame's texel under the pixel's centre or one of its
    neighbours (where the renderer's sampling may round the other way)."""
    rx, ry, rw, rh = rect
    bad = []

    def texel(sx, sy):
        i = (sy * 960 + sx) * 3
        return frame[i:i + 3]

    for y in range(h):
        row = shot[y * w * 3:(y + 1) * w * 3]
        inside_y = ry <= y < ry + rh
        sy = min(599, int((y - ry + 0.5) * 600 / rh)) if inside_y else 0
        expected = bytearray()
        for x in range(w):
            if inside_y and rx <= x < rx + rw:
                expected += texel(min(959, int((x - rx + 0.5) * 960 / rw)), sy)
            else:
                expected += LETTERBOX
        if row == bytes(expected):
            continue
        for x in range(w):
            got = row[x * 3:x * 3 + 3]
            if got == expected[x * 3:x * 3 + 3]:
                continue
            if inside_y and rx <= x < rx + rw:
                sx = min(959, int((x - rx + 0.5) * 960 / rw))
                near = {texel(min(959, max(0, sx + dx)), min(599, max(0, sy + dy)))
                        for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
                if got in near:
                    continue
            bad.append((x, y, got.hex(), expected[x * 3:x * 3 + 3].hex()))
    return bad


class RealInput(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.host = None
        xdotool("mousemove", 0, 0)  # a resting pointer over the window would hover a widget

    def tearDown(self):
        if self.host:
            self.host.kill()
        self.tmp.cleanup()

    def start(self, page, ini_text="", rom=None):
        self.host = StandIn(self.tmp.name, page, ini_text, rom)
        return self.host

    def test_keys_move_the_focus_activate_go_back_and_quit(self):
        host = self.start(Page.SETTINGS)
        first = host.wait("the settings page", lambda s: s["page"] == "settings" and s["focus"])["focus"]
        host.key("Tab")
        second = host.wait("a focus change by Tab", lambda s: s["focus"] != first)["focus"]
        host.key("shift+Tab")
        host.wait("the focus back by Shift+Tab", lambda s: s["focus"] == first)
        self.assertNotEqual(first, second)
        # The arrows move to the nearest widget that way: along the row of window sizes,
        # then down and up.
        host.step_focus("Tab", "size3")
        host.key("Right")
        host.wait("size4 by Right", lambda s: s["focus"] == "size4")
        host.key("Left")
        host.wait("size3 by Left", lambda s: s["focus"] == "size3")
        host.key("Down")
        host.wait("a focus change by Down", lambda s: s["focus"] != "size3")
        below = host.state["focus"]
        host.key("Up")
        host.wait("a focus change by Up", lambda s: s["focus"] != below)
        host.step_focus("Tab", "mute")
        host.key("Return")
        host.wait_setting("audio", "mute", "1", "Return on mute")
        host.escape_to_quit()
        self.assertEqual(settings(host.ini).get("audio", "mute"), "1")

    def test_typing_into_the_name_field(self):
        host = self.start(Page.ONLINE)
        host.wait("the online page", lambda s: s["page"] == "online" and s["focus"])
        host.step_focus("Tab", "online_name")
        host.key("Return")
        host.wait("editing the name", lambda s: s["editing"] == 0)
        for _ in range(len(host.state["fields"][0])):
            host.key("BackSpace")
        host.wait("an empty name", lambda s: s["fields"][0] == "")
        xdotool("type", "--delay", 40, "Zed 9")
        host.wait("the typed name", lambda s: s["fields"][0] == "Zed 9")
        host.key("Return")
        host.wait("editing ended", lambda s: s["editing"] is None)
        host.escape_to_quit()
        self.assertEqual(settings(host.ini).get("link", "name"), "Zed 9")

    def test_runs_keep_the_window_and_focus_and_a_held_return_presses_nothing(self):
        # Each request ends a run and the stand-in host, which keeps the place, starts the
        # next one: the window must reopen where the player moved it, with the focus on
        # the widget pressed.
        host = self.start(Page.ONLINE, rom="/roms/Vorla.gba")
        host.wait("the online page", lambda s: s["page"] == "online" and s["focus"])
        host.step_focus("Tab", "online_host")
        xdotool("windowmove", "--sync", host.window, 100, 80)
        self.assertEqual(host.window_position(), (100, 80))
        host.key("Return")
        host.next_window(6)
        self.assertEqual(host.window_position(), (100, 80))
        host.wait("the focus on Host game again", lambda s: s["focus"] == "online_host")
        host.key("Escape")
        host.wait("the main page with Play focused", lambda s: s["page"] == "main" and s["focus"] == "play")
        # Return held past the key-repeat delay: pressed, it ends the run with "play"; its
        # auto-repeat then reaches the next run's window, focused on Play again, where it
        # must press nothing.
        xdotool("keydown", "Return")
        try:
            host.next_window(1)
            host.wait("the focus on Play again", lambda s: s["page"] == "main" and s["focus"] == "play")
            self.assertEqual(host.window_position(), (100, 80))
            time.sleep(1.0)  # the player's hold, not a wait for the program
        finally:
            xdotool("keyup", "Return")
        # Keys arrive in order: once Tab has moved the focus, every Return before it was seen.
        host.key("Tab")
        host.wait("a focus change by Tab", lambda s: s["focus"] != "play")
        plays = [line for line in host.seen if line.startswith("launcher: vl_run returned 1 (")]
        self.assertEqual(len(plays), 1, "the held Return pressed Play again:\n" + "\n".join(host.seen))
        host.escape_to_quit()

    def test_clicks_and_screenshots_after_a_resize_in_every_scaling_mode(self):
        mute = widget_rects(Page.SETTINGS, ["mute"])["mute"]
        self.assertIsNotNone(mute)
        for scaling, name in enumerate(("integer", "fit", "stretch")):
            with self.subTest(scaling=name):
                if self.host:
                    self.host.kill()
                shutil.rmtree(self.tmp.name)
                os.makedirs(self.tmp.name)
                host = self.start(Page.SETTINGS, "[video]\r\nscaling=%s\r\n" % name)
                host.wait("the settings page", lambda s: s["page"] == "settings" and s["focus"])
                w, h = 1280, 720
                xdotool("windowsize", "--sync", host.window, w, h)
                host.wait("the resized window", lambda s: s["window"] == [w, h])
                rect = present_rect(w, h, scaling)
                # The centre of the mute switch, in window pixels.
                cx = rect[0] + (mute.x + mute.w // 2) * rect[2] // 960
                cy = rect[1] + (mute.y + mute.h // 2) * rect[3] // 600
                xdotool("mousemove", "--window", host.window, cx, cy, "click", 1)
                host.wait_setting("audio", "mute", "1", "the click at %d,%d on mute" % (cx, cy))
                time.sleep(0.3)  # the switched page painted and presented
                frame = host.frame()
                shot = host.screenshot(w, h)
                bad = scaled_mismatches(shot, frame, w, h, rect)
                self.assertEqual(bad[:5], [], "%d pixels of the window differ from the frame scaled "
                                 "into %s" % (len(bad), rect))
                close_request(host.window)
                host.wait_line("launcher: vl_run returned 0 (quit)")
                host.end(0)
                saved = settings(host.ini)
                self.assertEqual(saved.get("video", "scaling"), name)
                self.assertEqual(saved.get("audio", "mute"), "1")


if __name__ == "__main__":
    unittest.main()
