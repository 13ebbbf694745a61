// Where the launcher window opens: a size that fits the usable area of its display and a
// place inside it; the place and focus of the last run for hosts that keep them; and keys
// held down from before the window appeared, which must not act in it.
//
// The run tests hold on every driver the test command uses. Their exact sizes are those
// of the displays it gives them: SDL's dummy display (1024 x 768) and, in the display
// stage, an Xvfb screen of 1280 x 720 (the x11_* entries of tests/CMakeLists.txt); on any
// other display they check the rules' properties.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "frame/state.h"
#include "frame/window_place.h"
#include "input_steps.h"
#include "test_support.h"

#include <SDL_syswm.h>  // last: on X11 it brings in Xlib's macros

// For the expectations on SDL's own point type, found where gtest looks for them.
static std::ostream &operator<<(std::ostream &out, SDL_Point p) { return out << "(" << p.x << ", " << p.y << ")"; }
static bool operator==(SDL_Point a, SDL_Point b) { return a.x == b.x && a.y == b.y; }

namespace {

SDL_Point scale_size(int32_t scale) {
    SDL_Point p{};
    window_size_for_scale(scale, &p.x, &p.y);
    return p;
}

// ---- the rules ---------------------------------------------------------------------------

TEST(WindowFit, LargestScaleThatFitsTheUsableAreaWithItsBorders) {
    const vl_borders none{0, 0, 0, 0};
    const vl_borders framed{30, 4, 4, 4};  // a title bar and thin edges
    struct Row {
        const char *name;
        int32_t scale;
        SDL_Rect usable;
        vl_borders borders;
        SDL_Point size;
    } rows[] = {
        {"dummy display, scale 4 fits", 4, {0, 0, 1024, 768}, none, {960, 640}},
        {"dummy display, scale 5 falls to 4", 5, {0, 0, 1024, 768}, none, {960, 640}},
        {"dummy display, scale 6 falls to 4", 6, {0, 0, 1024, 768}, none, {960, 640}},
        {"laptop at 150 %, scale 5", 5, {0, 0, 1280, 720}, none, {960, 640}},
        {"laptop at 150 %, scale 3", 3, {0, 0, 1280, 720}, none, {960, 600}},
        {"1280 x 800 less a panel, scale 6", 6, {0, 30, 1280, 770}, none, {960, 640}},
        {"the borders count: 640 + 38 > 670", 4, {0, 0, 1280, 670}, framed, {960, 600}},
        {"the borders count: 640 + 38 = 678", 4, {0, 0, 1280, 678}, framed, {960, 640}},
        {"a large display keeps scale 6", 6, {1920, 0, 1920, 1040}, framed, {1440, 960}},
        {"not even scale 1: the area less the borders", 6, {0, 0, 900, 560}, framed, {892, 526}},
        {"not even scale 1, no borders", 2, {0, 0, 800, 500}, none, {800, 500}},
        {"a scale below 1 reads as 1", 0, {0, 0, 1024, 768}, none, {960, 600}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(fitted_window_size(r.scale, r.usable, r.borders), r.size);
    }
}

TEST(WindowFit, CentredAndMovedInsideTheUsableArea) {
    const vl_borders framed{30, 4, 4, 4};
    const SDL_Rect usable{100, 50, 1280, 720};  // a second display, say, below a panel
    const SDL_Point size{960, 640};             // outer 968 x 674
    // The whole window, borders included, centred: 156 px left and right, 23 above and below.
    EXPECT_EQ(centred_window_position(usable, size, framed), (SDL_Point{100 + 156 + 4, 50 + 23 + 30}));
    EXPECT_EQ(centred_window_position({0, 0, 1024, 768}, size, vl_borders{}), (SDL_Point{32, 64}));

    struct Row {
        const char *name;
        SDL_Point at;
        bool fits;
        SDL_Point inside;
    } rows[] = {
        {"inside", {300, 100}, true, {300, 100}},
        {"touching the top-left corner", {104, 80}, true, {104, 80}},
        {"touching the bottom-right corner", {100 + 1280 - 964, 50 + 720 - 644}, true, {416, 126}},
        {"title bar above the area", {300, 70}, false, {300, 80}},
        {"off the left edge", {50, 100}, false, {104, 100}},
        {"past the right and bottom edges", {1000, 700}, false, {416, 126}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(window_fits_at(r.at, size, framed, usable), r.fits);
        EXPECT_EQ(window_moved_inside(r.at, size, framed, usable), r.inside);
    }
    // Larger than the area: the top-left corner, with the title bar, stays inside.
    EXPECT_EQ(window_moved_inside({500, 500}, {1400, 900}, framed, usable), (SDL_Point{104, 80}));
}

// ---- the window of a run ---------------------------------------------------------------

struct Seen {
    SDL_Point size{}, position{};
    vl_borders borders{};
    SDL_Rect usable{};
    int32_t display = -1;
    std::string focus;
};

Seen look() {
    Seen s;
    SDL_GetWindowSize(vl.window, &s.size.x, &s.size.y);
    SDL_GetWindowPosition(vl.window, &s.position.x, &s.position.y);
    if (SDL_GetWindowBordersSize(vl.window, &s.borders.top, &s.borders.left, &s.borders.bottom,
                                 &s.borders.right) != 0)
        s.borders = vl_borders{};
    s.display = SDL_GetWindowDisplayIndex(vl.window);
    if (SDL_GetDisplayUsableBounds(s.display, &s.usable) != 0) SDL_GetDisplayBounds(s.display, &s.usable);
    const char *focus = vl_test_focus();
    s.focus = focus ? focus : "";
    return s;
}

// The window's outer edges less the usable area's: left, top, right, bottom margins.
struct Margins {
    int32_t left, top, right, bottom;
};
Margins margins(const Seen &s) {
    const int32_t left = s.position.x - s.borders.left, top = s.position.y - s.borders.top;
    const int32_t right = s.position.x + s.size.x + s.borders.right, bottom = s.position.y + s.size.y + s.borders.bottom;
    return {left - s.usable.x, top - s.usable.y, s.usable.x + s.usable.w - right, s.usable.y + s.usable.h - bottom};
}

bool fits(SDL_Point size, const Seen &s) {
    return size.x + s.borders.left + s.borders.right <= s.usable.w &&
           size.y + s.borders.top + s.borders.bottom <= s.usable.h;
}

void expect_inside(const Seen &s) {
    const Margins m = margins(s);
    EXPECT_GE(m.left, 0);
    EXPECT_GE(m.top, 0);
    EXPECT_GE(m.right, 0);
    EXPECT_GE(m.bottom, 0);
}

void expect_centred(const Seen &s) {
    expect_inside(s);
    const Margins m = margins(s);
    EXPECT_LE(std::abs(m.left - m.right), 1) << "left " << m.left << ", right " << m.right;
    EXPECT_LE(std::abs(m.top - m.bottom), 1) << "top " << m.top << ", bottom " << m.bottom;
}

// The size is that of a scale up to the chosen one, and no larger scale up to it fits.
void expect_largest_fitting_scale(const Seen &s, int32_t scale) {
    int32_t used = 0;
    for (int32_t k = 1; k <= scale; ++k)
        if (scale_size(k) == s.size) used = k;
    ASSERT_GT(used, 0) << "the size " << s.size << " is that of no scale up to " << scale;
    EXPECT_TRUE(fits(s.size, s));
    for (int32_t k = used + 1; k <= scale; ++k)
        if (!(scale_size(k) == s.size)) {
            EXPECT_FALSE(fits(scale_size(k), s)) << "scale " << k << " fits too";
        }
}

// Window sizes per scale 1 to 6 on the displays the test command gives the tests.
struct KnownDisplay {
    int32_t w, h;
    SDL_Point sizes[6];
};
const KnownDisplay kKnownDisplays[] = {
    {1024, 768, {{960, 600}, {960, 600}, {960, 600}, {960, 640}, {960, 640}, {960, 640}}},  // SDL's dummy display
    {1280, 720, {{960, 600}, {960, 600}, {960, 600}, {960, 640}, {960, 640}, {960, 640}}},  // a 150 % laptop
};

const KnownDisplay *known_display(const Seen &s) {
    const bool frameless = s.borders.top == 0 && s.borders.left == 0 && s.borders.bottom == 0 && s.borders.right == 0;
    for (const KnownDisplay &d : kKnownDisplays)
        if (frameless && s.usable.x == 0 && s.usable.y == 0 && s.usable.w == d.w && s.usable.h == d.h) return &d;
    return nullptr;
}

// One run on `page` with `ini`; `act` runs once the page is up, then `seen` is read at
// the next poll (after the events `act` pushed) and the run ends.
Seen run_and_look(const std::string &ini, uint32_t page, const std::function<void()> &act = nullptr) {
    Seen seen;
    vl_set_start_page(page);
    vt::Host host;
    host.max_calls = 60;
    host.status = [&](vl_status &s, int call) {
        s = vt::ready_status();
        if (call == 2 && act) act();
        if (call == 6) {
            seen = look();
            vt::push_quit();
        }
    };
    vt::run_host(ini, host);
    vl_set_start_page(0);
    EXPECT_FALSE(host.timed_out);
    return seen;
}

std::string ini_with_scale(int32_t scale, int32_t fullscreen = 0) {
    return "[video]\r\nscale=" + std::to_string(scale) + "\r\nfullscreen=" + std::to_string(fullscreen) + "\r\n";
}

TEST(WindowFitRun, EachScaleOpensAtTheLargestFittingSizeCentredInTheUsableArea) {
    for (int32_t scale = 1; scale <= 6; ++scale) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        vt::TempDir dir;
        const std::string ini = dir.file("vorla.ini");
        vt::write_file(ini, ini_with_scale(scale));
        const Seen s = run_and_look(ini, kPageMain);
        expect_largest_fitting_scale(s, scale);
        expect_centred(s);
        if (const KnownDisplay *d = known_display(s)) {
            EXPECT_EQ(s.size, d->sizes[scale - 1]) << "on the " << d->w << " x " << d->h << " display";
            EXPECT_EQ(s.position, (SDL_Point{(d->w - s.size.x) / 2, (d->h - s.size.y) / 2}));
        }
        EXPECT_EQ(vt::ini_value(ini, "scale"), std::to_string(scale)) << "the setting keeps the player's choice";
    }
}

// The size choices and full screen apply the same rule; leaving full screen centres.
TEST(WindowFitRun, SizeChoicesAndLeavingFullScreenFitTheDisplay) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, ini_with_scale(3));
    vl_set_start_page(kPageSettings);
    Seen after_size6, after_fullscreen_off;
    const vt::StepRun run = vt::run_steps(
        ini,
        {
            [] { vl_test_set_focus("size6"); },
            [] { vt::push_key(SDLK_RETURN); },
            [&] {
                after_size6 = look();
                SDL_SetWindowPosition(vl.window, after_size6.usable.x + 3, after_size6.usable.y + 40);
                vl_test_set_focus("fullscreen");
                vt::push_key(SDLK_RETURN);
            },
            [] {
                int32_t full = 0;
                vl_test_video(nullptr, nullptr, &full);
                EXPECT_EQ(full, 1);
                vt::push_key(SDLK_RETURN);
            },
            [&] { after_fullscreen_off = look(); },
        });
    vl_set_start_page(0);
    EXPECT_TRUE(run.timed_out);
    EXPECT_EQ(vt::ini_value(ini, "scale"), "6");
    for (const Seen *s : {&after_size6, &after_fullscreen_off}) {
        expect_largest_fitting_scale(*s, 6);
        expect_centred(*s);
        if (const KnownDisplay *d = known_display(*s)) {
            EXPECT_EQ(s->size, d->sizes[5]);
        }
    }
}

