// Screens 16 and 17 on the offscreen context: the path view's segments and
// its camera's turns, the globe's point under the pointer and its clicks.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/replay.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "scene/scene_state.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "tests/support/ui_capture.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/ui_capture.h"
#include "core/random.h"
#include "world/apt_scene.h"
#include "world/landuse.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

namespace {

class PreviewTest : public ScreenTest {
protected:
    void arrange() override
    {
        PLANET_set_constants(0);
        NAV_clear_tables();
        APT_scene_reset();   // no globe list a click of an earlier test built
        globe_screen.turned = 1;   // heading and pitch 0
        view_orbit_heading = view_orbit_pitch = 0.0f;
        screen_settings.preview_zoom = 1.0f;
        sim_operation_misc.frame_rate_period = 0.05f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        lat_ref = 33.0f, lon_ref = -118.0f;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        PLANET_set_constants(0);
        ScreenTest::TearDown();
    }
    static void airport_at(float lat, float lon)
    {
        airport_table.emplace_back();
        runway_record r{};
        r.lat = lat, r.lon = lon, r.length = 2000.0f, r.width = 30.0f;
        airport_table.back().runways.push_back(r);
    }
    // The pointer where the globe draws a point at (lat, lon): an airport
    // there alone, its dot caught from the drawn frame (the globe held at its turn).
    static void pointer_at(float lat, float lon)
    {
        const std::vector<airport_record> kept = airport_table;
        airport_table.clear();
        airport_at(lat, lon);
        view_orbit_heading = globe_screen.heading_deg * 3.14159265f / 180.0f;
        view_orbit_pitch = globe_screen.pitch_deg * 3.14159265f / 180.0f;
        std::vector<fb_vertex> dots;
        for (const fb_prim& p : capture_feedback(SETUP_globe))
            if (p.token == GL_POINT_TOKEN) dots.push_back(p.v[0]);
        airport_table = kept;
        ASSERT_EQ(dots.size(), 1u);
        mouse.mouse_x = dots[0].x - screen.screen_area_left;
        mouse.mouse_y = dots[0].y - screen.screen_area_bottom;
    }
    static void click_at(float lat, float lon)
    {
        pointer_at(lat, lon);
        click(SETUP_globe, mouse.mouse_x, mouse.mouse_y);
    }
};

TEST_F(PreviewTest, PathSegmentsByRecordAndAnEmptyRingDrawsNoLine)
{
    // No ground textures: the ground's many cells would overflow the feedback
    // buffer that catches the lines.
    const int32_t textures = landuse_texture_count;
    landuse_texture_count = 0;
    OGL_set_color(70, 1.0f, 0.0f, 0.0f);
    OGL_set_color(65, 0.0f, 1.0f, 0.0f);
    auto lines = [] {
        std::vector<fb_prim> out;
        for (const fb_prim& p : capture_feedback(SETUP_flight_path_3d))
            if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) out.push_back(p);
        return out;
    };
    EXPECT_TRUE(lines().empty());   // sky, fog and ground only

    // Five records near the area's centre, the camera looking at them; the
    // gap at record 5 breaks the line.
    for (int k = 0; k < 7; ++k) {
        if (k == 5) continue;
        replay_ring[k].network_time_sec = 1.0f + float(k);
        replay_ring[k].local_x = 200.0f * float(k);
        replay_ring[k].local_y = 1000.0f;
        replay_ring[k].local_z = 0.0f;
    }
    const auto segs = lines();
    ASSERT_EQ(segs.size(), 4u);   // 0-1, 1-2, 2-3, 3-4
    for (size_t i = 0; i < segs.size(); ++i) {
        const bool third = i % 3 == 0;
        EXPECT_EQ(segs[i].v[0].r > 0.5f, third) << i;
        EXPECT_EQ(segs[i].v[0].g > 0.5f, !third) << i;
    }
    landuse_texture_count = textures;
}

