// The power-line pass of ROADS_draw_traffic: a pylon of five square bars at
// every pylon near the camera and four sagging wires to the next pylon.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/terrain/ground_cells.h"
#include "scene/terrain/roads.h"
#include "world/segments.h"

namespace {

constexpr int LIST_PYLONS = 3;
constexpr int COLOUR_WHITE_ROW = 0;
constexpr int COLOUR_BLACK_ROW = 33;
constexpr float ARM_M = 22.0f;
constexpr float ARM_HEIGHT_M = 60.0f;
constexpr float WIRE_ALPHA = 0.3f;
constexpr int WIRE_POINTS = 21;   // t = 0, 0.05 .. 1

struct v3 {
    float x, y, z;
};

// One face of a bar: its normal and the side offsets of its two long edges.
struct bar_face {
    v3 normal;
    v3 first, second;   // offsets in units of the half-thickness
};

// Legs and braces: offsets across x and z.
constexpr bar_face LEG_FACES[4] = {
    {{0, 0, 1}, {-1, 0, 1}, {1, 0, 1}},
    {{-1, 0, 0}, {-1, 0, -1}, {-1, 0, 1}},
    {{0, 0, -1}, {1, 0, -1}, {-1, 0, -1}},
    {{1, 0, 0}, {1, 0, 1}, {1, 0, -1}},
};
// The cross-arm: offsets across y and z.
constexpr bar_face ARM_FACES[4] = {
    {{0, 0, 1}, {0, 1, 1}, {0, -1, 1}},
    {{0, 1, 0}, {0, 1, -1}, {0, 1, 1}},
    {{0, 0, -1}, {0, -1, -1}, {0, 1, -1}},
    {{0, -1, 0}, {0, -1, 1}, {0, -1, -1}},
};

// The four long faces of the square bar from p0 to p1, half-thickness w.
void bar(v3 p0, v3 p1, float w, const bar_face (&faces)[4])
{
    for (const bar_face& f : faces) {
        glNormal3f(f.normal.x, f.normal.y, f.normal.z);
        glTexCoord2f(0.0f, 0.5f);
        glVertex3f(p0.x + w * f.first.x, p0.y + w * f.first.y, p0.z + w * f.first.z);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(p1.x + w * f.first.x, p1.y + w * f.first.y, p1.z + w * f.first.z);
        glTexCoord2f(0.25f, 1.0f);
        glVertex3f(p1.x + w * f.second.x, p1.y + w * f.second.y, p1.z + w * f.second.z);
        glTexCoord2f(0.25f, 0.5f);
        glVertex3f(p0.x + w * f.second.x, p0.y + w * f.second.y, p0.z + w * f.second.z);
    }
}

void pylon(const segment_point& p, float w)
{
    glPushMatrix();
    glTranslatef(p.x, p.y, p.z);
    glRotatef(p.heading, 0.0f, -1.0f, 0.0f);
    glBegin(GL_QUADS);
    bar({-18, -10, 0}, {-8, 60, 0}, w, LEG_FACES);
    bar({18, -10, 0}, {8, 60, 0}, w, LEG_FACES);
    bar({-22, 60, 0}, {22, 60, 0}, w, ARM_FACES);
    bar({-18, -10, 0}, {8, 60, 0}, w, LEG_FACES);
    bar({18, -10, 0}, {-8, 60, 0}, w, LEG_FACES);
    glEnd();
    glPopMatrix();
}

// The pylon a link names, or null when it names none.
const segment_point* linked_pylon(const segment_point& p)
{
    const float fi = p.normal[0], fj = p.normal[1], fk = p.normal[2];
    if (!(fi >= 0.0f && fi < TERRAIN_GRID_ROWS && fj >= 0.0f && fj < TERRAIN_GRID_COLS && fk >= 0.0f && fk < 1.0e9f))
        return nullptr;
    const std::vector<segment_point>* list = SEG_list(LIST_PYLONS, static_cast<int>(fi), static_cast<int>(fj));
    const size_t k = static_cast<size_t>(fk);
    if (!list || k >= list->size()) return nullptr;
    return &(*list)[k];
}

void wires(const segment_point& p, const segment_point& q, float d)
{
    const float h1 = p.heading * DEG_TO_RAD_FLOAT;
    float h2 = q.heading * DEG_TO_RAD_FLOAT;
    if (std::fabs(h2 - h1) > 0.5f * PI_FLOAT) h2 += PI_FLOAT;   // the arms pair up end to end
    const float arm1[2] = {ARM_M * std::cos(h1), ARM_M * std::sin(h1)};
    const float arm2[2] = {ARM_M * std::cos(h2), ARM_M * std::sin(h2)};
    const float f = std::clamp(1.0f - d / POWER_NEAR_M, 0.0f, 1.0f);
    OGL_apply_color(COLOUR_BLACK_ROW, WIRE_ALPHA * f * f);
    for (const float m : {-1.0f, -0.7f, 0.7f, 1.0f}) {
        const float x1 = p.x + m * arm1[0], z1 = p.z + m * arm1[1];
        const float x2 = q.x + m * arm2[0], z2 = q.z + m * arm2[1];
        glBegin(GL_LINE_STRIP);
        for (int n = 0; n < WIRE_POINTS; ++n) {
            const float t = 0.05f * static_cast<float>(n);
            const float sag = (2.0f * t - 1.0f) * (2.0f * t - 1.0f) * 0.4f + 0.6f;
            glVertex3f(x1 + t * (x2 - x1), p.y + t * (q.y - p.y) + sag * ARM_HEIGHT_M, z1 + t * (z2 - z1));
        }
        glEnd();
    }
}

}  // namespace

void ROADS_draw_power_lines()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);

    const float vx = sim_graphics_view.view_x, vz = sim_graphics_view.view_z;
    int i0 = 0, j0 = 0, i1 = 0, j1 = 0;
    TERRAIN_height_at(vx - POWER_FAR_M, vz + POWER_FAR_M, nullptr, nullptr, nullptr, &i0, &j0, 0, "build_seg");
    TERRAIN_height_at(vx + POWER_FAR_M, vz - POWER_FAR_M, nullptr, nullptr, nullptr, &i1, &j1, 0, "build_seg");
    terrain_window_record w;
    if (!GROUND_hold_window(terrain_window, w)) return;
    const int first_i = std::max(i0, w.first_column), last_i = std::min(i1, w.last_column);
    const int first_j = std::max(j0, w.first_row), last_j = std::min(j1, w.last_row);

    GROUND_visit_visible_points(LIST_PYLONS, first_i, last_i, first_j, last_j, [&](const segment_point& p) {
        const float dx = p.x - vx, dz = p.z - vz;
        const float d = std::sqrt(dx * dx + dz * dz);
        const float f = std::clamp(1.0f - d / POWER_FAR_M, 0.0f, 1.0f);
        const float alpha = f * f;
        OGL_apply_color(COLOUR_WHITE_ROW, alpha);
        pylon(p, (1.0f - alpha) * 2.5f + 0.5f);
        if (!(p.span_flag > 0.0f) || !(std::fabs(dx) < POWER_NEAR_M && std::fabs(dz) < POWER_NEAR_M)) return;
        if (const segment_point* q = linked_pylon(p)) wires(p, *q, d);
    });
}
