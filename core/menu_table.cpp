#include "core/menu_table.h"

#include "core/app_mode.h"
#include "core/screen.h"

menu_record menu_table[MENU_COUNT] = {};
float menu_bar_cursor = 10.0f;

bool MENU_bar_shown(float y)
{
    const int open = screen.open_menu;
    return (app_mode == MODE_FLYING && y > screen.ui_top_margin + MENU_BAR_BOTTOM) || (open != -1 && open != MENU_POPUP);
}
