// Frames through the application modes: flying, a settings screen, the alert
// box and both browser modes, with the screen area and title each shows; a
// click on a screen's close box; a menu item chosen with the pointer.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/plat_events.h"
#include "shell/alert.h"
#include "shell/browser.h"
#include "shell/folders.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell/lang.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "tests/shell/modes_harness.h"
#include "tests/support/test_support.h"

namespace {

struct screen_seen {
    int mode = -99;
    float width = 0, height = 0, left = 0, bottom = 0;
    std::string title;
};

screen_seen current_screen()
{
    return {app_mode, screen.screen_area_width, screen.screen_area_height, screen.screen_area_left,
            screen.screen_area_bottom, screen.screen_title};
}

void expect_screen(const screen_seen& s, int mode, float w, float h, float left, float bottom, const char* title)
{
    EXPECT_EQ(s.mode, mode);
    EXPECT_FLOAT_EQ(s.width, w) << mode;
    EXPECT_FLOAT_EQ(s.height, h) << mode;
    EXPECT_FLOAT_EQ(s.left, left) << mode;
    EXPECT_FLOAT_EQ(s.bottom, bottom) << mode;
    EXPECT_EQ(s.title, title) << mode;
}

class mode_frames_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!harness_window()) GTEST_SKIP() << "no OpenGL context";
        frames = std::make_unique<harness_frames>();
        folder = std::make_unique<harness_program_folder>(dir.path().string());
        for (int n : {352, 358, 600, 601, 602, 606}) std::snprintf(ui_text_table[n], TEXT_SIZE, "Text %d", n);
        sim_operation_prefs_misc.language = 0;
    }
    void TearDown() override
    {
        folder.reset();
        frames.reset();
        screen.open_menu = -1;
        app_mode = 0;
    }
    temp_folder dir;
    std::unique_ptr<harness_frames> frames;
    std::unique_ptr<harness_program_folder> folder;
};

}  // namespace

TEST_F(mode_frames_test, FramesThroughFlyingASettingsScreenTheAlertAndBothBrowsers)
{
    APPLICATION_set_mode(0, "test");
    MACIBM_do_frame();
    MACIBM_do_frame();
    expect_screen(current_screen(), 0, 1024, 768, 0, 0, "");

    APPLICATION_set_mode(5, "test");
    MACIBM_do_frame();
    expect_screen(current_screen(), 5, 620, 306, 202, 231, "Text 352");

    // Each modal mode is seen from inside its own frames, then left with Return.
    screen_seen alert_seen, save_seen, open_seen;
    frames->on_frame([&, posted = -1]() mutable {
        if (app_mode == posted) return;
        if (app_mode == MODE_ALERT) alert_seen = current_screen();
        else if (app_mode == MODE_BROWSER_SAVE) save_seen = current_screen(), post_key('A');
        else if (app_mode == MODE_BROWSER_OPEN) open_seen = current_screen();
        else return;
        posted = app_mode;
        post_key(VK_RETURN);
    });
    MACIBM_nuke_alert(5, "a notice", "", "", "", ALERT_NOTICE);
    expect_screen(alert_seen, 996, 400, 220, 312, 274, "Text 600");
    EXPECT_EQ(app_mode, 5);

    char name[TEXT_SIZE] = {}, path[TEXT_SIZE] = {};
    EXPECT_EQ(opensave(MODE_BROWSER_SAVE, 6, name, path), 1);
    expect_screen(save_seen, 999, 341, 484, 342, 142, "Text 601");
    EXPECT_STREQ(name, "a.SIT");
    EXPECT_EQ(app_mode, 5);

    dir.write("OUTPUT/SITUATIONS/a.SIT", "x");
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 6, name, path), 1);
    expect_screen(open_seen, 998, 341, 484, 342, 142, "Text 601");
    EXPECT_EQ(std::string(path), std::string(program_folder) + "OUTPUT\\SITUATIONS\\a.SIT");

    frames->on_frame(nullptr);
    MACIBM_do_frame();
    expect_screen(current_screen(), 5, 620, 306, 202, 231, "Text 352");
}

TEST_F(mode_frames_test, ClickOnACloseBoxClosesTheScreen)
{
    APPLICATION_set_mode(5, "test");
    post_click(3.0f, 306.0f - 3.0f);   // the left close box
    MACIBM_do_frame();
    EXPECT_EQ(app_mode, 0);

    APPLICATION_set_mode(5, "test");
    post_click(300.0f, 150.0f);        // inside the screen: stays
    MACIBM_do_frame();
    EXPECT_EQ(app_mode, 5);
    post_click(620.0f - 3.0f, 306.0f);  // the right close box, on its edge
    MACIBM_do_frame();
    EXPECT_EQ(app_mode, 0);
}

TEST_F(mode_frames_test, MenuItemChosenWithThePointerRunsItsCommand)
{
    const auto source = std::filesystem::canonical(std::filesystem::path(fixture_path("")) / ".." / ".." / "data");
    std::snprintf(folder_table[FOLDER_MENUS], TEXT_SIZE, "%s/menus/", source.c_str());
    MACIBM_build_menus("ORVELL.TXT");
    ASSERT_TRUE(recorded_alerts.empty());

    // The "Settings" bar menu holds "Weather" (607): the weather screen.
    int weather = -1;
    for (int i = 0; i < MENU_ITEMS; ++i)
        if (menu_table[1].items[i].command == 607) weather = i;
    ASSERT_GE(weather, 0);

    APPLICATION_set_mode(0, "test");
    const menu_record& bar = menu_table[1];
    post_click((bar.left + bar.right) / 2.0f, (bar.bottom + bar.top) / 2.0f);
    MACIBM_do_frame();
    EXPECT_EQ(screen.open_menu, 1);

    const menu_item_record& it = bar.items[weather];
    post_click((it.left + it.right) / 2.0f, (it.bottom + it.top) / 2.0f);
    MACIBM_do_frame();
    EXPECT_EQ(app_mode, 8);
    EXPECT_EQ(screen.open_menu, -1);
    EXPECT_STREQ(screen.screen_title, "Text 358");
}
