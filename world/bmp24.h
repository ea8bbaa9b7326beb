// A small reader of uncompressed 24-bit BMP images, for the world's own
// image tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct bmp24_image {
    int32_t width = 0;
    int32_t height = 0;
    // Rows from the bottom row of the picture up (the file's own order),
    // each pixel red, green, blue.
    std::vector<uint8_t> rgb;

    const uint8_t* pixel(int row, int column) const
    {
        return &rgb[(static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)) * 3];
    }
};

// Reads a BMP file: "BM", a width and a positive height of 1..1024, 24 bits
// per pixel, no compression, the pixel rows from byte 54 on, each padded to a
// multiple of 4 bytes. False when the file is missing, of another kind, or
// too short for its rows.
bool BMP24_read(const char* path, bmp24_image& out);
