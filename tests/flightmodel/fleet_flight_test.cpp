// The fleet's flight tests: each aircraft flown through the whole simulation
// cycle by the test pilot, every figure of its table within what its class
// flies, and the speeds its own file gives (the airspeed indicator's arcs)
// within 5% of what it flies. tools/fleet_table prints the same table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/support/fleet_flight_kit.h"

namespace {

// The flights put the test pilot on the joystick seam; the tests after them
// in this binary fly without it.
struct FleetFlight : ::testing::Test {
    void TearDown() override { fleet_kit::leave(); }
};

// Flies every row of one aircraft's table and checks each figure; returns
// the figures flown for the rows whose quantity starts with `keep`.
std::vector<float> fly_table(const char* aircraft, const std::string& keep = "-")
{
    std::vector<float> kept;
    fleet_kit::use_data_folder(ORVELL_DATA_FOLDER);
    const auto rows = fleet_kit::table(aircraft);
    EXPECT_FALSE(rows.empty()) << aircraft;
    for (const fleet_kit::row& r : rows) {
        const float m = r.fly();
        if (r.quantity.rfind(keep, 0) == 0) kept.push_back(m);
        EXPECT_TRUE(std::isfinite(m)) << r.aircraft << ", " << r.quantity;
        if (r.open) continue;   // flown, but not yet held to its band
        EXPECT_TRUE(m >= r.low && m <= r.high)
            << r.aircraft << ", " << r.quantity << ": flew " << m << ", reference " << r.reference << " (" << r.low
            << ".." << r.high << ")";
        if (r.file_speed) {
            const float v = r.file_speed();
            EXPECT_NEAR(m / v, 1.0f, 0.05f) << r.aircraft << ", " << r.quantity << ": the file's " << r.file_field
                                            << " is " << v << ", the model flies " << m;
        }
    }
    return kept;
}

// The trainer's take-off run and climb come out the same (within 1%) at 30,
// 60 and 120 frames a second.
TEST_F(FleetFlight, TrainerFliesItsClassFiguresAtEveryFrameRate)
{
    fly_table("trainer");
    std::vector<float> runs, climbs;
    for (const float hz : {30.0f, 60.0f, 120.0f}) {
        const fleet_kit::setup s{"Orvell Trainer.acf", 2450.0f * 0.45359237f, hz};
        runs.push_back(fleet_kit::fly_take_off(s, 0.0f, 55.0f, 8.0f));
        climbs.push_back(fleet_kit::fly_climb(s, 74.0f, 300.0f));
    }
    for (const std::vector<float>* v : {&runs, &climbs}) {
        const auto [least, most] = std::minmax_element(v->begin(), v->end());
        EXPECT_LE(*most / *least, 1.01f) << (*v)[0] << " " << (*v)[1] << " " << (*v)[2];
    }
}
TEST_F(FleetFlight, AirlinerFliesItsClassFigures) { fly_table("airliner"); }
TEST_F(FleetFlight, TwinFliesItsClassFigures) { fly_table("twin"); }
TEST_F(FleetFlight, StrikerFliesItsClassFigures) { fly_table("striker"); }
TEST_F(FleetFlight, GliderFliesItsClassFigures) { fly_table("glider"); }
// The water run at 30, 60 and 120 frames a second, each within 5% of the
// others as well as of the class's figure.
TEST_F(FleetFlight, FloatplaneFliesItsClassFiguresAtEveryFrameRate)
{
    const std::vector<float> runs = fly_table("floatplane", "water run");
    ASSERT_EQ(runs.size(), 3u);
    const auto [least, most] = std::minmax_element(runs.begin(), runs.end());
    EXPECT_LE(*most / *least, 1.05f) << runs[0] << " " << runs[1] << " " << runs[2];
}

TEST_F(FleetFlight, OrbiterFliesItsClassFigures) { fly_table("orbiter"); }
TEST_F(FleetFlight, HelicopterHoldsItsAttitudeFromEveryApproachStart) { fly_table("helicopter"); }
// The helicopter's catapult start stands it on the deck, unhooked, and it
// lifts off on the collective, at 20, 30, 60 and 120 frames a second.
TEST_F(FleetFlight, HelicopterStandsOnTheCarrierDeckAndLiftsOff) { fly_table("carrier"); }
// The airliner's phugoid is damped, and the trainer's torque turns it left,
// at 20, 30, 60 and 120 frames a second.
TEST_F(FleetFlight, AirlinerPhugoidIsDampedAtEveryFrameRate) { fly_table("phugoid"); }
TEST_F(FleetFlight, TrainerTorqueTurnsItLeftAtEveryFrameRate) { fly_table("torque"); }

}  // namespace
