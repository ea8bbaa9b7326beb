// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, at KSBD; the 3-D pass draws its sky by time and
// weather, and every view command places the camera.
#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems/weather.h"
#include "scene/camera.h"
#include "scene/scene_driver.h"
#include "scene/view_effects.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/scene/flying_program.h"
#include "tests/support/gl_view.h"
#include "tests/support/reference_picture.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"
#include "world/sky_colors.h"

namespace {

class SceneEndToEnd : public flying_program {
protected:
    void TearDown() override { sim_operation_override.override_camera = 0; }

    // Clear weather, or the default overcast (a type-4 layer from 5,000 to 8,000 ft, 3 nm).
    static void weather(bool overcast)
    {
        sim_weather.cloud_type[0] = overcast ? 4 : 0;
        sim_weather.cloud_type[1] = 0;
        sim_weather.cloud_base_msl_m[0] = 5000.0f * 0.3048f;
        sim_weather.cloud_tops_msl_m[0] = 8000.0f * 0.3048f;
        sim_weather.visibility_reported_m = overcast ? 3.0f * 1852.0f : 40000.0f;
        if (!overcast)   // dry: no rain left streaming past from the default weather
            sim_weather.rain_percent = sim_weather.precip_rain = sim_weather.precip_snow = 0.0f;
    }

