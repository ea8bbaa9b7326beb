#include "aircraft/launch_flags.h"

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"

launch_flags_block launch_flags{};

ORVELL_RESET_RECORD(LAUNCH_reset, launch_flags, program);

float LAUNCH_catapult_accel(float est_vs_mps)
{
    if (!(est_vs_mps > 0.0f)) return CATAPULT_ACCEL_MIN_MSS;
    const float v = 1.2f * est_vs_mps;
    const float a = v * v / (2.0f * CATAPULT_STROKE_M);
    return a < CATAPULT_ACCEL_MIN_MSS ? CATAPULT_ACCEL_MIN_MSS : (a > CATAPULT_ACCEL_MAX_MSS ? CATAPULT_ACCEL_MAX_MSS : a);
}

bool LAUNCH_catapult_takes_plane() { return pln[0].acf_has_collective_rotor == 0; }

void LAUNCH_catapult_hook_up()
{
    launch_flags.catapult_hold = 1;
    launch_flags.catapult_accel_mss = LAUNCH_catapult_accel(pln[0].acf_est_Vs);
}
