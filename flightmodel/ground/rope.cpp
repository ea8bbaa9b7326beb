// Ropes: their geometry and pull, and the build-up's rope stages: the tow rope
// behind plane 1, the winch cable, and a load slung under the plane.
#include "flightmodel/ground/rope.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/joystick.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/units.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/step_record.h"

ground_stage_state ground_state{};

ORVELL_RESET_RECORD(GROUND_stages_reset, ground_state, flight);

namespace {

constexpr float TOW_ROPE_M = 55.0f;
constexpr float WINCH_FIRST_REEL_MPS = 10.0f;
constexpr float WINCH_LOW_REEL_MPS = 30.0f;    // rope at most 45 degrees up
constexpr float WINCH_HIGH_REEL_MPS = 15.0f;
constexpr float WINCH_SLOW_ELEVATION_DEG = 45.0f;
constexpr float WINCH_RELEASE_ELEVATION_DEG = 60.0f;
// The most the winch pulls, in the glider's weights.
constexpr float WINCH_MOST_PULL_WEIGHTS = 0.8f;
// The winch driver's speeds as multiples of the glider's stall speed: the
// full pull up to the launch speed, none from the top speed on, which never
// lies above nine tenths of the never-exceed speed.
constexpr float WINCH_LAUNCH_SPEED_VS = 1.7f;
constexpr float WINCH_TOP_SPEED_VS = 2.3f;
constexpr float WINCH_TOP_SPEED_VNE = 0.9f;

// The share of the pull the winch driver gives: all of it up to the
// glider's launch speed, easing to none at its top speed.
float winch_driver_share(const flt_struct& f, const acf_struct& a)
{
    float top = WINCH_TOP_SPEED_VS * a.acf_est_Vs * UNIT.mps_to_kts;
    if (a.acf_Vne > 0.0f) top = std::min(top, WINCH_TOP_SPEED_VNE * a.acf_Vne);
    const float launch = top * (WINCH_LAUNCH_SPEED_VS / WINCH_TOP_SPEED_VS);
    return top > launch ? UTIL_clamp((top - f.indicated_airspeed) / (top - launch), 0.0f, 1.0f) : 0.0f;
}

// A roll moment that brings the wings to `bank_deg` at `rate`.
void hold_bank(flt_struct& f, float bank_deg, float rate)
{
    f.L -= fm_state.MI_roll * (rate * rate * (f.phi - bank_deg) * DEG_TO_RAD_FLOAT + 2.0f * rate * f.Prad);
}

// How fast (rad/s) the wings come back to the bank they are held at,
// critically damped: by the wing runner's hand on the ground, by the pilot
// in the air.
constexpr float WING_RUNNER_RATE = 3.0f;
constexpr float PILOT_HOLD_RATE = 2.0f;
// The share of its travel the pilot's roll control may stand off centre and
// still count as let go.
constexpr float HANDS_OFF_ROLL = 0.1f;

// The glider's wings while it is on a launch (the rope or the cable hooked,
// or waiting for the brake to come off):
// - on the ground a wing runner holds them level. Left alone, a glider on
//   its one wheel leans onto a wing tip in a crosswind and leaves the ground
//   banked;
// - in the air with the stick let go they are held as its pilot holds them:
//   level on the winch, at the tow plane's bank on the tow. Left alone on
//   the winch, a crosswind's drift and gusts banked the glider 20-25 degrees
//   and turned it off the cable's line until the cable pulled from behind
//   and let go 450 ft short of the top. Left alone on the tow, a glider 55 m
//   behind its tow plane swings from side to side ever wider: the rope's
//   pull at the nose yaws it toward the tow plane, the sideslip rolls it and
//   the bank turns it back a swing late each time (the swing doubled every
//   10 s in still air, and the glider rolled over on the tow in gusts). The
//   pilot's hand on the stick takes over from the hold.
void launch_wings(flt_struct& f, bool tow, bool winch)
{
    const launch_flags_block& l = launch_flags;
    if (f.onground_any) {
        if ((l.aero_tow_mode && (l.tow_armed || l.tow_attached)) || (l.winch_mode && (l.winch_armed || l.winch_attached)))
            hold_bank(f, 0.0f, WING_RUNNER_RATE);
        return;
    }
    if (!tow && !winch) return;
    const float off = std::fabs(sim_joystick.yolk_roll_ratio) / HANDS_OFF_ROLL;
    if (off >= 1.0f) return;
    const float was = f.L;
    hold_bank(f, tow ? flt[1].phi : 0.0f, PILOT_HOLD_RATE);
    f.L = was + (f.L - was) * (1.0f - off);
}

}  // namespace

