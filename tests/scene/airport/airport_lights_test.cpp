// Beacons, windsocks and runway lights: the lights the pass asks of the
// light kit (its seam), the tower and the sock in feedback mode.
#include <array>
#include <cmath>

#include "core/geo.h"
#include "tests/scene/airport/airport_fixture.h"

namespace {

class AirportLights : public AirportScene {
protected:
    int a = -1;
    void SetUp() override
    {
        AirportScene::SetUp();
        a = add_airport({runway("18", add_geometry({160, 160}, 100.0f, 40.0f))});
        sim_graphics_view.view_heading = 0.0f;
        sim_graphics_view.view_x = 0.0f, sim_graphics_view.view_y = 100.0f, sim_graphics_view.view_z = 1000.0f;
    }
    std::vector<runway_light>& lights() { return runway_geometry_table[0].lights; }
    airport_record& airport() { return airport_table[static_cast<size_t>(a)]; }
    // The lights of one pass.
    std::vector<bind_recorder::light_call> pass()
    {
        rec.lights.clear();
        WORLDOBJ_draw_objects();
        return rec.lights;
    }
};

}  // namespace

// Approach-slope lights show white from their glide angle up, red below, and
// are drawn even while the runway lights are off; other lights are not.
TEST_F(AirportLights, ApproachSlopeLightsByTheirAngle)
{
    lights() = {{96, 0.0f, 0.0f, 0.0f}, {110, 10.0f, 0.0f, 0.0f}};
    sim_graphics_scenery.percent_lights_on = 0.0f;   // state 10: brightness 0
    for (const float angle : {2.7f, 2.5f}) {
        sim_graphics_view.view_y = 1000.0f * std::tan(angle * 0.017453292f);
        const auto drawn = pass();
        ASSERT_EQ(drawn.size(), 1u) << angle;
        EXPECT_EQ(drawn[0].size, 2.0f);
        EXPECT_EQ(drawn[0].type, 107);
        EXPECT_EQ(drawn[0].g, angle > 2.6f ? 1.0f : 0.0f) << angle;
        EXPECT_EQ(drawn[0].r, 1.0f);
    }
    EXPECT_EQ(near_airport_light_state[0], 10);
}

// Each approach-slope code turns white at its own glide angle (codes 94..103:
// 2.5 3.5 2.6 2.9 3.1 3.4 17 19 21 23 degrees); strobes (105) add a white
// flash of size 6 on the half-second beat, centre lines (106, 107) take the
// plain sprite, every other code the haloed one.
TEST_F(AirportLights, SlopeAnglesStrobesAndSpritesByCode)
{
    const float angles[10] = {2.5f, 3.5f, 2.6f, 2.9f, 3.1f, 3.4f, 17.0f, 19.0f, 21.0f, 23.0f};
    for (int k = 0; k < 10; ++k)
        for (const float off : {-0.05f, 0.05f}) {
            lights() = {{94 + k, 0.0f, 0.0f, 0.0f}};
            sim_graphics_view.view_y = 1000.0f * std::tan((angles[k] + off) * 0.017453292f);
            const auto drawn = pass();
            ASSERT_EQ(drawn.size(), 1u);
            EXPECT_EQ(drawn[0].g, off > 0.0f ? 1.0f : 0.0f) << 94 + k << " " << off;
        }
    near_airport_light_state[0] = 3;
    interval_ticks[INTERVAL_HALF_SECOND] = 1;
    const struct {
        int code;
        std::vector<std::array<float, 2>> size_type;
    } rows[] = {{105, {{6.0f, 107.0f}, {1.0f, 107.0f}}}, {106, {{1.0f, 105.0f}}}, {107, {{1.0f, 105.0f}}},
                {110, {{1.0f, 107.0f}}}};
    for (const auto& r : rows) {
        lights() = {{r.code, 0.0f, 0.0f, 0.0f}};
        std::vector<std::array<float, 2>> got;
        for (const auto& l : pass()) got.push_back({l.size, static_cast<float>(l.type)});
        EXPECT_EQ(got, r.size_type) << r.code;
    }
    interval_ticks[INTERVAL_HALF_SECOND] = 0;
}

