// The simulation cycle: the once-a-frame simulation step, run by the frame
// loop in every mode but the alert and browser modes. In order it derives the
// clock from the system time when asked to, holds the weather within its
// bounds, sends the shared state ("STAT") and one aircraft path ("PATH") to
// networked peers on the 0.1-s tick and records the user's plane into the
// replay ring; then it runs the simulation's frame once (flightmodel/
// sim_frame.h: the ground, every plane's position, and in flying mode the
// systems, the planes with each plane's "SNAP" sends after its step, and the
// ships). After a flying frame it sends the data output and, while paused,
// polls the joysticks; after any other, it runs the current settings screen
// for one frame. The weather radar is rebuilt by the frame's drawing pass.
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
// The "SNAP" sends of plane i right after its step in the simulation's frame
// (its way up CORE_plane_stepped): to the multiplayer peer (slot 0, on the
// 0.05-s tick, the user's plane only, as plane 1), the monitors (1..5) and the
// instructor station (10), each enabled and valid.
void CYCLE_plane_stepped(int i);
