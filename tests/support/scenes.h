// The launcher states that the gallery pictures show and the golden-frame test checks:
// one table of scenes (scene_table.cpp) and one way to run a scene (scene_run.cpp).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vorla_ui.h"

namespace vt {

struct Scene {
    std::string name;                                // picture docs/gallery/<name>.png
    int32_t page = 0;                                // page the run starts on
    std::function<void(vl_status &)> status;         // host status record at every poll; null: a ready ROM
    std::function<void()> prepare;                   // run state set at every poll from poll 1, before the build
    std::function<void(vl_online_status &)> online;  // null: no online callback
    const char *hover = nullptr;                     // widget the scripted pointer rests on; null: none
    const char *focus = nullptr;                     // focused widget: set directly, or reached by `keys`
    std::vector<SDL_Keycode> keys;                   // pushed once the first page is built
};

const std::vector<Scene> &scenes();

// Folder of the committed pictures, under the source tree.
constexpr const char *kGalleryFolder = "docs/gallery";

struct SceneFrame {
    std::vector<uint32_t> pixels;   // 960 x 600 ARGB8888 snapshot; empty when none was taken
    std::string renderer;           // name of the renderer vl_run picked
    std::string video_driver;       // SDL's video driver of the run
    std::vector<SDL_Rect> blended;  // what the frame's dimming layers blended over
    std::string problem;            // why the frame does not show the scene; empty when it does
};

// A vl_run of its own for the scene, with a scripted host that sets the scene up over
// the first polls, takes a snapshot once three frames were painted and quits: how the
// gallery pictures are made. Pointer events other than the scene's own are dropped for
// the run, so a real pointer over the window cannot hover a widget.
SceneFrame render_scene(const Scene &scene);

// All scenes one after another in a single vl_run, as render_scene sets each up, each
// starting from the state a run start gives (begin_run_state), so that each frame
// should equal what a run of its own shows. `take` gets every scene's frame in order,
// from inside the run. One run instead of one per scene: on renderers whose start-up
// and shutdown take a second or more (Direct3D under Wine) that keeps the test short.
void render_scenes_in_one_run(const std::vector<Scene> &scenes,
                              const std::function<void(const Scene &, SceneFrame &)> &take);

} // namespace vt
