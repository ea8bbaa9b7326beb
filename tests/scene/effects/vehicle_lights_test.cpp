// Road vehicles: the queue's culling and kinds, the body models and the light
// points a queue draws (seen at the light kit's seam).
#include <cmath>

#include "core/texture_slots.h"
#include "tests/scene/airport/airport_fixture.h"

namespace {

class Vehicles : public AirportScene {
protected:
    void SetUp() override
    {
        AirportScene::SetUp();
        sim_graphics_view.view_x = sim_graphics_view.view_z = 0.0f;
        sim_graphics_view.view_heading = 0.0f;
    }
    // One frame's queue: the vehicles given, then the drawing; the lights asked for.
    std::vector<bind_recorder::light_call> frame(const std::function<void()>& queue)
    {
        LIGHTS_fraction();
        queue();
        rec.lights.clear();
        LIGHTS_draw();
        for (int32_t& t : interval_ticks) t = 0;
        return rec.lights;
    }
};

}  // namespace

// Lit vehicles are kept to 1,852 m by day and 46,300 m at night; unlit ones
// to 1,852 m always; a vehicle exactly at its limit is queued.
TEST_F(Vehicles, CulledByDistanceByDayAndNight)
{
    const struct {
        float lights_on, distance;
        uint8_t lit;
        bool queued;
    } cases[] = {
        {0.3f, 1852.0f, 1, true},     {0.3f, 1852.5f, 1, false}, {1.0f, 46300.0f, 1, true},
        {1.0f, 46310.0f, 1, false},   {1.0f, 1852.0f, 0, true},  {1.0f, 1852.5f, 0, false},
    };
    for (const auto& c : cases) {
        sim_graphics_scenery.percent_lights_on = c.lights_on;
        LIGHTS_fraction();
        LIGHTS_add(1, 0.0f, 0.0f, c.distance, 0.0f, c.lit, 0, 1);
        EXPECT_EQ(light_count, c.queued ? 1 : 0) << c.lights_on << " " << c.distance << " " << int(c.lit);
    }
    // The queue keeps its storage and grows by one record past its longest frame.
    LIGHTS_fraction();
    for (int k = 0; k < 3; ++k) LIGHTS_add(k, 10.0f, 0.0f, 0.0f, 0.0f, 1, 0, 1);
    EXPECT_EQ(light_queue.size(), 3u);
    LIGHTS_fraction();
    LIGHTS_add(7, 10.0f, 0.0f, 0.0f, 0.0f, 1, 0, 1);
    EXPECT_EQ(light_queue.size(), 3u);
    EXPECT_EQ(light_queue[0].kind, 7);
}

// Codes ending in 8 or 9 stay emergency vehicles only where their random
// entry is at most 0.4; the others become code mod 8.
TEST_F(Vehicles, EmergencyKindsByTheRandomTable)
{
    random_entry_guard guard(18);
    const struct {
        int code;
        float entry;
        int kind;
    } cases[] = {{18, 0.41f, 2}, {18, 0.40f, 8}, {-3, 0.0f, -3}};
    for (const auto& c : cases) {
        random_table[18] = c.entry;
        LIGHTS_fraction();
        LIGHTS_add(c.code, 0.0f, 0.0f, 10.0f, 0.0f, 0, 0, 0);
        ASSERT_EQ(light_count, 1);
        EXPECT_EQ(light_queue[0].kind, c.kind) << c.code << " " << c.entry;
    }
}

