#include "world/bmp24.h"

#include "core/mappedfile.h"

namespace {

uint32_t le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool BMP24_read(const char* path, bmp24_image& out)
{
    out = bmp24_image{};
    MappedFile file;
    char* begin = MappedFile_load(&file, path);
    if (!begin) return false;
    const auto* data = reinterpret_cast<const unsigned char*>(begin);
    const size_t size = static_cast<size_t>(file.end - file.begin);
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return false;
    const int32_t width = static_cast<int32_t>(le32(data + 18));
    const int32_t height = static_cast<int32_t>(le32(data + 22));
    if (width < 1 || width > 1024 || height < 1 || height > 1024) return false;
    if (le16(data + 28) != 24 || le32(data + 30) != 0) return false;
    const size_t row_bytes = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (size < 54 + row_bytes * static_cast<size_t>(height)) return false;

    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int32_t r = 0; r < height; ++r) {
        const unsigned char* src = data + 54 + row_bytes * static_cast<size_t>(r);
        uint8_t* dst = &out.rgb[static_cast<size_t>(r) * static_cast<size_t>(width) * 3];
        for (int32_t c = 0; c < width; ++c) {
            dst[c * 3 + 0] = src[c * 3 + 2];
            dst[c * 3 + 1] = src[c * 3 + 1];
            dst[c * 3 + 2] = src[c * 3 + 0];
        }
    }
    return true;
}
