// Texture slots: every picture is loaded from a BMP or PNG file into a
// numbered slot, and the slot number is the OpenGL texture name. Slot ranges
// pick wrap mode, filtering, reduction and colour treatment. Images pass
// through the one shared pixel buffer; plain bitmaps and panels stop there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/texture_slots.h"

// Load kinds.
constexpr int LOAD_TEXTURE = -100;       // uploaded into the slot
constexpr int LOAD_BITMAP = -101;        // left in the pixel buffer, 4 bytes per texel
constexpr int LOAD_CUSTOM_PANEL = -102;  // the aircraft's own panel (a missing file is no fault)
constexpr int LOAD_PANEL = -103;         // a default panel bitmap

// Type codes: texel format, alpha, edge colour, reduced levels.
constexpr int TEX_RGB = -104;             // 3 bytes, no alpha
constexpr int TEX_RGB_MIPMAP = -105;      // 3 bytes, reduced levels
constexpr int TEX_KEY = -106;             // 4 bytes, magenta colour key
constexpr int TEX_BRIGHT = -107;          // 4 bytes, alpha from brightness
constexpr int TEX_KEY_MIPMAP = -108;      // colour key, reduced levels
constexpr int TEX_BRIGHT_MIPMAP = -109;   // brightness alpha, reduced levels

// The pixel buffer: 1024 x 1024 texels of up to 4 bytes (R, G, B[, A]), row 0
// at the bottom, 16-byte aligned.
constexpr int PIXEL_BUFFER_SIDE = 1024;
constexpr size_t PIXEL_BUFFER_TEXELS = size_t(PIXEL_BUFFER_SIDE) * PIXEL_BUFFER_SIDE;
constexpr size_t PIXEL_BUFFER_BYTES = PIXEL_BUFFER_TEXELS * 4;
extern uint8_t* pixel_buffer;

// The nine view images (1024 x 768 texels of 4 bytes each) that hold the panel
// pictures of the views.
constexpr int VIEW_IMAGE_COUNT = 9;
constexpr size_t VIEW_IMAGE_BYTES = size_t(1024) * 768 * 4;
extern uint8_t* view_image_buffers[VIEW_IMAGE_COUNT];

// The slot last bound on each of the texture units 0..3 (-1 none).
constexpr int TEX_UNITS_CACHED = 4;
extern int32_t bound_texture[TEX_UNITS_CACHED];
// Texture units last switched on by the state kit (initially 1).
extern int32_t cur_tex_units;
// Bytes last uploaded into each slot, summed over its levels.
extern int32_t texture_memory[TEX_SLOTS];
// Uploads each slot has taken: a drawer that keeps a picture made from a
// slot's texture compares the count to know when to make it again.
extern uint32_t texture_uploads[TEX_SLOTS];

// Start-up: points the pixel buffer and the view images at their blocks.
void OGL_init_image_blocks();
// Start-up: takes every slot number as a texture name of its own, so that no
// other texture (a library's, a plug-in's) can ever be given a slot's name.
// Returns false when some slot name was already in use by someone else.
bool OGL_reserve_texture_slots();
// Forgets what is bound (the cache starts empty again).
void OGL_reset_bound_textures();

// Binds a slot on texture unit 0..3 unless the cache says it is bound there.
void OGL_bind_tex(int slot, int unit);

// Loads an image file into a slot (see the kinds and types above). Returns 1
// when a BMP or PNG file was read, 0 when neither could be opened. Width and
// height come back as the size finally in the pixel buffer. A load that reads
// no file leaves its placeholder (a 16 x 16 checkerboard) in the first
// OGL_PLACEHOLDER_BYTES of the pixel buffer and writes nothing else there.
constexpr size_t OGL_PLACEHOLDER_BYTES = 16 * 16 * 4;
int OGL_load_tex_file(int kind, int slot, int type, const char* name, int& out_width, int& out_height);
// Uploads one level of a texture (format GL_ALPHA, GL_RGB or GL_RGBA).
void OGL_load_tex(const char* name, int slot, int level, int format, int width, int height,
                  const uint8_t* pixels);
// Builds and uploads the reduced levels 1, 2, ... of the image in `pixels`, in place.
// The minification filter of a texture with smaller copies: between the two
// nearest copies.
int OGL_minified_filter();
void OGL_mini_me(const char* name, int slot, int type, int format, int width, int height, uint8_t* pixels);
// The factor by which an image is scaled while it is read, and its row stride.
float OGL_tex_scale_for_res(const char* name, int slot, int kind, int width, int height, int& row_stride);
// Gives fully transparent texels the mean colour of their opaque neighbours.
void OGL_bleed_alpha(int slot, int type, int width, int height, int bytes_per_texel, int row_stride);

// While it lives, pixel transfers between OpenGL and memory use the layout of
// the pixel buffer (tight rows: alignment 1, no row length, no skipped rows
// or texels, no byte swapping), whatever other code (a plug-in) left set; the
// earlier settings are put back at the end. `pack` chooses the transfers from
// OpenGL (glReadPixels), otherwise those to it (glTexImage2D).
class OGL_pixel_rows_guard {
public:
    explicit OGL_pixel_rows_guard(bool pack);
    ~OGL_pixel_rows_guard();
    OGL_pixel_rows_guard(const OGL_pixel_rows_guard&) = delete;
    OGL_pixel_rows_guard& operator=(const OGL_pixel_rows_guard&) = delete;

private:
    static constexpr int SETTINGS = 6;
    const unsigned* names_;
    int saved_[SETTINGS];
};

// True when an image of width x height texels of the given size at the given
// row stride lies inside the pixel buffer.
bool OGL_image_fits_buffer(int width, int height, int row_stride, int bytes_per_texel);
