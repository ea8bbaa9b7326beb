#include <gtest/gtest.h>

#include <iomanip>

#include <cstring>
#include <filesystem>

#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

TEST(Folders, TableIsBuiltFromTheExecutablePath)
{
    file_use_index = 1;
    FOLDERS_init_from("/x/y/app");
    EXPECT_STREQ(program_folder, "/x/y/");
    EXPECT_STREQ(file_list_folder, "/x/y/");
    EXPECT_EQ(file_use_index, 0);
    // All 24 folders, in the table's order.
    static const char* const folders[FOLDER_COUNT] = {
        "AIRFOILS:", "WEAPONS:", "AIRCRAFT:", "RESOURCES:AUTOGEN OBJECTS:", "RESOURCES:AUTOGEN TEXTURES:",
        "OUTPUT:SITUATIONS:", "OUTPUT:MOVIES:", "OUTPUT:LOGBOOKS:", "OUTPUT:FMS PLANS:",
        "PELLICK RESOURCES:SAVED GAMES:", "ROADMIRE RESOURCES:TRACKS:", "ROADMIRE RESOURCES:CARS:",
        "TALVERAN RESOURCES:SPACESHIPS:", "TALVERAN RESOURCES:REGIONS:", "RESOURCES:SOUNDS:", "RESOURCES:BITMAPS:",
        "PELLICK RESOURCES:PLANETS:", "CUSTOM SCENERY:", "RESOURCES:EARTH NAV DATA:", "RESOURCES:MARS NAV DATA:",
        "RESOURCES:MENUS:", "RESOURCES:TEXT:", "RESOURCES:KEYS:", "RESOURCES:SOUNDS:RADIO CHATTER:"};
    for (int i = 0; i < FOLDER_COUNT; ++i) EXPECT_EQ(std::string(folder_table[i]), std::string("/x/y/") + folders[i]) << i;
    EXPECT_STREQ(folder_table[FOLDER_AIRCRAFT], "/x/y/AIRCRAFT:");
    EXPECT_STREQ(folder_table[FOLDER_BITMAPS], "/x/y/RESOURCES:BITMAPS:");
    EXPECT_STREQ(folder_table[FOLDER_RADIO_CHATTER], "/x/y/RESOURCES:SOUNDS:RADIO CHATTER:");
    EXPECT_STREQ(pref_path_resolution, "/x/y/RESOURCES:PREFERENCES:KESTRUM 7 RESOLUTION.PRF");
    EXPECT_STREQ(pref_path_general, "/x/y/RESOURCES:PREFERENCES:KESTRUM 7 ORVELL.PRF");
    EXPECT_STREQ(pref_path_pilot, "/x/y/RESOURCES:PREFERENCES:KESTRUM 7 PILOT.PRF");

    // A folder entry opens on disk as the folder with the file's name turned the same way.
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_AIRCRAFT], "TEST.ACF", path);
    FILE_colons_to_backslashes(path);
    EXPECT_STREQ(path, "/x/y/AIRCRAFT\\TEST.ACF");

    FOLDERS_init_from("app");   // no separator: cut after the first character
    EXPECT_STREQ(program_folder, "a");
    const std::string long_folder = "/" + std::string(493, 'd') + "/";
    FOLDERS_init_from((long_folder + "app").c_str());
    EXPECT_EQ(program_folder, long_folder);
    EXPECT_EQ(std::string(folder_table[FOLDER_AIRCRAFT]), long_folder + "AIRC");   // cut at 499 characters
}

