// The receive pass: heads, byte order, the simple labels, and every datagram
// that cannot be applied whole dropped with one line and nothing applied.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/input.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/plane_state.h"
#include "core/alert.h"
#include "links/net_peer_settings.h"
#include "links/net_receive.h"
#include "shell/prefs.h"
#include "screens/network_screen.h"
#include "tests/links/net_fixture.h"
#include "world/scenery_area.h"

namespace {

class Receive : public NetState {};

std::vector<uint8_t> ints(std::initializer_list<int32_t> v)
{
    std::vector<uint8_t> out(v.size() * 4);
    std::memcpy(out.data(), v.begin(), out.size());
    return out;
}

TEST_F(Receive, BadHeadsAreExplainedEvenWithoutTheTrace)
{
    receive_text("FAIL", 3, "\x05");
    EXPECT_EQ(flt[0].failures[5], 6);
    flt[0].failures[5] = 0;
    const uint8_t f = 5;
    receive("FAIL", 3, '2', &f, 1);   // mark "2"
    frame_clock += 1.0f;               // a second on: the next refusal has a line of its own
    receive("FAIL", 3, '0', nullptr, 0);   // exactly the 6-byte head
    EXPECT_EQ(flt[0].failures[5], 0);
    const std::string log = error_text();
    EXPECT_EQ(error_lines(), 2) << log;
    EXPECT_NE(log.find("payload size is 1"), std::string::npos);
    EXPECT_NE(log.find("label    [0->3]=FAIL"), std::string::npos);
    EXPECT_NE(log.find("index    [4   ]=3"), std::string::npos);
    EXPECT_NE(log.find("0/1 check[5   ]=50"), std::string::npos);
    EXPECT_NE(log.find("payload size is 0"), std::string::npos);
}

// A sender that keeps sending what is refused gets one line a second: the
// refusals are counted by label and reason and summed up.
TEST_F(Receive, RefusalsAreSummedUpInOneLineASecond)
{
    plane_state_record far{};
    PLANE_pack_state(far, 1);
    far.local_y = 3.0e9f;
    const uint8_t f = 5;
    receive_record("SNAP", 1, far);   // the first: its own explanation at once
    ASSERT_EQ(error_lines(), 1);
    EXPECT_NE(error_text().find("Dropped a \"SNAP\" datagram (index 1): its local_y is 3e+09, outside the "
                                "height range -32000 to 310000."),
              std::string::npos)
        << error_text();
    for (int pass = 0; pass < 3; ++pass) {
        frame_clock += 0.3f;   // within the second: counted, not written
        for (int k = 0; k < 100; ++k) ASSERT_TRUE(net_peer_send("SNAP", 1, '0', &far, sizeof far));
        for (int k = 0; k < 50; ++k) ASSERT_TRUE(net_peer_send("FAIL", 1, '7', &f, 1));
        for (int k = 0; k < 20; ++k) ASSERT_TRUE(net_peer_send("WXYZ", 1, '0', &f, 1));
        NET_receive();
        EXPECT_EQ(error_lines(), 1) << error_text();
    }
    frame_clock += 0.1f;
    NET_receive();   // a second after the last line, with nothing new
    ASSERT_EQ(error_lines(), 2) << error_text();
    // Labels no handler knows do nothing: counted, never written.
    EXPECT_NE(error_text().find("Refused 450 datagrams in 1.0 s: SNAP height out of range 300, "
                                "FAIL bad head 150.\n"),
              std::string::npos)
        << error_text();
    EXPECT_EQ(net_counters.refused, 511u);
    NET_receive();
    EXPECT_EQ(error_lines(), 2);   // nothing left to say
}

// A block from a big-endian sender: every word reversed on the wire.
// What a peer sets lasts for the flight: written, the preferences hold the
// user's own settings and destinations until the user changes them again;
// the destinations a peer switched on are known as the peer's.
TEST_F(Receive, APeersSettingsAndDestinationsAreNotSavedAsTheUsers)
{
    const std::string path = (dir_.path() / "gen.prf").string();
    auto saved = [&] {
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, path.c_str());
        return read_file_bytes(path);
    };
    float& fov = sim_graphics_view.field_of_view_deg;
    fov = 60.0f;
    sim_graphics_settings.autogen_level = 1;
    const std::string users = saved();
    char ip[NET_IP_TEXT_SIZE], port[NET_PORT_TEXT_SIZE];
    std::memcpy(ip, net_ip_text[15], sizeof ip);
    std::memcpy(port, net_port_text[15], sizeof port);
    receive_record("GSET", 24, 179.0f);
    receive_record("GSET", 6, 5.0f);
    receive_record("ISET", 3, net_iset_record{"10.9.8.7", "4000", 1});
    receive_record("ISET", 15, net_iset_record{"10.9.8.7", "4001", 1});
    EXPECT_EQ(fov, 179.0f);
    EXPECT_TRUE(NET_slot_set_by_peer(3) && NET_slot_set_by_peer(15));
    EXPECT_EQ(saved(), users);
    EXPECT_EQ(fov, 179.0f);   // the peer's for the rest of the flight

