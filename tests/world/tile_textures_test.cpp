// The ground textures of the loaded tiles, on the offscreen context: layer
// stacks of mixed cells, border masks cut out of their images, reloading
// only what changed, region folders, custom textures of the tiles.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/geo.h"
#include "core/screen.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_tex.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/terrain_support.h"
#include "tests/world/tile_test_util.h"
#include "world/env_tile.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

namespace {

constexpr int S = 8;   // mask size: images of 16 x 16 (16 x 8 for "_C4")
const std::string REGION = "Resources/bitmaps/terrain/-90+90 -180+180/";

// A 24-bit BMP whose grey value at (row from the bottom, column) is v(row, column).
template <class F>
std::string bmp(int width, int height, F v)
{
    uint8_t header[BMP_HEADER_SIZE];
    BMP_make_header(header, width, height);
    std::string out(reinterpret_cast<char*>(header), BMP_HEADER_SIZE);
    std::string row(BMP_row_bytes(width), '\0');
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) row[3 * c] = row[3 * c + 1] = row[3 * c + 2] = static_cast<char>(v(r, c));
        out += row;
    }
    return out;
}

// The texel of mask k (0..13) at (row, column).
int mask_value(int k, int r, int c) { return 8 + 16 * k + (r + c) % 8; }

class TileTextures : public area_test {
protected:
    void SetUp() override
    {
        area_test::SetUp();
        if (IsSkipped()) return;
        screen.rendering_res = 5;
        TERRAIN_reset_textures();
        // Textures 0 and 1 are water (codes 14, 15); code c is texture c for 2..9.
        LANDUSE_clear();
        landuse_texture_count = 10;
        for (int t = 0; t < 10; ++t) {
            std::snprintf(landuse_texture_name[t], TEXT_SIZE, "terrain:-90+90 -180+180:T%d0_000", t);
            if (t >= 2) landuse_code_texture[t] = t;
        }
        landuse_code_texture[14] = 0;
        landuse_code_texture[15] = 1;
        landuse_texture_water[0] = landuse_texture_water[1] = 1;
        for (int t = 2; t < 10; ++t) write_texture(t);
        TEST_lay_flat_grid(0.0f);
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), 3);
    }
    void TearDown() override { LANDUSE_clear(); }

    void write_texture(int t)
    {
        const std::string name = REGION + "T" + std::to_string(t) + "0_000";
        tmp.write(name + ".BMP", bmp(16, 16, [](int, int) { return 128; }));
        // Quadrants 0..3: columns 0..S-1 rows 0..S-1, rows S..2S-1, then columns S..2S-1 rows S..2S-1, rows 0..S-1.
        const char* images[3] = {"_C3", "_C2", "_C1"};
        for (int m = 0; m < 3; ++m)
            tmp.write(name + images[m] + ".BMP", bmp(2 * S, 2 * S, [m](int r, int c) {
                          const int q = c < S ? (r < S ? 0 : 1) : (r < S ? 3 : 2);
                          return mask_value(4 * m + q, r % S, c % S);
                      }));
        tmp.write(name + "_C4.BMP", bmp(2 * S, S, [](int r, int c) { return mask_value(c < S ? 12 : 13, r, c % S); }));
    }
    static void corners(int i, int j, int c0, int c1, int c2, int c3)
    {
        landuse_grid[TERRAIN_index(i, j)] = c0;
        landuse_grid[TERRAIN_index(i, j + 1)] = c1;
        landuse_grid[TERRAIN_index(i + 1, j + 1)] = c2;
        landuse_grid[TERRAIN_index(i + 1, j)] = c3;
    }
    static std::vector<int> slots(int i, int j)
    {
        const int32_t* s = terrain_cell_layer_slot[TERRAIN_index(i, j)];
        return {s[0], s[1], s[2], s[3]};
    }
};

}  // namespace

