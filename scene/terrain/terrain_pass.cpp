#include "scene/terrain/terrain_pass.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/drawers.h"
#include "scene/lights_model.h"
#include "scene/terrain/ground_cells.h"
#include "scene/view_setup.h"
#include "world/cover_placement.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/terrain_grid.h"

namespace {

constexpr float OBSTACLE_MARGIN_M = 1000.0f;
constexpr int COLOUR_TREES_ROW = 7;
constexpr int LIGHT_KIND_ORDINARY = 105;
constexpr float CANOPY_HALF_M = 100.0f;
constexpr float CANOPY_LAYER_M = 3.0f;
constexpr int CANOPY_LAYERS = 6;
constexpr float CANOPY_SHADOW_M = 15.0f;
constexpr float CELL_AS_METRES = 500.0f;   // a road loop's cell fractions taken as metres
constexpr float CAR_SPEED_MPS = 15.0f;
constexpr float CAR_TURN_DEG_PER_SEC = 45.0f;
constexpr int FIGURE_ROW_STRIDE = 451;

// The cells the cover is drawn in this frame.
struct cover_window {
    int first_column, last_column, first_row, last_row;
    long long stride;   // definitions taken at 0, stride, 2 stride ...
    bool autogen;
};

const terrain_vertex& V(int i, int j) { return terrain_vertex_grid[TERRAIN_index(i, j)]; }

// The cover entry of an eligible cell, or null: a cell in view that holds cover.
const cover_entry* eligible(int i, int j)
{
    return cell_visible[TERRAIN_index(i, j)] ? COVER_cell_entry(i, j) : nullptr;
}

// Calls f(i, j, entry) for every eligible cell of the window.
template <class F>
void for_cover_cells(const cover_window& w, F&& f)
{
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j)
            if (const cover_entry* e = eligible(i, j)) f(i, j, *e);
}

bool in_footprint(float x, float z, float margin)
{
    const float* box = scene_footprint_box;
    bool in = x >= box[0] && x <= box[1] && z >= box[2] && z <= box[3];
    for (int e = 0; e < 4 && in; ++e) {
        const ground_point& a = view_footprint[e];
        const ground_point& b = view_footprint[(e + 1) % 4];
        in = GEO_circle_inside_edge(a.x, a.z, b.x, b.z, x, z, margin);
    }
    return in;
}

cover_window window_of_cover()
{
    const sim_graphics_settings_block& g = sim_graphics_settings;
    cover_window w{0, -1, 0, -1, 1, false};
    w.autogen = g.autogen_level != 0;
    w.stride = COVER_stride(g.autogen_level);
    terrain_window_record held;
    if (!GROUND_hold_window(terrain_window, held)) return w;
    // A distance below 0 would put the bounds upside down (lo above hi, which
    // the clamp leaves undefined): it counts as 0. The bounds are worked out
    // wide enough that no camera cell and distance overflow them.
    const long long dist = std::max(g.autogen_distance, 0);
    const long long lo_i = camera_cell.column - dist, hi_i = camera_cell.column + dist;
    const long long lo_j = camera_cell.row - dist, hi_j = camera_cell.row + dist;
    // The window around the camera. A camera off the grid would pull the
    // bounds past the grid's edge and have cells read outside it: the bounds
    // are also held to the grid, which leaves the window empty then.
    const auto first = [](long long v, long long lo, long long hi, int last) {
        return static_cast<int>(std::clamp<long long>(std::clamp(v, lo, hi), 0, last + 1LL));
    };
    const auto last_of = [](long long v, long long lo, long long hi, int last) {
        return static_cast<int>(std::clamp<long long>(std::clamp(v, lo, hi), -1, last));
    };
    w.first_column = first(held.first_column, lo_i, hi_i, COVER_last_column());
    w.last_column = last_of(held.last_column, lo_i, hi_i, COVER_last_column());
    w.first_row = first(held.first_row, lo_j, hi_j, COVER_last_row());
    w.last_row = last_of(held.last_row, lo_j, hi_j, COVER_last_row());
    return w;
}

void tilt_factors()
{
    const float centre_lat = lat_ref + reference_lat_offset[WORLD_planet()];
    terrain_tilt.east_factor = 1.0f / (std::cos(centre_lat * DEG_TO_RAD_FLOAT) * UNIT_MTRS_PER_DEG_LAT);
    terrain_tilt.north_factor = -1.0f / UNIT_MTRS_PER_DEG_LAT;
}

