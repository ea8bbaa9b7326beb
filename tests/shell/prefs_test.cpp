// Preference, situation and movie files: byte layout, round trips, what a
// situation applies, and the refusal and failure cases.

#include <gtest/gtest.h>

#include "graphics/list.h"
#include "shell/startup.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>

#include "aircraft/acf_struct.h"
#include "aircraft/situation_start.h"
#include "core/constants.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "core/alert.h"
#include "links/serial_calibration.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "shell/prefs.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "tests/support/test_support.h"

namespace {

constexpr size_t MAIN_FILE_BYTES = 272914;
constexpr size_t MOVIE_FILE_BYTES = MAIN_FILE_BYTES + 9000 * 48 * 4;
// Offsets in a main-record file (5-byte header first).
constexpr size_t OFF_IP_TEXTS = 8194;
constexpr size_t OFF_PORT_TEXTS = 8514;
constexpr size_t OFF_RESERVED = 10378;

// The bytes of a value as they lie in memory.
template <class T>
std::string bytes_of(const T& v)
{
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string le(uint32_t v)
{
    std::string s(4, '\0');
    for (int k = 0; k < 4; ++k) s[k] = static_cast<char>(v >> (8 * k) & 0xFF);
    return s;
}

// Every 4-byte word of each object gets the next counter value.
uint32_t counter = 0;
template <class... T>
void fill_words(T&... objs)
{
    auto one = [](auto& obj) {
        static_assert(sizeof obj % 4 == 0);
        auto* p = reinterpret_cast<unsigned char*>(&obj);
        for (size_t k = 0; k < sizeof obj; k += 4, ++counter) std::memcpy(p + k, &counter, 4);
    };
    (one(objs), ...);
}

void set_text(char* dst, size_t size, const std::string& s)
{
    std::memset(dst, 0, size);
    std::memcpy(dst, s.data(), std::min(s.size(), size - 1));
}

// Distinct values in every stored place; seeds give different sets.
void fill_state(uint32_t seed)
{
    counter = seed * 1000000 + 1;
    const std::string tag = std::to_string(seed);
    fill_words(sim_physics, sim_graphics_scenery, sim_time, sim_graphics_misc, sim_weather, sim_operation_prefs,
               sim_operation_prefs_misc, sim_operation_prefs_realweather, sim_graphics_settings, sim_graphics_view,
               sim_network_dataout, sim_cockpit_autopilot, sim_cockpit_electrical, sim_cockpit_engine,
               sim_cockpit_switches, sim_cockpit_radios, sim_cockpit_gps, sim_cockpit_misc, sim_operation_misc,
               sim_operation_failures, sim_operation_sound, sim_joystick, screen_settings, net_slot_enabled,
               serial_axis_lo, serial_axis_hi, storm_grid, replay_ring, flt[0]);
    PLANET_set_constants(PLANET_EARTH);   // a planet a flight can start on, its air distinct per seed
    sim_physics.earth_pressure_p = 100000.0f + static_cast<float>(seed);
    sim_physics.earth_temp_c = static_cast<float>(seed);
    for (int k = 0; k < SITUATION_ACF_PATHS; ++k)
        set_text(screen_settings.situation_acf_paths[k], TEXT_SIZE, "AIRCRAFT:SET " + tag + ":PLANE" + std::to_string(k));
    for (int k = 0; k < NET_SLOT_COUNT; ++k) {
        set_text(net_ip_text[k], NET_IP_TEXT_SIZE, "10.0." + tag + "." + std::to_string(k));
        set_text(net_port_text[k], NET_PORT_TEXT_SIZE, std::to_string(49000 + k + 100 * seed));
    }
    set_text(pln[0].acf_file_path, TEXT_SIZE, "/opt/orvell/AIRCRAFT:SET " + tag + ":GLIDER.ACF");
    set_text(pln[0].acf_file_name, TEXT_SIZE, "GLIDER" + tag + ".ACF");
    set_text(start_selection.airport_id, sizeof start_selection.airport_id, seed == 1 ? "KSEA" : "LFPG");
    start_selection.start_index = static_cast<int32_t>(counter++);
    screen.rendering_res = static_cast<int32_t>(counter++);
}

// Clears everything the files store except the live flight-model record.
void clear_state()
{
    RESET_group(reset_group::program);
    auto zero = [](auto&... o) { (std::memset(&o, 0, sizeof o), ...); };
    zero(pln[0].acf_file_path, pln[0].acf_file_name);
}

// Offset of the first byte where two files differ, or -1 when they are equal.
long first_difference(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t k = 0; k < n; ++k)
        if (a[k] != b[k]) return static_cast<long>(k);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

class Prefs : public ::testing::Test {
protected:
    temp_folder dir;
    void SetUp() override { file_use_index = 0; }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    std::string save(int kind, const std::string& name)
    {
        PREFS_read_write(kind, PREFS_WRITE, path(name).c_str());
        return read_file_bytes(dir.path() / name);
    }
    void load(int kind, const std::string& name) { PREFS_read_write(kind, PREFS_READ, path(name).c_str()); }
};

TEST_F(Prefs, GeneralFileLayoutByHandAndRoundTrip)
{
    fill_state(1);
    PLANET_set_constants(PLANET_MARS);   // a planet the reader keeps
    const std::string f = save(PREFS_KIND_GENERAL, "general.prf");
    ASSERT_EQ(f.size(), MAIN_FILE_BYTES);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "general.prf.partial"));
    EXPECT_EQ(f.substr(0, 5), std::string("\x69\xC6\x02\x00\x00", 5));
    EXPECT_EQ(std::string(f.c_str() + 5), pln[0].acf_file_path);
    EXPECT_EQ(f[5 + 499], '\0');   // texts are padded with zeros
    EXPECT_EQ(std::string(f.c_str() + 505), "GLIDER1.ACF");
    EXPECT_EQ(f.substr(1005, 5), std::string("KSEA\0", 5));
    EXPECT_EQ(std::string(f.c_str() + OFF_IP_TEXTS + 16), "10.0.1.1");
    EXPECT_EQ(std::string(f.c_str() + OFF_PORT_TEXTS + 6), "49101");
    EXPECT_EQ(f.substr(OFF_RESERVED, 98 * 4), std::string(98 * 4, '\0'));
    // Words at their offsets: the five autopilot mode words (7158) come before backcourse_on; the
    // situation start (8718) is the live plane's; each failure run (8970, 9670) ends with the word
    // that follows it; the storm grid fills the end.
    const std::pair<size_t, std::string> words[] = {
        {1010, bytes_of(start_selection.start_index)},
        {1014, bytes_of(sim_time.use_system_time)},
        {1106, bytes_of(screen_settings.zone_offset_hours)},
        {7158 + 12, bytes_of(sim_cockpit_autopilot.hnav_mode)},
        {7158 + 20, bytes_of(sim_cockpit_autopilot.backcourse_on)},
        {8718, bytes_of(flt[0].latitude)},
        {8718 + 14 * 4, bytes_of(flt[0].m_fixed)},
        {8970, bytes_of(flt[0].failures[0])},
        {8970 + 174 * 4, bytes_of(flt[0].failure_param[0])},
        {9670 + 173 * 4, bytes_of(flt[0].failure_param[173])},
        {9670 + 174 * 4, bytes_of(flt[0].comp_fail_stat[0])},
        {OFF_RESERVED - 8, bytes_of(sim_weather.thermal_percent)},
        {10770, bytes_of(storm_grid[0])},
        {MAIN_FILE_BYTES - 4, bytes_of(storm_grid[STORM_GRID_CELLS - 1])},
        // Through the record, each at the offset its rows before it add up to.
        {1114, bytes_of(sim_weather.rain_percent)},
        {1134, bytes_of(sim_weather.cloud_type[0])},
        {1150, bytes_of(sim_weather.cloud_base_msl_m[0])},
        {1170, bytes_of(sim_weather.wind_direction_degt[0])},
        {1218, bytes_of(sim_weather.turbulence[0])},
        {1242, bytes_of(sim_weather.wave_dir)},
        {1258, bytes_of(sim_physics.earth_pressure_p)},
        {1282, bytes_of(sim_physics.earth_mu)},
        {1294, bytes_of(sim_operation_prefs_realweather.check_real_weather_time_sec)},
        {1314, bytes_of(sim_operation_prefs.warn_overspeed)},
        {1318, bytes_of(sim_operation_prefs.warn_overgforce)},
        {1330, bytes_of(sim_operation_prefs.warn_bb)},
        {1354, bytes_of(sim_graphics_settings.draw_aircrafts)},
        {1378, bytes_of(sim_graphics_settings.draw_cars)},
        {1386, bytes_of(sim_network_dataout.network_data_rate)},
        {1394, bytes_of(sim_network_dataout.data_to_internet[0])},
        {2994, bytes_of(sim_network_dataout.data_to_graph[0])},
        {4598, bytes_of(sim_network_dataout.dump_parts_wings)},
        {4614, bytes_of(sim_operation_prefs.startup_on_ramp)},
        {7162, bytes_of(sim_cockpit_autopilot.heading_mode)},
        {7186, bytes_of(sim_cockpit_autopilot.heading_mag)},
        {7214, bytes_of(sim_cockpit_engine.fuel_tank_selector)},
        {7226, bytes_of(sim_cockpit_radios.nav2_freq_hz)},
        {7242, bytes_of(sim_cockpit_radios.dme_freq_hz)},
        {7274, bytes_of(sim_cockpit_radios.com2_freq_hz)},
        {7342, bytes_of(sim_cockpit_radios.transponder_code)},
        {7358, bytes_of(sim_cockpit_gps.vor_index)},
        {7370, bytes_of(sim_cockpit_misc.barometer_setting)},
        {7390, bytes_of(sim_graphics_scenery.current_planet)},
        {7394, bytes_of(sim_operation_misc.frame_rate_period)},
        {7414, bytes_of(sim_joystick.joystick_pitch_sensitivity)},
        {7454, bytes_of(sim_joystick.eq_cirrusII_fun)},
        {7486, bytes_of(sim_operation_sound.sound_on)},
        {7490, bytes_of(sim_joystick.joystick_axis_assignments[0])},
        {7550, bytes_of(sim_joystick.joystick_button_assignments[0])},
        {8054, bytes_of(sim_joystick.joystick_axis_maximum[0])},
        {8118, bytes_of(screen.rendering_res)},
        {8134, bytes_of(sim_graphics_view.field_of_view_deg)},
        {8166, bytes_of(sim_graphics_view.number_elumens_projections)},
        {8190, bytes_of(sim_graphics_view.field_of_view_roll_deg)},
        {8634, bytes_of(net_slot_enabled[0])},
        {8714, bytes_of(sim_operation_failures.mean_time_between_failure_hrs)},
    };
    for (const auto& [off, word] : words) EXPECT_EQ(f.substr(off, 4), word) << off;

