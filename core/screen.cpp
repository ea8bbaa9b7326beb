#include "core/reset_registry.h"
#include "core/screen.h"

#include <algorithm>

#include "platform/plat_window.h"

screen_record screen{};

// No menu open: a 0 here would count as menu 0 open for the clicks the
// window's creation pumps before the first mode switch sets it so.
void SCREEN_reset()
{
    screen = screen_record{};
    screen.open_menu = -1;
}
ORVELL_RESET(SCREEN_reset, program);

namespace {

// The display's own limit, or the fallback given where it reports none; never
// below the smallest window.
void limit_or(int32_t& width, int32_t& height, int32_t fallback_width, int32_t fallback_height)
{
    int w = 0, h = 0;
    if (!PLAT_display_size_limit(w, h)) w = fallback_width, h = fallback_height;
    width = std::max<int32_t>(w, SCREEN_MIN_WIDTH);
    height = std::max<int32_t>(h, SCREEN_MIN_HEIGHT);
}

}  // namespace

void SCREEN_size_limit(int32_t& width, int32_t& height)
{
    limit_or(width, height, SCREEN_SANE_MAX_WIDTH, SCREEN_SANE_MAX_HEIGHT);
}

bool SCREEN_size_fits(int32_t width, int32_t height)
{
    int32_t w, h;
    SCREEN_size_limit(w, h);
    return width <= w && height <= h;
}

void SCREEN_rendered_size_limit(int32_t& width, int32_t& height)
{
    limit_or(width, height, std::min(screen.window_width, SCREEN_SANE_MAX_WIDTH),
             std::min(screen.window_height, SCREEN_SANE_MAX_HEIGHT));
}

bool SCREEN_rendered_size_fits(int32_t width, int32_t height)
{
    int32_t w, h;
    SCREEN_rendered_size_limit(w, h);
    return width <= w && height <= h;
}

float MACIBM_window_to_ui_x(float x)
{
    const float z = screen.ui_zoom;
    const float lo = -200.0f * z, hi = 1024.0f + 200.0f * z;
    if (hi == lo) return 512.0f;
    return 1024.0f * (x - lo) / (hi - lo);
}

float MACIBM_window_to_ui_y(float y)
{
    const float z = screen.ui_zoom;
    const float lo = -300.0f * z, hi = 768.0f;
    if (hi == lo) return 384.0f;
    return 768.0f * (y - lo) / (hi - lo);
}

float MACIBM_ui_to_window_x(float x)
{
    const float z = screen.ui_zoom;
    const float lo = -200.0f * z, hi = 1024.0f + 200.0f * z;
    return lo + x * (hi - lo) / 1024.0f;
}

float MACIBM_ui_to_window_y(float y)
{
    const float z = screen.ui_zoom;
    const float lo = -300.0f * z, hi = 768.0f;
    return lo + y * (hi - lo) / 768.0f;
}
