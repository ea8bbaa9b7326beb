#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/mappedfile.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

// A writable 500-byte path, as the file services change paths in place.
struct path_text {
    char text[TEXT_SIZE] = {};
    explicit path_text(const std::string& s) { std::strncpy(text, s.c_str(), TEXT_MAX_LEN); }
    operator char*() { return text; }
};

class DataFile : public ::testing::Test {
protected:
    temp_folder tmp;
    void SetUp() override
    {
        FOLDERS_init_from((tmp.prefix() + "app").c_str());
        file_use_index = 0;
    }
    // Opens a file written with the given bytes; returns FILE_open_for_use's result.
    int open_bytes(const std::string& bytes, int kind, int version, int strict = 1)
    {
        tmp.write("in.dat", bytes);
        path_text p(tmp.prefix() + "in.dat");
        return FILE_open_for_use(p, kind, version, strict);
    }
};

}  // namespace

// "AIRCRAFT:TEST.ACF" finds "Aircraft/test.acf" on a case-sensitive disk.
TEST_F(DataFile, BinaryFilesInBothByteOrdersReadTheSameValues)
{
    const std::string files[2] = {std::string("i\xBC\x02\0\0\x07\0\0\0\0\0\xC0\x3F", 13),
                                  std::string("a\0\0\x02\xBC\0\0\0\x07\x3F\xC0\0\0", 13)};
    for (int order = 0; order < 2; ++order) {
        tmp.write("Aircraft/test.acf", files[order]);
        path_text p(tmp.prefix() + "AIRCRAFT:TEST.ACF");
        file_use_index = order;
        ASSERT_EQ(FILE_open_for_use(p, KIND_AIRCRAFT, 700, 1), 1);
        EXPECT_EQ(file_swap_bytes, order);
        EXPECT_EQ(FILE_read_int("t"), 7);
        EXPECT_EQ(FILE_read_float("t"), 1.5f);
    }
    EXPECT_EQ(FILE_read_int("prefs"), 0);   // past the end, quiet label: 0 and no alert
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(DataFile, OpenRefusesMissingFilesBadMarksAndOtherVersions)
{
    path_text missing(tmp.prefix() + "NONE.TXT");
    EXPECT_EQ(FILE_open_for_use(missing, KIND_TEXT, 1, 1), 0);
    EXPECT_EQ(open_bytes("x\n1 version\nbody", KIND_TEXT, 1), 0);
    EXPECT_EQ(open_bytes(std::string("b\xBC\x02\0\0", 5), KIND_AIRCRAFT, 700), 0);
    EXPECT_EQ(open_bytes("I\n650 version\nbody", KIND_AIRFOIL, 700, 0), 0);   // not strict: caller tries another
    EXPECT_TRUE(recorded_alerts.empty());
    auto a = expect_fatal([&] { open_bytes("I\n650 version\nbody", KIND_AIRFOIL, 700, 1); });
    EXPECT_EQ(a.lines[1], tmp.prefix() + "in.dat");
    a = expect_fatal([&] { open_bytes("I\nabc version\n", KIND_TEXT, 700); });   // unreadable version
    EXPECT_EQ(a.lines[3], tmp.prefix() + "in.dat");

    // Version 0 reads only the mark and the line end.
    ASSERT_EQ(open_bytes("I\n700 version\n", KIND_TEXT, 0), 1);
    FILE_read_line(scratch_text, TEXT_SIZE);
    EXPECT_STREQ(scratch_text, "700 version");

    file_use_index = 2;
    EXPECT_EQ(expect_fatal([] { FILE_check_read("x"); }).lines[0], "Bad file-use index!");
    file_use_index = -1;
    EXPECT_EQ(expect_fatal([&] { open_bytes("I\n", KIND_TEXT, 0); }).code, ALERT_FATAL);
}

// A reader borrows a slot for its scope: the slot is closed and the one
// current before is current again on every way out, an early return too.
TEST_F(DataFile, ABorrowedSlotIsClosedAndGivenBackHoweverTheScopeEnds)
{
    file_use_index = 0;
    const auto read_first = [&](bool leave_early) {
        const file_slot_use use(1);
        EXPECT_EQ(file_use_index, 1);
        if (open_bytes("I\n700 version\n", KIND_TEXT, 0) != 1 || leave_early) return;
        EXPECT_EQ(FILE_current_stream().peek(), '7');   // version 0 reads the mark alone
    };
    for (bool early : {false, true}) {
        read_first(early);
        EXPECT_EQ(file_use_index, 0);
        file_use_index = 1;
        EXPECT_EQ(FILE_current_stream().peek(), std::char_traits<char>::eof());
        FILE_current_stream().clear();
        file_use_index = 0;
    }

    // Whole words change order; a tail shorter than a word stays as it is.
    unsigned char bytes[6] = {1, 2, 3, 4, 5, 6};
    FILE_swap_words(bytes, sizeof bytes);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 6), (std::vector<unsigned char>{4, 3, 2, 1, 5, 6}));
}

