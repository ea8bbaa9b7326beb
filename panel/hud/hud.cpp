// The head-up display: the 2-D symbology (tapes, readouts, pitch ladder,
// flight-path markers, deviation bars), the symbols placed on the world
// (terrain mesh, runway outlines, approach brackets) and the terrain box
// ahead of a viewpoint that both the world symbols and synthetic vision use.
#include "panel/hud/hud.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel.h"
#include "panel/panel_kit.h"
#include "scene/scene_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

constexpr int HUD_FONT = 109;
constexpr float NO_WRAP = 9999.0f;

// Colour rows.
constexpr int ROW_WHITE = 49, ROW_BRIGHT = 50, ROW_GREY = 56, ROW_DIM_OUTLINE = 57, ROW_DIM = 64,
              ROW_MESH_MID = 71, ROW_MESH_FAR_DIM = 77;

constexpr float LADDER_SCALE = 30.0f;
constexpr float WORLD_SYMBOL_DISTANCE_M = 10.0f * UNIT.nm_to_mtrs;
constexpr float RUNWAY_BOX_MARGIN_M = 2000.0f;
constexpr float BRACKET_RANGE_M = 6.0f * UNIT.nm_to_mtrs;
constexpr int MESH_NEAR_CELLS = 20;

bool bright() { return sim_cockpit_electrical.HUD_brightness > 0.5f; }

// The screen offset of an angle at the view's zoom and field of view. An
// angle that is no number (a pitch written by a plug-in or a datagram) would
// pass the clamp as a NaN and hand GL vertices of no number, which a driver
// may draw as a line across the whole screen: it counts as level.
float angle_offset(float angle_deg, float k)
{
    if (!std::isfinite(angle_deg)) angle_deg = 0.0f;
    return std::tan(std::clamp(angle_deg, -89.0f, 89.0f) * DEG_TO_RAD_FLOAT) * k;
}

// A field of view of 0 (or a zoom that is no number) would give an endless
// scale, and every offset from it inf or NaN: the scale is then 0, every
// symbol on the centre.
float pixels_per_tangent()
{
    const float fov = sim_graphics_view.field_of_view_deg;
    const float k = (512.0f + screen.ui_side_margin) * sim_graphics_view.view_zoom * 90.0f / fov;
    return std::isfinite(k) ? k : 0.0f;
}

// A flight-path marker from the velocity along (across, up, ahead).
void marker_point(float across, float up, float ahead, float k, float x1, float y1, float x2, float y2, float* mx,
                  float* my)
{
    const float f = ahead > 0.0f ? ahead : 0.0f;
    const float h = std::atan2(across, f) * RAD_TO_DEG_FLOAT;
    const float v = std::atan2(up, f) * RAD_TO_DEG_FLOAT;
    const float cx = (x1 + x2) * 0.5f, cy = (y1 + y2) * 0.5f;
    *mx = std::clamp(cx - angle_offset(h, k), x1 + 2.0f, x2 - 2.0f);
    *my = std::clamp(cy - angle_offset(v, k), y1 + 2.0f, y2 - 2.0f);
}

void pitch_ladder(float cx, float cy, int colour, float k)
{
    const flt_struct& f = flt[0];
    const float s = LADDER_SCALE;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    // A roll of no number would make the whole rotated matrix NaN and lose the
    // ladder and its labels: such a roll counts as wings level.
    const float phi = std::isfinite(f.phi) ? f.phi : 0.0f;
    glPushMatrix();
    glTranslatef(ox + cx, oy + cy, 0.0f);
    glRotatef(phi, 0.0f, 0.0f, 1.0f);
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(colour, 1.0f);
    glBegin(GL_LINES);
    for (int a = -90; a <= 90; a += 5) {
        float w = a == 0 ? 4.0f * s : s;
        if (a % 10 == 5) w *= 0.5f;   // the 5-degree rungs above the horizon
        const float y = angle_offset(static_cast<float>(a) - f.theta, k);
        if (a >= 0) {
            glVertex2f(-w, y);
            glVertex2f(w, y);
        } else {
            for (int d = 0; d < 6; ++d) {
                const float c = -s + 0.4f * s * static_cast<float>(d);
                glVertex2f(c - 0.1f * s, y);
                glVertex2f(c + 0.1f * s, y);
            }
        }
    }
    glEnd();
    for (int b = -90; b <= 90; b += 5) {
        if (b == 0) continue;
        const float y = angle_offset(static_cast<float>(b) - f.theta, k);
        const float value = static_cast<float>(std::abs(b));
        OGL_draw_string_fmt(colour, -s - 15.0f - ox, y - 3.0f - oy, value, 2, 0, 0, HUD_FONT);
        OGL_draw_string_fmt(colour, s + 3.0f - ox, y - 3.0f - oy, value, 2, 0, 0, HUD_FONT);
    }
    glPopMatrix();
}

}   // namespace

