// sim/weather/: the weather set and the air at the user's plane, and the
// storm seed.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/weather/. "Percent" values are fractions 0..1; layer 0 is the lowest.
constexpr int CLOUD_LAYERS = 2;
constexpr int WIND_LAYERS = 3;
// The largest rain, storm or turbulence share the weather words still call
// "little or none" (the next band up is "light").
constexpr float WEATHER_SHARE_NONE = 0.2f;
struct sim_weather_block {
    int32_t use_real_weather_bool;
    int32_t real_weather_request;     // cleared each frame the weather tab is shown
    int32_t has_real_weather_bool;    // "metar.rwx" was found at start-up
    float rain_percent;
    float thunderstorm_percent;
    float wind_turbulence_percent;
    float microburst_probability;
    float rate_change_percent;        // -1..1
    float visibility_reported_m;
    float temperature_sealevel_c;
    int32_t cloud_type[CLOUD_LAYERS];
    float cloud_tops_msl_m[CLOUD_LAYERS];
    float cloud_base_msl_m[CLOUD_LAYERS];
    float wind_altitude_msl_m[WIND_LAYERS];
    float wind_direction_degt[WIND_LAYERS];
    float wind_speed_kt[WIND_LAYERS];
    float shear_direction_degt[WIND_LAYERS];
    float shear_speed_kt[WIND_LAYERS];
    float turbulence[WIND_LAYERS];
    float wave_amplitude;             // m
    float wave_length;                // m
    float wave_speed;                 // m/s
    int32_t wave_dir;                 // degrees
    int32_t meteorite_density;        // choice
    int32_t runway_friction;          // runway condition choice
    float thermal_altitude_msl_m;
    float thermal_percent;
    float thermal_rate_ms;
    // The air at the user's plane, written by the systems step.
    float rho;                        // air density, kg/m^3
    float sigma;                      // density ratio to the sea-level standard
    float speed_of_sound_ms;          // speed of sound of the moment (published as sim/weather/gravity_mss)
    float temperature_ambient_c;      // air temperature at the plane, degrees C
    float temperature_le_c;           // air temperature at the wing's leading edge, degrees C
    // Precipitation at the user's plane (0..1), written by the weather at the plane.
    float precip_rain;
    float precip_hail;
    float precip_snow;
    // Sea-level dew point (degrees C), set by the weather reports.
    float dewpoi_sealevel_c;
    // The smoothed wind at the plane: its direction (degrees true, 0..360) and
    // horizontal speed (m/s, at most 999), kept apart from the wind layers.
    float wind_direction_at_plane_degt;
    float wind_speed_at_plane_ms;
};
extern sim_weather_block sim_weather;

// The storm seed: offset of the storm grid's noise, 0..1000, drawn by the
// simulation defaults and the weather screen, received from peers.
extern int32_t weather_seed;
