// The airport drawers' shared pieces.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/units.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/airport_draw.h"
#include "scene/airport/worldobj.h"
#include "scene/terrain/landing_light.h"
#include "scene/view_setup.h"
#include "world/apt_scene.h"

void AIRPORT_tex(int unit, float s, float t)
{
    if (cur_tex_units <= 1 || !gl_entry::glMultiTexCoord2fARB) {
        if (unit == 0) glTexCoord2f(s, t);
        return;
    }
    if (unit >= 0 && unit < cur_tex_units) gl_entry::glMultiTexCoord2fARB(GL_TEXTURE0_ARB + unit, s, t);
}

void AIRPORT_splash_tex(int unit, float x, float z)
{
    const landing_splash_projection_record& p = landing_splash_projection;
    const float dx = x - p.centre_x, dz = z - p.centre_z;
    AIRPORT_tex(unit, dx * p.u_per_x + dz * p.u_per_z + 0.5f, dx * p.v_per_x + dz * p.v_per_z + 0.5f);
}

void AIRPORT_modulate(int unit)
{
    const bool select = unit != 0 && gl_entry::glActiveTextureARB && unit < num_tex_units;
    if (unit != 0 && !select) return;
    if (select) gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (select) gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
}

bool AIRPORT_unpaved(int surface)
{
    switch (surface) {
    case TEX_SLOT_LINE_GRASS:
    case TEX_SLOT_LINE_DIRT:
    case TEX_SLOT_LINE_GRAVEL:
    case TEX_SLOT_LINE_LAKEBED:
    case TEX_SLOT_HELIPAD_GRASS:
    case TEX_SLOT_HELIPAD_DIRT: return true;
    default: return false;
    }
}

void AIRPORT_on_sphere(float lat, float lon, double radius, float out[3])
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double re = sim_physics.earth_radius_m;
    const double phi0 = (lat_ref + reference_lat_offset[planet]) * DEG_TO_RAD_DOUBLE;
    const double lambda0 = (lon_ref + reference_lon_offset[planet]) * DEG_TO_RAD_DOUBLE;
    const double phi = lat * DEG_TO_RAD_DOUBLE;
    const double dl = UTIL_wrap_nearest(lon * DEG_TO_RAD_DOUBLE - lambda0, 2.0 * M_PI);
    out[0] = static_cast<float>(radius * std::cos(phi) * std::sin(dl));
    out[1] = static_cast<float>(
        radius * (std::cos(phi) * std::cos(dl) * std::cos(phi0) + std::sin(phi) * std::sin(phi0)) - re);
    out[2] = static_cast<float>(-radius * (std::sin(phi) * std::cos(phi0) - std::cos(phi) * std::cos(dl) * std::sin(phi0)));
}

float WORLDOBJ_slope_angle(int code)
{
    constexpr float angles[10] = {2.5f, 3.5f, 2.6f, 2.9f, 3.1f, 3.4f, 17.0f, 19.0f, 21.0f, 23.0f};
    return code >= 94 && code <= 103 ? angles[code - 94] : 0.0f;
}
