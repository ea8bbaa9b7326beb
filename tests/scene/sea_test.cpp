// The ships and platforms through their pass: the models, the ball, the
// lights each object shows at night and by day, and the wakes. (What they
// carry is the simulation's: tests/flightmodel/surface_under_plane_test.cpp.)
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "core/random.h"
#include "graphics/ogl_bind_seam.h"
#include "scene/drawers.h"
#include "scene/sea/sea.h"
#include "scene/sea/ship_tables.h"
#include "scene/effects/trails.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/damaged_ships.h"
#include "tests/support/gl_view.h"
#include "world/landuse_grid.h"
#include "world/terrain_grid.h"

namespace {

struct light_log : bind_recorder {
    std::vector<light_call> lights;
    void bound(int, int) override {}
    void light(const light_call& c) override { lights.push_back(c); }
};

// Calls visit(token, first value, vertex count) for each point, line and
// polygon of a feedback buffer whose vertices are `stride` values long;
// pass-through markers are skipped.
template <class Visit>
void each_primitive(const std::vector<GLfloat>& b, size_t stride, Visit visit)
{
    for (size_t i = 0; i < b.size();) {
        const GLint token = static_cast<GLint>(b[i++]);
        if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        }
        const GLint count = token == GL_POLYGON_TOKEN ? static_cast<GLint>(b[i++]) : token == GL_POINT_TOKEN ? 1 : 2;
        visit(token, b.data() + i, count);
        i += static_cast<size_t>(count) * stride;
    }
}

class Sea : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        sim_graphics_settings.draw_ships = sim_graphics_settings.draw_oilrigs = 1;
        place(SHIP_CARRIER, 1000.0f, 2000.0f, 0.0f);
        place(SHIP_FRIGATE, -3000.0f, 2000.0f, 0.0f);
        place(SEA_PLATFORM_A, 5000.0f, -4000.0f, 0.0f);
        place(SEA_PLATFORM_B, -5000.0f, -4000.0f, 0.0f);
        look_at(0.0f, 0.0f);
        sim_graphics_scenery.percent_lights_on = 1.0f;
    }
    void TearDown() override
    {
        OGL_install_bind_recorder(nullptr);
        SceneState::TearDown();
    }

    static void place(int slot, float x, float z, float heading)
    {
        ship_x[slot] = x, ship_y[slot] = 0.0f, ship_z[slot] = z, ship_heading[slot] = heading;
        ship_pitch[slot] = ship_roll[slot] = 0.0f;
    }
    // The view's ground footprint: a 2-km square about (x, z), or far away.
    static void look_at(float x, float z)
    {
        const ground_point p[4] = {{x - 1000, z + 1000}, {x - 1000, z - 1000}, {x + 1000, z - 1000}, {x + 1000, z + 1000}};
        for (int k = 0; k < 4; ++k) view_footprint[k] = p[k];
    }
    static void pass() { SHIPS_draw(); }
};

TEST_F(Sea, TheBallStandsTwoMetresLowOnThreeDegreesAndRedBelow)
{
    auto ball = [](float degrees, bool* red) {
        const double r = degrees * 3.14159265358979 / 180.0;
        return SHIPS_ball_offset(static_cast<float>(1000.0 * std::cos(r)), static_cast<float>(1000.0 * std::sin(r)),
                                 0.0f, red);
    };
    bool red = true;
    EXPECT_NEAR(ball(3.0f, &red), -2.0f, 1e-4f);
    EXPECT_FALSE(red);
    EXPECT_NEAR(ball(2.9f, &red), -2.2f, 1e-3f);
    EXPECT_TRUE(red);
    EXPECT_EQ(ball(-10.0f, &red), -4.0f);
    EXPECT_EQ(SHIPS_ball_offset(0.0f, 100.0f, 0.0f, &red), 4.0f);   // right above: no division by zero
    EXPECT_FALSE(red);
}

