// Airfoil files: version detection and parameter orders, the tables generated
// for old files, the version-700 text layout, the search order, and refusal of
// broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "aircraft/acf_struct.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

// A version-613 file: a name word, 25 numbers (t_rat re almin almax clB clM
// Lpow Lstall Ldrop1 Ldrop2 Lpowstl DminCL Dmin Dal10 Dpow cmal2 cmal3 cm1 cm2
// cm3 cm4 Bwidth Bdepth Bpower Bloc) and, on the next line, the Mach number.
const char* const kParams613 =
    "SECTION_A 0.12 3.0 -14 15 0.3 0.1 2.0 1.5 0.1 0.35 1.5 0.2 0.006 0.015 3.0 "
    "-12 14 -0.02 -0.07 -0.07 -0.1 0.2 0.002 2.0 0.3 trailing words\n";

std::string file_613(const char* params = kParams613) { return std::string("I\n613 version\n1234 device type code\n") + params + "0.72\n"; }

// Versions 641 and 650: 30 and 29 numbers, almin and almax last.
const char* const kParams641 = "4.0 0.09 0.8 17 0.11 0.2 2 1.4 0.1 1.5 0.3 0.007 0.1 0.02 2.5 0.2 0.03 3 "
                               "0 0 0 0 -10 10 0 -0.05 -0.05 -0.08 -13 16";
const char* const kParams650 = "5.0 0.1 0.7 1.12 0.3 2 1.4 0.1 1.5 0.3 0.007 0.1 0.02 2.5 0.25 0.04 3.5 "
                               "0 0 0 0 -10 10 0 -0.05 -0.05 -0.09 -14 17";

// A text airfoil of the given version: its parameter line, then every grid row
// with the same lift, drag and moment.
std::string text_rows_file(int version, const char* params, const char* row)
{
    std::ostringstream s;
    s << "I\n" << version << " version\n1234 device type code\n" << params << "\nalpha cl cd cm:\n";
    for (int i = 0; i < AFL_ROWS; ++i) s << AFL_grid_alpha(i) << row << '\n';
    return s.str();
}

// The grid row of an angle.
int row(float a)
{
    for (int i = 0; i < AFL_ROWS; ++i)
        if (std::fabs(AFL_grid_alpha(i) - a) < 1e-4f) return i;
    return -1;
}

class AirfoilTest : public ::testing::Test {
protected:
    void SetUp() override { clear_slots(); }
    void TearDown() override { clear_slots(); }
    static void clear_slots()
    {
        for (int s = 0; s < 2; ++s) std::memset(static_cast<void*>(pln[s].afl), 0, sizeof pln[s].afl);
    }
    // Reads `text` as an airfoil file into table (end, member) of slot 0, part 8.
    int read_text(const std::string& text, int end = 0, int member = 0)
    {
        const std::string path = tmp.write("x.afl", text).string();
        return AIRFOIL_read_write(AFL_MODE_READ, 0, 8, end, member, path.c_str());
    }
    // Reads `text` and expects it refused: not read, one notice naming the file and why.
    std::string refused(const std::string& text)
    {
        clear_alerts();
        EXPECT_EQ(read_text(text), 0);
        if (recorded_alerts.size() != 1) {
            ADD_FAILURE() << recorded_alerts.size() << " alerts";
            return "";
        }
        const alert_record& a = recorded_alerts[0];
        EXPECT_EQ(a.code, ALERT_NOTICE);
        EXPECT_EQ(a.lines[1], (tmp.path() / "x.afl").string());
        return a.lines[2];
    }
    temp_folder tmp;
};

}  // namespace

TEST(AirfoilGrid, RowsStandForTheirAngles)
{
    const float grid[][2] = {{0, -180}, {159, -21}, {160, -20}, {161, -19.9f}, {360, 0}, {560, 20}, {561, 21}, {720, 180}};
    for (const auto& g : grid) EXPECT_FLOAT_EQ(AFL_grid_alpha(static_cast<int>(g[0])), g[1]) << g[0];
}

