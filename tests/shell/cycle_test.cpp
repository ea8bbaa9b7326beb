// The simulation cycle: the STAT block and its round robin, the PATH, SNAP and
// DATA sends, the replay ring, the weather bounds and the clock.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "platform/plat_time.h"
#include "shell/cycle.h"
#include "tests/shell/cycle_fixture.h"
#include "world/runway_outline.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "screens/screen_state.h"

namespace {

class Cycle : public SimState {};

template <class T>
T at(const std::vector<uint8_t>& bytes, size_t offset)
{
    T v{};
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

// Runs `n` cycles with the 0.1-s tick on and returns the ticks (1-based) at
// which a STAT went out, with the slot it went to.
std::vector<std::pair<int, int>> stat_ticks(int n)
{
    std::vector<std::pair<int, int>> out;
    interval_ticks[TICK_01] = 1;
    for (int t = 1; t <= n; ++t) {
        net_peer_clear();
        update_plane_cycle();
        for (const net_sent_datagram& d : net_peer_log())
            if (d.label() == "STAT") out.emplace_back(t, d.slot);
    }
    return out;
}

TEST_F(Cycle, StatBlockCarriesEveryFieldAtItsOffset)
{
    sim_graphics_settings.draw_aircrafts = 3;
    // The other planes drawn name an aircraft already, so none is chosen from the aircraft folder.
    for (int p = 1; p < 3; ++p) {
        std::snprintf(pln[p].acf_file_path, ACF_TEXT_SIZE, "AIRCRAFT:TEST.ACF");
        std::snprintf(pln[p].acf_file_name, ACF_TEXT_SIZE, "TEST.ACF");
    }
    sim_time.zulu_time_sec = 4321.5f;
    sim_time.local_date_days = 77;
    net_two_cloud_layers(sim_weather);
    sim_weather.wind_speed_kt[1] = 17.0f;
    sim_weather.shear_speed_kt[2] = 3.0f;
    sim_weather.visibility_reported_m = 9000.0f;
    sim_weather.rain_percent = 0.5f;
    sim_weather.temperature_sealevel_c = 12.0f;
    sim_weather.wave_dir = 45;
    flt[0].m_fuel2 = 321.0f;
    flt[0].failures[5] = 6;
    flt[0].failure_param[173] = 99.5f;
    enable(2);   // the cursor starts at 1, so slot 2 is served at the first tick
    interval_ticks[TICK_01] = 1;
    update_plane_cycle();

    const std::vector<net_sent_datagram> stat = sent("STAT");
    ASSERT_EQ(stat.size(), 1u);
    EXPECT_EQ(stat[0].slot, 2);
    const std::vector<uint8_t>& b = stat[0].bytes;
    ASSERT_EQ(b.size(), 6u + 1564u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), std::string("STAT\0" "0", 6));
    const std::pair<size_t, int32_t> ints[] = {{0, 0}, {4, 3}, {16, 4}, {20, 2}, {172 + 5 * 4, 6}};
    for (auto [off, v] : ints) EXPECT_EQ(at<int32_t>(b, 6 + off), v) << off;
    const std::pair<size_t, float> floats[] = {{8, 4321.5f},  {12, 77.0f},   {24, 2000.0f},    {36, 5000.0f},
                                               {80, 17.0f},   {108, 3.0f},   {112, 9000.0f},   {116, 0.5f},
                                               {128, 12.0f},  {132, 101325.0f}, {148, 45.0f},   {160, 321.0f},
                                               {868 + 173 * 4, 99.5f}};
    for (auto [off, v] : floats) EXPECT_EQ(at<float>(b, 6 + off), v) << off;
}

TEST_F(Cycle, ChangeBelowThresholdSendsNothingAboveItReachesThePeer)
{
    enable(2);
    stat_ticks(13);   // the first comparison finds everything new; one round serves slot 2
    EXPECT_TRUE(stat_ticks(26).empty());
    sim_weather.wind_speed_kt[0] += 0.4f;
    EXPECT_TRUE(stat_ticks(13).empty());
    sim_weather.wind_speed_kt[0] += 0.6f;
    EXPECT_EQ(stat_ticks(13), (std::vector<std::pair<int, int>>{{1, 2}}));
}

// Each value of the block has its own step below which a peer is not told:
// a change of 95 % of the step is kept back, one of 105 % goes out.
TEST(StatBlock, EachValueMovesPastItsOwnStep)
{
    using field = float stat_block::*;
    const std::pair<field, float> steps[] = {
        {&stat_block::zulu_time_sec, 216.0f},      {&stat_block::local_date_days, 0.1f},
        {&stat_block::visibility_reported_m, 250.0f}, {&stat_block::rain_percent, 0.1f},
        {&stat_block::thunderstorm_percent, 0.1f}, {&stat_block::temperature_sealevel_c, 0.5f},
        {&stat_block::earth_pressure_p, 1.0f},     {&stat_block::wave_amplitude, 0.5f},
        {&stat_block::wave_length, 0.5f},          {&stat_block::wave_speed, 0.5f},
        {&stat_block::wave_dir, 0.5f},             {&stat_block::m_fixed, 0.5f},
        {&stat_block::m_jettison, 0.5f}};
    stat_block sent{};
    sent.zulu_time_sec = 1000.0f;
    sent.visibility_reported_m = 9000.0f;
    sent.earth_pressure_p = 100000.0f;
    for (auto [f, step] : steps) {
        for (auto [share, told] : {std::pair{0.95f, 0}, std::pair{1.05f, 1}}) {
            stat_block now = sent;
            now.*f += share * step;
            EXPECT_EQ(STAT_changed(sent, now), told) << step << " x " << share;
        }
    }
    // Layer heights move by more than 50 m, winds by more than half a unit.
    stat_block now = sent;
    now.cloud_base_msl_m[1] = 45.0f;
    now.wind_altitude_msl_m[2] = 45.0f;
    now.wind_direction_degt[0] = 0.45f;
    EXPECT_EQ(STAT_changed(sent, now), 0);
    now.cloud_tops_msl_m[1] = 55.0f;
    EXPECT_EQ(STAT_changed(sent, now), 1);
}

TEST_F(Cycle, RoundRobinServesOneSlotPerTick)
{
    enable(9);
    // The cursor goes 2, 3, ... and reaches 9 at the eighth tick.
    EXPECT_EQ(stat_ticks(13), (std::vector<std::pair<int, int>>{{8, 9}}));
    // A mode change marks every peer again; slot 9 is visited again 13 ticks after the last time.
    app_mode = 5;
    EXPECT_EQ(stat_ticks(13), (std::vector<std::pair<int, int>>{{8, 9}}));

    // A change made while no peer is enabled is found at the first tick after one is.
    net_slot_enabled[9] = 0;
    sim_weather.visibility_reported_m += 5000.0f;
    EXPECT_TRUE(stat_ticks(13).empty());
    enable(9);
    EXPECT_EQ(stat_ticks(13).size(), 1u);
}

// The user plane travels as plane 1; a path travels from the character at the
// program folder's length on, and one shorter than the folder travels empty.
TEST_F(Cycle, PathTravelsFromTheProgramFolderLengthOn)
{
    set_program_folder("/prog/");
    sim_graphics_settings.draw_aircrafts = 4;
    std::snprintf(pln[0].acf_file_path, 500, "/prog/Aircraft/Own.acf");
    std::snprintf(pln[2].acf_file_path, 500, "/elsewhere/Other.acf");
    std::snprintf(pln[3].acf_file_path, 500, "/x");
    enable(0);
    interval_ticks[TICK_01] = 1;
    std::vector<std::pair<int, std::string>> paths;
    for (int t = 0; t < 4 * 13; ++t) {
        net_peer_clear();
        update_plane_cycle();
        for (const net_sent_datagram& d : sent("PATH")) {
            ASSERT_EQ(d.slot, 0);
            const std::vector<uint8_t> pl = d.payload();
            ASSERT_FALSE(pl.empty());
            EXPECT_EQ(pl.back(), 0);   // the terminator travels
            paths.emplace_back(d.index(), std::string(reinterpret_cast<const char*>(pl.data())));
        }
    }
    pln[2] = acf_struct{};
    pln[3] = acf_struct{};
    EXPECT_EQ(paths, (std::vector<std::pair<int, std::string>>{{2, "here/Other.acf"}, {3, ""}, {1, "Aircraft/Own.acf"}}));
}

TEST_F(Cycle, ReplayRingRecordsOnePerTickWrapsAndStopsWhileReplaying)
{
    sim_time.total_flight_time_sec = 10.0f;
    sim_network_misc.network_time_sec = 123.0f;
    update_plane_cycle();
    EXPECT_EQ(replay_index, 0);   // no 0.1-s flag, no record

    // Each record holds the network clock as the frame found it (the plane
    // step then moves the clock on by the frame period).
    interval_ticks[TICK_01] = 1;
    float clock = sim_network_misc.network_time_sec;
    update_plane_cycle();
    EXPECT_EQ(replay_index, 1);
    EXPECT_EQ(replay_ring[1].network_time_sec, clock);
    EXPECT_EQ(replay_ring[2].network_time_sec, 0.0f);

    replay_index = 8999;
    replay_ring[1].network_time_sec = 55.0f;
    clock = sim_network_misc.network_time_sec;
    update_plane_cycle();
    EXPECT_EQ(replay_index, 0);
    EXPECT_EQ(replay_ring[0].network_time_sec, clock);
    EXPECT_EQ(replay_ring[1].network_time_sec, 0.0f);   // the end mark

    sim_operation_prefs.replay_mode = 5;
    update_plane_cycle();
    EXPECT_EQ(replay_index, 0);

    sim_operation_prefs.replay_mode = 0;
    APPLICATION_handlemenu(1034);
    for (const plane_state_record& r : replay_ring) ASSERT_EQ(r.network_time_sec, 0.0f);
}

TEST_F(Cycle, SnapGoesToPeerAndMonitorsAlsoWhilePaused)
{
    sim_graphics_settings.draw_aircrafts = 2;
    for (int slot : {0, 1, 10}) enable(slot);   // peer, monitor, instructor
    interval_ticks[TICK_005] = 1;
    flt[1].local_vx = 10.0f;   // the peer's plane, dead-reckoned between its records
    update_plane_cycle();
    std::vector<std::pair<int, int>> got;   // (slot, index)
    for (const net_sent_datagram& d : sent("SNAP")) {
        EXPECT_EQ(d.payload().size(), 200u);
        got.emplace_back(d.slot, d.index());
    }
    // Planes 1 and 0 to the monitor (slot 1) and the instructor (10), plane 1
    // to the peer (slot 0); the order across slots and planes is no part of
    // the protocol.
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 1}, {10, 0}, {10, 1}}));
    // Both planes stepped: the peer's moved on, the user's flew a frame.
    EXPECT_FLOAT_EQ(flt[1].local_x, 10.0f * 0.05f);
    EXPECT_FLOAT_EQ(sim_time.total_flight_time_sec, 0.05f);
    EXPECT_FLOAT_EQ(sim_time.zulu_time_sec, 0.05f);   // the systems step ran first and moved the clock on

    clear_logs();
    sim_time.paused = 1;
    interval_ticks[TICK_005] = 0;
    update_plane_cycle();
    EXPECT_EQ(sent("SNAP").size(), 4u);   // the monitor and the instructor still get both planes
    EXPECT_FLOAT_EQ(flt[1].local_x, 10.0f * 0.05f);   // paused: no plane step
    EXPECT_FLOAT_EQ(sim_time.total_flight_time_sec, 0.05f);
}

