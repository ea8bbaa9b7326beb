// The effect passes' culling box around the view footprint.
#include <cmath>

#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "scene/scene_state.h"
#include "scene/view_setup.h"
#include "world/scenery_area.h"

float cull_margin = 100.0f;
cull_box_record cull_box{};

void VIEW_cull_reset()
{
    cull_margin = 100.0f;
    cull_box = cull_box_record{};
}
ORVELL_RESET(VIEW_cull_reset, scene);

float UTIL_max4(float a, float b, float c, float d)
{
    const float ab = a > b ? a : b;
    const float cd = c > d ? c : d;
    return ab > cd ? ab : cd;
}

float UTIL_min4(float a, float b, float c, float d)
{
    const float ab = a < b ? a : b;
    const float cd = c < d ? c : d;
    return ab < cd ? ab : cd;
}

void VIEW_cull_box(float margin)
{
    const ground_point* f = view_footprint;
    const scenery_area_record& a = scenery_area;
    cull_margin = margin;
    cull_box.x_min = UTIL_clamp(UTIL_min4(f[0].x, f[1].x, f[2].x, f[3].x) - margin, a.x0, a.x1);
    cull_box.x_max = UTIL_clamp(UTIL_max4(f[0].x, f[1].x, f[2].x, f[3].x) + margin, a.x0, a.x1);
    cull_box.z_min = UTIL_clamp(UTIL_min4(f[0].z, f[1].z, f[2].z, f[3].z) - margin, a.z0, a.z1);
    cull_box.z_max = UTIL_clamp(UTIL_max4(f[0].z, f[1].z, f[2].z, f[3].z) + margin, a.z0, a.z1);
}

bool VIEW_cull_visible(float x, float z)
{
    const cull_box_record& b = cull_box;
    if (!(x >= b.x_min && x <= b.x_max && z >= b.z_min && z <= b.z_max)) return false;
    for (int k = 0; k < 4; ++k) {
        const ground_point& p = view_footprint[k];
        const ground_point& q = view_footprint[(k + 1) % 4];
        if (!GEO_circle_inside_edge(p.x, p.z, q.x, q.z, x, z, cull_margin)) return false;
    }
    return true;
}
