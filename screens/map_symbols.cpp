// The map's single symbols: typed sprites from the interface bitmap (navaids
// with their label boxes, fixes, objects, airports at small scale, ships,
// platforms, the fire, the aircraft with their range rings), an airport's
// runway outlines with its name, and one step of the recorded flight path.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/screen_settings.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "screens/map.h"
#include "world/navdb.h"
#include "world/runway_outline.h"

map_pen_record map_pen;
ORVELL_RESET_RECORD(MAP_pen_reset, map_pen, program);

namespace {

struct sprite {
    float uL, uR, vL, vH;
};
constexpr sprite NO_SPRITE{0, 0, 0, 0};

// The sprite of a symbol; false for a combination the map never passes.
bool choose_sprite(int navaid_flag, int type, bool chart, sprite& s)
{
    if (navaid_flag) {
        switch (type) {
        case NAV_NDB: s = {378, 392, 256, 272}; return true;
        case NAV_VOR: s = chart ? sprite{378, 392, 274, 290} : sprite{306, 377, 219, 290}; return true;
        case NAV_ILS_LOC:
        case NAV_LOC: s = NO_SPRITE; return true;
        case NAV_GLIDESLOPE: s = {396, 410, 238, 254}; return true;
        case NAV_OUTER_MARKER:
        case NAV_MIDDLE_MARKER:
        case NAV_INNER_MARKER: s = {396, 410, 256, 272}; return true;
        case NAV_DME: s = {450, 464, 274, 290}; return true;
        default: return false;
        }
    }
    switch (type) {
    case 3: s = {396, 410, 220, 236}; return true;
    case 97: s = {378, 392, 220, 236}; return true;
    case 98: s = {378, 392, 238, 254}; return true;
    case 99: s = {0, 1, 0, 1}; return true;
    case 100: s = {485, 500, 238, 289}; return true;
    case 101: s = {467, 482, 238, 289}; return true;
    case 102: s = {450, 464, 256, 272}; return true;
    case 103: s = {450, 464, 238, 254}; return true;
    case 104: s = {450, 464, 220, 236}; return true;
    default: return false;
    }
}

void localizer_feather(float x, float y, int colour, const navaid_record& v, bool chart)
{
    const float zoom = screen_settings.map_zoom;
    const float h = (v.heading + 180.0f + GEO_grid_convergence(v.lat, v.lon)) * DEG_TO_RAD_FLOAT;
    const float L1 = (chart ? 55.0f : 25.0f) * zoom, L2 = (chart ? 60.0f : 30.0f) * zoom;
    const float d = 4.0f * DEG_TO_RAD_FLOAT;
    const float cx = x + L1 * std::sin(h), cy = y + L1 * std::cos(h);
    const float px = x + L2 * std::sin(h - d), py = y + L2 * std::cos(h - d);
    const float qx = x + L2 * std::sin(h + d), qy = y + L2 * std::cos(h + d);
    OGL_draw_line(colour, 1.0f, x, y, cx, cy);
    OGL_draw_line(colour, 1.0f, x, y, px, py);
    OGL_draw_line(colour, 1.0f, x, y, qx, qy);
    OGL_draw_line(colour, 1.0f, cx, cy, px, py);
    OGL_draw_line(colour, 1.0f, cx, cy, qx, qy);
}

void navaid_label(float x, float y, int colour, const navaid_record& v, bool chart)
{
    const int k = v.kind;
    const float d = chart ? 30.0f : (k == NAV_NDB ? 20.0f : 40.0f);
    const float bx = x + d, by = y - d;
    if (chart) {
        const float e = (k == NAV_ILS_LOC || k == NAV_LOC) ? 0.0f : 8.0f;
        OGL_draw_line(colour, 1.0f, x + e, y - e, bx, by);
    }
    if (screen_settings.map_type == 0 || screen_settings.map_type == 1 || chart)
        OGL_fill_rect(56, 0.5f, bx - 13.0f, by - 10.0f, 63.0f, 20.0f);
    OGL_draw_rect_outline(colour, 1.0f, bx - 13.0f, by - 10.0f, 63.0f, 20.0f);
    char name[11] = {}, id[APT_ID_SIZE + 1] = {};
    std::memcpy(name, v.name, 10);
    std::memcpy(id, v.id, APT_ID_SIZE);
    OGL_draw_string(colour, bx - 11.0f, by + 1.0f, name, 9999.0f, 100);
    OGL_draw_string(colour, bx - 11.0f, by - 8.0f, id, 9999.0f, 100);
    if (k == NAV_NDB)
        OGL_draw_string_fmt(colour, bx + 19.0f, by - 8.0f, static_cast<float>(v.frequency), 3, 0, 0, 100);
    else
        OGL_draw_string_fmt(colour, bx + 19.0f, by - 8.0f, static_cast<float>(v.frequency) / 100.0f, 5, 2, 0, 100);
}

void range_rings(float x, float y)
{
    const float r = 20.0f * UNIT.nm_to_mtrs * map_scale;
    OGL_draw_circle(70, x, y, r);
    OGL_draw_string(70, x + 2.0f, y + r + 2.0f, "20 nm", 9999.0f, 100);
    OGL_draw_circle(70, x, y, r / 2.0f);
    OGL_draw_string(70, x + 2.0f, y + r / 2.0f + 2.0f, "10 nm", 9999.0f, 100);
    for (int deg = 0; deg < 360; deg += 30) {
        const float t = static_cast<float>(deg) * DEG_TO_RAD_FLOAT;
        OGL_draw_line(70, 1.0f, x, y, x + r * std::sin(t), y - r * std::cos(t));
    }
}

}  // namespace

