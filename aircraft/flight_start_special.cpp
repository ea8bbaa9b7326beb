// The special flight starts: next to a ship or platform, on open water, near a
// rooftop landing site or a forest fire, in company of a second aircraft
// (formation, aero-tow, air refuelling, mother ship) and the four orbiter
// approaches. Each supplies the scenery, aircraft and placement of its code;
// the common reset of the flight start then runs unchanged.
#include <cmath>
#include <cstring>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/flight_start_internal.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/engine_types.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/traffic/traffic.h"
#include "links/net_receive.h"
#include "links/speech.h"
#include "world/fires.h"
#include "world/ship_decks.h"
#include "world/ships.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/terrain_grid.h"

namespace {

constexpr float FORMATION_BEHIND_NM = 0.2f;
constexpr int SHUTTLE_RUNWAY = 6;   // the orbiter lands on the seventh runway of its base

float sin_deg(float a) { return static_cast<float>(std::sin(a * DEG_TO_RAD_DOUBLE)); }
float cos_deg(float a) { return static_cast<float>(std::cos(a * DEG_TO_RAD_DOUBLE)); }

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// Terrain height under a point, without a cell hint of its own to keep.
float ground_under(float x, float z, const char* tag)
{
    int row = 0, col = 0;
    return TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &row, &col, 0, tag);
}

// A rendering setting raised to `needed` (a flag to 1, a count to the count
// the start shows) where it is lower.
void switch_on(int32_t& setting, const char* what, int32_t needed = 1)
{
    if (setting >= needed) return;
    setting = needed;
    // A peer's start switches it on without a word: its notices are counted
    // as refusals, and this is none.
    if (net_command_from_peer) return;
    FLIGHT_notice(what, "has been switched on in the rendering settings for this start.");
}

bool in_area_or_notice(int slot)
{
    if (TERRAIN_point_in_area(ship_x[slot], ship_y[slot], ship_z[slot], 0.0f)) return true;
    FLIGHT_notice("That start needs a ship or platform in the loaded scenery,", "and none is there.");
    return false;
}

// Approaches to the carrier (3201), the frigate (3202) and the platforms (3203, 3204).
bool place_ship_approach(int code, start_place& p)
{
    struct target {
        int slot;
        float deck_m;
    };
    // The first platform is A (slot 4, its deck 60 m up), the second B (slot 3,
    // 97 m up): the deck heights name the platforms, and A is the one whose
    // deck is 60 m up.
    static constexpr target targets[] = {{SHIP_CARRIER, CARRIER_DECK_Y_M}, {SHIP_FRIGATE, FRIGATE_DECK_Y_M},
                                         {SEA_PLATFORM_A, OILRIG_A_DECK_Y_M}, {SEA_PLATFORM_B, OILRIG_B_DECK_Y_M}};
    const target t = targets[code - SIT_CARRIER_APPROACH];
    if (!in_area_or_notice(t.slot)) return false;
    const float vs = pln[0].acf_est_Vs;
    const float d = 90.0f * vs;
    const float h = ground_under(ship_x[t.slot], ship_z[t.slot], "ships");
    const float heading = code == SIT_CARRIER_APPROACH   ? ship_heading[SHIP_CARRIER] - 8.0f
                          : code == SIT_FRIGATE_APPROACH ? ship_heading[SHIP_FRIGATE]
                                                         : 0.0f;
    p.x = ship_x[t.slot] - d * sin_deg(heading);
    p.z = ship_z[t.slot] + d * cos_deg(heading);
    p.y = h + d * sin_deg(3.5f) + t.deck_m;
    p.psi = heading;
    p.theta = 0.0f;
    p.groundspeed = 1.2f * vs;
    return true;
}

bool place_catapult(start_place& p)
{
    if (!in_area_or_notice(SHIP_CARRIER)) return false;
    const float H = ship_heading[SHIP_CARRIER], P = ship_pitch[SHIP_CARRIER], R = ship_roll[SHIP_CARRIER];
    const float h = ground_under(ship_x[SHIP_CARRIER], ship_z[SHIP_CARRIER], "ships");
    const float sH = sin_deg(H), cH = cos_deg(H), sP = sin_deg(P), sR = sin_deg(R);
    p.theta = pln[0].acf_the_eqlbm + P;
    p.groundspeed = 15.0f;
    p.psi = H + CARRIER_CATAPULT_TURN_DEG;
    p.y = h + 21.0f + pln[0].acf_h_eqlbm;
    const deck_point c = CARRIER_CATAPULT_START;
    p.x = ship_x[SHIP_CARRIER] + c.x * cH - c.z * sH + 21.0f * (sR * cH - sP * sH);
    p.z = ship_z[SHIP_CARRIER] + c.z * cH + c.x * sH + 21.0f * (sP * cH + sR * sH);
    if (LAUNCH_catapult_takes_plane())
        LAUNCH_catapult_hook_up();
    else
        SOUND_speak("A helicopter is not catapulted: it stands on the deck, rotor turning, to lift off on its collective.", 1);
    return true;
}

