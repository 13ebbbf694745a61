"""What the launcher window shows, read through the library's inspection exports
(vl_test_widget, vl_test_snapshot and the rest) as plain Python results, and input for
automation.

Everything here reads or drives the run in progress, so it is called on the thread that
runs `vl_run`, from inside a callback or a poll hook (see Launcher.add_poll_hook). Between
runs the readers report what the last run left.
"""

from __future__ import annotations

import ctypes
import os
from typing import Callable, List, NamedTuple, Optional, Union

from .enums import Page
from .png import write_png
from .sdl import Sdl

WIDTH = 960
HEIGHT = 600


class Rect(NamedTuple):
    """A rectangle in the launcher's logical pixels (960 x 600)."""

    x: int
    y: int
    w: int
    h: int


class Fields(NamedTuple):
    """The three text fields of the online page, as typed so far."""

    name: str
    host: str
    port: str


class Video(NamedTuple):
    """The launcher window's size in real pixels, and whether it is full screen."""

    width: int
    height: int
    fullscreen: bool


class Snapshot(NamedTuple):
    """A copy of the last painted frame at logical resolution.

    `pixels` holds width * height 32-bit ARGB values, each stored little-endian
    (so the bytes of one pixel are blue, green, red, alpha)."""

    pixels: bytes
    width: int
    height: int

    def pixel(self, x: int, y: int) -> int:
        """The pixel at (x, y) as 0xAARRGGBB."""
        i = (y * self.width + x) * 4
        return int.from_bytes(self.pixels[i:i + 4], "little")

    def rgb(self) -> bytes:
        """The pixels as rows of red, green, blue bytes."""
        out = bytearray(self.width * self.height * 3)
        out[0::3] = self.pixels[2::4]
        out[1::3] = self.pixels[1::4]
        out[2::3] = self.pixels[0::4]
        return bytes(out)

    def save_png(self, path: Union[str, "os.PathLike[str]"]) -> None:
        """Writes the frame to a PNG file."""
        write_png(path, self.width, self.height, self.rgb())


def library_text(value: Optional[bytes]) -> str:
    """A text an export returned (UTF-8, or null for none) as a str."""
    return value.decode("utf-8", "replace") if value else ""



def _index(value: int) -> Optional[int]:
    return None if value < 0 else value


