"""The binding's own errors and warnings."""

from __future__ import annotations


class VorlaUiError(Exception):
    """Base of the errors raised by this package."""


class RunRefusedError(VorlaUiError, RuntimeError):
    """`run` was called while a run is under way: from inside one of the run's own
    callbacks, or from another thread (the library returned VL_RUN_REFUSED). The run under
    way goes on. A RuntimeError as well, as the binding raised for a nested run before."""


class StartFailedError(VorlaUiError):
    """The launcher window could not start (no video driver, no window, no renderer); the
    message is the library's last error, naming the SDL call and SDL's reason. Nothing was
    shown and the settings file was not written."""


class SettingsNotSavedWarning(UserWarning):
    """A run ended normally, but its settings file could not be written (the message gives
    the path and the system's reason); the exit code still stands. The player's changes of
    that run are lost: keep the settings file in a per-user folder that can be written."""
