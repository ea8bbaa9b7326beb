// The stormscope (332), radio altimeters (334..336), total-energy varios
// (337, 397), clocks with stopwatch (343..346), fuel gauges (347..350) and
// outside-air thermometers (351..353).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "aircraft/acf_struct.h"
#include "aircraft/wpn_slot.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "links/sound.h"
#include "panel/gauges/gauges.h"
#include "panel/panel_kit.h"

small_gauges_state small_gauges;
ORVELL_RESET_RECORD(SMALL_GAUGES_reset, small_gauges, panel);

namespace {

constexpr int SOUND_SINK = 25, SOUND_CLIMB = 26, SOUND_MINIMUM = 38;

float finite_or(float v, float d) { return std::isfinite(v) ? v : d; }

// ---- stormscope --------------------------------------------------------------

void stormscope(const flt_struct& f)
{
    if (!PANEL_has_power()) return;
    small_gauges_state& g = small_gauges;
    const int active = weather_stage.lightning_flash_end > frame_clock ? 1 : 0;
    if (active && !g.flash_was_active) {
        g.strike_index = (g.strike_index + 1) % STORM_STRIKES;
        if (g.strike_index < 0) g.strike_index = 0;
        g.strike_x[g.strike_index] = weather_stage.lightning_bolts[0][0][0];
        g.strike_z[g.strike_index] = weather_stage.lightning_bolts[0][0][2];
        g.strike_expiry[g.strike_index] = sim_time.total_running_time_sec + 60.0f;
    }
    g.flash_was_active = active;
    for (int k = 0; k < STORM_STRIKES; ++k) {
        if (!(g.strike_expiry[k] > sim_time.total_running_time_sec)) continue;
        const float dx = g.strike_x[k] - f.local_x, dz = f.local_z - g.strike_z[k];
        const float r = std::sqrt(dx * dx + dz * dz) / UNIT.nm_to_mtrs * 2.5f * panel_ins_scale;
        if (!(r < 44.0f)) continue;
        const float a = std::atan2(dx, dz) - f.psi * DEG_TO_RAD_FLOAT;
        OGL_draw_string(50, r * std::sin(a) - 2.0f, r * std::cos(a) - 2.0f, "+", 9999.0f, 110);
    }
}

// ---- radio altimeter -----------------------------------------------------------

float ra_angle(float v) { return v < 500.0f ? v * 165.0f / 500.0f : (v - 500.0f) * 74.0f / 1500.0f + 165.0f; }

void radio_altimeter(const flt_struct& f)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const bool powered = PANEL_avionics_powered() != 0;
    float& minimum = sim_cockpit_misc.radio_altimeter_minimum;
    // A height that is not a number would pass the clamp as it is and give a
    // needle and a readout with no place: it reads 0.
    const float h = std::clamp(finite_or(f.y_agl * UNIT.mtrs_to_ft, 0.0f), 0.0f, 2500.0f);
    const float shown = powered ? h : 0.0f;
    if (t == INS_RADIOALT_ROUND) {
        PANEL_draw_needle(0.0f, 0.0f, ra_angle(minimum), 63);
        PANEL_draw_needle(0.0f, 0.0f, ra_angle(shown), 62);
        const float d = PANEL_drag_spot(44.0f, -47.0f, 10.0f, 10.0f, minimum >= 500.0f ? 500.0f : 100.0f, 1);
        // A minimum that is not a number (from a plug-in or a datagram) would
        // stay so for good: the knob starts it again from 0.
        minimum = std::clamp(finite_or(minimum + d, 0.0f), 0.0f, 2500.0f);
    } else if (t == INS_RADIOALT_LIN) {
        PANEL_draw_tape(0, 9, -13.0f * s, 9.0f * s, 0.0f, 58.0f * s, -999.0f, shown, 100.0f, 1, 0.25f * s, 1, 0, 110);
        // The marker's offset is scaled like the tape's 0.25 units a foot:
        // unscaled it would mark the minimum at half its height on the tape
        // of a slot drawn at scale 2.
        PANEL_tape_mark(9, -13.0f, 0.0f, 56.0f * s, (minimum - shown) * 0.25f * s);
    } else if (t == INS_RADIOALT_DIG && powered) {
        if (shown < 2500.0f) OGL_draw_string_fmt(49, -26.0f * s, -4.0f * s, shown, 4, 0, 0, 112);
        OGL_draw_string_fmt(49, 24.0f * s, -4.0f * s, minimum, 4, 0, 0, 112);
    }
    if (powered && shown < minimum && !small_gauges.ra_below_minimum) SOUND_play(SOUND_MINIMUM, 0, 1.0f, 1.0f);
    small_gauges.ra_below_minimum = shown < minimum ? 1 : 0;
}

// ---- total-energy variometer -------------------------------------------------------

