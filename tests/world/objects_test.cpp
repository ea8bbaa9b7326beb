// Scenery objects: the builders' primitive lists, object files of both
// versions read into exact primitive lists, finishing, the lookup by name and
// size band, the texture ring, damaged files, and drawing on the offscreen
// context (day and night textures, a compiled list against direct drawing).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/random.h"
#include "core/text_util.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/gl_view.h"
#include "tests/support/machine.h"
#include "tests/world/tile_test_util.h"
#include "world/objects.h"

namespace {

std::vector<int32_t> codes(const std::vector<object_primitive>& p)
{
    std::vector<int32_t> out;
    for (const object_primitive& q : p) out.push_back(q.code);
    return out;
}

class Objects : public area_test {
protected:
    void SetUp() override
    {
        area_test::SetUp();
        if (IsSkipped()) return;
        OBJ_clear_table();
        UTIL_strcpy((tmp.prefix() + "pkg/").c_str(), custom_scenery_folder);
    }
    void TearDown() override { custom_scenery_folder[0] = 0; }

    // An empty record to build into.
    static int new_record()
    {
        scenery_object_record r{};
        r.object_class = OBJ_CLASS_NEW;
        r.day_tex = r.lit_tex = OBJ_NO_TEXTURE;
        r.groups.push_back(lod_group{0, 0, 0.0f, OBJ_FIRST_GROUP_FAR2, {}});
        object_table.push_back(r);
        return static_cast<int>(object_table.size()) - 1;
    }
    static std::vector<object_primitive>& prims(int object, int group = 0)
    {
        return object_table[size_t(object)].groups[size_t(group)].prims;
    }
    std::string object_file(const std::string& name, const std::string& text)
    {
        return tmp.write("pkg/custom objects/" + name, text).string();
    }
    // A 4 x 4 texture of one colour in the package's texture folder.
    void texture_file(const std::string& name, uint8_t r, uint8_t g, uint8_t b)
    {
        std::string bytes(BMP_HEADER_SIZE, 0);
        BMP_make_header(reinterpret_cast<uint8_t*>(bytes.data()), 4, 4);
        for (int k = 0; k < 16; ++k) bytes += std::string{char(b), char(g), char(r)};
        tmp.write("pkg/custom object textures/" + name + ".bmp", bytes);
    }
};

// An orthographic view of 20 x 15 m, no fog, light 0 white from the viewer.
void plain_view()
{
    window_ortho(-10, 10, -7.5, 7.5, -10, 10);
    glFogf(GL_FOG_START, 1000.0f);
    glFogf(GL_FOG_END, 2000.0f);
    white_light_from(0, 0, 1);
    const GLfloat none[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
}

// Uploads a texture of w x h texels into a slot, filtered without reduced levels.
void texture_slot(int slot, int w, int h, const std::vector<uint8_t>& rgb)
{
    OGL_load_tex("test", slot, 0, GL_RGB, w, h, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

constexpr const char* V2_FIXTURE =
    "I\n2 version\nwall // texture\n"
    "4 0.25 0.5 0.75 1.0 // a quad: Sa Sb Ta Tb\n0 0 0\n0 10 0\n10 10 0\n10 0 0\n"
    "4 0 1 0 1 // a second quad joins the first\n0 0 1\n0 1 1\n1 1 1\n1 0 1\n"
    "-2 // a quad strip of two pairs\n0 0 0  0 5 0  0.1 0.2 0.3 0.4\n5 0 0  5 5 0  0.5 0.6 0.7 0.8\n"
    "1 10 5 0 // a light\n1 2 3\n2 10 10 10 // a line\n0 0 0\n0 0 5\n99\n";

constexpr const char* V700_FIXTURE =
    "I\n700 version\nOBJ\ntex // texture\nATTR_LOD 0 100\n"
    "tri // keyword and comment\n0 0 0 0 0\n1 0 0 1 0\n0 1 0 0 1\n"
    "ATTR_foo 1 2 3 // not known: ignored\nits end swallows this line\nATTR_no_depth\nthis line is swallowed\nand so is this one\n"
    "smoke_black 1 2 3 4\nlight // l\n0 5 0 10 5 0\n"
    "ATTR_LOD 100 1000\nquad_strip -3 // a negative count reads no vertex\nits end swallows this line\nEND\nnot read\n";

}  // namespace

TEST_F(Objects, BuildersJoinBatchesAndMakeTheProceduralModels)
{
    int i = 0;
    const int a = new_record();
    OBJ_add_light(a, 0, i, 1, 2, 3, 0.1f, 0.2f, 0.3f);
    OBJ_add_light(a, 0, i, 4, 5, 6, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(codes(prims(a)), (std::vector<int32_t>{1, 14, 14, 18}));
    const int b = new_record();
    OBJ_add_light(b, 0, i, 1, 2, 3, 1, 1, 1);
    OBJ_add_line(b, 0, i, 0, 0, 0, 0, 1, 0, 1, 1, 1);
    EXPECT_EQ(codes(prims(b)), (std::vector<int32_t>{1, 14, 18, 2, 15, 15, 19}));
    EXPECT_EQ(prims(b)[4].w[1], 0.0f);
    EXPECT_EQ(prims(b)[5].w[1], 1.0f);

    // The NDB: a box strip of five pairs, a roof quad, 18 wires of 4 m at 14.8 m in one line batch.
    const int ndb = new_record();
    OBJ_build_procedural(9, 0.0f, "NAVAID: NDB", ndb, 0, i);
    std::vector<int32_t> expected{10};
    for (int k = 0; k < 5; ++k) expected.insert(expected.end(), {13, 17, 17});
    expected.insert(expected.end(), {21, 4, 13, 17, 17, 17, 17, 21, 2});
    expected.insert(expected.end(), 36, 15);
    expected.push_back(19);
    EXPECT_EQ(codes(prims(ndb)), expected);
    for (size_t k = 25; k + 1 < prims(ndb).size(); k += 2) {
        const float* p = prims(ndb)[k].w;
        const float* q = prims(ndb)[k + 1].w;
        EXPECT_EQ(p[1], 14.8f);
        EXPECT_EQ(q[1], 14.8f);
        EXPECT_NEAR(std::hypot(q[0] - p[0], q[2] - p[2]), 4.0f, 1e-5f);
    }

    // A radio tower of 2 m: three legs and the top light alone.
    const int tower = new_record();
    OBJ_build_procedural(3, 2.0f, "radio tower", tower, 0, i);
    EXPECT_EQ(codes(prims(tower)), (std::vector<int32_t>{2, 15, 15, 15, 15, 15, 15, 19, 1, 14, 18}));
    const float* top = prims(tower)[9].w;
    EXPECT_EQ(std::vector<float>(top, top + 6), (std::vector<float>{0, 2, 0, 9.8f, 9.8f, 9.8f}));
    // A radio tower of 25 m: legs and eight rings (every 3 m from 2 m) in one line
    // batch, the rings red and white by tens of metres; mast lights every 10 m
    // from 2 m and the top light in one light batch.
    const int tall = new_record();
    OBJ_build_procedural(3, 25.0f, "radio tower", tall, 0, i);
    const auto& t = prims(tall);
    ASSERT_EQ(t.size(), 62u);
    EXPECT_EQ(t[55].code, 19);
    const float ring_green[8] = {0.8f, 0.8f, 0.8f, 0.1f, 0.1f, 0.1f, 0.8f, 0.8f};
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(t[size_t(7 + 6 * j)].w[1], float(2 + 3 * j));
        EXPECT_EQ(t[size_t(7 + 6 * j)].w[4], ring_green[j]) << "ring at " << 2 + 3 * j;
    }
    EXPECT_EQ(codes(t).back(), 18);
    const float light_y[4] = {2, 12, 22, 25}, light_c[4] = {9.9f, 9.9f, 9.9f, 9.8f};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(t[size_t(57 + j)].w[1], light_y[j]);
        EXPECT_EQ(t[size_t(57 + j)].w[3], light_c[j]);
    }

    // Classes: the VOR keeps 1, the tall buildings 3, every other kind 2.
    for (int kind : {1, 2, 3, 5, 6, 9, 10, 11, 12, 13, 90, 91, 92, 93, 94}) {
        const int o = OBJ_build_obs(0, 0, 0, 40.0f, ("kind " + std::to_string(kind)).c_str(), kind, 1);
        const int32_t expected_class = kind == 10 ? 1 : (kind >= 90 && kind <= 93) ? 3 : 2;
        EXPECT_EQ(object_table[size_t(o)].object_class, expected_class) << kind;
    }
    const alert_record alert = expect_fatal([] { OBJ_build_obs(0, 0, 0, 0, "no such kind", 4, 1); });
    EXPECT_EQ(alert.lines[2], "no such kind");
}

// The walls' texture rectangle of every kind a box is built for, the roof's
// of the kinds that have their own, and the sizes of the procedural models
// read off their corner vertices (x, y, z, s, t).
TEST_F(Objects, BoxTexturesAndProceduralModelSizes)
{
    struct rect_row {
        int kind, sub;
        float s_low, s_high, t_low, t_high;
        float roof_s_low, roof_s_high, roof_t_low, roof_t_high;
    };
    const rect_row rows[] = {
        {1, 0, 0.0f, 0.25f, 0.0f, 0.39f, 0.5f, 1.0f, 0.5f, 1.0f},   {1, 1, 0.0f, 0.25f, 0.39f, 0.48f, 0.5f, 1.0f, 0.5f, 1.0f},
        {1, 2, 0.0f, 0.25f, 0.48f, 0.5f, 0.5f, 1.0f, 0.5f, 1.0f},   {2, 0, 0.875f, 1.0f, 0.0f, 0.5f, 0.5f, 1.0f, 0.5f, 1.0f},
        {90, 0, 0.5f, 0.625f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 1.0f},  {91, 0, 0.625f, 0.75f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 1.0f},
        {92, 0, 0.75f, 0.875f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 1.0f}, {93, 0, 0.25f, 0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 1.0f},
        {94, 0, 0.0f, 0.25f, 0.5f, 1.0f, 0.0f, 0.25f, 0.5f, 1.0f},  {9, 0, 0.0f, 0.25f, 0.0f, 0.5f, 0.0f, 0.25f, 0.0f, 0.5f},
        {13, 0, 0.0f, 0.25f, 0.0f, 0.5f, 0.0f, 0.25f, 0.0f, 0.5f},
    };
    int i = 0;
    auto st = [](const object_primitive& p) { return std::pair{p.w[3], p.w[4]}; };
    for (const rect_row& r : rows) {
        const int o = new_record();
        OBJ_add_box(o, 0, i, 1, 0, 1, 1, 2, 1, 0, r.kind, r.sub, 1);
        const auto& p = prims(o);
        ASSERT_EQ(p.size(), 24u);
        EXPECT_EQ(st(p[2]), std::pair(r.s_low, r.t_low)) << r.kind << "/" << r.sub;     // first corner, bottom
        EXPECT_EQ(st(p[6]), std::pair(r.s_high, r.t_high)) << r.kind << "/" << r.sub;   // second corner, top
        EXPECT_EQ(st(p[19]), std::pair(r.roof_s_low, r.roof_t_low)) << r.kind;
        EXPECT_EQ(st(p[21]), std::pair(r.roof_s_high, r.roof_t_high)) << r.kind;
    }

    using v3 = std::vector<float>;
    auto xyz = [](const object_primitive& p) { return v3{p.w[0], p.w[1], p.w[2]}; };
    auto near = [](const v3& a, const v3& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](float x, float y) { return std::fabs(x - y) < 1e-4f; });
    };
    // A block of 40 m: 0.3 S on each side, S high.
    const int block = new_record();
    OBJ_build_procedural(2, 40.0f, "block", block, 0, i);
    EXPECT_TRUE(near(xyz(prims(block)[5]), v3{12, 0, 12}));
    EXPECT_TRUE(near(xyz(prims(block)[6]), v3{12, 40, 12}));
    // A control tower of 30 m: a 3 m shaft to 28, a cab widening to 5 m at 32, a roof narrowing to 3 m at 33.5.
    const int tower = new_record();
    OBJ_build_procedural(1, 30.0f, "control tower", tower, 0, i);
    EXPECT_TRUE(near(xyz(prims(tower)[6]), v3{3, 28, 3}));
    EXPECT_TRUE(near(xyz(prims(tower)[23]), v3{5, 32, 5}));
    EXPECT_TRUE(near(xyz(prims(tower)[40]), v3{3, 33.5f, 3}));
    // The hangar: 20 x 40 m walls of 5 m, a 10.5 m eave at 5.1, a ridge 1 m wide at 6.5.
    const int hangar = new_record();
    OBJ_build_procedural(94, 0.0f, "hangar", hangar, 0, i);
    EXPECT_TRUE(near(xyz(prims(hangar)[6]), v3{10, 5, 20}));
    EXPECT_TRUE(near(xyz(prims(hangar)[23]), v3{10.5f, 5.1f, 20}));
    EXPECT_TRUE(near(xyz(prims(hangar)[40]), v3{1, 6.5f, 20}));
    // A building of 40 m: 0.15 S on each side, four lights a metre above its roof.
    const int building = new_record();
    OBJ_build_procedural(91, 40.0f, "building", building, 0, i);
    EXPECT_TRUE(near(xyz(prims(building)[6]), v3{6, 40, 6}));
    std::vector<v3> lights;
    for (const object_primitive& p : prims(building))
        if (p.code == 14) lights.push_back(xyz(p));
    const std::vector<v3> corners{{-6, 41, -6}, {6, 41, -6}, {-6, 41, 6}, {6, 41, 6}};
    ASSERT_EQ(lights.size(), corners.size());
    for (size_t k = 0; k < corners.size(); ++k) EXPECT_TRUE(near(lights[k], corners[k])) << k;
    // A cooling tower of 100 m: its lowest ring from 45 m at the ground to 35 m at 20 m, due north first.
    const int cooling = new_record();
    OBJ_build_procedural(5, 100.0f, "cooling tower", cooling, 0, i);
    EXPECT_TRUE(near(xyz(prims(cooling)[2]), v3{0, 20, -35}));
    EXPECT_TRUE(near(xyz(prims(cooling)[3]), v3{0, 0, -45}));
    // Stacks of 60 m: 1.5 m across at the top, 3 m at the foot.
    const int stacks = new_record();
    OBJ_build_procedural(6, 60.0f, "stacks", stacks, 0, i);
    EXPECT_TRUE(near(xyz(prims(stacks)[2]), v3{0, 60, -1.5f}));
    EXPECT_TRUE(near(xyz(prims(stacks)[3]), v3{0, 0, -3}));
}

