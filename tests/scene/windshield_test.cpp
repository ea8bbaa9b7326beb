// The windshield: the glare worked out from the sun and the view, cut by an
// overcast, and the damage marks made by impacts, each with its crack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/random.h"
#include "links/sound_seam.h"
#include "scene/effects/overlay.h"
#include "scene/view_effects.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

namespace {

struct sound_log : sound_recorder {
    std::vector<int> slots;
    void played(int slot, int, float, float) override { slots.push_back(slot); }
};

class Windshield : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);
        // The sun 30 degrees up in the south: (0, 1, 0) turned 60 degrees about x.
        sun_angles[0] = sun_angles[1] = 0.0f;
        sun_angles[2] = 60.0f;
        sim_graphics_view.view_heading = 180.0f;
        sim_graphics_view.view_pitch = 30.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    }
    void TearDown() override
    {
        SOUND_install_recorder(nullptr);
        SceneState::TearDown();
    }
    static float glare(int draw = 1)
    {
        VIEW_draw_windshield(draw, 0, 0, 1024, 768, 0, 0.3f, 0);
        return sun_glare;
    }
};

TEST_F(Windshield, GlareFacingTheSunFadesOutAtTwentyDegreesAndUnderAnOvercast)
{
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);
    EXPECT_NEAR(glare(0), 0.99f, 1e-4f);   // external views work it out too
    sim_graphics_view.view_heading = 200.0f;
    EXPECT_NEAR(glare(), 0.0f, 1e-4f);
    sim_graphics_view.view_heading = -180.0f;   // the same heading, wrapped
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);

    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_tops_msl_m[0] = 3000.0f;
    flt[0].elevation = 2999.0f;
    EXPECT_EQ(glare(), 0.0f);
    flt[0].elevation = 3001.0f;
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);
    // The layer of the greater type is the one that counts: an overcast above
    // a broken layer still cuts the glare under its tops.
    sim_weather.cloud_type[0] = 2;
    sim_weather.cloud_type[1] = 4;
    sim_weather.cloud_tops_msl_m[1] = 5000.0f;
    EXPECT_EQ(glare(), 0.0f);
}

TEST_F(Windshield, ImpactsMakeMarksUpToFiftyEachWithOneCrack)
{
    sound_log log;
    SOUND_install_recorder(&log);
    UTIL_srand(5);
    sim_operation_misc.frame_rate_period = 0.05f;
    VIEW_draw_windshield(1, 0, 0, 1024, 768, 0.5f, 0, 0);
    EXPECT_EQ(VIEW_windshield_marks(), 0);
    VIEW_draw_windshield(0, 0, 0, 1024, 768, 100.0f, 0, 0);   // external view: no marks
    EXPECT_EQ(VIEW_windshield_marks(), 0);

    int frames = 0;
    for (; frames < 100; ++frames) VIEW_draw_windshield(1, 0, 0, 1024, 768, 10.0f, 0, 0);
    EXPECT_GT(VIEW_windshield_marks(), 30);   // about half the frames
    EXPECT_LT(VIEW_windshield_marks(), 70);
    for (; frames < 400; ++frames) VIEW_draw_windshield(1, 0, 0, 1024, 768, 10.0f, 0, 0);
    EXPECT_EQ(VIEW_windshield_marks(), 50);
    EXPECT_EQ(log.slots, std::vector<int>(50, 33));
    // Each mark a square of half-side 10 to 40 pixels: its diagonal 2 s sqrt 2
    // (marks cut by the window's edge only look smaller).
    sim_graphics_view.view_heading = 0.0f;   // away from the sun: no glare wash
    const std::vector<GLfloat> fb = feedback_of([] { VIEW_draw_windshield(1, 0, 0, 1024, 768, 0.0f, 0, 0); }, 1 << 14);
    float largest = 0.0f;
    for (size_t i = 0; i < fb.size();) {
        ASSERT_EQ(static_cast<GLint>(fb[i++]), GL_POLYGON_TOKEN);
        const GLint n = static_cast<GLint>(fb[i++]);
        float diagonal = 0.0f;
        for (GLint a = 0; a < n; ++a)
            for (GLint b = 0; b < n; ++b)
                diagonal = std::max(diagonal, std::hypot(fb[i + 11 * a] - fb[i + 11 * b], fb[i + 11 * a + 1] - fb[i + 11 * b + 1]));
        const float half_side = diagonal / (2.0f * std::sqrt(2.0f));
        EXPECT_LE(half_side, 40.0f + 1e-2f);
        largest = std::max(largest, half_side);
        i += 11 * static_cast<size_t>(n);
    }
    EXPECT_GT(largest, 35.0f);   // fifty draws over 10..40

    VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(VIEW_windshield_marks(), 0);
}

