// The aircraft textures on the offscreen context: the shadow slot, the paint
// and lit paint, the panel bitmaps with their fallbacks, the weapon bitmaps,
// and the template paint of a fleet aircraft landing where its parts sample it.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/wpn_file.h"
#include "core/screen.h"
#include "core/texture_slots.h"
#include "scene/aircraft/acf_textures.h"
#include "scene/aircraft/paint_layout.h"
#include "aircraft/part_presence.h"
#include "tests/graphics/gl_context.h"
#include "tests/scene/aircraft/model_fixture.h"
#include "tests/support/machine.h"
#include "tools/aircraft_paint.h"

using namespace model_test;
namespace fs = std::filesystem;
namespace paint = aircraft_paint;

namespace {

struct texture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int s, int t) const { return &rgba[(size_t(t) * width + s) * 4]; }
    // The texel under paint coordinates (s, t) of 0..1.
    const uint8_t* sample(float s, float t) const
    {
        return at(std::min(int(s * width), width - 1), std::min(int(t * height), height - 1));
    }
    bool operator==(const texture&) const = default;
};

texture read_slot(int slot)
{
    texture t;
    glBindTexture(GL_TEXTURE_2D, slot);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
    t.rgba.resize(size_t(t.width) * t.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!t.rgba.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.rgba.data());
    OGL_reset_bound_textures();
    return t;
}

bool is_checkerboard(const texture& t)
{
    if (t.width != 16 || t.height != 16) return false;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (t.at(c, r)[0] != ((r + c) % 2 == 0 ? 100 : 200)) return false;
    return true;
}

// A small picture of one colour for a marker or an aircraft's own bitmap.
void mark_slot(int slot, uint8_t v)
{
    std::vector<uint8_t> px(8 * 8 * 4, v);
    OGL_load_tex("marker", slot, 0, GL_RGBA, 8, 8, px.data());
}

class AircraftTextures : public ::testing::Test {
protected:
    void SetUp() override
    {
        MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
        kept_rendering_res_ = screen.rendering_res;
        screen.rendering_res = 4;
        for (int p = 0; p < ACF_SLOTS; ++p) clear_plane(p);
    }
    void TearDown() override { screen.rendering_res = kept_rendering_res_; }
    int32_t kept_rendering_res_ = 0;
    // A hand-made aircraft "AIRCRAFT:Test:Test.acf" of the program folder in `plane`:
    // a straight wing of two 5 m halves, chord 1.5 m.
    void hand_aircraft(int plane)
    {
        UTIL_strcpy(folder.path("Aircraft/Test/Test.acf").c_str(), pln[plane].acf_file_path);
        hand_wing(plane, 8, 2, 2.5f, 1.5f, -1.0f);
        hand_wing(plane, 9, 2, 2.5f, 1.5f, 1.0f);
    }
    void write(const std::string& relative, const paint::picture& p)
    {
        fs::create_directories((folder.dir.path() / relative).parent_path());
        ASSERT_TRUE(paint::write_bitmap(folder.path(relative), p)) << relative;
    }
    // A program folder of the test's own (hand-made aircraft only).
    struct own_folder {
        temp_folder dir;
        own_folder()
        {
            FOLDERS_init_from((dir.prefix() + "orvell").c_str());
            CONST_fill_constants();
        }
        std::string path(const std::string& relative) const { return dir.prefix() + relative; }
    } folder;
};

}  // namespace

TEST_F(AircraftTextures, ShadowIsWhiteWithTheFootprintInItsAlpha)
{
    screen.rendering_res = 0;
    hand_aircraft(2);
    ACF_load_textures(1, 0, 0, 2);
    const texture s = read_slot(TEX_SLOT_SHADOW_FIRST + 2);
    ASSERT_EQ(s.width, 32);
    ASSERT_EQ(s.height, 32);
    EXPECT_GE(s.at(15, 10)[3], 250);   // inside: near full strength (the cut-down blur takes a unit or two)
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(s.at(k, 0)[3], 0);
        EXPECT_EQ(s.at(0, k)[3], 0);
    }
    for (size_t t = 0; t < s.rgba.size(); t += 4) ASSERT_EQ(s.rgba[t] + s.rgba[t + 1] + s.rgba[t + 2], 3 * 255);
    GLint min_filter = 0, mag_filter = 0;
    glBindTexture(GL_TEXTURE_2D, TEX_SLOT_SHADOW_FIRST + 2);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    OGL_reset_bound_textures();
    EXPECT_EQ(min_filter, GL_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
    EXPECT_FLOAT_EQ(pln[2].acf_size_x, 5.625f);
}

