// Cloud puff billboards: the cloud field laid over the world as an endless
// grid of cells at a puff layer's height, the cells in view drawn from far to
// near and the puffs of each cell from far to near, so that blending without
// depth writes overlaps them rightly.
//
// Reads: the cells, the cell box and the grid origin; the camera, view angles,
// octant and footprint of the pass; fog_end; frustum_box; scenery_area.
// Writes: each drawn puff's alpha and eye distance, the draw orders, and
// cloud_shadow_base.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"
#include "scene/sky/cloud_field.h"
#include "scene/sky/cloud_quads.h"
#include "scene/view_setup.h"
#include "world/scenery_area.h"

namespace {

constexpr float SCATTERED_RAISE_M = 3500.0f * UNIT.ft_to_mtrs;   // 1,066.8 m
constexpr float BROKEN_RAISE_M = 4000.0f * UNIT.ft_to_mtrs;      // 1,219.2 m

// Nearest whole number, halves away from zero. A camera or frustum of no
// number would make the index undefined, and one far beyond any grid would
// make the loops walk billions of cells: such an index is taken as 0.
long long nearest(float v)
{
    if (!std::isfinite(v) || std::fabs(v) > 1.0e9f) return 0;
    return std::llround(v);
}

// The positive remainder of a grid index in 0..8.
int stored(long long i)
{
    return static_cast<int>(((i % CLOUD_GRID) + CLOUD_GRID) % CLOUD_GRID);
}

}  // namespace

// A stable sort: puffs of equal distance keep their places, so a lighting
// cycle whose light stands still walks every puff exactly once. An order that
// is still right (the light did not move, the camera barely did) is left
// without sorting.
void CLOUD_sort_cell(int which, int row, int col)
{
    // A cell outside the 9 x 9 field would index past the cells: nothing to sort.
    if (row < 0 || row >= CLOUD_GRID || col < 0 || col >= CLOUD_GRID) return;
    cloud_cell& c = cloud_cells[size_t(row) * CLOUD_GRID + size_t(col)];
    const std::vector<cloud_puff>& p = c.puffs;
    const auto nearer_light = [&p](int32_t a, int32_t b) {
        return p[size_t(a)].light_distance < p[size_t(b)].light_distance;
    };
    const auto farther_eye = [&p](int32_t a, int32_t b) { return p[size_t(a)].eye_distance > p[size_t(b)].eye_distance; };
    if (which == 0) {
        if (!std::is_sorted(c.light_order.begin(), c.light_order.end(), nearer_light))
            std::stable_sort(c.light_order.begin(), c.light_order.end(), nearer_light);
    } else if (!std::is_sorted(c.draw_order.begin(), c.draw_order.end(), farther_eye)) {
        std::stable_sort(c.draw_order.begin(), c.draw_order.end(), farther_eye);
    }
}

