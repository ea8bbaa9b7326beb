#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/random.h"
#include "core/simvars/flightmodel.h"
#include "tests/world/world_test_util.h"
#include "world/metar.h"
#include "world/navdb.h"

namespace {

struct metar_out {
    float time = -1;
    int type[2] = {-1, -1};
    float base[2] = {-1, -1};
    float top[2] = {-1, -1};
    float visibility = -1;
    int kind = -1, level = -1;
    float temperature = -99, dewpoint = -99, direction = -1, speed = -1, gust = -1, pressure = -1;
};

class Metar : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        world_use_program_folder(folder);
        world_add_airport("KSBD", 34.0f, -117.0f, "09L", 90.0f, 0.0f, true);
        world_add_airport("KHGH", 34.0f, -116.5f, "09L", 90.0f, 304.8f, true);   // 1,000 ft
        world_add_airport("KFAR", 34.8f, -117.0f, "09L", 90.0f, 100.0f, true);
        world_add_airport("KNEA", 34.5f, -117.0f, "09L", 90.0f, 100.0f, true);
    }

    int read(const std::string& file, float lat = 34.0f, float lon = -117.0f)
    {
        folder.write("metar.rwx", file);
        return METAR_read(lat, lon, &o.time, o.type, o.base, o.top, &o.visibility, &o.kind, &o.level, &o.temperature,
                          &o.dewpoint, &o.direction, &o.speed, &o.gust, &o.pressure);
    }

    int report(const std::string& groups) { return read("METAR KSBD " + groups + "\n"); }

    temp_folder folder;
    metar_out o;
};

}  // namespace

TEST_F(Metar, DecodesAFullReport)
{
    ASSERT_EQ(report("061853Z 27015G25KT 10SM -TSRA FEW250 BKN035 OVC080 A2992 M05/M10 RMK AO2 SLP132 T01500080"), 0);
    EXPECT_FLOAT_EQ(o.time, 18 * 3600 + 53 * 60);
    EXPECT_FLOAT_EQ(o.direction, 270.0f);
    EXPECT_FLOAT_EQ(o.speed, 15.0f);
    EXPECT_FLOAT_EQ(o.gust, 10.0f);
    EXPECT_FLOAT_EQ(o.visibility, 10 * 0.86897624f * 1852.0f);
    EXPECT_EQ(o.kind, 2);
    EXPECT_EQ(o.level, 3);
    EXPECT_EQ(o.type[0], 1);   // scattered above 5,000 m
    EXPECT_FLOAT_EQ(o.base[0], 25000 * 0.3048f);
    EXPECT_FLOAT_EQ(o.top[0], 25000 * 0.3048f + 1000.0f);
    EXPECT_EQ(o.type[1], 3);
    EXPECT_FLOAT_EQ(o.base[1], 3500 * 0.3048f);
    EXPECT_NEAR(o.pressure, 29.92f, 1e-4);
    EXPECT_FLOAT_EQ(o.temperature, -5.0f);
    EXPECT_FLOAT_EQ(o.dewpoint, -10.0f);
}

TEST_F(Metar, DefaultsWithoutGroupsAndNothingAfterRemarks)
{
    ASSERT_EQ(report("RMK 27015KT A2992"), 0);
    EXPECT_EQ(o.type[1], 0);
    EXPECT_FLOAT_EQ(o.base[0], 30479.695f);
    EXPECT_FLOAT_EQ(o.top[1], 0.0f);
    EXPECT_EQ(o.kind, 0);
    EXPECT_FLOAT_EQ(o.speed, -1.0f);
    EXPECT_FLOAT_EQ(o.pressure, -1.0f);
}

TEST_F(Metar, VisibilityForms)
{
    const struct { const char* groups; float metres; } cases[] = {
        {"P6SM", 6 * 1609.344f},   {"10SM", 16093.44f},   {"9999", 9999.0f},   {"240V300 9999", 18520.0f},   {"240V300 8000", -1.0f},
        {"BKN030 9999", 18520.0f},   // 10 nm, away from the wind
        // Fractions by single digits: "1 1/2SM" is 1 m, then half a mile.
        {"1 1/2SM BR", 804.672f},   {"M1/4SM", 4 * 1609.344f},   {"3/16SM", 3 * 1609.344f},   {"/2SM", 2 * 1609.344f},
        {"1/0SM", -1.0f},   {"1/SM", -1.0f},   // a fraction over 0 is passed over
        {"0800 SN", 800.0f},
    };
    for (const auto& c : cases) {
        o.visibility = -1;
        report(std::string("27010KT ") + c.groups);
        EXPECT_NEAR(o.visibility, c.metres, 1e-2) << c.groups;
    }
    EXPECT_EQ(o.kind, 1);   // the weather code of the last report, SN
    EXPECT_EQ(o.level, 3);
}

