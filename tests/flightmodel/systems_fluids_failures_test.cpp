// Icing, fuel, hydraulics and vacuum; the failure model; the annunciators
// and gyros: each flown through the systems step.
#include "core/engine_types.h"
#include "core/random.h"
#include "flightmodel/systems/annunciators.h"
#include "flightmodel/systems/failures.h"
#include "flightmodel/systems/fluids.h"
#include "flightmodel/systems/gyros.h"
#include "tests/flightmodel/systems_fixture.h"

namespace {

class SystemsFluids : public SystemsState {
protected:
    void SetUp() override
    {
        SystemsState::SetUp();
        trainer_like(pln[0]);
        place(34.0f, -117.0f, 2000.0f);
        flt[0].onground_any = flt[0].onground_all = 0;
    }

    // At -10 C (or `t`) at the leading edges inside an overcast layer.
    static void icing_cloud(float t = -10.0f)
    {
        sim_weather.cloud_type[0] = 4;
        sim_weather.cloud_base_msl_m[0] = flt[0].local_y - 500.0f;
        sim_weather.cloud_tops_msl_m[0] = flt[0].local_y + 500.0f;
        // The ambient air at the plane is 15 - 6.5 x 2 = 2 C less the offset below.
        sim_weather.temperature_sealevel_c = 15.0f;
        sim_weather.temperature_sealevel_c = t - (ATMO_temp_at_alt(flt[0].elevation) - 15.0f);
    }

    float ices() const { return flt[0].pitot_ice + flt[0].frm_ice + flt[0].prop_ice + flt[0].window_ice + flt[0].inlet_ice; }
};

}  // namespace

TEST_F(SystemsFluids, IceGrowsInColdCloudAndTheAntiIceTakesItOff)
{
    icing_cloud();
    frames(200);   // 10 s: ten 1-second passes
    ASSERT_NEAR(sim_weather.temperature_le_c, -10.0f, 0.05f);
    for (float ice : {flt[0].pitot_ice, flt[0].frm_ice, flt[0].prop_ice, flt[0].window_ice, flt[0].inlet_ice})
        EXPECT_NEAR(ice, 0.04f, 1e-4f);   // 0.005 - 0.001 a second

    sim_cockpit_switches.anti_ice_on = 1;
    frames(100);   // five passes of -0.006
    for (float ice : {flt[0].pitot_ice, flt[0].frm_ice, flt[0].prop_ice, flt[0].window_ice, flt[0].inlet_ice})
        EXPECT_NEAR(ice, 0.01f, 1e-4f);
    frames(100);
    EXPECT_EQ(ices(), 0.0f);   // never below 0

    // A failed anti-ice system heats nothing.
    flt[0].failures[FAIL_SLOT_ANTI_ICE] = FAILURE_STATE_FAILED;
    frames(100);
    EXPECT_NEAR(flt[0].frm_ice, 0.02f, 1e-4f);

    // At +5 C (once the air has settled) it melts by 0.0004 x 5 = 0.002 a second.
    icing_cloud(5.0f);
    frames(100);
    flt[0].frm_ice = 1.0f;
    const float before = flt[0].frm_ice;
    frames(100);
    EXPECT_NEAR(before - flt[0].frm_ice, 0.01f, 1e-4f);
}