class Inspector:
    """What automation sees and does in the launcher window; one per Launcher."""

    def __init__(self, lib: ctypes.CDLL, sdl: Callable[[], Sdl]) -> None:
        self._lib = lib
        self._sdl = sdl

    # Reading

    def _rect(self, call: Callable[..., int], *args: object) -> Optional[Rect]:
        x, y, w, h = (ctypes.c_int32() for _ in range(4))
        if not call(*args, ctypes.byref(x), ctypes.byref(y), ctypes.byref(w), ctypes.byref(h)):
            return None
        return Rect(x.value, y.value, w.value, h.value)

    def widget(self, widget_id: str) -> Optional[Rect]:
        """The rectangle of the first widget with this id, or None when there is none."""
        return self._rect(self._lib.vl_test_widget, widget_id.encode())

    def enabled(self, widget_id: str) -> bool:
        """True when the first widget with this id exists and is enabled."""
        return bool(self._lib.vl_test_enabled(widget_id.encode()) == 1)

    def focus(self) -> str:
        """The id of the focused widget; empty when the page has no widgets."""
        return library_text(self._lib.vl_test_focus())

    def set_focus(self, widget_id: str) -> None:
        """Moves the focus to the first widget with this id (unchanged when there is none)."""
        self._lib.vl_test_set_focus(widget_id.encode())

    def page(self) -> Page:
        """The page shown."""
        return Page[library_text(self._lib.vl_test_page()).upper()]

    def window_id(self) -> int:
        """SDL's id of the launcher window; 0 when no window exists."""
        return int(self._lib.vl_test_window_id())

    def capture(self) -> Optional[int]:
        """The binding slot waiting for a key or button, or None."""
        return _index(self._lib.vl_test_capture())

    def note(self) -> str:
        """The message in the footer while it shows, else an empty string."""
        return library_text(self._lib.vl_test_note())

    def fake_pad(self, present: Optional[bool], x: int = 0, y: int = 0) -> None:
        """Overrides whether a game controller is connected (None: the real one decides);
        while overridden, the controller page shows the stick at (x, y)."""
        self._lib.vl_test_fake_pad(-1 if present is None else int(bool(present)), x, y)

    def pad_present(self) -> bool:
        """True when the launcher behaves as if a controller were connected."""
        return bool(self._lib.vl_test_pad_present() != 0)

    def addr_sel(self) -> int:
        """Index of the local address picked on the online page."""
        return int(self._lib.vl_test_addr_sel())

    def confirm(self) -> bool:
        """True while the confirmation dialog is open."""
        return bool(self._lib.vl_test_confirm() == 1)

    def editing(self) -> Optional[int]:
        """The text field being typed into (0 name, 1 host address, 2 port), or None."""
        return _index(self._lib.vl_test_editing())

    def keypad(self) -> Optional[int]:
        """The text field the on-screen keypad edits, or None."""
        return _index(self._lib.vl_test_keypad())

    def field(self, index: int) -> str:
        """Text field 0 (name), 1 (host address) or 2 (port); empty for other indexes."""
        return library_text(self._lib.vl_test_field(index))

    def fields(self) -> Fields:
        """All three text fields."""
        return Fields(self.field(0), self.field(1), self.field(2))

    def text_count(self) -> int:
        """The number of texts the last painted frame drew."""
        return int(self._lib.vl_test_text_count())

    def text(self, index: int) -> Optional[Rect]:
        """Where text number `index` of the last painted frame was drawn, or None."""
        return self._rect(self._lib.vl_test_text, index)

    def texts(self) -> List[Rect]:
        """Where every text of the last painted frame was drawn, in drawing order."""
        found = (self.text(i) for i in range(self.text_count()))
        return [rect for rect in found if rect is not None]

    def bar(self) -> Optional[Rect]:
        """The main page's build progress bar when the last frame drew it, else None."""
        return self._rect(self._lib.vl_test_bar)

    def snapshot(self) -> Optional[Snapshot]:
        """The last painted frame, or None when no run is under way or the copy failed."""
        buffer = (ctypes.c_uint8 * (WIDTH * HEIGHT * 4))()
        w, h = ctypes.c_int32(), ctypes.c_int32()
        # The capacity counts 32-bit pixels, not bytes.
        if self._lib.vl_test_snapshot(buffer, WIDTH * HEIGHT, ctypes.byref(w), ctypes.byref(h)) != 0:
            return None
        return Snapshot(bytes(buffer), w.value, h.value)

    def video(self) -> Video:
        """The window's size and full-screen state; 0 x 0 without a window."""
        w, h, full = ctypes.c_int32(), ctypes.c_int32(), ctypes.c_int32()
        self._lib.vl_test_video(ctypes.byref(w), ctypes.byref(h), ctypes.byref(full))
        return Video(w.value, h.value, full.value != 0)

    # Input, as the player would give it

    def press(self, widget_id: str) -> bool:
        """Focuses the widget and presses Return on it, as the player would with the
        keyboard. False when the widget is disabled; KeyError when the page shown has no
        widget with this id (the ids of every page: the guide's widget reference)."""
        if self.widget(widget_id) is None:
            raise KeyError("vorla_ui: the %s page shows no widget %r%s" % (
                self.page().name.lower(), widget_id, self._overlay()))
        if not self.enabled(widget_id):
            return False
        self.set_focus(widget_id)
        return self.press_key("Return")

    def _overlay(self) -> str:
        if self.keypad() is not None:
            return " (the keypad is open over it)"
        return " (the confirmation dialog is open over it)" if self.confirm() else ""

    def press_key(self, name: str) -> bool:
        """Presses and releases the key SDL calls `name`, in the window: "Tab", "Return",
        "Escape", "Left", "F", "F11"... (letter case does not matter). KeyError for a name
        SDL does not know."""
        return self.key(*self._sdl().key_from_name(name))

    def key(self, keycode: int, scancode: int) -> bool:
        """Presses and releases one key (SDL key code and scan code) in the window."""
        window = self.window_id()
        sdl = self._sdl()
        return sdl.push_key(window, keycode, scancode, True) and sdl.push_key(window, keycode, scancode, False)

    def drop(self, path: Union[str, bytes, "os.PathLike[str]"]) -> bool:
        """Drops a file on the window: the run ends with CHOOSE_ROM and the path."""
        data = path if isinstance(path, bytes) else os.fsencode(path)
        return self._sdl().push_drop(data, self.window_id())

    def close_window(self) -> bool:
        """Closes the window, as the player would: the run ends with QUIT."""
        return self._sdl().push_quit()
