// End to end: a data group ticked for the screen on the network and data
// output screen, by a click through the window's messages, shows its values
// over the flying view; the position group's longitude at KSBD, west of
// Greenwich, reads with its minus sign and its full stop: "-117.xx".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "platform/plat_events.h"
#include "scene/effects/overlay.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "tests/support/modes_harness.h"
#include "tests/support/ui_capture.h"

namespace {

constexpr int DATA_FONT = 107;
constexpr int POSITION_GROUP = 18;   // latitude, longitude, elevation ...

class DataOnScreen : public started_program {
protected:
    static void frame() { test_clock_seconds += 0.05, MACIBM_do_frame(); }

    // A click at a point of the open screen's work area, down in one frame and up in the next.
    static void click(float x, float y)
    {
        click_over_frames(x, y, frame);
    }
};

// The texts of a font among the quads, one per row from the top; a glyph
// drawn a unit lower (the full stop) belongs to the row above it.
std::vector<std::string> rows_of(int font, const std::vector<fb_rect>& rects)
{
    std::map<float, std::vector<fb_rect>, std::greater<>> rows;
    for (const fb_rect& r : rects) {
        if (glyph_of(font, r) == 0) continue;
        auto near = rows.find(r.y1 + 1.0f);
        if (near == rows.end()) near = rows.find(r.y1);
        if (near == rows.end()) near = rows.emplace(r.y1, std::vector<fb_rect>{}).first;
        near->second.push_back(r);
    }
    std::vector<std::string> out;
    for (auto& [y, rs] : rows) {
        std::string s;
        for (const fb_rect& r : sorted_by_x(rs)) s += static_cast<char>(glyph_of(font, r));
        out.push_back(s);
    }
    return out;
}

}  // namespace

TEST_F(DataOnScreen, ANegativeLongitudeShowsItsMinusAndItsFullStop)
{
    ASSERT_LT(flt[0].longitude, -100.0);   // the default start, KSBD
    const unseen_frames unseen;   // the overlay is looked at drawn alone
    APPLICATION_handlemenu(600);
    frame();
    ASSERT_EQ(app_mode, MODE_NETWORK);
    // The position group's fourth box (shown on the screen), in the table's
    // first column: group 18 sits below five spacer rows.
    ASSERT_EQ(sim_network_dataout.data_to_screen[POSITION_GROUP], 0);
    click(60.0f + 54.0f, 680.0f - 18.0f * static_cast<float>(POSITION_GROUP + 5));
    ASSERT_EQ(sim_network_dataout.data_to_screen[POSITION_GROUP], 1);
    click(12.0f, screen.screen_area_height - 10.0f);   // the close box
    ASSERT_EQ(app_mode, MODE_FLYING);
    frame();

    const auto rects = capture_rects([] {
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        SCENE_draw_overlay();
    });
    const auto rows = rows_of(DATA_FONT, rects);
    char expected[16];
    std::snprintf(expected, sizeof expected, "-%.0f.", std::trunc(-flt[0].longitude));
    const bool shown = std::any_of(rows.begin(), rows.end(),
                                   [&](const std::string& r) { return r.find(expected) != std::string::npos; });
    std::string all;
    for (const auto& r : rows) all += "[" + r + "] ";
    EXPECT_TRUE(shown) << "no " << expected << " among " << all;

    sim_network_dataout.data_to_screen[POSITION_GROUP] = 0;
}
