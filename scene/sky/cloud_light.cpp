// Cloud lighting and the shadow textures: each frame a hundredth of every
// cell's puffs is lit with self-shadowing along the light (all of them after a
// full relight), while their shadow quads build up the cumulus shadow picture
// in the 512 x 512 work texture (drawn in place through a framebuffer object,
// or in the scratch corner of the back buffer and copied back); the finished
// picture is copied into the texture the ground samples once a cycle. The
// cirrus shadow is the cirrus texture darkened by the shadow strength over a
// latitude and longitude tile.
//
// Reads: the cells and the cell box, sun_angles, scene_ambient_rgb and
// scene_diffuse_rgb, the texture pair and strength, the camera's latitude and
// longitude, lat_ref, lon_ref, the planet. Writes: the puffs' colours and
// light distances, the light orders, the light map and cycle, texture slots
// 311..313 and cloud_shadow_mapping.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"
#include "scene/sky/cloud_field.h"
#include "scene/sky/cloud_quads.h"

cloud_light_record cloud_light;
cloud_scratch_record cloud_scratch;

// The framebuffer object is forgotten, not deleted (the context it was made
// in may be gone); the next shadow picture makes a new one.
void CLOUD_light_reset()
{
    cloud_light = cloud_light_record{};
    cloud_scratch = cloud_scratch_record{};
}
ORVELL_RESET(CLOUD_light_reset, scene);

namespace {

constexpr int SIDE = CLOUD_LIGHT_MAP_SIDE;
constexpr float SHADE = 0.75f;   // what a puff leaves of the light behind it

// The light frame of the light angles psi, theta (radians).
struct light_frame {
    float sp, cp, st, ct;
    void turn(float a, float b, float c, float out[3]) const
    {
        const float y1 = b * cp + a * sp;
        out[0] = a * cp - b * sp;
        out[1] = y1 * ct - c * st;
        out[2] = c * ct + y1 * st;
    }
};

light_frame frame_of_light()
{
    const float psi = sun_angles[1] * DEG_TO_RAD_FLOAT, theta = sun_angles[2] * DEG_TO_RAD_FLOAT;
    return {std::sin(psi), std::cos(psi), std::sin(theta), std::cos(theta)};
}

void whole_picture_quad(float w, float h, bool textured)
{
    glBegin(GL_QUADS);
    if (textured) glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-w, -h);
    if (textured) glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-w, h);
    if (textured) glTexCoord2f(1.0f, 1.0f);
    glVertex2f(w, h);
    if (textured) glTexCoord2f(1.0f, 0.0f);
    glVertex2f(w, -h);
    glEnd();
}

}  // namespace

