// Engine gauges, the small gauges and the ECAM display through the panel
// pass: needle angles, texts and colours read back from feedback mode, and
// the tones and warnings the links layer's seam recorded.
#include "tests/panel/stack_fixture.h"

#include <string>
#include <tuple>
#include <vector>

#include "core/failure_slots.h"
#include "flightmodel/systems/weather.h"
#include "graphics/ogl_state.h"
#include "links/sound_seam.h"
#include "panel/controls/controls.h"
#include "panel/gauges/gauges.h"

namespace {

struct voice : sound_recorder {
    std::vector<std::string> spoken_texts;
    std::vector<int> played_slots, stopped_slots;
    void spoken(const char* text, int) override { spoken_texts.emplace_back(text); }
    void played(int slot, int, float, float) override { played_slots.push_back(slot); }
    void stopped(int slot) override { stopped_slots.push_back(slot); }
};

class Gauges : public StackTest {
protected:
    void SetUp() override
    {
        StackTest::SetUp();
        SOUND_install_recorder(&rec);
        weather_stage = weather_stage_state{};
    }
    // The angles of the needles of `style` one pass drew, in drawing order.
    std::vector<float> angles(int style)
    {
        std::vector<float> out;
        for (const drawn_needle& n : needles(capture_feedback(PANEL_update), style)) out.push_back(n.angle_deg);
        return out;
    }
    voice rec;
};

TEST_F(Gauges, LinearEngineGaugesCustomScalesMirrorAndEmptyStates)
{
    acf_struct& a = pln[0];
    pln[0].acf_num_engines = 2;
    flt[0].ENGN_oil_press[0] = 0.5f, flt[0].ENGN_oil_press[1] = 0.75f;
    only(326);
    slot(1, 326, 400, 300);
    auto n = angles(61);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_NEAR(n[0], 0.0f, 0.1f);
    EXPECT_NEAR(n[1], 15.0f, 0.1f);
    // Equal ends: the middle angle; the mirror flag turns engine 1's angles.
    a.acf_cus_rnd_use[14] = 1;
    a.acf_cus_rnd_lo_val[14] = a.acf_cus_rnd_hi_val[14] = 3.0f;
    a.acf_cus_rnd_lo_ang[14] = 20.0f, a.acf_cus_rnd_hi_ang[14] = 100.0f;
    n = angles(61);
    EXPECT_NEAR(n[0], 60.0f, 0.1f);
    EXPECT_NEAR(n[1], 60.0f, 0.1f);
    a.acf_cus_rnd_hi_val[14] = 1.0f, a.acf_cus_rnd_lo_val[14] = 0.0f;
    a.acf_cus_rnd_mirror[14] = 1;
    n = angles(61);
    EXPECT_NEAR(n[0], 60.0f, 0.1f);
    EXPECT_NEAR(angle_gap(n[1], 360.0f - 80.0f), 0.0f, 0.1f);
    // No power: the default low end.
    a.acf_cus_rnd_use[14] = 0;
    flt[0].ENGN_bat_volt[0] = 0.0f;
    n = angles(61);
    EXPECT_NEAR(n[0], -30.0f, 0.1f);
    power();
    // The torque readout of a jet (no propeller torque limit) divides by 1.
    only(408);
    a.acf_trq_max_prp = 0.0f;
    flt[0].ENGN_TRQ[0] = 0.42f;
    EXPECT_EQ(texts(110).at(-4), "TRQ:042");
    a.acf_trq_max_prp = 0.5f;   // a limit below one is a limit all the same
    EXPECT_EQ(texts(110).at(-4), "TRQ:084");
}

TEST_F(Gauges, AmmeterButtonShowsTheVoltsUntilItsDeadline)
{
    // The load meter beside its ammeter button; engine 0 discharging.
    only(328);
    slot(1, 413, X + 80.0f, Y);
    flt[0].ENGN_bat_amp[0] = -0.5f;
    flt[0].ENGN_bat_volt[0] = 1.0f;
    const auto shown = [&] {
        const auto n = angles(61);
        return n.empty() ? 999.0f : n[0];
    };
    EXPECT_NEAR(shown(), -15.0f, 0.1f);   // amps
    click(80.0f, 0.0f);                   // the button's own spot, through the pass
    EXPECT_FLOAT_EQ(volt_display_timeout[0], frame_clock + 0.1f);
    EXPECT_NEAR(shown(), 30.0f, 0.1f);    // volts while the deadline lies ahead
    frame_clock += 0.1f;                  // released: the deadline reached is past
    EXPECT_NEAR(shown(), -15.0f, 0.1f);
}

TEST_F(Gauges, FuelGaugesWalkTheTanksAndDropTanks)
{
    acf_struct& a = pln[0];
    a.acf_num_tanks = 2;
    a.acf_m_fuel_tot = 200.0f;
    a.acf_tank_rat[0] = a.acf_tank_rat[1] = 0.5f;
    flt[0].m_fuel1 = 100.0f, flt[0].m_fuel2 = 25.0f;
    a.acf_wpn_slot[3].wpn_type = 23;
    a.acf_wpn_slot[3].wpn_fuel = 80.0f, a.acf_wpn_slot[3].wpn_fuel_now = 40.0f;
    only(348);
    for (int s = 1; s < 4; ++s) slot(s, 348, 300.0f + 60.0f * s, 300);
    const auto n = angles(57);
    ASSERT_EQ(n.size(), 4u);
    EXPECT_NEAR(n[0], 135.0f, 0.1f);    // full
    EXPECT_NEAR(n[1], -67.5f, 0.1f);    // a quarter
    EXPECT_NEAR(n[2], 0.0f, 0.1f);      // the drop tank, half
    EXPECT_NEAR(n[3], -135.0f, 0.1f);   // past the last tank: empty
    // The twin gauge: a full left tank at 45; a tank without capacity parks half way.
    only(349);
    a.acf_tank_rat[1] = 0.0f;
    auto twin = angles(42);
    ASSERT_EQ(twin.size(), 2u);
    EXPECT_NEAR(twin[0], 45.0f, 0.1f);
    EXPECT_NEAR(twin[1], -90.0f, 0.1f);
    a.acf_tank_rat[0] = 0.0f, a.acf_tank_rat[1] = 0.5f;
    twin = angles(42);
    ASSERT_EQ(twin.size(), 2u);
    EXPECT_NEAR(twin[0], 90.0f, 0.1f);
    EXPECT_NEAR(twin[1], -112.5f, 0.1f);   // a quarter: -135 + 22.5
}

TEST_F(Gauges, StormscopeRangeStopwatchAndThermometer)
{
    only(332);
    flt[0].psi = 0.0f;
    auto strike = [](float nm) {
        weather_stage.lightning_bolts[0][0][0] = nm * 1852.0f;   // east
        weather_stage.lightning_flash_end = frame_clock + 1.0f;
        PANEL_update();
        weather_stage.lightning_flash_end = 0.0f;
        PANEL_update();
    };
    strike(17.0f);
    sim_time.total_running_time_sec = 59.9f;   // shown for a minute
    EXPECT_EQ(texts(110).at(-2), "+");   // 42.5 units east, the cross centred
    sim_time.total_running_time_sec = 61.0f;   // forgotten after a minute
    EXPECT_TRUE(texts(110).empty());
    strike(20.0f);
    EXPECT_TRUE(texts(110).empty());
    strike(18.0f);                         // 45 units out: past the 44 of the face
    EXPECT_TRUE(texts(110).empty());

    only(343);
    for (int expected_running : {1, 0, 0}) {
        click(15, -10);
        EXPECT_EQ(sim_time.timer_is_running_sec, expected_running);
        sim_time.timer_elapsed_time_sec += 75.0f;   // the frame loop counts while it runs
    }
    EXPECT_EQ(sim_time.timer_elapsed_time_sec, 75.0f);   // reset by the third, then counted once
    sim_time.timer_elapsed_time_sec = 75.9f;
    EXPECT_EQ(texts(115).at(4), "01:15");
    sim_time.timer_elapsed_time_sec = 6000.5f;   // past 99 minutes the minutes go on
    EXPECT_EQ(texts(115).at(4), "100:00");
    sim_time.timer_elapsed_time_sec = 75.9f;
    EXPECT_EQ(PANEL_clock_timer(1, 0), 1);
    EXPECT_EQ(sim_time.timer_is_running_sec, 1);
    EXPECT_EQ(PANEL_clock_timer(0, 1), 1);
    EXPECT_EQ(sim_time.timer_elapsed_time_sec, 0.0f);

    // The linear thermometers span -40..+80 of their unit over -30..+30 degrees:
    // 20 C is upright, -40 C at the left stop; 0 C is 32 F, (32 + 40) / 2 - 30 = 6.
    const struct { int type; float celsius, angle; } thermometers[] = {
        {352, 20.0f, 0.0f}, {352, -40.0f, -30.0f}, {352, 100.0f, 30.0f}, {353, 0.0f, 6.0f},
    };
    for (const auto& t : thermometers) {
        only(t.type);
        sim_weather.temperature_ambient_c = t.celsius;
        const auto n = angles(61);
        ASSERT_EQ(n.size(), 1u);
        EXPECT_NEAR(angle_gap(n[0], t.angle), 0.0f, 0.1f) << t.type << " " << t.celsius;
    }

    only(351);
    sim_weather.temperature_ambient_c = -5.0f;
    EXPECT_EQ(texts(115).at(-3), "023F");
    click(25, 0);
    EXPECT_EQ(texts(115).at(-3), "-005C");
}

TEST_F(Gauges, RadioAltimeterMinimumToneAndVarioTones)
{
    only(336);
    sim_cockpit_misc.radio_altimeter_minimum = 200.0f;
    flt[0].y_agl = 100.0f / 3.2808f;
    PANEL_update();                          // the first frame below: no tone
    EXPECT_TRUE(rec.played_slots.empty());
    flt[0].y_agl = 300.0f / 3.2808f;
    PANEL_update();
    flt[0].y_agl = 150.0f / 3.2808f;
    PANEL_update();
    PANEL_update();
    EXPECT_EQ(rec.played_slots, std::vector<int>{38});
    EXPECT_EQ(texts(112).at(-4), "01500200");

    rec.played_slots.clear();
    only(337);
    flt[0].groundspeed = 30.0f;
    flt[0].local_y = 1000.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    PANEL_update();
    flt[0].local_y += 0.2f;   // climbing 2 m/s
    PANEL_update();
    flt[0].local_y += 0.2f;
    PANEL_update();
    flt[0].local_y -= 0.5f;   // sinking
    PANEL_update();
    EXPECT_EQ(rec.played_slots, (std::vector<int>{26, 25}));
    EXPECT_EQ(rec.stopped_slots, std::vector<int>{26});
    click(44, -45);           // audio off stops the tone
    EXPECT_EQ(small_gauges.vario_audio_on, 0);
    EXPECT_EQ(rec.stopped_slots, (std::vector<int>{26, 25}));
}

TEST_F(Gauges, RadioAltimeterDialBendsAtFiveHundredFeetAndItsKnobStepsTheMinimum)
{
    only(334);
    sim_cockpit_misc.radio_altimeter_minimum = 1250.0f;   // 165 + 750 x 74 / 1500 = 202
    const struct { float feet, deg; } rows[] = {{0, 0},        {250, 82.5f},       {500, 165},  {2000, 239},
                                                 {2500, 263.667f}, {4000, 263.667f}, {-50, 0}};
    for (const auto& r : rows) {
        flt[0].y_agl = r.feet / 3.2808f;
        const auto height = angles(62), minimum = angles(63);
        ASSERT_EQ(height.size(), 1u);
        ASSERT_EQ(minimum.size(), 1u);
        EXPECT_LT(angle_gap(height[0], r.deg), 0.05f) << r.feet;
        EXPECT_LT(angle_gap(minimum[0], 202.0f), 0.05f);
    }
    // Without avionics the height needle rests at 0.
    sim_cockpit_electrical.avionics_on = 0;
    flt[0].y_agl = 300.0f;
    EXPECT_LT(angle_gap(angles(62).at(0), 0.0f), 0.05f);
    sim_cockpit_electrical.avionics_on = 1;
    // The knob steps the minimum by 10 and holds it at 2,500.
    sim_cockpit_misc.radio_altimeter_minimum = 2495.0f;
    click(44 + 5, -47 + 5);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.radio_altimeter_minimum, 2500.0f);
    click(44 - 5, -47 - 5);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.radio_altimeter_minimum, 2490.0f);
}

