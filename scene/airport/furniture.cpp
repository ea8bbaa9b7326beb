// What stands on and beside the selected airport's runways: designation and
// distance-remaining signs, buoys along water runways and other aircraft
// parked on the large aprons.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/airport_draw.h"
#include "scene/airport/worldobj.h"
#include "scene/drawers.h"
#include "scene/plane_range.h"
#include "scene/scene_state.h"

namespace {

constexpr int SIGN_ROW = 49;
constexpr float SIGN_STEP_M = 1000.0f * UNIT.ft_to_mtrs;

// A cell of the sign atlas: s from 0.5 + (n mod 4)/16, t from (n div 4)/8.
void cell_quad(int n, float x0, float x1, float y0, float y1, float z)
{
    const float s0 = 0.5f + static_cast<float>(n % 4) * 0.0625f, s1 = s0 + 0.0625f;
    const float t0 = static_cast<float>(n / 4) * 0.125f, t1 = t0 + 0.125f;
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(s0, t0);
    glVertex3f(x0, y0, z);
    glTexCoord2f(s0, t1);
    glVertex3f(x0, y1, z);
    glTexCoord2f(s1, t1);
    glVertex3f(x1, y1, z);
    glTexCoord2f(s1, t0);
    glVertex3f(x1, y0, z);
}

// Left side, back, right side and top of a sign box, in the plain sign picture.
void sign_box(float half_width, float height, float half_depth)
{
    const float w = half_width, h = height, d = half_depth;
    const float faces[4][4][3] = {
        {{-w, 0, -d}, {-w, h, -d}, {-w, h, d}, {-w, 0, d}},
        {{w, 0, -d}, {w, h, -d}, {-w, h, -d}, {-w, 0, -d}},
        {{w, 0, d}, {w, h, d}, {w, h, -d}, {w, 0, -d}},
        {{-w, h, d}, {-w, h, -d}, {w, h, -d}, {w, h, d}},
    };
    const float normals[4][3] = {{-1, 0, 0}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}};
    const float tex[4][2] = {{0.75f, 0.0f}, {0.75f, 0.25f}, {1.0f, 0.25f}, {1.0f, 0.0f}};
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    glBegin(GL_QUADS);
    for (int f = 0; f < 4; ++f) {
        glNormal3fv(normals[f]);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2fv(tex[k]);
            glVertex3fv(faces[f][k]);
        }
    }
    glEnd();
}

void front_lit_off()
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    WORLDOBJ_set_gl_color(SIGN_ROW, 1.0f);
}

// The designation sign: the runway number's two digits and its side letter.
void designation_sign(int number, int letter_cell)
{
    front_lit_off();
    glBegin(GL_QUADS);
    cell_quad(number / 10, -1.5f, -0.5f, 0.0f, 1.0f, 0.1f);
    cell_quad(number % 10, -0.5f, 0.5f, 0.0f, 1.0f, 0.1f);
    cell_quad(letter_cell, 0.5f, 1.5f, 0.0f, 1.0f, 0.1f);
    glEnd();
    sign_box(1.5f, 1.0f, 0.1f);
}

// A distance-remaining sign of 1, 2 or 3 thousand feet.
void distance_sign(int k)
{
    front_lit_off();
    glBegin(GL_QUADS);
    cell_quad(11 + k, -0.7f, 0.7f, 0.0f, 1.4f, 0.1f);
    glEnd();
    sign_box(0.7f, 1.4f, 0.1f);
}

// P lies on another (non-taxiway) runway of the airport.
bool on_other_runway(const airport_record& apt, int r, float x, float z)
{
    for (size_t k = 0; k < apt.runways.size(); ++k) {
        if (static_cast<int>(k) == r || !APT_is_runway(apt.runways[k])) continue;
        const runway_geometry_record* g = APT_runway_geometry(apt, static_cast<int>(k));
        if (g && APT_inside_runway(APT_runway_quad(*g), x, z)) return true;
    }
    return false;
}

// The letter cell of a side letter, seen from the first end (group 1) or the last (group 0).
int letter_cell(char letter, int group)
{
    if (letter == 'L') return group == 0 ? 11 : 10;
    if (letter == 'R') return group == 0 ? 10 : 11;
    return 15;
}

