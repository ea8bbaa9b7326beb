#include "flightmodel/step_record.h"

#include "core/reset_registry.h"
#include "core/simvars/operation.h"

fm_step_record fm_step{};
ORVELL_RESET_RECORD(FM_step_reset, fm_step, flight);

float FM_step_sec() { return fm_step.dt_sec > 0.0f ? fm_step.dt_sec : sim_operation_misc.frame_rate_period; }

void FM_step_touched(float vy_mps)
{
    fm_step.touched = true;
    // A speed that is not a number must not hide a hard impact met in another step.
    if (vy_mps < fm_step.impact_vy_mps) fm_step.impact_vy_mps = vy_mps;
}