// At -0.5 C in cloud with rain 0.8 the rain at the plane is 0.8 x (-0.5 + 1) x
// 0.5 = 0.2, so ice grows by 0.005 + 0.005 x 0.2 - 0.001 = 0.005 a second:
// 0.05 in 10 s. Each heater on its own takes 0.01 off its own accumulation only.
TEST_F(SystemsFluids, RainAddsIceAndEachHeaterClearsOnlyItsOwn)
{
    auto& sw = sim_cockpit_switches;
    float* const ice[5] = {&flt[0].pitot_ice, &flt[0].frm_ice, &flt[0].prop_ice, &flt[0].window_ice, &flt[0].inlet_ice};
    const struct {
        int32_t* heater;
        int cleared;   // index into `ice`
    } rows[] = {{&sw.pitot_heat_on, 0},       {&sw.anti_ice_surf_heat, 1},   {&sw.anti_ice_surf_boot, 1},
                {&sw.anti_ice_prop_heat, 2},  {&sw.anti_ice_window_heat, 3}, {&sw.anti_ice_inlet_heat, 4}};
    for (const auto& row : rows) {
        for (float* v : ice) *v = 0.0f;
        frame_clock = 0.0f;   // ten whole seconds: ten 1-second passes
        for (const auto& other : rows) *other.heater = 0;
        *row.heater = 1;
        icing_cloud(-0.5f);
        sim_weather.rain_percent = 0.8f;
        sim_graphics_view.view_elevation_m_msl = flt[0].elevation;
        frames(200);
        ASSERT_NEAR(sim_weather.precip_rain, 0.2f, 1e-3f);
        for (int k = 0; k < 5; ++k)
            EXPECT_NEAR(*ice[k], k == row.cleared ? 0.0f : 0.05f, 1e-4f) << "heater row " << (&row - rows) << " ice " << k;
    }
}

TEST_F(SystemsFluids, CarburettorIceAtPartPowerAndTheHeatClearsIt)
{
    sim_weather.temperature_sealevel_c = 20.0f;
    flt[0].ENGN_tacrad[0] = 100.0f;
    pln[0].acf_RSC_mingreen_eng = 150.0f;
    frames(200);
    EXPECT_NEAR(flt[0].ENGN_crbice[0], 0.05f, 1e-4f);
    flt[0].ENGN_heat[0] = 1.0f;
    frames(20);
    EXPECT_EQ(flt[0].ENGN_crbice[0], 0.0f);
}

TEST_F(SystemsFluids, HydraulicsBleedAwayOverThreeMinutesAfterTheirFailure)
{
    pln[0].acf_num_engines = 2;
    pln[0].acf_ff_hydraulic = 1;
    pln[0].acf_Vne = 200.0f;
    pln[0].acf_en_type[0] = pln[0].acf_en_type[1] = ENGINE_JET_HIGH_BYPASS;
    flt[0].ENGN_N1_[0] = flt[0].ENGN_N1_[1] = 10.0f;   // a pressure of exactly 1: 2 x 0.1 x 10 / 2
    frames(1);
    EXPECT_EQ(sim_operation_failures.hydraulic_pressure_ratio, 1.0f);
    EXPECT_EQ(sim_operation_failures.ram_air_turbine_on, 0);

    flt[0].failures[FAIL_SLOT_HYDRAULICS] = FAILURE_STATE_FAILED;
    frames(1800);   // 90 s
    EXPECT_NEAR(sim_operation_failures.hydraulic_pressure_ratio, 0.5f, 0.002f);
    frames(1800);
    EXPECT_EQ(sim_operation_failures.hydraulic_pressure_ratio, 0.0f);

    // Engines at idle: the ram-air turbine gives pressure by airspeed.
    flt[0].failures[FAIL_SLOT_HYDRAULICS] = FAILURE_STATE_ON_COMMAND;
    flt[0].ENGN_N1_[0] = flt[0].ENGN_N1_[1] = 0.5f;
    flt[0].indicated_airspeed = 100.0f;
    frames(1);
    EXPECT_EQ(sim_operation_failures.ram_air_turbine_on, 1);
    EXPECT_FLOAT_EQ(sim_operation_failures.hydraulic_pressure_ratio, 0.5f);
    // The turbine cuts in below an engine pressure of 0.75: 0.6 still needs it, 0.8 does not.
    flt[0].ENGN_N1_[0] = flt[0].ENGN_N1_[1] = 6.0f;
    frames(1);
    EXPECT_EQ(sim_operation_failures.ram_air_turbine_on, 1);
    flt[0].ENGN_N1_[0] = flt[0].ENGN_N1_[1] = 8.0f;
    frames(1);
    EXPECT_EQ(sim_operation_failures.ram_air_turbine_on, 0);
    EXPECT_FLOAT_EQ(sim_operation_failures.hydraulic_pressure_ratio, 0.8f);
}

