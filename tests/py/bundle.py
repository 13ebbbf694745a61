"""Where the Python tests find the built bundle: its binding (imported from the bundle's
own app/ folder, as hosts get it), its library and its stand-in host."""

import os
import signal
import subprocess
import sys

BUNDLE = os.environ.get("VORLA_BUNDLE", "")
LIB = os.environ.get("VORLA_LIB", "")
SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
STAND_IN = os.path.join(BUNDLE, "app", "launcher", "launcher.py")

# Headless unless the caller chose a driver; on the dummy driver SDL's software renderer
# draws, whatever GPU a display at hand would offer.
os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
if os.environ["SDL_VIDEODRIVER"] == "dummy":
    os.environ.setdefault("SDL_RENDER_DRIVER", "software")
sys.path[:0] = [os.path.join(BUNDLE, "app"), os.path.dirname(STAND_IN)]

import vorla_ui  # noqa: E402


def stand_in_host():
    """The stand-in host as a module (its main() is not run)."""
    import launcher
    return launcher


def fresh_launcher():
    """A Launcher of its own (no quit requested yet) on the built library."""
    return vorla_ui.Launcher(LIB)


def finish(proc, timeout):
    """(stdout, stderr) of a process started in a session of its own; one still running
    after `timeout` seconds is killed with its whole group and raises TimeoutError."""
    try:
        return proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        out, err = proc.communicate()
        raise TimeoutError("still running after %d s; killed. stdout: %s stderr: %s" % (timeout, out, err))