// With pitch and heading 0 the camera looks north from (z1 - z0) x 0.75 x zoom
// away at the point c = centre + (1 - zoom) (plane - centre), the centre's
// height being 4000 m above the view point; the frustum is -1..1 at unit
// distance, so a point x metres east of c lands x / d half-widths right of
// the picture's middle.
TEST_F(PreviewTest, ThePathCameraLooksAtTheAreaOrThePlaneByItsZoom)
{
    const int32_t textures = landuse_texture_count;
    landuse_texture_count = 0;
    const scenery_area_record& a = scenery_area;
    const float cx = (a.x0 + a.x1) / 2.0f, cz = (a.z0 + a.z1) / 2.0f;
    const float cy = sim_graphics_view.view_y + 4000.0f;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    const float w = screen.screen_area_width, h = screen.screen_area_height;
    const float mid_x = ox + w / 2.0f, mid_y = oy + 20.0f + (h - 58.0f) / 2.0f, half_w = (w - 40.0f) / 2.0f;
    for (float zoom : {1.0f, 0.5f}) {
        path_view = path_view_state{};
        path_view.zoom = screen_settings.preview_zoom = zoom;
        flt[0].local_x = cx + 400.0f, flt[0].local_y = cy - 800.0f, flt[0].local_z = cz;
        const float px = cx + (1.0f - zoom) * 400.0f, py = cy - (1.0f - zoom) * 800.0f;
        const float d = (a.z1 - a.z0) * 0.75f * zoom, east = (a.z1 - a.z0) * 0.3f;
        for (int k = 0; k < 2; ++k) {
            replay_ring[k].network_time_sec = 1.0f;
            replay_ring[k].local_x = px + east * float(k), replay_ring[k].local_y = py, replay_ring[k].local_z = cz;
        }
        std::vector<fb_prim> segs;
        for (const fb_prim& p : capture_feedback(SETUP_flight_path_3d))
            if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) segs.push_back(p);
        ASSERT_EQ(segs.size(), 1u) << zoom;
        EXPECT_NEAR(segs[0].v[0].x, mid_x, 0.5f) << zoom;
        EXPECT_NEAR(segs[0].v[0].y, mid_y, 0.5f) << zoom;
        EXPECT_NEAR(segs[0].v[1].x - segs[0].v[0].x, east / d * half_w, 0.5f) << zoom;
    }
    landuse_texture_count = textures;
}

