// The world built from an Earth tile: objects, power-line towers, roads over
// water and their finished edges, city land use, water cells, ground under
// runways and heliports, custom package order, folded grids.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "core/folders.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "flightmodel/ground/terrain_query.h"
#include "tests/world/tile_test_util.h"
#include "tests/world/world_test_util.h"
#include "world/apt_scene.h"
#include "world/env_build.h"
#include "world/env_tile.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/scene_terrain.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/terrain_grid.h"

namespace {

constexpr int EARTH = 0, MARS = 1;
constexpr int SOUTH = 34, WEST = -118;   // the tile read, window from (150, 200) of the area at 33 N, 119 W
constexpr int ROW0 = 150, COL0 = 200;

float elevation_of(int i, int j)
{
    const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
    const int p = sim_graphics_scenery.current_planet;
    return static_cast<float>(
        GEO_local_to_latlon_about(lat_ref + (p ? 2.5 : 1.0), lon_ref + (p ? 3.0 : 1.5), v.x, v.y, v.z).elev);
}

terrain_vertex local(double lat, double lon, double elevation = 0.0)
{
    terrain_vertex v;
    GEO_latlon_to_local(v.x, v.y, v.z, lat, lon, elevation);
    return v;
}

std::vector<const segment_point*> all_points(int kind)
{
    std::vector<const segment_point*> out;
    for (const terrain_point_lists& l : terrain_lists)
        for (const segment_point& p : l.seg[kind]) out.push_back(&p);
    return out;
}

class EnvBuild : public ::testing::Test {
protected:
    temp_folder tmp;
    void SetUp() override { use_area(EARTH); }
    void use_area(int planet)
    {
        tiles_use_area(tmp, planet, 33.0f, -119.0f);
        OBJ_clear_table();
    }
    // The tile written into the navigation data and read.
    void read(const env::tile& t)
    {
        tiles_write(tmp, sim_graphics_scenery.current_planet, t);
        tiles_read(t.south, t.west);
    }
    static int add_airport(int kind, double lat, double lon, float elevation_m, float length_m, float width_m)
    {
        const int a = world_add_airport("TEST", static_cast<float>(lat), static_cast<float>(lon), "09", 90.0f,
                                        elevation_m);
        airport_table[static_cast<size_t>(a)].kind = kind;
        airport_table[static_cast<size_t>(a)].runways[0].length = length_m;
        airport_table[static_cast<size_t>(a)].runways[0].width = width_m;
        local_airport_list[++local_airport_last] = a;
        return a;
    }
};

}  // namespace