TEST_F(Sea, AtNightLightsShowByDayOnlyTheBallAndItsDatum)
{
    light_log log;
    OGL_install_bind_recorder(&log);
    auto lights_of = [&](int slot) {
        log.lights.clear();
        look_at(ship_x[slot], ship_z[slot]);
        pass();
        return log.lights;
    };
    EXPECT_EQ(lights_of(SHIP_CARRIER).size(), 70u);
    EXPECT_EQ(lights_of(SHIP_FRIGATE).size(), 40u);
    EXPECT_GT(lights_of(SEA_PLATFORM_A).size(), 20u);
    EXPECT_GT(lights_of(SEA_PLATFORM_B).size(), 100u);

    // The carrier's 63 deck lights: white, size 1, all on night key 0, each
    // varied by its entry; the ball (size 3, entry 63) and the six green
    // datum lights (size 2, entries 63-65 and 67-69) are always lit.
    SHIPS_build_model_tables();
    const std::vector<bind_recorder::light_call> night = lights_of(SHIP_CARRIER);
    for (int i = 0; i < 63; ++i) {
        EXPECT_EQ(night[size_t(i)].flash_index, 0) << i;
        EXPECT_EQ(night[size_t(i)].phase_index, i) << i;
        EXPECT_EQ(night[size_t(i)].size, 1.0f) << i;
        EXPECT_EQ(night[size_t(i)].y, 21.0f) << i;
    }
    // The three runs along the landing area, ends worked out from their lines.
    const struct {
        int i;
        float x, z;
    } runs[] = {{0, -10.5f, 158.73f},   {19, -35.0f, -46.0f},       {20, 1.25f, 156.835f},
                {40, -25.3643f, -48.2460f}, {41, 13.0f, 154.94f}, {62, -18.39f, -71.0f}};
    for (const auto& r : runs) {
        EXPECT_NEAR(night[size_t(r.i)].x, r.x, 2e-3f) << r.i;
        EXPECT_NEAR(night[size_t(r.i)].z, r.z, 2e-3f) << r.i;
    }
    const struct {
        float x, size;
        int phase;
    } datum[7] = {{-35.0f, 3.0f, 63}, {-39.5f, 2.0f, 63}, {-38.0f, 2.0f, 64}, {-36.5f, 2.0f, 65},
                  {-33.5f, 2.0f, 67}, {-32.0f, 2.0f, 68}, {-30.5f, 2.0f, 69}};
    for (int k = 0; k < 7; ++k) {
        const bind_recorder::light_call& l = night[size_t(63 + k)];
        EXPECT_EQ(l.flash_index, -1) << k;
        EXPECT_EQ(l.phase_index, datum[k].phase) << k;
        EXPECT_EQ(l.size, datum[k].size) << k;
        EXPECT_NEAR(l.x, datum[k].x, 1e-4f) << k;
        EXPECT_EQ(l.z, 76.0f) << k;
    }
    // Platform A's leg and derrick lights: night key 0, varied by the leg.
    const std::vector<bind_recorder::light_call> rig = lights_of(SEA_PLATFORM_A);
    ASSERT_GE(rig.size(), 12u);
    for (size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(rig[rig.size() - 12 + k].flash_index, 0) << k;
        EXPECT_EQ(rig[rig.size() - 12 + k].phase_index, static_cast<int>(k / 3)) << k;
    }

    sim_graphics_scenery.percent_lights_on = 0.0f;
    const std::vector<bind_recorder::light_call> carrier = lights_of(SHIP_CARRIER);
    ASSERT_EQ(carrier.size(), 7u);
    EXPECT_EQ(carrier[0].size, 3.0f);   // the ball
    for (size_t k = 1; k < 7; ++k) EXPECT_EQ(carrier[k].g, 1.0f) << k;
    EXPECT_TRUE(lights_of(SHIP_FRIGATE).empty());
    EXPECT_TRUE(lights_of(SEA_PLATFORM_B).empty());
    EXPECT_TRUE(lights_of(SEA_PLATFORM_A).empty());

    // The derrick's red, the platform's last three lights, pulses every pi / 2 s.
    sim_graphics_scenery.percent_lights_on = 1.0f;
    sim_time.total_running_time_sec = 10.0f;
    const float r0 = lights_of(SEA_PLATFORM_A).back().r;
    sim_time.total_running_time_sec = 10.0f + 1.5708f;
    EXPECT_NEAR(lights_of(SEA_PLATFORM_A).back().r, r0, 1e-3f);
    sim_time.total_running_time_sec = 10.0f + 0.785f;
    EXPECT_NEAR(lights_of(SEA_PLATFORM_A).back().r, 1.0f - r0, 1e-2f);
}

