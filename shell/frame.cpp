#include "shell/frame.h"
#include "shell/startup_clock.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "flightmodel/flt.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "links/movie.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "links/plugin_threads.h"
#include "links/sound.h"
#include "panel/panel.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "core/draw_phases.h"
#include "core/folders.h"
#include "scene/effects/overlay.h"
#include "scene/scene_driver.h"
#include "scene/sky/cloud_field.h"
#include "shell/commands.h"
#include "shell/cycle.h"
#include "core/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/views.h"
#include "shell/world_textures.h"
#include "shell/wndproc.h"

int32_t o_lit_cus_panel = 0;
frame_state frame_loop;

namespace {

constexpr int MAX_PROJECTIONS = 4;  // display projections of the flying view

void mark(const char* label, int end_line = 0)
{
    if (log_frame_timing) UTIL_time_probe(label, end_line);
}

float max_f(float a, float b) { return a > b ? a : b; }

// The built-in check mark of a menu item by its command: 1 ticked, 0 empty, -1 none.
int builtin_check_state(int command)
{
    switch (command) {
    case 416: return sim_graphics_scenery.current_planet == 0 ? 1 : 0;
    case 417: return sim_graphics_scenery.current_planet == 1 ? 1 : 0;
    case COMMAND_TRANSPARENT_PANEL: return sim_graphics_settings.transparent_panel != 0 ? 1 : 0;
    case COMMAND_SMOKE: return flt[0].smoking != 0 ? 1 : 0;
    case COMMAND_REPLAY: return sim_operation_prefs.replay_mode != 0 ? 1 : 0;
    case 1032: return sim_cockpit_misc.show_path != 0 ? 1 : 0;
    case 1036: return view_follow_weapon != 0 ? 1 : 0;
    case 1206: return sim_graphics_misc.show_panel_click_spots != 0 ? 1 : 0;
    case 1209: return notes_shown != 0 ? 1 : 0;
    case 1212: return checklist_shown != 0 ? 1 : 0;
    case 1214: return auto_flight_on != 0 ? 1 : 0;
    case 1215: return auto_view_cycle_on != 0 ? 1 : 0;
    default: break;
    }
    if (VIEW_is_view(command)) return sim_graphics_view.view_type == command ? 1 : 0;
    return -1;
}

bool item_has_text(const menu_item_record& item) { return item.text[0] != 0; }

bool pointer_on_item(const menu_item_record& item, float x, float y)
{
    return item.left <= x && x <= item.right && item.bottom <= y && y <= item.top - 1.0f;
}

// The menu bar (shown in flight when the pointer is at the top, always while a
// menu is open), the open menu and the hover help.
void draw_menus()
{
    const float x = mouse.mouse_x;
    const float y = mouse.mouse_y;
    const int open = screen.open_menu;
    const int bar_font = sim_operation_prefs_misc.language == 5 ? 102 : 101;

    if (MENU_bar_shown(y)) {
        BTN_frame1(0, 512.0f, MENU_BAR_TOP + screen.ui_top_margin - 9.0f, 1024.0f, 0);
        for (int m = 0; m < MENU_COUNT; ++m) {
            const menu_record& menu = menu_table[m];
            if (menu.title[0] == 0 || menu.parent != -1) continue;
            OGL_draw_string(40, menu.left + 10.0f, menu.bottom + 6.0f, menu.title, 9999.0f, bar_font);
        }
    }

    // Any other value than -1 is a menu; one outside the table would read past it.
    if (open >= 0 && open < MENU_COUNT) {
        const menu_record& menu = menu_table[open];

        // The box around every item with text.
        bool any = false;
        float left = 0, bottom = 0, right = 0, top = 0;
        for (const menu_item_record& item : menu.items) {
            if (!item_has_text(item)) continue;
            if (!any) {
                left = item.left, bottom = item.bottom, right = item.right, top = item.top;
                any = true;
            } else {
                left = std::fmin(left, item.left);
                bottom = std::fmin(bottom, item.bottom);
                right = std::fmax(right, item.right);
                top = std::fmax(top, item.top);
            }
        }
        BTN_frame2(17, left, bottom, right - left, top - bottom, "");

        int hovered = -1;
        for (int i = 0; i < MENU_ITEMS; ++i) {
            const menu_item_record& item = menu.items[i];
            if (!item_has_text(item) || item.text[0] == '-' || item.text[0] == '=') continue;
            if (PLUGIN_call_menu_item_enabled(open, i) == 0) continue;
            if (pointer_on_item(item, x, y)) hovered = i;
        }
        if (menu.parent == -1)
            OGL_fill_rect(38, 0.25f, menu.left, menu.bottom, menu.right - menu.left, menu.top - menu.bottom);
        if (hovered >= 0) {
            const menu_item_record& h = menu.items[hovered];
            OGL_fill_rect(38, 0.25f, h.left, h.bottom, h.right - h.left, h.top - h.bottom);
        }

        // Column breaks.
        for (int i = 1; i < MENU_ITEMS; ++i) {
            const menu_item_record& item = menu.items[i];
            if (!item_has_text(item) || item.left == menu.items[i - 1].left) continue;
            OGL_draw_line(37, 1.0f, item.left - 1.0f, bottom - 1.0f, item.left - 1.0f, top);
            OGL_draw_line(39, 1.0f, item.left, top, item.left, bottom - 1.0f);
        }

        for (int i = 0; i < MENU_ITEMS; ++i) {
            const menu_item_record& item = menu.items[i];
            if (!item_has_text(item)) continue;
            if (item.text[0] == '-') {
                OGL_draw_line(37, 1.0f, item.left, item.bottom + 1.0f, item.right - 1.0f, item.bottom + 1.0f);
                OGL_draw_line(39, 1.0f, item.left, item.bottom, item.right - 1.0f, item.bottom);
                continue;
            }
            const int font = item.korean_glyphs ? 102 : 101;
            const int colour = PLUGIN_call_menu_item_enabled(open, i) != 0 ? 40 : 41;
            char label[MENU_TEXT_SIZE + 1];
            std::memcpy(label, item.text, MENU_TEXT_SIZE);
            label[MENU_TEXT_SIZE] = 0;
            char shortcut[MENU_TEXT_SIZE + 1] = {};
            char* bracket = std::strrchr(label, '[');
            if (bracket && bracket != label) {
                std::strcpy(shortcut, bracket);
                *bracket = 0;
            }
            const float label_x = item.left + (open == MENU_POPUP ? 3.0f : 18.0f);
            OGL_draw_string(colour, label_x, item.bottom + 3.0f, label, 9999.0f, font);
            if (shortcut[0]) {
                const float w = static_cast<float>(OGL_string_width(shortcut));
                OGL_draw_string(colour, item.right - w - 10.0f, item.bottom + 3.0f, shortcut, 9999.0f, font);
            }

            int state = -1;
            if (PLUGIN_call_check_menu_hook(open, i, &state) != 0) {
                const int builtin = builtin_check_state(item.command);
                if (builtin != -1) state = builtin;
            }
            if (state != -1) {
                const float tx = 109.0f, ty = state != 0 ? 206.0f : 187.0f;
                BTN_draw_ui_sprite(item.left + 8.0f, item.bottom + 6.0f, tx, ty, 4.5f, 4.5f, 0);
            }
        }

        // Submenu arrows.
        for (int m = 0; m < MENU_COUNT; ++m) {
            if (menu_table[m].parent != open) continue;
            BTN_draw_ui_sprite(menu_table[m].right - 8.0f, menu_table[m].bottom + 6.0f, 167.0f, 187.0f, 4.5f, 4.5f, 0);
        }
    }

    // Hover help.
    if (mouse.hover_text[0] != 0 && frame_clock - mouse_activity_time > 1.0f) {
        const int lines = static_cast<int>(strnlen(mouse.hover_text, TEXT_SIZE)) / 50;
        float h = 10.0f * static_cast<float>(lines) + 20.0f;
        if (h < 60.0f) h = 60.0f;
        else if (h > 200.0f) h = 200.0f;
        float hx = x - 400.0f;
        const float x_lo = 10.0f - screen.screen_area_left, x_hi = 1014.0f - screen.screen_area_left - 400.0f;
        if (hx < x_lo) hx = x_lo;
        else if (hx > x_hi) hx = x_hi;
        float hy = y;
        const float y_lo = 10.0f - screen.screen_area_bottom, y_hi = 748.0f - screen.screen_area_bottom - h;
        if (hy < y_lo) hy = y_lo;
        else if (hy > y_hi) hy = y_hi;
        BTN_frame2(14, hx - 10.0f, hy - 10.0f, 420.0f, h + 20.0f, "");
        OGL_draw_string(48, hx + 3.0f, hy + h - 10.0f, mouse.hover_text, 394.0f, 105);
    }
}

// The frame clock: seconds since the first frame; then each interval flag is
// raised for this frame when its period has passed since it last fired.
void advance_clock()
{
    const double now = UTIL_seconds();
    if (!frame_loop.started) {
        frame_loop.started = true;
        frame_loop.start_time = now;
    }
    frame_clock = static_cast<float>(now - frame_loop.start_time);
    for (int k = 0; k < INTERVAL_COUNT; ++k) {
        if (frame_clock > frame_loop.last_fire[k] + interval_periods[k]) {
            interval_ticks[k] = 1;
            frame_loop.last_fire[k] = frame_clock;
        } else {
            interval_ticks[k] = 0;
        }
    }
}

// Counts the flying frames, notes whether the first ones came fast, and every
// tenth flying frame re-estimates the frame period from the time they took.
void estimate_frame_period()
{
    float& period = sim_operation_misc.frame_rate_period;
    if (app_mode == MODE_FLYING) ++flying_frame_count;
    if (flying_frame_count == 5) frame_loop.fifth_frame_time = frame_clock;
    if (flying_frame_count == 6 && frame_clock < frame_loop.fifth_frame_time + 0.4f) first_frames_fast = 1;
    if (!frame_loop.estimate_started) {
        frame_loop.estimate_started = true;
        frame_loop.estimate_start = frame_clock - 10.0f * period;
    }
    if (app_mode == MODE_FLYING) {
        if (flying_frame_count % 10 == 0) {
            const float ratio = FRAME_period_ratio(frame_clock - frame_loop.estimate_start, period);
            sim_operation_misc.time_ratio = ratio;
            period = FRAME_next_period(period, ratio);
            frame_loop.estimate_start = frame_clock;
        }
    } else {
        frame_loop.estimate_start = frame_clock;
    }
}

// Hides the pointer after ten seconds without movement and shows it again when it moves.
void pointer_idle()
{
    const float x = mouse.mouse_x, y = mouse.mouse_y;
    if (std::fabs(x - frame_loop.previous_mouse_x) > 0.5f || std::fabs(y - frame_loop.previous_mouse_y) > 0.5f)
        mouse_activity_time = frame_clock;
    const float idle = frame_clock - mouse_activity_time;
    if (idle > 10.0f && PLAT_cursor_shown())
        PLAT_show_cursor(false);
    else if (idle < 10.0f && !PLAT_cursor_shown())
        PLAT_show_cursor(true);
    frame_loop.previous_mouse_x = x;
    frame_loop.previous_mouse_y = y;
}

// The three blinking colours (86, 87, 88) pulse with the frame clock.
void blink_colours()
{
    const float s = std::sin(10.0f * frame_clock);
    const float a = 0.6f + 0.4f * s, b = 0.8f + 0.2f * s;
    OGL_set_color(86, a, a, a);
    OGL_set_color(87, b, 0.2f * b, 0.2f * b);
    OGL_set_color(88, b, b, 0.2f * b);
}

// The weather radar's picture for this frame's panel, map and weather screen:
// rebuilt once a second while it rains and a radar shows it (the aircraft's,
// or the operator's and the weather screen's), and on a flight's first frame.
void radar_picture()
{
    if (sim_weather.rain_percent > 0.0f && (pln[0].acf_has_radar || app_mode == MODE_OPERATOR || app_mode == MODE_WEATHER) &&
        (interval_ticks[INTERVAL_ONE_SECOND] != 0 || sim_time.total_flight_time_sec <= sim_operation_misc.frame_rate_period))
        PANEL_radar_texture();
}

bool master_slot_enabled()
{
    for (int slot = 6; slot <= 9; ++slot)
        if (net_slot_enabled[slot] != 0) return true;
    return false;
}

}  // namespace

