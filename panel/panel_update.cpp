// The per-frame panel pass: keys the Morse identifier of the tuned navaid,
// walks the 200 instrument slots of the user's aircraft in order, sets up the
// drawing context of each and hands it to the drawer of its type (drawing
// and click handling are one walk), re-arms the master lights, lets the
// network link draw what it received and writes the warning lines.
//
// Reads pln[0] (the instrument slots, engines, parts, tail number, path),
// flt[0], the cockpit, time and warning values, the mouse record and the
// radio identifiers. Writes the drawing context, the sequencer, the few
// values the inline instruments set, master_caution_on and master_accept_on.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/radios.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "links/dataout.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/sound.h"
#include "panel/controls/controls.h"
#include "panel/glass/glass.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/gauges/gauges.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/orbiter/orbiter.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

int32_t panel_ins_type = -1;
float panel_ins_scale = 1.0f;

namespace {

constexpr int INSTRUMENT_TYPES = 476;
constexpr int SOUND_MORSE_DOT = 52;
constexpr int SOUND_MORSE_DASH = 53;
constexpr int RADIO_COUNT = 6;
constexpr int GPS_RADIO = 4;
constexpr int IDENT_CHARS = 4;
constexpr float MORSE_REPEAT_SEC = 5.0f;
constexpr int INSTRUCTOR_SLOT = 10;

// Kept between passes.
struct panel_pass_state {
    int32_t morse_active = 0;
    int32_t morse_kinds[MORSE_STEPS] = {};
    float morse_times[MORSE_STEPS] = {};
    float previous_airspeed = 0.0f;
    bool airspeed_known = false;
};
panel_pass_state pass;

// Per-pass counters: plain engine counters (used, then advanced) and pick
// counters (advanced by PANEL_pick_engine) keyed by the type that leads their
// group; the gear, fuel-gauge and head-up-display counters.
struct pass_counters {
    int32_t plain[INSTRUMENT_TYPES];
    int32_t pick[INSTRUMENT_TYPES];
    int32_t gear = 67;
    int32_t fuel = 0;
    int32_t hud = 0;
    pass_counters()
    {
        std::fill(std::begin(plain), std::end(plain), 0);
        std::fill(std::begin(pick), std::end(pick), -1);
    }
};

// The International Morse code of A..Z ('.' dot, '-' dash).
constexpr const char* morse_letters[26] = {
    ".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",   ".---", "-.-",  ".-..", "--",
    "-.",   "---",  ".--.", "--.-", ".-.", "...",  "-",    "..-",  "...-", ".--",  "-..-", "-.--", "--..",
};

void build_identifier(const char* ident)
{
    pass.morse_active = 1;
    pass.morse_times[0] = sim_time.total_running_time_sec;
    std::fill(std::begin(pass.morse_kinds), std::end(pass.morse_kinds), 0);
    int i = 0;
    // The first four characters; an identifier ends at its terminator.
    for (int c = 0; c < IDENT_CHARS && ident[c] != 0; ++c) {
        const char ch = ident[c];
        if (ch >= 'A' && ch <= 'Z')
            for (const char* e = morse_letters[ch - 'A']; *e; ++e, ++i)
                (*e == '.' ? PANEL_morse_dot : PANEL_morse_dash)(pass.morse_kinds, pass.morse_times, i);
        PANEL_morse_gap(pass.morse_kinds, pass.morse_times, i++);
    }
}

void key_morse()
{
    if (PANEL_avionics_powered() && !pass.morse_active) {
        for (int r = 0; r < RADIO_COUNT; ++r) {
            if (r == GPS_RADIO) continue;
            if (sim_cockpit_radios.nav_type[r] != 0 && r == sim_cockpit_switches.audio_panel_out) {
                char ident[IDENT_CHARS + 1] = {};
                std::memcpy(ident, radio_stations.nav_ident_text[r], IDENT_CHARS);
                build_identifier(ident);
            }
        }
    }
    if (!pass.morse_active) return;
    const float now = sim_time.total_running_time_sec;
    for (int i = 0; i < MORSE_STEPS; ++i) {
        const int kind = pass.morse_kinds[i];
        if (kind == 0 || !(pass.morse_times[i] < now)) continue;
        SOUND_play(kind == 1 ? SOUND_MORSE_DOT : SOUND_MORSE_DASH, 0, 1.0f, 1.0f);
        pass.morse_kinds[i] = 0;
    }
    if (now > pass.morse_times[0] + MORSE_REPEAT_SEC) pass.morse_active = 0;
}

// A plain counter advanced: one on, into 0 .. engines - 1 (not wrapped with none).
void advance(int32_t& c)
{
    const int n = pln[0].acf_num_engines;
    ++c;
    if (n > 0) {
        c %= n;
        if (c < 0) c += n;
    }
}

// The counter of a lever group, and the pick column of an engine gauge.
int lever_group(int t) { return t == 55 ? 55 : 47 + 2 * ((t - 47) / 2); }
int pick_column(int t)
{
    if (t >= 294 && t <= 321) return 294 + (t - 294) % 7;
    if (t >= 461 && t <= 464) return 461;
    return t;
}

bool any(int t, std::initializer_list<int> types) { return std::find(types.begin(), types.end(), t) != types.end(); }
bool in(int t, int lo, int hi) { return t >= lo && t <= hi; }

bool switch_bank(int t)
{
    return in(t, 1, 8) || in(t, 10, 21) || in(t, 24, 30) || in(t, 37, 38) || in(t, 369, 370) || in(t, 387, 389) ||
           in(t, 393, 396) || t == 398 || t == 403 || in(t, 414, 417) || in(t, 422, 433) || t == 436 ||
           in(t, 438, 439) || t == 446 || t == 450 || in(t, 455, 457) || t == 459 || in(t, 466, 473);
}

void tail_number()
{
    char text[ACF_TAILNUM_SIZE + 1] = {};
    std::memcpy(text, pln[0].acf_tailnum, ACF_TAILNUM_SIZE);
    OGL_draw_string(10, -16.0f, -4.0f, text, 9999.0f, 100);
}

void clock_hands(int t)
{
    const float time = sim_time.local_time_sec;
    const float h = time / 3600.0f, H = std::trunc(h);
    const float m = time / 60.0f - 60.0f * H, M = std::trunc(m);
    const float sec = time - 3600.0f * H - 60.0f * M;
    if (t == 342) {
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

void hour_meter()
{
    const size_t length = strnlen(pln[0].acf_file_path, ACF_TEXT_SIZE);
    const float r = random_table[length % RANDOM_TABLE_SIZE];
    PANEL_draw_drum_counter(-15.0f, -6.0f, r * 1000.0f + frame_clock / 360.0f, 4);
}

void airspeed_trend()
{
    const float ias = flt[0].indicated_airspeed;
    if (!pass.airspeed_known) {
        pass.previous_airspeed = ias;
        pass.airspeed_known = true;
    }
    const float dt = sim_operation_misc.frame_rate_period;
    float rate = dt > 0.0f ? (ias - pass.previous_airspeed) / dt : 0.0f;
    if (!std::isfinite(rate)) rate = 0.0f;
    pass.previous_airspeed = ias;
    const float s = panel_ins_scale;
    const float length = std::clamp(s * 4.0f * rate, -62.0f * s, 62.0f * s);
    OGL_draw_line(59, 1.0f, 0.0f, 0.0f, 0.0f, length);
    OGL_draw_line(59, 1.0f, -4.0f, length, 4.0f, length);
}

// A column of up to nine lit lights from the bottom, one ninth of the full
// jettisonable load each. Without a jettison load nothing shows.
void jettison_lights()
{
    if (!PANEL_has_power()) return;
    const float full = pln[0].acf_m_jettison;
    if (!(full > 0.0f)) return;
    float k = std::round(flt[0].m_jettison / full * 9.0f);
    if (!std::isfinite(k)) return;
    const int n = static_cast<int>(std::clamp(k, 0.0f, 9.0f));
    panel_ins_type = 22;
    const float s = panel_ins_scale;
    for (int i = 0; i < n; ++i) PANEL_draw_control(0.0f, -30.0f * s + static_cast<float>(i) * (60.0f * s) / 8.0f, 1);
}

void radio_head(int t)
{
    struct radio_args {
        int a, b, c, d;
    };
    static constexpr radio_args table[] = {{0, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 1, 0},
                                           {0, 1, 1, 0}, {1, 1, 1, 0}, {2, 0, 0, 1}, {3, 0, 0, 1}};
    if (t == 231 || t == 474) {
        PANEL_radios(0, 1, 1, 1, 1);
        return;
    }
    const radio_args& r = table[(t - 215) / 2];
    PANEL_radios(r.a, r.b, r.c, r.d, (t - 215) % 2);
}

void dispatch(int t, int slot, pass_counters& k)
{
    flt_struct& f = flt[0];
    const float s = panel_ins_scale;
    if (t == 0) return tail_number();
    if (switch_bank(t)) return PANEL_switches(-1, 0);
    if (any(t, {9, 31, 32, 33, 411, 413, 447})) {
        PANEL_switches(-1, k.plain[t]);
        return advance(k.plain[t]);
    }
    if (t == 22 || t == 23) {
        PANEL_switches(-1, k.gear);
        k.gear = k.gear >= 72 ? 67 : k.gear + 1;
        return;
    }
    if (t == 34 || t == 35) {
        PANEL_switches(-1, k.plain[34]);
        return advance(k.plain[34]);
    }
    if (t == 36) {
        const int e = k.plain[34];
        if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 1) && PANEL_has_power() && PANEL_engine_ok(e))
            sim_cockpit_engine.starter_duration[e] = sim_operation_misc.frame_rate_period * 2.0f;
        return advance(k.plain[34]);
    }
    if (in(t, 39, 46) || t == 375) return PANEL_knob();
    if (in(t, 47, 55)) {
        const int g = lever_group(t);
        PANEL_levers(k.plain[g], pln[0].acf_ins_dely[slot]);
        return advance(k.plain[g]);
    }
    if (in(t, 56, 61) || t == 458) return PANEL_levers(0, pln[0].acf_ins_dely[slot]);
    if (in(t, 62, 65) || t == 453) return PANEL_flap_lever();
    if (in(t, 66, 73)) return PANEL_trim_wheels(-1, mouse.mouse_panel_drag);
    if (in(t, 74, 88)) return PANEL_asi();
    if (t == 89 || t == 378 || t == 437) return PANEL_stall_warning();
    if (in(t, 90, 93) || t == 448 || t == 460) return PANEL_adi();
    if (in(t, 94, 100)) return PANEL_altimeter();
    if (t == 101) return PANEL_draw_needle(0.0f, 0.0f, f.turnrate_roll + 90.0f, 15);
    if (t == 102) return PANEL_draw_needle(0.0f, 0.0f, f.turnrate_noroll, 16);
    if (in(t, 103, 105)) return PANEL_draw_control(-f.slip * s, 0.0f, 0);
    if (in(t, 106, 108)) return PANEL_compass();
    if (in(t, 109, 121)) return PANEL_hsi();
    if (in(t, 122, 130) || t == 440) return PANEL_vvi();
    if (t == 131 || t == 132) return PANEL_cdi(t - 131);
    if (in(t, 133, 156)) return PANEL_rmi();
    if (in(t, 166, 184) || t == 451 || t == 452) return PANEL_efis_readouts();
    if (in(t, 185, 187) || t == 331 || t == 333 || in(t, 371, 373)) return PANEL_efis_map();
    if (t == 188) return PANEL_orbiter_primary();
    if (t == 189) return PANEL_orbiter_approach();
    if (t == 190) return PANEL_orbiter_entry();
    if (t == 191) {
        PANEL_synthetic_vision(k.hud);
        k.hud = 1 - k.hud;
        return;
    }
    if (t == 192) return PANEL_efis_switches();
    if (in(t, 193, 205)) return PANEL_ecam_page();
    if (in(t, 206, 210)) return PANEL_ecam_mode_switch();
    if (t == 211 || t == 212) return PANEL_audio_panel();
    if (t == 213 || t == 214) {
        if (sim_cockpit_misc.outer_marker_lit) PANEL_draw_control(-11.0f * s, 0.0f, 0);
        if (sim_cockpit_misc.middle_marker_lit) PANEL_draw_control(0.0f, 0.0f, 1);
        if (sim_cockpit_misc.inner_marker_lit) PANEL_draw_control(11.0f * s, 0.0f, 2);
        return;
    }
    if (in(t, 215, 231) || t == 474) return radio_head(t);
    if (in(t, 232, 234)) return PANEL_gps(0);
    if (in(t, 235, 238) || t == 454) return PANEL_dme();
    if (in(t, 239, 241) || t == 475) return PANEL_transponder(0);
    if (in(t, 242, 293) || in(t, 399, 402) || in(t, 441, 444)) return PANEL_autopilot();
    if (in(t, 294, 321) || in(t, 461, 464)) return update_eng_asi(t, 0.0f, 0.0f, PANEL_pick_engine(&k.pick[pick_column(t)]), 0);
    if (t == 322 || t == 323) return update_eng_asi(t, 0.0f, 0.0f, 0, 0);
    if (in(t, 324, 328) || t == 412) {
        PANEL_engine_readout(k.plain[t]);
        return advance(k.plain[t]);
    }
    if (in(t, 404, 410) || t == 465) return PANEL_engine_readout(PANEL_pick_engine(&k.pick[t]));
    if (t == 329) return PANEL_draw_needle(0.0f, 0.0f, f.g_nrml * 17.0f - 90.0f, 65);
    if (t == 330)
        return PANEL_draw_tape(0, 9, -13.0f, 9.0f, 0.0f, 57.0f * s, -999.0f, f.g_nrml, 0.5f, 1, 20.0f, 2, 0, 110);
    if (t == 332) return PANEL_stormscope();
    if (in(t, 334, 336)) return PANEL_radio_altimeter();
    if (t == 337 || t == 397) return PANEL_te_vario();
    if (t == 338) return PANEL_draw_needle(0.0f, 0.0f, f.vacuum * 225.0f - 180.0f, 58);
    if (t == 339) {
        if (PANEL_has_power() && f.stallwarning) PANEL_draw_control(0.0f, 0.0f, 0);
        return;
    }
    if (in(t, 340, 342)) return clock_hands(t);
    if (in(t, 343, 346)) return (void)PANEL_clock_timer(0, 0);
    if (in(t, 347, 350)) return PANEL_fuel_gauges(&k.fuel);
    if (in(t, 351, 353)) return PANEL_oat();
    if (t == 354) return hour_meter();
    if (in(t, 355, 359) || t == 367 || t == 376) return PANEL_annunciators(0);
    if (in(t, 360, 366) || t == 386) {
        PANEL_annunciators(k.plain[t]);
        return advance(k.plain[t]);
    }
    if (t == 368) return PANEL_annunciators(-1);
    if (t == 374 || t == 390) return PANEL_fms_page();
    if (t == 377) {
        if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 0)) sim_cockpit_radios.marker_audio_working = 0;
        return;
    }
    if (t == 379) {
        if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 0)) sim_cockpit_radios.gear_audio_working = 0;
        return;
    }
    if (in(t, 380, 385)) {
        const float d = sim_operation_misc.frame_rate_period * 2.0f;
        if (PANEL_click_spot(0.0f, 0.0f, 12.0f, 1)) {
            f.rocket_mode = t;
            f.rocket_timeout = frame_clock + d;
        }
        return;
    }
    if (in(t, 418, 421)) return PANEL_pressurization();
    if (t == 435) return PANEL_synthetic_vision(0);
    if (t == 445) return airspeed_trend();
    if (t == 449) return jettison_lights();
}

