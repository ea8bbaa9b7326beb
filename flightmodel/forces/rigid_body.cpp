// The rigid body of the user's plane: the prediction of the flow angles and
// rates, clearing the sums, the catapult, the accelerations from the totals
// and the integration of the body rates and local velocities.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems.h"
#include "aircraft/part_presence.h"
#include "world/ship_decks.h"
#include "world/ships.h"
#include "flightmodel/step_record.h"

forces_state fm_state{};

ORVELL_RESET_RECORD(FM_forces_reset, fm_state, flight);

namespace {

constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float TWO_PI_F = static_cast<float>(TWO_PI_DOUBLE);
constexpr int SKID = 1;

float predicted(float value, float* previous)
{
    const float use = value + 0.75f * (value - *previous);
    *previous = value;
    return use;
}

// Bounds of the state carried into the next frame: far beyond anything that
// flies (orbital speeds included), but low enough that forces and moments
// worked out from them stay numbers. A damaged aircraft (no inertia, a tiny
// mass) can make the explicit integration run away; it then tumbles at the
// bound instead of overflowing.
constexpr float RATE_BOUND_DEG_S = 1.0e5f;
constexpr float SPEED_BOUND_MPS = 1.0e5f;

float keep_bounded(float v, float bound)
{
    if (!std::isfinite(v)) return 0.0f;
    return v > bound ? bound : (v < -bound ? -bound : v);
}

// The yaw lock: a rotor pre-rotating on the ground against the parking brake,
// or a plane standing on its skids with more than half its weight on them.
// Only the legs that are fitted are asked for their type: an absent leg's
// type word means nothing (it is usually 0), and asking it would keep a plane
// with two skids and two empty leg slots from ever locking its yaw.
bool yaw_locked(const acf_struct& a, const flt_struct& f)
{
    if (sim_cockpit_switches.pre_rotating && f.onground_any && f.parkbrake > 0.5f) return true;
    if (!(f.groundspeed < 1.0f)) return false;
    float load = 0.0f;
    int skids = 0;
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_FIRST + 3; ++p) {
        if (!fm_state.present[p]) continue;
        if (a.acf_gear_type[p] != SKID) return false;
        load += f.nrml_force[p];
        ++skids;
    }
    return skids > 0 && load > f.m_total * FM_GRAVITY * 0.5f;
}

// Tow-wake turbulence: while towed in the air and flying in the tow plane's
// wake (the rope within 4 degrees of its line in pitch and heading).
void tow_wake(flt_struct& f, float dt)
{
    const launch_flags_block& l = launch_flags;
    if (!(l.aero_tow_mode && l.tow_attached) || f.onground_any) return;
    const flt_struct& tow = flt[1];
    if (!(std::fabs(l.rope_pitch_deg - f.theta + tow.theta) < 4.0f)) return;
    if (!(std::fabs(-l.rope_side_deg - f.psi + tow.psi) < 4.0f)) return;
    float* rates[3] = {&f.P_dot, &f.Q_dot, &f.R_dot};
    for (int k = 0; k < 3; ++k) {
        float& ph = fm_state.wake_phase[k];
        ph += (1.0f + 3.0f * static_cast<float>(UTIL_rand()) / UTIL_RAND_MAX) * dt;
        ph = UTIL_wrap_floor(ph, TWO_PI_F);
        *rates[k] += (50.0f + 50.0f * static_cast<float>(UTIL_rand()) / UTIL_RAND_MAX) * std::sin(10.0f * ph);
    }
}

}  // namespace

void FM_predict()
{
    flt_struct& f = flt[0];
    forces_state& s = fm_state;
    s.alpha_use = predicted(f.alpha, &s.prev_alpha);
    s.beta_use = predicted(f.beta, &s.prev_beta);
    s.P_use = predicted(f.Prad, &s.prev_Prad);
    s.Q_use = predicted(f.Qrad, &s.prev_Qrad);
    s.R_use = predicted(f.Rrad, &s.prev_Rrad);
}

void FM_clear_part_values()
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    for (int p = 0; p < FLT_PARTS; ++p) {
        a.acf_gear_def[p] = 0.0f;
        f.nrml_force[p] = 0.0f;
        f.axil_force[p] = 0.0f;
        fm_state.present[p] = ACF_part_present(0, p) ? 1 : 0;
    }
}

void FM_clear_totals()
{
    flt_struct& f = flt[0];
    f.L = f.M = f.N = 0.0f;
    f.faxil_aero = f.fside_aero = f.fnrml_aero = 0.0f;
    f.faxil_prop = f.fside_prop = f.fnrml_prop = 0.0f;
    f.faxil_gear = f.fside_gear = f.fnrml_gear = 0.0f;
}

