#include "shell/alert.h"

#include <string>

#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/widget.h"
#include "platform/plat_events.h"
#include "shell/folders.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell/lang.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "shell/text_util.h"

namespace {

alert_handler_fn alert_handler = nullptr;

constexpr const char* MESSAGE_BOX_TITLE = "Kestrum Message";
constexpr int LINE_COLOUR = 45;
constexpr int LINE_FONT = 106;
constexpr float LINE_X = 10.0f;
constexpr float LINE_Y[4] = {185.0f, 145.0f, 105.0f, 65.0f};
constexpr float BUTTON_Y = 18.0f;
constexpr int BUTTON_LABEL_TEXT = 602;

// The about box's three fixed lines.
constexpr const char* ABOUT_LINES[3] = {"Orvell", "A desktop flight simulator.",
                                        "Aircraft, world and interface made for this program."};

// The language choice: one radio button per language, a title and a button word.
constexpr int LANGUAGE_CHOICES = 7;
constexpr const char* LANGUAGE_NAMES[LANGUAGE_CHOICES] = {"English", "Francais", "Deutsch", "Italiano",
                                                          "Espanol", "Hangugeo", "Portugues"};
constexpr float LANGUAGE_Y[LANGUAGE_CHOICES] = {180, 160, 140, 120, 100, 80, 60};
constexpr const char* LANGUAGE_TITLE = "Language / Langue / Sprache";
constexpr const char* LANGUAGE_BUTTON = "OK";

// Set when a fatal alert came while another alert was up: the program shuts
// down once the alert on screen has been dismissed.
int32_t fatal_pending = 0;

void copy_line(const char* from, char* to) { UTIL_strcpy(from ? from : "", to); }

void log_lines(const char* const lines[4])
{
    if (!error_log.is_open()) return;
    for (int i = 0; i < 4; ++i) error_log << lines[i] << '\n';
    error_log.flush();
}

void message_box(const char* const lines[4])
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i) text += "\n\n";
        text += lines[i];
    }
    PLAT_message_box(MESSAGE_BOX_TITLE, text.c_str());
}

// One pass of the box: the frame, the lines or the language choice, the button.
// Returns 1 when the box was dismissed.
int draw_and_poll_box(const char (&lines)[4][TEXT_SIZE], int code)
{
    OGL_draw_background();
    BTN_screen_frame(1, 18);
    const char* label;
    if (code == ALERT_LANGUAGE) {
        int32_t& language = sim_operation_prefs_misc.language;
        for (int v = 0; v < LANGUAGE_CHOICES; ++v)
            BTN_radio_button(screen.screen_area_width / 2.0f - 25.0f, LANGUAGE_Y[v], &language, v,
                             LANGUAGE_NAMES[v]);
        UTIL_strcpy(LANGUAGE_TITLE, screen.screen_title);
        label = LANGUAGE_BUTTON;
    } else {
        for (int i = 0; i < 4; ++i)
            OGL_draw_string(LINE_COLOUR, LINE_X, LINE_Y[i], lines[i], screen.screen_area_width - 20.0f, LINE_FONT);
        label = LANG_ui_text(BUTTON_LABEL_TEXT);
    }
    const int pressed = BTN_push_button(screen.screen_area_width / 2.0f, BUTTON_Y, 0, 1, label);
    if (pressed || enter_pressed) {
        enter_pressed = 0;
        return 1;
    }
    return 0;
}

}  // namespace

void MACIBM_set_alert_handler(alert_handler_fn handler) { alert_handler = handler; }
alert_handler_fn MACIBM_get_alert_handler() { return alert_handler; }

void MACIBM_nuke_alert(int return_mode, const char* line1, const char* line2, const char* line3,
                       const char* line4, int code)
{
    const char* passed[4] = {line1 ? line1 : "", line2 ? line2 : "", line3 ? line3 : "", line4 ? line4 : ""};

    char lines[4][TEXT_SIZE];
    for (int i = 0; i < 4; ++i) copy_line(passed[i], lines[i]);
    if (code == ALERT_ABOUT) {
        for (int i = 0; i < 3; ++i) UTIL_strcpy(ABOUT_LINES[i], lines[i]);
    } else {
        const char* copies[4] = {lines[0], lines[1], lines[2], lines[3]};
        log_lines(copies);
    }

    if (alert_handler) {
        alert_handler(return_mode, passed, code);
        return;
    }

    // Another alert is up: this one is not shown, but it stays in the log, and
    // a fatal one ends the program once the box on screen is dismissed.
    if (app_mode == MODE_ALERT) {
        if (code == ALERT_FATAL) fatal_pending = 1;
        return;
    }

    if (gl_ready == 0) {
        message_box(passed);
    } else {
        const float kept_x = mouse.mouse_x, kept_y = mouse.mouse_y;
        // Quitting while the box is up (the window closed) dismisses it.
        const int32_t quit_at_open = quit_flag;
        APPLICATION_set_mode(MODE_ALERT, "from alert open");
        // The Return or click that led to the alert does not dismiss it unseen.
        enter_pressed = 0;
        mouse.mouse_down = 0;
        while (app_mode == MODE_ALERT) {
            const int dismissed = draw_and_poll_box(lines, code) || (quit_flag && !quit_at_open);
            if (dismissed) {
                if (code == ALERT_FATAL || fatal_pending) break;
                APPLICATION_set_mode(return_mode, "from alert close");
                mouse.mouse_x = kept_x;
                mouse.mouse_y = kept_y;
            }
            if (app_mode == MODE_ALERT) MACIBM_do_frame();
        }
    }

    if (code == ALERT_FATAL || fatal_pending) {
        fatal_pending = 0;
        MACIBM_fatal_exit();
    }
}
