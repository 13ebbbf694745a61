// The vorla.ini reader and writer.
//
// Index: the key table (which section reads which key, and by which value rule), the
// value rules, the line-piece parser, load_settings, the table of written lines and
// save_settings.
#include "settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "../frame/state.h"
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
    kPlayers,        // leading number, 2..4
    kPort,           // leading number, 1..65535
    kDelay,          // "auto" or leading number 0..8
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

constexpr const char *kScalingNames[] = {"integer", "fit", "stretch"};

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

// The leading decimal number, 0 when there is none; saturates far outside every range
// it is checked against.
long leading_number(Text text) {
    size_t i = 0;
    const bool negative = text.length > 0 && text.begin[0] == '-';
    if (text.length > 0 && (text.begin[0] == '-' || text.begin[0] == '+')) i = 1;
    long value = 0;
    for (; i < text.length && text.begin[i] >= '0' && text.begin[i] <= '9'; ++i)
        if (value <= kIntegerLimit) value = value * 10 + (text.begin[i] - '0');
    return negative ? -value : value;
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
        for (int32_t i = 0; i < 3; ++i)
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
        const long players = leading_number(value);
        if (players >= 2 && players <= 4) *number = static_cast<int32_t>(players);
        break;
    }
    case Rule::kPort: {
        const long port = leading_number(value);
        if (port >= 1 && port <= 65535) *number = static_cast<int32_t>(port);
        break;
    }
    case Rule::kDelay: {
        if (value.view() == "auto") {
            *number = -1;
            break;
        }
        const long delay = leading_number(value);
        if (delay >= 0 && delay <= 8) *number = static_cast<int32_t>(delay);
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
            if (safe_text(value, 31)) set_text(entry, 32, value.begin, value.length);
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

// What fills a written line's placeholder.
enum class Fill {
    kNone,     // the text as it stands
    kInt,      // "%d" of an int32 field
    kText,     // "%s" of a text field
    kScaling,  // the name of `scaling`
    kDelay,    // "auto" or the frame count
    kKey,      // file key and `keys` entry of a slot
    kButton,   // file key and `buttons` entry of a slot
};

struct FileLine {
    const char *format;  // CR LF included: the file is written without translation
    Fill fill;
    size_t offset;       // field offset, or the binding slot for kKey / kButton
};

#define VL_FIELD(field) offsetof(vl_settings, field)

// clang-format off
const FileLine kFileLines[] = {
    {"; vorla.ini - settings for the Vorla & The Glassmaze recompilation (v2)\r\n", Fill::kNone, 0},
    {"\r\n", Fill::kNone, 0},
    {"[video]\r\n", Fill::kNone, 0},
    {"; scale: window size = 240x160 * scale (1..6)\r\n", Fill::kNone, 0},
    {"scale=%d\r\n", Fill::kInt, VL_FIELD(scale)},
    {"; fullscreen: 1 = full screen (F11 toggles in game)\r\n", Fill::kNone, 0},
    {"fullscreen=%d\r\n", Fill::kInt, VL_FIELD(fullscreen)},
    {"; scaling: integer = whole-number scale, fit = keep aspect ratio, stretch = fill the window\r\n", Fill::kNone, 0},
    {"scaling=%s\r\n", Fill::kScaling, VL_FIELD(scaling)},
    {"; vsync: 1 = sync presents with the monitor\r\n", Fill::kNone, 0},
    {"vsync=%d\r\n", Fill::kInt, VL_FIELD(vsync)},
    {"\r\n", Fill::kNone, 0},
    {"[audio]\r\n", Fill::kNone, 0},
    {"; volume: 0..100\r\n", Fill::kNone, 0},
    {"volume=%d\r\n", Fill::kInt, VL_FIELD(volume)},
    {"mute=%d\r\n", Fill::kInt, VL_FIELD(mute)},
    {"\r\n", Fill::kNone, 0},
    {"[keyboard]\r\n", Fill::kNone, 0},
    {"; SDL key names, by physical position (A = X, B = Z). Esc, F11 and F1 are reserved.\r\n", Fill::kNone, 0},
    {"%s=%s\r\n", Fill::kKey, 0}, {"%s=%s\r\n", Fill::kKey, 1}, {"%s=%s\r\n", Fill::kKey, 2},
    {"%s=%s\r\n", Fill::kKey, 3}, {"%s=%s\r\n", Fill::kKey, 4}, {"%s=%s\r\n", Fill::kKey, 5},
    {"%s=%s\r\n", Fill::kKey, 6}, {"%s=%s\r\n", Fill::kKey, 7}, {"%s=%s\r\n", Fill::kKey, 8},
    {"%s=%s\r\n", Fill::kKey, 9},
    {"\r\n", Fill::kNone, 0},
    {"[controller]\r\n", Fill::kNone, 0},
    {"; SDL game controller button names (a/b follow the Xbox layout: GBA A = east button)\r\n", Fill::kNone, 0},
    {"%s=%s\r\n", Fill::kButton, 0}, {"%s=%s\r\n", Fill::kButton, 1}, {"%s=%s\r\n", Fill::kButton, 2},
    {"%s=%s\r\n", Fill::kButton, 3}, {"%s=%s\r\n", Fill::kButton, 4}, {"%s=%s\r\n", Fill::kButton, 5},
    {"%s=%s\r\n", Fill::kButton, 6}, {"%s=%s\r\n", Fill::kButton, 7}, {"%s=%s\r\n", Fill::kButton, 8},
    {"%s=%s\r\n", Fill::kButton, 9},
    {"stick_as_dpad=%d\r\n", Fill::kInt, VL_FIELD(stick_as_dpad)},
    {"deadzone=%d\r\n", Fill::kInt, VL_FIELD(deadzone)},
    {"\r\n", Fill::kNone, 0},
    {"[launcher]\r\n", Fill::kNone, 0},
    {"; show: 0 = start the game directly (hold Shift to force the launcher)\r\n", Fill::kNone, 0},
    {"show=%d\r\n", Fill::kInt, VL_FIELD(show)},
    {"language=%s\r\n", Fill::kText, VL_FIELD(language)},
    {"\r\n", Fill::kNone, 0},
    {"[link]\r\n", Fill::kNone, 0},
    {"; cable link (online). mode: off | host | join; the launcher writes it when you press HOST or JOIN\r\n", Fill::kNone, 0},
    {"mode=%s\r\n", Fill::kText, VL_FIELD(mode)},
    {"; host: address to join (IP or name); port: 1..65535\r\n", Fill::kNone, 0},
    {"host=%s\r\n", Fill::kText, VL_FIELD(host)},
    {"port=%d\r\n", Fill::kInt, VL_FIELD(port)},
    {"; players: 2..4 (when hosting); delay: auto or 0..8 frames of host slack; name: shown in the lobby\r\n", Fill::kNone, 0},
    {"players=%d\r\n", Fill::kInt, VL_FIELD(players)},
    {"delay=%s\r\n", Fill::kDelay, VL_FIELD(delay)},
    {"name=%s\r\n", Fill::kText, VL_FIELD(name)},
    {"; transport: auto (UDP, falls back to TCP) | udp | tcp\r\n", Fill::kNone, 0},
    {"transport=%s\r\n", Fill::kText, VL_FIELD(transport)},
};
// clang-format on

#undef VL_FIELD

// Appends one formatted line; every value is bounded by its array, so a line never
// exceeds the buffer.
void append_line(std::string *out, const FileLine &line, const vl_settings &s) {
    const auto *base = reinterpret_cast<const unsigned char *>(&s);
    const auto *number = reinterpret_cast<const int32_t *>(base + line.offset);
    const auto *text = reinterpret_cast<const char *>(base + line.offset);
    char buffer[256];
    char delay[16];
    int length = 0;
    switch (line.fill) {
    case Fill::kNone:
        length = std::snprintf(buffer, sizeof buffer, "%s", line.format);
        break;
    case Fill::kInt:
        length = std::snprintf(buffer, sizeof buffer, line.format, *number);
        break;
    case Fill::kText:
        length = std::snprintf(buffer, sizeof buffer, line.format, text);
        break;
    case Fill::kScaling:
        length = std::snprintf(buffer, sizeof buffer, line.format, kScalingNames[*number]);
        break;
    case Fill::kDelay:
        if (*number < 0)
            std::snprintf(delay, sizeof delay, "auto");
        else
            std::snprintf(delay, sizeof delay, "%d", *number);
        length = std::snprintf(buffer, sizeof buffer, line.format, delay);
        break;
    case Fill::kKey:
        length = std::snprintf(buffer, sizeof buffer, line.format, kBindingFileKeys[line.offset], s.keys[line.offset]);
        break;
    case Fill::kButton:
        length = std::snprintf(buffer, sizeof buffer, line.format, kBindingFileKeys[line.offset], s.buttons[line.offset]);
        break;
    }
    if (length > 0) out->append(buffer, static_cast<size_t>(length) < sizeof buffer ? static_cast<size_t>(length) : sizeof buffer - 1);
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

int32_t save_settings(const char *path, const vl_settings *s) {
    vl_settings copy = *s;
    normalise_settings(&copy);  // also keeps `scaling` a valid index of kScalingNames
    std::string text;
    text.reserve(2048);
    for (const FileLine &line : kFileLines) append_line(&text, line, copy);
    return replace_file(path, text.data(), text.size()) ? 0 : -1;
}

void save_live_settings() { save_settings(vl.settings_path, &vl.settings); }
