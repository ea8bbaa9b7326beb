// The camera and the view a pass sets up: angles, zoom, near plane, the
// override, the ground footprint and the terrain window, the matrices, and
// the footprint's culling test.
#include <array>

#include "core/geo.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

namespace {

class CameraView : public SceneState {};

float footprint_extent(int axis)
{
    float m = 0.0f;
    for (const ground_point& g : view_footprint) m = std::max(m, std::fabs(axis == 0 ? g.x : g.z));
    return m;
}

}  // namespace

TEST_F(CameraView, InsideViewsTakeThePlanesAttitudeNormalised)
{
    sim_graphics_view.view_type = 1000;
    flt[0].theta = 95.0f, flt[0].psi = 10.0f, flt[0].phi = 10.0f;
    CAMERA_place();
    EXPECT_NEAR(sim_private_camera.the, 85.0f, 1e-4f);
    EXPECT_NEAR(sim_private_camera.psi, 190.0f, 1e-4f);
    EXPECT_NEAR(sim_private_camera.phi, 170.0f, 1e-4f);
    // Past -90 the same way: -100 becomes -80, looking back and rolled over.
    flt[0].theta = -100.0f, flt[0].phi = -30.0f;
    CAMERA_place();
    EXPECT_NEAR(sim_private_camera.the, -80.0f, 1e-4f);
    EXPECT_NEAR(sim_private_camera.psi, 190.0f, 1e-4f);
    EXPECT_NEAR(sim_private_camera.phi, 210.0f, 1e-4f);

    // The zoom eases at four times itself a second toward the target.
    sim_graphics_view.view_zoom = 4.0f;
    view_zoom_target = 1.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    CAMERA_place();
    EXPECT_NEAR(sim_graphics_view.view_zoom, 2.4f, 1e-5f);

    // A plug-in that places the camera is left alone, pitch and all.
    camera_at(1.0f, 2.0f, 3.0f, 120.0f, 400.0f, -200.0f);
    CAMERA_place();
    EXPECT_EQ(sim_private_camera.the, 120.0f);
    EXPECT_EQ(sim_private_camera.psi, 400.0f);
    EXPECT_EQ(sim_graphics_view.view_x, 1.0f);
}

