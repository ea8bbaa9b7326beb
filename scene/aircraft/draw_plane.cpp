// ACF_draw_plane: the stages that draw one aircraft (its painted parts and
// gear doors, its lights, its propeller discs and flames) and the force
// overlay of the user's aircraft.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/draw_kit.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float LIT_ABOVE = 0.25f;   // share of night lighting above which the lit paint shows
constexpr int PAINT = 0, PAINT_LIT = 1, PAINT2 = 2, PAINT2_LIT = 3;   // the plane's four paint slots
constexpr int PAINT2_PARTS[][2] = {{20, 27}, {47, 52}};   // the parts painted from paint 2
constexpr float DOOR_S1 = 0.0f, DOOR_T1 = 0.3828125f, DOOR_S2 = 0.015625f, DOOR_T2 = 0.5078125f;
constexpr int BLADE_POSITIONS = 4;
constexpr int OVERLAY_THRUST = 1, OVERLAY_WINGS = 2, OVERLAY_BLADES = 4;

bool painted_from_paint2(int p)
{
    for (const auto& run : PAINT2_PARTS)
        if (p >= run[0] && p <= run[1]) return true;
    return false;
}

void bind_paint(int n, int first, bool lit_on_unit_1)
{
    OGL_bind_tex(TEX_SLOT_PAINT_FIRST + 4 * n + first, 0);
    if (lit_on_unit_1) OGL_bind_tex(TEX_SLOT_PAINT_FIRST + 4 * n + first + 1, 1);
}

void gear_doors(int n)
{
    const acf_struct& a = pln[n];
    if (n == 0 && flt[0].over_vle) return;   // torn off above the gear speed
    for (int d = 0; d < ACF_GEAR_DOORS; ++d) {
        if (a.acf_gear_door_typ[d] == 0) continue;
        const float* loc = &a.acf_gear_door_loc[3 * d];
        const float* c = &a.acf_gear_door_geo[12 * d];
        glPushMatrix();
        glTranslatef(loc[0], loc[1], loc[2]);
        glRotatef(-ACF_finite(a.acf_gear_door_axi_rot[d]), 0.0f, 1.0f, 0.0f);
        glRotatef(ACF_finite(a.acf_gear_door_ang_now[d]), 0.0f, 0.0f, 1.0f);
        glBegin(GL_QUADS);   // both faces
        OGL_quad_3d_tex(c, c + 3, c + 6, c + 9, DOOR_S1, DOOR_T1, DOOR_S2, DOOR_T2);
        OGL_quad_3d_tex(c + 9, c + 6, c + 3, c, DOOR_S1, DOOR_T1, DOOR_S2, DOOR_T2);
        glEnd();
        glPopMatrix();
    }
}

void model_pass(int n, bool lit)
{
    const acf_struct& a = pln[n];
    const sim_graphics_misc_block& m = sim_graphics_misc;
    if (a.acf_is_glossy) OGL_set_specular((m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b) * 0.5f);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    // At night the lit paint is added on texture unit 1. has_mul_tex_add is
    // the start-up flag of multitexturing with texture_env_add (the lit
    // texture flag of the drawers).
    const bool two = lit && has_mul_tex_add;
    if (two) {
        OGL_set_state(STATE_FOG_ON, 2, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        // A driver that named the extension but gave no entry point would be
        // called through an empty pointer and crash: unit 1 is then left as is.
        if (gl_entry::glActiveTextureARB) {
            gl_entry::glActiveTextureARB(GL_TEXTURE1_ARB);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
            gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
        }
    }
    // Texture order: every part of paint 2, then every part of paint.
    bind_paint(n, PAINT2, two);
    for (const auto& run : PAINT2_PARTS)
        for (int p = run[0]; p <= run[1]; ++p)
            if (ACF_part_present(n, p)) ACF_draw_part(n, p);
    bind_paint(n, PAINT, two);
    for (int p = PART_GEAR_LAST; p >= 0; --p) {
        if (painted_from_paint2(p) || (p >= GEO_SMALL_BODY_FIRST && p < PART_GEAR_FIRST)) continue;
        if (ACF_part_present(n, p)) ACF_draw_part(n, p);
    }
    gear_doors(n);
    if (two) OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    if (a.acf_is_glossy) OGL_set_specular(0.0f);
}

}  // namespace

