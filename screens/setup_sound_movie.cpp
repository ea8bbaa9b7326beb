// Screens 5, 7 and 1: the sound switches and master volume, the movie
// recording settings, and the credits page.
#include <cstdint>

#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/simvars/screen_settings.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "links/movie.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"

namespace {

constexpr int FRAME_STYLE_BOX = 15;
constexpr int INNER_NONE = 18;
constexpr float NO_WRAP = 9999.0f;

void text(float x, float y, int entry)
{
    OGL_draw_string(SCREEN_TEXT_COLOUR, x, y, LANG_ui_text(entry), NO_WRAP, SCREEN_TEXT_FONT);
}

// The credits page, in the program's own words.
constexpr const char* CREDIT_LINES[CREDIT_LINE_COUNT] = {
    "Orvell flight simulator",
    "",
    "Flight model, aircraft and engines: the Orvell flight-model team",
    "World, airports, navigation data and air traffic control: the Orvell world team",
    "Scenery, sky, sea and weather drawing: the Orvell scene team",
    "Cockpit panels and instruments: the Orvell panel team",
    "Settings screens, map and operator station: the Orvell interface team",
    "Network, data output, controllers and plug-ins: the Orvell links team",
    "Sounds, speech and movie recording: the Orvell links team",
    "Aircraft, airfoils, pictures and sounds made by the project's own generators",
    "Navigation and airport data written from public facts",
    "",
    "Thanks to the free libraries this program is built on",
    "and to everyone who flew the test builds.",
    "Close this page with either box at the top.",
};

}  // namespace

const char* const* SETUP_credit_lines() { return CREDIT_LINES; }

void SETUP_sound()
{
    BTN_screen_frame(1, INNER_NONE);
    SCREEN_place_box(0.0f, FRAME_STYLE_BOX, -1.0f, -1.0f, -1.0f, 140.0f, "");

    BTN_check_box(26.0f, 265.0f, &sim_operation_sound.sound_on, LANG_ui_text(191), 0);
    BTN_check_box(46.0f, 245.0f, &sim_operation_prefs.has_headset_on, LANG_ui_text(192), 0);
    BTN_check_box(26.0f, 225.0f, &sim_operation_prefs.warn_bb, LANG_ui_text(193), 0);
    BTN_check_box(26.0f, 205.0f, &screen_settings.radio_chatter_on, LANG_ui_text(194), 0);
    BTN_check_box(26.0f, 185.0f, &sim_operation_sound.speech_on, LANG_ui_text(195), 0);
    BTN_check_box(26.0f, 165.0f, &sim_operation_prefs.text_out, LANG_ui_text(196), 0);

    BTN_slider(310.0f, 243.0f, 0, 0.01f, 1.0f, &screen_settings.sound_volume, 1, LANG_ui_text(628), "");

    if (sim_operation_sound.has_speech_synth) {
        text(20.0f, 130.0f, 284);
    } else {
        text(20.0f, 130.0f, 285);
        text(20.0f, 110.0f, 287);
    }
}

void SETUP_movie()
{
    BTN_screen_frame(1, INNER_NONE);
    float scratch_x = 0.0f;   // the box's far x is not kept
    BTN_place_frame(0.0f, FRAME_STYLE_BOX, -1.0f, -1.0f, -1.0f, 296.0f, "", &scratch_x, &frame_next_y);

    BTN_digit_field(150.0f, 415.0f, &movie_frame_rate, 2, 0, 10.0f, 99.0f, LANG_ui_text(527));
    BTN_digit_field_int(130.0f, 365.0f, &movie_width, 4, 160.0f, 1024.0f, LANG_ui_text(528));
    BTN_digit_field_int(197.0f, 365.0f, &movie_height, 4, 160.0f, 768.0f, LANG_ui_text(529));
    // A file chosen, even the same one again, starts its takes at 1. A
    // cancelled browser keeps the count: started again at 1, the next take of
    // the name kept would be written over its earlier take 1.
    int chosen = 0;
    if (BTN_file_field(35.0f, 321.0f, movie_file_name, movie_file_path, KIND_MOVIE, MODE_BROWSER_SAVE, LANG_ui_text(599),
                       &chosen) &&
        chosen)
        movie_take_counter = 0;

    if (movie_keys_enabled) {
        text(20.0f, 285.0f, 723);
    } else {
        text(20.0f, 285.0f, 724);
        text(20.0f, 255.0f, 725);
        text(20.0f, 245.0f, 726);
    }
    text(20.0f, 225.0f, 727);
    text(20.0f, 195.0f, 728);
    text(20.0f, 165.0f, 729);
    text(20.0f, 125.0f, 730);
    text(20.0f, 75.0f, 731);
}

void SETUP_credits()
{
    BTN_screen_frame(1, FRAME_STYLE_BOX);
    const float width = screen.screen_area_width;
    const float height = screen.screen_area_height;
    OGL_scissor_on(0.0f, 0.0f, width - 10.0f, height);
    for (int k = 0; k < CREDIT_LINE_COUNT; ++k)
        OGL_draw_string(SCREEN_TEXT_COLOUR, 50.0f, height - 84.0f - 20.0f * static_cast<float>(k), CREDIT_LINES[k],
                        NO_WRAP, SCREEN_TEXT_FONT);
    OGL_scissor_off();
}
