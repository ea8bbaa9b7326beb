// The project's default aircraft, made from its description the way the
// generator makes it, and the description reader itself.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "aircraft/acf_description.h"
#include "tests/aircraft/acf_test_util.h"
#include "aircraft/part_presence.h"

using namespace acf_test;

TEST(AcfDefault, TrainerPassesEveryCheckAndLoadsWithoutAlert)
{
    program_folder_fixture fx;
    for (const char* afl : {"wing_15pct.afl", "tail_sym12.afl", "prop_thin.afl"})
        fx.dir.write(std::string("AIRFOILS/") + afl, file_700());

    const std::string trainer = std::string(ORVELL_FIXTURES) + "/../../data/aircraft/trainer.txt";
    char name[ACF_TEXT_SIZE], error[ACF_TEXT_SIZE];
    ASSERT_EQ(ACF_read_description(trainer.c_str(), 0, name, error), 1) << error;
    const std::string relative = std::string("AIRCRAFT:") + name + ".acf";
    EXPECT_EQ(relative, "AIRCRAFT:General Aviation:Orvell Trainer:Orvell Trainer.acf");
    const std::string path = fx.dir.prefix() + relative;
    std::filesystem::create_directories(std::filesystem::path(PLAT_resolve_path(path.c_str())).parent_path());
    set_path(pln[0], path, "Orvell Trainer.acf");
    ACF_derive_values(0);
    ASSERT_EQ(ACF_read_write(ACF_MODE_WRITE, 0, 0), 1);   // the writer checks the aircraft first

    std::memset(&pln[0], 0, sizeof pln[0]);
    set_path(pln[0], path, "Orvell Trainer.acf");
    ASSERT_EQ(ACF_read_write(ACF_MODE_READ, 0, 0), 1);
    EXPECT_TRUE(recorded_alerts.empty());

    // About 11 m of span, 1,100 kg and 120 kW.
    const acf_struct& a = pln[0];
    EXPECT_NEAR(2.0f * (a.acf_Xarm[9] + a.acf_semilen_SEG[9]) * 0.3048f, 11.0f, 0.3f);
    EXPECT_NEAR(a.acf_m_max * 0.4535925f, 1100.0f, 50.0f);
    EXPECT_NEAR(a.acf_pmax * 745.7f / 1000.0f, 120.0f, 5.0f);
    EXPECT_EQ(a.acf_num_engines, 1);
    EXPECT_TRUE(ACF_engine_is_recip(0, 0));
    for (int p : {0, 8, 9, 16, 17, 18, 67, 68, 69}) EXPECT_TRUE(ACF_part_present(0, p)) << p;
    // The airfoils were loaded into the lifting parts, their equal Reynolds pairs spread.
    EXPECT_EQ(a.afl[8].afl_re_num[0], 0.0f);
    EXPECT_NEAR(a.afl[8].afl_re_num[1], 99.9f, 1e-4f);
    EXPECT_NE(a.afl[8].afl_cl[360 + 50], 0.0f);
}

