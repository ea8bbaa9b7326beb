// The moving map of the glass cockpit (types 185-187, 371-373, 191's map
// page, 331 and 333): heading-up (or north-up) map of the world around the
// user's aircraft with the weather echo, compass furniture, bearing
// pointers, the flight plan, the nearby navaids, fixes and airports, the GPS
// destination, the ships, the other aircraft as traffic, and the track.
//
// Reads: the EFIS switches and selectors, the user's position and heading,
// the radios' stations, the GPS destination, the flight plan, the nearby
// lists and the navigation tables, the loaded area, the ATC destination
// runway end, the ships, the other planes. Writes: the type-331 map mode,
// the range selector (type 331's buttons) and the previous traffic alert.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/constants.h"
#include "core/failure_slots.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/flight_plan.h"
#include "flightmodel/systems/radios.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "links/sound.h"
#include "panel/glass/glass.h"
#include "panel/panel_kit.h"
#include "world/ships.h"
#include "world/apt_scene.h"
#include "world/atc/atc_state.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

namespace {

constexpr int LABEL_FONT = 110;
constexpr float APPROACH_LINE_M = 20000.0f;
constexpr int FAIL_SLOT_EFIS_MAP = 8;   // the maps and two of the readouts

// Our own labels.
constexpr const char* MODE_LABELS[3] = {"HU", "AR", "NU"};
constexpr const char* RANGE_UNIT = "-   NM";
constexpr const char* SHIP_NAMES[2] = {"CARRIER", "FRIGATE"};

struct cell {
    float s1, s2, t1, t2;   // in 1/1024 of the sheet
};
constexpr cell CELL_NDB = {112, 140, 462, 490}, CELL_VOR = {82, 110, 430, 458}, CELL_FIX = {82, 110, 462, 490},
               CELL_AIRPORT = {112, 140, 430, 458}, CELL_SHIP = {14, 42, 182, 210};

bool arc_family(int t)
{
    return INS_in(t, INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM) || INS_in(t, INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM);
}

struct box_size {
    float left, bottom, width, height;
};
box_size box_of(int t)
{
    switch (t) {
    case INS_EFIS_MAP_T_GA: return {-95, -115, 190, 230};
    case INS_EFIS_MAP_T_BC: return {-95, -120, 190, 230};
    case INS_EFIS_MAP_T_HM: return {-95, -135, 190, 230};
    case INS_EFIS_MAP_S_GA: return {-95, -75, 190, 160};
    case INS_EFIS_MAP_S_BC: return {-95, -80, 190, 160};
    case INS_EFIS_MAP_S_HM: return {-95, -95, 190, 160};
    case INS_EFIS_HITS: return {-111, -118, 222, 256};
    case INS_EFIS_MAP_MINI: return {-40, -40, 63, 80};
    default: return {-43, -45, 86, 89};   // 333
    }
}

// The map of this call: its box (scaled), aircraft point, scale and heading.
struct map_frame {
    int type;
    float left, bottom, right, top;
    float cx, ay;          // centre x, aircraft point y
    float r, k;            // edge-circle radius, units per metre
    float heading;         // map heading, degrees
    float range_nm;
    int text_colour;
    float origin_lat, origin_lon;
    const flt_struct* own = nullptr;   // the flight record of the plane it shows
};

void map_point(const map_frame& m, float dx, float dz, float& x, float& y)
{
    const float a = 360.0f - m.heading;
    x = m.cx + PANEL_rot_x(dx, dz, a) * m.k;
    y = m.ay - PANEL_rot_y(dx, dz, a) * m.k;
}

// Inside the map's box, edges included, and (but on type 331) inside the
// 90-degree wedge opening upward from the box's bottom centre.
bool visible(const map_frame& m, float x, float y)
{
    return EFIS_map_visible(m.left - m.cx, m.bottom, m.right - m.cx, m.top, x - m.cx, y);
}

// A database position as an offset from the aircraft by the flat rule.
void flat_offset(const map_frame& m, float lat, float lon, float& dx, float& dz)
{
    const flt_struct& f = *m.own;
    dx = (lon - m.origin_lon) * UNIT_MTRS_PER_DEG_LAT * std::cos(lat * DEG_TO_RAD_FLOAT) - f.local_x;
    dz = (m.origin_lat - lat) * UNIT_MTRS_PER_DEG_LAT - f.local_z;
}

// A position as an offset from the aircraft by the spherical conversion at
// the aircraft's elevation.
void sphere_offset(const flt_struct& f, float lat, float lon, float& dx, float& dz)
{
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat, lon, f.elevation);
    dx = x - f.local_x;
    dz = z - f.local_z;
}

