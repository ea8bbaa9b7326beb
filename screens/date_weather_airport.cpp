// The date, time, weather and airport body shared by screens 2, 8, 9 and 13,
// and the thin routines of screens 2, 9 and 13.
//
// Reads and writes: sim_time (local and zulu time, day of the year, system
// time flag), sim_weather (cloud layers, visibility, rain, storms, turbulence,
// microbursts, rate of change, sea-level temperature), sim_physics'
// sea-level pressure, screen_settings (time-zone correction, units, start
// screen flag), start_selection.airport_index (the airport chosen). Reads the
// user's aircraft's longitude, the airport table and the frame clock.
#include <cmath>
#include <cstring>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/planet_values.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "scene/aircraft/acf_draw.h"
#include "screens/map.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"
#include "screens/weather_text.h"
#include "world/navdb.h"

namespace {

constexpr int STYLE_GROUP = 13;
constexpr int STYLE_BOX = 15;
constexpr int INNER_NONE = 18;
constexpr int READOUT_STYLE = 9;
constexpr float DAY_SEC = 86400.0f;

// A value from the shared records as a float the widgets can edit: a value
// that is not a number is shown as 0.
float shown(float v) { return std::isfinite(v) ? v : 0.0f; }

void date_and_time(int id)
{
    const bool date_row = id == MODE_DATE_TIME;
    const float x0 = date_row ? 0.0f : 370.0f;
    const float y0 = date_row ? 0.0f : -120.0f;

    // Working numbers, cut toward zero; values from outside that are not
    // times show as 0.
    const int local_sec = SCREEN_int(sim_time.local_time_sec);
    const int zulu_sec = SCREEN_int(sim_time.zulu_time_sec);
    const int hl = local_sec / 3600, hz = zulu_sec / 3600;
    const int local_hhmm = hl * 100 + (local_sec / 60 - hl * 60);
    const int zulu_hhmm = hz * 100 + (zulu_sec / 60 - hz * 60);
    // A day outside 0..359 (set from outside) would pick a month caption past
    // the thirteen entries; it shows as day 0.
    int days = sim_time.local_date_days;
    if (days < 0 || days > 359) days = 0;
    const int month = days / 30;
    const int day_of_month = days - 30 * month + 1;
    float day_copy = static_cast<float>(days);

    BTN_slider(x0 + 36.0f, y0 + 200.0f, 9, 0.0f, DAY_SEC, &sim_time.local_time_sec, 1, "", "");
    if (date_row) BTN_slider(x0 + 36.0f, y0 + 80.0f, 9, 0.0f, 359.0f, &day_copy, 1, "", "");

    for (int k = 0; k <= 24; k += 2) {
        char digits[TEXT_SIZE];
        UTIL_int_to_text(k * 100, digits, 4);
        SCREEN_string(x0 + 286.0f - 15.0f + static_cast<float>(k - 12) * 500.0f / 24.0f, y0 + 188.0f, digits);
    }
    if (date_row)
        for (int k = 0; k <= 12; ++k)
            SCREEN_text(x0 + 286.0f - 10.0f + static_cast<float>(k - 6) * 500.0f / 12.0f, y0 + 68.0f, 710 + k);

    BTN_frame1(READOUT_STYLE, x0 + 105.0f, y0 + 158.0f, 150.0f);
    if (date_row) BTN_frame1(READOUT_STYLE, x0 + 105.0f, y0 + 38.0f, 150.0f);

    screen_settings.zone_offset_hours = shown(screen_settings.zone_offset_hours);
    BTN_digit_field(x0 + 330.0f, y0 + 155.0f, &screen_settings.zone_offset_hours, 2, 0, -24.0f, 24.0f,
                    LANG_ui_text(629));
    BTN_check_box(x0 + 430.0f, y0 + 155.0f, &sim_time.use_system_time, LANG_ui_text(95), 0);
    if (date_row) BTN_check_box(x0 + 430.0f, y0 + 35.0f, &sim_time.use_system_time, LANG_ui_text(169), 0);

    char text[TEXT_SIZE];
    SCREEN_format(215, format_args::one_int, text, local_hhmm);
    SCREEN_string(x0 + 40.0f, y0 + 155.0f, text);
    SCREEN_format(216, format_args::one_int, text, zulu_hhmm);
    SCREEN_string(x0 + 120.0f, y0 + 155.0f, text);
    if (date_row) {
        UTIL_strcpy(LANG_ui_text(710 + month), text);
        char number[TEXT_SIZE];
        UTIL_int_to_text(day_of_month, number, 1);
        UTIL_strcat(text, number);
        SCREEN_string(x0 + 40.0f, y0 + 35.0f, text);
        sim_time.local_date_days = static_cast<int>(day_copy);
    }

    sim_time.zulu_time_sec = SETUP_zulu_time(sim_time.local_time_sec, screen_settings.zone_offset_hours,
                                             flt[0].longitude);
}

void weather_body()
{
    const airport_record* apt = APT_table_at(start_selection.airport_index);
    const float elevation_ft = apt ? shown(apt->elevation) * UNIT.mtrs_to_ft : 0.0f;

    for (int i = 0; i < CLOUD_LAYERS; ++i) {
        const float row = 550.0f + 110.0f * static_cast<float>(i);
        const float base_row = 500.0f + 110.0f * static_cast<float>(i);
        float tops = shown(sim_weather.cloud_tops_msl_m[i]) * UNIT.mtrs_to_ft;
        float base = shown(sim_weather.cloud_base_msl_m[i]) * UNIT.mtrs_to_ft;
        float above = base - elevation_ft;
        const int type = sim_weather.cloud_type[i];
        const float thickness = type == 1 ? 0.0f : 304.8f * UNIT.mtrs_to_ft;

        if (BTN_digit_field(125.0f, row, &tops, 5, 0, 0.0f, 50000.0f, LANG_ui_text(102))) {
            if (base + thickness > tops || type != 4) base = tops - thickness;
            above = base - elevation_ft;
        }
        if (BTN_digit_field(125.0f, base_row, &base, 5, 0, elevation_ft, 50000.0f, LANG_ui_text(103))) {
            if (tops - thickness < base || type != 4) tops = base + thickness;
            above = base - elevation_ft;
        }
        if (BTN_digit_field(235.0f, base_row, &above, 5, 0, 0.0f, 50000.0f, LANG_ui_text(104))) {
            base = above + elevation_ft;
            if (tops - thickness < base || type != 4) tops = base + thickness;
        }
        BTN_text_list(262.0f, row, &sim_weather.cloud_type[i], LANG_ui_text(101), "");
        sim_weather.cloud_tops_msl_m[i] = tops * UNIT.ft_to_mtrs;
        sim_weather.cloud_base_msl_m[i] = base * UNIT.ft_to_mtrs;
    }

    // Values shown in the other unit are converted back only when edited: a
    // conversion there and back every frame would walk them away by rounding
    // (the sea-level pressure by almost a pascal a frame in inches of mercury).
    sim_weather.temperature_sealevel_c = shown(sim_weather.temperature_sealevel_c);
    sim_physics.earth_pressure_p = shown(sim_physics.earth_pressure_p);
    // Both are held to the range the preferences hold them to on the planet
    // flown (flightmodel/planet_values.h): taken as typed, the flight would
    // run on at once at no pressure or near absolute zero.
    float t_low = 0.0f, t_high = 0.0f, p_low = 0.0f, p_high = 0.0f;
    PLANET_value_bounds(&sim_physics_block::earth_temp_c, sim_graphics_scenery.current_planet, t_low, t_high);
    PLANET_value_bounds(&sim_physics_block::earth_pressure_p, sim_graphics_scenery.current_planet, p_low, p_high);
    if (screen_settings.temperature_unit == 0) {
        float f = shown(sim_weather.temperature_sealevel_c) * 1.8f + 32.0f;
        if (BTN_digit_field(160.0f, 400.0f, &f, 3, 0, t_low * 1.8f + 32.0f, t_high * 1.8f + 32.0f, LANG_ui_text(105)))
            sim_weather.temperature_sealevel_c = (f - 32.0f) / 1.8f;
    } else {
        sim_weather.temperature_sealevel_c = shown(sim_weather.temperature_sealevel_c);
        BTN_digit_field(160.0f, 400.0f, &sim_weather.temperature_sealevel_c, 3, 0, t_low, t_high, LANG_ui_text(106));
    }
    if (screen_settings.pressure_units_metric == 0) {
        float p = shown(sim_physics.earth_pressure_p) * UNIT_PA_TO_INHG_SHORT;
        if (BTN_digit_field(150.0f, 350.0f, &p, 4, 2, p_low * UNIT_PA_TO_INHG_SHORT, p_high * UNIT_PA_TO_INHG_SHORT,
                            LANG_ui_text(107)))
            sim_physics.earth_pressure_p = p * UNIT.inhg_to_pa;
    } else {
        float p = shown(sim_physics.earth_pressure_p) * 0.01f;
        if (BTN_digit_field(150.0f, 350.0f, &p, 4, 0, p_low * 0.01f, p_high * 0.01f, LANG_ui_text(108)))
            sim_physics.earth_pressure_p = p * 100.0f;
    }
    BTN_radio_button(230.0f, 410.0f, &screen_settings.temperature_unit, 0, LANG_ui_text(109));
    BTN_radio_button(230.0f, 390.0f, &screen_settings.temperature_unit, 1, LANG_ui_text(110));
    BTN_radio_button(230.0f, 360.0f, &screen_settings.pressure_units_metric, 0, LANG_ui_text(111));
    BTN_radio_button(230.0f, 340.0f, &screen_settings.pressure_units_metric, 1, LANG_ui_text(112));

    // Rain and thunderstorms need a storm layer.
    if (sim_weather.cloud_type[0] != 4 && sim_weather.cloud_type[1] != 4) {
        sim_weather.thunderstorm_percent = 0.0f;
        sim_weather.rain_percent = 0.0f;
    }

    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    float vis_nm = shown(sim_weather.visibility_reported_m) / UNIT.nm_to_mtrs;
    char text[TEXT_SIZE];
    SETUP_visibility_text(vis_nm, text);
    BTN_slider(135.0f, 290.0f, 0, 0.0f, max_visibility_nm[planet], &vis_nm, 1, LANG_ui_text(240), text);

    SETUP_weather_word(sim_weather.rain_percent, 225, text);
    if (BTN_slider(135.0f, 240.0f, 0, 0.0f, 1.0f, &sim_weather.rain_percent, 1, LANG_ui_text(241), text) &&
        sim_weather.thunderstorm_percent > sim_weather.rain_percent)
        sim_weather.thunderstorm_percent = sim_weather.rain_percent;
    SETUP_weather_word(sim_weather.thunderstorm_percent, 225, text);
    if (BTN_slider(135.0f, 190.0f, 0, 0.0f, 1.0f, &sim_weather.thunderstorm_percent, 1, LANG_ui_text(242), text) &&
        sim_weather.thunderstorm_percent > sim_weather.rain_percent)
        sim_weather.rain_percent = sim_weather.thunderstorm_percent;
    SETUP_weather_word(sim_weather.wind_turbulence_percent, 225, text);
    // The wind layers are drawn anew from the turbulence when it changes. The
    // slider answers every frame its knob is held, moved or not: a knob held
    // still would otherwise redraw the layers each frame and wash out the
    // winds, gusts and shears the user set.
    const float turbulence_before = sim_weather.wind_turbulence_percent;
    if (BTN_slider(135.0f, 140.0f, 0, 0.0f, 1.0f, &sim_weather.wind_turbulence_percent, 1, LANG_ui_text(243), text) &&
        sim_weather.wind_turbulence_percent != turbulence_before)
        ATMO_turbulence(0.5f);
    SETUP_weather_word(sim_weather.microburst_probability, 230, text);
    BTN_slider(135.0f, 90.0f, 0, 0.0f, 1.0f, &sim_weather.microburst_probability, 1, LANG_ui_text(244), text);
    SETUP_change_word(sim_weather.rate_change_percent, text);
    BTN_slider(135.0f, 40.0f, 5, -1.0f, 1.0f, &sim_weather.rate_change_percent, 1, LANG_ui_text(245), text);

    sim_weather.visibility_reported_m = vis_nm * UNIT.nm_to_mtrs;
}

// Returns false when a button left the screen (nothing more is drawn).
bool airport_list(int id)
{
    const float x0 = id == MODE_AIRPORT_LIST ? 0.0f : 336.0f;
    const float y0 = id == MODE_AIRPORT_LIST ? 0.0f : 428.0f;
    const int count = static_cast<int>(airport_table.size());

    if (count > 0) {
        int& current = start_selection.airport_index;
        if (current < 0 || current >= count) current = 0;
        BTN_big_name_list(NAME_LIST_AIRPORTS, x0 + 20.0f, y0 + 180.0f, &current, 0, count - 1, typed_text);
    }
    if (BTN_push_button(x0 + 43.0f, y0 + 28.0f, 0, 1, LANG_ui_text(582))) {
        CORE_set_mode(MODE_FLYING, "cancel airport");
        return false;
    }
    if (BTN_push_button(x0 + 247.0f, y0 + 28.0f, 0, 1, LANG_ui_text(246))) {
        CORE_set_mode(MODE_FLYING, "select airport");
        return false;
    }
    BTN_frame2(STYLE_BOX, x0 + 331.0f, y0 + 10.0f, 290.0f, 290.0f, "");
    if (const airport_record* apt = APT_table_at(start_selection.airport_index)) {
        char name[APT_NAME_SIZE + 1] = {};
        std::memcpy(name, apt->name, APT_NAME_SIZE);
        SCREEN_string(x0 + 341.0f, y0 + 285.0f, name);
        SETUP_draw_airport_diagram(start_selection.airport_index, x0 + 331.0f, y0 + 10.0f, x0 + 621.0f,
                                   y0 + 300.0f);
    }
    return true;
}

void aircraft_preview()
{
    flt_struct& f = flt[0];
    const float saved[6] = {f.local_x, f.local_y, f.local_z, f.theta, f.psi, f.phi};
    sim_graphics_view.view_x = sim_graphics_view.view_y = sim_graphics_view.view_z = 0.0f;
    sim_private_camera.the = sim_private_camera.psi = sim_private_camera.phi = 0.0f;
    f.local_x = f.local_y = f.local_z = 0.0f;
    f.theta = 0.0f;
    const float turn = UTIL_wrap_floor(30.0f * frame_clock, 360.0f);
    f.psi = f.phi = turn;

    BTN_frame2(STYLE_BOX, 667.0f, 166.0f, 957.0f - 667.0f, 428.0f - 166.0f, "");
    ACF_draw_preview(672.0f, 171.0f, 952.0f, 423.0f);

    // The caption on the first line, the author or the description on the
    // next. The text wraps at the box's width: a description of up to 500
    // characters on one line would run far out of the preview box.
    const acf_struct& a = pln[0];
    const bool author = GEO_round(frame_clock * 0.25f) % 2 != 0;
    char line[TEXT_SIZE] = {};
    std::memcpy(line, author ? a.acf_author : a.acf_descrip, ACF_TEXT_SIZE - 1);
    OGL_draw_string(SCREEN_TEXT_COLOUR, 677.0f, 413.0f, LANG_ui_text(author ? 247 : 248), 270.0f, SCREEN_TEXT_FONT);
    OGL_draw_string(SCREEN_TEXT_COLOUR, 677.0f, 403.0f, line, 270.0f, SCREEN_TEXT_FONT);
    SCREEN_string(677.0f, 191.0f, a.acf_file_name);
    char tail[sizeof a.acf_tailnum + 1] = {};
    std::memcpy(tail, a.acf_tailnum, sizeof a.acf_tailnum);
    SCREEN_string(677.0f, 181.0f, tail);

    f.local_x = saved[0], f.local_y = saved[1], f.local_z = saved[2];
    f.theta = saved[3], f.psi = saved[4], f.phi = saved[5];

    if (BTN_push_button(812.0f, 149.0f, 0, 1, LANG_ui_text(249)) &&
        UI_open_file_browser(MODE_BROWSER_OPEN, KIND_AIRCRAFT, pln[0].acf_file_name, pln[0].acf_file_path)) {
        ACF_load_and_setup(0);
        FLIGHT_init_situation(408, 401);
    }
}

}  // namespace

