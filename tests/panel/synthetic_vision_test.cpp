// Synthetic vision and the weapon camera on the offscreen context: the land
// and water passes by the textures they bind (the texture kit's seam) and
// by the strips they draw (feedback mode), the overhead sky read back, the
// pages of several instruments, and the weapon camera's steering.
#include "tests/panel/panel_fixture.h"

#include "core/constants.h"
#include "core/texture_slots.h"
#include "core/weapon_kinds.h"
#include "panel/glass/glass.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

class SyntheticVision : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        screen.screen_area_left = 512.0f;
        screen.screen_area_bottom = 300.0f;
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
}

TEST_F(SyntheticVision, ThirdInstrumentSharesTheFirstsPage)
{
    EXPECT_TRUE(needles(draw(191, 0), 51).empty());    // page 0: the picture
    EXPECT_EQ(needles(draw(191, 1), 51).size(), 1u);   // page 1: the map
    // The map button of the third instrument turns the first one's page.
    mouse.mouse_x = 512.0f - 54.0f, mouse.mouse_y = 300.0f - 150.0f, mouse.mouse_down = mouse.mouse_held = 1;
    draw(191, 2);
    mouse = mouse_record{};
    EXPECT_EQ(synthetic_vision.page[0], 1);
    EXPECT_EQ(needles(draw(191, 0), 51).size(), 1u);
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
    steer_at(15.0f, -62.0f);   // the box's edge
    EXPECT_EQ(w[3].wpn_yaw_cmd, 1.0f);
    EXPECT_EQ(w[3].wpn_pitch_cmd, 0.0f);
    EXPECT_EQ(w[7].wpn_yaw_cmd, 0.0f);
    steer_at(-4.5f, -47.0f);
    EXPECT_EQ(w[3].wpn_yaw_cmd, -0.5f);
    EXPECT_EQ(w[3].wpn_pitch_cmd, -1.0f);
    steer_at(15.5f, -62.0f);   // outside: unchanged
    EXPECT_EQ(w[3].wpn_yaw_cmd, -0.5f);
    // Disarmed: nothing drawn, nothing steered.
    sim_cockpit_weapons.bombs_armed = 0;
    EXPECT_TRUE(draw(435).empty());
}

}   // namespace
