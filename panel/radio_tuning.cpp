// Radio tuning steps: each changes one part of a frequency or code and wraps
// that part within its own range, never carrying into the next part.
#include "panel/panel.h"

#include <cstdint>

namespace {

int wrap(int v, int lo, int hi)
{
    const int span = hi - lo + 1;
    v = (v - lo) % span;
    if (v < 0) v += span;
    return v + lo;
}

// Hundredths end in 0, 2, 5 or 7: an off value moves on in the step's direction.
int nudge_hundredths(int h, int step)
{
    static const int up[10] = {0, 2, 2, 5, 5, 5, 7, 7, 10, 10};
    static const int down[10] = {0, 0, 2, 2, 2, 5, 5, 7, 7, 7};
    const int d = h % 10;
    return h - d + (step >= 0 ? up[d] : down[d]);
}

void tune_mhz(int32_t* freq, int step, int part, int lo, int hi)
{
    if (!freq) return;
    int mhz = *freq / 100;
    int hundredths = *freq % 100;
    if (hundredths < 0) hundredths = 0;
    if (part == 1) {
        mhz = wrap(mhz + step, lo, hi);
    } else if (part == 2) {
        hundredths = wrap(nudge_hundredths(wrap(hundredths + step, 0, 99), step), 0, 99);
    } else {
        return;
    }
    if (mhz < lo || mhz > hi) mhz = wrap(mhz, lo, hi);
    *freq = mhz * 100 + hundredths;
}

void tune_digit(int32_t* value, int step, int digit, int base, int digits)
{
    if (!value || digit < 1 || digit > digits) return;
    int64_t v = *value < 0 ? 0 : *value;
    int64_t place = 1;
    for (int i = digit; i < digits; ++i) place *= 10;
    const int d = static_cast<int>((v / place) % 10);
    const int nd = wrap(d + step, 0, base - 1);
    v += (nd - d) * place;
    *value = static_cast<int32_t>(v);
}

}  // namespace

void PANEL_tune_freq_digit(int32_t* freq, int step, int part) { tune_mhz(freq, step, part, 108, 117); }
void PANEL_tune_com_digit(int32_t* freq, int step, int part) { tune_mhz(freq, step, part, 118, 136); }
void PANEL_tune_adf_digit(int32_t* freq, int step, int digit) { tune_digit(freq, step, digit, 10, 3); }
void PANEL_tune_squawk_digit(int32_t* code, int step, int digit) { tune_digit(code, step, digit, 8, 4); }
