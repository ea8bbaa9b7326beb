#include "flightmodel/ground/surface_under.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/surface_state.h"
#include "world/apt_scene.h"
#include "world/cover_placement.h"
#include "world/placed_surfaces.h"
#include "world/runway_geometry.h"
#include "world/ship_decks.h"
#include "world/ships.h"

namespace {

template <size_t N>
bool inside(const deck_point (&outline)[N], float px, float pz, float s, float c)
{
    for (size_t k = 0; k < N; ++k) {
        const deck_point& a = outline[k];
        const deck_point& b = outline[(k + 1) % N];
        if (!SHIPS_point_left_of_edge(a.x, a.z, b.x, b.z, px, pz, s, c)) return false;
    }
    return true;
}

// A polygon of the carrier's deck, given as corners of its corner table.
template <size_t N>
bool inside_corners(const int (&corners)[N], float px, float pz, float s, float c)
{
    for (size_t k = 0; k < N; ++k) {
        const deck_point& a = CARRIER_DECK_CORNERS[corners[k]];
        const deck_point& b = CARRIER_DECK_CORNERS[corners[(k + 1) % N]];
        if (!SHIPS_point_left_of_edge(a.x, a.z, b.x, b.z, px, pz, s, c)) return false;
    }
    return true;
}

// Runway r of apt when the plane stands inside its quad: the runway's surface
// at the airport's elevation; on Mars the arresting gear catches a plane
// rolling along a runway.
void runway_contact(surface_state_record& found, const airport_record& apt, int r, const runway_quad& q)
{
    const flt_struct& f = flt[0];
    if (!APT_inside_runway(q, f.local_x, f.local_z)) return;
    const runway_record& rw = apt.runways[static_cast<size_t>(r)];
    float lat, lon, elev, x, y, z;
    GEO_local_to_latlon(lat, lon, elev, f.local_x, f.local_y, f.local_z);
    GEO_latlon_to_local(x, y, z, lat, lon, apt.elevation);
    found.flat_surface_on = 1;
    found.flat_surface_height = y;
    found.surface_code = rw.surface_code;
    found.surface_roughness = rw.smoothness;
    found.runway_under_plane = r;
    launch_flags_block& l = launch_flags;
    if (APT_is_runway(rw) && sim_graphics_scenery.current_planet == PLANET_MARS &&
        sim_cockpit_switches.arresting_gear && f.onground_any && !l.arrest_engaged && std::fabs(f.beta) < 90.0f &&
        f.groundspeed > 10.0f) {
        l.arrest_engaged = 1;   // the arrest engaged; no carrier wire pulls (hook_active stays 0)
        l.arrest_decel = 5.0f;
    }
}

// Every nearby airport, whether drawn or not: the airport drawing walks only
// the airports in view, and none while a plug-in draws them, so a plane on a
// runway behind the camera or under a plug-in's airport would lose the
// runway's height and surface and settle onto the bare terrain. In the
// airport drawing's order (entries first to last, each airport's runways
// last to first; water runways are left to the water): where quads overlap
// the last one found holds, as it lies on top in the picture.
void runways_under_plane(surface_state_record& found)
{
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        int a = -1;
        const airport_record* apt = APT_near_airport(n, a);
        if (!apt) continue;
        for (int r = static_cast<int>(apt->runways.size()) - 1; r >= 0; --r) {
            const runway_geometry_record* g = APT_runway_geometry(*apt, r);
            if (g && apt->runways[static_cast<size_t>(r)].surface_code != SURFACE_WATER)
                runway_contact(found, *apt, r, APT_runway_quad(*g));
        }
    }
}

// A deck carries the plane from above. Its outline alone made it the ground
// of a plane anywhere beneath it: a plane afloat ahead of the carrier, run
// over by the ship, stood 20 m under the deck's surface and the gear's spring
// threw it 600 m up; a helicopter flying under a platform's deck was thrown
// onto it. A plane more than DECK_BELOW_M under the deck, with the deck's tilt
// over `reach_m` from the ship's middle counted in, is beneath it.
constexpr float DECK_BELOW_M = 3.0f;
bool over_deck(int slot, float deck_y, float reach_m)
{
    const float tilt = reach_m * (std::fabs(std::sin(ship_pitch[slot] * DEG_TO_RAD_FLOAT)) +
                                  std::fabs(std::sin(ship_roll[slot] * DEG_TO_RAD_FLOAT)));
    return flt[0].local_y > ship_y[slot] + deck_y - DECK_BELOW_M - tilt;
}
constexpr float CARRIER_REACH_M = 160.0f, FRIGATE_REACH_M = 70.0f;

