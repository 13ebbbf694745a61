"""The two host records and the callback types, byte for byte as in vorla_ui.h.

The structures keep the header's names and field order, so the header can be read beside
them. Texts are fixed byte arrays holding zero-terminated UTF-8; `set_text` and `text` move
Python strings in and out of them without splitting a character.
"""

from __future__ import annotations

import ctypes
import os
from typing import Optional, Tuple, Union

Text = Union[str, bytes, "os.PathLike[str]"]


def _encoded(text: Text) -> bytes:
    if isinstance(text, bytes):
        return text
    if isinstance(text, str):
        return text.encode("utf-8", "surrogateescape")
    return os.fsencode(text)


def _fitted(data: bytes, capacity: int) -> bytes:
    """`data` cut to at most `capacity` bytes, never in the middle of a UTF-8 sequence."""
    if len(data) <= capacity:
        return data
    cut = capacity
    # Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while cut > 0 and (data[cut] & 0xC0) == 0x80:
        cut -= 1
    return data[:cut]


class _Record(ctypes.Structure):
    """Text access shared by both records."""

    # name -> (number of entries, bytes per entry) for arrays of texts.
    _text_arrays: dict = {}

    def _text_slot(self, name: str, index: Optional[int]) -> Tuple[int, int]:
        if name not in self._texts():
            raise AttributeError("%s has no text field %r" % (type(self).__name__, name))
        field = getattr(type(self), name)
        entries, size = self._text_arrays.get(name, (None, field.size))
        if entries is None:
            if index is not None:
                raise TypeError("%s is a single text; no index" % name)
            return field.offset, size
        if index is None:
            raise TypeError("%s holds %d texts; give the index" % (name, entries))
        if not 0 <= index < entries:
            raise IndexError("%s has entries 0 to %d" % (name, entries - 1))
        return field.offset + index * size, size

    @classmethod
    def _texts(cls) -> Tuple[str, ...]:
        return tuple(name for name, kind in cls._fields_ if issubclass(kind, ctypes.Array)
                     and (kind._type_ is ctypes.c_char or name in cls._text_arrays))

    def set_text(self, name: str, text: Text, index: Optional[int] = None) -> None:
        """Writes `text` into the text field `name` (entry `index` of an array of texts),
        cut to fit with its terminator; the rest of the field is cleared."""
        offset, size = self._text_slot(name, index)
        data = _fitted(_encoded(text), size - 1)
        address = ctypes.addressof(self) + offset
        ctypes.memset(address, 0, size)
        ctypes.memmove(address, data, len(data))

    def text(self, name: str, index: Optional[int] = None) -> str:
        """The text field `name` (entry `index` of an array of texts) up to its terminator,
        or the whole field when it has none."""
        offset, size = self._text_slot(name, index)
        raw = ctypes.string_at(ctypes.addressof(self) + offset, size)
        return raw.split(b"\0", 1)[0].decode("utf-8", "replace")


class vl_status(_Record):
    """Launcher status, filled by the host's status callback (368 bytes)."""

    _fields_ = [
        ("state", ctypes.c_int32),           # BuildState
        ("percent", ctypes.c_int32),         # build progress
        ("message", ctypes.c_char * 96),     # status line, replaces the default text when set
        ("rom_path", ctypes.c_char * 260),   # path of the loaded ROM
        ("rom_ok", ctypes.c_int32),          # not 0 when the ROM was accepted
    ]


class vl_online_status(_Record):
    """Cable-link lobby, filled by the host's online callback (452 bytes)."""

    _text_arrays = {"slot_name": (4, 16), "addresses": (4, 48)}
    _fields_ = [
        ("lobby_state", ctypes.c_int32),             # LobbyState
        ("slot_state", ctypes.c_int32 * 4),          # SlotState per player slot
        ("slot_ping", ctypes.c_int32 * 4),           # milliseconds, -1 not measured
        ("slot_name", (ctypes.c_char * 16) * 4),
        ("local_slot", ctypes.c_int32),              # this player's slot, -1 none
        ("address", ctypes.c_char * 48),             # this machine's address when `addresses` is empty
        ("host_message", ctypes.c_char * 96),        # replaces the lobby hint when set
        ("quality", ctypes.c_int32),                 # Quality
        ("pauses", ctypes.c_int32),                  # pauses over 100 ms while in game
        ("p95_ms", ctypes.c_int32),                  # 95th-percentile latency, negative when not measured
        ("addresses", (ctypes.c_char * 48) * 4),     # local addresses; the list ends at the first empty one
    ]


vl_status_cb = ctypes.CFUNCTYPE(None, ctypes.POINTER(vl_status))
vl_online_cb = ctypes.CFUNCTYPE(None, ctypes.POINTER(vl_online_status))

# The byte layout is a contract with the library.
assert ctypes.sizeof(vl_status) == 368, "vl_status is 368 bytes"
assert vl_status.state.offset == 0
assert vl_status.percent.offset == 4
assert vl_status.message.offset == 8
assert vl_status.rom_path.offset == 104
assert vl_status.rom_ok.offset == 364
assert ctypes.sizeof(vl_online_status) == 452, "vl_online_status is 452 bytes"
assert vl_online_status.lobby_state.offset == 0
assert vl_online_status.slot_state.offset == 4
assert vl_online_status.slot_ping.offset == 20
assert vl_online_status.slot_name.offset == 36
assert vl_online_status.local_slot.offset == 100
assert vl_online_status.address.offset == 104
assert vl_online_status.host_message.offset == 152
assert vl_online_status.quality.offset == 248
assert vl_online_status.pauses.offset == 252
assert vl_online_status.p95_ms.offset == 256
assert vl_online_status.addresses.offset == 260
