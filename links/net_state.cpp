// The labels that keep copies in step: "STAT" (time, weather, sea-level air,
// waves, weights and failures), "GSET" (one rendering or view setting),
// "SNAP" (one plane's whole state), "ONEP" and "ALLP" (positions set from
// outside, with the scenery tile that goes with them), "PATH" (the aircraft a
// plane slot flies) and "TRAI" (a runway or approach start).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_choose.h"
#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "links/net_peer_settings.h"
#include "links/net_ranges.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "links/speech.h"
#include "world/apt_scene.h"
#include "world/navdb.h"

namespace {

constexpr int SLOT_MULTIPLAYER = 0;
constexpr int SLOT_INSTRUCTOR = 10;
constexpr int PATH_FIELD = 500;   // the aircraft path's field

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// The number of planes a datagram may address: draw_aircrafts, at most the slots there are.
int planes_in_use() { return std::clamp(sim_graphics_settings.draw_aircrafts, 0, NET_PLANES); }

// Brings an int into [-half, half] by steps of `step` (181 for latitudes, 361
// for longitudes, as the tile rule has it).
int wrap_by(int v, int half, int step)
{
    if (v > half) v -= step * ((v - half + step - 1) / step);
    if (v < -half) v += step * ((-half - v + step - 1) / step);
    return v;
}

void set_plane(int i, float x, float y, float z, float psi, float theta, float phi)
{
    flt_struct& f = flt[i];
    f.local_x = x;
    f.local_y = y;
    f.local_z = z;
    f.psi = psi;
    f.theta = theta;
    f.phi = phi;
    sim_operation_override.override_planepath[i] = 1;
}

// Whether this copy takes the user's plane's place from the network (a role
// of NET_slot_follows is on). A datagram has no sender check, so any other
// sender (a multiplayer peer, any program that reaches the port) places its
// own planes only: taken, its position for the user's plane would carry the
// user across the globe.
bool user_plane_followed()
{
    for (int s = NET_SLOT_FOLLOWING_FIRST; s <= NET_SLOT_FOLLOWING_LAST; ++s)
        if (net_slot_enabled[s]) return true;
    return false;
}

constexpr const char* USER_PLANE_REFUSAL =
    "it places the user's plane, which only a master or an instructor station this copy follows may place";

// Places a peer's plane from a position datagram. Its local place is taken
// about the scenery tile its latitude and longitude lie in (the tile the
// position rule would load, NET_handle_planes); this copy's tile stays where
// the user's plane needs it, so the place and heading are carried from that
// tile's frame into this copy's and the plane is drawn where the sender says.
void place_peer_plane(int i, float x, float y, float z, float psi, float theta, float phi, float lat, float lon)
{
    const int p = planet();
    const int a = static_cast<int>(lat - reference_lat_offset[p]);
    const int b = static_cast<int>(lon - reference_lon_offset[p]);
    int here_a, here_b;
    NET_reference_tile_wanted(here_a, here_b);
    // A reference that is no tile (the scenery was never placed) has no frame
    // to carry into: the place is taken as it is.
    const bool placed = NET_in_range(RANGE_LATITUDE, lat_ref) && NET_in_range(RANGE_LONGITUDE, lon_ref);
    if (placed && (a != here_a || b != here_b))
        PLANE_carry_pose(a + reference_lat_offset[p], b + reference_lon_offset[p], here_a + reference_lat_offset[p],
                         here_b + reference_lon_offset[p], x, y, z, psi);
    set_plane(i, x, y, z, psi, theta, phi);
    NET_plane_data_taken(i);
}

// Refuses a datagram for one value, named `name`, outside `range`.
void refuse_value(const net_datagram& d, const char* name, double value, net_range range)
{
    net_range_miss miss;
    std::snprintf(miss.name, sizeof miss.name, "%s", name);
    miss.value = value;
    miss.range = range;
    NET_refuse_range(d, miss);
}

}  // namespace

