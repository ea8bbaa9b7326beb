// Drawing of wheels, fire lines and projectiles, captured with OpenGL's
// feedback mode on the offscreen context; the video-memory estimate.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/screen.h"
#include "graphics/ogl_state.h"
#include "core/simvars/graphics.h"
#include "core/weapon_kinds.h"
#include "flightmodel/flt.h"
#include "flightmodel/weapons/projectiles.h"
#include "scene/vram_estimate.h"
#include "flightmodel/weapons/weapons.h"
#include "scene/weapons/weapon_draw.h"
#include "scene/aircraft/wheel_draw.h"
#include "graphics/ogl_tex.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/gl_view.h"
#include "tests/support/machine.h"

namespace {

struct vertex {
    float x, y, z, s, t;
};
using polygon = std::vector<vertex>;

// Every polygon and line drawn by `draw`, vertices in window coordinates with
// their texture coordinates.
void capture(const std::function<void()>& draw, std::vector<polygon>& polygons, std::vector<polygon>& lines)
{
    const std::vector<GLfloat> buffer = feedback_of(draw, 1 << 18);
    const GLint n = static_cast<GLint>(buffer.size());
    auto take = [&](GLint& i) {
        const vertex v{buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 7], buffer[i + 8]};
        i += 11;   // x, y, z, colour (4), texture (4)
        return v;
    };
    for (GLint i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int count = static_cast<int>(buffer[i++]);
            polygon p;
            for (int k = 0; k < count; ++k) p.push_back(take(i));
            polygons.push_back(p);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            polygon p{take(i)};
            p.push_back(take(i));
            lines.push_back(p);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
        } else {
            FAIL() << "unexpected feedback token " << token;
        }
    }
}

float area(const polygon& p)
{
    float a = 0.0f;
    for (size_t k = 0; k < p.size(); ++k) {
        const vertex& u = p[k];
        const vertex& v = p[(k + 1) % p.size()];
        a += u.x * v.y - v.x * u.y;
    }
    return std::fabs(a) * 0.5f;
}

// Every vertex of the polygons, rounded and sorted, with or without its texture coordinates.
std::vector<std::array<long, 5>> vertex_set(const std::vector<polygon>& polygons, bool with_texture)
{
    std::vector<std::array<long, 5>> out;
    for (const polygon& p : polygons)
        for (const vertex& v : p)
            out.push_back({std::lround(v.x * 100.0f), std::lround(v.y * 100.0f), std::lround(v.z * 1.0e5f),
                           with_texture ? std::lround(v.s * 1.0e5f) : 0, with_texture ? std::lround(v.t * 1.0e5f) : 0});
    std::sort(out.begin(), out.end());
    return out;
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
        // One texture unit, as the aircraft drawer has it when it draws wheels
        // (an earlier test may have left texturing off).
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        glViewport(0, 0, 1024, 768);
        glDisable(GL_CULL_FACE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // A tyre seen from the side and a little from above, in a 4 m by 3 m box.
    static std::vector<polygon> wheel(float side_w, float tread_w, float side_r, float tread_r, float roll)
    {
        window_ortho(-2.0, 2.0, -1.5, 1.5, -10.0, 10.0);
        glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(35.0f, 0.0f, 1.0f, 0.0f);
        std::vector<polygon> polygons, lines;
        capture([&] { ACF_draw_wheel(0.2f, 0.1f, -0.3f, side_w, tread_w, side_r, tread_r, 15.0f, roll); }, polygons,
                lines);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], 0.0f);   // the matrix is left as it was
        return polygons;
    }
};

}  // namespace

TEST_F(Drawing, WheelRepeatsEverySixtyDegreesAndItsShapeEveryThirty)
{
    const std::vector<polygon> at0 = wheel(0.15f, 0.1f, 0.3f, 0.35f, 0.0f);
    const std::vector<polygon> at60 = wheel(0.15f, 0.1f, 0.3f, 0.35f, 60.0f);
    const std::vector<polygon> at30 = wheel(0.15f, 0.1f, 0.3f, 0.35f, 30.0f);
    ASSERT_FALSE(at0.empty());
    EXPECT_EQ(vertex_set(at60, true), vertex_set(at0, true));
    EXPECT_EQ(vertex_set(at30, false), vertex_set(at0, false));
    EXPECT_NE(vertex_set(at30, true), vertex_set(at0, true));   // the texture has moved
}

