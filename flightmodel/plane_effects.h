// What every plane slot needs each frame whoever moved it: wheel and
// propeller rotation, tyre wear, exhaust, contrails, spray, tyre smoke and the
// touchdown sounds, rocket-assist and dump trails, strobe and beacon lights.
//
// Reads: pln[n] engines, thrust points, gear, jato and body outline; flt[n]
// position, velocity, cached attitude sines, gear speeds, engines, failures;
// the frame period and interval flags; speed of sound, sigma, runway
// friction; the land-use grid; the surface under the user's plane;
// terrain_height_m; the network clock; the step record's impact speed (the
// user's touchdown sound).
// Writes: flt[n] tire_speed_now, tire_prop_rot, tire_drag_dis, the tyre-burst
// failures, strobe_flash, beacon_brightness; particles and engine trail
// entries; the touchdown sound (slot 0).
#pragma once

// Wheel speed, angle and locked-wheel wear of the six gear legs.
void PLANE_wheels(int n);
// Exhaust, contrail and spray particles of every engine (on the 0.04-s flag).
void PLANE_exhaust(int n, float speed_mps);
// Tyre smoke of every gear leg on the ground; the touchdown and skid sounds of slot 0.
void PLANE_tyre_smoke(int n, float speed_mps);
// Rocket-assist smoke (slot 0, while the rockets burn) and the dump trail (on the 0.05-s flag).
void PLANE_jato_smoke(int n);
void PLANE_dump_trail(int n);
// Strobe flash and beacon brightness.
void PLANE_lights(int n);
// Propeller angles.
void PLANE_prop_angles(int n);
