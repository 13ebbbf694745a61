"""The binding's run wrapper on the built library: Python callbacks that never let an
exception into C, quit requests from another thread and from Ctrl+C (also with a long
poll interval, and between runs), the setters, the dropped path, inspection results and
the progress window."""

import contextlib
import ctypes
import io
import os
import signal
import tempfile
import threading
import time
import unittest
from unittest import mock
import warnings

from bundle import fresh_launcher, vorla_ui
from png_check import read_png_file

from vorla_ui import BuildState, ExitCode, Fields, LobbyState, Page, Rect, Video

GUARD_POLLS = 400  # a run still going after this many polls is closed and fails the test


class RunCase(unittest.TestCase):
    def setUp(self):
        self.ui = fresh_launcher()
        self.tmp = tempfile.TemporaryDirectory()
        self.ini = os.path.join(self.tmp.name, "vorla.ini")
        self.guard_hit = False
        self.ui.add_poll_hook(self.guard)

    def tearDown(self):
        self.ui.set_online_poll(None)
        self.ui.set_start_page(Page.MAIN)
        signal.signal(signal.SIGINT, signal.default_int_handler)
        self.tmp.cleanup()
        self.assertFalse(self.guard_hit, "a run had to be closed by the guard")

    def guard(self, poll):
        if poll >= GUARD_POLLS:
            self.guard_hit = True
            self.ui.inspect.close_window()

    def at_poll(self, actions):
        """A poll hook running actions[poll]() at those polls of every run."""
        def hook(poll):
            if poll in actions:
                actions[poll]()
        self.ui.add_poll_hook(hook)
        return hook

    def run_capturing_stderr(self, status=None):
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            code = self.ui.run(self.ini, status)
        return code, err.getvalue()


def building(record):
    record.state = BuildState.BUILDING
    record.percent = 40
    record.set_text("rom_path", "/roms/game.gba")
    record.rom_ok = 1


class CallbackExceptionsTest(RunCase):
    def test_exceptions_are_reported_once_and_the_last_good_records_stay(self):
        self.ui.set_poll_interval(1)
        self.ui.set_start_page(Page.ONLINE)
        seen = {}

        def status(record):
            poll = seen.setdefault("status", 0)
            seen["status"] = poll + 1
            if poll in (2, 3, 4):
                seen.setdefault("lobby widgets", []).append(self.ui.inspect.enabled("online_leave"))
                record.state = BuildState.NO_ROM  # half written, then broken
                raise ValueError("status broke")
            building(record)

        def online(record):
            poll = seen.setdefault("online", 0)
            seen["online"] = poll + 1
            if poll >= 1:
                raise KeyError("online broke")
            record.lobby_state = LobbyState.WAITING
            record.local_slot = 0

        def look():
            seen["page"] = self.ui.inspect.page()
            self.ui.set_start_page(Page.MAIN)

        self.ui.set_online_poll(online)
        self.at_poll({7: look, 8: self.ui.inspect.close_window})
        code, err = self.run_capturing_stderr(status)
        self.assertEqual(code, ExitCode.QUIT)
        self.assertGreaterEqual(seen["status"], 9, "the run went on")
        self.assertEqual(seen["page"], Page.ONLINE)
        # The lobby of the first online record still shows: the failed polls kept it.
        self.assertEqual(seen["lobby widgets"], [True, True, True])
        self.assertEqual(err.count("vorla_ui: the status callback raised an exception"), 1, err)
        self.assertEqual(err.count("ValueError: status broke"), 1, err)
        self.assertEqual(err.count("vorla_ui: the online callback raised an exception"), 1, err)
        self.assertEqual(err.count("KeyError: 'online broke'"), 1, err)

    def test_the_status_record_of_a_failed_poll_is_the_last_good_one(self):
        self.ui.set_poll_interval(1)
        bars = []

        def status(record):
            poll = len(bars)
            bars.append(self.ui.inspect.bar())  # drawn from the record of the poll before
            if poll >= 2:
                record.state = BuildState.NO_ROM
                raise RuntimeError("broken")
            building(record)

        self.at_poll({6: self.ui.inspect.close_window})
        code, err = self.run_capturing_stderr(status)
        self.assertEqual(code, ExitCode.QUIT)
        self.assertTrue(all(bar == Rect(236, 308, 488, 10) for bar in bars[2:]), bars)
        self.assertIn("RuntimeError: broken", err)

    def test_system_exit_ends_the_run_and_is_raised_again(self):
        self.ui.set_poll_interval(1)
        calls = []

        def status(record):
            calls.append(1)
            if len(calls) == 3:
                raise SystemExit(3)

        with self.assertRaises(SystemExit) as caught:
            self.ui.run(self.ini, status)
        self.assertEqual(caught.exception.code, 3)
        self.assertFalse(self.ui.quit_requested)
        self.assertTrue(os.path.exists(self.ini), "the run shut down as usual")
        self.at_poll({2: self.ui.inspect.close_window})
        self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.QUIT)

    def test_run_cannot_be_entered_from_its_own_callback(self):
        self.ui.set_poll_interval(1)
        self.at_poll({1: lambda: self.ui.run(self.ini), 3: self.ui.inspect.close_window})
        code, err = self.run_capturing_stderr(lambda record: None)
        self.assertEqual(code, ExitCode.QUIT)
        self.assertIn("vorla_ui: the poll hook raised an exception", err)
        self.assertIn("a run is already under way", err)


