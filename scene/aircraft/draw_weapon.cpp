// Weapon bodies with their fins, and the preview of the user's aircraft on a
// settings screen.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/draw_kit.h"
#include "scene/aircraft/paint_layout.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float FIN_MIN_M = 0.01f;   // fins of no span or no chord are left out

// One body point of weapon w: normal, texture coordinate, vertex.
void weapon_point(const acf_struct& a, const acf_part_geometry& g, int w, int r, int k)
{
    const int at = (w * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + k;
    glNormal3fv(g.weapon_normal[w][r][k]);
    glTexCoord2fv(g.weapon_texcoord[w][r][k]);
    glVertex3f(a.acf_body_X[at], a.acf_body_Y[at], a.acf_body_Z[at]);
}

struct fin_corner {
    float s, t, x, z;
};
void fin_quad(float ny, const fin_corner (&c)[4])
{
    glNormal3f(0.0f, ny, 0.0f);
    for (const fin_corner& k : c) {
        glTexCoord2f(k.s, k.t);
        glVertex3f(k.x, 0.0f, k.z);
    }
}

// Fin pair f of a weapon: two flat fins in its x-z plane, one to each side,
// each turned by its own roll and drawn from both faces.
void fin_pair(const wpn_slot_record& w, int f)
{
    const float S = w.wpn_fin_span[f], Cr = w.wpn_fin_root[f], Ct = w.wpn_fin_tip[f], Z = w.wpn_fin_arm[f];
    if (!(S > FIN_MIN_M) || !(Cr > FIN_MIN_M || Ct > FIN_MIN_M)) return;
    // The weapon record's wpn_fin_arm and wpn_fin_dihedral are the fin pair's
    // position (Z) and sweep here, under the names the weapon file and the
    // flight model give them.
    const float sweep = ACF_finite(w.wpn_fin_dihedral[f]) * DEG_TO_RAD_FLOAT;
    const float zrl = Z - 0.25f * Cr, zrt = Z + 0.75f * Cr;
    const float ztl = Z - 0.25f * Ct + S * std::sin(sweep), ztt = Z + 0.75f * Ct + S * std::sin(sweep);
    const float X = S * std::cos(sweep);
    const float s0 = static_cast<float>(f) * WPN_FIN_STEP, sa = s0 + WPN_FIN_S_HI, sb = s0 + WPN_FIN_S_LO;
    const float roll1 = ACF_finite(w.wpn_fin_roll[2 * f]), roll2 = ACF_finite(w.wpn_fin_roll[2 * f + 1]);

    glRotatef(-roll1, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    fin_quad(1.0f, {{sa, 0.0f, -X, ztt}, {sb, 0.0f, -X, ztl}, {sb, 0.5f, 0.0f, zrl}, {sa, 0.5f, 0.0f, zrt}});
    fin_quad(-1.0f, {{sb, 1.0f, -X, ztl}, {sa, 1.0f, -X, ztt}, {sa, 0.5f, 0.0f, zrt}, {sb, 0.5f, 0.0f, zrl}});
    glEnd();
    glRotatef(roll1, 0.0f, 0.0f, 1.0f);

    glRotatef(roll2, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    fin_quad(1.0f, {{sa, 0.5f, 0.0f, zrt}, {sb, 0.5f, 0.0f, zrl}, {sb, 1.0f, X, ztl}, {sa, 1.0f, X, ztt}});
    fin_quad(-1.0f, {{sb, 0.5f, 0.0f, zrl}, {sa, 0.5f, 0.0f, zrt}, {sa, 0.0f, X, ztt}, {sb, 0.0f, X, ztl}});
    glEnd();
    glRotatef(-roll2, 0.0f, 0.0f, 1.0f);
}

// What the preview changes in plane 0's records, kept to be put back.
struct preview_pose {
    flt_struct flight;
    std::array<float, ACF_NUM_PARTS> deploy, def, latN, lonN, axiN, xnodef, ynodef, znodef, sweepnow, dihednow, varinc_now;
    std::array<float, ACF_GEAR_DOORS> door_ang_now;
    std::array<float, ACF_MAX_ENGINES> vect_cant;

    // Calls pair(field of the aircraft, its kept copy) for every field the
    // preview changes.
    template <class Acf, class Pose, class Pair>
    static void each_field(Acf& a, Pose& p, Pair pair)
    {
        pair(a.acf_gear_deploy, p.deploy);
        pair(a.acf_gear_def, p.def);
        pair(a.acf_gear_latN, p.latN);
        pair(a.acf_gear_lonN, p.lonN);
        pair(a.acf_gear_axiN, p.axiN);
        pair(a.acf_gear_xnodef, p.xnodef);
        pair(a.acf_gear_ynodef, p.ynodef);
        pair(a.acf_gear_znodef, p.znodef);
        pair(a.acf_sweepnow, p.sweepnow);
        pair(a.acf_dihednow, p.dihednow);
        pair(a.varinc_now, p.varinc_now);
        pair(a.acf_gear_door_ang_now, p.door_ang_now);
        pair(a.acf_vect_cant, p.vect_cant);
    }
    void keep(const acf_struct& a, const flt_struct& f)
    {
        flight = f;
        each_field(a, *this, [](const auto& field, auto& kept) { std::copy_n(field, kept.size(), kept.begin()); });
    }
    void put_back(acf_struct& a, flt_struct& f) const
    {
        f = flight;
        each_field(a, *this, [](auto& field, const auto& kept) { std::copy(kept.begin(), kept.end(), field); });
    }
};
preview_pose saved_pose;   // large: kept out of the stack

// The window pixel of an interface point, as the scissor box places it.
float window_x(float x) { return (MACIBM_ui_to_window_x(screen.screen_area_left + x) + screen.ui_side_margin) * screen.ui_scale; }
float window_y(float y) { return MACIBM_ui_to_window_y(screen.screen_area_bottom + y) * screen.ui_scale; }
int cut(float v) { return std::fabs(v) < 1.0e9f ? static_cast<int>(v) : 0; }

}  // namespace

void ACF_draw_weapon(int n, int w, int in_aircraft_frame)
{
    if (n < 0 || n >= ACF_SLOTS || w < 0 || w >= ACF_WPN_SLOTS || !ACF_geometry(n)) return;
    const acf_struct& a = pln[n];
    const wpn_slot_record& wpn = a.acf_wpn_slot[w];
    const acf_part_geometry& g = *ACF_geometry(n);
    if (cur_tex_units > 0) OGL_bind_tex(TEX_SLOT_WEAPON_FIRST + ACF_WPN_SLOTS * n + w, 0);

    glPushMatrix();
    if (in_aircraft_frame) {   // undo the plane's placement: back to the scene
        const flt_struct& f = flt[n];
        glRotatef(ACF_finite(f.phi), 0.0f, 0.0f, 1.0f);
        glRotatef(ACF_finite(f.theta), -1.0f, 0.0f, 0.0f);
        glRotatef(ACF_finite(f.psi), 0.0f, 1.0f, 0.0f);
        glTranslatef(-f.local_x, -f.local_y, -f.local_z);
    }
    // wpn_pos holds the weapon's wpn_x, wpn_y, wpn_z and wpn_theta its pitch
    // wpn_the, under the weapon record's names.
    glTranslatef(wpn.wpn_pos[0], wpn.wpn_pos[1], wpn.wpn_pos[2]);
    glRotatef(-ACF_finite(wpn.wpn_psi), 0.0f, 1.0f, 0.0f);
    glRotatef(-ACF_finite(wpn.wpn_theta), -1.0f, 0.0f, 0.0f);
    glRotatef(-ACF_finite(wpn.wpn_phi), 0.0f, 0.0f, 1.0f);

    for (int r = 0; r + 1 < GEO_WPN_ROWS; ++r) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < GEO_POINTS; ++k) {
            weapon_point(a, g, w, r + 1, k);
            weapon_point(a, g, w, r, k);
        }
        glEnd();
    }
    for (int f = 0; f < WPN_FIN_PAIRS; ++f) fin_pair(wpn, f);
    glPopMatrix();
}

