// Sun, moon, stars and meteors, thermals, rain and snow and the lightning
// bolt, caught in feedback mode; and the whole pass under random weather.
#include "scene/sky/star_field.h"
#include "tests/scene/sky/sky_fixture.h"

namespace {

class SkyObjects : public SkyState {
protected:
    void SetUp() override
    {
        SkyState::SetUp();
        if (star_lists[0] == 0) DEFAULTS_build_stars();
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
        pass_to_view();
        for (int& t : interval_ticks) t = 0;
    }

    static std::vector<fb_primitive> sky(float r, float g, float b)
    {
        return feedback([=] { SKYOBJ_draw_sun_moon_stars(r, g, b, 0.0f, 0.0f, 1024.0f, 768.0f); });
    }

    // The sun (or the moon) straight overhead, the camera looking up at it;
    // the elevation sets only how bright it is.
    static void body_ahead(float elevation, bool moon)
    {
        camera_at(0.0f, 20.0f, 0.0f, 89.0f, 0.0f);
        pass_to_view();
        sim_graphics_scenery_block& s = sim_graphics_scenery;
        flt[0].latitude = 0.0f;
        s.sun_azimuth = s.moon_azimuth = 0.0f;
        s.sun_declination = s.moon_declination = 0.0f;
        scene_sun_elevation = moon ? -30.0f : elevation;
        scene_moon_elevation = moon ? elevation : -30.0f;
    }
    // The thermals drawn from the side, 2 km out, the camera's own x taken
    // away so that the picture is centred on it.
    static std::vector<fb_primitive> thermals_from_the_side()
    {
        const float x0 = sim_graphics_view.view_x;
        return quads(feedback([x0] {
            side_view(2000.0f, 0.0f, 2000.0f);
            glTranslatef(-x0, 0.0f, 0.0f);
            SKYOBJ_draw_thermals();
        }));
    }
};

}  // namespace

TEST_F(SkyObjects, StarsAndMeteorsComeOutInADarkSky)
{
    sim_graphics_view.visibility_effective_m = 20.0f * 1852.0f;
    body_ahead(-30.0f, false);
    EXPECT_EQ(count_kind(sky(0.2f, 0.2f, 0.1f), GL_POINT_TOKEN), 0u);   // r + g + b = 0.5
    std::vector<fb_primitive> dark = sky(0.02f, 0.02f, 0.05f);
    EXPECT_GT(count_kind(dark, GL_POINT_TOKEN), 1000u);
    for (const fb_primitive& p : dark)
        if (p.kind == GL_POINT_TOKEN) {
            EXPECT_LE(p.v[0].a, 0.8f * (1.0f - 2.0f * 0.09f) + 1e-4f);
        }

    // Meteors: the same draws start the same meteors for a density of 0 as of 2.
    const uint32_t saved[STAR_LIST_COUNT] = {star_lists[0], star_lists[1], star_lists[2], star_lists[3]};
    for (uint32_t& l : star_lists) l = 0;   // the meteors alone
    sim_operation_misc.frame_rate_period = 0.1f;
    const auto meteors = [](int32_t density) {
        sim_weather.meteorite_density = density;
        UTIL_srand(12345);
        SKYOBJ_reset();
        std::vector<float> starts;
        interval_ticks[INTERVAL_TEN_SECONDS] = 1;
        for (int frame = 0; frame < 400; ++frame) {
            SKYOBJ_draw_sun_moon_stars(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1024.0f, 768.0f);
            if (sky_meteor.t < 0.15f) starts.push_back(sky_meteor.mx);
        }
        interval_ticks[INTERVAL_TEN_SECONDS] = 0;
        return starts;
    };
    // One in so many draws starts a meteor: 600, 300, 150 and 30 for
    // densities 1 to 4, 300 for any other.
    const std::pair<int32_t, int> thresholds[] = {{1, 600}, {2, 300}, {3, 150}, {4, 30}, {0, 300}, {5, 300}};
    for (const auto& [density, one_in] : thresholds) EXPECT_EQ(SKYOBJ_meteor_threshold(density), one_in) << density;
    EXPECT_EQ(meteors(0), meteors(2));
    EXPECT_EQ(meteors(-7), meteors(2));
    EXPECT_GT(meteors(4).size(), 4 * meteors(1).size());
    EXPECT_FALSE(meteors(1).empty());
    for (int k = 0; k < STAR_LIST_COUNT; ++k) star_lists[k] = saved[k];
    // None in a bright sky, however often one starts.
    SKYOBJ_reset();
    interval_ticks[INTERVAL_TEN_SECONDS] = 1;
    sim_weather.meteorite_density = 4;
    for (int frame = 0; frame < 50; ++frame) sky(0.3f, 0.3f, 0.3f);
    EXPECT_GE(sky_meteor.t, 2.0f);
    interval_ticks[INTERVAL_TEN_SECONDS] = 0;
}

