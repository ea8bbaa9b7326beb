// Screen 6: display and rendering settings, the interface language, the
// number of aircraft, scenery switches, cloud values, field of view, target
// frame rate, and read-outs of the OpenGL driver and video memory.
//
// Writes the screen record's requested display and rendering resolution,
// sim_operation_prefs_misc.language, sim_graphics_settings, sim_graphics_view's
// field of view, screen_settings (scenery, cloud and view switches, target
// frame period). A language click reloads the texts and menus at once.
#include <GL/gl.h>

#include <cmath>

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/screen_settings.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "core/ui_text.h"
#include "scene/vram_estimate.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_tex.h"
#include "graphics/widget.h"
#include "links/plugin_host.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"

namespace {

constexpr int STYLE_GROUP = 13;
constexpr int STYLE_BOX = 15;
constexpr int LANGUAGES = 7;

// The language names, each in its own language, written in the font's
// plain letters.
constexpr const char* LANGUAGE_NAMES[LANGUAGES] = {"English", "Francais", "Deutsch", "Italiano",
                                                   "Korean",  "Espanol",  "Portugues"};

const char* gl_text(GLenum name)
{
    const GLubyte* s = glGetString(name);
    return s ? reinterpret_cast<const char*>(s) : "";
}

int loaded_slots(int first, int last)
{
    int n = 0;
    for (int s = first; s <= last && s < TEX_SLOTS; ++s)
        if (texture_memory[s] > 0) ++n;
    return n;
}

}  // namespace

