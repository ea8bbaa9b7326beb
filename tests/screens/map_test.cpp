// The map window, its symbols and the airport diagram drawn on the offscreen
// context: layers by zoom, scales, ground colours by map type, the sprites
// and their turns, airports by scale, the range rings and the diagram's fit.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "world/fires.h"
#include "screens/map.h"
#include "screens/operator_map.h"
#include "screens/setup.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/terrain_support.h"
#include "tests/support/test_support.h"
#include "tests/support/ui_capture.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/ships.h"
#include "world/terrain_textures.h"

namespace {

class MapTest : public ScreenTest {
protected:
    void arrange() override
    {
        PLANET_set_constants(0);
        lat_ref = 47.0f, lon_ref = -123.0f;
        NAV_clear_tables();
        placement_list.clear();
        local_airport_last = -1;
        chart_airport = -1;
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), 1);
        for (auto& n : terrain_point_normal) n[0] = 0.0f, n[1] = 1.0f, n[2] = 0.0f;
        // The ground lies far east of the map, so that a frame draws few cells.
        TEST_lay_flat_grid(0.0f);
        for (terrain_vertex& v : terrain_vertex_grid) v.x += 5.0e6f;
        sim_graphics_settings.draw_aircrafts = 1;
        flt[0].local_x = flt[0].local_z = -9.0e9f;   // off the map
        app_mode = MODE_OPERATOR;
        view(0, 1.0f);
    }
    void TearDown() override
    {
        NAV_clear_tables();
        placement_list.clear();
        app_mode = MODE_FLYING;
        ScreenTest::TearDown();
    }
    // The map of screen 15 with the local origin at its lower-left corner.
    static void view(int type, float zoom)
    {
        screen_settings.map_type = type;
        screen_settings.map_zoom = zoom;
        map_origin_x = map_origin_y = 15.0f;
        map_right = 1024.0f - 119.0f, map_top = 768.0f - 67.0f;
        map_ref_x = map_ref_z = 0.0f;
        map_scale = map_base_scale * zoom;
    }
    // Where the map puts the local point (x, z), and its latitude and longitude.
    static geo_point at(float x, float z)
    {
        float lat, lon, elev;
        GEO_local_to_latlon(lat, lon, elev, x, 0.0, z);
        return {lat, lon, 0.0};
    }
    static std::vector<fb_rect> window_rects() { return capture_rects([] { MAP_draw_window(0); }); }
    // Level ground with a lake of water points over rows i0..i1 and columns
    // j0..j1, and the colours of open water (row 50), coast (64) and land (56).
    using colour = std::array<float, 3>;
    static void level_ground_with_lake(int i0, int i1, int j0, int j1, colour water, colour coast, colour land)
    {
        TEST_lay_flat_grid(0.0f);
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) landuse_grid[TERRAIN_index(i, j)] = LANDUSE_WATER_A;
        for (const auto& [row, c] : {std::pair{50, water}, {64, coast}, {56, land}}) OGL_set_color(row, c[0], c[1], c[2]);
    }
};

// Quads showing exactly the sprite of texels [u1, u2] x [v1, v2].
int sprites(const std::vector<fb_rect>& rects, float u1, float v1, float u2, float v2)
{
    auto near = [](float a, float b) { return std::fabs(a - b) < 0.01f; };
    return static_cast<int>(std::count_if(rects.begin(), rects.end(), [&](const fb_rect& r) {
        return near(r.tx1, u1) && near(r.ty1, v1) && near(r.tx2, u2) && near(r.ty2, v2);
    }));
}

// The symbols of the three layers that a zoom switches on: one of each near
// the map's corner.
TEST_F(MapTest, ObjectsFixesAndNavaidsShowOnlyStrictlyAboveTheirZoom)
{
    object_table.resize(std::max<size_t>(object_table.size(), 1));
    object_table[0].kind = 3;   // a radio tower
    placement_list.push_back({0, 800.0f, 0.0f, -600.0f, 0.0f, 1});
    const geo_point p = at(900.0f, -900.0f);
    fix_table.push_back({static_cast<float>(p.lat), static_cast<float>(p.lon), "FIXA", 1});
    navaid_record ndb{};
    ndb.kind = NAV_NDB, ndb.lat = float(p.lat), ndb.lon = float(p.lon), ndb.frequency = 362, ndb.local = 1;
    std::strcpy(ndb.id, "NB");
    navaid_table.push_back(ndb);

    struct row {
        int type;
        float zoom;
        float u1, v1;
        bool shown;
    } rows[] = {
        {2, 4.0f, 396, 220, false}, {2, 4.01f, 396, 220, true},     // scenery object
        {0, 5.0f, 378, 220, false}, {0, 5.01f, 378, 220, true},     // fix
        {2, 1.5f, 378, 256, false}, {2, 1.51f, 378, 256, true},     // NDB
    };
    for (const row& r : rows) {
        view(r.type, r.zoom);
        EXPECT_EQ(sprites(window_rects(), r.u1, r.v1, r.u1 + 14.0f, r.v1 + 16.0f), r.shown ? 1 : 0)
            << "type " << r.type << " zoom " << r.zoom;
    }
    // Only kinds 2 to 8 show: not a control tower (1), a navaid building (9)
    // or a hangar (94).
    for (const int kind : {1, 2, 8, 9, 94}) {
        object_table[0].kind = kind;
        view(2, 4.01f);
        EXPECT_EQ(sprites(window_rects(), 396, 220, 410, 236), kind >= 2 && kind <= 8 ? 1 : 0) << kind;
    }
}

TEST_F(MapTest, ScaleTicksStepByZoomAndStopBefore180And120Miles)
{
    for (const auto& [zoom, step] : {std::pair{1.0f, 10}, {2.0f, 5}, {10.0f, 1}}) {
        view(0, zoom);
        map_scale = 0.0025f / zoom;   // every tick inside the window, where feedback sees it
        std::vector<float> bottom, left;
        for (const fb_prim& p : capture_feedback([] { MAP_draw_window(0); })) {
            if (p.token != GL_LINE_TOKEN && p.token != GL_LINE_RESET_TOKEN) continue;
            const fb_vertex &a = p.v[0], &b = p.v[1];
            // The kit draws lines through pixel centres (+0.5).
            auto at = [](float v, float want) { return std::fabs(v - want - 0.5f) < 0.01f; };
            if (a.x == b.x && at(std::min(a.y, b.y), 20.0f) && at(std::max(a.y, b.y), 25.0f)) bottom.push_back(a.x - 0.5f);
            if (a.y == b.y && at(std::min(a.x, b.x), 20.0f) && at(std::max(a.x, b.x), 25.0f)) left.push_back(a.y - 0.5f);
        }
        SCOPED_TRACE(zoom);
        EXPECT_EQ(bottom.size(), size_t((179 / step)));
        EXPECT_EQ(left.size(), size_t((119 / step)));
        const float unit = 1852.0f * map_scale * float(step);
        ASSERT_GE(bottom.size(), 2u);
        EXPECT_NEAR(bottom[1] - bottom[0], unit, 0.01f);
        EXPECT_NEAR(bottom[0], 15.0f + unit, 0.01f);
    }
    // Ticks run past the map's right edge: every one inside it is drawn.
    view(0, 10.0f);
    map_scale = 0.01f;
    int inside = 0, drawn = 0;
    for (int d = 1; d < 180; ++d) inside += 15.0f + float(d) * 18.52f <= map_right;
    for (const fb_prim& p : capture_feedback([] { MAP_draw_window(0); }))
        drawn += (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) && p.v[0].x == p.v[1].x &&
                 std::fabs(p.v[0].y + p.v[1].y - 46.0f) < 0.01f && p.v[0].x - 0.5f <= map_right;
    EXPECT_EQ(drawn, inside);
}

