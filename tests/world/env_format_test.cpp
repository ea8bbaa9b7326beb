// The ENV tile format through the reader: a tile made byte by byte, the
// writer's versions and byte orders, the old land-use types, refused land
// uses and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/alert.h"
#include "core/geo.h"
#include "core/text_util.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/machine.h"
#include "tests/world/tile_test_util.h"
#include "tools/env/world_gen.h"
#include "world/env_tile.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/segments.h"
#include "world/terrain_grid.h"

namespace {

constexpr int MARS = 1;
constexpr int SOUTH = -7, WEST = 134;   // the Mars area's south-west tile
constexpr int N = 64;                   // grid steps of a Mars tile each way

struct byte_writer {
    std::string bytes;
    void u8(int v) { bytes.push_back(static_cast<char>(v)); }
    void i32(int32_t v)
    {
        for (int k = 0; k < 4; ++k) u8(static_cast<int>((static_cast<uint32_t>(v) >> (8 * k)) & 0xff));
    }
    void f32(float v)
    {
        int32_t bits;
        std::memcpy(&bits, &v, 4);
        i32(bits);
    }
    void name(const std::string& s)
    {
        std::string field(150, '\0');
        field.replace(0, s.size(), s);
        bytes += field;
    }
};

float elevation_of(const terrain_vertex& v)
{
    float lat, lon, elev;
    GEO_local_to_latlon(lat, lon, elev, v.x, v.y, v.z);
    return elev;
}

int count_points(int kind)
{
    int n = 0;
    for (const terrain_point_lists& l : terrain_lists) n += static_cast<int>(l.seg[kind].size());
    return n;
}

class EnvFormat : public ::testing::Test {
protected:
    temp_folder tmp;
    void SetUp() override
    {
        tiles_use_area(tmp, MARS, SOUTH, WEST);
        OBJ_clear_table();
    }
    // A Mars tile of the world generator with one chain in every section.
    env::tile chained_tile(int32_t version, char order)
    {
        env::tile t = envgen::world(MARS, {}).build_tile(SOUTH, WEST);
        t.version = version;
        t.order = order;
        for (auto& s : t.sections) s = {{{-6.5, 134.2}, {-6.5, 134.6}}};
        return t;
    }
};

// Reads the area's south-west tile, which must be refused (and left out) with
// exactly one notice; returns that notice.
alert_record tile_notice()
{
    clear_alerts();
    tiles_read(SOUTH, WEST);
    EXPECT_EQ(recorded_alerts.size(), 1u);
    const alert_record a = recorded_alerts.empty() ? alert_record{} : recorded_alerts[0];
    EXPECT_EQ(a.code, ALERT_NOTICE);
    return a;
}

}  // namespace

