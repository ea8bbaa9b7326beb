// Weapons and the aircraft preview, read back as pixels.
#include <cstring>

#include "core/screen.h"
#include "flightmodel/forces/control_incidence.h"
#include "tests/scene/aircraft/draw_fixture.h"

using namespace draw_test;

namespace {

using pixels = std::vector<unsigned char>;

pixels read_window()
{
    pixels px(1024 * 768 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}
int lit(const pixels& px)
{
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4) n += px[i] > 128;
    return n;
}

class Weapons : public AircraftDraw {
protected:
    static constexpr int N = 1;   // the plane carrying the weapons
    // Slot w of plane N: a body of revolution of the radius, 3 m long.
    static wpn_slot_record& weapon(int w, float radius)
    {
        acf_struct& c = pln[N];
        c.acf_wpn_slot[w].wpn_type = 4;
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 18; ++k) {
                const int at = (w * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + k;
                c.acf_body_X[at] = radius * std::sin(k * 20.0f * DEG);
                c.acf_body_Y[at] = radius * std::cos(k * 20.0f * DEG);
                c.acf_body_Z[at] = -1.5f + 3.0f * static_cast<float>(r) / 11.0f;
            }
        ACF_prepare_model(N);
        return c.acf_wpn_slot[w];
    }
    // White on black, flat: what a drawing covers.
    static void flat()
    {
        OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        glViewport(0, 0, 1024, 768);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

}  // namespace

// Drawn in plane n's frame with in_aircraft_frame 1, a weapon covers the
// pixels it covers drawn in the scene's frame with 0; its fins are left out
// when they have no span or no chord.
TEST_F(Weapons, AircraftFrameAndFins)
{
    clear_plane(N);
    wpn_slot_record& w = weapon(2, 0.3f);
    w.wpn_pos[0] = 5.0f, w.wpn_pos[1] = 2.0f, w.wpn_pos[2] = -3.0f;
    w.wpn_theta = 10.0f, w.wpn_psi = 30.0f, w.wpn_phi = 5.0f;
    flt_struct& p = flt[N];
    p.local_x = 3.0f, p.local_y = 1.0f, p.local_z = -2.0f, p.psi = 40.0f, p.theta = 10.0f, p.phi = -20.0f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.4, 0.4, -0.3, 0.3, 1.0, 100.0);
    const auto camera = [] {
        glTranslatef(0.0f, 0.0f, -12.0f);
        glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-5.0f, -2.0f, 3.0f);   // looking at the weapon
    };
    flat();
    camera();
    ACF_draw_weapon(N, 2, 0);
    const pixels scene_frame = read_window();
    flat();
    camera();
    glTranslatef(p.local_x, p.local_y, p.local_z);
    glRotatef(-p.psi, 0.0f, 1.0f, 0.0f);
    glRotatef(-p.theta, -1.0f, 0.0f, 0.0f);
    glRotatef(-p.phi, 0.0f, 0.0f, 1.0f);
    ACF_draw_weapon(N, 2, 1);
    const pixels aircraft_frame = read_window();
    int differ = 0;
    for (size_t i = 0; i < scene_frame.size(); i += 4) differ += (scene_frame[i] > 128) != (aircraft_frame[i] > 128);
    EXPECT_GT(lit(scene_frame), 2000);
    EXPECT_LT(differ, 20);
    flat();
    camera();
    for (const auto& [n, slot] : {std::pair{-1, 2}, std::pair{10, 2}, std::pair{N, -1}, std::pair{N, 24}}) ACF_draw_weapon(n, slot, 0);
    EXPECT_EQ(lit(read_window()), 0) << "no such plane or slot";

    // A weapon of no width with one fin pair of span 0.02, seen from above.
    wpn_slot_record& finned = weapon(3, 0.0f);
    finned.wpn_fin_span[0] = 0.02f;
    finned.wpn_fin_tip[0] = 0.01f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.05, 0.05, -0.0375, 0.0375, -1.0, 1.0);
    glDisable(GL_CULL_FACE);
    for (const auto& [root, drawn] : {std::pair{0.01f, false}, std::pair{0.02f, true}}) {
        finned.wpn_fin_root[0] = root;
        flat();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        ACF_draw_weapon(N, 3, 0);
        EXPECT_EQ(lit(read_window()) > 1000, drawn) << root;
    }
    glEnable(GL_CULL_FACE);
}

