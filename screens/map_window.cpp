// The map window: the loaded scenery area as a north-up chart inside the map
// rectangle of the operator screens, its ground by map type, and the layers
// over it (airports, objects, navaids, linear features, airways, fixes, sea
// objects, the fire, the weather radar, the flown path, the aircraft, scales).
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/terrain_query.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel.h"
#include "scene/drawers.h"
#include "scene/fires.h"
#include "scene/scene_state.h"
#include "scene/ships.h"
#include "screens/map.h"
#include "screens/operator_map.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/terrain_textures.h"

int32_t chart_airport = -1;
terrain_vertex map_projected_grid[TERRAIN_GRID_POINTS] = {};
map_visible_window_record map_visible_window{};

float MAP_x_to_screen(float x) { return (x - map_ref_x) * map_scale + map_origin_x; }
float MAP_z_to_screen(float z) { return map_origin_y - (z - map_ref_z) * map_scale; }

namespace {

struct layer_colours {
    int airport, navaid, object;
};
constexpr layer_colours type_colours[6] = {{67, 76, 76}, {67, 76, 76}, {69, 67, 73},
                                           {70, 70, 70}, {49, 63, 56}, {76, 76, 76}};

bool finite2(float a, float b) { return std::isfinite(a) && std::isfinite(b); }

// Any corner of cell (i, j) is water; the cell is held inside the grid.
bool cell_wet(int i, int j)
{
    i = std::clamp(i, 0, TERRAIN_GRID_ROWS - 2);
    j = std::clamp(j, 0, TERRAIN_GRID_COLS - 2);
    const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                            TERRAIN_index(i + 1, j)};
    for (const int c : corners) {
        const int32_t w = landuse_grid[c];
        if (w == LANDUSE_WATER_A || w == LANDUSE_WATER_B) return true;
    }
    return false;
}

// Height of the cell's mean corner above the planet's sphere, metres.
float cell_elevation(int i, int j)
{
    const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                            TERRAIN_index(i + 1, j)};
    double x = 0.0, y = 0.0, z = 0.0;
    for (const int c : corners) {
        x += terrain_vertex_grid[c].x;
        y += terrain_vertex_grid[c].y;
        z += terrain_vertex_grid[c].z;
    }
    x /= 4.0, y /= 4.0, z /= 4.0;
    const double R = sim_physics.earth_radius_m;
    return static_cast<float>(std::sqrt(x * x + z * z + (y + R) * (y + R)) - R);
}

void colour_rgb(float r, float g, float b)
{
    const float k = gload_dim_factor / 255.0f;
    glColor4f(r * k, g * k, b * k, 1.0f);
}

// Whether each cell touches water, worked out once per call over the visible
// window and its one-cell rim (the neighbours the coast test reads).
uint8_t cell_wet_flags[TERRAIN_GRID_POINTS];

void mark_wet_cells(const map_visible_window_record& w)
{
    for (int i = w.low_row; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) cell_wet_flags[TERRAIN_index(i, j)] = cell_wet(i, j);
}

void cell_colour(int type, int i, int j, const map_visible_window_record& w)
{
    const bool wet = cell_wet_flags[TERRAIN_index(i, j)] != 0;
    if (type == 0 || type == 1) {
        int row = 56;
        if (wet) {
            // Neighbours are held to the window's rows and columns and its rim.
            const int i0 = std::max(i - 1, w.low_row), i1 = std::min(i + 1, w.high_row + 1);
            const int j0 = std::max(j - 1, w.low_column), j1 = std::min(j + 1, w.high_column + 1);
            bool all = true;
            for (int ni = i0; ni <= i1 && all; ++ni)
                for (int nj = j0; nj <= j1 && all; ++nj) all = cell_wet_flags[TERRAIN_index(ni, nj)] != 0;
            row = all ? 50 : 64;
        }
        OGL_apply_color(row, 1.0f);
        return;
    }
    if (type == 3) {
        const float g = (wet ? 0.1f : 0.7f) * gload_dim_factor;
        glColor4f(g, g, g, 1.0f);
        return;
    }
    const float e = cell_elevation(i, j);
    if (type == 2) {
        if (wet) return colour_rgb(170, 205, 220);
        static constexpr struct {
            float below_ft;
            float r, g, b;
        } bands[] = {{1000, 212, 226, 175}, {2000, 188, 205, 154}, {3000, 239, 232, 174},
                     {5000, 241, 222, 136}, {7000, 233, 198, 102}};
        for (const auto& band : bands)
            if (e < band.below_ft * 0.3048f) return colour_rgb(band.r, band.g, band.b);
        return colour_rgb(223, 175, 72);
    }
    // Type 5: the colour ramp between the loaded tiles' lowest and highest ground.
    const float lo = terrain_elevation_low, hi = terrain_elevation_high;
    const float t = hi == lo ? 0.5f : std::clamp((e - lo) / (hi - lo), 0.0f, 1.0f);
    OGL_color_ramp(t);
    if (wet) {
        const float g = 0.5f * gload_dim_factor;
        glColor4f(g, g, g, 1.0f);
    }
}