TEST_F(AircraftTextures, OwnFilesFallBackAndOtherPlanesLeaveThePanelAlone)
{
    // The aircraft's own paint and first panel font, no lit paint and no lit font.
    paint::picture p1(PAINT_W, PAINT1_H), p2(PAINT_W, PAINT2_H), font(64, 64, {10, 200, 30});
    paint::paint_template(p1, p2);
    write("Aircraft/Test/Test_PAINT.BMP", p1);
    write("Aircraft/Test/Test_PAINT2.BMP", p2);
    write("Aircraft/Test/Test_TEST_NEAREST.BMP", font);
    hand_aircraft(0);
    pln[0].acf_has_litemap_tex = 1;
    ACF_load_textures(1, 0, 0, 0);
    EXPECT_EQ(pln[0].acf_has_litemap_tex, 0);
    EXPECT_TRUE(is_checkerboard(read_slot(TEX_SLOT_PAINT_FIRST + 1)));
    EXPECT_TRUE(is_checkerboard(read_slot(TEX_SLOT_PAINT_FIRST + 3)));
    const texture paint1 = read_slot(TEX_SLOT_PAINT_FIRST);
    ASSERT_EQ(paint1.width, 1024);
    const paint::rgb wing = paint::template_colour(8);
    EXPECT_EQ(paint1.sample(0.85f, 0.2f)[0], wing.r);
    EXPECT_EQ(paint1.sample(0.85f, 0.2f)[1], wing.g);
    // Both paints are opaque whatever the colour: every texel's alpha is 255.
    const texture paint2 = read_slot(TEX_SLOT_PAINT_FIRST + 2);
    for (const texture* t : {&paint1, &paint2}) {
        int translucent = 0;
        for (size_t k = 3; k < t->rgba.size(); k += 4) translucent += t->rgba[k] != 255;
        EXPECT_EQ(translucent, 0) << t->height;
    }
    const texture nearest = read_slot(TEX_SLOT_PANEL_FONT);
    EXPECT_EQ(nearest.width, 64);
    EXPECT_EQ(nearest.at(5, 5)[1], 200);
    EXPECT_EQ(read_slot(TEX_SLOT_PANEL_FONT_LIT), nearest);
    EXPECT_TRUE(is_checkerboard(read_slot(TEX_SLOT_PANEL_FONT2)));   // neither own nor program file

    // Planes 1..9 load their paint, weapons and shadow, never the panel's.
    for (int slot = TEX_SLOT_PANEL_FONT; slot <= TEX_SLOT_PANEL_CUSTOM; ++slot) mark_slot(slot, uint8_t(slot - 400));
    const int weapon_slot = TEX_SLOT_WEAPON_FIRST + ACF_WPN_SLOTS * 1 + 0;
    mark_slot(weapon_slot, 77);
    for (int plane = 1; plane < ACF_SLOTS; ++plane) {
        hand_aircraft(plane);
        ACF_load_textures(1, 0, 0, plane);
    }
    for (int slot = TEX_SLOT_PANEL_FONT; slot <= TEX_SLOT_PANEL_CUSTOM; ++slot) {
        const texture t = read_slot(slot);
        EXPECT_EQ(t.width, 8) << slot;
        EXPECT_EQ(t.at(3, 3)[0], slot - 400) << slot;
    }
    EXPECT_EQ(read_slot(weapon_slot).at(1, 1)[0], 77);   // an empty weapon slot loads nothing
    const texture paint9 = read_slot(TEX_SLOT_PAINT_FIRST + 4 * 9);   // the other planes' at half size
    EXPECT_EQ(paint9.width, 512);
    EXPECT_EQ(paint9.sample(0.85f, 0.2f)[2], wing.b);
}

