// Runway, taxiway and apron surfaces as feedback mode returns them, with the
// textures the kit's seam saw bound.
#include <cmath>
#include <vector>

#include "tests/scene/airport/airport_fixture.h"

namespace {

class Strips : public AirportScene {};

std::vector<int> slots(int count, int first, int others, int last_slots = 0, int last = 50)
{
    std::vector<int> s(static_cast<size_t>(count), others);
    s[0] = first;
    for (int k = 0; k < last_slots; ++k) s[static_cast<size_t>(count - 1 - k)] = last;
    return s;
}

}  // namespace

// The skid marks advance du a section over the marked band and fall back from
// section e: 4 / (sections - 1), at least 0.025; e drops by one for each blast
// or displaced section past the middle; unpaved strips keep 0.025 and 0.
TEST_F(Strips, SkidStepAndEndFollowTheSections)
{
    const struct {
        int sections, blast_at_end, surface;
        float du;
        int e;
    } cases[] = {
        {41, 0, TEX_SLOT_LINE_ASPHALT, 0.1f, 28},  {41, 3, TEX_SLOT_LINE_ASPHALT, 0.1f, 25},
        {201, 0, TEX_SLOT_LINE_CONCRETE, 0.025f, 158}, {41, 0, TEX_SLOT_LINE_GRASS, 0.025f, 0},
    };
    for (const auto& c : cases) {
        runway_geometry_table.clear();
        airport_table.clear();
        local_airport_last = -1;
        // Slot 161, the last of the marked band, on the long concrete runway.
        const int g = add_geometry(slots(c.sections, 58, c.sections == 201 ? 161 : 160, c.blast_at_end), 40.0f, 40.0f);
        const int a = add_airport({runway("09", g, c.surface)});
        recorded_unit_coords.clear();
        WORLDOBJ_draw_strip(a, 0, 1);
        EXPECT_FLOAT_EQ(strip_skids.du, c.du) << c.sections << " " << c.surface;
        EXPECT_EQ(strip_skids.e, c.e) << c.sections << " " << c.blast_at_end;
        if (c.surface == TEX_SLOT_LINE_GRASS) {
            EXPECT_TRUE(recorded_unit_coords.empty());   // no skid marks on grass
            continue;
        }
        // The right edge's skid coordinate climbs du a section from the first.
        std::vector<float> u;
        for (const unit_coord& k : recorded_unit_coords)
            if (k.unit == 1 && k.s == 1.0f && (u.empty() || u.back() != k.t)) u.push_back(k.t);
        if (c.sections < 41) continue;
        ASSERT_GE(u.size(), 4u);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(u[k + 1] - u[k], c.du, 1e-5f);
    }
}

// A new texture closes the strip on that section; past the middle the
// letters read from the other end: s swaps and t runs back.
TEST_F(Strips, ASlotChangeClosesTheStripAndTheFarHalfReadsBack)
{
    const int g = add_geometry(slots(41, 58, 160, 3), 40.0f, 40.0f);
    const int a = add_airport({runway("09", g)});
    look_down(0.0f, -800.0f, 0.4f);   // section k at window y = 64 + 16 k; the right edge at x = 520
    const std::vector<fb_item> items = capture([&] { WORLDOBJ_draw_strip(a, 0, 1); });
    auto span = [&](int slot) {
        float lo = 1e9f, hi = -1e9f;
        for (const fb_item& p : drawn_with(items, slot))
            for (const auto& v : p.v) lo = std::min(lo, v.y), hi = std::max(hi, v.y);
        return std::pair<float, float>(lo, hi);
    };
    EXPECT_NEAR(span(58).first, 64.0f, 0.01f);
    EXPECT_NEAR(span(58).second, 80.0f, 0.01f);   // closed on section 1
    EXPECT_NEAR(span(160).first, 80.0f, 0.01f);
    EXPECT_NEAR(span(160).second, 672.0f, 0.01f);   // closed on section 38
    EXPECT_NEAR(span(50).second, 704.0f, 0.01f);

    int checked = 0;
    for (const int slot : {160, 50})
        for (const fb_item& p : drawn_with(items, slot))
            for (const auto& v : p.v) {
                const int k = static_cast<int>(std::lround((v.y - 64.0f) / 16.0f));
                const bool right = v.x > 512.0f;
                if (slot == 160) {   // first half: t = k + 1, s 1 on the right
                    EXPECT_NEAR(v.t, k + 1.0f, 1e-4f);
                    EXPECT_EQ(v.s, right ? 1.0f : 0.0f);
                } else {   // from section 38 on: t runs back from 39, s 0 on the right
                    EXPECT_NEAR(v.t, 39.0f - (k - 38), 1e-4f);
                    EXPECT_EQ(v.s, right ? 0.0f : 1.0f);
                }
                ++checked;
            }
    EXPECT_GT(checked, 100);
}

