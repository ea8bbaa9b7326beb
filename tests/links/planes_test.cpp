// Planes and settings from peers: positions with their scenery tile, plane
// states, aircraft paths, runway starts and the rendering settings.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include "aircraft/flight_start.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/sim_frame.h"
#include "links/speech.h"
#include "links/plugin_host.h"
#include "world/fires.h"
#include "world/origin_shift.h"
#include "world/scene_terrain.h"
#include "scene/effects/particles.h"
#include "scene/scene_state.h"
#include "tests/links/net_fixture.h"
#include "tests/support/terrain_support.h"

namespace {

class Planes : public NetState {
protected:
    void SetUp() override
    {
        NetState::SetUp();
        TEST_lay_flat_grid(0.0f);
    }
};

// Which rebuild of the scene the last step asked for, seen on the storm grid:
// 1 every block, 2 the west column, 3 the east column, 4 the north row, 5 the
// south row; 0 none (Earth: three columns, two rows of blocks).
template <class F>
int scene_code_of(F&& step)
{
    std::fill(std::begin(storm_grid), std::end(storm_grid), -7.0f);
    step();
    auto rebuilt = [](int bx, int bz) {
        const int x = bx * STORM_GRID_DIM / 3 + 10, z = bz * STORM_GRID_DIM / 2 + 10;
        return storm_grid[x * STORM_GRID_DIM + z] != -7.0f;
    };
    int count = 0;
    for (int bx = 0; bx < 3; ++bx)
        for (int bz = 0; bz < 2; ++bz) count += rebuilt(bx, bz);
    if (count == 6) return 1;
    if (count == 0) return 0;
    if (count == 2 && rebuilt(0, 0) && rebuilt(0, 1)) return 2;
    if (count == 2 && rebuilt(2, 0) && rebuilt(2, 1)) return 3;
    if (count == 3 && rebuilt(0, 1) && rebuilt(1, 1) && rebuilt(2, 1)) return 4;
    if (count == 3 && rebuilt(0, 0) && rebuilt(1, 0) && rebuilt(2, 0)) return 5;
    return -1;
}

// The user's plane from a station that instructs this copy: the plane and
// the tile move as the rule says.
TEST_F(Planes, PositionsFromOutsideMoveThePlaneAndTheTileAsTheRuleSays)
{
    enable(10);
    net_onep_record p{100.0f, 200.0f, 300.0f, 90.0f, 5.0f, -3.0f, 47.9f, -121.6f};
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 0);   // tile 46: no rebuild
    EXPECT_EQ(flt[0].local_y, 200.0f);
    EXPECT_EQ(flt[0].psi, 90.0f);
    EXPECT_EQ(sim_operation_override.override_planepath[0], 1);
    EXPECT_EQ(net_origin_by_network, 1);

    p.latitude = 48.2f;   // one tile north
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 4);
    EXPECT_EQ(lat_ref, 47.0f);
    p.longitude = -122.7f;   // one tile west
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 2);
    EXPECT_EQ(lon_ref, -124.0f);

    // Across the date line the difference wraps by 361: a full rebuild, not a shift.
    lon_ref = -180.0f;
    p.longitude = 180.0f;   // candidate 178.5 -> 178
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 1);
    EXPECT_EQ(lon_ref, 178.0f);
    // From tile 179 to tile -180: -359 + 361 = 2, a full rebuild (by 360 it
    // would read as one tile east).
    lon_ref = 179.0f;
    p.longitude = -178.6f;   // candidate -180.1 -> -180
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 1);
    EXPECT_EQ(lon_ref, -180.0f);
    // Latitudes wrap by 181: from tile -90 to tile 89 is 179 - 181 = -2, a full rebuild.
    lat_ref = -90.0f;
    p.latitude = 90.0f;   // candidate 89
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 1);
    EXPECT_EQ(lat_ref, 89.0f);

    // A plane this copy does not fly is left alone.
    flt[5].local_x = 1.0f;
    receive_record("ONEP", 5, p);
    EXPECT_EQ(flt[5].local_x, 1.0f);

    // All planes: only those in use; a count of 0 still moves the tile.
    net_allp_record all{};
    for (int i = 0; i < 10; ++i) all.local_x[i] = 1000.0f + i;
    all.latitude = 20.5f;
    all.longitude = 10.5f;
    receive_record("ALLP", 9, all);
    EXPECT_EQ(flt[2].local_x, 1002.0f);
    EXPECT_NE(flt[3].local_x, 1003.0f);
    all.latitude = 30.5f;
    flt[0].local_x = 5.0f;
    EXPECT_EQ(scene_code_of([&] { receive_record("ALLP", 0, all); }), 1);
    EXPECT_EQ(flt[0].local_x, 5.0f);
    EXPECT_EQ(lat_ref, 29.0f);
}