TEST_F(SystemsFluids, DumpingEmptiesThreeTanksInFiveMinutes)
{
    acf_struct& a = pln[0];
    a.acf_m_fuel_tot = 300.0f;
    a.acf_num_tanks = 3;
    a.acf_tank_rat[0] = a.acf_tank_rat[1] = a.acf_tank_rat[2] = 1.0f / 3.0f;
    flt[0].m_fuel1 = flt[0].m_fuel2 = flt[0].m_fuel3 = 100.0f;
    sim_cockpit_switches.dumping_fuel = 1;
    frames(3000);   // 150 s
    EXPECT_NEAR(flt[0].m_fuel1, 50.0f, 0.05f);
    frames(3000);
    EXPECT_EQ(flt[0].m_fuel1 + flt[0].m_fuel2 + flt[0].m_fuel3, 0.0f);

    // No tanks: nothing dumps, nothing divides by zero.
    a.acf_num_tanks = 0;
    flt[0].m_fuel1 = 50.0f;
    frames(10);
    EXPECT_EQ(flt[0].m_fuel1, 50.0f);
}

TEST_F(SystemsFluids, TransferFillsTheChosenTankFromTheOthers)
{
    acf_struct& a = pln[0];
    a.acf_m_fuel_tot = 300.0f;
    a.acf_num_tanks = 2;
    a.acf_tank_rat[0] = a.acf_tank_rat[1] = 0.5f;
    flt[0].m_fuel1 = 50.0f;
    flt[0].m_fuel2 = 100.0f;
    sim_cockpit_electrical.battery_on = 1;
    flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery
    sim_cockpit_engine.fuel_tank_transfer = 1;
    frames(20);   // 1 s at 0.3 kg/s
    EXPECT_NEAR(flt[0].m_fuel1, 50.3f, 1e-3f);
    EXPECT_NEAR(flt[0].m_fuel2, 99.7f, 1e-3f);
    // A receiving tank the aircraft does not have, or a word set from outside, moves nothing.
    for (int32_t word : {3, 4, -1, 1 << 30}) {
        sim_cockpit_engine.fuel_tank_transfer = word;
        frames(20);
        EXPECT_NEAR(flt[0].m_fuel1, 50.3f, 1e-3f) << word;
    }
}

TEST_F(SystemsFluids, PowerRatiosWithoutARedlineAreZero)
{
    pln[0].acf_RSC_redline_prp = 0.0f;
    flt[0].POINT_tacrad[0] = 200.0f;
    frames(1);
    EXPECT_EQ(engine_power_ratio[0], 0.0f);
    EXPECT_EQ(flt[0].vacuum, 0.0f);   // nor any vacuum from the engine's pump
    pln[0].acf_RSC_redline_prp = 250.0f;
    frames(1);
    EXPECT_FLOAT_EQ(engine_power_ratio[0], 0.8f);
    EXPECT_NEAR(flt[0].vacuum, std::min(1.0f, std::sqrt(1.6f) * std::sqrt(sim_weather.sigma)), 1e-5f);
}

