// Sun and moon, the sky bands, the light and the fog that time, weather and
// height give a pass, read back from the scene state and from GL.
#include <cstring>

#include "core/texture_slots.h"
#include "graphics/ogl_bind_seam.h"
#include "world/fires.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/machine.h"

#ifndef GL_FOG_DISTANCE_MODE_NV
#define GL_FOG_DISTANCE_MODE_NV 0x855A
#define GL_EYE_RADIAL_NV 0x855B
#define GL_EYE_PLANE_ABSOLUTE_NV 0x855C
#endif

namespace {

class Sky : public SceneState {
protected:
    // The sun at the equator on day 262, zulu `hours` at longitude 0.
    static void equator(float hours)
    {
        flt[0].latitude = flt[0].longitude = 0.0f;
        sim_time.local_date_days = 262;
        sim_time.zulu_time_sec = hours * 3600.0f;
    }

    static void visibility_and_light()
    {
        SKY_visibility_and_gates();
        SKY_sun_and_light();
    }
};

}  // namespace

TEST_F(Sky, SunOverheadAtNoonOnTheEquator)
{
    equator(12.0f);
    visibility_and_light();
    EXPECT_NEAR(scene_sun_elevation, 90.0f, 1e-3f);
    EXPECT_NEAR(sim_graphics_scenery.sun_azimuth, 0.0f, 1e-3f);
    EXPECT_NEAR(sim_graphics_scenery.sun_declination, 0.0f, 1e-5f);
    EXPECT_NEAR(scene_moon_elevation, -90.0f, 1e-3f);
}

