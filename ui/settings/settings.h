// The settings record, the vorla.ini reader/writer and the binding rules.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kBindingSlots = 10;

struct file_failure;  // file_io.h

// Field order is part of the design; the defaults are kDefaultSettings.
struct vl_settings {
    int32_t scale;              // window size = 240x160 * scale, kScaleMin..kScaleMax
    int32_t mute;               // 0, 1
    int32_t fullscreen;         // 0, 1 (desktop full screen)
    int32_t vsync;              // 0, 1 (read by the host and the game only)
    int32_t scaling;            // vl_scaling
    int32_t volume;             // 0..100
    char keys[kBindingSlots][32];     // SDL key names per binding slot
    char buttons[kBindingSlots][32];  // SDL game controller button names per slot
    int32_t stick_as_dpad;      // 0, 1
    int32_t deadzone;           // 0..32767 raw axis units
    int32_t show;               // 0 starts the game without the launcher (host reads it)
    char language[8];           // safe text, 1..7 bytes (host reads it)
    char mode[16];              // one of kModeNames
    char host[64];              // address to join
    int32_t port;               // kPortMin..kPortMax
    int32_t players;            // kPlayersMin..kPlayersMax
    int32_t delay;              // kDelayAuto, or 0..kDelayMax frames
    char name[16];              // lobby name
    char transport[8];          // one of kTransportNames
};

// The one table of defaults: what default_settings gives, and what normalisation puts
// back into a field it cannot keep.
extern const vl_settings kDefaultSettings;

// Value ranges the file reader and the normalisation share.
constexpr int32_t kScaleMin = 1, kScaleMax = 6;
constexpr int32_t kPortMin = 1, kPortMax = 65535;
constexpr int32_t kPlayersMin = 2, kPlayersMax = 4;
constexpr int32_t kDelayAuto = -1, kDelayMax = 8;  // the file's range; the lobby page offers less
constexpr int32_t kVolumeMax = 100;
constexpr int32_t kDeadzoneMax = 32767;  // the largest axis value
constexpr bool port_in_range(int64_t port) { return port >= kPortMin && port <= kPortMax; }

// `scaling`: how the frame fills the window. The file spells them "integer", "fit",
// "stretch" (file_format.h).
enum vl_scaling : int32_t { kScalingInteger = 0, kScalingFit = 1, kScalingStretch = 2 };

// `transport` and `mode` take exactly these texts, letter case included.
enum vl_transport : int32_t { kTransportAuto, kTransportUdp, kTransportTcp, kTransportCount };
extern const char *const kTransportNames[kTransportCount];  // "auto", "udp", "tcp"
enum vl_link_mode : int32_t { kModeOff, kModeHost, kModeJoin, kModeSolo, kModeCount };
extern const char *const kModeNames[kModeCount];  // "off", "host", "join", "solo"

// Binding slot tables: GBA action name ("A" .. "Right") and file key ("a" .. "right").
extern const char *const kActionNames[kBindingSlots];
extern const char *const kBindingFileKeys[kBindingSlots];

constexpr size_t kLongestBindingName = sizeof vl_settings::keys[0] - 1;

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
// Stores `name` (cut to kLongestBindingName bytes) as entry `slot` of `entries`, the keys
// or the buttons of a record. When another slot holds the same name (ASCII letter case
// ignored), that slot takes the old entry of `slot`, so the ten stay distinct; its
// index goes to `swapped_with`, else -1. False, with nothing changed, for a slot outside
// 0..9 or a null name.
bool bind_name(char (*entries)[32], int32_t slot, const char *name, int32_t *swapped_with);
