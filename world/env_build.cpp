#include "world/env_build.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "core/units.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_tex.h"
#include "world/apt_scene.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/terrain_grid.h"

bool env_tile_refused = false;

namespace {

constexpr int32_t LANDUSE_URBAN = 1;
constexpr int32_t LANDUSE_CITY = 80;         // 80..83 the city, 84 the city under an airport
constexpr int32_t LANDUSE_CITY_CORE = 81;
constexpr int32_t LANDUSE_CITY_BLOCKS = 82;
constexpr int32_t LANDUSE_CITY_SQUARES = 83;
constexpr int32_t LANDUSE_CITY_AIRPORT = 84;
constexpr int32_t LANDUSE_CUSTOM = 1000;     // 1000 + p: texture name p of the tile
constexpr int TILE_TEXTURE_NAMES = 500;
constexpr int UNTANGLE_NUDGES_MAX = 100;     // 1 km: beyond any cell
constexpr float HELIPAD_RAISED_M = 25.0f;
constexpr float DUPLICATE_DISTANCE2_M2 = 2.0f;
constexpr float CHAIN_END_SORT_OFFSET = 999998029824.0f;
constexpr float WIRE_SPAN_MAX_M = 750.0f;
constexpr float TOWER_SPACING_M = 500.0f;

// What the build keeps from point to point of a tile.
struct build_state {
    // The previous point of the section being read.
    bool previous_valid = false;   // false after a chain end and at a section's start
    float previous_x = 0.0f, previous_z = 0.0f;
    int previous_row = 0, previous_col = 0;
    // The previous power-line tower.
    bool tower_valid = false;
    int tower_row = 0, tower_col = 0, tower_index = 0;
    // Window points already renumbered to a custom texture code.
    std::vector<uint8_t> renumbered = std::vector<uint8_t>(TERRAIN_GRID_POINTS, 0);
};
build_state state;

// The custom terrain texture names, 150 bytes each.
std::vector<std::array<char, ENV_NAME_BYTES>> custom_textures(ENV_CUSTOM_TEXTURE_SLOTS);

// A defect of a scenery tile: the flight can go on without the tile, so it is
// named in one notice and the rest of it left out (the loader stops reading
// it and lays the default ground where its grid is incomplete).
void refuse_tile(const env_tile_window& w, const char* l1, const char* l2, const char* l3, const char* l4)
{
    if (env_tile_refused) return;   // one notice for one tile
    env_tile_refused = true;
    if (w.path[0] && !ALERT_first_notice_of_damage(w.path)) return;
    MACIBM_nuke_alert(app_mode, l1, l2, l3, l4, ALERT_NOTICE);
}

terrain_vertex& vertex(int i, int j) { return terrain_vertex_grid[TERRAIN_index(i, j)]; }

bool is_water(int32_t code) { return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B; }

float* corners(int i, int j) { return terrain_cell_tex[TERRAIN_index(i, j)]; }

void set_plain_corners(int i, int j)
{
    static constexpr float plain[8] = {0, 0, 0, 1, 1, 1, 1, 0};
    std::memcpy(corners(i, j), plain, sizeof plain);
}

// Compass heading (0 toward -z, 90 toward +x) of a step, 0..360 degrees.
float heading_of(float dx, float dz)
{
    const float h = static_cast<float>(std::atan2(static_cast<double>(dx), -static_cast<double>(dz)) / DEG_TO_RAD_DOUBLE);
    return UTIL_wrap_open(h, 360.0f);
}

float horizontal2(const segment_point& a, const segment_point& b)
{
    const float dx = b.x - a.x, dz = b.z - a.z;
    return dx * dx + dz * dz;
}

// A custom object or texture name must stay inside its package: no "..", no
// leading separator, no absolute path. Taken as it is, a name from the tile
// could make the program read any file on the machine; such a name is logged
// and its object or texture left out.
bool name_stays_in_package(const char* name)
{
    if (!name[0]) return false;
    if (name[0] == '/' || name[0] == '\\' || name[0] == ':') return false;
    return std::strstr(name, "..") == nullptr;
}

// The land-use type and texture placement of a land-use word. False (after a
// notice naming the file) for a word that names no land use.
struct landuse_fields {
    int a, b, c, rotation;
    int32_t type;
};

bool decode_landuse(const env_tile_window& w, int32_t word, landuse_fields& out)
{
    // A negative word gives negative digits and a negative type, which would
    // index before the land-use table; the tile is refused instead.
    if (word < 0) {
        refuse_tile(w, "A scenery tile holds a negative land-use word.", "Its land use cannot be read.", "file:",
                    w.path);
        return false;
    }
    out.a = word / 100000000;
    out.b = (word / 10000000) % 10;
    out.c = (word / 1000000) % 10;
    int32_t rest = word % 1000000;
    if (w.version == 6) {
        if (rest >= 200000) rest -= 200000;
        if (rest >= 100000) rest -= 100000;
        out.rotation = rest >= 40000 ? 4 : rest >= 30000 ? 3 : rest >= 20000 ? 2 : rest >= 10000 ? 1 : 0;
        const int32_t t = rest - 10000 * out.rotation;
        if (t >= 16 && t <= 1999) {
            refuse_tile(w, "Bad land-use type!", "I have found an old ENV file with a bad land-use type in it!",
                        "Stop using old ENV files!", w.path);
            return false;
        }
        static constexpr int32_t old_types[16] = {7, 3, 15, 1, 1, 1, 19, 3, 3, 3, 7, 7, 7, 1, 1, 1};
        out.type = t < 16 ? old_types[t] : t - 1000;
    } else {
        out.rotation = rest >= 400000 ? 4 : rest >= 300000 ? 3 : rest >= 200000 ? 2 : rest >= 100000 ? 1 : 0;
        out.type = rest - 100000 * out.rotation;
    }
    // Types index the land-use table (0..96) or the tile's texture names (1000 + p).
    // Any other type would later index past the land-use table or the tile's
    // 500 names, so the tile is refused with a notice naming its file.
    const bool table = out.type >= 0 && out.type < LANDUSE_CODES;
    const bool custom = out.type >= LANDUSE_CUSTOM && out.type < LANDUSE_CUSTOM + TILE_TEXTURE_NAMES;
    if (!table && !custom) {
        refuse_tile(w, "A scenery tile holds a land-use type",
                    "that names neither a land use nor a texture of the tile.",
                    "file:", w.path);
        return false;
    }
    return true;
}

void set_rotated_corners(int i, int j, const landuse_fields& f)
{
    if (f.rotation == 0) return;   // kept as they are (the terrain reset leaves them plain)
    const float a = static_cast<float>(f.a), b = static_cast<float>(f.b), c = static_cast<float>(f.c);
    const float k = 1.0f / (c + 1.0f);
    float s[8];
    switch (f.rotation) {
    case 1: {
        const float v[8] = {b, c - a + 1, b + 1, c - a + 1, b + 1, c - a, b, c - a};
        std::memcpy(s, v, sizeof s);
        break;
    }
    case 2: {
        const float v[8] = {c - a + 1, c - b + 1, c - a + 1, c - b, c - a, c - b, c - a, c - b + 1};
        std::memcpy(s, v, sizeof s);
        break;
    }
    case 3: {
        const float v[8] = {c - b + 1, a, c - b, a, c - b, a + 1, c - b + 1, a + 1};
        std::memcpy(s, v, sizeof s);
        break;
    }
    default: {
        const float v[8] = {a, b, a, b + 1, a + 1, b + 1, a + 1, b};
        std::memcpy(s, v, sizeof s);
        break;
    }
    }
    float* out = corners(i, j);
    for (int n = 0; n < 8; ++n) out[n] = s[n] * k;
}

// Untangling folded points: pushes P away from the line A..B while it lies on
// the near side; (sx, sz) is the nudge.
void push_off_line(terrain_vertex& p, const terrain_vertex& a, const terrain_vertex& b, float sx, float sz)
{
    const float dx = b.x - a.x, dz = b.z - a.z;
    auto near_side = [&] {
        if (std::fabs(dz) > std::fabs(dx)) {
            const float xl = a.x + (p.z - a.z) * dx / dz;
            return (dz > 0.0f && p.x - 100.0f < xl) || (dz < 0.0f && p.x + 100.0f > xl);
        }
        if (dx == 0.0f) return false;
        const float zl = a.z + (p.x - a.x) * dz / dx;
        return (dx > 0.0f && p.z + 100.0f > zl) || (dx < 0.0f && p.z - 100.0f < zl);
    };
    for (int n = 0; n < UNTANGLE_NUDGES_MAX && near_side(); ++n) {
        p.x += sx;
        p.z += sz;
    }
}

void untangle(const env_tile_window& w)
{
    for (int i = 1; i <= w.n - 2; ++i)
        for (int j = 1; j <= w.m - 2; ++j) {
            const int r = w.row0 + i, c = w.col0 + j;
            terrain_vertex& p = vertex(r, c);
            push_off_line(p, vertex(r - 1, c), vertex(r, c - 1), 10.0f, -10.0f);
            push_off_line(p, vertex(r + 1, c), vertex(r, c + 1), -10.0f, 10.0f);
        }
}

void city_landuse(const env_tile_window& w)
{
    for (int i = 0; i <= w.n; ++i)
        for (int j = 0; j <= w.m; ++j) {
            int32_t& code = landuse_grid[TERRAIN_index(w.row0 + i, w.col0 + j)];
            if (code == LANDUSE_URBAN) code = LANDUSE_CITY;
        }
    for (int i = 0; i <= w.n; ++i)
        for (int j = 0; j <= w.m; ++j) {
            const int r = w.row0 + i, c = w.col0 + j;
            int32_t& code = landuse_grid[TERRAIN_index(r, c)];
            if (code != LANDUSE_CITY) continue;
            bool dense = true;
            for (int dr = -2; dr <= 2 && dense; dr += 2)
                for (int dc = -2; dc <= 2 && dense; dc += 2) {
                    const int rr = util_clamp_int(r + dr, 0, TERRAIN_GRID_ROWS - 1);
                    const int cc = util_clamp_int(c + dc, 0, TERRAIN_GRID_COLS - 1);
                    // The city under an airport (84) counts as city; a custom
                    // terrain texture (1000 and up) is a tile's own picture,
                    // not city, and made the points beside it a city core.
                    const int32_t near = landuse_grid[TERRAIN_index(rr, cc)];
                    dense = near >= LANDUSE_CITY && near < LANDUSE_CUSTOM;
                }
            if (dense) code = LANDUSE_CITY_CORE;
            if (r % 10 < 4 && c % 10 < 4) code = LANDUSE_CITY_BLOCKS;
            if (r % 8 < 2 && c % 8 < 2) code = LANDUSE_CITY_SQUARES;
        }
}

void flatten_water(const env_tile_window& w)
{
    for (int pass = 0; pass < 4; ++pass) {
        const int odd_i = pass / 2, odd_j = pass % 2;
        for (int i = odd_i; i < w.n; i += 2)
            for (int j = odd_j; j < w.m; j += 2) {
                const int r = w.row0 + i, c = w.col0 + j;
                const int pts[4] = {TERRAIN_index(r, c), TERRAIN_index(r, c + 1), TERRAIN_index(r + 1, c + 1),
                                    TERRAIN_index(r + 1, c)};
                bool water = false;
                float low = terrain_vertex_grid[pts[0]].y;
                for (int k : pts) {
                    water = water || is_water(landuse_grid[k]);
                    low = std::min(low, terrain_vertex_grid[k].y);
                }
                if (!water) continue;
                for (int k : pts) terrain_vertex_grid[k].y = low;
            }
    }
}

// A point of the grid put back at an elevation, where it stands.
void place_at_elevation(terrain_vertex& v, double elevation_m)
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double centre_lat = static_cast<double>(lat_ref) + reference_lat_offset[p];
    const double centre_lon = static_cast<double>(lon_ref) + reference_lon_offset[p];
    const geo_point g = GEO_local_to_latlon_about(centre_lat, centre_lon, v.x, v.y, v.z);
    GEO_latlon_to_local(v.x, v.y, v.z, g.lat, g.lon, elevation_m);
}