// The glide-slope mast's rings at 1..14 m are red and white by threes of
// metres (white while the whole h / 3 is even); the VOR's five turned bands
// start due north at (R1, H1) over (R2, H2); a tall building's roof lights
// take their colour from three draws (below 0.25: white 9.9, then 9.8, then
// green and blue 0.1), shown from the generator's fixed start 16838, 5758,
// 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086, 2749 ...
TEST_F(Objects, NavaidStripesBandsAndRoofLightColours)
{
    int i = 0;
    const int slope = new_record();
    OBJ_build_procedural(12, 0.0f, "NAVAID: SLO", slope, 0, i);
    std::vector<object_primitive> wires;
    for (const object_primitive& p : prims(slope))
        if (p.code == 15) wires.push_back(p);
    ASSERT_EQ(wires.size(), 6u + 14u * 6u);
    EXPECT_EQ(std::vector<float>(wires[0].w + 3, wires[0].w + 6), (std::vector<float>{0.8f, 0.1f, 0.1f}));
    const float white[15] = {0, 0.8f, 0.8f, 0.1f, 0.1f, 0.1f, 0.8f, 0.8f, 0.8f, 0.1f, 0.1f, 0.1f, 0.8f, 0.8f, 0.8f};
    for (int h = 1; h <= 14; ++h) {
        const object_primitive& v = wires[size_t(6 * h)];
        EXPECT_EQ(v.w[1], float(h));
        EXPECT_EQ(v.w[4], white[h]) << "ring at " << h;
        EXPECT_EQ(v.w[5], white[h]) << "ring at " << h;
    }

    const int vor = new_record();
    OBJ_build_procedural(10, 0.0f, "NAVAID: VOR", vor, 0, i);
    ASSERT_EQ(prims(vor).size(), 5u * 29u);
    const float bands[5][4] = {{7, 6, 7, 0}, {9, 6, 7, 6}, {9, 7, 9, 6}, {4, 7, 9, 7}, {0.1f, 16, 4, 7}};
    for (int b = 0; b < 5; ++b) {
        const float* upper = prims(vor)[size_t(29 * b + 2)].w;
        const float* lower = prims(vor)[size_t(29 * b + 3)].w;
        EXPECT_EQ(std::vector<float>(upper, upper + 5), (std::vector<float>{0, bands[b][1], -bands[b][0], 0.25f, 0.5f}))
            << b;
        EXPECT_EQ(std::vector<float>(lower, lower + 5), (std::vector<float>{0, bands[b][3], -bands[b][2], 0.25f, 0.0f}))
            << b;
    }

    const struct { int skipped; float r, g, b; } colours[] = {
        {0, 9.8f, 9.8f, 9.8f},   // 0.514, 0.176, 0.309
        {2, 1.0f, 1.0f, 1.0f},   // 0.309, 0.535, 0.948
        {3, 1.0f, 0.1f, 0.1f},   // 0.535, 0.948, 0.172
        {5, 9.9f, 0.1f, 0.1f},   // 0.172, 0.702, 0.226
        {8, 9.8f, 0.1f, 0.1f},   // 0.495, 0.125, 0.084
        {10, 9.9f, 9.9f, 9.9f},  // 0.084, 0.390, 0.277
        {11, 1.0f, 1.0f, 1.0f},  // 0.390, 0.277, 0.368
        {12, 1.0f, 1.0f, 1.0f},  // 0.277, 0.368, 0.983
    };
    for (const auto& c : colours) {
        UTIL_srand(1);
        for (int k = 0; k < c.skipped; ++k) UTIL_rand();
        const int o = new_record();
        OBJ_build_procedural(90, 40.0f, "building", o, 0, i);
        for (const object_primitive& p : prims(o))
            if (p.code == 14) {
                EXPECT_EQ(std::vector<float>(p.w + 3, p.w + 6), (std::vector<float>{c.r, c.g, c.b})) << c.skipped;
            }
    }
}

