// The weapon slot record keeps its fields in the order the weapon code and the
// weapon file share: each named field lies after the one listed before it.
#include <gtest/gtest.h>

#include <cstddef>

#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/wpn_slot.h"

TEST(WeaponSlot, FieldsInTheirOrder)
{
#define AT(f) {#f, offsetof(wpn_slot_record, f)}
    const struct {
        const char* name;
        size_t at;
    } order[] = {
        AT(wpn_type), AT(wpn_valid), AT(wpn_released), AT(wpn_cg_offset), AT(wpn_range), AT(wpn_fire_rate),
        AT(wpn_ammo), AT(wpn_muzzle_speed), AT(wpn_proj_drag_area), AT(wpn_fixed_mass), AT(wpn_mass), AT(wpn_fuel),
        AT(wpn_cd_base), AT(wpn_fin_arm), AT(wpn_fin_root), AT(wpn_fin_tip), AT(wpn_fin_span), AT(wpn_fin_dihedral),
        AT(wpn_fin_roll), AT(wpn_thrust), AT(wpn_burn_time), AT(wpn_aim_az_max), AT(wpn_aim_el_max), AT(wpn_aim_az),
        AT(wpn_aim_el), AT(wpn_area_front), AT(wpn_area_side), AT(wpn_area_top), AT(wpn_centroid_lat),
        AT(wpn_centroid_vert), AT(wpn_centroid_long), AT(wpn_gyr_pitch), AT(wpn_gyr_yaw), AT(wpn_gyr_roll),
        AT(wpn_terrain_i), AT(wpn_terrain_j), AT(wpn_hdg_err), AT(wpn_pitch_err), AT(wpn_yaw_cmd),
        AT(wpn_pitch_cmd), AT(wpn_speed), AT(wpn_airspeed), AT(wpn_tgt_dist), AT(wpn_tgt_dist_pred),
        AT(wpn_time_to_go), AT(wpn_sin_theta), AT(wpn_cos_theta), AT(wpn_sin_psi), AT(wpn_cos_psi), AT(wpn_sin_phi),
        AT(wpn_cos_phi), AT(wpn_force), AT(wpn_vel), AT(wpn_pos), AT(wpn_moment), AT(wpn_P), AT(wpn_Q), AT(wpn_R),
        AT(wpn_quat), AT(wpn_theta), AT(wpn_psi), AT(wpn_phi), AT(wpn_next_shot), AT(wpn_mass_now),
        AT(wpn_fuel_now), AT(wpn_impact), AT(wpn_impact_pos), AT(wpn_impact_time),
    };
#undef AT
    EXPECT_EQ(order[0].at, 0u);
    for (size_t i = 1; i < sizeof order / sizeof order[0]; ++i)
        EXPECT_LT(order[i - 1].at, order[i].at) << order[i - 1].name << " before " << order[i].name;
}

// Released counts only for a read weapon that has left and not yet hit the
// ground (kind 0 again); indices outside the 10 planes and 24 slots are
// nothing loaded, even where the bytes beyond the last slot look like a
// released weapon.
TEST(WeaponSlot, ReleasedOnlyWhenReadAndGone)
{
    std::memset(&pln[0], 0, sizeof pln[0]);
    const int32_t looks_released[3] = {1, 1, 1};   // kind, read, released
    std::memcpy(pln[0].acf_reserved, looks_released, sizeof looks_released);
    struct row {
        int plane, slot, valid, released;
        int is_released;
        int kind = 1;
    };
    const row rows[] = {
        {0, 3, 1, 1, 1}, {0, 3, 0, 1, 0}, {0, 3, 1, 0, 0}, {0, 3, 0, 0, 0},
        {0, 24, 1, 1, 0}, {0, -1, 1, 1, 0}, {10, 3, 1, 1, 0}, {-1, 3, 1, 1, 0}, {0, 3, 1, 1, 0, 0},
    };
    for (const row& r : rows) {
        wpn_slot_record& w = pln[0].acf_wpn_slot[3];
        w.wpn_type = r.kind, w.wpn_valid = r.valid, w.wpn_released = r.released;
        EXPECT_EQ(WPN_released(r.plane, r.slot), r.is_released) << r.plane << " " << r.slot << " " << r.valid;
        EXPECT_EQ(WPN_not_released(r.plane, r.slot), 1 - r.is_released) << r.plane << " " << r.slot;
    }
    std::memset(&pln[0], 0, sizeof pln[0]);
}