TEST_F(AirfoilTest, Version613GetsFittedAndFarRows)
{
    ASSERT_EQ(read_text(file_613(), 1, 1), 1);
    const afl_block& b = pln[0].afl[8];
    const int t = 3;
    const float* cl = &b.afl_cl[t * AFL_ROWS];
    const float* cd = &b.afl_cd[t * AFL_ROWS];
    const float* cm = &b.afl_cm[t * AFL_ROWS];

    // Parameters in the old order; the Mach number from the next line; the linear range of old files.
    EXPECT_FLOAT_EQ(b.afl_t_rat[1], 0.12f);
    EXPECT_FLOAT_EQ(b.afl_Ldrop2, 0.35f);
    EXPECT_FLOAT_EQ(b.afl_Bloc, 0.3f);
    EXPECT_FLOAT_EQ(b.afl_mach_div[1], 0.72f);
    EXPECT_FLOAT_EQ(b.afl_linear_alpha, 10.0f);

    // Rows of -20..+20 are the fits exactly.
    for (int i = 160; i <= 560; ++i) {
        const float a = AFL_grid_alpha(i);
        ASSERT_EQ(cl[i], AIRFOIL_fit_lift(a, 0, 8, 1, 1)) << a;
        ASSERT_EQ(cd[i], AIRFOIL_fit_drag(a, 0, 8, 1, 1)) << a;
        ASSERT_EQ(cm[i], AIRFOIL_fit_moment(a, 0, 8)) << a;
    }
    // The fits themselves and the far rows, worked out by hand from the parameters:
    // flat-plate lift and drag, reversed flow near +-180, drag blending
    // quadratically from the fit at 20 towards 1.28 at 90.
    const double cd20 = 0.009 * std::pow(21.0 / 11.0, 3.0) + 0.006;
    const double cdm20 = 0.009 * std::pow(19.0 / 11.0, 3.0) + 0.006;
    const double cd0 = 0.006 + 0.009 / 1331.0 - 0.002;   // full bucket depth at its centre
    const double base55 = (1.28 - cd20) * 0.25 + cd20;
    const double base120 = (1.28 - 4 * cd20) * (40.0 / 70.0) * (40.0 / 70.0) + 4 * cd20;   // folded to 60, reversed x4
    const double base95 = (1.28 - 4 * cd20) * (65.0 / 70.0) * (65.0 / 70.0) + 4 * cd20;     // just past 90: x4 already
    const struct { const float* table; float alpha; double value, tolerance; } samples[] = {
        {cl, 0, 0.3, 1e-6}, {cl, 5, 0.8, 1e-6}, {cl, 15, 1.5, 1e-6},   // Lstall at almax
        {cl, -14, -0.8, 1e-6},                                        // dropped at almin: 2 clB - Lstall + Ldrop1
        {cl, 20, 1.05, 1e-6}, {cl, -20, -0.45, 1e-6},
        {cd, 10, 0.015, 1e-7},                                        // Dal10, outside the bucket
        {cd, -1, 0.006 - 0.001, 1e-7},                                // Dmin at a0, half the bucket at its edge
        {cd, 0, cd0, 1e-7}, {cd, 3, 0.006 + 0.009 * std::pow(4.0 / 11.0, 3.0), 1e-7},
        // Inside the bucket's half width the depth follows the root of the power, outside it the power.
        {cd, 0.5, 0.006 + 0.009 * std::pow(1.5 / 11.0, 3.0) - 0.001 * std::sqrt(0.5) - 0.001, 1e-7},
        {cd, 1.5, 0.006 + 0.009 * std::pow(2.5 / 11.0, 3.0) - 0.001 * 0.25, 1e-7},
        {cm, -12, -0.07, 1e-7}, {cm, -16, -0.045, 1e-7}, {cm, 20, -0.1, 1e-7},
        {cl, -135, 1.17, 1e-5}, {cl, 135, -1.17, 1e-5}, {cl, -90, 0.0, 1e-5}, {cl, 45, 1.17, 1e-5},
        {cl, -180, 0.15, 1e-6}, {cl, 170, 0.5 * (0.1 * -10 + 0.3), 1e-6},
        // Blends over 25 degrees: from the fit at +-20 to +-1.17 at +-45, and
        // from +-1.17 at +-135 to half the fit at the opposite 20 degrees at +-160.
        {cl, 30, 1.05 + 0.12 * std::sin(36 * kDeg), 1e-5}, {cl, -30, -0.45 - 0.72 * std::sin(36 * kDeg), 1e-5},
        {cl, -150, 0.525 + 0.645 * std::sin(36 * kDeg), 1e-5}, {cl, 150, -0.225 - 0.945 * std::sin(36 * kDeg), 1e-5},
        {cd, 90, 1.28, 1e-5}, {cd, 160, 4 * cd20, 1e-5}, {cd, -160, 4 * cdm20, 1e-5}, {cd, 180, 4 * cd0, 1e-6},
        {cd, 55, base55 + (1.28 * std::sin(55 * kDeg) - base55) * 0.5, 1e-5},
        {cd, 120, base120 + (1.28 * std::sin(60 * kDeg) - base120) * 40.0 / 70.0, 1e-5},
        {cd, 95, base95 + (1.28 * std::sin(85 * kDeg) - base95) * 65.0 / 70.0, 1e-5},
    };
    for (const auto& s : samples)
        EXPECT_NEAR(s.table[row(s.alpha)], s.value, s.tolerance) << (s.table == cl ? "cl " : "cd/cm ") << s.alpha;

    for (int i = 0; i < AFL_ROWS; ++i) {
        const float a = AFL_grid_alpha(i);
        if (std::fabs(a) >= 45.0f) {
            ASSERT_NEAR(cm[i], 0.25 * cd[i] * std::sin(-a * kDeg), 1e-6) << a;
        }
        ASSERT_TRUE(std::isfinite(cl[i]) && std::isfinite(cd[i]) && std::isfinite(cm[i]));
    }
    // Between the fit and the flat plate the moment lies between the two.
    for (float a : {-21.0f, 21.0f}) {
        const double fit = a < 0 ? -0.02 : -0.1, m = 0.25 * cd[row(a)] * std::sin(-a * kDeg);
        EXPECT_GE(cm[row(a)], std::min(fit, m) - 1e-7);
        EXPECT_LE(cm[row(a)], std::max(fit, m) + 1e-7);
    }
}

