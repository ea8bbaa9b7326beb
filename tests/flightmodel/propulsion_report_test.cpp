// The engines' blocks of the force report: a jet engine byte for byte, the
// order of a propeller engine's blocks, and the note of the torque trim.
#include <string>

#include "core/folders.h"
#include "core/ui_text.h"
#include "tests/flightmodel/propulsion_fixture.h"
#include "tests/support/test_support.h"

using namespace prop_test;

namespace {

const std::string RULE(100, '\xA5');

std::string heading(const std::string& title)
{
    return "\xA5\xA5\xA5" + title + std::string(97 - title.size(), '\xA5') + "\n";
}

struct EngineReport : ::testing::Test {
    logs_folder logs;

    void SetUp() override
    {
        CONST_fill_constants();
        CONST_fill_random_table();
        standard_air();
        piston_single();
        std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 0], "PROPELLER");
        sim_network_dataout.dump_next_cycle = 1;
    }
    void TearDown() override { sim_network_dataout.dump_next_cycle = 0; }
    std::string report() const { return logs.report(); }
};

TEST_F(EngineReport, JetEngineBlockByHand)
{
    flt_struct& f = flt[0];
    jet(0, 2.0f, -1.0f, 1.0f);
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_N1_[0] = 100.0f;
    sim_operation_misc.frame_rate_period = 0.0f;
    ENGN_jet_engines(0);

    const std::string expected = "\n" + RULE + "\n" + "\xA5\xA5\xA5" + "JET ENGINE # 1" + std::string(83, '\xA5') + "\n" +
                                 RULE + "\n" +
                                 "   longitudinal thrust vector=   0.00 deg (0=full aft)\n"
                                 "   lateral      thrust vector=   0.00 deg (0=full aft)\n"
                                 "   thrust= 100000.00 N.\n"
                                 "   x=   2.00 m.\n"
                                 "   y=  -1.00 m.\n"
                                 "   z=   1.00 m.\n"
                                 "   f-axil=-100000.00 N.\n"
                                 "   f-nrml=      0.00 N.\n"
                                 "   f-side=      0.00 N.\n" +
                                 RULE + "\n" +
                                 heading("RUNNING PROPULSIVE FORCE AND TOTAL MOMENT TOTALS, AIRCRAFT AXIS SYSTEM") +
                                 RULE + "\n" +
                                 "   f_axil=-100000.00 N, pos aft,      L=      0.00 N-m, pos right.\n"
                                 "   f_side=      0.00 N, pos right,    M= 100000.00 N-m, pos up.\n"
                                 "   f_nrml=      0.00 N, pos up,       N=-200000.00 N-m, pos right.\n" +
                                 RULE + "\n\n";
    EXPECT_EQ(report(), expected);
}

TEST_F(EngineReport, PropellerEngineBlocksInTheirOrder)
{
    acf_struct& a = pln[0];
    running_engine(0, a.acf_RSC_redline_eng);
    ENGN_prop_engines();
    const std::string r = report();

    const std::string engine = "\n" + RULE + "\n" + heading("ENGINE #1") + RULE + "\n" + "   throttle=   1.00 ratio.\n" +
                               "   omega   = 282.74 rad/sec.\n";
    const size_t at_engine = r.find(engine);
    const size_t at_torque = r.find(RULE + "\n" + heading("PROP TORQUE") + RULE + "\nprop torque application #0, ");
    const size_t at_prop = r.find("\n" + RULE + "\n" + RULE + "\n" + heading("PROPELLER") + RULE + "\n" + RULE + "\n" +
                                  "   The prop is turning clockwise at ");
    const size_t at_element =
        r.find(heading("PROPELLER BLADES ALL 4 LOCATIONS (12/3/6/9 O-CLOCK), RADIAL ELEMENT 5 of 5"));
    const size_t at_totals = r.rfind(heading("RUNNING PROPULSIVE FORCE AND TOTAL MOMENT TOTALS, AIRCRAFT AXIS SYSTEM"));
    ASSERT_NE(at_engine, std::string::npos) << r.substr(0, 600);
    ASSERT_NE(at_torque, std::string::npos);
    ASSERT_NE(at_prop, std::string::npos);
    ASSERT_NE(at_element, std::string::npos);
    ASSERT_NE(at_totals, std::string::npos);
    EXPECT_LT(at_engine, at_torque);
    EXPECT_LT(at_torque, at_prop);
    EXPECT_LT(at_prop, at_element);
    EXPECT_LT(at_element, at_totals);
    EXPECT_NE(r.find(" rad per sec.\n   Dirty air factor= 1.5000\n"), std::string::npos);
    EXPECT_NE(r.find("   Total 'mixed' propwash INCREASE in speed behind prop:   0.00 m/s, pos in from ahead.\n"),
              std::string::npos);
}

}  // namespace
