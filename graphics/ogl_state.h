// The OpenGL state kit every drawer uses: the six switchable pieces of
// fixed-function state, the 2-D and 3-D projections, the colour table and the
// colour factors, scissor, polygon offset and the buffer swap.
#pragma once

#include "core/simvars/graphics.h"   // gload_dim_factor

#include <cstdint>

// Colour table: rows of R, G, B (0..1). Rows 36..48 are the interface colours
// ("sim/graphics/colors/..."), 33 the shade behind text, 49 the colour the state
// kit leaves current, 113 the colour of the last plug-in text or number.
constexpr int COLOUR_ROWS = 114;
constexpr int COLOUR_PLUGIN_TEXT = 113;
extern float colour_table[COLOUR_ROWS][3];

// Every colour sent to OpenGL is multiplied by gload_dim_factor (R, G and B;
// core/simvars/graphics.h).

// View-volume box of the last 3-D projection, in camera-centred world axes:
// minimum x, y, z, then maximum x, y, z.
extern float frustum_box[6];

// Pixel-buffer drawing: while set, the line and box drawers write into the
// pixel buffer (with the current byte colour) instead of drawing.
extern int32_t draw_to_pixel_buffer;
extern uint8_t pixel_byte_colour[3];

// Arguments of OGL_set_state.
constexpr int STATE_FOG_ON = 0, STATE_FOG_OFF = 1;
constexpr int STATE_LIGHTING_ON = 2, STATE_LIGHTING_OFF = 3;
constexpr int STATE_OPAQUE = 4, STATE_BLEND = 5, STATE_ALPHA_TEST = 6, STATE_BLEND_ALPHA_TEST = 7;
constexpr int STATE_DEPTH_TEST_ON = 8, STATE_DEPTH_TEST_OFF = 9;
constexpr int STATE_DEPTH_WRITE_ON = 10, STATE_DEPTH_WRITE_OFF = 11;

// Switches fog, texturing (number of texture units, 0 = off), lighting,
// transparency, depth test and depth writes, touching only what differs from
// OpenGL's own state (while a display list is compiled, every item goes into
// the list); then makes colour row 49 current.
void OGL_set_state(int fog, int tex_units, int lighting, int transparency, int depth_test, int depth_writes);

constexpr int PROJECTION_2D = 2;
constexpr int PROJECTION_3D = 3;
// Mode 2: the 2-D screen (1024 x 768 units plus the margins) over the window;
// mode 3: the 3-D frustum with the view-volume box.
void OGL_set_projection(int mode, float left, float bottom, float right, float top, float view_x1,
                        float view_y1, float view_x2, float view_y2, float near_clip, float corner_distance,
                        float far_clip, float divisor);

// Stores a colour row (rows outside the table are ignored).
void OGL_set_color(int row, float r, float g, float b);
// Current colour from a value 0..1 on the six-band colour scale.
void OGL_color_ramp(float value);
// Scissor box in 2-D screen units relative to the current screen's origin.
void OGL_scissor_on(float x, float y, float width, float height);
void OGL_scissor_off();
// Polygon offset level (0 = off).
void OGL_polygon_offset(int level);
// How the second texture unit combines with the first (the texture
// environment mode, GL_ADD, GL_MODULATE ...); the first unit is left active.
// Nothing on a driver with fewer than two units.
void OGL_second_unit_mode(int mode);
// Ends a frame: shows the back buffer. Returns 1 when swapped.
int OGL_swap_buffers();

// The colour of a row as the 2-D drawers send it: tinted by the cockpit light
// for rows 0..46, then dimmed; alpha above 0.99 goes as glColor3fv, otherwise
// glColor4f. In pixel-buffer drawing it only sets the byte colour.
void OGL_apply_color(int row, float alpha);
// The byte colour of a row (x 255, rounded half away from zero; no tint, no dim).
void OGL_row_to_bytes(int row, uint8_t out[3]);

// Start-up: the fixed colour rows.
void OGL_fill_default_colors();
// Start-up: rows 36..48 from fixed texels of the interface bitmap in the pixel
// buffer (4 bytes per texel), and row 41 as the mean of rows 37 and 40.
void OGL_sample_interface_colors();
