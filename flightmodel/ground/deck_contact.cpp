#include "flightmodel/ground/deck_contact.h"

#include <cmath>
#include <cstddef>

#include "aircraft/launch_flags.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/surface_state.h"
#include "world/cover_placement.h"
#include "world/placed_surfaces.h"
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

void carrier_contact(surface_found_record& found)
{
    flt_struct& f = flt[0];
    launch_flags_block& l = launch_flags;
    const double h = ship_heading[SHIP_CARRIER] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    const float px = f.local_x - ship_x[SHIP_CARRIER], pz = f.local_z - ship_z[SHIP_CARRIER];

    if (inside_corners(CARRIER_MAIN_DECK, px, pz, s, c) || inside_corners(CARRIER_PORT_SPONSON, px, pz, s, c) ||
        inside_corners(CARRIER_STARBOARD_SPONSON, px, pz, s, c))
        found.on_carrier = found.on_deck = 1;
    const float over = f.groundspeed - CARRIER_SPEED_MPS;
    if (sim_cockpit_switches.arresting_gear && f.onground_any && !l.arrest_engaged && std::fabs(f.beta) < 90.0f &&
        over > 10.0f && inside(CARRIER_WIRES, px, pz, s, c)) {
        l.arrest_engaged = l.hook_active = 1;
        l.arrest_decel = (over * 0.5f) * (over * 0.5f) * 2.0f / 100.0f;
    }
    if (l.arrest_engaged && over < -2.0f) l.arrest_engaged = l.hook_active = 0;
    if (f.onground_all && !l.arrest_engaged && !l.catapult_fired && over < 20.0f && !l.catapult_hold &&
        inside(CARRIER_CATAPULT, px, pz, s, c)) {
        f.parkbrake = 1.0f;
        LAUNCH_catapult_hook_up();
    }
    // The fired catapult is released once the plane is off the deck. Kept
    // set, the gear would stay held in the air and the next touchdown, on any
    // runway, would be pushed by the catapult again.
    if (!found.on_carrier && l.catapult_fired) l.catapult_fired = 0;
}

void frigate_contact(surface_found_record& found)
{
    const flt_struct& f = flt[0];
    const double h = ship_heading[SHIP_FRIGATE] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    if (inside(FRIGATE_DECK, f.local_x - ship_x[SHIP_FRIGATE], f.local_z - ship_z[SHIP_FRIGATE], s, c))
        found.on_frigate = found.on_deck = 1;
}

template <size_t N>
void oilrig_contact(surface_found_record& found, int slot, const deck_point (&deck)[N], float deck_y)
{
    const flt_struct& f = flt[0];
    if (!inside(deck, f.local_x - ship_x[slot], f.local_z - ship_z[slot], 0.0f, 1.0f)) return;
    found.flat_on = found.on_deck = 1;
    found.flat_height = ship_y[slot] + deck_y;
}

}  // namespace

void GROUND_surface_under_plane()
{
    surface_found_record found{};
    const flt_struct& f = flt[0];
    // A plane at no number is over nothing.
    if (std::isfinite(f.local_x) && std::isfinite(f.local_z)) {
        // Each kind of object carries the plane only while its setting shows
        // it: the ships with draw_ships, the platforms with draw_oilrigs, the
        // placed objects with draw_obstacles, the roads with draw_vectors. A
        // switched-off object is not in the world the pilot flies in. The
        // settings are plain flags here; where the objects are drawn plays no part.
        const sim_graphics_settings_block& g = sim_graphics_settings;
        if (g.draw_vectors && SEG_on_road(f.i, f.j, f.local_x, f.local_z)) found.on_road = 1;
        float roof = 0.0f;
        if (g.draw_obstacles && OBJ_roof_under(f.local_x, f.local_y, f.local_z, roof)) {
            found.flat_on = found.on_deck = 1;
            found.flat_height = roof;
        }
        // The buildings generated from the land-cover definitions exist in the
        // pilot's world only as the autogen setting scatters them: none at
        // level 0, else the definitions its stride takes, in every cell around
        // the plane that holds cover. The setting is a plain flag here; the
        // view and the camera, which bound where the terrain pass draws them,
        // play no part.
        if (g.autogen_level != 0 &&
            COVER_roof_under(f.i, f.j, f.local_x, f.local_y, f.local_z, COVER_stride(g.autogen_level), roof)) {
            found.flat_on = found.on_deck = 1;
            found.flat_height = roof;
        }
        if (g.draw_ships && SHIPS_placed(SHIP_CARRIER)) carrier_contact(found);
        if (g.draw_ships && SHIPS_placed(SHIP_FRIGATE)) frigate_contact(found);
        if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_A)) oilrig_contact(found, SEA_PLATFORM_A, OILRIG_A_DECK, OILRIG_A_DECK_Y_M);
        if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_B)) oilrig_contact(found, SEA_PLATFORM_B, OILRIG_B_DECK, OILRIG_B_DECK_Y_M);
    }
    surface_found = found;
    GROUND_apply_found();
}
