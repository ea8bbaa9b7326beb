// The airport and navaid scene build, in its fixed order of steps: the
// origin shift, area bounds and storm blocks, in-area flags, nearby lists
// with their menus and runway geometry, terrain and tiles, buildings and
// navaid huts, fires and sea objects, the placements' drawing order and the
// planet lists.
#include "world/apt_scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/constants.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/menu_table.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "flightmodel/atmosphere.h"
#include "world/runway_label.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "world/fires.h"
#include "world/ships.h"
#include "world/airport_state.h"
#include "world/landuse_grid.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/origin_shift.h"
#include "world/runway_geometry.h"
#include "world/scene_terrain.h"
#include "world/terrain_grid.h"

int32_t local_airport_list[LOCAL_AIRPORT_MAX] = {};
int32_t local_airport_last = -1;
int32_t near_airport_light_state[LOCAL_AIRPORT_MAX] = {};
int32_t navaid_start_list[NAVAID_START_LISTS][NAVAID_START_MAX] = {};
int32_t navaid_start_last[NAVAID_START_LISTS] = {-1, -1};
int32_t local_fix_list[LOCAL_FIX_MAX] = {};
int32_t local_fix_last = -1;
float area_height_low = 0.0f;
float area_height_high = 0.0f;
fire_table_record fire_table{};
uint32_t globe_display_list = 0;
uint32_t globe_screen_list = 0;

namespace {

constexpr int SPHERE_COLUMNS = 361;   // longitude 0..360
constexpr int SPHERE_ROWS = 181;      // latitude 0..180 from the south pole
constexpr int AIRPORT_NAME_IN_MENU = 25;
constexpr float ACTIVITY_DIVISOR = 200000.0f;
constexpr const char* START_MENU_TITLE = "Choose";

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// The loaded area in whole degrees (bounds inclusive) for the nearby tests.
struct area_bounds {
    int lat0, lat1, lon0, lon1;
    bool holds(float lat, float lon) const { return lat >= lat0 && lat <= lat1 && lon >= lon0 && lon <= lon1; }
    bool strictly_holds(float lat, float lon) const { return lat > lat0 && lat < lat1 && lon > lon0 && lon < lon1; }
};

area_bounds bounds()
{
    const int p = planet();
    const float lat_span = 2.0f * reference_lat_offset[p], lon_span = 2.0f * reference_lon_offset[p];
    return {static_cast<int>(lat_ref), static_cast<int>(lat_ref + lat_span), static_cast<int>(lon_ref),
            static_cast<int>(lon_ref + lon_span)};
}

// The storm grid's blocks over the area's whole-degree cells: all of them on
// a full rebuild, the newly exposed column or row on a shift.
void storm_blocks(int mode)
{
    const int p = planet();
    const int columns = static_cast<int>(2.0f * reference_lon_offset[p]);
    const int rows = static_cast<int>(2.0f * reference_lat_offset[p]);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const bool exposed = mode == 1 || (mode == 2 && c == 0) || (mode == 3 && c == columns - 1) ||
                                 (mode == 4 && r == rows - 1) || (mode == 5 && r == 0);
            if (exposed) ATMO_storm_grid_tile(c, r);
        }
}

void clear_menu(int m)
{
    menu_record& menu = menu_table[m];
    menu.title[0] = 0;
    menu.parent = -1;
    menu.left = menu.bottom = menu.right = menu.top = MENU_UNSET;
    for (menu_item_record& it : menu.items) it.text[0] = 0;
}

void clear_airport_menus()
{
    for (int n = 0; n < LOCAL_AIRPORT_MAX; ++n) {
        for (int base : {20, 220, 420, 620}) clear_menu(base + n);
        for (int m = MENU_AIRPORT_MAPS; m <= MENU_NDB_STARTS; ++m) menu_table[m].items[n].text[0] = 0;
    }
}