// The parameters of a coordinate range along the runway axis (a difference
// of less than a metre counts as one metre).
void axis_range(float lo, float hi, float origin, float delta, float& out_lo, float& out_hi)
{
    const float d = (delta > -1.0f && delta < 1.0f) ? (delta < 0.0f ? -1.0f : 1.0f) : delta;
    const float a = (lo - origin) / d, b = (hi - origin) / d;
    out_lo = std::min(a, b);
    out_hi = std::max(a, b);
}

void flatten_runway(const env_tile_window& w, const airport_record& apt, int airport, int runway, int r, int c)
{
    const runway_record& rw = apt.runways[static_cast<size_t>(runway)];
    float lats[4], lons[4], heights[4];
    APT_runway_outline(airport, runway, lats, lons, heights, 0);
    float e1x, e1y, e1z, e2x, e2y, e2z;
    GEO_latlon_to_local(e1x, e1y, e1z, (lats[0] + static_cast<double>(lats[1])) * 0.5,
                        (lons[0] + static_cast<double>(lons[1])) * 0.5, apt.elevation);
    GEO_latlon_to_local(e2x, e2y, e2z, (lats[2] + static_cast<double>(lats[3])) * 0.5,
                        (lons[2] + static_cast<double>(lons[3])) * 0.5, apt.elevation);
    (void)e1y, (void)e2y;
    // A non-finite or huge length from the airport file would overflow the
    // integer k; it is bounded (1000 cells reach past any grid, so the window
    // clamp below gives the same cells) and a non-finite one counts as 0.
    const double len = std::isfinite(rw.length) ? rw.length : 0.0;
    const int k = std::max(1, static_cast<int>(std::min(len / 400.0, 1000.0)));
    int i_lo = std::max(w.row0, r - k), i_hi = std::min(w.row0 + w.n - 1, r + k);
    int j_lo = std::max(w.col0, c - k), j_hi = std::min(w.col0 + w.m - 1, c + k);
    if (i_lo > 0) --i_lo;
    if (j_lo > 0) --j_lo;
    // A non-finite width would make every extent NaN; it counts as 0.
    const float half = (std::isfinite(rw.width) ? rw.width : 0.0f) * 0.5f;
    const float dx = e2x - e1x, dz = e2z - e1z;

    for (int i = i_lo; i <= i_hi; ++i)
        for (int j = j_lo; j <= j_hi; ++j) {
            const terrain_vertex &p00 = vertex(i, j), &p01 = vertex(i, j + 1), &p11 = vertex(i + 1, j + 1),
                                 &p10 = vertex(i + 1, j);
            const float x_lo = std::min(p00.x, p01.x) - half, x_hi = std::max(p10.x, p11.x) + half;
            const float z_lo = std::min(p01.z, p11.z) - half, z_hi = std::max(p00.z, p10.z) + half;
            float tx_lo, tx_hi, tz_lo, tz_hi;
            axis_range(x_lo, x_hi, e1x, dx, tx_lo, tx_hi);
            axis_range(z_lo, z_hi, e1z, dz, tz_lo, tz_hi);
            const bool overlap = tx_lo < 1.0f && tx_hi > 0.0f && tz_lo < 1.0f && tz_hi > 0.0f &&
                                 std::max(tx_lo, tz_lo) < std::min(tx_hi, tz_hi);
            if (!overlap) continue;
            const int pts[4][2] = {{i, j}, {i, j + 1}, {i + 1, j + 1}, {i + 1, j}};
            for (const auto& q : pts) place_at_elevation(vertex(q[0], q[1]), apt.elevation);
            if (apt.kind != APT_KIND_AIRPORT) continue;
            terrain_airport_cell[TERRAIN_index(i, j)] = 1;
            for (const auto& q : pts) {
                int32_t& code = landuse_grid[TERRAIN_index(q[0], q[1])];
                if (code >= LANDUSE_CITY && code <= LANDUSE_CITY_SQUARES) code = LANDUSE_CITY_AIRPORT;
            }
        }
}

