// The scene build on a hand-made apt.dat and navaid table: the first 200
// airports of the area listed with their menus and runway geometry, starts
// and runway rows beyond the menus' 200 items, hangars beside a runway,
// towers and navaid huts, repeated rebuilds, and the origin moved a degree
// west and back east with everything the shift carries; the traffic's
// airport, or none.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/menu_table.h"
#include "core/hooks.h"
#include "core/random.h"
#include "core/replay.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "links/plugin_host.h"
#include "scene/sky/cloud_field.h"
#include "world/fires.h"
#include "scene/effects/particles.h"
#include "scene/scene_origin_shift.h"
#include "world/ships.h"
#include "scene/effects/trails.h"
#include "core/constants.h"
#include "shell/menus.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/gl_view.h"
#include "core/simvars/physics.h"
#include "tests/world/tile_test_util.h"
#include "tests/world/world_test_util.h"
#include "world/airport_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/origin_shift.h"
#include "world/runway_geometry.h"

namespace {

constexpr int AREA_AIRPORTS = 210;

class AptScene : public area_test {
protected:
    float hangar_runway_lat = 0, hangar_runway_lon = 0;

    void SetUp() override
    {
        area_test::SetUp();
        if (IsSkipped()) return;
        OBJ_clear_table();
        MENUS_reset();
        traffic_runway_state.airport_activity = 0.0f;
        // Where the second runway of airport 1 must lie to take its third hangar:
        // 28.3 m east and 128 m south of the first runway's point (heading 90,
        // 1,000 x 100 ft: hangars 128 m to the right, from 61.7 m behind in 45 m steps).
        float x, y, z, e;
        GEO_latlon_to_local(x, y, z, 33.6, -118.0, 0.0);
        GEO_local_to_latlon(hangar_runway_lat, hangar_runway_lon, e, x + 28.32f, y, z + 128.0f);
        write_and_read_apt();
        add_navaids();
    }
    void write_and_read_apt()
    {
        std::ostringstream o;
        o.precision(9);
        o << "I\n703 Version - hand made\n\n";
        for (int k = 0; k < AREA_AIRPORTS + 2; ++k) {
            const bool outside = k >= AREA_AIRPORTS;   // the last two lie south of the area
            const double lat = outside ? 32.5 : 33.1 + 0.009 * k, lon = -118.9 + 0.013 * k;
            o << "1 100 " << (k == 2 ? 1 : 0) << ' ' << (k == 1 ? 1 : 0) << " A" << 100 + k << " Airport number "
              << k << (k == 3 ? " with a name much longer than any menu" : "") << "\n";
            o << "10 " << lat << ' ' << lon << " 09x 90.00 1000 0.0000 0.0000 100 111111 1 0 0 0.25 0\n";
            o << "10 " << lat + 0.002 << ' ' << lon << " xxx 90.00 500 0.0000 0.0000 50 000000 1 0 0 0.25 0\n";
            const int starts = k == 0 ? 250 : 2;
            for (int s = 0; s < starts; ++s) o << "15 " << lat << ' ' << lon << " 90.00 Stand " << s << "\n";
            if (k == 0)   // 118 more rows, 120 in all: runway 99 the last in the menus, runway 100 beyond them
                for (int r = 2; r < 120; ++r)
                    o << "10 " << lat - 0.001 << ' ' << lon << (r == 99 ? " 36x" : r == 100 ? " 27L" : " xxx")
                      << " 180.00 800 0.0000 0.0000 60 111111 1 0 0 0.25 0\n";
            if (k == 1)
                o << "10 " << hangar_runway_lat << ' ' << hangar_runway_lon
                  << " 18x 180.00 600 0.0000 0.0000 50 111111 1 0 0 0.25 0\n";
            if (k == 2) o << "14 " << lat + 0.005 << ' ' << lon << " 50 0 Tower\n";
        }
        o << "99\n";
        tmp.write("apt.dat", o.str());
        path_buffer path(tmp.prefix() + "apt.dat");
        ASSERT_EQ(APT_parse(7, path, 0), 1);
        ASSERT_EQ(airport_table.size(), size_t(AREA_AIRPORTS + 2));
        // Airport 1 sits at the hangar test's point.
        airport_table[1].runways[0].lat = 33.6f;
        airport_table[1].runways[0].lon = -118.0f;
    }

