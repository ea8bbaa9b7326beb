// Synthetic vision and the weapon camera on the offscreen context: the land
// and water passes by the textures they bind (the texture kit's seam) and
// by the strips they draw (feedback mode), the overhead sky read back, the
// pages of several instruments, and the weapon camera's steering.
#include "tests/panel/stack_fixture.h"

#include <cstring>

#include "core/constants.h"
#include "core/texture_slots.h"
#include "core/weapon_kinds.h"
#include "panel/glass/glass.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

class SyntheticVision : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        panel_at(512.0f, 300.0f);
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        // An area so wide that the terrain box is 2 cells each way: columns 10..14 and rows 18..22.
        scenery_area = {-1.0e9f, 1.0e9f, -1.0e9f, 1.0e9f};
        flt[0].i = 12, flt[0].j = 20;
        flt[0].local_x = flt[0].local_z = 0.0f;
        flt[0].psi = flt[0].theta = flt[0].phi = 0.0f;
        sim_graphics_view.view_x = sim_graphics_view.view_y = sim_graphics_view.view_z = 0.0f;
        // The grid laid out ahead of the camera, 100 m off, water along point column 12.
        for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
            for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
                const int k = TERRAIN_index(i, j);
                terrain_vertex_grid[k] = {static_cast<float>(i - 12), -10.0f, -100.0f - static_cast<float>(j - 20)};
                landuse_grid[k] = i == 12 ? LANDUSE_WATER_A : 1;
            }
        local_airport_last = -1;
        synthetic_vision = synthetic_vision_state{};
    }
    void TearDown() override
    {
        for (int k = 0; k < TERRAIN_GRID_POINTS; ++k) terrain_vertex_grid[k] = {}, landuse_grid[k] = 0;
        airport_table.clear();
        runway_geometry_table.clear();
        local_airport_last = -1;
        PanelTest::TearDown();
    }
    static std::vector<fb_prim> draw(int type, int counter = 0)
    {
        return in_slot(type, 1.0f, [counter] { PANEL_synthetic_vision(counter); });
    }
};

TEST_F(SyntheticVision, LandAndWaterPassesAndWhereTheirStripsMeet)
{
    const auto prims = draw(191);
    // Land binds slot 194, then water 195.
    std::vector<int> terrain_slots;
    for (const auto& [slot, unit] : binds.slots)
        if (slot == TEX_SLOT_HITS_1 || slot == TEX_SLOT_HITS_2) terrain_slots.push_back(slot);
    ASSERT_EQ(terrain_slots, (std::vector<int>{TEX_SLOT_HITS_1, TEX_SLOT_HITS_2}));

    // The terrain's triangles carry their column as s and 0 or 1 as t. Cells
    // 11 and 12 touch the water column: each row's land strips are 10..11 and
    // 13..14 (ending on the water cell's first pair), its water strip 11..13.
    std::vector<std::pair<float, float>> spans;   // s range of each triangle, in drawing order
    for (const fb_prim& p : prims) {
        if (p.token != GL_POLYGON_TOKEN || p.v.size() != 3) continue;
        bool terrain = true;
        float lo = 1e9f, hi = -1e9f;
        for (const fb_vertex& v : p.v) {
            terrain = terrain && std::fabs(v.s - std::round(v.s)) < 1e-3f && v.s >= 9.5f && v.s <= 14.5f &&
                      (std::fabs(v.t) < 1e-3f || std::fabs(v.t - 1.0f) < 1e-3f);
            lo = std::min(lo, v.s), hi = std::max(hi, v.s);
        }
        if (terrain) spans.emplace_back(std::round(lo), std::round(hi));
    }
    ASSERT_EQ(spans.size(), 32u);   // 4 rows, 4 land and 4 water triangles each
    for (size_t k = 0; k < 16; ++k) {
        const bool first_strip = spans[k].first == 10.0f && spans[k].second <= 11.0f;
        const bool second_strip = spans[k].first >= 13.0f && spans[k].second == 14.0f;
        EXPECT_TRUE(first_strip || second_strip) << k << ": " << spans[k].first << ".." << spans[k].second;
    }
    float water_lo = 1e9f, water_hi = -1e9f;
    for (size_t k = 16; k < 32; ++k) water_lo = std::min(water_lo, spans[k].first), water_hi = std::max(water_hi, spans[k].second);
    EXPECT_EQ(water_lo, 11.0f);
    EXPECT_EQ(water_hi, 13.0f);
}

// A paved runway of 41 sections textured `slot`, 60 m wide, 100 m below the
// camera, from 150 m to 950 m ahead (north) of it, centred on x.
runway_record runway_at(const char* number, int slot, float x)
{
    runway_geometry_record g;
    for (int k = 0; k < 41; ++k) {
        const float z = -150.0f - 20.0f * static_cast<float>(k);
        g.sections.push_back({slot, {x - 30.0f, -100.0f, z}, {x + 30.0f, -100.0f, z}});
    }
    runway_geometry_table.push_back(std::move(g));
    runway_record r{};
    std::strncpy(r.number, number, sizeof r.number - 1);
    r.geometry_index = static_cast<int>(runway_geometry_table.size()) - 1;
    r.surface_code = TEX_SLOT_LINE_ASPHALT;
    return r;
}

