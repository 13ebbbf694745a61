"""vorla_ui for Python hosts: the launcher window, its progress window and its inspection.

    import vorla_ui

    ui = vorla_ui.load()                     # $VORLA_UI_LIB, the bundle, the wheel or the system's
    code = ui.run("vorla.ini", status)       # status(record) fills a vorla_ui.Status
    if code == vorla_ui.ExitCode.PLAY: ...

Two layers: `records` and `capi` mirror vorla_ui.h one to one (ctypes structures and
signatures); `Launcher` adds enums, Python callbacks that never let an exception into C,
quit requests from any thread, the progress window as a context manager and inspection
results as plain values. Importing the package loads nothing; `load()` does.
Standard library only; Python 3.8 or later.
"""

from __future__ import annotations

from ._version import __version__
from .discovery import ENV_VAR, LibraryNotFoundError, find_library
from .enums import BuildState, ExitCode, LobbyState, Page, Quality, SlotState
from .errors import RunRefusedError, SettingsNotSavedWarning, StartFailedError, VorlaUiError
from .automation import Fields, Inspector, Rect, Snapshot, Video
from .window import WAKE_MS, Launcher, load
from .png import encode_png, write_png
from .progress import ProgressWindow, ProgressWindowError
from .records import vl_online_cb, vl_online_status, vl_status, vl_status_cb

# The records under the names a Python host writes in its type hints.
Status = vl_status
OnlineStatus = vl_online_status

__all__ = [
    "BuildState", "ENV_VAR", "ExitCode", "Fields", "Inspector", "Launcher", "LibraryNotFoundError",
    "LobbyState", "OnlineStatus", "Page", "ProgressWindow", "ProgressWindowError", "Quality", "Rect",
    "RunRefusedError", "SettingsNotSavedWarning", "SlotState", "Snapshot", "StartFailedError", "Status",
    "Video", "VorlaUiError", "WAKE_MS", "__version__", "encode_png", "find_library", "load",
    "vl_online_cb", "vl_online_status", "vl_status", "vl_status_cb", "write_png",
]
