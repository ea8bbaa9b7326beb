#include "scene/terrain/roads.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <vector>

#include "core/draw_phases.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/texture_slots.h"
#include "flightmodel/flt.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "scene/drawers.h"
#include "scene/terrain/ground_cells.h"
#include "scene/terrain/surface.h"
#include "world/segments.h"

roads_kept_record roads_kept{};

ORVELL_RESET_RECORD(ROADS_reset, roads_kept, scene);

namespace {

constexpr int LIST_RIVERS = 5;
constexpr int SEA_FRAMES_LAST = TEX_SLOT_SEA_LAST - TEX_SLOT_SEA_FIRST;
constexpr float WATER_PHASE_RATE = 0.5f;
constexpr float BRIDGE_WALL_M = 3.0f;
constexpr float DECK_S0 = 0.25f, DECK_S1 = 0.75f;

struct road_kind {
    int list;
    int32_t plain_slot, bridge_slot;
};
constexpr road_kind ROAD_KINDS[3] = {
    {0, TEX_SLOT_HIGHWAY, TEX_SLOT_HIGHWAY_BRIDGE},
    {1, TEX_SLOT_TRAIL, TEX_SLOT_TRAIL_BRIDGE},
    {2, TEX_SLOT_RAILROAD, TEX_SLOT_RAILROAD_BRIDGE},
};

// Calls f(i, j) for every visible cell of the terrain window, columns first.
template <class F>
void for_visible_cells(F&& f)
{
    terrain_window_record w;
    if (!GROUND_hold_window(terrain_window, w)) return;
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j)
            if (GROUND_cell_visible(i, j)) f(i, j);
}

void colour_tint()
{
    const float g = gload_dim_factor;
    glColor4f(surface_tint[0] * g, surface_tint[1] * g, surface_tint[2] * g, 1.0f);
}

void bank_coord(float s, float t)
{
    if (gl_entry::glMultiTexCoord2fARB) gl_entry::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, t);
}

void river_pass()
{
    OGL_set_state(STATE_FOG_ON, 2, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    colour_tint();
    OGL_polygon_offset(2);
    OGL_second_unit_mode(GL_MODULATE);
    roads_kept.roads_water_phase =
        UTIL_wrap_closed(roads_kept.roads_water_phase + WATER_PHASE_RATE * sim_operation_misc.frame_rate_period, 1.0f);
    const int frame = static_cast<int>(std::lround(roads_kept.roads_water_phase * SEA_FRAMES_LAST));
    OGL_bind_tex(TEX_SLOT_SEA_FIRST + frame, 0);
    OGL_bind_tex(TEX_SLOT_RIVERBANK, 1);

    bool open = false;
    for_visible_cells([&](int i, int j) {
        const std::vector<segment_point>* list = SEG_list(LIST_RIVERS, i, j);
        if (!list) return;
        for (const segment_point& e : *list) {
            if (!open) glBegin(GL_QUAD_STRIP);
            open = true;
            float st[2];
            SURFACE_wave_texcoord(e.edge_x, e.edge_z, st);
            glTexCoord2fv(st);
            bank_coord(e.tex_len, 0.0f);
            glVertex3f(e.edge_x, e.edge_y, e.edge_z);
            SURFACE_wave_texcoord(e.x, e.z, st);
            glTexCoord2fv(st);
            bank_coord(e.tex_len, 1.0f);
            glVertex3f(e.x, e.y, e.z);
            if (e.span_flag == SEG_END) {
                glEnd();
                open = false;
            }
        }
    });
    if (open) glEnd();
}

enum class primitive { none, strip, quads };

// One road kind's walk over the window.
struct road_walk {
    primitive open = primitive::none;
    float t = 0.0f;
    bool bridge_bound = false;

    // Closes an open primitive; a strip first gets element e's pair at t.
    void close(const segment_point& e)
    {
        if (open == primitive::strip) {
            glTexCoord2f(1.0f, t);
            glVertex3f(e.edge_x, e.edge_y, e.edge_z);
            glTexCoord2f(0.0f, t);
            glVertex3f(e.x, e.y, e.z);
        }
        end();
    }
    void end()
    {
        if (open != primitive::none) glEnd();
        open = primitive::none;
    }
};

void road_state(bool depth_off)
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, depth_off ? STATE_DEPTH_TEST_OFF : STATE_DEPTH_TEST_ON,
                  STATE_DEPTH_WRITE_OFF);
    colour_tint();   // the river's colour stays the roads' colour
}

