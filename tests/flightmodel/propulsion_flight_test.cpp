// Engines started from cold and run up as a pilot does it: the switches set,
// the starter held until the engine runs by itself, idle, then full
// throttle, for each aircraft of the fleet through the real systems and plane
// steps, on the ground; the helicopter's rotor against its weight; damaged
// aircraft on a test stand (the engine and electrical systems and the engine
// stages of the build-up) that must keep every value a number.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/attitude.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/systems.h"
#include "core/constants.h"
#include "tests/flightmodel/propulsion_fixture.h"
#include "tests/support/terrain_support.h"

using namespace prop_test;

namespace {

// ---- the pilot ----

// Idle of engine n: its idle speed (rad/s) for a piston or electric engine,
// its N1 (percent) at idle throttle for a turbine.
bool turbine(int n)
{
    const int t = pln[0].acf_en_type[n];
    return t == ENGINE_TURBINE_FREE || ENGINE_type_is_jet(t);
}

float idle_n1(int n)
{
    const acf_struct& a = pln[0];
    const int t = a.acf_en_type[n];
    const float ratio = a.acf_idle_rat_lo;
    const float lo = t == ENGINE_TURBINE_FREE ? 0.2f * ratio : (t == ENGINE_JET_LOW_BYPASS ? 0.15f : 0.05f) * ratio;
    // Where the spool's drive at idle throttle meets its drag.
    const float d = std::pow(lo, 0.4f);
    return 100.0f * (d + std::sqrt(d * d - 0.003996f)) / 1.998f;
}

float engine_speed(int n) { return turbine(n) ? flt[0].ENGN_N1_[n] : flt[0].ENGN_tacrad[n]; }
float idle_speed(int n) { return turbine(n) ? idle_n1(n) : pln[0].acf_RSC_idlespeed_eng; }

// The cold cockpit made ready: battery and generators on, fuel pumps on,
// fullest tank, mixture rich, throttles closed, both magnetos.
void cockpit_ready()
{
    flt_struct& f = flt[0];
    sim_cockpit_electrical.battery_on = 1;
    sim_cockpit_engine.fuel_tank_selector = 4;
    sim_cockpit_engine.clutch_engage = 1;
    for (int n = 0; n < FLT_ENGINES; ++n) {
        sim_cockpit_electrical.generator_on[n] = 1;
        sim_cockpit_engine.fuel_pump_on[n] = 1;
        sim_cockpit_engine.idle_speed[n] = 0;
        f.ENGN_mixt[n] = 1.0f;
        f.ENGN_thro[n] = f.ENGN_thro_use[n] = 0.0f;
        f.ignition_on[n] = 3;
    }
}

struct run_result {
    bool all_idle;
    float seconds;
};

// Starts every engine from cold with the frame `step`, then runs for the rest
// of 60 s: the starter of each engine is held (as the panel's button holds
// it, two frame periods at a time) until that engine turns at half its idle
// (six tenths for turbines), for at most 30 s. A turbine gets its fuel (the
// condition lever) only once the starter has it at 12 % N1, or it lights too
// hot.
run_result start_engines(const std::function<void()>& step, float dt)
{
    const acf_struct& a = pln[0];
    const int engines = std::clamp(a.acf_num_engines, 0, FLT_ENGINES);
    cockpit_ready();
    bool released[FLT_ENGINES] = {};
    run_result r{false, 0.0f};
    for (int i = 0; i < static_cast<int>(60.0f / dt); ++i) {
        const float t = i * dt;
        for (int n = 0; n < engines; ++n) {
            const float share = turbine(n) ? 0.6f : 0.5f;
            if (engine_speed(n) >= share * idle_speed(n) || t > 30.0f) released[n] = true;
            sim_cockpit_engine.starter_duration[n] = released[n] ? 0.0f : 2.0f * dt;
            if (turbine(n)) flt[0].ENGN_mixt[n] = flt[0].ENGN_N1_[n] >= 12.0f || flt[0].ENGN_running[n] ? 1.0f : 0.0f;
        }
        sim_operation_misc.frame_rate_period = dt;
        step();
        bool idle = true;
        // At idle: within 2 % of it (a turbine's spool closes in on its idle N1
        // without ever quite reaching it).
        for (int n = 0; n < engines; ++n)
            idle = idle && flt[0].ENGN_running[n] && engine_speed(n) >= 0.98f * idle_speed(n);
        if (idle && !r.all_idle) r = {true, t};
    }
    return r;
}

float fuel_aboard()
{
    const flt_struct& f = flt[0];
    return f.m_fuel1 + f.m_fuel2 + f.m_fuel3;
}

// ---- the test stand ----

// The engine stages of the build-up with the aircraft held still.
void test_stand_frame()
{
    flt_struct& f = flt[0];
    ENGN_systems();
    f.faxil_prop = f.fside_prop = f.fnrml_prop = f.L = f.M = f.N = 0.0f;
    f.lift_fan_total_power = 0.0f;
    const int engines = std::clamp(pln[0].acf_num_engines, 0, FLT_ENGINES);
    for (int e = 0; e < engines; ++e)
        if (ENGINE_type_is_jet(pln[0].acf_en_type[e])) ENGN_jet_engines(e);
    ENGN_prop_engines();
}


// ---- a damaged aircraft ----

void expect_engines_finite(const char* what)
{
    const flt_struct& f = flt[0];
    auto check = [&](const char* name, const float* v, int n) { forces_test::expect_finite(what, name, v, n); };
#define CHECK_ARRAY(x) check(#x, f.x, static_cast<int>(sizeof f.x / sizeof f.x[0]))
#define CHECK_ONE(x) check(#x, &f.x, 1)
    CHECK_ONE(faxil_prop), CHECK_ONE(fside_prop), CHECK_ONE(fnrml_prop), CHECK_ONE(L), CHECK_ONE(M), CHECK_ONE(N);
    CHECK_ONE(lift_fan_total_power), CHECK_ONE(m_fuel1), CHECK_ONE(m_fuel2), CHECK_ONE(m_fuel3);
    CHECK_ARRAY(ENGN_thro_use), CHECK_ARRAY(ENGN_N1_), CHECK_ARRAY(ENGN_MPR), CHECK_ARRAY(ENGN_EPR);
    CHECK_ARRAY(ENGN_TRQ), CHECK_ARRAY(ENGN_FF_), CHECK_ARRAY(ENGN_EGT), CHECK_ARRAY(ENGN_ITT);
    CHECK_ARRAY(ENGN_oil_press), CHECK_ARRAY(ENGN_oil_temp), CHECK_ARRAY(ENGN_gen_amp), CHECK_ARRAY(ENGN_bat_amp);
    CHECK_ARRAY(ENGN_bat_volt), CHECK_ARRAY(ENGN_mixt_pow_rat), CHECK_ARRAY(ENGN_sigma), CHECK_ARRAY(ENGN_power);
    CHECK_ARRAY(ENGN_tacrad), CHECK_ARRAY(ENGN_omegadot), CHECK_ARRAY(oil_power_thrust_ratio);
    CHECK_ARRAY(POINT_rock_TRQ), CHECK_ARRAY(POINT_drag_TRQ), CHECK_ARRAY(POINT_omegadot), CHECK_ARRAY(POINT_tacrad);
    CHECK_ARRAY(POINT_thrust), CHECK_ARRAY(POINT_prop_eff), CHECK_ARRAY(POINT_cone_rad), CHECK_ARRAY(POINT_side_wash);
    CHECK_ARRAY(DVinc), CHECK_ARRAY(ringDVinc), CHECK_ARRAY(disc_ang), CHECK_ARRAY(Q_rotor_rad), CHECK_ARRAY(R_rotor_rad);
    CHECK_ARRAY(cyclic_elev_command), CHECK_ARRAY(cyclic_ailn_command), CHECK_ARRAY(cyclic_elev_blad_alph);
    CHECK_ARRAY(cyclic_ailn_blad_alph), CHECK_ARRAY(cyclic_elev_disc_tilt), CHECK_ARRAY(cyclic_ailn_disc_tilt);
    CHECK_ARRAY(v_el), CHECK_ARRAY(alpha_el), CHECK_ARRAY(del_dir), CHECK_ARRAY(force_XYZ);
#undef CHECK_ARRAY
#undef CHECK_ONE
    check("spooled throttle", prop_state.spooled_throttle, FLT_ENGINES);
    check("run time", prop_state.run_time_sec, FLT_ENGINES);
    check("clutch ratio", sim_cockpit_engine.clutch_ratio, FLT_ENGINES);
}

// ---- the fleet through the real steps ----

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

enum class kind { trainer, turboprop, airliner, helicopter };

const char* name_of(kind k)
{
    switch (k) {
    case kind::trainer: return "trainer";
    case kind::turboprop: return "twin turboprop";
    case kind::airliner: return "jet airliner";
    default: return "helicopter";
    }
}

// The fleet the parameterised suites fly, and a test's name for each member.
const auto FLEET = ::testing::Values(kind::trainer, kind::turboprop, kind::airliner, kind::helicopter);
std::string test_name_of(const ::testing::TestParamInfo<kind>& info)
{
    std::string s = name_of(info.param);
    std::replace(s.begin(), s.end(), ' ', '_');
    return s;
}

bool is_rotor(const acf_struct& a)
{
    for (int n = 0; n < FLT_ENGINES; ++n)
        if (a.acf_prop_type[n] == PROP_COLLECTIVE_ROTOR) return true;
    return false;
}

// Which fleet aircraft the record in slot 0 is.
bool is_kind(kind k)
{
    const acf_struct& a = pln[0];
    const int t = a.acf_en_type[0];
    switch (k) {
    case kind::trainer: return a.acf_num_engines == 1 && ENGINE_type_is_piston(t) && !is_rotor(a);
    case kind::turboprop:
        return a.acf_num_engines == 2 && (t == ENGINE_TURBINE_FREE || t == ENGINE_TURBINE_FIXED) && !is_rotor(a);
    case kind::airliner: return a.acf_num_engines >= 2 && ENGINE_type_is_jet(t);
    default: return is_rotor(a);
    }
}

// Loads the fleet aircraft of kind k into slot 0 through the aircraft set-up.
// Empty when it is there and set up; otherwise what is missing.
std::string load_fleet(kind k)
{
    namespace fs = std::filesystem;
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    CONST_fill_constants();
    CONST_fill_random_table();
    std::error_code ec;
    // The files in name order, so the same aircraft answers for a kind whatever
    // order the file system lists them in (the float plane is a single piston
    // too: the trainer's file is taken for the trainer).
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(fs::path(ORVELL_DATA_FOLDER), ec), end; it != end && !ec;
         it.increment(ec))
        if (it->is_regular_file(ec) && lower(it->path().extension().string()) == ".acf") files.push_back(it->path());
    std::sort(files.begin(), files.end());
    if (k == kind::trainer)
        std::stable_partition(files.begin(), files.end(), [](const fs::path& f) {
            return lower(f.filename().string()).find("trainer") != std::string::npos;
        });
    bool any = false, read = false;
    for (const fs::path& file : files) {
        std::memset(&pln[0], 0, sizeof pln[0]);
        std::memset(&flt[0], 0, sizeof flt[0]);
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", file.c_str());
        std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", file.filename().c_str());
        ACF_load_and_setup(0);
        any = true;
        read = read || pln[0].acf_num_engines > 0 || pln[0].acf_m_empty > 0.0f;
        if (!is_kind(k)) continue;
        if (!(pln[0].acf_Jxx_unitmass > 0.0f) || !(pln[0].acf_m_empty > 0.0f))
            return "the aircraft set-up (ACF_load_and_setup)";
        return "";
    }
    if (!any) return "the fleet in the data folder";
    if (!read) return "the aircraft set-up (ACF_load_and_setup)";
    return std::string("the fleet's ") + name_of(k) + " in the built data folder";
}