// The hulls, decks and blocks and the carrier's deck lights are drawn from
// the built-in tables: moved 1 km south in the tables, every polygon of the
// carrier, the frigate and platform A moves on the screen as the point 1 km
// south of the origin does, and so does every light of the carrier; of
// platform B its 25 blocks move, its round legs (not in the tables) stay.
TEST_F(Sea, TheModelsAreDrawnFromTheirTables)
{
    struct drawn {
        std::vector<std::vector<std::array<float, 2>>> polygons;   // window x, y of each vertex
        std::vector<std::array<float, 2>> points;
        std::vector<float> light_z;
    };
    auto draw = [](void (*drawer)()) {
        light_log log;
        OGL_install_bind_recorder(&log);
        const std::vector<GLfloat> b = feedback_of(drawer, 1 << 20, GL_2D);
        OGL_install_bind_recorder(nullptr);
        drawn out;
        for (const auto& l : log.lights) out.light_z.push_back(l.z);
        each_primitive(b, 2, [&out](GLint token, const GLfloat* v, GLint count) {
            const bool polygon = token == GL_POLYGON_TOKEN;
            if (polygon) out.polygons.emplace_back();
            for (GLint k = 0; k < count; ++k, v += 2) {
                if (polygon) out.polygons.back().push_back({v[0], v[1]});
                if (token == GL_POINT_TOKEN) out.points.push_back({v[0], v[1]});
            }
        });
        return out;
    };
    auto shift = [](auto& vertices) {
        for (model_vertex& v : vertices) v.z += 1000.0f;
    };

    // An oblique view, 4 km across.
    window_ortho(-2000.0, 2000.0, -2000.0, 2000.0, -2000.0, 2000.0);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(40.0f, 0.0f, 1.0f, 0.0f);
    const drawn south = draw([] {
        glBegin(GL_POINTS);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(0.0f, 0.0f, 1000.0f);
        glEnd();
    });
    ASSERT_EQ(south.points.size(), 2u);
    const float dx = south.points[1][0] - south.points[0][0], dy = south.points[1][1] - south.points[0][1];
    auto moved_polygons = [dx, dy](const drawn& a, const drawn& b) {
        EXPECT_EQ(a.polygons.size(), b.polygons.size());
        int moved = 0;
        for (size_t p = 0; p < std::min(a.polygons.size(), b.polygons.size()); ++p) {
            bool all = a.polygons[p].size() == b.polygons[p].size();
            for (size_t k = 0; all && k < a.polygons[p].size(); ++k)
                all = std::fabs(b.polygons[p][k][0] - a.polygons[p][k][0] - dx) < 0.01f &&
                      std::fabs(b.polygons[p][k][1] - a.polygons[p][k][1] - dy) < 0.01f;
            moved += all;
        }
        return moved;
    };

    void (*const drawers[4])() = {[] { SHIPS_draw_carrier(0, 0); }, [] { SHIPS_draw_frigate(0, 0); },
                                  [] { SHIPS_draw_oilrig_a(0, 0, 0); }, [] { SHIPS_draw_oilrig_b(0, 0, 0); }};
    SHIPS_build_model_tables();
    drawn before[4], after[4];
    for (int d = 0; d < 4; ++d) before[d] = draw(drawers[d]);
    ship_model_tables_record& t = ship_model_tables;
    shift(t.carrier_hull_side), shift(t.carrier_upper_hull), shift(t.carrier_deck_edge), shift(t.carrier_island);
    shift(t.carrier_lights), shift(t.frigate_hull), shift(t.frigate_blocks), shift(t.platform_a), shift(t.platform_b);
    for (int d = 0; d < 4; ++d) after[d] = draw(drawers[d]);
    SHIPS_build_model_tables();

    for (int d = 0; d < 3; ++d) {
        EXPECT_GT(before[d].polygons.size(), 20u) << d;
        EXPECT_EQ(moved_polygons(before[d], after[d]), static_cast<int>(before[d].polygons.size())) << d;
    }
    const int blocks = moved_polygons(before[3], after[3]);
    EXPECT_GE(blocks, PLATFORM_B_BOXES * 2);
    EXPECT_LT(blocks, static_cast<int>(before[3].polygons.size()));
    ASSERT_EQ(before[0].light_z.size(), 70u);
    ASSERT_EQ(after[0].light_z.size(), 70u);
    for (size_t k = 0; k < 70; ++k) EXPECT_NEAR(after[0].light_z[k] - before[0].light_z[k], 1000.0f, 1e-3f) << k;
}

