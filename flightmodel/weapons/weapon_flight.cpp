// Weapon flight: the forces on each loaded weapon (its body and fins in the
// air, its motor), guidance towards the target plane, the end of a weapon
// that meets the ground or leaves the loaded area, and the motion of the
// released weapons. A weapon still on its aircraft loads the user's plane
// with its drag instead.
#include <cmath>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/attitude.h"
#include "flightmodel/forces/body_drag.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/weapons/weapons_internal.h"
#include "flightmodel/effects/particle_list.h"
#include "world/scenery_area.h"
#include "flightmodel/step_record.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr float TIME_TO_GO_MAX_SEC = 10.0f;
constexpr float ROLL_HOLD_PER_DEG = -0.01f;   // rad/s of roll rate per degree of roll
constexpr float ROLL_HOLD_LIMIT_DEG = 30.0f;
constexpr int FIN_SETS = 4;


// Steering values towards the target plane's predicted position.
void guide(wpn_slot_record& w)
{
    const int target = sim_cockpit_weapons.plane_target_index;
    // A target index past the plane table (a cockpit word a plug-in may
    // write) would read past it: there is then no plane to aim at.
    if (target < 0 || target >= FLT_SLOTS) return;
    const flt_struct& t = flt[target];
    const float ttg = w.wpn_time_to_go;
    const float d[3] = {t.local_x + t.local_vx * ttg - w.wpn_pos[0], t.local_y + t.local_vy * ttg - w.wpn_pos[1],
                        t.local_z + t.local_vz * ttg - w.wpn_pos[2]};
    const float dist = length(vec3_at(d));
    w.wpn_tgt_dist_pred = dist;
    const float v = w.wpn_speed > 1.0f ? w.wpn_speed : 1.0f;
    w.wpn_time_to_go = UTIL_clamp(dist / v, 0.0f, TIME_TO_GO_MAX_SEC);
    const float bearing = std::atan2(d[0], -d[2]) * RAD;
    const float horizontal = std::sqrt(d[0] * d[0] + d[2] * d[2]);
    // atan(dy / horizontal), without dividing by a zero horizontal distance.
    const float elevation = std::atan2(d[1], horizontal) * RAD;
    w.wpn_hdg_err = UTIL_wrap_nearest(bearing - w.wpn_psi, 360.0f);
    w.wpn_pitch_err = UTIL_wrap_nearest(elevation - w.wpn_theta, 360.0f);
    w.wpn_pitch_cmd = 0.0f;
    w.wpn_yaw_cmd = 0.0f;
    w.wpn_tgt_dist = length(vec3{t.local_x, t.local_y, t.local_z} - vec3_at(w.wpn_pos));
}

// Whether a released weapon has ended its flight: outside the loaded area it
// is simply gone; below the terrain it has hit the ground there.
bool flight_ended(wpn_slot_record& w)
{
    const float x = w.wpn_pos[0], y = w.wpn_pos[1], z = w.wpn_pos[2];
    const scenery_area_record& area = scenery_area;
    // (A position of no number counts as outside: it would fly on for good.)
    if (!(x >= area.x0 && x <= area.x1 && z >= area.z0 && z <= area.z1)) {
        w.wpn_type = WPN_KIND_NONE;
        return true;
    }
    const float ground = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &w.wpn_terrain_i, &w.wpn_terrain_j, 0,
                                           "bomb h");
    if (y < ground) {
        w.wpn_type = WPN_KIND_NONE;
        w.wpn_impact = 1;
        w.wpn_impact_pos[0] = x, w.wpn_impact_pos[1] = ground, w.wpn_impact_pos[2] = z;
        w.wpn_impact_time = frame_clock;
        return true;
    }
    return false;
}

// The air about a weapon: angles of the flow in radians and the two speeds.
struct flow_record {
    float alpha, beta, total;   // angle of attack, sideslip, total angle to the flow
    float u;                    // speed along the weapon's axis, forward positive
};

flow_record flow_about(wpn_slot_record& w)
{
    const float a[3] = {w.wpn_vel[0] - wind_vector[0], w.wpn_vel[1] - wind_vector[1], w.wpn_vel[2] - wind_vector[2]};
    const float sps = w.wpn_sin_psi, cps = w.wpn_cos_psi, sth = w.wpn_sin_theta, cth = w.wpn_cos_theta;
    const float sph = w.wpn_sin_phi, cph = w.wpn_cos_phi;
    const float f = a[0] * sps - a[2] * cps;
    const float l = -a[0] * cps - a[2] * sps;
    const float u = f * cth + a[1] * sth;
    const float v = f * sth - a[1] * cth;
    const float w1 = l * cph - v * sph;
    const float w2 = l * sph + v * cph;
    w.wpn_speed = length(vec3_at(w.wpn_vel));
    w.wpn_airspeed = length(vec3_at(a));
    return {std::atan2(w2, u), std::atan2(w1, u), std::atan2(std::sqrt(w1 * w1 + w2 * w2), std::fabs(u)), u};
}

