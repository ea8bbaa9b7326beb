// Planes and the user's shadow as OpenGL's feedback mode returns them: the
// shadow quad's size and darkness, planes within the visibility, and the
// plug-in phase that takes the planes over.
#include <array>

#include "core/texture_slots.h"
#include "graphics/ogl_bind_seam.h"
#include "scene/plane_range.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

namespace {

// One drawing's feedback: window x, y and alpha of the polygons' vertices (a
// quad may come back as two triangles) and of the points.
struct fed_back {
    std::vector<std::array<float, 3>> polygon, points;
};

template <class F>
fed_back feedback(F&& draw)
{
    const std::vector<GLfloat> b = feedback_of(draw, 1 << 16);
    const GLint n = static_cast<GLint>(b.size());
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
        window_ortho(-100.0, 100.0, -100.0, 100.0, -1000.0, 1000.0);
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

namespace {

// Each plane carries one wheel at its reference point, so a drawn plane
// shows where it is: some polygon within a few pixels of it. The other planes
// are large, so they are drawn whole even from far away.
void wheel_on(int n)
{
    if (n > 0) pln[n].acf_size_x = 100.0f;
    pln[n].acf_part_eq[67] = 1;
    pln[n].acf_gear_type[67] = 2;
    pln[n].acf_gear_tirrad[67] = 0.5f;
    pln[n].acf_gear_tirwid[67] = 0.2f;
}
bool drawn_at(const fed_back& f, float x, float z)
{
    const float px = 512.0f + x * PIXELS_PER_M_X, py = 384.0f - z * PIXELS_PER_M_Y;
    for (const auto& v : f.polygon)
        if (std::fabs(v[0] - px) < 4.0f && std::fabs(v[1] - py) < 4.0f) return true;
    return false;
}

}  // namespace

TEST_F(Planes, PlanesWithinTheVisibilityAreDrawnWhereTheyAre)
{
    for (int n = 0; n < FLT_SLOTS; ++n) wheel_on(n);
    // The camera 5 km west: plane 1 is exactly at the visibility, plane 2 inside it.
    sim_graphics_view.view_x = 40.0f - 5000.0f;
    flt[1].local_x = 40.0f;
    flt[2].local_x = -40.0f;
    flt[2].local_z = 30.0f;
    fed_back f = feedback([] { SCENE_draw_plane_range(1, 2); });
    EXPECT_FALSE(drawn_at(f, 40.0f, 0.0f));
    EXPECT_TRUE(drawn_at(f, -40.0f, 30.0f));

    flt[1].local_x = 39.0f;
    EXPECT_TRUE(drawn_at(feedback([] { SCENE_draw_plane_range(1, 2); }), 39.0f, 0.0f));
    const fed_back none = feedback([] { SCENE_draw_plane_range(2, 1); });   // an empty run: the shadow only
    EXPECT_FALSE(none.polygon.empty());
    EXPECT_FALSE(drawn_at(none, -40.0f, 30.0f));
    sim_graphics_view.view_x = 0.0f, sim_graphics_view.view_z = 60.0f;
    for (int n = 0; n < FLT_SLOTS; ++n) flt[n].local_x = -90.0f + 20.0f * n, flt[n].local_z = 60.0f;
    f = feedback([] { SCENE_draw_plane_range(0, 250); });   // held to the ten slots
    for (int n = 0; n < FLT_SLOTS; ++n) EXPECT_TRUE(drawn_at(f, flt[n].local_x, 60.0f)) << n;

    // A plug-in manager that draws the planes itself: nothing of ours.
    plugin_host.entries.drawing = [](int phase) { return phase == 10 ? 0 : 1; };
    const fed_back taken = feedback([] { SCENE_draw_plane_range(0, 2); });
    EXPECT_TRUE(taken.polygon.empty());
    EXPECT_TRUE(taken.points.empty());
}

// The run a pass draws: from the user's plane in an outside view, from plane 1
// inside it (the cockpit shows the user's), to the plane count less one.
TEST_F(Planes, TheRunStartsPastTheUsersPlaneInsideAndEndsAtTheCount)
{
    const int saved_count = sim_graphics_settings.draw_aircrafts, saved_external = sim_graphics_view.view_is_external;
    const struct {
        int external, count, first, last;
    } rows[] = {{1, 4, 0, 3}, {0, 4, 1, 3}, {0, 1, 1, 0}, {1, 25, 0, 24}, {1, 0, 0, -1}};
    for (const auto& r : rows) {
        sim_graphics_view.view_is_external = r.external;
        sim_graphics_settings.draw_aircrafts = r.count;
        const plane_run_record run = SCENE_plane_run();
        EXPECT_EQ(run.first, r.first) << r.external << " " << r.count;
        EXPECT_EQ(run.last, r.last) << r.external << " " << r.count;
    }
    sim_graphics_settings.draw_aircrafts = saved_count;
    sim_graphics_view.view_is_external = saved_external;
}

// Seen from the side (x right, y up), plane 1 pitched 45 degrees nose up:
// its wheel 10 m aft of the reference point sinks to 7.07 m below it and
// comes 7.07 m nearer, so it shows 7.07 m below the origin.
TEST_F(Planes, APitchedPlaneDropsItsTail)
{
    window_ortho(-100.0, 100.0, -100.0, 100.0, -1000.0, 1000.0);
    wheel_on(1);
    pln[1].acf_gear_znodef[67] = pln[1].acf_Zarm[67] = 10.0f;
    flt[1].theta = 45.0f;
    const fed_back f = feedback([] { SCENE_draw_plane_range(1, 1); });
    EXPECT_TRUE(drawn_at(f, 0.0f, 7.07f));
    EXPECT_FALSE(drawn_at(f, 0.0f, -7.07f));
}

// A plane of half-extents 3 m by 4 m (size 5 m) is drawn whole while a
// hundredth of its distance from the camera is below zoom x size (500 m at
// zoom 1, 1000 m at zoom 2, the distance taken in three dimensions), and as
// its lights alone beyond; the whole drawing asks for its paint.
TEST_F(Planes, FullModelWithinAHundredTimesZoomTimesSize)
{
    struct paint_asked : bind_recorder {
        bool paint = false;
        paint_asked() { OGL_install_bind_recorder(this); }
        ~paint_asked() override { OGL_install_bind_recorder(nullptr); }
        void bound(int slot, int) override { paint = paint || slot == TEX_SLOT_PAINT_FIRST + 4 * 2; }
    };
    pln[2].acf_size_x = 3.0f, pln[2].acf_size_z = 4.0f;
    sim_graphics_view.view_x = sim_graphics_view.view_y = sim_graphics_view.view_z = 0.0f;
    const struct {
        float x, y, zoom;
        bool full;
    } rows[] = {{490, 0, 1, true}, {510, 0, 1, false}, {990, 0, 2, true}, {1010, 0, 2, false},
                {300, 390, 1, true}, {300, 410, 1, false}};
    for (const auto& r : rows) {
        flt[2].local_x = r.x, flt[2].local_y = r.y, flt[2].local_z = 0.0f;
        sim_graphics_view.view_zoom = r.zoom;
        paint_asked asked;
        SCENE_draw_plane_range(2, 2);
        EXPECT_EQ(asked.paint, r.full) << r.x << " " << r.y << " zoom " << r.zoom;
    }
}
