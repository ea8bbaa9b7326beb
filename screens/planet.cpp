// Screen 22, the planet constants: shows and edits the Earth's or Mars'
// physical values, with a preset button for each planet (core/constants.h).
//
// Writes sim_physics (gravity parameter, radius, air viscosity, water density,
// sea-level temperature, pressure and density, sea-level gravity), through
// the presets also sim_graphics_scenery.current_planet and the barometer
// setting.
#include "screens/setup.h"

#include "core/constants.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "graphics/button.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"

namespace {

// The planet screen's captions, in the program's own words.
constexpr const char* EARTH_BUTTON = "Earth";
constexpr const char* MARS_BUTTON = "Mars";

}  // namespace

void SETUP_planet()
{
    BTN_screen_frame(1, 18);
    SCREEN_place_box(0.0f, 13, 10.0f, 10.0f, -1.0f, -1.0f, "");

    sim_physics_block& p = sim_physics;
    // Without a radius (a value set from outside) the division would make the
    // sea-level gravity infinite; it keeps its last value then.
    if (p.earth_radius_m > 0.0f) p.g_sealevel = p.earth_mu / (p.earth_radius_m * p.earth_radius_m);

    if (BTN_push_button(300.0f, 365.0f, 0, 1, EARTH_BUTTON)) PLANET_set_constants(0);
    if (BTN_push_button(300.0f, 315.0f, 0, 1, MARS_BUTTON)) PLANET_set_constants(1);
    BTN_digit_field_auto(250.0f, 265.0f, &p.g_sealevel, 8, 4, 0, "g m/s2");

    // Shown in 10^14 m3/s2 and km, stored in SI units.
    p.earth_mu /= 1e14f;
    p.earth_radius_m /= 1000.0f;
    BTN_digit_field_auto(100.0f, 365.0f, &p.earth_mu, 6, 5, 0, "mu 10^14");
    // The radius is held at 1 km or more: a radius of 0 would make the gravity
    // of the next frame infinite, and with it every weight.
    BTN_digit_field(100.0f, 315.0f, &p.earth_radius_m, 6, 0, 1.0f, BTN_digit_field_auto_max(6, 0), "radius km");
    BTN_digit_field_auto(100.0f, 265.0f, &p.mu_air, 8, 7, 0, "air viscosity");
    BTN_digit_field_auto(100.0f, 215.0f, &p.rho_water, 4, 0, 0, "water density");
    if (BTN_digit_field_auto(100.0f, 165.0f, &p.earth_temp_c, 4, 0, 1, "sea-level temp C"))
        sim_weather.temperature_sealevel_c = p.earth_temp_c;   // the same value's second store, as above
    BTN_digit_field_auto(100.0f, 115.0f, &p.earth_pressure_p, 8, 0, 0, "sea-level pressure Pa");
    // The density is held at 0.0001 or more: a density of 0 would divide the
    // start speeds of the flight starts by zero (an infinite approach speed).
    BTN_digit_field(100.0f, 65.0f, &p.rho_sea_level, 8, 4, 0.0001f, BTN_digit_field_auto_max(8, 4),
                    "sea-level density");
    p.earth_mu *= 1e14f;
    p.earth_radius_m *= 1000.0f;
}