void obstacles()
{
    SCENE_form_footprint_box(OBSTACLE_MARGIN_M);
    for (object_placement& p : placement_list) p.visible = in_footprint(p.x, p.z, OBSTACLE_MARGIN_M) ? 1 : 0;
    SCENE_form_footprint_box(0.0f);
}

void generated_objects(const cover_window& w)
{
    for_cover_cells(w, [&](int i, int j, const cover_entry& e) {
        COVER_for_stride(e.lists[COVER_OBJECTS], w.stride, [&](int k, const cover_definition& d) {
            float x, y, z, p;
            // The object drawer refuses an index outside its table.
            if (COVER_place(d, i, j, k, x, y, z, &p)) TERRAIN_draw_object(COVER_object_pick(d, p), x, y, z, d.heading);
        });
    });
}

void night_lights(const cover_window& w)
{
    OGL_lights_begin(0);
    OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    const float lift = (sim_graphics_view.view_y - scene_ground_elevation) * 0.02f + 1.0f;
    for_cover_cells(w, [&](int i, int j, const cover_entry& e) {
        COVER_for_stride(e.lists[COVER_LIGHTS], w.stride, [&](int k, const cover_definition& d) {
            float x, y, z;
            if (!COVER_place(d, i, j, k, x, y, z)) return;
            const int code = i + j + k;
            OGL_draw_light(x, y + d.light_height + lift, z, d.light_rgb[0], d.light_rgb[1], d.light_rgb[2], 1.0f, 2.0f,
                           code, code, LIGHT_KIND_ORDINARY);
        });
    });
    OGL_lights_end();
}

void trees_and_cars(const cover_window& w)
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_apply_color(COLOUR_TREES_ROW, 1.0f);
    OGL_bind_tex(TEX_SLOT_TREE_SIDE, 0);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for_cover_cells(w, [&](int i, int j, const cover_entry& e) {
        COVER_for_stride(e.lists[COVER_TREES], w.stride, [&](int k, const cover_definition& d) {
            float x, y, z;
            if (COVER_place(d, i, j, k, x, y, z)) TERRAIN_draw_tree(x, y, z, d.picture);
        });
        COVER_for_stride(e.lists[COVER_CARS], w.stride, [&](int k, const cover_definition& d) {
            float x, y, z;
            if (COVER_place(d, i, j, k, x, y, z)) LIGHTS_add(i + j + k, x, y, z, d.heading, 0, 0, 0);
        });
        COVER_for_stride(e.lists[COVER_ROAD], w.stride, [&](int k, const cover_definition& d) {
            const terrain_vertex &a = V(i, j), &b = V(i + 1, j + 1);
            const float x = a.x + d.car_x * (b.x - a.x), z = a.z + d.car_z * (b.z - a.z);
            LIGHTS_add(i + j + k, x, COVER_height_in_cell(i, j, x, z), z, d.heading, 1, d.brake_flag, d.turn_flag);
        });
    });
    glEnd();
    glEnable(GL_CULL_FACE);
}

void canopy(const cover_window& w)
{
    const float az = sim_graphics_scenery.sun_azimuth * DEG_TO_RAD_FLOAT;
    const float dec = sim_graphics_scenery.sun_declination * DEG_TO_RAD_FLOAT;
    for (int L = 0; L < CANOPY_LAYERS; ++L) {
        if (L <= 1)
            OGL_set_state(STATE_FOG_ON, 1, L == 0 ? STATE_LIGHTING_OFF : STATE_LIGHTING_ON, STATE_BLEND,
                          STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        OGL_bind_tex(TEX_SLOT_TREES_FIRST + L, 0);
        // The lowest layer falls away from the sun as the forest's shadow.
        const float dx = L == 0 ? -CANOPY_SHADOW_M * std::sin(az) * std::cos(dec) : 0.0f;
        const float dz = L == 0 ? CANOPY_SHADOW_M * std::cos(az) * std::cos(dec) : 0.0f;
        glPushMatrix();
        glTranslatef(dx, CANOPY_LAYER_M * static_cast<float>(L) + CANOPY_LAYER_M, dz);
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 1.0f, 0.0f);
        for_cover_cells(w, [&](int i, int j, const cover_entry& e) {
            COVER_for_stride(e.lists[COVER_FOREST], w.stride, [&](int k, const cover_definition& d) {
                float x, y, z;
                if (!COVER_place(d, i, j, k, x, y, z)) return;
                const float s0 = static_cast<float>(d.picture % 2) * 0.5f, t0 = static_cast<float>(d.picture / 2) * 0.5f;
                const float corner[4][4] = {{x - CANOPY_HALF_M, z + CANOPY_HALF_M, s0, t0},
                                            {x - CANOPY_HALF_M, z - CANOPY_HALF_M, s0, t0 + 0.5f},
                                            {x + CANOPY_HALF_M, z - CANOPY_HALF_M, s0 + 0.5f, t0 + 0.5f},
                                            {x + CANOPY_HALF_M, z + CANOPY_HALF_M, s0 + 0.5f, t0}};
                for (const auto& c : corner) {
                    glTexCoord2f(c[2], c[3]);
                    glVertex3f(c[0], COVER_height_in_cell(i, j, c[0], c[1]), c[1]);
                }
            });
        });
        glEnd();
        glPopMatrix();
    }
}

