// Synthetic vision (type 191) and the weapon camera (type 435): a small 3-D
// picture of the terrain inside the instrument's window, lit, textured and
// fogged, with the runways; type 191 lays the reduced head-up display, an
// HSI, a vertical-speed tape and the barometer and Mach readouts over it and
// switches to the moving map on its second page; the weapon camera looks
// from a guided weapon and steers it while the mouse is held on its box.
//
// Reads: the avionics power, failure 7, the camera and the user's attitude
// and terrain cell, or the chosen weapon's; the terrain grid with its normals
// and land use; the nearby airports and runway geometry, whose runways the
// airport pass's strip drawer draws here; the vertical speed, the barometer
// setting and its unit, the Mach number; the mouse. Writes: the page of each
// type-191 instance, the weapon's two steering commands.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/failure_slots.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/glass/glass.h"
#include "panel/hud/hud.h"
#include "panel/panel_kit.h"
#include "scene/airport/worldobj.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

namespace {

constexpr float NEAR_M = 0.001f * UNIT.nm_to_mtrs;
constexpr float FOG_BASE_M = 10.0f * UNIT.nm_to_mtrs;
constexpr float BOX_M = 11.0f * UNIT.nm_to_mtrs;
constexpr float BACKDROP_E = 20.0f * UNIT.nm_to_mtrs;
constexpr float FAR_M = 25.0f * UNIT.nm_to_mtrs;
constexpr int FAIL_SLOT_EFIS_READOUTS = 7;

constexpr float HAZE[3] = {0.49f, 0.56f, 0.70f};
constexpr float SKY_NEAR[3] = {0.28f, 0.42f, 0.70f};
constexpr float SKY_OVERHEAD[3] = {0.14f, 0.21f, 0.35f};

struct window_box {
    float x1, y1, x2, y2;
};
constexpr window_box WINDOW_191 = {-83.0f, -10.0f, 83.0f, 138.0f};
constexpr window_box WINDOW_435 = {-62.0f, -42.0f, 62.0f, 52.0f};

struct viewpoint {
    float x, y, z;
    float roll, pitch, heading;
    int cell_x, cell_z;
    float box_x, box_z;   // where the terrain box is centred
};

void colour(const float c[3])
{
    glColor4f(c[0] * gload_dim_factor, c[1] * gload_dim_factor, c[2] * gload_dim_factor, 1.0f);
}

// The slot of the weapon the camera rides: the last guided weapon, or the
// last released one; -1 for none.
int camera_weapon(const acf_struct& a)
{
    int chosen = -1, released = -1;
    for (int k = 0; k < ACF_WPN_SLOTS; ++k) {
        const wpn_slot_record& w = a.acf_wpn_slot[k];
        if (w.wpn_type != WPN_KIND_BOMB_PRESS && w.wpn_type != WPN_KIND_BOMB_PRESS_2) continue;
        chosen = k;
        if (w.wpn_released) released = k;
    }
    return released >= 0 ? released : chosen;
}

// Truncated toward zero. A position that is not a number, or one past the int
// range, would make the conversion undefined: those read 0 and the held value.
int truncated(float v) { return std::isfinite(v) ? static_cast<int>(std::clamp(v, -1.0e9f, 1.0e9f)) : 0; }

bool water_point(int i, int j)
{
    const int32_t u = landuse_grid[TERRAIN_index(i, j)];
    return u == LANDUSE_WATER_A || u == LANDUSE_WATER_B;
}

void terrain_vertex_at(int i, int j, float t)
{
    const int k = TERRAIN_index(i, j);
    glNormal3fv(terrain_point_normal[k]);
    glTexCoord2f(static_cast<float>(i), t);
    const terrain_vertex& p = terrain_vertex_grid[k];
    glVertex3f(p.x, p.y, p.z);
}

// Land cells on pass 0, water cells on pass 1, in strips along x; a strip ends
// on the first vertex pair of a cell of the other kind. Every point read, one
// cell beyond the box included, stays inside the grid.
void terrain_pass(const hud_view_box& b, int pass)
{
    OGL_bind_tex(pass == 0 ? TEX_SLOT_HITS_1 : TEX_SLOT_HITS_2, 0);
    const int i0 = std::max(b.cell_x_lo, 0), i1 = std::min(b.cell_x_hi, TERRAIN_GRID_ROWS - 2);
    const int j0 = std::max(b.cell_z_lo, 0), j1 = std::min(b.cell_z_hi, TERRAIN_GRID_COLS - 1);
    for (int j = j0; j < j1; ++j) {
        bool open = false;
        for (int i = i0; i <= i1; ++i) {
            const bool water = water_point(i, j) || water_point(i, j + 1) || water_point(i + 1, j + 1) || water_point(i + 1, j);
            const bool mine = water == (pass == 1);
            if (mine || open) {
                if (!open) glBegin(GL_TRIANGLE_STRIP), open = true;
                terrain_vertex_at(i, j, 0.0f);
                terrain_vertex_at(i, j + 1, 1.0f);
            }
            if (!mine && open) glEnd(), open = false;
        }
        if (open) glEnd();
    }
}

// The runways of the nearby airports that reach the box, each airport's last
// runway first, pulled in front of the terrain they lie on; taxiways and
// aprons are left out, and so are the skid marks and the landing light.
void runways(const hud_view_box& b)
{
    OGL_polygon_offset(1);
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int k = 0; k <= last; ++k) {
        const int a = local_airport_list[k];
        const airport_record* apt = APT_table_at(a);
        if (!apt) continue;
        for (int r = static_cast<int>(apt->runways.size()) - 1; r >= 0; --r)
            if (HUD_runway_near_box(a, r, b)) WORLDOBJ_draw_strip(a, r, 0);
    }
    OGL_polygon_offset(0);
}