// The plane state the parked aircraft overwrites, kept to be put back.
struct parked_saved {
    flt_struct f;
    std::array<float, 73> gear_deploy, gear_latN, gear_lonN, gear_axiN, gear_x, gear_y, gear_z;
    std::array<float, 73> sweepnow, dihednow, varinc_now;
    std::array<float, 8> vect_cant;
    std::array<float, 10> door_angle;
};

template <size_t N>
void save_array(std::array<float, N>& to, const float (&from)[N])
{
    std::memcpy(to.data(), from, sizeof from);
}
template <size_t N>
void load_array(float (&to)[N], const std::array<float, N>& from)
{
    std::memcpy(to, from.data(), sizeof to);
}

}  // namespace

namespace {

// One sign beside a runway: its foot, its turn about the vertical (degrees)
// and what it shows (a designation, or 1, 2 or 3 thousand feet to go).
struct runway_sign {
    float x, y, z, turn;
    int32_t thousands;   // 0 for the designation
    int32_t number, letter_cell;
};

// The signs of one runway, kept while everything that places them stays the
// same: its record, its quad, the airport's elevation, the frame's origin and
// the runways that may hide a sign (after an origin shift or a new scene
// build they are placed again). The signs drawn are the same as placing them
// afresh every frame would give.
struct kept_runway_signs {
    const airport_record* apt;
    int r;
    std::vector<float> inputs;
    std::vector<runway_sign> signs;
};
std::vector<kept_runway_signs> kept_signs;
std::vector<float> sign_inputs_scratch;
constexpr size_t KEPT_SIGN_RUNWAYS = 64;

void quad_inputs(const runway_geometry_record& g, std::vector<float>& out)
{
    const runway_quad q = APT_runway_quad(g);
    for (const float* p : {q.A, q.B, q.C, q.D}) out.insert(out.end(), {p[0], p[1], p[2]});
}

void sign_inputs(const airport_record& apt, int r, const runway_geometry_record& g, std::vector<float>& out)
{
    const runway_record& rw = apt.runways[static_cast<size_t>(r)];
    out.assign({rw.displaced_thresholds, rw.length, rw.width, rw.heading, static_cast<float>(rw.shoulder_code),
                static_cast<float>(rw.number[0]), static_cast<float>(rw.number[1]), static_cast<float>(rw.number[2]),
                apt.elevation, lat_ref, lon_ref, static_cast<float>(WORLD_planet()), g.sections.front().left[1]});
    quad_inputs(g, out);
    for (size_t k = 0; k < apt.runways.size(); ++k) {
        const runway_geometry_record* other = APT_runway_geometry(apt, static_cast<int>(k));
        out.push_back(static_cast<int>(k) != r && other && APT_is_runway(apt.runways[k]) ? 1.0f : 0.0f);
        if (other) quad_inputs(*other, out);
    }
}

void place_signs(const airport_record& apt, int r, const runway_geometry_record& g, std::vector<runway_sign>& out)
{
    out.clear();
    const runway_record& rw = apt.runways[static_cast<size_t>(r)];
    const float d_first = std::trunc(rw.displaced_thresholds) * UNIT.ft_to_mtrs;
    const float d_last = (rw.displaced_thresholds - std::trunc(rw.displaced_thresholds)) * 10000.0f * UNIT.ft_to_mtrs;
    const float total = d_first + rw.length + d_last;
    // A runway of no length (or one that is no number) would divide by zero
    // and put every sign at no place: it gets no signs.
    if (!(total > 0.0f) || !std::isfinite(total)) return;

    const runway_quad q = APT_runway_quad(g);
    const float h = rw.heading * DEG_TO_RAD_FLOAT;
    const float offset = 3.0f + (rw.shoulder_code != 0 ? 0.25f * rw.width : 0.0f);
    const float out_x = std::cos(h) * offset, out_z = std::sin(h) * offset;
    // The corners pushed out to the sides: A and D to the left, B and C to the right.
    const float A[2] = {q.A[0] - out_x, q.A[2] - out_z}, D[2] = {q.D[0] - out_x, q.D[2] - out_z};
    const float B[2] = {q.B[0] + out_x, q.B[2] + out_z}, C[2] = {q.C[0] + out_x, q.C[2] + out_z};
    const int base = 10 * UTIL_char_to_digit(rw.number[0]) + UTIL_char_to_digit(rw.number[1]);
    const float y_ground = g.sections.front().left[1];

    for (int e = 0; e < 2; ++e)
        for (int s = 0; s < 2; ++s)
            for (int k = 0; k < 4; ++k) {
                const float f = 1.0f - (static_cast<float>(k) * SIGN_STEP_M + (e == 0 ? d_last : d_first)) / total;
                const float* from = e == 0 ? (s == 0 ? D : C) : (s == 0 ? A : B);
                const float* to = e == 0 ? (s == 0 ? A : B) : (s == 0 ? D : C);
                const float px = from[0] + f * (to[0] - from[0]), pz = from[1] + f * (to[1] - from[1]);
                if (on_other_runway(apt, r, px, pz)) continue;
                float lat, lon, elev, x, y, z;
                GEO_local_to_latlon(lat, lon, elev, px, y_ground, pz);
                GEO_latlon_to_local(x, y, z, lat, lon, apt.elevation);
                if (k == 0)
                    out.push_back({x, y, z, -rw.heading + static_cast<float>(s) * 180.0f - 90.0f, 0,
                                   UTIL_wrap_int(base + (e == 0 ? 18 : 0), 1, 36), letter_cell(rw.number[2], e)});
                else
                    out.push_back({x, y, z, -rw.heading + static_cast<float>(e) * 180.0f, k, 0, 0});
            }
}

// The kept signs of runway r, placed again when what places them changed.
const std::vector<runway_sign>& signs_of(const airport_record& apt, int r, const runway_geometry_record& g)
{
    sign_inputs(apt, r, g, sign_inputs_scratch);
    auto it = std::find_if(kept_signs.begin(), kept_signs.end(),
                           [&](const kept_runway_signs& k) { return k.apt == &apt && k.r == r; });
    if (it == kept_signs.end()) {
        if (kept_signs.size() >= KEPT_SIGN_RUNWAYS) kept_signs.clear();
        it = kept_signs.insert(kept_signs.end(), kept_runway_signs{&apt, r, {}, {}});
    } else if (it->inputs == sign_inputs_scratch) {
        return it->signs;
    }
    it->inputs = sign_inputs_scratch;
    place_signs(apt, r, g, it->signs);
    return it->signs;
}

}  // namespace

