// The terrain height query: finds the triangle of the terrain vertex grid
// under a point, starting from the caller's cell hint, and takes the height of
// its plane; for the user's plane also the runway or deck under it and the
// bumps of the surface. And the loaded-area test on the planet's sphere.
//
// The grid is a deformed lattice (every point's x and z are stored), so the
// cell is found by tests against the triangles' edges, not by arithmetic.
#include "flightmodel/ground/terrain_query.h"

#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "flightmodel/ground/surface_state.h"
#include "world/ship_decks.h"
#include "world/ships.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

constexpr float EDGE_TOLERANCE_M = 1.0f;
constexpr float MIN_DETERMINANT_M2 = 1.0f;   // twice the smallest triangle area taken as a plane
// A folded grid (points out of order, as a damaged scenery file can give)
// can send the walk round a loop of more than two cells, which the rule of
// stopping on a repeated cell never ends: the query would hang. The walk
// stops after this many passes and the neighbourhood search takes over.
constexpr int MAX_WALK_PASSES = 16;

// Per ship (0 the carrier, 1 the frigate): deck height above the ship's
// position and the ship's own speed along its heading.
constexpr float DECK_HEIGHT_M[2] = {CARRIER_DECK_Y_M, FRIGATE_DECK_Y_M};
constexpr float SHIP_SPEED_MPS[2] = {CARRIER_SPEED_MPS, FRIGATE_SPEED_MPS};

constexpr int SURFACE_TERRAIN_MAX = 49;

struct grid_size {
    int ni, nj;   // cells in use along i (east) and j (north)
};

grid_size cells_in_use()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    return {grid_rows[p], grid_cols[p]};
}

const terrain_vertex& point(int i, int j) { return terrain_vertex_grid[i * TERRAIN_GRID_COLS + j]; }

// v limited to 0..hi; NaN gives 0. Done on the float so no conversion overflows.
int clamp_index(float v, int hi)
{
    if (!(v > 0.0f)) return 0;
    if (v >= static_cast<float>(hi)) return hi;
    return static_cast<int>(v);
}

int clamp_int(int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); }

// Whether (px, pz) lies on the inner side of the directed edge a -> b, with a
// metre of tolerance across the edge.
bool passes(const terrain_vertex& a, const terrain_vertex& b, float px, float pz)
{
    const float dx = b.x - a.x;
    const float dz = b.z - a.z;
    if (std::fabs(dz) <= std::fabs(dx)) {
        if (dx == 0.0f) return false;
        const float ze = a.z + (px - a.x) * dz / dx;
        return dx > 0.0f ? ze < pz + EDGE_TOLERANCE_M : pz - EDGE_TOLERANCE_M < ze;
    }
    const float xe = a.x + (pz - a.z) * dx / dz;
    return dz > 0.0f ? px - EDGE_TOLERANCE_M < xe : xe < px + EDGE_TOLERANCE_M;
}

// The two triangles of cell (i, j): A = (P00, P01, P10), B = (P11, P01, P10).
// The skip flags leave out the grid's outer edges in the border cells, so a
// point outside the grid falls into the nearest border triangle.
bool in_triangle_a(int i, int j, float px, float pz, bool skip_west, bool skip_south)
{
    const terrain_vertex& p00 = point(i, j);
    const terrain_vertex& p01 = point(i, j + 1);
    const terrain_vertex& p10 = point(i + 1, j);
    return (skip_west || passes(p00, p01, px, pz)) && passes(p01, p10, px, pz) &&
           (skip_south || passes(p10, p00, px, pz));
}

bool in_triangle_b(int i, int j, float px, float pz, bool skip_north, bool skip_east)
{
    const terrain_vertex& p01 = point(i, j + 1);
    const terrain_vertex& p10 = point(i + 1, j);
    const terrain_vertex& p11 = point(i + 1, j + 1);
    return (skip_north || passes(p01, p11, px, pz)) && (skip_east || passes(p11, p10, px, pz)) &&
           passes(p10, p01, px, pz);
}

// Moves (i, j) toward the point by passes of four scans until it settles or
// swings between two cells (or the pass limit ends a walk on a folded grid).
void walk(int& i, int& j, float px, float pz, const grid_size& g)
{
    int prev_i = -1, prev_j = -1;
    for (int pass = 0; pass < MAX_WALK_PASSES; ++pass) {
        const int start_i = i, start_j = j;
        while (point(i, j).x <= px && i < g.ni - 1) ++i;
        while (point(i, j).x >= px && i > 0) --i;
        while (point(i, j).z >= pz && j < g.nj - 1) ++j;
        while (point(i, j).z <= pz && j > 0) --j;
        if ((i == start_i && j == start_j) || (i == prev_i && j == prev_j)) return;
        prev_i = start_i;
        prev_j = start_j;
    }
}

