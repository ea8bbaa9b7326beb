// The network and data-output screen: role exclusions by clicks, address
// texts, the table's limits and its note when the data graph has nothing to
// graph, the status lines and the heartbeat while the connections show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "screens/network_screen.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"
#include "tests/support/net_peer.h"
#include "tests/support/test_support.h"

namespace {

class NetworkScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        MACHINE_NEEDS(ui_screen_ready(), "OpenGL context");
        app_mode = MODE_NETWORK;
        frame_clock = 5.0f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_slot_valid[s] = net_peer_heard[s] = 0;
        net_peer_attach();
        network_screen.network_tab = 1;
    }

    // One frame of the screen with a click at (x, y).
    static void click(float x, float y)
    {
        mouse.mouse_x = x;
        mouse.mouse_y = y;
        mouse.mouse_down = 1;
        SETUP_network();
        mouse.mouse_down = 0;
        mouse.mouse_x = mouse.mouse_y = -100.0f;
    }
    // The enabled check box of role row i.
    static void click_role(int i)
    {
        const float y = i == 0 ? 600.0f : i <= 5 ? 550.0f - 20.0f * (i - 1) : 430.0f - 40.0f * (i - 6);
        click(185.0f, y + 4.0f);
    }
    static std::vector<int> enabled(int first, int last)
    {
        return std::vector<int>(net_slot_enabled + first, net_slot_enabled + last + 1);
    }
};

TEST_F(NetworkScreen, AMachineDrivesMonitorsOrIsOneOfOneMasterKind)
{
    net_slot_enabled[6] = 1;   // "master machine, is external view"
    click_role(2);             // monitor 2
    EXPECT_EQ(net_slot_enabled[2], 1);
    EXPECT_EQ(enabled(6, 9), (std::vector<int>{0, 0, 0, 0}));

    for (int s : {1, 3, 10, 8}) net_slot_enabled[s] = 1;
    click_role(7);   // a master kind turns the monitors, the station and the other kinds off
    EXPECT_EQ(enabled(1, 10), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));

    net_slot_enabled[10] = 1;
    click_role(7);   // unticking applies the exclusions too
    EXPECT_EQ(net_slot_enabled[7], 0);
    EXPECT_EQ(net_slot_enabled[10], 0);

    net_slot_enabled[8] = 1;
    click_role(10);   // the station is a monitor-like role: the master kinds go off
    EXPECT_EQ(enabled(6, 10), (std::vector<int>{0, 0, 0, 0, 1}));
}

TEST_F(NetworkScreen, TheRateFieldShowsOnlyForTheMotionPlatformOrTheDataSender)
{
    // A click on the upper half of the rate field's ones digit adds one when it is there.
    for (int s : {0, 10, 11, 12}) {
        for (int k = 0; k < NET_SLOT_COUNT; ++k) net_slot_enabled[k] = 0;
        net_slot_enabled[s] = 1;
        sim_network_dataout.network_data_rate = 10.0f;
        click(115.0f, 70.0f);
        EXPECT_EQ(sim_network_dataout.network_data_rate, s >= 11 ? 11.0f : 10.0f) << "slot " << s;
    }
}

TEST_F(NetworkScreen, AddressesKeepOnlyTheirDigitsAndPoints)
{
    std::memcpy(net_ip_text[3], "12a.3\0" "45", 9);
    std::strcpy(net_ip_text[4], "10.0.0.7");
    SETUP_network();
    EXPECT_STREQ(net_ip_text[3], "12");
    EXPECT_EQ(net_ip_text[3][7], '5');   // bytes after the end stay as they were
    EXPECT_STREQ(net_ip_text[4], "10.0.0.7");
}

TEST_F(NetworkScreen, StatusLinesAndTheHeartbeatOfTheConnectionsTab)
{
    net_peer_heard[1] = 1;
    net_peer_heard_time[1] = 2.5f;
    char line[200];
    ASSERT_TRUE(SETUP_network_status_line(1, line, sizeof line));
    EXPECT_STREQ(line, "Got a test transmission from someone talking to a monitor 1  2.5 seconds ago.");
    EXPECT_FALSE(SETUP_network_status_line(2, line, sizeof line));

    // While the tab shows, each frame starts the link's set-up: the heartbeat
    // goes to the next slot of 0..10 on each tenth of a second.
    net_slot_enabled[4] = 1;
    net_peer_clear();
    interval_ticks[INTERVAL_TENTH_SECOND] = 1;
    std::vector<int> heard;
    for (int k = 0; k < 22; ++k) {
        SETUP_network();
        for (const net_sent_datagram& d : net_peer_log()) {
            EXPECT_EQ(d.payload_text(), "I am sending!  ");
            heard.push_back(d.index());
        }
        net_peer_clear();
    }
    EXPECT_EQ(heard, (std::vector<int>{4, 4}));
}

TEST_F(NetworkScreen, TheTableKeepsFiveGraphAndSixteenScreenGroups)
{
    // The data graph asked for with nothing to graph: the table opens and
    // says what to tick; opened from its own menu it says nothing of it.
    std::fill(std::begin(sim_network_dataout.data_to_graph), std::end(sim_network_dataout.data_to_graph), 0);
    std::strcpy(ui_text_table[552], "%");   // the note: a glyph nothing else of the screen draws
    ui_whole_window();
    const auto noted = [] {
        const std::vector<fb_rect> r = capture_rects(SETUP_network);
        return std::any_of(r.begin(), r.end(), [](const fb_rect& g) { return glyph_of(103, g) == '%'; });
    };
    APPLICATION_handlemenu(805);
    EXPECT_EQ(app_mode, MODE_NETWORK);
    EXPECT_TRUE(noted());
    APPLICATION_handlemenu(600);
    EXPECT_FALSE(noted());
    network_screen.network_tab = 0;
    for (int g : {3, 5, 7, 9, 11, 13}) sim_network_dataout.data_to_graph[g] = 1;
    for (int g = 20; g < 37; ++g) sim_network_dataout.data_to_screen[g] = 1;
    SETUP_network();
    EXPECT_EQ(sim_network_dataout.data_to_graph[3], 0);
    EXPECT_EQ(sim_network_dataout.data_to_graph[5], 1);
    EXPECT_EQ(sim_network_dataout.data_to_screen[20], 0);
    EXPECT_EQ(sim_network_dataout.data_to_screen[36], 1);

    // Group 82 sits at the top of the fourth column, its boxes in a row: the second sends it to disk.
    click(780.0f + 18.0f, 680.0f + 4.0f);
    EXPECT_EQ(sim_network_dataout.data_to_disk[82], 1);
    for (int g : {18, 19, 48, 49}) sim_network_dataout.data_to_internet[g] = sim_network_dataout.data_to_disk[g] = 0;
    // Spacer rows: group 19 has passed six of the first column's (after 2, 5,
    // 8, 11, 14, 18), so it sits on row 25; group 49 has passed all four of
    // the second column's (after 30, 37, 43, 48), so row 26 + 4 = 30.
    click(60.0f, 680.0f - 18.0f * 25.0f + 4.0f);
    EXPECT_EQ(sim_network_dataout.data_to_internet[19], 1);
    EXPECT_EQ(sim_network_dataout.data_to_internet[18], 0);
    click(300.0f + 18.0f, 680.0f - 18.0f * 30.0f + 4.0f);
    EXPECT_EQ(sim_network_dataout.data_to_disk[49], 1);
    EXPECT_EQ(sim_network_dataout.data_to_disk[48], 0);
}

}  // namespace