// Land-use code of grid point (i, j), indices clamped into the grid.
// The grid point's land use; a point past the grid's edge would be read
// outside it, and takes the edge's point instead.
int32_t landuse_at(int i, int j)
{
    i = i < 0 ? 0 : (i > TERRAIN_GRID_ROWS - 1 ? TERRAIN_GRID_ROWS - 1 : i);
    j = j < 0 ? 0 : (j > TERRAIN_GRID_COLS - 1 ? TERRAIN_GRID_COLS - 1 : j);
    return landuse_grid[i * TERRAIN_GRID_COLS + j];
}

bool water_point(int i, int j)
{
    const int32_t c = landuse_at(i, j);
    return c == LANDUSE_WATER_A || c == LANDUSE_WATER_B;
}

bool water_cell(int i, int j)
{
    return water_point(i, j) || water_point(i + 1, j) || water_point(i, j + 1) || water_point(i + 1, j + 1);
}

bool place_open_water(start_place& p)
{
    // The central part of the grid: c0 = columns x 0.95 / 3 x 1.25 on the
    // Earth (the area's longitude fraction over its longitude tiles), r0 =
    // rows x 0.475 / 2 x 1.25; on Mars 384 x 2.375 / 6 x 1.25 and 320 x 1.9 / 5 x 1.25.
    static constexpr int c0_of[2] = {178, 190};
    static constexpr int r0_of[2] = {118, 152};
    const int pl = planet();
    const int columns = grid_rows[pl], rows = grid_cols[pl];
    const int c0 = c0_of[pl], r0 = r0_of[pl];
    int found_i = -1, found_j = -1;
    for (int i = c0; i <= columns - c0; i += 5) {
        for (int j = r0; j <= rows - r0; j += 5) {
            bool all = true;
            for (int di = -2; di <= 2 && all; ++di)
                for (int dj = -2; dj <= 2 && all; ++dj) all = water_cell(i + di, j + dj);
            if (all) {
                found_i = i;
                found_j = j;
            }
        }
    }
    if (found_i < 0) {
        // A line, as the runway kinds say theirs: a box stopped the flight
        // for a start that only did not happen.
        static constexpr const char* line = "No open water lies in the middle of the loaded scenery: the start stays where it is.";
        if (net_command_from_peer) NET_refuse_command(line);
        else SOUND_speak(line, 1);
        return false;
    }
    const terrain_vertex& v = terrain_vertex_grid[found_i * TERRAIN_GRID_COLS + found_j];
    p.x = v.x;
    // Afloat on the water the floats meet, not on the mesh under it: set on a
    // sea mesh lying below the sea's level the plane started under water and
    // burst out of it.
    p.y = WATER_still_level(v.x, v.z, v.y) + pln[0].acf_h_eqlbm;
    p.z = v.z;
    p.psi = 0.0f;
    p.theta = 0.0f;
    p.groundspeed = 0.1f;
    return true;
}

bool place_rooftop(start_place& p)
{
    const flt_struct& f = flt[0];
    float best = 9.9e9f;
    const object_placement* site = nullptr;
    for (const object_placement& o : placement_list) {
        if (o.object < 0 || static_cast<size_t>(o.object) >= object_table.size()) continue;
        if (object_table[static_cast<size_t>(o.object)].object_class != OBJ_CLASS_HARD_ROOF) continue;
        const float d = std::sqrt((o.x - f.local_x) * (o.x - f.local_x) + (o.z - f.local_z) * (o.z - f.local_z));
        if (d < best) {
            best = d;
            site = &o;
        }
    }
    if (!site) {
        FLIGHT_notice("There is no rooftop landing site", "in the loaded scenery.", "Try another start.");
        return false;
    }
    p.x = site->x;
    p.y = site->y + 0.05f * UNIT.nm_to_mtrs;
    p.z = site->z + UNIT.nm_to_mtrs;
    p.psi = 0.0f;
    p.theta = 0.0f;
    p.groundspeed = 1.2f * pln[0].acf_est_Vs;
    return true;
}