TEST_F(EnvFormat, TileMadeByteByByteReadsBack)
{
    byte_writer w;
    w.u8('i');
    w.i32(650);
    for (int j = 0; j <= N; ++j)
        for (int i = 0; i <= N; ++i) {
            int32_t code = static_cast<int32_t>(std::lround(j / 64.0 * 9999)) * 10000 +
                           static_cast<int32_t>(std::lround(i / 64.0 * 9999));
            if (i == N && j == 0) code = -1;   // -1 + 10000: q 0, r 9999
            const int elevation = 10000 + 3 * i + j;
            w.i32(code);
            w.u8(elevation >> 8);
            w.u8(elevation & 0xff);
            const int rotation = (i == j && i >= 4 && i <= 7) ? i - 4 : 4;   // (4,4) 0 .. (7,7) 3
            w.i32(123000000 + rotation * 100000 + 20 + (i + j) % 10);   // a 1, b 2, c 3
        }
    w.i32(3), w.f32(-6.5f), w.f32(134.5f), w.f32(100.0f);   // radio tower
    w.i32(1), w.f32(-6.4f), w.f32(134.4f), w.f32(50.0f);    // skipped
    w.i32(8), w.f32(-6.3f), w.f32(134.3f), w.f32(90.0f);    // a name that fills its field
    w.bytes += std::string(150, 'a');
    w.i32(99);
    w.i32(1000 + 2000), w.i32(-12345), w.i32(99);           // section 0: one chain of two points
    for (int k = 1; k <= 3; ++k) w.i32(99);
    w.f32(-6.9f), w.f32(134.1f), w.u8('c');                  // section 4
    w.f32(-6.9f), w.f32(134.3f), w.u8('e');
    w.f32(-6.9f), w.f32(134.5f), w.u8('c');                  // starts a chain that never ends
    w.f32(-6.0f), w.f32(135.5f), w.u8('g');                  // ends the section, adds nothing
    w.i32(99);
    w.name("UNTITLED");                                       // and the file ends: the other names are empty
    // In a package, with the custom object's file of its 149-character name.
    tiles_write(tmp, MARS, SOUTH, WEST, w.bytes, "P");
    tmp.write("Custom Scenery/P/custom objects/" + std::string(149, 'a') + ".obj", "I\n2 version\nNONE // no texture\n99\n");
    tiles_read(SOUTH, WEST);
    ASSERT_TRUE(recorded_alerts.empty()) << recorded_alerts[0].lines[0];

    for (int i = 0; i <= N; i += 8)
        for (int j = 0; j <= N; j += 8) {
            const int k = TERRAIN_index(i, j);
            EXPECT_NEAR(elevation_of(terrain_vertex_grid[k]), 3 * i + j, 0.02f) << i << "," << j;
            EXPECT_EQ(landuse_grid[k], 20 + (i + j) % 10);
            EXPECT_EQ(terrain_texture_code[k], 123);
        }
    // Each rotation's hundred-thousands come off before the land-use type.
    for (int i = 4; i <= 7; ++i) EXPECT_EQ(landuse_grid[TERRAIN_index(i, i)], 20 + (2 * i) % 10) << i;
    // Rotation 4 with a 1, b 2, c 3 puts the corners at (a, b)..(a + 1, b) quarters; rotation 1 turns them.
    const float* r4 = terrain_cell_tex[TERRAIN_index(1, 1)];
    EXPECT_EQ(std::vector<float>(r4, r4 + 8), (std::vector<float>{0.25f, 0.5f, 0.25f, 0.75f, 0.5f, 0.75f, 0.5f, 0.5f}));
    const float* r1 = terrain_cell_tex[TERRAIN_index(5, 5)];
    EXPECT_EQ(std::vector<float>(r1, r1 + 8), (std::vector<float>{0.5f, 0.75f, 0.75f, 0.75f, 0.75f, 0.5f, 0.5f, 0.5f}));
    const float* r2 = terrain_cell_tex[TERRAIN_index(6, 6)];   // (c-a+1, c-b+1) (c-a+1, c-b) (c-a, c-b) (c-a, c-b+1)
    EXPECT_EQ(std::vector<float>(r2, r2 + 8), (std::vector<float>{0.75f, 0.5f, 0.75f, 0.25f, 0.5f, 0.25f, 0.5f, 0.5f}));
    const float* r3 = terrain_cell_tex[TERRAIN_index(7, 7)];   // (c-b+1, a) (c-b, a) (c-b, a+1) (c-b+1, a+1)
    EXPECT_EQ(std::vector<float>(r3, r3 + 8), (std::vector<float>{0.5f, 0.25f, 0.25f, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f}));

    // Code -1 is the tile's south-east corner.
    double lat, lon;
    ENV_decode_coord(-1, lat, lon, SOUTH, WEST);
    EXPECT_EQ(lat, SOUTH);
    EXPECT_EQ(lon, WEST + 1.0);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat, lon, 3 * N);
    EXPECT_EQ(terrain_vertex_grid[TERRAIN_index(N, 0)].x, x);

    // The radio tower (the skipped type 1 places nothing) and the custom object, its name ended at byte 149.
    ASSERT_EQ(placement_list.size(), 2u);
    EXPECT_STREQ(object_table[static_cast<size_t>(placement_list[0].object)].name, "radio tower3");
    const std::string custom = object_table[static_cast<size_t>(placement_list[1].object)].name;
    EXPECT_TRUE(custom.ends_with("custom objects:" + std::string(149, 'a') + ".obj")) << custom;

    // -12345 ends the chain at q 1, r 2345 (placed at the height of its grid point).
    ENV_decode_coord(12345, lat, lon, SOUTH, WEST);
    EXPECT_NEAR(lat, SOUTH + 1 / 9999.0, 1e-12);
    EXPECT_NEAR(lon, WEST + 2345 / 9999.0, 1e-12);
    GEO_latlon_to_local(x, y, z, lat, lon, terrain_vertex_grid[TERRAIN_index(15, 0)].y);
    bool chain_end_found = false;
    for (const terrain_point_lists& l : terrain_lists)
        for (const segment_point& p : l.seg[0])
            if (p.span_flag == SEG_END && std::hypot(p.x + p.edge_x - 2 * x, p.z + p.edge_z - 2 * z) < 1.0f)
                chain_end_found = true;
    EXPECT_TRUE(chain_end_found);
    EXPECT_GT(count_points(4), 0);
    // The 'e' point ends its chain: nothing joins it to the point after it.
    float x3, x5;
    GEO_latlon_to_local(x3, y, z, -6.9, 134.3, 0.0);
    GEO_latlon_to_local(x5, y, z, -6.9, 134.5, 0.0);
    for (const terrain_point_lists& l : terrain_lists)
        for (const segment_point& p : l.seg[4]) EXPECT_LT(std::fabs(p.x - x3), std::fabs(p.x - x5));
    for (int k : {1, 2, 3, 5}) EXPECT_EQ(count_points(k), 0) << k;
}