TEST_F(EnvBuild, ObjectsTakeTheirKindAndHeightAndCustomNamesStayInTheirPackage)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 100.0, 10);
    t.objects = {{2, 34.5f, -117.4f, 300.0f, ""},       {2, 34.5f, -117.5f, 299.0f, ""},
                 {3, 34.6f, -117.5f, 500.0f, ""},       {5, 34.6f, -117.4f, 200.0f, ""},
                 {6, 34.7f, -117.5f, 150.0f, ""},       {8, 34.7f, -117.4f, 45.0f, "towers:big"},
                 {8, 34.8f, -117.4f, 0.0f, "../escape"}, {8, 34.8f, -117.5f, 0.0f, "/etc/passwd"},
                 {8, 34.9f, -117.5f, 0.0f, "missing"}};
    // The package's one object file: a version-2 tower of one quad.
    tmp.write("Custom Scenery/Objects/custom objects/towers/big.obj", "I\n2 version\nTOWER // texture\n4 0 1 0 1\n"
                                                                     "-5 0 0\n-5 30 0\n5 30 0\n5 0 0\n99\n");
    const std::filesystem::path log = tmp.path() / "ERROR.OUT";
    error_log.close();
    error_log.clear();
    error_log.open(log);
    tiles_write(tmp, EARTH, t, "Objects");
    tiles_read(t.south, t.west);
    error_log.close();

    // Blocks, towers and stacks by their 10 m size bands; the 299 ft block shares
    // the first block's record ("block9"), made as one of the tall kinds 90..93
    // that a block of 300 ft asks for. The object outside the package and the
    // missing file place nothing.
    ASSERT_EQ(placement_list.size(), 6u);
    const char* names[] = {"block9", "block9", "radio tower15", "cooling tower6", "stacks4"};
    for (size_t k = 0; k < 5; ++k) {
        const scenery_object_record& o = object_table[static_cast<size_t>(placement_list[k].object)];
        EXPECT_STREQ(o.name, names[k]);
        if (k >= 2) { EXPECT_EQ(o.object_class, OBJ_CLASS_PLAIN); }
        const terrain_vertex at = local(t.objects[k].lat, t.objects[k].lon);
        EXPECT_NEAR(placement_list[k].x, at.x, 0.01f);
        EXPECT_NEAR(placement_list[k].y, TERRAIN_height_at(at.x, at.z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "t"),
                    0.01f);
    }
    EXPECT_EQ(placement_list[0].object, placement_list[1].object);
    const int tall = object_table[static_cast<size_t>(placement_list[0].object)].kind;
    EXPECT_TRUE(tall >= 90 && tall <= 93) << tall;
    EXPECT_EQ(object_table.size(), 5u);

    const object_placement& tower = placement_list[5];
    const scenery_object_record& custom = object_table[static_cast<size_t>(tower.object)];
    EXPECT_TRUE(std::string(custom.name).ends_with("custom objects:towers:big.obj")) << custom.name;
    EXPECT_EQ(tower.heading, 45.0f);
    const terrain_vertex at = local(34.7f, -117.4f);
    EXPECT_NEAR(tower.x, at.x, 0.01f);
    EXPECT_NEAR(tower.z, at.z, 0.01f);

    const std::string logged = read_file_bytes(log);
    EXPECT_NE(logged.find("\"../escape\""), std::string::npos);
    EXPECT_NE(logged.find("\"/etc/passwd\""), std::string::npos);
}

namespace {

// The loaded power line's three towers, walked west to east along their
// links: each on land facing east, 620 m from the one before, the last the end.
void expect_three_towers_east_620_m_apart()
{
    const std::vector<const segment_point*> towers = all_points(3);
    ASSERT_EQ(towers.size(), 3u);
    const segment_point* p = towers[0];
    for (const segment_point* q : towers)
        if (q->x < p->x) p = q;
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(p->span_flag, SEG_ON_LAND);
        EXPECT_NEAR(p->heading, 90.0f, 0.5f);
        const std::vector<segment_point>* next = SEG_list(3, static_cast<int>(p->normal[0]), static_cast<int>(p->normal[1]));
        ASSERT_TRUE(next && p->normal[2] >= 0 && p->normal[2] < next->size());
        const segment_point* q = &(*next)[static_cast<size_t>(p->normal[2])];
        EXPECT_NEAR(q->x - p->x, 620.0f, 5.0f);
        p = q;
    }
    EXPECT_EQ(p->span_flag, SEG_END);
}

}  // namespace

