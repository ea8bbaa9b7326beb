#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/plat_events.h"
#include "core/alert.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/input.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "graphics/widget_record.h"
#include "tests/support/modes_harness.h"

// The real alert box over frames.
using alert_box_test = harness_test;

TEST_F(alert_box_test, BoxRunsFramesUntilReturnThenGoesToTheReturnModeAndLogsItsLines)
{
    int boxes = 0;
    on_frame(press_return_in(MODE_ALERT, &boxes));
    mouse.mouse_x = 11.0f;
    mouse.mouse_y = 22.0f;
    enter_pressed = 1;   // the Return that led to the alert does not dismiss it unseen
    MACIBM_nuke_alert(0, "first line", "second line", "third line", "fourth line", ALERT_NOTICE);
    EXPECT_EQ(app_mode, 0);   // the return mode, not the mode that was up
    EXPECT_EQ(boxes, 1);
    EXPECT_FLOAT_EQ(mouse.mouse_x, 11.0f);
    EXPECT_FLOAT_EQ(mouse.mouse_y, 22.0f);
    const std::string logged = "first line\nsecond line\nthird line\nfourth line\n";
    EXPECT_EQ(read_file_bytes(dir.path() / "ERROR.OUT"), logged);

    // The about box logs nothing; Escape dismisses it as Return does (the
    // Return four frames on ends a box Escape left up).
    int shown = 0;
    on_frame([&shown] {
        if (app_mode == MODE_ALERT && (++shown == 1 || shown == 5)) post_key(shown == 1 ? VK_ESCAPE : VK_RETURN);
    });
    MACIBM_nuke_alert(5, "", "", "", "version", ALERT_ABOUT);
    EXPECT_LT(shown, 5);
    EXPECT_EQ(app_mode, 5);
    EXPECT_EQ(read_file_bytes(dir.path() / "ERROR.OUT"), logged);
}

TEST_F(alert_box_test, AlertRaisedWhileABoxIsUpIsLoggedNotShownAndTheNextShowsNormally)
{
    bool raised = false;
    on_frame([&] {
        if (app_mode != MODE_ALERT || raised) return;
        raised = true;
        MACIBM_nuke_alert(0, "second alert", "", "", "", ALERT_NOTICE);   // returns at once
        EXPECT_EQ(app_mode, MODE_ALERT);
        post_click(screen.screen_area_width / 2.0f, 18.0f);   // the box's button this time
    });
    MACIBM_nuke_alert(5, "first alert", "", "", "", ALERT_NOTICE);
    EXPECT_TRUE(raised);
    EXPECT_EQ(app_mode, 5);
    EXPECT_NE(read_file_bytes(dir.path() / "ERROR.OUT").find("second alert\n"), std::string::npos);

    int boxes = 0;
    on_frame(press_return_in(MODE_ALERT, &boxes));
    MACIBM_nuke_alert(5, "third alert", "", "", "", ALERT_NOTICE);
    EXPECT_EQ(boxes, 1);
}

namespace {
// What the box drew, as the widget kit reports it: kind, lower-left corner, text.
std::vector<std::tuple<int, float, float, std::string>> drawn;
void note_drawn(const widget_box& b) { drawn.emplace_back(b.kind, b.x1, b.y1, b.text ? b.text : ""); }
bool was_drawn(int kind, float x, float y, const std::string& text)
{
    for (const auto& d : drawn)
        if (d == std::tuple(kind, x, y, text)) return true;
    return false;
}
}  // namespace

// The box's four lines 40 apart from 185 down at x 10 (the font sets a text 2
// below its anchor) and its button captioned by text 602; the language form's
// seven choices 20 apart from 180 down, 25 left of the middle. The kit reports
// window units: the 400 x 220 box stands at (312, 274).
TEST_F(alert_box_test, BoxLaysOutItsLinesOrTheLanguageChoices)
{
    WIDGET_set_recorder(note_drawn);
    drawn.clear();
    on_frame(press_return_in(MODE_ALERT));
    MACIBM_nuke_alert(5, "one", "two", "three", "four", ALERT_NOTICE);
    const std::pair<const char*, float> lines[] = {{"one", 183}, {"two", 143}, {"three", 103}, {"four", 63}};
    for (auto [text, y] : lines) EXPECT_TRUE(was_drawn(WIDGET_BOX_TEXT, 312 + 10, 274 + y, text)) << text;
    bool button = false;
    for (const auto& d : drawn) button = button || (std::get<0>(d) == WIDGET_BOX_FIELD && std::get<3>(d) == "Text 602");
    EXPECT_TRUE(button);

    drawn.clear();
    const int32_t kept_language = sim_operation_prefs_misc.language;
    on_frame(press_return_in(MODE_ALERT));
    MACIBM_nuke_alert(5, "", "", "", "", ALERT_LANGUAGE);
    int choices = 0;
    for (const auto& [kind, x, y, text] : drawn)
        if (kind == WIDGET_BOX_FIELD && x == 312.0f + 200.0f - 25.0f - 7.0f) {   // the box's left edge
            EXPECT_EQ(y, 274.0f + 180.0f - 20.0f * static_cast<float>(choices % 7) - 3.0f) << text;
            ++choices;
        }
    EXPECT_GE(choices, 7);
    sim_operation_prefs_misc.language = kept_language;
    WIDGET_set_recorder(nullptr);
}

// The frame's first call of the clock raises the alert; then the box is dismissed.
TEST_F(alert_box_test, AlertInsideAFrameRunsItsOwnFramesAndTheOuterFrameGoesOn)
{
    int boxes = 0;
    on_frame([&, dismiss = press_return_in(MODE_ALERT, &boxes), raised = false]() mutable {
        if (!raised) {
            raised = true;
            MACIBM_nuke_alert(5, "inside a frame", "", "", "", ALERT_NOTICE);
        }
        dismiss();
    });
    MACIBM_do_frame();
    EXPECT_EQ(boxes, 1);
    EXPECT_GE(frames(), 2);   // the outer frame and the box's own
    EXPECT_EQ(app_mode, 5);
}

using alert_box_death_test = alert_box_test;

TEST_F(alert_box_death_test, FatalAlertInsideAFrameShutsDownWithAFailureStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            on_frame([dismiss = press_return_in(MODE_ALERT), raised = false]() mutable {
                if (!raised) {
                    raised = true;
                    MACIBM_nuke_alert(0, "fatal inside a frame", "", "", "", ALERT_FATAL);
                    std::_Exit(0);   // not reached: a fatal alert does not return
                }
                dismiss();
            });
            MACIBM_do_frame();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "");
}

TEST_F(alert_box_death_test, FatalAlertWhileANoticeIsUpShutsDownAfterTheNotice)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            on_frame([raised = false]() mutable {
                if (app_mode != MODE_ALERT || raised) return;
                raised = true;
                MACIBM_nuke_alert(0, "fatal while a notice is up", "", "", "", ALERT_FATAL);
                if (app_mode == MODE_ALERT) post_key(VK_RETURN);
            });
            MACIBM_nuke_alert(5, "a notice", "", "", "", ALERT_NOTICE);
            std::_Exit(0);   // not reached: the program ends once the notice is dismissed
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "");
}
