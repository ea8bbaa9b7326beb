// The terrain pass: the cover a cell grows, the same in every frame; its
// lights, movie screens, road cars, tree crosses and the figures along
// airport borders.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "scene/airport/worldobj.h"
#include "scene/effects/particles.h"
#include "scene/terrain/ground_cells.h"
#include "tests/scene/terrain/ground_fixture.h"

namespace {

constexpr int TEX = 7;
constexpr int32_t CODE = 5;   // the land use that draws TEX

class TerrainPass : public Ground {
protected:
    void SetUp() override
    {
        Ground::SetUp();
        landuse_code_texture[CODE] = TEX;
        for (int i = 195; i <= 205; ++i)
            for (int j = 195; j <= 205; ++j) landuse_grid[TERRAIN_index(i, j)] = CODE;
        view_footprint[0] = {-5000, 5000}, view_footprint[1] = {-5000, -5000};
        view_footprint[2] = {5000, -5000}, view_footprint[3] = {5000, 5000};
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        object_table.resize(objects_before_);
        Ground::TearDown();
    }

    // An object record of the test: a 10 m square at its origin in a display
    // list, near to far bounds in metres, and its special items.
    int make_object(std::vector<object_primitive> items, float far_m = 10000.0f)
    {
        scenery_object_record r{};
        std::snprintf(r.name, sizeof r.name, "test object %zu", object_table.size());
        r.day_tex = r.lit_tex = OBJ_NO_TEXTURE;
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-5, 1, -5), glVertex3f(5, 1, -5), glVertex3f(5, 1, 5), glVertex3f(-5, 1, 5);
        glEnd();
        glEndList();
        r.groups.push_back(lod_group{list, list, 0.0f, far_m * far_m, std::move(items)});
        object_table.push_back(std::move(r));
        return static_cast<int>(object_table.size()) - 1;
    }

    static cover_definition def(float x, float z, float chance, float spread = 0.0f)
    {
        cover_definition d{};
        d.x = x, d.z = z, d.chance = chance, d.spread = spread;
        return d;
    }

    size_t objects_before_ = object_table.size();
};

std::vector<float> flatten(const fed_back& f)
{
    std::vector<float> out;
    for (const auto& p : f.polygons)
        for (const fed_vertex& v : p) out.insert(out.end(), {v.x, v.y, v.z, v.s, v.t});
    return out;
}

}  // namespace

TEST_F(TerrainPass, ACellShowsTheSameCoverEveryFrameAndWhenTheCameraComesBack)
{
    const int house = make_object({});
    cover_entry& e = cover_table[TEX];
    for (int k = 0; k < 6; ++k) {
        cover_definition o = def(0.1f + 0.15f * k, 0.5f, 0.6f, 0.2f);
        o.first_object = o.last_object = house;
        e.lists[COVER_OBJECTS].push_back(o);
        cover_definition t = def(0.5f, 0.1f + 0.15f * k, 0.7f, 0.3f);
        t.picture = k * 9;
        e.lists[COVER_TREES].push_back(t);
    }
    sim_graphics_settings.autogen_distance = 2;
    const std::vector<float> first = flatten(feedback([] { TERRAIN_draw(); }));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(flatten(feedback([] { TERRAIN_draw(); })), first);

    // The camera goes away (the cells leave the cover window), then comes back.
    camera_cell = {100, 100};
    EXPECT_NE(flatten(feedback([] { TERRAIN_draw(); })), first);
    camera_cell = {200, 200};
    EXPECT_EQ(flatten(feedback([] { TERRAIN_draw(); })), first);

    // Level 0 grows nothing; the placed obstacles stay.
    sim_graphics_settings.autogen_level = 0;
    EXPECT_TRUE(feedback([] { TERRAIN_draw(); }).polygons.empty());
    placement_list.push_back({house, 30.0f, 0.0f, -30.0f, 0.0f, 0});
    const fed_back obstacle = feedback([] { TERRAIN_draw(); });
    EXPECT_EQ(placement_list[0].visible, 1);
    EXPECT_FALSE(obstacle.polygons.empty());
    sim_graphics_settings.draw_obstacles = 0;
    EXPECT_TRUE(feedback([] { TERRAIN_draw(); }).polygons.empty());
}