// The forces of one weapon: body, fins and, once released, the motor. True
// when the weapon ended its flight (the weapons' pass then ends).
bool weapon_forces(int plane, int s)
{
    acf_struct& a = pln[plane];
    wpn_slot_record& w = a.acf_wpn_slot[s];

    // Height above the planet's sphere (double: the radius dwarfs the offsets).
    const double R = sim_physics.earth_radius_m;
    const double px = w.wpn_pos[0], py = w.wpn_pos[1], pz = w.wpn_pos[2];
    const float h = static_cast<float>(std::sqrt(px * px + (R + py) * (R + py) + pz * pz) - R);

    const bool released = w.wpn_released != 0;
    if (released) {
        if (WPN_kind_is_guided(w.wpn_type)) guide(w);
        if (flight_ended(w)) return true;
    }

    w.wpn_sin_theta = std::sin(w.wpn_theta * DEG), w.wpn_cos_theta = std::cos(w.wpn_theta * DEG);
    w.wpn_sin_psi = std::sin(w.wpn_psi * DEG), w.wpn_cos_psi = std::cos(w.wpn_psi * DEG);
    w.wpn_sin_phi = std::sin(w.wpn_phi * DEG), w.wpn_cos_phi = std::cos(w.wpn_phi * DEG);
    w.wpn_moment[0] = w.wpn_moment[1] = w.wpn_moment[2] = 0.0f;

    const flow_record fl = flow_about(w);
    const float sa = std::sin(fl.alpha), ca = std::cos(fl.alpha), sb = std::sin(fl.beta), cb = std::cos(fl.beta);
    const float rho = ATMO_temp_pressure() * ATMO_density_at_alt(sim_graphics_scenery.current_planet, h);

    // Body.
    float lift = 0.0f, side = 0.0f, drag = 0.0f;
    FM_body_drag(w.wpn_area_front, w.wpn_area_side, w.wpn_area_top, w.wpn_cd_base, w.wpn_airspeed, fl.alpha, &lift,
                 fl.beta, &side, fl.total, &drag);
    float D = 0.0f, S = 0.0f, L = 0.0f;
    PHYS_add_wind_force(sa, ca, sb, cb, drag, w.wpn_centroid_lat, side, w.wpn_centroid_vert, lift,
                        w.wpn_centroid_long, &D, &w.wpn_moment[0], &S, &w.wpn_moment[1], &L, &w.wpn_moment[2]);

    // Fins: two per set, each a small wing at its roll angle about the axis.
    const float side_sign = side == 0.0f ? 1.0f : -1.0f;
    const float u_rate = (fl.u < -1.0f || fl.u > 1.0f) ? fl.u : (fl.u < 0.0f ? -1.0f : 1.0f);
    for (int i = 0; i < FIN_SETS; ++i) {
        const float span = w.wpn_fin_span[i], root = w.wpn_fin_root[i], tip = w.wpn_fin_tip[i];
        if (!(span > 0.01f && (root > 0.01f || tip > 0.01f))) continue;
        const float cd = std::cos(w.wpn_fin_dihedral[i] * DEG);
        const float q = 0.5f * rho * (fl.u * cd) * (fl.u * cd);
        const float area = 0.5f * (root + tip) * span * cd;
        const float arm = w.wpn_fin_arm[i] + 0.5f * span * cd;
        const float dq = std::atan(arm * w.wpn_Q / u_rate);
        const float dr = std::atan(arm * w.wpn_R / u_rate);
        for (int j = 0; j < 2; ++j) {
            const int k = 2 * i + j;
            const float sr = std::sin(w.wpn_fin_roll[k] * DEG), cr = std::cos(w.wpn_fin_roll[k] * DEG);
            const float angle = ((fl.beta + dr) * sr * side_sign + (fl.alpha + dq) * cr) * RAD;
            const float fin_lift = 0.05f * angle * area * q;
            const float fin_drag = 0.001f * angle * angle * area * q;
            PHYS_add_wind_force(sa, ca, sb, cb, fin_drag, 0.0f, fin_lift * sr * side_sign, 0.0f, fin_lift * cr, arm, &D,
                                &w.wpn_moment[0], &S, &w.wpn_moment[1], &L, &w.wpn_moment[2]);
        }
    }

    if (!released) {
        // Still aboard: the user's plane carries the weapon's air load.
        if (plane == 0)
            PHYS_add_element_aero_force(D, S, L, a.acf_Xwpn_att[s] - w.wpn_cg_offset[0],
                                        a.acf_Ywpn_att[s] - w.wpn_cg_offset[1], a.acf_Zwpn_att[s] - w.wpn_cg_offset[2],
                                        -1, -1);
        return false;
    }

    // Flight-path sums into the weapon's body axes.
    const float t = D * ca - L * sa;
    w.wpn_force[0] = t * sb + S * cb;
    w.wpn_force[1] = D * sa + L * ca;
    w.wpn_force[2] = t * cb - S * sb;

    // The motor: the first stage with burn time left burns for this step; thrust points forward.
    for (int stage = 0; stage < 3; ++stage) {
        if (!(w.wpn_burn_time[stage] > 0.0f)) continue;
        w.wpn_burn_time[stage] -= FM_step_sec();
        w.wpn_force[2] -= w.wpn_thrust[stage];
        // One puff each frame the stage burns. The pass runs in each of the
        // frame's two half-steps; the check spawns on the first of them only.
        // (The root of a negative mass would be no number: it counts as 0.)
        if (WPN_smoke_due(wpn_smoke_state.last_puff[plane][s]))
            PARTICLE_spawn(w.wpn_pos[0], w.wpn_pos[1], w.wpn_pos[2], w.wpn_vel[0], w.wpn_vel[1], w.wpn_vel[2],
                           -9999.9f, std::sqrt(UTIL_max(w.wpn_mass, 0.0f)) * 0.25f, 1.0f, 3.0f, 0, 1.0f, 0);
        break;
    }
    return false;
}

}  // namespace

