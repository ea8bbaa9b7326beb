// The landing light: when light 1 shines, where its splash lies on the ground,
// and the beams that find no ground.
#include <cmath>
#include <utility>

#include "tests/scene/terrain/ground_fixture.h"

namespace {

class LandingLight : public Ground {
protected:
    void SetUp() override
    {
        Ground::SetUp();
        flt[0].landing_lights_on = 1;
        flt[0].elevation = 100.0f;   // no selected airport: 100 m above its elevation 0
        flt[0].local_x = 10.0f, flt[0].local_z = 20.0f;
        pln[0].acf_lanlite_the = -10.0f;
        pln[0].acf_unpub_2244 = 1.0f;    // range factor
        pln[0].acf_unpub_2248 = 20.0f;   // half-spread
        dark(0.1f, 0.1f, 0.2f);
    }
    static void dark(float r, float g, float b)
    {
        sim_graphics_misc.cockpit_light_level_r = r;
        sim_graphics_misc.cockpit_light_level_g = g;
        sim_graphics_misc.cockpit_light_level_b = b;
    }
};

}  // namespace

TEST_F(LandingLight, BeamTenDegreesDownLandsItsSplashAsWorkedOut)
{
    LIGHTS_setup_gl_landing(1, 1);
    ASSERT_EQ(landing_splash_on, 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    const landing_splash_projection_record& p = landing_splash_projection;
    // near 173.2 m, half-width 209.6 m, length 1,207 m, centre 776.7 m ahead (north), g 0.422.
    const float w = 209.6f, len = 1207.0f, g = 0.422f;
    EXPECT_NEAR(p.centre_x, 10.0f, 0.01f);
    EXPECT_NEAR(p.centre_z, 20.0f - 776.7f, 0.5f);
    EXPECT_NEAR(p.u_per_x, g / w, 2e-5f);
    EXPECT_NEAR(p.v_per_z, -1.0f / len, 2e-6f);
    EXPECT_NEAR(p.u_per_z, 0.0f, 1e-6f);
    // v runs from 0 at the near edge to 1 at the far one.
    float uv[2];
    const float near_point[3] = {10.0f, 0.0f, 20.0f - 173.2f};
    SURFACE_light_texcoord(near_point, uv);
    EXPECT_NEAR(uv[1], 0.0f, 1e-3f);
    EXPECT_NEAR(uv[0], 0.5f, 1e-6f);
    // The daylight colour stands in for the tint while the light is set up.
    EXPECT_FLOAT_EQ(surface_tint[0], sky_state_colour_table[0][0]);

    LIGHTS_setup_gl_landing(0, 1);
    EXPECT_EQ(landing_splash_on, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));

    // The range factor, held to 0.01..10, divides the attenuation 0.01.
    for (const auto& [power, attenuation] : {std::pair{1.0f, 0.01f}, {2.0f, 0.005f}, {0.0f, 1.0f}, {-5.0f, 1.0f},
                                             {20.0f, 0.001f}}) {
        pln[0].acf_unpub_2244 = power;
        LIGHTS_setup_gl_landing(1, 1);
        GLfloat a = 0.0f;
        glGetLightfv(GL_LIGHT1, GL_LINEAR_ATTENUATION, &a);
        EXPECT_NEAR(a, attenuation, attenuation * 1e-4f) << power;
        LIGHTS_setup_gl_landing(0, 1);
    }
}

