// The simulation defaults.
#include "shell/defaults.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_step.h"
#include "links/movie.h"
#include "links/net_slots.h"
#include "links/serial_calibration.h"
#include "links/sound.h"
#include "scene/lights_model.h"
#include "scene/sky/star_field.h"
#include "core/alert.h"
#include "shell/commands.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "shell/keys.h"
#include "shell/lang.h"
#include "core/random.h"
#include "core/simvars.h"
#include "world/sky_colors.h"


namespace {

constexpr int CHATTER_TRIES = 101;          // the 102nd try for one slot gives up
// The fleet's aircraft that fly in the special situations.
constexpr const char* SITUATION_ORBITER_PATH = "AIRCRAFT:SPACE SHIPS:ORVELL ORBITER:ORVELL ORBITER.ACF";
constexpr const char* SITUATION_TOW_PLANE_PATH = "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF";
constexpr const char* SITUATION_TANKER_PATH = "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF";

float rand_fraction() { return static_cast<float>(UTIL_rand()) / 32767.0f; }

void open_sound()
{
    sim_operation_sound.has_sound = SOUND_init_dsound();
    if (!sim_operation_sound.has_sound)
        MACIBM_nuke_alert(0, "The sound output could not be started.", "The simulator needs a sound output",
                          "(or none at all) to run.", "Check the computer's sound settings.", ALERT_FATAL);
    sim_operation_sound.has_speech_synth = SOUND_init_speech();
}

void fill_radio_chatter()
{
    UTIL_strcpy(static_cast<const char*>(folder_table[FOLDER_RADIO_CHATTER]), file_list_folder);
    const int count = FILE_list_directory(KIND_SOUND);
    if (count <= 0) {
        MACIBM_nuke_alert(0, "No radio chatter recordings were found", "in the folder", folder_table[FOLDER_RADIO_CHATTER],
                          "", ALERT_FATAL);
        return;
    }
    for (int slot = SOUND_FIRST_CHATTER_SLOT; slot < SOUND_SLOTS; ++slot) {
        for (int tries = 1;; ++tries) {
            if (tries > CHATTER_TRIES) {
                MACIBM_nuke_alert(0, "The radio chatter folder holds no recordings, only folders:",
                                  folder_table[FOLDER_SOUNDS], "Put WAV recordings into its RADIO CHATTER folder",
                                  "and start again.", ALERT_FATAL);
                return;
            }
            const int k = UTIL_rand() * count / 32768;
            // A count above the listing's room would give an index past the
            // name table; such a draw counts as a try and is drawn again.
            if (k < 0 || k >= count || k >= FILE_LIST_MAX) continue;
            if (file_list_kinds[k] != KIND_FOLDER) {
                SOUND_load_wav(slot, file_list_names[k]);
                break;
            }
        }
    }
}

void user_aircraft_and_airport()
{
    acf_struct& a = pln[0];
    UTIL_strcat3(program_folder, default_aircraft_path, a.acf_file_path);
    UTIL_strcpy(static_cast<const char*>(default_aircraft_name), a.acf_file_name);
    std::memcpy(start_selection.airport_id, default_start_airport, 4);
    start_selection.airport_id[4] = 0;
}

void situation_paths()
{
    // The situations' aircraft are this program's own fleet: the aircraft the
    // situations were first made for are another program's data, which this
    // one cannot use. The orbiter flies the approaches from orbit; the trainer
    // stands in for the light second aircraft, and the airliner for the tanker
    // and the carrier plane.
    const char* const relative[SITUATION_ACF_PATHS] = {
        SITUATION_ORBITER_PATH,
        SITUATION_TOW_PLANE_PATH,
        SITUATION_TANKER_PATH,
        SITUATION_TANKER_PATH,
        SITUATION_TANKER_PATH,
    };
    for (int i = 0; i < SITUATION_ACF_PATHS; ++i)
        UTIL_strcat3(program_folder, relative[i], screen_settings.situation_acf_paths[i]);
    const float values[2][3] = {{400.0f, 25000.0f, 0.0f}, {500.0f, 45000.0f, 0.0f}};
    std::memcpy(screen_settings.situation_start_values, values, sizeof values);
}

void weather_defaults()
{
    sim_weather_block& w = sim_weather;
    w.temperature_sealevel_c = -5.0f;
    w.rain_percent = 1.0f;
    w.thunderstorm_percent = 0.0f;
    w.wind_turbulence_percent = 0.3f;
    w.microburst_probability = 0.0f;
    w.visibility_reported_m = 3.0f * UNIT.nm_to_mtrs;
    w.cloud_type[1] = 0;
    w.cloud_type[0] = 4;
    w.cloud_base_msl_m[1] = w.cloud_tops_msl_m[1] = 20000.0f * UNIT.ft_to_mtrs;
    w.cloud_base_msl_m[0] = 5000.0f * UNIT.ft_to_mtrs;
    w.cloud_tops_msl_m[0] = 8000.0f * UNIT.ft_to_mtrs;
    w.wind_altitude_msl_m[0] = 5000.0f * UNIT.ft_to_mtrs;
    w.wind_altitude_msl_m[1] = 7500.0f * UNIT.ft_to_mtrs;
    w.wind_altitude_msl_m[2] = 25000.0f * UNIT.ft_to_mtrs;
    sim_time.zulu_time_sec = 9000.0f;
    sim_time.local_time_sec = 66600.0f;
    sim_time.local_date_days = 90;
    for (int i = 0; i < WIND_LAYERS; ++i) {
        w.wind_direction_degt[i] = (2.0f * rand_fraction() - 1.0f) * 30.0f + 30.0f;
        w.shear_direction_degt[i] = 10.0f * rand_fraction() + 20.0f;
        w.wind_speed_kt[i] = 6.0f * rand_fraction() + 6.0f;
        w.shear_speed_kt[i] = 2.0f * rand_fraction() + 4.0f;
        w.turbulence[i] = rand_fraction() + 1.0f;
    }
    w.wave_amplitude = 1.0f;
    w.wave_length = w.wave_amplitude * 12.0f;
    w.wave_speed = std::sqrt(w.wave_length * (1.0f / UNIT.ft_to_mtrs)) * 1.34f * UNIT_KTS_TO_MPS_SHORT;
    w.wave_dir = 0;
    w.meteorite_density = 2;
    w.runway_friction = 0;
    sim_graphics_view.visibility_framerate_ratio = 1.0f;
    w.thermal_rate_ms = 500.0f;
    w.thermal_altitude_msl_m = 10000.0f;
    weather_seed = UTIL_rand() * 1001 / 32768;
    sim_operation_prefs_realweather.check_real_weather_time_sec = 300.0f;
    sim_operation_prefs_realweather.real_weather_max_vis_nm = 15.0f;
}

void operation_defaults()
{
    screen_settings.radio_chatter_on = 1;
    sim_operation_prefs.text_out = 1;
    sim_operation_prefs.warn_bb = 1;
    sim_graphics_settings_block& g = sim_graphics_settings;
    g.dim_gload = 1;
    // Lights drawn as textured sprites: as single points, the runway and
    // approach lights lying on the ground are hidden by it on a short final
    // and at the threshold, where the ground seen at a grazing angle is drawn
    // pulled toward the camera (its polygon offset).
    g.draw_textured_lites = 1;
    g.draw_obstacles = 1;
    g.draw_aircrafts = 5;
    g.draw_forestfires = g.draw_oilrigs = g.draw_ships = 1;
    sim_operation_prefs.auto_coordinate_helos = 1;
    sim_cockpit_switches.EFIS_map_range_selector = 2;
    sim_cockpit_electrical.HUD_brightness = 0.75f;
    situation_altitude = 5000.0f * UNIT.ft_to_mtrs;
    situation_speed = 200.0f * UNIT_KTS_TO_MPS_SHORT;
    control_authority = 1.0f;
    g.autogen_level = 2;
    g.autogen_distance = 6;
    sim_network_dataout.network_data_rate = 20.0f;
    sim_operation_prefs.startup_running = 1;
    sim_operation_prefs.reset_on_crash = 1;
    sim_operation_prefs.warn_nonobvious_stuff = 1;
    sim_operation_prefs.warn_framerate_low = 1;
    screen_settings.scenery_load_switch = 1;

    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_freq_hz = r.nav1_stdby_freq_hz = r.nav2_freq_hz = r.nav2_stdby_freq_hz = r.dme_freq_hz = 11170;
    r.com1_freq_hz = r.com1_stdby_freq_hz = r.com2_freq_hz = r.com2_stdby_freq_hz = 12100;
    r.adf1_freq_hz = r.adf1_stdby_freq_hz = r.adf2_freq_hz = r.adf2_stdby_freq_hz = 210;
    r.transponder_code = 1200;
    sim_cockpit_switches.marker_panel_out = 1;
    sim_cockpit_switches.audio_panel_out = 10;
    sim_cockpit_gps_block& gps = sim_cockpit_gps;
    gps.destination_type = 1;
    gps.destination_index = 1600;
    gps.airport_index = 1600;
    gps.vor_index = 2100;
    gps.ndb_index = 700;
    gps.fix_index = 0;
    sim_cockpit_misc.barometer_setting = 29.92f;
    sim_operation_misc.frame_rate_period = 0.05f;
    screen_settings.systems_period = 0.08f;
    sim_joystick.joystick_pitch_sensitivity = 1.0f;
    sim_joystick.joystick_roll_sensitivity = 1.0f;
    sim_joystick.joystick_heading_sensitivity = 1.0f;
    sim_operation_sound.speech_on = 1;
    sim_operation_sound.sound_on = 1;
    sim_operation_misc.time_ratio = 1.0f;
    screen_settings.map_zoom = 1.0f;
    movie_width = 320;
    movie_height = 240;
    movie_frame_rate = 20.0f;
    screen_settings.sound_volume = 1.0f;   // the master volume (master_volume of the defaults' list)
    UTIL_strcpy("UNTITLED.MOV", movie_file_name);
    UTIL_strcat3(program_folder, "UNTITLED.MOV", movie_file_path);
    screen_settings.preview_zoom = 1.0f;
    sim_graphics_view.field_of_view_deg = 70.0f;
    screen_settings.cloud_scale_a = 1.0f;
    screen_settings.cloud_scale_b = 1.0f;
    screen_settings.cloud_switch = 1;
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "%s", "255.255.255.0");
        std::snprintf(net_port_text[s], NET_PORT_TEXT_SIZE, "%s", "49000");
    }
}

}  // namespace

