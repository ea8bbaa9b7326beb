// The alert box: a mode of its own (996) whose modal loop runs frames until
// the box is dismissed, drawn with the widgets; before the window can draw,
// the platform's message box. The alert routine in core/ calls it.
#include "shell/alert_box.h"

#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/widget.h"
#include "shell/frame.h"
#include "shell/lang.h"
#include "shell/main.h"
#include "shell/modes.h"

namespace {

constexpr int LINE_COLOUR = 45;
constexpr int LINE_FONT = 106;
constexpr float LINE_X = 10.0f;
constexpr float LINE_Y[4] = {185.0f, 145.0f, 105.0f, 65.0f};
constexpr float BUTTON_Y = 18.0f;
constexpr int BUTTON_LABEL_TEXT = 602;

// The language choice: one radio button per language, a title and a button word.
constexpr const char* LANGUAGE_NAMES[LANGUAGE_COUNT] = {"English", "Francais", "Deutsch", "Italiano",
                                                          "Espanol", "Hangugeo", "Portugues"};
constexpr float LANGUAGE_Y[LANGUAGE_COUNT] = {180, 160, 140, 120, 100, 80, 60};
constexpr const char* LANGUAGE_TITLE = "Language / Langue / Sprache";
constexpr const char* LANGUAGE_BUTTON = "OK";

// Set when a fatal alert came while another alert was up: the program shuts
// down once the alert on screen has been dismissed.
int32_t fatal_pending = 0;
ORVELL_RESET_RECORD(ALERT_BOX_fatal_pending_reset, fatal_pending, program);

// One pass of the box: the frame, the lines or the language choice, the button.
// Returns 1 when the box was dismissed.
int draw_and_poll_box(const char* const lines[4], int code)
{
    OGL_draw_background();
    BTN_screen_frame(1, 18);
    const char* label;
    if (code == ALERT_LANGUAGE) {
        int32_t& language = sim_operation_prefs_misc.language;
        for (int v = 0; v < LANGUAGE_COUNT; ++v)
            BTN_radio_button(screen.screen_area_width / 2.0f - 25.0f, LANGUAGE_Y[v], &language, v,
                             LANGUAGE_NAMES[v]);
        UTIL_strcpy(LANGUAGE_TITLE, screen.screen_title);
        label = LANGUAGE_BUTTON;
    } else {
        for (int i = 0; i < 4; ++i)
            OGL_draw_string(LINE_COLOUR, LINE_X, LINE_Y[i], lines[i], screen.screen_area_width - 20.0f, LINE_FONT);
        label = LANG_ui_text(BUTTON_LABEL_TEXT);
        // A notice of the start (the key or menu file damaged) comes before
        // the interface texts are read: its button still says what it does.
        if (!label || !label[0]) label = LANGUAGE_BUTTON;
    }
    const int pressed = BTN_push_button(screen.screen_area_width / 2.0f, BUTTON_Y, 0, 1, label);
    if (pressed || enter_pressed || escape_pressed) {
        enter_pressed = escape_pressed = 0;
        return 1;
    }
    return 0;
}

}  // namespace

void ALERT_show_box(int return_mode, const char* const passed[4], const char* const lines[4], int code)
{
    // Another alert is up: only a fatal one reaches here (the alert routine
    // drops the others). It is not shown; logged before this call, it ends the
    // program once the box on screen is dismissed, instead of returning to a
    // caller that would run on past the fault.
    if (app_mode == MODE_ALERT) {
        if (code == ALERT_FATAL) fatal_pending = 1;
        return;
    }

    if (gl_ready == 0) {
        MACIBM_alert_message_box(code == ALERT_ABOUT ? passed : lines);
    } else {
        const float kept_x = mouse.mouse_x, kept_y = mouse.mouse_y;
        // Quitting while the box is up (the window closed) dismisses it: the
        // close asks the program to quit without changing the mode, so the
        // loop would otherwise keep the program running after the user closed
        // its window.
        const int32_t quit_at_open = quit_flag;
        APPLICATION_set_mode(MODE_ALERT, "from alert open");
        // The Return, Escape or click that led to the alert does not dismiss it: still
        // pending, it would close the box in its first pass, before it was ever
        // shown, and the user would never see the message.
        enter_pressed = escape_pressed = 0;
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
