// Simulation-wide state named by published data names. The variable for
// "sim/<area>/<group>/<name>" is the field <name> of the global sim_<area>_<group>
// (sim_<area> where the name has no group). Per-plane values live in the
// flight-model and aircraft records instead; the window size and the rendering
// resolution live in the screen record (shell/screen.h).
//
// Settings that carry no published name and belong to one settings screen are
// gathered in `screen_settings` at the end.
//
// Other modules may add fields here; none are renamed or removed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text_util.h"

// sim/physics/: the planet constants.
struct sim_physics_block {
    float earth_pressure_p;   // sea-level pressure, pascals
    float earth_temp_c;       // sea-level temperature, degrees C
    float rho_sea_level;      // sea-level air density, kg/m^3
    float earth_radius_m;
    float mu_air;             // air viscosity
    float rho_water;
    float earth_mu;           // gravity parameter
    float g_sealevel;
    float ambient_pressure;   // static pressure at the user's plane, pascals (written by the systems step)
};
extern sim_physics_block sim_physics;

// sim/graphics/scenery/.
struct sim_graphics_scenery_block {
    int32_t current_planet;   // 0 Earth, 1 Mars
    float percent_lights_on;  // share 0..1 of the flash-indexed lights that are lit
    // Where the sun and the moon stand, worked out by the scene each pass (degrees).
    float sun_declination;
    float moon_declination;
    float sun_azimuth;        // -180..180, 0 at the local noon
    float moon_azimuth;
};
extern sim_graphics_scenery_block sim_graphics_scenery;

// sim/time/.
struct sim_time_block {
    float total_running_time_sec;
    float zulu_time_sec;
    float local_time_sec;
    int32_t local_date_days;  // day of the year from 0
    int32_t use_system_time;  // the clock follows the computer's clock
    int32_t backwards;        // runway starts from the other end
    int32_t paused;
    float total_flight_time_sec;     // seconds since the flight started
    int32_t timer_is_running_sec;    // the panel stopwatch runs
    float timer_elapsed_time_sec;    // the panel clock's stopwatch
};
extern sim_time_block sim_time;

// sim/graphics/misc/.
struct sim_graphics_misc_block {
    int32_t show_panel_click_spots;
    // Cockpit light tint: the 2-D drawers multiply colour rows 0..46 by it.
    float cockpit_light_level_r = 1.0f;
    float cockpit_light_level_g = 1.0f;
    float cockpit_light_level_b = 1.0f;
    int32_t use_proportional_fonts = 1;   // the fonts plug-in texts are drawn with
};
extern sim_graphics_misc_block sim_graphics_misc;

// sim/weather/. "Percent" values are fractions 0..1; layer 0 is the lowest.
constexpr int CLOUD_LAYERS = 2;
constexpr int WIND_LAYERS = 3;
struct sim_weather_block {
    int32_t use_real_weather_bool;
    int32_t has_real_weather_bool;    // "metar.rwx" was found at start-up
    float rain_percent;
    float thunderstorm_percent;
    float wind_turbulence_percent;
    float microburst_probability;
    float rate_change_percent;        // -1..1
    float visibility_reported_m;
    float temperature_sealevel_c;
    int32_t cloud_type[CLOUD_LAYERS];
    float cloud_tops_msl_m[CLOUD_LAYERS];
    float cloud_base_msl_m[CLOUD_LAYERS];
    float wind_altitude_msl_m[WIND_LAYERS];
    float wind_direction_degt[WIND_LAYERS];
    float wind_speed_kt[WIND_LAYERS];
    float shear_direction_degt[WIND_LAYERS];
    float shear_speed_kt[WIND_LAYERS];
    float turbulence[WIND_LAYERS];
    float wave_amplitude;             // m
    float wave_length;                // m
    float wave_speed;                 // m/s
    int32_t wave_dir;                 // degrees
    int32_t meteorite_density;        // choice
    int32_t runway_friction;          // runway condition choice
    float thermal_altitude_msl_m;
    float thermal_percent;
    float thermal_rate_ms;
    // The air at the user's plane, written by the systems step.
    float rho;                        // air density, kg/m^3
    float sigma;                      // density ratio to the sea-level standard
    float speed_of_sound_ms;          // speed of sound of the moment (published as sim/weather/gravity_mss)
    float temperature_ambient_c;      // air temperature at the plane, degrees C
    float temperature_le_c;           // air temperature at the wing's leading edge, degrees C
    // Precipitation at the user's plane (0..1), written by the weather at the plane.
    float precip_rain;
    float precip_hail;
    float precip_snow;
    // Sea-level dew point (degrees C), set by the weather reports.
    float dewpoi_sealevel_c;
    // The smoothed wind at the plane: its direction (degrees true, 0..360) and
    // horizontal speed (m/s, at most 999), kept apart from the wind layers.
    float wind_direction_at_plane_degt;
    float wind_speed_at_plane_ms;
};
extern sim_weather_block sim_weather;