// Type 2 colours by the cell's height over the sphere, lit by the map's light
// 0 (ambient 0.5, diffuse 0.5 from (-0.55, 0.55, -0.55)): a level cell gets
// 0.5 + 0.5 cos 54.7 degrees = 0.5 + 0.5 / sqrt(3) of its colour.
TEST_F(MapTest, ElevationBandsAreLitAsALevelSurface)
{
    const float lit = 0.5f + 0.5f / std::sqrt(3.0f);
    // No light beyond the map's own: the program's default state has no
    // global ambient light, whatever an earlier test left set.
    const GLfloat no_ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, no_ambient);
    for (const auto& [feet, rgb] : {std::pair{500.0f, std::array{212, 226, 175}}, {1500.0f, std::array{188, 205, 154}},
                                    {2500.0f, std::array{239, 232, 174}}, {3500.0f, std::array{241, 222, 136}},
                                    {5500.0f, std::array{233, 198, 102}}, {7500.0f, std::array{223, 175, 72}}}) {
        const double R = sim_physics.earth_radius_m, h = feet * 0.3048;
        TEST_lay_grid(100.0f, 200, 200, [&](float x, float z) {
            return static_cast<float>(std::sqrt((R + h) * (R + h) - double(x) * x - double(z) * z) - R);
        });
        view(2, 1.0f);
        map_ref_x = -285.0f / map_scale, map_ref_z = 285.0f / map_scale;   // the origin at (300, 300)
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        MAP_draw_window(0);
        uint8_t px[3];
        glReadPixels(300, 300, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(px[k], rgb[size_t(k)] * lit, 1.5) << feet << " ft, channel " << k;
    }
}

