// The projectile list of guns and rocket pods: one 80-byte record per
// projectile in flight, a point mass with drag and an optional three-stage
// motor. A record whose kind is 0 is free and is taken by the next shot; when
// every record is live the shot appends one. The list grows and is never
// shrunk (a reset empties it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct projectile_record {
    int32_t proj_kind;           // kind of the weapon that shot it (3 or 4); 0 = free
    int32_t proj_terrain_i;      // the terrain query's cell hints for this projectile
    int32_t proj_terrain_j;
    float proj_drag_area;        // m^2
    float proj_mass;             // kg
    float proj_burn_time[3];     // burn time left of motor stages 1..3, s
    float proj_thrust[3];        // thrust of stages 1..3, N
    float proj_dir[3];           // unit launch direction, local axes; thrust acts along it
    float proj_vel[3];           // velocity, local axes, m/s
    float proj_pos[3];           // position, local axes, m
};
static_assert(sizeof(projectile_record) == 80);
static_assert(offsetof(projectile_record, proj_drag_area) == 12);
static_assert(offsetof(projectile_record, proj_pos) == 68);

struct projectile_list_record {
    std::vector<projectile_record> rec;   // every record made so far, free or live
};
extern projectile_list_record projectile_list;

// The number of live projectiles (records whose kind is not 0).
int PROJ_live_count();
