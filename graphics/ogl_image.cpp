#include "graphics/ogl_image.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/ogl_tex.h"
#include "platform/plat_files.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/mappedfile.h"
#include "core/text_util.h"

namespace {

constexpr const char* ZERO_DIM_LINE =
    "ZERO-dim textures are invalid for OpenGL, and textures greater than 1024 are invalid for Orvell!";

// ---------------------------------------------------------------- shared ----

void set_extension(char* path, const char* ext)
{
    const size_t len = std::strlen(path);
    if (len > 4) std::memcpy(path + len - 4, ext, 4);
}

int cut_to_int(double v)
{
    if (!(v == v)) return 0;
    if (v > 2.0e9) return 2000000000;
    if (v < -2.0e9) return -2000000000;
    return static_cast<int>(v);
}

// Where the texels of an image being read go: the pixel buffer at a row stride,
// with an offset, clipped so that nothing lands outside the buffer (or wraps
// past the end of a row into the next one).
struct texel_sink {
    int row_stride;
    int bytes_per_texel;

    void put(int row, int col, uint8_t r, uint8_t g, uint8_t b, uint8_t a) const
    {
        if (row < 0 || col < 0 || col >= row_stride) return;
        const size_t index = size_t(row) * size_t(row_stride) + size_t(col);
        const size_t offset = index * size_t(bytes_per_texel);
        if (offset + size_t(bytes_per_texel) > PIXEL_BUFFER_BYTES) return;
        uint8_t* t = pixel_buffer + offset;
        t[0] = r;
        t[1] = g;
        t[2] = b;
        if (bytes_per_texel == 4) t[3] = a;
    }

    // Whether texels of `row` from column `first` to column `last` (rising)
    // all land inside the buffer, so none needs the checks of put.
    bool row_fits(int row, int first, int last) const
    {
        if (row < 0 || first < 0 || last >= row_stride || last < first) return false;
        const size_t end = (size_t(row) * size_t(row_stride) + size_t(last) + 1) * size_t(bytes_per_texel);
        return end <= PIXEL_BUFFER_BYTES;
    }

