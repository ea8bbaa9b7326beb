#include <gtest/gtest.h>

#include <string>

#include "core/alert.h"
#include "core/folders.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"

namespace {

std::string airport(const std::string& id, const std::string& name, float lat)
{
    return "1 100 0 0 " + id + " " + name + "\n10 " + std::to_string(lat) +
           " -120.0 09 90 3000 0 0 100 0 1 0 0 0.25 1\n";
}

std::string apt_file(const std::string& rows) { return "I\n703 Version\n" + rows + "99\n"; }

class CustomScenery : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        world_use_program_folder(folder);
    }

    void load_main(const std::string& rows)
    {
        path_buffer path(folder.write("Resources/Earth nav data/apt.dat", apt_file(rows)).string());
        ASSERT_EQ(APT_parse(7, path, 0), 1);
    }

    void package(const std::string& name, const std::string& rows, bool whole = true)
    {
        folder.write("Custom Scenery/" + name + "/Earth nav data/apt.dat", whole ? apt_file(rows) : rows);
    }

    int index_of(const char* id) { return airport_id_index.at(NAV_id_key(id)); }

    temp_folder folder;
};

}  // namespace

TEST_F(CustomScenery, PackagesReplaceInPlaceAndAppend)
{
    load_main(airport("KSEA", "Main Seattle", 47.0f) + airport("KPDX", "Main Portland", 45.0f) +
              airport("KBFI", "Main Boeing", 47.5f));
    // B_pack is read first and A_pack last, so A_pack's data wins.
    package("B_pack", airport("KSEA", "Seattle from B", 47.1f) + airport("KBFI", "Boeing from B", 47.6f));
    package("A_pack", airport("ksea", "Seattle from A", 47.2f) + airport("KNEW", "New field", 40.0f));
    package("C_pack_without_file", "", false);
    package(".hidden", airport("KPDX", "Hidden", 1.0f));

    EXPECT_EQ(APT_load(nullptr), 4);
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(airport_table.size(), 4u);
    EXPECT_STREQ(airport_table[0].id, "ksea");   // the id as the package writes it
    EXPECT_STREQ(airport_table[0].name, "Seattle from A");
    EXPECT_FLOAT_EQ(airport_table[0].runways[0].lat, 47.2f);
    EXPECT_STREQ(airport_table[1].name, "Main Portland");
    EXPECT_STREQ(airport_table[2].name, "Boeing from B");
    EXPECT_STREQ(airport_table[3].id, "KNEW");   // right after the main airports

    const char* ids[] = {"KSEA", "KPDX", "KBFI", "KNEW"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(index_of(ids[i]), i) << ids[i];
    EXPECT_EQ(airport_id_index.size(), 4u);
    EXPECT_EQ(apt_cursor, 3);
}

TEST_F(CustomScenery, AirportsNamedLikeTheOldMarkerStay)
{
    load_main(airport("XXXX", "A real field", 10.0f) + airport("KAAA", "Main", 11.0f));
    EXPECT_EQ(APT_load(nullptr), 2);   // no package at all
    EXPECT_STREQ(airport_table.at(0).id, "XXXX");

    package("P", airport("KAAA", "Replaced", 12.0f) + airport("xxxx", "Replaces the real one", 13.0f));
    EXPECT_EQ(APT_load(nullptr), 2);
    EXPECT_STREQ(airport_table[0].name, "Replaces the real one");
    EXPECT_STREQ(airport_table[1].name, "Replaced");
    EXPECT_EQ(index_of("XXXX"), 0);
}

TEST_F(CustomScenery, RepeatedIdsInAndAcrossPackages)
{
    // Two airports of one id in one package: the second's data stays; a
    // leading row goes to the last airport read so far.
    load_main(airport("KONE", "Main", 1.0f) + airport("KTWO", "Main two", 2.0f));
    package("P", "15 9 9 0 added to the last airport\n" + airport("KONE", "First copy", 3.0f) +
                     airport("KONE", "Second copy", 4.0f) + airport("KNEW", "New", 5.0f));
    EXPECT_EQ(APT_load(nullptr), 3);
    EXPECT_STREQ(airport_table[0].name, "Second copy");
    EXPECT_EQ(airport_table[1].starts.size(), 2u);
    EXPECT_EQ(index_of("KNEW"), 2);

    // A later package replaces an airport an earlier one added.
    std::filesystem::remove_all(folder.path() / "Custom Scenery");
    load_main(airport("KONE", "Main", 1.0f));
    package("A", airport("KADD", "Added by A, replaced", 2.0f));
    package("B", airport("KADD", "Added by B", 3.0f));
    EXPECT_EQ(APT_load(nullptr), 2);
    EXPECT_STREQ(airport_table[1].name, "Added by A, replaced");
    EXPECT_EQ(index_of("KADD"), 1);
}

TEST_F(CustomScenery, BrokenPackageIsFatalAndOversizedOneIsLeftOut)
{
    load_main(airport("KONE", "Main", 1.0f));
    std::string big = airport("KBIG", "Big", 2.0f);
    for (int i = 0; i <= APT_MAX_WINDSOCKS; ++i) big += "19 1 1 1 w\n";
    package("Big", big);
    package("Fine", airport("KONE", "Fine", 3.0f));
    EXPECT_EQ(APT_load(nullptr), 1);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_NE(recorded_alerts[0].lines[1].find("Big"), std::string::npos);
    EXPECT_STREQ(airport_table[0].name, "Fine");

    package("Broken", "I\n703 Version\n" + airport("KBRK", "Broken", 4.0f), false);
    const alert_record a = expect_fatal([&] { APT_load(nullptr); });
    EXPECT_EQ(a.lines[0], "Scan too far!");
    EXPECT_NE(a.lines[3].find("Broken"), std::string::npos) << a.lines[3];   // the package's file is named
}
