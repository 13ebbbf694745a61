"""Finding and loading the vorla_ui shared library.

In order: an explicit path, the environment variable VORLA_UI_LIB, then the bundle this
package ships in (the package sits at <bundle>/app/vorla_ui/, the library at
<bundle>/libvorla_ui.so or <bundle>\\vorla_ui.dll). A path that is named but missing is an
error of its own; nothing falls back past it.
"""

from __future__ import annotations

import ctypes
import os
import sys
from typing import Any, Callable, Dict, List, Optional, Union

from .errors import VorlaUiError

ENV_VAR = "VORLA_UI_LIB"

PathLike = Union[str, "os.PathLike[str]"]

PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))
BUNDLE_DIR = os.path.dirname(os.path.dirname(PACKAGE_DIR))

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


def find_library(path: Optional[PathLike] = None, environ: Optional[Dict[str, str]] = None,
                 bundle_dir: str = BUNDLE_DIR, os_name: str = os.name) -> str:
    """The path of the library to load, or LibraryNotFoundError."""
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
    tried = [os.path.join(bundle_dir, name) for name in library_names(os_name)]
    for candidate in tried:
        if os.path.isfile(candidate):
            return candidate
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
