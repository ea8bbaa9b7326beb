// Weather at the user's plane (stage 6 of the systems step): real weather
// from the reports, the drift of the weather, the once-a-second wind sample
// with gusts, ridge lift and thermals, microbursts, the smoothed wind the
// flight model flies in, precipitation and storms at the plane, lightning.
//
// Reads: the weather block, the real-weather preferences, flt[0] position,
// heading and height above ground, the terrain vertex grid and the plane's
// cell, the storm grid, terrain_height_m, the frame and running clocks.
// Writes: the weather block (layers, clouds, visibility, rain, thunderstorm,
// turbulence, microburst probability, runway friction, pressure, wind and
// precipitation at the plane), wind_vector and gust_vector
// (flightmodel/systems/wind_at_plane.h) and the state below.
#pragma once

#include <cstdint>

#include "core/simvars/weather.h"
#include "flightmodel/systems/wind_at_plane.h"

constexpr int LIGHTNING_BOLTS = 4;
constexpr int LIGHTNING_BOLT_POINTS = 20;

// What the real weather eases toward.
struct weather_target_record {
    float visibility_m;
    float cloud_base_msl_m[CLOUD_LAYERS];
    float cloud_tops_msl_m[CLOUD_LAYERS];
    float rain_percent;
    float thunderstorm_percent;
};

struct weather_stage_state {
    bool targets_taken = false;             // the targets took the current weather on the first pass
    weather_target_record weather_target{};
    float next_metar_check_time = 0.0f;     // frame clock of the next report read
    int32_t metar_cell[2] = {-999, -999};   // whole degrees of latitude and longitude at the last read
    int32_t microburst_kind = 0;            // 0 none, 1..3 while one blows
    float microburst_start = 9.9e9f;        // running-time bounds, s
    float microburst_end = 9.9e9f;
    float microburst_outflow = 0.0f;        // m/s
    float microburst_downdraft = 0.0f;      // m/s
    int32_t microburst_active = 0;          // read by the panel
    float microburst_wind[3] = {};          // the wind it adds at the plane, local m/s
    float storm_level = 0.0f;               // storm intensity at the plane, 0..1 and above
    float windshield_impact_rate = 0.0f;    // precipitation striking the windshield, impacts per second
    float lightning_distance = 0.0f;        // nautical miles of the last strike
    float lightning_flash_end = 0.0f;       // frame clock at which the flash ends
    int32_t lightning_flash = 0;            // 1 on the frames that show the flash
    float lightning_bolts[LIGHTNING_BOLTS][LIGHTNING_BOLT_POINTS][3] = {};   // local metres
};
extern weather_stage_state weather_stage;
void WEATHER_reset();

// Stage 6, the whole weather pass.
void SYSTEMS_weather_at_plane();

// Parts of the pass, in their order.
void WEATHER_real_weather();
void WEATHER_drift();
void WEATHER_wind_sample();           // on the 1-second flag
void WEATHER_microburst();
void WEATHER_smooth_wind();
void WEATHER_precipitation();
void WEATHER_lightning();             // draws a strike on the 1-second flag, then the flash
// A strike drawn at this distance (nautical miles) and bearing (radians):
// bolts and flash when the storm there is strong enough, thunder by distance.
void WEATHER_lightning_strike(float distance_nm, float bearing_rad);