    static void add_navaids()
    {
        auto nav = [](int kind, float lat, float lon, uint8_t local, float heading = 0.0f) {
            navaid_record n{};
            n.kind = kind, n.lat = lat, n.lon = lon, n.local = local, n.heading = heading;
            std::snprintf(n.name, sizeof n.name, "Navaid %zu", navaid_table.size());
            navaid_table.push_back(n);
        };
        for (int k = 0; k < 4; ++k) nav(NAV_NDB, 33.5f, -118.5f + 0.1f * k, 1);   // 0..3: no huts
        nav(NAV_VOR, 40.0f, -100.0f, 0);
        nav(NAV_GLIDESLOPE, 40.0f, -100.0f, 1);          // 5: a ship's aid, in the area wherever it last was
        nav(NAV_DME, 33.7f, -118.2f, 0);                 // 6: an NDB hut
        nav(NAV_VOR, 34.2f, -117.2f, 0);                 // 7
        nav(NAV_NDB, 34.3f, -117.3f, 0);                 // 8
        nav(NAV_ILS_LOC, 34.4f, -117.4f, 0, 123.0f);     // 9
        nav(NAV_VOR, 36.5f, -117.0f, 0);                 // 10: outside
        nav(1, 34.5f, -117.5f, 0);                       // 11: no hut for this kind
        nav(NAV_LOC, 34.1f, -117.6f, 0, 45.0f);          // 12: a localizer hut on its course
        nav(NAV_GLIDESLOPE, 34.1f, -117.7f, 0, 45.0f);   // 13: a glide-slope hut, unturned
        nav(NAV_OUTER_MARKER, 34.1f, -117.8f, 0);        // 14, 15: marker huts
        nav(NAV_INNER_MARKER, 34.1f, -117.9f, 0);
        nav(NAV_GLIDESLOPE, 33.0f, -117.7f, 0);          // 16: on the area's edge, in the area but no hut
    }

    static int placements_named(const char* prefix)
    {
        int n = 0;
        for (const object_placement& p : placement_list) n += std::strncmp(object_table[size_t(p.object)].name, prefix, std::strlen(prefix)) == 0;
        return n;
    }
};

}  // namespace