TEST_F(Gauges, EngineReadoutsVarioNeedleAndStrikeBearings)
{
    // Engine 0's text readouts: 9.5493 rpm per rad/s, fuel flow in pounds an
    // hour (kg/s x 2.2046 x 3600), ITT x 700.
    pln[0].acf_num_engines = 1;
    flt[0].POINT_tacrad[0] = 104.72f;   // 1000.0 rpm
    flt[0].ENGN_tacrad[0] = 209.44f;    // 2000.0 rpm
    flt[0].ENGN_N1_[0] = 87.4f;
    flt[0].ENGN_MPR[0] = 29.5f;
    flt[0].ENGN_EPR[0] = 1.234f;
    flt[0].ENGN_FF_[0] = 0.0126f;       // 100.0 lb/h
    flt[0].ENGN_ITT[0] = 1.5f;
    const struct { int type; const char* text; } readouts[] = {
        {404, "RPM:1000"}, {465, "RPM:2000"}, {405, "N1:087"},   {406, "MPR:29.50"},
        {407, "EPR:1.23"}, {409, "FF:0100"},  {410, "ITT:1050"},
    };
    for (const auto& r : readouts) {
        only(r.type);
        std::string row = texts(110)[-4];
        std::erase(row, ' ');
        EXPECT_EQ(row, r.text) << r.type;
    }

    // The variometer: -800..800 fpm over -218..38 degrees, from the change of
    // 0.5 v^2 + 9.7983 h over one frame.
    only(337);
    flt[0].groundspeed = 0.0f;
    flt[0].local_y = 0.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    const struct { float dy, speed, deg; } frames[] = {
        {0.0f, 0.0f, -90.0f},      // first frame: no rate yet, the middle of the scale
        {0.2f, 0.0f, -27.008f},    // 2 m/s up: 393.70 fpm
        {0.0f, 2.0f, -25.712f},    // 2 J/kg more in 0.1 s: 401.80 fpm
        {-1.0f, 2.0f, -218.0f},    // 10 m/s down pegs at the low end
    };
    for (const auto& f : frames) {
        flt[0].local_y += f.dy;
        flt[0].groundspeed = f.speed;
        const auto n = angles(64);
        ASSERT_EQ(n.size(), 1u);
        EXPECT_LT(angle_gap(n[0], f.deg), 0.05f) << f.dy << " " << f.speed;
    }

    // Stormscope strikes 10 nm away (25 units) turn with the heading: north
    // on a north heading straight up, north-east on an east heading up-left.
    only(332);
    const struct { float east_nm, north_nm, psi, y; } strikes[] = {
        {0.0f, 10.0f, 0.0f, 23.0f}, {7.0710678f, 7.0710678f, 90.0f, 16.0f},   // 17.68 - 2 (the cross centred)
    };
    for (const auto& s : strikes) {
        small_gauges = small_gauges_state{};
        flt[0].psi = s.psi;
        weather_stage.lightning_bolts[0][0][0] = s.east_nm * 1852.0f;
        weather_stage.lightning_bolts[0][0][2] = -s.north_nm * 1852.0f;
        weather_stage.lightning_flash_end = frame_clock + 1.0f;
        const auto shown = texts(110);
        ASSERT_EQ(shown.size(), 1u) << s.psi;
        EXPECT_EQ(shown.begin()->first, s.y) << s.psi;
        EXPECT_EQ(shown.begin()->second, "+");
    }
}

