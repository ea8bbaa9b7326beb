// Screen 10: the loading of the user's aircraft (centre of gravity, payload,
// fuel in total and per tank, JATO fuel, jettisonable load, slung-load line)
// against its maximum weight with the fuel endurance, and on a second tab the
// weapons of the 24 weapon slots with a turning 3-D preview.
//
// Writes flt[0]'s masses, cgz_ref_to_default, jato_left and jett_len, the
// weapon slots' type words and names (through the weapon-file reader);
// reads the aircraft record's weights, tanks, JATO and engines.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/wpn_file.h"
#include "aircraft/wpn_slot.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "panel/panel.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/acf_textures.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"

weight_screen_state weight_screen;

ORVELL_RESET_RECORD(SETUP_weight_fuel_reset, weight_screen, program);

namespace {

constexpr int MAX_TANKS = 3;

// Slot s's weapon file name (500 characters, kept terminated).
char* weapon_name(int s)
{
    char* name = pln[0].wpn_name + static_cast<size_t>(s) * TEXT_SIZE;
    name[TEXT_SIZE - 1] = 0;
    return name;
}

void value_text(float v, char* out) { UTIL_int_to_text(SCREEN_int(v), out, 1); }

void load_weapon(int s, char* path)
{
    weight_screen.weapon_preview_slot = s;
    WPN_read(7, 0, s, weapon_name(s), path, 0);
    ACF_load_textures(1, 0, 0, 0);
}

// The masses, the JATO time and the line length are published and writable
// by plug-ins and peers: a value that is not a number would pass every limit
// below and reach the flight model, so it counts as 0. A limit from the
// record below 0 is taken as 0, as a range whose top lies under its bottom
// holds no value.
void weights_tab()
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    float* tanks[MAX_TANKS] = {&f.m_fuel1, &f.m_fuel2, &f.m_fuel3};
    const float top = 1.5f * a.acf_m_max;

