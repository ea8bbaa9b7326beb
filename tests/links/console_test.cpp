// The serial cockpit console on a pseudo-terminal: what the first ticks
// write, the bytes of the displays, changed groups only, the refresh after
// the avionics come on, the console's bytes applied through the joystick
// poll, a port that cannot be opened, and damaged streams.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "links/console.h"
#include "links/serial_calibration.h"
#include "platform/plat_serial.h"
#include "tests/links/joystick_fixture.h"

namespace {

using bytes = std::vector<uint8_t>;

class Console : public JoystickState {
protected:
    void SetUp() override
    {
        JoystickState::SetUp();
        char name[256];
        ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        PLAT_serial_set_device("COM1", name);
        for (int c = 0; c < CONSOLE_CHANNELS; ++c) {
            serial_axis_lo[c] = 0.0f;
            serial_axis_hi[c] = 255.0f;
        }
        sim_joystick.eq_cirrusII_fun = 1;
        sim_cockpit_electrical.avionics_on = 1;
        HARDWARE_open();
    }
    void TearDown() override
    {
        JoystickState::TearDown();
        close(master_);
        close(slave_);
    }

    // One frame of the poll on a 0.05-s tick (or off it), and what the console received.
    bytes tick(bool on_tick = true)
    {
        frame_clock += 0.05f;
        interval_ticks[INTERVAL_TWENTIETH_SECOND] = on_tick ? 1 : 0;
        poll();
        return received();
    }
    bytes received()
    {
        bytes out;
        uint8_t b[512];
        for (ssize_t n; (n = read(master_, b, sizeof b)) > 0;) out.insert(out.end(), b, b + n);
        return out;
    }
    void send(const bytes& b, bool settle = true)
    {
        ASSERT_EQ(write(master_, b.data(), b.size()), static_cast<ssize_t>(b.size()));
        if (settle) usleep(10000);   // the terminal hands the bytes on
    }
    static bool contains(const bytes& hay, const bytes& needle)
    {
        return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
    }

    int master_ = -1, slave_ = -1;
};

TEST_F(Console, FirstTickRefreshesThenSendsTheWholeMessageAndLaterOnlyChanges)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_freq_hz = 11020;
    r.com1_freq_hz = 11802;
    r.adf1_freq_hz = 379;
    r.transponder_code = 1200;
    r.transponder_light = 1;
    pln[0].acf_gear_deploy[67] = 1.0f;
    pln[0].acf_gear_deploy[68] = 0.5f;
    EXPECT_TRUE(tick(false).empty());   // between ticks nothing is built
    const bytes expected = {
        0x78, 0xFA, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,   // the refresh
        0xA0,                                                         // no marker
        0xB6,                                                         // no autopilot lamp
        0xC4, 0x00, 0x02, 0x20,                                       // DME shows a frequency
        0xC1, 0x11, 0x02, 0x04,  0xC3, 0x00, 0x00, 0x04,  0xC0, 0x11, 0x80, 0x24,  0xC2, 0x00, 0x00, 0x04,
        0xC5, 0x37, 0x9F, 0xF0,                                       // ADF 379, no hundredths
        0xC4, 0x00, 0x00, 0x02,                                       // DME distance 0.0
        0xD1, 0x00, 0x00, 0x04,  0xD3, 0x00, 0x00, 0x04,  0xD0, 0x00, 0x00, 0x04,  0xD2, 0x00, 0x00, 0x04,
        0xD5, 0x00, 0x0F, 0xF0,  0xD4, 0x00, 0x00, 0x04,
        0xC7, 0x12, 0x00, 0xE0,                                       // squawk 1200, reply lamp
        0xA9, 0x09,                                                   // leg 0 down, leg 1 moving
    };
    EXPECT_EQ(tick(), expected);
    EXPECT_TRUE(tick().empty());   // nothing changed, nothing sent

    r.nav1_freq_hz = 11170;
    r.adf1_stdby_freq_hz = 1750;       // past 999: the display holds 999
    r.transponder_code = 99999;        // past 9999: every digit holds 9
    r.nav1_dme_dist_m[0] = NAN;
    EXPECT_EQ(tick(), (bytes{0xC1, 0x11, 0x17, 0x04, 0xD5, 0x99, 0x9F, 0xF0, 0xC7, 0x99, 0x99, 0xE0}));