// A one-tile move a peer's position asks for carries the scene's own records
// with the world's, through the hook the program installs: a live particle
// (its floor with it), a fire and the camera all stay where they were on the
// ground, so they shift as one; the camera's terrain cell moves a degree.
TEST_F(Planes, AOneTileMoveFromOutsideCarriesTheScenesRecordsToo)
{
    enable(6);   // this copy shows its master's flight
    net_onep_record p{100.0f, 200.0f, 300.0f, 90.0f, 5.0f, -3.0f, 47.9f, -121.6f};
    receive_record("ONEP", 0, p);
    ASSERT_EQ(lon_ref, -123.0f);
    particle_list = {particle_record{}};
    particle_record& r = particle_list[0];
    r.x = 100.0f, r.y = 50.0f, r.z = 100.0f, r.floor_y = 40.0f, r.age = 1.0f, r.life = 5.0f;
    fire_table.x[0] = 100.0f, fire_table.y[0] = 50.0f, fire_table.z[0] = 100.0f;
    sim_graphics_view.view_x = 100.0f, sim_graphics_view.view_y = 50.0f, sim_graphics_view.view_z = 100.0f;
    camera_cell.column = 10;

    p.longitude = -122.7f;   // one tile west
    EXPECT_EQ(scene_code_of([&] { receive_record("ONEP", 0, p); }), 2);
    ASSERT_EQ(lon_ref, -124.0f);
    EXPECT_GT(r.x - 100.0f, 70000.0f);   // a degree of longitude near 47 degrees north
    EXPECT_LT(r.x - 100.0f, 82000.0f);
    EXPECT_FLOAT_EQ(r.floor_y - 40.0f, r.y - 50.0f);
    EXPECT_EQ(fire_table.x[0], r.x);
    EXPECT_EQ(sim_graphics_view.view_x, r.x);
    EXPECT_EQ(sim_graphics_view.view_z, r.z);
    EXPECT_GT(camera_cell.column, 10);
}

// A position for a peer's plane, at the poles, at 180 degrees or far from
// the scenery, places that plane where it says (its local place is about the
// tile its latitude and longitude lie in) and nothing else: the user's plane,
// the tile and the origin stay, with or without a multiplayer peer. The
// user's plane from a sender this copy does not follow is refused.
TEST_F(Planes, APeersPositionPlacesOnlyItsOwnPlane)
{
    flt[0].local_x = 10.0f, flt[0].local_y = 20.0f, flt[0].local_z = 30.0f, flt[0].psi = 40.0f;
    const flt_struct user = flt[0];
    const float rows[][2] = {{-89.9f, 10.0f}, {89.9f, -60.0f}, {90.0f, 180.0f}, {-90.0f, -180.0f}, {46.5f, 180.0f},
                             {-33.9f, 151.2f}};
    for (const auto& r : rows) {
        const net_onep_record p{300.0f, 500.0f, -200.0f, 70.0f, 2.0f, -4.0f, r[0], r[1]};
        net_allp_record all{};
        all.local_x[0] = all.local_x[1] = p.local_x, all.local_y[0] = all.local_y[1] = p.local_y;
        all.local_z[0] = all.local_z[1] = p.local_z, all.psi[1] = p.psi, all.latitude = r[0], all.longitude = r[1];
        const double c_lat = static_cast<int>(r[0] - 1.0f) + 1.0, c_lon = static_cast<int>(r[1] - 1.5f) + 1.5;
        const geo_point at = GEO_local_to_latlon_about(c_lat, c_lon, p.local_x, p.local_y, p.local_z);
        const double psi = 70.0 * DEG_TO_RAD_DOUBLE;
        const geo_point ahead = GEO_local_to_latlon_about(c_lat, c_lon, p.local_x + 100.0 * std::sin(psi), p.local_y,
                                                          p.local_z - 100.0 * std::cos(psi));
        for (int k = 0; k < 3; ++k) {
            net_slot_enabled[0] = k == 2;
            flt[1] = flt_struct{};
            if (k == 1) receive_record("ALLP", 2, all); else receive_record("ONEP", 1, p);
            const std::string row = std::to_string(r[0]) + ", " + std::to_string(r[1]) + (k == 1 ? " ALLP" : " ONEP");
            EXPECT_EQ(std::tuple(flt[0].local_x, flt[0].local_y, flt[0].local_z, flt[0].psi),
                      std::tuple(user.local_x, user.local_y, user.local_z, user.psi)) << row;
            EXPECT_EQ(std::tuple(lat_ref, lon_ref, net_origin_by_network, NET_world_commands_waiting()),
                      std::tuple(46.0f, -123.0f, 0, 0)) << row;
            double x, y, z, ax, ay, az;
            GEO_latlon_to_local_about(47.0, -121.5, at, x, y, z);
            GEO_latlon_to_local_about(47.0, -121.5, ahead, ax, ay, az);
            EXPECT_LT(std::hypot(flt[1].local_x - x, flt[1].local_y - y, flt[1].local_z - z), 5.0) << row;
            const double heading = std::atan2(ax - x, -(az - z)) * RAD_TO_DEG_DOUBLE;
            EXPECT_LT(std::fabs(UTIL_wrap_pm180(flt[1].psi - heading)), 0.1) << row;
        }
    }
    EXPECT_EQ(sim_operation_override.override_planepath[0], 0);
    const uint64_t refused = net_counters.refused;
    plane_state_record rec{};
    PLANE_pack_state(rec, 1);
    receive_record("SNAP", 0, rec);
    for (int k = 0; k < 10; ++k, frame_clock += 0.5f)   // for longer than a peer's plane is hidden after
        receive_record("ONEP", 0, net_onep_record{1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f, -89.9f, 10.0f});
    EXPECT_EQ(net_counters.refused, refused + 11);
    EXPECT_EQ(flt[0].local_x, user.local_x);
    EXPECT_TRUE(NET_plane_shown(0));
}