TEST_F(EnvFormat, BothByteOrdersReadIntoTheSameGridAndEachVersionItsSections)
{
    const env::tile t = chained_tile(650, 'i');
    std::vector<terrain_vertex> grid_i;
    for (char order : {'i', 'a'}) {
        tiles_use_area(tmp, MARS, SOUTH, WEST);
        env::tile o = t;
        o.order = order;
        tiles_write(tmp, MARS, o);
        tiles_read(SOUTH, WEST);
        ASSERT_TRUE(recorded_alerts.empty());
        std::vector<terrain_vertex> grid;
        for (int i = 0; i <= N; ++i)
            for (int j = 0; j <= N; ++j) {
                const env::grid_point& g = t.at(i, j);
                double lat, lon;
                ENV_decode_coord(env::pack_point(g.lat, g.lon, SOUTH, WEST), lat, lon, SOUTH, WEST);
                float x, y, z;
                GEO_latlon_to_local(x, y, z, lat, lon, static_cast<double>(std::lround(g.elevation_m)));
                const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
                ASSERT_TRUE(v.x == x && v.y == y && v.z == z) << order << " " << i << "," << j;
                grid.push_back(v);
            }
        if (order == 'i') grid_i = grid;
        else EXPECT_EQ(std::memcmp(grid.data(), grid_i.data(), grid.size() * sizeof(terrain_vertex)), 0);
    }

    // 61 carries sections 0..3, 631 0..4, 650 all six; 6 none.
    const std::pair<int32_t, int> versions[] = {{6, 0}, {61, 4}, {631, 5}, {650, 6}};
    for (auto [version, sections] : versions) {
        tiles_use_area(tmp, MARS, SOUTH, WEST);
        env::tile o = chained_tile(version, 'a');
        if (version == 6)
            for (env::grid_point& g : o.grid) g.landuse_word = env::landuse_word_v6(0, 0, 0, 4, 0);
        tiles_write(tmp, MARS, o);
        tiles_read(SOUTH, WEST);
        ASSERT_TRUE(recorded_alerts.empty()) << version;
        for (int k = 0; k < 6; ++k) EXPECT_EQ(count_points(k) > 0, k < sections) << version << " section " << k;
    }
}

TEST_F(EnvFormat, OldLandUseTypesTranslateAndBadTypesAreRefused)
{
    // Version 6: old types 0..15 by the table; 16..1999 end the program. The
    // words' old 200,000 and 100,000 flags come off before the rotation.
    const int translated[16] = {7, 3, 15, 1, 1, 1, 19, 3, 3, 3, 7, 7, 7, 1, 1, 1};
    env::tile t = chained_tile(6, 'i');
    for (int i = 0; i <= N; ++i)
        for (int j = 0; j <= N; ++j)
            t.at(i, j).landuse_word = env::landuse_word_v6(0, 0, 0, j % 5, (i + j) % 16) + (i % 4) * 100000;
    tiles_write(tmp, MARS, t);
    tiles_read(SOUTH, WEST);
    ASSERT_TRUE(recorded_alerts.empty());
    for (int i = 0; i <= N; i += 3)
        for (int j = 0; j <= N; j += 5) EXPECT_EQ(landuse_grid[TERRAIN_index(i, j)], translated[(i + j) % 16]);

    for (int32_t old : {16, 1999}) {
        t.at(7, 9).landuse_word = env::landuse_word_v6(0, 0, 0, 0, old);
        tiles_write(tmp, MARS, t);
        const alert_record a = tile_notice();
        EXPECT_EQ(a.lines[0], "Bad land-use type!");
        EXPECT_NE(a.lines[3].find("-07+134.env"), std::string::npos);
    }

    // Newer versions: types 97..999, negative words and textures the tile does not name are refused by name.
    for (int32_t word : {env::landuse_word(0, 0, 0, 4, 97), env::landuse_word(0, 0, 0, 4, 999), -5,
                         env::landuse_word(0, 0, 0, 4, 1500), env::landuse_word(0, 0, 0, 4, 1003)}) {
        env::tile o = chained_tile(650, 'i');
        o.textures = {"ground one", "", "UNTITLED"};   // 1000 names one; 1001, 1002 and 1003 name none
        o.at(20, 20).landuse_word = word;
        tiles_write(tmp, MARS, o);
        const alert_record a = tile_notice();
        EXPECT_NE(a.lines[3].find("-07+134.env"), std::string::npos) << word;
    }
}

