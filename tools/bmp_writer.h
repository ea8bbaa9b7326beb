// Writes the generators' 24-bit picture files: the header, then the rows
// bottom-up in blue-green-red order, each padded to four bytes. The folder is
// made first.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "graphics/ogl_image.h"

// bgr_at(x, y, out) fills out[0..2] with the blue, green and red bytes of a pixel.
template <class BgrAt>
bool write_bmp_file(const std::filesystem::path& path, int width, int height, BgrAt bgr_at)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return false;
    uint8_t header[BMP_HEADER_SIZE];
    BMP_make_header(header, width, height);
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    std::vector<uint8_t> row(BMP_row_bytes(width), 0);
    for (int y = 0; y < height && ok; ++y) {
        for (int x = 0; x < width; ++x) bgr_at(x, y, &row[size_t(x) * 3]);
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

// A picture whose pixels (row by row from the bottom, as the file stores
// them) have float channels r, g and b, `full` being full intensity (1 or 255).
template <class Pixel>
bool write_float_bmp(const std::filesystem::path& path, int width, int height, const std::vector<Pixel>& px,
                     float full = 1.0f)
{
    if (px.size() != size_t(width) * size_t(height)) return false;
    const auto byte = [full](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, full) * (255.0f / full)));
    };
    return write_bmp_file(path, width, height, [&](int x, int y, uint8_t* bgr) {
        const Pixel& p = px[size_t(y) * size_t(width) + size_t(x)];
        bgr[0] = byte(p.b), bgr[1] = byte(p.g), bgr[2] = byte(p.r);
    });
}