    // The zulu time of the local solar hour at the plane.
    static void solar_hour(float hour)
    {
        sim_time.zulu_time_sec = std::fmod((hour - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
    }

    // The pass drawn with the camera 2 m over the plane, looking up 60 degrees,
    // the eye line along the window's bottom edge (the view's centre put
    // there for the pass); the middle pixel, high above the eye line.
    static std::array<float, 3> sky_60_degrees_up()
    {
        acf_struct& a = pln[0];
        const float kept_centre = a.acf_HUD_cntry;
        a.acf_HUD_cntry = 0.5f * screen.ui_top_margin;
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = flt[0].local_x;
        sim_graphics_view.view_y = flt[0].local_y + 2.0f;
        sim_graphics_view.view_z = flt[0].local_z;
        sim_private_camera.the = 60.0f, sim_private_camera.psi = 0.0f, sim_private_camera.phi = 0.0f;
        SCENE_draw_3d();
        unsigned char p[4] = {};
        glReadPixels(512, 384, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        a.acf_HUD_cntry = kept_centre;
        return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
    }

    static void passes(int n)
    {
        for (int k = 0; k < n; ++k) SCENE_draw_3d();
    }

    // The camera's smoothing run for n passes: the camera alone, then a whole
    // pass that places it as the picture is drawn.
    static void settle_camera(int n)
    {
        for (int k = 1; k < n; ++k) {
            CAMERA_place();
            CAMERA_locate();
        }
        SCENE_draw_3d();
    }
};

}  // namespace

// The top band fills the clear sky 60 degrees up; its row follows the sun and
// the overcast above the camera, whose sheets hide it.
TEST_F(SceneEndToEnd, SkyRowsByTimeAndWeather)
{
    const struct {
        bool overcast;
        float hour;
        int row;
    } rows[] = {{false, 12.0f, 0}, {false, 0.0f, 3}, {true, 12.0f, 4}, {true, 0.0f, 7}};
    for (const auto& r : rows) {
        weather(r.overcast);
        solar_hour(r.hour);
        const std::array<float, 3> px = sky_60_degrees_up();
        float off = 0.0f;   // from the clear sky's top band
        for (int k = 0; k < 3; ++k) off += std::fabs(px[k] - sky_ramp[9][k] * gload_dim_factor);
        if (r.overcast) {   // the overcast's sheets hang between the camera and the sky
            EXPECT_GT(off, 6.0f / 255.0f) << r.row;
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(sky_ramp[0][k], sky_gradient_table[r.row][0][k]) << r.row;
            if (!r.overcast) {   // in clear air the top band is the row's, thinned with the air
                EXPECT_NEAR(px[k], sky_ramp[9][k] * gload_dim_factor, 2.0f / 255.0f + 1e-4f) << r.row;
                EXPECT_NEAR(sky_ramp[9][k], sky_gradient_table[r.row][9][k] * scene_atmosphere_factor, 1e-5f);
            }
        }
    }
}

TEST_F(SceneEndToEnd, EveryViewCommandPlacesTheCamera)
{
    ASSERT_TRUE(pln[0].acf_m_max > 0.0f && std::strstr(pln[0].acf_file_name, "TRAINER"))
        << "the program did not load the trainer";
    weather(false);
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const sim_graphics_view_block& v = sim_graphics_view;
    const float size = std::sqrt(a.acf_size_x * a.acf_size_x + a.acf_size_z * a.acf_size_z);
    weather_stage.windshield_impact_rate = 100.0f;   // the weather's impacts mark the glass in the cockpit views
    // The nearest airport the tower view stands at comes from a whole pass;
    // the plane stands, so one pass finds it for every view.
    SCENE_draw_3d();
    for (int32_t type = VIEW_FIRST; type <= VIEW_LAST; ++type) {
        CORE_run_command(type);
        ASSERT_EQ(v.view_type, type);
        const float placed[3] = {v.view_x, v.view_y, v.view_z};
        settle_camera(150);
        const float dx = f.local_x - v.view_x, dy = f.local_y - v.view_y, dz = f.local_z - v.view_z;
        const float horizontal = std::hypot(dx, dz);
        if (!VIEW_is_external(type)) {
            float e[3];
            PHYS_body_to_local(a.acf_peX, a.acf_peY, a.acf_peZ, &e[0], &e[1], &e[2], 0);
            EXPECT_NEAR(v.view_x, f.local_x + e[0], 1e-3f) << type;
            EXPECT_NEAR(v.view_y, f.local_y + e[1], 1e-3f) << type;
            EXPECT_NEAR(v.view_z, f.local_z + e[2], 1e-3f) << type;
            EXPECT_NEAR(std::remainder(sim_private_camera.psi - f.psi, 360.0f), 0.0f, 1e-3f) << type;
            continue;
        }
        // Outside, the camera looks at the plane.
        EXPECT_NEAR(std::remainder(v.view_heading - std::atan2(dx, -dz) * 57.29578f, 360.0f), 0.0f, 0.5f) << type;
        EXPECT_NEAR(v.view_pitch, std::atan2(dy, horizontal) * 57.29578f, 0.5f) << type;
        switch (type) {
        case VIEW_CHASE:   // behind the plane along its heading, at the chase distance
            EXPECT_NEAR(std::remainder(std::atan2(dx, -dz) * 57.29578f - f.psi, 360.0f), 0.0f, 1.0f);
            EXPECT_NEAR(camera_smoothing.camera_distance_smoothed, 1.5f * size, 1e-3f);
            EXPECT_NEAR(horizontal, 1.5f * size * std::cos(f.theta * 0.01745329f), 0.05f);
            break;
        case VIEW_ORBIT:   // the orbit angles the chase view left at 0: due south
        case VIEW_ORBIT_PANEL:
            EXPECT_NEAR(dx, 0.0f, 1e-2f) << type;
            EXPECT_NEAR(-dz, camera_smoothing.camera_distance_smoothed, 1e-2f) << type;
            break;
        case VIEW_TOWER: {
            const airport_record& apt = airport_table[static_cast<size_t>(scene_nearest_airport.airport_index)];
            EXPECT_STREQ(apt.id, "KSBD");
            float tx, ty, tz;
            const bool tower = std::fabs(apt.tower_lat) > 0.01f || std::fabs(apt.tower_lon) > 0.01f;
            GEO_latlon_to_local(tx, ty, tz, tower ? apt.tower_lat : apt.runways[0].lat,
                                tower ? apt.tower_lon : apt.runways[0].lon,
                                apt.elevation + (tower ? apt.tower_height : 20.0f));
            EXPECT_NEAR(v.view_x, tx, 0.05f);
            EXPECT_NEAR(v.view_y, ty, 0.05f);
            EXPECT_NEAR(v.view_z, tz, 0.05f);
            break;
        }
        case VIEW_RUNWAY:   // where the command put it, beside the runway
            EXPECT_EQ(v.view_x, placed[0]);
            EXPECT_EQ(v.view_z, placed[2]);
            break;
        case VIEW_FLYBY:
        case VIEW_FLYBY_DRIFT:   // the plane stands: its point is the plane plus the plane's size on each axis
            EXPECT_NEAR(v.view_x, f.local_x + a.acf_size_x, 1e-2f) << type;
            EXPECT_NEAR(v.view_z, f.local_z + a.acf_size_x, 1e-2f) << type;
            break;
        default: break;
        }
    }
    EXPECT_GT(VIEW_windshield_marks(), 0);
    weather_stage.windshield_impact_rate = 0.0f;
    VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);   // clean glass for the tests after
    CORE_run_command(VIEW_FORWARD);
}

TEST_F(SceneEndToEnd, NoonChaseViewMatchesItsReferencePicture)
{
    CORE_run_command(VIEW_CHASE);
    // Still air, so the plane stands where the reference shows it (the
    // systems step's gusts are random draws).
    for (int k = 0; k < WIND_LAYERS; ++k)
        sim_weather.wind_speed_kt[k] = sim_weather.shear_speed_kt[k] = sim_weather.turbulence[k] = 0.0f;
    sim_weather.thunderstorm_percent = sim_weather.microburst_probability = sim_weather.wind_turbulence_percent = 0.0f;
    for (int k = 0; k < 10; ++k) {   // whole frames: the plane step works out the plane's attitude
        test_clock_seconds += 0.04;
        MACIBM_do_frame();
    }
    // The plane where it stands in a fresh program and its light phases and
    // propeller's angle as of a fixed moment: the settling on the gear leaves it
    // a little differently placed and rocked after other suites have flown.
    hold_user_plane(ksbd_start_pose);
    weather(false);
    solar_hour(12.0f);
    sim_operation_misc.frame_rate_period = 0.1f;
    sim_time.total_running_time_sec = 100.0f;
    flt[0].strobe_flash = 0;
    flt[0].beacon_brightness = 0.5f;
    flt[0].tire_prop_rot[0] = 0.0f;
    passes(150);
    const std::vector<unsigned char> frame = window_pixels(GL_BACK);
    CORE_run_command(VIEW_FORWARD);
    expect_like_reference(frame, "scene_noon_chase.png", 2000);
}
