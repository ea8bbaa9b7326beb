// The radio receivers of the user's plane.
#include "flightmodel/systems/radios.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/gear_util.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems/flight_plan.h"
#include "flightmodel/systems/nav_proximity.h"
#include "links/sound.h"
#include "flightmodel/systems/instrument_power.h"
#include "world/navdb.h"

radio_station_record radio_stations{};
radio_state radios{};

void RADIOS_reset()
{
    radio_stations = radio_station_record{};
    radios = radio_state{};
}
ORVELL_RESET(RADIOS_reset, flight);

namespace {

constexpr float SEARCH_BOX_DEG = 5.0f;
constexpr float AGL_30000_FT_M = 9144.0f;
constexpr float GS_WARNING_REPEAT_SEC = 2.0f;

// Destination types of the GPS.
constexpr int32_t GPS_AIRPORT = 1;
constexpr int32_t GPS_NAVAID_A = 2;
constexpr int32_t GPS_NAVAID_B = 3;
constexpr int32_t GPS_FIX = 11;
constexpr int32_t GPS_FLIGHT_PLAN = 13;

bool failed(int slot) { return FLT_slot_failed(0, slot); }

int32_t frequency_of(int r)
{
    const sim_cockpit_radios_block& c = sim_cockpit_radios;
    const int32_t f[RADIO_RECEIVERS] = {c.nav1_freq_hz, c.nav2_freq_hz, c.adf1_freq_hz,
                                        c.adf2_freq_hz, c.gps_freq_hz,  c.dme_freq_hz};
    return f[r];
}

float obs_of(int r)
{
    const sim_cockpit_radios_block& c = sim_cockpit_radios;
    const float o[RADIO_RECEIVERS] = {c.nav1_obs_degm,  c.nav2_obs_degm, c.adf1_obs_card_mag,
                                      c.adf2_obs_card_mag, c.obs_mag,     c.dme_obs_degm};
    return o[r];
}

// Degrees from the plane to a local point, 0 toward -z, 90 toward +x.
float bearing_to(const float p[3])
{
    const flt_struct& f = flt[0];
    return std::atan2(p[0] - f.local_x, f.local_z - p[2]) * RAD_TO_DEG_FLOAT;
}

void copy_ident(int r, const navaid_record& n)
{
    char* t = radio_stations.nav_ident_text[r];
    std::memset(t, 0, RADIO_IDENT_CHARS + 1);
    std::memcpy(t, n.id, strnlen(n.id, RADIO_IDENT_CHARS));
}

bool in_search_box(const navaid_record& n)
{
    const flt_struct& f = flt[0];
    return std::fabs(n.lat - f.latitude) <= SEARCH_BOX_DEG && std::fabs(n.lon - f.longitude) <= SEARCH_BOX_DEG;
}

void reset_receivers()
{
    const float agl = flt[0].y_agl;
    float r1 = 1.1111112f + 2.2222221f * agl / AGL_30000_FT_M;
    float r2 = 0.8888889f + 1.7777779f * agl / AGL_30000_FT_M;
    if (sim_graphics_scenery.current_planet == PLANET_MARS) r1 *= 10.0f, r2 *= 10.0f;
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    for (int r : {RADIO_NAV1, RADIO_NAV2, RADIO_ADF1, RADIO_ADF2, RADIO_DME}) {
        c.nav_type[r] = 0;
        c.nav1_fromto[r] = 0;
        c.nav1_has_dme[r] = 0;
        radio_stations.dme_bias[r] = 0.0f;
        radios.best_nav[r] = radios.best_gs[r] = radios.best_dme[r] = r1;
        radios.best_ndb[r] = r2;
        radios.front_course_found[r] = 0;
    }
}

void hear_nav(int r, int idx, const navaid_record& n, const float pos[3])
{
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    const flt_struct& f = flt[0];
    const bool localizer = n.kind == NAV_ILS_LOC || n.kind == NAV_LOC;
    if (n.kind == NAV_VOR || (localizer && !failed(FAIL_SLOT_LOCALIZER))) {
        const float convergence = GEO_grid_convergence(n.lat, n.lon);
        const float course = n.heading + convergence;
        const bool eligible = !localizer || std::fabs(UTIL_wrap_pm180(bearing_to(pos) - course)) <= 90.0f;
        if (eligible && NAV_nearer_than_best(idx, &radios.best_nav[r])) {
            bool taken = true;
            if (!localizer) {
                c.nav_type[r] = NAV_VOR;
                c.nav1_course_degt[r] = convergence + obs_of(r);
            } else {
                if (std::fabs(UTIL_wrap_pm180(f.psi - course)) <= 90.0f) {
                    radios.front_course_found[r] = 1;
                } else if (!radios.front_course_found[r]) {
                    radios.best_nav[r] += 1.0f;   // a localizer flown toward can still win
                } else {
                    taken = false;
                }
                if (taken) {
                    if (c.nav_type[r] != NAV_ILS_LOC) c.nav_type[r] = NAV_LOC;
                    c.nav1_course_degt[r] = course;
                }
            }
            if (taken) {
                std::memcpy(radio_stations.nav_station_pos[r], pos, sizeof(float) * 3);
                copy_ident(r, n);
            }
        }
    }
    if (n.kind == NAV_GLIDESLOPE && !failed(FAIL_SLOT_LOCALIZER) && !failed(FAIL_SLOT_GLIDESLOPE)) {
        const int code = GEO_round(n.heading);
        const float slope = static_cast<float>(code / 1000) * 0.01f;
        const float course = static_cast<float>(code - 1000 * (code / 1000));
        if (std::fabs(UTIL_wrap_pm180(bearing_to(pos) - course)) <= 90.0f &&
            NAV_nearer_than_best(idx, &radios.best_gs[r])) {
            c.nav_type[r] = NAV_ILS_LOC;
            std::memcpy(radio_stations.gs_station_pos[r], pos, sizeof(float) * 3);
            radio_stations.gs_station_elev[r] = n.height;
            c.nav1_slope_degt[r] = slope;
        }
    }
    if (n.kind == NAV_DME && !failed(FAIL_SLOT_DME) && NAV_nearer_than_best(idx, &radios.best_dme[r])) {
        if (c.nav_type[r] == 0) c.nav_type[r] = NAV_DME;
        c.nav1_has_dme[r] = 1;
        std::memcpy(radio_stations.dme_station_pos[r], pos, sizeof(float) * 3);
        radio_stations.dme_bias[r] = n.heading;
        copy_ident(r, n);
    }
}

// The navaids on a frequency, in table order. The list only grows, so after
// the first frames the search allocates nothing.
std::vector<int>& on_frequency(int32_t frequency)
{
    static std::vector<int> list;
    list.clear();
    const auto range = navaid_frequency_index.equal_range(frequency);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second >= 0 && it->second < static_cast<int>(navaid_table.size())) list.push_back(it->second);
    // The index keeps no order among the navaids of one frequency: in table
    // order the later of two nearly equal stations wins.
    std::sort(list.begin(), list.end());
    return list;
}

