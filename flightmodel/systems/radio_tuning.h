// The PANEL_ names below are the published names of these calls, kept though
// the code lives in the simulation: the panel, the links and the systems all
// call them by these names.
//
// Radio tuning steps, used by the panel's radio heads, the keys, the serial
// console and the panel-module exchange: each changes one part of a frequency
// or code and wraps that part within its own range, never carrying into the
// next part. Beside them the three steps from which the panel pass keys a
// Morse identifier.
#pragma once

#include <cstdint>

// NAV and COM values are MHz x 100 + hundredths: part 1 moves the MHz (NAV
// 108..117, COM 118..136, wrapping), part 2 the hundredths by 2 in the
// direction of the step's sign, nudged to end in 0, 2, 5 or 7 and wrapping in
// 0..99. Both return the MHz part.
int PANEL_tune_freq_digit(int32_t* freq, int step, int part);
int PANEL_tune_com_digit(int32_t* freq, int step, int part);
// ADF: decimal digit 1..3 (hundreds, tens, units), wrapping 0..9. Squawk:
// octal digit 1..4 (thousands .. units), wrapping 0..7. Another part number
// changes no digit but still rewrites the value from its digits.
void PANEL_tune_adf_digit(int32_t* freq, int step, int part);
void PANEL_tune_squawk_digit(int32_t* code, int step, int part);

// Morse sequence steps: 24 kinds (0 silent, 1 dot, 2 dash) and 24 start
// times. Each writes kinds[i] and times[i + 1] = times[i] + the element's
// length (dot 0.2 s, dash and letter gap 0.35 s); i is held in 0..22.
constexpr int MORSE_STEPS = 24;
void PANEL_morse_dot(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i);
void PANEL_morse_dash(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i);
void PANEL_morse_gap(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i);
