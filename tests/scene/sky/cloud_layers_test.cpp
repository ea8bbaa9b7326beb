// Cloud layers in the 3-D pass, caught in feedback mode: puff layers at their
// heights, faded to the fog end and drawn far to near; the overcast field's
// sheets and the lightning's glow on them; the grid held inside the loaded
// block; the pass a layer is drawn in.
#include "tests/scene/sky/sky_fixture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

namespace {

constexpr float SIDE_HALF = 60000.0f, Y0 = 0.0f, Y1 = 6000.0f;

class CloudLayers : public SkyState {
protected:
    void SetUp() override
    {
        SkyState::SetUp();
        sim_weather.cloud_type[0] = 2;
        CLOUD_update_draw();   // the cell box and the textures
        // The camera level at 20 m looking north; 20 km of fog.
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, 0.0f);
        pass_to_view();
        fog_end = 20000.0f;
    }

    // Every cell holds the given puffs (offsets from its centre, size 100 m).
    static void fill_cells(const std::vector<std::array<float, 3>>& offsets)
    {
        for (cloud_cell& c : cloud_cells) {
            c.clear();
            for (const auto& o : offsets) {
                c.draw_order.push_back(c.count++);
                c.light_order.push_back(c.draw_order.back());
                c.puffs.push_back(cloud_puff{o[0], o[1], o[2], 100.0f, 1, 1, 1, 0, 0, 0});
            }
        }
    }

    // The centre heights (m) of the drawn quads, seen from the south.
    static std::vector<float> quad_heights(const std::vector<fb_primitive>& p)
    {
        std::vector<float> out;
        for (const fb_primitive& q : p) {
            if (q.kind != GL_POLYGON_TOKEN) continue;
            float lo = 1e9f, hi = -1e9f;
            for (const fb_vertex& v : q.v) lo = std::min(lo, v.y), hi = std::max(hi, v.y);
            out.push_back(world_y(0.5f * (lo + hi), Y0, Y1));
        }
        return out;
    }
};

}  // namespace

TEST_F(CloudLayers, PuffLayersSitAboveTheirBaseByType)
{
    fill_cells({{0.0f, 0.0f, 0.0f}});
    const struct {
        int type;
        float centre;
    } rows[] = {{2, 1000.0f + 1066.8f}, {3, 1000.0f + 1219.2f}, {4, 1000.0f}};
    for (const auto& r : rows) {
        sim_weather.cloud_type[0] = r.type;
        sim_weather.cloud_base_msl_m[0] = 1000.0f;
        side_view(SIDE_HALF, Y0, Y1);
        const std::vector<float> h = quad_heights(feedback([] { CLOUD_draw_layer(0); }));
        ASSERT_FALSE(h.empty()) << r.type;
        for (const float y : h) EXPECT_NEAR(y, r.centre, 0.5f) << r.type;
        EXPECT_EQ(cloud_shadow_base, 1000.0f);
    }
    // Through the layer drawer: types 2 and 3 are the puffs, a base that is no number draws nothing.
    sim_weather.cloud_type[0] = 3;
    side_view(SIDE_HALF, Y0, Y1);
    EXPECT_FALSE(quad_heights(feedback([] { SKYOBJ_draw_clouds(0); })).empty());
    for (const float bad : {NAN, INFINITY}) {
        sim_weather.cloud_base_msl_m[0] = bad;
        EXPECT_TRUE(feedback([] { SKYOBJ_draw_clouds(0); }).empty());
    }
    sim_weather.cloud_base_msl_m[0] = 1000.0f;
    for (const int type : {-1, 5, 1 << 30}) {
        sim_weather.cloud_type[0] = type;
        EXPECT_TRUE(feedback([] { SKYOBJ_draw_clouds(0); }).empty()) << type;
    }
}