TEST_F(CameraView, SideViewsTurnThePictureAndTheHeadingFollows)
{
    sim_graphics_view.view_type = 1006;   // 90 degrees left
    flt[0].psi = 30.0f;
    flt[0].local_y = 20.0f;
    pass_to_view();
    EXPECT_EQ(view_offset_heading, -90.0f);
    EXPECT_NEAR(sim_graphics_view.view_heading, 300.0f, 1e-3f);
    EXPECT_EQ(view_octant, 7);
    // The world point straight ahead of the picture lands on the eye's axis.
    const std::vector<float> m = matrix(GL_MODELVIEW_MATRIX);
    const float h = 300.0f * DEG_TO_RAD_FLOAT;
    const float p[3] = {1000.0f * std::sin(h), 20.0f, -1000.0f * std::cos(h)};
    const float eye[3] = {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
                          m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
    EXPECT_NEAR(eye[0], 0.0f, 0.05f);
    EXPECT_NEAR(eye[1], 0.0f, 0.05f);
    EXPECT_NEAR(eye[2], -1000.0f, 0.05f);
    // The projection's near plane is the pass's.
    const std::vector<float> pr = matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(pr[14] / (pr[10] - 1.0f), scene_projection.near_m, 1e-3f * scene_projection.near_m);

    // Every view's head turn and tilt, on top of the chosen view offsets.
    sim_graphics_view.field_of_view_horizontal_deg = 2.0f;
    sim_graphics_view.field_of_view_vertical_deg = 1.0f;
    for (auto [type, heading, pitch] :
         {std::tuple{1000, 2.0f, 1.0f}, {1001, 2.0f, -3.0f}, {1002, 2.0f, -7.0f}, {1004, -43.0f, 1.0f},
          {1005, 47.0f, 1.0f}, {1006, -88.0f, 1.0f}, {1007, 92.0f, 1.0f}, {1008, -133.0f, 1.0f},
          {1009, 137.0f, 1.0f}, {1010, 182.0f, 1.0f}, {1011, -13.0f, 1.0f}, {1012, 77.0f, 1.0f}, {1017, 2.0f, 1.0f}}) {
        sim_graphics_view.view_type = type;
        CAMERA_project();
        EXPECT_EQ(view_offset_heading, heading) << type;
        EXPECT_EQ(view_offset_pitch, pitch) << type;
    }
}

TEST_F(CameraView, NearPlaneTakesTheWholeElevationAbove30Km)
{
    sim_graphics_view_block& v = sim_graphics_view;
    scene_ground_elevation = 29990.0f;
    v.view_y = v.view_elevation_m_msl = 29999.0f;
    CAMERA_near_and_far(1, 0);
    EXPECT_NEAR(scene_projection.near_m, 2.25f, 1e-3f);   // a quarter of the 9 m above the ground
    v.view_y = v.view_elevation_m_msl = 30001.0f;
    CAMERA_near_and_far(1, 0);
    EXPECT_NEAR(scene_projection.near_m, 400.02f, 0.01f);   // held to the limit at that height

    // 1000 m over the ground with plane 0 (size 5 m) 30 m away: a sixteenth of
    // the height (62.5 m) would cut the plane away; the near plane stays
    // before it, at 30 - 1.25 x 5 = 23.75 m.
    scene_ground_elevation = 0.0f;
    v.view_x = v.view_z = 0.0f;
    v.view_y = v.view_elevation_m_msl = 1000.0f;
    pln[0].acf_size_x = 3.0f, pln[0].acf_size_z = 4.0f;
    flt[0].local_x = 30.0f, flt[0].local_y = 1000.0f, flt[0].local_z = 0.0f;
    CAMERA_near_and_far(0, 0);
    EXPECT_NEAR(scene_projection.near_m, 23.75f, 1e-3f);
}

TEST_F(CameraView, FirstMonitorWithTheAircraftsFlagBringsTheNearPlaneInTenfold)
{
    // 100 m above the ground, nothing nearer: near = max(25, 25) = 25 m, or
    // 2.5 m with both the first monitor slot and the aircraft's flag set.
    sim_graphics_view_block& v = sim_graphics_view;
    scene_ground_elevation = 0.0f;
    v.view_y = v.view_elevation_m_msl = 100.0f;
    const struct { int slot, flag; float near_m; } cases[] = {
        {0, 0, 25.0f}, {1, 0, 25.0f}, {0, 1, 25.0f}, {1, 1, 2.5f},
    };
    for (const auto& c : cases) {
        net_slot_enabled[NET_SLOT_MONITOR_1] = c.slot;
        pln[0].acf_unpub_640004 = c.flag;
        CAMERA_near_and_far(1, 0);
        EXPECT_NEAR(scene_projection.near_m, c.near_m, 1e-4f) << c.slot << c.flag;
    }
    // Other monitor slots leave it alone.
    net_slot_enabled[NET_SLOT_MONITOR_1] = 0, net_slot_enabled[2] = 1;
    CAMERA_near_and_far(1, 0);
    EXPECT_NEAR(scene_projection.near_m, 25.0f, 1e-4f);
}

TEST_F(CameraView, FootprintLowOverTheGround)
{
    // 20 m up, 20 km terrain visibility: the downward rectangle reaches 120 m.
    camera_at(0.0f, 20.0f, 0.0f, -90.0f, 0.0f);
    VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
    EXPECT_NEAR(footprint_extent(0), 167.1f, 0.05f);
    EXPECT_NEAR(footprint_extent(1), 125.4f, 0.05f);

    camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
    VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
    EXPECT_NEAR(view_footprint[1].x, -20892.0f, 2.0f);
    EXPECT_NEAR(view_footprint[1].z, -20000.0f, 1.0f);
    EXPECT_NEAR(view_footprint[2].x, 20892.0f, 2.0f);
    EXPECT_NEAR(view_footprint[2].z, -20000.0f, 1.0f);
    EXPECT_NEAR(std::hypot(view_footprint[0].x, view_footprint[0].z), 1.0f, 1e-4f);   // a metre out along the cone
}

TEST_F(CameraView, TerrainWindowHoldsTheFootprintsCells)
{
    // Looking down from 20 m on the middle of cell (200, 200) of 100 m cells:
    // the 334 x 251 m rectangle reaches cells 198..202 across and 199..201
    // along, and the window takes one more to the west and the south.
    camera_at(0.0f, 20.0f, 0.0f, -90.0f, 0.0f);
    SCENE_draw_3d();
    EXPECT_EQ(terrain_window.first_column, 197);
    EXPECT_EQ(terrain_window.last_column, 202);
    EXPECT_EQ(terrain_window.first_row, 198);
    EXPECT_EQ(terrain_window.last_row, 201);
}

// The sky ring seen straight on, level and looking north, in a box of
// +-3000 by +-2100 m: a ring of 2000 m puts the vertex pair of elevation a at
// height 2000 sin a, half a 60-degree view's tangent times two (1.1547 x
// 2000 m) either side. Bands 0..9 colour the horizon dip and the nine 5-degree
// steps above it; what lies below and behind takes band 0 or 9.
TEST_F(CameraView, TheSkyRingClimbsFromTheDippedHorizonInItsBands)
{
    camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
    sim_graphics_view.field_of_view_deg = 60.0f;
    gload_dim_factor = 1.0f;
    for (int k = 0; k < SKY_BANDS; ++k) sky_ramp[k][0] = 0.05f + 0.1f * k, sky_ramp[k][1] = 0.5f, sky_ramp[k][2] = 0.0f;
    glDisable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    // The dip is -atan(elevation / 150 nm); 48,983.6 m is tan 10 degrees of 277,800 m.
    const struct {
        float elevation_m, dip;
    } rows[] = {{0.0f, 0.0f}, {48983.6f, -10.0f}, {1.0e6f, -30.0f}};
    for (const auto& r : rows) {
        sim_graphics_view.view_elevation_m_msl = r.elevation_m;
        const std::vector<GLfloat> fb = feedback_of(
            [] {
                window_ortho(-3000.0, 3000.0, -2100.0, 2100.0, -4000.0, 4000.0);
                VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
            },
            1 << 16);
        std::vector<std::array<float, 3>> seen;   // window x, y, red
        for (size_t i = 0; i < fb.size();) {
            const GLint token = static_cast<GLint>(fb[i++]);
            ASSERT_EQ(token, GL_POLYGON_TOKEN);
            const GLint n = static_cast<GLint>(fb[i++]);
            for (GLint k = 0; k < n; ++k, i += 11) seen.push_back({fb[i], fb[i + 1], fb[i + 3]});
        }
        float angles[17] = {-180.0f, -135.0f, -90.0f, -45.0f};
        for (int k = 0; k < 10; ++k) angles[4 + k] = r.dip + 5.0f * k;
        angles[14] = 90.0f, angles[15] = 135.0f, angles[16] = 180.0f;
        for (int i = 0; i < 17; ++i) {
            const float y = (2000.0f * std::sin(angles[i] * 0.017453293f) + 2100.0f) / 4200.0f * 768.0f;
            const float red = 0.05f + 0.1f * std::clamp(i - 4, 0, 9);
            for (const float x : {512.0f + 2309.4f / 6000.0f * 1024.0f, 512.0f - 2309.4f / 6000.0f * 1024.0f}) {
                const bool found = std::any_of(seen.begin(), seen.end(), [&](const std::array<float, 3>& v) {
                    return std::fabs(v[0] - x) < 0.1f && std::fabs(v[1] - y) < 0.1f && std::fabs(v[2] - red) < 1e-4f;
                });
                EXPECT_TRUE(found) << "elevation " << r.elevation_m << " m: angle " << angles[i] << " at x " << x;
            }
        }
    }
}

TEST_F(CameraView, AnUnknownPlanetIsFatal)
{
    sim_graphics_scenery.current_planet = 2;
    const alert_record a = expect_fatal([] { SCENE_draw_3d(); });
    EXPECT_EQ(a.code, 17);
}

TEST_F(CameraView, OctantsOfTheViewHeading)
{
    for (const auto& [heading, octant] : {std::pair{0.0f, 1}, {44.99f, 1}, {45.0f, 2}, {180.0f, 5}, {359.9f, 8}, {360.0f, 8}})
        EXPECT_EQ(VIEW_octant_of(heading), octant) << heading;
}

// Each angle of the modelview turned alone, camera level and looking north:
// positive pitches look up, positive headings look east, positive rolls lean
// the picture's up to the east, and the quarter turns roll a quarter either way.
TEST_F(CameraView, EachViewAngleTurnsTheModelviewItsOwnWay)
{
    const float s10 = 0.173648f, c10 = 0.984808f, s20 = 0.342020f, c20 = 0.939693f;
    struct row {
        const char* name;
        float* angle;
        int32_t* flag;
        float value;
        float forward[3], up[3];
    } rows[] = {
        {"offset pitch", &view_offset_pitch, nullptr, 10.0f, {0, s10, -c10}, {0, c10, s10}},
        {"offset heading", &view_offset_heading, nullptr, 30.0f, {0.5f, 0, -0.866025f}, {0, 1, 0}},
        {"offset roll", &view_offset_roll, nullptr, 20.0f, {0, 0, -1}, {s20, c20, 0}},
        {"reference pitch", &sim_graphics_view.elumens_ref_the, nullptr, 10.0f, {0, s10, -c10}, {0, c10, s10}},
        {"reference heading", &sim_graphics_view.elumens_ref_psi, nullptr, 30.0f, {0.5f, 0, -0.866025f}, {0, 1, 0}},
        {"reference roll", &sim_graphics_view.elumens_ref_phi, nullptr, 20.0f, {0, 0, -1}, {s20, c20, 0}},
        {"camera pitch", &sim_private_camera.the, nullptr, 10.0f, {0, s10, -c10}, {0, c10, s10}},
        {"camera heading", &sim_private_camera.psi, nullptr, 30.0f, {0.5f, 0, -0.866025f}, {0, 1, 0}},
        {"camera roll", &sim_private_camera.phi, nullptr, 20.0f, {0, 0, -1}, {s20, c20, 0}},
        {"quarter turn back", nullptr, &view_quarter_turn_neg, 0.0f, {0, 0, -1}, {-1, 0, 0}},
        {"quarter turn on", nullptr, &view_quarter_turn_pos, 0.0f, {0, 0, -1}, {1, 0, 0}},
    };
    for (const row& r : rows) {
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
        if (r.angle) *r.angle = r.value;
        if (r.flag) *r.flag = 1;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
        const std::vector<float> m = matrix(GL_MODELVIEW_MATRIX);
        // The world directions of the eye's forward (0, 0, -1) and up (0, 1, 0).
        const float forward[3] = {-m[2], -m[6], -m[10]}, up[3] = {m[1], m[5], m[9]};
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(forward[k], r.forward[k], 1e-4f) << r.name << " forward " << k;
            EXPECT_NEAR(up[k], r.up[k], 1e-4f) << r.name << " up " << k;
        }
        if (r.angle) *r.angle = 0.0f;
        if (r.flag) *r.flag = 0;
    }
}