// Projects the terrain grid, narrowing the visible window as it goes.
void project_grid(float left, float bottom, float right, float top)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    map_visible_window_record w{0, 0, grid_rows[planet] - 1, grid_cols[planet] - 1};
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    for (int i = 0; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) {
            const int k = TERRAIN_index(i, j);
            const terrain_vertex& v = terrain_vertex_grid[k];
            const float sx = ox + MAP_x_to_screen(v.x), sy = oy + MAP_z_to_screen(v.z);
            map_projected_grid[k] = {sx, sy, 0.0f};
            if (sx < left && w.low_row < i - 1) w.low_row = std::max(0, i - 1);
            if (sy < bottom && w.low_column < j - 1) w.low_column = std::max(0, j - 1);
            if (sx > right && i + 2 < w.high_row) w.high_row = std::max(0, i + 2);
            if (sy > top && j + 2 < w.high_column) w.high_column = std::max(0, j + 2);
        }
    map_visible_window = w;
}

void draw_ground(int type, int overlay)
{
    const map_visible_window_record w = map_visible_window;
    if (type == 4) {
        const terrain_window_record saved = terrain_window;
        // The scene's window counts its columns along i (east) and its rows along j.
        terrain_window = {w.low_row, w.low_column, w.high_row, w.high_column};
        SURFACE_draw_patch(map_projected_grid, 2, 1, overlay);
        terrain_window = saved;
        return;
    }
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    mark_wet_cells(w);
    glBegin(GL_QUADS);
    for (int i = w.low_row; i <= w.high_row; ++i)
        for (int j = w.low_column; j <= w.high_column; ++j) {
            cell_colour(type, i, j, w);
            const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                                    TERRAIN_index(i + 1, j)};
            for (const int c : corners) {
                glNormal3fv(terrain_point_normal[c]);
                glVertex2f(map_projected_grid[c].x, map_projected_grid[c].y);
            }
        }
    glEnd();
}

// A latitude, longitude and elevation on the map.
bool to_map(double lat, double lon, double elev, float& sx, float& sy)
{
    float x = 0.0f, y = 0.0f, z = 0.0f;
    GEO_latlon_to_local(x, y, z, lat, lon, elev);
    sx = MAP_x_to_screen(x);
    sy = MAP_z_to_screen(z);
    return finite2(sx, sy);
}

void draw_airports(int colour)
{
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        const int a = local_airport_list[n];
        const airport_record* apt = APT_table_at(a);
        if (!apt || apt->runways.empty()) continue;
        float x, y;
        if (!to_map(apt->runways[0].lat, apt->runways[0].lon, apt->elevation, x, y)) continue;
        MAP_draw_airport(x, y, apt->tower_flag ? 73 : colour, a, 1, 1);
    }
    if (app_mode != MODE_OPERATOR_STATION && app_mode != MODE_OPERATOR_AIRPORT) return;
    const airport_record* apt = APT_table_at(chart_airport);
    if (!apt) return;
    const float d = 10.0f * 1852.0f * map_scale;
    for (const runway_record& r : apt->runways) {
        if (r.number[0] == 'x') continue;
        float x, y;
        if (!to_map(r.lat, r.lon, apt->elevation, x, y) || !std::isfinite(r.heading)) continue;
        const float h = r.heading * DEG_TO_RAD_FLOAT;
        OGL_draw_line(colour, 0.5f, x + d * std::sin(h), y + d * std::cos(h), x - d * std::sin(h),
                      y - d * std::cos(h));
    }
}

// Every placement of the scene is a scenery object of the tiles or a default
// building; each shows as the object symbol.
void draw_objects(int colour)
{
    for (const object_placement& p : placement_list) {
        if (p.object < 0 || p.object >= static_cast<int>(object_table.size())) continue;
        const float x = MAP_x_to_screen(p.x), y = MAP_z_to_screen(p.z);
        if (x >= map_origin_x && x <= map_right && y >= map_origin_y && y <= map_top)
            MAP_draw_object(x, y, colour, 0, 3, 0);
    }
}

