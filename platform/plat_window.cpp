#include "platform/plat_window.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/plat_time.h"

namespace {

struct window_state {
    bool video_tried = false;
    bool video_ok = false;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int depth_bits = 0;
    int width = 0, height = 0;    // the size the window was made at, which it keeps
    bool mode_chosen = false;     // a full-screen mode is chosen (and applied when a window exists)
    SDL_DisplayMode mode{};
    int swap_sync = 0;            // -1 adaptive sync, 1 vertical sync, 0 none
};
window_state ws;

constexpr double DEFAULT_REFRESH_HZ = 60.0;
constexpr double SYNCED_PERIOD_SHARE = 0.9;

struct pacing_state {
    bool on = false;
    bool scheduled = false;       // a frame was paced: `next_tick` holds the next frame's time
    int64_t next_tick = 0;        // ticks at the performance counter's rate, on the program's clock
};
pacing_state pacing;

bool offscreen_driver() { return std::strcmp(PLAT_video_driver(), "offscreen") == 0; }

// The swap interval the pacing asks for, on the current window. The
// offscreen driver shows nothing, so it has no sync to wait for.
void apply_swap_interval()
{
    ws.swap_sync = 0;
    if (!ws.window || !ws.context) return;
    if (!pacing.on || offscreen_driver()) {
        SDL_GL_SetSwapInterval(0);
        return;
    }
    if (SDL_GL_SetSwapInterval(-1) == 0)
        ws.swap_sync = -1;
    else if (SDL_GL_SetSwapInterval(1) == 0)
        ws.swap_sync = 1;
    else
        SDL_GL_SetSwapInterval(0);
}

// Bits per pixel as the display reports them: the storage size of a pixel, so a
// mode with 8 bits per channel in 4-byte pixels counts as 32.
int mode_bits(Uint32 format)
{
    if (format == SDL_PIXELFORMAT_UNKNOWN) return 0;
    return SDL_BYTESPERPIXEL(format) * 8;
}

bool has_display()
{
    const char* d = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (d && *d) || (w && *w);
}

bool apply_chosen_mode()
{
    if (!ws.window || !ws.mode_chosen) return true;
    if (SDL_SetWindowDisplayMode(ws.window, &ws.mode) != 0) return false;
    return SDL_SetWindowFullscreen(ws.window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool try_create(const char* title, int width, int height, int depth)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN;
    SDL_Window* w = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!w) return false;
    SDL_GLContext c = SDL_GL_CreateContext(w);
    if (!c) {
        SDL_DestroyWindow(w);
        return false;
    }
    if (SDL_GL_MakeCurrent(w, c) != 0) {
        SDL_GL_DeleteContext(c);
        SDL_DestroyWindow(w);
        return false;
    }
    ws.window = w;
    ws.context = c;
    ws.width = width;
    ws.height = height;
    int got = 0;
    if (SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &got) != 0) got = depth;
    ws.depth_bits = got;
    return true;
}

}  // namespace

bool PLAT_video_init()
{
    if (ws.video_tried) return ws.video_ok;
    ws.video_tried = true;
    // Without a display (and without an explicit choice) go straight to the
    // offscreen driver; a display that cannot be opened falls back to it too.
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (!(chosen && *chosen) && !has_display()) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return ws.video_ok = false;
    }
    return ws.video_ok = true;
}

void PLAT_video_quit()
{
    PLAT_destroy_window();
    if (ws.video_ok) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ws.video_tried = false;
    ws.video_ok = false;
    ws.mode_chosen = false;
}

const char* PLAT_video_driver()
{
    const char* d = ws.video_ok ? SDL_GetCurrentVideoDriver() : nullptr;
    return d ? d : "";
}

int PLAT_display_mode_count()
{
    if (!PLAT_video_init()) return 0;
    int n = SDL_GetNumDisplayModes(0);
    return n > 0 ? n : 0;
}

bool PLAT_get_display_mode(int index, PLAT_display_mode& out)
{
    if (index < 0 || index >= PLAT_display_mode_count()) return false;
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(0, index, &m) != 0) return false;
    out.width = m.w;
    out.height = m.h;
    out.bits_per_pixel = mode_bits(m.format);
    return true;
}

bool PLAT_display_size_limit(int& width, int& height)
{
    width = 0;
    height = 0;
    // The offscreen driver's one mode is no display's: it draws at any size.
    if (!PLAT_video_init() || offscreen_driver()) return false;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        width = usable.w;
        height = usable.h;
    }
    const int count = PLAT_display_mode_count();
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        width = std::max(width, m.w);
        height = std::max(height, m.h);
    }
    return width > 0 && height > 0;
}

