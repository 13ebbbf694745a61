// Slider ids and the settings they edit: volume, controller deadzone and link delay.
#include "widgets.h"

#include "../frame/frame.h"
#include "../frame/state.h"
#include "lobby.h"

namespace {

struct SliderRow {
    int32_t vl_settings::*setting;
    int32_t step;     // left/right keyboard step
    int32_t maximum;  // 0 marks the link delay, whose maximum follows the player count
};

// slider_id   setting                    step   maximum
constexpr SliderRow kSliders[] = {
    {&vl_settings::volume, 5, kVolumeMax},
    {&vl_settings::deadzone, 1000, kDeadzoneMax},
    {&vl_settings::delay, 1, 0},
};
constexpr int32_t kSliderCount = static_cast<int32_t>(sizeof kSliders / sizeof kSliders[0]);

bool known(int32_t slider_id) { return slider_id >= 0 && slider_id < kSliderCount; }

} // namespace

int32_t slider_maximum(int32_t slider_id) {
    if (!known(slider_id)) return 0;
    if (slider_id == kDelaySlider) return delay_limit();
    return kSliders[slider_id].maximum;
}

int32_t slider_step(int32_t slider_id) { return known(slider_id) ? kSliders[slider_id].step : 0; }

int32_t slider_value(int32_t slider_id) {
    return known(slider_id) ? vl.settings.*kSliders[slider_id].setting : 0;
}

bool set_slider_value(int32_t slider_id, int32_t value) {
    if (!known(slider_id)) return false;
    const int32_t maximum = slider_maximum(slider_id);
    if (value < 0) value = 0;
    if (value > maximum) value = maximum;
    int32_t &setting = vl.settings.*kSliders[slider_id].setting;
    if (setting == value) return false;
    setting = value;
    // The lobby restores this delay when automatic delay is switched off again.
    if (slider_id == kDelaySlider) vl.remembered_delay = value;
    save_live_settings();
    return true;
}
