// The aircraft record: the description of one aircraft, one record for each
// plane slot in the global array `pln` (slot 0 is the user's aircraft).
//
// The first ACF_FILE_IMAGE_SIZE bytes of a record are, byte for byte, the body
// of a version-700 aircraft file, so every field below sits at a fixed offset
// (checked in aircraft/acf_layout_check.cpp). Every value is a 4-byte word
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
    union {  // the aircraft is a water bomber: its jettisonable load is water, dropped over time and scooped up
        int32_t acf_unpub_625320;           // 1 by default in conversion
        int32_t acf_jett_is_water;
    };
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
    union {  // three names of the same words (the stab trim's incidence reads it as its range)
        float acf_elv_trim_dn;
        float acf_elv_trim_neg_lim;
        float acf_trim_range_neg;
    };
    union {  // three names of the same words (the stab trim's incidence reads it as its range)
        float acf_elv_trim_up;
        float acf_elv_trim_pos_lim;
        float acf_trim_range_pos;
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
    uint8_t acf_draw_geo[ACF_DRAW_GEO_SIZE];           // drawing geometry (scene/aircraft/part_geometry.h)
    afl_block afl[AFL_PARTS];                          // airfoil blocks of parts 0..43
    wpn_slot_record acf_wpn_slot[ACF_WPN_SLOTS];        // weapon slots (weapon-file reader, flight model)
    uint8_t acf_reserved[ACF_WPN_SLOT_SIZE];            // reserved, zero
};

static_assert(sizeof(acf_struct) == ACF_RECORD_SIZE);
static_assert(sizeof(wpn_slot_record) == ACF_WPN_SLOT_SIZE);
static_assert(ACF_RECORD_SIZE % 4 == 0 && ACF_FILE_IMAGE_SIZE % 4 == 0);

// Further names the published data table gives to entries of the arrays above.
constexpr int ACF_SWEEPNOW_WING_SWEEP1 = 16;   // wing_sweep1 = acf_sweepnow[16]
constexpr int ACF_SWEEPNOW_WING_SWEEP2 = 8;    // wing_sweep2 = acf_sweepnow[8]
constexpr int ACF_SWEEPNOW_WING_SWEEP3 = 10;   // wing_sweep3 = acf_sweepnow[10]
constexpr int ACF_SWEEPNOW_TVECT = 12;         // tvect = acf_sweepnow[12]
constexpr int ACF_GEAR_DEF_GEAR1 = 52;         // gear1def..gear5def = acf_gear_def[52..56]
// has_radar (published as a float) is the word of acf_has_radar.

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

// Whether a part is present (fitted, not failed, not hidden) is the part
// presence rule, ACF_part_in_service (aircraft/part_presence.h).
