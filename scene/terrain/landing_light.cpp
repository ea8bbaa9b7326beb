#include "scene/terrain/landing_light.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "scene/scene_state.h"
#include "world/navdb.h"
#include "world/sky_colors.h"

int32_t landing_splash_on = 0;
landing_splash_projection_record landing_splash_projection{};
landing_light_kept_record landing_light_kept{};

void LIGHTS_landing_reset()
{
    landing_splash_on = 0;
    landing_splash_projection = landing_splash_projection_record{};
    landing_light_kept = landing_light_kept_record{};
}
ORVELL_RESET(LIGHTS_landing_reset, scene);

// acf_lanlite_psi, acf_lanlite_power, acf_lanlite_spread and acf_lanlite_steers
// are the aircraft record's words at 2240, 2244, 2248 and 2276, which the file
// layout lists without names.
float ACF_lanlite_psi(const acf_struct& a) { return a.acf_unpub_2240; }
float ACF_lanlite_power(const acf_struct& a) { return a.acf_unpub_2244; }
float ACF_lanlite_spread(const acf_struct& a) { return a.acf_unpub_2248; }
int ACF_lanlite_steers(const acf_struct& a) { return a.acf_unpub_2276; }

namespace {

constexpr float DARK_SUM = 0.4f;            // the light acts while the light levels sum to this or less
constexpr float LOWEST_BEAM_DEG = -1.0f;    // the beam always points at least this far below the horizon
constexpr float POWER_MIN = 0.01f;
constexpr float POWER_MAX = 10.0f;
constexpr int DAYLIGHT_ROW = 0;             // the sky state of the Earth by day

float tan_deg(float d) { return std::tan(d * DEG_TO_RAD_FLOAT); }

float selected_airport_elevation()
{
    const int32_t a = start_selection.airport_index;
    // No airport selected (or an index past the table) would read past the
    // airport table: the height then counts from sea level.
    if (a < 0 || static_cast<size_t>(a) >= airport_table.size()) return 0.0f;
    return airport_table[static_cast<size_t>(a)].elevation;
}

// The beam and where it meets the ground; false when it finds no ground (the
// light at the airport's height, a beam with no width, or a value that is no
// number).
bool place_splash(const flt_struct& f, const acf_struct& a, float dx, float dy, float dz)
{
    const float sin_phi = f.sin_phi, cos_phi = f.cos_phi;
    const float the = a.acf_lanlite_the, psi = ACF_lanlite_psi(a);
    const float e = the * cos_phi + f.theta - psi * sin_phi;
    float h_deg = psi * cos_phi + f.psi + the * sin_phi;
    if (ACF_lanlite_steers(a)) h_deg += f.nosewheel_steer * cos_phi;   // the beam turns with the nose wheel
    const float h = h_deg * DEG_TO_RAD_FLOAT;
    const float W = ACF_lanlite_spread(a);
    const float e_lo = std::min(e - W, LOWEST_BEAM_DEG);
    const float e_c = std::min(e, LOWEST_BEAM_DEG);

    const float H = f.elevation - selected_airport_elevation() + dy;
    const float d_near = H * tan_deg(90.0f + e_lo);
    const float d_c = H * tan_deg(90.0f + e_c);
    const float w = std::sqrt(H * H + d_c * d_c) * tan_deg(W);
    const float len = w / std::cos((90.0f + e_c) * DEG_TO_RAD_FLOAT);
    const float c = d_near + 0.5f * len;
    const float g = std::clamp(0.35f - 0.0072222f * e_c, 0.35f, 1.0f);

    landing_splash_projection_record p;
    p.centre_x = f.local_x + dx + c * std::sin(h);
    p.centre_z = f.local_z + dz - c * std::cos(h);
    p.u_per_x = g * std::cos(h) / w;
    p.u_per_z = g * std::sin(h) / w;
    p.v_per_x = std::sin(h) / len;
    p.v_per_z = -std::cos(h) / len;
    const float all[] = {e, h, W, H, d_near, w, len, c, p.centre_x, p.centre_z, p.u_per_x, p.u_per_z, p.v_per_x, p.v_per_z};
    if (std::any_of(std::begin(all), std::end(all), [](float v) { return !std::isfinite(v); }))
        return false;
    landing_splash_projection = p;
    return true;
}

}  // namespace

void LIGHTS_setup_gl_landing(int on, int full)
{
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const sim_graphics_misc_block& m = sim_graphics_misc;

    // Whether the light shines: switched on, and dark enough.
    const bool switched = f.landing_lights_on != 0 || f.taxi_light_on != 0;
    const bool dark = m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b <= DARK_SUM;
    const bool lit = on != 0 && switched && dark;
    if (lit)
        glEnable(GL_LIGHT1);
    else if (glIsEnabled(GL_LIGHT1))
        glDisable(GL_LIGHT1);

    // Place the light and its splash.
    if (lit && full != 0) {
        float dx = 0.0f, dy = 0.0f, dz = 0.0f;
        PHYS_body_to_local(a.acf_lanlite1X, a.acf_lanlite1Y, a.acf_lanlite1Z, &dx, &dy, &dz, 0);
        landing_light_kept.projection_valid = place_splash(f, a, dx, dy, dz) ? 1 : 0;

        const float g = gload_dim_factor;
        const GLfloat colour[4] = {g, g, g, 1.0f};
        const GLfloat position[4] = {f.local_x + dx, f.local_y + dy, f.local_z + dz, 1.0f};
        glLightfv(GL_LIGHT1, GL_AMBIENT, colour);
        glLightfv(GL_LIGHT1, GL_DIFFUSE, colour);
        glLightfv(GL_LIGHT1, GL_POSITION, position);
        const float power = ACF_lanlite_power(a);
        // A range factor that is no number (from the aircraft file) passes the
        // clamp as no number and would give light 1 an attenuation of no
        // number: it counts as the old files' default 1.0.
        const float p = std::isfinite(power) ? std::clamp(power, POWER_MIN, POWER_MAX) : 1.0f;
        glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.01f / p);

        for (int k = 0; k < 3; ++k) surface_tint[k] = sky_state_colour_table[DAYLIGHT_ROW][k];
    }

    // The splash shows while the light does and its projection is good. With
    // the light at the airport's height (H = 0) or a beam of no spread, the
    // projection divides by zero, and flagged on it would paint the splash
    // texture over the ground at infinite or no-number coordinates: the light
    // still shines but the splash stays off until a full set-up finds ground.
    landing_splash_on = lit && landing_light_kept.projection_valid ? 1 : 0;
}
