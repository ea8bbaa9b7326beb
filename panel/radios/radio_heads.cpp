// The audio selector panels (types 211, 212) and the NAV, COM and ADF radio
// heads (215..231, 474). The audio selection decides whose Morse identifier
// the panel pass keys; the frequencies set here are the published ones the
// receivers and ATC read. GA heads tune the active frequency; BC and combined
// heads tune the standby and swap it in.
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/systems/radio_tuning.h"
#include "graphics/font.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

radio_heads_state radio_heads;
ORVELL_RESET_RECORD(RADIO_HEADS_reset, radio_heads, panel);

namespace {

constexpr int DIGIT_COLOUR = 49;

// Active and standby frequency of receiver 0..3 (NAV1, NAV2, ADF1, ADF2), and
// of COM 1 and 2; null outside.
struct frequency_words {
    int32_t sim_cockpit_radios_block::*active;
    int32_t sim_cockpit_radios_block::*standby;
};
constexpr frequency_words RECEIVER_FREQUENCIES[] = {
    {&sim_cockpit_radios_block::nav1_freq_hz, &sim_cockpit_radios_block::nav1_stdby_freq_hz},
    {&sim_cockpit_radios_block::nav2_freq_hz, &sim_cockpit_radios_block::nav2_stdby_freq_hz},
    {&sim_cockpit_radios_block::adf1_freq_hz, &sim_cockpit_radios_block::adf1_stdby_freq_hz},
    {&sim_cockpit_radios_block::adf2_freq_hz, &sim_cockpit_radios_block::adf2_stdby_freq_hz},
};
bool is_receiver(int r) { return r >= 0 && r < static_cast<int>(std::size(RECEIVER_FREQUENCIES)); }
int32_t* active_of(int r) { return is_receiver(r) ? &(sim_cockpit_radios.*RECEIVER_FREQUENCIES[r].active) : nullptr; }
int32_t* standby_of(int r) { return is_receiver(r) ? &(sim_cockpit_radios.*RECEIVER_FREQUENCIES[r].standby) : nullptr; }
int32_t* com_active_of(int r) { return r == 0 ? &sim_cockpit_radios.com1_freq_hz : r == 1 ? &sim_cockpit_radios.com2_freq_hz : nullptr; }
int32_t* com_standby_of(int r)
{
    return r == 0 ? &sim_cockpit_radios.com1_stdby_freq_hz : r == 1 ? &sim_cockpit_radios.com2_stdby_freq_hz : nullptr;
}

void swap_values(int32_t* a, int32_t* b)
{
    if (a && b) std::swap(*a, *b);
}

// A digit held in 1..3, wrapping. Worked in 64 bits: a plug-in or datagram
// may have written any value there.
int32_t step_digit(int32_t digit, int step)
{
    auto d = static_cast<int32_t>((int64_t{digit} - 1 + step) % 3);
    if (d < 0) d += 3;
    return d + 1;
}

void show_mhz(float x, float y, const int32_t* f, int font)
{
    if (f) OGL_draw_string_fmt(DIGIT_COLOUR, x, y, static_cast<float>(*f) / 100.0f, 5, 2, 0, font);
}
void show_khz(float x, float y, const int32_t* f, int font)
{
    if (f) OGL_draw_string_fmt(DIGIT_COLOUR, x, y, static_cast<float>(*f), 3, 0, 0, font);
}
// The underscore under ADF digit `digit` of a number drawn at x.
void digit_mark(float x, float y, int32_t digit, int font)
{
    OGL_draw_string(DIGIT_COLOUR, x + 6.0f * panel_ins_scale * static_cast<float>(digit - 1), y, "_", 9999.0f, font);
}

// The outer ring picks the digit, the inner knob steps it.
void adf_knob(int r, int32_t* value, int32_t& digit)
{
    if (r == 1 || r == -1) digit = step_digit(digit, r);
    else if (r == 2 || r == -2) PANEL_tune_adf_digit(value, r / 2, step_digit(digit, 0));
}

void adf_head(int radio, int bc)
{
    const float s = panel_ins_scale;
    int32_t* active = active_of(radio);
    if (!bc) {
        const float xs[3] = {-18.0f, 0.0f, 18.0f};
        for (int d = 0; d < 3; ++d) {
            const float amount = std::round(PANEL_drag_spot(xs[d], -10.0f, 8.0f, 1.0f, 1.0f, 0));
            if (amount != 0.0f && std::isfinite(amount)) PANEL_tune_adf_digit(active, static_cast<int>(amount), d + 1);
        }
        show_khz(-10.0f * s, 2.0f * s, active, 112);
        return;
    }
    int32_t* standby = standby_of(radio);
    adf_knob(PANEL_dual_knob(16.0f, -21.0f), standby, radio_heads.bc_adf_digit);
    show_khz(-15.0f * s, 23.0f * s, active, 113);
    show_khz(-15.0f * s, 13.0f * s, standby, 113);
    radio_heads.bc_adf_digit = step_digit(radio_heads.bc_adf_digit, 0);
    OGL_draw_string(DIGIT_COLOUR, (6.0f * static_cast<float>(radio_heads.bc_adf_digit) - 21.0f) * s, 10.0f * s, "_",
                    9999.0f, 113);
    if (PANEL_click_spot(25.0f, 18.0f, 5.0f, 0)) swap_values(active, standby);   // shown from the next frame
}

// One NAV or COM half of a head: its knob, swap spot and numbers.
void vhf_half(bool nav, int radio, int bc, bool combined)
{
    const float s = panel_ins_scale;
    const int font = bc ? 113 : 112;
    float kx = bc ? 15.0f : 10.0f;
    float fx = bc ? -31.0f : -16.0f;
    if (combined) {
        const float shift = nav ? 41.0f : (bc ? -39.0f : -41.0f);
        kx += shift;
        fx += shift;
    }
    const float ky = bc ? -22.0f : -15.0f, fy = bc ? 23.0f : 8.0f;
    int32_t* active = nav ? active_of(radio) : com_active_of(radio);
    int32_t* standby = nav ? standby_of(radio) : com_standby_of(radio);
    const int r = PANEL_dual_knob(kx, ky);
    if (r != 0) {
        int32_t* tuned = bc ? standby : active;
        (nav ? PANEL_tune_freq_digit : PANEL_tune_com_digit)(tuned, r, std::abs(r));
    }
    show_mhz(fx * s, fy * s, active, font);
    if (bc) show_mhz(fx * s, (fy - 10.0f) * s, standby, font);
    if (bc && PANEL_click_spot(kx + 9.0f, ky + 42.0f, 6.0f, 0)) swap_values(active, standby);   // shown from the next frame
}

// The combined NAV/COM/ADF heads 231 and 474.
void combined_head()
{
    const float s = panel_ins_scale;
    const bool big = panel_ins_type == INS_RAD_NAVCOMADFFF_HM;
    const float cols[3] = {big ? -45.0f : -37.0f, big ? -18.0f : -14.0f, 9.0f};
    const float rows[2] = {big ? -7.0f : 0.0f, big ? -27.0f : -10.0f};
    const float half = big ? 10.0f : 7.0f;
    int32_t& sel = radio_heads.combined_radio;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            if (PANEL_click_spot(cols[c], rows[r], half, 0)) sel = 2 * c + r;
    if (sel < 0 || sel > 5) sel = 0;   // the column and row tables below are indexed by it
    const float lx = cols[sel / 2], ly = rows[sel % 2];
    PANEL_draw_control(lx * s, ly * s, sel);
    if (big) PANEL_draw_control(lx * s, (ly + 9.0f) * s, 10 + sel);

    // The selected radio's values: NAV 0, 1 are receivers 0, 1; ADF 4, 5 receivers 2, 3.
    const bool is_nav = sel < 2, is_com = sel == 2 || sel == 3;
    int32_t* active = is_nav ? active_of(sel) : is_com ? com_active_of(sel - 2) : active_of(sel - 2);
    int32_t* standby = is_nav ? standby_of(sel) : is_com ? com_standby_of(sel - 2) : standby_of(sel - 2);
    const int r = big ? PANEL_dual_knob(54.0f, -18.0f) : PANEL_dual_knob(37.0f, 0.0f);
    if (is_nav && r != 0) PANEL_tune_freq_digit(standby, r, std::abs(r));
    if (is_com && r != 0) PANEL_tune_com_digit(standby, r, std::abs(r));
    if (!is_nav && !is_com) adf_knob(r, standby, radio_heads.combined_adf_digit);

    const float ax = big ? -64.0f : -40.0f, sx = big ? 20.0f : 15.0f, y = big ? 15.0f : 8.0f;
    if (is_nav || is_com) {
        show_mhz(ax * s, y * s, active, 114);
        show_mhz(sx * s, y * s, standby, 114);
    } else {
        radio_heads.combined_adf_digit = step_digit(radio_heads.combined_adf_digit, 0);
        show_khz(ax * s, y * s, active, 114);
        show_khz(sx * s, y * s, standby, 114);
        // The marker's place on this head is not given: it stands as on the BC
        // ADF head, 6 units per digit from the number's left and 3 below it.
        digit_mark(sx * s, (y - 3.0f) * s, radio_heads.combined_adf_digit, 114);
    }
    // The swap, shown from the next frame.
    if (big ? PANEL_click_spot(0.0f, 18.0f, 8.0f, 0) : PANEL_click_spot(0.0f, 14.0f, 6.0f, 0)) swap_values(active, standby);
}

}  // namespace

