// Firing: the trigger and the arming switches release the weapons of the
// user's plane, by the rules of each kind; and hanging: an unreleased weapon
// rides on its attach point.
#include <cmath>

#include "core/frame_clock.h"
#include "core/input.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/joystick.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/attitude.h"
#include "flightmodel/phys.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/weapons/weapons_internal.h"

namespace {

constexpr float MIRROR_TOLERANCE_M = 0.01f;

// Seconds between ripple releases: the rate is first taken as the rate knob's
// position (1, 2, 5, 10 per second are positions 0..3; other values stand as
// they are), the position then gives the interval.
float ripple_interval_sec(int rate)
{
    int position = rate;
    if (rate == 1) position = 0;
    if (rate == 2) position = 1;
    if (rate == 5) position = 2;
    if (rate == 10) position = 3;
    switch (position) {
    case 0: return 1.0f;
    case 1: return 0.5f;
    case 2: return 0.2f;
    case 3: return 0.1f;
    default: return 0.0f;
    }
}

// Whether two attach points are mirror images across the centre line.
bool mirrored(const acf_struct& a, int s1, int s2)
{
    return std::fabs(a.acf_Xwpn_att[s1] + a.acf_Xwpn_att[s2]) < MIRROR_TOLERANCE_M &&
           std::fabs(a.acf_Ywpn_att[s1] - a.acf_Ywpn_att[s2]) < MIRROR_TOLERANCE_M &&
           std::fabs(a.acf_Zwpn_att[s1] - a.acf_Zwpn_att[s2]) < MIRROR_TOLERANCE_M;
}

// What one firing pass has released so far.
struct pass_record {
    bool missile = false;     // a missile went
    bool bomb_14 = false;     // a kind-14 bomb went
    bool bomb_21 = false;     // a kind-21 bomb went
    bool by_mode = false;     // a bomb went by the firing mode
    int partner = 0;          // slot that may go with the first of a pair (1..23)
};

}  // namespace

void WPN_fire_step()
{
    acf_struct& a = pln[0];
    const int trigger = key_hold_command != 0 ? 1 : 0;
    const bool edge = trigger && !wpn_fire_state.trigger_prev;
    wpn_fire_state.trigger_prev = trigger;

    // Guns and pods are released only in the frames the trigger holds them.
    for (wpn_slot_record& w : a.acf_wpn_slot)
        if (WPN_kind_is_trigger_held(w.wpn_type)) w.wpn_released = 0;
    if (!trigger && !edge) return;

    const sim_cockpit_weapons_block& sw = sim_cockpit_weapons;
    const int mode = sw.firing_mode;
    const float interval = ripple_interval_sec(sw.firing_rate);
    const float clock = frame_clock;
    pass_record pass;

    auto eligible = [&](const wpn_slot_record& w) { return w.wpn_type != WPN_KIND_NONE && !WPN_valid_and_released(w); };

    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        wpn_slot_record& w = a.acf_wpn_slot[s];
        if (!eligible(w)) continue;
        const int kind = w.wpn_type;
        auto release = [&w] { w.wpn_released = 1; };

        if (sw.guns_armed && trigger) {
            if (WPN_kind_draws_fire_line(kind)) release();
            if (kind == WPN_KIND_GUN && w.wpn_ammo > 0.0f) release();
        }
        if (sw.rockets_armed && trigger && kind == WPN_KIND_ROCKET_POD && w.wpn_ammo > 0.0f) release();
        if (sw.missiles_armed && edge && !pass.missile && WPN_kind_is_missile(kind)) {
            release();
            pass.missile = true;
        }
        if (sw.bombs_armed && edge && !pass.bomb_14 && kind == WPN_KIND_BOMB_PRESS) {
            release();
            pass.bomb_14 = true;
        }
        if (sw.bombs_armed && edge && !pass.bomb_21 && kind == WPN_KIND_BOMB_PRESS_2) {
            release();
            pass.bomb_21 = true;
        }
        if (!sw.bombs_armed || !WPN_kind_is_mode_bomb(kind)) continue;

        switch (mode) {
        case WPN_FIRING_RIPPLE:
            if (trigger && !pass.by_mode && (edge || clock > wpn_fire_state.next_ripple)) {
                release();
                pass.by_mode = true;
                wpn_fire_state.next_ripple = clock + interval;
            }
            break;
        case WPN_FIRING_SINGLE:
            if (edge && !pass.by_mode) {
                release();
                pass.by_mode = true;
            }
            break;
        case WPN_FIRING_SALVO:
            if (edge) release();
            break;
        case WPN_FIRING_PAIRS:
            if (edge && !pass.by_mode) {
                release();
                pass.by_mode = true;
                pass.partner = s + 1;
            }
            if (edge && pass.by_mode && pass.partner >= 1 && pass.partner < ACF_WPN_SLOTS) {
                wpn_slot_record& p = a.acf_wpn_slot[pass.partner];
                if (eligible(p) && p.wpn_type == kind && mirrored(a, s, pass.partner)) p.wpn_released = 1;
            }
            break;
        default: break;
        }
    }
}

