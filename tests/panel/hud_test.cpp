// The head-up display drawn on the offscreen context and read back from
// feedback mode: ladder rungs, markers, tapes and deviation bars, the colour
// by brightness and mode, the terrain box ahead of the viewer and the world
// symbols of nearby runways.
#include "tests/panel/panel_fixture.h"

#include "panel/hud/hud.h"
#include "scene/scene_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/scenery_area.h"

namespace {

struct line2 {
    float x1, y1, x2, y2, r, g, b, a;
    float length() const { return std::hypot(x2 - x1, y2 - y1); }
};

std::vector<line2> lines_of(const std::vector<fb_prim>& prims)
{
    std::vector<line2> out;
    for (const fb_prim& p : prims)
        if ((p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) && p.v.size() == 2)
            out.push_back({p.v[0].x, p.v[0].y, p.v[1].x, p.v[1].y, p.v[0].r, p.v[0].g, p.v[0].b, p.v[0].a});
    return out;
}

// The drawn glyphs of font 109 that show character c.
std::vector<fb_rect> glyphs(const std::vector<fb_prim>& prims, int c)
{
    std::vector<fb_rect> out;
    for (const fb_rect& r : rects_of(prims))
        if (glyph_of(109, r) == c) out.push_back(r);
    return out;
}

class Hud : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        sim_graphics_view.field_of_view_deg = 90.0f;   // k = 512 units per unit of tangent
        sim_graphics_view.view_zoom = 1.0f;
        screen.ui_side_margin = 0.0f;
        sim_cockpit_electrical.HUD_brightness = 0.75f;
        flt[0].vz_acf_axis = -60.0f;   // flying straight ahead
    }
    static std::vector<fb_prim> draw(int mode)
    {
        return capture_feedback([mode] { HUD_draw(200.0f, 50.0f, 824.0f, 718.0f, mode); });
    }
    static constexpr float cx = 512.0f, cy = 384.0f;
};

TEST_F(Hud, LevelLadderRungsAndTheirRoll)
{
    const auto ls = lines_of(draw(0));
    auto solid_at = [&ls](float y) {
        std::vector<line2> at;
        for (const line2& l : ls)
            if (std::fabs(l.y1 - y) < 0.05f && std::fabs(l.y2 - y) < 0.05f && l.length() > 12.0f) at.push_back(l);
        return at;
    };
    const auto horizon = solid_at(cy), ten = solid_at(cy + std::tan(10.0f * 0.0174533f) * 512.0f),
               five = solid_at(cy + std::tan(5.0f * 0.0174533f) * 512.0f);
    ASSERT_EQ(horizon.size(), 1u);
    EXPECT_NEAR(horizon[0].length(), 240.0f, 0.05f);
    EXPECT_NEAR((horizon[0].x1 + horizon[0].x2) * 0.5f, cx, 0.05f);
    ASSERT_EQ(ten.size(), 1u);
    EXPECT_NEAR(ten[0].length(), 60.0f, 0.05f);
    ASSERT_EQ(five.size(), 1u);
    EXPECT_NEAR(five[0].length(), 30.0f, 0.05f);
    // Below the horizon: six dashes of 6 units spread over 2s.
    const float y = cy - std::tan(10.0f * 0.0174533f) * 512.0f;
    int dashes = 0;
    float lo = 1e9f, hi = -1e9f;
    for (const line2& l : ls)
        if (std::fabs(l.y1 - y) < 0.05f) ++dashes, lo = std::min({lo, l.x1, l.x2}), hi = std::max({hi, l.x1, l.x2});
    EXPECT_EQ(dashes, 6);
    EXPECT_NEAR(hi - lo, 66.0f, 0.05f);
    // Bright colour row 50.
    EXPECT_NEAR(horizon[0].g, 1.0f, 0.01f);
    EXPECT_NEAR(horizon[0].r, 0.1f, 0.01f);

    // Rolled 30 degrees right and pitched up 10: the 10-degree rung turns
    // about the centre, through it, tilted 30 degrees counter-clockwise.
    flt[0].phi = 30.0f, flt[0].theta = 10.0f;
    bool found = false;
    for (const line2& l : lines_of(draw(0))) {
        if (std::fabs(l.length() - 60.0f) > 0.05f) continue;
        const float mx = (l.x1 + l.x2) * 0.5f, my = (l.y1 + l.y2) * 0.5f;
        if (std::hypot(mx - cx, my - cy) > 0.05f) continue;
        found = true;
        EXPECT_NEAR(std::atan2(l.y2 - l.y1, l.x2 - l.x1) * 57.29578f, 30.0f, 0.05f);
    }
    EXPECT_TRUE(found);
}

