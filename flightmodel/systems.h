// The own-plane systems step.
#pragma once

#include <cstdint>

// When set, the next systems step fails one failure slot at once and clears it.
extern int32_t fail_now_request;

// Frame-clock time until which a crashed plane (crash without reset) and a
// plane just started are held: the force build-up damps its rates and
// velocities while the frame clock is below it.
extern float crash_hold_until;

// Own-plane systems and environment for one frame.
void SYSTEMS_own_plane_update();
