// The screen record: the window, the display mode and the 2-D layout shared by
// the whole program. Interface coordinates are 1024 x 768 units with y upward;
// a window of another size is scaled by ui_scale with side margins on wide
// windows and a top margin on tall ones. The application mode is `app_mode`
// (core/app_mode.h).
#pragma once

#include <cstdint>

#include "core/text_util.h"

constexpr int32_t SCREEN_MIN_WIDTH = 1024;
constexpr int32_t SCREEN_MIN_HEIGHT = 768;
constexpr int32_t SCREEN_MAX_SIZE = 9999;
// The largest window taken where the system does not say what its display shows.
constexpr int32_t SCREEN_SANE_MAX_WIDTH = 7680;
constexpr int32_t SCREEN_SANE_MAX_HEIGHT = 4320;

struct screen_record {
    void* system_window;          // the program's window ("sim/operation/windows/system_window")
    int32_t open_menu;            // index of the open menu, -1 none
    float screen_area_left;       // 2-D origin of the current screen, interface units
    float screen_area_bottom;
    float screen_area_width;      // the current screen's size, interface units
    float screen_area_height;
    char screen_title[TEXT_SIZE];
    int32_t window_width;         // pixels ("sim/graphics/view/window_width")
    int32_t window_height;        // pixels ("sim/graphics/view/window_height")
    int32_t colour_depth;         // bits per pixel of the display mode and pixel format
    int32_t full_screen;          // 1 when the display mode is switched
    int32_t rendering_res;        // "sim/graphics/settings/rendering_res"
    // The resolution preferences, applied at the next start: after they are
    // read the width is kept within 1024..9999 (else 1024), the height within
    // 768..9999 (else 768), and the four are copied into the live fields.
    int32_t res_width;
    int32_t res_height;
    int32_t res_bits;
    int32_t requested_full_screen;
    float ui_scale;               // pixels per interface unit
    float ui_side_margin;         // interface units left free on each side of a wide window
    float ui_top_margin;          // interface units above 768 on a tall window
    int32_t ui_zoom_on;           // panel zoom requested (0/1)
    float ui_zoom_smooth;         // smoothed 0..1
    float ui_zoom;                // factor used this frame, 0 = not zoomed
};

extern screen_record screen;

// The largest window this machine shows: the display's, or the sane maximum
// where the system does not say; never below the smallest window. A window
// size from a peer or the preferences beyond it is not taken: a window larger
// than the display draws every frame at a size nobody sees, slowly.
void SCREEN_size_limit(int32_t& width, int32_t& height);
bool SCREEN_size_fits(int32_t width, int32_t height);
// The same once the program runs, for a size asked for later (a peer's
// setting, the size saved for the next start): where the system does not say
// what its display shows, the window the program renders (window_width x
// window_height) is the largest. The sane maximum is a guess no window of this
// machine was seen to draw at; taken from a peer and saved, it would open at
// the next start at a fraction of a frame a second.
void SCREEN_rendered_size_limit(int32_t& width, int32_t& height);
bool SCREEN_rendered_size_fits(int32_t width, int32_t height);

// Interface units and the zoom-widened range (z = the screen record's ui_zoom).
float MACIBM_window_to_ui_x(float x);
float MACIBM_window_to_ui_y(float y);
float MACIBM_ui_to_window_x(float x);
float MACIBM_ui_to_window_y(float y);
