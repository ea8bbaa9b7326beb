// The map window: the loaded scenery area as a north-up chart inside the map
// rectangle of the operator screens, its ground by map type, and the layers
// over it (airports, objects, navaids, linear features, airways, fixes, sea
// objects, the fire, the weather radar, the flown path, the aircraft, scales).
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

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

// A colour as the map hands it to OpenGL: red, green, blue, alpha.
struct cell_rgba {
    GLfloat c[4];
};

cell_rgba colour_rgb(float r, float g, float b)
{
    const float k = gload_dim_factor / 255.0f;
    return {{r * k, g * k, b * k, 1.0f}};
}

cell_rgba grey(float level)
{
    const float g = level * gload_dim_factor;
    return {{g, g, g, 1.0f}};
}

// The current colour after one of the colour kit's calls: the kit owns the
// arithmetic (table rows, the light levels, the ramp), the map takes the
// result as it would reach a vertex.
cell_rgba current_colour()
{
    cell_rgba c;
    glGetFloatv(GL_CURRENT_COLOR, c.c);
    return c;
}

// Whether each cell touches water, worked out once per call over the visible
// window and its one-cell rim (the neighbours the coast test reads).
uint8_t cell_wet_flags[TERRAIN_GRID_POINTS];

void mark_wet_cells(const map_visible_window_record& w)
{
    for (int i = w.low_row; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) cell_wet_flags[TERRAIN_index(i, j)] = cell_wet(i, j);
}

// The colours of one call: colour rows through the kit once each, the rest
// worked out per cell.
struct cell_colourer {
    int type;
    map_visible_window_record w;
    cell_rgba rows[3] = {};   // rows 50, 56, 64 of the land-use types
    bool row_known[3] = {false, false, false};

    cell_rgba row(int slot, int colour_row)
    {
        if (!row_known[slot]) {
            OGL_apply_color(colour_row, 1.0f);
            rows[slot] = current_colour();
            row_known[slot] = true;
        }
        return rows[slot];
    }

