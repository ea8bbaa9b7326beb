// Rivers, roads, power lines, road traffic, taxi lines and scorch marks as
// the drawers emit them.
#include <cmath>

#include "core/app_mode.h"
#include "core/draw_phases.h"
#include "core/random.h"
#include "graphics/ogl_bind_seam.h"
#include "links/plugin_host.h"
#include "scene/effects/particles.h"
#include "tests/scene/terrain/ground_fixture.h"

namespace {

constexpr float TEX_PER_M = 1.0f / 72.0f;   // a highway's texture repeat

class Roads : public Ground {
protected:
    void SetUp() override
    {
        Ground::SetUp();
        flt[0].i = 200, flt[0].j = 200;
        flt[0].local_x = 1000.0f, flt[0].local_z = 1000.0f;
        PLUGIN_host_reset();   // no plug-in takes a drawing phase
    }

    void TearDown() override
    {
        PLUGIN_host_reset();
        Ground::TearDown();
    }

    // A highway running north through cell (200, 200), 36 m wide: cross
    // sections at the given z, the last one ending the polyline.
    static std::vector<segment_point>& highway(std::initializer_list<std::pair<float, float>> z_and_marker)
    {
        std::vector<segment_point>& h = SEG_list_for_writing(0, 200, 200);
        h.clear();
        const auto* items = z_and_marker.begin();
        for (size_t k = 0; k < z_and_marker.size(); ++k) {
            const float z = items[k].first;
            const float next = k + 1 < z_and_marker.size() ? items[k + 1].first : z;
            h.push_back(element(-18.0f, z, 18.0f, z, (z - next) * TEX_PER_M, items[k].second));
        }
        return h;
    }
};

}  // namespace

TEST_F(Roads, BridgeSpanGetsWallsBelowItsDeckAndTheTextureRunsOn)
{
    // Plain span, bridge span, plain span, end: 100 m each.
    highway({{150.0f, SEG_ON_LAND}, {50.0f, SEG_RAISED}, {-50.0f, SEG_ON_LAND}, {-150.0f, SEG_END}});
    glDisable(GL_CULL_FACE);
    // From above: t is 0 at the first section, 100/72 where the bridge starts, 200/72 where it ends, 300/72 at the end.
    float t_deck_far = -1.0f, t_max = -1.0f;
    for (const auto& p : feedback([] { ROADS_draw_traffic(); }).polygons)
        for (const fed_vertex& v : p) {
            t_max = std::max(t_max, v.t);
            // Across the road s is 0 or 1; the deck 0.25..0.75, its walls 0..0.25 and 0.75..1.
            EXPECT_TRUE(v.s == 0.0f || v.s == 0.25f || v.s == 0.75f || v.s == 1.0f) << v.s;
            // Deck texels lie in s 0.25..0.75; the plain road's run the whole width.
            if (v.s > 0.2f && v.s < 0.8f && std::fabs(v.z + 50.0f) < 0.5f) t_deck_far = std::max(t_deck_far, v.t);
        }
    EXPECT_NEAR(t_deck_far, 200.0f / 72.0f, 1e-3f);
    EXPECT_NEAR(t_max, 300.0f / 72.0f, 1e-3f);

    // A polyline that ends restarts t: the second one begins at 0 again.
    highway({{150.0f, SEG_ON_LAND}, {50.0f, SEG_END}, {-50.0f, SEG_ON_LAND}, {-150.0f, SEG_END}});
    int starts = 0;
    for (const auto& p : feedback([] { ROADS_draw_traffic(); }).polygons)
        for (const fed_vertex& v : p)
            if (std::fabs(v.z + 50.0f) < 0.5f) {
                ++starts;
                EXPECT_NEAR(v.t, 0.0f, 1e-4f);
            }
    EXPECT_GT(starts, 0);
    highway({{150.0f, SEG_ON_LAND}, {50.0f, SEG_RAISED}, {-50.0f, SEG_ON_LAND}, {-150.0f, SEG_END}});

    // From the east: the two side walls, 3 m deep under the deck, only along the bridge.
    look(0.0f, 0.0f, 0.0f, 0.0f, -90.0f);
    int walls = 0;
    for (const auto& p : feedback([] { ROADS_draw_traffic(); }).polygons) {
        float y0 = 1e9f, z0 = 1e9f, z1 = -1e9f;
        for (const fed_vertex& v : p) y0 = std::min(y0, v.y), z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
        if (y0 > -0.01f) continue;
        ++walls;
        EXPECT_NEAR(y0, -3.0f, 0.01f);
        EXPECT_GE(z0, -50.01f);
        EXPECT_LE(z1, 50.01f);
    }
    EXPECT_GE(walls, 2);
}

