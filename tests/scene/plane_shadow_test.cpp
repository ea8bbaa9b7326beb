// Planes and the user's shadow as OpenGL's feedback mode returns them: the
// shadow quad's size and darkness, planes within the visibility, and the
// plug-in phase that takes the planes over.
#include <array>

#include "scene/plane_range.h"
#include "tests/scene/scene_fixture.h"

namespace {

// One drawing's feedback: window x, y and alpha of the polygons' vertices (a
// quad may come back as two triangles) and of the points.
struct fed_back {
    std::vector<std::array<float, 3>> polygon, points;
};

template <class F>
fed_back feedback(F&& draw)
{
    std::vector<GLfloat> b(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(b.size()), GL_3D_COLOR_TEXTURE, b.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    fed_back out;
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(b[i++]);
        const GLint count = token == GL_POLYGON_TOKEN ? static_cast<GLint>(b[i++]) : token == GL_POINT_TOKEN ? 1 : -1;
        if (count < 0) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        for (GLint k = 0; k < count; ++k, i += 11)   // x, y, z, colour, texture
            (token == GL_POINT_TOKEN ? out.points : out.polygon).push_back({b[i], b[i + 1], b[i + 6]});
    }
    return out;
}

constexpr float PIXELS_PER_M_X = 1024.0f / 200.0f;
constexpr float PIXELS_PER_M_Y = 768.0f / 200.0f;

class Planes : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        // Looking straight down on the origin, 200 m across, north up.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-100.0, 100.0, -100.0, 100.0, -1000.0, 1000.0);
        glViewport(0, 0, 1024, 768);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        pln[0].acf_size_x = 10.0f;
        pln[0].acf_size_z = 8.0f;
        sim_graphics_view.visibility_effective_m = 5000.0f;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
    }
};

}  // namespace

TEST_F(Planes, ShadowNarrowsWithBankAndPitchAndDarkensWithDaylight)
{
    const struct {
        float roll, pitch, light, width_m, length_m, alpha;
    } rows[] = {{0, 0, 1, 20, 16, 0.6f},   {90, 0, 1, 0, 16, 0.6f},          {180, 0, 1, 20, 16, 0.6f},
                {0, 60, 1, 20, 8, 0.6f},   {0, 0, 4.0f / 3.0f, 20, 16, 0.75f}, {0, 0, 0, 20, 16, 0.0f}};
    for (const auto& r : rows) {
        flt[0].cos_phi = std::cos(r.roll * DEG_TO_RAD_FLOAT);
        flt[0].cos_theta = std::cos(r.pitch * DEG_TO_RAD_FLOAT);
        sim_graphics_misc_block& m = sim_graphics_misc;
        m.cockpit_light_level_r = m.cockpit_light_level_g = m.cockpit_light_level_b = r.light;
        const fed_back f = feedback([] { ACF_draw_shadow(0, 0.0f); });
        if (r.width_m == 0.0f && f.polygon.empty()) continue;   // a quad of no width covers nothing
        ASSERT_FALSE(f.polygon.empty()) << r.roll;
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const auto& v : f.polygon) {
            x0 = std::min(x0, v[0]), x1 = std::max(x1, v[0]), y0 = std::min(y0, v[1]), y1 = std::max(y1, v[1]);
            EXPECT_NEAR(v[2], r.alpha, 1e-5f) << r.light;
        }
        EXPECT_NEAR(x1 - x0, r.width_m * PIXELS_PER_M_X, 0.01f) << "roll " << r.roll;
        EXPECT_NEAR(y1 - y0, r.length_m * PIXELS_PER_M_Y, 0.01f) << "pitch " << r.pitch;
    }
}

TEST_F(Planes, PlanesWithinTheVisibilityAreDrawnWhereTheyAre)
{
    // The camera 5 km west: plane 1 is exactly at the visibility, plane 2 inside it.
    sim_graphics_view.view_x = 40.0f - 5000.0f;
    flt[1].local_x = 40.0f;
    flt[2].local_x = -40.0f;
    flt[2].local_z = 30.0f;
    const fed_back f = feedback([] { SCENE_draw_plane_range(1, 2); });
    EXPECT_FALSE(f.polygon.empty());   // the user's shadow, whatever the run
    ASSERT_EQ(f.points.size(), 1u);
    EXPECT_NEAR(f.points[0][0], 512.0f - 40.0f * PIXELS_PER_M_X, 0.01f);
    EXPECT_NEAR(f.points[0][1], 384.0f - 30.0f * PIXELS_PER_M_Y, 0.01f);

    flt[1].local_x = 39.0f;
    EXPECT_EQ(feedback([] { SCENE_draw_plane_range(1, 2); }).points.size(), 2u);
    const fed_back none = feedback([] { SCENE_draw_plane_range(2, 1); });   // an empty run: the shadow only
    EXPECT_FALSE(none.polygon.empty());
    EXPECT_TRUE(none.points.empty());
    EXPECT_EQ(feedback([] { SCENE_draw_plane_range(0, 250); }).points.size(), 10u);   // held to the ten slots

    plugin_standin_draw_phase_taken = 10;   // a plug-in draws the planes: nothing of ours
    const fed_back taken = feedback([] { SCENE_draw_plane_range(0, 2); });
    EXPECT_TRUE(taken.polygon.empty());
    EXPECT_TRUE(taken.points.empty());
}
