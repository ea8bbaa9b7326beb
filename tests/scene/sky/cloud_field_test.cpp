// The cloud field: puff generation and its triggers, the shadow decisions,
// lighting with self-shadowing, and the shadow textures read back.
#include <tuple>

#include "tests/scene/sky/sky_fixture.h"

namespace {

class CloudField : public SkyState {
protected:
    void SetUp() override
    {
        SkyState::SetUp();
        // Daylight from straight above, ambient and diffuse alike.
        for (int k = 0; k < 3; ++k) scene_ambient_rgb[k] = 0.3f, scene_diffuse_rgb[k] = 0.5f;
        sun_angles[1] = sun_angles[2] = 0.0f;
        sun_tangents[0] = sun_tangents[1] = 0.0f;
        sim_weather.cloud_type[0] = 2;
    }

    static size_t puff_total()
    {
        size_t n = 0;
        for (const cloud_cell& c : cloud_cells) n += c.puffs.size();
        return n;
    }

    // One puff of size 1000 m at the centre of the middle cell, the rest empty.
    static void lone_puff()
    {
        for (cloud_cell& c : cloud_cells) c.clear();
        cloud_cell& c = cloud_cells[4 * CLOUD_GRID + 4];
        c.puffs.push_back(cloud_puff{0, 0, 0, 1000.0f, 0, 0, 0, 0, 0, 0});
        c.count = 1;
        c.draw_order = c.light_order = {0};
    }
};

}  // namespace

TEST_F(CloudField, PuffsFollowTheirSettingsAndStayInTheirCells)
{
    CLOUD_update_draw();
    const cloud_cell_box_record& b = cloud_cell_box;
    EXPECT_FLOAT_EQ(b.hx, 4630.0f);
    EXPECT_NEAR(b.hy, 914.4f, 1e-3f);
    EXPECT_NEAR(b.r, 6611.35f, 0.01f);
    EXPECT_EQ(texture_memory[312], 512 * 512 * 3);
    const std::vector<cloud_puff> first = cloud_cells[40].puffs;
    ASSERT_GT(puff_total(), 1000u);
    for (const cloud_cell& c : cloud_cells) {
        ASSERT_EQ(c.count, static_cast<int32_t>(c.puffs.size()));
        for (const cloud_puff& p : c.puffs) {
            EXPECT_LE(std::fabs(p.dx), 4630.0f);
            EXPECT_LE(std::fabs(p.dy), 914.4f + 1e-3f);
            EXPECT_LE(std::fabs(p.dz), 4630.0f);
            EXPECT_GE(p.size, 400.0f);
            EXPECT_LE(p.size, 1200.0f);
        }
    }

    // A change of 0.001 leaves them; 0.0011 makes them again, the same for the same settings.
    cloud_cells[40].puffs[0].size = -1.0f;   // a mark a regeneration would wipe
    for (const float f : {1.001f, 1.0f}) {
        screen_settings.cloud_scale_a = f;
        CLOUD_update_draw();
        EXPECT_EQ(cloud_cells[40].puffs[0].size, -1.0f);
        EXPECT_NE(cloud_light.frame, -1);      // a normal step: the cycle goes on
    }
    screen_settings.cloud_scale_a = 1.0011f;
    CLOUD_update_draw();
    EXPECT_EQ(cloud_light.frame, -1);          // regenerated and fully relit
    screen_settings.cloud_scale_a = 1.0f;
    CLOUD_update_draw();
    ASSERT_EQ(cloud_cells[40].puffs.size(), first.size());
    for (size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(cloud_cells[40].puffs[k].dx, first[k].dx);
        EXPECT_EQ(cloud_cells[40].puffs[k].size, first[k].size);
    }

    // No candidates, no puffs; factors from a damaged file are held.
    const struct {
        float given, held;
    } factors[] = {{0.0f, 0.0f}, {NAN, 0.0f}, {-3.0f, 0.0f}, {INFINITY, 0.0f}, {1e30f, 9.9f}, {2.5f, 2.5f}};
    for (const auto& f : factors) EXPECT_FLOAT_EQ(CLOUD_hold_factor(f.given), f.held) << f.given;
    screen_settings.cloud_scale_a = NAN;
    CLOUD_update_draw();
    EXPECT_EQ(screen_settings.cloud_scale_a, 0.0f);
    EXPECT_EQ(puff_total(), 0u);
}