// ---- the place and focus of the last run -----------------------------------------------

enum class Tamper { kNone, kDisplayGone, kDisplayRenamed };

struct KeepRow {
    const char *name;
    bool keep;
    uint32_t first_page;       // the page run 1 ends on
    const char *first_focus;   // the widget focused as it ends
    bool partly_off;           // run 1's window was moved partly off the usable area
    Tamper tamper;             // what became of its display before run 2
    bool reopens_there;        // run 2's window at run 1's place, else centred
    const char *second_focus;  // focused in run 2, which starts on the main page
};

const KeepRow kKeepRows[] = {
    {"off: centred, first widget", false, kPageMain, "input", false, Tamper::kNone, false, "play"},
    {"on: same place, same widget", true, kPageMain, "input", false, Tamper::kNone, true, "input"},
    {"on: a widget the page lacks", true, kPageSettings, "volume", false, Tamper::kNone, true, "play"},
    {"on: partly off the area", true, kPageMain, "quit", true, Tamper::kNone, false, "quit"},
    {"on: its display is gone", true, kPageMain, "online", false, Tamper::kDisplayGone, false, "online"},
    {"on: another display at its index", true, kPageMain, "input", false, Tamper::kDisplayRenamed, false, "input"},
};

TEST(KeepPlace, SecondRunReopensAtTheFirstRunsPlaceAndFocusOnlyWhenKeptAndFitting) {
    for (const KeepRow &row : kKeepRows) {
        SCOPED_TRACE(row.name);
        vt::TempDir dir;
        const std::string ini = dir.file("vorla.ini");
        vt::write_file(ini, ini_with_scale(3));
        vl_set_keep_place(row.keep ? 1 : 0);
        SDL_Point moved_to{};
        const Seen first = run_and_look(ini, row.first_page, [&] {
            const Seen now = look();
            moved_to = row.partly_off ? SDL_Point{now.usable.x + now.usable.w - now.size.x / 2, now.usable.y + 20}
                                      : SDL_Point{now.usable.x + now.borders.left + 13, now.usable.y + now.borders.top + 17};
            SDL_SetWindowPosition(vl.window, moved_to.x, moved_to.y);
            vl_test_set_focus(row.first_focus);
        });
        ASSERT_EQ(first.position, moved_to) << "the driver did not move the window";
        ASSERT_EQ(first.focus, row.first_focus);
        if (row.tamper == Tamper::kDisplayGone) vl.last_place.display = SDL_GetNumVideoDisplays() + 1;
        if (row.tamper == Tamper::kDisplayRenamed) vl.last_place.display_name[0] ^= 0x20;

        const Seen second = run_and_look(ini, kPageMain);
        vl_set_keep_place(0);
        EXPECT_EQ(second.focus, row.second_focus);
        EXPECT_EQ(second.size, first.size);
        if (row.reopens_there) {
            EXPECT_EQ(second.position, first.position);
            EXPECT_EQ(second.display, first.display);
        } else {
            expect_centred(second);
            EXPECT_EQ(second.display, 0);
        }
    }
}

