#include "core/overlay_texts.h"

#include <cstring>

#include "core/reset_registry.h"

char notes_text[TEXT_WINDOW_SIZE] = {};
int32_t notes_text_length = 0;
int32_t notes_loaded = 0;
int32_t notes_shown = 0;
char checklist_lines[CHECKLIST_LINES][CHECKLIST_LINE_SIZE] = {};
int32_t checklist_count = 0;
int32_t checklist_current = 0;
int32_t checklist_loaded = 0;
int32_t checklist_shown = 0;

uint8_t overlay_flag_a = 0;
uint8_t overlay_flag_b = 0;
int32_t chat_typing = 0;
char chat_text[TEXT_SIZE] = {};

void OVERLAY_texts_reset()
{
    std::memset(notes_text, 0, sizeof notes_text);
    notes_text_length = notes_loaded = notes_shown = 0;
    std::memset(checklist_lines, 0, sizeof checklist_lines);
    checklist_count = checklist_current = checklist_loaded = checklist_shown = 0;
    overlay_flag_a = overlay_flag_b = 0;
    chat_typing = 0;
    std::memset(chat_text, 0, sizeof chat_text);
}
ORVELL_RESET(OVERLAY_texts_reset, program);
