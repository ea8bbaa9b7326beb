// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, has the trainer's generated paint and shadow in its
// texture slots, and the airliner loaded into plane 1 brings its lit paint.

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/paint_layout.h"
#include "scene/aircraft/shadow.h"
#include "tests/support/startup_program.h"
#include "tools/aircraft_paint.h"

namespace {

class AircraftPaintEndToEnd : public started_program {};

// The texel of slot `slot`'s first level under paint coordinates (s, t).
std::vector<uint8_t> texel(int slot, float s, float t)
{
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, slot);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!rgba.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    OGL_reset_bound_textures();
    if (rgba.empty()) return {};
    const size_t at = (size_t(int(t * h)) * size_t(w) + size_t(int(s * w))) * 4;
    return {rgba.begin() + long(at), rgba.begin() + long(at) + 4};
}

}  // namespace

TEST_F(AircraftPaintEndToEnd, TrainerAndAirlinerWearTheirGeneratedPaint)
{
    ASSERT_NE(std::strstr(pln[0].acf_file_name, "TRAINER"), nullptr) << pln[0].acf_file_name << " is loaded in place of the trainer";

    // The trainer's wing colour at the middle of the wings' rectangle.
    std::string name, error;
    aircraft_paint::scheme colours;
    ASSERT_TRUE(aircraft_paint::read_scheme(ORVELL_FIXTURES "/../../data/aircraft/trainer.txt", name, colours, error))
        << error;
    const paint_rect wings = paint_layout_of(8);
    const std::vector<uint8_t> wing = texel(TEX_SLOT_PAINT_FIRST, (wings.s0 + wings.s1) * 0.5f / PAINT_W,
                                            (wings.t0 + wings.t1) * 0.5f / PAINT1_H);
    ASSERT_EQ(wing.size(), 4u);
    EXPECT_EQ(wing[0], colours.wing.r);
    EXPECT_EQ(wing[1], colours.wing.g);
    EXPECT_EQ(wing[2], colours.wing.b);
    EXPECT_EQ(pln[0].acf_has_litemap_tex, 0);

    // Its shadow reaches its wing tips (11 m span) and a border of two texels.
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    const int S = ACF_shadow_size(screen.rendering_res, max_size);
    EXPECT_NEAR(pln[0].acf_size_x, 5.5f * (S + 4) / S, 0.02f * 5.5f * (S + 4) / S);

    // The airliner in plane 1 has lit paint.
    char path[TEXT_SIZE];
    UTIL_strcat3(folder->prefix().c_str(), "Aircraft/Heavy Metal/Orvell Airliner/Orvell Airliner.acf", path);
    UTIL_strcpy(static_cast<const char*>(path), pln[1].acf_file_path);
    ASSERT_TRUE(ACF_load_and_setup(1));
    EXPECT_EQ(pln[1].acf_has_litemap_tex, 1);

    // No alert on the way.
    const std::string log = read_file_bytes(folder->path() / "ERROR.OUT");
    for (const char* alert : {"OGL_load_tex", "Bad filter type", "Too big a bitmap", "Wrong size", "Can't open",
                              "Scan too far"})
        EXPECT_EQ(log.find(alert), std::string::npos) << alert << " in ERROR.OUT:\n" << log;
}