// ---------------------------------------------------------------------------
// "STAT"

void NET_handle_STAT_datagram(net_datagram& d)
{
    // Every value lies in its range: the receive pass refused a block with a
    // plane count outside 1..10 (the count indexes the ten plane records), a
    // failure state outside 0..6 or a value that is not a number.
    std::memcpy(&net_stat_rcv, d.payload, sizeof net_stat_rcv);
    NET_handle_STAT();
}

void NET_handle_STAT()
{
    const stat_block& s = net_stat_rcv;
    sim_weather_block& w = sim_weather;
    sim_time.paused = s.paused;
    sim_graphics_settings.draw_aircrafts = s.draw_aircrafts;
    sim_time.zulu_time_sec = s.zulu_time_sec;
    sim_time.local_date_days = static_cast<int32_t>(s.local_date_days);
    STAT_copy_weather(w, s);
    sim_physics.earth_temp_c = s.temperature_sealevel_c;
    sim_physics.earth_pressure_p = s.earth_pressure_p;
    w.wave_dir = static_cast<int32_t>(s.wave_dir);

    if (s.weather_seed != weather_seed) {
        weather_seed = s.weather_seed;
        const int rows = planet() == PLANET_MARS ? 5 : 2;
        const int columns = planet() == PLANET_MARS ? 6 : 3;
        for (int z = 0; z < rows; ++z)
            for (int x = 0; x < columns; ++x) ATMO_storm_grid_tile(x, z);
    }
    if (app_mode != MODE_WEIGHT_FUEL && !net_slot_enabled[SLOT_MULTIPLAYER]) {
        flt_struct& f = flt[0];
        f.m_fixed = s.m_fixed;
        f.m_fuel1 = s.m_fuel[0];
        f.m_fuel2 = s.m_fuel[1];
        f.m_fuel3 = s.m_fuel[2];
        f.m_jettison = s.m_jettison;
    }
    if (net_slot_enabled[SLOT_INSTRUCTOR]) {
        // A master takes the failures from the station that instructs it.
        for (int k = 0; k < STAT_FAILURES; ++k) {
            flt[0].failures[k] = s.failures[k];
            flt[0].failure_param[k] = s.failure_countdown[k];
        }
    }
    // A plug-in's count above the ten slots would load past the plane records:
    // it is bounded by them.
    const int planes = std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 1), 0, NET_PLANES);
    for (int i = 0; i < planes; ++i)
        if (pln[i].acf_file_name[0] == 0) ACF_choose_and_load(i);
}

// ---------------------------------------------------------------------------
// "GSET"

