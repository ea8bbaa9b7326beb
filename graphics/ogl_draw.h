// 2-D drawing in screen units (1024 x 768, y upward, relative to the current
// screen's origin): lines, boxes, circles, the shade behind text, textured
// quads, the twelve-tile screen background and the screenshot.
#pragma once

#include <cstdint>

// Colours are rows of the colour table; alpha above 0.99 draws opaque.
void OGL_draw_line(int row, float alpha, float x1, float y1, float x2, float y2);
void OGL_fill_rect(int row, float alpha, float x, float y, float width, float height);
void OGL_draw_rect_outline(int row, float alpha, float x, float y, float width, float height);
void OGL_draw_circle(int row, float centre_x, float centre_y, float radius);
// The shade behind text: colour row 33 over (x1, y1)..(x2, y2).
void OGL_shade_box(float x1, float y1, float x2, float y2, float alpha);
// A textured quad; the slot is bound on unit 0 when it is 1 or more (0 or
// less keeps whatever is bound). Corners in order, each with its texture
// coordinates.
struct tex_quad_corner {
    float x, y, s, t;
};
void OGL_draw_tex_quad(int slot, int row, float alpha, const tex_quad_corner corners[4], int tex_units,
                       int transparency);
// The screen background: the slots from TEX_SLOT_BACKGROUND_FIRST as twelve
// 256-unit tiles, four across and three up from the bottom left; wide or tall windows get colour row 36
// around them while a screen is open. `opaque_rows`: the window's bottom rows
// the picture wholly covers with opaque texels (0 when unknown); those are
// copied from a kept drawing of the picture rather than drawn afresh.
void OGL_draw_background(int opaque_rows = 0);
// Drops the kept drawing of the background (its context is gone).
void OGL_forget_kept_background();

// Writes the lower-left 1024 x 768 pixels of the window to
// "<program folder>screenshot_<n>.bmp", n the number after this run's last
// (0 for the first), passed over while a file of that number is already in
// the folder, so earlier screenshots survive a restart, and taken only when
// no file has it at the moment the picture is placed, so two copies in one
// folder taking screenshots together keep every one.
void OGL_screenshot();
// The number the last screenshot got (-1 before the first of the run).
extern int32_t screenshot_counter;
void SCREENSHOT_reset();
