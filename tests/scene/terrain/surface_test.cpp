// The ground surface mesh on the offscreen context: the culling radius and
// the cells it marks, a top-down picture of land and water cells, the sea's
// motion, the passes a cell takes, the strips' texture phase, the second
// unit's splash, and the flat map's water.
#include "tests/scene/terrain/ground_fixture.h"

namespace {

constexpr int LAND_A = 0, LAND_B = 1, WATER = 2;

class Surface : public Ground {
protected:
    void SetUp() override
    {
        Ground::SetUp();
        landuse_texture_count = 3;
        std::memset(landuse_texture_water, 0, sizeof landuse_texture_water);
        landuse_texture_water[WATER] = 1;
        solid_texture(LAND_A, 200, 100, 40);
        solid_texture(LAND_B, 60, 160, 220);
        for (int s = TEX_SLOT_SEA_FIRST; s <= TEX_SLOT_SEA_LAST; ++s) solid_texture(s, 100, 200, 240);
        sim_weather.wave_speed = 0.0f;
        sim_weather.wave_dir = 0;
        surface_tint[0] = 0.5f, surface_tint[1] = 0.75f, surface_tint[2] = 1.0f;
        OGL_reset_bound_textures();
    }
    void TearDown() override
    {
        for (int s : {LAND_A, LAND_B}) texture_memory[s] = 0;
        Ground::TearDown();
    }

    // Cells (i, j) of the window: texture by column, water in one row band.
    static void lay_cells()
    {
        for (int i = 180; i <= 221; ++i)
            for (int j = 180; j <= 221; ++j)
                terrain_point_texture[TERRAIN_index(i, j)] = j == 198 ? WATER : (i < 200 ? LAND_A : LAND_B);
    }

    static std::array<int, 3> pixel_at(float x, float z)
    {
        unsigned char p[4] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(static_cast<int>(x + 512.0f), static_cast<int>(-z + 384.0f), 1, 1, GL_RGBA,
                     GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
};

}  // namespace

TEST_F(Surface, CullRadiusAndVisibleCellsMatchTheFootprint)
{
    // A footprint box 600 m wide looking north; the radius at lat_ref 33 is 1,450 m.
    lat_ref = 33.0f;
    view_footprint[0] = {-300, 2000}, view_footprint[1] = {-300, -3000};
    view_footprint[2] = {300, -3000}, view_footprint[3] = {300, 2000};
    terrain_window = {150, 150, 250, 250};
    std::memset(cell_visible, 0, sizeof cell_visible);
    SURFACE_draw_patch(terrain_vertex_grid, 3, 0, 1);
    EXPECT_EQ(scene_cull_margin, 1450.0f);

    const float h = 0.5f * 111120.0f / 200.0f, hx = h * std::cos(33.0f * 3.14159265f / 180.0f);
    int shown = 0;
    for (int i = 145; i <= 255; ++i)
        for (int j = 145; j <= 255; ++j) {
            const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
            const float cx = v.x + h, cz = v.z - hx;
            const bool in_window = i >= 150 && i <= 250 && j >= 150 && j <= 250;
            const bool expected = in_window && cx >= -1750.0f && cx <= 1750.0f && cz >= -4450.0f && cz <= 3450.0f;
            ASSERT_EQ(cell_visible[TERRAIN_index(i, j)] != 0, expected) << i << " " << j;
            shown += expected;
        }
    EXPECT_EQ(shown, 35 * 79);
}

TEST_F(Surface, TopDownPictureShowsEachCellsTextureLitAndTheSeaTinted)
{
    lay_cells();
    // Light from straight above: every land texel times 0.2 ambient + 0.6 diffuse.
    const GLfloat zero[4] = {0, 0, 0, 1}, ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.6f, 0.6f, 0.6f, 1};
    const GLfloat up[4] = {0, 1, 0, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, up);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 50000.0f), glFogf(GL_FOG_END, 60000.0f);
    glClearColor(0, 0, 0, 1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 1);
    const struct {
        int i, j;
        std::array<int, 3> rgb;
    } cells[] = {{195, 200, {160, 80, 32}}, {205, 200, {48, 128, 176}}, {195, 198, {50, 150, 240}}, {205, 198, {50, 150, 240}}};
    for (const auto& c : cells) {
        const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(c.i, c.j)];
        const std::array<int, 3> px = pixel_at(v.x + 50.0f, v.z - 50.0f);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(px[k], c.rgb[k], 3) << c.i << " " << c.j << " " << k;
    }
}

