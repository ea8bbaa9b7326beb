// Particles and fires: spawning into the list, what a frame draws (feedback
// mode, seen from the south so the squares face the window) and how it ages,
// moves and kills them; water putting fires out.
#include <cmath>
#include <set>
#include <utility>

#include "core/random.h"
#include "core/texture_slots.h"
#include "tests/scene/airport/airport_fixture.h"

namespace {

class Particles : public AirportScene {
protected:
    void SetUp() override
    {
        AirportScene::SetUp();
        footprint_around_origin(1000.0f);
        sim_graphics_view.view_heading = sim_graphics_view.view_pitch = 0.0f;
        sim_private_camera.phi = 0.0f;
        look_north(1.0f);
    }
    // A particle at (x, y, 0) of the given size, life, colour and opacity, still, far above its floor.
    static void spawn(float x, float y, float life = 10.0f, int color = 7, float opacity = 1.0f, float vy = 0.0f,
                      float floor_y = -1000.0f)
    {
        PARTICLE_spawn(x, y, 0.0f, 0.0f, vy, 0.0f, floor_y, 5.0f, 0.0f, life, color, opacity, 0);
    }
    // The squares one frame draws (as the polygons feedback mode returns them).
    std::vector<fb_item> frame() { return drawn_with(capture([] { PARTICLE_draw(); }), TEX_SLOT_SMOKE); }
};

}  // namespace

// A life below 1.0 is refused; spawns take the lowest free record first and
// grow the list by one record only when every record is in use.
TEST_F(Particles, SpawnsReuseTheLowestFreeRecord)
{
    spawn(0.0f, 0.0f, 0.99f);
    EXPECT_TRUE(particle_list.empty());
    for (int k = 0; k < 3; ++k) spawn(static_cast<float>(k), 0.0f, 1.0f);
    ASSERT_EQ(particle_list.size(), 3u);
    const particle_record& p = particle_list[0];
    EXPECT_GE(p.life, 0.85f);
    EXPECT_LE(p.life, 1.15f);
    EXPECT_GE(p.size, 0.85f * 5.0f);
    EXPECT_LE(p.size, 1.15f * 5.0f);
    particle_list[2].active = particle_list[1].active = 0;
    spawn(10.0f, 0.0f);
    spawn(11.0f, 0.0f);
    spawn(12.0f, 0.0f);
    ASSERT_EQ(particle_list.size(), 4u);
    EXPECT_EQ(particle_list[1].x, 10.0f);
    EXPECT_EQ(particle_list[2].x, 11.0f);
    EXPECT_EQ(particle_list[3].x, 12.0f);
}

// From the generator's first state the factors come as 16838 (velocity),
// 5758 (size), 10113 (growth), 17515 (life), 31051 (angle): vy 2 x 1.00416,
// size 5 x 0.90272, growth 5 x 2 x 0.13086, life 10 x 1.01036, angle 341.15.
TEST_F(Particles, ASpawnDrawsItsFactorsInOrder)
{
    UTIL_srand(1);
    PARTICLE_spawn(0.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f, -1000.0f, 5.0f, 2.0f, 10.0f, 7, 1.0f, 0);
    ASSERT_EQ(particle_list.size(), 1u);
    const particle_record& p = particle_list[0];
    EXPECT_NEAR(p.vy, 2.00832f, 1e-4f);
    EXPECT_NEAR(p.size, 4.51359f, 1e-4f);
    EXPECT_NEAR(p.growth, 1.30863f, 1e-4f);
    EXPECT_NEAR(p.life, 10.1036f, 1e-3f);
    EXPECT_NEAR(p.angle, 341.147f, 1e-2f);
}

// Colour 6 is neither drawn nor rising while it falls; on its floor it turns
// into row 0, is drawn and rises from then on.
TEST_F(Particles, Colour6ShowsOnlyFromItsFloor)
{
    spawn(0.0f, 25.0f, 100.0f, PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR, 1.0f, -100.0f, 0.0f);
    particle_record& p = particle_list[0];
    int frames = 0;
    while (p.color == PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR && frames < 100) {
        const float y = p.y;
        EXPECT_TRUE(frame().empty()) << frames;
        if (p.color == PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR) {
            EXPECT_LT(p.y, y);
        }
        ++frames;
    }
    ASSERT_EQ(p.color, 0);
    EXPECT_GT(frames, 1);
    float y = p.y;
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(frame().empty());
        EXPECT_GT(p.y, y);
        y = p.y;
    }
}