void ROPE_geometry(float x0, float x1, float y0, float y1, float z0, float z1, float* dx, float* dy, float* dz,
                   float* length, float* elevation_deg)
{
    *dx = x1 - x0;
    *dy = y1 - y0;
    *dz = z1 - z0;
    *length = ::length(vec3{*dx, *dy, *dz});
    // atan2 of the horizontal length gives +-90 for a vertical rope instead of a division by zero.
    *elevation_deg = std::atan2(-*dy, std::sqrt(*dz * *dz + *dx * *dx)) * RAD_TO_DEG_FLOAT;
}

void ROPE_apply_tension(float tension, float length, float hook_x, float hook_y, float hook_z, float dx, float dy,
                        float dz, float* side, float* normal, float* axial)
{
    const float d = length > 1.0f ? length : 1.0f;
    PHYS_local_to_body(tension * dx / d, tension * dy / d, tension * dz / d, side, normal, axial, 0);
    PHYS_add_prop_axial(0, *axial, hook_x, hook_y);
    PHYS_add_prop_side(0, *side, hook_y, hook_z);
    PHYS_add_prop_normal(0, *normal, hook_x, hook_z);
}

void ROPE_tow_and_winch()
{
    launch_flags_block& l = launch_flags;
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const bool tow = l.aero_tow_mode && l.tow_attached;
    const bool winch = !tow && l.winch_mode && l.winch_attached;
    if (!winch) ground_state.winch_reel_mps = 0.0f;
    launch_wings(f, tow, winch);
    if (!tow && !winch) return;

    float dx, dy, dz, length, elevation;
    const float* A = rope_points.line_a;
    const float* B = rope_points.line_b;
    ROPE_geometry(A[0], B[0], A[1], B[1], A[2], B[2], &dx, &dy, &dz, &length, &elevation);

    const float dt = FM_step_sec();
    float nominal, reference, hook_y, hook_z;
    if (tow) {
        nominal = TOW_ROPE_M;
        // The tow plane's speed over the ground, climb and the wind's drift
        // counted as the glider's own ground speed counts them.
        const flt_struct& tug = flt[1];
        reference = ::length(vec3{tug.local_vx, tug.local_vy, tug.local_vz});
        hook_y = a.acf_tow_hook_Y, hook_z = a.acf_tow_hook_Z;
    } else {
        float& reel = ground_state.winch_reel_mps;
        if (reel <= 0.0f) reel = WINCH_FIRST_REEL_MPS;
        // The cable stops shrinking at no length: a negative length would
        // make the rope's stretch, and so its pull, grow without end.
        l.winch_cable_m = std::max(l.winch_cable_m - reel * dt, 0.0f);
        nominal = l.winch_cable_m;
        reference = reel * dt;
        hook_y = a.acf_win_hook_Y, hook_z = a.acf_win_hook_Z;
        reel = elevation <= WINCH_SLOW_ELEVATION_DEG ? WINCH_LOW_REEL_MPS : WINCH_HIGH_REEL_MPS;
        // The cable lets go at the top, pulling from steeper than 60 degrees
        // down. The drum's count of the cable out runs ahead of the glider
        // (it reels at its own speed whatever the glider does) and is no
        // measure of where the glider is: letting go when the glider stood
        // higher above the winch than that count let a glider climbing into
        // a 12-kt wind go 300 ft short of its top, the cable still 25
        // degrees down.
        if (elevation > WINCH_RELEASE_ELEVATION_DEG) l.winch_attached = 0;
    }

    float tension = f.m_total * std::max(1.0f, (length - nominal) - (f.groundspeed - reference));
    // The rope's pull grows with the cable's steepness without end: taken as
    // it is, a glider left alone climbed near the vertical past its
    // never-exceed speed. The winch pulls at most its own most, and its
    // driver eases the pull as the glider's airspeed rises.
    if (winch)
        tension = std::max(1.0f, std::min(tension, WINCH_MOST_PULL_WEIGHTS * f.m_total * FM_GRAVITY) *
                                     winch_driver_share(f, a));
    float side, normal, axial;
    ROPE_apply_tension(tension, length, 0.0f, hook_y, hook_z, dx, dy, dz, &side, &normal, &axial);
    // A cable pulling from behind (the glider past the winch or turned away
    // from it) pulls the ring out of the hook backwards.
    if (winch && axial >= 0.0f) l.winch_attached = 0;

    // The rope's angles relative to the body, from its forward pull. The
    // axial total is positive aft, so a tow rope's pull is negative there:
    // holding the axial component itself at 1 would put every working rope at
    // nearly 90 degrees and the plane never in the tow plane's wake. The
    // forward pull (its negative) is held at least 1 N instead, so a rope
    // pulling aft or sideways stays finite.
    const float forward = std::max(-axial, 1.0f);
    l.rope_pitch_deg = std::atan(normal / forward) * RAD_TO_DEG_FLOAT;
    l.rope_side_deg = std::atan(side / forward) * RAD_TO_DEG_FLOAT;
}

