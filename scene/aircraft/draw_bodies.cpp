// Propeller blades, bodies and nacelles, and the landing gear with its strut,
// fairing and wheels.
#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "scene/aircraft/wheel_draw.h"
#include "scene/aircraft/draw_kit.h"

namespace {

constexpr int FOIL_LAST = GEO_FOIL_POINTS - 1;
constexpr int TIP_SKIP_A = 5, TIP_SKIP_B = 8;   // the tip fan leaves out the hinge points
constexpr int GEAR_TYPE_THICK_STRUT = 1;        // a strut as thick as the tyre (skids, floats)
constexpr float STRUT_THIN = 0.25f;             // other struts: a quarter of the tyre radius
constexpr int STRUT_STEP_DEG = 45;
constexpr float STRUT_S = 16.0f / 1024.0f;      // the strut's band on the paint: s 0..16,
constexpr float STRUT_T_END = 131.0f / 1024.0f;   // t 131 at the far end,
constexpr float STRUT_T_WHEEL = 259.0f / 1024.0f; // t 259 at the wheel
constexpr int FAIRING_OFFSET = 6;               // gear p carries fairing part p - 6

// The wheels of each gear layout, as offsets (x in tyre half-widths W, z in
// R8 = 0.8 x the tyre radius).
struct wheel_offset {
    float x_w, z_r8;
};
struct gear_layout {
    int count;
    wheel_offset wheel[6];
};
constexpr gear_layout GEAR_LAYOUTS[] = {
    {0, {}},                                                                  // 0: none
    {0, {}},                                                                  // 1: skids, floats
    {1, {{0.0f, 0.0f}}},                                                      // 2: one wheel
    {2, {{-1.5f, 0.0f}, {1.5f, 0.0f}}},                                       // 3: side by side
    {2, {{0.0f, -1.5f}, {0.0f, 1.5f}}},                                       // 4: tandem
    {4, {{-1.5f, -1.5f}, {1.5f, -1.5f}, {-1.5f, 1.5f}, {1.5f, 1.5f}}},        // 5: bogie of four
    {6, {{-1.5f, -2.5f}, {1.5f, -2.5f}, {-1.5f, 0.0f}, {1.5f, 0.0f}, {-1.5f, 2.5f}, {1.5f, 2.5f}}},   // 6
    {4, {{-1.5f, 0.0f}, {1.5f, 0.0f}, {-4.5f, 0.0f}, {4.5f, 0.0f}}},          // 7: four abreast
    {6, {{-1.5f, -2.0f}, {2.0f, -2.0f}, {-2.0f, 2.0f}, {2.0f, 2.0f}, {-4.5f, 2.0f}, {4.5f, 2.0f}}},   // 8
};
constexpr int GEAR_LAYOUT_COUNT = sizeof GEAR_LAYOUTS / sizeof GEAR_LAYOUTS[0];

// A strip between rows r and r + 1 of a grid: per point normal, texture
// coordinate and vertex of row r + 1, then of row r.
void grid_strip(const acf_part_geometry& g, int p, int r, int points, bool plain_tex)
{
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k < points; ++k)
        for (const int row : {r + 1, r}) {
            glNormal3fv(g.part_normal[p][row][k]);
            if (plain_tex)
                glTexCoord2fv(g.part_texcoord[p][row][k]);
            else
                ACF_tex_coord(g.part_texcoord[p][row][k]);
            glVertex3fv(g.part_vertex[p][row][k]);
        }
    glEnd();
}

// The hub of engine e: its arm, moved by the vectoring pivot's offset turned
// through the engine's cants (the cants themselves undone).
void hub_frame(const acf_struct& a, int e)
{
    const float vc = ACF_finite(a.acf_vect_cant[e]), sc = ACF_finite(a.acf_sidecant[e]);
    glTranslatef(a.acf_Xarm[e], a.acf_Yarm[e], a.acf_Zarm[e]);
    glRotatef(-vc, -1.0f, 0.0f, 0.0f);
    glRotatef(-sc, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, a.acf_vectarmY, a.acf_vectarmZ);
    glRotatef(sc, 0.0f, 1.0f, 0.0f);
    glRotatef(vc, -1.0f, 0.0f, 0.0f);
}

