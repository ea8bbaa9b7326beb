// The build-up's stages of rockets, ropes, water and ground contact for the
// user's plane (slot 0), in the order the build-up calls them. Each adds its
// forces through the adders of flightmodel/phys.h.
//
// Reads: pln[0] (engines, JATO, puffers, hooks, slung load, bodies, wings,
// gear, brakes, steering, water rudder, water-bomber flag); flt[0] (controls,
// engines, position, velocity, attitude, rates, masses, brakes, failures, cell
// hint); flt[1] ground speed (towing); the launch flags and rope points; the
// cockpit switches (JATO, puffers, scoop); sim_weather (rho, waves,
// runway condition); the frame clock and the step record's length; the
// land-use grid and the surface under the plane; the report flag.
// Writes: flt[0] force sums and moments, POINT_thrust, DVinc, ENGN_N1_,
// ENGN_power, force_XYZ, jato_left, m_jettison, ett_size, jett_dumping,
// onground_any/all, nosewheel_steer/speed, tyre speeds and locks, nrml_force;
// pln[0].acf_gear_def; sim_cockpit_switches.jato_on; the launch flags' rope
// angles and winch cable; rope_points.load_vel (and load_pos.y on the ground);
// the hook values of fm_state; ground_state; the step record's contact and
// impact speed.
#pragma once

// What the stages keep between frames.
struct ground_stage_state {
    float winch_reel_mps = 0.0f;        // reel-in speed of the winch, 0 until the winch first pulls
    float water_sound_time = -1.0e9f;   // frame clock of the last start of the water sound
    int load_cell_i = 0, load_cell_j = 0;   // terrain cell hint of the slung load
};
extern ground_stage_state ground_state;
void GROUND_stages_reset();

// Rocket engine e (type 6): thrust whatever the air density.
void ROCKET_engine(int e);

// Manoeuvring rockets, JATO and attitude puffers, in that order.
void ROCKET_thrusters();

// Tow rope behind plane 1 and the winch cable, while a launch flag asks.
// Leaves the rope's angles relative to the body in the launch flags.
void ROPE_tow_and_winch();

// The slung load on its rope, when the aircraft carries one.
void ROPE_slung_load();

// 1 when the terrain cell under the plane or a neighbour is water (land-use
// code 14 or 15) and no runway, deck or flat surface is under it.
int GROUND_over_water();

// Water forces on the hulls and floats, and the water rudder (stage 17).
void FM_water_contact();

// The body arm (m) of the tip of wing part p of the user's plane: the point
// the ground meets when the wing is laid on it.
void GROUND_wing_tip(int p, float* x, float* y, float* z);

// Ground contact of the wing tips, bodies and gear, and the on-ground flags
// (stage 18).
void FM_ground_contact();

// Water scooping and dumping of a water bomber (stage 19).
void FM_water_scoop();

// The arresting hook pulling on its wire (stage 22).
void FM_arresting_hook();
