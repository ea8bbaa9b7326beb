// The serial console's input side: lever readings calibrated and mapped onto
// the flight controls by console model, and what every command code does.
// The stream is not framed: every byte is tried as a command with the next
// byte as its value, then as a one-byte message.
#include <algorithm>
#include <array>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/key_slots.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/radio_tuning.h"
#include "links/console.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "links/serial_calibration.h"
#include "flightmodel/systems/instrument_power.h"

namespace {

constexpr int KEY_MODIFIER_COMMAND = 2;
constexpr int MODEL_RADIOS_ONLY = 12;   // levers, pedals, buttons and switch rows ignored

void key_entry(int slot) { CORE_run_key_slot(KEY_MODIFIER_COMMAND, slot); }
// An engine count past the eight (a damaged aircraft file) would reach past
// the per-engine values: at most eight are changed.
int engine_count() { return std::clamp(pln[0].acf_num_engines, 0, FLT_ENGINES); }
bool layout2() { return screen_settings.eq_cirrus_layout2 != 0; }
bool cirrus2() { return sim_joystick.eq_pfc_cirrus2 != 0; }

// ---- lever channels ---------------------------------------------------------

struct lever_command {
    uint8_t command;
    int channel;
};
constexpr std::array<lever_command, 9> lever_commands = {{
    {0x85, 0}, {0x89, 1}, {0x84, 2}, {0x88, 3}, {0x83, 4}, {0x87, 5}, {0x80, 6}, {0x81, 7}, {0x82, 8},
}};
constexpr uint8_t CHANNEL_4_IGNORED_READING = 0x7B;

int lever_channel(uint8_t command, uint8_t value)
{
    for (const lever_command& l : lever_commands) {
        if (l.command != command) continue;
        if (l.channel == 4 && value == CHANNEL_4_IGNORED_READING) return -1;
        if (l.channel == 8 && !sim_joystick.eq_ped_wibrk) return -1;
        return l.channel;
    }
    return -1;
}

// The axes go to the yoke unless a plug-in holds them: pitch 0, roll 1, heading 2.
void axis_to_yoke(int channel, float value)
{
    sim_joystick_block& j = sim_joystick;
    const sim_operation_override_block& o = sim_operation_override;
    if (channel == 6 && !o.override_joystick_roll) j.yolk_roll_ratio = JOY_null_zone_curve(value, 1);
    if (channel == 7 && !o.override_joystick_pitch) j.yolk_pitch_ratio = JOY_null_zone_curve(value, 0);
    if (channel == 8 && !o.override_joystick_heading) j.yolk_heading_ratio = JOY_null_zone_curve(value, 2);
}

void update_channel(int c, uint8_t reading)
{
    const float r = reading;
    float& lo = serial_axis_lo[c];
    float& hi = serial_axis_hi[c];
    if (app_mode == MODE_JOYSTICK && screen_settings.joy_calibrating == 1) {
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    float& v = console.channel[c];
    if (c <= 5) {
        if (fide_mode)
            v = std::clamp((127.0f - r) / 127.0f, 0.0f, 1.0f);
        else
            v = hi == lo ? 0.5f : std::clamp((hi - r) / (hi - lo), 0.0f, 1.0f);
    } else {
        v = hi == lo ? 0.0f : std::clamp(2.0f * (r - lo) / (hi - lo) - 1.0f, -1.0f, 1.0f);
        axis_to_yoke(c, v);
    }
}

float rpm(float s)
{
    const acf_struct& a = pln[0];
    return a.acf_RSC_mingreen_prp + (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp) * s;
}
void lever(float s, int n) { ENGN_lever_to_throttle(s, n, 1); }

// Channel `c` just arrived: what it drives under each model.
void map_lever(int model, int c)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float s = console.channel[c];
    const float fwd = a.acf_throtmax_FWD, rev = a.acf_throtmax_REV;
    switch (model) {
    case 1:
        if (c == 0) f.ENGN_thro[0] = s * fwd;
        if (c == 4) f.ENGN_mixt[0] = s;
        return;
    case 2:
        if (c == 0) f.ENGN_thro[0] = s * fwd;
        if (c == 2) f.ENGN_prop[0] = rpm(s);
        if (c == 4) f.ENGN_mixt[0] = s;
        return;
    case 3:
        if (c == 0) f.ENGN_heat[0] = 1.0f - s;
        if (c == 2) f.ENGN_thro[0] = s * fwd;
        if (c == 4) f.ENGN_mixt[0] = s;
        return;
    case 4:
    case 5:
        if (c == 0 || c == 1) lever(s, c);
        if (c == 2 || c == 3) f.ENGN_prop[c - 2] = rpm(s);
        if (c == 4 || c == 5) f.ENGN_mixt[c - 4] = s;
        return;
    case 6:
    case 7:
        if (c == 0 || c == 1) f.ENGN_prop[c] = rpm(s);
        if (c == 2 || c == 3) lever(s, c - 2);
        if (c == 4 || c == 5) f.ENGN_mixt[c - 4] = s;
        return;
    case 11: {
        if (c == 0) f.sbrkrqst = 1.0f - s;
        const float* ch = console.channel;
        const bool r0 = ch[1] < 0.1f && ch[2] < 0.9f;
        const bool r1 = ch[4] < 0.1f && ch[3] < 0.9f;
        if (sim_cockpit_autopilot.airspeed_mode == 10 && sim_cockpit_autopilot.autopilot_mode == 2) return;
        if (c == 1 && !r0) f.ENGN_thro[0] = s * fwd;
        if (c == 2 && r0) f.ENGN_thro[0] = 1.0f - s * rev;
        if (c == 3 && r1) f.ENGN_thro[1] = 1.0f - s * rev;
        if (c == 4 && !r1) f.ENGN_thro[1] = s * fwd;
        return;
    }
    default: {
        if (c == 0) f.sbrkrqst = 1.0f - s;
        if (c == 5)
            for (int n = 0; n < FLT_ENGINES; ++n)
                if (FLT_failure_state(0, 74 + n) != FAILURE_STATE_FAILED) f.ENGN_propmode[n] = s < 0.5f ? 3 : 1;
        int first = 0, last = -1;   // channels that drive throttles 0.. in order
        if (model == 8) first = 2, last = 3;
        if (model == 9) first = 1, last = 3;
        if (model == 10) first = 1, last = 4;
        if (c >= first && c <= last) {
            const int n = c - first;
            f.ENGN_thro[n] = s * (f.ENGN_propmode[n] == 3 ? rev : fwd);
        }
        return;
    }
    }
}

// Model 11 sets both reversers from the levers on every message.
void model11_reversers()
{
    if (sim_cockpit_autopilot.airspeed_mode == 10 && sim_cockpit_autopilot.autopilot_mode == 2) return;
    const float* ch = console.channel;
    flt_struct& f = flt[0];
    f.ENGN_propmode[0] = ch[1] < 0.1f && ch[2] < 0.9f ? 3 : 1;
    f.ENGN_propmode[1] = ch[4] < 0.1f && ch[3] < 0.9f ? 3 : 1;
}

// ---- the button and switch rows ------------------------------------------------

// 0x9B: the value that presses each of the console's buttons 0..8.
constexpr std::array<uint8_t, 9> button_row_values = {10, 12, 11, 2, 0, 3, 1, 5, 7};

void starter_by_type(int n)
{
    const float seconds = pln[0].acf_en_type[n] < 2 ? 1.0f : 10.0f;
    sim_cockpit_engine.starter_duration[n] = seconds;
}

int32_t tank_selector(uint8_t v)
{
    constexpr int32_t tanks[4] = {0, 1, 4, 2};
    return tanks[v];
}
int32_t magnetos(uint8_t v)
{
    constexpr int32_t settings[4] = {0, 2, 1, 3};
    return settings[v];
}

void switch_rows(uint8_t cmd, uint8_t v)
{
    sim_joystick_block& j = sim_joystick;
    flt_struct& f = flt[0];
    if (cmd == 0x9B)
        for (size_t b = 0; b < button_row_values.size(); ++b)
            if (button_row_values[b] == v) j.joystick_button_values[b] = 1;
    if (cmd == 0x90 && v == 1) key_entry(KEY_SLOT_FLAPS_UP);
    if (cmd == 0x90 && v == 2) key_entry(KEY_SLOT_FLAPS_DOWN);
    if (cmd == 0x94 && v == 4) CORE_panel_transponder(1);
    if (cmd == 0x92 && !layout2()) {
        struct starter_key {
            uint8_t value;
            int engine;
        };
        constexpr starter_key starters[6] = {{1, 0}, {2, 1}, {0x15, 0}, {0x19, 1}, {0x26, 2}, {0x29, 3}};
        if (PANEL_has_power())
            for (const starter_key& s : starters)
                if (s.value == v) starter_by_type(s.engine);
        constexpr uint8_t magneto_off[4] = {0x14, 0x11, 0x24, 0x21};
        for (int n = 0; n < 4; ++n)
            if (magneto_off[n] == v) f.ignition_on[n] = 0;
    }
    if (cmd == 0x92 && layout2()) {
        if (v == 0x16) console.starter_latch_1 = true;
        if (v == 0x19) console.starter_latch_2 = true;
        if (v == 0x15) console.starter_latch_1 = console.starter_latch_2 = false;
        if (v == 0x20 || v == 0x21 || v == 0x24 || v == 0x25) {
            f.ENGN_mixt[0] = (v & 0x01) ? 1.0f : 0.0f;
            f.ENGN_mixt[1] = (v & 0x04) ? 1.0f : 0.0f;
        }
    }
    if (cmd == 0x96 && layout2() && v >= 0x10 && v <= 0x15) sim_cockpit_switches.auto_brake_settings = v - 0x11;
    if (!cirrus2()) return;
    if (cmd == 0x9A) {
        f.beacon_lights_on = f.strobe_lights_on = (v & 0x01) ? 1 : 0;
        f.nav_lights_on = (v & 0x02) ? 1 : 0;
        f.landing_lights_on = (v & 0x04) ? 1 : 0;
        f.taxi_light_on = (v & 0x08) ? 1 : 0;
    }
    if (cmd == 0x91 && (v == 1 || v == 2)) f.ENGN_cowl[0] = v == 2 ? 1.0f : 0.0f;
    if (cmd == 0x96 && (v == 1 || v == 2)) f.ENGN_cowl[1] = v == 2 ? 1.0f : 0.0f;
    if ((cmd == 0x93 || cmd == 0x97) && v <= 3) sim_cockpit_engine.fuel_tank_selector = tank_selector(v);
    if (cmd == 0x97 && v >= 0x10 && v <= 0x12) {
        constexpr int32_t transfers[3] = {0, 1, 3};
        sim_cockpit_engine.fuel_tank_transfer = transfers[v - 0x10];
    }
    if (cmd == 0x98 && v <= 3) f.ignition_on[0] = magnetos(v);
    if (cmd == 0x99 && v <= 3) f.ignition_on[1] = magnetos(v);
}

// ---- radios --------------------------------------------------------------------

struct radio_row {
    uint8_t f_code;
    int32_t sim_cockpit_radios_block::*active;
    int32_t sim_cockpit_radios_block::*standby;
    int32_t audio;   // audio panel selection of values 0 and 2
    bool com;        // COM tuning range
};
constexpr std::array<radio_row, 4> radio_rows = {{
    {0xF1, &sim_cockpit_radios_block::nav1_freq_hz, &sim_cockpit_radios_block::nav1_stdby_freq_hz, 0, false},
    {0xF0, &sim_cockpit_radios_block::com1_freq_hz, &sim_cockpit_radios_block::com1_stdby_freq_hz, 10, true},
    {0xF3, &sim_cockpit_radios_block::nav2_freq_hz, &sim_cockpit_radios_block::nav2_stdby_freq_hz, 1, false},
    {0xF2, &sim_cockpit_radios_block::com2_freq_hz, &sim_cockpit_radios_block::com2_stdby_freq_hz, 11, true},
}};

void tune(int32_t* freq, int step, int part, bool com)
{
    if (com)
        PANEL_tune_com_digit(freq, step, part);
    else
        PANEL_tune_freq_digit(freq, step, part);
}

void radios(uint8_t cmd, uint8_t v)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const bool f_code = (cmd & 0xF0) == 0xF0;
    const int sign = f_code ? -1 : 1;
    const uint8_t low = cmd & 0x0F;
    for (const radio_row& row : radio_rows) {
        if ((row.f_code & 0x0F) != low) continue;
        if (v == 0 || v == 2) sw.audio_panel_out = row.audio;
        if (v == 1 && f_code) std::swap(r.*row.active, r.*row.standby);
        if (v == 3) tune(&(r.*row.standby), sign, 1, row.com);
        if (v == 4) tune(&(r.*row.standby), 5 * sign, 2, row.com);
        return;
    }
    if (low == 4) {   // DME
        if (f_code && v == 7) sw.DME_radio_selector = 0;
        if (f_code && v == 8) sw.DME_radio_selector = 1;
        if (f_code && v == 1) sw.DME_radio_selector = 2;
        if (f_code && v == 5) sw.DME_distance_or_time = 0;
        if (f_code && v == 6) sw.DME_distance_or_time = 1;
        if (v == 9) sw.RMI_selector = f_code ? 1 : 0;
        if (v == 3) PANEL_tune_freq_digit(&r.dme_freq_hz, sign, 1);
        if (v == 4) PANEL_tune_freq_digit(&r.dme_freq_hz, 5 * sign, 2);
    }
    if (low == 5) {   // ADF
        if (f_code && v == 1) std::swap(r.adf1_freq_hz, r.adf1_stdby_freq_hz);
        int step = 0;
        if (v == 3) step = 20 * sign;
        if (v == 4) step = sign;
        if (step) {
            int32_t& s = r.adf1_stdby_freq_hz;
            s += step;
            while (s < 0) s += 1000;
            while (s > 999) s -= 1000;
        }
    }
}