// One symbol of the batch (a quad already open on the first panel-font sheet).
void symbol(const map_frame& m, float lat, float lon, const cell& c, const char* id, size_t id_size, bool label)
{
    float dx, dz, x, y;
    flat_offset(m, lat, lon, dx, dz);
    map_point(m, dx, dz, x, y);
    if (!PANEL_in_range(x, m.left, m.right) || !visible(m, x, y)) return;
    const float px = static_cast<float>(GEO_round(x + screen.screen_area_left));
    const float py = static_cast<float>(GEO_round(y + screen.screen_area_bottom));
    const float s1 = c.s1 / 1024.0f, s2 = c.s2 / 1024.0f, t1 = c.t1 / 1024.0f, t2 = c.t2 / 1024.0f;
    glTexCoord2f(s1, t1), glVertex2f(px - 7.0f, py - 7.0f);
    glTexCoord2f(s1, t2), glVertex2f(px - 7.0f, py + 7.0f);
    glTexCoord2f(s2, t2), glVertex2f(px + 7.0f, py + 7.0f);
    glTexCoord2f(s2, t1), glVertex2f(px + 7.0f, py - 7.0f);
    if (!label) return;
    char text[TEXT_SIZE] = {};
    std::memcpy(text, id, strnlen(id, id_size));
    const size_t n = std::strlen(text);
    float gx = px - 3.0f * static_cast<float>(n);
    for (size_t i = 0; i < n; ++i, gx += 6.0f) OGL_draw_glyphs(gx, py - 15.0f, static_cast<unsigned char>(text[i]), LABEL_FONT);
}

template <class T>
bool in_table(const std::vector<T>& table, int32_t i)
{
    return i >= 0 && i < static_cast<int32_t>(table.size());
}

void navaid_symbol(const map_frame& m, int32_t i, const cell& c, bool label)
{
    if (!in_table(navaid_table, i)) return;
    const navaid_record& n = navaid_table[static_cast<size_t>(i)];
    symbol(m, n.lat, n.lon, c, n.id, APT_ID_SIZE, label);
}

void fix_symbol(const map_frame& m, int32_t i, bool label)
{
    if (!in_table(fix_table, i)) return;
    const fix_record& x = fix_table[static_cast<size_t>(i)];
    symbol(m, x.lat, x.lon, CELL_FIX, x.id, FIX_ID_SIZE, label);
}

void type_331_controls()
{
    int32_t& mode = efis_map.type_331_mode;
    int32_t& sel = sim_cockpit_switches.EFIS_map_range_selector;
    if (PANEL_click_spot(38.0f, 29.0f, 7.0f, 0)) mode = 0;
    if (PANEL_click_spot(38.0f, 14.0f, 7.0f, 0)) mode = 1;
    if (PANEL_click_spot(38.0f, -1.0f, 7.0f, 0)) mode = 2;
    if (PANEL_click_spot(38.0f, -18.0f, 7.0f, 0)) sel = std::clamp(sel - 1, 0, 6);
    if (PANEL_click_spot(38.0f, -32.0f, 7.0f, 0)) sel = std::clamp(sel + 1, 0, 6);
    const float s = panel_ins_scale;
    const float ys[3] = {23.0f, 8.0f, -7.0f};
    for (int i = 0; i < 3; ++i) {
        const bool current = i == mode;
        OGL_fill_rect(current ? 64 : 80, 1.0f, 32.0f * s, ys[i] * s, 13.0f * s, 12.0f * s);
        OGL_draw_string(current ? 50 : 64, 34.0f * s, (ys[i] + 2.0f) * s, MODE_LABELS[i], 9999.0f, LABEL_FONT);
    }
}