TEST_F(Vehicles, BodyModels)
{
    const float* v = vehicle_models[0];
    const float expected[5] = {0.841248f, 0.224367f, -2.28219f, 0.0f, 0.023872f};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(v[k], expected[k], 2e-6f) << k;
    // The left side mirrors the right: vertex 19 is vertex 0 across the centre line.
    EXPECT_FLOAT_EQ(v[5 * 19], -v[0]);
    EXPECT_FLOAT_EQ(v[5 * 19 + 2], v[2]);
    // The bus (kind 9) runs 11 m, its texture strip 5 of the 34-row strips.
    const float* bus = vehicle_models[9];
    EXPECT_FLOAT_EQ(bus[2], -5.5f);
    EXPECT_FLOAT_EQ(bus[5 * 9 + 2], 5.5f);
    EXPECT_NEAR(bus[100 + 5 + 4], (170.0f + 33.0f) / 256.0f, 1e-6f);   // upper row, station 1: full height
    // The van (kind 10, 2.5 m high) reaches 0.67 of its height at upper station 3; the
    // tug (kind 11, 2 m wide, 1.5 m high) is 0.4 wide at station 1 and takes the whole texture height.
    EXPECT_FLOAT_EQ(vehicle_models[10][100 + 5 * 3 + 1], 2.5f * 0.67f);
    EXPECT_FLOAT_EQ(vehicle_models[11][5 * 1], 0.4f);
    EXPECT_FLOAT_EQ(vehicle_models[11][100 + 5 * 4 + 4], 1.0f);
    // Drawn: within a nautical mile a body of cars' texture, at the limit none.
    sim_graphics_scenery.percent_lights_on = 0.0f;
    look_down(0.0f, 0.0f, 0.2f);
    for (const float distance : {10.0f, 1852.0f}) {
        const auto items = capture([&] {
            frame([&] { LIGHTS_add(1, distance, 0.0f, 0.0f, 0.0f, 0, 0, 1); });
        });
        EXPECT_EQ(drawn_with(items, TEX_SLOT_CARS).empty(), distance > 1000.0f) << distance;
    }
    // The roof (after the 42 side vertices, in the order 19, 0, 18, 1, 17, 2, 16, ...)
    // tilts forward from station 3 (vertex 16 on): a car heading north keeps it.
    frame([&] { LIGHTS_add(1, 10.0f, 0.0f, 0.0f, 0.0f, 0, 0, 1); });
    ASSERT_GE(vehicle_batch.vertices.size(), 62u);
    EXPECT_EQ(vehicle_batch.vertices[42 + 5].ny, 1.0f);
    EXPECT_FLOAT_EQ(vehicle_batch.vertices[42 + 6].ny, 0.7f);
    EXPECT_FLOAT_EQ(vehicle_batch.vertices[42 + 6].nz, -0.7f);
}

// At night: tail lights when the camera sees the rear (up to 90 degrees off
// its heading), headlights beyond; brake and turn signals; emergency flashers.
TEST_F(Vehicles, LightsByHeadingBrakeTurnAndKind)
{
    sim_graphics_scenery.percent_lights_on = 1.0f;
    // A car heading 90 from a camera heading 0: its rear is seen.
    for (const float heading : {90.0f, 90.01f, -270.0f}) {
        const auto lights = frame([&] { LIGHTS_add(1, 0.0f, 0.0f, 100.0f, heading, 1, 1, 1); });
        ASSERT_EQ(lights.size(), 2u) << heading;
        const bool tail = heading != 90.01f;
        EXPECT_EQ(lights[0].g, tail ? 0.0f : 1.0f) << heading;
        // Tail lights 4 m behind the centre (west of it), headlights 3 m ahead.
        EXPECT_NEAR(lights[0].x, tail ? -4.0f : 3.0f, 1e-2f) << heading;
        EXPECT_EQ(lights[0].a, 1.0f);
    }
    // Without the brake the tail lights burn at half; with the turn signal on
    // the left one (turn 0) blinks out while the half-second flag is set.
    auto lights = frame([&] { LIGHTS_add(1, 0.0f, 0.0f, 100.0f, 0.0f, 1, 0, 1); });
    EXPECT_EQ(lights.at(0).a, 0.5f);
    EXPECT_EQ(lights.at(1).a, 0.5f);
    interval_ticks[INTERVAL_HALF_SECOND] = 1;   // the turn flag turns on
    lights = frame([&] { LIGHTS_add(1, 0.0f, 0.0f, 100.0f, 0.0f, 1, 1, 0); });
    EXPECT_EQ(lights.at(0).a, 0.0f);   // left
    EXPECT_EQ(lights.at(1).a, 1.0f);   // right
    lights = frame([&] { LIGHTS_add(1, 0.0f, 0.0f, 100.0f, 0.0f, 1, 1, 2); });
    EXPECT_EQ(lights.at(0).a, 1.0f);
    EXPECT_EQ(lights.at(1).a, 0.0f);

    // Kind 9: two red flashers of opposite sizes, then its tail lights; kind 8
    // one blue roof flasher.
    random_entry_guard guard(9);
    random_table[9] = 0.0f;
    lights = frame([&] { LIGHTS_add(9, 0.0f, 0.0f, 100.0f, 0.0f, 1, 1, 1); });
    ASSERT_EQ(lights.size(), 4u);
    EXPECT_EQ(lights[0].g, 0.2f);
    EXPECT_EQ(lights[1].g, 0.2f);
    EXPECT_NE(lights[0].size, lights[1].size);
    EXPECT_EQ(lights[0].size + lights[1].size, 4.0f);
    interval_ticks[INTERVAL_TWENTIETH_SECOND] = 1;   // the pulse swaps the sizes
    const auto swapped = frame([&] { LIGHTS_add(9, 0.0f, 0.0f, 100.0f, 0.0f, 1, 1, 1); });
    EXPECT_EQ(swapped.at(0).size, lights[1].size);
    // By day a lit vehicle shows no light points.
    sim_graphics_scenery.percent_lights_on = 0.3f;
    EXPECT_TRUE(frame([&] { LIGHTS_add(1, 0.0f, 0.0f, 100.0f, 0.0f, 1, 1, 1); }).empty());
}

