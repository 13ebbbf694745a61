"""The public header vorla_ui.h as the Python tests read it: the source of every name and
number the binding mirrors."""

import os
import re

PATH = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui", "frame", "vorla_ui.h"))


def text():
    with open(PATH) as f:
        return f.read()


def constants(prefix):
    """{name without the prefix: value} of the enum constants named prefix + NAME."""
    return {name: int(value) for name, value in re.findall(r"\b%s(\w+) = (-?\d+)\b" % prefix, text())}


def version():
    """"major.minor.patch" from VL_UI_VERSION_MAJOR, _MINOR and _PATCH."""
    parts = dict(re.findall(r"#define VL_UI_VERSION_(MAJOR|MINOR|PATCH) (\d+)", text()))
    return "%s.%s.%s" % (parts["MAJOR"], parts["MINOR"], parts["PATCH"])
