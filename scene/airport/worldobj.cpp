// The airport furniture pass and the fences.
#include "scene/airport/worldobj.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/draw_phases.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "scene/airport/airport_draw.h"
#include "scene/scene_state.h"
#include "scene/terrain/landing_light.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/terrain_grid.h"

worldobj_state_record worldobj_state{};
strip_skids_record strip_skids{};

void WORLDOBJ_reset()
{
    worldobj_state = worldobj_state_record{};
    strip_skids = strip_skids_record{};
}
ORVELL_RESET(WORLDOBJ_reset, scene);

namespace {

constexpr float DRIFT_LIMIT_M = 9999.0f;
constexpr double DRIFT_SPAN_M = 19998.0;
constexpr int APRONS_WITH_AIRCRAFT = 15;
constexpr float APRON_SIZE_M = 100.0f;
constexpr int FENCE_REACH_CELLS = 5;
constexpr float FENCE_HEIGHT_M = 4.0f;

// The drift kept inside [-9999, 9999] by whole spans of 19,998 m: the
// remainder gives what adding or subtracting the span until the value lies
// inside gives (10000 goes on at -9998, 9999 stays), without a loop that a
// huge value would keep running. A wind that is no number drifts nothing.
float drift(float value, float step)
{
    if (!std::isfinite(step)) step = 0.0f;
    double v = static_cast<double>(value) + step;
    if (!std::isfinite(v)) return 0.0f;
    if (v > DRIFT_LIMIT_M || v < -DRIFT_LIMIT_M) {
        v = std::fmod(v + DRIFT_LIMIT_M, DRIFT_SPAN_M);
        if (v < 0.0) v += DRIFT_SPAN_M;
        v -= DRIFT_LIMIT_M;
    }
    return static_cast<float>(v);
}

void snow_origin()
{
    worldobj_state_record& w = worldobj_state;
    const int a = start_selection.airport_index;
    if (runway_geometry_table.empty() || a < 0 || static_cast<size_t>(a) >= airport_table.size()) return;
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    if (!apt.local) return;
    const runway_geometry_record* g = APT_runway_geometry(apt, 0);
    if (!g) return;
    w.snow_origin_x = g->sections.front().left[0];
    w.snow_origin_z = g->sections.front().left[2];
    w.snow_tex_x = w.snow_origin_x + w.snow_drift_x;
    w.snow_tex_z = w.snow_origin_z + w.snow_drift_z;
    const float d = sim_weather.wind_direction_degt[0] * DEG_TO_RAD_FLOAT;
    w.wind_dir_sin = std::sin(d);
    w.wind_dir_cos = std::cos(d);
}

void blowing_snow(const runway_geometry_record& g)
{
    const int two = landing_splash_on ? 1 : 0;
    OGL_set_state(STATE_FOG_ON, two + 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    if (two) {
        OGL_bind_tex(TEX_SLOT_LANDING_LIGHT, 1);
        AIRPORT_modulate(1);
    }
    OGL_bind_tex(TEX_SLOT_BLOWING_SNOW, 0);
    AIRPORT_modulate(0);
    glBegin(GL_QUAD_STRIP);
    for (const runway_section& s : g.sections) {
        WORLDOBJ_snow_vertex(s.right, two);
        WORLDOBJ_snow_vertex(s.left, two);
    }
    glEnd();
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
}

bool snowing()
{
    return sim_weather.temperature_sealevel_c < 0.0f && sim_weather.rain_percent > 0.0f;
}

// Everything of entry n of the nearby list but its lights.
void airport_furniture(int n)
{
    int a = -1;
    const airport_record* apt = APT_near_airport(n, a);
    if (!apt) return;
    const int runways = static_cast<int>(apt->runways.size());
    for (int r = runways - 1; r >= 0; --r) {
        const runway_geometry_record* g = APT_runway_geometry(*apt, r);
        if (g && apt->runways[static_cast<size_t>(r)].surface_code == SURFACE_WATER) AIRPORT_draw_buoys(*g);
    }
    for (int r = runways - 1; r >= 0; --r)
        if (apt->runways[static_cast<size_t>(r)].surface_code != SURFACE_WATER) WORLDOBJ_draw_strip(a, r, 1);

    const bool selected = a == start_selection.airport_index;
    int aprons = 0;
    for (int r = runways - 1; r >= 0; --r) {
        const runway_record& rw = apt->runways[static_cast<size_t>(r)];
        const runway_geometry_record* g = APT_runway_geometry(*apt, r);
        if (rw.surface_code == SURFACE_WATER || !g) continue;
        if (snowing() && !AIRPORT_unpaved(rw.surface_code)) blowing_snow(*g);
        const int first_slot = g->sections.front().texture_slot;
        if (rw.distance_signs && selected && !(first_slot >= 162 && first_slot <= 169)) AIRPORT_draw_signs(*apt, r);
        if (screen_settings.draw_apron_aircraft && !APT_is_runway(rw) && selected &&
            aprons < APRONS_WITH_AIRCRAFT && rw.length > APRON_SIZE_M && rw.width > APRON_SIZE_M) {
            ++aprons;
            // Slot 0 is the user's own aircraft: parking it would show a second
            // copy of the aircraft being flown standing on the apron, so only
            // the other slots are parked.
            const int p = r % 10;
            if (p != 0 && p < sim_graphics_settings.draw_aircrafts - 1) AIRPORT_park_aircraft(p, r, *g);
        }
    }
}

bool water(int index)
{
    const int32_t code = landuse_grid[index];
    return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B;
}

// One fence quad between two terrain points, fading with distance from the camera.
void fence(const terrain_vertex& p, const terrain_vertex& q)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const float distance = std::hypot(p.x - v.view_x, p.z - v.view_z);
    WORLDOBJ_set_gl_color(0, UTIL_clamp(1.0f - 0.0004f * distance, 0.0f, 1.0f));
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(p.x, p.y, p.z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(p.x, p.y + FENCE_HEIGHT_M, p.z);
    glTexCoord2f(180.0f, 1.0f);
    glVertex3f(q.x, q.y + FENCE_HEIGHT_M, q.z);
    glTexCoord2f(180.0f, 0.0f);
    glVertex3f(q.x, q.y, q.z);
}

}  // namespace

void WORLDOBJ_set_gl_color(int row, float alpha) { OGL_apply_color(row, alpha); }

void WORLDOBJ_snow_vertex(const float* point, int two_units)
{
    const worldobj_state_record& w = worldobj_state;
    const float u = (point[0] - w.snow_tex_x) * 0.02f, v = (point[2] - w.snow_tex_z) * 0.02f;
    if (!two_units) {
        AIRPORT_tex(0, u, v);
    } else {
        AIRPORT_tex(0, u * w.wind_dir_cos + v * w.wind_dir_sin, u * w.wind_dir_sin - v * w.wind_dir_cos);
        AIRPORT_splash_tex(1, point[0], point[2]);
    }
    glVertex3fv(point);
}

// Other names for what this pass reads: the nearby-airport list
// (near_airports, near_airport_last) is the local airport list
// (local_airport_list, local_airport_last), its visible bytes
// (near_airport_visible) are scene_airport_visible, the selected airport is
// the start selection's airport, and the terrain height below the camera
// (camera_ground_height) is scene_ground_elevation, as their owners name them.
void WORLDOBJ_draw_objects()
{
    worldobj_state_record& w = worldobj_state;
    w.lift = (sim_graphics_view.view_y - scene_ground_elevation) * 0.01f;
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    if (PLUGIN_call_draw_hook(DRAW_PHASE_AIRPORT_BEFORE) != 0) {
        const float dt = sim_operation_misc.frame_rate_period;
        w.snow_drift_x = drift(w.snow_drift_x, wind_vector[0] * dt);
        w.snow_drift_z = drift(w.snow_drift_z, wind_vector[2] * dt);
        snow_origin();
        LIGHTS_setup_gl_landing(1, 0);
        OGL_polygon_offset(2);
        for (int n = 0; n <= last; ++n)
            if (scene_airport_visible[n]) airport_furniture(n);
    }
    OGL_polygon_offset(0);
    LIGHTS_setup_gl_landing(0, 0);
    PLUGIN_call_draw_hook(DRAW_PHASE_AIRPORT_AFTER);
    for (int n = 0; n <= last; ++n)
        if (scene_airport_visible[n]) AIRPORT_draw_lights(n);
}

void WORLDOBJ_draw_fences()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_FENCE, 0);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    const int p = WORLD_planet();
    const int columns = SCENE_GRID_COLUMNS[p], rows = SCENE_GRID_ROWS[p];
    const auto airport_cell = [&](int i, int j) {
        return i >= 0 && i < columns && j >= 0 && j < rows && terrain_airport_cell[TERRAIN_index(i, j)] != 0;
    };
    const int j0 = std::max(camera_cell.row - FENCE_REACH_CELLS, 0), j1 = std::min(camera_cell.row + FENCE_REACH_CELLS, rows - 1);
    const int i0 = std::max(camera_cell.column - FENCE_REACH_CELLS, 0),
              i1 = std::min(camera_cell.column + FENCE_REACH_CELLS, columns - 1);
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i) {
            const int c0 = TERRAIN_index(i, j), c1 = TERRAIN_index(i, j + 1), c2 = TERRAIN_index(i + 1, j + 1),
                      c3 = TERRAIN_index(i + 1, j);
            if (!cell_visible[c0] || !terrain_airport_cell[c0]) continue;
            if (water(c0) || water(c1) || water(c2) || water(c3)) continue;
            const terrain_vertex* g = terrain_vertex_grid;
            if (!airport_cell(i + 1, j)) fence(g[c3], g[c2]);
            if (!airport_cell(i, j + 1)) fence(g[c1], g[c2]);
            if (!airport_cell(i - 1, j)) fence(g[c0], g[c1]);
            if (!airport_cell(i, j - 1)) fence(g[c0], g[c3]);
        }
    glEnd();
    glEnable(GL_CULL_FACE);
}