TEST_F(AptScene, TheFirst200AirportsOfTheAreaWithTheirMenusGeometryAndBuildings)
{
    APT_build_scene(1);
    for (const alert_record& a : recorded_alerts) ADD_FAILURE() << a.lines[0] << " / " << a.lines[1];

    ASSERT_EQ(local_airport_last, 199);
    float activity = 0.0f;
    for (int n = 0; n < 200; ++n) {
        ASSERT_EQ(local_airport_list[n], n);
        EXPECT_EQ(near_airport_light_state[n], 10);
        EXPECT_EQ(menu_table[7].items[n].command, 1400 + n);
        EXPECT_EQ(menu_table[11].items[n].command, 2200 + n);
        EXPECT_EQ(menu_table[20 + n].parent, 8);
        EXPECT_EQ(menu_table[20 + n].items[1].command, (20 + n) * 200 + 1);
        EXPECT_STREQ(menu_table[20 + n].items[1].text, "Stand 1");
        // The runway row has both ends, the taxiway row no item but its geometry.
        EXPECT_STREQ(menu_table[420 + n].items[1].text, "RWY 2 7 ");
        EXPECT_EQ(menu_table[420 + n].items[2].text[0], 0);
        const airport_record& a = airport_table[size_t(n)];
        EXPECT_GE(runway_geometry_table[size_t(a.runways[1].geometry_index)].sections.size(), 2u);
        for (const runway_record& r : a.runways) activity += r.number[0] == 'x' ? 0.0f : r.length;
    }
    EXPECT_NEAR(traffic_runway_state.airport_activity, (200.0f + activity) / 200000.0f, 1e-5f);
    // A rebuild starts its sums from what the last one left (here 1).
    traffic_runway_state.airport_activity = 1.0f;
    APT_build_scene(1);
    EXPECT_NEAR(traffic_runway_state.airport_activity, (1.0f + 200.0f + activity) / 200000.0f, 1e-6f);
    EXPECT_EQ(airport_table[200].local, 1);
    EXPECT_EQ(menu_table[7].items[199].command, 1599);
    EXPECT_STREQ(menu_table[7].items[3].text, "Airport number 3 with a n");   // 25 characters
    EXPECT_EQ(airport_table[AREA_AIRPORTS].local, 0);

    // Beyond the 200 items: airport 0's starts stop at 199, its runway rows at the 100th.
    EXPECT_STREQ(menu_table[20].items[199].text, "Stand 199");
    EXPECT_STREQ(menu_table[220].items[198].text, "RWY 3 6 ");
    EXPECT_STREQ(menu_table[220].items[199].text, "RWY 1 8 ");
    EXPECT_EQ(airport_table[0].runways.size(), 120u);

    // Three of airport 1's four hangars: the third stands on its second runway.
    EXPECT_EQ(placements_named("hangar"), 3);
    EXPECT_EQ(placements_named("control tower"), 1);
    // Navaid huts: none for records 0..3 nor for other kinds, an NDB hut for the DME.
    EXPECT_EQ(placements_named("NAVAID: NDB"), 2);
    EXPECT_EQ(placements_named("NAVAID: VOR"), 1);
    EXPECT_EQ(placements_named("NAVAID: ILS"), 1);
    EXPECT_EQ(placements_named("NAVAID: LOC"), 1);
    EXPECT_EQ(placements_named("NAVAID: SLO"), 1);
    EXPECT_EQ(placements_named("NAVAID: MAR"), 2);
    for (const object_placement& p : placement_list) {
        const char* name = object_table[size_t(p.object)].name;
        if (std::strcmp(name, "NAVAID: ILS") == 0) {
            EXPECT_EQ(p.heading, 123.0f);
        }
        if (std::strcmp(name, "NAVAID: LOC") == 0) {
            EXPECT_EQ(p.heading, 45.0f);
        }
        if (std::strcmp(name, "NAVAID: SLO") == 0) {
            EXPECT_EQ(p.heading, 0.0f);
        }
    }
    EXPECT_EQ(navaid_start_last[0], 0);
    EXPECT_EQ(navaid_start_list[0][0], 7);
    EXPECT_EQ(navaid_start_last[1], 4);   // the four first NDBs and record 8
    EXPECT_EQ(menu_table[12].items[0].command, 2400);
    EXPECT_STREQ(menu_table[13].items[4].text, "Navaid 8");
    EXPECT_EQ(navaid_table[16].local, 1);
    EXPECT_EQ(navaid_table[5].local, 1);

    // The nearby fixes stop at 1,200.
    for (int k = 0; k < 1300; ++k) fix_table.push_back(fix_record{33.5f, -118.0f, "FIX", 0});
    APT_build_scene(1);
    EXPECT_EQ(local_fix_last, 1199);

    // Ten rebuilds leave as many live display lists as one.
    auto live_lists = [] {
        int n = 0;
        for (GLuint id = 1; id < 20000; ++id) n += glIsList(id) ? 1 : 0;
        return n;
    };
    EXPECT_TRUE(glIsList(APT_globe_display_list()));
    EXPECT_TRUE(glIsList(APT_globe_screen_list()));
    const int lists = live_lists();
    for (int k = 0; k < 10; ++k) {
        APT_build_scene(1);
        APT_globe_display_list();
    }
    EXPECT_EQ(live_lists(), lists);

    // A tower on the equator (latitude 0, longitude not) still stands.
    airport_table[3].tower_lat = 0.0f;
    airport_table[3].tower_lon = -117.9f;
    APT_build_scene(1);
    EXPECT_EQ(placements_named("control tower"), 2);
}

// The planet sphere follows the planet's radius: the widest reach of its list,
// drawn in a box of 40,000 km, halves with the radius.
// A rebuilt scene is announced to the plug-ins as event 6 with the frame clock.
TEST_F(AptScene, ARebuiltSceneTellsThePluginsWithTheFrameClock)
{
    static int code;
    static float time;
    code = -1, time = -1.0f;
    plugin_host.entries.event = [](int c, float t, int, int, int) {
        code = c, time = t;
        return 1;
    };
    frame_clock = 42.5f;
    APT_build_scene(1);
    PLUGIN_host_reset();
    EXPECT_EQ(code, 6);
    EXPECT_EQ(time, 42.5f);
}

