// Text fields of the online page and the on-screen keypad: what each field accepts,
// how typing starts and stops, and when the fields reach the settings.
#include "fields.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "../frame/frame.h"
#include "../frame/state.h"
#include "../settings/text_rules.h"
#include "layouts.h"
#include "widgets.h"

namespace {

constexpr int32_t kFieldBytes = sizeof vl.fields[0];

bool is_ascii_letter_or_digit(uint32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}
bool name_accepts(uint32_t c) {
    return is_ascii_letter_or_digit(c) || c == ' ' || c == '-' || c == '.' || c == '_';
}
bool host_accepts(uint32_t c) {
    return is_ascii_letter_or_digit(c) || c == '-' || c == '.' || c == ':' || c == '_';
}
bool port_accepts(uint32_t c) { return c >= '0' && c <= '9'; }

struct FieldRule {
    int32_t longest;                // bytes
    bool (*accepts)(uint32_t c);    // ASCII characters only
    bool latin1_letters;            // also U+00C0..U+00FF except x and division signs
};
// name, host address, port
constexpr FieldRule kFieldRules[kFieldCount] = {
    {15, name_accepts, true},
    {45, host_accepts, false},
    {5, port_accepts, false},
};

bool is_field(int32_t f) { return f >= 0 && f < kFieldCount; }
bool is_latin1_letter(uint32_t p) { return p >= 0xC0 && p <= 0xFF && p != 0xD7 && p != 0xF7; }

int32_t field_length(int32_t f) {
    return static_cast<int32_t>(strnlen(vl.fields[f], kFieldBytes - 1));
}

// A Latin-1 letter is stored as its two UTF-8 bytes, and only when both fit.
void append_latin1_letter(int32_t f, uint32_t p) {
    const int32_t n = field_length(f);
    if (!kFieldRules[f].latin1_letters || !is_latin1_letter(p)) return;
    if (n + 2 > kFieldRules[f].longest) return;
    vl.fields[f][n] = static_cast<char>(0xC3);
    vl.fields[f][n + 1] = static_cast<char>(p & 0xBF);
    vl.fields[f][n + 2] = '\0';
}

} // namespace

void fill_fields_from_settings() {
    std::snprintf(vl.fields[kFieldName], kFieldBytes, "%s", vl.settings.name);
    std::snprintf(vl.fields[kFieldHost], kFieldBytes, "%s", vl.settings.host);
    std::snprintf(vl.fields[kFieldPort], kFieldBytes, "%d", vl.settings.port);
}

void insert_char(int32_t f, uint32_t c) {
    if (!is_field(f)) return;
    const int32_t n = field_length(f);
    if (n >= kFieldRules[f].longest) return;
    if (c < 32 || c == 127) return;
    // A code point above ASCII would be one raw byte here, which is not UTF-8.
    if (c >= 0x80) {
        append_latin1_letter(f, c);
        return;
    }
    if (!kFieldRules[f].accepts(c)) return;
    vl.fields[f][n] = static_cast<char>(c);
    vl.fields[f][n + 1] = '\0';
}

void insert_text(int32_t f, const char *text) {
    if (!is_field(f) || !text) return;
    const auto *s = reinterpret_cast<const uint8_t *>(text);
    size_t i = 0;
    while (s[i] != 0) {
        const uint8_t b = s[i];
        if (b < 0x80) {
            insert_char(f, b);
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF && is_utf8_continuation(s[i + 1])) {
            const uint32_t p = (static_cast<uint32_t>(b & 0x1F) << 6) | (s[i + 1] & 0x3Fu);
            append_latin1_letter(f, p);
            i += 2;
        } else if (b < 0xE0) {
            ++i;  // stray continuation, overlong lead, or a lead without its continuation
        } else {
            // Three- and four-byte characters never fit a field: skip the lead and the
            // continuations that belong to it; anything else is read as the next character.
            const int32_t most = b <= 0xEF ? 2 : 3;
            ++i;
            for (int32_t k = 0; k < most && is_utf8_continuation(s[i]); ++k) ++i;
        }
    }
}

void delete_last_char(int32_t f) {
    if (!is_field(f)) return;
    int32_t n = field_length(f);
    if (n == 0) return;
    while (n >= 2 && is_utf8_continuation(static_cast<uint8_t>(vl.fields[f][n - 1]))) --n;
    vl.fields[f][n >= 2 ? n - 1 : 0] = '\0';
}

void commit_fields() {
    vl_settings &s = vl.settings;
    if (vl.fields[kFieldName][0] == '\0') {
        std::snprintf(s.name, sizeof s.name, "%s", kDefaultSettings.name);
    } else {
        std::snprintf(s.name, sizeof s.name, "%.15s", vl.fields[kFieldName]);
    }
    if (vl.fields[kFieldHost][0] != '\0') std::snprintf(s.host, sizeof s.host, "%s", vl.fields[kFieldHost]);
    // An invalid port stays in its field (drawn as an error) but never reaches the file.
    if (port_text_is_valid(vl.fields[kFieldPort])) s.port = leading_number(vl.fields[kFieldPort]);
    save_live_settings();
}

void end_editing() {
    if (vl.editing_field < 0) return;
    commit_fields();
    SDL_StopTextInput();
    vl.editing_field = -1;
}

void close_keypad(bool keep) {
    const int32_t f = vl.keypad_field;
    if (!is_field(f)) return;
    if (keep) {
        commit_fields();
    } else {
        std::snprintf(vl.fields[f], kFieldBytes, "%s", vl.keypad_backup);
    }
    vl.keypad_field = -1;
    std::snprintf(vl.refocus_id, sizeof vl.refocus_id, "%s", f == kFieldHost ? kIdHostField : kIdPortField);
}

bool port_text_is_valid(const char *text) { return text && text[0] && port_in_range(leading_number(text)); }

bool port_text_looks_valid(const char *text) {
    return text && text[0] && port_in_range(leading_number_after_blanks(text));
}
