// sim/operation/: operating preferences, the frame period, the outside
// overrides, failures and sound.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

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

// sim/operation/misc/.
struct sim_operation_misc_block {
    float frame_rate_period;          // seconds of the last frame
    float time_ratio;                 // measured ratio of real to assumed frame period
    int32_t debug_network;            // the network link traces every send and receipt in "ERROR.OUT"
};
extern sim_operation_misc_block sim_operation_misc;

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