// The frigate in its own frame (x starboard, y up, z astern), read back in
// metres: every hull point and block corner, the blocks' texture columns
// (funnels 0.25..0.5, the rest 0..0.25), the helicopter deck's quad, the ten
// mast lines, and the deck lights: 36 yellow ones on a 14 m ring about
// (0, 7, 55) every 10 degrees, then four white ones on a 16 m ring at 45,
// 135, 225 and 315.
TEST_F(Sea, FrigateHullBlocksMastAndDeckLights)
{
    struct vertex { float x, y, z, s, t; };
    std::vector<std::vector<vertex>> polygons;
    std::vector<std::array<vertex, 2>> lines;
    SHIPS_build_model_tables();
    light_log log;
    OGL_install_bind_recorder(&log);
    // Two pixels a metre, turned so that no face is seen edge on.
    window_ortho(-256.0, 256.0, -192.0, 192.0, -256.0, 256.0);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(40.0f, 0.0f, 1.0f, 0.0f);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // Every face, whichever way it faces.
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    const std::vector<GLfloat> b = feedback_of([] {
        glDisable(GL_CULL_FACE);
        SHIPS_draw_frigate(0.0f, 0.0f);
    }, 1 << 20);
    if (culling) glEnable(GL_CULL_FACE);
    // Window to eye coordinates, then back through the turn.
    auto frigate_frame = [&m](const GLfloat* w) {
        const float e[3] = {w[0] / 2.0f - 256.0f, w[1] / 2.0f - 192.0f, -(2.0f * w[2] - 1.0f) * 256.0f};
        float p[3];
        for (int k = 0; k < 3; ++k) p[k] = m[4 * k] * e[0] + m[4 * k + 1] * e[1] + m[4 * k + 2] * e[2];
        return std::array<float, 3>{p[0], p[1], p[2]};
    };
    OGL_install_bind_recorder(nullptr);
    each_primitive(b, 11, [&](GLint token, const GLfloat* w, GLint count) {
        std::vector<vertex> v;
        for (GLint k = 0; k < count; ++k, w += 11) {
            const std::array<float, 3> p = frigate_frame(w);
            v.push_back({p[0], p[1], p[2], w[7], w[8]});
        }
        if (token == GL_POLYGON_TOKEN) polygons.push_back(v);
        if (count == 2) lines.push_back({v[0], v[1]});
    });
    auto at = [](const vertex& v, float x, float y, float z) {
        return std::fabs(v.x - x) < 0.01f && std::fabs(v.y - y) < 0.01f && std::fabs(v.z - z) < 0.01f;
    };
    auto corner_drawn = [&](float x, float y, float z) {
        for (const auto& p : polygons)
            for (const vertex& v : p)
                if (at(v, x, y, z)) return true;
        return false;
    };

    const float hull[14][3] = {{-12, -6, 82},  {-12, 6, 84},   {-15, -6, 70},  {-15, 6, 70}, {-15, -7, 70},
                               {-15, 7, 70},   {-15, -7, 40},  {-15, 7, 40},   {-15, -8, 40}, {-15, 8, 40},
                               {-15, -8, -50}, {-15, 8, -60},  {0, -10, -90},  {0, 10, -100}};
    for (const auto& h : hull)
        for (const float side : {1.0f, -1.0f})
            EXPECT_TRUE(corner_drawn(side * h[0], h[1], h[2])) << side * h[0] << " " << h[1] << " " << h[2];

    // Block: lower half-width, height, z from, to; upper likewise; its texture column.
    const struct { float lo[4], hi[4], s0, s1; } blocks[7] = {
        {{11, 8, 5, 35}, {10, 15, 5, 30}, 0.0f, 0.25f},          {{7, 15, 10, 25}, {6, 21, 10, 23}, 0.0f, 0.25f},
        {{11, 8, -45, -5}, {10, 15, -40, -5}, 0.0f, 0.25f},      {{7, 15, -35, -20}, {6, 24, -33, -20}, 0.0f, 0.25f},
        {{1, 24, -27, -25}, {0.5f, 50, -20.5f, -19.5f}, 0.0f, 0.25f}, {{4, 21, 12.3f, 20}, {3, 28, 15, 20}, 0.25f, 0.5f},
        {{5, 15, -18, -8}, {3, 28, -13, -8}, 0.25f, 0.5f}};
    for (const auto& k : blocks) {
        for (const float* r : {k.lo, k.hi})
            for (const float side : {1.0f, -1.0f})
                for (const float z : {r[2], r[3]}) EXPECT_TRUE(corner_drawn(side * r[0], r[1], z)) << r[0] << " " << r[1] << " " << z;
        int walls = 0;
        for (const auto& p : polygons)
            if (std::any_of(p.begin(), p.end(), [&](const vertex& v) { return at(v, k.hi[0], k.hi[1], k.hi[2]); })) {
                ++walls;
                for (const vertex& v : p) EXPECT_TRUE(v.s >= k.s0 - 1e-4f && v.s <= k.s1 + 1e-4f) << k.lo[0] << " s " << v.s;
            }
        EXPECT_GE(walls, 2) << k.lo[0] << " " << k.lo[1];
    }

    // The hull's sides (every corner 12 m or more out on one side) take the
    // texture's third column, s 0.5..0.75.
    int sides = 0;
    for (const auto& p : polygons) {
        const bool port = std::all_of(p.begin(), p.end(), [](const vertex& v) { return v.x < -11.99f; });
        const bool starboard = std::all_of(p.begin(), p.end(), [](const vertex& v) { return v.x > 11.99f; });
        if (!port && !starboard) continue;
        ++sides;
        for (const vertex& v : p) EXPECT_TRUE(v.s >= 0.5f - 1e-4f && v.s <= 0.75f + 1e-4f) << v.x << " " << v.z << " s " << v.s;
    }
    EXPECT_GE(sides, 10);

    // The helicopter deck: x -15..15, z 40..70 at 7 m, the whole texture once.
    bool deck = false;
    for (const auto& p : polygons) {
        if (p.size() < 3) continue;
        bool on = true;
        float s_lo = 1, s_hi = 0, x_lo = 99, x_hi = -99, z_lo = 999, z_hi = -999;
        for (const vertex& v : p) {
            on = on && std::fabs(v.y - 7.0f) < 0.01f;
            s_lo = std::min(s_lo, v.s), s_hi = std::max(s_hi, v.s);
            x_lo = std::min(x_lo, v.x), x_hi = std::max(x_hi, v.x), z_lo = std::min(z_lo, v.z), z_hi = std::max(z_hi, v.z);
        }
        deck = deck || (on && s_lo == 0.0f && s_hi == 1.0f && std::fabs(x_lo + 15) < 0.01f && std::fabs(x_hi - 15) < 0.01f &&
                        std::fabs(z_lo - 40) < 0.01f && std::fabs(z_hi - 70) < 0.01f);
    }
    EXPECT_TRUE(deck);

    const float mast[10][6] = {{0, 50, -20, 0, 60, -17.7f},  {-6, 50, -20, 6, 50, -20},     {0, 46, -21, -4, 50, -20},
                               {0, 46, -21, 4, 50, -20},     {0, 44, -21, 0, 44, -28},      {0, 40, -22.4f, 0, 44, -26.4f},
                               {-8, 38, -23, 8, 38, -23},    {-10, 37, -23, 10, 37, -23},   {0, 33, -24, -4, 37, -23},
                               {0, 33, -24, 4, 37, -23}};
    for (const auto& m : mast) {
        const bool found = std::any_of(lines.begin(), lines.end(), [&](const std::array<vertex, 2>& l) {
            return (at(l[0], m[0], m[1], m[2]) && at(l[1], m[3], m[4], m[5])) ||
                   (at(l[1], m[0], m[1], m[2]) && at(l[0], m[3], m[4], m[5]));
        });
        EXPECT_TRUE(found) << m[0] << " " << m[1] << " " << m[2];
    }

    ASSERT_EQ(log.lights.size(), 40u);
    for (size_t k = 0; k < 40; ++k) {
        const bool white = k >= 36;
        const int angle = white ? 45 + 90 * static_cast<int>(k - 36) : 10 * static_cast<int>(k);
        const float radius = white ? 16.0f : 14.0f, a = static_cast<float>(angle) * 0.017453293f;
        const bind_recorder::light_call& l = log.lights[k];
        EXPECT_NEAR(l.x, radius * std::sin(a), 1e-4f) << k;
        EXPECT_EQ(l.y, 7.0f) << k;
        EXPECT_NEAR(l.z, radius * std::cos(a) + 55.0f, 1e-4f) << k;
        EXPECT_EQ(l.b, white ? 1.0f : 0.5f) << k;
        EXPECT_EQ(l.r, 1.0f);
        EXPECT_EQ(l.size, white ? 2.0f : 1.0f) << k;
        EXPECT_EQ(l.flash_index, 0) << k;
        EXPECT_EQ(l.phase_index, angle) << k;
        EXPECT_EQ(l.type, 107) << k;
    }
}

