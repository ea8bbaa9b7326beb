// Planes and the user's shadow as OpenGL's feedback mode returns them: the
// shadow quad's size and darkness, planes within the visibility, and the
// plug-in phase that takes the planes over.
#include "scene/plane_range.h"
#include "tests/scene/scene_fixture.h"

namespace {

struct fed_vertex {
    float x, y, z, r, g, b, a;
};

// What one drawing produced: the vertices of its polygons (a quad may come
// back as two triangles) and its points.
struct fed_back {
    std::vector<fed_vertex> polygon_vertices;
    std::vector<fed_vertex> points;
};

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

    template <class F>
    static fed_back feedback(F&& draw)
    {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const GLint n = glRenderMode(GL_RENDER);
        fed_back out;
        auto vertex = [&](GLint& i) {
            fed_vertex v{buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6]};
            i += 11;   // x, y, z, colour, texture
            return v;
        };
        for (GLint i = 0; i < n;) {
            const GLint token = static_cast<GLint>(buffer[i++]);
            if (token == GL_POLYGON_TOKEN) {
                const GLint count = static_cast<GLint>(buffer[i++]);
                for (GLint k = 0; k < count; ++k) out.polygon_vertices.push_back(vertex(i));
            } else if (token == GL_POINT_TOKEN) {
                out.points.push_back(vertex(i));
            } else if (token == GL_PASS_THROUGH_TOKEN) {
                ++i;
            } else {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
        }
        return out;
    }

    // Window-x width and window-y height of what the polygons cover.
    static std::pair<float, float> size_of(const std::vector<fed_vertex>& p)
    {
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const fed_vertex& v : p) x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
        return {x1 - x0, y1 - y0};
    }
};

constexpr float PIXELS_PER_M_X = 1024.0f / 200.0f;
constexpr float PIXELS_PER_M_Y = 768.0f / 200.0f;

}  // namespace

TEST_F(Planes, ShadowNarrowsWithTheBankAndWidensUpsideDown)
{
    const struct {
        float roll, pitch, width_m, length_m;
    } rows[] = {{0, 0, 20, 16}, {90, 0, 0, 16}, {180, 0, 20, 16}, {0, 60, 20, 8}};
    for (const auto& r : rows) {
        flt[0].cos_phi = std::cos(r.roll * DEG_TO_RAD_FLOAT);
        flt[0].cos_theta = std::cos(r.pitch * DEG_TO_RAD_FLOAT);
        const fed_back f = feedback([] { ACF_draw_shadow(0, 0.0f); });
        if (r.width_m == 0.0f && f.polygon_vertices.empty()) continue;   // a quad of no width covers nothing
        ASSERT_FALSE(f.polygon_vertices.empty()) << r.roll;
        const auto [w, h] = size_of(f.polygon_vertices);
        EXPECT_NEAR(w, r.width_m * PIXELS_PER_M_X, 0.01f) << "roll " << r.roll;
        EXPECT_NEAR(h, r.length_m * PIXELS_PER_M_Y, 0.01f) << "pitch " << r.pitch;
    }
}

TEST_F(Planes, ShadowDarknessFollowsTheDaylight)
{
    sim_graphics_misc_block& m = sim_graphics_misc;
    const struct {
        float level, alpha;
    } rows[] = {{1.0f, 0.6f}, {4.0f / 3.0f, 0.75f}, {0.0f, 0.0f}, {0.5f, 0.3f}};
    for (const auto& r : rows) {
        m.cockpit_light_level_r = m.cockpit_light_level_g = m.cockpit_light_level_b = r.level;
        const fed_back f = feedback([] { ACF_draw_shadow(0, 0.0f); });
        ASSERT_FALSE(f.polygon_vertices.empty());
        for (const fed_vertex& v : f.polygon_vertices) {
            EXPECT_NEAR(v.a, r.alpha, 1e-5f) << r.level;
            EXPECT_EQ(v.r + v.g + v.b, 0.0f);
        }
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
    EXPECT_FALSE(f.polygon_vertices.empty());   // the user's shadow, whatever the run
    ASSERT_EQ(f.points.size(), 1u);
    EXPECT_NEAR(f.points[0].x, 512.0f - 40.0f * PIXELS_PER_M_X, 0.01f);
    EXPECT_NEAR(f.points[0].y, 384.0f - 30.0f * PIXELS_PER_M_Y, 0.01f);

    flt[1].local_x = 39.0f;
    EXPECT_EQ(feedback([] { SCENE_draw_plane_range(1, 2); }).points.size(), 2u);
    // An empty run still draws the shadow.
    const fed_back none = feedback([] { SCENE_draw_plane_range(2, 1); });
    EXPECT_FALSE(none.polygon_vertices.empty());
    EXPECT_EQ(none.points.size(), 0u);
    // A run past the ten slots stops at the last one.
    EXPECT_EQ(feedback([] { SCENE_draw_plane_range(0, 250); }).points.size(), 10u);
}

TEST_F(Planes, APlugInThatTakesThePlanesLeavesNothingDrawn)
{
    flt[1].local_x = 40.0f;
    plugin_standin_draw_phase_taken = 10;
    const fed_back f = feedback([] { SCENE_draw_plane_range(0, 1); });
    EXPECT_TRUE(f.polygon_vertices.empty());
    EXPECT_TRUE(f.points.empty());
}
