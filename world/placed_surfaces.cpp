#include "world/placed_surfaces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/units.h"
#include "world/cover_placement.h"
#include "world/objects.h"
#include "world/segments.h"
#include "world/terrain_grid.h"

namespace {

constexpr int ROAD_LISTS[] = {0, 1, 2};   // highways, trails, railroads
// How far from its object's origin a hard roof can reach: objects farther
// from the plane are passed over without reading their records, which keeps
// the search through a tile's thousands of placements cheap in every step.
constexpr float ROOF_REACH_M = 1000.0f;
// The objects the land cover generates are houses, shops and masts tens of
// metres across: their roofs are looked for within this reach of their
// origin, which bounds the cells walked in every step to the plane's cell and
// its neighbours (and those whose definitions' spread carries them nearer).
constexpr float COVER_ROOF_REACH_M = 100.0f;
// A cell's definitions stand from one cell before it to one after it (a
// position and a spread of at most 1 each): the cells walked reach this many
// cells past those the roof reach spans. Cells are taken as at least this
// wide when the reach is counted in cells, which bounds the walk on a grid
// squeezed flat.
constexpr int PLACE_REACH_CELLS = 2;
constexpr float LEAST_CELL_M = 100.0f;

const lod_group* level_of(int object, int level)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return nullptr;
    const std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    if (level < 0 || static_cast<size_t>(level) >= groups.size()) return nullptr;
    return &groups[static_cast<size_t>(level)];
}

// For each directed edge P -> Q of the span loop the y component of
// (Q - P) x (point - P) must be negative.
bool inside_span(const float (&loop)[4][2], float x, float z)
{
    for (int e = 0; e < 4; ++e) {
        const float* P = loop[e];
        const float* Q = loop[(e + 1) % 4];
        const float ux = Q[0] - P[0], uz = Q[1] - P[1];
        const float vx = x - P[0], vz = z - P[1];
        if (!(uz * vx - ux * vz < 0.0f)) return false;
    }
    return true;
}

// The hard roof under (px, pz) of object `object` at (x, y, z) turned to
// `heading`, on the level of detail its distance from (px, py, pz) picks.
bool roof_of(int object, float x, float y, float z, float heading, float px, float py, float pz, float& height)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return false;
    const std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    const float dx = x - px, dy = y - py, dz = z - pz;
    const float d2 = dx * dx + dy * dy + dz * dz;
    bool found = false;
    for (size_t n = 0; n < groups.size(); ++n) {
        if (!(groups[n].near2 <= d2 && d2 <= groups[n].far2)) continue;
        const std::vector<object_primitive>& items = groups[n].prims;
        for (size_t k = 0; k < items.size(); ++k)
            if (items[k].code == OBJ_QUAD_HARD &&
                OBJ_hard_quad_under(object, static_cast<int>(n), static_cast<int>(k), x, y, z, heading, px, pz, height))
                found = true;
        break;   // only the first level that holds the distance
    }
    return found;
}

bool within_reach(float x, float z, float px, float pz, float reach)
{
    return std::fabs(x - px) < reach && std::fabs(z - pz) < reach;
}

// The cells around `at` along one axis of the grid whose definitions can
// stand within the roof reach, for cells `width` metres across.
void cells_around(int at, int last, float width, int& first, int& last_out)
{
    const float w = std::fabs(width) >= LEAST_CELL_M ? std::fabs(width) : LEAST_CELL_M;   // no number: the least
    const int n = PLACE_REACH_CELLS + static_cast<int>(std::ceil(COVER_ROOF_REACH_M / w));
    first = std::max(at - n, 0);
    last_out = std::min(at + n, last);
}

// The plane's place in cell (i, j) as fractions of the cell's span from its
// first corner, the frame the definitions are given in, and the generated
// roofs' reach in the same fractions. A span of no length is taken as a tiny
// one, which makes the reach cover the cell whole.
struct cell_frame {
    float fx, fz, rx, rz;

