// Weather reports: the report file "metar.rwx" in the program folder, one
// report a line ("METAR " or "SPECI " optional, a four-character station id,
// a blank, then the groups).
#pragma once

constexpr int METAR_MAX_TOKENS = 40;
constexpr float METAR_NO_CLOUD_BASE = 30479.695f;   // 99,999 ft in metres

// Picks the report of the nearest station (within one degree of latitude and
// of longitude) that is an airport of the airport table, and decodes it.
// Returns the station's airport index, or -1 when the file cannot be read or
// no station qualifies; then no output is touched. When a station is chosen,
// the cloud layers and the precipitation are first set to their defaults
// (no layer, base METAR_NO_CLOUD_BASE, top 0, no precipitation) and every
// group read overwrites its outputs; the other outputs keep what the caller
// passed unless a group sets them.
//   report_time: seconds after 00:00 UTC      cloud_type[2]: 0 none, 1 high scattered,
//   cloud_base[2], cloud_top[2]: metres MSL   2 scattered, 3 broken, 4 overcast
//   visibility: metres                         precip_kind: 0 none, 1 precipitation, 2 storm
//   precip_level: 0..3                         temperature: degrees C at sea level
//   dewpoint: degrees C                        wind_direction: degrees magnetic corrected to true
//   wind_speed, gust_increment: knots          pressure: inches of mercury
int METAR_read(float latitude, float longitude, float* report_time, int* cloud_type, float* cloud_base,
               float* cloud_top, float* visibility, int* precip_kind, int* precip_level, float* temperature,
               float* dewpoint, float* wind_direction, float* wind_speed, float* gust_increment, float* pressure);