void compass_furniture(const map_frame& m)
{
    const flt_struct& f = *m.own;
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const float s = panel_ins_scale, r = m.r;
    const int tc = m.text_colour;
    glPushMatrix();
    glTranslatef(m.cx, m.ay, 0.0f);
    if (screen.rendering_res > 2)
        PANEL_draw_rotated_card(f.psi + sim_flightmodel_position.magnetic_variation, 128.0f * s, 3, 1);
    OGL_draw_line(49, 1.0f, 0.0f, 0.0f, 0.0f, r);
    OGL_draw_string(tc, -2.0f, 0.75f * r - 3.0f, "-", 9999.0f, LABEL_FONT);
    OGL_draw_string(tc, -2.0f, 0.25f * r - 3.0f, "-", 9999.0f, LABEL_FONT);
    OGL_draw_string(tc, -2.0f, 0.5f * r - 3.0f, RANGE_UNIT, 9999.0f, LABEL_FONT);
    OGL_draw_string_fmt(tc, 4.0f, 0.5f * r - 3.0f, m.range_nm * 0.5f, 3, 0, 0, LABEL_FONT);
    const float b = (sim_cockpit_autopilot.heading_mag - f.magpsi) * DEG_TO_RAD_FLOAT;
    OGL_draw_line(51, 0.75f, 0.0f, 0.0f, r * std::sin(b), r * std::cos(b));
    const struct { bool on; int radio, head; } pointers[4] = {
        {sw.EFIS_dme_1_selector == 2, RADIO_NAV1, 67}, {sw.EFIS_dme_2_selector == 2, RADIO_NAV2, 69},
        {sw.EFIS_dme_1_selector == 1, RADIO_ADF1, 71}, {sw.EFIS_dme_2_selector == 1, RADIO_ADF2, 73}};
    for (const auto& p : pointers) {
        if (!p.on || sim_cockpit_radios.nav_type[p.radio] == 0) continue;
        const float* st = radio_stations.nav_station_pos[p.radio];
        const float c = std::atan2(st[0] - f.local_x, f.local_z - st[2]) - f.psi * DEG_TO_RAD_FLOAT;
        const float deg = c * RAD_TO_DEG_FLOAT;
        PANEL_draw_needle(r * std::sin(c) / s, r * std::cos(c) / s, deg, p.head);
        PANEL_draw_needle(-r * std::sin(c) / s, -r * std::cos(c) / s, deg, p.head + 1);
    }
    glPopMatrix();
}

void flight_plan_line(const map_frame& m)
{
    const flt_struct& f = *m.own;
    const int first = std::clamp(fms_plan.destination_index, 0, FMS_ENTRIES - 1);
    for (int i = first; i < FMS_ENTRIES; ++i) {
        const fms_entry& e = fms_plan.entries[i];
        if (!(std::fabs(e.latitude) > 0.01f || std::fabs(e.longitude) > 0.01f)) continue;
        const float lat0 = i == 0 ? f.latitude : fms_plan.entries[i - 1].latitude;
        const float lon0 = i == 0 ? f.longitude : fms_plan.entries[i - 1].longitude;
        float dx, dz, x0, y0, x1, y1;
        sphere_offset(f, lat0, lon0, dx, dz);
        map_point(m, dx, dz, x0, y0);
        sphere_offset(f, e.latitude, e.longitude, dx, dz);
        map_point(m, dx, dz, x1, y1);
        OGL_draw_line(58, 1.0f, x0, y0, x1, y1);
    }
}

void symbol_batch(const map_frame& m)
{
    const sim_cockpit_gps_block& g = sim_cockpit_gps;
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const bool navaid_labels = m.range_nm < 80.0f, fix_labels = m.range_nm < 40.0f;
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(OGL_font_tex(), 0);
    OGL_apply_color(m.text_colour, 1.0f);
    glBegin(GL_QUADS);
    if (g.destination_type == 2 && in_table(navaid_table, g.destination_index))
        navaid_symbol(m, g.ndb_index, CELL_NDB, navaid_labels);
    if (g.destination_type == 3 && in_table(navaid_table, g.destination_index))
        navaid_symbol(m, g.vor_index, CELL_VOR, navaid_labels);
    if (g.destination_type == 11 && in_table(fix_table, g.destination_index)) fix_symbol(m, g.fix_index, fix_labels);
    if (sw.EFIS_shows_NDBs)
        for (int k = 0; k <= std::min(navaid_start_last[1], NAVAID_START_MAX - 1); ++k)
            navaid_symbol(m, navaid_start_list[1][k], CELL_NDB, navaid_labels);
    if (sw.EFIS_shows_VORs)
        for (int k = 0; k <= std::min(navaid_start_last[0], NAVAID_START_MAX - 1); ++k)
            navaid_symbol(m, navaid_start_list[0][k], CELL_VOR, navaid_labels);
    if (sw.EFIS_shows_waypoints)
        for (int k = 0; k <= std::min(local_fix_last, LOCAL_FIX_MAX - 1); ++k) fix_symbol(m, local_fix_list[k], fix_labels);
    if (sw.EFIS_shows_airports)
        for (int k = 0; k <= std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1); ++k) {
            const int32_t i = local_airport_list[k];
            if (g.destination_type == 1 && i == g.airport_index) continue;
            const airport_record* a = APT_table_at(i);
            if (!a || a->runways.empty()) continue;
            symbol(m, a->runways[0].lat, a->runways[0].lon, CELL_AIRPORT, a->id, APT_ID_SIZE, true);
        }
    glEnd();
}

