// The replay ring: the user's plane recorded every 0.1 s for the last 900 s.
// A record whose time word is 0 is empty and marks the end of the recorded
// stretch. Movie files store the ring in array order.
#pragma once

#include <cstdint>

#include "core/plane_state_record.h"

constexpr int REPLAY_RING_SIZE = 9000;

extern plane_state_record replay_ring[REPLAY_RING_SIZE];
extern int32_t replay_index;   // 0..8999, the record written last

// Empties the whole ring (every time word 0).
void REPLAY_clear_ring();
// Empties the ring and writes from its start again.
void REPLAY_reset();