// The roll of the view: the camera's roll read against the right and up axes
// of the view's heading and pitch (those of the previous pass, so a second
// pass settles it), positive when the picture's up leans to the right.
TEST_F(CameraView, ViewRollFollowsTheCameraRollAtAnyHeading)
{
    for (const float heading : {0.0f, 90.0f, 225.0f})
        for (const float roll : {20.0f, -35.0f}) {
            camera_at(0.0f, 20.0f, 0.0f, 10.0f, heading, roll);
            VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
            VIEW_setup_scene(2000.0f, 0.0f, 0.0f, 20000.0f, 20.0f);
            EXPECT_NEAR(sim_graphics_view.view_roll, roll, 1e-3f) << heading;
            EXPECT_NEAR(sim_graphics_view.view_heading, heading, 1e-3f);
            EXPECT_NEAR(sim_graphics_view.view_pitch, 10.0f, 1e-3f);
        }
}

// Outside cameras around a plane at the origin, 100 m out, the orbit pitched
// 0.5 rad: an orbit and a slow chase both sit above and behind it at
// (0, 100 sin 0.5, 100 cos 0.5); pitched the other way the orbit would go
// under the ground at 0 and is held 1.7 m above it.
TEST_F(CameraView, OrbitAndChaseCamerasSitAboveThePlaneAndAboveTheGround)
{
    sim_graphics_view_block& v = sim_graphics_view;
    const struct {
        int type;
        float pitch, ground, y, z;
    } rows[] = {
        {1018, 0.5f, -1000.0f, 47.943f, 87.758f},
        {1017, 0.5f, -1000.0f, 47.943f, 87.758f},
        {1018, -0.5f, 0.0f, 1.7f, 87.758f},
    };
    for (const auto& r : rows) {
        v.view_type = r.type;
        v.view_is_external = 1;
        view_distance = 100.0f;
        camera_smoothing.camera_distance_smoothed = 100.0f;
        camera_smoothing.camera_orbit_heading = view_orbit_heading = 0.0f;
        camera_smoothing.camera_orbit_pitch = view_orbit_pitch = r.pitch;
        scene_ground_elevation = r.ground;
        CAMERA_place();
        EXPECT_NEAR(v.view_x, 0.0f, 1e-3f) << r.type;
        EXPECT_NEAR(v.view_y, r.y, 1e-3f) << r.type;
        EXPECT_NEAR(v.view_z, r.z, 1e-3f) << r.type;
    }
}