    // The DME of NAV2 (receiver 1) showing speed and time: 12.34 nm shows
    // 123 with the point code 2; 145.7 kt and 9.9 min show 145 and 09.
    sim_cockpit_switches.DME_distance_or_time = 1;
    sim_cockpit_switches.DME_radio_selector = 2;
    r.nav1_dme_dist_m[1] = 12.34f;
    r.nav1_dme_speed_kts[1] = 145.7f;
    r.nav1_dme_time_secs[1] = 9.9f;
    EXPECT_EQ(tick(), (bytes{0xC4, 0x00, 0x00, 0x40, 0xC4, 0x12, 0x30, 0x02, 0xD4, 0x14, 0x50, 0x94}));

    // A leg at 0.01 is already moving; one at 0.99 is not yet down.
    pln[0].acf_gear_deploy[67] = 0.99f;
    pln[0].acf_gear_deploy[69] = 0.01f;
    EXPECT_EQ(tick(), (bytes{0xA9, 0x2A}));

    // The close takes the port only while a console model is set.
    sim_joystick.eq_cirrusII_fun = 0;
    HARDWARE_close(0);
    EXPECT_EQ(console.port_open, 1);
    sim_joystick.eq_cirrusII_fun = 1;
    HARDWARE_close(0);
    EXPECT_EQ(console.port_open, 0);
}

// The marker lamp by priority and the autopilot lamp groups, each worked by
// hand from the modes (the first two or three groups of the message).
TEST_F(Console, MarkerAndAutopilotLampGroups)
{
    sim_cockpit_misc_block& m = sim_cockpit_misc;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const struct {
        int outer, middle, inner;
        int ap_mode, sc_fd, dc_fd, alt, hdg, hnav, vnav, backcourse;
        int override_lites, pfc;
        bytes groups;
        int length;
    } rows[] = {
        {1, 1, 1, 0, 0, 0, 9, 9, 9, 9, 0, 0, 0, {0xA2, 0xFF, 0xFF, 0xFF, 0xB6, 0xFF, 0xFF, 0xFF}, 68},
        {0, 1, 1, 2, 1, 1, 15, 9, 9, 9, 0, 0, 0, {0xA1, 0xFF, 0xFF, 0xFF, 0xA8, 0xA0, 0xFF, 0xFF}, 68},
        {0, 0, 1, 1, 1, 0, 9, 11, 18, 9, 1, 0, 0, {0xA4, 0xFF, 0xFF, 0xFF, 0xAA, 0x5A, 0xFF, 0xFF}, 68},
        {0, 0, 0, 2, 0, 0, 9, 9, 9, 21, 0, 0, 0, {0xA0, 0xFF, 0xFF, 0xFF, 0xAA, 0x04, 0xFF, 0xFF}, 68},
        {0, 0, 0, 0, 1, 1, 9, 9, 18, 20, 0, 0, 0, {0xA0, 0xFF, 0xFF, 0xFF, 0xAA, 0x03, 0xFF, 0xFF}, 68},
        {0, 0, 0, 2, 0, 1, 9, 9, 19, 9, 1, 0, 0, {0xA0, 0xFF, 0xFF, 0xFF, 0xA8, 0x40, 0xFF, 0xFF}, 68},
        {0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 0, 1, 0x85, {0xA0, 0xFF, 0xFF, 0xFF, 0xA8, 0x05, 0xFF, 0xFF}, 68},
        {0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 0, 1, 0x05,
         {0xA0, 0xFF, 0xFF, 0xFF, 0xB6, 0xFF, 0xFF, 0xFF, 0xAA, 0x05, 0xFF, 0xFF}, 72},
    };
    for (const auto& r : rows) {
        m.outer_marker_lit = r.outer, m.middle_marker_lit = r.middle, m.inner_marker_lit = r.inner;
        ap.autopilot_mode = r.ap_mode, ap.altitude_mode = r.alt, ap.heading_mode = r.hdg;
        ap.hnav_mode = r.hnav, ap.vnav_mode = r.vnav, ap.backcourse_on = r.backcourse;
        pln[0].acf_has_SC_fd = r.sc_fd, pln[0].acf_has_DC_fd = r.dc_fd;
        sim_operation_override.override_pfc_autopilot_lites = r.override_lites;
        sim_joystick_pfc.autopilot_lites = r.pfc;
        EXPECT_EQ(CONSOLE_build_message(), r.length);
        EXPECT_EQ(bytes(console.message, console.message + r.groups.size()), r.groups) << "row " << &r - rows;
    }
}

