// Joystick devices and axes: opening the controllers, the per-frame poll,
// the calibration map, the null zone and power curve, joystick detection and
// the mouse as the joystick.
#include "links/joystick.h"

#include <algorithm>
#include <iterator>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/joystick.h"
#include "core/simvars/operation.h"
#include "core/simvars/screen_settings.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "links/console.h"

joystick_state joystick;
joystick_screen_state joystick_screen;

ORVELL_RESET_RECORD(SETUP_joystick_reset, joystick_screen, program);

namespace {

constexpr int ACQUIRE_TRIES = 3;     // a lost controller is looked for at most this often a frame
constexpr float DETECT_MOVE = 0.01f; // an assigned primary axis moved: a joystick is there

// The button that steps the first throttle instead of its function.
constexpr int BUTTON_THROTTLE_DOWN = 30;
constexpr int BUTTON_THROTTLE_UP = 29;
constexpr int BUTTON_THROTTLE_ALL = 31;

bool down(const int32_t* values, int b) { return values[b] != 0; }

void release_devices()
{
    for (plat_joy*& d : joystick.devices) {
        PLAT_joy_release(d);
        d = nullptr;
    }
}

// Reads one device into the axis and button values; false ends the frame's poll.
bool read_device(int slot, int& axis, int& button)
{
    plat_joy* d = joystick.devices[slot];
    sim_joystick_block& j = sim_joystick;
    if (PLAT_joy_poll(d) != PLAT_JOY_OK) {
        for (int t = 0; t < ACQUIRE_TRIES && PLAT_joy_acquire(d) == PLAT_JOY_INPUT_LOST; ++t) {
        }
        return false;
    }
    plat_joy_state s;
    if (PLAT_joy_get_state(d, &s) != PLAT_JOY_OK) return false;
    const int32_t* present = joystick.presence[slot];
    for (int k = 0; k < PLAT_JOY_STATE_AXES; ++k) {
        if (!present[k]) continue;
        j.joystick_axis_values[std::min(axis, JOYSTICK_AXES - 1)] = static_cast<float>(s.axes[k]);
        ++axis;
    }
    for (int h = 0; h < PLAT_JOY_STATE_HATS; ++h) {
        if (!present[JOY_PRESENT_HAT_0 + h]) continue;
        for (int dir = 0; dir < JOY_HAT_DIRECTIONS; ++dir) {
            j.joystick_button_values[std::min(button, JOYSTICK_BUTTONS - 1)] = s.hats[h] == dir * 4500 ? 1 : 0;
            ++button;
        }
    }
    for (int b = 0; b < JOY_DEVICE_BUTTONS; ++b) {
        j.joystick_button_values[std::min(button, JOYSTICK_BUTTONS - 1)] = s.buttons[b] & PLAT_JOY_BUTTON_DOWN;
        ++button;
    }
    return true;
}

bool primary_overridden(int code)
{
    const sim_operation_override_block& o = sim_operation_override;
    if (!o.override_joystick) return false;
    if (code == JOY_AXIS_PITCH) return o.override_joystick_pitch != 0;
    if (code == JOY_AXIS_ROLL) return o.override_joystick_roll != 0;
    return o.override_joystick_heading != 0;
}

void map_axes(float* const dest[JOY_AXIS_CODES - 1], bool calibrating)
{
    sim_joystick_block& j = sim_joystick;
    const acf_struct& a = pln[0];
    const float prop_low = a.acf_RSC_mingreen_prp;
    float prop_high = a.acf_RSC_redline_prp;
    if (std::fabs(prop_high - prop_low) < 1.0f) prop_high = prop_low + 1.0f;

    for (int i = 0; i < JOYSTICK_AXES; ++i) {
        if (!j.has_joystick && !calibrating) break;
        const int32_t code = j.joystick_axis_assignments[i];
        // A code past 12 (from a preferences file or a plug-in) would name a
        // destination past the twelve: such an axis, like code 0, maps to nothing.
        if (code <= JOY_AXIS_NONE || code >= JOY_AXIS_CODES) continue;
        const bool primary = code <= JOY_AXIS_YAW;
        if (code == JOY_AXIS_YAW) j.eq_ped_nobrk = 1;
        if (code == JOY_AXIS_LEFT_TOE_BRAKE || code == JOY_AXIS_RIGHT_TOE_BRAKE) j.eq_ped_wibrk = 1;
        if (primary && primary_overridden(code)) continue;
        if (code == JOY_AXIS_VECTOR && !a.acf_vectEQ) continue;
        if (code == JOY_AXIS_SWEEP && !a.acf_varsweepEQ) continue;
        float* out = dest[code - 1];
        if (!out) continue;   // a caller without this destination passes none: nothing to write through
        float v = j.joystick_axis_values[i];
        JOY_axis_scale(i, primary ? -1.0f : 0.0f, 1.0f, &v);
        if (primary) {
            v = JOY_null_zone_curve(v, code - JOY_AXIS_PITCH);
        } else if (code == JOY_AXIS_PROPELLER) {
            v = prop_low + v * (prop_high - prop_low);
        } else if (code == JOY_AXIS_VECTOR) {
            v = JOY_VECTOR_LOWER + v * (JOY_VECTOR_UPPER - JOY_VECTOR_LOWER);
            v = std::clamp(v, std::min(JOY_VECTOR_LOWER, JOY_VECTOR_UPPER), std::max(JOY_VECTOR_LOWER, JOY_VECTOR_UPPER));
        }
        *out = v;
    }
}

void detect_joystick()
{
    sim_joystick_block& j = sim_joystick;
    for (int i = 0; i < JOYSTICK_AXES && !j.has_joystick; ++i) {
        const int32_t code = j.joystick_axis_assignments[i];
        if (code < JOY_AXIS_PITCH || code > JOY_AXIS_YAW) continue;
        const int k = code - JOY_AXIS_PITCH;
        const float v = j.joystick_axis_values[i];
        if (!joystick.first_seen[k]) {
            joystick.first_seen[k] = true;
            joystick.first_value[k] = v;
        }
        if (std::fabs(v - joystick.first_value[k]) > DETECT_MOVE) j.has_joystick = 1;
    }
}

// Buttons 29 to 31 step the first throttle of an autogyro-type aircraft.
void button_throttle()
{
    sim_joystick_block& j = sim_joystick;
    const acf_struct& a = pln[0];
    if (a.acf_prop_type[0] != 3 || !screen_settings.eq_button_throttle) return;
    const int32_t* now = j.joystick_button_values;
    const int32_t* last = joystick.last_button_values;
    const float thro = flt[0].ENGN_thro[0];
    if (down(now, BUTTON_THROTTLE_DOWN) && !down(last, BUTTON_THROTTLE_DOWN)) ENGN_set_throttle(0, thro - 0.1f);
    if (down(now, BUTTON_THROTTLE_UP) && !down(last, BUTTON_THROTTLE_UP)) ENGN_set_throttle(0, thro + 0.1f);
    if (down(now, BUTTON_THROTTLE_ALL) && down(now, BUTTON_THROTTLE_DOWN)) ENGN_set_throttle(0, 0.0f);
    if (down(now, BUTTON_THROTTLE_ALL) && down(now, BUTTON_THROTTLE_UP)) ENGN_set_throttle(0, a.acf_throtmax_FWD);
    j.joystick_button_values[BUTTON_THROTTLE_UP] = 0;
    j.joystick_button_values[BUTTON_THROTTLE_DOWN] = 0;
    j.joystick_button_values[BUTTON_THROTTLE_ALL] = 0;
}

void run_button_functions()
{
    const int32_t* codes = sim_joystick.joystick_button_assignments;
    const int32_t* now = sim_joystick.joystick_button_values;
    const int32_t* last = joystick.last_button_values;
    for (int b = 0; b < JOYSTICK_BUTTONS; ++b)
        if (down(now, b) && !down(last, b)) JOY_button_pressed(codes[b]);
    for (int b = 0; b < JOYSTICK_BUTTONS; ++b)
        if (!down(now, b) && down(last, b)) JOY_button_released(codes[b]);
    for (int b = 0; b < JOYSTICK_BUTTONS; ++b)
        if (down(now, b)) JOY_button_held(codes[b]);
    for (int b = 0; b < JOYSTICK_BUTTONS; ++b)
        if (!down(now, b)) JOY_button_idle(codes[b]);
}

}  // namespace

