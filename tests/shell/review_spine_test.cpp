#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "aircraft/calls_standin.h"
#include "platform/plat_events.h"
#include "platform/plat_files.h"
#include "platform/plat_window.h"
#include "screens/operator_map.h"
#include "core/alert.h"
#include "shell/browser.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "shell/prefs.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "shell/world_textures.h"
#include "tests/shell/modes_harness.h"
#include "world/atc_state.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

namespace {

// The whole program started in this process on `folder` (a copy of the
// generated data folder), as if its executable lay there; and shut down.
void start_program_on(const temp_folder& folder)
{
    static std::string program;
    program = folder.prefix() + "orvell";
    startup_program_path = program.c_str();
    static const bool gl_library_held = PLAT_video_init() && SDL_GL_LoadLibrary(nullptr) == 0;
    (void)gl_library_held;   // kept loaded while programs open and close their windows
    PLAT_destroy_window();
    PLAT_flush_messages();
    APPLICATION_start_up();
}

void stop_program_on()
{
    MACIBM_quit();
    startup_program_path = nullptr;
    PLAT_flush_messages();
}

bool called(const std::string& call)
{
    return std::find(aircraft_standin_calls.begin(), aircraft_standin_calls.end(), call) !=
           aircraft_standin_calls.end();
}

// The harness with the recording alert handler: a fatal alert fails the test instead of ending it.
class review_harness : public harness_test {
protected:
    void SetUp() override
    {
        const alert_handler_fn recording = MACIBM_get_alert_handler();
        harness_test::SetUp();
        MACIBM_set_alert_handler(recording);
    }
};
using review_harness_death_test = harness_test;

}  // namespace

// The plane count and the resolution file come from the preferences of the
// folder the program runs on; the entry clears the flight-plan state.
TEST(ReviewSpine, PlaneCountStaysWithinTheSlotsAndAFailedDisplayKeepsItsResolutionReset)
{
    namespace fs = std::filesystem;
    temp_folder folder;
    for (const char* part : {"Aircraft", "Airfoils", "Resources"})
        fs::copy(fs::path(ORVELL_DATA_FOLDER) / part, folder.path() / part, fs::copy_options::recursive);
    atc_flight_plan.atc_plan_filed = 1;
    atc_flight_plan.atc_plan_active = 1;
    atc_flight_plan.atc_request_pending = 1;
    start_program_on(folder);
    EXPECT_EQ(atc_flight_plan.atc_plan_filed, 0);
    EXPECT_EQ(atc_flight_plan.atc_plan_active, 0);
    EXPECT_EQ(atc_flight_plan.atc_request_pending, 0);

    // Preferences asking for more planes than there are slots.
    sim_graphics_settings.draw_aircrafts = 50;
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, pref_path_general);
    // A new rendering resolution reloads every aircraft: only the slots that exist.
    aircraft_standin_calls.clear();
    screen.rendering_res += 1;
    WORLD_load_textures();
    EXPECT_TRUE(called("ACF_load_and_setup(9)"));
    EXPECT_FALSE(called("ACF_load_and_setup(10)"));

    // The next start loads only the slots that exist, and the world textures
    // for its new window afresh, not as a change of the last start's resolution.
    stop_program_on();
    aircraft_standin_calls.clear();
    start_program_on(folder);
    ASSERT_EQ(sim_graphics_settings.draw_aircrafts, 50);
    EXPECT_TRUE(called("ACF_choose_and_load(9)"));
    EXPECT_FALSE(called("ACF_choose_and_load(10)"));
    EXPECT_EQ(app_mode, MODE_INTRO);

    // A display that could not be set up: the start-up resets the resolution
    // file and the shut-down leaves it so, for the next start to use the defaults.
    char path[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(pref_path_resolution), path);
    const std::string on_disk = PLAT_resolve_path(path);
    FILE_write_version(path, KIND_BINARY, -999);
    file_out.close();
    const std::string reset = read_file_bytes(on_disk);
    ASSERT_FALSE(reset.empty());
    PLAT_destroy_window();
    stop_program_on();
    EXPECT_EQ(read_file_bytes(on_disk), reset);
}

// A damaged preference asking for two billion display projections must not
// keep the frame in the 3-D scene for ever: the child is stopped after 60 s.
TEST_F(review_harness_death_test, ProjectionCountIsCutToWhatTheDisplayTakes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(60);
            APPLICATION_set_mode(MODE_FLYING, "test");
            sim_graphics_view.number_elumens_projections = std::numeric_limits<int32_t>::max();
            MACIBM_do_frame();
            std::_Exit(flying_frame_count == 1 ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

// Folder names are the user's: a '|' (which the selection list refuses) shows
// as a space in the folder menu, and the folder keeps its own name.
TEST_F(review_harness, BrowserShowsAndEntersAFolderNamedWithABar)
{
    dir.write("OUTPUT/SITUATIONS/A|B/x.SIT", "x");
    on_frame([n = 0]() mutable {
        if (app_mode != MODE_BROWSER_OPEN) return;
        ++n;
        if (n == 1) post_key(VK_RETURN);          // the middle row: the folder
        if (n == 3) post_click(45.0f, 28.0f);     // cancel inside it
    });
    char name[TEXT_SIZE] = {}, path[TEXT_SIZE] = {};
    EXPECT_EQ(opensave(MODE_BROWSER_OPEN, KIND_SITUATION, name, path), 0);
    EXPECT_NE(std::string(file_list_folder).find("A|B\\"), std::string::npos) << file_list_folder;
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(app_mode, 5);
}

// The operator screens take their size and title from the scenery and the
// airport database: values no area or airport has give a sane screen.
TEST_F(review_harness, OperatorScreensStaySaneOnAnEndlessScaleOrAnAbsurdElevation)
{
    const scenery_area_record saved_area = scenery_area;
    const float saved_scale = map_base_scale;
    scenery_area = {100.0f, 100.0f, 50.0f, 50.0f};   // an empty area at an endless scale
    map_base_scale = std::numeric_limits<float>::infinity();
    APPLICATION_set_mode(15, "test");
    EXPECT_EQ(current_screen().substr(0, 14), "15 0x0+512+384");

    airport_record far{};
    std::memcpy(far.name, "Far", 4);
    std::memcpy(far.id, "XFAR", 5);
    far.elevation = 1.0e30f;
    airport_table.push_back(far);
    chart_airport = static_cast<int32_t>(airport_table.size()) - 1;
    APPLICATION_set_mode(23, "test");
    EXPECT_STREQ(screen.screen_title, "Far (XFAR) elev 0 ft.");

    airport_table.pop_back();
    chart_airport = -1;
    scenery_area = saved_area;
    map_base_scale = saved_scale;
    APPLICATION_set_mode(5, "test");
}
