// The switch bank: every on/off switch, push button, warning-light switch and
// multi-position selector of the 2-D panel. The panel pass calls it with
// command -1 for each slot of these types (it tests the slot's click spot,
// changes the switched word and draws the switch); the keys, the joystick
// buttons and the serial console call it with an instrument type as the
// command, which works that switch as one click would and draws nothing.
//
// Reads: the mouse record through the click tests, the frame clock and period,
// the records it is handed: the aircraft (gear retraction and deploy ratios,
// jettison option, clutch, engine types) and its flight record (jato_left,
// brakes, ignition, jettison words).
// Writes: the published switch words of sim_cockpit_*, the test deadlines and
// switch_mem; the flight record's lights, parking brake, trims, ignition,
// overspeed test and jettison, and the drop tanks, through the flight model's
// cockpit setters.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"
#include "links/sound.h"
#include "panel/controls/controls.h"
#include "core/input.h"
#include "panel/panel_kit.h"

switch_bank_memory switch_mem;
float autopilot_test_timeout = 0.0f;

void SWITCHES_reset()
{
    switch_mem = switch_bank_memory{};
    autopilot_test_timeout = 0.0f;
}
ORVELL_RESET(SWITCHES_reset, panel);

namespace {

constexpr int GEAR_SOUND_SLOT = 27;

// What a two-state switch flips: a published switch word, the served
// engine's entry of an eight-entry array, or a light of the flight record
// (through its setter).
struct toggle_word {
    int32_t* word = nullptr;
    int32_t* per_engine = nullptr;   // eight entries, indexed by the item
    std::optional<cockpit_light> light;
    bool any() const { return word || per_engine || light; }
};
toggle_word word(int32_t* w) { return {w, nullptr, {}}; }
toggle_word engine_word(int32_t* w) { return {nullptr, w, {}}; }
toggle_word light(cockpit_light l) { return {nullptr, nullptr, l}; }

toggle_word toggle_of(int t)
{
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    sim_cockpit_electrical_block& el = sim_cockpit_electrical;
    sim_cockpit_engine_block& en = sim_cockpit_engine;
    switch (t) {
    case INS_BUT_NAVLIGHT: return light(LIGHT_NAV);
    case INS_BUT_BEACON: return light(LIGHT_BEACON);
    case INS_BUT_STROBELIGHT: return light(LIGHT_STROBE);
    case INS_BUT_LAND_LIGHT: return light(LIGHT_LANDING);
    case INS_BUT_TAXI_LIGHT: return light(LIGHT_TAXI);
    case INS_BUT_HUD_POWER: return word(&el.HUD_on);
    case INS_DEICE_ALL_SYSTEMS: return word(&sw.anti_ice_on);
    case INS_DEICE_PITOT_HEAT: return word(&sw.pitot_heat_on);
    case INS_DEICE_AUTO_IGNITION: return word(&sw.anti_ice_auto_ignite);
    case INS_DEICE_INERTIAL_SEPARATOR: return word(&sw.anti_ice_inert_sep);
    case INS_DEICE_INLET_HEAT: return word(&sw.anti_ice_inlet_heat);
    case INS_DEICE_PROP_HEAT: return word(&sw.anti_ice_prop_heat);
    case INS_DEICE_SURFACE_BLEED_AIR: return word(&sw.anti_ice_surf_heat);
    case INS_DEICE_SURFACE_PNEUMATIC: return word(&sw.anti_ice_surf_boot);
    case INS_DEICE_WINDSHIELD_HEAT: return word(&sw.anti_ice_window_heat);
    case INS_BUT_YAWDAMP: return word(&sw.yaw_damper_on);
    case INS_BUT_PROPSYNC: return word(&sw.prop_sync_on);
    case INS_BUT_FADEC: return engine_word(en.fadec_on);
    case INS_BUT_IDLE: return engine_word(en.idle_speed);
    case INS_BUT_ARREST: return word(&sw.arresting_gear);
    case INS_BUT_FUELDUMP: return word(&sw.dumping_fuel);
    case INS_BUT_CHUTE: return word(&sw.parachute_on);
    case INS_BUT_PREROTATE: return word(&sw.pre_rotating);
    case INS_BUT_PREROTATELEVEL: return word(&sw.pre_rotate_level);
    case INS_BUT_BATTERY: return word(&el.battery_on);
    case INS_BUT_AVIONICS: return word(&el.avionics_on);
    case INS_BUT_GENERATOR: return engine_word(el.generator_on);
    case INS_BUT_INVERTER: return engine_word(en.inverter_on);
    case INS_BUT_FUELPUMP: return engine_word(en.fuel_pump_on);
    case INS_BUT_ARTSTAB: return word(&sw.art_stab_on);
    case INS_BUT_IGNITER: return engine_word(en.igniters_on);
    case INS_BUT_PUFFER: return word(&sw.puffers_on);
    case INS_BUT_WATER_SCOOP: return word(&sw.water_scoop_on);
    case INS_BUT_CLUTCH: return word(&en.clutch_engage);
    default: return {};
    }
}

// One selector step from a click: -1 below-left of the spot's falling
// diagonal, +1 above-right, 0 otherwise. Always 0 for a command: a command
// call has no slot of its own, so its spot would stand wherever the last slot
// drawn left the panel origin, and a mouse held there would step a selector
// (or turn a starter key) that no click was aimed at.
int selector_step(float x, float y, bool commanded)
{
    if (commanded) return 0;
    return static_cast<int>(PANEL_drag_spot(x, y, 12.0f, 1.0f, 1.0f, 0));
}

// Values arrive from plug-ins and datagrams as any int: wrap by the count
// without looping, clamp without overflow.
int32_t wrap_into(int64_t v, int lo, int hi)
{
    const int64_t n = hi - lo + 1;
    int64_t r = (v - lo) % n;
    if (r < 0) r += n;
    return static_cast<int32_t>(r + lo);
}
int32_t clamp_into(int64_t v, int lo, int hi) { return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi)); }

