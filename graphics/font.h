// Bitmap fonts and text drawing. Every letter and number the program shows in
// 2-D is a textured quad cut from a font bitmap held in a texture slot.
//
// Font codes 100..118 fix the texture slot, where the glyphs lie in the bitmap
// and how far the pen moves per glyph:
//   100, 101, 103      proportional font at (0, 0) of the interface bitmap (TEX_SLOT_INTERFACE)
//   104, 105, 106      second proportional font at (137, 0) of the interface bitmap
//   107, 108           6 x 11 grid font at (381, 0) of the interface bitmap (advance 6 / 10)
//   102                two-byte glyph codes in a 40-a-row grid of 13 x 13 cells (TEX_SLOT_INTERFACE_FONT2)
//   109..115, 118      panel font sheet (OGL_font_tex)
//   116, 117           second panel font sheet (OGL_font2_tex)
// Texel coordinates count from the bitmap's lower-left corner and are turned
// into texture coordinates by 1/512 for every font.
#pragma once

#include <cstdint>

#include "core/texture_slots.h"

constexpr int FONT_FIRST = 100;
constexpr int FONT_LAST = 118;

constexpr double FONT_TEXEL = 0.001953125;  // 1/512: texels to texture coordinates
constexpr float FONT_NO_WRAP = 10000.0f;    // a wrap width that never wraps

// Slot of the first and second panel-font sheets: the lit variant while the
// cockpit lights are on and the texture resolution setting is 2 or more.
int OGL_font_tex();
int OGL_font2_tex();

// Width of a text in the proportional font (whatever font it is drawn in):
// the sum of its glyph widths; the space counts 4, other characters without a
// proportional glyph 0.
double OGL_string_width(const char* text);

// Emits the four vertices (texture coordinate, then vertex: lower-left,
// upper-left, upper-right, lower-right) of one glyph at (x, y) inside the
// caller's quad batch and returns the pen advance. A font code outside
// 100..118 is a fatal alert.
int OGL_draw_glyphs(float x, float y, int code, int font);

// Draws a NUL-terminated text with its lower-left corner at (x, y), relative to
// the current screen's origin, in a colour row. Lines break at a space, "-",
// "/" or ":" when the next word would pass x + wrap width, and at line feeds;
// a wrap width of 9999 or more never wraps.
void OGL_draw_string(int colour, float x, float y, const char* text, float wrap_width, int font);

// Draws a value as a row of `digits` digit cells (zero-padded) with `decimals`
// of them after the full stop, which takes half a cell of its own; a sign
// cell to the left holds the minus of a negative value, and is kept blank for
// the others when sign_flag is set; the three-digits-and-exponent form is
// used when the digits do not suffice.
void OGL_draw_string_fmt(int colour, float x, float y, float value, int digits, int decimals, int sign_flag,
                         int font);

// A label centred on x over a half-transparent shade box.
void OGL_draw_text_on_shade(int colour, float x, float y, const char* text);

// ---------------------------------------------------------------------------
// Glyph layout, shared with the interface bitmap's generator.

// One glyph of the proportional map: x and width in texels from the block
// origin, and the row's y (0, 11, 22, 33 or 44). Every glyph is 10 high.
struct prop_glyph {
    int16_t x;
    int16_t row_y;
    int16_t width;
};
constexpr int PROP_GLYPH_HEIGHT = 10;
constexpr int PROP_SPACE_WIDTH = 4;   // the space cell at the block origin
// The glyph of a character code; false (and the space cell) when it has none.
bool FONT_prop_glyph(int code, prop_glyph& out);

// Character maps of the grid fonts.
enum font_grid_map { GRID_MAP_FULL, GRID_MAP_CLOCK, GRID_MAP_TEMPERATURE, GRID_MAP_DIGITS };
// The cell index of a character in a grid map (cell 0, or the cell of '0', for
// characters the map does not list).
int FONT_grid_cell(int map, int code);

// Where a font's glyph lies: the texel rectangle, the offset of the quad from
// the pen and the advance. Font codes outside 100..118 give false.
struct font_glyph_place {
    float tx, ty;       // texel corner (lower-left)
    float w, h;         // texels, and units on screen
    float dx;           // quad offset from the pen
    int advance;
};
bool FONT_glyph_place(int font, int code, font_glyph_place& out);

// Where the ink of the full stop's glyph is centred, in units from its pen
// position (0 for an unknown code).
float FONT_point_ink_centre(int font);

// Number pitch of a font in OGL_draw_string_fmt (0 for an unknown code).
int FONT_number_pitch(int font);
// Slot a font draws from (-1 for an unknown code).
int FONT_slot(int font);