TEST_F(Hud, BrightnessOfOneHalfIsDim)
{
    sim_cockpit_electrical.HUD_brightness = 0.5f;
    const auto prims = draw(0);
    const auto ls = lines_of(prims);
    ASSERT_FALSE(ls.empty());
    for (const line2& l : ls) {
        EXPECT_NEAR(l.g, 0.6f, 0.01f);
        EXPECT_NEAR(l.r, 0.0f, 0.01f);
    }
    const auto plus = glyphs(prims, '+');
    ASSERT_EQ(plus.size(), 1u);
    EXPECT_NEAR(plus[0].g, 0.6f, 0.01f);
}

TEST_F(Hud, MarkersFollowTheFlightPath)
{
    // Hovering still: both markers at the boresight.
    flt[0].vz_acf_axis = 0.0f;
    auto prims = draw(0);
    const auto plus = glyphs(prims, '+');
    ASSERT_EQ(plus.size(), 1u);
    for (int c : {'o', 'x'}) {
        const auto m = glyphs(prims, c);
        ASSERT_EQ(m.size(), 1u) << char(c);
        EXPECT_NEAR(m[0].x1, plus[0].x1, 0.05f);
        EXPECT_NEAR(m[0].y1, plus[0].y1 + 1.0f, 0.05f);
    }
    // Forward and sinking at 45 degrees: the marker lies 512 units below; the rear marker sits on the box's clamps.
    flt[0].vz_acf_axis = -50.0f, flt[0].vy_acf_axis = -50.0f, flt[0].vx_acf_axis = 0.0f;
    prims = draw(0);
    const auto o = glyphs(prims, 'o'), x = glyphs(prims, 'x');
    ASSERT_EQ(o.size(), 1u);
    ASSERT_EQ(x.size(), 1u);
    const float pen_y = plus[0].y1 - (cy - 3.0f);   // the glyph's offset from its pen
    EXPECT_NEAR(o[0].y1 - pen_y, std::max(cy - 512.0f, 52.0f) - 2.0f, 0.05f);
    EXPECT_NEAR(o[0].x1, plus[0].x1, 0.05f);
    EXPECT_NEAR(x[0].y1 - pen_y, 716.0f - 2.0f, 0.05f);   // atan2(-50, 0) = -90: clamped high

    // Forward and sliding right at one part in five: the marker stands
    // 512 x 0.2 = 102.4 units right of the boresight, level with it.
    flt[0].vz_acf_axis = -50.0f, flt[0].vy_acf_axis = 0.0f, flt[0].vx_acf_axis = 10.0f;
    prims = draw(0);
    const auto right = glyphs(prims, 'o');
    ASSERT_EQ(right.size(), 1u);
    EXPECT_NEAR(right[0].x1, plus[0].x1 + 102.4f, 0.6f);   // glyphs stand on whole units
    EXPECT_NEAR(right[0].y1, plus[0].y1 + 1.0f, 0.05f);
}

// The tapes' ticks: speed every 5 kt at 2 units a knot, altitude every
// 100 ft at 10 units, heading every 5 degrees at 5 units; the altitude
// readout starts 534 units right of the speed readout (x2 - 57 against x1 + 33).
TEST_F(Hud, TapeTicksAndTheReadouts)
{
    flt[0].indicated_airspeed = 0.0f, flt[0].h_ind = 0.0f, flt[0].magpsi = 90.0f;
    const auto prims = draw(0);
    auto gaps = [](std::vector<float> at) {
        std::sort(at.begin(), at.end());
        std::vector<float> g;
        for (size_t k = 1; k < at.size(); ++k) g.push_back(at[k] - at[k - 1]);
        return g;
    };
    std::vector<float> speed, altitude, heading;
    for (const fb_rect& r : glyphs(prims, '_')) (r.x1 < cx ? speed : altitude).push_back(r.y1);
    for (const fb_rect& r : glyphs(prims, '|')) heading.push_back(r.x1);
    for (const auto& [ticks, gap] : {std::pair{gaps(speed), 10.0f}, std::pair{gaps(altitude), 10.0f}, std::pair{gaps(heading), 25.0f}}) {
        ASSERT_GE(ticks.size(), 5u) << gap;
        for (float g : ticks) EXPECT_NEAR(g, gap, 1.01f) << gap;
    }
    float speed_x = 1e9f, altitude_x = 1e9f;
    for (const fb_rect& r : glyphs(prims, '0')) {
        if (std::fabs(r.y1 - glyphs(prims, '+')[0].y1) > 1.5f) continue;
        if (r.x1 > 225.0f && r.x1 < 300.0f) speed_x = std::min(speed_x, r.x1);
        if (r.x1 > 700.0f && r.x1 < 790.0f) altitude_x = std::min(altitude_x, r.x1);
    }
    EXPECT_NEAR(altitude_x - speed_x, 534.0f, 0.05f);
}