// Nine sections: a threshold bar, a plain section, a digit, the separator,
// a new marking at the middle section (4) and plain to the end. du = 4 / 8 =
// 0.5 and e = 8 - 2 - 2 = 4. The first run, on section 0's texture, has no
// skid marks: the band opens at the first texture change (section 1) with
// u = 0. Then u climbs a quarter step over the digit, half over the
// separator, a whole step over the rest; over 1 it falls back two steps; past
// section e the step turns back. The strip swaps its ends only where a new
// marking starts past the middle (section 5), not at it.
TEST_F(Strips, DesignatorStepsWrapAndTheSwapPastTheMiddle)
{
    const int g = add_geometry({58, 160, 62, 142, 150, 160, 160, 160, 160}, 40.0f, 40.0f);
    const int a = add_airport({runway("09", g)});
    look_down(0.0f, -800.0f, 0.4f);   // section k at window y = 64 + 16 k; the right edge at x = 520
    recorded_unit_coords.clear();
    const std::vector<fb_item> items = capture([&] { WORLDOBJ_draw_strip(a, 0, 1); });
    EXPECT_FLOAT_EQ(strip_skids.du, 0.5f);
    EXPECT_EQ(strip_skids.e, 4);

    std::vector<float> u;
    for (const unit_coord& k : recorded_unit_coords)
        if (k.unit == 1 && k.s == 1.0f && (u.empty() || u.back() != k.t)) u.push_back(k.t);
    const std::vector<float> want = {0.0f, 0.125f, 0.375f, 0.875f, 0.375f, -0.125f, -0.625f, -1.125f};
    ASSERT_EQ(u.size(), want.size());
    for (size_t k = 0; k < want.size(); ++k) EXPECT_FLOAT_EQ(u[k], want[k]) << "skid step " << k;

    // The right edge's base texture: s 1 and t = k + 1 up to section 5,
    // then s 0 and t running back from 6.
    int checked = 0;
    for (const int slot : {150, 160})
        for (const fb_item& p : drawn_with(items, slot))
            for (const auto& v : p.v) {
                if (v.x < 512.0f) continue;
                const int k = static_cast<int>(std::lround((v.y - 64.0f) / 16.0f));
                const bool far_half = slot == 160 && k >= 5;
                EXPECT_EQ(v.s, far_half ? 0.0f : 1.0f) << "section " << k << " slot " << slot;
                EXPECT_NEAR(v.t, far_half ? 11.0f - k : k + 1.0f, 1e-4f) << "section " << k << " slot " << slot;
                ++checked;
            }
    EXPECT_GT(checked, 6);
}

