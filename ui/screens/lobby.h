// Cable-link lobby rules shared by the page builder, activation and painters.
#pragma once

#include <cstdint>

int32_t address_count();          // 0..4 addresses the online page offers
const char *picked_address();     // entry address_pick of the list, or the single address
int32_t delay_limit();            // 2 frames for 2 players, else 1
int32_t connected_slots();        // slots in state 2 or 3
bool start_allowed();             // the start rule
bool local_player_ready();        // "online_ready" reads "Cancel"
void toggle_auto_delay();         // "online_auto"
void set_players(int32_t players);
void reset_role_from_settings();  // role = 1 exactly when mode is "join"
