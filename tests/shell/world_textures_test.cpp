#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/folders.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_tex.h"
#include "shell/modes.h"
#include "core/random.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "shell/world_textures.h"
#include "tests/support/machine.h"
#include "tests/support/modes_harness.h"
#include "world/apt_scene.h"
#include "world/navdb.h"

namespace {

std::string le(uint32_t v, int bytes)
{
    std::string out;
    for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
    return out;
}

// A 24-bit BMP whose left half is grey level `left` and right half `right`.
std::string bmp(int w, int h, uint8_t left, uint8_t right)
{
    const int row = (w * 3 + 3) / 4 * 4;
    const uint32_t size = 54u + static_cast<uint32_t>(row * h);
    std::string b = "BM" + le(size, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(static_cast<uint32_t>(w), 4) +
                    le(static_cast<uint32_t>(h), 4) + le(1, 2) + le(24, 2) + std::string(24, '\0');
    for (int y = 0; y < h; ++y) {
        std::string pixels(static_cast<size_t>(row), '\0');
        for (int x = 0; x < w * 3; ++x) pixels[static_cast<size_t>(x)] = static_cast<char>(x < w / 2 * 3 ? left : right);
        b += pixels;
    }
    return b;
}

class world_textures_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        MACHINE_NEEDS(harness_window(), "OpenGL context");
        link_default_aircraft(dir.path());
        folder = std::make_unique<harness_program_folder>(dir.path().string());
        WORLD_textures_reset();
        screen.rendering_res = 4;
        sim_graphics_scenery.current_planet = 0;
        sim_graphics_settings.draw_aircrafts = 2;
        app_mode = 0;
        dir.write("RESOURCES/BITMAPS/EARTH1.BMP", bmp(16, 16, 90, 90));
        dir.write("RESOURCES/BITMAPS/MARS1.BMP", bmp(8, 8, 200, 200));
        riverbank(256, 256);
        // The flight a resolution change starts again needs a runway to start on.
        airport_record a{};
        std::snprintf(a.id, sizeof a.id, "KTST");
        a.runways.emplace_back().lat = 34.6f;
        a.runways[0].lon = -117.3f;
        airport_table.assign(1, a);
    }
    void TearDown() override
    {
        airport_table.clear();
        folder.reset();
    }

    // The left half coloured (blue 30, green 60, red 90: brightness 60), the right half black.
    void riverbank(int w, int h)
    {
        std::string b = bmp(w, h, 0, 0);
        const size_t row = static_cast<size_t>((w * 3 + 3) / 4 * 4);
        for (size_t y = 0; y < static_cast<size_t>(h); ++y)
            for (size_t x = 0; x < static_cast<size_t>(w / 2); ++x)
                for (size_t k = 0; k < 3; ++k) b[54 + y * row + x * 3 + k] = static_cast<char>(30 * (k + 1));
        dir.write("RESOURCES/BITMAPS/WORLD/ROADS/RIVERBANK.BMP", b);
    }
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
    for (int slot : {50, 51, 155, 160, 188, 197, 204, 215, 237, 254, 260, 261, 262, 267, 273, 274, 275, 305})
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
    EXPECT_EQ(alpha[10], 60);
    EXPECT_EQ(alpha[250], 0);

    // Without a change the per-frame call loads nothing; a planet change only the
    // planet pair and the trees.
    forget_loads();
    WORLD_load_textures();
    EXPECT_EQ(std::count(std::begin(texture_memory), std::end(texture_memory), -1), TEX_SLOTS);
    sim_graphics_scenery.current_planet = 1;
    WORLD_load_textures();
    EXPECT_EQ(texture_memory[274], 4 * 4 * 3);   // "MARS1.BMP" at half size
    for (int slot = 267; slot <= 275; ++slot) EXPECT_TRUE(loaded(slot)) << slot;
    for (int slot : {50, 160, 188, 197, 215, 261, 262}) EXPECT_FALSE(loaded(slot)) << slot;
}

