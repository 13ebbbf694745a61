"""The exports of vorla_ui.h, one to one: names, argument and result types, header order.

`declare(lib)` gives a loaded library these signatures; afterwards `lib.vl_run(...)` and the
rest are called exactly as from C. Everything in this module is the thin layer; the
`Launcher` class builds on it.
"""

from __future__ import annotations

import ctypes
from typing import Dict, List, Optional, Sequence, Tuple

from .records import vl_online_cb, vl_status_cb

_i32 = ctypes.c_int32
_u32 = ctypes.c_uint32
_p_i32 = ctypes.POINTER(ctypes.c_int32)
_text = ctypes.c_char_p

# vl_run's result when it refused the call because a run is under way (not an exit code).
VL_RUN_REFUSED = -1

# name: (argument types, result type); None for a function returning nothing.
SIGNATURES: Dict[str, Tuple[Sequence[object], Optional[object]]] = {
    # Run lifecycle
    "vl_run": ([_text, vl_status_cb], _i32),
    "vl_dropped_path": ([], _text),
    "vl_set_poll_interval": ([_i32], None),
    "vl_set_online_poll": ([vl_online_cb], None),
    "vl_set_start_page": ([_u32], None),
    "vl_set_keep_place": ([_i32], None),
    # Inspection
    "vl_test_widget": ([_text, _p_i32, _p_i32, _p_i32, _p_i32], _i32),
    "vl_test_enabled": ([_text], _i32),
    "vl_test_focus": ([], _text),
    "vl_test_set_focus": ([_text], None),
    "vl_test_page": ([], _text),
    "vl_test_window_id": ([], _u32),
    "vl_test_capture": ([], _i32),
    "vl_test_note": ([], _text),
    "vl_test_fake_pad": ([_i32, _i32, _i32], None),
    "vl_test_pad_present": ([], _i32),
    "vl_test_addr_sel": ([], _i32),
    "vl_test_confirm": ([], _i32),
    "vl_test_editing": ([], _i32),
    "vl_test_keypad": ([], _i32),
    "vl_test_field": ([_u32], _text),
    "vl_test_text_count": ([], _i32),
    "vl_test_text": ([_i32, _p_i32, _p_i32, _p_i32, _p_i32], _i32),
    "vl_test_bar": ([_p_i32, _p_i32, _p_i32, _p_i32], _i32),
    "vl_test_snapshot": ([ctypes.c_void_p, _i32, _p_i32, _p_i32], _i32),
    "vl_test_video": ([_p_i32, _p_i32, _p_i32], None),
    # Progress window
    "vui_open": ([_text], _i32),
    "vui_progress": ([_i32, _text], _i32),
    "vui_close": ([], None),
    # Failures
    "vl_last_error": ([], _text),
}


def declare(lib: ctypes.CDLL) -> ctypes.CDLL:
    """Sets the argument and result types of every export on `lib`; returns `lib`.
    A library that lacks an export raises AttributeError naming it."""
    for name, (argtypes, restype) in SIGNATURES.items():
        function = getattr(lib, name)
        function.argtypes = list(argtypes)
        function.restype = restype
    return lib


def exported_names() -> List[str]:
    """The names of the exports this module declares, in header order."""
    return list(SIGNATURES)
