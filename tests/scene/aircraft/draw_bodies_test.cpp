// Propeller blades and discs, and the landing gear with its strut, fairing
// and wheels, in feedback mode.
#include <algorithm>
#include <set>
#include <tuple>

#include "tests/scene/aircraft/draw_fixture.h"

using namespace draw_test;

namespace {

// Triangles of the disc, known by its alpha.
int disc_triangles(const capture& c, float alpha)
{
    return int(std::count_if(c.prims.begin(), c.prims.end(),
                             [&](const prim& p) { return p.kind == 3 && std::fabs(p.v[0].a - alpha) < 1e-3f; }));
}

using point = std::array<int, 3>;   // tenths of a millimetre
point at(float x, float y, float z) { return {int(std::lround(x * 1e4f)), int(std::lround(y * 1e4f)), int(std::lround(z * 1e4f))}; }
// Where the vertices with texture t lie.
std::set<point> points_with_t(const capture& c, float t)
{
    std::set<point> out;
    for (const vtx& v : c.vertices())
        if (std::fabs(v.t - t) < 1e-6f) out.insert(at(v.x, v.y, v.z));
    return out;
}
constexpr float TYRE_RIGHT_CENTRE_T = 0.126953125f;   // a tyre's right face centre
constexpr float STRUT_T_ARM = 131.0f / 1024.0f, STRUT_T_WHEEL = 259.0f / 1024.0f;

class Gear : public AircraftDraw {
protected:
    static constexpr float R = 0.5f, W = 0.2f, R8 = 0.8f * R;
    // Gear p of `type`, its wheel point at (x, y, z) under the leg's arm at (x, 0, z).
    void gear(int p, int type, float x, float y, float z)
    {
        a.acf_part_eq[p] = 1;
        a.acf_gear_type[p] = type;
        a.acf_gear_tirrad[p] = R, a.acf_gear_tirwid[p] = W;
        a.acf_gear_xnodef[p] = a.acf_Xarm[p] = x, a.acf_gear_ynodef[p] = y, a.acf_gear_znodef[p] = a.acf_Zarm[p] = z;
    }
    // A fairing for gear p: 8 rings of 10 points, flat 0.3 m above the wheel point.
    void fairing(int p)
    {
        a.acf_part_eq[p - 6] = 1;
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 10; ++k) {
                float* v = geo(P).part_vertex[p - 6][r][k];
                v[0] = 0.1f * k - 0.45f, v[1] = 0.3f, v[2] = 0.1f * r - 0.35f;
            }
    }
    capture draw(int p) { return capture_drawing([&] { ACF_draw_part(P, p); }, 4.0f); }
};

}  // namespace

// At 15 rad/s the propeller is two blades at 0 and 180 degrees; faster it is
// a fan of 36 translucent triangles about the hub, fainter seen from the
// user's own cockpit.
TEST_F(AircraftDraw, PropellerBladesBecomeADiscAbove15RadPerSecond)
{
    propeller_plane(P);
    f.POINT_tacrad[0] = 15.0f;
    capture c = capture_drawing([&] { ACF_draw_plane(P, 1); }, 3.0f);
    float lo = 0.0f, hi = 0.0f, across = 0.0f;
    for (const vtx& v : c.vertices()) lo = std::min(lo, v.x), hi = std::max(hi, v.x), across = std::max(across, std::fabs(v.y));
    EXPECT_NEAR(hi, BLADE_M, 0.05f);
    EXPECT_NEAR(lo, -BLADE_M, 0.05f);
    EXPECT_LT(across, 0.2f);   // nothing out at 90 or 270 degrees
    EXPECT_EQ(disc_triangles(c, 0.2f), 0);
    // Blade counts are held to 100, so a wild count from a file or a peer ends.
    a.acf_num_blades[0] = 1e9f;
    const size_t held = capture_drawing([&] { ACF_draw_part(P, 0); }).prims.size();
    a.acf_num_blades[0] = 100.0f;
    EXPECT_GT(held, 100u);
    EXPECT_EQ(capture_drawing([&] { ACF_draw_part(P, 0); }).prims.size(), held);
    a.acf_num_blades[0] = 2.0f;

    f.POINT_tacrad[0] = 15.01f;
    c = capture_drawing([&] { ACF_draw_plane(P, 1); }, 3.0f);
    EXPECT_EQ(disc_triangles(c, 0.2f), 36);
    EXPECT_EQ(int(c.prims.size()), 36);   // and no blades
    const float hub[3] = {0.0f, 0.0f, -1.0f};
    for (const vtx& v : c.vertices()) EXPECT_TRUE(v.dist(hub) < 1e-3f || std::fabs(v.dist(hub) - BLADE_M) < 1e-3f);

    propeller_plane(0);
    flt[0].POINT_tacrad[0] = 20.0f;
    for (const auto& [external, alpha] : {std::pair{0, 0.1f}, std::pair{1, 0.2f}}) {
        sim_graphics_view.view_is_external = external;
        EXPECT_EQ(disc_triangles(capture_drawing([&] { ACF_draw_plane(0, 1); }, 3.0f), alpha), 36) << external;
    }
    clear_plane(0);
}