TEST_F(TileTextures, MixedCellsGetLayerStacksAndTheMasksLandByteForByte)
{
    corners(10, 10, 3, 3, 7, 7);
    corners(20, 20, 5, 9, 5, 9);
    corners(30, 30, 5, 9, 5, 9);
    terrain_cell_split[TERRAIN_index(30, 30)] = 2;
    corners(40, 40, 2, 4, 6, 8);
    corners(50, 50, 14, 14, 15, 15);   // water over water: the overlay goes
    corners(60, 60, 1000, 3, 3, 2);    // a custom code: not layered
    // The base on the c0-c2 diagonal: texture 6 on c1 and c3 is split into its
    // corner masks (8 and 6); a cell split 3 then draws layer 1 with the
    // diagonal mask 13 after all, a cell split 5 keeps the corner mask.
    corners(70, 70, 2, 6, 2, 6);
    terrain_cell_split[TERRAIN_index(70, 70)] = 5;
    corners(80, 80, 2, 6, 2, 6);
    terrain_cell_split[TERRAIN_index(80, 80)] = 3;
    // The base on the c1-c3 diagonal: texture 6 on c0 and c2 split into its
    // corner masks (7 and 5); split 3 draws layer 1 with the diagonal mask 14,
    // split 6 keeps the corner mask.
    corners(84, 84, 6, 2, 6, 2);
    terrain_cell_split[TERRAIN_index(84, 84)] = 6;
    corners(88, 88, 6, 2, 6, 2);
    terrain_cell_split[TERRAIN_index(88, 88)] = 3;
    corners(92, 92, 97, 3, 3, 2);   // the first code past the land-use table: not layered
    terrain_cell_tex[TERRAIN_index(10, 10)][0] = 0.5f;
    TERRAIN_load_tile_textures();
    ASSERT_TRUE(recorded_alerts.empty()) << recorded_alerts[0].lines[0] << " " << recorded_alerts[0].lines[2];

    EXPECT_EQ(slots(10, 10), (std::vector<int>{3, 4101, 9999, 9999}));
    EXPECT_EQ(terrain_cell_layer_texture[TERRAIN_index(10, 10)][1], 7);
    EXPECT_EQ(terrain_point_texture[TERRAIN_index(10, 10)], TERRAIN_LAYERED);
    const float* st = terrain_cell_tex[TERRAIN_index(10, 10)];
    EXPECT_EQ(std::vector<float>(st, st + 8), (std::vector<float>{0, 0, 0, 1, 1, 1, 1, 0}));
    EXPECT_EQ(slots(20, 20), (std::vector<int>{5, 4133, 4131, 9999}));
    EXPECT_EQ(slots(30, 30), (std::vector<int>{5, 4138, 9999, 9999}));
    EXPECT_EQ(slots(40, 40), (std::vector<int>{2, 14 * 4 + 3999 + 8, 14 * 6 + 3999 + 5, 14 * 8 + 3999 + 6}));
    EXPECT_EQ(slots(50, 50), (std::vector<int>{0, 9999, 9999, 9999}));
    EXPECT_EQ(terrain_point_texture[TERRAIN_index(50, 50)], 0);
    EXPECT_EQ(terrain_point_texture[TERRAIN_index(60, 60)], 1000);
    EXPECT_EQ(slots(70, 70), (std::vector<int>{2, 14 * 6 + 3999 + 8, 14 * 6 + 3999 + 6, 9999}));
    EXPECT_EQ(slots(80, 80), (std::vector<int>{2, 14 * 6 + 3999 + 13, 14 * 6 + 3999 + 6, 9999}));
    EXPECT_EQ(slots(84, 84), (std::vector<int>{2, 14 * 6 + 3999 + 7, 14 * 6 + 3999 + 5, 9999}));
    EXPECT_EQ(slots(88, 88), (std::vector<int>{2, 14 * 6 + 3999 + 14, 14 * 6 + 3999 + 5, 9999}));
    EXPECT_EQ(terrain_point_texture[TERRAIN_index(92, 92)], 97);
    EXPECT_EQ(terrain_point_texture[TERRAIN_index(100, 100)], 3);
    const float* up = terrain_point_normal[TERRAIN_index(100, 100)];
    EXPECT_EQ(std::vector<float>(up, up + 3), (std::vector<float>{0.0f, 1.0f, 0.0f}));
    EXPECT_FLOAT_EQ(terrain_texture_aspect[3], 1.0f);

    // Every mask of texture 7 holds its quadrant, row 0 the image's bottom row.
    OGL_pixel_rows_guard rows(true);
    for (int k = 0; k < 14; ++k) {
        glBindTexture(GL_TEXTURE_2D, 4000 + 14 * 7 + k);
        std::vector<uint8_t> alpha(S * S);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        for (int r = 0; r < S; ++r)
            for (int c = 0; c < S; ++c) ASSERT_EQ(alpha[r * S + c], mask_value(k, r, c)) << k << " " << r << "," << c;
    }
    OGL_reset_bound_textures();
}

