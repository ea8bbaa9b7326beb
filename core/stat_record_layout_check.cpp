// The field offsets of the STAT block that the datagram fixes. Only checks at
// compile time; nothing here is linked into a program.
#include <cstddef>

#include "core/stat_record.h"

static_assert(offsetof(stat_block, draw_aircrafts) == 4);
static_assert(offsetof(stat_block, zulu_time_sec) == 8);
static_assert(offsetof(stat_block, local_date_days) == 12);
static_assert(offsetof(stat_block, cloud_type) == 16);
static_assert(offsetof(stat_block, cloud_tops_msl_m) == 24);
static_assert(offsetof(stat_block, cloud_base_msl_m) == 32);
static_assert(offsetof(stat_block, wind_altitude_msl_m) == 40);
static_assert(offsetof(stat_block, turbulence) == 52);
static_assert(offsetof(stat_block, wind_direction_degt) == 64);
static_assert(offsetof(stat_block, wind_speed_kt) == 76);
static_assert(offsetof(stat_block, shear_direction_degt) == 88);
static_assert(offsetof(stat_block, shear_speed_kt) == 100);
static_assert(offsetof(stat_block, visibility_reported_m) == 112);
static_assert(offsetof(stat_block, rain_percent) == 116);
static_assert(offsetof(stat_block, thunderstorm_percent) == 120);
static_assert(offsetof(stat_block, weather_seed) == 124);
static_assert(offsetof(stat_block, temperature_sealevel_c) == 128);
static_assert(offsetof(stat_block, earth_pressure_p) == 132);
static_assert(offsetof(stat_block, wave_amplitude) == 136);
static_assert(offsetof(stat_block, wave_length) == 140);
static_assert(offsetof(stat_block, wave_speed) == 144);
static_assert(offsetof(stat_block, wave_dir) == 148);
static_assert(offsetof(stat_block, m_fixed) == 152);
static_assert(offsetof(stat_block, m_fuel) == 156);
static_assert(offsetof(stat_block, m_jettison) == 168);
static_assert(offsetof(stat_block, failures) == 172);
static_assert(offsetof(stat_block, failure_countdown) == 868);
