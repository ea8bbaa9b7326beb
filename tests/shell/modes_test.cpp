#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "graphics/list.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/net_slots.h"
#include "links/serial_calibration.h"
#include "links/dataout.h"
#include "tests/support/machine.h"
#include "tests/support/net_peer.h"
#include "links/sound_seam.h"
#include "screens/operator_map.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/input.h"
#include "shell/lang.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "tests/support/modes_harness.h"
#include "tests/support/test_support.h"
#include "world/atc.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/scenery_area.h"
#include "core/app_mode.h"

namespace {

// What the speech voice was given while it is installed, with the show flag.
struct spoken_texts : sound_recorder {
    spoken_texts() { SOUND_install_recorder(this); }
    ~spoken_texts() override { SOUND_install_recorder(nullptr); }
    void spoken(const char* text, int show) override { said.emplace_back(text, show); }
    std::vector<std::pair<std::string, int>> said;
};

class modes_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = harness_window();
        // A program folder of the test's own: starting a flight lists its scenery.
        folder_ = std::make_unique<harness_program_folder>(tmp_.path().string());
        for (int n : {364, 601}) std::snprintf(ui_text_table[n], TEXT_SIZE, "T%d", n);
        airport_record a{};
        std::strcpy(a.id, "KTST");
        std::strcpy(a.name, "Test Field");
        a.elevation = 100.0f;
        a.runways.emplace_back().lat = 34.6f;
        a.runways[0].lon = -117.3f;
        airport_table.assign(1, a);
        local_airport_last = -1;
        pln[0].acf_gear_type[PART_GEAR_FIRST] = 1;   // on wheels: a runway start stands on the runway
        PLANET_set_constants(PLANET_EARTH);   // the Earth's radius turns the start's place into latitude
        sim_graphics_settings.draw_aircrafts = 2;
        // Every slot names an aircraft already, so switching modes loads none.
        for (acf_struct& p : pln) {
            std::snprintf(p.acf_file_path, ACF_TEXT_SIZE, "AIRCRAFT:TEST.ACF");
            std::snprintf(p.acf_file_name, ACF_TEXT_SIZE, "TEST.ACF");
        }
        net_peer_attach();
        app_mode = 0;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        std::fill(std::begin(net_slot_enabled), std::end(net_slot_enabled), 0);
        std::fill(std::begin(net_slot_valid), std::end(net_slot_valid), 0);
        app_mode = 0;
        folder_.reset();
    }
    bool window = false;
    temp_folder tmp_;
    std::unique_ptr<harness_program_folder> folder_;
};

}  // namespace

TEST_F(modes_test, SwitchCentresTheScreenRoundingHalvesAwayAndClearsTheInputEdges)
{
    active_text_field = 3;
    screen.open_menu = 2;
    mouse.mouse_down = mouse.mouse_held = 1;
    sim_joystick.mouse_is_joystick = 1;
    APPLICATION_set_mode(998, "test");   // 341 x 484: (1024 - 341) / 2 = 341.5
    EXPECT_EQ(current_screen(), "998 341x484+342+142 T601");
    EXPECT_EQ(std::tuple(active_text_field, screen.open_menu, mouse.mouse_down, mouse.mouse_held,
                         sim_joystick.mouse_is_joystick),
              std::tuple(-1, -1, 0, 0, 0));
    EXPECT_EQ(redraw_pending, 1);
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(current_screen(), "0 1024x768+0+0 ");
}

TEST_F(modes_test, EveryFixedScreenHasItsSizeAndTitle)
{
    // Mode, width, height, UI text of the title.
    const int screens[][4] = {
        {1, 700, 450, 350},   {2, 631, 328, 351},   {3, 1024, 758, 353},  {4, 1000, 754, 354},
        {5, 620, 306, 352},   {6, 840, 766, 355},   {7, 700, 500, 356},   {8, 1002, 766, 358},
        {9, 572, 268, 357},   {10, 922, 650, 359},  {11, 1009, 756, 360}, {12, 374, 452, 361},
        {13, 977, 766, 362},  {14, 810, 410, 363},  {16, 1020, 760, 365}, {17, 1020, 750, 366},
        {19, 1020, 762, 367}, {20, 831, 636, 368},  {21, 835, 674, 371},  {22, 600, 426, 630},
        {24, 590, 356, 369},  {996, 400, 220, 600}, {998, 341, 484, 601}, {999, 341, 484, 601}};
    for (const auto& s : screens) {
        std::snprintf(ui_text_table[s[3]], TEXT_SIZE, "T%d", s[3]);
        APPLICATION_set_mode(s[0], "test");
        EXPECT_EQ(std::tuple(app_mode, screen.screen_area_width, screen.screen_area_height, std::string(screen.screen_title)),
                  std::tuple(s[0], float(s[1]), float(s[2]), "T" + std::to_string(s[3])));
    }
    // Flying takes the window's size and no title.
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(std::tuple(screen.screen_area_width, screen.screen_title[0]),
              std::tuple(static_cast<float>(screen.window_width), '\0'));
}

