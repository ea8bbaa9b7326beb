#include "core/simvars.h"

sim_physics_block sim_physics{};
sim_graphics_scenery_block sim_graphics_scenery{};
sim_time_block sim_time{};
sim_graphics_misc_block sim_graphics_misc{};
sim_weather_block sim_weather{};
sim_operation_prefs_block sim_operation_prefs{};
sim_operation_prefs_misc_block sim_operation_prefs_misc{};
sim_operation_prefs_realweather_block sim_operation_prefs_realweather{};
sim_graphics_settings_block sim_graphics_settings{};
sim_graphics_view_block sim_graphics_view{};
sim_network_dataout_block sim_network_dataout{};
sim_cockpit_autopilot_block sim_cockpit_autopilot{};
sim_cockpit_electrical_block sim_cockpit_electrical{};
sim_cockpit_engine_block sim_cockpit_engine{};
sim_cockpit_switches_block sim_cockpit_switches{};
sim_cockpit_radios_block sim_cockpit_radios{};
sim_cockpit_gps_block sim_cockpit_gps{};
sim_cockpit_misc_block sim_cockpit_misc{};
sim_operation_misc_block sim_operation_misc{};
sim_network_misc_block sim_network_misc{};
sim_operation_override_block sim_operation_override{};
sim_operation_failures_block sim_operation_failures{};
sim_operation_sound_block sim_operation_sound{};
sim_joystick_block sim_joystick{};
sim_joystick_pfc_block sim_joystick_pfc{};
sim_cockpit_weapons_block sim_cockpit_weapons{};
sim_flightmodel_misc_block sim_flightmodel_misc{};
sim_flightmodel_position_block sim_flightmodel_position{};
sim_private_camera_block sim_private_camera{};
sim_cockpit_warnings_block sim_cockpit_warnings{};
sim_cockpit_warnings_annunciators_block sim_cockpit_warnings_annunciators{};
sim_cockpit_pressure_block sim_cockpit_pressure{};
sim_private_net_disables_block sim_private_net_disables{};
screen_settings_block screen_settings{};
float terrain_height_m = 0.0f;
int32_t ground_type_word = 0;
int32_t weather_seed = 0;

float gload_dim_factor = 1.0f;

void SIMVARS_clear()
{
    sim_physics = {};
    sim_graphics_scenery = {};
    sim_time = {};
    sim_graphics_misc = {};
    sim_weather = {};
    sim_operation_prefs = {};
    sim_operation_prefs_misc = {};
    sim_operation_prefs_realweather = {};
    sim_graphics_settings = {};
    sim_graphics_view = {};
    sim_network_dataout = {};
    sim_cockpit_autopilot = {};
    sim_cockpit_electrical = {};
    sim_cockpit_engine = {};
    sim_cockpit_switches = {};
    sim_cockpit_radios = {};
    sim_cockpit_gps = {};
    sim_cockpit_misc = {};
    sim_operation_misc = {};
    sim_network_misc = {};
    sim_operation_override = {};
    sim_operation_failures = {};
    sim_operation_sound = {};
    sim_joystick = {};
    sim_joystick_pfc = {};
    sim_cockpit_weapons = {};
    sim_flightmodel_misc = {};
    sim_flightmodel_position = {};
    sim_private_camera = {};
    sim_cockpit_warnings = {};
    sim_cockpit_warnings_annunciators = {};
    sim_cockpit_pressure = {};
    sim_private_net_disables = {};
    screen_settings = {};
}
