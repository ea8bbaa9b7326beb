// The 2-D overlay of the flying view: glare wash, replay bar, ATC window or
// spoken text or data rows, start prompts, pause notice, chat field, notes,
// checklist, element tables and the control marker; and stepping through the
// checklist by clicks. (The launches the parking brake lets go are the
// simulation's: flightmodel/ground/surface_under.h.)
#include "scene/effects/overlay.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/overlay_texts.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/plane_override.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "links/dataout.h"
#include "links/movie.h"
#include "links/network.h"
#include "links/net_slots.h"
#include "links/speech.h"
#include "world/atc.h"


const char* const REPLAY_BUTTON_COMMAND[10] = {"",
                                               "",
                                               "str_rep_fr     ",
                                               "str_rep_rr     ",
                                               "str_rep_sr     ",
                                               "str_rep_pause  ",
                                               "str_rep_sf     ",
                                               "str_rep_rf     ",
                                               "str_rep_ff     ",
                                               ""};
const float REPLAY_BUTTON_X[10] = {0.0f, 428.0f, 448.0f, 471.0f, 489.0f, 512.0f, 535.0f, 553.0f, 576.0f, 596.0f};

namespace {

constexpr int ROW_GLASS_TEXT = 48;
constexpr int ROW_WHITE = 49;
constexpr int ROW_PULSING_WHITE = 86;
constexpr int REPLAY_SLOT = 9;
constexpr int REPLAY_COMMAND_BYTES = 15;
constexpr float CHECKLIST_WIDTH = 1024.0f - 200.0f - 200.0f;

bool mouse_in(float x0, float y0, float x1, float y1)
{
    return mouse.mouse_x >= x0 && mouse.mouse_x <= x1 && mouse.mouse_y >= y0 && mouse.mouse_y <= y1;
}

void glare_wash()
{
    if (!(sun_glare > 0.0f)) return;
    const float side = screen.ui_side_margin, top = screen.ui_top_margin;
    OGL_fill_rect(ROW_WHITE, 0.75f * sun_glare, -side, 0.0f, 1024.0f + 2.0f * side, 768.0f + top);
}

void left_triangle(int row, float alpha, float apex_x, float base_x, float cy)
{
    OGL_draw_line(row, alpha, apex_x, cy, base_x, cy + 5.0f);
    OGL_draw_line(row, alpha, base_x, cy + 5.0f, base_x, cy - 5.0f);
    OGL_draw_line(row, alpha, base_x, cy - 5.0f, apex_x, cy);
}

void replay_glyph(int b, float alpha)
{
    const float cx = REPLAY_BUTTON_X[b], cy = REPLAY_BUTTON_Y;
    const int row = ROW_GLASS_TEXT;
    switch (b) {
    case 1:
    case 9: OGL_draw_rect_outline(row, alpha, cx - 5.0f, cy - 5.0f, 10.0f, 10.0f); break;
    case 2:
        left_triangle(row, alpha, cx - 10.0f, cx, cy);
        left_triangle(row, alpha, cx, cx + 10.0f, cy);
        break;
    case 3: left_triangle(row, alpha, cx - 5.0f, cx + 5.0f, cy); break;
    case 4:
        left_triangle(row, alpha, cx, cx + 10.0f, cy);
        OGL_draw_rect_outline(row, alpha, cx - 5.0f, cy - 5.0f, 4.0f, 10.0f);
        break;
    case 5:
        OGL_draw_rect_outline(row, alpha, cx - 5.0f, cy - 5.0f, 4.0f, 10.0f);
        OGL_draw_rect_outline(row, alpha, cx + 1.0f, cy - 5.0f, 4.0f, 10.0f);
        break;
    case 6:
        left_triangle(row, alpha, cx, cx - 10.0f, cy);
        OGL_draw_rect_outline(row, alpha, cx + 1.0f, cy - 5.0f, 4.0f, 10.0f);
        break;
    case 7: left_triangle(row, alpha, cx + 5.0f, cx - 5.0f, cy); break;
    case 8:
        left_triangle(row, alpha, cx, cx - 10.0f, cy);
        left_triangle(row, alpha, cx + 10.0f, cx, cy);
        break;
    default: break;
    }
}

// The three-way box under the bar: the ATC window, the spoken text or the data rows.
void atc_speech_or_data_rows()
{
    if (atc_state.atc_window_open) {
        OGL_shade_box(2.0f, 453.0f, 1022.0f, 748.0f, 0.5f);
        ATC_request_menu(0);
    } else if (sim_operation_prefs.text_out && speech_text_until > frame_clock) {
        OGL_shade_box(2.0f, 660.0f, 1022.0f, 748.0f, 0.5f);
        OGL_draw_string(ROW_GLASS_TEXT, 25.0f, 733.0f, speech_text, 974.0f, 106);
    } else {
        int k = 0;
        for (int i = 0; i < DATAOUT_GROUPS; ++i) {
            if (!sim_network_dataout.data_to_screen[i]) continue;
            DATAOUT_group(7, i, k);
            DATAOUT_group(6, i, k);
            ++k;
        }
    }
}

void start_prompts()
{
    const launch_flags_block& l = launch_flags;
    // The tow and winch are active while attached in their own start mode
    // (the flags of the start that set them up).
    const int32_t shown[6] = {l.catapult_hold,  l.tow_armed,     l.tow_attached && l.aero_tow_mode,
                              l.winch_armed,    l.winch_attached && l.winch_mode, l.mothership_carried};
    for (int k = 0; k < 6; ++k)
        if (shown[k]) OGL_draw_text_on_shade(ROW_PULSING_WHITE, 512.0f, 700.0f, LANG_ui_text(565 + k));
    if (sim_time.paused) OGL_draw_text_on_shade(ROW_PULSING_WHITE, 512.0f, 570.0f, LANG_ui_text(571));
}

void checklist()
{
    if (!checklist_shown || !checklist_loaded) return;
    const float w = CHECKLIST_WIDTH;
    // A count or line index set out of range elsewhere (a new, shorter list)
    // would read past the list: both are held to it before the line is read.
    if (checklist_count > CHECKLIST_LINES) checklist_count = CHECKLIST_LINES;
    if (checklist_count < 0) checklist_count = 0;
    if (checklist_current < 0) checklist_current = 0;
    if (checklist_current > checklist_count) checklist_current = checklist_count;
    OGL_shade_box(200.0f, 560.0f, 200.0f + w, 624.0f, 0.5f);
    OGL_draw_string(ROW_GLASS_TEXT, 210.0f, 610.0f, "< >", w - 20.0f, 107);
    // Past the last line (always so with a full list) an empty line shows.
    const char* line = checklist_current < checklist_count ? checklist_lines[checklist_current] : "";
    OGL_draw_string(ROW_GLASS_TEXT, 210.0f, 595.0f, line, w - 20.0f, 107);
    OGL_draw_rect_outline(ROW_GLASS_TEXT, 1.0f, 208.0f, 608.0f, 9.0f, 10.0f);
    OGL_draw_rect_outline(ROW_GLASS_TEXT, 1.0f, 219.0f, 608.0f, 9.0f, 10.0f);
    if (!mouse.mouse_down) return;
    int step = 0;
    if (mouse_in(208.0f, 608.0f, 218.0f, 618.0f)) step = -1;
    if (mouse_in(219.0f, 608.0f, 229.0f, 618.0f)) step = 1;
    if (step == 0) return;
    checklist_current += step;
    if (checklist_current < 0) checklist_current = 0;
    if (checklist_current > checklist_count) checklist_current = checklist_count;
    SOUND_speak(checklist_current < checklist_count ? checklist_lines[checklist_current] : "", 0);
}

void control_marker()
{
    const sim_joystick_block& j = sim_joystick;
    const sim_operation_override_block& o = sim_operation_override;
    if (PLANE_externally_moved(0) || j.has_joystick || o.override_joystick || o.override_artstab ||
        o.override_flightcontrol || j.eq_cirrusII_fun || j.eq_cirrusII_app)
        return;
    const float cx = pln[0].acf_HUD_cntrx, cy = pln[0].acf_HUD_cntry;
    if (j.mouse_is_joystick) {
        OGL_draw_rect_outline(ROW_WHITE, 0.25f, cx - 100.0f, cy - 100.0f, 200.0f, 200.0f);
        OGL_draw_line(ROW_WHITE, 0.25f, cx - 3.0f, cy, cx + 3.0f, cy);
        OGL_draw_line(ROW_WHITE, 0.25f, cx, cy - 3.0f, cx, cy + 3.0f);
    } else {
        OGL_draw_string(ROW_WHITE, cx + 100.0f * j.yolk_roll_ratio - 3.0f, cy - 100.0f * j.yolk_pitch_ratio - 3.0f,
                        "+", 9999.0f, 100);
    }
}

}  // namespace