// The far distance is 1.75 times the loaded area's diagonal (20 x 10 km:
// 22,360.7 m, so 39,131.2 m); the fog runs from a fifth of it to it, and the
// light is half ambient, half diffuse.
TEST_F(PreviewTest, ThePathViewFogsFromAFifthOfItsFarDistance)
{
    const scenery_area_record kept = scenery_area;
    scenery_area = {-10000.0f, 10000.0f, -5000.0f, 5000.0f};
    SETUP_flight_path_3d();
    scenery_area = kept;
    GLfloat start = 0, end = 0, ambient[4] = {}, diffuse[4] = {};
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_NEAR(end, 39131.2f, 0.5f);
    EXPECT_NEAR(start, 7826.2f, 0.5f);
    EXPECT_EQ(std::vector<float>(ambient, ambient + 4), (std::vector<float>{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(std::vector<float>(diffuse, diffuse + 4), (std::vector<float>{0.5f, 0.5f, 0.5f, 1.0f}));
}

TEST_F(PreviewTest, AViewKeyPostponesTheNextAngleChange)
{
    interval_ticks[INTERVAL_TEN_SECONDS] = 1;
    frame_clock = 100.0f;
    last_view_key_time = 93.0f;   // 7 s ago
    SETUP_flight_path_3d();
    EXPECT_EQ(view_orbit_heading, 0.0f);
    EXPECT_EQ(view_orbit_pitch, 0.0f);
    last_view_key_time = 89.0f;
    screen_settings.preview_zoom = 0.3f;
    // The generator's first draws 16838 and 5758: pitch 5 + 25 x 0.51387 =
    // 17.847 degrees, heading 360 x 0.17573 = 63.262 degrees.
    UTIL_srand(1);
    SETUP_flight_path_3d();
    EXPECT_NEAR(view_orbit_pitch * 180.0f / 3.14159265f, 17.847f, 1e-3f);
    EXPECT_NEAR(view_orbit_heading * 180.0f / 3.14159265f, 63.262f, 1e-3f);
    EXPECT_EQ(screen_settings.preview_zoom, 1.0f);
    // The camera glides toward the new angle: one frame moves it a little.
    EXPECT_GT(path_view.pitch, 0.0f);
    EXPECT_LT(path_view.pitch, view_orbit_pitch);
}

// The camera follows its targets as a damped spring: each frame the rate
// gains ((10 x error - 5 x rate) - rate) x dt and the value rate x dt. With
// dt 0.1: pitch 0 toward 0.2 goes 0.02 then 0.046; zoom 0 toward 1 goes 0.1
// then 0.23; heading 6.27 toward 0.1 goes the short way, up through 2 pi.
TEST_F(PreviewTest, TheCameraFollowsItsTargetsTheShortWayRound)
{
    sim_operation_misc.frame_rate_period = 0.1f;
    path_view = path_view_state{};
    path_view.zoom = 0.0f;
    path_view.heading = 6.27f;
    view_orbit_pitch = 0.2f, view_orbit_heading = 0.1f;
    screen_settings.preview_zoom = 1.0f;
    const float heading_error = 0.1f - 6.27f + 2.0f * 3.14159265f;   // 0.11319
    SETUP_flight_path_3d();
    EXPECT_NEAR(path_view.pitch, 0.02f, 1e-5f);
    EXPECT_NEAR(path_view.zoom, 0.1f, 1e-5f);
    EXPECT_NEAR(path_view.heading, 6.27f + 0.1f * heading_error, 1e-4f);
    SETUP_flight_path_3d();
    EXPECT_NEAR(path_view.pitch, 0.046f, 1e-5f);
    EXPECT_NEAR(path_view.zoom, 0.23f, 1e-5f);
    // Second frame: error 0.9 e, rate e + (9 e - 5 e - e) x 0.1 = 1.3 e,
    // heading 6.27 + 0.23 e, past 2 pi and wrapped.
    EXPECT_NEAR(path_view.heading, 6.27f + 0.23f * heading_error - 2.0f * 3.14159265f, 1e-4f);
    // Pitch is kept within a half turn about level: 2.0 at rest comes out as 2.0 - pi.
    path_view = path_view_state{};
    path_view.pitch = view_orbit_pitch = 2.0f;
    SETUP_flight_path_3d();
    EXPECT_NEAR(path_view.pitch, 2.0f - 3.14159265f, 1e-5f);
}

// The globe turns by four times its error a second, the heading the short
// way round: at 0.05 s a frame, 170 toward -170 degrees is 20 degrees away
// and moves 4; pitch 0 toward 0.2 rad (11.459 degrees) moves 2.292.
TEST_F(PreviewTest, TheGlobeTurnsFourTimesItsErrorASecond)
{
    globe_screen.heading_deg = 170.0f, globe_screen.pitch_deg = 0.0f;
    view_orbit_heading = -170.0f * 3.14159265f / 180.0f;
    view_orbit_pitch = 0.2f;
    SETUP_globe();
    EXPECT_NEAR(globe_screen.heading_deg, 174.0f, 1e-3f);
    EXPECT_NEAR(globe_screen.pitch_deg, 0.2f * 180.0f / 3.14159265f * 0.2f, 1e-3f);
}

TEST_F(PreviewTest, GlobePointUnderTheMouseAndItsClicks)
{
    float lat, lon;
    mouse.mouse_x = screen.screen_area_width / 2.0f;
    mouse.mouse_y = (screen.screen_area_height - 20.0f) / 2.0f;
    GLOBE_point_under_mouse(lat, lon);
    EXPECT_FLOAT_EQ(lat, 0.0f);
    EXPECT_FLOAT_EQ(lon, -90.0f);

    // 1.80 degrees from an airport selects it; 1.81 places over the region.
    airport_table.emplace_back();   // no runway: never chosen
    airport_at(10.0f, -88.20f);
    start_selection.airport_index = -1;
    situation_start_state.latitude = -1.0f;
    click_at(10.0f, -90.0f);
    EXPECT_EQ(start_selection.airport_index, 1);
    EXPECT_EQ(situation_start_state.latitude, -1.0f);   // no region placement
    airport_table[1].runways[0].lon = -88.19f;
    click_at(10.0f, -90.0f);
    EXPECT_EQ(situation_start_state.latitude, lat_ref + 1.0f);
    EXPECT_EQ(lat_ref, 9.0f);
    EXPECT_EQ(lon_ref, -92.0f);   // -91.5 rounded away from zero
    EXPECT_EQ(situation_start_state.longitude, -90.5f);
    EXPECT_NEAR(situation_start_state.elevation, 9144.0f, 0.01f);

    // Near the pole (the globe tilted to show it); and on Mars the start speed by the thinner air.
    pln[0].acf_est_Vs = 25.0f;
    globe_screen.pitch_deg = 80.0f;
    click_at(89.7f, -100.0f);
    EXPECT_EQ(lat_ref, 89.0f);
    EXPECT_EQ(situation_start_state.latitude, 90.0f);
    EXPECT_NEAR(situation_start_state.groundspeed, 100.0f, 0.01f);
    PLANET_set_constants(1);
    click_at(89.7f, -100.0f);
    EXPECT_NEAR(situation_start_state.groundspeed / 100.0f, std::sqrt(1.225f / 0.01505f), 1e-3f);
    EXPECT_NEAR(situation_start_state.groundspeed / 100.0f, 9.02f, 0.01f);
    sim_physics.rho_sea_level = 0.0f;
    click_at(10.0f, -100.0f);
    EXPECT_NEAR(situation_start_state.groundspeed, 100.0f, 0.01f);
}

// A turned globe moves the point under the pointer against its heading and
// with its pitch: heading 30, pitch 20, pointer at the middle gives longitude
// 0 - 30 - 90 = -120 and latitude 20; away from the middle the point is the
// one drawn under the pointer, out to 64 degrees from it. On Mars the loaded area is 5 by 6
// degrees, so an airport 3.9 degrees away (beyond the Earth's 1.80) is still
// chosen: half the diagonal there is sqrt(25 + 36) / 2 = 3.905.
TEST_F(PreviewTest, ATurnedGlobeAndTheWiderMarsArea)
{
    globe_screen.heading_deg = 30.0f, globe_screen.pitch_deg = 20.0f;
    mouse.mouse_x = screen.screen_area_width / 2.0f;
    mouse.mouse_y = (screen.screen_area_height - 20.0f) / 2.0f;
    float lat, lon;
    GLOBE_point_under_mouse(lat, lon);
    EXPECT_NEAR(lat, 20.0f, 1e-4f);
    EXPECT_NEAR(lon, -120.0f, 1e-4f);
    for (const float far : {-50.0f, 70.0f}) {
        pointer_at(33.94f, -118.4f + far);
        GLOBE_point_under_mouse(lat, lon);
        EXPECT_NEAR(lat, 33.94f, 0.01f) << far;
        EXPECT_NEAR(lon, -118.4f + far, 0.01f) << far;
    }

    PLANET_set_constants(1);
    globe_screen.heading_deg = 0.0f, globe_screen.pitch_deg = 0.0f;
    airport_at(10.0f, -86.1f);
    situation_start_state.latitude = -1.0f;
    click_at(10.0f, -90.0f);
    EXPECT_EQ(start_selection.airport_index, 0);
    EXPECT_EQ(situation_start_state.latitude, -1.0f);   // chosen, not placed over the region
    airport_table[0].runways[0].lon = -86.0f;           // 4 degrees: beyond 3.905
    click_at(10.0f, -90.0f);
    EXPECT_EQ(lat_ref, 8.0f);                           // 10 - 2.5 rounded away from zero
    EXPECT_EQ(situation_start_state.latitude, 10.5f);
}

// The user's plane on the globe faces the viewer whatever the globe's turn:
// 60 degrees round from the middle of the view its square is still square.
TEST_F(PreviewTest, ThePlanesSquareFacesTheViewer)
{
    globe_screen.heading_deg = 30.0f, globe_screen.pitch_deg = 20.0f;
    flt[0].latitude = 20.0f, flt[0].longitude = -60.0f, flt[0].psi = 0.0f;
    int squares = 0;
    for (const fb_rect& r : capture_rects([] { SETUP_globe(); })) {
        if (std::fabs(r.a - 0.25f) > 0.01f || std::fabs((r.tx2 - r.tx1) - 512.0f) > 1.0f) continue;
        ++squares;
        EXPECT_NEAR(r.x2 - r.x1, r.y2 - r.y1, 0.05f * (r.y2 - r.y1));
    }
    EXPECT_EQ(squares, 1);
}

}  // namespace