void HUD_draw(float x1, float y1, float x2, float y2, int mode)
{
    if (!PANEL_has_power()) return;
    const flt_struct& f = flt[0];
    const bool view_mode = mode != HUD_MODE_SYNTHETIC;
    const float cx = (x1 + x2) * 0.5f, cy = (y1 + y2) * 0.5f, H = y2 - y1;
    const int c = view_mode ? (bright() ? ROW_BRIGHT : ROW_DIM) : ROW_WHITE;
    const float k = pixels_per_tangent();

    // Flight-path markers: forward speed is -vz in body axes (z rearward).
    float fx = cx, fy = cy, rx = cx, ry = cy;
    if (view_mode) {
        marker_point(-f.vx_acf_axis, -f.vy_acf_axis, -f.vz_acf_axis, k, x1, y1, x2, y2, &fx, &fy);
        marker_point(f.vx_acf_axis, f.vy_acf_axis, f.vz_acf_axis, k, x1, y1, x2, y2, &rx, &ry);
    }

    // Tapes and readouts.
    const float altitude_hft = f.h_ind * UNIT.mtrs_to_ft * 0.01f;
    PANEL_draw_tape(c, -1, x1 + 1.0f, x1 + 23.0f, cy, H * 0.5f - 16.0f, -999.0f, f.indicated_airspeed, 5.0f, 10,
                    2.0f, 1, view_mode ? 0 : 1, HUD_FONT);
    if (view_mode)
        PANEL_draw_tape(c, -1, y2 - 9.0f, y2 - 13.0f, cx, (x2 - x1) * 0.5f - 27.0f, -999.0f, f.magpsi, 5.0f, 10,
                        5.0f, 0, 0, HUD_FONT);
    PANEL_draw_tape(c, -1, x2 - 19.0f, x2 - 24.0f, cy, H * 0.5f - 16.0f, -999.0f, altitude_hft, 1.0f, 5, 10.0f, 1,
                    view_mode ? 0 : 2, HUD_FONT);
    OGL_draw_string_fmt(c, x1 + 33.0f, cy - 3.0f, f.indicated_airspeed, 3, 0, 0, HUD_FONT);
    if (view_mode) OGL_draw_string_fmt(c, cx - 9.0f, y2 - 29.0f, f.magpsi, 3, 0, 0, HUD_FONT);
    OGL_draw_string_fmt(c, x2 - 57.0f, cy - 3.0f, altitude_hft, 4, 0, 0, HUD_FONT);

    if (view_mode)
        OGL_scissor_on(x1 + 27.0f, y1 + 1.0f, (x2 - x1) - 54.0f, H - 18.0f);
    else
        OGL_scissor_on(x1 + 27.0f, y1 + 16.0f, (x2 - x1) - 54.0f, H - 32.0f);

    OGL_draw_string(c, x1 + 27.0f, cy - 3.0f, "<", NO_WRAP, HUD_FONT);
    OGL_draw_string(c, x2 - 33.0f, cy - 3.0f, ">", NO_WRAP, HUD_FONT);
    if (view_mode) OGL_draw_string(c, cx - 3.0f, y2 - 24.0f, "^", NO_WRAP, HUD_FONT);
    OGL_draw_string(c, cx - 3.0f, cy - 3.0f, "+", NO_WRAP, HUD_FONT);
    if (view_mode) {
        OGL_draw_string(c, fx - 3.0f, fy - 2.0f, "o", NO_WRAP, HUD_FONT);
        OGL_draw_string(c, rx - 3.0f, ry - 2.0f, "x", NO_WRAP, HUD_FONT);

        pitch_ladder(cx, cy, c, k);

        if (sim_cockpit_radios.nav_type[0] != 0 && acf_HUD_type != HUD_KIND_WORLD) {
            // 1000 dots put a bar 12,000 units from the centre, off any
            // window, so the picture is the same as unheld; the hold keeps a
            // deflection written as an endless number by a plug-in or a
            // datagram out of the vertices.
            const float L = 2.0f * LADDER_SCALE, u = 0.4f * LADDER_SCALE;
            const float h = std::clamp(sim_cockpit_radios.nav1_hdef_dot[0], -1000.0f, 1000.0f);
            const float v = std::clamp(sim_cockpit_radios.nav1_vdef_dot[0], -1000.0f, 1000.0f);
            OGL_draw_line(c, 1.0f, cx + h * u, cy - L, cx + h * u, cy + L);
            OGL_draw_line(c, 1.0f, cx - L, cy - v * u, cx + L, cy - v * u);
        }
    }
    OGL_scissor_off();
}

