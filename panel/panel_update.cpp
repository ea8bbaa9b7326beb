// The per-frame panel pass: keys the Morse identifier of the tuned navaid,
// walks the 200 instrument slots of the user's aircraft in order, sets up the
// drawing context of each and hands it to the drawer its type's row of the
// instrument table names (drawing and click handling are one walk), re-arms
// the master lights, lets the network link draw what it received and writes
// the warning lines.
//
// Reads pln[0] (the instrument slots, parts), flt[0], the cockpit, time and
// warning values and the radio identifiers. Writes the drawing context, the
// sequencer, master_caution_on and master_accept_on.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/radio_tuning.h"
#include "flightmodel/systems/radios.h"
#include "graphics/font.h"
#include "links/dataout.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/sound.h"
#include "panel/controls/controls.h"
#include "panel/gauges/gauges.h"
#include "panel/glass/glass.h"
#include "panel/instrument_table.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/orbiter/orbiter.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

int32_t panel_ins_type = -1;
float panel_ins_scale = 1.0f;

namespace {

constexpr int IDENT_CHARS = 4;
constexpr float MORSE_REPEAT_SEC = 5.0f;
constexpr int INSTRUCTOR_SLOT = 10;

// Kept between passes.
struct panel_pass_state {
    int32_t morse_active = 0;
    int32_t morse_kinds[MORSE_STEPS] = {};
    float morse_times[MORSE_STEPS] = {};
};
panel_pass_state pass;

// The International Morse code of A..Z ('.' dot, '-' dash).
constexpr const char* morse_letters[26] = {
    ".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",   ".---", "-.-",  ".-..", "--",
    "-.",   "---",  ".--.", "--.-", ".-.", "...",  "-",    "..-",  "...-", ".--",  "-..-", "-.--", "--..",
};

void build_identifier(const char* ident)
{
    pass.morse_active = 1;
    pass.morse_times[0] = sim_time.total_running_time_sec;
    std::fill(std::begin(pass.morse_kinds), std::end(pass.morse_kinds), 0);
    int i = 0;
    // The first four characters, each a letter's elements and a gap. Past the
    // terminator the text's leftover bytes (of an earlier, longer identifier)
    // would key letters that are not in it: each such place keys only its gap.
    bool ended = false;
    for (int c = 0; c < IDENT_CHARS; ++c) {
        ended = ended || ident[c] == 0;
        const char ch = ended ? 0 : ident[c];
        if (ch >= 'A' && ch <= 'Z')
            for (const char* e = morse_letters[ch - 'A']; *e; ++e, ++i)
                (*e == '.' ? PANEL_morse_dot : PANEL_morse_dash)(pass.morse_kinds, pass.morse_times, i);
        PANEL_morse_gap(pass.morse_kinds, pass.morse_times, i++);
    }
}

void key_morse()
{
    if (PANEL_avionics_powered() && !pass.morse_active) {
        for (int r = 0; r < RADIO_RECEIVERS; ++r) {
            if (r == RADIO_GPS) continue;
            if (sim_cockpit_radios.nav_type[r] != 0 && r == sim_cockpit_switches.audio_panel_out) {
                char ident[IDENT_CHARS + 1] = {};
                std::memcpy(ident, radio_stations.nav_ident_text[r], IDENT_CHARS);
                build_identifier(ident);
            }
        }
    }
    if (!pass.morse_active) return;
    const float now = sim_time.total_running_time_sec;
    for (int i = 0; i < MORSE_STEPS; ++i) {
        const int kind = pass.morse_kinds[i];
        if (kind == 0 || !(pass.morse_times[i] < now)) continue;
        SOUND_play(kind == 1 ? SOUND_MORSE_DOT : SOUND_MORSE_DASH, 0, 1.0f, 1.0f);
        pass.morse_kinds[i] = 0;
    }
    if (now > pass.morse_times[0] + MORSE_REPEAT_SEC) pass.morse_active = 0;
}

void walk_slots(const panel_records& rec)
{
    panel_pass_counters k;
    const acf_struct& a = rec.acf;
    for (int slot = 0; slot < ACF_INS_SLOTS; ++slot) {
        const int t = a.acf_ins_type[slot];
        if (t == -1) continue;
        // Slots come from aircraft files and plug-ins: a slot placed or sized
        // by no number would draw its instrument at no place (and leave the
        // scale not a number for whatever comes next), so it is passed over.
        const float size = a.acf_ins_size[slot], dx = a.acf_ins_x[slot], dy = a.acf_ins_y[slot];
        if (!std::isfinite(size) || !std::isfinite(dx) || !std::isfinite(dy)) continue;
        panel_ins_type = t;
        panel_ins_scale = size;
        // An unknown type has no drawer: it draws nothing.
        const instrument_range* row = PANEL_instrument_range(t);
        if (!row) continue;
        const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
        screen.screen_area_left = left + dx;
        screen.screen_area_bottom = bottom + dy;
        if (row->draw) row->draw(instrument_slot{static_cast<ins_type>(t), slot, rec, k});
        screen.screen_area_left = left;
        screen.screen_area_bottom = bottom;
    }
}

void rearm_master_lights()
{
    sim_cockpit_warnings_block& w = sim_cockpit_warnings;
    const float now = sim_time.total_running_time_sec;
    if (now > w.master_caution_timeout + 1.0f) w.master_accept_on = 1;
    if (now > w.master_caution_timeout + 1.0f) w.master_caution_on = 1;
}

void warning_lines(const panel_records& rec)
{
    if (!sim_operation_prefs.warn_nonobvious_stuff) return;
    const acf_struct& a = rec.acf;
    const flt_struct& f = rec.flt;
    bool carb_ice = false;
    // An engine count above 8 (a plug-in may write it) would read past the engines' ice.
    for (int e = 0; e < std::min(a.acf_num_engines, FLT_ENGINES); ++e) carb_ice = carb_ice || f.ENGN_crbice[e] > 0.01f;
    bool gear_failed = false;
    for (int p = FLT_FIRST_GEAR_PART; p < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT; ++p)
        gear_failed = gear_failed || (a.acf_part_eq[p] != 0 && FLT_slot_failed(0, FAIL_SLOT_TYRE_BASE + (p - FLT_FIRST_GEAR_PART)));
    if (net_slot_enabled[INSTRUCTOR_SLOT]) return;
    const struct {
        bool on;
        float y;
        int text;
    } lines[] = {
        {sim_operation_misc.debug_network != 0, 728.0f, 377}, {dataout_any_disk_group != 0, 718.0f, 378},
        {gear_failed, 708.0f, 379},                         {f.over_g != 0, 698.0f, 380},
        {f.over_vne != 0, 688.0f, 381},                     {f.over_vfe != 0, 678.0f, 382},
        {f.over_vle != 0, 668.0f, 383},                     {carb_ice, 658.0f, 384},
    };
    for (const auto& l : lines)
        if (l.on) OGL_draw_string(48, 898.0f, l.y, LANG_ui_text(l.text), 9999.0f, 105);
}

}  // namespace

void PANEL_reset()
{
    pass = panel_pass_state{};
    panel_ins_type = -1;
    panel_ins_scale = 1.0f;
}
ORVELL_RESET(PANEL_reset, panel);

void PANEL_update()
{
    const panel_records rec = PANEL_user_records();
    key_morse();
    walk_slots(rec);
    rearm_master_lights();
    NET_handle_TEXT(1);
    NET_handle_CUST(1);
    warning_lines(rec);
}
