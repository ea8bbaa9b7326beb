// The weapon slot record: 24 per aircraft record, one weapon (gun, rocket pod,
// missile, bomb, fuel tank or other store) read from a weapon file, with its
// running state while it hangs on the aircraft or flies.
//
// The record is the weapon file's data block byte for byte (9,556 bytes), so
// the fields sit at the offsets the file fixes. Words the weapon file carries
// but no routine of the flight model names are kept as wpn_unpub_<offset>.
// Lengths are metres, masses kilograms, speeds m/s, angles degrees unless
// marked, angular rates rad/s. Body axes of a weapon: x right, y up, z aft.
#pragma once

#include <cstddef>
#include <cstdint>

struct wpn_slot_record {
    int32_t wpn_type;            // weapon kind; 0 = empty slot (also after an impact or leaving the area)
    int32_t wpn_valid;           // 1 once the slot's weapon file has been read
    int32_t wpn_released;        // 1 = released; guns and pods (kinds 1..4) only in the frames they shoot
    float wpn_cg_offset[3];      // subtracted from the attach point to give the weapon's centre of gravity
    float wpn_range;             // length of the fire line of kinds 1 and 2
    float wpn_fire_rate;         // projectiles per second (kinds 3, 4)
    float wpn_ammo;              // projectiles left (kinds 3, 4); one taken per shot
    float wpn_unpub_36[3];
    float wpn_muzzle_speed;      // projectile speed relative to the weapon
    float wpn_proj_drag_area;    // drag area of one projectile
    float wpn_fixed_mass;        // the station's own mass: stays aboard whether the weapon does or not
    float wpn_mass;              // mass of the weapon, also of one projectile
    float wpn_fuel;              // fuel a fuel tank (kind 23) holds when full
    float wpn_cd_base;           // base drag coefficient of the weapon's body
    float wpn_unpub_72[2];
    float wpn_fin_arm[4];        // longitudinal position of each fin set
    float wpn_fin_root[4];       // root chord of each fin set
    float wpn_fin_tip[4];        // tip chord
    float wpn_fin_span[4];       // span of one fin
    float wpn_fin_dihedral[4];   // dihedral of each fin set
    float wpn_fin_roll[8];       // roll angle of each fin: fin 2 * set + side
    uint8_t wpn_unpub_192[192];  // includes the weapon's description text at 224
    float wpn_thrust[3];         // motor thrust of stages 1..3, N
    float wpn_burn_time[3];      // burn time left of stages 1..3, s (counts down in flight)
    float wpn_aim_az_max;        // azimuth travel of an aimable gun (kind 3)
    float wpn_aim_el_max;        // its elevation travel
    float wpn_aim_az;            // current azimuth, right positive
    float wpn_aim_el;            // current elevation, up positive
    float wpn_unpub_424[4];
    float wpn_area_front;        // frontal, side and top areas, m^2
    float wpn_area_side;
    float wpn_area_top;
    float wpn_centroid_lat;      // centroid of the areas from the weapon's centre of gravity
    float wpn_centroid_vert;
    float wpn_centroid_long;
    float wpn_gyr_pitch;         // squared radius of gyration (moment of inertia per unit mass), m^2
    float wpn_gyr_yaw;
    float wpn_gyr_roll;
    int32_t wpn_terrain_i;       // the terrain query's cell hints for this weapon
    int32_t wpn_terrain_j;
    float wpn_hdg_err;           // heading to the predicted target minus the weapon's heading, (-180, 180]
    float wpn_pitch_err;         // pitch to the predicted target minus the weapon's pitch, (-180, 180]
    float wpn_yaw_cmd;           // steering commands (held at 0)
    float wpn_pitch_cmd;
    float wpn_speed;             // speed in the local frame
    float wpn_airspeed;          // speed relative to the air
    float wpn_tgt_dist;          // distance to the target plane now
    float wpn_tgt_dist_pred;     // distance to the target's predicted position
    float wpn_time_to_go;        // predicted time to the target, 0..10 s
    float wpn_sin_theta, wpn_cos_theta;
    float wpn_sin_psi, wpn_cos_psi;
    float wpn_sin_phi, wpn_cos_phi;
    float wpn_force[3];          // aerodynamic and motor force, weapon body axes, N
    float wpn_vel[3];            // velocity, local x, y, z
    float wpn_pos[3];            // position, local x, y, z
    float wpn_moment[3];         // moments about the roll, pitch and yaw axes
    float wpn_P, wpn_Q, wpn_R;   // roll, pitch and yaw rates
    float wpn_quat[4];           // orientation quaternion
    float wpn_theta, wpn_psi, wpn_phi;
    float wpn_next_shot;         // frame-clock time of the next shot (kinds 3, 4)
    float wpn_unpub_636[4];
    float wpn_mass_now;          // current mass (a fuel tank's falls with its fuel)
    float wpn_fuel_now;          // fuel left in a fuel tank
    int32_t wpn_impact;          // 1 once the weapon has hit the ground
    float wpn_impact_pos[3];     // local x, ground height, local z of the impact
    float wpn_impact_time;       // frame-clock time of the impact
    uint8_t wpn_unpub_680[8876]; // to the end of the block
};