// Steering turns the axle about -y: steered 30 degrees, the right face's
// centre (w, 0, 0) goes to w (cos 30, 0, sin 30), aft; seen from above
// (view turned 90 degrees about x, window y = -z) the line from the left
// centre to the right one falls at -tan 30. Rolling turns about -x: rolled 10
// degrees, the top rim mark (0, r, 0) goes to (0, r cos 10, -r sin 10),
// forward; seen from the side (view turned 90 degrees about y, window x = z)
// it leans at -tan 10.
TEST_F(Drawing, WheelSteersAndRollsTheWayItsAnglesSay)
{
    auto drawn = [](float view_x, float view_y, float steer, float roll) {
        window_ortho(-2.0, 2.0, -1.5, 1.5, -10.0, 10.0);
        glRotatef(90.0f, view_x, view_y, 0.0f);
        std::vector<polygon> polygons, lines;
        capture([&] { ACF_draw_wheel(0.0f, 0.0f, 0.0f, 0.15f, 0.1f, 0.3f, 0.35f, steer, roll); }, polygons, lines);
        return polygons;
    };
    auto find = [](const std::vector<polygon>& polygons, float s, float t) {
        vertex best{0, -1e9f, 0, 0, 0};
        for (const polygon& p : polygons)
            for (const vertex& v : p)
                if (std::fabs(v.s - s) < 1e-6f && std::fabs(v.t - t) < 1e-6f && v.y > best.y) best = v;
        return best;
    };
    const std::vector<polygon> above = drawn(1.0f, 0.0f, 30.0f, 0.0f);
    const vertex left = find(above, 0.0f, 0.0f), right = find(above, 0.0f, 0.126953125f);
    ASSERT_GT(right.x - left.x, 1.0f);
    EXPECT_NEAR((right.y - left.y) / (right.x - left.x), -0.5773503f, 1e-3f);

    const std::vector<polygon> side = drawn(0.0f, 1.0f, 0.0f, 10.0f);
    const vertex centre = find(side, 0.0f, 0.0f), top = find(side, 0.0f, 0.029296875f);
    ASSERT_GT(top.y - centre.y, 1.0f);
    EXPECT_NEAR((top.x - centre.x) / (top.y - centre.y), -0.1763270f, 1e-3f);
}

TEST_F(Drawing, WheelWithoutShouldersIsACylinder)
{
    auto has_t = [](const polygon& p, float t) {
        return std::any_of(p.begin(), p.end(), [t](const vertex& v) { return std::fabs(v.t - t) < 1e-6f; });
    };
    for (bool shoulders : {false, true}) {
        const std::vector<polygon> polygons = shoulders ? wheel(0.15f, 0.1f, 0.3f, 0.35f, 10.0f)
                                                        : wheel(0.15f, 0.15f, 0.35f, 0.35f, 10.0f);
        float shoulder_area = 0.0f, tread_area = 0.0f;
        for (const polygon& p : polygons) {
            const bool left = has_t(p, 0.029296875f) && has_t(p, 0.048828125f);
            const bool right = has_t(p, 0.078125f) && has_t(p, 0.09765625f);
            const bool tread = has_t(p, 0.048828125f) && has_t(p, 0.078125f);
            if (left || right) shoulder_area += area(p);
            if (tread) tread_area += area(p);
        }
        EXPECT_GT(tread_area, 100.0f);
        if (shoulders)
            EXPECT_GT(shoulder_area, 100.0f);
        else
            EXPECT_LT(shoulder_area, 0.01f);
    }
}

// The right shoulder's normals lean out of the wheel by 0.85 along the axle:
// lit by a white light straight along +x (no ambient), every vertex of a
// right-shoulder quad shows 0.85.
TEST_F(Drawing, WheelShoulderNormalsLeanAlongTheAxle)
{
    window_ortho(-2.0, 2.0, -1.5, 1.5, -10.0, 10.0);
    const GLfloat along_x[4] = {1, 0, 0, 0}, white[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, along_x);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const std::vector<GLfloat> b =
        feedback_of([] { ACF_draw_wheel(0.0f, 0.0f, 0.0f, 0.15f, 0.1f, 0.3f, 0.35f, 0.0f, 0.0f); }, 1 << 18);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    int lit = 0;
    for (size_t i = 0; i < b.size();) {
        const int token = static_cast<int>(b[i++]);
        if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        }
        ASSERT_EQ(token, GL_POLYGON_TOKEN);
        const int count = static_cast<int>(b[i++]);
        bool inner = false, outer = false;
        for (int k = 0; k < count; ++k) {
            inner |= std::fabs(b[i + 11 * k + 8] - 0.078125f) < 1e-6f;
            outer |= std::fabs(b[i + 11 * k + 8] - 0.09765625f) < 1e-6f;
        }
        for (int k = 0; inner && outer && k < count; ++k, ++lit) EXPECT_NEAR(b[i + 11 * k + 3], 0.85f, 2e-3f);
        i += 11 * count;
    }
    EXPECT_GT(lit, 0);
}

