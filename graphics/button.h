// The widgets that edit one value each: tabs, push buttons, check boxes and
// radio buttons, the labelled slider with its bar gauge, the direction dial,
// the file-name field and the digit fields. Each is called once a frame; it
// draws itself, tests the pointer and edits the value in place (see
// graphics/widget.h for the model and the label syntax).
//
// While a menu or a selection list's pop-up is open (open_menu is not -1) the
// push buttons, check boxes, radio buttons and digit fields take no clicks;
// tabs, sliders and the dial do.
#pragma once

#include <cstdint>

// 1 while the pointer is held on some editable slider; 0 after a frame in
// which an editable slider saw the button up.
extern int32_t slider_dragging;

// Tab n of a row of tabs along the top of the work area. Returns 1 when
// clicked (the selected tab becomes n).
int BTN_tab(int n, int row, int* selected, const char* label);

// A compass dial centred at (x, y): a click on the face sets the angle
// (degrees, 0 up, 90 right); the two boxes below divide or multiply the scale
// by 1.5.
void BTN_direction_dial(float x, float y, float* angle, float* scale);

// A slider whose track starts at x: styles 0..9 pick the track length and the
// bar gauge. Returns 1 while the knob is being dragged (editable sliders only).
int BTN_slider(float x, float y, int style, float low, float high, float* value, int editable, const char* label,
               const char* value_text);

// A file-name field: the icon opens the file browser of the given kind and
// mode on the name and path buffers (500 bytes each). Returns 1 when the
// browser was opened in this frame (a cancelled browser included); `chosen`,
// when given, gets the browser's answer then (1 a file chosen, 0 cancelled).
int BTN_file_field(float x, float y, char* name, char* path, int kind, int mode, const char* label,
                   int* chosen = nullptr);

// A push button centred at (x, y). With the flash flag the pressed look is
// shown at once when it is clicked. Returns 1 when clicked.
int BTN_push_button(float x, float y, int shown_pressed, int flash, const char* label);

// A check box; a click toggles the value between 0 and 1. Returns 1 when clicked.
int BTN_check_box(float x, float y, int* value, const char* label, int small);

// One option of a radio group: the variable takes this option's value when it
// is clicked; clicking the selected option keeps it. Returns 1 when clicked.
int BTN_radio_button(float x, float y, int* variable, int option_value, const char* label);

// A number shown in `digits` digit cells starting at x, `decimals` of them
// after the full stop; a click on the upper or lower half of a cell steps that
// digit up or down, and the value is kept within [minimum, maximum].
// Returns 1 when a digit was clicked.
int BTN_digit_field(float x, float y, float* value, int digits, int decimals, float minimum, float maximum,
                    const char* label);
// The same with the largest range the digits can show (and its negative when
// negatives are allowed).
int BTN_digit_field_auto(float x, float y, float* value, int digits, int decimals, int negative_allowed,
                         const char* label);
// The same for an int, with no decimals.
int BTN_digit_field_int(float x, float y, int* value, int digits, float minimum, float maximum, const char* label);

// The largest value BTN_digit_field_auto allows for a digit count and decimals
// (0 for a digit count outside 1..10).
float BTN_digit_field_auto_max(int digits, int decimals);
