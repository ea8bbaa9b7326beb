// The small elements of an EFIS screen (types 166-184, 451, 452): the
// attitude, heading, airspeed, altitude, vertical-speed and localizer and
// glideslope elements drawn by the round-dial instruments, and the numeric
// boxes of their own: wind and speeds, DME 1 and 2, GPS time and distance,
// ground speed, Mach number, decision height, flap bar, gear and courses.
//
// Reads: failures 7 and 8, the user's heading, speeds and flaps, the wind at
// the plane, the zulu time, the radios' DME values and stations, the EFIS DME
// selectors, the decision height, the gear deployment, the courses and the
// GPS destination. Keeps nothing.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/failure_slots.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/radios.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "panel/glass/glass.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

namespace {

constexpr int FONT = 110;
constexpr int WHITE = 49;
constexpr int FAIL_SLOT_EFIS_READOUTS = 7, FAIL_SLOT_EFIS_MAP = 8;

// Our own template texts.
constexpr const char* TIME_TEMPLATE = "  :  Z";
constexpr const char* DISTANCE_TEMPLATE = "     NM";

bool failed(const flt_struct& f, int slot) { return f.failures[slot] == FAILURE_STATE_FAILED; }

// Into 0..360 by whole turns, as the readouts show angles: 360 itself stays,
// and so does any positive whole number of turns brought down to it.
float angle_360(float a) { return a < 0.0f ? UTIL_wrap_open(a, 360.0f) : UTIL_wrap_closed(a, 360.0f); }

// Texts, numbers and sprite places are multiplied by the instrument scale:
// the sprites and the delegated dials are drawn at the scale, and unscaled
// texts would stand away from them on an element drawn at a scale other than
// 1. At scale 1 every place is as given.
void text(int colour, float x, float y, const char* t)
{
    const float s = panel_ins_scale;
    OGL_draw_string(colour, x * s, y * s, t, 9999.0f, FONT);
}
void number(int colour, float x, float y, float v, int digits, int decimals = 0)
{
    const float s = panel_ins_scale;
    OGL_draw_string_fmt(colour, x * s, y * s, std::isfinite(v) ? v : 0.0f, digits, decimals, 0, FONT);
}

// The smoothed wind at the plane, published as sim/weather/wind_speed_kt (in
// m/s despite its name) and wind_direction_degt, is kept as
// wind_speed_at_plane_ms and wind_direction_at_plane_degt beside the three
// wind layers that carry those names as arrays.
void wind_box(const flt_struct& f)
{
    const float speed = sim_weather.wind_speed_at_plane_ms;
    const float share = std::clamp(speed * 100.0f, 0.0f, 1.0f);
    const float w = sim_weather.wind_direction_at_plane_degt * share;
    number(WHITE, -19.0f, 9.0f, f.groundspeed * UNIT.mps_to_kts, 3);
    number(WHITE, 13.0f, 9.0f, f.true_airspeed * UNIT.mps_to_kts, 3);
    number(WHITE, -28.0f, 0.0f, angle_360(w + sim_flightmodel_position.magnetic_variation), 3);
    number(WHITE, 0.0f, 0.0f, speed * UNIT.mps_to_kts, 2);
    PANEL_draw_needle(-19.0f, -12.0f, angle_360(w - f.psi + 180.0f), 52);
}

void dme_box(int selector, int first_radio)
{
    if (selector != 1 && selector != 2) return;
    const int radio = selector == 2 ? first_radio : first_radio + 2;
    const int colour = selector == 2 ? 50 : 60;
    PANEL_draw_control(0.0f, 6.0f * panel_ins_scale, selector == 2 ? 1 : 0);
    if (sim_cockpit_radios.nav1_has_dme[radio] == 0) {
        text(colour, -12.0f, -5.0f, "---");
        return;
    }
    char id[TEXT_SIZE];
    std::memcpy(id, radio_stations.nav_ident_text[radio], TEXT_SIZE);
    id[TEXT_SIZE - 1] = 0;
    text(colour, -12.0f, -5.0f, id);
    number(colour, -12.0f, -15.0f, sim_cockpit_radios.nav1_dme_dist_m[radio], 4, 1);
}

void gps_box(const flt_struct& f)
{
    char id[sizeof gps_unit.identifier + 1] = {};
    std::memcpy(id, gps_unit.identifier, strnlen(gps_unit.identifier, sizeof gps_unit.identifier));
    text(WHITE, 0.0f, 6.0f, id);
    text(WHITE, 0.0f, -3.0f, TIME_TEMPLATE);
    text(WHITE, 0.0f, -12.0f, DISTANCE_TEMPLATE);
    // Time to go as the GPS unit works it out: minutes, 0..999, at no less than 1 kt.
    const float distance = sim_cockpit_radios.gps_dme_dist_m;
    const float speed_kt = std::max(f.groundspeed * UNIT.mps_to_kts, 1.0f);
    float to_go_min = distance / speed_kt * 60.0f;
    to_go_min = std::isfinite(to_go_min) ? std::clamp(to_go_min, 0.0f, 999.0f) : 0.0f;
    // Into the day as the angles are into the turn: a full day stays 24:00.
    const float t = UTIL_wrap_closed(sim_time.zulu_time_sec + to_go_min * 60.0f, 86400.0f);
    const int hours = static_cast<int>(t / 3600.0f);
    const int minutes = (static_cast<int>(t) - hours * 3600) / 60;
    number(WHITE, 0.0f, -3.0f, static_cast<float>(hours), 2);
    number(WHITE, 18.0f, -3.0f, static_cast<float>(minutes), 2);
    number(WHITE, 0.0f, -12.0f, distance, 5, 1);
}

}   // namespace

