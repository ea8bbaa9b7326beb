#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>
#include <vector>

#include "core/datafile.h"
#include "core/folders.h"
#include "world/landuse.h"
#include "tests/support/test_support.h"
#include "world/terrain_textures.h"

namespace {

constexpr const char* REGION = "-90+90 -180+180";

class LandUse : public ::testing::Test {
protected:
    temp_folder tmp;
    std::string table_path;
    void SetUp() override
    {
        FOLDERS_init_from((tmp.prefix() + "app").c_str());
        file_use_index = 0;
        LANDUSE_clear();
        table_path = tmp.prefix() + "RESOURCES\\BITMAPS\\TERRAIN\\LAND_USE.TXT";
    }
    void TearDown() override { LANDUSE_clear(); }   // the table read here is not the registry's
    // Writes the table (header, five ignored lines, then one row per (code, texture))
    // into a mixed-case tree, with the mask images of every texture named.
    void write_table(const std::vector<std::pair<int, std::string>>& rows, int version = 3)
    {
        std::ostringstream s;
        s << "I\r\n" << version << " version\r\n";
        for (int i = 0; i < 5; ++i) s << "comment line " << i << "\r\n";
        for (auto& [code, texture] : rows) {
            s << "class_" << code << "\t" << code << " \t" << REGION << ":" << texture << "\r\n";
            for (const char* c : {"_C1", "_C2", "_C3", "_C4"})
                tmp.write(std::string("Resources/Bitmaps/Terrain/") + REGION + "/" + texture + "0_000" + c + ".bmp",
                          "");
        }
        tmp.write("Resources/Bitmaps/Terrain/land_use.txt", s.str());
    }
    static std::vector<std::pair<int, std::string>> filled(std::vector<std::pair<int, std::string>> rows)
    {
        while (rows.size() < LANDUSE_ROWS) rows.push_back(rows.back());
        return rows;
    }
};

}  // namespace

TEST_F(LandUse, HandMadeTableMapsCodesToTextures)
{
    EXPECT_EQ(UTIL_landuse_texture(-3), 0);   // never an index before the table
    write_table(filled({{14, "lake"}, {15, "sea"}, {1, "grass field"}, {2, "grass field"}, {3, "forest"},
                        {4, "grass field"}, {4, "forest"}, {5, "rock"}}));
    LANDUSE_read_table();
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(landuse_texture_count, 5);
    EXPECT_STREQ(landuse_texture_name[0], "terrain:-90+90 -180+180:lake0_000");
    EXPECT_STREQ(landuse_texture_name[2], "terrain:-90+90 -180+180:grass field0_000");
    // Code to texture; a code given twice keeps its last texture; unnamed codes get texture 0.
    const std::pair<int, int> code_texture[] = {{14, 0}, {15, 1}, {1, 2}, {2, 2}, {3, 3},
                                                {4, 3},  {5, 4},  {0, 0}, {50, 0}, {96, 0}};
    for (auto [code, texture] : code_texture) EXPECT_EQ(landuse_code_texture[code], texture) << "code " << code;
    // Codes from 97 up are texture indices already and pass unchanged.
    for (auto [code, texture] : {std::pair{96, 0}, {5, 4}, {97, 97}, {130, 130}})
        EXPECT_EQ(UTIL_landuse_texture(code), texture) << "code " << code;
    EXPECT_EQ(std::vector<int>(landuse_texture_water, landuse_texture_water + 5), (std::vector<int>{1, 1, 0, 0, 0}));

    // The texture files of a texture at 0 N 0 E.
    char base[TEXT_SIZE] = {};
    char variants[4][TEXT_SIZE] = {};
    TERRAIN_find_texture_file(2, base, variants, 0.0f, 0.0f);
    EXPECT_STREQ(base, "terrain:-90+90 -180+180\\grass field0_000.BMP");
    EXPECT_STREQ(variants[3], "terrain:-90+90 -180+180\\grass field0_000_C4.BMP");
}

TEST_F(LandUse, DefectsAreFatal)
{
    auto fatal_path = [&](const std::vector<std::pair<int, std::string>>& rows) {
        write_table(rows);
        alert_record a = expect_fatal([] { LANDUSE_read_table(); });
        return a.lines[3];
    };
    // Water after land, then bad codes.
    for (auto rows : {filled({{3, "land"}, {14, "lake"}}), filled({{97, "land"}}), filled({{-1, "land"}})})
        EXPECT_EQ(fatal_path(rows), table_path);
    auto short_rows = filled({{3, "land"}});
    short_rows.pop_back();
    EXPECT_EQ(fatal_path(short_rows), table_path);   // 79 rows: the read-error alert names the file
    EXPECT_EQ(recorded_alerts.back().lines[2], "file:");

    write_table(filled({{3, "land"}}), 4);
    expect_fatal([] { LANDUSE_read_table(); });   // wrong version

    write_table(filled({{3, "land"}}));
    std::filesystem::remove(tmp.path() / "Resources/Bitmaps/Terrain" / REGION / "land0_000_C3.bmp");
    auto a = expect_fatal([] { LANDUSE_read_table(); });
    EXPECT_NE(a.lines[1].find("land0_000_C3.BMP"), std::string::npos);

    std::filesystem::remove(tmp.path() / "Resources/Bitmaps/Terrain/land_use.txt");
    expect_fatal([] { LANDUSE_read_table(); });
}

TEST_F(LandUse, FortyNineTexturesLoadAndAFiftiethIsRefused)
{
    std::vector<std::pair<int, std::string>> rows;
    for (int t = 0; t < 49; ++t) rows.push_back({t < 14 ? t : t + 2, "tex" + std::to_string(t)});   // no water
    write_table(filled(rows));
    LANDUSE_read_table();
    EXPECT_EQ(landuse_texture_count, 49);
    EXPECT_EQ(landuse_code_texture[50], 48);

    rows.push_back({60, "one too many"});
    write_table(filled(rows));
    auto a = expect_fatal([] { LANDUSE_read_table(); });
    EXPECT_EQ(a.lines[2], table_path);
    EXPECT_EQ(landuse_texture_count, 49);
    EXPECT_EQ(landuse_code_texture[60], 0);   // nothing stored for the refused texture
}

// A repeated texture name takes what the last row of that name maps to now;
// water textures need no mask images.
TEST_F(LandUse, RepeatedNamesFollowTheirLastRowAndWaterNeedsNoMasks)
{
    // lake is texture 0, grass 1 for codes 1 and 2; code 1 then moves to forest (2);
    // code 6 repeats grass, last named by code 2, which still maps to 1.
    write_table(filled({{14, "lake"}, {1, "grass"}, {2, "grass"}, {1, "forest"}, {6, "grass"}}));
    for (const char* c : {"_C1", "_C2", "_C3", "_C4"})
        std::filesystem::remove(tmp.path() / "Resources/Bitmaps/Terrain" / REGION / (std::string("lake0_000") + c + ".bmp"));
    LANDUSE_read_table();
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(landuse_texture_count, 3);
    for (auto [code, texture] : {std::pair{14, 0}, {1, 2}, {2, 1}, {6, 1}})
        EXPECT_EQ(landuse_code_texture[code], texture) << "code " << code;
}
