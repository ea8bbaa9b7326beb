// The operator button panel of screens 15, 18 and 23: the map with its six
// types, panning, zooming and following, the placement of any aircraft by a
// click on the map (sent to the master over the network), the airport field
// with its runway start buttons, the command column and the approach-profile
// strip, and on screen 23 the chart airport's radio frequencies.
//
// Reads the planes, the airport tables, the network slots and the replay
// ring; writes the map view, chart_airport, the placement block
// (situation_start_state), situation_altitude and situation_speed, and starts
// flights through the flight-start code.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/key_slots.h"
#include "core/numeric.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "world/runway_label.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "links/hardware.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "screens/map.h"
#include "screens/operator_map.h"
#include "screens/operator_texts.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"

operator_panel_record operator_panel;

ORVELL_RESET_RECORD(OPERATOR_panel_reset, operator_panel, program);

namespace {

constexpr int MASTER_SLOT = 9;        // the instructor station's master
constexpr int PLATFORM_SLOT = 11;     // the motion platform
constexpr float ZOOM_MAX = 10000.0f;

bool master_enabled() { return net_slot_enabled[MASTER_SLOT] != 0; }
bool master_ready() { return net_slot_enabled[MASTER_SLOT] && net_slot_valid[MASTER_SLOT]; }

struct map_box {
    float left, bottom, right, top;
    float width() const { return right - left; }
    float height() const { return top - bottom; }
};

map_box map_area(int mode)
{
    const float xo = mode == MODE_OPERATOR_STATION ? 148.0f : 0.0f;
    const float yo = (mode == MODE_OPERATOR_STATION || mode == MODE_OPERATOR_AIRPORT) ? 210.0f : 0.0f;
    return {15.0f + xo, 15.0f + yo, SCREEN_width() - 119.0f, SCREEN_height() - 67.0f};
}

// Writes the map view for the map window.
void set_map_view(const map_box& m)
{
    map_origin_x = m.left, map_origin_y = m.bottom;
    map_right = m.right, map_top = m.top;
    map_scale = map_base_scale * screen_settings.map_zoom;
}

// Pan (heading in degrees, -999 none) and zoom of this call; `east_west_key`
// is set for the west and east map keys, which also move the profile strip.
void navigate(const map_box& m, float pan_heading, bool zoom_in, bool zoom_out, bool east_west_key)
{
    float& zoom = screen_settings.map_zoom;
    const scenery_area_record& a = scenery_area;
    const float step = 0.05f * ((a.x1 - a.x0) + (a.z1 - a.z0)) / zoom;
    if (pan_heading >= 0.0f) {
        const float h = pan_heading * DEG_TO_RAD_FLOAT;
        map_ref_x += step * std::sin(h);
        map_ref_z -= step * std::cos(h);
        operator_panel.follow = 0;
        if (east_west_key) operator_panel.profile_offset += step * std::sin(h);
    }
    const float r = map_base_scale_inverse;
    if (zoom_in && zoom < ZOOM_MAX) {
        zoom *= 1.5f;
        map_ref_x += m.width() * r * 0.25f / zoom;
        map_ref_z -= m.height() * r * 0.25f / zoom;
    }
    if (zoom_out && zoom > 1.0f) {
        map_ref_x -= m.width() * r * 0.25f / zoom;
        map_ref_z += m.height() * r * 0.25f / zoom;
        zoom /= 1.5f;
    }
}

// The local point of the first runway of an airport, false for none.
bool runway_point(int airport, float& x, float& z)
{
    const airport_record* a = APT_table_at(airport);
    if (!a || a->runways.empty()) return false;
    float y;
    GEO_latlon_to_local(x, y, z, a->runways[0].lat, a->runways[0].lon, a->elevation);
    return std::isfinite(x) && std::isfinite(z);
}

void follow_and_frame(int mode, const map_box& m)
{
    float& zoom = screen_settings.map_zoom;
    if (!master_enabled()) operator_panel.follow = 0;
    const int key = mode == MODE_OPERATOR_AIRPORT ? mode * 1000000 + chart_airport : mode;
    if (key != operator_panel.last_screen_key) {
        operator_panel.last_screen_key = key;
        if (mode == MODE_OPERATOR_AIRPORT) {
            operator_panel.follow = 0;
            float x, z;
            if (runway_point(chart_airport, x, z)) {
                zoom = 5.0f;
                map_ref_x = x - m.width() * 0.5f * map_base_scale_inverse / zoom;
                map_ref_z = z + m.height() * 0.5f * map_base_scale_inverse / zoom;
            }
        } else {
            operator_panel.follow = master_enabled() ? 1 : 0;
        }
    }
    if (operator_panel.follow && std::isfinite(flt[0].local_x) && std::isfinite(flt[0].local_z)) {
        map_ref_x = flt[0].local_x - m.width() * 0.5f * map_base_scale_inverse / zoom;
        map_ref_z = flt[0].local_z + m.height() * 0.5f * map_base_scale_inverse / zoom;
    }
    if (!(zoom >= 1.01f)) {
        map_ref_x = scenery_area.x0;
        map_ref_z = scenery_area.z1;
    }
    // A zoom that is not a number (set from outside) would leave the map
    // blank for good, since no clamp moves a NaN: it starts again at 1.
    zoom = std::clamp(std::isfinite(zoom) ? zoom : 1.0f, 1.0f, ZOOM_MAX);
}

// The speed limit of the speed field, knots: the circular orbit speed, and
// 1.5 Vne over the root of the density ratio while there is air. A radius,
// gravity parameter or density of 0 or less (edited on the planet screen)
// would make the root or the ratio no number and the field unusable: the
// radius is held to 1 m, the parameter to 0, a missing density counts as no
// air, and a limit that is still no number is 0.
float speed_limit_kt(float altitude_m)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const float radius = std::max(sim_physics.earth_radius_m + altitude_m, 1.0f);
    float limit = std::sqrt(std::max(sim_physics.earth_mu, 0.0f) / radius) / UNIT.kts_to_mps;
    const float rho0 = ATMO_density_at_alt(planet, 0.0f);
    const float sigma = rho0 > 0.0f ? std::clamp(ATMO_density_at_alt(planet, altitude_m) / rho0, 0.01f, 1.0f) : 0.01f;
    if (sigma > 0.01f) limit = std::min(limit, 1.5f * pln[0].acf_Vne / std::sqrt(sigma));
    return std::isfinite(limit) && limit > 0.0f ? limit : 0.0f;
}

