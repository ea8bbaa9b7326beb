#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/calls_standin.h"
#include "flightmodel/calls_standin.h"
#include "flightmodel/flt.h"
#include "links/calls_standin.h"
#include "platform/plat_events.h"
#include "platform/plat_files.h"
#include "platform/plat_window.h"
#include "shell/folders.h"
#include "shell/frame.h"
#include "shell/geo.h"
#include "shell/input.h"
#include "shell/lang.h"
#include "shell/landuse.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "tests/shell/startup_program.h"
#include "world/navdb.h"

namespace {

// Index of the first entry at or after `from` that begins with `call`, -1 when none.
long find_call(const std::vector<std::string>& calls, const std::string& call, long from = 0)
{
    for (long i = from; i < static_cast<long>(calls.size()); ++i)
        if (calls[static_cast<size_t>(i)].rfind(call, 0) == 0) return i;
    return -1;
}

// The program started once on a copy of the default data folder; the tests
// below run in order on it, and the last shuts it down.
class ProgramStart : public ::testing::Test {
protected:
    static std::unique_ptr<temp_folder> folder;
    static std::vector<alert_record> startup_alerts;
    static std::vector<std::string> startup_links_calls, startup_aircraft_calls, startup_flightmodel_calls;
    static std::string startup_failure;

    static void SetUpTestSuite()
    {
        folder = copy_default_data_folder();
        links_standin_calls.clear();
        aircraft_standin_calls.clear();
        flightmodel_standin_calls.clear();
        clear_alerts();
        try {
            start_program_in(*folder);
        } catch (const std::exception& e) {
            startup_failure = e.what();
        }
        startup_alerts = recorded_alerts;
        startup_links_calls = links_standin_calls;
        startup_aircraft_calls = aircraft_standin_calls;
        startup_flightmodel_calls = flightmodel_standin_calls;
    }
    static void TearDownTestSuite()
    {
        stop_program();
        folder.reset();
    }
    void SetUp() override { ASSERT_EQ(startup_failure, ""); }
};

std::unique_ptr<temp_folder> ProgramStart::folder;
std::vector<alert_record> ProgramStart::startup_alerts;
std::vector<std::string> ProgramStart::startup_links_calls;
std::vector<std::string> ProgramStart::startup_aircraft_calls;
std::vector<std::string> ProgramStart::startup_flightmodel_calls;
std::string ProgramStart::startup_failure;

}  // namespace

TEST_F(ProgramStart, LoadsTheDefaultFolderWithoutAnAlert)
{
    for (const alert_record& a : startup_alerts) ADD_FAILURE() << "alert: " << a.lines[0] << " / " << a.lines[1];
    EXPECT_EQ(gl_ready, 1);
    EXPECT_EQ(quit_flag, 0);
    EXPECT_TRUE(PLAT_window_exists());
    EXPECT_EQ(sim_operation_prefs_misc.language, 0);   // from the shipped display preferences
    EXPECT_STREQ(LANG_ui_text(602), "OK");
    EXPECT_GT(landuse_texture_count, 1);

    // The default aircraft's file is there, and the world's databases are loaded.
    EXPECT_TRUE(PLAT_file_exists(pln[0].acf_file_path)) << pln[0].acf_file_path;
    EXPECT_FALSE(airport_table.empty());
    EXPECT_FALSE(navaid_table.empty());

    // The start airport is found and the plane placed at its first runway.
    ASSERT_GE(start_selection.airport_index, 0);
    const airport_record& apt = airport_table[static_cast<size_t>(start_selection.airport_index)];
    EXPECT_STREQ(apt.id, "KSBD");
    EXPECT_FLOAT_EQ(flt[0].latitude, apt.runways[0].lat);
    EXPECT_FLOAT_EQ(lat_ref, std::round(flt[0].latitude - 1.0f));

    // The language texts report where a new text can go.
    error_log.flush();
    const std::string log = read_file_bytes("ERROR.OUT");
    EXPECT_NE(log.find(" LOWEST FREE TEXT INDEX="), std::string::npos);
}

TEST_F(ProgramStart, RunsTheStepsInTheirOrder)
{
    // Start-up: the movie library, the plug-ins last of all; then the loaders.
    const std::vector<std::string>& l = startup_links_calls;
    const long movie = find_call(l, "MOVIE_init_quicktime()");
    const long plugins = find_call(l, "PLUGIN_load()");
    const long sound = find_call(l, "SOUND_init_dsound()");
    const long joy = find_call(l, "JOY_init()");
    const long hardware = find_call(l, "HARDWARE_open()");
    const long net = find_call(l, "NET_init()");
    EXPECT_GE(movie, 0);
    EXPECT_GT(plugins, movie);
    EXPECT_GT(sound, plugins);
    EXPECT_GT(joy, sound);
    EXPECT_GT(hardware, joy);
    EXPECT_GT(net, hardware);   // opened whether or not a peer is enabled

    const std::vector<std::string>& a = startup_aircraft_calls;
    const long aircraft = find_call(a, "ACF_load_and_setup(0)");
    EXPECT_GE(aircraft, 0);
    // Exactly one flight start: on the runway (the ramp option is off).
    EXPECT_GT(find_call(a, "FLIGHT_init_situation(408,401)"), aircraft);
    EXPECT_EQ(find_call(a, "FLIGHT_init_situation(408,400)"), -1);
    EXPECT_GE(find_call(startup_flightmodel_calls, "LOGBOOK_read()"), 0);

    // No "metar.rwx" in the folder: no live weather.
    EXPECT_EQ(sim_weather.has_real_weather_bool, 0);
}