    // One file texel at its scaled place; when enlarging, as a 2 x 2 block.
    void put_scaled(int file_row, int file_col, float s, bool enlarge, int x, int y, uint8_t r, uint8_t g, uint8_t b,
                    uint8_t a) const
    {
        const int row = cut_to_int(double(file_row) * s) + y;
        const int col = cut_to_int(double(file_col) * s) + x;
        put(row, col, r, g, b, a);
        if (enlarge) {
            put(row, col + 1, r, g, b, a);
            put(row + 1, col, r, g, b, a);
            put(row + 1, col + 1, r, g, b, a);
        }
    }
};

int step_for_scale(float s)
{
    const int step = cut_to_int(1.0 / double(s));
    return step < 1 ? 1 : step;
}

// The scaled size must be a usable texture size; checked before anything is written.
bool check_scaled_size(const char* first_line, const char* path, int width, int height, float s, int& out_w,
                       int& out_h)
{
    out_w = cut_to_int(double(width) * s);
    out_h = cut_to_int(double(height) * s);
    // The file's own sides must be positive too (a top-down BMP has a negative
    // height), and so must the factor (it may come from an aircraft file).
    const bool sides_ok = width >= 1 && width <= 1024 && height >= 1 && height <= 1024 && s > 0.0f;
    if (sides_ok && out_w >= 1 && out_w <= 1024 && out_h >= 1 && out_h <= 1024) return true;
    MACIBM_nuke_alert(0, first_line, "I cannot do this!", ZERO_DIM_LINE, path, ALERT_FATAL);
    return false;
}

// Whether the file being read may be left out when it cannot be read, and
// whether it was.
bool damage_is_soft = false;
bool damage_found = false;

// A file the flight can go without is named in one notice and read as no
// file; the reader gives up without touching the buffer.
int leave_out(const char* line1, const char* line2, const char* path)
{
    damage_found = true;
    if (ALERT_first_notice_of_damage(path))
        MACIBM_nuke_alert(app_mode, "This picture file is damaged and was left out:", path, line1, line2,
                          ALERT_NOTICE);
    return 0;
}

// A fatal alert does not return; should a handler return all the same, the
// reader gives up without touching the buffer.
int refuse(const char* line1, const char* line2, const char* path)
{
    if (damage_is_soft) return leave_out(line1, line2, path);
    MACIBM_nuke_alert(0, line1, line2, "", path, ALERT_FATAL);
    return 0;
}

// A file that is damaged (cut short, random bytes, a picture the library
// cannot decode): said in plain words, naming the file.
int damaged(const char* reason, const char* path)
{
    if (damage_is_soft) return leave_out(reason, "", path);
    MACIBM_nuke_alert(0, "This picture file is damaged:", path, reason, "The program cannot go on without it.",
                      ALERT_FATAL);
    return 0;
}

bool is_colour_key(const uint8_t* t) { return t[0] == 255 && t[1] == 0 && t[2] == 255; }

// ----------------------------------------------------------------- BMP ----

uint32_t get_le(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void put_le(uint8_t* p, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct bmp_header_fields {
    uint32_t magic, file_size, reserved1, reserved2, data_offset, info_size;
    int32_t width, height;
    uint32_t planes, bits, compression, image_size, x_res, y_res, colours, important;
};

// Reads the header field by field; a field that does not lie wholly inside the
// file is "Scan too far!".
bool read_bmp_header(const uint8_t* data, size_t size, const char* path, bmp_header_fields& h)
{
    size_t pos = 0;
    bool inside = true;
    auto field = [&](int bytes) -> uint32_t {
        if (!inside) return 0;
        if (pos + size_t(bytes) > size) {
            inside = false;
            return 0;
        }
        const uint32_t v = get_le(data + pos, bytes);
        pos += size_t(bytes);
        return v;
    };
    h = bmp_header_fields{};
    h.magic = field(2);
    h.file_size = field(4);
    h.reserved1 = field(2);
    h.reserved2 = field(2);
    h.data_offset = field(4);
    h.info_size = field(4);
    h.width = static_cast<int32_t>(field(4));
    h.height = static_cast<int32_t>(field(4));
    h.planes = field(2);
    h.bits = field(2);
    h.compression = field(4);
    h.image_size = field(4);
    h.x_res = field(4);
    h.y_res = field(4);
    h.colours = field(4);
    h.important = field(4);
    if (!inside) damaged("It ends inside its header.", path);
    return inside;
}

// Alpha, colour and soft-edge passes of the BMP reader over the scaled image.
void bmp_after_passes(int slot, int kind, int type, int bpt, int width, int height, int stride)
{
    if (!OGL_image_fits_buffer(width, height, stride, bpt)) return;
    auto at = [&](int r, int c) { return pixel_buffer + (size_t(r) * size_t(stride) + size_t(c)) * size_t(bpt); };

    if (bpt == 4 && (type == TEX_KEY || type == TEX_KEY_MIPMAP))
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                uint8_t* t = at(r, c);
                t[3] = is_colour_key(t) ? 0 : 255;
            }
    if (bpt == 4 && (type == TEX_BRIGHT || type == TEX_BRIGHT_MIPMAP))
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                uint8_t* t = at(r, c);
                t[3] = static_cast<uint8_t>((t[0] + t[1] + t[2]) / 3);
            }

    if (kind == LOAD_TEXTURE) {
        const bool bright_quarter = slot == TEX_SLOT_CIRRUS || slot == TEX_SLOT_CUMULUS;
        const bool bright_half = slot == TEX_SLOT_SMOKE;
        const bool black = slot == TEX_SLOT_TREES_FIRST;
        const bool white = slot == TEX_SLOT_LIGHTS || slot == TEX_SLOT_CLOUD || slot == TEX_SLOT_SCRATCHES ||
                           (slot >= TEX_SLOT_MOON_FIRST && slot <= TEX_SLOT_MOON_LAST);
        if (bright_quarter || bright_half || black || white)
            for (int r = 0; r < height; ++r)
                for (int c = 0; c < width; ++c) {
                    uint8_t* t = at(r, c);
                    for (int k = 0; k < 3; ++k) {
                        if (bright_quarter) t[k] = static_cast<uint8_t>(t[k] / 4 + 192);
                        if (bright_half) t[k] = static_cast<uint8_t>(t[k] / 2 + 128);
                        if (black) t[k] = 0;
                        if (white) t[k] = 255;
                    }
                }
    }

    const bool soft_edges = (slot >= TEX_SLOT_SOFT_EDGE_FIRST && slot <= TEX_SLOT_SOFT_EDGE_LAST) ||
                            slot == TEX_SLOT_HIGHWAY || slot == TEX_SLOT_TRAIL || slot == TEX_SLOT_RAILROAD;
    if (soft_edges && bpt == 4)
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                uint8_t* t = at(r, c);
                if (t[3] == 0) continue;
                int n = 0, k = 0;
                for (int rr = std::max(r - 4, 0); rr <= std::min(r + 4, height - 1); ++rr)
                    for (int cc = std::max(c - 4, 0); cc <= std::min(c + 4, width - 1); ++cc) {
                        ++n;
                        if (at(rr, cc)[3] != 0) ++k;
                    }
                t[3] = static_cast<uint8_t>(t[3] * k / n);
            }
}

