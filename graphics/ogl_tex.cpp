#include "graphics/ogl_tex.h"

#include "graphics/ogl_bind_seam.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "core/screen.h"
#include "core/text_util.h"

namespace {

alignas(16) uint8_t pixel_block[PIXEL_BUFFER_BYTES];
alignas(16) uint8_t view_blocks[VIEW_IMAGE_COUNT][VIEW_IMAGE_BYTES];

constexpr const char* ZERO_DIM_LINE =
    "ZERO-dim textures are invalid for OpenGL, and textures greater than 1024 are invalid for Orvell!";

bool in_range(int v, int lo, int hi) { return v >= lo && v <= hi; }

int bytes_of_format(int format)
{
    switch (format) {
    case GL_ALPHA: return 1;
    case GL_RGB: return 3;
    case GL_RGBA: return 4;
    default: return 0;
    }
}

// Power of two by halving, as an integer and as a float side by side.
bool power_of_two(int side)
{
    int i = side;
    float f = static_cast<float>(side);
    while (i > 1) {
        i /= 2;
        f /= 2.0f;
    }
    return std::fabs(f - static_cast<float>(i)) <= 0.0001f;
}

// The slots whose pictures tile: wrapped with GL_REPEAT, every other slot clamped.
bool repeats(int slot)
{
    return in_range(slot, TEX_SLOT_TERRAIN_FIRST, TEX_SLOT_TERRAIN_LAST) ||
           in_range(slot, TEX_SLOT_RUNWAY_FIRST, TEX_SLOT_RUNWAY_LAST) ||
           in_range(slot, TEX_SLOT_HITS_1, TEX_SLOT_CUMULUS) ||
           in_range(slot, TEX_SLOT_FLAME_BURNER_FAST, TEX_SLOT_FENCE) || slot == TEX_SLOT_ICE ||
           slot == TEX_SLOT_SCRATCHES || in_range(slot, TEX_SLOT_SEA_FIRST, TEX_SLOT_SEA_LAST) ||
           in_range(slot, TEX_SLOT_HIGHWAY, 266) || in_range(slot, TEX_SLOT_TREES_FIRST, TEX_SLOT_TREES_LAST) ||
           in_range(slot, 288, 298) || slot == 304 || in_range(slot, 311, 313) || slot == 454 ||
           in_range(slot, TEX_SLOT_INSTRUMENTS_FIRST, 999);
}

// Products of sizes and scale factors cut toward zero, kept within int range
// (a factor from a damaged file must not make the conversion undefined).
// Raises a fatal alert (which does not return); 0 is the caller's "nothing done".
int fatal(int mode, const char* l1, const char* l2, const char* l3, const char* l4)
{
    MACIBM_nuke_alert(mode, l1, l2, l3, l4, ALERT_FATAL);
    return 0;
}

// The checks every upload makes: each side 1..1024, the slot inside the
// table, a known texel format and texels to read. Raises the fatal alert of
// the first that fails, its text led by `who`, and returns 0; the bytes per
// texel when all pass.
int checked_texel_bytes(const char* who, const char* name, int slot, int format, int width, int height,
                        const uint8_t* pixels)
{
    const std::string w = who;
    if (width < 1 || width > 1024 || height < 1 || height > 1024)
        return fatal(0,
                     (w + ": Trying to create a texture either less than 1 or greater than 1024 in dimension!").c_str(),
                     "I cannot do this!", ZERO_DIM_LINE, name);
    if (slot < 0) return fatal(0, (w + ": Trying to bind too low  a texture index!").c_str(), name, "", "");
    if (slot >= TEX_SLOTS) return fatal(0, (w + ": Trying to bind too high a texture index!").c_str(), name, "", "");
    const int bpt = bytes_of_format(format);
    // An unknown format gives no texel size to read by, and null texels would be read at address 0.
    if (bpt == 0 || !pixels) return fatal(0, (w + ": Bad texel format!").c_str(), name, "", "");
    return bpt;
}

int cut_to_int(double v)
{
    if (!(v == v)) return 0;
    if (v > 2.0e9) return 2000000000;
    if (v < -2.0e9) return -2000000000;
    return static_cast<int>(v);
}

}  // namespace