void ACF_draw_preview(float x1, float y1, float x2, float y2)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    saved_pose.keep(a, f);

    // Discs without cyclic tilt, gear down and uncompressed.
    for (int p = 0; p < ACF_NUM_PARTS; ++p) {
        if (!ACF_part_present_thrust(0, p)) continue;
        if (p <= PART_PROP_LAST) {
            f.vertcant[p] = a.acf_vect_cant[p];
            f.sidecant[p] = a.acf_sidecant[p];
        }
        if (p >= PART_GEAR_FIRST) {
            if (a.acf_gear_retract) a.acf_gear_deploy[p] = 1.0f;
            a.acf_gear_def[p] = 0.0f;
        }
    }
    ACF_control_incidence(0);

    const float zoom = sim_graphics_view.view_zoom > 0.0f ? sim_graphics_view.view_zoom : 1.0f;
    float D = std::sqrt(a.acf_size_x * a.acf_size_x + a.acf_size_z * a.acf_size_z);
    // An aircraft of no size (or a zoom of 0) would give an orthographic box
    // of no width, which GL refuses, leaving the screen's own projection to
    // draw the aircraft across the whole screen: such a size counts as 1 m.
    if (!(D > 0.01f && D < 1.0e6f)) D = 1.0f;
    f.local_z = -2.0f * D / zoom;
    const float h = D / zoom;
    const float W = x2 - x1, H = y2 - y1;
    const float aspect = W != 0.0f ? H / W : 1.0f;   // a rectangle of no width: no division by 0

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-h, h, -h * aspect, h * aspect, -4.0f * h, 4.0f * h);
    // The viewport on the screen units' pixels, mapped as the scissor box maps
    // them: (ui_side_margin + x) x ui_scale plus the window origin
    // screen_area_left x ui_scale, the screen record's names for the layout
    // values; each value truncated toward zero.
    glViewport(cut(window_x(x1)), cut(window_y(y1)), cut(window_x(x2) - window_x(x1)), cut(window_y(y2) - window_y(y1)));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);

    const float ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f}, diffuse[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    const float towards[4] = {0.0f, 0.0f, 1.0f, 0.0f}, black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, towards);
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_START, 10.0f);
    glFogf(GL_FOG_END, 100000.0f);
    OGL_scissor_on(x1, y1, W, H);

    glPushMatrix();
    const float lo = f.local_z - D, hi = -f.local_z + D;
    // A position that is no number would clamp to no number and draw nothing: it counts as 0.
    f.local_x = std::isfinite(f.local_x) ? std::clamp(f.local_x, lo, hi) : 0.0f;
    f.local_y = std::isfinite(f.local_y) ? std::clamp(f.local_y, lo, hi) : 0.0f;
    glTranslatef(f.local_x, f.local_y, f.local_z);
    glRotatef(-ACF_finite(f.psi), 0.0f, 1.0f, 0.0f);
    glRotatef(-ACF_finite(f.theta), -1.0f, 0.0f, 0.0f);
    glRotatef(-ACF_finite(f.phi), 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, -a.acf_cgY, -a.acf_cgZ);   // turning about the centre of gravity
    ACF_draw_plane(0, 1);
    glPopMatrix();
    OGL_scissor_off();
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);

    // The pose was for the picture only. Left in plane 0's records it would
    // move the user's aircraft while it flies: its position replaced by the
    // preview's (local_z set, local_x and local_y clamped), its gear lowered and
    // uncompressed, its discs' cyclic tilt lost. So plane 0's records are put
    // back as they were; that is what recomputing them from the restored pose
    // would give, without running the control lags a second time.
    saved_pose.put_back(a, f);
}
