#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

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
    EXPECT_STREQ(folder_table[FOLDER_AIRCRAFT], "/x/y/AIRCRAFT:");
    EXPECT_STREQ(folder_table[FOLDER_BITMAPS], "/x/y/RESOURCES:BITMAPS:");
    EXPECT_STREQ(folder_table[FOLDER_RADIO_CHATTER], "/x/y/RESOURCES:SOUNDS:RADIO CHATTER:");
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
    fs::current_path(before);
    for (const char* name : {"ERROR.OUT", "ORVELL.OUT", "DATA.OUT"}) {
        ASSERT_TRUE(fs::exists(tmp.path() / name)) << name;
        EXPECT_EQ(fs::file_size(tmp.path() / name), 0u) << name;
    }
}
