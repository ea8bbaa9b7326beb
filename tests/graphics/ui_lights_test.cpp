#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "shell/constants.h"
#include "shell/simvars.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/ui_capture.h"

namespace {

class Lights : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        OGL_lights_reset();
        gload_dim_factor = 1.0f;
        sim_graphics_view = sim_graphics_view_block{};
        sim_graphics_view.view_zoom = 1.0f;
        sim_graphics_scenery.percent_lights_on = 1.0f;
        sim_graphics_settings.draw_textured_lites = 1;
        // A view from above and the side, 1 unit = 1 m, nothing clipped.
        glViewport(0, 0, 1024, 768);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-600, 600, -600, 600, -2000, 2000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
    }
    void TearDown() override
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    static int polygons(const std::vector<fb_prim>& p)
    {
        int n = 0;
        for (const fb_prim& q : p) n += q.token == GL_POLYGON_TOKEN;
        return n;
    }
};

}  // namespace

TEST_F(Lights, FlashIndexAndBrightnessComeFromTheRandomTable)
{
    const float kept[2] = {random_table[5], random_table[6]};
    random_table[5] = 0.0f;
    random_table[6] = 0.3f;
    sim_graphics_scenery.percent_lights_on = 0.0f;
    EXPECT_TRUE(OGL_light_is_lit(5));
    EXPECT_FALSE(OGL_light_is_lit(6));
    EXPECT_FALSE(OGL_light_is_lit(10006));   // the index wraps at 10,000
    EXPECT_TRUE(OGL_light_is_lit(-1));
    sim_graphics_scenery.percent_lights_on = 1.0f;
    EXPECT_TRUE(OGL_light_is_lit(6));
    EXPECT_FLOAT_EQ(OGL_light_brightness(5), 0.35f);
    EXPECT_FLOAT_EQ(OGL_light_brightness(6), 0.35f + 0.65f * 0.3f);
    random_table[5] = kept[0];
    random_table[6] = kept[1];

    // Sprites grow with distance to the power 0.7.
    EXPECT_NEAR(OGL_light_half_size(0.02f, 100.0f * 100.0f, 1.0f), 0.502f, 0.001f);
    EXPECT_NEAR(OGL_light_half_size(0.02f, 1000.0f * 1000.0f, 1.0f), 2.518f, 0.002f);
}

TEST_F(Lights, GroundSplashOnlyWithinAbout387Metres)
{
    auto drawn = [](float distance) {
        return capture_feedback([&] {
            OGL_lights_begin(1);
            OGL_lights_frame(0, 0, 0, 0, 0, 0);
            OGL_draw_light(0, 0, -distance, 1, 1, 1, 1, 1.0f, -1, 0, LIGHT_TYPE_SPLASH);
            OGL_lights_end();
        });
    };
    const int near = polygons(drawn(387.0f)), far = polygons(drawn(388.0f));
    EXPECT_GT(near, far);
    EXPECT_EQ(near, 2 * far);   // sprite and splash, against the sprite alone
}

TEST_F(Lights, PointBatchChangesThePointSizeOnlyWhenItDiffers)
{
    sim_graphics_settings.draw_textured_lites = 0;
    const auto p = capture_feedback([] {
        OGL_lights_begin(0);
        OGL_draw_light(0, 0, 0, 1, 0, 0, 1, 3.0f, -1, 0, 0);
        GLfloat size = 0;
        OGL_draw_light(10, 0, 0, 1, 0, 0, 1, 3.0f, -1, 0, 0);
        OGL_lights_end();
        glGetFloatv(GL_POINT_SIZE, &size);
        EXPECT_FLOAT_EQ(size, 1.0f);
    });
    int points = 0;
    for (const fb_prim& q : p) points += q.token == GL_POINT_TOKEN;
    EXPECT_EQ(points, 2);
    EXPECT_FLOAT_EQ(light_batch.last_point_size, 3.0f);
}

TEST_F(Lights, BoxSpansItsSizeBeforeItsTurn)
{
    glLoadIdentity();
    // Looking straight down -z: x and y map to the window; z comes from a quarter turn.
    auto extent = [](float heading, bool x_axis) {
        const auto p = capture_feedback([&] { OGL_draw_box_3d(0, 0, 0, 10, 5, 20, 0, 1, 0, 1, heading); });
        float lo = 1e9f, hi = -1e9f;
        for (const fb_prim& q : p)
            for (const fb_vertex& v : q.v) {
                const float c = x_axis ? v.x : v.y;
                lo = std::min(lo, c);
                hi = std::max(hi, c);
            }
        return std::pair<float, float>{lo, hi};
    };
    const float px_per_m_x = 1024.0f / 1200.0f, px_per_m_y = 768.0f / 1200.0f;
    auto [x1, x2] = extent(0.0f, true);
    EXPECT_NEAR((x2 - x1) / px_per_m_x, 10.0f, 0.01f);
    auto [y1, y2] = extent(0.0f, false);
    EXPECT_NEAR((y2 - y1) / px_per_m_y, 5.0f, 0.01f);
    EXPECT_NEAR(y1, 384.0f, 0.01f);   // it stands on y = 0
    auto [z1, z2] = extent(90.0f, true);
    EXPECT_NEAR((z2 - z1) / px_per_m_x, 20.0f, 0.01f);
}