    // The user's own change is the user's: the slot's port typed over, the view set.
    std::strcpy(net_port_text[15], "4002");
    fov = 70.0f;
    const std::string changed = saved();
    EXPECT_NE(changed, users);
    EXPECT_FALSE(NET_slot_set_by_peer(15));
    fov = 60.0f;   // and back: the user's first values
    std::memcpy(net_ip_text[15], ip, sizeof ip);
    std::memcpy(net_port_text[15], port, sizeof port);
    net_slot_enabled[15] = 0;
    EXPECT_EQ(saved(), users);
}

// A notice a peer's command would raise is refused, and its log line keeps
// every line of it: the file named and the reason.
TEST_F(Receive, ARefusedNoticeIsLoggedWithAllItsLines)
{
    {
        const net_peer_scope peer;
        MACIBM_nuke_alert(0, "The picture could not be saved:", "/disk/shot_1.bmp", "Check that its folder exists",
                          "and that the disk is writable and not full (No space left on device).", ALERT_NOTICE);
    }
    NET_report_refusals();
    EXPECT_NE(error_text().find("Dropped a \"KSTM\" datagram (index 0): The picture could not be saved: "
                                "/disk/shot_1.bmp Check that its folder exists and that the disk is writable and "
                                "not full (No space left on device).\n"),
              std::string::npos)
        << error_text();
}

