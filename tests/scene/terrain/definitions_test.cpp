// Terrain texture definition files read into the cover table: every keyword,
// the road loops' links, the fatal checks, the damaged files the reader
// mends, and a pass over randomly damaged files.
#include <fstream>
#include <sstream>

#include "core/folders.h"
#include "core/random.h"
#include "tests/scene/terrain/ground_fixture.h"

namespace {

constexpr int TEX = 7;

class Definitions : public Ground {
protected:
    void SetUp() override
    {
        Ground::SetUp();
        FOLDERS_init_from((dir_.prefix() + "orvell").c_str());
        for (const char* name : {"house", "house_b", "house_c", "barn"})
            dir_.write(std::string("Resources/AUTOGEN OBJECTS/") + name + ".obj",
                       "I\n700 version\na test object\nnone // no texture\nquad // face\n"
                       "0 0 0 0 0\n0 1 0 0 1\n1 1 0 1 1\n1 0 0 1 0\nend\n");
    }

    std::string file(const std::string& body, const std::string& header = "I\n1 version\n")
    {
        return dir_.write("Resources/bitmaps/terrain/defs.txt", header + body).string();
    }
    const cover_entry& load(const std::string& body)
    {
        TERRAIN_setup_textures(file(body).c_str(), TEX);
        return cover_table[TEX];
    }

    temp_folder dir_;
};

std::vector<int32_t> nexts(const cover_entry& e)
{
    std::vector<int32_t> out;
    for (const cover_definition& d : e.lists[COVER_ROAD]) out.push_back(d.next);
    return out;
}

}  // namespace

TEST_F(Definitions, EveryKeywordFillsItsList)
{
    const cover_entry& e = load(
        "com a comment, then an object with two alternatives\n"
        "Obj 0.5 0.5 0 1 90 house\nran house_b\nRAN house_c\n"
        "object 0.1 0.2\n"
        "lit 0.5 0.5 0 1 6 10 10 5 and words after\n"
        "tre 0.25 0.75 0.1 0.5 9 ignored\n"
        "for 0 1 0 1 3\n"
        "car 0.5 0.5 0.2 1 45\n"
        "roa 0.1 0.1 0 1\nroa 0.9 0.1 0 1\nroa 0.9 0.9 0 1\nret 0.1 0.9 0 1\n"
        "roa 0.2 0.2 0 1\nroa 0.8 0.2 0 1\nret 0.5 0.8 0 1\n"
        "end\ntre 0 0 0 1 1\n");
    EXPECT_TRUE(recorded_alerts.empty());
    ASSERT_EQ(e.lists[COVER_OBJECTS].size(), 1u);
    const cover_definition& o = e.lists[COVER_OBJECTS][0];
    EXPECT_EQ(o.last_object - o.first_object, 2);   // three objects, one after the other in the table
    EXPECT_EQ(o.heading, 90.0f);
    ASSERT_EQ(e.lists[COVER_LIGHTS].size(), 1u);
    const cover_definition& l = e.lists[COVER_LIGHTS][0];
    EXPECT_EQ(l.light_height, 6.0f);
    EXPECT_FLOAT_EQ(l.light_rgb[0], 1.0f);
    EXPECT_FLOAT_EQ(l.light_rgb[1], 1.0f);
    EXPECT_FLOAT_EQ(l.light_rgb[2], 0.5f);
    ASSERT_EQ(e.lists[COVER_TREES].size(), 1u);   // the tree after "end" is not read
    EXPECT_EQ(e.lists[COVER_TREES][0].picture, 9);
    EXPECT_EQ(e.lists[COVER_TREES][0].spread, 0.1f);
    ASSERT_EQ(e.lists[COVER_FOREST].size(), 1u);
    EXPECT_EQ(e.lists[COVER_FOREST][0].picture, 3);
    ASSERT_EQ(e.lists[COVER_CARS].size(), 1u);
    EXPECT_EQ(e.lists[COVER_CARS][0].heading, 45.0f);
    EXPECT_EQ(nexts(e), (std::vector<int32_t>{1, 2, 3, 0, 5, 6, 4}));
    for (size_t n = 0; n < e.lists[COVER_ROAD].size(); ++n) {
        const cover_definition& r = e.lists[COVER_ROAD][n];
        EXPECT_EQ(r.segment_start, static_cast<int32_t>(n));
        EXPECT_FLOAT_EQ(r.progress, 0.1f + 0.8f * random_table[n]);
    }
    // A missing file empties the entry.
    TERRAIN_setup_textures((dir_.prefix() + "none.txt").c_str(), TEX);
    for (const auto& list : cover_table[TEX].lists) EXPECT_TRUE(list.empty());
}