TEST_F(ProgramStart, FirstFrameLeavesTheIntroAndIsPainted)
{
    EXPECT_EQ(app_mode, MODE_INTRO);
    test_clock_seconds += 0.05;
    MACIBM_do_frame();
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(window_created, 1);
    EXPECT_EQ(window_painted, 1);   // the new window's first paint came with the first pump
    const int flying = flying_frame_count;
    EXPECT_GE(flying, 1);
    for (int i = 0; i < 3; ++i) {
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
    }
    EXPECT_EQ(flying_frame_count, flying + 3);
}

TEST_F(ProgramStart, ClosingTheWindowIsTheQuitCommand)
{
    quit_flag = 0;
    flightmodel_standin_calls.clear();
    PLAT_post_message(WM_CLOSE, 0, 0);
    APPLICATION_run_frames();   // returns once the frame that takes the close has run
    EXPECT_EQ(quit_flag, 1);
    EXPECT_TRUE(APPLICATION_running());
    EXPECT_GE(find_call(flightmodel_standin_calls, "LOGBOOK_write()"), 0);

    // With the flag already set the loop runs no frame.
    const int frames = flying_frame_count;
    APPLICATION_run_frames();
    EXPECT_EQ(flying_frame_count, frames);
}

TEST_F(ProgramStart, ShutsDownInOrder)
{
    links_standin_calls.clear();
    const std::string resolution_prefs = folder->prefix() + "Resources/preferences/KESTRUM 7 RESOLUTION.prf";
    std::filesystem::remove(PLAT_resolve_path(resolution_prefs.c_str()));
    stop_program();

    const std::vector<std::string> expected = {"PLUGIN_call_shutdown()", "NET_close()", "SOUND_close_speech()",
                                               "JOY_close()", "HARDWARE_close(1)"};
    std::vector<std::string> seen;
    for (const std::string& c : links_standin_calls)
        if (std::find(expected.begin(), expected.end(), c) != expected.end() || c.rfind("MOVIE_", 0) == 0)
            seen.push_back(c);
    EXPECT_EQ(seen, expected);   // no movie was recorded and no movie library started
    EXPECT_TRUE(PLAT_file_exists(resolution_prefs.c_str()));   // the display preferences are saved
    EXPECT_FALSE(error_log.is_open());
    EXPECT_EQ(gl_ready, 0);
}

TEST(ProgramEntry, AnotherInstanceReturnsAtOnce)
{
    int self = 0, other = 0;
    EXPECT_EQ(APPLICATION_main(&self, &other, "ignored", 1), 0);
    EXPECT_EQ(instance_handle, &self);
    EXPECT_EQ(show_command, 1);
    EXPECT_FALSE(APPLICATION_running());
    EXPECT_FALSE(error_log.is_open());   // nothing was opened
}

TEST(ProgramEntry, TerrainListsClearKeepsStorageAndDestroyReleasesIt)
{
    item_list list;
    LIST_construct(list);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.items, nullptr);
    list.items = std::malloc(64);
    list.count = 5;
    LIST_clear(list);
    EXPECT_EQ(list.count, 0);
    EXPECT_NE(list.items, nullptr);
    LIST_destroy(list);
    EXPECT_EQ(list.items, nullptr);
}

// The program itself, run as a child process on a copy of its folder that
// lacks the interface bitmap: the four lines reach the message box (the error
// stream, on a machine without a display) and the process ends with a
// non-zero status.
TEST(ProgramEntry, MissingInterfaceBitmapEndsWithTheFourLines)
{
    namespace fs = std::filesystem;
    const fs::path program = fs::path(ORVELL_DATA_FOLDER) / "orvell";
    if (!fs::exists(program)) GTEST_SKIP() << "the program is not built in " << ORVELL_DATA_FOLDER;
    auto folder = copy_default_data_folder("Resources/bitmaps/INTERFACE.PNG");
    fs::copy_file(program, folder->path() / "orvell");

    const std::string command = "cd '" + folder->path().string() +
                                "' && SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null ASAN_OPTIONS=detect_leaks=0 "
                                "timeout 120 ./orvell 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(WEXITSTATUS(status), 124) << "the program did not end";
    for (const char* line :
         {"I CANNOT OPEN THE GRAPHICS INTERFACE FILE!", "IT SEEMS THAT YOU HAVE MOVED ORVELL OUT OF THE KESTRUM FOLDER!",
          "NO! NO!",
          "CREATE A SHORTCUT IF YOU WANT, BUT DO NOT MOVE THE ORVELL APPLICATION ITSELF OUT OF THE KESTRUM FOLDER "
          "THAT IT CAME IN!"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n--- output:\n" << output;
    EXPECT_NE(output.find("Kestrum Message"), std::string::npos);
}
