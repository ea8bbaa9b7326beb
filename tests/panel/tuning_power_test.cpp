// Radio tuning steps, instrument power and the printed airspeed scales.
#include "tests/panel/panel_fixture.h"

#include "core/failure_slots.h"
#include "flightmodel/systems/radio_tuning.h"

namespace {

struct tuning_case {
    int (*tune)(int32_t*, int, int);
    int32_t before;
    int step, part;
    int32_t after;
};

int adf(int32_t* v, int step, int part) { return PANEL_tune_adf_digit(v, step, part), 0; }
int squawk(int32_t* v, int step, int part) { return PANEL_tune_squawk_digit(v, step, part), 0; }

}  // namespace

TEST_F(PanelTest, TuningStepsWrapEachPartWithoutCarry)
{
    const tuning_case cases[] = {
        {PANEL_tune_freq_digit, 11097, 1, 2, 11000},   // up from .97 wraps to .00, not 111.00
        {PANEL_tune_freq_digit, 11000, -1, 2, 11098},
        {PANEL_tune_freq_digit, 11098, -1, 2, 11095},
        {PANEL_tune_freq_digit, 11033, 1, 2, 11035},
        {PANEL_tune_freq_digit, 11002, 5, 2, 11005},    // only the sign of the step counts
        {PANEL_tune_freq_digit, 11000, 0, 2, 11002},    // and a step of 0 moves up
        {PANEL_tune_freq_digit, 11001, -1, 2, 11099},   // -1 is not nudged before it wraps
        {PANEL_tune_freq_digit, 11750, 1, 1, 10850},
        {PANEL_tune_freq_digit, 10850, -1, 1, 11750},
        {PANEL_tune_freq_digit, 11050, 0, 3, 11050},    // another part rewrites the value as it was
        {PANEL_tune_com_digit, 13625, 1, 1, 11825},
        {PANEL_tune_com_digit, 11825, -1, 1, 13625},
        {adf, 359, 1, 3, 350},
        {adf, 1020, 1, 1, 120},                         // the thousands digit is lost
        {adf, 1020, 0, 4, 20},
        {squawk, 7777, 1, 4, 7770},
        {squawk, 1200, -2, 1, 7200},
        {squawk, 1900, 1, 2, 1200},                     // a stored 9 becomes 2
        {squawk, 1900, 1, 3, 1910},                     // and stays until its own part is tuned
    };
    for (const tuning_case& c : cases) {
        int32_t v = c.before;
        c.tune(&v, c.step, c.part);
        EXPECT_EQ(v, c.after) << c.before << " step " << c.step << " part " << c.part;
    }
    int32_t nav = 11700;
    EXPECT_EQ(PANEL_tune_freq_digit(&nav, 1, 1), 108);   // the MHz part comes back
    // A sweep up from .00 visits the 0/2/5/7 hundredths and comes back to .00 in the same MHz.
    int32_t f = 11000;
    for (int k = 0; k < 40; ++k) {
        PANEL_tune_freq_digit(&f, 1, 2);
        EXPECT_EQ(f / 100, 110);
        EXPECT_TRUE(f % 10 == 0 || f % 10 == 2 || f % 10 == 5 || f % 10 == 7) << f;
    }
    EXPECT_EQ(f, 11000);
    // Down from .00: .98, then the nudges of 6, 3 and 8 give .95, .92, .90, .87, .85, .82, .80, .77.
    for (int32_t want : {11098, 11095, 11092, 11090, 11087, 11085, 11082, 11080, 11077}) {
        PANEL_tune_freq_digit(&f, -1, 2);
        EXPECT_EQ(f, want);
    }
}

TEST_F(PanelTest, MorseStepsSetTheKindAndTheNextStartTime)
{
    int32_t kinds[MORSE_STEPS] = {};
    float times[MORSE_STEPS] = {};
    times[0] = 10.0f;
    PANEL_morse_dot(kinds, times, 0);
    PANEL_morse_dash(kinds, times, 1);
    PANEL_morse_gap(kinds, times, 2);
    EXPECT_EQ(kinds[0], 1);
    EXPECT_EQ(kinds[1], 2);
    EXPECT_EQ(kinds[2], 0);
    EXPECT_FLOAT_EQ(times[1], 10.2f);
    EXPECT_FLOAT_EQ(times[2], 10.55f);
    EXPECT_FLOAT_EQ(times[3], 10.9f);
    // The last step gets its kind; there is no following step to start.
    PANEL_morse_dot(kinds, times, MORSE_STEPS - 1);
    EXPECT_EQ(kinds[MORSE_STEPS - 1], 1);
}

