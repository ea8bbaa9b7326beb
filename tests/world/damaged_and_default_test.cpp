// The default world's navigation data. (Damaged files are in fuzz_files_test.cpp.)
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "flightmodel/flt.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/screen_settings.h"
#include "tests/world/world_test_util.h"
#include "world/navdb.h"
#include "world/nav_lookup.h"

TEST(DefaultData, LoadsWithoutAlertsOnBothPlanets)
{
    temp_folder folder;
    world_reset_tables();
    std::filesystem::create_directories(folder.path() / "Resources");
    std::filesystem::copy(std::filesystem::path(fixture_path("")) / ".." / ".." / "data" / "nav",
                          folder.path() / "Resources", std::filesystem::copy_options::recursive);
    world_use_program_folder(folder);
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

    int ksbd = -1, pdz = -1;
    ASSERT_EQ(NAV_find_nearest_by_id("KSBD", 1, ksbd, 34.0f, -117.0f), 1);
    EXPECT_EQ(airport_id_index.at(NAV_id_key("KSBD")), ksbd);
    EXPECT_NEAR(airport_table[ksbd].runways[0].lat, 34.095f, 0.01f);
    EXPECT_NEAR(airport_table[ksbd].elevation, 1159 * 0.3048f, 1.0f);
    EXPECT_EQ(NAV_find_nearest_by_id("PDZ", NAV_VOR, pdz, 34.0f, -117.0f), 1);

    std::memcpy(start_selection.airport_id, "KSBD", 4);
    APT_find_start_airport();
    EXPECT_EQ(start_selection.airport_index, ksbd);
    EXPECT_NEAR(flt[0].latitude, 34.095f, 0.01f);

    sim_graphics_scenery.current_planet = 1;
    NAV_load_databases();
    EXPECT_TRUE(recorded_alerts.empty());
    int mar1 = -1;
    EXPECT_EQ(NAV_find_nearest_by_id("MAR1", 1, mar1, 0.0f, 0.0f), 1);
    EXPECT_EQ(NAV_find_nearest_by_id("KSBD", 1, ksbd, 34.0f, -117.0f), 0);
    screen_settings.scenery_load_switch = 0;
    sim_graphics_scenery.current_planet = 0;
}