void MAP_draw_object(float x, float y, int colour, int navaid_flag, int obj_type, int index)
{
    const bool chart = app_mode == MODE_OPERATOR_AIRPORT;
    sprite s;
    if (!choose_sprite(navaid_flag, obj_type, chart, s)) {
        MACIBM_nuke_alert(0, "Bad obj_type type!", "", "", "", ALERT_FATAL);
        return;
    }
    // A point that is not a number (a damaged position) would send a quad of
    // undefined corners to OpenGL; it draws nothing. A navaid index outside
    // the navaid table, or a plane slot outside the slots, would read past
    // those tables; it draws nothing either.
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const navaid_record* nav = nullptr;
    if (navaid_flag) {
        if (index < 0 || index >= static_cast<int>(navaid_table.size())) return;
        nav = &navaid_table[static_cast<size_t>(index)];
    }
    const bool aircraft = !navaid_flag && obj_type == 99;
    if (aircraft && (index < 0 || index >= FLT_SLOTS)) return;

    float turn_deg = 0.0f;
    if (navaid_flag && obj_type == NAV_VOR && !chart) turn_deg = -sim_flightmodel_position.magnetic_variation;
    if (navaid_flag && obj_type >= NAV_OUTER_MARKER && obj_type <= NAV_INNER_MARKER) turn_deg = nav->heading;
    if (aircraft) turn_deg = flt[index].psi;
    // A heading that is not finite (from a peer or a damaged file) would turn
    // the quad's corners to no place at all: the symbol is drawn unturned.
    if (!std::isfinite(turn_deg)) turn_deg = 0.0f;

    if (nav && (obj_type == NAV_ILS_LOC || obj_type == NAV_LOC)) localizer_feather(x, y, colour, *nav, chart);

    if (s.uR > 0.0f && s.vH > 0.0f) {
        float hw = (s.uR - s.uL) / 2.0f, hh = (s.vH - s.vL) / 2.0f;
        float u0 = s.uL / 512.0f, u1 = s.uR / 512.0f, v0 = s.vL / 512.0f, v1 = s.vH / 512.0f;
        int slot = TEX_SLOT_INTERFACE;
        if (aircraft) {
            const float sx = pln[index].acf_size_x, sz = pln[index].acf_size_z;
            // Every aircraft covers 30 x 30 units with its own proportions. A
            // size not worked out yet (0) would divide by zero and draw nothing
            // or a sprite of infinite size; it draws the 30 x 30 square.
            if (sx > 0.0f && sz > 0.0f && std::isfinite(sx / sz) && std::isfinite(sz / sx)) {
                hw = 15.0f * std::sqrt(sx / sz);
                hh = 15.0f * std::sqrt(sz / sx);
            } else {
                hw = hh = 15.0f;
            }
            u0 = v0 = 0.0f, u1 = v1 = 1.0f;
            slot = TEX_SLOT_SHADOW_FIRST + index;
        }
        const float a[4] = {-hw, -hw, hw, hw}, b[4] = {-hh, hh, hh, -hh};
        const float su[4] = {u0, u0, u1, u1}, sv[4] = {v0, v1, v1, v0};
        const float rho = turn_deg * DEG_TO_RAD_FLOAT;
        const bool turned = std::fabs(turn_deg) > 0.01f;
        tex_quad_corner q[4];
        for (int k = 0; k < 4; ++k) {
            float dx = a[k], dy = b[k];
            if (turned) {
                dx = a[k] * std::cos(rho) + b[k] * std::sin(rho);
                dy = b[k] * std::cos(rho) - a[k] * std::sin(rho);
            }
            q[k] = {x + dx, y + dy, su[k], sv[k]};
        }
        OGL_draw_tex_quad(slot, colour, 1.0f, q, 1, STATE_BLEND);
    }

    if (nav) {
        const int k = obj_type;
        if (k == NAV_NDB || k == NAV_VOR || k == NAV_DME || (chart && (k == NAV_ILS_LOC || k == NAV_LOC)))
            navaid_label(x, y, colour, *nav, chart);
    }
    if (aircraft && index == 0 && app_mode == MODE_OPERATOR_STATION) range_rings(x, y);
}

