// Any bytes typed or pasted into the three text fields, mixed with deletions: the
// byte limits hold, the name stays valid UTF-8 of the accepted letters, the host
// address keeps its characters and the port holds digits only.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/state.h"
#include "screens/fields.h"

namespace {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "field invariant broken: %s\n", what);
        std::abort();
    }
}

bool ascii_name_char(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' ||
           c == '.' || c == '_';
}

bool host_char(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == ':' || c == '_';
}

void check_field(int field) {
    const unsigned char *text = reinterpret_cast<const unsigned char *>(vl.fields[field]);
    const size_t n = std::strlen(vl.fields[field]);
    static const size_t limits[3] = {15, 45, 5};
    check(n <= limits[field], "byte limit");
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = text[i];
        if (field == 0) {
            if (c == 0xC3) {
                check(i + 1 < n, "a lead byte is followed");
                const unsigned char next = text[i + 1];
                check(next >= 0x80 && next <= 0xBF && next != 0x97 && next != 0xB7, "a Latin-1 letter");
                ++i;
            } else {
                check(ascii_name_char(c), "an accepted name character");
            }
        } else if (field == 1) {
            check(host_char(c), "an accepted address character");
        } else {
            check(c >= '0' && c <= '9', "a digit");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const int field = data[0] % 3;
    std::memset(vl.fields[field], 0, sizeof vl.fields[field]);
    // Each following chunk: a length byte, then that many bytes of text; a zero
    // length deletes the last character instead.
    size_t pos = 1;
    char text[64];
    while (pos < size) {
        const size_t length = data[pos++] % 40;
        if (length == 0) {
            delete_last_char(field);
        } else {
            const size_t n = std::min(length, size - pos);
            std::memcpy(text, data + pos, n);
            text[n] = '\0';
            pos += n;
            insert_text(field, text);
        }
        check_field(field);
    }
    return 0;
}
