"""The few SDL2 calls the binding makes itself, on the SDL2 that vorla_ui already loaded.

Events pushed here land in the queue the launcher window reads, so they must be pushed on
the thread that runs `vl_run`, from inside one of its callbacks (the queue exists only
during a run).
"""

from __future__ import annotations

import ctypes
import os
import struct
from typing import List, Optional, Tuple

SDL_INIT_VIDEO = 0x20
SDL_QUIT = 0x100
SDL_KEYDOWN = 0x300
SDL_KEYUP = 0x301
SDL_DROPFILE = 0x1000

SDLK_UNKNOWN = 0

_EVENT_BYTES = 64  # SDL_Event is a 56-byte union; a little room to spare


def _candidates(library_path: str) -> List[str]:
    folder = os.path.dirname(os.path.abspath(library_path))
    if os.name == "nt":
        return [os.path.join(folder, "SDL2.dll"), "SDL2.dll"]
    # Already loaded as the library's dependency, so the soname finds that very copy.
    return ["libSDL2-2.0.so.0", os.path.join(folder, "libSDL2-2.0.so.0"), "libSDL2-2.0.0.dylib"]


def _open_sdl(library_path: str) -> ctypes.CDLL:
    errors = []
    for name in _candidates(library_path):
        try:
            return ctypes.CDLL(name)
        except OSError as error:
            errors.append(str(error))
    raise OSError("vorla_ui: SDL2 was not found beside %s (%s)" % (library_path, "; ".join(errors)))


class Sdl:
    """SDL2 as vorla_ui uses it: the event queue and the video driver probe."""

    def __init__(self, library_path: str) -> None:
        self.lib = lib = _open_sdl(library_path)
        lib.SDL_PushEvent.argtypes = [ctypes.c_void_p]
        lib.SDL_PushEvent.restype = ctypes.c_int
        lib.SDL_malloc.argtypes = [ctypes.c_size_t]
        lib.SDL_malloc.restype = ctypes.c_void_p
        lib.SDL_free.argtypes = [ctypes.c_void_p]
        lib.SDL_free.restype = None
        lib.SDL_InitSubSystem.argtypes = [ctypes.c_uint32]
        lib.SDL_InitSubSystem.restype = ctypes.c_int
        lib.SDL_QuitSubSystem.argtypes = [ctypes.c_uint32]
        lib.SDL_QuitSubSystem.restype = None
        lib.SDL_GetCurrentVideoDriver.argtypes = []
        lib.SDL_GetCurrentVideoDriver.restype = ctypes.c_char_p
        lib.SDL_GetError.argtypes = []
        lib.SDL_GetError.restype = ctypes.c_char_p
        lib.SDL_SetMainReady.argtypes = []
        lib.SDL_SetMainReady.restype = None
        lib.SDL_GetKeyFromName.argtypes = [ctypes.c_char_p]
        lib.SDL_GetKeyFromName.restype = ctypes.c_int32
        lib.SDL_GetScancodeFromKey.argtypes = [ctypes.c_int32]
        lib.SDL_GetScancodeFromKey.restype = ctypes.c_int

    def push(self, event: "ctypes.Array[ctypes.c_uint8]") -> bool:
        return bool(self.lib.SDL_PushEvent(event) == 1)

    def push_quit(self) -> bool:
        """SDL_QUIT, as when the window is closed."""
        event = (ctypes.c_uint8 * _EVENT_BYTES)()
        struct.pack_into("<I", event, 0, SDL_QUIT)
        return self.push(event)

    def push_key(self, window_id: int, keycode: int, scancode: int, down: bool) -> bool:
        """One SDL_KEYDOWN or SDL_KEYUP for the window `window_id`."""
        event = (ctypes.c_uint8 * _EVENT_BYTES)()
        struct.pack_into("<III", event, 0, SDL_KEYDOWN if down else SDL_KEYUP, 0, window_id)
        struct.pack_into("<BB", event, 12, 1 if down else 0, 0)  # state, repeat
        struct.pack_into("<iiH", event, 16, scancode, keycode, 0)  # keysym: scancode, sym, mod
        return self.push(event)

    def push_drop(self, path: bytes, window_id: int = 0) -> bool:
        """SDL_DROPFILE with `path`; the text is SDL's to free, as for a real drop."""
        text = self.lib.SDL_malloc(len(path) + 1)
        if not text:
            return False
        ctypes.memmove(text, path + b"\0", len(path) + 1)
        event = (ctypes.c_uint8 * _EVENT_BYTES)()
        # type, timestamp, then the 8-aligned file pointer and the window id after it.
        struct.pack_into("<IIQI", event, 0, SDL_DROPFILE, 0, text, window_id)
        if not self.push(event):
            self.lib.SDL_free(text)
            return False
        return True

    def key_from_name(self, name: str) -> Tuple[int, int]:
        """(key code, scan code) of the key SDL calls `name` ("Tab", "return", "f", "F11";
        SDL_GetKeyFromName ignores letter case). KeyError for a name SDL does not know.
        The scan code comes from the keyboard layout SDL has while its video runs."""
        keycode = int(self.lib.SDL_GetKeyFromName(name.encode("utf-8")))
        if keycode == SDLK_UNKNOWN:
            raise KeyError("vorla_ui: SDL knows no key named %r (see SDL's key names, e.g. "
                           "\"Tab\", \"Return\", \"Escape\", \"Left\", \"F\")" % name)
        return keycode, int(self.lib.SDL_GetScancodeFromKey(keycode))

    def video_driver(self) -> Optional[str]:
        """The video driver SDL picks here, by starting and stopping its video subsystem;
        None when no driver starts."""
        self.lib.SDL_SetMainReady()
        if self.lib.SDL_InitSubSystem(SDL_INIT_VIDEO) != 0:
            return None
        try:
            name = self.lib.SDL_GetCurrentVideoDriver()
            return name.decode("ascii", "replace") if name else None
        finally:
            self.lib.SDL_QuitSubSystem(SDL_INIT_VIDEO)
