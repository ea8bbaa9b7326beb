#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/plat_events.h"
#include "shell/browser.h"
#include "shell/folders.h"
#include "shell/input.h"
#include "shell/lang.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "tests/shell/modes_harness.h"
#include "tests/support/test_support.h"

namespace {

class browser_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!harness_window()) GTEST_SKIP() << "no OpenGL context";
        frames = std::make_unique<harness_frames>();
        folder = std::make_unique<harness_program_folder>(dir.path().string());
        std::snprintf(ui_text_table[601], TEXT_SIZE, "Files");
        std::snprintf(ui_text_table[606], TEXT_SIZE, "Cancel");
        APPLICATION_set_mode(5, "test");
    }
    void TearDown() override
    {
        folder.reset();
        frames.reset();
        app_mode = 0;
    }

    // Runs `steps[k]` at the start of the k-th frame of the browser (from 1).
    void script(std::vector<std::pair<int, std::function<void()>>> steps)
    {
        frames->on_frame([this, steps = std::move(steps)] {
            if (app_mode != MODE_BROWSER_OPEN && app_mode != MODE_BROWSER_SAVE) return;
            ++browser_frames;
            for (const auto& [k, step] : steps)
                if (k == browser_frames) step();
        });
    }
    static void type(const std::string& keys)
    {
        for (char c : keys) post_key(c);
    }

    temp_folder dir;
    std::unique_ptr<harness_frames> frames;
    std::unique_ptr<harness_program_folder> folder;
    int browser_frames = 0;
    char name[TEXT_SIZE] = {};
    char path[TEXT_SIZE] = {};
};

}  // namespace

TEST_F(browser_test, SaveTakesTheTypedNameWithTheKindsExtensionInItsFolder)
{
    float area[3] = {};
    std::string title;
    script({{1, [&] {
                 area[0] = screen.screen_area_width;
                 area[1] = screen.screen_area_height;
                 area[2] = screen.screen_area_left;
                 title = screen.screen_title;
                 type("ABC");
                 post_key(VK_RETURN);
             }}});
    EXPECT_EQ(opensave(MODE_BROWSER_SAVE, 6, name, path), 1);
    EXPECT_STREQ(name, "abc.SIT");
    EXPECT_EQ(std::string(path), std::string(program_folder) + "OUTPUT\\SITUATIONS\\abc.SIT");
    EXPECT_EQ(app_mode, 5);
    EXPECT_EQ(title, "Files");
    EXPECT_FLOAT_EQ(area[0], 341.0f);
    EXPECT_FLOAT_EQ(area[1], 484.0f);
    EXPECT_FLOAT_EQ(area[2], 342.0f);

    // A name of 40 letters keeps its first 30.
    browser_frames = 0;
    name[0] = 0;
    script({{1, [] { type(std::string(40, 'Q')); }}, {3, [] { post_key(VK_RETURN); }}});
    EXPECT_EQ(opensave(MODE_BROWSER_SAVE, 6, name, path), 1);
    EXPECT_EQ(std::string(name), std::string(30, 'q') + ".SIT");
}

TEST_F(browser_test, OpenStartsAtTheMiddleRowOfTheKindsFolderAndCancelChangesNothing)
{
    for (const char* f : {"a.acf", "b.acf", "c.acf"}) dir.write(std::string("AIRCRAFT/") + f, "x");
    script({{1, [] { post_key(VK_RETURN); }}});
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 4, name, path), 1);
    EXPECT_STREQ(name, "b.acf");
    EXPECT_EQ(std::string(path), std::string(program_folder) + "AIRCRAFT\\b.acf");
    EXPECT_EQ(app_mode, 5);

    browser_frames = 0;
    std::strcpy(name, "kept");
    std::strcpy(path, "kept too");
    enter_pressed = 1;   // the Return that opened the browser is no answer to it
    script({{1, [] { post_click(45.0f, 28.0f); }}});
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 4, name, path), 0);
    EXPECT_STREQ(name, "kept");
    EXPECT_STREQ(path, "kept too");
    EXPECT_EQ(app_mode, 5);
}

TEST_F(browser_test, FolderMenuShowsDashesAsSpacesAndChoosingARowOpensThatFolder)
{
    dir.write("AIRCRAFT/A-B/x.acf", "x");
    dir.write("AIRCRAFT/zz.acf", "x");
    std::string shown;
    auto click_list = [] { post_click(screen.screen_area_width / 2.0f, 441.0f); };
    auto choose_row = [&] {
        const menu_record& popup = menu_table[MENU_POPUP];
        shown = std::string(popup.items[0].text) + "|" + popup.items[1].text + "|" + popup.items[2].text;
        const menu_item_record& row = popup.items[2];
        post_click((row.left + row.right) / 2.0f, (row.bottom + row.top) / 2.0f);
    };
    script({{1, click_list}, {3, choose_row}, {5, [] { post_key(VK_RETURN); }}});
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 4, name, path), 1);
    EXPECT_EQ(shown, "Orvell folder|AIRCRAFT|A B");
    EXPECT_STREQ(name, "x.acf");
    EXPECT_EQ(std::string(path), std::string(program_folder) + "AIRCRAFT\\A-B\\x.acf");
}

TEST_F(browser_test, ReturnOnAFolderRowEntersIt)
{
    dir.write("AIRCRAFT/Trainer/t.acf", "x");
    script({{1, [] { post_key(VK_RETURN); }}, {3, [] { post_key(VK_RETURN); }}});
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, 4, name, path), 1);
    EXPECT_EQ(std::string(path), std::string(program_folder) + "AIRCRAFT\\Trainer\\t.acf");
}
