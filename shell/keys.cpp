// The key assignment table and the keyboard commands.
#include "shell/keys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "aircraft/acf_struct.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems.h"
#include "flightmodel/systems/radio_tuning.h"
#include "aircraft/flight_start.h"
#include "links/movie.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "panel/panel.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "platform/plat_files.h"
#include "shell/frame.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "shell/modes.h"
#include "core/simvars.h"
#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/views.h"
#include "world/atc.h"

float last_step_key_time = -1.0e9f;
void KEYS_step_key_reset() { last_step_key_time = -1.0e9f; }
ORVELL_RESET(KEYS_step_key_reset, program);

namespace {

constexpr int KEY_RETURN = 13;
constexpr int KEY_SPACE = 32;
constexpr uint8_t END_OF_FILE_KEY = 255;   // what a slot past the end of a short key file holds
constexpr int KEY_FILE_VERSION = 2;

// ---------------------------------------------------------------------------
// Helpers.

// A slot that holds no key (0: no key file was read; 255: past the end of a
// short key file) matches nothing, so a 0 or 255 passed by another input
// source or a peer cannot run every command left without a key.
bool matches(int key, int slot)
{
    const uint8_t assigned = key_assignment_table[slot];
    if (assigned == 0 || assigned == END_OF_FILE_KEY) return false;
    return key >= -128 && key <= 255 && static_cast<uint8_t>(key) == assigned;
}

int engine_count()
{
    return util_clamp_int(pln[0].acf_num_engines, 0, FLT_ENGINES);
}

void toggle(int32_t& v) { v = v ? 0 : 1; }

// ---------------------------------------------------------------------------
// Ctrl letters.

void ctrl_key(int key)
{
    flt_struct& f = flt[0];
    static const char ignition_down[] = "QWERTYUI";
    static const char ignition_up[] = "ASDFGHJK";
    static const char fuel_pumps[] = "ZXCVBNM,";
    static const char map_modes[] = "qwerty";
    const char c = static_cast<char>(key);
    if (key < 0 || key > 255) return;

    if (const char* p = std::strchr(map_modes, c); p && c) {
        // The map view mode; the map drawing's record names it map_type.
        screen_settings.map_type = static_cast<int32_t>(p - map_modes);
        APPLICATION_handlemenu(800);
    }
    if (c >= '1' && c <= '8' && PANEL_has_power()) sim_cockpit_engine.starter_duration[c - '1'] = 0.2f;
    if (const char* p = std::strchr(ignition_down, c); p && c) {
        const int n = static_cast<int>(p - ignition_down);
        f.ignition_on[n] = static_cast<int32_t>(std::clamp<int64_t>(int64_t{f.ignition_on[n]} - 1, 0, 3));
    }
    if (const char* p = std::strchr(ignition_up, c); p && c) {
        const int n = static_cast<int>(p - ignition_up);
        f.ignition_on[n] = static_cast<int32_t>(std::clamp<int64_t>(int64_t{f.ignition_on[n]} + 1, 0, 3));
    }
    if (const char* p = std::strchr(fuel_pumps, c); p && c) toggle(sim_cockpit_engine.fuel_pump_on[p - fuel_pumps]);
    if (c == 'O') toggle(sim_cockpit_electrical.battery_on);
    if (c == 'P') toggle(sim_cockpit_electrical.avionics_on);
    if (c == 'L')
        for (int32_t& g : sim_cockpit_electrical.generator_on) toggle(g);
    if (c == 'u' && sim_cockpit_switches.gear_handle_status != 0) PANEL_switches(20, 0);
    if (c == 'd' && sim_cockpit_switches.gear_handle_status == 0) PANEL_switches(20, 0);
    if (c == '/') APPLICATION_handlemenu(1202);
    if (c == '.') APPLICATION_handlemenu(1205);
    if (c == '9') APPLICATION_handlemenu(1231);
    if (c == '0') APPLICATION_handlemenu(1232);
    if (c == 'i') APPLICATION_handlemenu(VIEW_LEFT_15);
    if (c == 'o') APPLICATION_handlemenu(VIEW_RIGHT_75);
    // The request to fail at once; the systems stage names it fail_on_command_armed.
    if (c == 'f') fail_on_command_armed = 1;
    if (c == 'c') PANEL_switches(446, 0);
    if (c == '\'')
        for (int n = 0; n < engine_count(); ++n)
            if (ENGN_has_fadec(0, n)) toggle(sim_cockpit_engine.fadec_on[n]);
    if (c == 'p') PANEL_gps(10);
    if (c == 'a') PANEL_gps(11);
    if (c == 's') PANEL_gps(12);
    if (c == 'f') PANEL_gps(13);
    if (c == 'g') PANEL_gps(-1);
    if (c == 'h') PANEL_gps(1);
    if (c == 'j') PANEL_gps(-2);
    if (c == 'k') PANEL_gps(2);
    if (c == 'l') PANEL_gps(-3);
    if (c == 'z') PANEL_gps(3);
    if (c == ' ' && movie_keys_enabled) {
        if (movie_recording == 0)
            MOVIE_start();
        else
            MOVIE_finish();
    }
}

// ---------------------------------------------------------------------------
// Special keys.

bool is_up(int k) { return k == KEY_CODE_UP || k == KEY_CODE_SHIFT_UP; }
bool is_down(int k) { return k == KEY_CODE_DOWN || k == KEY_CODE_SHIFT_DOWN; }
bool is_left(int k) { return k == KEY_CODE_LEFT || k == KEY_CODE_SHIFT_LEFT; }
bool is_right(int k) { return k == KEY_CODE_RIGHT || k == KEY_CODE_SHIFT_RIGHT; }
bool is_shift_arrow(int k) { return k >= KEY_CODE_SHIFT_UP && k <= KEY_CODE_SHIFT_RIGHT; }
bool is_plain_arrow(int k) { return k == KEY_CODE_UP || k == KEY_CODE_DOWN || k == KEY_CODE_LEFT || k == KEY_CODE_RIGHT; }

void yoke_step(float& ratio, float delta) { ratio = UTIL_clamp_nan_low(ratio + delta, -1.0f, 1.0f); }

void special_key(int key)
{
    const int mode = app_mode;
    const int view = sim_graphics_view.view_type;
    const float f = sim_operation_misc.frame_rate_period;

    if (key == KEY_CODE_TAB) {
        overlay_flag_a = overlay_flag_a ? 0 : 1;
        overlay_flag_b = overlay_flag_b ? 0 : 1;
    }

    if (mode == MODE_FLYING) {
        sim_joystick_block& j = sim_joystick;
        switch (key) {
        case KEY_CODE_KEYPAD_5:
            j.yolk_heading_ratio = 0.0f;
            j.yolk_roll_ratio = 0.0f;
            break;
        case KEY_CODE_KEYPAD_2: yoke_step(j.yolk_pitch_ratio, 0.05f); break;
        case KEY_CODE_KEYPAD_8: yoke_step(j.yolk_pitch_ratio, -0.05f); break;
        case KEY_CODE_KEYPAD_4: yoke_step(j.yolk_roll_ratio, -0.05f); break;
        case KEY_CODE_KEYPAD_6: yoke_step(j.yolk_roll_ratio, 0.05f); break;
        case KEY_CODE_KEYPAD_1: yoke_step(j.yolk_heading_ratio, -0.05f); break;
        case KEY_CODE_KEYPAD_3: yoke_step(j.yolk_heading_ratio, 0.05f); break;
        default: break;
        }
    }

    if (MODE_is_operator_panel(mode)) {
        if (key == KEY_CODE_UP) OPERATOR_panel(0);
        if (key == KEY_CODE_LEFT) OPERATOR_panel(2);
        if (key == KEY_CODE_DOWN) OPERATOR_panel(1);
        if (key == KEY_CODE_RIGHT) OPERATOR_panel(3);
    }

    const double heading = sim_graphics_view.view_heading * DEG_TO_RAD_DOUBLE;
    const double pitch = sim_graphics_view.view_pitch * DEG_TO_RAD_DOUBLE;
    const float sh = static_cast<float>(std::sin(heading)), ch = static_cast<float>(std::cos(heading));
    const float sp = static_cast<float>(std::sin(pitch)), cp = static_cast<float>(std::cos(pitch));

    if (mode == MODE_FLYING && view == VIEW_FLYBY && is_plain_arrow(key)) {
        float* p = view_fixed_point;
        if (key == KEY_CODE_LEFT) {
            p[0] -= 50.0f * cp * ch;
            p[2] -= 50.0f * cp * sh;
        } else if (key == KEY_CODE_RIGHT) {
            p[0] += 50.0f * cp * ch;
            p[2] += 50.0f * cp * sh;
        } else if (key == KEY_CODE_UP) {
            p[0] += 50.0f * cp * sh;
            p[2] -= 50.0f * cp * ch;
            p[1] += 50.0f * sp;
        } else {
            p[0] -= 50.0f * cp * sh;
            p[2] += 50.0f * cp * ch;
            p[1] -= 50.0f * sp;
        }
    }

    if (mode == MODE_FLYING && view == VIEW_RUNWAY && (is_plain_arrow(key) || is_shift_arrow(key))) {
        const float a = is_shift_arrow(key) ? 10.0f : 4.0f;
        const float b = is_shift_arrow(key) ? 8.0f : 2.0f;
        float& vx = sim_graphics_view.view_x;
        float& vz = sim_graphics_view.view_z;
        if (is_left(key)) {
            vx -= a * f * ch;
            vz -= b * f * sh;
        } else if (is_right(key)) {
            vx += a * f * ch;
            vz += b * f * sh;
        } else if (is_up(key)) {
            vx += a * f * sh;
            vz -= b * f * ch;
        } else {
            vx -= a * f * sh;
            vz += b * f * ch;
        }
    }

    const bool orbit = (mode == MODE_FLYING && VIEW_is_orbit(view)) || MODE_is_map_view(mode);
    if (orbit && (is_plain_arrow(key) || is_shift_arrow(key))) {
        float s;
        if (MODE_is_map_view(mode)) {
            s = 1.0f;
        } else {
            const float d = view_distance / UNIT.nm_to_mtrs;
            s = UTIL_clamp_nan_low(0.5f - 0.45f * std::sqrt(0.3f * d), 0.05f, 0.5f);
        }
        if (is_shift_arrow(key)) s *= 10.0f;
        const float pitch_lo = -0.45f * PI_FLOAT, pitch_hi = 0.45f * PI_FLOAT;
        if (is_up(key)) view_orbit_pitch = UTIL_clamp_nan_low(view_orbit_pitch + s * f, pitch_lo, pitch_hi);
        if (is_down(key)) view_orbit_pitch = UTIL_clamp_nan_low(view_orbit_pitch - s * f, pitch_lo, pitch_hi);
        if (is_left(key)) view_orbit_heading = UTIL_wrap_open(view_orbit_heading + s * f, 2.0f * PI_FLOAT);
        if (is_right(key)) view_orbit_heading = UTIL_wrap_open(view_orbit_heading - s * f, 2.0f * PI_FLOAT);
        last_view_key_time = frame_clock;
    }

    if (mode == MODE_FLYING && atc_state.atc_window_open != 0) {
        if (key == KEY_CODE_UP) atc_state.atc_hover_row -= 1;
        if (key == KEY_CODE_DOWN) atc_state.atc_hover_row += 1;
        if (key == KEY_CODE_LEFT) atc_state.atc_hover_col -= 1;
        if (key == KEY_CODE_RIGHT) atc_state.atc_hover_col += 1;
    }
}

// ---------------------------------------------------------------------------
// Table commands.

// How far one press of a heading, course or barometer key moves: one unit on
// a single press, a rate while the key repeats faster than ten times a second.
// A repeat comes while the key is still down from its own press (key_down is
// set); separate presses, however quickly they follow each other (several in
// one frame), each move one unit, as the trim keys' presses do.
struct step_sizes {
    float degrees;
    float inches;
};

step_sizes step_for_now()
{
    const float now = frame_clock;
    const bool fast = key_down != 0 && now < last_step_key_time + 0.1f;
    last_step_key_time = now;
    const float dt = sim_operation_misc.frame_rate_period;
    return {fast ? 30.0f * dt : 1.0f, fast ? 0.05f * dt : 0.01f};
}

float flap_detent_ratio(int k, int D)
{
    const float* dn = pln[0].acf_flap_dn;
    const float span = dn[D] - dn[0];
    if (span == 0.0f || !std::isfinite(span)) return 0.5f;
    return (dn[k] - dn[0]) / span;
}

void flap_step(int direction)
{
    // The detent count comes from the aircraft file: one past the angle table
    // would read outside it, so it is held within the table.
    const int D = util_clamp_int(pln[0].acf_flap_detents, 0, ACF_FLAP_DN - 1);
    float& request = flt[0].flaprqst;
    int nearest = 0;
    float best = 9.9f;
    for (int k = 0; k <= D; ++k) {
        const float d = std::fabs(flap_detent_ratio(k, D) - request);
        if (d < best) {
            best = d;
            nearest = k;
        }
    }
    nearest = util_clamp_int(nearest + direction, 0, D);
    request = flap_detent_ratio(nearest, D);
}

void toggle_reversers()
{
    const acf_struct& a = pln[0];
    if (!a.acf_revthrust_eq) return;
    flt_struct& f = flt[0];
    for (int n = 0; n < engine_count(); ++n) {
        if (FLT_slot_failed(0, FAIL_SLOT_REVERSER_BASE + n)) continue;
        f.ENGN_thro[n] = 0.01f;
        f.ENGN_propmode[n] = f.ENGN_propmode[n] == 3 ? 1 : 3;
    }
}

void step_target_index(int delta)
{
    // The other planes 1..n; the count (a preference or a peer's value) is held
    // to the plane slots, so the target always names a plane that exists.
    const int n = std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0), 0, FLT_SLOTS) - 1;
    if (n <= 0) return;
    int32_t& idx = sim_cockpit_weapons.plane_target_index;
    const int64_t v64 = static_cast<int64_t>(idx) + delta;
    int v = v64 < 1 ? 0 : (v64 > n ? n + 1 : static_cast<int>(v64));
    if (v < 1) v = n;
    if (v > n) v = 1;
    idx = v;
}

