// Screen 22, the planet constants: shows and edits the Earth's or Mars'
// physical values, with a preset button for each planet (core/constants.h).
//
// Writes sim_physics (gravity parameter, radius, air viscosity, water density,
// sea-level temperature, pressure and density, sea-level gravity), through
// the presets also sim_graphics_scenery.current_planet and the barometer
// setting.
#include "screens/setup.h"

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "graphics/button.h"
#include "flightmodel/planet_values.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"

namespace {

// The planet screen's captions, in the program's own words.
constexpr const char* EARTH_BUTTON = "Earth";
constexpr const char* MARS_BUTTON = "Mars";

// The gravity parameter is shown in 10^14 m3/s2, the radius in km.
constexpr float MU_SHOWN = 1e14f;
constexpr float RADIUS_SHOWN = 1000.0f;

// A field over one planet value, shown divided by `shown`, held to the
// value's range on the planet flown.
int field(float x, float y, float sim_physics_block::*value, float shown, int digits, int decimals,
          const char* label)
{
    float low = 0.0f, high = 0.0f;
    PLANET_value_bounds(value, sim_graphics_scenery.current_planet, low, high);
    return BTN_digit_field(x, y, &(sim_physics.*value), digits, decimals, low / shown, high / shown, label);
}

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

    // Shown in 10^14 m3/s2 and km, stored in SI units. Each value is held to
    // the range the preferences hold it to on the planet flown: taken as
    // typed, a pressure or gravity of 0 (or a temperature of -9999 degrees)
    // would be flown at once, and refused only at the next start.
    p.earth_mu /= MU_SHOWN;
    p.earth_radius_m /= RADIUS_SHOWN;
    field(100.0f, 365.0f, &sim_physics_block::earth_mu, MU_SHOWN, 6, 5, "mu 10^14");
    field(100.0f, 315.0f, &sim_physics_block::earth_radius_m, RADIUS_SHOWN, 6, 0, "radius km");
    field(100.0f, 265.0f, &sim_physics_block::mu_air, 1.0f, 8, 7, "air viscosity");
    field(100.0f, 215.0f, &sim_physics_block::rho_water, 1.0f, 4, 0, "water density");
    if (field(100.0f, 165.0f, &sim_physics_block::earth_temp_c, 1.0f, 4, 0, "sea-level temp C"))
        sim_weather.temperature_sealevel_c = p.earth_temp_c;   // the same value's second store, as above
    field(100.0f, 115.0f, &sim_physics_block::earth_pressure_p, 1.0f, 8, 0, "sea-level pressure Pa");
    field(100.0f, 65.0f, &sim_physics_block::rho_sea_level, 1.0f, 8, 4, "sea-level density");
    p.earth_mu *= MU_SHOWN;
    p.earth_radius_m *= RADIUS_SHOWN;
}