TEST_F(EnvFormat, GridPointsMayStrayAThousandthOfADegreeOutsideTheirTile)
{
    const struct {
        double lat, lon;
        bool ok;
    } cases[] = {
        {SOUTH - 0.0009, WEST + 0.5, true},  {SOUTH + 0.5, WEST + 1.0009, true},
        {SOUTH - 0.002, WEST + 0.5, false},  {SOUTH + 0.5, WEST + 1.002, false},
    };
    for (const auto& c : cases) {
        env::tile t = chained_tile(6, 'i');
        for (int i = 0; i <= N; ++i)
            for (int j = 0; j <= N; ++j) t.at(i, j).landuse_word = env::landuse_word_v6(0, 0, 0, 0, 1);
        t.at(10, 10).lat = c.lat;
        t.at(10, 10).lon = c.lon;
        tiles_write(tmp, MARS, t);
        recorded_alerts.clear();
        if (c.ok) {
            tiles_read(SOUTH, WEST);
            EXPECT_TRUE(recorded_alerts.empty()) << c.lat << " " << c.lon;
        } else {
            const alert_record a = tile_notice();
            EXPECT_NE(a.lines[3].find("-07+134.env"), std::string::npos) << c.lat << " " << c.lon;
        }
    }
}

TEST_F(EnvFormat, DamagedFilesStopAtTheirEndAndABadHeaderIsNoTile)
{
    env::tile t = chained_tile(650, 'i');
    t.objects.push_back({3, -6.5f, 134.5f, 100.0f, ""});
    const std::string good = tile_bytes(t);
    const size_t grid_end = 5 + 65 * 65 * 10;
    const size_t objects_end = grid_end + 16 + 4;

    std::vector<std::pair<const char*, size_t>> cuts = {
        {"truncated grid", grid_end / 2},
        {"field past the end", grid_end + 2},             // half of the first object's type
        {"objects without their 99", objects_end - 4},
        {"section 0 without its end", objects_end + 8},   // two codes of the chain, no 99
    };
    // Each read past the end is one notice "Scan too far!" naming the file, a
    // header cut short too; the tile is left out and the flight goes on.
    cuts.push_back({"header cut short", 3});
    for (auto [what, size] : cuts) {
        clear_alerts();
        tiles_write(tmp, MARS, SOUTH, WEST, good.substr(0, size));
        tiles_read(SOUTH, WEST);
        ASSERT_EQ(recorded_alerts.size(), 1u) << what;
        const alert_record a = recorded_alerts[0];
        EXPECT_EQ(a.code, ALERT_NOTICE) << what;
        EXPECT_EQ(a.lines[0], "Scan too far!") << what;
        EXPECT_EQ(a.lines[2], "file:") << what;
        EXPECT_NE(a.lines[3].find("-07+134.env"), std::string::npos) << what << ": " << a.lines[3];
    }

    // A file without a valid header is no tile, an empty one too: it is
    // named once, and the default ground takes its place.
    for (const std::string& header :
         {std::string("x") + good.substr(1), good.substr(0, 1) + "\x01\x02\x03\x04", std::string()}) {
        clear_alerts();
        tiles_use_area(tmp, MARS, SOUTH, WEST);
        tiles_write(tmp, MARS, SOUTH, WEST, header);
        tiles_read(SOUTH, WEST);
        ASSERT_EQ(recorded_alerts.size(), 1u);
        EXPECT_EQ(recorded_alerts[0].lines[0], "This scenery tile is damaged and was left out:");
        EXPECT_NE(recorded_alerts[0].lines[1].find("-07+134.env"), std::string::npos);
        if (header.empty()) EXPECT_EQ(recorded_alerts[0].lines[2], "It is empty.");
        EXPECT_EQ(landuse_grid[TERRAIN_index(10, 10)], LANDUSE_WATER_B);
        EXPECT_EQ(terrain_vertex_grid[TERRAIN_index(10, 10)].x, terrain_sphere_grid[TERRAIN_index(10, 10)].x);
    }
}