// The overlays take texture units of their own: with two units the landing
// light wins over the skid marks; the head-up display's strip has one unit.
TEST_F(Strips, TextureUnitsOfTheOverlays)
{
    const int g = add_geometry(slots(10, 58, 160), 40.0f, 40.0f);
    const int t = add_geometry(slots(4, 160, 160), 40.0f, 20.0f, 200.0f);
    const int a = add_airport({runway("09", g), runway("xxx", t, TEX_SLOT_LINE_CONCRETE)});
    landing_splash_on = 1;
    const struct {
        int units, full, runway;
        bool skids, light;
        int count;
    } cases[] = {{2, 1, 0, false, true, 2}, {4, 1, 0, true, true, 3}, {4, 0, 0, false, false, 1}, {4, 0, 1, false, false, 1}};
    for (const auto& c : cases) {
        num_tex_units = c.units;
        rec.binds.clear();
        OGL_reset_bound_textures();
        WORLDOBJ_draw_strip(a, c.runway, c.full);
        EXPECT_EQ(rec.bound_slot(TEX_SLOT_SKIDS, 1), c.skids) << c.units << c.full << c.runway;
        EXPECT_EQ(rec.bound_slot(TEX_SLOT_LANDING_LIGHT), c.light) << c.units << c.full << c.runway;
        EXPECT_EQ(cur_tex_units, c.count) << c.units << c.full << c.runway;
    }
}

// A taxiway's texture is fixed to the world from the snow origin, one repeat
// per 20 m: 20 m wide from x 190, sections 40 m apart going north from z 0.
TEST_F(Strips, ATaxiwayRepeatsItsTextureEveryTwentyMetres)
{
    const int t = add_geometry(slots(4, 160, 160), 40.0f, 20.0f, 200.0f);
    const int a = add_airport({runway("xxx", t, TEX_SLOT_LINE_CONCRETE)});
    worldobj_state.snow_origin_x = 190.0f, worldobj_state.snow_origin_z = 0.0f;
    look_down(200.0f, -60.0f, 0.4f);
    float s_lo = 1e9f, s_hi = -1e9f, t_lo = 1e9f, t_hi = -1e9f;
    for (const fb_item& p : drawn_with(capture([&] { WORLDOBJ_draw_strip(a, 0, 1); }), 160))
        for (const auto& v : p.v) s_lo = std::min(s_lo, v.s), s_hi = std::max(s_hi, v.s), t_lo = std::min(t_lo, v.t), t_hi = std::max(t_hi, v.t);
    EXPECT_NEAR(s_lo, 0.0f, 1e-4f);
    EXPECT_NEAR(s_hi, 1.0f, 1e-4f);
    EXPECT_NEAR(t_lo, -6.0f, 1e-4f);
    EXPECT_NEAR(t_hi, 0.0f, 1e-4f);
}

TEST_F(Strips, ShouldersAndABadShoulderKind)
{
    runway_record r = runway("09", add_geometry(slots(10, 58, 160), 40.0f, 40.0f));
    r.shoulder_code = 2;
    int a = add_airport({r});
    const std::vector<fb_item> items = capture([&] { WORLDOBJ_draw_strip(a, 0, 1); });
    // A quarter of the width (10 m, 4 window units) beside each edge.
    for (const int slot : {TEX_SLOT_LATERAL_BLAST_LEFT_CONCRETE, TEX_SLOT_LATERAL_BLAST_RIGHT_CONCRETE}) {
        const std::vector<fb_item> side = drawn_with(items, slot);
        ASSERT_FALSE(side.empty()) << slot;
        float lo = 1e9f, hi = -1e9f;
        for (const fb_item& p : side)
            for (const auto& v : p.v) lo = std::min(lo, v.x), hi = std::max(hi, v.x);
        const bool left = slot == TEX_SLOT_LATERAL_BLAST_LEFT_CONCRETE;
        EXPECT_NEAR(lo, left ? 512.0f - 7.5f : 512.0f + 5.0f, 0.01f);
        EXPECT_NEAR(hi, left ? 512.0f - 5.0f : 512.0f + 7.5f, 0.01f);
    }
    airport_table[static_cast<size_t>(a)].runways[0].shoulder_code = 3;
    const alert_record alert = expect_fatal([&] { WORLDOBJ_draw_strip(a, 0, 1); });
    EXPECT_EQ(alert.lines[0], "Bad shoulder type!");
    EXPECT_EQ(alert.code, 17);
    // A runway the scene build never reached draws nothing.
    airport_table[static_cast<size_t>(a)].runways[0].geometry_index = 99;
    EXPECT_TRUE(capture([&] { WORLDOBJ_draw_strip(a, 0, 1); }).empty());
}