TEST_F(AptScene, ThePlanetSphereIsBuiltAgainWhenTheRadiusChanges)
{
    auto widest_m = [] {
        window_ortho(-2.0e7, 2.0e7, -2.0e7, 2.0e7, -1.0e8, 1.0e8);
        glDisable(GL_CULL_FACE);
        const std::vector<GLfloat> fb = feedback_of([] { glCallList(APT_globe_display_list()); }, 2000000, GL_3D);
        float widest = 0.0f;
        for (size_t k = 0; k + 1 < fb.size();) {
            if (fb[k] != GL_POLYGON_TOKEN) {
                ++k;
                continue;
            }
            const size_t n = static_cast<size_t>(fb[k + 1]);
            for (size_t v = 0; v < n && k + 2 + 3 * v < fb.size(); ++v)
                widest = std::max(widest, std::fabs(fb[k + 2 + 3 * v] - 512.0f));
            k += 2 + 3 * n;
        }
        return widest / 512.0f * 2.0e7f;
    };
    const float radius = sim_physics.earth_radius_m;
    APT_build_scene(1);
    const float whole = widest_m();
    EXPECT_NEAR(whole, radius, radius * 0.01f);
    sim_physics.earth_radius_m = radius / 2.0f;
    APT_build_scene(1);
    const float half = widest_m();
    sim_physics.earth_radius_m = radius;
    EXPECT_NEAR(half, radius / 2.0f, radius * 0.01f);
}

// Five of the six degree cells are land and the south-west one is the
// default ground, water: the fires all go to one land point, away from the
// water by a grid step at least, and each of the six displaced sea objects
// gets a water point of its own (two on one point would stand in each other).
TEST_F(AptScene, FiresGoToLandAndEverySeaObjectToItsOwnWater)
{
    for (int south : {33, 34})
        for (int west : {-119, -118, -117})
            if (!(south == 33 && west == -119)) tiles_write(tmp, 0, flat_tile(0, south, west, 0.0, 1));
    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) ship_x[k] = ship_z[k] = -9.9e9f, ship_y[k] = 0.0f;
    UTIL_srand(7);
    APT_build_scene(1);

    ASSERT_EQ(fire_table.present, 1);
    for (int k = 0; k < FIRE_COUNT; ++k) {
        EXPECT_EQ(fire_table.x[k], fire_table.x[0]);
        EXPECT_EQ(fire_table.z[k], fire_table.z[0]);
        EXPECT_EQ(fire_table.burning[k], 1);
    }
    float lat, lon, e;
    GEO_local_to_latlon(lat, lon, e, fire_table.x[0], 0.0f, fire_table.z[0]);
    EXPECT_TRUE(lat > 34.0f || lon > -118.0f) << lat << " " << lon;

    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) {
        GEO_local_to_latlon(lat, lon, e, ship_x[k], ship_y[k], ship_z[k]);
        EXPECT_TRUE(lat >= 33.0f && lat <= 34.01f && lon >= -119.0f && lon <= -117.99f) << k << ": " << lat << " " << lon;
        for (int j = 0; j < k; ++j) EXPECT_FALSE(ship_x[j] == ship_x[k] && ship_z[j] == ship_z[k]) << j << " and " << k;
    }
}

