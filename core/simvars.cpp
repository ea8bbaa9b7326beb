#include "core/simvars.h"

#include "core/reset_registry.h"

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
    gload_dim_factor = 1.0f;
}
ORVELL_RESET(SIMVARS_clear, program);