TEST(AcfDescription, BadLinesAreNamed)
{
    temp_folder dir;
    const struct { const char* text; const char* error; } cases[] = {
        {"name = X\nacf_nothing = 1\n", "line 2: unknown field acf_nothing"},
        {"acf_Croot[73] = 1\n", "line 1: index out of range for acf_Croot"},
        {"acf_flap_dn[0..3] = 1 2\n", "line 1: give one value, or one value per index, for acf_flap_dn"},
        {"acf_num_engines = one\n", "line 1: not a whole number: one"},
        {"acf_Vne = 1e99\n", "line 1: not a number: 1e99"},
        {"acf_Vne 160\n", "line 1: expected key = value"},
        {"acf_Vne = 160\n", "line 1: the description gives no name"},
        // Indices that would overflow or run into the next part are refused.
        {"acf_flap[8:10] = 1\n", "line 1: index out of range: 8:10"},
        {"acf_flap[73:0] = 1\n", "line 1: index out of range: 73:0"},
        {"acf_flap[300000000:0] = 1\n", "line 1: index out of range: 300000000:0"},
        {"acf_Croot[0..2147483647] = 1\n", "line 1: index out of range: 0..2147483647"},
        {"acf_Croot[-1] = 1\n", "line 1: index out of range: -1"},
    };
    char name[ACF_TEXT_SIZE], error[ACF_TEXT_SIZE];
    for (const auto& c : cases) {
        const auto p = dir.write("d.txt", c.text);
        EXPECT_EQ(ACF_read_description(p.c_str(), 0, name, error), 0) << c.text;
        EXPECT_STREQ(error, c.error);
    }
    const auto p = dir.write("ok.txt", "name = A:B  # where\nacf_tailnum = X#1\nbody[44] = 1 2 3 -3\n"
                                       "acf_flap[8:1..2] = 1\nacf_Rafl0[9] = r.afl\n");
    ASSERT_EQ(ACF_read_description(p.c_str(), 0, name, error), 1) << error;
    EXPECT_STREQ(name, "A:B");
    EXPECT_STREQ(pln[0].acf_tailnum, "X#1");
    EXPECT_EQ(pln[0].acf_flap[81], 1);
    EXPECT_EQ(pln[0].acf_flap[83], 0);
    EXPECT_STREQ(pln[0].acf_Rafl0 + 9 * 40, "r.afl");
    EXPECT_EQ(pln[0].acf_body_Y[44 * 360 + 0], 3.0f);   // top of the section
    EXPECT_NEAR(pln[0].acf_body_X[44 * 360 + 4], 2.0f, 1e-5f);
    EXPECT_EQ(pln[0].acf_body_Z[44 * 360 + 17], 1.0f);
}

// A description whose numbers would leave the model a zero or negative mass,
// area or blade chord is refused, naming the field; the fleet's own pass.
TEST(AcfDescription, SizesTheModelDividesByMustBePositive)
{
    temp_folder dir;
    const std::string data = std::string(ORVELL_FIXTURES) + "/../../data/aircraft/";
    char name[ACF_TEXT_SIZE], error[ACF_TEXT_SIZE];
    for (const char* file : {"trainer.txt", "airliner.txt", "twin.txt", "glider.txt", "floatplane.txt", "helicopter.txt",
                             "striker.txt", "orbiter.txt"}) {
        ASSERT_EQ(ACF_read_description((data + file).c_str(), 0, name, error), 1) << file << ": " << error;
        EXPECT_EQ(ACF_check_description_values(0, false, error), 1) << file << ": " << error;
    }
    std::ifstream in(data + "trainer.txt", std::ios::binary);
    const std::string trainer((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const struct { const char* line; const char* error; } cases[] = {
        {"acf_m_empty = 0", "acf_m_empty = 0 must be above zero"},
        {"acf_m_max = -2450", "acf_m_max = -2450 must be above zero"},
        {"acf_Croot[0] = 0", "acf_Croot[0] = 0 must be above zero"},          // the propeller's blade chord
        {"acf_Ctip[0] = -0.2", "acf_Ctip[0] = -0.2 must be above zero"},
        {"acf_semilen_SEG[9] = 0", "acf_semilen_SEG[9] = 0 must be above zero"},   // the right wing's area
        {"acf_Croot[17] = -3", "acf_Croot[17] = -3 must be above zero"},
    };
    for (const auto& c : cases) {
        const auto p = dir.write("bad.txt", trainer + "\n" + c.line + "\n");
        ASSERT_EQ(ACF_read_description(p.c_str(), 0, name, error), 1) << error;
        EXPECT_EQ(ACF_check_description_values(0, false, error), 0) << c.line;
        EXPECT_STREQ(error, c.error);
    }
    // A surface that is not fitted is not looked at.
    const auto p = dir.write("unfitted.txt", trainer + "\nacf_Croot[20] = 0\nacf_els[20] = 4\n");
    ASSERT_EQ(ACF_read_description(p.c_str(), 0, name, error), 1) << error;
    EXPECT_EQ(ACF_check_description_values(0, false, error), 1) << error;
    // Once set up, the moments of inertia too.
    pln[0].acf_Jxx_unitmass = pln[0].acf_Jzz_unitmass = 2.0f, pln[0].acf_Jyy_unitmass = 0.0f;
    EXPECT_EQ(ACF_check_description_values(0, false, error), 1) << error;
    EXPECT_EQ(ACF_check_description_values(0, true, error), 0);
    EXPECT_STREQ(error, "acf_Jyy_unitmass = 0 must be above zero");
}