TEST_F(Console, AvionicsComingOnSendTheChangesThenTheRefreshWithinFiveSeconds)
{
    sim_cockpit_electrical.avionics_on = 0;
    sim_cockpit_radios.nav1_freq_hz = 11020;
    EXPECT_EQ(tick().size(), 10u);      // only the refresh, whatever the avionics
    for (int k = 0; k < 20; ++k) EXPECT_TRUE(tick().empty());

    sim_cockpit_electrical.avionics_on = 1;
    const float on_at = frame_clock + 0.05f;
    const bytes first = tick();
    EXPECT_TRUE(contains(first, {0xC1, 0x11, 0x02, 0x04}));
    EXPECT_NE(first[0], 0x78);
    bytes refresh;
    float refresh_at = 0.0f;
    for (int k = 0; k < 120 && refresh.empty(); ++k) {
        const bytes b = tick();
        if (!b.empty()) refresh = b, refresh_at = frame_clock;
    }
    ASSERT_FALSE(refresh.empty());
    EXPECT_GT(refresh_at, on_at + 4.0f);
    EXPECT_LE(refresh_at, on_at + 5.0f);
    // The refresh, then the first nine groups again (they differ from the refresh's).
    const bytes again = {0x78, 0xFA, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xA0, 0xB6, 0xC4, 0x00, 0x02, 0x20,
                         0xC1, 0x11, 0x02, 0x04, 0xC3, 0x00, 0x00, 0x04, 0xC0, 0x00, 0x00, 0x04, 0xC2, 0x00, 0x00, 0x04,
                         0xC5, 0x00, 0x0F, 0xF0, 0xC4, 0x00, 0x00, 0x02};
    EXPECT_EQ(refresh, again);
}

TEST_F(Console, ConsoleBytesActThroughThePoll)
{
    tick();
    sim_cockpit_radios.nav1_freq_hz = 11020;
    sim_cockpit_radios.nav1_stdby_freq_hz = 11020;
    send({0x85, 0xF1, 0x03});   // lever 0 reads 0xF1; 0xF1 with 0x03 is also NAV1's MHz knob
    tick(false);
    EXPECT_NEAR(console.channel[0], (255.0f - 241.0f) / 255.0f, 1e-6f);
    EXPECT_NEAR(flt[0].ENGN_thro[0], (255.0f - 241.0f) / 255.0f, 1e-6f);
    EXPECT_EQ(sim_cockpit_radios.nav1_stdby_freq_hz, 10920);

    // Model 12 takes the radios only.
    sim_joystick.eq_cirrusII_fun = 12;
    sim_cockpit_radios.nav1_stdby_freq_hz = 11330;
    send({0x85, 0x10, 0xF1, 0x01});
    tick(false);
    EXPECT_NEAR(console.channel[0], (255.0f - 241.0f) / 255.0f, 1e-6f);
    EXPECT_EQ(sim_cockpit_radios.nav1_freq_hz, 11330);
    EXPECT_EQ(sim_cockpit_radios.nav1_stdby_freq_hz, 11020);

    // The console's buttons press joystick buttons for this poll: code 92 toggles the landing lights.
    sim_joystick.eq_cirrusII_fun = 1;
    sim_joystick.joystick_button_assignments[1] = 92;
    send({0x9B, 12});
    tick(false);
    EXPECT_EQ(flt[0].landing_lights_on, 1);
    tick(false);   // not repeated: the button is up again
    EXPECT_EQ(flt[0].landing_lights_on, 1);
}