TEST_F(AirfoilTest, OlderVersionsTakeTheirOwnOrderAndDefaults)
{
    // 363: no Mach number, 0.75 instead.
    ASSERT_EQ(read_text("I\n363 version\n1234 device type code\n" + std::string(kParams613), 0, 1), 1);
    EXPECT_FLOAT_EQ(pln[0].afl[8].afl_mach_div[0], 0.75f);
    EXPECT_FLOAT_EQ(pln[0].afl[8].afl_cl[1 * AFL_ROWS + 360], 0.3f);

    // 641: an integer after the Mach number is skipped, almin/almax come last,
    // the second drag triple wins, and the linear range is 10 degrees.
    pln[0].afl[8].afl_linear_alpha = 3.0f;
    ASSERT_EQ(read_text(text_rows_file(641, kParams641, " 0.5 0.02 -0.01"), 1, 0), 1);
    const afl_block& b = pln[0].afl[8];
    EXPECT_FLOAT_EQ(b.afl_mach_div[1], 0.8f);
    EXPECT_FLOAT_EQ(b.afl_clM[2], 0.11f);
    EXPECT_FLOAT_EQ(b.afl_DminCL, 0.2f);
    EXPECT_FLOAT_EQ(b.afl_cm4, -0.08f);
    EXPECT_FLOAT_EQ(b.afl_almax[2], 16.0f);
    EXPECT_FLOAT_EQ(b.afl_linear_alpha, 10.0f);
    EXPECT_FLOAT_EQ(b.afl_cd[2 * AFL_ROWS + 720], 0.02f);
    EXPECT_FLOAT_EQ(b.afl_t_rat[0], 0.12f);   // the other end keeps the 363 file's value

    // 650: as 641 without the integer (29 numbers), its own rows, linear range 10.
    pln[0].afl[8].afl_linear_alpha = 3.0f;
    ASSERT_EQ(read_text(text_rows_file(650, kParams650, " 0.6 0.03 -0.02"), 0, 0), 1);
    EXPECT_FLOAT_EQ(b.afl_re_num[0], 5.0f);
    EXPECT_FLOAT_EQ(b.afl_t_rat[0], 0.1f);
    EXPECT_FLOAT_EQ(b.afl_mach_div[0], 0.7f);
    EXPECT_FLOAT_EQ(b.afl_clM[0], 1.12f);
    EXPECT_FLOAT_EQ(b.afl_Dpow, 3.5f);
    EXPECT_FLOAT_EQ(b.afl_cm4, -0.09f);
    EXPECT_FLOAT_EQ(b.afl_almin[0], -14.0f);
    EXPECT_FLOAT_EQ(b.afl_almax[0], 17.0f);
    EXPECT_FLOAT_EQ(b.afl_linear_alpha, 10.0f);
    EXPECT_FLOAT_EQ(b.afl_cl[0 * AFL_ROWS + 100], 0.6f);
    EXPECT_FLOAT_EQ(b.afl_cm[0 * AFL_ROWS + 720], -0.02f);
}