TEST_F(SystemsFluids, FailureTriggersByTimeSpeedAndCommand)
{
    flt_struct& f = flt[0];
    f.failures[FAIL_SLOT_GPS] = FAILURE_STATE_AT_TIME;
    f.failure_param[FAIL_SLOT_GPS] = 1.5f;   // minutes
    frames(1799);                           // 89.95 s
    EXPECT_EQ(f.failures[FAIL_SLOT_GPS], FAILURE_STATE_AT_TIME);
    frames(20);                             // the first 1-second pass after 90 s
    EXPECT_EQ(f.failures[FAIL_SLOT_GPS], FAILURE_STATE_FAILED);
    EXPECT_NE(f.comp_fail_stat[0] & (1 << FAIL_SLOT_GPS), 0);

    f.failures[FAIL_SLOT_DME] = FAILURE_STATE_ABOVE_SPEED;
    f.failure_param[FAIL_SLOT_DME] = 150.0f;
    f.indicated_airspeed = 150.0f;
    frames(40);
    EXPECT_EQ(f.failures[FAIL_SLOT_DME], FAILURE_STATE_ABOVE_SPEED);
    f.indicated_airspeed = 151.0f;
    frames(20);
    EXPECT_EQ(f.failures[FAIL_SLOT_DME], FAILURE_STATE_FAILED);

    // Altitude triggers read the height above sea level, not above the ground.
    terrain_height_m = 800.0f;
    f.failures[FAIL_SLOT_NAV1] = FAILURE_STATE_ABOVE_ALTITUDE;
    f.failure_param[FAIL_SLOT_NAV1] = 1500.0f;   // above the ground height, below the 2000 m elevation
    frames(20);
    EXPECT_EQ(f.failures[FAIL_SLOT_NAV1], FAILURE_STATE_FAILED) << f.elevation << " " << f.y_agl;
    terrain_height_m = 0.0f;

    // Slots from 138 up are tested only with the command armed, whatever their trigger.
    f.failures[138] = FAILURE_STATE_ABOVE_ALTITUDE;
    f.failure_param[138] = -1000.0f;
    frames(20);
    EXPECT_EQ(f.failures[138], FAILURE_STATE_ABOVE_ALTITUDE);

    // On command: the slots waiting for it fail at the next pass, and the command is spent.
    f.failures[FAIL_SLOT_ADF1] = FAILURE_STATE_ON_COMMAND;
    f.failures[140] = FAILURE_STATE_ON_COMMAND;
    fail_on_command_armed = 1;
    frames(20);
    EXPECT_EQ(f.failures[FAIL_SLOT_ADF1], FAILURE_STATE_FAILED);
    EXPECT_EQ(f.failures[140], FAILURE_STATE_FAILED);
    EXPECT_EQ(f.failures[138], FAILURE_STATE_FAILED);
    EXPECT_EQ(fail_on_command_armed, 0);
    f.failures[FAIL_SLOT_ADF2] = FAILURE_STATE_ON_COMMAND;
    frames(40);
    EXPECT_EQ(f.failures[FAIL_SLOT_ADF2], FAILURE_STATE_ON_COMMAND);
    EXPECT_EQ(f.comp_fail_stat[5] & (1 << 14), 0);   // slot 174 does not exist
}

TEST_F(SystemsFluids, SlotsOfAbsentEnginesNeverFailAndEcamShowsEngineFailures)
{
    pln[0].acf_num_engines = 1;
    flt_struct& f = flt[0];
    for (int k = 0; k < FAILURE_SLOTS; ++k) {
        f.failures[k] = FAILURE_STATE_ABOVE_ALTITUDE;
        f.failure_param[k] = -1000.0f;   // every trigger already met
    }
    fail_on_command_armed = 1;   // lets slots 138 and up be tested
    frames(20);
    for (int base : {50, 58, 66, 74, 98, 106, 114, 130}) {
        EXPECT_EQ(f.failures[base], FAILURE_STATE_FAILED) << base;
        for (int e = 1; e < 8; ++e) EXPECT_EQ(f.failures[base + e], FAILURE_STATE_ABOVE_ALTITUDE) << base + e;
    }
    EXPECT_EQ(f.failures[173], FAILURE_STATE_FAILED);
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 4);
}

// A mean time in minutes: 0.001 minutes fails at the first pass, 1,000 minutes
// (one chance in 60,000 a second) not within ten. Only the listed slots
// bring up the failure page: the glideslope (16) does not, a jammed roll (17) does.
TEST_F(SystemsFluids, FailuresAtAMeanTimeInMinutesAndTheFailurePage)
{
    UTIL_srand(1);
    flt_struct& f = flt[0];
    f.failures[FAIL_SLOT_GPS] = f.failures[FAIL_SLOT_DME] = FAILURE_STATE_MEAN_MINUTES;
    f.failure_param[FAIL_SLOT_GPS] = 0.001f;
    f.failure_param[FAIL_SLOT_DME] = 1000.0f;
    frames(20 * 10);
    EXPECT_EQ(f.failures[FAIL_SLOT_GPS], FAILURE_STATE_FAILED);
    EXPECT_EQ(f.failures[FAIL_SLOT_DME], FAILURE_STATE_MEAN_MINUTES);

    for (const auto& [slot, page] : {std::pair{16, false}, std::pair{17, true}, std::pair{42, true}, std::pair{49, false}}) {
        sim_cockpit_switches.ECAM_mode = 0;
        f.failures[slot] = FAILURE_STATE_ABOVE_SPEED;
        f.failure_param[slot] = -1.0f;   // met at once
        frames(20);
        EXPECT_EQ(f.failures[slot], FAILURE_STATE_FAILED) << slot;
        EXPECT_EQ(sim_cockpit_switches.ECAM_mode, page ? 4 : 0) << slot;
    }
}