TEST_F(Cycle, DataRowsTravelInDatagramsOfAtMost77Rows)
{
    enable(12);
    // All 200 selection entries set: only the 107 groups take a record.
    for (int g = 0; g < 200; ++g) sim_network_dataout.data_to_internet[g] = 1;
    sim_network_dataout.network_data_rate = 0.0f;   // taken as once a second
    frame_clock = 2.0f;
    update_plane_cycle();
    const std::vector<net_sent_datagram> data = sent("DATA");
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0].payload().size(), 77u * 36u);
    EXPECT_EQ(data[1].payload().size(), 30u * 36u);
    EXPECT_EQ(at<int32_t>(data[0].bytes, 6), 0);
    EXPECT_EQ(at<int32_t>(data[1].bytes, 6), 77);
    EXPECT_EQ(at<int32_t>(data[1].bytes, 6 + 29 * 36), 106);

    clear_logs();
    frame_clock = 2.5f;   // not yet a second later
    update_plane_cycle();
    EXPECT_TRUE(sent("DATA").empty());

    // At 20 a second with frames 0.02 s apart a send needs more than
    // 1/20 - 0.01 = 0.04 s since the last: the frame at +0.06 s sends, not
    // those at +0.02 and +0.04; above 50 counts as 50 (0.01 s apart).
    sim_network_dataout.network_data_rate = 20.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    frame_clock = 4.0f;
    update_plane_cycle();
    for (const float t : {4.02f, 4.04f, 4.06f}) {
        clear_logs();
        frame_clock = t;
        update_plane_cycle();
        EXPECT_EQ(sent("DATA").empty(), t < 4.05f) << t;
    }
    sim_network_dataout.network_data_rate = 500.0f;
    clear_logs();
    frame_clock = 4.068f;   // 0.008 s after the last: not more than 1/50 - 0.01
    update_plane_cycle();
    EXPECT_TRUE(sent("DATA").empty());
    frame_clock = 4.073f;   // 0.013 s after it: more than 1/50 - 0.01
    update_plane_cycle();
    EXPECT_FALSE(sent("DATA").empty());
}