// ---- autopilot, transponder and dials -----------------------------------------

void record_button(int code)
{
    int32_t& last = sim_joystick_pfc.last_autopilot_button_input;
    int32_t v = (last / 100) * 100 + 100;
    if (v > 999) v = 0;
    last = v + code;
}

void vertical_speed_step(float delta)
{
    if (sim_operation_override.override_pfc_autopilot_lites) return;
    float& vv = sim_cockpit_autopilot.vertical_velocity;
    vv = std::clamp(vv + delta, -9900.0f, 9900.0f);
}

void autopilot_f6(uint8_t cmd, uint8_t v)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    if (cmd == 0xE6) {
        if (v == 2) record_button(5);
        if (v == 1) record_button(3);
        if (v == 9) {
            record_button(13);
            console.autopilot_hold = false;
        }
        return;
    }
    switch (v) {
    case 0:
        record_button(1);
        if (ap.autopilot_mode == 2) {
            ap.autopilot_mode = 0;
            key_entry(KEY_SLOT_AUTOPILOT_OFF);
        } else if (ap.autopilot_mode == 0 || ap.autopilot_mode == 1) {
            ap.autopilot_mode = 2;
        }
        break;
    case 2:
        record_button(4);
        vertical_speed_step(100.0f);
        break;
    case 1:
        record_button(2);
        vertical_speed_step(-100.0f);
        break;
    case 3: {
        record_button(6);
        int32_t m = ap.autopilot_mode + 1;
        while (m > 1) m -= 2;
        while (m < 0) m += 2;
        ap.autopilot_mode = m;
        break;
    }
    case 4: record_button(7); key_entry(KEY_SLOT_AP_ALTITUDE_HOLD); break;
    case 5: record_button(8); key_entry(KEY_SLOT_AP_HEADING); break;
    case 6: record_button(9); key_entry(KEY_SLOT_AP_VERTICAL_NAV); break;
    case 7: record_button(10); key_entry(KEY_SLOT_AP_VERTICAL_NAV); break;
    case 8:
        record_button(11);
        ap.backcourse_on = ap.backcourse_on ? 0 : 1;
        break;
    case 9:
        record_button(12);
        console.autopilot_hold = true;
        break;
    default: break;
    }
}