// Platform B's lights: the deck ring of 18, then white rings 2 m outside
// blocks 1, 3, 13 and 17 at two heights (ten a side 14.4 m apart, ten 12 m,
// five 6.8 m, five 5.6 m), keyed by their side, then the four boom tips
// 106 m up their tilted booms.
TEST_F(Sea, PlatformBLightsRingItsBlocksAndTipItsBooms)
{
    light_log log;
    OGL_install_bind_recorder(&log);
    look_at(ship_x[SEA_PLATFORM_B], ship_z[SEA_PLATFORM_B]);
    pass();
    ASSERT_EQ(log.lights.size(), 262u);
    const struct {
        size_t k;
        float x, y, z;
        int phase;
    } rows[] = {
        {0, 0.0f, 97.0f, 102.0f, -1},        // the helideck ring, 12 m about (0, 97, 90)
        {4, 11.8177f, 97.0f, 92.0838f, -1},  //   at 80 degrees
        {18, -72.0f, 83.0f, 72.0f, 0},       // block 1, first corner, upper
        {19, -72.0f, 67.0f, 72.0f, 0},       //   and lower
        {20, -72.0f, 83.0f, 57.6f, 0},       //   one step north
        {38, -72.0f, 83.0f, -72.0f, 1},      //   second side from the next corner
        {98, -60.0f, 103.0f, 60.0f, 0},      // block 3
        {178, -52.0f, 128.0f, 52.0f, 0},     // block 13 about (-35, 35)
        {218, -12.0f, 118.0f, 47.0f, 0},     // block 17 about (0, 35)
        {220, -12.0f, 118.0f, 41.4f, 0},
        {258, 0.0f, 216.0f, 0.0f, -1},       // the upright boom's tip
        {259, 116.2007f, 185.1355f, 5.0f, -1},   // 35 + 106 sin 50, 117 + 106 cos 50
    };
    for (const auto& r : rows) {
        const bind_recorder::light_call& l = log.lights[r.k];
        EXPECT_NEAR(l.x, r.x, 2e-3f) << r.k;
        EXPECT_NEAR(l.y, r.y, 2e-3f) << r.k;
        EXPECT_NEAR(l.z, r.z, 2e-3f) << r.k;
        if (r.phase >= 0) {
            EXPECT_EQ(l.phase_index, r.phase) << r.k;
        }
        if (r.phase >= 0) {
            EXPECT_EQ(l.flash_index, 0) << r.k;
        }
    }
}

