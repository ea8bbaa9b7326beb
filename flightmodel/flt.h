// The flight-model state record: everything that changes while a plane flies.
//
// One record per plane slot in the global array `flt` (slot 0 is the user's
// plane). The fields are 32-bit words (floats or ints) or arrays of them, plus
// three double-precision position words; they are stored in a fixed order
// because the published data names point at fixed places and several routines
// walk neighbouring fields as one run (checked in flt_layout_check.cpp).
//
// Two published names for the same words are expressed as anonymous unions of
// two arrays of the same type and count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/failure_slots.h"

constexpr int FLT_SLOTS = 10;           // plane slots, 0 = the user's plane
constexpr int FLT_PARTS = 73;           // aircraft parts (0..7 engines, 8..43 surfaces, 44.. bodies, 67..72 gear)
constexpr int FLT_ELEMENTS = 730;       // 73 parts x 10 elements
constexpr int FLT_ELEMENT_VALUES = 2920; // 730 elements x 4 values
constexpr int FLT_ENGINES = 8;          // engines, propellers, rotors
// The failure table's slots and states: core/failure_slots.h.

constexpr int FLT_FIRST_GEAR_PART = 67;
constexpr int FLT_GEAR_COUNT = 6;

struct flt_struct {
    // Controls.
    float FC_ptch;          // pitch control input      (sim/joystick)
    float FC_roll;          // roll control input
    float FC_hdng;          // yaw control input
    float sbrkrat;          // speed-brake ratio now
    float sbrkrqst;         // speed-brake request (negative = armed)
    union {  // two names of the same word: the thrust-vector setting reached, following vectrqst
        float vect_ratio;
        float vect_actual;
    };
    float vectrqst;         // thrust-vector request
    float swdi;             // variable sweep or dihedral ratio now
    float swdirqst;         // its request
    float flaprat;          // flap ratio now
    float flaprqst;         // flap request
    float slatrat;          // slat ratio now
    float slatrqst;         // slat request
    float ail_trim;         // aileron trim
    float elv_trim;         // elevator trim
    float rud_trim;         // rudder trim
    float rot_trim;         // rotor trim

    // Forces and moments.
    float faxil_prop, fside_prop, fnrml_prop;   // propulsive force, body axial, side, normal
    float faxil_aero, fside_aero, fnrml_aero;   // aerodynamic force
    float faxil_gear, fside_gear, fnrml_gear;   // gear force
    float M;                // pitching moment
    float N;                // yawing moment
    float L;                // rolling moment
    float P_dot, Q_dot, R_dot;   // roll, pitch, yaw acceleration
    float P, Q, R;               // roll, pitch, yaw rate, degrees/s
    float Prad, Qrad, Rrad;      // the same in rad/s
    float q[4];                  // attitude quaternion
    float theta;            // pitch, degrees
    float psi;              // true heading, degrees
    float phi;              // roll, degrees
    float vx_air_on_acf, vy_air_on_acf, vz_air_on_acf;   // air velocity relative to the plane, body axes
    float vx_acf_axis, vy_acf_axis, vz_acf_axis;         // plane velocity, body axes
    float Q_rotor_rad[FLT_ENGINES];
    float R_rotor_rad[FLT_ENGINES];

    // Position and velocity in the local frame (x east, y up, z south).
    float local_ax, local_ay, local_az;   // m/s^2
    float local_vx, local_vy, local_vz;   // m/s
    float vs;               // derived by the simulation's frame from local_vz
    float ve;               // derived by the simulation's frame from local_vx
    float vh_ind;           // vertical speed indication
    float local_x, local_y, local_z;      // m
    int32_t align_doubles_; // keeps the doubles on their natural 8-byte boundary
    double local_x_d, local_y_d, local_z_d;   // the integrator's double-precision position
    int32_t i;              // land-use grid row under the plane
    int32_t j;              // land-use grid column under the plane
    float alpha;            // angle of attack, degrees
    float beta;             // sideslip, degrees
    float hpath;            // track over ground, 0..360
    float vpath;            // flight-path angle
    float sin_theta, cos_theta;
    float track_sin, track_cos;
    float sin_phi, cos_phi;
    float sin_alpha, cos_alpha;
    float sin_beta, cos_beta;