TEST_F(Definitions, BadRatiosIndexesAndVersionsAreFatal)
{
    const std::string path = file("tre 0.5 0.5 0 1.0001 2\n");
    alert_record a = expect_fatal([&] { TERRAIN_setup_textures(path.c_str(), TEX); });
    EXPECT_EQ(a.lines[1], "Ratio must be 0 to 1!");
    EXPECT_EQ(a.lines[3], path);
    for (const char* body : {"obj -0.1 0 0 1 0 house\n", "car 0 0 2 1 0\n", "roa 0 1.5 0 1\n"})
        EXPECT_EQ(expect_fatal([&] { load(body); }).lines[1], "Ratio must be 0 to 1!") << body;
    a = expect_fatal([&] { TERRAIN_setup_textures(path.c_str(), 49); });
    EXPECT_EQ(a.lines[0], "Too large a tex_index!");
    EXPECT_EQ(expect_fatal([&] { TERRAIN_setup_textures(path.c_str(), -1); }).lines[0], "Too large a tex_index!");
    const std::string v2 = file("end\n", "I\n2 version\n");
    EXPECT_EQ(expect_fatal([&] { TERRAIN_setup_textures(v2.c_str(), TEX); }).code, 17);
}

TEST_F(Definitions, DamagedEntriesAreMended)
{
    // "ran" before any "obj" is ignored; a road list that ends on "roa" closes its loop.
    cover_entry e = load("ran house\nroa 0.1 0.1 0 1\nroa 0.9 0.1 0 1\nret 0.5 0.5 0 1\nroa 0.3 0.3 0 1\nroa 0.6 0.6 0 1\n");
    EXPECT_TRUE(e.lists[COVER_OBJECTS].empty());
    EXPECT_EQ(nexts(e), (std::vector<int32_t>{1, 2, 0, 4, 3}));
    // Input that ends inside an entry drops it; the entries before it stay.
    e = load("tre 0.5 0.5 0 1 4\ntre 0.5 0.5 0");
    EXPECT_EQ(e.lists[COVER_TREES].size(), 1u);
    e = load("obj 0.5 0.5 0 1 90");
    EXPECT_TRUE(e.lists[COVER_OBJECTS].empty());
    // A path too long to be one is skipped (and logged); reading goes on.
    e = load("obj 0.5 0.5 0 1 0 " + std::string(520, 'x') + "\nobj 0.5 0.5 0 1 0 barn\n");
    ASSERT_EQ(e.lists[COVER_OBJECTS].size(), 1u);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(Definitions, DamagedFilesNeverReadOutOfBounds)
{
    const std::string good = "com x\nobj 0.5 0.5 0.1 0.8 90 house\nran house_b\nlit 0.2 0.2 0 1 5 10 9 8\n"
                             "tre 0.3 0.3 0.1 1 7\nfor 0.5 0.5 0 1 2\ncar 0.1 0.9 0 1 180\n"
                             "roa 0.1 0.1 0 1\nroa 0.9 0.1 0 1\nret 0.5 0.9 0 1\nend\n";
    UTIL_srand(4242);
    for (int round = 0; round < 300; ++round) {
        std::string body = good;
        const int edits = 1 + UTIL_rand() % 6;
        for (int k = 0; k < edits; ++k) {
            const size_t at = static_cast<size_t>(UTIL_rand()) % body.size();
            switch (UTIL_rand() % 3) {
            case 0: body[at] = static_cast<char>(UTIL_rand() % 256); break;
            case 1: body.erase(at, 1 + UTIL_rand() % 12); break;
            default: body.resize(at); break;
            }
            if (body.empty()) body = "e";
        }
        try {
            load(body);
        } catch (const fatal_alert&) {
            continue;   // a bad ratio or an object that is not there: the file's own fault
        }
        const cover_entry& e = cover_table[TEX];
        for (const cover_definition& d : e.lists[COVER_ROAD]) ASSERT_LT(size_t(d.next), e.lists[COVER_ROAD].size());
        for (const cover_definition& d : e.lists[COVER_OBJECTS]) ASSERT_LT(size_t(d.last_object), object_table.size());
    }
}