void CLOUD_light_cells(int full)
{
    cloud_light_record& L = cloud_light;
    const cloud_cell_box_record& b = cloud_cell_box;
    // Before the first frame's set-up the cell box is 0 and the light-map
    // scales below would divide by zero: there is nothing to light yet.
    if (!(b.hx > 0.0f) || !(b.hz > 0.0f)) return;

    // 1, 2. The slice of the cycle.
    L.frame += 1;
    while (L.frame >= CLOUD_LIGHT_CYCLE) L.frame -= CLOUD_LIGHT_CYCLE;
    while (L.frame < 0) L.frame += CLOUD_LIGHT_CYCLE;
    const int k = L.frame;
    bool first = k == 0, last = k == CLOUD_LIGHT_CYCLE - 1;
    for (cloud_cell& c : cloud_cells) {
        const int n = c.count;
        c.slice_start = std::clamp(static_cast<int>(int64_t(k) * n / CLOUD_LIGHT_CYCLE), 0, n);
        c.slice_end = std::clamp(static_cast<int>(int64_t(k + 1) * n / CLOUD_LIGHT_CYCLE), 0, n);
        if (full) c.slice_start = 0, c.slice_end = n;
    }
    if (full) {
        L.frame = -1;
        first = last = true;
    }
    // 3.
    if (first) L.map.fill(255.0f);

    // 4.
    const bool shadow = cloud_shadow_texture != 0;
    if (shadow) {
        CLOUD_shadow_begin(9.0f * b.hx, 9.0f * b.hz, first ? 1 : 0);
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        OGL_bind_tex(TEX_SLOT_CLOUD, 0);
    }

    // The light frame: the quad facing the light and the far light point.
    const light_frame lf = frame_of_light();
    static constexpr float SQUARE[4][3] = {{-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}, {1, 0, 1}};
    static constexpr float S[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    static constexpr float T[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    float corner[4][3];
    for (int m = 0; m < 4; ++m) lf.turn(SQUARE[m][0], SQUARE[m][1], SQUARE[m][2], corner[m]);
    float Ld[3];
    lf.turn(0.0f, 1.0f, 0.0f, Ld);
    const float far = b.r * 100.0f;
    const float light_point[3] = {Ld[0] * far, Ld[1] * far, Ld[2] * far};

    // 5.
    const float su = SIDE / (18.0f * b.hx), sv = -SIDE / (18.0f * b.hz), sr = SIDE / (18.0f * b.r);

    // 6.
    for (int row = 0; row < CLOUD_GRID; ++row)
        for (int col = 0; col < CLOUD_GRID; ++col) {
            cloud_cell& c = cloud_cells[size_t(row) * CLOUD_GRID + size_t(col)];
            const float cx = static_cast<float>(row - 4) * 2.0f * b.hx;
            const float cz = -static_cast<float>(col - 4) * 2.0f * b.hz;
            std::vector<cloud_vertex>& quads = cloud_draw_scratch.vertices;
            quads.clear();
            for (int q = c.slice_start; q < c.slice_end; ++q) {
                cloud_puff& p = c.puffs[size_t(c.light_order[size_t(q)])];
                const float lx = light_point[0] - p.dx, ly = light_point[1] - p.dy, lz = light_point[2] - p.dz;
                p.light_distance = lx * lx + ly * ly + lz * lz;
                if (shadow)
                    for (int m = 0; m < 4; ++m)
                        quads.push_back({p.dx + corner[m][0] * p.size, p.dy + corner[m][1] * p.size,
                                         p.dz + corner[m][2] * p.size, S[m], T[m], 0.0f, 0.0f, 0.0f, 0.0f});
                // The puff's texel in the light map and the square it shades.
                // Clamping before the cut gives the same texel as cutting and
                // then clamping; a puff of no number (which would index the map
                // anywhere) takes texel 0 and shades nothing, and the radius is
                // held to the map so a huge puff cannot overflow the bounds.
                const float along = (p.dx + cx) * lf.cp + (p.dy * lf.ct + (p.dz + cz) * lf.st) * lf.sp;
                const float across = (p.dz + cz) * lf.ct - p.dy * lf.st;
                const int u = std::clamp(static_cast<int>(UTIL_clamp_nan_low(along * su + 256.0f, 0.0f, 511.0f)), 0, SIDE - 1);
                const int v = std::clamp(static_cast<int>(UTIL_clamp_nan_low(across * sv + 256.0f, 0.0f, 511.0f)), 0, SIDE - 1);
                const int w = static_cast<int>(UTIL_clamp_nan_low(p.size * sr, 0.0f, float(SIDE)));
                const int ua = std::clamp(u - w, 0, SIDE), ub = std::clamp(u + w, 0, SIDE);
                const int va = std::clamp(v - w, 0, SIDE), vb = std::clamp(v + w, 0, SIDE);
                for (int uu = ua; uu < ub; ++uu)
                    for (int vv = va; vv < vb; ++vv) cloud_light_map(uu, vv) *= SHADE;
                const float lit = cloud_light_map(u, v) / 255.0f;
                float* out[3] = {&p.red, &p.green, &p.blue};
                for (int ch = 0; ch < 3; ++ch) {
                    const float A = scene_ambient_rgb[ch], H = A + scene_diffuse_rgb[ch];
                    *out[ch] = UTIL_clamp(A + lit * (H - A), std::min(A, H), std::max(A, H));
                }
            }
            // The slice's shadow quads in one batch, the picture seen from above.
            if (shadow) {
                OGL_apply_color(76, 0.25f);
                if (!quads.empty()) {
                    glPushMatrix();
                    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
                    glTranslatef(cx, -2.0f * b.r, cz);
                    CLOUD_draw_quads(quads, false);
                    glPopMatrix();
                }
            }
            CLOUD_sort_cell(0, row, col);
        }

    // 7. The cumulus shadow's ground rectangle is fixed.
    if (shadow) CLOUD_shadow_end(9.0f * b.hx, 9.0f * b.hz, last ? 1 : 0, -b.hx, b.hz, 17.0f * b.hx, -17.0f * b.hz);
}

namespace {

// Opens the framebuffer object on `slot`'s texture; false when the renderer
// refuses it (from then on the back buffer's corner is used).
bool open_scratch(int32_t slot)
{
    cloud_scratch_record& f = cloud_scratch;
    if (f.usable < 0 || slot <= 0) return false;
    if (f.framebuffer == 0) {
        GLuint name = 0;
        glGenFramebuffers(1, &name);
        f.framebuffer = name;
        f.attached = 0;
        if (name == 0) {
            f.usable = -1;
            return false;
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, f.framebuffer);
    if (f.attached != slot) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, static_cast<GLuint>(slot), 0);
        f.attached = slot;
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            f.usable = -1;
            return false;
        }
    }
    f.usable = 1;
    f.open = 1;
    return true;
}

}  // namespace

