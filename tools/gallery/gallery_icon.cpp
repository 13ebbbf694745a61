// Renders the main page in each build state (with and without a ROM, a long ROM name, an
// information note and an error note) and the window icon, through a real vl_run with a
// scripted host, to PNG files.
// Usage: gallery_main [OUTPUT_DIR]   (default docs/gallery)
// The PNG writer stores pixels uncompressed; the copies kept in docs/ were recompressed
// losslessly (same pixels, a few kilobytes each).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "test_support.h"

namespace {

struct Scene {
    const char *file;
    int32_t state;
    int32_t percent;
    const char *message;
    const char *rom_path;  // null: no ROM accepted
    const char *note;      // null: no note
    int32_t note_is_error;
};

// clang-format off
constexpr Scene kScenes[] = {
    {"main_no_rom",        0,   0, "ignored while there is no ROM", nullptr, nullptr, 0},
    {"main_preparing",     1,  37, "",                             "/home/player/roms/vorla.gba", nullptr, 0},
    {"main_building",      2,  64, "Building compiled version... 812 of 1270 functions",
                                                                   "C:\\Games\\Vorla\\vorla.gba", nullptr, 0},
    {"main_building_no_chip", 2, 64, "",                           "C:\\Games\\Vorla\\vorla.gba", nullptr, 0},
    {"main_ready",         3,  12, "",                             "vorla.gba", nullptr, 0},
    {"main_error",         4,   0, "The compiler stopped: out of disk space on drive C",
                                                                   "vorla.gba", nullptr, 0},
    {"main_unknown_state", 9,  50, "",                             "vorla.gba", nullptr, 0},
    {"main_long_rom_name", 3, 100, "",
     "/roms/Vorla and the Glassmaze - Collector's Edition (Europe) (En,Fr,De,Es,It) (Rev 2).gba", nullptr, 0},
    {"main_note",          3, 100, "",                             "vorla.gba", "Save exported to the saves folder", 0},
    {"main_error_note",    0,   0, "",                             nullptr, "No save file to export", 1},
};
// clang-format on

bool render_scene(const Scene &scene, const std::string &dir) {
    vt::TempDir temp;
    vt::Host host;
    bool written = false;
    host.status = [&](vl_status &s, int call) {
        s.state = scene.state;
        s.percent = scene.percent;
        std::snprintf(s.message, sizeof s.message, "%s", scene.message);
        std::snprintf(s.rom_path, sizeof s.rom_path, "%s", scene.rom_path ? scene.rom_path : "");
        s.rom_ok = scene.rom_path ? 1 : 0;
        if (call == 1 && scene.note) set_note(scene.note, scene.note_is_error);
        // Frames after call 2 show what calls 1 and 2 delivered.
        if (call == 4) {
            const std::vector<uint32_t> frame = vt::snapshot();
            written = !frame.empty() && vt::write_png(dir + "/" + scene.file + ".png", frame.data(), 960, 600);
            vt::push_quit();
        }
    };
    vt::run_host(temp.file("vorla.ini"), host);
    return written;
}

bool render_icon(const std::string &dir) {
    constexpr int32_t kZoom = 8;
    uint32_t icon[32 * 32];
    make_icon(icon);
    // Transparent pixels over a checkerboard, so the outline of the emblem shows.
    std::vector<uint32_t> big(32 * kZoom * 32 * kZoom);
    for (int32_t y = 0; y < 32 * kZoom; ++y)
        for (int32_t x = 0; x < 32 * kZoom; ++x) {
            const uint32_t p = icon[(y / kZoom) * 32 + x / kZoom];
            const bool dark = ((x / 16) + (y / 16)) % 2 == 0;
            big[static_cast<size_t>(y) * 32 * kZoom + x] = (p >> 24) ? p : (dark ? 0xFF505050u : 0xFF707070u);
        }
    return vt::write_png(dir + "/icon.png", big.data(), 32 * kZoom, 32 * kZoom);
}

} // namespace

int main(int argc, char **argv) {
    const std::string dir = argc > 1 ? argv[1] : "docs/gallery";
    int failures = 0;
    for (const Scene &scene : kScenes) {
        if (!render_scene(scene, dir)) {
            std::fprintf(stderr, "gallery_main: %s not written\n", scene.file);
            ++failures;
        }
    }
    if (!render_icon(dir)) {
        std::fprintf(stderr, "gallery_main: icon not written\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
