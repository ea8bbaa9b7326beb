// Part meshes: airfoil grids, hinge lines, body rings and normals.
#include "scene/aircraft/part_mesh.h"

#include <array>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/control_surface.h"
#include "scene/aircraft/part_geometry.h"
#include "aircraft/part_presence.h"

namespace {


// The airfoil outline: chord fraction from the quarter chord and thickness
// fraction, leading edge over the upper side to the trailing edge and back.
constexpr float FOIL_C[GEO_FOIL_POINTS] = {-0.25f, -0.22f, -0.15f, 0.0f, 0.2f, 0.5f, 0.75f,
                                           0.75f,  0.5f,   0.2f,   0.0f, -0.15f, -0.22f, -0.25f};
constexpr float FOIL_T[GEO_FOIL_POINTS] = {0.0f, 0.2f, 0.4f, 0.5f, 0.5f, 0.0f, 0.0f,
                                           0.0f, 0.0f, -0.5f, -0.5f, -0.4f, -0.2f, 0.0f};
constexpr int HINGE_UPPER = 5;   // the hinge points lie on the line from
constexpr int HINGE_LOWER = 8;   // (0.2, +-0.5) to the trailing edge (0.75, 0)
constexpr float HINGE_LINE_C0 = 0.2f, HINGE_LINE_LENGTH = 0.55f, TRAILING_EDGE_C = 0.75f;
constexpr float FLAP_TYPE_PLAIN = 0.0f, FLAP_TYPE_PLAIN_TOO = 5.0f;   // hinge between the outline points

// The control surface that places an element's hinge (the last one set of
// aileron 1, aileron 2, elevator, rudder, flap), or -1 for none.
int hinge_control(const acf_struct& a, int el)
{
    int kind = -1;
    if (a.acf_ail1[el]) kind = SURF_AILERON1;
    if (a.acf_ail2[el]) kind = SURF_AILERON2;
    if (a.acf_elev[el]) kind = SURF_ELEVATOR;
    if (a.acf_rudd[el]) kind = SURF_RUDDER;
    if (a.acf_flap[el]) kind = SURF_FLAPS;
    return kind;
}

// Values at the inner and outer station of element e from a per-element
// quantity: half-way towards each neighbour, mirrored at the part's ends.
struct station_pair {
    float inner, outer;
};
template <class F>
station_pair at_stations(int e, int els, F value)
{
    const auto at = [&](int j) { return value(util_clamp_int(j, 0, els - 1)); };
    float d_prev = at(e - 1) - at(e);
    float d_next = at(e + 1) - at(e);
    if (e == 0) d_prev = -d_next;
    if (e == els - 1) d_next = -d_prev;
    return {at(e) + 0.5f * d_prev, at(e) + 0.5f * d_next};
}

void set3(float out[3], float x, float y, float z)
{
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

void build_surface(int plane, int k, acf_part_geometry& g)
{
    const acf_struct& a = pln[plane];
    const int els = ACF_mesh_elements(plane, k);
    if (els == 0) return;
    const bool prop = k <= PART_PROP_LAST;
    const float croot = a.acf_Croot[k], ctip = a.acf_Ctip[k];
    const float r0 = a.afl[k].afl_t_rat[0], r1 = a.afl[k].afl_t_rat[1];
    const float d = a.acf_dihed1[k] * a.acf_side_sign[k] * DEG_TO_RAD_FLOAT;
    const float sin_d = std::sin(d), cos_d = std::cos(d);
    const float turn = prop ? a.acf_prop_dir[k] : 1.0f;

    for (int e = 0; e < els; ++e) {
        const int el = ACF_el(k, e);
        const station_pair inc = at_stations(e, els, [&](int j) { return a.acf_anginc[ACF_el(k, j)]; });
        const station_pair sweep = at_stations(e, els, [&](int j) {
            return prop ? a.acf_bladesweep[k * ACF_PROP_RINGS + j] : 0.0f;
        });
        const int control = hinge_control(a, el);
        for (int outer = 0; outer <= 1; ++outer) {
            const float s = static_cast<float>(e + outer);
            const float frac = s / static_cast<float>(els);
            const float chord = croot + (ctip - croot) * frac;
            const float thick = croot * r0 + (ctip * r1 - croot * r0) * frac;
            const float inc_deg = (outer ? inc.outer : inc.inner) * turn;
            const float ca = std::cos(inc_deg * DEG_TO_RAD_FLOAT), sa = std::sin(inc_deg * DEG_TO_RAD_FLOAT);
            const float b = (outer ? sweep.outer : sweep.inner) * DEG_TO_RAD_FLOAT;
            const float sin_b = std::sin(b), cos_b = std::cos(b);
            const acf_span_xyz o = ACF_span_point(plane, k, s);
            float (*row)[3] = g.part_vertex[k][2 * e + outer];
            for (int i = 0; i < GEO_FOIL_POINTS; ++i) {
                float c = FOIL_C[i], t = FOIL_T[i];
                if (i == HINGE_UPPER || i == HINGE_LOWER) {
                    c = control < 0 ? 0.5f : TRAILING_EDGE_C - ACF_control_chord_ratio(plane, k, s, control);
                    const float t0 = i == HINGE_UPPER ? 0.5f : -0.5f;
                    t = t0 + (c - HINGE_LINE_C0) * (0.0f - t0) / HINGE_LINE_LENGTH;
                }
                const float X = c * chord, Y = t * thick;
                const float z_rot = X * ca + Y * sa;
                const float y_rot = Y * ca - X * sa;
                set3(row[i], o.x - z_rot * sin_b - y_rot * sin_d, y_rot * cos_d + o.y, z_rot * cos_b + o.z);
            }
        }
        // The hinge line: between the hinge points of each station, or below
        // the lower surface for a slotted flap.
        if (k >= GEO_HINGE_PARTS) continue;
        const bool low_hinge = a.acf_flap[el] && a.acf_flap_type != FLAP_TYPE_PLAIN && a.acf_flap_type != FLAP_TYPE_PLAIN_TOO;
        float* hinge[2] = {g.element_hinge[k][e][0], g.element_hinge[k][e][1]};
        for (int outer = 0; outer <= 1; ++outer) {
            const float* up = g.part_vertex[k][2 * e + outer][HINGE_UPPER];
            const float* dn = g.part_vertex[k][2 * e + outer][HINGE_LOWER];
            for (int q = 0; q < 3; ++q) {
                hinge[outer][q] = 0.5f * (up[q] + dn[q]);
                if (low_hinge) hinge[outer][q] -= 2.0f * (up[q] - dn[q]);
            }
        }
        // Per element length; a part without length keeps the plain line
        // rather than dividing by 0.
        const float semilen = a.acf_semilen_SEG[k];
        const float scale = semilen != 0.0f ? static_cast<float>(els) / semilen : 1.0f;
        for (int q = 0; q < 3; ++q) g.element_hinge_axis[k][e][q] = (hinge[1][q] - hinge[0][q]) * scale;
    }
}

using point3 = std::array<float, 3>;

// Normals of a grid of R rows and N points given by `vertex`(r, i); `body`
// grids skip their seams and closing points and keep their end rows' normals
// from the rows inside; `sign` turns the point direction (-1 propellers,
// -side for lifting surfaces, +1 bodies).
template <class V>
void grid_normals(int R, int N, bool body, float sign, V vertex, float (*out)[GEO_POINTS][3])
{
    const int half = N / 2;
    for (int r = 0; r < R; ++r) {
        const int rm = util_clamp_int(r - 1, 0, R - 1), rp = util_clamp_int(r + 1, 0, R - 1);
        const int rm2 = body ? util_clamp_int(rm, 1, R - 2) : rm;
        const int rp2 = body ? util_clamp_int(rp, 1, R - 2) : rp;
        for (int i = 0; i < N; ++i) {
            int im, ip;
            if (body) {
                im = i - 1;
                ip = i + 1;
                if (i == half - 1 || i == half) {
                    im = half - 2;
                    ip = half + 1;
                }
                if (i == 0 || i == N - 1) {
                    im = N - 2;
                    ip = 1;
                }
            } else {
                im = i;
                ip = i + 1;
                if (i == half - 1 || i == N - 1) {
                    im = i - 1;
                    ip = i;
                }
            }
            const point3 a_hi = vertex(rp2, im);
            const point3 a_lo = vertex(rm2, im);
            const float A[3] = {a_hi[0] - a_lo[0], a_hi[1] - a_lo[1], vertex(rp, im)[2] - vertex(rm, im)[2]};
            const point3 b_hi = vertex(rm2, ip);
            const float B[3] = {sign * (b_hi[0] - a_lo[0]), sign * (b_hi[1] - a_lo[1]),
                                sign * (vertex(rm, ip)[2] - vertex(rm, im)[2])};
            UTIL_cross_normalize(A, B, out[r][i]);
        }
    }
}

}  // namespace

// Every fitted part is built, failed or hidden or not. Building only the parts
// in service, a part failed when the aircraft is prepared (or a propeller
// hidden by its vectoring) would keep whatever its arrays held before, the
// mesh of the aircraft this slot held earlier or none, and once repaired (or
// unhidden) in flight it would be drawn with that shape.
void ACF_build_surface_meshes(int plane)
{
    acf_part_geometry* g = ACF_geometry(plane);
    if (!g) return;
    for (int k = 0; k <= PART_AFL_LAST; ++k)
        if (ACF_part_fitted(plane, k)) build_surface(plane, k, *g);
}

void ACF_copy_body_rows(int plane)
{
    acf_part_geometry* g = ACF_geometry(plane);
    if (!g) return;
    const acf_struct& a = pln[plane];
    for (int k = PART_BODY_FIRST; k <= PART_BODY_LAST; ++k) {
        if (!ACF_part_fitted(plane, k)) continue;   // fitted, failed or not: see above
        const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
        for (int r = 0; r < R; ++r)
            for (int i = 0; i < N; ++i) {
                const int at = (k * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i;
                set3(g->part_vertex[k][r][i], a.acf_body_X[at], a.acf_body_Y[at], a.acf_body_Z[at]);
            }
    }
}

void ACF_build_normals(int plane)
{
    acf_part_geometry* g = ACF_geometry(plane);
    if (!g) return;
    const acf_struct& a = pln[plane];
    for (int k = 0; k <= PART_BODY_LAST; ++k) {
        if (!ACF_part_fitted(plane, k)) continue;   // fitted, failed or not: see above
        const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
        if (R == 0) continue;
        const bool body = k >= PART_BODY_FIRST;
        const float sign = body ? 1.0f : (k <= PART_PROP_LAST ? -1.0f : -a.acf_side_sign[k]);
        const auto vertex = [&](int r, int i) {
            const float* v = g->part_vertex[k][r][i];
            return point3{v[0], v[1], v[2]};
        };
        grid_normals(R, N, body, sign, vertex, g->part_normal[k]);
    }
    // The weapons' bodies lie in the body arrays at their slot's part index.
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) {
        if (a.acf_wpn_slot[w].wpn_type == 0) continue;
        const auto vertex = [&](int r, int i) {
            const int at = (w * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i;
            return point3{a.acf_body_X[at], a.acf_body_Y[at], a.acf_body_Z[at]};
        };
        grid_normals(GEO_WPN_ROWS, GEO_POINTS, true, 1.0f, vertex, g->weapon_normal[w]);
    }
}
