// The program's alert box, the target of the alert routine's way of showing an
// alert (CORE_show_alert_box of core/hooks.h).
#pragma once

// Shows one alert: the platform's message box before the window can draw,
// otherwise the box's own mode with a modal loop of frames. An alert raised
// while a box is up is only logged (a fatal one ends the program once that box
// is dismissed). After a fatal alert the program shuts down and exits.
void ALERT_show_box(int return_mode, const char* const passed[4], const char* const lines[4], int code);
