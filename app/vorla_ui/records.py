"""The two host records and the callback types, byte for byte as in vorla_ui.h.

The structures keep the header's names and field order, so the header can be read beside
them. Each record is one table of (name, C type, meaning): the structure's `_fields_` and
its documentation come from it, and the annotations in the class are what a type checker
sees (a test keeps them in step with the table). A misspelt field is an error for mypy
and, through `__slots__`, an AttributeError at run time.

Texts are fixed byte arrays holding zero-terminated UTF-8; `set_text` and `text` move
Python strings in and out of them without splitting a character.
"""

from __future__ import annotations

import ctypes
import os
from typing import TYPE_CHECKING, Any, ClassVar, List, Optional, Sequence, Tuple, Union

Text = Union[str, bytes, "os.PathLike[str]"]
FieldRow = Tuple[str, Any, str]  # name, ctypes type, meaning

if TYPE_CHECKING:
    class _Structure(ctypes._CData):
        """ctypes.Structure as a type checker sees it here. The stubs of ctypes give
        Structure a catch-all __getattr__ and __setattr__, under which a misspelt field
        would pass; the records are checked against this base, which has neither."""

        _fields_: ClassVar[Sequence[Tuple[str, Any]]]
else:
    _Structure = ctypes.Structure


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


def c_type_name(kind: Any) -> str:
    """The C spelling of a field's ctypes type: int32, char[96], char[4][16]."""
    if hasattr(kind, "_length_"):  # an array type
        element, _, inner = c_type_name(kind._type_).partition("[")
        return "%s[%d]%s" % (element, kind._length_, "[" + inner if inner else "")
    return {ctypes.c_int32: "int32", ctypes.c_char: "char"}[kind]


def _layout(rows: Sequence[FieldRow]) -> List[Tuple[str, Any]]:
    return [(name, kind) for name, kind, _ in rows]


def _documented(summary: str, rows: Sequence[FieldRow]) -> str:
    width = max(len(name) for name, _, _ in rows)
    lines = [summary, "", "Fields, in header order (C type, meaning):", ""]
    lines += ["    %-*s  %-11s  %s" % (width, name, c_type_name(kind), meaning) for name, kind, meaning in rows]
    lines += ["", "Integers are attributes; texts are written with set_text(name, text[, index])",
              "and read with text(name[, index])."]
    return "\n".join(lines) + "\n"


def _is_text(kind: Any) -> bool:
    return issubclass(kind, ctypes.Array) and kind._type_ is ctypes.c_char


class _Record(_Structure):
    """Text access shared by both records."""

    __slots__ = ()

    def _text_slot(self, name: str, index: Optional[int]) -> Tuple[int, int]:
        kind = dict(type(self)._fields_).get(name)
        entries: Optional[int] = None
        if kind is not None and not _is_text(kind) and issubclass(kind, ctypes.Array) and _is_text(kind._type_):
            entries, kind = kind._length_, kind._type_
        if kind is None or not _is_text(kind):
            raise AttributeError("%s has no text field %r" % (type(self).__name__, name))
        size = ctypes.sizeof(kind)
        offset: int = getattr(type(self), name).offset
        if entries is None:
            if index is not None:
                raise TypeError("%s is a single text; no index" % name)
            return offset, size
        if index is None:
            raise TypeError("%s holds %d texts; give the index" % (name, entries))
        if not 0 <= index < entries:
            raise IndexError("%s has entries 0 to %d" % (name, entries - 1))
        return offset + index * size, size

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


_i32 = ctypes.c_int32
_STATUS_ROWS: Sequence[FieldRow] = [
    ("state", _i32, "BuildState: how far the compiled build of the game has come"),
    ("percent", _i32, "build progress, shown clamped to 0..100 while preparing or building"),
    ("message", ctypes.c_char * 96, "status line; when set, replaces the default text (not in NO_ROM)"),
    ("rom_path", ctypes.c_char * 260, "path of the loaded ROM; its file name shows in the ROM chip"),
    ("rom_ok", _i32, "not 0 when the ROM was accepted"),
]

_ONLINE_ROWS: Sequence[FieldRow] = [
    ("lobby_state", _i32, "LobbyState"),
    ("slot_state", _i32 * 4, "SlotState of each player slot"),
    ("slot_ping", _i32 * 4, "ping of each slot in milliseconds, -1 not measured"),
    ("slot_name", (ctypes.c_char * 16) * 4, "player name of each slot"),
    ("local_slot", _i32, "this player's slot, -1 none"),
    ("address", ctypes.c_char * 48, "this machine's address, shown when `addresses` is empty"),
    ("host_message", ctypes.c_char * 96, "a message from the host; replaces the lobby hint"),
    ("quality", _i32, "Quality of the link while in game"),
    ("pauses", _i32, "pauses over 100 ms while in game"),
    ("p95_ms", _i32, "95th-percentile latency in milliseconds, negative when not measured"),
    ("addresses", (ctypes.c_char * 48) * 4, "local addresses to pick from; the list ends at the first empty one"),
]


class vl_status(_Record):
    __doc__ = _documented("Launcher status, filled by the host's status callback (368 bytes).", _STATUS_ROWS)
    __slots__ = ()
    _fields_ = _layout(_STATUS_ROWS)

    state: int
    percent: int
    message: bytes
    rom_path: bytes
    rom_ok: int


class vl_online_status(_Record):
    __doc__ = _documented("Cable-link lobby, filled by the host's online callback (452 bytes).", _ONLINE_ROWS)
    __slots__ = ()
    _fields_ = _layout(_ONLINE_ROWS)

    lobby_state: int
    slot_state: ctypes.Array[ctypes.c_int32]
    slot_ping: ctypes.Array[ctypes.c_int32]
    slot_name: ctypes.Array[ctypes.Array[ctypes.c_char]]
    local_slot: int
    address: bytes
    host_message: bytes
    quality: int
    pauses: int
    p95_ms: int
    addresses: ctypes.Array[ctypes.Array[ctypes.c_char]]


vl_status_cb = ctypes.CFUNCTYPE(None, ctypes.POINTER(vl_status))
vl_online_cb = ctypes.CFUNCTYPE(None, ctypes.POINTER(vl_online_status))


def _offsets(record: Any) -> List[Tuple[str, int]]:
    return [(name, getattr(record, name).offset) for name, _ in record._fields_]


# The byte layout is a contract with the library.
assert ctypes.sizeof(vl_status) == 368, "vl_status is 368 bytes"
assert _offsets(vl_status) == [("state", 0), ("percent", 4), ("message", 8), ("rom_path", 104), ("rom_ok", 364)]
assert ctypes.sizeof(vl_online_status) == 452, "vl_online_status is 452 bytes"
assert _offsets(vl_online_status) == [
    ("lobby_state", 0), ("slot_state", 4), ("slot_ping", 20), ("slot_name", 36), ("local_slot", 100),
    ("address", 104), ("host_message", 152), ("quality", 248), ("pauses", 252), ("p95_ms", 256),
    ("addresses", 260)]
