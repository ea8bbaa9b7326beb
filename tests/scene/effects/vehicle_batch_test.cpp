// Road vehicles drawn together: a crowd in a perspective view (some wholly
// off it, some across its edges and its near plane, near and far), by day and
// at night with points and with sprites, looks and feeds back as when each
// body is drawn on its own through the matrix stack and every light is asked
// of the light kit.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/texture_slots.h"
#include "tests/scene/airport/airport_fixture.h"

namespace {

constexpr uint8_t CLEAR[3] = {51, 102, 153};

class VehicleCrowd : public AirportScene {
protected:
    void SetUp() override
    {
        AirportScene::SetUp();
        sim_graphics_view.view_y = 20.0f;
        // A cars' picture of coloured cells (texture coordinates show), a sun
        // (normals show) and a haze 30 km deep.
        std::vector<uint8_t> cells(32 * 256 * 3);
        for (size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<uint8_t>((i * 37 + i / 96 * 91) % 251);
        glBindTexture(GL_TEXTURE_2D, TEX_SLOT_CARS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 32, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, cells.data());
        glPushAttrib(GL_FOG_BIT | GL_LIGHTING_BIT);
        const GLfloat haze[4] = {0.5f, 0.5f, 0.5f, 1.0f}, ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
        glFogf(GL_FOG_END, 30000.0f);
        glFogfv(GL_FOG_COLOR, haze);
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, haze);
        queue_crowd();
    }

    void TearDown() override
    {
        glPopAttrib();
        glDisable(GL_CULL_FACE);
        glBindTexture(GL_TEXTURE_2D, TEX_SLOT_CARS);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        AirportScene::TearDown();
    }