// The grey-scale map: water 0.1, land 0.7, lit like the bands.
TEST_F(MapTest, GreyScaleWaterAndLand)
{
    const float lit = 0.5f + 0.5f / std::sqrt(3.0f);
    const GLfloat no_ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, no_ambient);
    level_ground_with_lake(190, 210, 190, 210, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    view(3, 50.0f);
    map_ref_x = -2500.0f, map_ref_z = 2500.0f;
    glClear(GL_COLOR_BUFFER_BIT);
    MAP_draw_window(0);
    for (const auto& [i, grey] : {std::pair{200, 0.1f}, {185, 0.7f}}) {
        const float x = MAP_x_to_screen((float(i) - 200.0f) * 100.0f), y = MAP_z_to_screen(0.0f);
        uint8_t px[3];
        glReadPixels(int(x), int(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(px[k], 255.0f * grey * lit, 1.5f) << i << " channel " << k;
    }
    // The elevation ramp shows water as grey 0.5.
    view(5, 50.0f);
    map_ref_x = -2500.0f, map_ref_z = 2500.0f;
    glClear(GL_COLOR_BUFFER_BIT);
    MAP_draw_window(0);
    uint8_t px[3];
    glReadPixels(int(MAP_x_to_screen(0.0f)), int(MAP_z_to_screen(0.0f)), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(px[k], 255.0f * 0.5f * lit, 1.5f) << "channel " << k;
}

// Aircraft: the user's in row 87, the operator's target plane in row 88, the others in row 59.
TEST_F(MapTest, AircraftColoursByRole)
{
    sim_graphics_settings.draw_aircrafts = 3;
    operator_panel.target_plane = 2;
    const float xs[3] = {200.0f, 400.0f, 600.0f};
    for (int p = 0; p < 3; ++p) {
        flt[p].psi = 0.0f;
        pln[p].acf_size_x = pln[p].acf_size_z = 0.0f;
        flt[p].local_x = (xs[p] - 15.0f) / map_scale;
        flt[p].local_z = (15.0f - 300.0f) / map_scale;
    }
    for (const auto& [row, c] : {std::pair{87, colour{1, 0, 0}}, {59, colour{0, 1, 0}}, {88, colour{0, 0, 1}}})
        OGL_set_color(row, c[0], c[1], c[2]);
    const auto rects = window_rects();
    for (int p = 0; p < 3; ++p) {
        bool seen = false;
        for (const fb_rect& r : rects)
            if (std::fabs((r.x1 + r.x2) / 2.0f - xs[p]) < 3.0f && std::fabs((r.y1 + r.y2) / 2.0f - 300.0f) < 3.0f &&
                r.x2 - r.x1 > 20.0f) {
                seen = true;
                EXPECT_GT(p == 0 ? r.r : p == 1 ? r.g : r.b, 0.5f) << p;
            }
        EXPECT_TRUE(seen) << p;
    }
    operator_panel.target_plane = 0;
    for (int p = 1; p < 3; ++p) flt[p].local_x = flt[p].local_z = -9.0e9f;
}

// Airway names show only above zoom 2; each ship slot shows its own sprite.
TEST_F(MapTest, AirwayNamesAboveZoom2AndEachShipItsSprite)
{
    const geo_point a = at(800.0f, -600.0f), b = at(1600.0f, -1400.0f);
    airway_record w{};
    w.lat1 = float(a.lat), w.lon1 = float(a.lon), w.lat2 = float(b.lat), w.lon2 = float(b.lon);
    std::memcpy(w.name, "V23", 3);
    w.level = 1, w.local = 1;
    airway_table.push_back(w);
    for (const auto& [zoom, shown] : {std::pair{2.0f, false}, {2.01f, true}}) {
        view(0, zoom);
        EXPECT_EQ(shows(printed([] { MAP_draw_window(0); }, 100), "V23"), shown) << zoom;
    }

    const std::vector<float> kept_x(ship_x, ship_x + SEA_OBJECT_SLOTS), kept_y(ship_y, ship_y + SEA_OBJECT_SLOTS),
        kept_z(ship_z, ship_z + SEA_OBJECT_SLOTS);
    for (int s = 0; s < SEA_OBJECT_SLOTS; ++s) ship_x[s] = ship_z[s] = 1.0e9f, ship_y[s] = 0.0f;   // outside the area
    view(2, 1.0f);
    const struct {
        int slot;
        float uL, vL, uR, vH;
    } ships[] = {{SHIP_CARRIER, 467, 238, 482, 289}, {SHIP_FRIGATE, 485, 238, 500, 289}};
    for (const auto& sh : ships) {
        ship_x[sh.slot] = 40000.0f, ship_z[sh.slot] = -40000.0f;
        const auto rects = window_rects();
        for (const auto& other : ships)
            EXPECT_EQ(sprites(rects, other.uL, other.vL, other.uR, other.vH), other.slot == sh.slot ? 1 : 0)
                << sh.slot << " " << other.slot;
        ship_x[sh.slot] = 1.0e9f;
    }
    // The fire: placed, above 0 degrees at sea level and without rain.
    const fire_table_record kept_fire = fire_table;
    const float kept_temperature = sim_weather.temperature_sealevel_c, kept_rain = sim_weather.rain_percent;
    fire_table.present = 1, fire_table.x[0] = 40000.0f, fire_table.z[0] = -40000.0f;
    for (const auto& [celsius, rain, shown] : {std::tuple{5.0f, 0.0f, 1}, {0.0f, 0.0f, 0}, {5.0f, 0.1f, 0}}) {
        sim_weather.temperature_sealevel_c = celsius, sim_weather.rain_percent = rain;
        EXPECT_EQ(sprites(window_rects(), 450, 220, 464, 236), shown) << celsius << " " << rain;
    }
    fire_table = kept_fire;
    sim_weather.temperature_sealevel_c = kept_temperature, sim_weather.rain_percent = kept_rain;
    std::copy(kept_x.begin(), kept_x.end(), ship_x);
    std::copy(kept_y.begin(), kept_y.end(), ship_y);
    std::copy(kept_z.begin(), kept_z.end(), ship_z);
}

// Linear features: each kind in its own colour row (kind 4 row 66, kind 5 row 60).
TEST_F(MapTest, EachFeatureKindTakesItsColourRow)
{
    TEST_lay_flat_grid(0.0f);
    SEG_clear_lists();
    const struct {
        int kind, row;
        float z;
        colour c;
    } kinds[] = {{4, 66, 0.0f, {1, 0, 0}}, {5, 60, -500.0f, {0, 1, 0}}};
    for (const auto& k : kinds) {
        OGL_set_color(k.row, k.c[0], k.c[1], k.c[2]);
        std::vector<segment_point>& list = SEG_list_for_writing(k.kind, 200, 200);
        segment_point a{}, b{};
        a.x = a.edge_x = 0.0f, a.z = a.edge_z = k.z;
        b.x = b.edge_x = 300.0f, b.z = b.edge_z = k.z, b.span_flag = SEG_END;
        list = {a, b};
    }
    view(2, 50.0f);
    map_ref_x = -2500.0f, map_ref_z = 2500.0f;
    const auto prims = capture_feedback([] { MAP_draw_window(0); });
    for (const auto& k : kinds) {
        const float y = MAP_z_to_screen(k.z);
        bool seen = false;
        for (const fb_prim& p : prims)
            if ((p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) && std::fabs(p.v[0].y - y) < 1.0f &&
                std::fabs(p.v[1].y - y) < 1.0f) {
                seen = true;
                EXPECT_NEAR(p.v[0].r, k.c[0], 0.01f) << k.kind;
                EXPECT_NEAR(p.v[0].g, k.c[1], 0.01f) << k.kind;
                EXPECT_NEAR(p.v[0].a, 1.0f, 0.01f) << k.kind;   // 0.5 + 49 / 6 is past 0.99: opaque
            }
        EXPECT_TRUE(seen) << k.kind;
    }
    SEG_clear_lists();
}

// Land use: a lake of water points; its inner cells are open water, its rim
// (wet, with a dry neighbour) the coast row, the land beyond land. The
// textured-ground type draws no terrain quads.
TEST_F(MapTest, LandUseRowsAndTexturedGroundWithoutQuads)
{
    level_ground_with_lake(190, 210, 190, 210, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    view(0, 50.0f);
    map_ref_x = -2500.0f, map_ref_z = 2500.0f;   // cells of 100 m are 13 units wide
    glClear(GL_COLOR_BUFFER_BIT);
    MAP_draw_window(0);
    auto cell = [](int i, int j) {
        const float x = MAP_x_to_screen((float(i) - 200.0f) * 100.0f), y = MAP_z_to_screen(-(float(j) - 200.0f) * 100.0f);
        uint8_t px[3];
        glReadPixels(int(x), int(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
        return std::array{px[0] > 60, px[1] > 60, px[2] > 60};
    };
    EXPECT_EQ(cell(200, 200), (std::array{false, false, true}));   // open water, row 50
    EXPECT_EQ(cell(189, 200), (std::array{false, true, false}));   // coast, row 64
    EXPECT_EQ(cell(185, 200), (std::array{true, false, false}));   // land, row 56

    view(4, 50.0f);
    for (const fb_prim& p : capture_feedback([] { MAP_draw_window(0); }))
        if (p.token == GL_POLYGON_TOKEN) {
            EXPECT_TRUE(std::any_of(p.v.begin(), p.v.end(), [](const fb_vertex& v) { return v.s != 0.0f || v.t != 0.0f; }))
                << "an untextured ground quad";
        }
}

// Level ground draws each run of like cells up a column as one quad, with
// exactly the pixels of its cells drawn one by one: a normal changed by a
// hair at every other point lights nothing differently but keeps every cell
// apart. A lake's coast breaks the runs; with the largest cells the window's
// rim runs off the screen, where cells are drawn singly.
TEST_F(MapTest, RunsOfLikeCellsDrawExactlyTheirCellsPixels)
{
    level_ground_with_lake(150, 175, 190, 240, {0.0f, 0.2f, 0.9f}, {0.1f, 0.8f, 0.3f}, {0.9f, 0.6f, 0.2f});
    auto nudge = [](float by) {
        for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
            for (int j = 0; j < TERRAIN_GRID_COLS; ++j) terrain_point_normal[TERRAIN_index(i, j)][0] = (i + j) % 2 ? by : 0.0f;
    };
    auto pixels = [] {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        MAP_draw_window(0);
        std::vector<uint8_t> px(1024 * 768 * 3);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    };
    auto ground_triangles = [] {
        const auto prims = capture_feedback([] { MAP_draw_window(0); });
        return std::count_if(prims.begin(), prims.end(), [](const fb_prim& p) { return p.token == GL_POLYGON_TOKEN; });
    };
    for (const auto& [type, cell_units] : {std::pair{0, 5.0f}, {2, 2.5f}, {0, 13.0f}, {1, 60.0f}}) {
        SCOPED_TRACE(cell_units);
        view(type, 1.0f);
        map_scale = cell_units / 100.0f;
        map_ref_x = -4000.0f, map_ref_z = 6000.0f;   // the lake near the lower-left corner
        nudge(0.0f);
        const auto runs = pixels();
        const auto run_triangles = ground_triangles();
        nudge(1.0e-20f);
        EXPECT_TRUE(runs == pixels());
        if (cell_units == 13.0f) {
            EXPECT_LT(run_triangles * 4, ground_triangles());
        }
    }
    nudge(0.0f);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_NORMAL_ARRAY) || glIsEnabled(GL_COLOR_ARRAY));
}

// Each symbol's sprite of the interface bitmap, drawn at its texel size.
TEST_F(MapTest, EachSymbolTakesItsSprite)
{
    navaid_record v{};
    v.local = 1;
    navaid_table.push_back(v);
    const struct {
        int navaid, type;
        float uL, uR, vL, vH;
    } rows[] = {
        {0, 3, 396, 410, 220, 236},   {0, 97, 378, 392, 220, 236},  {0, 98, 378, 392, 238, 254},
        {0, 100, 485, 500, 238, 289}, {0, 101, 467, 482, 238, 289}, {0, 102, 450, 464, 256, 272},
        {0, 103, 450, 464, 238, 254}, {0, 104, 450, 464, 220, 236}, {1, NAV_NDB, 378, 392, 256, 272},
        {1, NAV_GLIDESLOPE, 396, 410, 238, 254}, {1, NAV_MIDDLE_MARKER, 396, 410, 256, 272},
        {1, NAV_DME, 450, 464, 274, 290},
    };
    for (const auto& r : rows) {
        navaid_table[0].kind = r.type;
        const auto rects = capture_rects([&r] { MAP_draw_object(400.0f, 300.0f, 76, r.navaid, r.type, 0); });
        EXPECT_EQ(sprites(rects, r.uL, r.vL, r.uR, r.vH), 1) << r.type;
    }
}

// Label boxes stand 20 (NDB) or 40 (VOR, DME) right of and below the navaid,
// filled on the land-use maps; a VOR's frequency reads in MHz. A localizer's
// feather reaches 25 units a zoom ahead and 30 at its two barbs.
TEST_F(MapTest, NavaidLabelsAndTheLocalizerFeather)
{
    navaid_record v{};
    v.local = 1, v.frequency = 11660;
    std::strcpy(v.id, "LBL");
    navaid_table.push_back(v);
    for (const auto& [kind, d] : {std::pair{NAV_NDB, 20.0f}, {NAV_VOR, 40.0f}, {NAV_DME, 40.0f}}) {
        navaid_table[0].kind = kind;
        const auto rects = capture_rects([kind = kind] { MAP_draw_object(400.0f, 300.0f, 76, 1, kind, 0); });
        const bool box = std::any_of(rects.begin(), rects.end(), [d = d](const fb_rect& r) {
            return std::fabs(r.x1 - (400.0f + d - 13.0f)) < 0.6f && std::fabs(r.y1 - (300.0f - d - 10.0f)) < 0.6f &&
                   std::fabs(r.x2 - r.x1 - 63.0f) < 0.6f && std::fabs(r.y2 - r.y1 - 20.0f) < 0.6f;
        });
        EXPECT_TRUE(box) << kind;
    }
    navaid_table[0].kind = NAV_VOR;
    EXPECT_TRUE(shows(printed([] { MAP_draw_object(400.0f, 300.0f, 76, 1, NAV_VOR, 0); }, 100), "116.60"));

    navaid_table[0].kind = NAV_ILS_LOC;
    for (const float zoom : {1.0f, 2.0f}) {
        screen_settings.map_zoom = zoom;
        std::vector<float> reach;
        for (const fb_prim& p : capture_feedback([] { MAP_draw_object(400.0f, 300.0f, 76, 1, NAV_ILS_LOC, 0); }))
            for (const fb_vertex& q : p.v) reach.push_back(std::hypot(q.x - p.v[0].x, q.y - p.v[0].y));
        const auto near = [&reach](float r) {
            return std::any_of(reach.begin(), reach.end(), [r](float x) { return std::fabs(x - r) < 0.3f; });
        };
        EXPECT_TRUE(near(25.0f * zoom)) << zoom;
        EXPECT_TRUE(near(30.0f * zoom)) << zoom;
    }
}

// A VOR as the compass rose turned by minus the variation on screen 15, and as
// the small sprite on screen 23.
TEST_F(MapTest, VorRoseTurnsByTheVariationAndIsSmallOnTheAirportMap)
{
    navaid_record vor{};
    vor.kind = NAV_VOR, vor.frequency = 11660, vor.local = 1;
    std::strcpy(vor.id, "SEA");
    std::strcpy(vor.name, "SEATTLE VORTAC");
    navaid_table.push_back(vor);
    sim_flightmodel_position.magnetic_variation = 20.0f;
    const auto prims = capture_feedback([] { MAP_draw_object(400.0f, 300.0f, 76, 1, NAV_VOR, 0); });
    // The rose's corner at texel (306, 219) is the corner (-35.5, -35.5)
    // turned clockwise by -20 degrees.
    const fb_vertex* corner = nullptr;
    for (const fb_prim& p : prims)
        for (const fb_vertex& v : p.v)
            if (p.token == GL_POLYGON_TOKEN && std::fabs(v.s * 512.0f - 306.0f) < 0.01f && std::fabs(v.t * 512.0f - 219.0f) < 0.01f)
                corner = &v;
    ASSERT_NE(corner, nullptr);
    const float r = -20.0f * DEG_TO_RAD_FLOAT, a = -35.5f, b = -35.5f;
    EXPECT_NEAR(corner->x, 400.0f + a * std::cos(r) + b * std::sin(r), 0.05f);
    EXPECT_NEAR(corner->y, 300.0f + b * std::cos(r) - a * std::sin(r), 0.05f);
    const auto lines = printed([] { MAP_draw_object(400.0f, 300.0f, 76, 1, NAV_VOR, 0); }, 100);
    EXPECT_TRUE(shows(lines, "SEATTLEVO"));   // the name cut to 10 characters
    EXPECT_FALSE(shows(lines, "SEATTLEVOR"));

    app_mode = MODE_OPERATOR_AIRPORT;
    const auto small = capture_rects([] { MAP_draw_object(400.0f, 300.0f, 76, 1, NAV_VOR, 0); });
    ASSERT_EQ(sprites(small, 378, 274, 392, 290), 1);
    for (const fb_rect& q : small)
        if (sprites({q}, 378, 274, 392, 290)) {
            EXPECT_EQ(std::make_pair(q.x2 - q.x1, q.y2 - q.y1), std::make_pair(14.0f, 16.0f));
        }
    EXPECT_EQ(sprites(small, 306, 219, 377, 290), 0);
}

TEST_F(MapTest, AirportSymbolBelowZoom15OutlinesFromItNamedAboveZoom4)
{
    airport_table.emplace_back();
    airport_record& a = airport_table.back();
    std::strcpy(a.id, "KTST");
    std::strcpy(a.name, "TESTFIELD");
    runway_record rw{};
    rw.lat = 47.5f, rw.lon = -122.25f, rw.heading = 0.0f, rw.length = 3000.0f, rw.width = 45.0f;
    std::strcpy(rw.number, "36");
    a.runways.push_back(rw);
    auto draw = [] { MAP_draw_airport(500.0f, 400.0f, 67, 0, 1, 1); };
    // Without the label: the symbol or the runway's outline, one quad.
    auto quads = [] { return capture_rects([] { MAP_draw_airport(500.0f, 400.0f, 67, 0, 1, 0); }); };
    view(0, 14.9f);
    EXPECT_EQ(quads().size(), 1u);
    EXPECT_EQ(sprites(quads(), 378, 238, 392, 254), 1);
    EXPECT_TRUE(shows(printed(draw, 100), "TESTFIELD"));
    // The label hangs 12 under the symbol's point, over its x alone.
    EXPECT_EQ(airport_label_anchor.min_y, 388.0f);
    EXPECT_EQ(airport_label_anchor.sum_x, 500.0f);
    EXPECT_EQ(airport_label_anchor.count, 1.0f);
    view(0, 15.0f);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 47.5, -122.25, 0.0);
    map_ref_x = x - 400.0f / map_scale, map_ref_z = z + 300.0f / map_scale;
    EXPECT_EQ(quads().size(), 1u);
    EXPECT_EQ(sprites(quads(), 378, 238, 392, 254), 0);
    view(0, 4.0f);
    EXPECT_FALSE(shows(printed(draw, 100), "TESTFIELD"));

    // An airport without runways is never plotted by the map.
    airport_table.emplace_back();
    local_airport_list[0] = 1, local_airport_last = 0;
    view(0, 14.9f);
    EXPECT_EQ(sprites(window_rects(), 378, 238, 392, 254), 0);
}

TEST_F(MapTest, AircraftSquareForAZeroSizeAndRangeRingsForPlaneZeroOnScreen18Only)
{
    flt[0].psi = flt[1].psi = 0.0f;
    pln[0].acf_size_x = 0.0f, pln[0].acf_size_z = 10.0f;
    pln[1].acf_size_x = 20.0f, pln[1].acf_size_z = 5.0f;
    auto box = [](int p) {
        for (const fb_rect& q : capture_rects([p] { MAP_draw_object(300.0f, 300.0f, 87, 0, 99, p); }))
            return std::make_pair(q.x2 - q.x1, q.y2 - q.y1);
        return std::make_pair(0.0f, 0.0f);
    };
    EXPECT_EQ(box(0), std::make_pair(30.0f, 30.0f));
    EXPECT_EQ(box(1), std::make_pair(60.0f, 15.0f));
    auto rings = [](int p) { return shows(printed([p] { MAP_draw_object(300.0f, 300.0f, 87, 0, 99, p); }, 100), "20nm"); };
    app_mode = MODE_OPERATOR_STATION;
    EXPECT_TRUE(rings(0));
    EXPECT_FALSE(rings(1));
    // The outer ring and the spokes reach 20 nautical miles: 185.2 units at
    // 0.005 units a metre.
    const float kept_scale = map_scale;
    map_scale = 0.005f;
    float reach = 0.0f;
    for (const fb_prim& q : capture_feedback([] { MAP_draw_object(300.0f, 300.0f, 87, 0, 99, 0); }))
        if (q.token == GL_LINE_TOKEN || q.token == GL_LINE_RESET_TOKEN)
            for (const fb_vertex& v : q.v) reach = std::max(reach, std::hypot(v.x - 300.5f, v.y - 300.5f));
    EXPECT_NEAR(reach, 185.2f, 1.0f);
    map_scale = kept_scale;
    app_mode = MODE_OPERATOR;
    EXPECT_FALSE(rings(0));
    EXPECT_EQ(expect_fatal([] { MAP_draw_object(0.0f, 0.0f, 1, 0, 5, 0); }).lines[0], "Bad obj_type type!");
    clear_alerts();
}

TEST_F(MapTest, FlightPathJoinsRecordedSlotsOnly)
{
    for (int k = 0; k < 3; ++k) replay_ring[k].network_time_sec = 1.0f + float(k);
    auto lines = [] {
        return capture_feedback([] {
            for (int k = 0; k < 5; ++k) MAP_draw_flight_path(k == 0, 100.0f + 10.0f * float(k), 100.0f, k, 1);
        }).size();
    };
    EXPECT_EQ(lines(), 4u);   // slots 0-1 and 1-2, two units thick
    // The second line lies one unit up when the step's whole-unit width beats
    // its whole-unit height, else one unit right (1.5 by 1.2 is 1 by 1).
    const struct { float dx, dy, right, up; } steps[] = {{10, 2, 0, 1}, {-2, 10, 1, 0}, {1.5f, 1.2f, 1, 0}};
    for (const auto& s : steps) {
        const std::vector<fb_prim> prims = capture_feedback([&] {
            MAP_draw_flight_path(1, 100.0f, 100.0f, 1, 0);
            MAP_draw_flight_path(0, 100.0f + s.dx, 100.0f + s.dy, 2, 0);
        });
        ASSERT_EQ(prims.size(), 2u) << s.dx;
        auto low = [&](int i, bool x) {
            float m = 1e9f;
            for (const fb_vertex& v : prims[i].v) m = std::min(m, x ? v.x : v.y);
            return m;
        };
        EXPECT_NEAR(low(1, true) - low(0, true), s.right, 1e-3f) << s.dx;
        EXPECT_NEAR(low(1, false) - low(0, false), s.up, 1e-3f) << s.dx;
    }
}

namespace {
std::vector<int32_t> commands_run;
void record_command(int32_t command) { commands_run.push_back(command); }
}  // namespace

// On a 1024 x 768 screen the map spans to (905, 701); screen 18 moves its
// lower-left corner right of the command column (148) and all but screen 15
// above the profile strip (210). The command column of screen 18 steps down
// 20 units from y 238. The speed field (5 digits at 957, 583) is held to 1.5
// Vne / root of the density ratio (Vne 200 kt: 300 kt at sea level, 348.2 kt
// at 3,000 m where the ratio is 0.7423), and above the air to the circular
// orbit speed (200 km up: root(3.986012e14 / 6,578,145) = 7784.3 m/s, 15132 kt).
TEST_F(MapTest, OperatorScreensPlaceTheMapRunTheCommandColumnAndHoldTheSpeed)
{
    const struct { int mode; float left, bottom; } areas[] = {
        {MODE_OPERATOR, 15.0f, 15.0f}, {MODE_OPERATOR_STATION, 163.0f, 225.0f}, {MODE_OPERATOR_AIRPORT, 15.0f, 225.0f}};
    for (const auto& a : areas) {
        app_mode = a.mode;
        OPERATOR_panel(-999);
        EXPECT_EQ(map_origin_x, a.left) << a.mode;
        EXPECT_EQ(map_origin_y, a.bottom) << a.mode;
        EXPECT_EQ(map_right, 905.0f) << a.mode;
        EXPECT_EQ(map_top, 701.0f) << a.mode;
    }

    app_mode = MODE_OPERATOR_STATION;
    {
        const hook_override recorded(core_hooks.CORE_run_command, record_command);
        const struct { float y; int command; } column[] = {{238.0f, 600}, {198.0f, 203}, {158.0f, 608},
                                                           {118.0f, 610}, {98.0f, 611},  {58.0f, 1034}};
        for (const auto& c : column) {
            commands_run.clear();
            click([] { OPERATOR_panel(-999); }, 79.0f, c.y);
            EXPECT_EQ(commands_run, std::vector<int32_t>{c.command}) << c.y;
        }
    }

    // The target plane's buttons stand 20 units apart from y 538 down (x
    // 1004); the heading field takes 0 to 360.
    app_mode = MODE_OPERATOR;
    sim_graphics_settings.draw_aircrafts = 3;
    click([] { OPERATOR_panel(-999); }, 1004.0f, 502.0f);
    EXPECT_EQ(operator_panel.target_plane, 2);
    click([] { OPERATOR_panel(-999); }, 1004.0f, 522.0f);
    EXPECT_EQ(operator_panel.target_plane, 1);
    operator_panel.target_plane = 0;
    sim_graphics_settings.draw_aircrafts = 1;
    for (const auto& [typed, kept] : {std::pair{360.0f, 360.0f}, {361.0f, 360.0f}}) {
        operator_panel.heading_deg = typed;
        OPERATOR_panel(-999);
        EXPECT_EQ(operator_panel.heading_deg, kept);
    }

    pln[0].acf_Vne = 200.0f;
    const struct { float altitude_m, knots, within; } limits[] = {
        {0.0f, 300.0f, 0.05f}, {3000.0f, 348.2f, 1.0f}, {200000.0f, 15132.0f, 3.0f}};
    for (const auto& l : limits) {
        situation_altitude = l.altitude_m;
        situation_speed = 1.0e5f;
        click([] { OPERATOR_panel(-999); }, 1002.0f, 593.0f);   // the last digit, up
        EXPECT_NEAR(situation_speed / 0.514444f, l.knots, l.within) << l.altitude_m;
    }
}

// A press due east on the dial (964, 120) pans the map a step (0.05 x 30 km
// / 2 = 750 m) but leaves the profile strip; the east key moves both.
TEST_F(MapTest, OnlyTheWestAndEastKeysMoveTheProfileStrip)
{
    scenery_area = {-10000.0f, 10000.0f, -5000.0f, 5000.0f};
    screen_settings.map_zoom = 2.0f;
    operator_panel.profile_offset = 0.0f;
    OPERATOR_panel(-999);
    const float x0 = map_ref_x;
    click([] { OPERATOR_panel(-999); }, 984.0f, 120.0f);
    EXPECT_NEAR(map_ref_x - x0, 750.0f, 0.5f);
    EXPECT_EQ(operator_panel.profile_offset, 0.0f);
    OPERATOR_panel(3);
    EXPECT_NEAR(operator_panel.profile_offset, 750.0f, 0.5f);
}

// Screen 23 opens at zoom 5 on its chart airport's first runway, the runway
// in the middle of the map (x 460), and lists the airport's frequencies in
// MHz (12345 is 123.45). On screen 15 a zoom below 1.01 puts the map's
// lower-left corner on the loaded area's (x0, z1); 1.05 leaves it.
TEST_F(MapTest, OperatorChartScreenOpensOnItsAirportAndTheMapCornerFollowsTheZoom)
{
    airport_record a{};
    std::strcpy(a.id, "KTST");
    runway_record rw{};
    std::strcpy(rw.number, "09");
    rw.lat = 47.05f, rw.lon = -122.95f, rw.heading = 90.0f, rw.length = 2000.0f;
    a.runways = {rw};
    a.frequencies[1].frequency = 12345;
    std::strcpy(a.frequencies[1].name, "TOWER");
    airport_table.push_back(a);
    chart_airport = static_cast<int>(airport_table.size()) - 1;
    app_mode = MODE_OPERATOR_AIRPORT;
    operator_panel.last_screen_key = -1;
    const auto lines = printed([] { OPERATOR_panel(-999); });
    EXPECT_EQ(screen_settings.map_zoom, 5.0f);
    float x, y, z;
    GEO_latlon_to_local(x, y, z, rw.lat, rw.lon, 0.0);
    EXPECT_NEAR(MAP_x_to_screen(x), 460.0f, 0.5f);
    EXPECT_TRUE(shows(lines, "123.45")) << (lines.empty() ? "" : lines[0]);
    // The runway's centre line reaches 10 nm each way along its heading (here
    // east and west of the runway's point, at the runway's height on the map).
    const float west = MAP_x_to_screen(x - 18520.0f) + 0.5f, east = MAP_x_to_screen(x + 18520.0f) + 0.5f;
    int centre_lines = 0;
    for (const fb_prim& p : capture_feedback([] { OPERATOR_panel(-999); })) {
        if ((p.token != GL_LINE_TOKEN && p.token != GL_LINE_RESET_TOKEN) || p.v.size() != 2) continue;
        const float a = std::min(p.v[0].x, p.v[1].x), b = std::max(p.v[0].x, p.v[1].x);
        centre_lines += std::fabs(p.v[0].y - p.v[1].y) < 0.01f && std::fabs(a - west) < 0.6f && std::fabs(b - east) < 0.6f;
    }
    EXPECT_EQ(centre_lines, 1) << west << " " << east;

    app_mode = MODE_OPERATOR;
    scenery_area = {-10000.0f, 10000.0f, -5000.0f, 5000.0f};
    for (const auto& [zoom, corner] : {std::pair{1.05f, false}, {1.0f, true}}) {
        screen_settings.map_zoom = zoom;
        map_ref_x = 123.0f, map_ref_z = 456.0f;
        OPERATOR_panel(-999);
        EXPECT_EQ(map_ref_x, corner ? -10000.0f : 123.0f) << zoom;
        EXPECT_EQ(map_ref_z, corner ? 5000.0f : 456.0f) << zoom;
    }
}

// The approach strip of screen 23: the touchdown 15 units inside the edge the
// landing heads toward, the 3-degree glide line rising at six times the map
// scale (slope 6 tan 3 = 0.31445), height lines every 100, 200, 500, 1000,
// 2000 or 5000 ft by n = round(20 / (0.3048 x 6 x scale)), and the flown path.
TEST_F(MapTest, ApproachStripStandsItsGlideLineAndHeightLinesOnTheTouchdown)
{
    airport_record a{};
    std::strcpy(a.id, "KTST");
    a.elevation = 100.0f;
    runway_record rw{};
    std::strcpy(rw.number, "09");
    rw.lat = 47.05f, rw.lon = -122.95f, rw.heading = 90.0f, rw.length = 2000.0f;
    a.runways = {rw};
    airport_table.push_back(a);
    chart_airport = static_cast<int>(airport_table.size()) - 1;
    app_mode = MODE_OPERATOR_AIRPORT;
    const float saved_base = map_base_scale;
    map_base_scale = 0.001f;
    OPERATOR_panel(-999);   // the screen's first frame centres the map on the airport

    struct row {
        float psi, zoom;
        int feet;
        float x0, dir;
    } rows[] = {
        // n = 109, 149, 150, 219, 547, 1094, 2187, 3125, 4374
        {80.0f, 100.0f, 100, 890.0f, -1.0f},  {80.0f, 73.3f, 100, 890.0f, -1.0f},  {80.0f, 72.8f, 200, 890.0f, -1.0f},
        {260.0f, 50.0f, 200, 30.0f, 1.0f},    {260.0f, 20.0f, 500, 30.0f, 1.0f},   {80.0f, 10.0f, 1000, 890.0f, -1.0f},
        {80.0f, 5.0f, 2000, 890.0f, -1.0f},   {80.0f, 3.5f, 5000, 890.0f, -1.0f},
        {80.0f, 2.5f, 5000, 890.0f, -1.0f},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "psi " << r.psi << " zoom " << r.zoom);
        flt[0].psi = r.psi;
        screen_settings.map_zoom = r.zoom;
        const float scale = map_base_scale * r.zoom;
        // One recorded step 1,000 m short of the touchdown on the glide (52.4 m up).
        float tx, ty, tz, landing;
        ASSERT_TRUE(OPERATOR_profile_touchdown(a, r.psi, tx, ty, tz, landing));
        for (auto& p : replay_ring) p.network_time_sec = 0.0f;
        for (int k = 0; k < 2; ++k) {
            replay_ring[k].network_time_sec = 1.0f + float(k);
            replay_ring[k].local_x = tx + r.dir * 1000.0f;
            replay_ring[k].local_y = ty + 52.4f;
            replay_ring[k].local_z = tz;
        }
        float glide_slope = 0.0f, first_line = 0.0f;
        int above_strip = 0;
        bool path_seen = false;
        for (const fb_prim& p : capture_feedback([] { OPERATOR_panel(-999); })) {
            if (p.token != GL_LINE_TOKEN && p.token != GL_LINE_RESET_TOKEN) continue;
            const fb_vertex &u = p.v[0], &v = p.v[1];
            if (std::fabs(u.x - 0.5f - r.x0) < 0.05f && std::fabs(u.y - 15.5f) < 0.05f && v.x != u.x)
                glide_slope = (v.y - u.y) / (r.dir * (v.x - u.x));
            const bool across = u.y == v.y && std::fabs(std::min(u.x, v.x) - 15.5f) < 0.05f &&
                                std::fabs(std::max(u.x, v.x) - 905.5f) < 0.05f;
            if (across && u.y > 15.5f && u.y < 205.5f && (first_line == 0.0f || u.y - 15.5f < first_line))
                first_line = u.y - 15.5f;
            if (across && u.y > 205.5f && u.y < 224.0f) ++above_strip;   // the strip ends at 205
            for (const fb_vertex& w : p.v)
                if (std::fabs(w.x - (r.x0 + r.dir * 1000.0f * scale)) < 1.5f && std::fabs(w.y - (15.0f + 52.4f * 6.0f * scale)) < 1.5f)
                    path_seen = true;
        }
        EXPECT_NEAR(glide_slope, 0.31445f, 1e-3f);
        EXPECT_NEAR(first_line, static_cast<float>(r.feet) * 0.3048f * 6.0f * scale, 0.01f);
        EXPECT_TRUE(path_seen);
        EXPECT_EQ(above_strip, 0);
    }
    map_base_scale = saved_base;
    for (auto& p : replay_ring) p = {};
}

// The diagram: one north-south runway spans 261 of the 290 units, centred;
// two runways either side of the date line draw as one group. The corners
// are projected about the local area's centre (lat_ref 48 and lon_ref -122,
// the first runway rounded, plus 1 and 1.5 degrees): 1.75 degrees east of
// the runway, its ends differ in x by 3000 m x sin 47.5 x sin 1.75 = 67.5 m,
// so the runway is 67.5 + 45 m wide, 112.5 x 261 / 3000 = 9.8 units.
TEST_F(MapTest, DiagramFitsTheAirportAndRestoresTheReference)
{
    auto runway = [](float lat, float lon, float heading) {
        runway_record rw{};
        rw.lat = lat, rw.lon = lon, rw.heading = heading, rw.length = 3000.0f, rw.width = 45.0f;
        std::strcpy(rw.number, "36");
        return rw;
    };
    airport_table.emplace_back();
    airport_table.back().runways.push_back(runway(47.5f, -122.25f, 0.0f));
    airport_table.emplace_back();
    airport_table.back().runways.push_back(runway(-16.0f, 179.99f, 90.0f));
    airport_table.back().runways.push_back(runway(-16.01f, -179.99f, 90.0f));
    airport_table.emplace_back();
    airport_table.back().runways.push_back(runway(10.0f, 10.0f, 0.0f));
    airport_table.back().runways.back().length = airport_table.back().runways.back().width = 0.0f;

    auto extent = [](int a) {
        float x1 = 1e9f, y1 = 1e9f, x2 = -1e9f, y2 = -1e9f;
        for (const fb_prim& p : capture_feedback([a] { SETUP_draw_airport_diagram(a, 100.0f, 100.0f, 390.0f, 390.0f); }))
            for (const fb_vertex& v : p.v)
                x1 = std::min(x1, v.x), x2 = std::max(x2, v.x), y1 = std::min(y1, v.y), y2 = std::max(y2, v.y);
        return std::array{x1, y1, x2, y2};
    };
    screen_settings.map_zoom = 7.0f;
    const auto one = extent(0);
    EXPECT_NEAR(one[3] - one[1], 261.0f, 0.5f);
    EXPECT_NEAR((one[1] + one[3]) / 2.0f, 245.0f, 0.5f);
    EXPECT_NEAR((one[0] + one[2]) / 2.0f, 245.0f, 0.5f);
    EXPECT_NEAR(one[2] - one[0], 9.8f, 0.1f);
    EXPECT_EQ(lat_ref, 47.0f);
    EXPECT_EQ(lon_ref, -123.0f);
    EXPECT_EQ(screen_settings.map_zoom, 1.0f);
    // On Mars the centre lies 2.5 and 3 degrees from the reference: 3.25
    // degrees east of the runway, 3000 x sin 47.5 x sin 3.25 = 125.4 m, so
    // 170.4 m wide and 170.4 x 261 / 2996 (the length seen 3 degrees south of
    // the centre) = 14.8 units.
    sim_graphics_scenery.current_planet = PLANET_MARS;
    const auto mars = extent(0);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    EXPECT_NEAR(mars[2] - mars[0], 14.8f, 0.15f);
    // A box 290 wide and 150 high: the runway's length fills 90 % of the height.
    float y_low = 1e9f, y_high = -1e9f;
    for (const fb_prim& p : capture_feedback([] { SETUP_draw_airport_diagram(0, 100.0f, 100.0f, 390.0f, 250.0f); }))
        for (const fb_vertex& v : p.v) y_low = std::min(y_low, v.y), y_high = std::max(y_high, v.y);
    EXPECT_NEAR(y_high - y_low, 135.0f, 0.5f);
    const auto across = extent(1);
    EXPECT_NEAR(across[2] - across[0], 261.0f, 0.5f);   // both runways in one compact group
    EXPECT_GT(across[3] - across[1], 20.0f);
    EXPECT_EQ(extent(2)[0], 1e9f);   // no extent: nothing drawn
}

}  // namespace

// The kept ground picture. Hilly ground with a lake, lit by its own normals,
// whose west edge lies inside the map so that part of the map is bare and
// shows what was drawn under it.
class MapGroundCacheTest : public MapTest {
protected:
    void arrange() override
    {
        MapTest::arrange();
        TEST_lay_grid(100.0f, 200, 200, [](float x, float z) { return 300.0f + 80.0f * std::sin(x / 900.0f + z / 1300.0f); });
        for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
            for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
                float* n = terrain_point_normal[TERRAIN_index(i, j)];
                const float a = 0.3f * std::sin(0.37f * float(i)), b = 0.3f * std::cos(0.23f * float(j));
                const float len = std::sqrt(a * a + b * b + 1.0f);
                n[0] = a / len, n[1] = 1.0f / len, n[2] = b / len;
                if (std::hypot(i - 215, j - 205) < 8.0) landuse_grid[TERRAIN_index(i, j)] = LANDUSE_WATER_A;
            }
        gload_dim_factor = 1.0f;
        glGetFloatv(GL_LIGHT_MODEL_AMBIENT, kept_ambient);
        MAP_ground_cache_reset();
        place(0, 1.0f, 0.0f);
    }
    void TearDown() override
    {
        gload_dim_factor = 1.0f;
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kept_ambient);   // as the test found it
        MapTest::TearDown();
    }
    GLfloat kept_ambient[4] = {};
    // Type and zoom, the grid's west edge `pan` units right of x = 300 and
    // the map `rise` units up.
    static void place(int type, float zoom, float pan, float rise = 0.0f)
    {
        view(type, zoom);
        map_scale = 0.05f * zoom;
        map_ref_x = -20000.0f - (285.0f + pan) / map_scale;
        map_ref_z = -rise / map_scale;
    }
    // How many bytes of two frames differ.
    static int differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
    {
        int n = 0;
        for (size_t k = 0; k < a.size() && k < b.size(); ++k) n += a[k] != b[k];
        return n;
    }
    // One frame over a background of the given grey: the map kept or drawn
    // in full, the screen read back into the next of four buffers used in
    // turn (a fresh 2.3-MB buffer for every frame was most of the random
    // test's time under the sanitizers). A frame's pixels hold until four
    // more frames are read; a copy keeps them longer.
    static const std::vector<uint8_t>& frame(bool kept, float background)
    {
        glClearColor(background, background, 1.0f - background, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        map_ground_cache.enabled = kept;
        MAP_draw_window(0);
        map_ground_cache.enabled = true;
        static std::array<std::vector<uint8_t>, 4> buffers;
        static size_t next = 0;
        std::vector<uint8_t>& px = buffers[next++ % buffers.size()];
        px.resize(1024 * 768 * 3);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
};

// Two calls in a row: the second draws the kept picture, and each frame has
// exactly the pixels of a full redraw, over a background that changed
// between them. Both ground and bare map are on the screen. The depth
// buffer, which marks the cells' cover while they are kept, is as it was.
TEST_F(MapGroundCacheTest, KeptGroundHasTheFullRedrawsPixelsOverAnyBackground)
{
    auto depths = [] {
        std::vector<GLuint> d(1024 * 768);
        glReadPixels(0, 0, 1024, 768, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, d.data());
        return d;
    };
    glDepthMask(GL_TRUE);
    glClearDepth(0.3);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glClearDepth(1.0);
    const auto depth_before = depths();
    const auto first = frame(true, 0.25f);
    EXPECT_TRUE(depths() == depth_before);
    EXPECT_TRUE(first == frame(false, 0.25f));
    const auto second = frame(true, 0.75f);
    EXPECT_EQ(map_ground_cache.reuses, 1);
    EXPECT_TRUE(second == frame(false, 0.75f));
    // Bare map at (200, 300) shows the background, ground at (500, 300) does not.
    auto at = [](const std::vector<uint8_t>& px, int x, int y) { return px[size_t(3 * (y * 1024 + x))]; };
    EXPECT_EQ(at(first, 200, 300), 64);
    EXPECT_EQ(at(second, 200, 300), 191);
    EXPECT_EQ(at(first, 500, 300), at(second, 500, 300));
}

// Every input of the ground redraws it: the next frame follows the change
// (its pixels differ from the last) and is what a full redraw gives.
TEST_F(MapGroundCacheTest, AChangeOfViewTypeColourLightOrGroundRedraws)
{
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"zoom", [] { place(0, 1.25f, 0.0f); }},
        {"type", [] { place(2, 1.25f, 0.0f); }},
        {"dimming", [] { gload_dim_factor = 0.5f; }},
        {"light", [] {
             const GLfloat ambient[4] = {0.05f, 0.05f, 0.1f, 1.0f};
             glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
         }},
        {"ground", [] {
             for (int j = 150; j < 250; ++j) terrain_vertex_grid[TERRAIN_index(20, j)].y += 900.0f;
         }},
        {"colour row", [] {
             place(0, 1.25f, 0.0f);
             frame(true, 0.5f);
             OGL_set_color(56, 0.3f, 0.9f, 0.1f);
         }},
    };
    auto last = frame(true, 0.5f);
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        c.change();
        const int before = map_ground_cache.reuses;
        const auto now = frame(true, 0.5f);
        EXPECT_EQ(map_ground_cache.reuses, before);
        EXPECT_FALSE(now == last);
        EXPECT_TRUE(now == frame(false, 0.5f));
        last = now;
    }
}