// Coned blades lean forward (toward -z, the way the propeller pulls): a
// 1 m blade coned by 0.2 rad brings its tip sin 0.2 m ahead of the hub.
TEST_F(AircraftDraw, ConedBladesLeanTheirTipsForward)
{
    propeller_plane(P);
    f.POINT_tacrad[0] = 0.0f;
    f.POINT_cone_rad[0] = 0.2f;
    float tip_z = 0.0f;
    int tips = 0;
    for (const vtx& v : capture_drawing([&] { ACF_draw_part(P, 0); }, 3.0f).vertices())
        if (std::fabs(v.x) > 0.9f * BLADE_M) tip_z += v.z, ++tips;
    ASSERT_GT(tips, 0);
    EXPECT_NEAR(tip_z / tips, -1.0f - std::sin(0.2f) * 0.95f * BLADE_M, 0.06f);
}

// At zero blade pitch the blade stands a quarter turn about its span, the
// trailing edge (0.75 of the 0.2 m chord behind the span line) up for a
// right-turning propeller and down for a left-turning one.
TEST_F(AircraftDraw, ALeftTurningPropellerMirrorsTheBladePitch)
{
    propeller_plane(P);
    f.POINT_tacrad[0] = 0.0f;
    f.POINT_pitch_deg[0] = 0.0f;
    for (const auto& [dir, top, bottom] : {std::tuple{1.0f, 0.15f, -0.05f}, std::tuple{-1.0f, 0.05f, -0.15f}}) {
        a.acf_prop_dir[0] = dir;
        float hi = -1.0f, lo = 1.0f;
        for (const vtx& v : capture_drawing([&] { ACF_draw_part(P, 0); }, 3.0f).vertices())
            if (v.x > 0.3f) hi = std::max(hi, v.y), lo = std::min(lo, v.y);
        EXPECT_NEAR(hi, top, 0.01f) << dir;
        EXPECT_NEAR(lo, bottom, 0.01f) << dir;
    }
}

