// Settings record: defaults, normalisation and the binding resets.
#include "settings.h"

#include <cstring>

#include "text_rules.h"

const char *const kActionNames[kBindingSlots] = {"A", "B", "L", "R", "Start", "Select", "Up", "Down", "Left", "Right"};
const char *const kBindingFileKeys[kBindingSlots] = {"a", "b", "l", "r", "start", "select", "up", "down", "left", "right"};
const char *const kDefaultKeys[kBindingSlots] = {"X", "Z", "A", "S", "Return", "Backspace", "Up", "Down", "Left", "Right"};
const char *const kDefaultButtons[kBindingSlots] = {"b", "a", "leftshoulder", "rightshoulder", "start", "back", "dpup", "dpdown", "dpleft", "dpright"};

namespace {

constexpr const char *kDefaultLanguage = "en";
constexpr const char *kDefaultMode = "off";
constexpr const char *kDefaultHost = "127.0.0.1";
constexpr const char *kDefaultName = "Player";
constexpr const char *kDefaultTransport = "auto";

constexpr const char *kModes[] = {"off", "host", "join", "solo"};
constexpr const char *kTransports[] = {"auto", "udp", "tcp"};

// One numeric field with its limit: a value v is valid when (uint32)(v - low) < span,
// so negative values count as too large, exactly like the unsigned checks they stand for.
struct NumberRule {
    int32_t vl_settings::*field;
    uint32_t low;
    uint32_t span;
    int32_t fallback;
};

// clang-format off
constexpr NumberRule kNumberRules[] = {
    // field                        low  span    fallback
    {&vl_settings::scale,           1,   6,      3},
    {&vl_settings::mute,            0,   2,      0},
    {&vl_settings::fullscreen,      0,   2,      0},
    {&vl_settings::vsync,           0,   2,      0},
    {&vl_settings::scaling,         0,   3,      1},
    {&vl_settings::volume,          0,   101,    100},
    {&vl_settings::stick_as_dpad,   0,   2,      1},
    {&vl_settings::deadzone,        0,   32768,  8000},
    {&vl_settings::show,            0,   2,      1},
};
constexpr NumberRule kLinkNumberRules[] = {
    {&vl_settings::port,            1,   65535,  47900},
    {&vl_settings::players,         2,   3,      2},
};
// clang-format on

int32_t apply_number_rules(vl_settings *s, const NumberRule *rules, size_t count) {
    int32_t corrections = 0;
    for (size_t i = 0; i < count; ++i) {
        int32_t &value = s->*rules[i].field;
        if (static_cast<uint32_t>(value) - rules[i].low >= rules[i].span) {
            value = rules[i].fallback;
            ++corrections;
        }
    }
    return corrections;
}

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

bool is_name_byte(unsigned char c) {
    return c >= 0x20 && c <= 0x7E && !std::strchr("#;=[]", c);
}

// Printable ASCII plus the Latin-1 letters U+00C0..U+00FF (C3 80..C3 BF) that the fonts
// can draw, without the multiplication and division signs (C3 97, C3 B7).
bool name_is_valid(const char *name) {
    const auto *p = reinterpret_cast<const unsigned char *>(name);
    if (*p == 0) return false;
    while (*p) {
        if (is_name_byte(*p)) {
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
        if (length >= 31) return false;  // also stops the scan on an unterminated array
        const auto c = static_cast<unsigned char>(text[length]);
        if (c < 0x20 || c > 0x7E || std::strchr("#;=[]", c)) return false;
    }
    return length >= 1;
}

void default_settings(vl_settings *s) {
    std::memset(s, 0, sizeof *s);
    s->scale = 3;
    s->mute = 0;
    s->fullscreen = 0;
    s->vsync = 0;
    s->scaling = 1;
    s->volume = 100;
    reset_keys(s);
    reset_buttons(s);
    s->show = 1;
    set_text(s->language, kDefaultLanguage);
    set_text(s->mode, kDefaultMode);
    set_text(s->host, kDefaultHost);
    s->port = 47900;
    s->players = 2;
    s->delay = -1;
    set_text(s->name, kDefaultName);
    set_text(s->transport, kDefaultTransport);
}

void reset_keys(vl_settings *s) {
    for (int slot = 0; slot < kBindingSlots; ++slot) set_text(s->keys[slot], kDefaultKeys[slot]);
}

void reset_buttons(vl_settings *s) {
    for (int slot = 0; slot < kBindingSlots; ++slot) set_text(s->buttons[slot], kDefaultButtons[slot]);
    s->stick_as_dpad = 1;
    s->deadzone = 8000;
}

int32_t normalise_settings(vl_settings *s) {
    int32_t corrections = apply_number_rules(s, kNumberRules, sizeof kNumberRules / sizeof *kNumberRules);

    for (int slot = 0; slot < kBindingSlots; ++slot) {
        s->keys[slot][31] = '\0';
        s->buttons[slot][31] = '\0';
        if (!is_ini_safe(s->keys[slot]) || is_reserved_key(s->keys[slot])) {
            set_text(s->keys[slot], kDefaultKeys[slot]);
            ++corrections;
        }
        if (!is_ini_safe(s->buttons[slot])) {
            set_text(s->buttons[slot], kDefaultButtons[slot]);
            ++corrections;
        }
    }

    // A duplicate would make one GBA button unreachable; the whole set is reset.
    if (has_duplicates(s->keys)) {
        reset_keys(s);
        ++corrections;
    }
    if (has_duplicates(s->buttons)) {
        for (int slot = 0; slot < kBindingSlots; ++slot) set_text(s->buttons[slot], kDefaultButtons[slot]);
        ++corrections;
    }

    // The language array is not terminated yet: a full array (no zero within 8 bytes)
    // is invalid and must not be scanned past its end.
    if (std::memchr(s->language, '\0', sizeof s->language) == nullptr || !is_ini_safe(s->language)) {
        set_text(s->language, kDefaultLanguage);
        ++corrections;
    }

    s->mode[sizeof s->mode - 1] = '\0';
    s->host[sizeof s->host - 1] = '\0';
    s->name[sizeof s->name - 1] = '\0';
    s->transport[sizeof s->transport - 1] = '\0';

    if (!in_list(s->transport, kTransports, sizeof kTransports / sizeof *kTransports)) {
        set_text(s->transport, kDefaultTransport);
        ++corrections;
    }
    if (!in_list(s->mode, kModes, sizeof kModes / sizeof *kModes)) {
        set_text(s->mode, kDefaultMode);
        ++corrections;
    }
    if (s->host[0] == '\0') {
        set_text(s->host, kDefaultHost);
        ++corrections;
    }
    if (host_has_bad_byte(s->host)) {
        set_text(s->host, kDefaultHost);
        ++corrections;
    }

    corrections += apply_number_rules(s, kLinkNumberRules, sizeof kLinkNumberRules / sizeof *kLinkNumberRules);
    if (s->delay < -1 || s->delay > 8) {
        s->delay = -1;
        ++corrections;
    }

    if (!name_is_valid(s->name)) {
        set_text(s->name, kDefaultName);
        ++corrections;
    }
    return corrections;
}
