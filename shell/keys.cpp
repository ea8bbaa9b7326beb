// The key assignment table and the keyboard commands.
#include "shell/keys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "aircraft/acf_struct.h"
#include "flightmodel/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems.h"
#include "aircraft/flight_start.h"
#include "links/movie.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "panel/panel.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/input.h"
#include "shell/modes.h"
#include "core/simvars.h"
#include "world/atc.h"

uint8_t key_assignment_table[KEY_SLOTS] = {};
float last_step_key_time = -1.0e9f;
float last_view_key_time = 0.0f;
uint8_t overlay_flag_a = 0;
uint8_t overlay_flag_b = 0;
float free_view_point[3] = {};
float orbit_view_distance = 0.0f;
float orbit_view_heading = 0.0f;
float orbit_view_pitch = 0.0f;
int32_t chat_typing = 0;
char chat_text[TEXT_SIZE] = {};

namespace {

constexpr int KEY_RETURN = 13;
constexpr int KEY_SPACE = 32;
constexpr uint8_t END_OF_FILE_KEY = 255;   // what a slot past the end of a short key file holds
constexpr int KEY_FILE_VERSION = 2;
constexpr float PI_F = 3.14159265358979f;

// ---------------------------------------------------------------------------
// Helpers.

float clampf(float v, float lo, float hi)
{
    if (!(v >= lo)) return lo;
    if (v > hi) return hi;
    return v;
}

int clampi(int v, int lo, int hi)
{
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

// Into [0, span): one full turn wraps to 0.
float wrap_open(float v, float span)
{
    if (!std::isfinite(v)) return 0.0f;
    v = std::fmod(v, span);
    if (v < 0.0f) v += span;
    if (v >= span) v = 0.0f;
    return v;
}

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
    return clampi(pln[0].acf_num_engines, 0, FLT_ENGINES);
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
        screen_settings.map_view_mode = static_cast<int32_t>(p - map_modes);
        APPLICATION_handlemenu(800);
    }
    if (c >= '1' && c <= '8' && PANEL_has_power()) sim_cockpit_engine.starter_duration[c - '1'] = 0.2f;
    if (const char* p = std::strchr(ignition_down, c); p && c) {
        const int n = static_cast<int>(p - ignition_down);
        f.ignition_on[n] = clampi(clampi(f.ignition_on[n], 0, 3) - 1, 0, 3);
    }
    if (const char* p = std::strchr(ignition_up, c); p && c) {
        const int n = static_cast<int>(p - ignition_up);
        f.ignition_on[n] = clampi(clampi(f.ignition_on[n], 0, 3) + 1, 0, 3);
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
    if (c == 'i') APPLICATION_handlemenu(1011);
    if (c == 'o') APPLICATION_handlemenu(1012);
    if (c == 'f') fail_now_request = 1;
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

void yoke_step(float& ratio, float delta) { ratio = clampf(ratio + delta, -1.0f, 1.0f); }

void special_key(int key)
{
    const int mode = app_mode;
    const int view = sim_graphics_view.view_type;
    const float f = sim_operation_misc.frame_rate_period;

    if (key == KEY_CODE_TAB) {
        overlay_flag_a = overlay_flag_a ? 0 : 1;
        overlay_flag_b = overlay_flag_b ? 0 : 1;
    }

    if (mode == 0) {
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

    if (mode == 15 || mode == 18 || mode == 23) {
        if (key == KEY_CODE_UP) OPERATOR_panel(0);
        if (key == KEY_CODE_LEFT) OPERATOR_panel(2);
        if (key == KEY_CODE_DOWN) OPERATOR_panel(1);
        if (key == KEY_CODE_RIGHT) OPERATOR_panel(3);
    }

    const double heading = sim_graphics_view.view_heading * DEG_TO_RAD_DOUBLE;
    const double pitch = sim_graphics_view.view_pitch * DEG_TO_RAD_DOUBLE;
    const float sh = static_cast<float>(std::sin(heading)), ch = static_cast<float>(std::cos(heading));
    const float sp = static_cast<float>(std::sin(pitch)), cp = static_cast<float>(std::cos(pitch));

    if (mode == 0 && view == 1020 && is_plain_arrow(key)) {
        float* p = free_view_point;
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

    if (mode == 0 && view == 1015 && (is_plain_arrow(key) || is_shift_arrow(key))) {
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

    const bool orbit = (mode == 0 && (view == 1018 || view == 1019)) || mode == 16 || mode == 17;
    if (orbit && (is_plain_arrow(key) || is_shift_arrow(key))) {
        float s;
        if (mode == 16 || mode == 17) {
            s = 1.0f;
        } else {
            const float d = orbit_view_distance / METRES_PER_NM;
            s = clampf(0.5f - 0.45f * std::sqrt(0.3f * d), 0.05f, 0.5f);
        }
        if (is_shift_arrow(key)) s *= 10.0f;
        if (is_up(key)) orbit_view_pitch = clampf(orbit_view_pitch + s * f, -0.45f * PI_F, 0.45f * PI_F);
        if (is_down(key)) orbit_view_pitch = clampf(orbit_view_pitch - s * f, -0.45f * PI_F, 0.45f * PI_F);
        if (is_left(key)) orbit_view_heading = wrap_open(orbit_view_heading + s * f, 2.0f * PI_F);
        if (is_right(key)) orbit_view_heading = wrap_open(orbit_view_heading - s * f, 2.0f * PI_F);
        last_view_key_time = frame_clock;
    }

    if (mode == 0 && atc_window.open != 0) {
        if (key == KEY_CODE_UP) atc_window.selected_row -= 1;
        if (key == KEY_CODE_DOWN) atc_window.selected_row += 1;
        if (key == KEY_CODE_LEFT) atc_window.selected_col -= 1;
        if (key == KEY_CODE_RIGHT) atc_window.selected_col += 1;
    }
}

// ---------------------------------------------------------------------------
// Table commands.

// How far one press of a heading, course or barometer key moves: one unit on
// a single press, a rate while the key repeats faster than ten times a second.
struct step_sizes {
    float degrees;
    float inches;
};

step_sizes step_for_now()
{
    const float now = frame_clock;
    const bool fast = now < last_step_key_time + 0.1f;
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
    const int D = clampi(pln[0].acf_flap_detents, 0, ACF_FLAP_DN - 1);
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
    nearest = clampi(nearest + direction, 0, D);
    request = flap_detent_ratio(nearest, D);
}

void toggle_reversers()
{
    const acf_struct& a = pln[0];
    if (!a.acf_revthrust_eq) return;
    flt_struct& f = flt[0];
    for (int n = 0; n < engine_count(); ++n) {
        if (FLT_failure_state(0, 74 + n) == FAILURE_STATE_FAILED) continue;
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

void table_commands(int key)
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    sim_cockpit_radios_block& radio = sim_cockpit_radios;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    auto m = [key](int slot) { return matches(key, slot); };

    if (m(1)) toggle_reversers();
    if (m(6)) PANEL_transponder(1);
    if (m(2)) PANEL_switches(11, 0);
    if (m(3)) f.parkbrake = f.parkbrake < 0.01f ? 0.67f : 0.0f;
    if (m(4)) f.parkbrake = f.parkbrake < 0.01f ? 1.0f : 0.0f;
    if (m(5)) PANEL_switches(20, 0);
    if (m(7)) sim_time.zulu_time_sec = wrap_open(sim_time.zulu_time_sec - 240.0f, 86400.0f);
    if (m(8)) sim_time.zulu_time_sec = wrap_open(sim_time.zulu_time_sec + 240.0f, 86400.0f);
    if (m(22)) step_target_index(-1);
    if (m(23)) step_target_index(1);

    const bool step_key = m(24) || m(25) || m(26) || m(27) || m(28) || m(29) || m(30) || m(31);
    if (step_key) {
        const step_sizes s = step_for_now();
        if (m(24)) ap.heading_mag = wrap_open(ap.heading_mag - s.degrees, 360.0f);
        if (m(25)) ap.heading_mag = wrap_open(ap.heading_mag + s.degrees, 360.0f);
        if (m(28)) radio.nav1_obs_degm = wrap_open(radio.nav1_obs_degm - s.degrees, 360.0f);
        if (m(29)) radio.nav1_obs_degm = wrap_open(radio.nav1_obs_degm + s.degrees, 360.0f);
        if (m(30)) radio.nav2_obs_degm = wrap_open(radio.nav2_obs_degm - s.degrees, 360.0f);
        if (m(31)) radio.nav2_obs_degm = wrap_open(radio.nav2_obs_degm + s.degrees, 360.0f);
        float& baro = sim_cockpit_misc.barometer_setting;
        if (m(26)) baro = clampf(baro - s.inches, 0.0f, 35.0f);
        if (m(27)) baro = clampf(baro + s.inches, 0.0f, 35.0f);
    }

    if (m(32)) PANEL_tune_com_digit(&radio.com1_freq_hz, -1, 1);
    if (m(33)) PANEL_tune_com_digit(&radio.com1_freq_hz, 1, 1);
    if (m(34)) PANEL_tune_com_digit(&radio.com1_freq_hz, -5, 2);
    if (m(35)) PANEL_tune_com_digit(&radio.com1_freq_hz, 5, 2);
    if (m(36)) PANEL_tune_freq_digit(&radio.nav1_freq_hz, -1, 1);
    if (m(37)) PANEL_tune_freq_digit(&radio.nav1_freq_hz, 1, 1);
    if (m(38)) PANEL_tune_freq_digit(&radio.nav1_freq_hz, -5, 2);
    if (m(39)) PANEL_tune_freq_digit(&radio.nav1_freq_hz, 5, 2);
    if (m(40)) PANEL_tune_com_digit(&radio.com2_freq_hz, -1, 1);
    if (m(41)) PANEL_tune_com_digit(&radio.com2_freq_hz, 1, 1);
    if (m(42)) PANEL_tune_com_digit(&radio.com2_freq_hz, -5, 2);
    if (m(43)) PANEL_tune_com_digit(&radio.com2_freq_hz, 5, 2);
    if (m(44)) PANEL_tune_freq_digit(&radio.nav2_freq_hz, -1, 1);
    if (m(45)) PANEL_tune_freq_digit(&radio.nav2_freq_hz, 1, 1);
    if (m(46)) PANEL_tune_freq_digit(&radio.nav2_freq_hz, -5, 2);
    if (m(47)) PANEL_tune_freq_digit(&radio.nav2_freq_hz, 5, 2);
    for (int d = 0; d < 3; ++d) {
        if (m(48 + 2 * d)) PANEL_tune_adf_digit(&radio.adf1_freq_hz, -1, d + 1);
        if (m(49 + 2 * d)) PANEL_tune_adf_digit(&radio.adf1_freq_hz, 1, d + 1);
    }
    for (int d = 0; d < 4; ++d) {
        if (m(54 + 2 * d)) PANEL_tune_squawk_digit(&radio.transponder_code, -1, d + 1);
        if (m(55 + 2 * d)) PANEL_tune_squawk_digit(&radio.transponder_code, 1, d + 1);
    }
    if (m(62)) flap_step(-1);
    if (m(63)) flap_step(1);
    if (m(64))
        for (int n = 0; n < engine_count(); ++n) f.ENGN_heat[n] = 0.0f;
    if (m(65))
        for (int n = 0; n < engine_count(); ++n) f.ENGN_heat[n] = 1.0f;
    if (m(66) || m(67)) {
        const float lo = a.acf_autosbrkEQ ? -0.5f : 0.0f;
        f.sbrkrqst = clampf(f.sbrkrqst + (m(66) ? -0.5f : 0.5f), lo, 1.0f);
    }
    if (m(68)) PANEL_trim_wheels(27, key_down);
    if (m(69)) PANEL_trim_wheels(29, key_down);
    if (m(70)) PANEL_trim_wheels(24, key_down);
    if (m(71)) PANEL_trim_wheels(26, key_down);
    if (m(72)) PANEL_trim_wheels(21, key_down);
    if (m(73)) PANEL_trim_wheels(20, key_down);
    if (m(74)) APPLICATION_handlemenu(1000);
    if (m(75)) APPLICATION_handlemenu(sim_graphics_view.view_type == 1001 ? 1002 : 1001);
    if (m(76)) {
        int next;
        switch (sim_graphics_view.view_type) {
        case 1004: next = 1006; break;
        case 1006: next = 1008; break;
        case 1008: next = 1010; break;
        case 1010: next = 1009; break;
        case 1009: next = 1007; break;
        case 1007: next = 1005; break;
        case 1005: next = 1000; break;
        default: next = 1004; break;
        }
        APPLICATION_handlemenu(next);
    }
    if (m(77)) {
        int next;
        switch (sim_graphics_view.view_type) {
        case 1005: next = 1007; break;
        case 1007: next = 1009; break;
        case 1009: next = 1010; break;
        case 1010: next = 1008; break;
        case 1008: next = 1006; break;
        case 1006: next = 1004; break;
        case 1004: next = 1000; break;
        default: next = 1005; break;
        }
        APPLICATION_handlemenu(next);
    }
    static const int view_commands[11] = {1010, 1014, 1015, 1017, 1018, 1019, 1020, 1024, 1023, 1029, 1030};
    for (int i = 0; i < 11; ++i)
        if (m(78 + i)) APPLICATION_handlemenu(view_commands[i]);
    if (m(91)) APPLICATION_handlemenu(1203);
    if (m(92)) APPLICATION_handlemenu(1031);
    if (m(93)) APPLICATION_handlemenu(1021);
    if (m(9)) {
        ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = 9;
        ap.hnav_mode = ap.vnav_mode = 9;
        ap.backcourse_on = 0;
    }
    if (m(10)) toggle_mode(ap.airspeed_mode, 10);
    if (m(11)) toggle_mode(ap.heading_mode, 11);
    if (m(12)) toggle_mode(ap.heading_mode, 12);
    for (int s = 13; s <= 17; ++s)
        if (m(s)) toggle_mode(ap.altitude_mode, s);
    if (m(18)) ap.hnav_mode = (ap.hnav_mode == 18 || ap.hnav_mode == 19) ? 9 : 18;
    if (m(20)) ap.vnav_mode = (ap.vnav_mode == 20 || ap.vnav_mode == 21) ? 9 : 20;
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
    if (atc_window.open == 0) {
        atc_window.open = 1;
        atc_window.sub_state = 0;
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
    if (!FILE_open_for_use(path, KIND_TEXT, KEY_FILE_VERSION, 1)) {
        FILE_close_current();
        return;
    }
    std::istream& in = FILE_current_stream();
    for (int i = 0; i < KEY_SLOTS; ++i) {
        const int c = in.get();
        key_assignment_table[i] = c == std::char_traits<char>::eof() ? END_OF_FILE_KEY : static_cast<uint8_t>(c);
        // The rest of the line describes the command for the reader of the file.
        for (int d = c; d != std::char_traits<char>::eof() && static_cast<char>(d) != file_line_end;) d = in.get();
    }
    FILE_close_current();
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
    if ((mode == 0 || mode == 18) && matches(key, 0)) toggle(sim_time.paused);
    if (mode == 15 || mode == 18 || mode == 23) {
        if (matches(key, 89)) OPERATOR_panel(4);
        if (matches(key, 90)) OPERATOR_panel(5);
        return;
    }
    if (mode == 0 || mode == 16 || mode == 17) {
        if (matches(key, 89)) {
            APPLICATION_handlemenu(1026);
            last_view_key_time = frame_clock;
        }
        if (matches(key, 90)) {
            APPLICATION_handlemenu(1027);
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
    if (app_mode != 0) return;
    if (key == KEY_RETURN) return_key();
    table_commands(key);
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
    const int points = clampi(a.acf_num_thrustpoints, 0, FLT_ENGINES);
    for (int n = 0; n < points; ++n) {
        const bool usable = FLT_failure_state(0, FAIL_SLOT_ENGINE_BASE + n) != FAILURE_STATE_FAILED &&
                            n < a.acf_num_engines &&
                            !(a.acf_hide_prop_at_90_vect && a.thrust_vector_angle[n] >= 90.0f);
        if (usable && (code == 50 || code == 51)) ENGN_set_throttle(n, f.ENGN_thro[n] + (code == 50 ? -0.05f : 0.05f));
        if (usable && (code == 58 || code == 59)) ENGN_set_mixture(n, f.ENGN_mixt[n] + (code == 58 ? -0.05f : 0.05f));
        if (code == 54 || code == 55) {
            const float sign = code == 54 ? -1.0f : 1.0f;
            const int type = a.acf_prop_type[n];
            if (type == 1 || type == 7)
                ENGN_set_prop_rpm(n, f.ENGN_prop[n] + sign * 0.05f * (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp));
            else if (type == 2 || type == 3)
                ENGN_set_prop_pitch(n, f.POINT_pitch_deg[n] + sign);
        }
    }
}
