// The logbook: its entries and its file, checked byte by byte against files
// written here by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <future>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/pilot_prefs.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/logbook.h"
#include "platform/plat_files.h"
#include "platform/plat_time.h"
#include "tests/support/test_support.h"
#include "world/navdb.h"

namespace {

int64_t june_12_2003() { return 1055419200; }   // 2003-06-12 12:00:00 UTC

const std::string HEADER = "I\n1 version\n";

class Logbook : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_folder_ = program_folder;
        FOLDERS_init_from((dir_.prefix() + "orvell").c_str());
        dir_.write("Output/logbooks/keep", "");
        setenv("TZ", "UTC", 1);
        tzset();
        PLAT_set_clock_source(nullptr, june_12_2003);
        logbook = logbook_arrays{};
        logbook_last = -1;
        std::strcpy(logbook_path, "ORVELL PILOT.TXT");
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
        std::strcpy(pln[0].acf_tailnum, "N12");
        std::strcpy(pln[0].acf_file_name, "Orvell Trainer.acf");
        airport_table.clear();
        airport_record a{};
        std::strcpy(a.id, "KSBD");
        runway_record r{};
        r.lat = 34.0954f;
        r.lon = -117.2349f;
        a.runways.push_back(r);
        airport_table.push_back(a);
        start_selection.airport_index = 0;
        flt[0].latitude = r.lat;   // the plane at KSBD
        flt[0].longitude = r.lon;
        clear_alerts();
    }
    void TearDown() override
    {
        PLAT_set_clock_source(nullptr, nullptr);
        airport_table.clear();
        FOLDERS_init_from((saved_folder_ + "orvell").c_str());
        // A full logbook left behind would make the next flight's entry fatal.
        logbook = logbook_arrays{};
        logbook_last = -1;
    }

    std::filesystem::path file() const { return dir_.path() / "Output/logbooks/ORVELL PILOT.txt"; }
    std::string written()
    {
        LOGBOOK_write();
        return read_file_bytes(file());
    }
    void read(const std::string& bytes)
    {
        write_file_bytes(file(), bytes);
        LOGBOOK_read();
    }

    temp_folder dir_;
    std::string saved_folder_;
};

// One entry line as the file has it.
std::string line(const std::string& date, const std::string& from, const std::string& to, const std::string& landings,
                 const std::string& hours, const std::string& tail, const std::string& aircraft)
{
    return "2 " + date + "  " + from + "  " + to + "  " + landings + "  " + hours + tail + "  " + aircraft + "\n";
}

}  // namespace

TEST_F(Logbook, AnEmptyLogbookIsTheHeaderAndTheEnd)
{
    EXPECT_EQ(written(), HEADER + "99\n");
}

TEST_F(Logbook, ANewEntryIsDatedAndNamedAndWrittenFieldByField)
{
    LOGBOOK_new_entry();
    EXPECT_EQ(logbook_last, 0);
    EXPECT_EQ(logbook.date[0], 30612);
    EXPECT_STREQ(logbook.from[0], "KSBD");
    EXPECT_STREQ(logbook.to[0], "KSBD");
    EXPECT_STREQ(logbook.tail[0], "N12");
    EXPECT_STREQ(logbook.aircraft[0], "Orvell Trainer");

    std::strcpy(logbook.from[0], "KSB");
    logbook.landings[0] = 3;
    logbook.total_hours[0] = 1.26f;
    logbook.night_hours[0] = 0.4f;
    logbook.cross_country_hours[0] = 0.2f;
    EXPECT_EQ(written(), HEADER +
                             line(" 30612", "KSB ", "KSBD", " 3", " 1.3   0.4   0.0   0.2  ", "N12   ", "Orvell Trainer") +
                             "99\n");
}

