#include "screens/screen_layout.h"

#include <cstdio>

#include "core/screen.h"
#include "graphics/widget.h"

float frame_next_x = 0.0f;
float frame_next_y = 0.0f;
float frame_next_x2 = 0.0f;

void SCREEN_place_box(float top_margin, int style, float x, float y, float width, float height, const char* title,
                      bool second_column)
{
    BTN_place_frame(top_margin, style, x, y, width, height, title, second_column ? &frame_next_x2 : &frame_next_x,
                    &frame_next_y);
}

float SCREEN_width() { return screen.screen_area_width; }
float SCREEN_height() { return screen.screen_area_height; }

void SCREEN_help_label(const char* help, char* out, int size)
{
    std::snprintf(out, static_cast<size_t>(size), "{ %s", help ? help : "");
}
