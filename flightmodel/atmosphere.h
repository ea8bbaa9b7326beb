// Atmosphere and wind: the wind at an altitude from the three wind layers of
// the weather block, the sea-level density ratio, the air density and
// temperature at an altitude on the Earth or Mars, and the random drift of
// the wind layers. Also the storm grid laid over the loaded scenery area.
#pragma once

// Wind at an altitude (m above sea level) from the three layers of sim_weather
// (lowest first): below layer 0 its values, between two layers a straight-line
// blend, above layer 2 its values. The wind direction is blended along the
// shorter arc and returned in 0..360.
void ATMO_wind_at_alt(float altitude_m, float* speed, float* direction, float* shear_speed,
                      float* shear_direction, float* turbulence);

// Sea-level density ratio of the current planet from the sea-level pressure
// and temperature (1.0 for a planet other than the Earth and Mars).
float ATMO_temp_pressure();

// The sea-level air of each planet's standard atmosphere, the air its
// density table is for, is the planet's own (core/constants.h).
// The sea-level air each planet can have (index 0 the Earth, 1 Mars). The
// Earth's: from below the deepest storm's pressure to above the highest ever
// measured, from below the coldest day measured to above the hottest; Mars':
// from the thin air of its high plains to its deepest basin, from its polar
// winter to its summer noon. Outside them the air is no air of the planet
// flown: near no pressure the density ratio is almost zero, near absolute
// zero it runs away, and Mars' air on the Earth carries no aircraft.
constexpr float SEA_LEVEL_PRESSURE_LOW_PA[2] = {80000.0f, 300.0f};
constexpr float SEA_LEVEL_PRESSURE_HIGH_PA[2] = {110000.0f, 1500.0f};
constexpr float SEA_LEVEL_TEMP_LOW_C[2] = {-90.0f, -150.0f};
constexpr float SEA_LEVEL_TEMP_HIGH_C[2] = {60.0f, 40.0f};

// Air density in kg/m3 at an altitude (m); planet 0 the Earth, 1 Mars (any
// other number uses the Earth's table).
float ATMO_density_at_alt(int planet, float altitude_m);

// Air temperature in degrees C at an altitude (m) on the current planet,
// shifted so sea level has sim_weather.temperature_sealevel_c (0.0 for a
// planet other than the Earth and Mars).
float ATMO_temp_at_alt(float altitude_m);

// Moves the wind layers by a random step weighted by blend (0 keeps them,
// 1 replaces them), scaled by sim_weather.wind_turbulence_percent.
void ATMO_turbulence(float blend);

// The storm grid: 256 x 256 storm strengths over the loaded scenery area,
// index column x * 256 + row z (column 0 at the west edge, row 0 at the south
// edge). Read as storm strength 0..1 and above; stored in the preference files.
constexpr int STORM_GRID_DIM = 256;
constexpr int STORM_GRID_CELLS = STORM_GRID_DIM * STORM_GRID_DIM;
extern float storm_grid[STORM_GRID_CELLS];

// Storm-grid cell of a local position (column 0..255 from x, row 0..255 from z).
int ATMO_storm_cell_x(float x);
int ATMO_storm_cell_z(float z);
// Rebuilds block (bx, bz) of the storm grid from the storm seed.
void ATMO_storm_grid_tile(int bx, int bz);
