"""Finding and loading the vorla_ui shared library.

In order:
  1. an explicit path;
  2. the environment variable VORLA_UI_LIB;
  3. the bundle this package ships in (the package sits at <bundle>/app/vorla_ui/, the
     library at <bundle>/libvorla_ui.so or <bundle>\\vorla_ui.dll);
  4. the package's own folder, where the wheel puts the library;
  5. a system-installed library, by its soname (libvorla_ui.so.<major version>) through
     the dynamic loader, which searches LD_LIBRARY_PATH, its cache and the standard
     folders (not on Windows).
A path that is named but missing is an error of its own; nothing falls back past it.
"""

from __future__ import annotations

import ctypes
import os
import sys
from typing import Any, Callable, Dict, List, Optional, Union

from ._version import __version__
from .errors import VorlaUiError

ENV_VAR = "VORLA_UI_LIB"

PathLike = Union[str, "os.PathLike[str]"]
SystemLookup = Callable[[str], Optional[str]]

PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))
BUNDLE_DIR = os.path.dirname(os.path.dirname(PACKAGE_DIR))

# The name a system-installed library answers to: its major version is the binding's.
SONAME = "libvorla_ui.so.%s" % __version__.split(".")[0]

# Handles from os.add_dll_directory: the folder stays on the DLL search path while they live.
_dll_directories: Dict[str, Any] = {}


class LibraryNotFoundError(VorlaUiError, FileNotFoundError):
    """No vorla_ui library where the binding looked; the message lists the places."""


def library_names(os_name: str = os.name) -> List[str]:
    """File names of the library on this platform, most likely first."""
    if os_name == "nt":
        return ["vorla_ui.dll"]
    if sys.platform == "darwin":
        return ["libvorla_ui.dylib", "libvorla_ui.so"]
    return ["libvorla_ui.so"]


class _DlInfo(ctypes.Structure):
    _fields_ = [("dli_fname", ctypes.c_char_p), ("dli_fbase", ctypes.c_void_p),
                ("dli_sname", ctypes.c_char_p), ("dli_saddr", ctypes.c_void_p)]


def system_library(soname: str = SONAME) -> Optional[str]:
    """The path from which the dynamic loader loads `soname`, or None when it finds none."""
    try:
        library = ctypes.CDLL(soname)
        dladdr = ctypes.CDLL(None).dladdr
    except (OSError, AttributeError):
        return None
    dladdr.argtypes = [ctypes.c_void_p, ctypes.POINTER(_DlInfo)]
    dladdr.restype = ctypes.c_int
    info = _DlInfo()
    symbol = ctypes.cast(library.vl_run, ctypes.c_void_p)
    if not dladdr(symbol, ctypes.byref(info)) or not info.dli_fname:
        return None
    return os.path.abspath(os.fsdecode(info.dli_fname))


def find_library(path: Optional[PathLike] = None, environ: Optional[Dict[str, str]] = None,
                 bundle_dir: Optional[str] = None, os_name: str = os.name,
                 package_dir: Optional[str] = None,
                 system: Optional[SystemLookup] = system_library) -> str:
    """The path of the library to load, or LibraryNotFoundError. `bundle_dir` and
    `package_dir` default to the folders this package was imported from; `system` looks a
    soname up (None: no system lookup)."""
    if path is not None:
        path = os.fspath(path)
        if os.path.isfile(path):
            return os.path.abspath(path)
        raise LibraryNotFoundError("vorla_ui: the library %s does not exist" % path)
    env = (os.environ if environ is None else environ).get(ENV_VAR, "")
    if env:
        if os.path.isfile(env):
            return os.path.abspath(env)
        raise LibraryNotFoundError("vorla_ui: %s names %s, which does not exist" % (ENV_VAR, env))
    folders = [BUNDLE_DIR if bundle_dir is None else bundle_dir, PACKAGE_DIR if package_dir is None else package_dir]
    tried = [os.path.join(folder, name) for folder in folders for name in library_names(os_name)]
    for candidate in tried:
        if os.path.isfile(candidate):
            return candidate
    if os_name != "nt" and system is not None:
        found = system(SONAME)
        if found:
            return found
        tried.append("%s through the dynamic loader" % SONAME)
    raise LibraryNotFoundError(
        "vorla_ui: the library was not found (looked for %s); pass its path to vorla_ui.load() "
        "or set %s" % (" and ".join(tried), ENV_VAR))


def open_library(path: str, os_name: str = os.name,
                 add_dll_directory: Optional[Callable[[str], Any]] = None,
                 loader: Callable[[str], ctypes.CDLL] = ctypes.CDLL) -> ctypes.CDLL:
    """Loads the library at `path`. On Windows its folder joins the DLL search path first,
    so that SDL2.dll beside it is found."""
    if os_name == "nt":
        folder = os.path.dirname(os.path.abspath(path))
        if folder not in _dll_directories:
            adder = add_dll_directory or getattr(os, "add_dll_directory")
            _dll_directories[folder] = adder(folder)
    try:
        return loader(path)
    except OSError as error:
        raise OSError("vorla_ui: %s could not be loaded: %s" % (path, error)) from error