// sim/operation/prefs/: operating preferences (int flags).
struct sim_operation_prefs_block {
    int32_t has_headset_on;
    int32_t text_out;
    int32_t warn_framerate_low;
    int32_t warn_overspeed;
    int32_t warn_overgforce;
    int32_t warn_overspeed_flaps;
    int32_t warn_overspeed_gear;
    int32_t warn_bb;                  // autopilot disconnect horn
    int32_t startup_running;
    int32_t auto_coordinate_helos;
    int32_t reset_on_crash;
    int32_t startup_on_ramp;
    int32_t warn_nonobvious_stuff;
    int32_t replay_mode;              // 0 recording, otherwise playing back
};
extern sim_operation_prefs_block sim_operation_prefs;

// sim/operation/prefs/misc/.
struct sim_operation_prefs_misc_block {
    int32_t language;                 // 0..6, -1 none chosen yet
};
extern sim_operation_prefs_misc_block sim_operation_prefs_misc;

// sim/operation/prefs/realweather/.
struct sim_operation_prefs_realweather_block {
    float check_real_weather_time_sec;   // seconds between reads of the weather reports
    float real_weather_max_vis_nm;
};
extern sim_operation_prefs_realweather_block sim_operation_prefs_realweather;

// sim/graphics/settings/. The rendering resolution (rendering_res) is the
// screen record's field.
struct sim_graphics_settings_block {
    int32_t draw_textured_lites;
    int32_t dim_gload;
    int32_t autogen_level;            // 0..5
    int32_t autogen_distance;         // 0..20
    int32_t draw_obstacles;
    int32_t draw_aircrafts;           // number of planes, 1..10
    int32_t draw_taxilines;
    int32_t draw_forestfires;
    int32_t draw_oilrigs;
    int32_t draw_ships;
    int32_t draw_vectors;
    int32_t draw_cars;
    int32_t transparent_panel;        // background and panel drawn see-through while flying
};
extern sim_graphics_settings_block sim_graphics_settings;

// sim/graphics/view/. The window size is the screen record's.
struct sim_graphics_view_block {
    float field_of_view_deg;
    float field_of_view_horizontal_ratio;
    float field_of_view_vertical_ratio;
    float field_of_view_horizontal_deg;
    float field_of_view_vertical_deg;
    float field_of_view_roll_deg;
    int32_t number_elumens_projections;   // 0..4
    int32_t elumens_tex_width;
    int32_t elumens_tex_height;
    float elumens_ref_psi;
    float elumens_ref_the;
    float elumens_ref_phi;
    // The camera, placed by the scene pass before anything is drawn.
    float view_x;                     // local coordinates, metres
    float view_y;
    float view_z;
    // The direction the picture looks (the view set-up's): each angle with its
    // sine and cosine beside it.
    float view_heading;               // degrees 0..360
    float view_heading_sin, view_heading_cos;
    float view_pitch;                 // degrees
    float view_pitch_sin, view_pitch_cos;
    float view_roll;                  // degrees
    float view_roll_sin, view_roll_cos;
    float view_zoom;                  // 1 = no zoom, up to 400
    int32_t view_type;                // 1000..1024
    int32_t view_is_external;
    int32_t visibility_math_level;    // 0..5
    float visibility_framerate_ratio;
    // The scene's visibility of the pass: of the terrain and of everything else, m.
    float visibility_terrain_m;
    float visibility_effective_m;
    // Where the camera is on the planet.
    float view_latitude_deg;
    float view_longitude_deg;
    float view_elevation_m_msl;
};
extern sim_graphics_view_block sim_graphics_view;

// sim/network/dataout/: which of the 200 data groups go where.
constexpr int DATAOUT_GROUPS = 200;
struct sim_network_dataout_block {
    float network_data_rate;          // records per second, 1..50 when used
    int32_t data_to_internet[DATAOUT_GROUPS];
    int32_t data_to_disk[DATAOUT_GROUPS];
    int32_t data_to_graph[DATAOUT_GROUPS];
    int32_t data_to_screen[DATAOUT_GROUPS];
    int32_t dump_parts_props;
    int32_t dump_parts_wings;
    int32_t dump_parts_vstabs;
    int32_t dump_next_cycle;          // the next flight-model step writes its report to "ORVELL.OUT"
};
extern sim_network_dataout_block sim_network_dataout;

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
    float pre_rotate_level;
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

// sim/operation/misc/.
struct sim_operation_misc_block {
    float frame_rate_period;          // seconds of the last frame
    float time_ratio;                 // measured ratio of real to assumed frame period
    int32_t debug_network;            // the network link traces every send and receipt in "ERROR.OUT"
};
extern sim_operation_misc_block sim_operation_misc;

