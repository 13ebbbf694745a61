// The vorla.ini reader: a tolerant parser of line pieces, driven by a table of keys
// (which sections read a key, by which value rule, into which field).
//
// Index: the key table, the value rules, the line-piece parser, load_settings.
#include "settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "file_format.h"
#include "file_io.h"
#include "text_rules.h"

namespace {

// Sections as bits, so one row of the key table can name every section that reads it.
enum Section : unsigned {
    kNoSection = 1u << 0,  // lines before the first header, or after a broken one
    kVorla = 1u << 1,      // the first format's single section
    kVideo = 1u << 2,
    kAudio = 1u << 3,
    kKeyboard = 1u << 4,
    kController = 1u << 5,
    kLauncher = 1u << 6,
    kLink = 1u << 7,
    kUnknown = 1u << 8,    // a well-formed header naming no section we read
};

struct SectionName {
    const char *name;
    Section section;
};

constexpr SectionName kSections[] = {
    {"vorla", kVorla},       {"video", kVideo},       {"audio", kAudio},       {"keyboard", kKeyboard},
    {"controller", kController}, {"launcher", kLauncher}, {"link", kLink},
};

enum class Rule {
    kStrictInteger,  // whole value a decimal number within +-1000000
    kIntegerScale,   // retired key, remembered only
    kScaling,        // integer / fit / stretch, any letter case
    kLanguage,       // safe text of at most 7 bytes
    kText,           // copied, cut to the array
    kPlayers,        // leading number, kPlayersMin..kPlayersMax
    kPort,           // leading number, kPortMin..kPortMax
    kDelay,          // "auto" or leading number 0..kDelayMax
};

constexpr unsigned kFirstFormat = kNoSection | kVorla;

struct KeyRow {
    const char *key;
    unsigned sections;
    Rule rule;
    size_t offset;  // of the field in vl_settings
    size_t size;    // of a text field's array
};

#define VL_INT(field) offsetof(vl_settings, field), 0
#define VL_TEXT(field) offsetof(vl_settings, field), sizeof(vl_settings::field)

// clang-format off
const KeyRow kKeyRows[] = {
    // key              sections                   rule                   field
    {"scale",           kFirstFormat | kVideo,     Rule::kStrictInteger,  VL_INT(scale)},
    {"fullscreen",      kFirstFormat | kVideo,     Rule::kStrictInteger,  VL_INT(fullscreen)},
    {"vsync",           kFirstFormat | kVideo,     Rule::kStrictInteger,  VL_INT(vsync)},
    {"integer_scale",   kFirstFormat | kVideo,     Rule::kIntegerScale,   0, 0},
    {"scaling",         kFirstFormat | kVideo,     Rule::kScaling,        VL_INT(scaling)},
    {"mute",            kFirstFormat | kAudio,     Rule::kStrictInteger,  VL_INT(mute)},
    {"volume",          kFirstFormat | kAudio,     Rule::kStrictInteger,  VL_INT(volume)},
    {"stick_as_dpad",   kController,               Rule::kStrictInteger,  VL_INT(stick_as_dpad)},
    {"deadzone",        kController,               Rule::kStrictInteger,  VL_INT(deadzone)},
    {"show",            kLauncher,                 Rule::kStrictInteger,  VL_INT(show)},
    {"language",        kLauncher,                 Rule::kLanguage,       VL_TEXT(language)},
    {"mode",            kLink,                     Rule::kText,           VL_TEXT(mode)},
    {"players",         kLink,                     Rule::kPlayers,        VL_INT(players)},
    {"port",            kLink,                     Rule::kPort,           VL_INT(port)},
    {"delay",           kLink,                     Rule::kDelay,          VL_INT(delay)},
    {"host",            kLink,                     Rule::kText,           VL_TEXT(host)},
    {"name",            kLink,                     Rule::kText,           VL_TEXT(name)},
    {"transport",       kLink,                     Rule::kText,           VL_TEXT(transport)},
};
// clang-format on

#undef VL_INT
#undef VL_TEXT


constexpr size_t kPieceBytes = 255;     // longest line piece the reader parses at once
constexpr size_t kSectionNameMax = 31;  // longer header names leave no section
constexpr long kIntegerLimit = 1000000;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A value as the reader sees it: not terminated, between two pointers.
struct Text {
    const char *begin;
    size_t length;
    std::string_view view() const { return {begin, length}; }
};

bool iequal(Text text, const char *word) {
    size_t i = 0;
    for (; i < text.length; ++i)
        if (word[i] == '\0' || ascii_lower(text.begin[i]) != ascii_lower(word[i])) return false;
    return word[i] == '\0';
}

// "-12" style number and nothing else; false when malformed or out of range.
bool strict_integer(Text text, int32_t *out) {
    size_t i = 0;
    const bool negative = text.length > 0 && text.begin[0] == '-';
    if (text.length > 0 && (text.begin[0] == '-' || text.begin[0] == '+')) i = 1;
    if (i == text.length) return false;
    long value = 0;
    for (; i < text.length; ++i) {
        const char c = text.begin[i];
        if (c < '0' || c > '9') return false;
        if (value <= kIntegerLimit) value = value * 10 + (c - '0');  // stops growing once out of range
    }
    if (value > kIntegerLimit) return false;
    *out = static_cast<int32_t>(negative ? -value : value);
    return true;
}

bool safe_text(Text text, size_t max_length) {
    if (text.length == 0 || text.length > max_length) return false;
    std::string copy(text.begin, text.length);
    return is_ini_safe(copy.c_str());
}

struct ReadState {
    unsigned section = kNoSection;
    bool integer_scale_seen = false;
    int32_t integer_scale = 0;
    bool scaling_seen = false;
};

void apply_row(const KeyRow &row, Text value, vl_settings *s, ReadState *state) {
    auto *base = reinterpret_cast<unsigned char *>(s);
    auto *number = reinterpret_cast<int32_t *>(base + row.offset);
    auto *text = reinterpret_cast<char *>(base + row.offset);
    int32_t parsed = 0;
    switch (row.rule) {
    case Rule::kStrictInteger:
        if (strict_integer(value, &parsed)) *number = parsed;
        break;
    case Rule::kIntegerScale:
        if (strict_integer(value, &parsed) && (parsed == 0 || parsed == 1)) {
            state->integer_scale_seen = true;
            state->integer_scale = parsed;
        }
        break;
    case Rule::kScaling:
        for (int32_t i = 0; i < kScalingCount; ++i)
            if (iequal(value, kScalingNames[i])) {
                *number = i;
                state->scaling_seen = true;
            }
        break;
    case Rule::kLanguage:
        if (safe_text(value, row.size - 1)) set_text(text, row.size, value.begin, value.length);
        break;
    case Rule::kText:
        set_text(text, row.size, value.begin, value.length);
        break;
    case Rule::kPlayers: {
        const int32_t players = leading_number(value.begin, value.length);
        if (players >= kPlayersMin && players <= kPlayersMax) *number = players;
        break;
    }
    case Rule::kPort: {
        const int32_t port = leading_number(value.begin, value.length);
        if (port_in_range(port)) *number = port;
        break;
    }
    case Rule::kDelay: {
        if (value.view() == kDelayAutoName) {
            *number = kDelayAuto;
            break;
        }
        const int32_t delay = leading_number(value.begin, value.length);
        if (delay >= 0 && delay <= kDelayMax) *number = delay;
        break;
    }
    }
}

void read_header(const char *line, ReadState *state) {
    const char *close = std::strchr(line + 1, ']');
    state->section = kNoSection;
    if (!close) return;
    const size_t length = static_cast<size_t>(close - (line + 1));
    if (length > kSectionNameMax) return;
    state->section = kUnknown;
    for (const SectionName &known : kSections)
        if (iequal(Text{line + 1, length}, known.name)) state->section = known.section;
}

void read_key_line(const char *line, const char *equals, vl_settings *s, ReadState *state) {
    Text key{line, static_cast<size_t>(equals - line)};
    while (key.length > 0 && is_blank(key.begin[key.length - 1])) --key.length;

    const char *start = equals + 1;
    while (is_blank(*start)) ++start;
    Text value{start, std::strcspn(start, "\r\n#;")};
    while (value.length > 0 && is_blank(value.begin[value.length - 1])) --value.length;

    if (state->section & (kKeyboard | kController)) {
        std::string lowered(key.begin, key.length);
        for (char &c : lowered) c = ascii_lower(c);
        const int32_t slot = binding_slot_of(lowered.c_str());
        if (slot >= 0) {
            char *entry = state->section == kKeyboard ? s->keys[slot] : s->buttons[slot];
            if (safe_text(value, kLongestBindingName)) set_text(entry, kLongestBindingName + 1, value.begin, value.length);
            return;
        }
    }
    for (const KeyRow &row : kKeyRows)
        if ((row.sections & state->section) && iequal(key, row.key)) {
            apply_row(row, value, s, state);
            return;
        }
}

// One line piece, as a C string (a zero byte in the file ends the piece's text).
void read_piece(const char *piece, vl_settings *s, ReadState *state) {
    while (is_blank(*piece)) ++piece;
    if (*piece == '\0' || *piece == '#' || *piece == ';') return;
    if (*piece == '[') {
        read_header(piece, state);
        return;
    }
    if (const char *equals = std::strchr(piece, '=')) read_key_line(piece, equals, s, state);
}

// The next piece of a line: up to and including LF, or kPieceBytes bytes, whichever
// comes first. False at the end of the file.
bool next_piece(std::FILE *file, char (&piece)[kPieceBytes + 1]) {
    size_t length = 0;
    while (length < kPieceBytes) {
        const int c = std::fgetc(file);
        if (c == EOF) break;
        piece[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    piece[length] = '\0';
    return length > 0;
}

} // namespace

int32_t binding_slot_of(const char *key) {
    if (!key) return -1;
    for (int32_t slot = 0; slot < kBindingSlots; ++slot)
        if (std::strcmp(key, kBindingFileKeys[slot]) == 0) return slot;
    return -1;
}

int32_t load_settings(const char *path, vl_settings *s) {
    default_settings(s);
    std::FILE *file = open_utf8(path, "rb");
    if (!file) return 1;

    unsigned char bom[3];
    if (std::fread(bom, 1, 3, file) != 3 || bom[0] != 0xEF || bom[1] != 0xBB || bom[2] != 0xBF)
        std::rewind(file);

    ReadState state;
    char piece[kPieceBytes + 1];
    while (next_piece(file, piece)) read_piece(piece, s, &state);
    std::fclose(file);

    if (state.integer_scale_seen && !state.scaling_seen) s->scaling = state.integer_scale == 1 ? 0 : 1;
    normalise_settings(s);
    return 0;
}
