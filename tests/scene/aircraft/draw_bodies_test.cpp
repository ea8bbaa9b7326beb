// Propeller blades and discs, and the landing gear with its strut, fairing
// and wheels, in feedback mode.
#include <algorithm>
#include <set>

#include "tests/scene/aircraft/draw_fixture.h"

using namespace draw_test;

namespace {

// Triangles of the disc: its colour's alpha is the disc's.
int disc_triangles(const capture& c, float alpha)
{
    int n = 0;
    for (const prim& p : c.prims)
        if (p.kind == 3 && std::fabs(p.v[0].a - alpha) < 1e-3f) ++n;
    return n;
}

// Distinct points of the vertices whose texture t is `t` (1e-6), rounded to 0.1 mm.
std::set<std::array<int, 3>> points_with_t(const capture& c, float t)
{
    std::set<std::array<int, 3>> out;
    for (const vtx& v : c.vertices())
        if (std::fabs(v.t - t) < 1e-6f) out.insert({int(std::lround(v.x * 1e4f)), int(std::lround(v.y * 1e4f)), int(std::lround(v.z * 1e4f))});
    return out;
}
std::array<int, 3> at(float x, float y, float z) { return {int(std::lround(x * 1e4f)), int(std::lround(y * 1e4f)), int(std::lround(z * 1e4f))}; }

constexpr float WHEEL_RIGHT_CENTRE_T = 0.126953125f;   // the texture t of a tyre's right face centre
constexpr float STRUT_T_END = 131.0f / 1024.0f, STRUT_T_WHEEL = 259.0f / 1024.0f;

class Bodies : public AircraftDraw {
protected:
    static constexpr float R = 0.5f, W = 0.2f, R8 = 0.8f * R;
    // Gear part p of type `type` with its wheel point at (x, y, z) under the leg's arm at (x, 0, z).
    void gear(int p, int type, float x, float y, float z)
    {
        a.acf_part_eq[p] = 1;
        a.acf_gear_type[p] = type;
        a.acf_gear_tirrad[p] = R, a.acf_gear_tirwid[p] = W;
        a.acf_gear_xnodef[p] = x, a.acf_gear_ynodef[p] = y, a.acf_gear_znodef[p] = z;
        a.acf_Xarm[p] = x, a.acf_Yarm[p] = 0.0f, a.acf_Zarm[p] = z;
    }
    // A fairing for gear p: 8 rings of 10 points in the wheel point's frame.
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
// a disc of 36 translucent triangles about the hub, fainter seen from the
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

    f.POINT_tacrad[0] = 15.01f;
    c = capture_drawing([&] { ACF_draw_plane(P, 1); }, 3.0f);
    EXPECT_EQ(disc_triangles(c, 0.2f), 36);
    EXPECT_EQ(int(c.prims.size()), 36);   // and nothing else: no blades
    const float hub[3] = {0.0f, 0.0f, -1.0f};
    for (const prim& t : c.prims) {
        EXPECT_TRUE(std::any_of(t.v.begin(), t.v.end(), [&](const vtx& v) { return v.dist(hub) < 1e-3f; }));
        for (const vtx& v : t.v) EXPECT_TRUE(v.dist(hub) < 1e-3f || std::fabs(v.dist(hub) - BLADE_M) < 1e-3f);
    }

