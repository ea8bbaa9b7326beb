// ACF_draw_plane's stages: exhaust and take-off rocket flames, the force
// overlay, the lights and the lit paint; binds and lights seen through the
// kit's seam, geometry in feedback mode.
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "aircraft/acf_panel_setup.h"
#include "core/random.h"
#include "core/simvars/time.h"
#include "core/texture_slots.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "scene/aircraft/draw_kit.h"
#include "tests/scene/aircraft/draw_fixture.h"
#include "tests/support/machine.h"

using namespace draw_test;

namespace {

bool flame_bound(const recorder& r)
{
    return std::any_of(r.binds.begin(), r.binds.end(), [](const auto& b) {
        return b[0] >= TEX_SLOT_FLAME_BURNER_FAST && b[0] <= TEX_SLOT_FLAME_ROCKET_SOLID;
    });
}

// The nozzle centres of the flames drawn: texture s 0, alpha within lo..hi.
std::vector<vtx> nozzles(const capture& c, float lo, float hi)
{
    std::vector<vtx> out;
    for (const vtx& v : c.vertices())
        if (v.s == 0.0f && v.a >= lo && v.a <= hi &&
            std::none_of(out.begin(), out.end(), [&](const vtx& o) { return o.dist(&v.x) < 1e-3f; }))
            out.push_back(v);
    return out;
}

// The lights of plane n asked for in one drawing of it (mode 0), of one colour.
std::vector<bind_recorder::light_call> lights(int n, std::array<float, 3> rgb)
{
    recorder r;
    ACF_draw_plane(n, 0);
    std::vector<bind_recorder::light_call> out;
    for (const auto& l : r.lights)
        if (l.r == rgb[0] && l.g == rgb[1] && l.b == rgb[2]) out.push_back(l);
    return out;
}
constexpr std::array<float, 3> RED{1, 0, 0}, GREEN{0, 1, 0}, WHITE{1, 1, 1};

using Stages = AircraftDraw;

}  // namespace

TEST_F(Stages, ExhaustFlamesTakeTheirTexturesAndTipRocketsTurnWithTheRotor)
{
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = 4;
    a.acf_face_jet = a.acf_face_rocket = 0.5f;
    f.ENGN_running[0] = 1;
    const auto binds = [&] {
        recorder r;
        ACF_draw_plane(P, 1);
        return r;
    };
    EXPECT_FALSE(flame_bound(binds())) << "a jet without its burner lit";
    f.ENGN_burnrat[0] = 0.5f;
    for (const auto& [type, mach, slot] : {std::tuple{4, 2.0f, TEX_SLOT_FLAME_BURNER_FAST},
                                          std::tuple{5, 1.99f, TEX_SLOT_FLAME_BURNER_SLOW},
                                          std::tuple{2, 1.0f, TEX_SLOT_FLAME_BURNER_SLOW},   // any other burning engine: a jet's
                                          std::tuple{6, 3.0f, TEX_SLOT_FLAME_ROCKET_LIQUID}}) {
        a.acf_en_type[0] = type;
        a.acf_max_mach_eff = mach;
        EXPECT_TRUE(binds().bound_on(slot, 0)) << type << " " << mach;
    }
    f.ENGN_running[0] = 0;
    EXPECT_FALSE(flame_bound(binds())) << "an engine that is not running";

    // A three-blade tip-rocket rotor below 15 rad/s: three flames at the blade
    // tips 120 degrees apart, turned with the rotor; no blades, no flames.
    hand_wing(P, 0, 2, 0.5f, 0.2f, 1.0f);
    ACF_prepare_model(P);
    a.acf_num_blades[0] = 3.0f, a.acf_prop_dir[0] = 1.0f, a.acf_en_type[0] = 7;
    f.ENGN_running[0] = 1, f.ENGN_thro_use[0] = 0.25f;   // strength 0.5: alpha 0.4 .. 0.6
    f.POINT_pitch_deg[0] = 90.0f, f.POINT_tacrad[0] = 10.0f;
    for (float rotor : {0.0f, 30.0f}) {
        f.tire_prop_rot[0] = rotor;
        const std::vector<vtx> tips = nozzles(capture_drawing([&] { ACF_draw_plane(P, 1); }, 3.0f), 0.39f, 0.61f);
        ASSERT_EQ(tips.size(), 3u) << rotor;
        for (float b : {0.0f, 120.0f, 240.0f}) {
            const float tip[3] = {std::cos((b + rotor) * DEG), std::sin((b + rotor) * DEG), 0.0f};
            EXPECT_TRUE(std::any_of(tips.begin(), tips.end(), [&](const vtx& v) { return v.dist(tip) < 1e-3f; })) << b;
        }
        // Blade pitch 90 degrees: each flame streams aft, sqrt(0.5) / pi x 30 x 0.25 = 1.688 m (2 % flicker).
        for (const vtx& v : capture_drawing([&] { ACF_draw_plane(P, 1); }, 3.0f).vertices()) {
            if (v.s == 1.0f && v.a >= 0.39f && v.a <= 0.61f) {
                EXPECT_NEAR(v.z, 1.688f, 0.04f);
            }
        }
    }
    for (float blades : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
        a.acf_num_blades[0] = blades;
        EXPECT_FALSE(flame_bound(binds())) << blades;
    }
}