TEST_F(AircraftTextures, WeaponBitmapsComeFromTheWeaponFilesPath)
{
    // A bomb in slot 2 of plane 1, its bitmap beside its file in "WEAPONS:";
    // a weapon whose path leaves no room for the extension loads nothing.
    hand_aircraft(1);
    wpn_slot_record bomb{};
    bomb.wpn_type = 22;
    paint::picture p(paint::WEAPON_SIDE, paint::WEAPON_SIDE);
    paint::paint_weapon(bomb, p);
    write("Weapons/bomb.BMP", p);
    acf_struct& a = pln[1];
    a.acf_wpn_slot[2].wpn_type = 22;
    std::strcpy(a.wpn_name + 2 * ACF_WPN_NAME_SIZE, "bomb.wpn");
    a.acf_wpn_slot[3].wpn_type = 22;
    std::memset(a.wpn_name + 3 * ACF_WPN_NAME_SIZE, 'w', ACF_WPN_NAME_SIZE - 1 - folder.dir.prefix().size());
    const int slot2 = TEX_SLOT_WEAPON_FIRST + ACF_WPN_SLOTS + 2, slot3 = slot2 + 1;
    mark_slot(slot3, 33);
    ACF_load_textures(1, 0, 0, 1);
    const texture t = read_slot(slot2);
    ASSERT_GT(t.width, 16);
    const paint::rgb body = p.get(100, 100), fin = p.get(280, 20);
    EXPECT_EQ(t.sample(100.5f / 512, 100.5f / 512)[0], body.r);
    EXPECT_EQ(t.sample(280.5f / 512, 20.5f / 512)[1], fin.g);
    EXPECT_NE(body, fin);
    EXPECT_EQ(read_slot(slot3).at(1, 1)[0], 33);
}

TEST_F(AircraftTextures, RunningTwiceGivesTheSameArraysAndSlots)
{
    paint::picture p1(PAINT_W, PAINT1_H), p2(PAINT_W, PAINT2_H);
    paint::paint_template(p1, p2);
    write("Aircraft/Test/Test_PAINT.BMP", p1);
    write("Aircraft/Test/Test_PAINT_LIT.BMP", p1);
    hand_aircraft(0);
    hand_body(0, 44, 1.0f);
    ACF_load_textures(1, 0, 0, 0);
    EXPECT_EQ(pln[0].acf_has_litemap_tex, 1);
    const std::vector<uint8_t> geometry(pln[0].acf_draw_geo, pln[0].acf_draw_geo + ACF_DRAW_GEO_SIZE);
    std::vector<int> slots = {TEX_SLOT_SHADOW_FIRST};
    for (int s = 400; s <= 403; ++s) slots.push_back(s);
    for (int s = TEX_SLOT_PANEL_FONT; s <= TEX_SLOT_PANEL_CUSTOM; ++s) slots.push_back(s);
    std::vector<texture> first;
    for (int s : slots) first.push_back(read_slot(s));
    ACF_load_textures(1, 0, 0, 0);
    EXPECT_EQ(std::memcmp(geometry.data(), pln[0].acf_draw_geo, ACF_DRAW_GEO_SIZE), 0);
    for (size_t k = 0; k < slots.size(); ++k) EXPECT_EQ(read_slot(slots[k]), first[k]) << slots[k];

    // A path too short to have an extension has no files of its own.
    UTIL_strcpy("ab", pln[0].acf_file_path);
    ACF_load_textures(1, 0, 0, 0);
    EXPECT_EQ(pln[0].acf_has_litemap_tex, 0);
    EXPECT_TRUE(is_checkerboard(read_slot(TEX_SLOT_PAINT_FIRST)));
}