TEST_F(Console, CommandTable)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    const struct {
        bytes stream;
        std::function<void()> before;
        std::function<bool()> after;
        const char* what;
    } cases[] = {
        {{0xF8, 0x01}, [] { sim_cockpit_radios.nav1_obs_degm = 0.0f; }, [&] { return r.nav1_obs_degm == 359.0f; },
         "course knob down wraps"},
        {{0xF8, 0x10}, [] { sim_cockpit_radios.adf1_obs_card_mag = 359.0f; }, [&] { return r.adf1_obs_card_mag == 2.0f; },
         "card knob turns the other way, fast"},
        {{0xF6, 0x08, 0xF6, 0x08}, [] { sim_joystick_pfc.last_autopilot_button_input = 0; },
         [] { return sim_joystick_pfc.last_autopilot_button_input == 211 && sim_cockpit_autopilot.backcourse_on == 0; },
         "two presses counted in the hundreds"},
        {{0xF6, 0x08, 0xF6, 0x08}, [] { sim_joystick_pfc.last_autopilot_button_input = 850; },
         [] { return sim_joystick_pfc.last_autopilot_button_input == 11; }, "the count goes 911, then past 999 to 0"},
        {{0xF6, 0x00}, [] { sim_cockpit_autopilot.autopilot_mode = 1; },
         [] { return sim_cockpit_autopilot.autopilot_mode == 2; }, "autopilot on"},
        {{0xE5, 0x03}, [] { sim_cockpit_radios.adf1_stdby_freq_hz = 990; }, [&] { return r.adf1_stdby_freq_hz == 10; },
         "ADF standby wraps past 999"},
        {{0xF7, 0x05}, [] { sim_cockpit_radios.transponder_code = 200; }, [&] { return r.transponder_code == 7200; },
         "squawk thousands down wraps"},
        {{0xF9, 0x0F}, [] { sim_cockpit_autopilot.altitude = 3450.0f; },
         [] { return sim_cockpit_autopilot.altitude == 3300.0f; }, "altitude down to a whole hundred"},
        {{0xD6, 0xD7}, [] { sim_joystick.eq_pfc_cirrus2 = 0; },
         [] { return sim_cockpit_engine.fuel_pump_on[0] == 0 && sim_cockpit_switches.pitot_heat_on == 0; },
         "switch rows need the extended console"},
        {{0xD6, 0xD7}, [] { sim_joystick.eq_pfc_cirrus2 = 1; },
         [] { return sim_cockpit_engine.fuel_pump_on[0] == 1 && sim_cockpit_switches.pitot_heat_on == 1; },
         "extended switch rows"},
        {{0x86, 0x00, 0x8A, 0x80}, [] { sim_joystick.eq_pfc_pedals = 1; },
         [] { return flt[0].l_brake_add == 1.0f && std::fabs(flt[0].r_brake_add) < 1e-6f; }, "toe brakes"},
        {{0x86, 0x40}, [] { sim_joystick.eq_pfc_pedals = 1; },
         [] { return std::fabs(flt[0].l_brake_add - 0.5f) < 1e-6f; }, "toe brake half way: 1.15 - 0.5 x 1.3"},
        {{0x83, 0x7B}, [] { console.channel[4] = 0.25f; }, [] { return console.channel[4] == 0.25f; },
         "channel 4 ignores 0x7B"},
        {{0x92, 0x01},
         [] {
             sim_cockpit_electrical.battery_on = 1, flt[0].ENGN_bat_volt[0] = 1.0f;
             pln[0].acf_en_type[0] = 2;
         },
         [] { return sim_cockpit_engine.starter_duration[0] == 10.0f; }, "a turbine's starter runs ten seconds"},
        {{0x92, 0x02}, [] { pln[0].acf_en_type[1] = 1; },
         [] { return sim_cockpit_engine.starter_duration[1] == 1.0f; }, "a piston engine's one second"},
        {{0x85, 0x40}, [] { fide_mode = 1; },
         [] { return std::fabs(console.channel[0] - 63.0f / 127.0f) < 1e-6f; }, "fixed lever scale: (127 - 64) / 127"},
        {{0x85, 0xC0}, [] {}, [] { return console.channel[0] == 0.0f; }, "fixed scale: 192 is past the top"},
        {{0x96, 0x10}, [] { fide_mode = 0, screen_settings.eq_cirrus_layout2 = 1; },
         [] { return sim_cockpit_switches.auto_brake_settings == -1; }, "auto-brake off"},
        {{0x96, 0x15}, [] {}, [] { return sim_cockpit_switches.auto_brake_settings == 4; }, "auto-brake maximum"},
        {{0x92, 0x24}, [] { flt[0].ENGN_mixt[0] = flt[0].ENGN_mixt[1] = 0.5f; },
         [] { return flt[0].ENGN_mixt[0] == 0.0f && flt[0].ENGN_mixt[1] == 1.0f; }, "mixture cut-off of engine 0"},
        {{0x97, 0x12}, [] { sim_joystick.eq_pfc_cirrus2 = 1; },
         [] { return sim_cockpit_engine.fuel_tank_transfer == 3; }, "fuel transfer switch's third place is 3"},
        {{0x9C, 0x0E},
         [] {
             sim_cockpit_autopilot.airspeed_mode = 10;
             sim_cockpit_switches.yaw_damper_on = 0;
             sim_joystick_pfc.last_autopilot_button_input = 0;
         },
         [] {
             return sim_cockpit_autopilot.airspeed_mode == 9 && sim_cockpit_switches.yaw_damper_on == 1 &&
                    sim_cockpit_switches.anti_ice_on == 1 && sim_joystick_pfc.last_autopilot_button_input == 115;
         },
         "speed hold off, yaw damper toggled, anti-ice on"},
        {{0xF8, 0x10}, [] { sim_cockpit_misc.radio_altimeter_minimum = 2450.0f; },
         [] { return sim_cockpit_misc.radio_altimeter_minimum == 2500.0f; }, "decision height up fast, held at 2500"},
        {{0xE9, 0x0B}, [] { sim_cockpit_autopilot.airspeed = 120.0f; },
         [] { return sim_cockpit_autopilot.airspeed == 130.0f; }, "speed knob up ten knots"},
    };
    for (const auto& c : cases) {
        c.before();
        send(c.stream);
        tick(false);
        EXPECT_TRUE(c.after()) << c.what;
    }
    screen_settings.eq_cirrus_layout2 = 0;
    // Model 8: lever 2 is the first throttle, in reverse below half of lever 5.
    sim_joystick.eq_cirrusII_fun = 8;
    pln[0].acf_throtmax_REV = 0.5f;
    send({0x87, 0x00, 0x84, 0x00});   // the lowest readings are the levers' tops: forward, full
    tick(false);
    EXPECT_EQ(flt[0].ENGN_propmode[0], 1);
    EXPECT_EQ(flt[0].ENGN_thro[0], 1.0f);
    send({0x87, 0xFF, 0x84, 0x00});   // lever 5 at its bottom: reverse
    tick(false);
    EXPECT_EQ(flt[0].ENGN_propmode[0], 3);
    EXPECT_EQ(flt[0].ENGN_thro[0], 0.5f);

    // Model 11: lever 1 forward on engine 0, lever 2 its reverse; reverse is
    // in while lever 1 is below 0.1 and lever 2 below 0.9.
    sim_joystick.eq_cirrusII_fun = 11;
    send({0x84, 0xFF, 0x89, 217});   // lever 2 at 0; lever 1 at 38 / 255 = 0.149: forward
    tick(false);
    EXPECT_EQ(flt[0].ENGN_propmode[0], 1);
    EXPECT_NEAR(flt[0].ENGN_thro[0], 38.0f / 255.0f, 1e-6f);
    send({0x89, 0xFF});              // lever 1 closed: reverse, the throttle left as it was
    tick(false);
    EXPECT_EQ(flt[0].ENGN_propmode[0], 3);
    EXPECT_NEAR(flt[0].ENGN_thro[0], 38.0f / 255.0f, 1e-6f);
    send({0x84, 0x80});              // lever 2 at 127 / 255: 1 - 0.498 x 0.5
    tick(false);
    EXPECT_NEAR(flt[0].ENGN_thro[0], 1.0f - 127.0f / 255.0f * 0.5f, 1e-6f);

    // A held trim key repeats on the 0.05-s tick, on the 0.1-s tick with the fixed lever scale.
    fide_mode = 1;
    interval_ticks[INTERVAL_TENTH_SECOND] = 0;
    flt[0].elv_trim = 0.0f;
    send({0xD1});
    tick(true);
    EXPECT_EQ(flt[0].elv_trim, 0.0f);
    interval_ticks[INTERVAL_TENTH_SECOND] = 1;
    send({0xD1});
    tick(false);
    EXPECT_NEAR(flt[0].elv_trim, 0.001f, 1e-7f);
    fide_mode = 0;
}