// Fin pair 1: span 1 m, root chord 0.8, tip 0.4, quarter-chord point 1 m
// back, swept 30 degrees; the first fin level, the second rolled 90 degrees.
// Root edges at z 0.8 and 1.6, tip edges at 1.4 and 1.8 (0.5 m of sweep), the
// tip 0.866 m out; texture column 0.5957..0.6718 (pair 0's shifted by 42/512),
// the upper face on t 0..0.5 and the lower on 0.5..1.
TEST_F(Weapons, FinPairsStandOnTheirChordsSweepAndRoll)
{
    clear_plane(N);
    wpn_slot_record& w = weapon(4, 0.0f);
    w.wpn_pos[0] = w.wpn_pos[1] = w.wpn_pos[2] = 0.0f;
    w.wpn_theta = w.wpn_psi = w.wpn_phi = 0.0f;
    w.wpn_fin_span[1] = 1.0f, w.wpn_fin_root[1] = 0.8f, w.wpn_fin_tip[1] = 0.4f;
    w.wpn_fin_arm[1] = 1.0f, w.wpn_fin_dihedral[1] = 30.0f;
    w.wpn_fin_roll[2] = 0.0f, w.wpn_fin_roll[3] = 90.0f;
    const capture c = capture_drawing([] { ACF_draw_weapon(N, 4, 0); }, 4.0f);
    const float X = 0.8660254f, sa = 0.6718f, sb = 0.5957f;
    struct corner { float x, y, z, s, t; };
    const auto drawn = [&c](const corner& k) {
        for (const vtx& v : c.vertices())
            if (std::fabs(v.x - k.x) < 2e-3f && std::fabs(v.y - k.y) < 2e-3f && std::fabs(v.z - k.z) < 2e-3f &&
                std::fabs(v.s - k.s) < 1e-3f && std::fabs(v.t - k.t) < 1e-3f)
                return true;
        return false;
    };
    const corner corners[] = {
        // first fin, to the left, upper face then lower
        {-X, 0, 1.8f, sa, 0.0f}, {-X, 0, 1.4f, sb, 0.0f}, {0, 0, 0.8f, sb, 0.5f}, {0, 0, 1.6f, sa, 0.5f},
        {-X, 0, 1.4f, sb, 1.0f}, {-X, 0, 1.8f, sa, 1.0f},
        // second fin, rolled from the right side up
        {0, X, 1.4f, sb, 1.0f}, {0, X, 1.8f, sa, 1.0f}, {0, X, 1.8f, sa, 0.0f}, {0, X, 1.4f, sb, 0.0f},
    };
    for (const corner& k : corners) EXPECT_TRUE(drawn(k)) << k.x << " " << k.y << " " << k.z << " " << k.s << " " << k.t;
}

// A weapon 3 m long (nose at z -1.5) placed at (1, 2, 3): a heading of 30
// degrees swings the nose 0.75 m east and leaves it 1.299 m north of the
// centre; a pitch of 10 degrees lifts it by 1.5 sin 10 = 0.26 m. Its body
// faces outward: the half of a body lying across the view that is toward the
// viewer turns clockwise on the screen, the program's front face.
TEST_F(Weapons, TheBodyTakesItsHeadingAndPitchAndFacesOutward)
{
    clear_plane(N);
    wpn_slot_record& w = weapon(5, 0.0f);
    w.wpn_pos[0] = 1.0f, w.wpn_pos[1] = 2.0f, w.wpn_pos[2] = 3.0f;
    const auto has_point = [](const capture& c, float x, float y, float z) {
        for (const vtx& v : c.vertices())
            if (std::fabs(v.x - x) < 2e-3f && std::fabs(v.y - y) < 2e-3f && std::fabs(v.z - z) < 2e-3f) return true;
        return false;
    };
    w.wpn_psi = 30.0f, w.wpn_theta = 0.0f;
    capture c = capture_drawing([] { ACF_draw_weapon(N, 5, 0); }, 8.0f);
    EXPECT_TRUE(has_point(c, 1.75f, 2.0f, 3.0f - 1.2990381f));   // nose
    EXPECT_TRUE(has_point(c, 0.25f, 2.0f, 3.0f + 1.2990381f));   // tail
    w.wpn_psi = 0.0f, w.wpn_theta = 10.0f;
    c = capture_drawing([] { ACF_draw_weapon(N, 5, 0); }, 8.0f);
    EXPECT_TRUE(has_point(c, 1.0f, 2.0f + 0.2604723f, 3.0f - 1.4772116f));   // nose up
    EXPECT_TRUE(has_point(c, 1.0f, 2.0f - 0.2604723f, 3.0f + 1.4772116f));

    weapon(5, 0.3f);
    w.wpn_pos[0] = w.wpn_pos[1] = w.wpn_pos[2] = 0.0f;
    w.wpn_psi = 90.0f, w.wpn_theta = 0.0f;   // lying along x, across the view
    c = capture_drawing([] { ACF_draw_weapon(N, 5, 0); }, 8.0f);
    // The near half's triangles turn clockwise on the screen (the front face).
    int clockwise = 0, counter = 0;
    for (const prim& q : c.prims) {
        if (q.kind != 3 || q.v.size() < 3) continue;
        float area = 0.0f;
        bool near = true;
        for (size_t i = 0; i < q.v.size(); ++i) {
            const vtx &p0 = q.v[i], &p1 = q.v[(i + 1) % q.v.size()];
            area += p0.x * p1.y - p1.x * p0.y;
            near = near && p0.z > 0.01f;
        }
        if (!near || std::fabs(area) < 1e-6f) continue;
        (area < 0.0f ? clockwise : counter)++;
    }
    EXPECT_GT(clockwise, 50);
    EXPECT_EQ(counter, 0);
}