TEST_F(LandingLight, ASteeringLightSwingsItsSplashWithTheNoseWheel)
{
    // The nose wheel 30 degrees right, wings level: a steering light's splash
    // centre lies 776.7 m out on a heading of 30 degrees; a fixed one stays ahead.
    flt[0].nosewheel_steer = 30.0f;
    flt[0].sin_phi = 0.0f, flt[0].cos_phi = 1.0f;
    for (const int steers : {0, 1}) {
        pln[0].acf_unpub_2276 = steers;
        LIGHTS_setup_gl_landing(1, 1);
        ASSERT_EQ(landing_splash_on, 1);
        const float h = steers ? 30.0f * 0.017453293f : 0.0f;
        EXPECT_NEAR(landing_splash_projection.centre_x, 10.0f + 776.7f * std::sin(h), 0.5f) << steers;
        EXPECT_NEAR(landing_splash_projection.centre_z, 20.0f - 776.7f * std::cos(h), 0.5f) << steers;
        // Turned with it: the near edge ahead on the beam's line (v 0, u 0.5),
        // and w / 2g = 248.3 m to the right of the centre, across it (u 1, v 0.5).
        float uv[2];
        const float near_point[3] = {10.0f + 173.2f * std::sin(h), 0.0f, 20.0f - 173.2f * std::cos(h)};
        SURFACE_light_texcoord(near_point, uv);
        EXPECT_NEAR(uv[0], 0.5f, 1e-3f) << steers;
        EXPECT_NEAR(uv[1], 0.0f, 1e-3f) << steers;
        const float edge[3] = {landing_splash_projection.centre_x + 248.34f * std::cos(h), 0.0f,
                               landing_splash_projection.centre_z + 248.34f * std::sin(h)};
        SURFACE_light_texcoord(edge, uv);
        EXPECT_NEAR(uv[0], 1.0f, 2e-3f) << steers;
        EXPECT_NEAR(uv[1], 0.5f, 1e-3f) << steers;
    }
    // Banked 60 degrees, half the steering reaches the beam.
    flt[0].sin_phi = std::sin(60.0f * 0.017453293f), flt[0].cos_phi = 0.5f;
    pln[0].acf_lanlite_the = 0.0f;
    flt[0].theta = -10.0f;
    LIGHTS_setup_gl_landing(1, 1);
    const float h = 15.0f * 0.017453293f;
    EXPECT_NEAR(std::atan2(landing_splash_projection.centre_x - 10.0f, 20.0f - landing_splash_projection.centre_z), h, 1e-3f);
}

TEST_F(LandingLight, BankingTradesTheBeamsPitchAndHeadingOffsets)
{
    // Beam 10 degrees down and 5 right of the nose, the nose 20 degrees down,
    // 100 m up, 20 degrees half-spread. Banked 90 degrees right the beam's
    // pitch offset turns it 10 degrees left and its heading offset lowers it
    // (beam -25, heading -10); banked left the other way (beam -15, heading
    // +10); wings level it keeps both (beam -30, heading +5). The centre lies
    // at d_near + len / 2 along that heading.
    const struct {
        float bank_deg, centre_x, centre_z;
    } rows[] = {{90.0f, -25.06f, -178.82f}, {-90.0f, 81.97f, -388.19f}, {0.0f, 23.66f, -136.11f}};
    pln[0].acf_unpub_2240 = 5.0f;
    flt[0].theta = -20.0f;
    for (const auto& r : rows) {
        flt[0].sin_phi = std::sin(r.bank_deg * 0.017453293f), flt[0].cos_phi = std::cos(r.bank_deg * 0.017453293f);
        LIGHTS_setup_gl_landing(1, 1);
        ASSERT_EQ(landing_splash_on, 1) << r.bank_deg;
        EXPECT_NEAR(landing_splash_projection.centre_x, r.centre_x, 0.05f) << r.bank_deg;
        EXPECT_NEAR(landing_splash_projection.centre_z, r.centre_z, 0.05f) << r.bank_deg;
    }
}