// The switch rows, one-byte messages, axes, calibration and lever models,
// each row's records set, its bytes sent through the poll, then the records
// read. Before every row the throttles, propellers, mixtures and heats of
// engines 0..3 are set to -1, so a lever a model leaves alone reads -1.
TEST_F(Console, SwitchRowsAxesAndLeverModelsByTable)
{
    struct record {
        float* f = nullptr;
        int32_t* i = nullptr;
        record(float& x) : f(&x) {}
        record(int32_t& x) : i(&x) {}
    };
    using values = std::vector<std::pair<record, double>>;
    flt_struct& f = flt[0];
    sim_cockpit_engine_block& e = sim_cockpit_engine;
    sim_joystick_block& j = sim_joystick;
    screen_settings_block& s = screen_settings;
    sim_time_block& t = sim_time;
    int32_t& gear = sim_cockpit_switches.gear_handle_status;
    // Levers 5, 0, 1, 2, 3, 4 at 0, 0.8, 0.6, 0.4, 0.2, 1 of their travel.
    const bytes levers = {0x87, 255, 0x85, 51, 0x89, 102, 0x84, 153, 0x88, 204, 0x83, 0};
    const struct {
        values set;
        bytes stream;
        values expect;
    } rows[] = {
        {{{j.eq_pfc_cirrus2, 1}, {sim_cockpit_electrical.battery_on, 1}, {f.ENGN_bat_volt[0], 1}, {pln[0].acf_gear_retract, 1}},
         {0x93, 2}, {{e.fuel_tank_selector, 4}}},
        {{}, {0x97, 3}, {{e.fuel_tank_selector, 2}}},
        {{}, {0x93, 1}, {{e.fuel_tank_selector, 1}}},
        {{}, {0x97, 0}, {{e.fuel_tank_selector, 0}}},
        {{}, {0x98, 1, 0x99, 2}, {{f.ignition_on[0], 2}, {f.ignition_on[1], 1}}},
        {{}, {0x98, 3, 0x99, 0}, {{f.ignition_on[0], 3}, {f.ignition_on[1], 0}}},
        {{{f.ignition_on[1], 3}, {f.ignition_on[2], 3}, {f.ignition_on[3], 3}}, {0x92, 0x14, 0x92, 0x21},   // magnetos off
         {{f.ignition_on[0], 0}, {f.ignition_on[1], 3}, {f.ignition_on[2], 3}, {f.ignition_on[3], 0}}},
        {{{f.ignition_on[0], 3}, {f.ignition_on[3], 3}}, {0x92, 0x11, 0x92, 0x24},
         {{f.ignition_on[0], 3}, {f.ignition_on[1], 0}, {f.ignition_on[2], 0}, {f.ignition_on[3], 3}}},
        {{}, {0x9A, 0x05},
         {{f.beacon_lights_on, 1}, {f.strobe_lights_on, 1}, {f.nav_lights_on, 0}, {f.landing_lights_on, 1}, {f.taxi_light_on, 0}}},
        {{}, {0x9A, 0x0A},
         {{f.beacon_lights_on, 0}, {f.strobe_lights_on, 0}, {f.nav_lights_on, 1}, {f.landing_lights_on, 0}, {f.taxi_light_on, 1}}},
        {{}, {0x91, 2}, {{f.ENGN_cowl[0], 1}, {f.ENGN_cowl[1], 0}}},
        {{}, {0x96, 2, 0x91, 1}, {{f.ENGN_cowl[0], 0}, {f.ENGN_cowl[1], 1}}},
        {{}, {0xD4}, {{f.ENGN_heat[0], 1}, {f.ENGN_heat[1], 1}, {f.ENGN_heat[2], -1}}},   // two engines
        {{}, {0xC4}, {{f.ENGN_heat[0], 0}, {f.ENGN_heat[1], 0}}},
        {{{t.timer_elapsed_time_sec, 5}}, {0xB0}, {{t.timer_elapsed_time_sec, 0}, {t.timer_is_running_sec, 0}}},
        {{{t.timer_elapsed_time_sec, 5}}, {0xB1}, {{t.timer_elapsed_time_sec, 5}, {t.timer_is_running_sec, 1}}},
        {{}, {0xB5}, {{t.paused, 1}}},
        {{}, {0xB5}, {{t.paused, 1}}},   // 0.05 s after the last: not again
        {{{frame_clock, 20}}, {0xB5}, {{t.paused, 0}}},
        {{{gear, 1}}, {0xD2, 0xD2}, {{gear, 0}}},
        {{}, {0xC2, 0xC2}, {{gear, 1}}},
        // The held parking brake lasts 1 s after the last press; the latched one toggles 0.5 s apart at most.
        {{{frame_clock, 40}}, {0xD5}, {{f.parkbrake, 1}}},
        {{{frame_clock, 40.9f}}, {0xC0}, {{f.parkbrake, 1}}},
        {{{frame_clock, 41.05f}}, {0xC0}, {{f.parkbrake, 0}}},
        {{{s.eq_cirrus_latch_brake, 1}, {frame_clock, 50}}, {0xD5}, {{f.parkbrake, 1}}},
        {{{frame_clock, 50.4f}}, {0xD5}, {{f.parkbrake, 1}}},
        {{{frame_clock, 50.6f}}, {0xD5}, {{f.parkbrake, 0}}},
        // Starter latches of the second layout act on every message until both are off.
        {{{s.eq_cirrus_layout2, 1}}, {0x92, 0x16}, {{e.starter_duration[0], 1}, {e.starter_duration[1], 0}}},
        {{{e.starter_duration[0], 0}}, {0xF8, 0x09}, {{e.starter_duration[0], 1}}},
        {{{e.starter_duration[0], 0}, {s.eq_cirrus_layout2, 0}}, {0xF8, 0x09}, {{e.starter_duration[0], 0}}},
        {{{s.eq_cirrus_layout2, 1}}, {0x92, 0x19}, {{e.starter_duration[0], 1}, {e.starter_duration[1], 1}}},
        {{{e.starter_duration[0], 0}, {e.starter_duration[1], 0}}, {0x92, 0x15, 0xF8, 0x09},
         {{e.starter_duration[0], 0}, {e.starter_duration[1], 0}}},
        // Axes over 0..200: 160 is 0.6, to the power 1.5 is 0.464758, times each axis's sensitivity.
        {{{s.eq_cirrus_layout2, 0}, {j.eq_pfc_cirrus2, 0}, {serial_axis_hi[6], 200}, {serial_axis_hi[7], 200},
          {serial_axis_hi[8], 200}, {j.joystick_pitch_sensitivity, 0.5f}, {j.joystick_heading_sensitivity, 2}, {j.eq_pfc_pedals, 1}},
         {0x80, 160, 0x81, 40, 0x82, 0}, {{j.yolk_roll_ratio, 0.464758}, {j.yolk_pitch_ratio, -0.232379}, {j.yolk_heading_ratio, -2}}},
        {{{sim_operation_override.override_joystick_roll, 1}, {j.eq_pfc_pedals, 0}}, {0x80, 0, 0x82, 200},
         {{j.yolk_roll_ratio, 0.464758}, {j.yolk_heading_ratio, -2}}},
        // Calibration learns the lever's range only on the joystick screen while calibrating.
        {{{app_mode, MODE_JOYSTICK}, {s.joy_calibrating, 1}, {serial_axis_lo[0], 100}, {serial_axis_hi[0], 200}},
         {0x85, 50}, {{serial_axis_lo[0], 50}, {serial_axis_hi[0], 200}, {console.channel[0], 1}}},
        {{}, {0x85, 250}, {{serial_axis_lo[0], 50}, {serial_axis_hi[0], 250}, {console.channel[0], 0}}},
        {{{s.joy_calibrating, 0}}, {0x85, 10}, {{serial_axis_lo[0], 50}, {console.channel[0], 1}}},
        {{{app_mode, MODE_FLYING}, {s.joy_calibrating, 1}}, {0x85, 10}, {{serial_axis_lo[0], 50}}},
        // Lever models; full forward 0.9, reverse 0.5; propeller 100 + 150 x lever.
        {{{serial_axis_lo[0], 0}, {serial_axis_hi[0], 255}, {j.eq_cirrusII_fun, 2}, {pln[0].acf_throtmax_FWD, 0.9f},
          {pln[0].acf_throtmax_REV, 0.5f}},
         levers, {{f.ENGN_thro[0], 0.72}, {f.ENGN_prop[0], 160}, {f.ENGN_mixt[0], 1}, {f.ENGN_thro[1], -1}}},
        {{{j.eq_cirrusII_fun, 3}}, levers, {{f.ENGN_heat[0], 0.2}, {f.ENGN_thro[0], 0.36}, {f.ENGN_mixt[0], 1}, {f.ENGN_prop[0], -1}}},
        {{{j.eq_cirrusII_fun, 4}}, levers,
         {{f.ENGN_thro[0], 0.72}, {f.ENGN_thro[1], 0.54}, {f.ENGN_prop[0], 160}, {f.ENGN_prop[1], 130}, {f.ENGN_mixt[0], 1},
          {f.ENGN_mixt[1], 0}}},
        {{{j.eq_cirrusII_fun, 5}}, levers, {{f.ENGN_thro[0], 0.72}, {f.ENGN_prop[1], 130}}},
        {{{j.eq_cirrusII_fun, 6}}, levers,
         {{f.ENGN_prop[0], 220}, {f.ENGN_prop[1], 190}, {f.ENGN_thro[0], 0.36}, {f.ENGN_thro[1], 0.18}, {f.ENGN_mixt[0], 1},
          {f.ENGN_mixt[1], 0}}},
        {{{j.eq_cirrusII_fun, 7}}, levers, {{f.ENGN_prop[0], 220}, {f.ENGN_thro[1], 0.18}}},
        {{{j.eq_cirrusII_fun, 9}}, levers,   // lever 5 low: reverse
         {{f.sbrkrqst, 0.2}, {f.ENGN_propmode[2], 3}, {f.ENGN_thro[0], 0.3}, {f.ENGN_thro[1], 0.2}, {f.ENGN_thro[2], 0.1},
          {f.ENGN_thro[3], -1}}},
        {{{j.eq_cirrusII_fun, 10}}, {0x87, 0, 0x89, 102, 0x84, 153, 0x88, 204, 0x83, 51},
         {{f.ENGN_propmode[3], 1}, {f.ENGN_thro[0], 0.54}, {f.ENGN_thro[1], 0.36}, {f.ENGN_thro[2], 0.18}, {f.ENGN_thro[3], 0.72}}},
    };
    for (const auto& row : rows) {
        for (const auto& [r, v] : row.set) r.f ? void(*r.f = static_cast<float>(v)) : void(*r.i = static_cast<int32_t>(v));
        for (float* a : {f.ENGN_thro, f.ENGN_prop, f.ENGN_mixt, f.ENGN_heat}) std::fill(a, a + 4, -1.0f);
        send(row.stream);
        tick(false);
        for (const auto& [r, v] : row.expect) EXPECT_NEAR(r.f ? *r.f : *r.i, v, 1e-4) << "row " << &row - rows;
    }
}