TEST_F(Surface, SeaMotionAndItsFrames)
{
    terrain_window = {0, 0, -1, -1};   // nothing drawn: the sea moves on all the same
    // No drift: one texture repeat spans 111.12 m on the Earth (200 a degree
    // of 111,120 m, five times over) and 347.25 m on Mars (64 a degree); the
    // texture turns with the wave direction, north running up t.
    const struct {
        int planet, dir;
        float x, z, s, t;
    } repeats[] = {
        {PLANET_EARTH, 90, 111.12f, 0.0f, 0.0f, 1.0f},
        {PLANET_EARTH, 0, 0.0f, -111.12f, 0.0f, 1.0f},
        {PLANET_EARTH, 0, 111.12f, 0.0f, 1.0f, 0.0f},
        {PLANET_MARS, 90, 347.25f, 0.0f, 0.0f, 1.0f},
    };
    float st[2];
    for (const auto& r : repeats) {
        sim_graphics_scenery.current_planet = r.planet;
        sim_weather.wave_dir = r.dir;
        SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0);
        SURFACE_wave_texcoord(r.x, r.z, st);
        EXPECT_NEAR(st[0], r.s, 1e-5f) << r.planet << " " << r.dir;
        EXPECT_NEAR(st[1], r.t, 1e-5f) << r.planet << " " << r.dir;
    }
    sim_graphics_scenery.current_planet = PLANET_EARTH;

    // A drift past 1000 comes back at -1000 plus the excess.
    surface_kept.wave_drift_x = 999.0f;
    sim_weather.wave_dir = 270;
    sim_weather.wave_speed = 10.0f;
    sim_operation_misc.frame_rate_period = 0.2f;
    SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0);
    EXPECT_NEAR(surface_kept.wave_drift_x, -999.0f, 1e-3f);

    // Phase 1.0 shows the sixteenth frame.
    lay_cells();
    whole_window_visible();
    sim_operation_misc.frame_rate_period = 0.0f;
    surface_kept.sea_anim_phase = 1.0f;
    bind_recording rec;
    SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0);
    EXPECT_TRUE(rec.was_bound(TEX_SLOT_SEA_LAST, 0));
    EXPECT_FALSE(rec.was_bound(TEX_SLOT_SEA_LAST - 1, 0));

    // The phase runs half a cycle a second: 0.4 s on from 0 it is 0.2, the
    // frame nearest 0.2 x 15 = 3.
    surface_kept.sea_anim_phase = 0.0f;
    sim_operation_misc.frame_rate_period = 0.4f;
    bind_recording later;
    SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0);
    EXPECT_NEAR(surface_kept.sea_anim_phase, 0.2f, 1e-6f);
    EXPECT_TRUE(later.was_bound(TEX_SLOT_SEA_FIRST + 3, 0));
}

TEST_F(Surface, OwnTextureAndBlendCellsTakeTheirPasses)
{
    lay_cells();
    const int own = TERRAIN_index(203, 203), blend = TERRAIN_index(202, 197);
    terrain_point_texture[own] = 2500;
    terrain_point_texture[blend] = TERRAIN_LAYERED;
    const int32_t layers[4] = {LAND_A, LAND_B, TERRAIN_NO_LAYER, TERRAIN_NO_LAYER};
    const int32_t masks[4] = {LAND_A, 4020, TERRAIN_NO_LAYER, TERRAIN_NO_LAYER};
    std::copy(layers, layers + 4, terrain_cell_layer_texture[blend]);
    std::copy(masks, masks + 4, terrain_cell_layer_slot[blend]);

    auto covering = [](const fed_back& f, int i, int j) {
        const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
        int n = 0;   // triangles whose middle lies in the cell
        for (const auto& p : f.polygons) {
            float x = 0, z = 0;
            for (const fed_vertex& q : p) x += q.x / p.size(), z += q.z / p.size();
            n += x > v.x && x < v.x + 100.0f && z < v.z && z > v.z - 100.0f;
        }
        return n;
    };
    for (int blend_pass : {1, 0}) {
        bind_recording rec;
        const fed_back f = feedback([&] { SURFACE_draw_patch(terrain_vertex_grid, 3, 1, blend_pass); });
        // Code 2500: once in texture 0's strips, then as its own texture.
        EXPECT_EQ(covering(f, 203, 203), 4);
        EXPECT_TRUE(rec.was_bound(2500, 0));
        // The blend cell: its base in the strips of word 0, its one overlay only with the blend pass.
        EXPECT_EQ(covering(f, 202, 197), blend_pass ? 4 : 2) << blend_pass;
        EXPECT_EQ(rec.was_bound(4020, 1), blend_pass != 0);
    }
}

