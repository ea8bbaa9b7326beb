#include "scene/plane_range.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/draw_phases.h"
#include "core/numeric.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/net_receive.h"
#include "links/plugin_host.h"
#include "scene/drawers.h"

namespace {

constexpr int SHADOW_COLOUR_ROW = 33;   // black

float plane_size(int n) { return std::sqrt(pln[n].acf_size_x * pln[n].acf_size_x + pln[n].acf_size_z * pln[n].acf_size_z); }

}  // namespace

plane_run_record SCENE_plane_run()
{
    const int32_t count = PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0);
    // A count as low as the lowest int (from the settings or a plug-in) would
    // overflow the subtraction: every count below 1 gives the empty run.
    return {sim_graphics_view.view_is_external ? 0 : 1, count < 1 ? -1 : count - 1};
}

void SCENE_draw_plane_range(int first, int last)
{
    if (PLUGIN_call_draw_hook(DRAW_PHASE_PLANES_BEFORE) != 0) {
        // terrain_height_m: the ground height under the user's plane, as the
        // simulation's frame last worked it out.
        ACF_draw_shadow(0, terrain_height_m);

        const sim_graphics_view_block& v = sim_graphics_view;
        // A run reaching outside the ten slots would read past the plane tables:
        // it is cut to them.
        first = std::max(first, 0);
        last = std::min(last, FLT_SLOTS - 1);
        for (int n = first; n <= last; ++n) {
            // A plane from the network whose states keep being refused is not
            // drawn where its last one left it.
            if (!NET_plane_shown(n)) continue;
            const flt_struct& f = flt[n];
            const float dx = f.local_x - v.view_x, dy = f.local_y - v.view_y, dz = f.local_z - v.view_z;
            if (!(std::sqrt(dx * dx + dz * dz) < v.visibility_effective_m)) continue;
            const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
            SCENE_draw_posed_plane(n, 0.01f * d < v.view_zoom * plane_size(n) ? 1 : 0);
        }

        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        for (int n = first; n <= last; ++n)
            for (int s = 0; s < ACF_WPN_SLOTS; ++s)
                if (pln[n].acf_wpn_slot[s].wpn_type != 0 && NET_plane_shown(n)) ACF_draw_weapon(n, s, 0);
    }
    PLUGIN_call_draw_hook(DRAW_PHASE_PLANES_AFTER);
}

void SCENE_draw_posed_plane(int n, int full)
{
    if (n < 0 || n >= FLT_SLOTS) return;   // no plane there: past the plane tables
    const flt_struct& f = flt[n];
    glPushMatrix();
    glTranslatef(f.local_x, f.local_y, f.local_z);
    glRotatef(-f.psi, 0.0f, 1.0f, 0.0f);
    glRotatef(-f.theta, -1.0f, 0.0f, 0.0f);
    glRotatef(-f.phi, 0.0f, 0.0f, 1.0f);
    ACF_draw_plane(n, full != 0 ? 1 : 0);
    glPopMatrix();
}

void ACF_draw_shadow(int n, float y)
{
    if (n < 0 || n >= FLT_SLOTS) return;   // no plane there: past the plane tables
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_SHADOW_FIRST + n, 0);
    const sim_graphics_misc_block& m = sim_graphics_misc;
    // Light levels that are no number would give the shadow an alpha that is
    // no number: it counts as 0 (no shadow).
    const float alpha =
        UTIL_clamp_nan_low(0.2f * (m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b), 0.0f, 0.75f);
    OGL_apply_color(SHADOW_COLOUR_ROW, alpha);

    const flt_struct& f = flt[n];
    glPushMatrix();
    glTranslatef(f.local_x, y, f.local_z);
    glRotatef(-f.psi, 0.0f, 1.0f, 0.0f);
    const float X = pln[n].acf_size_x * std::fabs(f.cos_phi);
    const float Z = pln[n].acf_size_z * std::fabs(f.cos_theta);
    // Laid on the ground, it is drawn up to the eye as the ground is (depth
    // clamping): the near plane would cut it off along a straight edge.
    glEnable(GL_DEPTH_CLAMP);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f), glVertex3f(-X, 0.0f, Z);
    glTexCoord2f(0.0f, 1.0f), glVertex3f(-X, 0.0f, -Z);
    glTexCoord2f(1.0f, 1.0f), glVertex3f(X, 0.0f, -Z);
    glTexCoord2f(1.0f, 0.0f), glVertex3f(X, 0.0f, Z);
    glEnd();
    glDisable(GL_DEPTH_CLAMP);
    glPopMatrix();
}