// The skid's pitch toward the skid point behind it: atan(dy / dz) in degrees,
// +-90 when the points lie one above the other (as atan of the infinite
// quotient gives). When they coincide the quotient 0 / 0 is no number and
// would throw the leg off the screen: the skid is not pitched (0).
float skid_pitch_deg(float dy, float dz)
{
    if (dz == 0.0f) return dy == 0.0f ? 0.0f : (dy > 0.0f ? 90.0f : -90.0f);
    return ACF_finite(std::atan(dy / dz) * UNIT.rad_to_deg);
}

}  // namespace

void ACF_hub_frame(int n, int e) { hub_frame(pln[n], e); }

void ACF_draw_propeller(int n, int e)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const acf_part_geometry& g = *ACF_geometry(n);
    hub_frame(a, e);
    glRotatef(-ACF_finite(f.vertcant[e]), -1.0f, 0.0f, 0.0f);
    glRotatef(-ACF_finite(f.sidecant[e]), 0.0f, 1.0f, 0.0f);
    glRotatef(ACF_finite(f.tire_prop_rot[e]), 0.0f, 0.0f, 1.0f);
    // Faster, the propeller is a disc (the thrust stage draws it).
    if (!(ACF_finite(f.POINT_tacrad[e]) <= ACF_DISC_SPEED_RADPS)) return;

    const float blades = ACF_blade_count(n, e);
    const int rows = ACF_mesh_rows(n, e);
    const float cone_deg = ACF_finite(f.POINT_cone_rad[e]) * UNIT.rad_to_deg;
    const float pitch_deg = (ACF_finite(f.POINT_pitch_deg[e]) - 90.0f) * ACF_finite(a.acf_prop_dir[e]);
    glFrontFace(GL_CCW);   // a blade is laid out as a right wing: clockwise would cull its outer skin
    for (int i = 0; static_cast<float>(i) < blades; ++i) {
        glPushMatrix();
        glRotatef(static_cast<float>(i) * 360.0f / blades, 0.0f, 0.0f, 1.0f);
        glRotatef(cone_deg, 0.0f, 1.0f, 0.0f);
        glRotatef(pitch_deg, 1.0f, 0.0f, 0.0f);
        for (int r = 0; r + 1 < rows; ++r) grid_strip(g, e, r, GEO_FOIL_POINTS, true);
        if (rows > 0) {
            glBegin(GL_TRIANGLE_FAN);
            for (int k = 0; k < FOIL_LAST; ++k)
                if (k != TIP_SKIP_A && k != TIP_SKIP_B) glVertex3fv(g.part_vertex[e][rows - 1][k]);
            glEnd();
        }
        glPopMatrix();
    }
}

void ACF_draw_body(int n, int p)
{
    const acf_struct& a = pln[n];
    const acf_part_geometry& g = *ACF_geometry(n);
    glTranslatef(a.acf_Xarm[p], a.acf_Yarm[p], a.acf_Zarm[p]);
    if (p >= PART_ENGINE_BODY_FIRST && p <= PART_ENGINE_BODY_LAST) {   // a nacelle follows its engine
        const int e = p - PART_ENGINE_BODY_FIRST;
        glRotatef(-ACF_finite(a.acf_vect_cant[e]), -1.0f, 0.0f, 0.0f);
        glRotatef(-ACF_finite(a.acf_sidecant[e]), 0.0f, 1.0f, 0.0f);
    }
    for (int r = 0; r + 1 < GEO_BODY_ROWS; ++r) grid_strip(g, p, r, GEO_POINTS, false);
}