TEST_F(Console, AFullBufferIsReadOverTwoPassesNotLost)
{
    tick();
    sim_cockpit_autopilot.autopilot_mode = 0;
    bytes stream;
    for (int k = 0; k < 100; ++k) stream.insert(stream.end(), {0xF6, 0x03});   // each pair flips the flight director
    send(stream);
    tick(false);   // 199 bytes: 99 pairs and a lone 0xF6
    EXPECT_EQ(sim_cockpit_autopilot.autopilot_mode, 1);
    tick(false);   // the last byte: nothing whole
    EXPECT_EQ(sim_cockpit_autopilot.autopilot_mode, 1);
}

TEST_F(Console, PortThatCannotBeOpenedIsNamedOnceAndTheProgramRunsOn)
{
    HARDWARE_close(0);
    PLAT_serial_set_device("COM1", "/nonexistent/console");
    HARDWARE_open();
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    EXPECT_NE(recorded_alerts[0].lines[0].find("/nonexistent/console"), std::string::npos);
    EXPECT_NE(recorded_alerts[0].lines[1].find("opened"), std::string::npos);
    EXPECT_EQ(console.port_open, 0);
    for (int k = 0; k < 3; ++k) {   // the equipment screen tries once a second
        HARDWARE_close(0);
        HARDWARE_open();
        tick();
    }
    EXPECT_EQ(recorded_alerts.size(), 1u);
    sim_joystick.eq_cirrusII_fun = 2;   // new settings: named again
    HARDWARE_open();
    EXPECT_EQ(recorded_alerts.size(), 2u);
}