class QuitRequestTest(RunCase):
    def test_quit_from_another_thread_ends_a_run_with_a_long_poll_interval(self):
        self.ui.set_poll_interval(20000)  # far longer than a quit takes
        host_calls, online_calls = [], []
        self.ui.set_online_poll(online_calls.append)
        threads = []

        def ask_from_a_thread():
            thread = threading.Thread(target=self.ui.request_quit)
            thread.start()
            threads.append(thread)

        self.at_poll({3: ask_from_a_thread})
        self.assertEqual(self.ui.run(self.ini, host_calls.append), ExitCode.QUIT)
        self.assertEqual(len(host_calls), 1, "only the start-up call came before the quit")
        self.assertEqual(online_calls, [])
        self.assertTrue(self.ui.quit_requested)
        self.assertTrue(os.path.exists(self.ini), "the run shut down as usual")
        # It stays requested: the next run ends before it starts.
        self.assertEqual(self.ui.run(self.ini, host_calls.append), ExitCode.QUIT)
        self.assertEqual(len(host_calls), 1)
        threads[0].join(10)

    def test_host_callbacks_keep_their_interval_between_wake_ups(self):
        self.ui.set_poll_interval(250)
        host_calls, online_calls, polls = [], [], []
        self.ui.set_online_poll(lambda record: online_calls.append(time.monotonic()))

        def status(record):
            host_calls.append(time.monotonic())
            if len(host_calls) == 5:
                self.ui.inspect.close_window()

        self.ui.add_poll_hook(polls.append)
        # What the binding asks of the library, not how promptly a loaded machine delivers it.
        asked = []
        library_setter = self.ui.capi.vl_set_poll_interval
        with mock.patch.object(self.ui.capi, "vl_set_poll_interval",
                               side_effect=lambda ms: (asked.append(ms), library_setter(ms))[1]):
            self.assertEqual(self.ui.run(self.ini, status), ExitCode.QUIT)
        gaps = [b - a for a, b in zip(host_calls, host_calls[1:])]
        self.assertTrue(all(gap >= 0.245 for gap in gaps), gaps)
        self.assertTrue(asked and all(1 <= ms <= vorla_ui.WAKE_MS for ms in asked), asked)
        self.assertGreater(len(polls), len(host_calls), "the library woke between host polls")
        self.assertEqual(len(online_calls), len(host_calls) - 1, "no online call at start-up")

    def test_without_a_status_callback_nothing_is_polled_and_quit_still_works(self):
        online_calls = []
        self.ui.set_online_poll(online_calls.append)
        self.at_poll({3: self.ui.request_quit})
        self.assertEqual(self.ui.run(self.ini), ExitCode.QUIT)
        self.assertEqual(online_calls, [])

    def test_ctrl_c_during_a_run_is_a_clean_quit(self):
        self.ui.set_poll_interval(20000)
        calls = []
        self.at_poll({2: lambda: threading.Thread(target=os.kill, args=(os.getpid(), signal.SIGINT)).start()})
        self.assertEqual(self.ui.run(self.ini, calls.append), ExitCode.QUIT)
        self.assertTrue(self.ui.quit_requested)
        self.assertEqual(len(calls), 1)
        # Outside a run Ctrl+C is Python's again.
        self.assertIs(signal.getsignal(signal.SIGINT), signal.default_int_handler)
        with self.assertRaises(KeyboardInterrupt):
            os.kill(os.getpid(), signal.SIGINT)
            time.sleep(5)

    def test_a_host_handling_sigint_itself_keeps_its_handler(self):
        caught = []
        signal.signal(signal.SIGINT, lambda signum, frame: caught.append(signum))
        self.at_poll({2: lambda: os.kill(os.getpid(), signal.SIGINT), 4: self.ui.inspect.close_window})
        self.ui.set_poll_interval(1)
        self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.QUIT)
        self.assertEqual(caught, [signal.SIGINT])
        self.assertFalse(self.ui.quit_requested)

    def test_ctrl_c_between_runs_after_quit_on_ctrl_c(self):
        self.ui.quit_on_ctrl_c()
        os.kill(os.getpid(), signal.SIGINT)
        time.sleep(0.01)  # the handler runs at the next bytecode; no KeyboardInterrupt either way
        self.assertTrue(self.ui.quit_requested)
        calls = []
        self.assertEqual(self.ui.run(self.ini, calls.append), ExitCode.QUIT)
        self.assertEqual(calls, [], "no window was opened")
        self.assertFalse(os.path.exists(self.ini))