void tone(int slot, bool on, int32_t& was_on, float x)
{
    if (!on && was_on) SOUND_stop(slot);
    if (on && !was_on) SOUND_play(slot, 1, 1.0f, 0.01f);
    was_on = on ? 1 : 0;
    if (on) {
        const float level = std::clamp(finite_or(x, 0.01f), 0.01f, 2.0f);
        SOUND_set_volume_pitch(level, level, slot);
    }
}

void te_vario(const panel_records& r)
{
    small_gauges_state& g = small_gauges;
    const flt_struct& f = r.flt;
    const float e = 0.5f * f.groundspeed * f.groundspeed + UNIT.g_conv * f.local_y;
    const float dt = sim_operation_misc.frame_rate_period;
    // The first reading has no previous energy to compare with: against the
    // starting 0 it would read the whole energy as one frame's climb, pegging
    // the needle and starting the climb tone. It reads 0 instead, and so does
    // a frame period of 0 (a division by zero).
    float rate = (g.energy_known && dt > 0.0f) ? (e - g.previous_energy) / dt : 0.0f;
    if (!std::isfinite(rate)) rate = 0.0f;
    g.previous_energy = std::isfinite(e) ? e : 0.0f;
    g.energy_known = 1;
    const float reading = rate / UNIT.g_conv * UNIT.mps_to_fpm;

    const acf_struct& a = r.acf;
    const float angle = a.acf_cus_rnd_use[23]
                            ? GAUGE_angle(reading, a.acf_cus_rnd_lo_val[23], a.acf_cus_rnd_hi_val[23],
                                          a.acf_cus_rnd_lo_ang[23], a.acf_cus_rnd_hi_ang[23])
                            : GAUGE_angle(reading, -800.0f, 800.0f, -218.0f, 38.0f);
    PANEL_draw_needle(0.0f, 0.0f, angle, 64);
    const float s = panel_ins_scale;
    if (PANEL_click_spot(44.0f, -45.0f, 10.0f, 0)) g.vario_audio_on = g.vario_audio_on ? 0 : 1;
    if (g.vario_audio_on) PANEL_draw_control(44.0f * s, -45.0f * s, 0);

    const bool climbing = reading > 10.0f && g.vario_audio_on;
    const bool sinking = reading < -10.0f && g.vario_audio_on;
    tone(SOUND_CLIMB, climbing, g.climb_tone_on, (reading + 10.0f) / 600.0f);
    const float sink_x =
        panel_ins_type == INS_TOTALENERGY_INC ? (10.0f - reading) / 600.0f : (reading + 600.0f) / 600.0f;
    tone(SOUND_SINK, sinking, g.sink_tone_on, sink_x);
}

// ---- clock and stopwatch ------------------------------------------------------------

void clock_face()
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const float y = (t == INS_TIMER_GA || t == INS_TIMER_BC) ? -10.0f : -25.0f;
    const bool ga = t == INS_TIMER_GA || t == INS_CLOCK_DATE_TIMER_GA;
    sim_time_block& tm = sim_time;
    small_gauges_state& g = small_gauges;
    if (PANEL_click_spot(-15.0f, y, 8.0f, 0)) g.clock_shows_time = g.clock_shows_time ? 0 : 1;
    if (!g.clock_shows_time && PANEL_click_spot(15.0f, y, 8.0f, 0)) {
        if (tm.timer_is_running_sec) tm.timer_is_running_sec = 0;
        else if (tm.timer_elapsed_time_sec != 0.0f) tm.timer_elapsed_time_sec = 0.0f;
        else tm.timer_is_running_sec = 1;
    }
    int a, b;
    // A time written from outside may be anything: it is held to a year's
    // seconds so the cut to whole hours is defined, and the hours to their
    // two digits.
    if (g.clock_shows_time) {
        const float sec = std::clamp(finite_or(tm.local_time_sec, 0.0f), 0.0f, 86400.0f * 366.0f);
        a = static_cast<int>(sec / 3600.0f) % 100;
        b = static_cast<int>(sec / 60.0f) % 60;
    } else {
        // Held within the range an int holds, so the cut to whole seconds is defined.
        const int sec = static_cast<int>(std::clamp(finite_or(tm.timer_elapsed_time_sec, 0.0f), 0.0f, 1.0e9f));
        a = sec / 60;
        b = sec % 60;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", a, b);
    OGL_draw_string(ga ? 0 : 49, -15.0f, 4.0f * s, text, 9999.0f, ga ? 115 : 113);
}

// ---- fuel ---------------------------------------------------------------------------

struct tank { float capacity, fuel; };

// Tank n: the aircraft's own tanks (three fields), then the drop tanks still
// carried, in station order; anything else an empty tank of capacity 1.
tank tank_of(const panel_records& r, int n)
{
    const acf_struct& a = r.acf;
    const flt_struct& f = r.flt;
    const float fields[3] = {f.m_fuel1, f.m_fuel2, f.m_fuel3};
    if (n >= 0 && n < a.acf_num_tanks) {
        if (n < 3) return {a.acf_m_fuel_tot * a.acf_tank_rat[n], fields[n]};
        // A tank count from the file above the three tank fields would read
        // past them: such a tank shows empty.
        return {1.0f, 0.0f};
    }
    int k = n - std::max(a.acf_num_tanks, 0);
    if (n >= 0)
        for (int st = 0; st < ACF_WPN_SLOTS; ++st) {
            const wpn_slot_record& w = a.acf_wpn_slot[st];
            if (w.wpn_type != WPN_KIND_FUEL_TANK || !WPN_not_released(0, st)) continue;
            if (k-- == 0) return {w.wpn_fuel, w.wpn_fuel_now};
        }
    return {1.0f, 0.0f};
}