// sim/network/misc/.
struct sim_network_misc_block {
    float network_time_sec;           // network clock, seconds; the replay clock while replaying
};
extern sim_network_misc_block sim_network_misc;

// sim/operation/override/.
struct sim_operation_override_block {
    int32_t override_planepath[10];   // per plane slot: its path is set from outside (first 8 published)
    int32_t override_joystick;        // the joystick is driven from outside
    int32_t override_artstab;         // the artificial stability is driven from outside
    int32_t override_flightcontrol;   // the flight controls are driven from outside
    int32_t override_throttles;       // the throttles are driven from outside
    int32_t override_flightdir;       // the flight-director commands are written from outside
    int32_t override_autopilot;       // the autopilot's captures are left to the outside
    int32_t override_camera;          // the camera is placed from outside: the scene leaves it where it is
    // Raised by data records received for the groups that may be written from
    // outside (links/dataout.h): the simulation leaves those values alone.
    int32_t override_gearbrake;
    int32_t override_navneedles;
    int32_t override_adf;
    int32_t override_dme;
    int32_t override_gps;
    int32_t override_annunciators;
    // Set by plug-ins: with override_joystick, the joystick's pitch, roll or
    // heading input is left to them; the console's lamps are theirs.
    int32_t override_joystick_pitch;
    int32_t override_joystick_roll;
    int32_t override_joystick_heading;
    int32_t override_pfc_autopilot_lites;
};
extern sim_operation_override_block sim_operation_override;

// sim/operation/failures/ (the failure table itself is in the flight-model record).
struct sim_operation_failures_block {
    float mean_time_between_failure_hrs;
    float hydraulic_pressure_ratio;   // 0..1
    int32_t ram_air_turbine_on;
};
extern sim_operation_failures_block sim_operation_failures;

// sim/operation/sound/.
struct sim_operation_sound_block {
    int32_t speech_on;
    int32_t sound_on;
    int32_t has_sound;                // the sound device is open
    int32_t has_speech_synth;         // the speech voice is available
};
extern sim_operation_sound_block sim_operation_sound;

// sim/joystick/: response settings, equipment and axis and button assignments.
constexpr int JOYSTICK_AXES = 15;
constexpr int JOYSTICK_BUTTONS = 96;
struct sim_joystick_block {
    float joystick_pitch_nullzone;
    float joystick_roll_nullzone;
    float joystick_heading_nullzone;
    float joystick_pitch_sensitivity;
    float joystick_roll_sensitivity;
    float joystick_heading_sensitivity;
    int32_t eq_ped_nobrk;             // pedals without toe brakes
    int32_t eq_ped_wibrk;             // pedals with toe brakes
    int32_t eq_cirrusII_fun;          // serial console models (at most one set)
    int32_t eq_cirrusII_app;
    int32_t eq_pfc_pedals;
    int32_t eq_pfc_cirrus2;
    int32_t has_joystick;             // a game controller is attached
    int32_t mouse_is_joystick;        // the pointer flies the plane
    int32_t joystick_axis_assignments[JOYSTICK_AXES];
    int32_t joystick_button_assignments[JOYSTICK_BUTTONS];
    int32_t joystick_axis_reverse[JOYSTICK_AXES];
    float joystick_axis_minimum[JOYSTICK_AXES];
    float joystick_axis_maximum[JOYSTICK_AXES];
    float yolk_pitch_ratio;           // -1..1
    float yolk_roll_ratio;
    float yolk_heading_ratio;
    // Artificial-stability inputs added to the control deflections.
    float artstab_pitch_ratio;
    float artstab_roll_ratio;
    float artstab_heading_ratio;
    // What the controllers read this frame: each axis in the device range
    // -100..100, and each button or hat direction (non-zero = down).
    float joystick_axis_values[JOYSTICK_AXES];
    int32_t joystick_button_values[JOYSTICK_BUTTONS];
};
extern sim_joystick_block sim_joystick;

// sim/joystick/pfc/: the serial cockpit console's autopilot buttons and lamps.
struct sim_joystick_pfc_block {
    // Presses counted in the hundreds, the last button's code below them.
    int32_t last_autopilot_button_input;
    // The lamp byte a plug-in sends instead of the autopilot's own
    // (override_pfc_autopilot_lites): bit 7 the engaged form, bits 0..6 the lamps.
    int32_t autopilot_lites;
};
extern sim_joystick_pfc_block sim_joystick_pfc;

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

// sim/flightmodel/misc/ (the grid cell i, j is the flight-model record's).
struct sim_flightmodel_misc_block {
    int32_t stab_ptch_test;           // stability tests requested by the commands
    int32_t stab_hdng_test;
};
extern sim_flightmodel_misc_block sim_flightmodel_misc;