// 0x9C: the layout-2 switch row of speed hold, yaw damper and anti-ice.
void switch_row_9c(uint8_t value)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    int v = value;
    if (v >= 8) {
        v -= 8;
        if (ap.airspeed_mode == 10) ap.airspeed_mode = 9;
    }
    if (v >= 4) {
        v -= 4;
        sim_cockpit_switches.yaw_damper_on = sim_cockpit_switches.yaw_damper_on ? 0 : 1;
    }
    sim_cockpit_switches.anti_ice_on = v >= 2 ? 1 : 0;
    if (v >= 2) v -= 2;
    record_button(v == 0 ? 15 : 14);
    if (console.previous_speed_hold == 0 && v != 0) ap.airspeed_mode = 10;
    console.previous_speed_hold = v;
}

void step_angle(float& a, float delta) { a = UTIL_wrap_open(a + delta, 360.0f); }

void dials(uint8_t cmd, uint8_t value)
{
    const bool f = cmd == 0xF8;
    const bool fast = (value & 0xF0) == 0x10;
    const int v = value & 0x0F;
    if ((value & 0xF0) != 0x00 && !fast) return;
    const float step = fast ? 3.0f : 1.0f;
    const float down = f ? -step : step;   // the F code turns the course knobs down
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    const bool gps_course = sim_cockpit_switches.HSI_selector == 2;
    switch (v) {
    case 0:
        if (!layout2()) {
            // The ADF card (the word published as adf1_cardinal_dir) turns the
            // other way.
            step_angle(r.adf1_obs_card_mag, -down);
        } else {
            float& mins = sim_cockpit_misc.radio_altimeter_minimum;
            mins = std::clamp(mins + (f ? 1.0f : -1.0f) * (fast ? 100.0f : 10.0f), 0.0f, 2500.0f);
        }
        break;
    case 1: step_angle(r.nav1_obs_degm, down); break;
    case 2: step_angle(sim_cockpit_autopilot.heading_mag, down); break;
    case 3: {
        float& baro = sim_cockpit_misc.barometer_setting;
        baro = std::clamp(baro + (f ? -1.0f : 1.0f) * (fast ? 0.01f : 0.005f), 0.0f, 35.0f);
        break;
    }
    case 4: step_angle(gps_course ? r.obs_mag : r.nav1_obs_degm, down); break;
    case 5: step_angle(gps_course ? r.obs_mag : r.nav2_obs_degm, down); break;
    default: break;
    }
}