// The failure page comes up for the listed slots only: each end of every
// listed range, and the slots just outside it.
TEST_F(SystemsFluids, TheFailurePageComesUpForTheListedSlotsOnly)
{
    pln[0].acf_num_engines = 8;
    flt_struct& f = flt[0];
    const struct { int slot; bool page; } cases[] = {
        {16, false}, {17, true},  {22, true},  {23, false},  {25, false}, {26, true},  {27, true},
        {28, false}, {29, false}, {30, true},  {34, true},   {35, false}, {41, false}, {42, true},
        {43, false}, {44, false}, {45, true},  {48, true},   {49, false}, {50, true},  {57, true},
        {58, true},  {65, true},  {66, false}, {73, false},  {74, true},  {81, true},  {82, false},
        {97, false}, {98, true},  {105, true}, {106, false}, {113, false}, {114, false}, {130, false},
    };
    for (const auto& c : cases) {
        sim_cockpit_switches.ECAM_mode = 0;
        f.failures[c.slot] = FAILURE_STATE_ABOVE_SPEED;
        f.failure_param[c.slot] = -1.0f;   // met at once
        FAILURES_one_second_pass();
        EXPECT_EQ(f.failures[c.slot], FAILURE_STATE_FAILED) << c.slot;
        EXPECT_EQ(sim_cockpit_switches.ECAM_mode, c.page ? 4 : 0) << c.slot;
    }
}

// A mean time of 0.05 minutes (3 s): each pass fails a slot when
// rand() x 3 / 32767 < 1, one chance in three; 100 such slots lose about 33.
TEST_F(SystemsFluids, AMeanTimeInMinutesFailsOneSlotInThatManySecondsAPass)
{
    UTIL_srand(5);
    pln[0].acf_num_engines = 8;
    flt_struct& f = flt[0];
    for (int k = 0; k < 100; ++k) f.failures[k] = FAILURE_STATE_MEAN_MINUTES, f.failure_param[k] = 0.05f;
    FAILURES_one_second_pass();
    int failed = 0;
    for (int k = 0; k < 100; ++k) failed += f.failures[k] == FAILURE_STATE_FAILED;
    EXPECT_GT(failed, 15);
    EXPECT_LT(failed, 55);
}

TEST_F(SystemsFluids, RandomFailuresAtTheMeanTimeBetweenFailures)
{
    UTIL_srand(1);
    sim_operation_failures.mean_time_between_failure_hrs = 0.5f;
    flt_struct& f = flt[0];
    for (int k = 0; k < 100; ++k) f.failures[k] = FAILURE_STATE_MTBF;
    pln[0].acf_num_engines = 8;
    frames(20 * 360);   // 360 passes over 100 slots: about 10 failures expected at 1 in 3,600 a second
    int failed = 0;
    for (int k = 0; k < 100; ++k) failed += f.failures[k] == FAILURE_STATE_FAILED;
    EXPECT_GT(failed, 2);
    EXPECT_LT(failed, 25);
}

