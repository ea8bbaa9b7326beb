// Wing-element coefficients along the span, on the test aircraft.
#include <gtest/gtest.h>

#include "flightmodel/forces/element_aero.h"
#include "tests/flightmodel/forces_fixture.h"

using namespace forces_test;

// Root tables give cl 1, tip tables cl 3: an element takes the value at its
// middle, 1 + 2 (e + 0.5) / n, and a part without elements the mean.
TEST(WingElement, RootToTipBlendAtTheElementMiddle)
{
    start_on_test_aircraft();
    acf_struct& a = pln[0];
    afl_block& b = a.afl[9];
    set_name(a.acf_Tafl0, 9, "TIP.AFL");
    set_name(a.acf_Tafl1, 9, "TIP.AFL");
    for (int t = 0; t < AFL_TABLES; ++t)
        for (int i = 0; i < AFL_ROWS; ++i) b.afl_cl[t * AFL_ROWS + i] = t < 2 ? 1.0f : 3.0f;
    a.acf_AR[9] = 0.0f;   // no induced drag
    struct row {
        int els, e;
        float cl;
    };
    for (const row& r : {row{5, 0, 1.2f}, row{5, 2, 2.0f}, row{5, 4, 2.8f}, row{4, 1, 1.75f}, row{0, 3, 2.0f}}) {
        a.acf_els[9] = r.els;
        float cl, cd, cm;
        FM_element_coeffs(0.12f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, &cl, &cd, &cm, 9, r.e, 0);
        EXPECT_NEAR(cl, r.cl, 1e-5f) << r.els << " elements, element " << r.e;
    }
}
