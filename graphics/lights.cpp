#include "graphics/lights.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/reset_registry.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "core/constants.h"
#include "core/units.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "core/geo.h"

light_batch_state light_batch{};

ORVELL_RESET_RECORD(OGL_lights_reset, light_batch, scene);

namespace {

// An index into the random table; negative indices wrap like positive ones
// (a negative remainder would read before the table).
float random_entry(int index)
{
    int i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

void normal_of(const float* p0, const float* p1, const float* p2)
{
    const float a[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    const float b[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
    float n[3];
    UTIL_cross_normalize(a, b, n);
    glNormal3fv(n);
}

// Plain point lights wait here and go to GL as one array per point size.
// Sent one vertex at a time between begin and end, a long run of points
// could be lost by the driver where its own vertex store filled up partway
// (far lights missing for a frame, depending on what was drawn before).
struct point_vertex {
    float x, y, z, r, g, b, a;
};
std::vector<point_vertex> waiting_points;
// Between a begin in point mode and its end. A light asked outside a batch
// draws nothing, as a vertex sent outside a primitive draws nothing.
bool points_open = false;

void OGL_lights_points_reset()
{
    waiting_points.clear();
    points_open = false;
}
ORVELL_RESET(OGL_lights_points_reset, scene);

void send_points()
{
    if (waiting_points.empty()) return;
    const point_vertex& last = waiting_points.back();
    glPointSize(light_batch.last_point_size);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(point_vertex), &waiting_points[0].x);
    glColorPointer(4, GL_FLOAT, sizeof(point_vertex), &waiting_points[0].r);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(waiting_points.size()));
    glPopClientAttrib();
    // The last light's colour stays current, as when each was sent alone.
    glColor4f(last.r, last.g, last.b, last.a);
    waiting_points.clear();
}

void textured_vertex(const float* p, float s, float t)
{
    glTexCoord2f(s, t);
    glVertex3fv(p);
}

}  // namespace

bool OGL_light_is_lit(int flash_index)
{
    return flash_index < 0 || !(random_entry(flash_index) > sim_graphics_scenery.percent_lights_on);
}

float OGL_light_brightness(int phase_index) { return 0.35f + 0.65f * random_entry(phase_index); }

float OGL_light_half_size(float size_factor, float d2, float size)
{
    return size_factor * std::pow(d2, 0.35f) * size;
}

void OGL_lights_begin(int force)
{
    light_batch.sprite_mode = (sim_graphics_settings.draw_textured_lites != 0 || force != 0) ? 1 : 0;
    if (light_batch.sprite_mode) {
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
        OGL_bind_tex(TEX_SLOT_LIGHTS, 0);
    } else {
        OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
        waiting_points.clear();
    }
    points_open = !light_batch.sprite_mode;
    light_batch.last_point_size = -999.0f;
    // A zoom that is not set yet counts as no zoom: a zoom of 0 would divide
    // by zero and give sprites of endless size.
    const float zoom = sim_graphics_view.view_zoom > 0.0f ? sim_graphics_view.view_zoom : 1.0f;
    light_batch.size_factor = 0.02f / zoom;
}

void OGL_lights_frame(float x, float y, float z, float pitch, float heading, float roll)
{
    if (!light_batch.sprite_mode) return;
    light_batch.frame_offset[0] = x - sim_graphics_view.view_x;
    light_batch.frame_offset[1] = y - sim_graphics_view.view_y;
    light_batch.frame_offset[2] = z - sim_graphics_view.view_z;
    light_batch.frame_angles[0] = pitch;
    light_batch.frame_angles[1] = heading;
    light_batch.frame_angles[2] = roll;
    light_batch.turned = (pitch != 0.0f || heading != 0.0f || roll != 0.0f) ? 1 : 0;
}

void OGL_draw_light(float x, float y, float z, float r, float g, float b, float a, float size, int flash_index,
                    int phase_index, int type)
{
    OGL_seam_light({x, y, z, r, g, b, a, size, flash_index, phase_index, type});
    if (!OGL_light_is_lit(flash_index)) return;
    const float k = gload_dim_factor;
    const float alpha = a * OGL_light_brightness(phase_index);

    if (!light_batch.sprite_mode) {
        if (!points_open) return;
        if (size != light_batch.last_point_size) {
            send_points();
            light_batch.last_point_size = size;
        }
        waiting_points.push_back({x, y, z, r * k, g * k, b * k, alpha});
        return;
    }
    glColor4f(r * k, g * k, b * k, alpha);

    const float dx = x + light_batch.frame_offset[0];
    const float dy = y + light_batch.frame_offset[1];
    const float dz = z + light_batch.frame_offset[2];
    const float d2 = dx * dx + dy * dy + dz * dz;
    const float h = OGL_light_half_size(light_batch.size_factor, d2, size);

    glPushMatrix();
    glTranslatef(x, y, z);
    if (light_batch.turned) {
        glRotatef(light_batch.frame_angles[2], 0.0f, 0.0f, 1.0f);
        glRotatef(light_batch.frame_angles[0], -1.0f, 0.0f, 0.0f);
        glRotatef(light_batch.frame_angles[1], 0.0f, 1.0f, 0.0f);
    }
    if (type == LIGHT_TYPE_SPLASH && d2 < LIGHT_SPLASH_RANGE_SQ) {
        glDisable(GL_DEPTH_TEST);
        glBegin(GL_QUADS);
        glTexCoord2f(0.25f, 0.0f);
        glVertex3f(-2.0f, -1.0f, 2.0f);
        glTexCoord2f(0.25f, 0.5f);
        glVertex3f(-2.0f, -1.0f, -2.0f);
        glTexCoord2f(0.5f, 0.5f);
        glVertex3f(2.0f, -1.0f, -2.0f);
        glTexCoord2f(0.5f, 0.0f);
        glVertex3f(2.0f, -1.0f, 2.0f);
        glEnd();
        glEnable(GL_DEPTH_TEST);
    }
    glRotatef(-sim_graphics_view.view_heading, 0.0f, 1.0f, 0.0f);
    glRotatef(-sim_graphics_view.view_pitch, -1.0f, 0.0f, 0.0f);

    const bool second = type == LIGHT_TYPE_SECOND;
    const float s1 = second ? 0.25f : 0.0f, s2 = second ? 0.5f : 0.25f;
    const float t1 = second ? 0.5f : 0.0f, t2 = second ? 1.0f : 0.5f;
    OGL_flat_quad_tex(h, h, s1, t1, s2, t2);
    glPopMatrix();
}

void OGL_lights_end()
{
    if (light_batch.sprite_mode) return;
    send_points();
    points_open = false;
    glPointSize(1.0f);
}

void OGL_set_specular(float brightness)
{
    const float v = brightness * gload_dim_factor;
    const float colour[4] = {v, v, v, 1.0f};
    glLightfv(GL_LIGHT0, GL_SPECULAR, colour);
    glMaterialfv(GL_FRONT, GL_SPECULAR, colour);
    glMaterialf(GL_FRONT, GL_SHININESS, 128.0f);
}

void OGL_line_3d(float x1, float y1, float z1, float x2, float y2, float z2)
{
    glVertex3f(x1, y1, z1);
    glVertex3f(x2, y2, z2);
}

void OGL_quad_3d(const float* p0, const float* p1, const float* p2, const float* p3)
{
    normal_of(p0, p1, p2);
    textured_vertex(p0, 1.0f, 1.0f);
    textured_vertex(p1, 1.0f, 0.0f);
    textured_vertex(p2, 0.0f, 0.0f);
    textured_vertex(p3, 0.0f, 1.0f);
}

void OGL_quad_3d_tex(const float* p0, const float* p1, const float* p2, const float* p3, float s1, float t1,
                     float s2, float t2)
{
    normal_of(p0, p1, p2);
    textured_vertex(p0, s1, t1);
    textured_vertex(p1, s1, t2);
    textured_vertex(p2, s2, t2);
    textured_vertex(p3, s2, t1);
}

void OGL_flat_quad_tex(float half_w, float half_h, float s0, float t0, float s1, float t1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex3f(-half_w, -half_h, 0.0f);
    glTexCoord2f(s0, t1);
    glVertex3f(-half_w, half_h, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex3f(half_w, half_h, 0.0f);
    glTexCoord2f(s1, t0);
    glVertex3f(half_w, -half_h, 0.0f);
    glEnd();
}

void OGL_quad_3d_uv(const float* p0, const float* p1, const float* p2, const float* p3, float x0, float z0,
                    float width, float depth, float s1, float t1, float s2, float t2)
{
    normal_of(p0, p1, p2);
    // A zero-sized mapping area maps every point onto its first corner.
    for (const float* p : {p0, p1, p2, p3}) {
        const float s = width != 0.0f ? s1 + (p[0] - x0) / width * (s2 - s1) : s1;
        const float t = depth != 0.0f ? t1 + (p[2] - z0) / depth * (t2 - t1) : t1;
        textured_vertex(p, s, t);
    }
}

namespace {

// The side corners of a box of half width w and half length l, in the order
// of its wall strip: x, z, the texture's s and the normal sent with the pair.
struct box_corner {
    float x, z, s, nx, nz;
};
std::array<box_corner, 5> box_corners(float w, float l, float s1, float s2)
{
    return {{{-w, -l, s1, 0.0f, -1.0f},
             {w, -l, s2, 0.0f, -1.0f},
             {w, l, s1, 1.0f, 0.0f},
             {-w, l, s2, 0.0f, 1.0f},
             {-w, -l, s1, -1.0f, 0.0f}}};
}

}  // namespace

void OGL_box_3d_quads(float x, float y, float z, float width, float height, float length, float s1, float s2,
                      float t1, float t2, float heading)
{
    // The turn OGL_draw_box_3d gives its matrix (about y by -heading), applied here.
    const float h = heading * DEG_TO_RAD_FLOAT, c = std::cos(h), sn = std::sin(h);
    const auto vertex = [&](float vx, float vy, float vz, float nx, float ny, float nz, float s, float t) {
        glNormal3f(c * nx - sn * nz, ny, sn * nx + c * nz);
        glTexCoord2f(s, t);
        glVertex3f(x + c * vx - sn * vz, y + vy, z + sn * vx + c * vz);
    };
    const float w = width / 2.0f, l = length / 2.0f;
    const std::array<box_corner, 5> k = box_corners(w, l, s1, s2);
    // Each wall as its strip draws it: the next corner's top, this corner's
    // top and foot, the next corner's foot, each with its corner's normal.
    for (size_t i = 0; i + 1 < k.size(); ++i) {
        const box_corner &a = k[i], &b = k[i + 1];
        vertex(b.x, height, b.z, b.nx, 0.0f, b.nz, b.s, t2);
        vertex(a.x, height, a.z, a.nx, 0.0f, a.nz, a.s, t2);
        vertex(a.x, 0.0f, a.z, a.nx, 0.0f, a.nz, a.s, t1);
        vertex(b.x, 0.0f, b.z, b.nx, 0.0f, b.nz, b.s, t1);
    }
    vertex(-w, height, -l, 0.0f, 1.0f, 0.0f, s1, t2);
    vertex(w, height, -l, 0.0f, 1.0f, 0.0f, s2, t2);
    vertex(w, height, l, 0.0f, 1.0f, 0.0f, s2, t2);
    vertex(-w, height, l, 0.0f, 1.0f, 0.0f, s1, t2);
    vertex(-w, 0.0f, l, 0.0f, -1.0f, 0.0f, s1, t1);
    vertex(w, 0.0f, l, 0.0f, -1.0f, 0.0f, s2, t1);
    vertex(w, 0.0f, -l, 0.0f, -1.0f, 0.0f, s2, t1);
    vertex(-w, 0.0f, -l, 0.0f, -1.0f, 0.0f, s1, t1);
}

void OGL_draw_box_3d(float x, float y, float z, float width, float height, float length, float s1, float s2,
                     float t1, float t2, float heading)
{
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(-heading, 0.0f, 1.0f, 0.0f);
    const float w = width / 2.0f, l = length / 2.0f;

    glBegin(GL_QUAD_STRIP);
    for (const box_corner& c : box_corners(w, l, s1, s2)) {
        glNormal3f(c.nx, 0.0f, c.nz);
        glTexCoord2f(c.s, t2);
        glVertex3f(c.x, height, c.z);
        glTexCoord2f(c.s, t1);
        glVertex3f(c.x, 0.0f, c.z);
    }
    glEnd();

    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(s1, t2);
    glVertex3f(-w, height, -l);
    glTexCoord2f(s2, t2);
    glVertex3f(w, height, -l);
    glTexCoord2f(s2, t2);
    glVertex3f(w, height, l);
    glTexCoord2f(s1, t2);
    glVertex3f(-w, height, l);

    glNormal3f(0.0f, -1.0f, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex3f(-w, 0.0f, l);
    glTexCoord2f(s2, t1);
    glVertex3f(w, 0.0f, l);
    glTexCoord2f(s2, t1);
    glVertex3f(w, 0.0f, -l);
    glTexCoord2f(s1, t1);
    glVertex3f(-w, 0.0f, -l);
    glEnd();
    glPopMatrix();
}
