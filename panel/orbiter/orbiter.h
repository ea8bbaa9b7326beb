// The orbiter's glass displays: the primary display (type 188), the
// horizontal approach display (189) that steers the autopilot heading round a
// turn circle to the runway, and the entry and vertical-situation pages (190)
// against the nominal entry profile.
//
// Reads the user plane's flight record, the GPS destination and the airport
// and navaid tables; writes sim_cockpit_autopilot.heading_mag and the record
// below.
#pragma once

#include <cstdint>

// The nominal entry: range to go R (nautical miles), speed V (ft/s), height H
// (ft) and energy height E = V^2 / 64.23 + H (ft) at eight points. Page m
// spans R[m] down to R[m + 1].
constexpr int ORBITER_PROFILE_POINTS = 8;
constexpr int ORBITER_PAGES = 7;
constexpr float orbiter_profile_R[ORBITER_PROFILE_POINTS] = {5053, 1100, 591, 378, 166, 60, 16, 4};
constexpr float orbiter_profile_V[ORBITER_PROFILE_POINTS] = {25725, 19000, 14000, 10500, 6000, 2500, 701, 470};
constexpr float orbiter_profile_H[ORBITER_PROFILE_POINTS] = {400000, 199450, 167270, 152000, 124500, 83000, 30000, 5800};
struct orbiter_energy_table {
    float E[ORBITER_PROFILE_POINTS];
};
constexpr orbiter_energy_table orbiter_energy_profile()
{
    orbiter_energy_table t{};
    for (int i = 0; i < ORBITER_PROFILE_POINTS; ++i)
        t.E[i] = orbiter_profile_V[i] * orbiter_profile_V[i] / 64.23f + orbiter_profile_H[i];
    return t;
}
constexpr orbiter_energy_table orbiter_profile_E = orbiter_energy_profile();

constexpr int ORBITER_TRAIL = 6;
struct orbiter_state {
    float orbiter_predicted[3][2] = {};   // x, z offsets 20, 40, 60 s ahead, m
    int32_t orbiter_passed[3] = {};       // P1, P2, P3 passed
    float orbiter_range_to_go = 0.0f;     // nautical miles along the path
    float orbiter_height = 0.0f;          // ft above the destination
    float orbiter_speed = 0.0f;           // ft/s over the ground
    float orbiter_energy_height = 0.0f;   // ft
    int32_t orbiter_page = 0;             // 0..4 ET1..ET5, 5..6 VS1..VS2
    float trail_x[ORBITER_TRAIL] = {};
    float trail_y[ORBITER_TRAIL] = {};
    int32_t trail_index = 0;
    float trail_time = 0.0f;
    int32_t last_page = 999;
    float trend_rate = 0.0f;
    float previous_error = 0.0f;
    int32_t reversal = 0;                 // 0 or 2
};
extern orbiter_state orbiter;

// The display x of a range on the current entry page (0 above page 6).
float READOUT_range_scale(float v);

void ORBITER_reset();