void HUD_view_box(int cell_x, int cell_z, int x, int z, int* cell_x_lo, int* cell_z_lo, int* cell_x_hi,
                  int* cell_z_hi, float* x_lo, float* z_lo, float* x_hi, float* z_hi, float heading_deg,
                  float distance_m)
{
    const bool mars = sim_graphics_scenery.current_planet == PLANET_MARS;
    const double cells_x = mars ? 384.0 : 450.0, cells_z = mars ? 320.0 : 400.0;
    const double extent_x = static_cast<double>(scenery_area.x1) - scenery_area.x0;
    const double extent_z = static_cast<double>(scenery_area.z1) - scenery_area.z0;
    // The cell counts are held to a few grids' worth: an empty or inverted
    // area or a bad distance cannot turn into an unbounded integer.
    auto cells = [](double n, double d, double extent) {
        const double v = n * d / extent + 2.0;
        if (!std::isfinite(v)) return 2;
        return static_cast<int>(std::clamp(v, 0.0, 4096.0));
    };
    const float d = std::isfinite(distance_m) ? distance_m : 0.0f;
    const int nx = cells(cells_x, d, extent_x), nz = cells(cells_z, d, extent_z);

    int q = 0;
    if (heading_deg >= 45.0f && heading_deg < 135.0f) q = 1;
    else if (heading_deg >= 135.0f && heading_deg < 225.0f) q = 2;
    else if (heading_deg >= 225.0f && heading_deg < 315.0f) q = 3;

    int cxl = -nx, cxh = nx, czl = -nz, czh = nz;
    float xl = -d, xh = d, zl = -d, zh = d;
    switch (q) {
    case 0: czl = -2, zh = 0.0f; break;
    case 1: cxl = -2, xl = 0.0f; break;
    case 2: czh = 2, zl = 0.0f; break;
    default: cxh = 2, xh = 0.0f; break;
    }
    // Cells from a plug-in or a weapon may be anything: the sums are held to
    // a range no grid reaches, so they cannot overflow.
    auto add = [](int a, int b) {
        return static_cast<int>(std::clamp(static_cast<long long>(a) + b, -1000000LL, 1000000LL));
    };
    *cell_x_lo = add(cell_x, cxl);
    *cell_x_hi = add(cell_x, cxh);
    *cell_z_lo = add(cell_z, czl);
    *cell_z_hi = add(cell_z, czh);
    *x_lo = static_cast<float>(x) + xl;
    *x_hi = static_cast<float>(x) + xh;
    *z_lo = static_cast<float>(z) + zl;
    *z_hi = static_cast<float>(z) + zh;
}

hud_view_box HUD_view_box(int cell_x, int cell_z, int x, int z, float heading_deg, float distance_m)
{
    hud_view_box b{};
    HUD_view_box(cell_x, cell_z, x, z, &b.cell_x_lo, &b.cell_z_lo, &b.cell_x_hi, &b.cell_z_hi, &b.x_lo, &b.z_lo,
                 &b.x_hi, &b.z_hi, heading_deg, distance_m);
    return b;
}

namespace {

const runway_geometry_record* runway_geometry_of(int airport, int runway)
{
    const airport_record* a = APT_table_at(airport);
    if (!a || runway < 0 || runway >= static_cast<int>(a->runways.size())) return nullptr;
    const runway_record& r = a->runways[static_cast<size_t>(runway)];
    if (r.number[0] == 'x') return nullptr;
    if (r.geometry_index < 0 || r.geometry_index >= static_cast<int>(runway_geometry_table.size())) return nullptr;
    const runway_geometry_record& g = runway_geometry_table[static_cast<size_t>(r.geometry_index)];
    return g.sections.empty() ? nullptr : &g;
}

// A viewer's cell from a position: the truncated local position read as an
// integer only when it is finite and in range.
int truncated(float v)
{
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::clamp(v, -1.0e9f, 1.0e9f));
}

}   // namespace

bool HUD_runway_near_box(int airport, int runway, const hud_view_box& box)
{
    const runway_geometry_record* g = runway_geometry_of(airport, runway);
    if (!g) return false;
    auto inside = [&box](const float p[3]) {
        return p[0] >= box.x_lo - RUNWAY_BOX_MARGIN_M && p[0] <= box.x_hi + RUNWAY_BOX_MARGIN_M &&
               p[2] >= box.z_lo - RUNWAY_BOX_MARGIN_M && p[2] <= box.z_hi + RUNWAY_BOX_MARGIN_M;
    };
    return inside(g->sections.front().left) || inside(g->sections.back().right);
}

