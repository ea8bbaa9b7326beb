#include "core/ui_text.h"

char ui_text_table[UI_TEXT_COUNT][TEXT_SIZE];
char default_aircraft_path[TEXT_SIZE];
char default_aircraft_name[TEXT_SIZE];

const char* LANG_ui_text(int n)
{
    if (n < 0 || n >= UI_TEXT_COUNT) return "";   // an index past the table would read past it: no text
    return ui_text_table[n];
}

const char* LANG_text_at_820(int n) { return LANG_ui_text(UI_TEXT_PART_NAMES + n); }