// Where each light of the emergency kinds stands, for a vehicle at
// P = (0, 0, 100): heading 0 puts its front F at -z and its right R at +x,
// heading 180 the reverse. Kind 9: flashers at P + 0.8R + 3F + 3U and
// P - 0.8R - 4.5F + 3U (sides swapped every 0.2 s), tail lights 6 m back;
// kind 8: the roof flasher at P + 0.8R - F + 2U, tail lights 4 m back, and
// facing the camera one headlight at a time (the left while the wig-wag is clear).
TEST_F(Vehicles, EmergencyLightPositions)
{
    sim_graphics_scenery.percent_lights_on = 1.0f;
    random_entry_guard guard8(8), guard9(9);
    random_table[8] = random_table[9] = 0.0f;
    struct row {
        int code;
        float heading;
        vehicle_blink_record blink;
        std::vector<std::array<float, 4>> x_y_z_size;
    };
    const row rows[] = {
        {9, 0.0f, {0, 0, 0, 0}, {{0.8f, 3, 97, 1}, {-0.8f, 3, 104.5f, 3}, {-0.8f, 1, 106, 1}, {0.8f, 1, 106, 1}}},
        {9, 0.0f, {1, 0, 0, 0}, {{-0.8f, 3, 97, 3}, {0.8f, 3, 104.5f, 1}, {-0.8f, 1, 106, 1}, {0.8f, 1, 106, 1}}},
        {8, 0.0f, {0, 1, 0, 0}, {{0.8f, 2, 101, 3}, {-0.8f, 1, 104, 1}, {0.8f, 1, 104, 1}}},
        {8, 180.0f, {0, 0, 0, 0}, {{-0.8f, 2, 99, 1}, {0.8f, 1, 103, 1}}},
        {8, 180.0f, {0, 0, 1, 0}, {{-0.8f, 2, 99, 1}, {-0.8f, 1, 103, 1}}},
        {9, 180.0f, {0, 0, 1, 0}, {{-0.8f, 3, 103, 1}, {0.8f, 3, 95.5f, 3}, {-0.8f, 1, 106, 1}}},
    };
    for (const row& r : rows) {
        vehicle_blink = r.blink;
        const auto lights = frame([&] { LIGHTS_add(r.code, 0.0f, 0.0f, 100.0f, r.heading, 1, 1, 1); });
        ASSERT_EQ(lights.size(), r.x_y_z_size.size()) << r.code << " " << r.heading;
        for (size_t k = 0; k < lights.size(); ++k) {
            const auto& want = r.x_y_z_size[k];
            EXPECT_NEAR(lights[k].x, want[0], 1e-3f) << r.code << " " << r.heading << " light " << k;
            EXPECT_NEAR(lights[k].y, want[1], 1e-3f) << r.code << " " << r.heading << " light " << k;
            EXPECT_NEAR(lights[k].z, want[2], 1e-3f) << r.code << " " << r.heading << " light " << k;
            EXPECT_EQ(lights[k].size, want[3]) << r.code << " " << r.heading << " light " << k;
        }
    }
}