TEST_F(Surface, BlendOverlaysGoInOneBatchPerLayerAndTexturePair)
{
    // A row of nine blend cells alternating two texture pairs; the last also
    // has a second layer. Every overlay is drawn, a layer's overlays after
    // the layer below them, and each texture pair is bound once per layer,
    // however the cells alternate.
    lay_cells();
    constexpr int MASK_A = 4020, MASK_B = 4021, MASK_TOP = 4022;
    for (int i = 196; i < 205; ++i) {
        const int k = TERRAIN_index(i, 202);
        terrain_point_texture[k] = TERRAIN_LAYERED;
        const bool a = i % 2 == 0, top = i == 204;
        const int32_t layers[4] = {LAND_A, a ? LAND_A : LAND_B, top ? LAND_B : TERRAIN_NO_LAYER, TERRAIN_NO_LAYER};
        const int32_t masks[4] = {LAND_A, a ? MASK_A : MASK_B, top ? MASK_TOP : TERRAIN_NO_LAYER, TERRAIN_NO_LAYER};
        std::copy(layers, layers + 4, terrain_cell_layer_texture[k]);
        std::copy(masks, masks + 4, terrain_cell_layer_slot[k]);
    }
    const auto triangles_in_row = [](const fed_back& f) {
        int n = 0;   // triangles whose middle lies in one of the nine cells
        for (int i = 196; i < 205; ++i) {
            const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, 202)];
            for (const auto& p : f.polygons) {
                float x = 0, z = 0;
                for (const fed_vertex& q : p) x += q.x / p.size(), z += q.z / p.size();
                n += x > v.x && x < v.x + 100.0f && z < v.z && z > v.z - 100.0f;
            }
        }
        return n;
    };
    const int bases = triangles_in_row(feedback([&] { SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0); }));
    bind_recording rec;
    const fed_back f = feedback([&] { SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 1); });
    EXPECT_EQ(triangles_in_row(f) - bases, 9 * 2 + 2);   // the first layers and the one second layer
    std::vector<int32_t> masks_bound;
    for (const tex_bind_request& b : rec.binds)
        if (b.unit == 1 && b.slot >= MASK_A && b.slot <= MASK_TOP) masks_bound.push_back(b.slot);
    EXPECT_EQ(masks_bound, (std::vector<int32_t>{MASK_A, MASK_B, MASK_TOP}));
}

TEST_F(Surface, StripsStartEachRowAtAWholeColumnPhase)
{
    camera_cell.column = 201;
    terrain_window = {196, 200, 203, 202};
    // Row phases that tell n + 1 from n: 0.9, 0.6 and 0.4 of the table.
    const float kept[3] = {random_table[200], random_table[201], random_table[202]};
    random_table[200] = 0.9f, random_table[201] = 0.6f, random_table[202] = 0.4f;
    // A texture twice as wide as tall spans two columns; a taller one is laid a column at a time.
    for (const float a : {2.0f, 0.5f}) {
        terrain_texture_aspect[LAND_A] = a;
        const int n = std::max(1, static_cast<int>(a));
        const float m = static_cast<float>(n) * std::round(201.0f / static_cast<float>(n));
        const fed_back f = feedback([] { SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 0); });
        ASSERT_EQ(f.polygons.size(), 2u * 8u * 3u);
        for (const auto& p : f.polygons)
            for (const fed_vertex& v : p) {
                const int i = static_cast<int>(std::lround(v.x / 100.0f + 200.5f));
                const int j = static_cast<int>(std::lround(-v.z / 100.0f + 200.5f));
                const int row = v.t < 0.5f ? j : j - 1;   // t is 0 at the row's points, 1 at the next row's
                const float offset = std::trunc(static_cast<float>(n + 1) * random_table[row]) - m;
                EXPECT_NEAR(v.s, (static_cast<float>(i) + offset) / a, 1e-3f) << a << " " << i << " " << j;
            }
    }
    for (int k = 0; k < 3; ++k) random_table[200 + k] = kept[k];
}

