#include "flightmodel/derived_data.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "core/numeric.h"
#include "flightmodel/phys.h"
#include "flightmodel/plane_override.h"
#include "flightmodel/step_record.h"
#include "flightmodel/systems.h"
#include "core/frame_clock.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/systems/instrument_power.h"

rope_points_block rope_points{};
derived_data_state derived_state{};

ORVELL_RESET_RECORD(FLTMOD_derived_reset, derived_state, flight);
ORVELL_RESET_RECORD(FLTMOD_rope_points_reset, rope_points, flight);

namespace {

constexpr int TOW_POINT_PART = PART_BODY_FIRST;   // the towing plane's fuselage
constexpr int TOW_POINT_OUTLINE = 198;            // its tail point among the fuselage's outline points


// Turn needles: the raw value scaled and clamped, then smoothed at 2/s.
void turn_and_slip(flt_struct& f, float dt)
{
    float roll = 0.0f, yaw = 0.0f;
    if (!FLT_slot_failed(0, FAIL_SLOT_TURN_INDICATOR) && PANEL_has_power()) {
        roll = f.R * 0.6333f + f.P * 0.1f;
        yaw = f.R * 0.6333f;
    }
    const float k = 2.0f * dt;
    f.turnrate_roll = (1.0f - k) * f.turnrate_roll + k * UTIL_clamp(roll * 8.696f, -55.0f, 55.0f);
    f.turnrate_noroll = (1.0f - k) * f.turnrate_noroll + k * UTIL_clamp(yaw * 8.696f, -55.0f, 55.0f);
}

void air_data(flt_struct& f, const float w[3])
{
    f.true_airspeed = length(vec3_at(w));
    const float sound = sim_weather.speed_of_sound_ms;
    // A speed of sound of 0 (no atmosphere set yet) would make the Mach number
    // infinite; it reads 0 then. A negative sigma would make the indicated
    // airspeed NaN; it counts as 0.
    f.machno = sound > 0.0f ? f.true_airspeed / sound : 0.0f;
    f.Qstatic = f.true_airspeed * f.true_airspeed * sim_weather.rho * 0.5f;
    const float sigma = sim_weather.sigma > 0.0f ? sim_weather.sigma : 0.0f;
    f.indicated_airspeed = UTIL_clamp(f.vz_air_on_acf, 0.0f, 99999.9f) * std::sqrt(sigma) * units.mps_to_kts;
}

void position(flt_struct& f, float dt)
{
    if (launch_flags.mothership_carried) {
        const acf_struct& mother = pln[1];
        const acf_struct& own = pln[0];
        float ox, oy, oz;
        PHYS_body_to_local(mother.jett_X - own.jett_X, mother.jett_Y - own.jett_Y, mother.jett_Z - own.jett_Z, &ox,
                           &oy, &oz, 1);
        f.local_x_d = static_cast<double>(flt[1].local_x) + ox;
        f.local_y_d = static_cast<double>(flt[1].local_y) + oy;
        f.local_z_d = static_cast<double>(flt[1].local_z) + oz;
    } else {
        f.local_x_d += static_cast<double>(f.local_vx) * dt;
        f.local_y_d += static_cast<double>(f.local_vy) * dt;
        f.local_z_d += static_cast<double>(f.local_vz) * dt;
    }
    f.local_x = static_cast<float>(f.local_x_d);
    f.local_y = static_cast<float>(f.local_y_d);
    f.local_z = static_cast<float>(f.local_z_d);
}

void attitude_values(flt_struct& f, const float w[3])
{
    const float horizontal = UTIL_clamp(std::sqrt(f.local_vx * f.local_vx + f.local_vz * f.local_vz), 0.01f, 9.9e9f);
    f.vpath = std::atan(f.local_vy / horizontal) * RAD_TO_DEG_FLOAT;
    f.hpath = UTIL_wrap_360(std::atan2(f.local_vx, -f.local_vz) * RAD_TO_DEG_FLOAT);
    PHYS_cache_attitude(f);
    PHYS_local_to_body(f.local_vx, f.local_vy, f.local_vz, &f.vx_acf_axis, &f.vy_acf_axis, &f.vz_acf_axis, 0);
    PHYS_local_to_body(-w[0], -w[1], -w[2], &f.vx_air_on_acf, &f.vy_air_on_acf, &f.vz_air_on_acf, 0);
    f.alpha = std::atan2(f.vy_air_on_acf, f.vz_air_on_acf) * RAD_TO_DEG_FLOAT;
    f.beta = std::atan2(f.vx_air_on_acf, std::fabs(f.vz_air_on_acf)) * RAD_TO_DEG_FLOAT;
    f.sin_alpha = std::sin(f.alpha * DEG_TO_RAD_FLOAT);
    f.cos_alpha = std::cos(f.alpha * DEG_TO_RAD_FLOAT);
    f.sin_beta = std::sin(f.beta * DEG_TO_RAD_FLOAT);
    f.cos_beta = std::cos(f.beta * DEG_TO_RAD_FLOAT);
}

// One stability-test kick of a degree, once per request of 2.
void stability_kicks(flt_struct& f)
{
    int32_t& pitch = sim_flightmodel_misc.stab_ptch_test;
    int32_t& heading = sim_flightmodel_misc.stab_hdng_test;
    if (pitch == 2) {
        pitch = 1;
        f.theta += 1.0f;
        PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    }
    if (heading == 2) {
        heading = 1;
        f.psi += 1.0f;
        PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    }
}

void half_step(int n, float dt)
{
    flt_struct& f = flt[n];
    sim_time.total_flight_time_sec += dt;
    sim_time.total_running_time_sec += dt;
    sim_network_misc.network_time_sec += dt;
    if (!PLANE_externally_moved(n)) {
        FM_forces_and_moments();
        ++derived_state.buildups_last_frame;
        if (launch_flags.mothership_carried) PHYS_euler_to_quat(flt[1].theta, flt[1].psi, flt[1].phi, f.q);
        PHYS_integrate_quat(f.Prad, f.Qrad, f.Rrad, &f.theta, &f.psi, &f.phi, f.q);
        stability_kicks(f);
        f.groundspeed = length(vec3{f.local_vx, f.local_vy, f.local_vz});
        f.dist += dt * f.groundspeed;
        const float w[3] = {f.local_vx - wind_vector[0], f.local_vy - wind_vector[1], f.local_vz - wind_vector[2]};
        turn_and_slip(f, dt);
        air_data(f, w);
        const float k = 0.5f * dt;
        const float x = UTIL_clamp(std::atan2(f.g_side, f.g_nrml) * RAD_TO_DEG_FLOAT * 4.0f, -15.0f, 15.0f);
        f.slip = (1.0f - k) * f.slip + k * x;
        position(f, dt);
        attitude_values(f, w);
    }
    sim_network_dataout.dump_next_cycle = 0;
}

void stall_warning(flt_struct& f)
{
    const acf_struct& a = pln[0];
    f.stallwarning = f.indicated_airspeed > 0.33f * a.acf_est_Vs * units.mps_to_kts && f.alpha > a.acf_stall_warn_alpha;
}

void rope_ends(const flt_struct& f)
{
    const launch_flags_block& l = launch_flags;
    const bool tow = l.aero_tow_mode || l.tow_attached;
    const bool winch = l.winch_mode || l.winch_attached;
    if (!tow && !winch) return;
    const acf_struct& a = pln[0];
    float* A = rope_points.line_a;
    float* B = rope_points.line_b;
    if (winch)
        PHYS_body_to_local(0.0f, a.acf_win_hook_Y, a.acf_win_hook_Z, &A[0], &A[1], &A[2], 0);
    else
        PHYS_body_to_local(0.0f, a.acf_tow_hook_Y, a.acf_tow_hook_Z, &A[0], &A[1], &A[2], 0);
    A[0] += f.local_x;
    A[1] += f.local_y;
    A[2] += f.local_z;
    if (winch) {
        B[0] = l.winch_x;
        B[1] = l.winch_y;
        B[2] = l.winch_z;
        return;
    }
    const acf_struct& tug = pln[1];
    const int k = TOW_POINT_PART * ACF_BODY_PART_POINTS + TOW_POINT_OUTLINE;
    PHYS_body_to_local(tug.acf_Xarm[TOW_POINT_PART] + tug.acf_body_X[k], tug.acf_Yarm[TOW_POINT_PART] + tug.acf_body_Y[k],
                       tug.acf_Zarm[TOW_POINT_PART] + tug.acf_body_Z[k], &B[0], &B[1], &B[2], 1);
    B[0] += flt[1].local_x;
    B[1] += flt[1].local_y;
    B[2] += flt[1].local_z;
}

void slung_load(const flt_struct& f)
{
    const acf_struct& a = pln[0];
    rope_points_block& r = rope_points;
    if (a.acf_jett_is_slung && f.m_jettison > 0.01f) {
        PHYS_body_to_local(a.jett_X, a.jett_Y, a.jett_Z, &r.load_attach[0], &r.load_attach[1], &r.load_attach[2], 0);
        r.load_attach[0] += f.local_x;
        r.load_attach[1] += f.local_y;
        r.load_attach[2] += f.local_z;
        const float dt = sim_operation_misc.frame_rate_period;
        for (int k = 0; k < 3; ++k) r.load_pos[k] += r.load_vel[k] * dt;
        return;
    }
    r.load_pos[0] = f.local_x;
    r.load_pos[1] = f.local_y - f.jett_len;
    r.load_pos[2] = f.local_z;
    r.load_vel[0] = f.local_vx;
    r.load_vel[1] = f.local_vy;
    r.load_vel[2] = f.local_vz;
}

}  // namespace