TEST_F(Planes, PlaneStatesLandOnPlanesInUse)
{
    flt[1].local_x = 123.0f;
    flt[1].local_y = 45.0f;
    flt[1].psi = 77.0f;
    plane_state_record rec{};
    PLANE_pack_state(rec, 1);
    flt[1] = flt_struct{};
    net_slot_enabled[6] = 1;   // this copy shows its master's planes where they are
    receive_record("SNAP", 1, rec);
    EXPECT_EQ(flt[1].local_x, 123.0f);
    EXPECT_NEAR(flt[1].psi, 77.0f, 1e-3f);
    flt[4].local_x = 9.0f;
    receive_record("SNAP", 4, rec);   // at or above draw_aircrafts: ignored
    EXPECT_EQ(flt[4].local_x, 9.0f);
    EXPECT_EQ(error_lines(), 0);

    // From a peer 115 degrees of longitude east, at its own area's centre: the
    // plane lands, and reads back, where it is.
    rec.ref_point = APT_pack_reference(lat_ref, lon_ref + 115.0f);
    rec.local_x = rec.local_y = rec.local_z = 0.0f;
    receive_record("SNAP", 1, rec);
    float lat, lon, elevation;
    GEO_local_to_latlon(lat, lon, elevation, flt[1].local_x, flt[1].local_y, flt[1].local_z);
    EXPECT_NEAR(lat, lat_ref + 1.0f, 0.01f);
    EXPECT_NEAR(lon, lon_ref + 116.5f, 0.01f);
}

