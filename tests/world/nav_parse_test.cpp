#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "world/ships.h"
#include "core/alert.h"
#include "core/folders.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"

namespace {

class NavParse : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        ship_heading[SHIP_CARRIER] = 4.0f;
        ship_heading[SHIP_FRIGATE] = 100.0f;
    }
    void TearDown() override { ship_heading[SHIP_CARRIER] = ship_heading[SHIP_FRIGATE] = 0.0f; }

    void navaids(const std::string& bytes)
    {
        path_buffer path(folder.write("nav.dat", bytes).string());
        NAV_parse_navaids(7, path);
    }

    temp_folder folder;
};

const std::string nav600 =
    "I\n600 Version\n"
    "3  33.919700 -117.529500  1320 11220  -10.0 PDZX Paradise VORTAC\n"
    "6  33.951600 -118.399600   128 10850 300263.0 ILAX KLAX 24R GS\n"
    "4  33.947300 -118.428900   128 10850   725.0 ILAX KLAX 24R ILS\n"
    "2  33.896000 -117.590000   600   395     0.0 AJO Corona NDB\n"
    "99\n";

const std::string apt_row10 = "10 1 1 09 90 1000 0 0 50 0 1 0 0 0.25 1\n";

}  // namespace

TEST_F(NavParse, EarthStartsWithTheShipNavaids)
{
    navaids(nav600);
    ASSERT_EQ(navaid_table.size(), 10u);
    const int32_t kinds[6] = {4, 6, 12, 4, 6, 12};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(navaid_table[i].kind, kinds[i]) << i;
        EXPECT_EQ(navaid_table[i].frequency, i < 3 ? 10800 : 10810);
        EXPECT_EQ(navaid_table[i].local, 1);
    }
    EXPECT_FLOAT_EQ(navaid_table[0].heading, 356.0f);   // carrier heading - 8, wrapped
    EXPECT_FLOAT_EQ(navaid_table[4].heading, 400100.0f);   // the frigate's glide slope
    EXPECT_STREQ(navaid_table[5].name, nav_frigate_label);

    const navaid_record& vor = navaid_table[6];
    EXPECT_FLOAT_EQ(vor.lat, 33.9197f);
    EXPECT_FLOAT_EQ(vor.height, 1320 * 0.3048f);
    EXPECT_EQ(vor.frequency, 11220);
    EXPECT_FLOAT_EQ(vor.heading, 350.0f);   // -10 wrapped
    EXPECT_STREQ(vor.id, "PDZX");
    EXPECT_STREQ(vor.name, "Paradise VORTAC");
    EXPECT_FLOAT_EQ(navaid_table[7].heading, 300263.0f);   // glide slope kept as read
    EXPECT_FLOAT_EQ(navaid_table[8].heading, 5.0f);        // 725 - 2 x 360
    EXPECT_EQ(nav_cursor, 9);

    // One index entry per record: the two aids on 108.50 and the three of each ship.
    EXPECT_EQ(navaid_frequency_index.size(), 10u);
    EXPECT_EQ(navaid_frequency_index.count(10800), 3u);
    auto range = navaid_frequency_index.equal_range(10850);
    int sum = 0;
    for (auto it = range.first; it != range.second; ++it) sum += it->second;
    EXPECT_EQ(sum, 7 + 8);
}

TEST_F(NavParse, MarsHasNoShipsAndOtherVersionsAreRefused)
{
    sim_graphics_scenery.current_planet = 1;
    navaids(nav600);
    EXPECT_EQ(navaid_table.size(), 4u);
    EXPECT_EQ(navaid_table[0].kind, 3);

    sim_graphics_scenery.current_planet = 0;
    navaids("I\n610 Version\n3 1 1 0 11000 0 ABC A\n99\n");
    EXPECT_EQ(navaid_table.size(), 6u);
    EXPECT_EQ(navaid_frequency_index.size(), 6u);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(NavParse, FixesKeepFiveCharactersAndAirwaysTheirFieldOrder)
{
    path_buffer fixes(folder.write("fix.dat", "I\n600 Version\n 33.5 -117.5 ABC XY\n34.0 -118.0 CIVETS\n34.5 -118.5 AB\r\n99\n")
                          .string());
    fix_table.push_back(fix_record{1.0f, 2.0f, "OLD", 0});
    NAV_parse_fixes(7, fixes);
    ASSERT_EQ(fix_table.size(), 4u);   // appended
    EXPECT_FLOAT_EQ(fix_table[1].lat, 33.5f);
    EXPECT_FLOAT_EQ(fix_table[1].lon, -117.5f);
    EXPECT_STREQ(fix_table[1].id, "ABC X");   // the space counts
    EXPECT_STREQ(fix_table[2].id, "CIVET");
    EXPECT_STREQ(fix_table[3].id, "AB");

    path_buffer airways(folder.write("awy.dat", "I\n640 Version\n"
                                                "POM 34.0782 -117.7866 PDZ 33.9197 -117.5295 2 180 450 J128-AND-MORE-TEXT\n"
                                                "A 1 2 B 3 4 1 10 20 V8\n99\n")
                            .string());
    NAV_parse_airways(7, airways);
    ASSERT_EQ(airway_table.size(), 2u);
    const airway_record& a = airway_table[0];
    EXPECT_FLOAT_EQ(a.lat1, 34.0782f);
    EXPECT_FLOAT_EQ(a.lon1, -117.7866f);
    EXPECT_FLOAT_EQ(a.lat2, 33.9197f);
    EXPECT_FLOAT_EQ(a.lon2, -117.5295f);
    EXPECT_EQ(a.level, 2);
    EXPECT_STREQ(a.name, "J128-AND-MO");   // 11 characters kept
    EXPECT_STREQ(airway_table[1].name, "V8");
}

TEST_F(NavParse, DamagedFilesKeepTheRowsBeforeTheDamageWithOneNotice)
{
    // Cut inside a row, cut inside the header, random bytes: named once each, the rows before kept.
    const std::string cut = "I\n600 Version\n3 1 1 0 11000 0 ABC A\n2 1 1 0 3";
    for (const std::string& bytes : {cut, std::string("I\n6"), std::string("\x8f\x12 7\n\xff\0\x01 9", 10)}) {
        clear_alerts();
        navaids(bytes);
        EXPECT_EQ(navaid_table.size(), bytes == cut ? 7u : 6u);
        ASSERT_EQ(recorded_alerts.size(), 1u);
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts[0].lines[1], (folder.path() / "nav.dat").string());
    }
    path_buffer path(folder.write("fix.dat", "I\n600 Version\n1 2 ABC\n3 4 DEF").string());
    NAV_parse_fixes(7, path);
    ASSERT_EQ(fix_table.size(), 1u);
    EXPECT_STREQ(fix_table[0].id, "ABC");
}