// A propeller disc above 15 rad/s: a fan round the hub whose rim lies at the
// straight hub-to-tip distance of the swept blade (elements of 0.5 m swept 0
// and 90 degrees: 0.7071 m), pulled back by the coning angle (0.5 rad: rim
// radius 0.6205, depth -0.3390); black, alpha 0.2, or 0.1 for the user's own
// discs seen from the cockpit.
TEST_F(Stages, PropellerDiscRimConeAndAlpha)
{
    struct row {
        int n;
        int external;
        float tacrad, alpha;   // alpha 0: no disc
    };
    for (const row& c : {row{P, 1, 15.0f, 0.0f}, row{P, 1, 15.5f, 0.2f}, row{P, 0, 20.0f, 0.2f}, row{0, 0, 20.0f, 0.1f},
                         row{0, 1, 20.0f, 0.2f}}) {
        propeller_plane(c.n);
        pln[c.n].acf_bladesweep[0] = 0.0f, pln[c.n].acf_bladesweep[1] = 90.0f;
        flt[c.n].POINT_tacrad[0] = c.tacrad, flt[c.n].POINT_cone_rad[0] = 0.5f;
        sim_graphics_view.view_is_external = c.external;
        recorder r;
        const capture d = capture_drawing([&] { ACF_draw_thrust_stage(c.n); }, 3.0f);
        EXPECT_EQ(r.bound_on(TEX_SLOT_PROP_DISC, 0), c.alpha > 0.0f) << c.n << " " << c.tacrad;
        if (c.alpha == 0.0f) continue;
        const float hub[3] = {0.0f, 0.0f, -1.0f}, up[3] = {0.0f, 0.6205f, -1.339f}, right[3] = {0.6205f, 0.0f, -1.339f};
        EXPECT_TRUE(d.has({hub, up}) && d.has({hub, right})) << c.n;
        for (const vtx& v : d.vertices()) {
            EXPECT_NEAR(v.a, c.alpha, 1e-3f);
            EXPECT_EQ(v.r + v.g + v.b, 0.0f);
            if (v.dist(up) < 1e-3f) {
                EXPECT_TRUE(std::fabs(v.s - 0.5f) < 1e-3f && std::fabs(v.t - 1.0f) < 1e-3f);
            }
        }
    }
    clear_plane(0);
}