void flatten_runways(const env_tile_window& w)
{
    const double south = w.south - (w.col0 > 0 ? 0.05 : 0.0), west = w.west - (w.row0 > 0 ? 0.05 : 0.0);
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        const int a = local_airport_list[n];
        // An entry left from an airport table since reloaded would read past it.
        if (a < 0 || static_cast<size_t>(a) >= airport_table.size()) continue;
        const airport_record& apt = airport_table[static_cast<size_t>(a)];
        for (size_t rwy = 0; rwy < apt.runways.size(); ++rwy) {
            const runway_record& rw = apt.runways[rwy];
            if (!(rw.lat > south && rw.lat < w.south + 1.0 && rw.lon > west && rw.lon < w.west + 1.0)) continue;
            float px, py, pz;
            GEO_latlon_to_local(px, py, pz, rw.lat, rw.lon, apt.elevation);
            int r = 0, c = 0;
            const float h = TERRAIN_height_at(px, pz, nullptr, nullptr, nullptr, &r, &c, 0, "build apt");
            if (apt.kind == APT_KIND_HELIPORT && py - h > HELIPAD_RAISED_M) {
                OBJ_build_obs(px, pz, 0.0f, py - h, OBJ_HELIPAD_NAME, 91, 0);
                continue;
            }
            flatten_runway(w, apt, a, static_cast<int>(rwy), r, c);
        }
    }
}

