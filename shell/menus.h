// The menus: built from the language's menu files, laid out when a menu or an
// item is added, so drawing and hit-testing only read the rectangles. The
// table itself is published in core/menu_table.h.
#pragma once

#include <cstdint>

#include "core/menu_table.h"

// Language folders under the menus and texts folders, by the language value
// 0..6 ("english:" .. "portugese:"); any other value gives "".
const char* MENU_language_folder(int language);

// Empties the whole table: titles and item texts empty, parents -1, every
// rectangle unset. Command values and glyph flags are kept.
void MENUS_reset();

// Resets the table and builds the menus from `file_name` in the current
// language's folder under the menus folder. A file that cannot be opened or
// does not follow the menu format is a fatal alert naming the file.
void MACIBM_build_menus(const char* file_name);

// Menu m takes `title`. A parent item index of 0 or less makes it a menu-bar
// menu placed after the previous bar title; otherwise it is the submenu opened
// by that item (global item index: menu x 200 + item) and lies over it.
void MACIBM_create_menu(int menu, int parent_item, const char* title);

// Item i of menu m takes `text` and `command`, and every item of the menu is
// laid out again. `plain_text` 1 keeps the Latin font in Korean mode.
void append_menu(int menu, int item, int command, const char* text, int plain_text);