void FRAME_reset()
{
    frame_loop = frame_state{};
    // The frame clock's counts with it: a test restarts the loop by this call
    // alone (the registry puts them back with the clock's own reset too).
    std::memset(interval_ticks, 0, sizeof interval_ticks);
    frame_clock = 0.0f;
    flying_frame_count = 0;
    first_frames_fast = 0;
    o_lit_cus_panel = 0;
}
ORVELL_RESET(FRAME_reset, program);

float FRAME_period_ratio(float elapsed, float period)
{
    // A period of 0 or a clock that did not move would give a ratio that is not
    // a number, and the period would stay so for good, stopping the simulation;
    // such a ratio is taken as the lower limit.
    float ratio = period > 0.0f ? elapsed / (10.0f * period) : FRAME_RATIO_MAX;
    if (!(ratio >= FRAME_RATIO_MIN)) ratio = FRAME_RATIO_MIN;
    else if (ratio > FRAME_RATIO_MAX) ratio = FRAME_RATIO_MAX;
    return ratio;
}

float FRAME_next_period(float period, float ratio)
{
    float next = period * std::pow(ratio, 0.25f);
    if (!(next >= FRAME_PERIOD_MIN)) next = FRAME_PERIOD_MIN;
    else if (next > FRAME_PERIOD_MAX) next = FRAME_PERIOD_MAX;
    return next;
}

