// The joystick button functions: one table row per button function code
// with what the code does on the frame its button goes down, on every frame
// it is held, on the frame it comes up and on every frame it is up; and the
// two governors of the rotor buttons.
#include <algorithm>
#include <array>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/key_slots.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "links/joystick.h"
#include "flightmodel/systems/instrument_power.h"

namespace {

using handler = void (*)(int code);
struct button_function {
    handler pressed = nullptr;
    handler held = nullptr;
    handler released = nullptr;
    handler idle = nullptr;
};

constexpr int KEY_MODIFIER_ARROWS = 1;   // the arrow keys' class
constexpr int KEY_MODIFIER_COMMAND = 2;  // a key taken from the key assignment table
constexpr int KEY_UP = 0x7E00, KEY_DOWN = 0x7D00, KEY_LEFT = 0x7B00, KEY_RIGHT = 0x7C00;
constexpr int VIEW_FORWARD = 1000;


float period() { return sim_operation_misc.frame_rate_period; }
// An engine count past the eight (a damaged aircraft file) would reach past
// the per-engine values: at most eight are changed.
int engines() { return std::clamp(pln[0].acf_num_engines, 0, FLT_ENGINES); }
bool outer_view()
{
    const int32_t v = sim_graphics_view.view_type;
    return v != 1018 && v != 1019;
}
void key_entry(int slot) { CORE_run_key_slot(KEY_MODIFIER_COMMAND, slot); }
void key(int modifier, int k) { CORE_run_key(modifier, k); }
void command(int c) { CORE_run_command(c); }

// The first engine's control changed through its setter; the others follow it.
void throttle_all(float first)
{
    ENGN_set_throttle(0, first);
    for (int n = 1; n < engines(); ++n) ENGN_set_throttle(n, flt[0].ENGN_thro[0]);
}
void prop_all(float first)
{
    ENGN_set_prop_rpm(0, first);
    for (int n = 1; n < engines(); ++n) ENGN_set_prop_rpm(n, flt[0].ENGN_prop[0]);
}
void mixture_all(float first)
{
    ENGN_set_mixture(0, first);
    for (int n = 1; n < engines(); ++n) ENGN_set_mixture(n, flt[0].ENGN_mixt[0]);
}

void starter(int n)
{
    if (n < 0 || n >= FLT_ENGINES || !PANEL_has_power()) return;
    sim_cockpit_engine.starter_duration[n] = period() * 2.0f;
}

void step_within(float& v, float delta, float lo, float hi) { v = std::clamp(v + delta, lo, hi); }

// Codes 49 and 50: the thrust vector and the wing sweep, -1 or +1.
void vector_and_sweep(int sign)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    if (a.acf_vectEQ)
        step_within(f.vectrqst, sign * a.acf_vect_rate * period(), std::min(JOY_VECTOR_LOWER, JOY_VECTOR_UPPER),
                    std::max(JOY_VECTOR_LOWER, JOY_VECTOR_UPPER));
    if (a.acf_varsweepEQ) step_within(f.swdirqst, sign * 0.5f * period(), 0.0f, 1.0f);
}

// Codes 66 and 67: the ECAM page, or the warnings silenced for 30 s.
void ecam_step(int sign)
{
    if (sim_cockpit_warnings.ECAM_warning_on) {
        sim_cockpit_warnings.warning_suppression_timeout = frame_clock + 30.0f;
        return;
    }
    int32_t& m = sim_cockpit_switches.ECAM_mode;
    m = ((m + sign) % 5 + 5) % 5;
}

