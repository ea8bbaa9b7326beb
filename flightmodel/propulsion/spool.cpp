// The N1 spool of a turbine: the gas generator's speed (percent) chases the
// throttle's target against a drag that grows with its square, driven by the
// starter and by ram air, and is scaled by the oil ratio.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>

#include "core/simvars/cockpit.h"
#include "flightmodel/propulsion/prop_common.h"

using namespace prop_detail;

namespace {

// A spool time below this counts as this: a zero (or damaged) file value
// would divide by zero, and one much shorter than a frame makes the explicit
// step overshoot so that N1 swings between 0 and its cap frame by frame.
constexpr float MIN_SPOOL_TIME_SEC = 0.1f;

}  // namespace

void ENGN_spool(int n)
{
    if (n < 0 || n >= FLT_ENGINES) return;   // no engine: it would reach past the engine tables
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int type = a.acf_en_type[n];
    // On the ground with the power lever closed the engine runs at its low idle.
    const bool high_idle = sim_cockpit_engine.idle_speed[n] != 0 && !prop_state.ground_idle[n];
    const float idle_ratio = high_idle ? a.acf_idle_rat_hi : a.acf_idle_rat_lo;

    float lo, spool_time, starter;
    switch (type) {
    case ENGINE_TURBINE_FREE:
        lo = high_idle ? idle_ratio * 0.4f : a.acf_idle_rat_lo * 0.2f;
        spool_time = a.acf_spooltime_prop;
        starter = 0.05f * a.acf_starter_torque_rat;
        break;
    case ENGINE_JET_LOW_BYPASS:
        lo = idle_ratio * 0.15f;
        spool_time = a.acf_spooltime_jet;
        starter = 0.1f * a.acf_starter_torque_rat;
        break;
    case ENGINE_JET_HIGH_BYPASS:
        lo = idle_ratio * 0.05f;
        spool_time = a.acf_spooltime_jet;
        starter = 0.05f * a.acf_starter_torque_rat;
        break;
    default:
        return;
    }
    if (!(spool_time >= MIN_SPOOL_TIME_SEC)) spool_time = MIN_SPOOL_TIME_SEC;

    // Throttle target between the idle floor and full.
    const float fwd = a.acf_throtmax_FWD;
    float target;
    if (fwd == 0.0f) {
        target = 0.5f * (lo + 1.0f);
    } else {
        const float t = lo + f.ENGN_thro_use[n] * (1.0f - lo) / fwd;
        target = lo < 1.0f ? clampf(t, lo, 1.0f) : clampf(t, 1.0f, lo);
    }
    // A negative target (a damaged idle ratio) would make its 0.4th power no
    // number; it counts as 0.
    if (!std::isfinite(target) || target < 0.0f) target = 0.0f;

    const float x = f.ENGN_N1_[n] / 100.0f;
    float drive = f.ENGN_running[n] ? std::pow(target, 0.4f) * x : 0.0f;
    if (sim_cockpit_engine.starter_duration[n] > 0.01f) drive += starter;
    // Ram air turns the spool with the indicated airspeed (none with a Vne of
    // 0, which would divide by zero).
    drive += div_or(0.005f * f.indicated_airspeed, 0.75f * a.acf_Vne, 0.0f);
    const float drag = 0.999f * x * x + 0.001f;

    float n1 = f.ENGN_N1_[n] + frame_dt() * 500.0f * (1.0f - lo) * (drive - drag) / spool_time;
    n1 *= f.oil_power_thrust_ratio[n];
    if (!(n1 > 0.0f)) n1 = 0.0f;
    // The spool cannot run away on damaged values: beyond ten times full speed
    // the drag term alone would stop it within a frame.
    if (n1 > 1000.0f) n1 = 1000.0f;
    f.ENGN_N1_[n] = n1;
}
