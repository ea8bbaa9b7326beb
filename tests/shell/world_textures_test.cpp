#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "aircraft/calls_standin.h"
#include "graphics/ogl_tex.h"
#include "shell/modes.h"
#include "shell/random.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "shell/world_textures.h"
#include "tests/shell/modes_harness.h"
#include "tests/support/test_support.h"
#include "world/calls_standin.h"

namespace {

// A 24-bit BMP of one colour per half: the left half `left`, the right half `right`.
std::string bmp(int w, int h, uint8_t left, uint8_t right)
{
    const int row = (w * 3 + 3) / 4 * 4;
    const uint32_t size = 54u + static_cast<uint32_t>(row * h);
    std::string b(size, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) b[54 + y * row + x * 3 + c] = static_cast<char>(x < w / 2 ? left : right);
    return b;
}

class world_textures_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!harness_window()) GTEST_SKIP() << "no OpenGL context";
        folder = std::make_unique<harness_program_folder>(dir.path().string());
        WORLD_textures_reset();
        screen.rendering_res = 4;
        sim_graphics_scenery.current_planet = 0;
        sim_graphics_settings.draw_aircrafts = 2;
        app_mode = 0;
        dir.write("RESOURCES/BITMAPS/EARTH1.BMP", bmp(16, 16, 90, 90));
        dir.write("RESOURCES/BITMAPS/MARS1.BMP", bmp(8, 8, 200, 200));
        riverbank(256, 256);
    }
    void TearDown() override { folder.reset(); }

    void riverbank(int w, int h) { dir.write("RESOURCES/BITMAPS/WORLD/ROADS/RIVERBANK.BMP", bmp(w, h, 255, 0)); }
    // Marks every slot unloaded; a load writes the slot's texture size back.
    static void forget_loads() { std::fill(std::begin(texture_memory), std::end(texture_memory), -1); }
    static bool loaded(int slot) { return texture_memory[slot] != -1; }

    temp_folder dir;
    std::unique_ptr<harness_program_folder> folder;
};

}  // namespace

TEST_F(world_textures_test, FirstCallLoadsTheWholeSetAndTheBorderMaskReplacesTheRiverbank)
{
    forget_loads();
    WORLD_load_textures();
    for (int slot : {50, 51, 155, 156, 160, 165, 170, 174, 188, 196, 197, 199, 203, 204, 214, 215, 237, 254,
                     260, 261, 262, 267, 273, 274, 275, 305})
        EXPECT_TRUE(loaded(slot)) << slot;
    EXPECT_FALSE(loaded(209));
    EXPECT_EQ(texture_memory[274], 8 * 8 * 3);   // "EARTH1.BMP" at half size (planet slots)

    // Slot 262 holds one byte per texel, from the riverbank's alpha (its brightness).
    EXPECT_GE(texture_memory[262], 256 * 256);
    EXPECT_LT(texture_memory[262], 256 * 256 * 2);
    OGL_bind_tex(262, 0);
    std::vector<uint8_t> alpha(256 * 256);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    EXPECT_EQ(alpha[10], 255);
    EXPECT_EQ(alpha[250], 0);

    // Without a change the per-frame call loads nothing.
    forget_loads();
    WORLD_load_textures();
    EXPECT_EQ(std::count(std::begin(texture_memory), std::end(texture_memory), -1), TEX_SLOTS);
}

TEST_F(world_textures_test, RiverbankLargerThan256IsFatal)
{
    riverbank(512, 256);
    const alert_record a = expect_fatal([] { WORLD_load_textures(); });
    EXPECT_EQ(a.lines[0], "OOPS!");
    EXPECT_EQ(a.lines[1], "RIVERBANK TEXTURE CANNOT EXCEEED 256X256!");
}

TEST_F(world_textures_test, PlanetChangeReloadsOnlyThePlanetPairAndTheTrees)
{
    WORLD_load_textures();
    forget_loads();
    sim_graphics_scenery.current_planet = 1;
    WORLD_load_textures();
    EXPECT_EQ(texture_memory[274], 4 * 4 * 3);   // "MARS1.BMP" at half size
    EXPECT_TRUE(loaded(275));
    for (int slot = 267; slot <= 273; ++slot) EXPECT_TRUE(loaded(slot)) << slot;
    for (int slot : {50, 160, 188, 197, 215, 261, 262}) EXPECT_FALSE(loaded(slot)) << slot;
}

TEST_F(world_textures_test, ResolutionChangeReloadsAircraftRestartsTheFlightAndRedrawsTheCirrus)
{
    WORLD_load_textures();
    app_mode = 5;
    aircraft_standin_calls.clear();
    world_standin_calls.clear();
    UTIL_srand(7);
    std::set<int> cirrus;
    for (int res = 3; res >= 0; --res) {
        screen.rendering_res = res;
        WORLD_load_textures();
        cirrus.insert(world_textures.cirrus_number);
    }
    EXPECT_EQ(app_mode, 0);
    const auto& calls = aircraft_standin_calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ACF_load_and_setup(0)"), 4);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ACF_load_and_setup(1)"), 4);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ACF_load_and_setup(2)"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FLIGHT_init_situation(408,401)"), 4);
    EXPECT_EQ(std::count(world_standin_calls.begin(), world_standin_calls.end(), "APT_build_scene(1)"), 4);
    for (int n : cirrus) EXPECT_TRUE(n >= 1 && n <= 4) << n;
    EXPECT_GE(cirrus.size(), 2u);
}
