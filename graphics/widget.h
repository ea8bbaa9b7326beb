// The drawing layer beneath the program's immediate-mode widgets.
//
// There are no widget objects: each widget is a function the screen's code
// calls in every frame with its position, label and a pointer to the value it
// edits. In that call it draws itself, tests the mouse record against its
// boxes (closed boxes: a point on the edge is inside), writes its help text
// into hover_text, edits the value in place and returns whether it acted.
//
// Labels: "caption|second part{xhelp text", where x is any one character
// skipped after the brace. A closing brace anywhere is a fatal alert.
//
// All widget art comes from the interface bitmap (TEX_SLOT_INTERFACE),
// addressed in texels from its lower-left corner; coordinates are interface
// units relative to the current screen's origin, y upward.
#pragma once

#include <cstdint>

#include "core/text_util.h"

// Splits a label into caption, second part and help text (each a 500-byte
// buffer, cleared first). One trailing space of the caption and of the second
// part is removed.
void BTN_split_label(const char* label, char* caption, char* second, char* help);

// Draws a caption in font 103, colour 45. Mode 0 right-aligns each line to
// end at x, modes 1 and 2 start at x; modes 0 and 2 split a caption of more
// than 12 characters in two lines at the space, "-" or "/" nearest its middle.
// A leading "-" is not drawn and forbids the split.
void BTN_draw_label(float x, float y, int mode, const char* text);

// One quad of the interface bitmap centred at (x, y), one texel per unit.
void BTN_draw_ui_sprite(float x, float y, float texel_x, float texel_y, float half_width, float half_height,
                        int colour);

// Stretchable frames: a vertical track (style 6 only), horizontal strips
// (styles 0..5 and 7..10) and nine-patch window frames (styles 11..17) around
// a content box. Any other style is a fatal alert.
void BTN_frame0(int style, float x, float y, float height);
void BTN_frame1(int style, float x, float y, float width, int colour = 0);
void BTN_frame2(int style, float x, float y, float width, float height, const char* title);

// The frame of a whole settings screen (lit: style 11, else 12) and its inner
// frame (style 1 a title strip, 18 none, else a window frame of that style).
void BTN_screen_frame(int lit, int inner_style);
// A window frame placed in the work area; negative x, y, width or height take
// defaults (see the code). Returns the far corner through the out-pointers.
void BTN_place_frame(float extra_top, int style, float x, float y, float width, float height, const char* title,
                     float* far_x, float* far_y);

// The digit strip of the digit fields: a value box with an up and a down arrow
// over and under each of `count` boxes.
void BTN_util_draw_boxed_button(float x, float y, float width, float first_box_offset, int count);
// The two close boxes in the top corners of a screen window.
void BTN_draw_close_boxes(int pressed);

// ---------------------------------------------------------------------------
// Helpers shared by the widget modules.

// Draws one quad of the interface bitmap: screen box (x1, y1)..(x2, y2),
// texel box (tx1, ty1)..(tx2, ty2), one texture unit with blending.
void BTN_art_quad(float x1, float y1, float x2, float y2, float tx1, float ty1, float tx2, float ty2,
                  int colour = 0);
// True when the pointer lies in the closed box [x1, x2] x [y1, y2].
bool BTN_mouse_in(float x1, float x2, float y1, float y2);
// Copies a help text into the hover-help buffer.
void BTN_set_hover(const char* help);