TEST_F(AptScene, AShiftWestAndBackEastLeavesEveryPositionInPlace)
{
    APT_build_scene(1);
    sim_graphics_settings.draw_aircrafts = 1000;   // more than there are slots: held to the slots
    for (int p = 0; p < FLT_SLOTS; ++p) {
        flt[p].local_x = 1000.0f * p - 3000.0f, flt[p].local_y = 800.0f, flt[p].local_z = -2000.0f + 500.0f * p;
        flt[p].local_vx = 0.0f, flt[p].local_vy = 0.0f, flt[p].local_vz = -60.0f;   // straight north
        flt[p].i = 200, flt[p].j = 300;
    }
    ship_x[0] = 20000.0f, ship_y[0] = 0.0f, ship_z[0] = 15000.0f;
    REPLAY_clear_ring();
    replay_ring[0].network_time_sec = 5.0f;
    replay_ring[0].ref_point = APT_pack_reference(lat_ref, lon_ref);
    replay_ring[0].local_x = 12000.0f, replay_ring[0].local_y = 300.0f, replay_ring[0].local_z = -8000.0f;
    replay_ring[1].local_x = 7.0f;   // an empty record stays as it is
    replay_ring[2].network_time_sec = 0.01f, replay_ring[2].local_x = 8.0f;   // so does one at 0.01 s
    replay_ring[3].network_time_sec = 0.02f, replay_ring[3].ref_point = replay_ring[0].ref_point;   // moved
    particle_list = {particle_record{}, particle_record{}};
    particle_list[0].x = 100.0f, particle_list[0].y = 50.0f, particle_list[0].z = 100.0f;
    particle_list[0].floor_y = 40.0f, particle_list[0].age = 1.0f, particle_list[0].life = 5.0f;
    particle_list[1].x = 3.0f, particle_list[1].life = 5.0f;   // age 0: not alive
    for (int k = 0; k < STORM_GRID_CELLS; ++k) storm_grid[k] = float(k % 977) / 977.0f;

    const std::vector<float> storm_before(storm_grid, storm_grid + STORM_GRID_CELLS);
    struct point {
        float x, y, z;
    };
    std::vector<point> before;
    auto positions = [] {
        std::vector<point> out;
        for (int p = 0; p < FLT_SLOTS; ++p) out.push_back({flt[p].local_x, flt[p].local_y, flt[p].local_z});
        out.push_back({ship_x[0], ship_y[0], ship_z[0]});
        out.push_back({replay_ring[0].local_x, replay_ring[0].local_y, replay_ring[0].local_z});
        out.push_back({particle_list[0].x, particle_list[0].y, particle_list[0].z});
        return out;
    };
    before = positions();
    const geo_point plane_before = GEO_local_to_latlon_about(34.0, -117.5, flt[0].local_x, flt[0].local_y, flt[0].local_z);

    lon_ref -= 1.0f;
    APT_build_scene(2);
    // Nothing moved in the world: the plane's place is the same, its cells 150 further east.
    const geo_point plane_after = GEO_local_to_latlon_about(34.0, -118.5, flt[0].local_x, flt[0].local_y, flt[0].local_z);
    EXPECT_NEAR(plane_after.lat, plane_before.lat, 1e-7);
    EXPECT_NEAR(plane_after.lon, plane_before.lon, 1e-7);
    EXPECT_NEAR(flt[0].local_x - before[0].x, 92500.0f, 1000.0f);
    EXPECT_EQ(flt[0].i, 350);
    EXPECT_EQ(flt[0].local_x_d, double(flt[0].local_x));
    EXPECT_EQ(flt[0].local_y_d, double(flt[0].local_y));
    EXPECT_EQ(flt[0].local_z_d, double(flt[0].local_z));
    // Still flying north in the world: 10 s on, the same longitude, a higher latitude.
    const geo_point ahead = GEO_local_to_latlon_about(34.0, -118.5, flt[0].local_x + 10.0f * flt[0].local_vx,
                                                      flt[0].local_y + 10.0f * flt[0].local_vy,
                                                      flt[0].local_z + 10.0f * flt[0].local_vz);
    EXPECT_NEAR(ahead.lon, plane_after.lon, 1e-5);
    EXPECT_GT(ahead.lat, plane_after.lat);
    EXPECT_EQ(replay_ring[0].ref_point, APT_pack_reference(33.0f, -120.0f));
    EXPECT_EQ(replay_ring[2].local_x, 8.0f);
    EXPECT_EQ(replay_ring[3].ref_point, APT_pack_reference(33.0f, -120.0f));
    EXPECT_FLOAT_EQ(particle_list[0].floor_y - 40.0f, particle_list[0].y - 50.0f);
    // The storm grid moved 85 cells east; block column 0 was made anew.
    for (int a = 86; a < STORM_GRID_DIM; a += 7)
        for (int b = 0; b < STORM_GRID_DIM; b += 5)
            ASSERT_EQ(storm_grid[a * STORM_GRID_DIM + b], storm_before[size_t((a - 85) * STORM_GRID_DIM + b)]);

    lon_ref += 1.0f;
    APT_build_scene(3);
    const std::vector<point> after = positions();
    for (size_t k = 0; k < before.size(); ++k) {
        EXPECT_NEAR(after[k].x, before[k].x, 0.01f) << k;
        EXPECT_NEAR(after[k].y, before[k].y, 0.01f) << k;
        EXPECT_NEAR(after[k].z, before[k].z, 0.01f) << k;
    }
    EXPECT_NEAR(flt[0].local_vz, -60.0f, 1e-3f);
    EXPECT_NEAR(flt[0].local_vx, 0.0f, 1e-3f);
    EXPECT_EQ(replay_ring[1].local_x, 7.0f);
    EXPECT_EQ(particle_list[1].x, 3.0f);
    EXPECT_EQ(flt[0].i, 200);

    // North a degree (the old origin a degree south) and back: the plane keeps
    // its place, its row 200 lower and back.
    lat_ref += 1.0f;
    APT_build_scene(4);
    const geo_point plane_north = GEO_local_to_latlon_about(35.0, -117.5, flt[0].local_x, flt[0].local_y, flt[0].local_z);
    EXPECT_NEAR(plane_north.lat, plane_before.lat, 1e-7);
    EXPECT_NEAR(plane_north.lon, plane_before.lon, 1e-7);
    EXPECT_EQ(flt[0].j, 100);
    lat_ref -= 1.0f;
    APT_build_scene(5);
    EXPECT_NEAR(flt[0].local_z, before[0].z, 0.01f);
    EXPECT_EQ(flt[0].j, 300);
    sim_graphics_settings.draw_aircrafts = 1;

    // On Mars a degree is 64 grid points either way.
    PLANET_set_constants(1);
    flt[0].i = 100, flt[0].j = 100;
    lat_ref -= 1.0f;
    APT_shift_origin(5);
    EXPECT_EQ(flt[0].j, 164);
    PLANET_set_constants(0);

    // A shift south moves the storm cells 128 along their second index
    // (256 cells over two degrees of latitude).
    for (int k = 0; k < STORM_GRID_CELLS; ++k) storm_grid[k] = float(k % 977) / 977.0f;
    const std::vector<float> storm_north(storm_grid, storm_grid + STORM_GRID_CELLS);
    lat_ref -= 1.0f;
    APT_shift_origin(5);
    for (int a = 0; a < STORM_GRID_DIM; a += 7)
        for (int b = 128; b < STORM_GRID_DIM; b += 5)
            ASSERT_EQ(storm_grid[a * STORM_GRID_DIM + b], storm_north[size_t(a * STORM_GRID_DIM + b - 128)]) << a << " " << b;

    // Packed references: a sign digit (1 below zero, 2 otherwise) and the
    // whole degrees of each.
    EXPECT_EQ(APT_pack_reference(0.0f, 0.0f), 2002000);
    EXPECT_EQ(APT_pack_reference(-33.0f, 151.0f), 1332151);
    EXPECT_EQ(APT_pack_reference(47.0f, -122.0f), 2471122);
}