int FRAME_rows_hidden_by_panel(bool picture_view, bool panel_view)
{
    if (!picture_view || sim_graphics_settings.transparent_panel != 0 || background_cover_rows < 2) return 0;
    // The plug-ins' hook may leave the picture out: the scene is cut only while
    // they let it be drawn (a hook that starts leaving it out shows the rows
    // under the panel one frame late).
    if (plugin_host.entries.drawing != nullptr && !frame_loop.plugins_kept_background) return 0;
    if (sim_graphics_view.number_elumens_projections != 0 || screen.ui_side_margin > 0.0f) return 0;
    // The background's projection as the frame sets it below: interface y
    // from b at the window's bottom edge to t at its top edge.
    const float kept = screen.ui_zoom;
    screen.ui_zoom = panel_view ? screen.ui_zoom_smooth : 0.0f;
    const float b = MACIBM_window_to_ui_y(0.0f);
    const float t = MACIBM_window_to_ui_y(768.0f + screen.ui_top_margin);
    screen.ui_zoom = kept;
    const float H = static_cast<float>(screen.window_height);
    if (!(t > b) || !(H > 0.0f)) return 0;
    // Window row j's centre lies at b + (j + 0.5) (t - b) / H; it is hidden
    // when that lies a row inside the opaque rows, so the filtered picture
    // there is opaque and replaces what the scene drew.
    const float last = static_cast<float>(background_cover_rows - 1);
    const float j = (last - b) / (t - b) * H - 0.5f;
    if (!(j >= 0.0f)) return 0;
    return std::min(static_cast<int>(std::floor(j)) + 1, screen.window_height);
}

