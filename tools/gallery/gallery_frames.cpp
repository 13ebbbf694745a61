// Renders every scene of the scene table (tests/support/scene_table.cpp) through a real
// vl_run with a scripted host to <name>.png: the gallery pictures, which are also the
// golden frames the golden-frame test compares every renderer's frames with.
// Usage: gallery_frames [OUTPUT_DIR]   (default docs/gallery)
// The pictures are rendered with SDL's dummy video driver and its software renderer,
// whatever SDL_VIDEODRIVER says: the golden frames are that renderer's.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenes.h"
#include "test_support.h"

int main(int argc, char **argv) {
    const std::string dir = argc > 1 ? argv[1] : vt::kGalleryFolder;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    int failures = 0;
    for (const vt::Scene &scene : vt::scenes()) {
        const vt::SceneFrame frame = vt::render_scene(scene);
        std::string problem = frame.problem;
        if (problem.empty() && frame.renderer != "software")
            problem = "rendered by " + frame.renderer + ", not by the software renderer";
        const std::string path = dir + "/" + scene.name + ".png";
        if (problem.empty() && !vt::write_png(path, frame.pixels.data(), 960, 600)) problem = "cannot write " + path;
        if (!problem.empty()) {
            std::fprintf(stderr, "gallery_frames: %s: %s\n", scene.name.c_str(), problem.c_str());
            ++failures;
        }
    }
    std::printf("gallery_frames: %zu scenes, %d not written, in %s\n", vt::scenes().size(), failures, dir.c_str());
    return failures == 0 ? 0 : 1;
}
