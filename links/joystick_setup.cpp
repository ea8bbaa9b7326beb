// The assignment page of the joystick screen: calibration reset, each axis's
// function, direction and live reading, and the function of each of the 96
// buttons.
#include <algorithm>
#include <cstdio>

#include "core/alert.h"
#include "core/screen.h"
#include "core/simvars/joystick.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "links/joystick.h"

namespace {

constexpr float AXIS_LIST_X = 93.0f;
constexpr float AXIS_READING_X = 155.0f;
constexpr float AXIS_REVERSE_X = 330.0f;
constexpr float FUNCTION_COLUMN_X = 545.0f;

void reset_calibration(int axis)
{
    sim_joystick.joystick_axis_minimum[axis] = 9.9e9f;
    sim_joystick.joystick_axis_maximum[axis] = -9.9e9f;
}

}  // namespace

int JOY_button_caption_entry(int code)
{
    constexpr int autopilot_keys[6] = {70, 518, 66, 69, 67, 68};   // codes 58..63
    constexpr int late_codes[5] = {510, 513, 65, 598, 200};        // codes 91..95
    if (code >= 0 && code <= 57) return 7 + code;
    if (code >= 58 && code <= 63) return autopilot_keys[code - 58];
    if (code >= 64 && code <= 79) return 7 + code;
    if (code >= 80 && code <= 90) return 306 + code;
    if (code >= 91 && code <= 95) return late_codes[code - 91];
    MACIBM_nuke_alert(0, "Bad joy button index!", "", "", "", ALERT_FATAL);
    return 0;
}

void JOY_setup_screen()
{
    sim_joystick_block& j = sim_joystick;
    const float top = screen.screen_area_height;
    const bool direct = !JOY_console_is_source();

    if (direct && BTN_push_button(290.0f, top - 73.0f, 0, 1, LANG_ui_text(589))) {
        for (int i = 0; i < JOYSTICK_AXES; ++i) reset_calibration(i);
        MACIBM_nuke_alert(0, LANG_ui_text(590), LANG_ui_text(591), LANG_ui_text(592), LANG_ui_text(593), ALERT_NOTICE);
    }

    float scratch[JOY_AXIS_CODES - 1] = {};
    float* s = scratch;
    JOY_poll(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7], &s[8], &s[9], &s[10], &s[11], 0);

    if (direct) {
        for (int i = 0; i < JOYSTICK_AXES; ++i) {
            const float y = top - 117.0f - 40.0f * static_cast<float>(i);
            // The function list, the reading with its caption clear of the
            // list, and the reverse switch captioned on its right, short of
            // the button selector.
            if (BTN_text_list(AXIS_LIST_X, y, &j.joystick_axis_assignments[i], LANG_ui_text(3), "")) reset_calibration(i);
            BTN_check_box(AXIS_REVERSE_X, y, &j.joystick_axis_reverse[i], LANG_ui_text(6), 0);
            const int style = j.joystick_axis_assignments[i] == JOY_AXIS_NONE ? 1 : 0;
            float shown = j.joystick_axis_values[i];
            BTN_slider(AXIS_READING_X, y, style, j.joystick_axis_minimum[i], j.joystick_axis_maximum[i], &shown, 0,
                       LANG_ui_text(572), "");
        }
    }

    // The button selector: a click, or the joystick button itself, makes a button current.
    int32_t& current = joystick.current_button;
    for (int i = 0; i < JOYSTICK_BUTTONS; ++i) {
        char label[8];
        std::snprintf(label, sizeof label, "%d", i);
        const float x = 425.0f + 40.0f * static_cast<float>(i / 32);
        const float y = top - 75.0f - 20.0f * static_cast<float>(i % 32);
        if (BTN_push_button(x, y, i == current, 0, label)) current = i;
        if (j.joystick_button_values[i] != 0 && joystick.last_button_values[i] == 0) current = i;
    }

    // The function list of the current button.
    int32_t* function = &j.joystick_button_assignments[current];
    for (int c = 0; c < JOY_BUTTON_CODES; ++c) {
        const float x = FUNCTION_COLUMN_X + 150.0f * static_cast<float>(c / 32);
        const float y = top - 80.0f - 20.0f * static_cast<float>(c % 32);
        BTN_radio_button(x, y, function, c, LANG_ui_text(JOY_button_caption_entry(c)));
    }
}
