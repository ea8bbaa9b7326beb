// The airport scene of the program started on the default data folder at
// KSBD: the area's airports and their menus, the default buildings, navaid
// huts and the KSBD package's objects; the traffic's airport and runway in
// use for the wind; then a new start airport chosen as the airport screen
// chooses it rebuilds the scene around it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "core/app_mode.h"
#include "core/geo.h"
#include "core/menu_table.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "shell/commands.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "world/airport_state.h"
#include "world/apt_scene.h"
#include "world/atc.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_geometry.h"

namespace {

class StartedScene : public started_program_noting_failure {
protected:
    static int airport(const char* id)
    {
        for (size_t i = 0; i < airport_table.size(); ++i)
            if (std::strncmp(airport_table[i].id, id, 4) == 0) return static_cast<int>(i);
        return -1;
    }
    static int list_position(const char* id)
    {
        for (int n = 0; n <= local_airport_last; ++n)
            if (local_airport_list[n] == airport(id)) return n;
        return -1;
    }
    static std::set<std::string> listed_ids()
    {
        std::set<std::string> ids;
        for (int n = 0; n <= local_airport_last; ++n) ids.insert(airport_table[size_t(local_airport_list[n])].id);
        return ids;
    }
    // The placements of records whose name begins or ends with `name`, within `metres` of the airport's first runway.
    static int placed_near(const char* name, const char* id, float metres)
    {
        const runway_record& r = airport_table[size_t(airport(id))].runways[0];
        float x, y, z;
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, 0.0);
        int n = 0;
        for (const object_placement& p : placement_list) {
            const std::string record = object_table[size_t(p.object)].name;
            if ((record.rfind(name, 0) == 0 || record.ends_with(name)) && std::hypot(p.x - x, p.z - z) < metres) ++n;
        }
        return n;
    }
    // The traffic flies to `id` on the runway and end the controllers name for
    // it, `row` and `end`, and the scene marks that runway in use.
    static void expect_traffic_at(const char* id, int row, int end)
    {
        const traffic_runway_record& t = traffic_runway_state;
        ASSERT_EQ(t.traffic_airport, airport(id)) << id;
        int runway = -1, atc_end = 0, found = 0, localizer = 0;
        ATC_active_runway(t.traffic_airport, runway, atc_end, found, localizer, 1);
        EXPECT_EQ(t.traffic_runway, runway) << id;
        EXPECT_EQ(t.traffic_runway_end, atc_end) << id;
        EXPECT_EQ(t.traffic_runway, row) << id;
        EXPECT_EQ(t.traffic_runway_end, end) << id;
        EXPECT_EQ(t.active_runway, t.traffic_runway) << id;
    }
    // The flight started again on KSBD's first runway, the scene rebuilt
    // around it as at start-up: another test of the suite can have chosen
    // another airport.
    static void start_again_at_ksbd()
    {
        start_selection.airport_index = airport("KSBD");
        start_selection.start_index = 0;
        APPLICATION_set_mode(MODE_FLYING, "select airport");
    }
    static void set_wind(float from_deg, float kt)
    {
        sim_weather.wind_direction_degt[0] = from_deg;
        sim_weather.wind_speed_kt[0] = kt;
    }
};

}  // namespace

