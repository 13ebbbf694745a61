"""The binding's own errors."""

from __future__ import annotations


class VorlaUiError(Exception):
    """Base of the errors raised by this package."""
