// A jet engine for one frame: spool, density derates for speed and altitude,
// the intake's limit, the shares taken by blown flaps and lift fans, the
// afterburner, the reverser, the jet wash, and the thrust along the engine's
// vector at its point.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>

#include "core/constants.h"
#include "core/folders.h"
#include "core/simvars/network.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/phys.h"
#include "flightmodel/propulsion/prop_common.h"

using namespace prop_detail;

namespace {

constexpr float DEG = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float TWO_PI = static_cast<float>(TWO_PI_DOUBLE);

void report_jet(int e, const float force[3])
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    report_log << '\n';
    FM_report_rule();
    for (int k = 0; k < 3; ++k) report_log.put('\xA5');
    report_log << "JET ENGINE #";
    FM_num(static_cast<float>(e + 1), 0, 2);
    for (int k = 0; k < 83; ++k) report_log.put('\xA5');
    report_log << '\n';
    FM_report_rule();
    FM_line("   longitudinal thrust vector=", f.vertcant[e], 2, 7, " deg (0=full aft)\n");
    FM_line("   lateral      thrust vector=", f.sidecant[e], 2, 7, " deg (0=full aft)\n");
    FM_line("   thrust=", f.POINT_thrust[e], 2, 10, " N.\n");
    FM_line("   x=", a.acf_Xarm[e], 2, 7, " m.\n");
    FM_line("   y=", a.acf_Yarm[e], 2, 7, " m.\n");
    FM_line("   z=", a.acf_Zarm[e], 2, 7, " m.\n");
    FM_line("   f-axil=", force[2], 2, 10, " N.\n");
    FM_line("   f-nrml=", force[1], 2, 10, " N.\n");
    FM_line("   f-side=", force[0], 2, 10, " N.\n");
    FM_report_prop_totals();
}

}  // namespace

void ENGN_jet_engines(int e)
{
    if (e < 0 || e >= FLT_ENGINES) return;   // no engine: it would read and write past the engine tables
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = frame_dt();
    const float mach = f.machno;
    const float sigma = sim_weather.sigma;
    const float rho = sim_weather.rho;
    const float face = a.acf_face_jet;

    ENGN_spool(e);

    // The density the engine effectively works in.
    float s = sigma;
    if (a.acf_en_type[e] == ENGINE_JET_HIGH_BYPASS) s -= 0.5f * mach * sigma * sigma;
    if (a.acf_en_type[e] == ENGINE_JET_LOW_BYPASS) s += 0.15f * clampf(mach, 0.0f, 1.0f) * sigma;
    if (mach > 1.0f) s *= 2.4f * mach * mach / (0.4f * mach * mach + 2.0f);   // across a normal shock
    const float excess = mach - a.acf_max_mach_eff;
    if (excess >= 1.0f && excess <= 5.0f)
        s *= 1.0f - 0.075f * std::pow(excess - 1.0f, 1.35f);
    else if (excess > 5.0f)
        s *= 800.0f / (excess * excess * excess * excess + 935.0f);
    f.ENGN_sigma[e] = s;

    const float full = a.acf_tmax * s;
    const float idle = -0.3f * face * f.Qstatic;   // the inlet's ram drag
    const float burner = f.ENGN_burning[e] ? a.acf_burnerinc * s : 0.0f;
    const float blown = f.blown_flap_engage_rat > 0.0f && a.acf_blown_flap_add_speed > 0.0f
                            ? a.acf_blown_flap_throt_red * f.blown_flap_engage_rat
                            : 0.0f;
    // Each lift fan takes its share by this engine's own vector angle.
    const float sv = std::sin(a.acf_vect_cant[e] * DEG);
    float fan = 0.0f;
    for (int n = 0; n < thrust_point_count(); ++n)
        if (a.acf_prop_type[n] == PROP_LIFT_FAN) fan += a.acf_lift_fan_rat * sv * sv;

    // An aircraft file without a jet face area (or air of no density, no
    // ambient pressure) would divide by zero below and carry an infinite or
    // NaN fan power, pressure ratio and jet wash into every later frame: those
    // terms are taken as 0 there (the pressure as at least 1 Pa).
    const float x = f.ENGN_N1_[e] / 100.0f;
    const float core = idle + x * x * x * (full - idle);
    const float after_flaps = (1.0f - blown) * core;
    f.POINT_thrust[e] = (1.0f - fan) * after_flaps + burner;
    f.lift_fan_total_power += fan * after_flaps * signed_sqrt(div_or(core, face * rho, 0.0f)) * 0.75f;

    f.ENGN_power[e] = f.POINT_thrust[e] * f.DVinc[e];
    f.ENGN_EPR[e] = 1.0f + div_or(f.POINT_thrust[e], face, 0.0f) / std::fmax(sim_physics.ambient_pressure, 1.0f);
    if (f.ENGN_propmode[e] == 3) f.POINT_thrust[e] *= -0.5f;

    // The jet wash lags the thrust by about a second.
    const float wash_div = face * rho * std::fmax(1.0f, std::fabs(f.groundspeed) + std::fabs(f.DVinc[e]));
    f.DVinc[e] = (1.0f - dt) * f.DVinc[e] + dt * div_or(f.POINT_thrust[e], wash_div, 0.0f);

    // The thrust along the engine's vector, at its point.
    float* force = &f.force_XYZ[3 * ACF_el(e, 0)];
    PHYS_rotate_by_cyclic(0.0f, 0.0f, -f.POINT_thrust[e], &force[0], &force[1], &force[2], 0, e);
    const float px = f.POINT_XYZ[3 * e], py = f.POINT_XYZ[3 * e + 1], pz = f.POINT_XYZ[3 * e + 2];
    PHYS_add_prop_side(0, force[0], py, pz);
    PHYS_add_prop_normal(0, force[1], px, pz);
    PHYS_add_prop_axial(0, force[2], px, py);
    if (sim_network_dataout.dump_next_cycle) report_jet(e, force);

    f.POINT_tacrad[e] = f.ENGN_N1_[e] * TWO_PI / 60.0f;
    f.ENGN_TRQ[e] = 4.0f * f.POINT_thrust[e];
}
