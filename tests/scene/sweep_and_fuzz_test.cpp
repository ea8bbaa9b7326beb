// The nearest-airport sweep spread over passes, and many passes of random
// cameras, views and weather that must keep every index on its table.
#include <cstring>
#include <random>

#include "aircraft/acf_panel_setup.h"
#include "core/texture_slots.h"
#include "graphics/ogl_bind_seam.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

namespace {

class Sweep : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        // 25 airports in a row eastward; the plane sits on number 17.
        for (int i = 0; i < 25; ++i) {
            airport_record a{};
            std::snprintf(a.id, sizeof a.id, "A%03d", i);
            runway_record rw{};
            rw.lat = 34.0f;
            rw.lon = -119.9f + 0.05f * static_cast<float>(i);
            rw.heading = 90.0f;
            a.runways.push_back(rw);
            airport_table.push_back(a);
            local_airport_list[i] = i;
        }
        local_airport_last = 24;
        flt[0].latitude = 34.0f;
        flt[0].longitude = -119.9f + 0.05f * 17.0f;
        sim_weather.wind_direction_degt[0] = 250.0f;
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
    }

    // One pass; how many list entries it looked at.
    static int pass()
    {
        std::memset(scene_airport_visible, 7, sizeof scene_airport_visible);
        scene_nearest_airport.airport_index = -1;
        SCENE_draw_3d();
        return static_cast<int>(std::count_if(std::begin(scene_airport_visible), std::end(scene_airport_visible),
                                              [](uint8_t b) { return b != 7; }));
    }
};

}  // namespace

TEST_F(Sweep, ElevenEntriesAPassPublishedEveryThirdPass)
{
    for (int k = 1; k <= 6; ++k) {
        EXPECT_LE(pass(), 11) << "pass " << k;
        EXPECT_EQ(scene_nearest_airport.airport_index >= 0, k % 3 == 0) << "pass " << k;
    }
    EXPECT_EQ(scene_nearest_airport.airport_index, 17);
    EXPECT_STREQ(scene_nearest_airport.id, "A017");
    EXPECT_EQ(scene_nearest_airport.runway_end_sign, -1);   // the wind from 250 is behind a runway heading 090
    EXPECT_EQ(scene_airport_visible[17], 1);

    flying_frame_count = 1;   // the first frames after a start take the whole list
    EXPECT_EQ(pass(), 25);
    EXPECT_EQ(scene_nearest_airport.airport_index, 17);

    // An empty list publishes the current airport again, or nothing without one.
    local_airport_last = -1;
    SCENE_clear_state();
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(scene_nearest_airport.airport_index, -1);
    SCENE_clear_state();
    start_selection.airport_index = 3;
    pass();
    EXPECT_EQ(scene_nearest_airport.airport_index, 3);

    // 21 entries: the cursor comes to rest on the last entry (20) and starts
    // over from 0 there, so every second pass publishes.
    flying_frame_count = 10;
    local_airport_last = 20;
    SCENE_clear_state();
    for (int k = 1; k <= 6; ++k) {
        pass();
        EXPECT_EQ(scene_nearest_airport.airport_index >= 0, k % 2 == 0) << "pass " << k;
    }
}

// The user's aircraft is redrawn from the pilot's eye (its paint bound) in an
// inside view that asks for it: the front-view flag in views 1000-1002, the
// side-view flag in views 1004-1012 or with a horizontal field of view above
// 0.01.
TEST_F(Sweep, CockpitRedrawInTheViewsTheAircraftAsksFor)
{
    struct paint_seen : bind_recorder {
        bool paint = false;
        void bound(int slot, int) override { paint = paint || slot == TEX_SLOT_PAINT_FIRST; }
    } rec;
    const struct {
        int32_t view, front, side;
        float fov_h;
        bool redrawn;
    } cases[] = {{1000, 1, 0, 0.0f, true},   {1004, 1, 0, 0.0f, false}, {1004, 0, 1, 0.0f, true},
                 {1000, 0, 1, 0.0f, false},  {1000, 0, 1, 0.02f, true}, {1000, 0, 1, 0.01f, false}};
    OGL_install_bind_recorder(&rec);
    for (const auto& c : cases) {
        sim_graphics_view.view_type = c.view;
        pln[0].acf_draw_geo_frnt_views = c.front, pln[0].acf_draw_geo_side_views = c.side;
        sim_graphics_view.field_of_view_horizontal_deg = c.fov_h;
        rec.paint = false;
        SCENE_draw_3d();
        EXPECT_EQ(rec.paint, c.redrawn) << c.view << " " << c.front << c.side << " " << c.fov_h;
    }
    OGL_install_bind_recorder(nullptr);
    sim_graphics_view.field_of_view_horizontal_deg = 0.0f;
}

