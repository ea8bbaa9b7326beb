// The aircraft record: the description of one aircraft, one record for each
// plane slot in the global array `pln` (slot 0 is the user's aircraft).
//
// The first ACF_FILE_IMAGE_SIZE bytes of a record are, byte for byte, the body
// of a version-700 aircraft file, so every field below sits at a fixed offset
// (checked by the static_asserts at the end). Every value is a 4-byte word
// (int32 or float32, little-endian in memory); texts are fixed-width character
// arrays. After the file image come the working regions built after loading:
// drawing geometry, the airfoil blocks of parts 0..43, the weapon slots.
//
// Fields named acf_unpub_<offset> carry no name of their own; they are part of
// the file and are read and written with the rest. Where two names share one
// place, an anonymous union holds both.
#pragma once

#include <cstddef>
#include <cstdint>

#include "aircraft/airfoil_block.h"
#include "aircraft/wpn_slot.h"

// Plane slots and record sizes.
constexpr int ACF_SLOTS = 10;
constexpr std::size_t ACF_FILE_IMAGE_SIZE = 647096;   // body of a version-700 file
constexpr std::size_t ACF_RECORD_SIZE = 3386576;      // whole record
constexpr std::size_t ACF_DRAW_GEO_SIZE = 970084;     // drawing geometry region
constexpr std::size_t ACF_WPN_SLOT_SIZE = 9556;       // one weapon slot (weapon block)
constexpr int ACF_FILE_VERSION = 700;                 // version the writer writes

// Counts that index the arrays.
constexpr int ACF_MAX_ENGINES = 8;        // engines, propellers, thrust points
constexpr int ACF_NUM_PARTS = 73;
constexpr int ACF_ELS_PER_PART = 10;      // wing elements per part
constexpr int ACF_NUM_ELEMENTS = ACF_NUM_PARTS * ACF_ELS_PER_PART;
constexpr int ACF_PROP_RINGS = 10;        // ring areas and blade sweeps per engine
constexpr int ACF_BODY_STATIONS = 20;
constexpr int ACF_BODY_POINTS = 18;
constexpr int ACF_BODY_PART_POINTS = ACF_BODY_STATIONS * ACF_BODY_POINTS;   // 360
constexpr int ACF_INS_SLOTS = 200;        // instrument slots of the panel
constexpr int ACF_CUS_INS = 50;           // custom dial and custom digital instruments
constexpr int ACF_GEAR_DOORS = 10;
constexpr int ACF_WPN_SLOTS = 24;
constexpr int ACF_NAV_RECEIVERS = 6;
constexpr int ACF_TANKS = 3;
constexpr int ACF_FLAP_DN = 8;            // entries of acf_flap_dn (detent deflections)
constexpr int ACF_AFL_NAME_SIZE = 40;     // one airfoil file name
constexpr int ACF_WPN_NAME_SIZE = 500;    // one weapon file name
constexpr int ACF_TAILNUM_SIZE = 40;
constexpr int ACF_TEXT_SIZE = 500;        // author, description, file name and path

// Numbering of the parts: the fixed ranges the loading, derivation and failure code test.
constexpr int PART_PROP_FIRST = 0;        // propellers (thrust points) of engines 0..7
constexpr int PART_PROP_LAST = 7;
constexpr int PART_WING_PAIR_FIRST = 8;   // lifting surfaces in mirrored pairs (even = left)
constexpr int PART_WING_PAIR_LAST = 17;
constexpr int PART_CENTRE_FIRST = 18;     // lifting surfaces on the centre line
constexpr int PART_CENTRE_LAST = 19;
constexpr int PART_WING_EXTRA_FIRST = 20; // further lifting surfaces (side kept from the file)
constexpr int PART_WING_EXTRA_LAST = 27;
constexpr int PART_WING_MORE_FIRST = 28;  // further lifting surfaces (side from acf_Xarm)
constexpr int PART_WING_MORE_LAST = 43;
constexpr int PART_AFL_LAST = 43;         // parts 0..43 carry airfoils
constexpr int PART_BODY_FIRST = 44;       // parts without airfoils
constexpr int PART_ENGINE_BODY_FIRST = 53;  // parts tied to engines 0..7
constexpr int PART_ENGINE_BODY_LAST = 60;
constexpr int PART_BODY_LAST = 66;
constexpr int PART_GEAR_FIRST = 67;       // landing gear
constexpr int PART_GEAR_LAST = 72;
static_assert(PART_AFL_LAST + 1 == AFL_PARTS);