TEST_F(Receive, SharedStateFromABigEndianSenderSetsTimeWeatherAndFailures)
{
    stat_block s{};
    s.draw_aircrafts = 2;
    s.zulu_time_sec = 4321.0f;
    s.local_date_days = 123.9f;
    net_two_cloud_layers(s);
    s.wind_speed_kt[2] = 33.0f;
    s.wind_direction_degt[1] = 270.0f;
    s.weather_seed = 0;   // unchanged
    s.m_fixed = 90.0f;
    s.failures[173] = 6;
    s.failure_countdown[173] = 12.5f;
    s.temperature_sealevel_c = 15.0f, s.earth_pressure_p = 101325.0f;
    enable(10);   // this machine is instructed: it takes the failures
    flt[0].failures[10] = 3;
    std::fill(std::begin(storm_grid), std::end(storm_grid), -7.0f);
    receive_record("STAT", 0, big_endian(s), '1');

    EXPECT_EQ(sim_time.zulu_time_sec, 4321.0f);
    EXPECT_EQ(sim_time.local_date_days, 123);
    EXPECT_EQ(sim_weather.cloud_type[0], 4);
    EXPECT_EQ(sim_weather.cloud_base_msl_m[1], 5000.0f);
    EXPECT_EQ(sim_weather.cloud_tops_msl_m[0], 2000.0f);
    EXPECT_EQ(sim_weather.wind_speed_kt[2], 33.0f);
    EXPECT_EQ(sim_weather.wind_direction_degt[1], 270.0f);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 2);
    EXPECT_EQ(flt[0].m_fixed, 90.0f);
    EXPECT_EQ(flt[0].failures[173], 6);
    EXPECT_EQ(flt[0].failure_param[173], 12.5f);
    EXPECT_EQ(flt[0].failures[10], 0);
    EXPECT_EQ(storm_grid[100], -7.0f);   // the same seed builds no storm

    // The weather fields not set above (the block's offsets are checked where it is declared).
    s.visibility_reported_m = 9000.0f, s.rain_percent = 0.3f, s.thunderstorm_percent = 0.2f;
    s.turbulence[1] = 0.4f, s.shear_direction_degt[0] = 90.0f, s.shear_speed_kt[2] = 12.0f;
    s.wind_altitude_msl_m[2] = 8000.0f, s.temperature_sealevel_c = 21.0f, s.earth_pressure_p = 101000.0f;
    s.wave_amplitude = 1.5f, s.wave_length = 40.0f, s.wave_speed = 6.0f, s.wave_dir = 200.7f;
    receive_record("STAT", 0, s);
    const sim_weather_block& w = sim_weather;
    EXPECT_EQ(w.visibility_reported_m, 9000.0f);
    EXPECT_EQ(w.rain_percent, 0.3f);
    EXPECT_EQ(w.thunderstorm_percent, 0.2f);
    EXPECT_EQ(w.turbulence[1], 0.4f);
    EXPECT_EQ(w.shear_direction_degt[0], 90.0f);
    EXPECT_EQ(w.shear_speed_kt[2], 12.0f);
    EXPECT_EQ(w.wind_altitude_msl_m[2], 8000.0f);
    EXPECT_EQ(sim_physics.earth_temp_c, 21.0f);   // the sea-level temperature is the planet's
    EXPECT_EQ(sim_physics.earth_pressure_p, 101000.0f);
    EXPECT_EQ(w.wave_amplitude, 1.5f);
    EXPECT_EQ(w.wave_length, 40.0f);
    EXPECT_EQ(w.wave_speed, 6.0f);
    EXPECT_EQ(w.wave_dir, 200);

    s.weather_seed = 77;   // a new seed rebuilds every block
    receive_record("STAT", 0, s);
    EXPECT_EQ(weather_seed, 77);
    EXPECT_GE(storm_grid[100], 0.0f);

    // On the weight and fuel screen, or with a multiplayer peer, the weights stay.
    s.m_fixed = 150.0f;
    app_mode = MODE_WEIGHT_FUEL;
    receive_record("STAT", 0, s);
    app_mode = MODE_FLYING;
    enable(0);
    receive_record("STAT", 0, s);
    EXPECT_EQ(flt[0].m_fixed, 90.0f);
}