// A state above 9 follows the random entry every frame; one set by the
// traffic control stays.
TEST_F(AirportLights, LightStatesAndBrightness)
{
    random_entry_guard guard(a);
    lights() = {{110, 0.0f, 0.0f, 0.0f}};
    near_airport_light_state[0] = 12;
    random_table[a] = 0.3f;   // 11 + round(0.9)
    EXPECT_FLOAT_EQ(pass().at(0).a, 0.8f);
    EXPECT_EQ(near_airport_light_state[0], 12);
    random_table[a] = 0.9f;   // 11 + round(2.7)
    EXPECT_FLOAT_EQ(pass().at(0).a, 0.5f);
    EXPECT_EQ(near_airport_light_state[0], 14);
    near_airport_light_state[0] = 4;
    EXPECT_FLOAT_EQ(pass().at(0).a, 0.5f);
    EXPECT_EQ(near_airport_light_state[0], 4);
    near_airport_light_state[0] = 3;
    EXPECT_FLOAT_EQ(pass().at(0).a, 1.0f);
    near_airport_light_state[0] = 1;
    EXPECT_FLOAT_EQ(pass().at(0).a, 0.6f);
    near_airport_light_state[0] = 2;
    EXPECT_FLOAT_EQ(pass().at(0).a, 0.8f);
    near_airport_light_state[0] = 0;   // dark: no light
    EXPECT_TRUE(pass().empty());
}

// The beacon's colour and alpha by kind, at t = airport index + running time
// of 4 (sin t < 0, sin 2t > 0), 2 (sin t > 0, sin 2t < 0) and 5 (both < 0):
// signed squares q1 = -0.572750, 0.826822, -0.919536 and q2 = 0.978842,
// -0.572750, -0.295959.
TEST_F(AirportLights, BeaconColourByKind)
{
    airport().beacon_lat = 0.02f;
    const struct {
        float t;
        int kind, half_second;
        float r, g, b, alpha;
    } rows[] = {
        {4.0f, 1, 0, 0, 1, 0, 0.572750f}, {2.0f, 1, 0, 1, 1, 1, 0.826822f},
        {4.0f, 2, 0, 1, 1, 0, 0.572750f}, {2.0f, 2, 0, 1, 1, 1, 0.826822f},
        {4.0f, 3, 0, 1, 1, 0, 0.978842f}, {5.0f, 3, 0, 0, 1, 0, 0.295959f}, {2.0f, 3, 0, 1, 1, 1, 0.826822f},
        {4.0f, 4, 0, 0, 1, 0, 0.572750f}, {2.0f, 4, 0, 1, 1, 1, 0.572750f},
        {4.0f, 5, 1, 1, 1, 1, 1.0f},      {2.0f, 5, 0, 1, 1, 1, 0.0f},
    };
    for (const auto& r : rows) {
        airport().beacon_type = r.kind;
        sim_time.total_running_time_sec = r.t - static_cast<float>(a);
        interval_ticks[INTERVAL_HALF_SECOND] = r.half_second;
        const auto drawn = pass();
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn[0].size, 4.0f);
        EXPECT_EQ(drawn[0].r, r.r) << "kind " << r.kind << " t " << r.t;
        EXPECT_EQ(drawn[0].g, r.g) << "kind " << r.kind << " t " << r.t;
        EXPECT_EQ(drawn[0].b, r.b) << "kind " << r.kind << " t " << r.t;
        EXPECT_NEAR(drawn[0].a, r.alpha, 1e-4f) << "kind " << r.kind << " t " << r.t;
    }
    interval_ticks[INTERVAL_HALF_SECOND] = 0;
}

// The runway lights are drawn a hundredth of the camera's height nearer along
// the view (here 1 m): looking north that is 1 m south, looking east 1 m
// west, looking north 30 degrees down 0.5 m up and 0.866 m south.
TEST_F(AirportLights, RunwayLightsComeNearerByAHundredthOfTheHeight)
{
    near_airport_light_state[0] = 3;
    lights() = {{110, 0.0f, 0.0f, 0.0f}};
    sim_graphics_settings.draw_textured_lites = 0;   // plain points
    scene_ground_elevation = 0.0f;
    sim_graphics_view.view_y = 100.0f;
    // Window x and y of the light, looking north (x, y) or turned a quarter (z, y); 100 units a metre.
    const auto seen = [&](bool turned) {
        look_north(100.0f);
        if (turned) glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        for (const fb_item& it : capture([&] { WORLDOBJ_draw_objects(); }))
            if (it.token == GL_POINT_TOKEN) return std::array<float, 2>{(it.v[0].x - 512.0f) / 100.0f, (it.v[0].y - 384.0f) / 100.0f};
        return std::array<float, 2>{1e9f, 1e9f};
    };
    const struct {
        float heading, pitch, x, y, z;
    } rows[] = {{0.0f, 0.0f, 0.0f, 0.0f, 1.0f}, {90.0f, 0.0f, -1.0f, 0.0f, 0.0f}, {0.0f, -30.0f, 0.0f, 0.5f, 0.866025f}};
    for (const auto& r : rows) {
        sim_graphics_view_block& v = sim_graphics_view;
        v.view_heading = r.heading, v.view_pitch = r.pitch;
        v.view_heading_sin = std::sin(r.heading * 0.017453292f), v.view_heading_cos = std::cos(r.heading * 0.017453292f);
        v.view_pitch_sin = std::sin(r.pitch * 0.017453292f), v.view_pitch_cos = std::cos(r.pitch * 0.017453292f);
        const std::array<float, 2> front = seen(false), side = seen(true);
        EXPECT_NEAR(front[0], r.x, 1e-3f) << r.heading << " " << r.pitch;
        EXPECT_NEAR(front[1], r.y, 1e-3f) << r.heading << " " << r.pitch;
        EXPECT_NEAR(side[0], r.z, 1e-3f) << r.heading << " " << r.pitch;
    }
}