// The take-off rocket flame shows for the user's aircraft in mode 1 only,
// centred on x = 0; a flame of strength 0 is clear.
// Flame sizes: radius sqrt(face area) / pi; a jet's length 15 radii at half
// burner and up, fainter in bright light; a rocket's 30 radii times the throttle.
TEST_F(Stages, ExhaustFlameLengthRadiusAndStrength)
{
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_face_jet = 0.5f, a.acf_face_rocket = 2.0f;
    f.ENGN_running[0] = 1, f.ENGN_burnrat[0] = 0.5f, f.ENGN_thro_use[0] = 0.64f;
    sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
        sim_graphics_misc.cockpit_light_level_b = 0.5f;
    struct row {
        int type;
        float radius, length, strength;
    } rows[] = {
        {4, 0.225079f, 0.225079f * 15.0f * 0.75f, (0.8f - 0.2f * 1.5f) * 0.5f},
        {6, 0.450158f, 0.450158f * 30.0f * 0.64f, 0.8f},
    };
    for (const row& w : rows) {
        a.acf_en_type[0] = w.type;
        int tails = 0;
        for (const vtx& v : capture_drawing([] { ACF_draw_thrust_stage(P); }, 12.0f).vertices()) {
            EXPECT_TRUE(v.a >= 0.8f * w.strength - 1e-3f && v.a <= 1.2f * w.strength + 1e-3f) << w.type << " " << v.a;
            if (v.s == 0.1f && v.z == 0.0f) {
                EXPECT_NEAR(std::hypot(v.x, v.y), w.radius, 1e-4f) << w.type;
            }
            if (v.s == 1.0f) {
                ++tails;
                EXPECT_NEAR(v.z, w.length, 0.02f * w.length + 1e-3f) << w.type;
            }
        }
        EXPECT_GT(tails, 0) << w.type;
    }
}

TEST_F(Stages, TakeOffRocketFlame)
{
    clear_plane(0);
    pln[0].acf_jato_thrust = 10000.0f;   // 1 m long, 0.1 m across
    pln[0].acf_jato_Y = -1.0f, pln[0].acf_jato_Z = 2.0f;
    pln[1] = pln[0];
    sim_cockpit_switches.jato_on = 1;
    for (const auto& [n, mode, shown] : {std::tuple{0, 1, true}, std::tuple{0, 0, false}, std::tuple{1, 1, false}}) {
        recorder r;
        const std::vector<vtx> nozzle = nozzles(capture_drawing([&] { ACF_draw_plane(n, mode); }, 3.0f), 0.79f, 1.0f);
        EXPECT_EQ(r.bound_on(TEX_SLOT_FLAME_ROCKET_SOLID, 0), shown) << n << " " << mode;
        if (!shown) continue;
        ASSERT_EQ(nozzle.size(), 1u);
        const float at[3] = {0.0f, -1.0f, 2.0f};
        EXPECT_LT(nozzle[0].dist(at), 1e-3f);
        int tails = 0;
        for (const vtx& v : capture_drawing([&] { ACF_draw_plane(n, mode); }, 6.0f).vertices()) {
            if (v.s == 1.0f) {
                ++tails;
                EXPECT_NEAR(v.z, 3.0f, 0.021f);   // 1 m aft of the nozzle, within the flicker
            }
        }
        EXPECT_GT(tails, 0);
    }
    // Strength 0.5 flickers between alpha 0.4 and 0.6 (a factor 0.8 .. 1.2).
    UTIL_srand(3);
    float lo = 1.0f, hi = 0.0f;
    for (int k = 0; k < 60; ++k)
        for (const vtx& v : capture_drawing([] { ACF_draw_flame(TEX_SLOT_FLAME_ROCKET_SOLID, 0, -1, 0, 0, 0, 0, 0, 0, 1, 0.1f, 0.5f); }).vertices())
            lo = std::min(lo, v.a), hi = std::max(hi, v.a);
    EXPECT_TRUE(lo >= 0.399f && lo < 0.42f && hi > 0.58f && hi <= 0.601f) << lo << " " << hi;
    const capture faint = capture_drawing([] { ACF_draw_flame(TEX_SLOT_FLAME_ROCKET_SOLID, 0, -1, 0, 0, 0, 0, 0, 0, 1, 0.1f, 0.0f); });
    ASSERT_FALSE(faint.prims.empty());
    for (const vtx& v : faint.vertices()) EXPECT_EQ(v.a, 0.0f);
    clear_plane(0);
    clear_plane(1);
}