TEST_F(Cycle, GraphOutputTakesAtMostFiveGroups)
{
    for (int g = 100; g < 107; ++g) sim_network_dataout.data_to_graph[g] = 1;
    sim_cockpit_warnings.annunciator_test_timeout = 2.5f;   // group 100, value 0
    sim_joystick.has_joystick = 1;                          // a yaw axis: pedals without toe brakes,
    sim_joystick.joystick_axis_assignments[0] = 3;          // group 104, value 0
    interval_ticks[TICK_005] = 1;
    update_plane_cycle();
    const int c = graph_history.column;
    EXPECT_EQ(graph_history.value[0][c], 2.5f);
    EXPECT_EQ(graph_history.value[4 * 8][c], 1.0f);   // the fifth graphed group is group 104; 105 has no rows

    // Paused, the graph takes no samples.
    sim_time.paused = 1;
    interval_ticks[TICK_005] = 1;
    update_plane_cycle();
    EXPECT_EQ(graph_history.column, c);
}

TEST_F(Cycle, WeatherIsHeldWithinItsBounds)
{
    sim_weather.rain_percent = 0.05f;
    sim_weather.thunderstorm_percent = 0.3f;
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_type[1] = 2;
    const float wind_in[3] = {-10.0f, 360.0f, 725.0f}, wind_out[3] = {350.0f, 360.0f, 5.0f};
    std::copy(wind_in, wind_in + 3, sim_weather.wind_direction_degt);
    sim_weather.visibility_reported_m = 1.0e6f;
    sim_weather.wind_speed_kt[0] = NAN;
    update_plane_cycle();
    EXPECT_EQ(sim_weather.cloud_type[0], 4);
    EXPECT_FLOAT_EQ(sim_weather.rain_percent, 0.3f);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[i], wind_out[i]) << i;
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 46300.0f);
    EXPECT_EQ(sim_weather.wind_speed_kt[0], 0.0f);
    EXPECT_FLOAT_EQ(sim_weather.cloud_tops_msl_m[1], sim_weather.cloud_base_msl_m[1] + 304.8f);

    // The layers stack from 15.2 m above the selected airport to the top of the
    // sky (99,999 ft = 30,479.695 m), each at least 1,000 ft above the one below;
    // a type-1 layer has no depth and a type-2 or 3 layer is 1,000 ft deep.
    start_selection.airport_index = add_airport("KTST", 34.5f, -117.5f, 1, 0);
    airport_table.back().elevation = 100.0f;
    struct layers { int type0, type1; float base0, tops0, base1, tops1; };
    const layers cases[][2] = {
        {{0, 0, 1.0e6f, 0.0f, 0.0f, 0.0f}, {0, 0, 29565.295f, 29870.095f, 30174.895f, 30479.695f}},
        {{1, 3, 0.0f, 0.0f, 0.0f, 1.0e6f}, {1, 3, 115.2f, 115.2f, 724.8f, 1029.6f}},
    };
    for (const auto& [in, out] : cases) {
        sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
        sim_weather.cloud_type[0] = in.type0;
        sim_weather.cloud_type[1] = in.type1;
        sim_weather.cloud_base_msl_m[0] = in.base0;
        sim_weather.cloud_tops_msl_m[0] = in.tops0;
        sim_weather.cloud_base_msl_m[1] = in.base1;
        sim_weather.cloud_tops_msl_m[1] = in.tops1;
        update_plane_cycle();
        EXPECT_EQ(sim_weather.cloud_type[0], out.type0);
        EXPECT_NEAR(sim_weather.cloud_base_msl_m[0], out.base0, 0.01f) << in.type0;
        EXPECT_NEAR(sim_weather.cloud_tops_msl_m[0], out.tops0, 0.01f) << in.type0;
        EXPECT_NEAR(sim_weather.cloud_base_msl_m[1], out.base1, 0.01f) << in.type0;
        EXPECT_NEAR(sim_weather.cloud_tops_msl_m[1], out.tops1, 0.01f) << in.type0;
    }

    // The other bounds, each value pushed past one end (paused: the weather
    // does not then move on after the bounds).
    sim_time.paused = 1;
    sim_weather.visibility_reported_m = 10.0f;
    sim_weather.wind_turbulence_percent = -1.0f;
    sim_weather.microburst_probability = 2.0f;
    sim_weather.shear_direction_degt[1] = 200.0f;
    sim_weather.shear_speed_kt[2] = 60.0f;
    sim_weather.wind_speed_kt[1] = 120.0f;
    sim_weather.turbulence[0] = 12.0f;
    sim_weather.rate_change_percent = -3.0f;
    update_plane_cycle();
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 185.2f);
    EXPECT_EQ(sim_weather.wind_turbulence_percent, 0.0f);
    EXPECT_EQ(sim_weather.microburst_probability, 1.0f);
    EXPECT_EQ(sim_weather.shear_direction_degt[1], 180.0f);
    EXPECT_EQ(sim_weather.shear_speed_kt[2], 50.0f);
    EXPECT_EQ(sim_weather.wind_speed_kt[1], 100.0f);
    EXPECT_EQ(sim_weather.turbulence[0], 9.0f);
    EXPECT_EQ(sim_weather.rate_change_percent, -1.0f);
}

