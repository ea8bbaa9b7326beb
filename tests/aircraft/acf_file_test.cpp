// Aircraft files: writing, reading back, the other byte order, refusals.
#include <gtest/gtest.h>

#include <memory>

#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

std::string image_of(const acf_struct& a)
{
    return std::string(reinterpret_cast<const char*>(&a), ACF_FILE_IMAGE_SIZE);
}

// Writes `a` (with a path below the fixture's program folder) through the writer into slot 0.
std::string write_record(const program_folder_fixture& fx, const acf_struct& a, const std::string& name)
{
    std::filesystem::create_directories(fx.dir.path() / "AIRCRAFT");
    pln[0] = a;
    set_path(pln[0], fx.aircraft_path(name), name);
    EXPECT_EQ(ACF_read_write(ACF_MODE_WRITE, 0, 0), 1);
    return read_file_bytes(fx.dir.path() / "AIRCRAFT" / name);
}

// The file of `a` in the other byte order: every word reversed, the texts as written.
std::string reversed_file(const acf_struct& record)
{
    auto copy = std::make_unique<acf_struct>(record);
    acf_struct& a = *copy;
    a.acf_byte_order = 1;
    std::string body(reinterpret_cast<const char*>(&a), ACF_FILE_IMAGE_SIZE);
    for (size_t i = 0; i < body.size(); i += 4) std::swap(body[i], body[i + 3]), std::swap(body[i + 1], body[i + 2]);
    auto restore = [&](size_t offset, size_t size) { body.replace(offset, size, reinterpret_cast<const char*>(&a) + offset, size); };
    restore(offsetof(acf_struct, acf_tailnum), ACF_TAILNUM_SIZE);
    restore(offsetof(acf_struct, acf_author), ACF_TEXT_SIZE);
    restore(offsetof(acf_struct, acf_descrip), ACF_TEXT_SIZE);
    restore(offsetof(acf_struct, acf_Rafl0), 4 * 2920);   // the four name lists lie back to back
    restore(offsetof(acf_struct, wpn_name), sizeof a.wpn_name);
    return std::string("a\x00\x00\x02\xbc", 5) + body;
}

class AcfFile : public ::testing::Test {
protected:
    program_folder_fixture fx;
    acf_struct& rec = pln[1];
    void SetUp() override { make_minimal(rec); }

    // Writes the bytes as AIRCRAFT/name and reads them into slot 1.
    int read_bytes(const std::string& name, const std::string& bytes)
    {
        if (!bytes.empty()) fx.dir.write("AIRCRAFT/" + name, bytes);
        return read_into(1, name);
    }
    int read_into(int slot, const std::string& name)
    {
        std::memset(&pln[slot], 0, sizeof pln[slot]);
        set_path(pln[slot], fx.aircraft_path(name), name);
        return ACF_read_write(ACF_MODE_READ, slot, 0);
    }
};

}  // namespace