uint8_t* pixel_buffer = pixel_block;
uint8_t* view_image_buffers[VIEW_IMAGE_COUNT] = {view_blocks[0], view_blocks[1], view_blocks[2],
                                                  view_blocks[3], view_blocks[4], view_blocks[5],
                                                  view_blocks[6], view_blocks[7], view_blocks[8]};
int32_t bound_texture[TEX_UNITS_CACHED] = {-1, -1, -1, -1};
int32_t cur_tex_units = 1;
int32_t texture_memory[TEX_SLOTS];
uint32_t texture_uploads[TEX_SLOTS];

void OGL_init_image_blocks()
{
    pixel_buffer = pixel_block;
    for (int i = 0; i < VIEW_IMAGE_COUNT; ++i) view_image_buffers[i] = view_blocks[i];
}

namespace {
// Alignment first: it is the one setting whose plain value is 1, not 0.
constexpr unsigned pack_settings[6] = {GL_PACK_ALIGNMENT,   GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS,
                                       GL_PACK_SKIP_PIXELS, GL_PACK_SWAP_BYTES, GL_PACK_LSB_FIRST};
constexpr unsigned unpack_settings[6] = {GL_UNPACK_ALIGNMENT,   GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS,
                                         GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST};
}  // namespace

OGL_pixel_rows_guard::OGL_pixel_rows_guard(bool pack) : names_(pack ? pack_settings : unpack_settings)
{
    for (int i = 0; i < SETTINGS; ++i) {
        saved_[i] = 0;
        glGetIntegerv(names_[i], &saved_[i]);
        const int plain = i == 0 ? 1 : 0;
        if (saved_[i] != plain) glPixelStorei(names_[i], plain);
    }
}

OGL_pixel_rows_guard::~OGL_pixel_rows_guard()
{
    for (int i = 0; i < SETTINGS; ++i) {
        const int plain = i == 0 ? 1 : 0;
        if (saved_[i] != plain) glPixelStorei(names_[i], saved_[i]);
    }
}

bool OGL_image_fits_buffer(int width, int height, int row_stride, int bytes_per_texel)
{
    if (width < 1 || height < 1 || row_stride < width || bytes_per_texel < 1 || bytes_per_texel > 4) return false;
    if (width > PIXEL_BUFFER_SIDE || height > PIXEL_BUFFER_SIDE) return false;
    const size_t texels = size_t(height - 1) * size_t(row_stride) + size_t(width);
    return texels * size_t(bytes_per_texel) <= PIXEL_BUFFER_BYTES;
}

bool OGL_reserve_texture_slots()
{
    // Names 1..TEX_SLOTS-1 are taken with glGenTextures until every one is
    // ours (name 0 is the default texture, which no one can be given). Names
    // above the slots that come back on the way are given back at the end.
    std::vector<bool> owned(TEX_SLOTS, false);
    owned[0] = true;
    int missing = TEX_SLOTS - 1;
    std::vector<GLuint> spare;
    while (missing > 0) {
        std::vector<GLuint> names(static_cast<size_t>(missing), 0);
        glGenTextures(missing, names.data());
        int gained = 0;
        for (GLuint n : names) {
            if (n > 0 && n < static_cast<GLuint>(TEX_SLOTS) && !owned[n]) {
                owned[n] = true;
                ++gained;
            } else if (n != 0) {
                spare.push_back(n);
            }
        }
        missing -= gained;
        if (gained == 0) break;   // the rest belong to someone else already
    }
    if (!spare.empty()) glDeleteTextures(static_cast<GLsizei>(spare.size()), spare.data());
    if (missing > 0 && error_log.is_open())
        error_log << "Texture slots: " << missing << " slot names were already taken before start-up.\n";
    return missing == 0;
}

void OGL_reset_bound_textures()
{
    for (int32_t& b : bound_texture) b = -1;
}
// The cache only says which binds may be skipped: forgotten, the next bind on
// each unit is made again, whatever an earlier user of the context (or a bind
// on a unit the count left unselected) left bound there.
ORVELL_RESET(OGL_reset_bound_textures, scene);

