// Preferences, saved situations and movies.
//
// Every kind of file is a fixed sequence of values; reading and writing walk
// the same code (transfer_main_record and its siblings), so the field order is
// written down once. Rows that only the general preferences apply are read and
// dropped when the same record is read as a situation or a movie.

#include "shell/prefs.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "aircraft/situation_start.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/planet_values.h"
#include "links/net_peer_settings.h"
#include "links/net_slots.h"
#include "links/serial_calibration.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "platform/plat_files.h"
#include "shell/defaults.h"

namespace {

constexpr const char* DEFAULT_LOGBOOK_NAME = "ORVELL PILOT.TXT";
constexpr int RESERVED_WORDS = 98;
constexpr int FAILURE_RUN = 175;   // 174 slots and the word that follows them

static_assert(SITUATION_FAILURE_SLOTS == FAILURE_SLOTS);
static_assert(SITUATION_ENGINES == FLT_ENGINES);
static_assert(FAILURE_RUN == FAILURE_SLOTS + 1);

// ---------------------------------------------------------------------------
// Raw 4-byte words, least significant byte first.

void write_word(uint32_t bits)
{
    const char b[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                       static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
    file_out.write(b, 4);
}

// False when the four bytes are not all there.
bool read_word(uint32_t& bits)
{
    std::istream& in = FILE_current_stream();
    unsigned char b[4];
    in.read(reinterpret_cast<char*>(b), 4);
    if (in.gcount() != 4) return false;
    bits = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
           static_cast<uint32_t>(b[3]) << 24;
    return true;
}

bool reading_binary() { return FILE_current_slot().binary != 0; }

// Stored floats read since the file was opened that were no number, and so
// not applied (each keeps the value it had, as one whose bytes are missing).
int words_not_numbers = 0;

// A notice of the reader (while a peer's command reads the file, the alert
// routine counts it with the link's refusals instead).
void reader_notice(const char* l1, const char* l2, const char* l3)
{
    MACIBM_nuke_alert(0, l1, l2, l3, "", ALERT_NOTICE);
}

// A walk of the record that reads and writes nothing and only counts the bytes
// the binary form of the record takes (every transfer below adds its size).
constexpr int PREFS_MEASURE = 9;
size_t measured_bytes = 0;

// ---------------------------------------------------------------------------
// Settings a peer may change but not keep (shell/prefs.h).

int32_t& peer_setting(int k)
{
    int32_t* const places[PREFS_PEER_SETTINGS] = {&sim_graphics_misc.show_panel_click_spots};
    return *places[k];
}

struct peer_kept_setting {
    bool peers = false;        // the live value is one a peer's command set
    int32_t users_value = 0;   // the value before it, written in its place
};
struct peer_settings_state {
    peer_kept_setting kept[PREFS_PEER_SETTINGS];
};
peer_settings_state peer_settings;

}  // namespace

ORVELL_RESET_RECORD(PREFS_peer_settings_reset, peer_settings, program);

PREFS_peer_setting_watch::PREFS_peer_setting_watch(bool from_peer) : from_peer_(from_peer)
{
    for (int k = 0; k < PREFS_PEER_SETTINGS; ++k) before_[k] = peer_setting(k);
}

PREFS_peer_setting_watch::~PREFS_peer_setting_watch()
{
    for (int k = 0; k < PREFS_PEER_SETTINGS; ++k) {
        if (peer_setting(k) == before_[k]) continue;
        peer_kept_setting& s = peer_settings.kept[k];
        if (!from_peer_)
            s = peer_kept_setting{};
        else if (!s.peers)
            s = peer_kept_setting{true, before_[k]};
    }
}

namespace {

// ---------------------------------------------------------------------------
// The record walkers.

struct transfer {
    int mode;
    int kind;

    bool writing() const { return mode == PREFS_WRITE; }
    // Store flag of the rows only the general preferences apply.
    int general() const { return kind == PREFS_KIND_GENERAL ? 1 : 0; }