TEST_F(SystemsFluids, AnnunciatorsByEngineAndTheLampTest)
{
    pln[0].acf_num_engines = 2;
    flt_struct& f = flt[0];
    f.failures[FAIL_SLOT_ENGINE_FIRE_BASE + 0] = FAILURE_STATE_FAILED;
    f.failures[FAIL_SLOT_ENGINE_FIRE_BASE + 1] = FAILURE_STATE_FAILED;
    f.ENGN_mixt[0] = 0.6f;
    f.ENGN_mixt[1] = 0.5f;
    frames(1);
    const sim_cockpit_warnings_annunciators_block& an = sim_cockpit_warnings_annunciators;
    EXPECT_EQ(an.chip_detect, 3);
    EXPECT_EQ(an.engine_fire, 1);
    EXPECT_EQ(an.low_vacuum, 1);   // the stopped piston engine turns no vacuum pump

    sim_cockpit_warnings.annunciator_test_timeout = frame_clock + 1.0f;
    frames(1);
    const int32_t* words = &an.master_caution;
    for (int w = 0; w < ANNUNCIATOR_WORDS; ++w) EXPECT_EQ(words[w], 0x1FF) << w;
    frames(20);   // the test over: the lamps say what they mean again
    EXPECT_EQ(an.chip_detect, 3);
    EXPECT_EQ(an.auto_ignition, 0);

    // The master caution blinks with nearest(clock x 2.5) odd: lit at 1.2 s
    // (3), dark at 1.6 s (4). Fuel below a tenth of the capacity lights its lamp.
    sim_cockpit_warnings.master_caution_on = 1;
    pln[0].acf_m_fuel_tot = 100.0f, pln[0].acf_num_tanks = 1, pln[0].acf_tank_rat[0] = 1.0f;
    f.m_fuel1 = 15.0f, f.m_fuel2 = f.m_fuel3 = 0.0f;
    const struct { float clock; int caution; } blink[] = {{1.2f, 1}, {1.6f, 0}};
    for (const auto& b : blink) {
        frame_clock = b.clock - 0.05f;
        frames(1);
        EXPECT_EQ(an.master_caution, b.caution) << b.clock;
    }
    EXPECT_EQ(an.fuel_quantity, 0);
    f.m_fuel1 = 5.0f;
    frames(1);
    EXPECT_EQ(an.fuel_quantity, 1);

    // Hydraulics below 0.75 and oil below 0.4 light their lamps.
    const struct { float hydraulic, oil; int hydraulic_lamp, oil_bit; } rows[] = {{0.6f, 0.35f, 1, 2}, {0.8f, 0.45f, 0, 0}};
    for (const auto& r : rows) {
        sim_operation_failures.hydraulic_pressure_ratio = r.hydraulic;
        f.ENGN_oil_press[1] = r.oil;
        frames(1);
        EXPECT_EQ(an.hydraulic_pressure, r.hydraulic_lamp) << r.hydraulic;
        EXPECT_EQ(an.oil_pressure & 2, r.oil_bit) << r.oil;
    }
    // Vacuum below 0.5 lights its lamp.
    for (const float vacuum : {0.45f, 0.55f}) {
        f.vacuum = vacuum;
        ANNUNCIATORS_update();
        EXPECT_EQ(an.low_vacuum, vacuum < 0.5f ? 1 : 0) << vacuum;
    }

    // Any of words 2..13 holds the master caution 0.1 s on; with none of them
    // lit it re-arms. The accept lamp (word 1, lit throughout) and the
    // auto-ignition lamp (14) do not count: they leave the deadline 5 s out.
    pln[0].acf_num_engines = 1, pln[0].acf_en_type[0] = ENGINE_TURBINE_FREE;
    f.failures[FAIL_SLOT_ENGINE_FIRE_BASE] = 0, f.ENGN_oil_press[0] = 1.0f, f.ENGN_gen_amp[0] = 10.0f;
    f.m_fuel1 = 50.0f, sim_operation_failures.hydraulic_pressure_ratio = 1.0f, engine_power_ratio[0] = 1.0f;
    sim_cockpit_engine.inverter_on[0] = sim_cockpit_electrical.generator_on[0] = 1;
    const float now = sim_time.total_running_time_sec;
    const struct { float n1, disconnect_for, deadline; int rearmed; } caution[] = {
        {50.0f, 0.0f, now + 5.0f, 1}, {5.0f, 0.0f, now + 5.0f, 1}, {50.0f, 1.0f, now + 0.1f, 0}};
    for (const auto& c : caution) {
        f.ENGN_N1_[0] = c.n1;
        annunciators.ap_disconnect_until = frame_clock + c.disconnect_for;
        sim_cockpit_warnings.master_caution_timeout = now + 5.0f;
        sim_cockpit_warnings.master_caution_on = 0, sim_cockpit_warnings.master_accept_on = 1;
        ANNUNCIATORS_update();
        EXPECT_FLOAT_EQ(sim_cockpit_warnings.master_caution_timeout, c.deadline) << c.n1 << " " << c.disconnect_for;
        EXPECT_EQ(sim_cockpit_warnings.master_caution_on, c.rearmed) << c.n1 << " " << c.disconnect_for;
    }
}