    // Read into cleared state: the blocks also hold live values the file does not store, so a
    // few stored fields are compared; the byte-identical rewrite shows every stored field came back.
    const auto radios = sim_cockpit_radios;
    clear_state();
    load(PREFS_KIND_GENERAL, "general.prf");
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(sim_cockpit_radios.transponder_code, radios.transponder_code);
    EXPECT_STREQ(start_selection.airport_id, "KSEA");
    EXPECT_STREQ(net_ip_text[19], "10.0.1.19");
    // The situation start holds the live plane's values; the file's extra failure words were dropped.
    const situation_start_record& s = situation_start_state;
    EXPECT_EQ(bytes_of(s.m_fixed), bytes_of(flt[0].m_fixed));
    EXPECT_EQ(0, std::memcmp(s.failures, flt[0].failures, sizeof s.failures));
    EXPECT_EQ(0, std::memcmp(s.failure_param, flt[0].failure_param, sizeof s.failure_param));
    EXPECT_EQ(first_difference(save(PREFS_KIND_GENERAL, "again.prf"), f), -1);
}

TEST_F(Prefs, SituationAppliesOnlyItsOwnRows)
{
    fill_state(1);
    EXPECT_EQ(save(PREFS_KIND_SITUATION, "flight.sit").size(), MAIN_FILE_BYTES);
    // The radio words the files store run up to the transponder code.
    const auto stored_radios = [] {
        return bytes_of(sim_cockpit_radios).substr(0, offsetof(sim_cockpit_radios_block, transponder_code) + 4);
    };
    const std::string radios = stored_radios();

    fill_state(2);
    const std::string general_only = bytes_of(sim_joystick) + bytes_of(sim_graphics_settings) +
                                     bytes_of(sim_operation_prefs) + bytes_of(screen_settings.situation_acf_paths) +
                                     bytes_of(storm_grid);
    load(PREFS_KIND_SITUATION, "flight.sit");

    // Rows marked for the general preferences only stay as they were.
    EXPECT_TRUE(general_only == bytes_of(sim_joystick) + bytes_of(sim_graphics_settings) +
                                    bytes_of(sim_operation_prefs) + bytes_of(screen_settings.situation_acf_paths) +
                                    bytes_of(storm_grid));
    EXPECT_STREQ(net_ip_text[3], "10.0.2.3");
    // The situation's own rows come from the file.
    EXPECT_TRUE(stored_radios() == radios);
    EXPECT_STREQ(start_selection.airport_id, "KSEA");
    EXPECT_STREQ(pln[0].acf_file_name, "GLIDER1.ACF");
}

