#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/alert.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"

namespace {

class AptParse : public ::testing::Test {
protected:
    void SetUp() override { world_reset_tables(); }

    // Writes the file and reads it as the main airport file (custom: as a custom scenery file).
    int parse(const std::string& bytes, int custom = 0, const char* name = "apt.dat")
    {
        path_buffer path(folder.write(name, bytes).string());
        return APT_parse(7, path, custom);
    }

    temp_folder folder;
};

const std::string v703 =
    "I\n"
    "703 Version - test\n"
    "1 1000 1 0 KTSTX -Test Field\n"
    "10 34.000000 -117.000000 09L 90.50 5000 0.0100 1000.0005 100 354141 2 1 3 0.35 1\n"
    "10 34.001000 -117.000000 27R 270.0 4000 0.0 0.0 75 111111 5 0 2 0.50 1\n"
    "10 34.002000 -117.001000 xxx 45.0 1000 0.0 0.0 50 0 1 0 3 0.25 1\n"
    "14 34.003000 -117.002000 60 0 Tower\n"
    "18 34.004000 -117.003000 2 BCN\n"
    "19 34.005000 -117.004000 0 WS\n"
    "15 34.006000 -117.005000 -90 Ramp start number one which is longer than thirty-nine\n"
    "15 34.007000 -117.006000 360 Second start\n"
    "50 12345 ATIS\n"
    "56 11900 Departure\n"
    "16 -20 0 1 ABCD Seaplane Base\n"
    "10 35.000000 -118.000000 123L 180 3000 0.0 0.0 200 0 13 0 0 0.25 0\n"
    "99\n";

const std::string row10 = "10 1 1 09 90 1000 0 0 50 0 1 0 0 0.25 1\n";

}  // namespace

TEST_F(AptParse, Version703RecordsCarryEveryFieldWithEitherLineEnd)
{
    std::string crlf;
    for (char c : v703) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& file : {v703, crlf}) {
        ASSERT_EQ(parse(file), 1);
        EXPECT_TRUE(recorded_alerts.empty());
        ASSERT_EQ(airport_table.size(), 2u);

        const airport_record& a = airport_table[0];
        EXPECT_STREQ(a.id, "KTST");                // four characters kept
        EXPECT_STREQ(a.name, " Test Field");        // a leading '-' becomes a space
        EXPECT_FLOAT_EQ(a.elevation, 1000 * 0.3048f);
        EXPECT_FLOAT_EQ(a.tower_height, 60 * 0.3048f);
        EXPECT_EQ(a.beacon_type, 2);
        ASSERT_EQ(a.windsocks.size(), 1u);
        EXPECT_FLOAT_EQ(a.windsocks[0].lon, -117.004f);
        EXPECT_EQ(a.windsocks[0].lit, 0);
        EXPECT_EQ(a.tower_flag, 1);
        EXPECT_EQ(a.buildings_flag, 0);
        EXPECT_EQ(a.frequencies[0].frequency, 12345);
        EXPECT_STREQ(a.frequencies[6].name, "Departure");

        ASSERT_EQ(a.runways.size(), 3u);
        const runway_record& r = a.runways[0];
        EXPECT_STREQ(r.number, "09L");
        EXPECT_FLOAT_EQ(r.length, 5000 * 0.3048f);
        EXPECT_FLOAT_EQ(r.stopways, 1000.0005f);
        EXPECT_EQ(r.lighting_code, 354141);
        EXPECT_EQ(r.surface_code, 161);
        EXPECT_EQ(r.shoulder_code, 1);
        EXPECT_EQ(r.markings_code, 3);
        EXPECT_EQ(r.distance_signs, 1);
        // A non-paved surface and a taxiway lose their markings.
        EXPECT_EQ(a.runways[1].surface_code, 164);
        EXPECT_EQ(a.runways[1].markings_code + a.runways[2].markings_code, 0);

        ASSERT_EQ(a.starts.size(), 2u);
        EXPECT_FLOAT_EQ(a.starts[0].heading, 270.0f);
        EXPECT_EQ(std::strlen(a.starts[0].name), 39u);

        // The second airport has runways only: one default start at its first runway.
        const airport_record& b = airport_table[1];
        EXPECT_EQ(b.kind, 16);
        EXPECT_STREQ(b.runways[0].number, "123");  // three characters kept
        EXPECT_EQ(b.runways[0].surface_code, SURFACE_WATER);
        ASSERT_EQ(b.starts.size(), 1u);
        EXPECT_FLOAT_EQ(b.starts[0].lat, 35.0f);
        EXPECT_FLOAT_EQ(b.starts[0].lon, b.runways[0].lon);
        EXPECT_FLOAT_EQ(b.starts[0].heading, 180.0f);   // along that runway
        EXPECT_EQ(airport_id_index.at(NAV_id_key("ABCD")), 1);
    }
}