TEST_F(Roads, CarsRunInTheirLanesAndTurnBackAtTheEnd)
{
    std::vector<segment_point>& h = highway({{100.0f, SEG_ON_LAND}, {-100.0f, SEG_END}});
    std::vector<traffic_record>& cars = SEG_traffic_for_writing(200, 200);
    cars = {{0, 0.5f, 1.5f}};
    sim_operation_misc.frame_rate_period = 0.1f;
    auto frame = [] {
        LIGHTS_fraction();
        ROADS_draw_traffic();
        EXPECT_EQ(light_count, 1);
        return light_queue[0];
    };
    const light_record a = frame(), b = frame();
    EXPECT_NEAR(a.x, -18.0f + 24.3f, 1e-3f);
    EXPECT_EQ(a.heading, 0.0f);
    EXPECT_NEAR((a.z - b.z) / 0.1f, 1.5f * CAR_BASE_SPEED_MPS, 0.05f);   // northward, 1.5 x 29.06 m/s
    EXPECT_NEAR(CAR_BASE_SPEED_MPS, 29.06f, 0.01f);

    // Past the end of the highway it turns back into the opposite lane.
    cars[0].frac = 0.999f;
    frame();
    EXPECT_EQ(cars[0].dir, -1.5f);
    EXPECT_EQ(cars[0].frac, 1.0f);
    const light_record c = frame();
    EXPECT_NEAR(c.x, -18.0f + 11.7f, 1e-3f);
    EXPECT_EQ(c.heading, 180.0f);
    EXPECT_LT(cars[0].frac, 1.0f);

    // A span of no texture length: any step runs off it at once (here, back at
    // the highway's start, the car turns round); with no step it stays put.
    h[0].tex_len = 0.0f;
    cars[0].frac = 0.5f;
    frame();
    EXPECT_EQ(cars[0].frac, 0.0f);
    EXPECT_EQ(cars[0].dir, 1.5f);
    sim_operation_misc.frame_rate_period = 0.0f;
    cars[0].frac = 0.5f;
    frame();
    EXPECT_EQ(cars[0].frac, 0.5f);
    sim_operation_misc.frame_rate_period = 0.1f;

    // A next element with a flag above 0 takes the car on, even the list's
    // last; a car off its highway then is neither moved nor shown.
    highway({{100.0f, SEG_ON_LAND}, {-100.0f, SEG_ON_LAND}});
    cars = {{0, 0.999f, 1.0f}};
    frame();
    EXPECT_EQ(cars[0].seg, 1);
    EXPECT_EQ(cars[0].frac, 0.0f);
    LIGHTS_fraction();
    ROADS_draw_traffic();
    EXPECT_EQ(light_count, 0);
}

TEST_F(Roads, EachSpeedFactorHasItsLaneHeadingAndSpeed)
{
    // Northward highway, its edge point 18 m west of the centre line: lanes
    // 27.5 m (slow, outbound), 24.3 m (fast, outbound), 8.5 m (slow, back)
    // and 11.7 m (fast, back) from it; the speed is |dir| x 29.06 m/s.
    highway({{100.0f, SEG_ON_LAND}, {-100.0f, SEG_END}});
    std::vector<traffic_record>& cars = SEG_traffic_for_writing(200, 200);
    sim_operation_misc.frame_rate_period = 0.1f;
    const struct { float dir, lane_m, heading; } rows[] = {
        {0.5f, 27.5f, 0.0f}, {0.0f, 27.5f, 0.0f}, {1.0f, 24.3f, 0.0f}, {1.5f, 24.3f, 0.0f},
        {-0.5f, 8.5f, 180.0f}, {-1.0f, 11.7f, 180.0f}, {-1.5f, 11.7f, 180.0f},
    };
    for (const auto& r : rows) {
        cars = {{0, 0.5f, r.dir}};
        LIGHTS_fraction();
        ROADS_draw_traffic();
        ASSERT_EQ(light_count, 1);
        const light_record a = light_queue[0];
        LIGHTS_fraction();
        ROADS_draw_traffic();
        const light_record b = light_queue[0];
        EXPECT_NEAR(a.x, -18.0f + r.lane_m, 1e-3f) << r.dir;
        EXPECT_EQ(a.heading, r.heading) << r.dir;
        EXPECT_NEAR((a.z - b.z) / 0.1f, r.dir * 29.06f, 0.05f) << r.dir;
    }
}