// A flame of radius 1 m and length 10 m: the nozzle ring at s 0.1 on radius 1,
// the tail at s 1 on 0.4 of the radius and 10 m (within its 2 % flicker) aft,
// t running 0 at the top, 1 at the bottom and back.
TEST_F(Stages, AFlameNarrowsToItsTailAndMirrorsItsPicture)
{
    const capture c = capture_drawing([] { ACF_draw_flame(TEX_SLOT_FLAME_ROCKET_SOLID, 0, -1, 0, 0, 0, 0, 0, 0, 10.0f, 1.0f, 1.0f); }, 30.0f);
    int tails = 0, rings = 0;
    for (const vtx& v : c.vertices()) {
        const float r = std::hypot(v.x, v.y);
        const float t_want = std::fabs(std::atan2(v.x, v.y)) / static_cast<float>(M_PI);   // 0 at the top, 1 below
        if (std::fabs(v.s - 1.0f) < 1e-6f) {
            ++tails;
            EXPECT_NEAR(r, 0.4f, 1e-3f);
            EXPECT_NEAR(v.z, 10.0f, 0.2f + 1e-3f);
            EXPECT_NEAR(v.t, t_want, 1e-3f);
        } else if (std::fabs(v.s - 0.1f) < 1e-6f) {
            ++rings;
            EXPECT_NEAR(r, 1.0f, 1e-3f);
            EXPECT_NEAR(v.t, t_want, 1e-3f);
        }
    }
    EXPECT_GT(tails, 0);
    EXPECT_GT(rings, 0);
}

TEST_F(Stages, ForceOverlayLevelsAndTheLightsOnlyMode)
{
    propeller_plane(0);
    power_user_plane(true);   // the cleared plane's battery has its voltage again
    hand_wing(0, 8, 2, 2.0f, 1.0f, -1.0f);
    ACF_prepare_model(0);
    visibility_scale = 0.001f;
    flt[0].POINT_tacrad[0] = 100.0f;
    for (int i = 0; i < 3 * ACF_NUM_ELEMENTS; ++i) flt[0].force_XYZ[i] = 100.0f * (1 + i % 7);
    for (int i = 0; i < FLT_ELEMENT_VALUES; ++i) flt[0].v_el[i] = 10.0f, flt[0].del_dir[i] = 30.0f;
    pln[0].acf_has_taillite = 1, pln[0].acf_tailliteZ = 5.0f;
    flt[0].nav_lights_on = 1;
    const auto overlay = [](int level) {
        sim_graphics_view.visibility_math_level = level;
        return capture_drawing([] { ACF_draw_plane(0, 0); }, 10.0f);
    };
    const capture thrust = overlay(1), wings = overlay(2), same = overlay(3), blades = overlay(4);
    EXPECT_EQ(thrust.count(2), 1);
    EXPECT_EQ(wings.count(2), 1 + 2 * 3);   // each wing element as three legs
    ASSERT_EQ(same.prims.size(), wings.prims.size());
    for (size_t i = 0; i < same.prims.size(); ++i) EXPECT_EQ(same.prims[i].v[0].dist(&wings.prims[i].v[0].x), 0.0f);
    EXPECT_EQ(blades.count(2), wings.count(2) + 4 * 2);   // four blade positions of each element
    EXPECT_EQ(blades.count(1), 4 * 2);

    // Mode 0 (and a mode no caller passes) at level 1: lights and overlay, no paint.
    for (int mode : {0, 7}) {
        sim_graphics_view.visibility_math_level = 1;
        recorder r;
        EXPECT_EQ(capture_drawing([&] { ACF_draw_plane(0, mode); }, 10.0f).count(2), 1);
        EXPECT_EQ(r.lights.size(), 1u);
        EXPECT_FALSE(r.bound_on(TEX_SLOT_PAINT_FIRST, 0) || r.bound_on(TEX_SLOT_PAINT_FIRST + 2, 0));
    }
    sim_graphics_view.visibility_math_level = 0;
    clear_plane(0);
}