// Puffs from a table filled by hand: candidate n takes its offsets and size
// from entries 1.2n, 2.6n, 5.3n and 7.3n, and stays where the shaped noise
// averages above a half. A table of one value v gives noise 2v - 1 at every
// node and a density of (2v - 1)(0.8^5 + 0.8^6 + 0.8^7) / 2 + 1/2.
TEST_F(CloudField, PuffsTakeTheirPlacesFromTheTableWhereTheNoiseIsDense)
{
    CLOUD_update_draw();   // the cell box
    struct table_kept {
        std::vector<float> saved{random_table, random_table + RANDOM_TABLE_SIZE};
        ~table_kept() { std::copy(saved.begin(), saved.end(), random_table); }
    } kept;
    const struct {
        float fill;
        int type;
        size_t puffs;   // in the middle cell, of 600 candidates
    } rows[] = {
        {0.75f, 3, 600},   // density 0.700: every candidate stays
        {0.25f, 3, 0},     // 0.300: none
        {0.58f, 3, 600},   // 0.564
        {0.58f, 2, 0},     // scattered stretches it: (0.564 - 0.15) x 1.176471 = 0.487
    };
    for (const auto& r : rows) {
        std::fill(random_table, random_table + RANDOM_TABLE_SIZE, r.fill);
        sim_weather.cloud_type[0] = r.type;
        CLOUD_build_puffs();
        EXPECT_EQ(cloud_cells[40].puffs.size(), r.puffs) << r.fill << " type " << r.type;
    }
    // Candidate 45 reads entries 54, 117, 238 and 328; those nodes of the
    // noise lie outside the middle cell's boxes, so every candidate stays.
    std::fill(random_table, random_table + RANDOM_TABLE_SIZE, 0.75f);
    random_table[54] = 0.1f, random_table[117] = 0.2f, random_table[238] = 0.3f, random_table[328] = 0.4f;
    sim_weather.cloud_type[0] = 3;
    CLOUD_build_puffs();
    const cloud_cell& c = cloud_cells[40];
    ASSERT_EQ(c.puffs.size(), 600u);
    EXPECT_NEAR(c.puffs[44].dx, 2315.0f, 1e-2f);
    EXPECT_NEAR(c.puffs[45].dx, -3704.0f, 1e-2f);   // 4630 x (2 x 0.1 - 1)
    EXPECT_NEAR(c.puffs[45].dy, -548.64f, 1e-2f);   // 914.4 x (2 x 0.2 - 1)
    EXPECT_NEAR(c.puffs[45].dz, -1852.0f, 1e-2f);   // 4630 x (2 x 0.3 - 1)
    EXPECT_NEAR(c.puffs[45].size, 720.0f, 1e-2f);   // 800 x (0.4 + 0.5)
}

TEST_F(CloudField, ShadowTexturesByCloudTypeAndLight)
{
    const struct {
        int type0, type1;
        int source, shadow;
    } rows[] = {
        {0, 0, 0, 0}, {1, 0, 197, 313}, {2, 1, 311, 312}, {0, 3, 311, 312}, {4, 2, 0, 0}, {3, 4, 0, 0}, {9, -2, 0, 0},
    };
    for (const auto& r : rows) {
        sim_weather.cloud_type[0] = r.type0, sim_weather.cloud_type[1] = r.type1;
        CLOUD_update_draw();
        EXPECT_EQ(cloud_source_texture, r.source) << r.type0 << " " << r.type1;
        EXPECT_EQ(cloud_shadow_texture, r.shadow) << r.type0 << " " << r.type1;
    }
    // Equal ambient and diffuse light from overhead: S = 0.75; none with the light flat.
    for (int k = 0; k < 3; ++k) scene_diffuse_rgb[k] = scene_ambient_rgb[k];
    CLOUD_update_draw();
    EXPECT_NEAR(cloud_shadow_strength, 0.75f, 1e-5f);
    sun_tangents[0] = 3.5f;   // half way from full (slope 3) to none (slope 4)
    CLOUD_update_draw();
    EXPECT_NEAR(cloud_shadow_strength, 0.375f, 1e-5f);
    sun_tangents[0] = 4.0f;
    CLOUD_update_draw();
    EXPECT_EQ(cloud_shadow_strength, 0.0f);
    EXPECT_EQ(cloud_shadow_texture, 0);
    sun_tangents[0] = 0.0f;
    screen_settings.cloud_switch = 0;
    CLOUD_update_draw();
    EXPECT_EQ(cloud_shadow_texture, 0);

    // Two cirrus layers: the shadow lies at layer 0's base.
    screen_settings.cloud_switch = 1;
    sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 1;
    sim_weather.cloud_base_msl_m[0] = 7000.0f, sim_weather.cloud_base_msl_m[1] = 9000.0f;
    CLOUD_update_draw();
    EXPECT_EQ(cloud_shadow_base, 7000.0f);
}