// Preferences saved while the default aircraft stood in for the orbiter get
// the orbiter as the first situation aircraft; the tow plane keeps its trainer.
TEST_F(Prefs, SavedStandInForTheOrbiterGivesWayToIt)
{
    fill_state(1);
    const std::string folder = program_folder, kept = default_aircraft_path;
    std::strcpy(program_folder, "/opt/orvell/");
    std::strcpy(default_aircraft_path, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF");
    const std::string trainer = std::string(program_folder) + default_aircraft_path;
    for (int k : {0, 1}) set_text(screen_settings.situation_acf_paths[k], TEXT_SIZE, trainer);
    save(PREFS_KIND_GENERAL, "stand_in.prf");
    clear_state();
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_READ, path("stand_in.prf").c_str());
    EXPECT_STREQ(screen_settings.situation_acf_paths[0], "/opt/orvell/AIRCRAFT:SPACE SHIPS:ORVELL ORBITER:ORVELL ORBITER.ACF");
    EXPECT_EQ(std::string(screen_settings.situation_acf_paths[1]), trainer);
    std::strcpy(program_folder, folder.c_str());
    std::strcpy(default_aircraft_path, kept.c_str());
}

TEST_F(Prefs, MovieIsSituationThenReplayRing)
{
    fill_state(1);
    const std::string movie = save(PREFS_KIND_MOVIE, "take.mov");
    ASSERT_EQ(movie.size(), MOVIE_FILE_BYTES);
    fill_state(1);
    EXPECT_EQ(first_difference(movie.substr(0, MAIN_FILE_BYTES), save(PREFS_KIND_SITUATION, "take.sit")), -1);
    // Record 0: words 0..13, then 15..48 (14 and 49 are not stored).
    const plane_state_record& r0 = replay_ring[0];
    EXPECT_EQ(movie.substr(MAIN_FILE_BYTES, 14 * 4), bytes_of(r0).substr(0, 14 * 4));
    EXPECT_EQ(movie.substr(MAIN_FILE_BYTES + 14 * 4, 34 * 4), bytes_of(r0).substr(15 * 4, 34 * 4));
    EXPECT_EQ(movie.substr(MAIN_FILE_BYTES + 48 * 4, 4), bytes_of(replay_ring[1].network_time_sec));

    clear_state();
    load(PREFS_KIND_MOVIE, "take.mov");
    EXPECT_EQ(replay_ring[8999].gear[5], 0);   // word 14 is not in the file
    EXPECT_EQ(replay_ring[8999].ice, 0);       // nor word 49
    // The ring comes back whole (the general-only rows of a movie are not applied).
    EXPECT_EQ(first_difference(save(PREFS_KIND_MOVIE, "again.mov").substr(MAIN_FILE_BYTES),
                               movie.substr(MAIN_FILE_BYTES)),
              -1);
}