TEST_F(SystemsFluids, TheAutopilotDisconnectLampBurnsThreeSeconds)
{
    sim_cockpit_autopilot.airspeed_mode = sim_cockpit_autopilot.heading_mode = sim_cockpit_autopilot.altitude_mode =
        sim_cockpit_autopilot.hnav_mode = sim_cockpit_autopilot.vnav_mode = 9;
    sim_cockpit_autopilot.heading_mode = 11;
    frames(1);
    sim_cockpit_autopilot.heading_mode = 9;
    frames(1);
    EXPECT_EQ(sim_cockpit_warnings_annunciators.autopilot_disconnect, 1);
    frames(58);
    EXPECT_EQ(sim_cockpit_warnings_annunciators.autopilot_disconnect, 1);
    frames(3);
    EXPECT_EQ(sim_cockpit_warnings_annunciators.autopilot_disconnect, 0);
}

TEST_F(SystemsFluids, GyrosSpinUpWithTheirStartErrorAndFreezeWhenFailed)
{
    sim_time.total_flight_time_sec = 0.0f;   // the first frame of a flight draws the errors
    pln[0].acf_en_type[0] = ENGINE_JET_LOW_BYPASS;   // the vacuum system runs at full power
    flt[0].theta = 5.0f;
    frames(1);
    sim_time.total_flight_time_sec = 100.0f;
    for (int k = 0; k < GYRO_SYSTEMS; ++k) {
        EXPECT_GE(std::fabs(gyro_pitch_error[k]), 10.0f);
        EXPECT_LE(std::fabs(gyro_pitch_error[k]), 40.0f);
        EXPECT_GE(std::fabs(gyro_roll_error[k]), 10.0f);
        EXPECT_LE(std::fabs(gyro_roll_error[k]), 20.0f);
    }
    // Spun up to half: the pitch settles at the true pitch plus half the start error.
    gyro_spin[GYRO_VACUUM] = 0.5f;
    flt[0].vacuum = 0.5f;
    pln[0].acf_en_type[0] = ENGINE_PISTON_CARBURETTED;
    flt[0].POINT_tacrad[0] = 0.125f * pln[0].acf_RSC_redline_prp;   // a vacuum of exactly 0.5 at sea-level density
    sim_weather.temperature_sealevel_c = 15.0f;
    flt[0].elevation = 0.0f;
    frames(4000);
    EXPECT_NEAR(gyro_spin[GYRO_VACUUM], flt[0].vacuum, 0.01f);
    const float spin = gyro_spin[GYRO_VACUUM];
    EXPECT_NEAR(gyro_pitch[GYRO_VACUUM], 5.0f + gyro_pitch_error[GYRO_VACUUM] * (1.0f - spin), 0.2f);

    // A failed attitude gyro holds its indication.
    flt[0].failures[FAIL_SLOT_ATTITUDE_GYRO] = FAILURE_STATE_FAILED;
    const float held = gyro_pitch[GYRO_VACUUM];
    flt[0].theta = -20.0f;
    frames(100);
    EXPECT_EQ(gyro_pitch[GYRO_VACUUM], held);

    // A working gyro at full spin shows no more than 55 degrees of pitch.
    flt[0].failures[FAIL_SLOT_ATTITUDE_GYRO] = FAILURE_STATE_ON_COMMAND;
    gyro_spin[GYRO_VACUUM] = 1.0f;
    flt[0].theta = 70.0f;
    frames(1);
    EXPECT_EQ(gyro_pitch[GYRO_VACUUM], 55.0f);
}