TEST_F(CloudLayers, BillboardsFaceTheCameraTurnedByPitchAndHeading)
{
    // Heading 30, pitch 20, puffs of size 100: corner (a, b) lies at
    // x = 100 (a cos 30 - b sin 20 sin 30), y = 100 b cos 20. Seen from the
    // south the top edge (b = 1, 93.97 m up) runs from -103.70 to 69.50 m and
    // the bottom edge from -69.50 to 103.70: the top sits 34.20 m to the west.
    fill_cells({{0.0f, 0.0f, 0.0f}});
    sim_weather.cloud_base_msl_m[0] = 1000.0f;
    camera_at(0.0f, 20.0f, 0.0f, 20.0f, 30.0f);
    pass_to_view();
    side_view(SIDE_HALF, Y0, Y1);
    const std::vector<fb_primitive> p = quads(feedback([] { CLOUD_draw_layer(0); }));
    ASSERT_FALSE(p.empty());
    for (const fb_primitive& q : p) {
        float y0 = 1e9f, y1 = -1e9f;
        for (const fb_vertex& v : q.v) y0 = std::min(y0, world_y(v.y, Y0, Y1)), y1 = std::max(y1, world_y(v.y, Y0, Y1));
        float top[2] = {1e9f, -1e9f}, bottom[2] = {1e9f, -1e9f};
        for (const fb_vertex& v : q.v) {
            float* edge = world_y(v.y, Y0, Y1) > 0.5f * (y0 + y1) ? top : bottom;
            edge[0] = std::min(edge[0], world_x(v.x, SIDE_HALF)), edge[1] = std::max(edge[1], world_x(v.x, SIDE_HALF));
        }
        EXPECT_NEAR(y1 - y0, 2.0f * 93.969f, 0.5f);
        EXPECT_NEAR(top[1] - top[0], 173.21f, 0.5f);
        EXPECT_NEAR(0.5f * (top[0] + top[1]) - 0.5f * (bottom[0] + bottom[1]), -34.20f, 0.5f);
    }
}

TEST_F(CloudLayers, PuffsFadeToTheFogEndFarthestFirst)
{
    // The camera at the cell centres' height, puffs 1,000, 600 and 300 m north of the middle cell's centre.
    sim_weather.cloud_base_msl_m[0] = 1000.0f - 1066.8f;
    fill_cells({{0.0f, 0.0f, -300.0f}, {0.0f, 0.0f, -1000.0f}, {0.0f, 0.0f, -600.0f}});
    sim_graphics_view.view_y = 1000.0f;
    fog_end = 1000.0f;
    side_view(SIDE_HALF, Y0, Y1);
    std::vector<fb_primitive> p = quads(feedback([] { CLOUD_draw_layer(0); }));
    EXPECT_EQ(p.size(), 2u);   // the one exactly at the fog end is left out
    fog_end = 1000.5f;
    feedback([] { CLOUD_draw_layer(0); });           // drawn once: the order is sorted after it
    p = quads(feedback([] { CLOUD_draw_layer(0); }));
    ASSERT_EQ(p.size(), 3u);
    EXPECT_GT(p[0].v[0].a, 0.0f);
    EXPECT_LT(p[0].v[0].a, 0.002f);                  // just inside: nearly clear
    EXPECT_LT(p[0].v[0].a, p[1].v[0].a);
    EXPECT_LT(p[1].v[0].a, p[2].v[0].a);
    const cloud_cell& c = cloud_cells[0];
    EXPECT_EQ(c.draw_order, (std::vector<int32_t>{1, 2, 0}));

    // Far west and south of the origin the grid indices are negative; they
    // still map onto stored cells 0..8.
    camera_at(-9260.0f * 12.0f, 1000.0f, 9260.0f * 10.0f, 0.0f, 0.0f);
    pass_to_view();
    fog_end = 20000.0f;
    for (cloud_cell& cell : cloud_cells) cell.puffs[0].eye_distance = -1.0f;
    side_view(1e6f, Y0, Y1);
    EXPECT_GT(quads(feedback([] { CLOUD_draw_layer(0); })).size(), 0u);
    EXPECT_GE(cloud_cells[size_t(6 * CLOUD_GRID + 8)].puffs[0].eye_distance, 0.0f);   // i -12, j -10 went through it
}

