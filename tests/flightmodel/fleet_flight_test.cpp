// The fleet's flight tests: each aircraft flown through the whole simulation
// cycle by the test pilot, every figure of its table within what its class
// flies, and the speeds its own file gives (the airspeed indicator's arcs)
// within 5% of what it flies. tools/fleet_table prints the same table.
//
// Each row of the table is a test of its own, and the rows that read one
// flight are one test, so the suite's parts run side by side and each flight
// is flown once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/fleet_flight_kit.h"

namespace {

// The whole table, built once: the rows that read one flight keep it here
// between the tests.
const std::vector<fleet_kit::row>& rows()
{
    static const std::vector<fleet_kit::row> table = fleet_kit::table("");
    return table;
}

// The rows of one test: a row alone, or the rows that read one flight.
struct group {
    std::vector<size_t> members;
};

void PrintTo(const group& g, std::ostream* os)
{
    *os << "rows";
    for (const size_t k : g.members) *os << ' ' << k + 1;
}

std::vector<group> groups()
{
    std::vector<group> out;
    std::map<const void*, size_t> of_flight;   // a shared flight's group
    for (size_t k = 0; k < rows().size(); ++k) {
        const void* flight = rows()[k].flight;
        if (flight) {
            const auto [it, added] = of_flight.try_emplace(flight, out.size());
            if (!added) {
                out[it->second].members.push_back(k);
                continue;
            }
        }
        out.push_back(group{{k}});
    }
    return out;
}

// The figure each row flew in this process, so a check across rows flies none again.
std::map<size_t, float>& flown()
{
    static std::map<size_t, float> figures;
    return figures;
}

float fly_row(size_t k)
{
    const auto it = flown().find(k);
    if (it != flown().end()) return it->second;
    fleet_kit::use_data_folder(ORVELL_DATA_FOLDER);
    return flown()[k] = rows()[k].fly();
}

// The flights put the test pilot on the joystick seam; the tests after them
// in this binary fly without it.
struct FleetFlight : ::testing::Test {
    void TearDown() override { fleet_kit::leave(); }
};

struct FleetRow : ::testing::TestWithParam<group> {
    void TearDown() override { fleet_kit::leave(); }
};

// The row flown and each figure checked: a number, within its band (a row
// still open is flown but not held to it), and within 5% of the speed the
// aircraft's file gives for it.
TEST_P(FleetRow, FliesItsClassFigure)
{
    for (const size_t k : GetParam().members) {
        const fleet_kit::row& r = rows()[k];
        const float m = fly_row(k);
        EXPECT_TRUE(std::isfinite(m)) << r.aircraft << ", " << r.quantity;
        if (r.open) continue;
        EXPECT_TRUE(m >= r.low && m <= r.high)
            << r.aircraft << ", " << r.quantity << ": flew " << m << ", reference " << r.reference << " (" << r.low
            << ".." << r.high << ")";
        if (r.file_speed) {
            const float v = r.file_speed();
            EXPECT_NEAR(m / v, 1.0f, 0.05f) << r.aircraft << ", " << r.quantity << ": the file's " << r.file_field
                                            << " is " << v << ", the model flies " << m;
        }
    }
}

// Named by the aircraft and the number of its first row in the table.
std::string row_name(const ::testing::TestParamInfo<group>& info)
{
    const size_t first = info.param.members.front();
    std::string name = rows()[first].aircraft;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    char number[16];
    std::snprintf(number, sizeof number, "_%03zu", first + 1);
    return name + number;
}

INSTANTIATE_TEST_SUITE_P(Table, FleetRow, ::testing::ValuesIn(groups()), row_name);

// Every aircraft has its rows.
TEST_F(FleetFlight, EveryAircraftHasItsRows)
{
    for (const char* aircraft :
         {"trainer", "airliner", "twin", "striker", "glider", "floatplane", "orbiter", "helicopter"})
        EXPECT_FALSE(fleet_kit::table(aircraft).empty()) << aircraft;
}

// The trainer's take-off run and climb come out the same (within 1%) at 30,
// 60 and 120 frames a second.
TEST_F(FleetFlight, TrainerFliesTheSameAtEveryFrameRate)
{
    fleet_kit::use_data_folder(ORVELL_DATA_FOLDER);
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

// The float plane's water run at every frame rate its rows fly (30, 60 and
// 120 frames a second), each within 5% of the others as well as of the
// class's figure.
TEST_F(FleetFlight, FloatplaneRunsOnTheWaterTheSameAtEveryFrameRate)
{
    std::vector<float> runs;
    for (size_t k = 0; k < rows().size(); ++k)
        if (rows()[k].aircraft == "floatplane" && rows()[k].quantity.rfind("water run", 0) == 0)
            runs.push_back(fly_row(k));
    ASSERT_GE(runs.size(), 3u);
    const auto [least, most] = std::minmax_element(runs.begin(), runs.end());
    EXPECT_LE(*most / *least, 1.05f) << ::testing::PrintToString(runs);
}

}  // namespace
