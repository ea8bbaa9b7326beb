// The start's trim: it asks the force build-up, stage by stage in the
// build-up's own order, for the forces of the plane held level, and leaves no
// trace of having asked.
#include <gtest/gtest.h>

#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/simvars.h"
#include "flightmodel/level_trim.h"
#include "tests/support/fleet_flight_kit.h"

namespace {

using fleet_kit::flight_sample;

struct LevelTrim : ::testing::Test {
    void SetUp() override { fleet_kit::use_data_folder(ORVELL_DATA_FOLDER); }
    void TearDown() override { fleet_kit::leave(); }
};

test_pilot::pilot_hands hands_off() { return {}; }

}  // namespace

// Trimming again right after the start, the plane flies on as if it had not:
// the trainer (its piston engine's spool), the helicopter (its rotor held at
// speed, its governor switched off while it trims) and the striker (its
// weapons flown by the build-up) from the 3 nm approach, 20 s hands off, to
// the last bit.
TEST_F(LevelTrim, TrimmingLeavesTheFlightAsItWas)
{
    for (const char* file : {"Orvell Trainer.acf", "Orvell Helicopter.acf", "Orvell Striker.acf"}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(fleet_kit::open_world({file, -1.0f})) << "the built data folder has no " << file;
        const std::vector<flight_sample> plain = fleet_kit::fly_from_start(SIT_AIRPORT, SIT_APPROACH_3NM, 20.0f, hands_off());
        const std::vector<flight_sample> trimmed_again = fleet_kit::fly_from_start(
            SIT_AIRPORT, SIT_APPROACH_3NM, 20.0f, hands_off(), [] { FM_level_flight_trim(0.75f); });
        ASSERT_EQ(trimmed_again.size(), plain.size());
        for (size_t s = 0; s < plain.size(); ++s) {
            EXPECT_TRUE(trimmed_again[s] == plain[s]) << "second " << s + 1 << ": theta " << plain[s].theta << " / "
                                                      << trimmed_again[s].theta << ", y " << plain[s].y << " / "
                                                      << trimmed_again[s].y;
            if (HasFailure()) break;
        }
    }
}

// A drag chute out (a stage the level-flight forces of old left out) costs
// the trainer throttle to hold its approach speed level.
TEST_F(LevelTrim, TheTrimFliesEveryStageOfTheBuildUp)
{
    ASSERT_TRUE(fleet_kit::open_world({"Orvell Trainer.acf", -1.0f})) << "the built data folder has no trainer";
    fleet_kit::fly_from_start(SIT_AIRPORT, SIT_APPROACH_3NM, 0.0f, hands_off());
    const level_trim clean = FM_level_flight_trim(0.75f);
    pln[0].acf_chute_area = 0.5f;
    sim_cockpit_switches.parachute_on = 1;
    const level_trim chute = FM_level_flight_trim(0.75f);
    EXPECT_GT(chute.throttle, clean.throttle + 0.05f);
    EXPECT_LT(clean.throttle, 0.9f);
}