TEST_F(SyntheticVision, RunwayStripsOfTheNearbyAirportsInTheBox)
{
    // A stray airport elsewhere in the table; the nearby one lists two runways
    // ahead, a taxiway ahead and a runway beyond the box's 2000-m margin.
    airport_table.resize(2);
    airport_table[1].runways = {runway_at("09", 60, 0.0f), runway_at("xA", 61, 0.0f), runway_at("27", 62, 30000.0f),
                                runway_at("18", 100, 0.0f)};
    local_airport_list[0] = 1;
    local_airport_last = 0;

    const auto prims = draw(191);
    // The nearby runways in the box, the last first; no taxiway, no skid marks.
    std::vector<int> strip_slots;
    for (const auto& [slot, unit] : binds.slots)
        if ((slot == 60 || slot == 61 || slot == 62 || slot == 100 || slot == TEX_SLOT_SKIDS) &&
            (strip_slots.empty() || strip_slots.back() != slot))
            strip_slots.push_back(slot);
    EXPECT_EQ(strip_slots, (std::vector<int>{100, 60}));

    // The strips' quads carry s 0 or 1 and their section number as t: they lie
    // where the runway is, 90 degrees across the 166 x 148 window centred at
    // (512, 364): the near end 16.6 px each side of the middle, 49.3 px below
    // the horizon, the far end 2.6 px each side, 7.8 px below.
    float x1 = 1e9f, x2 = -1e9f, y1 = 1e9f, y2 = -1e9f;
    int quads = 0;
    for (const fb_prim& p : prims) {
        if (p.token != GL_POLYGON_TOKEN) continue;
        bool strip = true;
        float t_lo = 1e9f, t_hi = -1e9f;
        for (const fb_vertex& v : p.v) {
            strip = strip && (std::fabs(v.s) < 1e-4f || std::fabs(v.s - 1.0f) < 1e-4f) &&
                    std::fabs(v.t - std::round(v.t)) < 1e-4f;
            t_lo = std::min(t_lo, v.t), t_hi = std::max(t_hi, v.t);
        }
        if (!strip || t_hi - t_lo != 1.0f) continue;
        ++quads;
        for (const fb_vertex& v : p.v)
            x1 = std::min(x1, v.x), x2 = std::max(x2, v.x), y1 = std::min(y1, v.y), y2 = std::max(y2, v.y);
    }
    EXPECT_GE(quads, 2 * 40);   // both runways, every section
    EXPECT_NEAR(x1, 512.0f - 16.6f, 0.3f);
    EXPECT_NEAR(x2, 512.0f + 16.6f, 0.3f);
    EXPECT_NEAR(y1, 364.0f - 49.3f, 0.3f);
    EXPECT_NEAR(y2, 364.0f - 7.8f, 0.3f);
}

TEST_F(SyntheticVision, LookingStraightUpShowsTheOverheadSky)
{
    flt[0].theta = 90.0f;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    panel_ins_type = 191;
    panel_ins_scale = 1.0f;
    PANEL_synthetic_vision(0);
    unsigned char p[4] = {};
    glReadPixels(512 + 20, 300 + 64 + 15, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);   // beside the boresight
    EXPECT_NEAR(p[0], 0.14f * 255.0f, 2.0f);
    EXPECT_NEAR(p[1], 0.21f * 255.0f, 2.0f);
    EXPECT_NEAR(p[2], 0.35f * 255.0f, 2.0f);
    // The terrain's haze runs from 0.4 to 0.8 of 10 nautical miles in the haze colour, under a
    // grey light of half strength.
    float v[4] = {};
    glGetFloatv(GL_FOG_START, v);
    EXPECT_NEAR(v[0], 7408.0f, 0.5f);
    glGetFloatv(GL_FOG_END, v);
    EXPECT_NEAR(v[0], 14816.0f, 0.5f);
    glGetFloatv(GL_FOG_COLOR, v);
    EXPECT_NEAR(v[0], 0.49f * gload_dim_factor, 1e-3f);
    EXPECT_NEAR(v[1], 0.56f * gload_dim_factor, 1e-3f);
    EXPECT_NEAR(v[2], 0.70f * gload_dim_factor, 1e-3f);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    EXPECT_NEAR(v[1], 0.5f * gload_dim_factor, 1e-3f);
}