TEST_F(Hud, SyntheticModeDrawsTheReducedSet)
{
    sim_cockpit_radios.nav_type[0] = 3;
    auto prims = draw(1);
    EXPECT_TRUE(lines_of(prims).empty());   // no ladder, no deviation bars
    for (int c : {'o', 'x', '^', '|'}) EXPECT_TRUE(glyphs(prims, c).empty()) << char(c);
    ASSERT_EQ(glyphs(prims, '+').size(), 1u);
    EXPECT_NEAR(glyphs(prims, '+')[0].r, 1.0f, 0.01f);   // white
    EXPECT_FALSE(glyphs(prims, '_').empty());              // the speed and altitude tapes
    // The altitude tape stands on the ground band (brown, row 62), the speed tape on none.
    const auto rects = rects_of(prims);
    EXPECT_EQ(std::count_if(rects.begin(), rects.end(), [](const fb_rect& r) {
                  return std::fabs(r.r - 0.5f) + std::fabs(r.g - 0.3f) + r.b < 0.02f && std::fabs(r.x1 - 804.0f) < 0.5f;
              }), 1);
    // The view's display has the heading tape and its caret.
    prims = draw(0);
    EXPECT_FALSE(glyphs(prims, '|').empty());
    EXPECT_EQ(glyphs(prims, '^').size(), 1u);
}

TEST_F(Hud, DeviationBarsUnlessTheDisplayDrawsOnTheWorld)
{
    sim_cockpit_radios.nav_type[0] = 3;
    sim_cockpit_radios.nav1_hdef_dot[0] = 1.0f;
    sim_cockpit_radios.nav1_vdef_dot[0] = -2.0f;
    auto bars = [] {
        int vertical = 0, horizontal = 0;
        for (const line2& l : lines_of(draw(0))) {
            if (std::fabs(l.x1 - (cx + 12.5f)) < 0.05f && std::fabs(l.x2 - l.x1) < 0.01f &&
                std::fabs(l.length() - 120.0f) < 0.05f)
                ++vertical;
            if (std::fabs(l.y1 - (cy + 24.5f)) < 0.05f && std::fabs(l.y2 - l.y1) < 0.01f &&
                std::fabs(l.length() - 120.0f) < 0.05f)
                ++horizontal;
        }
        return std::make_pair(vertical, horizontal);
    };
    EXPECT_EQ(bars(), std::make_pair(1, 1));
    acf_HUD_type = HUD_KIND_WORLD;
    EXPECT_EQ(bars(), std::make_pair(0, 0));
    // Without power nothing at all.
    sim_cockpit_electrical.battery_on = 0;
    EXPECT_TRUE(draw(0).empty());
}

