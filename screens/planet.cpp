// The planet constants: the Earth's or Mars' physical values, as the planet
// screen's two presets give them.
#include "screens/setup.h"

#include "core/simvars.h"

void PLANET_set_constants(int planet)
{
    sim_graphics_scenery.current_planet = planet;
    if (planet == 0) {
        sim_physics.earth_mu = 3.986012e14f;
        sim_physics.earth_radius_m = 6378145.0f;
        sim_physics.mu_air = 1.7894e-05f;
        sim_physics.rho_water = 1000.0f;
        sim_physics.earth_temp_c = 15.0f;
        sim_physics.earth_pressure_p = 101325.0f;
        sim_physics.rho_sea_level = 1.225f;
        sim_cockpit_misc.barometer_setting = 29.92f;
    } else if (planet == 1) {
        sim_physics.earth_mu = 4.2845e13f;
        sim_physics.earth_radius_m = 3396200.0f;
        sim_physics.mu_air = 1.7894e-05f;
        sim_physics.rho_water = 1000.0f;
        sim_physics.earth_temp_c = -60.0f;
        sim_physics.earth_pressure_p = 920.0f;
        sim_physics.rho_sea_level = 0.01505f;
        sim_cockpit_misc.barometer_setting = 0.3676f;
    }
}
