"""The binding's version: the library's, whose header vorla_ui.h holds the source of it
(VL_UI_VERSION_MAJOR, _MINOR and _PATCH). The test command fails when the two differ."""

__version__ = "1.1.0"
