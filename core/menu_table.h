// The menu table: every menu of the program's own menu bar, the submenus, the
// menus added at run time and the pop-up of the selection-list widget. Item
// and title rectangles are interface units; an unset coordinate is -9999.
#pragma once

#include <cstdint>

#include "core/hooks.h"

constexpr int MENU_COUNT = 1020;
constexpr int MENU_ITEMS = 200;
constexpr int MENU_TEXT_SIZE = 40;     // item and title texts hold at most 39 characters
constexpr int MENU_POPUP = 1019;       // the pop-up of the selection-list widget
constexpr float MENU_UNSET = -9999.0f;
constexpr int MENU_FIRST_PLUGIN = 820; // plug-in menus take free slots from here to 1019
// The menu bar spans these heights above the screen's top margin.
constexpr float MENU_BAR_BOTTOM = 750.0f;
constexpr float MENU_BAR_TOP = 768.0f;

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

// Whether the menu bar is shown with the pointer at height y: while flying
// with the pointer above the bar's bottom line, or while a menu (not a
// list's pop-up) is open. The bar's titles take a click only while it is
// shown.
bool MENU_bar_shown(float y);

// The x at which the next menu-bar title starts (restarts at 10 when menu 0 is created).
extern float menu_bar_cursor;

// The shell's menu services for the other subsystems, creating a menu (the
// parent given as its global item index, menu x 200 + item) and setting one
// item, are the ways up MENU_create and MENU_append of core/hooks.h.