TEST_F(Gauges, RotorcraftWarningsSpeakOnTheTwoSecondFlag)
{
    only(204);
    pln[0].acf_num_engines = 1;
    flt[0].POINT_tacrad[1] = 40.0f;   // about 382 rpm
    sim_cockpit_switches.gear_handle_status = 0;
    flt[0].indicated_airspeed = 80.0f;
    frame_clock = 100.0f;
    sim_cockpit_switches.ECAM_mode = 96;   // a stray page still warns
    for (int f = 0; f < 4; ++f) {
        interval_ticks[INTERVAL_TWO_SECONDS] = f % 2;
        PANEL_update();
    }
    EXPECT_EQ(sim_cockpit_warnings.ECAM_warning_on, 4);
    EXPECT_EQ(rec.spoken_texts, (std::vector<std::string>(2, ECAM_warning_message(4))));
    flt[0].indicated_airspeed = 80.1f;
    rec.spoken_texts.clear();
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.ECAM_warning_on, 0);
    EXPECT_TRUE(rec.spoken_texts.empty());
    // Rule order: high blade pitch at low rotor speed hides the cyclic warning.
    flt[0].POINT_tacrad[1] = 20.0f;   // about 191 rpm
    flt[0].POINT_pitch_deg[1] = 8.0f;
    flt[0].cyclic_elev_blad_alph[1] = 8.0f;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.ECAM_warning_on, 1);
    EXPECT_FLOAT_EQ(sim_cockpit_warnings.master_caution_timeout, sim_time.total_running_time_sec + 0.1f);
    flt[0].POINT_pitch_deg[1] = 0.0f;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.ECAM_warning_on, 2);
    // Silenced warnings are not re-evaluated; the page shows instead.
    sim_cockpit_warnings.warning_suppression_timeout = frame_clock + 10.0f;
    sim_cockpit_warnings.ECAM_warning_on = 0;
    sim_cockpit_switches.ECAM_mode = 1;
    EXPECT_NE(texts(110).at(40).find("TAS MPH"), std::string::npos);
}