// Random rounds of changes (or none) to what the ground is made of: every
// frame at rest has the pixels of a full redraw, and kept pictures were
// drawn. A round that pans shows the picture shifted, then at rest in full.
TEST_F(MapGroundCacheTest, RandomChangesAlwaysGiveTheFullRedrawsPixels)
{
    uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
    };
    int type = 0;
    float zoom = 1.5f, pan = 0.0f;
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        switch (next(8)) {
            case 0: zoom = 1.0f + 0.125f * float(next(12)); break;
            case 1: pan += float(next(7) - 3); break;
            case 2: type = std::array{0, 1, 2, 3, 5}[size_t(next(5))]; break;
            case 3: gload_dim_factor = 0.5f + 0.1f * float(next(6)); break;
            case 4: landuse_grid[TERRAIN_index(200 + next(40), 180 + next(40))] ^= 1; break;
            case 5: OGL_set_color(50 + 6 * next(3), 0.1f * float(next(10)), 0.5f, 0.1f * float(next(10))); break;
            default: break;   // unchanged: the kept picture
        }
        const float was_x = map_ref_x, was_z = map_ref_z;
        place(type, zoom, pan);
        const float background = 0.1f * float(next(10));
        if (map_ref_x != was_x || map_ref_z != was_z) {
            const auto& shifted = frame(true, background);
            ASSERT_LT(differing(shifted, frame(false, background)), 200);
        }
        ASSERT_TRUE(frame(true, background) == frame(false, background));
    }
    EXPECT_GT(map_ground_cache.reuses, 30);
    EXPECT_GT(map_ground_cache.shifts, 5);
}