// One frame of the program's own order: the systems step, then the plane step.
void real_frame()
{
    SYSTEMS_own_plane_update();
    FLTMOD_plane_step(0);
}

// Standing on its own gear, upright and level, as it stood at the start.
void expect_standing(const char* what)
{
    const flt_struct& f = flt[0];
    EXPECT_EQ(f.onground_all, 1) << what;
    EXPECT_LT(std::fabs(f.phi), 5.0f) << what;
    EXPECT_LT(std::fabs(f.theta - pln[0].acf_the_eqlbm), 5.0f) << what;
}

// What of the real steps is still missing, found by what they do.
std::string missing_steps()
{
    flt_struct& f = flt[0];
    const flt_struct saved = f;
    sim_physics.ambient_pressure = 0.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    const unsigned calls = fm_state.calls;
    real_frame();
    std::string missing;
    if (!(sim_physics.ambient_pressure > 0.0f)) missing = "the systems step (SYSTEMS_own_plane_update)";
    else if (fm_state.calls == calls) missing = "the plane step with the build-up";
    else if (!f.onground_any) missing = "the ground contact";
    f = saved;
    return missing;
}

struct FleetOnTheGround : ::testing::TestWithParam<kind> {
    void SetUp() override
    {
        // The records, the interval flags and the control and systems steps
        // start from rest, whatever the tests before left set (a 1-second
        // flag left up runs the random failures every frame).
        RESET_all();
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        const std::string missing = load_fleet(GetParam());
        ASSERT_TRUE(missing.empty()) << "missing: " << missing;
        standard_air();
        // Standard air as the systems step works it out, and flat ground with
        // a smooth runway under the wheels.
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        PLANET_set_constants(PLANET_EARTH);
        sim_weather.temperature_sealevel_c = 15.0f;
        TEST_lay_flat_grid(0.0f);
        surface_state.surface_code = 160;
        terrain_height_m = 0.0f;
        // Standing on its wheels, parking brake set, tanks as loaded.
        flt_struct& f = flt[0];
        f.local_y = pln[0].acf_h_eqlbm;
        f.local_y_d = f.local_y;
        f.theta = pln[0].acf_the_eqlbm;
        PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
        f.parkbrake = 1.0f;
        for (int n = 0; n < FLT_ENGINES; ++n) {
            f.ENGN_bat_volt[n] = 1.0f;
            f.oil_power_thrust_ratio[n] = 1.0f;
            f.ENGN_propmode[n] = 1;
            f.POINT_pitch_deg[n] = pln[0].acf_min_pitch[n];
        }
        for (int i = 0; i < 150; ++i) {   // settled on its gear
            sim_operation_misc.frame_rate_period = 0.02f;
            FLTMOD_plane_step(0);
        }
        const std::string steps = missing_steps();
        ASSERT_TRUE(steps.empty()) << "missing: " << steps;
        ASSERT_GT(fuel_aboard(), 0.0f) << "the tanks are empty after the load";
    }
};