static_assert(sizeof(wpn_slot_record) == 9556);
static_assert(offsetof(wpn_slot_record, wpn_valid) == 4);
static_assert(offsetof(wpn_slot_record, wpn_released) == 8);
static_assert(offsetof(wpn_slot_record, wpn_cg_offset) == 12);
static_assert(offsetof(wpn_slot_record, wpn_range) == 24);
static_assert(offsetof(wpn_slot_record, wpn_muzzle_speed) == 48);
static_assert(offsetof(wpn_slot_record, wpn_proj_drag_area) == 52);
static_assert(offsetof(wpn_slot_record, wpn_fixed_mass) == 56);
static_assert(offsetof(wpn_slot_record, wpn_mass) == 60);
static_assert(offsetof(wpn_slot_record, wpn_fuel) == 64);
static_assert(offsetof(wpn_slot_record, wpn_fin_arm) == 80);
static_assert(offsetof(wpn_slot_record, wpn_fin_root) == 96);
static_assert(offsetof(wpn_slot_record, wpn_fin_tip) == 112);
static_assert(offsetof(wpn_slot_record, wpn_fin_span) == 128);
static_assert(offsetof(wpn_slot_record, wpn_thrust) == 384);
static_assert(offsetof(wpn_slot_record, wpn_area_front) == 440);
static_assert(offsetof(wpn_slot_record, wpn_area_side) == 444);
static_assert(offsetof(wpn_slot_record, wpn_area_top) == 448);
static_assert(offsetof(wpn_slot_record, wpn_centroid_lat) == 452);
static_assert(offsetof(wpn_slot_record, wpn_centroid_vert) == 456);
static_assert(offsetof(wpn_slot_record, wpn_centroid_long) == 460);
static_assert(offsetof(wpn_slot_record, wpn_gyr_pitch) == 464);
static_assert(offsetof(wpn_slot_record, wpn_gyr_yaw) == 468);
static_assert(offsetof(wpn_slot_record, wpn_gyr_roll) == 472);
static_assert(offsetof(wpn_slot_record, wpn_mass_now) == 652);
static_assert(offsetof(wpn_slot_record, wpn_fuel_now) == 656);

// 1 unless the slot's weapon is both valid and released: the weapon is still
// aboard, or nothing is loaded (kind 0). Indices outside 0..9 and 0..23 give 1.
int WPN_not_released(int plane, int slot);
// 1 when the slot holds a weapon (kind not 0) that is valid and released; 0
// otherwise and for indices outside the tables.
int WPN_released(int plane, int slot);