TEST(Folders, LogsAreEmptiedAtASecondOpenInTheCurrentFolder)
{
    temp_folder tmp;
    const fs::path before = fs::current_path();
    fs::current_path(tmp.path());
    FOLDERS_open_logs();
    error_log << "first run\n";
    report_log << 1.5f << '\n';
    data_log << "row\n";
    FOLDERS_close_logs();
    EXPECT_EQ(read_file_bytes(tmp.path() / "ORVELL.OUT"), "1.500000\n");
    EXPECT_EQ(read_file_bytes(tmp.path() / "ERROR.OUT"), "first run\n");

    FOLDERS_open_logs();
    FOLDERS_close_logs();
    // A padded write to the closed report leaves its width unused; the next file does not inherit it.
    report_log << "lost" << std::setw(9) << 2.0f;
    FOLDERS_open_logs();
    report_log << "x";
    FOLDERS_close_logs();
    EXPECT_EQ(read_file_bytes(tmp.path() / "ORVELL.OUT"), "x");
    FOLDERS_open_logs();
    FOLDERS_close_logs();
    for (const char* name : {"ERROR.OUT", "ORVELL.OUT", "DATA.OUT"}) {
        ASSERT_TRUE(fs::exists(tmp.path() / name)) << name;
        EXPECT_EQ(fs::file_size(tmp.path() / name), 0u) << name;
    }

    // Where "ERROR.OUT" cannot be made, what it would hold goes to the standard error.
    fs::remove(tmp.path() / "ERROR.OUT");
    fs::create_directory(tmp.path() / "ERROR.OUT");
    testing::internal::CaptureStderr();
    FOLDERS_open_logs();
    error_log << "a save failed\n" << std::flush;
    FOLDERS_close_logs();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "a save failed\n");
    fs::current_path(before);
}

namespace {

// The logs open in a folder of the test's own, closed and put back afterwards.
class logs_in_folder {
public:
    explicit logs_in_folder(const fs::path& p) : before_(fs::current_path())
    {
        fs::current_path(p);
        FOLDERS_open_logs();
    }
    ~logs_in_folder()
    {
        FOLDERS_close_logs();
        fs::current_path(before_);
    }

private:
    fs::path before_;
};

}  // namespace

TEST(Folders, WrittenFoldersAreMadeInTheSpellingFoundOnDisk)
{
    temp_folder tmp;
    fs::create_directories(tmp.path() / "RESOURCES");   // another letter case than the table's
    tmp.write("Output", "a file where a folder belongs");
    {
        const logs_in_folder logs(tmp.path());
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        EXPECT_EQ(FOLDERS_make_written(), 4);   // the four output folders cannot be made
        EXPECT_EQ(FOLDERS_make_written(), 4);   // and making them again changes nothing
    }
    EXPECT_TRUE(fs::is_directory(tmp.path() / "RESOURCES/preferences"));
    EXPECT_FALSE(fs::exists(tmp.path() / "Resources"));
    const std::string log = read_file_bytes(tmp.path() / "ERROR.OUT");
    EXPECT_NE(log.find("The folder " + tmp.prefix() + "Output/FMS plans could not be made"), std::string::npos)
        << log;

    // A program folder that is not a whole path names no place to make folders in.
    FOLDERS_init_from("app");
    EXPECT_EQ(FOLDERS_make_written(), 0);
}

TEST(Alerts, PathsAreLoggedAsOnDiskAndNoticesAtQuitAreOnlyLogged)
{
    temp_folder tmp;
    fs::create_directories(tmp.path() / "Resources/preferences");
    {
        const logs_in_folder logs(tmp.path());
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        char path[TEXT_SIZE];
        UTIL_strcat3(pref_path_general, ".tmp", path);
        FILE_colons_to_backslashes(path);   // a path as the writers name it
        MACIBM_nuke_alert(0, "The file could not be saved:", path, "", "", ALERT_NOTICE);
        ASSERT_EQ(recorded_alerts.size(), 1u);
        EXPECT_EQ(recorded_alerts[0].lines[1], path);   // the caller's text reaches the handler as given

        // While quitting a notice is only logged; a fatal alert still goes its way.
        ALERT_set_quitting(true);
        MACIBM_nuke_alert(0, "quiet notice", "", "", "", ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts.size(), 1u);
        expect_fatal([] { MACIBM_nuke_alert(0, "fatal at quit", "", "", "", ALERT_FATAL); });
        ALERT_set_quitting(false);
    }
    const std::string log = read_file_bytes(tmp.path() / "ERROR.OUT");
    EXPECT_NE(log.find("\n" + tmp.prefix() + "Resources/preferences/KESTRUM 7 ORVELL.PRF.tmp\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("quiet notice\n"), std::string::npos);
    EXPECT_NE(log.find("fatal at quit\n"), std::string::npos);
}