// Code 78 held: the rotor trim follows the rotor speed the airspeed calls for.
void rotor_trim_governor()
{
    flt_struct& f = flt[0];
    const float v = f.indicated_airspeed;
    const float target = v < 200.0f ? std::clamp(244.0f - 1.2f * (v - 80.0f), 100.0f, 244.0f)
                                    : std::clamp(100.0f + 0.5f * (v - 200.0f), 100.0f, 150.0f);
    const float expected = (f.POINT_tacrad[1] + 5.0f * f.POINT_omegadot[1]) * UNIT.radps_to_rpm;
    const float limit = 0.1f * period();
    const float step = std::clamp((target - expected) / 10.0f, -limit, limit);
    // A speed of no number would leave the trim no number for good: the trim stays.
    if (!std::isfinite(step)) return;
    f.rot_trim = std::clamp(f.rot_trim + step, 0.0f, 1.0f);
}

// Code 79 idle: the second propeller's pitch keeps the rotor speed on the
// ground and the rotor's cyclic near its target in flight.
void pitch_governor()
{
    if (sim_time.paused) return;
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = period();
    const float v = f.indicated_airspeed;
    float& pitch = f.POINT_pitch_deg[1];
    float wanted;
    if (v < 50.0f) {
        const float rpm = f.POINT_tacrad[1] * UNIT.radps_to_rpm;
        wanted = std::clamp((rpm - 260.0f) * 0.05f + 7.0f, 3.5f, 7.0f);
    } else {
        const float aim = std::clamp(4.5f - 0.01f * v, 3.0f, 4.5f);
        const float c = std::hypot(f.cyclic_ailn_blad_alph[1], f.cyclic_elev_blad_alph[1]);
        if (!joystick.cyclic_seen) {
            joystick.cyclic_seen = true;
            joystick.previous_cyclic = c;
        }
        // A frame period of 0 would divide by zero: the cyclic counts as not moving.
        const float rate = dt > 0.0f ? (c - joystick.previous_cyclic) / dt : 0.0f;
        const float error = std::clamp((aim - c) - rate, -1.0f, 1.0f);
        joystick.previous_cyclic = c;
        wanted = pitch + error * dt;
    }
    // A speed or rotor reading of no number would leave the pitch no number
    // for good: the pitch stays.
    if (!std::isfinite(wanted)) return;
    const float most = 6.0f * dt;
    pitch += std::clamp(wanted - pitch, -most, most);
    // Held between the two pitch limits in either order (an aircraft file with
    // them the wrong way round would make the clamp undefined).
    pitch = std::clamp(pitch, std::min(a.acf_min_pitch[1], a.acf_max_pitch[1]),
                       std::max(a.acf_min_pitch[1], a.acf_max_pitch[1]));
}

