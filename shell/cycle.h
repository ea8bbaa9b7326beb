// The simulation cycle: the once-a-frame simulation step, run by the frame
// loop in every mode but the alert and browser modes. In order it (in flying
// mode) lets go the launches the parking brake releases and finds the ground
// under the user's plane, derives the clock from the system time when asked
// to, holds the weather within its bounds, sends the shared state ("STAT")
// and one aircraft path ("PATH") to networked peers on the 0.1-s tick,
// records the user's plane into the replay ring, refreshes the weather radar,
// derives every plane's geographic position, and then either steps the planes
// (flying mode) or runs the current settings screen for one frame.
#pragma once

#include <cstdint>

#include "core/geo.h"
#include "core/plane_state_record.h"
#include "core/stat_record.h"

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
// net_origin_by_network (core/geo.h): while set the cycle does not move the local origin.
// Terrain height under the user's plane: terrain_height_m of core/simvars.h.

// The once-a-frame simulation step.
void update_plane_cycle();
