// Engine trails and wakes: the rings as the emitters and the frames leave
// them, and the wake bands a frame draws (feedback mode, from above).
#include <cmath>

#include "core/texture_slots.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/scene/airport/airport_fixture.h"
#include "world/landuse_grid.h"
#include "world/terrain_grid.h"

namespace {

class Trails : public AirportScene {
protected:
    void SetUp() override
    {
        AirportScene::SetUp();
        footprint_around_origin(3000.0f);
        sim_graphics_view.view_x = sim_graphics_view.view_z = 0.0f;
        sim_graphics_view.visibility_terrain_m = 20000.0f;
        pln[0].acf_num_engines = 1;
        look_down(0.0f, 0.0f, 0.1f);
        // The four corners of cell (10, 10), land until a test says otherwise.
        for (int c = 0; c < 4; ++c) {
            kept_landuse_[c] = landuse_grid[corner(c)];
            landuse_grid[corner(c)] = 0;
        }
    }
    void TearDown() override
    {
        for (int c = 0; c < 4; ++c) landuse_grid[corner(c)] = kept_landuse_[c];
        AirportScene::TearDown();
    }
    static int corner(int c) { return TERRAIN_index(10 + c / 2, 10 + c % 2); }
    static void emit(float x, float y, float z, int engine = 0)
    {
        PARTICLE_engine_emitters(x, y, z, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f, 5.0f, engine);
    }
    static int live_segments(int wake)
    {
        int n = 0;
        for (const int32_t l : wakes[wake].live) n += l != 0;
        return n;
    }

private:
    int32_t kept_landuse_[4] = {};
};

}  // namespace

