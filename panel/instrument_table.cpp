// The one table of instrument types (panel/instrument_table.h) and the small
// instruments the panel pass draws itself: the tail number, turn needles, slip
// balls, g meters, suction gauge, stall light, clocks, hour meter, marker
// lights, mute buttons, airspeed trend and jettison lights; and the glue that
// hands each slot's engine, gear or tank counter to the drawers that serve
// one at a time.
//
// Reads the slot's records (the user's aircraft and flight record), the time,
// the marker lights and the mouse's held-long flag. Writes the pass counters,
// the airspeed trend's memory, the starter duration and the two mute words.
#include "panel/instrument_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "panel/controls/controls.h"
#include "panel/gauges/gauges.h"
#include "panel/glass/glass.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/orbiter/orbiter.h"
#include "panel/panel_kit.h"

panel_pass_counters::panel_pass_counters() : gear(FLT_FIRST_GEAR_PART)
{
    std::fill(std::begin(plain), std::end(plain), 0);
    std::fill(std::begin(pick), std::end(pick), -1);
}

namespace {

// The airspeed trend's last airspeed.
struct airspeed_trend_memory {
    float previous_airspeed = 0.0f;
    bool airspeed_known = false;
};
airspeed_trend_memory trend;

// A plain counter advanced: one on, into 0 .. engines - 1 (not wrapped with none).
void advance(int32_t& c, const acf_struct& a)
{
    const int n = a.acf_num_engines;
    ++c;
    if (n > 0) {
        c %= n;
        if (c < 0) c += n;
    }
}

// Switches, lights and gauges that serve one engine each: the slot's plain
// counter names the engine, the next slot of the type serves the next one.
int32_t& plain_counter(const instrument_slot& s) { return s.counters.plain[s.type]; }

// ---- switches, knobs and levers -------------------------------------------------

void switches(const instrument_slot& s) { PANEL_switches(-1, 0, s.rec); }

void engine_switch(const instrument_slot& s)
{
    PANEL_switches(-1, plain_counter(s), s.rec);
    advance(plain_counter(s), s.rec.acf);
}

// The gear lights walk the gear parts.
void gear_light(const instrument_slot& s)
{
    int32_t& g = s.counters.gear;
    PANEL_switches(-1, g, s.rec);
    g = g >= FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT - 1 ? FLT_FIRST_GEAR_PART : g + 1;
}

// The starter keys and the starter button share one engine counter.
void starter_key(const instrument_slot& s)
{
    int32_t& e = s.counters.plain[INS_BUT_STARTER_GA];
    PANEL_switches(-1, e, s.rec);
    advance(e, s.rec.acf);
}

void starter_button(const instrument_slot& s)
{
    int32_t& e = s.counters.plain[INS_BUT_STARTER_GA];
    if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 1) && PANEL_has_power() && PANEL_engine_ok(e))
        sim_cockpit_engine.starter_duration[e] = sim_operation_misc.frame_rate_period * 2.0f;
    advance(e, s.rec.acf);
}

void knob(const instrument_slot&) { PANEL_knob(); }

// The levers of one kind (throttles, propellers, mixtures, heats: a vernier
// and a linear type each; cowl flaps) share an engine counter.
void engine_lever(const instrument_slot& s)
{
    const int t = s.type;
    const int group = t == INS_HAN_SLIDER_COWL
                          ? t
                          : INS_HAN_SLIDER_THRO_VERNIER + 2 * ((t - INS_HAN_SLIDER_THRO_VERNIER) / 2);
    int32_t& e = s.counters.plain[group];
    PANEL_levers(e, s.rec.acf.acf_ins_dely[s.index], s.rec);
    advance(e, s.rec.acf);
}

void lever(const instrument_slot& s) { PANEL_levers(0, s.rec.acf.acf_ins_dely[s.index], s.rec); }
void flap_lever(const instrument_slot& s) { PANEL_flap_lever(s.rec); }
void trim_wheel(const instrument_slot& s) { PANEL_trim_wheels(-1, mouse.mouse_panel_drag, s.rec); }

void marker_mute(const instrument_slot&)
{
    if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 0)) sim_cockpit_radios.marker_audio_working = 0;
}

void gear_horn_mute(const instrument_slot&)
{
    if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 0)) sim_cockpit_radios.gear_audio_working = 0;
}

void rocket(const instrument_slot&) { PANEL_rocket_switch(0, 0, sim_operation_misc.frame_rate_period * 2.0f); }

// ---- flight instruments ------------------------------------------------------------

void tail_number(const instrument_slot& s)
{
    char text[ACF_TAILNUM_SIZE + 1] = {};
    std::memcpy(text, s.rec.acf.acf_tailnum, ACF_TAILNUM_SIZE);
    OGL_draw_string(10, -16.0f, -4.0f, text, 9999.0f, 100);
}

void asi(const instrument_slot& s) { PANEL_asi(s.rec); }
void stall_warning(const instrument_slot& s) { PANEL_stall_warning(s.rec); }
void adi(const instrument_slot& s) { PANEL_adi(s.rec); }
void altimeter(const instrument_slot& s) { PANEL_altimeter(s.rec); }
void turn_coordinator(const instrument_slot& s) { PANEL_draw_needle(0.0f, 0.0f, s.rec.flt.turnrate_roll + 90.0f, 15); }
void turn_needle(const instrument_slot& s) { PANEL_draw_needle(0.0f, 0.0f, s.rec.flt.turnrate_noroll, 16); }
void slip_ball(const instrument_slot& s) { PANEL_draw_control(-s.rec.flt.slip * panel_ins_scale, 0.0f, 0); }
void compass(const instrument_slot& s) { PANEL_compass(s.rec); }
void vvi(const instrument_slot& s) { PANEL_vvi(s.rec); }
void g_meter(const instrument_slot& s) { PANEL_draw_needle(0.0f, 0.0f, s.rec.flt.g_nrml * 17.0f - 90.0f, 65); }

void g_tape(const instrument_slot& s)
{
    PANEL_draw_tape(0, 9, -13.0f, 9.0f, 0.0f, 57.0f * panel_ins_scale, -999.0f, s.rec.flt.g_nrml, 0.5f, 1, 20.0f, 2, 0,
                    110);
}

void suction(const instrument_slot& s) { PANEL_draw_needle(0.0f, 0.0f, s.rec.flt.vacuum * 225.0f - 180.0f, 58); }

void stall_light(const instrument_slot& s)
{
    if (PANEL_has_power() && s.rec.flt.stallwarning) PANEL_draw_control(0.0f, 0.0f, 0);
}

void airspeed_trend(const instrument_slot& s)
{
    const float ias = s.rec.flt.indicated_airspeed;
    if (!trend.airspeed_known) {
        trend.previous_airspeed = ias;
        trend.airspeed_known = true;
    }
    // A frame period of zero (a paused frame) would divide by zero and
    // throw the line to its end: the trend shows no change instead.
    const float dt = sim_operation_misc.frame_rate_period;
    float rate = dt > 0.0f ? (ias - trend.previous_airspeed) / dt : 0.0f;
    if (!std::isfinite(rate)) rate = 0.0f;
    trend.previous_airspeed = ias;
    const float k = panel_ins_scale;
    const float length = std::clamp(k * 4.0f * rate, -62.0f * k, 62.0f * k);
    OGL_draw_line(59, 1.0f, 0.0f, 0.0f, 0.0f, length);
    OGL_draw_line(59, 1.0f, -4.0f, length, 4.0f, length);
}

// ---- navigation and radios -------------------------------------------------------

void hsi(const instrument_slot& s) { PANEL_hsi(s.rec); }
void cdi(const instrument_slot& s) { PANEL_cdi(s.type == INS_CDI_NAV1 ? RADIO_NAV1 : RADIO_NAV2); }
void rmi(const instrument_slot&) { PANEL_rmi(); }
void audio_panel(const instrument_slot&) { PANEL_audio_panel(); }

void marker_lights(const instrument_slot&)
{
    const float k = panel_ins_scale;
    if (sim_cockpit_misc.outer_marker_lit) PANEL_draw_control(-11.0f * k, 0.0f, 0);
    if (sim_cockpit_misc.middle_marker_lit) PANEL_draw_control(0.0f, 0.0f, 1);
    if (sim_cockpit_misc.inner_marker_lit) PANEL_draw_control(11.0f * k, 0.0f, 2);
}