void FLTMOD_flow_at_plane(int n)
{
    if (n < 0 || n >= FLT_SLOTS) return;
    flt_struct& f = flt[n];
    const float w[3] = {f.local_vx - wind_vector[0], f.local_vy - wind_vector[1], f.local_vz - wind_vector[2]};
    attitude_values(f, w);
    air_data(f, w);
}

int FLTMOD_steps_in_frame(float period, bool in_contact)
{
    if (!in_contact || !(period > 2.0f * CONTACT_STEP_SEC)) return 2;
    // A period far beyond any the frame clock gives (a caller's own, or a
    // paused clock's jump) would ask for thousands of steps in one frame.
    constexpr int MOST_STEPS = 24;
    return std::min(MOST_STEPS, static_cast<int>(std::ceil(period / CONTACT_STEP_SEC - 1e-3f)));
}

void FLTMOD_derived_data(int n)
{
    // A slot outside 0..9 would index past the plane records; it is ignored.
    if (n < 0 || n >= FLT_SLOTS) return;
    const float frame_period = sim_operation_misc.frame_rate_period;
    // On the ground or the water, and just above it, the tyres, skids and
    // floats are stiff springs with friction: stepped at the frame's half
    // period they swing and slip by an amount that grows with the step, and
    // a rollout in a crosswind weathervaned far more at 30 frames a second
    // than at 120. There the frame is cut into steps no longer than
    // CONTACT_STEP_SEC, so the plane moves the same at every frame rate. The
    // stages read each step's length from the step record; the frame period
    // keeps meaning the frame.
    flt_struct& f = flt[n];
    const bool in_contact = f.onground_any || f.y_agl < CONTACT_SUBSTEP_HEIGHT_M;
    const int steps = FLTMOD_steps_in_frame(frame_period, in_contact);
    fm_step = fm_step_record{};
    fm_step.dt_sec = frame_period / static_cast<float>(steps);
    fm_step.count = steps;
    fm_step.held = frame_clock < crash_hold_until;
    derived_state.buildups_last_frame = 0;
    for (int k = 0; k < steps; ++k) {
        fm_step.index = k;
        half_step(n, fm_step.dt_sec);
    }
    // Back to "the whole frame" for what runs after; what the steps met
    // (contact, impact speed) stays for the once-a-frame checks.
    fm_step.dt_sec = 0.0f;
    fm_step.index = 0;
    fm_step.count = 1;

    WPN_fly_released(n);
    stall_warning(f);
    rope_ends(f);
    slung_load(f);
}