void AIRPORT_signs_reset() { kept_signs.clear(); }
ORVELL_RESET(AIRPORT_signs_reset, scene);

void AIRPORT_draw_signs(const airport_record& apt, int r)
{
    const runway_geometry_record* g = APT_runway_geometry(apt, r);
    if (!g) return;
    const std::vector<runway_sign>& signs = signs_of(apt, r, *g);
    if (signs.empty()) return;

    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    for (const runway_sign& sign : signs) {
        glPushMatrix();
        glTranslatef(sign.x, sign.y, sign.z);
        glRotatef(sign.turn, 0.0f, 1.0f, 0.0f);
        if (sign.thousands == 0)
            designation_sign(sign.number, sign.letter_cell);
        else
            distance_sign(sign.thousands);
        glPopMatrix();
    }
}

void AIRPORT_draw_buoys(const runway_geometry_record& g)
{
    // Rings from the bottom up: height and radius, m.
    constexpr float rings[4][2] = {{-2.0f, 1.0f}, {1.0f, 1.0f}, {1.5f, 0.75f}, {2.0f, 0.1f}};
    const float* first = g.sections.front().left;
    const float* last = g.sections.back().left;
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    for (int k = 1; k <= 10; ++k) {
        const float x = SCENE_interp(static_cast<float>(k), 1.0f, first[0], 10.0f, last[0]);
        const float z = SCENE_interp(static_cast<float>(k), 1.0f, first[2], 10.0f, last[2]);
        const float ground = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "bouy");
        const float height = WAVE_height(x, ground, z);
        glPushMatrix();
        glTranslatef(x, height, z);
        for (int band = 0; band < 3; ++band) {
            const float y_low = rings[band][0], r_low = rings[band][1];
            const float y_high = rings[band + 1][0], r_high = rings[band + 1][1];
            const int phi = static_cast<int>(std::atan((r_low - r_high) / (y_high - y_low)) / DEG_TO_RAD_FLOAT);
            glBegin(GL_QUAD_STRIP);
            for (int step = 0; step <= 8; ++step) {
                const int a = step * 45;
                const float sa = degree_sin[a], ca = degree_cos[a];
                glNormal3f(sa * degree_cos[phi], degree_sin[phi], -ca * degree_cos[phi]);
                const bool even = step % 2 == 0;
                glTexCoord2f(even ? 0.25f : 0.5f, 0.5f);
                glVertex3f(r_high * sa, y_high, -r_high * ca);
                glTexCoord2f(even ? 0.5f : 0.25f, 0.0f);
                glVertex3f(r_low * sa, y_low, -r_low * ca);
            }
            glEnd();
        }
        glPopMatrix();
    }
}

