// The instrument picture table against the generated default data folder:
// every type has a face at its design size (the retired ones excepted), and
// the panel-font sheets and the cards the panel reads lie beside them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "panel/instrument_pictures.h"

namespace {

namespace fs = std::filesystem;

// Width and height from a BMP header; {0, 0} when the file cannot be read.
std::pair<int32_t, int32_t> bmp_size(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    char header[26] = {};
    if (!in.read(header, sizeof header) || header[0] != 'B' || header[1] != 'M') return {0, 0};
    int32_t w = 0, h = 0;
    std::memcpy(&w, header + 18, 4);
    std::memcpy(&h, header + 22, 4);
    return {w, h};
}

}  // namespace

TEST(InstrumentPictures, EveryTypeHasAFaceAtItsDesignSize)
{
    const fs::path bitmaps = fs::path(ORVELL_DATA_FOLDER) / "Resources/bitmaps";
    int retired = 0;
    for (int t = 0; t < PANEL_INSTRUMENT_TYPES; ++t) {
        const std::string path = PANEL_instrument_picture(t);
        if (path == "no longer used") {
            ++retired;
            continue;
        }
        ASSERT_EQ(path.rfind("cockpit:", 0), 0u) << t;
        ASSERT_EQ(path.substr(path.size() - 4), ".bmp") << t;
        std::string file = path;
        for (char& c : file) c = c == ':' ? '/' : c;
        const instrument_design_size d = PANEL_instrument_design_size(t);
        EXPECT_EQ(bmp_size(bitmaps / file), (std::pair<int32_t, int32_t>{d.w, d.h})) << path;
    }
    EXPECT_EQ(retired, 4);   // 248, 249, 250 and 274
    EXPECT_STREQ(PANEL_instrument_picture(0), "cockpit:supplement:tailnum.bmp");
    EXPECT_STREQ(PANEL_instrument_picture(1), "cockpit:buttons:but_land_light.bmp");
    EXPECT_STREQ(PANEL_instrument_picture(476), "");
    EXPECT_STREQ(PANEL_instrument_picture(-1), "");

    for (const char* sheet : {"PANEL_TEST_NEAREST.BMP", "PANEL_TEST_LINEAR.BMP"})
        EXPECT_EQ(bmp_size(bitmaps / sheet), (std::pair<int32_t, int32_t>{512, 512})) << sheet;
    for (const char* card : {"PANEL_BLEND_LINEAR.BMP", "PANEL_COMPASS_ROSE.BMP", "PANEL_HSI_ROSE.BMP", "PANEL_CUSTOM.BMP"})
        EXPECT_GT(bmp_size(bitmaps / card).first, 0) << card;
}
