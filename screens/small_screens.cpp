// Screens 12, 14, 20 and 21: the operating preferences, the aircraft paths and
// start states of the special flight starts, the pilot's logbook, and the
// text pages.
//
// Screen 12 writes the sim_operation_prefs flags, debug_network and
// log_frame_timing; screen 14 screen_settings.situation_acf_paths and
// situation_start_values; screen 20 logbook_path and the logbook arrays
// (through the logbook's own routines); screen 21 only its page tab.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/pilot_prefs.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/simvars/screen_settings.h"
#include "core/text_util.h"
#include "core/time_probe.h"
#include "core/ui_text.h"
#include "flightmodel/systems/logbook.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"

namespace {

constexpr int STYLE_GROUP = 13;
constexpr int STYLE_BOX = 15;

// The logbook's columns: date, tail number, aircraft, from, to, landings and
// the four totals.
constexpr float LOGBOOK_COLUMN_X[] = {52.0f, 105.0f, 154.0f, 358.0f, 418.0f, 490.0f, 550.0f, 610.0f, 670.0f, 730.0f};
constexpr int LOGBOOK_COLUMNS = static_cast<int>(std::size(LOGBOOK_COLUMN_X));

// The column headings (one text, the captions apart by two blanks or more),
// each caption over its column. Drawn as one string in the proportional font
// the captions fall where their widths put them, away from the columns the
// values are drawn at; a text with more captions than columns has the rest
// after the last column's caption.
void logbook_headings()
{
    const char* text = LANG_ui_text(291);
    const size_t len = std::strlen(text);
    size_t at = 0;
    for (int k = 0; k < LOGBOOK_COLUMNS && at < len; ++k) {
        while (at < len && text[at] == ' ') ++at;
        size_t end = at;
        if (k + 1 < LOGBOOK_COLUMNS)
            while (end < len && !(text[end] == ' ' && (end + 1 >= len || text[end + 1] == ' '))) ++end;
        else
            end = len;
        SCREEN_string(LOGBOOK_COLUMN_X[k], 550.0f, std::string(text + at, end - at).c_str());
        at = end;
    }
}

}  // namespace

void SETUP_operation_prefs()
{
    BTN_screen_frame(1, 18);
    const float h = screen.screen_area_height;
    sim_operation_prefs_block& p = sim_operation_prefs;
    struct row {
        float below_top;
        int32_t* value;
        int entry;
    };
    const row rows[] = {
        {49.0f, &p.startup_on_ramp, 515},        {69.0f, &p.startup_running, 197},
        {109.0f, &p.warn_overspeed, 202},        {129.0f, &p.warn_overgforce, 203},
        {149.0f, &p.warn_overspeed_flaps, 204},  {169.0f, &p.warn_overspeed_gear, 205},
        {189.0f, &p.reset_on_crash, 511},        {229.0f, &p.warn_nonobvious_stuff, 516},
        {249.0f, &p.warn_framerate_low, 206},    {269.0f, &sim_operation_misc.debug_network, 514},
        {289.0f, &log_frame_timing, 998},
    };
    for (const row& r : rows) BTN_check_box(26.0f, h - r.below_top, r.value, LANG_ui_text(r.entry), 0);
}

void SETUP_display_name_of_path(const char* path, char* out)
{
    // The text after the last '\' or ':' past the path's first character.
    const char* start = path;
    for (const char* c = path + (path[0] ? 1 : 0); *c; ++c)
        if (*c == '\\' || *c == ':') start = c + 1;
    UTIL_strcpy(start, out);
}

