// Renderer resets: a target whose contents the renderer dropped is painted again before
// anything reads it, a device reset rebuilds the atlases and the target, and snapshots
// across full-screen and window-size changes hold the painted frame on every renderer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/state.h"
#include "test_support.h"

namespace {

constexpr int32_t kSettingsPage = 4;

// What a renderer leaves when it drops a target's contents: here, transparent black.
void clear_target() {
    SDL_Texture *previous = SDL_GetRenderTarget(vl.renderer);
    SDL_SetRenderTarget(vl.renderer, vl.target);
    SDL_SetRenderDrawColor(vl.renderer, 0, 0, 0, 0);
    SDL_RenderClear(vl.renderer);
    SDL_SetRenderTarget(vl.renderer, previous);
}

// Every atlas made transparent: text drawn from the old textures would be invisible.
void blank_atlases() {
    for (vl_font_atlas &atlas : vl.font_atlas) {
        if (!atlas.texture) continue;
        void *pixels = nullptr;
        int pitch = 0;
        int h = 0;
        SDL_QueryTexture(atlas.texture, nullptr, nullptr, nullptr, &h);
        ASSERT_EQ(SDL_LockTexture(atlas.texture, nullptr, &pixels, &pitch), 0) << SDL_GetError();
        std::memset(pixels, 0, static_cast<size_t>(pitch) * static_cast<size_t>(h));
        SDL_UnlockTexture(atlas.texture);
    }
}

void push_render_event(uint32_t type) {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

bool blank(const std::vector<uint32_t> &frame) {
    for (uint32_t p : frame)
        if (p != 0) return false;
    return true;
}

// Pixels that differ, for a readable failure.
size_t differing(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b) {
    if (a.size() != b.size()) return a.size() > b.size() ? a.size() : b.size();
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

// `after` is the page `before` showed, and `before` showed one.
void expect_painted_again(const std::vector<uint32_t> &before, const std::vector<uint32_t> &after) {
    ASSERT_EQ(before.size(), 960u * 600u);
    EXPECT_FALSE(blank(before));
    EXPECT_EQ(differing(before, after), 0u);
}

int32_t settings_run(vt::Host &host) {
    vt::TempDir dir;
    vl_set_start_page(kSettingsPage);
    const int32_t code = vt::run_host(dir.file("vorla.ini"), host);
    vl_set_start_page(0);
    return code;
}

TEST(RenderReset, TargetsResetPaintsTheFrameAgainBeforeTheNextPollReadsIt) {
    // The window is hidden so that the loop paints nothing of its own: only the reset
    // handling can bring the frame back.
    std::vector<uint32_t> before, after;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 3) {
            before = vt::snapshot();
            SDL_HideWindow(vl.window);
        } else if (call == 5) {
            clear_target();
            push_render_event(SDL_RENDER_TARGETS_RESET);
        } else if (call == 6) {
            after = vt::snapshot();
            vt::push_quit();
        }
    };
    EXPECT_EQ(settings_run(host), 0);
    expect_painted_again(before, after);
}

TEST(RenderReset, SnapshotPaintsAgainWhenSelectingTheTargetReportedAReset) {
    // A renderer resets during the first call that needs the device after a resize,
    // which can be the snapshot's own selection of the target.
    std::vector<uint32_t> before, after;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call != 3) return;
        before = vt::snapshot();
        clear_target();
        push_render_event(SDL_RENDER_TARGETS_RESET);
        after = vt::snapshot();
        vt::push_quit();
    };
    EXPECT_EQ(settings_run(host), 0);
    expect_painted_again(before, after);
}