void MACIBM_do_frame()
{
    advance_clock();
    mark("init");

    enter_pressed = 0;
    escape_pressed = 0;
    mouse.mouse_down = 0;
    mouse.mouse_released = 0;
    key_pressed = 0;

    // The intro picture gives way to the flying view without a mode switch.
    // Its background (the panel picture) is put in place here: the first
    // paint message would do it, but a window already painted while the
    // start-up waited (the language box of a first start) gets none, and the
    // flying view would then show no panel picture.
    if (app_mode == MODE_INTRO) {
        app_mode = MODE_FLYING;
        MACIBM_load_background();
    }

    // Menu-bar tracking: moving along the bar with a menu open opens the menu under the pointer.
    if (screen.open_menu >= 0) {
        for (int m = 0; m < MENU_COUNT; ++m) {
            const menu_record& menu = menu_table[m];
            if (menu.parent != -1 || m == screen.open_menu) continue;
            if (menu.left <= mouse.mouse_x && mouse.mouse_x <= menu.right && menu.bottom <= mouse.mouse_y &&
                mouse.mouse_y <= menu.top) {
                MACIBM_handleclick(0);
            }
        }
    }

    // Looping sounds follow the wish only when it changes.
    const int32_t want =
        (sim_operation_sound.sound_on != 0 && sim_time.paused == 0 && app_mode == MODE_FLYING) ? 1 : 0;
    if (!frame_loop.sound_remembered) {
        frame_loop.sound_remembered = true;
        frame_loop.sound_wanted = want;
    } else if (want != frame_loop.sound_wanted) {
        frame_loop.sound_wanted = want;
        SOUND_start_stop_loops(want);
    }
    mark("click");

    MACIBM_pump_messages();
    mark("event");

    // The rendering settings screen shows the clouds too.
    if (app_mode == MODE_FLYING || app_mode == MODE_RENDERING) CLOUD_update_draw();
    mark("clouds");

    NET_receive();
    // What plug-ins' own threads asked of the program since the last frame.
    PLUGIN_run_queued_calls();

    // Nothing is drawn and nothing moves before the window was painted once;
    // the frame still takes its time, so waiting for the paint does not spin.
    if (window_painted == 0) {
        PLAT_pace_frame();
        return;
    }

    estimate_frame_period();
    pointer_idle();
    mouse.hover_text[0] = 0;
    if (mouse.mouse_held) mouse.mouse_panel_drag = frame_clock - mouse_press_time > 0.5f ? 1 : 0;
    blink_colours();
    mark("time");

    if (!MODE_is_modal(app_mode)) {
        if (app_mode == MODE_FLYING || app_mode == MODE_START_SCREEN) WORLD_load_textures();
        radar_picture();

        const int32_t view = sim_graphics_view.view_type;
        const bool flying = app_mode == MODE_FLYING;
        const bool picture_view = flying && VIEW_has_panel_picture(view);
        const bool panel_view = flying && VIEW_is_panel_view(view);
        mark("willmes");

        if (master_slot_enabled()) {
            MACIBM_pump_messages(true);
            NET_receive();
        }
        mark("didmes");

        const bool lights_on = sim_cockpit_electrical.cockpit_lights_on != 0;
        int hidden = 0;   // the window rows the scene left to the panel picture
        if (flying) {
            // The scene is drawn only where the panel picture will not cover it,
            // to save its cost; the finished picture is the same, as the opaque
            // rows of the picture drawn next cover those rows anyway.
            hidden = FRAME_rows_hidden_by_panel(picture_view, panel_view);
            if (hidden > 0) {
                // The rows under the panel keep the far depth, not an older
                // frame's, for whatever draws there with a depth test after
                // the scene; the scene's own rows get theirs from the sky
                // backdrop. One clear of the whole buffer is a plain fill,
                // where a clear of some rows is drawn pixel by pixel.
                GLboolean depth_writes = GL_TRUE;
                glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
                glDepthMask(GL_TRUE);
                glClear(GL_DEPTH_BUFFER_BIT);
                glDepthMask(depth_writes);
                glEnable(GL_SCISSOR_TEST);
                glScissor(0, hidden, screen.window_width, std::max(screen.window_height - hidden, 0));
            }
            // The count comes from the preferences file unchecked: a damaged value
            // would draw the scene thousands of times a frame and stall the
            // program. The display takes at most four, as its settings screen allows.
            int projections = sim_graphics_view.number_elumens_projections;
            if (projections < 1) projections = 1;
            if (projections > MAX_PROJECTIONS) projections = MAX_PROJECTIONS;
            if (!frame_loop.seen) projections = 0;
            for (int p = 0; p < projections; ++p) {
                PLUGIN_call_draw_hook(DRAW_PHASE_SCENE_BEFORE);
                SCENE_draw_3d();
                PLUGIN_call_draw_hook(DRAW_PHASE_SCENE_AFTER);
            }
            if (hidden > 0) glDisable(GL_SCISSOR_TEST);
            mark("scene3d");
            const int32_t n_lit_cus_panel = (lights_on && screen_settings.lit_cus_panel_option != 0) ? 1 : 0;
            if (n_lit_cus_panel != o_lit_cus_panel) APPLICATION_set_mode(MODE_FLYING, "from n_lit_cus_panel!=o_lit_cus_panel");
            o_lit_cus_panel = n_lit_cus_panel;
        }

        // Panel lighting: white light on a lit panel picture, warm light otherwise.
        sim_graphics_misc_block& g = sim_graphics_misc;
        const float c = lights_on ? sim_cockpit_electrical.cockpit_lights : 0.0f;
        const float kept_r = g.cockpit_light_level_r, kept_g = g.cockpit_light_level_g,
                    kept_b = g.cockpit_light_level_b;
        if (panel_view && lights_on && screen_settings.lit_cus_panel_option != 0) {
            g.cockpit_light_level_r = max_f(g.cockpit_light_level_r, c);
            g.cockpit_light_level_g = max_f(g.cockpit_light_level_g, c);
            g.cockpit_light_level_b = max_f(g.cockpit_light_level_b, c);
        } else {
            g.cockpit_light_level_r = max_f(g.cockpit_light_level_r, 0.85f * c);
            g.cockpit_light_level_g = max_f(g.cockpit_light_level_g, 0.25f * c);
            g.cockpit_light_level_b = max_f(g.cockpit_light_level_b, 0.25f * c);
        }

        if (!(flying && scene_followed_weapon >= 0)) {
            const float z = panel_view ? screen.ui_zoom_smooth : 0.0f;
            screen.ui_zoom = z;
            const float kept_x = mouse.mouse_x, kept_y = mouse.mouse_y;
            mouse.mouse_x = MACIBM_window_to_ui_x(kept_x);
            mouse.mouse_y = MACIBM_window_to_ui_y(kept_y);
            const float side = screen.ui_side_margin, top = screen.ui_top_margin;
            const float l = MACIBM_window_to_ui_x(-side) + side;
            const float b = MACIBM_window_to_ui_y(0.0f);
            const float r = MACIBM_window_to_ui_x(1024.0f + side) - (1024.0f + side);
            const float t = MACIBM_window_to_ui_y(768.0f + top) - (768.0f + top);
            OGL_set_projection(PROJECTION_2D, l, b, r, t, 0, 0, 0, 0, 0, 0, 0, 1);
            mark("view");

            if (!flying || picture_view) {
                const bool keep = PLUGIN_call_draw_hook(DRAW_PHASE_BACKGROUND_BEFORE) != 0;
                if (keep && (frame_loop.seen || !flying)) OGL_draw_background(hidden);
                if (flying) frame_loop.plugins_kept_background = keep;
                if (!keep && hidden > 0) {
                    // The scene was cut for a picture a plug-in has now left
                    // out: the rows it left are cleared rather than stale.
                    glEnable(GL_SCISSOR_TEST);
                    glScissor(0, 0, screen.window_width, hidden);
                    glClear(GL_COLOR_BUFFER_BIT);
                    glDisable(GL_SCISSOR_TEST);
                }
                PLUGIN_call_draw_hook(DRAW_PHASE_BACKGROUND_AFTER);
            }
            mark("backg");

            if (panel_view) {
                if (PLUGIN_call_draw_hook(DRAW_PHASE_PANEL_BEFORE) != 0) PANEL_update();
                PLUGIN_call_draw_hook(DRAW_PHASE_PANEL_AFTER);
            }

            mouse.mouse_x = kept_x;
            mouse.mouse_y = kept_y;
            OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
            mark("panel");

            if (flying) {
                if (PLUGIN_call_draw_hook(DRAW_PHASE_OVERLAY_BEFORE) != 0) SCENE_draw_overlay();
                PLUGIN_call_draw_hook(DRAW_PHASE_OVERLAY_AFTER);
            }

            const float k = 4.0f * sim_operation_misc.frame_rate_period;
            screen.ui_zoom_smooth = (1.0f - k) * screen.ui_zoom_smooth + k * (screen.ui_zoom_on != 0 ? 1.0f : 0.0f);
        }
        mark("scene2");

        g.cockpit_light_level_r = max_f(kept_r, 0.75f);
        g.cockpit_light_level_g = max_f(kept_g, 0.75f);
        g.cockpit_light_level_b = max_f(kept_b, 0.75f);
        mark("backg");

        update_plane_cycle();
    }
    mark("appup");

    draw_menus();
    mark("menus");

    if (frame_loop.seen || app_mode != MODE_FLYING) OGL_swap_buffers();
    if (app_mode == MODE_FLYING) STARTUP_clock_flying_frame();
    // The platform's frame pacing (off unless the program entry turns it on)
    // holds the frame to the display's refresh, as a swap that waits for the
    // display does; the loop itself never waits for a message.
    PLAT_pace_frame();
    mark("sbuff");

    if (movie_recording != 0) MOVIE_add_frame();
    mark("end", 1);
}