// ----------------------------------------------------------------- PNG ----

// The file being decoded: the whole file in memory, with a read position. The
// library is handed the same bytes in the same order as through a buffer
// refilled from the open file, so the picture read is the same.
struct png_io_state {
    const uint8_t* data = nullptr;
    size_t fill = 0;       // bytes valid
    size_t position = 0;   // next byte to hand out
};
png_io_state png_io_buf;

// Decoded rows of one image, top row first, packed at the image's own width.
alignas(16) uint8_t png_decoded[PIXEL_BUFFER_BYTES];
png_bytep png_row_pointers[PIXEL_BUFFER_SIDE];

// Owns the library's read structures; destroys them on every way out.
struct png_reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_reader() = default;
    png_reader(const png_reader&) = delete;
    png_reader& operator=(const png_reader&) = delete;
    ~png_reader()
    {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

struct png_image_info {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int colour_type = 0;
};

void log_png_message(const char* message)
{
    if (error_log.is_open()) {
        error_log << (message ? message : "") << '\n';
        error_log.flush();
    }
}

// An error of the library is written to ERROR.OUT and its fatal alert raised
// once the library's call has returned: raised inside it, the alert box would
// run frames in the middle of the read, and a frame reading a picture would
// take over the one input buffer under it.
//
// The functions below run inside the library's calls. Nothing in them or in
// the frames a library error jumps over owns a resource with a destructor: the
// jump only unwinds C frames and the plain step functions that set the jump
// target.

void PNG_read_fn(png_structp png, png_bytep destination, png_size_t length)
{
    png_io_state& io = png_io_buf;
    if (length > io.fill - io.position) png_error(png, "PNG Read Error, png_io_buf_fill<0");
    std::memcpy(destination, io.data + io.position, length);
    io.position += length;
}

[[noreturn]] void PNG_error_fn(png_structp png, png_const_charp message)
{
    log_png_message(message);
    png_longjmp(png, 1);
}

// A warning is written to ERROR.OUT and reading goes on. The library of this
// platform warns about pictures it still reads in full (a colour profile it
// does not know, say); a fatal alert there would end the program, and lose the
// flight, over a good picture.
void PNG_warning_fn(png_structp, png_const_charp message) { log_png_message(message); }

// Reads the header and sets up the conversion to bytes_per_texel bytes of
// R, G, B[, A] per texel. Returns 0 when the library reported an error.
int png_step_header(png_structp png, png_infop info, int bytes_per_texel, png_image_info* out)
{
    if (setjmp(png_jmpbuf(png))) return 0;
    png_set_read_fn(png, nullptr, PNG_read_fn);
    png_set_sig_bytes(png, 8);
    png_io_buf.position = 8;
    png_read_info(png, info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colour = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colour, nullptr, nullptr, nullptr);
    out->width = w;
    out->height = h;
    out->bit_depth = depth;
    out->colour_type = colour;

    const bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const bool grey = colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA;
    if ((colour == PNG_COLOR_TYPE_PALETTE && depth <= 8) || (colour == PNG_COLOR_TYPE_GRAY && depth < 8) || trns)
        png_set_expand(png);
    if (depth == 16) png_set_strip_16(png);
    if (depth < 8) png_set_packing(png);
    if (grey) png_set_gray_to_rgb(png);
    // After the expansion an image has alpha when its type says so or when it
    // carried a transparency chunk; the filler or the strip brings it to the
    // wanted texel size whatever the source type was.
    const bool has_alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || trns;
    if (bytes_per_texel == 4 && !has_alpha) png_set_filler(png, 255, PNG_FILLER_AFTER);
    if (bytes_per_texel == 3 && has_alpha) png_set_strip_alpha(png);
    // Without it an interlaced picture's passes would land on one another and
    // the picture would come out scrambled.
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return 1;
}

// Decodes the whole image through png_row_pointers. Returns 0 when the library reported an error.
int png_step_image(png_structp png)
{
    if (setjmp(png_jmpbuf(png))) return 0;
    png_read_image(png, png_row_pointers);
    return 1;
}

int png_fatal(const char* line2, const char* path) { return refuse("PING-FILE ERROR!", line2, path); }

// The alert after the library reported an error (its message is in ERROR.OUT).
int png_library_error(const char* path)
{
    return damaged("It is damaged or not a kind of PNG this program reads.", path);
}

}  // namespace