// One road car: its place between its waypoints, its heading and signals,
// and its progress. Waypoints outside the list leave the car where it is.
void advance_car(std::vector<cover_definition>& road, size_t n, long u, float dt)
{
    cover_definition& car = road[n];
    const auto valid = [&](int32_t k) { return k >= 0 && static_cast<size_t>(k) < road.size(); };
    if (!valid(car.segment_start)) return;
    const cover_definition& a = road[static_cast<size_t>(car.segment_start)];
    if (!valid(a.next)) return;
    const int32_t b_index = a.next;
    const cover_definition& b = road[static_cast<size_t>(b_index)];
    if (!valid(b.next)) return;
    const cover_definition& c = road[static_cast<size_t>(b.next)];

    car.car_x = a.x + (car.progress + (2.0f * COVER_random(static_cast<long>(n) + u) - 1.0f) * car.spread) * (b.x - a.x);
    car.car_z = a.z + (car.progress + (2.0f * COVER_random(static_cast<long>(n) + u + 1) - 1.0f) * car.spread) * (b.z - a.z);

    const float length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.z - a.z) * (b.z - a.z)) * CELL_AS_METRES;
    if (!(length > 0.0f) || !std::isfinite(length)) {
        // A waypoint on top of the next: 15 dt / 0 would make the progress
        // infinite and the car's place no number from then on, so the car goes
        // on to the segment after it.
        car.segment_start = b_index;
        car.progress = 0.0f;
        return;
    }
    const float heading = std::atan2(b.x - a.x, b.z - a.z) * RAD_TO_DEG_FLOAT;
    const float limit = CAR_TURN_DEG_PER_SEC * dt;
    const float turn = std::clamp(UTIL_wrap_pm180(heading - car.heading), -limit, limit);
    car.heading = UTIL_wrap_floor(car.heading + turn, 360.0f);

    if (car.progress <= 0.85f) {
        car.turn_flag = 1;
    } else {
        const float next = std::atan2(c.x - b.x, c.z - b.z) * RAD_TO_DEG_FLOAT;
        const float d = UTIL_wrap_pm180(next - heading);
        car.turn_flag = d < 0.0f ? 0 : 2;
    }
    car.brake_flag = 0;
    float step = CAR_SPEED_MPS * dt / length;
    if (car.progress > 0.75f) {
        step *= (car.progress - 0.75f) * -3.6f + 1.0f;
        car.brake_flag = 1;
    } else if (car.progress < 0.25f) {
        step *= (car.progress - 0.25f) * 3.6f + 1.0f;
    }
    car.progress += step;
    if (car.progress > 1.0f) {
        car.progress -= 1.0f;
        car.segment_start = b_index;
    }
}

void road_cars(const cover_window& w)
{
    const long u = static_cast<long>(w.last_column + 1) + (w.last_row + 1);
    const float dt = sim_operation_misc.frame_rate_period;
    for (cover_entry& e : cover_table) {
        std::vector<cover_definition>& road = e.lists[COVER_ROAD];
        for (size_t n = 0; n < road.size(); ++n) advance_car(road, n, u, dt);
    }
}

bool water_corner(int i, int j)
{
    for (const int k : {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                        TERRAIN_index(i + 1, j)})
        if (landuse_grid[k] == LANDUSE_WATER_A || landuse_grid[k] == LANDUSE_WATER_B) return true;
    return false;
}