TEST_F(TerrainPass, DefinitionsStandWhereTheirCellsDrawsPutThemTakenByTheLevelsStride)
{
    // Cell (199, 201) alone, its corner at (-150, -50), 100 m across (x east,
    // z south). Six objects at the cell's middle with a spread of 0.2: the
    // chance draw of definition k is R[(k + 199 x 201) mod 10000], that is
    // R[9999] for k 0 and R[k - 1] after it; the offsets are R[400 + k] across
    // and R[401 + k] along. Level L takes every (6 - L)th definition.
    std::vector<float> saved(std::begin(random_table), std::end(random_table));
    std::fill(std::begin(random_table), std::end(random_table), 0.95f);
    for (int r : {9999, 0, 1, 2, 3, 4}) random_table[r] = 0.2f;
    random_table[3] = 0.5f;   // definition 4 draws exactly its chance: not placed
    const float offsets[7] = {0.75f, 0.25f, 0.5f, 0.5f, 0.9f, 0.1f, 0.3f};
    for (int m = 0; m < 7; ++m) random_table[400 + m] = offsets[m];
    const int house = make_object({});
    for (int k = 0; k < 6; ++k) {
        cover_definition o = def(0.5f, 0.5f, 0.5f, 0.2f);
        o.first_object = o.last_object = house;
        cover_table[TEX].lists[COVER_OBJECTS].push_back(o);
    }
    camera_cell = {199, 201};
    sim_graphics_settings.autogen_distance = 0;
    // x = -150 + (0.5 + (2 R - 1) 0.2) 100, z = -50 - (0.5 + (2 R' - 1) 0.2) 100.
    const std::array<float, 2> at[6] = {{-90, -90}, {-110, -100}, {-100, -100}, {-100, -116}, {-84, -84}, {-116, -92}};
    const struct {
        int level;
        std::vector<int> ks;
    } rows[] = {{5, {0, 1, 2, 3, 5}}, {4, {0, 2}}, {3, {0, 3}}, {2, {0}}, {1, {0, 5}}};
    for (const auto& r : rows) {
        sim_graphics_settings.autogen_level = r.level;
        std::vector<std::array<float, 2>> seen;
        for (const auto& p : feedback([] { TERRAIN_draw(); }).polygons) {
            float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
            for (const fed_vertex& v : p) x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
            const std::array<float, 2> c = {std::round(0.5f * (x0 + x1)), std::round(0.5f * (z0 + z1))};
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
        }
        std::vector<std::array<float, 2>> want;
        for (int k : r.ks) want.push_back(at[k]);
        std::sort(seen.begin(), seen.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(seen, want) << "level " << r.level;
    }
    std::copy(saved.begin(), saved.end(), random_table);
}

// The first level of detail whose bounds hold the distance, both ends
// included, is drawn: the near one (0..100 m) puffs black smoke, the far one
// (100..1000 m) white; at 100 m both hold it and the first wins.
TEST_F(TerrainPass, TheFirstLevelOfDetailHoldingTheDistanceIsDrawn)
{
    const int o = make_object({{OBJ_SMOKE_BLACK, {0, 0, 0, 1}}}, 100.0f);
    object_table[size_t(o)].groups.push_back(
        lod_group{0, 0, 100.0f * 100.0f, 1000.0f * 1000.0f, {{OBJ_SMOKE_WHITE, {0, 0, 0, 1}}}});
    interval_ticks[INTERVAL_TWO_SECONDS] = 1;
    const struct {
        float distance;
        int colour;   // -1: nothing drawn
    } rows[] = {{0.0f, 29}, {100.0f, 29}, {100.5f, 0}, {1000.0f, 0}, {1000.5f, -1}};
    for (const auto& r : rows) {
        particle_list.clear();
        sim_graphics_view.view_x = 100.0f + r.distance, sim_graphics_view.view_y = 20.0f;
        sim_graphics_view.view_z = 200.0f;
        TERRAIN_draw_object(o, 100.0f, 20.0f, 200.0f, 0.0f);
        EXPECT_EQ(particle_list.empty() ? -1 : particle_list[0].color, r.colour) << r.distance;
    }
}

TEST_F(TerrainPass, LightCodesFlashPulseAndCycle)
{
    float r, g, b;
    r = 0.5f, g = 0.5f, b = 0.5f;
    EXPECT_EQ(TERRAIN_light_color(0, 0, r, g, b), 1);
    EXPECT_EQ(r, 0.5f);
    // A flashing light shows for a tenth of each second, in its own colour.
    int shown = 0;
    for (int n = 0; n < 1000; ++n) {
        sim_network_misc.network_time_sec = 0.01f * n + 0.005f;
        r = -1.0f, g = 0.0f, b = 0.0f;
        if (TERRAIN_light_color(0, 0, r, g, b)) {
            ++shown;
            EXPECT_EQ(r, 1.0f);
        }
    }
    EXPECT_EQ(shown, 100);
    // The traffic light: 4 s green, 2 s yellow, 4 s red, phased by x.
    int green = 0, yellow = 0, red = 0;
    for (int n = 0; n < 100; ++n) {
        sim_network_misc.network_time_sec = 0.1f * n + 0.05f;
        r = 9.7f, g = 0.0f, b = 0.0f;
        EXPECT_EQ(TERRAIN_light_color(0, 0, r, g, b), 1);
        green += r == 0.0f && g == 1.0f;
        yellow += r == 1.0f && g == 1.0f;
        red += r == 1.0f && g == 0.0f;
    }
    EXPECT_EQ(green, 40);
    EXPECT_EQ(yellow, 20);
    EXPECT_EQ(red, 40);
    sim_network_misc.network_time_sec = 0.5f;
    r = 9.7f;
    TERRAIN_light_color(4.0f, 0, r, g, b);
    EXPECT_EQ(g, 1.0f);   // 4.5 s into its cycle: yellow
    EXPECT_EQ(r, 1.0f);
    r = 9.9f;
    TERRAIN_light_color(2.0f, 0, r, g, b);
    EXPECT_FLOAT_EQ(r, UTIL_time_pulse(2.0f));
    EXPECT_EQ(g + b, 0.0f);
}

// Smoke rises from the emitter's offset turned by the object's heading, only
// on the two-second tick; flashes and strobes keep the phase of their place.
TEST_F(TerrainPass, SmokeRisesFromItsTurnedOffsetAndFlashesKeepTheirPhase)
{
    // Black: 1 m along the object's x, 2 m up, size 0.5. White: 3 m along its
    // z, size 2. A size of 0.05 lives 0.5 s, under the one-second least.
    const int stack = make_object(
        {{OBJ_SMOKE_BLACK, {1, 2, 0, 0.5f}}, {OBJ_SMOKE_WHITE, {0, 0, 3, 2}}, {OBJ_SMOKE_WHITE, {0, 0, 0, 0.05f}}});
    sim_graphics_view.view_x = 100.0f, sim_graphics_view.view_y = 20.0f, sim_graphics_view.view_z = 200.0f;
    particle_list.clear();
    interval_ticks[INTERVAL_TWO_SECONDS] = 0;
    TERRAIN_draw_object(stack, 100.0f, 20.0f, 200.0f, 90.0f);
    EXPECT_TRUE(particle_list.empty());
    interval_ticks[INTERVAL_TWO_SECONDS] = 1;
    TERRAIN_draw_object(stack, 100.0f, 20.0f, 200.0f, 90.0f);
    // Heading 90: the offset (1, 0, 0) lands at (0, 0, +1), (0, 0, 3) at (-3, 0, 0).
    const struct {
        float x, y, z;
        int color;
        float rise, life;
    } puffs[] = {{100.0f, 22.0f, 201.0f, 29, 0.5f, 5.0f}, {97.0f, 20.0f, 200.0f, 0, 2.0f, 20.0f}};
    ASSERT_EQ(particle_list.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        const particle_record& p = particle_list[k];
        EXPECT_NEAR(p.x, puffs[k].x, 1e-3f) << k;
        EXPECT_NEAR(p.y, puffs[k].y, 1e-3f) << k;
        EXPECT_NEAR(p.z, puffs[k].z, 1e-3f) << k;
        EXPECT_EQ(p.color, puffs[k].color);
        EXPECT_EQ(p.floor_y, 20.0f);
        EXPECT_EQ(p.vx, 0.0f);
        EXPECT_GE(p.vy, 0.85f * puffs[k].rise);
        EXPECT_LE(p.vy, 1.15f * puffs[k].rise);
        EXPECT_GE(p.life, 0.85f * puffs[k].life);
        EXPECT_LE(p.life, 1.15f * puffs[k].life);
    }

    // Network time t and place: a flash (red -1) shows when t x 10 + z rounds
    // to a multiple of ten, a strobe (9.8) when t x 10 + x does.
    const struct {
        float red, t, x, z;
        int shown;
    } flashes[] = {{-1.0f, 0.7f, 0.0f, 3.0f, 1}, {-1.0f, 0.7f, 3.0f, 0.0f, 0}, {9.8f, 1.04f, 0.0f, 0.0f, 1},
                   {9.8f, 1.06f, 0.0f, 0.0f, 0}, {9.8f, 0.7f, 3.0f, 0.0f, 1},  {9.8f, 0.7f, 0.0f, 3.0f, 0}};
    for (const auto& f : flashes) {
        sim_network_misc.network_time_sec = f.t;
        float r = f.red, g = 0.0f, b = 0.0f;
        EXPECT_EQ(TERRAIN_light_color(f.x, f.z, r, g, b), f.shown) << f.red << " at " << f.t << " s, x " << f.x;
        if (f.red > 9.0f) {
            EXPECT_EQ(r + g + b, 3.0f);
        }
    }
}

TEST_F(TerrainPass, MovieFramesRunAtThreeASecondAndHoldTheLast)
{
    const struct {
        float clock;
        int frame;
    } rows[] = {{0.0f, 0}, {1.0f, 3}, {11.2f, 34}, {12.5f, 34}, {13.4f, 0}, {-5.0f, 0}, {NAN, 0}};
    for (const auto& r : rows) {
        float rect[4];
        TERRAIN_movie_frame(r.clock, rect);
        EXPECT_NEAR(rect[0], (r.frame % 5) * 204.0f / 1024.0f, 1e-6f) << r.clock;
        EXPECT_NEAR(rect[1] - rect[0], 204.0f / 1024.0f, 1e-6f);
        EXPECT_NEAR(rect[2], (r.frame / 5) * 146.0f / 1024.0f, 1e-6f) << r.clock;
    }
    float rect[4];
    TERRAIN_movie_frame(12.5f, rect);
    EXPECT_NEAR(rect[0], 0.797f, 5e-4f);
    EXPECT_NEAR(rect[1], 0.996f, 5e-4f);
}

TEST_F(TerrainPass, LoopCarsGoOnRoundTheirLoop)
{
    std::vector<cover_definition>& road = cover_table[TEX].lists[COVER_ROAD];
    road = {def(0.1f, 0.1f, 1), def(0.9f, 0.1f, 1), def(0.5f, 0.9f, 1), def(0.2f, 0.5f, 1), def(0.2f, 0.5f, 1)};
    const int32_t next[5] = {1, 2, 0, 4, 3};
    for (int n = 0; n < 5; ++n) road[size_t(n)].next = next[n], road[size_t(n)].segment_start = n;
    // Car 0 at 0.99 of its 400 m segment, braking: a step of 0.04 takes it to 1.03.
    road[0].progress = 0.99f;
    road[0].heading = 90.0f;
    const float step = 15.0f / 400.0f * ((0.99f - 0.75f) * -3.6f + 1.0f);
    sim_operation_misc.frame_rate_period = 0.04f / step;
    TERRAIN_draw();
    EXPECT_EQ(road[0].segment_start, 1);
    EXPECT_NEAR(road[0].progress, 0.03f, 1e-4f);
    EXPECT_EQ(road[0].brake_flag, 1);
    // Car 3's segment has no length: it goes on to the next waypoint.
    EXPECT_EQ(road[3].segment_start, 4);
    // Links outside the list leave a car where it is.
    road[1].next = 99;
    road[1].segment_start = 1;
    const float before = road[1].progress;
    TERRAIN_draw();
    EXPECT_EQ(road[1].progress, before);
}

// One frame of a car, worked by hand: 15 m/s over a segment of 400 m (cells
// of 500 m), a tenth of that at the ends, braking past 0.75, the turn signal
// after 0.85 toward the next segment's side, and at most 45 degrees a second
// of turning.
TEST_F(TerrainPass, RoadCarsSpeedSignalAndTurnByTheirPlaceOnTheSegment)
{
    std::vector<cover_definition>& road = cover_table[TEX].lists[COVER_ROAD];
    const struct {
        int car;
        float progress, heading, dt;
        float new_progress, new_heading, car_x;
        int brake, signal;
    } rows[] = {
        {0, 0.1f, 90.0f, 1.0f, 0.1f + 0.0375f * 0.46f, 90.0f, 0.18f, 0, 1},   // pulling away
        {0, 0.5f, 0.0f, 1.0f, 0.5375f, 45.0f, 0.5f, 0, 1},                    // full speed, turning 45 of 90
        {0, 0.5f, 350.0f, 0.5f, 0.51875f, 12.5f, 0.5f, 0, 1},                 // across north, 22.5 in half a second
        {0, 0.8f, 90.0f, 1.0f, 0.8f + 0.0375f * 0.82f, 90.0f, 0.74f, 1, 1},   // braking, no signal up to 0.85
        {0, 0.9f, 90.0f, 1.0f, 0.9f + 0.0375f * 0.46f, 90.0f, 0.82f, 1, 0},   // braking, the next leg to the left
        {3, 0.9f, 26.565051f, 1.0f, 0.9f + 15.0f / 447.21359f * 0.46f, 26.565051f, 0.46f, 1, 2},   // to the right
    };
    for (const auto& r : rows) {
        // Two loops round the same three points, one each way.
        road = {def(0.1f, 0.1f, 1), def(0.9f, 0.1f, 1), def(0.5f, 0.9f, 1),
                def(0.1f, 0.1f, 1), def(0.5f, 0.9f, 1), def(0.9f, 0.1f, 1)};
        const int32_t next[6] = {1, 2, 0, 4, 5, 3};
        for (int n = 0; n < 6; ++n) road[size_t(n)].next = next[n], road[size_t(n)].segment_start = n;
        cover_definition& car = road[size_t(r.car)];
        car.progress = r.progress, car.heading = r.heading;
        sim_operation_misc.frame_rate_period = r.dt;
        TERRAIN_draw();
        EXPECT_NEAR(car.progress, r.new_progress, 1e-5f) << "row " << &r - rows;
        EXPECT_NEAR(car.heading, r.new_heading, 1e-3f) << "row " << &r - rows;
        EXPECT_NEAR(car.car_x, r.car_x, 1e-5f) << "row " << &r - rows;
        EXPECT_EQ(car.brake_flag, r.brake) << "row " << &r - rows;
        EXPECT_EQ(car.turn_flag, r.signal) << "row " << &r - rows;
    }
}

// Cell (199, 201), its middle at (-100, -100): a night light 6 m up, lifted
// by 1 m + 0.02 of the camera's 1,000 m over the ground; a forest patch of
// 200 m whose six canopy layers lie 3, 6 ... 18 m up, the lowest shifted
// 15 m away from a sun in the east; obstacles kept while their 1,000-m circle
// reaches the footprint (5,000 m east of the origin).
TEST_F(TerrainPass, NightLightsCanopyLayersAndTheObstaclesReach)
{
    struct light_log : bind_recorder {
        std::vector<light_call> lights;
        void bound(int, int) override {}
        void light(const light_call& c) override { lights.push_back(c); }
    } log;
    cover_definition lamp = def(0.5f, 0.5f, 1.0f);
    lamp.light_height = 6.0f;
    cover_table[TEX].lists[COVER_LIGHTS].push_back(lamp);
    cover_table[TEX].lists[COVER_FOREST].push_back(def(0.5f, 0.5f, 1.0f));
    camera_cell = {199, 201};
    sim_graphics_settings.autogen_distance = 0;
    sim_graphics_scenery.percent_lights_on = 1.0f;
    sim_graphics_scenery.sun_azimuth = 90.0f;
    sim_graphics_scenery.sun_declination = 0.0f;
    scene_ground_elevation = 0.0f;
    for (const float x : {5800.0f, 6100.0f}) placement_list.push_back({make_object({}), x, 0.0f, 0.0f, 0.0f, 0});

    OGL_install_bind_recorder(&log);
    const fed_back f = feedback([] { TERRAIN_draw(); });
    OGL_install_bind_recorder(nullptr);
    ASSERT_EQ(log.lights.size(), 1u);
    EXPECT_NEAR(log.lights[0].y - COVER_height_in_cell(199, 201, -100.0f, -100.0f), 6.0f + 21.0f, 1e-3f);
    EXPECT_EQ(placement_list[0].visible, 1);
    EXPECT_EQ(placement_list[1].visible, 0);

    ASSERT_EQ(f.polygons.size(), 12u);   // each layer's quad fed back as two triangles
    for (size_t L = 0; L < 6; ++L) {
        const float dx = L == 0 ? -15.0f : 0.0f;
        float x0 = 1e9f;
        for (const size_t n : {2 * L, 2 * L + 1})
            for (const fed_vertex& v : f.polygons[n]) {
                x0 = std::min(x0, v.x);
                EXPECT_NEAR(v.y - COVER_height_in_cell(199, 201, v.x - dx, v.z), 3.0f * L + 3.0f, 1e-2f) << L;
            }
        EXPECT_NEAR(x0, -200.0f + dx, 1e-2f) << L;
    }
}

// The globe's lean: at 60 degrees (lat_ref 59 + 1) the east factor is
// 1 / (0.5 x 111,120) and the north factor -1 / 111,120 degrees a metre.
// 100 km east an object turns by -1.79986 degrees about z, so the east edge
// of its 10-m square lies 10 sin 1.79986 = 0.31410 m below the west edge;
// 100 km north it turns by -0.89993 degrees about x, the north edge
// 10 sin 0.89993 = 0.15707 m below the south one. Drawn alone or gathered.
TEST_F(TerrainPass, ObjectsFarOutLeanWithTheGlobe)
{
    const float kept_lat = lat_ref;
    lat_ref = 59.0f;
    TERRAIN_draw();
    EXPECT_NEAR(terrain_tilt.east_factor, 1.0f / 55560.0f, 1e-10f);
    EXPECT_NEAR(terrain_tilt.north_factor, -1.0f / 111120.0f, 1e-10f);
    lat_ref = kept_lat;
    const int box = make_object({}, 200000.0f);
    // Its compiled square as the gathering drawer reads it.
    auto vertex = [](float x, float z) { return object_primitive{OBJ_VERTEX, {x, 1.0f, z, 0, 0, 0}}; };
    object_table[size_t(box)].groups[0].static_prims = {{OBJ_QUAD, {}},  {OBJ_NORMAL, {0, 1, 0}}, vertex(-5, -5),
                                                        vertex(5, -5),   vertex(5, 5),            vertex(-5, 5),
                                                        {OBJ_END, {}}};
    const struct {
        float x, z, drop_east, drop_north;
    } rows[] = {{100000.0f, 0.0f, 0.31410f, 0.0f}, {0.0f, -100000.0f, 0.0f, 0.15707f}};
    for (const auto& r : rows)
        for (const bool gathered : {false, true}) {
            top_down(r.x, r.z);
            const auto draw = [&] {
                if (gathered) TERRAIN_objects_begin();
                TERRAIN_draw_object(box, r.x, 0.0f, r.z, 0.0f);
                if (gathered) TERRAIN_objects_end();
            };
            // Mean heights of the four corners on each side (the quad comes back as triangles).
            std::vector<fed_vertex> corners;
            for (const auto& p : feedback(draw).polygons)
                for (const fed_vertex& v : p)
                    if (std::none_of(corners.begin(), corners.end(), [&](const fed_vertex& c) {
                            return std::fabs(c.x - v.x) + std::fabs(c.z - v.z) < 1.0f;
                        }))
                        corners.push_back(v);
            ASSERT_EQ(corners.size(), 4u);
            float sum[4] = {}, n[4] = {};   // east, west, north, south
            for (const fed_vertex& v : corners) {
                const bool side[4] = {v.x > r.x + 4.0f, v.x < r.x - 4.0f, v.z < r.z - 4.0f, v.z > r.z + 4.0f};
                for (int k = 0; k < 4; ++k) sum[k] += side[k] ? v.y : 0.0f, n[k] += side[k] ? 1.0f : 0.0f;
            }
            ASSERT_GT(n[0] * n[1] * n[2] * n[3], 0.0f);
            EXPECT_NEAR(sum[1] / n[1] - sum[0] / n[0], r.drop_east, 2e-3f) << r.x << " " << gathered;
            EXPECT_NEAR(sum[3] / n[3] - sum[2] / n[2], r.drop_north, 2e-3f) << r.z << " " << gathered;
        }
}

TEST_F(TerrainPass, TreesAreTwoCrossedQuadsFromTheirAtlasCell)
{
    look(0.0f, 7.0f, 0.0f, 0.0f, 30.0f);   // level, from a little west of south: both quads face the view
    // Atlas cells by column (index mod 8) and row (index div 8 of index mod 64).
    for (const auto& [index, s0, t0] :
         {std::tuple{9, 0.125f, 0.125f}, {10, 0.25f, 0.125f}, {64, 0.0f, 0.0f}, {63, 0.875f, 0.875f}}) {
        const fed_back f = feedback([&] {
            glBegin(GL_QUADS);
            TERRAIN_draw_tree(10.0f, 0.0f, -20.0f, index);
            glEnd();
        });
        float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f, y1 = -1e9f, s_lo = 1e9f, t_lo = 1e9f, t_hi = -1e9f;
        for (const auto& p : f.polygons)
            for (const fed_vertex& v : p) {
                x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y1 = std::max(y1, v.y);
                z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
                s_lo = std::min(s_lo, v.s), t_lo = std::min(t_lo, v.t), t_hi = std::max(t_hi, v.t);
                // The picture stands upright: its lower edge at the foot.
                EXPECT_NEAR(v.t, v.y < 7.0f ? t0 : t0 + 0.125f, 1e-6f) << index << " at height " << v.y;
                // Every corner 7 m along x or along z from the foot, at the foot or 14 m up;
                // s0 on the west and north ends, s0 + 1/8 on the east and south.
                const float dx = v.x - 10.0f, dz = v.z + 20.0f;
                EXPECT_NEAR(std::min(std::fabs(dx), std::fabs(dz)), 0.0f, 1e-2f);
                EXPECT_NEAR(std::fabs(dx) + std::fabs(dz), 7.0f, 1e-2f);
                EXPECT_NEAR(std::min(std::fabs(v.y), std::fabs(v.y - 14.0f)), 0.0f, 1e-2f);
                EXPECT_NEAR(v.s, dx + dz < 0.0f ? s0 : s0 + 0.125f, 1e-6f);
            }
        // 14 m wide each way about its foot, 14 m tall.
        EXPECT_NEAR(x0, 3.0f, 1e-2f);
        EXPECT_NEAR(x1, 17.0f, 1e-2f);
        EXPECT_NEAR(z0, -27.0f, 1e-2f);
        EXPECT_NEAR(z1, -13.0f, 1e-2f);
        EXPECT_NEAR(y1, 14.0f, 1e-2f);
        EXPECT_NEAR(s_lo, s0, 1e-6f) << index;
        EXPECT_NEAR(t_lo, t0, 1e-6f) << index;
        EXPECT_NEAR(t_hi, t0 + 0.125f, 1e-6f) << index;
    }
}

TEST_F(TerrainPass, FiguresStandAlongAirportBordersOnTheEarthOnly)
{
    // One airport cell (200, 201): a figure on each of its four sides. Water at a corner: none.
    sim_graphics_settings.autogen_level = 0;
    terrain_airport_cell[TERRAIN_index(200, 201)] = 1;
    const float kept_r = random_table[851];
    random_table[851] = 0.25f;   // (200 + 451 x 201) mod 10000: a quarter along each side
    LIGHTS_fraction();
    TERRAIN_draw();
    EXPECT_EQ(light_count, 4);
    // Side by side: edge A -> B, the figure 5 m outside, facing in.
    const auto V = [](int i, int j) { return terrain_vertex_grid[TERRAIN_index(i, j)]; };
    const struct {
        int ai, aj, bi, bj;
        float dx, dz, heading;
    } sides[] = {{200, 202, 201, 202, 0, -5, 180}, {201, 202, 201, 201, 5, 0, 270},
                 {201, 201, 200, 201, 0, 5, 0},    {200, 201, 200, 202, -5, 0, 90}};
    for (const auto& sd : sides) {
        const auto a = V(sd.ai, sd.aj), b = V(sd.bi, sd.bj);
        const auto it = std::find_if(light_queue.begin(), light_queue.begin() + light_count,
                                     [&](const light_record& l) { return l.heading == sd.heading; });
        ASSERT_NE(it, light_queue.begin() + light_count) << sd.heading;
        EXPECT_NEAR(it->x, a.x + 0.25f * (b.x - a.x) + sd.dx, 1e-3f) << sd.heading;
        EXPECT_NEAR(it->z, a.z + 0.25f * (b.z - a.z) + sd.dz, 1e-3f) << sd.heading;
    }
    // The figure itself stands a fifth of the way out, 1 m past the border: the
    // feet of its two legs (the only corners at the ground) centre there.
    const auto p0 = V(200, 202);
    look(p0.x, p0.y, p0.z, 0.0f, 0.0f);
    const fed_back drawn = feedback([] { TERRAIN_draw(); });
    for (const auto& sd : sides) {
        const auto a = V(sd.ai, sd.aj), b = V(sd.bi, sd.bj);
        const float px = a.x + 0.25f * (b.x - a.x), py = a.y + 0.25f * (b.y - a.y), pz = a.z + 0.25f * (b.z - a.z);
        float sx = 0.0f, sz = 0.0f;
        int feet = 0;
        for (const auto& poly : drawn.polygons)
            for (const fed_vertex& v : poly)
                if (std::fabs(v.y - py) < 0.01f && std::hypot(v.x - px, v.z - pz) < 3.0f) sx += v.x, sz += v.z, ++feet;
        ASSERT_GT(feet, 0) << sd.heading;
        EXPECT_NEAR(sx / feet, px + 0.2f * sd.dx, 0.02f) << sd.heading;
        EXPECT_NEAR(sz / feet, pz + 0.2f * sd.dz, 0.02f) << sd.heading;
    }
    random_table[851] = kept_r;
    landuse_grid[TERRAIN_index(201, 201)] = LANDUSE_WATER_A;
    LIGHTS_fraction();
    TERRAIN_draw();
    EXPECT_EQ(light_count, 0);
    landuse_grid[TERRAIN_index(201, 201)] = CODE;
    sim_graphics_scenery.current_planet = PLANET_MARS;
    LIGHTS_fraction();
    TERRAIN_draw();
    EXPECT_EQ(light_count, 0);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    // At the grid's corner the sides beyond the grid get no figure.
    terrain_window = {0, 0, 3, 3};
    camera_cell = {0, 0};
    cell_visible[TERRAIN_index(0, 0)] = 1;
    terrain_airport_cell[TERRAIN_index(0, 0)] = 1;
    sim_graphics_view.view_x = terrain_vertex_grid[0].x, sim_graphics_view.view_z = terrain_vertex_grid[0].z;
    LIGHTS_fraction();
    TERRAIN_draw();
    EXPECT_EQ(light_count, 2);
}

// Objects of plain faces are drawn from one vertex array per texture pair,
// kept between frames: the picture of each object's own list, one bind of the
// shared texture, and faces that follow a placement when it moves (as every
// placement does when the origin shifts).
TEST_F(TerrainPass, GatheredObjectsDrawThePictureOfTheirListsFromOneKeptArray)
{
    solid_texture(TEX_SLOT_BUILDINGS, 200, 180, 160);
    solid_texture(TEX_SLOT_SURFACES, 120, 120, 120);
    const std::string n = std::to_string(object_table.size());
    const int block = OBJ_build_obs(0, 0, 0, 20.0f, ("gathered block " + n).c_str(), 2, 1);   // four walls and a roof
    const int beacon = OBJ_build_obs(0, 0, 0, 0.0f, ("gathered beacon " + n).c_str(), 9, 1);   // a mast and wires
    const std::string keys[2] = {object_table[static_cast<size_t>(block)].name, object_table[static_cast<size_t>(beacon)].name};
    sim_graphics_settings.autogen_level = 0;
    placement_list = {{block, 40.0f, 2.0f, -30.0f, 30.0f, 0},
                      {beacon, 0.0f, 0.0f, 0.0f, 15.0f, 0},
                      {block, -60.0f, 5.0f, 50.0f, 120.0f, 0}};
    look(0.0f, 0.0f, 0.0f, 35.0f, 20.0f);   // from above the south, so the walls show
    // A sun from the south-east, so that every wall is lit its own way.
    glPushMatrix();
    glLoadIdentity();
    const GLfloat sun[4] = {0.4f, 0.8f, 0.3f, 0.0f}, white[4] = {0.8f, 0.8f, 0.8f, 1.0f}, grey[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glFogi(GL_FOG_MODE, GL_LINEAR);   // no fog this near
    glFogf(GL_FOG_START, 1.0e6f);
    glFogf(GL_FOG_END, 2.0e6f);
    glPopMatrix();

    const auto picture = [](auto&& draw) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        return window_pixels(GL_BACK);
    };
    const auto own_lists = [&] {
        return picture([] {
            // As the pass draws objects: flat shading, a little off the ground.
            TERRAIN_draw();   // the globe's lean of this grid
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glShadeModel(GL_FLAT);
            OGL_polygon_offset(1);
            for (const object_placement& p : placement_list) TERRAIN_draw_object(p.object, p.x, p.y, p.z, p.heading);
            OGL_polygon_offset(0);
            glShadeModel(GL_SMOOTH);
        });
    };
    const auto gathered = [&] { return picture([] { TERRAIN_draw(); }); };
    const std::vector<unsigned char> expected = own_lists();
    size_t lit = 0;   // pixels with any colour
    for (size_t k = 0; k + 3 < expected.size(); k += 4) lit += expected[k] + expected[k + 1] + expected[k + 2] > 0 ? 1 : 0;
    ASSERT_GT(lit, 300u);
    bind_recording binds;
    EXPECT_TRUE(gathered() == expected);
    EXPECT_EQ(TERRAIN_objects_batched(), 2);
    EXPECT_EQ(std::count_if(binds.binds.begin(), binds.binds.end(),
                            [](const tex_bind_request& b) { return b.slot == TEX_SLOT_BUILDINGS; }),
              1);

    // The same frame again, then one placement 100 m east.
    EXPECT_TRUE(gathered() == expected);
    placement_list[0].x += 100.0f;
    const std::vector<unsigned char> moved = own_lists();
    EXPECT_FALSE(moved == expected);
    EXPECT_TRUE(gathered() == moved);
    for (const std::string& k : keys) object_index.erase(k);
}

// One airport cell 300 m square gets a 4-m fence on each of its four sides,
// fading by 0.0004 a metre from the camera to each side's first point: seen
// from 200 m west of its north-west corner, the west and north sides (from
// that corner, 200 m) at 0.92, the east side (from the north-east corner,
// 500 m) at 0.8, the south side (from the south-west corner, 360.56 m) at 0.85578.
TEST_F(TerrainPass, AirportCellFencesFadeFromTheCamera)
{
    const int corners[4] = {TERRAIN_index(200, 200), TERRAIN_index(200, 201), TERRAIN_index(201, 201), TERRAIN_index(201, 200)};
    const terrain_vertex at[4] = {{0, 5, 0}, {0, 5, 300}, {300, 5, 300}, {300, 5, 0}};
    terrain_vertex saved[4];
    for (int k = 0; k < 4; ++k) saved[k] = terrain_vertex_grid[corners[k]], terrain_vertex_grid[corners[k]] = at[k];
    terrain_airport_cell[corners[0]] = 1;
    look(150.0f, 0.0f, 150.0f, 30.0f, 30.0f);
    sim_graphics_view.view_x = -200.0f, sim_graphics_view.view_z = 0.0f;
    const fed_back f = feedback([] { WORLDOBJ_draw_fences(); });
    const struct {
        float x, z, alpha;
    } sides[4] = {{0, 150, 0.92f}, {150, 0, 0.92f}, {300, 150, 0.8f}, {150, 300, 0.855778f}};
    int found[4] = {};
    for (const auto& p : f.polygons) {
        float x = 0, z = 0, lo = 1e9f, hi = -1e9f;
        for (const fed_vertex& v : p) x += v.x, z += v.z, lo = std::min(lo, v.y), hi = std::max(hi, v.y);
        x /= static_cast<float>(p.size()), z /= static_cast<float>(p.size());
        EXPECT_NEAR(lo, 5.0f, 1e-2f);
        EXPECT_NEAR(hi, 9.0f, 1e-2f);
        for (int k = 0; k < 4; ++k)
            if (std::fabs(x - sides[k].x) < 100.0f && std::fabs(z - sides[k].z) < 100.0f) {
                ++found[k];
                for (const fed_vertex& v : p) EXPECT_NEAR(v.rgba[3], sides[k].alpha, 1e-3f) << k;
            }
    }
    for (int k = 0; k < 4; ++k) EXPECT_GT(found[k], 0) << k;
    for (int k = 0; k < 4; ++k) terrain_vertex_grid[corners[k]] = saved[k];
}