// Blade forces at level 4 (del_dir 0, v_el 100 N, 1 mm a newton, three times
// over): from the blade's middle radii 0.25 and 0.75 m, at the top pointing
// right, at the right pointing down, below pointing left, at the left pointing
// up. At level 2 a plain surface (28..43) has no force line.
TEST_F(Stages, BladeForcesTurnRoundTheDiscAndPlainSurfacesHaveNone)
{
    propeller_plane(0);
    visibility_scale = 0.001f;
    for (int i = 0; i < FLT_ELEMENT_VALUES; ++i) flt[0].v_el[i] = 100.0f, flt[0].del_dir[i] = 0.0f;
    sim_graphics_view.visibility_math_level = 4;
    const capture c = capture_drawing([] { ACF_draw_force_overlay(); }, 2.0f);
    const float ends[][3] = {{0.3f, 0.25f, 0}, {0.25f, -0.3f, 0}, {-0.3f, -0.25f, 0}, {-0.25f, 0.3f, 0},
                             {0.3f, 0.75f, 0}, {0.75f, -0.3f, 0}, {-0.3f, -0.75f, 0}, {-0.75f, 0.3f, 0}};
    for (const auto& end : ends)
        EXPECT_TRUE(std::any_of(c.prims.begin(), c.prims.end(), [&](const prim& l) { return l.kind == 2 && l.v[1].dist(end) < 1e-3f; }))
            << end[0] << " " << end[1];
    hand_wing(0, 30, 1, 1.0f, 1.0f, 1.0f);
    flt[0].force_XYZ[3 * ACF_el(30, 0) + 1] = 1000.0f;
    sim_graphics_view.visibility_math_level = 2;
    EXPECT_EQ(capture_drawing([] { ACF_draw_force_overlay(); }, 2.0f).count(2), 1);   // the thrust line alone
    sim_graphics_view.visibility_math_level = 0;
    clear_plane(0);
}

// A wing element's force is drawn as lift, then drag and side force from the
// lift's end, scaled by the part's element count over four: two elements at
// 1 mm a newton make 2,000 N of lift a line of 1 m.
TEST_F(Stages, AWingElementForceIsDrawnAtAQuarterOfItsElementsScale)
{
    hand_wing(0, 8, 2, 2.0f, 1.0f, -1.0f);
    ACF_prepare_model(0);
    visibility_scale = 0.001f;
    flt[0].alpha_el[ACF_el(8, 1) * 4] = 0.0f;
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);   // the overlay's state
    const capture c = capture_drawing([] { ACF_draw_force_vector(0.0f, 0.0f, 0.0f, 1000.0f, 2000.0f, 3000.0f, 8, 1, false); });
    ASSERT_EQ(c.count(2), 3);
    const float lift[3] = {0.0f, 1.0f, 0.0f}, drag[3] = {0.0f, 1.0f, 1.5f}, side[3] = {0.5f, 1.0f, 0.0f};
    EXPECT_LT(c.prims[0].v[1].dist(lift), 1e-3f);
    EXPECT_LT(c.prims[1].v[1].dist(drag), 1e-3f);
    EXPECT_LT(c.prims[2].v[1].dist(side), 1e-3f);
    // Green lift, red drag, yellow side force.
    const float colours[3][3] = {{0.1f, 1.0f, 0.1f}, {1.0f, 0.2f, 0.2f}, {1.0f, 1.0f, 0.0f}};
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::fabs(c.prims[k].v[0].r - colours[k][0]) < 0.01f && std::fabs(c.prims[k].v[0].g - colours[k][1]) < 0.01f &&
                    std::fabs(c.prims[k].v[0].b - colours[k][2]) < 0.01f) << k;
    // Turned with the element's angle of attack, nose up about -x: 90 degrees
    // lays the lift along -z.
    flt[0].alpha_el[ACF_el(8, 1) * 4] = 90.0f;
    const float laid[3] = {0.0f, 0.0f, -1.0f};
    EXPECT_LT(capture_drawing([] { ACF_draw_force_vector(0.0f, 0.0f, 0.0f, 0.0f, 2000.0f, 0.0f, 8, 1, false); })
                  .prims[0].v[1].dist(laid), 1e-3f);
    clear_plane(0);
}