void search(int r, bool adf)
{
    const std::vector<int>& list = on_frequency(frequency_of(r));
    const int count = static_cast<int>(list.size());
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    for (int k = 0; k < count; ++k) {
        const int idx = list[k];
        const navaid_record& n = navaid_table[static_cast<size_t>(idx)];
        if (!in_search_box(n)) continue;
        float pos[3];
        GEO_latlon_to_local(pos[0], pos[1], pos[2], n.lat, n.lon, n.height);
        if (!adf) {
            hear_nav(r, idx, n, pos);
        } else if (NAV_nearer_than_best(idx, &radios.best_ndb[r])) {
            c.nav_type[r] = NAV_NDB;
            c.nav1_fromto[r] = 1;
            copy_ident(r, n);
            std::memcpy(radio_stations.nav_station_pos[r], pos, sizeof(pos));
        }
    }
}

// The GPS destination's latitude and longitude; (0, 0) for an unknown type
// or an index outside its table.
void gps_destination(int32_t type, int32_t index, float& lat, float& lon)
{
    lat = lon = 0.0f;
    if (type == GPS_NAVAID_A || type == GPS_NAVAID_B) {
        if (index >= 0 && index < static_cast<int32_t>(navaid_table.size())) {
            lat = navaid_table[static_cast<size_t>(index)].lat;
            lon = navaid_table[static_cast<size_t>(index)].lon;
        }
    } else if (type == GPS_FIX) {
        if (index >= 0 && index < static_cast<int32_t>(fix_table.size())) {
            lat = fix_table[static_cast<size_t>(index)].lat;
            lon = fix_table[static_cast<size_t>(index)].lon;
        }
    } else if (type == GPS_AIRPORT) {
        if (index >= 0 && index < static_cast<int32_t>(airport_table.size())) {
            const airport_record& a = airport_table[static_cast<size_t>(index)];
            if (!a.runways.empty()) lat = a.runways[0].lat, lon = a.runways[0].lon;
        }
    } else if (type == GPS_FLIGHT_PLAN) {
        const int32_t d = fms_plan.destination_index;
        if (d >= 0 && d < FMS_ENTRIES) {
            lat = fms_plan.entries[d].latitude;
            lon = fms_plan.entries[d].longitude;
        }
    }
}

