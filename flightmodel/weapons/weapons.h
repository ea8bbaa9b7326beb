// The weapons of every plane slot: firing by the user's trigger and arming
// switches, the forces and guidance of each weapon, the projectiles of guns
// and rocket pods, hanging an unreleased weapon on its attach point, the
// flight of released weapons, and their drawing.
//
// Reads: pln[p] weapon slots, wpn_name and attach points (acf_X/Y/Zwpn_att);
// flt[p] position, velocity, attitude with its cached sines and cosines,
// body rates and terrain cell hints (i, j); sim_cockpit_weapons (arming
// switches, firing mode and rate, target plane); the fire trigger
// (key_hold_command); the yoke's pitch and roll ratios; frame_clock,
// frame_rate_period (the released weapons' flight, once a frame) and the
// step record's length (the forces, the motors and the projectiles, each
// integration step); sigma, the wind at the plane, the planet and its radius;
// the loaded scenery area; the camera heading and pitch (drawing).
// Writes: the running fields of the weapon slots; the projectile list
// (projectiles.h); plane 0's aerodynamic force and moment totals (the drag of
// its hanging weapons); particles (smoke, muzzle flashes).
#pragma once

// Once per force build-up of the user's plane: firing (plane 0), the forces
// and guidance of every loaded weapon of every plane in use, shooting, and
// the flight of the projectiles. A weapon that leaves the loaded area or
// meets the ground is removed (its impact recorded) and the pass goes on.
void WPN_fire_and_fly();

// Once a frame for plane n after its integration: the unreleased weapons are
// hung on their attach points, the released ones moved by the forces of
// this frame's pass.
void WPN_fly_released(int n);

// Every weapon plane n carries (loaded, not released) put on its attach
// point as WPN_hang puts it; a plane outside 0..9 does nothing.
void WPN_hang_carried(int n);

// Puts the weapon of a slot on its attach point of plane `plane`: position,
// velocity, attitude (an armed, aimable gun follows the stick) and rates
// taken from the plane. Indices outside the tables do nothing.
void WPN_hang(int plane, int slot);

// Re-expresses the positions and velocities of the released weapons of every
// plane in use and of every live projectile, taken about the scenery
// reference (old_lat_ref, old_lon_ref), about the current lat_ref / lon_ref.
// The scene build calls it when the loaded area moves.
void WPN_rebase(float old_lat_ref, float old_lon_ref);

// Forgets the kept values (the trigger of the last pass, the next ripple
// release, the smoke times) and frees every projectile.
void WPN_reset();