void PANEL_audio_panel()
{
    if (!PANEL_has_power()) return;
    struct button {
        float x211, y211, x212, y212;
        int32_t sets;   // -1: the marker toggle
    };
    static constexpr button buttons[8] = {
        {-17, 6, -78, 2, 10}, {-17, -6, -56, 2, 11}, {10, 6, -34, 2, 0}, {10, -6, -12, 2, 1},
        {37, 6, 10, 2, 2},    {37, -6, 32, 2, 3},    {64, 6, 54, 2, 5},  {64, -6, 76, 2, -1},
    };
    const bool bc = panel_ins_type == INS_RAD_AUDIOPANEL_BC;
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    for (const button& b : buttons) {
        if (!PANEL_click_spot(bc ? b.x212 : b.x211, bc ? b.y212 : b.y211, 8.0f, 0)) continue;
        if (b.sets >= 0) sw.audio_panel_out = b.sets;
        else sw.marker_panel_out = sw.marker_panel_out == 0 ? 1 : 0;
    }
    const float s = panel_ins_scale;
    for (int i = 0; i < 8; ++i) {
        const button& b = buttons[i];
        const bool lit = b.sets >= 0 ? sw.audio_panel_out == b.sets : sw.marker_panel_out == 1;
        if (lit) PANEL_draw_control((bc ? b.x212 : b.x211) * s, (bc ? b.y212 : b.y211) * s, i);
    }
}

void PANEL_radios(int radio, int nav_part, int com_part, int adf_head_flag, int standby_and_swap)
{
    if (!PANEL_avionics_powered()) return;
    if (panel_ins_type == INS_RAD_NAVCOMADFFF_HM || panel_ins_type == INS_RAD_NAVCOMADFFF_HM2) return combined_head();
    if (adf_head_flag) return adf_head(radio, standby_and_swap);
    const bool combined = nav_part && com_part;
    if (nav_part) vhf_half(true, radio, standby_and_swap, combined);
    if (com_part) vhf_half(false, radio, standby_and_swap, combined);
}