struct selector {
    ins_type type;
    int32_t* word;
    int lo, hi;
    bool wrap;
    float x, y;
};

bool rotary(int t, bool pass, bool commanded)
{
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const selector table[] = {
        {INS_BUT_AUTOBRAKE, &sw.auto_brake_settings, -1, 4, true, 0, 0},
        {INS_BUT_HSI_12, &sw.HSI_selector, 0, 1, true, 0, 0},
        {INS_BUT_HSI_12GPS, &sw.HSI_selector, 0, 2, true, 0, 0},
        {INS_BUT_RMI_12, &sw.RMI_selector, 0, 1, true, 0, 0},
        {INS_BUT_RMI_12GPS, &sw.RMI_selector, 0, 2, true, 0, 0},
        {INS_BUT_FLITEDIR_MODESC, &sim_cockpit_autopilot.autopilot_mode, 0, 2, true, 0, 0},
        {INS_BUT_FLITEDIR_MODEDC, &sim_cockpit_autopilot.autopilot_mode, 0, 2, true, 0, 0},
        {INS_BUT_DISP_VORADF1, &sw.EFIS_dme_1_selector, 0, 2, true, 4, -1},
        {INS_BUT_DISP_VORADF2, &sw.EFIS_dme_2_selector, 0, 2, true, 4, -1},
        {INS_BUT_AUTOFEATHER, &sw.auto_feather_mode, 0, 2, false, 0, 0},
        {INS_BUT_FUEL_XFR_0123, &sim_cockpit_engine.fuel_tank_transfer, 0, 3, false, 0, 0},
        {INS_BUT_MAP_ZOOM, &sw.EFIS_map_range_selector, 0, 6, false, 0, 0},
        {INS_BUT_MAP_HSI, &sw.EFIS_map_mode, 0, 1, false, 0, 0},
        {INS_BLEED_AIR, &sim_cockpit_pressure.bleed_air_on, 0, 1, false, 0, 0},
        {INS_WPN_FIRE_MODE, &sim_cockpit_weapons.firing_mode, 0, 3, false, 0, 0},
    };
    for (const selector& s : table) {
        if (s.type != t) continue;
        const int64_t p = int64_t{*s.word} + selector_step(s.x, s.y, commanded);
        *s.word = s.wrap ? wrap_into(p, s.lo, s.hi) : clamp_into(p, s.lo, s.hi);
        if (pass) PANEL_draw_control(s.x, s.y, *s.word);
        return true;
    }
    return false;
}