TEST_F(EnvBuild, PowerLineTowersAndRoadsOverALake)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 100.0, 10);
    for (int i = 60; i <= 80; ++i)
        for (int j = 100; j <= 120; ++j) t.at(i, j).landuse_word = env::landuse_word(0, 0, 0, 4, 15);
    // A line 1,240 m long running east.
    const double lat = 34.3, span = 1240.0 / (6378145.0 * std::cos(lat * M_PI / 180.0) * M_PI / 180.0);
    t.sections[env::POWER_LINES] = {{{lat, -117.9}, {lat, -117.9 + span}}};
    read(t);
    ASSERT_TRUE(recorded_alerts.empty());

    expect_three_towers_east_620_m_apart();

    // Over the lake roads and the other sections below 3 are raised 15 m;
    // power lines (3) and taxi lines (4) are not.
    const int i = ROW0 + 70, j = COL0 + 110;
    const terrain_vertex &a = terrain_vertex_grid[TERRAIN_index(i, j)], &b = terrain_vertex_grid[TERRAIN_index(i + 1, j + 1)];
    const float x = (a.x + b.x) * 0.5f, z = (a.z + b.z) * 0.5f;
    const float h = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "test");
    for (auto [kind, raised] : {std::pair{0, true}, {2, true}, {3, false}, {4, false}}) {
        int r = i, c = j;
        build_seg(kind, x, z, r, c, ROW0, COL0, 1, 0);
        const segment_point& s = SEG_list(kind, r, c)->back();
        EXPECT_FLOAT_EQ(s.y, raised ? h + 15.0f : h) << kind;
        EXPECT_EQ(s.span_flag, raised ? SEG_RAISED : SEG_ON_LAND) << kind;
    }
    int end_r = i, end_c = j;
    build_seg(0, x, z, end_r, end_c, ROW0, COL0, 1, 1);   // a chain's end over the lake: raised, marked as the end
    EXPECT_EQ(SEG_list(0, end_r, end_c)->back().span_flag, SEG_END);
    EXPECT_FLOAT_EQ(SEG_list(0, end_r, end_c)->back().y, h + 15.0f);

    // The cell a point is stored in: with clamp, the probed cell kept inside
    // the tile window (one row past it goes to the last row); without, the
    // cell passed in whatever the probe finds.
    struct stored {
        int probe_i, probe_j, given_i, given_j, clamp, want_i, want_j;
    };
    const stored cases[] = {
        {ROW0 + 150, COL0 + 50, 0, 0, 1, ROW0 + 149, COL0 + 50},
        {ROW0 + 70, COL0 + 110, ROW0 + 5, COL0 + 6, 0, ROW0 + 5, COL0 + 6},
    };
    for (const stored& c : cases) {
        const terrain_vertex &p = terrain_vertex_grid[TERRAIN_index(c.probe_i, c.probe_j)],
                             &q = terrain_vertex_grid[TERRAIN_index(c.probe_i + 1, c.probe_j + 1)];
        const float px = (p.x + q.x) * 0.5f, pz = (p.z + q.z) * 0.5f;
        int r = c.given_i, col = c.given_j;
        build_seg(1, px, pz, r, col, ROW0, COL0, c.clamp, 0);
        EXPECT_EQ(std::pair(r, col), std::pair(c.want_i, c.want_j)) << c.clamp;
        const std::vector<segment_point>* list = SEG_list(1, c.want_i, c.want_j);
        ASSERT_TRUE(list && !list->empty()) << c.clamp;
        EXPECT_EQ(list->back().x, px);
    }
}