void toggle_mode(int32_t& word, int value)
{
    word = word == value ? 9 : value;
}

// One key command: the slot whose character runs it, an argument (the
// direction -1 or +1 of a command that steps a value, or the value it sets),
// and what it does. A pair of slots shares one action, walked in the
// direction of each slot.
struct key_command {
    int slot;
    int arg;
    void (*run)(int arg);
};

// The actions of the key commands. A paired action takes the direction of
// its slot; the others take the value their row gives (or nothing).
void reversers(int) { toggle_reversers(); }
void transponder_ident(int) { PANEL_transponder(1); }
void jettison(int) { PANEL_switches(11, 0); }
void gear(int) { PANEL_switches(20, 0); }
// The brake keys set the brake ratio, or release it when it is set: once a
// press. Held, a key comes again every few tens of milliseconds while it stays
// down; toggled by each repeat the brakes flickered on and off and were left
// as the last repeat had them (often on, so the aircraft would not taxi). A
// brake key that comes while a key is still down, less than a second after the
// same key came, is its repeat and changes nothing.
constexpr float BRAKE_REPEAT_WITHIN_SEC = 1.0f;
struct brake_key_record {
    float time[2] = {-1.0e9f, -1.0e9f};   // frame clock of the last brakes (0) and parking brake (1) key
};
brake_key_record brake_key;
ORVELL_RESET_RECORD(KEYS_brake_key_reset, brake_key, program);
void brake_toggle(float ratio, int which)
{
    float& last = brake_key.time[which];
    const bool repeat = key_down != 0 && frame_clock < last + BRAKE_REPEAT_WITHIN_SEC;
    last = frame_clock;
    if (repeat) return;
    float& b = flt[0].parkbrake;
    b = b < 0.01f ? ratio : 0.0f;
}
void brakes(int) { brake_toggle(0.67f, 0); }
void parking_brake(int) { brake_toggle(1.0f, 1); }
void clock_step(int d)
{
    float& t = sim_time.zulu_time_sec;
    t = UTIL_wrap_open(t + 240.0f * d, 86400.0f);
}
void target_step(int d) { step_target_index(d); }
void heading_bug(int d)
{
    float& v = sim_cockpit_autopilot.heading_mag;
    v = UTIL_wrap_open(v + d * step_for_now().degrees, 360.0f);
}
void nav1_course(int d)
{
    float& v = sim_cockpit_radios.nav1_obs_degm;
    v = UTIL_wrap_open(v + d * step_for_now().degrees, 360.0f);
}
void nav2_course(int d)
{
    float& v = sim_cockpit_radios.nav2_obs_degm;
    v = UTIL_wrap_open(v + d * step_for_now().degrees, 360.0f);
}
void barometer(int d)
{
    float& baro = sim_cockpit_misc.barometer_setting;
    baro = UTIL_clamp_nan_low(baro + d * step_for_now().inches, 0.0f, 35.0f);
}
// The radios: whole megahertz in steps of one, the kilohertz part in steps of five.
void com1_mhz(int d) { PANEL_tune_com_digit(&sim_cockpit_radios.com1_freq_hz, d, 1); }
void com1_khz(int d) { PANEL_tune_com_digit(&sim_cockpit_radios.com1_freq_hz, 5 * d, 2); }
void com2_mhz(int d) { PANEL_tune_com_digit(&sim_cockpit_radios.com2_freq_hz, d, 1); }
void com2_khz(int d) { PANEL_tune_com_digit(&sim_cockpit_radios.com2_freq_hz, 5 * d, 2); }
void nav1_mhz(int d) { PANEL_tune_freq_digit(&sim_cockpit_radios.nav1_freq_hz, d, 1); }
void nav1_khz(int d) { PANEL_tune_freq_digit(&sim_cockpit_radios.nav1_freq_hz, 5 * d, 2); }
void nav2_mhz(int d) { PANEL_tune_freq_digit(&sim_cockpit_radios.nav2_freq_hz, d, 1); }
void nav2_khz(int d) { PANEL_tune_freq_digit(&sim_cockpit_radios.nav2_freq_hz, 5 * d, 2); }
template <int digit>
void adf_digit(int d) { PANEL_tune_adf_digit(&sim_cockpit_radios.adf1_freq_hz, d, digit); }
template <int digit>
void squawk_digit(int d) { PANEL_tune_squawk_digit(&sim_cockpit_radios.transponder_code, d, digit); }
void flaps(int d) { flap_step(d); }
void engine_heat(int on)
{
    for (int n = 0; n < engine_count(); ++n) flt[0].ENGN_heat[n] = on ? 1.0f : 0.0f;
}
void speedbrake(int d)
{
    const float lo = pln[0].acf_autosbrkEQ ? -0.5f : 0.0f;
    float& request = flt[0].sbrkrqst;
    request = UTIL_clamp_nan_low(request + 0.5f * d, lo, 1.0f);
}
void trim_wheel(int wheel) { PANEL_trim_wheels(wheel, key_down); }
void menu_command(int command) { APPLICATION_handlemenu(command); }
void forward_bare(int)
{
    const bool first = sim_graphics_view.view_type == VIEW_FORWARD_HUD;
    APPLICATION_handlemenu(first ? VIEW_FORWARD_NOTHING : VIEW_FORWARD_HUD);
}
void view_ring(int d) { APPLICATION_handlemenu(VIEW_ring_step(sim_graphics_view.view_type, d)); }
void autopilot_off(int)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = 9;
    ap.hnav_mode = ap.vnav_mode = 9;
    ap.backcourse_on = 0;
}
// The autopilot mode keys toggle a mode word between 9 (off) and the mode;
// the navigation modes count their armed value (the mode + 1) as on too.
void airspeed_mode(int m) { toggle_mode(sim_cockpit_autopilot.airspeed_mode, m); }
void heading_mode(int m) { toggle_mode(sim_cockpit_autopilot.heading_mode, m); }
void altitude_mode(int m) { toggle_mode(sim_cockpit_autopilot.altitude_mode, m); }
void nav_mode(int32_t& word, int m) { word = (word == m || word == m + 1) ? 9 : m; }
// The fourth and fifth mode words, named hnav_mode and vnav_mode by the autopilot.
void lateral_nav(int m) { nav_mode(sim_cockpit_autopilot.hnav_mode, m); }
void vertical_nav(int m) { nav_mode(sim_cockpit_autopilot.vnav_mode, m); }

