#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "flightmodel/flt.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"
#include "world/runway_outline.h"
#include "world/sky_colors.h"
#include "world/nav_lookup.h"

namespace {

constexpr double m_per_deg_lat = 6378145.0 * 3.14159265358979 / 180.0;

class Lookup : public ::testing::Test {
protected:
    void SetUp() override { world_reset_tables(); }
};

}  // namespace

TEST_F(Lookup, NearestById)
{
    world_add_airport("KDUP", 10.0f, 10.0f);
    world_add_airport("KDUP", 20.0f, 20.0f);
    world_add_airport("KDUP", 12.0f, 10.0f);   // as near as the first: the first is kept
    world_add_airport("LAX", 33.9f, -118.4f);
    fix_table = {fix_record{1.0f, 1.0f, "CIVET", 0}, fix_record{5.0f, 5.0f, "CIVET", 0}};
    navaid_table = {navaid_record{NAV_VOR, 0, 0, 0, 0, 0, "PDZ", "", 0},
                    navaid_record{NAV_NDB, 0, 0, 0, 0, 0, "PDZ", "", 0}};

    const struct { const char* id; int kind; float lat, lon; int found, index; } cases[] = {
        {"KDUP", 1, 11.0f, 10.0f, 1, 0},
        {"KDUP", 1, 19.0f, 19.0f, 1, 1},
        {"LAX ", 1, 0.0f, 0.0f, 1, 3},   // padded three-letter id
        {"KLAX", 1, 0.0f, 0.0f, 0, 3},   // not found: the index stays
        {"CIVET", 11, 4.0f, 4.0f, 1, 1},
        {"PDZ", NAV_NDB, 0.0f, 0.0f, 1, 1},
        {"PDZ", NAV_DME, 0.0f, 0.0f, 0, 1},
        {"PDZ", NAV_VOR, 2000.0f, 0.0f, 0, 1},   // 999.9 degrees at most
        {"anything", 13, 0.0f, 0.0f, 1, 0},
    };
    int index = -5;
    for (const auto& c : cases) {
        EXPECT_EQ(NAV_find_nearest_by_id(c.id, c.kind, index, c.lat, c.lon), c.found) << c.id << " " << c.kind;
        EXPECT_EQ(index, c.index) << c.id << " " << c.kind;
    }
    // The look-up follows changes of the tables.
    world_add_airport("KNEW", 1.0f, 1.0f);
    EXPECT_EQ(NAV_find_nearest_by_id("KNEW", 1, index, 0.0f, 0.0f), 1);
    EXPECT_EQ(index, 4);
}

TEST_F(Lookup, RunwayEndLabels)
{
    const char* labels[][3] = {{"09L", "0 9 L", "2 7 R"}, {"27", "2 7 ", "0 9 "},   {"36", "3 6 ", "1 8 "},
                               {"18C", "1 8 C", "3 6 C"}, {"01R", "0 1 R", "1 9 L"}, {"xxx", "x x x", "x x x"},
                               {"H1", "H 1 HELIPAD", "H 1 LANDING"}, {"04x", "0 4 x", "2 2 x"}};
    for (const auto& l : labels) {
        world_reset_tables();
        world_add_airport("KAAA", 0, 0, l[0]);
        char this_end[TEXT_SIZE], other_end[TEXT_SIZE];
        APT_runway_end_labels(0, 0, this_end, other_end);
        EXPECT_STREQ(this_end, l[1]) << l[0];
        EXPECT_STREQ(other_end, l[2]) << l[0];
    }
    char a[TEXT_SIZE] = "keep", b[TEXT_SIZE] = "keep";
    APT_runway_end_labels(0, 5, a, b);
    EXPECT_STREQ(a, "");
    APT_runway_end_labels(7, 0, a, b);
    EXPECT_STREQ(b, "");
}