// The NAV, COM and ADF heads in pairs (a GA and a BC face), and the combined
// heads.
void radio_head(const instrument_slot& s)
{
    struct radio_args {
        int radio, nav_part, com_part, adf_head;
    };
    static constexpr radio_args heads[] = {{0, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 1, 0},
                                           {0, 1, 1, 0}, {1, 1, 1, 0}, {2, 0, 0, 1}, {3, 0, 0, 1}};
    const int t = s.type;
    if (t == INS_RAD_NAVCOMADFFF_HM || t == INS_RAD_NAVCOMADFFF_HM2) return PANEL_radios(0, 1, 1, 1, 1);
    const int k = t - INS_RAD_NAV1_GA;
    const radio_args& r = heads[k / 2];
    PANEL_radios(r.radio, r.nav_part, r.com_part, r.adf_head, k % 2);
}

void gps(const instrument_slot& s) { PANEL_gps(0, s.rec); }
void dme(const instrument_slot&) { PANEL_dme(); }
void transponder(const instrument_slot&) { PANEL_transponder(0); }
void autopilot(const instrument_slot&) { PANEL_autopilot(); }

// ---- glass displays ------------------------------------------------------------------

void efis_readouts(const instrument_slot& s) { PANEL_efis_readouts(s.rec); }
void efis_map(const instrument_slot& s) { PANEL_efis_map(s.rec); }
// Types 188, 189 and 190 are the orbiter's displays, whose drawers carry
// the names their own description gives them.
void orbiter_primary(const instrument_slot& s) { PANEL_orbiter_primary(s.rec); }
void orbiter_approach(const instrument_slot& s) { PANEL_orbiter_approach(s.rec); }
void orbiter_entry(const instrument_slot& s) { PANEL_orbiter_entry(s.rec); }

void synthetic_vision(const instrument_slot& s)
{
    PANEL_synthetic_vision(s.counters.hud, s.rec);
    s.counters.hud = 1 - s.counters.hud;
}

void weapon_camera(const instrument_slot& s) { PANEL_synthetic_vision(0, s.rec); }
void efis_switches(const instrument_slot&) { PANEL_efis_switches(); }
void ecam_page(const instrument_slot& s) { PANEL_ecam_page(s.rec); }
void ecam_mode_switch(const instrument_slot&) { PANEL_ecam_mode_switch(); }
void fms_page(const instrument_slot&) { PANEL_fms_page(); }

// ---- engine gauges and annunciators ----------------------------------------------------

// The round, drum, bar and digital dials of one quantity share a pick counter
// (the column of the quantity's first layout); the engine tachometers one.
void engine_dial(const instrument_slot& s)
{
    const int t = s.type;
    constexpr int LAYOUT = INS_RPM_PROP_RND_DIG - INS_RPM_PROP_RND;   // types per layout
    const int column = INS_in(t, INS_RPM_PROP_RND, INS_ITT_DIG)
                           ? INS_RPM_PROP_RND + (t - INS_RPM_PROP_RND) % LAYOUT
                           : INS_RPM_ENG_RND;
    update_eng_asi(t, 0.0f, 0.0f, PANEL_pick_engine(&s.counters.pick[column], s.rec), 0, s.rec);
}

void rotor_dial(const instrument_slot& s) { update_eng_asi(s.type, 0.0f, 0.0f, 0, 0, s.rec); }

void engine_gauge(const instrument_slot& s)
{
    PANEL_engine_readout(plain_counter(s), s.rec);
    advance(plain_counter(s), s.rec.acf);
}

void engine_text(const instrument_slot& s)
{
    PANEL_engine_readout(PANEL_pick_engine(&s.counters.pick[s.type], s.rec), s.rec);
}
void annunciator(const instrument_slot&) { PANEL_annunciators(0); }

void engine_annunciator(const instrument_slot& s)
{
    PANEL_annunciators(plain_counter(s));
    advance(plain_counter(s), s.rec.acf);
}

void annunciator_test(const instrument_slot&) { PANEL_annunciators(-1); }
void pressurization(const instrument_slot& s) { PANEL_pressurization(s.rec); }

// A column of up to nine lit lights from the bottom, one ninth of the full
// jettisonable load each, drawn with the gear light's sprite.
void jettison_lights(const instrument_slot& s)
{
    if (!PANEL_has_power()) return;
    // An aircraft without a jettison load would divide by zero; a load above
    // the full one (written by a plug-in or a datagram) would draw a light
    // per ninth without end. Nothing shows without a load, at most nine with.
    const float full = s.rec.acf.acf_m_jettison;
    if (!(full > 0.0f)) return;
    float lit = std::round(s.rec.flt.m_jettison / full * 9.0f);
    if (!std::isfinite(lit)) return;
    const int n = static_cast<int>(std::clamp(lit, 0.0f, 9.0f));
    panel_ins_type = INS_BUT_GEAR_LIGHT_GA;
    const float k = panel_ins_scale;
    for (int i = 0; i < n; ++i) PANEL_draw_control(0.0f, -30.0f * k + static_cast<float>(i) * (60.0f * k) / 8.0f, 1);
}

// ---- small gauges ------------------------------------------------------------------------

// Type 332 is the stormscope, whose drawer carries the name its own
// description gives it.
void stormscope(const instrument_slot& s) { PANEL_stormscope(s.rec); }
void radio_altimeter(const instrument_slot& s) { PANEL_radio_altimeter(s.rec); }
void te_vario(const instrument_slot& s) { PANEL_te_vario(s.rec); }

void clock_hands(const instrument_slot& s)
{
    const float time = sim_time.local_time_sec;
    const float h = time / 3600.0f, H = std::trunc(h);
    const float m = time / 60.0f - 60.0f * H, M = std::trunc(m);
    const float sec = time - 3600.0f * H - 60.0f * M;
    if (s.type == INS_CLOCK_DATE_HM) {
        const int days = sim_time.local_date_days;
        const int month = days / 30;
        OGL_draw_string_fmt(49, -12.0f, 11.0f, static_cast<float>(month + 1), 2, 0, 0, 114);
        OGL_draw_string_fmt(49, 2.0f, 11.0f, static_cast<float>(days - 30 * month + 1) - 0.5f, 2, 0, 0, 114);
        OGL_draw_string_fmt(49, -12.0f, -22.0f, h - 0.5f, 2, 0, 0, 114);
        OGL_draw_string_fmt(49, 2.0f, -22.0f, m - 0.5f, 2, 0, 0, 114);
    }
    PANEL_draw_needle(0.0f, 0.0f, h * 360.0f / 12.0f, 41);
    PANEL_draw_needle(0.0f, 0.0f, m * 360.0f / 60.0f, 42);
    PANEL_draw_needle(0.0f, 0.0f, sec * 360.0f / 60.0f, 43);
}

void clock_timer(const instrument_slot&) { (void)PANEL_clock_timer(0, 0); }
void fuel_gauge(const instrument_slot& s) { PANEL_fuel_gauges(&s.counters.fuel, s.rec); }
void oat(const instrument_slot& s) { PANEL_oat(s.rec); }

void hour_meter(const instrument_slot& s)
{
    const size_t length = strnlen(s.rec.acf.acf_file_path, ACF_TEXT_SIZE);
    const float r = random_table[length % RANDOM_TABLE_SIZE];
    PANEL_draw_drum_counter(-15.0f, -6.0f, r * 1000.0f + frame_clock / 360.0f, 4);
}

// ---- the table ------------------------------------------------------------------------------

