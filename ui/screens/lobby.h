// Cable-link lobby rules shared by the page builder, activation and painters.
#pragma once

#include <cstdint>

// Which request the online page offers: "online_host" or "online_join".
enum vl_role : int32_t { kRoleHost = 0, kRoleJoin = 1 };

constexpr int32_t kPlayerSlots = 4;  // entries of slot_state, slot_ping and slot_name
constexpr int32_t kMaxAddresses = 4;  // entries of addresses

int32_t address_count();          // 0..4 addresses the online page offers
const char *address_at(int32_t i);  // entry i of the list, or the single address when the list is empty
const char *picked_address();     // address_at(address_pick)
bool addresses_shown();           // not in game: the address rows and "online_copy" exist
bool copy_allowed();              // "online_copy": addresses shown and one exists
int32_t delay_limit();            // 2 frames for 2 players, else 1
int32_t connected_slots();        // slots connected or ready
bool start_allowed();             // the start rule
bool local_player_ready();        // "online_ready" reads "Cancel"
void toggle_auto_delay();         // "online_auto"
void set_players(int32_t players);
void reset_role_from_settings();  // kRoleJoin exactly when mode is "join"
