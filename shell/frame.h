// One frame of the program: the frame clock and the interval flags, the
// window messages and the network packets, the whole picture of the current
// mode (3-D scene, background, panel, overlay, settings screen, menus and
// hover help), the simulation cycle and the buffer swap. The main loop runs it
// until the quit flag is set; the alert box and the file browser run it from
// their own loops, so a frame can run inside another frame.
#pragma once

#include <cstdint>

#include "core/frame_clock.h"
#include "core/time_probe.h"   // log_frame_timing, UTIL_time_probe

extern int32_t o_lit_cus_panel;      // the lit-panel state of the previous flying frame

// Limits of the frame period estimate.
constexpr float FRAME_PERIOD_MIN = 0.001f;
constexpr float FRAME_PERIOD_MAX = 0.08f;
constexpr float FRAME_RATIO_MIN = 0.2f;
constexpr float FRAME_RATIO_MAX = 5.0f;

// What the frame keeps between calls (shared by outer and nested frames).
struct frame_state {
    bool started = false;              // the start time was taken
    double start_time = 0.0;           // the clock of the first frame
    float last_fire[INTERVAL_COUNT] = {};
    bool sound_remembered = false;     // the looping-sound wish was taken
    int32_t sound_wanted = 0;
    bool estimate_started = false;     // the frame-period estimate has its start
    float estimate_start = 0.0f;
    float fifth_frame_time = 0.0f;     // the clock of the fifth flying frame
    float previous_mouse_x = 999.0f;
    float previous_mouse_y = 999.0f;
    bool plugins_kept_background = false;   // the last flying frame's plug-ins let the panel picture be drawn
    // Whether the flying frames are drawn for the eye: the 3-D scene, the
    // panel picture under the instruments and the swap that shows them.
    // Always in the program. A test that steps the flight through frames it
    // does not look at turns it off for them; the rest of the frame (the
    // messages, the instruments and their clicks, the overlay, the menus,
    // the simulation) runs as ever.
    bool seen = true;
};
extern frame_state frame_loop;
// Everything of the frame back to the state before the first frame.
void FRAME_reset();

// One frame.
void MACIBM_do_frame();

// The window rows, from the bottom, that the panel picture drawn over this
// flying frame's 3-D scene hides whole: the opaque rows of the picture as the
// frame's 2-D projection lays them on the window, less one row for the
// texture filter's reach. 0 (the whole scene drawn) when the picture is not
// drawn or not opaque, when the window shows more than the picture's width,
// when the plug-ins left the picture out of the last flying frame, or with
// several projections.
int FRAME_rows_hidden_by_panel(bool picture_view, bool panel_view);

// The frame period estimate of a flying frame whose count is a multiple of
// ten: the measured ratio (clamped to 0.2..5) and the new period (the old one
// times the ratio's fourth root, clamped to 0.001..0.08 s).
float FRAME_period_ratio(float elapsed, float period);
float FRAME_next_period(float period, float ratio);