void WPN_hang(int plane, int slot)
{
    if (plane < 0 || plane >= ACF_SLOTS || slot < 0 || slot >= ACF_WPN_SLOTS) return;   // would reach past the tables
    const acf_struct& a = pln[plane];
    const flt_struct& f = flt[plane];
    wpn_slot_record& w = pln[plane].acf_wpn_slot[slot];

    // The weapon's centre of gravity, turned into local axes about the plane.
    PHYS_body_to_local(a.acf_Xwpn_att[slot] - w.wpn_cg_offset[0], a.acf_Ywpn_att[slot] - w.wpn_cg_offset[1],
                       a.acf_Zwpn_att[slot] - w.wpn_cg_offset[2], &w.wpn_pos[0], &w.wpn_pos[1], &w.wpn_pos[2],
                       plane);

    // The plane's attitude; an armed gun points where the stick aims it.
    float theta = f.theta, psi = f.psi;
    const float phi = f.phi;
    if (w.wpn_type == WPN_KIND_GUN && sim_cockpit_weapons.guns_armed) {
        w.wpn_aim_el = sim_joystick.yolk_pitch_ratio * w.wpn_aim_el_max;
        w.wpn_aim_az = sim_joystick.yolk_roll_ratio * w.wpn_aim_az_max;
        const float az = w.wpn_aim_az * DEG_TO_RAD_FLOAT, el = w.wpn_aim_el * DEG_TO_RAD_FLOAT;
        float dx, dy, dz;
        PHYS_body_to_local(std::sin(az) * std::cos(el), std::sin(el), -std::cos(az) * std::cos(el), &dx, &dy, &dz,
                           plane);
        psi = std::atan2(dx, -dz) * RAD_TO_DEG_FLOAT;
        theta = std::atan2(dy, std::sqrt(dx * dx + dz * dz)) * RAD_TO_DEG_FLOAT;
    }

    w.wpn_vel[0] = f.local_vx, w.wpn_vel[1] = f.local_vy, w.wpn_vel[2] = f.local_vz;
    w.wpn_pos[0] += f.local_x, w.wpn_pos[1] += f.local_y, w.wpn_pos[2] += f.local_z;
    w.wpn_P = f.Prad, w.wpn_Q = f.Qrad, w.wpn_R = f.Rrad;

    PHYS_euler_to_quat(theta, psi, phi, w.wpn_quat);
    PHYS_integrate_quat(w.wpn_P, w.wpn_Q, w.wpn_R, &w.wpn_theta, &w.wpn_psi, &w.wpn_phi, w.wpn_quat);

    w.wpn_terrain_i = f.i;
    w.wpn_terrain_j = f.j;
}