// Where a segment's line (through the origin, dx/dz = g) crosses a cell edge:
// only along the edge (0 <= t <= 1) and within the segment's x extent d, an
// extent under a metre counting as one metre on its side.
TEST_F(EnvBuild, SegmentLinesCrossCellEdgesWithinTheirExtent)
{
    struct crossing {
        float g, d, x1, z1, x2, z2;   // the edge runs from (x1, 2, z1) to (x2, 12, z2); y: the rise above 2
        int found;
        float x, y, z;
    };
    const crossing cases[] = {
        {0.0f, -10.0f, -5.0f, 3.0f, 5.0f, 3.0f, 1, 0.0f, 5.0f, 3.0f},      // t 0.5, X 0
        {1.0f, 0.5f, 0.0f, 0.8f, 1.0f, 0.8f, 1, 0.8f, 8.0f, 0.8f},         // X 0.8 of a 1 m extent
        {1.0f, -0.5f, -1.0f, -0.8f, 0.0f, -0.8f, 1, -0.8f, 2.0f, -0.8f},   // the same on the negative side
        {1.0f, 0.0f, -1.0f, -0.8f, 0.0f, -0.8f, 0, 0, 0, 0},               // an extent of 0 counts as +1 m
        {1.0f, -10.0f, 0.0f, 0.8f, 1.0f, 0.8f, 0, 0, 0, 0},                // X 0.8 outside 0..-10
        {1.0f, 10.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1, 0.0f, 0.0f, 0.0f},        // t exactly 0
        {1.0f, 10.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1, 0.0f, 10.0f, 0.0f},      // t exactly 1
        {1.0f, 10.0f, 2.0f, 0.8f, 3.0f, 0.8f, 0, 0, 0, 0},                 // t -1.2: off the edge
        {1.0f, 10.0f, 0.0f, 1.0f, 1.0f, 2.0f, 0, 0, 0, 0},                 // edge parallel to the line
    };
    for (const crossing& c : cases) {
        float x = -99.0f, y = -99.0f, z = -99.0f;
        const int found = ENV_seg_cross(c.g, c.d, 0.0f, 0.0f, c.x1, 2.0f, c.z1, c.x2, 12.0f, c.z2, x, y, z);
        EXPECT_EQ(found, c.found) << c.g << " " << c.d << " " << c.x1 << " " << c.z1;
        if (!found || !c.found) continue;
        EXPECT_NEAR(x, c.x, 1e-5f);
        EXPECT_NEAR(y, c.y + 2.0f, 1e-5f);   // the edge climbs from 2 to 12
        EXPECT_NEAR(z, c.z, 1e-5f);
    }
}

// A power line that stands still for 40,000 points before it runs east puts
// 40,000 towers on one spot: all but one are dropped as duplicates, in one
// pass (not one pass over every tower per dropped tower), and the links still
// lead from tower to tower along the line.
TEST_F(EnvBuild, ThousandsOfTowersOnOneSpotAreDroppedQuicklyAndTheLinksHold)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 100.0, 10);
    const double lat = 34.3, span = 1240.0 / (6378145.0 * std::cos(lat * M_PI / 180.0) * M_PI / 180.0);
    env::chain line(40000, {lat, -117.9});
    line.push_back({lat, -117.9 + span});
    t.sections[env::POWER_LINES] = {line};
    read(t);
    ASSERT_TRUE(recorded_alerts.empty());

    expect_three_towers_east_620_m_apart();
}