void ACF_draw_gear(int n, int p)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const acf_part_geometry& g = *ACF_geometry(n);
    const float R = a.acf_gear_tirrad[p], W = a.acf_gear_tirwid[p];

    // The strut: a tube from the wheel point up to the leg's arm.
    const float G[3] = {a.acf_gear_xnodef[p], a.acf_gear_ynodef[p] + a.acf_gear_def[p], a.acf_gear_znodef[p]};
    const float d[3] = {G[0] - a.acf_Xarm[p], G[1] - a.acf_Yarm[p], G[2] - a.acf_Zarm[p]};
    glTranslatef(G[0], G[1], G[2]);
    const float yaw = ACF_finite(std::atan2(-d[0], -d[2]) * UNIT.rad_to_deg);
    const float pitch = ACF_finite(std::atan2(-d[1], std::sqrt(d[0] * d[0] + d[2] * d[2])) * UNIT.rad_to_deg);
    const float L = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const float Rs = R * (a.acf_gear_type[p] == GEAR_TYPE_THICK_STRUT ? 1.0f : STRUT_THIN);
    glRotatef(yaw, 0.0f, 1.0f, 0.0f);
    glRotatef(pitch, -1.0f, 0.0f, 0.0f);
    glBegin(GL_QUAD_STRIP);
    for (int deg = 0; deg <= 360; deg += STRUT_STEP_DEG) {
        const float c = degree_cos[deg], s = degree_sin[deg];
        const float st_end[2] = {static_cast<float>(deg) / 360.0f * STRUT_S, STRUT_T_END};
        const float st_wheel[2] = {st_end[0], STRUT_T_WHEEL};
        glNormal3f(-c, s, 0.0f);
        ACF_tex_coord(st_end);
        glVertex3f(-Rs * c, Rs * s, L);
        ACF_tex_coord(st_wheel);
        glVertex3f(-Rs * c, Rs * s, 0.0f);
    }
    glEnd();
    glRotatef(-pitch, -1.0f, 0.0f, 0.0f);
    glRotatef(-yaw, 0.0f, 1.0f, 0.0f);

    // Skids: each front skid point is pitched along the line to the one behind it.
    if (a.acf_gear_is_skid && (p == PART_GEAR_FIRST || p == PART_GEAR_FIRST + 1)) {
        const int q = p + 2;
        const float y_p = a.acf_gear_ynodef[p] + a.acf_gear_def[p], y_q = a.acf_gear_ynodef[q] + a.acf_gear_def[q];
        glRotatef(-skid_pitch_deg(y_p - y_q, a.acf_gear_znodef[q] - a.acf_gear_znodef[p]), -1.0f, 0.0f, 0.0f);
    }

    // The leg's retraction, then the steering of what hangs below it.
    glRotatef(ACF_finite(a.acf_gear_lonE[p] - a.acf_gear_lonN[p]), -1.0f, 0.0f, 0.0f);
    glRotatef(ACF_finite(a.acf_gear_latN[p] - a.acf_gear_latE[p]), 0.0f, 0.0f, 1.0f);
    glRotatef(ACF_finite(a.acf_gear_axiN[p]), 0.0f, 1.0f, 0.0f);
    if (a.acf_gear_steers[p]) glRotatef(ACF_finite(f.nosewheel_steer), 0.0f, -1.0f, 0.0f);

    const int fairing = p - FAIRING_OFFSET;
    if (a.acf_part_eq[fairing])
        for (int r = 0; r + 1 < GEO_SMALL_BODY_ROWS; ++r) grid_strip(g, fairing, r, GEO_SMALL_BODY_POINTS, false);

    const int type = a.acf_gear_type[p];
    if (type < 0 || type >= GEAR_LAYOUT_COUNT) return;
    const gear_layout& layout = GEAR_LAYOUTS[type];
    const float R8 = 0.8f * R, roll = ACF_finite(f.tire_prop_rot[p]);
    for (int k = 0; k < layout.count; ++k)
        ACF_draw_wheel(layout.wheel[k].x_w * W, 0.0f, layout.wheel[k].z_r8 * R8, W, 0.7f * W, 0.8f * R, R, 0.0f, roll);
}