// The yaw string: 50 units up from its root at (300, 300) with no sideslip,
// drawn in the forward views while the ground speed is above 1 m/s.
TEST_F(Sweep, TheYawStringInTheForwardViewsWhenMoving)
{
    pln[0].acf_yawstringx = pln[0].acf_yawstringy = 300.0f;
    const struct {
        int32_t view;
        float groundspeed;
        bool drawn;
    } cases[] = {{1000, 2.0f, true}, {1002, 2.0f, true}, {1000, 1.0f, false}, {1004, 2.0f, false}};
    for (const auto& c : cases) {
        sim_graphics_view.view_type = c.view;
        flt[0].groundspeed = c.groundspeed;
        const std::vector<GLfloat> b = feedback_of([] { SCENE_draw_3d(); }, 1 << 22, GL_2D);
        const float x = 300.5f + screen.screen_area_left, y = 300.5f + screen.screen_area_bottom;
        bool found = false;
        for (size_t i = 0; i < b.size();) {   // 2-D feedback: tokens and their vertices of two values
            const GLint token = static_cast<GLint>(b[i++]);
            if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                found = found || (i + 3 < b.size() && std::fabs(b[i] - x) < 1.0f && std::fabs(b[i + 1] - y) < 1.0f &&
                                  std::fabs(b[i + 2] - x) < 1.0f && std::fabs(b[i + 3] - (y + 50.0f)) < 1.0f);
                i += 4;
            } else if (token == GL_POLYGON_TOKEN) {
                i += 1 + 2 * static_cast<size_t>(b[i]);
            } else if (token == GL_PASS_THROUGH_TOKEN) {
                i += 1;
            } else {
                i += 2;   // a point, bitmap or pixel rectangle: one vertex
            }
        }
        EXPECT_EQ(found, c.drawn) << c.view << " " << c.groundspeed;
    }
}

// The head-up display, switched on in an aircraft that has one, draws in the
// three forward views (1002 too) and not in a side or outside view.
TEST_F(Sweep, TheHeadUpDisplayInTheForwardViews)
{
    pln[0].acf_HUD_cntrx = 512.0f, pln[0].acf_HUD_cntry = 400.0f;
    pln[0].acf_HUD_delx = pln[0].acf_HUD_dely = 150.0f;
    acf_HUD_type = HUD_KIND_SYMBOLS;
    sim_cockpit_electrical.battery_on = 1;
    flt[0].ENGN_bat_volt[0] = 1.0f;   // the panel has power
    const struct {
        int32_t view;
        bool drawn;
    } cases[] = {{1000, true}, {1001, true}, {1002, true}, {1004, false}, {1017, false}};
    for (const auto& c : cases) {
        sim_graphics_view.view_type = c.view;
        size_t size[2];
        for (int on = 0; on < 2; ++on) {
            sim_cockpit_electrical.HUD_on = on;
            size[on] = feedback_of([] { SCENE_draw_3d(); }, 1 << 22, GL_2D).size();
        }
        EXPECT_EQ(size[1] > size[0], c.drawn) << c.view;
    }
    // A box reaching up to the window's top edge: while the replay bar is
    // shown, nothing of the display lands in the bar's rows.
    pln[0].acf_HUD_cntry = 650.0f, pln[0].acf_HUD_dely = 100.0f;
    sim_graphics_view.view_type = 1000;
    sim_operation_prefs.replay_mode = 5;
    std::vector<unsigned char> bar[2];
    for (int on = 0; on < 2; ++on) {
        sim_cockpit_electrical.HUD_on = on;
        SCENE_draw_3d();
        bar[on].resize(200 * 30 * 4);
        glReadPixels(static_cast<int>(412 + screen.screen_area_left), static_cast<int>(720 + screen.screen_area_bottom),
                     200, 30, GL_RGBA, GL_UNSIGNED_BYTE, bar[on].data());
    }
    EXPECT_EQ(bar[0], bar[1]);
    sim_operation_prefs.replay_mode = 0;
    acf_HUD_type = HUD_KIND_NONE;
    sim_cockpit_electrical.HUD_on = 0;
    sim_cockpit_electrical.battery_on = 0;
    flt[0].ENGN_bat_volt[0] = 0.0f;
}

