#include "scene/terrain/surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/units.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/sky/cloud_field.h"
#include "scene/scene_state.h"
#include "scene/terrain/ground_cells.h"
#include "scene/terrain/landing_light.h"
#include "scene/view_setup.h"
#include "world/landuse.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

surface_kept_record surface_kept{};
map_geometry_record map_geometry{0.0f, 0.0f, 1.0f};
void SURFACE_map_geometry_reset() { map_geometry = {0.0f, 0.0f, 1.0f}; }
ORVELL_RESET(SURFACE_map_geometry_reset, scene);

ORVELL_RESET_RECORD(SURFACE_reset, surface_kept, scene);

namespace {

constexpr float SEA_REPEATS_PER_DEGREE[2] = {200.0f, 64.0f};   // Earth, Mars
constexpr float DRIFT_LIMIT = 1000.0f;
constexpr float MAP_WATER_RGB[3] = {45.0f / 255.0f, 65.0f / 255.0f, 75.0f / 255.0f};
constexpr float SEA_PHASE_RATE = 0.5f;   // a sixteen-frame cycle every 2 s
constexpr int SEA_FRAMES_LAST = TEX_SLOT_SEA_LAST - TEX_SLOT_SEA_FIRST;
constexpr int32_t OWN_TEXTURE_FIRST = 1000;
constexpr int32_t BLEND_FIRST = TERRAIN_LAYERED;

// The sea animation's phase a frame on, brought into 0..1 by whole steps
// (exactly 1 stays).
float next_sea_phase()
{
    const float step = SEA_PHASE_RATE * sim_operation_misc.frame_rate_period;
    return UTIL_wrap_closed(surface_kept.sea_anim_phase + step, 1.0f);
}

// The nearest whole number, halves away from zero.
float round_away(float v) { return std::round(v); }

// The texture's aspect. A texture number outside the list (from a cell's
// words) would read past the aspect table, and an aspect that is 0 or no
// number would put every strip coordinate at infinity: both count as 1.
float texture_aspect(int t)
{
    if (t < 0 || t >= LANDUSE_MAX_TEXTURES) return 1.0f;
    const float a = terrain_texture_aspect[t];
    return std::isfinite(a) && a > 0.0f ? a : 1.0f;
}

// One call's settings, worked out at its start.
struct patch_call {
    const terrain_vertex* grid;
    int mode;
    int fog, depth_test, depth_writes;
    bool second_unit;   // the shadow or the splash on a second unit
    bool shadow, splash;
    terrain_window_record window;   // held inside the grid's cells
    bool empty;
};

bool visible(int i, int j) { return GROUND_cell_visible(i, j); }

int32_t cell_code(int i, int j) { return terrain_point_texture[TERRAIN_index(i, j)]; }

// The second unit's coordinates of a point: the splash replaces the shadow.
void second_coords(const patch_call& c, int unit, const float p[3])
{
    if (!gl_entry::glMultiTexCoord2fvARB) return;   // no entry point: it would be called through null
    float uv[2] = {0.0f, 0.0f};
    if (c.shadow) SURFACE_shadow_texcoord(p, uv);
    if (c.splash) SURFACE_light_texcoord(p, uv);
    gl_entry::glMultiTexCoord2fvARB(GL_TEXTURE0_ARB + unit, uv);
}

void point(const patch_call& c, int i, int j, float s, float t)
{
    const int k = TERRAIN_index(i, j);
    const terrain_vertex& v = c.grid[k];
    const float p[3] = {v.x, v.y, v.z};
    glTexCoord2f(s, t);
    if (c.second_unit) second_coords(c, 1, p);
    glNormal3fv(terrain_point_normal[k]);
    glVertex3fv(p);
}

void water_point(const patch_call& c, int i, int j)
{
    const terrain_vertex& v = c.grid[TERRAIN_index(i, j)];
    float st[2];
    SURFACE_wave_texcoord(v.x, c.mode == 2 ? v.y : v.z, st);
    point(c, i, j, st[0], st[1]);
}

// A unit the hardware lacks (or no entry point to select it) would be
// selected through an empty pointer or set unit 0's environment instead:
// nothing is set then.
void set_unit_env(int unit)
{
    if (!gl_entry::glActiveTextureARB || num_tex_units <= unit) return;
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void bind_second(const patch_call& c, int unit)
{
    if (c.shadow) OGL_bind_tex(cloud_shadow_texture, unit);
    if (c.splash) OGL_bind_tex(TEX_SLOT_LANDING_LIGHT, unit);
}

// The sea texture's drift and turn; returns the texture scale k.
float wave_motion(int mode)
{
    surface_kept_record& s = surface_kept;
    const float dir = static_cast<float>(sim_weather.wave_dir) * DEG_TO_RAD_FLOAT;
    const float period = sim_operation_misc.frame_rate_period;
    // Each drift is brought back into -1000..1000 by whole steps of 2000.
    s.wave_drift_x =
        UTIL_wrap_between(s.wave_drift_x - sim_weather.wave_speed * std::sin(dir) * period, -DRIFT_LIMIT, DRIFT_LIMIT);
    s.wave_drift_z =
        UTIL_wrap_between(s.wave_drift_z + sim_weather.wave_speed * std::cos(dir) * period, -DRIFT_LIMIT, DRIFT_LIMIT);
    const float repeats = SEA_REPEATS_PER_DEGREE[WORLD_planet()];
    float k = repeats / UNIT_MTRS_PER_DEG_LAT;
    if (mode == 2) {
        const float span = (map_geometry.area_top - map_geometry.area_bottom) * map_geometry.zoom;
        // A map of no height (not laid out yet) would divide by zero and
        // spread infinities through every sea coordinate: the sea stands still.
        k = std::isfinite(span) && span != 0.0f ? repeats / span : 0.0f;
    }
    s.wave_rot_sin = k * std::sin(dir);
    s.wave_rot_cos = k * std::cos(dir);
    return k;
}

// The cells of the window in view.
void cull(const patch_call& c, int no_cull, float k)
{
    const terrain_window_record& w = c.window;
    if (no_cull != 0) {
        for (int i = w.first_column; i <= w.last_column; ++i)
            for (int j = w.first_row; j <= w.last_row; ++j) cell_visible[TERRAIN_index(i, j)] = 1;
        return;
    }
    const float h = 0.5f / k;
    const float hx = h * std::cos(lat_ref * DEG_TO_RAD_FLOAT);
    const float R = std::trunc(4.0f * std::sqrt(h * h + hx * hx));
    SCENE_form_footprint_box(R);
    const float* box = scene_footprint_box;
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j) {
            const terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
            const float cx = v.x + h, cz = v.z - hx;
            bool in = cx >= box[0] && cx <= box[1] && cz >= box[2] && cz <= box[3];
            for (int e = 0; e < 4 && in; ++e) {
                const ground_point& a = view_footprint[e];
                const ground_point& b = view_footprint[(e + 1) % 4];
                in = GEO_circle_inside_edge(a.x, a.z, b.x, b.z, cx, cz, R);
            }
            cell_visible[TERRAIN_index(i, j)] = in ? 1 : 0;
        }
}

bool matches(int t, int32_t code, int i, int j)
{
    if (code == t) return true;
    if (code >= BLEND_FIRST) return terrain_cell_layer_texture[TERRAIN_index(i, j)][0] == t;
    return t == 0 && code >= OWN_TEXTURE_FIRST && code < BLEND_FIRST;
}

// One land-use texture's cells as strips along the rows: the base coat.
void base_texture(const patch_call& c, int t)
{
    const bool water = landuse_texture_water[t] != 0;
    const float g = gload_dim_factor;
    const int units = c.second_unit ? 2 : 1;
    OGL_set_state(c.fog, units, water ? STATE_LIGHTING_OFF : STATE_LIGHTING_ON, STATE_OPAQUE, c.depth_test,
                  c.depth_writes);
    if (!water)
        glColor4f(g, g, g, 1.0f);
    else if (c.mode == 2)
        glColor4f(MAP_WATER_RGB[0] * g, MAP_WATER_RGB[1] * g, MAP_WATER_RGB[2] * g, 1.0f);
    else
        glColor4f(surface_tint[0] * g, surface_tint[1] * g, surface_tint[2] * g, 1.0f);

    if (water) {
        surface_kept.sea_anim_phase = next_sea_phase();
        const int frame = std::clamp(static_cast<int>(std::floor(surface_kept.sea_anim_phase * SEA_FRAMES_LAST + 0.5f)),
                                     0, SEA_FRAMES_LAST);
        OGL_bind_tex(TEX_SLOT_SEA_FIRST + frame, 0);
    } else {
        OGL_bind_tex(t, 0);
    }

    // Each row starts at a whole-column phase of its own, tied to the world:
    // the image's height spans one row of cells, its width `a` columns.
    const float a = texture_aspect(t);
    // A texture taller than wide (aspect below 1) gives n = 0, and the row
    // alignment m would divide by it: such a texture aligns as n = 1.
    const int n = std::max(1, static_cast<int>(a));
    const float m = static_cast<float>(n) * round_away(static_cast<float>(camera_cell.column) / static_cast<float>(n));

    const terrain_window_record& w = c.window;
    for (int j = w.first_row; j <= w.last_row; ++j) {
        const float offset = std::trunc(static_cast<float>(n + 1) * COVER_random(j)) - m;
        bool open = false;
        auto pair = [&](int i) {
            if (water) {
                water_point(c, i, j);
                water_point(c, i, j + 1);
            } else {
                const float s = (static_cast<float>(i) + offset) / a;
                point(c, i, j, s, 0.0f);
                point(c, i, j + 1, s, 1.0f);
            }
        };
        for (int i = w.first_column; i <= w.last_column + 1; ++i) {
            const bool here = visible(i, j);
            if (!here && !(i > 0 && visible(i - 1, j))) continue;
            if (here && i <= w.last_column && matches(t, cell_code(i, j), i, j)) {
                if (!open) glBegin(GL_TRIANGLE_STRIP);
                open = true;
                pair(i);
                if (c.mode == 3) ++scene_draw_counts.ground_cells;
            } else if (open) {
                pair(i);   // the far edge of the run's last cell
                glEnd();
                open = false;
            }
        }
        if (open) glEnd();
    }
}

// The corners of cell (i, j) in the order 0..3: (i, j), (i, j+1), (i+1, j+1), (i+1, j).
void cell_corner(int i, int j, int corner, int& ci, int& cj)
{
    ci = i + (corner >= 2 ? 1 : 0);
    cj = j + (corner == 1 || corner == 2 ? 1 : 0);
}

constexpr int TRIANGLE_CORNERS[6] = {1, 3, 0, 1, 2, 3};

// Cells with their own texture, over the base.
void own_texture_cells(const patch_call& c)
{
    const float g = gload_dim_factor;
    OGL_polygon_offset(1);
    OGL_set_state(c.fog, c.second_unit ? 2 : 1, STATE_LIGHTING_ON, STATE_BLEND, c.depth_test, c.depth_writes);
    glColor4f(g, g, g, 1.0f);
    const terrain_window_record& w = c.window;
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j) {
            const int32_t code = cell_code(i, j);
            if (!visible(i, j) || code < OWN_TEXTURE_FIRST || code >= BLEND_FIRST) continue;
            OGL_bind_tex(code, 0);
            const float* uv = terrain_cell_tex[TERRAIN_index(i, j)];
            glBegin(GL_TRIANGLES);
            for (int corner : TRIANGLE_CORNERS) {
                int ci, cj;
                cell_corner(i, j, corner, ci, cj);
                point(c, ci, cj, uv[2 * corner], uv[2 * corner + 1]);
            }
            glEnd();
        }
    OGL_polygon_offset(0);
}

