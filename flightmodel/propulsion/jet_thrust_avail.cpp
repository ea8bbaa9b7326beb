// The thrust a jet engine could deliver at its throttle, between its sea-level,
// optimum-altitude and vacuum ratings by the air density.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>

#include "core/simvars/weather.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/propulsion/prop_common.h"

using namespace prop_detail;

namespace {

constexpr float RHO_SEA_LEVEL = 1.225f;   // kg/m^3 of the sea-level rating

}  // namespace

float ENGN_jet_thrust_avail(int e)
{
    if (e < 0 || e >= FLT_ENGINES) return 0.0f;   // an engine number past the tables reads nothing
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    if (!f.ENGN_running[e]) return 0.0f;

    const float rho_opt = ATMO_density_at_alt(0, a.acf_h_opt);
    const float fwd = a.acf_throtmax_FWD;
    const float throttle = clampf(f.ENGN_thro_use[e] * fwd, std::fmin(0.0f, fwd), std::fmax(0.0f, fwd));

    const float rho = sim_weather.rho;
    float rated;
    if (rho <= rho_opt) {
        // Above the optimum altitude: from the vacuum rating to the optimum one.
        rated = rho_opt == 0.0f ? 0.5f * (a.acf_fmax_vac + a.acf_fmax_opt)
                                : a.acf_fmax_vac + (a.acf_fmax_opt - a.acf_fmax_vac) * rho / rho_opt;
    } else {
        // Below it: from the optimum rating to the sea-level one, and on beyond.
        const float span = RHO_SEA_LEVEL - rho_opt;
        rated = span == 0.0f ? 0.5f * (a.acf_fmax_sl + a.acf_fmax_opt)
                                         : a.acf_fmax_opt + (a.acf_fmax_sl - a.acf_fmax_opt) * (rho - rho_opt) / span;
    }
    return throttle * rated * f.ENGN_mixt_pow_rat[e];
}
