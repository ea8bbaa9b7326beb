// The per-plane step of the flight model.
#pragma once

// Factor on the yoke ratios in the own-plane physics (1.0 = full authority).
extern float control_authority;

// Advances plane slot p (0..9) by one frame.
void FLTMOD_plane_step(int p);