// A cosine held at least 0.001 from zero (a ship standing on its end, from a
// damaged datagram, must not give an infinite deck height).
double away_from_zero(double c) { return std::fabs(c) >= 0.001 ? c : (c < 0.0 ? -0.001 : 0.001); }

// Deck height and velocity of ship k at (px, pz).
float deck_height(int k, float px, float pz, float* vx, float* vy, float* vz)
{
    const double d2r = DEG_TO_RAD_DOUBLE;
    const double H = DECK_HEIGHT_M[k];
    const double V = SHIP_SPEED_MPS[k];
    const double st = std::sin(ship_pitch[k] * d2r), ct = away_from_zero(std::cos(ship_pitch[k] * d2r));
    const double sp = std::sin(ship_heading[k] * d2r), cp = std::cos(ship_heading[k] * d2r);
    const double sf = std::sin(ship_roll[k] * d2r), cf = away_from_zero(std::cos(ship_roll[k] * d2r));
    const double pitch_rate = ship_pitch_rate[k] * d2r;
    const double yaw_rate = ship_turn_rate[k] * d2r;
    const double roll_rate = ship_roll_rate[k] * d2r;

    const double xr = ship_x[k] + H * sf * cp - H * st * sp;
    const double zr = ship_z[k] + H * st * cp + H * sf * sp;
    const double ox = px - xr, oz = pz - zr;
    const double r = std::sqrt(ox * ox + oz * oz);
    const double bearing = std::atan2(ox, -oz);
    const double gamma = bearing - ship_heading[k] * d2r;

    if (vx) *vx = static_cast<float>(V * sp + ship_vx[k] + yaw_rate * r * std::cos(bearing) +
                                     H * (roll_rate * cp - pitch_rate * sp));
    if (vz) *vz = static_cast<float>(-V * cp + ship_vz[k] + yaw_rate * r * std::sin(bearing) +
                                     H * (pitch_rate * cp + roll_rate * sp));
    if (vy) *vy = static_cast<float>(r * (std::cos(gamma) * pitch_rate - std::sin(gamma) * roll_rate));
    return static_cast<float>(ship_y[k] + H * cf * ct + r * std::cos(gamma) * (st / ct) -
                              r * std::sin(gamma) * (sf / cf) * ct);
}

// v * |v|: the square with the sign kept.
float signed_square(float v) { return v * std::fabs(v); }

// The small bumps of a runway by its roughness and of the surface by its kind.
float surface_bumps(float x, float z)
{
    float h = 0.0f;
    if (surface_state.surface_roughness != 0.0f) {
        const float w = 0.02f * signed_square(std::cos(0.2f * z)) + 0.02f * signed_square(std::sin(0.2f * x)) +
                        0.01f * signed_square(std::sin(x)) + 0.01f * signed_square(std::cos(z)) +
                        0.005f * signed_square(std::sin(5.0f * x)) + 0.005f * signed_square(std::cos(5.0f * z));
        h += 0.25f * surface_state.surface_roughness * w;
    }
    const int code = surface_state.surface_code;
    if (code <= SURFACE_TERRAIN_MAX)
        h += 0.025f * (std::cos(z) + std::sin(x) + std::sin(4.0f * x) + std::cos(4.0f * z));
    else if (code == 162 || code == 168)
        h += 0.01f * (std::cos(z) + std::sin(x) + std::sin(4.0f * x) + std::cos(4.0f * z));
    else if (code == 163 || code == 169)
        h += 0.02f * (std::cos(2.0f * z) + std::sin(2.0f * x) + std::sin(4.0f * x) + std::cos(4.0f * z));
    else if (code == 164)
        h += 0.02f * (std::cos(4.0f * z) + std::sin(4.0f * x));
    else if (code == 165)
        h += 0.005f * (std::cos(4.0f * z) + std::sin(4.0f * x));
    return h;
}

}  // namespace