TEST_F(SkyObjects, SunAndMoonByElevationVisibilityAndPhase)
{
    sim_graphics_view.visibility_effective_m = 5.0f * 1852.0f;
    const struct {
        float elevation;
        size_t quads;
        float alpha;
    } suns[] = {{5.0f, 1, 1.0f}, {0.0f, 1, 0.5f}, {-5.0f, 0, 0.0f}, {-20.0f, 0, 0.0f}};
    for (const auto& s : suns) {
        body_ahead(s.elevation, false);
        const std::vector<fb_primitive> q = quads(sky(0.5f, 0.5f, 0.5f));
        ASSERT_EQ(q.size(), s.quads) << s.elevation;
        if (s.quads == 0) continue;
        EXPECT_NEAR(q[0].v[0].a, s.alpha, 1e-4f);
        EXPECT_NEAR(q[0].v[0].r, colour_table[108][0], 1e-4f);   // the dusk tint
        EXPECT_EQ(bound_texture[0], TEX_SLOT_LIGHTS);
        for (const fb_vertex& v : q[0].v) {
            EXPECT_LE(v.s, 0.25f + 1e-4f);   // the disc's corner of the light pictures
            EXPECT_GE(v.t, 0.5f - 1e-4f);
        }
    }
    // With the sun's glare a halo five times the disc.
    body_ahead(10.0f, false);
    sun_glare = 0.4f;
    const std::vector<fb_primitive> glare = quads(sky(0.5f, 0.5f, 0.5f));
    ASSERT_EQ(glare.size(), 2u);
    EXPECT_NEAR(glare[1].v[0].a, 0.4f, 1e-4f);
    const auto width = [](const fb_primitive& p) {
        float lo = 1e9f, hi = -1e9f;
        for (const fb_vertex& v : p.v) lo = std::min(lo, v.x), hi = std::max(hi, v.x);
        return hi - lo;
    };
    EXPECT_NEAR(width(glare[1]) / width(glare[0]), 5.0f, 0.05f);
    sun_glare = 0.0f;

    // A declination turns the body away from overhead about the east-west
    // axis, by minus the declination: +20 puts it at z = -sin 20 of its
    // distance, north. A camera with heading 0 pitched up to the zenith has
    // the south at the top of its screen, so the body stands in the lower
    // half; -20 puts it south, in the upper half.
    const auto centre_y = [](const fb_primitive& p) { return (p.v[0].y + p.v[1].y + p.v[2].y + p.v[3].y) / 4.0f; };
    for (const float d : {20.0f, -20.0f}) {
        body_ahead(10.0f, false);
        sim_graphics_scenery.sun_declination = d;
        const std::vector<fb_primitive> q = quads(sky(0.5f, 0.5f, 0.5f));
        ASSERT_EQ(q.size(), 1u) << d;
        if (d > 0.0f) EXPECT_LT(centre_y(q[0]), 384.0f - 100.0f) << d;
        else EXPECT_GT(centre_y(q[0]), 384.0f + 100.0f) << d;
    }

    // The moon: one of 22 phases by the day of the year, never on Mars.
    sim_graphics_view.visibility_effective_m = 20.0f * 1852.0f;
    body_ahead(20.0f, true);
    const struct {
        int32_t day;
        int slot;
    } days[] = {{0, 215}, {21, 236}, {22, 215}, {365, 215 + 365 % 22}, {-1, 236}, {INT32_MIN, 215 + 20}};
    for (const auto& d : days) {
        sim_time.local_date_days = d.day;
        ASSERT_EQ(quads(sky(0.0f, 0.0f, 0.1f)).size(), 1u) << d.day;
        EXPECT_EQ(bound_texture[0], d.slot) << d.day;
    }
    // Its brightness: (v - 3) / 7 of the visibility v in nm, (elevation + 5) / 10,
    // and 1 - 0.4 of the sky's r + g + b; the sun's (v - 3) / 2.
    const struct {
        bool moon;
        float vis_nm, elevation, sky, alpha;
    } bright[] = {
        {true, 20.0f, 20.0f, 0.1f, 0.96f},        // 1 x 1 x (1 - 0.04)
        {true, 6.5f, 0.0f, 1.5f, 0.1f},           // 0.5 x 0.5 x (1 - 0.6)
        {true, 10.0f, 5.0f, 2.0f, 0.2f},          // 1 x 1 x (1 - 0.8)
        {false, 4.0f, 5.0f, 1.5f, 0.5f},          // the sun: 0.5 x 1
        {false, 20.0f, -2.0f, 1.5f, 0.3f},        // the sun: 1 x 0.3
    };
    for (const auto& k : bright) {
        body_ahead(k.elevation, k.moon);
        sim_graphics_view.visibility_effective_m = k.vis_nm * 1852.0f;
        const std::vector<fb_primitive> q = quads(sky(k.sky / 3.0f, k.sky / 3.0f, k.sky / 3.0f));
        ASSERT_EQ(q.size(), 1u) << k.vis_nm << " " << k.elevation;
        EXPECT_NEAR(q[0].v[0].a, k.alpha, 1e-3f) << k.vis_nm << " " << k.elevation;
    }
    body_ahead(20.0f, true);
    sim_graphics_scenery.current_planet = PLANET_MARS;
    EXPECT_TRUE(quads(sky(0.0f, 0.0f, 0.1f)).empty());
    sim_graphics_scenery.current_planet = PLANET_EARTH;
}

