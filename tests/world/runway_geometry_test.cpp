// Runway strips and lights: row counts and marking slots, overruns and
// displaced thresholds, refused runways, light spacing, the lights of a
// precision runway with approach lights counted by hand, and lights over a
// crossing runway.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "core/geo.h"
#include "core/constants.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/runway_label.h"
#include "world/runway_outline.h"

namespace {

class RunwayGeometry : public ::testing::Test {
protected:
    void SetUp() override
    {
        world_reset_tables();
        PLANET_set_constants(0);
        lat_ref = 33.0f;
        lon_ref = -119.0f;
        runway_geometry_table.clear();
    }
    // An airport with one runway of the given size; more runways with add_runway.
    static int airport(const char* number, float length, float width, int markings = 0, int surface = 160,
                       int lights = 0)
    {
        const int a = world_add_airport("TEST", 34.0f, -117.5f, number, 90.0f, 300.0f);
        runway_record& r = airport_table[size_t(a)].runways[0];
        r.length = length, r.width = width, r.markings_code = markings, r.surface_code = surface;
        r.lighting_code = lights;
        return a;
    }
    static void add_runway(int a, const char* number, float lat, float lon, float heading, float length, float width,
                           int lights = 0)
    {
        runway_record r = airport_table[size_t(a)].runways[0];
        std::strncpy(r.number, number, 3);
        r.lat = lat, r.lon = lon, r.heading = heading, r.length = length, r.width = width, r.lighting_code = lights;
        airport_table[size_t(a)].runways.push_back(r);
    }
    static void build(int a)
    {
        std::vector<runway_record>& rs = airport_table[size_t(a)].runways;
        for (size_t r = 0; r < rs.size(); ++r) {
            rs[r].geometry_index = int32_t(runway_geometry_table.size());
            APT_build_runway_strip(a, int(r), rs[r].geometry_index);
        }
        for (size_t r = 0; r < rs.size(); ++r) APT_build_runway_lights(a, int(r), rs[r].geometry_index);
    }
    static const runway_geometry_record& entry(int a, int r = 0)
    {
        return runway_geometry_table[size_t(airport_table[size_t(a)].runways[size_t(r)].geometry_index)];
    }
    static std::vector<int32_t> slots(const runway_geometry_record& e)
    {
        std::vector<int32_t> out;
        for (const runway_section& s : e.sections) out.push_back(s.texture_slot);
        return out;
    }
    static std::map<int32_t, int> kinds(const runway_geometry_record& e)
    {
        std::map<int32_t, int> out;
        for (const runway_light& l : e.lights) ++out[l.kind];
        return out;
    }
};

}  // namespace