bool PLAT_enter_display_mode(int index)
{
    if (index < 0 || index >= PLAT_display_mode_count()) return false;
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(0, index, &m) != 0) return false;
    ws.mode = m;
    ws.mode_chosen = true;
    if (!apply_chosen_mode()) {
        ws.mode_chosen = false;
        return false;
    }
    return true;
}

void PLAT_restore_display_mode()
{
    if (ws.window && ws.mode_chosen) SDL_SetWindowFullscreen(ws.window, 0);
    ws.mode_chosen = false;
}

bool PLAT_display_mode_entered() { return ws.mode_chosen; }

bool PLAT_create_window(const char* title, int width, int height)
{
    if (ws.window) return false;
    if (!PLAT_video_init()) return false;
    if (width < 1 || height < 1) return false;
    if (!try_create(title, width, height, 32) && !try_create(title, width, height, 24)) return false;
    if (!apply_chosen_mode()) {
        PLAT_destroy_window();
        return false;
    }
    apply_swap_interval();
    pacing.scheduled = false;
    return true;
}

bool PLAT_window_exists() { return ws.window != nullptr; }

void PLAT_destroy_window()
{
    if (ws.context) {
        SDL_GL_MakeCurrent(ws.window, nullptr);
        SDL_GL_DeleteContext(ws.context);
    }
    if (ws.window) SDL_DestroyWindow(ws.window);
    ws.context = nullptr;
    ws.window = nullptr;
    ws.depth_bits = 0;
    ws.swap_sync = 0;
}

void* PLAT_window_handle() { return ws.window; }

void PLAT_window_keep_size()
{
    if (!ws.window || ws.mode_chosen) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(ws.window, &w, &h);
    if (w != ws.width || h != ws.height) SDL_SetWindowSize(ws.window, ws.width, ws.height);
}

void PLAT_window_pixel_size(int& width, int& height)
{
    width = height = 0;
    if (ws.window) SDL_GL_GetDrawableSize(ws.window, &width, &height);
}

int PLAT_depth_bits() { return ws.depth_bits; }

bool PLAT_swap_buffers()
{
    if (!ws.window) return false;
    SDL_GL_SwapWindow(ws.window);
    if (offscreen_driver()) {
        if (pacing.on)
            glFinish();
        else
            glFlush();
    }
    return true;
}

void PLAT_set_frame_pacing(bool on)
{
    pacing.on = on;
    pacing.scheduled = false;
    apply_swap_interval();
}

bool PLAT_frame_pacing() { return pacing.on; }

int PLAT_swap_sync() { return ws.swap_sync; }

double PLAT_refresh_rate_hz()
{
    if (!ws.video_ok) return DEFAULT_REFRESH_HZ;
    SDL_DisplayMode m{};
    int display = ws.window ? SDL_GetWindowDisplayIndex(ws.window) : 0;
    if (display < 0) display = 0;
    if (SDL_GetCurrentDisplayMode(display, &m) != 0 || m.refresh_rate <= 0) return DEFAULT_REFRESH_HZ;
    return static_cast<double>(m.refresh_rate);
}

void PLAT_pace_frame()
{
    if (!pacing.on) return;
    // The schedule runs on the program's clock, so a test that replaces the
    // clock and the sleep sees each wait the pacing asks for.
    const double frequency = static_cast<double>(PLAT_perf_frequency());
    double period = 1.0 / PLAT_refresh_rate_hz();
    // A swap that waits for the display paces by itself and then never comes
    // early; a slightly shorter period catches a swap that does not wait (a
    // hidden window, a driver that takes the setting and ignores it) without
    // ever holding back a swap that does, on a display a little faster than
    // it says.
    if (ws.swap_sync != 0) period *= SYNCED_PERIOD_SHARE;
    const auto period_ticks = static_cast<int64_t>(period * frequency);

    const auto now = static_cast<int64_t>(PLAT_seconds() * frequency);
    if (!pacing.scheduled) {
        pacing.scheduled = true;
        pacing.next_tick = now + period_ticks;
        return;
    }
    if (now < pacing.next_tick) {
        PLAT_sleep_seconds(static_cast<double>(pacing.next_tick - now) / frequency);
        pacing.next_tick += period_ticks;
    } else if (now - pacing.next_tick > period_ticks) {
        // More than a frame late (a slow frame, a stall): start the schedule
        // again from now rather than hurrying to catch up.
        pacing.next_tick = now + period_ticks;
    } else {
        pacing.next_tick += period_ticks;
    }
}

void* PLAT_gl_proc_address(const char* name)
{
    if (!ws.context || !name) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

const char* PLAT_video_error() { return SDL_GetError(); }