void SETUP_aircraft_paths()
{
    BTN_screen_frame(1, 18);
    SCREEN_place_box(0.0f, STYLE_GROUP, 10.0f, 10.0f, -1.0f, 206.0f, "");
    SCREEN_place_box(0.0f, STYLE_GROUP, 10.0f, frame_next_y, -1.0f, -1.0f, "");

    // The five aircraft paths (acf_paths) are the situations' own
    // situation_acf_paths, and the two start states (start_state_a and
    // start_state_b) their situation_start_values[0] and [1]: speed, altitude
    // and heading each. One store, so the situations read what is set here.
    screen_settings_block& ss = screen_settings;
    const float ys[SITUATION_ACF_PATHS] = {350.0f, 325.0f, 300.0f, 275.0f, 250.0f};
    const int captions[SITUATION_ACF_PATHS] = {618, 619, 691, 692, 693};
    for (int k = 0; k < SITUATION_ACF_PATHS; ++k) {
        char* path = ss.situation_acf_paths[k];
        // A path from the preference file may fill all 500 bytes with no end
        // byte; reading its display name would then run past the buffer. Its
        // last byte is made the end, so such a path is cut at 499 characters.
        path[TEXT_SIZE - 1] = 0;
        char name[TEXT_SIZE];
        SETUP_display_name_of_path(path, name);
        BTN_file_field(55.0f, ys[k], name, path, KIND_AIRCRAFT, MODE_BROWSER_OPEN, LANG_ui_text(captions[k]));
    }

    float(&a)[3] = ss.situation_start_values[0];
    float(&b)[3] = ss.situation_start_values[1];
    BTN_digit_field_auto(205.0f, 165.0f, &a[0], 5, 0, 0, LANG_ui_text(694));
    BTN_digit_field_auto(195.0f, 115.0f, &a[1], 6, 0, 0, LANG_ui_text(695));
    BTN_digit_field(225.0f, 65.0f, &a[2], 3, 0, 0.0f, 360.0f, LANG_ui_text(696));
    BTN_digit_field_auto(285.0f, 165.0f, &b[0], 5, 0, 0, LANG_ui_text(697));
    BTN_digit_field_auto(275.0f, 115.0f, &b[1], 6, 0, 0, LANG_ui_text(698));
    BTN_digit_field(305.0f, 65.0f, &b[2], 3, 0, 0.0f, 360.0f, LANG_ui_text(699));
}

void SETUP_text_pages()
{
    BTN_screen_frame(1, 1);
    const float w = screen.screen_area_width, h = screen.screen_area_height;
    BTN_frame2(STYLE_BOX, 20.0f, 20.0f, w - 40.0f, h - 82.0f, "");
    int& page = small_screens.text_pages_tab;
    for (int n = 0; n < 5; ++n) BTN_tab(n, 0, &page, LANG_ui_text(896 + n));
    for (int k = 0; k < 4; ++k)
        OGL_draw_string(SCREEN_TEXT_COLOUR, 30.0f, h - 92.0f - 30.0f * static_cast<float>(k),
                        LANG_ui_text(901 + 4 * page + k), w - 70.0f, SCREEN_TEXT_FONT);
}