TEST_F(DataFile, TextReadersFollowTheirRules)
{
    ASSERT_EQ(open_bytes("I\n700 version\n  AB CD\nABCD   WXYZ -12 2.5\n   last line", KIND_TEXT, 700), 1);
    char buf[TEXT_SIZE];
    FILE_read_field(buf, 5, 1);
    EXPECT_STREQ(buf, "AB C");   // fixed: the blank inside is kept, the "D" after is consumed
    FILE_read_field(buf, 5, 0);
    EXPECT_STREQ(buf, "ABCD");
    FILE_read_field(buf, 3, 0);
    EXPECT_STREQ(buf, "WX");     // the rest of the field is consumed and dropped
    EXPECT_EQ(FILE_read_int("t"), -12);
    EXPECT_EQ(FILE_read_float("t"), 2.5f);
    EXPECT_EQ(FILE_skip_line("t"), 1);
    FILE_read_line(buf, TEXT_SIZE);
    EXPECT_STREQ(buf, "last line");   // no line end: all characters kept
    FILE_read_field(buf, TEXT_SIZE, 1);
    EXPECT_STREQ(buf, "");           // a fixed field at the end of the file stops there
    EXPECT_EQ(FILE_check_read("checklist"), 0);
    EXPECT_TRUE(recorded_alerts.empty());

    // A long line keeps size - 2 characters and the rest of the line is consumed.
    ASSERT_EQ(open_bytes("I\n700 version\nabcdefgh\nnext\n", KIND_TEXT, 700), 1);
    FILE_read_line(buf, 5);
    EXPECT_STREQ(buf, "abc");
    FILE_read_line(buf, TEXT_SIZE);
    EXPECT_STREQ(buf, "next");

    auto a = expect_fatal([] { FILE_read_int("LABEL"); });
    EXPECT_EQ(a.lines[1], "");
    EXPECT_EQ(a.lines[3], "LABEL");
}

TEST_F(DataFile, CarriageReturnAndCrlfFilesReadLikeLf)
{
    for (const char* bytes : {"I\n700 version\none two\n3\n\n", "A\r700 version\rone two\r3\r\r",
                              "I\r\n700 version\r\none two\r\n3\r\n\r\n"}) {
        ASSERT_EQ(open_bytes(bytes, KIND_TEXT, 700), 1);
        char buf[TEXT_SIZE];
        FILE_read_line(buf, TEXT_SIZE);
        EXPECT_STREQ(buf, "one two");
        EXPECT_EQ(FILE_read_int("t"), 3);
        EXPECT_EQ(FILE_skip_line("t"), 1);
        FILE_read_line(buf, TEXT_SIZE);
        EXPECT_STREQ(buf, "");
    }
}

TEST_F(DataFile, WriteVersionHeaders)
{
    fs::create_directories(tmp.path() / "Aircraft");
    path_text p(tmp.prefix() + "AIRCRAFT:TEST.ACF");
    ASSERT_EQ(FILE_write_version(p, KIND_AIRCRAFT, 700), 1);
    EXPECT_EQ(file_out_binary, 1);
    file_out.close();
    EXPECT_EQ(std::string(p.text), tmp.prefix() + "AIRCRAFT\\TEST.acf");
    EXPECT_EQ(read_file_bytes(tmp.path() / "Aircraft" / "TEST.acf"), std::string("\x69\xBC\x02\0\0", 5));

    path_text t(tmp.prefix() + "plan.fms");
    ASSERT_EQ(FILE_write_version(t, KIND_FMS, 700), 1);
    file_out << 1.5f << '\n';
    file_out.close();
    EXPECT_EQ(read_file_bytes(tmp.path() / "plan.fms"), "I\n700 version\n1.500000\n");

    std::strcpy(apt_header_remark, "Generated by us");
    path_text apt(tmp.prefix() + "apt.dat");
    ASSERT_EQ(FILE_write_version(apt, KIND_APT_DB, 703), 1);
    file_out.close();
    EXPECT_EQ(read_file_bytes(tmp.path() / "apt.dat"), "I\n703 Generated by us\n");
    std::strcpy(nav_header_remark, "Beacons by us");
    path_text nav(tmp.prefix() + "nav.dat");
    ASSERT_EQ(FILE_write_version(nav, KIND_NAV_DB, 600), 1);
    file_out.close();
    EXPECT_EQ(read_file_bytes(tmp.path() / "nav.dat"), "I\n600 Beacons by us\n");

    path_text bad(tmp.prefix() + "NO FOLDER:x.sit");
    EXPECT_EQ(FILE_write_version(bad, KIND_SITUATION, 1), 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[1], bad.text);
}