TEST_F(Roads, PylonsThickenWithDistanceAndWiresSag)
{
    // Two pylons 300 m apart, linked, the camera over the first.
    std::vector<segment_point>& pylons = SEG_list_for_writing(3, 200, 200);
    pylons = {element(0, 0, 0, 0, 0, SEG_ON_LAND), element(300, 0, 0, 0, 0, SEG_END)};
    pylons[0].normal[0] = 200, pylons[0].normal[1] = 200, pylons[0].normal[2] = 1;
    const fed_back f = feedback([] { ROADS_draw_traffic(); });
    auto extent_z = [&](float x0, float x1) {
        float lo = 1e9f, hi = -1e9f;
        for (const auto& p : f.polygons)
            for (const fed_vertex& v : p)
                if (v.x > x0 && v.x < x1) lo = std::min(lo, v.z), hi = std::max(hi, v.z);
        return hi - lo;
    };
    EXPECT_NEAR(extent_z(-40, 40), 1.0f, 1e-3f);           // at the camera: bars 1 m across
    EXPECT_GT(extent_z(260, 340), 1.0f);                   // farther: thicker
    ASSERT_EQ(f.lines.size(), 4u * 20u);                   // four wires of 21 points
    float high = -1e9f, low = 1e9f;
    for (const auto& l : f.lines)
        for (const fed_vertex& v : l) high = std::max(high, v.y), low = std::min(low, v.y);
    EXPECT_NEAR(high, 60.0f, 0.01f);
    EXPECT_NEAR(low, 36.0f, 0.01f);
    // The wires leave the 22-m arm at -1, -0.7, +0.7 and +1 of it, at 0.3 alpha
    // next to the camera. A next pylon turned 100 degrees (more than 90) is
    // wired as if turned 280: its -1 end at 300 - 22 cos 280, -22 sin 280.
    pylons[1].heading = 100.0f;
    const fed_back turned = feedback([] { ROADS_draw_traffic(); });
    ASSERT_EQ(turned.lines.size(), 80u);
    const float starts[4] = {-22.0f, -15.4f, 15.4f, 22.0f};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(turned.lines[size_t(20 * k)][0].x, starts[k], 0.01f) << k;
        EXPECT_NEAR(turned.lines[size_t(20 * k)][0].rgba[3], 0.3f, 1e-3f) << k;
    }
    EXPECT_NEAR(turned.lines[19][1].x, 296.1797f, 0.01f);
    EXPECT_NEAR(turned.lines[19][1].z, 21.6658f, 0.01f);
    // Turned 60 degrees (within 90) it is wired as it stands: 300 - 22 cos 60, -22 sin 60.
    pylons[1].heading = 60.0f;
    const fed_back within = feedback([] { ROADS_draw_traffic(); });
    ASSERT_EQ(within.lines.size(), 80u);
    EXPECT_NEAR(within.lines[19][1].x, 289.0f, 0.01f);
    EXPECT_NEAR(within.lines[19][1].z, -19.0526f, 0.01f);
    pylons[1].heading = 0.0f;

    // At 8 nautical miles a pylon is 6 m thick, and has no wires.
    pylons[1].x = POWER_FAR_M;
    pylons[0].x = POWER_FAR_M - 300.0f;
    top_down(POWER_FAR_M, 0.0f);
    sim_graphics_view.view_x = 0.0f;
    terrain_window = {0, 0, 449, 399};
    for (int i = 0; i < 450; ++i) cell_visible[TERRAIN_index(i, 200)] = 1;
    const fed_back far = feedback([] { ROADS_draw_traffic(); });
    float lo = 1e9f, hi = -1e9f;
    for (const auto& p : far.polygons)
        for (const fed_vertex& v : p)
            if (v.x > POWER_FAR_M - 40.0f) lo = std::min(lo, v.z), hi = std::max(hi, v.z);
    EXPECT_NEAR(hi - lo, 6.0f, 1e-3f);
    EXPECT_TRUE(far.lines.empty());

    // Half-way out f = 0.5: alpha 0.25, half-thickness 0.75 x 2.5 + 0.5 =
    // 2.375, so the cross-arm's top stands 62.375 m up. Turned 30 degrees the
    // arm runs along (cos 30, sin 30) in x and z: its east tip lies south.
    pylons[0].x = 0.5f * POWER_FAR_M;
    pylons[0].heading = 30.0f;
    top_down(pylons[0].x, 0.0f);
    sim_graphics_view.view_x = 0.0f;
    const fed_back half = feedback([] { ROADS_draw_traffic(); });
    fed_vertex east{};
    east.x = -1e9f;
    float top = -1e9f;
    for (const auto& p : half.polygons)
        for (const fed_vertex& v : p) {
            if (std::fabs(v.x - pylons[0].x) > 40.0f) continue;
            EXPECT_NEAR(v.rgba[3], 0.25f, 1e-3f);
            top = std::max(top, v.y);
            if (v.x > east.x) east = v;
        }
    EXPECT_NEAR(top, 62.375f, 1e-3f);
    EXPECT_GT(east.z, 5.0f);

    // Wires only from pylons strictly within 3,704 m along x and z.
    pylons[0].heading = 0.0f;
    for (const auto& [x, wired] : {std::pair{POWER_NEAR_M - 1.0f, true}, std::pair{POWER_NEAR_M, false}}) {
        pylons[0].x = x, pylons[1].x = x + 300.0f;
        top_down(x, 0.0f);
        sim_graphics_view.view_x = 0.0f;
        EXPECT_EQ(feedback([] { ROADS_draw_traffic(); }).lines.size(), wired ? 80u : 0u) << x;
    }
}