// Grid cell of a position of the loaded area (clamped into the grid).
void cell_of(double lat, double lon, int& row, int& col)
{
    const terrain_extent e = TERRAIN_extent();
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double per_lon = e.last_i / (2.0 * reference_lon_offset[p]);
    const double per_lat = e.last_j / (2.0 * reference_lat_offset[p]);
    const double ri = (lon - lon_ref) * per_lon, cj = (lat - lat_ref) * per_lat;
    // A position that is no number has no cell (and no integer value); it takes cell 0.
    row = std::isfinite(ri) ? static_cast<int>(std::clamp(ri, 0.0, static_cast<double>(e.last_i))) : 0;
    col = std::isfinite(cj) ? static_cast<int>(std::clamp(cj, 0.0, static_cast<double>(e.last_j))) : 0;
}

bool inside_area(float x, float z, float widen)
{
    return x >= widen * scenery_area.x0 && x <= widen * scenery_area.x1 && z >= widen * scenery_area.z0 &&
           z <= widen * scenery_area.z1;
}

// A grid point must lie inside the loaded area widened by a tenth.
bool check_point(const env_tile_window& w, int r, int c)
{
    const terrain_vertex& v = vertex(r, c);
    if (inside_area(v.x, v.z, 1.1f)) return true;
    refuse_tile(w, "A terrain point of a scenery tile lies", "outside the loaded scenery area.", "file:",
                w.path[0] ? w.path : "(no file: the default grid)");
    return false;
}

// The points a segment put into one cell start at `start` of the cell's list.
struct touched_cell {
    int i, j;
    size_t start;
};

// Notes the cell of the point just appended to it, when this segment had
// put nothing there before.
void note_added(std::vector<touched_cell>& touched, int kind, int i, int j)
{
    for (const touched_cell& t : touched)
        if (t.i == i && t.j == j) return;
    const std::vector<segment_point>* list = SEG_list(kind, i, j);
    if (list && !list->empty()) touched.push_back({i, j, list->size() - 1});
}