TEST_F(Prefs, ResolutionFileIsClampedAndApplied)
{
    screen.res_width = screen.window_width = 1280;
    screen.res_height = screen.window_height = 1024;
    screen.res_bits = 32;
    screen.requested_full_screen = 0;
    sim_operation_prefs_misc.language = 3;
    const std::string header = std::string("i") + le(3);
    EXPECT_EQ(save(PREFS_KIND_RESOLUTION, "res.prf"), header + le(1280) + le(1024) + le(32) + le(0) + le(3));
    // A size no display shows (with no display to ask, any larger than the
    // window rendered) is not saved: the window's own size is.
    screen.res_width = 1600, screen.res_height = 1200;
    EXPECT_EQ(save(PREFS_KIND_RESOLUTION, "res.prf"), header + le(1280) + le(1024) + le(32) + le(0) + le(3));

    // Stored width, height, then the window they give; a size larger than the
    // display opens the smallest window, and "ERROR.OUT" says why.
    error_log.close();
    error_log.clear();
    error_log.open(dir.path() / "ERROR.OUT");
    const int32_t cases[][4] = {
        {800, 600, 1024, 768}, {10000, 10000, 1024, 768}, {1600, 900, 1600, 900}, {9999, 9999, 1024, 768}};
    for (const auto& c : cases) {
        write_file_bytes(dir.path() / "in.prf", header + le(c[0]) + le(c[1]) + le(16) + le(1) + le(2));
        load(PREFS_KIND_RESOLUTION, "in.prf");
        EXPECT_EQ(screen.window_width, c[2]) << c[0];
        EXPECT_EQ(screen.window_height, c[3]) << c[0];
    }
    error_log.close();
    EXPECT_NE(read_file_bytes(dir.path() / "ERROR.OUT").find("The saved window size 9999 x 9999 is larger than"),
              std::string::npos);
    EXPECT_EQ(screen.colour_depth, 16);
    EXPECT_EQ(screen.full_screen, 1);
    EXPECT_EQ(sim_operation_prefs_misc.language, 2);

    // Without a resolution file the start-up's display defaults stay.
    screen.full_screen = 0;
    screen.window_width = screen.window_height = screen.colour_depth = screen.rendering_res = 1;
    screen.requested_full_screen = 0;
    name_list_nav_kind = 0;
    char kept_path[TEXT_SIZE];
    UTIL_strcpy(pref_path_resolution, kept_path);
    UTIL_strcpy(path("none.prf").c_str(), pref_path_resolution);
    STARTUP_display_defaults();
    UTIL_strcpy(kept_path, pref_path_resolution);
    EXPECT_EQ(name_list_nav_kind, 1);
    EXPECT_EQ(screen.full_screen, 1);
    EXPECT_EQ(screen.window_width, 1024);
    EXPECT_EQ(screen.window_height, 768);
    EXPECT_EQ(screen.colour_depth, 16);
    EXPECT_EQ(screen.rendering_res, 3);
    EXPECT_EQ(screen.requested_full_screen, 1);
    EXPECT_EQ(sim_operation_prefs_misc.language, -1);

    // A language without a folder is asked for again, as one not set (-1) is.
    for (int32_t wild : {7, -1, 1 << 30}) {
        write_file_bytes(dir.path() / "in.prf", header + le(1024) + le(768) + le(16) + le(1) + le(wild));
        load(PREFS_KIND_RESOLUTION, "in.prf");
        EXPECT_EQ(sim_operation_prefs_misc.language, -1) << wild;
    }
}

