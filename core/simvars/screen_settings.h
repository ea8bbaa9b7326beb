// Settings that belong to one settings screen and carry no published name.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

#include "core/text_util.h"

// Settings that belong to one settings screen and carry no published name.
constexpr int SITUATION_ACF_PATHS = 5;
struct screen_settings_block {
    // Date and time screen.
    float zone_offset_hours;      // added to the longitude-derived time zone, -24..24
    // Weather screen.
    union {  // two names of the same word: the weather screen's and the ground contact's and preferences'
        int32_t runway_friction_extent;   // how much of the runway the condition covers
        int32_t runway_is_patchy;         // set: dry patches keep their whole friction
    };
    // Date, weather and airport screens: units shown.
    int32_t temperature_unit;         // 0 Fahrenheit, 1 Celsius
    int32_t pressure_units_metric;            // 0 inches of mercury, 1 millibars
    // Sound screen.
    int32_t radio_chatter_on;         // lets the sound layer play the radio-chatter slots
    float sound_volume;               // the master volume: factor on every sound level, 0.01..1
    // Rendering screen.
    int32_t lit_cus_panel_option;     // the aircraft's own lit panel picture is used at night
    int32_t scenery_load_switch;      // read by the network and navigation loaders
    int32_t world_objects_switch;     // world-object drawing
    int32_t draw_apron_aircraft;      // other aircraft parked on the selected airport's large aprons
    int32_t cloud_switch;             // clouds cast shadows on the ground
    float cloud_scale_a;              // puff candidates per cloud cell: this x 600 (held to 0..9.9)
    float cloud_scale_b;              // puff size scale: this x 800 m (held to 0..9.9)
    float systems_period;             // target frame period, seconds
    int32_t planet_view_flag_a;       // the two view flags of the rendering screen (also set by peers)
    int32_t planet_view_flag_b;
    // Aircraft paths screen: the aircraft files and two start states (speed kt,
    // altitude ft, heading) of the special flight-start situations.
    char situation_acf_paths[SITUATION_ACF_PATHS][TEXT_SIZE];
    float situation_start_values[2][3];
    // Map window and map keys.
    int32_t map_type;                 // 0..5
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
    int32_t show_start_screen;      // start in the date, weather and airport screen
};
extern screen_settings_block screen_settings;