TEST_F(SyntheticVision, ThirdInstrumentSharesTheFirstsPage)
{
    EXPECT_TRUE(needles(draw(191, 0), 51).empty());    // page 0: the picture
    EXPECT_EQ(needles(draw(191, 1), 51).size(), 1u);   // page 1: the map
    // The map button of the third instrument turns the first one's page.
    mouse.mouse_x = 512.0f - 54.0f - 9.0f, mouse.mouse_y = 300.0f - 150.0f, mouse.mouse_down = mouse.mouse_held = 1;   // near its left edge
    draw(191, 2);
    mouse = mouse_record{};
    EXPECT_EQ(synthetic_vision.page[0], 1);
    EXPECT_EQ(needles(draw(191, 0), 51).size(), 1u);
    // At one and a half times the size the picture button's sprite sits on its
    // click spot, (-88, -150) times the size from the origin.
    synthetic_vision.page[0] = 0;
    int buttons = 0;
    for (const fb_rect& r : rects_of(in_slot(191, 1.5f, [] { PANEL_synthetic_vision(0); })))
        if (std::fabs((r.tx1 + r.tx2) * 0.5f - 400.0f) < 0.01f && std::fabs((r.ty1 + r.ty2) * 0.5f - 232.0f) < 0.01f) {
            ++buttons;
            EXPECT_NEAR((r.x1 + r.x2) * 0.5f, 512.0f - 132.0f, 0.01f);
            EXPECT_NEAR((r.y1 + r.y2) * 0.5f, 300.0f - 225.0f, 0.01f);
        }
    EXPECT_EQ(buttons, 1);
    // The barometer reads hundredths of an inch, or hectopascals by preference:
    // 29.92 x 100 = 2992, 29.92 x 33.8653 = 1013.25.
    sim_cockpit_misc.barometer_setting = 29.92f;
    for (const auto& [unit, reads] : {std::pair{0, "2992"}, std::pair{1, "1013"}}) {
        screen_settings.pressure_units_metric = unit;
        panel_ins_type = 191, panel_ins_scale = 1.0f;
        const auto lines = drawn_texts(110, 300.0f, [] { PANEL_synthetic_vision(0); });
        const std::string line = lines.count(-22) ? lines.at(-22) : "";
        EXPECT_NE(line.find(reads), std::string::npos) << line;
    }
    // The Mach number on the same line, with three decimals.
    flt[0].machno = 0.785f;
    const std::string mach = drawn_texts(110, 300.0f, [] { PANEL_synthetic_vision(0); })[-22];
    EXPECT_NE(mach.find("0.785"), std::string::npos) << mach;
    screen_settings.pressure_units_metric = 0;
    // Without avionics nothing at all.
    sim_cockpit_electrical.avionics_on = 0;
    EXPECT_TRUE(draw(191, 0).empty());
}

TEST_F(SyntheticVision, WeaponCameraSteersTheReleasedWeapon)
{
    sim_cockpit_weapons.bombs_armed = 1;
    wpn_slot_record* w = pln[0].acf_wpn_slot;
    w[3].wpn_type = WPN_KIND_BOMB_PRESS_2, w[3].wpn_released = 1;
    w[7].wpn_type = WPN_KIND_BOMB_PRESS;
    auto steer_at = [](float x, float y) {
        mouse.mouse_x = 512.0f + x, mouse.mouse_y = 300.0f + y, mouse.mouse_held = 1;
        draw(435);
        mouse = mouse_record{};
    };
    // The picture fills its window, x -62..62 and y -42..52 about the origin.
    float lo_x = 1e9f, hi_x = -1e9f, lo_y = 1e9f, hi_y = -1e9f;
    for (const fb_prim& p : draw(435))
        for (const auto& v : p.v)
            lo_x = std::min(lo_x, v.x), hi_x = std::max(hi_x, v.x), lo_y = std::min(lo_y, v.y), hi_y = std::max(hi_y, v.y);
    EXPECT_NEAR(lo_x, 512.0f - 62.0f, 0.5f);
    EXPECT_NEAR(hi_x, 512.0f + 62.0f, 0.5f);
    EXPECT_NEAR(lo_y, 300.0f - 42.0f, 0.5f);
    EXPECT_NEAR(hi_y, 300.0f + 52.0f, 0.5f);
    steer_at(15.0f, -62.0f);   // the box's edge
    EXPECT_EQ(w[3].wpn_yaw_cmd, 1.0f);
    EXPECT_EQ(w[3].wpn_pitch_cmd, 0.0f);
    EXPECT_EQ(w[7].wpn_yaw_cmd, 0.0f);
    steer_at(-4.5f, -47.0f);
    EXPECT_EQ(w[3].wpn_yaw_cmd, -0.5f);
    EXPECT_EQ(w[3].wpn_pitch_cmd, -1.0f);
    steer_at(15.5f, -62.0f);   // outside: unchanged
    EXPECT_EQ(w[3].wpn_yaw_cmd, -0.5f);
    // At scale 2 the box and its travel grow with the instrument.
    mouse.mouse_x = 512.0f + 18.0f, mouse.mouse_y = 300.0f - 124.0f, mouse.mouse_held = 1;
    in_slot(435, 2.0f, [] { PANEL_synthetic_vision(0); });
    mouse = mouse_record{};
    EXPECT_EQ(w[3].wpn_yaw_cmd, 1.0f);
    EXPECT_EQ(w[3].wpn_pitch_cmd, 0.0f);
    // Disarmed: nothing drawn, nothing steered.
    sim_cockpit_weapons.bombs_armed = 0;
    EXPECT_TRUE(draw(435).empty());
}

}   // namespace