struct acf_struct {
    int32_t acf_byte_order;                 // 0 as written; non-zero makes the reader reverse the record
    char acf_file_name[500];                // file name of the aircraft (kept across a read)
    char acf_file_path[500];                // full path of the aircraft file (kept across a read)
    char acf_tailnum[40];
    char acf_author[500];
    char acf_descrip[500];
    float acf_Vmca;
    float acf_Vso;
    float acf_Vs;
    float acf_Vyse;
    float acf_Vfe;
    float acf_Vle;
    float acf_Vno;
    float acf_Vne;
    float acf_Mmo;
    float acf_Gneg;
    float acf_Gpos;
    int32_t acf_has_navlites;
    float acf_peX;
    float acf_peY;
    float acf_peZ;
    int32_t acf_has_lanlite1;
    float acf_lanlite1X;
    float acf_lanlite1Y;
    float acf_lanlite1Z;
    int32_t acf_has_lanlite2;
    float acf_lanlite2X;
    float acf_lanlite2Y;
    float acf_lanlite2Z;
    int32_t acf_has_lanlite3;
    float acf_lanlite3X;
    float acf_lanlite3Y;
    float acf_lanlite3Z;
    int32_t acf_has_fuserb1;
    float acf_fuserb1X;
    float acf_fuserb1Y;
    float acf_fuserb1Z;
    int32_t acf_has_fuserb2;
    float acf_fuserb2X;
    float acf_fuserb2Y;
    float acf_fuserb2Z;
    int32_t acf_has_taillite;
    float acf_tailliteX;
    float acf_tailliteY;
    float acf_tailliteZ;
    int32_t acf_has_refuel;
    float acf_refuel_X;
    float acf_refuel_Y;
    float acf_refuel_Z;
    float acf_yawstringx;
    float acf_yawstringy;
    float acf_HUD_cntrx;
    float acf_HUD_cntry;
    float acf_HUD_delx;
    float acf_HUD_dely;
    float acf_unpub_2240;
    float acf_unpub_2244;                   // 1.0 by default in conversion
    float acf_unpub_2248;                   // 20.0 by default in conversion
    float acf_lanlite_the;
    float acf_stall_warn_alpha;
    float acf_tow_hook_Y;
    float acf_tow_hook_Z;
    float acf_win_hook_Y;
    float acf_win_hook_Z;
    int32_t acf_unpub_2276;
    int32_t acf_cockpit_type;
    int32_t acf_asi_kts;
    int32_t acf_warn1EQ;
    int32_t acf_warn2EQ;
    int32_t acf_is_glossy;
    int32_t acf_draw_geo_frnt_views;
    int32_t acf_draw_geo_side_views;
    int32_t acf_ins_type[200];
    float acf_ins_size[200];
    float acf_ins_x[200];
    float acf_ins_y[200];
    float acf_ins_delx[200];
    float acf_ins_dely[200];
    int32_t acf_cus_rnd_use[50];
    float acf_cus_rnd_lo_val[50];
    float acf_cus_rnd_hi_val[50];
    float acf_cus_rnd_lo_ang[50];
    float acf_cus_rnd_hi_ang[50];
    int32_t acf_cus_rnd_mirror[50];
    int32_t acf_cus_rnd_label[50];
    int32_t acf_cus_dig_use[50];
    float acf_cus_dig_offset[50];
    float acf_cus_dig_scale[50];
    int32_t acf_cus_dig_dig[50];
    int32_t acf_cus_dig_dec[50];
    int32_t acf_num_engines;
    int32_t acf_num_thrustpoints;
    float acf_throtmax_FWD;
    float acf_throtmax_REV;
    float acf_idle_rat_lo;                  // idle ratios, low and high (1.0 each by default in conversion)
    float acf_idle_rat_hi;
    int32_t acf_props_linked;
    int32_t acf_has_beta;
    int32_t acf_auto_featherEQ;
    int32_t acf_revthrust_eq;
    int32_t acf_drive_by_wire;
    float acf_feathered_pitch;
    float acf_reversed_pitch;
    float aacf_rotor_mi_rat;
    float aacf_tip_weight;
    float aacf_tip_mach_des_100;
    float aacf_tip_mach_des_50;
    float acf_pmax;
    float acf_critalt;
    float acf_mpmax;
    union {  // two names of the same value
        float acf_trq_max_eng;
        float acf_trq_max_prp;
    };
    float acf_RSC_idlespeed_eng;
    float acf_RSC_redline_eng;
    float acf_RSC_idlespeed_prp;
    float acf_RSC_redline_prp;
    float acf_RSC_mingreen_eng;
    float acf_RSC_maxgreen_eng;
    float acf_RSC_mingreen_prp;
    float acf_RSC_maxgreen_prp;
    float acf_unpub_9624;
    float acf_spooltime_prop;
    float acf_friction_rat;                 // engine friction ratio
    float acf_tmax;
    float acf_burnerinc;
    float acf_max_mach_eff;
    float acf_face_jet;
    float acf_spooltime_jet;
    float acf_lift_fan_rat;
    float acf_fmax_sl;
    float acf_fmax_opt;
    float acf_fmax_vac;
    float acf_h_opt;
    float acf_face_rocket;
    int32_t acf_en_type[8];
    int32_t acf_prop_type[8];
    float acf_eng_mass[8];
    int32_t acf_eng_clutch[8];              // per engine clutch flag; 1 in conversion when the propellers are linked
    union {  // acf_gear_rat is another name for entry 0 of acf_prop_gear_rat
        float acf_prop_gear_rat[8];
        float acf_gear_rat;
    };
    float acf_prop_dir[8];
    float acf_num_blades[8];
    float acf_SFC[8];
    float acf_vertcant[8];
    float acf_sidecant[8];
    float acf_min_pitch[8];
    float acf_max_pitch[8];
    float acf_des_rpm_prp[8];
    float acf_des_kts_prp[8];
    float acf_des_kts_acf[8];
    float acf_prop_mass[8];
    float acf_miprop_rpm[8];
    float acf_eng_inertia[8];               // per engine
    float acf_discarea[8];
    float acf_ringarea[80];
    float acf_bladesweep[80];
    float acf_starter_torque_rat;           // 1.0 by default in conversion
    float acf_battery_cap;                  // 1.0 by default in conversion
    int32_t acf_ff_hydraulic;
    int32_t acf_ff_stickshaker;
    float acf_hyd_min_authority;            // least control authority kept when hydraulic pressure falls
    float acf_max_press_diff;
    int32_t acf_part_eq[73];
    char acf_Rafl0[2920];
    char acf_Rafl1[2920];
    char acf_Tafl0[2920];
    char acf_Tafl1[2920];
    int32_t acf_els[73];
    float acf_Xarm[73];
    float acf_Yarm[73];
    float acf_Zarm[73];
    float acf_Croot[73];
    float acf_Ctip[73];
    float acf_semilen_SEG[73];
    float acf_semilen_JND[73];
    float acf_element_len[73];
    float acf_X_body_aero[73];
    float acf_Y_body_aero[73];
    float acf_Z_body_aero[73];
    float acf_dihed1[73];
    float acf_dihed2[73];
    float acf_dihednow[73];
    int32_t acf_dihed_var[73];              // per part: the part has variable dihedral
    int32_t acf_vardihedEQ;
    float acf_sweep1[73];
    float acf_sweep2[73];
    float acf_sweepnow[73];
    int32_t acf_sweep_var[73];              // per part: the part has variable sweep
    int32_t acf_varsweepEQ;
    float acf_e[73];
    float acf_AR[73];
    float acf_al_D_al0[73];
    float acf_cl_D_cl0[73];
    float acf_cm_D_cm0[73];
    float acf_delta_fac[73];
    float acf_spec_wash[73];
    float acf_alpha_max[73];
    float acf_slat_effect[73];
    float acf_s[730];
    float acf_mac[730];
    float acf_anginc[730];
    int32_t acf_ail1[730];
    float acf_ail1_el_first[73];            // first element of the aileron-1 run (derived)
    float acf_ail1_el_end[73];              // one past the last element of the run (derived)
    float acf_ail1_crat;
    float acf_ail1_crat2;                   // second chord ratio of aileron 1
    float acf_ail1_up;
    float acf_ail1_dn;
    int32_t acf_ail2[730];
    float acf_ail2_el_first[73];
    float acf_ail2_el_end[73];
    float acf_ail2_crat;
    float acf_ail2_crat2;
    float acf_ail2_up;
    float acf_ail2_dn;
    int32_t acf_elev[730];
    float acf_elev_el_first[73];
    float acf_elev_el_end[73];
    float acf_elev_crat;
    float acf_elev_crat2;
    float acf_elev_up;
    float acf_elev_dn;
    int32_t acf_rudd[730];
    float acf_rudd_el_first[73];
    float acf_rudd_el_end[73];
    float acf_rudd_crat;
    float acf_rudd_crat2;
    float acf_rudd_lr;
    int32_t acf_splr[730];
    float acf_splr_el_first[73];
    float acf_splr_el_end[73];
    float acf_splr_crat;
    float acf_splr_crat2;
    float acf_splr_up;
    int32_t acf_drud[730];
    float acf_drud_el_first[73];
    float acf_drud_el_end[73];
    float acf_drud_crat;                    // chord ratios of the yaw brake
    float acf_drud_crat2;
    float acf_drud_up;                      // yaw-brake travel
    int32_t acf_sbrk[730];
    float acf_sbrk_el_first[73];
    float acf_sbrk_el_end[73];
    float acf_sbrk_crat;
    float acf_sbrk_crat2;
    float acf_sbrk_up;
    int32_t acf_sbrkEQ;
    int32_t acf_flap[730];
    float acf_flap_el_first[73];
    float acf_flap_el_end[73];
    float acf_flap_crat;
    float acf_flap_crat2;
    float acf_flap_dn[8];
    int32_t acf_flapEQ;
    int32_t acf_slat[730];
    float acf_slat_inc;
    int32_t acf_slatEQ;
    int32_t acf_inc_ail[730];
    int32_t acf_inc_ail2[730];
    int32_t acf_inc_elev[730];              // per element: incidence follows the elevator
    int32_t acf_inc_rudd[730];              // per element: incidence follows the rudder
    int32_t acf_inc_vec[730];
    int32_t acf_inc_trim[730];              // per element: incidence follows the stabiliser trim
    int32_t acf_in_downwash[53290];
    float acf_body_r[73];
    float acf_body_X[26280];
    float acf_body_Y[26280];
    float acf_body_Z[26280];
    int32_t acf_gear_type[73];
    float acf_gear_latE[73];
    float acf_gear_lonE[73];
    float acf_gear_axiE[73];
    float acf_gear_latR[73];
    float acf_gear_lonR[73];
    float acf_gear_axiR[73];
    float acf_gear_latN[73];
    float acf_gear_lonN[73];
    float acf_gear_axiN[73];
    float acf_gear_xnodef[73];
    float acf_gear_ynodef[73];
    float acf_gear_znodef[73];
    float acf_gear_leglen[73];
    float acf_gear_tirrad[73];
    float acf_gear_tirwid[73];              // per part: tyre half-width (0.35 x the tyre radius in conversion)
    float acf_gearcon[73];
    float acf_geardmp[73];
    float acf_gear_deploy[73];
    float acf_gearstatdef[73];
    float acf_gear_def[73];
    int32_t acf_gear_steers[73];
    float acf_gear_cyc_time[73];
    float acf_fuse_cd;
    float acf_hstb_trim_up;
    float acf_hstb_trim_dn;
    float acf_flap_type;
    float acf_con_smooth;
    int32_t acf_flap_detents;
    float acf_flap_deftime;
    float acf_flap_cl;
    float acf_flap_cd;
    float acf_flap_cm;
    float acf_blown_flap_add_speed;
    float acf_blown_flap_throt_red;
    float acf_blown_flap_min_engag;
    int32_t acf_blow_all_controls;
    int32_t acf_gear_retract;
    float acf_nw_steerdeg1;
    float acf_nw_steerdeg2;
    float acf_nw_cutoff_speed;
    float acf_nosewheel_k;
    float acf_gear_door_size;
    float acf_water_rud_longarm;
    float acf_water_rud_area;
    float acf_water_rud_maxdef;
    float acf_roll_co;
    float acf_brake_co;
    int32_t acf_gear_door_typ[10];
    float acf_gear_door_loc[30];
    float acf_gear_door_geo[120];
    float acf_gear_door_axi_rot[10];
    float acf_gear_door_ext_ang[10];
    float acf_gear_door_ret_ang[10];
    float acf_gear_door_ang_now[10];
    float acf_cgY;
    float acf_cgZ;
    float acf_cgZ_fwd;
    float acf_cgZ_aft;
    float acf_m_empty;
    float acf_m_fuel_tot;
    float acf_m_jettison;
    float acf_m_max;
    float acf_m_displaced;
    float acf_Jxx_unitmass;
    float acf_Jyy_unitmass;
    float acf_Jzz_unitmass;
    int32_t acf_num_tanks;
    float acf_tank_rat[3];
    float acf_tank_X[3];
    float acf_tank_Y[3];
    float acf_tank_Z[3];
    int32_t acf_jett_is_slung;
    float jett_len;                         // rope length of a slung jettisonable load (ft in the file, m after set-up)
    int32_t acf_unpub_625320;               // 1 by default in conversion
    float jett_X;
    float jett_Y;
    float jett_Z;
    float acf_flap_roll;
    float acf_flap_ptch;
    float acf_mass_shift;
    float acf_mass_shift_dx;
    float acf_mass_shift_dz;
    float acf_wing_tilt_ptch;
    float acf_wing_tilt_roll;
    float acf_tvec_ptch;
    float acf_tvec_roll;
    float acf_tvec_hdng;
    float acf_jato_Y;
    float acf_jato_Z;
    float acf_jato_theta;
    float acf_jato_thrust;
    float acf_jato_dur;
    float acf_jato_sfc;
    float acf_stabroll;
    float acf_stabhdng;
    float acf_elevflaps;
    float acf_ail1pitch;
    float acf_ail1flaps;
    float acf_ail2pitch;
    float acf_ail2flaps;
    float acf_ail2vmax;
    float acf_diff_thro_with_hdng;
    int32_t acf_phase_tvect_out_at_90;
    int32_t acf_phase_tvect_out_at_00;
    int32_t acf_autosbrkEQ;
    int32_t acf_autofbrkEQ;
    int32_t acf_autosweepEQ;
    int32_t acf_flaps_with_gearEQ;
    int32_t acf_autoslatEQ;
    int32_t acf_antiiceEQ;
    int32_t acf_arrestingEQ;
    int32_t acf_rev_on_touchdown;
    int32_t acf_gearhornEQ;
    int32_t acf_unpub_625480;
    int32_t acf_auto_trimEQ;
    int32_t acf_flaps_with_vecEQ;
    float acf_brake_area;
    float acf_brake_Y;
    float acf_brake_Z;
    float acf_chute_area;
    float acf_chute_Y;
    float acf_chute_Z;
    int32_t acf_vectEQ;
    int32_t acf_auto_rpm_with_tvec;
    int32_t acf_hide_prop_at_90_vect;
    float acf_vect_rate;                    // thrust-vector ratio change per second
    float acf_flap_vect_lo;                 // vector ratio at which vector-linked flaps begin to deploy
    float acf_flap_vect_hi;                 // vector ratio at which vector-linked flaps are fully deployed
    float acf_vectarmY;
    float acf_vectarmZ;
    float acf_cyclic_elev;
    float acf_cyclic_ailn;
    float acf_flap_arm;
    float acf_delta3;
    float acf_puffL;
    float acf_puffM;
    float acf_puffN;
    float acf_puffX;
    float acf_puffY;
    float acf_puffZ;
    float acf_stab_delinc_to_Vne;
    float acf_tail_with_coll;
    float acf_diff_coll_with_roll;
    float acf_diff_coll_with_hdng;
    float acf_diff_coll_with_ptch;
    float acf_diff_cycl_with_hdng_lon;
    float acf_diff_cycl_with_hdng_lat;
    float acf_rotor_trim_max_fwd;
    float acf_rotor_trim_max_aft;
    float acf_AShiV_old;                    // single artificial-stability high speed of older files
    float acf_ASloV_old;                    // single artificial-stability low speed of older files
    float acf_ASmaxp_lo;
    float acf_ASp_lo_rate;
    float acf_ASmaxh_lo;
    float acf_ASh_lo_rate;
    float acf_ASmaxr_lo;
    float acf_ASr_lo_rate;
    float acf_ASmaxg_hi;
    float acf_ASg_hi_pos;
    float acf_ASg_hi_rate;
    float acf_ASmaxp_hi;
    float acf_ASp_hi_pos;
    float acf_ASp_hi_rate;
    float acf_ASmaxh_hi;
    float acf_ASh_hi_pos;
    float acf_ASh_hi_rate;
    float acf_ASmaxr_hi;
    float acf_ASr_hi_rate;
    char wpn_name[12000];
    float acf_Xwpn_att[24];
    float acf_Ywpn_att[24];
    float acf_Zwpn_att[24];
    float acf_est_Vs;
    float acf_size_x;
    float acf_size_z;
    float acf_tire_contact_area;            // total tyre footprint of the gear in service, m2 (set-up)
    float acf_m_displaced_y;
    float acf_h_eqlbm;
    float acf_the_eqlbm;
    int32_t acf_is_taildragger;
    int32_t acf_gear_is_skid;
    int32_t acf_hybrid_gear;
    int32_t acf_has_nav[6];
    int32_t acf_has_radar;
    int32_t acf_has_SC_fd;
    int32_t acf_has_DC_fd;
    int32_t acf_has_stallwarn;
    int32_t acf_has_clutch;
    int32_t acf_no_fadec;                   // removes FADEC fitting (derived from the panel)
    int32_t acf_has_idlespeed;
    int32_t acf_force_fadec;                // forces FADEC fitting (derived from the panel)
    int32_t acf_has_litemap_tex;
    int32_t acf_has_prop_type5;             // a present thrust point has propeller type 5 (derived)
    int32_t acf_has_collective_rotor;       // a present thrust point has propeller type 3 (derived)
    float acf_unpub_638096;                 // acf_Vne when below 1.0 after loading
    float acf_unpub_638100;                 // set by propeller type when below 1.0
    float acf_unpub_638104;                 // set by engine type when below 1.0
    float acf_unpub_638108;                 // 100.0 when below 1.0
    float acf_taper[73];                    // tip chord / root chord of each lifting part (set-up)
    float acf_trq_per_speed[8];             // engine torque per rad/s of redline: acf_trq_max_prp / redline (set-up)
    float acf_critalt_boost_pa;             // pressure boost a supercharger holds up to acf_critalt, Pa (set-up)
    uint8_t acf_is_general_aviation;        // path lies in the general-aviation folder (set-up)
    uint8_t acf_is_heavy_metal;             // path lies in the heavy-metal folder (set-up)
    uint8_t acf_unpub_638442[2];
    int32_t acf_unpub_638444[63];
    int32_t acf_sweep_extra[73];            // per part; any part in service with it set sets acf_sweep_extraEQ
    int32_t acf_sweep_extraEQ;              // lets the sweep actuator move (derived)
    float acf_roll_yaw_link;                // fraction of yoke roll added to yoke heading
    int32_t acf_unpub_638996[73];
    union {  // two names of the same words
        int32_t acf_part_is_left[73];
        int32_t acf_part_left[73];
    };
    float acf_side_sign[73];                // -1.0 for a part on the left, 1.0 otherwise (derived)
    int32_t acf_unpub_639872;
    int32_t acf_collective_rotor_index;     // thrust point with propeller type 3 (derived)
    union {  // two names of the same words: the current thrust-vector angle (vertical cant) of each engine, degrees
        float acf_vect_cant[8];
        float thrust_vector_angle[8];
    };
    int32_t acf_unpub_639912[2];
    int32_t acf_tvec_roll_at_90;            // thrust-vector phase flags
    int32_t acf_tvec_roll_at_00;
    int32_t acf_tvec_hdng_at_90;
    int32_t acf_tvec_hdng_at_00;
    int32_t acf_ap_keep_speed;
    int32_t acf_ap_keep_heading;
    int32_t acf_ap_keep_altitude;
    float acf_ASloV;
    float acf_ASloV_yaw;
    float acf_ASloV_roll;
    float acf_AShiV;
    float acf_AShiV_yaw;
    float acf_AShiV_roll;
    float acf_splr_vmax;                    // speed limit of the spoilers
    int32_t acf_unpub_639976;
    union {  // two names of the same words
        float acf_elv_trim_dn;
        float acf_elv_trim_neg_lim;
    };
    union {  // two names of the same words
        float acf_elv_trim_up;
        float acf_elv_trim_pos_lim;
    };
    union {  // two names of the same words
        float acf_ail_trim_lt;
        float acf_ail_trim_neg_lim;
    };
    union {  // two names of the same words
        float acf_ail_trim_rt;
        float acf_ail_trim_pos_lim;
    };
    union {  // two names of the same words
        float acf_rud_trim_lt;
        float acf_rud_trim_neg_lim;
    };
    union {  // two names of the same words
        float acf_rud_trim_rt;
        float acf_rud_trim_pos_lim;
    };
    int32_t acf_unpub_640004;
    int32_t acf_panel_flag_51_52;           // panel equipment flag (instrument types 51 and 52)
    // Unpublished words of the incidence and gear set-up, at the start of the
    // file's last unpublished region.
    int32_t acf_has_varinc[73];             // per part: incidence varies with the sweep control
    float acf_varinc[73];                   // per part: incidence at full sweep control, degrees
    float varinc_now[73];                   // per part: the variable incidence now (written each frame)
    float acf_gear_retract_len[73];         // per gear: leg shortening when fully retracted
    float acf_diff_thro_with_ptch;          // differential throttle with pitch and roll control
    float acf_diff_thro_with_roll;
    int32_t acf_unpub_641188[1477];         // to the end of the file image

