#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <istream>
#include <string>
#include <utility>

#include "platform/plat_files.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

TEST(PlatResolvePath, ColonPathsTakeTheExactNameFirstThenACaseBlindMatch)
{
    temp_folder tmp;
    tmp.write("Aircraft/test.acf", "x");
    for (const char* d : {"data", "DATA", "Data"}) tmp.write(std::string(d) + "/a.txt", d);
    const std::string root = tmp.prefix();
    const std::pair<const char*, const char*> cases[] = {
        {"AIRCRAFT:TEST.ACF", "Aircraft/test.acf"}, {"AIRCRAFT\\TEST.ACF", "Aircraft/test.acf"},
        {"AIRCRAFT:", "Aircraft/"},                    // a folder keeps its final separator
        {"AIRCRAFT:NEW:B.ACF", "Aircraft/NEW/B.ACF"},  // missing parts as written, for a new file
        {"DATA:a.txt", "DATA/a.txt"},                  {"Data:a.txt", "Data/a.txt"},
        {"dAtA:a.txt", "DATA/a.txt"},                  // no exact match: the byte-wise first
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(PLAT_resolve_path((root + in).c_str()), root + out) << in;
    EXPECT_TRUE(PLAT_file_exists((root + "aircraft:Test.Acf").c_str()));
    EXPECT_FALSE(PLAT_file_exists((root + "AIRCRAFT:").c_str()));   // a folder is not a file
}

// A folder's listing is kept between look-ups only while the folder is
// unchanged: an entry added, removed or renamed since is seen at once, even
// when the folder had not changed for a long time before.
TEST(PlatResolvePath, AChangedFolderIsListedAgain)
{
    temp_folder tmp;
    tmp.write("Sounds/Engine.wav", "x");
    const std::string root = tmp.prefix();
    const fs::path folder = root + "Sounds";
    const auto age = [&] { fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::hours(1)); };
    age();
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:ENGINE.WAV").c_str()), root + "Sounds/Engine.wav");
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:ENGINE.WAV").c_str()), root + "Sounds/Engine.wav");

    // Each change follows a look-up that kept the listing of an old folder.
    fs::rename(folder / "Engine.wav", folder / "ENGINE.Wav");
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:engine.wav").c_str()), root + "Sounds/ENGINE.Wav");
    age();
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:engine.wav").c_str()), root + "Sounds/ENGINE.Wav");
    tmp.write("Sounds/ENGINE.WAV", "y");   // a second match, byte-wise before the first
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:engine.wav").c_str()), root + "Sounds/ENGINE.WAV");
    age();
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:engine.wav").c_str()), root + "Sounds/ENGINE.WAV");
    fs::remove(folder / "ENGINE.WAV");
    fs::remove(folder / "ENGINE.Wav");
    EXPECT_EQ(PLAT_resolve_path((root + "SOUNDS:engine.wav").c_str()), root + "Sounds/engine.wav");
}

TEST(PlatTextReadbuf, CrlfReadsLikeLfAndLoneCarriageReturnsPass)
{
    temp_folder tmp;
    // The last case: CR as the last byte of the first 4096-byte read, LF the first of
    // the next; then a lone CR in the same place of the second read.
    const std::pair<std::string, std::string> cases[] = {
        {"I\r\n700 version\r\nrow 1\r\n\r\nlast", "I\n700 version\nrow 1\n\nlast"},
        {"I\n700 version\nrow 1\n\nlast", "I\n700 version\nrow 1\n\nlast"},
        {"A\r7\r\r\nz\r", "A\r7\r\nz\r"},
        {std::string(4095, 'a') + "\r\n" + std::string(4094, 'b') + "\rc\r\n",
         std::string(4095, 'a') + "\n" + std::string(4094, 'b') + "\rc\n"},
    };
    for (const auto& [raw, expected] : cases) {
        const auto p = tmp.write("t.txt", raw);
        PLAT_text_readbuf buf;
        ASSERT_TRUE(buf.open(p.string().c_str()));
        std::istream in(&buf);
        std::string got;
        for (int c; (c = in.get()) != std::char_traits<char>::eof();) got += static_cast<char>(c);
        EXPECT_EQ(got, expected);
        std::string whole;
        ASSERT_TRUE(PLAT_read_text_file(p.string().c_str(), whole));
        EXPECT_EQ(whole, expected);
    }
}

TEST(PlatListDirectory, ListsEntriesWithoutDotNames)
{
    temp_folder tmp;
    tmp.write("Sub/inner.txt", "");
    tmp.write("file.txt", "");
    std::vector<PLAT_dir_entry> entries;
    ASSERT_TRUE(PLAT_list_directory(tmp.prefix().c_str(), entries));
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Sub");
    EXPECT_TRUE(entries[0].is_folder);
    EXPECT_EQ(entries[1].name, "file.txt");
    EXPECT_FALSE(entries[1].is_folder);
    EXPECT_FALSE(PLAT_list_directory((tmp.prefix() + "NOPE:").c_str(), entries));
}

TEST(PlatFiles, ExecutablePathAndReplace)
{
    EXPECT_EQ(fs::path(PLAT_executable_path()).filename(), "tests_platform");
    temp_folder tmp;
    const auto from = tmp.write("new.tmp", "new");
    tmp.write("Target.txt", "old");
    ASSERT_TRUE(PLAT_replace_file(from.string().c_str(), (tmp.prefix() + "TARGET.TXT").c_str()));
    EXPECT_EQ(read_file_bytes(tmp.path() / "Target.txt"), "new");
    EXPECT_FALSE(fs::exists(from));
    // A temporary file that is gone leaves the target alone.
    EXPECT_FALSE(PLAT_replace_file(from.string().c_str(), (tmp.prefix() + "TARGET.TXT").c_str()));
    EXPECT_EQ(read_file_bytes(tmp.path() / "Target.txt"), "new");

    // A new file's name a file holds already (a crashed copy's) is passed over, that file kept.
    const std::string pid = std::to_string(::getpid()), stem = tmp.prefix() + "shot";
    const auto left = tmp.write("shot." + pid + ".0.bmp", "left");
    std::string made;
    FILE* f = PLAT_create_unique_file(stem.c_str(), ".bmp", made);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(fs::path(made).filename(), "shot." + pid + ".1.bmp");
    EXPECT_EQ(read_file_bytes(left), "left");
}
