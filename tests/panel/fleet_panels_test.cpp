// The test fleet's aircraft, loaded from the built data folder: their own
// panels' faces lie apart, the twin's and the striker's carry their engines'
// dials and lamps and the striker's its head-up display, and with the glass
// and engine instruments put on their panels, the twin turboprop with the
// turbine ECAM and engine readouts, the helicopter with the rotorcraft
// display, and an orbiter panel on the striker.
#include "tests/panel/stack_fixture.h"

#include <algorithm>
#include <filesystem>

#include "aircraft/acf_load.h"
#include "core/constants.h"
#include "core/folders.h"
#include "panel/gauges/gauges.h"
#include "panel/hud/hud.h"
#include "panel/instrument_pictures.h"
#include "panel/orbiter/orbiter.h"
#include "world/navdb.h"

namespace {

class FleetPanels : public StackTest {
protected:
    // Loads the fleet aircraft whose file name holds `name` into slot 0; false when absent.
    static bool load(const std::string& name)
    {
        namespace fs = std::filesystem;
        FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
        CONST_fill_random_table();
        std::error_code ec;
        for (fs::recursive_directory_iterator it(fs::path(ORVELL_DATA_FOLDER "Aircraft"), ec), end; it != end && !ec;
             it.increment(ec)) {
            if (it->path().filename().string() != name) continue;
            std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
            flt[0] = flt_struct{};
            std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", it->path().c_str());
            std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", it->path().filename().c_str());
            ACF_load_and_setup(0);
            power();
            return pln[0].acf_num_engines > 0;
        }
        return false;
    }
    // The fleet aircraft's own panel emptied, then `types` in a row.
    static void panel(std::initializer_list<int> types)
    {
        for (int s = 0; s < ACF_INS_SLOTS; ++s) pln[0].acf_ins_type[s] = -1;
        int s = 0;
        for (int t : types) slot(s, t, X + 120.0f * s, Y), ++s;
    }
};

// No two faces of a fleet aircraft's own panel overlap, each its design size
// times its slot's size about the slot's centre.
TEST_F(FleetPanels, FacesOfEveryFleetPanelLieApart)
{
    for (const char* name : {"Orvell Trainer.acf", "Orvell Twin.acf", "Orvell Airliner.acf", "Orvell Striker.acf",
                             "Orvell Glider.acf", "Orvell Floatplane.acf", "Orvell Helicopter.acf",
                             "Orvell Orbiter.acf"}) {
        load(name);
        ASSERT_STREQ(pln[0].acf_file_name, name) << "the built fleet has no " << name;
        const acf_struct& a = pln[0];
        for (int i = 0; i < ACF_INS_SLOTS; ++i)
            for (int j = i + 1; j < ACF_INS_SLOTS && a.acf_ins_type[i] >= 0; ++j) {
                if (a.acf_ins_type[j] < 0) continue;
                const instrument_design_size p = PANEL_instrument_design_size(a.acf_ins_type[i]),
                                             q = PANEL_instrument_design_size(a.acf_ins_type[j]);
                const float si = a.acf_ins_size[i], sj = a.acf_ins_size[j];
                EXPECT_FALSE(std::fabs(a.acf_ins_x[i] - a.acf_ins_x[j]) < (p.w * si + q.w * sj) / 2 &&
                             std::fabs(a.acf_ins_y[i] - a.acf_ins_y[j]) < (p.h * si + q.h * sj) / 2)
                    << name << ": slots " << i << " and " << j;
            }
    }
}

// The two turboprops' own panels carry a dial of each of their class's
// quantities and each warning lamp per engine; the striker's box holds a
// head-up display, the twin has none.
TEST_F(FleetPanels, TurbopropPanelsCarryTheirEnginesAndTheStrikerItsHeadUpDisplay)
{
    for (const char* name : {"Orvell Twin.acf", "Orvell Striker.acf"}) {
        ASSERT_TRUE(load(name)) << "the built fleet has no " << name << " that loads";
        ASSERT_EQ(pln[0].acf_num_engines, 2);
        for (int t : {INS_TRQ_RND_DIG, INS_ITT_RND_DIG, INS_RPM_PROP_RND_DIG, INS_N1_RND_DIG, INS_FF_RND_DIG,
                      INS_ANN_OIL_PRESS, INS_ANN_GENERATOR, INS_ANN_ENGINE_FIRE})
            EXPECT_EQ(std::count(std::begin(pln[0].acf_ins_type), std::end(pln[0].acf_ins_type), t), 2)
                << name << ": " << t;
        EXPECT_EQ(acf_HUD_type, std::string(name) == "Orvell Striker.acf" ? HUD_KIND_SYMBOLS : HUD_KIND_NONE) << name;
    }
}

TEST_F(FleetPanels, TwinTurbopropEcamAndReadoutsShowBothEngines)
{
    ASSERT_TRUE(load("Orvell Twin.acf")) << "the built fleet has no Orvell Twin.acf that loads";
    ASSERT_EQ(pln[0].acf_num_engines, 2);
    panel({196, 405, 405, 408});
    flt[0].ENGN_N1_[0] = 91.0f, flt[0].ENGN_N1_[1] = 87.0f;
    flt[0].ENGN_TRQ[0] = pln[0].acf_trq_max_prp * 0.5f;
    flt[0].ENGN_FF_[0] = flt[0].ENGN_FF_[1] = 0.05f;
    flt[0].m_fuel1 = flt[0].m_fuel2 = 500.0f;
    auto t = texts(110);
    const std::string row = t.at(-4);   // the three readouts share one row
    EXPECT_NE(row.find("N1:091"), std::string::npos) << row;
    EXPECT_NE(row.find("N1:087"), std::string::npos) << row;
    EXPECT_NE(row.find("TRQ:050"), std::string::npos) << row;
    // The fuel page lists both engines' flows and the endurance of both tanks at both flows.
    sim_cockpit_switches.ECAM_mode = 1;
    t = texts(110);
    EXPECT_EQ(t.at(15 - 2), "FF1 PPH000397");
    EXPECT_EQ(t.at(15 - 12), "FF2 PPH000397");
    EXPECT_EQ(t.at(15 - 22), "ENDUR HR02.8");
}

TEST_F(FleetPanels, HelicopterDisplayPagesAndGearWarning)
{
    ASSERT_TRUE(load("Orvell Helicopter.acf")) << "the built fleet has no Orvell Helicopter.acf that loads";
    panel({204});
    flt[0].ENGN_tacrad[0] = 2000.0f / 9.5493f;
    flt[0].POINT_tacrad[1] = 400.0f / 9.5493f;
    sim_cockpit_switches.gear_handle_status = 1;
    auto t = texts(110);
    EXPECT_EQ(t.at(40), "ENG RPM 2000");
    sim_cockpit_switches.ECAM_mode = 1;
    EXPECT_EQ(texts(110).at(0), "ROTOR RPM 0400");
    flt[0].indicated_airspeed = 60.0f;
    sim_cockpit_switches.gear_handle_status = 0;
    EXPECT_EQ(texts(110).at(40), ECAM_warning_message(4));
}

TEST_F(FleetPanels, OrbiterPanelOnTheStrikerFollowsTheApproach)
{
    ASSERT_TRUE(load("Orvell Striker.acf")) << "the built fleet has no Orvell Striker.acf that loads";
    NAV_clear_tables();
    airport_record a{};
    a.kind = 1;
    std::strcpy(a.id, "KEDW");
    runway_record r{};
    r.lat = 1.0f, r.lon = 1.5f, r.heading = 0.0f, r.length = 4000.0f;
    a.runways.push_back(r);
    airport_table.push_back(a);
    sim_cockpit_gps.destination_type = 1;
    sim_cockpit_gps.destination_index = 0;
    sim_time.total_flight_time_sec = 10.0f;
    panel({189, 190, 188});
    flt[0].local_z = 400.0f * 1852.0f;   // 400 miles south
    flt[0].local_y = 150000.0f / 3.2808f;
    flt[0].groundspeed = 10000.0f / 3.2808f;
    PANEL_update();
    EXPECT_NEAR(orbiter.orbiter_range_to_go, 400.0f, 12.0f);
    EXPECT_EQ(orbiter.orbiter_page, 2);
    EXPECT_NEAR(orbiter.orbiter_speed, 10000.0f, 1.0f);
    NAV_clear_tables();
}

}  // namespace