void AIRPORT_park_aircraft(int p, int r, const runway_geometry_record& g)
{
    if (p < 1 || p >= FLT_SLOTS || p >= ACF_SLOTS) return;
    flt_struct& f = flt[p];
    acf_struct& a = pln[p];
    parked_saved saved;
    saved.f = f;
    save_array(saved.gear_deploy, a.acf_gear_deploy);
    save_array(saved.gear_latN, a.acf_gear_latN);
    save_array(saved.gear_lonN, a.acf_gear_lonN);
    save_array(saved.gear_axiN, a.acf_gear_axiN);
    save_array(saved.gear_x, a.acf_gear_xnodef);
    save_array(saved.gear_y, a.acf_gear_ynodef);
    save_array(saved.gear_z, a.acf_gear_znodef);
    save_array(saved.sweepnow, a.acf_sweepnow);
    save_array(saved.dihednow, a.acf_dihednow);
    save_array(saved.varinc_now, a.varinc_now);
    save_array(saved.vect_cant, a.acf_vect_cant);
    save_array(saved.door_angle, a.acf_gear_door_ang_now);

    const runway_quad q = APT_runway_quad(g);
    f.local_x = (q.A[0] + q.B[0] + q.C[0] + q.D[0]) * 0.25f;
    f.local_z = (q.A[2] + q.B[2] + q.C[2] + q.D[2]) * 0.25f;
    f.local_y = (q.A[1] + q.B[1] + q.C[1] + q.D[1]) * 0.25f + a.acf_h_eqlbm;
    f.theta = a.acf_the_eqlbm;
    f.psi = static_cast<float>((r * 10) % 360);
    f.phi = 0.0f;
    f.cos_theta = f.cos_phi = 1.0f;
    for (int k = PART_GEAR_FIRST; k < PART_GEAR_FIRST + 6; ++k) a.acf_gear_deploy[k] = 1.0f;
    f.flaprat = 0.0f;

    ACF_control_incidence(p);
    OGL_polygon_offset(0);
    ACF_draw_shadow(p, f.local_y - a.acf_h_eqlbm);
    glPushMatrix();
    glTranslatef(f.local_x, f.local_y, f.local_z);
    glRotatef(-f.psi, 0.0f, 1.0f, 0.0f);
    glRotatef(-f.theta, -1.0f, 0.0f, 0.0f);
    ACF_draw_plane(p, 1);
    glPopMatrix();
    OGL_polygon_offset(2);

    // Put back exactly what was there. Running the control pass again on the
    // restored state would step its lags (speedbrake and burner ratios) a
    // second time this frame, so that aircraft's speedbrakes and burners would
    // move twice as fast as it works them; the copies give the values the
    // pass had left.
    f = saved.f;
    load_array(a.acf_gear_deploy, saved.gear_deploy);
    load_array(a.acf_gear_latN, saved.gear_latN);
    load_array(a.acf_gear_lonN, saved.gear_lonN);
    load_array(a.acf_gear_axiN, saved.gear_axiN);
    load_array(a.acf_gear_xnodef, saved.gear_x);
    load_array(a.acf_gear_ynodef, saved.gear_y);
    load_array(a.acf_gear_znodef, saved.gear_z);
    load_array(a.acf_sweepnow, saved.sweepnow);
    load_array(a.acf_dihednow, saved.dihednow);
    load_array(a.varinc_now, saved.varinc_now);
    load_array(a.acf_vect_cant, saved.vect_cant);
    load_array(a.acf_gear_door_ang_now, saved.door_angle);
}