namespace {

enum gset_kind { GSET_NONE, GSET_INT, GSET_FLOAT };
struct gset_row {
    gset_kind kind;
    int32_t* int_place;
    float* float_place;
};

gset_row gset_row_of(int n)
{
    sim_graphics_settings_block& g = sim_graphics_settings;
    sim_graphics_view_block& v = sim_graphics_view;
    switch (n) {
    case 0: return {GSET_INT, &screen.rendering_res, nullptr};
    case 1: return {GSET_INT, &screen.res_width, nullptr};
    case 2: return {GSET_INT, &screen.res_height, nullptr};
    case 3: return {GSET_INT, &screen.res_bits, nullptr};
    case 4: return {GSET_INT, &screen.requested_full_screen, nullptr};
    case 5: return {GSET_INT, &g.draw_aircrafts, nullptr};
    case 6: return {GSET_INT, &g.autogen_level, nullptr};
    case 7: return {GSET_INT, &g.autogen_distance, nullptr};
    case 8: return {GSET_INT, &g.draw_vectors, nullptr};
    case 9: return {GSET_INT, &g.draw_cars, nullptr};
    case 10: return {GSET_INT, &screen_settings.scenery_load_switch, nullptr};
    case 12: return {GSET_INT, &g.draw_obstacles, nullptr};
    case 13: return {GSET_INT, &g.draw_oilrigs, nullptr};
    case 14: return {GSET_INT, &g.draw_ships, nullptr};
    case 15: return {GSET_INT, &g.draw_forestfires, nullptr};
    case 16: return {GSET_INT, &g.draw_textured_lites, nullptr};
    case 17: return {GSET_INT, &screen_settings.cloud_switch, nullptr};
    case 18: return {GSET_INT, &g.dim_gload, nullptr};
    case 19: return {GSET_INT, &g.draw_taxilines, nullptr};
    case 20: return {GSET_FLOAT, nullptr, &v.field_of_view_horizontal_deg};
    case 21: return {GSET_FLOAT, nullptr, &v.field_of_view_horizontal_ratio};
    case 22: return {GSET_FLOAT, nullptr, &v.field_of_view_vertical_deg};
    case 23: return {GSET_FLOAT, nullptr, &v.field_of_view_vertical_ratio};
    case 24: return {GSET_FLOAT, nullptr, &v.field_of_view_deg};
    case 25: return {GSET_INT, &screen_settings.planet_view_flag_a, nullptr};
    case 26: return {GSET_INT, &screen_settings.planet_view_flag_b, nullptr};
    default: return {GSET_NONE, nullptr, nullptr};
    }
}

}  // namespace

void NET_handle_GSET_datagram(net_datagram& d)
{
    float v;
    std::memcpy(&v, d.payload, sizeof v);
    const gset_row row = gset_row_of(d.index);
    if (row.kind != GSET_NONE && !NET_in_range(NET_setting_range(d.index), v)) {
        char name[40];
        std::snprintf(name, sizeof name, "setting %d", d.index);
        return refuse_value(d, name, v, NET_setting_range(d.index));
    }
    // A window wider or taller than the display shows (with no display to
    // ask, than the window rendered now) would be saved into the preferences
    // and opened at the next start, at a fraction of a frame a second.
    if (d.index == 1 || d.index == 2) {
        int32_t most_width, most_height;
        SCREEN_rendered_size_limit(most_width, most_height);
        const float most = static_cast<float>(d.index == 1 ? most_width : most_height);
        if (v >= most + 1.0f) {   // the int stored is the value cut toward zero
            char why[120];
            std::snprintf(why, sizeof why, "its window %s of %g is larger than this machine shows (%g)",
                          d.index == 1 ? "width" : "height", static_cast<double>(v), static_cast<double>(most));
            return NET_refuse_detail(d, "the window size is larger than this machine shows", why);
        }
    }
    net_gset_rcv = v;
    NET_handle_GSET(d.index);
}

void NET_handle_GSET(int n)
{
    const gset_row row = gset_row_of(n);
    const float v = net_gset_rcv;
    // The setting lasts for the flight: the preferences keep the user's own.
    const NET_peer_setting_write kept(row.int_place ? static_cast<void*>(row.int_place) : row.float_place,
                                      sizeof(int32_t));
    // A value beyond the int range has no defined conversion: it stores nothing.
    if (row.kind == GSET_INT && NET_fits_int(v)) {
        *row.int_place = static_cast<int32_t>(v);
    } else if (row.kind == GSET_FLOAT) {
        *row.float_place = v;
    }
}

// ---------------------------------------------------------------------------
// "SNAP", "ONEP", "ALLP"

namespace {

// The planes whose states are being refused, with none taken since.
struct refused_plane {
    bool refusing = false;
    float since = 0.0f;   // frame clock of the first refusal of the run
    bool hidden = false;  // said and hidden; until a state is taken again
};
struct refused_plane_state {
    refused_plane planes[NET_PLANES];
};
refused_plane_state refused_planes;

}  // namespace

ORVELL_RESET_RECORD(NET_refused_planes_reset, refused_planes, program);