TEST_F(modes_test, OperatorMapScreensTakeTheAreaAtTheMapScaleMadeEven)
{
    const scenery_area_record saved = scenery_area;
    const float saved_scale = map_base_scale;
    map_base_scale = 1.0f;
    scenery_area = {0.0f, 1.0f, 0.0f, 1.0f};
    APPLICATION_set_mode(15, "test");
    EXPECT_EQ(current_screen().substr(0, 10), "15 136x84+");   // 135 and 83 made even
    EXPECT_STREQ(screen.screen_title, "T364");

    scenery_area = {-5000.0f, 5000.0f, -1.0f, 9000.0f};   // larger than the window: the whole window
    chart_airport = 0;
    APPLICATION_set_mode(23, "test");
    EXPECT_EQ(current_screen(), "23 1024x768+0+0 Test Field (KTST) elev 328 ft.");
    chart_airport = -1;
    scenery_area = saved;
    map_base_scale = saved_scale;
}

// The operator screens take their size and title from the scenery and the
// airport database: values no area or airport has give a sane screen.
TEST_F(modes_test, OperatorScreensStaySaneOnAnEndlessScaleOrAnAbsurdElevation)
{
    const scenery_area_record saved_area = scenery_area;
    const float saved_scale = map_base_scale;
    scenery_area = {100.0f, 100.0f, 50.0f, 50.0f};   // an empty area at an endless scale
    map_base_scale = std::numeric_limits<float>::infinity();
    APPLICATION_set_mode(15, "test");
    EXPECT_EQ(current_screen().substr(0, 14), "15 0x0+512+384");

    airport_record far{};
    std::memcpy(far.name, "Far", 4);
    std::memcpy(far.id, "XFAR", 5);
    far.elevation = 1.0e30f;
    airport_table.push_back(far);
    chart_airport = static_cast<int32_t>(airport_table.size()) - 1;
    APPLICATION_set_mode(23, "test");
    EXPECT_STREQ(screen.screen_title, "Far (XFAR) elev 0 ft.");

    airport_table.pop_back();
    chart_airport = -1;
    scenery_area = saved_area;
    map_base_scale = saved_scale;
}

TEST_F(modes_test, OperatorStationTurnsFlyingIntoItsMapExceptWhenLeavingIt)
{
    net_slot_enabled[9] = 1;
    APPLICATION_set_mode(5, "test");
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(app_mode, 18);
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(app_mode, 0);
}

TEST_F(modes_test, SelectAirportPlacesThePlaneTellsTheOperatorAndStartsTheFlight)
{
    net_slot_enabled[9] = net_slot_valid[9] = 1;
    start_selection.airport_index = 0;
    sim_operation_prefs.startup_on_ramp = 0;
    sim_time.total_flight_time_sec = 77.0f;   // a flight start zeroes it
    APPLICATION_set_mode(0, "select airport");
    EXPECT_NEAR(flt[0].latitude, 34.6f, 0.01f);
    EXPECT_FLOAT_EQ(lat_ref, 34.0f);    // 33.6 rounded
    EXPECT_FLOAT_EQ(lon_ref, -119.0f);  // -118.8 rounded away from zero
    const std::vector<net_sent_datagram>& log = net_peer_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].label() + std::to_string(log[0].slot) + log[0].payload_text(),
              "KSTM9apt placement  KTST");
    // The scene is built around the new reference point: the airport lies in its area.
    EXPECT_EQ(airport_table[0].local, 1);
    EXPECT_EQ(local_airport_last, 0);
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);

    // The ramp start stands on the airport's start position, facing its heading.
    airport_table[0].starts.push_back(start_position_record{34.62f, -117.3f, 123.0f, {}});
    sim_operation_prefs.startup_on_ramp = 1;
    sim_time.total_flight_time_sec = 77.0f;
    APPLICATION_set_mode(996, "select airport");   // the alert leaves the simulation alone
    EXPECT_EQ(sim_time.total_flight_time_sec, 77.0f);
    APPLICATION_set_mode(2, "select airport");
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);
    EXPECT_NEAR(flt[0].psi, 123.0f, 1e-3f);
    sim_operation_prefs.startup_on_ramp = 0;

    // "planet region" from the globe starts in the air; from any other screen it does nothing.
    net_slot_enabled[9] = 0;
    for (int from : {5, 17}) {
        APPLICATION_set_mode(from, "test");
        sim_time.total_flight_time_sec = 77.0f;
        APPLICATION_set_mode(0, "planet region");
        EXPECT_EQ(sim_time.total_flight_time_sec == 0.0f, from == 17);
    }
}

