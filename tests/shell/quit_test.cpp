// Quitting: the folders saves go to are made at start, a quit writes the
// preferences, and a save that fails at quit is a notice in ERROR.OUT rather
// than a box that holds the quit up.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/alert.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/simvars.h"
#include "shell/commands.h"
#include "world/apt_scene.h"
#include "platform/plat_events.h"
#include "shell/main.h"
#include "shell/prefs.h"
#include "tests/support/startup_program.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* PREFERENCE_FILES[3] = {"KESTRUM 7 ORVELL.prf", "KESTRUM 7 PILOT.prf",
                                             "KESTRUM 7 RESOLUTION.prf"};

// The logs go to the current folder: the program's own for the test's length.
class in_folder {
public:
    explicit in_folder(const fs::path& p) : before_(fs::current_path()) { fs::current_path(p); }
    ~in_folder() { fs::current_path(before_); }

private:
    fs::path before_;
};

size_t count_of(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(ProgramQuit, MissingFoldersAreMadeAndQuittingSavesTheThreePreferenceFiles)
{
    auto folder = copy_default_data_folder();
    fs::remove_all(folder->path() / "Resources/preferences");
    ASSERT_FALSE(fs::exists(folder->path() / "Output"));
    const in_folder here(folder->path());

    start_program(*folder);
    for (const char* made : {"Resources/preferences", "Output/situations", "Output/movies", "Output/logbooks",
                             "Output/FMS plans"})
        EXPECT_TRUE(fs::is_directory(folder->path() / made)) << made;
    // With no display preferences the first start asks for the language, and nothing else.
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_LANGUAGE);
    clear_alerts();

    {
        const unseen_frames unseen;   // the quit's frame is not looked at
        close_window_and_quit();
    }
    EXPECT_EQ(quit_flag, 1);
    for (const char* name : PREFERENCE_FILES)
        EXPECT_TRUE(fs::is_regular_file(folder->path() / "Resources/preferences" / name)) << name;
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(read_file_bytes("ERROR.OUT").find("could not be saved"), std::string::npos);
}

TEST(ProgramQuit, SavesThatFailAtQuitAreOneNoticeEachAndTheQuitGoesOn)
{
    auto folder = copy_default_data_folder();
    const in_folder here(folder->path());
    start_program(*folder);
    clear_alerts();

    // The preferences folder turns into a file while the program runs: every save there fails.
    const fs::path prefs = folder->path() / "Resources/preferences";
    fs::remove_all(prefs);
    write_file_bytes(prefs, "not a folder");

    {
        const unseen_frames unseen;   // the quit's frame is not looked at
        close_window_and_quit();
    }
    EXPECT_EQ(quit_flag, 1);
    EXPECT_EQ(recorded_alerts.size(), 0u);   // no box held the quit up
    const std::string log = read_file_bytes("ERROR.OUT");
    EXPECT_EQ(count_of(log, "The file could not be saved:"), 3u) << log;
    for (const char* name : PREFERENCE_FILES) {
        // Named once each, as the path on disk: the folder's own spelling, '/' between the parts.
        EXPECT_EQ(count_of(log, (prefs / name).string()), 1u) << name << "\n" << log;
    }
    EXPECT_EQ(read_file_bytes(prefs), "not a folder");
}

// A quit saves the preferences wherever the flight is once the world is
// loaded (over open water the loaded area holds no airport); a quit before
// the start-up has loaded it leaves the files as they are.
TEST(ProgramQuit, AQuitOverTheOceanSavesThePreferencesAndOneBeforeTheStartDoesNot)
{
    auto folder = copy_default_data_folder();
    const in_folder here(folder->path());
    const fs::path general = folder->path() / "Resources/preferences" / PREFERENCE_FILES[0];
    fs::create_directories(general.parent_path());
    write_file_bytes(general, "the user's own");
    APPLICATION_save_preferences_and_logbook();   // no start-up yet
    EXPECT_EQ(read_file_bytes(general), "the user's own");

    start_program(*folder);
    clear_alerts();
    const unseen_frames unseen;
    situation_start_record& b = situation_start_state;
    b.latitude = 30.0f;
    b.longitude = -140.0f;
    b.elevation = 1500.0f;
    b.groundspeed = 60.0f;
    FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
    run_frames_for(1.0);
    ASSERT_EQ(local_airport_last, -1);   // the open Pacific
    sim_graphics_view.field_of_view_deg = 61.5f;
    close_window_and_quit();
    sim_graphics_view.field_of_view_deg = 45.0f;
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_READ, general.c_str());
    EXPECT_EQ(sim_graphics_view.field_of_view_deg, 61.5f);
}