void backdrop()
{
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    glDepthFunc(GL_ALWAYS);
    const float E = BACKDROP_E, e = 0.4f * E;
    const struct { float y, z; const float* c; } rungs[] = {
        {-e, E, HAZE},   {-E, e, HAZE},      {-E, -e, HAZE},         {-e, -E, HAZE},       {0.0f, -E, HAZE},
        {e, -E, SKY_NEAR}, {E, -e, SKY_OVERHEAD}, {E, e, SKY_OVERHEAD}, {e, E, SKY_NEAR},
    };
    glBegin(GL_QUAD_STRIP);
    for (const auto& r : rungs) {
        colour(r.c);
        glVertex3f(2.0f * E, r.y, r.z);
        glVertex3f(-2.0f * E, r.y, r.z);
    }
    glEnd();
    glDepthFunc(GL_LEQUAL);
}

void lit_fogged_state()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    const float fog[4] = {HAZE[0] * gload_dim_factor, HAZE[1] * gload_dim_factor, HAZE[2] * gload_dim_factor, 1.0f};
    glFogfv(GL_FOG_COLOR, fog);
    glFogi(GL_FOG_MODE, GL_LINEAR);   // the start and end distances are those of a linear fog
    glFogf(GL_FOG_START, 0.4f * FOG_BASE_M);
    glFogf(GL_FOG_END, 0.8f * FOG_BASE_M);
    const float g = 0.5f * gload_dim_factor;
    const float light[4] = {g, g, g, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, light);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light);
    const float a = 30.0f * DEG_TO_RAD_FLOAT;
    const float position[4] = {std::sin(a) * std::cos(a), std::cos(a) * std::cos(a), std::sin(a), 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void picture(const viewpoint& v, const window_box& w, int type)
{
    const float s = panel_ins_scale;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    const hud_view_box b = HUD_view_box(v.cell_x, v.cell_z, truncated(v.box_x), truncated(v.box_z), v.heading, BOX_M);

    const float vx1 = MACIBM_ui_to_window_x(ox + w.x1 * s), vy1 = MACIBM_ui_to_window_y(oy + w.y1 * s);
    const float vx2 = MACIBM_ui_to_window_x(ox + w.x2 * s), vy2 = MACIBM_ui_to_window_y(oy + w.y2 * s);
    // 90 degrees across on both axes whatever the window's shape: the 3-D
    // projection multiplies the vertical edges by the window's height over
    // width, so edges of +-1/aspect there are edges of +-1 times the near distance.
    const float aspect = vx2 != vx1 ? (vy2 - vy1) / (vx2 - vx1) : 1.0f;
    const float t = aspect != 0.0f ? 1.0f / aspect : 1.0f;
    // The panel pass's projection (zoomed or not) and viewport come back afterwards.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    OGL_set_projection(PROJECTION_3D, -1.0f, -t, 1.0f, t, vx1, vy1, vx2, vy2, NEAR_M, FAR_M, FAR_M, 1.0f);
    glRotatef(v.roll, 0.0f, 0.0f, 1.0f);
    glRotatef(v.pitch, -1.0f, 0.0f, 0.0f);
    backdrop();
    glRotatef(v.heading, 0.0f, 1.0f, 0.0f);
    glTranslatef(-v.x, -v.y, -v.z);
    lit_fogged_state();
    terrain_pass(b, 0);
    terrain_pass(b, 1);
    runways(b);
    if (type == INS_EFIS_HITS) HUD_draw_world_symbols(HUD_MODE_SYNTHETIC);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

void overlay(const panel_records& r)
{
    const flt_struct& f = r.flt;
    const float s = panel_ins_scale;
    HUD_draw(-113.0f * s, -26.0f * s, 114.0f * s, 154.0f * s, HUD_MODE_SYNTHETIC);
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    screen.screen_area_bottom = oy - 76.0f * s;
    PANEL_hsi(r);
    screen.screen_area_left = ox + 100.0f * s;
    const float vs = f.vh_ind * UNIT.mps_to_fpm * 0.01f;
    OGL_fill_rect(70, 1.0f, -12.0f * s, -50.0f * s, 24.0f * s, 100.0f * s);
    PANEL_draw_tape(49, 50, -11.0f * s, 10.0f * s, 0.0f, 50.0f * s, -999.0f, vs, 1.0f, 5, 5.0f * s, 2, 0, 110);
    OGL_draw_string_fmt(49, -25.0f * s, -3.0f * s, std::isfinite(vs) ? vs : 0.0f, 2, 0, 1, 110);
    screen.screen_area_left = ox, screen.screen_area_bottom = oy;
    const float baro = sim_cockpit_misc.barometer_setting * (screen_settings.pressure_units_metric != 0 ? UNIT.inhg_to_mb : 100.0f);
    OGL_draw_string_fmt(56, 88.0f * s, -22.0f * s, std::isfinite(baro) ? baro : 0.0f, 4, 0, 0, 110);
    OGL_draw_string(51, -111.0f * s, -22.0f * s, "M=", 9999.0f, 110);
    OGL_draw_string_fmt(51, -98.0f * s, -22.0f * s, std::isfinite(f.machno) ? f.machno : 0.0f, 5, 3, 0, 110);
}

// The stick below the picture steers the weapon. The mouse offset is taken in
// design units (divided by the scale), as every other click spot of the panel
// is: in raw screen units the box would lie off the drawn stick at any scale but 1.
void steer(int slot)
{
    if (!mouse.mouse_held) return;
    const float s = panel_ins_scale != 0.0f ? panel_ins_scale : 1.0f;   // a scale of 0 would divide by zero
    const float x = (mouse.mouse_x - screen.screen_area_left) / s, y = (mouse.mouse_y - screen.screen_area_bottom) / s;
    if (!(x >= -15.0f && x <= 15.0f && y >= -77.0f && y <= -47.0f)) return;
    WPN_set_steering(slot, std::clamp(x / 9.0f, -1.0f, 1.0f), -std::clamp((y + 62.0f) / 9.0f, -1.0f, 1.0f));
}

}   // namespace

void PANEL_synthetic_vision(int counter, const panel_records& r)
{
    if (!PANEL_avionics_powered()) return;
    if (r.flt.failures[FAIL_SLOT_EFIS_READOUTS] == FAILURE_STATE_FAILED) return;
    const int type = panel_ins_type;
    if (type == INS_EFIS_WEAPON_CAMERA && !sim_cockpit_weapons.bombs_armed) return;

    viewpoint v{};
    int weapon = -1;
    if (type == INS_EFIS_HITS) {
        int32_t& page = synthetic_vision.page[((counter % 2) + 2) % 2];
        if (PANEL_click_spot(-88.0f, -150.0f, 10.0f, 0)) page = 0;
        if (PANEL_click_spot(-54.0f, -150.0f, 10.0f, 0)) page = 1;
        const float sc = panel_ins_scale;
        PANEL_draw_control((page == 0 ? -88.0f : -54.0f) * sc, -150.0f * sc, 0);
        if (page == 1) {
            PANEL_efis_map(r);
            return;
        }
        const flt_struct& f = r.flt;
        v = {sim_graphics_view.view_x, sim_graphics_view.view_y, sim_graphics_view.view_z, f.phi, f.theta, f.psi, f.i, f.j,
             f.local_x, f.local_z};
    } else {
        weapon = camera_weapon(r.acf);
        if (weapon < 0) return;
        const wpn_slot_record& w = r.acf.acf_wpn_slot[weapon];
        v = {w.wpn_pos[0], w.wpn_pos[1], w.wpn_pos[2], w.wpn_phi, w.wpn_theta, w.wpn_psi,
             w.wpn_terrain_i, w.wpn_terrain_j, w.wpn_pos[0], w.wpn_pos[2]};
    }
    // A position or angle that is not a number (from the flight model or a
    // plug-in) would turn the whole picture into nothing: it reads 0.
    for (float* a : {&v.x, &v.y, &v.z, &v.roll, &v.pitch, &v.heading, &v.box_x, &v.box_z})
        if (!std::isfinite(*a)) *a = 0.0f;

    picture(v, type == INS_EFIS_HITS ? WINDOW_191 : WINDOW_435, type);
    if (type == INS_EFIS_HITS) overlay(r);
    else steer(weapon);
}
