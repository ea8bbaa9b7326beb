#include "core/simvars/cockpit.h"

#include "core/reset_registry.h"

sim_cockpit_autopilot_block sim_cockpit_autopilot{};
sim_cockpit_electrical_block sim_cockpit_electrical{};
float volt_display_timeout[8] = {};
sim_cockpit_engine_block sim_cockpit_engine{};
sim_cockpit_switches_block sim_cockpit_switches{};
sim_cockpit_radios_block sim_cockpit_radios{};
sim_cockpit_gps_block sim_cockpit_gps{};
sim_cockpit_misc_block sim_cockpit_misc{};
sim_cockpit_weapons_block sim_cockpit_weapons{};
sim_cockpit_warnings_block sim_cockpit_warnings{};
sim_cockpit_warnings_annunciators_block sim_cockpit_warnings_annunciators{};
sim_cockpit_pressure_block sim_cockpit_pressure{};

void SIMVARS_cockpit_reset()
{
    sim_cockpit_autopilot = {};
    sim_cockpit_electrical = {};
    sim_cockpit_engine = {};
    sim_cockpit_switches = {};
    sim_cockpit_radios = {};
    sim_cockpit_gps = {};
    sim_cockpit_misc = {};
    sim_cockpit_weapons = {};
    sim_cockpit_warnings = {};
    sim_cockpit_warnings_annunciators = {};
    sim_cockpit_pressure = {};
}
ORVELL_RESET(SIMVARS_cockpit_reset, program);

// The voltmeters' display timeouts are the panel's.
void SIMVARS_volt_display_reset()
{
    for (float& t : volt_display_timeout) t = 0.0f;
}
ORVELL_RESET(SIMVARS_volt_display_reset, panel);
