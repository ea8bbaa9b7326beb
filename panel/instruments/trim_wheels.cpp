// The trim wheels as the key commands, the joystick buttons and the serial
// console work them: one step of the elevator, rotor, rudder or aileron trim,
// held within -1..1.
#include "panel/panel.h"

#include "core/simvars.h"
#include "flightmodel/flt.h"

namespace {

void step_trim(float& trim, float delta)
{
    trim += delta;
    if (trim < -1.0f) trim = -1.0f;
    else if (trim > 1.0f) trim = 1.0f;
}

}  // namespace

void PANEL_trim_wheels(int command, int held)
{
    const float step = held ? 0.05f * sim_operation_misc.frame_rate_period : 0.001f;
    flt_struct& f = flt[0];
    switch (command) {
    case 20: step_trim(f.elv_trim, step); break;
    case 21: step_trim(f.elv_trim, -step); break;
    case 22: step_trim(f.rot_trim, step); break;
    case 23: step_trim(f.rot_trim, -step); break;
    case 24: step_trim(f.rud_trim, -step); break;
    case 26: step_trim(f.rud_trim, step); break;
    case 27: step_trim(f.ail_trim, -step); break;
    case 29: step_trim(f.ail_trim, step); break;
    default: break;
    }
}
