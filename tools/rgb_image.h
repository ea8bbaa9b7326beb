// A picture of float colours for the bitmap generators, its rows from the
// bottom up as the picture file stores them, and its writer (`full` is the
// value of full intensity, 1 or 255).
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

#include "tools/bmp_writer.h"

struct rgb {
    float r, g, b;
};

struct rgb_image {
    int width, height;
    std::vector<rgb> px;
    rgb_image(int w, int h, rgb fill = {0, 0, 0}) : width(w), height(h), px(size_t(w) * size_t(h), fill) {}
    rgb& at(int x, int y) { return px[size_t(y) * size_t(width) + size_t(x)]; }
    // Sets a pixel; one outside the picture is passed over.
    void put(int x, int y, rgb c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) at(x, y) = c;
    }
};

inline bool write_rgb_bmp(const std::filesystem::path& path, const rgb_image& im, float full)
{
    return write_float_bmp(path, im.width, im.height, im.px, full);
}
