// The loading screen that long operations draw with a progress message and
// bar while the program starts or loads a world.
#pragma once

#include <cstdint>

#include "core/hooks.h"

// What the loading screen keeps between calls.
struct loading_screen_state {
    int32_t progress = 0;          // calls since the bar last started again
    double previous_time = -1.0e9; // clock of the previous call, seconds
    float bar_end = 10.0f;         // right end of the progress bar, in 2-D units
    bool paced = false;            // drawn at most once per LOADING_PACED_INTERVAL
    double last_drawn = -1.0e9;    // clock of the last paced draw, seconds
};
constexpr double LOADING_PACED_INTERVAL = 0.1;   // seconds
extern loading_screen_state loading_screen;
void LOADING_reset();

// Draws a progress message (and the bar) at once, while redraw_pending is set:
// the target of the way up MACIBM_loading_screen (core/hooks.h).
// Every call moves the bar; while draws are paced, only a call at least
// LOADING_PACED_INTERVAL after the last drawn one draws the window.
void LOADING_draw_screen(const char* message);
// Paces the draws (the start-up's many short loads) or draws at every call again.
void LOADING_pace_draws(bool paced);