float TERRAIN_height_at(float px, float pz, float* vx, float* vy, float* vz, int* cell_i, int* cell_j, int extras,
                        const char* /*tag*/)
{
    const grid_size g = cells_in_use();
    int hint_i = cell_i ? *cell_i : 0;
    int hint_j = cell_j ? *cell_j : 0;

    // 1. The starting cell: the hint, or a guess from the area bounds.
    int i, j;
    if (hint_i == 0 && hint_j == 0) {
        const float west = scenery_area.x0, east = scenery_area.x1;
        const float south = scenery_area.z1, north = scenery_area.z0;
        i = east == west ? g.ni / 2 : clamp_index((px - west) * g.ni / (east - west), g.ni - 1);
        j = north == south ? g.nj / 2 : clamp_index((pz - south) * g.nj / (north - south), g.nj - 1);
    } else {
        i = clamp_int(hint_i, g.ni - 1);
        j = clamp_int(hint_j, g.nj - 1);
    }

    // 2-6. The triangle: the starting cell, else a walk and the block around it.
    bool tri_b = false;
    if (in_triangle_a(i, j, px, pz, false, false)) {
    } else if (in_triangle_b(i, j, px, pz, false, false)) {
        tri_b = true;
    } else {
        walk(i, j, px, pz, g);
        if (cell_i) *cell_i = i;
        if (cell_j) *cell_j = j;
        const int wi = i, wj = j;
        bool found = false;
        for (int ci = wi - 1; ci <= wi + 1 && !found; ++ci) {
            if (ci < 0 || ci > g.ni - 1) continue;
            for (int cj = wj - 1; cj <= wj + 1 && !found; ++cj) {
                if (cj < 0 || cj > g.nj - 1) continue;
                if (in_triangle_a(ci, cj, px, pz, ci == 0, cj == 0)) {
                    found = true;
                } else if (in_triangle_b(ci, cj, px, pz, cj == g.nj - 1, ci == g.ni - 1)) {
                    found = true;
                    tri_b = true;
                }
                if (found) i = ci, j = cj;
            }
        }
    }
    if (cell_i) *cell_i = i;
    if (cell_j) *cell_j = j;

    // 7. The height of the triangle's plane.
    const terrain_vertex& b = tri_b ? point(i + 1, j + 1) : point(i, j);
    const terrain_vertex& p1 = tri_b ? point(i, j + 1) : point(i + 1, j);
    const terrain_vertex& p2 = tri_b ? point(i + 1, j) : point(i, j + 1);
    const float d1x = p1.x - b.x, d1y = p1.y - b.y, d1z = p1.z - b.z;
    const float d2x = p2.x - b.x, d2y = p2.y - b.y, d2z = p2.z - b.z;
    const float det = d2x * d1z - d1x * d2z;
    if (!(std::fabs(det) >= MIN_DETERMINANT_M2)) return b.y;
    float h = b.y + (px - b.x) * (d1z * d2y - d2z * d1y) / det + (pz - b.z) * (d1x * d2y - d2x * d1y) / (-det);

    // 8-13. The surface under the user's plane.
    if (!extras) return h;
    if (vx) *vx = 0.0f;
    if (vy) *vy = 0.0f;
    if (vz) *vz = 0.0f;
    if (surface_state.flat_surface_on) h = surface_state.flat_surface_height;
    if (surface_state.on_carrier_deck) return deck_height(SHIP_CARRIER, px, pz, vx, vy, vz);
    if (surface_state.on_frigate_deck) return deck_height(SHIP_FRIGATE, px, pz, vx, vy, vz);
    return h + surface_bumps(px, pz);
}

int TERRAIN_point_in_area(float x, float y, float z, float margin)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double lat_span = 2.0 * reference_lat_offset[planet];
    const double lon_span = 2.0 * reference_lon_offset[planet];
    const double lat0_deg = static_cast<double>(lat_ref) + reference_lat_offset[planet];
    const double lon0 = static_cast<double>(lon_ref) + reference_lon_offset[planet];
    const geo_point g = GEO_local_to_latlon_about(lat0_deg, lon0, x, y, z);
    // A point at the planet's centre has no latitude; it lies in no area.
    if (!(g.elev + sim_physics.earth_radius_m > 0.0)) return 0;
    const float lat = static_cast<float>(g.lat);
    const float lon = static_cast<float>(g.lon);
    const float m = margin;
    return lat >= lat_ref + m && lat <= static_cast<float>(lat_ref + lat_span) - m && lon >= lon_ref + m &&
                   lon <= static_cast<float>(lon_ref + lon_span) - m
               ? 1
               : 0;
}