TEST_F(Prefs, UnknownPlanetStartsOnTheEarthAndPlanetValuesNoFlightCanUseOnThePlanetsOwn)
{
    for (int32_t planet : {PLANET_MARS, 2, -1, 1 << 30}) {
        sim_graphics_scenery.current_planet = planet;
        save(PREFS_KIND_GENERAL, "gen.prf");
        sim_graphics_scenery.current_planet = 5;
        load(PREFS_KIND_GENERAL, "gen.prf");
        EXPECT_EQ(sim_graphics_scenery.current_planet, planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH) << planet;
    }
    // Planet values no flight can start with (the Earth's radius 3e38, no
    // number, 0 or 1000 m; no air, air at absolute zero, Mars' air on the
    // Earth), left in the record by a plug-in or a peer, are saved as the
    // planet's own while the flight keeps them; read from a damaged file, the
    // planet's own stands in, with one notice naming the file. So does a
    // stored value of no number elsewhere, which keeps what it had.
    PLANET_set_constants(PLANET_EARTH);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float& fov = sim_graphics_view.field_of_view_deg;
    fov = 70.0f;
    const std::string good = save(PREFS_KIND_GENERAL, "planet.prf");
    const auto in_file = [](const float& v) { return 1258 + static_cast<size_t>(reinterpret_cast<const char*>(&v) - reinterpret_cast<const char*>(&sim_physics)); };
    const struct {
        float* place;
        size_t offset;
        float value, own;
    } rows[] = {
        {&sim_physics.earth_radius_m, in_file(sim_physics.earth_radius_m), 3.0e38f, 6378145.0f},
        {&sim_physics.earth_radius_m, in_file(sim_physics.earth_radius_m), nan, 6378145.0f},
        {&sim_physics.earth_radius_m, in_file(sim_physics.earth_radius_m), 0.0f, 6378145.0f},
        {&sim_physics.earth_radius_m, in_file(sim_physics.earth_radius_m), 1000.0f, 6378145.0f},
        {&sim_physics.earth_mu, in_file(sim_physics.earth_mu), -1.0f, 3.986012e14f},
        {&sim_physics.mu_air, in_file(sim_physics.mu_air), 0.0f, 1.7894e-05f},
        {&sim_physics.rho_sea_level, in_file(sim_physics.rho_sea_level), 1.0e30f, 1.225f},
        {&sim_physics.rho_water, in_file(sim_physics.rho_water), 0.0f, 1000.0f},
        {&sim_physics.earth_pressure_p, in_file(sim_physics.earth_pressure_p), 0.0f, 101325.0f},
        {&sim_physics.earth_pressure_p, in_file(sim_physics.earth_pressure_p), 300.0f, 101325.0f},
        {&sim_physics.earth_temp_c, in_file(sim_physics.earth_temp_c), -273.15f, 15.0f},
        {&sim_physics.earth_temp_c, in_file(sim_physics.earth_temp_c), -150.0f, 15.0f},
        {&fov, 8134, nan, 70.0f},
    };
    for (const auto& r : rows) {
        if (r.place != &fov) {
            *r.place = r.value;
            EXPECT_EQ(save(PREFS_KIND_GENERAL, "left.prf"), good) << r.offset << " " << r.value;
            EXPECT_EQ(bytes_of(*r.place), bytes_of(r.value));
            *r.place = r.own;
        }
        std::string damaged = good;
        damaged.replace(r.offset, 4, bytes_of(r.value));
        write_file_bytes(dir.path() / "bad.prf", damaged);
        clear_alerts();
        load(PREFS_KIND_GENERAL, "bad.prf");
        EXPECT_EQ(*r.place, r.own) << r.offset << " " << r.value;
        ASSERT_EQ(recorded_alerts.size(), 1u) << r.offset << " " << r.value;
        EXPECT_EQ(recorded_alerts[0].lines[1], path("bad.prf"));
    }
    // Read for a peer's situation, the notice is one of the link's refusals.
    std::string damaged = good;
    damaged.replace(in_file(sim_physics.earth_radius_m), 4, bytes_of(0.0f));
    write_file_bytes(dir.path() / "peer.sit", damaged);
    const uint64_t refused = net_counters.refused;
    clear_alerts();
    {
        const net_peer_scope peer;
        load(PREFS_KIND_SITUATION, "peer.sit");
    }
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(net_counters.refused, refused + 1);
}

