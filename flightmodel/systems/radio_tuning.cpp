// Radio tuning steps: each changes one part of a frequency or code and wraps
// that part within its own range, never carrying into the next part. Beside
// them the three steps from which the panel pass keys a Morse identifier.
#include "flightmodel/systems/radio_tuning.h"

#include <cstdint>

namespace {

// v brought into lo .. lo + span - 1 by whole steps of span.
int64_t wrap(int64_t v, int64_t lo, int64_t span)
{
    int64_t r = (v - lo) % span;
    if (r < 0) r += span;
    return lo + r;
}

// The hundredths moved by 2 in the step's direction, the last digit nudged so
// it ends in 0, 2, 5 or 7 (a negative value keeps its digit), then wrapped.
int64_t step_hundredths(int64_t h, int step)
{
    h += step >= 0 ? 2 : -2;
    if (h % 10 == 1) h -= 1;
    if (h % 10 == 3) h -= 1;
    if (h % 10 == 4) h += 1;
    if (h % 10 == 6) h -= 1;
    if (h % 10 == 8) h -= 1;
    if (h % 10 == 9) h += 1;
    return wrap(h, 0, 100);
}

int tune_mhz(int32_t* freq, int step, int part, int64_t lo, int64_t span)
{
    if (!freq) return 0;
    int64_t m = *freq / 100, h = *freq % 100;
    if (part == 1) m = wrap(m + step, lo, span);
    else if (part == 2) h = step_hundredths(h, step);
    *freq = static_cast<int32_t>(m * 100 + h);
    return static_cast<int>(m);
}

// Decimal digits of `places` places (the highest first); digit `part` (1 the
// highest) moves by the step and wraps within 0 .. base - 1.
void tune_digit(int32_t* value, int step, int part, int places, int64_t base)
{
    if (!value) return;
    int64_t digits[4] = {0, 0, 0, 0};
    int64_t place = 1;
    for (int k = places - 1; k >= 0; --k, place *= 10) digits[k] = (*value / place) % 10;
    if (part >= 1 && part <= places) digits[part - 1] = wrap(digits[part - 1] + step, 0, base);
    int64_t v = 0;
    for (int k = 0; k < places; ++k) v = v * 10 + digits[k];
    *value = static_cast<int32_t>(v);
}

constexpr double DOT_SEC = 0.2, DASH_SEC = 0.35, GAP_SEC = 0.35;

void morse_step(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i, int kind, double length)
{
    // An index outside the 24 steps would write past them, and the last step
    // has no following step whose start time could be written.
    if (!kinds || !times || i < 0 || i >= MORSE_STEPS) return;
    kinds[i] = kind;
    if (i + 1 < MORSE_STEPS) times[i + 1] = static_cast<float>(static_cast<double>(times[i]) + length);
}

}  // namespace

int PANEL_tune_freq_digit(int32_t* freq, int step, int part) { return tune_mhz(freq, step, part, 108, 10); }
int PANEL_tune_com_digit(int32_t* freq, int step, int part) { return tune_mhz(freq, step, part, 118, 19); }
void PANEL_tune_adf_digit(int32_t* freq, int step, int part) { tune_digit(freq, step, part, 3, 10); }
void PANEL_tune_squawk_digit(int32_t* code, int step, int part) { tune_digit(code, step, part, 4, 8); }

void PANEL_morse_dot(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i) { morse_step(kinds, times, i, 1, DOT_SEC); }
void PANEL_morse_dash(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i) { morse_step(kinds, times, i, 2, DASH_SEC); }
void PANEL_morse_gap(int32_t kinds[MORSE_STEPS], float times[MORSE_STEPS], int i) { morse_step(kinds, times, i, 0, GAP_SEC); }