// The key commands in the order they run when one character sits in several slots.
constexpr key_command key_commands[] = {
    {KEY_SLOT_REVERSERS, 0, reversers},
    {KEY_SLOT_TRANSPONDER_IDENT, 0, transponder_ident},
    {KEY_SLOT_JETTISON, 0, jettison},
    {KEY_SLOT_BRAKES, 0, brakes},
    {KEY_SLOT_PARKING_BRAKE, 0, parking_brake},
    {KEY_SLOT_GEAR, 0, gear},
    {KEY_SLOT_CLOCK_EARLIER, -1, clock_step},
    {KEY_SLOT_CLOCK_LATER, +1, clock_step},
    {KEY_SLOT_TARGET_PREVIOUS, -1, target_step},
    {KEY_SLOT_TARGET_NEXT, +1, target_step},
    {KEY_SLOT_HEADING_BUG_LEFT, -1, heading_bug},
    {KEY_SLOT_HEADING_BUG_RIGHT, +1, heading_bug},
    {KEY_SLOT_NAV1_COURSE_DOWN, -1, nav1_course},
    {KEY_SLOT_NAV1_COURSE_UP, +1, nav1_course},
    {KEY_SLOT_NAV2_COURSE_DOWN, -1, nav2_course},
    {KEY_SLOT_NAV2_COURSE_UP, +1, nav2_course},
    {KEY_SLOT_BAROMETER_DOWN, -1, barometer},
    {KEY_SLOT_BAROMETER_UP, +1, barometer},
    {KEY_SLOT_COM1_MHZ_DOWN, -1, com1_mhz},
    {KEY_SLOT_COM1_MHZ_UP, +1, com1_mhz},
    {KEY_SLOT_COM1_KHZ_DOWN, -1, com1_khz},
    {KEY_SLOT_COM1_KHZ_UP, +1, com1_khz},
    {KEY_SLOT_NAV1_MHZ_DOWN, -1, nav1_mhz},
    {KEY_SLOT_NAV1_MHZ_UP, +1, nav1_mhz},
    {KEY_SLOT_NAV1_KHZ_DOWN, -1, nav1_khz},
    {KEY_SLOT_NAV1_KHZ_UP, +1, nav1_khz},
    {KEY_SLOT_COM2_MHZ_DOWN, -1, com2_mhz},
    {KEY_SLOT_COM2_MHZ_UP, +1, com2_mhz},
    {KEY_SLOT_COM2_KHZ_DOWN, -1, com2_khz},
    {KEY_SLOT_COM2_KHZ_UP, +1, com2_khz},
    {KEY_SLOT_NAV2_MHZ_DOWN, -1, nav2_mhz},
    {KEY_SLOT_NAV2_MHZ_UP, +1, nav2_mhz},
    {KEY_SLOT_NAV2_KHZ_DOWN, -1, nav2_khz},
    {KEY_SLOT_NAV2_KHZ_UP, +1, nav2_khz},
    {KEY_SLOT_ADF_HUNDREDS_DOWN, -1, adf_digit<1>},
    {KEY_SLOT_ADF_HUNDREDS_UP, +1, adf_digit<1>},
    {KEY_SLOT_ADF_TENS_DOWN, -1, adf_digit<2>},
    {KEY_SLOT_ADF_TENS_UP, +1, adf_digit<2>},
    {KEY_SLOT_ADF_UNITS_DOWN, -1, adf_digit<3>},
    {KEY_SLOT_ADF_UNITS_UP, +1, adf_digit<3>},
    {KEY_SLOT_SQUAWK_THOUSANDS_DOWN, -1, squawk_digit<1>},
    {KEY_SLOT_SQUAWK_THOUSANDS_UP, +1, squawk_digit<1>},
    {KEY_SLOT_SQUAWK_HUNDREDS_DOWN, -1, squawk_digit<2>},
    {KEY_SLOT_SQUAWK_HUNDREDS_UP, +1, squawk_digit<2>},
    {KEY_SLOT_SQUAWK_TENS_DOWN, -1, squawk_digit<3>},
    {KEY_SLOT_SQUAWK_TENS_UP, +1, squawk_digit<3>},
    {KEY_SLOT_SQUAWK_UNITS_DOWN, -1, squawk_digit<4>},
    {KEY_SLOT_SQUAWK_UNITS_UP, +1, squawk_digit<4>},
    {KEY_SLOT_FLAPS_UP, -1, flaps},
    {KEY_SLOT_FLAPS_DOWN, +1, flaps},
    {KEY_SLOT_ENGINE_HEAT_OFF, 0, engine_heat},
    {KEY_SLOT_ENGINE_HEAT_ON, 1, engine_heat},
    {KEY_SLOT_SPEEDBRAKE_IN, -1, speedbrake},
    {KEY_SLOT_SPEEDBRAKE_OUT, +1, speedbrake},
    {KEY_SLOT_AILERON_TRIM_LEFT, 27, trim_wheel},   // the panel's trim wheel commands
    {KEY_SLOT_AILERON_TRIM_RIGHT, 29, trim_wheel},
    {KEY_SLOT_RUDDER_TRIM_LEFT, 24, trim_wheel},
    {KEY_SLOT_RUDDER_TRIM_RIGHT, 26, trim_wheel},
    {KEY_SLOT_ELEVATOR_TRIM_DOWN, 21, trim_wheel},
    {KEY_SLOT_ELEVATOR_TRIM_UP, 20, trim_wheel},
    {KEY_SLOT_VIEW_FORWARD, VIEW_FORWARD, menu_command},
    {KEY_SLOT_VIEW_FORWARD_BARE, 0, forward_bare},
    {KEY_SLOT_VIEW_NEXT, +1, view_ring},
    {KEY_SLOT_VIEW_PREVIOUS, -1, view_ring},
    {KEY_SLOT_VIEW_BACK, VIEW_BACK, menu_command},
    {KEY_SLOT_VIEW_TOWER, VIEW_TOWER, menu_command},
    {KEY_SLOT_VIEW_RUNWAY, VIEW_RUNWAY, menu_command},
    {KEY_SLOT_VIEW_CHASE, VIEW_CHASE, menu_command},
    {KEY_SLOT_VIEW_ORBIT, VIEW_ORBIT, menu_command},
    {KEY_SLOT_VIEW_ORBIT_PANEL, VIEW_ORBIT_PANEL, menu_command},
    {KEY_SLOT_VIEW_FLYBY, VIEW_FLYBY, menu_command},
    {KEY_SLOT_VIEW_NO_PANEL, VIEW_FORWARD_NO_PANEL, menu_command},
    {KEY_SLOT_VIEW_HUD, VIEW_HUD, menu_command},
    {KEY_SLOT_SEE_THROUGH_PANEL, COMMAND_TRANSPARENT_PANEL, menu_command},
    {KEY_SLOT_SMOKE, COMMAND_SMOKE, menu_command},
    {KEY_SLOT_DATA_TO_FILE, COMMAND_DATA_TO_FILE, menu_command},
    {KEY_SLOT_REPLAY, COMMAND_REPLAY, menu_command},
    {KEY_SLOT_VIEW_FLYBY_DRIFT, VIEW_FLYBY_DRIFT, menu_command},
    {KEY_SLOT_AUTOPILOT_OFF, 0, autopilot_off},
    {KEY_SLOT_AUTOTHROTTLE, 10, airspeed_mode},
    {KEY_SLOT_AP_HEADING, 11, heading_mode},
    {KEY_SLOT_AP_WING_LEVELLER, 12, heading_mode},
    {KEY_SLOT_AP_ALTITUDE_FIRST, 13, altitude_mode},
    {KEY_SLOT_AP_ALTITUDE_FIRST + 1, 14, altitude_mode},
    {KEY_SLOT_AP_ALTITUDE_FIRST + 2, 15, altitude_mode},
    {KEY_SLOT_AP_ALTITUDE_FIRST + 3, 16, altitude_mode},
    {KEY_SLOT_AP_ALTITUDE_LAST, 17, altitude_mode},
    {KEY_SLOT_AP_LATERAL_NAV, 18, lateral_nav},
    {KEY_SLOT_AP_VERTICAL_NAV, 20, vertical_nav},
};

