// "KSTM" commands: the heartbeat, airport and map placements, menu commands,
// the replay modes and quit with its relay.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "aircraft/flight_start.h"
#include "tests/links/net_fixture.h"
#include "tests/support/terrain_support.h"
#include "world/apt_scene.h"

namespace {

class Commands : public NetState {
protected:
    void SetUp() override
    {
        NetState::SetUp();
        TEST_lay_flat_grid(0.0f);
        pln[0].acf_gear_type[PART_GEAR_FIRST] = 1;
    }

    static int add_airport(const char* id, float lat, float lon)
    {
        airport_record a{};
        std::snprintf(a.id, sizeof a.id, "%s", id);
        runway_record rw{};
        rw.lat = lat;
        rw.lon = lon;
        std::strcpy(rw.number, "09");
        rw.heading = 90.0f;
        rw.length = 1500.0f;
        a.runways.push_back(rw);
        airport_table.push_back(a);
        return static_cast<int>(airport_table.size()) - 1;
    }
};

TEST_F(Commands, HeartbeatMarksTheSlotItNamesEvenWhenThatSlotIsOff)
{
    frame_clock = 42.0f;
    receive_text("KSTM", 7, "I am sending!  ");
    EXPECT_EQ(net_peer_heard[7], 1);
    EXPECT_EQ(net_peer_heard_time[7], 42.0f);
}

TEST_F(Commands, AirportPlacementTakesTheNearestOfTheIdAndTellsTheMonitors)
{
    add_airport("KAAA", 10.0f, 10.0f);
    const int near = add_airport("KAAA", 46.6f, -122.2f);
    flt[0].latitude = 46.0f;
    flt[0].longitude = -122.0f;
    for (int s : {0, 1, 3, 5, 6}) enable(s);   // the monitors are slots 1 to 5
    app_mode = MODE_NETWORK;
    sim_time.total_flight_time_sec = 77.0f;
    receive_text("KSTM", 0, "apt placement  KAAA");

    EXPECT_EQ(start_selection.airport_index, near);
    EXPECT_EQ(lat_ref, 46.0f);   // 46.6 - 1.0 = 45.6, rounded
    EXPECT_EQ(lon_ref, -124.0f); // -122.2 - 1.5 = -123.7, rounded
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);
    std::vector<std::pair<int, std::string>> relayed;
    for (const net_sent_datagram& d : net_peer_sent("KSTM")) relayed.emplace_back(d.slot, d.payload_text());
    EXPECT_EQ(relayed, (std::vector<std::pair<int, std::string>>{{1, "apt placement  KAAA"}, {3, "apt placement  KAAA"}, {5, "apt placement  KAAA"}}));

    // An id no airport has is refused: nothing is placed, rebuilt or relayed.
    flt[0].latitude = 10.0f;
    receive_text("KSTM", 0, "apt placement  ZZZZ");
    EXPECT_EQ(flt[0].latitude, 10.0f);
    EXPECT_EQ(net_peer_sent("KSTM").size(), 3u);
    EXPECT_NE(error_text().find("no airport of this copy has its id"), std::string::npos) << error_text();

    // A flood of placements in one pass rebuilds the world once, for the last
    // of them; the next pass has nothing left to run.
    const int other = add_airport("KBBB", 46.2f, -122.9f);
    const uint64_t runs = net_world_commands_run;
    for (int k = 0; k < 200; ++k) {   // a ring's worth read, as many more waiting on the socket
        const std::string text = std::string("apt placement  ") + (k % 2 ? "KBBB" : "KAAA");
        ASSERT_TRUE(net_peer_send("KSTM", 0, '0', text.data(), text.size()));
        if (k == NET_RING_SLOTS - 1) ASSERT_EQ(net_peer_deliver(NET_RING_SLOTS), NET_RING_SLOTS);
    }
    NET_receive();
    EXPECT_EQ(net_world_commands_run, runs + 1);
    EXPECT_EQ(start_selection.airport_index, other);
    NET_receive();
    EXPECT_EQ(net_world_commands_run, runs + 1);
}

