// Artificial stability and control mixing of the control step.
#include "flightmodel/control/stability.h"

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/joystick.h"
#include "core/simvars/operation.h"
#include "flightmodel/control/control_math.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/flt.h"

stability_state stability{};

ORVELL_RESET_RECORD(STAB_reset_state, stability, flight);

namespace {

// The low-speed and high-speed weights of one channel at an airspeed.
struct blend {
    float lo;
    float hi;
};

blend blend_at(float ias, float lo_speed, float hi_speed)
{
    if (lo_speed == hi_speed) return {0.5f, 0.5f};
    const float x = (ias - lo_speed) / (hi_speed - lo_speed);
    return {clamp_or(1.0f - x, 0.0f, 1.0f, 0.5f), clamp_or(x, 0.0f, 1.0f, 0.5f)};
}

// A deflection within -1..1; a value that is not a number counts as centred.
float deflection(float x) { return clamp_or(x, -1.0f, 1.0f, 0.0f); }

}  // namespace

void STAB_mix(int p, float g)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    sim_joystick_block& joy = sim_joystick;
    const float dt = sim_operation_misc.frame_rate_period;

    joy.yolk_pitch_ratio = deflection(joy.yolk_pitch_ratio);
    joy.yolk_roll_ratio = deflection(joy.yolk_roll_ratio);
    joy.yolk_heading_ratio = deflection(joy.yolk_heading_ratio);
    f.elv_trim = clamp_or(f.elv_trim, -a.acf_elv_trim_dn, a.acf_elv_trim_up, 0.0f);
    f.ail_trim = clamp_or(f.ail_trim, -a.acf_ail_trim_lt, a.acf_ail_trim_rt, 0.0f);
    f.rud_trim = clamp_or(f.rud_trim, -a.acf_rud_trim_lt, a.acf_rud_trim_rt, 0.0f);

    const float g_rate = finite_or((f.g_nrml - stability.g_nrml_before) * per_second(dt), 0.0f);
    stability.g_nrml_before = finite_or(f.g_nrml, 0.0f);

    const float ias = finite_or(f.indicated_airspeed, 0.0f);
    const blend wp = blend_at(ias, a.acf_ASloV, a.acf_AShiV);
    const blend wy = blend_at(ias, a.acf_ASloV_yaw, a.acf_AShiV_yaw);
    const blend wr = blend_at(ias, a.acf_ASloV_roll, a.acf_AShiV_roll);
    const float fade = UTIL_clamp(0.2f * ias, 0.0f, 1.0f);   // no high-speed law standing still

    float alpha = f.alpha, beta = f.beta;
    if (ias < 10.0f) {
        alpha *= 0.1f * ias;
        beta *= 0.1f * ias;
    }

    const float pin = joy.yolk_pitch_ratio + f.elv_trim;
    const float hin = joy.yolk_heading_ratio + f.rud_trim;
    const float rin = joy.yolk_roll_ratio + f.ail_trim;

    float Lp = (pin * a.acf_ASmaxp_lo - f.Q) * a.acf_ASp_lo_rate;
    float Hp = (pin * a.acf_ASmaxg_hi - f.g_nrml) * a.acf_ASg_hi_pos - g_rate * a.acf_ASg_hi_rate +
               (pin * a.acf_ASmaxp_hi - alpha) * a.acf_ASp_hi_pos - f.Q * a.acf_ASp_hi_rate;
    float Ly = (hin * a.acf_ASmaxh_lo - f.R) * a.acf_ASh_lo_rate;
    float Hy = (hin * a.acf_ASmaxh_hi - beta * UTIL_clamp(ias, 0.0f, 1.0f)) * a.acf_ASh_hi_pos - f.R * a.acf_ASh_hi_rate;
    float Lr = (rin * a.acf_ASmaxr_lo - f.P) * a.acf_ASr_lo_rate;
    float Hr = (rin * a.acf_ASmaxr_hi - f.P) * a.acf_ASr_hi_rate;
    if (!sim_cockpit_switches.yaw_damper_on) Ly = Hy = 0.0f;
    if (!sim_cockpit_switches.art_stab_on) Lp = Hp = Ly = Hy = Lr = Hr = 0.0f;

    if (!sim_operation_override.override_flightcontrol) {
        f.FC_ptch = joy.yolk_pitch_ratio;
        f.FC_hdng = joy.yolk_heading_ratio;
        f.FC_roll = joy.yolk_roll_ratio;
        if (!sim_operation_override.override_artstab) {
            joy.artstab_pitch_ratio = (Lp * wp.lo + Hp * wp.hi * fade) * g;
            joy.artstab_heading_ratio = f.onground_all ? 0.0f : (Ly * wy.lo + Hy * wy.hi * fade) * g;
            joy.artstab_roll_ratio = (Lr * wr.lo + Hr * wr.hi * fade) * g;
            if (FLT_slot_failed(p, FAIL_SLOT_STABILITY_AUGMENTATION))
                joy.artstab_pitch_ratio = joy.artstab_heading_ratio = joy.artstab_roll_ratio = 0.0f;
        }
        // Whatever the ratios hold, also when written from outside.
        f.FC_ptch += finite_or(joy.artstab_pitch_ratio, 0.0f);
        f.FC_hdng += finite_or(joy.artstab_heading_ratio, 0.0f);
        f.FC_roll += finite_or(joy.artstab_roll_ratio, 0.0f);
    }

    // Hydraulic pressure scales authority down to the aircraft's floor.
    const float authority = UTIL_clamp(finite_or(sim_operation_failures.hydraulic_pressure_ratio, 1.0f),
                                       a.acf_hyd_min_authority, 1.0f);
    f.FC_ptch = deflection(f.FC_ptch * authority);
    f.FC_roll = deflection(f.FC_roll * authority);
    f.FC_hdng = deflection(f.FC_hdng * authority);

    // A jammed control keeps one direction of travel; a failed trim runs to 0.
    if (FLT_slot_failed(p, FAIL_SLOT_ROLL_JAM_RIGHT)) f.FC_roll = UTIL_clamp(f.FC_roll, 0.0f, 1.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_ROLL_JAM_LEFT)) f.FC_roll = UTIL_clamp(f.FC_roll, -1.0f, 0.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_PITCH_JAM_DOWN)) f.FC_ptch = UTIL_clamp(f.FC_ptch, -1.0f, 0.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_PITCH_JAM_UP)) f.FC_ptch = UTIL_clamp(f.FC_ptch, 0.0f, 1.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_YAW_JAM_RIGHT)) f.FC_hdng = UTIL_clamp(f.FC_hdng, 0.0f, 1.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_YAW_JAM_LEFT)) f.FC_hdng = UTIL_clamp(f.FC_hdng, -1.0f, 0.0f);
    if (FLT_slot_failed(p, FAIL_SLOT_AILERON_TRIM)) f.ail_trim = 0.0f;
    if (FLT_slot_failed(p, FAIL_SLOT_ELEVATOR_TRIM)) f.elv_trim = 0.0f;
    if (FLT_slot_failed(p, FAIL_SLOT_RUDDER_TRIM)) f.rud_trim = 0.0f;

    // The trims act after the jams (a trim can carry a jammed control past its stop).
    f.FC_ptch = deflection(f.FC_ptch + f.elv_trim);
    f.FC_hdng = deflection(f.FC_hdng + f.rud_trim);
    f.FC_roll = deflection(f.FC_roll + f.ail_trim);
}

void STAB_wing_tilt(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    f.wing_tilt_ptch = a.acf_wing_tilt_ptch * f.FC_ptch;
    f.wing_tilt_roll = a.acf_wing_tilt_roll * f.FC_roll;
}
