// Unit conversion of a freshly read aircraft record to SI units about the
// centre of gravity, and the gear set-up.
#include <cmath>
#include <initializer_list>

#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "aircraft/part_presence.h"
#include "core/numeric.h"

namespace {

// Elements of part p, bounded to the record's 10 (a larger count would scale
// the next part's elements too).
int part_elements(const acf_struct& a, int p)
{
    const int n = a.acf_els[p];
    return n < 0 ? 0 : (n > ACF_ELS_PER_PART ? ACF_ELS_PER_PART : n);
}

template <std::size_t N>
void scale(float (&values)[N], float f)
{
    for (float& v : values) v *= f;
}

// A value brought into [-180, 180] as by adding or taking away whole turns
// one at a time (540 gives 180). One that is not finite comes back as NaN:
// turning an infinite angle a turn at a time would never end and hang the load.
float half_turns(float v) { return std::isfinite(v) ? UTIL_wrap_pm180(v) : NAN; }

// a / b, or 0 when b is 0: a file with no gearbox ratio (a jet) or no redline
// would otherwise give infinite propeller speeds and torque, which the engine
// model multiplies into its forces.
float over(float a, float b) { return b != 0.0f ? a / b : 0.0f; }

}  // namespace

void ACF_setup_convert(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    const float ft = units.ft_to_mtrs;
    const float lb = units.lbs_to_kgs;
    const float lbf = units.lbf_to_n;
    const float sqft = units.sqft_to_sqm;
    const float ftlbf = lbf * ft;
    const float psf = lbf / sqft;

    // Lengths.
    for (float* v : {&a.acf_peX, &a.acf_peY, &a.acf_peZ, &a.acf_critalt, &a.acf_lanlite1X, &a.acf_lanlite1Y,
                     &a.acf_lanlite1Z, &a.acf_lanlite2X, &a.acf_lanlite2Y, &a.acf_lanlite2Z, &a.acf_lanlite3X,
                     &a.acf_lanlite3Y, &a.acf_lanlite3Z, &a.acf_fuserb1X, &a.acf_fuserb1Y, &a.acf_fuserb1Z,
                     &a.acf_fuserb2X, &a.acf_fuserb2Y, &a.acf_fuserb2Z, &a.acf_tailliteX, &a.acf_tailliteY,
                     &a.acf_tailliteZ, &a.acf_refuel_X, &a.acf_refuel_Y, &a.acf_refuel_Z, &a.jett_X, &a.jett_Y,
                     &a.jett_Z, &a.jett_len, &a.acf_cgY, &a.acf_cgZ, &a.acf_cgZ_fwd, &a.acf_cgZ_aft, &a.acf_jato_Y,
                     &a.acf_jato_Z, &a.acf_brake_Y, &a.acf_brake_Z, &a.acf_chute_Y, &a.acf_chute_Z,
                     &a.acf_tow_hook_Y, &a.acf_tow_hook_Z, &a.acf_win_hook_Y, &a.acf_win_hook_Z,
                     &a.acf_mass_shift_dx, &a.acf_mass_shift_dz, &a.acf_flap_arm, &a.acf_h_opt, &a.acf_h_eqlbm,
                     &a.acf_vectarmY, &a.acf_vectarmZ, &a.acf_water_rud_longarm})
        *v *= ft;
    for (auto* arr : {&a.acf_tank_X, &a.acf_tank_Y, &a.acf_tank_Z}) scale(*arr, ft);
    for (auto* arr : {&a.acf_Xwpn_att, &a.acf_Ywpn_att, &a.acf_Zwpn_att}) scale(*arr, ft);
    for (auto* arr : {&a.acf_body_r, &a.acf_Xarm, &a.acf_Yarm, &a.acf_Zarm, &a.acf_Croot, &a.acf_Ctip,
                      &a.acf_semilen_SEG, &a.acf_semilen_JND, &a.acf_gear_leglen, &a.acf_gear_tirrad,
                      &a.acf_gear_tirwid, &a.acf_gear_retract_len, &a.acf_gearstatdef})
        scale(*arr, ft);
    for (auto* arr : {&a.acf_body_X, &a.acf_body_Y, &a.acf_body_Z}) scale(*arr, ft);
    scale(a.acf_gear_door_geo, ft);
    scale(a.acf_gear_door_loc, ft);
    for (int p = 0; p < ACF_NUM_PARTS; ++p)
        for (int i = 0; i < part_elements(a, p); ++i) {
            a.acf_mac[ACF_el(p, i)] *= ft;
            a.acf_s[ACF_el(p, i)] *= sqft;
        }

    // Areas, forces, moments, masses, power, speeds.
    for (float* v : {&a.acf_face_jet, &a.acf_face_rocket, &a.acf_brake_area, &a.acf_chute_area,
                     &a.acf_water_rud_area})
        *v *= sqft;
    for (float* v : {&a.acf_tmax, &a.acf_fmax_sl, &a.acf_fmax_opt, &a.acf_fmax_vac, &a.acf_burnerinc,
                     &a.acf_jato_thrust, &a.acf_nosewheel_k, &a.acf_puffX, &a.acf_puffY, &a.acf_puffZ})
        *v *= lbf;
    for (float* v : {&a.acf_puffL, &a.acf_puffM, &a.acf_puffN}) *v *= ftlbf;
    for (float* v : {&a.acf_m_empty, &a.acf_m_displaced, &a.acf_m_max, &a.acf_m_fuel_tot, &a.acf_m_jettison,
                     &a.acf_mass_shift, &a.aacf_tip_weight})
        *v *= lb;
    a.acf_pmax *= units.hp_to_watts;
    a.acf_blown_flap_add_speed *= units.kts_to_mps;
    a.acf_nw_cutoff_speed *= units.kts_to_mps;
    for (float* v : {&a.acf_RSC_idlespeed_eng, &a.acf_RSC_redline_eng, &a.acf_RSC_mingreen_eng,
                     &a.acf_RSC_maxgreen_eng})
        *v *= units.rpm_to_radps;
    scale(a.acf_des_rpm_prp, units.rpm_to_radps);
    scale(a.acf_gearcon, lbf / ft);
    scale(a.acf_geardmp, lbf / ft);
    a.acf_max_press_diff *= psf * 144.0f;

    // Propeller speeds through the gearbox, the torque at redline, fuel
    // consumption per second.
    const float gear = a.acf_prop_gear_rat[0];
    a.acf_RSC_idlespeed_prp = over(a.acf_RSC_idlespeed_eng, gear);
    a.acf_RSC_redline_prp = over(a.acf_RSC_redline_eng, gear);
    a.acf_RSC_mingreen_prp = over(a.acf_RSC_mingreen_eng, gear);
    a.acf_RSC_maxgreen_prp = over(a.acf_RSC_maxgreen_eng, gear);
    a.acf_trq_max_prp = over(a.acf_pmax, a.acf_RSC_redline_eng);
    for (int e = 0; e < ACF_MAX_ENGINES; ++e) {
        const int t = a.acf_en_type[e];
        if (t >= 4 && t <= 7)
            a.acf_SFC[e] /= units.g_conv;
        else if ((t >= 0 && t <= 3) || t == 8)
            a.acf_SFC[e] *= lb / units.hp_to_watts;
        a.acf_SFC[e] /= 3600.0f;
    }
    for (int p = 0; p < ACF_NUM_PARTS; ++p) {
        a.acf_sweep1[p] = half_turns(a.acf_sweep1[p]);
        a.acf_sweep2[p] = half_turns(a.acf_sweep2[p]);
        a.acf_dihed1[p] = half_turns(a.acf_dihed1[p]);
        a.acf_dihed2[p] = half_turns(a.acf_dihed2[p]);
    }

    // Every position from the centre of gravity (on the centre line, so only
    // Y and Z move; X and the body outlines stay).
    const float cy = a.acf_cgY, cz = a.acf_cgZ;
    a.acf_m_displaced_y = -cy;
    auto move = [&](float& y, float& z) {
        y -= cy;
        z -= cz;
    };
    for (int p = 0; p < ACF_NUM_PARTS; ++p) move(a.acf_Yarm[p], a.acf_Zarm[p]);
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) move(a.acf_Ywpn_att[w], a.acf_Zwpn_att[w]);
    move(a.acf_peY, a.acf_peZ);
    move(a.acf_lanlite1Y, a.acf_lanlite1Z);
    move(a.acf_lanlite2Y, a.acf_lanlite2Z);
    move(a.acf_lanlite3Y, a.acf_lanlite3Z);
    move(a.acf_fuserb1Y, a.acf_fuserb1Z);
    move(a.acf_fuserb2Y, a.acf_fuserb2Z);
    move(a.acf_tailliteY, a.acf_tailliteZ);
    move(a.acf_refuel_Y, a.acf_refuel_Z);
    move(a.acf_jato_Y, a.acf_jato_Z);
    move(a.acf_brake_Y, a.acf_brake_Z);
    move(a.acf_chute_Y, a.acf_chute_Z);
    move(a.acf_tow_hook_Y, a.acf_tow_hook_Z);
    move(a.acf_win_hook_Y, a.acf_win_hook_Z);
    for (int k = 0; k < ACF_TANKS; ++k) move(a.acf_tank_Y[k], a.acf_tank_Z[k]);
    move(a.jett_Y, a.jett_Z);
    for (int d = 0; d < ACF_GEAR_DOORS; ++d) move(a.acf_gear_door_loc[d * 3 + 1], a.acf_gear_door_loc[d * 3 + 2]);
    a.acf_cgZ_fwd -= cz;
    a.acf_cgZ_aft -= cz;
    a.acf_cgY = 0.0f;
    a.acf_cgZ = 0.0f;
}

