"""The numbers of the host contract, as enums.

Each enum carries the names of one family of the header's constants without its prefix:
`ExitCode` the `VL_EXIT_` codes, `Page` the `VL_PAGE_` pages, `BuildState` `VL_BUILD_`,
`LobbyState` `VL_LOBBY_`, `SlotState` `VL_SLOT_` and `Quality` `VL_QUALITY_`.
"""

from __future__ import annotations

import enum
from typing import List


class _Members(enum.EnumMeta):
    """Lists an enum's members only, so that help() shows them without the dozens of
    methods every int has (they all still work)."""

    def __dir__(cls) -> List[str]:
        return ["__doc__", "__module__"] + list(cls.__members__)


class ExitCode(enum.IntEnum, metaclass=_Members):
    """What `vl_run` returns: the player's request to the host. CHOOSE_ROM also follows a
    file dropped on the window (see Launcher.dropped_path); SAVE_IMPORT was confirmed by
    the player (keep a backup); LINK_READY means ready, or no longer ready."""

    QUIT = 0
    PLAY = 1
    CHOOSE_ROM = 2
    SAVE_OPEN = 3
    SAVE_EXPORT = 4
    SAVE_IMPORT = 5
    LINK_HOST = 6
    LINK_JOIN = 7
    LINK_LEAVE = 8
    LINK_START = 9
    LINK_READY = 10


class Page(enum.IntEnum, metaclass=_Members):
    """Pages of the launcher window (`vl_set_start_page`, `vl_test_page`)."""

    MAIN = 0
    KEYBOARD = 1
    CONTROLLER = 2
    ONLINE = 3
    SETTINGS = 4


class BuildState(enum.IntEnum, metaclass=_Members):
    """`vl_status.state`: how far the compiled build of the game has come. While BUILDING
    the game can already be played."""

    NO_ROM = 0
    PREPARING = 1
    BUILDING = 2
    READY = 3
    ERROR = 4


class LobbyState(enum.IntEnum, metaclass=_Members):
    """`vl_online_status.lobby_state`: WAITING is hosting, waiting for players."""

    NOT_CONNECTED = 0
    WAITING = 1
    CONNECTING = 2
    CONNECTED = 3
    IN_GAME = 4
    DESYNC = 5
    LOST = 6


class SlotState(enum.IntEnum, metaclass=_Members):
    """`vl_online_status.slot_state[i]`: one player slot of the lobby."""

    EMPTY = 0
    JOINING = 1
    CONNECTED = 2
    READY = 3
    LOST = 4


class Quality(enum.IntEnum, metaclass=_Members):
    """`vl_online_status.quality`: the link while in game."""

    MEASURING = 0
    GOOD = 1
    FAIR = 2
    POOR = 3
