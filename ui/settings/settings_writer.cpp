// The vorla.ini writer: the whole file, line by line from a table, written from a
// normalised copy and put in place in one step.
#include "settings.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "file_format.h"
#include "file_io.h"

namespace {

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
            std::snprintf(delay, sizeof delay, "%s", kDelayAutoName);
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

int32_t save_settings(const char *path, const vl_settings *s, file_failure *failure) {
    vl_settings copy = *s;
    normalise_settings(&copy);  // also keeps `scaling` a valid index of kScalingNames
    std::string text;
    text.reserve(2048);
    for (const FileLine &line : kFileLines) append_line(&text, line, copy);
    return replace_file(path, text.data(), text.size(), failure) ? 0 : -1;
}
