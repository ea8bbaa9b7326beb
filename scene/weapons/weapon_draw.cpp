// Drawing of the weapons in flight: the fire lines of released line guns and
// a camera-facing square for every live projectile.
#include "scene/weapons/weapon_draw.h"

#include <GL/gl.h>

#include <cmath>

#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/weapons/weapons_internal.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float HALF_SIZE_M = 1.5f;   // half side of a projectile's square

}  // namespace

void WPN_draw()
{
    // Fire lines of valid, released line guns, untextured, along the heading
    // and pitch of the shooting plane.
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    const int planes = WPN_planes_in_use();
    glBegin(GL_LINES);
    for (int p = 0; p < planes; ++p) {
        const flt_struct& f = flt[p];
        const float st = std::sin(f.theta * DEG), ct = std::cos(f.theta * DEG);
        const float sp = std::sin(f.psi * DEG), cp = std::cos(f.psi * DEG);
        for (const wpn_slot_record& w : pln[p].acf_wpn_slot) {
            if (!WPN_valid_and_released(w) || !WPN_kind_draws_fire_line(w.wpn_type)) continue;
            const float r = w.wpn_range;
            OGL_line_3d(w.wpn_pos[0], w.wpn_pos[1], w.wpn_pos[2], w.wpn_pos[0] + r * sp * ct, w.wpn_pos[1] + r * st,
                        w.wpn_pos[2] - r * cp * ct);
        }
    }
    glEnd();

    // Projectiles: a textured square turned to face the camera.
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_LIGHTS, 0);
    const float heading = sim_graphics_view.view_heading, pitch = sim_graphics_view.view_pitch;
    for (const projectile_record& r : projectile_list.rec) {
        if (r.proj_kind == 0) continue;
        glPushMatrix();
        glTranslatef(r.proj_pos[0], r.proj_pos[1], r.proj_pos[2]);
        glRotatef(-heading, 0.0f, 1.0f, 0.0f);
        glRotatef(-pitch, -1.0f, 0.0f, 0.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-HALF_SIZE_M, -HALF_SIZE_M, 0.0f);
        glTexCoord2f(0.0f, 0.5f);
        glVertex3f(-HALF_SIZE_M, HALF_SIZE_M, 0.0f);
        glTexCoord2f(0.25f, 0.5f);
        glVertex3f(HALF_SIZE_M, HALF_SIZE_M, 0.0f);
        glTexCoord2f(0.25f, 0.0f);
        glVertex3f(HALF_SIZE_M, -HALF_SIZE_M, 0.0f);
        glEnd();
        glPopMatrix();
    }
}
