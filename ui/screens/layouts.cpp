// The widget tables of every page and overlay, in list order (960x600 logical pixels).
// Alternatives such as the two labels of "play" are separate rows of which exactly one
// is present.
#include "layouts.h"

#include <cstddef>

#include "fields.h"
#include "lobby.h"

namespace {

constexpr vl_cond kAny = when(kAlways);

// Columns: id, kind, x, y, w, h, label, style, segment, slot, circular, slider_id, index,
// then present, enabled, on.
constexpr vl_layout_row kMainRows[] = {
    {"play", kButton, 350, 358, 260, 46, "PLAY", kHero, 0, -1, 0, 0, 0, when(kPlayReady), when(kNotPreparing)},
    {"play", kButton, 350, 358, 260, 46, "SELECT ROM", kHero, 0, -1, 0, 0, 0, unless(kPlayReady), when(kNotPreparing)},
    {"selectrom", kButton, 700, 16, 232, 26, "No ROM - select one...", kLink, 0, -1, 0, 0, 0, unless(kPlayReady)},
    {"settings", kCard, 220, 432, 167, 62, "Settings|Video, audio, saves", 0, 0, -1, 0, 0, 0},
    {"input", kCard, 397, 432, 167, 62, "Input|Keyboard and controller", 0, 0, -1, 0, 0, 0},
    {"online", kCard, 574, 432, 166, 62, "Online|Cable link multiplayer", 0, 0, -1, 0, 0, 0, kAny, when(kRomUsable)},
    {"quit", kButton, 862, 556, 70, 32, "Quit", kQuiet, 0, -1, 0, 0, 0},
};

// "reset" keeps its right edge at x 932 and grows to the left with its label.
constexpr vl_layout_row kInputRows[] = {
    {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
    {"reset", kButton, 932, 16, kFitLabel, 32, "Reset keyboard", 0, 0, -1, 0, 0, 0, when(kPageIs, kPageKeyboard)},
    {"reset", kButton, 932, 16, kFitLabel, 32, "Reset controller", 0, 0, -1, 0, 0, 0, when(kPageIs, kPageController)},
    {"tab_keyboard", kChoice, 387, 84, 100, 30, "Keyboard", 0, 1, -1, 0, 0, 0, kAny, kAny, when(kPageIs, kPageKeyboard)},
    {"tab_controller", kChoice, 487, 84, 106, 30, "Controller", 0, 2, -1, 0, 0, 0, kAny, kAny, when(kPageIs, kPageController)},
    {"btn_l", kBinding, 196, 126, 150, 40, "", 1, 0, 2, 0, 0, 0},
    {"btn_r", kBinding, 614, 126, 150, 40, "", 1, 0, 3, 0, 0, 0},
    {"btn_up", kBinding, 250, 196, 56, 40, "", 0, 0, 6, 0, 0, 0},
    {"btn_left", kBinding, 188, 242, 56, 40, "", 0, 0, 8, 0, 0, 0},
    {"btn_right", kBinding, 312, 242, 56, 40, "", 0, 0, 9, 0, 0, 0},
    {"btn_down", kBinding, 250, 288, 56, 40, "", 0, 0, 7, 0, 0, 0},
    {"btn_select", kBinding, 388, 340, 88, 40, "", 0, 0, 5, 0, 0, 0},
    {"btn_start", kBinding, 484, 340, 88, 40, "", 0, 0, 4, 0, 0, 0},
    {"btn_b", kBinding, 628, 264, 58, 58, "", 0, 0, 1, 1, 0, 0},
    {"btn_a", kBinding, 698, 224, 58, 58, "", 0, 0, 0, 1, 0, 0},
    {"stick", kSwitch, 28, 502, 42, 22, "", 0, 0, -1, 0, 0, 0, when(kPageIs, kPageController), kAny, when(kStickAsDpad)},
    {"deadzone", kSlider, 398, 502, 210, 22, "", 0, 0, -1, 0, kDeadzoneSlider, 0, when(kPageIs, kPageController)},
    {"done", kButton, 832, 556, 100, 32, "Done", kPrimary, 0, -1, 0, 0, 0},
};

constexpr vl_layout_row kSettingsRows[] = {
    {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
    {"size1", kChoice, 290, 122, 40, 28, "1x", 0, 1, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 1)},
    {"size2", kChoice, 330, 122, 40, 28, "2x", 0, 0, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 2)},
    {"size3", kChoice, 370, 122, 40, 28, "3x", 0, 0, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 3)},
    {"size4", kChoice, 410, 122, 40, 28, "4x", 0, 0, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 4)},
    {"size5", kChoice, 450, 122, 40, 28, "5x", 0, 0, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 5)},
    {"size6", kChoice, 490, 122, 40, 28, "6x", 0, 2, -1, 0, 0, 0, kAny, when(kWindowed), when(kScaleIs, 6)},
    {"fullscreen", kSwitch, 491, 205, 42, 22, "", 0, 0, -1, 0, 0, 0, kAny, kAny, when(kFullscreen)},
    {"scale_integer", kChoice, 331, 274, 76, 28, "Integer", 0, 1, -1, 0, 0, 0, kAny, kAny, when(kScalingIs, kScalingInteger)},
    {"scale_fit", kChoice, 407, 274, 52, 28, "Fit", 0, 0, -1, 0, 0, 0, kAny, kAny, when(kScalingIs, kScalingFit)},
    {"scale_stretch", kChoice, 459, 274, 74, 28, "Stretch", 0, 2, -1, 0, 0, 0, kAny, kAny, when(kScalingIs, kScalingStretch)},
    {"volume", kSlider, 597, 142, 315, 22, "", 0, 0, -1, 0, kVolumeSlider, 0},
    {"mute", kSwitch, 870, 188, 42, 22, "", 0, 0, -1, 0, 0, 0, kAny, kAny, when(kMuted)},
    {"save_open", kButton, 597, 296, 112, 32, "Open folder", 0, 0, -1, 0, 0, 0, kAny, when(kRomUsable)},
    {"save_export", kButton, 717, 296, 90, 32, "Export...", 0, 0, -1, 0, 0, 0, kAny, when(kRomUsable)},
    {"save_import", kButton, 815, 296, 97, 32, "Import...", 0, 0, -1, 0, 0, 0, kAny, when(kRomUsable)},
    {"done", kButton, 832, 556, 100, 32, "Done", kPrimary, 0, -1, 0, 0, 0},
};

