// The projectiles of guns and rocket pods: shooting at the fire rate while the
// weapon is released, and the flight of each projectile as a point mass with
// drag and its motor until it meets the ground.
#include "flightmodel/weapons/projectiles.h"

#include <algorithm>
#include <cmath>

#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/phys.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/weapons/weapons_internal.h"
#include "flightmodel/effects/particle_list.h"
#include "world/scenery_area.h"
#include "flightmodel/step_record.h"

projectile_list_record projectile_list{};

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float DRAG_FACTOR = 0.1f;   // drag = 0.5 x sigma x 0.1 x drag area x V^2

// The record the next shot takes: the first free one, else a new one
// appended to the list.
projectile_record& take_record()
{
    std::vector<projectile_record>& rec = projectile_list.rec;
    for (projectile_record& r : rec)
        if (r.proj_kind == 0) return r;
    return rec.emplace_back();
}

void shoot(int plane, wpn_slot_record& w)
{
    w.wpn_next_shot = frame_clock + 1.0f / w.wpn_fire_rate;
    w.wpn_ammo -= 1.0f;

    projectile_record& r = take_record();
    const flt_struct& f = flt[plane];
    r.proj_kind = w.wpn_type;
    r.proj_terrain_i = f.i;
    r.proj_terrain_j = f.j;
    r.proj_drag_area = w.wpn_proj_drag_area;
    r.proj_mass = w.wpn_mass;
    for (int k = 0; k < 3; ++k) {
        r.proj_burn_time[k] = w.wpn_burn_time[k];
        r.proj_thrust[k] = w.wpn_thrust[k];
    }
    const float az = w.wpn_aim_az * DEG, el = w.wpn_aim_el * DEG;
    PHYS_body_to_local(std::sin(az) * std::cos(el), std::sin(el), -std::cos(az) * std::cos(el), &r.proj_dir[0],
                       &r.proj_dir[1], &r.proj_dir[2], plane);
    for (int k = 0; k < 3; ++k) {
        r.proj_vel[k] = w.wpn_muzzle_speed * r.proj_dir[k] + w.wpn_vel[k];
        r.proj_pos[k] = w.wpn_pos[k];
    }
    // A muzzle flash; a negative mass (a bad weapon file) would make its size
    // a NaN, so it is taken as 0 there.
    if (w.wpn_type == WPN_KIND_GUN)
        PARTICLE_spawn(r.proj_pos[0], r.proj_pos[1], r.proj_pos[2], 0.25f * r.proj_vel[0], 0.25f * r.proj_vel[1],
                       0.25f * r.proj_vel[2], -9999.9f, std::sqrt(UTIL_max(w.wpn_mass, 0.0f)) * 2.0f, 1.0f, 3.0f, 0,
                       1.0f, 0);
}

void fly(projectile_record& r, float dt)
{
    float V = length(vec3_at(r.proj_vel));
    if (!(V > 1.0f)) V = 1.0f;
    const float drag = 0.5f * sim_weather.sigma * DRAG_FACTOR * r.proj_drag_area * V * V;

    float thrust = 0.0f;
    bool burned = false;
    for (int stage = 0; stage < 3; ++stage) {
        if (!(r.proj_burn_time[stage] > 0.0f)) continue;
        r.proj_burn_time[stage] -= dt;
        thrust = r.proj_thrust[stage];
        burned = true;
        break;
    }

    // A projectile without mass (a weapon file that gives none) feels gravity
    // alone: dividing by its zero mass would make its speed infinite and its
    // position NaN, and it would never meet the ground to be freed.
    const float inv_m = r.proj_mass > 0.0f ? 1.0f / r.proj_mass : 0.0f;
    float acc[3];
    for (int k = 0; k < 3; ++k) acc[k] = (thrust * r.proj_dir[k] - drag * r.proj_vel[k] / V) * inv_m;
    acc[1] -= WPN_GRAVITY_MPS2;
    for (int k = 0; k < 3; ++k) {
        r.proj_vel[k] += acc[k] * dt;
        r.proj_pos[k] += r.proj_vel[k] * dt;
    }

    // It ends below the ground only: beyond the loaded area the terrain query
    // carries on the nearest border plane, so a projectile out there still
    // comes down.
    const float ground = TERRAIN_height_at(r.proj_pos[0], r.proj_pos[2], nullptr, nullptr, nullptr,
                                           &r.proj_terrain_i, &r.proj_terrain_j, 0, "bomb h");
    if (r.proj_pos[1] < ground) r.proj_kind = 0;
    if (burned)
        PARTICLE_spawn(r.proj_pos[0], r.proj_pos[1], r.proj_pos[2], r.proj_vel[0], r.proj_vel[1], r.proj_vel[2],
                       -9999.9f, std::sqrt(UTIL_max(r.proj_mass, 0.0f)) * 0.25f, 1.0f, 3.0f, 21, 1.0f, 0);
}

}  // namespace

void WPN_shoot_step()
{
    const int planes = WPN_planes_in_use();
    for (int p = 0; p < planes; ++p)
        for (wpn_slot_record& w : pln[p].acf_wpn_slot) {
            if (w.wpn_released == 0 || !WPN_kind_shoots(w.wpn_type)) continue;
            if (!(w.wpn_next_shot < frame_clock)) continue;
            shoot(p, w);
        }
}

void WPN_projectile_step()
{
    const float dt = FM_step_sec();
    for (projectile_record& r : projectile_list.rec)
        if (r.proj_kind != 0) fly(r, dt);
}

void WPN_clear_projectiles() { projectile_list.rec.clear(); }
ORVELL_RESET(WPN_clear_projectiles, flight);

int PROJ_live_count()
{
    return static_cast<int>(std::count_if(projectile_list.rec.begin(), projectile_list.rec.end(),
                                          [](const projectile_record& r) { return r.proj_kind != 0; }));
}