// The ripple rate in releases per second, turned through the knob's positions.
void firing_rate(bool pass, bool commanded)
{
    int32_t& rate = sim_cockpit_weapons.firing_rate;
    int64_t pos = rate;
    switch (rate) {
    case 1: pos = 0; break;
    case 2: pos = 1; break;
    case 5: pos = 2; break;
    case 10: pos = 3; break;
    default: break;
    }
    const int32_t p = clamp_into(pos + selector_step(0.0f, 0.0f, commanded), 0, 3);
    if (pass) PANEL_draw_control(0.0f, 0.0f, p);
    constexpr int32_t rates[4] = {1, 2, 5, 10};
    rate = rates[p];
}

void fuel_selector(int t, bool pass, bool commanded)
{
    int32_t& sel = sim_cockpit_engine.fuel_tank_selector;
    const int m = t == INS_BUT_FUEL_012 ? 2 : t == INS_BUT_FUEL_0123 ? 3 : 4;
    const int d = selector_step(0.0f, 0.0f, commanded);
    int32_t v = clamp_into(int64_t{sel} + d, 0, m);
    if (d != 0) {
        if (t == INS_BUT_FUEL_01) v = d < 0 ? 0 : 4;
        else if (t == INS_BUT_FUEL_012 && v >= 2) v = 2;
        else if (t == INS_BUT_FUEL_0123 && v >= 3) v = 3;
        else if (t == INS_BUT_FUEL_012_ALL && d > 0) v = v == 2 ? 4 : (v == 4 || v == 3) ? 2 : v;
        else if (t == INS_BUT_FUEL_012_ALL && d < 0) v = v == 1 ? 4 : v == 3 ? 1 : v;
    }
    sel = v;
    if (pass) PANEL_draw_control(0.0f, 0.0f, sel);
}

void starter_key(const panel_records& r, int e, bool commanded)
{
    // An item outside 0..7 would index past the eight engine entries: no key.
    if (!PANEL_engine_ok(e)) return;
    const bool long_press = mouse.mouse_panel_drag != 0;
    const int d = selector_step(0.0f, 0.0f, commanded);
    int32_t ignition = r.flt.ignition_on[e];
    if (d != 0 && !long_press) ignition = clamp_into(int64_t{ignition} + d, 0, 3);
    if (ignition != r.flt.ignition_on[e]) ENGN_set_ignition(e, ignition);
    // For a command, likewise, no spot is tested (see selector_step).
    if (!commanded && PANEL_click_spot(0.0f, 0.0f, 12.0f, 1) && long_press && PANEL_has_power())
        sim_cockpit_engine.starter_duration[e] = 2.0f * sim_operation_misc.frame_rate_period;
    // The panel pass draws the key on every call; a command draws nothing, as
    // every command does (drawing then would put the key at whatever slot the
    // panel origin was last set for). A published ignition word outside 0..3
    // (from a plug-in or datagram) is held to 0..3 here, since state 4 and up
    // would pick sprite frames past the key's own.
    const int starting = sim_cockpit_engine.starter_duration[e] > 0.01f ? 1 : 0;
    if (!commanded) PANEL_draw_control(0.0f, 0.0f, clamp_into(r.flt.ignition_on[e], 0, 3) + starting);
    // A turbine's key has no magneto positions: right goes to both, left to
    // off. The key is drawn before this, so a turn shows the stepped position
    // for that frame.
    if (r.acf.acf_en_type[e] > 1) {
        if (ignition == 1) ENGN_set_ignition(e, 3);
        else if (ignition == 2) ENGN_set_ignition(e, 0);
    }
}

void gear_handle(const acf_struct& a, int t, bool pass, bool commanded)
{
    if (a.acf_gear_retract == 0) return;
    int32_t& handle = sim_cockpit_switches.gear_handle_status;
    const bool hit = !commanded && (t == INS_BUT_GEAR_HANDLE_GA ? PANEL_click_rect(-15, -30, 15, 30, 0)
                                                                 : PANEL_click_rect(-20, -70, 20, 70, 0));
    if (hit || commanded) {
        handle = handle == 0 ? 1 : 0;
        SOUND_play(GEAR_SOUND_SLOT, 0, 1.0f, 1.0f);
    }
    if (pass && handle == 1) PANEL_draw_control(0.0f, 0.0f, 0);
}