TEST_F(Sweep, RandomCamerasViewsAndWeatherKeepEveryIndexOnItsTable)
{
    std::mt19937 rng(2024);
    auto any = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto odd = [&](float lo, float hi) {
        switch (rng() % 8) {
        case 0: return NAN;
        case 1: return any(-1.0f, 1.0f) > 0.0f ? INFINITY : -INFINITY;
        case 2: return any(-1.0e30f, 1.0e30f);
        default: return any(lo, hi);
        }
    };
    for (int k = 0; k < 300; ++k) {
        sim_graphics_view_block& v = sim_graphics_view;
        sim_operation_override.override_camera = rng() % 3 == 0;
        v.view_type = 995 + static_cast<int32_t>(rng() % 35);
        v.view_is_external = static_cast<int32_t>(rng() % 2);
        v.number_elumens_projections = static_cast<int32_t>(rng() % 3);
        sim_graphics_settings.draw_aircrafts = rng() % 8 == 0 ? INT32_MIN : static_cast<int32_t>(rng() % 30) - 10;
        sim_graphics_scenery.current_planet = static_cast<int32_t>(rng() % 2);
        sim_time.local_date_days = static_cast<int32_t>(rng());
        view_follow_weapon = static_cast<int32_t>(rng() % 2);
        flying_frame_count = static_cast<int32_t>(rng() % 4);
        local_airport_last = static_cast<int32_t>(rng() % 30) - 2;
        for (int l = 0; l < 2; ++l) sim_weather.cloud_type[l] = static_cast<int32_t>(rng() % 8) - 1;
        for (float* f : {&v.view_x, &v.view_z, &flt[0].local_x, &view_distance})
            *f = odd(-2.0e5f, 2.0e5f);
        for (float* f : {&v.view_y, &v.view_zoom, &view_zoom_target, &v.field_of_view_deg, &sim_weather.visibility_reported_m,
                         &sim_weather.cloud_base_msl_m[0], &sim_weather.cloud_tops_msl_m[0], &sim_weather.cloud_base_msl_m[1],
                         &sim_weather.cloud_tops_msl_m[1], &sim_time.zulu_time_sec})
            *f = odd(-100.0f, 1.0e5f);
        for (float* f : {&sim_private_camera.the, &sim_private_camera.psi, &sim_private_camera.phi, &view_orbit_heading,
                         &view_orbit_pitch, &v.field_of_view_horizontal_ratio, &flt[0].latitude, &flt[0].longitude,
                         &flt[0].g_nrml})
            *f = odd(-720.0f, 720.0f);
        SCENE_draw_3d();

        const int p = WORLD_planet();
        const int columns = p == 1 ? 384 : 450, rows = p == 1 ? 320 : 400;
        ASSERT_TRUE(camera_cell.column >= 0 && camera_cell.column < columns && camera_cell.row >= 0 && camera_cell.row < rows)
            << "pass " << k;
        const terrain_window_record& w = terrain_window;
        ASSERT_TRUE(w.first_column >= 0 && w.last_column < columns && w.first_row >= 0 && w.last_row < rows) << "pass " << k;
        ASSERT_TRUE(scene_gates.nearer_layer == 0 || scene_gates.nearer_layer == 1);
        ASSERT_TRUE(view_octant >= 1 && view_octant <= 8);
        ASSERT_TRUE(scene_followed_weapon >= -1 && scene_followed_weapon < 24);
        ASSERT_TRUE(std::isfinite(fog_start) && std::isfinite(fog_end)) << "pass " << k;   // GL's fog, kept by later drawing
    }
    sim_graphics_scenery.current_planet = 0;
}