void PANEL_efis_readouts(const panel_records& r)
{
    const flt_struct& f = r.flt;
    if (!PANEL_avionics_powered() || failed(f, FAIL_SLOT_EFIS_READOUTS)) return;
    const float s = panel_ins_scale;
    switch (panel_ins_type) {
    case INS_EFIS_EL_HORIZON: PANEL_adi(r); break;
    case INS_EFIS_EL_HSI_TAPE: case INS_EFIS_EL_HSI_SEMI_CIRCLE: case INS_EFIS_EL_HSI_FULL_CIRCLE: PANEL_hsi(r); break;
    case INS_EFIS_EL_AIRSPEED: PANEL_asi(r); break;
    case INS_EFIS_EL_ALTITUDE: PANEL_altimeter(r); break;
    case INS_EFIS_EL_VVI_VERT: case INS_EFIS_EL_VVI_DIGITAL: PANEL_vvi(r); break;
    case INS_EFIS_EL_LOC: case INS_EFIS_EL_GS: update_loc_gls(f.magpsi); break;
    case INS_EFIS_EL_WIND: wind_box(f); break;
    case INS_EFIS_EL_DME_1: dme_box(sim_cockpit_switches.EFIS_dme_1_selector, 0); break;
    case INS_EFIS_EL_DME_2: dme_box(sim_cockpit_switches.EFIS_dme_2_selector, 1); break;
    case INS_EFIS_EL_GPS_TIME: gps_box(f); break;
    case INS_EFIS_EL_GROUNDSPEED:
        if (!failed(f, FAIL_SLOT_EFIS_MAP))
            number(WHITE, -9.0f, -4.0f, std::sqrt(f.local_vx * f.local_vx + f.local_vz * f.local_vz) * UNIT.mps_to_kts, 3);
        break;
    case INS_EFIS_EL_MACH: number(WHITE, -6.0f, -4.0f, f.machno, 5, 3); break;
    case INS_EFIS_EL_RADALT_MIN: number(WHITE, -4.0f, -4.0f, sim_cockpit_misc.radio_altimeter_minimum, 4); break;
    case INS_EFIS_EL_FLAPS:
        if (!failed(f, FAIL_SLOT_EFIS_MAP)) {
            const float h = 35.0f * (std::isfinite(f.flaprat) ? f.flaprat : 0.0f);
            OGL_fill_rect(56, 1.0f, -5.0f * s, (14.0f - h) * s, 9.0f * s, h * s);
        }
        break;
    case INS_EFIS_EL_GEAR: {
        const float* g = r.acf.acf_gear_deploy;
        if (g[67] < 0.01f && g[68] < 0.01f && g[69] < 0.01f) PANEL_draw_control(0.0f, 0.0f, 0);
        else if (g[67] > 0.99f && g[68] > 0.99f && g[69] > 0.99f) PANEL_draw_control(0.0f, 0.0f, 1);
        break;
    }
    case INS_EFIS_EL_OBS_1: number(WHITE, 4.0f, -4.0f, angle_360(sim_cockpit_radios.nav1_obs_degm), 4); break;
    case INS_EFIS_EL_OBS_2: number(WHITE, 4.0f, -4.0f, angle_360(sim_cockpit_radios.nav2_obs_degm), 4); break;
    default: break;
    }
}