void JOY_reset()
{
    release_devices();
    if (joystick.layer_open) PLAT_joy_stop();
    joystick = joystick_state{};
}

bool JOY_console_is_source()
{
    const int32_t f = sim_joystick.eq_cirrusII_fun, a = sim_joystick.eq_cirrusII_app;
    return (f != 0 && f != 12) || (a != 0 && a != 12);
}

bool JOY_enum_device_cb(int device_index, void*)
{
    plat_joy* d = PLAT_joy_create(device_index);
    if (!d) return true;
    int& c = joystick.cursor;
    // With more than three controllers the third slot takes the last one
    // found; the one it held is let go.
    PLAT_joy_release(joystick.devices[c]);
    joystick.devices[c] = d;
    c = std::clamp(c + 1, 0, JOY_DEVICE_SLOTS - 1);
    return true;
}

bool JOY_enum_axis_cb(plat_joy_object_kind kind, int number, void*)
{
    int32_t* p = joystick.presence[std::clamp(joystick.cursor, 0, JOY_DEVICE_SLOTS - 1)];
    switch (kind) {
    case PLAT_JOY_X_AXIS:
    case PLAT_JOY_Y_AXIS:
    case PLAT_JOY_Z_AXIS:
    case PLAT_JOY_X_ROTATION:
    case PLAT_JOY_Y_ROTATION:
    case PLAT_JOY_Z_ROTATION: p[kind] = 1; break;
    case PLAT_JOY_SLIDER: p[p[JOY_PRESENT_SLIDER_0] ? JOY_PRESENT_SLIDER_1 : JOY_PRESENT_SLIDER_0] = 1; break;
    case PLAT_JOY_HAT: {
        int h = 0;
        while (h < 3 && p[JOY_PRESENT_HAT_0 + h]) ++h;
        p[JOY_PRESENT_HAT_0 + h] = 1;
        return true;
    }
    default: return true;
    }
    return PLAT_joy_set_range(joystick.devices[joystick.cursor], number, -100, 100) == PLAT_JOY_OK;
}