constexpr std::array<button_function, JOY_BUTTON_CODES> make_table()
{
    std::array<button_function, JOY_BUTTON_CODES> t{};
    // Starters, all engines (1) or one (2..9).
    t[1].held = [](int) {
        for (int n = 0; n < engines(); ++n) starter(n);
    };
    for (int c = 2; c <= 9; ++c) t[c].held = [](int code) { starter(code - 2); };
    // Throttle, propeller and mixture levers at 0.25 of their travel a second.
    t[10].held = [](int) { throttle_all(flt[0].ENGN_thro[0] + 0.25f * period()); };
    t[11].held = [](int) { throttle_all(flt[0].ENGN_thro[0] - 0.25f * period()); };
    t[12].held = [](int) {
        const acf_struct& a = pln[0];
        prop_all(flt[0].ENGN_prop[0] + 0.25f * (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp) * period());
    };
    t[13].held = [](int) {
        const acf_struct& a = pln[0];
        prop_all(flt[0].ENGN_prop[0] - 0.25f * (a.acf_RSC_redline_prp - a.acf_RSC_mingreen_prp) * period());
    };
    t[14].held = [](int) { mixture_all(flt[0].ENGN_mixt[0] + 0.25f * period()); };
    t[15].held = [](int) { mixture_all(flt[0].ENGN_mixt[0] - 0.25f * period()); };
    // Carburettor heat.
    t[16].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) flt[0].ENGN_heat[n] = flt[0].ENGN_heat[n] <= 0.5f ? 1.0f : 0.0f;
    };
    t[17].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) flt[0].ENGN_heat[n] = 1.0f;
    };
    t[18].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) flt[0].ENGN_heat[n] = 0.0f;
    };
    t[19].pressed = [](int) { key_entry(KEY_SLOT_REVERSERS); };
    // Trim wheels, and the rudder and aileron trims centred.
    for (int c : {20, 21, 22, 23, 24, 26, 27, 29}) t[c].held = [](int code) { CORE_panel_trim_wheels(code, 1); };
    t[25].pressed = [](int) { flt[0].rud_trim = 0.0f; };
    t[28].pressed = [](int) { flt[0].ail_trim = 0.0f; };
    // Rudder by hand.
    t[30].held = [](int) { step_within(sim_joystick.yolk_heading_ratio, -0.3f * period(), -1.0f, 1.0f); };
    t[31].held = [](int) { step_within(sim_joystick.yolk_heading_ratio, 0.3f * period(), -1.0f, 1.0f); };
    // The hat's views: looking around outside the two panel views, the arrow keys inside them.
    t[32].pressed = [](int) {
        if (outer_view()) command(VIEW_FORWARD);
    };
    t[32].held = [](int) {
        if (!outer_view()) key(KEY_MODIFIER_ARROWS, KEY_UP);
    };
    t[33].pressed = [](int) {
        if (outer_view()) command(1002);
    };
    t[33].held = [](int) {
        if (!outer_view()) key(KEY_MODIFIER_ARROWS, KEY_DOWN);
    };
    t[33].released = [](int) {
        if (outer_view()) command(VIEW_FORWARD);
    };
    t[34].pressed = [](int) {
        if (outer_view()) key_entry(KEY_SLOT_VIEW_NEXT);
    };
    t[34].held = [](int) {
        if (!outer_view()) key(KEY_MODIFIER_ARROWS, KEY_LEFT);
    };
    t[35].pressed = [](int) {
        if (outer_view()) key_entry(KEY_SLOT_VIEW_PREVIOUS);
    };
    t[35].held = [](int) {
        if (!outer_view()) key(KEY_MODIFIER_ARROWS, KEY_RIGHT);
    };
    t[36].pressed = [](int) { command(1006); };
    t[37].pressed = [](int) { command(1007); };
    t[36].released = t[37].released = [](int) { command(VIEW_FORWARD); };
    for (int c = 38; c <= 46; ++c)
        t[c].pressed = [](int code) {
            constexpr int views[9] = {1024, 1023, 1029, 1014, 1015, 1017, 1018, 1019, 1020};
            command(views[code - 38]);
        };
    t[47].pressed = [](int) { key_entry(KEY_SLOT_FLAPS_UP); };
    t[48].pressed = [](int) { key_entry(KEY_SLOT_FLAPS_DOWN); };
    t[49].held = [](int) { vector_and_sweep(-1); };
    t[50].held = [](int) { vector_and_sweep(1); };
    // Gear.
    t[51].pressed = [](int) { key_entry(KEY_SLOT_GEAR); };
    t[52].pressed = [](int) {
        if (sim_cockpit_switches.gear_handle_status != 0) key_entry(KEY_SLOT_GEAR);
    };
    t[53].pressed = [](int) {
        if (sim_cockpit_switches.gear_handle_status == 0) key_entry(KEY_SLOT_GEAR);
    };
    // Toe brakes and the parking brake, while held.
    t[54].pressed = [](int) { flt[0].l_brake_add = 0.5f; };
    t[55].pressed = [](int) { flt[0].r_brake_add = 0.5f; };
    t[54].released = [](int) { flt[0].l_brake_add = 0.0f; };
    t[55].released = [](int) { flt[0].r_brake_add = 0.0f; };
    t[56].pressed = [](int) { flt[0].parkbrake = 0.67f; };
    t[57].pressed = [](int) { flt[0].parkbrake = 1.0f; };
    t[56].released = t[57].released = [](int) { flt[0].parkbrake = 0.0f; };
    // Autopilot keys.
    for (int c = 58; c <= 63; ++c)
        t[c].pressed = [](int code) {
            constexpr int slots[6] = {KEY_SLOT_AUTOPILOT_OFF,     KEY_SLOT_AUTOTHROTTLE,     KEY_SLOT_AP_SPEED_BY_PITCH,
                                      KEY_SLOT_AP_HEADING,        KEY_SLOT_AP_ALTITUDE_HOLD, KEY_SLOT_AP_VERTICAL_SPEED};
            key_entry(slots[code - 58]);
        };
    t[64].pressed = [](int) { CORE_panel_clock_timer(1, 0); };
    t[65].pressed = [](int) { CORE_panel_clock_timer(0, 1); };
    t[66].pressed = [](int) { ecam_step(1); };
    t[67].pressed = [](int) { ecam_step(-1); };
    t[68].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) CORE_panel_switches(9, n);
    };
    for (int c = 69; c <= 75; ++c)
        t[c].pressed = [](int code) {
            constexpr int switches[7] = {7, 389, 13, 14, 10, 11, 12};
            CORE_panel_switches(switches[code - 69], 0);
        };
    t[76].pressed = [](int) { command(1030); };
    t[77].pressed = [](int) { CORE_panel_switches(15, 0); };
    // Autogyro: pre-rotation off and brake off on the press, the rotor trim
    // governed while held, the parking brake set while up.
    t[78].pressed = [](int) {
        sim_cockpit_switches.pre_rotating = 0;
        sim_cockpit_switches.pre_rotate_level = 0;
        flt[0].parkbrake = 0.0f;
    };
    t[78].held = [](int) { rotor_trim_governor(); };
    t[78].idle = [](int) { flt[0].parkbrake = 1.0f; };
    t[79].idle = [](int) { pitch_governor(); };
    t[80].pressed = [](int) { throttle_all(1.0f); };
    t[81].pressed = [](int) { mixture_all(0.0f); };
    t[82].pressed = [](int) { key(KEY_MODIFIER_COMMAND, 13); };
    t[83].pressed = [](int) { key(KEY_MODIFIER_COMMAND, 32); };
    t[84].pressed = [](int) { key_entry(KEY_SLOT_PAUSE); };
    for (int c = 85; c <= 90; ++c)
        t[c].held = [](int code) {
            constexpr int types[6] = {384, 385, 383, 382, 381, 380};
            CORE_panel_rocket_switch(0, types[code - 85], period() * 2.0f);
        };
    t[91].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) CORE_panel_switches(411, n);
    };
    t[92].pressed = [](int) { flt[0].landing_lights_on = flt[0].landing_lights_on ? 0 : 1; };
    t[93].pressed = [](int) { flt[0].sbrkrqst = flt[0].sbrkrqst <= 0.0f ? 1.0f : 0.0f; };
    t[94].pressed = [](int) {
        for (int n = 0; n < engines(); ++n) flt[0].ignition_on[n] = std::clamp(flt[0].ignition_on[n] + 1, 0, 3);
    };
    t[95].pressed = [](int) { sim_cockpit_autopilot.altitude_mode = 9; };
    t[95].released = [](int) { sim_cockpit_autopilot.altitude_mode = 17; };
    return t;
}

constexpr std::array<button_function, JOY_BUTTON_CODES> functions = make_table();

// A code outside 0..95 (from a preferences file or a plug-in) would read past the table: it does nothing.
const button_function* row(int code)
{
    if (code < 0 || code >= JOY_BUTTON_CODES) return nullptr;
    return &functions[static_cast<size_t>(code)];
}

}  // namespace

void JOY_button_pressed(int code)
{
    if (const button_function* f = row(code); f && f->pressed) f->pressed(code);
}
void JOY_button_held(int code)
{
    if (const button_function* f = row(code); f && f->held) f->held(code);
}
void JOY_button_released(int code)
{
    if (const button_function* f = row(code); f && f->released) f->released(code);
}
void JOY_button_idle(int code)
{
    if (const button_function* f = row(code); f && f->idle) f->idle(code);
}