float hundreds_toward_zero(float v) { return std::trunc(v / 100.0f) * 100.0f; }

void knobs_f9(uint8_t cmd, uint8_t v)
{
    const bool f = cmd == 0xF9;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    if (!layout2()) {
        if (f && v == 7)
            sim_cockpit_radios.obs_mag = sim_cockpit_gps.course + sim_flightmodel_position.magnetic_variation;
        if (v == 10) CORE_panel_gps(f ? 3 : -3);
        if (v == 11) CORE_panel_gps(f ? -2 : 2);
        if (v == 12) CORE_panel_gps(f ? -1 : 1);
    } else {
        if (f && v == 1) {
            record_button(16);
            ENGN_set_throttle(0, 1.0f);
            for (int n = 1; n < engine_count(); ++n) ENGN_set_throttle(n, flt[0].ENGN_thro[0]);
        }
        constexpr uint8_t code_only[6] = {0, 7, 9, 8, 13, 14};
        for (int k = 0; k < 6; ++k)
            if (f && v == code_only[k]) record_button(17 + k);
        const float sign = f ? -1.0f : 1.0f;
        if (v == 11) ap.airspeed += sign * (ap.airspeed_is_mach ? 0.1f : 10.0f);
        if (v == 12) ap.airspeed += sign * (ap.airspeed_is_mach ? 0.01f : 5.0f);
        if (f && v == 10) sim_cockpit_misc.barometer_setting = 29.92f;
    }
    if (f && v == 13) key_entry(KEY_SLOT_AP_VERTICAL_SPEED);
    if (f && v == 14) key_entry(KEY_SLOT_AP_ALTITUDE_HOLD);
    const float hundred = f ? -100.0f : 100.0f;
    if (v == 15) ap.altitude = hundreds_toward_zero(ap.altitude + hundred);
    if (v == 16) ap.vertical_velocity = hundreds_toward_zero(ap.vertical_velocity + hundred);
}