// Each weather code raises the precipitation kind and level to its own
// values; a group holding several takes the highest of each.
TEST_F(Metar, EachWeatherCodeRaisesKindAndLevel)
{
    const struct {
        const char* weather;
        int kind, level;
    } codes[] = {{"DZ", 1, 1}, {"RA", 1, 3}, {"SG", 1, 2}, {"SN", 1, 3}, {"GS", 2, 2}, {"GR", 2, 3},
                 {"SQ", 2, 3}, {"TS", 2, 3}, {"-DZ", 1, 1}, {"SGGS", 2, 2}, {"GSRA", 2, 3}, {"BR", 0, 0},
                 {"FG", 0, 0}};
    for (const auto& c : codes) {
        ASSERT_EQ(report(std::string("27010KT 10SM ") + c.weather + " 15/08 A2992"), 0);
        EXPECT_EQ(o.kind, c.kind) << c.weather;
        EXPECT_EQ(o.level, c.level) << c.weather;
    }
}

TEST_F(Metar, GroupsOfOtherShapesAreSkipped)
{
    // Weather is read right after the visibility only; a layer is six
    // characters, and a vertical visibility is an overcast ceiling.
    report("27010KT 1/2SM R28L/2400FT +SN BKN030CB VV002 SCT025");
    EXPECT_EQ(o.kind, 0);
    EXPECT_EQ(o.type[0], 4);
    EXPECT_FLOAT_EQ(o.base[0], 200 * 0.3048f);
    EXPECT_EQ(o.type[1], 2);
    EXPECT_FLOAT_EQ(o.base[1], 2500 * 0.3048f);
    metar_out fog;
    o = fog;
    report("27003KT 0200 FG VV///");
    EXPECT_EQ(o.type[0], 0);
    EXPECT_FLOAT_EQ(o.visibility, 200.0f);
    // Winds in other units and a visibility behind a variable direction set
    // nothing; CAVOK is a visibility of 10 nm and no layer.
    o.speed = 7.0f;
    o.visibility = 500.0f;
    report("05008MPS 9999");
    EXPECT_FLOAT_EQ(o.speed, 7.0f);
    EXPECT_FLOAT_EQ(o.visibility, 18520.0f);
    o.visibility = 500.0f;
    report("27010KT 240V300 CAVOK");
    EXPECT_FLOAT_EQ(o.visibility, 18520.0f);
    EXPECT_EQ(o.type[0], 0);

    // Gust and shear increments are the difference, below the wind too;
    // pressures are taken as written.
    report("27025G15KT");
    EXPECT_FLOAT_EQ(o.speed, 25.0f);
    EXPECT_FLOAT_EQ(o.gust, -10.0f);
    report("27025KT WS020/27015KT A0000");
    EXPECT_FLOAT_EQ(o.gust, -10.0f);
    EXPECT_FLOAT_EQ(o.pressure, 0.0f);
    report("Q1201");
    EXPECT_NEAR(o.pressure, 1201 * 0.029528744f, 1e-4f);
}

TEST_F(Metar, ShortGroupsReadNothingOutsideThemselves)
{
    ASSERT_EQ(report("SM KT WS G Z A Q / M/ 9/9 15/ 15/08/"), 0);
    EXPECT_FLOAT_EQ(o.visibility, 0.0f);   // a bare SM reads as no digits
    EXPECT_FLOAT_EQ(o.speed, 0.0f);
    EXPECT_FLOAT_EQ(o.temperature, -99.0f);
    EXPECT_FLOAT_EQ(o.dewpoint, -99.0f);
}