void gps()
{
    if (sim_private_net_disables.nav_GPS || failed(FAIL_SLOT_GPS)) return;
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    const flt_struct& f = flt[0];
    float lat = 0.0f, lon = 0.0f;
    gps_destination(g.destination_type, g.destination_index, lat, lon);
    float* p = radio_stations.nav_station_pos[RADIO_GPS];
    GEO_latlon_to_local(p[0], p[1], p[2], lat, lon, 0.0);

    const double p1 = f.latitude * DEG_TO_RAD_DOUBLE, p2 = lat * DEG_TO_RAD_DOUBLE;
    const double dl = (lon - f.longitude) * DEG_TO_RAD_DOUBLE;
    const double cosine = std::clamp(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl), -1.0, 1.0);
    const float dist = static_cast<float>(std::acos(cosine) * 60.0 * RAD_TO_DEG_DOUBLE);
    c.gps_dme_dist_m = std::isfinite(dist) ? dist : 0.0f;

    const float variation = sim_flightmodel_position.magnetic_variation;
    g.course = UTIL_wrap_floor(bearing_to(p), 360.0f);
    c.gps_course_degt = c.obs_mag - variation;
    const float deviation =
        UTIL_clamp(c.gps_dme_dist_m * std::sin((g.course - c.gps_course_degt) * DEG_TO_RAD_FLOAT) * 4.0f, -5.0f, 5.0f);
    c.gps_hdef_deg = c.gps_hdef_dot = deviation;
    // A new destination (or a new reference degree, or the first second of the
    // flight) sets the course toward it; the course and deviation above still
    // read the old setting on this frame and follow it from the next.
    const int lat_ref_deg = GEO_round(lat_ref), lon_ref_deg = GEO_round(lon_ref);
    if (g.destination_type != radios.gps_last_type || g.destination_index != radios.gps_last_index ||
        lat_ref_deg != radios.gps_last_lat_ref || lon_ref_deg != radios.gps_last_lon_ref ||
        sim_time.total_flight_time_sec < 1.0f) {
        c.obs_mag = g.course + variation;
        radios.gps_last_type = g.destination_type;
        radios.gps_last_index = g.destination_index;
        radios.gps_last_lat_ref = lat_ref_deg;
        radios.gps_last_lon_ref = lon_ref_deg;
    }
    c.gps_fromto = 1;
}

bool has_gpws()
{
    return (pln[0].acf_warn1EQ || pln[0].acf_warn2EQ) && sim_operation_prefs.warn_bb;
}

void glideslope_warning(int r, float hdef, float vdef, float horizontal_m)
{
    const flt_struct& f = flt[0];
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    if (c.nav_type[r] != NAV_ILS_LOC || RADIOS_hsi_source() != r || !has_gpws()) return;
    const float vs_fpm = f.vh_ind / UNIT.fpm_to_mps;
    const float heading_off = std::fabs(UTIL_wrap_pm180(f.psi - c.nav1_course_degt[r]));
    if (std::fabs(hdef) < 2.5f && std::fabs(vdef) < 2.5f && heading_off < 10.0f && vs_fpm < -100.0f &&
        horizontal_m < 10.0f * UNIT.nm_to_mtrs)
        radios.gs_warning_armed = 1;
    if (vs_fpm > 1000.0f || f.onground_any || heading_off > 45.0f) radios.gs_warning_armed = 0;
    const float agl_ft = f.y_agl / UNIT.ft_to_mtrs;
    const float now = sim_time.total_running_time_sec;
    if (radios.gs_warning_armed && agl_ft >= 50.0f && agl_ft <= 1000.0f && vdef < -1.0f &&
        now - radios.gs_warning_last >= GS_WARNING_REPEAT_SEC) {
        SOUND_play(SOUND_GLIDESLOPE, 0, 1.0f, 1.0f);
        radios.gs_warning_last = now;
    }
}