void ACF_draw_plane(int n, int mode)
{
    // A slot outside 0..9 would index past the plane tables, and a plane whose
    // model was never prepared has no geometry to read: neither draws anything.
    if (n < 0 || n >= ACF_SLOTS || !ACF_geometry(n)) return;
    const bool full = mode == 1;   // any other mode draws as mode 0: the lights alone
    const bool lit = sim_graphics_scenery.percent_lights_on > LIT_ABOVE && pln[n].acf_has_litemap_tex != 0;
    if (full) model_pass(n, lit);
    ACF_draw_light_stage(n);
    if (full && n == 0) ACF_draw_jato_flame();
    if (full) ACF_draw_thrust_stage(n);
    if (n == 0) {
        OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        ACF_draw_force_overlay();
    }
}

void ACF_draw_force_overlay()
{
    const int level = sim_graphics_view.visibility_math_level;
    if (level < OVERLAY_THRUST) return;
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    // The count comes from the aircraft file: held to the eight thrust points
    // so that no index runs past the per-engine tables.
    const int points = util_clamp_int(a.acf_num_thrustpoints, 0, ACF_MAX_ENGINES);
    for (int i = 0; i < points; ++i) {
        glPushMatrix();
        glTranslatef(f.POINT_XYZ[3 * i], f.POINT_XYZ[3 * i + 1], f.POINT_XYZ[3 * i + 2]);
        const float* thrust = &f.force_XYZ[3 * ACF_el(i, 0)];
        ACF_draw_force_vector(0.0f, 0.0f, 0.0f, thrust[0], thrust[1], thrust[2], i, 0, false);
        if (level >= OVERLAY_BLADES && ACF_part_present(0, i)) {
            const int els = ACF_mesh_elements(0, i);
            for (int k = 0; k < BLADE_POSITIONS; ++k)
                for (int e = 0; e < els; ++e) {
                    const int at = ACF_el(i, e) * BLADE_POSITIONS + k;
                    const float ang = units.deg_to_rad * ACF_finite(f.del_dir[at]), v = f.v_el[at];
                    const float c = std::cos(ang), s = std::sin(ang);
                    // The blade radius at the element's middle.
                    float r = 0.0f;
                    for (int j = 0; j <= e; ++j) {
                        const float share = UTIL_min(UTIL_max(static_cast<float>(e) + 0.5f - static_cast<float>(j), 0.0f), 1.0f);
                        r += share * a.acf_element_len[i] *
                             std::cos(ACF_finite(a.acf_bladesweep[i * ACF_PROP_RINGS + j]) * DEG_TO_RAD_FLOAT);
                    }
                    const float pos[BLADE_POSITIONS][3] = {{0, r, 0}, {r, 0, 0}, {0, -r, 0}, {-r, 0, 0}};
                    const float vec[BLADE_POSITIONS][3] = {
                        {c * v, 0, s * v}, {0, -c * v, s * v}, {-c * v, 0, s * v}, {0, c * v, s * v}};
                    float P[3], V[3];
                    PHYS_rotate_by_cyclic(pos[k][0], pos[k][1], pos[k][2], &P[0], &P[1], &P[2], 0, i);
                    PHYS_rotate_by_cyclic(vec[k][0], vec[k][1], vec[k][2], &V[0], &V[1], &V[2], 0, i);
                    ACF_draw_force_vector(P[0], P[1], P[2], 3.0f * V[0], 3.0f * V[1], 3.0f * V[2], i, e, true);
                }
        }
        glPopMatrix();
    }
    if (level < OVERLAY_WINGS) return;
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(0, p)) continue;
        for (int e = 0; e < ACF_mesh_elements(0, p); ++e) {
            const acf_span_xyz at = ACF_span_point(0, p, static_cast<float>(e) + 0.5f);
            const float* force = &f.force_XYZ[3 * ACF_el(p, e)];
            ACF_draw_force_vector(at.x, at.y, at.z, force[0], force[1], force[2], p, e, false);
        }
    }
}
