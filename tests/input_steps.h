// A scripted user for the input tests: each step runs inside a status poll of a real
// run, a few polls after the previous one, so the events it pushes have been
// dispatched before the next step looks at the result.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace vt {

struct StepRun {
    int32_t exit_code = -1;
    int steps_run = 0;        // steps started before the run ended
    bool timed_out = false;   // the run outlived its steps and was closed
};

// A status record with a ready build of a usable ROM, so every page is reachable.
inline vl_status ready_status() {
    vl_status s{};
    s.state = 3;
    s.rom_ok = 1;
    std::snprintf(s.rom_path, sizeof s.rom_path, "%s", "/roms/game.gba");
    return s;
}

// Step k runs at poll 1 + k * gap. A run still going `gap` polls after the last step
// is closed with SDL_QUIT and reported as timed out.
inline StepRun run_steps(const std::string &ini, const std::vector<std::function<void()>> &steps,
                         const vl_status &status = ready_status(), int gap = 4) {
    StepRun result;
    Host host;
    host.status = [&](vl_status &s, int call) {
        s = status;
        if (call < 1 || (call - 1) % gap != 0) return;
        const size_t k = static_cast<size_t>((call - 1) / gap);
        if (k < steps.size()) {
            result.steps_run = static_cast<int>(k) + 1;
            steps[k]();
        } else if (k == steps.size()) {
            result.timed_out = true;
            push_quit();
        }
    };
    result.exit_code = run_host(ini, host);
    return result;
}

// The value of the first "key=" line of a settings file, or "" when there is none.
inline std::string ini_value(const std::string &ini_path, const std::string &key) {
    const std::string text = read_file(ini_path);
    const std::string needle = "\n" + key + "=";
    const size_t at = text.find(needle);
    if (at == std::string::npos) return "";
    const size_t start = at + needle.size();
    return text.substr(start, text.find_first_of("\r\n", start) - start);
}

// Pushes the same key n times, the first as a press and the rest as key repeats.
inline void push_held_key(SDL_Keycode sym, int n) {
    for (int i = 0; i < n; ++i) push_key(sym, 0, i > 0);
}

} // namespace vt
