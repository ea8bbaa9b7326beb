// Screen 4, the joystick and equipment screen (SETUP_joystick_equipment in
// screens/setup.h): tab 0 the assignment page (JOY_setup_screen), tab 1 the
// response settings with the null-zone calibration, tab 2 the cockpit
// equipment, the serial console and the projection settings. The screen's
// tab and display words are kept in `joystick_screen` (links/joystick.h),
// whose tab the joystick poll reads.
#include <algorithm>
#include <cmath>

#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/widget.h"
#include "links/console.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"

namespace {

constexpr int DISPLAY_COLOUR = 45;
constexpr float NULL_ZONE_DECAY = 0.5f;   // of the zone per second

void response_sliders()
{
    sim_joystick_block& j = sim_joystick;
    screen_settings_block& ss = screen_settings;
    BTN_slider(30.0f, 620.0f, 0, 0.5f, 1.0f, &j.joystick_pitch_sensitivity, 1, LANG_ui_text(164), "");
    BTN_slider(30.0f, 580.0f, 0, 0.5f, 1.0f, &j.joystick_roll_sensitivity, 1, LANG_ui_text(165), "");
    BTN_slider(30.0f, 540.0f, 0, 0.5f, 1.0f, &j.joystick_heading_sensitivity, 1, LANG_ui_text(166), "");
    BTN_slider(330.0f, 620.0f, 0, 0.0f, 1.0f, &ss.pitch_rate_damping, 1, LANG_ui_text(163), "");
    BTN_slider(330.0f, 580.0f, 0, 0.0f, 1.0f, &ss.roll_rate_damping, 1, LANG_ui_text(117), "");
    BTN_slider(330.0f, 540.0f, 0, 0.0f, 1.0f, &ss.yaw_rate_damping, 1, LANG_ui_text(198), "");
    BTN_check_box(800.0f, 660.0f, &sim_operation_prefs.auto_coordinate_helos, LANG_ui_text(162), 0);
}

// The display words from the console's own axes and the user's controls.
void console_display_words(float* w)
{
    const flt_struct& f = flt[0];
    w[0] = console.channel[7];
    w[1] = console.channel[6];
    w[2] = console.channel[8];
    const float rest[9] = {f.ENGN_thro[0], f.ENGN_thro[1], f.l_brake_add, f.r_brake_add, f.ENGN_prop[0],
                           f.ENGN_mixt[0], f.ENGN_heat[0], f.vectrqst, f.swdirqst};
    std::copy(rest, rest + 9, w + 3);
}

void draw_null_zones()
{
    const sim_joystick_block& j = sim_joystick;
    const float* w = joystick_screen.display_words;
    constexpr float box_x = 45.0f, base_y = 60.0f;
    OGL_draw_rect_outline(DISPLAY_COLOUR, 1.0f, box_x, base_y, 101.0f, 101.0f);
    const float cx = box_x + 50.5f, cy = base_y + 50.5f;
    const float zx = 100.0f * j.joystick_roll_nullzone, zy = 100.0f * j.joystick_pitch_nullzone;
    OGL_fill_rect(DISPLAY_COLOUR, 0.5f, cx - zx / 2.0f, cy - zy / 2.0f, zx, zy);
    const float sx = cx + 50.0f * std::clamp(w[1], -1.0f, 1.0f), sy = cy - 50.0f * std::clamp(w[0], -1.0f, 1.0f);
    OGL_fill_rect(DISPLAY_COLOUR, 1.0f, sx - 1.5f, sy - 1.5f, 3.0f, 3.0f);
    // The display row's places are x 45 (the square, which shows pitch and
    // roll) and 185 to 485 by 30; the ten other words take the places from
    // 185 in their order, so the last place, 485, stays empty.
    constexpr float bar_x[JOYSTICK_DISPLAY_WORDS - 2] = {185, 215, 245, 275, 305, 335, 365, 395, 425, 455};
    for (int k = 2; k < JOYSTICK_DISPLAY_WORDS; ++k) {
        const float x = bar_x[k - 2];
        OGL_draw_rect_outline(DISPLAY_COLOUR, 1.0f, x, base_y, 21.0f, 101.0f);
        const float v = std::isfinite(w[k]) ? std::clamp(w[k], -1.0f, 1.0f) : 0.0f;
        OGL_fill_rect(DISPLAY_COLOUR, 1.0f, x, base_y, 21.0f, 100.0f * std::fabs(v));
    }
}

void null_zone_calibration()
{
    sim_joystick_block& j = sim_joystick;
    const bool console_set = j.eq_cirrusII_fun != 0 || j.eq_cirrusII_app != 0;
    if (!j.has_joystick && !console_set) return;
    float* zones[3] = {&j.joystick_pitch_nullzone, &j.joystick_roll_nullzone, &j.joystick_heading_nullzone};
    const float keep = 1.0f - NULL_ZONE_DECAY * sim_operation_misc.frame_rate_period;
    for (float* z : zones) *z *= keep;
    float* w = joystick_screen.display_words;
    JOY_poll(&w[0], &w[1], &w[2], &w[3], &w[4], &w[5], &w[6], &w[7], &w[8], &w[9], &w[10], &w[11], 0);
    if (console_set) console_display_words(w);
    for (int k = 0; k < 3; ++k)
        if (std::fabs(w[k]) > *zones[k]) *zones[k] = std::fabs(w[k]);
}

void response_tab()
{
    SCREEN_place_box(34.0f, 15, -1.0f, -1.0f, -1.0f, 256.0f, "");
    SCREEN_place_box(34.0f, 15, -1.0f, frame_next_y, -1.0f, 160.0f, LANG_ui_text(403));
    SCREEN_place_box(34.0f, 13, -1.0f, frame_next_y, -1.0f, -1.0f, LANG_ui_text(403));
    response_sliders();
    null_zone_calibration();
    draw_null_zones();
    BTN_draw_label(20.0f, 250.0f, 1, LANG_ui_text(first_frames_fast ? 279 : 280));
}

void equipment_tab()
{
    screen_settings_block& ss = screen_settings;
    sim_joystick_block& j = sim_joystick;
    SCREEN_place_box(34.0f, 13, -1.0f, -1.0f, 480.0f, -1.0f, "");
    SCREEN_place_box(34.0f, 13, frame_next_x, -1.0f, -1.0f, -1.0f, "");
    const bool second = interval_ticks[INTERVAL_ONE_SECOND] != 0;
    if (second) HARDWARE_close(0);

    struct check { int entry; int32_t* value; };
    const check checks[7] = {{150, &ss.eq_button_throttle}, {151, &ss.preset_radios_option},
                             {152, &ss.keys_per_engine},    {153, &ss.joy_calibrating},
                             {154, &ss.eq_gf_panels},       {155, &ss.equipment_option_a},
                             {156, &ss.equipment_option_b}};
    float y = 660.0f;
    for (const check& c : checks) {
        BTN_check_box(150.0f, y, c.value, LANG_ui_text(c.entry), 0);
        y -= 30.0f;
    }
    y += 30.0f;
    y -= 38.0f;
    BTN_check_box(150.0f, y, &j.eq_pfc_pedals, LANG_ui_text(160), 0);
    y -= 38.0f;
    BTN_check_box(150.0f, y, &j.eq_pfc_cirrus2, LANG_ui_text(161), 0);
    char help[TEXT_SIZE];
    SCREEN_help_label(LANG_ui_text(168), help, TEXT_SIZE);
    BTN_text_list(250.0f, y - 19.0f, &ss.eq_cirrus_com2, LANG_ui_text(167), help);
    BTN_check_box(150.0f, y - 57.0f, &ss.eq_cirrus_layout2, LANG_ui_text(620), 0);
    BTN_check_box(150.0f, y - 95.0f, &ss.eq_cirrus_latch_brake, LANG_ui_text(612), 0);

    if (second) HARDWARE_open();

    sim_graphics_view_block& v = sim_graphics_view;
    BTN_digit_field_int(180.0f, 85.0f, &v.number_elumens_projections, 1, 0.0f, 4.0f, LANG_ui_text(621));
    BTN_digit_field_int(300.0f, 85.0f, &v.elumens_tex_width, 4, 1.0f, 1024.0f, LANG_ui_text(622));
    // One unit right of 355: there its digit arrows (x - 9 onward) would
    // overlap the last arrows of the width field (up to 300 + 47) by a unit.
    BTN_digit_field_int(356.0f, 85.0f, &v.elumens_tex_height, 4, 1.0f, 1024.0f, LANG_ui_text(623));
    BTN_digit_field(150.0f, 35.0f, &v.elumens_ref_psi, 3, 0, -180.0f, 180.0f, LANG_ui_text(624));
    BTN_digit_field(200.0f, 35.0f, &v.elumens_ref_the, 3, 0, -180.0f, 180.0f, "");
    BTN_digit_field(250.0f, 35.0f, &v.elumens_ref_phi, 3, 0, -180.0f, 180.0f, LANG_ui_text(625));

    // At most one console model is set.
    SCREEN_help_label(LANG_ui_text(157), help, TEXT_SIZE);
    if (BTN_text_list(150.0f, 250.0f, &j.eq_cirrusII_fun, LANG_ui_text(159), help)) j.eq_cirrusII_app = 0;
    SCREEN_help_label(LANG_ui_text(158), help, TEXT_SIZE);
    if (BTN_text_list(150.0f, 200.0f, &j.eq_cirrusII_app, LANG_ui_text(159), help)) j.eq_cirrusII_fun = 0;
}

}  // namespace

void SETUP_joystick_equipment()
{
    BTN_screen_frame(1, 1);
    int32_t& tab = joystick_screen.joystick_tab;
    BTN_tab(0, 0, &tab, LANG_ui_text(374));
    BTN_tab(1, 0, &tab, LANG_ui_text(375));
    BTN_tab(2, 0, &tab, LANG_ui_text(376));
    if (tab == 0)
        JOY_setup_screen();
    else if (tab == 1)
        response_tab();
    else if (tab == 2)
        equipment_tab();
}