void ribbon_segment(const env_tile_window& w, int kind, float x, float z, int row, int col, bool chain_end)
{
    int r0 = state.previous_row, c0 = state.previous_col;
    int r1 = row, c1 = col;
    std::vector<touched_cell> touched;

    // Both ends go into the cells the terrain query finds them in.
    build_seg(kind, state.previous_x, state.previous_z, r0, c0, w.row0, w.col0, 1, 0);
    note_added(touched, kind, r0, c0);
    build_seg(kind, x, z, r1, c1, w.row0, w.col0, 1, chain_end ? 1 : 0);
    note_added(touched, kind, r1, c1);

    const float dX = x - state.previous_x, dZ = z - state.previous_z;
    const float dz = (dZ >= -1.0f && dZ <= 1.0f) ? (dZ < 0.0f ? -1.0f : 1.0f) : dZ;
    const float g = dX / dz;
    const float d = -dX;
    const int i_last = w.row0 + w.n, j_last = w.col0 + w.m;

    for (int i = std::min(r0, r1); i <= std::max(r0, r1); ++i)
        for (int j = std::min(c0, c1); j <= std::max(c0, c1); ++j) {
            const int i1 = std::min(i + 1, i_last), j1 = std::min(j + 1, j_last);
            const terrain_vertex *p00 = &vertex(i, j), *p01 = &vertex(i, j1), *p11 = &vertex(i1, j1),
                                 *p10 = &vertex(i1, j);
            const terrain_vertex* edges[5][2] = {{p00, p01}, {p01, p11}, {p11, p10}, {p10, p00}, {p01, p10}};
            const int edge_count = kind == 4 ? 4 : 5;
            for (int e = 0; e < edge_count; ++e) {
                const terrain_vertex &a = *edges[e][0], &b = *edges[e][1];
                float ox, oy, oz;
                if (!ENV_seg_cross(g, d, x, z, a.x, a.y, a.z, b.x, b.y, b.z, ox, oy, oz)) continue;
                int ci = i, cj = j;
                build_seg(kind, ox, oz, ci, cj, w.row0, w.col0, 0, 0);
                note_added(touched, kind, i, j);
            }

            // The points this segment put here, nearest the previous point first; a chain end last.
            std::vector<segment_point>* list = SEG_list(kind, i, j);
            if (!list || list->empty()) continue;
            for (const touched_cell& t : touched) {
                if (t.i != i || t.j != j) continue;
                auto key = [&](const segment_point& p) {
                    const float ddx = p.x - state.previous_x, ddz = p.z - state.previous_z;
                    return ddx * ddx + ddz * ddz + (p.span_flag == SEG_END ? CHAIN_END_SORT_OFFSET : 0.0f);
                };
                const size_t n = list->size();
                for (size_t pass = t.start; pass + 1 < n; ++pass)
                    for (size_t q = t.start; q + 1 < n - (pass - t.start); ++q)
                        if (key((*list)[q + 1]) < key((*list)[q])) std::swap((*list)[q], (*list)[q + 1]);
            }
            if (i != r1 || j != c1) list->back().span_flag = SEG_END;
        }
}

void power_line_segment(float x, float z, bool chain_end)
{
    const float dX = x - state.previous_x, dZ = z - state.previous_z;
    const double length = std::sqrt(static_cast<double>(dX) * dX + static_cast<double>(dZ) * dZ);
    // The tower count is bounded: a segment from a damaged tile spanning the
    // whole area could not need more, and an unbounded count would overflow.
    const int n = static_cast<int>(std::lround(std::min(length / TOWER_SPACING_M, 100000.0)));
    int hint_i = state.tower_valid ? state.tower_row : 0, hint_j = state.tower_valid ? state.tower_col : 0;
    for (int t = 0; t <= n; ++t) {
        const float f = n == 0 ? 0.5f : static_cast<float>(t) / static_cast<float>(n);
        const float tx = state.previous_x + dX * f, tz = state.previous_z + dZ * f;
        const float h = TERRAIN_height_at(tx, tz, nullptr, nullptr, nullptr, &hint_i, &hint_j, 0, "powerline towers");
        // A tower whose cell falls outside the grid has no list to go into.
        if (hint_i < 0 || hint_i >= TERRAIN_GRID_ROWS || hint_j < 0 || hint_j >= TERRAIN_GRID_COLS) continue;
        if (terrain_airport_cell[TERRAIN_index(hint_i, hint_j)]) continue;
        segment_point p{};
        p.x = tx;
        p.y = h;
        p.z = tz;
        p.span_flag = (t == n && chain_end) ? SEG_END : SEG_ON_LAND;
        std::vector<segment_point>& list = SEG_list_for_writing(3, hint_i, hint_j);
        list.push_back(p);
        const int index = static_cast<int>(list.size()) - 1;
        if (state.tower_valid) {
            std::vector<segment_point>* prev = SEG_list(3, state.tower_row, state.tower_col);
            if (prev && state.tower_index >= 0 && static_cast<size_t>(state.tower_index) < prev->size()) {
                segment_point& q = (*prev)[static_cast<size_t>(state.tower_index)];
                q.normal[0] = static_cast<float>(hint_i);
                q.normal[1] = static_cast<float>(hint_j);
                q.normal[2] = static_cast<float>(index);
                q.heading = heading_of(tx - q.x, tz - q.z);
            }
        }
        state.tower_valid = true;
        state.tower_row = hint_i;
        state.tower_col = hint_j;
        state.tower_index = index;
    }
}

// Drops, in one pass, every point but a chain end that lies within 1.4 m of
// the point after it in the list. Returns the list positions the dropped
// points had (ascending), so links into the list can follow.
std::vector<uint32_t> drop_duplicates(std::vector<segment_point>& list)
{
    std::vector<uint32_t> dropped;
    const size_t n = list.size();
    size_t kept = 0;
    for (size_t p = 0; p < n; ++p) {
        if (p + 1 < n && list[p].span_flag != SEG_END && horizontal2(list[p], list[p + 1]) < DUPLICATE_DISTANCE2_M2) {
            dropped.push_back(static_cast<uint32_t>(p));
            continue;
        }
        if (kept != p) list[kept] = list[p];
        ++kept;
    }
    list.resize(kept);
    return dropped;
}