TEST_F(CloudField, LightingShadesEachPuffAndWalksTheCycle)
{
    CLOUD_update_draw();            // the cell box and textures
    screen_settings.cloud_switch = 0;
    CLOUD_update_draw();            // no shadow texture: lighting without GL work

    // A lone puff after a full relight: ambient plus three quarters of the diffuse.
    lone_puff();
    CLOUD_light_cells(1);
    const cloud_puff& p = cloud_cells[40].puffs[0];
    for (const float c : {p.red, p.green, p.blue}) EXPECT_NEAR(c, 0.3f + 0.75f * 0.5f, 1e-6f);
    EXPECT_EQ(cloud_light.frame, -1);

    // A hundred normal steps light every puff exactly once.
    screen_settings.cloud_scale_a = 1.5f;
    CLOUD_update_draw();
    ASSERT_EQ(cloud_light.frame, -1);
    std::vector<std::vector<int>> lit(CLOUD_CELLS);
    for (int c = 0; c < CLOUD_CELLS; ++c) lit[size_t(c)].assign(cloud_cells[size_t(c)].puffs.size(), 0);
    for (int step = 0; step < 100; ++step) {
        for (cloud_cell& c : cloud_cells)
            for (cloud_puff& q : c.puffs) q.red = -1.0f;
        CLOUD_light_cells(0);
        for (int c = 0; c < CLOUD_CELLS; ++c)
            for (size_t k = 0; k < cloud_cells[size_t(c)].puffs.size(); ++k)
                lit[size_t(c)][k] += cloud_cells[size_t(c)].puffs[k].red >= 0.0f;
    }
    for (int c = 0; c < CLOUD_CELLS; ++c)
        for (size_t k = 0; k < lit[size_t(c)].size(); ++k) ASSERT_EQ(lit[size_t(c)][k], 1) << "cell " << c << " puff " << k << " of " << lit[size_t(c)].size();
    // Lit whole again: later puffs sit in the shade of earlier ones.
    CLOUD_light_cells(1);
    float darkest = 1.0f;
    for (const cloud_cell& c : cloud_cells)
        for (const cloud_puff& q : c.puffs) darkest = std::min(darkest, q.red);
    EXPECT_LT(darkest, 0.3f + 0.5f * 0.75f * 0.75f);
    EXPECT_GE(darkest, 0.3f);
}

// Light from 45 degrees towards the south (theta 45): texel v of a puff is
// ((dz + cz) cos 45 - dy sin 45) x -512 / (18 hz) + 256, so a puff 800 m up
// and 800 m south shares the middle puff's texel and one 800 m up and north
// lies 7 texels off, beyond the 4-texel half side of a 1000 m puff. The puff
// nearer the light point (Ld = (0, cos 45, sin 45) x 100 r) is lit first once
// a step has sorted the light order.
TEST_F(CloudField, LightFallsSlantThroughThePuffsNearestTheLightFirst)
{
    screen_settings.cloud_switch = 0;
    CLOUD_update_draw();
    sun_angles[1] = 0.0f, sun_angles[2] = 45.0f;
    lone_puff();
    cloud_cell& c = cloud_cells[4 * CLOUD_GRID + 4];
    c.puffs.push_back(cloud_puff{0, 800.0f, 800.0f, 1000.0f, 0, 0, 0, 0, 0, 0});
    c.puffs.push_back(cloud_puff{0, 800.0f, -800.0f, 1000.0f, 0, 0, 0, 0, 0, 0});
    c.count = 3;
    c.draw_order = c.light_order = {0, 1, 2};
    // Ambient 0.3 plus the diffuse 0.5 times the light left: 0.75 for a puff
    // in its own shade alone, 0.5625 behind one more.
    const struct {
        float middle, south, north;
    } steps[] = {{0.675f, 0.58125f, 0.675f}, {0.58125f, 0.675f, 0.675f}};
    for (const auto& s : steps) {
        CLOUD_light_cells(1);
        EXPECT_NEAR(c.puffs[0].red, s.middle, 1e-5f);
        EXPECT_NEAR(c.puffs[1].red, s.south, 1e-5f);
        EXPECT_NEAR(c.puffs[2].red, s.north, 1e-5f);
    }
    EXPECT_EQ(c.light_order, (std::vector<int32_t>{1, 0, 2}));
}

