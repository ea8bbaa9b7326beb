// Stand-in of the panel's switches until the cockpit instruments are built:
// the switches, the GPS keys, the ident button and the radar texture are
// recorded; nothing else happens.
#include "panel/panel.h"

#include <string>

#include "panel/calls_standin.h"

void PANEL_switches(int type, int item)
{
    panel_standin_calls.push_back("PANEL_switches(" + std::to_string(type) + "," + std::to_string(item) + ")");
}

void PANEL_gps(int code) { panel_standin_calls.push_back("PANEL_gps(" + std::to_string(code) + ")"); }

void PANEL_transponder(int code) { panel_standin_calls.push_back("PANEL_transponder(" + std::to_string(code) + ")"); }

void PANEL_radar_texture() { panel_standin_calls.push_back("PANEL_radar_texture()"); }