class SettersTest(RunCase):
    def test_start_page(self):
        # value set, page shown
        cases = [(Page.SETTINGS, Page.SETTINGS), (Page.ONLINE, Page.ONLINE), (7, Page.MAIN), (-1, Page.MAIN)]
        for value, page in cases:
            with self.subTest(value=value):
                self.ui.set_start_page(value)
                seen = []
                hook = self.at_poll({1: lambda: seen.append(self.ui.inspect.page()),
                                     2: self.ui.inspect.close_window})
                self.ui.set_poll_interval(1)
                self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.QUIT)
                self.ui.remove_poll_hook(hook)
                self.assertEqual(seen, [page])

    def test_keep_place_brings_back_the_last_runs_focus_only_while_on(self):
        # keep place, focus in the second run
        cases = [(True, "input"), (False, "play")]
        self.ui.set_poll_interval(1)
        try:
            for keep, focus in cases:
                with self.subTest(keep=keep):
                    self.ui.set_keep_place(keep)
                    seen = []
                    hook = self.at_poll({1: lambda: self.ui.inspect.set_focus("input"),
                                         2: self.ui.inspect.close_window})
                    self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.QUIT)
                    self.ui.remove_poll_hook(hook)
                    hook = self.at_poll({1: lambda: seen.append(self.ui.inspect.focus()),
                                         2: self.ui.inspect.close_window})
                    self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.QUIT)
                    self.ui.remove_poll_hook(hook)
                    self.assertEqual(seen, [focus])
        finally:
            self.ui.set_keep_place(False)

    def test_poll_interval_and_online_poll_set_inside_a_callback(self):
        self.ui.set_poll_interval(20000)
        host_polls, online_polls, polls = [], [], []

        def status(record):
            host_polls.append(len(polls))  # the hooks of the polls before have run
            if len(host_polls) == 1:
                self.ui.set_poll_interval(1)  # every poll from now on
            if len(host_polls) == 4:
                self.ui.set_online_poll(None)  # read by the library right after this call
            if len(host_polls) == 8:
                self.ui.inspect.close_window()

        self.ui.set_online_poll(lambda record: online_polls.append(len(polls) - 1))
        self.ui.add_poll_hook(polls.append)  # hooks run after the status callback, before the online one
        self.assertEqual(self.ui.run(self.ini, status), ExitCode.QUIT)
        self.assertEqual(host_polls, list(range(8)), "a host poll at every poll after the first")
        self.assertEqual(online_polls, [1, 2])

    def test_dropped_path_then_none_after_a_plain_run(self):
        dropped = "/roms/V\u00f6rla & The Glassmaze (EU).gba"
        self.ui.set_poll_interval(1)
        hook = self.at_poll({1: lambda: self.ui.inspect.drop(dropped)})
        self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.CHOOSE_ROM)
        self.assertEqual(self.ui.dropped_path(), dropped)
        self.ui.remove_poll_hook(hook)
        self.at_poll({1: lambda: self.ui.inspect.press("selectrom")})
        self.assertEqual(self.ui.run(self.ini, lambda record: None), ExitCode.CHOOSE_ROM)
        self.assertIsNone(self.ui.dropped_path())


