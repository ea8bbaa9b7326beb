// The body block of the force-and-moment report, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/ui_text.h"
#include "flightmodel/forces/report.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/test_support.h"

TEST(ReportBody, EveryLineInItsPlaceAndFormat)
{
    forces_test::start_on_test_aircraft();
    logs_folder logs;
    std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 44], "FUSELAGE");
    fm_body_report r{};
    r.x = 0.25f, r.y = -0.5f, r.z = 1.75f;
    r.air[0] = 1.5f, r.air[1] = -2.25f, r.air[2] = 40.0f;
    r.air_wash[0] = 1.5f, r.air_wash[1] = -2.25f, r.air_wash[2] = 45.5f;
    r.speed = 40.09f, r.aoa_deg = -3.22f, r.slip_deg = 2.15f, r.total_deg = 3.86f;
    r.front = 1.2f, r.side = 6.0f, r.top = 6.5f;
    FM_report_body_begin(44, r);
    FM_report_body_end(0.12345f, -0.04f, 0.5f, 123.45f, -40.0f, 500.0f);
    const std::string expect =
        "\nFUSELAGE:\n\n"
        "   lat arm of centroid                     =   0.25 m pos right.\n"
        "   vrt arm of centroid                     =  -0.50 m pos up.\n"
        "   lon arm of centroid                     =   1.75 m pos aft.\n"
        "\n"
        "   air attacking aft from ahead            =  40.00 m/s.\n"
        "   air attacking up from below             =  -2.25 m/s.\n"
        "   air attacking to the right              =   1.50 m/s.\n"
        "\n"
        "   post-prowash (if any) air aft from ahead=  45.50 m/s.\n"
        "   post-prowash (if any) air up from below =  -2.25 m/s.\n"
        "   post-prowash (if any) air to the  right =   1.50 m/s.\n"
        "\n"
        "   resultant total speed of air on body    =  40.09 m/s.\n"
        "   angle of attack of body                 =  -3.22 deg.\n"
        "   sideslip        of body                 =   2.15 deg.\n"
        "   total body angle to airflow             =   3.86 deg.\n"
        "\n"
        "   body front   area                       =   1.200 square meters.\n"
        "   body side    area for side force        =   6.000 square meters.\n"
        "   body top     area for lift force        =   6.500 square meters.\n"
        "\n"
        "   body cd                                         =   0.12345.\n"
        "   body side     CL (positive right, side ref area)=  -0.04000.\n"
        "   body vertical CL (positive up, top ref area)    =   0.50000.\n"
        "   body drag force=    123.45 N.\n"
        "   body side force=    -40.00 N.\n"
        "   body lift force=    500.00 N.\n\n";
    const std::string out = logs.report();
    EXPECT_EQ(out.substr(0, expect.size()), expect);
    EXPECT_NE(out.find("RUNNING AERODYNAMIC FORCE AND TOTAL MOMENT TOTALS", expect.size()), std::string::npos);
}
