// Lifting surfaces: the part dispatch of ACF_draw_part, the wings and
// stabilisers with their moving controls, and the plain surfaces.
#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

#include "aircraft/acf_struct.h"
#include "core/failure_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/control_surface.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/draw_kit.h"

namespace {

constexpr float SKIP_BELOW = 0.01f;        // degrees or extension ratio not worth a turn
constexpr int FOIL_LAST = GEO_FOIL_POINTS - 1;   // point 13 closes the outline onto point 0
constexpr int CAP_LAST = FOIL_LAST - 1;          // end caps use points 0..12
constexpr int HINGE_UPPER = 5, TRAIL_UPPER = 6, TRAIL_LOWER = 7, HINGE_LOWER = 8;
constexpr float HINGE_UPPER_POSITION = 5.0f, HINGE_LOWER_POSITION = 8.0f;
constexpr float SLAT_POSITION = 11.0f;     // the slat panel spans points 11 to 12
constexpr int SLAT_START = 11;
constexpr float SLAT_FULL_DEG = 120.0f;
constexpr float CHORD_RATIO_UNIT = 0.3f;   // a chord ratio of 0.3 reaches from point 5 to point 4
constexpr float FLAP_TYPE_FIXED_SKIN = 5.0f;   // a flap whose upper skin stays in place
constexpr int PAIRED_BRAKE_FIRST = PART_CENTRE_FIRST, PAIRED_BRAKE_LAST = PART_CENTRE_LAST;
constexpr int CONTROL_LOOP[] = {HINGE_UPPER, TRAIL_UPPER, TRAIL_LOWER, HINGE_LOWER, HINGE_UPPER};

// Outline points from `from` to `to` (either direction) without two of them.
struct point_run {
    int k[GEO_FOIL_POINTS];
    int count = 0;
};
point_run outline(int from, int to, int skip_a, int skip_b)
{
    point_run run;
    const int step = from <= to ? 1 : -1;
    for (int k = from;; k += step) {
        if (k != skip_a && k != skip_b) run.k[run.count++] = k;
        if (k == to) break;
    }
    return run;
}

// A turn about an axis; an axis of no length or an angle that is no number
// would fill the matrix with no numbers and throw the rest of the plane off
// the screen, so it turns nothing.
void rotate_about(float angle, float x, float y, float z)
{
    if (!std::isfinite(angle) || !(x * x + y * y + z * z > 0.0f)) return;
    glRotatef(angle, x, y, z);
}

// One triangle or fan over points of a row, each with its texture coordinate.
void row_points(const acf_part_geometry& g, int p, int row, const point_run& run)
{
    for (int i = 0; i < run.count; ++i) {
        ACF_tex_coord(g.part_texcoord[p][row][run.k[i]]);
        glVertex3fv(g.part_vertex[p][row][run.k[i]]);
    }
}

// Where a speedbrake or spoiler panel begins: its chord ratio turned into an
// outline position between points 4 and 5.
float panel_start(int n, int p, int e, int kind)
{
    float x = ACF_control_chord_ratio(n, p, static_cast<float>(e), kind) / CHORD_RATIO_UNIT;
    if (!(x >= 0.01f)) x = 0.01f;
    if (x > 0.99f) x = 0.99f;
    return HINGE_UPPER_POSITION - x;
}

}  // namespace

void ACF_draw_part(int n, int p)
{
    // A plane slot outside 0..9 or a plane not prepared for drawing would read
    // past the records or a missing mesh: nothing is drawn (as for p above 72).
    if (n < 0 || n >= ACF_SLOTS || p < 0 || p >= ACF_NUM_PARTS || !ACF_geometry(n)) return;
    // Winding: the meshes are laid out so that a left part's outer faces wind
    // clockwise, the program's default front face, and a right part's and a
    // blade's counter-clockwise. Setting clockwise for right parts and blades
    // and leaving counter-clockwise behind, as a model wound the other way
    // round would need, culls the outer skin of every right wing, tail half
    // and blade here (their inside shows), makes a left part's winding depend
    // on whether a right part was drawn before it, and turns round the culling
    // of everything drawn after the aircraft. So every part starts clockwise,
    // right parts and blades switch to counter-clockwise, and the caller's
    // winding is given back.
    GLint caller_winding = GL_CW;
    glGetIntegerv(GL_FRONT_FACE, &caller_winding);
    glFrontFace(GL_CW);
    glPushMatrix();
    if (p <= PART_PROP_LAST)
        ACF_draw_propeller(n, p);
    else if (p <= PART_WING_EXTRA_LAST)
        ACF_draw_wing(n, p);
    else if (p <= PART_WING_MORE_LAST)
        ACF_draw_plain_surface(n, p);
    else if (p < GEO_SMALL_BODY_FIRST)
        ACF_draw_body(n, p);
    else if (p >= PART_GEAR_FIRST)
        ACF_draw_gear(n, p);
    // The gear fairings 61..66 are drawn with their gear only.
    glPopMatrix();
    glFrontFace(static_cast<GLenum>(caller_winding));
}

