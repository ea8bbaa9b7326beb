// The trims and throttle that hold the user's plane (slot 0) in level flight
// at its present speed with the stick let go: the force build-up's airframe,
// engine and mass stages are asked for the moments and accelerations of the
// plane held level at trial angles of attack, trims and throttles, the
// engines settling at each throttle, until they balance. Nothing is moved:
// every record the stages write is put back.
//
// Reads: pln[0]; flt[0] position, heading, velocity, flaps, engines,
// masses; sim_weather (the air and the wind layers); terrain_height_m.
// Writes: nothing (the records the stages write are restored).
#pragma once

struct level_trim {
    float elv_trim, ail_trim, rud_trim;   // within the aircraft's trim limits
    float throttle;                       // of every engine, 0..1
};

// The trims and throttle for level flight along the plane's heading at the
// speed it meets the air with (its velocity less the weather's mean wind at
// its height), the throttle sought from `throttle`. Without engines only the
// trims are found and the plane glides; where the air gives no moment to
// trim against (no air, no speed) the trims are 0 and the throttle stays.
level_trim FM_level_flight_trim(float throttle);
