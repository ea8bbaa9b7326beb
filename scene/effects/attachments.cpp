// What hangs on or trails behind the user's plane: the flown path, the tow
// and sling ropes, the slung load, the drag chute and the refuelling hose to
// plane 1, which also fills the user's first three tanks while connected.
#include <algorithm>
#include <cmath>

#include <GL/gl.h>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/replay.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/drawers.h"
#include "scene/effects/attachments.h"

namespace {

constexpr int ROW_PATH_MARK = 29;
constexpr int ROW_PATH = 23;
constexpr int ROW_ROPE = 33;
constexpr float HOSE_DRAWN_M = 250.0f;
constexpr float HOSE_FLOWS_M = 5.0f;

void line_state()
{
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
}

void vertex(const float* p) { glVertex3f(p[0], p[1], p[2]); }

bool finite3(const float* p) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

void flown_path()
{
    line_state();
    glBegin(GL_LINES);
    for (int i = 0; i + 1 < REPLAY_RING_SIZE; ++i) {
        const plane_state_record& a = replay_ring[i];
        const plane_state_record& b = replay_ring[i + 1];
        if (!(a.network_time_sec > 0.01f) || !(b.network_time_sec > 0.01f)) continue;
        OGL_apply_color(i % 3 == 0 ? ROW_PATH_MARK : ROW_PATH, 1.0f);
        glVertex3f(a.local_x, a.local_y, a.local_z);
        glVertex3f(b.local_x, b.local_y, b.local_z);
    }
    glEnd();
}

bool slung() { return pln[0].acf_jett_is_slung && flt[0].m_jettison > 0.0f; }

void ropes()
{
    const launch_flags_block& l = launch_flags;
    const bool tow = l.aero_tow_mode || l.tow_attached || l.winch_mode || l.winch_attached;
    if (!tow && !slung()) return;
    line_state();
    OGL_apply_color(ROW_ROPE, 1.0f);
    glBegin(GL_LINES);
    if (tow) vertex(rope_points.line_a), vertex(rope_points.line_b);
    if (slung()) vertex(rope_points.load_attach), vertex(rope_points.load_pos);
    glEnd();
}

void slung_load()
{
    const float e = flt[0].ett_size * 0.5f;
    const float* c = rope_points.load_pos;
    // A size or load point that is no number would throw the cube's corners
    // anywhere on the screen: no cube is drawn.
    if (!std::isfinite(e) || !finite3(c)) return;
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    float v[8][3];
    for (int k = 0; k < 8; ++k) {
        v[k][0] = c[0] + (k & 1 ? e : -e);
        v[k][1] = c[1] + (k & 2 ? e : -e);
        v[k][2] = c[2] + (k & 4 ? e : -e);
    }
    static const int face[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    glBegin(GL_QUADS);
    for (const auto& f : face) OGL_quad_3d_tex(v[f[0]], v[f[1]], v[f[2]], v[f[3]], 0.0f, 0.5f, 0.25f, 1.0f);
    glEnd();
}

void body_point_to_local(int p, float x, float y, float z, float out[3])
{
    PHYS_body_to_local(x, y, z, &out[0], &out[1], &out[2], p);
    out[0] += flt[p].local_x, out[1] += flt[p].local_y, out[2] += flt[p].local_z;
}

void parachute()
{
    const acf_struct& a = pln[0];
    const sim_cockpit_engine_block& ce = sim_cockpit_engine;
    // An area, deployment or line end that is no number would throw the lines
    // and canopy anywhere on the screen: no chute is drawn.
    if (!std::isfinite(a.acf_chute_area) || !std::isfinite(ce.chute_deploy_ratio)) return;
    const float r = std::sqrt(a.acf_chute_area / PI_FLOAT);
    const float c = ce.chute_deploy_ratio;
    const float L = 4.0f * r * std::clamp(2.0f * c, 0.0f, 1.0f);
    const float q = r * std::clamp(2.0f * c - 1.0f, 0.0f, 1.0f);
    float A[3], B[3];
    body_point_to_local(0, 0.0f, a.acf_chute_Y, a.acf_chute_Z, A);
    body_point_to_local(0, L * ce.chute_dir[0], a.acf_chute_Y + L * ce.chute_dir[1], a.acf_chute_Z + L * ce.chute_dir[2], B);
    if (!finite3(A) || !finite3(B)) return;

    line_state();
    OGL_apply_color(ROW_ROPE, 1.0f);
    glBegin(GL_LINES);
    vertex(A), vertex(B);
    glEnd();

    const float tas = flt[0].true_airspeed;
    const float dx = B[0] - A[0], dy = B[1] - A[1], dz = B[2] - A[2];
    const float h = std::atan2(-dx, dz) * RAD_TO_DEG_FLOAT * std::clamp(0.5f * tas, 0.0f, 1.0f);
    const float e = std::atan2(-dy, std::sqrt(dx * dx + dz * dz)) * RAD_TO_DEG_FLOAT;
    float p = 90.0f + (e - 90.0f) * 0.5f * tas;
    p = std::clamp(p, std::min(e, 90.0f), std::max(e, 90.0f));

    glPushMatrix();
    glTranslatef(A[0], A[1], A[2]);
    glRotatef(-h, 0.0f, 1.0f, 0.0f);
    glRotatef(-p, -1.0f, 0.0f, 0.0f);
    glBegin(GL_LINES);
    for (int t = 0; t <= 360; t += 30) {
        const float th = t * DEG_TO_RAD_FLOAT;
        glVertex3f(0.0f, 0.0f, L);
        glVertex3f(q * std::cos(th), q * std::sin(th), 1.5f * L);
    }
    glEnd();

    // A canopy of radius 0 covers no pixel: it is not sent, the picture is the same.
    if (q > 0.0f) {
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        OGL_bind_tex(TEX_SLOT_CHUTE, 0);
        glDisable(GL_CULL_FACE);
        for (int k = 0; k < 4; ++k) {
            const float a1 = (k + 1) * 18.0f * DEG_TO_RAD_FLOAT, a2 = (k + 2) * 18.0f * DEG_TO_RAD_FLOAT;
            glBegin(GL_QUAD_STRIP);
            for (int t = 0; t <= 360; t += 30) {
                const float th = t * DEG_TO_RAD_FLOAT, st = std::sin(th), ct = std::cos(th);
                for (const float a : {a1, a2}) {
                    glNormal3f(std::sin(a) * st, std::sin(a) * ct, std::cos(a));
                    glTexCoord2f(a == a1 ? 0.0f : 1.0f, t / 90.0f);
                    glVertex3f(q * std::sin(a) * st, q * std::sin(a) * ct, 1.5f * L + q * std::cos(a));
                }
            }
            glEnd();
            if (k != 0) continue;
            glBegin(GL_TRIANGLE_FAN);
            glNormal3f(0.0f, 0.0f, 1.0f);
            glTexCoord2f(0.5f, 0.5f);
            glVertex3f(0.0f, 0.0f, 1.5f * L + q * std::cos(a1));
            for (int t = 0; t <= 360; t += 30) {
                const float th = t * DEG_TO_RAD_FLOAT, st = std::sin(th), ct = std::cos(th);
                glNormal3f(std::sin(a1) * st, std::sin(a1) * ct, std::cos(a1));
                glTexCoord2f(0.5f + 0.5f * st, 0.5f + 0.5f * ct);
                glVertex3f(q * std::sin(a1) * st, q * std::sin(a1) * ct, 1.5f * L + q * std::cos(a1));
            }
            glEnd();
        }
        glEnable(GL_CULL_FACE);
    }
    glPopMatrix();
}

void refuelling_hose()
{
    if (!pln[0].acf_has_refuel || !pln[1].acf_has_refuel) return;
    float a[3], b[3];
    body_point_to_local(0, pln[0].acf_refuel_X, pln[0].acf_refuel_Y, pln[0].acf_refuel_Z, a);
    body_point_to_local(1, pln[1].acf_refuel_X, pln[1].acf_refuel_Y, pln[1].acf_refuel_Z, b);
    const float d = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    if (!(d < HOSE_DRAWN_M)) return;
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_ON, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_apply_color(ROW_ROPE, 0.25f);
    glBegin(GL_LINES);
    vertex(a), vertex(b);
    glEnd();
    if (d < HOSE_FLOWS_M) SCENE_refuel(sim_operation_misc.frame_rate_period);
}

}  // namespace

void SCENE_refuel(float dt)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // A frame period that is no number would turn the tanks' fuel into no
    // number: nothing flows.
    if (a.acf_num_tanks <= 0 || !std::isfinite(dt)) return;
    static const float scene_refuel_rate = UNIT.lbs_to_kgs * 7370.0f / 60.0f;   // kg/s, worked out once
    float* tank[3] = {&f.m_fuel1, &f.m_fuel2, &f.m_fuel3};
    const int n = std::min(3, static_cast<int>(a.acf_num_tanks));
    for (int i = 0; i < n; ++i) {
        // A negative tank share from the aircraft file would put the clamp's
        // top below its bottom, which std::clamp leaves undefined: the tank
        // then holds nothing.
        const float full = std::max(0.0f, a.acf_m_fuel_tot * a.acf_tank_rat[i]);
        *tank[i] = std::clamp(*tank[i] + scene_refuel_rate / a.acf_num_tanks * dt, 0.0f, full);
    }
}

void SCENE_draw_attachments()
{
    if (sim_cockpit_misc.show_path) flown_path();
    ropes();
    if (slung()) slung_load();
    if (pln[0].acf_chute_area > 0.0f && sim_cockpit_switches.parachute_on) parachute();
    refuelling_hose();
}
