// The pilot's path through the started program, driven as a user drives it:
// keys and the pointer through the window layer's events, and the picture
// and the state that follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "shell/modes.h"
#include "tests/support/pilot_kit.h"
#include "tests/support/startup_program.h"

namespace fs = std::filesystem;
using namespace pilot;

namespace {

// The folders and files a folder of the copied data holds, as the browser sorts them.
std::vector<std::string> sorted_names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The folder the browser lists, as the program names it (in capitals).
std::string listed_folder()
{
    std::string listed = file_list_folder;
    std::replace(listed.begin(), listed.end(), '\\', '/');
    while (listed.size() > 1 && listed.back() == '/') listed.pop_back();
    return listed;
}

bool folder_is(const fs::path& folder) { return upper(listed_folder()) == upper(folder.string()); }

class PilotPath : public flying_program {};

}  // namespace

// The browser's list shows the entries around the highlighted one, 10 units a
// row; a click on any row opens that row, above the highlight as below it, and
// a click on a folder of the path box goes back up to it.
TEST_F(PilotPath, TheBrowserOpensTheEntryClicked)
{
    const fs::path aircraft = folder->path() / "Aircraft";
    const std::vector<std::string> top = sorted_names(aircraft);
    ASSERT_EQ(top.size(), 5u);
    const fs::path general = aircraft / "General Aviation";
    const std::vector<std::string> planes = sorted_names(general);
    ASSERT_EQ(planes, (std::vector<std::string>{"Orvell Floatplane", "Orvell Trainer", "Orvell Twin"}));

    // A row of the list at `offset` rows from the highlighted one; the click
    // lands 4 units above the middle of the row's band.
    constexpr float LIST_X = 20.0f, LIST_Y = 180.0f;
    auto click_row = [](int offset) { click_at(LIST_X + 60.0f, LIST_Y - 10.0f * offset + 4.0f); };
    // The first line of the path box: the aircraft folder.
    auto click_path_box_top = [] { click_at(40.0f, 405.0f + 3.0f); };

    // What the test saw, step by step, from inside the browser's frames.
    std::vector<std::string> opened;
    int step = -1;
    size_t next = 0;
    // A folder other than the one a step waits for ends the walk with Cancel.
    auto give_up = [] {
        click_at(45.0f, 28.0f);
        return true;
    };
    inside_frames([&] {
        if (app_mode != MODE_BROWSER_OPEN) return false;
        switch (step) {
        case -1:   // the browser's first frame puts the list before the pilot
            step = 0;
            return false;
        case 0:   // the aircraft folder, its middle row highlighted
            if (!folder_is(aircraft)) return give_up();
            click_row(static_cast<int>(next) - static_cast<int>(top.size()) / 2);
            step = 1;
            return false;
        case 1:   // inside the folder clicked
            opened.push_back(upper(fs::path(listed_folder()).filename().string()));
            click_path_box_top();
            step = ++next < top.size() ? 0 : 2;
            return false;
        case 2:   // back in the aircraft folder: into General Aviation, then the floatplane's folder
            if (!folder_is(aircraft)) return give_up();
            click_row(0 - static_cast<int>(top.size()) / 2);
            step = 3;
            return false;
        case 3:
            if (!folder_is(general)) return give_up();
            click_row(0 - static_cast<int>(planes.size()) / 2);   // the row above the highlight
            step = 4;
            return false;
        case 4:   // the floatplane's folder: its one aircraft file, clicked
            if (!folder_is(general / "Orvell Floatplane")) return give_up();
            click_row(0);
            step = 5;
            return false;
        default: return true;
        }
    });
    ASSERT_TRUE(choose_menu_item("File", "Open Aircraft..."));
    frames(1);   // the browser runs its frames inside this one and returns with the choice

    std::vector<std::string> top_shown;
    for (const std::string& name : top) top_shown.push_back(upper(name));
    EXPECT_EQ(opened, top_shown);
    EXPECT_EQ(step, 5) << "the browser did not show the folder clicked";
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(upper(pln[0].acf_file_name), "ORVELL FLOATPLANE.ACF");
}