TEST_F(DataFile, SavesReplaceTheFileOnTheDiskWholeWithItsAccessRights)
{
    const fs::path old_file = tmp.write("Output/Situations/Old.SIT", "old");
    fs::permissions(old_file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // The name is found case-blind, so the file on the disk is replaced, not doubled.
    path_text p(tmp.prefix() + "OUTPUT:SITUATIONS:OLD.SIT");
    ASSERT_EQ(FILE_begin_save(p, KIND_SITUATION, 3), 1);
    EXPECT_EQ(read_file_bytes(old_file), "old");   // untouched until the save ends
    file_out << 7 << '\n';
    ASSERT_EQ(FILE_end_save(), 1);
    EXPECT_EQ(read_file_bytes(old_file), "I\n3 version\n7\n");
    EXPECT_EQ(fs::status(old_file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(old_file.parent_path()), fs::directory_iterator()), 1);
    EXPECT_EQ(FILE_end_save(), 0);   // no save open
    EXPECT_TRUE(recorded_alerts.empty());

    // A save its writer abandoned (stopped by an alert) leaves nothing once the next one begins.
    path_text a(tmp.prefix() + "OUTPUT:SITUATIONS:A.SIT");
    ASSERT_EQ(FILE_begin_save(a, KIND_SITUATION, 3), 1);
    path_text b(tmp.prefix() + "OUTPUT:SITUATIONS:B.SIT");
    ASSERT_EQ(FILE_begin_save(b, KIND_SITUATION, 3), 1);
    ASSERT_EQ(FILE_end_save(), 1);
    EXPECT_FALSE(fs::exists(tmp.path() / (std::string("Output/Situations/A.sit") + FILE_SAVE_SUFFIX)));
    EXPECT_TRUE(fs::exists(tmp.path() / "Output/Situations/B.sit"));
}

TEST_F(DataFile, StaleTemporaryFilesOfInterruptedSavesAreRemoved)
{
    const char* const stale[] = {"Orvell_0.bmp.partial", "Resources/preferences/KESTRUM 7 ORVELL.prf.partial",
                                 "Output/situations/deep/flight.sit.partial", "Aircraft/Trainer/Trainer.acf.partial",
                                 "Aircraft/Trainer/airfoils/wing.afl.partial", "Airfoils/naca.afl.partial"};
    const char* const kept[] = {"Resources/text/notes.partial", "Aircraft/notes.partial.txt", "Aircraft/Trainer/.partial",
                                "Aircraft/Trainer/Trainer.acf", "Resources/preferences/KESTRUM 7 ORVELL.prf"};
    for (const char* f : stale) tmp.write(f, "half");
    for (const char* f : kept) tmp.write(f, "whole");
    fs::create_directories(tmp.path() / "Output/folder.partial");
    FILE_remove_stale_saves();
    for (const char* f : stale) EXPECT_FALSE(fs::exists(tmp.path() / f)) << f;
    for (const char* f : kept) EXPECT_TRUE(fs::exists(tmp.path() / f)) << f;
    EXPECT_TRUE(fs::is_directory(tmp.path() / "Output/folder.partial"));
}

TEST(DataFileNames, SetExtensionKindOfEntryAndColons)
{
    for (auto [in, out] : {std::pair{"GLIDER.FMS", "GLIDER.ACF"}, {"ABC", "ABC.ACF"}, {".ACF", ".ACF.ACF"}}) {
        char name[TEXT_SIZE];
        std::strcpy(name, in);
        FILE_set_extension(name, KIND_AIRCRAFT);
        EXPECT_STREQ(name, out);
    }

    // A folder named like an aircraft is listed as one.
    std::strcpy(file_list_names[3], "OLD.ACF");
    file_list_kinds[3] = 1;
    EXPECT_EQ(FILE_kind_of_entry(3, 4), 1);
    EXPECT_EQ(file_list_kinds[3], KIND_AIRCRAFT);

    // Each kind's own extension on saving, and the extensions that list as each kind.
    struct named { const char* in; int kind; const char* out; };
    for (const named& n : {named{"A", 8, "A.TXT"}, named{"B.TXT", 17, "B.BMP"}, named{"C", 18, "C"},
                           named{"D.SIT", 0, "D"}, named{"E", 16, "E.BMP"}, named{"F", 13, "F.SPA"},
                           named{"G", 2, "G.AFL"}, named{"H.AFL", 19, "H"}, named{"J", 11, "J.TRA"}}) {
        char name[TEXT_SIZE];
        std::strcpy(name, n.in);
        FILE_set_extension(name, n.kind);
        EXPECT_STREQ(name, n.out) << n.in << " " << n.kind;
    }
    struct listed { const char* name; int as_found, wanted, listed, kind; };
    for (const listed& l : {listed{"x.log", 0, 8, 1, 8}, listed{"x.txt", 0, 8, 0, 0}, listed{"TILE.ENV", 0, 17, 1, 17},
                            listed{"PIC.PNG", 0, 18, 1, 16}, listed{"PIC.BMP", 0, 17, 0, 16},
                            listed{".hidden", 1, 4, 0, 1}, listed{"", 0, 0, 0, 0}, listed{"a.wav", 0, 15, 1, 15},
                            listed{"B.REG", 0, 14, 1, 14}, listed{"C.GAM", 0, 10, 1, 10}, listed{"D.OBJ", 0, 5, 1, 5},
                            listed{"E.WPN", 0, 3, 1, 3}, listed{"F.CAR", 0, 12, 1, 12}, listed{"G.FMS", 0, 9, 1, 9},
                            listed{"H.MOV", 0, 6, 0, 7}, listed{"J.SIT", 0, 6, 1, 6}, listed{"K", 1, 6, 1, 1},
                            listed{"L.spa", 0, 13, 1, 13}, listed{"M.AFL", 0, 2, 1, 2}, listed{"N.TRA", 0, 11, 1, 11}}) {
        std::strcpy(file_list_names[5], l.name);
        file_list_kinds[5] = l.as_found;
        EXPECT_EQ(FILE_kind_of_entry(5, l.wanted), l.listed) << l.name;
        EXPECT_EQ(file_list_kinds[5], l.kind) << l.name;
    }

    char path[TEXT_SIZE] = "C:SIM:AIRCRAFT:";
    FILE_colons_to_backslashes(path);
    EXPECT_STREQ(path, "C:SIM\\AIRCRAFT\\");
}

TEST_F(DataFile, ListDirectorySortsBytewiseAndCapsAt1000)
{
    for (const char* name : {"alpha", "Zeta", ".dot", "b.acf", "Sub/x"}) tmp.write(std::string("list/") + name, "");
    std::snprintf(file_list_folder, TEXT_SIZE, "%sLIST:", tmp.prefix().c_str());
    ASSERT_EQ(FILE_list_directory(0), 3);
    EXPECT_EQ((std::vector<std::string>{file_list_names[0], file_list_names[1], file_list_names[2]}),
              (std::vector<std::string>{"Sub", "Zeta", "alpha"}));
    EXPECT_EQ(std::string(file_list_paths[0]), tmp.prefix() + "LIST:Sub\\");
    EXPECT_EQ(file_list_kinds[0], KIND_FOLDER);
    EXPECT_EQ(FILE_list_directory(KIND_AIRCRAFT), 2);   // the folder and b.acf

    for (int i = 0; i < 1005; ++i) write_file_bytes(tmp.path() / "list" / ("f" + std::to_string(10000 + i)), "");
    EXPECT_EQ(FILE_list_directory(0), 1000);
    for (int i = 1; i < 1000; ++i) ASSERT_LT(std::strcmp(file_list_names[i - 1], file_list_names[i]), 0);

    std::snprintf(file_list_folder, TEXT_SIZE, "%sMISSING:", tmp.prefix().c_str());
    EXPECT_EQ(FILE_list_directory(0), 0);
    std::snprintf(file_list_folder, TEXT_SIZE, "%sLIST", tmp.prefix().c_str());
    expect_fatal([] { FILE_list_directory(0); });
}

namespace {

// Scans a header held in memory; the block is exactly as long as the bytes.
int scan(const std::string& bytes, int kind, const char* version, int64_t& pos)
{
    temp_folder tmp;
    tmp.write("f", bytes);
    MappedFile m;
    char* begin = nullptr;
    MappedFile_create(&m, (tmp.prefix() + "f").c_str(), &begin);
    int64_t len = 0;
    return SCAN_next_token(kind, &m, begin, pos, len, version);
}

}  // namespace

TEST(ScanNextToken, HeadersCompareThreeCharactersOfTheVersion)
{
    struct {
        std::string bytes;
        int kind;
        const char* version;
        int found;
        int64_t pos;
    } const cases[] = {
        {"I\n703 version\nbody", KIND_APT_DB, "703", 1, 14},
        {"A\r\r7031 Made by hand\r\nbody", KIND_NAV_DB, "703", 1, 22},
        {"I\n703 version", KIND_APT_DB, "703", 1, 13},   // the remark may end the file
        {"I\n702 version\n", KIND_APT_DB, "703", 0, -1},
        {"", KIND_APT_DB, "703", 0, -1},
        {"\x89PNG", KIND_IMAGE, "NOT KESTRUM", 1, 0},
        {std::string("i\x77\x02\0\0body", 9), KIND_ENV, "631", 1, 5},
        {std::string("a\0\0\x02\x77", 5), KIND_ENV, "631", 1, 5},
        {std::string("a\0\0\x02\x77", 5), KIND_ENV, "600", 0, -1},
        {std::string("z\0\0\x02\x77", 5), KIND_ENV, "631", 0, -1},
    };
    for (const auto& c : cases) {
        int64_t pos = 0;
        EXPECT_EQ(scan(c.bytes, c.kind, c.version, pos), c.found) << c.bytes;
        if (c.pos >= 0) {
            EXPECT_EQ(pos, c.pos) << c.bytes;
        }
    }
    EXPECT_STREQ(nav_header_remark, "Made by hand");
    EXPECT_EQ(file_swap_bytes, 1);   // the last file read was "a" ordered
    int64_t pos = 0;
    EXPECT_EQ(scan("I\n701 Airports by us\nbody", KIND_APT_DB, "701", pos), 1);
    EXPECT_EQ(pos, 21);
    EXPECT_STREQ(apt_header_remark, "Airports by us");
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST(ScanNextToken, TruncatedHeadersStopWithoutOverreading)
{
    int64_t pos = 0;
    // The alert names the file whose header ends early.
    for (const char* bytes : {"I", "I\n", "I\n70", "I\n703", "I\n703 "}) {
        SCOPED_TRACE(bytes);
        const alert_record a = expect_fatal([&] { scan(bytes, KIND_APT_DB, "703", pos); });
        EXPECT_EQ(a.lines[0], "Scan too far!");
        EXPECT_EQ(a.lines[2], "file:");
        EXPECT_EQ(std::filesystem::path(a.lines[3]).filename(), "f");
    }
    EXPECT_EQ(expect_fatal([&] { scan("i\x77\x02", KIND_ENV, "631", pos); }).lines[0], "Scan too far!");
}

TEST(MappedFileTest, MissingOneByteAndReload)
{
    temp_folder tmp;
    MappedFile m;
    char* begin = reinterpret_cast<char*>(1);
    MappedFile_create(&m, (tmp.prefix() + "NONE").c_str(), &begin);
    EXPECT_EQ(begin, nullptr);
    EXPECT_EQ(m.file, nullptr);

    tmp.write("One.bin", "Q");
    tmp.write("two.bin", "hello");
    MappedFile_create(&m, (tmp.prefix() + "ONE.BIN").c_str(), &begin);
    ASSERT_NE(begin, nullptr);
    EXPECT_EQ(std::string(begin, m.end), "Q");
    ASSERT_NE(MappedFile_load(&m, (tmp.prefix() + "two.bin").c_str()), nullptr);
    EXPECT_EQ(std::string(m.begin, m.end), "hello");
    EXPECT_NE(m.file, nullptr);   // the file stays open while the object holds it
    EXPECT_EQ(MappedFile_load(&m, (tmp.prefix() + "NONE").c_str()), nullptr);   // releases the old block
    EXPECT_EQ(m.begin, nullptr);

    // A folder of that name is no file: nothing is loaded and nothing is reported.
    tmp.write("Sub/inner", "x");
    EXPECT_EQ(MappedFile_load(&m, (tmp.prefix() + "SUB").c_str()), nullptr);
    EXPECT_TRUE(recorded_alerts.empty());
}