bool place_forest_fire(start_place& p)
{
    sim_weather_block& w = sim_weather;
    if (!fire_table.present || !(w.temperature_sealevel_c > 0.0f) || w.rain_percent != 0.0f) {
        FLIGHT_notice("Forest fires burn only in warm, dry weather:", "set a temperature above freezing and no rain",
                      "in the weather settings, then try again.", "");
        return false;
    }
    const float vs = pln[0].acf_est_Vs;
    const float d = 120.0f * vs;
    const float b = UTIL_wrap_360(w.wind_direction_degt[0] + 120.0f);
    p.psi = UTIL_wrap_360(w.wind_direction_degt[0] + 270.0f);
    p.x = fire_table.x[0] + d * sin_deg(b);
    p.y = fire_table.y[0] + d * sin_deg(10.0f);
    p.z = fire_table.z[0] - d * cos_deg(b);
    p.theta = 0.0f;
    p.groundspeed = 2.0f * vs;
    for (float& speed : w.wind_speed_kt) speed = 15.0f + 5.0f * UTIL_rand_fraction();
    if (pln[0].acf_m_jettison < 0.01f)
        FLIGHT_notice("This aircraft carries no water to drop.", "Choose a water bomber to fight the fire;",
                      "the start goes on.", "");
    return true;
}

// The user's plane 0.2 nm behind and a little to the side of plane 1.
void behind_plane_1(start_place& p)
{
    const flt_struct& lead = flt[1];
    const float b = std::trunc(lead.psi - 10.0f);
    const float d = FORMATION_BEHIND_NM * UNIT.nm_to_mtrs;
    p.x = lead.local_x - d * sin_deg(b);
    p.z = lead.local_z + d * cos_deg(b);
    p.y = lead.local_y;
    p.psi = lead.psi;
    p.theta = lead.theta;
}

void place_formation(start_place& p)
{
    if (!FLIGHT_live_peer()) {
        const flt_struct& f = flt[0];
        FLIGHT_reset_at_start(1, 0.0f, 360.0f * UTIL_rand_fraction(), 0.0f, f.local_x, terrain_height_m, f.local_z,
                              1.7f * pln[1].acf_est_Vs);
        // Up to a height that suits the leader's engines; a glider gets two raises.
        const acf_struct& lead = pln[1];
        float raise = 0.0f;
        if (lead.acf_num_engines == 0) raise += 2000.0f + 2000.0f * UTIL_rand_fraction();
        const int type = lead.acf_en_type[0];
        if (type < ENGINE_TURBINE_FREE || type == ENGINE_TIP_ROCKET) raise += 2000.0f + 2000.0f * UTIL_rand_fraction();
        else if (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED)
            raise += 4000.0f + 4000.0f * UTIL_rand_fraction();
        else if (type >= ENGINE_ELECTRIC && type <= ENGINE_ROCKET) raise += 8000.0f + 4000.0f * UTIL_rand_fraction();
        flt[1].local_y += raise;
        flt[1].local_y_d = flt[1].local_y;
        // The leader flies on straight at its speed for the user to keep
        // station on: flying off to the traffic's runway, it turned away and
        // slowed to its own approach speed.
        flt[1].ai_app_mode = TRAFFIC_MODE_CRUISE;
    }
    behind_plane_1(p);
    p.groundspeed = 1.7f * pln[1].acf_est_Vs;
}

// Tanks filled to `share` of the total, each at most its own share.
void fill_tanks(float per_tank)
{
    const acf_struct& a = pln[0];
    float* tanks[3] = {&flt[0].m_fuel1, &flt[0].m_fuel2, &flt[0].m_fuel3};
    for (int t = 0; t < ACF_TANKS; ++t) {
        if (a.acf_num_tanks <= t) continue;
        const float share = per_tank < a.acf_tank_rat[t] ? per_tank : a.acf_tank_rat[t];
        const float m = a.acf_m_fuel_tot * share;
        *tanks[t] = m > 0.0f ? m : 0.0f;
    }
}

float tank_share(float total)
{
    const int n = pln[0].acf_num_tanks;
    return n > 0 ? total / static_cast<float>(n) : 0.0f;
}