// depth_off: the depth test is off now (set for the user's cell).
void road_kind_pass(const road_kind& kind, int& depth_off)
{
    const flt_struct& f = flt[0];
    road_walk w;
    OGL_bind_tex(kind.plain_slot, 0);
    for_visible_cells([&](int i, int j) {
        const std::vector<segment_point>* list = SEG_list(kind.list, i, j);
        if (!list) return;
        const bool user_cell = i == f.i && j == f.j;
        const size_t n = list->size();
        for (size_t k = 0; k < n; ++k) {
            const segment_point& e = (*list)[k];
            if (!(e.span_flag > 0.0f)) {
                w.close(e);
                w.t = 0.0f;
                continue;
            }
            // A list whose last element lacks its end flag runs on into the
            // next list walked (its strip stays open), but that element has no
            // next point in its own list: reading one for a bridge deck would
            // read past the list, so its span gets no deck.
            const segment_point* next = k + 1 < n ? &(*list)[k + 1] : nullptr;
            const bool bridge = e.span_flag > 1.0f;
            if (bridge != w.bridge_bound) {
                w.close(e);
                OGL_bind_tex(bridge ? kind.bridge_slot : kind.plain_slot, 0);
                w.bridge_bound = bridge;
            }
            if (static_cast<int>(user_cell) != depth_off) {
                w.close(e);
                road_state(user_cell);
                depth_off = user_cell;
            }
            if (!bridge) {
                if (w.open == primitive::quads) w.end();
                if (w.open == primitive::none) glBegin(GL_QUAD_STRIP);
                w.open = primitive::strip;
                glNormal3f(e.normal[0], e.normal[1], e.normal[2]);
                glTexCoord2f(1.0f, w.t);
                glVertex3f(e.edge_x, e.edge_y, e.edge_z);
                glTexCoord2f(0.0f, w.t);
                glVertex3f(e.x, e.y, e.z);
            } else {
                if (w.open == primitive::strip) w.end();
                if (w.open == primitive::none) glBegin(GL_QUADS);
                w.open = primitive::quads;
            }
            if (bridge && next) {
                const segment_point& q = *next;
                const float t2 = w.t + e.tex_len;
                glNormal3f(e.normal[0], e.normal[1], e.normal[2]);
                glTexCoord2f(DECK_S0, w.t);
                glVertex3f(e.x, e.y, e.z);
                glTexCoord2f(DECK_S0, t2);
                glVertex3f(q.x, q.y, q.z);
                glTexCoord2f(DECK_S1, t2);
                glVertex3f(q.edge_x, q.edge_y, q.edge_z);
                glTexCoord2f(DECK_S1, w.t);
                glVertex3f(e.edge_x, e.edge_y, e.edge_z);
                const float a0[3] = {e.x, e.y, e.z}, a1[3] = {q.x, q.y, q.z};
                const float a0l[3] = {e.x, e.y - BRIDGE_WALL_M, e.z}, a1l[3] = {q.x, q.y - BRIDGE_WALL_M, q.z};
                const float b0[3] = {e.edge_x, e.edge_y, e.edge_z}, b1[3] = {q.edge_x, q.edge_y, q.edge_z};
                const float b0l[3] = {e.edge_x, e.edge_y - BRIDGE_WALL_M, e.edge_z};
                const float b1l[3] = {q.edge_x, q.edge_y - BRIDGE_WALL_M, q.edge_z};
                OGL_quad_3d_tex(a0l, a1l, a1, a0, 0.0f, w.t, DECK_S0, t2);
                OGL_quad_3d_tex(b0, b1, b1l, b0l, DECK_S1, w.t, 1.0f, t2);
            }
            w.t += e.tex_len;
        }
    });
    w.end();
}

void road_pass()
{
    road_state(false);
    int depth_off = 0;
    for (const road_kind& kind : ROAD_KINDS) road_kind_pass(kind, depth_off);
    OGL_polygon_offset(0);
}

}  // namespace

void ROADS_draw_traffic()
{
    const sim_graphics_settings_block& g = sim_graphics_settings;
    if (g.draw_vectors && PLUGIN_call_draw_hook(DRAW_PHASE_VECTORS_BEFORE) != 0) {
        river_pass();
        road_pass();
    }
    PLUGIN_call_draw_hook(DRAW_PHASE_VECTORS_AFTER);
    if (g.draw_vectors) ROADS_draw_power_lines();
    if (g.draw_vectors && g.draw_cars) ROADS_move_cars();
}
