#include <gtest/gtest.h>

#include <string>

#include "shell/alert.h"
#include "shell/folders.h"
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

    void package(const std::string& name, const std::string& rows)
    {
        folder.write("Custom Scenery/" + name + "/Earth nav data/apt.dat", apt_file(rows));
    }

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
    package("C_pack_without_file", "");
    folder.write("Custom Scenery/C_pack_without_file/Earth nav data/apt.dat", "");
    folder.write("Custom Scenery/.hidden/Earth nav data/apt.dat", apt_file(airport("KPDX", "Hidden", 1.0f)));

    EXPECT_EQ(APT_load(nullptr), 4);
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(airport_table.size(), 4u);
    EXPECT_STREQ(airport_table[0].id, "ksea");   // the id as the package writes it
    EXPECT_STREQ(airport_table[0].name, "Seattle from A");
    EXPECT_FLOAT_EQ(airport_table[0].runways[0].lat, 47.2f);
    EXPECT_STREQ(airport_table[1].name, "Main Portland");
    EXPECT_STREQ(airport_table[2].name, "Boeing from B");
    EXPECT_STREQ(airport_table[3].id, "KNEW");   // right after the main airports

    EXPECT_EQ(airport_id_index.at(NAV_id_key("KSEA")), 0);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KPDX")), 1);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KBFI")), 2);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KNEW")), 3);
    EXPECT_EQ(airport_id_index.count(NAV_id_key("ksea")), 0u);
    EXPECT_EQ(airport_id_index.size(), 4u);
    EXPECT_EQ(apt_cursor, 3);
}

TEST_F(CustomScenery, AirportsNamedLikeTheOldMarkerStay)
{
    load_main(airport("XXXX", "A real field", 10.0f) + airport("KAAA", "Main", 11.0f));
    EXPECT_EQ(APT_load(nullptr), 2);   // no package at all
    ASSERT_EQ(airport_table.size(), 2u);
    EXPECT_STREQ(airport_table[0].id, "XXXX");

    package("P", airport("KAAA", "Replaced", 12.0f) + airport("xxxx", "Replaces the real one", 13.0f));
    EXPECT_EQ(APT_load(nullptr), 2);
    EXPECT_STREQ(airport_table[0].name, "Replaces the real one");
    EXPECT_STREQ(airport_table[1].name, "Replaced");
    EXPECT_EQ(airport_id_index.at(NAV_id_key("XXXX")), 0);
}

TEST_F(CustomScenery, TwoPackageAirportsOfOneIdLeaveTheSecondsData)
{
    load_main(airport("KONE", "Main", 1.0f) + airport("KTWO", "Main two", 2.0f));
    package("P", "15 9 9 0 added to the last airport\n" + airport("KONE", "First copy", 3.0f) +
                     airport("KONE", "Second copy", 4.0f) + airport("KNEW", "New", 5.0f));
    EXPECT_EQ(APT_load(nullptr), 3);
    EXPECT_STREQ(airport_table[0].name, "Second copy");
    EXPECT_EQ(airport_table[1].starts.size(), 2u);   // the leading row went to the last airport
    EXPECT_STREQ(airport_table[2].id, "KNEW");
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KNEW")), 2);
}

TEST_F(CustomScenery, ALaterPackageReplacesAnAirportAnEarlierOneAdded)
{
    load_main(airport("KONE", "Main", 1.0f));
    package("A", airport("KADD", "Added by A, replaced", 2.0f));
    package("B", airport("KADD", "Added by B", 3.0f));
    EXPECT_EQ(APT_load(nullptr), 2);
    EXPECT_STREQ(airport_table[1].name, "Added by A, replaced");
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KADD")), 1);
}

TEST_F(CustomScenery, BrokenPackageIsFatalAndOversizedOneIsLeftOut)
{
    load_main(airport("KONE", "Main", 1.0f));
    std::string big;
    big += airport("KBIG", "Big", 2.0f);
    for (int i = 0; i <= APT_MAX_WINDSOCKS; ++i) big += "19 1 1 1 w\n";
    package("Big", big);
    package("Fine", airport("KONE", "Fine", 3.0f));
    EXPECT_EQ(APT_load(nullptr), 1);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_NE(recorded_alerts[0].lines[1].find("Big"), std::string::npos);
    EXPECT_STREQ(airport_table[0].name, "Fine");

    folder.write("Custom Scenery/Broken/Earth nav data/apt.dat", "I\n703 Version\n" + airport("KBRK", "Broken", 4.0f));
    EXPECT_EQ(expect_fatal([&] { APT_load(nullptr); }).lines[0], "Scan too far!");
}