void OGL_image_damage_soft(bool soft)
{
    damage_is_soft = soft;
    damage_found = false;
}

bool OGL_image_damage_found() { return damage_found; }

size_t BMP_row_bytes(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

void BMP_make_header(uint8_t header[BMP_HEADER_SIZE], int width, int height)
{
    std::memset(header, 0, BMP_HEADER_SIZE);
    header[0] = 'B';
    header[1] = 'M';
    put_le(header + 2, static_cast<uint32_t>(BMP_HEADER_SIZE + BMP_row_bytes(width) * size_t(height)), 4);
    put_le(header + 10, BMP_HEADER_SIZE, 4);
    put_le(header + 14, 40, 4);
    put_le(header + 18, static_cast<uint32_t>(width), 4);
    put_le(header + 22, static_cast<uint32_t>(height), 4);
    put_le(header + 26, 1, 2);
    put_le(header + 28, 24, 2);
}

int BMP_read_file(char* path, int slot, int kind, int bytes_per_texel, int type, int& out_width, int& out_height,
                  int x, int y, int& out_row_stride)
{
    set_extension(path, ".bmp");
    MappedFile file;
    if (!MappedFile_load(&file, path)) return 0;
    // An empty file is not read. A texture's is damaged like one cut short,
    // and named: passed over without a word, the picture would be missing
    // from the flight with nothing to say why.
    if (file.end == file.begin) return damage_is_soft ? leave_out("It is empty.", "", path) : 0;
    const uint8_t* data = reinterpret_cast<const uint8_t*>(file.begin);
    const size_t size = size_t(file.end - file.begin);

    bmp_header_fields h;
    if (!read_bmp_header(data, size, path, h)) return 0;
    if (h.magic != ('B' | ('M' << 8))) return damaged("It is not a BMP picture.", path);
    if (h.width > 1024) return refuse("Bitmap too wide! (max is 1024)", "", path);
    if (h.height > 1024) return refuse("Bitmap too tall! (max is 1024)", "", path);
    if (h.bits != 24) return refuse("Wrong bitmap color depth for texture!", "We need 24-bit color.", path);
    if (h.compression != 0) return refuse("Bitmap is compressed!", "", path);

    const int width = h.width, height = h.height;
    out_width = width;
    out_height = height;
    const float s = OGL_tex_scale_for_res(path, slot, kind, width, height, out_row_stride);
    int scaled_w = 0, scaled_h = 0;
    if (!check_scaled_size(
            "OGL_mini_me: Trying to create a texture either less than 1 or greater than 1024 in dimension!", path,
            width, height, s, scaled_w, scaled_h))
        return 0;

    // The rows are taken from byte 54 on, whatever the header's offset says;
    // the file must hold every texel that is read.
    const size_t row_bytes = BMP_row_bytes(width);
    const size_t needed = BMP_HEADER_SIZE + row_bytes * size_t(height - 1) + size_t(width) * 3;
    if (needed > size) return damaged("It ends before its last row of texels.", path);

    const bool enlarge = s > 1.01f;
    const int step = step_for_scale(s);
    const texel_sink sink{out_row_stride, bytes_per_texel};
    const bool skip_key = kind == LOAD_BITMAP && bytes_per_texel == 4;
    // The columns every kept row lands in (the same for every row).
    std::vector<int> columns;
    for (int c = 0; c < width; c += step) columns.push_back(cut_to_int(double(c) * s) + x);
    for (int r = 0; r < height; r += step) {
        const uint8_t* row = data + BMP_HEADER_SIZE + size_t(r) * row_bytes;
        const int out_row = cut_to_int(double(r) * s) + y;
        if (!enlarge && sink.row_fits(out_row, columns.front(), columns.back())) {
            // The whole row lands inside the buffer: no texel needs clipping.
            uint8_t* out = pixel_buffer + size_t(out_row) * size_t(out_row_stride) * size_t(bytes_per_texel);
            for (size_t k = 0; k < columns.size(); ++k) {
                const uint8_t* t = row + size_t(k) * size_t(step) * 3;
                if (skip_key && t[2] == 255 && t[1] == 0 && t[0] == 255) continue;
                uint8_t* o = out + size_t(columns[k]) * size_t(bytes_per_texel);
                o[0] = t[2];
                o[1] = t[1];
                o[2] = t[0];
                if (bytes_per_texel == 4) o[3] = 255;
            }
            continue;
        }
        for (int c = 0; c < width; c += step) {
            const uint8_t* t = row + size_t(c) * 3;
            const uint8_t rgb[3] = {t[2], t[1], t[0]};
            if (skip_key && is_colour_key(rgb)) continue;
            sink.put_scaled(r, c, s, enlarge, x, y, rgb[0], rgb[1], rgb[2], 255);
        }
    }

    out_width = scaled_w;
    out_height = scaled_h;
    bmp_after_passes(slot, kind, type, bytes_per_texel, scaled_w, scaled_h, out_row_stride);
    return 1;
}

int PNG_read_file(char* path, int slot, int kind, int bytes_per_texel, int& out_width, int& out_height, int x,
                  int y, int& out_row_stride)
{
    set_extension(path, ".png");
    png_reader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PNG_error_fn, PNG_warning_fn);
    if (!reader.png) return png_fatal("!png_ptr", path);
    reader.info = png_create_info_struct(reader.png);
    if (!reader.info) return png_fatal("!info_ptr", path);

    MappedFile file;
    if (!MappedFile_load(&file, path)) return 0;
    png_io_buf.data = reinterpret_cast<const uint8_t*>(file.begin);
    png_io_buf.fill = size_t(file.end - file.begin);
    png_io_buf.position = 0;
    if (png_io_buf.fill < 8) return damaged("It is too short to be a PNG picture.", path);
    if (png_sig_cmp(png_io_buf.data, 0, 8) != 0) return damaged("It is not a PNG picture.", path);

    png_image_info image;
    if (!png_step_header(reader.png, reader.info, bytes_per_texel, &image)) return png_library_error(path);
    // A picture the conversions do not bring to 8-bit texels of the wanted
    // size would write rows longer than the room given to them.
    if (png_get_bit_depth(reader.png, reader.info) != 8 ||
        png_get_channels(reader.png, reader.info) != bytes_per_texel)
        return png_library_error(path);

    // The size checks come before a single row is decoded.
    const int width = image.width > 100000 ? 100000 : static_cast<int>(image.width);
    const int height = image.height > 100000 ? 100000 : static_cast<int>(image.height);
    out_width = width;
    out_height = height;
    const float s = OGL_tex_scale_for_res(path, slot, kind, width, height, out_row_stride);
    int scaled_w = 0, scaled_h = 0;
    if (!check_scaled_size("PNG: Trying to create a texture either less than 1 or greater than 1024 in dimension!",
                           path, width, height, s, scaled_w, scaled_h))
        return 0;
    // The full-size picture is decoded before it is reduced: one larger than
    // the decoding room would be written past its end.
    if (width > PIXEL_BUFFER_SIDE || height > PIXEL_BUFFER_SIDE) return refuse("Too big a bitmap to read!", "", path);
    if (png_get_rowbytes(reader.png, reader.info) != size_t(width) * size_t(bytes_per_texel))
        return png_library_error(path);

    for (int i = 0; i < height; ++i) png_row_pointers[i] = png_decoded + size_t(i) * size_t(width) * bytes_per_texel;
    if (!png_step_image(reader.png)) return png_library_error(path);

    // Decoded rows run top to bottom; the buffer's row 0 is the bottom row.
    // Every step-th texel of every step-th row is kept (all of them at full
    // size), placed at (x, y) at the row stride the resolution step gave, and
    // clipped to the buffer. For textures that is the reduced width from the
    // buffer's start, as a packed reduction gives; an instrument picture at a
    // size below 1, packed from the start instead, would land in the panel's
    // corner with rows at the wrong stride. An enlarged picture (an instrument at size 2) is
    // written as 2 x 2 blocks as the BMP reader does: a step of 1/s cut to 0
    // would never advance, and a picture left unscaled would not fill the place
    // it was sized for.
    const bool enlarge = s > 1.01f;
    const int step = step_for_scale(s);
    const texel_sink sink{out_row_stride, bytes_per_texel};
    for (int r = 0; r < height; r += step) {
        const uint8_t* row = png_row_pointers[height - 1 - r];
        for (int c = 0; c < width; c += step) {
            const uint8_t* t = row + size_t(c) * bytes_per_texel;
            sink.put_scaled(r, c, s, enlarge, x, y, t[0], t[1], t[2], bytes_per_texel == 4 ? t[3] : 255);
        }
    }
    out_width = scaled_w;
    out_height = scaled_h;
    return 1;
}

