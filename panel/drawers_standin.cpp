// Stand-ins of the instrument drawers until their own issues build them: each
// draws nothing and takes no click. The switch bank, when the keys, buttons
// or console work it (not when the panel pass draws), is recorded as
// "NAME(arg,arg)".
#include "panel/panel.h"

#include <string>

#include "panel/calls_standin.h"

void PANEL_switches(int command, int item)
{
    if (command != -1)
        panel_standin_calls.push_back("PANEL_switches(" + std::to_string(command) + "," + std::to_string(item) + ")");
}

void PANEL_knob() {}
void PANEL_levers(int, float) {}
void PANEL_flap_lever() {}
void PANEL_hsi() {}
void PANEL_cdi(int) {}
void PANEL_rmi() {}
void PANEL_efis_switches() {}
void PANEL_autopilot() {}