TEST_F(Roads, RiverWaterStepsThroughItsSixteenFramesEveryTwoSeconds)
{
    // The phase gains half the frame period and wraps into 0..1 (1 itself
    // stays); the frame is the phase x 15 to the nearest whole number.
    const struct {
        float period;
        int slot;
    } frames[] = {
        {0.1f, 239},   // 0.05 x 15 = 0.75 -> 1
        {1.0f, 246},   // 0.55 x 15 = 8.25 -> 8
        {0.9f, 253},   // exactly 1 -> 15
        {0.2f, 240},   // 1.1 wraps to 0.1: 1.5 -> 2
    };
    struct water_log : bind_recorder {
        int slot = -1;
        void bound(int s, int unit) override
        {
            if (unit == 0 && s >= 238 && s <= 253) slot = s;
        }
    } log;
    OGL_install_bind_recorder(&log);
    for (const auto& f : frames) {
        sim_operation_misc.frame_rate_period = f.period;
        feedback([] { ROADS_draw_traffic(); });
        EXPECT_EQ(log.slot, f.slot) << f.period;
    }
    OGL_install_bind_recorder(nullptr);
}

// A river's strip closes only on the end flag (-999): a cross section
// flagged 0 in the middle of a river carries the strip on, so four cross
// sections give the same three quads whatever the middle flags are.
TEST_F(Roads, ARiverStripClosesOnlyOnItsEndFlag)
{
    auto river = [](float middle_flag) {
        SEG_list_for_writing(5, 200, 200) = {   // the rivers' list
            element(-18, 60, 18, 60, 0, SEG_ON_LAND), element(-18, 20, 18, 20, 1, middle_flag),
            element(-18, -20, 18, -20, 2, SEG_ON_LAND), element(-18, -60, 18, -60, 3, SEG_END)};
        return feedback([] { ROADS_draw_traffic(); }).polygons.size();
    };
    const size_t whole = river(SEG_ON_LAND);
    EXPECT_GT(whole, 0u);
    EXPECT_EQ(river(0), whole);
}

