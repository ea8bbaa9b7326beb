// Mass, centre of gravity and inertia of the user's plane: the empty
// aircraft with its ice, payload, jettisonable load and JATO propellant,
// plus point masses (stores, fuel tanks, separated engines) whose weight
// under the current load factors adds moments, since the reference point of
// the moments stays put.
//
// Reads: pln[0] masses, unit inertias, tanks, engines, arms, weapon stations
// and slots, JATO, slung load, weight shift; flt[0] ice, payload, fuel,
// jettison, jato_left, cg offset, load factors, controls, engine failures.
// Writes: flt[0].m_total; fm_state MI_pitch, MI_yaw, MI_roll; flt[0] L, M, N.
#pragma once

// Stage 24: base mass and inertia and the point masses.
void FM_mass_and_inertia();

// After this frame's load factors are known: the moments of the
// centre-of-gravity offset and of the weight-shift control.
void FM_cg_offset_moments();