TEST_F(Gauges, EcamPagesColoursAndPageButtons)
{
    OGL_set_color(70, 0.0f, 1.0f, 0.0f);
    OGL_set_color(58, 1.0f, 0.0f, 0.0f);
    pln[0].acf_num_engines = 1;
    pln[0].acf_en_type[0] = 6;   // rocket: both pumps show 70 whatever N1 reads
    flt[0].ENGN_N1_[0] = 0.0f;
    only(196);
    click(30, -70);              // the hydraulics button of the display itself
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 3);
    auto pump_colours = [&] {
        std::vector<float> greens;
        for (const fb_rect& r : capture_rects(PANEL_update)) {
            const float y = std::round(r.y1 - Y + 2.0f) - 15.0f;   // the display sits 15 up
            if ((y == 40.0f || y == 30.0f) && r.x1 < X - 60.0f) greens.push_back(r.g);
        }
        return greens;
    };
    auto g = pump_colours();
    ASSERT_FALSE(g.empty());
    for (float v : g) EXPECT_NEAR(v, 1.0f, 1e-3f);
    pln[0].acf_en_type[0] = 0;
    for (float v : pump_colours()) EXPECT_NEAR(v, 0.0f, 1e-3f);
    OGL_fill_default_colors();

    // The separate page buttons set the page of every display; a stray page shows none.
    only(207);
    click(0, 0);
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 1);
    EXPECT_EQ(capture_rects(PANEL_update).size(), 1u);
    only(195);
    flt[0].m_fuel1 = 453.5925f;
    EXPECT_EQ(texts(110).at(48 + 15), "TANK1 LB001000");
    sim_cockpit_switches.ECAM_mode = 96;
    EXPECT_TRUE(texts(110).empty());
}