TEST_F(EnvBuild, FinishedHighwayEdgesLieTwoWidthsOverTheCosineApartAndCarryCars)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 100.0, 10);
    t.sections[env::HIGHWAYS] = {{{34.20, -117.90}, {34.20, -117.80}}, {{34.50, -117.50}, {34.50, -117.40}, {34.60, -117.40}}};
    UTIL_srand(1);   // draws 16838, 5758, 10113, 17515 ...
    read(t);
    ASSERT_TRUE(recorded_alerts.empty());

    // The first two cars, cells taken row by row: the factor from the first
    // draw (16838 * 4 / 32768 = 2: 0.9; 10113: 1, -0.9), the place from the second.
    std::map<int, const std::vector<traffic_record>*> cells;
    for (const terrain_point_lists& l : terrain_lists)
        if (!l.traffic.empty()) cells[l.point] = &l.traffic;
    std::vector<traffic_record> cars;
    for (const auto& [point, list] : cells) cars.insert(cars.end(), list->begin(), list->end());
    ASSERT_GE(cars.size(), 2u);
    EXPECT_EQ(cars[0].dir, 0.9f);
    EXPECT_NEAR(cars[0].frac, 0.01f + 0.98f * 5758.0f / 32767.0f, 1e-6f);
    EXPECT_EQ(cars[1].dir, -0.9f);
    EXPECT_NEAR(cars[1].frac, 0.01f + 0.98f * 17515.0f / 32767.0f, 1e-6f);

    bool bend = false;
    int straight = 0;
    for (const terrain_point_lists& l : terrain_lists) {
        const std::vector<segment_point>& s = l.seg[0];
        // Points inside a cell's piece of the road (a piece's first point turns from its own place).
        for (size_t p = 1; p + 1 < s.size(); ++p) {
            if (s[p].span_flag == SEG_END || s[p - 1].span_flag == SEG_END) continue;
            const float apart = std::hypot(s[p].edge_x - s[p].x, s[p].edge_z - s[p].z);
            if (std::fabs(apart - 36.0f) < 0.05f) {
                ++straight;
                EXPECT_NEAR(s[p].normal[1], 1.0f, 1e-4f);   // the normal of level ground
                // The texture runs a quarter of its width per width of road to the
                // next point (centre to centre, halfway between the two edges).
                if (s[p].span_flag != SEG_END) {
                    const float dx = (s[p + 1].x + s[p + 1].edge_x - s[p].x - s[p].edge_x) / 2;
                    const float dz = (s[p + 1].z + s[p + 1].edge_z - s[p].z - s[p].edge_z) / 2;
                    EXPECT_NEAR(s[p].tex_len, std::hypot(dx, dz) / 72.0f, 1e-3f);
                }
            } else {
                EXPECT_NEAR(apart, 36.0f / std::cos(M_PI / 4.0), 0.5f);
                bend = true;
            }
        }
        for (const traffic_record& car : l.traffic) {
            EXPECT_TRUE(car.frac >= 0.01f && car.frac <= 0.99f);
            EXPECT_TRUE(std::set<float>({-1.1f, -0.9f, 0.9f, 1.1f}).count(car.dir));
            EXPECT_LT(car.seg + 1, static_cast<int32_t>(s.size()));
        }
    }
    EXPECT_GE(straight, 5);
    EXPECT_TRUE(bend);

    // A taxi line point 1.27 m short of the next (three steps of a float's
    // latitude) is dropped as a duplicate (closer than 1.41 m): the line
    // keeps as many points as without it.
    auto taxi_points = [&](env::chain chain) {
        use_area(EARTH);
        t.sections[env::HIGHWAYS] = {};
        t.sections[env::TAXI_LINES] = {chain};
        read(t);
        return all_points(4).size();
    };
    const double near_lat = 34.2035 - 3 * 3.814697265625e-6;
    EXPECT_EQ(taxi_points({{near_lat, -117.9035}, {34.2035, -117.9035}, {34.2035, -117.8935}}),
              taxi_points({{34.2035, -117.9035}, {34.2035, -117.8935}}));

    // A hairpin: the turn of 166.5 degrees is limited to 135, so its edges
    // lie 36 / cos 67.5 = 94.07 m apart, none farther.
    use_area(EARTH);
    t.sections[env::HIGHWAYS] = {{{34.503, -117.503}, {34.503, -117.403}, {34.523, -117.503}}};
    read(t);
    float widest = 0.0f;
    for (const terrain_point_lists& l : terrain_lists)
        for (const segment_point& p : l.seg[0]) widest = std::max(widest, std::hypot(p.edge_x - p.x, p.edge_z - p.z));
    EXPECT_NEAR(widest, 36.0f / std::cos(67.5 * M_PI / 180.0), 0.5f);
}

// A road climbing 45 degrees east, then 30 degrees north, then falling to the
// south-west: the surface normal leans away from the climb, (-sin s sin h,
// cos s, sin s cos h) with s the slope and h the heading to the next point.
// The last point has no next and points up; so do taxi lines everywhere.
TEST_F(EnvBuild, SlopedSegmentPointsCarryTheirSurfaceNormal)
{
    const float t30 = std::tan(30.0f * static_cast<float>(M_PI) / 180.0f);
    const float chain[4][3] = {{0, 0, 0}, {100, 100, 0}, {100, 100 + 100 * t30, -100}, {0, 100 * t30, 0}};
    const float r = std::sqrt(0.5f), s35 = std::sqrt(1.0f / 3.0f), c35 = std::sqrt(2.0f / 3.0f);
    const float sloped[4][3] = {{-r, r, 0}, {0, std::sqrt(0.75f), 0.5f}, {-s35 * r, c35, s35 * r}, {0, 1, 0}};
    const env_tile_window w{SOUTH, WEST, ROW0, COL0, 1, 1, 0, ""};
    for (int kind : {0, 1, 2, 4}) {
        SEG_clear_lists();
        std::vector<segment_point>& list = SEG_list_for_writing(kind, ROW0, COL0);
        for (const auto& c : chain) {
            segment_point p{};
            p.x = c[0], p.y = c[1], p.z = c[2];
            p.span_flag = SEG_ON_LAND;
            list.push_back(p);
        }
        ENV_build_finish_section(w, kind);
        const std::vector<segment_point>& done = *SEG_list(kind, ROW0, COL0);
        ASSERT_EQ(done.size(), 4u);
        for (size_t p = 0; p < 4; ++p)
            for (int k = 0; k < 3; ++k) {
                const float want = kind <= 2 ? sloped[p][k] : (k == 1 ? 1.0f : 0.0f);
                EXPECT_NEAR(done[p].normal[k], want, 1e-4f) << kind << " point " << p << " component " << k;
            }
    }
}