// Copies near a pole, each with its area where a start there puts it, and
// copies far apart east and west: a plane state from the other lands where
// the other's plane is, its velocity and heading pointing where they point
// there, and its longitude reads back within -180..180.
TEST_F(Planes, StatesFromCopiesNearThePolesAndFarApartLandWhereTheOtherIs)
{
    struct place {
        double lat, lon;
    };
    const struct {
        place here, there;
    } rows[] = {
        {{-89.9, 30.0}, {-89.5, -150.0}},   // either side of the South Pole
        {{-89.5, -150.0}, {-89.9, 30.0}},
        {{-89.9, 30.0}, {-89.95, 100.0}},
        {{89.6, 10.0}, {89.95, -170.0}},    // the North Pole
        {{89.9, 10.0}, {86.0, 10.0}},       // 4 km east of the other's origin: outside the area at the pole
        {{46.5, 178.9}, {46.6, -178.6}},    // across the date line
        {{46.5, -120.0}, {46.5, 127.75}},   // 112 degrees apart
    };
    auto frame_at = [](const place& p) {
        lat_ref = static_cast<float>(GEO_round(static_cast<float>(p.lat) - 1.0f));
        lon_ref = static_cast<float>(GEO_round(static_cast<float>(p.lon) - 1.5f));
        APT_set_area_bounds();
    };
    net_slot_enabled[6] = 1;   // this copy shows the planes where the records put them
    for (const auto& r : rows) {
        const std::string row = std::to_string(r.here.lat) + ", " + std::to_string(r.there.lat);
        // The other copy: its plane 300 m up, heading 70 degrees in its frame at 60 m/s.
        frame_at(r.there);
        flt_struct& f = flt[1];
        GEO_latlon_to_local(f.local_x, f.local_y, f.local_z, r.there.lat, r.there.lon, 300.0);
        const float psi = 70.0f, rad = psi * static_cast<float>(DEG_TO_RAD_DOUBLE);
        f.psi = psi;
        f.local_vx = 60.0f * std::sin(rad), f.local_vy = 0.0f, f.local_vz = -60.0f * std::cos(rad);
        float moved[3], ahead[3];
        GEO_local_to_latlon(moved[0], moved[1], moved[2], f.local_x + f.local_vx, f.local_y, f.local_z + f.local_vz);
        GEO_local_to_latlon(ahead[0], ahead[1], ahead[2], f.local_x + 100.0f * std::sin(rad), f.local_y,
                            f.local_z - 100.0f * std::cos(rad));
        plane_state_record rec{};
        PLANE_pack_state(rec, 1);

        frame_at(r.here);
        f = flt_struct{};
        const int lines = error_lines();
        receive_record("SNAP", 1, rec);
        ASSERT_EQ(error_lines(), lines) << row << "\n" << error_text();
        float x, y, z, mx, my, mz, ax, ay, az;
        GEO_latlon_to_local(x, y, z, r.there.lat, r.there.lon, 300.0);
        GEO_latlon_to_local(mx, my, mz, moved[0], moved[1], moved[2]);
        GEO_latlon_to_local(ax, ay, az, ahead[0], ahead[1], ahead[2]);
        EXPECT_LT(std::hypot(f.local_x - x, f.local_y - y, f.local_z - z), 1.0f) << row;
        EXPECT_LT(std::hypot(f.local_vx - (mx - x), f.local_vy - (my - y), f.local_vz - (mz - z)), 0.5f) << row;
        const float heading = static_cast<float>(std::atan2(ax - x, -(az - z)) * RAD_TO_DEG_DOUBLE);
        EXPECT_LT(std::fabs(UTIL_wrap_pm180(f.psi - heading)), 0.5f) << row;

        // Read back as the frame reads every plane's place.
        app_mode = MODE_NETWORK;   // the places only, not a flight step
        FLTMOD_sim_frame();
        app_mode = MODE_FLYING;
        EXPECT_NEAR(f.latitude, r.there.lat, 1e-4) << row;
        EXPECT_NEAR(f.longitude, UTIL_wrap_pm180(r.there.lon), 1e-3) << row;
    }
}

// A plane whose states keep being refused: after a few seconds of them one
// line names the plane and why, and it is no longer drawn; a state taken
// shows it again.
TEST_F(Planes, APlaneWhoseStatesKeepBeingRefusedIsNamedOnceAndHidden)
{
    plane_state_record good{};
    PLANE_pack_state(good, 1);
    plane_state_record bad = good;
    bad.local_vx = 30000.0f;   // faster than any plane flies
    speech_text[0] = 0;
    int said = 0;
    const float first = frame_clock;
    for (; frame_clock < first + 2.0f * NET_PLANE_REFUSED_SEC; frame_clock += 0.1f) {
        receive_record("SNAP", 1, bad);
        EXPECT_EQ(NET_plane_shown(1), frame_clock - first < NET_PLANE_REFUSED_SEC) << frame_clock - first;
        if (speech_text[0]) {
            ++said;
            EXPECT_NE(std::string(speech_text).find("Plane 1"), std::string::npos) << speech_text;
            EXPECT_NE(std::string(speech_text).find("speed"), std::string::npos) << speech_text;
            speech_text[0] = 0;
        }
    }
    EXPECT_EQ(said, 1);
    EXPECT_TRUE(NET_plane_shown(2));
    receive_record("SNAP", 1, good);
    EXPECT_TRUE(NET_plane_shown(1));
    // Refused now and then among those taken: never hidden.
    for (int k = 0; k < 100; ++k, frame_clock += 0.1f) receive_record("SNAP", 1, k % 2 ? bad : good);
    EXPECT_TRUE(NET_plane_shown(1));
    EXPECT_EQ(speech_text[0], 0);
    // Positions refused as long hide it too.
    const net_onep_record far{0.0f, 5.0e6f, 0.0f, 0.0f, 0.0f, 0.0f, 46.5f, -121.5f};
    for (const float since = frame_clock; frame_clock < since + 1.5f * NET_PLANE_REFUSED_SEC; frame_clock += 0.5f)
        receive_record("ONEP", 1, far);
    EXPECT_FALSE(NET_plane_shown(1));
}