// One overlay of a blend cell: its layer, texture pair and cell.
struct blend_overlay {
    int layer;
    int32_t texture, mask;
    int i, j;
};
// Reused from frame to frame.
std::vector<blend_overlay> surface_blend_scratch;

// The overlay layers of the blend cells, each through its border mask.
void blend_cells(const patch_call& c)
{
    const float g = gload_dim_factor;
    // The shadow or splash needs a third unit here; hardware with two draws the
    // overlays without it rather than bind it over the mask.
    const bool second = c.second_unit && num_tex_units >= 3;
    OGL_set_state(c.fog, second ? 3 : 2, STATE_LIGHTING_ON, STATE_BLEND, c.depth_test, c.depth_writes);
    glColor4f(g, g, g, 1.0f);
    set_unit_env(1);
    if (second) {
        set_unit_env(2);
        bind_second(c, 2);
    }
    OGL_polygon_offset(1);
    glDepthMask(GL_FALSE);
    const bool multi = gl_entry::glMultiTexCoord2fvARB != nullptr;
    static constexpr float MASK_ST[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const terrain_window_record& w = c.window;
    // The overlays go to the renderer grouped by layer and by texture pair,
    // one batch each: a cell's layers keep their order, and the overlays of
    // different cells lie on different pixels (the depth test keeps a cell's
    // overlay to where its own ground shows), so the picture is the same as
    // cell by cell, for a bind and a draw a group instead of one an overlay.
    std::vector<blend_overlay>& overlays = surface_blend_scratch;
    overlays.clear();
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j) {
            if (!visible(i, j) || cell_code(i, j) < BLEND_FIRST) continue;
            const int k = TERRAIN_index(i, j);
            for (int layer = 1; layer <= 3; ++layer) {
                const int32_t texture = terrain_cell_layer_texture[k][layer];
                const int32_t mask = terrain_cell_layer_slot[k][layer];
                if (layer > 1 && texture >= TERRAIN_NO_LAYER) continue;
                // The words come from the tile file: one naming no texture slot
                // would index past the texture tables, so that layer is skipped.
                if (texture < 0 || texture >= TEX_SLOTS || mask < 0 || mask >= TEX_SLOTS) continue;
                overlays.push_back({layer, texture, mask, i, j});
            }
        }
    std::stable_sort(overlays.begin(), overlays.end(), [](const blend_overlay& a, const blend_overlay& b) {
        if (a.layer != b.layer) return a.layer < b.layer;
        if (a.texture != b.texture) return a.texture < b.texture;
        return a.mask < b.mask;
    });
    for (size_t n = 0; n < overlays.size();) {
        const blend_overlay& first = overlays[n];
        OGL_bind_tex(first.texture, 0);
        OGL_bind_tex(first.mask, 1);
        const float s1 = 1.0f / texture_aspect(first.texture);
        const float base_st[4][2] = {{0, 0}, {0, 1}, {s1, 1}, {s1, 0}};
        glBegin(GL_TRIANGLES);
        for (; n < overlays.size() && overlays[n].layer == first.layer && overlays[n].texture == first.texture &&
               overlays[n].mask == first.mask;
             ++n)
            for (int corner : TRIANGLE_CORNERS) {
                int ci, cj;
                cell_corner(overlays[n].i, overlays[n].j, corner, ci, cj);
                const int kk = TERRAIN_index(ci, cj);
                const terrain_vertex& v = c.grid[kk];
                const float p[3] = {v.x, v.y, v.z};
                glTexCoord2fv(base_st[corner]);
                if (multi) gl_entry::glMultiTexCoord2fvARB(GL_TEXTURE1_ARB, MASK_ST[corner]);
                if (second) second_coords(c, 2, p);
                glNormal3fv(terrain_point_normal[kk]);
                glVertex3fv(p);
            }
        glEnd();
    }
    glDepthMask(GL_TRUE);
    OGL_polygon_offset(0);
}

}  // namespace