TEST_F(PanelTest, PowerComesFromTheBatteryOrFromTheEnginesN1)
{
    struct power_case {
        int engines, battery, avionics, failed;
        float volt0, volt1, n1_0;
        float level;
        int has, avionics_powered;
    };
    const power_case cases[] = {
        {1, 0, 1, 0, 0.0f, 0.0f, 10.0f, 1.0f, 1, 1},     // 10 % N1 is full power with the battery off
        {1, 0, 1, 0, 0.9f, 0.0f, 4.0f, 0.4f, 1, 1},      // 4 % N1 gives 0.4; the volts unread
        {1, 1, 1, 0, 0.01f, 0.0f, 50.0f, 0.01f, 0, 0},   // exactly 0.01 is not enough
        {2, 1, 0, 0, 0.4f, 0.7f, 0.0f, 1.0f, 1, 0},      // battery volts summed, clamped; avionics off
        {2, 1, 1, 0, 0.2f, 0.3f, 0.0f, 0.5f, 1, 1},
        {0, 1, 1, 0, 0.6f, 0.9f, 0.0f, 0.6f, 1, 1},      // no engines: engine 0 still counts
        {2, 1, 1, 1, 1.0f, 1.0f, 0.0f, 0.0f, 0, 0},      // the electrical failure takes everything
        {1, 1, 1, 0, -3.0f, 0.0f, 0.0f, 0.0f, 0, 0},
    };
    for (const power_case& c : cases) {
        pln[0].acf_num_engines = c.engines;
        sim_cockpit_electrical.battery_on = c.battery;
        sim_cockpit_electrical.avionics_on = c.avionics;
        flt[0].failures[44] = c.failed ? FAILURE_STATE_FAILED : 0;   // the electrical system
        flt[0].ENGN_bat_volt[0] = c.volt0;
        flt[0].ENGN_bat_volt[1] = c.volt1;
        flt[0].ENGN_N1_[0] = c.n1_0;
        EXPECT_FLOAT_EQ(PANEL_power_level(), c.level) << c.engines << " " << c.volt0;
        EXPECT_EQ(PANEL_has_power(), c.has) << c.engines << " " << c.volt0;
        EXPECT_EQ(PANEL_avionics_powered(), c.avionics_powered) << c.engines << " " << c.volt0;
    }

    // Inverters: a failed one does not count, another engine's working one does.
    pln[0].acf_num_engines = 2;
    sim_cockpit_engine.inverter_on[0] = 1;
    flt[0].failures[122] = FAILURE_STATE_FAILED;   // engine 1's inverter
    EXPECT_EQ(PANEL_inverter_on(), 0);
    sim_cockpit_engine.inverter_on[1] = 1;
    EXPECT_EQ(PANEL_inverter_on(), 1);
    flt[0].failures[123] = FAILURE_STATE_FAILED;
    EXPECT_EQ(PANEL_inverter_on(), 0);
    // Without engines engine 0's inverter counts, as its battery counts for the power level.
    flt[0].failures[122] = flt[0].failures[123] = 0;
    pln[0].acf_num_engines = 0;
    EXPECT_EQ(PANEL_inverter_on(), 1);
    flt[0].failures[122] = FAILURE_STATE_FAILED;
    EXPECT_EQ(PANEL_inverter_on(), 0);
}

TEST_F(PanelTest, PrintedAirspeedScalesFollowTheirSegments)
{
    panel_ins_type = 74;
    EXPECT_FLOAT_EQ(a_of_v(200.0f), 320.0f);
    EXPECT_FLOAT_EQ(a_of_v(40.0f), 30.0f);
    EXPECT_GT(a_of_v(260.0f), a_of_v(230.0f));       // the third segment keeps growing
    EXPECT_FLOAT_EQ(a_of_v(1000.0f), 360.0f);
    panel_ins_type = 78;
    EXPECT_FLOAT_EQ(a_of_v(0.0f), 0.0f);              // the -8 offset is clamped
    EXPECT_NEAR(a_of_v(100.0f), -8.0f + 60.0f * 0.1333f + 40.0f * 1.2842f, 1e-3f);
    // Each printed scale at its breakpoints and inside a curved segment.
    const struct {
        int type;
        float speed, angle;
    } points[] = {
        {74, 120.0f, 30.0f + 80.0f * 2.2f},
        {75, 30.0f, 60.0f * 0.25f * 0.7f},   // half way up a squared segment
        {75, 60.0f, 42.0f},
        {75, 140.0f, 42.0f + 80.0f * 1.625f},
        {75, 300.0f, 42.0f + 130.0f + 160.0f * 1.025f},
        {76, 200.0f, 60.0f * 0.4333f + 140.0f * 1.1f},
        {77, 400.0f, 60.0f * 0.4333f + 154.0f + 200.0f * 0.75f},
        {79, 450.0f, -8.0f + 60.0f * 0.1333f + 190.0f * 1.2842f + 200.0f * 0.45f},
    };
    for (const auto& p : points) {
        panel_ins_type = p.type;
        EXPECT_NEAR(a_of_v(p.speed), p.angle, 2e-3f) << p.type << " at " << p.speed;
    }
    panel_ins_type = 80;
    const alert_record a = expect_fatal([] { a_of_v(100.0f); });
    EXPECT_EQ(a.lines[0], "Bad a_of_v ins_type!");
    EXPECT_EQ(expect_fatal([] { update_eng_asi(50, 0, 0, 0, 0); }).lines[0], "Bad update_eng_asi argument!");
}

TEST_F(PanelTest, FullPowerFuelFlowFollowsTheEngineKind)
{
    acf_struct& a = pln[0];
    a.acf_num_engines = 8;
    a.acf_fmax_opt = 2.0f;
    a.acf_tmax = 1000.0f;
    a.acf_pmax = 200.0f;
    const struct {
        int kind;
        float burner, flow;
    } cases[] = {
        {6, 0.0f, 1.0f},   {7, 0.0f, 1.0f},                       // rockets: SFC x fuel at full power
        {4, 1.5f, 1500.0f}, {5, 1.0f, 500.0f}, {4, 0.5f, 500.0f},   // jets: SFC x thrust, x3 with an afterburner
        {0, 0.0f, 100.0f}, {3, 0.0f, 100.0f}, {8, 0.0f, 100.0f},   // propeller engines: SFC x power
        {9, 0.0f, 0.001f},
    };
    for (const auto& c : cases) {
        a.acf_en_type[2] = c.kind;
        a.acf_SFC[2] = 0.5f;
        a.acf_burnerinc = c.burner;
        EXPECT_FLOAT_EQ(ENGN_max_fuel_flow(2), c.flow) << c.kind << " " << c.burner;
    }
}