// The positions a cell's tower list lost to duplicates.
struct tower_drops {
    int cell;                        // TERRAIN_index of the cell
    std::vector<uint32_t> dropped;   // ascending positions before the drop
};

// Every tower's link (row, column and list position of the next tower, in `normal`)
// into a cell that lost towers moves down by the towers dropped before the
// position it named; a link to a dropped tower then names the tower that
// took its place. One pass over every tower, however many were dropped.
void renumber_tower_links(const std::vector<tower_drops>& drops)
{
    if (drops.empty()) return;
    std::vector<int32_t> drops_of_cell(TERRAIN_GRID_POINTS, -1);
    for (size_t d = 0; d < drops.size(); ++d) drops_of_cell[static_cast<size_t>(drops[d].cell)] = static_cast<int32_t>(d);
    for (terrain_point_lists& l : terrain_lists)
        for (segment_point& p : l.seg[3]) {
            if (!(p.normal[0] >= 0.0f && p.normal[0] < TERRAIN_GRID_ROWS && p.normal[1] >= 0.0f && p.normal[1] < TERRAIN_GRID_COLS)) continue;
            const int32_t d = drops_of_cell[static_cast<size_t>(
                TERRAIN_index(static_cast<int>(p.normal[0]), static_cast<int>(p.normal[1])))];
            if (d < 0 || !(p.normal[2] > 0.0f)) continue;
            const std::vector<uint32_t>& dropped = drops[static_cast<size_t>(d)].dropped;
            const float link = p.normal[2];
            const auto before = std::lower_bound(dropped.begin(), dropped.end(), link,
                                                 [](uint32_t q, float v) { return static_cast<float>(q) < v; });
            p.normal[2] -= static_cast<float>(before - dropped.begin());
        }
}

// Finishes one cell's list of section `kind`; a tower list's dropped
// duplicates go to `drops` for the links to follow.
void finish_list(int kind, int i, int j, std::vector<segment_point>& list, std::vector<tower_drops>& drops)
{
    // 1. Duplicates.
    std::vector<uint32_t> dropped = drop_duplicates(list);
    if (kind == 3 && !dropped.empty()) drops.push_back({TERRAIN_index(i, j), std::move(dropped)});
    const size_t n = list.size();
    if (n == 0) return;

    // 2. A land point before a raised one.
    if (kind <= 2)
        for (size_t p = 0; p + 1 < n; ++p)
            if (list[p].span_flag == SEG_ON_LAND && list[p + 1].span_flag == SEG_RAISED) list[p].span_flag = SEG_BEFORE_RAISED;

    // 3. Edges, headings, texture distances and normals.
    const float width = ENV_SECTION_WIDTH_M[kind];
    std::vector<std::array<float, 2>> offsets(n);
    for (size_t p = 0; p < n; ++p) {
        size_t prev = p > 0 ? p - 1 : 0, next = p + 1 < n ? p + 1 : p;
        if (list[prev].span_flag == SEG_END) prev = p;
        if (list[p].span_flag == SEG_END) next = p;
        segment_point& s = list[p];
        const segment_point &pv = list[prev], &nx = list[next];
        const float dist = std::sqrt(horizontal2(s, nx));
        const float L = std::clamp(dist, 1.0f, 99999.9f);
        const float h2 = heading_of(nx.x - s.x, nx.z - s.z);
        const float h1 = heading_of(s.x - pv.x, s.z - pv.z);
        const float t = std::clamp(UTIL_wrap_pm180(h2 - h1), -135.0f, 135.0f);
        const float m = UTIL_wrap_floor(h1 + t * 0.5f, 360.0f) * static_cast<float>(DEG_TO_RAD_DOUBLE);
        const float c = std::cos(t * 0.5f * static_cast<float>(DEG_TO_RAD_DOUBLE));
        offsets[p] = {width * std::cos(m) / c, width * std::sin(m) / c};
        s.edge_x = s.x + offsets[p][0];
        s.edge_y = s.y;
        s.edge_z = s.z + offsets[p][1];
        // Power lines have width 0: the texture distance would divide by zero
        // (an infinite or NaN value); it stays 0 instead.
        if (width > 0.0f) {
            s.tex_len = kind == 5 ? pv.tex_len + std::sqrt(horizontal2(pv, s)) / width * 0.25f
                                       : dist / width * 0.25f;
        }
        if (kind == 3) {
            if (L > WIRE_SPAN_MAX_M) s.span_flag = SEG_END;
            continue;
        }
        s.heading = h2;
        if (kind <= 2 && L > 1.0f) {
            const float slope = std::atan((nx.y - s.y) / L);
            const float hr = h2 * static_cast<float>(DEG_TO_RAD_DOUBLE);
            s.normal[0] = -std::sin(slope) * std::sin(hr);
            s.normal[1] = std::cos(slope);
            s.normal[2] = std::sin(slope) * std::cos(hr);
        } else {
            s.normal[0] = 0.0f;
            s.normal[1] = 1.0f;
            s.normal[2] = 0.0f;
        }
    }

    // 4. Cars on the highways.
    if (kind == 0) {
        static constexpr float factors[4] = {-1.1f, -0.9f, 0.9f, 1.1f};
        std::vector<traffic_record>& cars = SEG_traffic_for_writing(i, j);
        for (size_t p = 0; p + 1 < n; ++p) {
            const int r_factor = UTIL_rand();
            const int r_position = UTIL_rand();
            cars.push_back({static_cast<int32_t>(p), 0.01f + 0.98f * r_position / 32767.0f,
                            factors[(r_factor * 4) / 32768]});
        }
    }

    // 5. The point moves to the other edge.
    for (size_t p = 0; p < n; ++p) {
        list[p].x -= offsets[p][0];
        list[p].z -= offsets[p][1];
    }
}

}  // namespace