    cell_rgba operator()(int i, int j)
    {
        const bool wet = cell_wet_flags[TERRAIN_index(i, j)] != 0;
        if (type == 0 || type == 1) {
            if (!wet) return row(1, 56);
            // Neighbours are held to the window's rows and columns and its rim.
            const int i0 = std::max(i - 1, w.low_row), i1 = std::min(i + 1, w.high_row + 1);
            const int j0 = std::max(j - 1, w.low_column), j1 = std::min(j + 1, w.high_column + 1);
            bool all = true;
            for (int ni = i0; ni <= i1 && all; ++ni)
                for (int nj = j0; nj <= j1 && all; ++nj) all = cell_wet_flags[TERRAIN_index(ni, nj)] != 0;
            return all ? row(0, 50) : row(2, 64);
        }
        if (type == 3) return grey(wet ? 0.1f : 0.7f);
        if (type == 2 && wet) return colour_rgb(170, 205, 220);
        if (type == 5 && wet) return grey(0.5f);
        const float e = cell_elevation(i, j);
        if (type == 2) {
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
        return current_colour();
    }
};

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

// The ground cells as client arrays, kept from call to call so that a frame
// allocates nothing once they have grown: every cell a quad of four vertices
// in the order c0, c1, c2, c3, each vertex a projected point with its normal
// and the cell's colour. A vertex serves every cell that meets its point with
// the same colour, so a run of equal cells sends each point about once.
struct ground_vertex_record {
    GLfloat x, y;
    GLfloat normal[3];
    cell_rgba colour;
};
// The last vertex made for a grid point, valid while its stamp is this call's.
struct point_vertex_record {
    uint32_t stamp;
    GLuint vertex;
};
struct ground_arrays {
    std::vector<ground_vertex_record> vertices;
    std::vector<GLuint> triangles;
    std::vector<point_vertex_record> points;
    uint32_t stamp = 0;
};
ground_arrays ground;

bool same_colour(const cell_rgba& a, const cell_rgba& b)
{
    // Bit for bit, as the colours reach OpenGL.
    uint32_t x[4], y[4];
    std::memcpy(x, a.c, sizeof x);
    std::memcpy(y, b.c, sizeof y);
    return ((x[0] ^ y[0]) | (x[1] ^ y[1]) | (x[2] ^ y[2]) | (x[3] ^ y[3])) == 0;
}

GLuint ground_vertex(int point, const cell_rgba& colour)
{
    ground_arrays& g = ground;
    point_vertex_record& p = g.points[static_cast<size_t>(point)];
    if (p.stamp == g.stamp && same_colour(g.vertices[p.vertex].colour, colour)) return p.vertex;
    const float* n = terrain_point_normal[point];
    p = {g.stamp, static_cast<GLuint>(g.vertices.size())};
    g.vertices.push_back({map_projected_grid[point].x, map_projected_grid[point].y, {n[0], n[1], n[2]}, colour});
    return p.vertex;
}

bool same_normal(int a, int b)
{
    return std::memcmp(terrain_point_normal[a], terrain_point_normal[b], sizeof terrain_point_normal[a]) == 0;
}

// A cell that may join a run of its column: one normal at all four corners,
// its west and east sides upright on the screen (c0 and c1 share their x, c3
// and c2 theirs) with c1 above c0 and c2 above c3, and every corner inside
// the screen, where nothing is clipped. Such cells of one colour, stacked,
// are lit alike at every corner and cover exactly the pixels of the one
// quad around them, so the run is drawn as that quad.
bool plain_cell(int i, int j)
{
    const int c0 = TERRAIN_index(i, j), c1 = TERRAIN_index(i, j + 1), c2 = TERRAIN_index(i + 1, j + 1),
              c3 = TERRAIN_index(i + 1, j);
    const terrain_vertex &p0 = map_projected_grid[c0], &p1 = map_projected_grid[c1], &p2 = map_projected_grid[c2],
                         &p3 = map_projected_grid[c3];
    if (!(p0.x == p1.x && p3.x == p2.x && p0.x < p3.x && p0.y < p1.y && p3.y < p2.y)) return false;
    for (const terrain_vertex* p : {&p0, &p1, &p2, &p3})
        if (!(p->x >= 0.0f && p->x <= 1024.0f && p->y >= 0.0f && p->y <= 768.0f)) return false;
    return same_normal(c0, c1) && same_normal(c0, c2) && same_normal(c0, c3);
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
    if (w.low_row > w.high_row || w.low_column > w.high_column) return;
    mark_wet_cells(w);

    ground_arrays& g = ground;
    g.vertices.clear(), g.triangles.clear();
    if (g.points.empty()) g.points.assign(TERRAIN_GRID_POINTS, {0, 0});
    if (++g.stamp == 0) {
        std::fill(g.points.begin(), g.points.end(), point_vertex_record{0, 0});
        g.stamp = 1;
    }
    cell_colourer colour_of{type, w};
    cell_rgba colour{};
    for (int i = w.low_row; i <= w.high_row; ++i) {
        cell_rgba next = colour_of(i, w.low_column);
        for (int j = w.low_column; j <= w.high_column;) {
            colour = next;
            // The run of cells from j to `last` that draw as one quad.
            int last = j;
            const bool plain = plain_cell(i, j);
            for (;;) {
                if (last == w.high_column) break;
                next = colour_of(i, last + 1);
                if (!plain || !same_colour(next, colour) || !plain_cell(i, last + 1) ||
                    !same_normal(TERRAIN_index(i, last + 1), TERRAIN_index(i, j)))
                    break;
                ++last;
            }
            const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, last + 1), TERRAIN_index(i + 1, last + 1),
                                    TERRAIN_index(i + 1, j)};
            GLuint v[4];
            for (int k = 0; k < 4; ++k) v[k] = ground_vertex(corners[k], colour);
            // The quad as the two triangles c0 c1 c2 and c0 c2 c3, the split
            // OpenGL makes of a quad sent on its own.
            for (const GLuint k : {v[0], v[1], v[2], v[0], v[2], v[3]}) g.triangles.push_back(k);
            j = last + 1;
        }
    }

    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    constexpr GLsizei stride = sizeof(ground_vertex_record);
    glVertexPointer(2, GL_FLOAT, stride, &g.vertices[0].x);
    glNormalPointer(GL_FLOAT, stride, g.vertices[0].normal);
    glColorPointer(4, GL_FLOAT, stride, g.vertices[0].colour.c);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(g.triangles.size()), GL_UNSIGNED_INT, g.triangles.data());
    glPopClientAttrib();
    // Leave the colour and normal of the last vertex current, as drawing the
    // cells one by one would.
    glColor4fv(colour.c);
    glNormal3fv(terrain_point_normal[TERRAIN_index(w.high_row + 1, w.high_column)]);
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
    // The map is scissored to its rectangle: a tick whose line and label lie
    // wholly beyond it shows nothing, nor does any after it.
    constexpr float label_reach = 10.0f;
    for (int d = step; d < 180; d += step) {
        const float X = left + static_cast<float>(d) * unit;
        if (X > right + label_reach) break;
        OGL_draw_line(76, 1.0f, X, bottom + 5.0f, X, bottom + 10.0f);
        OGL_draw_string_fmt(76, X - 6.0f, bottom + 12.0f, static_cast<float>(d), 3, 0, 0, 100);
    }
    for (int d = step; d < 120; d += step) {
        const float Y = bottom + static_cast<float>(d) * unit;
        if (Y > top + label_reach) break;
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