// A sample after a gap points nowhere (yaw and pitch 0); the next one points
// along the way from its predecessor; the sample after the newest is always
// cut, so a full ring never joins its newest sample to its oldest.
TEST_F(Trails, EngineSamplesAndTheirRing)
{
    emit(0.0f, 100.0f, 0.0f);
    const engine_trail_ring& ring = engine_trails[0];
    EXPECT_EQ(ring.samples[0].valid, 1);
    EXPECT_EQ(ring.samples[0].yaw_sin, 0.0f);
    EXPECT_EQ(ring.samples[0].yaw_cos, 1.0f);
    EXPECT_EQ(ring.samples[0].pitch_sin, 0.0f);
    emit(10.0f, 90.0f, 0.0f);   // 10 m east, 10 m down
    EXPECT_NEAR(ring.samples[1].yaw_sin, -1.0f, 1e-6f);
    EXPECT_NEAR(ring.samples[1].pitch_sin, std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(ring.samples[2].valid, 0);
    for (int k = 0; k < ENGINE_TRAIL_SAMPLES; ++k) emit(static_cast<float>(k), 100.0f, 0.0f);
    EXPECT_EQ(ring.samples[ring.head].valid, 0);
    int valid = 0;
    for (const engine_trail_sample& s : ring.samples) valid += s.valid;
    EXPECT_EQ(valid, ENGINE_TRAIL_SAMPLES - 1);
    // No sample for a radius below 0.01 or an engine outside 0..7.
    const int head = ring.head;
    PARTICLE_engine_emitters(0, 0, 0, 0, 0, 0, 0.005f, 1, 1, 0);
    PARTICLE_engine_emitters(0, 0, 0, 0, 0, 0, 1, 1, 1, 8);
    PARTICLE_engine_emitters(0, 0, 0, 0, 0, 0, 1, 1, 1, -1);
    EXPECT_EQ(ring.head, head);
    EXPECT_EQ(ring.samples[head].valid, 0);
}

// A propeller's trail turns with its wash over its radius (not at all when
// that radius is 0); a spin however large keeps the phase within a turn.
TEST_F(Trails, SpinOfTheTrailAndItsPhase)
{
    flt[0].POINT_side_wash[0] = -6.0f;
    const struct {
        float semilen, prop_dir, spin;
    } cases[] = {{2.0f, 1.0f, 3.0f}, {2.0f, -1.0f, -3.0f}, {0.0f, 1.0f, 0.0f}, {-1.0f, 1.0f, 0.0f}};
    for (const auto& c : cases) {
        PARTICLE_clear_engine_trails();
        pln[0].acf_semilen_SEG[0] = c.semilen;
        pln[0].acf_prop_dir[0] = c.prop_dir;
        emit(0.0f, 100.0f, 0.0f);
        EXPECT_EQ(engine_trails[0].samples[0].spin, c.spin) << c.semilen << " " << c.prop_dir;
    }
    // A jet to the right of the centre line turns at a fixed rate.
    pln[0].acf_en_type[0] = 4;
    pln[0].acf_Xarm[0] = 3.0f;
    PARTICLE_clear_engine_trails();
    emit(0.0f, 100.0f, 0.0f);
    EXPECT_EQ(engine_trails[0].samples[0].spin, -1.5f);

    engine_trails[0].samples[0].spin = 1e30f;
    PARTICLE_draw_engine_trails();
    const float phase = engine_trails[0].samples[0].phase;
    EXPECT_GE(phase, 0.0f);
    EXPECT_LT(phase, 6.2832f);
    engine_trails[0].samples[0].spin = INFINITY;
    PARTICLE_draw_engine_trails();
    EXPECT_TRUE(std::isfinite(engine_trails[0].samples[0].phase));
}

// A frame of 0.1 s in calm air (wind from 90 degrees: a 4 m/s drift toward -x):
// a sample moving at 10 m/s east goes (10 - 4) x 0.1 = 0.6 m and slows to
// 10 x (1 - 0.3) = 7 m/s. Aged 0.1 s of a 1-s life (f = 0.1 / 1.01) it is drawn
// in (1, 1 - f, 0) at alpha 0.25 x (1.04 - f).
TEST_F(Trails, EngineSamplesDriftSlowAndRedden)
{
    wind_vector[0] = wind_vector[1] = wind_vector[2] = 0.0f;
    sim_weather.wind_direction_degt[0] = 90.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    PARTICLE_engine_emitters(0.0f, 5.0f, 0.0f, 10.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0);
    PARTICLE_engine_emitters(0.0f, 5.0f, -10.0f, 10.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0);
    const std::vector<fb_item> items = capture([] { PARTICLE_draw_engine_trails(); });
    const engine_trail_sample& t = engine_trails[0].samples[0];
    EXPECT_NEAR(t.pos[0], 0.6f, 1e-5f);
    EXPECT_NEAR(t.vel[0], 7.0f, 1e-5f);
    const float f = 0.1f / 1.01f;
    ASSERT_FALSE(items.empty());
    for (const fb_item& p : items)
        for (const auto& v : p.v) EXPECT_TRUE(std::fabs(v.g - (1.0f - f)) < 1e-3f && std::fabs(v.a - 0.25f * (1.04f - f)) < 1e-3f);
    sim_weather.wind_direction_degt[0] = 0.0f;
}

// A jump of more than ten spacings restarts a wake; the user's wake is laid
// only on water; a segment as old as the fade time is drawn clear.
TEST_F(Trails, WakesRestartEmitAndFade)
{
    const float S = 75.0f;   // wake 0's spacing
    PARTICLE_draw_wakes(0, 100.0f, 0.0f, 0.0f, 15.0f, 90.0f);
    PARTICLE_draw_wakes(0, 100.0f + 2.0f * S, 0.0f, 0.0f, 15.0f, 90.0f);
    EXPECT_EQ(live_segments(0), 2);
    const float from = wakes[0].last_x;
    PARTICLE_draw_wakes(0, from + 10.0f * S, 0.0f, 0.0f, 15.0f, 90.0f);   // exactly ten: kept
    EXPECT_EQ(live_segments(0), 3);
    PARTICLE_draw_wakes(0, from + 20.0f * S + 1.0f, 0.0f, 0.0f, 15.0f, 90.0f);
    EXPECT_EQ(live_segments(0), 1);
    EXPECT_EQ(wakes[0].last_x, from + 20.0f * S + 1.0f);
    // Wakes beyond 0..2 are nothing.
    const wake_ring before = wakes[3];
    PARTICLE_draw_wakes(3, 500.0f, 0.0f, 0.0f, 15.0f, 90.0f);
    PARTICLE_draw_wakes(-1, 500.0f, 0.0f, 0.0f, 15.0f, 90.0f);
    EXPECT_EQ(std::memcmp(&before, &wakes[3], sizeof before), 0);

    // The user's aircraft on the ground at cell (10, 10): a wake only over water.
    flt[0].onground_any = 1;
    flt[0].i = flt[0].j = 10;
    for (const int32_t code : {0, LANDUSE_WATER_A}) {
        TRAILS_reset();
        landuse_grid[corner(0)] = code;
        PARTICLE_draw_wakes(WAKE_USER, 10.0f, 0.0f, 0.0f, 5.0f, 0.0f);
        EXPECT_EQ(live_segments(WAKE_USER), code == LANDUSE_WATER_A ? 1 : 0) << code;
    }
    // On a runway beside the water the head segment is cleared.
    surface_state.flat_surface_on = 1;
    PARTICLE_draw_wakes(WAKE_USER, 20.0f, 0.0f, 0.0f, 5.0f, 0.0f);
    EXPECT_EQ(live_segments(WAKE_USER), 1);
    EXPECT_EQ(wakes[WAKE_USER].live[wakes[WAKE_USER].head], 0);

    // Fade time 30 S / speed = 150 s for wake 0 at 15 m/s.
    const struct {
        float age, alpha;
    } fades[] = {{150.0f, 0.0f}, {37.5f, 0.5f}};
    for (const auto& f : fades) {
        TRAILS_reset();
        sim_operation_misc.frame_rate_period = 0.0f;
        PARTICLE_draw_wakes(0, 100.0f, 0.0f, 0.0f, 15.0f, 0.0f);
        sim_operation_misc.frame_rate_period = f.age;
        const auto bands = drawn_with(capture([] { PARTICLE_draw_wakes(0, 200.0f, 0.0f, 0.0f, 15.0f, 0.0f); }),
                                      TEX_SLOT_WAKE);
        ASSERT_FALSE(bands.empty()) << f.age;
        for (const fb_item& b : bands) EXPECT_NEAR(b.v[0].a, f.alpha, 1e-3f) << f.age;
    }
}

// Each wake's spacing S and half-widths (side W1, centre W2): 75/30/40,
// 50/20/25 and 4/2/3 m. Heading 0 at 8 m/s: the sides stand 0.3 S to either
// side along x, drifting apart at 2 m/s; a new segment comes only once the
// owner has moved more than S.
TEST_F(Trails, WakeSegmentsBySpacingAndWidth)
{
    sim_operation_misc.frame_rate_period = 0.0f;
    flt[0].onground_any = 1;
    flt[0].i = flt[0].j = 10;
    landuse_grid[corner(0)] = LANDUSE_WATER_A;
    const struct {
        int wake;
        float S, W1, W2;
    } rows[] = {{0, 75.0f, 30.0f, 40.0f}, {1, 50.0f, 20.0f, 25.0f}, {WAKE_USER, 4.0f, 2.0f, 3.0f}};
    for (const auto& r : rows) {
        TRAILS_reset();
        PARTICLE_draw_wakes(r.wake, 100.0f, 0.0f, 50.0f, 8.0f, 0.0f);
        const wake_ring& w = wakes[r.wake];
        const int head = w.head;
        const wake_point* p = w.points[head];
        const float want[3][5] = {{100.0f + 0.3f * r.S, -2.0f, r.W1}, {100.0f, 0.0f, r.W2}, {100.0f - 0.3f * r.S, 2.0f, r.W1}};
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(p[k].x, want[k][0], 1e-3f) << r.wake << " " << k;
            EXPECT_NEAR(p[k].z, 50.0f, 1e-3f) << r.wake << " " << k;
            EXPECT_NEAR(p[k].vx, want[k][1], 1e-5f) << r.wake << " " << k;
            EXPECT_NEAR(p[k].half_cos, want[k][2], 1e-5f) << r.wake << " " << k;
            EXPECT_NEAR(p[k].half_sin, 0.0f, 1e-5f) << r.wake << " " << k;
        }
        PARTICLE_draw_wakes(r.wake, 100.0f + r.S - 0.5f, 0.0f, 50.0f, 8.0f, 0.0f);
        EXPECT_EQ(w.head, head) << r.wake;
        PARTICLE_draw_wakes(r.wake, 100.0f + r.S + 0.5f, 0.0f, 50.0f, 8.0f, 0.0f);
        EXPECT_NE(w.head, head) << r.wake;
    }
}