void placement_fields()
{
    const float w = SCREEN_width(), h = SCREEN_height();
    BTN_digit_field(w - 47.0f, h - 85.0f, &operator_panel.heading_deg, 3, 0, 0.0f, 360.0f, LANG_ui_text(0));
    float feet = situation_altitude / UNIT.ft_to_mtrs;
    if (BTN_digit_field(w - 77.0f, h - 135.0f, &feet, 6, 0, 0.0f, 999999.0f, LANG_ui_text(1)))
        situation_altitude = feet * UNIT.ft_to_mtrs;
    float knots = situation_speed / UNIT.kts_to_mps;
    if (BTN_digit_field(w - 67.0f, h - 185.0f, &knots, 5, 0, 0.0f, speed_limit_kt(situation_altitude), LANG_ui_text(2)))
        situation_speed = knots * UNIT.kts_to_mps;
}

void target_buttons()
{
    // draw_aircrafts (1 to 10) is published and saved: a count beyond the
    // plane slots would offer planes that do not exist, so it is held to them.
    const int planes = std::clamp(sim_graphics_settings.draw_aircrafts, 1, FLT_SLOTS);
    const float x = SCREEN_width() - 20.0f;
    for (int p = 0; p < planes; ++p) {
        char caption[TEXT_SIZE];
        if (p == 0)
            std::snprintf(caption, sizeof caption, "%s", LANG_ui_text(530));
        else
            SCREEN_format(626, format_args::one_int, caption, p);
        BTN_radio_button(x, SCREEN_height() - 230.0f - 20.0f * static_cast<float>(p), &operator_panel.target_plane, p,
                         caption);
    }
}

// The runway start buttons of screen 18, in the column left of the map: per
// runway end its label and three buttons (take-off, the two finals).
void runway_buttons(const airport_record& apt)
{
    const int airport = static_cast<int>(&apt - airport_table.data());
    float y = SCREEN_height() - 150.0f;
    for (int r = 0; r < static_cast<int>(apt.runways.size()); ++r) {
        const runway_record& rw = apt.runways[static_cast<size_t>(r)];
        if (rw.number[0] == 'x') continue;
        char ends[2][TEXT_SIZE];
        APT_runway_end_labels(airport, r, ends[0], ends[1]);
        for (int end = 0; end < 2; ++end) {
            char label[TEXT_SIZE];
            RWY_label(ends[end], label);
            SCREEN_string(10.0f, y, label);
            for (int b = 0; b < 3; ++b) {
                if (!BTN_push_button(27.0f + 52.0f * static_cast<float>(b), y - 18.0f, 0, 1, OPERATOR_RUNWAY_SUFFIX[b]))
                    continue;
                // The local start takes the pressed runway and end too.
                start_selection.airport_index = airport;
                start_selection.start_index = r;
                sim_time.backwards = end;
                const int32_t trai[4] = {SIT_RUNWAY + b, airport, r, end};
                if (master_ready()) NET_data_send("TRAI", 0, trai, sizeof trai, MASTER_SLOT);
                FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY + b);
            }
            y -= 44.0f;
        }
    }
}