TEST_F(Planes, SettingsAreStoredByTheirKind)
{
    auto gset = [](int n, float v) { receive_record("GSET", n, v); };
    gset(6, 3.9f);
    EXPECT_EQ(sim_graphics_settings.autogen_level, 3);
    gset(5, 10.0f);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 10);
    gset(5, 15.0f);   // a plane count beyond the slots there are is refused
    gset(5, -2.0f);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 10);
    gset(1, 1.0e6f);   // so is a screen of a million columns
    EXPECT_NE(screen.res_width, 1000000);
    const int32_t shown = std::exchange(screen.window_width, 1280);   // and, with no display to ask,
    gset(1, 1600.0f);                                                 // one wider than the window rendered
    EXPECT_NE(screen.res_width, 1600);
    screen.window_width = shown;
    gset(24, 72.5f);
    EXPECT_EQ(sim_graphics_view.field_of_view_deg, 72.5f);
    const sim_graphics_settings_block before = sim_graphics_settings;
    gset(11, 1.0f);   // no setting
    gset(27, 1.0f);
    EXPECT_EQ(std::memcmp(&before, &sim_graphics_settings, sizeof before), 0);
}

// Every setting number lands in its own place and no other: ints truncated,
// floats as sent.
TEST_F(Planes, EachSettingNumberHasItsPlace)
{
    sim_graphics_settings_block& g = sim_graphics_settings;
    sim_graphics_view_block& v = sim_graphics_view;
    const struct {
        int n;
        int32_t* i;
        float* f;
        float sent, stored;
    } rows[] = {{0, &screen.rendering_res, nullptr, 2.6f, 2.0f},
                {1, &screen.res_width, nullptr, 1024.9f, 1024.0f},
                {2, &screen.res_height, nullptr, 768.0f, 768.0f},
                {3, &screen.res_bits, nullptr, 16.0f, 16.0f},
                {4, &screen.requested_full_screen, nullptr, 1.0f, 1.0f},
                {5, &g.draw_aircrafts, nullptr, 3.0f, 3.0f},
                {6, &g.autogen_level, nullptr, 4.2f, 4.0f},
                {7, &g.autogen_distance, nullptr, 7.0f, 7.0f},
                {8, &g.draw_vectors, nullptr, 1.0f, 1.0f},
                {9, &g.draw_cars, nullptr, 1.0f, 1.0f},
                {10, &screen_settings.scenery_load_switch, nullptr, 1.0f, 1.0f},
                {12, &g.draw_obstacles, nullptr, 1.0f, 1.0f},
                {13, &g.draw_oilrigs, nullptr, 1.0f, 1.0f},
                {14, &g.draw_ships, nullptr, 1.0f, 1.0f},
                {15, &g.draw_forestfires, nullptr, 1.0f, 1.0f},
                {16, &g.draw_textured_lites, nullptr, 1.0f, 1.0f},
                {17, &screen_settings.cloud_switch, nullptr, 1.0f, 1.0f},
                {18, &g.dim_gload, nullptr, 1.0f, 1.0f},
                {19, &g.draw_taxilines, nullptr, 1.0f, 1.0f},
                {20, nullptr, &v.field_of_view_horizontal_deg, 60.5f, 60.5f},
                {21, nullptr, &v.field_of_view_horizontal_ratio, 1.25f, 1.25f},
                {22, nullptr, &v.field_of_view_vertical_deg, 45.5f, 45.5f},
                {23, nullptr, &v.field_of_view_vertical_ratio, 0.75f, 0.75f},
                {24, nullptr, &v.field_of_view_deg, 72.5f, 72.5f},
                {25, &screen_settings.planet_view_flag_a, nullptr, 1.0f, 1.0f},
                {26, &screen_settings.planet_view_flag_b, nullptr, 1.0f, 1.0f}};
    for (const auto& r : rows) {
        for (const auto& o : rows) o.i ? (void)(*o.i = 0) : (void)(*o.f = 0.0f);
        receive_record("GSET", r.n, r.sent);
        for (const auto& o : rows) {
            const float got = o.i ? static_cast<float>(*o.i) : *o.f;
            EXPECT_EQ(got, o.n == r.n ? r.stored : 0.0f) << "sent " << r.n << ", place of " << o.n;
        }
    }
}