TEST_F(AirfoilTest, Version700WritesItsLayoutAndReadsBack)
{
    afl_block& b = pln[0].afl[5];
    const int t = AFL_table_index(1, 0);
    b.afl_re_num[t] = 3.0f, b.afl_t_rat[1] = 0.12f, b.afl_mach_div[1] = 0.75f, b.afl_clM[t] = 0.1f;
    b.afl_clB[t] = -0.25f, b.afl_almin[t] = -14.5f, b.afl_almax[t] = 15.0f, b.afl_linear_alpha = 8.0f;
    b.afl_Lpow = 1.25f, b.afl_Lstall = 1.5f, b.afl_Dmin = 0.0061f, b.afl_DminCL = 0.2f;
    b.afl_Dal10 = 0.0175f, b.afl_Dpow = 2.5f, b.afl_Bwidth = 0.3f, b.afl_cm4 = -0.125f;
    for (int i = 0; i < AFL_ROWS; ++i) {
        b.afl_cl[t * AFL_ROWS + i] = 0.001f * static_cast<float>(i) - 0.25f;
        b.afl_cd[t * AFL_ROWS + i] = 0.0123456f;
        b.afl_cm[t * AFL_ROWS + i] = -0.5f;
    }
    b.afl_cl[t * AFL_ROWS + 720] = -12.345678f;

    const std::string path = tmp.prefix() + "AIRFOILS:out.AFL";
    std::filesystem::create_directories(tmp.path() / "AIRFOILS");
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 0, 5, 1, 0, path.c_str()), 1);

    const std::string bytes = read_file_bytes(tmp.path() / "AIRFOILS" / "out.afl");
    const std::string expected_prefix =
        "I\n700 version\n1234 device type code\n"
        "3.000000 0.120000 0.750000 0.100000 -0.250000 -14.500000 15.000000 8.000000 1.250000 "
        "1.500000 0.000000 0.000000 0.000000 0.006100 0.200000 0.017500 2.500000 0.200000 "
        "0.017500 2.500000 0.000000 0.300000 0.000000 0.000000 0.000000 0.000000 0.000000 "
        "0.000000 0.000000 -0.125000\n"
        "alpha cl cd cm:\n"
        "-180.0 -0.25000  0.01235 -0.50000\n"
        "-179.0 -0.24900  0.01235 -0.50000\n";
    EXPECT_EQ(bytes.substr(0, expected_prefix.size()), expected_prefix);
    EXPECT_NE(bytes.find("\n -20.0 -0.09000  0.01235 -0.50000\n"), std::string::npos);
    EXPECT_NE(bytes.find("\n   0.0  0.11000  0.01235 -0.50000\n"), std::string::npos);
    const std::string tail = " 180.0 -12.34568  0.01235 -0.50000\n";
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

    // Read back into another slot, part and table.
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 1, 7, 0, 1, path.c_str()), 1);
    const afl_block& r = pln[1].afl[7];
    EXPECT_FLOAT_EQ(r.afl_re_num[1], 3.0f);
    EXPECT_FLOAT_EQ(r.afl_t_rat[0], 0.12f);
    EXPECT_FLOAT_EQ(r.afl_Dmin, 0.0061f);
    // Every parameter comes back in its own field.
    const std::pair<float, float> read_written[] = {
        {r.afl_mach_div[0], 0.75f}, {r.afl_clM[1], 0.1f},       {r.afl_clB[1], -0.25f},
        {r.afl_almin[1], -14.5f},   {r.afl_almax[1], 15.0f},    {r.afl_linear_alpha, 8.0f},
        {r.afl_Lpow, 1.25f},        {r.afl_Lstall, 1.5f},       {r.afl_DminCL, 0.2f},
        {r.afl_Dal10, 0.0175f},     {r.afl_Dpow, 2.5f},         {r.afl_Bwidth, 0.3f},
        {r.afl_cm4, -0.125f}};
    for (const auto& [got, want] : read_written) EXPECT_FLOAT_EQ(got, want);
    for (int i = 0; i < AFL_ROWS; ++i) {
        ASSERT_NEAR(r.afl_cl[AFL_ROWS + i], b.afl_cl[t * AFL_ROWS + i], 0.51e-5) << i;
        ASSERT_NEAR(r.afl_cd[AFL_ROWS + i], b.afl_cd[t * AFL_ROWS + i], 0.51e-5) << i;
        ASSERT_NEAR(r.afl_cm[AFL_ROWS + i], b.afl_cm[t * AFL_ROWS + i], 0.51e-5) << i;
    }
    EXPECT_EQ(AIRFOIL_read_write(3, 0, 5, 1, 0, path.c_str()), 0);
}