// Plane 1 placed at the user's x and z with one of the two start states
// (speed kt, altitude ft, heading) of the settings.
void second_plane_in_flight(int state)
{
    const float* v = screen_settings.situation_start_values[state];
    const flt_struct& f = flt[0];
    FLIGHT_reset_at_start(1, 0.0f, v[2], 0.0f, f.local_x, v[1] * units.ft_to_mtrs, f.local_z, v[0] * units.kts_to_mps);
}

void place_refuelling(start_place& p)
{
    if (!FLIGHT_live_peer()) {
        second_plane_in_flight(0);
        // The tanker holds its course and speed, as the leader of a formation does.
        flt[1].ai_app_mode = TRAFFIC_MODE_CRUISE;
    }
    behind_plane_1(p);
    p.groundspeed = flt[1].groundspeed;
    fill_tanks(tank_share(0.15f));
}

void place_mother_ship(start_place& p)
{
    if (!FLIGHT_live_peer()) second_plane_in_flight(1);
    // The carriage holds the plane under the mother ship and gives it the
    // mother ship's velocity every frame; the start puts it there already,
    // level on the mother ship's course at its speed, so that the start's air,
    // limits and trims are those of the flight after the drop, not of the
    // place and speed the flight before left.
    const flt_struct& mother = flt[1];
    p.x = mother.local_x;
    p.y = mother.local_y + pln[1].jett_Y - pln[0].jett_Y;
    p.z = mother.local_z;
    p.theta = p.phi = 0.0f;
    p.psi = mother.psi;
    p.groundspeed = mother.groundspeed;
    fill_tanks(tank_share(1.0f));
}

bool place_shuttle(int code, start_place& p)
{
    struct energy {
        float speed_ftps, distance_nm, altitude_ft;
    };
    static constexpr energy states[] = {
        {25750.0f, 5340.0f, 450000.0f}, {14000.0f, 591.0f, 167270.0f}, {2500.0f, 40.0f, 83000.0f}, {600.0f, 8.0f, 18000.0f}};
    const energy e = states[code - SIT_SHUTTLE_FIRST];

    // Without the base, or with fewer than seven runways there, the runway
    // taken below would be read past the airport list or its runway list; the
    // start is refused with a notice instead, as a special start without its
    // place is.
    int base = -1;
    if (!NAV_find_nearest_by_id("KEDW", 1, base, flt[0].latitude, flt[0].longitude) || base < 0 ||
        static_cast<size_t>(base) >= airport_table.size() ||
        airport_table[static_cast<size_t>(base)].runways.size() <= static_cast<size_t>(SHUTTLE_RUNWAY)) {
        FLIGHT_notice("The orbiter approaches need their landing base KEDW", "with all of its runways,",
                      "and the navigation data has none.");
        return false;
    }
    const airport_record& apt = airport_table[static_cast<size_t>(base)];
    const runway_record& rw = apt.runways[SHUTTLE_RUNWAY];
    sim_cockpit_gps.destination_type = 1;
    sim_cockpit_gps.destination_index = sim_cockpit_gps.airport_index = base;
    sim_cockpit_radios.nav1_obs_degm = sim_cockpit_radios.nav2_obs_degm =
        sim_flightmodel_position.magnetic_variation + rw.heading;
    sim_cockpit_switches.HSI_selector = 2;

    const int pl = planet();
    const float lat = static_cast<float>(GEO_round(rw.lat - reference_lat_offset[pl]));
    const float lon = static_cast<float>(GEO_round(rw.lon - e.distance_nm / 48.0f - reference_lon_offset[pl]));
    lat_ref = UTIL_wrap_between(lat, -90.0f, 90.0f);
    lon_ref = UTIL_wrap_pm180(lon);
    APT_build_scene(1);

    float rx, ry, rz;
    GEO_latlon_to_local(rx, ry, rz, rw.lat, rw.lon, apt.elevation);
    const float nm = UNIT.nm_to_mtrs;
    switch (code) {
    case SIT_SHUTTLE_FIRST:
        p.x = -30.0f * nm;
        p.z = 0.0f;
        p.psi = 52.0f;
        break;
    case SIT_SHUTTLE_FIRST + 1:
        p.x = 30.0f * nm;
        p.z = 0.0f;
        p.psi = 86.0f;
        break;
    case SIT_SHUTTLE_FIRST + 2:
        p.x = rx - 0.81f * 40.0f * nm;
        p.z = rz;
        p.psi = 89.0f;
        break;
    default: {
        const float d = 8.0f * nm + 0.5f * rw.length;
        p.x = rx - d * sin_deg(rw.heading);
        p.z = rz + d * cos_deg(rw.heading);
        p.psi = rw.heading;
    }
    }
    p.y = e.altitude_ft * units.ft_to_mtrs;
    p.theta = 0.0f;
    p.groundspeed = e.speed_ftps * units.ft_to_mtrs;
    return true;
}

}  // namespace