void gear_light(const acf_struct& a, int part, bool pass)
{
    if (!pass || !PANEL_has_power()) return;
    // A slot item outside the parts table would read past it: nothing is drawn.
    if (part < 0 || part >= ACF_NUM_PARTS) return;
    const float deploy = a.acf_gear_deploy[part];
    if (sim_cockpit_switches.gear_handle_status != 0) PANEL_draw_control(0.0f, 0.0f, deploy > 0.99f ? 1 : 0);
    else if (deploy >= 0.01f) PANEL_draw_control(0.0f, 0.0f, 0);
    else if (PANEL_click_spot(0.0f, 0.0f, 6.0f, 1)) PANEL_draw_control(0.0f, 0.0f, 1);
}

void clutch_light(const acf_struct& a)
{
    if (a.acf_has_clutch == 0) return;
    for (int e = 0; e < 8; ++e) {
        const float r = sim_cockpit_engine.clutch_ratio[e];
        if (a.acf_eng_clutch[e] != 0 && (a.acf_en_type[e] == 0 || a.acf_en_type[e] == 1) && r >= 0.01f && r <= 0.99f)
            PANEL_draw_control(1.0f, 3.0f, 0);
    }
}

void arming_selector(int t, bool pass, bool commanded)
{
    const int m = t == INS_WPN_ALL ? 1 : t <= INS_WPN_MIS_BOM ? 2 : t <= INS_WPN_ROC_MIS_BOM ? 3 : 4;
    int32_t& p = switch_mem.weapon_select_pos;
    p = clamp_into(int64_t{p} + selector_step(0.0f, 0.0f, commanded), 0, m);
    if (pass) PANEL_draw_control(0.0f, 0.0f, p);
    // The position that arms each kind on this type (0: the type lacks it).
    struct arming {
        int guns, rockets, missiles, bombs;
    };
    static constexpr arming table[] = {
        {1, 1, 1, 1}, {1, 2, 0, 0}, {1, 0, 2, 0}, {1, 0, 0, 2}, {0, 1, 2, 0}, {0, 1, 0, 2},
        {0, 0, 1, 2}, {1, 2, 3, 0}, {1, 2, 0, 3}, {1, 0, 2, 3}, {0, 1, 2, 3}, {1, 2, 3, 4},
    };
    const arming& a = table[t - INS_WPN_ALL];
    auto armed = [p](int at) { return at != 0 && p == at ? 1 : 0; };
    sim_cockpit_weapons_block& w = sim_cockpit_weapons;
    w.guns_armed = armed(a.guns);
    w.rockets_armed = armed(a.rockets);
    w.missiles_armed = armed(a.missiles);
    w.bombs_armed = armed(a.bombs);
}