TEST_F(AirfoilTest, Version700KeepsTheSecondOfItsTwoDragTriples)
{
    // The parameter line carries DminCL, Dal10 and Dpow twice: 0.25 0.016 3,
    // then 0.3 0.02 2.5. The second triple is the one that stands.
    ASSERT_EQ(read_text(file_700()), 1);
    const afl_block& b = pln[0].afl[8];
    EXPECT_FLOAT_EQ(b.afl_DminCL, 0.3f);
    EXPECT_FLOAT_EQ(b.afl_Dal10, 0.02f);
    EXPECT_FLOAT_EQ(b.afl_Dpow, 2.5f);
    EXPECT_FLOAT_EQ(b.afl_Dmin, 0.0065f);
}

TEST_F(AirfoilTest, FileBesideTheAircraftWinsOverTheSharedFolder)
{
    UTIL_strcpy((tmp.prefix() + "AIRCRAFT:Trainer:trainer.acf").c_str(), pln[0].acf_file_path);
    UTIL_strcpy("trainer.acf", pln[0].acf_file_name);
    UTIL_strcpy((tmp.prefix() + "AIRFOILS:").c_str(), folder_table[FOLDER_AIRFOILS]);
    tmp.write("AIRFOILS/wing.afl", file_700(std::string(kParams700).replace(0, 3, "7.0")));
    tmp.write("AIRCRAFT/Trainer/Airfoils/wing.afl", file_700());   // found case-blind

    AIRFOIL_load("wing.afl", 0, 8, 0, 0);
    EXPECT_FLOAT_EQ(pln[0].afl[8].afl_re_num[0], 2.5f);
    std::filesystem::remove(tmp.path() / "AIRCRAFT/Trainer/Airfoils/wing.afl");
    AIRFOIL_load("wing.afl", 0, 8, 1, 1);
    EXPECT_FLOAT_EQ(pln[0].afl[8].afl_re_num[3], 7.0f);
    EXPECT_FLOAT_EQ(pln[0].afl[8].afl_cl[3 * AFL_ROWS + 720], 0.72f);
    EXPECT_TRUE(recorded_alerts.empty());

    // A 40-character name without a terminator is taken whole and no further.
    // Not found, the file is named in a notice and the aircraft cannot load.
    char name[AFL_NAME_SIZE * 2];
    std::memset(name, 'z', sizeof name);
    EXPECT_FALSE(AIRFOIL_load(name, 0, 8, 0, 0));
    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record missing = recorded_alerts[0];
    EXPECT_EQ(missing.code, ALERT_NOTICE);
    EXPECT_EQ(missing.lines[0], "An airfoil file of trainer.acf cannot be found. Looked for:");
    EXPECT_EQ(missing.lines[1], tmp.prefix() + "AIRCRAFT:Trainer:airfoils:" + std::string(40, 'z'));
    EXPECT_EQ(missing.lines[2], tmp.prefix() + "AIRFOILS:" + std::string(40, 'z'));
    EXPECT_STREQ(missing.lines[3].c_str(), LANG_text_at_820(8));   // the part's own name
    // One that is there but random bytes is named as damaged, not as missing.
    clear_alerts();
    tmp.write("AIRFOILS/noise.afl", std::string(2000, '\xc3'));
    EXPECT_FALSE(AIRFOIL_load("noise.afl", 0, 8, 0, 0));
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[0], "An airfoil file of trainer.acf is damaged:");
    EXPECT_EQ(recorded_alerts[0].lines[1], tmp.prefix() + "AIRFOILS:noise.afl");
    // Damaged inside beside the aircraft: refused there, the shared file of
    // the name (another airfoil, perhaps) is not taken in its place.
    clear_alerts();
    tmp.write("AIRCRAFT/Trainer/Airfoils/wing.afl", file_700(kParams700, 300));
    EXPECT_FALSE(AIRFOIL_load("wing.afl", 0, 8, 0, 0));
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[1], tmp.prefix() + "AIRCRAFT:Trainer:airfoils:wing.afl");
    clear_alerts();

    // Reynolds pairs that are practically equal are spread apart.
    float* re = pln[0].afl[8].afl_re_num;
    re[0] = 1000.0f, re[1] = 1000.005f, re[2] = 1000.0f, re[3] = 1000.02f;
    AIRFOIL_normalise_reynolds(0, 8);
    EXPECT_TRUE(re[0] == 0.0f && re[1] == 99.9f && re[2] == 1000.0f && re[3] == 1000.02f)
        << re[0] << " " << re[1] << " " << re[2] << " " << re[3];
}