TEST_P(FleetOnTheGround, EnginesStartFromColdAndRunUp)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float fuel = fuel_aboard();
    const run_result r = start_engines(real_frame, 0.02f);
    expect_standing("at idle");
    EXPECT_TRUE(r.all_idle);
    std::printf("%s: every engine at idle after %.1f s\n", name_of(GetParam()), r.seconds);
    for (int n = 0; n < std::clamp(a.acf_num_engines, 0, FLT_ENGINES); ++n) {
        EXPECT_EQ(f.ENGN_running[n], 1) << n;
        EXPECT_GT(f.ENGN_FF_[n], 0.0f) << n;
    }
    EXPECT_LT(fuel_aboard(), fuel);

    // Full throttle with the brakes set.
    for (int n = 0; n < std::clamp(a.acf_num_engines, 0, FLT_ENGINES); ++n) f.ENGN_thro[n] = f.ENGN_thro_use[n] = a.acf_throtmax_FWD;
    for (int i = 0; i < 1500; ++i) {
        f.parkbrake = 1.0f;
        real_frame();
    }
    expect_standing("at full throttle");
    switch (GetParam()) {
    case kind::trainer:
    case kind::turboprop:
        EXPECT_LT(f.faxil_prop, 0.0f) << "forward thrust";
        for (int n = 0; n < std::clamp(a.acf_num_engines, 0, FLT_ENGINES); ++n) EXPECT_GT(f.POINT_thrust[n], 0.0f) << n;
        break;
    case kind::airliner:
        for (int n = 0; n < std::clamp(a.acf_num_engines, 0, FLT_ENGINES); ++n) {
            EXPECT_GE(f.ENGN_N1_[n], 99.0f) << n;
            EXPECT_NEAR(f.POINT_thrust[n], a.acf_tmax * sim_weather.sigma, 0.01f * a.acf_tmax) << n;
        }
        break;
    default: break;
    }
}

