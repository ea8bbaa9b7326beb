#include "core/panel_hooks.h"

namespace {
panel_hooks installed;
}  // namespace

void CORE_set_panel_hooks(const panel_hooks& hooks) { installed = hooks; }

void CORE_panel_switches(int command, int item)
{
    if (installed.switches) installed.switches(command, item);
}

void CORE_panel_trim_wheels(int command, int repeat)
{
    if (installed.trim_wheels) installed.trim_wheels(command, repeat);
}

void CORE_panel_transponder(int ident_only)
{
    if (installed.transponder) installed.transponder(ident_only);
}

void CORE_panel_gps(int code)
{
    if (installed.gps) installed.gps(code);
}

int CORE_panel_clock_timer(int toggle_cmd, int reset_cmd)
{
    return installed.clock_timer ? installed.clock_timer(toggle_cmd, reset_cmd) : 0;
}

void CORE_panel_rocket_switch(int plane, int type, float d)
{
    if (installed.rocket_switch) installed.rocket_switch(plane, type, d);
}
