// A user's second flight: started again through the program's own flight
// start, with nothing else reset, it repeats the first to the last bit, so
// every piece of flight state the flight moves goes back with a start (its
// reset is registered in the flight group), whether the start before was the
// same or another.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "aircraft/flight_start.h"
#include "core/simvars/cockpit.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"
#include "tests/support/fleet_flight_kit.h"

namespace {

using fleet_kit::flight_sample;

struct FlownAgain : ::testing::Test {
    void TearDown() override { fleet_kit::leave(); }
};

// The same hands for every flight of a start: full throttle, the pedals a
// touch right, and on the runway the stick a little back to lift off (in the
// air it stays where the start trimmed it: held back there, the flight would
// come to the stall, where a wing's wash follows the program's running
// clock, which no start puts back).
test_pilot::pilot_hands held(bool runway)
{
    test_pilot::pilot_hands h;
    h.throttle = 1.0f;
    h.pitch = runway ? 0.1f : 0.0f;
    h.heading = 0.05f;
    return h;
}

std::vector<flight_sample> fly(int code, int sub_mode)
{
    return fleet_kit::fly_from_start(code, sub_mode, 30.0f, held(sub_mode == SIT_RUNWAY && code == SIT_AIRPORT));
}

// The second flight second by second against the first; the first second
// that differs is shown whole.
void expect_repeated(const std::vector<flight_sample>& first, const std::vector<flight_sample>& again,
                     const char* start)
{
    ASSERT_EQ(again.size(), first.size()) << start;
    for (size_t s = 0; s < first.size(); ++s) {
        const flight_sample &a = first[s], &b = again[s];
        if (a == b) continue;
        ADD_FAILURE() << start << ", second " << s + 1 << ": x " << a.x << " / " << b.x << ", y " << a.y << " / "
                      << b.y << ", theta " << a.theta << " / " << b.theta << ", phi " << a.phi << " / " << b.phi
                      << ", vy " << a.vy << " / " << b.vy << ", q " << a.q << " / " << b.q << ", alpha " << a.alpha
                      << " / " << b.alpha << ", engine " << a.engine_rad_s << " / " << b.engine_rad_s << ", trim "
                      << a.elv_trim << " / " << b.elv_trim << ", cabin " << a.cabin_m << " / " << b.cabin_m;
        return;
    }
}

}  // namespace

TEST_F(FlownAgain, EveryStartFlownAgainRepeatsItsFirstFlight)
{
    fleet_kit::use_data_folder(ORVELL_DATA_FOLDER);
    ASSERT_TRUE(fleet_kit::open_world({"Orvell Trainer.acf", -1.0f})) << "the built data folder has no trainer";

    // A steady 20-kt wind down the runway: standing still, the wings meet it
    // below their stall (the wash of a stalled wing follows the program's
    // running clock, which a start does not put back).
    fleet_kit::steady_wind(20.0f, 90.0f);
    // A first start centres the world on the field.
    fleet_kit::fly_from_start(SIT_AIRPORT, SIT_RUNWAY, 0.0f, held(true));
    const std::vector<flight_sample> runway = fly(SIT_AIRPORT, SIT_RUNWAY);
    ASSERT_EQ(runway.size(), 30u);
    // It took off and flew away from the runway's end.
    EXPECT_EQ(runway.front().on_ground, 1);
    EXPECT_EQ(runway.back().on_ground, 0);
    EXPECT_GT(runway.back().y - runway.front().y, 30.0);
    expect_repeated(runway, fly(SIT_AIRPORT, SIT_RUNWAY), "runway");

    const std::vector<flight_sample> approach = fly(SIT_AIRPORT, SIT_APPROACH_3NM);
    EXPECT_EQ(approach.back().on_ground, 0);
    expect_repeated(approach, fly(SIT_AIRPORT, SIT_APPROACH_3NM), "3 nm approach");

    // A special start (the ships move on from flight to flight; the roof stays).
    const std::vector<flight_sample> rooftop = fly(SIT_ROOFTOP, 0);
    EXPECT_EQ(rooftop.back().on_ground, 0);
    expect_repeated(rooftop, fly(SIT_ROOFTOP, 0), "rooftop approach");

    // After the rooftop approach, the runway start as the first time.
    expect_repeated(runway, fly(SIT_AIRPORT, SIT_RUNWAY), "runway after the rooftop approach");
}

// A pressurised cabin climbs with the flight; the next flight's cabin starts
// where the first flight's did, not where that flight left it, and its climb
// indicator reads as at the first start. A runway start after a flight that
// ended in the air is no touch-down: the armed speed brakes stay armed.
TEST_F(FlownAgain, APressurisedCabinStartsEachFlightAsTheFirst)
{
    fleet_kit::use_data_folder(ORVELL_DATA_FOLDER);
    ASSERT_TRUE(fleet_kit::open_world({"Orvell Airliner.acf", -1.0f})) << "the built data folder has no airliner";
    float cabin_vvi[2];
    auto climb_from_start = [](float& vvi) {
        return fleet_kit::fly_from_start(SIT_AIRPORT, SIT_APPROACH_3NM, 10.0f, held(false),
                                         [&vvi] { vvi = sim_cockpit_pressure.cabin_vvi_actual_m_msec; });
    };
    const std::vector<flight_sample> climb = climb_from_start(cabin_vvi[0]);
    ASSERT_FALSE(climb.empty());
    EXPECT_GT(climb.back().cabin_m, climb.front().cabin_m);
    expect_repeated(climb, climb_from_start(cabin_vvi[1]), "airliner's 3 nm approach");
    EXPECT_EQ(cabin_vvi[1], cabin_vvi[0]);

    auto armed = [] { CTRL_set_speedbrake_request(-0.5f); };
    fleet_kit::steady_wind(20.0f, 90.0f);   // standing, the wings meet it below their stall
    const std::vector<flight_sample> roll = fleet_kit::fly_from_start(SIT_AIRPORT, SIT_RUNWAY, 10.0f, held(true), armed);
    EXPECT_EQ(flt[0].sbrkrqst, -0.5f);
    expect_repeated(roll, fleet_kit::fly_from_start(SIT_AIRPORT, SIT_RUNWAY, 10.0f, held(true), armed),
                    "airliner's runway start after the approach");
}
