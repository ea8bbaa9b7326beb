// Scorch marks where the user's weapons hit the ground, each smoking: one
// black puff from each mark every 5 seconds.
//
// Reads: plane 0's weapon slots (impact flag and point, fuel mass), the 5-s
// interval flag. Writes: GL state, particles.
#include <GL/gl.h>

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/texture_slots.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/drawers.h"
#include "scene/effects/particles.h"

namespace {

constexpr int COLOUR_BLACK_ROW = 33;

// Half the side of the mark: the fuel mass to the power 0.33 (none without fuel).
// A mass from the weapon file that is negative or no number would give a size
// and a smoke life of no number (a mark and puffs drawn through NaN corners);
// such a weapon leaves no mark, as one without fuel.
float mark_half_side(float fuel_kg) { return fuel_kg > 0.0f && std::isfinite(fuel_kg) ? std::pow(fuel_kg, 0.33f) : 0.0f; }

}  // namespace

void WPN_draw_impact_marks()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_polygon_offset(3);
    OGL_bind_tex(TEX_SLOT_WINDOW_DAMAGE, 0);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    const bool puff = interval_ticks[INTERVAL_FIVE_SECONDS] != 0;
    for (const wpn_slot_record& w : pln[0].acf_wpn_slot) {
        if (!w.wpn_impact) continue;
        const float s = mark_half_side(w.wpn_fuel);
        const float x = w.wpn_impact_pos[0], y = w.wpn_impact_pos[1], z = w.wpn_impact_pos[2];
        glPushMatrix();
        glTranslatef(x, y, z);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-s, 0.0f, s);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(-s, 0.0f, -s);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(s, 0.0f, -s);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(s, 0.0f, s);
        glEnd();
        glPopMatrix();
        if (puff) PARTICLE_spawn(x, y, z, 0.0f, 0.0f, 0.0f, 0.0f, 0.25f * s, 0.25f, 50.0f * s, COLOUR_BLACK_ROW, 1.0f, 0);
    }
    OGL_polygon_offset(0);
}