const char* ENV_custom_texture_name(int slot)
{
    if (slot < 0 || slot >= ENV_CUSTOM_TEXTURE_SLOTS) return "";
    return custom_textures[static_cast<size_t>(slot)].data();
}

void ENV_clear_custom_textures()
{
    for (auto& name : custom_textures) name.fill(0);
}

void ENV_build_begin(const env_tile_window& w)
{
    state.previous_valid = false;
    state.tower_valid = false;
    for (int i = 0; i <= w.n; ++i)
        std::memset(&state.renumbered[static_cast<size_t>(TERRAIN_index(w.row0 + i, w.col0))], 0,
                    static_cast<size_t>(w.m + 1));
}

void ENV_build_grid_record(const env_tile_window& w, int i, int j, double lat, double lon, double elevation_m,
                           int32_t landuse_word)
{
    const int r = w.row0 + i, c = w.col0 + j;
    if (!(lat >= w.south - 0.001 && lat <= w.south + 1.001 && lon >= w.west - 0.001 && lon <= w.west + 1.001)) {
        refuse_tile(w, "A terrain point of a scenery tile lies outside its tile.", "The tile cannot be used.", "file:",
                    w.path);
        return;
    }
    landuse_fields f{};
    if (!decode_landuse(w, landuse_word, f)) return;

    const float e = static_cast<float>(elevation_m);
    terrain_elevation_high = std::max(terrain_elevation_high, e);
    terrain_elevation_low = std::min(terrain_elevation_low, e);
    const int k = TERRAIN_index(r, c);
    terrain_texture_code[k] = f.type > 999 ? 0 : 100 * f.a + 10 * f.b + f.c;
    set_rotated_corners(r, c, f);
    landuse_grid[k] = f.type;
    terrain_vertex& v = terrain_vertex_grid[k];
    GEO_latlon_to_local(v.x, v.y, v.z, lat, lon, elevation_m);
    check_point(w, r, c);
}

void ENV_build_default_window(const env_tile_window& w)
{
    for (int i = 0; i <= w.n; ++i)
        for (int j = 0; j <= w.m; ++j) {
            landuse_grid[TERRAIN_index(w.row0 + i, w.col0 + j)] = LANDUSE_WATER_B;
            set_plain_corners(w.row0 + i, w.col0 + j);
            if (!check_point(w, w.row0 + i, w.col0 + j)) return;
        }
}

void ENV_build_terrain(const env_tile_window& w, bool file)
{
    untangle(w);
    if (!file) return;
    if (sim_graphics_scenery.current_planet != PLANET_MARS) city_landuse(w);
    flatten_water(w);
    flatten_runways(w);
}

void ENV_build_object(const env_tile_window& w, int32_t type, float lat, float lon, float value, const char* name)
{
    if (type == 1 || type == 4) return;
    if (!(lat >= w.south && lat <= w.south + 1 && lon >= w.west && lon <= w.west + 1)) {
        refuse_tile(w, "An object of a scenery tile lies outside its tile.", "The tile cannot be used.", "file:",
                    w.path);
        return;
    }
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat, lon, 0.0);
    const float height_m = value * UNIT.ft_to_mtrs;
    switch (type) {
    case 2: {
        int kind = 2;
        if (value >= 300.0f) kind = 90 + (UTIL_rand() * 4) / 32768;
        OBJ_build_obs(x, z, 0.0f, height_m, "block", kind, 0);
        return;
    }
    case 3: OBJ_build_obs(x, z, 0.0f, height_m, "radio tower", 3, 0); return;
    case 5: OBJ_build_obs(x, z, 0.0f, height_m, "cooling tower", 5, 0); return;
    case 6: OBJ_build_obs(x, z, 0.0f, height_m, "stacks", 6, 0); return;
    case 8: {
        if (!name_stays_in_package(name)) {
            error_log << "A scenery tile names a custom object outside its package, not placed: \"" << name
                      << "\" (" << FOLDERS_log_path(w.path) << ")\n";
            return;
        }
        char short_name[TEXT_SIZE];
        char path[TEXT_SIZE];
        UTIL_strcpy(name, short_name);
        get_custom_file(5, short_name, path, 1);
        OBJ_build_obs(x, z, value, 0.0f, path, 8, 0);
        return;
    }
    default:
        refuse_tile(w, "A scenery tile holds an object of unknown type.", "The tile cannot be used.", "file:", w.path);
        return;
    }
}

