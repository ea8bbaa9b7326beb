// The layout of every settings screen in the started program, tab by tab
// (each tab chosen by a click through the window's messages): the widget
// kit's recording seam collects the boxes each frame draws, and every
// caption lies inside its screen's window, overlapping no control, no other
// caption and no text the screen draws; no two controls overlap, and no two
// of the screen's own texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/geo.h"
#include "core/screen.h"
#include "graphics/widget_record.h"
#include "links/net_slots.h"
#include "platform/plat_events.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

struct recorded_box {
    widget_box_kind kind;
    float x1, y1, x2, y2;
    std::string text;
};
std::vector<recorded_box> boxes;

void record(const widget_box& b) { boxes.push_back({b.kind, b.x1, b.y1, b.x2, b.y2, b.text}); }

class ScreenLayout : public started_program {
protected:
    // The screens' frames are drawn; the flying frames between them are not
    // looked at.
    const unseen_frames unseen;
    static void frame() { test_clock_seconds += 0.05, MACIBM_do_frame(); }

    static void click(float x, float y)
    {
        click_over_frames(x, y, frame);
        PLAT_post_message(WM_MOUSEMOVE, 0, 0);   // the pointer away from every control
        frame();
    }

    // The boxes of one frame of what is up.
    static std::vector<recorded_box> one_frame()
    {
        boxes.clear();
        WIDGET_set_recorder(record);
        frame();
        WIDGET_set_recorder(nullptr);
        return boxes;
    }
};

// Two boxes (left and bottom edges in, right and top edges out) share some of their area.
bool overlap(const recorded_box& a, const recorded_box& b)
{
    return std::min(a.x2, b.x2) - std::max(a.x1, b.x1) > 0.0f && std::min(a.y2, b.y2) - std::max(a.y1, b.y1) > 0.0f;
}

std::string describe(const recorded_box& b)
{
    static const char* const names[] = {"caption", "control", "frame", "window", "text"};
    char s[200];
    std::snprintf(s, sizeof s, "%s \"%.40s\" (%g,%g)-(%g,%g)", names[b.kind], b.text.c_str(), b.x1, b.y1, b.x2, b.y2);
    return s;
}

// Every fault of the layout of one frame, one line each.
std::vector<std::string> layout_faults(const std::vector<recorded_box>& all)
{
    std::vector<std::string> faults;
    const recorded_box* window = nullptr;
    for (const recorded_box& b : all)
        if (b.kind == WIDGET_BOX_WORK_AREA) window = &b;
    if (!window) return {"no window drawn"};
    for (size_t i = 0; i < all.size(); ++i) {
        const recorded_box& a = all[i];
        if (a.kind == WIDGET_BOX_CAPTION &&
            (a.x1 < window->x1 + 4.0f || a.x2 > window->x2 - 4.0f || a.y1 < window->y1 || a.y2 > window->y2))
            faults.push_back(describe(a) + " runs out of the window");
        if (a.kind == WIDGET_BOX_FIELD &&
            (a.x1 < window->x1 || a.x2 > window->x2 || a.y1 < window->y1 || a.y2 > window->y2))
            faults.push_back(describe(a) + " runs out of the window");
        for (size_t j = i + 1; j < all.size(); ++j) {
            const recorded_box& b = all[j];
            const bool checked = (a.kind == WIDGET_BOX_CAPTION &&
                                  (b.kind == WIDGET_BOX_CAPTION || b.kind == WIDGET_BOX_FIELD || b.kind == WIDGET_BOX_TEXT)) ||
                                 (b.kind == WIDGET_BOX_CAPTION &&
                                  (a.kind == WIDGET_BOX_FIELD || a.kind == WIDGET_BOX_TEXT)) ||
                                 (a.kind == WIDGET_BOX_FIELD && b.kind == WIDGET_BOX_FIELD) ||
                                 (a.kind == WIDGET_BOX_TEXT && b.kind == WIDGET_BOX_TEXT);
            if (checked && overlap(a, b)) faults.push_back(describe(a) + " overlaps " + describe(b));
        }
    }
    return faults;
}

struct screen_case {
    int command;
    int mode;
    int tabs;
};

}  // namespace

TEST_F(ScreenLayout, NoCaptionLeavesItsWindowOrOverlapsAnotherWidget)
{
    // Every role of the network screen enabled, so each row shows its fields.
    for (int i = 0; i < NET_SLOT_COUNT; ++i) net_slot_enabled[i] = 1;

    const screen_case screens[] = {
        {616, MODE_START_SCREEN, 1}, {608, MODE_DATE_TIME, 1},   {607, MODE_WEATHER, 3},
        {610, MODE_WEIGHT_FUEL, 2},  {611, MODE_FAILURES, 6},    {601, MODE_JOYSTICK, 3},
        {603, MODE_SOUND, 1},        {604, MODE_RENDERING, 1},   {605, MODE_MOVIE, 1},
        {600, MODE_NETWORK, 2},      {613, MODE_OPERATION_PREFS, 1}, {614, MODE_AIRCRAFT_PATHS, 1},
        {1220, MODE_PLANET, 1},      {408, MODE_AIRPORT_LIST, 1},
    };
    std::string report;
    for (const screen_case& s : screens) {
        APPLICATION_handlemenu(s.command);
        frame();
        ASSERT_EQ(app_mode, s.mode) << s.command;
        for (int tab = 0; tab < s.tabs; ++tab) {
            if (s.tabs > 1) click(88.0f * static_cast<float>(tab) + 62.0f, screen.screen_area_height - 38.0f);
            const auto drawn = one_frame();
            for (const std::string& f : layout_faults(drawn))
                report += "screen " + std::to_string(s.mode) + " tab " + std::to_string(tab) + ": " + f + "\n";
        }
        APPLICATION_set_mode(MODE_FLYING, "from test");
        frame();
    }
    for (int i = 0; i < NET_SLOT_COUNT; ++i) net_slot_enabled[i] = 0;
    EXPECT_TRUE(report.empty()) << report;
}

// The airport list shows its current airport on its middle line and the
// others 10 units a row above and below it (at the first airport the rows
// above stay empty); a click on a row chooses the airport shown there.
TEST_F(ScreenLayout, TheAirportListKeepsItsRowInTheMiddleAndAClickChoosesTheRowShown)
{
    start_selection.airport_index = 0;
    APPLICATION_handlemenu(408);
    frame();
    ASSERT_EQ(app_mode, MODE_AIRPORT_LIST);
    ASSERT_GT(airport_table.size(), 41u);
    constexpr float list_x = 20.0f, list_middle = 180.0f;
    click(list_x + 100.0f, list_middle - 10.0f * 3.0f);
    EXPECT_EQ(start_selection.airport_index, 3);
    click(list_x + 100.0f, list_middle + 10.0f);
    EXPECT_EQ(start_selection.airport_index, 2);
    click(list_x + 100.0f, list_middle);
    EXPECT_EQ(start_selection.airport_index, 2);
    // Far down the list the row above the middle is the one before.
    start_selection.airport_index = 20;
    frame();
    click(list_x + 100.0f, list_middle + 10.0f);
    EXPECT_EQ(start_selection.airport_index, 19);
    APPLICATION_set_mode(MODE_FLYING, "from test");
    frame();
}