    // ---- working regions beyond the file image ----
    uint8_t acf_draw_geo[ACF_DRAW_GEO_SIZE];           // drawing geometry (owned by the scene renderer)
    afl_block afl[AFL_PARTS];                          // airfoil blocks of parts 0..43
    wpn_slot_record acf_wpn_slot[ACF_WPN_SLOTS];        // weapon slots (weapon-file reader, flight model)
    uint8_t acf_reserved[ACF_WPN_SLOT_SIZE];            // reserved, zero
};

// Offsets of the file image.
static_assert(offsetof(acf_struct, acf_byte_order) == 0);
static_assert(offsetof(acf_struct, acf_file_name) == 4);
static_assert(offsetof(acf_struct, acf_file_path) == 504);
static_assert(offsetof(acf_struct, acf_tailnum) == 1004);
static_assert(offsetof(acf_struct, acf_author) == 1044);
static_assert(offsetof(acf_struct, acf_descrip) == 1544);
static_assert(offsetof(acf_struct, acf_Vmca) == 2044);
static_assert(offsetof(acf_struct, acf_Vso) == 2048);
static_assert(offsetof(acf_struct, acf_Vs) == 2052);
static_assert(offsetof(acf_struct, acf_Vyse) == 2056);
static_assert(offsetof(acf_struct, acf_Vfe) == 2060);
static_assert(offsetof(acf_struct, acf_Vle) == 2064);
static_assert(offsetof(acf_struct, acf_Vno) == 2068);
static_assert(offsetof(acf_struct, acf_Vne) == 2072);
static_assert(offsetof(acf_struct, acf_Mmo) == 2076);
static_assert(offsetof(acf_struct, acf_Gneg) == 2080);
static_assert(offsetof(acf_struct, acf_Gpos) == 2084);
static_assert(offsetof(acf_struct, acf_has_navlites) == 2088);
static_assert(offsetof(acf_struct, acf_peX) == 2092);
static_assert(offsetof(acf_struct, acf_peY) == 2096);
static_assert(offsetof(acf_struct, acf_peZ) == 2100);
static_assert(offsetof(acf_struct, acf_has_lanlite1) == 2104);
static_assert(offsetof(acf_struct, acf_lanlite1X) == 2108);
static_assert(offsetof(acf_struct, acf_lanlite1Y) == 2112);
static_assert(offsetof(acf_struct, acf_lanlite1Z) == 2116);
static_assert(offsetof(acf_struct, acf_has_lanlite2) == 2120);
static_assert(offsetof(acf_struct, acf_lanlite2X) == 2124);
static_assert(offsetof(acf_struct, acf_lanlite2Y) == 2128);
static_assert(offsetof(acf_struct, acf_lanlite2Z) == 2132);
static_assert(offsetof(acf_struct, acf_has_lanlite3) == 2136);
static_assert(offsetof(acf_struct, acf_lanlite3X) == 2140);
static_assert(offsetof(acf_struct, acf_lanlite3Y) == 2144);
static_assert(offsetof(acf_struct, acf_lanlite3Z) == 2148);
static_assert(offsetof(acf_struct, acf_has_fuserb1) == 2152);
static_assert(offsetof(acf_struct, acf_fuserb1X) == 2156);
static_assert(offsetof(acf_struct, acf_fuserb1Y) == 2160);
static_assert(offsetof(acf_struct, acf_fuserb1Z) == 2164);
static_assert(offsetof(acf_struct, acf_has_fuserb2) == 2168);
static_assert(offsetof(acf_struct, acf_fuserb2X) == 2172);
static_assert(offsetof(acf_struct, acf_fuserb2Y) == 2176);
static_assert(offsetof(acf_struct, acf_fuserb2Z) == 2180);
static_assert(offsetof(acf_struct, acf_has_taillite) == 2184);
static_assert(offsetof(acf_struct, acf_tailliteX) == 2188);
static_assert(offsetof(acf_struct, acf_tailliteY) == 2192);
static_assert(offsetof(acf_struct, acf_tailliteZ) == 2196);
static_assert(offsetof(acf_struct, acf_has_refuel) == 2200);
static_assert(offsetof(acf_struct, acf_refuel_X) == 2204);
static_assert(offsetof(acf_struct, acf_refuel_Y) == 2208);
static_assert(offsetof(acf_struct, acf_refuel_Z) == 2212);
static_assert(offsetof(acf_struct, acf_yawstringx) == 2216);
static_assert(offsetof(acf_struct, acf_yawstringy) == 2220);
static_assert(offsetof(acf_struct, acf_HUD_cntrx) == 2224);
static_assert(offsetof(acf_struct, acf_HUD_cntry) == 2228);
static_assert(offsetof(acf_struct, acf_HUD_delx) == 2232);
static_assert(offsetof(acf_struct, acf_HUD_dely) == 2236);
static_assert(offsetof(acf_struct, acf_unpub_2240) == 2240);
static_assert(offsetof(acf_struct, acf_unpub_2244) == 2244);
static_assert(offsetof(acf_struct, acf_unpub_2248) == 2248);
static_assert(offsetof(acf_struct, acf_lanlite_the) == 2252);
static_assert(offsetof(acf_struct, acf_stall_warn_alpha) == 2256);
static_assert(offsetof(acf_struct, acf_tow_hook_Y) == 2260);
static_assert(offsetof(acf_struct, acf_tow_hook_Z) == 2264);
static_assert(offsetof(acf_struct, acf_win_hook_Y) == 2268);
static_assert(offsetof(acf_struct, acf_win_hook_Z) == 2272);
static_assert(offsetof(acf_struct, acf_unpub_2276) == 2276);
static_assert(offsetof(acf_struct, acf_cockpit_type) == 2280);
static_assert(offsetof(acf_struct, acf_asi_kts) == 2284);
static_assert(offsetof(acf_struct, acf_warn1EQ) == 2288);
static_assert(offsetof(acf_struct, acf_warn2EQ) == 2292);
static_assert(offsetof(acf_struct, acf_is_glossy) == 2296);
static_assert(offsetof(acf_struct, acf_draw_geo_frnt_views) == 2300);
static_assert(offsetof(acf_struct, acf_draw_geo_side_views) == 2304);
static_assert(offsetof(acf_struct, acf_ins_type) == 2308);
static_assert(offsetof(acf_struct, acf_ins_size) == 3108);
static_assert(offsetof(acf_struct, acf_ins_x) == 3908);
static_assert(offsetof(acf_struct, acf_ins_y) == 4708);
static_assert(offsetof(acf_struct, acf_ins_delx) == 5508);
static_assert(offsetof(acf_struct, acf_ins_dely) == 6308);
static_assert(offsetof(acf_struct, acf_cus_rnd_use) == 7108);
static_assert(offsetof(acf_struct, acf_cus_rnd_lo_val) == 7308);
static_assert(offsetof(acf_struct, acf_cus_rnd_hi_val) == 7508);
static_assert(offsetof(acf_struct, acf_cus_rnd_lo_ang) == 7708);
static_assert(offsetof(acf_struct, acf_cus_rnd_hi_ang) == 7908);
static_assert(offsetof(acf_struct, acf_cus_rnd_mirror) == 8108);
static_assert(offsetof(acf_struct, acf_cus_rnd_label) == 8308);
static_assert(offsetof(acf_struct, acf_cus_dig_use) == 8508);
static_assert(offsetof(acf_struct, acf_cus_dig_offset) == 8708);
static_assert(offsetof(acf_struct, acf_cus_dig_scale) == 8908);
static_assert(offsetof(acf_struct, acf_cus_dig_dig) == 9108);
static_assert(offsetof(acf_struct, acf_cus_dig_dec) == 9308);
static_assert(offsetof(acf_struct, acf_num_engines) == 9508);
static_assert(offsetof(acf_struct, acf_num_thrustpoints) == 9512);
static_assert(offsetof(acf_struct, acf_throtmax_FWD) == 9516);
static_assert(offsetof(acf_struct, acf_throtmax_REV) == 9520);
static_assert(offsetof(acf_struct, acf_idle_rat_lo) == 9524);
static_assert(offsetof(acf_struct, acf_idle_rat_hi) == 9528);
static_assert(offsetof(acf_struct, acf_props_linked) == 9532);
static_assert(offsetof(acf_struct, acf_has_beta) == 9536);
static_assert(offsetof(acf_struct, acf_auto_featherEQ) == 9540);
static_assert(offsetof(acf_struct, acf_revthrust_eq) == 9544);
static_assert(offsetof(acf_struct, acf_drive_by_wire) == 9548);
static_assert(offsetof(acf_struct, acf_feathered_pitch) == 9552);
static_assert(offsetof(acf_struct, acf_reversed_pitch) == 9556);
static_assert(offsetof(acf_struct, aacf_rotor_mi_rat) == 9560);
static_assert(offsetof(acf_struct, aacf_tip_weight) == 9564);
static_assert(offsetof(acf_struct, aacf_tip_mach_des_100) == 9568);
static_assert(offsetof(acf_struct, aacf_tip_mach_des_50) == 9572);
static_assert(offsetof(acf_struct, acf_pmax) == 9576);
static_assert(offsetof(acf_struct, acf_critalt) == 9580);
static_assert(offsetof(acf_struct, acf_mpmax) == 9584);
static_assert(offsetof(acf_struct, acf_trq_max_eng) == 9588);
static_assert(offsetof(acf_struct, acf_RSC_idlespeed_eng) == 9592);
static_assert(offsetof(acf_struct, acf_RSC_redline_eng) == 9596);
static_assert(offsetof(acf_struct, acf_RSC_idlespeed_prp) == 9600);
static_assert(offsetof(acf_struct, acf_RSC_redline_prp) == 9604);
static_assert(offsetof(acf_struct, acf_RSC_mingreen_eng) == 9608);
static_assert(offsetof(acf_struct, acf_RSC_maxgreen_eng) == 9612);
static_assert(offsetof(acf_struct, acf_RSC_mingreen_prp) == 9616);
static_assert(offsetof(acf_struct, acf_RSC_maxgreen_prp) == 9620);
static_assert(offsetof(acf_struct, acf_unpub_9624) == 9624);
static_assert(offsetof(acf_struct, acf_spooltime_prop) == 9628);
static_assert(offsetof(acf_struct, acf_friction_rat) == 9632);
static_assert(offsetof(acf_struct, acf_tmax) == 9636);
static_assert(offsetof(acf_struct, acf_burnerinc) == 9640);
static_assert(offsetof(acf_struct, acf_max_mach_eff) == 9644);
static_assert(offsetof(acf_struct, acf_face_jet) == 9648);
static_assert(offsetof(acf_struct, acf_spooltime_jet) == 9652);
static_assert(offsetof(acf_struct, acf_lift_fan_rat) == 9656);
static_assert(offsetof(acf_struct, acf_fmax_sl) == 9660);
static_assert(offsetof(acf_struct, acf_fmax_opt) == 9664);
static_assert(offsetof(acf_struct, acf_fmax_vac) == 9668);
static_assert(offsetof(acf_struct, acf_h_opt) == 9672);
static_assert(offsetof(acf_struct, acf_face_rocket) == 9676);
static_assert(offsetof(acf_struct, acf_en_type) == 9680);
static_assert(offsetof(acf_struct, acf_prop_type) == 9712);
static_assert(offsetof(acf_struct, acf_eng_mass) == 9744);
static_assert(offsetof(acf_struct, acf_eng_clutch) == 9776);
static_assert(offsetof(acf_struct, acf_prop_gear_rat) == 9808);
static_assert(offsetof(acf_struct, acf_gear_rat) == 9808);
static_assert(offsetof(acf_struct, acf_prop_dir) == 9840);
static_assert(offsetof(acf_struct, acf_num_blades) == 9872);
static_assert(offsetof(acf_struct, acf_SFC) == 9904);
static_assert(offsetof(acf_struct, acf_vertcant) == 9936);
static_assert(offsetof(acf_struct, acf_sidecant) == 9968);
static_assert(offsetof(acf_struct, acf_min_pitch) == 10000);
static_assert(offsetof(acf_struct, acf_max_pitch) == 10032);
static_assert(offsetof(acf_struct, acf_des_rpm_prp) == 10064);
static_assert(offsetof(acf_struct, acf_des_kts_prp) == 10096);
static_assert(offsetof(acf_struct, acf_des_kts_acf) == 10128);
static_assert(offsetof(acf_struct, acf_prop_mass) == 10160);
static_assert(offsetof(acf_struct, acf_miprop_rpm) == 10192);
static_assert(offsetof(acf_struct, acf_eng_inertia) == 10224);
static_assert(offsetof(acf_struct, acf_discarea) == 10256);
static_assert(offsetof(acf_struct, acf_ringarea) == 10288);
static_assert(offsetof(acf_struct, acf_bladesweep) == 10608);
static_assert(offsetof(acf_struct, acf_starter_torque_rat) == 10928);
static_assert(offsetof(acf_struct, acf_battery_cap) == 10932);
static_assert(offsetof(acf_struct, acf_ff_hydraulic) == 10936);
static_assert(offsetof(acf_struct, acf_ff_stickshaker) == 10940);
static_assert(offsetof(acf_struct, acf_hyd_min_authority) == 10944);
static_assert(offsetof(acf_struct, acf_max_press_diff) == 10948);
static_assert(offsetof(acf_struct, acf_part_eq) == 10952);
static_assert(offsetof(acf_struct, acf_Rafl0) == 11244);
static_assert(offsetof(acf_struct, acf_Rafl1) == 14164);
static_assert(offsetof(acf_struct, acf_Tafl0) == 17084);
static_assert(offsetof(acf_struct, acf_Tafl1) == 20004);
static_assert(offsetof(acf_struct, acf_els) == 22924);
static_assert(offsetof(acf_struct, acf_Xarm) == 23216);
static_assert(offsetof(acf_struct, acf_Yarm) == 23508);
static_assert(offsetof(acf_struct, acf_Zarm) == 23800);
static_assert(offsetof(acf_struct, acf_Croot) == 24092);
static_assert(offsetof(acf_struct, acf_Ctip) == 24384);
static_assert(offsetof(acf_struct, acf_semilen_SEG) == 24676);
static_assert(offsetof(acf_struct, acf_semilen_JND) == 24968);
static_assert(offsetof(acf_struct, acf_element_len) == 25260);
static_assert(offsetof(acf_struct, acf_X_body_aero) == 25552);
static_assert(offsetof(acf_struct, acf_Y_body_aero) == 25844);
static_assert(offsetof(acf_struct, acf_Z_body_aero) == 26136);
static_assert(offsetof(acf_struct, acf_dihed1) == 26428);
static_assert(offsetof(acf_struct, acf_dihed2) == 26720);
static_assert(offsetof(acf_struct, acf_dihednow) == 27012);
static_assert(offsetof(acf_struct, acf_dihed_var) == 27304);
static_assert(offsetof(acf_struct, acf_vardihedEQ) == 27596);
static_assert(offsetof(acf_struct, acf_sweep1) == 27600);
static_assert(offsetof(acf_struct, acf_sweep2) == 27892);
static_assert(offsetof(acf_struct, acf_sweepnow) == 28184);
static_assert(offsetof(acf_struct, acf_sweep_var) == 28476);
static_assert(offsetof(acf_struct, acf_varsweepEQ) == 28768);
static_assert(offsetof(acf_struct, acf_e) == 28772);
static_assert(offsetof(acf_struct, acf_AR) == 29064);
static_assert(offsetof(acf_struct, acf_al_D_al0) == 29356);
static_assert(offsetof(acf_struct, acf_cl_D_cl0) == 29648);
static_assert(offsetof(acf_struct, acf_cm_D_cm0) == 29940);
static_assert(offsetof(acf_struct, acf_delta_fac) == 30232);
static_assert(offsetof(acf_struct, acf_spec_wash) == 30524);
static_assert(offsetof(acf_struct, acf_alpha_max) == 30816);
static_assert(offsetof(acf_struct, acf_slat_effect) == 31108);
static_assert(offsetof(acf_struct, acf_s) == 31400);
static_assert(offsetof(acf_struct, acf_mac) == 34320);
static_assert(offsetof(acf_struct, acf_anginc) == 37240);
static_assert(offsetof(acf_struct, acf_ail1) == 40160);
static_assert(offsetof(acf_struct, acf_ail1_el_first) == 43080);
static_assert(offsetof(acf_struct, acf_ail1_el_end) == 43372);
static_assert(offsetof(acf_struct, acf_ail1_crat) == 43664);
static_assert(offsetof(acf_struct, acf_ail1_crat2) == 43668);
static_assert(offsetof(acf_struct, acf_ail1_up) == 43672);
static_assert(offsetof(acf_struct, acf_ail1_dn) == 43676);
static_assert(offsetof(acf_struct, acf_ail2) == 43680);
static_assert(offsetof(acf_struct, acf_ail2_el_first) == 46600);
static_assert(offsetof(acf_struct, acf_ail2_el_end) == 46892);
static_assert(offsetof(acf_struct, acf_ail2_crat) == 47184);
static_assert(offsetof(acf_struct, acf_ail2_crat2) == 47188);
static_assert(offsetof(acf_struct, acf_ail2_up) == 47192);
static_assert(offsetof(acf_struct, acf_ail2_dn) == 47196);
static_assert(offsetof(acf_struct, acf_elev) == 47200);
static_assert(offsetof(acf_struct, acf_elev_el_first) == 50120);
static_assert(offsetof(acf_struct, acf_elev_el_end) == 50412);
static_assert(offsetof(acf_struct, acf_elev_crat) == 50704);
static_assert(offsetof(acf_struct, acf_elev_crat2) == 50708);
static_assert(offsetof(acf_struct, acf_elev_up) == 50712);
static_assert(offsetof(acf_struct, acf_elev_dn) == 50716);
static_assert(offsetof(acf_struct, acf_rudd) == 50720);
static_assert(offsetof(acf_struct, acf_rudd_el_first) == 53640);
static_assert(offsetof(acf_struct, acf_rudd_el_end) == 53932);
static_assert(offsetof(acf_struct, acf_rudd_crat) == 54224);
static_assert(offsetof(acf_struct, acf_rudd_crat2) == 54228);
static_assert(offsetof(acf_struct, acf_rudd_lr) == 54232);
static_assert(offsetof(acf_struct, acf_splr) == 54236);
static_assert(offsetof(acf_struct, acf_splr_el_first) == 57156);
static_assert(offsetof(acf_struct, acf_splr_el_end) == 57448);
static_assert(offsetof(acf_struct, acf_splr_crat) == 57740);
static_assert(offsetof(acf_struct, acf_splr_crat2) == 57744);
static_assert(offsetof(acf_struct, acf_splr_up) == 57748);
static_assert(offsetof(acf_struct, acf_drud) == 57752);
static_assert(offsetof(acf_struct, acf_drud_el_first) == 60672);
static_assert(offsetof(acf_struct, acf_drud_el_end) == 60964);
static_assert(offsetof(acf_struct, acf_drud_crat) == 61256);
static_assert(offsetof(acf_struct, acf_drud_crat2) == 61260);
static_assert(offsetof(acf_struct, acf_drud_up) == 61264);
static_assert(offsetof(acf_struct, acf_sbrk) == 61268);
static_assert(offsetof(acf_struct, acf_sbrk_el_first) == 64188);
static_assert(offsetof(acf_struct, acf_sbrk_el_end) == 64480);
static_assert(offsetof(acf_struct, acf_sbrk_crat) == 64772);
static_assert(offsetof(acf_struct, acf_sbrk_crat2) == 64776);
static_assert(offsetof(acf_struct, acf_sbrk_up) == 64780);
static_assert(offsetof(acf_struct, acf_sbrkEQ) == 64784);
static_assert(offsetof(acf_struct, acf_flap) == 64788);
static_assert(offsetof(acf_struct, acf_flap_el_first) == 67708);
static_assert(offsetof(acf_struct, acf_flap_el_end) == 68000);
static_assert(offsetof(acf_struct, acf_flap_crat) == 68292);
static_assert(offsetof(acf_struct, acf_flap_crat2) == 68296);
static_assert(offsetof(acf_struct, acf_flap_dn) == 68300);
static_assert(offsetof(acf_struct, acf_flapEQ) == 68332);
static_assert(offsetof(acf_struct, acf_slat) == 68336);
static_assert(offsetof(acf_struct, acf_slat_inc) == 71256);
static_assert(offsetof(acf_struct, acf_slatEQ) == 71260);
static_assert(offsetof(acf_struct, acf_inc_ail) == 71264);
static_assert(offsetof(acf_struct, acf_inc_ail2) == 74184);
static_assert(offsetof(acf_struct, acf_inc_elev) == 77104);
static_assert(offsetof(acf_struct, acf_inc_rudd) == 80024);
static_assert(offsetof(acf_struct, acf_inc_vec) == 82944);
static_assert(offsetof(acf_struct, acf_inc_trim) == 85864);
static_assert(offsetof(acf_struct, acf_in_downwash) == 88784);
static_assert(offsetof(acf_struct, acf_body_r) == 301944);
static_assert(offsetof(acf_struct, acf_body_X) == 302236);
static_assert(offsetof(acf_struct, acf_body_Y) == 407356);
static_assert(offsetof(acf_struct, acf_body_Z) == 512476);
static_assert(offsetof(acf_struct, acf_gear_type) == 617596);
static_assert(offsetof(acf_struct, acf_gear_latE) == 617888);
static_assert(offsetof(acf_struct, acf_gear_lonE) == 618180);
static_assert(offsetof(acf_struct, acf_gear_axiE) == 618472);
static_assert(offsetof(acf_struct, acf_gear_latR) == 618764);
static_assert(offsetof(acf_struct, acf_gear_lonR) == 619056);
static_assert(offsetof(acf_struct, acf_gear_axiR) == 619348);
static_assert(offsetof(acf_struct, acf_gear_latN) == 619640);
static_assert(offsetof(acf_struct, acf_gear_lonN) == 619932);
static_assert(offsetof(acf_struct, acf_gear_axiN) == 620224);
static_assert(offsetof(acf_struct, acf_gear_xnodef) == 620516);
static_assert(offsetof(acf_struct, acf_gear_ynodef) == 620808);
static_assert(offsetof(acf_struct, acf_gear_znodef) == 621100);
static_assert(offsetof(acf_struct, acf_gear_leglen) == 621392);
static_assert(offsetof(acf_struct, acf_gear_tirrad) == 621684);
static_assert(offsetof(acf_struct, acf_gear_tirwid) == 621976);
static_assert(offsetof(acf_struct, acf_gearcon) == 622268);
static_assert(offsetof(acf_struct, acf_geardmp) == 622560);
static_assert(offsetof(acf_struct, acf_gear_deploy) == 622852);
static_assert(offsetof(acf_struct, acf_gearstatdef) == 623144);
static_assert(offsetof(acf_struct, acf_gear_def) == 623436);
static_assert(offsetof(acf_struct, acf_gear_steers) == 623728);
static_assert(offsetof(acf_struct, acf_gear_cyc_time) == 624020);
static_assert(offsetof(acf_struct, acf_fuse_cd) == 624312);
static_assert(offsetof(acf_struct, acf_hstb_trim_up) == 624316);
static_assert(offsetof(acf_struct, acf_hstb_trim_dn) == 624320);
static_assert(offsetof(acf_struct, acf_flap_type) == 624324);
static_assert(offsetof(acf_struct, acf_con_smooth) == 624328);
static_assert(offsetof(acf_struct, acf_flap_detents) == 624332);
static_assert(offsetof(acf_struct, acf_flap_deftime) == 624336);
static_assert(offsetof(acf_struct, acf_flap_cl) == 624340);
static_assert(offsetof(acf_struct, acf_flap_cd) == 624344);
static_assert(offsetof(acf_struct, acf_flap_cm) == 624348);
static_assert(offsetof(acf_struct, acf_blown_flap_add_speed) == 624352);
static_assert(offsetof(acf_struct, acf_blown_flap_throt_red) == 624356);
static_assert(offsetof(acf_struct, acf_blown_flap_min_engag) == 624360);
static_assert(offsetof(acf_struct, acf_blow_all_controls) == 624364);
static_assert(offsetof(acf_struct, acf_gear_retract) == 624368);
static_assert(offsetof(acf_struct, acf_nw_steerdeg1) == 624372);
static_assert(offsetof(acf_struct, acf_nw_steerdeg2) == 624376);
static_assert(offsetof(acf_struct, acf_nw_cutoff_speed) == 624380);
static_assert(offsetof(acf_struct, acf_nosewheel_k) == 624384);
static_assert(offsetof(acf_struct, acf_gear_door_size) == 624388);
static_assert(offsetof(acf_struct, acf_water_rud_longarm) == 624392);
static_assert(offsetof(acf_struct, acf_water_rud_area) == 624396);
static_assert(offsetof(acf_struct, acf_water_rud_maxdef) == 624400);
static_assert(offsetof(acf_struct, acf_roll_co) == 624404);
static_assert(offsetof(acf_struct, acf_brake_co) == 624408);
static_assert(offsetof(acf_struct, acf_gear_door_typ) == 624412);
static_assert(offsetof(acf_struct, acf_gear_door_loc) == 624452);
static_assert(offsetof(acf_struct, acf_gear_door_geo) == 624572);
static_assert(offsetof(acf_struct, acf_gear_door_axi_rot) == 625052);
static_assert(offsetof(acf_struct, acf_gear_door_ext_ang) == 625092);
static_assert(offsetof(acf_struct, acf_gear_door_ret_ang) == 625132);
static_assert(offsetof(acf_struct, acf_gear_door_ang_now) == 625172);
static_assert(offsetof(acf_struct, acf_cgY) == 625212);
static_assert(offsetof(acf_struct, acf_cgZ) == 625216);
static_assert(offsetof(acf_struct, acf_cgZ_fwd) == 625220);
static_assert(offsetof(acf_struct, acf_cgZ_aft) == 625224);
static_assert(offsetof(acf_struct, acf_m_empty) == 625228);
static_assert(offsetof(acf_struct, acf_m_fuel_tot) == 625232);
static_assert(offsetof(acf_struct, acf_m_jettison) == 625236);
static_assert(offsetof(acf_struct, acf_m_max) == 625240);
static_assert(offsetof(acf_struct, acf_m_displaced) == 625244);
static_assert(offsetof(acf_struct, acf_Jxx_unitmass) == 625248);
static_assert(offsetof(acf_struct, acf_Jyy_unitmass) == 625252);
static_assert(offsetof(acf_struct, acf_Jzz_unitmass) == 625256);
static_assert(offsetof(acf_struct, acf_num_tanks) == 625260);
static_assert(offsetof(acf_struct, acf_tank_rat) == 625264);
static_assert(offsetof(acf_struct, acf_tank_X) == 625276);
static_assert(offsetof(acf_struct, acf_tank_Y) == 625288);
static_assert(offsetof(acf_struct, acf_tank_Z) == 625300);
static_assert(offsetof(acf_struct, acf_jett_is_slung) == 625312);
static_assert(offsetof(acf_struct, jett_len) == 625316);
static_assert(offsetof(acf_struct, acf_unpub_625320) == 625320);
static_assert(offsetof(acf_struct, jett_X) == 625324);
static_assert(offsetof(acf_struct, jett_Y) == 625328);
static_assert(offsetof(acf_struct, jett_Z) == 625332);
static_assert(offsetof(acf_struct, acf_flap_roll) == 625336);
static_assert(offsetof(acf_struct, acf_flap_ptch) == 625340);
static_assert(offsetof(acf_struct, acf_mass_shift) == 625344);
static_assert(offsetof(acf_struct, acf_mass_shift_dx) == 625348);
static_assert(offsetof(acf_struct, acf_mass_shift_dz) == 625352);
static_assert(offsetof(acf_struct, acf_wing_tilt_ptch) == 625356);
static_assert(offsetof(acf_struct, acf_wing_tilt_roll) == 625360);
static_assert(offsetof(acf_struct, acf_tvec_ptch) == 625364);
static_assert(offsetof(acf_struct, acf_tvec_roll) == 625368);
static_assert(offsetof(acf_struct, acf_tvec_hdng) == 625372);
static_assert(offsetof(acf_struct, acf_jato_Y) == 625376);
static_assert(offsetof(acf_struct, acf_jato_Z) == 625380);
static_assert(offsetof(acf_struct, acf_jato_theta) == 625384);
static_assert(offsetof(acf_struct, acf_jato_thrust) == 625388);
static_assert(offsetof(acf_struct, acf_jato_dur) == 625392);
static_assert(offsetof(acf_struct, acf_jato_sfc) == 625396);
static_assert(offsetof(acf_struct, acf_stabroll) == 625400);
static_assert(offsetof(acf_struct, acf_stabhdng) == 625404);
static_assert(offsetof(acf_struct, acf_elevflaps) == 625408);
static_assert(offsetof(acf_struct, acf_ail1pitch) == 625412);
static_assert(offsetof(acf_struct, acf_ail1flaps) == 625416);
static_assert(offsetof(acf_struct, acf_ail2pitch) == 625420);
static_assert(offsetof(acf_struct, acf_ail2flaps) == 625424);
static_assert(offsetof(acf_struct, acf_ail2vmax) == 625428);
static_assert(offsetof(acf_struct, acf_diff_thro_with_hdng) == 625432);
static_assert(offsetof(acf_struct, acf_phase_tvect_out_at_90) == 625436);
static_assert(offsetof(acf_struct, acf_phase_tvect_out_at_00) == 625440);
static_assert(offsetof(acf_struct, acf_autosbrkEQ) == 625444);
static_assert(offsetof(acf_struct, acf_autofbrkEQ) == 625448);
static_assert(offsetof(acf_struct, acf_autosweepEQ) == 625452);
static_assert(offsetof(acf_struct, acf_flaps_with_gearEQ) == 625456);
static_assert(offsetof(acf_struct, acf_autoslatEQ) == 625460);
static_assert(offsetof(acf_struct, acf_antiiceEQ) == 625464);
static_assert(offsetof(acf_struct, acf_arrestingEQ) == 625468);
static_assert(offsetof(acf_struct, acf_rev_on_touchdown) == 625472);
static_assert(offsetof(acf_struct, acf_gearhornEQ) == 625476);
static_assert(offsetof(acf_struct, acf_unpub_625480) == 625480);
static_assert(offsetof(acf_struct, acf_auto_trimEQ) == 625484);
static_assert(offsetof(acf_struct, acf_flaps_with_vecEQ) == 625488);
static_assert(offsetof(acf_struct, acf_brake_area) == 625492);
static_assert(offsetof(acf_struct, acf_brake_Y) == 625496);
static_assert(offsetof(acf_struct, acf_brake_Z) == 625500);
static_assert(offsetof(acf_struct, acf_chute_area) == 625504);
static_assert(offsetof(acf_struct, acf_chute_Y) == 625508);
static_assert(offsetof(acf_struct, acf_chute_Z) == 625512);
static_assert(offsetof(acf_struct, acf_vectEQ) == 625516);
static_assert(offsetof(acf_struct, acf_auto_rpm_with_tvec) == 625520);
static_assert(offsetof(acf_struct, acf_hide_prop_at_90_vect) == 625524);
static_assert(offsetof(acf_struct, acf_vect_rate) == 625528);
static_assert(offsetof(acf_struct, acf_flap_vect_lo) == 625532);
static_assert(offsetof(acf_struct, acf_flap_vect_hi) == 625536);
static_assert(offsetof(acf_struct, acf_vectarmY) == 625540);
static_assert(offsetof(acf_struct, acf_vectarmZ) == 625544);
static_assert(offsetof(acf_struct, acf_cyclic_elev) == 625548);
static_assert(offsetof(acf_struct, acf_cyclic_ailn) == 625552);
static_assert(offsetof(acf_struct, acf_flap_arm) == 625556);
static_assert(offsetof(acf_struct, acf_delta3) == 625560);
static_assert(offsetof(acf_struct, acf_puffL) == 625564);
static_assert(offsetof(acf_struct, acf_puffM) == 625568);
static_assert(offsetof(acf_struct, acf_puffN) == 625572);
static_assert(offsetof(acf_struct, acf_puffX) == 625576);
static_assert(offsetof(acf_struct, acf_puffY) == 625580);
static_assert(offsetof(acf_struct, acf_puffZ) == 625584);
static_assert(offsetof(acf_struct, acf_stab_delinc_to_Vne) == 625588);
static_assert(offsetof(acf_struct, acf_tail_with_coll) == 625592);
static_assert(offsetof(acf_struct, acf_diff_coll_with_roll) == 625596);
static_assert(offsetof(acf_struct, acf_diff_coll_with_hdng) == 625600);
static_assert(offsetof(acf_struct, acf_diff_coll_with_ptch) == 625604);
static_assert(offsetof(acf_struct, acf_diff_cycl_with_hdng_lon) == 625608);
static_assert(offsetof(acf_struct, acf_diff_cycl_with_hdng_lat) == 625612);
static_assert(offsetof(acf_struct, acf_rotor_trim_max_fwd) == 625616);
static_assert(offsetof(acf_struct, acf_rotor_trim_max_aft) == 625620);
static_assert(offsetof(acf_struct, acf_AShiV_old) == 625624);
static_assert(offsetof(acf_struct, acf_ASloV_old) == 625628);
static_assert(offsetof(acf_struct, acf_ASmaxp_lo) == 625632);
static_assert(offsetof(acf_struct, acf_ASp_lo_rate) == 625636);
static_assert(offsetof(acf_struct, acf_ASmaxh_lo) == 625640);
static_assert(offsetof(acf_struct, acf_ASh_lo_rate) == 625644);
static_assert(offsetof(acf_struct, acf_ASmaxr_lo) == 625648);
static_assert(offsetof(acf_struct, acf_ASr_lo_rate) == 625652);
static_assert(offsetof(acf_struct, acf_ASmaxg_hi) == 625656);
static_assert(offsetof(acf_struct, acf_ASg_hi_pos) == 625660);
static_assert(offsetof(acf_struct, acf_ASg_hi_rate) == 625664);
static_assert(offsetof(acf_struct, acf_ASmaxp_hi) == 625668);
static_assert(offsetof(acf_struct, acf_ASp_hi_pos) == 625672);
static_assert(offsetof(acf_struct, acf_ASp_hi_rate) == 625676);
static_assert(offsetof(acf_struct, acf_ASmaxh_hi) == 625680);
static_assert(offsetof(acf_struct, acf_ASh_hi_pos) == 625684);
static_assert(offsetof(acf_struct, acf_ASh_hi_rate) == 625688);
static_assert(offsetof(acf_struct, acf_ASmaxr_hi) == 625692);
static_assert(offsetof(acf_struct, acf_ASr_hi_rate) == 625696);
static_assert(offsetof(acf_struct, wpn_name) == 625700);
static_assert(offsetof(acf_struct, acf_Xwpn_att) == 637700);
static_assert(offsetof(acf_struct, acf_Ywpn_att) == 637796);
static_assert(offsetof(acf_struct, acf_Zwpn_att) == 637892);
static_assert(offsetof(acf_struct, acf_est_Vs) == 637988);
static_assert(offsetof(acf_struct, acf_size_x) == 637992);
static_assert(offsetof(acf_struct, acf_size_z) == 637996);
static_assert(offsetof(acf_struct, acf_tire_contact_area) == 638000);
static_assert(offsetof(acf_struct, acf_m_displaced_y) == 638004);
static_assert(offsetof(acf_struct, acf_h_eqlbm) == 638008);
static_assert(offsetof(acf_struct, acf_the_eqlbm) == 638012);
static_assert(offsetof(acf_struct, acf_is_taildragger) == 638016);
static_assert(offsetof(acf_struct, acf_gear_is_skid) == 638020);
static_assert(offsetof(acf_struct, acf_hybrid_gear) == 638024);
static_assert(offsetof(acf_struct, acf_has_nav) == 638028);
static_assert(offsetof(acf_struct, acf_has_radar) == 638052);
static_assert(offsetof(acf_struct, acf_has_SC_fd) == 638056);
static_assert(offsetof(acf_struct, acf_has_DC_fd) == 638060);
static_assert(offsetof(acf_struct, acf_has_stallwarn) == 638064);
static_assert(offsetof(acf_struct, acf_has_clutch) == 638068);
static_assert(offsetof(acf_struct, acf_no_fadec) == 638072);
static_assert(offsetof(acf_struct, acf_has_idlespeed) == 638076);
static_assert(offsetof(acf_struct, acf_force_fadec) == 638080);
static_assert(offsetof(acf_struct, acf_has_litemap_tex) == 638084);
static_assert(offsetof(acf_struct, acf_has_prop_type5) == 638088);
static_assert(offsetof(acf_struct, acf_has_collective_rotor) == 638092);
static_assert(offsetof(acf_struct, acf_unpub_638096) == 638096);
static_assert(offsetof(acf_struct, acf_unpub_638100) == 638100);
static_assert(offsetof(acf_struct, acf_unpub_638104) == 638104);
static_assert(offsetof(acf_struct, acf_unpub_638108) == 638108);
static_assert(offsetof(acf_struct, acf_taper) == 638112);
static_assert(offsetof(acf_struct, acf_trq_per_speed) == 638404);
static_assert(offsetof(acf_struct, acf_critalt_boost_pa) == 638436);
static_assert(offsetof(acf_struct, acf_is_general_aviation) == 638440);
static_assert(offsetof(acf_struct, acf_is_heavy_metal) == 638441);
static_assert(offsetof(acf_struct, acf_unpub_638444) == 638444);
static_assert(offsetof(acf_struct, acf_sweep_extra) == 638696);
static_assert(offsetof(acf_struct, acf_sweep_extraEQ) == 638988);
static_assert(offsetof(acf_struct, acf_roll_yaw_link) == 638992);
static_assert(offsetof(acf_struct, acf_unpub_638996) == 638996);
static_assert(offsetof(acf_struct, acf_part_is_left) == 639288);
static_assert(offsetof(acf_struct, acf_side_sign) == 639580);
static_assert(offsetof(acf_struct, acf_unpub_639872) == 639872);
static_assert(offsetof(acf_struct, acf_collective_rotor_index) == 639876);
static_assert(offsetof(acf_struct, acf_vect_cant) == 639880);
static_assert(offsetof(acf_struct, thrust_vector_angle) == 639880);
static_assert(offsetof(acf_struct, acf_unpub_639912) == 639912);
static_assert(offsetof(acf_struct, acf_tvec_roll_at_90) == 639920);
static_assert(offsetof(acf_struct, acf_tvec_roll_at_00) == 639924);
static_assert(offsetof(acf_struct, acf_tvec_hdng_at_90) == 639928);
static_assert(offsetof(acf_struct, acf_tvec_hdng_at_00) == 639932);
static_assert(offsetof(acf_struct, acf_ap_keep_speed) == 639936);
static_assert(offsetof(acf_struct, acf_ap_keep_heading) == 639940);
static_assert(offsetof(acf_struct, acf_ap_keep_altitude) == 639944);
static_assert(offsetof(acf_struct, acf_ASloV) == 639948);
static_assert(offsetof(acf_struct, acf_ASloV_yaw) == 639952);
static_assert(offsetof(acf_struct, acf_ASloV_roll) == 639956);
static_assert(offsetof(acf_struct, acf_AShiV) == 639960);
static_assert(offsetof(acf_struct, acf_AShiV_yaw) == 639964);
static_assert(offsetof(acf_struct, acf_AShiV_roll) == 639968);
static_assert(offsetof(acf_struct, acf_splr_vmax) == 639972);
static_assert(offsetof(acf_struct, acf_unpub_639976) == 639976);
static_assert(offsetof(acf_struct, acf_elv_trim_dn) == 639980);
static_assert(offsetof(acf_struct, acf_elv_trim_up) == 639984);
static_assert(offsetof(acf_struct, acf_ail_trim_lt) == 639988);
static_assert(offsetof(acf_struct, acf_ail_trim_rt) == 639992);
static_assert(offsetof(acf_struct, acf_rud_trim_lt) == 639996);
static_assert(offsetof(acf_struct, acf_rud_trim_rt) == 640000);
static_assert(offsetof(acf_struct, acf_unpub_640004) == 640004);
static_assert(offsetof(acf_struct, acf_panel_flag_51_52) == 640008);
static_assert(offsetof(acf_struct, acf_has_varinc) == 640012);
static_assert(offsetof(acf_struct, acf_varinc) == 640304);
static_assert(offsetof(acf_struct, varinc_now) == 640596);
static_assert(offsetof(acf_struct, acf_gear_retract_len) == 640888);
static_assert(offsetof(acf_struct, acf_diff_thro_with_ptch) == 641180);
static_assert(offsetof(acf_struct, acf_diff_thro_with_roll) == 641184);
static_assert(offsetof(acf_struct, acf_unpub_641188) == 641188);
static_assert(offsetof(acf_struct, acf_trq_max_prp) == 9588);
static_assert(offsetof(acf_struct, acf_part_left) == 639288);
static_assert(offsetof(acf_struct, acf_elv_trim_neg_lim) == 639980);
static_assert(offsetof(acf_struct, acf_elv_trim_pos_lim) == 639984);
static_assert(offsetof(acf_struct, acf_ail_trim_neg_lim) == 639988);
static_assert(offsetof(acf_struct, acf_ail_trim_pos_lim) == 639992);
static_assert(offsetof(acf_struct, acf_rud_trim_neg_lim) == 639996);
static_assert(offsetof(acf_struct, acf_rud_trim_pos_lim) == 640000);