void ENV_build_segment_point(const env_tile_window& w, int kind, double lat, double lon, bool chain_end)
{
    if (!ENV_in_rect(lon, lat, w.west, w.south, w.west + 1.0, w.south + 1.0)) {
        refuse_tile(w, "Lat lon out of range for linear segment!", w.path, "", "");
        return;
    }
    int row = 0, col = 0;
    cell_of(lat, lon, row, col);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat, lon, vertex(row, col).y);
    if (!inside_area(x, z, 1.0f)) {
        refuse_tile(w, "A linear feature of a scenery tile lies", "outside the loaded scenery area.", "file:", w.path);
        return;
    }
    if (state.previous_valid) {
        if (kind == 3)
            power_line_segment(x, z, chain_end);
        else
            ribbon_segment(w, kind, x, z, row, col, chain_end);
    }
    state.previous_valid = !chain_end;
    state.previous_x = x;
    state.previous_z = z;
    state.previous_row = row;
    state.previous_col = col;
}

void ENV_build_finish_section(const env_tile_window& w, int kind)
{
    state.previous_valid = false;
    std::vector<tower_drops> drops;
    for (int i = w.row0; i < w.row0 + w.n; ++i)
        for (int j = w.col0; j < w.col0 + w.m; ++j) {
            std::vector<segment_point>* list = SEG_list(kind, i, j);
            if (list && !list->empty()) finish_list(kind, i, j, *list, drops);
        }
    renumber_tower_links(drops);
}

void ENV_build_custom_textures(const env_tile_window& w, const char (*names)[ENV_NAME_BYTES])
{
    auto named = [&](int p) { return names[p][0] != 0 && std::strcmp(names[p], "UNTITLED") != 0; };

    // Every custom type of the window must name a texture of the tile: a type
    // whose name is empty would never be renumbered and would draw whatever
    // texture holds slot 1000 + p. Such a tile is refused with a notice.
    for (int i = 0; i <= w.n; ++i)
        for (int j = 0; j <= w.m; ++j) {
            const int32_t type = landuse_grid[TERRAIN_index(w.row0 + i, w.col0 + j)];
            if (type >= LANDUSE_CUSTOM && !named(type - LANDUSE_CUSTOM)) {
                refuse_tile(w, "A scenery tile gives a land-use type", "for a texture it does not name.", "file:",
                            w.path);
                return;
            }
        }

    // 1. Slots whose code stands nowhere in the grid are free again.
    std::vector<uint8_t> present(ENV_CUSTOM_TEXTURE_SLOTS, 0);
    for (int32_t code : landuse_grid)
        if (code >= LANDUSE_CUSTOM && code < LANDUSE_CUSTOM + ENV_CUSTOM_TEXTURE_SLOTS) present[code - LANDUSE_CUSTOM] = 1;
    for (int s = 0; s < ENV_CUSTOM_TEXTURE_SLOTS; ++s)
        if (!present[static_cast<size_t>(s)]) custom_textures[static_cast<size_t>(s)].fill(0);

    for (int p = 0; p < TILE_TEXTURE_NAMES; ++p) {
        if (!named(p)) continue;
        // 2. The name's slot, or the first free one.
        int slot = -1;
        for (int s = 0; s < ENV_CUSTOM_TEXTURE_USABLE && slot < 0; ++s)
            if (std::strcmp(custom_textures[static_cast<size_t>(s)].data(), names[p]) == 0) slot = s;
        if (slot < 0) {
            for (int s = 0; s < ENV_CUSTOM_TEXTURE_USABLE && slot < 0; ++s)
                if (custom_textures[static_cast<size_t>(s)][0] == 0) slot = s;
            // Only the first 3000 slots are searched: slot 3000 and up would load
            // their textures over the terrain masks' texture slots (4000 on).
            if (slot < 0) {
                refuse_tile(w, "The scenery tiles name more custom terrain textures", "than the program can hold.",
                            "file:", w.path);
                return;
            }
            std::memcpy(custom_textures[static_cast<size_t>(slot)].data(), names[p], ENV_NAME_BYTES);
            if (name_stays_in_package(names[p])) {
                char short_name[TEXT_SIZE];
                char path[TEXT_SIZE];
                UTIL_strcpy(names[p], short_name);
                get_custom_file(18, short_name, path, 1);
                int width = 0, height = 0;
                OGL_load_tex_file(LOAD_TEXTURE, LANDUSE_CUSTOM + slot, TEX_KEY_MIPMAP, path, width, height);
            } else {
                error_log << "A scenery tile names a custom texture outside its package, not loaded: \""
                          << names[p] << "\" (" << FOLDERS_log_path(w.path) << ")\n";
            }
        }
        // 3. The window's points of this texture take its code, once.
        const int32_t from = LANDUSE_CUSTOM + p, to = LANDUSE_CUSTOM + slot;
        for (int i = 0; i <= w.n; ++i)
            for (int j = 0; j <= w.m; ++j) {
                const int k = TERRAIN_index(w.row0 + i, w.col0 + j);
                if (state.renumbered[static_cast<size_t>(k)] || landuse_grid[k] != from) continue;
                landuse_grid[k] = to;
                state.renumbered[static_cast<size_t>(k)] = 1;
            }
    }
}