void DEFAULTS_build_ship_models() { SHIPS_build_model_tables(); }

void SIM_init_defaults()
{
    open_sound();
    DEFAULTS_build_stars();
    DEFAULTS_build_ship_models();
    LIGHTS_build_model();
    KEY_read_table();
    WEATHER_load_sky_colors("skycolors.bmp");
    fill_radio_chatter();
    user_aircraft_and_airport();
    for (float& v : serial_axis_lo) v = 9999.9f;
    for (float& v : serial_axis_hi) v = -9999.9f;
    situation_paths();
    PLANET_set_constants(PLANET_EARTH);
    weather_defaults();
    operation_defaults();

    // The table has a row for each of the two planets; any other value would
    // read past it, so it counts as Earth.
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    flt[0].i = grid_rows[planet] / 2;
    flt[0].j = grid_cols[planet] / 2;
    sim_operation_failures.mean_time_between_failure_hrs = 250.0f;
    for (float& v : sim_joystick.joystick_axis_minimum) v = 9.9e9f;
    for (float& v : sim_joystick.joystick_axis_maximum) v = -9.9e9f;
}

void SIM_orbiter_for_stand_in()
{
    char stand_in[TEXT_SIZE];
    UTIL_strcat3(program_folder, default_aircraft_path, stand_in);
    char* path = screen_settings.situation_acf_paths[0];
    // (An empty path names no aircraft, the stand-in or another.)
    if (default_aircraft_path[0] && std::strncmp(path, stand_in, TEXT_SIZE) == 0)
        UTIL_strcat3(program_folder, SITUATION_ORBITER_PATH, path);
}