void NET_plane_data_refused(int plane, const char* why)
{
    if (plane < 0 || plane >= NET_PLANES) return;
    refused_plane& p = refused_planes.planes[plane];
    // A clock that went back (a new flight) starts the run again.
    if (!p.refusing || frame_clock < p.since) {
        p.refusing = true;
        p.since = frame_clock;
    }
    if (p.hidden || frame_clock - p.since < NET_PLANE_REFUSED_SEC) return;
    p.hidden = true;
    // The sender is not known by its address; the multiplayer peer, when
    // one is set, is the one that sends its plane.
    char peer[NET_IP_TEXT_SIZE + 40] = "";
    if (net_slot_enabled[SLOT_MULTIPLAYER])
        std::snprintf(peer, sizeof peer, " (multiplayer peer %.*s)", NET_IP_TEXT_SIZE - 1, net_ip_text[SLOT_MULTIPLAYER]);
    char line[TEXT_SIZE];
    std::snprintf(line, sizeof line, "Plane %d from the network%s is hidden: its data has been refused for %.0f seconds (%s).",
                  plane, peer, static_cast<double>(NET_PLANE_REFUSED_SEC), why ? why : "");
    SOUND_speak(line, 1);
}

void NET_plane_data_taken(int plane)
{
    if (plane < 0 || plane >= NET_PLANES) return;
    refused_planes.planes[plane] = refused_plane{};
}

bool NET_plane_shown(int plane)
{
    return plane < 0 || plane >= NET_PLANES || !refused_planes.planes[plane].hidden;
}

void NET_handle_SNAP(net_datagram& d)
{
    if (d.index >= NET_PLANES) return NET_refuse(d, "there are only plane slots 0 to 9");
    if (d.index == 0 && !user_plane_followed()) return NET_refuse(d, USER_PLANE_REFUSAL);
    plane_state_record r;
    std::memcpy(&r, d.payload, sizeof r);
    // Each axis lies within the highest speed; the three together must too,
    // or a plane would be sent off at up to 1.7 times that speed.
    const double speed = std::hypot(static_cast<double>(r.local_vx), static_cast<double>(r.local_vy),
                                    static_cast<double>(r.local_vz));
    if (!NET_in_range(RANGE_SPEED, speed)) {
        return refuse_value(d, "speed", speed, RANGE_SPEED);
    }
    // The place is checked against the globe, about the sender's own
    // reference point: a local place far out along the tangent plane (12,900
    // km east, 1 km up) lies 8,000 km above the planet.
    const double radius = sim_physics.earth_radius_m;
    const double elevation = std::sqrt(static_cast<double>(r.local_x) * r.local_x +
                                       (r.local_y + radius) * (r.local_y + radius) +
                                       static_cast<double>(r.local_z) * r.local_z) - radius;
    if (!NET_in_range(RANGE_ELEVATION, elevation)) {
        return refuse_value(d, "elevation", elevation, RANGE_ELEVATION);
    }
    net_snap_rcv = r;
    NET_plane_data_taken(d.index);
    if (d.index >= planes_in_use()) return;   // a plane this copy does not fly
    // What the new state sets off (a box among it) is the sender's.
    const net_peer_scope sender;
    PLANE_unpack_state(net_snap_rcv, net_snap_rcv, 0.0f, 1, d.index);
}

// A position moves the scenery tile only with the user's plane: the tile is
// what the user's plane is placed about, and every local place stays where it
// is in the loaded area when the tile moves.
void NET_handle_ONEP(net_datagram& d)
{
    if (d.index >= NET_PLANES) return NET_refuse(d, "there are only plane slots 0 to 9");
    if (d.index == 0 && !user_plane_followed()) return NET_refuse(d, USER_PLANE_REFUSAL);
    net_onep_record r;
    std::memcpy(&r, d.payload, sizeof r);
    net_onep_rcv = r;
    if (d.index >= planes_in_use()) return;
    const net_peer_scope sender;
    if (d.index != 0)
        return place_peer_plane(d.index, r.local_x, r.local_y, r.local_z, r.psi, r.theta, r.phi, r.latitude,
                                r.longitude);
    set_plane(0, r.local_x, r.local_y, r.local_z, r.psi, r.theta, r.phi);
    NET_handle_planes(r.latitude, r.longitude);
}

