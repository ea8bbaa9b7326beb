// A tyre as two flat side faces joined by two shoulder strips and the tread,
// every ring sampled at 30-degree steps.
#include "scene/aircraft/wheel_draw.h"

#include "graphics/gl_entry.h"

#include "core/constants.h"
#include "graphics/ogl_tex.h"

namespace {

constexpr int STEP_DEG = 30;
constexpr float S_OFF_PATTERN = 0.012903226f;   // s of a rim point between the 60-degree marks
constexpr float T_LEFT_FACE = 0.029296875f;
constexpr float T_SHOULDER_IN = 0.048828125f;
constexpr float T_SHOULDER_OUT = 0.078125f;
constexpr float T_RIGHT_FACE = 0.09765625f;
constexpr float T_RIGHT_CENTRE = 0.126953125f;
constexpr float SHOULDER_NX = 0.85f;

float s_at(int i) { return i % 60 == 0 ? 0.0f : S_OFF_PATTERN; }

// A texture coordinate for every unit in use (none when the count is out of range).
void tex_all_units(float s, float t)
{
    const int units = cur_tex_units;
    if (units < 1 || units > TEX_UNITS_CACHED) return;
    // One unit takes the plain call; a context without the multitexture
    // entry point has only unit 0 to give it to.
    if (units == 1 || !gl_entry::glMultiTexCoord2fARB) {
        glTexCoord2f(s, t);
        return;
    }
    for (int u = 0; u < units; ++u) gl_entry::glMultiTexCoord2fARB(GL_TEXTURE0_ARB + u, s, t);
}

void rim_vertex(float x, float radius, int i)
{
    glVertex3f(x, radius * degree_cos[i], -radius * degree_sin[i]);
}

void strip(float x1, float r1, float t1, float x2, float r2, float t2, float nx, float n_radial)
{
    glBegin(GL_QUAD_STRIP);
    for (int i = 360; i >= 0; i -= STEP_DEG) {
        glNormal3f(nx, n_radial * degree_cos[i], -n_radial * degree_sin[i]);
        glTexCoord2f(s_at(i), t1);
        rim_vertex(x1, r1, i);
        glTexCoord2f(s_at(i), t2);
        rim_vertex(x2, r2, i);
    }
    glEnd();
}

}  // namespace

void ACF_draw_wheel(float x, float y, float z, float side_w, float tread_w, float side_r, float tread_r,
                    float steer_deg, float roll_deg)
{
    const float w = side_w, u = tread_w, r = side_r, R = tread_r;
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(steer_deg, 0.0f, -1.0f, 0.0f);
    glRotatef(roll_deg, -1.0f, 0.0f, 0.0f);

    // Left face.
    glNormal3f(-1.0f, 0.0f, 0.0f);
    glBegin(GL_TRIANGLE_FAN);
    tex_all_units(0.0f, 0.0f);
    glVertex3f(-w, 0.0f, 0.0f);
    for (int i = 360; i >= 0; i -= STEP_DEG) {
        tex_all_units(s_at(i), T_LEFT_FACE);
        rim_vertex(-w, r, i);
    }
    glEnd();

    // Right face.
    glNormal3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_TRIANGLE_FAN);
    tex_all_units(0.0f, T_RIGHT_CENTRE);
    glVertex3f(w, 0.0f, 0.0f);
    for (int i = 0; i <= 360; i += STEP_DEG) {
        tex_all_units(s_at(i), T_RIGHT_FACE);
        rim_vertex(w, r, i);
    }
    glEnd();

    strip(-w, r, T_LEFT_FACE, -u, R, T_SHOULDER_IN, -SHOULDER_NX, 0.5f);   // left shoulder
    strip(-u, R, T_SHOULDER_IN, u, R, T_SHOULDER_OUT, 0.0f, 1.0f);        // tread
    strip(u, R, T_SHOULDER_OUT, w, r, T_RIGHT_FACE, SHOULDER_NX, 0.5f);    // right shoulder

    glPopMatrix();
}