// The view's footprint a 2-km square about the origin; an object is drawn
// when its x and z lie within the footprint's box widened by 500 m and its
// 500-m circle reaches past each of the four edges in turn.
TEST_F(Sea, AnObjectIsDrawnWhenItsCircleReachesTheFootprint)
{
    const struct {
        int slot;
        float x, z;
        bool drawn;
    } rows[] = {
        {SHIP_CARRIER, 1400.0f, 0.0f, true},      // 400 m east of the east edge
        {SHIP_CARRIER, 1600.0f, 0.0f, false},     // past the widened box
        {SHIP_FRIGATE, 0.0f, -1450.0f, true},     // 450 m north of the north edge
        {SHIP_FRIGATE, 0.0f, 1510.0f, false},
        {SEA_PLATFORM_A, 1400.0f, 1400.0f, true},   // off the corner, yet each edge on its own is reached
        {SEA_PLATFORM_B, -1490.0f, 0.0f, true},
        {SEA_PLATFORM_B, -1501.0f, 0.0f, false},
    };
    // The pass looked at from above, 3 km about the origin each way.
    const auto drawn_from_above = [] {
        return feedback_of(
            [] {
                window_ortho(-3000.0, 3000.0, -3000.0, 3000.0, -1.0e4, 1.0e4);
                glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
                pass();
            },
            1 << 20);
    };
    for (const auto& r : rows) {
        for (int s = 0; s < SEA_OBJECT_SLOTS; ++s) ship_x[s] = ship_z[s] = -9.9e9f;
        place(r.slot, r.x, r.z, 30.0f);
        look_at(0.0f, 0.0f);
        flt[0].local_x = flt[0].local_z = 90000.0f;
        const std::vector<GLfloat> fb = drawn_from_above();
        EXPECT_EQ(!fb.empty(), r.drawn) << r.slot << " at " << r.x << ", " << r.z;
    }
    // In view, each switch draws only its own kind: ships, or platforms.
    const struct {
        int slot, ships, rigs;
        bool drawn;
    } switches[] = {{SEA_PLATFORM_A, 1, 0, false}, {SEA_PLATFORM_A, 0, 1, true},
                    {SHIP_CARRIER, 0, 1, false},   {SHIP_CARRIER, 1, 0, true}};
    for (const auto& r : switches) {
        for (int s = 0; s < SEA_OBJECT_SLOTS; ++s) ship_x[s] = ship_z[s] = -9.9e9f;
        place(r.slot, 0.0f, 0.0f, 0.0f);
        sim_graphics_settings.draw_ships = r.ships, sim_graphics_settings.draw_oilrigs = r.rigs;
        const std::vector<GLfloat> fb = drawn_from_above();
        EXPECT_EQ(!fb.empty(), r.drawn) << r.slot << " ships " << r.ships << " platforms " << r.rigs;
    }
}

// A ship is turned by its heading, pitch and roll: the bow toward the
// heading (clockwise from north, -z), nose up with positive pitch, the
// starboard side down with positive roll. Seen straight on, two pixels a
// metre, the frigate at the origin: pitched 10 degrees its bow top
// (0, 10, -100) rises to 10 cos 10 + 100 sin 10 = 27.21 m; rolled 10 degrees
// its mast top (0, 60, -17.7) leans out to 60 sin 10 = 10.42 m starboard;
// heading east its bow top is the point farthest east, 100 m out.
TEST_F(Sea, HeadingPitchAndRollTurnTheShipTheirOwnWays)
{
    flt[0].local_x = flt[0].local_z = 90000.0f;
    place(SHIP_FRIGATE, 0.0f, 0.0f, 0.0f);
    SHIPS_build_model_tables();
    enum { FORWARD, TOP, EAST };
    const struct {
        float heading, pitch, roll;
        int pick;   // the point farthest forward (-z), up or east
        float x, y;
    } rows[] = {{0.0f, 10.0f, 0.0f, FORWARD, 0.0f, 27.2121f},
                {0.0f, 0.0f, 10.0f, TOP, 10.4189f, 59.0885f},
                {90.0f, 0.0f, 0.0f, EAST, 100.0f, 10.0f}};
    for (const auto& r : rows) {
        ship_heading[SHIP_FRIGATE] = r.heading, ship_pitch[SHIP_FRIGATE] = r.pitch, ship_roll[SHIP_FRIGATE] = r.roll;
        const std::vector<GLfloat> b = feedback_of(
            [] {
                window_ortho(-256.0, 256.0, -192.0, 192.0, -256.0, 256.0);
                glDisable(GL_CULL_FACE);
                pass();
                glEnable(GL_CULL_FACE);
            },
            1 << 20, GL_3D);
        std::array<float, 3> pick{-1e9f, -1e9f, 1e9f};
        each_primitive(b, 3, [&](GLint, const GLfloat* w, GLint count) {
            for (GLint k = 0; k < count; ++k, w += 3) {
                const std::array<float, 3> p{w[0] / 2.0f - 256.0f, w[1] / 2.0f - 192.0f, -(2.0f * w[2] - 1.0f) * 256.0f};
                if (r.pick == FORWARD ? p[2] < pick[2] : r.pick == TOP ? p[1] > pick[1] : p[0] > pick[0]) pick = p;
            }
        });
        EXPECT_NEAR(pick[0], r.x, 0.05f) << r.heading << " " << r.pitch << " " << r.roll;
        EXPECT_NEAR(pick[1], r.y, 0.05f) << r.heading << " " << r.pitch << " " << r.roll;
    }
}

// Ships and platforms placed nowhere or at no number are drawn without a
// fault or an error of the drawing's state.
TEST_F(Sea, UnplacedOrDamagedShipsAreDrawnWithoutAnError)
{
    UTIL_srand(11);
    for (int round = 0; round < 200; ++round) {
        place_ships_and_plane_damaged();
        look_at(damaged_figure(), damaged_figure());
        pass();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << round;
    }
}

}  // namespace

