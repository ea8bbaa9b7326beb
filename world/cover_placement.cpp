#include "world/cover_placement.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

int COVER_last_column() { return std::clamp(TERRAIN_extent().last_i - 1, 0, TERRAIN_GRID_ROWS - 2); }
int COVER_last_row() { return std::clamp(TERRAIN_extent().last_j - 1, 0, TERRAIN_GRID_COLS - 2); }

float COVER_random(long index)
{
    long i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

namespace {

const terrain_vertex& V(int i, int j) { return terrain_vertex_grid[TERRAIN_index(i, j)]; }

// The height at (x, z) of the plane through three points.
float plane_height(const terrain_vertex& a, const terrain_vertex& b, const terrain_vertex& c, float x, float z)
{
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (ny == 0.0f) return a.y;
    return a.y - (nx * (x - a.x) + nz * (z - a.z)) / ny;
}

}  // namespace

float COVER_height_in_cell(int i, int j, float x, float z)
{
    i = std::clamp(i, 0, TERRAIN_GRID_ROWS - 2);
    j = std::clamp(j, 0, TERRAIN_GRID_COLS - 2);
    const terrain_vertex& v00 = V(i, j);
    const terrain_vertex& v01 = V(i, j + 1);
    const terrain_vertex& v10 = V(i + 1, j);
    const terrain_vertex& v11 = V(i + 1, j + 1);
    if (GEO_circle_inside_edge(v01.x, v01.z, v10.x, v10.z, x, z, 0.0f)) return plane_height(v00, v10, v01, x, z);
    return plane_height(v11, v01, v10, x, z);
}

const cover_entry* COVER_cell_entry(int i, int j)
{
    const int k = TERRAIN_index(i, j);
    if (terrain_airport_cell[k] || terrain_point_texture[k] >= TERRAIN_LAYERED) return nullptr;
    const int32_t code = landuse_grid[k];
    if (code < 0 || code >= LANDUSE_CODES) return nullptr;
    const int32_t t = landuse_code_texture[code];
    if (t < 0 || t >= COVER_TEXTURES) return nullptr;
    return &cover_table[t];
}

bool COVER_place(const cover_definition& d, int i, int j, int k, float& x, float& y, float& z, float* draw)
{
    const float p = COVER_random(static_cast<long>(k) + static_cast<long>(i) * j);
    if (draw) *draw = p;
    if (!(p < d.chance)) return false;
    const terrain_vertex &a = V(i, j), &b = V(i + 1, j + 1);
    x = a.x + (d.x + (2.0f * COVER_random(i + j + k) - 1.0f) * d.spread) * (b.x - a.x);
    z = a.z + (d.z + (2.0f * COVER_random(i + j + k + 1) - 1.0f) * d.spread) * (b.z - a.z);
    y = COVER_height_in_cell(i, j, x, z);
    return true;
}

int COVER_object_pick(const cover_definition& d, float draw)
{
    const long span = static_cast<long>(d.last_object) - d.first_object + 1;
    const long pick = d.first_object + static_cast<long>(static_cast<float>(span) * draw);
    // An object range from the definitions beyond any int would overflow the cast.
    return static_cast<int>(std::clamp(pick, -1L, 2000000000L));
}

long long COVER_stride(int level) { return std::max(6LL - level, 1LL); }