void destination_airport(const map_frame& m)
{
    const airport_record* a = APT_table_at(sim_cockpit_gps.airport_index);
    if (!a || a->runways.empty()) return;
    const runway_record& rw = a->runways[0];
    float dx, dz, x, y, x2, y2;
    sphere_offset(*m.own, rw.lat, rw.lon, dx, dz);
    map_point(m, dx, dz, x, y);
    const float s = panel_ins_scale;
    PANEL_draw_needle(x / s, y / s, rw.heading - m.heading, 53);
    const float d = (rw.heading + 180.0f * static_cast<float>(atc_state.atc_dest_runway_end != 0)) * DEG_TO_RAD_FLOAT;
    map_point(m, dx - std::sin(d) * APPROACH_LINE_M, dz + std::cos(d) * APPROACH_LINE_M, x2, y2);
    OGL_draw_line(49, 0.5f, x, y, x2, y2);
    char id[APT_ID_SIZE + 1] = {};
    std::memcpy(id, a->id, strnlen(a->id, APT_ID_SIZE));
    OGL_draw_string(49, x - 11.0f, y - 15.0f, id, 9999.0f, LABEL_FONT);
}

void ships(const map_frame& m)
{
    const flt_struct& f = *m.own;
    for (int k = 0; k < 2; ++k) {
        float x, y;
        map_point(m, ship_x[k] - f.local_x, ship_z[k] - f.local_z, x, y);
        x = static_cast<float>(GEO_round(x)), y = static_cast<float>(GEO_round(y));
        if (!visible(m, x, y)) continue;
        OGL_draw_string(64, x - 21.0f, y - 13.0f, SHIP_NAMES[k], 9999.0f, LABEL_FONT);
        const tex_quad_corner c[4] = {{x - 7.0f, y - 7.0f, CELL_SHIP.s1 / 1024.0f, CELL_SHIP.t1 / 1024.0f},
                                      {x - 7.0f, y + 7.0f, CELL_SHIP.s1 / 1024.0f, CELL_SHIP.t2 / 1024.0f},
                                      {x + 7.0f, y + 7.0f, CELL_SHIP.s2 / 1024.0f, CELL_SHIP.t2 / 1024.0f},
                                      {x + 7.0f, y - 7.0f, CELL_SHIP.s2 / 1024.0f, CELL_SHIP.t1 / 1024.0f}};
        OGL_draw_tex_quad(OGL_font2_tex(), 49, 1.0f, c, 1, STATE_BLEND);
    }
}

// The other planes as traffic; true when one is close enough for the alert.
bool traffic(const map_frame& m)
{
    const flt_struct& own = *m.own;
    // Held to the flight-record slots: a larger count would read past them.
    const int n = std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0), 0, FLT_SLOTS);
    bool alert = false;
    for (int i = 1; i < n; ++i) {
        const float dx = flt[i].local_x - own.local_x, dz = flt[i].local_z - own.local_z;
        float x, y;
        map_point(m, dx, dz, x, y);
        if (!visible(m, x, y)) continue;
        const float a = (flt[i].local_y - own.local_y) * UNIT.mtrs_to_ft;
        const float s = std::sqrt(dx * dx + dz * dz) / UNIT.nm_to_mtrs;
        int colour = 49;
        if (std::fabs(a) < 1000.0f && s < 8.0f) colour = 59;
        if (std::fabs(a) < 500.0f && s < 4.0f) colour = 58;
        if (std::fabs(a) < 100.0f && s < 1.0f && !own.onground_any) alert = true;
        OGL_draw_string(colour, x - 2.0f, y - 2.0f, "o", 9999.0f, LABEL_FONT);
        OGL_draw_string_fmt(colour, x - 8.0f, y - 10.0f, a / 100.0f, 3, 0, 1, LABEL_FONT);
    }
    return alert;
}