// Both ships leave wakes as they steam on, and only while ships are drawn.
// Heading north, a new segment's port edge drifts east at a quarter of the
// ship's speed: 15 / 4 for the carrier, 10 / 4 for the frigate.
TEST_F(Sea, TheShipsLeaveWakesWhileShipsAreDrawn)
{
    auto live = [](int wake) {
        int n = 0;
        for (const int32_t l : wakes[wake].live) n += l != 0;
        return n;
    };
    for (int k = 0; k < 40; ++k) {
        ship_z[SHIP_CARRIER] -= 15.0f;   // a second of steaming each pass
        ship_z[SHIP_FRIGATE] -= 10.0f;
        pass();
    }
    EXPECT_GT(live(SHIP_CARRIER), 1);
    EXPECT_GT(live(SHIP_FRIGATE), 1);
    for (const auto& [ship, drift] : {std::pair{SHIP_CARRIER, 3.75f}, std::pair{SHIP_FRIGATE, 2.5f}}) {
        const wake_ring& w = wakes[ship];
        EXPECT_NEAR(w.points[w.head][0].vx, -drift, 1e-5f) << ship;
    }

    TRAILS_reset();
    sim_graphics_settings.draw_ships = 0;
    for (int k = 0; k < 40; ++k) {
        ship_z[SHIP_CARRIER] -= 15.0f;
        pass();
    }
    EXPECT_EQ(live(SHIP_CARRIER), 0);
}

TEST_F(Sea, TheUsersWakeSpreadsAtAQuarterOfItsSpeedAndNeverBelowOneMetreASecond)
{
    // The plane afloat in cell (10, 10), heading north: a new segment's port
    // edge drifts east at a quarter of the speed handed to the wake, which is
    // the groundspeed but at least 1 m/s.
    const int corner = TERRAIN_index(10, 10);
    const int32_t kept = landuse_grid[corner];
    landuse_grid[corner] = LANDUSE_WATER_A;
    flt[0].onground_any = 1;
    flt[0].i = flt[0].j = 10;
    flt[0].hpath = 0.0f;
    flt[0].local_z = 0.0f;
    const struct {
        float groundspeed, drift;
    } rows[] = {{0.0f, 0.25f}, {0.5f, 0.25f}, {8.0f, 2.0f}};
    float x = 100.0f;
    for (const auto& r : rows) {
        flt[0].groundspeed = r.groundspeed;
        flt[0].local_x = x += 10.0f;   // past the 4-m spacing: a new segment
        pass();
        const wake_ring& w = wakes[WAKE_USER];
        ASSERT_EQ(w.live[w.head], 1) << r.groundspeed;
        EXPECT_NEAR(w.points[w.head][0].vx, -r.drift, 1e-5f) << r.groundspeed;
    }
    landuse_grid[corner] = kept;
}

// Platform A's lights, in its own frame: 18 yellow ones every 20 degrees on
// an 11-m ring about (0, 60, 65), four white ones at 45, 135, 225 and 315
// degrees on a 13-m ring, then three lights 105 m up each leg about its base
// and three on the derrick, half as far out, 166 m up.
TEST_F(Sea, PlatformALightsRingItsDeckAndTopItsTowers)
{
    light_log log;
    OGL_install_bind_recorder(&log);
    look_at(ship_x[SEA_PLATFORM_A], ship_z[SEA_PLATFORM_A]);
    pass();
    ASSERT_EQ(log.lights.size(), 34u);
    for (size_t k = 0; k < 22; ++k) {
        const bind_recorder::light_call& l = log.lights[k];
        const float a = (k < 18 ? 20.0f * k : 45.0f + 90.0f * (k - 18)) * 0.017453293f;
        const float r = k < 18 ? 11.0f : 13.0f;
        EXPECT_NEAR(l.x, r * std::sin(a), 2e-3f) << k;
        EXPECT_NEAR(l.y, 60.0f, 2e-3f) << k;
        EXPECT_NEAR(l.z, 65.0f + r * std::cos(a), 2e-3f) << k;
    }
    const struct {
        size_t k;
        float x, y, z;
    } rows[] = {{22, 0, 105, 45}, {26, -32.33f, 105, -35.5f}, {30, 32.33f, 105, -35.5f}, {31, 0, 166, 2.5f}, {33, 2.165f, 166, -1.25f}};
    for (const auto& r : rows) {
        const bind_recorder::light_call& l = log.lights[r.k];
        EXPECT_NEAR(l.x, r.x, 2e-3f) << r.k;
        EXPECT_NEAR(l.y, r.y, 2e-3f) << r.k;
        EXPECT_NEAR(l.z, r.z, 2e-3f) << r.k;
    }
}