constexpr instrument_range TABLE[] = {
    {INS_TAILNUM, INS_TAILNUM, {80, 20}, tail_number, {"cockpit:supplement:tailnum.bmp"}},
    {INS_BUT_LAND_LIGHT, INS_BUT_PROPSYNC, {32, 32}, switches,
     {"cockpit:buttons:but_land_light.bmp", "cockpit:buttons:but_HUD_power.bmp", "cockpit:de-ice:pitot_heat.bmp",
      "cockpit:de-ice:all_systems.bmp", "cockpit:buttons:but_autobrake.bmp", "cockpit:buttons:but_autofeather.bmp",
      "cockpit:buttons:but_yawdamp.bmp", "cockpit:buttons:but_propsync.bmp"}},
    {INS_BUT_FADEC, INS_BUT_FADEC, {32, 32}, engine_switch, {"cockpit:buttons:but_FADEC.bmp"}},
    {INS_BUT_ARREST, INS_BUT_AIL_TRIM_RESET, {32, 32}, switches,
     {"cockpit:buttons:but_arrest.bmp", "cockpit:buttons:but_jettison.bmp", "cockpit:buttons:but_fueldump.bmp",
      "cockpit:buttons:but_chute.bmp", "cockpit:buttons:but_JATO.bmp", "cockpit:buttons:but_prerotate.bmp",
      "cockpit:buttons:but_prerotatelevel.bmp", "cockpit:buttons:but_rud_trim_reset.bmp",
      "cockpit:buttons:but_ail_trim_reset.bmp"}},
    {INS_BUT_BRAKES, INS_BUT_BRAKES, {56, 20}, switches, {"cockpit:buttons:but_brakes.bmp"}},
    {INS_BUT_GEAR_HANDLE_GA, INS_BUT_GEAR_HANDLE_GA, {40, 70}, switches, {"cockpit:buttons:but_gear_handle_GA.bmp"}},
    {INS_BUT_GEAR_HANDLE_HM, INS_BUT_GEAR_HANDLE_HM, {44, 150}, switches, {"cockpit:buttons:but_gear_handle_HM.bmp"}},
    {INS_BUT_GEAR_LIGHT_GA, INS_BUT_GEAR_LIGHT_HM, {40, 40}, gear_light,
     {"cockpit:buttons:but_gear_light_GA.bmp", "cockpit:buttons:but_gear_light_HM.bmp"}},
    {INS_BUT_HSI_12, INS_BUT_AVIONICS, {32, 32}, switches,
     {"cockpit:buttons:but_hsi_12.bmp", "cockpit:buttons:but_hsi_12GPS.bmp", "cockpit:buttons:but_rmi_12.bmp",
      "cockpit:buttons:but_rmi_12GPS.bmp", "cockpit:buttons:but_map_zoom.bmp", "cockpit:buttons:but_battery.bmp",
      "cockpit:buttons:but_avionics.bmp"}},
    {INS_BUT_GENERATOR, INS_BUT_FUELPUMP, {32, 32}, engine_switch,
     {"cockpit:buttons:but_generator.bmp", "cockpit:buttons:but_inverter.bmp", "cockpit:buttons:but_fuelpump.bmp"}},
    {INS_BUT_STARTER_GA, INS_BUT_STARTER_BC, {40, 32}, starter_key,
     {"cockpit:buttons:but_starter_GA.bmp", "cockpit:buttons:but_starter_BC.bmp"}},
    {INS_BUT_STARTER_HM, INS_BUT_STARTER_HM, {40, 32}, starter_button, {"cockpit:buttons:but_starter_HM.bmp"}},
    {INS_BUT_FLITEDIR_MODESC, INS_BUT_FUEL_01, {32, 32}, switches,
     {"cockpit:buttons:but_flitedir_modeSC.bmp", "cockpit:buttons:but_fuel_01.bmp"}},
    {INS_RHE_PANEL_BRT, INS_RHE_RADALT, {32, 32}, knob,
     {"cockpit:rheostats:rhe_panel_brt.bmp", "cockpit:rheostats:rhe_HUD_brt.bmp", "cockpit:rheostats:rhe_baro.bmp",
      "cockpit:rheostats:rhe_OBS_1.bmp", "cockpit:rheostats:rhe_OBS_2.bmp", "cockpit:rheostats:rhe_ADF_1.bmp",
      "cockpit:rheostats:rhe_ADF_2.bmp", "cockpit:rheostats:rhe_radalt.bmp"}},
    {INS_HAN_SLIDER_THRO_VERNIER, INS_HAN_SLIDER_COWL, {40, 100}, engine_lever,
     {"cockpit:handles:han_slider_thro_vernier.bmp", "cockpit:handles:han_slider_thro_linear.bmp",
      "cockpit:handles:han_slider_prop_vernier.bmp", "cockpit:handles:han_slider_prop_lin.bmp",
      "cockpit:handles:han_slider_mix_vernier.bmp", "cockpit:handles:han_slider_mixture_lin.bmp",
      "cockpit:handles:han_slider_heat_vernier.bmp", "cockpit:handles:han_slider_cheat_lin.bmp",
      "cockpit:handles:han_slider_cowl.bmp"}},
    {INS_HAN_SBRAKE1, INS_HAN_SLIDER_DISPLACEMENT, {40, 100}, lever,
     {"cockpit:handles:han_sbrake1.bmp", "cockpit:handles:han_sbrake2.bmp", "cockpit:handles:han_sweep.bmp",
      "cockpit:handles:han_vect.bmp", "cockpit:handles:han_slider_collective.bmp",
      "cockpit:handles:han_slider_displacement.bmp"}},
    {INS_HAN_SLIDER_FLAP_GA, INS_HAN_SLIDER_FLAP_HM, {40, 100}, flap_lever,
     {"cockpit:handles:han_slider_flap_GA.bmp", "cockpit:handles:han_slider_flap_BC.bmp",
      "cockpit:handles:han_slider_flap_HM.bmp"}},
    {INS_FLAP_IND_LIN, INS_FLAP_IND_LIN, {24, 70}, flap_lever, {"cockpit:handles:flap_ind_lin.bmp"}},
    {INS_HAN_ELV_TRIM_ACT, INS_HAN_ELV_TRIM_ACT, {24, 70}, trim_wheel, {"cockpit:handles:han_elv_trim_act.bmp"}},
    {INS_HAN_ELV_TRIM_IND, INS_HAN_ELV_TRIM_IND, {24, 64}, trim_wheel, {"cockpit:handles:han_elv_trim_ind.bmp"}},
    {INS_HAN_RUD_TRIM_ACT, INS_HAN_RUD_TRIM_ACT, {70, 24}, trim_wheel, {"cockpit:handles:han_rud_trim_act.bmp"}},
    {INS_HAN_RUD_TRIM_IND, INS_HAN_RUD_TRIM_IND, {24, 64}, trim_wheel, {"cockpit:handles:han_rud_trim_ind.bmp"}},
    {INS_HAN_AIL_TRIM_ACT, INS_HAN_AIL_TRIM_ACT, {70, 24}, trim_wheel, {"cockpit:handles:han_ail_trim_act.bmp"}},
    {INS_HAN_AIL_TRIM_IND, INS_HAN_AIL_TRIM_IND, {24, 64}, trim_wheel, {"cockpit:handles:han_ail_trim_ind.bmp"}},
    {INS_HAN_ROT_TRIM_ACT, INS_HAN_ROT_TRIM_ACT, {24, 70}, trim_wheel, {"cockpit:handles:han_rot_trim_act.bmp"}},
    {INS_HAN_ROT_TRIM_IND, INS_HAN_ROT_TRIM_IND, {24, 64}, trim_wheel, {"cockpit:handles:han_rot_trim_ind.bmp"}},
    {INS_ASI_PRESET_GA_200, INS_MACHMETER, {140, 140}, asi,
     {"cockpit:standard:asi_preset_GA_200.bmp", "cockpit:standard:asi_preset_GA_300.bmp",
      "cockpit:standard:asi_preset_BC_nodig.bmp", "cockpit:standard:asi_preset_BC_dig.bmp",
      "cockpit:standard:asi_preset_HM_nodig.bmp", "cockpit:standard:asi_preset_HM_dig.bmp",
      "cockpit:standard:asi_adap_GA_nodig.bmp", "cockpit:standard:asi_adap_GA_dig.bmp",
      "cockpit:standard:asi_adap_BC_nodig.bmp", "cockpit:standard:asi_adap_BC_dig.bmp",
      "cockpit:standard:asi_adap_HM_nodig.bmp", "cockpit:standard:asi_adap_HM_dig.bmp",
      "cockpit:standard:machmeter.bmp"}},
    {INS_ASI_LINEAR, INS_MACH_LINEAR, {64, 140}, asi,
     {"cockpit:standard:ASI_Linear.bmp", "cockpit:standard:Mach_linear.bmp"}},
    {INS_AOA_LINEAR, INS_AOA_LINEAR, {40, 130}, stall_warning, {"cockpit:standard:aoa_linear.bmp"}},
    {INS_ARTHORIZON_GA_VACUUM, INS_ARTHORIZON_GA_VACUUM, {170, 164}, adi,
     {"cockpit:standard:Arthorizon_GA_vacuum.bmp"}},
    {INS_HORIZGLASS_GA, INS_HORIZGLASS_HM, {132, 170}, adi,
     {"cockpit:standard:HorizGlass_GA.bmp", "cockpit:standard:HorizGlass_BC.bmp",
      "cockpit:standard:HorizGlass_HM.bmp"}},
    {INS_ALTIMETER_GA, INS_ALTIMETERDIG_HM, {140, 140}, altimeter,
     {"cockpit:standard:altimeter_GA.bmp", "cockpit:standard:altimeter_BC.bmp", "cockpit:standard:altimeter_HM.bmp",
      "cockpit:standard:altimeterdig_GA.bmp", "cockpit:standard:altimeterdig_BC.bmp",
      "cockpit:standard:altimeterdig_HM.bmp"}},
    {INS_ALT_LINEAR, INS_ALT_LINEAR, {64, 140}, altimeter, {"cockpit:standard:ALT_Linear.bmp"}},
    {INS_TURN_COORDINATOR, INS_TURN_COORDINATOR, {100, 100}, turn_coordinator,
     {"cockpit:standard:turn_coordinator.bmp"}},
    {INS_TURN_NEEDLE, INS_TURN_NEEDLE, {100, 100}, turn_needle, {"cockpit:standard:turn_needle.bmp"}},
    {INS_SLIP_BALL_GA, INS_SLIP_BALL_HM, {64, 24}, slip_ball,
     {"cockpit:standard:slip_ball_GA.bmp", "cockpit:standard:slip_ball_BC.bmp", "cockpit:standard:slip_ball_HM.bmp"}},
    {INS_COMPASS_GA, INS_COMPASS_HM, {80, 40}, compass,
     {"cockpit:standard:compass_GA.bmp", "cockpit:standard:compass_BC.bmp", "cockpit:standard:compass_HM.bmp"}},
    {INS_DIRECTIONAL_GYRO_GA, INS_HSIGLASS_HM, {140, 140}, hsi,
     {"cockpit:standard:Directional_Gyro_GA.bmp", "cockpit:standard:HSI1_GA.bmp", "cockpit:standard:HSI1_BC.bmp",
      "cockpit:standard:HSI1_HM.bmp", "cockpit:standard:HSI2_GA.bmp", "cockpit:standard:HSI2_BC.bmp",
      "cockpit:standard:HSI2_HM.bmp", "cockpit:standard:HSI12GPS_GA.bmp", "cockpit:standard:HSI12GPS_BC.bmp",
      "cockpit:standard:HSI12GPS_HM.bmp", "cockpit:standard:HSIglass_GA.bmp", "cockpit:standard:HSIglass_BC.bmp",
      "cockpit:standard:HSIglass_HM.bmp"}},
    {INS_VVI_2000_GA, INS_VVI_6000_HM, {140, 140}, vvi,
     {"cockpit:standard:VVI_2000_GA.bmp", "cockpit:standard:VVI_3000_GA.bmp", "cockpit:standard:VVI_2000_BC.bmp",
      "cockpit:standard:VVI_5000_BC.bmp", "cockpit:standard:VVI_6000_BC.bmp", "cockpit:standard:VVI_2000_HM.bmp",
      "cockpit:standard:VVI_5000_HM.bmp", "cockpit:standard:VVI_6000_HM.bmp"}},
    {INS_VVI_LINEAR, INS_VVI_LINEAR, {64, 140}, vvi, {"cockpit:standard:VVI_Linear.bmp"}},
    {INS_CDI_NAV1, INS_CDI_NAV2, {140, 140}, cdi, {"cockpit:standard:CDI_nav1.bmp", "cockpit:standard:CDI_nav2.bmp"}},
    {INS_ADF_CONVEN1_GA, INS_RMI_NADF12_HM, {140, 140}, rmi,
     {"cockpit:standard:ADF_conven1_GA.bmp", "cockpit:standard:ADF_conven1_BC.bmp",
      "cockpit:standard:ADF_conven1_HM.bmp", "cockpit:standard:ADF_conven2_GA.bmp",
      "cockpit:standard:ADF_conven2_BC.bmp", "cockpit:standard:ADF_conven2_HM.bmp",
      "cockpit:standard:ADF_conven12_GA.bmp", "cockpit:standard:ADF_conven12_BC.bmp",
      "cockpit:standard:ADF_conven12_HM.bmp", "cockpit:standard:ADF_slaved1_GA.bmp",
      "cockpit:standard:ADF_slaved1_BC.bmp", "cockpit:standard:ADF_slaved1_HM.bmp",
      "cockpit:standard:ADF_slaved2_GA.bmp", "cockpit:standard:ADF_slaved2_BC.bmp",
      "cockpit:standard:ADF_slaved2_HM.bmp", "cockpit:standard:ADF_slaved12_GA.bmp",
      "cockpit:standard:ADF_slaved12_BC.bmp", "cockpit:standard:ADF_slaved12_HM.bmp",
      "cockpit:standard:RMI_N12GPS_GA.bmp", "cockpit:standard:RMI_N12GPS_BC.bmp",
      "cockpit:standard:RMI_N12GPS_HM.bmp", "cockpit:standard:RMI_NADF12_GA.bmp",
      "cockpit:standard:RMI_NADF12_BC.bmp", "cockpit:standard:RMI_NADF12_HM.bmp"}},
    {INS_PLACARD_1, INS_PLACARD_9, {32, 32}, nullptr,
     {"cockpit:supplement:placard_1.bmp", "cockpit:supplement:placard_2.bmp", "cockpit:supplement:placard_3.bmp",
      "cockpit:supplement:placard_4.bmp", "cockpit:supplement:placard_5.bmp", "cockpit:supplement:placard_6.bmp",
      "cockpit:supplement:placard_7.bmp", "cockpit:supplement:placard_8.bmp", "cockpit:supplement:placard_9.bmp"}},
    {INS_EFIS_EL_HORIZON, INS_EFIS_EL_HSI_FULL_CIRCLE, {140, 140}, efis_readouts,
     {"cockpit:EFIS:EFIS_el_horizon.bmp", "cockpit:EFIS:EFIS_el_hsi_tape.bmp",
      "cockpit:EFIS:EFIS_el_hsi_semi_Circle.bmp", "cockpit:EFIS:EFIS_el_hsi_full_Circle.bmp"}},
    {INS_EFIS_EL_AIRSPEED, INS_EFIS_EL_VVI_VERT, {64, 140}, efis_readouts,
     {"cockpit:EFIS:EFIS_el_airspeed.bmp", "cockpit:EFIS:EFIS_el_altitude.bmp", "cockpit:EFIS:EFIS_el_vvi_vert.bmp"}},
    {INS_EFIS_EL_LOC, INS_EFIS_EL_LOC, {100, 20}, efis_readouts, {"cockpit:EFIS:EFIS_el_loc.bmp"}},
    {INS_EFIS_EL_GS, INS_EFIS_EL_GS, {20, 100}, efis_readouts, {"cockpit:EFIS:EFIS_el_gs.bmp"}},
    // The EFIS boxes are as large as what their drawers put in them, with a
    // strip along the top for the caption their faces print.
    {INS_EFIS_EL_WIND, INS_EFIS_EL_WIND, {64, 64}, efis_readouts, {"cockpit:EFIS:EFIS_el_wind.bmp"}},
    {INS_EFIS_EL_DME_1, INS_EFIS_EL_DME_2, {64, 50}, efis_readouts,
     {"cockpit:EFIS:EFIS_el_dme_1.bmp", "cockpit:EFIS:EFIS_el_dme_2.bmp"}},
    {INS_EFIS_EL_GPS_TIME, INS_EFIS_EL_GPS_TIME, {90, 56}, efis_readouts, {"cockpit:EFIS:EFIS_el_gps_time.bmp"}},
    {INS_EFIS_EL_GROUNDSPEED, INS_EFIS_EL_RADALT_MIN, {64, 36}, efis_readouts,
     {"cockpit:EFIS:EFIS_el_groundspeed.bmp", "cockpit:EFIS:EFIS_el_mach.bmp", "cockpit:EFIS:EFIS_el_vvi_digital.bmp",
      "cockpit:EFIS:EFIS_el_radalt_min.bmp"}},
    {INS_EFIS_EL_FLAPS, INS_EFIS_EL_FLAPS, {64, 54}, efis_readouts, {"cockpit:EFIS:EFIS_el_flaps.bmp"}},
    {INS_EFIS_EL_GEAR, INS_EFIS_EL_GEAR, {64, 36}, efis_readouts, {"cockpit:EFIS:EFIS_el_gear.bmp"}},
    {INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM, {200, 240}, efis_map,
     {"cockpit:EFIS:EFIS_map_t_GA.bmp", "cockpit:EFIS:EFIS_map_t_BC.bmp", "cockpit:EFIS:EFIS_map_t_HM.bmp"}},
    {INS_EFIS_ORBITER_PRIM, INS_EFIS_ORBITER_PRIM, {240, 240}, orbiter_primary,
     {"cockpit:EFIS:EFIS_ORBITER_prim.bmp"}},
    {INS_EFIS_ORBITER_HORZ, INS_EFIS_ORBITER_HORZ, {240, 240}, orbiter_approach,
     {"cockpit:EFIS:EFIS_ORBITER_horz.bmp"}},
    {INS_EFIS_ORBITER_VERT, INS_EFIS_ORBITER_VERT, {240, 240}, orbiter_entry, {"cockpit:EFIS:EFIS_ORBITER_vert.bmp"}},
    {INS_EFIS_HITS, INS_EFIS_HITS, {230, 320}, synthetic_vision, {"cockpit:EFIS:EFIS_HITS.bmp"}},
    {INS_EFIS_SWITCHES, INS_EFIS_SWITCHES, {120, 30}, efis_switches, {"cockpit:EFIS:EFIS_switches.bmp"}},
    {INS_ECAM_RCPLIN, INS_ECAM_CUSTOM, {200, 200}, ecam_page,
     {"cockpit:ECAM:ECAM_rcplin.bmp", "cockpit:ECAM:ECAM_rcprnd.bmp", "cockpit:ECAM:ECAM_trblin.bmp",
      "cockpit:ECAM:ECAM_trbrnd.bmp", "cockpit:ECAM:ECAM_n1_lin.bmp", "cockpit:ECAM:ECAM_n1_rnd.bmp",
      "cockpit:ECAM:ECAM_eprlin.bmp", "cockpit:ECAM:ECAM_eprrnd.bmp", "cockpit:ECAM:ECAM_roclin.bmp",
      "cockpit:ECAM:ECAM_rocrnd.bmp", "cockpit:ECAM:ECAM_boeing.bmp", "cockpit:ECAM:ECAM_carter.bmp",
      "cockpit:ECAM:ECAM_custom.bmp"}},
    {INS_ECAM_MODESEL_ENG, INS_ECAM_MODESEL_FAIL, {32, 24}, ecam_mode_switch,
     {"cockpit:ECAM:ECAM_ModeSel_ENG.bmp", "cockpit:ECAM:ECAM_ModeSel_FUEL.bmp", "cockpit:ECAM:ECAM_ModeSel_FCON.bmp",
      "cockpit:ECAM:ECAM_ModeSel_HYD.bmp", "cockpit:ECAM:ECAM_ModeSel_FAIL.bmp"}},
    {INS_RAD_AUDIOPANEL_GA, INS_RAD_AUDIOPANEL_BC, {160, 40}, audio_panel,
     {"cockpit:radios:rad_audiopanel_GA.bmp", "cockpit:radios:rad_audiopanel_BC.bmp"}},
    {INS_RAD_MARKER_GA, INS_RAD_MARKER_BC, {56, 20}, marker_lights,
     {"cockpit:radios:rad_marker_GA.bmp", "cockpit:radios:rad_marker_BC.bmp"}},
    {INS_RAD_NAV1_GA, INS_RAD_ADF2FF_BC, {200, 60}, radio_head,
     {"cockpit:radios:rad_nav1_GA.bmp", "cockpit:radios:rad_nav1ff_BC.bmp", "cockpit:radios:rad_nav2_GA.bmp",
      "cockpit:radios:rad_nav2ff_BC.bmp", "cockpit:radios:rad_com1_GA.bmp", "cockpit:radios:rad_com1ff_BC.bmp",
      "cockpit:radios:rad_com2_GA.bmp", "cockpit:radios:rad_com2ff_BC.bmp", "cockpit:radios:rad_navcom1_GA.bmp",
      "cockpit:radios:rad_navcom1ff_BC.bmp", "cockpit:radios:rad_navcom2_GA.bmp",
      "cockpit:radios:rad_navcom2ff_BC.bmp", "cockpit:radios:rad_ADF1_GA.bmp", "cockpit:radios:rad_ADF1ff_BC.bmp",
      "cockpit:radios:rad_ADF2_GA.bmp", "cockpit:radios:rad_ADF2ff_BC.bmp"}},
    {INS_RAD_NAVCOMADFFF_HM, INS_RAD_NAVCOMADFFF_HM, {200, 90}, radio_head,
     {"cockpit:radios:rad_navcomadfFF_HM.bmp"}},
    {INS_RAD_GPS_GA, INS_RAD_GPS_HM, {200, 100}, gps,
     {"cockpit:radios:rad_GPS_GA.bmp", "cockpit:radios:rad_GPS_BC.bmp", "cockpit:radios:rad_GPS_HM.bmp"}},
    {INS_RAD_DME_FRQ_GA, INS_RAD_DME_N12FF_BC, {180, 40}, dme,
     {"cockpit:radios:rad_DME_frq_GA.bmp", "cockpit:radios:rad_DME_frqff_BC.bmp", "cockpit:radios:rad_DME_n12_GA.bmp",
      "cockpit:radios:rad_DME_n12ff_BC.bmp"}},
    {INS_RAD_TRANSPONDER_GA, INS_RAD_TRANSPONDER_HM, {160, 40}, transponder,
     {"cockpit:radios:rad_transponder_GA.bmp", "cockpit:radios:rad_transponder_BC.bmp",
      "cockpit:radios:rad_transponder_HM.bmp"}},
    {INS_OTT_ATR_ENG_GA, INS_OTT_SYN_ENG_HM, {32, 40}, autopilot,
     {"cockpit:autopilot:ott_ATR_eng_GA.bmp", "cockpit:autopilot:ott_ATR_eng_BC.bmp",
      "cockpit:autopilot:ott_ATR_eng_HM.bmp", "cockpit:autopilot:ott_HDG_eng_GA.bmp",
      "cockpit:autopilot:ott_HDG_eng_BC.bmp", "cockpit:autopilot:ott_HDG_eng_HM.bmp", "no longer used",
      "no longer used", "no longer used", "cockpit:autopilot:ott_HN_eng_GA.bmp",
      "cockpit:autopilot:ott_HN_eng_BC.bmp", "cockpit:autopilot:ott_HN_eng_HM.bmp",
      "cockpit:autopilot:ott_ALT_eng_GA.bmp", "cockpit:autopilot:ott_ALT_eng_BC.bmp",
      "cockpit:autopilot:ott_ALT_eng_HM.bmp", "cockpit:autopilot:ott_VVI_eng_GA.bmp",
      "cockpit:autopilot:ott_VVI_eng_BC.bmp", "cockpit:autopilot:ott_VVI_eng_HM.bmp",
      "cockpit:autopilot:ott_VN_eng_GA.bmp", "cockpit:autopilot:ott_VN_eng_BC.bmp",
      "cockpit:autopilot:ott_VN_eng_HM.bmp", "cockpit:autopilot:ott_BC_eng_GA.bmp",
      "cockpit:autopilot:ott_BC_eng_BC.bmp", "cockpit:autopilot:ott_BC_eng_HM.bmp",
      "cockpit:autopilot:ott_LCA_eng_GA.bmp", "cockpit:autopilot:ott_LCA_eng_BC.bmp",
      "cockpit:autopilot:ott_LCA_eng_HM.bmp", "cockpit:autopilot:ott_syn_eng_GA.bmp",
      "cockpit:autopilot:ott_syn_eng_BC.bmp", "cockpit:autopilot:ott_syn_eng_HM.bmp"}},
    {INS_OTT_ANN_ATR, INS_OTT_ANN_SYN, {32, 12}, autopilot,
     {"cockpit:autopilot:ott_ann_ATR.bmp", "cockpit:autopilot:ott_ann_HDG.bmp", "no longer used",
      "cockpit:autopilot:ott_ann_HN.bmp", "cockpit:autopilot:ott_ann_ALT.bmp", "cockpit:autopilot:ott_ann_VVI.bmp",
      "cockpit:autopilot:ott_ann_VN.bmp", "cockpit:autopilot:ott_ann_BC.bmp", "cockpit:autopilot:ott_ann_LCA.bmp",
      "cockpit:autopilot:ott_ann_syn.bmp"}},
    {INS_OTT_SEL_SPD, INS_OTT_SEL_VVI, {32, 32}, autopilot,
     {"cockpit:autopilot:ott_sel_SPD.bmp", "cockpit:autopilot:ott_sel_HDG.bmp", "cockpit:autopilot:ott_sel_ALT.bmp",
      "cockpit:autopilot:ott_sel_VVI.bmp"}},
    {INS_OTT_DISP_SPD, INS_OTT_DISP_VVI, {64, 20}, autopilot,
     {"cockpit:autopilot:ott_disp_SPD.bmp", "cockpit:autopilot:ott_disp_HDG.bmp",
      "cockpit:autopilot:ott_disp_ALT.bmp", "cockpit:autopilot:ott_disp_VVI.bmp"}},
    {INS_OTT_SELDISP_SPD, INS_OTT_SELDISP_VVI, {64, 44}, autopilot,
     {"cockpit:autopilot:ott_seldisp_SPD.bmp", "cockpit:autopilot:ott_seldisp_HDG.bmp",
      "cockpit:autopilot:ott_seldisp_ALT.bmp", "cockpit:autopilot:ott_seldisp_VVI.bmp"}},
    {INS_RPM_PROP_RND, INS_ITT_RND, {70, 70}, engine_dial,
     {"cockpit:engine:RPM_prop_rnd.bmp", "cockpit:engine:N1_rnd.bmp", "cockpit:engine:MPR_rnd.bmp",
      "cockpit:engine:EPR_rnd.bmp", "cockpit:engine:TRQ_rnd.bmp", "cockpit:engine:FF_rnd.bmp",
      "cockpit:engine:ITT_rnd.bmp"}},
    {INS_RPM_PROP_RND_DIG, INS_ITT_RND_DIG, {70, 84}, engine_dial,
     {"cockpit:engine:RPM_prop_rnd_dig.bmp", "cockpit:engine:N1_rnd_dig.bmp", "cockpit:engine:MPR_rnd_dig.bmp",
      "cockpit:engine:EPR_rnd_dig.bmp", "cockpit:engine:TRQ_rnd_dig.bmp", "cockpit:engine:FF_rnd_dig.bmp",
      "cockpit:engine:ITT_rnd_dig.bmp"}},
    {INS_RPM_PROP_LIN_DIG, INS_ITT_LIN_DIG, {40, 110}, engine_dial,
     {"cockpit:engine:RPM_prop_lin_dig.bmp", "cockpit:engine:N1_lin_dig.bmp", "cockpit:engine:MPR_lin_dig.bmp",
      "cockpit:engine:EPR_lin_dig.bmp", "cockpit:engine:TRQ_lin_dig.bmp", "cockpit:engine:FF_lin_dig.bmp",
      "cockpit:engine:ITT_lin_dig.bmp"}},
    {INS_RPM_PROP_DIG, INS_ITT_DIG, {50, 20}, engine_dial,
     {"cockpit:engine:RPM_prop_dig.bmp", "cockpit:engine:N1_dig.bmp", "cockpit:engine:MPR_dig.bmp",
      "cockpit:engine:EPR_dig.bmp", "cockpit:engine:TRQ_dig.bmp", "cockpit:engine:FF_dig.bmp",
      "cockpit:engine:ITT_dig.bmp"}},
    {INS_RPM_PROP_MULTI, INS_RPM_ROTOR_MULTI, {70, 70}, rotor_dial,
     {"cockpit:engine:RPM_prop_multi.bmp", "cockpit:engine:RPM_rotor_multi.bmp"}},
    {INS_EGT, INS_GEN_LOAD, {64, 64}, engine_gauge,
     {"cockpit:engine:egt.bmp", "cockpit:engine:oil_quan.bmp", "cockpit:engine:oil_press.bmp",
      "cockpit:engine:oil_temp.bmp", "cockpit:engine:gen_load.bmp"}},
    {INS_G_METER, INS_G_METER, {70, 70}, g_meter, {"cockpit:standard:g_meter.bmp"}},
    {INS_G_LINEAR, INS_G_LINEAR, {40, 120}, g_tape, {"cockpit:standard:g_linear.bmp"}},
    {INS_EFIS_MAP_MINI, INS_EFIS_MAP_MINI, {96, 96}, efis_map, {"cockpit:EFIS:EFIS_map_mini.bmp"}},
    {INS_STORMSCOPE, INS_STORMSCOPE, {100, 100}, stormscope, {"cockpit:standard:stormscope.bmp"}},
    {INS_EFIS_MAP_RAIN, INS_EFIS_MAP_RAIN, {96, 96}, efis_map, {"cockpit:EFIS:EFIS_map_rain.bmp"}},
    {INS_RADIOALT_ROUND, INS_RADIOALT_ROUND, {80, 80}, radio_altimeter, {"cockpit:standard:radioalt_round.bmp"}},
    {INS_RADIOALT_LIN, INS_RADIOALT_LIN, {40, 120}, radio_altimeter, {"cockpit:standard:radioalt_lin.bmp"}},
    {INS_RADIOALT_DIG, INS_RADIOALT_DIG, {80, 24}, radio_altimeter, {"cockpit:standard:radioalt_dig.bmp"}},
    {INS_TOTALENERGY_INC, INS_TOTALENERGY_INC, {80, 80}, te_vario, {"cockpit:standard:totalenergy_inc.bmp"}},
    {INS_SUCTION, INS_SUCTION, {60, 60}, suction, {"cockpit:standard:suction.bmp"}},
    {INS_STALL_LIGHT, INS_STALL_LIGHT, {32, 20}, stall_light, {"cockpit:standard:stall_light.bmp"}},
    {INS_CLOCK_GA, INS_CLOCK_DATE_HM, {80, 80}, clock_hands,
     {"cockpit:standard:clock_GA.bmp", "cockpit:standard:clock_BC.bmp", "cockpit:standard:clock_date_HM.bmp"}},
    {INS_TIMER_GA, INS_CLOCK_DATE_TIMER_BC, {80, 60}, clock_timer,
     {"cockpit:standard:timer_GA.bmp", "cockpit:standard:timer_BC.bmp", "cockpit:standard:clock_date_timer_GA.bmp",
      "cockpit:standard:clock_date_timer_BC.bmp"}},
    {INS_FUEL_LINEAR_GA, INS_FUEL_LINEAR_GA, {64, 64}, fuel_gauge, {"cockpit:standard:fuel_linear_GA.bmp"}},
    {INS_FUEL_ROUND_GA, INS_FUEL_TWINROUND_GA, {80, 80}, fuel_gauge,
     {"cockpit:standard:fuel_round_GA.bmp", "cockpit:standard:Fuel_TwinRound_GA.bmp"}},
    {INS_FUEL_DIGITAL_GA, INS_FUEL_DIGITAL_GA, {80, 24}, fuel_gauge, {"cockpit:standard:fuel_digital_GA.bmp"}},
    {INS_THERMO_DIG, INS_THERMO_DIG, {70, 24}, oat, {"cockpit:standard:thermo_dig.bmp"}},
    {INS_THERMO_LIN_C, INS_THERMO_LIN_F, {40, 100}, oat,
     {"cockpit:standard:thermo_lin_C.bmp", "cockpit:standard:thermo_lin_F.bmp"}},
    {INS_HOUR_METER, INS_HOUR_METER, {44, 20}, hour_meter, {"cockpit:standard:hour_meter.bmp"}},
    {INS_ANN_MASTER_CAUTION, INS_ANN_FUEL_QUANTITY, {40, 12}, annunciator,
     {"cockpit:annunciators:ann_master_caution.bmp", "cockpit:annunciators:ann_autopilot_disc.bmp",
      "cockpit:annunciators:ann_low_vacuum.bmp", "cockpit:annunciators:ann_low_voltage.bmp",
      "cockpit:annunciators:ann_fuel_quantity.bmp"}},
    {INS_ANN_FUEL_PRESS, INS_ANN_ENGINE_FIRE, {40, 12}, engine_annunciator,
     {"cockpit:annunciators:ann_fuel_press.bmp", "cockpit:annunciators:ann_oil_press.bmp",
      "cockpit:annunciators:ann_oil_temp.bmp", "cockpit:annunciators:ann_inverter.bmp",
      "cockpit:annunciators:ann_generator.bmp", "cockpit:annunciators:ann_chip_detect.bmp",
      "cockpit:annunciators:ann_engine_fire.bmp"}},
    {INS_ANN_HYD_PRESS, INS_ANN_HYD_PRESS, {40, 12}, annunciator, {"cockpit:annunciators:ann_hyd_press.bmp"}},
    {INS_ANN_TEST, INS_ANN_TEST, {24, 24}, annunciator_test, {"cockpit:annunciators:ann_test.bmp"}},
    {INS_BUT_DISP_VORADF1, INS_BUT_DISP_VORADF2, {32, 32}, switches,
     {"cockpit:buttons:but_disp_VORADF1.bmp", "cockpit:buttons:but_disp_VORADF2.bmp"}},
    {INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM, {200, 170}, efis_map,
     {"cockpit:EFIS:EFIS_map_s_GA.bmp", "cockpit:EFIS:EFIS_map_s_BC.bmp", "cockpit:EFIS:EFIS_map_s_HM.bmp"}},
    {INS_FMS_GA, INS_FMS_GA, {240, 200}, fms_page, {"cockpit:FMS:FMS_GA.bmp"}},
    {INS_RHE_OBS_ANY, INS_RHE_OBS_ANY, {32, 32}, knob, {"cockpit:rheostats:rhe_OBS_any.bmp"}},
    {INS_ANN_MASTER_ACCEPT, INS_ANN_MASTER_ACCEPT, {40, 12}, annunciator,
     {"cockpit:annunciators:ann_master_accept.bmp"}},
    {INS_BUT_MARKER_MUTE, INS_BUT_MARKER_MUTE, {32, 32}, marker_mute, {"cockpit:buttons:but_marker_mute.bmp"}},
    {INS_AOA_NEEDLE, INS_AOA_NEEDLE, {90, 90}, stall_warning, {"cockpit:standard:aoa_needle.bmp"}},
    {INS_BUT_GEAR_HORN_MUTE, INS_BUT_GEAR_HORN_MUTE, {32, 32}, gear_horn_mute,
     {"cockpit:buttons:but_gear_horn_mute.bmp"}},
    {INS_BUT_ROCKET_1, INS_BUT_ROCKET_6, {32, 32}, rocket,
     {"cockpit:buttons:but_rocket_1.bmp", "cockpit:buttons:but_rocket_2.bmp", "cockpit:buttons:but_rocket_3.bmp",
      "cockpit:buttons:but_rocket_4.bmp", "cockpit:buttons:but_rocket_5.bmp", "cockpit:buttons:but_rocket_6.bmp"}},
    {INS_ANN_AUTO_IGNITION, INS_ANN_AUTO_IGNITION, {40, 12}, engine_annunciator,
     {"cockpit:annunciators:ann_auto_ignition.bmp"}},
    {INS_BUT_NAVLIGHT, INS_BUT_ARTSTAB, {32, 32}, switches,
     {"cockpit:buttons:but_navlight.bmp", "cockpit:buttons:but_beacon.bmp", "cockpit:buttons:but_artstab.bmp"}},
    {INS_FMS_HM, INS_FMS_HM, {240, 200}, fms_page, {"cockpit:FMS:FMS_HM.bmp"}},
    {INS_PLACARD_10, INS_PLACARD_11, {32, 32}, nullptr,
     {"cockpit:supplement:placard_10.bmp", "cockpit:supplement:placard_11.bmp"}},
    {INS_BUT_FUEL_012, INS_BUT_FUEL_0123_ALL, {32, 32}, switches,
     {"cockpit:buttons:but_fuel_012.bmp", "cockpit:buttons:but_fuel_012_all.bmp", "cockpit:buttons:but_fuel_0123.bmp",
      "cockpit:buttons:but_fuel_0123_all.bmp"}},
    {INS_TOTALENERGY_DEC, INS_TOTALENERGY_DEC, {80, 80}, te_vario, {"cockpit:standard:totalenergy_dec.bmp"}},
    {INS_BUT_FUEL_XFR_0123, INS_BUT_FUEL_XFR_0123, {32, 32}, switches, {"cockpit:buttons:but_fuel_xfr_0123.bmp"}},
    {INS_OTT_WINGLEV_ENG_GA, INS_OTT_WINGLEV_ENG_HM, {32, 40}, autopilot,
     {"cockpit:autopilot:ott_winglev_eng_GA.bmp", "cockpit:autopilot:ott_winglev_eng_BC.bmp",
      "cockpit:autopilot:ott_winglev_eng_HM.bmp"}},
    {INS_OTT_ANN_WINGLEV, INS_OTT_ANN_WINGLEV, {32, 12}, autopilot, {"cockpit:autopilot:ott_ann_winglev.bmp"}},
    {INS_BUT_FLITEDIR_MODEDC, INS_BUT_FLITEDIR_MODEDC, {32, 32}, switches, {"cockpit:buttons:but_flitedir_modeDC.bmp"}},
    {INS_EFIS_NUM_PROP, INS_EFIS_NUM_ITT, {60, 12}, engine_text,
     {"cockpit:EFIS:EFIS_num_PROP.bmp", "cockpit:EFIS:EFIS_num_N1.bmp", "cockpit:EFIS:EFIS_num_MPR.bmp",
      "cockpit:EFIS:EFIS_num_EPR.bmp", "cockpit:EFIS:EFIS_num_TRQ.bmp", "cockpit:EFIS:EFIS_num_FF.bmp",
      "cockpit:EFIS:EFIS_num_ITT.bmp"}},
    {INS_BUT_IDLE, INS_BUT_IDLE, {32, 32}, engine_switch, {"cockpit:buttons:but_idle.bmp"}},
    {INS_BATT_VOLT, INS_BATT_VOLT, {32, 32}, engine_gauge, {"cockpit:engine:batt_volt.bmp"}},
    {INS_BUT_AMMETER_VOLT, INS_BUT_AMMETER_VOLT, {32, 32}, engine_switch, {"cockpit:buttons:but_ammeter_volt.bmp"}},
    {INS_BUT_OVERSPEED_TEST, INS_PRESS_TEST, {32, 32}, switches,
     {"cockpit:buttons:but_overspeed_test.bmp", "cockpit:buttons:but_map_HSI.bmp",
      "cockpit:pressurization:bleed_air.bmp", "cockpit:pressurization:press_test.bmp"}},
    {INS_CABIN_ALT_SEL, INS_CABIN_RATE_SEL, {64, 64}, pressurization,
     {"cockpit:pressurization:cabin_alt_sel.bmp", "cockpit:pressurization:cabin_rate_sel.bmp"}},
    {INS_CABIN_ALT, INS_CABIN_VVI, {140, 140}, pressurization,
     {"cockpit:pressurization:cabin_alt.bmp", "cockpit:pressurization:cabin_vvi.bmp"}},
    {INS_WPN_ALL, INS_WPN_ANY, {32, 32}, switches,
     {"cockpit:weapons:all.bmp", "cockpit:weapons:gun_roc.bmp", "cockpit:weapons:gun_mis.bmp",
      "cockpit:weapons:gun_bom.bmp", "cockpit:weapons:roc_mis.bmp", "cockpit:weapons:roc_bom.bmp",
      "cockpit:weapons:mis_bom.bmp", "cockpit:weapons:gun_roc_mis.bmp", "cockpit:weapons:gun_roc_bom.bmp",
      "cockpit:weapons:gun_mis_bom.bmp", "cockpit:weapons:roc_mis_bom.bmp", "cockpit:weapons:any.bmp"}},
    {INS_PLACARD_12, INS_PLACARD_12, {32, 32}, nullptr, {"cockpit:supplement:placard_12.bmp"}},
    {INS_EFIS_WEAPON_CAMERA, INS_EFIS_WEAPON_CAMERA, {140, 120}, weapon_camera,
     {"cockpit:EFIS:EFIS_weapon_camera.bmp"}},
    {INS_BUT_STROBELIGHT, INS_BUT_STROBELIGHT, {32, 32}, switches, {"cockpit:buttons:but_strobelight.bmp"}},
    {INS_AOA_INDEXER, INS_AOA_INDEXER, {32, 64}, stall_warning, {"cockpit:standard:aoa_indexer.bmp"}},
    {INS_WPN_FIRE_MODE, INS_WPN_FIRE_RATE, {32, 32}, switches,
     {"cockpit:weapons:fire_mode.bmp", "cockpit:weapons:fire_rate.bmp"}},
    {INS_VVI_ADAP, INS_VVI_ADAP, {140, 140}, vvi, {"cockpit:standard:vvi_adap.bmp"}},
    {INS_OTT_ASI_ENG_GA, INS_OTT_ASI_ENG_HM, {32, 40}, autopilot,
     {"cockpit:autopilot:ott_asi_eng_GA.bmp", "cockpit:autopilot:ott_asi_eng_BC.bmp",
      "cockpit:autopilot:ott_asi_eng_HM.bmp"}},
    {INS_OTT_ANN_ASI, INS_OTT_ANN_ASI, {32, 12}, autopilot, {"cockpit:autopilot:ott_ann_asi.bmp"}},
    {INS_AIRSPEED_TREND, INS_AIRSPEED_TREND, {20, 130}, airspeed_trend, {"cockpit:standard:airspeed_trend.bmp"}},
    {INS_BUT_CLUTCH, INS_BUT_CLUTCH, {32, 32}, switches, {"cockpit:buttons:but_clutch.bmp"}},
    {INS_BUT_IGNITER, INS_BUT_IGNITER, {32, 32}, engine_switch, {"cockpit:buttons:but_igniter.bmp"}},
    {INS_ARTHORIZON_GA_ELECTRIC, INS_ARTHORIZON_GA_ELECTRIC, {170, 164}, adi,
     {"cockpit:standard:Arthorizon_GA_electric.bmp"}},
    {INS_JETTISON_LOAD, INS_JETTISON_LOAD, {20, 72}, jettison_lights, {"cockpit:standard:jettison_load.bmp"}},
    {INS_BUT_PUFFER, INS_BUT_PUFFER, {32, 32}, switches, {"cockpit:buttons:but_puffer.bmp"}},
    {INS_EFIS_EL_OBS_1, INS_EFIS_EL_OBS_2, {64, 24}, efis_readouts,
     {"cockpit:EFIS:EFIS_el_obs_1.bmp", "cockpit:EFIS:EFIS_el_obs_2.bmp"}},
    {INS_FLAP_IND_RND, INS_FLAP_IND_RND, {60, 60}, flap_lever, {"cockpit:handles:flap_ind_rnd.bmp"}},
    {INS_RAD_DME_ALL_GA, INS_RAD_DME_ALL_GA, {180, 40}, dme, {"cockpit:radios:rad_DME_all_GA.bmp"}},
    {INS_BUT_AUTOPILOT_TEST, INS_BUT_CLUTCH_TRANSIT, {32, 32}, switches,
     {"cockpit:autopilot:but_autopilot_test.bmp", "cockpit:buttons:but_taxi_light.bmp",
      "cockpit:buttons:but_clutch_transit.bmp"}},
    {INS_HAN_INCIDENCE, INS_HAN_INCIDENCE, {40, 100}, lever, {"cockpit:handles:han_incidence.bmp"}},
    {INS_BUT_WATER_SCOOP, INS_BUT_WATER_SCOOP, {32, 32}, switches, {"cockpit:buttons:but_water_scoop.bmp"}},
    {INS_ARTHORIZON_GA_FLAGGED, INS_ARTHORIZON_GA_FLAGGED, {170, 164}, adi,
     {"cockpit:standard:Arthorizon_GA_flagged.bmp"}},
    {INS_RPM_ENG_RND, INS_RPM_ENG_RND, {70, 70}, engine_dial, {"cockpit:engine:RPM_eng_rnd.bmp"}},
    {INS_RPM_ENG_RND_DIG, INS_RPM_ENG_RND_DIG, {70, 84}, engine_dial, {"cockpit:engine:RPM_eng_rnd_dig.bmp"}},
    {INS_RPM_ENG_LIN_DIG, INS_RPM_ENG_LIN_DIG, {40, 110}, engine_dial, {"cockpit:engine:RPM_eng_lin_dig.bmp"}},
    {INS_RPM_ENG_DIG, INS_RPM_ENG_DIG, {50, 20}, engine_dial, {"cockpit:engine:RPM_eng_dig.bmp"}},
    {INS_EFIS_NUM_ENGN, INS_EFIS_NUM_ENGN, {60, 12}, engine_text, {"cockpit:EFIS:EFIS_num_ENGN.bmp"}},
    {INS_DEICE_AUTO_IGNITION, INS_BUT_DROP_TANK, {32, 32}, switches,
     {"cockpit:de-ice:auto_ignition.bmp", "cockpit:de-ice:inertial_separator.bmp", "cockpit:de-ice:inlet_heat.bmp",
      "cockpit:de-ice:prop_heat.bmp", "cockpit:de-ice:surface_bleed_air.bmp", "cockpit:de-ice:surface_pneumatic.bmp",
      "cockpit:de-ice:windshield_heat.bmp", "cockpit:buttons:but_drop_tank.bmp"}},
    {INS_RAD_NAVCOMADFFF_HM2, INS_RAD_NAVCOMADFFF_HM2, {200, 90}, radio_head,
     {"cockpit:radios:rad_NavComADFff_HM2.bmp"}},
    {INS_RAD_TRANSPONDER_HM2, INS_RAD_TRANSPONDER_HM2, {100, 60}, transponder,
     {"cockpit:radios:rad_Transponder_HM2.bmp"}},
};