int64_t fixed_calendar() { return 82800; }   // 1970-01-01 23:00:00 UTC

TEST_F(Cycle, ClockFollowsTheSystemTimeOnlyWhenAsked)
{
    setenv("TZ", "UTC", 1);
    tzset();
    PLAT_set_clock_source(nullptr, fixed_calendar);
    sim_time.paused = 1;   // the systems step, which moves the clock on by the frame, stays out
    sim_time.zulu_time_sec = 5.0f;
    update_plane_cycle();
    EXPECT_EQ(sim_time.zulu_time_sec, 5.0f);

    sim_time.use_system_time = 1;   // the plane at the frame centre, longitude -116.5: zone -8
    const std::pair<float, float> zone_zulu[] = {{-8.0f, 82800.0f}, {-7.0f, 86400.0f}, {-6.0f, 3600.0f}};
    for (auto [zone, zulu] : zone_zulu) {   // 86,400 itself stays
        screen_settings.zone_offset_hours = zone;
        update_plane_cycle();
        EXPECT_EQ(sim_time.local_time_sec, 82800.0f);
        EXPECT_EQ(sim_time.zulu_time_sec, zulu) << zone;
    }
    PLAT_set_clock_source(nullptr, nullptr);
}

TEST_F(Cycle, ZuluTimeEndsWithinTheDayForAnyZoneCorrection)
{
    setenv("TZ", "UTC", 1);
    tzset();
    PLAT_set_clock_source(nullptr, fixed_calendar);
    sim_time.paused = 1;            // the systems step, which moves the clock on by the frame, stays out
    update_plane_cycle();           // places the plane at longitude -116.5: zone -8
    sim_time.use_system_time = 1;
    // 82,800 + (2,393 + 8) x 3,600 is 101 whole days: 86,400 stays.
    screen_settings.zone_offset_hours = 2393.0f;
    update_plane_cycle();
    EXPECT_EQ(sim_time.zulu_time_sec, 86400.0f);
    screen_settings.zone_offset_hours = -32.5f;   // 82,800 - 32.5 h + 8 h is -5,400: a day is added
    update_plane_cycle();
    EXPECT_EQ(sim_time.zulu_time_sec, 81000.0f);
    // A preference file's huge value once kept subtracting a day that the float could not take off.
    for (float zone : {1.0e12f, -1.0e12f, 3.0e38f}) {
        screen_settings.zone_offset_hours = zone;
        update_plane_cycle();
        EXPECT_GE(sim_time.zulu_time_sec, 0.0f) << zone;
        EXPECT_LE(sim_time.zulu_time_sec, 86400.0f) << zone;
    }
    PLAT_set_clock_source(nullptr, nullptr);
}