void airport_field()
{
    const float x = 79.0f, y = SCREEN_height() - 90.0f;
    BTN_text_field(x, y, operator_panel.airport_id, 4, 41, OPERATOR_AIRPORT_LABEL);
    for (char& c : operator_panel.airport_id)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    OGL_draw_string(SCREEN_TEXT_COLOUR, 10.0f, y - 30.0f, OPERATOR_AIRPORT_HINT, 135.0f, 100);
    // An id no airport has finds nothing, and the chart stays as it is.
    int found = -1;
    if (interval_ticks[INTERVAL_ONE_SECOND] &&
        NAV_find_nearest_by_id(operator_panel.airport_id, 1, found, flt[0].latitude, flt[0].longitude)) {
        const airport_record* a = APT_table_at(found);
        bool listed = false;
        for (int n = 0; n <= std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1); ++n) listed |= local_airport_list[n] == found;
        if (a && a->id[0] && listed) chart_airport = found;
    }
    if (const airport_record* a = APT_table_at(chart_airport)) runway_buttons(*a);
}

void command_column()
{
    static constexpr struct {
        int caption, command;
    } buttons[] = {{573, 600}, {574, 200}, {575, 203}, {576, 408}, {577, 608}, {578, 607}, {580, 610}, {581, 611}};
    float y = 238.0f;
    for (const auto& b : buttons) {
        if (BTN_push_button(79.0f, y, 0, 1, LANG_ui_text(b.caption))) CORE_run_command(b.command);
        y -= 20.0f;
    }
    if (BTN_push_button(79.0f, y, sim_time.paused, 1, LANG_ui_text(585))) CORE_run_key_slot(2, KEY_SLOT_PAUSE);
    y -= 20.0f;
    if (BTN_push_button(79.0f, y, 0, 1, LANG_ui_text(586))) CORE_run_command(1034);
    y -= 20.0f;
    if (BTN_push_button(79.0f, y, 0, 1, LANG_ui_text(587))) {
        if (master_ready()) NET_data_send("KSTM", 0, "quit           ", 15, MASTER_SLOT);
        CORE_run_command(208);
    }
}

void lower_platform_button()
{
    if (!fide_mode) return;
    if (BTN_push_button(79.0f, 238.0f + 40.0f, 0, 1, OPERATOR_LOWER_PLATFORM)) {
        const int32_t fide[3] = {-990, 0, -999};
        NET_data_send("FIDE", 0, fide, sizeof fide, PLATFORM_SLOT);
    }
}

void frequencies_box(const map_box& m)
{
    const airport_record* a = APT_table_at(chart_airport);
    if (!a) return;
    float y = m.top - 20.0f;
    OGL_shade_box(m.right - 200.0f, m.top - 10.0f - 20.0f * APT_FREQUENCIES, m.right - 5.0f, m.top - 5.0f, 0.6f);
    for (const frequency_slot& f : a->frequencies) {
        if (f.frequency <= 0) continue;
        char name[APT_NAME_SIZE + 1] = {};
        std::memcpy(name, f.name, APT_NAME_SIZE);
        char text[TEXT_SIZE];
        std::snprintf(text, sizeof text, "%d.%02d %s", f.frequency / 100, f.frequency % 100, name);
        SCREEN_string(m.right - 195.0f, y, text);
        y -= 20.0f;
    }
}

}  // namespace

bool OPERATOR_profile_touchdown(const airport_record& a, float heading, float& x, float& y, float& z,
                                float& landing_heading)
{
    int best = -1, best_end = 0;
    float best_diff = 1e9f;
    for (int r = 0; r < static_cast<int>(a.runways.size()); ++r) {
        const runway_record& rw = a.runways[static_cast<size_t>(r)];
        if (rw.number[0] == 'x') continue;
        for (int end = 0; end < 2; ++end) {
            const float turn = rw.heading + 180.0f * static_cast<float>(end) - heading;
            if (!std::isfinite(turn)) continue;   // a heading that is no number is never the nearest
            const float d = UTIL_wrap_pm180(turn);
            if (std::fabs(d) < best_diff) best_diff = std::fabs(d), best = r, best_end = end;
        }
    }
    if (best < 0) return false;
    const runway_record& rw = a.runways[static_cast<size_t>(best)];
    landing_heading = rw.heading + 180.0f * static_cast<float>(best_end);
    // The runway record holds the centre; the landing starts half a length
    // before it, at the threshold of the end flown toward.
    float cx, cy, cz;
    GEO_latlon_to_local(cx, cy, cz, rw.lat, rw.lon, a.elevation);
    const float h = landing_heading * DEG_TO_RAD_FLOAT, half = 0.5f * rw.length;
    x = cx - half * std::sin(h);
    y = cy;
    z = cz + half * std::cos(h);
    return std::isfinite(x) && std::isfinite(z);
}