// The airliner in flight with its gear up: the preview draws it gear-down
// inside its rectangle only, and the airliner flies on with its gear and
// cyclic as they were.
TEST_F(Weapons, PreviewStaysInItsRectangleAndLeavesThePlaneAsItWas)
{
    fleet_folder folder;
    ASSERT_TRUE(folder.load(0, AIRLINER));
    acf_struct& c = pln[0];
    flt_struct& p = flt[0];
    ACF_control_incidence(0);
    const float wheel[3] = {c.acf_gear_xnodef[68], c.acf_gear_ynodef[68], c.acf_gear_znodef[68]};
    for (int g = 67; g <= 69; ++g) c.acf_gear_deploy[g] = 0.0f, c.acf_gear_def[g] = 0.3f;
    ACF_control_incidence(0);
    p.vertcant[0] = p.sidecant[1] = 7.0f;
    p.psi = 90.0f, p.theta = p.phi = 0.0f, p.local_x = 3.0f, p.local_y = -2.0f, p.local_z = 500.0f;
    const acf_struct before = c;
    const flt_struct flying = p;

    screen.ui_scale = 1.0f, screen.ui_side_margin = screen.ui_top_margin = screen.ui_zoom = 0.0f;
    screen.screen_area_left = screen.screen_area_bottom = 0.0f;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    glClearColor(1, 0, 1, 1);
    glClearDepth(0.5);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    const float x1 = 672, y1 = 171, x2 = 952, y2 = 423;
    ACF_draw_preview(x1, y1, x2, y2);
    const pixels px = read_window();
    // The depth is cleared before the scissor is set: outside the rectangle too.
    GLfloat depth_outside = 0.0f;
    glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth_outside);
    EXPECT_EQ(depth_outside, 1.0f);
    const auto background = [&](int x, int y) {
        const unsigned char* q = &px[(size_t(y) * 1024 + x) * 4];
        return q[0] == 255 && q[1] == 0 && q[2] == 255;
    };
    int inside = 0, outside = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) (x >= x1 && x < x2 && y >= y1 && y < y2 ? inside : outside) += !background(x, y);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 3000);
    // The main wheel where the gear hangs down: side on, the aircraft's z
    // runs across the rectangle and its y up, about its centre of gravity.
    const float h = std::hypot(c.acf_size_x, c.acf_size_z), aspect = (y2 - y1) / (x2 - x1);
    const float ex = p.local_x - (wheel[2] - c.acf_cgZ), ey = p.local_y + (wheel[1] - c.acf_cgY);
    EXPECT_FALSE(background(int(x1 + (ex + h) / (2 * h) * (x2 - x1)), int(y1 + (ey + h * aspect) / (2 * h * aspect) * (y2 - y1))));

    EXPECT_EQ(std::memcmp(&p, &flying, sizeof p), 0) << "the flight-model state as it was";
    for (int g = 67; g <= 69; ++g)
        EXPECT_TRUE(c.acf_gear_deploy[g] == before.acf_gear_deploy[g] && c.acf_gear_def[g] == before.acf_gear_def[g] &&
                    c.acf_gear_ynodef[g] == before.acf_gear_ynodef[g] && c.acf_gear_lonN[g] == before.acf_gear_lonN[g]);
    GLint box[4];
    glGetIntegerv(GL_VIEWPORT, box);
    EXPECT_TRUE(box[0] == 0 && box[1] == 0 && box[2] == 1024 && box[3] == 768 && !glIsEnabled(GL_SCISSOR_TEST));

    // Fixed gear keeps its deployment: gear that is up stays up in the picture.
    c.acf_gear_retract = 0;
    glClear(GL_COLOR_BUFFER_BIT);
    ACF_draw_preview(x1, y1, x2, y2);
    const pixels up = read_window();
    const unsigned char* q = &up[(size_t(y1 + (ey + h * aspect) / (2 * h * aspect) * (y2 - y1)) * 1024 +
                                  size_t(x1 + (ex + h) / (2 * h) * (x2 - x1))) * 4];
    EXPECT_TRUE(q[0] == 255 && q[1] == 0 && q[2] == 255);
    c.acf_gear_retract = before.acf_gear_retract;

    sim_graphics_view.view_zoom = -3.0f;   // no zoom at all: as zoom 1
    glClear(GL_COLOR_BUFFER_BIT);
    ACF_draw_preview(x1, y1, x2, y2);
    EXPECT_TRUE(read_window() == px);
    clear_plane(0);
}
