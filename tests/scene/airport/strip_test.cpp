// Runway, taxiway and apron surfaces as feedback mode returns them, with the
// textures the kit's seam saw bound.
#include <array>
#include <cmath>
#include <set>
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
// or displaced section past the middle; unpaved strips and a strip of one
// section keep 0.025 and 0.
TEST_F(Strips, SkidStepAndEndFollowTheSections)
{
    const struct {
        int sections, blast_at_end, surface;
        float du;
        int e;
    } cases[] = {
        {41, 0, TEX_SLOT_LINE_ASPHALT, 0.1f, 28},  {41, 3, TEX_SLOT_LINE_ASPHALT, 0.1f, 25},
        {201, 0, TEX_SLOT_LINE_CONCRETE, 0.025f, 158}, {41, 0, TEX_SLOT_LINE_GRASS, 0.025f, 0},
        {1, 0, TEX_SLOT_LINE_ASPHALT, 0.025f, 0},
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

// Nine sections: a threshold bar, a digit, the separator, two plain
// sections, a new marking at the middle section (4) and plain to the end.
// du = 4 / 8 = 0.5 and e = 8 - 2 - 2 = 4. The skid coordinate climbs a
// quarter step over the digit, half over the separator, a whole step over the
// rest; over 1 it falls back two steps; past section e the step turns back.
// The strip swaps its ends only where a new marking starts past the middle
// (section 5), not at it.
TEST_F(Strips, DesignatorStepsWrapAndTheSwapPastTheMiddle)
{
    const int g = add_geometry({58, 62, 142, 160, 150, 160, 160, 160, 160}, 40.0f, 40.0f);
    const int a = add_airport({runway("09", g)});
    look_down(0.0f, -800.0f, 0.4f);   // section k at window y = 64 + 16 k; the right edge at x = 520
    recorded_unit_coords.clear();
    const std::vector<fb_item> items = capture([&] { WORLDOBJ_draw_strip(a, 0, 1); });
    EXPECT_FLOAT_EQ(strip_skids.du, 0.5f);
    EXPECT_EQ(strip_skids.e, 4);

    std::vector<float> u;
    for (const unit_coord& k : recorded_unit_coords)
        if (k.unit == 1 && k.s == 1.0f && (u.empty() || u.back() != k.t)) u.push_back(k.t);
    const std::vector<float> want = {0.0f, 0.125f, 0.375f, 0.875f, 0.375f, 0.875f, 0.375f, -0.125f, -0.625f};
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

// Outside the marked band a runway reads its skid picture at (0, 0) only, so
// while that picture is plain white at its corners those sections are drawn
// with the skid unit off and the landing light's splash moved down a unit:
// the picture is the one drawn with the skid unit on. A skid picture that is
// not white there keeps the unit on, and its grey shows.
TEST_F(Strips, TheSkidUnitIsLeftOffOutsideTheBandAndThePictureHolds)
{
    num_tex_units = 4;
    const int g = add_geometry({50, 50, 58, 160, 170, 170}, 40.0f, 40.0f);
    const int a = add_airport({runway("09", g)});
    look_down(0.0f, -100.0f, 2.0f);   // the strip at window x 472..552, y 184..584
    landing_splash_on = 1;
    landing_splash_projection = {0.0f, -100.0f, 0.02f, 0.0f, 0.0f, -0.004f};
    // Lit by a white ambient light alone, and no fog this near.
    GLfloat kept_ambient[4], kept_fog[2];
    GLint kept_fog_mode = 0;
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, kept_ambient);
    glGetFloatv(GL_FOG_START, &kept_fog[0]);
    glGetFloatv(GL_FOG_END, &kept_fog[1]);
    glGetIntegerv(GL_FOG_MODE, &kept_fog_mode);
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 1.0e6f);
    glFogf(GL_FOG_END, 2.0e6f);
    const auto picture_of = [](int slot, int size, auto texel) {
        std::vector<uint8_t> t(size_t(size) * size_t(size) * 4);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const std::array<uint8_t, 4> c = texel(x, y);
                std::copy(c.begin(), c.end(), &t[(size_t(y) * size_t(size) + size_t(x)) * 4]);
            }
        OGL_load_tex("test", slot, 0, GL_RGBA, size, size, t.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    };
    for (const int slot : {50, 58, 160, 170})
        picture_of(slot, 8, [slot](int x, int y) {
            return std::array<uint8_t, 4>{uint8_t(40 + 20 * x), uint8_t(slot), uint8_t(200 - 20 * y), 255};
        });
    picture_of(TEX_SLOT_LANDING_LIGHT, 8, [](int x, int y) {
        return std::array<uint8_t, 4>{uint8_t(255 - 25 * x), uint8_t(255 - 25 * y), 255, 255};
    });
    // Skid marks down the middle; the corners white, or with their alpha a
    // step short of white, or grey.
    const auto skids = [&](std::array<uint8_t, 4> corner) {
        picture_of(TEX_SLOT_SKIDS, 16, [corner](int x, int y) {
            if ((x == 0 || x == 15) && (y == 0 || y == 15)) return corner;
            const uint8_t v = x >= 6 && x <= 9 ? 90 : 255;
            return std::array<uint8_t, 4>{v, v, v, v};
        });
    };
    const auto draw = [&] {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        GLboolean depth_writes = GL_TRUE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(depth_writes);
        recorded_unit_coords.clear();
        WORLDOBJ_draw_strip(a, 0, 1);
        std::vector<unsigned char> p = window_pixels(GL_BACK);
        for (size_t k = 3; k < p.size(); k += 4) p[k] = 0;   // the colour only
        size_t third_unit = 0;
        for (const unit_coord& c : recorded_unit_coords) third_unit += c.unit == 2 ? 1 : 0;
        return std::pair{p, third_unit};
    };

    skids({255, 255, 255, 254});
    const auto [with_unit, coords_with_unit] = draw();
    skids({255, 255, 255, 255});
    const auto [without_unit, coords_without_unit] = draw();
    skids({128, 128, 128, 128});
    const auto [grey, coords_grey] = draw();

    // The splash rides on the third unit over all six sections with the skid
    // unit on, over the band's two only without it.
    EXPECT_EQ(coords_with_unit, coords_grey);
    EXPECT_GT(coords_with_unit, 0u);
    EXPECT_LT(coords_without_unit, coords_with_unit);
    // The strip is drawn in varied colours, and the same with the unit off.
    std::set<std::array<unsigned char, 3>> colours;
    for (int y = 190; y < 580; y += 7)
        for (int x = 476; x < 550; x += 5) {
            const unsigned char* p = &with_unit[(size_t(y) * 1024 + size_t(x)) * 4];
            colours.insert({p[0], p[1], p[2]});
        }
    EXPECT_GT(colours.size(), 50u);
    EXPECT_TRUE(with_unit == without_unit);
    // A grey corner darkens the sections outside the band (slot 50 at window
    // y 184..344), not those inside it (slot 58 at 344..424).
    const auto at = [](const std::vector<unsigned char>& p, int x, int y) { return p[(size_t(y) * 1024 + size_t(x)) * 4]; };
    EXPECT_LT(at(grey, 500, 220) * 4, at(with_unit, 500, 220) * 3);
    EXPECT_EQ(at(grey, 500, 380), at(with_unit, 500, 380));
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kept_ambient);
    glFogi(GL_FOG_MODE, kept_fog_mode);
    glFogf(GL_FOG_START, kept_fog[0]);
    glFogf(GL_FOG_END, kept_fog[1]);
}
