"""Running the launcher window with Python callables as the host's callbacks.

The library is single-threaded and only ever calls back on the thread of `vl_run`, so
everything that must reach a run (a quit request from another thread, Ctrl+C, an
exception to re-raise) is handed over in the next callback. To keep that prompt however
long the host's poll interval is, the binding has the library call it at least every
WAKE_MS milliseconds; between the host's own polls it hands the library the host's last
records again, so the host's callbacks still run at the interval it set.
"""

from __future__ import annotations

import ctypes
import math
import os
import signal
import sys
import threading
import time
import traceback
import warnings
from typing import Any, Callable, Dict, List, Optional, Set, Tuple

from . import capi
from .discovery import PathLike, find_library, open_library
from .enums import ExitCode
from .errors import RunRefusedError, SettingsNotSavedWarning, StartFailedError, VorlaUiError
from .automation import Inspector, library_text
from .progress import ProgressWindow
from .records import vl_online_cb, vl_online_status, vl_status, vl_status_cb
from .sdl import Sdl

WAKE_MS = 100  # longest time a quit request waits for the run's thread

StatusCallback = Callable[[vl_status], None]
OnlineCallback = Callable[[vl_online_status], None]
PollHook = Callable[[int], None]

_STATUS_BYTES = ctypes.sizeof(vl_status)
_ONLINE_BYTES = ctypes.sizeof(vl_online_status)
_DUE_SLACK = 0.002  # SDL counts whole milliseconds; a poll this early is on time
_NO_ONLINE = vl_online_cb(0)  # a null function pointer: no online poll


