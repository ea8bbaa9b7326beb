// The per-pass entry of the sea objects: the deck tests for every placed
// object, then the culling of each against the view footprint and the
// drawing of the visible ones in their own frames.
#include <algorithm>

#include <GL/gl.h>

#include "scene/drawers.h"
#include "scene/scene_state.h"
#include "scene/sea/sea.h"
#include "scene/ships.h"
#include "scene/view_setup.h"
#include "core/simvars.h"
#include "graphics/ogl_state.h"
#include "world/scenery_area.h"

namespace {

struct cull_box {
    float x0, x1, z0, z1;
};

cull_box footprint_box()
{
    const ground_point* p = view_footprint;
    float x0 = p[0].x, x1 = p[0].x, z0 = p[0].z, z1 = p[0].z;
    for (int k = 1; k < 4; ++k) {
        x0 = std::min(x0, p[k].x), x1 = std::max(x1, p[k].x);
        z0 = std::min(z0, p[k].z), z1 = std::max(z1, p[k].z);
    }
    const scenery_area_record& a = scenery_area;
    const float ax0 = std::min(a.x0, a.x1), ax1 = std::max(a.x0, a.x1);
    const float az0 = std::min(a.z0, a.z1), az1 = std::max(a.z0, a.z1);
    auto clamp = [](float v, float lo, float hi) { return std::max(lo, std::min(v, hi)); };
    return {clamp(x0 - SEA_CULL_MARGIN_M, ax0, ax1), clamp(x1 + SEA_CULL_MARGIN_M, ax0, ax1),
            clamp(z0 - SEA_CULL_MARGIN_M, az0, az1), clamp(z1 + SEA_CULL_MARGIN_M, az0, az1)};
}

bool visible(int slot, const cull_box& b)
{
    if (!SHIPS_placed(slot)) return false;
    const float x = ship_x[slot], z = ship_z[slot];
    if (!(x >= b.x0 && x <= b.x1 && z >= b.z0 && z <= b.z1)) return false;
    const ground_point* p = view_footprint;
    for (int k = 0; k < 4; ++k) {
        const ground_point& a = p[k];
        const ground_point& e = p[(k + 1) % 4];
        if (!VIEW_circle_inside_edge(a.x, a.z, e.x, e.z, x, z, SEA_CULL_MARGIN_M)) return false;
    }
    return true;
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
    if (slot == SEA_PLATFORM_2)
        SHIPS_draw_oilrig_a(ship_x[slot], ship_y[slot], ship_z[slot]);
    else
        SHIPS_draw_oilrig_b(ship_x[slot], ship_y[slot], ship_z[slot]);
    glPopMatrix();
}

}  // namespace

void SHIPS_draw()
{
    // The decks first, for every placed object: a deck out of view still carries the plane.
    SHIPS_deck_contact();

    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const sim_graphics_settings_block& g = sim_graphics_settings;
    const cull_box box = footprint_box();
    if (g.draw_ships && visible(SHIP_CARRIER, box)) draw_ship(SHIP_CARRIER);
    if (g.draw_ships && visible(SHIP_FRIGATE, box)) draw_ship(SHIP_FRIGATE);
    if (g.draw_oilrigs && visible(SEA_PLATFORM_2, box)) draw_platform(SEA_PLATFORM_2);
    if (g.draw_oilrigs && visible(SEA_PLATFORM_1, box)) draw_platform(SEA_PLATFORM_1);
}
