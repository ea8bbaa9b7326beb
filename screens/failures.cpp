// Screen 11: the failure state and trigger value of every failure slot of the
// user's plane, on six tabs, with the mean time between failures and a button
// that sets every slot working again.
//
// Writes flt[0].failures (a user's choice only), flt[0].failure_param,
// sim_operation_failures.mean_time_between_failure_hrs and, every frame, the
// landing gear's tire_drag_dis; reads acf_num_engines of the user's aircraft.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/failure_slots.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"

small_screens_state small_screens;

ORVELL_RESET_RECORD(SETUP_small_screens_reset, small_screens, program);

namespace {

struct failure_group {
    int first, last;   // slots; for a per-engine group the last is first + 7
    bool per_engine;
    float x;
    int row_base;      // row = slot - row_base
    int caption;       // caption entry; -1: 292 + slot, -2: 971 + slot, -3: 690 + slot, -4: 950 + slot - 42
};

constexpr failure_group GROUPS[] = {
    {0, 8, false, 200.0f, 0, -1},        {9, 16, false, 500.0f, 9, -2},       {17, 31, false, 200.0f, 17, -1},
    {32, 41, false, 500.0f, 32, -1},     {42, 49, false, 800.0f, 42, -4},     {50, 57, true, 200.0f, 50, 334},
    {58, 65, true, 200.0f, 50, 335},     {66, 73, true, 500.0f, 66, 584},     {74, 81, true, 500.0f, 66, 338},
    {98, 105, true, 200.0f, 98, 336},    {106, 113, true, 200.0f, 98, 337},   {114, 121, true, 500.0f, 114, 520},
    {122, 129, true, 500.0f, 114, 199},  {130, 137, true, 800.0f, 130, 523},  {138, 149, false, 200.0f, 138, -3},
    {150, 157, false, 500.0f, 150, -3},  {158, 173, false, 800.0f, 158, -3},
};

// The slots each tab shows.
constexpr int TAB_FIRST[6] = {-1, 0, 17, 50, 98, 138};
constexpr int TAB_LAST[6] = {-2, 16, 49, 81, 137, 173};

int caption_entry(const failure_group& g, int slot)
{
    switch (g.caption) {
    case -1: return 292 + slot;
    case -2: return 971 + slot;
    case -3: return 690 + slot;
    // Slots 42..49 (anti-ice, electrical, hydraulics, ...) captioned 292 + slot
    // would take entries 334..341, which the engine groups' rows use (334
    // "Engine fire", 335 "Engine", 336 "Oil system", ...) and the weight
    // screen's fields after them: the anti-ice row would read "Engine fire". They
    // take their own entries 950..957 instead.
    case -4: return 950 + slot - 42;
    default: return g.caption;
    }
}

}  // namespace

int setfailsit(int failure, float x, float y, const char* caption)
{
    if (!(x >= 0.0f && x <= static_cast<float>(screen.window_width) && y >= 0.0f &&
          y <= static_cast<float>(screen.window_height))) {
        MACIBM_nuke_alert(0, "x/y out of range in setfailsit!", "", "", "", ALERT_FATAL);
        return 0;
    }
    if (failure < 0 || failure >= FAILURE_SLOTS) {
        MACIBM_nuke_alert(0, "c-value out of range in setfailsit!", "", "", "", ALERT_FATAL);
        return 0;
    }
    // A state outside 0..6 can come from a plug-in or a network peer. Ending the
    // program over it, with the fatal alert, would let any of them stop the
    // simulator mid-flight: it is named once in ERROR.OUT and shown as 0 on a
    // working copy instead; only a choice made in the pop-up is stored.
    int state = flt[0].failures[failure];
    if (state < FAILURE_STATE_MTBF || state > FAILURE_STATE_FAILED) {
        if (!small_screens.bad_state_logged) {
            small_screens.bad_state_logged = 1;
            error_log << "Bad index for util_set_fail_sit! slot " << failure << " state " << state << " (" << caption
                      << ")\n";
            error_log.flush();
        }
        state = FAILURE_STATE_MTBF;
    }
    char value_caption[TEXT_SIZE] = {};
    if (state >= FAILURE_STATE_MEAN_MINUTES && state <= FAILURE_STATE_ABOVE_ALTITUDE)
        UTIL_strcpy(LANG_ui_text(88 + state), value_caption);

    int choice = state;
    int result = BTN_text_list(x, y, &choice, LANG_ui_text(93), caption);
    if (result) flt[0].failures[failure] = choice;
    if (value_caption[0])
        result = BTN_digit_field_auto(x + 78.0f, y, &flt[0].failure_param[failure], 5, 2, 0, value_caption);
    return result;
}

void SETUP_failures()
{
    BTN_screen_frame(1, 1);
    int& tab = small_screens.failures_tab;
    const int tab_captions[6] = {544, 976, 977, 893, 894, 895};
    for (int n = 0; n < 6; ++n) BTN_tab(n, 0, &tab, LANG_ui_text(tab_captions[n]));
    if (tab < 0 || tab > 5) tab = 0;   // a tab read from elsewhere past the six would index past the tab tables

    if (tab == 0)
        BTN_digit_field_auto(175.0f, 65.0f, &sim_operation_failures.mean_time_between_failure_hrs, 5, 0, 0,
                             LANG_ui_text(190));

    const float h = screen.screen_area_height;
    if (BTN_push_button(918.0f, h - 35.0f, 0, 1, LANG_ui_text(283)))
        std::fill(std::begin(flt[0].failures), std::end(flt[0].failures), FAILURE_STATE_MTBF);

    // Held to the eight engine slots of each group: a larger count would show
    // the next group's slots under this group's caption.
    const int engines = std::clamp(pln[0].acf_num_engines, 0, 8);
    for (const failure_group& g : GROUPS) {
        const int last = g.per_engine ? g.first + engines - 1 : g.last;
        for (int slot = g.first; slot <= last; ++slot) {
            if (slot < TAB_FIRST[tab] || slot > TAB_LAST[tab]) continue;
            const float y = h - 90.0f - 40.0f * static_cast<float>(slot - g.row_base);
            // The rows of one engine group share a caption: each names its
            // engine by number, or a twin's rows would read alike.
            char caption[TEXT_SIZE];
            UTIL_strcpy(LANG_ui_text(caption_entry(g, slot)), caption);
            const size_t used = std::strlen(caption);
            if (g.per_engine) std::snprintf(caption + used, sizeof caption - used, " %d", slot - g.first + 1);
            setfailsit(slot, g.x, y, caption);
        }
    }

    for (int p = FLT_FIRST_GEAR_PART; p < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT; ++p) flt[0].tire_drag_dis[p] = 0.0f;
}
