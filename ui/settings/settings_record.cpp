// Settings record: defaults, normalisation and the binding resets.
#include "settings.h"

#include <cstring>

#include "text_rules.h"

const char *const kActionNames[kBindingSlots] = {"A", "B", "L", "R", "Start", "Select", "Up", "Down", "Left", "Right"};
const char *const kBindingFileKeys[kBindingSlots] = {"a", "b", "l", "r", "start", "select", "up", "down", "left", "right"};
const char *const kTransportNames[kTransportCount] = {"auto", "udp", "tcp"};
const char *const kModeNames[kModeCount] = {"off", "host", "join", "solo"};

// clang-format off
const vl_settings kDefaultSettings = {
    3,          // scale
    0,          // mute
    0,          // fullscreen
    0,          // vsync
    kScalingFit,
    100,        // volume
    {"X", "Z", "A", "S", "Return", "Backspace", "Up", "Down", "Left", "Right"},                     // keys
    {"b", "a", "leftshoulder", "rightshoulder", "start", "back", "dpup", "dpdown", "dpleft", "dpright"},  // buttons
    1,          // stick_as_dpad
    8000,       // deadzone
    1,          // show
    "en",       // language
    "off",      // mode
    "127.0.0.1",  // host
    47900,      // port
    2,          // players
    kDelayAuto, // delay
    "Player",   // name
    "auto",     // transport
};
// clang-format on