TEST_F(Prefs, OtherVersionMissingOrCutShortFileChangesNothingAndIsKeptAside)
{
    fill_state(1);
    const std::string good = save(PREFS_KIND_GENERAL, "good.prf");
    std::string f = good;
    f.replace(1, 4, le(700));
    fill_state(2);
    const auto weather = sim_weather;
    const int32_t width = screen.window_width;
    load(PREFS_KIND_SITUATION, "missing.sit");
    load(PREFS_KIND_GENERAL, "missing.prf");
    // The header alone the start-up leaves after a display it could not set up.
    write_file_bytes(dir.path() / "reset.prf", std::string("i") + le(-999));
    load(PREFS_KIND_RESOLUTION, "reset.prf");
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "reset.prf"));
    // A file that is there but cannot be read is kept beside its path as
    // "<name>.damaged" (the save at quit would overwrite it), with a notice
    // naming both; its values are not applied.
    std::string noise(4000, '\0');
    for (size_t k = 0; k < noise.size(); ++k) noise[k] = static_cast<char>(k * 37 + 11);
    const struct {
        int kind;
        std::string bytes;
    } damaged[] = {{PREFS_KIND_GENERAL, f},          {PREFS_KIND_GENERAL, "i"},
                   {PREFS_KIND_GENERAL, "i\xC6\x02"}, {PREFS_KIND_GENERAL, ""},
                   {PREFS_KIND_GENERAL, noise},      {PREFS_KIND_RESOLUTION, noise},
                   {PREFS_KIND_PILOT, noise}};
    for (const auto& d : damaged) {
        clear_alerts();
        write_file_bytes(dir.path() / "cut.prf", d.bytes);
        load(d.kind, "cut.prf");
        ASSERT_EQ(recorded_alerts.size(), 1u) << d.kind << " " << d.bytes.size();
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts[0].lines[1], path("cut.prf"));
        EXPECT_EQ(recorded_alerts[0].lines[3], path("cut.prf") + ".damaged");
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "cut.prf"));
        EXPECT_EQ(read_file_bytes(dir.path() / "cut.prf.damaged"), d.bytes);
    }
    EXPECT_TRUE(bytes_of(sim_weather) == bytes_of(weather));
    EXPECT_EQ(screen.window_width, width);
    EXPECT_STREQ(start_selection.airport_id, "LFPG");

    // One cut short inside its record is read as far as it goes, then kept aside too.
    clear_alerts();
    write_file_bytes(dir.path() / "half.prf", good.substr(0, good.size() / 2));
    load(PREFS_KIND_GENERAL, "half.prf");
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(read_file_bytes(dir.path() / "half.prf.damaged"), good.substr(0, good.size() / 2));
}

