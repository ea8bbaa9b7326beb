#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/plat_events.h"
#include "shell/browser.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "tests/support/modes_harness.h"

namespace {

class browser_test : public harness_test {
protected:
    // Runs `steps[k]` at the start of the k-th frame of the browser (from 1), then
    // opens the browser of `kind` in `mode` and returns its answer.
    int run(int mode, int kind, std::vector<std::pair<int, std::function<void()>>> steps)
    {
        on_frame([steps = std::move(steps), n = 0]() mutable {
            if (app_mode != MODE_BROWSER_OPEN && app_mode != MODE_BROWSER_SAVE) return;
            ++n;
            for (const auto& [k, step] : steps)
                if (k == n) step();
        });
        return opensave(mode, kind, name, path);
    }
    static void type(const std::string& keys)
    {
        for (char c : keys) post_key(c);
    }
    std::string in_folder(const char* rest) const { return std::string(program_folder) + rest; }

    char name[TEXT_SIZE] = {};
    char path[TEXT_SIZE] = {};
};

// The browser with the recording alert handler: an alert fails the test instead of showing the box.
class browser_recording_test : public browser_test {
protected:
    void SetUp() override
    {
        const alert_handler_fn recording = MACIBM_get_alert_handler();
        browser_test::SetUp();
        MACIBM_set_alert_handler(recording);
    }
};

}  // namespace

TEST_F(browser_test, SaveTakesTheTypedNameWithTheKindsExtensionInItsFolder)
{
    EXPECT_EQ(run(MODE_BROWSER_SAVE, 6, {{1, [] { type("ABC");
                                             post_key(VK_RETURN); }}}), 1);
    EXPECT_STREQ(name, "abc.SIT");
    EXPECT_EQ(path, in_folder("OUTPUT\\SITUATIONS\\abc.SIT"));
    EXPECT_EQ(app_mode, 5);

    // A name of 40 letters keeps its first 30.
    name[0] = 0;
    EXPECT_EQ(run(MODE_BROWSER_SAVE, 6, {{1, [] { type(std::string(40, 'Q')); }}, {3, [] { post_key(VK_RETURN); }}}), 1);
    EXPECT_EQ(std::string(name), std::string(30, 'q') + ".SIT");

    // Return with no name typed saves nothing; the browser stays open.
    name[0] = 0;
    EXPECT_EQ(run(MODE_BROWSER_SAVE, 6, {{1, [] { post_key(VK_RETURN); }}, {3, [] { post_click(45.0f, 28.0f); }}}), 0);
}

// In the save browser a click on a file row answers nothing; Return saves the typed name.
TEST_F(browser_test, SaveIgnoresAClickOnAFile)
{
    dir.write("AIRCRAFT/a.acf", "x");
    name[0] = 0;
    EXPECT_EQ(run(MODE_BROWSER_SAVE, 4, {{1, [] { post_click(70.0f, 180.0f); }}, {3, [] { type("N");
                                                                                        post_key(VK_RETURN); }}}), 1);
    EXPECT_EQ(path, in_folder("AIRCRAFT\\n.ACF"));
}

// Every kind with a folder of its own saves there, under its own extension.
TEST_F(browser_test, EachKindSavesInItsOwnFolder)
{
    struct kind_folder { int kind; const char* saved; };
    const kind_folder kinds[] = {
        {4, "AIRCRAFT\\n.ACF"}, {7, "OUTPUT\\MOVIES\\n.MOV"}, {8, "OUTPUT\\LOGBOOKS\\n.TXT"},
        {9, "OUTPUT\\FMS PLANS\\n.FMS"}, {10, "PELLICK RESOURCES\\SAVED GAMES\\n.GAM"},
        {11, "ROADMIRE RESOURCES\\TRACKS\\n.TRA"}, {12, "ROADMIRE RESOURCES\\CARS\\n.CAR"},
        {13, "TALVERAN RESOURCES\\SPACESHIPS\\n.SPA"}, {14, "TALVERAN RESOURCES\\REGIONS\\n.REG"},
    };
    for (const kind_folder& k : kinds) {
        name[0] = 0;
        EXPECT_EQ(run(MODE_BROWSER_SAVE, k.kind, {{1, [] { type("N");
                                                        post_key(VK_RETURN); }}}), 1) << k.kind;
        EXPECT_EQ(path, in_folder(k.saved)) << k.kind;
    }
}

TEST_F(browser_test, OpenStartsAtTheMiddleRowOfTheKindsFolderAndCancelChangesNothing)
{
    for (const char* f : {"a.acf", "b.acf", "c.acf"}) dir.write(std::string("AIRCRAFT/") + f, "x");
    EXPECT_EQ(run(MODE_BROWSER_OPEN, 4, {{1, [] { post_key(VK_RETURN); }}}), 1);
    EXPECT_STREQ(name, "b.acf");
    EXPECT_EQ(path, in_folder("AIRCRAFT\\b.acf"));
    EXPECT_EQ(app_mode, 5);

    std::strcpy(name, "kept");
    std::strcpy(path, "kept too");
    enter_pressed = 1;   // the Return that opened the browser is no answer to it
    // Cancel and Escape; a Return three frames on would open a browser left up.
    for (std::function<void()> cancel : {+[] { post_click(45.0f, 28.0f); }, +[] { post_key(VK_ESCAPE); }}) {
        EXPECT_EQ(run(MODE_BROWSER_OPEN, 4, {{1, cancel}, {4, [] { post_key(VK_RETURN); }}}), 0);
        EXPECT_STREQ(name, "kept");
        EXPECT_STREQ(path, "kept too");
        EXPECT_EQ(app_mode, 5);
    }
}

