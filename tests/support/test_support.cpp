#include "test_support.h"

#include "frame/state.h"
#include "screens/fields.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <random>
#include <system_error>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#ifdef _WIN32
// _putenv changes both the C runtime's copy (read by SDL's getenv) and the process
// environment. As on Windows generally, an empty value removes the variable.
int setenv(const char *name, const char *value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv((std::string(name) + "=" + value).c_str());
}

int unsetenv(const char *name) { return _putenv((std::string(name) + "=").c_str()); }
#endif

namespace vt {
namespace {

// Tests run headless unless a caller asked for another driver. On the dummy driver the
// frame is drawn by SDL's software renderer: with a display at hand SDL would otherwise
// pick a GPU renderer for a window that has no surface (Direct3D 11 under Wine), whose
// read-back gives empty frames and, in SDL 2.26, keeps every read-back alive.
struct HeadlessEnvironment {
    HeadlessEnvironment() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
        const char *driver = std::getenv("SDL_VIDEODRIVER");
        if (driver && std::strcmp(driver, "dummy") == 0) setenv("SDL_RENDER_DRIVER", "software", 0);
    }
} headless_environment;

#ifdef _WIN32
// Read-only entries (tests of unwritable files) are made writable first, as chmod does below.
void remove_tree(const std::filesystem::path &path) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(path, error)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
        if (entry.is_directory(error) && !entry.is_symlink(error)) {
            remove_tree(entry.path());
        } else {
            fs::remove(entry.path(), error);
        }
    }
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove(path, error);
}
#else
void remove_tree(const std::string &path) {
    if (DIR *dir = opendir(path.c_str())) {
        while (dirent *entry = readdir(dir)) {
            if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
            std::string child = path + "/" + entry->d_name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                chmod(child.c_str(), 0700);
                remove_tree(child);
            } else {
                unlink(child.c_str());
            }
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}
#endif

Host *active_host = nullptr;

// The first run of a test program says which video driver and renderer it runs on, since
// what a test may expect of blended pixels depends on the renderer.
void report_renderer_once() {
    static bool reported = false;
    const std::string renderer = renderer_name();
    if (reported || renderer.empty()) return;
    reported = true;
    std::printf("[ video    ] driver %s, renderer %s\n", SDL_GetCurrentVideoDriver(), renderer.c_str());
    std::fflush(stdout);
}

void status_trampoline(vl_status *status) {
    Host &host = *active_host;
    const int call = host.status_calls++;
    if (call == 0) report_renderer_once();
    if (host.status) host.status(*status, call);
    if (call >= host.max_calls && !host.timed_out) {
        host.timed_out = true;
        push_quit();
    }
}

void online_trampoline(vl_online_status *online) {
    Host &host = *active_host;
    const int call = host.online_calls++;
    if (host.online) host.online(*online, call);
}

void push(SDL_Event &event) {
    event.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

} // namespace

std::string renderer_name() {
    SDL_RendererInfo info{};
    if (!vl.renderer || SDL_GetRendererInfo(vl.renderer, &info) != 0 || !info.name) return "";
    return info.name;
}

#ifdef _WIN32
TempDir::TempDir() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    std::random_device seed;
    std::mt19937 random(seed() ^ static_cast<unsigned>(GetCurrentProcessId()));
    path_ = base.string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("vorla-test-" + std::to_string(random() % 1000000000u));
        if (fs::create_directory(candidate, error)) {
            path_ = candidate.string();
            made_ = true;
            break;
        }
    }
}
#else
TempDir::TempDir() {
    char pattern[] = "/tmp/vorla-test-XXXXXX";
    const char *made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
    made_ = made != nullptr;
}
#endif

// Only a folder this object made is removed: the fallback path is shared.
TempDir::~TempDir() {
    if (made_) remove_tree(path_);
}

ScopedEnv::ScopedEnv(const char *name, const char *value) : name_(name) {
    if (const char *old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_file(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool file_exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

int32_t run_host(const std::string &ini_path, Host &host) {
    active_host = &host;
    host.status_calls = 0;
    host.online_calls = 0;
    host.timed_out = false;
    vl_set_poll_interval(host.poll_interval_ms);
    vl_set_online_poll(host.online ? online_trampoline : nullptr);
    const int32_t code = vl_run(ini_path.c_str(), status_trampoline);
    vl_set_online_poll(nullptr);
    active_host = nullptr;
    return code;
}

void reset_run_state(const std::string &ini_path, int32_t page) {
    std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", ini_path.c_str());
    default_settings(&vl.settings);
    std::memset(&vl.status, 0, sizeof vl.status);
    std::memset(&vl.online, 0, sizeof vl.online);
    vl.page = page;
    vl.focus = 0;
    vl.capture = -1;
    vl.confirm_open = false;
    vl.editing_field = vl.keypad_field = -1;
    vl.activated_by_pad = false;
    vl.refocus_id[0] = '\0';
    vl.note[0] = '\0';
    vl.fake_pad = -1;
    vl.controller = nullptr;
    vl.exit_code = -1;
    vl.running = true;
    vl.role = 0;
    vl.remembered_delay = 2;
    vl.address_pick = 0;
    fill_fields_from_settings();
}

void push_key(SDL_Keycode sym, uint16_t mod, bool repeat) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = vl_test_window_id();
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    event.key.keysym.mod = mod;
    push(event);
}

void push_text(const char *text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = vl_test_window_id();
    std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
    push(event);
}

void push_mouse_move(int32_t x, int32_t y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = vl_test_window_id();
    event.motion.x = x;
    event.motion.y = y;
    push(event);
}

void push_mouse_button(int32_t x, int32_t y, bool down, uint8_t button) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = vl_test_window_id();
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    push(event);
}

void push_click(int32_t x, int32_t y) {
    push_mouse_button(x, y, true);
    push_mouse_button(x, y, false);
}

void push_quit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    push(event);
}

std::vector<uint32_t> snapshot() {
    std::vector<uint32_t> frame(960 * 600, 0);
    if (vl_test_snapshot(frame.data(), static_cast<int32_t>(frame.size()), nullptr, nullptr) != 0) frame.clear();
    return frame;
}

uint32_t pixel(const std::vector<uint32_t> &frame, int32_t x, int32_t y) {
    if (frame.size() != 960u * 600u || x < 0 || y < 0 || x >= 960 || y >= 600) return 0;
    return frame[static_cast<size_t>(y) * 960 + static_cast<size_t>(x)];
}

uint32_t argb(uint32_t packed) {
    const uint32_t r = packed & 0xFF, g = (packed >> 8) & 0xFF, b = (packed >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

} // namespace vt
