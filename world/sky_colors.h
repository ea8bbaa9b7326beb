// The sky colour tables, sampled once at start-up from "skycolors.bmp" in
// the bitmaps folder. Indexed by sky state 0..9; colours are red, green,
// blue in 0..1.
#pragma once

constexpr int SKY_STATES = 10;
constexpr int SKY_STEPS = 10;

extern float sky_gradient_table[SKY_STATES][SKY_STEPS][3];
extern float sky_pair_table[SKY_STATES][2][3];
extern float sky_state_colour_table[SKY_STATES][3];

// Reads the image (a name not starting with the program folder is taken in
// the bitmaps folder) and fills the three tables. An image that cannot be
// read, or is too small for the samples (at least 137 pixels wide and 254
// rows high), ends the program with an alert.
void WEATHER_load_sky_colors(const char* file_name);