TEST_F(Drawing, FireLineOfAReleasedLineGunAlongItsPlanesHeadingAndProjectileSquares)
{
    std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
    flt[0] = flt_struct{};
    flt[0].psi = 90.0f;   // east
    sim_graphics_settings.draw_aircrafts = 1;
    wpn_slot_record& line = pln[0].acf_wpn_slot[2];
    line.wpn_type = WPN_KIND_LINE_GUN;
    line.wpn_valid = line.wpn_released = 1;
    line.wpn_range = 100.0f;
    line.wpn_pos[0] = -20.0f;
    line.wpn_psi = 0.0f;                 // the weapon's own heading does not count
    wpn_slot_record& held = pln[0].acf_wpn_slot[3];   // valid, not released
    held.wpn_type = WPN_KIND_LINE_GUN_2;
    held.wpn_valid = 1;
    held.wpn_range = 100.0f;
    wpn_slot_record& unloaded = pln[0].acf_wpn_slot[5];   // released, not valid
    unloaded.wpn_type = WPN_KIND_LINE_GUN;
    unloaded.wpn_released = 1;
    unloaded.wpn_range = 100.0f;
    wpn_slot_record& bomb = pln[0].acf_wpn_slot[4];
    bomb.wpn_type = WPN_KIND_BOMB;
    bomb.wpn_valid = bomb.wpn_released = 1;
    bomb.wpn_range = 100.0f;
    projectile_list.rec.resize(3);
    projectile_list.rec[1].proj_kind = WPN_KIND_GUN;
    projectile_list.rec[1].proj_pos[0] = 50.0f, projectile_list.rec[1].proj_pos[1] = 20.0f;
    sim_graphics_view.view_heading = 0.0f;
    sim_graphics_view.view_pitch = 0.0f;

    glMatrixMode(GL_PROJECTION);
    glOrtho(-256.0, 256.0, -192.0, 192.0, -500.0, 500.0);   // two pixels a metre
    glMatrixMode(GL_MODELVIEW);
    std::vector<polygon> polygons, lines;
    capture([] { WPN_draw(); }, polygons, lines);

    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0][0].x, 512.0f - 40.0f, 0.01f);
    EXPECT_NEAR(lines[0][1].x, 512.0f + 160.0f, 0.01f);
    EXPECT_NEAR(lines[0][0].y, 384.0f, 0.01f);
    EXPECT_NEAR(lines[0][1].y, 384.0f, 0.01f);

    float x1 = 1e9f, x2 = -1e9f, y1 = 1e9f, y2 = -1e9f, s2 = 0.0f, t2 = 0.0f, total = 0.0f;
    for (const polygon& p : polygons) {
        total += area(p);
        for (const vertex& v : p) {
            x1 = std::min(x1, v.x), x2 = std::max(x2, v.x), y1 = std::min(y1, v.y), y2 = std::max(y2, v.y);
            s2 = std::max(s2, v.s), t2 = std::max(t2, v.t);
        }
    }
    EXPECT_NEAR(total, 36.0f, 0.01f);   // one square of 3 m, 6 pixels a side
    EXPECT_NEAR(x1, 512.0f + 97.0f, 0.01f);
    EXPECT_NEAR(x2, 512.0f + 103.0f, 0.01f);
    EXPECT_NEAR(y1, 384.0f + 37.0f, 0.01f);
    EXPECT_NEAR(y2, 384.0f + 43.0f, 0.01f);
    EXPECT_FLOAT_EQ(s2, 0.25f);
    EXPECT_FLOAT_EQ(t2, 0.5f);
    EXPECT_EQ(bound_texture[0], 206);
}

TEST(VideoMemory, WindowBytesAndTheTexturesThatHoldBytes)
{
    const screen_record saved_screen = screen;
    std::vector<int32_t> saved(std::begin(texture_memory), std::end(texture_memory));
    std::fill(std::begin(texture_memory), std::end(texture_memory), 0);
    screen.window_width = 1024, screen.window_height = 768, screen.colour_depth = 32;
    EXPECT_FLOAT_EQ(UTIL_vram_estimate(), 3.145728f);
    texture_memory[5] = -100;
    EXPECT_FLOAT_EQ(UTIL_vram_estimate(), 3.145728f);
    texture_memory[7] = 1000000;
    texture_memory[8] = 24;
    EXPECT_FLOAT_EQ(UTIL_vram_estimate(), 4.145752f);
    screen.window_width = screen.window_height = 9999;   // no overflow at the largest window
    EXPECT_FLOAT_EQ(UTIL_vram_estimate(), 400.920028f);
    std::copy(saved.begin(), saved.end(), std::begin(texture_memory));
    screen = saved_screen;
}