TEST_F(Commands, MapPlacementPutsAnotherPlaneThere)
{
    receive_text("KSTM", 3, "map placement  3777500547500027000100000050");
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 47.5, -122.25, 1000.0);
    EXPECT_NEAR(flt[3].local_x, x, 0.01f);
    EXPECT_NEAR(flt[3].local_y, y, 0.01f);
    EXPECT_NEAR(flt[3].local_z, z, 0.01f);
    EXPECT_EQ(flt[3].psi, 270.0f);
    EXPECT_NEAR(std::hypot(flt[3].local_vx, flt[3].local_vz), 50.0f, 0.01f);

    // Any three-digit heading is taken, and a blank speed field reads as -1.
    flt[3].local_x = 0.0f;
    receive_text("KSTM", 3, "map placement  37775005475000720001000     ");
    EXPECT_NEAR(flt[3].local_x, x, 0.01f);
    EXPECT_NEAR(std::hypot(flt[3].local_vx, flt[3].local_vz), 1.0f, 0.01f);

    // The user's plane starts in the air from the placement; the screen closes.
    app_mode = MODE_OPERATOR;
    receive_text("KSTM", 0, "map placement  3777500547500027000100000050");
    EXPECT_NEAR(flt[0].latitude, 47.5f, 1e-3f);
    EXPECT_NEAR(flt[0].longitude, -122.25f, 1e-3f);
    EXPECT_EQ(app_mode, MODE_FLYING);

    // Far from the loaded scenery the scenery moves first: the plane is where
    // the placement says, 500 m up, in the frame of the area around it.
    const struct { const char* text; float lat, lon, lat_ref, lon_ref; } far[] = {
        {"map placement  3805000532500027000050000050", 32.5f, -119.5f, 32.0f, -121.0f},
        {"map placement  5000000500000027000050000050", 0.0f, 0.0f, -1.0f, -2.0f}};
    for (const auto& p : far) {
        receive_text("KSTM", 0, p.text);
        EXPECT_NEAR(flt[0].latitude, p.lat, 1e-5f) << p.text;
        EXPECT_NEAR(flt[0].longitude, p.lon, 1e-5f) << p.text;
        EXPECT_NEAR(flt[0].elevation, 500.0f, 0.5f) << p.text;
        EXPECT_EQ(std::pair(lat_ref, lon_ref), std::pair(p.lat_ref, p.lon_ref)) << p.text;
    }
}

TEST_F(Commands, MenuCommandsAndReplayModes)
{
    receive_text("KSTM", 0, "menu selection 01005");
    EXPECT_EQ(sim_graphics_view.view_type, 1005);
    // A, B, A in one burst: the one sent last stands.
    for (const char* text : {"menu selection 01004", "menu selection 01005", "menu selection 01004"})
        ASSERT_TRUE(net_peer_send("KSTM", 0, '0', text, std::strlen(text)));
    for (int pass = 0; pass < 3; ++pass) NET_receive();
    EXPECT_EQ(sim_graphics_view.view_type, 1004);
    const std::pair<const char*, int> replays[] = {{"str_rep_fr     ", 2}, {"str_rep_rr     ", 3}, {"str_rep_sr     ", 4},
                                                   {"str_rep_pause  ", 5}, {"str_rep_sf     ", 6}, {"str_rep_rf     ", 7},
                                                   {"str_rep_ff     ", 8}, {"str_rep_fly    ", 0}};
    for (auto [text, mode] : replays) {
        receive_text("KSTM", 0, text);
        EXPECT_EQ(sim_operation_prefs.replay_mode, mode) << text;
    }
    receive_text("KSTM", 0, "str_rep_FF     ");   // no command: ignored
    EXPECT_EQ(sim_operation_prefs.replay_mode, 0);
    EXPECT_EQ(error_lines(), 0) << error_text();
}

// Start choices and situation names a peer keeps sending that cannot be
// taken are counted with the other refusals: a line a second, not one each.
TEST_F(Commands, RefusedStartChoicesAndSituationsAreSummedUp)
{
    local_airport_last = -1;   // no local airport: every airport choice is out of the local range
    for (int pass = 0; pass < 20; ++pass) {
        frame_clock += 0.5f;
        for (const char* text : {"menu selection 04000", "sit selection  ../../x.sit"})
            for (int k = 0; k < 50; ++k) ASSERT_TRUE(net_peer_send("KSTM", 0, '0', text, std::strlen(text)));
        NET_receive();
    }
    NET_receive();   // the situation, sent last in every burst, runs once the flood ends
    NET_report_refusals();
    EXPECT_LE(error_lines(), 12) << error_text();
    EXPECT_NE(error_text().find("apt sel out of local range!"), std::string::npos) << error_text();
    EXPECT_NE(error_text().find("A situation named by the network was refused"), std::string::npos);
}

TEST_F(Commands, QuitIsRelayedToEveryLiveSlotThenQuits)
{
    temp_folder program;
    FOLDERS_init_from((program.prefix() + "orvell").c_str());   // what the quit saves stays in the test's folder
    for (int s : {0, 13, 19}) enable(s);
    net_slot_enabled[5] = 1;   // enabled but its address never parsed
    receive_text("KSTM", 0, "quit           ");
    std::vector<int> slots;
    for (const net_sent_datagram& d : net_peer_sent("KSTM")) {
        EXPECT_EQ(d.payload_text(), "quit           ");
        slots.push_back(d.slot);
    }
    EXPECT_EQ(slots, (std::vector<int>{0, 13, 19}));
    EXPECT_EQ(quit_flag, 1);
}

}  // namespace