TEST_F(Receive, SimpleLabels)
{
    // Chat text is never turned, even from a big-endian sender.
    receive("MESS", 0, '1', "Hello there", 12);
    EXPECT_STREQ(net_mess_rcv, "Hello there");
    const std::string long_text(300, 'm');
    receive_text("MESS", 0, long_text);
    EXPECT_EQ(std::string(net_mess_rcv), std::string(149, 'm'));

    const uint8_t f = 200;   // above 173: the last failure
    receive("FAIL", 0, '0', &f, 1);
    EXPECT_EQ(flt[0].failures[173], 6);
    receive("RECO", 0, '1', &f, 1);
    EXPECT_EQ(flt[0].failures[173], 0);

    // 80 bytes of data records: two records, the last 8 bytes ignored, though
    // they begin a third record (group 8 with 0.75 in value 0).
    data_record r[2] = {{8, {0.5f, -999, -999, -999, -999, -999, -999, -999}},
                        {13, {-999, 0.25f, -999, -999, -999, -999, -999, -999}}};
    std::vector<uint8_t> data(80, 0);
    std::memcpy(data.data(), r, sizeof r);
    const int32_t spare_group = 8;
    const float spare_value = 0.75f;
    std::memcpy(data.data() + 72, &spare_group, 4);
    std::memcpy(data.data() + 76, &spare_value, 4);
    receive("DATA", 0, '0', data.data(), data.size());
    EXPECT_EQ(sim_joystick.yolk_pitch_ratio, 0.5f);
    EXPECT_EQ(flt[0].parkbrake, 0.25f);
    EXPECT_EQ(net_data_rcv[1].group, 13);

    // Selections by their least significant byte; a payload too short for one entry selects nothing.
    const std::vector<uint8_t> sel = ints({3, 256 + 4});
    receive("DSEL", 0, '0', sel.data(), sel.size());
    EXPECT_TRUE(sim_network_dataout.data_to_internet[3] && sim_network_dataout.data_to_internet[4]);
    receive("USEL", 0, '0', sel.data(), 4);
    EXPECT_FALSE(sim_network_dataout.data_to_internet[3]);
    receive("DCOC", 0, '0', sel.data(), 3);
    EXPECT_EQ(std::count(std::begin(sim_network_dataout.data_to_screen), std::end(sim_network_dataout.data_to_screen), 1), 0);
    // The screen's selections are the other list.
    const std::vector<uint8_t> row = ints({7});
    receive("DCOC", 0, '0', row.data(), row.size());
    EXPECT_EQ(sim_network_dataout.data_to_screen[7], 1);
    EXPECT_EQ(sim_network_dataout.data_to_internet[7], 0);
    receive("DSEL", 0, '0', row.data(), row.size());
    receive("UCOC", 0, '0', row.data(), row.size());
    EXPECT_EQ(sim_network_dataout.data_to_screen[7], 0);
    EXPECT_EQ(sim_network_dataout.data_to_internet[7], 1);

    // A click at two four-digit texts; a blank in place of a zero reads as -1.
    receive("MOUS", 0, '0', "05120384", 8);
    EXPECT_EQ(mouse.mouse_x, 512.0f);
    EXPECT_EQ(mouse.mouse_y, 384.0f);
    receive("MOUS", 0, '1', "0512 384", 8);
    EXPECT_EQ(mouse.mouse_x, 512.0f);
    EXPECT_EQ(mouse.mouse_y, -1.0f);

    // A destination slot from outside: texts cut to their fields, only the flag word turned.
    net_iset_record iset{};
    std::memcpy(iset.ip, "192.168.100.200!", 16);   // no terminator
    std::memcpy(iset.port, "4900012", 8);
    iset.enabled = 1 << 24;   // a big-endian 1: only this word is turned
    receive_record("ISET", 4, iset, '1');
    EXPECT_STREQ(net_ip_text[4], "192.168.100.200");
    EXPECT_STREQ(net_port_text[4], "49000");
    EXPECT_EQ(net_slot_enabled[4], 1);

    const std::vector<uint8_t> fix = ints({31, 5, 6});
    receive("FIX_", 0, '0', fix.data(), fix.size());
    EXPECT_EQ(net_fix_table[31][1], 5);
    EXPECT_EQ(error_lines(), 0) << error_text();

    // On a screen the user has open, a click (here in its top-left box, which
    // closes it) and a key are refused before they touch the pointer.
    const uint64_t refused = net_counters.refused;
    app_mode = MODE_WEATHER;
    receive("MOUS", 0, '0', "00100758", 8);
    receive("CHAR", 0, '0', "\r", 1);
    EXPECT_EQ(app_mode, MODE_WEATHER);
    EXPECT_EQ(mouse.mouse_x, 512.0f);
    EXPECT_EQ(net_counters.refused, refused + 2);
    app_mode = MODE_FLYING;
}