// Platform A's derrick narrows as it rises: a triangular tower from 61 m,
// bays of 5 m, each bay's corners scaled 3 at the foot, 0.125 less a bay and
// never below 0.5. Read back in the platform's own frame (window x, y and
// depth are x, y and z), the corner post at (0, +5 s) about the axis stands
// 15 m out at 61 m, 10 m at 101 m, 5 m at 141 m and 2.5 m from 161 m up
// (0.125 less a bay would take it to 1.875 m at the top).
TEST_F(Sea, PlatformADerrickNarrowsByABayAtATime)
{
    window_ortho(-512.0, 512.0, -100.0, 668.0, -1000.0, 1000.0);
    const std::vector<GLfloat> b = feedback_of([] { SHIPS_draw_oilrig_a(0, 0, 0); }, 1 << 20, GL_3D);
    std::map<int, float> reach;   // height (m) -> farthest z of the derrick's corners there
    each_primitive(b, 3, [&reach](GLint token, const GLfloat* v, GLint count) {
        if (token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) return;
        for (GLint k = 0; k < count; ++k, v += 3) {
            const float x = v[0] - 512.0f, y = v[1] - 100.0f, z = (0.5f - v[2]) * 2000.0f;
            if (y < 60.5f || std::fabs(x) > 20.0f || std::fabs(z) > 20.0f) continue;   // legs and deck post
            const int at = static_cast<int>(std::lround(y));
            reach[at] = std::max(reach.count(at) ? reach[at] : -1e9f, z);
        }
    });
    const struct {
        int y;
        float z;
    } rows[] = {{61, 15.0f}, {66, 14.375f}, {101, 10.0f}, {141, 5.0f}, {156, 3.125f}, {161, 2.5f}, {166, 2.5f}};
    for (const auto& r : rows) {
        ASSERT_TRUE(reach.count(r.y)) << r.y;
        EXPECT_NEAR(reach[r.y], r.z, 0.02f) << r.y;
    }
}

// Platform B's blocks as built: each block's lower and upper rectangles,
// x from and to, z from and to, at its height (the deck, block 5, narrower
// at its foot; blocks 6, 7 and 22 narrower at their tops).
TEST_F(Sea, PlatformBBlocksStandWhereTheirTableSays)
{
    const struct {
        float lower[5], upper[5];
    } rows[PLATFORM_B_BOXES] = {
        {{-50, 50, -50, 50, 95}, {-50, 50, -50, 50, 110}}, {{-70, 70, -70, 70, 55}, {-70, 70, -70, 70, 65}},
        {{-70, 70, -70, 70, 85}, {-70, 70, -70, 70, 95}}, {{-58, 58, -58, 58, 105}, {-58, 58, -58, 58, 106}},
        {{-2, 2, -2, 2, 0}, {-2, 2, -2, 2, 210}}, {{-13.3f, 13.3f, 76.7f, 103.3f, 95}, {-14, 14, 76, 104, 97}},
        {{30, 40, 30, 40, 110}, {31.25f, 38.75f, 31.25f, 38.75f, 120}}, {{30, 40, 0, 10, 112}, {31.25f, 38.75f, 1.25f, 8.75f, 122}},
        {{-45, -25, 25, 45, 110}, {-45, -25, 25, 45, 135}}, {{23, 47, -35, 25, 110}, {23, 47, -35, 25, 112}},
        {{26, 44, -44, -26, 110}, {26, 44, -44, -26, 125}}, {{-49, -21, -49, -21, 110}, {-49, -21, -49, -21, 130}},
        {{-50, -20, 20, 50, 120}, {-50, -20, 20, 50, 121}}, {{-50, -20, 20, 50, 130}, {-50, -20, 20, 50, 131}},
        {{-11.5f, -8.5f, 48, 104, 90}, {-11.5f, -8.5f, 48, 104, 96}}, {{8.5f, 11.5f, 48, 104, 90}, {8.5f, 11.5f, 48, 104, 96}},
        {{-58, 58, -58, 58, 100}, {-58, 58, -58, 58, 101}}, {{-10, 10, 25, 45, 110}, {-10, 10, 25, 45, 123}},
        {{-12, 12, 23, 47, 115}, {-12, 12, 23, 47, 116}}, {{-12, 12, 23, 47, 120}, {-12, 12, 23, 47, 121}},
        {{-65, 65, -65, 65, 70}, {-65, 65, -65, 65, 71}}, {{-65, 65, -65, 65, 78}, {-65, 65, -65, 65, 79}},
        {{-40, -30, -5, 5, 110}, {-38.75f, -31.25f, -3.75f, 3.75f, 120}}, {{-50, -10, -60, 60, 65}, {-50, -10, -60, 60, 85}},
        {{10, 50, -60, 60, 65}, {10, 50, -60, 60, 85}},
    };
    SHIPS_build_model_tables();
    for (int b = 0; b < PLATFORM_B_BOXES; ++b)
        for (int layer = 0; layer < 2; ++layer) {
            const float* want = layer == 0 ? rows[b].lower : rows[b].upper;
            float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
            for (int k = 0; k < 4; ++k) {
                const auto& v = ship_model_tables.platform_b[b * 8 + layer * 4 + k];
                const float p[3] = {v.x, v.y, v.z};
                for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
            }
            EXPECT_NEAR(lo[0], want[0], 1e-3f) << b << " " << layer;
            EXPECT_NEAR(hi[0], want[1], 1e-3f) << b << " " << layer;
            EXPECT_NEAR(lo[2], want[2], 1e-3f) << b << " " << layer;
            EXPECT_NEAR(hi[2], want[3], 1e-3f) << b << " " << layer;
            EXPECT_EQ(lo[1], want[4]) << b << " " << layer;
            EXPECT_EQ(hi[1], want[4]) << b << " " << layer;
        }
}