// The folders laid out on the built data folder; the trainer's path below it
// (empty when the data folder holds none).
std::string trainer_in_data_folder()
{
    namespace fs = std::filesystem;
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(fs::path(ORVELL_DATA_FOLDER) / "Aircraft"))
        if (e.path().filename() == "Orvell Trainer.acf") return fs::relative(e.path(), ORVELL_DATA_FOLDER).string();
    return {};
}

TEST_F(Planes, PathsLoadAircraftThatTheSlotDoesNotFlyYet)
{
    namespace fs = std::filesystem;
    const std::string relative = trainer_in_data_folder();
    ASSERT_FALSE(relative.empty()) << "no trainer in the built data folder";

    std::snprintf(pln[1].acf_file_name, ACF_TEXT_SIZE, "%s", fs::path(relative).filename().c_str());
    std::snprintf(pln[1].acf_file_path, ACF_TEXT_SIZE, "kept");
    receive_text("PATH", 1, "Elsewhere:Folder:" + fs::path(relative).filename().string() + '\0');
    EXPECT_STREQ(pln[1].acf_file_path, "kept");   // the same file in another folder: nothing loads

    std::snprintf(pln[1].acf_file_name, ACF_TEXT_SIZE, "OTHER.ACF");
    receive_text("PATH", 1, relative + '\0');
    EXPECT_EQ(std::string(pln[1].acf_file_path), std::string(program_folder) + relative);
    EXPECT_GT(pln[1].acf_m_empty, 0.0f);
}

TEST_F(Planes, APluginLoadingTheUsersAircraftRebuildsTheBackground)
{
    namespace fs = std::filesystem;
    const std::string relative = trainer_in_data_folder();
    ASSERT_FALSE(relative.empty()) << "no trainer in the built data folder";
    PLUGIN_fill_host_table();
    static int backgrounds;
    backgrounds = 0;
    const hook_override counted(core_hooks.CORE_load_background, [] { ++backgrounds; });
    std::string path = std::string(program_folder) + relative, name = fs::path(relative).filename().string();
    // Another slot's aircraft leaves the background; the user's pictures are part of it.
    PLUGIN_host_table.set_aircraft(1, path.data(), name.data());
    EXPECT_EQ(backgrounds, 0);
    EXPECT_GT(pln[1].acf_m_empty, 0.0f);
    PLUGIN_host_table.set_aircraft(0, path.data(), name.data());
    EXPECT_EQ(backgrounds, 1);
    PLUGIN_host_table.set_aircraft(10, path.data(), name.data());
    EXPECT_EQ(backgrounds, 1);
}

TEST_F(Planes, RunwayStartsFromTheStation)
{
    airport_record a{};
    std::strcpy(a.id, "KTST");
    for (int r = 0; r < 2; ++r) {
        runway_record rw{};
        rw.lat = 46.5f + 0.01f * r;
        rw.lon = -122.5f;
        std::strcpy(rw.number, r == 0 ? "09" : "27");
        rw.heading = r == 0 ? 90.0f : 270.0f;
        rw.length = 1500.0f;
        a.runways.push_back(rw);
    }
    airport_table.push_back(a);
    pln[0].acf_gear_type[PART_GEAR_FIRST] = 1;
    sim_time.total_flight_time_sec = 77.0f;
    receive_record("TRAI", 0, net_trai_record{403, 0, 1, 1});
    EXPECT_EQ(start_selection.airport_index, 0);
    EXPECT_EQ(start_selection.start_index, 1);
    EXPECT_EQ(sim_time.backwards, 1);
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);   // a flight started
    EXPECT_EQ(error_lines(), 0) << error_text();
}

}  // namespace