void OGL_bind_tex(int slot, int unit)
{
    if (unit < 0 || unit >= TEX_UNITS_CACHED) return;
    OGL_seam_bound(slot, unit);
    const bool select = cur_tex_units != 1 && unit != 0 && gl_entry::glActiveTextureARB;
    // Without a unit to select the texture lands on unit 0, so the cache
    // notes it there too: otherwise a later bind on unit 0 of the texture the
    // cache still names there would be skipped and draw with this one.
    const int landed = select ? unit : 0;
    if (bound_texture[unit] == slot && bound_texture[landed] == slot) return;
    bound_texture[unit] = slot;
    bound_texture[landed] = slot;
    if (select) gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
    if (select) gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
}

float OGL_tex_scale_for_res(const char* name, int slot, int kind, int width, int height, int& row_stride)
{
    if (!name) name = "";
    float s = 1.0f;
    row_stride = 1024;

    // Size checks for every kind, before any texel is written.
    if (width > 1024 || height > 1024)
        MACIBM_nuke_alert(0, "Too big a bitmap to read!", "", "", name, ALERT_FATAL);
    if ((kind == LOAD_CUSTOM_PANEL || kind == LOAD_PANEL) && (width != 1024 || height > 768))
        MACIBM_nuke_alert(0,
                          "Custom cockpit bitmap is not 1024 x 768 pixels! The cockpit bitmap must be 1024 x 768 "
                          "pixels, with 32 or 24 bit RGB color.",
                          "You are probably trying to use a custom cockpit from an older version of Orvell that is "
                          "not the right size.",
                          "Please redraw the panel at 1024 x 768 pixels.", name, ALERT_FATAL);

    if (kind == LOAD_TEXTURE) {
        const bool set_a = in_range(slot, TEX_SLOT_TERRAIN_FIRST, TEX_SLOT_WATER) || slot == TEX_SLOT_PLANET_1 ||
                           slot == TEX_SLOT_PLANET_2 || slot >= 1000;
        switch (screen.rendering_res) {
        case 4: s = set_a ? 0.5f : 1.0f; break;
        case 3: s = set_a ? 0.25f : 0.5f; break;
        case 2: s = set_a ? 0.125f : 0.25f; break;
        case 1: s = set_a ? 0.0625f : 0.125f; break;
        case 0: s = set_a ? 0.03125f : 0.0625f; break;
        default: break;
        }
        if (slot == TEX_SLOT_CIRRUS || slot == TEX_SLOT_CUMULUS) {
            if (s < 1.0f) s *= 2.0f;
        }
        if (slot == TEX_SLOT_FENCE) s = 1.0f;
        if (in_range(slot, TEX_SLOT_MOON_FIRST, TEX_SLOT_MOON_LAST)) s = 1.0f;
        if (in_range(slot, 404, 443)) s /= 2.0f;
        if (in_range(slot, TEX_SLOT_INTERFACE, TEX_SLOT_PANEL_CUSTOM)) s = 1.0f;
        if (slot == 499) s = 1.0f;
        if (in_range(slot, 1000, 1002)) s = 1.0f;

        // A side of 0 (an empty image) would raise the factor to 1/0, and every
        // size scaled by it would be endless: such a side sets no floor.
        if (width > 0) s = std::max(s, 1.0f / static_cast<float>(width));
        if (height > 0) s = std::max(s, 1.0f / static_cast<float>(height));

        GLint max_size = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
        if (max_size > 0)
            while (s > 0.0f && (static_cast<float>(width) * s > static_cast<float>(max_size) ||
                                static_cast<float>(height) * s > static_cast<float>(max_size)))
                s /= 2.0f;

        if (slot <= TEX_SLOT_TERRAIN_LAST || slot >= TEX_SLOT_TERRAIN_MORE_FIRST) {
            if (width > 1024 || height > 512)
                MACIBM_nuke_alert(0, "Wrong size terrain texture!",
                                  "Texture must be at most 512 texels high, and 256, 512, or 1024 texels wide!", name,
                                  "", ALERT_FATAL);
            // In 64 bits: a damaged file's height times 64 must not overflow.
            bool multiple = false;
            for (int64_t m = 1; m <= 64; m *= 2)
                if (int64_t(width) == int64_t(height) * m) multiple = true;
            if (!multiple)
                MACIBM_nuke_alert(0, "Wrong size terrain texture!",
                                  "Texture must be power of 2 high, and some integer multipe (including 1) of that "
                                  "wide. 1024 is the maximum dimension in either direction.",
                                  name, "", ALERT_FATAL);
        }
        row_stride = cut_to_int(static_cast<double>(width) * s);
    }

    if (kind == LOAD_BITMAP && in_range(slot, TEX_SLOT_INSTRUMENTS_FIRST, TEX_SLOT_INSTRUMENTS_LAST))
        s = pln[0].acf_ins_size[slot - TEX_SLOT_INSTRUMENTS_FIRST];
    return s;
}

