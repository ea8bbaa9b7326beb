// The shadow texture and the shadow extents of a plane.
#include "scene/aircraft/shadow.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "aircraft/acf_struct.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/part_geometry.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float COLLAPSED_TEXELS = 0.0001f;
constexpr int MAX_SHADOW_SIZE = 512;

// The planform of a lifting part: x of its root and tip stations, and the
// leading and trailing edges there.
struct planform {
    float root_x, tip_x;
    float root_le, root_te, tip_le, tip_te;
};

bool planform_of(int plane, int k, planform& p)
{
    const acf_struct& a = pln[plane];
    const float els = static_cast<float>(ACF_mesh_elements(plane, k));
    const acf_span_xyz root = ACF_span_point(plane, k, 0.0f);
    const acf_span_xyz tip = ACF_span_point(plane, k, els);
    p = {root.x,
         tip.x,
         root.z - 0.25f * a.acf_Croot[k],
         root.z + 0.75f * a.acf_Croot[k],
         tip.z - 0.25f * a.acf_Ctip[k],
         tip.z + 0.75f * a.acf_Ctip[k]};
    // A planform that is no number would turn the extents into NaN and every
    // texel position after it into an undefined cast; such a part is left out.
    for (float v : {p.root_x, p.tip_x, p.root_le, p.root_te, p.tip_le, p.tip_te})
        if (!std::isfinite(v)) return false;
    return true;
}

// Body corner (row r, point i) of part k in the aircraft frame (x, z); false
// when it is not finite: such a corner would make the extents NaN and its
// texel cast undefined, so it is left out of both passes.
bool body_corner(int plane, int k, int r, int i, float& X, float& Z)
{
    const acf_struct& a = pln[plane];
    const int at = (k * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i;
    const bool nacelle = k >= PART_ENGINE_BODY_FIRST && k <= PART_ENGINE_BODY_LAST;
    const float cant = nacelle ? a.acf_sidecant[k - PART_ENGINE_BODY_FIRST] * DEG_TO_RAD_FLOAT : 0.0f;
    const float bx = a.acf_body_X[at], bz = a.acf_body_Z[at];
    X = std::cos(cant) * bx + a.acf_Xarm[k] - std::sin(cant) * bz;
    Z = std::sin(cant) * bx + std::cos(cant) * bz + a.acf_Zarm[k];
    return std::isfinite(X) && std::isfinite(Z);
}

// The texture: texel positions of aircraft-frame points and the writes.
struct shadow_canvas {
    int S;
    float size_x, size_z;
    uint8_t* rgba;

    float column_at(float x) const { return static_cast<float>(S) * (x / size_x * 0.5f + 0.5f); }
    float row_at(float z) const { return static_cast<float>(S) * (0.5f - z / size_z * 0.5f); }
    // Whole texels. Held inside -1..S: a point far off the texture would
    // overflow the cast to int; -1 and S still lie off it, so nothing drawn changes.
    int whole(float v) const { return static_cast<int>(UTIL_clamp(v, -1.0f, static_cast<float>(S))); }
    void set(int column, int row) const
    {
        if (column < 0 || row < 0 || column >= S || row >= S) return;
        rgba[(static_cast<size_t>(row) * S + column) * 4 + 3] = 255;
    }
};

void draw_planform(const shadow_canvas& c, const planform& p)
{
    const int root_col = c.whole(c.column_at(p.root_x)), tip_col = c.whole(c.column_at(p.tip_x));
    if (root_col == tip_col) return;
    const int root_le = c.whole(c.row_at(p.root_le)), tip_le = c.whole(c.row_at(p.tip_le));
    const int root_te = c.whole(c.row_at(p.root_te)), tip_te = c.whole(c.row_at(p.tip_te));
    const auto edge_row = [&](int col, int root_row, int tip_row) {
        const float row = static_cast<float>(root_row) + static_cast<float>(col - root_col) *
                                                              static_cast<float>(tip_row - root_row) /
                                                              static_cast<float>(tip_col - root_col);
        const float lo = static_cast<float>(root_row < tip_row ? root_row : tip_row);
        const float hi = static_cast<float>(root_row < tip_row ? tip_row : root_row);
        return static_cast<int>(UTIL_clamp(row, lo, hi));
    };
    const int first = root_col < tip_col ? root_col : tip_col, last = root_col < tip_col ? tip_col : root_col;
    for (int col = first; col < last; ++col) {
        const int le = edge_row(col, root_le, tip_le), te = edge_row(col, root_te, tip_te);
        for (int row = te; row < le; ++row) c.set(col, row);
    }
}

// Fills the texels of a body quadrilateral (corners in texel positions) whose
// centres lie inside it (even-odd rule, so either turning sense works).
void draw_quad(const shadow_canvas& c, const float (&corner)[4][2], int count)
{
    float pts[4][2];
    int n = 0;
    for (int q = 0; q < count; ++q) {
        if (n > 0 && std::fabs(corner[q][0] - pts[n - 1][0]) < COLLAPSED_TEXELS &&
            std::fabs(corner[q][1] - pts[n - 1][1]) < COLLAPSED_TEXELS)
            continue;
        pts[n][0] = corner[q][0];
        pts[n][1] = corner[q][1];
        ++n;
    }
    if (n > 1 && std::fabs(pts[n - 1][0] - pts[0][0]) < COLLAPSED_TEXELS &&
        std::fabs(pts[n - 1][1] - pts[0][1]) < COLLAPSED_TEXELS)
        --n;
    if (n < 3) return;
    float lo_x = pts[0][0], hi_x = lo_x, lo_y = pts[0][1], hi_y = lo_y;
    for (int q = 1; q < n; ++q) {
        lo_x = std::fmin(lo_x, pts[q][0]);
        hi_x = std::fmax(hi_x, pts[q][0]);
        lo_y = std::fmin(lo_y, pts[q][1]);
        hi_y = std::fmax(hi_y, pts[q][1]);
    }
    const int c0 = c.whole(lo_x) < 0 ? 0 : c.whole(lo_x), c1 = c.whole(hi_x) >= c.S ? c.S - 1 : c.whole(hi_x);
    const int r0 = c.whole(lo_y) < 0 ? 0 : c.whole(lo_y), r1 = c.whole(hi_y) >= c.S ? c.S - 1 : c.whole(hi_y);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col) {
            const float px = static_cast<float>(col) + 0.5f, py = static_cast<float>(row) + 0.5f;
            bool inside = false;
            for (int q = 0, prev = n - 1; q < n; prev = q++) {
                const float* A = pts[q];
                const float* B = pts[prev];
                if ((A[1] > py) != (B[1] > py) && px < (B[0] - A[0]) * (py - A[1]) / (B[1] - A[1]) + A[0])
                    inside = !inside;
            }
            if (inside) c.set(col, row);
        }
}