static_assert(sizeof(acf_struct) == ACF_RECORD_SIZE);
static_assert(offsetof(acf_struct, acf_draw_geo) == ACF_FILE_IMAGE_SIZE);
static_assert(offsetof(acf_struct, afl) == AFL_BLOCKS_OFFSET);
static_assert(offsetof(acf_struct, acf_wpn_slot) == 3147676);
static_assert(sizeof(wpn_slot_record) == ACF_WPN_SLOT_SIZE);
static_assert(offsetof(acf_struct, acf_reserved) == 3377020);
static_assert(ACF_RECORD_SIZE % 4 == 0 && ACF_FILE_IMAGE_SIZE % 4 == 0);

// Further names the published data table gives to entries of the arrays above.
constexpr int ACF_SWEEPNOW_WING_SWEEP1 = 16;   // wing_sweep1 = acf_sweepnow[16]
constexpr int ACF_SWEEPNOW_WING_SWEEP2 = 8;    // wing_sweep2 = acf_sweepnow[8]
constexpr int ACF_SWEEPNOW_WING_SWEEP3 = 10;   // wing_sweep3 = acf_sweepnow[10]
constexpr int ACF_SWEEPNOW_TVECT = 12;         // tvect = acf_sweepnow[12]
constexpr int ACF_GEAR_DEF_GEAR1 = 52;         // gear1def..gear5def = acf_gear_def[52..56]
// has_radar (published as a float) is the word of acf_has_radar.
static_assert(offsetof(acf_struct, acf_sweepnow) + 4 * ACF_SWEEPNOW_WING_SWEEP1 == 28248);
static_assert(offsetof(acf_struct, acf_sweepnow) + 4 * ACF_SWEEPNOW_WING_SWEEP2 == 28216);
static_assert(offsetof(acf_struct, acf_sweepnow) + 4 * ACF_SWEEPNOW_WING_SWEEP3 == 28224);
static_assert(offsetof(acf_struct, acf_sweepnow) + 4 * ACF_SWEEPNOW_TVECT == 28232);
static_assert(offsetof(acf_struct, acf_gear_def) + 4 * ACF_GEAR_DEF_GEAR1 == 623644);
static_assert(offsetof(acf_struct, acf_gear_def) + 4 * (ACF_GEAR_DEF_GEAR1 + 1) == 623648 &&
              offsetof(acf_struct, acf_gear_def) + 4 * (ACF_GEAR_DEF_GEAR1 + 2) == 623652 &&
              offsetof(acf_struct, acf_gear_def) + 4 * (ACF_GEAR_DEF_GEAR1 + 3) == 623656 &&
              offsetof(acf_struct, acf_gear_def) + 4 * (ACF_GEAR_DEF_GEAR1 + 4) == 623660);

// Element entry of element i of part p.
constexpr int ACF_el(int part, int element) { return part * ACF_ELS_PER_PART + element; }

// The aircraft records of the 10 plane slots (zero at start, kept until exit).
extern acf_struct pln[ACF_SLOTS];

// Engine-type queries on entry `engine` of acf_en_type of a slot's record
// (the types and their classes: core/engine_types.h). Out-of-range slot or
// engine indices give 0.
int ACF_engine_is_jet(int slot, int engine);     // ENGINE_type_is_jet
int ACF_engine_is_recip(int slot, int engine);   // ENGINE_type_is_piston
int ACF_engine_has_prop(int slot, int engine);   // ENGINE_type_drives_prop

// Whether part p of the aircraft in a slot takes part in the model: not when its
// failure entry is failed; for parts 0..7 by engine count, type and thrust
// points (and hidden when the engine's current cant is 90 degrees or more with
// acf_hide_prop_at_90_vect); for parts 8..72 by acf_part_eq.
int ACF_part_in_service(int slot, int part);
// The failure and cant tests of the rule alone (parts 0..7 and their failure
// entries), used where the engine-count test is not wanted.
int ACF_part_not_failed_or_hidden(int slot, int part);