void ACF_draw_wing(int n, int p)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const acf_part_geometry& g = *ACF_geometry(n);
    const int els = ACF_mesh_elements(n, p);
    const float s = a.acf_side_sign[p];
    const float dihedral = ACF_finite(a.acf_dihed1[p]) * DEG_TO_RAD_FLOAT;
    const float sD = s * std::sin(dihedral), cD = std::cos(dihedral);
    const bool flap_lost = FLT_slot_failed(n, a.acf_part_left[p] ? FAIL_SLOT_LEFT_FLAP : FAIL_SLOT_RIGHT_FLAP);
    const float arm[3] = {a.acf_Xarm[p], a.acf_Yarm[p], a.acf_Zarm[p]};

    // Variable sweep and dihedral turn the whole part about its root.
    const float sweep = ACF_finite(f.foil_swe[p]), dihedral_change = ACF_finite(f.foil_dih[p]);
    glTranslatef(arm[0], arm[1], arm[2]);
    if (std::fabs(sweep) > SKIP_BELOW) rotate_about(-sweep * s, sD, cD, 0.0f);
    if (std::fabs(dihedral_change) > SKIP_BELOW) rotate_about(dihedral_change * s, 0.0f, 0.0f, 1.0f);
    glTranslatef(-arm[0], -arm[1], -arm[2]);

    // A right part is mirrored: its outline runs the other way round.
    if (s > 0.0f) glFrontFace(GL_CCW);
    for (int e = 0; e < els; ++e) {
        const int el = ACF_el(p, e);
        const bool last = e == els - 1;
        const bool has_flap = a.acf_flap[el] != 0;
        glPushMatrix();
        const float inc = ACF_finite(f.elem_inc[el]);
        if (std::fabs(inc) > SKIP_BELOW) {
            glTranslatef(arm[0], arm[1], arm[2]);
            rotate_about(inc, cD, sD, 0.0f);
            glTranslatef(-arm[0], -arm[1], -arm[2]);
        }

        // The control of the element: the last one it carries in this order.
        float d = 0.0f;
        if (a.acf_ail1[el]) d = f.ail1_def[p];
        if (a.acf_ail2[el]) d = f.ail2_def[p];
        if (a.acf_elev[el]) d = f.elev_cont_def[p];
        if (a.acf_rudd[el]) d = f.rudd_cont_def[p];
        if (has_flap) d = -f.flap_def[p];
        d = ACF_finite(d);
        bool deflected = std::fabs(d) > 0.0f;
        if (!deflected && has_flap) deflected = flap_lost;   // a lost flap leaves its cut-out
        const bool moving = deflected && !(has_flap && flap_lost);

        const point_run main = deflected ? outline(0, FOIL_LAST, TRAIL_UPPER, TRAIL_LOWER)
                                         : outline(0, FOIL_LAST, HINGE_UPPER, HINGE_LOWER);
        ACF_element_strip(g, p, e, main.k, main.count);

        glPushMatrix();
        if (moving) {
            const float* h = g.element_hinge[p][e][0];
            const float* axis = g.element_hinge_axis[p][e];
            glTranslatef(h[0], h[1], h[2]);
            rotate_about(-d * s, axis[0], axis[1], axis[2]);
            glTranslatef(-h[0], -h[1], -h[2]);
            ACF_element_strip(g, p, e, CONTROL_LOOP, 5);
        }
        // The sides of the cut-out at the part's root and tip.
        if (e == 0 && deflected) {
            glBegin(GL_TRIANGLES);
            glNormal3f(-sD, cD, 0.0f);
            point_run side;
            side.k[0] = HINGE_LOWER, side.k[1] = TRAIL_LOWER, side.k[2] = HINGE_UPPER, side.count = 3;
            row_points(g, p, 0, side);
            glEnd();
        }
        if (last && deflected) {
            glBegin(GL_TRIANGLES);
            glNormal3f(sD, cD, 0.0f);
            point_run side;
            side.k[0] = HINGE_UPPER, side.k[1] = TRAIL_LOWER, side.k[2] = HINGE_LOWER, side.count = 3;
            row_points(g, p, 2 * e + 1, side);
            glEnd();
        }
        glPopMatrix();

        if (moving && has_flap && a.acf_flap_type == FLAP_TYPE_FIXED_SKIN) ACF_element_strip(g, p, e, CONTROL_LOOP, 5);

        if (a.acf_sbrk[el] && f.sbrkrat > SKIP_BELOW) {
            const float angle = f.sbrkrat * a.acf_sbrk_up;
            if (p >= PAIRED_BRAKE_FIRST && p <= PAIRED_BRAKE_LAST) {   // two panels opening apart
                ACF_draw_control_strip(n, p, 2 * e, HINGE_UPPER_POSITION, +1, -angle);
                ACF_draw_control_strip(n, p, 2 * e, HINGE_LOWER_POSITION, -1, +angle);
            } else {
                ACF_draw_control_strip(n, p, 2 * e, panel_start(n, p, e, SURF_SPEEDBRAKE), +1, -angle);
            }
        }
        if (a.acf_slat[el] && f.slatrat > SKIP_BELOW)
            ACF_draw_control_strip(n, p, 2 * e, SLAT_POSITION, +1, f.slatrat * SLAT_FULL_DEG);
        if (a.acf_splr[el])
            ACF_draw_control_strip(n, p, 2 * e, panel_start(n, p, e, SURF_SPOILER), +1, -ACF_finite(f.splr_def[p]));

        if (e == 0) {
            glNormal3f(-sD, cD, 0.0f);
            glBegin(GL_TRIANGLE_FAN);
            row_points(g, p, 0, deflected ? outline(CAP_LAST, 0, TRAIL_UPPER, TRAIL_LOWER) : outline(CAP_LAST, 0, -1, -1));
            glEnd();
        }
        if (last) {
            glNormal3f(sD, cD, 0.0f);
            glBegin(GL_TRIANGLE_FAN);
            row_points(g, p, 2 * e + 1,
                       deflected ? outline(0, CAP_LAST, TRAIL_UPPER, TRAIL_LOWER) : outline(0, CAP_LAST, -1, -1));
            glEnd();
        }
        glPopMatrix();
    }
}