// The picture is drawn where it ends: in the work texture for the cumulus
// shadow (which already holds the picture as far as the previous step drew
// it), in the cirrus shadow texture for the cirrus one.
void CLOUD_shadow_begin(float w, float h, int clear)
{
    const bool cirrus = cloud_shadow_texture == 313;
    const bool in_place = open_scratch(cirrus ? 313 : cloud_source_texture);
    glViewport(0, 0, SIDE, SIDE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w, w, -h, h, 0.0, 4.0 * std::sqrt(double(w) * w + double(h) * h));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (clear || cirrus) {
        OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        whole_picture_quad(w, h, false);
    }
    if (!clear || cirrus) {
        if (cirrus) {
            OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
            OGL_apply_color(33, cloud_shadow_strength);
        } else {
            OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        }
        OGL_bind_tex(cloud_source_texture, 0);
        // Drawn in place, the work texture is the picture already.
        if (cirrus || !in_place) whole_picture_quad(w, h, true);
    }
}

void CLOUD_shadow_end(float w, float h, int final, float x0, float z0, float x1, float z1)
{
    if (final) {
        if (cloud_shadow_texture == 312) {
            // The picture lightens as the shadow strength falls.
            OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
            OGL_apply_color(49, 1.0f - cloud_shadow_strength);
            whole_picture_quad(w, h, false);
        }
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        OGL_bind_tex(cloud_shadow_texture, 0);
    } else {
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        OGL_bind_tex(cloud_source_texture, 0);
    }
    // The picture into the bound texture, unless it was drawn there.
    cloud_scratch_record& f = cloud_scratch;
    const int32_t target = final ? cloud_shadow_texture : cloud_source_texture;
    if (!f.open || f.attached != target) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, SIDE, SIDE);
    if (f.open) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        f.open = 0;
    }
    const float ex = x1 - x0, ez = z1 - z0;
    cloud_shadow_mapping[0] = x0;
    // A rectangle of no width would give an infinite scale and every ground
    // coordinate infinite or no number: such a side maps to 0 instead.
    cloud_shadow_mapping[1] = ex != 0.0f ? 1.0f / ex : 0.0f;
    cloud_shadow_mapping[2] = z0;
    cloud_shadow_mapping[3] = ez != 0.0f ? 1.0f / ez : 0.0f;
    if (app_mode != MODE_FLYING) OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
}

void CLOUD_draw_cirrus_shadow()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    if (!std::isfinite(v.view_latitude_deg) || !std::isfinite(v.view_longitude_deg) ||
        !std::isfinite(cloud_shadow_base))
        return;   // a camera or base of no number has no tile: the last picture stays
    const double i = std::round(double(v.view_latitude_deg) / 0.06);
    const double j = std::round(double(v.view_longitude_deg) / 0.1);
    const int p = WORLD_planet();
    const double R = double(sim_physics.earth_radius_m) + cloud_shadow_base;
    const double phi0 = (lat_ref + reference_lat_offset[p]) * DEG_TO_RAD_DOUBLE;
    const double lambda0 = (lon_ref + reference_lon_offset[p]) * DEG_TO_RAD_DOUBLE;
    const auto local = [&](double lat_deg, double lon_deg, float& x, float& z) {
        const double phi = lat_deg * DEG_TO_RAD_DOUBLE;
        const double dl = UTIL_wrap_nearest(lon_deg * DEG_TO_RAD_DOUBLE - lambda0, 2.0 * M_PI);
        x = static_cast<float>(R * std::cos(phi) * std::sin(dl));
        z = static_cast<float>(R * (std::cos(phi) * std::sin(phi0) * std::cos(dl) - std::sin(phi) * std::cos(phi0)));
    };
    float xa, za, xb, zb;
    local(0.06 * i, 0.1 * j, xa, za);
    local(0.06 * i + 0.06, 0.1 * j + 0.1, xb, zb);
    CLOUD_shadow_begin(512.0f, 512.0f, 0);
    CLOUD_shadow_end(512.0f, 512.0f, 1, xa, za, xb, zb);
}