void NET_handle_ALLP(net_datagram& d)
{
    net_allp_record r;
    std::memcpy(&r, d.payload, sizeof r);
    const int n = std::min(d.index, planes_in_use());
    net_allp_rcv = r;
    const net_peer_scope sender;
    if (user_plane_followed()) {
        for (int i = 0; i < n; ++i)
            set_plane(i, r.local_x[i], r.local_y[i], r.local_z[i], r.psi[i], r.theta[i], r.phi[i]);
        NET_handle_planes(r.latitude, r.longitude);
        return;
    }
    // From any other sender the planes after the user's are the sender's, each
    // placed where it says; the user's entry is passed over and the tile stays.
    for (int i = 1; i < n; ++i)
        place_peer_plane(i, r.local_x[i], r.local_y[i], r.local_z[i], r.psi[i], r.theta[i], r.phi[i], r.latitude,
                         r.longitude);
}

void NET_handle_planes(float lat, float lon)
{
    net_origin_by_network = 1;
    // A latitude or longitude that is no place on the planet (NaN included)
    // would make the tile an undefined conversion; the tile is then kept.
    if (!NET_in_range(RANGE_LATITUDE, lat) || !NET_in_range(RANGE_LONGITUDE, lon)) return;
    const int p = planet();
    NET_move_reference_tile(static_cast<int>(lat - reference_lat_offset[p]), static_cast<int>(lon - reference_lon_offset[p]));
}

namespace {

// A tile move held for the end of the receive pass: the two whole degrees.
void move_held_tile(net_datagram& d)
{
    int32_t tile[2];
    std::memcpy(tile, d.payload, sizeof tile);
    // A notice the rebuild raises (a damaged tile) is the sender's, refused
    // and counted: a box would stop the user's flight.
    const net_peer_scope sender;
    NET_move_reference_tile(tile[0], tile[1]);
}

}  // namespace

void NET_reference_tile_wanted(int& a, int& b)
{
    if (const uint8_t* held = NET_held_payload("TILE")) {
        int32_t tile[2];
        std::memcpy(tile, held, sizeof tile);
        a = tile[0];
        b = tile[1];
        return;
    }
    a = GEO_round(lat_ref);
    b = GEO_round(lon_ref);
}

void NET_move_reference_tile(int a, int b)
{
    // A reference that is no tile (the scenery was never placed) is placed
    // anew: its difference would be an undefined conversion of NaN.
    const bool placed = NET_in_range(RANGE_LATITUDE, lat_ref) && NET_in_range(RANGE_LONGITUDE, lon_ref);
    const int dlat = placed ? wrap_by(static_cast<int>(static_cast<float>(a) - lat_ref), 90, 181) : 2;
    const int dlon = placed ? wrap_by(static_cast<int>(static_cast<float>(b) - lon_ref), 180, 361) : 2;
    // The same tile changes nothing, unless a move elsewhere waits: this one
    // then takes its place.
    if (dlat == 0 && dlon == 0 && !NET_held_payload("TILE")) return;
    // Each move rebuilds or shifts the scene: it waits its turn with the
    // other commands that rebuild the world (positions alternating between
    // two far places would otherwise rebuild it at every datagram).
    int32_t tile[2] = {a, b};
    net_datagram held{"TILE", 0, reinterpret_cast<uint8_t*>(tile), static_cast<int>(sizeof tile)};
    if (NET_hold_world_command(held, move_held_tile, 0) || (dlat == 0 && dlon == 0)) return;
    if (dlat == 0 && (dlon == -1 || dlon == 1)) {
        lon_ref = static_cast<float>(b);
        APT_build_scene(dlon == -1 ? 2 : 3);
    } else if (dlon == 0 && (dlat == -1 || dlat == 1)) {
        lat_ref = static_cast<float>(a);
        APT_build_scene(dlat == -1 ? 5 : 4);
    } else {
        lat_ref = static_cast<float>(a);
        lon_ref = static_cast<float>(b);
        APT_build_scene(1);
    }
}

