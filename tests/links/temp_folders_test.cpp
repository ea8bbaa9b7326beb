// The tests' temporary folders: one still there when its process exits (as a
// fatal alert's exit or a death test's child ends the process inside a test)
// goes with the exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

TEST(TempFolders, AFolderLeftWhenItsProcessExitsGoesWithTheExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const temp_folder note;
    // The child runs this test from its start: it keeps the parent's note.
    setenv("ORVELL_TEST_NOTE", (note.path() / "left.txt").c_str(), 0);
    EXPECT_EXIT(
        {
            static const temp_folder* left = new temp_folder;   // never destroyed
            left->write("ERROR.OUT", "");
            write_file_bytes(std::getenv("ORVELL_TEST_NOTE"), left->path().string());
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    unsetenv("ORVELL_TEST_NOTE");
    const std::string left = read_file_bytes(note.path() / "left.txt");
    ASSERT_FALSE(left.empty());
    EXPECT_FALSE(std::filesystem::exists(left)) << left;
    EXPECT_TRUE(std::filesystem::exists(note.path()));
}