void ACF_setup_gear(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    a.acf_tire_contact_area = 0.0f;
    bool skid = false, wheel = false;
    const float sin4 = std::sin(4.0f * units.deg_to_rad);
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        a.acf_tire_contact_area += sin4 * a.acf_gear_tirrad[p] * a.acf_gear_tirwid[p];
        a.acf_gear_latN[p] = a.acf_gear_latE[p];
        a.acf_gear_lonN[p] = a.acf_gear_lonE[p];
        a.acf_gear_axiN[p] = a.acf_gear_axiE[p];
        const float leg = a.acf_gear_leglen[p] - (1.0f - a.acf_gear_deploy[p]) * a.acf_gear_retract_len[p];
        const float z = a.acf_Zarm[p] - leg * std::sin(a.acf_gear_lonN[p] * units.deg_to_rad);
        const bool behind = z > 0.0f, ahead = z < 0.0f;
        a.acf_gear_steers[p] =
            a.acf_gear_type[p] != 1 && ((a.acf_is_taildragger != 0 && behind) || (a.acf_is_taildragger == 0 && ahead))
                ? 1
                : 0;
        if (a.acf_gear_type[p] == 1)
            skid = true;
        else
            wheel = true;
    }
    a.acf_hybrid_gear = skid && wheel ? 1 : 0;
}
