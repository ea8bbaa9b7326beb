// The layout words every settings screen shares: group boxes are stacked from
// the bottom left upward and rightward, each placed at the far corner (plus a
// 10-unit gap) of the box placed before it.
#pragma once

// The far corner plus 10 of the last group box placed; frame_next_x2 is a
// second far-x word for a right-hand column, so frame_next_x keeps the left
// column's edge. Kept between frames.
extern float frame_next_x;
extern float frame_next_y;
extern float frame_next_x2;

// Places a group box through BTN_place_frame (a negative x or y becomes 10, a
// negative width runs to the work area's right edge less 10, a negative height
// to its top less 28 and less the top margin) and writes its far corner plus
// 10 to frame_next_x and frame_next_y (or to frame_next_x2 and frame_next_y
// when `second_column` is set).
void SCREEN_place_box(float top_margin, int style, float x, float y, float width, float height, const char* title,
                      bool second_column = false);

// The current screen's work area, interface units.
float SCREEN_width();
float SCREEN_height();

// A label built for a widget that shows no caption of its own, only a help
// text when the pointer rests on it (the widgets' "{x" help syntax).
void SCREEN_help_label(const char* help, char* out, int size);

// The plain texts of the screens: colour row 48 in font 105.
constexpr int SCREEN_TEXT_COLOUR = 48;
constexpr int SCREEN_TEXT_FONT = 105;
constexpr float SCREEN_NO_WRAP = 9999.0f;
// Draws UI text `entry` at (x, y) in the screens' plain text look.
void SCREEN_text(float x, float y, int entry);
// Draws `text` at (x, y) in the screens' plain text look.
void SCREEN_string(float x, float y, const char* text);

// A float shown or used as an int: cut toward zero; a value that is not a
// number or lies outside what an int holds (from a plug-in or a peer) is 0.
int SCREEN_int(float value);
// The same for a double.
int SCREEN_int(double value);

// The %-conversions a language text used as a format must hold.
enum class format_args { one_int, two_ints, one_double };
// Formats UI text `entry` with the values when it holds exactly the expected
// conversions (besides "%%"); any other text is copied plain, so a language
// file can never make the formatter read what was not passed. `out` holds
// TEXT_SIZE bytes.
void SCREEN_format(int entry, format_args kind, char* out, int a, int b = 0, double d = 0.0);
// True when `text` holds exactly the conversions of `kind`.
bool SCREEN_format_fits(const char* text, format_args kind);
