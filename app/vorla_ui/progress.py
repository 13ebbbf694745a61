"""The progress window (`vui_open`, `vui_progress`, `vui_close`) as a context manager."""

from __future__ import annotations

import ctypes
from types import TracebackType
from typing import List, Optional, Type

from .errors import VorlaUiError

_OPEN_FAILURES = {-1: "SDL's video did not start", -2: "the window could not be created",
                  -3: "the window has no renderer"}


class ProgressWindowError(VorlaUiError):
    """vui_open failed; `code` is its result (-1, -2 or -3)."""

    def __init__(self, code: int) -> None:
        super().__init__("vorla_ui: the progress window did not open: %s (vui_open returned %d)"
                         % (_OPEN_FAILURES.get(code, "unknown failure"), code))
        self.code = code


class ProgressWindow:
    """A small window with a title, one line of text and a bar.

        with ui.progress("Preparing") as window:
            for step in range(steps):
                if not window.update(step * 100 // steps, "Step %d" % step):
                    break  # the player closed the window

    The window only redraws and reacts while `update` is called, so call it regularly.
    """

    def __init__(self, lib: ctypes.CDLL, title: str = "", shown: Optional[List["ProgressWindow"]] = None) -> None:
        self._lib = lib
        self._title = title
        self._open = False
        # The library has one progress window: the windows of one library share this list.
        self._shown: List[ProgressWindow] = [] if shown is None else shown

    def __enter__(self) -> "ProgressWindow":
        self.open()
        return self

    def __exit__(self, kind: Optional[Type[BaseException]], value: Optional[BaseException],
                 traceback: Optional[TracebackType]) -> None:
        self.close()

    @property
    def is_open(self) -> bool:
        return self._open

    def open(self) -> None:
        """Shows the window at 0 %; ProgressWindowError when it cannot."""
        if self._shown:
            raise RuntimeError("vorla_ui: the progress window is already open")
        code = self._lib.vui_open(self._title.encode("utf-8"))
        if code != 0:
            # A window without a renderer stays open until vui_close.
            self._lib.vui_close()
            raise ProgressWindowError(code)
        self._open = True
        self._shown.append(self)

    def update(self, percent: int, text: str = "") -> bool:
        """Draws `percent` (clamped to 0..100) and `text`; False once the player asked to
        close the window (it stays shown until the block ends) or when it is not open."""
        if not self._open:
            return False
        return bool(self._lib.vui_progress(int(percent), text.encode("utf-8")) == 1)

    def close(self) -> None:
        """Closes the window; nothing happens when it is not open."""
        if self._open:
            self._open = False
            self._shown.remove(self)
            self._lib.vui_close()