TEST_F(Console, ConsolePulledOutMidFlightIsNamedOnceAndLetGo)
{
    tick();
    close(master_);   // the other end goes: writes fail
    master_ = -1;
    sim_cockpit_radios.nav1_freq_hz = 11170;
    tick();
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    EXPECT_EQ(console.port_open, 0);
    sim_cockpit_radios.nav1_freq_hz = 11020;
    tick();
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

TEST_F(Console, DamagedStreamsNeverReachPastTheBuffers)
{
    std::mt19937 rng(38);
    for (int round = 0; round < 300; ++round) {
        sim_joystick.eq_cirrusII_fun = static_cast<int32_t>(rng() % 14);
        sim_joystick.eq_pfc_cirrus2 = rng() & 1;
        sim_joystick.eq_pfc_pedals = rng() & 1;
        screen_settings.eq_cirrus_layout2 = rng() & 1;
        sim_cockpit_switches.DME_distance_or_time = static_cast<int32_t>(rng() % 20) - 5;
        sim_cockpit_radios.transponder_code = static_cast<int32_t>(rng());
        sim_cockpit_radios.nav1_freq_hz = static_cast<int32_t>(rng());
        bytes b(rng() % 64);
        for (uint8_t& x : b) x = static_cast<uint8_t>(rng() % 3 ? 0x80 + rng() % 128 : rng() % 256);
        if (!b.empty() && sim_joystick.eq_cirrusII_fun != 0) send(b, false);
        tick(rng() & 1);
        // What the damaged bytes reach stays inside the message and the lever ranges.
        ASSERT_GE(console.message_length, 0) << round;
        ASSERT_LE(console.message_length, CONSOLE_MESSAGE_BYTES) << round;
        ASSERT_GE(console.output_count, 0) << round;
        ASSERT_LE(console.output_count, CONSOLE_MESSAGE_BYTES) << round;
        for (int c = 0; c < CONSOLE_CHANNELS; ++c) {
            ASSERT_TRUE(std::isfinite(console.channel[c])) << round << " " << c;
            ASSERT_GE(console.channel[c], c < 6 ? 0.0f : -1.0f) << round << " " << c;
            ASSERT_LE(console.channel[c], 1.0f) << round << " " << c;
        }
    }
}

}  // namespace