void deflections()
{
    if (sim_private_net_disables.nav_NC) return;
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    const flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;
    for (int r : {RADIO_NAV1, RADIO_NAV2}) {
        c.nav1_hdef_deg[r] = c.nav1_vdef_deg[r] = 0.0f;
        c.nav1_fromto[r] = 0;
        float hdot = 0.0f, vdot = 0.0f;
        const float* s = radio_stations.nav_station_pos[r];
        const float bearing = bearing_to(s);
        if (c.nav_type[r] == NAV_VOR) {
            float hdef = UTIL_wrap_pm180(bearing - c.nav1_course_degt[r]);
            if (hdef < -90.0f || hdef > 90.0f) {
                c.nav1_fromto[r] = 2;
                hdef = -UTIL_wrap_pm180(hdef + 180.0f);
            } else {
                c.nav1_fromto[r] = 1;
            }
            c.nav1_hdef_deg[r] = hdef;
            hdot = UTIL_clamp(hdef * 0.5f, -5.0f, 5.0f);
        } else if (c.nav_type[r] == NAV_ILS_LOC || c.nav_type[r] == NAV_LOC) {
            const float hdef = UTIL_wrap_pm180(bearing - c.nav1_course_degt[r]);
            const float* g = radio_stations.gs_station_pos[r];
            const float dx = g[0] - f.local_x, dz = g[2] - f.local_z;
            const float horizontal = std::sqrt(dx * dx + dz * dz);
            if (hdef >= -90.0f && hdef <= 90.0f) {
                c.nav1_fromto[r] = 1;
                c.nav1_hdef_deg[r] = hdef;
                if (c.nav_type[r] == NAV_ILS_LOC)
                    c.nav1_vdef_deg[r] =
                        std::atan2(f.elevation - radio_stations.gs_station_elev[r], horizontal) * RAD_TO_DEG_FLOAT -
                        c.nav1_slope_degt[r];
                hdot = UTIL_clamp(hdef * 2.0f, -5.0f, 5.0f);
                vdot = UTIL_clamp(c.nav1_vdef_deg[r] * UNIT_GS_DOTS_PER_DEG, -5.0f, 5.0f);
            }
            glideslope_warning(r, c.nav1_hdef_deg[r], c.nav1_vdef_deg[r], horizontal);
        }
        radios.hdef_dot_target[r] = hdot;
        radios.vdef_dot_target[r] = vdot;
        c.nav1_hdef_dot[r] = (1.0f - dt) * c.nav1_hdef_dot[r] + dt * hdot;
        c.nav1_vdef_dot[r] = (1.0f - dt) * c.nav1_vdef_dot[r] + dt * vdot;
    }
}

void bearing_needles()
{
    if (!PANEL_avionics_powered()) return;
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    const float psi = flt[0].psi;
    for (int r : {RADIO_NAV1, RADIO_NAV2, RADIO_ADF1, RADIO_ADF2})
        if (c.nav1_fromto[r]) c.nav1_dir_degt[r] = UTIL_wrap_pm180(bearing_to(radio_stations.nav_station_pos[r]) - psi);
    if (c.gps_fromto) c.gps_dir_degt = UTIL_wrap_pm180(bearing_to(radio_stations.nav_station_pos[RADIO_GPS]) - psi);
    for (int r : {RADIO_ADF1, RADIO_ADF2})
        if (c.nav_type[r] == 0) c.nav1_dir_degt[r] = 90.0f;
}

void dme()
{
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    const flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;
    for (int r = 0; r < RADIO_RECEIVERS; ++r) {
        if (!c.nav1_has_dme[r]) continue;
        const float* s = radio_stations.dme_station_pos[r];
        const float dx = s[0] - f.local_x, dy = s[1] - f.local_y, dz = s[2] - f.local_z;
        const float slant_nm = length(vec3{dx, dy, dz}) / UNIT.nm_to_mtrs;
        const float previous = c.nav1_dme_dist_m[r];
        const float dist = UTIL_clamp((1.0f - dt) * previous + dt * (slant_nm - radio_stations.dme_bias[r]), 0.0f, 999.0f);
        const float speed = dt > 0.0f ? UTIL_clamp(std::fabs(dist - previous) / dt * 3600.0f, 0.0f, 999.0f) : 0.0f;
        c.nav1_dme_dist_m[r] = dist;
        c.nav1_dme_speed_kts[r] = speed;
        c.nav1_dme_time_secs[r] = UTIL_clamp(dist / UTIL_clamp(speed, 1.0f, 99999.9f) * 60.0f, 0.0f, 999.0f);
    }
}

}  // namespace

int RADIOS_hsi_source()
{
    const int32_t s = sim_cockpit_switches.HSI_selector;
    return s >= 0 && s <= 2 ? (s == 2 ? RADIO_GPS : s) : RADIO_NAV1;
}

void SYSTEMS_radio_receivers()
{
    reset_receivers();
    if (!failed(FAIL_SLOT_NAV1)) search(RADIO_NAV1, false);
    if (!failed(FAIL_SLOT_NAV2)) search(RADIO_NAV2, false);
    search(RADIO_DME, false);
    if (!failed(FAIL_SLOT_ADF1)) search(RADIO_ADF1, true);
    if (!failed(FAIL_SLOT_ADF2)) search(RADIO_ADF2, true);
    gps();
    deflections();
    bearing_needles();
    dme();
}