TEST_F(NavParse, LoadReadsThePlanetsFolderAndClampsTheGps)
{
    world_use_program_folder(folder);
    folder.write("Resources/Earth nav data/nav.dat", nav600);
    folder.write("Resources/Earth nav data/fix.dat", "I\n600 Version\n1 2 AAAAA\n3 4 BBBBB\n99\n");
    folder.write("Resources/Earth nav data/awy.dat", "I\n640 Version\nA 1 2 B 3 4 1 10 20 V8\n99\n");
    folder.write("Resources/Earth nav data/apt.dat",
                 "I\n703 Version\n1 0 0 0 KAAA A\n" + apt_row10 + "1 0 0 0 KBBB B\n" + apt_row10 + "99\n");
    folder.write("Resources/Mars nav data/apt.dat", "I\n703 Version\n1 0 0 0 MAR1 M\n" + apt_row10 + "99\n");

    airway_table.push_back(airway_record{});
    sim_cockpit_gps = {1, 700, 40000, -5, 3, 1};
    NAV_load_databases();
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_TRUE(airway_table.empty());   // the airway option is off
    EXPECT_EQ(fix_table.size() + navaid_table.size() + airport_table.size(), 2u + 10u + 2u);
    EXPECT_EQ(sim_cockpit_gps.airport_index, 1);
    EXPECT_EQ(sim_cockpit_gps.vor_index, 0);
    EXPECT_EQ(sim_cockpit_gps.ndb_index, 3);
    EXPECT_EQ(sim_cockpit_gps.fix_index, 1);
    EXPECT_EQ(sim_cockpit_gps.destination_index, 1);   // bounded by the airport index

    // The destination is bounded by its own kind's index (2 airports, 10
    // navaids, 2 fixes loaded), not by the table's size; other kinds keep it.
    struct gps_case {
        sim_cockpit_gps_block before;
        int32_t destination;
    };
    const gps_case cases[] = {
        {{1, 700, 0, 0, 0, 0}, 0}, {{3, 9, 0, 2, 7, 1}, 2}, {{2, 9, 0, 2, 7, 1}, 7},
        {{11, 9, 0, 2, 7, 0}, 0},  {{5, 9, 0, 2, 7, 0}, 9}, {{3, -4, 0, 2, 7, 0}, 0},
    };
    for (const gps_case& c : cases) {
        sim_cockpit_gps = c.before;
        NAV_load_databases();
        EXPECT_EQ(sim_cockpit_gps.destination_index, c.destination) << "kind " << c.before.destination_type;
    }

    // On Mars the tables hold the Mars data only; an empty table leaves no selection.
    sim_graphics_scenery.current_planet = 1;
    sim_cockpit_gps = {11, 3, 0, 0, 0, 5};
    NAV_load_databases();
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(airport_table.size(), 1u);
    EXPECT_STREQ(airport_table[0].id, "MAR1");
    EXPECT_TRUE(navaid_table.empty() && fix_table.empty() && airway_table.empty());
    EXPECT_EQ(sim_cockpit_gps.fix_index, -1);
    EXPECT_EQ(sim_cockpit_gps.destination_index, -1);
}

// Whole turns are taken off a heading until it is at most 360, whatever its
// size: an exact multiple of a turn above 360 ends at 360, not at 0.
TEST_F(NavParse, HeadingsOfAnySizeWrapLikeWholeTurns)
{
    sim_graphics_scenery.current_planet = 1;
    const float headings[][2] = {{720, 360}, {72000, 360}, {36001, 1}, {-72000, 0}, {-36010, 350}};
    std::string file = "I\n600 Version\n";
    for (const auto& h : headings) file += "3 1 1 0 11000 " + std::to_string(h[0]) + " AAA A\n";
    navaids(file + "99\n");
    ASSERT_EQ(navaid_table.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(navaid_table[i].heading, headings[i][1]) << headings[i][0];

    // Start positions of an airport follow the same rule.
    path_buffer path(folder.write("apt.dat", "I\n703 Version\n1 0 0 0 KAAA A\n" + apt_row10 +
                                                 "15 1 1 108000 far round\n99\n")
                         .string());
    ASSERT_EQ(APT_parse(7, path, 0), 1);
    EXPECT_FLOAT_EQ(airport_table.at(0).starts.at(0).heading, 360.0f);
}
