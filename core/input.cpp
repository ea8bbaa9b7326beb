#include "core/input.h"
#include "core/reset_registry.h"

mouse_record mouse{};
float mouse_activity_time = 0.0f;
float mouse_press_time = 0.0f;

int32_t key_pressed = 0;
int32_t key_down = 0;
int32_t key_hold_command = 0;
int32_t key_char = 0;
int32_t enter_pressed = 0;
int32_t escape_pressed = 0;
char typed_text[TEXT_SIZE] = {};
uint8_t key_assignment_table[KEY_SLOTS] = {};
int32_t window_painted = 0;
int32_t window_created = 0;

int32_t popup_owner = 0;
int32_t popup_answer_owner = 0;
int32_t popup_answer = 0;

void INPUT_clear()
{
    mouse = mouse_record{};
    mouse_activity_time = 0.0f;
    mouse_press_time = 0.0f;
    key_pressed = key_down = key_hold_command = key_char = enter_pressed = escape_pressed = 0;
    for (char& c : typed_text) c = 0;
    window_painted = window_created = 0;
    popup_owner = popup_answer_owner = popup_answer = 0;
}
ORVELL_RESET(INPUT_clear, program);