    propeller_plane(0);
    flt[0].POINT_tacrad[0] = 20.0f;
    sim_graphics_view.view_is_external = 0;
    EXPECT_EQ(disc_triangles(capture_drawing([&] { ACF_draw_plane(0, 1); }, 3.0f), 0.1f), 36);
    sim_graphics_view.view_is_external = 1;
    EXPECT_EQ(disc_triangles(capture_drawing([&] { ACF_draw_plane(0, 1); }, 3.0f), 0.2f), 36);
    clear_plane(0);
}

TEST_F(Bodies, WheelLayoutsStrutSteeringAndSkids)
{
    // Type 6: six tyres in three rows; type 8: the first at -1.5 W, not -2 W.
    gear(67, 6, 0.0f, -1.0f, 0.0f);
    std::set<std::array<int, 3>> want;
    for (float z : {-2.5f * R8, 0.0f, 2.5f * R8})
        for (float x : {-1.5f * W, 1.5f * W}) want.insert(at(x + W, -1.0f, z));
    EXPECT_EQ(points_with_t(draw(67), WHEEL_RIGHT_CENTRE_T), want);
    a.acf_gear_type[67] = 8;
    const auto type8 = points_with_t(draw(67), WHEEL_RIGHT_CENTRE_T);
    EXPECT_EQ(type8.size(), 6u);
    EXPECT_TRUE(type8.count(at(-1.5f * W + W, -1.0f, -2.0f * R8)));
    EXPECT_FALSE(type8.count(at(-2.0f * W + W, -1.0f, -2.0f * R8)));
    a.acf_gear_type[67] = 9;   // no such layout: strut only
    EXPECT_TRUE(points_with_t(draw(67), WHEEL_RIGHT_CENTRE_T).empty());

    // The strut: a tube of nine columns, quarter the tyre's radius, from the
    // wheel point up to the leg's arm.
    a.acf_gear_type[67] = 2;
    capture c = draw(67);
    const auto strut_wheel = points_with_t(c, STRUT_T_WHEEL), strut_arm = points_with_t(c, STRUT_T_END);
    EXPECT_EQ(strut_wheel.size() + strut_arm.size(), 16u);   // 18 vertices, the first and last column in one place
    for (const auto& p : strut_wheel) EXPECT_NEAR(std::hypot(p[0], p[2]) * 1e-4f, 0.25f * R, 1e-3f);
    for (const auto& p : strut_arm) EXPECT_EQ(p[1], 0);

    // Steering turns fairing and tyre about the vertical, not the strut.
    fairing(67);
    a.acf_gear_steers[67] = 1;
    const capture straight = draw(67);
    f.nosewheel_steer = 20.0f;
    c = draw(67);
    const float G[3] = {0.0f, -1.0f, 0.0f}, down[3] = {0.0f, -1.0f, 0.0f};
    EXPECT_EQ(points_with_t(c, STRUT_T_WHEEL), points_with_t(straight, STRUT_T_WHEEL));
    const float face[3] = {W, -1.0f, 0.0f};
    const auto steered_face = turned(face, G, down, 20.0f);
    EXPECT_EQ(points_with_t(c, WHEEL_RIGHT_CENTRE_T),
              (std::set{at(steered_face[0], steered_face[1], steered_face[2])}));
    const float fairing_corner[3] = {-0.45f, -0.7f, -0.35f};
    EXPECT_TRUE(c.has(turned(fairing_corner, G, down, 20.0f).data()));
    EXPECT_FALSE(c.has(fairing_corner));

    // Skids: gear 67 pitched toward gear 69 behind it, 69 not at all; points
    // above one another pitch a quarter turn, coinciding ones not at all.
    f.nosewheel_steer = 0.0f;
    a.acf_gear_is_skid = 1;
    gear(69, 2, 0.0f, -1.5f, 2.0f);
    fairing(69);
    const float pitch = std::atan(0.5f / 2.0f) / DEG, pitch_axis[3] = {-1.0f, 0.0f, 0.0f};
    EXPECT_TRUE(draw(67).has(turned(fairing_corner, G, pitch_axis, -pitch).data()));
    const float corner69[3] = {-0.45f, -1.2f, 1.65f};
    EXPECT_TRUE(draw(69).has(corner69));
    for (const auto& [y69, z69, deg] : {std::tuple{-1.5f, 0.0f, 90.0f}, std::tuple{-1.0f, 0.0f, 0.0f}}) {
        a.acf_gear_ynodef[69] = y69, a.acf_gear_znodef[69] = z69;
        EXPECT_TRUE(draw(67).has(turned(fairing_corner, G, pitch_axis, -deg).data())) << deg;
    }
}