void SETUP_logbook()
{
    BTN_screen_frame(1, 18);
    BTN_frame2(STYLE_BOX, 20.0f, 20.0f, 770.0f, 562.0f, "");

    // logbook_path holds a file name of up to 39 characters, not a 500-character
    // path: the pilot preference files already written keep it in a
    // 40-character line, and the logbook routines read and write it in the
    // logbooks folder. So a chosen name is cut to 39 characters and the
    // folder chosen in the browser is not kept.
    char name[TEXT_SIZE], path[TEXT_SIZE];
    logbook_path[PILOT_NAME_SIZE - 1] = 0;   // a name without its end would be read on past the field
    UTIL_strcpy(static_cast<const char*>(logbook_path), name);
    UTIL_strcpy(static_cast<const char*>(logbook_path), path);
    auto take_name = [&] {
        std::memset(logbook_path, 0, PILOT_NAME_SIZE);
        std::snprintf(logbook_path, PILOT_NAME_SIZE, "%.*s", PILOT_NAME_SIZE - 1, name);
    };
    // Opening another logbook saves the current one first; a new one does not.
    if (BTN_push_button(80.0f, 600.0f, 0, 1, LANG_ui_text(289)) &&
        UI_open_file_browser(MODE_BROWSER_OPEN, KIND_LOG, name, path)) {
        LOGBOOK_write();
        take_name();
        LOGBOOK_read();
    }
    UTIL_strcpy(static_cast<const char*>(logbook_path), name);
    UTIL_strcpy(static_cast<const char*>(logbook_path), path);
    if (BTN_push_button(202.0f, 600.0f, 0, 1, LANG_ui_text(290)) &&
        UI_open_file_browser(MODE_BROWSER_SAVE, KIND_LOG, name, path)) {
        take_name();
        LOGBOOK_clear();
    }

    OGL_draw_string(SCREEN_TEXT_COLOUR, 52.0f, 562.0f, logbook_path, SCREEN_NO_WRAP, 106);
    logbook_headings();

    // A last index from a damaged logbook file beyond the arrays would have the
    // rows read past them: the list stops at the arrays' end. The scroll is held
    // to 0..last likewise, so no row index runs outside the entries.
    const int last = std::min(logbook_last, LOGBOOK_MAX_ENTRIES - 1);
    int& scroll = small_screens.logbook_scroll;
    scroll = std::clamp(scroll, 0, std::max(last, 0));
    BTN_scroll_bar(806.0f, 20.0f, 20.0f + 582.0f, 0, std::max(last, 0), &scroll);
    scroll = std::clamp(scroll, 0, std::max(last, 0));

    int count_sum = 0;
    int64_t sums[4] = {};
    const logbook_arrays& lb = logbook;
    // The hours as the file's lines hold them: tenths, with what a line's
    // rounding leaves over carried to the next, so the rows add up to the
    // totals row and the totals to the hours flown.
    const std::vector<logbook_tenths> tenths = LOGBOOK_line_tenths();
    auto field = [](const char* text, int size, char* out) {
        std::memset(out, 0, TEXT_SIZE);
        std::memcpy(out, text, static_cast<size_t>(size - 1));
    };
    for (int i = 0; i <= last; ++i) {
        const logbook_tenths& totals = tenths[static_cast<size_t>(i)];
        for (int k = 0; k < 4; ++k) sums[k] += totals[static_cast<size_t>(k)];
        count_sum += lb.landings[i];
        const int r = i - scroll;
        if (r < 0 || r > 39) continue;
        const float y = 538.0f - 12.0f * static_cast<float>(r);
        const int code = lb.date[i];
        const int parts[3] = {code / 10000, (code / 100) % 100, code % 100};
        const float part_x[3] = {52.0f, 70.0f, 88.0f};
        for (int k = 0; k < 3; ++k)
            OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, part_x[k], y, static_cast<float>(parts[k]), 2, 0, 0,
                                SCREEN_TEXT_FONT);
        SCREEN_string(64.0f, y, "-");
        SCREEN_string(82.0f, y, "-");
        char text[TEXT_SIZE];
        field(lb.tail[i], LOGBOOK_TAIL_SIZE, text);
        SCREEN_string(LOGBOOK_COLUMN_X[1], y, text);
        field(lb.aircraft[i], LOGBOOK_AIRCRAFT_SIZE, text);
        OGL_draw_string(SCREEN_TEXT_COLOUR, LOGBOOK_COLUMN_X[2], y, text, SCREEN_NO_WRAP, 106);
        field(lb.from[i], LOGBOOK_AIRPORT_SIZE, text);
        SCREEN_string(LOGBOOK_COLUMN_X[3], y, text);
        field(lb.to[i], LOGBOOK_AIRPORT_SIZE, text);
        SCREEN_string(LOGBOOK_COLUMN_X[4], y, text);
        OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, LOGBOOK_COLUMN_X[5], y, static_cast<float>(lb.landings[i]), 2, 0, 0,
                            SCREEN_TEXT_FONT);
        for (int k = 0; k < 4; ++k)
            OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, LOGBOOK_COLUMN_X[6 + k], y,
                                static_cast<float>(totals[static_cast<size_t>(k)]) / 10.0f, 3, 1, 0, SCREEN_TEXT_FONT);
    }
    OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, 478.0f, 58.0f, static_cast<float>(count_sum), 4, 0, 0, SCREEN_TEXT_FONT);
    for (int k = 0; k < 4; ++k)
        OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, 544.0f + 60.0f * static_cast<float>(k), 58.0f,
                            static_cast<float>(sums[k]) / 10.0f, 4, 1, 0, SCREEN_TEXT_FONT);
}