void figure(const terrain_vertex& A, const terrain_vertex& B, float r, int code, float dx, float dz, float heading)
{
    const float px = A.x + r * (B.x - A.x), py = A.y + r * (B.y - A.y), pz = A.z + r * (B.z - A.z);
    LIGHTS_add(code, px + dx, py, pz + dz, heading, 0, 0, 1);
    const float cx = px + 0.2f * dx, cz = pz + 0.2f * dz;
    const float wave = 45.0f + 30.0f * std::sin(6.0f * frame_clock);
    OGL_box_3d_quads(cx, py + 1.6f, cz, 0.2f, 0.3f, 0.25f, 0.0f, 0.75f, 0.75f, 1.0f, 0.0f);           // head
    OGL_box_3d_quads(cx, py + 0.8f, cz, 0.4f, 0.8f, 0.25f, 0.0f, 0.75f, 0.35f, 0.75f, 0.0f);          // body
    OGL_box_3d_quads(cx - 0.25f, py + 1.55f, cz, 0.15f, 0.75f, 0.15f, 0.75f, 1.0f, 0.75f, 0.35f, 190.0f);  // left arm
    OGL_box_3d_quads(cx + 0.25f, py + 1.55f, cz, 0.15f, 0.75f, 0.15f, 0.75f, 1.0f, 0.75f, 0.35f, wave);    // right arm
    OGL_box_3d_quads(cx - 0.11f, py, cz, 0.18f, 0.8f, 0.25f, 0.0f, 0.75f, 0.0f, 0.35f, 0.0f);          // left leg
    OGL_box_3d_quads(cx + 0.11f, py, cz, 0.18f, 0.8f, 0.25f, 0.0f, 0.75f, 0.0f, 0.35f, 0.0f);          // right leg
}

void airport_figures(const cover_window& w)
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_PERSON, 0);
    glBegin(GL_QUADS);   // every figure's boxes in one block
    const auto outside = [](int i, int j) {
        // A side with no neighbour in the grid has no border to stand on
        // (reading it would go past the grid).
        if (i < 0 || j < 0 || i >= TERRAIN_GRID_ROWS || j >= TERRAIN_GRID_COLS) return false;
        return terrain_airport_cell[TERRAIN_index(i, j)] == 0;
    };
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j) {
            const int k = TERRAIN_index(i, j);
            if (!cell_visible[k] || !terrain_airport_cell[k] || water_corner(i, j)) continue;
            const float r = COVER_random(static_cast<long>(i) + static_cast<long>(FIGURE_ROW_STRIDE) * j);
            const int code = i + FIGURE_ROW_STRIDE * j;
            if (outside(i, j + 1)) figure(V(i, j + 1), V(i + 1, j + 1), r, code, 0.0f, -5.0f, 180.0f);
            if (outside(i + 1, j)) figure(V(i + 1, j + 1), V(i + 1, j), r, code, 5.0f, 0.0f, 270.0f);
            if (outside(i, j - 1)) figure(V(i + 1, j), V(i, j), r, code, 0.0f, 5.0f, 0.0f);
            if (outside(i - 1, j)) figure(V(i, j), V(i, j + 1), r, code, -5.0f, 0.0f, 90.0f);
        }
    glEnd();
}

}  // namespace

void TERRAIN_draw()
{
    const sim_graphics_settings_block& g = sim_graphics_settings;

    // Night, the obstacles in view, the cover window and the globe's lean.
    terrain_night = sim_graphics_scenery.percent_lights_on > 0.0f ? 1 : 0;
    obstacles();
    const cover_window w = window_of_cover();
    tilt_factors();

    // Everything up to the road cars lies a little off the ground.
    OGL_polygon_offset(1);
    OGL_second_unit_mode(GL_ADD);
    glShadeModel(GL_FLAT);

    // Obstacles and generated objects.
    TERRAIN_objects_begin();
    if (g.draw_obstacles)
        for (size_t n = 0; n < placement_list.size(); ++n) {
            const object_placement p = placement_list[n];
            if (p.visible) TERRAIN_draw_object(p.object, p.x, p.y, p.z, p.heading);
        }
    if (w.autogen) generated_objects(w);
    TERRAIN_objects_end();
    glShadeModel(GL_SMOOTH);

    // Lights, trees and cars, canopy, the cars' movement.
    if (w.autogen) {
        if (terrain_night) night_lights(w);
        trees_and_cars(w);
        canopy(w);
        road_cars(w);
    }
    OGL_polygon_offset(0);

    // Figures along the airports' borders, on the Earth.
    if (WORLD_planet() == PLANET_EARTH) airport_figures(w);
}