// A shift south makes the southern row of storm blocks (row 0, cells z 0..128
// of the grid) anew and a shift north the northern one (z 128..255); the
// other row keeps what it held (marked 2, which no made block holds).
TEST_F(AptScene, AShiftNorthOrSouthMakesOnlyTheExposedRowOfStormBlocks)
{
    APT_build_scene(1);
    for (const int mode : {5, 4}) {
        std::fill(std::begin(storm_grid), std::end(storm_grid), 2.0f);
        lat_ref += mode == 4 ? 1.0f : -1.0f;
        APT_build_scene(mode);
        const int made_lo = mode == 5 ? 0 : 128, made_hi = mode == 5 ? 128 : STORM_GRID_DIM - 1;
        int made = 0, kept = 0, other = 0;
        for (int x = 0; x < STORM_GRID_DIM; ++x)
            for (int z = 0; z < STORM_GRID_DIM; ++z) {
                const float c = storm_grid[x * STORM_GRID_DIM + z];
                if (z >= made_lo && z <= made_hi) made += c <= 1.0f ? 1 : 0;
                else if (c == 2.0f) ++kept;
                else ++other;
            }
        EXPECT_EQ(made, STORM_GRID_DIM * (made_hi - made_lo + 1)) << mode;
        EXPECT_EQ(kept, STORM_GRID_DIM * (STORM_GRID_DIM - (made_hi - made_lo + 1))) << mode;
        EXPECT_EQ(other, 0) << mode;
    }
}

