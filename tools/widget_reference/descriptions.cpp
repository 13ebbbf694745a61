// What activating each widget does, in the words of the host guide's widget reference.
// One row per id; a '#' in an id stands for one digit, so one row covers a family
// ("kp_#" is "kp_0" to "kp_9"). widget_reference fails when a layout id has no row here
// or a row matches no id of any layout, so this table cannot drift from layouts.cpp.
#include "descriptions.h"

const vl_description kDescriptions[] = {
    // Main page
    {"play", "ends the run with `PLAY` (1), or with `CHOOSE_ROM` (2) while the build state is `NO_ROM`, whatever the label"},
    {"selectrom", "ends the run with `CHOOSE_ROM` (2); `dropped_path()` is then `None`"},
    {"settings", "opens the settings page"},
    {"input", "opens the keyboard page"},
    {"online", "opens the online page, refilling the three text fields from the settings file"},
    {"quit", "ends the run with `QUIT` (0)"},
    // Keyboard and controller pages
    {"back", "commits the text fields, writes the settings file and returns to the main page"},
    {"done", "commits the text fields, writes the settings file and returns to the main page"},
    {"reset", "resets the page's bindings to the defaults (on the controller page also the stick and the deadzone), writes the settings file and shows a note"},
    {"tab_keyboard", "shows the keyboard page, keeping the focus on the tab"},
    {"tab_controller", "shows the controller page, keeping the focus on the tab"},
    {"btn_a", "waits for the key (keyboard page) or controller button (controller page) to bind to GBA A; without a controller the controller page shows \"No controller connected\""},
    {"btn_b", "binds GBA B, as `btn_a` does"},
    {"btn_l", "binds GBA L, as `btn_a` does"},
    {"btn_r", "binds GBA R, as `btn_a` does"},
    {"btn_start", "binds GBA Start, as `btn_a` does"},
    {"btn_select", "binds GBA Select, as `btn_a` does"},
    {"btn_up", "binds GBA Up, as `btn_a` does"},
    {"btn_down", "binds GBA Down, as `btn_a` does"},
    {"btn_left", "binds GBA Left, as `btn_a` does"},
    {"btn_right", "binds GBA Right, as `btn_a` does"},
    {"stick", "toggles the left stick as the d-pad; writes the settings file"},
    {"deadzone", "nothing; Left and Right or a drag move it and write the settings file"},
    // Settings page
    {"size#", "sets the window scale to its digit, writes the settings file and applies the window size"},
    {"fullscreen", "toggles full screen; writes the settings file and applies the window mode"},
    {"scale_integer", "sets scaling to integer; writes the settings file"},
    {"scale_fit", "sets scaling to fit; writes the settings file"},
    {"scale_stretch", "sets scaling to stretch; writes the settings file"},
    {"volume", "nothing; Left and Right or a drag move it and write the settings file"},
    {"mute", "toggles mute; writes the settings file"},
    {"save_open", "ends the run with `SAVE_OPEN` (3)"},
    {"save_export", "ends the run with `SAVE_EXPORT` (4)"},
    {"save_import", "opens the confirmation dialog with the focus on \"No\""},
    // Online page
    {"online_name", "keyboard or mouse: starts typing into the name; the controller's A: the note \"Type the name on a keyboard\""},
    {"online_addr", "keyboard or mouse: starts typing into the host address; the controller's A: opens the keypad on it"},
    {"online_port", "keyboard or mouse: starts typing into the port; the controller's A: opens the keypad on it"},
    {"online_p#", "sets the number of players to its digit (lowering a manual delay above the new limit); writes the settings file"},
    {"online_delay", "nothing; Left and Right or a drag move it and write the settings file"},
    {"online_auto", "toggles the automatic delay; writes the settings file"},
    {"online_net_auto", "sets the transport to \"auto\"; writes the settings file"},
    {"online_net_udp", "sets the transport to \"udp\"; writes the settings file"},
    {"online_net_tcp", "sets the transport to \"tcp\"; writes the settings file"},
    {"role_host", "chooses hosting: the page then shows `online_host`"},
    {"role_join", "chooses joining: the page then shows `online_join`"},
    {"online_host", "commits the text fields; with a valid port writes `mode=host` and ends the run with `LINK_HOST` (6), else shows a note"},
    {"online_join", "commits the text fields; with a valid port and a host address writes `mode=join` and ends the run with `LINK_JOIN` (7), else shows a note"},
    {"online_copy", "puts the picked address on the clipboard and shows \"Address copied\""},
    {"online_ready", "ends the run with `LINK_READY` (10), whether it reads \"Ready\" or \"Cancel\""},
    {"online_start", "ends the run with `LINK_START` (9)"},
    {"online_leave", "writes `mode=off` and ends the run with `LINK_LEAVE` (8)"},
    {"online_ip#", "picks that address (moving the focus onto it picks it too)"},
    // Confirmation dialog
    {"confirm_yes", "closes the dialog and ends the run with `SAVE_IMPORT` (5)"},
    {"confirm_no", "closes the dialog; the focus goes back to the page's first widget"},
    // Keypad
    {"kp_#", "types its digit into the field"},
    {"kp_dot", "types a dot into the host address"},
    {"kp_del", "deletes the field's last character"},
    {"kp_clr", "empties the field"},
    {"kp_ok", "closes the keypad, keeping the text (the fields are committed and the settings file written)"},
    {"kp_cancel", "closes the keypad and restores the text it had when it opened (as Escape does)"},
};

const int kDescriptionCount = static_cast<int>(sizeof kDescriptions / sizeof kDescriptions[0]);