    // 20 m up at the origin, looking north and 8 degrees down, 70 by 53 degrees.
    static void look_ahead()
    {
        glViewport(0, 0, 1024, 768);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.7, 0.7, -0.525, 0.525, 1.0, 60000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(8.0f, 1.0f, 0.0f, 0.0f);
        glTranslatef(0.0f, -20.0f, 0.0f);
        const GLfloat sun[4] = {0.6f, 0.5f, -0.62f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        OGL_reset_bound_textures();
    }

    // 600 vehicles 3 m to 45 km away within 70 degrees of north (the view
    // shows 35 each way), one in ten behind, one in 25 level with the camera
    // (across the near plane), no two bodies within 13 m (no two roofs in one
    // plane); lines of lights only across the side edges at 2 to 44 km; kinds
    // 10 and 11 ahead.
    static void queue_crowd()
    {
        uint32_t seed = 12345;
        auto next = [&seed] { return static_cast<float>(((seed = seed * 1103515245u + 12345u) >> 8) & 0xFFFF) / 65535.0f; };
        LIGHTS_fraction();
        std::vector<std::array<float, 2>> taken = {{0.0f, -60.0f}, {0.0f, -120.0f}};
        for (int k = 0; k < 600;) {
            const float b = ((k % 10 == 0 ? 180.0f : 0.0f) + (next() - 0.5f) * 140.0f) * 0.017453292f;
            const float d = 3.0f * std::pow(15000.0f, next()), x = d * std::sin(b), z = -d * std::cos(b);
            const float heading = next() * 360.0f;
            if (std::any_of(taken.begin(), taken.end(), [&](auto& p) { return std::hypot(p[0] - x, p[1] - z) < 13; }))
                continue;
            taken.push_back({x, z});
            LIGHTS_add(k, x, k % 25 == 0 ? 19.0f : 0.0f, z, heading, 1, k & 1, static_cast<uint8_t>(k % 3));
            ++k;
        }
        for (const float d : {2000.0f, 4000.0f, 8000.0f, 16000.0f, 30000.0f, 44000.0f})
            for (int step = -30; step <= 30; ++step) {
                const float b = (step < 0 ? -34.0f + 0.1f * step : 34.0f + 0.1f * step) * 0.017453292f;
                LIGHTS_add(step * 7, d * std::sin(b), 0.0f, -d * std::cos(b), next() * 360.0f, 1, 1, 1);
            }
        for (int kind = 10; kind <= 11; ++kind) {
            LIGHTS_add(kind, 0.0f, 0.0f, -60.0f * static_cast<float>(kind - 9), 30.0f, 0, 0, 0);
            light_queue[static_cast<size_t>(light_count) - 1].kind = kind;
        }
    }

    // Each body on its own, then every light the queue asks for when nothing is off the view.
    static void one_at_a_time(const std::vector<bind_recorder::light_call>& lights)
    {
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        OGL_bind_tex(TEX_SLOT_CARS, 0);
        for (int n = 0; n < light_count; ++n) {
            const light_record& q = light_queue[static_cast<size_t>(n)];
            if (!(q.dist_sq < LIGHTS_NEAR_LIMIT_SQ) || q.kind < 0 || q.kind >= VEHICLE_KINDS) continue;
            glPushMatrix();
            glTranslatef(q.x, q.y, q.z);
            glRotatef(q.heading, 0.0f, -1.0f, 0.0f);
            LIGHTS_draw_model(vehicle_models[q.kind]);
            glPopMatrix();
        }
        if (sim_graphics_scenery.percent_lights_on <= 0.3f) return;
        OGL_lights_begin(0);
        OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        for (const auto& c : lights)
            OGL_draw_light(c.x, c.y, c.z, c.r, c.g, c.b, c.a, c.size, c.flash_index, c.phase_index, c.type);
        OGL_lights_end();
    }

    static std::vector<uint8_t> pixels(const std::function<void()>& draw)
    {
        glDepthMask(GL_TRUE);
        glClearColor(CLEAR[0] / 255.0f, CLEAR[1] / 255.0f, CLEAR[2] / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        look_ahead();
        draw();
        std::vector<uint8_t> out(1024 * 768 * 4);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
};

}  // namespace

// Pictures: the same pixels are painted. Placing the bodies in the world on
// the CPU rounds differently from the matrix stack in the last bit, so a
// colour may differ by a step or two, and a pixel centre on a texel edge may
// take the texel beside it. Feedback: the very points and polygons, in the
// same order, so nothing left out could have shown.
TEST_F(VehicleCrowd, LooksAndFeedsBackAsOneAtATime)
{
    const struct {
        const char* name;
        float lights_on;
        int sprites;
        bool cull_faces;
    } cases[] = {{"day", 0.0f, 0, false}, {"night, points", 1.0f, 0, true}, {"night, sprites", 1.0f, 1, false}};
    for (const auto& c : cases) {
        sim_graphics_scenery.percent_lights_on = c.lights_on;
        sim_graphics_settings.draw_textured_lites = c.sprites;
        look_down(0.0f, 0.0f, 0.005f);   // everything in view
        rec.lights.clear();
        LIGHTS_draw();
        const auto lights = rec.lights;
        if (c.cull_faces) glEnable(GL_CULL_FACE);
        rec.lights.clear();
        const auto batch = pixels([] { LIGHTS_draw(); });
        const size_t asked = rec.lights.size(), bodies = vehicle_batch.firsts.size() / 2;
        const auto single = pixels([&] { one_at_a_time(lights); });
        int shown = 0, coverage = 0, colour = 0;
        for (size_t i = 0; i < single.size(); i += 4) {
            const bool pa = std::memcmp(&batch[i], CLEAR, 3) != 0, pb = std::memcmp(&single[i], CLEAR, 3) != 0;
            shown += pb;
            coverage += pa != pb;
            colour += pa && pb && std::max({std::abs(batch[i] - single[i]), std::abs(batch[i + 1] - single[i + 1]),
                                            std::abs(batch[i + 2] - single[i + 2])}) > 2;
        }
        EXPECT_GT(shown, 15000) << c.name;
        EXPECT_EQ(coverage, 0) << c.name;
        EXPECT_LT(colour, shown / 100) << c.name;
        // Part of the crowd was left out: bodies, and at night lights.
        EXPECT_TRUE(bodies > 30 && bodies < 150) << c.name << " " << bodies;
        EXPECT_TRUE(c.lights_on <= 0.3f || (asked > 100 && asked < lights.size() * 3 / 4)) << c.name;

        look_ahead();
        const auto fed = capture([] { LIGHTS_draw(); });
        look_ahead();
        const auto expected = capture([&] { one_at_a_time(lights); });
        glDisable(GL_CULL_FACE);
        ASSERT_GT(drawn_with(expected, TEX_SLOT_CARS).size(), 500u) << c.name;
        ASSERT_EQ(fed.size(), expected.size()) << c.name;
        for (size_t p = 0; p < fed.size(); ++p) {
            ASSERT_EQ(fed[p].token, expected[p].token) << c.name << " " << p;
            ASSERT_EQ(fed[p].v.size(), expected[p].v.size()) << c.name << " " << p;
            for (size_t k = 0; k < fed[p].v.size(); ++k) {
                const fb_item::vertex &a = fed[p].v[k], &b = expected[p].v[k];
                EXPECT_NEAR(a.x, b.x, 0.01f) << c.name << " " << p;
                EXPECT_NEAR(a.y, b.y, 0.01f) << c.name << " " << p;
                EXPECT_NEAR(a.r + a.g + a.b + a.a, b.r + b.g + b.b + b.a, 1e-4f) << c.name << " " << p;
                EXPECT_NEAR(a.s + a.t, b.s + b.t, 1e-5f) << c.name << " " << p;
            }
        }
    }
}