TEST_F(EnvFormat, DamagedPackageTilesAreNamedInTheirAlerts)
{
    const std::string good = tile_bytes(chained_tile(650, 'i'));
    tiles_write(tmp, MARS, SOUTH, WEST, good);
    tiles_read(SOUTH, WEST);
    ASSERT_TRUE(recorded_alerts.empty());
    const size_t probe = TERRAIN_index(10, 10);
    const terrain_vertex from_nav_data = terrain_vertex_grid[probe];
    const int32_t landuse_from_nav_data = landuse_grid[probe];

    // Half a tile in a package: the notice "Scan too far!" names the package's
    // file, and the default ground stands where its grid was cut off.
    tiles_use_area(tmp, MARS, SOUTH, WEST);
    tiles_write(tmp, MARS, SOUTH, WEST, good.substr(0, good.size() / 2), "Half pack");
    tiles_read(SOUTH, WEST);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record a = recorded_alerts[0];
    EXPECT_EQ(a.lines[0], "Scan too far!");
    EXPECT_EQ(landuse_grid[probe], LANDUSE_WATER_B);
    EXPECT_NE(a.lines[3].find("Half pack"), std::string::npos) << a.lines[3];
    EXPECT_NE(a.lines[3].find("-07+134.env"), std::string::npos) << a.lines[3];
    std::filesystem::remove_all(tmp.path() / "Custom Scenery" / "Half pack");

    // A tile of random bytes in a package is named once and passed over, and
    // the tile of the navigation data is read in its place.
    clear_alerts();
    tiles_use_area(tmp, MARS, SOUTH, WEST);
    std::mt19937 rng(48);
    std::string noise(good.size(), '\0');
    for (char& c : noise) c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    tiles_write(tmp, MARS, SOUTH, WEST, noise, "Noise pack");
    tiles_read(SOUTH, WEST);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_NE(recorded_alerts[0].lines[1].find("Noise pack"), std::string::npos);
    EXPECT_EQ(custom_scenery_folder[0], 0);
    EXPECT_EQ(landuse_grid[probe], landuse_from_nav_data);
    EXPECT_EQ(std::memcmp(&terrain_vertex_grid[probe], &from_nav_data, sizeof from_nav_data), 0);
}

TEST_F(EnvFormat, RandomDamageIsRefusedOrReadWithinTheFile)
{
    MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
    env::tile t = chained_tile(650, 'i');
    t.objects.push_back({8, -6.5f, 134.5f, 45.0f, "hut"});
    t.textures = {"UNTITLED"};
    const std::string good = tile_bytes(t);
    std::mt19937 rng(22);
    int read = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bad = good;
        if (round % 2 == 0) {
            bad.resize(std::uniform_int_distribution<size_t>(0, good.size() - 1)(rng));
        } else {
            const size_t from = std::uniform_int_distribution<size_t>(5, good.size() - 1)(rng);
            for (size_t k = from; k < std::min(good.size(), from + 12); ++k)
                bad[k] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        }
        tiles_use_area(tmp, MARS, SOUTH, WEST);
        tiles_write(tmp, MARS, SOUTH, WEST, bad);
        clear_alerts();
        tiles_read(SOUTH, WEST);
        if (recorded_alerts.empty()) {
            ++read;
        } else {
            // One notice says what is wrong and names the tile's file.
            ++refused;
            ASSERT_EQ(recorded_alerts.size(), 1u) << round;
            const alert_record& a = recorded_alerts[0];
            EXPECT_EQ(a.code, ALERT_NOTICE) << round;
            EXPECT_FALSE(a.lines[0].empty()) << round;
            EXPECT_NE((a.lines[1] + a.lines[3]).find(".env"), std::string::npos) << round << ": " << a.lines[0];
        }
    }
    // Both outcomes occur: some damage passes the checks and is read within the file.
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 150);
}