class InspectionTest(RunCase):
    def test_results_are_plain_values(self):
        inspect = self.ui.inspect
        seen = {}

        def look():
            seen.update(
                play=inspect.widget("play"), nothing=inspect.widget("no_such_widget"),
                play_enabled=inspect.enabled("play"), focus=inspect.focus(), page=inspect.page(),
                window=inspect.window_id(), capture=inspect.capture(), note=inspect.note(),
                addr=inspect.addr_sel(), confirm=inspect.confirm(), editing=inspect.editing(),
                keypad=inspect.keypad(), fields=inspect.fields(), field9=inspect.field(9),
                count=inspect.text_count(), texts=inspect.texts(), bar=inspect.bar(),
                video=inspect.video(), shot=inspect.snapshot())
            inspect.fake_pad(False)
            seen["pad off"] = inspect.pad_present()
            inspect.fake_pad(True, 100, -100)
            seen["pad on"] = inspect.pad_present()
            inspect.close_window()

        self.ui.set_poll_interval(1)
        self.at_poll({3: look})
        self.assertEqual(self.ui.run(self.ini, building), ExitCode.QUIT)
        self.assertEqual(seen["play"], Rect(350, 358, 260, 46))
        self.assertIsNone(seen["nothing"])
        self.assertIs(seen["play_enabled"], True)
        self.assertEqual((seen["focus"], seen["page"]), ("play", Page.MAIN))
        self.assertIsInstance(seen["window"], int)
        self.assertGreater(seen["window"], 0)
        self.assertEqual((seen["capture"], seen["editing"], seen["keypad"]), (None, None, None))
        self.assertEqual((seen["note"], seen["addr"], seen["confirm"]), ("", 0, False))
        self.assertEqual(seen["fields"], Fields("Player", "127.0.0.1", "47900"))
        self.assertEqual(seen["field9"], "")
        self.assertGreater(seen["count"], 5)
        self.assertEqual(len(seen["texts"]), seen["count"])
        self.assertTrue(all(isinstance(t, Rect) and t.w > 0 and t.h > 0 for t in seen["texts"]))
        self.assertEqual(seen["bar"], Rect(236, 308, 488, 10))
        self.assertEqual(seen["video"], Video(960, 600, False))
        self.assertEqual((seen["pad off"], seen["pad on"]), (False, True))
        shot = seen["shot"]
        self.assertEqual((shot.width, shot.height, len(shot.pixels)), (960, 600, 960 * 600 * 4))
        self.assertGreater(len({shot.pixel(x, 380) for x in range(0, 960, 8)}), 2, "a painted frame")
        png = os.path.join(self.tmp.name, "main.png")
        shot.save_png(png)
        self.assertEqual(read_png_file(png), (960, 600, shot.rgb()))
        # Between runs: no window, nothing to copy.
        self.assertEqual(self.ui.inspect.window_id(), 0)
        self.assertIsNone(self.ui.inspect.snapshot())
        self.assertEqual(self.ui.inspect.video(), Video(0, 0, False))