void set_in_area_flags(const area_bounds& b)
{
    for (airway_record& w : airway_table) w.local = (b.holds(w.lat1, w.lon1) || b.holds(w.lat2, w.lon2)) ? 1 : 0;
    for (fix_record& f : fix_table) f.local = b.holds(f.lat, f.lon) ? 1 : 0;
    // An airport without runways has no position: it is never in the area.
    for (airport_record& a : airport_table)
        a.local = !a.runways.empty() && b.holds(a.runways[0].lat, a.runways[0].lon) ? 1 : 0;
    for (size_t i = 0; i < navaid_table.size(); ++i) {
        // The ships' landing aids (the first records on the Earth) take their
        // positions from their ships only in the flight-model cycle after this
        // build, which re-places the ships. Tested here, they would read as out
        // of the area while their ships sail in it, and the frigate's aid would
        // be missing from the operator map until the next rebuild: they always
        // count as in the area.
        if (planet() == PLANET_EARTH && i < static_cast<size_t>(NAV_SHIP_NAVAIDS)) continue;
        navaid_record& n = navaid_table[i];
        n.local = b.holds(n.lat, n.lon) ? 1 : 0;
    }
}

// The nearby airports with their runway geometry and their items in menus 7..11.
void build_airport_list(float& activity)
{
    runway_geometry_table.clear();
    local_airport_last = -1;
    for (size_t i = 0; i < airport_table.size() && local_airport_last < LOCAL_AIRPORT_MAX - 1; ++i) {
        airport_record& a = airport_table[i];
        if (!a.local) continue;
        const int n = ++local_airport_last;
        const int ai = static_cast<int>(i);
        local_airport_list[n] = ai;
        near_airport_light_state[n] = 10;
        activity += 1.0f;
        for (size_t r = 0; r < a.runways.size(); ++r) {
            a.runways[r].geometry_index = static_cast<int32_t>(runway_geometry_table.size());
            APT_build_runway_strip(ai, static_cast<int>(r), a.runways[r].geometry_index);
        }
        for (size_t r = 0; r < a.runways.size(); ++r)
            APT_build_runway_lights(ai, static_cast<int>(r), a.runways[r].geometry_index);
        char name[TEXT_SIZE];
        UTIL_strcpy(static_cast<const char*>(a.name), name);
        name[AIRPORT_NAME_IN_MENU] = 0;
        for (int m = MENU_AIRPORT_MAPS; m <= MENU_APPROACH_10NM; ++m) MENU_append(m, n, m * 200 + n, name, 1);
    }
}

// Per nearby airport its start, runway and approach menus.
void build_start_menus(float& activity)
{
    local_airport_last = std::clamp(local_airport_last, -1, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= local_airport_last; ++n) {
        const int ai = local_airport_list[n];
        const airport_record& a = airport_table[static_cast<size_t>(ai)];
        const int bases[4] = {20, 220, 420, 620};
        for (int k = 0; k < 4; ++k)
            MENU_create(bases[k] + n, (MENU_RAMP_STARTS + k) * MENU_ITEMS + n, START_MENU_TITLE);

        // The menus hold 200 items: item 200 and on would be written past the
        // menu's item array, so later start positions and runways get no item.
        const int starts = static_cast<int>(std::min<size_t>(a.starts.size(), MENU_ITEMS));
        for (int s = 0; s < starts; ++s)
            MENU_append(20 + n, s, (20 + n) * MENU_ITEMS + s, a.starts[static_cast<size_t>(s)].name, 1);

        for (size_t r = 0; r < a.runways.size(); ++r) {
            const runway_record& rw = a.runways[r];
            if (rw.number[0] == 'x') continue;
            // A runway length that reads as not-a-number would make the density
            // not-a-number for good (the sum carries over); it adds nothing instead.
            activity += std::isfinite(rw.length) ? rw.length : 0.0f;
            if (r >= static_cast<size_t>(MENU_ITEMS / 2)) continue;
            char ends[2][TEXT_SIZE], label[TEXT_SIZE];
            APT_runway_end_labels(ai, static_cast<int>(r), ends[0], ends[1]);
            for (int e = 0; e < 2; ++e) {
                RWY_label(ends[e], label);
                label[MENU_TEXT_SIZE - 1] = 0;   // the most a menu item's text holds
                const int item = 2 * static_cast<int>(r) + e;
                for (int base : {220, 420, 620}) MENU_append(base + n, item, (base + n) * MENU_ITEMS + item, label, 1);
            }
        }
    }
}