TEST_F(AcfFile, WrittenFileIsLetterVersionAndTheBodyAndReadsBackIdentically)
{
    rec.acf_byte_order = 77;   // the writer stores 0 in the first word
    set_text(rec.acf_author, ACF_TEXT_SIZE, "Test pilot");
    rec.acf_Xwpn_att[23] = -3.25f;
    ACF_derive_values(1);
    const std::string bytes = write_record(fx, rec, "T.acf");

    ASSERT_EQ(bytes.size(), 647101u);
    EXPECT_EQ(bytes.substr(0, 5), std::string("i\xbc\x02\x00\x00", 5));
    // Bytes the writer must have put at their fixed places.
    EXPECT_EQ(bytes.substr(5, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(5 + 1004, 6), "OV-TST");
    float vne;
    std::memcpy(&vne, bytes.data() + 5 + 2072, 4);
    EXPECT_EQ(vne, 160.0f);

    ASSERT_EQ(read_into(2, "T.acf"), 1);
    EXPECT_TRUE(image_of(pln[2]) == image_of(pln[0]));
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(AcfFile, HandMadeBytesReadAtTheirOffsets)
{
    std::string body(ACF_FILE_IMAGE_SIZE, '\0');
    auto put_f = [&](size_t off, float v) { std::memcpy(&body[off], &v, 4); };
    auto put_i = [&](size_t off, int32_t v) { std::memcpy(&body[off], &v, 4); };
    body.replace(1004, 4, "ABCD");
    put_f(2072, 150.0f);                       // Vne
    put_f(625228, 1000.0f);                    // empty mass
    put_f(625240, 2000.0f);                    // maximum mass
    put_f(638008, 3.0f);                       // equilibrium height
    put_f(9516, 1.0f);                         // forward throttle limit
    for (int k = 0; k < 12; ++k) put_f(512476 + 4 * (44 * 360 + 18 * k), 1.5f * k);   // fuselage stations
    for (int s = 0; s < 200; ++s) put_i(2308 + 4 * s, -1);
    put_i(2308 + 4 * 7, 110);                  // a horizontal situation indicator in slot 7

    ASSERT_EQ(read_bytes("H.acf", std::string("i\xbc\x02\x00\x00", 5) + body), 1);
    EXPECT_STREQ(rec.acf_tailnum, "ABCD");
    EXPECT_EQ(rec.acf_Vne, 150.0f);
    EXPECT_EQ(rec.acf_ins_type[7], 110);
    EXPECT_EQ(rec.acf_ap_keep_heading, 1);   // derived from the indicator
}

TEST_F(AcfFile, OtherByteOrderReadsIntoTheSameRecord)
{
    set_text(rec.acf_author, ACF_TEXT_SIZE, "Author of the aircraft");
    set_text(rec.acf_descrip, ACF_TEXT_SIZE, "Four seats");
    set_text(rec.acf_Rafl0 + 8 * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE, "wing root.afl");
    set_text(rec.acf_Tafl1 + 72 * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE, "last.afl");
    set_text(rec.wpn_name + 5 * ACF_WPN_NAME_SIZE, ACF_WPN_NAME_SIZE, "bomb:small.wpn");
    rec.acf_m_fuel_tot = 318.5f;
    rec.acf_num_tanks = 2;
    ACF_derive_values(1);
    write_record(fx, rec, "L.acf");
    fx.dir.write("AIRCRAFT/B.acf", reversed_file(pln[0]));

    ASSERT_EQ(read_into(4, "B.acf"), 1);
    const acf_struct& b = pln[4];
    EXPECT_EQ(b.acf_byte_order, 1);
    EXPECT_STREQ(b.acf_tailnum, "OV-TST");
    EXPECT_STREQ(b.acf_author, "Author of the aircraft");
    EXPECT_STREQ(b.acf_Rafl0 + 8 * ACF_AFL_NAME_SIZE, "wing root.afl");
    EXPECT_STREQ(b.wpn_name + 5 * ACF_WPN_NAME_SIZE, "bomb:small.wpn");
    // Apart from its first word and the name and path, the record is the little-endian one.
    auto same = std::make_unique<acf_struct>(b);
    same->acf_byte_order = 0;
    std::memcpy(same->acf_file_name, pln[0].acf_file_name, 2 * ACF_TEXT_SIZE);
    EXPECT_TRUE(image_of(*same) == image_of(pln[0]));
}

TEST_F(AcfFile, PathsOutsideTheProgramFolderAndMissingFilesAreRefusedQuietly)
{
    rec.acf_Vne = 123.0f;
    set_path(rec, "/elsewhere/X.acf", "X.acf");
    EXPECT_EQ(ACF_read_write(ACF_MODE_READ, 1, 0), 0);
    EXPECT_EQ(rec.acf_Vne, 123.0f);   // untouched
    EXPECT_EQ(ACF_read_write(9, 1, 0), 0);
    // A leading part of the program folder passes the test; the open then fails and the record is cleared.
    set_path(rec, fx.dir.prefix().substr(0, 5), "X.acf");
    EXPECT_EQ(ACF_read_write(ACF_MODE_READ, 1, 0), 0);
    EXPECT_EQ(rec.acf_Vne, 0.0f);

    EXPECT_EQ(read_bytes("missing.acf", ""), 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_STREQ(rec.acf_file_name, "missing.acf");
}

TEST_F(AcfFile, DamagedFilesAreRefusedWithANotice)
{
    const std::string good = file_bytes('i', 700, rec);
    auto with = [&](auto&& change) {
        auto copy = std::make_unique<acf_struct>(rec);
        change(*copy);
        return file_bytes('i', 700, *copy);
    };
    const std::pair<const char*, std::string> cases[] = {
        {"short.acf", good.substr(0, good.size() - 100)},
        {"headonly.acf", good.substr(0, 5)},
        {"tiny.acf", good.substr(0, 3)},
        {"engines.acf", with([](acf_struct& a) { a.acf_num_engines = 9; })},
        {"els.acf", with([](acf_struct& a) { a.acf_els[30] = 11; })},
        {"tanks.acf", with([](acf_struct& a) { a.acf_num_tanks = -1; })},
        {"detents.acf", with([](acf_struct& a) { a.acf_flap_detents = 8; })},
        {"points.acf", with([](acf_struct& a) { a.acf_num_thrustpoints = 1 << 30; })},
        {"V.acf", file_bytes('i', 650, rec)},   // unknown version
        {"W.acf", file_bytes('x', 700, rec)},   // unknown letter
        {"random.acf", std::string("\x93\x1f\xc4\x08\x7e\xd2\x55\x01\xaa\x3b", 10) + std::string(4000, '\xb7')},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        clear_alerts();
        EXPECT_EQ(read_bytes(name, bytes), 0);
        ASSERT_EQ(recorded_alerts.size(), 1u);
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts[0].lines[0], "This aircraft file is damaged and was not loaded:");
        EXPECT_EQ(rec.acf_Vne, 0.0f);
        EXPECT_EQ(rec.acf_num_engines, 0);
        EXPECT_STREQ(rec.acf_file_name, name);
    }
    // An empty file is damaged too, not missing.
    clear_alerts();
    fx.dir.write("AIRCRAFT/empty.acf", "");
    EXPECT_EQ(read_bytes("empty.acf", ""), 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[2], "It is too short to be an aircraft file.");
    // A whole file of values no aircraft flies with is refused the same way,
    // with the failed check: the program goes on.
    clear_alerts();
    EXPECT_EQ(read_bytes("untailed.acf", with([](acf_struct& a) { std::memset(a.acf_tailnum, ' ', 8); })), 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[0], "This aircraft cannot be flown and was not loaded:");
    EXPECT_EQ(recorded_alerts[0].lines[2], "This aircraft has no tail number.");
    EXPECT_EQ(rec.acf_Vne, 0.0f);
    // Bytes after a whole body are not part of it: the file reads as its version.
    clear_alerts();
    EXPECT_EQ(read_bytes("long.acf", good + "x"), 1);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(AcfFile, ChoicesOutOfTheirTablesAndUnterminatedTextsAreBounded)
{
    std::memset(rec.acf_tailnum, 'N', ACF_TAILNUM_SIZE);
    std::memset(rec.acf_Rafl1, 'q', sizeof rec.acf_Rafl1);
    rec.acf_cockpit_type = 12;
    rec.acf_ins_type[0] = 476;
    rec.acf_ins_type[1] = -2;
    rec.acf_ins_type[2] = 475;

    ASSERT_EQ(read_bytes("C.acf", file_bytes('i', 700, rec)), 1);
    EXPECT_EQ(std::strlen(rec.acf_tailnum), 39u);
    EXPECT_EQ(std::strlen(rec.acf_Rafl1 + 5 * ACF_AFL_NAME_SIZE), 39u);
    EXPECT_EQ(rec.acf_cockpit_type, 12);   // only the user's aircraft has its panel drawn
    EXPECT_EQ(rec.acf_ins_type[0], ACF_INS_EMPTY);
    EXPECT_EQ(rec.acf_ins_type[1], ACF_INS_EMPTY);
    EXPECT_EQ(rec.acf_ins_type[2], 475);
    ASSERT_EQ(read_into(0, "C.acf"), 1);
    EXPECT_EQ(pln[0].acf_cockpit_type, 0);
}

TEST_F(AcfFile, WritingChecksTheAircraftFirstAndReportsAFailedWrite)
{
    pln[0] = rec;
    set_path(pln[0], fx.dir.prefix() + "NO SUCH FOLDER:X.acf", "X.acf");
    EXPECT_EQ(ACF_read_write(ACF_MODE_WRITE, 0, 0), 0);
    ASSERT_FALSE(recorded_alerts.empty());
    EXPECT_EQ(recorded_alerts.back().code, ALERT_NOTICE);

    std::filesystem::create_directories(fx.dir.path() / "AIRCRAFT");
    pln[0].acf_Vne = 0.0f;
    set_path(pln[0], fx.aircraft_path("Z.acf"), "Z.acf");
    expect_fatal([] { ACF_read_write(ACF_MODE_WRITE, 0, 0); });
    EXPECT_FALSE(std::filesystem::exists(fx.dir.path() / "AIRCRAFT" / "Z.acf"));
}

TEST_F(AcfFile, ASaveThatFailsPartWayKeepsThePreviousFileAndNamesIt)
{
    set_text(rec.acf_author, ACF_TEXT_SIZE, "First");
    const std::string good = write_record(fx, rec, "Keep.acf");
    ASSERT_EQ(good.size(), 5 + ACF_FILE_IMAGE_SIZE);
    const auto file = fx.dir.path() / "AIRCRAFT" / "Keep.acf";

    // The disk takes the first 100,000 bytes of the new file only.
    set_text(pln[0].acf_author, ACF_TEXT_SIZE, "Second");
    clear_alerts();
    {
        file_size_limit limit(100000);
        EXPECT_EQ(ACF_read_write(ACF_MODE_WRITE, 0, 0), 0);
    }
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[1], file.string());
    EXPECT_TRUE(read_file_bytes(file) == good);
    EXPECT_FALSE(std::filesystem::exists(file.string() + FILE_SAVE_SUFFIX));

    // Without the limit the same save replaces the file whole.
    EXPECT_EQ(ACF_read_write(ACF_MODE_WRITE, 0, 0), 1);
    EXPECT_EQ(read_file_bytes(file).substr(5 + offsetof(acf_struct, acf_author), 7), std::string("Second\0", 7));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), std::filesystem::directory_iterator()), 1);
}

