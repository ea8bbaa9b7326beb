// Taxi lines: thin translucent ribbons over the airport pavement, within
// 4,000 m of the camera along each axis, drawn over what lies before them.
//
// Reads: the taxi-line lists of the grid, the camera, cell_visible, the
// cockpit light levels, gload_dim_factor, draw_taxilines. Writes: GL state.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/drawers.h"
#include "scene/terrain/ground_cells.h"
#include "world/segments.h"

namespace {

constexpr int LIST_TAXILINES = 4;
constexpr float REACH_M = 4000.0f;
constexpr float LINE_ALPHA = 0.4f;

}  // namespace

void TAXILINES_draw()
{
    if (!sim_graphics_settings.draw_taxilines) return;

    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_polygon_offset(3);
    OGL_bind_tex(TEX_SLOT_TAXILINE, 0);
    const sim_graphics_misc_block& m = sim_graphics_misc;
    const float g = gload_dim_factor;
    glColor4f(m.cockpit_light_level_r * g, m.cockpit_light_level_g * g, m.cockpit_light_level_b * g, LINE_ALPHA);
    glNormal3f(0.0f, 1.0f, 0.0f);

    const float vx = sim_graphics_view.view_x, vz = sim_graphics_view.view_z;
    int i0 = 0, j0 = 0, i1 = 0, j1 = 0;
    TERRAIN_height_at(vx - REACH_M, vz + REACH_M, nullptr, nullptr, nullptr, &i0, &j0, 0, "taxilines 1");
    TERRAIN_height_at(vx + REACH_M, vz - REACH_M, nullptr, nullptr, nullptr, &i1, &j1, 0, "taxilines 2");
    i0 = std::max(i0, 0), j0 = std::max(j0, 0);
    i1 = std::min(i1, COVER_last_column()), j1 = std::min(j1, COVER_last_row());

    // The along-line coordinate runs on over every line of the call.
    float t = 0.0f;
    bool open = false;
    GROUND_visit_visible_points(LIST_TAXILINES, i0, i1, j0, j1, [&](const segment_point& e) {
        if (!open) glBegin(GL_QUAD_STRIP);
        open = true;
        glTexCoord2f(0.0f, t);
        glVertex3f(e.edge_x, e.edge_y, e.edge_z);
        glTexCoord2f(1.0f, t);
        glVertex3f(e.x, e.y, e.z);
        t += e.tex_len;
        if (e.span_flag == SEG_END) {
            glEnd();
            open = false;
        }
    });
    if (open) glEnd();
    OGL_polygon_offset(0);
}