TEST_F(Stages, NavigationLightsStrobesBeaconsAndPower)
{
    a.acf_has_navlites = 1;
    f.nav_lights_on = 1;
    // The last wing pair that reaches further out than the pair before it.
    for (const auto& [tips, out] : {std::pair{std::array{10.0f, 10.0f, 8.0f, 8.0f}, 10.0f},   // level: none further out
                                   std::pair{std::array{10.0f, 12.0f, 11.0f, 14.0f}, 14.0f},
                                   std::pair{std::array{10.0f, 9.0f, 11.0f, 8.0f}, 11.0f}}) {
        for (int k = 0; k < 4; ++k) {
            hand_wing(P, 9 + 2 * k, 1, tips[static_cast<size_t>(k)], 1.0f, 1.0f);
            hand_wing(P, 8 + 2 * k, 1, tips[static_cast<size_t>(k)], 1.0f, -1.0f);
        }
        const auto red = lights(P, RED), green = lights(P, GREEN);
        ASSERT_TRUE(red.size() == 1u && green.size() == 1u);
        EXPECT_NEAR(red[0].x, -1.01f * out, 1e-4f);
        EXPECT_NEAR(green[0].x, 1.01f * out, 1e-4f);
        EXPECT_EQ(red[0].size, 1.5f);
    }
    // A strobe flash: white, size 4, the star sprite, at both tips instead.
    f.strobe_lights_on = f.strobe_flash = 1;
    const auto white = lights(P, WHITE);
    ASSERT_EQ(white.size(), 2u);
    for (const auto& l : white) EXPECT_TRUE(l.size == 4.0f && l.type == 106 && std::fabs(std::fabs(l.x) - 11.11f) < 1e-3f);
    EXPECT_TRUE(lights(P, RED).empty());
    f.strobe_lights_on = f.strobe_flash = f.nav_lights_on = 0;

    // Fins ending within 1 cm of each other both carry the beacon; a fin
    // higher by more carries it alone.
    f.beacon_lights_on = 1, f.beacon_brightness = 0.7f;
    hand_wing(P, 18, 1, 2.0f, 1.0f, 1.0f, 0.0f, 90.0f);
    for (const auto& [fin19, beacons] : {std::pair{2.005f, 2u}, std::pair{2.02f, 1u}}) {
        hand_wing(P, 19, 1, fin19, 1.0f, 1.0f, 0.0f, 90.0f);
        const auto red = lights(P, RED);
        ASSERT_EQ(red.size(), beacons) << fin19;
        for (const auto& l : red) EXPECT_TRUE(l.a == 0.7f && l.size == 2.5f && l.type == 105);
        EXPECT_NEAR(red.back().y, 1.01f * fin19, 1e-4f);
    }
    // Without navigation lights fitted no tip shows a light.
    a.acf_has_navlites = 0;
    f.nav_lights_on = f.strobe_lights_on = f.strobe_flash = 1;
    EXPECT_TRUE(lights(P, RED).empty() && lights(P, GREEN).empty() && lights(P, WHITE).empty());

    // The user's aircraft's power lights or darkens every aircraft.
    for (int n : {0, P}) pln[n].acf_has_lanlite1 = 1, flt[n].landing_lights_on = 1;
    for (bool power : {true, false}) {
        power_user_plane(power);
        EXPECT_EQ(lights(0, WHITE).size(), power ? 1u : 0u);
        EXPECT_EQ(lights(P, WHITE).size(), power ? 1u : 0u);
    }
    power_user_plane(true);
    clear_plane(0);
}

// The fixed lights, each on its own switch and fitted flag: the landing and
// taxi lights white, size 4, the star sprite; the fuselage beacons red at the
// beacon pulse 0.5 sin(4 (t + 1.5 n)) + 0.5 (plane 3 at t 0.25 s: 0.5749),
// size 2; the tail light white, size 1.5.
TEST_F(Stages, FixedLightsTakeTheirSwitchesColoursAndSizes)
{
    struct row {
        int32_t flt_struct::*on;
        int32_t acf_struct::*fitted;
        float acf_struct::*x;
        float rgb_a_size[5];
        int type;
    };
    const row rows[] = {
        {&flt_struct::landing_lights_on, &acf_struct::acf_has_lanlite1, &acf_struct::acf_lanlite1X, {1, 1, 1, 1, 4.0f}, 106},
        {&flt_struct::landing_lights_on, &acf_struct::acf_has_lanlite2, &acf_struct::acf_lanlite2X, {1, 1, 1, 1, 4.0f}, 106},
        {&flt_struct::taxi_light_on, &acf_struct::acf_has_lanlite3, &acf_struct::acf_lanlite3X, {1, 1, 1, 1, 4.0f}, 106},
        {&flt_struct::beacon_lights_on, &acf_struct::acf_has_fuserb1, &acf_struct::acf_fuserb1X, {1, 0, 0, 0.5749f, 2.0f}, 105},
        {&flt_struct::beacon_lights_on, &acf_struct::acf_has_fuserb2, &acf_struct::acf_fuserb2X, {1, 0, 0, 0.5749f, 2.0f}, 105},
        {&flt_struct::nav_lights_on, &acf_struct::acf_has_taillite, &acf_struct::acf_tailliteX, {1, 1, 1, 1, 1.5f}, 105},
    };
    sim_time.total_running_time_sec = 0.25f;
    for (const row& l : rows) {
        clear_plane(P);
        a.*l.fitted = 1;
        a.*l.x = 3.0f;
        for (const row& s : rows) f.*s.on = 1;
        recorder r;
        ACF_draw_plane(P, 0);
        ASSERT_EQ(r.lights.size(), 1u);
        const auto& c = r.lights[0];
        EXPECT_EQ(c.x, 3.0f);
        const float got[5] = {c.r, c.g, c.b, c.a, c.size};
        for (int k = 0; k < 5; ++k) EXPECT_NEAR(got[k], l.rgb_a_size[k], 1e-4f) << k;
        EXPECT_EQ(c.type, l.type);
        f.*l.on = 0;
        recorder off;
        ACF_draw_plane(P, 0);
        EXPECT_TRUE(off.lights.empty());
    }
}