TEST_F(RunwayGeometry, RowsAndMarkingSlots)
{
    // 3,000 x 45 m without overruns: 67 rows, the strip from corner to corner of the outline.
    const int plain = airport("09", 3000.0f, 45.0f);
    build(plain);
    ASSERT_EQ(entry(plain).sections.size(), 68u);
    float lat[4], lon[4], h[4];
    APT_runway_outline(plain, 0, lat, lon, h, 0);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat[2], lon[2], 300.0);
    EXPECT_NEAR(entry(plain).sections.back().left[0], x, 0.01f);
    EXPECT_NEAR(entry(plain).sections.back().left[2], z, 0.01f);
    EXPECT_EQ(slots(entry(plain)), std::vector<int32_t>(68, 154));

    // Precision markings: four rows more, still ending at the far end; bars,
    // the numbers 9 and 27 at both ends (2 x number + 68 + f).
    runway_geometry_table.clear();
    world_reset_tables();
    const int marked = airport("09", 3000.0f, 45.0f, 3);
    build(marked);
    const std::vector<int32_t> s = slots(entry(marked));
    ASSERT_EQ(s.size(), 72u);
    EXPECT_NEAR(entry(marked).sections.back().left[0], x, 0.01f);
    EXPECT_EQ(std::vector<int32_t>(s.begin(), s.begin() + 17),
              (std::vector<int32_t>{58, 160, 86, 142, 150, 160, 144, 160, 148, 160, 148, 160, 146, 160, 146, 160, 160}));
    EXPECT_EQ(s[70], 58);
    EXPECT_EQ(s[68], 2 * 27 + 68);

    // Concrete (f = 1) with a letter: L from this end, R seen from the other.
    world_reset_tables();
    const int lettered = airport("09L", 3000.0f, 60.0f, 3, 161);
    build(lettered);
    const std::vector<int32_t> c = slots(entry(lettered));
    const int N = int(c.size()) - 1;
    EXPECT_EQ(c[0], 61);                 // wide bars
    EXPECT_EQ(c[1], 63);                 // 'L'
    EXPECT_EQ(c[2], 2 * 9 + 69);
    EXPECT_EQ(c[N - 1 - 1], 67);         // 'L' seen from the far end is 'R'
    EXPECT_EQ(c[N - 1 - 2], 2 * 27 + 69);

    // Small ones: 60 x 30 becomes 3 rows, a 20 x 20 taxiway keeps 1; a damaged
    // length and displacement past any row count keep the capped rows.
    world_reset_tables();
    const int small = airport("18", 60.0f, 30.0f);
    add_runway(small, "xxx", 34.01f, -117.5f, 0.0f, 20.0f, 20.0f);
    add_runway(small, "36", 34.02f, -117.5f, 0.0f, 1e26f, 30.0f);
    airport_table[size_t(small)].runways[2].displaced_thresholds = 3e38f;
    build(small);
    EXPECT_EQ(entry(small, 0).sections.size(), 4u);
    EXPECT_EQ(entry(small, 1).sections.size(), 2u);
    EXPECT_EQ(entry(small, 2).sections.size(), RUNWAY_MAX_ROWS + 1u);
}

TEST_F(RunwayGeometry, OverrunsDisplacedThresholdsAndRefusedRunways)
{
    // 300 ft overruns at both ends, a 500 ft displaced threshold at the first:
    // N = 71 (+4), overrun rows 0, 1 and from 73, the displaced area 2..4 with its two ends.
    const int a = airport("09", 3000.0f, 45.0f, 3);
    airport_table[size_t(a)].runways[0].stopways = 300.03f;
    airport_table[size_t(a)].runways[0].displaced_thresholds = 500.0f;
    build(a);
    const std::vector<int32_t> s = slots(entry(a));
    ASSERT_EQ(s.size(), 76u);
    EXPECT_EQ(std::vector<int32_t>(s.begin(), s.begin() + 7), (std::vector<int32_t>{50, 50, 52, 54, 56, 58, 160}));
    EXPECT_EQ(std::vector<int32_t>(s.end() - 4, s.end()), (std::vector<int32_t>{58, 50, 50, 50}));

    // Zero, negative or non-finite sizes: the runway keeps its entry, one section at its point, no lights.
    for (auto [length, width] : {std::pair{0.0f, 45.0f}, {3000.0f, -1.0f}, {NAN, 45.0f}, {3000.0f, INFINITY}}) {
        runway_geometry_table.clear();
        world_reset_tables();
        const int bad = airport("27", length, width, 3, 160, 354354);
        build(bad);
        ASSERT_EQ(entry(bad).sections.size(), 1u);
        EXPECT_TRUE(entry(bad).lights.empty());
        float x, y, z;
        GEO_latlon_to_local(x, y, z, 34.0, -117.5, 300.0);
        EXPECT_NEAR(entry(bad).sections[0].left[0], x, 0.01f);
        EXPECT_EQ(APT_point_on_runway(bad, -1, 1, x, z), 0);
    }
}

