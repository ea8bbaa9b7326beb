#include "tests/graphics/image_helpers.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstring>

#include "graphics/ogl_tex.h"
#include "core/folders.h"
#include "tests/support/test_support.h"

namespace {

void le(std::string& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void append_to_string(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void no_flush(png_structp) {}

}  // namespace

std::string bmp_bytes(int width, int height, const std::vector<rgb>& texels)
{
    const int row_bytes = (width * 3 + 3) / 4 * 4;
    std::string b = "BM";
    le(b, 54 + row_bytes * height, 4);
    le(b, 0, 4);
    le(b, 54, 4);
    le(b, 40, 4);
    le(b, static_cast<uint32_t>(width), 4);
    le(b, static_cast<uint32_t>(height), 4);
    le(b, 1, 2);
    le(b, 24, 2);
    for (int i = 0; i < 6; ++i) le(b, 0, 4);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const rgb& t = texels[size_t(r) * width + c];
            b.push_back(static_cast<char>(t[2]));
            b.push_back(static_cast<char>(t[1]));
            b.push_back(static_cast<char>(t[0]));
        }
        b.append(size_t(row_bytes - width * 3), '\0');
    }
    return b;
}

std::string png_bytes(const png_desc& desc)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append_to_string, no_flush);
    png_set_IHDR(png, info, desc.width, desc.height, desc.bit_depth, desc.colour_type,
                 desc.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const rgb& p : desc.palette) palette.push_back(png_color{p[0], p[1], p[2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!desc.trns.empty())
        png_set_tRNS(png, info, desc.trns.data(), static_cast<int>(desc.trns.size()), nullptr);
    png_text text{};
    char key[] = "Comment";
    char value[] = "made by the test";
    if (desc.text_chunk) {
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = key;
        text.text = value;
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    const int passes = desc.interlaced ? png_set_interlace_handling(png) : 1;
    const size_t row_bytes = desc.rows.size() / size_t(desc.height);
    for (int pass = 0; pass < passes; ++pass)
        for (int r = 0; r < desc.height; ++r)
            png_write_row(png, const_cast<png_bytep>(desc.rows.data() + size_t(r) * row_bytes));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> read_texture(int slot, int level, int& width, int& height)
{
    OGL_bind_tex(slot, 0);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> texels(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

std::string error_log_during(const std::function<void()>& f)
{
    temp_folder tmp;
    const std::string path = (tmp.path() / "ERROR.OUT").string();
    error_log.close();
    error_log.clear();
    error_log.open(path);
    f();
    error_log.close();
    return read_file_bytes(path);
}