// East of the frame centre the meridians lean towards the centre's meridian,
// so a velocity along the frame's north has an eastward part at the plane.
TEST_F(Cycle, UserPlanePositionAndVelocityAtItsOwnPlace)
{
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 35.0, -115.5, 500.0);   // one degree east of the centre
    flt[0].local_x = x;
    flt[0].local_y = y;
    flt[0].local_z = z;
    flt[0].local_vz = -100.0f;
    pln[0].acf_h_eqlbm = 2.0f;
    TEST_lay_flat_grid(100.0f);
    net_origin_by_network = 1;   // the origin stays where it is
    update_plane_cycle();
    EXPECT_NEAR(flt[0].elevation, 500.0f, 1.0f);
    EXPECT_NEAR(flt[0].latitude, 35.0f, 0.001f);
    EXPECT_NEAR(flt[0].ve, 1.0f, 0.1f);   // 100 x sin 1 deg x sin 35 deg
    EXPECT_NEAR(flt[0].vs, -100.0f, 0.1f);
    EXPECT_NEAR(flt[0].y_agl, y - 2.0f - 100.0f, 0.11f);   // the ground's small bumps
    EXPECT_EQ(lon_ref, -118.0f);

    // 2.5 degrees east of the corner is past the eastern margin: the block steps east.
    flt[0].local_x = x;
    flt[0].local_z = z;
    net_origin_by_network = 0;
    update_plane_cycle();
    EXPECT_EQ(lon_ref, -117.0f);
    EXPECT_EQ(lat_ref, 34.0f);
}