// The trainer, loaded and set up in plane 1 from a folder of the test's own
// with template paint beside it: every fitted part's mesh samples the colour
// of its own layout rectangle.
TEST_F(AircraftTextures, TemplatePaintLandsOnEveryPartOfAFleetAircraft)
{
    temp_folder dir;
    fs::create_directories(dir.path() / "Aircraft/Test");
    fs::copy_file(fs::path(ORVELL_DATA_FOLDER) / TRAINER, dir.path() / "Aircraft/Test/Trainer.acf");
    fs::create_directory_symlink(fs::path(ORVELL_DATA_FOLDER) / "Airfoils", dir.path() / "Airfoils");
    FOLDERS_init_from((dir.prefix() + "orvell").c_str());
    const std::string acf = dir.prefix() + "Aircraft/Test/Trainer.acf";
    paint::picture p1(PAINT_W, PAINT1_H), p2(PAINT_W, PAINT2_H);
    paint::paint_template(p1, p2);
    ASSERT_TRUE(paint::write_bitmap(dir.prefix() + "Aircraft/Test/Trainer_PAINT.BMP", p1));
    ASSERT_TRUE(paint::write_bitmap(dir.prefix() + "Aircraft/Test/Trainer_PAINT2.BMP", p2));
    UTIL_strcpy(acf.c_str(), default_aircraft_path);
    UTIL_strcpy(acf.c_str(), pln[1].acf_file_path);
    ASSERT_TRUE(ACF_load_and_setup(1));

    const texture paint1 = read_slot(TEX_SLOT_PAINT_FIRST + 4);
    ASSERT_GE(paint1.width, 256);
    const acf_part_geometry& g = geo(1);
    int parts = 0;
    for (int k = 0; k <= PART_BODY_LAST; ++k) {
        const int R = ACF_mesh_rows(1, k), N = ACF_mesh_points(k);
        if (!ACF_part_present(1, k) || R < 2 || paint_layout_of(k).bitmap != 1) continue;
        // The middle of a quad in the middle of the part's grid.
        const int r = R / 2 - 1, i = N / 4;
        const float s = 0.25f * (g.part_texcoord[k][r][i][0] + g.part_texcoord[k][r + 1][i][0] +
                                 g.part_texcoord[k][r][i + 1][0] + g.part_texcoord[k][r + 1][i + 1][0]);
        const float t = 0.25f * (g.part_texcoord[k][r][i][1] + g.part_texcoord[k][r + 1][i][1] +
                                 g.part_texcoord[k][r][i + 1][1] + g.part_texcoord[k][r + 1][i + 1][1]);
        const paint::rgb want = paint::template_colour(k);
        const uint8_t* got = paint1.sample(s, t);
        EXPECT_NEAR(got[0], want.r, 2) << "part " << k;
        EXPECT_NEAR(got[1], want.g, 2) << "part " << k;
        EXPECT_NEAR(got[2], want.b, 2) << "part " << k;
        ++parts;
    }
    EXPECT_GE(parts, 7);   // propeller, wings, stabilisers, fin, fuselage
}

TEST_F(AircraftTextures, EachPanelBitmapFallsBackToItsOwnFiles)
{
    // Own lit paints (lit paint 2 black, so clear where its alpha follows the
    // brightness), own linear font without its lit variant, and the program's
    // two rose cards: the lit linear font takes the own linear font, and each
    // rose slot its own program card.
    paint::picture lit(64, 64, {10, 200, 30}), dark(64, 64), linear(64, 64, {10, 120, 30}),
        compass(32, 32, {10, 60, 30}), hsi(32, 32, {10, 90, 30});
    write("Aircraft/Test/Test_PAINT_LIT.BMP", lit);
    write("Aircraft/Test/Test_PAINT2_LIT.BMP", dark);
    write("Aircraft/Test/Test_TEST_LINEAR.BMP", linear);
    write("Resources/bitmaps/PANEL_COMPASS_ROSE.BMP", compass);
    write("Resources/bitmaps/PANEL_HSI_ROSE.BMP", hsi);
    hand_aircraft(0);
    ACF_load_textures(1, 0, 0, 0);
    EXPECT_EQ(pln[0].acf_has_litemap_tex, 1);
    EXPECT_EQ(read_slot(TEX_SLOT_PAINT_FIRST + 1).at(5, 5)[1], 200);
    EXPECT_EQ(read_slot(TEX_SLOT_PAINT_FIRST + 3).at(5, 5)[3], 0);
    const struct {
        int slot, width, green;
    } rows[] = {{TEX_SLOT_PANEL_FONT2, 64, 120}, {TEX_SLOT_PANEL_FONT2_LIT, 64, 120},
                {TEX_SLOT_COMPASS_ROSE, 32, 60}, {TEX_SLOT_HSI_ROSE, 32, 90}};
    for (const auto& r : rows) {
        const texture t = read_slot(r.slot);
        ASSERT_EQ(t.width, r.width) << r.slot;
        EXPECT_EQ(t.at(5, 5)[1], r.green) << r.slot;
    }
}