TEST_F(AirfoilTest, BrokenFilesAreRefused)
{
    const std::string path = (tmp.path() / "x.afl").string();
    std::string out_of_range = file_700();
    out_of_range.replace(out_of_range.rfind("0.01"), 4, "2e10");
    // Each refused with a notice naming the file and why (never a fatal
    // alert: an aircraft of the fleet stands in for the one that needs it).
    const std::string cut = "Its numbers stop before their end or are not numbers.";
    const std::string range = "Its coefficients are out of range.";
    const std::pair<std::string, std::string> cases[] = {
        {file_700(kParams700, 500), cut},                                             // table cut short
        {file_700("2.5 0.15 0.7 abc"), cut},                                          // not a number
        {file_613("SECTION_A 0.12 3.0 -14 15\n"), cut},                               // parameters cut short
        {out_of_range, range},
        {"I\n613 version\n1234 device type code\n" + std::string(kParams613), cut},   // no Mach line
        {"I\n700 version\n1200 device type code\n" + std::string(kParams700),
         "Its device type is not that of an airfoil file."},
        {"I\n700 version\n", "Its device type is not that of an airfoil file."},     // ends after its header
        // A generated value out of range makes no table.
        {file_613("S 0.12 3.0 -14 15 0.3 0.1 2.0 1.5 0.1 1e12 1.5 0.2 0.006 0.015 3.0 "
                  "-12 14 -0.02 -0.07 -0.07 -0.1 0 0 0 0\n"),
         range},
    };
    for (const auto& [text, why] : cases) EXPECT_EQ(refused(text), why) << text.substr(0, 60);
    // A read table value of 1e10 or more, in any of the three columns.
    EXPECT_EQ(read_text(text_rows_file(700, kParams700, " 0.5 0.01 0")), 1);
    for (const char* row : {" 2e10 0.01 0", " 0.5 1e10 0", " 0.5 0.01 -1e10"})
        EXPECT_EQ(refused(text_rows_file(700, kParams700, row)), range) << row;
    clear_alerts();

    // No file, an empty file, an unknown version or mark: simply not read.
    EXPECT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 8, 0, 0, (tmp.prefix() + "none.afl").c_str()), 0);
    EXPECT_EQ(read_text(""), 0);
    EXPECT_EQ(read_text("I\n800 version\n1234 device type code\n"), 0);
    EXPECT_EQ(read_text("X\n700 version\n"), 0);
    // Parts, slots and ends outside the record.
    expect_fatal([&] { AIRFOIL_read_write(AFL_MODE_READ, 0, 44, 0, 0, path.c_str()); });
    expect_fatal([&] { AIRFOIL_read_write(AFL_MODE_READ, 10, 0, 0, 0, path.c_str()); });
    expect_fatal([&] { AIRFOIL_read_write(AFL_MODE_READ, 0, 0, 2, 0, path.c_str()); });
}