void table_commands(int key)
{
    for (const key_command& c : key_commands)
        if (matches(key, c.slot)) c.run(c.arg);
}

void return_key()
{
    if (net_slot_enabled[0]) {
        if (chat_typing) {
            chat_text[TEXT_MAX_LEN] = 0;
            NET_data_send("MESS", 0, chat_text, static_cast<int>(std::strlen(chat_text)) + 1, 0);
            chat_typing = 0;
        } else {
            chat_typing = 1;
        }
        chat_text[0] = 0;
        typed_text[0] = 0;
        return;
    }
    if (atc_state.atc_window_open == 0) {
        atc_state.atc_window_open = 1;
        atc_state.atc_page = 0;
    } else {
        ATC_request_menu(1);
        enter_pressed = 0;
    }
}

}  // namespace

// ---------------------------------------------------------------------------

void KEY_read_table_from(const char* colon_path)
{
    if (!colon_path) return;
    char path[TEXT_SIZE];
    UTIL_strcpy(colon_path, path);
    // A key file that is there but cannot be read whole would leave commands
    // off the keyboard without a word: it is named in a notice.
    if (!FILE_open_for_use(path, KIND_TEXT, KEY_FILE_VERSION, 1)) {
        FILE_close_current();
        if (PLAT_file_exists(colon_path))
            MACIBM_nuke_alert(0, "The key file is damaged:", colon_path,
                              "It is not a key file, and was left out.", "", ALERT_NOTICE);
        return;
    }
    std::istream& in = FILE_current_stream();
    bool cut = false;
    for (int i = 0; i < KEY_SLOTS; ++i) {
        const int c = in.get();
        cut = cut || c == std::char_traits<char>::eof();
        key_assignment_table[i] = c == std::char_traits<char>::eof() ? END_OF_FILE_KEY : static_cast<uint8_t>(c);
        // The rest of the line describes the command for the reader of the file.
        for (int d = c; d != std::char_traits<char>::eof() && static_cast<char>(d) != file_line_end;) d = in.get();
    }
    FILE_close_current();
    if (cut)
        MACIBM_nuke_alert(0, "The key file is damaged:", colon_path,
                          "It ends before its last command; the commands after its end have no key.", "",
                          ALERT_NOTICE);
}