TEST_F(Cycle, IndicatedAltitudeAndLaggedClimbRate)
{
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 35.0, -116.5, 1000.0);   // the frame's centre
    flt[0].local_x = x;
    flt[0].local_y = y;
    flt[0].local_z = z;
    flt[0].local_vy = 5.0f;
    flt[0].vh_ind = 10.0f;
    sim_physics.earth_pressure_p = 101325.0f;        // 29.92 inches of mercury
    sim_cockpit_misc.barometer_setting = 30.92f;     // one inch above it: 1,000 ft more
    net_origin_by_network = 1;
    app_mode = 996;   // positions only, no flight-model step afterwards
    update_plane_cycle();
    EXPECT_NEAR(flt[0].h_ind - flt[0].elevation, 304.72f, 0.05f);
    EXPECT_NEAR(flt[0].vh_ind, 5.0f * 0.05f + 0.95f * 10.0f, 0.01f);   // 9.75 with dt 0.05
}

TEST_F(Cycle, ScreensRunTheirRoutineAndMarsCarriesOnePlane)
{
    // The weather screen (mode 8) derives the sea waves on its second tab.
    weather_screen.weather_tab = 1;
    sim_weather.wave_amplitude = 1.0f;
    sim_weather.wave_length = 0.0f;
    for (int mode : {8, 23, 996}) {
        app_mode = mode;
        update_plane_cycle();
    }
    EXPECT_NEAR(sim_weather.wave_length, 12.0f, 1e-4f);
    EXPECT_EQ(map_origin_y, 225.0f);   // the operator panel laid out screen 23's map

    app_mode = 0;
    sim_graphics_scenery.current_planet = 1;
    sim_graphics_settings.draw_aircrafts = 5;
    update_plane_cycle();
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 1);
}

}  // namespace