void track_readout(const map_frame& m)
{
    const flt_struct& f = *m.own;
    // The readout's frame: this family's sprites take positions as drawn (already scaled).
    PANEL_draw_control(1.0f, m.top + 6.0f, 1);
    float t = f.psi + f.groundspeed * (f.hpath - f.psi) / 10.0f;
    t = std::clamp(t, std::min(f.psi, f.hpath), std::max(f.psi, f.hpath));
    t += sim_flightmodel_position.magnetic_variation;
    if (t < 0.0f) t += 360.0f;
    if (t > 360.0f) t -= 360.0f;
    OGL_draw_string_fmt(m.text_colour, -8.0f, m.top + 4.0f, t, 3, 0, 0, LABEL_FONT);
}

}   // namespace

float EFIS_map_range_nm(int selector)
{
    if (selector < 0 || selector > 6) return 10.0f;
    return 10.0f * static_cast<float>(1 << selector);
}

void PANEL_efis_map(const panel_records& r)
{
    const int type = panel_ins_type;
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;
    if (sw.EFIS_map_mode == 0 && arc_family(type)) {
        PANEL_hsi(r);
        return;
    }
    if (!PANEL_avionics_powered()) return;
    if (arc_family(type) && r.flt.failures[FAIL_SLOT_EFIS_MAP] == FAILURE_STATE_FAILED) return;
    if (type == INS_EFIS_MAP_MINI) type_331_controls();

    const flt_struct& f = r.flt;
    const float s = panel_ins_scale;
    const box_size b = box_of(type);
    map_frame m{};
    m.type = type;
    m.own = &f;
    m.left = b.left * s, m.bottom = b.bottom * s, m.right = (b.left + b.width) * s, m.top = (b.bottom + b.height) * s;
    const float w = b.width * s, h = b.height * s;
    const int mode = type == INS_EFIS_MAP_MINI ? efis_map.type_331_mode : 1;
    m.cx = m.left + w * 0.5f;
    m.ay = m.bottom + (mode == 1 ? 0.15f : 0.5f) * h;
    m.r = (mode == 1 ? 0.85f : 0.5f) * h;
    m.range_nm = EFIS_map_range_nm(sw.EFIS_map_range_selector);
    m.k = m.r / (m.range_nm * UNIT.nm_to_mtrs);
    m.heading = mode == 2 ? 0.0f : f.psi;
    m.text_colour = type == INS_EFIS_MAP_MINI ? 50 : 49;
    const bool mars = sim_graphics_scenery.current_planet == PLANET_MARS;
    m.origin_lat = lat_ref + (mars ? 2.5f : 1.0f);
    m.origin_lon = lon_ref + (mars ? 3.0f : 1.5f);

    const bool full = arc_family(type) || type == INS_EFIS_HITS;
    if (sim_weather.rain_percent > 0.0f && (type == INS_EFIS_MAP_RAIN || (full && sw.EFIS_shows_weather))) {
        const scenery_area_record& a = scenery_area;
        float x[4], y[4];
        const float cx[4] = {a.x0, a.x0, a.x1, a.x1}, cz[4] = {a.z1, a.z0, a.z0, a.z1};
        for (int i = 0; i < 4; ++i) map_point(m, cx[i] - f.local_x, cz[i] - f.local_z, x[i], y[i]);
        PANEL_draw_radar_texture(m.left, m.bottom, m.right, m.top, x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3], 1.0f);
    }

    const bool clipped = full || type == INS_EFIS_MAP_MINI;
    if (clipped) {
        OGL_scissor_on(m.left, m.bottom, m.right - m.left, m.top - m.bottom);
        if (mode == 1 && type != INS_EFIS_MAP_MINI) {
            compass_furniture(m);
            flight_plan_line(m);
        }
        symbol_batch(m);
        if (sw.EFIS_shows_airports && sim_cockpit_gps.destination_type == 1) destination_airport(m);
        if (sw.EFIS_shows_airports && sim_graphics_settings.draw_ships) ships(m);
        bool alert = false;
        if (sw.EFIS_shows_tcas && full) alert = traffic(m);
        if (alert && efis_map.previous_tcas_alert == 0) SOUND_play(SOUND_TCAS, 0, 1.0f, 1.0f);
        efis_map.previous_tcas_alert = alert ? 1 : 0;
        OGL_scissor_off();
        if (full) track_readout(m);
    }
    PANEL_draw_needle(m.cx / s, m.ay / s, mode == 2 ? f.psi : 0.0f, type == INS_EFIS_MAP_MINI ? 50 : 51);
}