namespace {

// One numeric field with its range; a value outside it takes the field's default. A value
// v is inside when (uint32)(v - low) <= high - low, so negative values count as too large,
// exactly like the unsigned checks they stand for.
struct NumberRule {
    int32_t vl_settings::*field;
    int32_t low;
    int32_t high;
};

// clang-format off
constexpr NumberRule kNumberRules[] = {
    // field                        low           high
    {&vl_settings::scale,           kScaleMin,    kScaleMax},
    {&vl_settings::mute,            0,            1},
    {&vl_settings::fullscreen,      0,            1},
    {&vl_settings::vsync,           0,            1},
    {&vl_settings::scaling,         kScalingInteger, kScalingStretch},
    {&vl_settings::volume,          0,            kVolumeMax},
    {&vl_settings::stick_as_dpad,   0,            1},
    {&vl_settings::deadzone,        0,            kDeadzoneMax},
    {&vl_settings::show,            0,            1},
};
constexpr NumberRule kLinkNumberRules[] = {
    {&vl_settings::port,            kPortMin,     kPortMax},
    {&vl_settings::players,         kPlayersMin,  kPlayersMax},
};
// clang-format on

int32_t apply_number_rules(vl_settings *s, const NumberRule *rules, size_t count) {
    int32_t corrections = 0;
    for (size_t i = 0; i < count; ++i) {
        int32_t &value = s->*rules[i].field;
        const uint32_t span = static_cast<uint32_t>(rules[i].high) - static_cast<uint32_t>(rules[i].low);
        if (static_cast<uint32_t>(value) - static_cast<uint32_t>(rules[i].low) > span) {
            value = kDefaultSettings.*rules[i].field;
            ++corrections;
        }
    }
    return corrections;
}

void reset_button_names(vl_settings *s) { std::memcpy(s->buttons, kDefaultSettings.buttons, sizeof s->buttons); }

bool in_list(const char *text, const char *const *list, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (std::strcmp(text, list[i]) == 0) return true;
    return false;
}

bool has_duplicates(const char (*entries)[32]) {
    for (int i = 0; i < kBindingSlots; ++i)
        for (int j = i + 1; j < kBindingSlots; ++j)
            if (ascii_iequal(entries[i], entries[j])) return true;
    return false;
}

// The characters a line of vorla.ini gives a meaning to (comments, the key separator and
// section headers); no stored name may hold them.
constexpr const char *kIniSyntaxChars = "#;=[]";

// Printable ASCII that a line of the file can hold as it is.
bool is_ini_byte(unsigned char c) { return c >= 0x20 && c <= 0x7E && !std::strchr(kIniSyntaxChars, c); }

// Printable ASCII plus the Latin-1 letters U+00C0..U+00FF (C3 80..C3 BF) that the fonts
// can draw, without the multiplication and division signs (C3 97, C3 B7).
bool name_is_valid(const char *name) {
    const auto *p = reinterpret_cast<const unsigned char *>(name);
    if (*p == 0) return false;
    while (*p) {
        if (is_ini_byte(*p)) {
            ++p;
        } else if (p[0] == 0xC3 && p[1] >= 0x80 && p[1] <= 0xBF && p[1] != 0x97 && p[1] != 0xB7) {
            p += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool host_has_bad_byte(const char *host) {
    for (const auto *p = reinterpret_cast<const unsigned char *>(host); *p; ++p)
        if (*p < 0x21 || *p > 0x7E || *p == ';' || *p == '#') return true;
    return false;
}

} // namespace

bool is_ini_safe(const char *text) {
    if (!text) return false;
    size_t length = 0;
    for (; text[length] != '\0'; ++length) {
        if (length >= kLongestBindingName) return false;  // also stops the scan on an unterminated array
        if (!is_ini_byte(static_cast<unsigned char>(text[length]))) return false;
    }
    return length >= 1;
}

void default_settings(vl_settings *s) { *s = kDefaultSettings; }

void reset_keys(vl_settings *s) { std::memcpy(s->keys, kDefaultSettings.keys, sizeof s->keys); }

void reset_buttons(vl_settings *s) {
    reset_button_names(s);
    s->stick_as_dpad = kDefaultSettings.stick_as_dpad;
    s->deadzone = kDefaultSettings.deadzone;
}

int32_t normalise_settings(vl_settings *s) {
    int32_t corrections = apply_number_rules(s, kNumberRules, sizeof kNumberRules / sizeof *kNumberRules);

    for (int slot = 0; slot < kBindingSlots; ++slot) {
        s->keys[slot][kLongestBindingName] = '\0';
        s->buttons[slot][kLongestBindingName] = '\0';
        if (!is_ini_safe(s->keys[slot]) || is_reserved_key(s->keys[slot])) {
            set_text(s->keys[slot], kDefaultSettings.keys[slot]);
            ++corrections;
        }
        if (!is_ini_safe(s->buttons[slot])) {
            set_text(s->buttons[slot], kDefaultSettings.buttons[slot]);
            ++corrections;
        }
    }

    // A duplicate would make one GBA button unreachable; the whole set is reset.
    if (has_duplicates(s->keys)) {
        reset_keys(s);
        ++corrections;
    }
    if (has_duplicates(s->buttons)) {
        reset_button_names(s);  // stick and deadzone are not bindings
        ++corrections;
    }

    // The language array is not terminated yet: a full array (no zero within 8 bytes)
    // is invalid and must not be scanned past its end.
    if (std::memchr(s->language, '\0', sizeof s->language) == nullptr || !is_ini_safe(s->language)) {
        set_text(s->language, kDefaultSettings.language);
        ++corrections;
    }

    s->mode[sizeof s->mode - 1] = '\0';
    s->host[sizeof s->host - 1] = '\0';
    s->name[sizeof s->name - 1] = '\0';
    s->transport[sizeof s->transport - 1] = '\0';

    if (!in_list(s->transport, kTransportNames, kTransportCount)) {
        set_text(s->transport, kDefaultSettings.transport);
        ++corrections;
    }
    if (!in_list(s->mode, kModeNames, kModeCount)) {
        set_text(s->mode, kDefaultSettings.mode);
        ++corrections;
    }
    if (s->host[0] == '\0') {
        set_text(s->host, kDefaultSettings.host);
        ++corrections;
    }
    if (host_has_bad_byte(s->host)) {
        set_text(s->host, kDefaultSettings.host);
        ++corrections;
    }

    corrections += apply_number_rules(s, kLinkNumberRules, sizeof kLinkNumberRules / sizeof *kLinkNumberRules);
    if (s->delay < kDelayAuto || s->delay > kDelayMax) {
        s->delay = kDelayAuto;
        ++corrections;
    }

    if (!name_is_valid(s->name)) {
        set_text(s->name, kDefaultSettings.name);
        ++corrections;
    }
    return corrections;
}