// The cell's puffs go to the renderer as one array of quads, farthest first.
// A puff whose quad lies wholly outside the view volume is left out of it (it
// would not touch a pixel); its distance and alpha are kept up to date all
// the same.
void CLOUD_draw_cell(int row, int col, float x, float y, float z, const float cx[4], const float cy[4],
                     const float cz[4])
{
    if (row < 0 || row >= CLOUD_GRID || col < 0 || col >= CLOUD_GRID) return;
    cloud_cell& c = cloud_cells[size_t(row) * CLOUD_GRID + size_t(col)];
    const sim_graphics_view_block& v = sim_graphics_view;
    const float ex = v.view_x - x, ey = v.view_y - y, ez = v.view_z - z;
    const float F2 = fog_end * fog_end;
    static constexpr float S[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    static constexpr float T[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    // How far a corner lies from its puff's centre, per metre of size (with
    // a margin for rounding).
    float reach = 0.0f;
    for (int m = 0; m < 4; ++m) reach = std::max(reach, std::sqrt(cx[m] * cx[m] + cy[m] * cy[m] + cz[m] * cz[m]));
    reach *= 1.001f;

    glPushMatrix();
    glTranslatef(x, y, z);
    const cloud_view_volume volume = cloud_view_volume::current();
    std::vector<cloud_vertex>& out = cloud_draw_scratch.vertices;
    out.clear();
    for (const int32_t index : c.draw_order) {
        cloud_puff& p = c.puffs[size_t(index)];
        const float dx = ex - p.dx, dy = ey - p.dy, dz = ez - p.dz;
        p.eye_distance = dx * dx + dy * dy + dz * dz;
        if (!(p.eye_distance < F2)) continue;
        p.alpha = 1.0f - p.eye_distance / F2;
        if (!volume.may_see(p.dx, p.dy, p.dz, reach * std::fabs(p.size) + 1.0f)) continue;
        for (int m = 0; m < 4; ++m)
            out.push_back({p.dx + cx[m] * p.size, p.dy + cy[m] * p.size, p.dz + cz[m] * p.size, S[m], T[m],
                           p.red, p.green, p.blue, p.alpha});
    }
    scene_draw_counts.cloud_puffs += static_cast<int64_t>(out.size() / 4);
    CLOUD_draw_quads(out, true);
    glPopMatrix();
    CLOUD_sort_cell(1, row, col);
}

void CLOUD_draw_layer(int layer)
{
    if (layer < 0 || layer >= CLOUD_LAYERS) return;   // past the weather's two layers: nothing to read
    const cloud_cell_box_record& b = cloud_cell_box;
    const sim_graphics_view_block& v = sim_graphics_view;
    const float base = sim_weather.cloud_base_msl_m[layer];
    // The layer's base, left whatever is drawn below (nothing below reads it,
    // so setting it first is setting it last).
    cloud_shadow_base = base;
    // A base of no number would place every cell at no number, and a cell box
    // not yet set up (before the first frame) would divide by zero in the
    // grid indices: nothing is drawn then.
    if (!std::isfinite(base) || !(b.hx > 0.0f) || !(b.hz > 0.0f)) return;

    // 1. The billboard corners, shared by every puff of the pass.
    const float H = v.view_heading * DEG_TO_RAD_FLOAT, P = v.view_pitch * DEG_TO_RAD_FLOAT;
    const float sH = std::sin(H), cH = std::cos(H), sP = std::sin(P), cP = std::cos(P);
    static constexpr float A[4] = {-1.0f, -1.0f, 1.0f, 1.0f};
    static constexpr float B[4] = {-1.0f, 1.0f, 1.0f, -1.0f};
    float cx[4], cy[4], cz[4];
    for (int m = 0; m < 4; ++m) {
        cx[m] = A[m] * cH - B[m] * sP * sH;
        cy[m] = B[m] * cP;
        cz[m] = B[m] * sP * cH + A[m] * sH;
    }

    // 2.
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_CLOUD, 0);

    // 3. The grid indices the view volume spans; i grows east, j north.
    const float sx = 2.0f * b.hx, sz = 2.0f * b.hz;
    long long i0 = nearest((v.view_x + frustum_box[0]) / sx), i1 = nearest((v.view_x + frustum_box[3]) / sx);
    long long j0 = nearest(-(v.view_z + frustum_box[2]) / sz), j1 = nearest(-(v.view_z + frustum_box[5]) / sz);

    // 5. The culling box about the footprint, inside the loaded area.
    const float R = std::sqrt(b.hx * b.hx + b.hz * b.hz);
    float fx0 = view_footprint[0].x, fx1 = fx0, fz0 = view_footprint[0].z, fz1 = fz0;
    for (const ground_point& c : view_footprint) {
        fx0 = std::min(fx0, c.x), fx1 = std::max(fx1, c.x);
        fz0 = std::min(fz0, c.z), fz1 = std::max(fz1, c.z);
    }
    const float bx0 = UTIL_clamp(fx0 - R, scenery_area.x0, scenery_area.x1);
    const float bx1 = UTIL_clamp(fx1 + R, scenery_area.x0, scenery_area.x1);
    const float bz0 = UTIL_clamp(fz0 - R, scenery_area.z0, scenery_area.z1);
    const float bz1 = UTIL_clamp(fz1 + R, scenery_area.z0, scenery_area.z1);
    const cloud_grid_origin_record& o = cloud_grid_origin;
    if (!(bx0 <= bx1) || !(bz0 <= bz1)) return;   // an empty box (area not laid out) holds no cell
    // Indices whose cells lie outside the culling box are never drawn: the
    // loops skip them without a test (the order of the others is unchanged).
    const long long ilo = static_cast<long long>(std::ceil((bx0 - o.x) / sx)) - 1;
    const long long ihi = static_cast<long long>(std::floor((bx1 - o.x) / sx)) + 1;
    const long long jlo = static_cast<long long>(std::ceil((o.z - bz1) / sz)) - 1;
    const long long jhi = static_cast<long long>(std::floor((o.z - bz0) / sz)) + 1;

    // 6. The height of the cell centres.
    float Y = base;
    if (sim_weather.cloud_type[layer] == 2) Y += SCATTERED_RAISE_M;
    if (sim_weather.cloud_type[layer] == 3) Y += BROKEN_RAISE_M;

    // 4. From far to near by the octant.
    const int oct = view_octant;
    // The frustum's least x gives i0 <= i1 and its least z j0 >= j1, so i
    // running from i1 to i0 counts down and j from j1 to j0 counts up.
    // Looking east (octants 1-4) the far cells have the larger i, so i counts
    // down; looking south (octants 3-6) the far cells have the smaller j, so j
    // counts up; the other way round otherwise.
    const bool i_down = oct >= 1 && oct <= 4, j_down = !(oct >= 3 && oct <= 6);
    const bool j_outer = oct == 1 || oct == 4 || oct == 5 || oct == 8;
    const long long ia = i_down ? std::max(i0, i1) : std::min(i0, i1), ib = i_down ? std::min(i0, i1) : std::max(i0, i1);
    const long long ja = j_down ? std::max(j0, j1) : std::min(j0, j1), jb = j_down ? std::min(j0, j1) : std::max(j0, j1);
    const long long di = i_down ? -1 : 1, dj = j_down ? -1 : 1;
    const auto in_range = [](long long k, long long lo, long long hi) { return k >= lo && k <= hi; };

    const auto cell = [&](long long i, long long j) {
        if (!in_range(i, ilo, ihi) || !in_range(j, jlo, jhi)) return;
        const float x = sx * static_cast<float>(i) + o.x, y = o.y + Y, z = o.z - sz * static_cast<float>(j);
        if (x < bx0 || x > bx1 || z < bz0 || z > bz1) return;
        for (int e = 0; e < 4; ++e) {
            const ground_point& p = view_footprint[e];
            const ground_point& q = view_footprint[(e + 1) % 4];
            if (!GEO_circle_inside_edge(p.x, p.z, q.x, q.z, x, z, R)) return;
        }
        CLOUD_draw_cell(stored(i), stored(j), x, y, z, cx, cy, cz);
    };
    // The loops step only over indices that can be drawn.
    const auto clip = [](long long a, long long b, long long d, long long lo, long long hi, long long& first,
                         long long& last) {
        first = d > 0 ? std::max(a, lo) : std::min(a, hi);
        last = d > 0 ? std::min(b, hi) : std::max(b, lo);
        return d > 0 ? first <= last : first >= last;
    };
    long long ifirst, ilast, jfirst, jlast;
    if (!clip(ia, ib, di, ilo, ihi, ifirst, ilast) || !clip(ja, jb, dj, jlo, jhi, jfirst, jlast)) return;
    CLOUD_walk_cells(ifirst, ilast, di, jfirst, jlast, dj, j_outer, cell);
}