// The entry is started every frame of a flight's first second: only that
// much flying is filled again; 36 seconds flown are a flight of their own.
TEST_F(Logbook, OnlyAFlightsFirstSecondIsFilledAgain)
{
    LOGBOOK_new_entry();
    logbook.total_hours[0] = 1.0f / 3600.0f;
    logbook.landings[0] = 2;
    logbook.night_hours[0] = logbook.instrument_hours[0] = logbook.cross_country_hours[0] = 0.0001f;
    LOGBOOK_new_entry();
    EXPECT_EQ(logbook_last, 0);
    EXPECT_EQ(logbook.total_hours[0], 0.0f);
    EXPECT_EQ(logbook.landings[0], 0);   // the reused entry starts afresh
    EXPECT_EQ(logbook.night_hours[0] + logbook.instrument_hours[0] + logbook.cross_country_hours[0], 0.0f);
    logbook.total_hours[0] = 0.01f;
    LOGBOOK_new_entry();
    EXPECT_EQ(logbook_last, 1);
    EXPECT_EQ(logbook.total_hours[0], 0.01f);

    LOGBOOK_clear();
    EXPECT_EQ(logbook_last, 0);
    EXPECT_EQ(logbook.total_hours[0], 0.0f);
    EXPECT_STREQ(logbook.tail[0], "N12");
    EXPECT_EQ(logbook.date[1], 0);
}

TEST_F(Logbook, EmptyAndShortFieldsReadBackAsTheyWere)
{
    LOGBOOK_new_entry();
    logbook.from[0][0] = '\0';
    std::strcpy(logbook.to[0], "L1");
    logbook.landings[0] = 12;
    logbook.total_hours[0] = 2.5f;
    logbook.instrument_hours[0] = 0.7f;
    pln[0].acf_tailnum[0] = '\0';
    std::strcpy(pln[0].acf_file_name, "X.acf");
    LOGBOOK_new_entry();   // a second entry with an empty tail
    const std::string bytes = written();
    EXPECT_EQ(bytes, HEADER + line(" 30612", "-   ", "L1  ", "12", " 2.5   0.0   0.7   0.0  ", "N12   ", "Orvell Trainer") +
                         line(" 30612", "KSBD", "KSBD", " 0", " 0.0   0.0   0.0   0.0  ", "-     ", "X") + "99\n");

    const logbook_arrays before = logbook;
    logbook = logbook_arrays{};
    read(bytes);
    ASSERT_EQ(logbook_last, 1);
    for (int e = 0; e < 2; ++e) {
        EXPECT_EQ(logbook.date[e], before.date[e]);
        EXPECT_STREQ(logbook.from[e], before.from[e]) << e;
        EXPECT_STREQ(logbook.to[e], before.to[e]) << e;
        EXPECT_EQ(logbook.landings[e], before.landings[e]);
        EXPECT_NEAR(logbook.total_hours[e], before.total_hours[e], 0.05f);
        EXPECT_NEAR(logbook.instrument_hours[e], before.instrument_hours[e], 0.05f);
        EXPECT_STREQ(logbook.tail[e], before.tail[e]) << e;
        EXPECT_STREQ(logbook.aircraft[e], before.aircraft[e]) << e;
    }
    EXPECT_EQ(written(), bytes);
}

TEST_F(Logbook, FilesWrittenWithoutPaddingStillRead)
{
    read(HEADER + "2  30612  KSBD  KONT   1   1.5   0.3   0.1   0.2  N12345  Orvell Trainer\n"
                  "2    101  KLAX  KLAX   0   0.1   0.1   0.0   0.0  N54321  A very long aircraft name past the width of the field\n"
                  "99\n");
    ASSERT_EQ(logbook_last, 1);
    EXPECT_STREQ(logbook.to[0], "KONT");
    // The hours in file order: total, night, instrument, cross-country.
    EXPECT_FLOAT_EQ(logbook.total_hours[0], 1.5f);
    EXPECT_FLOAT_EQ(logbook.night_hours[0], 0.3f);
    EXPECT_FLOAT_EQ(logbook.instrument_hours[0], 0.1f);
    EXPECT_FLOAT_EQ(logbook.cross_country_hours[0], 0.2f);
    EXPECT_STREQ(logbook.tail[0], "N12345");
    EXPECT_STREQ(logbook.aircraft[0], "Orvell Trainer");
    EXPECT_EQ(logbook.date[1], 101);
    EXPECT_EQ(std::strlen(logbook.aircraft[1]), 39u);   // cut to its field
}