TEST_F(EnvBuild, TownsBecomeCityOnTheEarthOnly)
{
    // Beside the window: the city under an airport is city, a custom texture is not.
    for (int c : {203, 205, 207}) landuse_grid[TERRAIN_index(148, c)] = 84, landuse_grid[TERRAIN_index(148, c + 10)] = 1000;
    read(flat_tile(EARTH, SOUTH, WEST, 100.0, 1));
    const std::pair<std::pair<int, int>, int> expected[] = {
        {{152, 200}, 83}, {{161, 211}, 82}, {{155, 205}, 81}, {{150, 205}, 81}, {{150, 215}, 80}, {{150, 225}, 80},
        {{164, 211}, 81}, {{161, 214}, 81}, {{170, 217}, 81}, {{169, 226}, 81}};   // just past each band
    for (auto [at, code] : expected) EXPECT_EQ(landuse_grid[TERRAIN_index(at.first, at.second)], code);
    for (int i = ROW0; i <= ROW0 + 150; i += 7)
        for (int j = COL0; j <= COL0 + 200; j += 7) {
            const int code = landuse_grid[TERRAIN_index(i, j)];
            EXPECT_TRUE(code >= 80 && code <= 83) << code;
        }

    use_area(MARS);   // the Mars area from 33 N, 119 W: tile 34 N, 118 W has its window at (64, 64)
    read(flat_tile(MARS, 34, -118, 100.0, 1));
    EXPECT_EQ(landuse_grid[TERRAIN_index(64 + 5, 64 + 5)], 1);
    EXPECT_EQ(landuse_grid[TERRAIN_index(152, 200)], 0);   // the Earth's city went with its area
}

// The area spans its ground east to west where the ground is widest, at the
// edge nearest the equator, north and south of it and by the pole.
TEST_F(EnvBuild, TheAreaIsAsWideAsItsGroundsWidestEdge)
{
    for (const float lat : {33.0f, -37.0f, 86.0f}) {
        tiles_use_area(tmp, EARTH, lat, -119.0f);
        float widest = 0.0f;
        for (const terrain_vertex& v : terrain_sphere_grid) widest = std::max(widest, std::fabs(v.x));
        EXPECT_NEAR(widest / scenery_area.x1, 1.0f, 0.005f) << lat;
    }
}

TEST_F(EnvBuild, WaterCellsTakeTheirLowestCorner)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 300.0, 10);
    t.at(10, 10).elevation_m = 150.0;
    t.at(10, 10).landuse_word = env::landuse_word(0, 0, 0, 4, 15);
    read(t);
    const float low = terrain_vertex_grid[TERRAIN_index(ROW0 + 10, COL0 + 10)].y;
    EXPECT_NEAR(elevation_of(ROW0 + 10, COL0 + 10), 150.0f, 0.01f);
    for (int i = 9; i <= 11; ++i)
        for (int j = 9; j <= 11; ++j) EXPECT_EQ(terrain_vertex_grid[TERRAIN_index(ROW0 + i, COL0 + j)].y, low);
    EXPECT_NEAR(elevation_of(ROW0 + 12, COL0 + 12), 300.0f, 0.01f);
}

