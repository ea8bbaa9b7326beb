// The alert routine: the one way the program shows a failure or a notice.
#pragma once

#include <cstdint>

// Alert codes.
constexpr int ALERT_FATAL = 17;       // shut down and exit after the alert
constexpr int ALERT_NOTICE = 16;      // an ordinary notice; the caller goes on
constexpr int ALERT_LANGUAGE = 13;    // language choice
constexpr int ALERT_ABOUT = 15;       // about box

// Shows up to four text lines with a code. A notice raised while a peer's
// command, click or key is handled is not shown: the link refuses it and
// counts it with its other refusals (NET_refuse_notice_of_peer). The lines
// also go to "ERROR.OUT" (not those of the about box, code 15). Once the window can draw, the alert
// is a box of its own mode (996) whose modal loop runs frames until it is
// dismissed; before that it is the platform's message box. Code 17 is fatal:
// after the box the program shuts down and ends with a non-zero status, and
// the call does not return. An alert raised while another is on screen is
// only logged; a fatal one then ends the program once that box is dismissed.
void MACIBM_nuke_alert(int return_mode, const char* line1, const char* line2, const char* line3,
                       const char* line4, int code);

// A line that is a path inside the program folder is shown and logged as the
// path on this disk (FOLDERS_log_path); the caller's own text is what a
// handler gets.
//
// While the program quits nobody is left to dismiss a box: from the quit's
// start on, a notice (code 16) is only written to ERROR.OUT, so a save that
// fails at quit is reported there once and the quit goes on.
void ALERT_set_quitting(bool quitting);

// A damaged file the flight can go without (a texture, a tile, an object, a
// sound) is named in one notice: read again (a tile as the plane moves on,
// the textures at a new resolution), the same bytes are left out without
// another box. True the first time the file with these bytes is asked about.
bool ALERT_first_notice_of_damage(const char* path);
// No damaged file named yet and no quit under way (registered).
void ALERT_reset();
bool ALERT_quitting();

// Replaces what an alert does (tests record the lines and code, and throw on a
// fatal one, so fatal paths can be tested in-process). nullptr restores the default.
using alert_handler_fn = void (*)(int return_mode, const char* const lines[4], int code);
void MACIBM_set_alert_handler(alert_handler_fn handler);
alert_handler_fn MACIBM_get_alert_handler();

// What shows an alert once its lines are prepared and logged is the spine's
// alert box (a mode of its own with a modal loop), the way up
// CORE_show_alert_box of core/hooks.h: `passed` are the caller's lines,
// `shown` the lines the box draws (the about box's fixed lines for code 15).
// An alert raised before the ways up are installed is shown by the
// platform's message box, and a fatal one ends the process.
// The platform's message box titled "Kestrum Message", the lines apart by blank lines.
void MACIBM_alert_message_box(const char* const lines[4]);