// The deck, the wires and the catapult of the carrier, in view or not. The
// ship drawing sees only ships inside the view's footprint (and none while a
// plug-in draws them): decided there, a plane on the deck with the camera
// turned away would fall through it into the sea, a landing seen from behind
// would miss the wires, and a plane on the catapult would lose its hold.
void carrier_contact(surface_state_record& found)
{
    flt_struct& f = flt[0];
    launch_flags_block& l = launch_flags;
    const double h = ship_heading[SHIP_CARRIER] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    const float px = f.local_x - ship_x[SHIP_CARRIER], pz = f.local_z - ship_z[SHIP_CARRIER];

    if ((inside_corners(CARRIER_MAIN_DECK, px, pz, s, c) || inside_corners(CARRIER_PORT_SPONSON, px, pz, s, c) ||
         inside_corners(CARRIER_STARBOARD_SPONSON, px, pz, s, c)) &&
        over_deck(SHIP_CARRIER, CARRIER_DECK_Y_M, CARRIER_REACH_M))
        found.on_carrier = 1, found.surface_code = SURFACE_DECK;
    const float over = f.groundspeed - CARRIER_SPEED_MPS;
    if (sim_cockpit_switches.arresting_gear && f.onground_any && !l.arrest_engaged && std::fabs(f.beta) < 90.0f &&
        over > 10.0f && inside(CARRIER_WIRES, px, pz, s, c)) {
        l.arrest_engaged = l.hook_active = 1;
        l.arrest_decel = (over * 0.5f) * (over * 0.5f) * 2.0f / 100.0f;
    }
    if (l.arrest_engaged && over < -2.0f) l.arrest_engaged = l.hook_active = 0;
    if (f.onground_all && !l.arrest_engaged && !l.catapult_fired && over < 20.0f && !l.catapult_hold &&
        LAUNCH_catapult_takes_plane() && inside(CARRIER_CATAPULT, px, pz, s, c)) {
        f.parkbrake = 1.0f;
        LAUNCH_catapult_hook_up();
    }
    // The fired catapult is released once the plane is off the deck. Kept
    // set, the gear would stay held in the air and the next touchdown, on any
    // runway, would be pushed by the catapult again.
    if (!found.on_carrier && l.catapult_fired) l.catapult_fired = 0;
}

// The frigate's and the platforms' helicopter decks, in view or not, for
// the carrier's reason: a helicopter standing on a deck out of view would
// otherwise drop through it.
void frigate_contact(surface_state_record& found)
{
    const flt_struct& f = flt[0];
    const double h = ship_heading[SHIP_FRIGATE] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    if (inside(FRIGATE_DECK, f.local_x - ship_x[SHIP_FRIGATE], f.local_z - ship_z[SHIP_FRIGATE], s, c) &&
        over_deck(SHIP_FRIGATE, FRIGATE_DECK_Y_M, FRIGATE_REACH_M))
        found.on_frigate = 1, found.surface_code = SURFACE_DECK;
}

template <size_t N>
void oilrig_contact(surface_state_record& found, int slot, const deck_point (&deck)[N], float deck_y)
{
    const flt_struct& f = flt[0];
    if (!inside(deck, f.local_x - ship_x[slot], f.local_z - ship_z[slot], 0.0f, 1.0f) || !over_deck(slot, deck_y, 0.0f))
        return;
    found.flat_surface_on = 1, found.surface_code = SURFACE_DECK;
    found.flat_surface_height = ship_y[slot] + deck_y;
}

}  // namespace

void GROUND_launch_releases()
{
    launch_flags_block& l = launch_flags;
    const flt_struct& f = flt[0];
    if (f.parkbrake < 0.5f) {
        if (l.catapult_hold) {
            l.catapult_hold = 0;
            l.catapult_fired = 1;
            l.catapult_launch_time = frame_clock;
        }
        if (l.tow_armed) {
            l.tow_armed = 0;
            l.tow_attached = 1;
        }
        if (l.winch_armed) {
            l.winch_armed = 0;
            l.winch_attached = 1;
        }
    }
    if (l.arrest_engaged && (f.groundspeed < 2.0f || std::fabs(f.beta) > 90.0f)) l.arrest_engaged = 0;
}

void GROUND_surface_under_plane()
{
    surface_state_record found{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE};
    const flt_struct& f = flt[0];
    // A plane at no number is over nothing.
    if (std::isfinite(f.local_x) && std::isfinite(f.local_z)) {
        runways_under_plane(found);
        // Each kind of object carries the plane only while its setting shows
        // it: the ships with draw_ships, the platforms with draw_oilrigs, the
        // placed objects with draw_obstacles, the roads with draw_vectors. A
        // switched-off object is not in the world the pilot flies in. The
        // settings are plain flags here; where the objects are drawn plays no
        // part. A road crossing a runway leaves the runway's surface. The
        // roads are found in the plane's own cell, drawn or not: the road
        // pass walks only the cells in view and none while a plug-in draws
        // the roads, and a plane rolling along a road out of view would lose
        // the road's hard surface for the rough ground's.
        const sim_graphics_settings_block& g = sim_graphics_settings;
        if (g.draw_vectors && found.runway_under_plane == RUNWAY_NONE && SEG_on_road(f.i, f.j, f.local_x, f.local_z))
            found.surface_code = SURFACE_DECK;
        float roof = 0.0f;
        if (g.draw_obstacles && OBJ_roof_under(f.local_x, f.local_y, f.local_z, roof)) {
            found.flat_surface_on = 1, found.surface_code = SURFACE_DECK;
            found.flat_surface_height = roof;
        }
        // The buildings generated from the land-cover definitions exist in the
        // pilot's world only as the autogen setting scatters them: none at
        // level 0, else the definitions its stride takes, in every cell around
        // the plane that holds cover. The setting is a plain flag here; the
        // view and the camera, which bound where the terrain pass draws them,
        // play no part.
        if (g.autogen_level != 0 &&
            COVER_roof_under(f.i, f.j, f.local_x, f.local_y, f.local_z, COVER_stride(g.autogen_level), roof)) {
            found.flat_surface_on = 1, found.surface_code = SURFACE_DECK;
            found.flat_surface_height = roof;
        }
        if (g.draw_ships && SHIPS_placed(SHIP_CARRIER)) carrier_contact(found);
        if (g.draw_ships && SHIPS_placed(SHIP_FRIGATE)) frigate_contact(found);
        if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_A)) oilrig_contact(found, SEA_PLATFORM_A, OILRIG_A_DECK, OILRIG_A_DECK_Y_M);
        if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_B)) oilrig_contact(found, SEA_PLATFORM_B, OILRIG_B_DECK, OILRIG_B_DECK_Y_M);
    }
    surface_state = found;
}