// A map that pans shows its kept picture shifted by whole pixels with the
// strips it uncovers drawn, cell for cell where the full redraw has them;
// moves of a fraction of a pixel add up without drift; once the map rests it
// is drawn in full and has exactly the pixels of a full redraw again.
TEST_F(MapGroundCacheTest, PanningShiftsTheKeptPictureAndARestingMapIsDrawnInFull)
{
    place(0, 1.0f, 0.0f);
    frame(true, 0.5f);
    const int window_cells = (map_visible_window.high_row - map_visible_window.low_row + 1) *
                             (map_visible_window.high_column - map_visible_window.low_column + 1);
    ASSERT_GT(window_cells, 10000);
    const std::vector<std::array<float, 2>> moves = {{3, 0}, {-7, 0}, {0, 5}, {2, -4}, {40, 30}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m[0] * 1000 + m[1]);
        place(0, 1.0f, m[0], m[1]);
        const int64_t cells = map_ground_cache.cells;
        const int shifts = map_ground_cache.shifts;
        const auto shifted = frame(true, 0.5f);
        EXPECT_EQ(map_ground_cache.shifts, shifts + 1);
        // Only the strips' cells: a few rows and columns of the window.
        EXPECT_LT(map_ground_cache.cells - cells, window_cells / 5);
        const auto full = frame(false, 0.5f);
        EXPECT_LT(differing(shifted, full), 60);
        // At rest: drawn in full, then kept.
        const int redraws = map_ground_cache.redraws, reuses = map_ground_cache.reuses;
        EXPECT_TRUE(frame(true, 0.25f) == frame(false, 0.25f));
        EXPECT_EQ(map_ground_cache.redraws, redraws + 2);
        EXPECT_TRUE(frame(true, 0.75f) == frame(false, 0.75f));
        EXPECT_EQ(map_ground_cache.reuses, reuses + 1);
    }
    // Ten moves of 0.3 units: the picture moves a pixel now and then, never
    // more than half a pixel from where the map is, and ends where it should.
    for (int k = 1; k < 10; ++k) {
        place(0, 1.0f, 0.3f * float(k));
        frame(true, 0.5f);
    }
    const int before = map_ground_cache.shifts;
    place(0, 1.0f, 3.0f);
    const auto slid = frame(true, 0.5f);
    EXPECT_EQ(map_ground_cache.shifts, before + 1);
    EXPECT_LT(differing(slid, frame(false, 0.5f)), 60);
    // A move across half the map is drawn in full.
    const int redraws = map_ground_cache.redraws;
    place(0, 1.0f, 500.0f);
    frame(true, 0.5f);
    EXPECT_EQ(map_ground_cache.redraws, redraws + 1);
}