TEST_F(RunwayGeometry, LightSpacingAndAPrecisionRunwaysLightsCountedByHand)
{
    // Edge lights only (runway-light index 1): 3 m apart on 90 m, 40 m apart on 4,000 m.
    for (auto [length, step] : {std::pair{90.0f, 3.0f}, {4000.0f, 40.0f}}) {
        runway_geometry_table.clear();
        world_reset_tables();
        const int a = airport("09", length, 30.0f, 0, 160, 121121);
        build(a);
        const std::vector<runway_light>& l = entry(a).lights;
        const int NL = int(std::lround(length / step));
        ASSERT_EQ(l.size(), size_t(4 * (NL + 1)));
        EXPECT_NEAR(std::hypot(l[2].x - l[0].x, l[2].z - l[0].z), step, 0.01f);
    }

    // 3,000 x 45 m, both ends: glide slope 2, runway lights 4, approach lights 6 (7 at end 1).
    runway_geometry_table.clear();
    world_reset_tables();
    const int p = airport("09", 3000.0f, 45.0f, 3, 160, 357358);
    build(p);
    // Approach lights per end: 41 centre-line pairs (82), the wider pair from
    // 625 m to 1,025 m (17 pairs, 34) and crossbars of 4 + 8 + 8 + 10 + 10.
    std::map<int32_t, int> expected;
    for (int facing : {1000, 2000})
        for (auto [base, count] : std::initializer_list<std::pair<int, int>>{
                 {110, 162}, {65, 40}, {106, 75 + 156}, {107, 24}, {64, 8}, {105, 2}, {58, 8}, {111, 156}, {104, 1},
                 {96, 1}, {97, 1}, {98, 1}, {99, 1}})
            expected[facing + base] = count;
    expected[2058] += 44;   // system 7: eleven side rows of four
    EXPECT_EQ(kinds(entry(p)), expected);
    // Lights stand on the sphere at the airport's elevation (the glide-slope units 2 m above it).
    for (const runway_light& l : entry(p).lights) {
        const geo_point g = GEO_local_to_latlon_about(34.0, -117.5, l.x, l.y, l.z);
        const float base = (l.kind % 1000 >= 96 && l.kind % 1000 <= 99) ? 302.0f : 300.0f;
        ASSERT_NEAR(g.elev, base, 0.01) << l.kind;
    }

    // Seen from end 0 (the west end; east +x, the left of its approach north,
    // -z): the glide-slope units 200 m in, 34, 26, 18 and 10 m beyond the
    // 22.5 m half-width; touchdown rows at 0.16, 0.20 and 0.24 of the width
    // either side, from 10 m to 510 m in.
    const runway_section& first = entry(p).sections.front();
    const float cx = (first.left[0] + first.right[0]) / 2, cz = (first.left[2] + first.right[2]) / 2;
    std::map<int32_t, std::pair<float, float>> units;
    std::set<float> rows;
    float in_lo = 1e9f, in_hi = -1e9f;
    for (const runway_light& l : entry(p).lights) {
        if (l.kind >= 1096 && l.kind <= 1099) units[l.kind] = {l.x - cx, l.z - cz};
        if (l.kind == 1106 && std::fabs(l.z - cz) > 1.0f) {
            rows.insert(std::round((l.z - cz) * 10.0f) / 10.0f);
            in_lo = std::min(in_lo, l.x - cx), in_hi = std::max(in_hi, l.x - cx);
        }
    }
    const std::pair<int32_t, float> unit_left[] = {{1096, 56.5f}, {1097, 48.5f}, {1098, 40.5f}, {1099, 32.5f}};
    for (auto [kind, left] : unit_left) {
        EXPECT_NEAR(units[kind].first, 200.0f, 0.1f) << kind;
        EXPECT_NEAR(units[kind].second, -left, 0.1f) << kind;
    }
    EXPECT_EQ(rows, (std::set<float>{-10.8f, -9.0f, -7.2f, 7.2f, 9.0f, 10.8f}));
    EXPECT_NEAR(in_lo, 10.0f, 0.1f);
    EXPECT_NEAR(in_hi, 510.0f, 0.1f);
}

