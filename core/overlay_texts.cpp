#include "core/overlay_texts.h"

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