float SETUP_zulu_time(float local_sec, float zone_offset_hours, float longitude_deg)
{
    const float zone = static_cast<float>(GEO_round(shown(longitude_deg) / 15.0f));
    float t = shown(local_sec) + shown(zone_offset_hours) * 3600.0f - zone * 3600.0f;
    if (!std::isfinite(t)) return 0.0f;
    // A time outside the day is brought into it by a remainder, which ends
    // for any value (adding or taking away whole days would not for a huge one).
    if (t < 0.0f || t > DAY_SEC) {
        const float r = std::fmod(t, DAY_SEC);
        if (t > DAY_SEC) t = r == 0.0f ? DAY_SEC : r;
        else t = r < 0.0f ? r + DAY_SEC : 0.0f;
    }
    return t;
}

void SETUP_date_weather_airport(int id)
{
    const bool combined = id == MODE_START_SCREEN;
    if (id == MODE_WEATHER || combined) {
        SCREEN_place_box(0.0f, STYLE_GROUP, 10.0f, 10.0f, 325.0f, 310.0f, "");
        SCREEN_place_box(0.0f, STYLE_GROUP, 10.0f, frame_next_y, 325.0f, 100.0f, "");
        SCREEN_place_box(combined ? 0.0f : 34.0f, STYLE_GROUP, 10.0f, frame_next_y, 325.0f, -1.0f, "");
        if (combined) {
            SCREEN_place_box(0.0f, STYLE_GROUP, frame_next_x, 10.0f, -1.0f, 110.0f, "", true);
            SCREEN_place_box(0.0f, STYLE_GROUP, frame_next_x, frame_next_y, -1.0f, -1.0f, "", true);
            BTN_check_box(447.0f, 270.0f, &screen_settings.show_start_screen, LANG_ui_text(94), 0);
        }
    }
    if (id == MODE_DATE_TIME || combined) date_and_time(id);
    if (id == MODE_WEATHER || combined) weather_body();
    if (id == MODE_AIRPORT_LIST || combined)
        if (!airport_list(id)) return;
    if (combined) aircraft_preview();
}

void SETUP_airport_select()
{
    BTN_screen_frame(1, INNER_NONE);
    SETUP_date_weather_airport(MODE_AIRPORT_LIST);
}

void SETUP_date_time()
{
    BTN_screen_frame(1, INNER_NONE);
    SCREEN_place_box(0.0f, STYLE_GROUP, -1.0f, -1.0f, -1.0f, 110.0f, LANG_ui_text(405));
    SCREEN_place_box(0.0f, STYLE_GROUP, -1.0f, frame_next_y, -1.0f, -1.0f, LANG_ui_text(404));
    SETUP_date_weather_airport(MODE_DATE_TIME);
}

void SETUP_time_weather_airport()
{
    BTN_screen_frame(1, INNER_NONE);
    SETUP_date_weather_airport(MODE_START_SCREEN);
}