void FLIGHT_load_situation_aircraft(int which, int slot)
{
    if (which < 1 || which > SITUATION_ACF_PATHS || slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    const char* path = screen_settings.situation_acf_paths[which - 1];
    const size_t n = strnlen(path, TEXT_SIZE - 1);
    std::memcpy(a.acf_file_path, path, n);
    a.acf_file_path[n] = 0;
    ACF_load_and_setup(slot);
}

void FLIGHT_special_scenery(int code)
{
    sim_graphics_settings_block& g = sim_graphics_settings;
    if (code == SIT_ROOFTOP) switch_on(g.draw_obstacles, "Drawing of obstacles");
    if (code == SIT_PLATFORM_1 || code == SIT_PLATFORM_2) switch_on(g.draw_oilrigs, "Drawing of oil platforms");
    if (code == SIT_CATAPULT || code == SIT_CARRIER_APPROACH || code == SIT_FRIGATE_APPROACH)
        switch_on(g.draw_ships, "Drawing of ships");
    if (code == SIT_FOREST_FIRE) switch_on(g.draw_forestfires, "Drawing of forest fires");
    // The starts in company of a second aircraft (plane 1) need two planes
    // drawn and flown: a count of 1 would leave the leader, tow plane, tanker
    // or mother ship (or a peer's plane there, which no load brings) out of
    // sight and standing still.
    if (code == SIT_FORMATION || code == SIT_AERO_TOW || (code >= SIT_REFUEL_A && code <= SIT_MOTHER_SHIP))
        switch_on(g.draw_aircrafts, "Drawing of other aircraft", 2);
}

void FLIGHT_special_aircraft(int code)
{
    if (code >= SIT_SHUTTLE_FIRST && code <= SIT_SHUTTLE_LAST) {
        FLIGHT_load_situation_aircraft(1, 0);
        return;
    }
    if (FLIGHT_live_peer()) return;
    switch (code) {
    case SIT_FORMATION: {
        acf_struct& lead = pln[1];
        std::memcpy(lead.acf_file_path, pln[0].acf_file_path, sizeof lead.acf_file_path);
        std::memcpy(lead.acf_file_name, pln[0].acf_file_name, sizeof lead.acf_file_name);
        ACF_load_and_setup(1);
        break;
    }
    case SIT_AERO_TOW: FLIGHT_load_situation_aircraft(2, 1); break;
    case SIT_REFUEL_A: FLIGHT_load_situation_aircraft(3, 1); break;
    case SIT_REFUEL_B: FLIGHT_load_situation_aircraft(4, 1); break;
    case SIT_MOTHER_SHIP: FLIGHT_load_situation_aircraft(5, 1); break;
    default: break;
    }
}

bool FLIGHT_is_special_placement(int code)
{
    return code == SIT_CATAPULT || code == SIT_OPEN_WATER || code == SIT_FORMATION ||
           (code >= SIT_REFUEL_A && code <= SIT_MOTHER_SHIP) || (code >= SIT_ROOFTOP && code <= SIT_FOREST_FIRE) ||
           (code >= SIT_SHUTTLE_FIRST && code <= SIT_SHUTTLE_LAST);
}

bool FLIGHT_place_special(int code, start_place& p)
{
    switch (code) {
    case SIT_CATAPULT: return place_catapult(p);
    case SIT_OPEN_WATER: return place_open_water(p);
    case SIT_FORMATION: place_formation(p); return true;
    case SIT_REFUEL_A:
    case SIT_REFUEL_B: place_refuelling(p); return true;
    case SIT_MOTHER_SHIP: place_mother_ship(p); return true;
    case SIT_ROOFTOP: return place_rooftop(p);
    case SIT_CARRIER_APPROACH:
    case SIT_FRIGATE_APPROACH:
    case SIT_PLATFORM_1:
    case SIT_PLATFORM_2: return place_ship_approach(code, p);
    case SIT_FOREST_FIRE: return place_forest_fire(p);
    default:
        if (code >= SIT_SHUTTLE_FIRST && code <= SIT_SHUTTLE_LAST) return place_shuttle(code, p);
        return true;
    }
}
