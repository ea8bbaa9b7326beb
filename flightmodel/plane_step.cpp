// The plane step: the one place that orders the stages of a plane slot's
// frame. First the mover (own physics, replay, traffic or the outside world),
// then the control incidence and, for the user's own flight, the integration;
// then what every plane needs whoever moved it; last the user plane's sounds
// and calls.
#include "flightmodel/plane_step.h"

#include <cmath>

#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/operation.h"
#include "flightmodel/aural_warnings.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/phys.h"
#include "flightmodel/plane_effects.h"
#include "flightmodel/plane_override.h"
#include "flightmodel/traffic/traffic.h"

float control_authority = 1.0f;
void FLTMOD_authority_reset() { control_authority = 1.0f; }
ORVELL_RESET(FLTMOD_authority_reset, program);

void FLTMOD_plane_step(int n)
{
    // A slot outside 0..9 would index past the plane records; it is ignored.
    if (n < 0 || n >= FLT_SLOTS) return;
    const bool replaying = sim_operation_prefs.replay_mode != REPLAY_OFF;

    if (PLANE_externally_moved(n)) {
        PLANE_follow_override(n);
    } else if (n == 0) {
        if (replaying)
            REPLAY_play_own_plane(0);
        else
            FLTMOD_own_physics(0);
    } else if (!replaying) {
        TRAFFIC_update_other(n);
    }
    ACF_control_incidence(n);
    if (n == 0 && !replaying) FLTMOD_derived_data(0);

    PLANE_wheels(n);
    const flt_struct& f = flt[n];
    const float speed = length(vec3{f.local_vx, f.local_vy, f.local_vz});
    if (interval_ticks[INTERVAL_TWENTYFIFTH_SECOND]) PLANE_exhaust(n, speed);
    PLANE_tyre_smoke(n, speed);
    if (interval_ticks[INTERVAL_TWENTIETH_SECOND]) {
        PLANE_jato_smoke(n);
        PLANE_dump_trail(n);
    }
    PLANE_lights(n);
    PLANE_prop_angles(n);
    if (n == 0) AURAL_own_plane();
}