bool REPLAY_bar_shown() { return sim_operation_prefs.replay_mode != 0 && !movie_recording; }

void REPLAY_draw_bar()
{
    OGL_shade_box(REPLAY_BAR_BOX[0], REPLAY_BAR_BOX[1], REPLAY_BAR_BOX[2], REPLAY_BAR_BOX[3], 0.5f);
    const float t = sim_network_misc.network_time_sec;
    const float m = std::trunc(t / 60.0f);
    OGL_draw_string_fmt(ROW_GLASS_TEXT, 497.0f, 725.0f, m, 2, 0, 0, 105);
    OGL_draw_string(ROW_GLASS_TEXT, 509.0f, 725.0f, ":", 9999.0f, 105);
    OGL_draw_string_fmt(ROW_GLASS_TEXT, 515.0f, 725.0f, t - 60.0f * m, 4, 2, 0, 105);

    int32_t& mode = sim_operation_prefs.replay_mode;
    for (int b = 1; b <= 9; ++b) {
        replay_glyph(b, b == mode ? 1.0f : 0.5f);
        const float cx = REPLAY_BUTTON_X[b];
        if (!mouse.mouse_down || !mouse_in(cx - 10.0f, REPLAY_BUTTON_Y - 10.0f, cx + 10.0f, REPLAY_BUTTON_Y + 10.0f))
            continue;
        mode = b;
        if (b >= 2 && b <= 8 && net_slot_enabled[REPLAY_SLOT] && net_slot_valid[REPLAY_SLOT])
            NET_data_send("KSTM", 0, REPLAY_BUTTON_COMMAND[b], REPLAY_COMMAND_BYTES, REPLAY_SLOT);
    }
}

