#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/plat_events.h"
#include "core/alert.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/input.h"
#include "shell/modes.h"
#include "core/screen.h"
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

    // The about box logs nothing.
    on_frame(press_return_in(MODE_ALERT, &boxes));
    MACIBM_nuke_alert(5, "", "", "", "version", ALERT_ABOUT);
    EXPECT_EQ(boxes, 2);
    EXPECT_EQ(app_mode, 5);
    EXPECT_EQ(read_file_bytes(dir.path() / "ERROR.OUT"), logged);
}

TEST_F(alert_box_test, AlertRaisedWhileABoxIsUpIsLoggedOnlyAndTheNextShowsNormally)
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