class RunFailuresTest(RunCase):
    def quit_at_poll_2(self):
        self.at_poll({2: self.ui.inspect.close_window})

    def test_a_nul_byte_in_the_path_is_refused_before_anything_runs(self):
        calls = []
        text = os.path.join(self.tmp.name, "a\0b.ini")
        for path in (text, os.fsencode(text)):
            with self.subTest(path=path), self.assertRaisesRegex(ValueError, "NUL byte"):
                self.ui.run(path, calls.append)
        self.assertEqual((calls, os.listdir(self.tmp.name)), ([], []))

    def test_a_run_under_way_refuses_another_and_goes_on(self):
        other = fresh_launcher()  # a second host of the same library, as a C host would be
        refused = {}

        def try_run(name, call):
            try:
                call()
            except vorla_ui.RunRefusedError as error:
                refused[name] = str(error)

        def attempts():
            try_run("callback", lambda: self.ui.run(self.ini))
            thread = threading.Thread(target=try_run, args=("thread", lambda: self.ui.run(self.ini)))
            thread.start()
            thread.join(10)
            try_run("library", lambda: other.run(self.ini, lambda record: None))

        self.ui.set_poll_interval(1)
        self.at_poll({2: attempts, 4: self.ui.inspect.close_window})
        self.assertEqual(self.ui.run(self.ini, building), ExitCode.QUIT)
        self.assertIn("a run is already under way", refused.get("callback", ""))
        self.assertIn("a run is already under way", refused.get("thread", ""))
        self.assertEqual(refused.get("library"), "vorla_ui: vl_run called while a run is under way; refused")
        self.assertTrue(issubclass(vorla_ui.RunRefusedError, RuntimeError))
        self.quit_at_poll_2()
        self.assertEqual(self.ui.run(self.ini, building), ExitCode.QUIT, "the next run starts as usual")

    def test_a_window_that_cannot_start_raises_with_the_library_text(self):
        calls = []
        previous = os.environ["SDL_VIDEODRIVER"]
        os.environ["SDL_VIDEODRIVER"] = "no_such_driver"
        try:
            with self.assertRaises(vorla_ui.StartFailedError) as caught:
                self.run_capturing_stderr(calls.append)
        finally:
            os.environ["SDL_VIDEODRIVER"] = previous
        self.assertRegex(str(caught.exception), "^vorla_ui: SDL_InitSubSystem failed: .*no_such_driver")
        self.assertEqual(calls, [])
        self.assertFalse(os.path.exists(self.ini))

    def test_a_settings_file_that_cannot_be_written_warns_and_keeps_the_code(self):
        folder = os.path.join(self.tmp.name, "a folder")
        os.mkdir(folder)
        # settings path, what the warning names
        cases = [
            (os.path.join(self.tmp.name, "missing", "vorla.ini"), "missing/vorla.ini"),
            (folder, "a folder"),
            (os.path.join(self.tmp.name, "x" * 600 + ".ini"), "longer than 511 bytes"),
            (self.ini, None),
        ]
        self.quit_at_poll_2()
        for path, named in cases:
            with self.subTest(named=named), warnings.catch_warnings(record=True) as caught:
                warnings.simplefilter("always")
                self.assertEqual(self.ui.run(path, building), ExitCode.QUIT)
            mine = [w for w in caught if issubclass(w.category, vorla_ui.SettingsNotSavedWarning)]
            texts = [str(w.message) for w in mine]
            if named is None:
                self.assertEqual(texts, [])
                self.assertTrue(os.path.isfile(path))
            else:
                self.assertEqual(len(texts), 1, [str(w.message) for w in caught])
                self.assertIn("settings file not written", texts[0])
                self.assertIn(named, texts[0])
                self.assertEqual(os.path.basename(mine[0].filename), os.path.basename(__file__),
                                 "the warning points at the host's call")