void KEY_read_table()
{
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_KEYS], "ORVELL.TXT", path);
    KEY_read_table_from(path);
}

void KEY_command_dispatch(int modifier_class, int key)
{
    if (modifier_class == DISPATCH_CTRL) {
        ctrl_key(key);
        return;
    }
    if (modifier_class == DISPATCH_SPECIAL) special_key(key);

    if (chat_typing && key != KEY_RETURN) return;
    if (modifier_class != DISPATCH_PLAIN && modifier_class != DISPATCH_COMMAND) return;

    const int mode = app_mode;
    if ((mode == MODE_FLYING || mode == MODE_OPERATOR_STATION) && matches(key, KEY_SLOT_PAUSE))
        toggle(sim_time.paused);
    if (MODE_is_operator_panel(mode)) {
        if (matches(key, KEY_SLOT_ZOOM_OUT)) OPERATOR_panel(4);
        if (matches(key, KEY_SLOT_ZOOM_IN)) OPERATOR_panel(5);
        return;
    }
    if (mode == MODE_FLYING || MODE_is_map_view(mode)) {
        if (matches(key, KEY_SLOT_ZOOM_OUT)) {
            APPLICATION_handlemenu(COMMAND_ZOOM_OUT);
            last_view_key_time = frame_clock;
        }
        if (matches(key, KEY_SLOT_ZOOM_IN)) {
            APPLICATION_handlemenu(COMMAND_ZOOM_IN);
            last_view_key_time = frame_clock;
        }
    }
    if (key == KEY_SPACE) {
        if (situation_hold_a)
            situation_hold_a = 0;
        else if (situation_hold_b)
            situation_hold_b = 0;
        else if (situation_hold_c)
            situation_hold_c = 0;
        else
            key_hold_command = 1;
    }
    if (app_mode != MODE_FLYING) return;
    if (key == KEY_RETURN) return_key();
    table_commands(key);
}