TEST_F(Logbook, DamagedFilesReadIntoBoundedFieldsOrNotAtAll)
{
    // Lines that do not parse are left out, the others kept.
    read(HEADER + "2 abc\n"
                  "2  30612  K\n"
                  "2\n"
                  "2  30612  KSBD  KONT  x   1.5   0.0   0.1   0.0  N1  A\n"
                  "2  30612  KSBDXYZ  KONT   1   1.5   0.0   0.1   0.0  N1  A\n"
                  "junk\n"
                  "2  30612  KSBD  KONT   1   1.5   nan   0.1   0.0  N1  A\n"
                  "2  30612  KSBD  KONT   1   1.5   0.0   0.1   0.0  TAILTOOLONG\n"
                  "2  30612  KSBD  KONT   1   1.5   0.0   0.1   0.0\n"
                  "99\n"
                  "2  30612  KSBD  KONT   1   1.5   0.0   0.1   0.0  N1  after the end\n");
    ASSERT_EQ(logbook_last, 1);
    EXPECT_STREQ(logbook.tail[0], "TAILTO");
    EXPECT_STREQ(logbook.aircraft[0], "LONG");   // the tail field is six characters and one separator
    EXPECT_STREQ(logbook.tail[1], "");
    EXPECT_STREQ(logbook.aircraft[1], "");
    EXPECT_TRUE(recorded_alerts.empty());

    // A missing file, a bad header or another version: an empty logbook, nothing said.
    for (const std::string& bytes : {std::string(), std::string("I\n"), std::string("X\n1 version\n2 1 A B 1 1 1 1 1 T A\n"),
                                    std::string("I\nabc version\n99\n"), std::string("I\n2 version\n99\n")}) {
        logbook_last = 7;
        read(bytes);
        EXPECT_EQ(logbook_last, -1);
    }
    std::filesystem::remove(file());
    logbook_last = 7;
    LOGBOOK_read();
    EXPECT_EQ(logbook_last, -1);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(Logbook, FiveThousandEntriesReadAndOneMoreIsFatal)
{
    std::string bytes = HEADER;
    const std::string one = "2  30612  KSBD  KONT   1   1.5   0.0   0.1   0.0  N12345  Orvell Trainer\n";
    for (int e = 0; e < LOGBOOK_MAX_ENTRIES; ++e) bytes += one;
    read(bytes + "99\n");
    EXPECT_EQ(logbook_last, LOGBOOK_MAX_ENTRIES - 1);
    EXPECT_TRUE(recorded_alerts.empty());

    write_file_bytes(file(), bytes + one + "99\n");
    const alert_record a = expect_fatal([] { LOGBOOK_read(); });
    EXPECT_EQ(a.lines[0], "Too many logbook entries! (Orvell allows 5000.)");
    EXPECT_EQ(a.code, 17);
    EXPECT_EQ(logbook_last, LOGBOOK_MAX_ENTRIES - 1);

    // Starting a 5,001st flight is the same alert.
    const alert_record b = expect_fatal([] { LOGBOOK_new_entry(); });
    EXPECT_EQ(b.lines[1], "Throw away your logbook file in your logbook folder!");
}

TEST_F(Logbook, AFailedWriteKeepsThePreviousFile)
{
    LOGBOOK_new_entry();
    const std::string first = written();
    for (int e = 0; e < 200; ++e) {
        logbook.total_hours[logbook_last] = 1.0f;
        LOGBOOK_new_entry();
    }
    {
        const file_size_limit limit(first.size() + 10);
        LOGBOOK_write();
    }
    EXPECT_EQ(read_file_bytes(file()), first);
    // A notice names the file (while quitting it only goes to ERROR.OUT).
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[0], "The file could not be saved:");
    EXPECT_EQ(recorded_alerts[0].lines[1], file().string());
}