// Light straight down: texel u = dx x 512 / (18 x 4,630) + 256 and a puff of
// 1,000 m shades a square of half-side trunc(1000 x 512 / (18 r)) = 4 texels
// (r = 6,611.35 m). A puff 500 m east (u 259) lies in the middle puff's
// square and is lit 0.3 + 0.5 x 0.75 x 0.75; one 700 m west (u 251) is not.
TEST_F(CloudField, LightMapTexelsSpanTheFieldAlongX)
{
    screen_settings.cloud_switch = 0;
    CLOUD_update_draw();
    sun_angles[1] = sun_angles[2] = 0.0f;
    lone_puff();
    cloud_cell& c = cloud_cells[4 * CLOUD_GRID + 4];
    c.puffs.push_back(cloud_puff{500.0f, 0, 0, 1000.0f, 0, 0, 0, 0, 0, 0});
    c.puffs.push_back(cloud_puff{-700.0f, 0, 0, 1000.0f, 0, 0, 0, 0, 0, 0});
    c.count = 3;
    c.draw_order = c.light_order = {0, 1, 2};
    CLOUD_light_cells(1);
    EXPECT_NEAR(c.puffs[0].red, 0.675f, 1e-5f);
    EXPECT_NEAR(c.puffs[1].red, 0.58125f, 1e-5f);
    EXPECT_NEAR(c.puffs[2].red, 0.675f, 1e-5f);

    // A lone puff at the field's centre sits on texel (256, 256) and shades
    // the 8 x 8 square [252, 260) about it (w = 1000 x 512 / (18 r) = 4.30).
    lone_puff();
    CLOUD_light_cells(1);
    for (const auto& [u, v, light] : {std::tuple{251, 256, 255.0f}, {252, 256, 191.25f}, {259, 259, 191.25f},
                                       {260, 256, 255.0f}, {256, 251, 255.0f}, {256, 260, 255.0f}})
        EXPECT_FLOAT_EQ(cloud_light_map(u, v), light) << u << "," << v;
}

TEST_F(CloudField, CumulusShadowIsDarkUnderThePuffs)
{
    CLOUD_update_draw();
    ASSERT_EQ(cloud_shadow_texture, 312);
    // A stack of puffs over the middle of the field, lit whole.
    lone_puff();
    cloud_cell& c = cloud_cells[4 * CLOUD_GRID + 4];
    for (int k = 1; k < 6; ++k) {
        c.puffs.push_back(cloud_puff{0, 100.0f * k, 0, 1000.0f, 0, 0, 0, 0, 0, 0});
        c.draw_order.push_back(k), c.light_order.push_back(k);
    }
    c.count = static_cast<int32_t>(c.puffs.size());
    CLOUD_light_cells(1);
    int w = 0, h = 0;
    const std::vector<uint8_t> px = texture_rgb(312, w, h);
    ASSERT_EQ(w, 512);
    const auto at = [&](int x, int y) { return int(px[(size_t(y) * 512 + size_t(x)) * 3]); };
    EXPECT_LT(at(256, 256) + 20, at(40, 40));   // under the stack against open ground
    EXPECT_EQ(at(40, 40), at(470, 300));
    // The ground's look-up rectangle: x from -hx to 17hx, z from hz to -17hz.
    EXPECT_FLOAT_EQ(cloud_shadow_mapping[0], -4630.0f);
    EXPECT_FLOAT_EQ(cloud_shadow_mapping[1], 1.0f / (18.0f * 4630.0f));
    EXPECT_FLOAT_EQ(cloud_shadow_mapping[2], 4630.0f);
    EXPECT_FLOAT_EQ(cloud_shadow_mapping[3], -1.0f / (18.0f * 4630.0f));
}

