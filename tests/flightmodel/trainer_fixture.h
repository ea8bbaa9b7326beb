// The default trainer of the data folder the build lays out, loaded into
// slot 0 through the aircraft set-up, for the tests that fly it through the
// real plane step.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/sim_frame.h"
#include "tests/support/flight_fixture.h"
#include "tests/support/test_support.h"
#include "tests/support/test_pilot.h"

namespace trainer_test {

// The trainer's file in the data folder the build lays out (its folder moves
// with the fleet; its file name is enough to find it).
inline std::string find_trainer()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path root = fs::path(ORVELL_DATA_FOLDER);
    std::string fallback;
    for (fs::recursive_directory_iterator it(root, ec), end; it != end && !ec; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "orvell trainer.acf") return it->path().string();
        if (name == "united-air.acf") fallback = it->path().string();
    }
    return fallback;
}

// Loads the trainer into slot 0 through the aircraft set-up. Empty when it
// flies; otherwise the name of what is missing.
inline std::string load_trainer()
{
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    CONST_fill_constants();
    const std::string path = find_trainer();
    if (path.empty()) return "the default trainer in the data folder";
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::memset(&flt[0], 0, sizeof flt[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", std::filesystem::path(path).filename().c_str());
    ACF_load_and_setup(0);
    const acf_struct& a = pln[0];
    if (!(a.acf_m_empty > 0.0f) || !(a.acf_Jxx_unitmass > 0.0f) || !(a.acf_AR[8] > 0.0f) || !(a.acf_element_len[8] > 0.0f))
        return "the aircraft set-up (ACF_load_and_setup)";
    return "";
}

// 1 when FLTMOD_plane_step runs the build-up (twice a frame).
inline bool plane_step_runs_the_build_up()
{
    const unsigned before = fm_state.calls;
    sim_operation_misc.frame_rate_period = 0.04f;
    FLTMOD_plane_step(0);
    return fm_state.calls > before;
}

// The test pilot on the joystick seam.
using test_pilot::hands;
using test_pilot::pilot_hands;
using test_pilot::pilot_joystick;

// Pitch attitude held by the elevator, wings level by the ailerons.
inline void fly_attitude(float theta_deg)
{
    const flt_struct& f = flt[0];
    hands.pitch = UTIL_clamp(0.08f * (theta_deg - f.theta) - 0.02f * f.Q, -1.0f, 1.0f);
    hands.roll = UTIL_clamp(-0.05f * f.phi - 0.01f * f.P, -1.0f, 1.0f);
}

// Rudder (and nose wheel) toward a heading.
inline void steer(float heading_deg)
{
    const float err = std::remainder(heading_deg - flt[0].psi, 360.0f);
    hands.heading = UTIL_clamp(0.1f * err - 0.02f * flt[0].R, -1.0f, 1.0f);
}

// Loads the fleet's aircraft of this file name into slot 0 through the
// set-up; false when the data folder lacks it or it does not load.
inline bool load_fleet_member(const char* file)
{
    const std::string path = built_aircraft_file(file);
    if (path.empty()) return false;
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", std::filesystem::path(path).filename().c_str());
    ACF_load_and_setup(0);
    return pln[0].acf_m_empty > 0.0f;
}

// The trainer loaded into slot 0 (the test skipped when the data folder
// lacks it) in flight mode, its engine running from the start, at standard
// sea-level temperature; flown by the test's pilot through the joystick poll,
// the rudder pedals with toe brakes steering the nose wheel.
class PilotedTrainer : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        const std::string missing = load_trainer();
        ASSERT_TRUE(missing.empty()) << "missing: " << missing;
        hands = pilot_hands{};
        INPUT_set_joystick_poll(pilot_joystick);
        sim_joystick.eq_ped_wibrk = 1;
        sim_operation_prefs.startup_running = 1;
        sim_weather.temperature_sealevel_c = 15.0f;
        app_mode = MODE_FLYING;
    }
    void TearDown() override
    {
        INPUT_set_joystick_poll(nullptr);
        FlightState::TearDown();
    }
};

// One frame of the simulation, with no frame drawn.
inline void simulation_frame(float dt)
{
    frame_clock += dt;
    sim_operation_misc.frame_rate_period = dt;
    FLTMOD_sim_frame();
}

}  // namespace trainer_test