TEST_F(Hud, ViewBoxQuadrants)
{
    scenery_area = {-225000.0f, 225000.0f, -200000.0f, 200000.0f};   // 1 km cells
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    const struct { float heading; hud_view_box want; } cases[] = {
        {0.0f, {88, 198, 112, 212, -9995, -10007, 10005, -7}},
        {44.9f, {88, 198, 112, 212, -9995, -10007, 10005, -7}},
        {45.0f, {98, 188, 112, 212, 5, -10007, 10005, 9993}},
        {135.0f, {88, 188, 112, 202, -9995, -7, 10005, 9993}},
        {225.0f, {88, 188, 102, 212, -9995, -10007, 5, 9993}},
        {315.0f, {88, 198, 112, 212, -9995, -10007, 10005, -7}},
    };
    for (const auto& c : cases) {
        const hud_view_box b = HUD_view_box(100, 200, 5, -7, c.heading, 10000.0f);
        EXPECT_EQ(b.cell_x_lo, c.want.cell_x_lo) << c.heading;
        EXPECT_EQ(b.cell_z_lo, c.want.cell_z_lo) << c.heading;
        EXPECT_EQ(b.cell_x_hi, c.want.cell_x_hi) << c.heading;
        EXPECT_EQ(b.cell_z_hi, c.want.cell_z_hi) << c.heading;
        EXPECT_FLOAT_EQ(b.x_lo, c.want.x_lo) << c.heading;
        EXPECT_FLOAT_EQ(b.z_lo, c.want.z_lo) << c.heading;
        EXPECT_FLOAT_EQ(b.x_hi, c.want.x_hi) << c.heading;
        EXPECT_FLOAT_EQ(b.z_hi, c.want.z_hi) << c.heading;
    }
    // An empty area cannot make the cell count unbounded.
    scenery_area = {0.0f, 0.0f, 0.0f, 0.0f};
    const hud_view_box b = HUD_view_box(0, 0, 0, 0, 0.0f, 10000.0f);
    EXPECT_LE(b.cell_x_hi, 4096);
}

class HudWorld : public Hud {
protected:
    void SetUp() override
    {
        Hud::SetUp();
        NAV_clear_tables();
        runway_geometry_table.clear();
        local_airport_last = -1;   // no airports of a program started by an earlier test
        scenery_area = {-225000.0f, 225000.0f, -200000.0f, 200000.0f};
        camera_cell = {225, 200};
        flt[0].local_x = flt[0].local_z = 0.0f, flt[0].psi = 0.0f;
        sim_graphics_view.view_x = sim_graphics_view.view_z = 0.0f;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        runway_geometry_table.clear();
        local_airport_last = -1;
        Hud::TearDown();
    }
    // The world symbols seen from above, the whole loaded area in the view volume.
    static std::vector<fb_prim> from_above(const std::function<void()>& draw)
    {
        return capture_feedback([&draw] {
            glMatrixMode(GL_PROJECTION);
            glPushMatrix();
            glLoadIdentity();
            glOrtho(-250000.0, 250000.0, -250000.0, 250000.0, -1.0e6, 1.0e6);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glLoadIdentity();
            glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
            draw();
            glPopMatrix();
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
        });
    }
    // An airport whose runways run between the given first-left and last-right points.
    static void airport(const std::vector<std::pair<std::array<float, 3>, std::array<float, 3>>>& runways,
                        const char* first_number = "36")
    {
        airport_record a{};
        for (size_t r = 0; r < runways.size(); ++r) {
            runway_record rr{};
            std::snprintf(rr.number, sizeof rr.number, "%s", r == 0 ? first_number : "18");
            rr.geometry_index = static_cast<int32_t>(runway_geometry_table.size());
            runway_geometry_record g;
            runway_section s1{}, s2{};
            for (int k = 0; k < 3; ++k) s1.left[k] = runways[r].first[k], s2.right[k] = runways[r].second[k];
            s1.right[0] = s1.left[0] + 40.0f, s1.right[2] = s1.left[2];
            s2.left[0] = s2.right[0] - 40.0f, s2.left[2] = s2.right[2];
            g.sections = {s1, s2};
            runway_geometry_table.push_back(g);
            a.runways.push_back(rr);
        }
        airport_table.push_back(a);
        local_airport_list[++local_airport_last] = static_cast<int32_t>(airport_table.size() - 1);
    }
};

TEST_F(HudWorld, RunwaysNearTheBoxGetOutlinesAndBrackets)
{
    // One runway ahead, one whose ends both lie far to the sides although its
    // middle crosses the box, and a taxiway.
    airport({{{-20.0f, 0.0f, -5000.0f}, {20.0f, 0.0f, -7000.0f}}, {{-30000.0f, 0.0f, -5000.0f}, {30000.0f, 0.0f, -5000.0f}}});
    airport({{{-20.0f, 0.0f, -5000.0f}, {20.0f, 0.0f, -7000.0f}}}, "xA");
    auto ls = lines_of(from_above([] { HUD_draw_world_symbols(1); }));
    // Four outline lines and 15 brackets of three lines at each end.
    ASSERT_EQ(ls.size(), 4u + 2u * 45u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(ls[k].r, 1.0f, 0.01f);
        EXPECT_NEAR(ls[k].a, 1.0f, 0.01f);
    }
    EXPECT_NEAR(ls[4].r, 0.8f, 0.01f);
    EXPECT_NEAR(ls[4].a, 0.5f - 0.1f / 6.0f, 0.01f);
    // Beyond 6 nm from the camera: the outline alone.
    sim_graphics_view.view_z = 20000.0f;
    EXPECT_EQ(lines_of(from_above([] { HUD_draw_world_symbols(1); })).size(), 4u);
}