int JOY_init()
{
    JOY_reset();
    joystick.started = true;
    sim_joystick_block& j = sim_joystick;
    std::fill(std::begin(j.joystick_button_values), std::end(j.joystick_button_values), 0);
    if (!PLAT_joy_start()) return PLAT_JOY_FAILED;
    joystick.layer_open = true;
    const int r = PLAT_joy_enumerate(JOY_enum_device_cb, nullptr);
    if (r < 0) return r;
    // The platform's device opening sets the data format itself and its object
    // walk reports no result, so the last result is the enumeration's.
    for (int c = 0; c < JOY_DEVICE_SLOTS; ++c) {
        joystick.cursor = c;
        if (joystick.devices[c]) PLAT_joy_enum_objects(joystick.devices[c], JOY_enum_axis_cb, nullptr);
    }
    return r;
}

void JOY_close()
{
    if (!joystick.started) return;
    JOY_reset();
}

void JOY_axis_scale(int axis, float low, float high, float* value)
{
    // An axis index outside the 15 would read past the calibration: the value is left as it is.
    if (!value || axis < 0 || axis >= JOYSTICK_AXES) return;
    const sim_joystick_block& j = sim_joystick;
    if (j.joystick_axis_reverse[axis]) std::swap(low, high);
    const float min = j.joystick_axis_minimum[axis], max = j.joystick_axis_maximum[axis];
    if (max == min) {
        *value = (low + high) * 0.5f;
        return;
    }
    // A calibration limit that is no number or infinite (a damaged
    // preferences file) would hand NaN to the controls: such an axis gives
    // the middle of its range instead.
    const float r = low + (*value - min) * (high - low) / (max - min);
    *value = std::isfinite(r) ? std::clamp(r, std::min(low, high), std::max(low, high)) : (low + high) * 0.5f;
}

