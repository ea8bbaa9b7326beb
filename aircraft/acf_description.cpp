// Readable descriptions of aircraft: the text from which the project's own
// default aircraft file is made.
#include "aircraft/acf_description.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/plat_files.h"

namespace {

enum class field_kind { int32, float32, text };

struct field {
    const char* name;
    std::size_t offset;
    field_kind kind;
    int count;       // values, or characters of a text
};

template <class T>
constexpr field_kind kind_of()
{
    using E = std::remove_all_extents_t<T>;
    if constexpr (std::is_same_v<E, char>) return field_kind::text;
    else if constexpr (std::is_same_v<E, float>) return field_kind::float32;
    else return field_kind::int32;
}

template <class T>
constexpr int count_of()
{
    if constexpr (std::is_array_v<T>) return static_cast<int>(std::extent_v<T>);
    else return 1;
}

#define F(member)                                                                              \
    field                                                                                      \
    {                                                                                          \
        #member, offsetof(acf_struct, member), kind_of<decltype(acf_struct::member)>(),        \
            count_of<decltype(acf_struct::member)>()                                           \
    }

// The named fields of the file image.
const field fields[] = {
    F(acf_tailnum), F(acf_author), F(acf_descrip), F(acf_Vmca), F(acf_Vso), F(acf_Vs), F(acf_Vyse),
    F(acf_Vfe), F(acf_Vle), F(acf_Vno), F(acf_Vne), F(acf_Mmo), F(acf_Gneg), F(acf_Gpos), F(acf_has_navlites),
    F(acf_peX), F(acf_peY), F(acf_peZ), F(acf_has_lanlite1), F(acf_lanlite1X), F(acf_lanlite1Y),
    F(acf_lanlite1Z), F(acf_has_lanlite2), F(acf_lanlite2X), F(acf_lanlite2Y), F(acf_lanlite2Z),
    F(acf_has_lanlite3), F(acf_lanlite3X), F(acf_lanlite3Y), F(acf_lanlite3Z), F(acf_has_fuserb1),
    F(acf_fuserb1X), F(acf_fuserb1Y), F(acf_fuserb1Z), F(acf_has_fuserb2), F(acf_fuserb2X), F(acf_fuserb2Y),
    F(acf_fuserb2Z), F(acf_has_taillite), F(acf_tailliteX), F(acf_tailliteY), F(acf_tailliteZ),
    F(acf_has_refuel), F(acf_refuel_X), F(acf_refuel_Y), F(acf_refuel_Z), F(acf_yawstringx),
    F(acf_yawstringy), F(acf_HUD_cntrx), F(acf_HUD_cntry), F(acf_HUD_delx), F(acf_HUD_dely),
    F(acf_unpub_2240), F(acf_unpub_2244), F(acf_unpub_2248), F(acf_lanlite_the), F(acf_stall_warn_alpha),
    F(acf_tow_hook_Y), F(acf_tow_hook_Z), F(acf_win_hook_Y), F(acf_win_hook_Z), F(acf_unpub_2276),
    F(acf_cockpit_type), F(acf_asi_kts), F(acf_warn1EQ), F(acf_warn2EQ), F(acf_is_glossy),
    F(acf_draw_geo_frnt_views), F(acf_draw_geo_side_views), F(acf_ins_type), F(acf_ins_size), F(acf_ins_x),
    F(acf_ins_y), F(acf_ins_delx), F(acf_ins_dely), F(acf_cus_rnd_use), F(acf_cus_rnd_lo_val),
    F(acf_cus_rnd_hi_val), F(acf_cus_rnd_lo_ang), F(acf_cus_rnd_hi_ang), F(acf_cus_rnd_mirror),
    F(acf_cus_rnd_label), F(acf_cus_dig_use), F(acf_cus_dig_offset), F(acf_cus_dig_scale), F(acf_cus_dig_dig),
    F(acf_cus_dig_dec), F(acf_num_engines), F(acf_num_thrustpoints), F(acf_throtmax_FWD), F(acf_throtmax_REV),
    F(acf_idle_rat_lo), F(acf_idle_rat_hi), F(acf_props_linked), F(acf_has_beta), F(acf_auto_featherEQ),
    F(acf_revthrust_eq), F(acf_drive_by_wire), F(acf_feathered_pitch), F(acf_reversed_pitch),
    F(aacf_rotor_mi_rat), F(aacf_tip_weight), F(aacf_tip_mach_des_100), F(aacf_tip_mach_des_50), F(acf_pmax),
    F(acf_critalt), F(acf_mpmax), F(acf_trq_max_eng), F(acf_trq_max_prp), F(acf_RSC_idlespeed_eng),
    F(acf_RSC_redline_eng), F(acf_RSC_idlespeed_prp), F(acf_RSC_redline_prp), F(acf_RSC_mingreen_eng),
    F(acf_RSC_maxgreen_eng), F(acf_RSC_mingreen_prp), F(acf_RSC_maxgreen_prp), F(acf_unpub_9624),
    F(acf_spooltime_prop), F(acf_friction_rat), F(acf_tmax), F(acf_burnerinc), F(acf_max_mach_eff),
    F(acf_face_jet), F(acf_spooltime_jet), F(acf_lift_fan_rat), F(acf_fmax_sl), F(acf_fmax_opt),
    F(acf_fmax_vac), F(acf_h_opt), F(acf_face_rocket), F(acf_en_type), F(acf_prop_type), F(acf_eng_mass),
    F(acf_eng_clutch), F(acf_prop_gear_rat), F(acf_gear_rat), F(acf_prop_dir), F(acf_num_blades), F(acf_SFC),
    F(acf_vertcant), F(acf_sidecant), F(acf_min_pitch), F(acf_max_pitch), F(acf_des_rpm_prp),
    F(acf_des_kts_prp), F(acf_des_kts_acf), F(acf_prop_mass), F(acf_miprop_rpm), F(acf_eng_inertia),
    F(acf_discarea), F(acf_ringarea), F(acf_bladesweep), F(acf_starter_torque_rat), F(acf_battery_cap),
    F(acf_ff_hydraulic), F(acf_ff_stickshaker), F(acf_hyd_min_authority), F(acf_max_press_diff),
    F(acf_part_eq), F(acf_Rafl0), F(acf_Rafl1), F(acf_Tafl0), F(acf_Tafl1), F(acf_els), F(acf_Xarm),
    F(acf_Yarm), F(acf_Zarm), F(acf_Croot), F(acf_Ctip), F(acf_semilen_SEG), F(acf_semilen_JND),
    F(acf_element_len), F(acf_X_body_aero), F(acf_Y_body_aero), F(acf_Z_body_aero), F(acf_dihed1),
    F(acf_dihed2), F(acf_dihednow), F(acf_dihed_var), F(acf_vardihedEQ), F(acf_sweep1), F(acf_sweep2),
    F(acf_sweepnow), F(acf_sweep_var), F(acf_varsweepEQ), F(acf_e), F(acf_AR), F(acf_al_D_al0),
    F(acf_cl_D_cl0), F(acf_cm_D_cm0), F(acf_delta_fac), F(acf_spec_wash), F(acf_alpha_max),
    F(acf_slat_effect), F(acf_s), F(acf_mac), F(acf_anginc), F(acf_ail1), F(acf_ail1_el_first),
    F(acf_ail1_el_end), F(acf_ail1_crat), F(acf_ail1_crat2), F(acf_ail1_up), F(acf_ail1_dn), F(acf_ail2),
    F(acf_ail2_el_first), F(acf_ail2_el_end), F(acf_ail2_crat), F(acf_ail2_crat2), F(acf_ail2_up),
    F(acf_ail2_dn), F(acf_elev), F(acf_elev_el_first), F(acf_elev_el_end), F(acf_elev_crat),
    F(acf_elev_crat2), F(acf_elev_up), F(acf_elev_dn), F(acf_rudd), F(acf_rudd_el_first), F(acf_rudd_el_end),
    F(acf_rudd_crat), F(acf_rudd_crat2), F(acf_rudd_lr), F(acf_splr), F(acf_splr_el_first),
    F(acf_splr_el_end), F(acf_splr_crat), F(acf_splr_crat2), F(acf_splr_up), F(acf_drud),
    F(acf_drud_el_first), F(acf_drud_el_end), F(acf_drud_crat), F(acf_drud_crat2), F(acf_drud_up),
    F(acf_sbrk), F(acf_sbrk_el_first), F(acf_sbrk_el_end), F(acf_sbrk_crat), F(acf_sbrk_crat2),
    F(acf_sbrk_up), F(acf_sbrkEQ), F(acf_flap), F(acf_flap_el_first), F(acf_flap_el_end), F(acf_flap_crat),
    F(acf_flap_crat2), F(acf_flap_dn), F(acf_flapEQ), F(acf_slat), F(acf_slat_inc), F(acf_slatEQ),
    F(acf_inc_ail), F(acf_inc_ail2), F(acf_inc_elev), F(acf_inc_rudd), F(acf_inc_vec), F(acf_inc_trim),
    F(acf_in_downwash), F(acf_body_r), F(acf_body_X), F(acf_body_Y), F(acf_body_Z), F(acf_gear_type),
    F(acf_gear_latE), F(acf_gear_lonE), F(acf_gear_axiE), F(acf_gear_latR), F(acf_gear_lonR),
    F(acf_gear_axiR), F(acf_gear_latN), F(acf_gear_lonN), F(acf_gear_axiN), F(acf_gear_xnodef),
    F(acf_gear_ynodef), F(acf_gear_znodef), F(acf_gear_leglen), F(acf_gear_tirrad), F(acf_gear_tirwid),
    F(acf_gearcon), F(acf_geardmp), F(acf_gear_deploy), F(acf_gearstatdef), F(acf_gear_def),
    F(acf_gear_steers), F(acf_gear_cyc_time), F(acf_fuse_cd), F(acf_hstb_trim_up), F(acf_hstb_trim_dn),
    F(acf_flap_type), F(acf_con_smooth), F(acf_flap_detents), F(acf_flap_deftime), F(acf_flap_cl),
    F(acf_flap_cd), F(acf_flap_cm), F(acf_blown_flap_add_speed), F(acf_blown_flap_throt_red),
    F(acf_blown_flap_min_engag), F(acf_blow_all_controls), F(acf_gear_retract), F(acf_nw_steerdeg1),
    F(acf_nw_steerdeg2), F(acf_nw_cutoff_speed), F(acf_nosewheel_k), F(acf_gear_door_size),
    F(acf_water_rud_longarm), F(acf_water_rud_area), F(acf_water_rud_maxdef), F(acf_roll_co), F(acf_brake_co),
    F(acf_gear_door_typ), F(acf_gear_door_loc), F(acf_gear_door_geo), F(acf_gear_door_axi_rot),
    F(acf_gear_door_ext_ang), F(acf_gear_door_ret_ang), F(acf_gear_door_ang_now), F(acf_cgY), F(acf_cgZ),
    F(acf_cgZ_fwd), F(acf_cgZ_aft), F(acf_m_empty), F(acf_m_fuel_tot), F(acf_m_jettison), F(acf_m_max),
    F(acf_m_displaced), F(acf_Jxx_unitmass), F(acf_Jyy_unitmass), F(acf_Jzz_unitmass), F(acf_num_tanks),
    F(acf_tank_rat), F(acf_tank_X), F(acf_tank_Y), F(acf_tank_Z), F(acf_jett_is_slung), F(jett_len),
    F(acf_unpub_625320), F(jett_X), F(jett_Y), F(jett_Z), F(acf_flap_roll), F(acf_flap_ptch),
    F(acf_mass_shift), F(acf_mass_shift_dx), F(acf_mass_shift_dz), F(acf_wing_tilt_ptch),
    F(acf_wing_tilt_roll), F(acf_tvec_ptch), F(acf_tvec_roll), F(acf_tvec_hdng), F(acf_jato_Y), F(acf_jato_Z),
    F(acf_jato_theta), F(acf_jato_thrust), F(acf_jato_dur), F(acf_jato_sfc), F(acf_stabroll), F(acf_stabhdng),
    F(acf_elevflaps), F(acf_ail1pitch), F(acf_ail1flaps), F(acf_ail2pitch), F(acf_ail2flaps), F(acf_ail2vmax),
    F(acf_diff_thro_with_hdng), F(acf_phase_tvect_out_at_90), F(acf_phase_tvect_out_at_00), F(acf_autosbrkEQ),
    F(acf_autofbrkEQ), F(acf_autosweepEQ), F(acf_flaps_with_gearEQ), F(acf_autoslatEQ), F(acf_antiiceEQ),
    F(acf_arrestingEQ), F(acf_rev_on_touchdown), F(acf_gearhornEQ), F(acf_unpub_625480), F(acf_auto_trimEQ),
    F(acf_flaps_with_vecEQ), F(acf_brake_area), F(acf_brake_Y), F(acf_brake_Z), F(acf_chute_area),
    F(acf_chute_Y), F(acf_chute_Z), F(acf_vectEQ), F(acf_auto_rpm_with_tvec), F(acf_hide_prop_at_90_vect),
    F(acf_vect_rate), F(acf_flap_vect_lo), F(acf_flap_vect_hi), F(acf_vectarmY), F(acf_vectarmZ),
    F(acf_cyclic_elev), F(acf_cyclic_ailn), F(acf_flap_arm), F(acf_delta3), F(acf_puffL), F(acf_puffM),
    F(acf_puffN), F(acf_puffX), F(acf_puffY), F(acf_puffZ), F(acf_stab_delinc_to_Vne), F(acf_tail_with_coll),
    F(acf_diff_coll_with_roll), F(acf_diff_coll_with_hdng), F(acf_diff_coll_with_ptch),
    F(acf_diff_cycl_with_hdng_lon), F(acf_diff_cycl_with_hdng_lat), F(acf_rotor_trim_max_fwd),
    F(acf_rotor_trim_max_aft), F(acf_AShiV_old), F(acf_ASloV_old), F(acf_ASmaxp_lo), F(acf_ASp_lo_rate),
    F(acf_ASmaxh_lo), F(acf_ASh_lo_rate), F(acf_ASmaxr_lo), F(acf_ASr_lo_rate), F(acf_ASmaxg_hi),
    F(acf_ASg_hi_pos), F(acf_ASg_hi_rate), F(acf_ASmaxp_hi), F(acf_ASp_hi_pos), F(acf_ASp_hi_rate),
    F(acf_ASmaxh_hi), F(acf_ASh_hi_pos), F(acf_ASh_hi_rate), F(acf_ASmaxr_hi), F(acf_ASr_hi_rate),
    F(wpn_name), F(acf_Xwpn_att), F(acf_Ywpn_att), F(acf_Zwpn_att), F(acf_est_Vs), F(acf_size_x),
    F(acf_size_z), F(acf_tire_contact_area), F(acf_m_displaced_y), F(acf_h_eqlbm), F(acf_the_eqlbm),
    F(acf_is_taildragger), F(acf_gear_is_skid), F(acf_hybrid_gear), F(acf_has_nav), F(acf_has_radar),
    F(acf_has_SC_fd), F(acf_has_DC_fd), F(acf_has_stallwarn), F(acf_has_clutch), F(acf_no_fadec),
    F(acf_has_idlespeed), F(acf_force_fadec), F(acf_has_litemap_tex), F(acf_has_prop_type5),
    F(acf_has_collective_rotor), F(acf_unpub_638096), F(acf_unpub_638100), F(acf_unpub_638104),
    F(acf_unpub_638108), F(acf_taper), F(acf_trq_per_speed), F(acf_critalt_boost_pa), F(acf_unpub_638444), F(acf_sweep_extra), F(acf_sweep_extraEQ), F(acf_roll_yaw_link),
    F(acf_unpub_638996), F(acf_part_is_left), F(acf_part_left), F(acf_side_sign), F(acf_unpub_639872),
    F(acf_collective_rotor_index), F(acf_vect_cant), F(acf_unpub_639912), F(acf_tvec_roll_at_90),
    F(acf_tvec_roll_at_00), F(acf_tvec_hdng_at_90), F(acf_tvec_hdng_at_00), F(acf_ap_keep_speed),
    F(acf_ap_keep_heading), F(acf_ap_keep_altitude), F(acf_ASloV), F(acf_ASloV_yaw), F(acf_ASloV_roll),
    F(acf_AShiV), F(acf_AShiV_yaw), F(acf_AShiV_roll), F(acf_splr_vmax), F(acf_unpub_639976),
    F(acf_elv_trim_dn), F(acf_elv_trim_neg_lim), F(acf_elv_trim_up), F(acf_elv_trim_pos_lim),
    F(acf_ail_trim_lt), F(acf_ail_trim_neg_lim), F(acf_ail_trim_rt), F(acf_ail_trim_pos_lim),
    F(acf_rud_trim_lt), F(acf_rud_trim_neg_lim), F(acf_rud_trim_rt), F(acf_rud_trim_pos_lim),
    F(acf_unpub_640004), F(acf_panel_flag_51_52), F(acf_has_varinc), F(acf_varinc), F(varinc_now), F(acf_gear_retract_len),
    F(acf_diff_thro_with_ptch), F(acf_diff_thro_with_roll), F(acf_unpub_641188),
};
#undef F

struct description_error {
    int line_no;
    std::string what;
};

[[noreturn]] void fail(int line_no, const std::string& what) { throw description_error{line_no, what}; }

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// The line without its comment: '#' at the start or after a blank.
std::string strip_comment(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    return line;
}

const field* find_field(const std::string& name)
{
    for (const field& f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

int parse_int(const std::string& s, int line_no)
{
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != 0 || v < INT32_MIN || v > INT32_MAX) fail(line_no, "not a whole number: " + s);
    return static_cast<int>(v);
}

float parse_float(const std::string& s, int line_no)
{
    char* end = nullptr;
    const float v = std::strtof(s.c_str(), &end);
    if (s.empty() || *end != 0 || !std::isfinite(v)) fail(line_no, "not a number: " + s);
    return v;
}

std::vector<std::string> split_words(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep || (sep == ' ' && c == '\t')) {
            if (!trim(cur).empty()) out.push_back(trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!trim(cur).empty()) out.push_back(trim(cur));
    return out;
}

constexpr int MAX_INDEX = 1000000;   // above the entry count of the record's largest array

// Expands "3", "0..3", "8:0..3" (part 8, elements 0 to 3) and comma lists.
std::vector<int> parse_indices(const std::string& list, int line_no)
{
    std::vector<int> out;
    for (const std::string& item : split_words(list, ',')) {
        int base = 0;
        std::string range = item;
        const auto colon = item.find(':');
        if (colon != std::string::npos) {
            const int part = parse_int(trim(item.substr(0, colon)), line_no);
            if (part < 0 || part >= ACF_NUM_PARTS) fail(line_no, "index out of range: " + item);
            base = part * ACF_ELS_PER_PART;
            range = trim(item.substr(colon + 1));
        }
        const auto dots = range.find("..");
        int lo, hi;
        if (dots == std::string::npos) {
            lo = hi = parse_int(range, line_no);
        } else {
            lo = parse_int(trim(range.substr(0, dots)), line_no);
            hi = parse_int(trim(range.substr(dots + 2)), line_no);
        }
        if (hi < lo) fail(line_no, "empty index range: " + item);
        // An element index stays within its part; no array of the record has
        // more than MAX_INDEX entries, and a larger range could overflow the
        // sum below or ask for billions of entries.
        if (lo < 0 || hi > (colon != std::string::npos ? ACF_ELS_PER_PART - 1 : MAX_INDEX))
            fail(line_no, "index out of range: " + item);
        for (int i = lo; i <= hi; ++i) out.push_back(base + i);
    }
    return out;
}

// Width of one text of a text field: name lists hold one name per part or weapon slot.
int text_width(const field& f)
{
    if (f.count == ACF_NUM_PARTS * ACF_AFL_NAME_SIZE) return ACF_AFL_NAME_SIZE;
    if (f.count == ACF_WPN_SLOTS * ACF_WPN_NAME_SIZE) return ACF_WPN_NAME_SIZE;
    return f.count;
}

struct body_outline {
    int stations = 0;
};

// Adds station k of body part p: an ellipse of half-width w between y = bottom
// and y = top at z. Points 0..8 run down the right half from the top; points
// 9..17 come back up the left half.
void add_body_station(acf_struct& a, int p, body_outline& b, const std::vector<std::string>& v, int line_no)
{
    if (v.size() != 4) fail(line_no, "a body station is: z halfwidth top bottom");
    if (b.stations >= ACF_BODY_STATIONS) fail(line_no, "too many body stations");
    const float z = parse_float(v[0], line_no), w = parse_float(v[1], line_no);
    const float top = parse_float(v[2], line_no), bottom = parse_float(v[3], line_no);
    const float yc = 0.5f * (top + bottom), h = 0.5f * (top - bottom);
    const int half = ACF_BODY_POINTS / 2;
    for (int k = 0; k < ACF_BODY_POINTS; ++k) {
        const double deg = k < half ? 180.0 * k / (half - 1) : 180.0 + 180.0 * (k - half + 1) / half;
        const double r = deg * M_PI / 180.0;
        const int e = (p * ACF_BODY_STATIONS + b.stations) * ACF_BODY_POINTS + k;
        a.acf_body_X[e] = static_cast<float>(w * std::sin(r));
        a.acf_body_Y[e] = static_cast<float>(yc + h * std::cos(r));
        a.acf_body_Z[e] = z;
    }
    ++b.stations;
}

void set_values(acf_struct& a, const field& f, const std::vector<int>& indices, const std::string& value,
                int line_no)
{
    char* base = reinterpret_cast<char*>(&a) + f.offset;
    if (f.kind == field_kind::text) {
        const int width = text_width(f);
        const int slots = f.count / width;
        if (static_cast<int>(value.size()) >= width) fail(line_no, "text too long for " + std::string(f.name));
        for (int i : indices) {
            if (i < 0 || i >= slots) fail(line_no, "index out of range for " + std::string(f.name));
            std::memset(base + i * width, 0, width);
            std::memcpy(base + i * width, value.data(), value.size());
        }
        return;
    }
    const std::vector<std::string> words = split_words(value, ' ');
    if (words.size() != 1 && words.size() != indices.size())
        fail(line_no, "give one value, or one value per index, for " + std::string(f.name));
    for (std::size_t n = 0; n < indices.size(); ++n) {
        const int i = indices[n];
        if (i < 0 || i >= f.count) fail(line_no, "index out of range for " + std::string(f.name));
        const std::string& w = words[words.size() == 1 ? 0 : n];
        if (f.kind == field_kind::int32) {
            const int32_t v = parse_int(w, line_no);
            std::memcpy(base + 4 * i, &v, 4);
        } else {
            const float v = parse_float(w, line_no);
            std::memcpy(base + 4 * i, &v, 4);
        }
    }
}

// Reads the description into a slot; returns the aircraft's name below "AIRCRAFT:".
std::string read_description(const char* path, int slot)
{
    std::string text;
    if (!PLAT_read_text_file(path, text)) throw description_error{0, "cannot read the description"};
    std::istringstream in(text);
    acf_struct& a = pln[slot];
    std::memset(&a, 0, sizeof a);
    std::vector<body_outline> bodies(ACF_NUM_PARTS);
    std::string name;
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        line = trim(strip_comment(line));
        if (line.empty()) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) fail(line_no, "expected key = value");
        std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        std::vector<int> indices{0};
        const auto br = key.find('[');
        if (br != std::string::npos) {
            if (key.back() != ']') fail(line_no, "unclosed index list");
            indices = parse_indices(key.substr(br + 1, key.size() - br - 2), line_no);
            key = trim(key.substr(0, br));
        }
        if (key == "name") {
            name = value;
        } else if (key.rfind("paint_", 0) == 0) {
            // The paint generator's colours (tools/aircraft_paint.h), not the record's.
        } else if (key == "body") {
            if (indices.size() != 1 || indices[0] < 0 || indices[0] >= ACF_NUM_PARTS)
                fail(line_no, "body[part] takes one part index");
            add_body_station(a, indices[0], bodies[indices[0]], split_words(value, ' '), line_no);
        } else {
            const field* f = find_field(key);
            if (!f) fail(line_no, "unknown field " + key);
            set_values(a, *f, indices, value, line_no);
        }
    }
    if (name.empty()) fail(line_no, "the description gives no name");
    return name;
}

}  // namespace