void draw_navaids(int colour)
{
    const bool chart = app_mode == MODE_OPERATOR_AIRPORT;
    for (size_t n = 0; n < navaid_table.size(); ++n) {
        const navaid_record& v = navaid_table[n];
        if (!v.local) continue;
        const int k = v.kind;
        const bool listed = k == NAV_NDB || k == NAV_VOR || k == NAV_DME ||
                            (chart && k >= NAV_ILS_LOC && k <= NAV_INNER_MARKER);
        if (!listed) continue;
        float x, y;
        if (!to_map(v.lat, v.lon, v.height, x, y)) continue;
        MAP_draw_object(x, y, colour, 1, k, static_cast<int>(n));
    }
}

void draw_features()
{
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const float a = std::clamp(0.5f + (screen_settings.map_zoom - 1.0f) / 6.0f, 0.5f, 1.0f);
    static constexpr int rows[SEG_SECTIONS] = {49, 62, 76, 72, 66, 60};
    const map_visible_window_record& w = map_visible_window;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    for (int k = 0; k < SEG_SECTIONS; ++k) {
        OGL_apply_color(rows[k], a <= 0.99f ? a : 1.0f);
        for (int i = w.low_row; i < w.high_row; ++i)
            for (int j = w.low_column; j < w.high_column; ++j) {
                const std::vector<segment_point>* list = SEG_list(k, i, j);
                if (!list || list->empty()) continue;
                glBegin(GL_LINE_STRIP);
                for (const segment_point& s : *list) {
                    const float x = MAP_x_to_screen((s.x + s.edge_x) * 0.5f);
                    const float y = MAP_z_to_screen((s.z + s.edge_z) * 0.5f);
                    if (finite2(x, y)) glVertex2f(ox + x, oy + y);
                    if (s.marker == SEG_END) {
                        glEnd();
                        glBegin(GL_LINE_STRIP);
                    }
                }
                glEnd();
            }
    }
}

// A point cut toward zero to whole units; false for one that is not finite
// or beyond what an int holds.
bool whole_units(float& x, float& y)
{
    if (!(std::fabs(x) < 1.0e9f && std::fabs(y) < 1.0e9f)) return false;
    x = std::trunc(x), y = std::trunc(y);
    return true;
}

void draw_airways(int level)
{
    for (const airway_record& r : airway_table) {
        if (!r.local || r.level != level) continue;
        float x1, y1, x2, y2;
        if (!to_map(r.lat1, r.lon1, 0.0, x1, y1) || !to_map(r.lat2, r.lon2, 0.0, x2, y2)) continue;
        if (!whole_units(x1, y1) || !whole_units(x2, y2)) continue;
        OGL_draw_line(73, 0.2f, x1, y1, x2, y2);
        if (screen_settings.map_zoom <= 2.0f) continue;
        char name[AWY_NAME_SIZE + 1] = {};
        std::memcpy(name, r.name, AWY_NAME_SIZE);
        const float mx = (x1 + x2) / 2.0f, my = (y1 + y2) / 2.0f;
        const float w = 3.0f * static_cast<float>(std::strlen(name));
        OGL_fill_rect(73, 0.3f, mx - w - 1.0f, my - 4.0f, 2.0f * w + 2.0f, 9.0f);
        OGL_draw_string(49, mx - w, my - 3.0f, name, 9999.0f, 100);
    }
}

void draw_fixes(int colour)
{
    for (const fix_record& f : fix_table) {
        if (!f.local) continue;
        float x, y;
        if (!to_map(f.lat, f.lon, 0.0, x, y) || !whole_units(x, y)) continue;
        MAP_draw_object(x, y, colour, 0, 97, 0);
        char id[FIX_ID_SIZE + 1] = {};
        std::memcpy(id, f.id, FIX_ID_SIZE);
        OGL_draw_string(colour, x - 14.0f, y - 13.0f, id, 9999.0f, 100);
    }
}

void draw_sea_and_fire()
{
    static constexpr struct {
        int slot, type;
    } sea[] = {{SHIP_CARRIER, 101}, {SHIP_FRIGATE, 100}, {SEA_PLATFORM_1, 102}, {SEA_PLATFORM_2, 103}};
    for (const auto& s : sea) {
        const float x = ship_x[s.slot], z = ship_z[s.slot];
        if (!finite2(x, z) || !TERRAIN_point_in_area(x, ship_y[s.slot], z, 0.0f)) continue;
        MAP_draw_object(MAP_x_to_screen(x), MAP_z_to_screen(z), 49, 0, s.type, 0);
    }
    if (sim_graphics_settings.draw_forestfires && fire_table.present && sim_weather.temperature_sealevel_c > 0.0f &&
        sim_weather.rain_percent == 0.0f) {
        const float x = MAP_x_to_screen(fire_table.x[0]), y = MAP_z_to_screen(fire_table.z[0]);
        if (finite2(x, y)) MAP_draw_object(x, y, 49, 0, 104, 0);
    }
}