    // Per-element and per-part aerodynamics.
    float v_el[FLT_ELEMENT_VALUES];
    float alpha_el[FLT_ELEMENT_VALUES];
    float downwash_deg[FLT_ELEMENTS];
    float propwash_rat[FLT_ELEMENTS];
    float del_dir[FLT_ELEMENT_VALUES];
    float CL_grndeffect[FLT_PARTS];
    float CD_grndeffect[FLT_PARTS];
    float Q_centroid_loc[292];
    float Q_centroid_MULT[292];   // published twice: misc (228) and parts (292)
    int32_t stalled[FLT_PARTS];
    float nrml_force[FLT_PARTS];
    float axil_force[FLT_PARTS];
    float force_XYZ[2190];
    int32_t tire_locked[FLT_PARTS];
    float tire_drag_dis[FLT_PARTS];
    float tire_speed_term[FLT_PARTS];
    float tire_speed_now[FLT_PARTS];
    float tire_prop_rot[FLT_PARTS];   // degrees 0..360: parts 0..7 propellers, 67..72 wheels

    // Control-surface deflections.
    float ail1_def[FLT_PARTS];
    float lail1def, rail1def;
    float ail2_def[FLT_PARTS];
    float lail2def, rail2def;
    float splr_def[FLT_PARTS];
    float lsplrdef, rsplrdef;
    float yawb_def[FLT_PARTS];
    float ldruddef, rdruddef;
    union { float elev_cont_def[FLT_PARTS]; float elev_trim_def[FLT_PARTS]; };
    union { float rudd_def[FLT_PARTS]; float rudd_cont_def[FLT_PARTS]; };
    float flap_def[FLT_PARTS];
    union { float foil_inc[FLT_PARTS]; float foil_swe[FLT_PARTS]; };
    float foil_dih[FLT_PARTS];
    float elem_inc[FLT_ELEMENTS];
    float foil_sin_dih[FLT_PARTS];
    float foil_cos_dih[FLT_PARTS];
    float foil_sin_swe[FLT_PARTS];
    float foil_cos_swe[FLT_PARTS];

    // Rotors.
    float cyclic_elev_command[FLT_ENGINES];
    float cyclic_ailn_command[FLT_ENGINES];
    float cyclic_elev_blad_alph[FLT_ENGINES];
    float cyclic_ailn_blad_alph[FLT_ENGINES];
    float cyclic_elev_disc_tilt[FLT_ENGINES];
    float cyclic_ailn_disc_tilt[FLT_ENGINES];
    float sidecant[FLT_ENGINES];   // disc tilt sideways, degrees
    float vertcant[FLT_ENGINES];   // disc tilt fore and aft, degrees
    float disc_ang[FLT_ENGINES];
    float DVinc[FLT_ENGINES];      // jet velocity increment
    float ringDVinc[80];           // 10 ring values per engine

    // Engines.
    float ENGN_thro[FLT_ENGINES];       // throttle lever
    float ENGN_thro_use[FLT_ENGINES];   // throttle applied
    float ENGN_prop[FLT_ENGINES];       // propeller control
    float ENGN_mixt[FLT_ENGINES];
    float ENGN_heat[FLT_ENGINES];
    float ENGN_cowl[FLT_ENGINES];
    int32_t ignition_on[FLT_ENGINES];   // sim/cockpit/engine/ignition_on
    int32_t ENGN_running[FLT_ENGINES];
    float ENGN_model_value[FLT_ENGINES];   // per-engine value of the engine model
    int32_t ENGN_burning[FLT_ENGINES];
    float ENGN_burnrat[FLT_ENGINES];
    int32_t ENGN_propmode[FLT_ENGINES];   // 3 = reverse
    float ENGN_N1_[FLT_ENGINES];
    float ENGN_MPR[FLT_ENGINES];
    float ENGN_EPR[FLT_ENGINES];
    float ENGN_TRQ[FLT_ENGINES];
    float ENGN_FF_[FLT_ENGINES];
    float ENGN_EGT[FLT_ENGINES];
    float ENGN_ITT[FLT_ENGINES];
    float ENGN_oil_quan[FLT_ENGINES];
    float ENGN_oil_press[FLT_ENGINES];
    float ENGN_oil_temp[FLT_ENGINES];
    float ENGN_gen_amp[FLT_ENGINES];
    float ENGN_bat_amp[FLT_ENGINES];
    float ENGN_bat_volt[FLT_ENGINES];
    float ENGN_mixt_pow_rat[FLT_ENGINES];
    float ENGN_sigma[FLT_ENGINES];
    float ENGN_crbice[FLT_ENGINES];
    union { float ENGN_oil_lube_rat[FLT_ENGINES]; float oil_power_thrust_ratio[FLT_ENGINES]; };
    float ENGN_power[FLT_ENGINES];
    float ENGN_tacrad[FLT_ENGINES];     // engine speed, rad/s
    float ENGN_omegadot[FLT_ENGINES];   // engine rotation acceleration (governor)
    float POINT_rock_TRQ[FLT_ENGINES];
    float POINT_drag_TRQ[FLT_ENGINES];
    float POINT_omegadot[FLT_ENGINES];
    float POINT_tacrad[FLT_ENGINES];    // rotor or propeller speed, rad/s
    float POINT_thrust[FLT_ENGINES];
    float POINT_prop_eff[FLT_ENGINES];
    float POINT_pitch_deg[FLT_ENGINES];
    float POINT_cone_rad[FLT_ENGINES];
    float POINT_side_wash[FLT_ENGINES];
    float POINT_XYZ[24];                // x, y, z of each thrust point