void build_navaid_lists()
{
    navaid_start_last[0] = navaid_start_last[1] = -1;
    for (size_t i = 0; i < navaid_table.size(); ++i) {
        const navaid_record& nav = navaid_table[i];
        if (!nav.local) continue;
        const int list = nav.kind == NAV_VOR ? 0 : nav.kind == NAV_NDB ? 1 : -1;
        if (list < 0 || navaid_start_last[list] >= NAVAID_START_MAX - 1) continue;
        const int n = ++navaid_start_last[list];
        navaid_start_list[list][n] = static_cast<int32_t>(i);
        const int menu = list == 0 ? MENU_VOR_STARTS : MENU_NDB_STARTS;
        MENU_append(menu, n, menu * MENU_ITEMS + n, nav.name, 1);
    }
    local_fix_last = -1;
    for (size_t i = 0; i < fix_table.size() && local_fix_last < LOCAL_FIX_MAX - 1; ++i)
        if (fix_table[i].local) local_fix_list[++local_fix_last] = static_cast<int32_t>(i);
}

// Four hangars beside the first runway of every nearby airport with buildings.
void place_hangars()
{
    for (int n = 0; n <= local_airport_last; ++n) {
        const int ai = local_airport_list[n];
        const airport_record& a = airport_table[static_cast<size_t>(ai)];
        if (!a.buildings_flag || a.runways.empty()) continue;
        const runway_record& r = a.runways[0];
        const float w = std::max(r.width * 4.2f, 80.0f), L = r.length * 0.35f;
        const float h = r.heading * DEG_TO_RAD_FLOAT;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, 0.0);
        x += w * std::cos(h) - L * std::sin(h);
        z += w * std::sin(h) + L * std::cos(h);
        for (int k = 0; k < 4; ++k) {
            x += 45.0f * std::sin(h);
            z -= 45.0f * std::cos(h);
            if (!TERRAIN_point_in_area(x, y, z, 0.01f)) continue;
            if (APT_point_on_runway(ai, -1, 0, x, z)) continue;
            OBJ_build_obs(x, z, 0.0f, 0.0f, "hangar", 94, 0);
        }
    }
}

void place_towers()
{
    for (int n = 0; n <= local_airport_last; ++n) {
        const airport_record& a = airport_table[static_cast<size_t>(local_airport_list[n])];
        if (!(std::fabs(a.tower_lat) > 0.01f || std::fabs(a.tower_lon) > 0.01f)) continue;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, a.tower_lat, a.tower_lon, 0.0);
        OBJ_build_obs(x, z, 0.0f, a.tower_height, "control tower", 1, 0);
    }
}

void place_navaid_huts(const area_bounds& b)
{
    for (size_t i = 4; i < navaid_table.size(); ++i) {
        const navaid_record& nav = navaid_table[i];
        if (!nav.local || !b.strictly_holds(nav.lat, nav.lon)) continue;
        const char* name = nullptr;
        int kind = 0;
        switch (nav.kind) {
        case NAV_NDB:
        case NAV_DME: name = "NAVAID: NDB", kind = 9; break;
        case NAV_VOR: name = "NAVAID: VOR", kind = 10; break;
        case NAV_ILS_LOC: name = "NAVAID: ILS", kind = 11; break;
        case NAV_LOC: name = "NAVAID: LOC", kind = 11; break;
        case NAV_GLIDESLOPE: name = "NAVAID: SLO", kind = 12; break;
        case NAV_OUTER_MARKER:
        case NAV_MIDDLE_MARKER:
        case NAV_INNER_MARKER: name = "NAVAID: MAR", kind = 13; break;
        default: continue;
        }
        float x, y, z;
        GEO_latlon_to_local(x, y, z, nav.lat, nav.lon, nav.height);
        const float heading = kind == 11 ? nav.heading : 0.0f;
        OBJ_build_obs(x, z, heading, 0.0f, name, kind, 0);
    }
}