    void i(int store, int32_t& v) const { PREFS_transfer_int(store, &v, mode); }
    void f(int store, float& v) const { PREFS_transfer_float(store, &v, mode); }
    void ints(int store, int32_t* a, int n) const
    {
        for (int k = 0; k < n; ++k) PREFS_transfer_int(store, &a[k], mode);
    }
    void floats(int store, float* a, int n) const
    {
        for (int k = 0; k < n; ++k) PREFS_transfer_float(store, &a[k], mode);
    }
    void text(int store, char* t, int size) const { PREFS_transfer_string(store, t, mode, size); }
    // Setting k of those a peer may change but not keep: written as the
    // user's own value; read, the file's value is the user's.
    void users_setting(int store, int k) const
    {
        peer_kept_setting& s = peer_settings.kept[k];
        if (writing() && s.peers) {
            int32_t own = s.users_value;
            return i(store, own);
        }
        i(store, peer_setting(k));
        if (mode == PREFS_READ && store) s = peer_kept_setting{};
    }

    // Rows written from the user's live plane and read into the situation start state.
    void f_sit(float& live, float& saved) const { f(1, writing() ? live : saved); }
    void i_sit(int32_t& live, int32_t& saved) const { i(1, writing() ? live : saved); }
    void floats_sit(float* live, float* saved, int n) const { floats(1, writing() ? live : saved, n); }
    void ints_sit(int32_t* live, int32_t* saved, int n) const { ints(1, writing() ? live : saved, n); }
};

void transfer_main_record(const transfer& t)
{
    const int all = 1;
    const int gen = t.general();
    acf_struct& acf = pln[0];
    flt_struct& live = flt[0];
    situation_start_record& saved = situation_start_state;
    sim_weather_block& w = sim_weather;
    screen_settings_block& ss = screen_settings;

    // 1-3: the user's aircraft and the start airport.
    t.text(all, acf.acf_file_path, TEXT_SIZE);
    t.text(all, acf.acf_file_name, TEXT_SIZE);
    t.text(all, start_selection.airport_id, static_cast<int>(sizeof start_selection.airport_id));
    // 4-9.
    t.i(all, start_selection.start_index);
    t.i(all, sim_time.use_system_time);
    t.i(all, sim_time.backwards);
    t.f(all, sim_time.zulu_time_sec);
    t.i(all, sim_time.local_date_days);
    t.users_setting(all, 0);   // show_panel_click_spots
    // 10-11: serial-console calibration tables.
    t.floats(all, serial_axis_lo, SERIAL_CHANNELS);
    t.floats(all, serial_axis_hi, SERIAL_CHANNELS);
    // 12-13.
    t.f(all, ss.zone_offset_hours);
    t.i(all, w.use_real_weather_bool);
    // 14-18.
    t.f(all, w.rain_percent);
    t.f(all, w.thunderstorm_percent);
    t.f(all, w.wind_turbulence_percent);
    t.f(all, w.microburst_probability);
    t.f(all, w.visibility_reported_m);
    // 19-21: cloud layers.
    t.ints(all, w.cloud_type, CLOUD_LAYERS);
    t.floats(all, w.cloud_tops_msl_m, CLOUD_LAYERS);
    t.floats(all, w.cloud_base_msl_m, CLOUD_LAYERS);
    // 22-27: wind layers, one array after the other.
    t.floats(all, w.wind_altitude_msl_m, WIND_LAYERS);
    t.floats(all, w.wind_direction_degt, WIND_LAYERS);
    t.floats(all, w.wind_speed_kt, WIND_LAYERS);
    t.floats(all, w.shear_direction_degt, WIND_LAYERS);
    t.floats(all, w.shear_speed_kt, WIND_LAYERS);
    t.floats(all, w.turbulence, WIND_LAYERS);
    // 28-34: sea and ground.
    t.f(all, w.wave_amplitude);
    t.f(all, w.wave_length);
    t.f(all, w.wave_speed);
    t.i(all, w.wave_dir);
    t.i(all, w.meteorite_density);
    t.i(all, w.runway_friction);
    t.i(all, ss.runway_is_patchy);
    // 35-41: planet constants.
    t.f(all, sim_physics.earth_pressure_p);
    t.f(all, sim_physics.earth_temp_c);
    t.f(all, sim_physics.rho_sea_level);
    t.f(all, sim_physics.earth_radius_m);
    t.f(all, sim_physics.mu_air);
    t.f(all, sim_physics.rho_water);
    t.f(all, sim_physics.earth_mu);
    // 42-43: units shown.
    t.i(all, ss.temperature_unit);
    t.i(all, ss.pressure_units_metric);

    // 44-91: settings applied only from the general preferences.
    t.f(gen, sim_operation_prefs_realweather.check_real_weather_time_sec);
    t.i(gen, ss.radio_chatter_on);
    sim_operation_prefs_block& op = sim_operation_prefs;
    t.i(gen, op.has_headset_on);
    t.i(gen, op.text_out);
    t.i(gen, op.warn_framerate_low);
    t.i(gen, op.warn_overspeed);
    t.i(gen, op.warn_overgforce);
    t.i(gen, op.warn_overspeed_flaps);
    t.i(gen, op.warn_overspeed_gear);
    t.i(gen, op.warn_bb);
    sim_graphics_settings_block& gs = sim_graphics_settings;
    t.i(gen, gs.draw_textured_lites);
    t.i(gen, gs.dim_gload);
    t.i(gen, gs.autogen_level);
    t.i(gen, gs.autogen_distance);
    t.i(gen, gs.draw_obstacles);
    t.i(gen, gs.draw_aircrafts);
    t.i(gen, gs.draw_taxilines);
    t.i(gen, gs.draw_forestfires);
    t.i(gen, gs.draw_oilrigs);
    t.i(gen, gs.draw_ships);
    t.i(gen, gs.draw_vectors);
    t.i(gen, gs.draw_cars);
    t.i(gen, op.startup_running);
    sim_network_dataout_block& dout = sim_network_dataout;
    t.f(gen, dout.network_data_rate);
    t.f(gen, sim_operation_prefs_realweather.real_weather_max_vis_nm);
    t.ints(gen, dout.data_to_internet, DATAOUT_GROUPS);
    t.ints(gen, dout.data_to_disk, DATAOUT_GROUPS);
    t.ints(gen, dout.data_to_graph, DATAOUT_GROUPS);
    t.ints(gen, dout.data_to_screen, DATAOUT_GROUPS);
    t.i(gen, dout.dump_parts_props);
    t.i(gen, dout.dump_parts_wings);
    t.i(gen, dout.dump_parts_vstabs);
    t.i(gen, op.auto_coordinate_helos);
    t.i(gen, op.reset_on_crash);
    t.i(gen, op.startup_on_ramp);
    t.i(gen, op.warn_nonobvious_stuff);
    t.i(gen, ss.scenery_load_switch);
    for (auto& p : ss.situation_acf_paths) t.text(gen, p, TEXT_SIZE);
    for (auto& triple : ss.situation_start_values) t.floats(gen, triple, 3);
    t.i(gen, ss.map_type);
    t.i(gen, ss.world_objects_switch);

    // 92-121: cockpit.
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    t.i(all, ap.airspeed_mode);
    t.i(all, ap.heading_mode);
    t.i(all, ap.altitude_mode);
    t.i(all, ap.hnav_mode);
    t.i(all, ap.vnav_mode);
    t.i(all, ap.backcourse_on);
    t.f(all, ap.airspeed);
    t.f(all, ap.heading_mag);
    t.f(all, ap.vertical_velocity);
    t.f(all, ap.altitude);
    t.f(all, ap.current_altitude);
    t.f(all, ap.pitch_hold_deg);
    t.i(all, sim_cockpit_electrical.battery_on);
    t.i(all, sim_cockpit_electrical.avionics_on);
    t.i(all, sim_cockpit_engine.fuel_tank_selector);
    t.i(all, sim_cockpit_switches.gear_handle_status);
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    t.i(all, r.nav1_freq_hz);
    t.i(all, r.nav2_freq_hz);
    t.i(all, r.adf1_freq_hz);
    t.i(all, r.adf2_freq_hz);
    t.i(all, r.gps_freq_hz);
    t.i(all, r.dme_freq_hz);
    t.i(all, r.nav1_stdby_freq_hz);
    t.i(all, r.nav2_stdby_freq_hz);
    t.i(all, r.adf1_stdby_freq_hz);
    t.i(all, r.adf2_stdby_freq_hz);
    t.i(all, r.gps_stdby_freq_hz);
    t.i(all, r.dme_stdby_freq_hz);
    t.i(all, r.com1_freq_hz);
    t.i(all, r.com2_freq_hz);
    t.ints(all, r.com_spare_freq_hz, 4);
    t.i(all, r.com1_stdby_freq_hz);
    t.i(all, r.com2_stdby_freq_hz);
    t.ints(all, r.com_spare_stdby_freq_hz, 4);
    t.f(all, r.nav1_obs_degm);
    t.f(all, r.nav2_obs_degm);
    t.f(all, r.adf1_obs_card_mag);
    t.f(all, r.adf2_obs_card_mag);
    t.f(all, r.obs_mag);
    t.f(all, r.dme_obs_degm);
    t.i(all, r.transponder_code);
    sim_cockpit_gps_block& gps = sim_cockpit_gps;
    t.i(all, gps.destination_type);
    t.i(all, gps.destination_index);
    t.i(all, gps.airport_index);
    t.i(all, gps.vor_index);
    t.i(all, gps.ndb_index);
    t.i(all, gps.fix_index);
    t.f(all, sim_cockpit_misc.barometer_setting);
    t.i(all, ap.airspeed_is_mach);

    // 122-172: joystick, equipment, sound, view and network settings.
    sim_joystick_block& joy = sim_joystick;
    t.f(gen, ss.pitch_rate_damping);
    t.f(gen, ss.roll_rate_damping);
    t.f(gen, ss.yaw_rate_damping);
    t.i(gen, sim_graphics_scenery.current_planet);
    t.f(gen, sim_operation_misc.frame_rate_period);
    t.f(gen, ss.systems_period);
    t.f(gen, joy.joystick_pitch_nullzone);
    t.f(gen, joy.joystick_roll_nullzone);
    t.f(gen, joy.joystick_heading_nullzone);
    t.f(gen, joy.joystick_pitch_sensitivity);
    t.f(gen, joy.joystick_roll_sensitivity);
    t.f(gen, joy.joystick_heading_sensitivity);
    t.i(gen, ss.eq_cirrus_com2);
    t.i(gen, joy.eq_ped_nobrk);
    t.i(gen, joy.eq_ped_wibrk);
    t.i(gen, ss.eq_button_throttle);
    t.i(gen, ss.eq_gf_panels);
    t.i(gen, ss.preset_radios_option);
    t.i(gen, ss.keys_per_engine);
    t.i(gen, joy.eq_cirrusII_fun);
    t.i(gen, joy.eq_cirrusII_app);
    t.i(gen, joy.eq_pfc_pedals);
    t.i(gen, joy.eq_pfc_cirrus2);
    t.i(gen, ss.joy_calibrating);
    t.i(gen, ss.equipment_option_a);
    t.i(gen, ss.equipment_option_b);
    t.i(gen, sim_operation_sound.speech_on);
    t.i(gen, sim_operation_sound.sound_on);
    t.ints(gen, joy.joystick_axis_assignments, JOYSTICK_AXES);
    t.ints(gen, joy.joystick_button_assignments, JOYSTICK_BUTTONS);
    t.ints(gen, joy.joystick_axis_reverse, JOYSTICK_AXES);
    t.floats(gen, joy.joystick_axis_minimum, JOYSTICK_AXES);
    t.floats(gen, joy.joystick_axis_maximum, JOYSTICK_AXES);
    t.i(gen, ss.show_start_screen);
    t.i(gen, screen.rendering_res);
    t.i(gen, ss.eq_cirrus_layout2);
    t.i(gen, ss.eq_cirrus_latch_brake);
    t.f(gen, ss.sound_volume);
    sim_graphics_view_block& view = sim_graphics_view;
    t.f(gen, view.field_of_view_deg);
    t.f(gen, view.field_of_view_horizontal_ratio);
    t.f(gen, view.field_of_view_vertical_ratio);
    t.f(gen, view.field_of_view_horizontal_deg);
    t.f(gen, view.field_of_view_vertical_deg);
    t.f(gen, ss.cloud_scale_a);
    t.f(gen, ss.cloud_scale_b);
    t.i(gen, ss.cloud_switch);
    t.i(gen, view.number_elumens_projections);
    t.i(gen, view.elumens_tex_width);
    t.i(gen, view.elumens_tex_height);
    t.f(gen, view.elumens_ref_psi);
    t.f(gen, view.elumens_ref_the);
    t.f(gen, view.elumens_ref_phi);
    t.f(gen, view.field_of_view_roll_deg);
    for (auto& ip : net_ip_text) t.text(gen, ip, NET_IP_TEXT_SIZE);
    for (auto& port : net_port_text) t.text(gen, port, NET_PORT_TEXT_SIZE);
    t.ints(gen, net_slot_enabled, NET_SLOT_COUNT);
    t.f(gen, sim_operation_failures.mean_time_between_failure_hrs);

    // 173-193: the situation start, written from the user's live plane and
    // read into the situation start state.
    t.f_sit(live.latitude, saved.latitude);
    t.f_sit(live.longitude, saved.longitude);
    t.f_sit(live.local_y, saved.elevation);
    t.f_sit(live.psi, saved.psi);
    t.f_sit(live.groundspeed, saved.groundspeed);
    t.f_sit(live.flaprat, saved.flaprat);
    t.f_sit(live.flaprqst, saved.flaprqst);
    t.f_sit(live.elv_trim, saved.elv_trim);
    t.f_sit(live.rud_trim, saved.rud_trim);
    t.f_sit(live.ail_trim, saved.ail_trim);
    t.f_sit(live.m_fuel1, saved.m_fuel1);
    t.f_sit(live.m_fuel2, saved.m_fuel2);
    t.f_sit(live.m_fuel3, saved.m_fuel3);
    t.f_sit(live.m_jettison, saved.m_jettison);
    t.f_sit(live.m_fixed, saved.m_fixed);
    t.ints_sit(live.ignition_on, saved.ignition_on, FLT_ENGINES);
    t.floats_sit(live.ENGN_thro, saved.ENGN_thro, FLT_ENGINES);
    t.floats_sit(live.ENGN_prop, saved.ENGN_prop, FLT_ENGINES);
    t.floats_sit(live.POINT_pitch_deg, saved.POINT_pitch_deg, FLT_ENGINES);
    t.floats_sit(live.ENGN_mixt, saved.ENGN_mixt, FLT_ENGINES);
    t.floats_sit(live.POINT_tacrad, saved.POINT_tacrad, FLT_ENGINES);
    // Each failure run holds one word more than the table: the word that
    // follows the run in the flight-model record (the first failure time
    // after the states, the first failure bit set after the times). It is
    // written from that named field and dropped when read.
    t.ints_sit(live.failures, saved.failures, FAILURE_SLOTS);
    int32_t after_states = std::bit_cast<int32_t>(live.failure_param[0]);
    t.i(0, after_states);
    t.floats_sit(live.failure_param, saved.failure_param, FAILURE_SLOTS);
    float after_times = std::bit_cast<float>(live.comp_fail_stat[0]);
    t.f(0, after_times);

    // 194-197.
    t.f(all, w.thermal_percent);
    t.f(all, w.thermal_rate_ms);
    for (int k = 0; k < RESERVED_WORDS; ++k) {
        int32_t zero = 0;
        t.i(0, zero);
    }
    t.floats(gen, storm_grid, STORM_GRID_CELLS);
}

// Type of each stored word of a plane state record: words 14 and 49 are not
// stored.
enum class word_type { none, i, f };
constexpr word_type replay_word_type(int k)
{
    if (k == 0) return word_type::f;
    if (k <= 13) return word_type::i;
    if (k == 14) return word_type::none;
    if (k <= 18) return word_type::i;
    if (k <= 31) return word_type::f;
    if (k == 32) return word_type::i;
    if (k <= 40) return word_type::f;
    if (k <= 48) return word_type::i;
    return word_type::none;
}

void transfer_replay_ring(const transfer& t)
{
    for (plane_state_record& rec : replay_ring) {
        uint32_t words[PLANE_STATE_WORDS];
        std::memcpy(words, &rec, sizeof words);
        for (int k = 0; k < PLANE_STATE_WORDS; ++k) {
            switch (replay_word_type(k)) {
            case word_type::i: {
                int32_t v = std::bit_cast<int32_t>(words[k]);
                t.i(1, v);
                words[k] = std::bit_cast<uint32_t>(v);
                break;
            }
            case word_type::f: {
                float v = std::bit_cast<float>(words[k]);
                t.f(1, v);
                words[k] = std::bit_cast<uint32_t>(v);
                break;
            }
            case word_type::none:
                break;
            }
        }
        std::memcpy(&rec, words, sizeof words);
    }
}

void transfer_resolution(const transfer& t)
{
    t.i(1, screen.res_width);
    t.i(1, screen.res_height);
    t.i(1, screen.res_bits);
    t.i(1, screen.requested_full_screen);
    t.i(1, sim_operation_prefs_misc.language);
}

// Keeps the requested size within the usable range and makes it the live
// one. A size larger than the display shows would open a window that draws
// at a fraction of a frame a second: the window opens at the smallest size,
// and "ERROR.OUT" says why.
void apply_resolution()
{
    if (screen.res_width < SCREEN_MIN_WIDTH || screen.res_width > SCREEN_MAX_SIZE)
        screen.res_width = SCREEN_MIN_WIDTH;
    if (screen.res_height < SCREEN_MIN_HEIGHT || screen.res_height > SCREEN_MAX_SIZE)
        screen.res_height = SCREEN_MIN_HEIGHT;
    if (!SCREEN_size_fits(screen.res_width, screen.res_height)) {
        int32_t w, h;
        SCREEN_size_limit(w, h);
        if (error_log.is_open())
            error_log << "The saved window size " << screen.res_width << " x " << screen.res_height
                      << " is larger than the display shows (" << w << " x " << h << "): the window opens at "
                      << SCREEN_MIN_WIDTH << " x " << SCREEN_MIN_HEIGHT << ".\n"
                      << std::flush;
        screen.res_width = SCREEN_MIN_WIDTH;
        screen.res_height = SCREEN_MIN_HEIGHT;
    }
    screen.window_width = screen.res_width;
    screen.window_height = screen.res_height;
    screen.colour_depth = screen.res_bits;
    screen.full_screen = screen.requested_full_screen;
}

void set_default_logbook_name()
{
    std::memset(logbook_path, 0, sizeof logbook_path);
    std::strncpy(logbook_path, DEFAULT_LOGBOOK_NAME, PILOT_NAME_SIZE - 1);
}

// Starts saving a file of the given kind through a temporary file beside it
// (FILE_end_save puts it in place); false, after the save-failure alert, when
// it cannot be created. Writing over the file itself would leave it cut short,
// its settings lost, when the save fails midway; the old file then stays whole.
bool begin_write(const char* path, int data_kind, int version)
{
    char buf[TEXT_SIZE];
    std::memset(buf, 0, sizeof buf);
    std::strncpy(buf, path, TEXT_MAX_LEN);
    return FILE_begin_save(buf, data_kind, version) != 0;
}

// Opens a preference file for reading; 0 when it is missing, unreadable or of
// another version (then it is closed again). The header is opened for its mark
// only and the version is read here under the quiet label, so a file cut short
// inside its header is refused like a missing one instead of stopping the
// program at every start.
int open_for_reading(const char* path, int data_kind, int version)
{
    char buf[TEXT_SIZE];
    std::memset(buf, 0, sizeof buf);
    std::strncpy(buf, path, TEXT_MAX_LEN);
    int ok = FILE_open_for_use(buf, data_kind, 0, 0);
    if (ok) {
        const int32_t found = FILE_read_int("prefs");
        ok = FILE_current_stream().fail() || found != version ? 0 : 1;
    }
    if (ok && !FILE_kind_is_binary(data_kind)) {
        FILE_read_line(scratch_text, TEXT_SIZE);   // the rest of the version line
        ok = FILE_current_stream().good() ? 1 : 0;
    }
    if (ok) return 1;
    FILE_close_current();
    return 0;
}

// The bytes of a binary record of this kind (the general, situation and
// movie records, or the resolution record).
size_t record_bytes(int kind)
{
    measured_bytes = 0;
    const transfer t{PREFS_MEASURE, kind};
    if (kind == PREFS_KIND_RESOLUTION) {
        transfer_resolution(t);
    } else {
        transfer_main_record(t);
        if (kind == PREFS_KIND_MOVIE) transfer_replay_ring(t);
    }
    return measured_bytes;
}

// The bytes after the read position of the open file.
size_t bytes_left()
{
    std::istream& in = FILE_current_stream();
    const std::streampos here = in.tellg();
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.seekg(here);
    return here < 0 || end < here ? 0 : static_cast<size_t>(end - here);
}

// A preferences file that is there but cannot be read (not a preferences
// file, another version, cut short) would be overwritten with the defaults at
// quit: it is kept beside the path as "<name>.damaged" and a notice says so.
void keep_damaged(const char* path)
{
    const std::string on_disk = PLAT_resolve_path(path);
    const std::string kept = on_disk + ".damaged";
    std::error_code ec;
    std::filesystem::rename(on_disk, kept, ec);
    if (ec)
        MACIBM_nuke_alert(0, "This preferences file could not be read:", path,
                          "It could not be kept aside either; the defaults are used.", "", ALERT_NOTICE);
    else
        MACIBM_nuke_alert(0, "This preferences file could not be read:", path,
                          "It was kept beside the new one as:", kept.c_str(), ALERT_NOTICE);
}

// The resolution file the start-up leaves after a display it could not set
// up: a header alone, which no reader accepts, so the next start takes the
// default resolution. It holds nothing to keep and is no damage.
bool reset_header_only(int kind, const char* path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(PLAT_resolve_path(path), ec);
    return kind == PREFS_KIND_RESOLUTION && !ec && size <= 5;
}

}  // namespace

bool PREFS_file_whole(int kind, const char* path)
{
    if (kind == PREFS_KIND_PILOT || !path) return false;
    const int version = kind == PREFS_KIND_RESOLUTION ? PREFS_RESOLUTION_VERSION : PREFS_VERSION;
    if (!open_for_reading(path, KIND_BINARY, version)) return false;
    const bool whole = bytes_left() >= record_bytes(kind);
    FILE_close_current();
    return whole;
}

// ---------------------------------------------------------------------------
// Field transfers.

void PREFS_transfer_int(int store, int32_t* place, int mode)
{
    if (mode == PREFS_MEASURE) {
        measured_bytes += 4;
        return;
    }
    if (mode == PREFS_WRITE) {
        const int32_t v = place ? *place : 0;
        if (file_out_binary)
            write_word(std::bit_cast<uint32_t>(v));
        else
            file_out << std::right << std::setw(6) << v;
    } else if (mode == PREFS_READ) {
        if (reading_binary()) {
            uint32_t bits;
            if (read_word(bits) && store && place) *place = std::bit_cast<int32_t>(bits);
        } else {
            const int32_t v = FILE_read_int("io");
            if (store && place) *place = v;
        }
    }
}

void PREFS_transfer_float(int store, float* place, int mode)
{
    if (mode == PREFS_MEASURE) {
        measured_bytes += 4;
        return;
    }
    if (mode == PREFS_WRITE) {
        uint32_t bits = 0;
        if (place) std::memcpy(&bits, place, 4);
        if (file_out_binary)
            write_word(bits);
        else
            file_out << std::right << std::fixed << std::setprecision(6) << std::setw(12)
                     << std::bit_cast<float>(bits);
    } else if (mode == PREFS_READ) {
        if (reading_binary()) {
            uint32_t bits;
            if (!read_word(bits) || !store || !place) return;
            // A stored word that is no number (a damaged file) is refused:
            // every flight would carry it into the sums that read it.
            const float v = std::bit_cast<float>(bits);
            if (std::isfinite(v))
                *place = v;
            else
                ++words_not_numbers;
        } else {
            const float v = FILE_read_float("io");
            if (store && place) *place = v;
        }
    }
}

void PREFS_transfer_string(int store, char* text, int mode, int size)
{
    if (size <= 0) return;
    if (mode == PREFS_MEASURE) {
        measured_bytes += static_cast<size_t>(size);
        return;
    }
    if (mode == PREFS_WRITE) {
        const size_t len = text ? strnlen(text, static_cast<size_t>(size)) : 0;
        if (file_out_binary) {
            // The text, then zeros to the field's size.
            if (len) file_out.write(text, static_cast<std::streamsize>(len));
            for (size_t k = len; k < static_cast<size_t>(size); ++k) file_out.put('\0');
        } else if (len) {
            file_out.write(text, static_cast<std::streamsize>(std::min<size_t>(len, TEXT_MAX_LEN)));
        }
    } else if (mode == PREFS_READ) {
        std::vector<char> buf(static_cast<size_t>(size) + 1, '\0');
        if (reading_binary()) {
            std::istream& in = FILE_current_stream();
            in.read(buf.data(), size);
            if (in.gcount() != size) return;   // the field's bytes are not all there
            // A raw text may lack its terminator: without one the text would be
            // read on past its field.
            buf[static_cast<size_t>(size) - 1] = '\0';
        } else {
            FILE_read_field(buf.data(), size, 0);
        }
        if (!store || !text) return;
        const size_t len = std::min<size_t>(strnlen(buf.data(), static_cast<size_t>(size)), TEXT_MAX_LEN);
        std::memcpy(text, buf.data(), len);
        text[len] = '\0';
    }
}

// ---------------------------------------------------------------------------

void PREFS_read_write(int kind, int mode, const char* path)
{
    const bool kind_ok = kind == PREFS_KIND_GENERAL || kind == PREFS_KIND_RESOLUTION || kind == PREFS_KIND_PILOT ||
                         kind == PREFS_KIND_SITUATION || kind == PREFS_KIND_MOVIE;
    if (!kind_ok || (mode != PREFS_READ && mode != PREFS_WRITE) || !path) {
        MACIBM_nuke_alert(0, "Bad pref arg!", "", "", "", ALERT_FATAL);
        return;
    }
    const transfer t{mode, kind};
    const bool reading = mode == PREFS_READ;
    // What peers set through the link lasts for the flight: written, each
    // such setting is the user's own value; read, the file's values are the user's.
    const NET_users_settings_scope users_values(!reading);
    if (reading && (kind == PREFS_KIND_GENERAL || kind == PREFS_KIND_RESOLUTION)) NET_forget_peer_settings();

    if (kind == PREFS_KIND_PILOT) {
        if (reading) {
            set_default_logbook_name();
            if (open_for_reading(path, KIND_TEXT, PREFS_VERSION)) {
                FILE_read_line(logbook_path, PILOT_NAME_SIZE);
                logbook_path[PILOT_NAME_SIZE - 1] = '\0';
                FILE_close_current();
            } else if (PLAT_file_exists(path)) {
                keep_damaged(path);
            }
        } else {
            if (!begin_write(path, KIND_TEXT, PREFS_VERSION)) return;
            file_out.write(logbook_path, static_cast<std::streamsize>(strnlen(logbook_path, PILOT_NAME_SIZE - 1)));
            file_out << '\n';
            FILE_end_save();
        }
        return;
    }

    const int version = kind == PREFS_KIND_RESOLUTION ? PREFS_RESOLUTION_VERSION : PREFS_VERSION;
    // The user's own preferences are kept when they cannot be read; a
    // situation or movie is only ever read, never overwritten by the program.
    const bool own = kind == PREFS_KIND_GENERAL || kind == PREFS_KIND_RESOLUTION;
    bool short_file = false;
    if (reading) {
        if (!open_for_reading(path, KIND_BINARY, version)) {
            if (own && PLAT_file_exists(path) && !reset_header_only(kind, path)) keep_damaged(path);
            return;
        }
        // A file shorter than its record is read as far as it goes (a value
        // whose bytes are missing keeps what it had) and then kept aside.
        short_file = bytes_left() < record_bytes(kind);
    } else if (!begin_write(path, KIND_BINARY, version)) {
        return;
    }

    if (kind == PREFS_KIND_RESOLUTION) {
        // A size the display cannot show (a peer's setting, one typed in;
        // with no display to ask, one larger than the window rendered) is not
        // saved: the next start would open it. The window's own size is.
        if (!reading && !SCREEN_rendered_size_fits(screen.res_width, screen.res_height)) {
            const bool live_fits = SCREEN_rendered_size_fits(screen.window_width, screen.window_height);
            screen.res_width = live_fits ? screen.window_width : SCREEN_MIN_WIDTH;
            screen.res_height = live_fits ? screen.window_height : SCREEN_MIN_HEIGHT;
        }
        transfer_resolution(t);
        // A language without a folder would make the start fail on its menu
        // file: the user is asked for the language again, as when none is set.
        int32_t& language = sim_operation_prefs_misc.language;
        if (reading && language >= LANGUAGE_COUNT) language = -1;
        apply_resolution();
    } else {
        // What is written are the user's planet values, not those a plug-in
        // or a peer left outside their ranges; the flight flown keeps its own.
        const sim_physics_block live = sim_physics;
        if (!reading) PLANET_hold_values(sim_graphics_scenery.current_planet);
        words_not_numbers = 0;
        transfer_main_record(t);
        if (kind == PREFS_KIND_MOVIE) transfer_replay_ring(t);
        if (!reading) sim_physics = live;
        if (reading && kind == PREFS_KIND_GENERAL) SIM_orbiter_for_stand_in();
        // A planet other than the Earth or Mars cannot be drawn: such a file starts on the Earth.
        int32_t& planet = sim_graphics_scenery.current_planet;
        if (reading && planet != PLANET_EARTH && planet != PLANET_MARS) planet = PLANET_EARTH;
        if (reading && (PLANET_hold_values(planet) || words_not_numbers > 0))
            reader_notice("This file holds values no flight can start with:", path,
                          "The planet's own values and the defaults stand in for them.");
    }

    if (reading) {
        FILE_close_current();
        if (own && short_file) keep_damaged(path);
    } else {
        FILE_end_save();
    }
}
