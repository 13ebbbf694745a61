// Running scenes: a scripted host around vl_run that sets a scene up over its first polls,
// places the pointer and the focus, and takes the snapshot; one run per scene, or all
// scenes in one run.
#include <cstdio>
#include <cstring>

#include "draw/painters.h"
#include "frame/frame.h"
#include "frame/present_rect.h"
#include "frame/state.h"
#include "scenes.h"
#include "test_support.h"

namespace vt {
namespace {

// Mouse id of the pointer events a scene pushes. SDL gives a real pointer's events 0
// (the system mouse) or SDL_TOUCH_MOUSEID, never this.
constexpr Uint32 kScriptedMouse = 0x564C;

// A real pointer resting on or crossing the window (on a display, or Wine's) would set
// the hover; only the scene's own pointer events get into the queue.
int SDLCALL scripted_pointer_only(void *, SDL_Event *event) {
    switch (event->type) {
    case SDL_MOUSEMOTION: return event->motion.which == kScriptedMouse;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event->button.which == kScriptedMouse;
    case SDL_MOUSEWHEEL: return 0;
    default: return 1;
    }
}

// The status record of most scenes: a ROM that is ready to play.
void ready_rom(vl_status &s) {
    s.state = 3;
    s.percent = 100;
    std::snprintf(s.rom_path, sizeof s.rom_path, "%s", "/roms/vorla.gba");
    s.rom_ok = 1;
}

// An event that ends the next pass's wait for events at once, so a scene does not sit
// out the loop's 16 ms idle wait after every poll. The library ignores user events.
void wake_loop() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
}

// Window coordinates that map onto the centre of logical pixel (lx, ly): the inverse of
// the library's mouse mapping for the window's current size and scaling.
void window_point(int32_t lx, int32_t ly, int32_t &wx, int32_t &wy) {
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(vl.window, &ww, &wh);
    SDL_GetRendererOutputSize(vl.renderer, &ow, &oh);
    const SDL_Rect r = present_rect_for(ow, oh, vl.settings.scaling);
    const int64_t ox = r.x + (int64_t{2} * lx + 1) * r.w / (2 * kLogicalWidth);
    const int64_t oy = r.y + (int64_t{2} * ly + 1) * r.h / (2 * kLogicalHeight);
    wx = static_cast<int32_t>(ow > 0 ? ox * ww / ow : ox);
    wy = static_cast<int32_t>(oh > 0 ? oy * wh / oh : oy);
}

bool point_at(const char *id) {
    int32_t x = 0, y = 0, w = 0, h = 0;
    if (!vl_test_widget(id, &x, &y, &w, &h)) return false;
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.timestamp = SDL_GetTicks();
    event.motion.windowID = vl_test_window_id();
    event.motion.which = kScriptedMouse;
    window_point(x + w / 2, y + h / 2, event.motion.x, event.motion.y);
    SDL_PushEvent(&event);
    return true;
}

const char *hovered_id() { return vl.hover >= 0 && vl.hover < vl.widget_count ? vl.widgets[vl.hover].id : nullptr; }

// What differs from the scene in the run state the snapshot shows; empty when nothing.
std::string state_problem(const Scene &scene) {
    const char *hovered = hovered_id();
    if (scene.hover && (!hovered || std::strcmp(hovered, scene.hover) != 0))
        return std::string("the pointer should hover ") + scene.hover + ", hovers " + (hovered ? hovered : "nothing");
    if (!scene.hover && hovered) return std::string("no pointer was placed, yet ") + hovered + " is hovered";
    if (scene.focus && std::strcmp(vl_test_focus(), scene.focus) != 0)
        return std::string("the focus should be on ") + scene.focus + ", is on " + vl_test_focus();
    return "";
}

// One scene's part of a run, at poll `step` counted from the scene's start (0: the run's
// start-up call, or the poll that starts the scene in a shared run). Poll 1 sets the
// scene's state and builds its page (an overlay's widgets exist only from then on); poll 2
// places the pointer, the focus and the keys, which the next pass dispatches before it
// paints; poll 4 takes the snapshot of the frame painted after poll 3.
constexpr int kSetUpStep = 2;
constexpr int kSnapshotStep = 4;

void scene_step(const Scene &scene, vl_status &s, int step, SceneFrame &out) {
    if (scene.status) {
        scene.status(s);
    } else {
        ready_rom(s);
    }
    if (step >= 1 && scene.prepare) scene.prepare();
    if (step == kSetUpStep) {
        if (scene.hover && !point_at(scene.hover))
            out.problem = std::string("no widget ") + scene.hover + " to place the pointer on";
        if (scene.focus && scene.keys.empty()) vl_test_set_focus(scene.focus);
        for (SDL_Keycode key : scene.keys) push_key(key);
    }
    if (step == kSnapshotStep) {
        out.renderer = renderer_name();
        const char *driver = SDL_GetCurrentVideoDriver();
        out.video_driver = driver ? driver : "";
        out.pixels = snapshot();
        SDL_Rect rects[kBlendedRectsMax];
        out.blended.assign(rects, rects + blended_rects(vl.confirm_open, vl.keypad_field, rects));
        if (out.pixels.empty() && out.problem.empty()) out.problem = "vl_test_snapshot failed";
        if (out.problem.empty()) out.problem = state_problem(scene);
    }
}

std::string ending_problem(int32_t code) {
    return code == VL_EXIT_QUIT ? "" : "the run ended with code " + std::to_string(code) + " instead of quitting";
}

// The online callback of a shared run: the current scene's, registered only while that
// scene has one, as its own run would.
const Scene *online_scene = nullptr;
void shared_run_online(vl_online_status *online) {
    if (online_scene && online_scene->online) online_scene->online(*online);
}

} // namespace