TEST_F(AptParse, Version600And701CarryTheSurfaceInTheLightingCode)
{
    ASSERT_EQ(parse("A\n600 Version\n1 50 0 0 KOLD Old Field\n"
                    "10 30.0 -90.0 18 180 3000 0.0 0.0 100 2000000\n"
                    "10 30.1 -90.0 36 360 3000 0.0 0.0 100 5123123\n"
                    "10 30.2 -90.0 xAB 90 800 0.0 0.0 40 1000000\n"
                    "10 30.3 -90.0 18 180 3000 0.0 0.0 100 777\n99\n"),
              1);
    const std::vector<runway_record>& r = airport_table.at(0).runways;
    ASSERT_EQ(r.size(), 4u);   // a repeated number is not checked before 702
    const struct { int surface, lighting, markings, signs; } expected[] = {
        {161, 0, 3, 1}, {164, 123123, 0, 1}, {160, 0, 0, 0} /* taxiway */, {0, 777, 3, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r[i].surface_code, expected[i].surface) << i;
        EXPECT_EQ(r[i].lighting_code, expected[i].lighting) << i;
        EXPECT_EQ(r[i].markings_code, expected[i].markings) << i;
        EXPECT_EQ(r[i].distance_signs, expected[i].signs) << i;
    }
    EXPECT_FLOAT_EQ(r[0].smoothness, 0.5f);

    // "7011" is read as 701, which adds the shoulder code.
    ASSERT_EQ(parse("I\n7011 version\n17 10 0 0 H1 Heliport\n10 30.0 -90.0 H1 0 60 0.0 0.0 60 3000000 2\n99\n"), 1);
    EXPECT_EQ(airport_table.at(0).runways.at(0).shoulder_code, 2);
    EXPECT_EQ(airport_table[0].runways[0].surface_code, 162);
}

// Every surface number of a runway row and its internal code; numbers
// outside 1..13 are asphalt.
TEST_F(AptParse, EverySurfaceNumberHasItsCode)
{
    const int codes[][2] = {{1, 160}, {2, 161},  {3, 162},  {4, 163},  {5, 164},  {6, 166}, {7, 167}, {8, 168},
                            {9, 169}, {10, 152}, {11, 153}, {12, 165}, {13, 175}, {0, 160}, {14, 160}};
    std::string file = "I\n703 Version\n1 0 0 0 KSRF Surfaces\n";
    for (int k = 0; k < 15; ++k)
        file += "10 1 1 " + std::to_string(10 + k) + " 90 1000 0 0 50 0 " + std::to_string(codes[k][0]) +
                " 0 3 0.25 1\n";
    ASSERT_EQ(parse(file + "99\n"), 1);
    const std::vector<runway_record>& r = airport_table.at(0).runways;
    ASSERT_EQ(r.size(), 15u);
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(r[k].surface_code, codes[k][1]) << "file number " << codes[k][0];
        // Markings 3 as written stay on surface codes up to 161 only.
        EXPECT_EQ(r[k].markings_code, codes[k][1] <= 161 ? 3 : 0) << "file number " << codes[k][0];
    }
}

TEST_F(AptParse, EndRowMustEndItsLine)
{
    const std::string body = "I\n703 version\n1 0 0 0 KAAA A\n" + row10;
    // "99" after a space, or without a line end, runs into the end of the data.
    EXPECT_EQ(expect_fatal([&] { parse(body + " 99\n"); }).lines[0], "Scan too far!");
    EXPECT_EQ(expect_fatal([&] { parse(body + "99"); }).lines[0], "Scan too far!");
    // An unlisted row whose last token is "99" at the end of its line ends the file.
    EXPECT_EQ(parse(body + "5 foo 99\nnot read\n"), 1);
}

TEST_F(AptParse, BadRunwaysAndHeadersAreFatal)
{
    const std::string head = "I\n702 version\n1 0 0 0 KDUP Dup Field\n";
    alert_record a = expect_fatal([&] { parse(head + row10 + row10 + "99\n"); });
    EXPECT_NE(a.lines[0].find("same number"), std::string::npos);
    EXPECT_EQ(a.lines[1], "KDUP");
    // Taxiways never clash, nor do numbers differing in case.
    const std::string taxiway = "10 1 1 x1 90 1000 0 0 50 0 1 0 0 0.25 1\n";
    EXPECT_EQ(parse(head + taxiway + taxiway + "10 1 1 09l 90 1000 0 0 50 0 1 0 0 0.25 1\n" + row10 + "99\n"), 1);
    a = expect_fatal([&] { parse(head + "10 1 1 09 90 1000 0 0 0.5 0 1 0 0 0.25 1\n99\n"); });
    EXPECT_NE(a.lines[0].find("wide"), std::string::npos);
    a = expect_fatal([&] { parse(head + "10 1 1 09 90 0 0 0 50 0 1 0 0 0.25 1\n99\n"); });
    EXPECT_NE(a.lines[0].find("long"), std::string::npos);
    a = expect_fatal([&] { parse("I\n810 version\n99\n"); });
    EXPECT_NE(a.lines[1].find("apt.dat"), std::string::npos);
    path_buffer missing(folder.prefix() + "none:apt.dat");
    a = expect_fatal([&] { APT_parse(7, missing, 0); });
    EXPECT_NE(a.lines[1].find("none\\apt.dat"), std::string::npos);   // the path as converted
}

