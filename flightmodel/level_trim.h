// The trims and throttle that hold the user's plane (slot 0) in level flight
// at its present speed with the stick let go: the plane is held level at
// trial attitudes, trims, throttles (and, on a rotorcraft, collective pitches
// and banks) and the force build-up's own list of stages is run on it, the
// engines and rotors settling at each setting, until its moments and
// accelerations balance. Nothing is moved: the plane and everything its
// stages write are held in one snapshot and put back.
//
// Reads: pln[0]; flt[0] position, heading, velocity, flaps, engines,
// masses; sim_weather (the air and the wind layers); terrain_height_m.
// Writes: nothing (the snapshot puts back what the stages write).
#pragma once

struct flt_struct;

struct level_trim {
    float elv_trim, ail_trim, rud_trim;   // within the aircraft's trim limits
    float throttle;                       // of every engine, 0..1
    // The pitch attitude and bank it flies level at (deg). A rotorcraft flies
    // level only at its own attitude, and its collective rotor's blade pitch
    // (deg, within its pitch range) carries it: the collective is 0 on an
    // aircraft without a collective rotor.
    float theta_deg, phi_deg;
    float collective_deg;
    // Whether the balance was found: a rotorcraft it leaves unbalanced (too
    // fast for its cyclic, too high for its power) keeps its own attitude.
    bool balanced = false;
};

// The trims and throttle for level flight along the plane's heading at the
// speed it meets the air with (its velocity less the weather's mean wind at
// its height), the throttle sought from `throttle`. Without engines only the
// trims are found and the plane glides; where the air gives no moment to
// trim against (no air, no speed) the trims are 0 and the throttle stays. A
// rotorcraft (an aircraft with a collective rotor) is trimmed with its
// collective, cyclic (the elevator and aileron trims) and pedal (the rudder
// trim), its attitude and bank, its rotor speed left to its governor, and the
// throttle stays; where it does not balance, theta, phi and the collective
// are the plane's own.
level_trim FM_level_flight_trim(float throttle);

// The thrust point of the user's aircraft's collective rotor, or -1 for an
// aircraft without one.
int FM_collective_rotor();

// The weather's mean wind (no gusts) at the plane's height above the ground,
// as the velocity it carries the plane with (local x and z, m/s).
void FM_mean_wind_at(const flt_struct& f, float* wind_x, float* wind_z);
