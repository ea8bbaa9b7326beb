// The operator panel inside the running program, with loopback peers on its
// master's slot 9 and the motion platform's slot 11: zooming, the placement
// text, a map click for another plane and for the user's, a runway start, quit
// and the platform button, and the local actions with the master's slot off.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "aircraft/flight_start.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/screen_settings.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "links/hardware.h"
#include "links/net_slots.h"
#include "screens/map.h"
#include "screens/operator_map.h"
#include "screens/operator_texts.h"
#include "screens/setup.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "tests/support/net_peer.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"

namespace {

void frames(double seconds)
{
    for (int k = 0; k < static_cast<int>(seconds / 0.05 + 0.5); ++k) {
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
    }
}

// One panel frame with the pointer pressed at (x, y).
void press(float x, float y)
{
    mouse.mouse_x = x, mouse.mouse_y = y;
    mouse.mouse_down = mouse.mouse_held = 1;
    OPERATOR_panel(-999);
    mouse.mouse_down = mouse.mouse_held = 0;
    mouse.mouse_x = mouse.mouse_y = -100.0f;
}

void master(int on)
{
    net_slot_enabled[9] = net_slot_valid[9] = on;
    net_slot_enabled[11] = net_slot_valid[11] = 1;
    net_peer_clear();
}

// Where plane p stands now, from its local position (its latitude and
// longitude words follow in the next frame).
geo_point where(int p)
{
    float lat, lon, elev;
    GEO_local_to_latlon(lat, lon, elev, flt[p].local_x, flt[p].local_y, flt[p].local_z);
    return {lat, lon, elev};
}

std::vector<int32_t> ints(const std::vector<uint8_t>& bytes)
{
    std::vector<int32_t> out(bytes.size() / 4);
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

}  // namespace

TEST(OperatorPanel, PlacementTextKeepsEveryFieldInItsWidth)
{
    char text[OPERATOR_PLACEMENT_BYTES + 1];
    OPERATOR_placement_text(47.5f, -122.25f, 270.0f, 1000.0f, 50.0f, text);
    EXPECT_STREQ(text, "map placement  3777500547500027000100000050");
    OPERATOR_placement_text(47.5f, -122.25f, 270.0f, -30.0f, 250000.0f, text);
    EXPECT_STREQ(text, "map placement  3777500547500027000000099999");
    OPERATOR_placement_text(47.5f, -122.25f, 270.0f, 2.0e6f, NAN, text);
    EXPECT_STREQ(text, "map placement  3777500547500027099999900000");
}

TEST(OperatorPanel, TheProfileTouchesDownAtTheThresholdOfTheEndBestAligned)
{
    // A closed runway first (skipped), then a 2,000 m runway heading 090 whose centre is the record's position.
    airport_record a{};
    a.elevation = 300.0f;
    runway_record closed{};
    std::strcpy(closed.number, "x01");
    closed.heading = 0.0f;
    runway_record rw{};
    std::strcpy(rw.number, "09");
    rw.lat = 34.0f, rw.lon = -117.0f, rw.heading = 90.0f, rw.length = 2000.0f;
    a.runways = {closed, rw};
    float cx, cy, cz;
    GEO_latlon_to_local(cx, cy, cz, rw.lat, rw.lon, a.elevation);
    const struct {
        float heading, landing, dx;
    } rows[] = {{80.0f, 90.0f, -1000.0f}, {250.0f, 270.0f, 1000.0f}, {180.0f, 90.0f, -1000.0f}};
    for (const auto& r : rows) {
        float x, y, z, landing;
        ASSERT_TRUE(OPERATOR_profile_touchdown(a, r.heading, x, y, z, landing)) << r.heading;
        EXPECT_FLOAT_EQ(landing, r.landing) << r.heading;
        EXPECT_NEAR(x - cx, r.dx, 0.05f) << r.heading;
        EXPECT_NEAR(z - cz, 0.0f, 0.05f) << r.heading;
        EXPECT_FLOAT_EQ(y, cy);
    }
    a.runways = {closed};
    float x, y, z, landing;
    EXPECT_FALSE(OPERATOR_profile_touchdown(a, 0.0f, x, y, z, landing));
}

// The map keys on a 1024 x 768 screen (map 890 x 686 pixels, 20 m a pixel)
// over a 20 km by 10 km area at zoom 2: a pan step is 0.05 x 30 km / 2 = 750
// m, north lowering z, east raising x and the profile offset; zooming in to 3
// moves the corner by a quarter of the map at the new zoom (890 x 20 x 0.25 /
// 3 = 1483.3 m east, 686 x 20 x 0.25 / 3 = 1143.3 m north) and zooming out
// takes it back.
TEST(OperatorPanel, MapKeysPanByAStepAndZoomAboutTheMiddle)
{
    RESET_all();
    app_mode = MODE_OPERATOR;
    screen.screen_area_width = 1024.0f, screen.screen_area_height = 768.0f;
    scenery_area = {-10000.0f, 10000.0f, -5000.0f, 5000.0f};
    const float kept_inverse = map_base_scale_inverse;
    map_base_scale_inverse = 20.0f;
    screen_settings.map_zoom = 2.0f;
    map_ref_x = map_ref_z = 0.0f;
    OPERATOR_panel(0);
    EXPECT_NEAR(map_ref_x, 0.0f, 0.01f);
    EXPECT_NEAR(map_ref_z, -750.0f, 0.01f);
    OPERATOR_panel(3);
    EXPECT_NEAR(map_ref_x, 750.0f, 0.01f);
    EXPECT_NEAR(map_ref_z, -750.0f, 0.01f);
    EXPECT_NEAR(operator_panel.profile_offset, 750.0f, 0.01f);
    OPERATOR_panel(4);
    EXPECT_FLOAT_EQ(screen_settings.map_zoom, 3.0f);
    EXPECT_NEAR(map_ref_x, 2233.33f, 0.05f);
    EXPECT_NEAR(map_ref_z, -1893.33f, 0.05f);
    OPERATOR_panel(5);
    EXPECT_FLOAT_EQ(screen_settings.map_zoom, 2.0f);
    EXPECT_NEAR(map_ref_x, 750.0f, 0.05f);
    EXPECT_NEAR(map_ref_z, -750.0f, 0.05f);
    map_base_scale_inverse = kept_inverse;
    RESET_all();
}

TEST(OperatorPanel, InTheProgramWithPeersOnTheMasterAndPlatformSlots)
{
    const auto folder = copy_default_data_folder();
    start_program(*folder);
    const unseen_frames unseen;   // the flying frames' pictures are not looked at
    frames(0.5);
    net_peer_attach();

    // Zoom: in from 9000 gives 13500, held to 10000 by the next frame; out at 1 does nothing.
    APPLICATION_set_mode(MODE_OPERATOR, "test");
    frames(0.1);
    screen_settings.map_zoom = 9000.0f;
    OPERATOR_panel(4);
    EXPECT_EQ(screen_settings.map_zoom, 13500.0f);
    frames(0.1);
    EXPECT_EQ(screen_settings.map_zoom, 10000.0f);
    screen_settings.map_zoom = 1.0f;
    const float ref[2] = {map_ref_x, map_ref_z};
    OPERATOR_panel(5);
    EXPECT_EQ(screen_settings.map_zoom, 1.0f);
    EXPECT_EQ(map_ref_x, ref[0]);
    EXPECT_EQ(map_ref_z, ref[1]);

    // A click with plane 2 selected sends the placement to the master as its
    // index 2 and moves plane 2 there; the screen stays.
    sim_graphics_settings.draw_aircrafts = 3;
    frames(0.5);
    for (const int on : {1, 0}) {
        SCOPED_TRACE(on ? "master on" : "master off");
        master(on);
        operator_panel.target_plane = 2;
        operator_panel.heading_deg = 270.0f;
        situation_altitude = 1000.0f, situation_speed = 50.0f;
        OPERATOR_panel(-999);
        press(400.0f + 50.0f * on, 300.0f);
        EXPECT_EQ(app_mode, MODE_OPERATOR);
        EXPECT_NEAR(where(2).lat, operator_panel.click_lat, 1e-4);
        EXPECT_NEAR(where(2).lon, operator_panel.click_lon, 1e-4);
        EXPECT_NEAR(where(2).elev, 1000.0, 1.0);
        EXPECT_NEAR(MAP_x_to_screen(flt[2].local_x), 400.0f + 50.0f * on, 1.0f);
        EXPECT_NEAR(MAP_z_to_screen(flt[2].local_z), 300.0f, 1.0f);
        const auto sent = net_peer_sent("KSTM");
        ASSERT_EQ(sent.size(), size_t(on));
        if (on) {
            char text[OPERATOR_PLACEMENT_BYTES + 1];
            OPERATOR_placement_text(operator_panel.click_lat, operator_panel.click_lon, 270.0f, 1000.0f, 50.0f, text);
            EXPECT_EQ(sent[0].slot, 9);
            EXPECT_EQ(sent[0].index(), 2);
            EXPECT_EQ(sent[0].payload_text(), text);
        }
    }

    // Plane 0 flies from the click: with the master's slot on this station
    // shows screen 18 while it flies, without it the flying view.
    for (const int on : {0, 1}) {
        master(on);
        operator_panel.target_plane = 0;
        APPLICATION_set_mode(MODE_OPERATOR, "test");
        OPERATOR_panel(-999);
        press(500.0f, 400.0f);
        EXPECT_EQ(app_mode, on ? MODE_OPERATOR_STATION : MODE_FLYING);
        EXPECT_NEAR(where(0).lat, operator_panel.click_lat, 1e-4);
        EXPECT_NEAR(where(0).lon, operator_panel.click_lon, 1e-4);
        EXPECT_EQ(net_peer_sent("KSTM").size(), size_t(on));
        frames(0.2);
        EXPECT_NEAR(flt[0].latitude, operator_panel.click_lat, 0.01);
    }

    // Screen 18: the airport typed; the second button of a runway's first end
    // starts on that runway, whatever was selected before, and tells the master.
    APPLICATION_set_mode(MODE_OPERATOR_STATION, "test");
    frames(0.1);
    int kpsp = -1;
    ASSERT_TRUE(NAV_find_nearest_by_id("KPSP", 1, kpsp, flt[0].latitude, flt[0].longitude));
    std::strcpy(operator_panel.airport_id, "kpsp");
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    OPERATOR_panel(-999);
    ASSERT_EQ(chart_airport, kpsp);
    EXPECT_STREQ(operator_panel.airport_id, "KPSP");
    // An id no airport has leaves the chart on the airport it had.
    std::strcpy(operator_panel.airport_id, "ZZZZ");
    OPERATOR_panel(-999);
    EXPECT_EQ(chart_airport, kpsp);
    std::strcpy(operator_panel.airport_id, "KPSP");
    start_selection.airport_index = 0, start_selection.start_index = 1;
    for (const int on : {1, 0}) {
        master(on);
        press(79.0f, screen.screen_area_height - 168.0f);
        EXPECT_EQ(start_selection.airport_index, kpsp);
        EXPECT_EQ(start_selection.start_index, 0);
        EXPECT_EQ(sim_time.backwards, 0);
        const auto trai = net_peer_sent("TRAI");
        ASSERT_EQ(trai.size(), size_t(on));
        if (on) {
            EXPECT_EQ(ints(trai[0].payload()), (std::vector<int32_t>{402, kpsp, 0, 0}));
        }
        // On a final approach to the runway, within ten miles of it.
        frames(0.1);
        const airport_record& a = *APT_table_at(kpsp);
        EXPECT_NEAR(flt[0].latitude, a.runways[0].lat, 0.1);
        EXPECT_NEAR(flt[0].longitude, a.runways[0].lon, 0.1);
        EXPECT_GT(where(0).elev - a.elevation, 200.0);
        APPLICATION_set_mode(MODE_OPERATOR_STATION, "test");
    }

    // The second end's button tells the master that end of the first runway.
    master(1);
    press(79.0f, screen.screen_area_height - 212.0f);
    const auto other_end = net_peer_sent("TRAI");
    ASSERT_EQ(other_end.size(), 1u);
    EXPECT_EQ(ints(other_end[0].payload()), (std::vector<int32_t>{402, kpsp, 0, 1}));
    EXPECT_EQ(sim_time.backwards, 1);
    sim_time.backwards = 0;
    frames(0.1);
    APPLICATION_set_mode(MODE_OPERATOR_STATION, "test");

    // The platform button sends "FIDE" to slot 11 with fide_mode set.
    master(1);
    fide_mode = 1;
    press(79.0f, 278.0f);
    fide_mode = 0;
    const auto fide = net_peer_sent("FIDE");
    ASSERT_EQ(fide.size(), 1u);
    EXPECT_EQ(fide[0].slot, 11);
    EXPECT_EQ(fide[0].payload(), (std::vector<uint8_t>{0x22, 0xFC, 0xFF, 0xFF, 0, 0, 0, 0, 0x19, 0xFC, 0xFF, 0xFF}));

    // Quit tells the master to quit too, then quits.
    press(79.0f, 38.0f);
    const auto quit = net_peer_sent("KSTM");
    ASSERT_EQ(quit.size(), 1u);
    EXPECT_EQ(quit[0].index(), 0);
    EXPECT_EQ(quit[0].payload_text(), "quit           ");
    EXPECT_EQ(quit_flag, 1);
    quit_flag = 0;
    ALERT_set_quitting(false);
    master(0);
    stop_program();
}