// A gear door hinged at (1, 0.5, 0), its axis turned 90 degrees about y and
// opened 30 degrees: the unit square (0,0,0) (1,0,0) (1,0,1) (0,0,1) lands on
// (1,0.5,0) (1,1,0.866) (0,1,0.866) (0,0.5,0), drawn front and back within the
// door's patch of the paint; the user's aircraft loses its doors above the
// gear speed, other aircraft keep theirs.
TEST_F(Stages, GearDoorsHingeOpenShowBothFacesAndTearOffAboveTheGearSpeed)
{
    for (const auto& [n, over_vle, drawn] : {std::tuple{P, 0, true}, std::tuple{P, 1, true}, std::tuple{0, 0, true},
                                             std::tuple{0, 1, false}}) {
        clear_plane(n);
        acf_struct& d = pln[n];
        d.acf_gear_door_typ[1] = 1;
        const float loc[3] = {1.0f, 0.5f, 0.0f}, geo[12] = {0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1};
        std::copy(loc, loc + 3, &d.acf_gear_door_loc[3]);
        std::copy(geo, geo + 12, &d.acf_gear_door_geo[12]);
        d.acf_gear_door_axi_rot[1] = 90.0f, d.acf_gear_door_ang_now[1] = 30.0f;
        flt[n].over_vle = over_vle;
        const capture c = capture_drawing([&] { ACF_draw_plane(n, 1); }, 3.0f);
        const float c0[3] = {1.0f, 0.5f, 0.0f}, c1[3] = {1.0f, 1.0f, 0.866f}, c2[3] = {0.0f, 1.0f, 0.866f},
                    c3[3] = {0.0f, 0.5f, 0.0f};
        // The area covered on the door's corners, front and back: two unit squares.
        float area = 0.0f;
        const float* corners[4] = {c0, c1, c2, c3};
        for (const prim& q : c.prims) {
            const bool on_door = q.kind == 3 && std::all_of(q.v.begin(), q.v.end(), [&](const vtx& v) {
                return std::any_of(corners, corners + 4, [&](const float* k) { return v.dist(k) < 1e-3f; });
            });
            if (!on_door) continue;
            for (size_t k = 1; k + 1 < q.v.size(); ++k) {
                const vtx &o = q.v[0], &a1 = q.v[k], &a2 = q.v[k + 1];
                const float u[3] = {a1.x - o.x, a1.y - o.y, a1.z - o.z}, w[3] = {a2.x - o.x, a2.y - o.y, a2.z - o.z};
                area += 0.5f * std::hypot(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]);
            }
            // Every corner at a corner of the patch s 0..0.015625, t 0.3828125..0.5078125.
            const auto near = [](float a, float b) { return std::fabs(a - b) < 1e-6f; };
            for (const vtx& v : q.v)
                EXPECT_TRUE((near(v.s, 0.0f) || near(v.s, 0.015625f)) && (near(v.t, 0.3828125f) || near(v.t, 0.5078125f)));
        }
        EXPECT_NEAR(area, drawn ? 2.0f : 0.0f, 1e-3f) << n << " " << over_vle;
        clear_plane(n);
    }
}

