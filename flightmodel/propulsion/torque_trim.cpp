// The trim that holds the engine torque's roll: designers rig the fin and
// wings so the torque's roll cancels at the speed they chose, which leaves a
// roll moment growing with the square of the airspeed.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>

#include "core/folders.h"
#include "core/simvars/network.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/propulsion/prop_common.h"
#include "aircraft/part_presence.h"

using namespace prop_detail;

void ENGN_torque_roll_trim()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const bool report = sim_network_dataout.dump_next_cycle != 0;
    for (int n = 0; n < FLT_ENGINES; ++n) {
        if (!ACF_part_present(0, n)) continue;
        if (!(std::fabs(a.acf_vect_cant[n]) < 15.0f && std::fabs(a.acf_sidecant[n]) < 15.0f)) continue;
        const int type = a.acf_en_type[n];
        const bool turbine = type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED;
        const float k = turbine ? 0.5f : 0.75f;
        const float s = turbine ? 0.85f : 0.6f;
        // (A Vne of 0 would divide by zero: no trim then.)
        const float ratio = div_or(f.indicated_airspeed, a.acf_Vne * s, 0.0f);
        f.L += a.acf_trq_max_eng * a.acf_gear_rat * a.acf_prop_dir[n] * k * ratio * ratio;
        if (report) {
            report_log << "\nNOTE: L adjusted to=";
            FM_num(f.L, 2, 10) << " N-m by aerodynamic trim.\n";
        }
    }
}
