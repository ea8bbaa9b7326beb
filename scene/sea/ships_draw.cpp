// The per-pass entry of the sea objects: the wakes, then the culling of each
// object against the view footprint and the drawing of the visible ones in
// their own frames. Their decks' contact with the user's plane is the
// simulation's (flightmodel/ground/surface_under.h), drawn or not: judged
// here, a deck would go from under the plane whenever its ship left the view.
#include <GL/gl.h>

#include <cmath>

#include "scene/drawers.h"
#include "scene/scene_state.h"
#include "scene/sea/sea.h"
#include "world/ships.h"
#include "scene/effects/trails.h"
#include "flightmodel/flt.h"
#include "scene/view_setup.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/graphics.h"
#include "graphics/ogl_state.h"

namespace {

// A ship or platform inside the shared culling box around the view footprint
// (margin SEA_CULL_MARGIN_M, set up by the caller). The box test alone fails
// for objects not yet placed; SHIPS_placed also refuses a non-finite attitude
// (from a broken network datagram), which would draw the model through a
// matrix of NaNs.
bool visible(int slot)
{
    return SHIPS_placed(slot) && VIEW_cull_visible(ship_x[slot], ship_z[slot]);
}

void draw_ship(int slot)
{
    glPushMatrix();
    glTranslatef(ship_x[slot], ship_y[slot], ship_z[slot]);
    glRotatef(-ship_heading[slot], 0.0f, 1.0f, 0.0f);
    glRotatef(-ship_pitch[slot], -1.0f, 0.0f, 0.0f);
    glRotatef(-ship_roll[slot], 0.0f, 0.0f, 1.0f);
    if (slot == SHIP_CARRIER)
        SHIPS_draw_carrier(ship_x[slot], ship_z[slot]);
    else
        SHIPS_draw_frigate(ship_x[slot], ship_z[slot]);
    glPopMatrix();
}

void draw_platform(int slot)
{
    glPushMatrix();
    glTranslatef(ship_x[slot], ship_y[slot], ship_z[slot]);
    if (slot == SEA_PLATFORM_A)
        SHIPS_draw_oilrig_a(ship_x[slot], ship_y[slot], ship_z[slot]);
    else
        SHIPS_draw_oilrig_b(ship_x[slot], ship_y[slot], ship_z[slot]);
    glPopMatrix();
}

}  // namespace

void SHIPS_draw()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const sim_graphics_settings_block& g = sim_graphics_settings;
    // The wakes: the two ships' at their own speeds, then the user's plane's
    // (at least 1 m/s, so a plane standing still still has its wake's shape).
    if (g.draw_ships)
        PARTICLE_draw_wakes(SHIP_CARRIER, ship_x[SHIP_CARRIER], ship_y[SHIP_CARRIER], ship_z[SHIP_CARRIER],
                            CARRIER_SPEED_MPS, ship_heading[SHIP_CARRIER]);
    if (g.draw_ships)
        PARTICLE_draw_wakes(SHIP_FRIGATE, ship_x[SHIP_FRIGATE], ship_y[SHIP_FRIGATE], ship_z[SHIP_FRIGATE],
                            FRIGATE_SPEED_MPS, ship_heading[SHIP_FRIGATE]);
    const flt_struct& f = flt[0];
    // A non-finite track (a flight model that broke down) would put NaN points
    // into the wake's ring, drawn for the rest of their life: no wake then.
    // terrain_height_m is the surface height under the user's plane that the
    // flight model keeps.
    if (std::isfinite(f.hpath))
        PARTICLE_draw_wakes(WAKE_USER, f.local_x, terrain_height_m, f.local_z, f.groundspeed > 1.0f ? f.groundspeed : 1.0f,
                            f.hpath);

    // The shared culling radius and box (scene_cull_margin, scene_footprint_box)
    // are here the effects' pair (cull_margin, cull_box), set to 500 m. The
    // scene pass's own box is formed afresh at the start of every pass and read
    // only by its airport sweep, before this pass runs, so what it holds
    // afterwards is the same either way.
    VIEW_cull_box(SEA_CULL_MARGIN_M);
    if (g.draw_ships && visible(SHIP_CARRIER)) draw_ship(SHIP_CARRIER);
    if (g.draw_ships && visible(SHIP_FRIGATE)) draw_ship(SHIP_FRIGATE);
    if (g.draw_oilrigs && visible(SEA_PLATFORM_A)) draw_platform(SEA_PLATFORM_A);
    if (g.draw_oilrigs && visible(SEA_PLATFORM_B)) draw_platform(SEA_PLATFORM_B);
}
