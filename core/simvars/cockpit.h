// sim/cockpit/: the autopilot, switches, radios, GPS, weapons, warnings and
// pressurisation.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstddef>
#include <cstdint>

// sim/cockpit/autopilot/. The five mode words are one run (9 = off); the two
// navigation mode words carry no published name.
struct sim_cockpit_autopilot_block {
    int32_t airspeed_mode;            // 9 off, 10 autothrottle
    int32_t heading_mode;             // 9 off, 11 heading, 12 wing leveller
    int32_t altitude_mode;            // 9 off, 13..17
    int32_t hnav_mode;                // lateral navigation: 9 off, 18 armed, 19 captured
    int32_t vnav_mode;                // vertical navigation: 9 off, 20 armed, 21 captured
    int32_t backcourse_on;
    float airspeed;                   // knots, or Mach while airspeed_is_mach
    float heading_mag;
    float vertical_velocity;          // ft/min
    float altitude;                   // dialled altitude, ft
    float current_altitude;           // altitude target in use, ft
    float pitch_hold_deg;             // pitch target
    int32_t airspeed_is_mach;
    int32_t autopilot_mode;           // 0 off, 1 flight director, 2 on
    float flight_director_pitch;      // degrees, the command bars
    float flight_director_roll;
};
extern sim_cockpit_autopilot_block sim_cockpit_autopilot;
static_assert(offsetof(sim_cockpit_autopilot_block, vnav_mode) ==
              offsetof(sim_cockpit_autopilot_block, airspeed_mode) + 4 * 4);

// sim/cockpit/electrical/.
struct sim_cockpit_electrical_block {
    int32_t battery_on;
    int32_t avionics_on;
    int32_t cockpit_lights_on;        // the panel fonts switch to their lit sheets
    int32_t generator_on[8];
    float HUD_brightness;
    float cockpit_lights;             // panel light rheostat 0..1
    int32_t HUD_on;
};
extern sim_cockpit_electrical_block sim_cockpit_electrical;
// "sim/cockpit/electrical/volt_display_timeout": per engine, the frame-clock
// time until which the panel's ammeter shows the volts (its button held).
extern float volt_display_timeout[8];

// sim/cockpit/engine/ (the per-engine ignition switches are in the flight-model record).
struct sim_cockpit_engine_block {
    int32_t fuel_tank_selector;
    int32_t fadec_on[8];
    float starter_duration[8];        // seconds the starter keeps turning
    int32_t fuel_pump_on[8];
    int32_t clutch_engage;
    float chute_deploy_ratio;         // drag chute deployment 0..1 (the force build-up grows it)
    float chute_dir[3];               // the chute's direction in body axes, for drawing
    int32_t igniters_on[8];
    int32_t idle_speed[8];            // high idle selected
    int32_t inverter_on[8];
    int32_t fuel_tank_transfer;
    float clutch_ratio[8];            // clutch engagement per engine, 0 open .. 1 engaged
};
extern sim_cockpit_engine_block sim_cockpit_engine;

// sim/cockpit/switches/.
struct sim_cockpit_switches_block {
    int32_t gear_handle_status;       // 1 down, 0 up
    int32_t EFIS_map_range_selector;
    int32_t marker_panel_out;
    int32_t audio_panel_out;
    int32_t jato_on;
    int32_t parachute_on;             // drag chute deployed
    int32_t pre_rotating;             // rotor pre-rotation (autogyros)
    int32_t pre_rotate_level;         // pre-rotation level: 0 low, 1 high
    int32_t arresting_gear;           // hook lowered
    int32_t puffers_on;               // attitude puffers armed (the word after arresting_gear)
    int32_t water_scoop_on;           // water scoop lowered (two words after arresting_gear)
    int32_t auto_brake_settings;
    int32_t auto_feather_mode;
    int32_t art_stab_on;
    int32_t prop_sync_on;
    int32_t dumping_fuel;
    int32_t EFIS_map_mode;
    int32_t yaw_damper_on;
    int32_t DME_distance_or_time;
    int32_t DME_radio_selector;
    int32_t HSI_selector;
    int32_t RMI_selector;
    int32_t ECAM_mode;
    // The anti-ice and heat switches.
    int32_t anti_ice_on;
    int32_t anti_ice_inlet_heat;
    int32_t anti_ice_prop_heat;
    int32_t anti_ice_window_heat;
    int32_t anti_ice_surf_heat;
    int32_t anti_ice_surf_boot;
    int32_t anti_ice_auto_ignite;
    int32_t anti_ice_inert_sep;
    int32_t pitot_heat_on;
    // The EFIS map's DME readouts' sources (0..2) and its layer switches (the
    // weather one is published as "EFIFS_shows_weather"); every layer is shown at start.
    int32_t EFIS_dme_1_selector;
    int32_t EFIS_dme_2_selector;
    int32_t EFIS_shows_weather = 1;
    int32_t EFIS_shows_tcas = 1;
    int32_t EFIS_shows_airports = 1;
    int32_t EFIS_shows_waypoints = 1;
    int32_t EFIS_shows_VORs = 1;
    int32_t EFIS_shows_NDBs = 1;
    // The RMI's left and right needles: 0 VOR, 1 ADF.
    int32_t RMI_l_vor_adf_selector;
    int32_t RMI_r_vor_adf_selector;
};
extern sim_cockpit_switches_block sim_cockpit_switches;

