// Captures what a piece of drawing sends to OpenGL with the feedback mode:
// every primitive with its vertices in window coordinates, colour and texture
// coordinates. The 2-D projection maps one interface unit to one pixel of the
// 1024 x 768 test window, so window coordinates are interface units.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct fb_vertex {
    float x, y, z, r, g, b, a, s, t;
};
struct fb_prim {
    int token;                    // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_POINT_TOKEN ...
    std::vector<fb_vertex> v;
};
std::vector<fb_prim> capture_feedback(const std::function<void()>& draw);

// The quads among the primitives (a quad split into two triangles is joined
// again), each as its bounding box in window and in texel coordinates.
struct fb_rect {
    float x1, y1, x2, y2;         // window
    float tx1, ty1, tx2, ty2;     // texels of a 512-texel bitmap
    float r, g, b, a;
};
std::vector<fb_rect> rects_of(const std::vector<fb_prim>& prims);
std::vector<fb_rect> capture_rects(const std::function<void()>& draw);

// The character whose glyph of `font` a quad shows (0 when none matches).
int glyph_of(int font, const fb_rect& r);
// The quads of a text as characters, left to right, one string per line from
// the top line down.
std::vector<std::string> text_lines(int font, const std::vector<fb_rect>& rects);

// Quads whose texel box lies inside [x1, x2] x [y1, y2].
int count_art(const std::vector<fb_rect>& rects, float x1, float y1, float x2, float y2);
// The quads sorted left to right.
std::vector<fb_rect> sorted_by_x(std::vector<fb_rect> r);

// The test window ready for interface drawing: origin at the bottom left, the
// 2-D projection; false when there is no OpenGL context.
bool ui_2d_ready();
// The interface area covering the whole window, no menu open.
void ui_whole_window();
// The test window ready for a screen of the interface: every module's kept
// values reset, no input held (no key, no slider dragged, no text field
// active), the interface area covering the whole window and no menu open;
// false when there is no OpenGL context.
bool ui_screen_ready();