// The antenna rows and masts: the localizer's seven antennas stand 2 m apart
// about the centre; the marker's cross bars narrow from 1.6 m either side at
// 5 m to 1.0 m at 8 m; the stacks smoke 2 m below their top in 4 m puffs,
// the cooling tower in 20 m puffs; the cooling tower's rim is textured on a
// circle about (0.125, 0.75), due north at t 1.0 and due east at s 0.25.
TEST_F(Objects, AntennaRowsCrossBarsSmokeAndTheCoolingTowersRim)
{
    int i = 0;
    auto line_vertices = [](int o) {
        std::vector<object_primitive> v;
        for (const object_primitive& p : prims(o))
            if (p.code == 15) v.push_back(p);
        return v;
    };
    const int loc = new_record();
    OBJ_build_procedural(11, 0.0f, "NAVAID: LOC", loc, 0, i);
    std::vector<float> xs;
    for (const object_primitive& p : line_vertices(loc)) xs.push_back(p.w[0]);
    EXPECT_EQ(xs, (std::vector<float>{-6, -6, -6, -6, -4, -4, -4, -4, -2, -2, -2, -2, 0, 0, 0, 0, 2, 2, 2, 2, 4, 4, 4, 4,
                                      6, 6, 6, 6}));

    // Each antenna's hut runs 0.4 m either side, 2 m along, from 1.0 m to 1.5 m up.
    const object_primitive* hut = &prims(loc)[2];
    EXPECT_EQ(std::vector<float>(hut[0].w, hut[0].w + 3), (std::vector<float>{-6.4f, 1.0f, 2.0f}));
    EXPECT_EQ(std::vector<float>(hut[1].w, hut[1].w + 3), (std::vector<float>{-6.4f, 1.5f, 2.0f}));

    const int marker = new_record();
    OBJ_build_procedural(13, 0.0f, "NAVAID: MAR", marker, 0, i);
    const auto bars = line_vertices(marker);
    ASSERT_EQ(bars.size(), 4u + 16u);
    const float expected[8][3] = {{-4, 8, 1.0f}, {-3, 7, 1.2f}, {-2, 6, 1.4f}, {-1, 5, 1.6f},
                                  {1, 5, 1.6f},  {2, 6, 1.4f},  {3, 7, 1.2f},  {4, 8, 1.0f}};
    for (int b = 0; b < 8; ++b) {
        const float* from = bars[size_t(4 + 2 * b)].w;
        const float* to = bars[size_t(5 + 2 * b)].w;
        EXPECT_EQ(std::vector<float>(from, from + 3), (std::vector<float>{expected[b][0], expected[b][1], -expected[b][2]}));
        EXPECT_EQ(std::vector<float>(to, to + 3), (std::vector<float>{expected[b][0], expected[b][1], expected[b][2]}));
    }

    auto first_of = [](int o, int code) {
        for (const object_primitive& p : prims(o))
            if (p.code == code) return std::vector<float>(p.w, p.w + 5);
        return std::vector<float>{};
    };
    const int stacks = new_record();
    OBJ_build_procedural(6, 60.0f, "stacks", stacks, 0, i);
    EXPECT_EQ(first_of(stacks, 6), (std::vector<float>{0, 58, 0, 4, 0}));
    EXPECT_EQ(prims(stacks)[2].w[4], 1.0f);   // t at the top of the chimney
    EXPECT_EQ(prims(stacks)[3].w[4], 0.5f);   // and at its foot
    const int cooling = new_record();
    OBJ_build_procedural(5, 100.0f, "cooling tower", cooling, 0, i);
    EXPECT_EQ(first_of(cooling, 7), (std::vector<float>{0, 98, 0, 20, 0}));
    const auto& c = prims(cooling);
    const auto rim = std::find_if(c.begin(), c.end(), [](const object_primitive& p) { return p.code == 9; });
    ASSERT_TRUE(rim + 15 < c.end());
    const float* north = (rim + 2)->w;
    const float* east = (rim + 5)->w;
    EXPECT_NEAR(north[2], -32.0f, 1e-4f);
    EXPECT_NEAR(north[3], 0.125f, 1e-6f);
    EXPECT_NEAR(north[4], 1.0f, 1e-6f);
    EXPECT_NEAR(east[0], 32.0f, 1e-4f);
    EXPECT_NEAR(east[3], 0.25f, 1e-6f);
    EXPECT_NEAR(east[4], 0.75f, 1e-6f);
}

