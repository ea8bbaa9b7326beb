// The flight-plan files: saved and loaded through the file browser, checked
// byte by byte against files written here by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/datafile.h"
#include "core/hooks.h"
#include "flightmodel/systems/flight_plan.h"
#include "tests/support/test_support.h"
#include "world/navdb.h"

namespace {

const std::string EMPTY_LINE = "     0  ----  0      0.000000      0.000000\n";

// The browser the tests answer with: the chosen path, or a cancel.
std::string browser_path;
int browser_mode = 0;
int chosen_browser(int mode, int kind, char* name, char* path)
{
    browser_mode = mode;
    if (browser_path.empty() || kind != KIND_FMS) return 0;
    std::strncpy(path, browser_path.c_str(), TEXT_SIZE - 1);
    std::strncpy(name, "PLAN.FMS", TEXT_SIZE - 1);
    return 1;
}

class FlightPlan : public ::testing::Test {
protected:
    void SetUp() override
    {
        fms_plan = fms_plan_record{};
        browser_path = (dir_.path() / "PLAN.fms").string();
        airport_table.clear();
        navaid_table.clear();
        fix_table.clear();
        clear_alerts();
    }
    hook_override<int (*)(int, int, char*, char*)> browser_{core_hooks.UI_open_file_browser, chosen_browser};

    static std::string empty_plan(int destination, int displayed)
    {
        std::string s = "I\n3 version\n";
        char head[32];
        std::snprintf(head, sizeof head, "%6d\n%6d\n", destination, displayed);
        s += head;
        for (int i = 0; i < FMS_ENTRIES; ++i) s += EMPTY_LINE;
        return s;
    }
    std::string saved()
    {
        FMS_file_open_save(FMS_SAVE);
        return read_file_bytes(browser_path);
    }
    void load(const std::string& bytes)
    {
        write_file_bytes(browser_path, bytes);
        FMS_file_open_save(FMS_OPEN);
    }
    void expect_refused()
    {
        ASSERT_EQ(recorded_alerts.size(), 1u);
        EXPECT_EQ(recorded_alerts[0].lines[0], "I could not deal with this flight plan file!");
        EXPECT_EQ(recorded_alerts[0].lines[1], browser_path);
        EXPECT_EQ(recorded_alerts[0].lines[2], "");
        EXPECT_EQ(recorded_alerts[0].lines[3], "");
        EXPECT_EQ(recorded_alerts[0].code, 16);
        clear_alerts();
    }

    temp_folder dir_;
};

}  // namespace

TEST_F(FlightPlan, AnEmptyPlanSavesAHundredEmptyEntries)
{
    EXPECT_EQ(saved(), empty_plan(0, 0));
    EXPECT_EQ(browser_mode, FMS_SAVE);
    // The table itself took the saved form.
    EXPECT_STREQ(fms_plan.entries[42].id, "----");
    EXPECT_STREQ(fms_plan.entries[42].altitude, "0");
}

TEST_F(FlightPlan, BlanksInAnIdAreSavedAndLoadedAsUnderscores)
{
    fms_entry& e = fms_plan.entries[1];
    e.type = 28;
    std::strcpy(e.id, "+34.100 -117.200");
    std::strcpy(e.altitude, "6500");
    e.latitude = 34.1f;
    e.longitude = -117.2f;
    fms_plan.destination_index = 1;
    fms_plan.displayed_index = 1;
    std::string expected = empty_plan(1, 1);
    expected.replace(expected.find(EMPTY_LINE) + EMPTY_LINE.size(), EMPTY_LINE.size(),
                     "    28  +34.100_-117.200  6500     34.099998   -117.199997\n");
    EXPECT_EQ(saved(), expected);
    EXPECT_STREQ(fms_plan.entries[1].id, "+34.100_-117.200");

    fms_plan = fms_plan_record{};
    load(expected);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(fms_plan.entries[1].type, 28);
    EXPECT_STREQ(fms_plan.entries[1].id, "+34.100_-117.200");
    EXPECT_STREQ(fms_plan.entries[1].altitude, "6500");
    EXPECT_FLOAT_EQ(fms_plan.entries[1].latitude, 34.1f);
    EXPECT_STREQ(fms_plan.entries[0].id, "----");
    EXPECT_EQ(fms_plan.entries[0].reference, -1);   // nothing of that ID in the tables
}

