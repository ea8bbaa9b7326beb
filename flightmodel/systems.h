// The once-a-frame systems pass of the user's plane: everything around it
// but its motion. The simulation's frame calls it in the flying mode before the
// plane steps, unless the replay is playing or the simulation is paused.
//
// Stages, in order (each sees what the earlier ones left this frame):
//   1 logbook entry at the start of a flight     8 radio receivers
//   2 pilot-log hours, clock and calendar         9 fuel, power ratios, hydraulics,
//   3 touchdowns and cross-country time             vacuum and cabin pressure
//   4 ship navaids (Earth only)                  10 engine and electrical systems
//   5 atmosphere and magnetic variation          11 failure model
//   6 weather at the plane                       12 annunciators and gyros
//   7 icing                                      13 limits, frame-rate guard and crash
//
// Reads and writes: plane 0's aircraft and flight-model records, the
// simulation-wide blocks of core/simvars.h, the navaid table's ship records,
// the logbook's current entry.
#pragma once

#include <cstdint>

// Set by the key command that fails every slot waiting "on command" (state 5);
// the failure model clears it at the end of its next 1-second pass.
extern int32_t fail_on_command_armed;

// Frame-clock time until which a crashed plane (crash without reset) and a
// plane just started are held: the force build-up damps its rates and
// velocities while the frame clock is below it.
extern float crash_hold_until;

// Own-plane systems and environment for one frame.
void SYSTEMS_own_plane_update();

// The request to fail at once dropped. Each stage registers the values it
// keeps from frame to frame with the reset registry itself.
void SYSTEMS_reset();