TEST_F(Objects, FilesOfBothVersionsGiveExactPrimitiveLists)
{
    const int v2 = new_record();
    ASSERT_TRUE(OBJ_read_file(object_file("v2.obj", V2_FIXTURE).c_str(), v2, 0));
    EXPECT_EQ(codes(prims(v2)), (std::vector<int32_t>{4, 13, 17, 17, 17, 17, 13, 17, 17, 17, 17, 21, 10, 13, 17, 17,
                                                       13, 17, 17, 21, 1, 14, 18, 2, 15, 15, 19}));
    auto st = [&](size_t k) { return std::pair{prims(v2)[k].w[3], prims(v2)[k].w[4]}; };
    // Quad texture order (Sb, Tb), (Sb, Ta), (Sa, Ta), (Sa, Tb).
    EXPECT_EQ(st(2), std::pair(0.5f, 1.0f));
    EXPECT_EQ(st(3), std::pair(0.5f, 0.75f));
    EXPECT_EQ(st(4), std::pair(0.25f, 0.75f));
    EXPECT_EQ(st(5), std::pair(0.25f, 1.0f));
    // Strip pairs: x1 y1 z1 x2 y2 z2 s1 s2 t1 t2.
    EXPECT_EQ(st(14), std::pair(0.1f, 0.3f));
    EXPECT_EQ(st(15), std::pair(0.2f, 0.4f));
    EXPECT_EQ(prims(v2)[15].w[1], 5.0f);
    EXPECT_EQ(std::vector<float>(prims(v2)[21].w, prims(v2)[21].w + 6), (std::vector<float>{1, 2, 3, 1.0f, 0.5f, 0}));
    EXPECT_EQ(object_table[size_t(v2)].object_class, OBJ_CLASS_PLAIN);

    const int v7 = new_record();
    ASSERT_TRUE(OBJ_read_file(object_file("v700.obj", V700_FIXTURE).c_str(), v7, 0));
    ASSERT_EQ(object_table[size_t(v7)].groups.size(), 2u);
    EXPECT_EQ(codes(prims(v7, 0)), (std::vector<int32_t>{31, 3, 13, 17, 17, 17, 21, 32, 29, 6, 1, 14, 18, 31}));
    EXPECT_EQ(codes(prims(v7, 1)), (std::vector<int32_t>{10, 21}));
    EXPECT_EQ(std::vector<float>(prims(v7)[9].w, prims(v7)[9].w + 4), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(prims(v7)[11].w[3], 1.0f);
    const lod_group& g0 = object_table[size_t(v7)].groups[0];
    const lod_group& g1 = object_table[size_t(v7)].groups[1];
    EXPECT_EQ(std::vector<float>({g0.near2, g0.far2, g1.near2, g1.far2}), (std::vector<float>{0, 1e4f, 1e4f, 1e6f}));
    EXPECT_EQ(file_use_index, 0);

    // An unknown field in small letters: one notice names the file, and the
    // object is left out.
    const std::string bad = object_file("bad.obj", "I\n700 version\nOBJ\ntex //\nattr_foo 1\nend\n");
    clear_alerts();
    OBJ_build_obs(0, 0, 0, 0, bad.c_str(), 8, 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record alert = recorded_alerts[0];
    EXPECT_EQ(alert.code, ALERT_NOTICE);
    EXPECT_EQ(alert.lines[2], bad);
    EXPECT_EQ(alert.lines[3], "attr_foo");
    EXPECT_EQ(file_use_index, 0);
    EXPECT_TRUE(placement_list.empty());
}

// The keywords no other file here uses, each with its code and operands:
// a strip's normals before vertices 0 and 2, the shading and depth switches
// (the two lines after each swallowed), the four colours and the shininess.
TEST_F(Objects, EveryShadingColourAndDepthKeywordHasItsOwnCode)
{
    const int o = new_record();
    ASSERT_TRUE(OBJ_read_file(
        object_file("keys.obj", "I\n700 version\nOBJ\nnone //\ntri_strip 3 //\n0 0 0 0 0\n1 0 0 1 0\n0 1 0 0 1\n"
                                "shade_flat\n-\n-\nshade_smooth\n-\n-\nATTR_shade_flat\n-\n-\nATTR_shade_smooth\n-\n-\n"
                                "ATTR_ambient_rgb 0.1 0.2 0.3\nATTR_difuse_rgb 0.4 0.5 0.6\n"
                                "ATTR_specular_rgb 0.7 0.8 0.9\nATTR_emission_rgb 1 2 3\nATTR_shiny_rat 5\n"
                                "ATTR_depth\n-\n-\nATTR_no_depth\n-\n-\npolygon 3 //\n0 0 0 0 0\n1 0 0 1 0\n0 1 0 0 1\nend\n")
            .c_str(),
        o, 0));
    EXPECT_EQ(codes(prims(o)), (std::vector<int32_t>{11, 13, 17, 17, 13, 17, 21, 22, 23, 22, 23, 24, 25, 26, 27, 28,
                                                      30, 29, 9, 13, 17, 17, 17, 21}));
    const float colours[4][3] = {{0.1f, 0.2f, 0.3f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f}, {1, 2, 3}};
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(std::vector<float>(prims(o)[11 + k].w, prims(o)[11 + k].w + 3),
                  std::vector<float>(colours[k], colours[k] + 3));
    EXPECT_EQ(prims(o)[15].w[0], 5.0f);
}

TEST_F(Objects, FinishingKeepsWhatThePerFramePassDrawsAndTheTableSharesRecords)
{
    const std::string path = object_file(
        "mixed.obj", "I\n700 version\nOBJ\nnone //\nquad //\n0 0 0 0 0\n0 1 0 0 1\n1 1 0 1 1\n1 0 0 1 0\n"
                     "quad_hard //\n0 5 1 0 0\n0 5 0 0 1\n1 5 0 1 1\n1 5 1 1 0\nlight //\n0 6 0 10 10 10\n"
                     "smoke_white 0 6 0 9\nline //\n0 0 0 1 1 1\n0 9 0 1 1 1\nquad_movie //\n0 0 2 0 0\n0 1 2 0 1\n"
                     "1 1 2 1 1\n1 0 2 1 0\nend\n");
    const int o = OBJ_build_obs(10.0f, 20.0f, 30.0f, 0.0f, path.c_str(), 8, 0);
    ASSERT_EQ(o, 0);
    EXPECT_EQ(codes(prims(o)), (std::vector<int32_t>{5, 13, 17, 17, 17, 17, 1, 14, 18, 7, 8, 16, 16, 16, 16, 20}));
    EXPECT_EQ(std::vector<float>(prims(o)[1].w, prims(o)[1].w + 3), (std::vector<float>{0, 1, 0}));   // the roof's normal
    const lod_group& g = object_table[0].groups[0];
    EXPECT_TRUE(glIsList(g.day_list));
    EXPECT_TRUE(glIsList(g.lit_list));
    ASSERT_EQ(placement_list.size(), 1u);
    EXPECT_EQ(placement_list[0].x, 10.0f);
    EXPECT_EQ(placement_list[0].heading, 30.0f);

    // One record per name and 10 m band: the second block finds the first and compiles nothing.
    const int a = OBJ_build_obs(0, 0, 0, 95.0f, "block", 2, 0);
    const GLuint before = glGenLists(1);
    const int b = OBJ_build_obs(5, 5, 0, 99.9f, "block", 2, 0);
    EXPECT_EQ(a, b);
    EXPECT_STREQ(object_table[size_t(a)].name, "block9");
    EXPECT_EQ(glGenLists(1), before + 1);
    EXPECT_EQ(placement_list.back().object, a);
    EXPECT_EQ(OBJ_build_obs(0, 0, 0, 0.0f, "hangar", 94, 0), OBJ_build_obs(9, 9, 0, -3.0f, "hangar", 94, 0));

    // A missing file leaves neither record nor placement; the next object takes its index.
    const size_t placed = placement_list.size();
    const int last = int(object_table.size()) - 1;
    EXPECT_EQ(OBJ_build_obs(0, 0, 0, 0, (tmp.prefix() + "pkg/none.obj").c_str(), 8, 0), last);
    EXPECT_EQ(placement_list.size(), placed);
    EXPECT_EQ(OBJ_build_obs(0, 0, 0, 0, "stacks", 6, 0), last + 1);

    // A new record's first group reaches from 0 to 10,000 m (squared).
    EXPECT_EQ(object_table[size_t(a)].groups[0].near2, 0.0f);
    EXPECT_EQ(object_table[size_t(a)].groups[0].far2, 1.0e8f);

    // Placements sorted by ascending day texture, neighbours of one texture in their order.
    object_table[0].day_tex = 700;
    object_table[size_t(a)].day_tex = 600;
    placement_list = {{0, 1, 0, 0, 0, 0}, {a, 2, 0, 0, 0, 0}, {0, 3, 0, 0, 0, 0}, {a, 4, 0, 0, 0, 0}};
    OBJ_sort_placements();
    std::vector<float> order;
    for (const object_placement& p : placement_list) order.push_back(p.x);
    EXPECT_EQ(order, (std::vector<float>{2, 4, 1, 3}));
}

TEST_F(Objects, ObjectTexturesFillTheRingOfSlots500To999)
{
    for (const char* t : {"t1", "t2", "t3"}) texture_file(t, 200, 100, 50);
    auto textured = [&](const std::string& tex) {
        const std::string path = object_file(tex + std::to_string(object_table.size()) + ".obj",
                                             "I\n2 version\n" + tex + " // texture\n99\n");
        const int o = OBJ_build_obs(0, 0, 0, 0, path.c_str(), 8, 0);
        return std::pair{object_table[size_t(o)].day_tex, object_table[size_t(o)].lit_tex};
    };
    EXPECT_EQ(textured("t1"), std::pair(500, 455));   // no "t1LIT.bmp": the lit slot stays empty
    EXPECT_EQ(textured("t1"), std::pair(500, 455));   // found again
    EXPECT_EQ(textured("missing"), std::pair(455, 455));
    obj_texture_tables.counter = 499;   // as after 499 textures
    EXPECT_EQ(textured("t2"), std::pair(999, 455));
    EXPECT_EQ(textured("t3"), std::pair(500, 455));   // the 501st texture takes slot 500 again
    EXPECT_EQ(textured("t2"), std::pair(501, 455));   // stored above the counter: loaded once more

    // A name too long for name + "LIT.bmp" in 150 bytes gets no texture, and says so.
    const std::filesystem::path log = tmp.path() / "ERROR.OUT";
    error_log.close();
    error_log.clear();
    error_log.open(log);
    EXPECT_EQ(textured(std::string(143, 'n')), std::pair(455, 455));
    error_log.close();
    EXPECT_NE(read_file_bytes(log).find("too long"), std::string::npos);
}

TEST_F(Objects, DamagedFilesAreRefusedWithoutReadingOutOfBounds)
{
    // Cut short, too many points, random bytes, strips, fans and polygons of
    // too few points (or a quad strip of an odd number, or of one pair in a
    // version 2 file): one notice names the file and the entry, the object
    // is left out (a terrain texture's object too, the same bytes without a
    // second notice), and nothing is read out of bounds.
    const std::string truncated = object_file("cut.obj", "I\n2 version\nt //\n4 0 1 0 1\n0 0 0\n0 1 0\n");
    const std::string too_many = object_file("many.obj", "I\n700 version\nOBJ\nt //\npolygon 1000 //\n0 0 0 0 0\nend\n");
    const std::string noise = object_file("noise.obj", std::string(600, '\x9c'));
    const std::string strips =
        object_file("strips.obj", "I\n700\n\n0 \nquad_strip 1\n0 3 0 1 2\nquad_strip 1\n0 3 0 0 0\nEND\n");
    const std::string short_groups =
        object_file("short.obj", "I\n700 version\nOBJ\nt //\nquad_hard //\n0 0 0 0 0\n0 1 0 0 0\n1 1 0 0 0\n1 0 0 0 0\n"
                                 "tri_fan 1 //\n0 0 0 0 0\npolygon 1 //\n0 0 0 0 0\nend\n");
    const std::string odd = object_file("odd.obj", "I\n700 version\nOBJ\nt //\nquad_strip 5 //\n0 0 0 0 0\n0 1 0 0 0\n"
                                                   "1 1 0 0 0\n1 0 0 0 0\n2 0 0 0 0\nend\n");
    const std::string one_pair = object_file("pair.obj", "I\n2 version\nt //\n-1\n0 0 0  0 5 0  0 0 0 0\n99\n");
    for (const std::string& path : {truncated, too_many, noise, strips, short_groups, odd, one_pair})
        for (const int autogen : {0, 1}) {
            clear_alerts();
            OBJ_build_obs(0, 0, 0, 0, path.c_str(), 8, autogen);
            ASSERT_EQ(recorded_alerts.size(), autogen ? 0u : 1u) << path;
            if (autogen) continue;
            EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
            EXPECT_EQ(recorded_alerts[0].lines[2], path);
            if (path == strips) EXPECT_EQ(recorded_alerts[0].lines[3], "quad_strip 1");
        }
    EXPECT_TRUE(object_table.empty());
    EXPECT_TRUE(placement_list.empty());
    EXPECT_EQ(file_use_index, 0);

    // Damaged copies of the fixtures: a few hundred truncations and changed bytes.
    std::mt19937 rng(23);
    int refused = 0, read = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text = round % 2 ? V2_FIXTURE : V700_FIXTURE;
        if (round % 3 == 0) text.resize(rng() % text.size());
        for (int k = 0; k < 3; ++k)
            if (!text.empty()) text[rng() % text.size()] = "0123456789-. \nxAqa"[rng() % 18];
        const std::string path = object_file("fuzz" + std::to_string(round) + ".obj", text);
        clear_alerts();
        OBJ_build_obs(0, 0, 0, 0, path.c_str(), 8, 0);
        if (recorded_alerts.empty()) ++read;
        else ++refused;
        ASSERT_EQ(file_use_index, 0);
        ASSERT_EQ(object_index.size(), object_table.size());
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(read, 0);
}

TEST_F(Objects, DrawingShowsTheDayTextureByDayAndAddsTheLitTextureAtNight)
{
    MACHINE_NEEDS(has_mul_tex_add, "additive multitexture in its OpenGL driver");
    auto solid = [](int slot, uint8_t r, uint8_t g, uint8_t b) {
        std::vector<uint8_t> px(16 * 3);
        for (int k = 0; k < 16; ++k) px[size_t(k) * 3] = r, px[size_t(k) * 3 + 1] = g, px[size_t(k) * 3 + 2] = b;
        texture_slot(slot, 4, 4, px);
    };
    solid(600, 100, 60, 20);
    solid(601, 40, 80, 120);
    const int o = new_record();
    object_table[size_t(o)].day_tex = 600;
    object_table[size_t(o)].lit_tex = 601;
    int i = 0;
    OBJ_add_primitive(o, 0, i, OBJ_QUAD);
    prims(o).push_back({OBJ_NORMAL, {0, 0, 1, 0, 0, 0}});
    for (auto [x, y] : {std::pair{-5.0f, -5.0f}, {-5.0f, 5.0f}, {5.0f, 5.0f}, {5.0f, -5.0f}})
        prims(o).push_back({OBJ_VERTEX, {x, y, 0, 0.5f, 0.5f, 0}});
    prims(o).push_back({OBJ_END, {}});
    OBJ_draw(o, 0, 0, 0);
    OBJ_draw(o, 0, 1, 0);

    plain_view();
    auto centre = [&](int lit) {
        OGL_reset_bound_textures();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        OBJ_draw(o, 0, lit, 1);
        uint8_t px[4];
        glReadPixels(512, 384, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
        return std::vector<int>{px[0], px[1], px[2]};
    };
    const std::vector<int> day = centre(0), night = centre(1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(day[c], (std::vector<int>{100, 60, 20})[c], 2) << c;
        EXPECT_NEAR(night[c], (std::vector<int>{140, 140, 140})[c], 2) << c;
    }
    OGL_set_state(1, 0, 3, 4, 8, 10);
}

// Which primitive codes go into the display lists and which stay for the
// per-frame pass (a hard quad's normal and corners go to both), and the GL
// state each group header switches to.
TEST_F(Objects, PrimitiveCodesSplitBetweenTheListsAndThePerFramePass)
{
    const int o = new_record();
    for (int32_t code = 1; code <= 32; ++code) prims(o).push_back({code, {}});
    std::set<int32_t> in_list, per_frame;
    for (int k = 0; k < 32; ++k) {
        if (OBJ_is_static_prim(o, 0, k)) in_list.insert(k + 1);
        if (OBJ_is_dynamic_prim(o, 0, k)) per_frame.insert(k + 1);
    }
    EXPECT_EQ(in_list, (std::set<int32_t>{2, 3, 4, 5, 9, 10, 11, 12, 13, 15, 17, 19, 21, 22, 23, 24, 25, 26, 27, 28,
                                          29, 30}));
    EXPECT_EQ(per_frame, (std::set<int32_t>{1, 5, 6, 7, 8, 14, 16, 18, 20}));
    // A hard quad: header, normal, four corners; its end and a vertex six places on are not kept.
    prims(o) = {{5, {}}, {13, {}}, {17, {}}, {17, {}}, {17, {}}, {17, {}}, {21, {}}, {17, {}}, {13, {}}};
    std::vector<int> kept;
    for (int k = 0; k < 9; ++k) kept.push_back(OBJ_is_dynamic_prim(o, 0, k));
    EXPECT_EQ(kept, (std::vector<int>{1, 1, 1, 1, 1, 1, 0, 0, 0}));

    // Group headers: lighting off only for the reset; lines and untextured
    // records draw without texture.
    struct state_case {
        int day, code;
        bool lighting, texture;
    };
    for (const state_case& c : {state_case{1, 0, false, false}, {1, 2, true, false}, {1, 4, true, true},
                                {0, 4, true, false}}) {
        obj_draw_state = {c.day, 0, -1};
        OBJ_set_draw_state(c.code);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lighting) << c.day << " " << c.code;
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D) == GL_TRUE, c.texture) << c.day << " " << c.code;
    }
    OBJ_set_draw_state(0);

    // Material and depth codes replayed from a list: each colour to its own
    // material with alpha 1, the shininess, then depth test and writes off.
    prims(o) = {{24, {0.1f, 0.2f, 0.3f}}, {25, {0.4f, 0.5f, 0.6f}}, {26, {0.7f, 0.8f, 0.9f}},
                {27, {0.15f, 0.25f, 0.35f}}, {28, {12.0f}}, {29, {}}};
    OBJ_draw(o, 0, 0, 0);
    OBJ_draw(o, 0, 0, 1);
    const std::pair<GLenum, std::vector<float>> colours[] = {{GL_AMBIENT, {0.1f, 0.2f, 0.3f, 1}},
                                                             {GL_DIFFUSE, {0.4f, 0.5f, 0.6f, 1}},
                                                             {GL_SPECULAR, {0.7f, 0.8f, 0.9f, 1}},
                                                             {GL_EMISSION, {0.15f, 0.25f, 0.35f, 1}}};
    for (const auto& [which, rgba] : colours) {
        GLfloat got[4];
        glGetMaterialfv(GL_BACK, which, got);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], rgba[size_t(k)], 1e-6f) << which << " " << k;
    }
    GLfloat shiny = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shiny);
    EXPECT_EQ(shiny, 12.0f);
    GLboolean writes = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_FALSE);
    EXPECT_EQ(writes, GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    OBJ_set_draw_state(0);
}