SceneFrame render_scene(const Scene &scene) {
    SceneFrame out;
    TempDir temp;
    Host host;
    bool snapped = false;
    host.status = [&](vl_status &s, int call) {
        if (call == 0) SDL_SetEventFilter(scripted_pointer_only, nullptr);
        scene_step(scene, s, call, out);
        if (call == kSnapshotStep) {
            snapped = true;
            push_quit();
        }
        wake_loop();
    };
    if (scene.online) host.online = [&](vl_online_status &o, int) { scene.online(o); };
    vl_set_start_page(static_cast<uint32_t>(scene.page));
    const int32_t code = run_host(temp.file("vorla.ini"), host);
    vl_set_start_page(0);
    SDL_SetEventFilter(nullptr, nullptr);
    if (!snapped) {
        out.problem = "the run ended with code " + std::to_string(code) + " before the snapshot";
    } else if (out.problem.empty()) {
        out.problem = ending_problem(code);
    }
    return out;
}

void render_scenes_in_one_run(const std::vector<Scene> &list,
                              const std::function<void(const Scene &, SceneFrame &)> &take) {
    if (list.empty()) return;
    TempDir temp;
    Host host;
    size_t current = 0;
    int scene_start = 0;
    SceneFrame frame;
    // Each scene starts from what a run of its own would start from: a settings file
    // that does not exist yet, its start page, its online callback or none.
    auto begin_scene = [&](size_t index) {
        const Scene &scene = list[index];
        vl_set_start_page(static_cast<uint32_t>(scene.page));
        begin_run_state(temp.file("scene" + std::to_string(index) + ".ini").c_str());
        online_scene = &scene;
        vl_set_online_poll(scene.online ? shared_run_online : nullptr);
        frame = SceneFrame{};
    };
    host.status = [&](vl_status &s, int call) {
        if (call == 0) {
            SDL_SetEventFilter(scripted_pointer_only, nullptr);
            online_scene = &list[0];  // vl_run's start-up began the first scene
            vl_set_online_poll(list[0].online ? shared_run_online : nullptr);
        }
        int step = call - scene_start;
        if (step == kSnapshotStep) {
            scene_step(list[current], s, step, frame);
            take(list[current], frame);
            if (++current == list.size()) {
                push_quit();
            } else {
                begin_scene(current);
                scene_start = call;
                step = 0;
            }
        }
        if (current < list.size()) scene_step(list[current], s, step, frame);
        wake_loop();
    };
    vl_set_start_page(static_cast<uint32_t>(list[0].page));
    const int32_t code = run_host(temp.file("scene0.ini"), host);
    online_scene = nullptr;
    vl_set_start_page(0);
    SDL_SetEventFilter(nullptr, nullptr);
    for (; current < list.size(); ++current) {
        frame = SceneFrame{};
        frame.problem = "the shared run ended with code " + std::to_string(code) + " before this scene";
        take(list[current], frame);
    }
}

} // namespace vt