TEST_F(Lookup, StartAirportPlacesThePlane)
{
    world_add_airport("KSBD", 34.0954f, -117.2349f);
    world_add_airport("KSBD", 30.0f, -100.0f);
    world_add_airport("MAR1", -4.5895f, 137.4417f);
    world_add_airport("KSBX", 40.0f, -90.0f);   // all four characters count
    std::memcpy(start_selection.airport_id, "KSBD", 4);
    start_selection.airport_index = -1;
    APT_find_start_airport();
    EXPECT_EQ(start_selection.airport_index, 1);   // the last match
    EXPECT_FLOAT_EQ(flt[0].latitude, 30.0f);
    EXPECT_FLOAT_EQ(lat_ref, 29.0f);
    EXPECT_FLOAT_EQ(lon_ref, -102.0f);   // -101.5 rounds away from zero

    sim_graphics_scenery.current_planet = 1;
    std::memcpy(start_selection.airport_id, "MAR1", 4);
    APT_find_start_airport();
    EXPECT_EQ(start_selection.airport_index, 2);
    EXPECT_FLOAT_EQ(lat_ref, -7.0f);
    EXPECT_FLOAT_EQ(lon_ref, 134.0f);

    // No match keeps the selection; an airport without runways is never chosen.
    airport_table[2].runways.clear();
    std::memcpy(start_selection.airport_id, "NONE", 4);
    flt[0].latitude = 5.0f;
    APT_find_start_airport();
    EXPECT_EQ(start_selection.airport_index, 2);
    EXPECT_FLOAT_EQ(flt[0].latitude, 5.0f);
    world_reset_tables();
    start_selection.airport_index = 0;
    APT_find_start_airport();   // an empty table: nothing to read
    EXPECT_FLOAT_EQ(flt[0].latitude, 5.0f);
}

namespace {

std::vector<std::pair<float, float>> emitted;
void record_vertex(float x, float y) { emitted.emplace_back(x, y); }

class Outline : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        lat_ref = 33.0f, lon_ref = -119.0f;   // the origin at 34.0, -117.5
        emitted.clear();
        apt_outline_vertex = record_vertex;
        map_origin_x = 500.0f, map_origin_y = 400.0f, map_ref_x = map_ref_z = 0.0f, map_scale = 0.1f;
        airport_label_anchor = {1e9f, 0.0f, 0.0f};
    }
    void TearDown() override { apt_outline_vertex = APT_outline_gl_vertex; }

    float lat[4], lon[4], h[4];
};

}  // namespace

TEST_F(Outline, CornersOfAnEastboundRunwayAtTheOrigin)
{
    world_add_airport("KAAA", 34.0f, -117.5f, "09", 90.0f, 100.0f);
    APT_runway_outline(0, 0, lat, lon, h, 0);
    EXPECT_TRUE(emitted.empty());
    // 0 and 1 at the west end, 0 and 2 on the north side.
    EXPECT_TRUE(lon[0] < -117.5f && lon[1] < -117.5f && lon[2] > -117.5f);
    EXPECT_TRUE(lat[0] > 34.0f && lat[1] < 34.0f && lat[2] > 34.0f && lat[3] < 34.0f);
    EXPECT_NEAR((lat[0] - lat[1]) * m_per_deg_lat, 40.0, 0.1);
    EXPECT_NEAR((lon[2] - lon[0]) * m_per_deg_lat * std::cos(34.0 * 3.14159265358979 / 180.0), 1000.0, 1.0);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(h[k], 100.0f, 0.2f);
    // The label anchor: four points around the map origin.
    EXPECT_FLOAT_EQ(airport_label_anchor.count, 4.0f);
    EXPECT_NEAR(airport_label_anchor.sum_x, 4 * 500.0f, 0.01f);
    EXPECT_NEAR(airport_label_anchor.min_y, 400.0f - 2.0f, 0.01f);
}

TEST_F(Outline, StopwaysExtendEachEndAndEmitInOrder)
{
    world_add_airport("KAAA", 34.0f, -117.5f, "36", 0.0f);   // northbound: the first end is south
    airport_table[0].runways[0].stopways = 1000.05f;
    window_origin_x = 10.0f, window_origin_y = 20.0f;
    APT_runway_outline(0, 0, lat, lon, h, 1);
    window_origin_x = window_origin_y = 0.0f;
    EXPECT_NEAR((34.0 - lat[0]) * m_per_deg_lat, 500.0 + 304.8, 0.5);
    EXPECT_NEAR((lat[2] - 34.0) * m_per_deg_lat, 500.0 + 152.4, 0.5);
    ASSERT_EQ(emitted.size(), 4u);
    // Screen y grows northward; order 2, 3, 1, 0 and the window origin (10, 20) added.
    EXPECT_NEAR(emitted[0].first, 10.0f + 500.0f - 2.0f, 0.01f);
    EXPECT_NEAR(emitted[0].second, 20.0f + 400.0f + 65.24f, 0.05f);
    EXPECT_NEAR(emitted[1].first, 10.0f + 500.0f + 2.0f, 0.01f);
    EXPECT_NEAR(emitted[2].second, 20.0f + 400.0f - 80.48f, 0.05f);

    // Indices outside the tables change nothing.
    lat[0] = -1.0f;
    APT_runway_outline(1, 0, lat, lon, h, 1);
    EXPECT_FLOAT_EQ(lat[0], -1.0f);
}

