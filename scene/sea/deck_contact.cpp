// Deck contact, arresting wires and catapult of the sea objects. The tests
// run in every pass for every placed object that is switched on: tested only
// for the objects in view, a plane parked on a deck would drop through it
// whenever the camera looks away. Only the drawing is culled.
#include <cmath>

#include "aircraft/launch_flags.h"
#include "core/units.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "flightmodel/flt.h"
#include "scene/sea/sea.h"
#include "world/ships.h"
#include "flightmodel/ground/surface_state.h"

namespace {

struct deck_point {
    float x, z;
};

// Outlines in the ship's frame (x starboard, z aft), corners in order.
constexpr deck_point CARRIER_MAIN[] = {{-19, 160}, {-19, -56}, {-15, -154}, {15, -154}, {20, -62}, {20, 154}};
constexpr deck_point CARRIER_PORT[] = {{-19, 112}, {-35, 80}, {-35, -51}, {-19, -56}};
constexpr deck_point CARRIER_STARBOARD[] = {{20, -62}, {36, -39}, {36, 98}, {19, 98}};
constexpr deck_point CARRIER_WIRES[] = {{-16, 136}, {-23, 80}, {5, 76}, {13, 131}};
constexpr deck_point CARRIER_CATAPULT[] = {{-16.5f, -51}, {-16.5f, -59}, {-8.5f, -59}, {-8.5f, -51}};
constexpr deck_point FRIGATE_DECK[] = {{-15, 70}, {-15, 40}, {15, 40}, {15, 70}};
constexpr deck_point OILRIG_A_DECK[] = {{-12, 77}, {-12, 53}, {12, 53}, {12, 77}};
constexpr deck_point OILRIG_B_DECK[] = {{-14, 104}, {-14, 76}, {14, 76}, {14, 104}};

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

bool finite(float v) { return std::isfinite(v); }

void carrier_contact()
{
    flt_struct& f = flt[0];
    launch_flags_block& l = launch_flags;
    const double h = ship_heading[SHIP_CARRIER] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    const float px = f.local_x - ship_x[SHIP_CARRIER], pz = f.local_z - ship_z[SHIP_CARRIER];

    if (inside(CARRIER_MAIN, px, pz, s, c) || inside(CARRIER_PORT, px, pz, s, c) ||
        inside(CARRIER_STARBOARD, px, pz, s, c)) {
        surface_state.on_carrier = 1;
        surface_state.surface_code = SURFACE_DECK;
    }
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
    // The fired catapult is released once the plane is off the deck, seen or
    // not. Released only on a frame that draws the carrier, a launch flown
    // from the cockpit (the carrier behind, out of view) would keep it set:
    // the gear would stay held in the air and the next touchdown, on any
    // runway, would be pushed by the catapult again.
    if (!surface_state.on_carrier && l.catapult_fired) l.catapult_fired = 0;
}

void frigate_contact()
{
    const flt_struct& f = flt[0];
    const double h = ship_heading[SHIP_FRIGATE] * DEG_TO_RAD_DOUBLE;
    const float s = static_cast<float>(std::sin(h)), c = static_cast<float>(std::cos(h));
    if (inside(FRIGATE_DECK, f.local_x - ship_x[SHIP_FRIGATE], f.local_z - ship_z[SHIP_FRIGATE], s, c)) {
        surface_state.on_frigate = 1;
        surface_state.surface_code = SURFACE_DECK;
    }
}

template <size_t N>
void oilrig_contact(int slot, const deck_point (&deck)[N], float deck_y)
{
    const flt_struct& f = flt[0];
    if (!inside(deck, f.local_x - ship_x[slot], f.local_z - ship_z[slot], 0.0f, 1.0f)) return;
    surface_state.flat_surface_on = 1;
    surface_state.flat_surface_height = ship_y[slot] + deck_y;
    surface_state.surface_code = SURFACE_DECK;
}

}  // namespace

int SHIPS_point_left_of_edge(float ax, float az, float bx, float bz, float px, float pz, float s, float c)
{
    const double a_x = double(ax) * c - double(az) * s, a_z = double(ax) * s + double(az) * c;
    const double b_x = double(bx) * c - double(bz) * s, b_z = double(bx) * s + double(bz) * c;
    return (b_x - a_x) * (pz - a_z) - (b_z - a_z) * (px - a_x) > 0.0 ? 1 : 0;
}

bool SHIPS_placed(int slot)
{
    if (slot < 0 || slot >= SEA_OBJECT_SLOTS) return false;
    const float v[] = {ship_x[slot], ship_y[slot], ship_z[slot], ship_heading[slot], ship_pitch[slot], ship_roll[slot]};
    for (float x : v)
        if (!finite(x)) return false;
    return std::fabs(ship_x[slot]) < 1.0e9f && std::fabs(ship_z[slot]) < 1.0e9f;
}

void SHIPS_deck_contact()
{
    const flt_struct& f = flt[0];
    if (!finite(f.local_x) || !finite(f.local_z)) return;
    const sim_graphics_settings_block& g = sim_graphics_settings;
    if (g.draw_ships && SHIPS_placed(SHIP_CARRIER)) carrier_contact();
    if (g.draw_ships && SHIPS_placed(SHIP_FRIGATE)) frigate_contact();
    if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_A)) oilrig_contact(SEA_PLATFORM_A, OILRIG_A_DECK, OILRIG_A_DECK_Y_M);
    if (g.draw_oilrigs && SHIPS_placed(SEA_PLATFORM_B)) oilrig_contact(SEA_PLATFORM_B, OILRIG_B_DECK, OILRIG_B_DECK_Y_M);
}

float SHIPS_ball_offset(float dx, float dy, float dz, bool* red)
{
    // atan2 keeps the angle defined right above the ship (90 degrees).
    const double a = std::atan2(double(dy), std::sqrt(double(dx) * dx + double(dz) * dz)) * RAD_TO_DEG_DOUBLE;
    double offset = (a - 4.0) * 2.0;
    if (!(offset >= -4.0)) offset = -4.0;
    if (offset > 4.0) offset = 4.0;
    if (red) *red = offset < -2.0 - 1e-4;
    return static_cast<float>(offset);
}