// Over the window rectangle: the scratches in the sun's diffuse colour at the
// glare's alpha, repeated 12 across and 8 up; the frost in grey 0.8 at the
// square root of the ice, 3 across and as many up as keep it square, that
// count kept from the first frost frame.
TEST_F(Windshield, ScratchesAndFrostCoverTheWindowInTheirRepeats)
{
    sun_diffuse_rgba[0] = 1.0f, sun_diffuse_rgba[1] = 0.9f, sun_diffuse_rgba[2] = 0.8f;
    gload_dim_factor = 1.0f;
    const struct {
        float x2, y2, ice;
        float frost_s, frost_t, frost_alpha;
    } rows[] = {{1024.0f, 768.0f, 0.25f, 3.0f, 2.25f, 0.5f}, {512.0f, 768.0f, 0.64f, 3.0f, 2.25f, 0.8f}};
    for (const auto& r : rows) {
        const std::vector<GLfloat> fb =
            feedback_of([&] { VIEW_draw_windshield(1, 0.0f, 0.0f, r.x2, r.y2, 0.0f, r.ice, 0); }, 4096);
        // Per vertex: window x, y, z, r, g, b, a, s, t, r, q.
        float glare_max[2] = {0, 0}, frost_max[2] = {0, 0};
        int glare_vertices = 0, frost_vertices = 0;
        for (size_t i = 0; i < fb.size();) {
            ASSERT_EQ(static_cast<GLint>(fb[i++]), GL_POLYGON_TOKEN);
            const GLint n = static_cast<GLint>(fb[i++]);
            for (GLint k = 0; k < n; ++k, i += 11) {
                const GLfloat* v = &fb[i];
                if (std::fabs(v[3] - 0.8f) < 1e-4f && std::fabs(v[4] - 0.8f) < 1e-4f) {
                    ++frost_vertices;
                    EXPECT_NEAR(v[6], r.frost_alpha, 1e-4f);
                    frost_max[0] = std::max(frost_max[0], v[7]), frost_max[1] = std::max(frost_max[1], v[8]);
                } else {
                    ++glare_vertices;
                    EXPECT_NEAR(v[3], 1.0f, 1e-4f);
                    EXPECT_NEAR(v[4], 0.9f, 1e-4f);
                    EXPECT_NEAR(v[5], 0.8f, 1e-4f);
                    EXPECT_NEAR(v[6], 0.99f, 1e-4f);
                    glare_max[0] = std::max(glare_max[0], v[7]), glare_max[1] = std::max(glare_max[1], v[8]);
                }
            }
        }
        EXPECT_GE(glare_vertices, 4);
        EXPECT_GE(frost_vertices, 4);
        EXPECT_FLOAT_EQ(colour_table[112][1], 0.9f);   // the wash's colour row holds the sun's colour
        EXPECT_NEAR(glare_max[0], 12.0f, 1e-4f);
        EXPECT_NEAR(glare_max[1], 8.0f, 1e-4f);
        EXPECT_NEAR(frost_max[0], r.frost_s, 1e-4f) << r.x2;
        EXPECT_NEAR(frost_max[1], r.frost_t, 1e-4f) << r.x2;
    }
}

}  // namespace
