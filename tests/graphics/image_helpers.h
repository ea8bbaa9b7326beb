// Test images: BMP bytes laid out by hand, PNG files made with libpng's writer,
// and a texture read back from OpenGL.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/test_support.h"

using rgb = std::array<uint8_t, 3>;

// A 24-bit BMP: the 54-byte header, then the rows bottom first, each texel
// B, G, R and each row padded with zeros to a multiple of 4 bytes.
std::string bmp_bytes(int width, int height, const std::vector<rgb>& texels_bottom_first);

struct png_desc {
    int width = 1;
    int height = 1;
    int colour_type = 0;             // PNG_COLOR_TYPE_...
    int bit_depth = 8;
    std::vector<uint8_t> rows{};     // packed rows, top row first, as the format stores them
    std::vector<rgb> palette{};
    std::vector<uint8_t> trns{};     // palette alphas
    bool text_chunk = false;         // a tEXt chunk before the image data
    bool interlaced = false;         // stored in seven interlaced passes
};
// Writes the PNG and returns its bytes.
std::string png_bytes(const png_desc& desc);

// Level `level` of a texture slot as R, G, B, A bytes (width and height out).
std::vector<uint8_t> read_texture(int slot, int level, int& width, int& height);

// Four bytes at p as one value, to compare texels whole.
inline std::array<uint8_t, 4> rgba_at(const uint8_t* p) { return {p[0], p[1], p[2], p[3]}; }

// Runs f with ERROR.OUT sent to a file of its own; returns what f wrote there.
std::string error_log_during(const std::function<void()>& f);

// A test that loads image files from a program folder of its own (a temporary
// one), on the test window with nothing drawn over the whole screen and no
// redraw asked for.
class image_folder_test : public ::testing::Test {
protected:
    temp_folder tmp;
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        redraw_pending = 0;
    }
};