// 2000 marks a light seen against the runway's heading, 1000 one seen along it.
TEST_F(AirportLights, DirectionsOfTheLightCodes)
{
    near_airport_light_state[0] = 3;
    lights() = {{2500, 0.0f, 0.0f, 0.0f}, {3500, 5.0f, 0.0f, 0.0f}, {1110, 10.0f, 0.0f, 0.0f}, {110, 15.0f, 0.0f, 0.0f}};
    const struct {
        float view_heading;
        std::vector<float> xs;
    } cases[] = {{0.0f, {5.0f, 10.0f, 15.0f}}, {89.0f, {5.0f, 10.0f, 15.0f}}, {180.0f, {0.0f, 15.0f}},
                 {270.0f, {0.0f, 15.0f}}};
    for (const auto& c : cases) {
        sim_graphics_view.view_heading = c.view_heading;
        std::vector<float> xs;
        for (const auto& l : pass()) xs.push_back(l.x);
        EXPECT_EQ(xs, c.xs) << c.view_heading;
    }
}

// A sequenced flasher moves 50 m toward the runway a tenth of a second, ten steps and back.
TEST_F(AirportLights, SequencedFlasherSteps)
{
    near_airport_light_state[0] = 3;
    lights() = {{104, 0.0f, 0.0f, 0.0f}};
    for (int k = 0; k <= 10; ++k) {
        sim_network_misc.network_time_sec = 0.1f * static_cast<float>(k) + 3.0f;
        const auto drawn = pass();
        ASSERT_EQ(drawn.size(), 2u);   // the flash, then the light itself
        EXPECT_EQ(drawn[0].size, 3.0f);
        EXPECT_NEAR(drawn[0].z, -50.0f * static_cast<float>(k % 10), 1e-3f) << k;
        EXPECT_EQ(drawn[1].z, 0.0f);
    }
}

TEST_F(AirportLights, BeaconOnlyWhereTheAirportHasOne)
{
    for (const float lat : {0.005f, 0.02f}) {
        airport().beacon_lat = lat;
        airport().beacon_lon = 0.005f;
        airport().beacon_type = 1;
        const auto drawn = pass();
        const bool beacon = !drawn.empty() && drawn[0].size == 4.0f;
        EXPECT_EQ(beacon, lat > 0.01f) << lat;
    }
    // By day the tower stands without its light.
    sim_graphics_scenery.percent_lights_on = 0.0f;
    EXPECT_TRUE(pass().empty());
}

// Calm, the sock hangs along the pole; from 10 m/s of wind it flies level downwind.
TEST_F(AirportLights, WindsockHangsInCalmAndFliesFrom10mps)
{
    float lat, lon, elev;
    GEO_local_to_latlon(lat, lon, elev, 0.0, 0.0, 0.0);
    airport().windsocks.push_back({lat, lon, 0});
    look_north(20.0f);   // 20 window units a metre
    for (const float wind : {0.0f, 10.0f, 5.0f}) {
        wind_vector[0] = wind;
        const std::vector<fb_item> sock = drawn_with(capture([&] { WORLDOBJ_draw_objects(); }), TEX_SLOT_SURFACES);
        ASSERT_FALSE(sock.empty());
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const fb_item& p : sock)
            for (const auto& v : p.v) x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
        const float top = 384.0f + 20.0f * 5.0f;   // the pole's top, 5 m up
        if (wind == 5.0f) {   // half way up: 45 degrees below level, tip ring 2.7 m out along the sock
            EXPECT_NEAR(x1, 512.0f + 20.0f * 2.7f * 0.70711f, 0.5f);
            EXPECT_NEAR(y0, top - 20.0f * 2.7f * 0.70711f, 0.5f);
        } else if (wind == 0.0f) {
            EXPECT_NEAR(y0, top - 20.0f * 2.5f, 0.5f);
            EXPECT_LE(y1, top + 0.5f);
            EXPECT_NEAR(x1 - x0, 20.0f * 1.2f, 0.5f);
        } else {
            EXPECT_NEAR(x1, 512.0f + 20.0f * 2.5f, 0.5f);
            EXPECT_NEAR(y1 - y0, 20.0f * 1.2f, 0.5f);
        }
    }
}
