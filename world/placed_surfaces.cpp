#include "world/placed_surfaces.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/units.h"
#include "world/objects.h"
#include "world/segments.h"

namespace {

constexpr int ROAD_LISTS[] = {0, 1, 2};   // highways, trails, railroads
// How far from its object's origin a hard roof can reach: objects farther
// from the plane are passed over without reading their records, which keeps
// the search through a tile's thousands of placements cheap in every step.
constexpr float ROOF_REACH_M = 1000.0f;

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
    for (const object_placement& p : placement_list) {
        const float dx = p.x - px, dy = p.y - py, dz = p.z - pz;
        if (!(std::fabs(dx) < ROOF_REACH_M && std::fabs(dz) < ROOF_REACH_M)) continue;
        if (p.object < 0 || static_cast<size_t>(p.object) >= object_table.size()) continue;
        const std::vector<lod_group>& groups = object_table[static_cast<size_t>(p.object)].groups;
        const float d2 = dx * dx + dy * dy + dz * dz;
        for (size_t n = 0; n < groups.size(); ++n) {
            if (!(groups[n].near2 <= d2 && d2 <= groups[n].far2)) continue;
            const std::vector<object_primitive>& items = groups[n].prims;
            for (size_t k = 0; k < items.size(); ++k)
                if (items[k].code == OBJ_QUAD_HARD &&
                    OBJ_hard_quad_under(p.object, static_cast<int>(n), static_cast<int>(k), p.x, p.y, p.z, p.heading,
                                        px, pz, height))
                    found = true;
            break;   // only the first level that holds the distance
        }
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
