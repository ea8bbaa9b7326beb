// The STAT block: the shared state that peers keep in step, as it travels in
// the "STAT" datagram (little-endian 32-bit words, 1,564 bytes). The cycle
// fills and sends it (shell/cycle.h) and keeps its last-sent copy to detect
// changes; the network's receive side reads it. The field offsets the
// datagram fixes are checked in core/stat_record_layout_check.cpp.
#pragma once

#include <cstdint>

#include "core/failure_slots.h"
#include "core/simvars/weather.h"

constexpr int STAT_FAILURES = FAILURE_SLOTS;   // one entry per slot of the failure table
struct stat_block {
    int32_t paused;
    int32_t draw_aircrafts;
    float zulu_time_sec;
    float local_date_days;
    int32_t cloud_type[CLOUD_LAYERS];
    float cloud_tops_msl_m[CLOUD_LAYERS];
    float cloud_base_msl_m[CLOUD_LAYERS];
    float wind_altitude_msl_m[WIND_LAYERS];
    float turbulence[WIND_LAYERS];
    float wind_direction_degt[WIND_LAYERS];
    float wind_speed_kt[WIND_LAYERS];
    float shear_direction_degt[WIND_LAYERS];
    float shear_speed_kt[WIND_LAYERS];
    float visibility_reported_m;
    float rain_percent;
    float thunderstorm_percent;
    int32_t weather_seed;
    float temperature_sealevel_c;
    float earth_pressure_p;
    float wave_amplitude;
    float wave_length;
    float wave_speed;
    float wave_dir;
    float m_fixed;
    float m_fuel[3];
    float m_jettison;
    int32_t failures[STAT_FAILURES];
    float failure_countdown[STAT_FAILURES];
};
constexpr int STAT_BLOCK_BYTES = 1564;
static_assert(sizeof(stat_block) == STAT_BLOCK_BYTES);

// Copies the weather fields the STAT block and the weather record share by
// name (cloud and wind layers, visibility, rain, storms and the waves' size
// and speed) from one to the other: the cycle fills the block from the
// weather, the receive side the weather from the block. The sea-level
// temperature word is filled and read by each side itself: the cycle sends
// the weather's, the receive side stores it as the planet's.
template <class To, class From>
void STAT_copy_weather(To& to, const From& from)
{
    for (int l = 0; l < CLOUD_LAYERS; ++l) {
        to.cloud_type[l] = from.cloud_type[l];
        to.cloud_tops_msl_m[l] = from.cloud_tops_msl_m[l];
        to.cloud_base_msl_m[l] = from.cloud_base_msl_m[l];
    }
    for (int l = 0; l < WIND_LAYERS; ++l) {
        to.wind_altitude_msl_m[l] = from.wind_altitude_msl_m[l];
        to.turbulence[l] = from.turbulence[l];
        to.wind_direction_degt[l] = from.wind_direction_degt[l];
        to.wind_speed_kt[l] = from.wind_speed_kt[l];
        to.shear_direction_degt[l] = from.shear_direction_degt[l];
        to.shear_speed_kt[l] = from.shear_speed_kt[l];
    }
    to.visibility_reported_m = from.visibility_reported_m;
    to.rain_percent = from.rain_percent;
    to.thunderstorm_percent = from.thunderstorm_percent;
    to.wave_amplitude = from.wave_amplitude;
    to.wave_length = from.wave_length;
    to.wave_speed = from.wave_speed;
}