TEST_F(StartedScene, KsbdAreaListsMenusBuildingsAndThePackagesObjects)
{
    for (const alert_record& a : alerts) ADD_FAILURE() << "alert: " << a.lines[0] << " / " << a.lines[1];
    start_again_at_ksbd();

    // The 39 default airports of the area, all but the three south of 33 N.
    const std::set<std::string> ids = listed_ids();
    EXPECT_EQ(ids.size(), 39u);
    for (const char* south : {"KSAN", "KMYF", "KSEE"}) EXPECT_EQ(ids.count(south), 0u) << south;

    // KSBD's ramp starts, and its runway (both ends) without its taxiway rows.
    const int n = list_position("KSBD");
    ASSERT_GE(n, 0);
    EXPECT_STREQ(menu_table[MENU_RAMP_STARTS].items[n].text, "San Bernardino Intl");
    EXPECT_EQ(menu_table[MENU_RAMP_STARTS].items[n].command, 1600 + n);
    EXPECT_STREQ(menu_table[20 + n].items[0].text, "Ramp, main terminal");
    EXPECT_EQ(menu_table[20 + n].items[0].command, (20 + n) * 200);
    for (int base : {220, 420, 620}) {
        EXPECT_STREQ(menu_table[base + n].items[0].text, "RWY 0 6 ");
        EXPECT_STREQ(menu_table[base + n].items[1].text, "RWY 2 4 ");
        EXPECT_EQ(menu_table[base + n].items[1].command, (base + n) * 200 + 1);
        for (int item = 2; item < MENU_ITEMS; ++item) EXPECT_EQ(menu_table[base + n].items[item].text[0], 0);
    }
    // Every runway row of KSBD has its strip, taxiways included, and the runway its lights.
    for (const runway_record& r : airport_table[size_t(airport("KSBD"))].runways) {
        ASSERT_LT(size_t(r.geometry_index), runway_geometry_table.size());
        EXPECT_GE(runway_geometry_table[size_t(r.geometry_index)].sections.size(), 2u);
        EXPECT_EQ(runway_geometry_table[size_t(r.geometry_index)].lights.empty(), r.number[0] == 'x');
    }

    // Hangars at KLAX (buildings flag), a tower at KSBD, huts for the area's navaids.
    EXPECT_EQ(placed_near("hangar", "KLAX", 5000.0f), 4);
    EXPECT_EQ(placed_near("hangar", "KSBD", 5000.0f), 0);
    EXPECT_EQ(placed_near("control tower", "KSBD", 1500.0f), 1);
    int huts = 0;
    for (const object_placement& p : placement_list) huts += std::strncmp(object_table[size_t(p.object)].name, "NAVAID: ", 8) == 0;
    int hut_navaids = 0;
    for (size_t i = 4; i < navaid_table.size(); ++i) {
        const navaid_record& v = navaid_table[i];
        const bool inside = v.lat > lat_ref && v.lat < lat_ref + 2 && v.lon > lon_ref && v.lon < lon_ref + 3;
        const bool hut_kind = (v.kind >= NAV_NDB && v.kind <= NAV_INNER_MARKER) || v.kind == NAV_DME;
        hut_navaids += v.local && inside && hut_kind;
    }
    EXPECT_GT(hut_navaids, 0);
    EXPECT_EQ(huts, hut_navaids);

    // The package's objects from their files, with their own textures.
    for (const char* name : {"ksbd_terminal.obj", "ksbd_hangar.obj", "ksbd_tower.obj"})
        EXPECT_EQ(placed_near(name, "KSBD", 2000.0f), 1) << name;
    EXPECT_EQ(placed_near("ksbd_office.obj", "KSBD", 2000.0f), 2);
    for (const scenery_object_record& r : object_table)
        if (std::string(r.name).find("ksbd_") != std::string::npos) {
            EXPECT_GE(r.day_tex, OBJ_TEXTURE_FIRST_SLOT) << r.name;
            EXPECT_GE(r.lit_tex, OBJ_TEXTURE_FIRST_SLOT) << r.name;
        }
    // Placements sharing a texture follow each other.
    for (size_t k = 1; k < placement_list.size(); ++k)
        EXPECT_LE(object_table[size_t(placement_list[k - 1].object)].day_tex,
                  object_table[size_t(placement_list[k].object)].day_tex);
}

TEST_F(StartedScene, TrafficFliesToTheNearestAirportOnTheRunwayInUseForTheWind)
{
    const auto weather = sim_weather;
    sim_weather.use_real_weather_bool = 0;
    start_again_at_ksbd();
    // Started at KSBD: its runway 06, the one its localizer serves, whatever the wind.
    expect_traffic_at("KSBD", 0, 1);
    set_wind(252.0f, 20.0f);
    APT_build_scene(1);
    expect_traffic_at("KSBD", 0, 1);

    // A runway start at Riverside, in the same area (no rebuild): the traffic
    // follows to it. Without a localizer there the wind chooses: 27 in a west
    // wind, then the short 16 in a south wind straight down it.
    set_wind(280.0f, 15.0f);
    ASSERT_GE(list_position("KRAL"), 0);
    APPLICATION_handlemenu((220 + list_position("KRAL")) * 200);
    EXPECT_LT(std::fabs(flt[0].latitude - 33.95f), 0.02f);
    expect_traffic_at("KRAL", 0, -1);
    set_wind(172.0f, 15.0f);
    APT_build_scene(1);
    expect_traffic_at("KRAL", 1, 1);

    sim_weather = weather;
    hold_user_plane(ksbd_start_pose);
    APT_build_scene(1);
    expect_traffic_at("KSBD", 0, 1);
}

TEST_F(StartedScene, ChoosingPalmSpringsRebuildsTheSceneAroundIt)
{
    const int kpsp = airport("KPSP");
    ASSERT_GE(kpsp, 0);
    ASSERT_GE(list_position("KLAX"), 0);
    clear_alerts();
    start_selection.airport_index = kpsp;
    start_selection.start_index = 0;
    APPLICATION_set_mode(MODE_FLYING, "select airport");
    for (const alert_record& a : recorded_alerts) ADD_FAILURE() << "alert: " << a.lines[0] << " / " << a.lines[1];

    EXPECT_EQ(lat_ref, 33.0f);
    EXPECT_EQ(lon_ref, -118.0f);
    EXPECT_GE(list_position("KPSP"), 0);
    EXPECT_EQ(list_position("KLAX"), -1);
    EXPECT_EQ(placed_near("hangar", "KLAX", 5000.0f), 0);
    // The flight started there: the traffic flies to it too.
    EXPECT_EQ(traffic_runway_state.traffic_airport, kpsp);
}