TEST_F(Roads, PhaseSixTakesRiversAndRoadsButNotPylons)
{
    SEG_list_for_writing(3, 200, 200) = {element(100, 0, 0, 0, 0, SEG_END)};
    const size_t pylon_only = feedback([] { ROADS_draw_traffic(); }).polygons.size();
    highway({{40.0f, SEG_ON_LAND}, {-40.0f, SEG_END}});
    SEG_list_for_writing(5, 200, 200) = {element(-50, 50, -100, 50, 0, SEG_ON_LAND), element(-50, -50, -100, -50, 1, SEG_END)};
    const size_t all = feedback([] { ROADS_draw_traffic(); }).polygons.size();
    app_mode = MODE_FLYING;   // a plug-in takes the rivers and roads
    plugin_host.entries.drawing = [](int phase) { return phase == DRAW_PHASE_VECTORS_BEFORE ? 0 : 1; };
    const size_t taken = feedback([] { ROADS_draw_traffic(); }).polygons.size();
    EXPECT_GT(pylon_only, 0u);
    EXPECT_GT(all, pylon_only);
    EXPECT_EQ(taken, pylon_only);
    sim_graphics_settings.draw_vectors = 0;
    EXPECT_TRUE(feedback([] { ROADS_draw_traffic(); }).polygons.empty());
}

