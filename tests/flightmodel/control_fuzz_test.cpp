// The control step on random input: whole records of random bytes run
// clean under the sanitizers, and on a sound aircraft random axis, yoke, trim
// and override values (numbers or not) never reach the deflections or the
// throttles as anything but numbers.
#include "tests/flightmodel/control_fixture.h"

#include <limits>
#include <random>

#include "world/airport_state.h"

namespace {

template <class T>
void fill_random(T& block, std::mt19937& rng)
{
    static_assert(sizeof(T) % 4 == 0);
    auto* bytes = reinterpret_cast<unsigned char*>(&block);
    for (size_t i = 0; i < sizeof(T); i += 4) {
        const uint32_t word = rng();
        std::memcpy(bytes + i, &word, 4);
    }
}

float wild(std::mt19937& rng)
{
    static const float specials[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(), 1e30f, -1e30f, 0.0f, -0.0f};
    if (rng() % 3 == 0) return specials[rng() % 7];
    return std::uniform_real_distribution<float>(-3.0f, 3.0f)(rng);
}

}  // namespace

TEST_F(ControlStep, RandomRecordsRunCleanUnderTheSanitizers)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 60; ++round) {
        fill_random(pln[0], rng);
        fill_random(flt[0], rng);
        fill_random(sim_cockpit_autopilot, rng);
        fill_random(sim_cockpit_switches, rng);
        fill_random(sim_cockpit_radios, rng);
        fill_random(sim_cockpit_engine, rng);
        fill_random(sim_joystick, rng);
        fill_random(sim_operation_override, rng);
        fill_random(sim_weather, rng);
        fill_random(autopilot, rng);
        fill_random(pilot_inputs, rng);
        auto_flight_on = static_cast<int32_t>(rng() % 2);
        auto_view_cycle_on = static_cast<int32_t>(rng() % 2);
        traffic_runway_state.traffic_airport = static_cast<int32_t>(rng());
        sim_operation_misc.frame_rate_period = round % 7 == 0 ? 0.0f : 0.04f;
        for (int i = 0; i < 12; ++i) stick.axis[i] = wild(rng);
        step(3);
        // Whatever the records held, the controls the forces read are numbers within their travel.
        for (float v : {flt[0].FC_ptch, flt[0].FC_roll, flt[0].FC_hdng}) {
            ASSERT_FALSE(std::isnan(v)) << "round " << round;
            ASSERT_LE(std::fabs(v), 1.0f) << "round " << round;
        }
    }
}

TEST_F(ControlStep, RandomInputsNeverReachTheControlsAsNonNumbers)
{
    std::mt19937 rng(99);
    airliner();
    ap.autopilot_mode = 2;
    for (int round = 0; round < 500; ++round) {
        for (int i = 0; i < 12; ++i) stick.axis[i] = rng() % 2 ? std::optional<float>(wild(rng)) : std::nullopt;
        joy.yolk_pitch_ratio = wild(rng);
        joy.yolk_roll_ratio = wild(rng);
        joy.yolk_heading_ratio = wild(rng);
        joy.artstab_pitch_ratio = wild(rng);
        joy.artstab_roll_ratio = wild(rng);
        joy.artstab_heading_ratio = wild(rng);
        f.elv_trim = wild(rng);
        f.ail_trim = wild(rng);
        f.rud_trim = wild(rng);
        ap.flight_director_pitch = wild(rng);
        ap.flight_director_roll = wild(rng);
        ap.airspeed = wild(rng);
        ap.heading_mag = wild(rng);
        ap.vertical_velocity = wild(rng);
        ap.current_altitude = wild(rng);
        sim_operation_override.override_artstab = static_cast<int32_t>(rng() % 2);
        sim_operation_override.override_flightdir = static_cast<int32_t>(rng() % 2);
        sim_operation_override.override_flightcontrol = static_cast<int32_t>(rng() % 2);
        sim_cockpit_switches.HSI_selector = static_cast<int32_t>(rng());
        ap.airspeed_mode = rng() % 2 ? 10 : 9;
        ap.heading_mode = 9 + static_cast<int32_t>(rng() % 4);
        ap.altitude_mode = 9 + static_cast<int32_t>(rng() % 9);
        step();
        for (float v : {f.FC_ptch, f.FC_roll, f.FC_hdng}) {
            ASSERT_FALSE(std::isnan(v)) << "round " << round;
            ASSERT_LE(std::fabs(v), 1.0f) << "round " << round;
        }
        for (float t : f.ENGN_thro) ASSERT_TRUE(std::isfinite(t)) << "round " << round;
        ASSERT_TRUE(std::isfinite(f.elv_trim)) << "round " << round;
    }
}