// The rows in type order, each holding one picture per type, together
// covering every type once.
constexpr bool rows_cover_every_type()
{
    int next = 0;
    for (const instrument_range& r : TABLE) {
        if (r.first != next || r.last < r.first) return false;
        if (r.pictures.size() != static_cast<size_t>(r.last - r.first + 1)) return false;
        next = r.last + 1;
    }
    return next == PANEL_INSTRUMENT_TYPES;
}
static_assert(rows_cover_every_type());

// The row of each type.
constexpr auto ROW_OF = [] {
    std::array<uint8_t, PANEL_INSTRUMENT_TYPES> row{};
    for (size_t k = 0; k < std::size(TABLE); ++k)
        for (int t = TABLE[k].first; t <= TABLE[k].last; ++t) row[static_cast<size_t>(t)] = static_cast<uint8_t>(k);
    return row;
}();
static_assert(std::size(TABLE) <= 256);

}  // namespace

const instrument_range* PANEL_instrument_range(int type)
{
    if (type < 0 || type >= PANEL_INSTRUMENT_TYPES) return nullptr;
    return &TABLE[ROW_OF[static_cast<size_t>(type)]];
}

const char* PANEL_instrument_picture(int type)
{
    const instrument_range* r = PANEL_instrument_range(type);
    return r ? r->pictures.begin()[type - r->first] : "";
}

instrument_design_size PANEL_instrument_design_size(int type)
{
    const instrument_range* r = PANEL_instrument_range(type);
    return r ? r->size : instrument_design_size{0, 0};
}

panel_records PANEL_user_records() { return {pln[0], flt[0]}; }

ORVELL_RESET_RECORD(INSTRUMENT_TABLE_reset, trend, panel);
