// Cable-link lobby rules: the local addresses, the frame delay limits, the start and
// ready rules and the lobby settings the online page changes.
#include "lobby.h"

#include <algorithm>
#include <cstring>

#include "../frame/frame.h"
#include "../frame/state.h"

int32_t address_count() {
    const vl_online_status &o = vl.online;
    if (o.addresses[0][0] == '\0') return o.address[0] != '\0' ? 1 : 0;
    int32_t n = 0;
    while (n < kMaxAddresses && o.addresses[n][0] != '\0') ++n;
    return n;
}

const char *address_at(int32_t i) {
    const vl_online_status &o = vl.online;
    if (o.addresses[0][0] == '\0') return o.address;
    return o.addresses[i >= 0 && i < kMaxAddresses ? i : 0];
}

const char *picked_address() { return address_at(vl.address_pick); }

bool addresses_shown() { return vl.online.lobby_state != VL_LOBBY_IN_GAME; }

bool copy_allowed() { return addresses_shown() && address_count() > 0; }

int32_t delay_limit() { return vl.settings.players < 3 ? 2 : 1; }

int32_t connected_slots() {
    int32_t n = 0;
    for (int32_t state : vl.online.slot_state)
        if (state == VL_SLOT_CONNECTED || state == VL_SLOT_READY) ++n;
    return n;
}

// Everyone connected must be ready: a slot still in "connected" blocks the start.
bool start_allowed() {
    if (vl.online.lobby_state != VL_LOBBY_WAITING) return false;
    for (int32_t state : vl.online.slot_state)
        if (state == VL_SLOT_CONNECTED) return false;
    return connected_slots() >= 2;
}

bool local_player_ready() {
    const vl_online_status &o = vl.online;
    return o.lobby_state != VL_LOBBY_IN_GAME && o.local_slot >= 0 && o.local_slot < kPlayerSlots &&
           o.slot_state[o.local_slot] == VL_SLOT_READY;
}

void toggle_auto_delay() {
    vl_settings &s = vl.settings;
    if (s.delay < 0) {
        s.delay = std::min(vl.remembered_delay, delay_limit());
    } else {
        vl.remembered_delay = s.delay;
        s.delay = kDelayAuto;
    }
    save_live_settings();
}

// An automatic delay stays automatic; only a fixed one is held to the new limit.
void set_players(int32_t players) {
    vl.settings.players = players;
    if (vl.settings.delay > delay_limit()) vl.settings.delay = delay_limit();
    save_live_settings();
}

void reset_role_from_settings() {
    vl.role = std::strncmp(vl.settings.mode, kModeNames[kModeJoin], sizeof vl.settings.mode) == 0 ? kRoleJoin : kRoleHost;
}