TEST_F(CloudLayers, CellsAreDrawnFarToNearWhicheverWayTheCameraLooks)
{
    // One puff at each cell's centre, the picture taken from behind and above
    // the camera, looking down its heading at 60 degrees: each quad's centre
    // is its cell's. Along every row and every column the cells come farthest
    // first, so a nearer puff always paints over a farther one.
    fill_cells({{0.0f, 0.0f, 0.0f}});
    sim_weather.cloud_base_msl_m[0] = 1000.0f;
    const float Y = 1000.0f + 1066.8f, tilt = 60.0f * 0.017453293f;
    constexpr float HALF = 80000.0f;
    for (int k = 0; k < 8; ++k) {
        const float heading = 22.5f + 45.0f * static_cast<float>(k);
        camera_at(0.0f, 20.0f, 0.0f, 0.0f, heading);
        pass_to_view();
        fog_end = 40000.0f;
        top_view(HALF);
        glLoadIdentity();
        glRotatef(60.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(heading, 0.0f, 1.0f, 0.0f);
        const std::vector<fb_primitive> p = quads(feedback([] { CLOUD_draw_layer(0); }));
        ASSERT_GE(p.size(), 4u) << heading;
        const float H = heading * 0.017453293f;
        std::vector<std::array<float, 3>> cells;   // x, z, distance along the view
        for (const fb_primitive& q : p) {
            float sx = 0.0f, sy = 0.0f;
            for (const fb_vertex& v : q.v) sx += v.x, sy += v.y;
            const float ax = world_x(sx / float(q.v.size()), HALF);   // across the view
            const float turned_y = (sy / float(q.v.size()) / 768.0f * 2.0f - 1.0f) * HALF;
            const float az = (Y * std::cos(tilt) - turned_y) / std::sin(tilt);   // along, negative ahead
            cells.push_back({ax * std::cos(H) - az * std::sin(H), ax * std::sin(H) + az * std::cos(H), -az});
        }
        int rows = 0, columns = 0;
        for (size_t a = 0; a < cells.size(); ++a)
            for (size_t b = a + 1; b < cells.size(); ++b) {
                const bool same_column = std::fabs(cells[a][0] - cells[b][0]) < 500.0f;
                const bool same_row = std::fabs(cells[a][1] - cells[b][1]) < 500.0f;
                if (!same_column && !same_row) continue;
                (same_column ? columns : rows)++;
                EXPECT_GT(cells[a][2], cells[b][2]) << "heading " << heading << ": cell " << a << " before " << b;
            }
        EXPECT_GT(rows, 0) << heading;
        EXPECT_GT(columns, 0) << heading;
        // The outer loop runs along the cells of the nearer axis: looking
        // mostly north or south (octants 1, 4, 5, 8) each row of equal z is
        // drawn whole before the next, otherwise each column of equal x.
        const bool rows_whole = k == 0 || k == 3 || k == 4 || k == 7;
        std::set<long> done;
        long current = LONG_MIN;
        for (const auto& c : cells) {
            const long key = std::lround((rows_whole ? c[1] : c[0]) / 1000.0f);
            if (key == current) continue;
            EXPECT_TRUE(done.insert(key).second) << "heading " << heading << ": the " << (rows_whole ? "row" : "column")
                                                 << " at " << key << " km comes back";
            current = key;
        }
    }
}

TEST_F(CloudLayers, OvercastSheetsByTheirNoiseAndTheBolt)
{
    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_base_msl_m[0] = 1500.0f;
    sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    for (int k = 0; k < 3; ++k) scene_cockpit_light_rgb[k] = 0.5f;
    // Looking straight down, the sheets turn flat and show from above.
    sim_graphics_view.view_pitch = -90.0f;
    const auto sheets = [] {
        top_view(SIDE_HALF);
        return quads(feedback([] { SKYOBJ_draw_clouds(0); }));
    };
    // The noise says where sheets hang: every point below 0.8, none at 0.8.
    std::fill(std::begin(random_table), std::end(random_table), 0.79f);
    const std::vector<fb_primitive> all = sheets();
    EXPECT_GT(all.size(), 100u);
    std::fill(std::begin(random_table), std::end(random_table), 0.8f);
    EXPECT_EQ(sheets().size(), 0u);
    CONST_fill_random_table();

    const std::vector<fb_primitive> plain = sheets();
    ASSERT_FALSE(plain.empty());
    for (const fb_primitive& q : plain) EXPECT_NEAR(q.v[0].r, 0.5f, 1e-4f);
    // A bolt 3 km north of the camera lights the sheets within 10 km of it.
    weather_stage.lightning_flash = 1;
    weather_stage.lightning_bolts[0][0][0] = 0.0f;
    weather_stage.lightning_bolts[0][0][2] = -3000.0f;
    int brighter = 0, near = 0;
    for (const fb_primitive& q : sheets()) {
        float x = 0.0f, z = 0.0f;
        for (const fb_vertex& v : q.v) x += world_x(v.x, SIDE_HALF) / q.v.size(), z += world_z(v.y, SIDE_HALF) / q.v.size();
        const float d = std::hypot(x, z + 3000.0f);
        if (d < 9000.0f) ++near, brighter += q.v[0].r > 0.5f + 1e-3f;
        if (d > 11500.0f) {
            EXPECT_NEAR(q.v[0].r, 0.5f, 1e-4f);
        }
    }
    EXPECT_GT(near, 5);
    EXPECT_EQ(brighter, near);
}

TEST_F(CloudLayers, OvercastSheetsHangHalfAKilometreOverTheBaseOrTheTops)
{
    // Base 1,500 m, tops 2,500 m (middle 2,000); the camera 1,000 m above the
    // ground under it lifts the layer by 0.02 x 1,000 = 20 m. With the noise
    // at 0.5 the sheets keep their grid places and heights: centre = the draw
    // height + 500 m, the draw height being the base below the middle and the
    // tops at or above it.
    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_base_msl_m[0] = 1500.0f;
    sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    sim_graphics_view.view_y = 20.0f;
    scene_ground_elevation = -980.0f;
    fog_end = 3000.0f;
    std::fill(std::begin(random_table), std::end(random_table), 0.5f);
    const struct {
        float camera_msl, centre;
    } rows[] = {{1000.0f, 2020.0f}, {1999.0f, 2020.0f}, {2000.0f, 3020.0f}, {4000.0f, 3020.0f}};
    for (const auto& r : rows) {
        sim_graphics_view.view_elevation_m_msl = r.camera_msl;
        side_view(SIDE_HALF, Y0, Y1);
        const std::vector<float> h = quad_heights(feedback([] { SKYOBJ_draw_clouds(0); }));
        ASSERT_FALSE(h.empty()) << r.camera_msl;
        for (const float y : h) EXPECT_NEAR(y, r.centre, 1.5f) << r.camera_msl;
    }
}

TEST_F(CloudLayers, OvercastSheetsLieOffTheirGridPointsByTheirNoise)
{
    // Noise 0.9 at even indexes, 0.1 at odd ones: only odd keys q carry a
    // sheet (trunc(10 x 0.1) + 1 < 9); x moves by 3000 x noise[2q] - 1500 =
    // +1,200 m and z by 3000 x noise[5q] - 1500 = -1,200 m. Taken back, every
    // centre lands on the 0.01 x 0.015 degree grid.
    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_base_msl_m[0] = 1500.0f;
    sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    sim_graphics_view.view_pitch = -90.0f;
    for (size_t i = 0; i < RANDOM_TABLE_SIZE; ++i) random_table[i] = i % 2 == 0 ? 0.9f : 0.1f;
    top_view(SIDE_HALF);
    const std::vector<fb_primitive> p = quads(feedback([] { SKYOBJ_draw_clouds(0); }));
    ASSERT_GT(p.size(), 10u);
    for (const fb_primitive& q : p) {
        float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
        for (const fb_vertex& v : q.v) {
            x0 = std::min(x0, world_x(v.x, SIDE_HALF)), x1 = std::max(x1, world_x(v.x, SIDE_HALF));
            z0 = std::min(z0, world_z(v.y, SIDE_HALF)), z1 = std::max(z1, world_z(v.y, SIDE_HALF));
        }
        float lat, lon, el;
        GEO_local_to_latlon(lat, lon, el, 0.5f * (x0 + x1) - 1200.0f, 3000.0f, 0.5f * (z0 + z1) + 1200.0f);
        EXPECT_NEAR(lat / 0.01f, std::round(lat / 0.01f), 0.05f) << lat << " " << lon;
        EXPECT_NEAR(lon / 0.015f, std::round(lon / 0.015f), 0.05f) << lat << " " << lon;
    }

    // One key alone carries a sheet: grid point (34.00, -117.495), indexes
    // (3400, -7833), key 10 x 3400 + 7833 = 41833, noise[1833]. Its neighbours
    // at 0.85 carry none; it moves 3000 x 0.85 - 1500 = 1,050 m east and south.
    // (Keys one row north and ten columns west share the entry: 5 km of fog
    // keeps them out.)
    fog_end = 5000.0f;
    std::fill(std::begin(random_table), std::end(random_table), 0.85f);
    random_table[1833] = 0.5f;
    sim_graphics_view.view_latitude_deg = 34.0f, sim_graphics_view.view_longitude_deg = -117.5f;
    top_view(SIDE_HALF);
    const std::vector<fb_primitive> one = quads(feedback([] { SKYOBJ_draw_clouds(0); }));
    ASSERT_EQ(one.size(), 1u);
    float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
    for (const fb_vertex& v : one[0].v) {
        x0 = std::min(x0, world_x(v.x, SIDE_HALF)), x1 = std::max(x1, world_x(v.x, SIDE_HALF));
        z0 = std::min(z0, world_z(v.y, SIDE_HALF)), z1 = std::max(z1, world_z(v.y, SIDE_HALF));
    }
    float gx, gy, gz;
    GEO_latlon_to_local(gx, gy, gz, 34.0, -117.495, 3000.0);
    EXPECT_NEAR(0.5f * (x0 + x1), gx + 1050.0f, 5.0f);
    EXPECT_NEAR(0.5f * (z0 + z1), gz + 1050.0f, 5.0f);
    // Its sides, flat under the downward view: 2 x 1000 x (0.5 x 0.85 + 0.5)
    // high and 2 x 1000 x (0.5 x 0.85 + 0.75) wide (the quad comes back as
    // two triangles: the distances between its corners, shortest first, are
    // two heights, two widths and two diagonals).
    std::vector<float> d;
    for (size_t a = 0; a < one[0].v.size(); ++a)
        for (size_t b = a + 1; b < one[0].v.size(); ++b) {
            const float l = std::hypot(world_x(one[0].v[a].x, SIDE_HALF) - world_x(one[0].v[b].x, SIDE_HALF),
                                       world_z(one[0].v[a].y, SIDE_HALF) - world_z(one[0].v[b].y, SIDE_HALF));
            if (l > 1.0f && std::none_of(d.begin(), d.end(), [&](float e) { return std::fabs(e - l) < 1.0f; }))
                d.push_back(l);
        }
    std::sort(d.begin(), d.end());
    ASSERT_EQ(d.size(), 3u);
    EXPECT_NEAR(d[0], 1850.0f, 10.0f);
    EXPECT_NEAR(d[1], 2350.0f, 10.0f);
}

TEST_F(CloudLayers, TheGridStaysInsideTheLoadedBlock)
{
    // Thin sheets (0.06 x 0.1 degrees) at every fog range, at 34, 60 and 89.9 degrees north.
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_base_msl_m[0] = sim_weather.cloud_tops_msl_m[0] = 9000.0f;
    for (const float lat : {34.0f, 60.0f, 89.9f}) {
        lat_ref = std::floor(lat) - 1.0f;
        lon_ref = -119.0f;
        for (const float range : {0.0f, 500.0f, 20000.0f, 46300.0f, 1e7f, INFINITY}) {
            sim_graphics_view.view_latitude_deg = lat;
            sim_graphics_view.view_longitude_deg = -117.0f;
            fog_end = range;
            top_view(400000.0f);
            const std::vector<fb_primitive> p = feedback([] { SKYOBJ_draw_clouds(0); });
            if (!(range > 0.0f) || !std::isfinite(range)) continue;
            ASSERT_FALSE(p.empty()) << lat << " " << range;
            for (const fb_primitive& q : p)
                for (const fb_vertex& v : q.v) {
                    float la, lo, el;
                    GEO_local_to_latlon(la, lo, el, world_x(v.x, 400000.0f), 9000.0f, world_z(v.y, 400000.0f));
                    ASSERT_GE(la, lat_ref - 0.01f) << lat << " " << range;
                    ASSERT_LE(la, lat_ref + 2.01f) << lat << " " << range;
                    ASSERT_GE(lo, lon_ref - 0.01f) << lat << " " << range;
                    ASSERT_LE(lo, lon_ref + 3.01f) << lat << " " << range;
                }
        }
    }
}

TEST_F(CloudLayers, TheThinLayerSlidesWithTheWind)
{
    // 20 kt (10.28888 m/s) at every height; 10 s frames at 34 degrees north.
    // Grid cells of 0.1 degree of longitude (11,112 m x cos 34 = 9,212.27 m)
    // and 0.06 of latitude (6,667.2 m): the sheet's texture slides by the
    // distance the wind carries it over a cell's size, wrapped into 0..1.
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_base_msl_m[0] = sim_weather.cloud_tops_msl_m[0] = 9000.0f;
    sim_operation_misc.frame_rate_period = 10.0f;
    const struct {
        float from_deg, u, v;
    } winds[] = {
        {90.0f, 0.0111687f, 0.0f},      // from the east: the sheet goes west, u grows
        {270.0f, 0.9888313f, 0.0f},     // from the west: u falls below 0 and wraps
        {180.0f, 0.0f, 0.9845679f},     // from the south: v falls by 0.0154321 and wraps
        {0.0f, 0.0f, 0.0154321f},       // from the north
    };
    for (const auto& w : winds) {
        for (int k = 0; k < WIND_LAYERS; ++k) {
            sim_weather.wind_speed_kt[k] = 20.0f;
            sim_weather.wind_direction_degt[k] = w.from_deg;
        }
        sim_graphics_view.view_latitude_deg = 34.0f;
        sim_graphics_view.view_longitude_deg = -117.5f;
        cloud_sheet_drift = cloud_sheet_drift_record{};
        feedback([] { SKYOBJ_draw_clouds(0); });
        EXPECT_NEAR(cloud_sheet_drift.u, w.u, 2e-6f) << w.from_deg;
        EXPECT_NEAR(cloud_sheet_drift.v, w.v, 2e-6f) << w.from_deg;
    }
    // No layer: the drift stays.
    sim_weather.cloud_type[0] = 0;
    feedback([] { SKYOBJ_draw_clouds(0); });
    EXPECT_NEAR(cloud_sheet_drift.v, 0.0154321f, 2e-6f);
}

TEST_F(CloudLayers, ALayerBasedAtTheCameraIsDrawnAfterTheTerrain)
{
    const float e = sim_graphics_view.view_elevation_m_msl;
    for (const float base : {e, e - 100.0f, e + 100.0f}) {
        sim_weather.cloud_base_msl_m[0] = base;
        sim_weather.cloud_tops_msl_m[0] = base + 1000.0f;
        SKY_visibility_and_gates();
        // The first pass (before the terrain objects) takes the layers whose band lies above the camera.
        EXPECT_EQ(scene_cloud_bands[0].rel < 0.0f, base > e) << base - e;
    }
}

TEST_F(CloudLayers, ACellDrawsEveryPuffTheViewCanSee)
{
    // The camera inside the middle cell of a generated broken layer, puffs all
    // about it: the cell gives exactly the quads that drawing every one of its
    // puffs gives, whichever way the camera looks.
    sim_weather.cloud_type[0] = 3;
    CLOUD_update_draw();
    cloud_cell& c = cloud_cells[4 * CLOUD_GRID + 4];
    ASSERT_GT(c.puffs.size(), 100u);
    const float Y = 3000.0f;
    const struct {
        float heading, pitch, roll;
    } views[] = {{0, 0, 0}, {90, 30, 0}, {200, -60, 0}, {45, 89, 0}, {300, 10, 40}, {135, -89, -20}};
    for (const auto& w : views) {
        camera_at(300.0f, Y + 50.0f, -200.0f, w.pitch, w.heading, w.roll);
        pass_to_view();
        fog_end = 1.0e6f;
        const float H = w.heading * 0.017453293f, P = w.pitch * 0.017453293f;
        float cx[4], cy[4], cz[4];
        const float A[4] = {-1, -1, 1, 1}, B[4] = {-1, 1, 1, -1};
        for (int m = 0; m < 4; ++m) {
            cx[m] = A[m] * std::cos(H) - B[m] * std::sin(P) * std::sin(H);
            cy[m] = B[m] * std::cos(P);
            cz[m] = B[m] * std::sin(P) * std::cos(H) + A[m] * std::sin(H);
        }
        const std::vector<int32_t> order = c.draw_order;
        const std::vector<fb_primitive> every = quads(feedback([&] {
            glPushMatrix();
            glTranslatef(0.0f, Y, 0.0f);
            glBegin(GL_QUADS);
            for (const int32_t i : order) {
                const cloud_puff& p = c.puffs[size_t(i)];
                for (int m = 0; m < 4; ++m) glVertex3f(p.dx + cx[m] * p.size, p.dy + cy[m] * p.size, p.dz + cz[m] * p.size);
            }
            glEnd();
            glPopMatrix();
        }));
        for (cloud_puff& p : c.puffs) p.eye_distance = -1.0f, p.alpha = 0.0f;
        const std::vector<fb_primitive> drawn = quads(feedback([&] { CLOUD_draw_cell(4, 4, 0.0f, Y, 0.0f, cx, cy, cz); }));
        EXPECT_GT(every.size(), 5u) << w.heading;
        EXPECT_LT(every.size(), order.size()) << w.heading;   // some puffs lie out of view
        ASSERT_EQ(drawn.size(), every.size()) << w.heading;
        for (size_t k = 0; k < drawn.size(); ++k) {
            ASSERT_EQ(drawn[k].v.size(), every[k].v.size()) << w.heading;
            for (size_t m = 0; m < drawn[k].v.size(); ++m) {
                EXPECT_NEAR(drawn[k].v[m].x, every[k].v[m].x, 0.01f);
                EXPECT_NEAR(drawn[k].v[m].y, every[k].v[m].y, 0.01f);
            }
        }
        // Seen or not, every puff has its distance and alpha of this pass.
        for (const cloud_puff& p : c.puffs) ASSERT_TRUE(p.eye_distance >= 0.0f && p.alpha > 0.0f) << w.heading;
    }
}
