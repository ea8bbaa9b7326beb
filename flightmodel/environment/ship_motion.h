// The ships' motion, once a frame from the simulation's frame: the carrier and
// the frigate sail, steer away from land, follow the terrain height and pitch
// and roll with the waves. Reads the frame period, the replay mode, the wave
// amplitude, the network clock, the land-use grid and the terrain queries;
// writes the ship record of world/ships.h.
#pragma once

// Whether the land-use grid block (row, col) .. (row + 1, col + 1) holds no
// water; cells outside the grid of the current planet count as land.
int SHIPS_block_is_dry(int row, int col);
// One frame of ship k (0 the carrier, 1 the frigate; other slots do nothing):
// sails on at its own speed plus its drift, steers away from land, takes the
// terrain height, and pitches and rolls with the waves. A ship outside the
// loaded scenery area is left alone; while a replay runs it neither sails
// nor steers.
void SHIPS_step(int k);