float JOY_null_zone_curve(float v, int k)
{
    const sim_joystick_block& j = sim_joystick;
    k = std::clamp(k, 0, 2);   // an index outside 0..2 would read past the three axes' settings
    const float zone[3] = {j.joystick_pitch_nullzone, j.joystick_roll_nullzone, j.joystick_heading_nullzone};
    const float gain[3] = {j.joystick_pitch_sensitivity, j.joystick_roll_sensitivity, j.joystick_heading_sensitivity};
    const bool response_tab = app_mode == MODE_JOYSTICK && joystick_screen.joystick_tab == 1;
    const bool source = j.has_joystick || j.eq_cirrusII_fun || j.eq_cirrusII_app;
    if (!response_tab && source) {
        if (v < 0.0f) v = std::min(v + zone[k], 0.0f);
        else if (v > 0.0f) v = std::max(v - zone[k], 0.0f);
    }
    const float mag = std::pow(std::fabs(v), 1.5f);
    return (v < 0.0f ? -mag : mag) * gain[k];
}

void JOY_mouse_yoke(float* yolk_pitch, float* yolk_roll)
{
    const acf_struct& a = pln[0];
    if (yolk_pitch) *yolk_pitch = -std::clamp((mouse.mouse_y - a.acf_HUD_cntry) * 0.01f, -1.0f, 1.0f);
    if (yolk_roll) *yolk_roll = std::clamp((mouse.mouse_x - a.acf_HUD_cntrx) * 0.01f, -1.0f, 1.0f);
}

void JOY_poll(float* yolk_pitch, float* yolk_roll, float* yolk_heading, float* throttle_1, float* throttle_2,
              float* left_brake, float* right_brake, float* prop_request, float* mixture, float* heat,
              float* vector_request, float* sweep_request, int flying)
{
    sim_joystick_block& j = sim_joystick;
    std::copy(std::begin(j.joystick_button_values), std::end(j.joystick_button_values),
              std::begin(joystick.last_button_values));
    std::fill(std::begin(j.joystick_button_values), std::end(j.joystick_button_values), 0);
    const bool calibrating = flying == 0;

    if (!JOY_console_is_source()) {
        std::fill(std::begin(j.joystick_axis_values), std::end(j.joystick_axis_values), 0.0f);
        bool any = false;
        for (plat_joy* d : joystick.devices) any = any || d != nullptr;
        if (any) PLAT_joy_update();
        int axis = 0, button = 0;
        for (int slot = 0; slot < JOY_DEVICE_SLOTS; ++slot)
            if (joystick.devices[slot] && !read_device(slot, axis, button)) return;

        if (calibrating)
            for (int i = 0; i < JOYSTICK_AXES; ++i) {
                j.joystick_axis_minimum[i] = std::min(j.joystick_axis_minimum[i], j.joystick_axis_values[i]);
                j.joystick_axis_maximum[i] = std::max(j.joystick_axis_maximum[i], j.joystick_axis_values[i]);
            }

        j.eq_ped_nobrk = 0;
        j.eq_ped_wibrk = 0;
        float* const dest[JOY_AXIS_CODES - 1] = {yolk_pitch,   yolk_roll, yolk_heading, throttle_1,
                                                 throttle_2,   left_brake, right_brake, prop_request,
                                                 mixture,      heat,      vector_request, sweep_request};
        map_axes(dest, calibrating);
        if (!j.has_joystick) detect_joystick();

        if (j.has_joystick) j.mouse_is_joystick = 0;
        if (j.eq_ped_wibrk) j.eq_ped_nobrk = 0;
        button_throttle();
        // The mouse offset is taken in interface units, the units the HUD
        // centre is in, rather than window pixels: in pixels a window not at
        // interface scale would steer with the mouse resting on the HUD
        // centre (an offset of the scale's difference).
        if (!j.has_joystick && j.mouse_is_joystick) JOY_mouse_yoke(yolk_pitch, yolk_roll);
    }

    UTIL_cirrus_build();

    if (flying == 1 && (j.has_joystick || JOY_console_is_source())) run_button_functions();
}
