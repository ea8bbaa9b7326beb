// The exhaust flame and the force vectors of the force overlay.
#include <GL/gl.h>

#include <cmath>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/draw_kit.h"

namespace {

constexpr int FLAME_STEP_DEG = 30;
constexpr float NOZZLE_S = 0.1f;     // s of the nozzle ring; 0 at its centre, 1 at the tail
constexpr float TAIL_SHRINK = 0.4f;  // the tail's radius over the nozzle's
constexpr float CONE_START = 0.1f;   // the cone begins a little behind the nozzle disc
constexpr int COLOUR_THRUST = 50, COLOUR_HIGHLIGHT = 56, COLOUR_AXIAL = 58, COLOUR_SIDE = 66;

// A random factor between lo and hi, drawn anew at each use.
float random_between(float lo, float hi)
{
    return static_cast<float>(UTIL_rand()) * (hi - lo) / static_cast<float>(UTIL_RAND_MAX) + lo;
}

// t round the flame: 0 at 0 and 360 degrees, 1 at 180 (the picture mirrored on the two halves).
float around(int deg) { return deg <= 180 ? static_cast<float>(deg) / 180.0f : 2.0f - static_cast<float>(deg) / 180.0f; }

}  // namespace

void ACF_draw_flame(int slot, int n, int e, float x, float y, float z, float pitch, float yaw, float roll,
                    float length, float radius, float strength)
{
    OGL_bind_tex(slot, 0);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    float alpha = random_between(0.8f, 1.2f) * ACF_finite(strength);
    alpha = alpha < 0.0f ? 0.0f : (alpha > 1.0f ? 1.0f : alpha);
    const float k = gload_dim_factor;
    glColor4f(k, k, k, alpha);
    glDisable(GL_CULL_FACE);

    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(-ACF_finite(pitch), -1.0f, 0.0f, 0.0f);
    glRotatef(-ACF_finite(yaw), 0.0f, 1.0f, 0.0f);
    // The JATO flame has no engine (index -1); an index past the tables would read past them.
    const bool tip_rocket = n >= 0 && n < ACF_SLOTS && e >= 0 && e < ACF_MAX_ENGINES &&
                            pln[n].acf_en_type[e] == ENGINE_TIP_ROCKET;
    if (tip_rocket) {   // out along the blade turned by roll to its tip
        const acf_struct& a = pln[n];
        const flt_struct& f = flt[n];
        glRotatef(ACF_finite(roll), 0.0f, 0.0f, 1.0f);
        glRotatef(ACF_finite(f.POINT_cone_rad[e]) * UNIT.rad_to_deg, 0.0f, 1.0f, 0.0f);
        glRotatef((ACF_finite(f.POINT_pitch_deg[e]) - 90.0f) * ACF_finite(a.acf_prop_dir[e]), 1.0f, 0.0f, 0.0f);
        float tip = 0.0f;
        for (int i = 0; i < ACF_mesh_elements(n, e); ++i)
            tip += a.acf_element_len[e] * std::cos(ACF_finite(a.acf_bladesweep[e * ACF_PROP_RINGS + i]) * DEG_TO_RAD_FLOAT);
        glTranslatef(ACF_finite(tip), 0.0f, 0.0f);
    }

    glBegin(GL_QUAD_STRIP);   // the nozzle disc
    for (int deg = 0; deg <= 360; deg += FLAME_STEP_DEG) {
        const float t = around(deg);
        glTexCoord2f(NOZZLE_S, t);
        glVertex3f(radius * degree_sin[deg], radius * degree_cos[deg], 0.0f);
        glTexCoord2f(0.0f, t);
        glVertex3f(0.0f, 0.0f, 0.0f);
    }
    glEnd();
    glBegin(GL_QUAD_STRIP);   // the flame, each column flickering in length
    for (int deg = 0; deg <= 360; deg += FLAME_STEP_DEG) {
        const float t = around(deg);
        glTexCoord2f(NOZZLE_S, t);
        glVertex3f(radius * degree_sin[deg], radius * degree_cos[deg], CONE_START);
        glTexCoord2f(1.0f, t);
        glVertex3f(TAIL_SHRINK * radius * degree_sin[deg], TAIL_SHRINK * radius * degree_cos[deg],
                   length * random_between(0.98f, 1.02f));
    }
    glEnd();
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}

void ACF_draw_force_vector(float x, float y, float z, float fx, float fy, float fz, int p, int e, bool highlight)
{
    const float s = visibility_scale;
    if (p < ACF_MAX_ENGINES) {
        if (highlight) {
            glPointSize(3.0f);
            glBegin(GL_POINTS);
            OGL_apply_color(COLOUR_HIGHLIGHT, 1.0f);
            glVertex3f(x, y, z);
            glEnd();
            glPointSize(1.0f);
        }
        glBegin(GL_LINES);
        OGL_apply_color(highlight ? COLOUR_HIGHLIGHT : COLOUR_THRUST, 1.0f);
        OGL_line_3d(x, y, z, x + fx * s, y + fy * s, z + fz * s);
        glEnd();
        return;
    }
    const float k = static_cast<float>(ACF_mesh_elements(0, p)) * s / 4.0f;
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(ACF_finite(flt[0].alpha_el[ACF_el(p, e) * 4]), -1.0f, 0.0f, 0.0f);
    glBegin(GL_LINES);   // lift up, drag aft and side force across, as one broken line
    OGL_apply_color(COLOUR_THRUST, 1.0f);
    OGL_line_3d(0.0f, 0.0f, 0.0f, 0.0f, fy * k, 0.0f);
    OGL_apply_color(COLOUR_AXIAL, 1.0f);
    OGL_line_3d(0.0f, fy * k, 0.0f, 0.0f, fy * k, fz * k);
    OGL_apply_color(COLOUR_SIDE, 1.0f);
    OGL_line_3d(0.0f, fy * k, 0.0f, fx * k, fy * k, 0.0f);
    glEnd();
    glPopMatrix();
}