TEST_F(AirfoilTest, DegenerateFitsGiveFiniteTables)
{
    // Stalls on the edges of their ranges (almin -20, almax at the linear
    // range's 10): the ranges' ratios are 0/0 there, and the fits give their
    // stall values.
    ASSERT_EQ(read_text(file_613("S 0.12 3.0 -20 10 0.3 0.1 2 1.5 0.1 0.3 1.5 0.2 0.006 0.015 3.0 "
                                 "-20 14 -0.02 -0.07 -0.05 -0.1 0.2 0.002 2.0 0.3\n")),
              1);
    const afl_block& b = pln[0].afl[8];
    for (int i = 0; i < AFL_ROWS; ++i)
        ASSERT_TRUE(std::isfinite(b.afl_cl[i]) && std::isfinite(b.afl_cd[i]) && std::isfinite(b.afl_cm[i]))
            << AFL_grid_alpha(i);
    EXPECT_FLOAT_EQ(b.afl_cm[160], -0.045f);   // equal end angles: the mean of both points
    EXPECT_FLOAT_EQ(b.afl_cl[460], 1.5f);      // 10 degrees: the stall lift
    EXPECT_TRUE(recorded_alerts.empty());
    // Without a lift slope the drag is out of range: the file is refused.
    EXPECT_EQ(refused(file_613("S 0.12 3.0 -14 15 0.3 0 2 1.5 0.1 0.3 1.5 0.2 0.006 0.015 3.0 "
                               "-12 14 -0.02 -0.07 -0.07 -0.1 0.2 0.002 2.0 0.3\n")),
              "Its coefficients are out of range.");
}

