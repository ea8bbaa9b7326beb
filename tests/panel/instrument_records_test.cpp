// What the instruments may do to the simulation's records: drawing every type
// of the table reads the aircraft and its flight record and changes neither;
// the cabin's instruments show the cabin without borrowing the flight
// record's words; a key fires the rocket only for a rocket type.
#include "tests/panel/panel_fixture.h"

#include <cstring>
#include <vector>

#include "panel/instrument_table.h"

namespace {

std::vector<unsigned char> bytes_of(const void* p, size_t n)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return {b, b + n};
}

}  // namespace

TEST_F(PanelTest, DrawingEveryInstrumentLeavesTheAircraftAndItsFlightRecordAsTheyWere)
{
    power();
    acf_struct& a = pln[0];
    a.acf_num_engines = 2;
    a.acf_en_type[1] = 4;
    flt[0].flaprqst = 0.5f;   // the flap lever holds the request on its only detent
    flt[0].h_ind = 1500.0f, flt[0].vh_ind = 3.0f, flt[0].indicated_airspeed = 120.0f;
    // Every type of the table, a pass of 200 slots at a time, the mouse away.
    for (int first = 0; first < PANEL_INSTRUMENT_TYPES; first += ACF_INS_SLOTS) {
        for (int s = 0; s < ACF_INS_SLOTS; ++s)
            slot(s, first + s < PANEL_INSTRUMENT_TYPES ? first + s : -1, 100.0f + 3.0f * s, 300.0f);
        const auto acf_before = bytes_of(&pln[0], sizeof(acf_struct));
        const auto flt_before = bytes_of(&flt[0], sizeof(flt_struct));
        capture_feedback(PANEL_update);
        EXPECT_EQ(bytes_of(&pln[0], sizeof(acf_struct)), acf_before) << "types from " << first;
        EXPECT_EQ(bytes_of(&flt[0], sizeof(flt_struct)), flt_before) << "types from " << first;
    }
}

TEST_F(PanelTest, CabinAltimeterAndRateDialShowTheCabin)
{
    flt[0].h_ind = 3000.0f, flt[0].vh_ind = -7.0f;
    sim_cockpit_pressure.cabin_altitude_actual_m_msl = 8000.0f * 0.3048f;
    sim_cockpit_pressure.cabin_vvi_actual_m_msec = 500.0f * 0.3048f / 60.0f;
    slot(0, INS_CABIN_ALT, 200, 300);
    slot(1, INS_CABIN_VVI, 500, 300);
    const auto prims = capture_feedback(PANEL_update);
    // One needle on the cabin altimeter: a turn per 10,000 ft.
    const auto thousands = needles(prims, 10);
    ASSERT_EQ(thousands.size(), 1u);
    EXPECT_LT(angle_gap(thousands[0].angle_deg, 288.0f), 0.1f);
    EXPECT_TRUE(needles(prims, 9).empty());
    // The rate dial: 2,000 ft/min over 160 degrees from level at the left.
    const auto rate = needles(prims, 19);
    ASSERT_EQ(rate.size(), 1u);
    EXPECT_LT(angle_gap(rate[0].angle_deg, 40.0f - 90.0f), 0.2f);
    EXPECT_EQ(flt[0].h_ind, 3000.0f);
    EXPECT_EQ(flt[0].vh_ind, -7.0f);
}

TEST_F(PanelTest, AKeyFiresTheRocketWithItsOwnType)
{
    // Type 0 (the panel's own call) without a click fires nothing and keeps
    // the current type; any type above 0 becomes the current type and fires.
    panel_ins_type = INS_BUT_BATTERY;
    PANEL_rocket_switch(0, 0, 0.5f);
    EXPECT_EQ(flt[0].rocket_mode, 0);
    EXPECT_EQ(flt[0].rocket_timeout, 0.0f);
    EXPECT_EQ(panel_ins_type, INS_BUT_BATTERY);
    PANEL_rocket_switch(0, INS_BUT_AVIONICS, 0.25f);
    EXPECT_EQ(panel_ins_type, INS_BUT_AVIONICS);
    EXPECT_EQ(flt[0].rocket_mode, INS_BUT_AVIONICS);
    PANEL_rocket_switch(0, INS_BUT_ROCKET_3, 0.5f);
    EXPECT_EQ(panel_ins_type, INS_BUT_ROCKET_3);
    EXPECT_EQ(flt[0].rocket_mode, INS_BUT_ROCKET_3);
    EXPECT_EQ(flt[0].rocket_timeout, frame_clock + 0.5f);
}