void draw_path_and_aircraft()
{
    for (int k = 0; k < REPLAY_RING_SIZE; ++k)
        MAP_draw_flight_path(k == 0, MAP_x_to_screen(replay_ring[k].local_x), MAP_z_to_screen(replay_ring[k].local_z),
                             k, 1);
    const int planes = std::clamp(sim_graphics_settings.draw_aircrafts, 0, FLT_SLOTS);
    for (int p = 0; p < planes; ++p) {
        const float x = MAP_x_to_screen(flt[p].local_x), y = MAP_z_to_screen(flt[p].local_z);
        if (!finite2(x, y)) continue;
        const int row = p == 0 ? 87 : (p == operator_panel.target_plane ? 88 : 59);
        MAP_draw_object(x, y, row, 0, 99, p);
    }
}

void draw_scales()
{
    const float left = map_origin_x, bottom = map_origin_y, right = map_right, top = map_top;
    OGL_draw_line(76, 1.0f, left + 5.0f, bottom + 5.0f, right, bottom + 5.0f);
    OGL_draw_line(76, 1.0f, left + 5.0f, bottom + 5.0f, left + 5.0f, top);
    const float zoom = screen_settings.map_zoom;
    const int step = static_cast<int>(std::clamp(std::trunc(10.0f / zoom), 1.0f, 10.0f));
    const float unit = 1852.0f * map_scale;
    for (int d = step; d < 180; d += step) {
        const float X = left + static_cast<float>(d) * unit;
        OGL_draw_line(76, 1.0f, X, bottom + 5.0f, X, bottom + 10.0f);
        OGL_draw_string_fmt(76, X - 6.0f, bottom + 12.0f, static_cast<float>(d), 3, 0, 0, 100);
    }
    for (int d = step; d < 120; d += step) {
        const float Y = bottom + static_cast<float>(d) * unit;
        OGL_draw_line(76, 1.0f, left + 5.0f, Y, left + 10.0f, Y);
        OGL_draw_string_fmt(76, left + 12.0f, Y - 3.0f, static_cast<float>(d), 3, 0, 0, 100);
    }
}

}  // namespace

void MAP_draw_window(int overlay)
{
    const int type = std::clamp(screen_settings.map_view_mode, 0, 5);
    const float zoom = screen_settings.map_zoom;
    const bool navaids = type == 0 || type == 1 || (type == 2 && zoom > 1.5f);
    const bool objects = zoom > 4.0f && (type == 2 || type == 4 || type == 5);
    const bool features = type == 2 || type == 4;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    project_grid(ox + map_origin_x, oy + map_origin_y, ox + map_right, oy + map_top);

    OGL_scissor_on(map_origin_x, map_origin_y, map_right - map_origin_x, map_top - map_origin_y);
    const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1.0f}, light_dir[4] = {-0.55f, 0.55f, -0.55f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_POSITION, light_dir);
    glEnable(GL_LIGHT0);
    draw_ground(type, overlay);

    const layer_colours c = type_colours[type];
    draw_airports(c.airport);
    if (objects) draw_objects(c.object);
    if (navaids) draw_navaids(c.navaid);
    if (features) draw_features();
    if (type == 0 || type == 1) draw_airways(type + 1);
    if (navaids && zoom > 5.0f) draw_fixes(c.navaid);
    draw_sea_and_fire();
    if (type == 3 && sim_weather.rain_percent > 0.0f) {
        const scenery_area_record& a = scenery_area;
        const float w = MAP_x_to_screen(a.x0), e = MAP_x_to_screen(a.x1);
        const float n = MAP_z_to_screen(a.z0), s = MAP_z_to_screen(a.z1);
        PANEL_draw_radar_texture(map_origin_x, map_origin_y, map_right, map_top, w, s, w, n, e, n, e, s, 0.5f);
        OGL_scissor_on(map_origin_x, map_origin_y, map_right - map_origin_x, map_top - map_origin_y);
    }
    draw_path_and_aircraft();
    draw_scales();
    OGL_scissor_off();
}