// Airport 1's hangars stand 128 m south of its runway point: with the point
// at 33.02 they clear the area's south edge (33.0) by more than a hundredth
// of a degree; at 33.005 they lie within it and none is built.
TEST_F(AptScene, HangarsKeepAHundredthOfADegreeFromTheAreaEdge)
{
    airport_table[1].runways[0].lat = 33.02f;
    APT_build_scene(1);
    EXPECT_EQ(placements_named("hangar"), 4);
    airport_table[1].runways[0].lat = 33.005f;
    APT_build_scene(1);
    EXPECT_EQ(placements_named("hangar"), 0);

    // Turned to heading 0 they stand 128 m east of the point, from 106.7 m
    // behind it (south, +z) in steps of 45 m toward the north.
    airport_table[1].runways[0].lat = 33.6f;
    airport_table[1].runways[0].heading = 0.0f;
    APT_build_scene(1);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 33.6f, -118.0f, 0.0);
    std::vector<std::pair<float, float>> hangars;
    for (const object_placement& p : placement_list)
        if (std::strcmp(object_table[size_t(p.object)].name, "hangar") == 0) hangars.emplace_back(p.x - x, p.z - z);
    const float south[4] = {61.68f, 16.68f, -28.32f, -73.32f};
    ASSERT_EQ(hangars.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(hangars[size_t(k)].first, 128.02f, 0.05f) << k;
        EXPECT_NEAR(hangars[size_t(k)].second, south[k], 0.05f) << k;
    }
    // A 10 ft wide runway: 4.2 widths (12.8 m) is less than the least distance, 80 m.
    airport_table[1].runways[0].width = 3.048f;
    APT_build_scene(1);
    for (const object_placement& p : placement_list)
        if (std::strcmp(object_table[size_t(p.object)].name, "hangar") == 0) {
            EXPECT_NEAR(p.x - x, 80.0f, 0.05f);
        }
}

TEST_F(AptScene, TrafficAirportIsTheNearestWithAUsableRunwayOrNone)
{
    sim_weather.wind_speed_kt[0] = 0.0f;   // calm: the controllers' first runway
    const runway_record& near = airport_table[50].runways[0];
    flt[0].latitude = near.lat + 0.001f;
    flt[0].longitude = near.lon;
    APT_build_scene(1);
    EXPECT_EQ(traffic_runway_state.traffic_airport, 50);
    EXPECT_EQ(traffic_runway_state.traffic_runway, 0);
    EXPECT_EQ(traffic_runway_state.traffic_runway_end, 1);
    // A plane outside the loaded area: the nearest to the area's centre (34, -117.5), airport 105.
    flt[0].latitude = 10.0f;
    APT_build_scene(1);
    EXPECT_EQ(traffic_runway_state.traffic_airport, 105);

    // Its runway closed, the next nearest; every runway closed, none at all.
    airport_table[50].runways[0].number[0] = 'x';
    APT_build_scene(1);
    EXPECT_NE(traffic_runway_state.traffic_airport, 50);
    EXPECT_GE(traffic_runway_state.traffic_airport, 0);
    for (airport_record& a : airport_table)
        for (runway_record& r : a.runways) r.number[0] = 'x';
    APT_build_scene(1);
    EXPECT_EQ(traffic_runway_state.traffic_airport, TRAFFIC_NO_AIRPORT);
    EXPECT_EQ(traffic_runway_state.traffic_runway, -1);
    EXPECT_EQ(traffic_runway_state.active_runway, -1);
}
