#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "flightmodel/flt.h"
#include "shell/folders.h"
#include "shell/geo.h"
#include "shell/random.h"
#include "shell/simvars.h"
#include "tests/world/world_test_util.h"
#include "world/metar.h"
#include "world/navdb.h"

namespace {

// The default navigation data of the source tree.
std::filesystem::path default_nav_data() { return std::filesystem::path(fixture_path("")) / ".." / ".." / "data" / "nav"; }

// Lays the default data out as the program folder's "Resources" folder.
void lay_out_default_data(const temp_folder& folder)
{
    std::filesystem::create_directories(folder.path() / "Resources");
    std::filesystem::copy(default_nav_data(), folder.path() / "Resources", std::filesystem::copy_options::recursive);
    world_use_program_folder(folder);
}

// Damaged copies of a file: cut short at many places, and with bytes overwritten.
template <class Read>
void for_each_damaged_copy(const std::string& good, Read read)
{
    for (size_t cut = 0; cut < good.size(); cut += 1 + cut / 16) read(good.substr(0, cut));
    UTIL_srand(7);
    for (int round = 0; round < 150; ++round) {
        std::string bad = good;
        const int changes = 1 + UTIL_rand() % 6;
        for (int k = 0; k < changes; ++k) {
            const size_t at = static_cast<size_t>(UTIL_rand()) * bad.size() / 32768;
            static const char junk[] = {'\0', '\r', '\n', ' ', '9', '-', 'x', '\xff', '1', '.'};
            bad[at] = junk[UTIL_rand() % sizeof junk];
        }
        read(bad);
    }
}

std::string read_default(const char* name)
{
    return read_file_bytes(default_nav_data() / "Earth nav data" / name);
}

}  // namespace

TEST(DefaultData, LoadsWithoutAlertsOnBothPlanets)
{
    temp_folder folder;
    world_reset_tables();
    lay_out_default_data(folder);
    screen_settings.scenery_load_switch = 1;
    NAV_load_databases();
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_GE(airport_table.size(), 30u);
    EXPECT_GT(navaid_table.size(), 20u);
    EXPECT_GT(fix_table.size(), 10u);
    EXPECT_GT(airway_table.size(), 5u);
    for (const airport_record& a : airport_table) {
        EXPECT_FALSE(a.runways.empty()) << a.id;
        EXPECT_FALSE(a.starts.empty()) << a.id;
    }

    int ksbd = -1;
    ASSERT_EQ(NAV_find_nearest_by_id("KSBD", 1, ksbd, 34.0f, -117.0f), 1);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KSBD")), ksbd);
    EXPECT_NEAR(airport_table[ksbd].runways[0].lat, 34.095f, 0.01f);
    EXPECT_NEAR(airport_table[ksbd].elevation, 1159 * 0.3048f, 1.0f);
    int kedw = -1;
    ASSERT_EQ(NAV_find_nearest_by_id("KEDW", 1, kedw, 34.0f, -117.0f), 1);
    EXPECT_GE(airport_table[kedw].runways.size(), 7u);
    int pdz = -1;
    EXPECT_EQ(NAV_find_nearest_by_id("PDZ", NAV_VOR, pdz, 34.0f, -117.0f), 1);

    std::memcpy(start_selection.airport_id, "KSBD", 4);
    APT_find_start_airport();
    EXPECT_EQ(start_selection.airport_index, ksbd);
    EXPECT_FLOAT_EQ(lat_ref, 33.0f);
    EXPECT_FLOAT_EQ(lon_ref, -119.0f);
    EXPECT_NEAR(flt[0].latitude, 34.095f, 0.01f);

    sim_graphics_scenery.current_planet = 1;
    NAV_load_databases();
    EXPECT_TRUE(recorded_alerts.empty());
    int mar1 = -1;
    ASSERT_EQ(NAV_find_nearest_by_id("MAR1", 1, mar1, 0.0f, 0.0f), 1);
    EXPECT_EQ(NAV_find_nearest_by_id("KSBD", 1, ksbd, 34.0f, -117.0f), 0);
    screen_settings.scenery_load_switch = 0;
    sim_graphics_scenery.current_planet = 0;
}

// Damaged files are read or refused without a read or write out of bounds
// (the sanitizers watch); a fatal alert is the only other way out.
TEST(DamagedFiles, AirportFiles)
{
    temp_folder folder;
    const std::string good = read_default("apt.dat");
    for_each_damaged_copy(good, [&](const std::string& bytes) {
        world_reset_tables();
        path_buffer path(folder.write("apt.dat", bytes).string());
        try {
            APT_parse(7, path, 1);
            // A file read to its end leaves only airports that can be placed.
            for (const airport_record& a : airport_table) ASSERT_FALSE(a.runways.empty());
        } catch (const fatal_alert&) {
        }
        int index;
        NAV_find_nearest_by_id("KSBD", 1, index, 34.0f, -117.0f);
    });
}

TEST(DamagedFiles, NavaidFixAndAirwayFiles)
{
    temp_folder folder;
    const char* names[] = {"nav.dat", "fix.dat", "awy.dat"};
    for (const char* name : names) {
        for_each_damaged_copy(read_default(name), [&](const std::string& bytes) {
            world_reset_tables();
            path_buffer path(folder.write(name, bytes).string());
            try {
                if (name[0] == 'n') NAV_parse_navaids(7, path);
                if (name[0] == 'f') NAV_parse_fixes(7, path);
                if (name[0] == 'a') NAV_parse_airways(7, path);
            } catch (const fatal_alert&) {
            }
        });
    }
}

TEST(DamagedFiles, WeatherReports)
{
    temp_folder folder;
    world_reset_tables();
    world_use_program_folder(folder);
    airport_record a{};
    std::strcpy(a.id, "KSBD");
    a.runways.push_back(runway_record{});
    a.runways[0].lat = 34.0f;
    a.runways[0].lon = -117.0f;
    airport_table.push_back(a);
    airport_id_index.emplace(NAV_id_key("KSBD"), 0);
    const std::string good =
        "METAR KSBD 061853Z VRB05G15KT 1 1/2SM -TSRA FEW250 BKN035 WS020/27045KT A2992 Q1013 M05/M10 RMK x\n"
        "KSBD 061853Z 27015KT 9999 SM KT 15/08 9/ M/M 1/0SM\n";
    for_each_damaged_copy(good, [&](const std::string& bytes) {
        folder.write("metar.rwx", bytes);
        float f[8];
        int t[2], i2[2];
        float b[2], tp[2];
        METAR_read(34.0f, -117.0f, &f[0], t, b, tp, &f[1], &i2[0], &i2[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7]);
    });
}