void SURFACE_wave_texcoord(float x, float z, float out[2])
{
    const surface_kept_record& s = surface_kept;
    const float p = 5.0f * x - s.wave_drift_x;
    const float q = -5.0f * z - s.wave_drift_z;
    out[0] = p * s.wave_rot_cos - q * s.wave_rot_sin;
    out[1] = p * s.wave_rot_sin + q * s.wave_rot_cos;
}

void SURFACE_light_texcoord(const float point[3], float out[2])
{
    const landing_splash_projection_record& L = landing_splash_projection;
    const float dx = point[0] - L.centre_x, dz = point[2] - L.centre_z;
    out[0] = L.u_per_x * dx + L.u_per_z * dz + 0.5f;
    out[1] = L.v_per_x * dx + L.v_per_z * dz + 0.5f;
}

void SURFACE_shadow_texcoord(const float point[3], float out[2])
{
    const float d = cloud_shadow_base - point[1];
    out[0] = (point[0] - cloud_shadow_mapping[0] - d * sun_tangents[0]) * cloud_shadow_mapping[1];
    out[1] = (d * sun_tangents[1] + point[2] - cloud_shadow_mapping[2]) * cloud_shadow_mapping[3];
}

void SURFACE_draw_patch(const terrain_vertex* grid, int mode, int no_cull, int blend_pass)
{
    if (!grid) grid = terrain_vertex_grid;   // no grid given: the tile's own (rather than read through null)

    // Set-up: the landing light first, so its splash is known.
    if (mode == 3) LIGHTS_setup_gl_landing(1, 1);
    patch_call c{};
    c.grid = grid;
    c.mode = mode;
    c.fog = mode == 3 ? STATE_FOG_ON : STATE_FOG_OFF;
    c.depth_test = mode == 3 ? STATE_DEPTH_TEST_ON : STATE_DEPTH_TEST_OFF;
    c.depth_writes = mode == 3 ? STATE_DEPTH_WRITE_ON : STATE_DEPTH_WRITE_OFF;
    c.shadow = cloud_shadow_texture != 0;
    c.splash = landing_splash_on != 0;
    surface_kept.surface_second_unit = (c.shadow || c.splash) ? 1 : 0;
    // A second unit needs the hardware's second unit: without it (or without
    // the multitexture entry points) the second unit's calls would go through
    // null entry points, so the ground is drawn without shadow or splash.
    c.second_unit = surface_kept.surface_second_unit && num_tex_units >= 2 && gl_entry::glMultiTexCoord2fvARB;
    c.empty = !GROUND_hold_window(terrain_window, c.window);

    // The sea's motion, in every mode.
    const float k = wave_motion(mode);

    // The cells in view.
    if (!c.empty) cull(c, no_cull, k);

    // The second unit: cloud shadow or landing-light splash.
    if (c.second_unit) {
        const float g = gload_dim_factor;
        OGL_set_state(c.fog, 2, STATE_LIGHTING_ON, STATE_OPAQUE, c.depth_test, c.depth_writes);
        glColor4f(g, g, g, 1.0f);
        set_unit_env(1);
        bind_second(c, 1);
    }

    // Base textures (an empty window draws nothing, but the sea runs on).
    // A count past the land-use texture tables would read past them.
    const int count = std::clamp(landuse_texture_count, 0, LANDUSE_MAX_TEXTURES);
    for (int t = 0; t < count; ++t) {
        if (!(texture_memory[t] > 0 || landuse_texture_water[t])) continue;
        if (c.empty) {
            if (landuse_texture_water[t])
                surface_kept.sea_anim_phase = next_sea_phase();
            continue;
        }
        base_texture(c, t);
    }

    if (!c.empty) {
        // Cells with their own texture, then the blend cells' overlays.
        own_texture_cells(c);
        if (blend_pass != 0) blend_cells(c);
    }

    // Light 1 off, the splash flag cleared, in every mode.
    LIGHTS_setup_gl_landing(0, 1);
}