TEST_F(SystemsFluids, CabinAltitudeFollowsItsBleedAirTargetAndLimits)
{
    // Standard pressure: the pressure altitude is the elevation, 3000 m.
    sim_physics.earth_pressure_p = 29.92f / UNIT.pa_to_inhg;
    sim_operation_misc.frame_rate_period = 0.05f;
    flt[0].elevation = 3000.0f;
    flt[0].vh_ind = 3.0f;
    sim_cockpit_pressure_block& p = sim_cockpit_pressure;
    frame_clock = 100.0f;
    struct cabin_case {
        float max_diff;
        int32_t bleed;
        float vvi_set, max_allowable, test_until;
        float rate;
    };
    const cabin_case cases[] = {
        {0.0f, 1, 5.0f, 10000.0f, 0.0f, 3.0f},          // unpressurised: the plane's own climb, at 3000 m
        {5.0f, 0, 5.0f, 10000.0f, 0.0f, 125.0f},        // bleed off: (3000 - 500) x 0.05
        {5.0f, 1, 5.0f, 10000.0f, 0.0f, 5.0f},          // (2000 - 500) x 0.1, held at the set 5 m/s
        {5.0f, 1, 1000.0f, 10000.0f, 0.0f, 150.0f},
        {5.0f, 1, 1000.0f, 10000.0f, 200.0f, 246.952f}, // under test: (3000 - 30.48 - 500) x 0.1
        {5.0f, 1, 1000.0f, 2500.0f, 0.0f, 200.0f},      // above the limit: ((2000 + 500) - 500) x 0.1
    };
    for (const cabin_case& c : cases) {
        pln[0].acf_max_press_diff = c.max_diff;
        p.bleed_air_on = c.bleed;
        p.cabin_vvi_set_m_msec = c.vvi_set;
        p.max_allowable_altitude = c.max_allowable;
        p.pressure_test_timeout = c.test_until;
        p.cabin_altitude_set_m_msl = 2000.0f;
        p.cabin_altitude_actual_m_msl = 500.0f;
        FLUIDS_cabin_pressure();
        EXPECT_NEAR(p.cabin_vvi_actual_m_msec, c.rate, 0.01f) << c.max_diff << " " << c.bleed << " " << c.vvi_set;
        const float altitude = c.max_diff > 0.01f ? 500.0f + c.rate * 0.05f : 3000.0f;
        EXPECT_NEAR(p.cabin_altitude_actual_m_msl, altitude, 0.05f) << c.max_diff;
    }
}

TEST_F(SystemsFluids, GyrosSpinUpInFiveSecondsDownInSixtyAndTurbinesAutoIgniteBelowTenPercent)
{
    sim_time.total_flight_time_sec = 100.0f;   // no new start-up errors
    sim_operation_misc.frame_rate_period = 0.05f;
    struct spin_case {
        float power, spin_before, spin_after;
    };
    const spin_case spins[] = {
        {1.0f, 0.0f, 0.05f / 5.0f},                                   // spinning up: dt / 5
        {0.0f, 0.5f, 0.5f * (1.0f - 0.05f / 60.0f)},                 // running down: dt / 60
        {0.2f, 0.5f, 0.5f * (1.0f - 0.05f / 60.0f) + 0.2f * 0.05f / 60.0f},
    };
    for (const spin_case& c : spins) {
        flt[0].vacuum = c.power;
        gyro_spin[GYRO_VACUUM] = c.spin_before;
        GYROS_update();
        EXPECT_NEAR(gyro_spin[GYRO_VACUUM], c.spin_after, 1e-6f) << c.power << " " << c.spin_before;
    }

    // Auto-ignition lamps of free and fixed turbines below 10 % N1, not of pistons.
    pln[0].acf_num_engines = 3;
    pln[0].acf_en_type[0] = ENGINE_TURBINE_FREE;
    pln[0].acf_en_type[1] = ENGINE_TURBINE_FIXED;
    pln[0].acf_en_type[2] = ENGINE_PISTON_CARBURETTED;
    flt[0].ENGN_N1_[0] = 9.9f;
    flt[0].ENGN_N1_[1] = 10.0f;
    flt[0].ENGN_N1_[2] = 0.0f;
    ANNUNCIATORS_update();
    EXPECT_EQ(sim_cockpit_warnings_annunciators.auto_ignition, 1);
    flt[0].ENGN_N1_[1] = 9.0f;
    ANNUNCIATORS_update();
    EXPECT_EQ(sim_cockpit_warnings_annunciators.auto_ignition, 3);
}