bool WPN_force_step()
{
    const int planes = WPN_planes_in_use();
    for (int p = 0; p < planes; ++p)
        for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
            const wpn_slot_record& w = pln[p].acf_wpn_slot[s];
            if (w.wpn_type != WPN_KIND_NONE && w.wpn_valid != 0 && weapon_forces(p, s)) return true;
        }
    return false;
}

void WPN_hang_carried(int n)
{
    if (n < 0 || n >= ACF_SLOTS) return;   // no plane: it would reach past the plane tables
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        const wpn_slot_record& w = pln[n].acf_wpn_slot[s];
        if (w.wpn_type != WPN_KIND_NONE && !WPN_valid_and_released(w)) WPN_hang(n, s);
    }
}

void WPN_fly_released(int n)
{
    if (n < 0 || n >= ACF_SLOTS) return;   // no plane: it would reach past the plane tables
    WPN_hang_carried(n);
    const float dt = sim_operation_misc.frame_rate_period;
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        wpn_slot_record& w = pln[n].acf_wpn_slot[s];
        if (w.wpn_type == WPN_KIND_NONE || !WPN_valid_and_released(w)) continue;
        // A weapon without mass would divide by zero and fly off at no
        // number; it feels gravity alone.
        const float m = w.wpn_mass_now;
        const float inv_m = m > 0.0f ? 1.0f / m : 0.0f;
        const float fx = w.wpn_force[0], fy = w.wpn_force[1], fz = w.wpn_force[2];
        const float sth = w.wpn_sin_theta, cth = w.wpn_cos_theta, sps = w.wpn_sin_psi, cps = w.wpn_cos_psi;
        const float sph = w.wpn_sin_phi, cph = w.wpn_cos_phi;
        const float b = fy * cph - fx * sph;
        const float c = fy * sph + fx * cph;
        const float e = b * sth + fz * cth;
        const float acc[3] = {(c * cps - e * sps) * inv_m, (b * cth - fz * sth) * inv_m - WPN_GRAVITY_MPS2,
                              (c * sps + e * cps) * inv_m};
        for (int k = 0; k < 3; ++k) {
            w.wpn_vel[k] += acc[k] * dt;
            w.wpn_pos[k] += w.wpn_vel[k] * dt;
        }
        // Pitch and yaw from the moments; a zero radius of gyration (or mass)
        // would divide by zero, and then leaves the rate as it was. Roll is
        // held towards level.
        const float i_pitch = w.wpn_gyr_pitch * m, i_yaw = w.wpn_gyr_yaw * m;
        if (i_pitch > 0.0f) w.wpn_Q += w.wpn_moment[1] / i_pitch * dt;
        if (i_yaw > 0.0f) w.wpn_R += w.wpn_moment[2] / i_yaw * dt;
        w.wpn_P = ROLL_HOLD_PER_DEG * UTIL_clamp(w.wpn_phi, -ROLL_HOLD_LIMIT_DEG, ROLL_HOLD_LIMIT_DEG);
        PHYS_integrate_quat(w.wpn_P, w.wpn_Q, w.wpn_R, &w.wpn_theta, &w.wpn_psi, &w.wpn_phi, w.wpn_quat);
    }
}