TEST_F(LandingLight, OnlyInTheDarkAndOnlyWithItsSwitches)
{
    const struct {
        float r, g, b;
        int landing, taxi;
        bool on;
    } rows[] = {{0.1f, 0.1f, 0.2f, 1, 0, true},   {0.1f, 0.11f, 0.2f, 1, 0, false},
                {0.1f, 0.1f, 0.2f, 0, 1, true},   {0.1f, 0.1f, 0.2f, 0, 0, false}};
    for (const auto& r : rows) {
        dark(r.r, r.g, r.b);
        flt[0].landing_lights_on = r.landing, flt[0].taxi_light_on = r.taxi;
        LIGHTS_setup_gl_landing(1, 1);
        EXPECT_EQ(glIsEnabled(GL_LIGHT1) != 0, r.on) << r.g << " " << r.taxi;
        EXPECT_EQ(landing_splash_on != 0, r.on);
        // The objects' call without the full set-up keeps the last placement.
        LIGHTS_setup_gl_landing(1, 0);
        EXPECT_EQ(landing_splash_on != 0, r.on);
        LIGHTS_setup_gl_landing(0, 0);
        EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    }
}

TEST_F(LandingLight, BeamsThatFindNoGroundGiveNoSplash)
{
    // At the airport's height or with no spread the beam has no width; values
    // that are no number give no splash. Below the airport's height the
    // splash still follows the beam's formulas (the ground is not consulted).
    const struct {
        float elevation, spread, pitch;
        bool splash;
    } rows[] = {{0.0f, 20.0f, 0.0f, false},   {-5.0f, 20.0f, 0.0f, true},  {100.0f, 95.0f, 0.0f, true},
                {100.0f, 0.0f, 0.0f, false},  {100.0f, NAN, 0.0f, false},  {100.0f, 20.0f, INFINITY, false},
                {100.0f, 20.0f, 30.0f, true}};
    for (const auto& r : rows) {
        flt[0].elevation = r.elevation;
        pln[0].acf_unpub_2248 = r.spread;
        flt[0].theta = r.pitch;
        LIGHTS_setup_gl_landing(1, 1);
        EXPECT_EQ(landing_splash_on != 0, r.splash) << r.elevation << " " << r.spread << " " << r.pitch;
        if (r.splash) {
            const landing_splash_projection_record& p = landing_splash_projection;
            for (float v : {p.centre_x, p.centre_z, p.u_per_x, p.u_per_z, p.v_per_x, p.v_per_z})
                EXPECT_TRUE(std::isfinite(v));
        }
        LIGHTS_setup_gl_landing(0, 1);
    }
}

TEST_F(LandingLight, TheLightSitsOnTheAircraftsLightPointAndItsHeightCounts)
{
    // The light 10 m above the aircraft's reference point, wings level: the
    // beam starts 110 m above the ground, so every distance of the 100-m case
    // grows by a tenth (centre 854.4 m ahead); light 1 stands at the light
    // point with the g-load dimming as its colour.
    flt[0].track_sin = 0.0f, flt[0].track_cos = 1.0f;
    flt[0].local_y = 50.0f;
    pln[0].acf_lanlite1Y = 10.0f;
    gload_dim_factor = 0.5f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    LIGHTS_setup_gl_landing(1, 1);
    ASSERT_EQ(landing_splash_on, 1);
    EXPECT_NEAR(landing_splash_projection.centre_x, 10.0f, 0.01f);
    EXPECT_NEAR(landing_splash_projection.centre_z, 20.0f - 854.4f, 0.5f);
    GLfloat v[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, v);
    EXPECT_NEAR(v[0], 10.0f, 1e-4f);
    EXPECT_NEAR(v[1], 60.0f, 1e-4f);
    EXPECT_NEAR(v[2], 20.0f, 1e-4f);
    EXPECT_EQ(v[3], 1.0f);
    for (GLenum part : {GL_AMBIENT, GL_DIFFUSE}) {
        glGetLightfv(GL_LIGHT1, part, v);
        EXPECT_FLOAT_EQ(v[0], 0.5f);
        EXPECT_FLOAT_EQ(v[2], 0.5f);
        EXPECT_FLOAT_EQ(v[3], 1.0f);
    }
    LIGHTS_setup_gl_landing(0, 1);
}
