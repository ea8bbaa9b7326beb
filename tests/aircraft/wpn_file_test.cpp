// Weapon files: hand-made files in both byte orders, the conversion to the
// slot's units, where a weapon file is looked for, the report of the user's
// weapons, writing in the file's units, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "aircraft/acf_geometry.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "tests/aircraft/acf_test_util.h"
#include "tests/aircraft/wpn_test_util.h"

using namespace acf_test;
using namespace wpn_test;

namespace {

constexpr float FT = UNIT.ft_to_mtrs;
const std::string RULE(100, '\xA5');

// An aircraft "AIRCRAFT:Armed:Armed.acf" in slot 0 (and the same in slot 2)
// of a program folder in a temporary folder, with ORVELL.OUT opened there.
class WeaponFile : public ::testing::Test {
protected:
    program_folder_fixture fx;
    std::filesystem::path old_dir;
    char path[ACF_TEXT_SIZE] = {};

    void SetUp() override
    {
        old_dir = std::filesystem::current_path();
        std::filesystem::current_path(fx.dir.path());
        FOLDERS_open_logs();
        clear_alerts();
        for (int s : {0, 2}) {
            std::memset(static_cast<void*>(&pln[s]), 0, sizeof pln[s]);
            set_path(pln[s], fx.aircraft_path("Armed:Armed.acf"), "Armed.acf");
        }
    }
    void TearDown() override
    {
        FOLDERS_close_logs();
        std::filesystem::current_path(old_dir);
    }
    std::string report()
    {
        report_log.flush();
        return read_file_bytes(fx.dir.path() / "ORVELL.OUT");
    }
    // Writes a file beside the aircraft ("weapons:" in its folder) or in the program's "WEAPONS:".
    void beside(const std::string& name, const std::string& bytes) { fx.dir.write("AIRCRAFT/Armed/weapons/" + name, bytes); }
    void in_program(const std::string& name, const std::string& bytes) { fx.dir.write("WEAPONS/" + name, bytes); }
    void read(int plane, int s, const char* name)
    {
        path[0] = 0;
        WPN_read(7, plane, s, name, path, 0);
    }
    static bool same_slot(const wpn_slot_record& a, const wpn_slot_record& b)
    {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
    // Whether the bodies of part index s of two planes are the same.
    static bool same_body(int p1, int p2, int s)
    {
        const size_t n = ACF_BODY_PART_POINTS * sizeof(float);
        const int at = s * ACF_BODY_PART_POINTS;
        return pln[p1].acf_body_r[s] == pln[p2].acf_body_r[s] &&
               std::memcmp(pln[p1].acf_body_X + at, pln[p2].acf_body_X + at, n) == 0 &&
               std::memcmp(pln[p1].acf_body_Y + at, pln[p2].acf_body_Y + at, n) == 0 &&
               std::memcmp(pln[p1].acf_body_Z + at, pln[p2].acf_body_Z + at, n) == 0;
    }
};

}  // namespace

TEST_F(WeaponFile, BothByteOrdersReadIntoOneSlotInMetricUnits)
{
    auto im = raw_weapon(WPN_KIND_BOMB);
    beside("LE.wpn", file_bytes('i', *im));
    beside("BE.wpn", file_bytes('a', *im));
    read(2, 7, "LE.wpn");
    read(0, 7, "BE.wpn");
    EXPECT_TRUE(recorded_alerts.empty());
    const wpn_slot_record& w = pln[0].acf_wpn_slot[7];
    EXPECT_TRUE(same_slot(w, pln[2].acf_wpn_slot[7]));
    EXPECT_TRUE(same_body(0, 2, 7));

    EXPECT_EQ(w.wpn_type, WPN_KIND_BOMB);
    EXPECT_EQ(w.wpn_valid, 1);   // a store that leaves its attach point
    EXPECT_EQ(w.wpn_released, 0);
    EXPECT_FLOAT_EQ(w.wpn_cg_offset[0], 1.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_cg_offset[1], 2.0f * FT - 0.5f * FT);   // from the reference y
    EXPECT_FLOAT_EQ(w.wpn_cg_offset[2], 3.0f * FT - 1.0f * FT);   // from the reference z
    EXPECT_FLOAT_EQ(w.wpn_range, 0.5f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fire_rate, 1.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_ammo, 100.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_muzzle_speed, 304.8f);
    EXPECT_NEAR(w.wpn_proj_drag_area, 0.09290304f, 1e-7f);   // 144 square inches
    EXPECT_NEAR(w.wpn_fixed_mass, 4.535925f, 1e-5f);
    EXPECT_NEAR(w.wpn_mass, 226.79625f, 1e-3f);
    EXPECT_NEAR(w.wpn_fuel, 9.07185f, 1e-5f);
    EXPECT_EQ(w.wpn_mass_now, w.wpn_mass);
    EXPECT_EQ(w.wpn_fuel_now, w.wpn_fuel);
    EXPECT_FLOAT_EQ(w.wpn_cd_base, 0.3f);
    EXPECT_NEAR(get_f(w, 76), 0.18580608f, 1e-7f);   // 2 square feet
    EXPECT_FLOAT_EQ(w.wpn_fin_arm[0], 5.0f * FT - 1.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fin_arm[3], 8.0f * FT - 1.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fin_root[2], 0.5f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fin_tip[1], 0.25f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fin_span[3], 0.75f * FT);
    EXPECT_NEAR(w.wpn_thrust[0], 444.4426f, 0.01f);   // 100 lbf at the program's gravity, 9.7982788
    EXPECT_NEAR(w.wpn_thrust[1], 222.2213f, 0.01f);
    EXPECT_NEAR(w.wpn_thrust[2], 111.1107f, 0.01f);
    EXPECT_FLOAT_EQ(w.wpn_burn_time[0], 1.5f);
    EXPECT_STREQ(reinterpret_cast<const char*>(&w) + WPN_TEXT_OFFSET, "Test store, 500 lb");

    // The outline went to the body arrays of part index 7, about the reference point.
    const acf_struct& a = pln[0];
    EXPECT_EQ(a.acf_body_r[7], 0.6f);
    const int p = 7 * ACF_BODY_PART_POINTS + 3 * ACF_BODY_POINTS + 2;   // station 3, point 2
    EXPECT_FLOAT_EQ(a.acf_body_X[p], 0.52f * FT);
    EXPECT_FLOAT_EQ(a.acf_body_Y[p], 0.9f * FT - 0.5f * FT);
    EXPECT_FLOAT_EQ(a.acf_body_Z[p], 4.0f * FT - 1.0f * FT);
}

TEST_F(WeaponFile, GunHasNoReferenceOfItsOwnNoAreasAndNoReport)
{
    auto im = raw_weapon(WPN_KIND_GUN);
    put_f(im->block, 440, 7.0f);   // areas a gun keeps as its file gives them
    beside("G.wpn", file_bytes('i', *im));
    read(0, 0, "G.wpn");
    const wpn_slot_record& w = pln[0].acf_wpn_slot[0];
    EXPECT_EQ(w.wpn_cg_offset[1], 0.0f);
    EXPECT_EQ(w.wpn_cg_offset[2], 0.0f);
    EXPECT_FLOAT_EQ(w.wpn_range, 2.0f * FT);        // the centre of gravity stands in for the reference
    EXPECT_FLOAT_EQ(w.wpn_fire_rate, 3.0f * FT);
    EXPECT_FLOAT_EQ(w.wpn_fin_arm[0], 5.0f * FT - 3.0f * FT);
    EXPECT_EQ(w.wpn_area_front, 0.0f);
    EXPECT_EQ(w.wpn_gyr_pitch, 0.0f);
    EXPECT_EQ(w.wpn_valid, 0);   // guns stay on their attach points
    EXPECT_EQ(report(), "");
}

TEST_F(WeaponFile, ValidFlagFollowsTheKind)
{
    for (int kind : {0, 1, 2, 3, 4, 5, 8, 23}) {
        auto im = raw_weapon(kind);
        beside("K.wpn", file_bytes('i', *im));
        read(2, 1, "K.wpn");
        EXPECT_EQ(pln[2].acf_wpn_slot[1].wpn_valid, WPN_kind_is_trigger_held(kind) ? 0 : 1) << kind;
    }
    // A missing file reads nothing; the flag still follows the slot's kind.
    pln[2].acf_wpn_slot[1].wpn_type = WPN_KIND_ROCKET_POD;
    pln[2].acf_wpn_slot[1].wpn_valid = 1;
    pln[2].acf_wpn_slot[1].wpn_mass = 12.5f;
    read(2, 1, "NONE.wpn");
    EXPECT_EQ(pln[2].acf_wpn_slot[1].wpn_valid, 0);
    EXPECT_EQ(pln[2].acf_wpn_slot[1].wpn_mass, 12.5f);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(WeaponFile, ReportOfTheUsersWeaponByHand)
{
    auto im = raw_weapon(WPN_KIND_BOMB);
    std::memset(im->X, 0, sizeof im->X);   // a body with no outline: nothing to measure
    std::memset(im->Y, 0, sizeof im->Y);
    std::memset(im->Z, 0, sizeof im->Z);
    put_f(im->block, 24, 0.0f);
    put_f(im->block, 28, 0.0f);
    beside("R.wpn", file_bytes('i', *im));
    read(2, 4, "R.wpn");   // another plane writes nothing
    EXPECT_EQ(report(), "");
    read(0, 4, "R.wpn");

    std::string shown = fx.aircraft_path("Armed:weapons:R.wpn");
    for (size_t i = 2; i < shown.size(); ++i)
        if (shown[i] == ':') shown[i] = '\\';
    EXPECT_EQ(std::string(path), shown);
    const std::string area = "   0.000 square meters.\n";
    const std::string centroid = "   0.000 meters from the CG OF THE WEAPON.\n";
    const std::string radius = "   0.00 meters.\n";
    EXPECT_EQ(report(), "\n" + RULE + "\nWeaapon " + shown + ":\n" + RULE + "\n" +
                            "The frontal area                is " + area +
                            "The side area                   is " + area +
                            "The top area                    is " + area +
                            "The longitudinal centroid       is " + centroid +
                            "The lateral      centroid       is " + centroid +
                            "The vertical     centroid       is " + centroid +
                            "The radius of gyration in roll  is " + radius +
                            "The radius of gyration in pitch is " + radius +
                            "The radius of gyration in yaw   is " + radius + "\n");
}

TEST_F(WeaponFile, BodyAreasAndRadiiOfGyrationOfACylinder)
{
    // Twelve stations of a circle of radius 1 ft, one foot apart, points 0..8 down one side.
    auto im = raw_weapon(WPN_KIND_BOMB);
    put_f(im->block, 24, 0.0f);
    put_f(im->block, 28, 0.0f);
    for (int k = 0; k < 12; ++k)
        for (int j = 0; j < 9; ++j) {
            const float a = 22.5f * j * DEG_TO_RAD_FLOAT;
            const int p = k * ACF_BODY_POINTS + j;
            im->X[p] = std::sin(a), im->Y[p] = std::cos(a), im->Z[p] = static_cast<float>(k);
        }
    beside("C.wpn", file_bytes('i', *im));
    read(0, 3, "C.wpn");
    const wpn_slot_record& w = pln[0].acf_wpn_slot[3];
    EXPECT_NE(report().find("The frontal area                is    0.284 square meters.\n"), std::string::npos);
    EXPECT_NEAR(w.wpn_area_front, 8.0f * FT * FT * std::sin(22.5f * DEG_TO_RAD_FLOAT), 1e-4f);
    EXPECT_NEAR(w.wpn_centroid_lat, 0.0f, 1e-6f);
    EXPECT_NEAR(w.wpn_centroid_long, 5.5f * FT, 1e-3f);
    EXPECT_GT(w.wpn_gyr_pitch, w.wpn_gyr_roll);   // a long body turns harder about its middle
    // Each surface triangle's centroid lies (5 + 4 cos 22.5) / 9 of the radius squared from the axis.
    EXPECT_NEAR(w.wpn_gyr_roll, FT * FT * (5.0f + 4.0f * std::cos(22.5f * DEG_TO_RAD_FLOAT)) / 9.0f, 1e-4f);
    // The report's roll line shows the root of the roll sum: sqrt(0.0898) = 0.30 m.
    EXPECT_NE(report().find("The radius of gyration in roll  is    0.30 meters.\n"), std::string::npos);
}

TEST_F(WeaponFile, AnUnterminatedTextEndsAtItsLastByte)
{
    auto im = raw_weapon(WPN_KIND_BOMB);
    std::memset(reinterpret_cast<char*>(&im->block) + WPN_TEXT_OFFSET, 'T', WPN_TEXT_SIZE);
    beside("T.wpn", file_bytes('a', *im));
    read(2, 0, "T.wpn");
    EXPECT_EQ(strnlen(reinterpret_cast<const char*>(&pln[2].acf_wpn_slot[0]) + WPN_TEXT_OFFSET, WPN_TEXT_SIZE),
              static_cast<size_t>(WPN_TEXT_SIZE - 1));
    const std::string name(600, 'n');   // a name longer than its field is cut, not overrun
    read(2, 0, name.c_str());
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(WeaponFile, WeaponsBesideTheAircraftWinOverTheProgramsFolder)
{
    auto near = raw_weapon(WPN_KIND_BOMB);
    auto far = raw_weapon(WPN_KIND_BOMB);
    put_f(far->block, 60, 250.0f);
    beside("B.wpn", file_bytes('i', *near));
    in_program("B.wpn", file_bytes('i', *far));
    read(2, 0, "B.wpn");
    EXPECT_NEAR(pln[2].acf_wpn_slot[0].wpn_mass, 500.0f * UNIT.lbs_to_kgs, 1e-3f);

    std::filesystem::remove(fx.dir.path() / "AIRCRAFT/Armed/weapons/B.wpn");
    read(2, 0, "B.wpn");
    EXPECT_NEAR(pln[2].acf_wpn_slot[0].wpn_mass, 250.0f * UNIT.lbs_to_kgs, 1e-3f);
    EXPECT_EQ(std::string(path), fx.dir.prefix() + "WEAPONS\\B.wpn");   // as the open left it
    // A file beside the aircraft that does not open as a weapon file gives way too.
    beside("C.wpn", "i junk");
    in_program("C.wpn", file_bytes('i', *far));
    read(2, 0, "C.wpn");
    EXPECT_EQ(std::string(path), fx.dir.prefix() + "WEAPONS\\C.wpn");

    // A name that makes the path longer than its 500 characters is not found.
    const std::string long_name(490, 'x');
    read(2, 0, long_name.c_str());
    EXPECT_STREQ(path, "");
    EXPECT_NEAR(pln[2].acf_wpn_slot[0].wpn_mass, 250.0f * UNIT.lbs_to_kgs, 1e-3f);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(WeaponFile, WritingKeepsTheFilesUnitsSoReadWriteReadGivesTheSameSlot)
{
    auto im = raw_weapon(WPN_KIND_GUIDED_BOMB);
    const std::string original = file_bytes('a', *im);
    beside("W.wpn", original);
    std::strcpy(pln[0].wpn_name + 5 * ACF_WPN_NAME_SIZE, "W.wpn");
    read(0, 5, "W.wpn");
    const wpn_slot_record first = pln[0].acf_wpn_slot[5];
    pln[0].acf_wpn_slot[5].wpn_released = 1;   // fired meanwhile: the file still holds it unfired
    pln[0].acf_wpn_slot[5].wpn_pos[1] = 1234.0f;

    path[0] = 0;
    WPN_read(8, 0, 5, "W.wpn", path, 0);
    const std::string written = read_file_bytes(fx.dir.path() / "AIRCRAFT/Armed/weapons/W.wpn");
    ASSERT_EQ(written.size(), WPN_FILE_SIZE);
    EXPECT_EQ(written.substr(0, 5), std::string("i\x01\x00\x00\x00", 5));
    // The words of the file in feet and pounds again, within rounding.
    const std::string little = file_bytes('i', *im);
    for (size_t off = 5; off < WPN_FILE_SIZE; off += 4) {
        float a, b;
        std::memcpy(&a, little.data() + off, 4);
        std::memcpy(&b, written.data() + off, 4);
        const size_t block_off = off - 5;
        if (block_off >= 476 && block_off < 680) continue;   // running state
        if (block_off >= 440 && block_off < 476) continue;   // measured, not read
        if (block_off == 4) continue;                        // the valid flag
        if (block_off >= WPN_TEXT_OFFSET && block_off < WPN_TEXT_OFFSET + WPN_TEXT_SIZE) continue;
        EXPECT_NEAR(b, a, 1e-5f * std::fabs(a) + 1e-6f) << "file offset " << off;
    }
    EXPECT_EQ(written.substr(5 + WPN_TEXT_OFFSET, WPN_TEXT_SIZE), little.substr(5 + WPN_TEXT_OFFSET, WPN_TEXT_SIZE));
    // The slot that names the file read it back: the same weapon, unfired.
    const wpn_slot_record& again = pln[0].acf_wpn_slot[5];
    EXPECT_EQ(again.wpn_released, 0);
    EXPECT_EQ(again.wpn_pos[1], 0.0f);
    for (int off = 12; off < 440; off += 4)
        EXPECT_NEAR(get_f(again, off), get_f(first, off), 1e-5f * std::fabs(get_f(first, off)) + 1e-6f) << off;
}

TEST_F(WeaponFile, DamagedFilesAreRefusedWithANoticeAndTheSlotUntouched)
{
    auto good = raw_weapon(WPN_KIND_BOMB);
    const std::string bytes = file_bytes('i', *good);
    auto no_mass = raw_weapon(WPN_KIND_BOMB);
    put_f(no_mass->block, 60, 0.0f);
    auto negative = raw_weapon(WPN_KIND_BOMB);
    put_f(negative->block, 60, -3.0f);
    auto nan = raw_weapon(WPN_KIND_BOMB);
    nan->Z[40] = std::nanf("");
    auto huge = raw_weapon(WPN_KIND_BOMB);
    put_f(huge->block, 384, 3.0e38f);   // overflows on conversion
    const std::pair<const char*, std::string> cases[] = {
        {"short.wpn", bytes.substr(0, bytes.size() - 1)},
        {"header.wpn", bytes.substr(0, 5)},
        {"nomass.wpn", file_bytes('i', *no_mass)},
        {"negative.wpn", file_bytes('a', *negative)},
        {"nan.wpn", file_bytes('i', *nan)},
        {"huge.wpn", file_bytes('i', *huge)},
        // Files that open as no weapon file are there all the same: damaged, not missing.
        {"tiny.wpn", bytes.substr(0, 3)},
        {"letter.wpn", "x" + bytes.substr(1)},
        {"version.wpn", file_bytes('i', *good, 2)},
    };
    pln[0].acf_wpn_slot[9].wpn_type = WPN_KIND_MISSILE_FIRST;
    pln[0].acf_wpn_slot[9].wpn_valid = 1;
    pln[0].acf_body_r[9] = 0.25f;
    const wpn_slot_record before = pln[0].acf_wpn_slot[9];
    for (const auto& [name, content] : cases) {
        clear_alerts();
        beside(name, content);
        read(0, 9, name);
        read(2, 3, name);   // another plane carrying it: named once
        ASSERT_EQ(recorded_alerts.size(), 1u) << name;
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_NE(recorded_alerts[0].lines[1].find(name), std::string::npos) << name;
        EXPECT_TRUE(same_slot(pln[0].acf_wpn_slot[9], before)) << name;
        EXPECT_EQ(pln[0].acf_body_r[9], 0.25f);
    }
    EXPECT_EQ(report(), "");

    // Bytes after a whole weapon are not part of it.
    beside("long.wpn", bytes + "x");
    read(2, 9, "long.wpn");
    EXPECT_EQ(pln[2].acf_wpn_slot[9].wpn_type, WPN_KIND_BOMB);

    // Slots outside the tables are refused.
    for (auto [plane, slot] : {std::pair{0, 24}, {0, -1}, {10, 0}, {-1, 3}}) {
        clear_alerts();
        WPN_read(7, plane, slot, "short.wpn", path, 0);
        EXPECT_EQ(recorded_alerts.size(), 1u);
    }
}