namespace {

// The approach profile of the chart airport's runway end best aligned with
// the user's heading: distance along the axis at the map scale, height at six
// times it, the 3-degree glide line, the height grid and the flown path.
void profile_strip(const map_box& m)
{
    const float bottom = 15.0f, top = 15.0f + 200.0f - 10.0f;
    const airport_record* a = APT_table_at(chart_airport);
    if (!a) return;
    float tx, ty, tz, landing;
    if (!OPERATOR_profile_touchdown(*a, flt[0].psi, tx, ty, tz, landing)) return;
    const float h = landing * DEG_TO_RAD_FLOAT;
    const float scale = map_scale;
    // Landing eastward-ish: the touchdown sits near the right edge.
    const bool at_right = std::sin(h) >= 0.0f;
    const float X0 = (at_right ? m.right - 15.0f : m.left + 15.0f) + operator_panel.profile_offset * scale;
    const float dir = at_right ? -1.0f : 1.0f;
    OGL_scissor_on(m.left, bottom, m.width(), top - bottom);
    const float glide_len = 20.0f * UNIT.nm_to_mtrs;
    OGL_draw_line(70, 1.0f, X0, bottom, X0 + dir * glide_len * scale, bottom + glide_len * std::tan(3.0f * DEG_TO_RAD_FLOAT) * 6.0f * scale);
    // A map scale of 0 would divide by zero and the rounding to an int would
    // overflow: the scale is held above 0 for the rule.
    const int n = static_cast<int>(std::lround(20.0f / (UNIT.ft_to_mtrs * 6.0f * std::max(scale, 1e-9f))));
    const int spacing = n < 150 ? 100 : n < 350 ? 200 : n < 750 ? 500 : n < 1500 ? 1000 : n < 3000 ? 2000 : 5000;
    for (int k = 1; k < 40; ++k) {
        const float y = bottom + static_cast<float>(k * spacing) * UNIT.ft_to_mtrs * 6.0f * scale;
        if (y > top) break;
        OGL_draw_line(76, 0.4f, m.left, y, m.right, y);
        char text[16];
        std::snprintf(text, sizeof text, "%d AGL", k * spacing);
        OGL_draw_string(76, m.left + 5.0f, y + 2.0f, text, 9999.0f, 100);
    }
    const float ch = std::cos(h), sh = std::sin(h);
    for (int k = 0; k < REPLAY_RING_SIZE; ++k) {
        const plane_state_record& p = replay_ring[k];
        const float along = -((p.local_x - tx) * sh - (p.local_z - tz) * ch);   // metres before the touchdown
        MAP_draw_flight_path(k == 0, X0 + dir * along * scale, bottom + (p.local_y - ty) * 6.0f * scale, k, 1);
    }
    OGL_scissor_off();
}

// A press on the map places the target plane there.
void map_click(const map_box& m)
{
    if (!mouse.mouse_down) return;
    const float mx = mouse.mouse_x, my = mouse.mouse_y;
    if (!(mx >= m.left && mx <= m.right && my >= m.bottom && my <= m.top)) return;
    const scenery_area_record& a = scenery_area;
    const float sx0 = MAP_x_to_screen(a.x0), sx1 = MAP_x_to_screen(a.x1);
    const float sz0 = MAP_z_to_screen(a.z0), sz1 = MAP_z_to_screen(a.z1);
    const float x = sx1 != sx0 ? a.x0 + (mx - sx0) / (sx1 - sx0) * (a.x1 - a.x0) : (a.x0 + a.x1) / 2.0f;
    const float z = sz1 != sz0 ? a.z0 + (my - sz0) / (sz1 - sz0) * (a.z1 - a.z0) : (a.z0 + a.z1) / 2.0f;
    float lat, lon, elev;
    GEO_local_to_latlon(lat, lon, elev, x, 0.0, z);
    // A map view that is not finite gives no place to put a plane: the
    // click places nothing rather than sending a plane to no position.
    if (!std::isfinite(lat) || !std::isfinite(lon)) return;
    operator_panel.click_lat = lat, operator_panel.click_lon = lon;
    const int target = operator_panel.target_plane;

    if (master_enabled()) {
        char text[OPERATOR_PLACEMENT_BYTES + 1];
        OPERATOR_placement_text(lat, lon, operator_panel.heading_deg, situation_altitude, situation_speed, text);
        NET_data_send("KSTM", target, text, OPERATOR_PLACEMENT_BYTES, MASTER_SLOT);
    }
    situation_start_record& b = situation_start_state;
    b.latitude = lat, b.longitude = lon, b.elevation = situation_altitude;
    b.psi = operator_panel.heading_deg, b.groundspeed = situation_speed;
    if (target == 0) {
        FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
        app_mode = MODE_OPERATOR;
        CORE_set_mode(MODE_FLYING, "from map-click");
        return;
    }
    float px, py, pz;
    GEO_latlon_to_local(px, py, pz, lat, lon, situation_altitude);
    FLIGHT_reset_at_start(target, 0.0f, operator_panel.heading_deg, 0.0f, px, py, pz, situation_speed);
}

}  // namespace