// Pass 0 measures the extents, pass 1 draws.
void shadow_pass(int plane, int pass, shadow_canvas& c)
{
    acf_struct& a = pln[plane];
    for (int k = 0; k < ACF_NUM_PARTS; ++k) {
        if (!ACF_part_present(plane, k)) continue;
        if (k >= PART_WING_PAIR_FIRST && k <= PART_AFL_LAST) {
            planform p;
            if (!planform_of(plane, k, p)) continue;
            if (pass == 0) {
                a.acf_size_x = UTIL_max3(a.acf_size_x, std::fabs(p.root_x), std::fabs(p.tip_x));
                a.acf_size_z = UTIL_max(UTIL_max3(a.acf_size_z, std::fabs(p.root_le), std::fabs(p.tip_le)),
                                        UTIL_max(std::fabs(p.root_te), std::fabs(p.tip_te)));
            } else {
                draw_planform(c, p);
            }
            continue;
        }
        if (k < PART_BODY_FIRST || k > PART_BODY_LAST) continue;
        const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
        for (int r = 0; r + 1 < R; ++r)
            for (int i = 0; i < N; ++i) {
                const int next = i + 1 < N ? i + 1 : 0;
                const int rows[4] = {r, r + 1, r + 1, r}, points[4] = {i, i, next, next};
                float corner[4][2];
                int count = 0;
                for (int q = 0; q < 4; ++q) {
                    float X, Z;
                    if (!body_corner(plane, k, rows[q], points[q], X, Z)) continue;
                    if (pass == 0) {
                        a.acf_size_x = UTIL_max(a.acf_size_x, std::fabs(X));
                        a.acf_size_z = UTIL_max(a.acf_size_z, std::fabs(Z));
                        continue;
                    }
                    corner[count][0] = c.column_at(X);
                    corner[count][1] = c.row_at(Z);
                    ++count;
                }
                if (pass == 1) draw_quad(c, corner, count);
            }
    }
}

}  // namespace

int ACF_shadow_size(int rendering_res, int max_texture_size)
{
    int S = MAX_SHADOW_SIZE;
    if (rendering_res >= 0 && rendering_res <= 3) S = 32 << rendering_res;
    // A driver that reports no maximum (0) would halve S down to an empty
    // texture; that maximum is taken as no limit, and S never drops below 1.
    while (max_texture_size > 0 && max_texture_size < S && S > 1) S /= 2;
    return S;
}

void ACF_shadow_raster(int plane, int S, uint8_t* rgba)
{
    if (plane < 0 || plane >= ACF_SLOTS || S < 1 || !rgba) return;
    acf_struct& a = pln[plane];
    for (size_t t = 0; t < static_cast<size_t>(S) * S; ++t) {
        rgba[t * 4 + 0] = rgba[t * 4 + 1] = rgba[t * 4 + 2] = 255;
        rgba[t * 4 + 3] = 0;
    }
    a.acf_size_x = a.acf_size_z = 0.01f;
    shadow_canvas c{S, 0.0f, 0.0f, rgba};
    shadow_pass(plane, 0, c);
    const float border = static_cast<float>(S + 4) / static_cast<float>(S);
    a.acf_size_x *= border;
    a.acf_size_z *= border;
    c.size_x = a.acf_size_x;
    c.size_z = a.acf_size_z;
    shadow_pass(plane, 1, c);
}

void ACF_shadow_blur(uint8_t* rgba, int S)
{
    if (!rgba) return;
    const auto alpha = [&](int col, int row) -> uint8_t& { return rgba[(static_cast<size_t>(row) * S + col) * 4 + 3]; };
    for (int col = 1; col < S - 1; ++col)
        for (int row = 1; row < S - 1; ++row) {
            int sum = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) sum += alpha(col + dc, row + dr);
            alpha(col, row) = static_cast<uint8_t>(sum / 9);   // the mean, cut down
        }
}

void ACF_load_shadow(int plane)
{
    if (plane < 0 || plane >= ACF_SLOTS) return;
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    const int S = ACF_shadow_size(screen.rendering_res, max_size);
    ACF_shadow_raster(plane, S, pixel_buffer);
    ACF_shadow_blur(pixel_buffer, S);
    OGL_load_tex("shadow", TEX_SLOT_SHADOW_FIRST + plane, 0, GL_RGBA, S, S, pixel_buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
