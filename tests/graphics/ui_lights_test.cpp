#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/gl_view.h"
#include "tests/support/ui_capture.h"

namespace {

class Lights : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        gload_dim_factor = 1.0f;
        sim_graphics_view = sim_graphics_view_block{};
        sim_graphics_view.view_zoom = 1.0f;
        sim_graphics_scenery.percent_lights_on = 1.0f;
        sim_graphics_settings.draw_textured_lites = 1;
        // A view from above and the side, 1 unit = 1 m, nothing clipped.
        window_ortho(-600, 600, -600, 600, -2000, 2000);
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
        return int(std::count_if(p.begin(), p.end(), [](const fb_prim& q) { return q.token == GL_POLYGON_TOKEN; }));
    }
};

}  // namespace

TEST_F(Lights, FlashIndexAndBrightnessComeFromTheRandomTable)
{
    const float kept[2] = {random_table[5], random_table[6]};
    random_table[5] = 0.0f, random_table[6] = 0.3f;
    sim_graphics_scenery.percent_lights_on = 0.0f;
    EXPECT_TRUE(OGL_light_is_lit(5));
    EXPECT_FALSE(OGL_light_is_lit(6));
    EXPECT_FALSE(OGL_light_is_lit(10006));   // the index wraps at 10,000
    EXPECT_TRUE(OGL_light_is_lit(-1));
    sim_graphics_scenery.percent_lights_on = 1.0f;
    EXPECT_TRUE(OGL_light_is_lit(6));
    EXPECT_FLOAT_EQ(OGL_light_brightness(5), 0.35f);   // the dimmest a light is drawn
    random_table[5] = 0.5f;
    EXPECT_FLOAT_EQ(OGL_light_brightness(10005), 0.35f + 0.65f * 0.5f);
    random_table[5] = kept[0], random_table[6] = kept[1];

    // A batch's sprite factor is 0.02 over the view zoom; textured lights off
    // draw points unless the batch is forced to sprites.
    const float kept_zoom = sim_graphics_view.view_zoom;
    const int32_t kept_textured = sim_graphics_settings.draw_textured_lites;
    sim_graphics_view.view_zoom = 2.0f;
    sim_graphics_settings.draw_textured_lites = 0;
    OGL_lights_begin(1);
    EXPECT_FLOAT_EQ(light_batch.size_factor, 0.01f);
    EXPECT_EQ(light_batch.sprite_mode, 1);
    OGL_lights_end();
    OGL_lights_begin(0);
    EXPECT_EQ(light_batch.sprite_mode, 0);
    OGL_draw_light(0, 0, 0, 1, 1, 1, 1, 3.0f, -1, 0, 0);
    OGL_lights_end();
    GLfloat point_size = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &point_size);
    EXPECT_EQ(point_size, 1.0f);   // a point batch leaves the size at 1 again
    sim_graphics_view.view_zoom = kept_zoom;
    sim_graphics_settings.draw_textured_lites = kept_textured;

    // Sprites grow with distance to the power 0.7: ten times as far, five times as big.
    EXPECT_NEAR(OGL_light_half_size(0.02f, 1e6f, 1.0f) / OGL_light_half_size(0.02f, 1e4f, 1.0f), 5.012f, 0.01f);
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
    const int far = polygons(drawn(388.0f));
    EXPECT_GT(far, 0);
    EXPECT_EQ(polygons(drawn(387.0f)), 2 * far);   // sprite and splash, against the sprite alone

    // The sprite's picture in the atlas: the first quarter of the lower half,
    // or for the second kind the second quarter of the upper half.
    for (auto [type, s0, t0] : {std::tuple{0, 0.0f, 0.0f}, {LIGHT_TYPE_SECOND, 0.25f, 0.5f}}) {
        const std::vector<fb_prim> prims = capture_feedback([&] {
            OGL_lights_begin(1);
            OGL_draw_light(0, 0, -500.0f, 1, 1, 1, 1, 1.0f, -1, 0, type);
            OGL_lights_end();
        });
        float lo[2] = {9, 9}, hi[2] = {-9, -9};
        for (const fb_prim& prim : prims)
            for (const fb_vertex& v : prim.v) {
                lo[0] = std::min(lo[0], v.s), hi[0] = std::max(hi[0], v.s);
                lo[1] = std::min(lo[1], v.t), hi[1] = std::max(hi[1], v.t);
            }
        EXPECT_NEAR(lo[0], s0, 1e-4f) << type;
        EXPECT_NEAR(hi[0], s0 + 0.25f, 1e-4f) << type;
        EXPECT_NEAR(lo[1], t0, 1e-4f) << type;
        EXPECT_NEAR(hi[1], t0 + 0.5f, 1e-4f) << type;
    }
}

TEST_F(Lights, BoxSpansItsSizeBeforeItsTurn)
{
    // Looking straight down -z: x and y map to the window; z comes from a quarter turn.
    glLoadIdentity();
    auto extent = [](float heading, bool x_axis) {
        float lo = 1e9f, hi = -1e9f;
        for (const fb_prim& q : capture_feedback([&] { OGL_draw_box_3d(0, 0, 0, 10, 5, 20, 0, 1, 0, 1, heading); }))
            for (const fb_vertex& v : q.v) lo = std::min(lo, x_axis ? v.x : v.y), hi = std::max(hi, x_axis ? v.x : v.y);
        return std::pair<float, float>{lo, hi};
    };
    const float pixels_a_metre_x = 1024.0f / 1200.0f, pixels_a_metre_y = 768.0f / 1200.0f;
    const auto [x1, x2] = extent(0.0f, true);
    const auto [y1, y2] = extent(0.0f, false);
    const auto [z1, z2] = extent(90.0f, true);
    EXPECT_NEAR((x2 - x1) / pixels_a_metre_x, 10.0f, 0.01f);
    EXPECT_NEAR((y2 - y1) / pixels_a_metre_y, 5.0f, 0.01f);
    EXPECT_NEAR(y1, 384.0f, 0.01f);   // it stands on y = 0
    EXPECT_NEAR((z2 - z1) / pixels_a_metre_x, 20.0f, 0.01f);
}