TEST_F(Receive, RingSlotsAreHandledInOrderFromSlotZero)
{
    auto put = [](int k, const char* text) {
        std::memset(net_link.net_ring[k], 0, NET_RING_BYTES);
        std::memcpy(net_link.net_ring[k], "MESS\0" "0", 6);
        std::strcpy(reinterpret_cast<char*>(net_link.net_ring[k]) + 6, text);
        net_link.net_ring_len[k] = 6 + static_cast<int>(std::strlen(text)) + 1;
    };
    put(99, "later slot");
    put(0, "first slot");
    NET_receive();
    EXPECT_STREQ(net_mess_rcv, "later slot");
    EXPECT_EQ(net_link.net_ring[0][0], 0);
    EXPECT_EQ(net_link.net_ring[99][0], 0);

    // While the alert box is up, datagrams are dropped without a word.
    put(5, "dropped");
    app_mode = MODE_ALERT;
    NET_receive();
    EXPECT_STREQ(net_mess_rcv, "later slot");
    EXPECT_EQ(error_lines(), 0);
}

// The state a refused datagram must leave as it found.
struct watched_state {
    std::vector<uint8_t> bytes;
    static void add(std::vector<uint8_t>& b, const void* p, size_t n)
    {
        const auto* c = static_cast<const uint8_t*>(p);
        b.insert(b.end(), c, c + n);
    }
    static watched_state now()
    {
        watched_state w;
        add(w.bytes, flt, sizeof(flt_struct) * 3);
        add(w.bytes, &sim_weather, sizeof sim_weather);
        add(w.bytes, &sim_network_dataout, sizeof sim_network_dataout);
        add(w.bytes, &sim_graphics_settings, sizeof sim_graphics_settings);
        add(w.bytes, &sim_graphics_view, sizeof sim_graphics_view);
        add(w.bytes, net_slot_enabled, sizeof net_slot_enabled);
        add(w.bytes, net_ip_text, sizeof net_ip_text);
        add(w.bytes, net_peer_heard, sizeof net_peer_heard);
        add(w.bytes, net_fix_table, sizeof net_fix_table);
        add(w.bytes, net_needle_table, sizeof net_needle_table);
        add(w.bytes, net_text_table, sizeof net_text_table);
        add(w.bytes, &start_selection, sizeof start_selection);
        add(w.bytes, &lat_ref, sizeof lat_ref);
        add(w.bytes, &lon_ref, sizeof lon_ref);
        add(w.bytes, &quit_flag, sizeof quit_flag);
        add(w.bytes, &app_mode, sizeof app_mode);
        add(w.bytes, &net_origin_by_network, sizeof net_origin_by_network);
        return w;
    }
};

struct refused_case {
    const char* what;
    std::string label;
    int index;
    std::vector<uint8_t> payload;
};

std::vector<uint8_t> bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
template <class T>
std::vector<uint8_t> bytes_of(const T& v)
{
    std::vector<uint8_t> out(sizeof v);
    std::memcpy(out.data(), &v, sizeof v);
    return out;
}