TEST_F(Gauges, EcamFuelRowsFlapColoursAndFailureLines)
{
    // Fuel page of the custom display (no page buttons, no shift), two
    // engines burning 360 lb/h each (0.04535925 kg/s): 0.0907185 kg/s in all.
    pln[0].acf_num_engines = 2;
    flt[0].ENGN_FF_[0] = flt[0].ENGN_FF_[1] = 0.04535925f;
    flt[0].m_fuel1 = 816.46650f;                // 2.5 h at that flow
    flt[0].groundspeed = 20.0f / 1.943844f;     // 20 kt: 50 nm in 2.5 h
    flt[0].m_total = 907.185f;                  // 2000 lb
    sim_cockpit_switches.ECAM_mode = 1;
    only(205);
    auto rows = texts(110);
    const struct { float y; const char* starts; } fuel[] = {
        {48, "TANK1 LB001800"}, {38, "TANK2 LB000000"}, {28, "TANK3 LB000000"}, {18, "TOTAL LB001800"},
        {-2, "FF1 PPH000360"},  {-12, "FF2 PPH000360"}, {-22, "ENDUR HR02.5"},  {-32, "RANGE NM00050"},
        {-42, "WEIGHT LB002000"},
    };
    for (const auto& r : fuel) EXPECT_EQ(rows[r.y], r.starts) << "row at " << r.y;
    EXPECT_EQ(rows.size(), std::size(fuel));
    // Engines stopped: the flow is taken as 1e-6 kg/s, so 0.0036 kg lasts 1 h.
    flt[0].ENGN_FF_[0] = flt[0].ENGN_FF_[1] = 0.0f;
    flt[0].m_fuel1 = 0.0036f;
    EXPECT_EQ(texts(110)[-22], "ENDUR HR01.0");

    // Flight-control page: the flap boxes (44 wide at y 29) are colour 59
    // while the flaps move, 50 within 0.01 of the request, absent at 0.01.
    OGL_set_color(50, 0.0f, 1.0f, 0.0f);
    OGL_set_color(59, 1.0f, 0.0f, 0.0f);
    pln[0].acf_flapEQ = 1;
    sim_cockpit_switches.ECAM_mode = 2;
    auto flap_greens = [] {
        std::vector<float> g;
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (std::fabs(r.x2 - r.x1 - 44.0f) < 0.01f && std::fabs(std::min(r.y1, r.y2) - (Y + 29.0f)) < 0.01f)
                g.push_back(r.g);
        return g;
    };
    const struct { float rat, rqst; std::vector<float> greens; } flaps[] = {
        {0.5f, 0.5f, {1.0f, 1.0f}}, {0.5f, 0.505f, {1.0f, 1.0f}}, {0.5f, 0.55f, {0.0f, 0.0f}},
        {0.5f, 1.0f, {0.0f, 0.0f}}, {0.01f, 0.01f, {}},
    };
    for (const auto& c : flaps) {
        flt[0].flaprat = c.rat, flt[0].flaprqst = c.rqst;
        EXPECT_EQ(flap_greens(), c.greens) << c.rat << " to " << c.rqst;
    }
    OGL_fill_default_colors();

    // Failure page: skids leave out the three gear lines without a gap, and
    // the hydraulics line shows only with hydraulic flight controls.
    sim_cockpit_switches.ECAM_mode = 4;
    pln[0].acf_gear_is_skid = 0;
    EXPECT_EQ(texts(110)[-42].substr(0, 8), "ANTI-ICE");
    pln[0].acf_gear_is_skid = 1;
    pln[0].acf_ff_hydraulic = 1;
    rows = texts(110);
    EXPECT_EQ(rows[-12].substr(0, 8), "ANTI-ICE");
    EXPECT_EQ(rows[-22].substr(0, 10), "HYDRAULICS");
    EXPECT_EQ(rows[-32].substr(0, 8), "STAB AUG");

    // The right column: one line per engine for entries 50 + e, then 98 + e,
    // then 74 + e, from y 48 down; a failed entry's line is colour 58.
    OGL_set_color(58, 1.0f, 0.0f, 0.0f);
    OGL_set_color(70, 0.0f, 1.0f, 0.0f);
    flt[0].failures[99] = FAILURE_STATE_FAILED;   // engine 2's line of the second group
    flt[0].failures[74] = FAILURE_STATE_FAILED;   // engine 1's line of the third group
    std::map<float, float> red_by_row;
    for (const fb_rect& r : capture_rects(PANEL_update))
        if (r.x1 > X + 1.0f) red_by_row[std::round(r.y1 - Y + 2.0f)] = r.r;
    const std::map<float, float> want = {{48, 0}, {38, 0}, {28, 0}, {18, 1}, {8, 1}, {-2, 0}};
    for (const auto& [y, red] : want) EXPECT_EQ(red_by_row[y], red) << "right column line at " << y;
    flt[0].failures[99] = flt[0].failures[74] = 0;
    OGL_fill_default_colors();
}

}  // namespace

