// Stand-in of the panel services until the cockpit instruments are built: the
// tuners and trim wheels do what their callers rely on; the switches, the GPS
// keys, the ident button and the radar texture are recorded.
#include "panel/panel.h"

#include <string>

#include "flightmodel/flt.h"
#include "panel/calls_standin.h"
#include "core/simvars.h"

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

void step_trim(float& trim, float delta)
{
    trim += delta;
    if (trim < -1.0f) trim = -1.0f;
    else if (trim > 1.0f) trim = 1.0f;
}

}  // namespace

int PANEL_has_power()
{
    if (sim_cockpit_electrical.battery_on) return 1;
    for (int32_t g : sim_cockpit_electrical.generator_on)
        if (g) return 1;
    return 0;
}

void PANEL_switches(int type, int item)
{
    panel_standin_calls.push_back("PANEL_switches(" + std::to_string(type) + "," + std::to_string(item) + ")");
}

void PANEL_gps(int code) { panel_standin_calls.push_back("PANEL_gps(" + std::to_string(code) + ")"); }

void PANEL_transponder(int code) { panel_standin_calls.push_back("PANEL_transponder(" + std::to_string(code) + ")"); }

void PANEL_trim_wheels(int command, int held)
{
    const float step = held ? 0.05f * sim_operation_misc.frame_rate_period : 0.001f;
    flt_struct& f = flt[0];
    switch (command) {
    case 20: step_trim(f.elv_trim, step); break;
    case 21: step_trim(f.elv_trim, -step); break;
    case 22: step_trim(f.rot_trim, step); break;
    case 23: step_trim(f.rot_trim, -step); break;
    case 24: step_trim(f.rud_trim, -step); break;
    case 26: step_trim(f.rud_trim, step); break;
    case 27: step_trim(f.ail_trim, -step); break;
    case 29: step_trim(f.ail_trim, step); break;
    default: break;
    }
}

void PANEL_tune_freq_digit(int32_t* freq, int step, int part) { tune_mhz(freq, step, part, 108, 117); }
void PANEL_tune_com_digit(int32_t* freq, int step, int part) { tune_mhz(freq, step, part, 118, 136); }
void PANEL_tune_adf_digit(int32_t* freq, int step, int digit) { tune_digit(freq, step, digit, 10, 3); }
void PANEL_tune_squawk_digit(int32_t* code, int step, int digit) { tune_digit(code, step, digit, 8, 4); }

void PANEL_radar_texture() { panel_standin_calls.push_back("PANEL_radar_texture()"); }
