// The ship navaids, the air at the user's plane and the magnetic variation.
#include "flightmodel/systems/environment.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "world/ships.h"
#include "world/atc/atc_state.h"
#include "world/navdb.h"

const float carrier_nav_offset[3] = {0.0f, 17.0f, 100.0f};
float camera_rel_carrier[3] = {};

void ENV_carrier_camera_reset()
{
    for (float& v : camera_rel_carrier) v = 0.0f;
}
ORVELL_RESET(ENV_carrier_camera_reset, flight);

namespace {

constexpr float DECK_HEIGHT_M = 17.0f;         // the carrier's deck above its reference point
constexpr float FRIGATE_ANTENNA_FWD_M = 55.0f;
constexpr float FRIGATE_ANTENNA_UP_M = 7.0f;
constexpr float SEA_LEVEL_RHO = 1.225f;
constexpr float KELVIN = 273.15f;
constexpr float GAMMA_AIR = 1.4f;
constexpr float GRID_DEG = 5.0f;

void place_ship_navaids(int first, float x, float y, float z)
{
    float lat = 0.0f, lon = 0.0f, elev = 0.0f;
    GEO_local_to_latlon(lat, lon, elev, x, y, z);
    for (int k = first; k < first + 3; ++k) {
        navaid_record& n = navaid_table[static_cast<size_t>(k)];
        n.height = elev;
        n.lat = lat;
        n.lon = lon;
    }
}

// Along one axis of the cell: v0 + fraction x (v1 - v0) over a span of 5
// degrees (the mean of the two for a span of zero, which the grid never has).
float along(float v0, float v1, float offset, float span)
{
    if (span == 0.0f) return 0.5f * (v0 + v1);
    return v0 + offset * (v1 - v0) / span;
}

}  // namespace

void SYSTEMS_ship_navaids()
{
    camera_rel_carrier[0] = sim_graphics_view.view_x - ship_x[SHIP_CARRIER];
    camera_rel_carrier[1] = sim_graphics_view.view_y - ship_y[SHIP_CARRIER] - DECK_HEIGHT_M;
    camera_rel_carrier[2] = sim_graphics_view.view_z - ship_z[SHIP_CARRIER];
    // The landing-signal officer reads the same offsets from the ATC state.
    atc_state.atc_carrier_dx = camera_rel_carrier[0], atc_state.atc_carrier_dy = camera_rel_carrier[1],
    atc_state.atc_carrier_dz = camera_rel_carrier[2];
    // A navaid table shorter than the six ship records (a damaged navaid
    // file) would be written past its end: the ship navaids are then not placed.
    if (navaid_table.size() < static_cast<size_t>(NAV_SHIP_NAVAIDS)) return;

    const float h0 = ship_heading[SHIP_CARRIER] * DEG_TO_RAD_FLOAT;
    const float ox = carrier_nav_offset[0], oy = carrier_nav_offset[1], oz = carrier_nav_offset[2];
    place_ship_navaids(0, ship_x[SHIP_CARRIER] + ox * std::cos(h0) - oz * std::sin(h0), ship_y[SHIP_CARRIER] + oy,
                       ship_z[SHIP_CARRIER] + oz * std::cos(h0) + ox * std::sin(h0));

    const float h1 = ship_heading[SHIP_FRIGATE] * DEG_TO_RAD_FLOAT;
    place_ship_navaids(3, ship_x[SHIP_FRIGATE] - FRIGATE_ANTENNA_FWD_M * std::sin(h1),
                       ship_y[SHIP_FRIGATE] + FRIGATE_ANTENNA_UP_M,
                       ship_z[SHIP_FRIGATE] + FRIGATE_ANTENNA_FWD_M * std::cos(h1));
}

void SYSTEMS_air_at_plane()
{
    flt_struct& f = flt[0];
    sim_weather_block& w = sim_weather;
    const float T = ATMO_temp_at_alt(f.elevation);
    w.temperature_ambient_c = T;
    const float M = f.machno;
    w.temperature_le_c = w.sigma == 0.0f ? T : (T + KELVIN) * (1.0f + 0.2f * M * M) - KELVIN;

    const float r = ATMO_temp_pressure();
    w.rho = ATMO_density_at_alt(sim_graphics_scenery.current_planet, f.elevation) * r;
    w.sigma = w.rho / SEA_LEVEL_RHO;
    // A temperature below absolute zero (a sea-level temperature set from
    // outside) would make the root NaN and spread into every engine and
    // instrument: the kelvins are held at 0 or more.
    const float kelvin = std::max(T + KELVIN, 0.0f);
    w.speed_of_sound_ms = std::sqrt(GAMMA_AIR * R * kelvin);
    const float radius = f.local_y + sim_physics.earth_radius_m;
    // A radius of 0 or less (a planet radius edited on the planet screen)
    // would make the gravity infinite and every weight with it: the gravity
    // keeps its last value then.
    if (radius > 0.0f) sim_physics.g_sealevel = sim_physics.earth_mu / (radius * radius);
    sim_physics.ambient_pressure = w.rho * R * kelvin;
}

float SYSTEMS_magvar_at(float latitude, float longitude)
{
    // A position that is not finite would make the variation NaN, and with it
    // the magnetic heading and every compass: it reads 0 there.
    if (!std::isfinite(latitude) || !std::isfinite(longitude)) return 0.0f;
    const float lat0 = std::clamp(GRID_DEG * static_cast<float>(GEO_round(latitude / GRID_DEG - 0.5f)), -90.0f, 85.0f);
    const float lon0 = std::clamp(GRID_DEG * static_cast<float>(GEO_round(longitude / GRID_DEG - 0.5f)), -180.0f, 175.0f);
    const int i = std::clamp(GEO_round((lat0 + 90.0f) / GRID_DEG), 0, MAGVAR_ROWS - 2);
    const int j = std::clamp(GEO_round((lon0 + 180.0f) / GRID_DEG), 0, MAGVAR_COLS - 2);
    const float west = along(magvar_table[i][j], magvar_table[i + 1][j], latitude - lat0, GRID_DEG);
    const float east = along(magvar_table[i][j + 1], magvar_table[i + 1][j + 1], latitude - lat0, GRID_DEG);
    return along(west, east, longitude - lon0, GRID_DEG);
}

void SYSTEMS_magnetic_variation()
{
    flt_struct& f = flt[0];
    float v = 0.0f;
    if (sim_graphics_scenery.current_planet != PLANET_MARS) v = SYSTEMS_magvar_at(f.latitude, f.longitude);
    sim_flightmodel_position.magnetic_variation = v;
    f.magpsi = UTIL_wrap_floor(f.psi + v, 360.0f);
}
