// Drawing the aircraft on the offscreen context: a drawing captured in
// feedback mode and turned back into the drawer's frame, the kit's recording
// seam (binds and lights), and a known state to draw hand-made aircraft in.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/acf_textures.h"
#include "tests/graphics/gl_context.h"
#include "tests/scene/aircraft/model_fixture.h"

namespace draw_test {

using namespace model_test;

struct vtx {   // position in the drawer's frame, colour, texture coordinate
    float x, y, z, r, g, b, a, s, t;
    float dist(const float* p) const { return std::hypot(x - p[0], y - p[1], z - p[2]); }
};
struct prim {
    int kind;   // 3 polygon, 2 line, 1 point
    std::vector<vtx> v;
};
struct capture {
    std::vector<prim> prims;
    int count(int kind) const
    {
        int n = 0;
        for (const prim& p : prims) n += p.kind == kind;
        return n;
    }
    std::vector<vtx> vertices() const
    {
        std::vector<vtx> out;
        for (const prim& q : prims)
            if (q.kind == 3) out.insert(out.end(), q.v.begin(), q.v.end());
        return out;
    }
    // Some polygon has a vertex within 1 mm of each of the points.
    bool has(std::initializer_list<const float*> points) const
    {
        for (const prim& t : prims) {
            size_t found = 0;
            for (const float* c : points)
                for (const vtx& v : t.v) {
                    if (t.kind == 3 && v.dist(c) < 1e-3f) {
                        ++found;
                        break;
                    }
                }
            if (found == points.size()) return true;
        }
        return false;
    }
    bool has(const float* p) const { return has({p}); }
};

// What `draw` sends through an orthographic box of half-width S about the
// current frame's origin, face culling off; the matrices are put back.
inline capture capture_drawing(const std::function<void()>& draw, float S = 50.0f)
{
    const float Y = S * 0.75f;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-S, S, -Y, Y, -S, S);
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    static std::vector<GLfloat> b(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(b.size()), GL_3D_COLOR_TEXTURE, b.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    if (culling) glEnable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    capture out;
    for (GLint i = 0; i < n;) {   // per vertex: window x, y, z, colour, texture s, t, r, q
        const GLint token = static_cast<GLint>(b[i++]);
        const int kind = token == GL_POLYGON_TOKEN ? 3 : (token == GL_POINT_TOKEN ? 1 : 2);
        const GLint count = kind == 3 ? static_cast<GLint>(b[i++]) : (kind == 1 ? 1 : 2);
        prim p{kind, {}};
        for (GLint k = 0; k < count; ++k, i += 11)
            p.v.push_back({-S + b[i] / 512.0f * S, -Y + b[i + 1] / 384.0f * Y, (1.0f - 2.0f * b[i + 2]) * S, b[i + 3],
                           b[i + 4], b[i + 5], b[i + 6], b[i + 7], b[i + 8]});
        out.prims.push_back(p);
    }
    return out;
}

// The kit's seam: every bind asked of OGL_bind_tex and every light asked of
// OGL_draw_light while it lives.
struct recorder : bind_recorder {
    std::vector<std::array<int, 2>> binds;   // slot, unit
    std::vector<light_call> lights;
    recorder() { OGL_install_bind_recorder(this); }
    ~recorder() override { OGL_install_bind_recorder(nullptr); }
    void bound(int slot, int unit) override { binds.push_back({slot, unit}); }
    void light(const light_call& c) override { lights.push_back(c); }
    bool bound_on(int slot, int unit) const
    {
        for (const auto& b : binds)
            if (b[0] == slot && b[1] == unit) return true;
        return false;
    }
};

// The user's aircraft with electrical power or without it.
inline void power_user_plane(bool on)
{
    sim_cockpit_electrical.battery_on = on ? 1 : 0;
    for (int32_t& g : sim_cockpit_electrical.generator_on) g = 0;
    for (int e = 0; e < FLT_ENGINES; ++e) flt[0].ENGN_bat_volt[e] = on ? 24.0f : 0.0f, flt[0].ENGN_N1_[e] = 0.0f;
}

// p turned by `deg` degrees (right hand) about the axis through h along `axis`.
inline std::array<float, 3> turned(const float* p, const float* h, const float* axis, float deg)
{
    const float len = std::hypot(axis[0], axis[1], axis[2]);
    const float u[3] = {axis[0] / len, axis[1] / len, axis[2] / len}, v[3] = {p[0] - h[0], p[1] - h[1], p[2] - h[2]};
    const float c = std::cos(deg * DEG), s = std::sin(deg * DEG), dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
    const float cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    std::array<float, 3> out;
    for (int q = 0; q < 3; ++q) out[q] = h[q] + v[q] * c + cross[q] * s + u[q] * dot * (1.0f - c);
    return out;
}

// A known state: the user's aircraft empty and powered, full daylight, no overlay; plane P empty.
class AircraftDraw : public ::testing::Test {
protected:
    static constexpr int P = 3;
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        CONST_fill_constants();
        OGL_fill_default_colors();
        screen.rendering_res = 0;   // the paint loads at the smallest size, whatever a started program chose
        clear_plane(0);             // nor the aircraft a started program flew
        clear_plane(P);
        sim_graphics_view = sim_graphics_view_block{};
        sim_graphics_view.view_zoom = 1.0f;
        sim_graphics_view.view_is_external = 1;
        sim_graphics_scenery.percent_lights_on = 0.0f;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
        sim_cockpit_switches.jato_on = 0;
        gload_dim_factor = 1.0f;
        power_user_plane(true);
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        glFrontFace(GL_CW);
    }
    acf_struct& a = pln[P];
    flt_struct& f = flt[P];
    const float* vertex(int part, int row, int point) const { return geo(P).part_vertex[part][row][point]; }
    static constexpr float BLADE_M = 1.0f;   // two blade elements of 0.5 m
    // A two-blade propeller of 1 m on engine 0 of plane n, its hub 1 m ahead.
    static void propeller_plane(int n)
    {
        clear_plane(n);
        pln[n].acf_num_engines = pln[n].acf_num_thrustpoints = 1;
        pln[n].acf_num_blades[0] = 2.0f;
        pln[n].acf_prop_dir[0] = 1.0f;
        hand_wing(n, 0, 2, 0.5f * BLADE_M, 0.2f, 1.0f);
        pln[n].acf_Zarm[0] = -1.0f;
        ACF_prepare_model(n);
        flt[n].POINT_pitch_deg[0] = 20.0f;
    }
};

}  // namespace draw_test