TEST_F(Sky, LowSunBlendsTheRowsAndTintsTheDusk)
{
    equator(6.0f + 2.0f / 15.0f);   // the sun 2 degrees up
    visibility_and_light();
    ASSERT_NEAR(scene_sun_elevation, 2.0f, 1e-3f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(sky_ramp[0][k], 0.6f * test_band(1, 0, k) + 0.4f * test_band(2, 0, k), 1e-5f);
    EXPECT_NEAR(colour_table[108][0], 1.0f, 1e-5f);
    EXPECT_NEAR(colour_table[108][1], 0.8f, 1e-5f);
    EXPECT_NEAR(colour_table[108][2], 0.7f, 1e-5f);
    // Higher bands are thinned by the air (all but nothing at 20 m).
    EXPECT_NEAR(sky_ramp[9][1], 0.6f * test_band(1, 9, 1) + 0.4f * test_band(2, 9, 1), 1e-3f);

    equator(6.6f);   // the sun at 9 degrees: the first row alone
    visibility_and_light();
    EXPECT_NEAR(sky_ramp[0][0], test_band(0, 0, 0), 1e-5f);
}

// The bands thinned by the air (factor s at the camera): band 3 by 0.75 s +
// 0.25, band 5 by s; halfway between 12,964 m and 185.2 m of visibility every
// band lies halfway to band 0. Lights on by the daylight, 0.45 of it: (0.45 x
// 0.99 - 0.5) x -10 = 0.545. The light from sun and moon with the sun 7
// degrees down at sea level (s = 1): weight 0.6, azimuths -97 and 83: -25.
// In a 1,000-m fog the fog starts at a tenth of its end.
TEST_F(Sky, BandsLightAndFogByAirVisibilityAndSun)
{
    equator(12.0f);
    sim_graphics_view.view_elevation_m_msl = 5000.0f;
    visibility_and_light();
    const float s = scene_atmosphere_factor;
    ASSERT_LT(s, 0.9f);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(sky_ramp[3][k], test_band(0, 3, k) * (0.75f * s + 0.25f), 1e-5f);
        EXPECT_NEAR(sky_ramp[5][k], test_band(0, 5, k) * s, 1e-5f);
    }

    sim_graphics_view.view_elevation_m_msl = 0.0f;
    sim_weather.visibility_reported_m = 0.5f * (12964.0f + 185.2f);
    for (int k = 0; k < 3; ++k) sky_pair_table[0][0][k] = 0.4f, sky_pair_table[0][1][k] = 0.5f;
    visibility_and_light();
    ASSERT_NEAR(scene_atmosphere_factor, 1.0f, 1e-3f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(sky_ramp[5][k], 0.5f * (test_band(0, 5, k) + test_band(0, 0, k)), 1e-4f);
    EXPECT_NEAR(sim_graphics_scenery.percent_lights_on, 0.545f, 1e-4f);

    equator(6.0f - 7.0f / 15.0f);
    visibility_and_light();
    ASSERT_NEAR(scene_sun_elevation, -7.0f, 1e-3f);
    EXPECT_NEAR(sun_angles[1], -25.0f, 0.05f);

    sim_weather.visibility_reported_m = 1000.0f;
    visibility_and_light();
    SKY_fog();
    EXPECT_NEAR(fog_end, 1000.0f, 1e-3f);
    EXPECT_NEAR(fog_start, 100.0f, 1e-3f);
}

TEST_F(Sky, InsideAnOvercastLayerTheCloudAboveItTheSun)
{
    sim_weather.cloud_type[0] = 4;
    // Inside: both visibilities down to a tenth of a mile, the sun gate shut,
    // the detail drawers off above the padded base.
    sim_graphics_view.view_elevation_m_msl = 3500.0f;
    visibility_and_light();
    EXPECT_NEAR(sim_graphics_view.visibility_terrain_m, 185.2f, 1e-3f);
    EXPECT_NEAR(sim_graphics_view.visibility_effective_m, 185.2f, 1e-3f);
    EXPECT_EQ(scene_gates.sun, 0);
    EXPECT_EQ(scene_gates.detail, 0);

    // Above it, in the clear: the sun is back.
    sim_graphics_view.view_elevation_m_msl = 4500.0f;
    visibility_and_light();
    EXPECT_EQ(scene_gates.sun, 1);
    EXPECT_EQ(scene_gates.nearer_layer, 1);   // two layers at the same place: the later is the nearer
}

TEST_F(Sky, FogAndSunLightReachGl)
{
    camera_at(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);   // at sea level
    SCENE_draw_3d();
    float start = 0, end = 0, colour[4] = {};
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_NEAR(end, 20000.0f, 0.5f);
    EXPECT_NEAR(start, 5000.0f, 5.0f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(colour[k], sky_ramp[0][k], 1e-6f);

    float diffuse[4] = {}, ambient[4] = {}, position[4] = {};
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(diffuse[k], sun_diffuse_rgba[k], 1e-6f);
        EXPECT_NEAR(ambient[k], sun_ambient_rgba[k], 1e-6f);
    }
    EXPECT_NEAR(diffuse[0], 0.8f * 0.6f, 1e-3f);   // the second colour in sea-level air
    EXPECT_EQ(position[3], 0.0f);                  // a light from afar
    EXPECT_GT(position[1], 0.4f);                  // at noon from high up

    // Radial fog only where the driver offers it.
    const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    MACHINE_NEEDS(ext && std::strstr(ext, "GL_NV_fog_distance"), "radial fog in its OpenGL driver (GL_NV_fog_distance)");
    const int32_t found = has_dis_fog;
    GLint mode = 0;
    glFogi(GL_FOG_DISTANCE_MODE_NV, GL_EYE_PLANE_ABSOLUTE_NV);
    has_dis_fog = 0;
    SCENE_draw_3d();
    glGetIntegerv(GL_FOG_DISTANCE_MODE_NV, &mode);
    EXPECT_EQ(mode, GL_EYE_PLANE_ABSOLUTE_NV);
    has_dis_fog = 1;
    SCENE_draw_3d();
    glGetIntegerv(GL_FOG_DISTANCE_MODE_NV, &mode);
    EXPECT_EQ(mode, GL_EYE_RADIAL_NV);
    has_dis_fog = found;
}

// The gates by height and weather. World below 46,300 m, globe above
// 15,000 m; detail drawers while the ground is within the terrain visibility
// (20 km) and not above an overcast layer's padded base (base 150 m over an
// airport at 0: pad 121.92 x (75 x 0.004285714 + 0.25) = 69.67 m; base
// 1000 m: the full 121.92 m); fires with detail, above 0 C and no rain; the
// sun hidden below the overcast top less 400 ft (2878.08 m).
TEST_F(Sky, GatesByHeightCloudAndWeather)
{
    struct row {
        float e, agl, temp, rain;
        int type0;
        float base0;
        int world, globe, detail, fire, sun;
    } rows[] = {
        {1000, 500, 15, 0, 0, 3000, 1, 0, 1, 1, 1},        {1000, 500, 15, 0.1f, 0, 3000, 1, 0, 1, 0, 1},
        {1000, 500, 0, 0, 0, 3000, 1, 0, 1, 0, 1},         {1000, 25000, 15, 0, 0, 3000, 1, 0, 0, 0, 1},
        {46300, 500, 15, 0, 0, 3000, 0, 1, 0, 0, 1},       {46299, 500, 15, 0, 0, 3000, 1, 1, 1, 1, 1},
        {15000, 500, 15, 0, 0, 3000, 1, 0, 1, 1, 1},       {215, 100, 15, 0, 4, 150, 1, 0, 1, 1, 0},
        {225, 100, 15, 0, 4, 150, 1, 0, 0, 0, 0},          {2900, 100, 15, 0, 4, 150, 1, 0, 0, 0, 1},
        {1120, 100, 15, 0, 4, 1000, 1, 0, 1, 1, 0},        {1124, 100, 15, 0, 4, 1000, 1, 0, 0, 0, 0},
    };
    fire_table.present = 1;
    for (const row& r : rows) {
        sim_weather.cloud_type[0] = r.type0, sim_weather.cloud_type[1] = 0;
        sim_weather.cloud_base_msl_m[0] = r.base0;
        sim_weather.cloud_tops_msl_m[0] = 3000.0f;
        sim_graphics_view.view_elevation_m_msl = r.e;
        flt[0].y_agl = r.agl;
        sim_physics.earth_temp_c = r.temp;
        sim_weather.rain_percent = r.rain;
        SKY_visibility_and_gates();
        const int got[5] = {scene_world_visible, scene_gates.globe, scene_gates.detail, scene_gates.fire, scene_gates.sun};
        const int want[5] = {r.world, r.globe, r.detail, r.fire, r.sun};
        for (int k = 0; k < 5; ++k) EXPECT_EQ(got[k], want[k]) << "elevation " << r.e << " gate " << k;
    }
    fire_table.present = 0;
}

// The airport fences go up only where the ground detail is drawn (the
// ground within the terrain visibility of the plane) and only on the Earth.
TEST_F(Sky, FencesOnlyWithTheGroundDetailOnTheEarth)
{
    struct fence_asked : bind_recorder {
        bool fence = false;
        fence_asked() { OGL_install_bind_recorder(this); }
        ~fence_asked() override { OGL_install_bind_recorder(nullptr); }
        void bound(int slot, int) override { fence = fence || slot == TEX_SLOT_FENCE; }
    };
    const struct {
        int planet;
        float agl;
        bool fence;
    } rows[] = {{PLANET_EARTH, 20.0f, true}, {PLANET_EARTH, 25000.0f, false}, {PLANET_MARS, 20.0f, false}};
    for (const auto& r : rows) {
        PLANET_set_constants(r.planet);
        sim_graphics_scenery.current_planet = r.planet;
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
        flt[0].y_agl = r.agl;
        fence_asked asked;
        SCENE_draw_3d();
        EXPECT_EQ(asked.fence, r.fence) << r.planet << " " << r.agl;
    }
    PLANET_set_constants(PLANET_EARTH);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
}
