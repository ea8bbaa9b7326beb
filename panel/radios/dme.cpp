// The DME heads (types 235..238, 454): the receiver and page switches, the
// standalone DME's frequency knob, and the frequency, distance, ground-speed
// and time fields of the chosen receiver with their unit sprites.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/simvars.h"
#include "flightmodel/systems/radio_tuning.h"
#include "graphics/font.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

namespace {

constexpr int FIELD_COLOUR = 49;
constexpr int STANDALONE_DME = 5;

// A reading held in lo..hi (NaN counts as lo).
float held(float v, float lo, float hi) { return std::isnan(v) ? lo : std::clamp(v, lo, hi); }

// A speed or time truncated to a whole number. A value that is not a number,
// or one past the int range, would make the truncation undefined: those read
// 0 and the int limit instead.
int whole(float v) { return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, -2.0e9f, 2.0e9f)); }

// The receiver a NAV-reading head shows: the switch's value. The switch is a
// published value that plug-ins and datagrams write; one outside the six
// receivers would index past the DME arrays, so it shows none (-1, dashes).
int nav_receiver(int32_t v) { return v >= 0 && v < RADIO_RECEIVERS ? v : -1; }

}  // namespace

dme_texts DME_texts(int i)
{
    dme_texts t{};
    const sim_cockpit_radios_block& k = sim_cockpit_radios;
    // Held to 0..999.99 MHz: a negative frequency would print a minus inside
    // the digits ("-01.-50"), a larger one would not fit the 3-digit field.
    const int32_t f = std::clamp(k.dme_freq_hz, 0, 99999);
    std::snprintf(t.freq, sizeof t.freq, "%03d.%02d", f / 100, f % 100);
    if (i < 0 || i >= RADIO_RECEIVERS || k.nav1_has_dme[i] == 0) {
        std::snprintf(t.dist, sizeof t.dist, "-----");
        std::snprintf(t.speed, sizeof t.speed, "---");
        std::snprintf(t.time, sizeof t.time, "---");
        return t;
    }
    const int tenths = static_cast<int>(held(k.nav1_dme_dist_m[i], 0.0f, 999.9f) * 10.0f);
    std::snprintf(t.dist, sizeof t.dist, "%03d.%d", tenths / 10, tenths % 10);
    std::snprintf(t.speed, sizeof t.speed, "%03d", whole(k.nav1_dme_speed_kts[i]));
    std::snprintf(t.time, sizeof t.time, "%03d", whole(k.nav1_dme_time_secs[i]));
    return t;
}

void PANEL_dme()
{
    if (!PANEL_avionics_powered()) return;
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const int font = (t == INS_RAD_DME_FRQFF_BC || t == INS_RAD_DME_N12FF_BC) ? 113 : 112;
    sim_cockpit_switches_block& sw = sim_cockpit_switches;

    int n = 0;
    if (t == INS_RAD_DME_ALL_GA) n = PANEL_dual_knob(63.0f, -1.0f);
    if (t == INS_RAD_DME_FRQ_GA) n = PANEL_dual_knob(63.0f, -8.0f);
    if (t == INS_RAD_DME_FRQFF_BC) n = PANEL_dual_knob(17.0f, -22.0f);
    if (n != 0) PANEL_tune_freq_digit(&sim_cockpit_radios.dme_freq_hz, n, std::abs(n));

    auto sprite = [s](float x, float y) { PANEL_draw_control(x * s, y * s, 0); };
    auto press = [](float x, float y) { return PANEL_click_spot(x, y, 6.0f, 0) != 0; };
    int receiver = STANDALONE_DME;
    switch (t) {
    case INS_RAD_DME_N12_GA:
        if (press(54.0f, -1.0f)) sw.DME_distance_or_time = 0;
        if (press(66.0f, -1.0f)) sw.DME_distance_or_time = 1;
        sprite(12.0f * static_cast<float>(sw.DME_distance_or_time) + 54.0f, -1.0f);
        receiver = nav_receiver(sw.DME_distance_or_time);
        break;
    case INS_RAD_DME_FRQ_GA:
        if (press(30.0f, -1.0f)) sw.DME_radio_selector = 1;
        if (press(43.0f, -1.0f)) sw.DME_radio_selector = 2;
        sprite(12.0f * static_cast<float>(sw.DME_radio_selector) + 18.0f, -1.0f);
        break;
    case INS_RAD_DME_ALL_GA:
        for (int v = 0; v < 3; ++v)
            if (press(18.0f + 12.0f * v, 4.0f)) sw.DME_radio_selector = v;
        if (press(30.0f, -6.0f)) sw.DME_distance_or_time = 0;
        if (press(42.0f, -6.0f)) sw.DME_distance_or_time = 1;
        sprite(12.0f * static_cast<float>(sw.DME_radio_selector) + 18.0f, 4.0f);
        sprite(12.0f * static_cast<float>(sw.DME_distance_or_time) + 30.0f, -6.0f);
        receiver = nav_receiver(sw.DME_distance_or_time);
        break;
    case INS_RAD_DME_FRQFF_BC:
        if (press(24.0f, 20.0f)) sw.DME_radio_selector = sw.DME_radio_selector == 1 ? 2 : 1;
        break;
    case INS_RAD_DME_N12FF_BC:
        if (press(22.0f, -20.0f)) sw.DME_distance_or_time = sw.DME_distance_or_time == 0 ? 1 : 0;
        receiver = nav_receiver(sw.DME_distance_or_time);
        break;
    default: return;
    }

    // Field places: frequency, distance, speed, time; NaN where the layout has none.
    constexpr float NO = NAN;
    struct place { float x, y; };
    place f[4] = {{NO, NO}, {NO, NO}, {NO, NO}, {NO, NO}};
    const int32_t sel = sw.DME_radio_selector;
    if (t == INS_RAD_DME_FRQ_GA && sel == 1) f[0] = {-76, -1}, f[1] = {-22, -1};
    if (t == INS_RAD_DME_FRQ_GA && sel == 2) f[2] = {-76, -1}, f[3] = {-22, -1};
    if (t == INS_RAD_DME_FRQFF_BC && sel == 1) f[0] = {-35, 20}, f[1] = {-35, 10};
    if (t == INS_RAD_DME_FRQFF_BC && sel == 2) f[2] = {-35, 20}, f[3] = {-35, 10};
    if (t == INS_RAD_DME_N12_GA) f[1] = {-76, -1}, f[2] = {-30, -1}, f[3] = {0, -1};
    if (t == INS_RAD_DME_N12FF_BC) f[1] = {-35, 20}, f[2] = {-35, 10}, f[3] = {0, 10};
    if (t == INS_RAD_DME_ALL_GA && (sel == 0 || sel == 2)) f[1] = {-76, -8}, f[2] = {-76, 2}, f[3] = {-22, 2};
    if (t == INS_RAD_DME_ALL_GA && sel == 1) f[0] = {-76, 2}, f[1] = {-76, -8}, f[3] = {-22, 2};

    const dme_texts texts = DME_texts(receiver);
    const char* text[4] = {texts.freq, texts.dist, texts.speed, texts.time};
    constexpr float widths[4] = {36.0f, 30.0f, 18.0f, 18.0f};
    for (int k = 0; k < 4; ++k) {
        if (std::isnan(f[k].x)) continue;
        OGL_draw_string(FIELD_COLOUR, f[k].x * s, f[k].y * s, text[k], 9999.0f, font);
        PANEL_draw_control((f[k].x + widths[k] + 8.0f) * s, (f[k].y + 3.0f) * s, k + 1);
    }
}