TEST_F(Metar, WindShearVariableWindAndPressures)
{
    report("27015KT WS020/27045KT Q1013");
    EXPECT_FLOAT_EQ(o.gust, 30.0f);
    EXPECT_NEAR(o.pressure, 1013 * 0.029528744f, 1e-4);
    report("270105KT");
    EXPECT_FLOAT_EQ(o.speed, 105.0f);
    report("27005G9KT");   // a one-digit gust ends at the unit
    EXPECT_FLOAT_EQ(o.gust, 4.0f);
    UTIL_srand(1);
    report("VRB05KT");
    EXPECT_FLOAT_EQ(o.speed, 5.0f);
    EXPECT_FLOAT_EQ(o.gust, 0.0f);
    UTIL_srand(1);
    EXPECT_FLOAT_EQ(o.direction, static_cast<float>(UTIL_rand() * 360.0 / 32767.0));
}

TEST_F(Metar, ElevatedStation)
{
    read("KHGH 061853Z SCT025 FEW250 15/08\n", 34.0f, -116.5f);
    EXPECT_NEAR(o.temperature, 17.0f, 1e-4);   // 2 degrees a thousand feet
    EXPECT_FLOAT_EQ(o.dewpoint, 8.0f);
    EXPECT_EQ(o.type[0], 2);
    EXPECT_FLOAT_EQ(o.base[0], 304.8f + 2500 * 0.3048f);
    EXPECT_EQ(o.type[1], 1);

    // A scattered layer is "high up" with its base above 5,000 m above sea
    // level: 304.8 m + 15,400 ft = 4998.7 m is not, + 15,500 ft = 5029.2 m is.
    read("KHGH 061853Z FEW154 SCT155 15/08\n", 34.0f, -116.5f);
    EXPECT_EQ(o.type[0], 2);
    EXPECT_EQ(o.type[1], 1);
}

TEST_F(Metar, NearestQualifyingStationIsChosen)
{
    const std::string file =
        "2024/12/06 18:53\n"
        "KZZZ 061853Z 01001KT\n"            // not an airport
        "KFAR 061853Z 02002KT\n"
        "SPECI KNEA 061853Z 03003KT\r\n"
        "KNEA 061853Z 04004KT\n"            // a second report of the same station: the first wins
        "METAR KSBD 061853Z 05005KT";        // no line end: not read
    EXPECT_EQ(read(file, 34.0f, -117.0f), 3);
    EXPECT_FLOAT_EQ(o.speed, 3.0f);

    // Exactly one degree away is never chosen; an unusable or missing file leaves the outputs alone.
    const metar_out before = o;
    EXPECT_EQ(read("KSBD 061853Z 05005KT\n", 35.0f, -117.0f), -1);
    EXPECT_EQ(read("KSBD 061853Z 05005KT\n", 34.0f, -116.0f), -1);
    EXPECT_EQ(read("short\nKSBD\n", 34.0f, -117.0f), -1);
    EXPECT_EQ(read("KSBD A2992\n", 34.0f, -117.0f), -1);   // 10 characters: too short to be a report
    std::filesystem::remove(folder.path() / "metar.rwx");
    EXPECT_EQ(METAR_read(34.0f, -117.0f, &o.time, o.type, o.base, o.top, &o.visibility, &o.kind, &o.level,
                         &o.temperature, &o.dewpoint, &o.direction, &o.speed, &o.gust, &o.pressure),
              -1);
    EXPECT_EQ(std::memcmp(&o, &before, sizeof o), 0);
}

TEST_F(Metar, LongLinesAndManyGroupsAreCut)
{
    std::string groups;
    for (int i = 0; i < 45; ++i) groups += "XX ";
    report(groups + "27015KT");
    EXPECT_FLOAT_EQ(o.speed, -1.0f);   // past the 40th group
    read("KSBD 27015KT " + std::string(600, 'Y') + " 30010KT\n");
    EXPECT_FLOAT_EQ(o.speed, 15.0f);
}