INSTANTIATE_TEST_SUITE_P(Fleet, FleetOnTheGround, FLEET, test_name_of);

// The helicopter's main rotor at its design speed with full collective lifts
// more than the helicopter weighs.
TEST(FleetHelicopter, RotorAtDesignSpeedAndFullCollectiveLiftsItsWeight)
{
    const std::string missing = load_fleet(kind::helicopter);
    ASSERT_TRUE(missing.empty()) << "missing: " << missing;
    standard_air();
    ASSERT_TRUE(element_forces_work()) << "the wing-element aerodynamics give no forces";
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    int rotor = -1;
    for (int n = 0; n < std::clamp(a.acf_num_thrustpoints, 0, FLT_ENGINES) && rotor < 0; ++n)
        if (a.acf_prop_type[n] == PROP_COLLECTIVE_ROTOR) rotor = n;
    ASSERT_GE(rotor, 0);
    FM_mass_and_inertia();
    f.POINT_XYZ[3 * rotor] = a.acf_Xarm[rotor];
    f.POINT_XYZ[3 * rotor + 1] = a.acf_Yarm[rotor];
    f.POINT_XYZ[3 * rotor + 2] = a.acf_Zarm[rotor];
    f.vertcant[rotor] = a.acf_vertcant[rotor];
    for (int k = 0; k < 4; ++k) f.Q_centroid_MULT[4 * rotor + k] = 1.0f;
    f.CL_grndeffect[rotor] = f.CD_grndeffect[rotor] = 1.0f;   // out of ground effect
    float lift = 0.0f;
    for (int i = 0; i < 500; ++i) {   // the wash settles
        f.POINT_tacrad[rotor] = a.acf_des_rpm_prp[rotor];
        f.POINT_pitch_deg[rotor] = a.acf_max_pitch[rotor];
        f.faxil_prop = f.fside_prop = f.fnrml_prop = f.L = f.M = f.N = 0.0f;
        PROP_blade_element_forces(rotor);
        lift = f.fnrml_prop;
    }
    const float weight = f.m_total * 9.7982788f;
    std::printf("helicopter: rotor lift %.0f N, weight %.0f N\n", lift, weight);
    EXPECT_GT(lift, weight);
}

}  // namespace