TEST_F(Objects, ACompiledListReplaysLikeTheSamePrimitivesDrawnDirectly)
{
    std::vector<uint8_t> px(64 * 64 * 3);
    for (size_t k = 0; k < px.size(); ++k) px[k] = static_cast<uint8_t>((k * 37) % 251);
    texture_slot(602, 64, 64, px);
    const int o = new_record();
    object_table[size_t(o)].day_tex = 602;
    int i = 0;
    OBJ_add_line(o, 0, i, -8, -6, 0, 8, 6, 0, 1.0f, 0.2f, 0.2f);
    OBJ_add_line(o, 0, i, -8, 6, 0, 8, -6, 0, 0.2f, 1.0f, 0.2f);
    const float quads[2][4][5] = {{{-6, -4, 0, 0, 0}, {-6, 0, 0, 0, 1}, {-1, 0, 0, 1, 1}, {-1, -4, 0, 1, 0}},
                                  {{1, 0, 0, 0.2f, 0.1f}, {1, 5, 0, 0.4f, 0.9f}, {6, 5, 0, 0.9f, 0.7f}, {6, 0, 0, 0.7f, -0.1f}}};
    for (const auto& q : quads) {
        OBJ_add_primitive(o, 0, i, OBJ_QUAD);
        prims(o).push_back({OBJ_NORMAL, {0, 0, 1, 0, 0, 0}});
        for (const auto& v : q) prims(o).push_back({OBJ_VERTEX, {v[0], v[1], v[2], v[3], v[4], 0}});
        prims(o).push_back({OBJ_END, {}});
    }
    OBJ_draw(o, 0, 0, 0);

    plain_view();
    auto picture = [] {
        std::vector<uint8_t> out(1024 * 768 * 4);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    };
    glNormal3f(0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    OGL_reset_bound_textures();
    OBJ_draw(o, 0, 0, 1);
    const std::vector<uint8_t> replayed = picture();

    // The same primitives straight to OpenGL in the same states.
    glNormal3f(0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    OGL_set_state(0, 0, 2, 6, 8, 10);
    const float L = gload_dim_factor;
    glBegin(GL_LINES);
    glColor4f(1.0f * L, 0.2f * L, 0.2f * L, 0.5f), glVertex3f(-8, -6, 0), glVertex3f(8, 6, 0);
    glColor4f(0.2f * L, 1.0f * L, 0.2f * L, 0.5f), glVertex3f(-8, 6, 0), glVertex3f(8, -6, 0);
    glEnd();
    OGL_set_state(0, 1, 2, 6, 8, 10);
    glBindTexture(GL_TEXTURE_2D, 602);
    glBegin(GL_QUADS);
    for (const auto& q : quads) {
        glNormal3f(0, 0, 1);
        for (const auto& v : q) glTexCoord2f(v[3], v[4]), glVertex3f(v[0], v[1], v[2]);
    }
    glEnd();
    const std::vector<uint8_t> direct = picture();

    size_t lit = 0;
    for (size_t k = 0; k < direct.size(); k += 4) lit += direct[k] || direct[k + 1] || direct[k + 2];
    EXPECT_GT(lit, 1000u);
    size_t differ = 0, first = 0;
    for (size_t k = 0; k < direct.size(); ++k)
        if (replayed[k] != direct[k]) {
            if (!differ) first = k;
            ++differ;
        }
    EXPECT_EQ(differ, 0u) << "first at texel " << first / 4 << ": " << int(replayed[first]) << " against "
                          << int(direct[first]);
    OGL_set_state(1, 0, 3, 4, 8, 10);
}