constexpr vl_cond kIdleOnly = when(kIdle);

constexpr vl_layout_row kOnlineRows[] = {
    {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
    {"online_name", kTextField, 46, 152, 439, 34, "", 0, 0, -1, 0, 0, kFieldName, kAny, kIdleOnly},
    {kIdHostField, kTextField, 46, 216, 335, 34, "", 0, 0, -1, 0, 0, kFieldHost, kAny, kIdleOnly},
    {kIdPortField, kTextField, 393, 216, 92, 34, "", 0, 0, -1, 0, 0, kFieldPort, kAny, kIdleOnly},
    {"online_p2", kChoice, 46, 282, 42, 30, "2", 0, 1, -1, 0, 0, 0, kAny, kIdleOnly, when(kPlayersIs, 2)},
    {"online_p3", kChoice, 88, 282, 42, 30, "3", 0, 0, -1, 0, 0, 0, kAny, kIdleOnly, when(kPlayersIs, 3)},
    {"online_p4", kChoice, 130, 282, 42, 30, "4", 0, 2, -1, 0, 0, 0, kAny, kIdleOnly, when(kPlayersIs, 4)},
    {"online_delay", kSlider, 290, 290, 195, 22, "", 0, 0, -1, 0, kDelaySlider, 0, kAny, when(kIdleManualDelay)},
    {"online_auto", kSwitch, 443, 262, 42, 22, "", 0, 0, -1, 0, 0, 0, kAny, kIdleOnly, when(kAutoDelay)},
    {"online_net_auto", kChoice, 46, 342, 64, 30, "Auto", 0, 1, -1, 0, 0, 0, kAny, kIdleOnly, when(kTransportIs, kTransportAuto)},
    {"online_net_udp", kChoice, 110, 342, 56, 30, "UDP", 0, 0, -1, 0, 0, 0, kAny, kIdleOnly, when(kTransportIs, kTransportUdp)},
    {"online_net_tcp", kChoice, 166, 342, 56, 30, "TCP", 0, 2, -1, 0, 0, 0, kAny, kIdleOnly, when(kTransportIs, kTransportTcp)},
    {"role_host", kChoice, 46, 408, 56, 32, "Host", 0, 1, -1, 0, 0, 0, kAny, kIdleOnly, when(kRoleIs, kRoleHost)},
    {"role_join", kChoice, 102, 408, 56, 32, "Join", 0, 2, -1, 0, 0, 0, kAny, kIdleOnly, when(kRoleIs, kRoleJoin)},
    {"online_host", kButton, 170, 408, 132, 32, "Host game", kPrimary, 0, -1, 0, 0, 0, when(kRoleIs, kRoleHost), when(kHostAllowed)},
    {"online_join", kButton, 170, 408, 132, 32, "Join game", kPrimary, 0, -1, 0, 0, 0, unless(kRoleIs, kRoleHost), when(kJoinAllowed)},
    {"online_copy", kButton, 419, 408, 66, 32, "Copy", 0, 0, -1, 0, 0, 0, kAny, when(kCopyAllowed)},
    {"online_ready", kButton, 46, 450, 96, 32, "Cancel", 0, 0, -1, 0, 0, 0, when(kLocalReady), when(kReadyAllowed)},
    {"online_ready", kButton, 46, 450, 96, 32, "Ready", 0, 0, -1, 0, 0, 0, unless(kLocalReady), when(kReadyAllowed)},
    {"online_start", kButton, 150, 450, 96, 32, "Start", 0, 0, -1, 0, 0, 0, kAny, when(kStartAllowed)},
    {"online_leave", kButton, 254, 450, 96, 32, "Leave", 0, 0, -1, 0, 0, 0, kAny, when(kLinked)},
    {"online_ip0", kAddressRow, 537, 436, 377, 20, "", 0, 0, -1, 0, 0, 0, when(kHasAddress, 0)},
    {"online_ip1", kAddressRow, 537, 456, 377, 20, "", 0, 0, -1, 0, 0, 1, when(kHasAddress, 1)},
    {"online_ip2", kAddressRow, 537, 476, 377, 20, "", 0, 0, -1, 0, 0, 2, when(kHasAddress, 2)},
    {"online_ip3", kAddressRow, 537, 496, 377, 20, "", 0, 0, -1, 0, 0, 3, when(kHasAddress, 3)},
};

constexpr vl_layout_row kConfirmRows[] = {
    {"confirm_yes", kButton, 300, 330, 150, 40, "Yes", 0, 0, -1, 0, 0, 0},
    {"confirm_no", kButton, 510, 330, 150, 40, "No", kPrimary, 0, -1, 0, 0, 0},
};

// Digits first ("kp_5" is index 4, where the keypad opens), then the side column.
constexpr vl_layout_row kKeypadRows[] = {
    {"kp_1", kButton, 276, 214, 92, 48, "1", 0, 0, -1, 0, 0, 0},
    {"kp_2", kButton, 376, 214, 92, 48, "2", 0, 0, -1, 0, 0, 0},
    {"kp_3", kButton, 476, 214, 92, 48, "3", 0, 0, -1, 0, 0, 0},
    {"kp_4", kButton, 276, 270, 92, 48, "4", 0, 0, -1, 0, 0, 0},
    {kIdKeypadStart, kButton, 376, 270, 92, 48, "5", 0, 0, -1, 0, 0, 0},
    {"kp_6", kButton, 476, 270, 92, 48, "6", 0, 0, -1, 0, 0, 0},
    {"kp_7", kButton, 276, 326, 92, 48, "7", 0, 0, -1, 0, 0, 0},
    {"kp_8", kButton, 376, 326, 92, 48, "8", 0, 0, -1, 0, 0, 0},
    {"kp_9", kButton, 476, 326, 92, 48, "9", 0, 0, -1, 0, 0, 0},
    {"kp_del", kButton, 576, 214, 108, 48, "Del", 0, 0, -1, 0, 0, 0},
    {"kp_clr", kButton, 576, 270, 108, 48, "Clear", 0, 0, -1, 0, 0, 0},
    {"kp_dot", kButton, 576, 326, 108, 48, ".", 0, 0, -1, 0, 0, 0, kAny, when(kKeypadFieldIs, kFieldHost)},
    {"kp_0", kButton, 276, 382, 92, 48, "0", 0, 0, -1, 0, 0, 0},
    {"kp_ok", kButton, 376, 382, 192, 48, "OK", kPrimary, 0, -1, 0, 0, 0},
    {"kp_cancel", kButton, 576, 382, 108, 48, "Cancel", 0, 0, -1, 0, 0, 0},
};

template <std::size_t N>
constexpr vl_layout layout_of(const vl_layout_row (&rows)[N]) {
    return vl_layout{rows, static_cast<int32_t>(N)};
}

} // namespace

const vl_layout kMainLayout = layout_of(kMainRows);
const vl_layout kInputLayout = layout_of(kInputRows);
const vl_layout kSettingsLayout = layout_of(kSettingsRows);
const vl_layout kOnlineLayout = layout_of(kOnlineRows);
const vl_layout kConfirmLayout = layout_of(kConfirmRows);
const vl_layout kKeypadLayout = layout_of(kKeypadRows);