TEST_F(Prefs, ShortFileAndUnterminatedTexts)
{
    start_selection.start_index = 77;
    sim_time.use_system_time = 5;
    // Header, a 500-byte path without terminator, a name, the airport, then half of the start index.
    std::string f = std::string("i") + le(710) + std::string(500, 'A');
    f += std::string("GLIDER.ACF") + std::string(490, '\0') + std::string("EDDF\0", 5) + "\x01\x02";
    write_file_bytes(dir.path() / "short.sit", f);
    load(PREFS_KIND_SITUATION, "short.sit");
    EXPECT_EQ(std::string(pln[0].acf_file_path), std::string(499, 'A'));
    EXPECT_STREQ(pln[0].acf_file_name, "GLIDER.ACF");
    EXPECT_STREQ(start_selection.airport_id, "EDDF");
    EXPECT_EQ(start_selection.start_index, 77);
    EXPECT_EQ(sim_time.use_system_time, 5);

    // Address and port texts that fill their fields keep a terminator.
    fill_state(1);
    std::string g = save(PREFS_KIND_GENERAL, "texts.prf");
    g.replace(OFF_IP_TEXTS, 16, std::string(16, '9'));
    g.replace(OFF_PORT_TEXTS, 6, std::string(6, '7'));
    write_file_bytes(dir.path() / "texts.prf", g);
    load(PREFS_KIND_GENERAL, "texts.prf");
    EXPECT_EQ(std::string(net_ip_text[0]), std::string(15, '9'));
    EXPECT_EQ(std::string(net_port_text[0]), std::string(5, '7'));
}