namespace {

// The shuttle's hold on the nose gear, per unit of the plane's mass: a spring
// of 5 rad/s on the gear's side offset from the catapult's line and a
// critical damper on its side speed over the deck, its pull held to the
// plane's weight.
constexpr float SHUTTLE_SPRING = 25.0f;   // 1/s^2
constexpr float SHUTTLE_DAMPER = 10.0f;   // 1/s

// The shuttle runs in the deck's slot and carries the foremost gear along the
// catapult's line. Left free, the propeller's swirl and torque at full power
// and the rolling deck turned and slid the plane off the line, and it left
// the deck over the bow's port edge before the stroke's end.
void shuttle_hold(flt_struct& f)
{
    const acf_struct& a = pln[0];
    int n = -1;
    for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g) {
        const float z = a.acf_gear_znodef[g];
        if (ACF_part_present(0, g) && z < 0.0f && (n < 0 || z < a.acf_gear_znodef[n])) n = g;
    }
    if (n < 0) return;
    const float x = a.acf_gear_xnodef[n], y = a.acf_gear_ynodef[n], z = a.acf_gear_znodef[n];
    float ox, oy, oz, vx, vy, vz;
    PHYS_body_to_local(x, y, z, &ox, &oy, &oz, 0);
    PHYS_body_to_local(y * f.Prad - z * f.Rrad, -x * f.Prad - z * f.Qrad, y * f.Qrad + x * f.Rrad, &vx, &vy, &vz, 0);
    const float px = f.local_x + ox, pz = f.local_z + oz;
    float svx = 0.0f, svy = 0.0f, svz = 0.0f;
    int ci = f.i, cj = f.j;
    TERRAIN_height_at(px, pz, &svx, &svy, &svz, &ci, &cj, 1, "catapult");
    // The line's side direction (to starboard) in local axes, and the gear's
    // offset from the line and speed across it over the deck.
    const float h = ship_heading[SHIP_CARRIER] * DEG;
    const float side = h + CARRIER_CATAPULT_TURN_DEG * DEG;
    const float nx = std::cos(side), nz = std::sin(side);
    const deck_point c = CARRIER_CATAPULT_START;
    const float sx = ship_x[SHIP_CARRIER] + c.x * std::cos(h) - c.z * std::sin(h);
    const float sz = ship_z[SHIP_CARRIER] + c.z * std::cos(h) + c.x * std::sin(h);
    const float offset = (px - sx) * nx + (pz - sz) * nz;
    const float drift = (f.local_vx + vx - svx) * nx + (f.local_vz + vz - svz) * nz;
    const float weight = std::fabs(f.m_total * FM_GRAVITY);
    const float pull = UTIL_clamp(-f.m_total * (SHUTTLE_SPRING * offset + SHUTTLE_DAMPER * drift), -weight, weight);
    float bs, bn, ba;
    PHYS_local_to_body(pull * nx, 0.0f, pull * nz, &bs, &bn, &ba, 0);
    PHYS_add_gear_side(0, bs, y, z);
    PHYS_add_gear_normal(0, bn, x, z);
    PHYS_add_gear_axial(0, ba, x, y);
}

}  // namespace

void FM_catapult()
{
    // The stroke pushes from the launch while the wheels are on the deck: the
    // fired flag stays up until the plane is clear of the carrier, and pushing
    // after the wheels left the deck would keep accelerating the plane in the
    // air. The axial totals point aft, so the forward push of the catapult's
    // acceleration enters them negative (a positive value would shove the
    // plane backwards off the stern).
    flt_struct& f = flt[0];
    if (!launch_flags.catapult_fired || !f.onground_any) return;
    const float push = f.m_total * launch_flags.catapult_accel_mss;
    f.faxil_aero = -push;
    f.M -= push * 3.0f * f.sin_alpha;
    f.N -= push * 3.0f * f.sin_beta;
    shuttle_hold(f);
}

