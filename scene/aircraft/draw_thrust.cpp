// The thrust stage of an aircraft: the translucent disc of every fast
// propeller, the exhaust flames of burning jets and rockets, and the user's
// take-off rockets.
#include <GL/gl.h>

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/draw_kit.h"
#include "aircraft/part_presence.h"

namespace {

constexpr int DISC_STEP_DEG = 10;
constexpr int DISC_COLOUR_ROW = 33;          // black, tinted by the scene's light
constexpr float DISC_ALPHA = 0.2f;
constexpr float DISC_ALPHA_FROM_COCKPIT = 0.1f;
constexpr float MACH_FAST_BURNER = 2.0f;     // from this design Mach the burner flame is the fast one

// Engine types with flames of their own.
bool is_rocket(int type) { return ENGINE_type_is_rocket(type); }

// Square root that takes a negative or missing value as 0: the plain root
// would give NaN there and the flame would be drawn with no number for a size.
float root(float v) { return v > 0.0f ? std::sqrt(v) : 0.0f; }

void draw_disc(int n, int i)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    ACF_hub_frame(n, i);
    glRotatef(-ACF_finite(f.vertcant[i]), -1.0f, 0.0f, 0.0f);
    glRotatef(-ACF_finite(f.sidecant[i]), 0.0f, 1.0f, 0.0f);
    glRotatef(ACF_finite(f.tire_prop_rot[i]), 0.0f, 0.0f, 1.0f);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    const bool own_cockpit = n == 0 && sim_graphics_view.view_is_external == 0;
    OGL_apply_color(DISC_COLOUR_ROW, own_cockpit ? DISC_ALPHA_FROM_COCKPIT : DISC_ALPHA);
    OGL_bind_tex(TEX_SLOT_PROP_DISC, 0);

    // Hub to tip of the swept blade; coning lifts the rim out of the hub's plane.
    float X = 0.0f, Z = 0.0f;
    for (int j = 0; j < ACF_mesh_elements(n, i); ++j) {
        const float sweep = ACF_finite(a.acf_bladesweep[i * ACF_PROP_RINGS + j]) * DEG_TO_RAD_FLOAT;
        X += std::cos(sweep);
        Z += std::sin(sweep);
    }
    X *= a.acf_element_len[i];
    Z *= a.acf_element_len[i];
    const float r = ACF_finite(std::sqrt(X * X + Z * Z));
    const float cone = ACF_finite(f.POINT_cone_rad[i]);
    const float R = r * std::cos(cone), h = -r * std::sin(cone);
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(0.5f, 0.5f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    for (int deg = 0; deg <= 360; deg += DISC_STEP_DEG) {
        glTexCoord2f(0.5f + 0.5f * degree_sin[deg], 0.5f + 0.5f * degree_cos[deg]);
        glVertex3f(R * degree_sin[deg], R * degree_cos[deg], h);
    }
    glEnd();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

void draw_exhaust(int n, int i)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const int type = a.acf_en_type[i];
    const bool rocket = is_rocket(type);
    const float burner = ACF_finite(f.ENGN_burnrat[i]);
    const float r0 = root(rocket ? a.acf_face_rocket : a.acf_face_jet) / pi;
    float length, strength;
    if (rocket) {
        const float throttle = ACF_finite(f.ENGN_thro_use[i]);
        length = r0 * 30.0f * throttle;
        strength = root(throttle);
    } else {   // the burner flame is fainter in bright light
        const sim_graphics_misc_block& m = sim_graphics_misc;
        length = r0 * 15.0f * (0.5f * burner + 0.5f);
        strength = (0.8f - 0.2f * (m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b)) * burner;
    }
    // Every burning engine that is no rocket takes the jet flames.
    const int slot = rocket ? TEX_SLOT_FLAME_ROCKET_LIQUID
                            : (a.acf_max_mach_eff >= MACH_FAST_BURNER ? TEX_SLOT_FLAME_BURNER_FAST : TEX_SLOT_FLAME_BURNER_SLOW);
    const float x = f.POINT_XYZ[3 * i], y = f.POINT_XYZ[3 * i + 1], z = f.POINT_XYZ[3 * i + 2];
    if (type != ENGINE_TIP_ROCKET) {
        ACF_draw_flame(slot, n, i, x, y, z, f.vertcant[i], f.sidecant[i], 0.0f, length, r0, strength);
        return;
    }
    // Tip rockets: a flame at every blade tip, turned with the rotor (and
    // smeared round it once the rotor is a blur).
    // A blade count of 0, below 0 or no number would make the step infinite,
    // negative or NaN, and a negative step would never end the loop: such a
    // rotor draws no flames. ACF_blade_count also holds the count to 100, so a
    // damaged file cannot ask for flames by the million.
    const float blades = ACF_blade_count(n, i);
    if (!(blades > 0.0f)) return;
    const float step = 360.0f / blades;
    const bool blur = ACF_finite(f.POINT_tacrad[i]) > ACF_DISC_SPEED_RADPS;
    for (int k = 0; static_cast<float>(k) * step < 360.0f; ++k) {
        const float jitter = blur ? static_cast<float>(UTIL_rand()) * 360.0f / static_cast<float>(UTIL_RAND_MAX) : 0.0f;
        const float roll = static_cast<float>(k) * step + ACF_finite(f.tire_prop_rot[i]) + jitter;
        ACF_draw_flame(slot, n, i, x, y, z, f.vertcant[i], f.sidecant[i], roll, length, r0, strength);
    }
}

}  // namespace

void ACF_draw_jato_flame()
{
    const acf_struct& a = pln[0];
    if (!sim_cockpit_switches.jato_on) return;
    const float T = root(a.acf_jato_thrust);
    ACF_draw_flame(TEX_SLOT_FLAME_ROCKET_SOLID, 0, -1, 0.0f, a.acf_jato_Y, a.acf_jato_Z, a.acf_jato_theta, 0.0f, 0.0f,
                   0.01f * T, 0.001f * T, 1.0f);
}

void ACF_draw_thrust_stage(int n)
{
    // The count comes from the aircraft file: held to the eight thrust points
    // so that no index runs past the per-engine tables.
    const int points = util_clamp_int(pln[n].acf_num_thrustpoints, 0, ACF_MAX_ENGINES);
    const flt_struct& f = flt[n];
    for (int i = 0; i < points; ++i) {
        if (ACF_part_present(n, i) && ACF_finite(f.POINT_tacrad[i]) > ACF_DISC_SPEED_RADPS) draw_disc(n, i);
        const bool burning = ACF_finite(f.ENGN_burnrat[i]) > 0.0f || is_rocket(pln[n].acf_en_type[i]);
        if (ACF_part_present_thrust(n, i) && f.ENGN_running[i] != 0 && burning) draw_exhaust(n, i);
    }
}