void OGL_bleed_alpha(int slot, int type, int width, int height, int bytes_per_texel, int row_stride)
{
    if (type < TEX_BRIGHT_MIPMAP || type > TEX_KEY) return;
    if (in_range(slot, 400, 443) || slot == TEX_SLOT_BUILDINGS_LIT || slot == TEX_SLOT_INTERFACE_FONT2) return;
    // Only 4-byte texels carry an alpha: rows of 3-byte texels read 4 bytes a texel would run past the image.
    if (height < 1 || bytes_per_texel != 4) return;
    // An image or row stride larger than the pixel buffer would be read and written past its end.
    if (!OGL_image_fits_buffer(width, height, row_stride, 4)) return;

    // Only opaque or partly opaque texels are summed, and only fully
    // transparent ones change, so the sums never see a changed texel: each
    // row keeps, per column, the sums over its five rows (sliding down the
    // image), and a transparent texel adds up the five columns around it.
    uint8_t* buf = pixel_buffer;
    auto at = [&](int r, int c) { return buf + (size_t(r) * size_t(row_stride) + size_t(c)) * 4; };
    struct column_sum {
        int rgb[3];
        int count;
    };
    std::vector<column_sum> columns(static_cast<size_t>(width), column_sum{{0, 0, 0}, 0});
    auto add_row = [&](int r, int sign) {
        for (int c = 0; c < width; ++c) {
            const uint8_t* n = at(r, c);
            if (n[3] == 0) continue;
            column_sum& s = columns[static_cast<size_t>(c)];
            s.rgb[0] += sign * n[0];
            s.rgb[1] += sign * n[1];
            s.rgb[2] += sign * n[2];
            s.count += sign;
        }
    };
    for (int r = 0; r <= std::min(2, height - 1); ++r) add_row(r, 1);
    for (int r = 0; r < height; ++r) {
        if (r > 0 && r + 2 < height) add_row(r + 2, 1);
        if (r - 3 >= 0) add_row(r - 3, -1);
        for (int c = 0; c < width; ++c) {
            uint8_t* t = at(r, c);
            if (t[3] != 0) continue;
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int cc = std::max(c - 2, 0); cc <= std::min(c + 2, width - 1); ++cc) {
                const column_sum& s = columns[static_cast<size_t>(cc)];
                sum[0] += s.rgb[0];
                sum[1] += s.rgb[1];
                sum[2] += s.rgb[2];
                count += s.count;
            }
            if (count >= 1)
                for (int i = 0; i < 3; ++i) t[i] = static_cast<uint8_t>(sum[i] / count);
        }
    }
}