void walk_slots()
{
    pass_counters k;
    const acf_struct& a = pln[0];
    for (int slot = 0; slot < ACF_INS_SLOTS; ++slot) {
        const int t = a.acf_ins_type[slot];
        // Slots come from aircraft files and plug-ins: an unknown type or a
        // slot placed or sized by no number draws nothing.
        if (t < 0 || t >= INSTRUMENT_TYPES) continue;
        const float size = a.acf_ins_size[slot], dx = a.acf_ins_x[slot], dy = a.acf_ins_y[slot];
        if (!std::isfinite(size) || !std::isfinite(dx) || !std::isfinite(dy)) continue;
        panel_ins_type = t;
        panel_ins_scale = size;
        const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
        screen.screen_area_left = left + dx;
        screen.screen_area_bottom = bottom + dy;
        dispatch(t, slot, k);
        screen.screen_area_left = left;
        screen.screen_area_bottom = bottom;
    }
}

void rearm_master_lights()
{
    sim_cockpit_warnings_block& w = sim_cockpit_warnings;
    const float now = sim_time.total_running_time_sec;
    if (now > w.master_caution_timeout + 1.0f) w.master_accept_on = 1;
    if (now > w.master_caution_timeout + 1.0f) w.master_caution_on = 1;
}

void warning_lines()
{
    if (!sim_operation_prefs.warn_nonobvious_stuff) return;
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    bool carb_ice = false;
    for (int e = 0; e < std::min(a.acf_num_engines, FLT_ENGINES); ++e) carb_ice = carb_ice || f.ENGN_crbice[e] > 0.01f;
    bool gear_failed = false;
    for (int p = FLT_FIRST_GEAR_PART; p < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT; ++p)
        gear_failed = gear_failed || (a.acf_part_eq[p] != 0 && FLT_slot_failed(0, FAIL_SLOT_TYRE_BASE + (p - FLT_FIRST_GEAR_PART)));
    if (net_slot_enabled[INSTRUCTOR_SLOT]) return;
    const struct {
        bool on;
        float y;
        int text;
    } lines[] = {
        {sim_operation_misc.debug_network != 0, 728.0f, 377}, {dataout_any_disk_group != 0, 718.0f, 378},
        {gear_failed, 708.0f, 379},                         {f.over_g != 0, 698.0f, 380},
        {f.over_vne != 0, 688.0f, 381},                     {f.over_vfe != 0, 678.0f, 382},
        {f.over_vle != 0, 668.0f, 383},                     {carb_ice, 658.0f, 384},
    };
    for (const auto& l : lines)
        if (l.on) OGL_draw_string(48, 898.0f, l.y, LANG_ui_text(l.text), 9999.0f, 105);
}

}  // namespace

void PANEL_reset()
{
    pass = panel_pass_state{};
    panel_ins_type = -1;
    panel_ins_scale = 1.0f;
    DIALS_reset();
    RADAR_reset();
    FLIGHT_INSTRUMENTS_reset();
    RADIO_STACK_reset();
    GAUGES_reset();
    ORBITER_reset();
    SWITCHES_reset();
    TRIM_WHEELS_reset();
    RMI_reset();
    GLASS_reset();
}
ORVELL_RESET(PANEL_reset);

void PANEL_update()
{
    key_morse();
    walk_slots();
    rearm_master_lights();
    NET_handle_TEXT(1);
    NET_handle_CUST(1);
    warning_lines();
}