    float fuel = f.m_fuel1 + f.m_fuel2 + f.m_fuel3;
    float jato = f.jato_left * a.acf_jato_thrust * a.acf_jato_sfc / 3600.0f / UNIT.g_conv;
    const float jato_full = a.acf_jato_dur * a.acf_jato_thrust * a.acf_jato_sfc / 3600.0f / UNIT.g_conv;
    float weapons = 0.0f;
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        const wpn_slot_record& w = a.acf_wpn_slot[s];
        if (weapon_name(s)[0] && w.wpn_type != 0 && WPN_not_released(0, s))
            weapons += w.wpn_fixed_mass + w.wpn_mass;
    }
    f.m_total = a.acf_m_empty + f.m_fixed + f.m_fuel1 + f.m_fuel2 + f.m_fuel3 + f.m_jettison + jato + weapons;
    const int weight_style = f.m_total > a.acf_m_max ? 4 : 2;

    char text[TEXT_SIZE];
    value_text(f.cgz_ref_to_default * UNIT.mtrs_to_ft * 12.0f, text);
    BTN_slider(145.0f, 560.0f, 3, a.acf_cgZ_fwd, a.acf_cgZ_aft, &f.cgz_ref_to_default, 1, LANG_ui_text(339), text);
    value_text(a.acf_m_empty * UNIT.kgs_to_lbs, text);
    BTN_slider(145.0f, 510.0f, 2, 0.0f, top, &a.acf_m_empty, 0, LANG_ui_text(340), text);
    value_text(f.m_fixed * UNIT.kgs_to_lbs, text);
    BTN_slider(145.0f, 460.0f, 2, 0.0f, top, &f.m_fixed, 1, LANG_ui_text(341), text);
    value_text(fuel * UNIT.kgs_to_lbs, text);
    const bool fuel_changed = BTN_slider(145.0f, 410.0f, 2, 0.0f, top, &fuel, 1, LANG_ui_text(342), text) != 0;
    fuel = std::clamp(UTIL_finite_or_zero(fuel), 0.0f, std::max(a.acf_m_fuel_tot, 0.0f));

    const int tank_count = std::clamp(a.acf_num_tanks, 0, MAX_TANKS);
    for (int k = 0; k < MAX_TANKS; ++k) {
        if (tank_count >= k + 1)
            BTN_slider(145.0f, 360.0f - 50.0f * static_cast<float>(k), 2, 0.0f, top, tanks[k], 1, LANG_ui_text(342),
                       "");
        // Held to the tank's share, shown or not.
        *tanks[k] =
            std::clamp(UTIL_finite_or_zero(*tanks[k]), 0.0f, std::max(a.acf_m_fuel_tot * a.acf_tank_rat[k], 0.0f));
    }

    value_text(jato * UNIT.kgs_to_lbs, text);
    if (jato_full > 0.1f) BTN_slider(145.0f, 210.0f, 2, 0.0f, top, &jato, 1, LANG_ui_text(343), text);
    jato = std::clamp(UTIL_finite_or_zero(jato), 0.0f, std::max(jato_full, 0.0f));

    value_text(f.m_jettison * UNIT.kgs_to_lbs, text);
    if (a.acf_m_jettison > 0.1f) BTN_slider(145.0f, 160.0f, 2, 0.0f, top, &f.m_jettison, 1, LANG_ui_text(344), text);
    f.m_jettison = std::clamp(UTIL_finite_or_zero(f.m_jettison), 0.0f, std::max(a.acf_m_jettison, 0.0f));

    value_text(f.m_total * UNIT.kgs_to_lbs, text);
    BTN_slider(145.0f, 110.0f, weight_style, 0.0f, top, &f.m_total, 0, LANG_ui_text(345), text);
    value_text(a.acf_m_max * UNIT.kgs_to_lbs, text);
    BTN_slider(145.0f, 60.0f, weight_style, 0.0f, top, &a.acf_m_max, 0, LANG_ui_text(346), text);

    BTN_frame1(9, 521.0f, 413.0f, 55.0f);
    OGL_draw_string_fmt(46, 502.0f, 410.0f, ENGN_fuel_endurance(), 4, 1, 0, 104);

    if (jato_full == 0.0f) {
        f.jato_left = a.acf_jato_dur * 0.5f;
    } else {
        const float d = UTIL_finite_or_zero(a.acf_jato_dur);
        f.jato_left = std::clamp(UTIL_finite_or_zero(d * jato / jato_full), std::min(0.0f, d), std::max(0.0f, d));
    }

    if (fuel_changed)
        for (int k = 0; k < tank_count; ++k) *tanks[k] = fuel * a.acf_tank_rat[k];

    if (a.acf_jett_is_slung) {
        float len_ft = UTIL_finite_or_zero(f.jett_len) * UNIT.mtrs_to_ft;
        BTN_digit_field(580.0f, 142.0f, &len_ft, 3, 0, 5.0f, 500.0f, LANG_ui_text(189));
        f.jett_len = len_ft / UNIT.mtrs_to_ft;
    }
}

// Degrees into [low, low + 360) by whole turns; what is not finite becomes 0
// (or low when that is above 0), as turning it a turn at a time never ends.
float turned(float v, float low)
{
    return std::isfinite(v) ? UTIL_wrap_from(v, low, 360.0f) : (low < 0.0f ? 0.0f : low);
}

void weapon_preview(float w, float h)
{
    weight_screen_state& p = weight_screen;
    int& s = p.weapon_preview_slot;
    s = std::clamp(s, 0, ACF_WPN_SLOTS - 1);   // a slot past the 24 would index past the weapon records

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_set_projection(PROJECTION_3D, -1.5f, -1.5f, 1.5f, 1.5f, 10.0f, 366.0f, w - 10.0f, h - 62.0f, 1.0f, 100.0f,
                       100.0f, 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f}, diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);

    const bool settled = std::fabs(p.heading - p.heading_target) < 0.01f && std::fabs(p.roll - p.roll_target) < 0.01f;
    if (settled && frame_clock >= p.next_change_time) {
        const float u = static_cast<float>(UTIL_rand()) / 32767.0f;
        const float sign = UTIL_rand() % 2 == 0 ? 1.0f : -1.0f;
        if (u >= 0.5f) p.roll_target = turned(p.roll_target + 90.0f * sign, -180.0f);
        else p.heading_target = turned(p.heading_target + 180.0f * sign, 0.0f);
    }
    if (!settled) p.next_change_time = frame_clock + 1.0f;
    const float limit = 30.0f * UTIL_finite_or_zero(sim_operation_misc.frame_rate_period);
    p.heading = turned(p.heading + std::clamp(0.1f * (p.heading_target - p.heading), -limit, limit), 0.0f);
    p.roll = turned(p.roll + std::clamp(0.1f * (p.roll_target - p.roll), -limit, limit), -180.0f);

    wpn_slot_record& wpn = pln[0].acf_wpn_slot[s];
    wpn.wpn_pos[0] = wpn.wpn_pos[1] = 0.0f;
    wpn.wpn_pos[2] = -5.0f;
    wpn.wpn_theta = 0.0f;
    wpn.wpn_psi = p.heading;
    wpn.wpn_phi = p.roll;
    if (wpn.wpn_type != 0) ACF_draw_weapon(0, s, 0);
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

