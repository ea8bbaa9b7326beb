// The per-plane step of the flight model: each frame every plane slot is
// moved by exactly one mover and then gets what every plane needs.
//
// Reads: replay_mode, the network roles and override flags (through the
// movers' tests), the interval flags.
// Writes: through the stages it calls (see their headers).
#pragma once

// Factor on the yoke ratios in the own-plane physics (1.0 = full authority).
extern float control_authority;

// Advances plane slot n (0..9) by one frame; a slot outside does nothing.
void FLTMOD_plane_step(int n);