TEST_F(Receive, DatagramsThatCannotBeAppliedWholeAreDroppedWithOneLine)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<refused_case> cases = {
        {"FIX_ entry 32", "FIX_", 0, ints({32, 1, 2})},
        {"FIX_ entry -1", "FIX_", 0, ints({-1, 1, 2})},
        {"needle slot 500", "CUST", 0, bytes_of(net_cust_record{500, 1, 1, 1, 0, 0, 0, 8, 8})},
        {"needle slot -3", "CUST", 0, bytes_of(net_cust_record{-3, 1, 1, 1, 0, 0, 0, 8, 8})},
        {"needle at no place", "CUST", 0, bytes_of(net_cust_record{4, 1, nan, 1, 0, 0, 0, 8, 8})},
        {"text in font 5", "TEXT", 0, bytes_of(net_text_record{5, 1, 10, 10, "boom"})},
        {"text at no place", "TEXT", 0, bytes_of(net_text_record{100, 1, nan, 10, "x"})},
        {"state of the wrong size", "STAT", 0, std::vector<uint8_t>(100, 1)},
        {"plane state of the wrong size", "SNAP", 1, std::vector<uint8_t>(199, 1)},
        {"position of the wrong size", "ONEP", 1, std::vector<uint8_t>(33, 1)},
        {"200 selections", "DSEL", 0, std::vector<uint8_t>(800, 1)},
        {"a selection row of 200", "DSEL", 0, ints({3, 4, 456})},
        {"slot 20", "ISET", 20, bytes_of(net_iset_record{"1.2.3.4", "5", 1})},
        {"a master's display switched on", "ISET", 6, bytes_of(net_iset_record{"1.2.3.4", "5", 1})},
        {"an instructing station switched on", "ISET", 10, bytes_of(net_iset_record{"1.2.3.4", "5", 1})},
        {"heartbeat index 20", "KSTM", 20, bytes("I am sending!  ")},
        {"start kind 400", "TRAI", 0, ints({400, 0, 0, 0})},
        {"airport 5 of none", "TRAI", 0, ints({401, 5, 0, 0})},
        {"int setting of no number", "GSET", 5, bytes_of(nan)},
        {"int setting too large for an int", "GSET", 6, bytes_of(3.0e20f)},
        {"float setting of no number", "GSET", 24, bytes_of(nan)},
        {"position of no number", "ONEP", 1, bytes_of(net_onep_record{nan, 0, 0, 0, 0, 0, 46.5f, -122.0f})},
        {"position off the planet", "ONEP", 1, bytes_of(net_onep_record{0, 0, 0, 0, 0, 0, 95.0f, -122.0f})},
        {"plane slot 10", "SNAP", 10, std::vector<uint8_t>(200, 0)},
        {"path of plane 10", "PATH", 10, bytes(std::string("A.acf") + '\0')},
        {"path up the tree", "PATH", 1, bytes(std::string("../../etc/x.acf") + '\0')},
        {"path too long for its field", "PATH", 1, std::vector<uint8_t>(600, 'a')},
        {"path to a file that is no aircraft", "PATH", 0, bytes(std::string("Resources/keys/ORVELL.TXT") + '\0')},
        {"unknown airport", "KSTM", 0, bytes("apt placement  ZZZZ")},
        {"map placement off the planet", "KSTM", 0, bytes("map placement  3777500947500027000100000050")},
        {"map placement of plane 10", "KSTM", 10, bytes("map placement  3777500547500027000100000050")},
    };
    stat_block nan_stat{};
    nan_stat.wind_speed_kt[1] = nan;
    cases.push_back({"state of no number", "STAT", 0, bytes_of(nan_stat)});
    stat_block huge_day{};
    huge_day.local_date_days = 1.0e30f;
    cases.push_back({"day too large for an int", "STAT", 0, bytes_of(huge_day)});

    // Finite values outside their ranges, each in a datagram that is otherwise good.
    stat_block calm{};
    calm.draw_aircrafts = 3;
    calm.temperature_sealevel_c = 15.0f, calm.earth_pressure_p = 101325.0f;
    stat_block airless = calm;
    airless.earth_pressure_p = 0.0f;
    cases.push_back({"sea-level air of no pressure", "STAT", 0, bytes_of(airless)});
    stat_block frozen = calm;
    frozen.temperature_sealevel_c = -273.15f;
    cases.push_back({"sea-level air at absolute zero", "STAT", 0, bytes_of(frozen)});
    stat_block martian = calm;
    martian.earth_pressure_p = 300.0f;
    cases.push_back({"Mars' sea-level air on the Earth", "STAT", 0, bytes_of(martian)});
    stat_block gale = calm;
    gale.wind_speed_kt[0] = 1.0e9f;
    cases.push_back({"wind of a billion knots", "STAT", 0, bytes_of(gale)});
    stat_block no_state = calm;
    no_state.failures[10] = 9;
    cases.push_back({"failure state 9", "STAT", 0, bytes_of(no_state)});
    plane_state_record far{};
    PLANE_pack_state(far, 1);
    far.local_y = 3.0e9f;
    cases.push_back({"plane 3e9 m up", "SNAP", 1, bytes_of(far)});
    plane_state_record pole{};
    PLANE_pack_state(pole, 1);
    pole.ref_point = 2 * 1000000 + 95 * 10000 + 2 * 1000 + 10;   // latitude 95
    cases.push_back({"reference tile beyond the pole", "SNAP", 1, bytes_of(pole)});
    plane_state_record lofted = far;
    lofted.local_y = 1000.0f;
    lofted.local_x = 1.288e7f;   // 8,000 km up where the planet curves away from the local plane
    cases.push_back({"plane 8,000 km up", "SNAP", 1, bytes_of(lofted)});
    plane_state_record fast = lofted;
    fast.local_x = 0.0f;
    fast.local_vx = fast.local_vy = fast.local_vz = 20000.0f;   // each axis at the highest speed
    cases.push_back({"plane sent off at 34.6 km/s", "SNAP", 1, bytes_of(fast)});
    cases.push_back({"position 3e9 m east", "ONEP", 1,
                     bytes_of(net_onep_record{3.0e9f, 0, 0, 0, 0, 0, 46.5f, -122.0f})});
    net_allp_record spun{};
    spun.latitude = 46.5f;
    spun.longitude = -122.0f;
    spun.phi[1] = 7200.0f;
    cases.push_back({"roll of twenty turns", "ALLP", 2, bytes_of(spun)});
    const float nothing = -999.0f;
    cases.push_back({"data group 19 far away", "DATA", 0,
                     bytes_of(data_record{19, {nothing, 3.0e9f, nothing, nothing, nothing, nothing, nothing, nothing}})});
    cases.push_back({"data group 18 tile beyond the pole", "DATA", 0,
                     bytes_of(data_record{18, {nothing, nothing, nothing, nothing, nothing, nothing, 100.0f, nothing}})});
    cases.push_back({"data value of no number", "DATA", 0,
                     bytes_of(data_record{8, {nan, nothing, nothing, nothing, nothing, nothing, nothing, nothing}})});
    cases.push_back({"screen of a million columns", "GSET", 1, bytes_of(1.0e6f)});
    cases.push_back({"window wider than any display", "GSET", 1, bytes_of(9999.0f)});
    cases.push_back({"window taller than any display", "GSET", 2, bytes_of(9999.0f)});
    cases.push_back({"needle from a texel far off", "CUST", 0, bytes_of(net_cust_record{4, 1, 1, 1, 0, 0, 0, 8, 1e9f})});
    cases.push_back({"text in colour 500", "TEXT", 0, bytes_of(net_text_record{100, 500, 10, 10, "x"})});
    cases.push_back({"map placement too fast", "KSTM", 1, bytes("map placement  3777500547500027000100099999")});
    cases.push_back({"map placement too high", "KSTM", 1, bytes("map placement  3777500547500027099999900050")});

    scenery_area = scenery_area_record{-1.0e5f, 1.0e5f, -1.0e5f, 1.0e5f};
    for (const refused_case& c : cases) {
        frame_clock += 1.0f;   // a second apart: each refusal is written out on its own
        const int lines = error_lines();
        const watched_state before = watched_state::now();
        receive(c.label, c.index, '0', c.payload.data(), c.payload.size());
        EXPECT_EQ(error_lines(), lines + 1) << c.what << "\n" << error_text();
        EXPECT_TRUE(watched_state::now().bytes == before.bytes) << c.what;
    }

    // A full text table: a 251st place is refused, also once every text's
    // second is over (entries are never freed); a text at a place the table
    // holds still takes that entry.
    const float start = frame_clock + 1.0f;
    frame_clock = start;
    for (int e = 0; e < NET_TEXT_ENTRIES; ++e) receive_record("TEXT", 0, net_text_record{100, 1, 10.0f * e, 0, "t"});
    const int lines = error_lines();
    frame_clock = start + 1.5f;
    receive_record("TEXT", 0, net_text_record{100, 1, 5, 5, "new"});
    EXPECT_EQ(error_lines(), lines + 1);
    EXPECT_STREQ(net_text_table[0].text, "t");
    receive_record("TEXT", 0, net_text_record{100, 1, 30.2f, 0, "new"});
    EXPECT_STREQ(net_text_table[3].text, "new");
}

}  // namespace