TEST_F(EnvBuild, RunwaysFlattenTheGroundAndRaisedHeliportsStandOnIt)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 0.0, 1);
    for (int i = 0; i <= 150; ++i)
        for (int j = 0; j <= 200; ++j) t.at(i, j).elevation_m = 200.0 + 0.5 * i;
    add_airport(APT_KIND_AIRPORT, 34.5, -117.5, 300.0f, 3000.0f, 45.0f);
    read(t);
    ASSERT_TRUE(recorded_alerts.empty());

    const terrain_vertex p = local(34.5, -117.5, 300.0);
    int ci = 0, cj = 0;
    TERRAIN_height_at(p.x, p.z, nullptr, nullptr, nullptr, &ci, &cj, 0, "test");
    int flagged = 0;
    for (int i = ci - 12; i <= ci + 12; ++i)
        for (int j = cj - 12; j <= cj + 12; ++j) {
            if (!terrain_airport_cell[TERRAIN_index(i, j)]) continue;
            ++flagged;
            EXPECT_LE(std::abs(i - ci), 8);   // k = 3000 / 400 = 7, one more below
            for (auto [di, dj] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}}) {
                EXPECT_NEAR(elevation_of(i + di, j + dj), 300.0f, 0.01f);
                EXPECT_EQ(landuse_grid[TERRAIN_index(i + di, j + dj)], 84);
            }
        }
    EXPECT_TRUE(terrain_airport_cell[TERRAIN_index(ci, cj)]);
    EXPECT_GE(flagged, 5);
    EXPECT_NEAR(elevation_of(ci + 20, cj), 200.0f + 0.5f * (ci + 20 - ROW0), 0.01f);

    // A runway 20 km wide overlaps every cell it may reach: k = 7 cells about
    // the runway's cell, one more below, and no farther.
    use_area(EARTH);
    local_airport_last = -1;
    airport_table.clear();
    add_airport(APT_KIND_AIRPORT, 34.5, -117.5, 300.0f, 3000.0f, 20000.0f);
    read(t);
    int lo_i = 999, hi_i = 0, lo_j = 999, hi_j = 0;
    for (int i = ci - 12; i <= ci + 12; ++i)
        for (int j = cj - 12; j <= cj + 12; ++j)
            if (terrain_airport_cell[TERRAIN_index(i, j)]) {
                lo_i = std::min(lo_i, i), hi_i = std::max(hi_i, i);
                lo_j = std::min(lo_j, j), hi_j = std::max(hi_j, j);
            }
    EXPECT_EQ(std::vector<int>({lo_i, hi_i, lo_j, hi_j}), std::vector<int>({ci - 8, ci + 7, cj - 8, cj + 7}));

    // A heliport more than 25 m above the ground gets a raised pad and leaves
    // the ground; at 25 m or less it flattens it.
    for (float above : {30.0f, 26.0f, 24.0f, 20.0f}) {
        use_area(EARTH);
        local_airport_last = -1;
        airport_table.clear();
        add_airport(APT_KIND_HELIPORT, 34.5, -117.5, 100.0f + above, 30.0f, 30.0f);
        read(flat_tile(EARTH, SOUTH, WEST, 100.0, 10));
        const terrain_vertex q = local(34.5, -117.5);
        int hi = 0, hj = 0;
        TERRAIN_height_at(q.x, q.z, nullptr, nullptr, nullptr, &hi, &hj, 0, "test");
        EXPECT_FALSE(terrain_airport_cell[TERRAIN_index(hi, hj)]);
        if (above > 25.0f) {
            // The pad's size is its exact height: its record is named by tenths of a metre.
            ASSERT_EQ(placement_list.size(), 1u);
            const scenery_object_record& pad = object_table[static_cast<size_t>(placement_list[0].object)];
            EXPECT_EQ(std::string(pad.name).rfind(OBJ_HELIPAD_NAME, 0), 0u);
            EXPECT_NEAR(std::stof(std::string(pad.name).substr(std::strlen(OBJ_HELIPAD_NAME))), 10.0f * above, 1.0f);
            EXPECT_EQ(pad.object_class, OBJ_CLASS_HARD_ROOF);
            EXPECT_NEAR(elevation_of(hi, hj), 100.0f, 0.01f);
        } else {
            EXPECT_TRUE(placement_list.empty());
            EXPECT_NEAR(elevation_of(hi, hj), 100.0f + above, 0.01f);
        }
    }
}

