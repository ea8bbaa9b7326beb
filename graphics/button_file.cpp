// The file-name field: its icon opens the program's own file browser.
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/widget.h"
#include "graphics/widget_record.h"
#include "core/hooks.h"
#include "core/input.h"
#include "core/text_util.h"

int BTN_file_field(float x, float y, char* name, char* path, int kind, int mode, const char* label, int* chosen)
{
    const WIDGET_inside inside;
    WIDGET_record(WIDGET_BOX_FIELD, x - 30.0f, y - 8.0f, x - 4.0f, y + 14.0f, label);   // the icon
    WIDGET_record(WIDGET_BOX_FIELD, x - 4.0f, y - 3.0f, x + 294.0f, y + 10.0f, label);   // the name's bar
    UTIL_limit_500(name);
    UTIL_limit_500(path);
    char caption[TEXT_SIZE], second[TEXT_SIZE], help[TEXT_SIZE];
    BTN_split_label(label, caption, second, help);

    BTN_art_quad(x - 17.0f - 13.0f, y + 3.0f - 13.0f, x - 17.0f + 13.0f, y + 3.0f + 13.0f, 208, 133, 234, 159);
    BTN_frame1(9, x + 142.0f, y + 3.0f, 300.0f);

    int result = 0;
    if (BTN_mouse_in(x - 28.0f, x - 6.0f, y - 8.0f, y + 12.0f)) {
        BTN_set_hover(help);
        if (mouse.mouse_down) {
            const int answer = UI_open_file_browser(mode, kind, name, path);
            if (chosen) *chosen = answer;
            result = 1;   // the browser was opened, whatever it chose
        }
    }
    OGL_draw_string(46, x, y, name, FONT_NO_WRAP, 106);
    BTN_draw_label(x + 300.0f, y, 2, second);
    return result;
}