// ---- keys held from before the window --------------------------------------------------

// What the system says about a key, pushed through SDL's queue as SDL itself does: the
// system message first, then the SDL events made from it.
class SystemKeys {
public:
    // The key was down when the window appeared (X11: the keymap sent at focus; Windows:
    // nothing yet, each key-down message carries it).
    void held_at_focus(std::vector<int> codes) {
#if defined(SDL_VIDEO_DRIVER_X11)
        XEvent x{};
        x.type = KeymapNotify;
        for (int code : codes) x.xkeymap.key_vector[code / 8] |= static_cast<char>(1 << (code % 8));
        push_x11(x);
#endif
        for (int code : codes) held_.push_back(code);
    }
    // One key-down (a press or an auto-repeat) with its SDL key-down and text.
    void down(int code, SDL_Keycode sym, bool repeat, const char *text = nullptr) {
#if defined(SDL_VIDEO_DRIVER_X11)
        XEvent x{};
        x.type = KeyPress;
        x.xkey.keycode = static_cast<unsigned>(code);
        push_x11(x);
#elif defined(SDL_VIDEO_DRIVER_WINDOWS)
        bool was_down = repeat;
        for (int held : held_) was_down = was_down || held == code;
        push_windows(WM_KEYDOWN, was_down ? LPARAM{1} << 30 : 0);
#endif
        vt::push_key(sym, 0, repeat);
        if (text) {
#if defined(SDL_VIDEO_DRIVER_WINDOWS)
            push_windows(WM_CHAR, 0);
#endif
            vt::push_text(text);
        }
    }
    void up(int code, SDL_Keycode sym) {
#if defined(SDL_VIDEO_DRIVER_X11)
        XEvent x{};
        x.type = KeyRelease;
        x.xkey.keycode = static_cast<unsigned>(code);
        push_x11(x);
#elif defined(SDL_VIDEO_DRIVER_WINDOWS)
        push_windows(WM_KEYUP, 0);
#endif
        for (auto it = held_.begin(); it != held_.end();) it = *it == code ? held_.erase(it) : it + 1;
        SDL_Event e{};
        e.type = SDL_KEYUP;
        e.key.windowID = vl_test_window_id();
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        SDL_PushEvent(&e);
    }

private:
    void push(SDL_SysWMmsg &msg) {
        SDL_VERSION(&msg.version);
        SDL_Event e{};
        e.type = SDL_SYSWMEVENT;
        e.syswm.msg = &msg;
        SDL_PushEvent(&e);  // the filter reads it at once
    }
#if defined(SDL_VIDEO_DRIVER_X11)
    void push_x11(const XEvent &x) {
        SDL_SysWMmsg msg{};
        msg.subsystem = SDL_SYSWM_X11;
        msg.msg.x11.event = x;
        push(msg);
    }
#endif
#if defined(SDL_VIDEO_DRIVER_WINDOWS)
    void push_windows(UINT message, LPARAM lparam) {
        SDL_SysWMmsg msg{};
        msg.subsystem = SDL_SYSWM_WINDOWS;
        msg.msg.win.msg = message;
        msg.msg.win.lParam = lparam;
        push(msg);
    }
#endif
    std::vector<int> held_;
};