    cell_frame(int i, int j, float px, float pz)
    {
        const terrain_vertex& a = terrain_vertex_grid[TERRAIN_index(i, j)];
        const terrain_vertex& b = terrain_vertex_grid[TERRAIN_index(i + 1, j + 1)];
        const auto along = [](float a, float b, float p, float& f, float& r) {
            const float span = std::fabs(b - a) > 1.0e-3f ? b - a : 1.0e-3f;
            f = (p - a) / span;
            r = COVER_ROOF_REACH_M / std::fabs(span);
        };
        along(a.x, b.x, px, fx, rx);
        along(a.z, b.z, pz, fz, rz);
    }
    // Whether something standing within (x, z) +- half can lie within the reach.
    bool near(float x, float z, float half) const
    {
        return std::fabs(x - fx) < half + rx && std::fabs(z - fz) < half + rz;
    }
};

}  // namespace

bool OBJ_hard_quad_under(int object, int level, int item, float x, float y, float z, float heading, float px,
                         float pz, float& height)
{
    const lod_group* g = level_of(object, level);
    if (!g || item < 0 || static_cast<size_t>(item) + 5 >= g->prims.size()) return false;
    // The point in the object's frame: the heading the object is drawn with
    // turned back, so a turned building carries the plane where its roof is drawn.
    const float wx = px - x, wz = pz - z;
    const float h = heading * DEG_TO_RAD_FLOAT;
    const float ox = wx * std::cos(h) + wz * std::sin(h);
    const float oz = -wx * std::sin(h) + wz * std::cos(h);
    const object_primitive* c = &g->prims[static_cast<size_t>(item) + 2];
    for (int k = 0; k < 4; ++k) {
        const float* a = c[k].w;
        const float* b = c[(k + 1) % 4].w;
        if (!((b[0] - a[0]) * (oz - a[2]) - (b[2] - a[2]) * (ox - a[0]) > 0.0f)) return false;
    }
    height = y + c[0].w[1];
    return true;
}

bool OBJ_roof_under(float px, float py, float pz, float& height)
{
    bool found = false;
    for (const object_placement& p : placement_list)
        if (within_reach(p.x, p.z, px, pz, ROOF_REACH_M) && roof_of(p.object, p.x, p.y, p.z, p.heading, px, py, pz, height))
            found = true;
    return found;
}

bool COVER_roof_under(int i, int j, float px, float py, float pz, long long stride, float& height)
{
    if (stride < 1) return false;
    i = std::clamp(i, 0, COVER_last_column());
    j = std::clamp(j, 0, COVER_last_row());
    const terrain_vertex& a = terrain_vertex_grid[TERRAIN_index(i, j)];
    const terrain_vertex& b = terrain_vertex_grid[TERRAIN_index(i + 1, j + 1)];
    int first_i, last_i, first_j, last_j;
    cells_around(i, COVER_last_column(), b.x - a.x, first_i, last_i);
    cells_around(j, COVER_last_row(), b.z - a.z, first_j, last_j);
    bool found = false;
    for (int ci = first_i; ci <= last_i; ++ci)
        for (int cj = first_j; cj <= last_j; ++cj) {
            const cell_frame frame(ci, cj, px, pz);
            if (!frame.near(0.5f, 0.5f, 1.5f)) continue;
            const cover_entry* e = COVER_cell_entry(ci, cj);
            if (!e) continue;
            COVER_for_stride(e->lists[COVER_OBJECTS], stride, [&](int k, const cover_definition& d) {
                // The definition's place lies within its position plus or minus its spread.
                if (!frame.near(d.x, d.z, d.spread)) return;
                float x, y, z, draw;
                if (COVER_place(d, ci, cj, k, x, y, z, &draw) && within_reach(x, z, px, pz, COVER_ROOF_REACH_M) &&
                    roof_of(COVER_object_pick(d, draw), x, y, z, d.heading, px, py, pz, height))
                    found = true;
            });
        }
    return found;
}

bool SEG_on_road(int i, int j, float x, float z)
{
    for (int kind : ROAD_LISTS) {
        const std::vector<segment_point>* list = SEG_list(kind, i, j);
        if (!list) continue;
        // A span runs from a point with a flag above 0 to the next point of
        // the same list; the last point of a list has no span of its own.
        for (size_t k = 0; k + 1 < list->size(); ++k) {
            const segment_point& e = (*list)[k];
            const segment_point& q = (*list)[k + 1];
            if (!(e.span_flag > 0.0f)) continue;
            const float loop[4][2] = {{e.x, e.z}, {q.x, q.z}, {q.edge_x, q.edge_z}, {e.edge_x, e.edge_z}};
            if (inside_span(loop, x, z)) return true;
        }
    }
    return false;
}
