// Paint coordinates of the part meshes and the weapon bodies.
#include "scene/aircraft/paint_layout.h"

#include <cmath>

#include "core/engine_types.h"
#include "scene/aircraft/part_geometry.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float W = static_cast<float>(PAINT_W);

// (value - lo) / (hi - lo), or the middle when the range is empty.
float fraction(float value, float lo, float hi) { return hi != lo ? (value - lo) / (hi - lo) : 0.5f; }

// Lifting surfaces and propellers: chord across, span up.
void surface_coordinates(int plane, int k, acf_part_geometry& g)
{
    const acf_struct& a = pln[plane];
    const int els = ACF_mesh_elements(plane, k);
    if (els == 0) return;
    const paint_rect rect = paint_layout_of(k);
    const float H = static_cast<float>(paint_bitmap_height(rect.bitmap));
    const float s0 = rect.s0 / W, s1 = rect.s1 / W, t0 = rect.t0 / H, t1 = rect.t1 / H;

    const float root_z = ACF_span_point(plane, k, 0.0f).z;
    const float tip_z = ACF_span_point(plane, k, static_cast<float>(els)).z;
    const float croot = a.acf_Croot[k], ctip = a.acf_Ctip[k];
    const float zmin = std::fmin(root_z - 0.25f * croot, tip_z - 0.25f * ctip);
    const float zmax = std::fmax(root_z + 0.75f * croot, tip_z + 0.75f * ctip);
    const float semilen = a.acf_semilen_SEG[k];
    const int R = 2 * els;
    for (int r = 0; r < R; ++r) {
        const float f = 2.0f * static_cast<float>((r + 1) / 2) / static_cast<float>(R);
        const float t = semilen != 0.0f ? t0 + f * semilen * (t1 - t0) / semilen : (t0 + t1) * 0.5f;
        for (int i = 0; i < GEO_FOIL_POINTS; ++i) {
            float s = zmax != zmin ? s0 + (g.part_vertex[k][r][i][2] - zmin) * (s1 - s0) / (zmax - zmin)
                                   : (s0 + s1) * 0.5f;
            if (k >= PAINT_FIN_FIRST && k <= PAINT_FIN_LAST && i >= PAINT_FIN_LOWER_FIRST_POINT)
                s += PAINT_FIN_LOWER_SHIFT / W;
            g.part_texcoord[k][r][i][0] = s;
            g.part_texcoord[k][r][i][1] = t;
        }
    }
}

// A body's section unrolled from its waterline and its length, each brought
// to 0..1: around[r][i] for every point (the second side mirrors the first),
// along[r][i] by the point's z or, with `along_rows`, by the distance its
// row's first point has come from row 0.
struct unrolled_body {
    float around[GEO_ROWS][GEO_POINTS];
    float along[GEO_ROWS][GEO_POINTS];
};

void unroll(const acf_struct& a, int index, int R, int N, bool along_rows, unrolled_body& out)
{
    const auto at = [&](int r, int i) { return (index * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i; };
    const float* X = a.acf_body_X;
    const float* Y = a.acf_body_Y;
    const float* Z = a.acf_body_Z;
    const int half = N / 2;

    float ym = 0.0f;
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < N; ++i) ym += Y[at(r, i)];
    ym /= static_cast<float>(R * N);

    // Signed distance round the section from the waterline, up positive.
    float umin = 0.0f, umax = 0.0f;
    for (int r = 0; r < R; ++r) {
        const auto y = [&](int i) { return Y[at(r, i)]; };
        const auto seg = [&](int j) {
            const float dx = X[at(r, j + 1)] - X[at(r, j)], dy = y(j + 1) - y(j);
            return std::sqrt(dx * dx + dy * dy);
        };
        const auto crosses = [&](int j) { return y(j) != y(j + 1) && ym <= y(j) && y(j + 1) <= ym; };
        for (int i = 0; i < half; ++i) {
            float u = 0.0f;
            if (ym < y(i)) {
                for (int j = i; j < half; ++j) {
                    if (y(j) > ym && y(j + 1) > ym)
                        u += seg(j);
                    else if (crosses(j))
                        u += (y(j) - ym) * seg(j) / (y(j) - y(j + 1));
                }
            } else {
                for (int j = 0; j < i; ++j) {
                    if (y(j) < ym && y(j + 1) < ym)
                        u -= seg(j);
                    else if (crosses(j))
                        u -= (ym - y(j + 1)) * seg(j) / (y(j) - y(j + 1));
                }
            }
            if (ym <= y(half)) u += y(half) - ym;
            if (y(0) <= ym) u += y(0) - ym;
            out.around[r][i] = u;
            if (r == 0 && i == 0) umin = umax = u;
            umin = std::fmin(umin, u);
            umax = std::fmax(umax, u);
        }
    }
    for (int r = 0; r < R; ++r) {
        for (int i = 0; i < half; ++i) out.around[r][i] = fraction(out.around[r][i], umin, umax);
        for (int i = half; i < N; ++i) out.around[r][i] = out.around[r][N - 1 - i];
    }

    if (along_rows) {
        float run[GEO_ROWS] = {};
        for (int r = 1; r < R; ++r) {
            const float dy = Y[at(r, 0)] - Y[at(r - 1, 0)], dz = Z[at(r, 0)] - Z[at(r - 1, 0)];
            run[r] = run[r - 1] + std::sqrt(dy * dy + dz * dz);
        }
        for (int r = 0; r < R; ++r)
            for (int i = 0; i < N; ++i) out.along[r][i] = fraction(run[r], 0.0f, run[R - 1]);
        return;
    }
    float zmin = Z[at(0, 0)], zmax = zmin;
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < half; ++i) {
            zmin = std::fmin(zmin, Z[at(r, i)]);
            zmax = std::fmax(zmax, Z[at(r, i)]);
        }
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < N; ++i) out.along[r][i] = fraction(Z[at(r, i)], zmin, zmax);
}