// Smaller systems: a lit taxiway keeps 30 m steps, a short displaced
// threshold still gets its own row, approach system 3 has 41 pairs, and the
// units of glide-slope indicator 1 stand 100 and 250 m in.
TEST_F(RunwayGeometry, SmallerSystemsCountedAndPlaced)
{
    const int a = airport("09", 3000.0f, 45.0f, 3, 160, 224224);   // glide slope 1, edge lights, approach 3
    airport_table[size_t(a)].runways[0].displaced_thresholds = 20.0f;   // 6.1 m: row 0 of 67
    add_runway(a, "xxx", 34.05f, -117.5f, 0.0f, 20.0f, 20.0f, 161161);   // all-around lights
    build(a);
    const std::vector<int32_t> s = slots(entry(a));
    EXPECT_EQ(std::vector<int32_t>(s.begin(), s.begin() + 2), (std::vector<int32_t>{52, 58}));
    // 20 m in 30 m steps: 3 (the least) each way, 4 positions on each of the four sides.
    EXPECT_EQ(kinds(entry(a, 1)), (std::map<int32_t, int>{{73, 16}}));
    // 41 centre-line pairs and the crossbars of 4 and 8.
    EXPECT_EQ(kinds(entry(a))[1111], 94);
    const runway_section& first = entry(a).sections.front();
    const float cx = (first.left[0] + first.right[0]) / 2, cz = (first.left[2] + first.right[2]) / 2;
    std::set<std::pair<int, int>> units;
    for (const runway_light& l : entry(a).lights)
        if (l.kind == 1094 || l.kind == 1095)
            units.insert({int(std::lround(2 * (l.x - cx - 6.096f))), int(std::lround(2 * (l.z - cz)))});
    // In half metres: 22.5 + 18 and 22.5 + 20 to the left (north, -z).
    EXPECT_EQ(units, (std::set<std::pair<int, int>>{{200, -81}, {200, -85}, {500, -81}, {500, -85}}));
}

TEST_F(RunwayGeometry, LightsOverACrossingRunwayAreDropped)
{
    const int a = airport("09", 2000.0f, 45.0f, 0, 160, 131131);   // edge and threshold lights
    add_runway(a, "18", 34.0f, -117.5f, 180.0f, 2000.0f, 60.0f);
    build(a);
    // Edge lights at 68 positions of each edge for each end, and per end the
    // two threshold lines of 8 positions with two outer lights; of the edge
    // positions 33 and 34 stand on the 60 m crossing runway, for both edges and ends.
    int on_crossing = 0;
    for (const runway_light& l : entry(a, 0).lights) on_crossing += APT_point_on_runway(a, 0, 1, l.x, l.z);
    EXPECT_EQ(on_crossing, 0);
    EXPECT_EQ(entry(a, 0).lights.size(), size_t(4 * 68 + 2 * 18 - 8));
    // The crossing runway's outline, 5 m wider on every side, holds the crossing point and not 40 m off it.
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 34.0, -117.5, 300.0);
    EXPECT_EQ(APT_point_on_runway(a, 0, 0, x + 34.0f, z), 1);
    EXPECT_EQ(APT_point_on_runway(a, 0, 0, x + 36.0f, z), 0);
    EXPECT_EQ(APT_point_on_runway(a, -1, 0, x + 36.0f, z), 1);   // the first runway, no longer skipped

    // A runway across the west end (1,000 m west of the centre): of the lines
    // there only the two outer lights make the pavement test and are dropped;
    // the threshold line of end 0 and the runway-end line of end 1 are whole.
    runway_geometry_table.clear();
    world_reset_tables();
    const int b = airport("09", 2000.0f, 45.0f, 0, 160, 131131);
    add_runway(b, "36", 34.0f, -117.5f - 1000.0f / (111319.5f * std::cos(34.0f * 3.14159265f / 180.0f)), 0.0f,
               2000.0f, 60.0f);
    build(b);
    std::map<int32_t, int> k = kinds(entry(b, 0));
    EXPECT_GT(k[1064], 0);
    EXPECT_EQ(k[1064], k[1058]);
    EXPECT_EQ(k[2058], k[2064]);
    EXPECT_EQ(k[1105], 0);
    EXPECT_EQ(k[2105], 2);
}

TEST(RunwayLabel, PadsRunwaysAndTaxiwayMarks)
{
    char out[TEXT_SIZE];
    RWY_label("H1", out);
    EXPECT_STREQ(out, "PAD H1");
    RWY_label("09x", out);
    EXPECT_STREQ(out, "RWY 09");
    RWY_label("36", out);
    EXPECT_STREQ(out, "RWY 36");
    RWY_label("", out);
    EXPECT_STREQ(out, "RWY ");
    RWY_label("0 9 L", out);     // the spaced form of the menus
    EXPECT_STREQ(out, "RWY 0 9 L");
    const std::string endless(2000, '7');
    RWY_label(endless.c_str(), out);   // never past a text buffer
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(TEXT_MAX_LEN));
}