// The rotorcraft warnings' thresholds, first rule first; the rocket display's
// two round dials side by side at y 30, 72 apart; the hydraulic needles at
// x = 9 + 53 x ratio under each row.
TEST_F(Gauges, EcamWarningThresholdsRocketDialsAndHydraulicNeedles)
{
    only(204);
    pln[0].acf_num_engines = 1;
    const float rpm = 3.14159265f / 30.0f;
    const struct { float pitch, rotor_rpm, cyclic, ias; int gear, warning; } cases[] = {
        {8.0f, 240.0f, 0.0f, 0.0f, 0, 1},  {8.0f, 260.0f, 0.0f, 0.0f, 0, 0},  {6.0f, 100.0f, 0.0f, 0.0f, 0, 0},
        {0.0f, 60.0f, 7.5f, 0.0f, 0, 2},   {0.0f, 60.0f, 6.5f, 0.0f, 0, 3},   {0.0f, 60.0f, 5.5f, 0.0f, 0, 0},
        {0.0f, 45.0f, 7.5f, 0.0f, 0, 0},
        {0.0f, 300.0f, 0.0f, 50.0f, 0, 4}, {0.0f, 300.0f, 0.0f, 49.9f, 0, 0}, {0.0f, 300.0f, 0.0f, 131.0f, 1, 5},
        {0.0f, 300.0f, 0.0f, 129.0f, 1, 0}, {0.0f, 300.0f, 0.0f, 131.0f, 0, 0},
    };
    for (const auto& c : cases) {
        flt[0].POINT_pitch_deg[1] = c.pitch;
        flt[0].POINT_tacrad[1] = c.rotor_rpm * rpm;
        flt[0].cyclic_elev_blad_alph[1] = c.cyclic;
        flt[0].indicated_airspeed = c.ias;
        sim_cockpit_switches.gear_handle_status = c.gear;
        PANEL_update();
        EXPECT_EQ(sim_cockpit_warnings.ECAM_warning_on, c.warning)
            << c.pitch << " deg " << c.rotor_rpm << " rpm cyclic " << c.cyclic << " at " << c.ias << " kt";
    }

    pln[0].acf_num_engines = 2;
    sim_cockpit_switches.ECAM_mode = 0;
    only(202);
    std::vector<std::pair<float, float>> pivots;
    for (const drawn_needle& n : needles(capture_feedback(PANEL_update), 45))
        pivots.emplace_back(n.pivot_x - X, n.pivot_y - Y);
    std::sort(pivots.begin(), pivots.end());
    const std::vector<std::pair<float, float>> dials = {{-36.0f, 30.0f}, {-36.0f, 30.0f}, {36.0f, 30.0f}, {36.0f, 30.0f}};
    ASSERT_EQ(pivots.size(), dials.size());
    for (size_t k = 0; k < dials.size(); ++k) {
        EXPECT_NEAR(pivots[k].first, dials[k].first, 0.01f) << k;
        EXPECT_NEAR(pivots[k].second, dials[k].second, 0.01f) << k;
    }

    only(203);
    sim_cockpit_switches.ECAM_mode = 3;
    for (const auto& [ratio, x] : {std::pair{0.0f, 9.0f}, std::pair{0.5f, 35.5f}, std::pair{1.0f, 62.0f}}) {
        sim_operation_failures.hydraulic_pressure_ratio = ratio;
        const auto n = needles(capture_feedback(PANEL_update), 44);
        ASSERT_EQ(n.size(), 2u) << ratio;
        for (const drawn_needle& d : n) EXPECT_NEAR(d.pivot_x - X, x, 0.01f) << ratio;
        EXPECT_NEAR(n[0].pivot_y - Y, 0.0f, 0.01f);
        EXPECT_NEAR(n[1].pivot_y - Y, -18.0f, 0.01f);
    }
    // At size 2 the needles stay on their scaled rows: (71, 0) and (71, -36) at ratio 0.5.
    only(203, 2.0f);
    sim_operation_failures.hydraulic_pressure_ratio = 0.5f;
    const auto doubled = needles(capture_feedback(PANEL_update), 44);
    ASSERT_EQ(doubled.size(), 2u);
    EXPECT_NEAR(doubled[0].pivot_x - X, 71.0f, 0.01f);
    EXPECT_NEAR(doubled[1].pivot_y - Y, -36.0f, 0.01f);
    only(203);
    sim_operation_failures.hydraulic_pressure_ratio = 0.0f;
    // A pump's line is in row 70 while its engine's N1 is above 10, else in row 58;
    // a rocket engine shows both in 70.
    OGL_set_color(58, 0.77f, 0.0f, 0.0f);
    auto pump_glyphs_in_58 = [] {
        int n = 0;
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (std::fabs(r.r - 0.77f) < 1e-3f && r.x1 < X - 30.0f) ++n;
        return n;
    };
    pln[0].acf_num_engines = 2;
    const struct { float n1_0, n1_1; int en_type; bool pump1_off, pump2_off; } pumps[] = {
        {10.5f, 10.5f, 0, false, false}, {10.0f, 11.0f, 0, true, false}, {11.0f, 6.0f, 0, false, true}, {0.0f, 0.0f, 6, false, false}};
    const int one_line = [&] {
        flt[0].ENGN_N1_[0] = 0.0f, flt[0].ENGN_N1_[1] = 20.0f, pln[0].acf_en_type[0] = 0;
        return pump_glyphs_in_58();
    }();
    ASSERT_GT(one_line, 0);
    for (const auto& p : pumps) {
        flt[0].ENGN_N1_[0] = p.n1_0, flt[0].ENGN_N1_[1] = p.n1_1, pln[0].acf_en_type[0] = p.en_type;
        EXPECT_EQ(pump_glyphs_in_58(), one_line * (int(p.pump1_off) + int(p.pump2_off))) << p.n1_0 << " " << p.n1_1;
    }
    pln[0].acf_en_type[0] = 0;
    OGL_fill_default_colors();

    // Type 203's gear labels: "UP" in row 51 with all three legs up, "DOWN"
    // in row 50 with all down, "GEAR" in row 53 always.
    sim_cockpit_switches.ECAM_mode = 0;
    const int rows[4] = {50, 51, 53, 56};
    for (int k = 0; k < 4; ++k) OGL_set_color(rows[k], 0.1f + 0.2f * float(k), 0.0f, 0.0f);
    auto glyphs_in = [](int row) {
        int n = 0;
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (std::fabs(r.r - colour_table[row][0]) < 1e-3f && r.x1 > X + 40.0f) ++n;
        return n;
    };
    for (const auto& [deploy, up, down] : {std::tuple{0.0f, 2, 0}, std::tuple{1.0f, 0, 4}, std::tuple{0.5f, 0, 0}}) {
        for (int g = 0; g < 3; ++g) pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + g] = deploy;
        EXPECT_EQ(glyphs_in(51), up) << deploy;
        EXPECT_EQ(glyphs_in(50), down) << deploy;
        EXPECT_EQ(glyphs_in(53), 4) << deploy;
    }
    pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART] = pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + 1] = 1.0f;
    pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + 2] = 0.0f;   // one leg still up: neither label
    EXPECT_EQ(glyphs_in(50), 0);
    EXPECT_EQ(glyphs_in(51), 0);
    pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART] = 0.0f;   // only the middle leg down
    EXPECT_EQ(glyphs_in(51), 0);
    // The flap bar hangs from y 38, 50 units at full flaps: 25 long, 5 wide
    // at x 54 for flaps half out.
    flt[0].flaprat = 0.5f;
    int bars = 0;
    for (const fb_rect& r : capture_rects(PANEL_update))
        if (std::fabs(r.r - colour_table[56][0]) < 1e-3f && std::fabs(r.x1 - (X + 54.0f)) < 0.01f &&
            std::fabs(r.x2 - r.x1 - 5.0f) < 0.01f && std::fabs(r.y2 - r.y1 - 25.0f) < 0.01f)
            ++bars;
    EXPECT_EQ(bars, 1);
    OGL_fill_default_colors();
}