// sim/cockpit/radios/. Each family is a run of six words by receiver:
// 0 NAV1, 1 NAV2, 2 ADF1, 3 ADF2, 4 GPS, 5 DME. NAV and COM frequencies are
// MHz x 100, ADF frequencies kHz.
constexpr int RADIO_RECEIVERS = 6;
struct sim_cockpit_radios_block {
    int32_t nav1_freq_hz;
    int32_t nav2_freq_hz;
    int32_t adf1_freq_hz;
    int32_t adf2_freq_hz;
    int32_t gps_freq_hz;
    int32_t dme_freq_hz;
    int32_t nav1_stdby_freq_hz;
    int32_t nav2_stdby_freq_hz;
    int32_t adf1_stdby_freq_hz;
    int32_t adf2_stdby_freq_hz;
    int32_t gps_stdby_freq_hz;
    int32_t dme_stdby_freq_hz;
    int32_t com1_freq_hz;
    int32_t com2_freq_hz;
    int32_t com_spare_freq_hz[4];         // the rest of the COM run, unused
    int32_t com1_stdby_freq_hz;
    int32_t com2_stdby_freq_hz;
    int32_t com_spare_stdby_freq_hz[4];
    float nav1_obs_degm;
    float nav2_obs_degm;
    float adf1_obs_card_mag;
    float adf2_obs_card_mag;
    float obs_mag;                        // the GPS course
    float dme_obs_degm;                   // the last word of the course run
    int32_t transponder_code;             // four octal digits written in decimal
    int32_t transponder_mode;             // 0 off, 1 standby, 2 on
    int32_t marker_audio_working;         // 0 while the marker tone is muted for the present beacon
    int32_t gear_audio_working;           // 0 while the gear horn is silenced
    // What each receiver reads, by receiver (written by the radio receivers).
    float nav1_course_degt[RADIO_RECEIVERS];   // course flown, degrees true
    float nav1_slope_degt[RADIO_RECEIVERS];    // glideslope angle, degrees
    float nav1_hdef_deg[RADIO_RECEIVERS];      // course deflection, degrees
    float nav1_vdef_deg[RADIO_RECEIVERS];      // glideslope deflection, degrees
    int32_t nav_type[RADIO_RECEIVERS];         // kind of the station tuned
    int32_t nav1_fromto[RADIO_RECEIVERS];      // 0 off, 1 to, 2 from
    float nav1_hdef_dot[RADIO_RECEIVERS];      // course deflection, dots
    float nav1_vdef_dot[RADIO_RECEIVERS];      // glideslope deflection, dots
    float nav1_dir_degt[RADIO_RECEIVERS];      // bearing to the station, degrees true
    float nav1_dme_dist_m[RADIO_RECEIVERS];    // DME distance (nautical miles as shown)
    float nav1_dme_speed_kts[RADIO_RECEIVERS];
    float nav1_dme_time_secs[RADIO_RECEIVERS];
    int32_t nav1_has_dme[RADIO_RECEIVERS];
    int32_t transponder_id;                    // the ident is being sent
    int32_t transponder_light;                 // the reply lamp is lit
    // The GPS toward its destination.
    float gps_course_degt;                     // the selected course, true
    float gps_hdef_deg;                        // cross-track deviation, -5..5
    float gps_hdef_dot;
    int32_t gps_fromto;
    float gps_dir_degt;                        // bearing of the destination relative to the nose
    float gps_dme_dist_m;                      // great-circle distance in nautical miles (as the DME's)
    // The cards' rotation, degrees, by receiver: nav 1's is the slaved RMI
    // card (written by the panel); the ADF cards are adf1_obs_card_mag and
    // adf2_obs_card_mag above.
    float nav1_cardinal_dir[RADIO_RECEIVERS];
};
extern sim_cockpit_radios_block sim_cockpit_radios;