void transponder(uint8_t cmd, uint8_t v)
{
    if (cmd == 0xF7 && (v == 4 || v == 9)) CORE_panel_transponder(1);
    if (v >= 5 && v <= 8) PANEL_tune_squawk_digit(&sim_cockpit_radios.transponder_code, cmd == 0xF7 ? -1 : 1, v - 4);
}

// ---- one-byte messages -----------------------------------------------------------

using byte_action = void (*)();
struct one_byte_row {
    uint8_t byte;
    bool cirrus2_only;
    byte_action action;
};

void heat_all(float v)
{
    for (int n = 0; n < engine_count(); ++n) flt[0].ENGN_heat[n] = v;
}

void parking_brake_button()
{
    if (!screen_settings.eq_cirrus_latch_brake) {
        console.parkbrake_hold_until = frame_clock + 1.0f;
        return;
    }
    if (frame_clock - console.parkbrake_last_toggle > 0.5f) {
        flt[0].parkbrake = flt[0].parkbrake <= 0.5f ? 1.0f : 0.0f;
        console.parkbrake_last_toggle = frame_clock;
    }
}

const one_byte_row one_byte_rows[] = {
    {0xD0, false, [] { console.held_key_a = true; }},
    {0xC0, false, [] { console.held_key_a = false; }},
    {0xD1, false, [] { console.held_key_b = true; }},
    {0xC1, false, [] { console.held_key_b = false; }},
    {0xD2, false, [] { if (sim_cockpit_switches.gear_handle_status != 0) CORE_panel_switches(20, 0); }},
    {0xC2, false, [] { if (sim_cockpit_switches.gear_handle_status == 0) CORE_panel_switches(20, 0); }},
    {0xB0, true, [] { CORE_panel_clock_timer(0, 1); }},
    {0xB1, true, [] { CORE_panel_clock_timer(1, 0); }},
    {0xB2, true, [] { CORE_run_command(11); }},
    {0xB3, true, [] { CORE_run_command(800); }},
    {0xB4, true, [] { CORE_run_command(11); }},
    {0xB5, true, [] {
         if (frame_clock - console.last_timer_button_time > 0.1f) key_entry(KEY_SLOT_PAUSE);
         console.last_timer_button_time = frame_clock;
     }},
    {0xD4, true, [] { heat_all(1.0f); }},
    {0xC4, true, [] { heat_all(0.0f); }},
    {0xD5, true, parking_brake_button},
    {0xD6, true, [] { sim_cockpit_engine.fuel_pump_on[0] = 1; }},
    {0xC6, true, [] { sim_cockpit_engine.fuel_pump_on[0] = 0; }},
    {0xD9, true, [] { sim_cockpit_engine.fuel_pump_on[1] = 1; }},
    {0xC9, true, [] { sim_cockpit_engine.fuel_pump_on[1] = 0; }},
    {0xD7, true, [] { sim_cockpit_switches.pitot_heat_on = 1; }},
    {0xC7, true, [] { sim_cockpit_switches.pitot_heat_on = 0; }},
    {0xDB, true, [] { sim_cockpit_electrical.battery_on = 1; }},
    {0xCB, true, [] { sim_cockpit_electrical.battery_on = 0; }},
    {0xDC, true, [] { sim_cockpit_electrical.avionics_on = 1; }},
    {0xCC, true, [] { sim_cockpit_electrical.avionics_on = 0; }},
    {0xDD, true, [] { sim_cockpit_electrical.generator_on[0] = 1; }},
    {0xCD, true, [] { sim_cockpit_electrical.generator_on[0] = 0; }},
    {0xDE, true, [] { sim_cockpit_electrical.generator_on[1] = 1; }},
    {0xCE, true, [] { sim_cockpit_electrical.generator_on[1] = 0; }},
};

}  // namespace