void weapons_tab()
{
    const float w = screen.screen_area_width, h = screen.screen_area_height;
    BTN_frame2(15, 10.0f, 366.0f, w - 20.0f, h - 428.0f, LANG_ui_text(613));
    static char path[TEXT_SIZE];   // the weapon files' path buffer
    if (BTN_push_button(w * 0.5f, 338.0f, 0, 1, LANG_ui_text(614))) {
        for (int s = 0; s < ACF_WPN_SLOTS; ++s)
            if (weapon_name(s)[0]) WPN_read(7, 0, s, weapon_name(s), path, 0);
        ACF_load_textures(1, 0, 0, 0);
    }
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        char* name = weapon_name(s);
        if (!name[0]) continue;
        const float x0 = s % 2 == 0 ? 0.0f : 451.0f;
        const float y0 = -25.0f * static_cast<float>(s / 2);
        wpn_slot_record& wpn = pln[0].acf_wpn_slot[s];
        if (wpn.wpn_type != 0) {
            if (BTN_push_button(x0 + 72.0f, y0 + 303.0f, 1, 0, LANG_ui_text(615))) {
                wpn.wpn_type = 0;   // unloaded: the name and row stay
                continue;
            }
        } else if (BTN_push_button(x0 + 72.0f, y0 + 303.0f, 0, 1, LANG_ui_text(616))) {
            load_weapon(s, path);
        }
        // Only a file chosen loads the slot. The field answers 1 whenever it
        // opened the browser: loading on that, a cancelled browse would load
        // the slot's file again, putting back a weapon the user had unloaded.
        int chosen = 0;
        if (BTN_file_field(x0 + 159.0f, y0 + 299.0f, name, path, KIND_WEAPON, MODE_BROWSER_OPEN, LANG_ui_text(617),
                           &chosen) &&
            chosen)
            load_weapon(s, path);
    }
    weapon_preview(w, h);
}

}  // namespace

float ENGN_fuel_endurance()
{
    const acf_struct& a = pln[0];
    float burn = 0.0f;
    // The engine count comes from the aircraft file and may be written by a
    // plug-in: beyond the record's 8 engines the loop would read past the
    // engine types and the engines' fuel flows.
    const int engines = std::clamp(a.acf_num_engines, 0, ACF_MAX_ENGINES);
    for (int i = 0; i < engines; ++i) {
        switch (a.acf_en_type[i]) {
        case 6: case 7: burn += ENGN_max_fuel_flow(i) * 3600.0f; break;
        case 4: case 5: burn += ENGN_max_fuel_flow(i) * 0.35f * 0.75f * 3600.0f; break;
        case 0: case 1: case 2: case 8: burn += ENGN_max_fuel_flow(i) * 0.65f * 3600.0f; break;
        default: break;   // electric engines (type 3) burn nothing
        }
    }
    if (!(burn >= 0.001f)) return 999.9f;
    const flt_struct& f = flt[0];
    return (f.m_fuel1 + f.m_fuel2 + f.m_fuel3) / burn;
}

void SETUP_weight_fuel()
{
    BTN_screen_frame(1, 1);
    BTN_tab(0, 0, &weight_screen.weight_tab, LANG_ui_text(532));
    BTN_tab(1, 0, &weight_screen.weight_tab, LANG_ui_text(543));
    if (weight_screen.weight_tab == 1) weapons_tab();
    else weights_tab();
}
