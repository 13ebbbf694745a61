// Any bytes as vorla.ini: the reader leaves a normalised record, and what it writes
// reads back to the same record and the same bytes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/settings.h"

namespace {

std::string folder() {
    static std::string path = [] {
        char pattern[] = "/tmp/vorla-fuzz-settings-XXXXXX";
        const char *made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return path;
}

std::string slurp(const std::string &path) {
    std::string bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "settings invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string input = folder() + "/input.ini";
    const std::string output = folder() + "/output.ini";
    if (FILE *f = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    vl_settings loaded;
    check(load_settings(input.c_str(), &loaded) == 0, "the file opens");
    vl_settings again = loaded;
    check(normalise_settings(&again) == 0, "a loaded record is normalised");
    check(std::memcmp(&again, &loaded, sizeof loaded) == 0, "normalising again changes nothing");

    check(save_settings(output.c_str(), &loaded) == 0, "the record saves");
    const std::string first = slurp(output);
    vl_settings reloaded;
    check(load_settings(output.c_str(), &reloaded) == 0, "the saved file opens");
    check(std::memcmp(&reloaded, &loaded, sizeof loaded) == 0, "reload gives the same record");
    check(save_settings(output.c_str(), &reloaded) == 0, "the reloaded record saves");
    check(slurp(output) == first, "saving again gives the same bytes");
    return 0;
}