TEST(RenderReset, DeviceResetRebuildsAtlasesAndTargetWithoutLeaking) {
    constexpr int kResets = 40;
    std::vector<uint32_t> before, after;
    int allocations_after_first = -1;
    int allocations_after_last = -1;
    SDL_Texture *first_atlas = nullptr;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 3) {
            before = vt::snapshot();
            first_atlas = vl.font_atlas[3].texture;
            SDL_HideWindow(vl.window);  // only the reset handling paints from here on
            blank_atlases();
            clear_target();
            push_render_event(SDL_RENDER_DEVICE_RESET);
        } else if (call == 4) {
            allocations_after_first = SDL_GetNumAllocations();
            after = vt::snapshot();
        } else if (call > 4 && call < 4 + kResets) {
            push_render_event(SDL_RENDER_DEVICE_RESET);
        } else if (call == 4 + kResets) {
            allocations_after_last = SDL_GetNumAllocations();
            vt::push_quit();
        }
    };
    EXPECT_EQ(settings_run(host), 0);
    // The texts come from new atlases: the old ones were blanked.
    expect_painted_again(before, after);
    EXPECT_NE(vl.font_atlas[3].texture, first_atlas);
    EXPECT_EQ(allocations_after_last, allocations_after_first) << "textures of earlier resets stay allocated";
}

// On Direct3D the first render call after a full-screen switch or a resize resets the
// device and clears the target; the next poll's snapshot can be that call. On the other
// renderers nothing is lost. Either way every snapshot shows a painted page: the page as
// it was before the change until the first frame after it, then the changed page.
TEST(RenderReset, SnapshotsAcrossWindowModeChangesHoldThePaintedFrame) {
    struct Change {
        const char *widget;  // focused, then activated with Return
        int start_like;      // back to how the run began, focus as in this start shot; else -1
    };
    const Change changes[] = {
        {"fullscreen", -1}, {"fullscreen", 0}, {"size5", -1}, {"size3", 1},
    };
    constexpr int kCallsPerChange = 16;
    std::vector<uint32_t> start[2];  // the page as it began, focus on "fullscreen" and on "size3"
    std::vector<std::vector<uint32_t>> shots[4];
    vt::Host host;
    host.max_calls = 200;
    host.status = [&](vl_status &, int call) {
        if (call == 1) vl_test_set_focus("fullscreen");
        if (call == 2) {
            start[0] = vt::snapshot();
            vl_test_set_focus("size3");
        }
        if (call == 3) start[1] = vt::snapshot();
        if (call < 4) return;
        const int phase = (call - 4) / kCallsPerChange;
        const int step = (call - 4) % kCallsPerChange;
        if (phase >= 4) {
            vt::push_quit();
            return;
        }
        // Step 0 focuses the widget; the frame painted after it is the page before the
        // change, read at step 1, which pushes Return; the change happens before step 2.
        if (step == 0) vl_test_set_focus(changes[phase].widget);
        if (step >= 1) shots[phase].push_back(vt::snapshot());
        if (step == 1) vt::push_key(SDLK_RETURN);
    };
    vt::TempDir dir;
    vt::write_file(dir.file("vorla.ini"), "[video]\r\nscale = 3\r\nfullscreen = 0\r\n");
    vl_set_start_page(kSettingsPage);
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    vl_set_start_page(0);
    EXPECT_FALSE(host.timed_out);
    for (const std::vector<uint32_t> &shot : start) {
        ASSERT_EQ(shot.size(), 960u * 600u);
        ASSERT_FALSE(blank(shot));
    }
    for (int phase = 0; phase < 4; ++phase) {
        SCOPED_TRACE(std::string("change ") + std::to_string(phase) + ": " + changes[phase].widget);
        ASSERT_EQ(shots[phase].size(), static_cast<size_t>(kCallsPerChange - 1));
        const std::vector<uint32_t> &before = shots[phase].front();
        const std::vector<uint32_t> &after = shots[phase].back();
        EXPECT_NE(differing(before, after), 0u) << "the change shows on the page";
        bool changed = false;
        for (size_t k = 0; k < shots[phase].size(); ++k) {
            const std::vector<uint32_t> &shot = shots[phase][k];
            EXPECT_FALSE(blank(shot)) << "snapshot " << k << " is empty";
            const bool is_after = differing(shot, after) == 0;
            EXPECT_TRUE(is_after || differing(shot, before) == 0)
                << "snapshot " << k << " is neither the page before nor after the change";
            EXPECT_FALSE(changed && !is_after) << "snapshot " << k << " went back to the page before";
            changed = changed || is_after;
        }
        const int like = changes[phase].start_like;
        if (like >= 0) {
            EXPECT_EQ(differing(after, start[like]), 0u) << "not the page the run began with";
        }
    }
}

} // namespace