// fuel / capacity. A tank without capacity would divide by zero and put the
// needle nowhere: it reads 0.
float fraction(const tank& t)
{
    if (!(t.capacity > 0.0f)) return 0.0f;
    const float f = t.fuel / t.capacity;
    return std::isfinite(f) ? f : 0.0f;
}

void fuel_gauge(const panel_records& r, int n)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const tank k = tank_of(r, n);
    if (t == INS_FUEL_LINEAR_GA) {
        small_gauges.fuel_fraction = fraction(k);
        PANEL_engine_readout(0, r);
    } else if (t == INS_FUEL_ROUND_GA) {
        const acf_struct& a = r.acf;
        const int c = n == 1 ? 19 : n == 2 ? 20 : 18;
        const float angle = a.acf_cus_rnd_use[c] ? GAUGE_angle(fraction(k), a.acf_cus_rnd_lo_val[c], a.acf_cus_rnd_hi_val[c],
                                                               a.acf_cus_rnd_lo_ang[c], a.acf_cus_rnd_hi_ang[c])
                                                 : GAUGE_angle(fraction(k), 0.0f, 1.0f, -135.0f, 135.0f);
        PANEL_draw_needle(0.0f, 0.0f, angle, 57);
    } else if (t == INS_FUEL_TWINROUND_GA) {
        OGL_scissor_on(-20.0f * s, -40.0f * s, 42.0f * s, 80.0f * s);
        // A tank without capacity parks its needle half way.
        const tank left = tank_of(r, 0), right = tank_of(r, 1);
        const float l = left.capacity == 0.0f ? 90.0f : std::clamp(135.0f - 90.0f * fraction(left), 45.0f, 135.0f);
        const float rr = right.capacity == 0.0f ? -90.0f : std::clamp(-135.0f + 90.0f * fraction(right), -135.0f, -45.0f);
        PANEL_draw_needle(-34.0f, 0.0f, l, 42);
        PANEL_draw_needle(34.0f, 0.0f, rr, 42);
        OGL_scissor_off();
    } else if (t == INS_FUEL_DIGITAL_GA && PANEL_has_power()) {
        OGL_draw_string_fmt(49, -19.0f, 0.0f, k.fuel * UNIT.kgs_to_lbs, 6, 0, 0, 112);
    }
}

}  // namespace

void PANEL_stormscope(const panel_records& r) { stormscope(r.flt); }
void PANEL_radio_altimeter(const panel_records& r) { radio_altimeter(r.flt); }
void PANEL_te_vario(const panel_records& r) { te_vario(r); }

int PANEL_clock_timer(int toggle_cmd, int reset_cmd)
{
    if (!PANEL_has_power()) return 0;
    if (toggle_cmd) {
        sim_time.timer_is_running_sec = sim_time.timer_is_running_sec ? 0 : 1;
        return 1;
    }
    if (reset_cmd) {
        sim_time.timer_elapsed_time_sec = 0.0f;
        return 1;
    }
    clock_face();
    return 0;
}

void PANEL_fuel_gauges(int32_t* tank_counter, const panel_records& r)
{
    if (!tank_counter) return;
    fuel_gauge(r, *tank_counter);
    if (*tank_counter < INT32_MAX) ++*tank_counter;   // held below overflow
}

void PANEL_oat(const panel_records& r)
{
    const int t = panel_ins_type;
    if (t == INS_THERMO_LIN_C || t == INS_THERMO_LIN_F) return PANEL_engine_readout(0, r);
    if (t != INS_THERMO_DIG || !PANEL_has_power()) return;
    small_gauges_state& g = small_gauges;
    if (PANEL_click_spot(25.0f, 0.0f, 8.0f, 0)) g.oat_celsius = g.oat_celsius ? 0 : 1;
    const float c = finite_or(sim_weather.temperature_ambient_c, 0.0f);
    const float v = g.oat_celsius ? c : 1.8f * (c + 273.15f) - 459.67f;
    // The sign cell only for a minus (which the number drawer shows in any
    // case): this font's sheet has no blank, so the sign flag on a value above
    // zero would draw a 0 in the sign cell, in front of the digits.
    OGL_draw_string_fmt(0, -10.0f, -3.0f, v, 3, 0, v < 0.0f ? 1 : 0, 115);
    OGL_draw_string(0, 10.0f, -3.0f, g.oat_celsius ? "C" : "F", 9999.0f, 115);
}