TEST_F(EnvBuild, TheFirstListedPackageWins)
{
    tiles_write(tmp, EARTH, flat_tile(EARTH, SOUTH, WEST, 111.0, 10), "Alpha");
    tiles_write(tmp, EARTH, flat_tile(EARTH, SOUTH, WEST, 222.0, 10), "Beta");
    read(flat_tile(EARTH, SOUTH, WEST, 333.0, 10));
    EXPECT_NEAR(elevation_of(ROW0 + 5, COL0 + 5), 111.0f, 0.01f);
    EXPECT_NE(std::string(custom_scenery_folder).find("Alpha"), std::string::npos);

    std::filesystem::remove_all(tmp.path() / "Custom Scenery" / "Alpha");
    tiles_read(SOUTH, WEST);
    EXPECT_NEAR(elevation_of(ROW0 + 5, COL0 + 5), 222.0f, 0.01f);
    std::filesystem::remove_all(tmp.path() / "Custom Scenery");
    tiles_read(SOUTH, WEST);
    EXPECT_NEAR(elevation_of(ROW0 + 5, COL0 + 5), 333.0f, 0.01f);
    EXPECT_STREQ(custom_scenery_folder, "");
}

TEST_F(EnvBuild, AFoldedPointIsNudgedABoundedWayAndPlainCornersComeBack)
{
    env::tile t = flat_tile(EARTH, SOUTH, WEST, 100.0, 10);
    for (env::grid_point& g : t.grid) g.landuse_word = env::landuse_word(1, 1, 1, 4, 10);
    t.at(10, 10).lon = t.at(4, 10).lon;   // folded far west over its neighbours
    read(t);
    ASSERT_TRUE(recorded_alerts.empty());
    const terrain_vertex folded = local(t.at(4, 10).lat, t.at(4, 10).lon);
    const float moved = terrain_vertex_grid[TERRAIN_index(ROW0 + 10, COL0 + 10)].x - folded.x;
    EXPECT_GT(moved, 0.0f);
    EXPECT_LE(moved, 2000.0f);   // at most 100 nudges of 10 m for each of the two lines
    // The point before it (row 9) lies on the near side of the line from the
    // folded point to its own column + 1 neighbour for good: it takes the
    // bound of 100 nudges of (-10, +10).
    const terrain_vertex row9 = local(t.at(9, 10).lat, t.at(9, 10).lon, 100.0);
    const terrain_vertex& pushed = terrain_vertex_grid[TERRAIN_index(ROW0 + 9, COL0 + 10)];
    EXPECT_NEAR(pushed.x - row9.x, -1000.0f, 10.0f);
    EXPECT_NEAR(pushed.z - row9.z, 1000.0f, 10.0f);
    EXPECT_EQ(terrain_cell_tex[TERRAIN_index(ROW0 + 3, COL0 + 3)][0], 0.5f);

    TERRAIN_reset();
    for (env::grid_point& g : t.grid) g.landuse_word = env::landuse_word(1, 1, 1, 0, 10);   // rotation 0
    read(t);
    const float* c = terrain_cell_tex[TERRAIN_index(ROW0 + 3, COL0 + 3)];
    EXPECT_EQ(std::vector<float>(c, c + 8), (std::vector<float>{0, 0, 0, 1, 1, 1, 1, 0}));
}
