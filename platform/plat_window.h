// The program's one window with its OpenGL context, the display modes and the
// buffer swap.
//
// The window is borderless, placed at (0, 0), and carries an OpenGL
// compatibility context (8 bits per colour channel, double buffer, a 32-bit
// depth buffer where the driver has one, else 24 bits) that stays current on
// the main thread for the whole run. A display mode chosen before the window
// exists is applied when it is created; the window is then full-screen in that
// mode until the desktop mode is restored.
//
// On a machine with no display the video layer falls back to the offscreen
// driver, which renders with the system's software OpenGL, so drawing works
// (and can be read back) without a screen.
#pragma once

#include <cstdint>

// One display mode of the main display.
struct PLAT_display_mode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits_per_pixel = 0;   // 0 when the system does not say
};

// Starts the video layer (once; later calls return the first answer).
bool PLAT_video_init();
// Closes the window and the video layer.
void PLAT_video_quit();
// Name of the video driver in use ("x11", "wayland", "offscreen"), "" before init.
const char* PLAT_video_driver();

// Display modes of the main display, in the system's order.
int PLAT_display_mode_count();
bool PLAT_get_display_mode(int index, PLAT_display_mode& out);   // false past the end
// Chooses mode `index` for full screen. With a window it switches at once and
// returns whether the switch worked; without one, the mode is kept and the
// window is created full-screen in it.
bool PLAT_enter_display_mode(int index);
// Gives the display its desktop mode back (the window, if any, leaves full screen).
void PLAT_restore_display_mode();
// True while a display mode chosen by PLAT_enter_display_mode is in force.
bool PLAT_display_mode_entered();

// The largest window the main display can show, in pixels: the larger of its
// usable area and its largest display mode. False when the system does not say
// (no video, or the offscreen driver, which has no display).
bool PLAT_display_size_limit(int& width, int& height);

// Creates the window, its pixel format and context, and makes the context
// current. Returns false (leaving no window) when any of them fails.
bool PLAT_create_window(const char* title, int width, int height);
bool PLAT_window_exists();
void PLAT_destroy_window();
// The window's own handle (for publication to plug-ins), null without a window.
void* PLAT_window_handle();
// Puts the window back to the size it was made at when something outside
// the program (a window manager, a tool) changed it: the picture, the menus
// and the pointer's map are laid out for that size until the next start.
void PLAT_window_keep_size();
// Size of the window's drawable area in pixels.
void PLAT_window_pixel_size(int& width, int& height);
// Bits of the depth buffer the context got (0 without a window).
int PLAT_depth_bits();

// Shows the back buffer. Returns false without a window. On the offscreen
// driver, where a swap shows nothing and so hands nothing to the renderer,
// the frame's drawing is flushed (and, with pacing on, finished), so drawing
// never queues up from frame to frame.
bool PLAT_swap_buffers();

// Frame pacing, off until it is switched on (tests and benchmarks run frames
// as fast as they can). With pacing on, a window swaps with the display's
// vertical sync (adaptive sync first, where the driver has it), and
// PLAT_pace_frame, called once a frame after the swap, sleeps the rest of the
// display's refresh period wherever the swap does not wait for the display
// itself (the offscreen driver, or no sync to be had). With sync, it still
// holds frames to at most a ninth above the refresh rate, for a swap that
// does not wait after all (a hidden window). With pacing off the swap does
// not wait.
void PLAT_set_frame_pacing(bool on);
bool PLAT_frame_pacing();
void PLAT_pace_frame();
// What the window's swap waits for: -1 adaptive sync, 1 vertical sync, 0 nothing.
int PLAT_swap_sync();
// Refresh rate of the window's display in Hz (of the main display without a
// window); 60 when the system does not say.
double PLAT_refresh_rate_hz();
// Address of an OpenGL entry point of the current context, null when missing.
void* PLAT_gl_proc_address(const char* name);
// Last error text of the video layer (for logs).
const char* PLAT_video_error();