// Rows before the first airport are skipped. An airport without runways stays
// (its index with it); with no start row either, its made-up start stands at 0, 0.
TEST_F(AptParse, RowsWithoutAnAirportAreSkippedAndAirportsWithoutRunwaysKept)
{
    ASSERT_EQ(parse("I\n7031 version\n" + row10 + "14 1 1 10 x\n15 1 1 90 start\n18 1 1 1 b\n19 1 1 1 w\n50 1 A\n"
                    "1 0 0 0 KNON Nothing\n1 0 0 0 KSTA Starts only\n15 2 2 90 start\n"
                    "1 0 0 0 KOK OK Field\n" + row10 + "1 0 0 0 KOK Second of the id\n" + row10 +
                    "1 0 0 0 KEND Nothing either\n99\n"),
              1);
    ASSERT_EQ(airport_table.size(), 5u);
    EXPECT_EQ(airport_table[0].frequencies[0].frequency, 0);
    EXPECT_TRUE(airport_table[0].runways.empty());
    ASSERT_EQ(airport_table[0].starts.size(), 1u);
    EXPECT_FLOAT_EQ(airport_table[0].starts[0].lat, 0.0f);
    ASSERT_EQ(airport_table[1].starts.size(), 1u);
    EXPECT_FLOAT_EQ(airport_table[1].starts[0].lat, 2.0f);
    EXPECT_EQ(airport_id_index.size(), 4u);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KOK")), 2);   // the first of two with one id
    EXPECT_EQ(apt_cursor, 4);
}

TEST_F(AptParse, CustomFileTooLargeIsRefusedAndChangesNothing)
{
    ASSERT_EQ(parse("I\n703 version\n1 0 0 0 KMAI Main\n" + row10 + "99\n"), 1);
    const std::string lead = "I\n703 version\n15 5 5 0 added to the last airport\n";
    std::string big = lead + "1 0 0 0 KBIG Big\n" + row10;
    for (int i = 0; i <= APT_MAX_STARTS; ++i) big += "15 1 1 0 s\n";
    EXPECT_EQ(parse(big + "99\n", 1, "big.dat"), 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_NE(recorded_alerts[0].lines[1].find("big.dat"), std::string::npos);
    ASSERT_EQ(airport_table.size(), 1u);
    EXPECT_EQ(airport_table[0].starts.size(), 1u);   // the row added to it was taken back
    EXPECT_EQ(airport_id_index.count(NAV_id_key("KBIG")), 0u);

    // Within the capacity, a row before the first airport goes to the last airport.
    EXPECT_EQ(parse(lead + "99\n", 1, "fits.dat"), 1);
    EXPECT_STREQ(airport_table[0].starts.at(1).name, "added to the last airport");
    // A missing or unrecognised custom file is silent.
    path_buffer none(folder.prefix() + "nothing.dat");
    EXPECT_EQ(APT_parse(7, none, 1), 0);
    EXPECT_EQ(parse("I\n999 version\n99\n", 1, "bad.dat"), 0);
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

// The rest of the first line is ignored however long it is: every version is
// still recognised (the header check runs once per version tried).
TEST_F(AptParse, LongFirstLineDoesNotHideTheVersion)
{
    const std::string first = "I " + std::string(700, 'c') + "\n";
    ASSERT_EQ(parse(first + "703 Version\n1 0 0 0 KAAA A\n10 1 1 09 90 1000 0 0 50 0 2 1 0 0.25 1\n99\n"), 1);
    EXPECT_EQ(airport_table.at(0).runways.at(0).shoulder_code, 1);
    ASSERT_EQ(parse(first + "600 Version\n1 0 0 0 KAAA A\n10 1 1 09 90 1000 0 0 50 2000000\n99\n"), 1);
    EXPECT_EQ(airport_table.at(0).runways.at(0).surface_code, 161);
    EXPECT_TRUE(recorded_alerts.empty());
}