TEST_F(SkyObjects, ThermalsOverTheirShareOfTheWindow)
{
    sim_weather.thermal_altitude_msl_m = 3000.0f;
    sim_graphics_view.visibility_effective_m = 46300.0f;
    terrain_window = {220, 195, 230, 205};   // ten by ten cells about the camera
    sim_graphics_view.view_pitch = -90.0f;    // the sprites turn flat toward a camera looking down
    const auto sprites = [] {
        top_view(20000.0f);
        return quads(feedback([] { SKYOBJ_draw_thermals(); }));
    };
    sim_weather.thermal_percent = 0.009f;
    EXPECT_TRUE(sprites().empty());
    sim_weather.thermal_percent = 1.0f;
    const std::vector<fb_primitive> all = sprites();
    EXPECT_EQ(all.size(), 100u);
    for (const fb_primitive& q : all) EXPECT_GT(q.v[0].a, 0.0f);
    sim_weather.thermal_percent = 0.3f;
    const size_t some = sprites().size();
    EXPECT_GT(some, 5u);
    EXPECT_LT(some, 80u);
}

TEST_F(SkyObjects, AThermalSitsAtItsTopFadesWithDistanceAndPicksItsCloud)
{
    // One cell at a time, the camera due south of it at the given distance and
    // the picture seen from the south: the sprite's centre is 3000 ft =
    // 914.4 m over the flat ground, its alpha 1 - d^2 / R^2 with R the
    // 46,300 m cap, and its picture the cell (c + r) mod 6 of the sheet.
    sim_weather.thermal_percent = 1.0f;
    sim_weather.thermal_altitude_msl_m = 3000.0f;
    sim_graphics_view.visibility_effective_m = 90000.0f;
    const struct {
        int c, r;
        float d, alpha, s0, t0, t1;
    } cells[] = {
        {224, 200, 23150.0f, 0.75f, 0.5f, 0.3262f, 0.6875f},   // 424 mod 6 = 4; (1/2)^2 of R
        {221, 200, 10000.0f, 0.95335f, 0.0f, 0.3262f, 0.6875f},  // 421 mod 6 = 1
        {300, 200, 40000.0f, 0.25362f, 0.0f, 0.6875f, 1.0f},     // 500 mod 6 = 2
        {225, 201, 46400.0f, 0.0f, 0.0f, 0.0f, 0.3262f},         // 426 mod 6 = 0, past R: none
    };
    for (const auto& k : cells) {
        terrain_window = {k.c, k.r, k.c + 1, k.r + 1};
        const terrain_vertex& A = terrain_vertex_grid[size_t(k.c) * 401 + size_t(k.r)];
        const terrain_vertex& B = terrain_vertex_grid[size_t(k.c) * 401 + size_t(k.r) + 402];
        sim_graphics_view.view_x = 0.5f * (A.x + B.x);
        sim_graphics_view.view_z = 0.5f * (A.z + B.z) + k.d;
        const std::vector<fb_primitive> q = thermals_from_the_side();
        if (k.alpha == 0.0f) {
            EXPECT_TRUE(q.empty()) << k.c;
            continue;
        }
        ASSERT_EQ(q.size(), 1u) << k.c << " " << k.r;
        EXPECT_NEAR(q[0].v[0].a, k.alpha, 1e-4f) << k.c;
        float y = 0.0f, s_lo = 9.0f, s_hi = -9.0f, t_lo = 9.0f, t_hi = -9.0f;
        for (const fb_vertex& v : q[0].v) {
            y += world_y(v.y, 0.0f, 2000.0f) / static_cast<float>(q[0].v.size());
            s_lo = std::min(s_lo, v.s), s_hi = std::max(s_hi, v.s);
            t_lo = std::min(t_lo, v.t), t_hi = std::max(t_hi, v.t);
        }
        EXPECT_NEAR(y, 914.4f, 3.0f) << k.c;
        EXPECT_NEAR(s_lo, k.s0, 1e-4f) << k.c;
        EXPECT_NEAR(s_hi, k.s0 + 0.5f, 1e-4f) << k.c;
        EXPECT_NEAR(t_lo, k.t0, 1e-4f) << k.c;
        EXPECT_NEAR(t_hi, k.t1, 1e-4f) << k.c;
    }
}