TEST_F(world_textures_test, RiverbankLargerThan256IsFatal)
{
    for (auto [w, h] : {std::pair{512, 256}, std::pair{256, 512}}) {
        riverbank(w, h);
        WORLD_textures_reset();
        const alert_record a = expect_fatal([] { WORLD_load_textures(); });
        EXPECT_EQ(a.lines[0], "OOPS!") << h;
        EXPECT_EQ(a.lines[1], "RIVERBANK TEXTURE CANNOT EXCEEED 256X256!") << h;
    }
}

TEST_F(world_textures_test, ResolutionChangeReloadsAircraftRestartsTheFlightAndRedrawsTheCirrus)
{
    WORLD_load_textures();
    app_mode = 5;
    UTIL_srand(7);
    std::set<int> cirrus;
    int scene_builds = 0;
    int flight_starts = 0;
    const std::string trainer = std::string(program_folder) + "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF";
    for (int res = 3; res >= 0; --res) {
        // A load clears the slot's limit flags: they show which slots were loaded again.
        for (int slot = 0; slot < 3; ++slot) {
            std::snprintf(pln[slot].acf_file_path, ACF_TEXT_SIZE, "%s", trainer.c_str());
            flt[slot].over_g = 1;
        }
        screen.rendering_res = res;
        local_airport_last = LOCAL_AIRPORT_MAX;   // no build leaves the list this long
        sim_time.total_flight_time_sec = 77.0f;   // a flight start zeroes it
        WORLD_load_textures();
        if (local_airport_last < LOCAL_AIRPORT_MAX) ++scene_builds;
        flight_starts += sim_time.total_flight_time_sec == 0.0f ? 1 : 0;
        cirrus.insert(world_textures.cirrus_number);
        EXPECT_EQ(flt[0].over_g, 0);
        EXPECT_EQ(flt[1].over_g, 0);
        EXPECT_EQ(flt[2].over_g, 1);
        EXPECT_STREQ(pln[1].acf_tailnum, "OV-TRN");
    }
    EXPECT_EQ(app_mode, 0);
    EXPECT_EQ(flight_starts, 4);
    EXPECT_EQ(scene_builds, 4);
    for (int n : cirrus) EXPECT_TRUE(n >= 1 && n <= 4) << n;
    EXPECT_GE(cirrus.size(), 2u);
}

// Every slot is uploaded with its own type: with no picture on disk each holds
// the placeholder, whose size shows the bytes per texel and the reduced levels.
TEST_F(world_textures_test, EachSlotTakesItsType)
{
    forget_loads();
    WORLD_load_textures();
    std::map<int, int32_t> placeholder;
    for (int type = -109; type <= -104; ++type) {
        int w = 0, h = 0;
        OGL_load_tex_file(LOAD_TEXTURE, 209, type, "NO SUCH PICTURE.BMP", w, h);
        placeholder[type] = texture_memory[209];
    }
    ASSERT_LT(placeholder[-104], placeholder[-105]);   // reduced levels add bytes
    ASSERT_LT(placeholder[-104], placeholder[-106]);   // four bytes a texel
    ASSERT_LT(placeholder[-107], placeholder[-109]);
    const std::pair<int, int> slot_type[] = {
        {50, -104},  {51, -104},  {155, -104}, {156, -104}, {159, -104}, {160, -104}, {161, -104}, {162, -108},
        {165, -108}, {166, -104}, {167, -104}, {168, -106}, {169, -106}, {170, -108}, {173, -108}, {174, -107},
        {188, -105}, {189, -105}, {190, -104}, {193, -104}, {194, -105}, {196, -105}, {197, -107}, {198, -107},
        {203, -107}, {204, -109}, {205, -109}, {207, -107}, {208, -107}, {210, -107}, {212, -105}, {213, -107},
        {214, -107}, {215, -107}, {237, -107}, {254, -105}, {255, -108}, {260, -108}, {261, -104}, {267, -109},
        {268, -109}, {269, -108}, {273, -108}, {275, -104}, {305, -109}};
    for (auto [slot, type] : slot_type) EXPECT_EQ(texture_memory[slot], placeholder[type]) << "slot " << slot;
}
