// End to end: the program started on the generated default data folder at
// KSBD, its clouds and sky drawn by the frame loop's cloud update and scene
// pass: the default overcast from below, a scattered layer at noon with its
// shadow picture, and a clear midnight with stars and the moon in its phase.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "scene/scene_driver.h"
#include "scene/sky/cloud_field.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/scene/flying_program.h"
#include "tests/support/gl_view.h"
#include "tests/support/reference_picture.h"
#include "tests/support/startup_program.h"

namespace {

constexpr int W = 1024, H = 768;

class SkyEndToEnd : public flying_program {
protected:
    void SetUp() override
    {
        flying_program::SetUp();
        CORE_run_command(VIEW_FORWARD_NO_PANEL);   // the picture's centre is the camera's direction
        for (int k = 0; k < WIND_LAYERS; ++k)
            sim_weather.wind_speed_kt[k] = sim_weather.shear_speed_kt[k] = sim_weather.turbulence[k] = 0.0f;
        sim_weather.thunderstorm_percent = 0.0f;
        for (int& t : interval_ticks) t = 0;
        kept_date_ = sim_time.local_date_days;
    }

    void TearDown() override
    {
        sim_time.local_date_days = kept_date_;   // the moon's phases change the day: the sun's path follows it
        CORE_run_command(VIEW_FORWARD);
        sim_operation_override.override_camera = 0;
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
    }

    int32_t kept_date_ = 0;

    static void solar_hour(float hour)
    {
        sim_time.zulu_time_sec = std::fmod((hour - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
    }

    // The frame loop's two calls, the camera 2 m over the plane at the given angles.
    static void frames(int n, float pitch, float heading)
    {
        sim_operation_override.override_camera = 1;
        for (int k = 0; k < n; ++k) {
            sim_graphics_view.view_x = flt[0].local_x;
            sim_graphics_view.view_y = flt[0].local_y + 2.0f;
            sim_graphics_view.view_z = flt[0].local_z;
            sim_private_camera.the = pitch, sim_private_camera.psi = heading, sim_private_camera.phi = 0.0f;
            CLOUD_update_draw();
            SCENE_draw_3d();
        }
    }

    static std::vector<unsigned char> picture()
    {
        return window_pixels(GL_BACK);
    }

    // Pixels of the upper half that differ between two pictures by more than 8 in a channel.
    static int differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        int n = 0;
        for (size_t i = size_t(W) * (H / 2) * 4; i < a.size(); i += 4)
            for (int k = 0; k < 3; ++k)
                if (std::abs(int(a[i + size_t(k)]) - int(b[i + size_t(k)])) > 8) {
                    ++n;
                    break;
                }
        return n;
    }
};

}  // namespace

TEST_F(SkyEndToEnd, DefaultOvercastFromBelowDrawsItsSheets)
{
    solar_hour(12.0f);
    sim_weather.cloud_type[0] = 4;   // the default overcast, 5,000 to 8,000 ft
    sim_weather.cloud_base_msl_m[0] = 5000.0f * 0.3048f;
    sim_weather.cloud_tops_msl_m[0] = 8000.0f * 0.3048f;
    sim_weather.visibility_reported_m = 3.0f * 1852.0f;
    frames(2, 30.0f, 0.0f);
    const std::vector<unsigned char> with = picture();
    EXPECT_EQ(cloud_shadow_texture, 0);   // an overcast casts no cloud shadows
    sim_weather.cloud_type[0] = 0;
    frames(1, 30.0f, 0.0f);
    EXPECT_GT(differing(with, picture()), W * H / 8) << "sheets across the upper half";
}

TEST_F(SkyEndToEnd, ScatteredLayerAtNoonIsLitAndCastsItsShadow)
{
    solar_hour(12.0f);
    sim_weather.visibility_reported_m = 40000.0f;
    sim_weather.cloud_type[0] = 0;
    frames(2, 25.0f, 0.0f);
    const std::vector<unsigned char> clear = picture();
    sim_weather.cloud_type[0] = 2;
    sim_weather.cloud_base_msl_m[0] = 1500.0f;
    sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    frames(3, 25.0f, 0.0f);
    const std::vector<unsigned char> cloudy = picture();
    EXPECT_GT(differing(clear, cloudy), 2000) << "puffs in the sky";

    // Lit: every puff between the ambient light and the full light, most of them well into the light.
    size_t puffs = 0, bright = 0;
    for (const cloud_cell& c : cloud_cells)
        for (const cloud_puff& p : c.puffs) {
            ++puffs;
            EXPECT_GE(p.red, scene_ambient_rgb[0] - 1e-4f);
            EXPECT_LE(p.red, scene_ambient_rgb[0] + scene_diffuse_rgb[0] + 1e-4f);
            bright += p.red > scene_ambient_rgb[0] + 0.5f * scene_diffuse_rgb[0];
        }
    ASSERT_GT(puffs, 1000u);
    EXPECT_GT(bright, puffs / 4);
    // The ground's shadow picture: the cumulus one, finished after the full relight.
    EXPECT_EQ(cloud_shadow_texture, 312);
    EXPECT_GT(cloud_shadow_strength, 0.2f);

    // The reference picture (checked by eye): the layer seen from the runway, 25 degrees up.
    expect_like_reference(cloudy, "scene_noon_scattered.png", 4000);
}

TEST_F(SkyEndToEnd, ClearMidnightShowsStarsAndTheMoonInItsPhase)
{
    solar_hour(0.0f);
    sim_weather.visibility_reported_m = 40000.0f;
    sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
    // Stars: points brighter than the night sky, 45 degrees up.
    frames(1, 45.0f, 90.0f);
    const std::vector<unsigned char> px = picture();
    int stars = 0;
    for (size_t i = size_t(W) * (H / 2) * 4; i < px.size(); i += 4)
        if (px[i] + px[i + 1] + px[i + 2] > 3 * 90) ++stars;
    EXPECT_GT(stars, 30);

    // The moon, looked at straight: bright when the day's phase is full, dark when new.
    const auto moon_brightness = [this](int32_t day) {
        sim_time.local_date_days = day;
        frames(1, 45.0f, 0.0f);   // works out where the moon stands
        const sim_graphics_scenery_block& s = sim_graphics_scenery;
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glRotatef(flt[0].latitude, 1.0f, 0.0f, 0.0f);
        glRotatef(s.moon_azimuth, 0.0f, 0.0f, 1.0f);
        glRotatef(-s.moon_declination, 1.0f, 0.0f, 0.0f);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glPopMatrix();
        const float dx = m[4], dy = m[5], dz = m[6];   // where (0, 1, 0) goes
        const float heading = std::atan2(dx, -dz) * 57.29578f, pitch = std::atan2(dy, std::hypot(dx, dz)) * 57.29578f;
        frames(1, pitch, heading);
        const std::vector<unsigned char> p = picture();
        int best = 0;
        for (int y = H / 2 - 4; y <= H / 2 + 4; ++y)
            for (int x = W / 2 - 4; x <= W / 2 + 4; ++x) {
                const size_t i = (size_t(y) * W + size_t(x)) * 4;
                best = std::max(best, p[i] + p[i + 1] + p[i + 2]);
            }
        return best;
    };
    const int full = moon_brightness(11);   // MOON12: full
    const int fresh = moon_brightness(22);  // MOON01: new
    EXPECT_GT(full, fresh + 3 * 60);
    EXPECT_GT(scene_moon_elevation, 0.0f);
}