namespace {

// A damaged copy of each fleet aircraft: no disc or ring areas, inertias,
// redline or idle speed, spool times, jet face, lever travel, Vne or battery
// capacity; started and run up on the test stand, separate and linked, with
// every value a number.
struct DamagedFleet : ::testing::TestWithParam<kind> {};

TEST_P(DamagedFleet, EnginesKeepEveryValueANumber)
{
    const std::string missing = load_fleet(GetParam());
    ASSERT_TRUE(missing.empty()) << "missing: " << missing;
    standard_air();
    acf_struct& a = pln[0];
    for (int n = 0; n < FLT_ENGINES; ++n) {
        a.acf_discarea[n] = a.acf_miprop_rpm[n] = a.acf_eng_inertia[n] = 0.0f;
        for (int e = 0; e < ACF_ELS_PER_PART; ++e) a.acf_ringarea[ACF_el(n, e)] = 0.0f;
    }
    a.acf_RSC_redline_eng = a.acf_RSC_idlespeed_eng = 0.0f;
    a.acf_spooltime_prop = a.acf_spooltime_jet = 0.0f;
    a.acf_face_jet = a.acf_throtmax_FWD = a.acf_Vne = a.acf_battery_cap = 0.0f;
    flt_struct& f = flt[0];
    for (int n = 0; n < FLT_ENGINES; ++n) {
        f.POINT_XYZ[3 * n] = a.acf_Xarm[n], f.POINT_XYZ[3 * n + 1] = a.acf_Yarm[n], f.POINT_XYZ[3 * n + 2] = a.acf_Zarm[n];
        f.vertcant[n] = a.acf_vertcant[n];
        f.POINT_pitch_deg[n] = a.acf_max_pitch[n];
        for (int k = 0; k < 4; ++k) f.Q_centroid_MULT[4 * n + k] = 1.0f;
        f.CL_grndeffect[n] = f.CD_grndeffect[n] = 1.0f;
    }
    f.cos_theta = f.track_cos = f.cos_phi = f.cos_alpha = f.cos_beta = 1.0f;
    start_engines(test_stand_frame, 0.02f);
    for (int n = 0; n < FLT_ENGINES; ++n) f.ENGN_thro[n] = f.ENGN_thro_use[n] = 1.0f;
    for (int i = 0; i < 500; ++i) test_stand_frame();
    // On a linked shaft too, and with counts beyond the tables.
    a.acf_props_linked = 1;
    for (int i = 0; i < 500; ++i) test_stand_frame();
    a.acf_num_engines = 1000;
    a.acf_num_thrustpoints = -7;
    for (int i = 0; i < 5; ++i) test_stand_frame();
    a.acf_num_engines = -3;
    a.acf_num_thrustpoints = 99;
    for (int i = 0; i < 5; ++i) test_stand_frame();
    expect_engines_finite(name_of(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Fleet, DamagedFleet, FLEET, test_name_of);

}  // namespace
