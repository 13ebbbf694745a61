"""A complete minimal host: the launcher window until the player quits, a ROM chosen by
dropping it on the window, and what each request would start."""
import sys

import vorla_ui
from vorla_ui import BuildState, ExitCode

rom = ""


def status(record: vorla_ui.Status) -> None:
    """Called at every poll of a run: tell the launcher what the host has."""
    if rom:
        record.state = BuildState.READY
        record.rom_ok = 1
        record.set_text("rom_path", rom)


def main(ini_path: str = "vorla.ini") -> int:
    global rom
    ui = vorla_ui.load()  # the library beside the bundle, or the one VORLA_UI_LIB names
    ui.set_keep_place(True)  # each run reopens where the player left the last window
    while True:
        code = ui.run(ini_path, status)
        if code == ExitCode.QUIT:
            return 0
        if code == ExitCode.CHOOSE_ROM:
            rom = ui.dropped_path() or rom  # None: the player wants a file dialog
            print("ROM:", rom or "none yet")
        else:
            print("would", code.name.lower().replace("_", " "), "with", rom or "no ROM")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:2]))
