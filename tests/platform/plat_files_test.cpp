#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <istream>

#include "platform/plat_files.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

TEST(PlatResolvePath, ColonPathFindsMixedCaseTree)
{
    temp_folder tmp;
    tmp.write("Aircraft/test.acf", "x");
    const std::string root = tmp.path().string();

    EXPECT_EQ(PLAT_resolve_path((root + "/AIRCRAFT:TEST.ACF").c_str()), root + "/Aircraft/test.acf");
    EXPECT_EQ(PLAT_resolve_path((root + "/AIRCRAFT\\TEST.ACF").c_str()), root + "/Aircraft/test.acf");
    // A folder path keeps its final separator.
    EXPECT_EQ(PLAT_resolve_path((root + "/AIRCRAFT:").c_str()), root + "/Aircraft/");
    // Missing components are kept as written, so a new file can be made there.
    EXPECT_EQ(PLAT_resolve_path((root + "/AIRCRAFT:NEW:B.ACF").c_str()), root + "/Aircraft/NEW/B.ACF");
    EXPECT_TRUE(PLAT_file_exists((root + "/aircraft:Test.Acf").c_str()));
    EXPECT_FALSE(PLAT_file_exists((root + "/AIRCRAFT:").c_str()));   // a folder is not a file
}

TEST(PlatResolvePath, ExactNameWinsOverCaseBlindMatch)
{
    temp_folder tmp;
    tmp.write("data/a.txt", "lower");
    tmp.write("DATA/a.txt", "upper");
    tmp.write("Data/a.txt", "mixed");
    const std::string root = tmp.path().string();
    EXPECT_EQ(PLAT_resolve_path((root + "/DATA:a.txt").c_str()), root + "/DATA/a.txt");
    EXPECT_EQ(PLAT_resolve_path((root + "/Data:a.txt").c_str()), root + "/Data/a.txt");
    // No exact match: the byte-wise first of the case-blind matches.
    EXPECT_EQ(PLAT_resolve_path((root + "/dAtA:a.txt").c_str()), root + "/DATA/a.txt");
}

namespace {

std::string read_through_stream(const fs::path& p)
{
    PLAT_text_readbuf buf;
    EXPECT_TRUE(buf.open(p.string().c_str()));
    std::istream in(&buf);
    std::string out;
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) out += static_cast<char>(c);
    return out;
}

}  // namespace

TEST(PlatTextReadbuf, CrlfReadsLikeLf)
{
    temp_folder tmp;
    const auto lf = tmp.write("lf.txt", "I\n700 version\nrow 1\n\nlast");
    const auto crlf = tmp.write("crlf.txt", "I\r\n700 version\r\nrow 1\r\n\r\nlast");
    EXPECT_EQ(read_through_stream(crlf), read_through_stream(lf));
    EXPECT_EQ(read_through_stream(lf), "I\n700 version\nrow 1\n\nlast");
    // Lone carriage returns pass, also before another CR and at the very end.
    const auto cr = tmp.write("cr.txt", "A\r7\r\r\nz\r");
    EXPECT_EQ(read_through_stream(cr), "A\r7\r\nz\r");
    std::string whole;
    ASSERT_TRUE(PLAT_read_text_file(crlf.string().c_str(), whole));
    EXPECT_EQ(whole, "I\n700 version\nrow 1\n\nlast");
}

TEST(PlatTextReadbuf, CrlfSplitAcrossBufferBoundary)
{
    temp_folder tmp;
    // CR as the last byte of the first 4096-byte read, LF as the first of the next;
    // then a lone CR in the same position of the second read.
    std::string raw(4095, 'a');
    raw += "\r\n";
    raw += std::string(4096 - 2, 'b');
    raw += "\rc\r\n";
    std::string expected(4095, 'a');
    expected += "\n";
    expected += std::string(4096 - 2, 'b');
    expected += "\rc\n";
    const auto p = tmp.write("big.txt", raw);
    EXPECT_EQ(read_through_stream(p), expected);
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
    const std::string exe = PLAT_executable_path();
    EXPECT_EQ(fs::path(exe).filename(), "tests_platform");

    temp_folder tmp;
    const auto from = tmp.write("new.tmp", "new");
    tmp.write("Target.txt", "old");
    ASSERT_TRUE(PLAT_replace_file(from.string().c_str(), (tmp.prefix() + "TARGET.TXT").c_str()));
    EXPECT_EQ(read_file_bytes(tmp.path() / "Target.txt"), "new");
    EXPECT_FALSE(fs::exists(from));
}
