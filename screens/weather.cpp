// Screen 8: the weather in three tabs (weather, sea waves, meteorites), with
// wind layers, thermals, real weather, the runway condition, the storm radar,
// a new storm pattern and random weather.
//
// Reads and writes sim_weather, sim_operation_prefs_realweather,
// screen_settings.runway_friction_extent, weather_seed and the storm grid;
// reads the user's plane's local position, the scenery area and the planet.
#include <algorithm>
#include <cmath>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/hooks.h"
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
#include "panel/panel.h"
#include "screens/map.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

weather_screen_state weather_screen;

ORVELL_RESET_RECORD(SETUP_weather_reset, weather_screen, program);

namespace {

constexpr int STYLE_GROUP = 13;
constexpr int STYLE_BOX = 15;

// A value text of an integer.
void int_text(float v, char* out) { UTIL_int_to_text(SCREEN_int(v), out, 1); }

void waves_tab()
{
    BTN_frame1(9, 144.0f, 168.0f, 44.0f);
    BTN_frame1(9, 144.0f, 118.0f, 44.0f);
    SCREEN_text(54.0f, 165.0f, 4);
    SCREEN_text(60.0f, 115.0f, 5);
    float amplitude_ft = sim_weather.wave_amplitude / UNIT.ft_to_mtrs;
    BTN_digit_field(130.0f, 215.0f, &amplitude_ft, 3, 1, 0.0f, 20.0f, LANG_ui_text(187));
    sim_weather.wave_amplitude = amplitude_ft * UNIT.ft_to_mtrs;
    sim_weather.wave_length = sim_weather.wave_amplitude * 12.0f;
    const float length_ft = sim_weather.wave_length / UNIT.ft_to_mtrs;
    const float speed_kt = 1.34f * std::sqrt(length_ft);
    sim_weather.wave_speed = speed_kt * UNIT.kts_to_mps;
    OGL_draw_string_fmt(46, 132.0f, 165.0f, length_ft, 3, 0, 0, 104);
    OGL_draw_string_fmt(46, 132.0f, 115.0f, speed_kt, 3, 0, 0, 104);
    float dir = static_cast<float>(sim_weather.wave_dir);
    BTN_digit_field(130.0f, 65.0f, &dir, 3, 0, 0.0f, 360.0f, LANG_ui_text(188));
    sim_weather.wave_dir = static_cast<int>(dir);
}

void random_weather()
{
    auto r = [] { return static_cast<float>(UTIL_rand()) / 32767.0f; };
    const float a = r();
    const float s = a * a;
    const float b = 0.99f * r() + 0.01f;
    const float c = 2.0f * r() - 1.0f;
    sim_weather.rate_change_percent = c >= 0.0f ? c * c : -c * c;
    sim_weather.rain_percent = (r() + 0.5f) * b;
    sim_weather.thunderstorm_percent = (r() + 0.5f) * b;
    sim_weather.microburst_probability = (r() + 0.5f) * s;
    sim_weather.wind_turbulence_percent = (r() + 0.5f) * s;
    ATMO_turbulence(1.0f);

    // The reference height of the lowest random cloud is the loaded area's
    // lowest ground, so no random cloud base lies under the terrain.
    const float ground = std::isfinite(terrain_elevation_low) ? terrain_elevation_low : 0.0f;
    const float lo = std::min(ground + 15.2f, 9144.0f), hi = std::max(ground + 15.2f, 9144.0f);
    float* heights[4] = {&sim_weather.cloud_base_msl_m[0], &sim_weather.cloud_tops_msl_m[0],
                         &sim_weather.cloud_base_msl_m[1], &sim_weather.cloud_tops_msl_m[1]};
    const float offsets[4] = {0.5f, 0.75f, 1.0f, 1.25f};
    for (int k = 0; k < 4; ++k) {
        const float kk = 0.25f * r() + offsets[k];
        *heights[k] = std::clamp(lo + (hi - lo) * (1.0f - b * kk), lo, hi);
    }
    for (int i = 0; i < CLOUD_LAYERS; ++i)
        sim_weather.cloud_type[i] = static_cast<int>(std::clamp(4.0f * b * (0.5f + 1.5f * r()), 0.0f, 4.0f));

    // Visibility from a few hundred metres up to the slider's maximum, in metres.
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const float top = max_visibility_nm[planet] * UNIT.nm_to_mtrs;
    const float k = 0.5f + 1.5f * r();
    sim_weather.visibility_reported_m = std::clamp(185.2f + (top - 185.2f) * (1.0f - b * k), 185.2f, top);

    // Drawn as the Earth's sea-level air, and held to the planet flown's
    // range, as the screen's fields are (Mars' air is a hundredth of it).
    float t_low = 0.0f, t_high = 0.0f, p_low = 0.0f, p_high = 0.0f;
    PLANET_value_bounds(&sim_physics_block::earth_temp_c, planet, t_low, t_high);
    PLANET_value_bounds(&sim_physics_block::earth_pressure_p, planet, p_low, p_high);
    sim_weather.temperature_sealevel_c = std::clamp(40.0f * r() - 10.0f, t_low, t_high);
    sim_physics.earth_pressure_p = std::clamp((0.4f * r() + 29.8f) * UNIT.inhg_to_pa, p_low, p_high);
}

void storm_radar()
{
    const float x1 = 666.0f, y1 = 46.0f, x2 = 982.0f, y2 = 316.0f;
    BTN_frame2(STYLE_BOX, x1, y1, x2 - x1, y2 - y1, LANG_ui_text(347));
    if (sim_weather.rain_percent > 0.0f)
        PANEL_draw_radar_texture(x1 + 5.0f, y1 + 5.0f, x2 - 5.0f, y2 - 5.0f, x1 + 5.0f, y1 + 5.0f, x1 + 5.0f,
                                 y2 - 5.0f, x2 - 5.0f, y2 - 5.0f, x2 - 5.0f, y1 + 5.0f, 1.0f);
    // The user's aircraft on the area's extent (north up: z grows southward).
    const scenery_area_record& a = scenery_area;
    float mx = (x1 + x2) / 2.0f, my = (y1 + y2) / 2.0f;
    if (a.x1 > a.x0)
        mx = std::clamp(x1 + (flt[0].local_x - a.x0) / (a.x1 - a.x0) * (x2 - x1), x1, x2);
    if (a.z1 > a.z0)
        my = std::clamp(y2 - (flt[0].local_z - a.z0) / (a.z1 - a.z0) * (y2 - y1), y1, y2);
    MAP_draw_object(mx, my, 49, 0, 99, 0);
}

void weather_tab()
{
    const float w = screen.screen_area_width;
    SCREEN_place_box(34.0f, STYLE_GROUP, 346.0f, 10.0f, 300.0f, -1.0f, "");
    float scratch = 0.0f;
    const float right_x = frame_next_x;
    BTN_place_frame(34.0f, STYLE_GROUP, right_x, 10.0f, -1.0f, 316.0f, "", &scratch, &frame_next_y);
    BTN_place_frame(34.0f, STYLE_GROUP, right_x, frame_next_y, -1.0f, 150.0f, "", &scratch, &frame_next_y);
    BTN_place_frame(34.0f, STYLE_GROUP, right_x, frame_next_y, -1.0f, 56.0f, "", &scratch, &frame_next_y);
    BTN_place_frame(34.0f, STYLE_GROUP, right_x, frame_next_y, -1.0f, -1.0f, "", &scratch, &frame_next_y);

    SETUP_date_weather_airport(MODE_WEATHER);
    sim_weather.real_weather_request = 0;

    BTN_check_box(698.0f, 461.0f, &sim_weather.use_real_weather_bool, LANG_ui_text(96), 0);
    BTN_digit_field(792.0f, 451.0f, &sim_operation_prefs_realweather.check_real_weather_time_sec, 3, 0, 60.0f, 900.0f,
                    LANG_ui_text(97));
    BTN_digit_field(922.0f, 451.0f, &sim_operation_prefs_realweather.real_weather_max_vis_nm, 2, 0, 5.0f, 25.0f,
                    LANG_ui_text(98));
    BTN_frame2(STYLE_BOX, 666.0f, 345.0f, 316.0f, 80.0f, "");
    SCREEN_text(686.0f, 410.0f, sim_weather.has_real_weather_bool ? 99 : 100);

    // Wind layer heights in feet, each at least 1000 feet above the one below.
    float h[WIND_LAYERS];
    for (int i = 0; i < WIND_LAYERS; ++i)
        h[i] = sim_weather.wind_altitude_msl_m[i] / UNIT.ft_to_mtrs;
    BTN_digit_field_auto(490.0f, 675.0f, &h[2], 5, 0, 0, LANG_ui_text(172));
    BTN_digit_field_auto(490.0f, 625.0f, &h[1], 5, 0, 0, LANG_ui_text(173));
    BTN_digit_field_auto(490.0f, 575.0f, &h[0], 5, 0, 0, LANG_ui_text(174));
    if (h[0] < 1000.0f) h[0] = 1000.0f;
    if (h[1] < h[0] + 1000.0f) h[1] = h[0] + 1000.0f;
    if (h[2] < h[1] + 1000.0f) h[2] = h[1] + 1000.0f;
    for (int i = 0; i < WIND_LAYERS; ++i) sim_weather.wind_altitude_msl_m[i] = h[i] * UNIT.ft_to_mtrs;

    for (int i = 0; i < WIND_LAYERS; ++i) {
        float* values[5] = {&sim_weather.wind_speed_kt[i], &sim_weather.wind_direction_degt[i],
                            &sim_weather.shear_speed_kt[i], &sim_weather.shear_direction_degt[i],
                            &sim_weather.turbulence[i]};
        const float highs[5] = {100.0f, 360.0f, 50.0f, 180.0f, 9.0f};
        for (int q = 0; q < 5; ++q) {
            char text[TEXT_SIZE];
            int_text(*values[q], text);
            // The rows start at y 470, below the three height fields: from 582
            // up, the first and second quantities' sliders (x 432..608 with
            // their knobs) would cross the height fields at x 490 (y 560..697
            // with their arrows), so neither could be read or clicked.
            const float y = 470.0f + 30.0f * static_cast<float>(i) - 104.0f * static_cast<float>(q);
            BTN_slider(442.0f, y, 6 + i, 0.0f, highs[q], values[q], 1, i == 1 ? LANG_ui_text(175 + q) : "", text);
        }
    }

    BTN_digit_field_auto(770.0f, 675.0f, &sim_weather.thermal_altitude_msl_m, 5, 0, 0, LANG_ui_text(180));
    char text[TEXT_SIZE];
    int_text(sim_weather.thermal_percent * 100.0f, text);
    BTN_slider(770.0f, 632.0f, 0, 0.0f, 0.5f, &sim_weather.thermal_percent, 1, LANG_ui_text(181), text);
    int_text(sim_weather.thermal_rate_ms, text);
    BTN_slider(770.0f, 592.0f, 0, 0.0f, 1500.0f, &sim_weather.thermal_rate_ms, 1, LANG_ui_text(182), text);

    // The runway condition follows rain across 0.4 and 0.8; a hand-made
    // choice stays while rain crosses neither.
    float& last = weather_screen.last_rain;
    if (!weather_screen.last_rain_set) {
        last = sim_weather.rain_percent;
        weather_screen.last_rain_set = 1;
    }
    const float rain = sim_weather.rain_percent;
    int& friction = sim_weather.runway_friction;
    if (rain >= 0.4f && last <= 0.4f) friction = std::max(friction, 1);
    if (rain >= 0.8f && last <= 0.8f) friction = std::max(friction, 2);
    if (rain <= 0.8f && last >= 0.8f) friction = std::min(friction, 1);
    if (rain <= 0.4f && last >= 0.4f) friction = 0;
    last = rain;

    char label[TEXT_SIZE];
    SCREEN_help_label(LANG_ui_text(186), label, TEXT_SIZE);
    BTN_text_list(800.0f, 520.0f, &friction, LANG_ui_text(sim_weather.temperature_sealevel_c > 0.0f ? 184 : 185), label);
    if (friction != 0) {
        SCREEN_help_label(LANG_ui_text(183), label, TEXT_SIZE);
        BTN_text_list(885.0f, 520.0f, &screen_settings.runway_friction_extent, LANG_ui_text(525), label);
    }

    storm_radar();

    if (BTN_push_button(824.0f, 28.0f, 0, 1, LANG_ui_text(348))) {
        // The storm seed (storm_seed) is the program's weather_seed, which
        // the storm grid reads.
        weather_seed = UTIL_rand() * 1001 / 32768;
        const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
        for (int bx = 0; bx < row_blocks[planet]; ++bx)
            for (int bz = 0; bz < col_blocks[planet]; ++bz) ATMO_storm_grid_tile(bx, bz);
    }
    if (BTN_push_button(w * 0.5f, 28.0f, 0, 1, LANG_ui_text(349))) {
        random_weather();
        CORE_set_mode(MODE_FLYING, "from randomize weather");
    }

    if (sim_graphics_scenery.current_planet == PLANET_MARS) {
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
        sim_weather.use_real_weather_bool = 0;
    }
}

}  // namespace

void SETUP_weather()
{
    BTN_screen_frame(1, 1);
    BTN_tab(0, 0, &weather_screen.weather_tab, LANG_ui_text(397));
    BTN_tab(1, 0, &weather_screen.weather_tab, LANG_ui_text(398));
    BTN_tab(2, 0, &weather_screen.weather_tab, LANG_ui_text(526));
    switch (weather_screen.weather_tab) {
    case 0: weather_tab(); break;
    case 1: waves_tab(); break;
    case 2: {
        char label[TEXT_SIZE];
        SCREEN_help_label(LANG_ui_text(171), label, TEXT_SIZE);
        BTN_text_list(90.0f, 64.0f, &sim_weather.meteorite_density, LANG_ui_text(170), label);
        break;
    }
    default: weather_screen.weather_tab = 0; break;
    }
}