// The momentary and one-shot buttons; false when the type is none of them.
bool momentary(const panel_records& r, int t, int item, bool pass, bool commanded)
{
    const flt_struct& f = r.flt;
    const float now = frame_clock;
    switch (t) {
    case INS_BUT_JATO:
        if (commanded || PANEL_click_spot(0, 0, 12, 0)) sim_cockpit_switches.jato_on = f.jato_left > 0.01f ? 1 : 0;
        // Drawn while JATO is armed. Drawing it only while jato_left exceeds the
        // aircraft's burn duration would never show the switch on in flight, as
        // the reset sets jato_left to that duration and the burn only lowers it.
        if (pass && sim_cockpit_switches.jato_on != 0) PANEL_draw_control(0.0f, 0.0f, 0);
        return true;
    case INS_BUT_RUD_TRIM_RESET:
    case INS_BUT_AIL_TRIM_RESET: {
        if (commanded || PANEL_click_spot(0, 0, 12, 0))
            CTRL_set_trim(t == INS_BUT_RUD_TRIM_RESET ? TRIM_RUDDER : TRIM_AILERON, 0.0f);
        if (pass && PANEL_click_spot(0, 0, 12, 0)) PANEL_draw_control(0.0f, 0.0f, 0);
        return true;
    }
    case INS_BUT_JETTISON: {
        const bool hit = commanded || PANEL_click_spot(0, 0, 12, 0);
        const bool water = r.acf.acf_jett_is_water != 0;
        if (hit) FLT_jettison_load();
        // Drawn in the frame of the click; on a water bomber only when the click started a drop.
        if (pass && hit && (!water || f.water_drop_on != 0)) PANEL_draw_control(0.0f, 0.0f, 0);
        return true;
    }
    case INS_BUT_DROP_TANK:
        if (commanded || PANEL_click_spot(0, 0, 12, 1)) WPN_release_drop_tanks();
        return true;
    case INS_BUT_AMMETER_VOLT:
        // An item outside 0..7 would write past the eight timeouts: ignored.
        if ((commanded || PANEL_click_spot(0, 0, 12, 1)) && PANEL_engine_ok(item)) volt_display_timeout[item] = now + 0.1f;
        return true;
    case INS_BUT_OVERSPEED_TEST:
        if (!commanded && PANEL_click_spot(0, 0, 10, 1))
            ENGN_set_overspeed_test(now + 2.0f * sim_operation_misc.frame_rate_period);
        return true;
    case INS_PRESS_TEST:
        if (commanded || PANEL_click_spot(4, -1, 12, 0)) sim_cockpit_pressure.pressure_test_timeout = now + 0.2f;
        return true;
    case INS_BUT_AUTOPILOT_TEST:
        // autopilot_test_timeout is the test-until time the autopilot panel's lamp test reads.
        if (commanded || PANEL_click_spot(4, -1, 12, 1)) autopilot_test_timeout = now + 0.2f;
        return true;
    default:
        return false;
    }
}

}  // namespace

void PANEL_switches(int command, int item, const panel_records& r)
{
    if (command != -1) panel_ins_type = command;
    const bool pass = command == -1;
    const bool commanded = command == panel_ins_type;
    const int t = panel_ins_type;

    const toggle_word tw = toggle_of(t);
    if (tw.any()) {
        // A per-engine switch serves engine `item`; an item outside 0..7 would
        // write past the eight entries, so it changes and draws nothing.
        int32_t* word = tw.word;
        if (tw.per_engine) word = PANEL_engine_ok(item) ? &tw.per_engine[item] : nullptr;
        const bool flip = commanded || PANEL_click_spot(0.0f, 0.0f, 12.0f, 0);
        bool on = false;
        if (word) {
            if (flip) *word = *word == 0 ? 1 : 0;
            on = *word != 0;
        } else if (tw.light) {
            if (flip) CTRL_set_light(*tw.light, CTRL_light_on(*tw.light) ? 0 : 1);
            on = CTRL_light_on(*tw.light) != 0;
        }
        if (pass && on) PANEL_draw_control(0.0f, 0.0f, 0);
        return;
    }
    if (momentary(r, t, item, pass, commanded)) return;
    if (rotary(t, pass, commanded)) return;
    if (t == INS_WPN_FIRE_RATE) return firing_rate(pass, commanded);
    if (t == INS_BUT_FUEL_01 || INS_in(t, INS_BUT_FUEL_012, INS_BUT_FUEL_0123_ALL))
        return fuel_selector(t, pass, commanded);
    if (t == INS_BUT_STARTER_GA || t == INS_BUT_STARTER_BC) return starter_key(r, item, commanded);
    if (t == INS_BUT_BRAKES) {
        const flt_struct& f = r.flt;
        if (!commanded && PANEL_click_rect(-24, -8, 24, 8, 0)) CTRL_set_parking_brake(f.parkbrake < 0.1f ? 1.0f : 0.0f);
        if (pass && (f.parkbrake > 0.01f || f.l_brake_add > 0.5f || f.r_brake_add > 0.5f)) PANEL_draw_control(0, 0, 0);
        return;
    }
    if (t == INS_BUT_GEAR_HANDLE_GA || t == INS_BUT_GEAR_HANDLE_HM) return gear_handle(r.acf, t, pass, commanded);
    if (t == INS_BUT_GEAR_LIGHT_GA || t == INS_BUT_GEAR_LIGHT_HM) return gear_light(r.acf, item, pass);
    if (t == INS_BUT_CLUTCH_TRANSIT) {
        if (pass) clutch_light(r.acf);
        return;
    }
    if (INS_in(t, INS_WPN_ALL, INS_WPN_ANY)) return arming_selector(t, pass, commanded);
}