namespace {

// One report of the corpus and every value read from it. Values no rule sets
// keep what the caller passed (NO); cloud heights are in feet above
// the station (NO: no layer); the temperature is the reported one.
constexpr float NO = -1000.0f;
struct corpus_report {
    const char* id;
    float lat, lon, elevation_m;
    const char* line;
    float time_sec;
    float direction_deg, speed_kt, gust_kt;
    float visibility_m;
    int precip_kind, precip_level;
    int type[2];
    float feet[2];
    float temperature_c, dewpoint_c;
    float pressure_inhg;
};

constexpr float SM = 1609.344f;
constexpr float HPA = 0.029528744f;

// Reports written the way stations of several countries write them.
const corpus_report corpus[] = {
    {"KDEN", 39.86f, -104.67f, 1655, "METAR KDEN 121753Z 34012G18KT 1 1/2SM R35L/2400FT +SN BKN012 OVC025 M04/M06 A3012 RMK AO2 SLP245 T10441061",
     17 * 3600 + 53 * 60, 340, 12, 6, 0.5f * SM, 0, 0, {3, 4}, {1200, 2500}, -4, -6, 30.12f},
    {"EGLL", 51.47f, -0.45f, 25, "METAR EGLL 061820Z 24012KT 210V280 9999 -SHRA FEW012 SCT025TCU 14/09 Q1009",
     18 * 3600 + 20 * 60, 240, 12, 0, 18520, 1, 3, {2, 0}, {1200, NO}, 14, 9, 1009 * HPA},
    {"UUEE", 55.97f, 37.41f, 190, "METAR UUEE 150930Z 18005MPS 9999 -SN OVC008 M02/M04 Q0996 R06R/590335 NOSIG",
     9 * 3600 + 30 * 60, NO, NO, NO, 18520, 1, 3, {4, 0}, {800, NO}, -2, -4, 996 * HPA},
    {"ZBAA", 40.08f, 116.58f, 35, "METAR ZBAA 020300Z 36004MPS 320V040 CAVOK M05/M20 Q1031 NOSIG",
     3 * 3600, NO, NO, NO, 18520, 0, 0, {0, 0}, {NO, NO}, -5, -20, 1031 * HPA},
    {"RJTT", 35.55f, 139.78f, 6, "METAR RJTT 230600Z 16014G28KT 6000 -TSRA FEW008 BKN020CB 24/22 Q1002 RMK 1CU008 5CB020",
     6 * 3600, 160, 14, 14, 6000, 2, 3, {2, 0}, {800, NO}, 24, 22, 1002 * HPA},
    {"YSSY", -33.95f, 151.18f, 6, "METAR YSSY 102330Z AUTO 19020G30KT 9999 // NCD 17/12 Q1016 RMK RF00.2/001.4",
     23 * 3600 + 30 * 60, 190, 20, 10, 9999, 0, 0, {0, 0}, {NO, NO}, 17, 12, 1016 * HPA},
    {"CYYZ", 43.68f, -79.63f, 173, "METAR CYYZ 011800Z 29018G29KT 15SM FEW040 SCT250 M08/M17 A2998 RMK SC1CI2 SLP163",
     18 * 3600, 290, 18, 11, 15 * SM, 0, 0, {2, 1}, {4000, 25000}, -8, -17, 29.98f},
    {"KBOS", 42.36f, -71.01f, 6, "SPECI KBOS 291412Z 05012KT M1/4SM R04R/1200V2000FT FG VV002 01/01 A3001 RMK AO2",
     14 * 3600 + 12 * 60, 50, 12, 0, 4 * SM, 0, 0, {4, 0}, {200, NO}, 1, 1, 30.01f},
    {"KSEA", 47.45f, -122.31f, 131, "METAR KSEA 040153Z 00000KT 3/16SM FZFG OVC001 M01/M01 A3031 RMK AO2 FZRANO",
     1 * 3600 + 53 * 60, 0, 0, 0, 3 * SM, 0, 0, {4, 0}, {100, NO}, -1, -1, 30.31f},
    {"EDDF", 50.03f, 8.57f, 111, "METAR EDDF 171120Z 05008KT 020V090 4000 R25L/P1500N R25C/1200U RA BKN006 OVC012 06/05 Q1020 BECMG 3000",
     11 * 3600 + 20 * 60, 50, 8, 0, NO, 0, 0, {3, 4}, {600, 1200}, 6, 5, 1020 * HPA},
    {"SBGR", -23.43f, -46.47f, 750, "METAR SBGR 251200Z 09006KT 5000 BR BKN010 SCT030CB 18/16 Q1019",
     12 * 3600, 90, 6, 0, 5000, 0, 0, {3, 0}, {1000, NO}, 18, 16, 1019 * HPA},
    {"UNNT", 55.01f, 82.65f, 111, "METAR UNNT 120700Z 23007G12MPS 9999 SHSN BKN020CB M12/M15 Q1005 R25/290250 NOSIG",
     7 * 3600, NO, NO, NO, 18520, 1, 3, {0, 0}, {NO, NO}, -12, -15, 1005 * HPA},
    {"LIRF", 41.80f, 12.25f, 5, "METAR LIRF 061850Z 27019KT 9999 FEW030 22/14 Q1014 NOSIG",
     18 * 3600 + 50 * 60, 270, 19, 0, 9999, 0, 0, {2, 0}, {3000, NO}, 22, 14, 1014 * HPA},
    {"KMIA", 25.79f, -80.29f, 3, "METAR KMIA 221553Z 11009G17KT 2SM +TSRA SQ SCT015CB BKN030 OVC080 28/24 A2994 RMK AO2 PK WND 12035/1540",
     15 * 3600 + 53 * 60, 110, 9, 8, 2 * SM, 2, 3, {3, 4}, {3000, 8000}, 28, 24, 29.94f},
    {"VIDP", 28.57f, 77.10f, 237, "METAR VIDP 030030Z 00000KT 0050 R28/0150 FG NSC 08/08 Q1018 NOSIG",
     30 * 60, 0, 0, 0, 50, 0, 0, {0, 0}, {NO, NO}, 8, 8, 1018 * HPA},
    {"OMDB", 25.25f, 55.36f, 19, "METAR OMDB 141400Z 32012KT 280V360 CAVOK 41/07 Q1003 NOSIG",
     14 * 3600, 320, 12, 0, 18520, 0, 0, {0, 0}, {NO, NO}, 41, 7, 1003 * HPA},
};

class MetarCorpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        world_use_program_folder(folder);
        std::string file = "2024/06/12 18:00\n";
        for (const corpus_report& r : corpus) {
            world_add_airport(r.id, r.lat, r.lon, "09L", 90.0f, r.elevation_m, true);
            file += std::string(r.line) + "\r\n";
        }
        folder.write("metar.rwx", file);
        sim_flightmodel_position.magnetic_variation = 12.5f;
    }
    void TearDown() override { sim_flightmodel_position.magnetic_variation = 0.0f; }
    temp_folder folder;
};

}  // namespace

