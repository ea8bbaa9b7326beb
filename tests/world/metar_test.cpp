#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/random.h"
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
        {"1 1/2SM BR", 804.672f},   {"P6SM", 6 * 1609.344f},   {"9999", 9999.0f},
        {"240V300 9999", 18520.0f},
        {"1/0SM", -1.0f},   // no distance from a zero denominator
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