    // Weights.
    float m_fixed;          // payload
    float m_fuel1;          // fuel, tank 1
    float m_fuel2;          // tank 2
    float m_fuel3;          // tank 3
    float m_jettison;       // jettisonable mass
    float m_total;
    float mass_work[3];     // working words of the force build-up and the aircraft set-up
    float cgz_ref_to_default;
    float ett_size;
    float jett_len;         // slung-load line length, m

    // Failures. The three arrays follow each other with nothing between them:
    // the word after failures[173] is failure_param[0], and the word after
    // failure_param[173] is comp_fail_stat[0] (the preference files write
    // those neighbours; see FLT_word_after_failures below).
    int32_t failures[FAILURE_SLOTS];      // states 0..6; 0..136 published
    float failure_param[FAILURE_SLOTS];   // trigger value per slot (the failure times / countdowns)
    int32_t comp_fail_stat[8];                // bit sets, 32 slots per word

    float pitot_ice, prop_ice, inlet_ice, window_ice, frm_ice;   // ice accumulation, 0 and up
    int32_t over_g, over_vne, over_vfe, over_vle;

    // Lights.
    int32_t nav_lights_on;
    int32_t beacon_lights_on;
    int32_t strobe_lights_on;
    int32_t landing_lights_on;
    int32_t taxi_light_on;
    int32_t strobe_flash;
    int32_t onground_any;
    int32_t onground_all;
    float beacon_brightness;

    float g_nrml, g_axil, g_side, g_total;
    float parkbrake;
    float l_brake_add, r_brake_add;
    float nosewheel_speed;
    float nosewheel_steer;
    float wing_tilt_ptch, wing_tilt_roll;
    int32_t ai_app_mode;    // traffic: 0 cruise, 1 approach point, 2 final
    int32_t stallwarning;
    int32_t lo_rotor_warning;
    int32_t smoking;
    float jato_left;
    float displace_rat;

    // Derived flight data.
    float latitude;
    float longitude;
    float magpsi;
    float elevation;        // m above sea level
    float h_ind;
    float y_agl;
    float dist;
    float groundspeed;      // m/s
    float true_airspeed;    // m/s
    float indicated_airspeed;   // knots
    float machno;
    float Qstatic;
    float turnrate_roll;
    float turnrate_noroll;
    float slip;
    float vacuum;
    int32_t rocket_mode;
    union { int32_t jett_dumping; int32_t water_drop_on; };   // a water load is being dropped (jettison button)
    float rocket_timeout;
    float prop_ospeed_test_timeout;
    float blown_flap_engage_rat;
    float lift_fan_total_power;
};

extern flt_struct flt[FLT_SLOTS];

// Size: 16,443 32-bit words, one alignment word before the three doubles, and
// the three doubles. The field order the code relies on is checked in
// flightmodel/flt_layout_check.cpp.
static_assert(sizeof(flt_struct) == 16443 * 4 + 4 + 3 * 8);

// The words that follow the failure runs in memory, as the preference files
// write them after each run of 174: the word after failures[173] (the first
// failure time, as an int's bits) and the word after failure_param[173] (the
// first word of comp_fail_stat, as a float's bits).
int32_t FLT_word_after_failures(int plane);
float FLT_word_after_failure_param(int plane);

// Whether a part takes part in the model is the part presence rule,
// ACF_part_present (aircraft/part_presence.h).

// The failure slot of part p (0..7 and 53..60 engines, 8..43 surfaces,
// 67..72 gear), or -1 when the part has none.
int FLT_failure_slot_of_part(int part);

// Failure state of slot s of plane n, or 0 when either index is out of range:
// the one lookup of the failure table for every reader.
int32_t FLT_failure_state(int plane, int slot);
inline bool FLT_slot_failed(int plane, int slot) { return FLT_failure_state(plane, slot) == FAILURE_STATE_FAILED; }
