// A known state for the scene tests: the offscreen GL context at 1024 x 768
// with no error pending, the Earth's constants, a flat grid at sea level
// around the origin (lat_ref 33, lon_ref -119), empty planes and tables, clear
// weather with 20 km visibility, a field of view of 70 degrees, the camera
// level at 20 m, and a sky-colour table whose every value says where it came
// from.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "scene/camera.h"
#include "scene/scene_driver.h"
#include "world/scene_origin.h"
#include "world/ships.h"
#include "scene/sky_light.h"
#include "scene/view_setup.h"
#include "tests/scene/pass_to_view.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/terrain_support.h"
#include "tests/support/test_support.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/scenery_area.h"
#include "world/sky_colors.h"

// Sky-table values: row r, band b, channel k is (r + 1) / 16 + b / 200 + k / 1000,
// so any mix of rows and bands can be worked out.
inline float test_band(int r, int b, int k) { return (r + 1) / 16.0f + b / 200.0f + k / 1000.0f; }

class SceneState : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        ASSERT_TRUE(ensure_gl_context());
        // An error flag an earlier test's drawing raised stays set until read:
        // each test starts with none, so its own checks see only its own.
        while (glGetError() != GL_NO_ERROR) {
        }
        saved_area_ = scenery_area;
        FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");   // a scene build reads the built data folder's tiles
        CONST_fill_constants();
        PLANET_set_constants(PLANET_EARTH);
        OGL_fill_default_colors();
        scene_followed_weapon = -1;
        lat_ref = 33.0f;
        lon_ref = -119.0f;
        for (flt_struct& f : flt) f = flt_struct{};
        for (acf_struct& a : pln) std::memset(static_cast<void*>(&a), 0, sizeof a);
        for (flt_struct& f : flt) f.cos_theta = f.cos_phi = 1.0f;
        airport_table.clear();
        local_airport_last = -1;
        start_selection.airport_index = -1;
        for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) ship_x[k] = ship_z[k] = -9.9e9f;
        for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = 0;
        PLUGIN_host_reset();
        TEST_lay_flat_grid(0.0f);
        scenery_area = {-150000.0f, 150000.0f, -110000.0f, 110000.0f};
        screen.ui_side_margin = screen.ui_top_margin = 0.0f;
        screen.ui_scale = 1.0f;
        screen.window_width = 1024;
        screen.window_height = 768;
        gload_dim_factor = 1.0f;
        flying_frame_count = 10;
        for (int r = 0; r < SKY_STATES; ++r) {
            for (int b = 0; b < SKY_STEPS; ++b)
                for (int k = 0; k < 3; ++k) sky_gradient_table[r][b][k] = test_band(r, b, k);
            for (int k = 0; k < 3; ++k) {
                sky_pair_table[r][0][k] = 0.5f;
                sky_pair_table[r][1][k] = 0.8f;
                sky_state_colour_table[r][k] = 0.9f;
            }
        }

        sim_operation_misc.frame_rate_period = 0.04f;
        sim_graphics_view_block& v = sim_graphics_view;
        v.field_of_view_deg = 70.0f;
        v.visibility_framerate_ratio = 1.0f;
        v.view_zoom = 1.0f;
        v.view_type = 1024;
        v.view_y = 20.0f;
        v.view_heading_cos = v.view_pitch_cos = v.view_roll_cos = 1.0f;
        sim_graphics_settings.draw_aircrafts = 1;
        sim_weather.visibility_reported_m = 20000.0f;
        sim_weather.cloud_base_msl_m[0] = sim_weather.cloud_base_msl_m[1] = 3000.0f;
        sim_weather.cloud_tops_msl_m[0] = sim_weather.cloud_tops_msl_m[1] = 4000.0f;
        sim_time.zulu_time_sec = 12.0f * 3600.0f + 119.0f / 15.0f * 3600.0f;   // noon at the plane's longitude
        flt[0].latitude = 34.0f;
        flt[0].longitude = -119.0f;
    }

    void TearDown() override
    {
        scenery_area = saved_area_;
        airport_table.clear();
        PLUGIN_host_reset();
        sim_operation_override.override_camera = 0;
    }

    // The camera placed by hand (the override keeps it there) with its angles.
    static void camera_at(float x, float y, float z, float pitch, float heading, float roll = 0.0f)
    {
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = x, sim_graphics_view.view_y = y, sim_graphics_view.view_z = z;
        sim_private_camera.the = pitch, sim_private_camera.psi = heading, sim_private_camera.phi = roll;
    }

    // The pass up to its view set-up, where the matrices are the 3-D scene's
    // (the whole pass ends in the 2-D projection).
    static void pass_to_view() { scene_pass_to_view(); }

    static std::vector<float> matrix(GLenum which)
    {
        std::vector<float> m(16);
        glGetFloatv(which, m.data());
        return m;
    }

private:
    scenery_area_record saved_area_{};
};