void FM_accelerations()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float g = FM_GRAVITY;
    const float dt = FM_step_sec();

    // Aerodynamic totals from flight-path axes into body axes.
    const float normal = f.fnrml_aero * f.cos_alpha + f.faxil_aero * f.sin_alpha;
    const float axial_a = f.faxil_aero * f.cos_alpha - f.fnrml_aero * f.sin_alpha;
    const float side = f.fside_aero * f.cos_beta + axial_a * f.sin_beta;
    const float axial = axial_a * f.cos_beta - f.fside_aero * f.sin_beta;

    // Without mass the forces move nothing (no division by zero).
    const float per_mass = f.m_total > 0.0f ? 1.0f / (f.m_total * g) : 0.0f;
    f.g_nrml = (f.fnrml_prop + normal + f.fnrml_gear) * per_mass;
    f.g_axil = (f.faxil_prop + axial + f.faxil_gear) * per_mass;
    f.g_side = (f.fside_prop + side + f.fside_gear) * per_mass;
    const float local_g = sim_physics.g_sealevel;
    // Under the mother ship the carriage takes up the plane's own forces and
    // carries it along in the mother ship's straight flight, so what is felt
    // aboard is gravity's reaction alone. Counted free, the wing's lift at the
    // mother ship's speed reads many g and dims the view to black until the drop.
    if (launch_flags.mothership_carried)
        PHYS_local_to_body(0.0f, local_g / g, 0.0f, &f.g_side, &f.g_nrml, &f.g_axil, 0);

    PHYS_body_to_local(f.g_side * g, f.g_nrml * g, f.g_axil * g, &f.local_ax, &f.local_ay, &f.local_az, 0);

    const float buoyancy = a.acf_m_displaced * g * f.displace_rat * sim_weather.sigma;
    f.local_ay += (f.m_total > 0.0f ? buoyancy / f.m_total : 0.0f) - local_g;

    FM_cg_offset_moments();
    f.L -= buoyancy * f.sin_phi * a.acf_m_displaced_y;
    f.M -= buoyancy * f.sin_theta * a.acf_m_displaced_y;

    const float ay = f.local_ay + local_g;
    f.g_total = length(vec3{ay, f.local_ax, f.local_az}) / g;   // the vertical term first

    if (sim_graphics_settings.dim_gload) {
        const float target = UTIL_clamp(1.0f - (f.g_nrml - 7.0f) / 3.0f, 0.0f, 1.0f);
        gload_dim_factor = (1.0f - dt) * gload_dim_factor + dt * target;
    } else {
        gload_dim_factor = 1.0f;
    }

    // Without inertia the moments turn nothing; the damping settings still act.
    const forces_state& s = fm_state;
    f.P_dot = (s.MI_roll > 0.0f ? f.L / s.MI_roll * RAD : 0.0f) - f.P * screen_settings.roll_rate_damping * 5.0f;
    f.Q_dot = (s.MI_pitch > 0.0f ? f.M / s.MI_pitch * RAD : 0.0f) - f.Q * screen_settings.pitch_rate_damping * 20.0f;
    f.R_dot = (s.MI_yaw > 0.0f ? f.N / s.MI_yaw * RAD : 0.0f) - f.R * screen_settings.yaw_rate_damping * 10.0f;
}

void FM_integrate()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = FM_step_sec();

    if (launch_flags.mothership_carried) {
        f.local_ax = f.local_ay = f.local_az = 0.0f;
        f.P_dot = f.Q_dot = f.R_dot = 0.0f;
        f.P = f.Q = f.R = 0.0f;
        f.Prad = f.Qrad = f.Rrad = 0.0f;
        f.local_vx = flt[1].local_vx;
        f.local_vy = flt[1].local_vy;
        f.local_vz = flt[1].local_vz;
    }
    tow_wake(f, dt);
    if (yaw_locked(a, f)) f.R_dot = f.R = 0.0f;

    f.P += f.P_dot * dt;
    f.Q += f.Q_dot * dt;
    f.R += f.R_dot * dt;
    f.local_vx += f.local_ax * dt;
    f.local_vy += f.local_ay * dt;
    f.local_vz += f.local_az * dt;

    if (fm_step.held) {
        const float k = 1.0f - 5.0f * dt;
        f.P *= k, f.Q *= k, f.R *= k;
        f.local_vx *= k, f.local_vy *= k, f.local_vz *= k;
    }

    // Whatever a damaged aircraft did to the sums, the state that is carried
    // into the next frame stays a number.
    f.P = keep_bounded(f.P, RATE_BOUND_DEG_S);
    f.Q = keep_bounded(f.Q, RATE_BOUND_DEG_S);
    f.R = keep_bounded(f.R, RATE_BOUND_DEG_S);
    f.local_vx = keep_bounded(f.local_vx, SPEED_BOUND_MPS);
    f.local_vy = keep_bounded(f.local_vy, SPEED_BOUND_MPS);
    f.local_vz = keep_bounded(f.local_vz, SPEED_BOUND_MPS);
    f.Prad = f.P * DEG;
    f.Qrad = f.Q * DEG;
    f.Rrad = f.R * DEG;
}