// Every corner set has its border code; a diagonal overlay is kept whole by
// the cell's split, or on an unsplit cell when more than half of the nine
// points around it are water; a point's normal takes its height steps four
// times over.
TEST_F(TileTextures, BorderCodesDiagonalsOverWaterAndSteepenedNormals)
{
    // Corners c0..c3 carrying the overlay (bits 1, 2, 4, 8) and their code.
    const int sets[][2] = {{9, 1}, {3, 2},   {6, 3},   {12, 4},  {4, 5},  {8, 6},  {1, 7},
                           {2, 8}, {11, 9}, {7, 10}, {14, 11}, {13, 12}, {10, 13}, {5, 14}};
    for (const auto& s : sets) {
        const auto t = [&](int bit) { return (s[0] & bit) ? 9 : 5; };
        EXPECT_EQ(TERRAIN_border_code(t(1), t(2), t(4), t(8), 9), s[1]) << s[0];
    }

    // Split 2 or 6 keeps code 13, 1 or 5 keeps 14; 3 splits either.
    const int i = 100, j = 100;
    for (auto [split, code, kept] : {std::tuple{2, 13, true}, {6, 13, true}, {1, 14, true}, {5, 14, true},
                                     {1, 13, false}, {3, 13, false}, {3, 12, false}}) {
        terrain_cell_split[TERRAIN_index(i, j)] = split;
        EXPECT_EQ(TERRAIN_keep_diagonal(i, j, code), kept) << split << " " << code;
    }
    for (int split : {0, 4}) {
        terrain_cell_split[TERRAIN_index(i, j)] = split;
        int water = 0;
        for (int r = i - 1; r <= i + 1; ++r)
            for (int c = j - 1; c <= j + 1; ++c) {
                landuse_grid[TERRAIN_index(r, c)] = water < 4 ? 14 : 3;
                ++water;
            }
        EXPECT_FALSE(TERRAIN_keep_diagonal(i, j, 13));   // four of nine
        landuse_grid[TERRAIN_index(i + 1, j + 1)] = 15;
        EXPECT_TRUE(TERRAIN_keep_diagonal(i, j, 14));    // five of nine
    }
    terrain_cell_split[TERRAIN_index(i, j)] = 0;

    // A point 10 m below its next row: the rise counts as 40 m.
    terrain_vertex& p = terrain_vertex_grid[TERRAIN_index(i, j)];
    const terrain_vertex& n = terrain_vertex_grid[TERRAIN_index(i + 1, j)];
    const terrain_vertex& m = terrain_vertex_grid[TERRAIN_index(i, j + 1)];
    p.y = n.y - 10.0f;
    const float a[3] = {n.x - p.x, 40.0f, n.z - p.z};
    const float b[3] = {m.x - p.x, (m.y - p.y) * 4.0f, m.z - p.z};
    float expected[3];
    UTIL_cross_normalize(a, b, expected);
    TERRAIN_load_tile_textures();
    const float* normal = terrain_point_normal[TERRAIN_index(i, j)];
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(normal[k], expected[k], 1e-5f) << k;
    EXPECT_LT(expected[1], 0.9f);   // steep enough that a factor other than 4 shows
}

TEST_F(TileTextures, ASecondCallLoadsNothingUnlessTheResolutionChanged)
{
    TERRAIN_load_tile_textures();
    ASSERT_TRUE(recorded_alerts.empty());
    for (const auto& e : std::filesystem::directory_iterator(tmp.path() / REGION)) std::filesystem::remove(e.path());
    TERRAIN_load_tile_textures();
    EXPECT_TRUE(recorded_alerts.empty());
    screen.rendering_res = 4;
    const alert_record a = expect_fatal([] { TERRAIN_load_tile_textures(); });
    EXPECT_NE(a.lines[2].find("T30_000.BMP"), std::string::npos);
}

