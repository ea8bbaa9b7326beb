// Frames through the application modes: flying, a settings screen, the alert
// box and both browser modes, with the screen area and title each shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>

#include "platform/plat_events.h"
#include "core/alert.h"
#include "shell/browser.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "core/simvars/graphics.h"
#include "tests/support/modes_harness.h"

using mode_frames_test = harness_test;
using mode_frames_death_test = harness_test;

TEST_F(mode_frames_test, FramesThroughFlyingASettingsScreenTheAlertAndBothBrowsers)
{
    APPLICATION_set_mode(0, "test");
    MACIBM_do_frame();
    MACIBM_do_frame();
    EXPECT_EQ(current_screen(), "0 1024x768+0+0 ");
    APPLICATION_set_mode(5, "test");
    MACIBM_do_frame();
    EXPECT_EQ(current_screen(), "5 620x306+202+231 Text 352");

    // Each modal mode is seen from inside its own frames, then left with Return.
    std::map<int, std::string> seen;
    on_frame([&, posted = -1]() mutable {
        if (app_mode == posted || app_mode < MODE_ALERT) return;
        seen[app_mode] = current_screen();
        if (app_mode == MODE_BROWSER_SAVE) post_key('A');
        posted = app_mode;
        post_key(VK_RETURN);
    });
    MACIBM_nuke_alert(5, "a notice", "", "", "", ALERT_NOTICE);
    EXPECT_EQ(seen[MODE_ALERT], "996 400x220+312+274 Text 600");
    EXPECT_EQ(app_mode, 5);

    char name[TEXT_SIZE] = {}, path[TEXT_SIZE] = {};
    EXPECT_EQ(opensave(MODE_BROWSER_SAVE, 6, name, path), 1);
    EXPECT_EQ(seen[MODE_BROWSER_SAVE], "999 341x484+342+142 Text 601");
    EXPECT_STREQ(name, "a.SIT");
    EXPECT_EQ(app_mode, 5);

    dir.write("OUTPUT/SITUATIONS/a.SIT", "x");
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 6, name, path), 1);
    EXPECT_EQ(seen[MODE_BROWSER_OPEN], "998 341x484+342+142 Text 601");
    EXPECT_EQ(std::string(path), std::string(program_folder) + "OUTPUT\\SITUATIONS\\a.SIT");

    on_frame(nullptr);
    MACIBM_do_frame();
    EXPECT_EQ(current_screen(), "5 620x306+202+231 Text 352");
}

namespace {
// Set in a death test's child just before it exits: the leak checker then
// skips its exit pass there. The child has drawn a frame, so the renderer's
// worker threads are still running, and the checker's own tracer has been
// seen to crash stopping them, which turns a passing child into a failure.
// The parent process and every other test keep the leak check.
volatile int leak_check_off = 0;
}  // namespace

extern "C" int __lsan_is_turned_off() { return leak_check_off; }

// A damaged preference asking for two billion display projections must not
// keep the frame in the 3-D scene for ever: the child is stopped after 60 s.
TEST_F(mode_frames_death_test, ProjectionCountIsCutToWhatTheDisplayTakes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(60);
            APPLICATION_set_mode(MODE_FLYING, "test");
            sim_graphics_view.number_elumens_projections = std::numeric_limits<int32_t>::max();
            MACIBM_do_frame();
            leak_check_off = 1;
            std::exit(flying_frame_count == 1 ? 0 : 3);   // exit handlers remove the child's folders
        },
        ::testing::ExitedWithCode(0), "");
}
