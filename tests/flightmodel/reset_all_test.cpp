// The one reset of every module's kept values: a whole flight flown again
// after the fixtures' reset repeats the first one to the last bit, so nothing
// a stage of the simulation carries from frame to frame survives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/trainer_fixture.h"
#include "tests/support/flight_fixture.h"

using namespace trainer_test;

namespace {

constexpr float DT = 0.04f;   // 25 frames a second
constexpr float KT = 0.5144444f;

// Where the plane is and how it moves, its engine, its angle of attack and
// what its gear carries, once a second of a flight.
struct flight_point {
    double x, y, z;
    float theta, psi, phi;
    float vx, vy, vz;
    float p, q, r;
    float alpha;
    float engine_rad_s;
    float gear_load;
    int32_t on_ground;
    float flight_time;
};

class FlownTwice : public FlightState {
protected:
    void TearDown() override
    {
        INPUT_set_joystick_poll(nullptr);
        FlightState::TearDown();
    }

    // The trainer started 60 m over the flat ground at 70 kt, its engine
    // running, then flown for 30 s by a pilot who works the stick, the rudder
    // and the throttle and puts it down on the ground.
    static bool fly(std::vector<flight_point>& track)
    {
        if (!load_trainer().empty()) return false;
        UTIL_srand(1);
        sim_operation_prefs.startup_running = 1;
        sim_weather.temperature_sealevel_c = 15.0f;
        app_mode = MODE_FLYING;
        FLIGHT_reset_at_start(0, 0.0f, 0.0f, 0.0f, 0.0f, 60.0f, 0.0f, 70.0f * KT);
        hands = pilot_hands{};
        INPUT_set_joystick_poll(pilot_joystick);
        const flt_struct& f = flt[0];
        for (int k = 0; k < 30 * 25; ++k) {
            const float t = k * DT;
            hands.pitch = std::clamp(0.3f * std::sin(0.9f * t) - 0.05f * (f.theta + 2.0f) - 0.02f * f.Q, -1.0f, 1.0f);
            hands.roll = std::clamp(0.2f * std::sin(0.5f * t) - 0.05f * f.phi, -1.0f, 1.0f);
            hands.heading = 0.1f * std::sin(0.3f * t);
            hands.throttle = t < 10.0f ? 0.8f : 0.1f;
            simulation_frame(DT);
            if (k % 25 != 24) continue;
            float gear = 0.0f;
            for (int n = PART_GEAR_FIRST; n < PART_GEAR_FIRST + 3; ++n) gear += f.nrml_force[n];
            track.push_back({f.local_x_d, f.local_y_d, f.local_z_d, f.theta, f.psi, f.phi, f.local_vx, f.local_vy,
                             f.local_vz, f.P, f.Q, f.R, f.alpha, f.ENGN_tacrad[0], gear, f.onground_any,
                             sim_time.total_flight_time_sec});
        }
        return true;
    }
};

}  // namespace

TEST_F(FlownTwice, TheSecondFlightAfterTheResetRepeatsTheFirst)
{
    std::vector<flight_point> first, second;
    ASSERT_TRUE(fly(first)) << "the built data folder has no default trainer";
    // The flight moved, came down, and left its stages far from their rest.
    ASSERT_EQ(first.size(), 30u);
    EXPECT_EQ(first.front().on_ground, 0);
    EXPECT_GT(std::hypot(first.back().x, first.back().z), 150.0);
    EXPECT_EQ(first.back().on_ground, 1);
    EXPECT_GT(first.back().gear_load, 0.0f);

    // The fixture's own reset, then the same start and the same hands.
    FlownTwice::TearDown();
    FlightState::SetUp();
    ASSERT_TRUE(fly(second));
    ASSERT_EQ(second.size(), first.size());
    for (size_t s = 0; s < first.size(); ++s) {
        SCOPED_TRACE("second " + std::to_string(s + 1));
        const flight_point &a = first[s], &b = second[s];
        EXPECT_EQ(b.x, a.x);
        EXPECT_EQ(b.y, a.y);
        EXPECT_EQ(b.z, a.z);
        EXPECT_EQ(b.theta, a.theta);
        EXPECT_EQ(b.psi, a.psi);
        EXPECT_EQ(b.phi, a.phi);
        EXPECT_EQ(b.vx, a.vx);
        EXPECT_EQ(b.vy, a.vy);
        EXPECT_EQ(b.vz, a.vz);
        EXPECT_EQ(b.p, a.p);
        EXPECT_EQ(b.q, a.q);
        EXPECT_EQ(b.r, a.r);
        EXPECT_EQ(b.alpha, a.alpha);
        EXPECT_EQ(b.engine_rad_s, a.engine_rad_s);
        EXPECT_EQ(b.gear_load, a.gear_load);
        EXPECT_EQ(b.on_ground, a.on_ground);
        EXPECT_EQ(b.flight_time, a.flight_time);
        if (HasFailure()) break;   // one second's differences tell the story
    }
}