void set_height_bounds()
{
    const terrain_extent e = TERRAIN_extent();
    area_height_low = area_height_high = 0.0f;
    for (int i = 0; i <= e.last_i; ++i)
        for (int j = 0; j <= e.last_j; ++j) {
            const float y = terrain_sphere_grid[TERRAIN_index(i, j)].y;
            area_height_low = std::min(area_height_low, y);
            area_height_high = std::max(area_height_high, y);
        }
}

bool is_water(int i, int j)
{
    const int32_t c = landuse_grid[TERRAIN_index(i, j)];
    return c == LANDUSE_WATER_A || c == LANDUSE_WATER_B;
}

bool water_around(int i, int j) { return is_water(i, j) || is_water(i, j + 1) || is_water(i + 1, j) || is_water(i + 1, j + 1); }

// The fires on land, as far from the origin as chance allows.
void place_fires(int mode)
{
    const terrain_extent e = TERRAIN_extent();
    fire_table_record& f = fire_table;
    f.present = 0;
    if (mode != 1) {
        const terrain_vertex& a = terrain_sphere_grid[TERRAIN_index(20, 20)];
        const terrain_vertex& b = terrain_sphere_grid[TERRAIN_index(e.last_i - 20, e.last_j - 20)];
        for (int k = 0; k < FIRE_COUNT; ++k)
            if (f.x[k] >= std::min(a.x, b.x) && f.x[k] <= std::max(a.x, b.x) && f.z[k] >= std::min(a.z, b.z) &&
                f.z[k] <= std::max(a.z, b.z))
                f.present = 1;
    }
    if (f.present) return;
    float best = 0.0f;
    for (int i = 20; i <= e.last_i - 20; i += 10)
        for (int j = 20; j <= e.last_j - 20; j += 10) {
            if (water_around(i, j)) continue;
            const terrain_vertex& t = terrain_vertex_grid[TERRAIN_index(i, j)];
            const float d = std::sqrt(t.x * t.x + t.z * t.z);
            if (!(d > best)) continue;
            if (static_cast<float>(UTIL_rand()) / 32767.0f >= 0.1f) continue;
            f.present = 1;
            best = d;
            const terrain_vertex& s = terrain_sphere_grid[TERRAIN_index(i, j)];
            for (int k = 0; k < FIRE_COUNT; ++k) {
                f.x[k] = s.x;
                f.z[k] = s.z;
                f.burning[k] = 1;
            }
        }
}

// Sea objects that lie outside the area go to water. Each takes a water point
// no other slot took: with every slot on the first suitable point, the
// re-placed ships and platforms would all stand on one spot, one inside the other.
void place_sea_objects()
{
    const terrain_extent e = TERRAIN_extent();
    std::vector<int> taken;
    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) {
        if (TERRAIN_point_in_area(ship_x[k], ship_y[k], ship_z[k], 0.1f)) continue;
        bool placed = false;
        for (int i = 50; i <= e.last_i - 50 && !placed; i += 10)
            for (int j = 50; j <= e.last_j - 50 && !placed; j += 10) {
                if (!water_around(i, j)) continue;
                for (int di = -10; di <= 10 && !placed; di += 2)
                    for (int dj = -10; dj <= 10 && !placed; dj += 2) {
                        const int index = TERRAIN_index(i + di, j + dj);
                        if (!is_water(i + di, j + dj)) continue;
                        if (std::find(taken.begin(), taken.end(), index) != taken.end()) continue;
                        const terrain_vertex& t = terrain_vertex_grid[index];
                        if (std::fabs(t.y - terrain_sphere_grid[index].y) >= 100.0f) continue;
                        ship_x[k] = t.x, ship_y[k] = t.y, ship_z[k] = t.z;
                        taken.push_back(index);
                        placed = true;
                    }
            }
    }
}