// Halves away from zero, then held to 0..limit; a value that is not a
// number is 0.
static int held_round(double v, int limit)
{
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::clamp(std::round(v), 0.0, static_cast<double>(limit)));
}

void OPERATOR_placement_text(float lat, float lon, float heading, float altitude_m, float speed_mps, char* out)
{
    // Every field keeps its width: a value wider than its field (a negative
    // altitude, a speed of 100,000 m/s) would push every later field out of
    // place in the text the master reads, so each is held to what its field
    // can show.
    char fields[5][8];
    UTIL_int_to_text(held_round((static_cast<double>(lon) + 500.0) * 10000.0, 9999999), fields[0], 7);
    UTIL_int_to_text(held_round((static_cast<double>(lat) + 500.0) * 10000.0, 9999999), fields[1], 7);
    UTIL_int_to_text(held_round(heading, 999), fields[2], 3);
    UTIL_int_to_text(held_round(altitude_m, 999999), fields[3], 6);
    UTIL_int_to_text(held_round(speed_mps, 99999), fields[4], 5);
    std::snprintf(out, OPERATOR_PLACEMENT_BYTES + 1, "map placement  %.7s%.7s%.3s%.6s%.5s", fields[0], fields[1], fields[2],
                  fields[3], fields[4]);
}

void OPERATOR_panel(int command)
{
    const int mode = app_mode;
    if (!MODE_is_operator_panel(mode)) return;
    const map_box m = map_area(mode);

    if (command != -999) {
        // The map keys: pan north, south, west, east; zoom in, out.
        static constexpr float headings[4] = {0.0f, 180.0f, 270.0f, 90.0f};
        navigate(m, command >= 0 && command <= 3 ? headings[command] : -999.0f, command == 4, command == 5,
                 command == 2 || command == 3);
        return;
    }

    BTN_screen_frame(1, 18);
    BTN_frame2(15, m.left - 5.0f, m.bottom - 5.0f, m.width() + 10.0f, m.height() + 10.0f, "");
    if (mode != MODE_OPERATOR) BTN_frame2(15, m.left - 5.0f, 10.0f, m.width() + 10.0f, 200.0f, "");
    for (int n = 0; n < 6; ++n) BTN_tab(n, 0, &screen_settings.map_type, LANG_ui_text(800 + n));
    placement_fields();
    target_buttons();
    if (mode == MODE_OPERATOR_STATION) {
        airport_field();
        command_column();
        lower_platform_button();
    }

    float pan = -999.0f, zoom_value = 1.0f;
    const float w = SCREEN_width(), h = SCREEN_height();
    BTN_direction_dial(w - 60.0f, mode == MODE_OPERATOR ? 120.0f : 250.0f, &pan, &zoom_value);
    if (mode != MODE_OPERATOR) BTN_direction_dial(w - 60.0f, 110.0f, &pan, &zoom_value);
    navigate(m, pan, zoom_value > 1.1f, zoom_value < 0.9f, false);

    int follow = operator_panel.follow;
    if (BTN_push_button(w - 60.0f, h - 440.0f, follow, 1, LANG_ui_text(588))) follow = !follow;
    if (mode != MODE_OPERATOR && BTN_push_button(w - 60.0f, 20.0f, follow, 1, LANG_ui_text(588))) follow = !follow;
    operator_panel.follow = follow;
    follow_and_frame(mode, m);
    set_map_view(m);
    MAP_draw_window(0);

    if (mode == MODE_OPERATOR_AIRPORT) frequencies_box(m);
    if (mode != MODE_OPERATOR) profile_strip(m);
    set_map_view(m);
    map_click(m);
}