class InputByNameTest(RunCase):
    def test_keys_by_sdl_name_and_presses_by_id(self):
        inspect = self.ui.inspect
        seen = {}

        def refused(call, *args):
            try:
                call(*args)
            except KeyError as error:
                return error.args[0]
            return "no KeyError"

        steps = {
            2: lambda: seen.update(start=inspect.focus()) or inspect.press_key("tab"),
            4: lambda: seen.update(tabbed=inspect.focus()) or inspect.press_key("Return"),
            6: lambda: seen.update(page=inspect.page(), unknown_id=refused(inspect.press, "quit"),
                                   unknown_key=refused(inspect.press_key, "no such key"))
            or inspect.press_key("ESCAPE"),
            8: lambda: seen.update(back=inspect.page(), entered=inspect.press("online")),
            10: lambda: seen.update(online=inspect.page(), disabled=inspect.press("online_start"))
            or inspect.close_window(),
        }
        self.ui.set_poll_interval(1)
        self.at_poll(steps)
        self.assertEqual(self.ui.run(self.ini, building), ExitCode.QUIT)
        self.assertEqual((seen["start"], seen["tabbed"]), ("play", "settings"))
        self.assertEqual((seen["page"], seen["back"], seen["online"]), (Page.SETTINGS, Page.MAIN, Page.ONLINE))
        self.assertIn("the settings page shows no widget 'quit'", seen["unknown_id"])
        self.assertIn("SDL knows no key named 'no such key'", seen["unknown_key"])
        self.assertEqual((seen["entered"], seen["disabled"]), (True, False))


def sdl_video_started():
    """SDL_WasInit(SDL_INIT_VIDEO) of the SDL the library uses."""
    return ctypes.CDLL("libSDL2-2.0.so.0").SDL_WasInit(0x20)


class ProgressWindowTest(RunCase):
    def test_context_manager_opens_updates_and_closes(self):
        with self.ui.progress("Copying the save") as window:
            self.assertTrue(window.is_open)
            self.assertTrue(window.update(50, "half way"))
            self.assertTrue(window.update(150))
            with self.assertRaises(RuntimeError):
                self.ui.progress("a second one").open()
        self.assertFalse(window.is_open)
        self.assertEqual(sdl_video_started(), 0, "vui_close stopped SDL again")
        self.assertFalse(window.update(60), "a closed window reports the end")
        with self.assertRaises(ZeroDivisionError):
            with self.ui.progress() as window:
                1 / 0
        self.assertFalse(window.is_open, "closed on the way out of an exception")
        with self.ui.progress() as window:
            self.assertTrue(window.update(1))

    def test_a_window_that_cannot_open_raises_with_the_code(self):
        previous = os.environ.get("SDL_VIDEODRIVER")
        os.environ["SDL_VIDEODRIVER"] = "no_such_driver"
        err = io.StringIO()
        try:
            with contextlib.redirect_stderr(err), self.assertRaises(vorla_ui.ProgressWindowError) as caught:
                with self.ui.progress("never shown"):
                    pass
        finally:
            os.environ["SDL_VIDEODRIVER"] = previous or "dummy"
        self.assertEqual(caught.exception.code, -1)
        self.assertIn("SDL's video did not start", str(caught.exception))
        with self.ui.progress() as window:
            self.assertTrue(window.update(10), "a later window opens")


if __name__ == "__main__":
    unittest.main()
