#include "core/menu_table.h"

menu_record menu_table[MENU_COUNT] = {};
float menu_bar_cursor = 10.0f;