// The planet's sphere in the local frame, with its two texture halves and normals.
struct sphere_arrays {
    std::vector<float> pos, normal;
    sphere_arrays() : pos(size_t(SPHERE_COLUMNS) * SPHERE_ROWS * 3), normal(size_t(SPHERE_COLUMNS) * SPHERE_ROWS * 3) {}
    float* p(int i, int j) { return &pos[(size_t(i) * SPHERE_ROWS + j) * 3]; }
    float* n(int i, int j) { return &normal[(size_t(i) * SPHERE_ROWS + j) * 3]; }
};

sphere_arrays& sphere()
{
    static sphere_arrays arrays;
    return arrays;
}

void build_sphere()
{
    sphere_arrays& s = sphere();
    for (int i = 0; i < SPHERE_COLUMNS; ++i)
        for (int j = 0; j < SPHERE_ROWS; ++j) {
            float* p = s.p(i, j);
            GEO_latlon_to_local(p[0], p[1], p[2], j - 90.0, i - 180.0, 0.0);
        }
    for (int i = 0; i < SPHERE_COLUMNS; ++i)
        for (int j = 0; j < SPHERE_ROWS; ++j) {
            const int next_i = i + 1 > 360 ? 1 : i + 1;
            // Row 180 (the north pole) has no next row; reading one would read
            // past the arrays, so it takes the previous row with the sign turned.
            const bool last_row = j + 1 >= SPHERE_ROWS;
            const float* p = s.p(i, j);
            const float* pc = s.p(next_i, j);
            const float* pr = last_row ? s.p(i, j - 1) : s.p(i, j + 1);
            const float sign = last_row ? -1.0f : 1.0f;
            const float a[3] = {pc[0] - p[0], pc[1] - p[1], pc[2] - p[2]};
            const float b[3] = {sign * (pr[0] - p[0]), sign * (pr[1] - p[1]), sign * (pr[2] - p[2])};
            UTIL_cross_normalize(a, b, s.n(i, j));
        }
}

// A list name of our own: the one of the last build while it is still a list.
uint32_t list_name(uint32_t previous)
{
    if (previous != 0 && glIsList(previous)) return previous;
    return glGenLists(1);
}

// The planet sphere's vertices depend only on lat_ref, lon_ref, the planet
// (its half spans place the frame's centre) and the planet's radius; the
// globe of the screens depends on nothing that changes. The lists are
// therefore compiled when first drawn after a scene build, and the planet list
// only when one of those four inputs differs from the list's: the lists drawn
// are the same as lists compiled anew at every build (the origin moves only
// through a build), without sending the whole sphere to the driver each time.
struct planet_list_origin {
    float lat = 0.0f, lon = 0.0f;
    int planet = -1;
    float radius_m = 0.0f;
    bool operator==(const planet_list_origin&) const = default;
};
planet_list_origin planet_list_built_for;
// A scene build has happened since the lists were last brought up to date.
bool planet_lists_due = false;

bool list_is_current(uint32_t list) { return list != 0 && glIsList(list); }

// Compiles `list` with a sphere of rows 0..SPHERE_ROWS-1 and columns 0..360 in
// two halves, each under its planet texture, as quad strips between
// neighbouring rows. corner(column, row, s, t) sends one corner with its
// texture coordinates. The texture-unit count is left as it was outside.
template <class Corner>
void compile_sphere_list(uint32_t list, Corner&& corner)
{
    const int32_t units_outside = cur_tex_units;
    glNewList(list, GL_COMPILE);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    for (int half = 0; half < 2; ++half) {
        glBindTexture(GL_TEXTURE_2D, half == 0 ? TEX_SLOT_PLANET_1 : TEX_SLOT_PLANET_2);
        for (int j = 0; j < SPHERE_ROWS - 1; ++j) {
            glBegin(GL_QUAD_STRIP);
            for (int i = 180 * half; i <= 180 * half + 180; ++i) {
                const float s_coord = static_cast<float>(i) / 180.0f - static_cast<float>(half);
                for (int row : {j, j + 1}) corner(i, row, s_coord, static_cast<float>(row) / 180.0f);
            }
            glEnd();
        }
    }
    glEndList();
    cur_tex_units = units_outside;
}