TEST_F(AirfoilTest, ASaveThatFailsKeepsThePreviousFileAndNamesIt)
{
    afl_block& b = pln[0].afl[5];
    for (int i = 0; i < AFL_ROWS; ++i) b.afl_cl[i] = 0.25f;
    std::filesystem::create_directories(tmp.path() / "AIRFOILS");
    const std::string path = tmp.prefix() + "AIRFOILS:wing.afl";
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 0, 5, 0, 0, path.c_str()), 1);
    const auto file = tmp.path() / "AIRFOILS" / "wing.afl";
    const std::string good = read_file_bytes(file);
    ASSERT_GT(good.size(), 20000u);

    // The disk refuses the rows part-way through.
    for (int i = 0; i < AFL_ROWS; ++i) b.afl_cl[i] = -0.5f;
    {
        file_size_limit limit(4096);
        EXPECT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 0, 5, 0, 0, path.c_str()), 0);
    }
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[1], file.string());
    EXPECT_TRUE(read_file_bytes(file) == good);
    EXPECT_FALSE(std::filesystem::exists(file.string() + FILE_SAVE_SUFFIX));

    // A folder that does not exist: nothing is created, and the notice names the file.
    EXPECT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 0, 5, 0, 0, (tmp.prefix() + "NONE:wing.afl").c_str()), 0);
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(recorded_alerts[1].lines[1], (tmp.path() / "NONE" / "wing.afl").string());
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "NONE"));

    // The same save on a disk with room replaces the file whole.
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 0, 5, 0, 0, path.c_str()), 1);
    EXPECT_EQ(read_file_bytes(file).substr(0, 14), "I\n700 version\n");   // no format left over from the failed save
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 1, 5, 0, 0, path.c_str()), 1);
    EXPECT_FLOAT_EQ(pln[1].afl[5].afl_cl[AFL_ROWS - 1], -0.5f);
}

// An aircraft names the same few files for many parts. Each table that names
// a file gets what reading it gives, whichever part read it before, and a file
// changed on disk since is read again.
TEST_F(AirfoilTest, AFileNamedByManyPartsGivesEachTableTheSameAndAChangedFileIsReadAgain)
{
    const std::filesystem::path file = tmp.write("AIRFOILS/wing.afl", file_700());
    const auto age = [&] {
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    };
    age();
    const std::string path = tmp.prefix() + "AIRFOILS:WING.AFL";
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 3, 0, 0, path.c_str()), 1);
    pln[0].afl[9].afl_Lpow = -1.0f;
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 9, 1, 1, path.c_str()), 1);
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 1, 3, 1, 0, path.c_str()), 1);
    const afl_block& first = pln[0].afl[3];
    for (const auto& [b, end, member] : {std::tuple{&pln[0].afl[9], 1, 1}, std::tuple{&pln[1].afl[3], 1, 0}}) {
        const int t = AFL_table_index(end, member);
        EXPECT_EQ(b->afl_re_num[t], first.afl_re_num[0]);
        EXPECT_EQ(b->afl_t_rat[end], first.afl_t_rat[0]);
        EXPECT_EQ(b->afl_mach_div[end], first.afl_mach_div[0]);
        EXPECT_EQ(b->afl_almax[t], first.afl_almax[0]);
        EXPECT_EQ(b->afl_Lpow, first.afl_Lpow);
        EXPECT_EQ(b->afl_cm4, first.afl_cm4);
        EXPECT_EQ(0, std::memcmp(&b->afl_cl[t * AFL_ROWS], &first.afl_cl[0], AFL_ROWS * sizeof(float)));
        EXPECT_EQ(0, std::memcmp(&b->afl_cm[t * AFL_ROWS], &first.afl_cm[0], AFL_ROWS * sizeof(float)));
    }
    EXPECT_FLOAT_EQ(pln[0].afl[9].afl_Lpow, 2.0f);

    // The same file with another Reynolds number and last row, written anew.
    tmp.write("AIRFOILS/wing.afl", file_700(std::string(kParams700).replace(0, 3, "7.0"), AFL_ROWS - 1) +
                                       "180 0.5 0.01 -0.36\n");
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 9, 1, 1, path.c_str()), 1);
    EXPECT_FLOAT_EQ(pln[0].afl[9].afl_re_num[3], 7.0f);
    EXPECT_FLOAT_EQ(pln[0].afl[9].afl_cl[3 * AFL_ROWS + 720], 0.5f);
    age();
    ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 4, 0, 0, path.c_str()), 1);
    EXPECT_FLOAT_EQ(pln[0].afl[4].afl_re_num[0], 7.0f);
    std::filesystem::remove(file);
    EXPECT_EQ(AIRFOIL_read_write(AFL_MODE_READ, 0, 4, 0, 0, path.c_str()), 0);
    EXPECT_TRUE(recorded_alerts.empty());
}