void UTIL_cirrus_parse(uint8_t cmd, uint8_t v)
{
    const int model = CONSOLE_model();
    const bool all = model != MODEL_RADIOS_ONLY;

    if (all) {
        const int c = lever_channel(cmd, v);
        if (c >= 0) {
            update_channel(c, v);
            if (c <= 5) map_lever(model, c);
        }
        if (model == 11) model11_reversers();
        if (sim_joystick.eq_pfc_pedals && (cmd == 0x86 || cmd == 0x8A)) {
            const float brake = std::clamp(1.15f - (static_cast<float>(v) / 128.0f) * 1.3f, 0.0f, 1.0f);
            (cmd == 0x86 ? flt[0].l_brake_add : flt[0].r_brake_add) = brake;
        }
        switch_rows(cmd, v);
        // Only the second layout's row releases the latches (in the first
        // layout 0x92 0x15 starts engine 0 instead; model 12 reads no row).
        // A latch acting where nothing can release it would crank its starter
        // without end, so it waits until the second layout is back.
        if (layout2() && PANEL_has_power()) {
            if (console.starter_latch_1) sim_cockpit_engine.starter_duration[0] = 1.0f;
            if (console.starter_latch_2) sim_cockpit_engine.starter_duration[1] = 1.0f;
        }
    }

    if ((cmd >= 0xF0 && cmd <= 0xF5) || (cmd >= 0xE0 && cmd <= 0xE5)) radios(cmd, v);
    if (cmd == 0xF6 || cmd == 0xE6) autopilot_f6(cmd, v);
    if (cmd == 0x9C && layout2()) switch_row_9c(v);
    if (cmd == 0xF7 || cmd == 0xE7) transponder(cmd, v);
    if (cmd == 0xF8 || cmd == 0xE8) dials(cmd, v);
    if (cmd == 0xF9 || cmd == 0xE9) knobs_f9(cmd, v);
    if (console.autopilot_hold) CORE_panel_switches(455, 0);
}

void UTIL_cirrus_onoff(uint8_t byte)
{
    for (const one_byte_row& row : one_byte_rows) {
        if (row.byte != byte) continue;
        if (row.cirrus2_only && !cirrus2()) continue;
        row.action();
    }
    const int tick = fide_mode ? INTERVAL_TENTH_SECOND : INTERVAL_TWENTIETH_SECOND;
    if (interval_ticks[tick]) {
        if (console.held_key_a) key_entry(KEY_SLOT_ELEVATOR_TRIM_DOWN);
        if (console.held_key_b) key_entry(KEY_SLOT_ELEVATOR_TRIM_UP);
    }
    // The held parking brake belongs to the extended rows that carry its
    // button. Written on every byte of a console without them, it would hold
    // the brake released against the keyboard and the panel: the brake could
    // never be set while such a console talks.
    if (cirrus2() && !screen_settings.eq_cirrus_latch_brake)
        flt[0].parkbrake = console.parkbrake_hold_until > frame_clock ? 1.0f : 0.0f;
}
