// Instrument power of the user's aircraft: whether the panel, and the
// avionics behind their switch, have electrical power.
#include "panel/panel.h"

#include <cstdint>

#include "core/simvars.h"

int PANEL_has_power()
{
    if (sim_cockpit_electrical.battery_on) return 1;
    for (int32_t g : sim_cockpit_electrical.generator_on)
        if (g) return 1;
    return 0;
}

int PANEL_avionics_powered() { return sim_cockpit_electrical.avionics_on && PANEL_has_power() ? 1 : 0; }