void KEY_run_slot(int modifier_class, int slot)
{
    if (slot < 0 || slot >= KEY_SLOTS) return;
    const uint8_t key = key_assignment_table[slot];
    if (key == 0 || key == END_OF_FILE_KEY) return;
    KEY_command_dispatch(modifier_class, key);
}

void KEY_engine_controls(int code)
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    if (screen_settings.keys_per_engine) {
        const float prop_step = 0.05f * (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp);
        if (code >= 50 && code <= 53) ENGN_set_throttle(code - 50, f.ENGN_thro[code - 50] - 0.05f);
        else if (code >= 62 && code <= 65) ENGN_set_throttle(code - 62, f.ENGN_thro[code - 62] + 0.05f);
        else if (code >= 54 && code <= 57) ENGN_set_prop_rpm(code - 54, f.ENGN_prop[code - 54] - prop_step);
        else if (code >= 66 && code <= 69) ENGN_set_prop_rpm(code - 66, f.ENGN_prop[code - 66] + prop_step);
        else if (code >= 58 && code <= 61) ENGN_set_mixture(code - 58, f.ENGN_mixt[code - 58] - 0.05f);
        else if (code >= 70 && code <= 73) ENGN_set_mixture(code - 70, f.ENGN_mixt[code - 70] + 0.05f);
        return;
    }
    // The engine arrays the setters write hold eight thrust points: a point past
    // them would be written outside the arrays, so only those eight are visited
    // (their failure slots are 58 + n).
    const int points = util_clamp_int(a.acf_num_thrustpoints, 0, FLT_ENGINES);
    for (int n = 0; n < points; ++n) {
        const bool usable = !FLT_slot_failed(0, FAIL_SLOT_ENGINE_BASE + n) &&
                            n < a.acf_num_engines &&
                            !(a.acf_hide_prop_at_90_vect && a.thrust_vector_angle[n] >= 90.0f);
        if (usable && (code == 50 || code == 51)) ENGN_set_throttle(n, f.ENGN_thro[n] + (code == 50 ? -0.05f : 0.05f));
        if (usable && (code == 58 || code == 59)) ENGN_set_mixture(n, f.ENGN_mixt[n] + (code == 58 ? -0.05f : 0.05f));
        if (code == 54 || code == 55) {
            const float sign = code == 54 ? -1.0f : 1.0f;
            const int type = a.acf_prop_type[n];
            if (PROP_type_is_governed(type))
                ENGN_set_prop_rpm(n, f.ENGN_prop[n] + sign * 0.05f * (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp));
            else if (PROP_type_lever_sets_pitch(type))
                ENGN_set_prop_pitch(n, f.POINT_pitch_deg[n] + sign);
        }
    }
}
