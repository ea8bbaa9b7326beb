// sim/physics/: the planet constants.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/physics/: the planet constants.
struct sim_physics_block {
    float earth_pressure_p;   // sea-level pressure, pascals
    float earth_temp_c;       // sea-level temperature, degrees C
    float rho_sea_level;      // sea-level air density, kg/m^3
    float earth_radius_m;
    float mu_air;             // air viscosity
    float rho_water;
    float earth_mu;           // gravity parameter
    float g_sealevel;
    float ambient_pressure;   // static pressure at the user's plane, pascals (written by the systems step)
};
extern sim_physics_block sim_physics;
