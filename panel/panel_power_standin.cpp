// Stand-in of the avionics power test until the panel's electrics are built:
// the avionics switch and the stand-in panel power.
#include "core/simvars.h"
#include "panel/panel.h"

int PANEL_avionics_powered() { return sim_cockpit_electrical.avionics_on && PANEL_has_power() ? 1 : 0; }