void SETUP_rendering_language()
{
    BTN_screen_frame(1, 18);
    float scratch_x = 0.0f, second_top = 0.0f, third_top = 0.0f;
    BTN_place_frame(0.0f, STYLE_BOX, -1.0f, -1.0f, -1.0f, 136.0f, "", &scratch_x, &frame_next_y);
    BTN_place_frame(0.0f, STYLE_GROUP, -1.0f, frame_next_y, -1.0f, 170.0f, LANG_ui_text(402), &scratch_x,
                    &second_top);
    BTN_place_frame(0.0f, STYLE_GROUP, -1.0f, second_top, -1.0f, 126.0f, LANG_ui_text(539), &scratch_x, &third_top);
    BTN_place_frame(0.0f, STYLE_GROUP, -1.0f, third_top, -1.0f, 140.0f, LANG_ui_text(401), &scratch_x,
                    &frame_next_y);
    BTN_place_frame(0.0f, STYLE_GROUP, -1.0f, frame_next_y, -1.0f, -1.0f, LANG_ui_text(400), &scratch_x,
                    &frame_next_y);

    const float preview_x = 650.0f, preview_y = second_top;
    const float preview_w = screen.screen_area_width - 10.0f - preview_x;
    const float preview_h = third_top - 10.0f - second_top;
    BTN_frame2(STYLE_BOX, preview_x, preview_y, preview_w, preview_h, "");

    BTN_digit_field_int(110.0f, 645.0f, &screen.res_width, 4, 1024.0f, 9999.0f, LANG_ui_text(121));
    BTN_digit_field_int(180.0f, 645.0f, &screen.res_height, 4, 768.0f, 9999.0f, LANG_ui_text(122));
    char label[TEXT_SIZE];
    SCREEN_help_label(LANG_ui_text(119), label, TEXT_SIZE);
    BTN_text_list(170.0f, 692.0f, &screen.rendering_res, LANG_ui_text(118), label);
    BTN_check_box(640.0f, 692.0f, &screen.requested_full_screen, LANG_ui_text(120), 0);

    int depth_choice = screen.res_bits == 32 ? 1 : 0;
    SCREEN_help_label(LANG_ui_text(214), label, TEXT_SIZE);
    BTN_text_list(320.0f, 645.0f, &depth_choice, LANG_ui_text(123), label);
    screen.res_bits = depth_choice == 1 ? 32 : 16;

    // Any language click, the current one too, reloads the texts and menus.
    int& language = sim_operation_prefs_misc.language;
    for (int k = 0; k < LANGUAGES; ++k)
        if (BTN_radio_button(740.0f, 597.0f - 20.0f * static_cast<float>(k), &language, k, LANGUAGE_NAMES[k])) {
            CORE_load_language(1);
            CORE_build_menus("ORVELL.TXT");
        }

    sim_graphics_settings_block& g = sim_graphics_settings;
    // The plug-ins hear of a new number of aircraft, not of a click that left it
    // as it was (an arrow at the field's limit).
    const int aircraft_were = g.draw_aircrafts;
    if (BTN_digit_field_int(50.0f, 556.0f, &g.draw_aircrafts, 2, 1.0f, 10.0f, LANG_ui_text(124)) &&
        g.draw_aircrafts != aircraft_were)
        PLUGIN_call_event_hook(7, frame_clock, 0, 0, 0);
    BTN_digit_field_int(50.0f, 506.0f, &g.autogen_level, 2, 0.0f, 5.0f, LANG_ui_text(135));
    BTN_digit_field_int(150.0f, 506.0f, &g.autogen_distance, 2, 0.0f, 20.0f, LANG_ui_text(136));

    screen_settings_block& ss = screen_settings;
    struct check {
        float x, y;
        int32_t* value;
        int entry;
    };
    const check checks[] = {
        {270.0f, 576.0f, &g.draw_vectors, 133},          {470.0f, 576.0f, &g.draw_obstacles, 125},
        {600.0f, 576.0f, &g.draw_textured_lites, 127},   {270.0f, 546.0f, &g.draw_cars, 134},
        {470.0f, 546.0f, &g.draw_oilrigs, 131},          {600.0f, 546.0f, &ss.cloud_switch, 540},
        {270.0f, 516.0f, &ss.scenery_load_switch, 531},  {470.0f, 516.0f, &g.draw_ships, 132},
        {600.0f, 516.0f, &g.dim_gload, 128},             {270.0f, 486.0f, &ss.draw_apron_aircraft, 627},
        {470.0f, 486.0f, &g.draw_forestfires, 130},      {600.0f, 486.0f, &g.draw_taxilines, 129},
    };
    for (const check& c : checks) BTN_check_box(c.x, c.y, c.value, LANG_ui_text(c.entry), 0);

    BTN_digit_field_auto(135.0f, 416.0f, &ss.cloud_scale_a, 2, 1, 0, LANG_ui_text(541));
    BTN_digit_field_auto(135.0f, 366.0f, &ss.cloud_scale_b, 2, 1, 0, LANG_ui_text(542));
    if (TEX_SLOT_CLOUD < TEX_SLOTS && texture_memory[TEX_SLOT_CLOUD] > 0) {
        const tex_quad_corner corners[4] = {{preview_x, preview_y, 0.0f, 0.0f},
                                            {preview_x, preview_y + preview_h, 0.0f, 1.0f},
                                            {preview_x + preview_w, preview_y + preview_h, 1.0f, 1.0f},
                                            {preview_x + preview_w, preview_y, 1.0f, 0.0f}};
        OGL_draw_tex_quad(TEX_SLOT_CLOUD, 0, 1.0f, corners, 1, 5);
    }

    sim_graphics_view_block& v = sim_graphics_view;
    BTN_digit_field(110.0f, 280.0f, &v.field_of_view_deg, 4, 1, 15.0f, 160.0f, LANG_ui_text(137));
    float fps = 1.0f / ss.systems_period;
    BTN_digit_field(120.0f, 230.0f, &fps, 3, 1, 12.5f, 99.9f, LANG_ui_text(138));
    ss.systems_period = 1.0f / fps;
    BTN_digit_field(370.0f, 280.0f, &v.field_of_view_horizontal_deg, 4, 1, -180.0f, 180.0f, LANG_ui_text(139));
    BTN_digit_field(370.0f, 230.0f, &v.field_of_view_vertical_deg, 4, 1, -180.0f, 180.0f, LANG_ui_text(141));
    BTN_digit_field(370.0f, 180.0f, &v.field_of_view_roll_deg, 4, 1, -180.0f, 180.0f, LANG_ui_text(583));
    BTN_digit_field(430.0f, 280.0f, &v.field_of_view_horizontal_ratio, 3, 2, -9.9f, 9.9f, LANG_ui_text(140));
    BTN_digit_field(430.0f, 230.0f, &v.field_of_view_vertical_ratio, 3, 2, -9.9f, 9.9f, LANG_ui_text(142));
    BTN_check_box(700.0f, 280.0f, &ss.planet_view_flag_a, LANG_ui_text(537), 0);
    BTN_check_box(700.0f, 230.0f, &ss.planet_view_flag_b, LANG_ui_text(538), 0);

    SCREEN_text(30.0f, 125.0f, 143);
    SCREEN_text(30.0f, 115.0f, 144);
    SCREEN_text(30.0f, 95.0f, 126);
    SCREEN_string(150.0f, 125.0f, gl_text(GL_VENDOR));
    SCREEN_string(150.0f, 115.0f, gl_text(GL_RENDERER));
    SCREEN_string(350.0f, 115.0f, gl_text(GL_VERSION));

    const int c1 = loaded_slots(500, 999), c2 = loaded_slots(1000, 3999), c3 = loaded_slots(4000, 4700);
    char line[TEXT_SIZE];
    SCREEN_format(145, format_args::one_double, line, 0, 0, static_cast<double>(UTIL_vram_estimate()));
    SCREEN_string(30.0f, 55.0f, line);
    SCREEN_format(146, format_args::two_ints, line, c1, c1 * 100 / 499);
    SCREEN_string(30.0f, 45.0f, line);
    SCREEN_format(147, format_args::two_ints, line, c2, c2 * 100 / 2999);
    SCREEN_string(30.0f, 35.0f, line);
    SCREEN_format(148, format_args::two_ints, line, c3, c3 * 100 / 700);
    SCREEN_string(30.0f, 25.0f, line);
}