TEST_F(FlightPlan, AfterALoadBothIndicesAreZeroAndReferencesAreLookedUp)
{
    airport_record a{};
    std::strcpy(a.id, "KSBD");
    runway_record r{};
    r.lat = 34.1f;
    r.lon = -117.2f;
    a.runways.push_back(r);
    airport_table.push_back(a);
    airport_table.push_back(a);
    airport_table[1].runways[0].lat = 10.0f;
    std::string file = empty_plan(5, 7);
    file.replace(file.find(EMPTY_LINE), EMPTY_LINE.size(), "1  KSBD  0  34.1  -117.2\n");
    load(file);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(fms_plan.destination_index, 0);
    EXPECT_EQ(fms_plan.displayed_index, 0);
    EXPECT_EQ(fms_plan.entries[0].reference, 0);   // the nearer of the two
}

TEST_F(FlightPlan, AnUnwritablePlaceKeepsTheTableAndSaysSo)
{
    fms_plan.entries[0].type = 1;   // not yet in the saved form
    browser_path = (dir_.path() / "no such folder" / "PLAN.fms").string();
    FMS_file_open_save(FMS_SAVE);
    expect_refused();
    EXPECT_STREQ(fms_plan.entries[0].id, "");
    EXPECT_STREQ(fms_plan.entries[0].altitude, "");

    // A write cut short keeps the file that was there.
    browser_path = (dir_.path() / "PLAN.fms").string();
    const std::string first = saved();
    fms_plan.entries[0].type = 2;
    fms_plan.entries[0].id[0] = '\0';
    {
        const file_size_limit limit(first.size() / 2);
        FMS_file_open_save(FMS_SAVE);
    }
    expect_refused();
    EXPECT_EQ(read_file_bytes(browser_path), first);
    EXPECT_EQ(fms_plan.entries[0].type, 2);
    EXPECT_STREQ(fms_plan.entries[0].id, "----");   // the table took the saved form all the same
}

TEST_F(FlightPlan, DamagedFilesAreRefusedWithTheTableUnchanged)
{
    std::strcpy(fms_plan.entries[9].id, "KEEP");
    const std::string good = empty_plan(0, 0);
    std::string long_id = good;
    long_id.replace(long_id.find(EMPTY_LINE), EMPTY_LINE.size(), "1  " + std::string(400, 'A') + "  1234567890  1  2\n");
    for (const std::string& bytes :
         {std::string(), std::string("I\n"), std::string("I\n2 version\n0\n0\n"), good.substr(0, good.size() / 2),
          std::string("I\n3 version\nx\n0\n") + good.substr(26),
          [&] {   // a whole plan of another version
              std::string s = good;
              s.replace(s.find("3 version"), 9, "2 version");
              return s;
          }(),
          [&] {
              std::string s = good;
              s.replace(s.find("0.000000"), 8, "north");
              return s;
          }()}) {
        load(bytes);
        expect_refused();
        EXPECT_STREQ(fms_plan.entries[9].id, "KEEP");
    }
    // Overlong fields are cut to their widths.
    load(long_id);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(std::strlen(fms_plan.entries[0].id), 150u);
    EXPECT_STREQ(fms_plan.entries[0].altitude, "123456");
}

TEST_F(FlightPlan, ACancelledBrowserChangesNothing)
{
    browser_path.clear();
    std::strcpy(fms_plan.entries[3].id, "A B");
    FMS_file_open_save(FMS_SAVE);
    FMS_file_open_save(FMS_OPEN);
    EXPECT_STREQ(fms_plan.entries[3].id, "A B");
    EXPECT_TRUE(recorded_alerts.empty());
}