// At night the lit paint is added on texture unit 1, above a quarter of the
// night's lights and only for a plane whose lit paint was loaded.
TEST_F(Stages, LitPaintAfterAQuarterOfTheNight)
{
    MACHINE_NEEDS(has_mul_tex_add && gl_entry::glActiveTextureARB, "additive multitexture in its OpenGL driver");
    clear_plane(0);
    hand_body(0, 44, 1.0f);
    ACF_prepare_model(0);
    const auto unit1_mode = [](GLint set) {
        GLint mode = 0;
        gl_entry::glActiveTextureARB(GL_TEXTURE1_ARB);
        if (set) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, set);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
        return mode;
    };
    unit1_mode(GL_MODULATE);
    for (const auto& [share, litemap, lit] : {std::tuple{0.25f, 1, false}, std::tuple{0.26f, 0, false}, std::tuple{0.26f, 1, true}}) {
        sim_graphics_scenery.percent_lights_on = share;
        pln[0].acf_has_litemap_tex = litemap;
        OGL_reset_bound_textures();
        recorder r;
        ACF_draw_plane(0, 1);
        EXPECT_TRUE(r.bound_on(TEX_SLOT_PAINT_FIRST, 0));
        EXPECT_EQ(r.bound_on(TEX_SLOT_PAINT_FIRST + 1, 1), lit) << share << " " << litemap;
        EXPECT_EQ(r.bound_on(TEX_SLOT_PAINT_FIRST + 3, 1), lit) << share << " " << litemap;
        EXPECT_EQ(unit1_mode(0), lit ? GL_ADD : GL_MODULATE);
    }
    sim_graphics_scenery.percent_lights_on = 0.0f;
    clear_plane(0);
}

// Parts 20-27 and 47-52 take the second paint and are drawn first; the rest
// follow under the first paint from the last part down. Bodies 45, 47, 52 and
// 53 stand 10 m apart in height, so the drawing order shows which paint each took.
// A glossy plane shines with half the sum of the light levels while its parts
// are drawn: (0.2 + 0.4 + 0.6) / 2 = 0.6, and with none after.
TEST_F(Stages, SecondPaintPartsComeFirstThenTheRestFromTheTop)
{
    clear_plane(0);
    const int parts[4] = {45, 47, 52, 53};
    for (int k = 0; k < 4; ++k) hand_body(0, parts[k], 1.0f, 10.0f * static_cast<float>(k) - 15.0f);
    pln[0].acf_is_glossy = 1;
    sim_graphics_misc.cockpit_light_level_r = 0.2f, sim_graphics_misc.cockpit_light_level_g = 0.4f;
    sim_graphics_misc.cockpit_light_level_b = 0.6f;
    ACF_prepare_model(0);
    OGL_reset_bound_textures();
    struct shine_recorder : recorder {
        float shine = -1.0f;
        void bound(int slot, int unit) override
        {
            recorder::bound(slot, unit);
            GLfloat m[4];
            glGetMaterialfv(GL_FRONT, GL_SPECULAR, m);
            if (slot == TEX_SLOT_PAINT_FIRST + 2) shine = m[0];
        }
    } r;
    const capture c = capture_drawing([] { ACF_draw_plane(0, 1); });
    std::vector<int> order;
    for (const vtx& v : c.vertices()) {
        const int body = static_cast<int>(std::lround((v.y + 15.0f) / 10.0f));
        if (order.empty() || order.back() != body) order.push_back(body);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 0}));   // 47, 52, then 53, 45
    std::vector<int> paints;
    for (const auto& b : r.binds)
        if (b[1] == 0 && b[0] >= TEX_SLOT_PAINT_FIRST && b[0] < TEX_SLOT_PAINT_FIRST + 4) paints.push_back(b[0] - TEX_SLOT_PAINT_FIRST);
    EXPECT_EQ(paints, (std::vector<int>{2, 0}));
    EXPECT_NEAR(r.shine, 0.6f, 1e-5f);
    GLfloat after[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, after);
    EXPECT_EQ(after[0], 0.0f);
    clear_plane(0);
}
