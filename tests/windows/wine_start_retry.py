#!/usr/bin/env python3
"""Runs a Windows test program under Wine, once more when Wine failed to start it.

    wine_start_retry.py WINE PROGRAM.exe [ARGUMENT...]

The Windows build's ctest starts every test program through this (the toolchain file makes
it the cross-compiling emulator, so GoogleTest's listing of the tests goes through it too).
Rarely, Wine fails to start a program: it exits non-zero at once having printed nothing. Each
test program prints before it can fail (GoogleTest's first line), so a run that exits
non-zero within START_FAILURE_SECONDS having written nothing at all to stdout or stderr is
taken for such a start failure and run once more, saying so in one line on stderr. Anything
else is the program's own result: a second empty exit, a non-zero exit after any output, or
one that took longer, stands.

The program's stdout and stderr are passed on as they come, each to the same stream, and
its exit code is returned (128 + N for a program ended by signal N). When
VORLA_WINE_RETRY_LOG names a file, each retry also appends one line there with the second
run's exit code, for the stage's summary.
"""
import os
import selectors
import signal
import subprocess
import sys
import time

START_FAILURE_SECONDS = 1.0
RETRY_LOG = "VORLA_WINE_RETRY_LOG"

_running = None  # the program being run, for signals sent to this wrapper


def _forward(signum, _frame):
    if _running is not None and _running.poll() is None:
        _running.send_signal(signum)


def write_all(fd, data):
    """Unbuffered, so each piece of output is passed on when it comes."""
    while data:
        data = data[os.write(fd, data):]


def run_once(command):
    """Runs the command, passing its output on as it comes; (exit code, printed, seconds)."""
    global _running
    started = time.monotonic()
    _running = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, bufsize=0)
    sinks = {_running.stdout.fileno(): sys.stdout.fileno(), _running.stderr.fileno(): sys.stderr.fileno()}
    printed = False
    with selectors.DefaultSelector() as selector:
        for fd in sinks:
            selector.register(fd, selectors.EVENT_READ)
        while selector.get_map():
            for key, _ in selector.select():
                data = os.read(key.fd, 65536)
                if not data:
                    selector.unregister(key.fd)
                    continue
                printed = True
                write_all(sinks[key.fd], data)
    code = _running.wait()
    seconds = time.monotonic() - started
    _running.stdout.close()
    _running.stderr.close()
    _running = None
    return (128 - code if code < 0 else code), printed, seconds


def is_start_failure(code, printed, seconds):
    return code != 0 and not printed and seconds < START_FAILURE_SECONDS


def describe(command):
    """The command with folders left out: Wine, the program and its test filter."""
    return " ".join(os.path.basename(word) if os.sep in word else word for word in command)


def main(command):
    if not command:
        sys.stderr.write(__doc__)
        return 2
    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, _forward)
    try:
        code, printed, seconds = run_once(command)
    except OSError as error:
        sys.stderr.write(f"wine_start_retry: cannot run {command[0]}: {error.strerror}\n")
        return 127
    if not is_start_failure(code, printed, seconds):
        return code
    what = (f"{describe(command)} exited {code} after {seconds:.2f} s having printed nothing: "
            f"a start failure of Wine")
    sys.stderr.write(f"wine_start_retry: {what}; running it once more\n")
    sys.stderr.flush()
    code, _, _ = run_once(command)
    log = os.environ.get(RETRY_LOG)
    if log:
        with open(log, "a", encoding="utf-8") as out:
            out.write(f"{what}; the second run exited {code}\n")
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
