#include "tests/screens/screen_fixture.h"

#include <cstring>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "screens/screen_state.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"

void ScreenTest::SetUp()
{
    MACHINE_NEEDS(ui_screen_ready(), "OpenGL context");
    mouse.mouse_x = mouse.mouse_y = -100.0f;
    screen.window_width = 1024;
    screen.window_height = 768;
    arrange();
}

void ScreenTest::TearDown()
{
    screen.open_menu = -1;
    popup_owner = popup_answer_owner = 0;
}

void ScreenTest::click(void (*routine)(), float x, float y)
{
    mouse.mouse_x = x, mouse.mouse_y = y;
    mouse.mouse_down = mouse.mouse_held = 1;
    routine();
    mouse.mouse_down = mouse.mouse_held = 0;
    mouse.mouse_x = mouse.mouse_y = -100.0f;
    popup_owner = 0;
    screen.open_menu = -1;
}

void ScreenTest::drag(void (*routine)(), float x, float y)
{
    mouse.mouse_x = x, mouse.mouse_y = y;
    mouse.mouse_held = 1;
    routine();
    mouse.mouse_held = 0;
    mouse.mouse_x = mouse.mouse_y = -100.0f;
    slider_dragging = 0;
}

void ScreenTest::answer_list(void (*routine)(), float x, float y, int row)
{
    popup_answer_owner = BTN_text_list_key(x, y);
    popup_answer = row;
    routine();
    popup_answer_owner = 0;
}

std::vector<std::string> ScreenTest::printed(const std::function<void()>& draw, int font)
{
    std::vector<fb_rect> glyphs;
    for (const fb_rect& r : capture_rects(draw))
        if (glyph_of(font, r) > 32) glyphs.push_back(r);
    return text_lines(font, glyphs);
}

bool ScreenTest::shows(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& s : lines)
        if (s.find(text) != std::string::npos) return true;
    return false;
}

void ScreenTest::text(int entry, const char* words) { std::strcpy(ui_text_table[entry], words); }