class Launcher:
    """The launcher window of one loaded vorla_ui library.

    The library keeps one state for the whole process, so use `vorla_ui.load()`, which
    hands out one Launcher per library file. Call everything except `request_quit` on one
    thread, the one that calls `run`.
    """

    def __init__(self, path: Optional[PathLike] = None) -> None:
        self.library_path = find_library(path)
        self.capi = capi.declare(open_library(self.library_path))
        self.inspect = Inspector(self.capi, self._sdl_lib)
        self._sdl: Optional[Sdl] = None
        self._quit = threading.Event()
        self._interval_ms = 100
        self._status_fn: Optional[StatusCallback] = None
        self._online_fn: Optional[OnlineCallback] = None
        self._hooks: List[PollHook] = []
        self._progress_shown: List[ProgressWindow] = []
        self._reported: Set[Tuple[Any, ...]] = set()
        self._running = False
        self._run_lock = threading.Lock()
        # State of the run under way.
        self._poll = 0
        self._host_due = 0.0
        self._host_turn = False
        self._status_record = bytes(_STATUS_BYTES)
        self._online_record = bytes(_ONLINE_BYTES)
        self._end_run = False
        self._end_pushed = False
        self._held: Optional[BaseException] = None
        self._started = False  # the start-up callback came: the window opened
        # The library keeps pointers to these for as long as it runs.
        self._status_trampoline = vl_status_cb(self._on_status)
        self._online_trampoline = vl_online_cb(self._on_online)

    # Setters

    def set_poll_interval(self, ms: int) -> None:
        """How often `run` calls the host's callbacks, in milliseconds (at least 1; 100
        unless set). Set from inside a callback, it counts from that poll on."""
        self._interval_ms = max(1, int(ms))
        if self._running:
            self._host_due = time.monotonic() + self._interval_ms / 1000.0
            self._schedule()

    def set_online_poll(self, online: Optional[OnlineCallback]) -> None:
        """The host's online callback, or None to switch the online poll off. It is called
        after the status callback, and only in runs that have one."""
        self._online_fn = online
        if self._running:
            self._register_online()

    def set_start_page(self, page: int) -> None:
        """The page later runs start on (a Page); values outside 0..4 mean the main page."""
        self.capi.vl_set_start_page(int(page) & 0xFFFFFFFF)

    def set_keep_place(self, on: bool) -> None:
        """True: each later run reopens its window where the last one closed (on the same
        display, when it still fits there) with the focus on the widget the last run ended
        on, so a player's window stays put across the runs of a lobby or a save action.
        False (the default): every window opens centred with the focus on the first widget."""
        self.capi.vl_set_keep_place(1 if on else 0)

    # Runs

    def run(self, ini_path: Optional[PathLike] = None,
            status: Optional[StatusCallback] = None) -> ExitCode:
        """One launcher run: shows the window until the player asks for something, and
        returns what (an ExitCode). `ini_path` is the settings file ("vorla.ini" in the
        current folder when None); `status(record)` fills a vl_status at every poll.

        Exceptions raised in a callback are reported on stderr and the run goes on. After
        `request_quit` (from any thread) or Ctrl+C, the run ends and returns QUIT, and so
        does every later call. SystemExit raised in a callback ends the run and is raised
        again here.

        Failures: ValueError for a path holding a NUL byte, before anything runs;
        RunRefusedError while a run is under way (called from the run's own callbacks, from
        another thread, or while another host of the same library runs); StartFailedError
        when the window could not start. A run that ended but could not write its settings
        file returns its code all the same, with a SettingsNotSavedWarning. The errors and
        the warning carry the library's text (vl_last_error)."""
        path = None if ini_path is None else os.fsencode(ini_path)
        if path is not None and b"\0" in path:
            raise ValueError("vorla_ui: the settings path %r holds a NUL byte" % (ini_path,))
        with self._run_lock:  # two threads calling at once: one runs, one is refused
            if self._running:
                raise RunRefusedError("vorla_ui: a run is already under way (run() cannot be called from "
                                      "its own callbacks, nor from another thread during a run)")
            if self._quit.is_set():
                return ExitCode.QUIT
            self._start_run(status)
        restore = self._catch_ctrl_c()
        try:
            code = self.capi.vl_run(path, self._status_trampoline)
            # The text is the calling thread's, and the next call may change it: read it now.
            failure = library_text(self.capi.vl_last_error())
        finally:
            self._running = False
            restore()
        held, self._held = self._held, None
        if code == capi.VL_RUN_REFUSED:
            raise RunRefusedError(failure or "vorla_ui: vl_run refused the run")
        # A window that started called the status callback once at start-up, always.
        if not self._started:
            raise StartFailedError(failure or "vorla_ui: the launcher window did not start")
        if failure:
            warnings.warn(failure, SettingsNotSavedWarning, stacklevel=2)
        if held is not None:
            raise held
        if self._quit.is_set():
            return ExitCode.QUIT
        try:
            return ExitCode(code)
        except ValueError:
            raise VorlaUiError("vorla_ui: vl_run returned %d, which is not an exit code" % code) from None

    def dropped_path(self) -> Optional[str]:
        """After a run that returned CHOOSE_ROM: the file dropped on the window, or None
        when the player asked to choose one."""
        raw = self.capi.vl_dropped_path()
        return os.fsdecode(raw) if raw else None

    def request_quit(self) -> None:
        """Asks the run under way (or the next one) to end with QUIT. Safe from any thread
        and from a signal handler; it stays requested."""
        self._quit.set()

    @property
    def quit_requested(self) -> bool:
        """True once `request_quit` was called (or Ctrl+C came, see `quit_on_ctrl_c`)."""
        return self._quit.is_set()

    def quit_on_ctrl_c(self) -> None:
        """Makes Ctrl+C a quit request for the rest of the program, also between runs (by
        default only a run catches it). Call it on the main thread."""
        signal.signal(signal.SIGINT, self._on_sigint)

    def add_poll_hook(self, hook: PollHook) -> None:
        """Calls `hook(poll)` at every poll the library makes in every run, after the status
        callback, with the index of the poll in its run (0 at start-up). The binding has the
        library poll at least every WAKE_MS (100) milliseconds, or at the host's interval
        when that is shorter, so a hook runs about that often whatever the host set. For
        automation driving a host it did not write: the inspection and input of `inspect`
        can be used there."""
        self._hooks.append(hook)

    def remove_poll_hook(self, hook: PollHook) -> None:
        self._hooks.remove(hook)

    # Other windows and SDL

    def progress(self, title: str = "") -> ProgressWindow:
        """The progress window, for a `with` block (see ProgressWindow)."""
        return ProgressWindow(self.capi, title, self._progress_shown)

    def video_driver(self) -> Optional[str]:
        """The video driver SDL picks for a window here ("x11", "windows", or "offscreen"
        when no display is found), or None when none starts. Not during a run."""
        if self._running:
            raise RuntimeError("vorla_ui: video_driver() cannot be asked during a run")
        return self._sdl_lib().video_driver()

    # The run's side

    def _sdl_lib(self) -> Sdl:
        if self._sdl is None:
            self._sdl = Sdl(self.library_path)
        return self._sdl

    def _start_run(self, status: Optional[StatusCallback]) -> None:
        self._status_fn = status
        self._poll = 0
        self._host_due = 0.0  # the start-up call goes to the host
        self._status_record = bytes(_STATUS_BYTES)
        self._online_record = bytes(_ONLINE_BYTES)  # what the library shows before its first poll
        self._end_run = False
        self._end_pushed = False
        self._held = None
        self._started = False
        self._running = True
        # The poll interval and the online callback go to the library at start-up (in
        # _on_status), so that a run the library refuses changes nothing of the one under way.

    def _register_online(self) -> None:
        # Without a status callback the library would never poll the online one.
        wanted = self._online_fn is not None and self._status_fn is not None
        self.capi.vl_set_online_poll(self._online_trampoline if wanted else _NO_ONLINE)

    def _catch_ctrl_c(self) -> Callable[[], None]:
        """Ctrl+C during the run becomes a quit request, unless the host handles SIGINT."""
        if (threading.current_thread() is not threading.main_thread()
                or signal.getsignal(signal.SIGINT) is not signal.default_int_handler):
            return lambda: None
        previous = signal.signal(signal.SIGINT, self._on_sigint)

        def restore() -> None:
            signal.signal(signal.SIGINT, previous)
        return restore

    def _on_sigint(self, _signum: int, _frame: Any) -> None:
        self.request_quit()

    def _schedule(self) -> None:
        """When the library polls next: at the host's time, or sooner to look for a quit."""
        if self._status_fn is None:
            wait = WAKE_MS
        else:
            remaining = math.ceil((self._host_due - time.monotonic()) * 1000.0)
            wait = max(1, min(WAKE_MS, remaining))
        self.capi.vl_set_poll_interval(wait)

    def _on_status(self, pointer: Any) -> None:
        self._started = True
        try:
            record = pointer.contents
            poll = self._poll
            self._poll += 1
            if poll == 0:  # start-up: the first poll is scheduled after this call
                self._register_online()
            host = self._status_fn
            self._host_turn = (host is not None and not self._quit.is_set()
                               and time.monotonic() >= self._host_due - _DUE_SLACK)
            if self._host_turn and host is not None:
                if self._call(host, record, "status callback"):
                    self._status_record = ctypes.string_at(ctypes.addressof(record), _STATUS_BYTES)
                else:
                    ctypes.memmove(ctypes.addressof(record), self._status_record, _STATUS_BYTES)
                self._host_due = time.monotonic() + self._interval_ms / 1000.0
            elif host is not None:
                ctypes.memmove(ctypes.addressof(record), self._status_record, _STATUS_BYTES)
            for hook in list(self._hooks):
                self._call(hook, poll, "poll hook")
            self._schedule()
            self._push_end()
        except BaseException as error:  # nothing may cross into C
            self._keep(error, "status poll")

    def _on_online(self, pointer: Any) -> None:
        try:
            record = pointer.contents
            host = self._online_fn
            if self._host_turn and host is not None and self._call(host, record, "online callback"):
                self._online_record = ctypes.string_at(ctypes.addressof(record), _ONLINE_BYTES)
            else:
                ctypes.memmove(ctypes.addressof(record), self._online_record, _ONLINE_BYTES)
            self._push_end()
        except BaseException as error:  # nothing may cross into C
            self._keep(error, "online poll")

    def _push_end(self) -> None:
        if (self._quit.is_set() or self._end_run) and not self._end_pushed:
            self._end_pushed = self._sdl_lib().push_quit()

    def _call(self, function: Callable[[Any], None], argument: Any, what: str) -> bool:
        """Calls a host function; False when it raised (the exception is dealt with)."""
        try:
            function(argument)
            return True
        except BaseException as error:  # nothing may cross into C
            self._keep(error, what)
            return False

    def _keep(self, error: BaseException, what: str) -> None:
        if isinstance(error, KeyboardInterrupt):
            self.request_quit()
        elif isinstance(error, Exception):
            self._report(error, what)
        else:  # SystemExit and the like: end the run and raise it from run()
            if self._held is None:
                self._held = error
            self._end_run = True

    def _report(self, error: Exception, what: str) -> None:
        """The traceback on stderr, once for each place an exception comes from."""
        frames = traceback.extract_tb(error.__traceback__)
        site = (what, type(error)) + ((frames[-1].filename, frames[-1].lineno) if frames else ())
        if site in self._reported:
            return
        self._reported.add(site)
        sys.stderr.write("vorla_ui: the %s raised an exception; the run goes on "
                         "(this one is not shown again):\n" % what)
        traceback.print_exception(type(error), error, error.__traceback__, file=sys.stderr)
        sys.stderr.flush()


_loaded: Dict[str, Launcher] = {}
_load_lock = threading.Lock()


def load(path: Optional[PathLike] = None) -> Launcher:
    """The Launcher for the vorla_ui library at `path`, or found as `find_library` does
    (VORLA_UI_LIB, then the bundle beside this package). Every call for the same library
    returns the same Launcher."""
    found = os.path.realpath(find_library(path))
    with _load_lock:
        launcher = _loaded.get(found)
        if launcher is None:
            launcher = _loaded[found] = Launcher(found)
        return launcher