int ACF_read_description(const char* path, int slot, char* name, char* error)
{
    if (name) name[0] = 0;
    if (error) error[0] = 0;
    if (slot < 0 || slot >= ACF_SLOTS) return 0;
    try {
        const std::string n = read_description(path, slot);
        if (name) std::snprintf(name, ACF_TEXT_SIZE, "%s", n.c_str());
        return 1;
    } catch (const description_error& e) {
        if (error) std::snprintf(error, ACF_TEXT_SIZE, "line %d: %s", e.line_no, e.what.c_str());
        return 0;
    }
}

int ACF_check_description_values(int slot, bool inertia, char* error)
{
    if (error) error[0] = 0;
    if (slot < 0 || slot >= ACF_SLOTS) return 0;
    const acf_struct& a = pln[slot];
    auto refuse = [&](const char* field, int index, float value) {
        if (error) {
            if (index >= 0)
                std::snprintf(error, ACF_TEXT_SIZE, "%s[%d] = %g must be above zero", field, index, value);
            else
                std::snprintf(error, ACF_TEXT_SIZE, "%s = %g must be above zero", field, value);
        }
        return 0;
    };
    auto positive = [](float v) { return std::isfinite(v) && v > 0.0f; };
    if (!positive(a.acf_m_empty)) return refuse("acf_m_empty", -1, a.acf_m_empty);
    if (!positive(a.acf_m_max)) return refuse("acf_m_max", -1, a.acf_m_max);
    // The propellers and rotors (the first parts, one per thrust point) and
    // every other fitted part with elements: their blades' or panels' chord
    // and length make its area.
    const int thrust_points = std::clamp(a.acf_num_thrustpoints, 0, 8);
    for (int p = 0; p < static_cast<int>(std::size(a.acf_els)); ++p) {
        const bool fitted = p < thrust_points || (p >= 8 && a.acf_part_eq[p] != 0);
        if (!fitted || a.acf_els[p] <= 0) continue;
        if (!positive(a.acf_Croot[p])) return refuse("acf_Croot", p, a.acf_Croot[p]);
        // A pointed tip (a tip chord of zero) still has an area.
        if (!(std::isfinite(a.acf_Ctip[p]) && a.acf_Ctip[p] >= 0.0f)) return refuse("acf_Ctip", p, a.acf_Ctip[p]);
        if (!positive(a.acf_semilen_SEG[p])) return refuse("acf_semilen_SEG", p, a.acf_semilen_SEG[p]);
    }
    if (!inertia) return 1;
    if (!positive(a.acf_Jxx_unitmass)) return refuse("acf_Jxx_unitmass", -1, a.acf_Jxx_unitmass);
    if (!positive(a.acf_Jyy_unitmass)) return refuse("acf_Jyy_unitmass", -1, a.acf_Jyy_unitmass);
    if (!positive(a.acf_Jzz_unitmass)) return refuse("acf_Jzz_unitmass", -1, a.acf_Jzz_unitmass);
    return 1;
}