namespace {

// The picture's bytes to an open file, which is closed; false when a write failed.
bool write_bmp_bytes(FILE* f, int width, int height)
{
    bool ok = f != nullptr;
    uint8_t header[BMP_HEADER_SIZE];
    BMP_make_header(header, width, height);
    if (ok) ok = std::fwrite(header, 1, BMP_HEADER_SIZE, f) == BMP_HEADER_SIZE;

    const size_t texels = size_t(width) * size_t(height);
    for (size_t i = 0; i < texels; ++i) std::swap(pixel_buffer[i * 3], pixel_buffer[i * 3 + 2]);

    const size_t data_bytes = size_t(width) * 3;
    const uint8_t padding[3] = {0, 0, 0};
    const size_t pad = BMP_row_bytes(width) - data_bytes;
    for (int r = 0; r < height && ok; ++r) {
        ok = std::fwrite(pixel_buffer + size_t(r) * data_bytes, 1, data_bytes, f) == data_bytes;
        if (ok && pad) ok = std::fwrite(padding, 1, pad, f) == pad;
    }
    if (f) ok = (std::fclose(f) == 0) && ok;
    return ok;
}

// A failed save is reported: reporting nothing would let the user take the
// picture for saved when nothing was written. The temporary file goes.
bool failed_save(const std::string& temp, const char* path)
{
    // The system's reason for the failed write (a full disk, no permission),
    // taken before the clean-up below can change it.
    const int why = errno;
    if (!temp.empty()) std::remove(PLAT_resolve_path(temp.c_str()).c_str());
    const std::string last = why != 0 ? std::string("and that the disk is writable and not full (") +
                                            std::strerror(why) + ")."
                                      : std::string("and that the disk is writable and not full.");
    MACIBM_nuke_alert(app_mode, "The picture could not be saved:", path, "Check that its folder exists", last.c_str(),
                      ALERT_NOTICE);
    return false;
}

bool fits_pixel_buffer(int width, int height)
{
    return width >= 1 && height >= 1 && size_t(width) * size_t(height) * 3 <= PIXEL_BUFFER_BYTES;
}

}  // namespace