// The folder entered opens at its middle row too.
TEST_F(browser_test, ReturnOnAFolderRowEntersIt)
{
    for (const char* f : {"r.acf", "s.acf", "t.acf"}) dir.write(std::string("AIRCRAFT/Trainer/") + f, "x");
    EXPECT_EQ(run(MODE_BROWSER_OPEN, 4, {{1, [] { post_key(VK_RETURN); }}, {3, [] { post_key(VK_RETURN); }}}), 1);
    EXPECT_EQ(path, in_folder("AIRCRAFT\\Trainer\\s.acf"));
}

TEST_F(browser_test, FolderMenuShowsDashesAsSpacesAndChoosingARowOpensThatFolder)
{
    dir.write("AIRCRAFT/A-B/x.acf", "x");
    dir.write("AIRCRAFT/zz.acf", "x");
    std::string shown;
    auto choose_row = [&] {
        const menu_record& popup = menu_table[MENU_POPUP];
        shown = std::string(popup.items[0].text) + "|" + popup.items[1].text + "|" + popup.items[2].text;
        const menu_item_record& row = popup.items[2];
        post_click((row.left + row.right) / 2.0f, (row.bottom + row.top) / 2.0f);
    };
    auto click_list = [] { post_click(screen.screen_area_width / 2.0f, 441.0f); };
    EXPECT_EQ(run(MODE_BROWSER_OPEN, 4, {{1, click_list}, {3, choose_row}, {5, [] { post_key(VK_RETURN); }}}), 1);
    EXPECT_EQ(shown, "Orvell folder|AIRCRAFT|A B");
    EXPECT_STREQ(name, "x.acf");
    EXPECT_EQ(path, in_folder("AIRCRAFT\\A-B\\x.acf"));
}

// Folder names are the user's: a '|' (which the selection list refuses) shows
// as a space in the folder menu, and the folder keeps its own name.
TEST_F(browser_recording_test, ShowsAndEntersAFolderNamedWithABar)
{
    dir.write("OUTPUT/SITUATIONS/A|B/x.SIT", "x");
    on_frame([n = 0]() mutable {
        if (app_mode != MODE_BROWSER_OPEN) return;
        ++n;
        if (n == 1) post_key(VK_RETURN);          // the middle row: the folder
        if (n == 3) post_click(45.0f, 28.0f);     // cancel inside it
    });
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, KIND_SITUATION, name, path), 0);
    EXPECT_NE(std::string(file_list_folder).find("A|B\\"), std::string::npos) << file_list_folder;
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(app_mode, 5);
}

// The folder menu marks the folder shown (row 1: the kind's folder under the
// program folder); a level row opens that level again, ending in its separator.
TEST_F(browser_recording_test, FolderMenuMarksTheShownFolderAndALevelRowGoesBackUp)
{
    dir.write("AIRCRAFT/A-B/x.acf", "x");
    dir.write("AIRCRAFT/zz.acf", "x");
    auto click_list = [] { post_click(screen.screen_area_width / 2.0f, 441.0f); };
    auto choose = [](int r) {
        return [r] {
            const menu_item_record& row = menu_table[MENU_POPUP].items[r];
            post_click((row.left + row.right) / 2.0f, (row.bottom + row.top) / 2.0f);
        };
    };
    int marked = -1;
    std::string inner, back;
    EXPECT_EQ(run(MODE_BROWSER_OPEN, 4,
                  {{1, [&] { marked = opensave_folder_choice; click_list(); }}, {3, choose(2)},
                   {5, [&] { inner = file_list_folder; click_list(); }}, {7, choose(1)},
                   {9, [&] { back = file_list_folder; post_click(45.0f, 28.0f); }}}),
              0);
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(inner, in_folder("AIRCRAFT\\A-B\\"));
    EXPECT_EQ(back, in_folder("AIRCRAFT\\"));
    EXPECT_TRUE(recorded_alerts.empty());
}

// Objects and terrain textures open in the current scenery package's own folders.
TEST_F(browser_test, ObjectsAndTerrainTexturesSaveInTheScenePackage)
{
    const std::string package = in_folder("CUSTOM SCENERY\\Area\\");
    std::strcpy(custom_scenery_folder, package.c_str());
    for (auto [kind, folder] : {std::pair{5, "custom objects\\n."}, std::pair{18, "custom terrain textures\\n"}}) {
        name[0] = 0;
        EXPECT_EQ(run(MODE_BROWSER_SAVE, kind, {{1, [] { type("N");
                                                      post_key(VK_RETURN); }}}), 1) << kind;
        EXPECT_EQ(std::string(path).rfind(package + folder, 0), 0u) << path;
    }
    custom_scenery_folder[0] = 0;
}
