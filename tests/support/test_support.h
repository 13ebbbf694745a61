// Shared pieces of the tests: temporary folders, files, a scripted host around vl_run,
// SDL event injection into the running loop, and frame snapshots.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vorla_ui.h"

#ifdef _WIN32
// The POSIX environment calls the tests use; the Windows C runtime has only _putenv.
int setenv(const char *name, const char *value, int overwrite);
int unsetenv(const char *name);
#endif

namespace vt {

// A fresh folder under /tmp (the user's temporary folder on Windows), removed with
// everything in it at the end of its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
    bool made_ = false;
};

// Sets an environment variable for its scope, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);
bool file_exists(const std::string &path);

// A host for one vl_run call. `status` runs for the start-up call (call 0) and every
// poll after it; `online` for every online poll (when set). Both may push events and
// read the inspection exports. A run still going after `max_calls` status calls is
// ended with SDL_QUIT and `timed_out` is set.
struct Host {
    std::function<void(vl_status &, int call)> status;
    std::function<void(vl_online_status &, int call)> online;
    int32_t poll_interval_ms = 1;
    int max_calls = 3000;
    bool timed_out = false;
    int status_calls = 0;
    int online_calls = 0;
};
int32_t run_host(const std::string &ini_path, Host &host);

// Resets the library's state as a run start would, without a window: default settings
// saved to `ini_path`, empty host records, the given page, nothing open, the text
// fields filled from the settings. For unit tests that call activation and the like.
void reset_run_state(const std::string &ini_path, int32_t page);

// Events addressed to the launcher window (its id read through vl_test_window_id).
void push_key(SDL_Keycode sym, uint16_t mod = 0, bool repeat = false);
void push_text(const char *text);
void push_mouse_move(int32_t x, int32_t y);
void push_mouse_button(int32_t x, int32_t y, bool down, uint8_t button = SDL_BUTTON_LEFT);
void push_click(int32_t x, int32_t y);  // press and release
void push_quit();

// The launcher's renderer while a run is under way ("software", "opengl", "direct3d", ...),
// else "".
std::string renderer_name();

// The last painted frame (960 x 600 ARGB8888) through vl_test_snapshot.
std::vector<uint32_t> snapshot();
uint32_t pixel(const std::vector<uint32_t> &frame, int32_t x, int32_t y);  // 0xAARRGGBB
// Packed palette colour (R in bits 0-7) to the ARGB8888 pixel it paints.
uint32_t argb(uint32_t packed);
// PNG files of ARGB8888 pixels, rows from the top (png_file.cpp).
bool write_png(const std::string &path, const uint32_t *argb_pixels, int32_t w, int32_t h);
bool read_png(const std::string &path, std::vector<uint32_t> &argb_pixels, int32_t &w, int32_t &h);

} // namespace vt