void OGL_load_tex(const char* name, int slot, int level, int format, int width, int height,
                  const uint8_t* pixels)
{
    if (!name) name = "";
    // Each check is a fatal alert, which does not return; should a handler
    // return all the same, nothing is uploaded.
    if (!power_of_two(width) || !power_of_two(height))
        return (void)fatal(0, "OGL_load_tex: Trying to read a texture that is not a power of 2!", name, "", "");
    const int bpt = checked_texel_bytes("OGL_load_tex", name, slot, format, width, height, pixels);
    if (bpt == 0) return;

    // Memory savers: some panel pictures are not needed at low settings. The
    // first 16 texels are then taken as a 4 x 4 picture; a picture of fewer
    // texels keeps its size, as 4 x 4 would read past its texels.
    const bool has_16_texels = width * height >= 16;
    if (screen.rendering_res < 3 && (slot == TEX_SLOT_COMPASS_ROSE || slot == TEX_SLOT_HSI_ROSE) && has_16_texels)
        width = height = 4;
    if (screen.rendering_res < 2 && (slot == TEX_SLOT_PANEL_FONT_LIT || slot == TEX_SLOT_PANEL_FONT2_LIT) &&
        has_16_texels)
        width = height = 4;

    const int32_t bytes = width * height * bpt;
    if (level == 0)
        texture_memory[slot] = bytes;
    else
        texture_memory[slot] += bytes;

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(slot, 0);
    {
        // The texels are read as tight rows of width texels, never beyond them.
        const OGL_pixel_rows_guard rows(false);
        glTexImage2D(GL_TEXTURE_2D, level, format, width, height, 0, static_cast<GLenum>(format),
                     GL_UNSIGNED_BYTE, pixels);
    }
    ++texture_uploads[slot];

    const GLint wrap = repeats(slot) ? GL_REPEAT : (has_edge_clamp ? GL_CLAMP_TO_EDGE : GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // A software rasterizer takes seconds a frame to sample anisotropically
    // the runways seen at a grazing angle from the cockpit: the probed
    // maximum there would leave the flight unflyable, so it filters plainly.
    // Without the anisotropy extension (a probed maximum below 1) the
    // parameter does not exist and setting it would be a GL error.
    const float iso = software_rasterizer != 0 ? std::min(max_iso_filtering, 1.0f) : max_iso_filtering;
    if (max_iso_filtering >= 1.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                        in_range(slot, TEX_SLOT_RUNWAY_FIRST, TEX_SLOT_RUNWAY_LAST) ? iso : 1.0f);
}

int OGL_minified_filter()
{
    return GL_LINEAR_MIPMAP_LINEAR;
}

void OGL_mini_me(const char* name, int slot, int type, int format, int width, int height, uint8_t* pixels)
{
    if (!name) name = "";
    const int bpt = checked_texel_bytes("OGL_mini_me", name, slot, format, width, height, pixels);
    if (bpt == 0) return;

    int level = 0;
    while (width >= 2 || height >= 2) {
        ++level;
        const int nw = std::clamp(width / 2, 1, 1024);
        const int nh = std::clamp(height / 2, 1, 1024);
        // In place: each new texel lies at or before the first old texel it reads.
        for (int r = 0; r < nh; ++r) {
            const int r0 = std::min(2 * r, height - 1), r1 = std::min(2 * r + 1, height - 1);
            for (int c = 0; c < nw; ++c) {
                const int c0 = std::min(2 * c, width - 1), c1 = std::min(2 * c + 1, width - 1);
                const uint8_t* a = pixels + (size_t(r0) * width + c0) * bpt;
                const uint8_t* b = pixels + (size_t(r0) * width + c1) * bpt;
                const uint8_t* d = pixels + (size_t(r1) * width + c0) * bpt;
                const uint8_t* e = pixels + (size_t(r1) * width + c1) * bpt;
                int sum[4] = {0, 0, 0, 0};
                for (int k = 0; k < bpt; ++k) sum[k] = a[k] + b[k] + d[k] + e[k];
                uint8_t* out = pixels + (size_t(r) * nw + c) * bpt;
                for (int k = 0; k < bpt; ++k) out[k] = static_cast<uint8_t>(0.25f * static_cast<float>(sum[k]));
            }
        }
        width = nw;
        height = nh;
        // The edge colour works only in the pixel buffer: run for a caller's own texels it would rewrite another image.
        if (pixels == pixel_buffer) OGL_bleed_alpha(slot, type, width, height, bpt, width);
        OGL_load_tex(name, slot, level, format, width, height, pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, OGL_minified_filter());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

// The placeholder: a 16 x 16 grey checkerboard, uploaded when no file can be read.
static void fill_placeholder(int bpt, int& out_width, int& out_height)
{
    out_width = out_height = 16;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) {
            uint8_t* t = pixel_buffer + (size_t(r) * 16 + c) * bpt;
            const uint8_t grey = ((r + c) % 2 == 0) ? 100 : 200;
            t[0] = t[1] = t[2] = grey;
            if (bpt == 4) t[3] = 255;
        }
}

int OGL_load_tex_file(int kind, int slot, int type, const char* name, int& out_width, int& out_height)
{
    if (!name) name = "";
    char path[TEXT_SIZE];
    const size_t folder_len = std::strlen(program_folder);
    const bool in_program_folder = std::strncmp(name, program_folder, folder_len) == 0;
    if (in_program_folder)
        UTIL_strcpy(name, path);
    else
        UTIL_strcat3(folder_table[FOLDER_BITMAPS], name, path);
    FILE_colons_to_backslashes(path);

    const bool four_bytes = kind == LOAD_BITMAP || in_range(type, TEX_BRIGHT_MIPMAP, TEX_KEY);
    const int format = four_bytes ? GL_RGBA : GL_RGB;
    const int bpt = four_bytes ? 4 : 3;

    int x = 0, y = 0;
    if (kind == LOAD_BITMAP && slot >= TEX_SLOT_INSTRUMENTS_FIRST) {
        x = cut_to_int(static_cast<double>(screen.screen_area_left) - 5000.0 + type / 10000);
        y = cut_to_int(static_cast<double>(screen.screen_area_bottom) - 5000.0 + type % 10000);
    } else if (type < TEX_BRIGHT_MIPMAP || type > TEX_RGB) {
        return fatal(0, "Bad filter type!", "", "", name);
    }

    if (kind == LOAD_TEXTURE && slot % 5 == 0) {
        char line[TEXT_SIZE];
        UTIL_strcpy("Loading ", line);
        UTIL_strcat(line, in_program_folder ? name + folder_len : name);
        UTIL_strcat(line, ".");
        MACIBM_loading_screen(line);
    }

    fill_placeholder(bpt, out_width, out_height);

    // A texture the flight can go without (all but the interface picture) is
    // left out when its file is damaged: named in one notice, the placeholder
    // stands in for it and the flight goes on.
    int row_stride = 16;
    OGL_image_damage_soft(kind == LOAD_TEXTURE && slot != TEX_SLOT_INTERFACE);
    int read = BMP_read_file(path, slot, kind, bpt, type, out_width, out_height, x, y, row_stride);
    if (!read && !OGL_image_damage_found())
        read = PNG_read_file(path, slot, kind, bpt, out_width, out_height, x, y, row_stride);
    const bool left_out = OGL_image_damage_found();
    OGL_image_damage_soft(false);
    if (left_out) fill_placeholder(bpt, out_width, out_height);

    if (!read) {
        if (kind == LOAD_BITMAP) return fatal(0, "Can't open bitmap!", path, "", "");
        if (kind == LOAD_PANEL) return fatal(0, "Can't open panel!", path, "", "");
        row_stride = 16;
    }

    const bool keyed = type == TEX_KEY || type == TEX_KEY_MIPMAP;
    if (keyed) OGL_bleed_alpha(slot, type, out_width, out_height, bpt, row_stride);
    if (kind != LOAD_TEXTURE) return read;

    // A second pass over a keyed picture would change nothing: only clear
    // texels change, and only from texels that are not clear.
    if (!keyed) OGL_bleed_alpha(slot, type, out_width, out_height, bpt, row_stride);
    OGL_load_tex(path, slot, 0, format, out_width, out_height, pixel_buffer);
    if (type == TEX_RGB_MIPMAP || type == TEX_KEY_MIPMAP || type == TEX_BRIGHT_MIPMAP) {
        OGL_mini_me(path, slot, type, format, out_width, out_height, pixel_buffer);
    } else {
        const GLint filter =
            (slot == TEX_SLOT_INTERFACE || slot == TEX_SLOT_PANEL_FONT || slot == TEX_SLOT_PANEL_FONT_LIT) ? GL_NEAREST
                                                                                                          : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    }
    return read;
}