// ---------------------------------------------------------------------------
// "PATH"

void NET_handle_PATH(net_datagram& d)
{
    if (d.index >= NET_PLANES) return NET_refuse(d, "there are only plane slots 0 to 9");
    const char* path = reinterpret_cast<const char*>(d.payload);
    const size_t len = strnlen(path, static_cast<size_t>(std::min(d.size, PATH_FIELD)));
    // A path without its terminator in the field, or one that with the program
    // folder would not fit a path, would be read or copied past its end; a path
    // with ".." would let any peer load a file outside the program folder.
    if (len >= static_cast<size_t>(PATH_FIELD)) return NET_refuse(d, "its path is too long for its 500-byte field");
    if (std::strstr(path, "..")) return NET_refuse(d, "its path leaves the program folder");
    if (std::strlen(program_folder) + len > static_cast<size_t>(TEXT_MAX_LEN))
        return NET_refuse(d, "the program folder and its path are too long for a path");
    // The name also ends at '/': the paths this system sends use it, and a name
    // that kept its folders would never equal the slot's file name, so every
    // repeat of the datagram would reload the aircraft and restart the flight.
    char name[TEXT_SIZE];
    UTIL_file_name_of_path(name, path);
    acf_struct& a = pln[d.index];
    if (std::strcmp(name, a.acf_file_name) == 0) return;
    // A file that is no aircraft would put up a notice and load the default
    // aircraft; were the program to quit while the notice is up, the file
    // would be saved as the user's aircraft. It is refused like any bad
    // datagram, and the slot keeps what it flies.
    char full[TEXT_SIZE];
    UTIL_strcat3(program_folder, path, full);
    if (ACF_file_problem(full)) return NET_refuse(d, "its file is no aircraft this program reads");
    if (NET_hold_world_command(d, NET_handle_PATH, d.index)) return;
    UTIL_strcpy(static_cast<const char*>(name), a.acf_file_name);
    UTIL_strcat3(program_folder, path, a.acf_file_path);
    ACF_load_and_setup(d.index);
    if (d.index == 0) {
        FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
        CORE_set_mode(MODE_FLYING, "from the network: the peer's aircraft for the user's plane");
    }
}

// ---------------------------------------------------------------------------
// "TRAI"

void NET_handle_TRAI(net_datagram& d)
{
    net_trai_record t;
    std::memcpy(&t, d.payload, sizeof t);
    const bool kind_ok = t.kind >= SIT_RUNWAY && t.kind <= SIT_APPROACH_10NM;
    const bool airport_ok = t.airport >= 0 && t.airport < static_cast<int32_t>(airport_table.size());
    const bool runway_ok =
        airport_ok && t.runway >= 0 &&
        t.runway < static_cast<int32_t>(airport_table[static_cast<size_t>(t.airport)].runways.size());
    // A bad start is refused like every bad datagram, not ended with a fatal
    // alert: that would let any peer on the network end this program.
    if (!kind_ok || !runway_ok || (t.backwards != 0 && t.backwards != 1))
        return NET_refuse(d, "its start kind, airport, runway or runway end is not one of this copy");
    if (NET_hold_world_command(d, NET_handle_TRAI, 0)) return;
    net_trai_rcv = t;
    start_selection.airport_index = t.airport;
    start_selection.start_index = t.runway;
    sim_time.backwards = t.backwards;
    FLIGHT_init_situation(SIT_AIRPORT, t.kind);
}