bool BMP_write_file(const char* path, int width, int height)
{
    if (!path || !fits_pixel_buffer(width, height)) return false;   // would read past the buffer

    // The bytes go to a temporary file first, so an old file of the name is
    // replaced only by a complete one, which it keeps whole until then. A
    // file-size limit met on the way is a failed write like a full disk, not
    // the end of the program.
    const PLAT_size_limit_hold hold;
    errno = 0;   // a reason left from an earlier call is not this write's
    const std::string temp = std::string(path) + FILE_SAVE_SUFFIX;
    if (write_bmp_bytes(PLAT_fopen(temp.c_str(), "wb"), width, height) && PLAT_replace_file(temp.c_str(), path))
        return true;
    return failed_save(temp, path);
}

bool BMP_write_new_numbered_file(const char* stem, const char* suffix, int32_t& number, int width, int height)
{
    if (!stem || !suffix || !fits_pixel_buffer(width, height)) return false;
    const PLAT_size_limit_hold hold;
    errno = 0;   // a reason left from an earlier call is not this write's
    // A temporary file of this writer's own: two writers of one name would
    // write into each other's file.
    std::string temp;
    FILE* f = PLAT_create_unique_file(stem, FILE_SAVE_SUFFIX, temp);
    if (!write_bmp_bytes(f, width, height)) {
        if (number < INT32_MAX) ++number;
        return failed_save(temp, (std::string(stem) + std::to_string(number) + suffix).c_str());
    }
    std::string path = std::string(stem) + std::to_string(number) + suffix;
    // The first free number: one taken by an earlier run is passed over
    // before the file is placed, one another writer takes in between when it is.
    while (number < INT32_MAX) {
        ++number;
        path = std::string(stem) + std::to_string(number) + suffix;
        if (PLAT_file_exists(path.c_str())) continue;
        const plat_place_result placed = PLAT_place_new_file(temp.c_str(), path.c_str());
        if (placed == PLAT_PLACED) return true;
        if (placed == PLAT_PLACE_FAILED) break;
    }
    return failed_save(temp, path.c_str());
}