TEST_F(SkyObjects, RainAndSnowStreamPastTheCamera)
{
    VIEW_draw_air_points(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
        sim_graphics_misc.cockpit_light_level_b = 1.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    const scene_projection_record& s = scene_projection;
    const auto points = [&](float rain, float snow, float vx) {
        return feedback([&] {
            VIEW_draw_air_points(s.screen[0], 0.0f, s.screen[2], s.screen[3], s.frustum[3], s.frustum[1], s.frustum[0],
                                 s.frustum[2], vx, 0.0f, 0.0f, rain, snow, 0);
        });
    };
    // Rain: grey 0.75, falling 20 knots; equal amounts are snow: white, 3 knots.
    const struct {
        float rain, snow, grey, fall_mps;
    } kinds[] = {{0.6f, 0.2f, 0.75f, 20.0f * 0.514444f}, {0.4f, 0.4f, 1.0f, 3.0f * 0.514444f}};
    for (const auto& k : kinds) {
        air_points.air_drift[1] = 0.0f;
        const std::vector<fb_primitive> p = points(k.rain, k.snow, 0.0f);
        ASSERT_GT(count_kind(p, GL_POINT_TOKEN), 20u);
        for (const fb_primitive& q : p) {
            EXPECT_NEAR(q.v[0].r, k.grey, 1e-4f);
            EXPECT_GT(q.v[0].a, 0.0f);   // 1 + d / 20: only points 0..20 m ahead
            EXPECT_LT(q.v[0].a, 1.0f);
        }
        EXPECT_NEAR(air_points.air_drift[1], k.fall_mps * 0.1f, 1e-3f);
    }
    // A 25 m step wraps to 5; nothing falls and nothing moves without precipitation.
    air_points.air_drift[0] = 0.0f;
    sim_operation_misc.frame_rate_period = 1.0f;
    points(0.5f, 0.0f, 25.0f);
    EXPECT_NEAR(air_points.air_drift[0], 5.0f, 1e-4f);
    EXPECT_TRUE(points(0.0f, 0.0f, 25.0f).empty());
    EXPECT_NEAR(air_points.air_drift[0], 5.0f, 1e-4f);
    EXPECT_TRUE(points(NAN, 0.0f, 25.0f).empty());
    // An amount the weather screen calls none (up to 0.2) draws nothing, though
    // the field still streams; above it the whole field falls, light or heavy.
    sim_operation_misc.frame_rate_period = 0.1f;
    air_points.air_drift[1] = 0.0f;
    EXPECT_TRUE(points(0.1f, 0.1f, 0.0f).empty());
    EXPECT_NEAR(air_points.air_drift[1], 3.0f * 0.514444f * 0.1f, 1e-3f);
    sim_operation_misc.frame_rate_period = 0.0f;
    const size_t light = count_kind(points(0.0f, 0.25f, 0.0f), GL_POINT_TOKEN);
    EXPECT_GT(light, 0u);
    EXPECT_EQ(light, count_kind(points(0.0f, 1.0f, 0.0f), GL_POINT_TOKEN));

    // In half light rain is 0.75 x 0.5^0.4 = 0.5684 grey, unless the plane's
    // own lights shine on it; a beacon flash adds to the red.
    sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
        sim_graphics_misc.cockpit_light_level_b = 0.5f;
    const struct {
        int landing, taxi, strobe;
        float beacon, red, green;
    } lit[] = {{0, 0, 0, 0.0f, 0.5684f, 0.5684f},
               {1, 0, 0, 0.0f, 0.75f, 0.75f},
               {0, 1, 0, 0.0f, 0.75f, 0.75f},
               {0, 0, 1, 0.0f, 0.75f, 0.75f},
               {0, 0, 0, 0.3f, 0.8684f, 0.5684f},
               {0, 0, 0, 0.5f, 1.0f, 0.5684f}};
    for (const auto& l : lit) {
        flt[0].landing_lights_on = l.landing, flt[0].taxi_light_on = l.taxi, flt[0].strobe_flash = l.strobe;
        flt[0].beacon_brightness = l.beacon;
        const std::vector<fb_primitive> p = points(0.6f, 0.2f, 0.0f);
        ASSERT_FALSE(p.empty());
        EXPECT_NEAR(p[0].v[0].r, l.red, 1e-4f) << l.landing << l.taxi << l.strobe << " beacon " << l.beacon;
        EXPECT_NEAR(p[0].v[0].g, l.green, 1e-4f) << l.landing << l.taxi << l.strobe << " beacon " << l.beacon;
    }
}

TEST_F(SkyObjects, RainPointsFadeOverTwentyMetresAheadInTheirBoxes)
{
    // Every point 10 m behind the middle of its box, the camera level looking
    // north: only the boxes one step north (k = -1) bring them 10 m ahead,
    // d = -10, alpha 1 + d / 20 = 0.5.
    VIEW_draw_air_points(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    for (auto& q : air_points.points) q = {0.0f, 0.0f, 10.0f};
    air_points.air_drift[0] = air_points.air_drift[1] = air_points.air_drift[2] = 0.0f;
    sim_operation_misc.frame_rate_period = 0.0f;
    sim_graphics_view_block& v = sim_graphics_view;
    v.view_heading_sin = v.view_pitch_sin = 0.0f;
    v.view_heading_cos = v.view_pitch_cos = 1.0f;
    const scene_projection_record& s = scene_projection;
    const std::vector<fb_primitive> p = feedback([&] {
        VIEW_draw_air_points(s.screen[0], 0.0f, s.screen[2], s.screen[3], s.frustum[3], s.frustum[1], s.frustum[0],
                             s.frustum[2], 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0);
    });
    ASSERT_GT(count_kind(p, GL_POINT_TOKEN), 0u);
    for (const fb_primitive& q : p) EXPECT_NEAR(q.v[0].a, 0.5f, 1e-4f);
}

TEST_F(SkyObjects, TheBoltIsSeventySixLinesThroughEverything)
{
    for (int b = 0; b < LIGHTNING_BOLTS; ++b)
        for (int p = 0; p < LIGHTNING_BOLT_POINTS; ++p) {
            float* v = weather_stage.lightning_bolts[b][p];
            v[0] = 50.0f * b, v[1] = 1000.0f - 40.0f * p, v[2] = -3000.0f;
        }
    gload_dim_factor = 0.5f;
    glEnable(GL_DEPTH_TEST);
    const std::vector<fb_primitive> p = feedback([] { SKYOBJ_draw_lightning(); });
    EXPECT_EQ(count_kind(p, GL_LINE_TOKEN), 76u);
    for (const fb_primitive& l : p) {
        EXPECT_NEAR(l.v[0].r, 0.5f, 1e-4f);
        EXPECT_NEAR(l.v[0].b, 0.45f, 1e-4f);
    }
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    // In pixel-buffer drawing the colour goes to the kit's bytes; the lines still go out.
    draw_to_pixel_buffer = 1;
    EXPECT_EQ(count_kind(feedback([] { SKYOBJ_draw_lightning(); }), GL_LINE_TOKEN), 76u);
    draw_to_pixel_buffer = 0;
    EXPECT_EQ(pixel_byte_colour[2], 230);
    weather_stage.lightning_bolts[2][7][1] = NAN;
    EXPECT_TRUE(feedback([] { SKYOBJ_draw_lightning(); }).empty());
    gload_dim_factor = 1.0f;
}

// Whole passes and cloud updates under weather from anywhere: any type,
// base, factor, density, day or amount keeps every index on its table.
TEST_F(SkyObjects, RandomWeatherOverManyFrames)
{
    UTIL_srand(4242);
    const auto pick = [](std::initializer_list<float> values) {
        return *(values.begin() + UTIL_rand() % static_cast<int>(values.size()));
    };
    sim_operation_override.override_camera = 0;
    for (int frame = 0; frame < 60; ++frame) {
        sim_weather_block& w = sim_weather;
        for (int l = 0; l < CLOUD_LAYERS; ++l) {
            w.cloud_type[l] = static_cast<int32_t>(pick({0, 1, 2, 3, 4, -1, 7, 2e9f}));
            w.cloud_base_msl_m[l] = pick({500.0f, 1500.0f, 3000.0f, -200.0f, NAN, INFINITY, 1e12f});
            w.cloud_tops_msl_m[l] = w.cloud_base_msl_m[l] + pick({0.0f, 1000.0f, -500.0f, NAN});
        }
        screen_settings.cloud_scale_a = pick({1.0f, 0.0f, NAN, -4.0f, 0.3f});
        screen_settings.cloud_scale_b = pick({1.0f, 2.0f, INFINITY, 50.0f, 0.0f});
        w.meteorite_density = static_cast<int32_t>(pick({0, 1, 4, -9, 1e9f}));
        // Half the cells, the weather screen's most, and a share just above the
        // least that shows any: a share of 1 would put a sprite over every one of
        // up to 180,000 cells in view, the same few lines drawn over again.
        w.thermal_percent = pick({0.0f, 0.5f, 0.02f, NAN});
        w.thermal_altitude_msl_m = pick({3000.0f, NAN, -1e9f});
        w.precip_rain = pick({0.0f, 0.5f, NAN});
        w.precip_snow = pick({0.0f, 0.5f, INFINITY});
        w.visibility_reported_m = pick({100.0f, 20000.0f, 1e9f, NAN});
        sim_time.local_date_days = static_cast<int32_t>(pick({0, 100, -5, 2e9f}));
        sim_time.zulu_time_sec = pick({0.0f, 43200.0f, 80000.0f});
        weather_stage.lightning_flash = UTIL_rand() % 2;
        weather_stage.lightning_bolts[0][0][0] = pick({0.0f, NAN, 1e30f});
        sim_graphics_view.view_type = static_cast<int32_t>(pick({1000, 1017, 1024}));
        interval_ticks[INTERVAL_TEN_SECONDS] = frame % 10 == 0;
        CLOUD_update_draw();
        SCENE_draw_3d();
        for (const cloud_cell& c : cloud_cells) ASSERT_EQ(c.count, static_cast<int32_t>(c.puffs.size()));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyObjects, ThermalSpritesTheirSizeTurnColourAndCells)
{
    // The flat grid's rows lie 100 m apart: w = 0.75 x 39,900 / 400 =
    // 74.81 m, turning distance 4w. Seen from the south with the view heading
    // 90: far off the sprite faces the camera (2w wide); at 2.5w it has turned
    // half way (45 degrees, 2w cos 45 wide); within w all the way (edge on).
    sim_weather.thermal_percent = 1.0f;
    sim_weather.thermal_altitude_msl_m = 3000.0f;
    sim_graphics_view.visibility_effective_m = 46300.0f;
    sim_graphics_view.view_heading = 90.0f;
    sim_graphics_view.view_pitch = 0.0f;
    scene_cockpit_light_rgb[0] = 0.8f, scene_cockpit_light_rgb[1] = 0.6f, scene_cockpit_light_rgb[2] = 0.4f;
    gload_dim_factor = 0.5f;
    const float w = 74.8125f;
    const struct {
        float d, width;
    } rows[] = {{10000.0f, 2.0f * w}, {2.5f * w, 1.41421f * w}, {0.5f * w, 0.0f}};
    terrain_window = {224, 200, 225, 201};
    const terrain_vertex& A = terrain_vertex_grid[size_t(224) * 401 + 200];
    const terrain_vertex& B = terrain_vertex_grid[size_t(224) * 401 + 200 + 402];
    for (const auto& r : rows) {
        sim_graphics_view.view_x = 0.5f * (A.x + B.x);
        sim_graphics_view.view_z = 0.5f * (A.z + B.z) + r.d;
        const std::vector<fb_primitive> q = thermals_from_the_side();
        if (r.width == 0.0f && q.empty()) continue;   // edge on: nothing left to see
        ASSERT_EQ(q.size(), 1u) << r.d;
        float lo = 1e9f, hi = -1e9f;
        for (const fb_vertex& v : q[0].v) lo = std::min(lo, v.x), hi = std::max(hi, v.x);
        EXPECT_NEAR((hi - lo) / 1024.0f * 4000.0f, r.width, 0.5f) << r.d;
        EXPECT_NEAR(q[0].v[0].r, 0.4f, 1e-3f);
        EXPECT_NEAR(q[0].v[0].g, 0.3f, 1e-3f);
        EXPECT_NEAR(q[0].v[0].b, 0.2f, 1e-3f);
    }

    // The noise entry of cell (c, r) is (r x c) mod 10,000: of the four cells
    // 224..225 by 200..201 only (224, 201), entry 5024, holds a thermal.
    struct table_kept {
        std::vector<float> saved{random_table, random_table + RANDOM_TABLE_SIZE};
        ~table_kept() { std::copy(saved.begin(), saved.end(), random_table); }
    } kept;
    std::fill(random_table, random_table + RANDOM_TABLE_SIZE, 0.9f);
    random_table[5024] = 0.01f;
    sim_weather.thermal_percent = 0.02f;   // just above the share that shows thermals at all
    sim_graphics_view.view_x = sim_graphics_view.view_z = 0.0f;
    terrain_window = {224, 200, 226, 202};
    sim_graphics_view.view_pitch = -90.0f;
    const std::vector<fb_primitive> q = quads(feedback([] {
        top_view(20000.0f);
        SKYOBJ_draw_thermals();
    }));
    ASSERT_EQ(q.size(), 1u);
    const terrain_vertex& C = terrain_vertex_grid[size_t(224) * 401 + 201];
    float x = 0.0f;
    for (const fb_vertex& v : q[0].v) x += world_x(v.x, 20000.0f) / static_cast<float>(q[0].v.size());
    EXPECT_NEAR(x, C.x + 50.0f, 5.0f);
}

TEST_F(SkyObjects, StarClassesAndTheMeteorsStartAndStep)
{
    // Sky (0.02, 0.02, 0.05) at 20 nm: a = 1 - 2 x 0.09 = 0.82; the four star
    // lists at 0.8a, 0.6a, 0.4a and 0.2a.
    sim_graphics_view.visibility_effective_m = 20.0f * 1852.0f;
    body_ahead(-30.0f, false);
    int seen[4] = {};
    for (const fb_primitive& p : sky(0.02f, 0.02f, 0.05f)) {
        if (p.kind != GL_POINT_TOKEN) continue;
        bool known = false;
        for (int k = 0; k < 4; ++k)
            if (std::fabs(p.v[0].a - (0.8f - 0.2f * k) * 0.82f) < 2e-3f) ++seen[k], known = true;
        EXPECT_TRUE(known) << p.v[0].a;
    }
    for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 0) << k;

    // A meteor starts at x0 + (x1 - x0) q1, y0 + (y1 - y0) q3 with the step
    // (32 q2 - 16, 12 q4 - 16) (q the draws over 32767), and moves one step
    // in its first frame. Density 4: it starts when 30 q / 32767 < 10.
    const uint32_t saved[STAR_LIST_COUNT] = {star_lists[0], star_lists[1], star_lists[2], star_lists[3]};
    for (uint32_t& l : star_lists) l = 0;   // the meteor alone
    sim_weather.meteorite_density = 4;
    sim_operation_misc.frame_rate_period = 0.1f;
    uint32_t seed = 1;
    for (;; ++seed) {
        UTIL_srand(seed);
        if (30.0f * static_cast<float>(UTIL_rand()) / 32767.0f < 10.0f) break;
    }
    float q[4];
    for (float& v : q) v = static_cast<float>(UTIL_rand()) / 32767.0f;
    UTIL_srand(seed);
    SKYOBJ_reset();
    sky_meteor.t = 5.0f;
    interval_ticks[INTERVAL_TEN_SECONDS] = 1;
    SKYOBJ_draw_sun_moon_stars(0.0f, 0.0f, 0.0f, 100.0f, 0.0f, 1100.0f, 700.0f);
    interval_ticks[INTERVAL_TEN_SECONDS] = 0;
    const float dx = 32.0f * q[1] - 16.0f, dy = 12.0f * q[3] - 16.0f;
    EXPECT_NEAR(sky_meteor.dx, dx, 1e-3f);
    EXPECT_NEAR(sky_meteor.dy, dy, 1e-3f);
    EXPECT_NEAR(sky_meteor.mx, 100.0f + 1000.0f * q[0] + dx, 1e-2f);
    EXPECT_NEAR(sky_meteor.my, 700.0f * q[2] + dy, 1e-2f);
    EXPECT_NEAR(sky_meteor.t, 0.1f, 1e-6f);
    for (int k = 0; k < STAR_LIST_COUNT; ++k) star_lists[k] = saved[k];
}