// The far plane: R2 = max(1.25 sqrt 2 x visibility, 1655 m), times
// (1 + sin(fov/2) sin(offset)) and 1.15. The frustum at 90 degrees (k = 1)
// with the HUD box centred 200 px up the 768-px window: bottom -400/768,
// top 2 x 568/768.
TEST_F(CameraView, FarPlaneAndFrustumEdges)
{
    sim_graphics_view_block& v = sim_graphics_view;
    v.field_of_view_deg = 90.0f;
    const struct {
        float visibility, ratio, far_plane;
    } rows[] = {
        {10000.0f, 0.0f, 20329.3f},   // 17677.67 x 1.15
        {100.0f, 0.0f, 1903.25f},     // 1655 x 1.15
        {100.0f, 1.0f, 2854.88f},     // offset 45 degrees: 1655 x 1.5 x 1.15
    };
    for (const auto& r : rows) {
        v.visibility_effective_m = r.visibility;
        v.field_of_view_horizontal_ratio = r.ratio;
        CAMERA_near_and_far(1, 0);
        EXPECT_NEAR(scene_projection.far_plane_m, r.far_plane, 0.05f) << r.visibility << " " << r.ratio;
    }
    v.field_of_view_horizontal_ratio = v.field_of_view_vertical_ratio = 0.0f;
    scene_projection.hud_box[1] = 100.0f, scene_projection.hud_box[3] = 300.0f;
    CAMERA_project();
    EXPECT_NEAR(scene_projection.frustum[0], -1.0f, 1e-5f);
    EXPECT_NEAR(scene_projection.frustum[1], -400.0f / 768.0f, 1e-5f);
    EXPECT_NEAR(scene_projection.frustum[2], 1.0f, 1e-5f);
    EXPECT_NEAR(scene_projection.frustum[3], 1136.0f / 768.0f, 1e-5f);
}