// The walls' s runs s1, s2, s1, s2 round the corners (-w, -l), (w, -l), (w, l),
// (-w, l); t is t2 at the top and t1 at the foot.
TEST_F(Lights, BoxWallTextureAtEachCorner)
{
    window_ortho(-512, 512, -384, 384, -100, 100);   // x + 512, y + 384, depth 0.5 - z / 200
    const struct {
        float x, z, s;
    } corner[] = {{-5, -10, 0.1f}, {5, -10, 0.9f}, {5, 10, 0.1f}, {-5, 10, 0.9f}};
    int seen[4] = {};
    for (const fb_prim& q : capture_feedback([] {
             glDisable(GL_CULL_FACE);
             OGL_draw_box_3d(0, 0, 0, 10, 5, 20, 0.1f, 0.9f, 0.2f, 0.8f, 0.0f);
         })) {
        float lo = 1e9f, hi = -1e9f;
        for (const fb_vertex& v : q.v) lo = std::min(lo, v.y), hi = std::max(hi, v.y);
        if (hi - lo < 1.0f) continue;   // roof or floor
        for (const fb_vertex& v : q.v)
            for (int k = 0; k < 4; ++k)
                if (std::fabs(v.x - 512 - corner[k].x) < 0.1f && std::fabs((0.5f - v.z) * 200 - corner[k].z) < 0.1f) {
                    ++seen[k];
                    EXPECT_NEAR(v.s, corner[k].s, 1e-4f) << k;
                    EXPECT_NEAR(v.t, v.y > 386.5f ? 0.8f : 0.2f, 1e-4f) << k;
                }
    }
    for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 0) << k;
}

// The box inside a caller's quads block is the box of its own blocks: the
// same corners, texture coordinates and lit colours at any turn and place.
TEST_F(Lights, BoxInTheCallersBlockIsTheBoxOfItsOwnBlocks)
{
    glLoadIdentity();
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float sun[4] = {0.3f, 0.8f, 0.5f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    const auto corners = [](const std::vector<fb_prim>& prims) {
        std::vector<std::array<long, 7>> out;
        for (const fb_prim& q : prims)
            for (const fb_vertex& v : q.v)
                out.push_back({std::lround(v.x * 100), std::lround(v.y * 100), std::lround(v.z * 1e5f),
                               std::lround(v.s * 100), std::lround(v.t * 100), std::lround(v.r * 100),
                               std::lround(v.g * 100)});
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    };
    for (const float heading : {0.0f, 37.0f, 190.0f}) {
        const auto own = corners(capture_feedback([&] { OGL_draw_box_3d(40, -20, -300, 10, 5, 20, 0, 1, 0.25f, 0.75f, heading); }));
        const auto in_block = corners(capture_feedback([&] {
            glBegin(GL_QUADS);
            OGL_box_3d_quads(40, -20, -300, 10, 5, 20, 0, 1, 0.25f, 0.75f, heading);
            glEnd();
        }));
        EXPECT_FALSE(own.empty());
        EXPECT_EQ(in_block, own) << heading;
    }
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
}

// The plain quad maps the whole texture: p0 (1, 1), p1 (1, 0), p2 (0, 0), p3 (0, 1);
// the specular light is the brightness dimmed by the g-load, with shininess 128.
TEST_F(Lights, QuadTextureCornersAndSpecularLight)
{
    const float p[4][3] = {{100, 100, 0}, {100, 200, 0}, {200, 200, 0}, {200, 100, 0}};
    const float st[4][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<fb_prim> prims = capture_feedback([&] {
        glDisable(GL_CULL_FACE);
        glBegin(GL_QUADS);
        OGL_quad_3d(p[0], p[1], p[2], p[3]);
        glEnd();
    });
    int found = 0;
    for (const fb_prim& prim : prims)
        for (const fb_vertex& v : prim.v)
            for (int k = 0; k < 4; ++k)
                if (std::fabs(v.x - p[k][0]) < 0.5f && std::fabs(v.y - p[k][1]) < 0.5f) {
                    ++found;
                    EXPECT_NEAR(v.s, st[k][0], 1e-4f) << k;
                    EXPECT_NEAR(v.t, st[k][1], 1e-4f) << k;
                }
    EXPECT_GE(found, 4);

    gload_dim_factor = 0.8f;
    OGL_set_specular(0.5f);
    gload_dim_factor = 1.0f;
    float light[4] = {}, material[4] = {}, shininess = 0.0f;
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, light);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, material);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(light[i], 0.4f, 1e-5f);
        EXPECT_NEAR(material[i], 0.4f, 1e-5f);
    }
    EXPECT_FLOAT_EQ(light[3], 1.0f);
    EXPECT_FLOAT_EQ(shininess, 128.0f);
}