void ACF_draw_plain_surface(int n, int p)
{
    const int els = ACF_mesh_elements(n, p);
    if (els == 0) return;
    const acf_part_geometry& g = *ACF_geometry(n);
    if (pln[n].acf_side_sign[p] > 0.0f) glFrontFace(GL_CCW);   // mirrored
    const point_run all = outline(0, FOIL_LAST, -1, -1);
    for (int e = 0; e < els; ++e) ACF_element_strip(g, p, e, all.k, all.count);
    // The end caps keep the last normal given.
    glBegin(GL_TRIANGLE_FAN);
    row_points(g, p, 0, outline(CAP_LAST, 0, HINGE_UPPER, HINGE_LOWER));
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    row_points(g, p, 2 * els - 1, outline(0, CAP_LAST, HINGE_UPPER, HINGE_LOWER));
    glEnd();
}

void ACF_draw_control_strip(int n, int p, int r, float position, int step, float angle)
{
    // A plane, part, row or position outside the arrays, or a step other than
    // +-1, would read past the part's rows and outline: nothing is drawn.
    if (n < 0 || n >= ACF_SLOTS || p < 0 || p > PART_AFL_LAST || r < 0 || r + 1 >= GEO_ROWS) return;
    if (!(position >= 0.0f && position <= static_cast<float>(FOIL_LAST)) || (step != 1 && step != -1)) return;
    const acf_part_geometry& g = *ACF_geometry(n);
    const int els = ACF_mesh_elements(n, p);
    const int i0 = static_cast<int>(position);
    const float f = position - static_cast<float>(i0), w = 1.0f - f;
    // The hinge axis per element span; a part without span would divide by
    // zero and turn the panel about no axis, so it keeps the plain axis.
    const float span = els > 0 ? pln[n].acf_semilen_SEG[p] / static_cast<float>(els) : 0.0f;
    const float per = std::isfinite(span) && span != 0.0f ? span : 1.0f;

    // Outline indices held to 0..13 (a position of 13.x would ask for point 14).
    const auto at = [](int k) { return k < 0 ? 0 : (k > FOIL_LAST ? FOIL_LAST : k); };
    const auto V = [&](int row, int k) { return g.part_vertex[p][row][at(k)]; };
    const int h = i0 == SLAT_START ? 0 : i0;
    float H[3], A[3];
    for (int q = 0; q < 3; ++q) {
        H[q] = w * V(r, h)[q] + f * V(r, h + 1)[q];
        A[q] = (w * (V(r + 1, h)[q] - V(r, h)[q]) + f * (V(r + 1, h + 1)[q] - V(r, h + 1)[q])) / per;
    }

    glPushMatrix();
    glTranslatef(H[0], H[1], H[2]);
    rotate_about(ACF_finite(angle) * pln[n].acf_side_sign[p], A[0], A[1], A[2]);
    glTranslatef(-H[0], -H[1], -H[2]);

    // Start, next point, start again: a closed panel seen from both sides.
    const int start = i0 == 0 ? SLAT_START : i0;
    glBegin(GL_TRIANGLE_STRIP);
    for (int c = 0; c < 3; ++c) {
        const int i = at(start + c * step);
        const int j = c == 2 ? start : i;
        glNormal3fv(g.part_normal[p][r][i]);
        for (const int row : {r + 1, r}) {
            if (j == start) {
                const float* t0 = g.part_texcoord[p][row][at(j)];
                const float* t1 = g.part_texcoord[p][row][at(j + step)];
                const float* v0 = V(row, j);
                const float* v1 = V(row, j + step);
                const float st[2] = {w * t0[0] + f * t1[0], w * t0[1] + f * t1[1]};
                ACF_tex_coord(st);
                glVertex3f(w * v0[0] + f * v1[0], w * v0[1] + f * v1[1], w * v0[2] + f * v1[2]);
            } else {
                ACF_tex_coord(g.part_texcoord[p][row][j]);
                glVertex3fv(V(row, j));
            }
        }
    }
    glEnd();
    glPopMatrix();
}
