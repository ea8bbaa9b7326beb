#include "tests/support/reference_picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/test_support.h"

namespace {

constexpr int W = 1024, H = 768, STRIDE = -W * 4;   // rows bottom up, as OpenGL reads them

}  // namespace

bool write_frame_png(const std::vector<unsigned char>& frame, const std::string& path)
{
    if (frame.size() != size_t(W) * H * 4) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = W, image.height = H, image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, frame.data(), STRIDE, nullptr) != 0;
}

void expect_like_reference(const std::vector<unsigned char>& frame, const std::string& name, int most_off)
{
    ASSERT_EQ(frame.size(), size_t(W) * H * 4);
    const std::string reference = fixture_path(name);
    if (std::getenv("ORVELL_UPDATE_REFERENCE")) {
        ASSERT_TRUE(write_frame_png(frame, reference));
        std::printf("wrote %s\n", reference.c_str());
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> expected(frame.size());
    ASSERT_TRUE(png_image_begin_read_from_file(&image, reference.c_str())) << "no reference picture " << reference;
    image.format = PNG_FORMAT_RGBA;
    ASSERT_EQ(PNG_IMAGE_SIZE(image), expected.size());
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, expected.data(), STRIDE, nullptr));
    int off = 0;   // a few bytes may differ by a rounding step, none by much
    for (size_t i = 0; i < frame.size(); ++i) off += std::abs(int(frame[i]) - int(expected[i])) > 8;
    EXPECT_LT(off, most_off) << "bytes differing from " << name;
}
