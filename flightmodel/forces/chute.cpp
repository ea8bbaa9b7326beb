// The drag chute: its drag along the relative wind, the moments of its
// attachment point and the damping of the canopy, while it deploys.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/phys.h"
#include "flightmodel/step_record.h"

namespace {

// Damping of the canopy swinging at rate w (rad/s) on an arm.
float damping(float w, float arm, float c_rho)
{
    const float v = w * arm;
    return v * std::fabs(v) * c_rho * 0.5f;
}

}  // namespace

void FM_drag_chute()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    float& q = sim_cockpit_engine.chute_deploy_ratio;
    if (!(a.acf_chute_area > 0.0f) || !sim_cockpit_switches.parachute_on) {
        q = 0.0f;
        return;
    }
    const float v[3] = {f.vx_air_on_acf, f.vy_air_on_acf, f.vz_air_on_acf};
    const float V = std::fmax(length(vec3_at(v)), 1.0f);
    float* d = sim_cockpit_engine.chute_dir;
    d[0] = v[0] / V, d[1] = v[1] / V, d[2] = v[2] / V;
    const float C = 1.2f * a.acf_chute_area * q;
    const float rho = sim_weather.rho;
    const float D = V * V * C * rho * 0.5f;
    const float cr = C * rho;
    const float y_arm = std::fabs(a.acf_chute_Y + 1.25f * std::sqrt(a.acf_chute_area / PI_FLOAT));
    const float z_arm = std::fabs(a.acf_chute_Z);
    f.faxil_aero += D;
    f.L += a.acf_chute_Y * D * d[0] - damping(f.Prad, y_arm, cr);
    f.M += D * d[2] * a.acf_chute_Y - D * d[1] * a.acf_chute_Z - damping(f.Qrad, y_arm, cr) - damping(f.Qrad, z_arm, cr);
    f.N -= a.acf_chute_Z * D * d[0] + damping(f.Rrad, z_arm, cr);
    q = std::fmin(q + 0.5f * FM_step_sec(), 1.0f);
}