void compile_planet_list()
{
    const planet_list_origin origin{lat_ref, lon_ref, planet(), sim_physics.earth_radius_m};
    if (list_is_current(globe_display_list) && origin == planet_list_built_for) return;
    build_sphere();
    sphere_arrays& s = sphere();
    globe_display_list = list_name(globe_display_list);
    if (globe_display_list == 0) return;
    planet_list_built_for = origin;
    compile_sphere_list(globe_display_list, [&](int i, int row, float s_coord, float t_coord) {
        glNormal3fv(s.n(i, row));
        glTexCoord2f(s_coord, t_coord);
        glVertex3fv(s.p(i, row));
    });
}

void compile_globe_list()
{
    if (list_is_current(globe_screen_list)) return;
    globe_screen_list = list_name(globe_screen_list);
    if (globe_screen_list == 0) return;
    // The unit sphere: each point is its own normal.
    compile_sphere_list(globe_screen_list, [](int i, int band, float s_coord, float t_coord) {
        const float v[3] = {-degree_cos[i] * degree_sin[band], -degree_cos[band], degree_sin[i] * degree_sin[band]};
        glNormal3fv(v);
        glTexCoord2f(s_coord, t_coord);
        glVertex3fv(v);
    });
}

}  // namespace

void APT_scene_reset()
{
    local_airport_last = -1;
    navaid_start_last[0] = navaid_start_last[1] = -1;
    local_fix_last = -1;
    globe_display_list = globe_screen_list = 0;
    planet_list_built_for = {};
    planet_lists_due = false;
    runway_geometry_table.clear();
    APT_choose_traffic_runway();   // none with the list empty
}

uint32_t APT_globe_display_list()
{
    if (planet_lists_due) {
        compile_planet_list();
        compile_globe_list();
        planet_lists_due = false;
    }
    return globe_display_list;
}

uint32_t APT_globe_screen_list()
{
    APT_globe_display_list();
    return globe_screen_list;
}

void APT_build_scene(int mode)
{
    // The start airport is not looked up again here: the build runs on every one-degree shift and would move the plane back.
    const bool earth = planet() == PLANET_EARTH;
    // 1. A jump re-places the ships and the oil platforms.
    if (mode == 1) {
        for (int k : {0, 1, 3, 4}) ship_x[k] = ship_z[k] = -9.9e9f;
        ship_heading[0] = ship_heading[1] = 0.0f;
    }
    // 2. A one-degree move carries the world over.
    if (mode >= 2 && mode <= 5) APT_shift_origin(mode);
    // 3 .. 5. Area bounds, storm blocks, the radar picture.
    APT_set_area_bounds();
    storm_blocks(mode);
    CORE_rebuild_radar_texture();
    // 6, 7. Menus and in-area flags.
    clear_airport_menus();
    const area_bounds b = bounds();
    set_in_area_flags(b);
    // 8 .. 12. The nearby lists, runway geometry and menus.
    float activity = std::clamp(traffic_runway_state.airport_activity, 0.0f, 1.0f);
    build_airport_list(activity);
    build_start_menus(activity);
    traffic_runway_state.airport_activity = std::clamp(activity / ACTIVITY_DIVISOR, 0.0f, 1.0f);
    // Stand-in: the traffic reads its airport and runway, but no part says what
    // sets them. They are picked here among the nearby airports, since a pick
    // kept from before a jump would send the traffic to an airport of the old area.
    APT_choose_traffic_runway();
    build_navaid_lists();
    // 13 .. 15. The terrain, its sphere and the tiles.
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
    ENV_load_area_tiles(mode);
    // 16 .. 18. Buildings and navaid huts.
    place_hangars();
    place_towers();
    place_navaid_huts(b);
    // 19 .. 21. Height bounds, fires and sea objects.
    set_height_bounds();
    if (earth) {
        place_fires(mode);
        place_sea_objects();
    }
    // 22. Placements sharing a texture follow each other.
    OBJ_sort_placements();
    // 23 .. 25. The planet lists, made at their first use.
    planet_lists_due = true;
    // 26.
    PLUGIN_call_event_hook(6, frame_clock, 0, 0, 0);
}