void MAP_draw_airport(float x, float y, int colour, int airport, int draw, int label)
{
    airport_label_anchor = {y - 12.0f, x, 1.0f};
    // An airport index outside the table would read past it: nothing is drawn.
    const airport_record* apt = APT_table_at(airport);
    if (!apt) return;
    if (draw && screen_settings.map_zoom < 15.0f) {
        MAP_draw_object(x, y, colour, 0, 98, 0);
    } else {
        if (draw) {
            OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF,
                          STATE_DEPTH_WRITE_OFF);
            OGL_apply_color(colour, 1.0f);
            window_origin_x = screen.screen_area_left;
            window_origin_y = screen.screen_area_bottom;
            glBegin(GL_QUADS);
        }
        float lat[4], lon[4], h[4];
        for (int r = 0; r < static_cast<int>(apt->runways.size()); ++r) APT_runway_outline(airport, r, lat, lon, h, draw);
        if (draw) glEnd();
    }
    if (label && screen_settings.map_zoom > 4.0f) {
        char name[APT_NAME_SIZE + 1] = {};
        std::memcpy(name, apt->name, APT_NAME_SIZE);
        const float n = static_cast<float>(std::strlen(name));
        const airport_label_anchor_record& a = airport_label_anchor;
        OGL_draw_string(colour, a.sum_x / a.count - 1.5f * n, a.min_y - 10.0f, name, 3.0f * n, 100);
    }
}

void MAP_draw_flight_path(int first, float x, float y, int slot, int alternate)
{
    map_pen.alternation = !map_pen.alternation;
    const float px = map_pen.previous_x, py = map_pen.previous_y;
    map_pen.previous_x = x, map_pen.previous_y = y;
    // A slot outside the ring would read past it: no step is drawn for it.
    if (first || slot < 0 || slot >= REPLAY_RING_SIZE) return;
    const int before = (slot + REPLAY_RING_SIZE - 1) % REPLAY_RING_SIZE;
    if (!(replay_ring[before].network_time_sec > 0.01f && replay_ring[slot].network_time_sec > 0.01f)) return;
    auto inside = [](float u, float v) { return u >= 0.0f && u <= 1024.0f && v >= 0.0f && v <= 768.0f; };
    if (!inside(px, py) || !inside(x, y)) return;
    const int row = alternate == 0 ? 33 : (map_pen.alternation ? 9 : 10);
    OGL_draw_line(row, 1.0f, x, y, px, py);
    const bool wide = std::fabs(std::trunc(px - x)) > std::fabs(std::trunc(py - y));
    if (wide)
        OGL_draw_line(row, 1.0f, x, y + 1.0f, px, py + 1.0f);
    else
        OGL_draw_line(row, 1.0f, x + 1.0f, y, px + 1.0f, py);
}
