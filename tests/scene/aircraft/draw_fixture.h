// Drawing the aircraft on the offscreen context: what a drawer sends to
// OpenGL captured in feedback mode and turned back into aircraft coordinates,
// what it binds and which lights it asks for (the kit's recording seam), and
// hand-made aircraft to draw.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/simvars.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "scene/aircraft/acf_textures.h"
#include "tests/graphics/gl_context.h"
#include "tests/scene/aircraft/model_fixture.h"

namespace draw_test {

using namespace model_test;

// One vertex as drawn: aircraft coordinates (the capture's model-view is the
// aircraft frame), colour and texture coordinate.
struct vtx {
    float x, y, z, r, g, b, a, s, t;
    float dist(const float* p) const { return std::sqrt((x - p[0]) * (x - p[0]) + (y - p[1]) * (y - p[1]) + (z - p[2]) * (z - p[2])); }
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
    // Whether some vertex of a primitive of `kind` lies within `tol` of p.
    bool has(const float* p, float tol = 1e-3f, int kind = 3) const
    {
        for (const prim& q : prims)
            if (q.kind == kind)
                for (const vtx& v : q.v)
                    if (v.dist(p) < tol) return true;
        return false;
    }
    // Whether some polygon has vertices at the three points (in any order).
    bool has_triangle(const float* p, const float* q, const float* r, float tol = 1e-3f) const
    {
        for (const prim& t : prims) {
            if (t.kind != 3) continue;
            int found = 0;
            for (const float* c : {p, q, r})
                for (const vtx& v : t.v)
                    if (v.dist(c) < tol) {
                        ++found;
                        break;
                    }
            if (found == 3) return true;
        }
        return false;
    }
    std::vector<vtx> vertices(int kind = 3) const
    {
        std::vector<vtx> out;
        for (const prim& q : prims)
            if (q.kind == kind) out.insert(out.end(), q.v.begin(), q.v.end());
        return out;
    }
};

// Everything `draw` sends, seen through an orthographic box of half-width S
// metres about the origin of the current frame, face culling off; the
// matrices are put back afterwards.
inline capture capture_drawing(const std::function<void()>& draw, float S = 50.0f)
{
    const float W = 1024.0f, H = 768.0f, Y = S * H / W;
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
    const auto vertex = [&](GLint& i) {
        vtx v{-S + b[i] / W * 2.0f * S, -Y + b[i + 1] / H * 2.0f * Y, -(2.0f * b[i + 2] - 1.0f) * S,
              b[i + 3], b[i + 4], b[i + 5], b[i + 6], b[i + 7], b[i + 8]};
        i += 11;   // x, y, z, colour, texture (s, t, r, q)
        return v;
    };
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(b[i++]);
        prim p{0, {}};
        if (token == GL_POLYGON_TOKEN) {
            p.kind = 3;
            const GLint count = static_cast<GLint>(b[i++]);
            for (GLint k = 0; k < count; ++k) p.v.push_back(vertex(i));
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.kind = 2;
            p.v.push_back(vertex(i));
            p.v.push_back(vertex(i));
        } else if (token == GL_POINT_TOKEN) {
            p.kind = 1;
            p.v.push_back(vertex(i));
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            ADD_FAILURE() << "feedback token " << token;
            break;
        }
        out.prims.push_back(p);
    }
    return out;
}

// The kit's seam: every bind asked of OGL_bind_tex and every light asked of
// OGL_draw_light while it lives.
struct recorder : bind_recorder {
    struct bind {
        int slot, unit;
    };
    std::vector<bind> binds;
    std::vector<light_call> lights;
    recorder() { OGL_install_bind_recorder(this); }
    ~recorder() override { OGL_install_bind_recorder(nullptr); }
    void bound(int slot, int unit) override { binds.push_back({slot, unit}); }
    void light(const light_call& c) override { lights.push_back(c); }
    bool bound_on(int slot, int unit) const
    {
        for (const bind& b : binds)
            if (b.slot == slot && b.unit == unit) return true;
        return false;
    }
    bool any_on_unit(int unit) const
    {
        for (const bind& b : binds)
            if (b.unit == unit) return true;
        return false;
    }
};

// The user's aircraft with electrical power or without it.
inline void power_user_plane(bool on)
{
    sim_cockpit_electrical.battery_on = on ? 1 : 0;
    for (int32_t& g : sim_cockpit_electrical.generator_on) g = 0;
    for (int e = 0; e < FLT_ENGINES; ++e) {
        flt[0].ENGN_bat_volt[e] = on ? 24.0f : 0.0f;
        flt[0].ENGN_N1_[e] = 0.0f;
    }
}

// Rotates p about the axis through h along `axis` by `deg` degrees (right hand).
inline std::array<float, 3> turned(const float* p, const float* h, const float* axis, float deg)
{
    const float len = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    const float u[3] = {axis[0] / len, axis[1] / len, axis[2] / len};
    const float v[3] = {p[0] - h[0], p[1] - h[1], p[2] - h[2]};
    const float c = std::cos(deg * DEG), s = std::sin(deg * DEG);
    const float dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
    const float cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    std::array<float, 3> out;
    for (int q = 0; q < 3; ++q) out[q] = h[q] + v[q] * c + cross[q] * s + u[q] * dot * (1.0f - c);
    return out;
}

constexpr float BLADE_M = 1.0f;   // two blade elements of 0.5 m

// A two-blade propeller on engine 0 of plane n, its hub 1 m ahead.
inline void propeller_plane(int n)
{
    clear_plane(n);
    acf_struct& a = pln[n];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_num_blades[0] = 2.0f;
    a.acf_prop_dir[0] = 1.0f;
    hand_wing(n, 0, 2, 0.5f * BLADE_M, 0.2f, 1.0f);
    a.acf_Zarm[0] = -1.0f;
    ACF_prepare_model(n);
    flt[n].POINT_pitch_deg[0] = 20.0f;
}

// A test of the drawers on the offscreen context: a known GL state, the
// Earth's constants, lights on at full daylight, no overlay.
class AircraftDraw : public ::testing::Test {
protected:
    static constexpr int P = 3;   // the plane slot the hand-made aircraft go into
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        CONST_fill_constants();
        OGL_fill_default_colors();
        OGL_reset_bound_textures();
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
};

}  // namespace draw_test