// sim/flightmodel/position/: the position values that are not per plane.
struct sim_flightmodel_position_block {
    float magnetic_variation;   // degrees at the user's plane; magnetic = true + variation
};
extern sim_flightmodel_position_block sim_flightmodel_position;

// sim/private/camera/: the camera's attitude, degrees (its position is
// sim_graphics_view's view_x, view_y, view_z). The view set-up keeps their
// sines and cosines in camera_trig (core/camera.h).
struct sim_private_camera_block {
    float the;                        // pitch -90..90
    float psi;                        // heading 0..360
    float phi;                        // roll -180..180
};
extern sim_private_camera_block sim_private_camera;

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

// sim/private/net_disables/: parts of the simulation a display slave leaves to its master.
struct sim_private_net_disables_block {
    int32_t ai_loc[10];               // per plane slot: the slave does not move that plane
    int32_t annuns;
    int32_t nav_NC;
    int32_t nav_GPS;
};
extern sim_private_net_disables_block sim_private_net_disables;

// Settings that belong to one settings screen and carry no published name.
constexpr int SITUATION_ACF_PATHS = 5;
struct screen_settings_block {
    // Date and time screen.
    float zone_correction_hours;      // added to the longitude-derived time zone, -24..24
    // Weather screen.
    int32_t runway_friction_extent;   // how much of the runway the condition covers (ground contact reads it)
    // Date, weather and airport screens: units shown.
    int32_t temperature_unit;         // 0 Fahrenheit, 1 Celsius
    int32_t pressure_unit;            // 0 inches of mercury, 1 millibars
    // Sound screen.
    int32_t radio_chatter_on;         // lets the sound layer play the radio-chatter slots
    float master_volume;              // factor on every sound level, 0.01..1
    // Rendering screen.
    int32_t lit_cus_panel_option;     // the aircraft's own lit panel picture is used at night
    int32_t scenery_load_switch;      // read by the network and navigation loaders
    int32_t world_objects_switch;     // world-object drawing
    int32_t draw_apron_aircraft;      // other aircraft parked on the selected airport's large aprons
    int32_t cloud_shadows_on;         // clouds cast shadows on the ground
    float cloud_puff_count_factor;    // puff candidates per cloud cell: this x 600 (held to 0..9.9)
    float cloud_puff_size_factor;     // puff size scale: this x 800 m (held to 0..9.9)
    float systems_period;             // target frame period, seconds
    int32_t planet_view_flag_a;       // the two view flags of the rendering screen (also set by peers)
    int32_t planet_view_flag_b;
    // Aircraft paths screen: the aircraft files and two start states (speed kt,
    // altitude ft, heading) of the special flight-start situations.
    char situation_acf_paths[SITUATION_ACF_PATHS][TEXT_SIZE];
    float situation_start_values[2][3];
    // Map window and map keys.
    int32_t map_view_mode;            // 0..5
    float map_zoom;                   // scale factor of the map screens
    float preview_zoom;               // 3-D preview and globe screens
    // Joystick and equipment screen.
    float pitch_rate_damping;         // 0..1
    float roll_rate_damping;
    float yaw_rate_damping;
    int32_t eq_cirrus_com2;           // serial console on the second port
    int32_t eq_button_throttle;       // buttons 29..31 step the first throttle
    int32_t eq_gf_panels;             // panel modules fitted
    int32_t preset_radios_option;     // preset the radios at start-up
    int32_t keys_per_engine;          // engine keys act on one engine each
    int32_t joy_calibrating;          // serial console type: 1 learns the lever ranges
    int32_t equipment_option_a;       // two flags only kept with the preferences
    int32_t equipment_option_b;
    int32_t eq_cirrus_layout2;        // second console panel layout
    int32_t eq_cirrus_latch_brake;    // the parking-brake button toggles
    // Start-up.
    int32_t start_screen_option;      // start in the date, weather and airport screen
};
extern screen_settings_block screen_settings;

// The storm seed: offset of the storm grid's noise, 0..1000, drawn by the
// simulation defaults and the weather screen, received from peers.
extern int32_t weather_seed;

// Terrain height (local y, m) under the user's plane, written by the
// simulation cycle from the terrain query once a frame.
extern float terrain_height_m;

// Surface code under the user's plane, set by the terrain and scenery code;
// the shared-memory record carries it.
extern int32_t ground_type_word;

// The G-load dimming factor: every colour the drawing kit sends is multiplied
// by it. The flight model lowers it under high load while "dim_gload" is on;
// 1.0 otherwise.
extern float gload_dim_factor;

// Sets every block above to zero (the state reset of the start-up).
void SIMVARS_clear();