TEST_F(TileTextures, TheSmallestRegionAroundThePlaceWinsAndMasksMustHaveTheirSize)
{
    tmp.write("Resources/bitmaps/terrain/+30+50 -130-060/T30_000.BMP", "");
    tmp.write("Resources/bitmaps/terrain/+40+60 -130-060/T30_000.BMP", "");   // as large, listed later: loses
    char base[TEXT_SIZE] = {};
    char variants[4][TEXT_SIZE] = {};
    TERRAIN_find_texture_file(3, base, variants, 40.0f, -100.0f);
    EXPECT_STREQ(base, "terrain:+30+50 -130-060\\T30_000.BMP");
    TERRAIN_find_texture_file(3, base, variants, 40.0f, -140.0f);
    EXPECT_STREQ(base, "terrain:-90+90 -180+180\\T30_000.BMP");
    EXPECT_STREQ(variants[1], "terrain:-90+90 -180+180\\T30_000_C2.BMP");

    // The plane outside the smaller region: its textures come from the world's.
    flt[0].latitude = 40.0f;
    flt[0].longitude = -140.0f;
    tmp.write(REGION + "T30_000_C3.BMP", bmp(16, 8, [](int, int) { return 200; }));
    const alert_record a = expect_fatal([] { TERRAIN_load_tile_textures(); });
    EXPECT_NE(a.lines[2].find("T30_000_C3.BMP"), std::string::npos);
}

TEST_F(TileTextures, CustomTexturesOfTheTilesShareTheirSlots)
{
    tiles_use_area(tmp, 0, 33.0f, -119.0f);   // the area's own grid and bounds
    ENV_clear_custom_textures();
    env::tile t = flat_tile(0, 34, -118, 100.0, 10);
    t.at(10, 10).landuse_word = env::landuse_word(0, 0, 0, 4, 1000);
    t.at(20, 20).landuse_word = env::landuse_word(0, 0, 0, 4, 1001);
    t.at(30, 30).landuse_word = env::landuse_word(0, 0, 0, 4, 1002);
    t.textures = {"field", "field", "rock"};
    tiles_write(tmp, 0, t);
    tiles_read(34, -118);
    ASSERT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(landuse_grid[TERRAIN_index(150 + 10, 200 + 10)], 1000);
    EXPECT_EQ(landuse_grid[TERRAIN_index(150 + 20, 200 + 20)], 1000);
    EXPECT_EQ(landuse_grid[TERRAIN_index(150 + 30, 200 + 30)], 1001);
    EXPECT_STREQ(ENV_custom_texture_name(1), "rock");
    EXPECT_GT(texture_memory[1001], 0);

    // The next tile's "rock" takes the slot the table holds.
    env::tile u = flat_tile(0, 34, -117, 100.0, 10);
    u.at(5, 5).landuse_word = env::landuse_word(0, 0, 0, 4, 1000);
    u.textures = {"rock"};
    tiles_write(tmp, 0, u);
    tiles_read(34, -117);
    EXPECT_EQ(landuse_grid[TERRAIN_index(300 + 5, 200 + 5)], 1001);
    EXPECT_STREQ(ENV_custom_texture_name(0), "field");
}

TEST_F(TileTextures, TheDefaultMasksAreOpaqueAtTheirCodesCorners)
{
    // The data folder's land-use table and the images drawn for it.
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    LANDUSE_read_table();
    ASSERT_TRUE(recorded_alerts.empty());
    const int farmland = UTIL_landuse_texture(4);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 4);
    TERRAIN_load_tile_textures();
    ASSERT_TRUE(recorded_alerts.empty());

    // Corners c0..c3 of each border code (c0 at s 0, t 0; c1 at s 0, t 1; c2 at 1, 1; c3 at 1, 0).
    const std::vector<int> corners_of[15] = {{},     {0, 3},    {0, 1},    {1, 2},    {2, 3},
                                             {2},    {3},       {0},       {1},       {0, 1, 3},
                                             {0, 1, 2}, {1, 2, 3}, {0, 2, 3}, {1, 3}, {0, 2}};
    OGL_pixel_rows_guard rows(true);
    for (int code = 1; code <= 14; ++code) {
        glBindTexture(GL_TEXTURE_2D, 3999 + 14 * farmland + code);
        int size = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size);
        ASSERT_GT(size, 1);
        std::vector<uint8_t> alpha(static_cast<size_t>(size * size));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        const int last = size - 1;
        const int at[4] = {alpha[0], alpha[static_cast<size_t>(last * size)], alpha[static_cast<size_t>(last * size + last)],
                           alpha[static_cast<size_t>(last)]};   // row t, column s
        for (int c = 0; c < 4; ++c) {
            const bool carries = std::count(corners_of[code].begin(), corners_of[code].end(), c) > 0;
            if (carries)
                EXPECT_GT(at[c], 200) << "code " << code << " corner " << c;
            else
                EXPECT_LT(at[c], 55) << "code " << code << " corner " << c;
        }
    }
    OGL_reset_bound_textures();
}
