// The menu table: every menu of the program's own menu bar, the submenus, the
// menus added at run time and the pop-up of the selection-list widget. Item
// and title rectangles are interface units; an unset coordinate is -9999.
//
// Layout is worked out when a menu or an item is added, so drawing and
// hit-testing only read the rectangles.
#pragma once

#include <cstdint>

constexpr int MENU_COUNT = 1020;
constexpr int MENU_ITEMS = 200;
constexpr int MENU_TEXT_SIZE = 40;     // item and title texts hold at most 39 characters
constexpr int MENU_POPUP = 1019;       // the pop-up of the selection-list widget
constexpr float MENU_UNSET = -9999.0f;
constexpr int MENU_FIRST_PLUGIN = 820; // plug-in menus take free slots from here to 1019

struct menu_item_record {
    char text[MENU_TEXT_SIZE];   // empty = no item; '-' starts a separator, '=' an item taking no room
    int32_t command;             // command value of the item
    int32_t korean_glyphs;       // drawn with the Korean glyph set
    float left, bottom, right, top;
};

struct menu_record {
    char title[MENU_TEXT_SIZE];  // empty = free slot
    int32_t parent;              // -1 a menu-bar menu, else the menu holding the item that opens it
    float left, bottom, right, top;
    menu_item_record items[MENU_ITEMS];
};

extern menu_record menu_table[MENU_COUNT];

// The x at which the next menu-bar title starts (restarts at 10 when menu 0 is created).
extern float menu_bar_cursor;

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