TEST_F(modes_test, LeavingAndEnteringScreensRunsTheirChores)
{
    spoken_texts speech;
    temp_folder dir;
    link_default_aircraft(dir.path());
    harness_program_folder folder(dir.path().string());
    pln[1] = acf_struct{};
    pln[2] = acf_struct{};
    // Leaving the network screen starts the data output anew: the graph history empties.
    APPLICATION_set_mode(1, "test");
    graph_history.value[0][0] = 5.0f;
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(graph_history.value[0][0], 5.0f);
    APPLICATION_set_mode(3, "test");
    graph_history.value[0][0] = 5.0f;   // entering the screen leaves it alone, leaving it resets
    APPLICATION_set_mode(0, "test");
    EXPECT_EQ(graph_history.value[0][0], -999.0f);
    // Every plane slot in use without an aircraft gets one from the fleet.
    EXPECT_NE(pln[1].acf_file_name[0], 0);
    EXPECT_GT(pln[1].acf_m_max, 0.0f);
    EXPECT_EQ(flt[1].local_x, 9.9e9f);
    EXPECT_EQ(pln[2].acf_file_name[0], 0);

    // Entering the joystick screen with the learning console type measures the
    // console's lever ranges anew; another type keeps them. Leaving it with an
    // axis given kind 3 takes the helicopters' automatic coordination away.
    for (int type : {0, 1}) {
        screen_settings.joy_calibrating = type;
        for (int c = 0; c < 9; ++c) serial_axis_lo[c] = serial_axis_hi[c] = 0.5f;
        sim_operation_prefs.auto_coordinate_helos = 1;
        std::fill(std::begin(sim_joystick.joystick_axis_assignments), std::end(sim_joystick.joystick_axis_assignments), type == 1 ? 2 : 4);
        APPLICATION_set_mode(4, "test");
        EXPECT_FLOAT_EQ(serial_axis_lo[8], type == 1 ? 9999.9f : 0.5f) << type;
        EXPECT_FLOAT_EQ(serial_axis_hi[0], type == 1 ? -9999.9f : 0.5f) << type;
        sim_joystick.joystick_axis_assignments[14] = type == 1 ? 3 : 2;
        APPLICATION_set_mode(0, "test");
        EXPECT_EQ(sim_operation_prefs.auto_coordinate_helos, type == 1 ? 0 : 1) << type;
    }
    screen_settings.joy_calibrating = 0;

    // Leaving the flight plan: a known destination files the plan; with a plan
    // already active ATC confirms it.
    atc_state = {};
    UTIL_strcpy("ORVELL", atc_callsign_text);
    atc_state.atc_request_pending = 1;
    std::strcpy(atc_state.atc_plan_to_id, "KTST");
    for (int active : {0, 1}) {
        atc_state.atc_plan_active = active;
        APPLICATION_set_mode(24, "test");
        APPLICATION_set_mode(0, "test");
    }
    EXPECT_EQ(atc_state.atc_plan_filed, 1);
    EXPECT_EQ(atc_state.atc_request_pending, 0);
    EXPECT_EQ(atc_state.atc_dest_airport, 0);
    char callsign[TEXT_SIZE];
    ATC_callsign(callsign, 1);
    const std::pair<std::string, int> amended{std::string(callsign) + "flight plan amended as requested.", 1};
    EXPECT_NE(std::find(speech.said.begin(), speech.said.end(), amended), speech.said.end());
    atc_state = {};
}

TEST_F(modes_test, BackgroundTilesComeFromTheScreenColourOrTheViewsPanelPicture)
{
    MACHINE_NEEDS(window, "OpenGL context");
    auto tile_texel = [](int slot, int x, int y) {
        std::vector<uint8_t> t(256 * 256 * 4);
        OGL_bind_tex(slot, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data());
        const size_t at = (size_t(y) * 256 + size_t(x)) * 4;
        return std::vector<uint8_t>(t.begin() + at, t.begin() + at + 4);
    };
    OGL_set_color(36, 0.5f, 0.25f, 1.0f);
    APPLICATION_set_mode(5, "test");
    EXPECT_EQ(tile_texel(456, 3, 3), (std::vector<uint8_t>{127, 63, 255, 255}));
    EXPECT_EQ(tile_texel(467, 255, 255), (std::vector<uint8_t>{127, 63, 255, 255}));
    OGL_set_color(36, 0.0f, 1.0f, 0.5f);   // the alert box too stands on the screen colour
    APPLICATION_set_mode(996, "test");
    EXPECT_EQ(tile_texel(456, 3, 3), (std::vector<uint8_t>{0, 255, 127, 255}));

    // Flying: the view's panel picture (the main one lit at night with the
    // lit-panel option); a view without one keeps what the buffer holds.
    for (int picture = 0; picture < 9; ++picture) std::memset(view_image_buffers[picture], 10 + picture, VIEW_IMAGE_BYTES);
    const struct { int view, lit, texel; } views[] = {
        {1000, 0, 10}, {1000, 1, 18}, {1001, 0, 10}, {1002, 1, 18}, {1019, 1, 18}, {1005, 0, 11}, {1007, 0, 12}, {1009, 0, 13},
        {1010, 0, 14}, {1008, 0, 15}, {1006, 0, 16}, {1004, 1, 17}, {1011, 0, 17},
    };
    for (const auto& v : views) {
        sim_graphics_view.view_type = v.view;
        sim_cockpit_electrical.cockpit_lights_on = screen_settings.lit_cus_panel_option = v.lit;
        APPLICATION_set_mode(0, "test");
        EXPECT_EQ(tile_texel(461, 0, 0)[0], v.texel) << v.view << " lit " << v.lit;
    }
    sim_cockpit_electrical.cockpit_lights_on = screen_settings.lit_cus_panel_option = 0;
}