void ROPE_slung_load()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float m = f.m_jettison;
    if (!a.acf_jett_is_slung || !(m > 0.01f)) return;
    const float g = FM_GRAVITY;
    const float dt = FM_step_sec();

    float dx, dy, dz, length, elevation;
    const float* A = rope_points.load_attach;
    float* load = rope_points.load_pos;
    float* v = rope_points.load_vel;
    ROPE_geometry(A[0], load[0], A[1], load[1], A[2], load[2], &dx, &dy, &dz, &length, &elevation);

    const float stretch = length - f.jett_len;
    const float tension = std::max(std::min(stretch * m * g * 4.0f, 2.0f * m * g), 1.0f);
    float side, normal, axial;
    ROPE_apply_tension(tension, length, a.jett_X, a.jett_Y, a.jett_Z, dx, dy, dz, &side, &normal, &axial);

    f.ett_size = std::sqrt(1.5f * m / UNIT_KGS_PER_SHORT_TON);
    const float size = f.ett_size;

    // The load: pulled back along the rope, held back by its drag, pulled down.
    const float d = length > 1.0f ? length : 1.0f;
    float acc[3] = {-tension * dx / d / m, -tension * dy / d / m, -tension * dz / d / m};
    for (int k = 0; k < 3; ++k) acc[k] -= size * size * v[k] * std::fabs(v[k]) * sim_weather.rho / 2.0f / m;
    acc[1] -= g;

    // On the ground it rests at half its size and drags.
    const float ground = TERRAIN_height_at(load[0], load[2], nullptr, nullptr, nullptr, &ground_state.load_cell_i,
                                           &ground_state.load_cell_j, 0, "slung load");
    if (load[1] < ground + size / 2.0f) {
        load[1] = ground + size / 2.0f;
        v[1] = 0.0f;
        acc[1] = 0.0f;
        for (int k : {0, 2}) {
            const float brake = g * UTIL_clamp(std::fabs(v[k]), 0.0f, 1.0f);
            acc[k] -= v[k] > 0.0f ? brake : (v[k] < 0.0f ? -brake : 0.0f);
        }
    }
    for (int k = 0; k < 3; ++k) v[k] += acc[k] * dt;
}