// A runway one degree east of the origin heads true north: the heading is
// turned onto the local grid, so each side keeps its meridian (without the
// turn, or turned the wrong way, the far end would lie 1000 m x sin(1 x sin
// 34) = 9.8 m or 19.5 m off it).
TEST_F(Outline, ARunwayAwayFromTheOriginKeepsItsTrueHeading)
{
    world_add_airport("KAAA", 34.0f, -116.5f, "36", 0.0f);
    APT_runway_outline(0, 0, lat, lon, h, 0);
    const double m_per_deg_lon = m_per_deg_lat * std::cos(34.0 * 3.14159265358979 / 180.0);
    EXPECT_NEAR((lon[2] - lon[0]) * m_per_deg_lon, 0.0, 0.5);
    EXPECT_NEAR((lon[3] - lon[1]) * m_per_deg_lon, 0.0, 0.5);
    EXPECT_NEAR((lat[2] - lat[0]) * m_per_deg_lat, 1000.0, 1.0);
}

// On Mars the origin lies 2.5 and 3 degrees from the reference; the map view
// subtracts the world point at its centre. An eastbound runway 1000 x 40 m at
// the origin, map centre at (x 100, z 50), scale 0.1: the corners' screen x sum
// to 4 x (500 - 10) and the highest (smallest y) is the south side, z = +20:
// 400 - (20 - 50) x 0.1 = 403.
TEST_F(Outline, OnMarsTheOriginMovesAndTheMapCentreIsSubtracted)
{
    sim_graphics_scenery.current_planet = PLANET_MARS;
    lat_ref = 10.0f, lon_ref = 20.0f;   // the origin at 12.5, 23.0
    map_ref_x = 100.0f, map_ref_z = 50.0f;
    world_add_airport("MARS", 12.5f, 23.0f, "09", 90.0f);
    APT_runway_outline(0, 0, lat, lon, h, 0);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    EXPECT_NEAR(airport_label_anchor.sum_x, 4 * 490.0f, 0.05f);
    EXPECT_NEAR(airport_label_anchor.min_y, 403.0f, 0.05f);
    EXPECT_NEAR(lat[0], 12.5f + 20.0 / m_per_deg_lat, 1e-5);
}

// Across the date line the longitude is not wrapped; across the pole the far
// end lies half a turn of longitude round.
TEST_F(Outline, LongitudesAcrossTheDateLineAndThePole)
{
    lat_ref = -1.0f, lon_ref = -180.5f;   // origin at longitude -179
    world_add_airport("KAAA", 0.0f, 179.0f, "09", 90.0f);
    APT_runway_outline(0, 0, lat, lon, h, 0);
    EXPECT_NEAR(lon[0], -181.0f, 0.02f);
    EXPECT_NEAR(lon[3], -181.0f, 0.02f);

    lat_ref = 89.0f, lon_ref = -119.0f;   // origin at the pole, longitude -117.5
    world_add_airport("KBBB", 89.9995f, -117.5f, "36", 0.0f);   // its north end 444 m past the pole
    APT_runway_outline(1, 0, lat, lon, h, 0);
    EXPECT_NEAR(std::remainder(lon[2] - 62.5f, 360.0f), 0.0f, 3.0f);
    EXPECT_NEAR(lon[0], -117.5f, 3.0f);
}

