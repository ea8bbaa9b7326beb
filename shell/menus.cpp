#include "shell/menus.h"

menu_record menu_table[MENU_COUNT] = {};
