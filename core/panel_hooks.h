// The way into the cockpit panel's controls for the subsystems below the
// drawing floors that operate a control without drawing it (the joystick
// buttons, the serial console, the panel-module exchange): each call runs the
// panel's own drawer with a command, as a click on the control would, on the
// user's plane. The spine installs the panel's drawers at start-up; without
// them the calls do nothing (0 where an answer is due).
#pragma once

struct panel_hooks {
    void (*switches)(int command, int item) = nullptr;             // PANEL_switches
    void (*trim_wheels)(int command, int repeat) = nullptr;        // PANEL_trim_wheels
    void (*transponder)(int ident_only) = nullptr;                 // PANEL_transponder
    void (*gps)(int code) = nullptr;                               // PANEL_gps
    int (*clock_timer)(int toggle_cmd, int reset_cmd) = nullptr;   // PANEL_clock_timer
    void (*rocket_switch)(int plane, int type, float d) = nullptr; // PANEL_rocket_switch
};
void CORE_set_panel_hooks(const panel_hooks& hooks);

void CORE_panel_switches(int command, int item);
void CORE_panel_trim_wheels(int command, int repeat);
void CORE_panel_transponder(int ident_only);
void CORE_panel_gps(int code);
int CORE_panel_clock_timer(int toggle_cmd, int reset_cmd);
void CORE_panel_rocket_switch(int plane, int type, float d);