TEST_F(Logbook, ASaveAddsThisCopysFlightToTheFileAsItStands)
{
    const std::string hours = "   0.0   0.0   0.0  ";
    const std::string a = line(" 30612", "KSBD", "KONT", " 1", " 1.5" + hours, "N1    ", "A");
    const std::string left = line(" 30612", "KSBD", "KSBD", " 0", " 0.0" + hours, "N1    ", "S");
    read(HEADER + a + left + "99\n");
    LOGBOOK_new_entry();   // a short flight read back (0.0 hours) stays
    EXPECT_EQ(logbook_last, 2);
    logbook.total_hours[2] = 2.0f;
    // Another copy in the same folder saved its flight meanwhile.
    const std::string b = line(" 30612", "KONT", "KSBD", " 1", " 0.7" + hours, "N2    ", "B");
    write_file_bytes(file(), HEADER + a + left + b + "99\n");
    const auto mine = [&](const char* total) {
        return line(" 30612", "KSBD", "KSBD", " 0", total + hours, "N12   ", "Orvell Trainer");
    };
    EXPECT_EQ(written(), HEADER + a + left + b + mine(" 2.0") + "99\n");
    logbook.total_hours[2] = 2.5f;   // saved again: the entry is replaced, not added
    EXPECT_EQ(written(), HEADER + a + left + b + mine(" 2.5") + "99\n");

    // While another copy holds the logbook's lock (reading the file and
    // putting its own in place), a save waits for it, then adds to what that
    // copy wrote.
    std::future<std::string> saved;
    {
        const PLAT_file_lock other((file().parent_path() / ".ORVELL PILOT.txt.lock").c_str());
        saved = std::async(std::launch::async, [this] { return written(); });
        EXPECT_EQ(saved.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
        write_file_bytes(file(), HEADER + a + b + "99\n");
    }
    EXPECT_EQ(saved.get(), HEADER + a + b + mine(" 2.5") + "99\n");
}

// The entry names the aircraft as its file is named on the disk, whatever
// case the path it was loaded by was written in, and the places by the
// airport the plane is at.
TEST_F(Logbook, AnEntryNamesTheAircraftAsOnDiskAndThePlaceByTheNearestAirport)
{
    dir_.write("Aircraft/Orvell Trainer/Orvell Trainer.acf", "");
    UTIL_strcpy((dir_.prefix() + "AIRCRAFT:ORVELL TRAINER:ORVELL TRAINER.ACF").c_str(), pln[0].acf_file_path);
    std::strcpy(pln[0].acf_file_name, "ORVELL TRAINER.ACF");
    LOGBOOK_new_entry();
    EXPECT_STREQ(logbook.aircraft[0], "Orvell Trainer");

    airport_record ont{};
    std::strcpy(ont.id, "KONT");
    ont.starts.push_back(start_position_record{34.056f, -117.601f, 0.0f, {}});
    airport_table.push_back(ont);
    struct place {
        float lat, lon;
        int airport;
    };
    for (const place& p : {place{34.0954f, -117.2349f, 0}, place{34.06f, -117.59f, 1},
                           place{34.0954f, -117.2349f + 5.5f * 1852.0f / 92000.0f, -1}, place{35.7f, 139.7f, -1}}) {
        EXPECT_EQ(LOGBOOK_airport_at(p.lat, p.lon), p.airport) << p.lat << " " << p.lon;
        flt[0].latitude = p.lat;
        flt[0].longitude = p.lon;
        LOGBOOK_new_entry();   // the same flight's first second: refilled
        EXPECT_STREQ(logbook.from[0], p.airport < 0 ? "" : airport_table[static_cast<size_t>(p.airport)].id);
        EXPECT_STREQ(logbook.to[0], logbook.from[0]);
    }
}

// The lock beside the logbook is named after the file as it is written (its
// extension in lower case), before the first save as after it.
TEST_F(Logbook, TheLockIsNamedAfterTheFileItGuards)
{
    LOGBOOK_new_entry();
    written();
    written();
    std::vector<std::string> hidden;
    for (const auto& e : std::filesystem::directory_iterator(file().parent_path()))
        if (e.path().filename().string()[0] == '.') hidden.push_back(e.path().filename().string());
    EXPECT_EQ(hidden, std::vector<std::string>{"." + file().filename().string() + ".lock"});
}