// Falling water puts out every burning fire within 100 m (not at 100 m).
TEST_F(Particles, WaterPutsOutFiresCloserThan100m)
{
    sim_operation_misc.frame_rate_period = 0.0f;   // nothing moves
    for (const float x : {99.9f, 100.0f}) {
        PARTICLE_reset();
        PARTICLE_list_reset();
        fire_table.burning[0] = 1;
        fire_table.x[0] = fire_table.y[0] = fire_table.z[0] = 0.0f;
        spawn(x, 0.0f, 10.0f, PARTICLE_COLOR_WATER);
        PARTICLE_draw();
        EXPECT_EQ(fire_table.burning[0], x < 100.0f ? 0 : 1) << x;
    }
}

// An alpha above 0.99 is drawn opaque; a faded-out or shrunk particle in
// view is killed at once, one out of view only by its age.
TEST_F(Particles, AlphaAndWhatKillsAParticle)
{
    sim_operation_misc.frame_rate_period = 0.0f;
    for (const float opacity : {0.995f, 0.99f}) {
        PARTICLE_list_reset();
        spawn(0.0f, 0.0f, 10.0f, 7, opacity);
        const auto squares = frame();
        ASSERT_FALSE(squares.empty());
        for (const fb_item& q : squares) EXPECT_FLOAT_EQ(q.v[0].a, opacity > 0.99f ? 1.0f : 0.99f) << opacity;
    }
    sim_operation_misc.frame_rate_period = 0.5f;
    PARTICLE_list_reset();
    spawn(0.0f, 0.0f, 10.0f, 7, 0.005f);      // in view, too faint: dies on its first frame
    spawn(5000.0f, 0.0f, 10.0f, 7, 0.005f);   // off view: lives out its age
    PARTICLE_draw();
    EXPECT_EQ(particle_list[0].active, 0);
    int frames = 1;
    while (particle_list[1].active && frames < 100) {
        PARTICLE_draw();
        ++frames;
    }
    EXPECT_NEAR(frames * 0.5f, particle_list[1].life, 0.5f);
}

// Fires 1..8 stand down the wind from fire 0 and fire 9 on fire 0; the 2-s
// tick lets one of them smoke.
TEST_F(Particles, FiresAreLaidOutDownTheWind)
{
    fire_table.present = 1;
    fire_table.burning[0] = fire_table.burning[9] = 1;
    fire_table.x[0] = 100.0f, fire_table.z[0] = 200.0f;
    sim_weather.wind_direction_degt[0] = 0.0f;   // placed along x
    PARTICLE_draw_fires();
    EXPECT_TRUE(particle_list.empty());
    for (int i = 1; i < FIRE_COUNT; ++i) {
        EXPECT_NEAR(fire_table.x[i] - fire_table.x[0], fire_layout.along[i], 1e-3f) << i;
        EXPECT_NEAR(fire_table.z[i] - fire_table.z[0], fire_layout.across[i], 1e-3f) << i;
        EXPECT_LE(std::fabs(fire_layout.across[i]), 40.0f);
    }
    EXPECT_NEAR(fire_table.x[8] - fire_table.x[0], 450.0f, 40.0f);
    EXPECT_EQ(fire_table.x[9], fire_table.x[0]);
    EXPECT_EQ(fire_table.z[9], fire_table.z[0]);
    interval_ticks[INTERVAL_TWO_SECONDS] = 1;
    PARTICLE_draw_fires();
    ASSERT_EQ(particle_list.size(), 1u);
    EXPECT_EQ(particle_list[0].color, 7);
    EXPECT_GT(particle_list[0].y, 19.0f);

    // Each fire is a sprite 70 m wide and 52.5 m tall standing on the ground,
    // one twelfth of the texture high.
    interval_ticks[INTERVAL_TWO_SECONDS] = 0;
    fire_table.burning[9] = 0;
    float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f, t0 = 1e9f, t1 = -1e9f;
    for (const fb_item& piece : drawn_with(capture([] { PARTICLE_draw_fires(); }), TEX_SLOT_FIRE))
        for (const auto& v : piece.v) {
            x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
            t0 = std::min(t0, v.t), t1 = std::max(t1, v.t);
            // Every corner on the ground or at the top.
            EXPECT_NEAR(std::min(std::fabs(v.y - 384.0f), std::fabs(v.y - 436.5f)), 0.0f, 0.01f) << v.x;
        }
    EXPECT_NEAR(x0, 512.0f + 100.0f - 35.0f, 0.01f);
    EXPECT_NEAR(x1, 512.0f + 100.0f + 35.0f, 0.01f);
    EXPECT_NEAR(y0, 384.0f, 0.01f);
    EXPECT_NEAR(y1, 384.0f + 52.5f, 0.01f);
    EXPECT_NEAR(t1 - t0, 0.0833f, 1e-4f);
}