void SCENE_draw_overlay()
{
    glare_wash();
    if (REPLAY_bar_shown()) REPLAY_draw_bar();
    // The window takes clicks up to the menu bar's bottom line: its first
    // row stays highlighted above the row, and a click there must pick it
    // rather than fall between the window and the bar.
    if (mouse.mouse_down && atc_state.atc_window_open && mouse_in(2.0f, 453.0f, 1022.0f, MENU_BAR_BOTTOM))
        ATC_request_menu(1);
    atc_speech_or_data_rows();
    start_prompts();
    if (chat_typing) BTN_text_field(62.0f, 584.0f, chat_text, 150, 0, "");   // the chat entry is open
    // The page shows once a file was read into it; toggled on before that,
    // nothing is drawn.
    if (notes_shown && notes_loaded) {
        OGL_shade_box(10.0f, 430.0f, 1014.0f, 750.0f, 0.5f);
        OGL_draw_string(ROW_GLASS_TEXT, 15.0f, 735.0f, notes_text, 994.0f, 107);
    }
    checklist();
    if (sim_network_dataout.dump_parts_props) DATAOUT_element_table(0);
    if (sim_network_dataout.dump_parts_wings) DATAOUT_element_table(1);
    if (sim_network_dataout.dump_parts_vstabs) DATAOUT_element_table(2);
    control_marker();
    redraw_pending = 0;   // the loading screen's flag: cleared after every overlay
}