// X key codes of the keys used (any numbers would do: only their sameness counts).
constexpr int kXReturn = 36, kXLeft = 113, kXA = 38;

TEST(HeldKeys, AKeyHeldWhenTheWindowAppearedDoesNothingUntilReleased) {
    vt::TempDir dir;
    SystemKeys keys;
    const vt::StepRun run = vt::run_steps(
        dir.file("vorla.ini"),
        {
            [&] {
                vl_test_set_focus("settings");
                keys.held_at_focus({kXReturn});
                keys.down(kXReturn, SDLK_RETURN, false);  // auto-repeat, but SDL's first: repeat 0
                keys.down(kXReturn, SDLK_RETURN, true);
            },
            [&] {
                EXPECT_STREQ(vl_test_page(), "main") << "the held Return pressed the focused card";
                keys.up(kXReturn, SDLK_RETURN);
                keys.down(kXReturn, SDLK_RETURN, false);  // pressed again, in this window
            },
            [] { EXPECT_STREQ(vl_test_page(), "settings"); },
        });
    EXPECT_TRUE(run.timed_out);
}

TEST(HeldKeys, AKeyPressedInTheWindowKeepsRepeatingWhenTheSystemReportsItDown) {
    vt::TempDir dir;
    SystemKeys keys;
    vl_set_start_page(kPageSettings);
    int32_t volume = -1;
    const vt::StepRun run = vt::run_steps(
        dir.file("vorla.ini"),
        {
            [&] {
                vl_test_set_focus("volume");
                volume = vl.settings.volume;
                keys.down(kXLeft, SDLK_LEFT, false);
                keys.held_at_focus({kXLeft});  // the pointer entered while Left was down
                keys.down(kXLeft, SDLK_LEFT, true);
            },
            [&] { EXPECT_EQ(vl.settings.volume, volume - 10) << "Left pressed here steps on while it repeats"; },
        });
    vl_set_start_page(0);
    EXPECT_TRUE(run.timed_out);
}

TEST(HeldKeys, TheTextOfAHeldKeyIsDroppedWithItsKeyDowns) {
    vt::TempDir dir;
    SystemKeys keys;
    vl_set_start_page(kPageOnline);
    const vt::StepRun run = vt::run_steps(
        dir.file("vorla.ini"),
        {
            [] {
                vl_test_set_focus("online_name");
                vt::push_key(SDLK_RETURN);  // starts typing into the name
            },
            [&] {
                ASSERT_EQ(vl_test_editing(), 0);
                keys.held_at_focus({kXA});
                keys.down(kXA, SDLK_a, false, "a");
                keys.down(kXA, SDLK_a, true, "a");
            },
            [&] {
                EXPECT_STREQ(vl_test_field(0), "Player") << "the held key's text reached the field";
                keys.up(kXA, SDLK_a);
                keys.down(kXA, SDLK_a, false, "a");
            },
            [] { EXPECT_STREQ(vl_test_field(0), "Playera"); },
        });
    vl_set_start_page(0);
    EXPECT_TRUE(run.timed_out);
}

} // namespace
