#include "core/menu_table.h"

menu_record menu_table[MENU_COUNT] = {};
float menu_bar_cursor = 10.0f;

namespace {
menu_create_fn menu_create_service = nullptr;
menu_append_fn menu_append_service = nullptr;
}  // namespace

void MENU_set_services(menu_create_fn create, menu_append_fn append)
{
    menu_create_service = create;
    menu_append_service = append;
}

void MENU_create(int menu, int parent_item, const char* title)
{
    if (menu_create_service) menu_create_service(menu, parent_item, title);
}

void MENU_append(int menu, int item, int command, const char* text, int plain_text)
{
    if (menu_append_service) menu_append_service(menu, item, command, text, plain_text);
}