TEST_F(Prefs, PilotFileAndItsRefusals)
{
    write_file_bytes(dir.path() / "pilot.prf", "I\n710 version\nMY LOGBOOK.TXT\n");
    load(PREFS_KIND_PILOT, "pilot.prf");
    EXPECT_STREQ(logbook_path, "MY LOGBOOK.TXT");
    EXPECT_EQ(save(PREFS_KIND_PILOT, "out.prf"), "I\n710 version\nMY LOGBOOK.TXT\n");

    // A missing, unreadable or cut-short file gives the default name; one that
    // is there is kept aside with a notice.
    for (const char* text : {"", "I\nabc version\nMY LOGBOOK.TXT\n", "I\n", "I\n710"}) {
        clear_alerts();
        set_text(logbook_path, PILOT_NAME_SIZE, "SOMETHING.TXT");
        std::filesystem::remove(dir.path() / "pilot.prf");
        if (*text) write_file_bytes(dir.path() / "pilot.prf", text);
        load(PREFS_KIND_PILOT, "pilot.prf");
        EXPECT_STREQ(logbook_path, "ORVELL PILOT.TXT") << text;
        EXPECT_EQ(recorded_alerts.size(), *text ? 1u : 0u) << text;
    }
}

TEST_F(Prefs, BadKindOrModeIsFatal)
{
    for (auto [kind, mode] : {std::pair{3, PREFS_READ}, std::pair{6, PREFS_WRITE}, std::pair{0, 9}}) {
        const alert_record a = expect_fatal([&] { PREFS_read_write(kind, mode, path("any.prf").c_str()); });
        EXPECT_EQ(a.lines[0], "Bad pref arg!");
        EXPECT_EQ(a.code, ALERT_FATAL);
    }
}

TEST_F(Prefs, FailedWriteKeepsThePreviousFile)
{
    fill_state(1);
    const std::string good = save(PREFS_KIND_GENERAL, "keep.prf");
    fill_state(2);

    // The disk refuses the bytes part-way through (the file-size limit's
    // signal must not end the program either).
    {
        file_size_limit limit(100000);
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, path("keep.prf").c_str());
    }
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[1], path("keep.prf"));
    EXPECT_EQ(first_difference(read_file_bytes(dir.path() / "keep.prf"), good), -1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "keep.prf.partial"));

    // The temporary file cannot even be created.
    std::filesystem::create_directory(dir.path() / "keep.prf.partial");
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, path("keep.prf").c_str());
    EXPECT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(first_difference(read_file_bytes(dir.path() / "keep.prf"), good), -1);
}

TEST_F(Prefs, TextFieldTransfers)
{
    char name[TEXT_SIZE];
    std::snprintf(name, sizeof name, "%s", path("plan.fms").c_str());
    ASSERT_EQ(FILE_write_version(name, KIND_FMS, 3), 1);
    int32_t i = 42;
    float x = 1.5f;
    char word[TEXT_SIZE] = "KSEA";
    PREFS_transfer_int(1, &i, PREFS_WRITE);
    PREFS_transfer_float(1, &x, PREFS_WRITE);
    file_out << ' ';
    PREFS_transfer_string(1, word, PREFS_WRITE, TEXT_SIZE);
    file_out << '\n';
    PREFS_transfer_int(1, &i, PREFS_WRITE);
    file_out.close();
    EXPECT_EQ(read_file_bytes(dir.path() / "plan.fms"), "I\n3 version\n    42    1.500000 KSEA\n    42");

    // Read back into cleared places; a transfer with flag 0 reads without storing.
    std::snprintf(name, sizeof name, "%s", path("plan.fms").c_str());
    ASSERT_EQ(FILE_open_for_use(name, KIND_FMS, 3, 1), 1);
    i = x = word[0] = 0;
    int32_t dropped = 7;
    PREFS_transfer_int(1, &i, PREFS_READ);
    PREFS_transfer_float(1, &x, PREFS_READ);
    PREFS_transfer_string(1, word, PREFS_READ, TEXT_SIZE);
    PREFS_transfer_int(0, &dropped, PREFS_READ);
    FILE_close_current();
    EXPECT_EQ(std::make_tuple(i, x, std::string(word), dropped), std::make_tuple(42, 1.5f, std::string("KSEA"), 7));
}

}  // namespace