TEST_F(HudWorld, ApproachBracketsRiseAlongTheExtendedCentreLineAndFade)
{
    // A runway heading north (heading 0) whose first end is centred at (0, 0, -5000).
    airport({{{-20.0f, 0.0f, -5000.0f}, {20.0f, 0.0f, -7000.0f}}});
    // Seen from the side, 10 km either way: window x, y back to world x, y.
    GLint vp[4] = {};
    const auto prims = capture_feedback([&vp] {
        glGetIntegerv(GL_VIEWPORT, vp);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-10000.0, 10000.0, -10000.0, 10000.0, -1.0e6, 1.0e6);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        HUD_draw_world_symbols(1);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    });
    const auto ls = lines_of(prims);
    ASSERT_EQ(ls.size(), 4u + 2u * 45u);
    auto wx = [&vp](float x) { return (x - static_cast<float>(vp[0])) / static_cast<float>(vp[2]) * 20000.0f - 10000.0f; };
    auto wy = [&vp](float y) { return (y - static_cast<float>(vp[1])) / static_cast<float>(vp[3]) * 20000.0f - 10000.0f; };
    // Bracket n at d = 0.1 + 0.2 n nautical miles: half size h = max(d x 0.01, 10) metres,
    // centre rising 0.05 d, legs 2h either side, opacity 0.5 - d / 6.
    for (int n = 0; n < 15; ++n) {
        const float d_nm = 0.1f + 0.2f * static_cast<float>(n), d = d_nm * 1852.0f;
        const float h = std::max(d * 0.01f, 10.0f), centre = 0.05f * d;
        const line2& left = ls[4 + 3 * n];
        const line2& right = ls[5 + 3 * n];
        const line2& bar = ls[6 + 3 * n];
        EXPECT_NEAR(wx(left.x1), -2.0f * h, 0.5f) << n;
        EXPECT_NEAR(wx(right.x1), 2.0f * h, 0.5f) << n;
        EXPECT_NEAR(wy(left.y1), centre + h, 0.5f) << n;
        EXPECT_NEAR(wy(left.y2), centre - h, 0.5f) << n;
        EXPECT_NEAR(wy(bar.y1), centre - h, 0.5f) << n;
        EXPECT_NEAR(wx(bar.x2) - wx(bar.x1), 4.0f * h, 0.5f) << n;
        EXPECT_NEAR(left.a, std::clamp(0.5f - d_nm / 6.0f, 0.0f, 0.5f), 0.002f) << n;
    }
}

TEST_F(HudWorld, TerrainMeshStaysInsideTheGridAtItsEdges)
{
    for (auto cell : {camera_cell_record{449, 399}, camera_cell_record{0, 0}, camera_cell_record{-500, 9000}}) {
        camera_cell = cell;
        for (float psi : {0.0f, 90.0f, 180.0f, 270.0f}) {
            flt[0].psi = psi;
            from_above([] { HUD_draw_world_symbols(0); });   // the sanitizers watch the reads
        }
    }
    // Well inside the grid, looking north: 10 nm is 20 cells (+2), so 40 columns
    // of 22 cells, two lines each.
    camera_cell = {225, 200};
    flt[0].psi = 0.0f;
    EXPECT_EQ(lines_of(from_above([] { HUD_draw_world_symbols(0); })).size(), 2u * 40u * 22u);
    // Cells closer than 20 on both axes take the near colour (row 64 when
    // bright), the column 20 to the west the far one (row 71): 39 x 22 and 1 x 22.
    size_t near = 0, far = 0;
    for (const line2& l : lines_of(from_above([] { HUD_draw_world_symbols(0); }))) {
        if (std::fabs(l.g - 0.6f) < 0.01f) ++near;
        if (std::fabs(l.g - 0.4f) < 0.01f) ++far;
    }
    EXPECT_EQ(near, 2u * 39u * 22u);
    EXPECT_EQ(far, 2u * 22u);
}

}   // namespace