namespace {

// A 24-bit BMP whose pixel (row from the bottom, column) is (r, g, b) = (128, row, column).
std::string make_bmp(int width, int height)
{
    const int row_bytes = (width * 3 + 3) & ~3;
    std::string b(54 + static_cast<size_t>(row_bytes) * height, '\0');
    const uint32_t header[][2] = {{2, static_cast<uint32_t>(b.size())}, {10, 54}, {14, 40}, {18, uint32_t(width)},
                                  {22, uint32_t(height)}, {26, 1}, {28, 24}};   // offset, value
    for (const auto& [at, v] : header)
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xff);
    b[0] = 'B', b[1] = 'M';
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const size_t at = 54 + static_cast<size_t>(r) * row_bytes + static_cast<size_t>(c) * 3;
            b[at] = static_cast<char>(c % 256), b[at + 1] = static_cast<char>(r % 256), b[at + 2] = char(128);
        }
    return b;
}

}  // namespace

TEST(SkyColors, SamplesFixedPixels)
{
    temp_folder folder;
    world_use_program_folder(folder);
    folder.write("Resources/bitmaps/skycolors.bmp", make_bmp(137, 254));
    WEATHER_load_sky_colors("skycolors.bmp");
    EXPECT_TRUE(recorded_alerts.empty());
    // Red 128 everywhere, green the row from the bottom, blue the column.
    EXPECT_NEAR(sky_gradient_table[0][0][0], 0.50196f, 1e-5);
    EXPECT_FLOAT_EQ(sky_gradient_table[0][0][1], 33 / 255.0f);
    EXPECT_FLOAT_EQ(sky_gradient_table[0][0][2], 7 / 255.0f);
    EXPECT_FLOAT_EQ(sky_gradient_table[9][9][1], 253 / 255.0f);   // not 254
    EXPECT_FLOAT_EQ(sky_gradient_table[9][9][2], 133 / 255.0f);
    EXPECT_FLOAT_EQ(sky_pair_table[9][1][2], 136 / 255.0f);
    EXPECT_FLOAT_EQ(sky_state_colour_table[2][2], 35 / 255.0f);

    // Every sample's (row, column): the gradient at the rows below and column
    // 14 i + 7, the pair at row 19, columns 14 i + 4 and 14 i + 10, the state
    // colour at row 12, column 14 i + 7.
    const int rows[10] = {33, 57, 82, 106, 131, 155, 180, 204, 229, 253};
    auto at = [](const float* c) { return std::pair{int(std::lround(c[1] * 255.0f)), int(std::lround(c[2] * 255.0f))}; };
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) EXPECT_EQ(at(sky_gradient_table[i][j]), std::pair(rows[j], 14 * i + 7)) << i << "," << j;
        EXPECT_EQ(at(sky_pair_table[i][0]), std::pair(19, 14 * i + 4)) << i;
        EXPECT_EQ(at(sky_pair_table[i][1]), std::pair(19, 14 * i + 10)) << i;
        EXPECT_EQ(at(sky_state_colour_table[i]), std::pair(12, 14 * i + 7)) << i;
    }
}

TEST(SkyColors, MissingSmallOrDamagedImagesAreFatal)
{
    temp_folder folder;
    world_use_program_folder(folder);
    EXPECT_NE(expect_fatal([] { WEATHER_load_sky_colors("skycolors.bmp"); }).lines[1].find("skycolors.bmp"),
              std::string::npos);
    folder.write("Resources/bitmaps/small.bmp", make_bmp(136, 254));
    expect_fatal([] { WEATHER_load_sky_colors("small.bmp"); });
    std::string cut = make_bmp(140, 260);
    cut.resize(cut.size() - 10);
    folder.write("Resources/bitmaps/cut.bmp", cut);
    expect_fatal([] { WEATHER_load_sky_colors("cut.bmp"); });
}

TEST(NavLookup, SplitRunwayCode)
{
    // Each end's hundreds, tens and units sign digits; an end of 0 keeps index 1 in all three.
    const std::pair<int, std::array<int, 6>> cases[] = {
        {452318, {3, 4, 1, 2, 0, 7}}, {100, {1, 1, 1, 0, 1, 1}}, {235467, {1, 2, 4, 3, 5, 6}},
        {143026, {0, 3, 2, 1, 1, 5}}, {14001, {1, 0, 3, 1, 1, 0}}};
    for (const auto& [code, want] : cases) {
        int hundreds[2], tens[2], units[2];
        APT_split_rwy_code(hundreds, tens, units, code);
        EXPECT_EQ((std::array<int, 6>{hundreds[0], tens[0], units[0], hundreds[1], tens[1], units[1]}), want) << code;
    }
}
