// The simulation cycle: the once-a-frame simulation step, run by the frame
// loop in every mode but the alert and browser modes. In order it derives the
// clock from the system time when asked to, holds the weather within its
// bounds, sends the shared state ("STAT") and one aircraft path ("PATH") to
// networked peers on the 0.1-s tick, records the user's plane into the replay
// ring, refreshes the weather radar, derives every plane's geographic position,
// and then either steps the planes (flying mode) or runs the current settings
// screen for one frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "scene/ships.h"
#include "core/simvars.h"

// The STAT block: the shared state that peers keep in step, as it travels in
// the "STAT" datagram (little-endian 32-bit words). It is also the last-sent
// copy against which changes are detected.
constexpr int STAT_FAILURES = FAILURE_SLOTS;   // 174
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

// Fills a STAT block from the current simulation state.
void STAT_fill(stat_block& out);
// 1 when any field of `now` differs from `sent` by more than its threshold.
int STAT_changed(const stat_block& sent, const stat_block& now);

// Destination slots the cycle serves (roles of the network link).
constexpr int CYCLE_PEER_SLOTS = 13;   // slots 0..12

// What the cycle keeps from call to call. None of it is reset when a flight starts.
struct cycle_state {
    int32_t last_app_mode = 0;                 // the mode seen by the previous STAT test
    int32_t stat_dirty[CYCLE_PEER_SLOTS] = {}; // the slot is owed a STAT block
    int32_t stat_cursor = 1;                   // the slot served at the last tick
    int32_t path_plane_cursor = 0;
    int32_t path_slot_cursor = 0;
    float dataout_last_send = 0.0f;            // frame clock of the last data-output send
    stat_block stat_sent{};                    // the values last compared
};
extern cycle_state cycle;
void CYCLE_reset();

// The "SNAP" payload.
extern plane_state_record snap_record;
// Set by the network's whole-plane position handler; while set the cycle does
// not move the local origin.
extern int32_t origin_held_by_network;
// Terrain height under the user's plane: terrain_height_m of core/simvars.h.

// The ships' own motion beside the positions of scene/ships.h: turn rate
// (degrees/s), pitch and roll (degrees) and their rates, and the land-use
// grid cell under each, written by its terrain query.
extern float ship_turn_rate[SEA_OBJECT_SLOTS];
extern float ship_pitch_rate[SEA_OBJECT_SLOTS];
extern float ship_roll_rate[SEA_OBJECT_SLOTS];
extern int32_t ship_cell_row[SEA_OBJECT_SLOTS];
extern int32_t ship_cell_col[SEA_OBJECT_SLOTS];

// Whether the land-use grid block (row, col) .. (row + 1, col + 1) holds no
// water; cells outside the grid of the current planet count as land.
int CYCLE_block_is_dry(int row, int col);
// One frame of ship k (0 the carrier, 1 the frigate).
void CYCLE_ship_step(int k);

// The once-a-frame simulation step.
void update_plane_cycle();
