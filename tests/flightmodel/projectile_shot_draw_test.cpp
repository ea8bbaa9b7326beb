// A gun's shot (the aim turned into local axes, the muzzle speed added to the
// gun's own velocity), and the fire line and projectile square drawn for a
// pitched plane and a pitched view.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/weapon_kinds.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons.h"
#include "scene/weapons/weapon_draw.h"
#include "flightmodel/weapons/weapons_internal.h"
#include "graphics/ogl_state.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/flight_fixture.h"
#include "tests/support/gl_view.h"
#include "tests/support/machine.h"

namespace {

class ProjectileShot : public FlightState {};

}  // namespace

// The plane level heading north, the gun moving north at 100 m/s with a muzzle
// speed of 800 m/s: aimed ahead the shot flies at 900 m/s north; aimed 90
// degrees right it flies east at 800 with the gun's 100 north; aimed 30
// degrees up, 800 cos 30 north plus 100, 800 sin 30 up.
TEST_F(ProjectileShot, AimAndMuzzleSpeedOnTheGunsVelocity)
{
    struct row {
        float az, el;
        float vx, vy, vz;
    };
    const row rows[] = {
        {0.0f, 0.0f, 0.0f, 0.0f, -900.0f},
        {90.0f, 0.0f, 800.0f, 0.0f, -100.0f},
        {0.0f, 30.0f, 0.0f, 400.0f, -792.820f},
    };
    for (const row& r : rows) {
        RESET_group(reset_group::flight);
        flt_struct& f = flt[0];
        f.cos_theta = f.track_cos = f.cos_phi = 1.0f;
        frame_clock = 10.0f;
        wpn_slot_record& w = pln[0].acf_wpn_slot[0];
        w = wpn_slot_record{};
        w.wpn_type = WPN_KIND_GUN;
        w.wpn_released = 1;
        w.wpn_fire_rate = 10.0f;
        w.wpn_ammo = 5.0f;
        w.wpn_mass = 0.1f;
        w.wpn_muzzle_speed = 800.0f;
        w.wpn_aim_az = r.az, w.wpn_aim_el = r.el;
        w.wpn_vel[2] = -100.0f;
        WPN_shoot_step();
        ASSERT_EQ(projectile_list.rec.size(), 1u);
        const projectile_record& p = projectile_list.rec[0];
        EXPECT_NEAR(p.proj_vel[0], r.vx, 1e-2f) << r.az << " " << r.el;
        EXPECT_NEAR(p.proj_vel[1], r.vy, 1e-2f) << r.az << " " << r.el;
        EXPECT_NEAR(p.proj_vel[2], r.vz, 1e-2f) << r.az << " " << r.el;
    }
}

// Two pixels a metre, depth -500..500 m to window depth 0..1 (nearer smaller).
// The fire line of a plane pitched 30 degrees up rises 100 sin 30 = 50 m over
// its 100 m. With the view pitched 30 degrees up the projectile's square leans
// its top towards the viewer: 3 m cos 30 = 2.598 m tall, its top edge 0.75 m
// nearer and its bottom edge 0.75 m farther than its centre.
TEST(ProjectileDraw, PitchedFireLineAndSquareFacingAPitchedView)
{
    MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
    std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
    flt[0] = flt_struct{};
    flt[0].theta = 30.0f;
    sim_graphics_settings.draw_aircrafts = 1;
    wpn_slot_record& line = pln[0].acf_wpn_slot[2];
    line.wpn_type = WPN_KIND_LINE_GUN;
    line.wpn_valid = line.wpn_released = 1;
    line.wpn_range = 100.0f;
    projectile_list.rec.resize(1);
    projectile_list.rec[0].proj_kind = WPN_KIND_GUN;
    sim_graphics_view.view_heading = 0.0f;
    sim_graphics_view.view_pitch = 30.0f;

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    glViewport(0, 0, 1024, 768);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-256.0, 256.0, -192.0, 192.0, -500.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<GLfloat> b = feedback_of([] { WPN_draw(); }, 1 << 16, GL_3D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);

    std::vector<float> line_y, square_y, square_depth;
    for (size_t i = 0; i < b.size();) {
        const int token = static_cast<int>(b[i++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            line_y.push_back(b[i + 1]), line_y.push_back(b[i + 4]);
            i += 6;
        } else if (token == GL_POLYGON_TOKEN) {
            const int n = static_cast<int>(b[i++]);
            for (int k = 0; k < n; ++k, i += 3) square_y.push_back(b[i + 1]), square_depth.push_back(b[i + 2]);
        } else {
            ++i;   // pass-through marker
        }
    }
    // The line runs from the gun at the centre (y 384) to its far end.
    ASSERT_EQ(line_y.size(), 2u);
    EXPECT_NEAR(std::fmin(line_y[0], line_y[1]), 384.0f, 0.01f) << line_y[0] << " " << line_y[1];
    EXPECT_NEAR(std::fmax(line_y[0], line_y[1]), 384.0f + 100.0f, 0.01f) << line_y[0] << " " << line_y[1];
    ASSERT_FALSE(square_y.empty());
    float top = -1e9f, bottom = 1e9f, top_depth = 0.0f, bottom_depth = 0.0f;
    for (size_t k = 0; k < square_y.size(); ++k) {
        if (square_y[k] > top) top = square_y[k], top_depth = square_depth[k];
        if (square_y[k] < bottom) bottom = square_y[k], bottom_depth = square_depth[k];
    }
    EXPECT_NEAR(top - bottom, 2.0f * 2.598076f, 0.01f);
    EXPECT_NEAR(top_depth, 0.5f - 0.75f / 1000.0f, 1e-5f);
    EXPECT_NEAR(bottom_depth, 0.5f + 0.75f / 1000.0f, 1e-5f);
}
