// The control step of the user's plane: the order of its stages.
#include "flightmodel/control/own_physics.h"

#include "core/reset_registry.h"
#include "flightmodel/control/autopilot.h"
#include "flightmodel/control/governing.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/control/stability.h"
#include "flightmodel/flt.h"

int32_t auto_flight_on = 0;
int32_t auto_view_cycle_on = 0;

void CONTROL_switches_reset() { auto_flight_on = auto_view_cycle_on = 0; }
ORVELL_RESET(CONTROL_switches_reset, program);

void FLTMOD_own_physics(int p)
{
    // A slot outside 0..9 would index past the plane records; it is ignored.
    if (p < 0 || p >= FLT_SLOTS) return;
    INPUT_view_cycling();
    if (auto_flight_on)
        INPUT_auto_flight(p);
    else
        INPUT_pilot_inputs(p);
    INPUT_engine_prestep(p);
    const control_gains gains = INPUT_stick_shaping(p);
    AP_step(p, gains);
    GOV_propulsion(p);
    STAB_mix(p, gains.g);
    GOV_ground_and_surfaces(p);
    STAB_wing_tilt(p);
    GOV_auto_slats_and_gear(p);
}