// Airfoils are loaded for the parts in service up to part 43, and never for
// the parts after it: a missing airfoil of part 43 refuses the aircraft (a
// notice names the airfoil), one of part 44 is not even looked for.
TEST_F(AcfFile, AirfoilsAreLoadedForPartsUpToFortyThreeOnly)
{
    auto name_airfoils = [](acf_struct& a, int p, const char* name) {
        a.acf_part_eq[p] = 1;
        a.acf_Croot[p] = a.acf_Ctip[p] = a.acf_semilen_SEG[p] = 1.0f;
        for (char* list : {a.acf_Rafl0, a.acf_Rafl1, a.acf_Tafl0, a.acf_Tafl1})
            set_text(list + p * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE, name);
    };
    name_airfoils(rec, 44, "missing44.afl");
    write_record(fx, rec, "P44.acf");
    EXPECT_EQ(read_into(1, "P44.acf"), 1);

    make_minimal(rec);
    name_airfoils(rec, 43, "missing43.afl");
    write_record(fx, rec, "P43.acf");
    clear_alerts();
    EXPECT_EQ(read_into(1, "P43.acf"), 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_NE(recorded_alerts[0].lines[1].find("missing43.afl"), std::string::npos) << recorded_alerts[0].lines[1];
    EXPECT_EQ(rec.acf_part_eq[43], 0);   // nothing of the refused file is kept
    EXPECT_STREQ(rec.acf_file_name, "P43.acf");
}

// Each of a part's four airfoils fills its own table: root and tip (end 0
// and 1), each as member 0 and 1.
TEST_F(AcfFile, EachOfAPartsFourAirfoilsFillsItsOwnTable)
{
    std::filesystem::create_directories(fx.dir.path() / "AIRFOILS");
    const char* names[4] = {"r0.afl", "r1.afl", "t0.afl", "t1.afl"};
    afl_block& out = AIRFOIL_block(2, 5);
    for (int k = 0; k < 4; ++k) {
        out.afl_clM[AFL_table_index(0, 0)] = 0.1f * static_cast<float>(k + 1);
        const std::string path = fx.dir.prefix() + "AIRFOILS:" + names[k];
        ASSERT_EQ(AIRFOIL_read_write(AFL_MODE_WRITE, 2, 5, 0, 0, path.c_str()), 1);
    }
    rec.acf_part_eq[8] = 1;
    rec.acf_Croot[8] = rec.acf_Ctip[8] = rec.acf_semilen_SEG[8] = 1.0f;
    char* lists[4] = {rec.acf_Rafl0, rec.acf_Rafl1, rec.acf_Tafl0, rec.acf_Tafl1};
    for (int k = 0; k < 4; ++k) set_text(lists[k] + 8 * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE, names[k]);
    write_record(fx, rec, "F.acf");
    ASSERT_EQ(read_into(1, "F.acf"), 1);
    const afl_block& b = AIRFOIL_block(1, 8);
    EXPECT_FLOAT_EQ(b.afl_clM[AFL_table_index(0, 0)], 0.1f);
    EXPECT_FLOAT_EQ(b.afl_clM[AFL_table_index(0, 1)], 0.2f);
    EXPECT_FLOAT_EQ(b.afl_clM[AFL_table_index(1, 0)], 0.3f);
    EXPECT_FLOAT_EQ(b.afl_clM[AFL_table_index(1, 1)], 0.4f);
}