// The vectoring pivot's arm moves the hub, turned by minus the side cant about
// the vertical and then by the vertical cant; the blades keep their own turn.
TEST_F(AircraftDraw, ThePivotArmMovesTheHubThroughTheCants)
{
    propeller_plane(P);
    f.POINT_tacrad[0] = 0.0f;
    const auto centre = [&] {
        float c[3] = {0, 0, 0};
        int n = 0;
        for (const vtx& v : capture_drawing([&] { ACF_draw_part(P, 0); }, 3.0f).vertices())
            c[0] += v.x, c[1] += v.y, c[2] += v.z, ++n;
        return std::array<float, 3>{c[0] / n, c[1] / n, c[2] / n};
    };
    const struct {
        float arm_y, arm_z, vect_cant, side_cant, dx, dy, dz;
    } rows[] = {
        {0.5f, -0.2f, 0.0f, 0.0f, 0.0f, 0.5f, -0.2f},
        {0.5f, 0.0f, 90.0f, 0.0f, 0.0f, 0.0f, 0.5f},
        {0.5f, -0.2f, 0.0f, 90.0f, 0.2f, 0.5f, 0.0f},
    };
    for (const auto& r : rows) {
        a.acf_vect_cant[0] = r.vect_cant, a.acf_sidecant[0] = r.side_cant;
        a.acf_vectarmY = a.acf_vectarmZ = 0.0f;
        const std::array<float, 3> still = centre();
        a.acf_vectarmY = r.arm_y, a.acf_vectarmZ = r.arm_z;
        const std::array<float, 3> moved = centre();
        EXPECT_NEAR(moved[0] - still[0], r.dx, 1e-3f) << r.vect_cant << " " << r.side_cant;
        EXPECT_NEAR(moved[1] - still[1], r.dy, 1e-3f) << r.vect_cant << " " << r.side_cant;
        EXPECT_NEAR(moved[2] - still[2], r.dz, 1e-3f) << r.vect_cant << " " << r.side_cant;
    }
}

TEST_F(Gear, WheelLayoutsStrutSteeringAndSkids)
{
    // Type 6: six tyres in three rows; type 8: the first at -1.5 W, not -2 W.
    gear(67, 6, 0.0f, -1.0f, 0.0f);
    std::set<point> six;
    for (float z : {-2.5f * R8, 0.0f, 2.5f * R8})
        for (float x : {-1.5f * W, 1.5f * W}) six.insert(at(x + W, -1.0f, z));
    EXPECT_EQ(points_with_t(draw(67), TYRE_RIGHT_CENTRE_T), six);
    a.acf_gear_type[67] = 8;
    const std::set<point> eight = points_with_t(draw(67), TYRE_RIGHT_CENTRE_T);
    EXPECT_EQ(eight.size(), 6u);
    EXPECT_TRUE(eight.count(at(-0.5f * W, -1.0f, -2.0f * R8)) && !eight.count(at(-W, -1.0f, -2.0f * R8)));
    // The other layouts, offsets in W across and R8 along.
    const std::vector<std::pair<float, float>> layouts[] = {
        {{0, 0}},
        {{-1.5f, 0}, {1.5f, 0}},
        {{0, -1.5f}, {0, 1.5f}},
        {{-1.5f, -1.5f}, {1.5f, -1.5f}, {-1.5f, 1.5f}, {1.5f, 1.5f}},
        {},
        {{-1.5f, 0}, {1.5f, 0}, {-4.5f, 0}, {4.5f, 0}},
    };
    for (int type = 2; type <= 7; ++type) {
        if (type == 6) continue;
        a.acf_gear_type[67] = type;
        std::set<point> want;
        for (const auto& [x, z] : layouts[type - 2]) want.insert(at(x * W + W, -1.0f, z * R8));
        EXPECT_EQ(points_with_t(draw(67), TYRE_RIGHT_CENTRE_T), want) << "type " << type;
    }
    a.acf_gear_type[67] = 9;   // no such layout: no tyre
    EXPECT_TRUE(points_with_t(draw(67), TYRE_RIGHT_CENTRE_T).empty());

    // The strut: a tube of nine columns (18 vertices, the last column on the
    // first), a quarter of the tyre's radius, from the wheel point up to the arm.
    a.acf_gear_type[67] = 2;
    const capture straight = draw(67);
    const std::set<point> strut_wheel = points_with_t(straight, STRUT_T_WHEEL), strut_arm = points_with_t(straight, STRUT_T_ARM);
    EXPECT_EQ(strut_wheel.size() + strut_arm.size(), 16u);
    for (const point& p : strut_wheel) EXPECT_NEAR(std::hypot(p[0], p[2]) * 1e-4f, 0.25f * R, 1e-3f);
    for (const point& p : strut_arm) EXPECT_EQ(p[1], 0);
    a.acf_gear_type[67] = 1;   // skids and floats: a strut as thick as the tyre
    for (const point& p : points_with_t(draw(67), STRUT_T_WHEEL)) EXPECT_NEAR(std::hypot(p[0], p[2]) * 1e-4f, R, 1e-3f);
    a.acf_gear_type[67] = 2;

    // Steering turns fairing and tyre about the vertical, not the strut.
    fairing(67);
    a.acf_gear_steers[67] = 1;
    f.nosewheel_steer = 20.0f;
    const capture steered = draw(67);
    const float G[3] = {0.0f, -1.0f, 0.0f}, down[3] = {0.0f, -1.0f, 0.0f}, face[3] = {W, -1.0f, 0.0f};
    const float corner[3] = {-0.45f, -0.7f, -0.35f};
    EXPECT_EQ(points_with_t(steered, STRUT_T_WHEEL), strut_wheel);
    const auto steered_face = turned(face, G, down, 20.0f);
    EXPECT_EQ(points_with_t(steered, TYRE_RIGHT_CENTRE_T), (std::set{at(steered_face[0], steered_face[1], steered_face[2])}));
    EXPECT_TRUE(steered.has(turned(corner, G, down, 20.0f).data()) && !steered.has(corner));

    // Skids: gear 67 pitched toward gear 69 behind it, 69 not at all; points
    // above one another pitch a quarter turn, coinciding ones not at all.
    f.nosewheel_steer = 0.0f;
    a.acf_gear_is_skid = 1;
    gear(69, 2, 0.0f, -1.5f, 2.0f);
    fairing(69);
    const float corner69[3] = {-0.45f, -1.2f, 1.65f}, pitch_axis[3] = {-1.0f, 0.0f, 0.0f};
    EXPECT_TRUE(draw(69).has(corner69));
    for (const auto& [y69, z69, deg] : {std::tuple{-1.5f, 2.0f, std::atan(0.25f) / DEG}, std::tuple{-1.5f, 0.0f, 90.0f},
                                        std::tuple{-1.0f, 0.0f, 0.0f}}) {
        a.acf_gear_ynodef[69] = y69, a.acf_gear_znodef[69] = z69;
        EXPECT_TRUE(draw(67).has(turned(corner, G, pitch_axis, -deg).data())) << deg;
    }
}

