// The settings record, the vorla.ini reader/writer and the binding rules.
#pragma once

#include <cstdint>

constexpr int kBindingSlots = 10;

struct file_failure;  // file_io.h

// Field order is part of the design; see the defaults in settings_record.cpp.
struct vl_settings {
    int32_t scale;              // window size = 240x160 * scale, 1..6
    int32_t mute;               // 0, 1
    int32_t fullscreen;         // 0, 1 (desktop full screen)
    int32_t vsync;              // 0, 1 (read by the host and the game only)
    int32_t scaling;            // 0 integer, 1 fit, 2 stretch
    int32_t volume;             // 0..100
    char keys[kBindingSlots][32];     // SDL key names per binding slot
    char buttons[kBindingSlots][32];  // SDL game controller button names per slot
    int32_t stick_as_dpad;      // 0, 1
    int32_t deadzone;           // 0..32767 raw axis units
    int32_t show;               // 0 starts the game without the launcher (host reads it)
    char language[8];           // safe text, 1..7 bytes (host reads it)
    char mode[16];              // "off", "host", "join", "solo"
    char host[64];              // address to join
    int32_t port;               // 1..65535
    int32_t players;            // 2..4
    int32_t delay;              // -1 automatic, 0..8 frames
    char name[16];              // lobby name
    char transport[8];          // "auto", "udp", "tcp"
};

// Binding slot tables: GBA action name, file key, default key, default button.
extern const char *const kActionNames[kBindingSlots];
extern const char *const kBindingFileKeys[kBindingSlots];
extern const char *const kDefaultKeys[kBindingSlots];
extern const char *const kDefaultButtons[kBindingSlots];

// settings_record.cpp
void default_settings(vl_settings *s);
int32_t normalise_settings(vl_settings *s);   // number of corrections
void reset_keys(vl_settings *s);
void reset_buttons(vl_settings *s);
bool is_ini_safe(const char *text);            // 1..31 bytes of 0x20..0x7E without #;=[]

// settings_file.cpp
int32_t load_settings(const char *path, vl_settings *s);        // 0 read, 1 file not opened
// 0 written; -1 failed, with the reason in `failure` when it is not null.
int32_t save_settings(const char *path, const vl_settings *s, file_failure *failure = nullptr);
int32_t binding_slot_of(const char *key);                       // -1 when not a binding key

// key_names.cpp
bool is_reserved_key(const char *name);
const char *button_label(const char *name);
void apply_binding(int32_t slot, const char *name);
