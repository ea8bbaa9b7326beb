#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/plat_events.h"
#include "shell/alert.h"
#include "shell/folders.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell/lang.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "tests/shell/modes_harness.h"
#include "tests/support/test_support.h"

namespace {

// The real alert box over frames, with ERROR.OUT in a folder of the test's own.
class alert_box_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!harness_window()) GTEST_SKIP() << "no OpenGL context";
        frames = std::make_unique<harness_frames>();
        folder = std::make_unique<harness_program_folder>(dir.path().string());
        std::snprintf(ui_text_table[600], TEXT_SIZE, "Alert");
        std::snprintf(ui_text_table[602], TEXT_SIZE, "OK");
        error_log.close();
        error_log.clear();
        error_log.open(dir.path() / "ERROR.OUT");
        APPLICATION_set_mode(5, "test");
    }
    void TearDown() override
    {
        error_log.close();
        folder.reset();
        frames.reset();
        app_mode = 0;
    }
    std::string log() { return read_file_bytes(dir.path() / "ERROR.OUT"); }

    temp_folder dir;
    std::unique_ptr<harness_frames> frames;
    std::unique_ptr<harness_program_folder> folder;
};

// Posts Return once, in the first frame of the alert box.
std::function<void()> press_return_in_box(int& boxes_seen)
{
    return [&boxes_seen, posted = false]() mutable {
        if (app_mode != MODE_ALERT) {
            posted = false;
            return;
        }
        if (posted) return;
        posted = true;
        ++boxes_seen;
        post_key(VK_RETURN);
    };
}

}  // namespace

TEST_F(alert_box_test, BoxRunsFramesUntilReturnThenGoesToTheReturnModeAndLogsItsLines)
{
    float area[4] = {};
    std::string title;
    frames->on_frame([&] {
        if (app_mode != MODE_ALERT || !title.empty()) return;
        area[0] = screen.screen_area_width;
        area[1] = screen.screen_area_height;
        area[2] = screen.screen_area_left;
        area[3] = screen.screen_area_bottom;
        title = screen.screen_title;
        post_key(VK_RETURN);
    });
    mouse.mouse_x = 11.0f;
    mouse.mouse_y = 22.0f;
    enter_pressed = 1;   // the Return that led to the alert does not dismiss it unseen
    MACIBM_nuke_alert(0, "first line", "second line", "third line", "fourth line", ALERT_NOTICE);
    EXPECT_EQ(app_mode, 0);   // the return mode, not the mode that was up
    EXPECT_EQ(title, "Alert");
    EXPECT_FLOAT_EQ(area[0], 400.0f);
    EXPECT_FLOAT_EQ(area[1], 220.0f);
    EXPECT_FLOAT_EQ(area[2], 312.0f);
    EXPECT_FLOAT_EQ(area[3], 274.0f);
    EXPECT_FLOAT_EQ(mouse.mouse_x, 11.0f);
    EXPECT_FLOAT_EQ(mouse.mouse_y, 22.0f);
    EXPECT_GE(frames->frames(), 1);
    EXPECT_EQ(log(), "first line\nsecond line\nthird line\nfourth line\n");

    // The about box logs nothing.
    int boxes = 0;
    frames->on_frame(press_return_in_box(boxes));
    MACIBM_nuke_alert(5, "", "", "", "version", ALERT_ABOUT);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(app_mode, 5);
    EXPECT_EQ(log(), "first line\nsecond line\nthird line\nfourth line\n");
}

TEST_F(alert_box_test, AlertRaisedWhileABoxIsUpIsLoggedOnlyAndTheNextShowsNormally)
{
    bool raised = false;
    frames->on_frame([&] {
        if (app_mode != MODE_ALERT) return;
        if (!raised) {
            raised = true;
            MACIBM_nuke_alert(0, "second alert", "", "", "", ALERT_NOTICE);   // returns at once
            EXPECT_EQ(app_mode, MODE_ALERT);
            // Dismiss the box with its button this time.
            post_click(screen.screen_area_width / 2.0f, 18.0f);
        }
    });
    MACIBM_nuke_alert(5, "first alert", "", "", "", ALERT_NOTICE);
    EXPECT_TRUE(raised);
    EXPECT_EQ(app_mode, 5);
    EXPECT_NE(log().find("second alert\n"), std::string::npos);

    int boxes = 0;
    frames->on_frame(press_return_in_box(boxes));
    MACIBM_nuke_alert(5, "third alert", "", "", "", ALERT_NOTICE);
    EXPECT_EQ(boxes, 1);
}

TEST_F(alert_box_test, AlertInsideAFrameRunsItsOwnFramesAndTheOuterFrameGoesOn)
{
    int boxes = 0;
    bool raised = false;
    auto dismiss = press_return_in_box(boxes);
    frames->on_frame([&] {
        if (!raised) {
            raised = true;   // the first frame: the outer one, in mode 5
            MACIBM_nuke_alert(5, "inside a frame", "", "", "", ALERT_NOTICE);
            return;
        }
        dismiss();
    });
    MACIBM_do_frame();
    EXPECT_EQ(boxes, 1);
    EXPECT_GE(frames->frames(), 2);   // the outer frame and the box's own
    EXPECT_EQ(app_mode, 5);
}

TEST_F(alert_box_test, BeforeTheWindowIsReadyTheLinesGoToTheMessageBoxAsPassed)
{
    if (PLAT_message_box_has_display()) GTEST_SKIP() << "a message box would wait for a click";
    gl_ready = 0;
    ::testing::internal::CaptureStderr();
    MACIBM_nuke_alert(0, "one", "two", "three", "four", ALERT_ABOUT);
    const std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Kestrum Message"), std::string::npos);
    EXPECT_NE(out.find("one\n\ntwo\n\nthree\n\nfour"), std::string::npos);
    EXPECT_EQ(app_mode, 5);
    EXPECT_EQ(log(), "");
}

using alert_box_death_test = alert_box_test;

TEST_F(alert_box_death_test, FatalAlertInsideAFrameShutsDownWithAFailureStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            int boxes = 0;
            bool raised = false;
            auto dismiss = press_return_in_box(boxes);
            frames->on_frame([&] {
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
            bool raised = false;
            frames->on_frame([&] {
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