void body_coordinates(int plane, int k, acf_part_geometry& g)
{
    const acf_struct& a = pln[plane];
    const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
    const bool nacelle = k >= PART_ENGINE_BODY_FIRST && k <= PART_ENGINE_BODY_LAST;
    const bool jet_nacelle = nacelle && ENGINE_type_is_jet(a.acf_en_type[k - PART_ENGINE_BODY_FIRST]);
    unrolled_body body;
    unroll(a, k, R, N, jet_nacelle, body);

    const paint_rect rect = paint_layout_of(k);
    const float H = static_cast<float>(paint_bitmap_height(rect.bitmap));
    const float s0 = rect.s0 / W, s1 = rect.s1 / W, t0 = rect.t0 / H, t1 = rect.t1 / H;
    const float second_side =
        k == PAINT_FUSELAGE ? PAINT_FUSELAGE_SECOND_SIDE / H : (nacelle ? PAINT_NACELLE_SECOND_SIDE / H : 0.0f);
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < N; ++i) {
            const float along = s0 + body.along[r][i] * (s1 - s0);
            float around = t0 + body.around[r][i] * (t1 - t0);
            if (i >= N / 2) around -= second_side;
            float* st = g.part_texcoord[k][r][i];
            st[0] = k >= PAINT_TURNED_FIRST ? around : along;
            st[1] = k >= PAINT_TURNED_FIRST ? along : around;
        }
}

void weapon_coordinates(int plane, int w, acf_part_geometry& g)
{
    unrolled_body body;
    unroll(pln[plane], w, GEO_WPN_ROWS, GEO_POINTS, true, body);
    for (int r = 0; r < GEO_WPN_ROWS; ++r)
        for (int i = 0; i < GEO_POINTS; ++i) {
            float* st = g.weapon_texcoord[w][r][i];
            st[0] = body.along[r][i] * WPN_PAINT_LENGTH;
            st[1] = body.around[r][i] * WPN_PAINT_SIDE + WPN_PAINT_SIDE_SPLIT;
            if (i >= WPN_PAINT_SECOND_SIDE_POINT) st[1] -= WPN_PAINT_SIDE_SPLIT;
        }
}

}  // namespace

void ACF_paint_coordinates(int plane)
{
    acf_part_geometry* g = ACF_geometry(plane);
    if (!g) return;
    // Fitted parts rather than present ones: a part failed while the aircraft
    // is prepared and repaired later would otherwise be drawn with coordinates
    // left from another aircraft, its paint scrambled.
    for (int k = 0; k <= PART_BODY_LAST; ++k) {
        if (!ACF_part_fitted(plane, k)) continue;
        if (k <= PART_AFL_LAST)
            surface_coordinates(plane, k, *g);
        else
            body_coordinates(plane, k, *g);
    }
    for (int w = 0; w < ACF_WPN_SLOTS; ++w)
        if (pln[plane].acf_wpn_slot[w].wpn_type != 0) weapon_coordinates(plane, w, *g);
}
