"""The numbers of the host contract, as enums.

`ExitCode` carries the names of the header's `VL_EXIT_` constants without the prefix; the
others name the values the records and `vl_set_start_page` take.
"""

from __future__ import annotations

import enum


class ExitCode(enum.IntEnum):
    """What `vl_run` returns: the player's request to the host."""

    QUIT = 0
    PLAY = 1
    CHOOSE_ROM = 2       # also after a dropped file: see Launcher.dropped_path
    SAVE_OPEN = 3
    SAVE_EXPORT = 4
    SAVE_IMPORT = 5      # confirmed by the player; keep a backup
    LINK_HOST = 6
    LINK_JOIN = 7
    LINK_LEAVE = 8
    LINK_START = 9
    LINK_READY = 10      # ready, or no longer ready


class Page(enum.IntEnum):
    """Pages of the launcher window (`vl_set_start_page`, `vl_test_page`)."""

    MAIN = 0
    KEYBOARD = 1
    CONTROLLER = 2
    ONLINE = 3
    SETTINGS = 4


class BuildState(enum.IntEnum):
    """`vl_status.state`: how far the compiled build of the game has come."""

    NO_ROM = 0
    PREPARING = 1
    BUILDING = 2         # the game can already be played
    READY = 3
    ERROR = 4


class LobbyState(enum.IntEnum):
    """`vl_online_status.lobby_state`."""

    NOT_CONNECTED = 0
    WAITING = 1          # hosting, waiting for players
    CONNECTING = 2
    CONNECTED = 3
    IN_GAME = 4
    DESYNC = 5
    LOST = 6


class SlotState(enum.IntEnum):
    """`vl_online_status.slot_state[i]`: one player slot of the lobby."""

    EMPTY = 0
    JOINING = 1
    CONNECTED = 2
    READY = 3
    LOST = 4


class Quality(enum.IntEnum):
    """`vl_online_status.quality`: the link while in game."""

    MEASURING = 0
    GOOD = 1
    FAIR = 2
    POOR = 3
