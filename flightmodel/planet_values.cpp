#include "flightmodel/planet_values.h"

#include <limits>

#include "core/constants.h"
#include "flightmodel/atmosphere.h"

// The values a flight can be flown with. A value outside them, from a damaged
// file, typed on a screen or left in the shared records by a plug-in or a
// peer, would fly this and every later flight where no scenery can be built
// or flown: a radius of 1000 m puts every terrain point outside the loaded
// area, one of 3e38 the aircraft 8e25 m up, a gravity parameter of 0 leaves
// nothing falling, a sea-level pressure of 0 no air, and Mars' air on the
// Earth carries nothing. The bounds of the radius are where the Earth's
// scenery was still built and flown; the sea-level air's are each planet's
// own (flightmodel/atmosphere.h); the others lie an order of magnitude about
// the two planets' own values.
const planet_value_range planet_value_ranges[PLANET_VALUE_COUNT] = {
    {&sim_physics_block::earth_pressure_p,
     {SEA_LEVEL_PRESSURE_LOW_PA[0], SEA_LEVEL_PRESSURE_LOW_PA[1]},
     {SEA_LEVEL_PRESSURE_HIGH_PA[0], SEA_LEVEL_PRESSURE_HIGH_PA[1]},
     {STANDARD_SEA_LEVEL_PRESSURE_PA[0], STANDARD_SEA_LEVEL_PRESSURE_PA[1]}},
    {&sim_physics_block::earth_temp_c,
     {SEA_LEVEL_TEMP_LOW_C[0], SEA_LEVEL_TEMP_LOW_C[1]},
     {SEA_LEVEL_TEMP_HIGH_C[0], SEA_LEVEL_TEMP_HIGH_C[1]},
     {STANDARD_SEA_LEVEL_TEMP_C[0], STANDARD_SEA_LEVEL_TEMP_C[1]}},
    {&sim_physics_block::rho_sea_level, {0.005f, 0.005f}, {5.0f, 5.0f},
     {PLANET_SEA_LEVEL_DENSITY[0], PLANET_SEA_LEVEL_DENSITY[1]}},
    {&sim_physics_block::earth_radius_m, {3.0e6f, 3.0e6f}, {2.0e7f, 2.0e7f}, {PLANET_RADIUS_M[0], PLANET_RADIUS_M[1]}},
    {&sim_physics_block::mu_air, {1.0e-6f, 1.0e-6f}, {1.0e-4f, 1.0e-4f},
     {PLANET_AIR_VISCOSITY[0], PLANET_AIR_VISCOSITY[1]}},
    {&sim_physics_block::rho_water, {500.0f, 500.0f}, {2000.0f, 2000.0f},
     {PLANET_WATER_DENSITY[0], PLANET_WATER_DENSITY[1]}},
    {&sim_physics_block::earth_mu, {1.0e13f, 1.0e13f}, {1.0e15f, 1.0e15f}, {PLANET_GRAVITY_MU[0], PLANET_GRAVITY_MU[1]}},
};

namespace {

int planet_index(int32_t planet) { return planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

}  // namespace

void PLANET_value_bounds(float sim_physics_block::*value, int32_t planet, float& low, float& high)
{
    low = std::numeric_limits<float>::lowest();
    high = std::numeric_limits<float>::max();
    const int p = planet_index(planet);
    for (const planet_value_range& r : planet_value_ranges)
        if (r.value == value) {
            low = r.low[p];
            high = r.high[p];
        }
}

bool PLANET_hold_values(int32_t planet)
{
    const int p = planet_index(planet);
    bool held = false;
    for (const planet_value_range& r : planet_value_ranges) {
        float& v = sim_physics.*r.value;
        if (v >= r.low[p] && v <= r.high[p]) continue;
        v = r.own[p];
        held = true;
    }
    return held;
}