// sim/cockpit/gps/.
struct sim_cockpit_gps_block {
    int32_t destination_type;
    int32_t destination_index;
    int32_t airport_index;
    int32_t vor_index;
    int32_t ndb_index;
    int32_t fix_index;
    float course = 0.0f;              // course to the destination, degrees in the local grid, 0..360
};
extern sim_cockpit_gps_block sim_cockpit_gps;

// sim/cockpit/misc/.
struct sim_cockpit_misc_block {
    float barometer_setting;          // inches of mercury
    int32_t show_path;                // the flown path is drawn
    // Panel x of the centre of the throttle, propeller, mixture, carburettor-heat
    // and cowl-flap lever columns, set by the aircraft set-up from the panel.
    float lever_gang_x[5];
    float ah_bar;                     // attitude indicator reference bar
    int32_t outer_marker_lit;
    int32_t middle_marker_lit;
    int32_t inner_marker_lit;
    float radio_altimeter_minimum;    // feet
};
extern sim_cockpit_misc_block sim_cockpit_misc;

// sim/cockpit/weapons/.
struct sim_cockpit_weapons_block {
    int32_t plane_target_index;       // 1..planes - 1
    // The four arming switches.
    int32_t guns_armed;
    int32_t rockets_armed;
    int32_t missiles_armed;
    int32_t bombs_armed;
    int32_t firing_mode;              // bombs released by mode: 0 single, 1 pairs, 2 ripple, 3 salvo
    int32_t firing_rate;              // ripple releases per second (the rate knob stores 1, 2, 5 or 10)
    int32_t selected_weapon_slot;     // the weapon slot the data output reports, -1 none
};
extern sim_cockpit_weapons_block sim_cockpit_weapons;

// sim/cockpit/warnings/.
struct sim_cockpit_warnings_block {
    int32_t ECAM_warning_on;
    int32_t master_accept_on;
    int32_t master_caution_on;
    float master_caution_timeout;     // running-time deadline of the lit master caution, s
    float annunciator_test_timeout;   // frame-clock deadline of the lamp test, s
    float warning_suppression_timeout;   // frame clock until which the warnings are silenced
};
extern sim_cockpit_warnings_block sim_cockpit_warnings;

// sim/cockpit/warnings/annunciators/: 15 words in this order. Words 0..6 are
// 0 or 1; words 7..14 are bit masks, bit n for engine n.
constexpr int ANNUNCIATOR_WORDS = 15;
struct sim_cockpit_warnings_annunciators_block {
    int32_t master_caution;
    int32_t master_accept;
    int32_t autopilot_disconnect;
    int32_t low_vacuum;
    int32_t low_voltage;
    int32_t fuel_quantity;
    int32_t hydraulic_pressure;
    int32_t fuel_pressure;
    int32_t oil_pressure;
    int32_t oil_temperature;
    int32_t inverter;
    int32_t generator;
    int32_t chip_detect;
    int32_t engine_fire;
    int32_t auto_ignition;
};
extern sim_cockpit_warnings_annunciators_block sim_cockpit_warnings_annunciators;
static_assert(sizeof(sim_cockpit_warnings_annunciators_block) == ANNUNCIATOR_WORDS * 4);

// sim/cockpit/pressure/.
struct sim_cockpit_pressure_block {
    int32_t bleed_air_on;
    float cabin_altitude_set_m_msl;
    float cabin_vvi_set_m_msec;
    float cabin_altitude_actual_m_msl;
    float cabin_vvi_actual_m_msec;
    float pressure_test_timeout;      // frame-clock deadline of the pressurisation test, s
    float max_allowable_altitude;     // pressure altitude (m) above which the cabin climbs with the plane
};
extern sim_cockpit_pressure_block sim_cockpit_pressure;