TEST_F(CloudField, CirrusShadowIsTheCirrusInBlackOverWhite)
{
    // No ambient light: the strength is 1, the cirrus goes down opaque.
    for (int k = 0; k < 3; ++k) scene_ambient_rgb[k] = 0.0f, scene_diffuse_rgb[k] = 1.0f;
    sim_weather.cloud_type[0] = 1;
    sim_graphics_view.view_latitude_deg = 34.03f, sim_graphics_view.view_longitude_deg = -117.2f;
    CLOUD_update_draw();
    ASSERT_GT(cloud_shadow_strength, 0.99f);
    ASSERT_EQ(cloud_shadow_texture, 313);
    int w = 0, h = 0;
    const std::vector<uint8_t> shadow = texture_rgb(313, w, h);
    const std::vector<uint8_t> cirrus = texture_rgb(TEX_SLOT_CIRRUS, w, h, GL_RGBA);
    double mean_shadow = 0.0, mean_clear = 0.0;
    int lo = 255, hi = 0;
    for (size_t k = 0; k < shadow.size(); k += 3) {
        mean_shadow += shadow[k];
        EXPECT_EQ(shadow[k], shadow[k + 1]);
        lo = std::min<int>(lo, shadow[k]), hi = std::max<int>(hi, shadow[k]);
    }
    for (size_t k = 3; k < cirrus.size(); k += 4) mean_clear += 255 - cirrus[k];
    mean_shadow /= 512.0 * 512.0;
    mean_clear /= double(w) * double(h);
    EXPECT_NEAR(mean_shadow, mean_clear, 2.0);
    EXPECT_LT(lo, 100);    // streaks
    EXPECT_GT(hi, 240);    // and clear sky between them

    // The tile: 0.06 by 0.1 degrees about the camera's cell of the grid.
    float x0, y, z0, x1, z1;
    GEO_latlon_to_local(x0, y, z0, 34.02, -117.2, 0.0);
    GEO_latlon_to_local(x1, y, z1, 34.08, -117.1, 0.0);
    EXPECT_NEAR(cloud_shadow_mapping[0], x0, 30.0f);
    EXPECT_NEAR(1.0f / cloud_shadow_mapping[1], x1 - x0, 30.0f);
    EXPECT_NEAR(cloud_shadow_mapping[2], z0, 30.0f);
    EXPECT_NEAR(1.0f / cloud_shadow_mapping[3], z1 - z0, 30.0f);
}

TEST_F(CloudField, ACycleOfStepsBuildsTheSamePictureAsAFullRelight)
{
    sim_weather.cloud_type[0] = 3;
    CLOUD_update_draw();   // generated and lit whole
    ASSERT_EQ(cloud_shadow_texture, 312);
    int w = 0, h = 0;
    const std::vector<uint8_t> whole = texture_rgb(312, w, h);
    // Half a cycle: the work picture holds the shadows drawn so far, the
    // ground's picture is still the whole one.
    for (int step = 0; step < 50; ++step) CLOUD_light_cells(0);
    const std::vector<uint8_t> half = texture_rgb(311, w, h);
    EXPECT_EQ(texture_rgb(312, w, h), whole);
    for (int step = 50; step < 100; ++step) CLOUD_light_cells(0);
    const std::vector<uint8_t> cycle = texture_rgb(312, w, h);
    // The same quads in another order: equal but for the rounding of the blends.
    double dark_whole = 0.0, dark_half = 0.0, off = 0.0;
    int worst = 0;
    for (size_t k = 0; k < whole.size(); ++k) {
        worst = std::max(worst, std::abs(int(whole[k]) - int(cycle[k])));
        off += std::abs(int(whole[k]) - int(cycle[k]));
        dark_whole += 255 - whole[k], dark_half += 255 - half[k];
    }
    EXPECT_LE(worst, 8);
    EXPECT_LT(off / double(whole.size()), 0.5);
    EXPECT_GT(dark_half, 0.3 * dark_whole);
    EXPECT_LT(dark_half, 0.7 * dark_whole);
}

// A light colour channel moved by more than 0.1, or a light angle by more
// than 0.9 degrees, relights every puff at once (the cycle starts again at
// -1); smaller moves leave the lighting on its cycle.
TEST_F(CloudField, LightChangesBeyondTheirStepsRelightAtOnce)
{
    screen_settings.cloud_switch = 0;
    const struct {
        float* value;
        float step;
        bool full;
    } rows[] = {
        {&scene_ambient_rgb[0], 0.15f, true}, {&scene_ambient_rgb[0], 0.05f, false},
        {&scene_diffuse_rgb[2], 0.15f, true}, {&scene_diffuse_rgb[2], -0.05f, false},
        {&sun_angles[1], 1.0f, true},         {&sun_angles[2], 0.5f, false},
        {&sun_angles[2], -1.0f, true},
    };
    for (const auto& r : rows) {
        const float kept = *r.value;
        CLOUD_update_draw();
        CLOUD_update_draw();
        ASSERT_NE(cloud_light.frame, -1);
        *r.value += r.step;
        CLOUD_update_draw();
        EXPECT_EQ(cloud_light.frame == -1, r.full) << r.step;
        *r.value = kept;
    }
}