// One frame of 0.1 s in a wind of 1 m/s along x, for a particle out of view at
// (5000, 100, 0) moving 2 m/s along x, size 1 growing 0.5 m/s: it moves
// 0.3 m, keeps 1 - 3 dt of its speed (1 - 4 dt with heavy drag), grows
// 0.05 m and rises 0.1 m (water falls 0.5 m, colour 6 holds its height).
TEST_F(Particles, OneFrameOfMotionDragGrowthAndDrift)
{
    sim_operation_misc.frame_rate_period = 0.1f;
    wind_vector[0] = 1.0f, wind_vector[1] = wind_vector[2] = 0.0f;
    struct row {
        int heavy, color;
        float vx, y;
    } rows[] = {{0, 7, 1.4f, 100.1f}, {1, 7, 1.2f, 100.1f}, {0, PARTICLE_COLOR_WATER, 1.4f, 99.5f},
                {0, PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR, 1.4f, 100.0f}};
    for (const row& r : rows) {
        PARTICLE_list_reset();
        spawn(5000.0f, 100.0f);
        particle_record& p = particle_list[0];
        p.vx = 2.0f, p.vy = p.vz = 0.0f, p.size = 1.0f, p.growth = 0.5f, p.heavy_drag = r.heavy, p.color = r.color;
        PARTICLE_draw();
        EXPECT_NEAR(p.x, 5000.3f, 1e-3f) << r.heavy << " " << r.color;
        EXPECT_NEAR(p.vx, r.vx, 1e-5f) << r.heavy << " " << r.color;
        EXPECT_NEAR(p.size, 1.05f, 1e-5f) << r.heavy << " " << r.color;
        EXPECT_NEAR(p.y, r.y, 1e-4f) << r.heavy << " " << r.color;
    }
    wind_vector[0] = 0.0f;

    // Touching its floor the particle sits on it and bounces up at twice its
    // growth a second (0.1 m/s), then rises 0.1 m.
    PARTICLE_list_reset();
    spawn(5000.0f, 100.0f, 10.0f, 7, 1.0f, 0.0f, 100.0f);
    particle_record& p = particle_list[0];
    p.vx = p.vy = p.vz = 0.0f, p.size = 1.0f, p.growth = 0.5f, p.heavy_drag = 0;
    PARTICLE_draw();
    EXPECT_NEAR(p.vy, 0.1f, 1e-5f);
    EXPECT_NEAR(p.y, 101.15f, 1e-4f);
}

// Looking east 60 degrees up, a still square of half-side 10 faces the view:
// its first corner (texture 0, 0) lies 8.66 m east of and 5 m below its
// centre, the opposite corner as far west and above.
TEST_F(Particles, SquaresFaceTheView)
{
    sim_graphics_view.view_heading = 90.0f, sim_graphics_view.view_pitch = 60.0f;
    spawn(0.0f, 0.0f);
    particle_record& p = particle_list[0];
    p.angle = 0.0f, p.size = 10.0f, p.growth = 0.0f;
    int corners = 0;
    std::set<std::pair<float, float>> seen;   // one square, perhaps fed back as two triangles
    for (const fb_item& piece : frame())
        for (const auto& v : piece.v) {
            if (!seen.insert({v.s, v.t}).second) continue;
            if (v.s == 0.0f && v.t == 0.0f) {
                EXPECT_NEAR(v.x, 512.0f + 8.66025f, 0.01f);
                EXPECT_NEAR(v.y, 384.0f - 5.0f, 0.01f);
                ++corners;
            }
            if (v.s == 1.0f && v.t == 1.0f) {
                EXPECT_NEAR(v.x, 512.0f - 8.66025f, 0.01f);
                EXPECT_NEAR(v.y, 384.0f + 5.0f, 0.01f);
                ++corners;
            }
        }
    EXPECT_EQ(corners, 2);
}