// A nacelle follows its engine's vertical cant; the leg's retraction angles
// turn the fairing about the wheel point, each about its own axis.
TEST_F(Gear, NacelleCantAndLegRetractionTurnWhatTheyCarry)
{
    a.acf_Xarm[53] = 1.0f;
    geo(P).part_vertex[53][0][0][2] = -2.0f;   // the nacelle's nose, 2 m ahead of its arm
    a.acf_vect_cant[0] = 30.0f;
    const float nose[3] = {1.0f, 1.0f, -1.7320508f};   // turned nose up by 30 degrees
    EXPECT_TRUE(draw(53).has(nose));

    gear(67, 0, 0.0f, -1.0f, 0.0f);
    fairing(67);
    struct row {
        const char* what;
        float lonE, lonN, latE, latN, axiN;
        float x, y, z;   // fairing point (row 0, point 0) at (-0.45, 0.3, -0.35) from the wheel point, turned
    } rows[] = {
        {"fore-aft: 90 about -x", 90.0f, 0.0f, 0.0f, 0.0f, 0.0f, -0.45f, -1.35f, -0.3f},
        {"sideways: 90 about z", 0.0f, 0.0f, 0.0f, 90.0f, 0.0f, -0.3f, -1.45f, -0.35f},
        {"about the leg: 90 about y", 0.0f, 0.0f, 0.0f, 0.0f, 90.0f, -0.35f, -0.7f, 0.45f},
    };
    for (const row& r : rows) {
        a.acf_gear_lonE[67] = r.lonE, a.acf_gear_lonN[67] = r.lonN;
        a.acf_gear_latE[67] = r.latE, a.acf_gear_latN[67] = r.latN;
        a.acf_gear_axiN[67] = r.axiN;
        const float want[3] = {r.x, r.y, r.z};
        EXPECT_TRUE(draw(67).has(want)) << r.what;
    }
}