TEST_F(MetarCorpus, EveryGroupOfEveryReportIsReadByItsRule)
{
    for (size_t i = 0; i < std::size(corpus); ++i) {
        const corpus_report& r = corpus[i];
        SCOPED_TRACE(r.line);
        metar_out o;
        const metar_out before;
        ASSERT_EQ(METAR_read(r.lat + 0.1f, r.lon - 0.1f, &o.time, o.type, o.base, o.top, &o.visibility, &o.kind, &o.level,
                             &o.temperature, &o.dewpoint, &o.direction, &o.speed, &o.gust, &o.pressure),
                  static_cast<int>(i));
        EXPECT_FLOAT_EQ(o.time, r.time_sec);
        EXPECT_NEAR(o.direction, r.direction_deg == NO ? before.direction : r.direction_deg - 12.5f, 1e-3f);
        EXPECT_NEAR(o.speed, r.speed_kt == NO ? before.speed : r.speed_kt, 1e-3f);
        EXPECT_NEAR(o.gust, r.gust_kt == NO ? before.gust : r.gust_kt, 1e-3f);
        EXPECT_NEAR(o.visibility, r.visibility_m == NO ? before.visibility : r.visibility_m, 1e-2f);
        EXPECT_EQ(o.kind, r.precip_kind);
        EXPECT_EQ(o.level, r.precip_level);
        for (int n = 0; n < 2; ++n) {
            EXPECT_EQ(o.type[n], r.type[n]) << "layer " << n;
            if (r.feet[n] == NO) {
                EXPECT_FLOAT_EQ(o.base[n], METAR_NO_CLOUD_BASE);
                EXPECT_FLOAT_EQ(o.top[n], 0.0f);
            } else {
                EXPECT_NEAR(o.base[n], r.elevation_m + r.feet[n] * 0.3048f, 1e-2f) << "layer " << n;
                EXPECT_NEAR(o.top[n], o.base[n] + 1000.0f, 1e-2f) << "layer " << n;
            }
        }
        // Raised to sea level by 2 degrees a thousand feet of station elevation.
        EXPECT_NEAR(o.temperature, r.temperature_c + r.elevation_m / 0.3048f * 0.002f, 1e-3f);
        EXPECT_FLOAT_EQ(o.dewpoint, r.dewpoint_c);
        EXPECT_NEAR(o.pressure, r.pressure_inhg, 1e-4f);
    }
}