namespace {

void vertex(const float p[3]) { glVertex3f(p[0], p[1], p[2]); }

void approach_brackets(const runway_section& end, float heading_deg, int colour)
{
    const float C[3] = {(end.left[0] + end.right[0]) * 0.5f, (end.left[1] + end.right[1]) * 0.5f,
                        (end.left[2] + end.right[2]) * 0.5f};
    const float dx = C[0] - sim_graphics_view.view_x, dz = C[2] - sim_graphics_view.view_z;
    if (!(std::hypot(dx, dz) < BRACKET_RANGE_M)) return;
    const float sn = std::sin(heading_deg * DEG_TO_RAD_FLOAT), cs = std::cos(heading_deg * DEG_TO_RAD_FLOAT);
    for (int n = 0; n < 15; ++n) {
        const float d_nm = 0.1f + 0.2f * static_cast<float>(n);
        const float d = d_nm * UNIT.nm_to_mtrs;
        const float h = std::max(d * 0.01f, 10.0f);
        const float B[3] = {C[0] - d * sn, C[1] + 0.05f * d, C[2] + d * cs};
        OGL_apply_color(colour, std::clamp(0.5f - d_nm / 6.0f, 0.0f, 0.5f));
        const float lt[3] = {B[0] - 2 * h * cs, B[1] + h, B[2] - 2 * h * sn};
        const float lb[3] = {B[0] - 2 * h * cs, B[1] - h, B[2] - 2 * h * sn};
        const float rt[3] = {B[0] + 2 * h * cs, B[1] + h, B[2] + 2 * h * sn};
        const float rb[3] = {B[0] + 2 * h * cs, B[1] - h, B[2] + 2 * h * sn};
        vertex(lt), vertex(lb);
        vertex(rt), vertex(rb);
        vertex(lb), vertex(rb);
    }
}

}   // namespace

void HUD_draw_world_symbols(int mode)
{
    if (!PANEL_has_power()) return;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const bool view_mode = mode != HUD_MODE_SYNTHETIC;
    const bool b = bright();
    const int outline = view_mode ? (b ? ROW_BRIGHT : ROW_DIM_OUTLINE) : ROW_WHITE;
    const int bracket = view_mode ? (b ? ROW_BRIGHT : ROW_DIM_OUTLINE) : ROW_GREY;
    const int mesh_near = b ? ROW_DIM : ROW_MESH_MID, mesh_far = b ? ROW_MESH_MID : ROW_MESH_FAR_DIM;

    const flt_struct& f = flt[0];
    const int vcx = camera_cell.column, vcz = camera_cell.row;
    const hud_view_box box =
        HUD_view_box(vcx, vcz, truncated(f.local_x), truncated(f.local_z), f.psi, WORLD_SYMBOL_DISTANCE_M);

    glBegin(GL_LINES);
    if (view_mode) {
        // Every point read, (i, j) to (i + 1, j + 1), stays inside the grid.
        const int i0 = std::max(box.cell_x_lo, 0), i1 = std::min(box.cell_x_hi, TERRAIN_GRID_ROWS - 1);
        const int j0 = std::max(box.cell_z_lo, 0), j1 = std::min(box.cell_z_hi, TERRAIN_GRID_COLS - 1);
        for (int i = i0; i < i1; ++i)
            for (int j = j0; j < j1; ++j) {
                const bool near = std::abs(i - vcx) < MESH_NEAR_CELLS && std::abs(j - vcz) < MESH_NEAR_CELLS;
                OGL_apply_color(near ? mesh_near : mesh_far, 0.5f);
                const terrain_vertex& p = terrain_vertex_grid[TERRAIN_index(i, j)];
                const terrain_vertex& n = terrain_vertex_grid[TERRAIN_index(i, j + 1)];
                const terrain_vertex& e = terrain_vertex_grid[TERRAIN_index(i + 1, j)];
                glVertex3f(p.x, p.y, p.z), glVertex3f(n.x, n.y, n.z);
                glVertex3f(p.x, p.y, p.z), glVertex3f(e.x, e.y, e.z);
            }
    }
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int k = 0; k <= last; ++k) {
        const int ai = local_airport_list[k];
        const airport_record* a = APT_table_at(ai);
        if (!a) continue;
        for (int r = 0; r < static_cast<int>(a->runways.size()); ++r) {
            if (!HUD_runway_near_box(ai, r, box)) continue;
            const runway_geometry_record& g = *runway_geometry_of(ai, r);
            const runway_section &first = g.sections.front(), &back = g.sections.back();
            OGL_apply_color(outline, 1.0f);
            vertex(back.left), vertex(back.right);
            vertex(back.right), vertex(first.right);
            vertex(first.right), vertex(first.left);
            vertex(first.left), vertex(back.left);
            const float heading = a->runways[static_cast<size_t>(r)].heading;
            approach_brackets(first, heading, bracket);
            approach_brackets(back, heading + 180.0f, bracket);
        }
    }
    glEnd();
}
