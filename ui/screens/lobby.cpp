// Cable-link lobby rules.
#include "lobby.h"

#include "../frame/state.h"

int32_t address_count() { return 0; }
const char *picked_address() { return ""; }
int32_t delay_limit() { return 2; }
int32_t connected_slots() { return 0; }
bool start_allowed() { return false; }
bool local_player_ready() { return false; }
void toggle_auto_delay() {}
void set_players(int32_t) {}
void reset_role_from_settings() { vl.role = 0; }