TEST_F(Surface, SplashReplacesTheShadowOnTheSecondUnit)
{
    lay_cells();
    cloud_shadow_texture = 312;
    flt[0].landing_lights_on = 1;
    flt[0].elevation = 100.0f;
    pln[0].acf_lanlite_the = -10.0f;
    pln[0].acf_unpub_2248 = 20.0f;
    pln[0].acf_unpub_2244 = 1.0f;
    sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
        sim_graphics_misc.cockpit_light_level_b = 0.1f;
    bind_recording rec;
    SURFACE_draw_patch(terrain_vertex_grid, 3, 1, 1);
    EXPECT_EQ(surface_kept.surface_second_unit, 1);
    EXPECT_TRUE(rec.was_bound(TEX_SLOT_LANDING_LIGHT, 1));
    // Every unit-1 bind after the shadow's is the splash; the light is off again.
    bool after_shadow = false;
    for (const tex_bind_request& b : rec.binds) {
        if (b.unit == 1 && b.slot == 312) {
            after_shadow = true;
        } else if (after_shadow && b.unit == 1 && b.slot < 4000) {
            EXPECT_EQ(b.slot, TEX_SLOT_LANDING_LIGHT);
        }
    }
    EXPECT_EQ(landing_splash_on, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST_F(Surface, FlatMapWaterIsUnlitAndItsOwnColour)
{
    lay_cells();
    for (int s = TEX_SLOT_SEA_FIRST; s <= TEX_SLOT_SEA_LAST; ++s) solid_texture(s, 255, 255, 255);
    // The map grid: each point's x and z laid out as screen x and y.
    static terrain_vertex map_grid[TERRAIN_GRID_POINTS];
    for (int k = 0; k < TERRAIN_GRID_POINTS; ++k)
        map_grid[k] = {terrain_vertex_grid[k].x, -terrain_vertex_grid[k].z, 0.0f};
    map_geometry = {0.0f, 768.0f, 1.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-512.0, 512.0, -384.0, 384.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    SURFACE_draw_patch(map_grid, 2, 1, 0);
    unsigned char p[4];
    glReadBuffer(GL_BACK);
    const terrain_vertex& v = map_grid[TERRAIN_index(197, 198)];
    glReadPixels(static_cast<int>(v.x + 512 + 50), static_cast<int>(v.y + 384 + 50), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_NEAR(p[0], 45, 2);
    EXPECT_NEAR(p[1], 65, 2);
    EXPECT_NEAR(p[2], 75, 2);
}

// A ground point is carried along the sun up to the cloud base (d metres
// above it) and looked up in the shadow texture's footprint: the first sun
// tangent moves it west, the second south, and a point above the base runs back.
TEST_F(Surface, ShadowLookUpFollowsTheSunToTheCloudBase)
{
    const float saved_base = cloud_shadow_base, saved_tan[2] = {sun_tangents[0], sun_tangents[1]};
    float saved_map[4];
    std::copy(cloud_shadow_mapping, cloud_shadow_mapping + 4, saved_map);
    cloud_shadow_base = 1000.0f;
    sun_tangents[0] = 0.5f, sun_tangents[1] = -0.25f;
    const float mapping[4] = {100.0f, 0.001f, -200.0f, 0.002f};   // X0, KX, Z0, KZ
    std::copy(mapping, mapping + 4, cloud_shadow_mapping);
    const struct {
        float p[3], u, v;
    } rows[] = {
        {{300.0f, 200.0f, 50.0f}, -0.2f, 0.1f},     // d 800: u (300 - 100 - 400), v (-200 + 50 + 200)
        {{0.0f, 1000.0f, 0.0f}, -0.1f, 0.4f},       // at the base: no carry
        {{-50.0f, 1200.0f, -400.0f}, -0.05f, -0.3f},   // d -200
    };
    for (const auto& r : rows) {
        float uv[2];
        SURFACE_shadow_texcoord(r.p, uv);
        EXPECT_NEAR(uv[0], r.u, 1e-5f) << r.p[0];
        EXPECT_NEAR(uv[1], r.v, 1e-5f) << r.p[0];
    }
    cloud_shadow_base = saved_base;
    sun_tangents[0] = saved_tan[0], sun_tangents[1] = saved_tan[1];
    std::copy(saved_map, saved_map + 4, cloud_shadow_mapping);
}