TEST_F(Roads, TaxiLinesRunOnAcrossLinesAndCloseOnTheirEnd)
{
    // Two lines in one cell; the first lacks its end flag and runs on into the second.
    SEG_list_for_writing(4, 200, 200) = {element(0, 0, 0.2f, 0, 1, SEG_ON_LAND), element(0, -10, 0.2f, -10, 1, SEG_ON_LAND),
                                         element(50, 0, 50.2f, 0, 1, SEG_ON_LAND), element(50, -10, 50.2f, -10, 2, SEG_END),
                                         element(90, 0, 90.2f, 0, 1, SEG_END)};
    glDisable(GL_CULL_FACE);
    const fed_back f = feedback([] { TAXILINES_draw(); });
    float t_max = 0.0f;
    bool joined = false;
    for (const auto& p : f.polygons) {
        float x0 = 1e9f, x1 = -1e9f;
        for (const fed_vertex& v : p) {
            t_max = std::max(t_max, v.t);
            x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
            EXPECT_NEAR(v.rgba[3], 0.4f, 1e-3f);
            EXPECT_LT(v.x, 60.0f);   // the lone element after the end starts a strip of its own: nothing
        }
        joined = joined || (x0 < 1.0f && x1 > 49.0f);
    }
    EXPECT_TRUE(joined);
    EXPECT_NEAR(t_max, 3.0f, 1e-4f);   // the along-line coordinate runs on over the lines
    // Across the line: s 0 on the b edge (0.2 m east of a whole metre), 1 on a.
    for (const auto& p : f.polygons)
        for (const fed_vertex& v : p) EXPECT_NEAR(v.s, v.x > std::floor(v.x) + 0.1f ? 0.0f : 1.0f, 1e-4f) << v.x;
    // An ended line does not restart t: a one-section line takes t to 1, the
    // next line runs from 1 to 2. The lines are drawn over what lies before
    // them (no depth test).
    SEG_list_for_writing(4, 200, 200) = {element(0, 0, 0.2f, 0, 1, SEG_END), element(50, 0, 50.2f, 0, 1, SEG_ON_LAND),
                                         element(50, -10, 50.2f, -10, 1, SEG_END)};
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    float t_min = 9.0f;
    for (const auto& p : feedback([] { TAXILINES_draw(); }).polygons)
        for (const fed_vertex& v : p) t_min = std::min(t_min, v.t);
    EXPECT_NEAR(t_min, 1.0f, 1e-4f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    // Lines 3,500 m east of the camera show; 4,500 m east, past the 4,000-m
    // reach, they do not, though their cells are visible.
    SEG_clear_lists();
    whole_window_visible(60);
    SEG_list_for_writing(4, 235, 200) = {element(3500, 0, 3500.2f, 0, 1, SEG_ON_LAND), element(3500, -10, 3500.2f, -10, 1, SEG_END)};
    SEG_list_for_writing(4, 245, 200) = {element(4500, 0, 4500.2f, 0, 1, SEG_ON_LAND), element(4500, -10, 4500.2f, -10, 1, SEG_END)};
    sim_graphics_settings.draw_taxilines = 1;
    const fed_back far = feedback([] {
        top_down(4000.0f, 0.0f);
        sim_graphics_view.view_x = 0.0f;   // the camera itself stays at the origin
        TAXILINES_draw();
    });
    ASSERT_FALSE(far.polygons.empty());
    for (const auto& p : far.polygons)
        for (const fed_vertex& v : p) EXPECT_NEAR(v.x, 3500.0f, 1.0f);
    sim_graphics_settings.draw_taxilines = 0;
    EXPECT_TRUE(feedback([] { TAXILINES_draw(); }).polygons.empty());
}

TEST_F(Roads, ScorchMarkSizeFollowsTheWeaponsFuel)
{
    wpn_slot_record& w = pln[0].acf_wpn_slot[3];
    w.wpn_impact = 1;
    w.wpn_fuel = 1000.0f;
    w.wpn_impact_pos[0] = 100.0f, w.wpn_impact_pos[2] = -50.0f;
    interval_ticks[INTERVAL_FIVE_SECONDS] = 1;
    PARTICLE_list_reset();
    const fed_back f = feedback([] { WPN_draw_impact_marks(); });
    ASSERT_FALSE(f.polygons.empty());
    float x0 = 1e9f, x1 = -1e9f;
    for (const auto& p : f.polygons)
        for (const fed_vertex& v : p) x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
    EXPECT_NEAR(x0, 100.0f - 9.77f, 0.01f);
    EXPECT_NEAR(x1, 100.0f + 9.77f, 0.01f);
    // The picture lies flat: s runs west to east, t south to north.
    for (const auto& p : f.polygons)
        for (const fed_vertex& v : p) {
            EXPECT_NEAR(v.s, (v.x - x0) / (x1 - x0), 1e-3f) << v.x << "," << v.z;
            EXPECT_NEAR(v.t, (v.z > -50.0f) ? 0.0f : 1.0f, 1e-3f) << v.x << "," << v.z;
        }
    // One black puff of 0.25 s and 50 s: 2.44 m, 488 s before the particles' own variety.
    // (The particles vary their size and life by 0.85 to 1.15.)
    ASSERT_EQ(particle_list.size(), 1u);
    const particle_record& p = particle_list[0];
    EXPECT_EQ(p.color, 33);
    const float s = std::pow(1000.0f, 0.33f);
    EXPECT_GE(p.size, 0.85f * 0.25f * s - 1e-3f);
    EXPECT_LE(p.size, 1.15f * 0.25f * s + 1e-3f);
    EXPECT_GE(p.life, 0.85f * 50.0f * s - 1e-2f);
    EXPECT_LE(p.life, 1.15f * 50.0f * s + 1e-2f);

    // Drawn from the same random draws, the puff is the spawn of (x, y, z),
    // no velocity, size 0.25 s, growth 0.25, life 50 s, colour 33, opacity 1.
    PARTICLE_list_reset();
    UTIL_srand(77);
    PARTICLE_spawn(100.0f, 0.0f, -50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.25f * s, 0.25f, 50.0f * s, 33, 1.0f, 0);
    ASSERT_EQ(particle_list.size(), 1u);
    const particle_record want = particle_list[0];
    PARTICLE_list_reset();
    UTIL_srand(77);
    feedback([] { WPN_draw_impact_marks(); });
    ASSERT_EQ(particle_list.size(), 1u);
    const particle_record& got = particle_list[0];
    EXPECT_EQ(got.size, want.size);
    EXPECT_EQ(got.growth, want.growth);
    EXPECT_EQ(got.life, want.life);
    EXPECT_EQ(got.opacity, want.opacity);
    EXPECT_EQ(got.vx, want.vx);
    EXPECT_EQ(got.vy, want.vy);
    // Between the 5-s ticks the mark puffs nothing.
    interval_ticks[INTERVAL_FIVE_SECONDS] = 0;
    PARTICLE_list_reset();
    feedback([] { WPN_draw_impact_marks(); });
    EXPECT_TRUE(particle_list.empty());
}
