// The lifting surfaces as drawn: the moving controls of hand-made wings in
// feedback mode, every part of every fleet aircraft in a pose, and the
// trainer's wings as the program culls them.
#include <functional>
#include <limits>
#include <string>
#include <tuple>

#include "tests/scene/aircraft/draw_fixture.h"
#include "tests/support/gl_view.h"

using namespace draw_test;

namespace {

class Surfaces : public AircraftDraw {
protected:
    // One element of 2 m, chord 2 m, on `side`, carrying the control `flag`
    // (its chord ratios set beforehand).
    void one_element(int part, float side, int32_t* flag)
    {
        hand_wing(P, part, 1, 2.0f, 2.0f, side);
        flag[ACF_el(part, 0)] = 1;
        ACF_prepare_model(P);
    }
    capture draw(int part) { return capture_drawing([&] { ACF_draw_part(P, part); }, 4.0f); }
    // Outline point k of row r turned about the element's hinge line.
    std::array<float, 3> about_hinge(int part, int r, int k, float deg)
    {
        return turned(vertex(part, r, k), geo(P).element_hinge[part][0][0], geo(P).element_hinge_axis[part][0], deg);
    }
};

}  // namespace

TEST_F(Surfaces, AileronFlapSpoilerAndSpeedbrakePanels)
{
    // A right aileron at 10 degrees: the main strip has every stored point
    // but the trailing edge (6 and 7), which turns with the moving strip.
    a.acf_ail1_el_end[9] = 1.0f, a.acf_ail1_crat = a.acf_ail1_crat2 = 0.3f;
    one_element(9, 1.0f, a.acf_ail1);
    f.ail1_def[9] = 10.0f;
    capture c = draw(9);
    for (int row : {0, 1})
        for (int k = 0; k < 14; ++k) {
            const bool trailing = k == 6 || k == 7;
            EXPECT_EQ(c.has(vertex(9, row, k)), !trailing) << row << " " << k;
            if (trailing) {
                EXPECT_TRUE(c.has(about_hinge(9, row, k, -10.0f).data())) << row << " " << k;
            }
        }

    // A left flap at 20 degrees lost to failure 28: the cut-out with both
    // side triangles in place and no flap, turned or not.
    clear_plane(P);
    a.acf_flap_el_end[8] = 1.0f, a.acf_flap_crat = a.acf_flap_crat2 = 0.25f;
    one_element(8, -1.0f, a.acf_flap);
    f.flap_def[8] = 20.0f;
    f.failures[28] = FAILURE_STATE_FAILED;
    c = draw(8);
    for (int row : {0, 1}) {
        EXPECT_TRUE(c.has({vertex(8, row, 5), vertex(8, row, 7), vertex(8, row, 8)})) << row;
        EXPECT_FALSE(c.has(about_hinge(8, row, 6, -20.0f).data())) << row;
    }
    EXPECT_FALSE(c.has({vertex(8, 1, 5), vertex(8, 0, 5), vertex(8, 1, 6)}));
    f.failures[28] = 0;
    EXPECT_TRUE(draw(8).has(about_hinge(8, 0, 6, -20.0f).data()));

    // A spoiler of chord ratio 0.15 at 0 degrees: a flat panel from half-way
    // between points 4 and 5 to point 5, which the plain wing leaves out.
    clear_plane(P);
    a.acf_splr_el_end[9] = 1.0f, a.acf_splr_crat = a.acf_splr_crat2 = 0.15f;
    one_element(9, 1.0f, a.acf_splr);
    c = draw(9);
    for (int row : {0, 1}) {
        const float *p4 = vertex(9, row, 4), *p5 = vertex(9, row, 5);
        const float start[3] = {0.5f * (p4[0] + p5[0]), 0.5f * (p4[1] + p5[1]), 0.5f * (p4[2] + p5[2])};
        EXPECT_TRUE(c.has(start) && c.has(p5)) << row;
    }

    // Part 18's speedbrakes fully out: the upper panel turns about point 5,
    // the lower about point 8, in opposite senses.
    clear_plane(P);
    a.acf_sbrk_up = 60.0f;
    one_element(18, 1.0f, a.acf_sbrk);
    f.sbrkrat = 1.0f;
    for (float span : {a.acf_semilen_SEG[18], 0.0f}) {   // a part of no span keeps the plain hinge axis
        a.acf_semilen_SEG[18] = span;
        c = draw(18);
        for (int row : {0, 1})
            for (const auto& [hinge, free, deg] : {std::tuple{5, 6, -60.0f}, std::tuple{8, 7, 60.0f}}) {
                const float *h = vertex(18, 0, hinge), *h_out = vertex(18, 1, hinge);
                const float along[3] = {h_out[0] - h[0], h_out[1] - h[1], h_out[2] - h[2]};
                EXPECT_TRUE(c.has(turned(vertex(18, row, free), h, along, deg).data())) << row << " " << free << " " << span;
                EXPECT_FALSE(c.has(turned(vertex(18, row, free), h, along, -deg).data())) << row << " " << free;
            }
    }

    // Both ailerons on one element: the second's deflection wins.
    clear_plane(P);
    a.acf_ail1_el_end[9] = a.acf_ail2_el_end[9] = 1.0f;
    a.acf_ail1_crat = a.acf_ail1_crat2 = a.acf_ail2_crat = a.acf_ail2_crat2 = 0.3f;
    a.acf_ail2[ACF_el(9, 0)] = 1;
    one_element(9, 1.0f, a.acf_ail1);
    f.ail1_def[9] = 10.0f, f.ail2_def[9] = 20.0f;
    c = draw(9);
    EXPECT_TRUE(c.has(about_hinge(9, 1, 6, -20.0f).data()));
    EXPECT_FALSE(c.has(about_hinge(9, 1, 6, -10.0f).data()));

    // A dihedral change of 10 degrees lifts either wing: about the z axis
    // through the part's arm, by the side's sign.
    for (auto [part, side] : {std::pair{8, -1.0f}, std::pair{9, 1.0f}}) {
        clear_plane(P);
        hand_wing(P, part, 1, 2.0f, 2.0f, side);
        ACF_prepare_model(P);
        f.foil_dih[part] = 10.0f;
        const float arm[3] = {a.acf_Xarm[part], a.acf_Yarm[part], a.acf_Zarm[part]}, z_axis[3] = {0.0f, 0.0f, 1.0f};
        c = draw(part);
        EXPECT_TRUE(c.has(turned(vertex(part, 1, 3), arm, z_axis, 10.0f * side).data())) << part;
        EXPECT_FALSE(c.has(turned(vertex(part, 1, 3), arm, z_axis, -10.0f * side).data())) << part;
        // A sweep change of 10 degrees takes either tip aft: about the y axis, against the side's sign.
        f.foil_dih[part] = 0.0f, f.foil_swe[part] = 10.0f;
        const float y_axis[3] = {0.0f, 1.0f, 0.0f};
        c = draw(part);
        EXPECT_TRUE(c.has(turned(vertex(part, 1, 3), arm, y_axis, -10.0f * side).data())) << part;
        EXPECT_FALSE(c.has(turned(vertex(part, 1, 3), arm, y_axis, 10.0f * side).data())) << part;
    }

    // No elements: nothing at all, wing or plain surface.
    a.acf_els[18] = 0;
    hand_wing(P, 30, 0, 1.0f, 1.0f, -1.0f);
    EXPECT_TRUE(draw(18).prims.empty());
    EXPECT_TRUE(draw(30).prims.empty());
}

TEST_F(Surfaces, SlatsElementIncidenceAndTheFixedSkinFlap)
{
    // One right element of 2 m with a slat, a flap of type 5 and an incidence
    // change; each row turns one of them on and names a point and where it
    // must (and must not) be drawn.
    const float origin[3] = {0.0f, 0.0f, 0.0f}, span_axis[3] = {1.0f, 0.0f, 0.0f};
    struct row {
        const char* what;
        float slatrat, inc, flap_type, flap_def;
        int point;
        float deg, wrong_deg;   // turn of the point, about the leading edge (slat) or the span axis
    } rows[] = {
        {"slat out: points 11..12 turn 120 degrees about point 0", 1.0f, 0.0f, 0.0f, 0.0f, 12, 120.0f, 90.0f},
        {"half out: 60 degrees", 0.5f, 0.0f, 0.0f, 0.0f, 12, 60.0f, -60.0f},
        {"incidence change turns the element about the span axis", 0.0f, 5.0f, 0.0f, 0.0f, 3, 5.0f, -5.0f},
        {"type 5 flap keeps its upper skin in place", 0.0f, 0.0f, 5.0f, 30.0f, 6, 0.0f, 999.0f},
        {"type 1 flap leaves it out", 0.0f, 0.0f, 1.0f, 30.0f, 6, 999.0f, 0.0f},
    };
    for (const row& r : rows) {
        clear_plane(P);
        a.acf_flap_el_end[9] = 1.0f, a.acf_flap_crat = a.acf_flap_crat2 = 0.25f;
        a.acf_slat[ACF_el(9, 0)] = 1;
        one_element(9, 1.0f, a.acf_flap);
        a.acf_flap_type = r.flap_type;
        f.flap_def[9] = r.flap_def;
        f.slatrat = r.slatrat;
        f.elem_inc[ACF_el(9, 0)] = r.inc;
        const capture c = draw(9);
        for (int rw : {0, 1}) {
            const bool slat = r.slatrat > 0.0f;
            const float* pivot = slat ? vertex(9, rw, 0) : origin;
            const float lead[3] = {vertex(9, 1, 0)[0] - vertex(9, 0, 0)[0], vertex(9, 1, 0)[1] - vertex(9, 0, 0)[1],
                                   vertex(9, 1, 0)[2] - vertex(9, 0, 0)[2]};
            const float* axis = slat ? lead : span_axis;
            if (r.deg != 999.0f) {
                EXPECT_TRUE(c.has(turned(vertex(9, rw, r.point), pivot, axis, r.deg).data())) << r.what << rw;
            }
            if (r.wrong_deg != 999.0f) {
                EXPECT_FALSE(c.has(turned(vertex(9, rw, r.point), pivot, axis, r.wrong_deg).data())) << r.what << rw;
            }
        }
    }
}

// Every part of every fleet aircraft, and the whole aircraft in both modes,
// its controls and engines in a pose, also with angles that are no numbers:
// the matrix, its stack and the winding come back as they were, and every
// vertex is a number. No such part or plane draws nothing.
TEST_F(Surfaces, EveryFleetPartLeavesTheMatrixAndWindingAsItFoundThem)
{
    fleet_folder folder;
    std::vector<std::string> fleet(std::begin(FLEET), std::end(FLEET));
    fleet.push_back("Aircraft/Military/Orvell Striker/Orvell Striker.acf");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto check = [](const std::function<void()>& drawing, GLenum winding, const std::string& what) {
        GLint depth_before = 0;
        const capture c = capture_drawing([&] {
            glTranslatef(1.0f, 2.0f, 3.0f);
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
            drawing();
            GLfloat m[16];
            GLint depth = 0, face = 0;
            glGetFloatv(GL_MODELVIEW_MATRIX, m);
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            glGetIntegerv(GL_FRONT_FACE, &face);
            EXPECT_TRUE(depth == depth_before && face == GLint(winding) && m[12] == 1.0f && m[13] == 2.0f &&
                        m[14] == 3.0f && m[0] == 1.0f && m[5] == 1.0f)
                << what;
        }, 200.0f);
        for (const vtx& v : c.vertices()) EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << what;
        return c;
    };
    for (const std::string& plane : fleet) {
        ASSERT_TRUE(folder.load(P, plane)) << plane;
        for (int round = 0; round < 2; ++round) {
            for (int p = 8; p <= 27; ++p) {
                f.ail1_def[p] = 12.0f, f.ail2_def[p] = -6.0f, f.elev_cont_def[p] = -15.0f, f.rudd_cont_def[p] = 20.0f;
                f.flap_def[p] = 30.0f, f.splr_def[p] = 40.0f, f.foil_swe[p] = 5.0f, f.foil_dih[p] = -3.0f;
            }
            f.sbrkrat = f.slatrat = 1.0f;
            f.nosewheel_steer = 15.0f;
            for (int e = 0; e < 8; ++e) f.POINT_tacrad[e] = 5.0f, f.tire_prop_rot[e] = 33.0f, f.vertcant[e] = 4.0f;
            if (round == 1) {   // what a peer or a plug-in may send; the propellers as discs
                f.ail1_def[8] = f.flap_def[9] = f.foil_swe[16] = f.elem_inc[ACF_el(8, 0)] = nan;
                f.tire_prop_rot[0] = f.vertcant[0] = f.POINT_cone_rad[0] = nan;
                f.nosewheel_steer = f.tire_prop_rot[67] = std::numeric_limits<float>::infinity();
                for (int e = 1; e < 8; ++e) f.POINT_tacrad[e] = 100.0f;
            }
            for (GLenum winding : {GL_CW, GL_CCW}) {
                glFrontFace(winding);
                for (int p = -1; p <= ACF_NUM_PARTS; ++p) {
                    const capture c = check([&] { ACF_draw_part(P, p); }, winding, plane + " part " + std::to_string(p));
                    if (p < 0 || p > 72 || (p >= 61 && p <= 66)) {
                        EXPECT_TRUE(c.prims.empty()) << p;
                    }
                }
                for (int mode : {0, 1}) check([&] { ACF_draw_plane(P, mode); }, winding, plane + " mode " + std::to_string(mode));
            }
        }
    }
    glFrontFace(GL_CCW);
    for (int n : {-1, 10}) EXPECT_TRUE(check([&] { ACF_draw_plane(n, 1); }, GL_CCW, "no such plane").prims.empty());
    glFrontFace(GL_CW);
}

// Seen from above and lit from above, with back faces culled as the program
// culls them, both wings of the trainer show their lit upper sides over their
// whole planforms.
TEST_F(Surfaces, BothTrainerWingsCoverTheirPlanformsFromAbove)
{
    fleet_folder folder;
    ASSERT_TRUE(folder.load(P, TRAINER));
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    window_ortho(-6.0, 6.0, -4.5, 4.5, -50.0, 50.0);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);   // the aircraft's up toward the eye, its nose up the picture
    white_light_from(0, 1, 0);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    ACF_draw_part(P, 8);
    ACF_draw_part(P, 9);
    std::vector<unsigned char> px(1024 * 768 * 4);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glLoadIdentity();

    for (int part : {8, 9}) {   // points across each element's chord, leading to trailing edge
        int lit = 0, samples = 0;
        for (int r = 0; r + 1 < ACF_mesh_rows(P, part); r += 2)
            for (float along : {0.1f, 0.5f, 0.9f})
                for (float across : {0.15f, 0.5f, 0.8f}) {
                    float q[3];
                    for (int k = 0; k < 3; ++k) {
                        const float le = vertex(part, r, 0)[k] + along * (vertex(part, r + 1, 0)[k] - vertex(part, r, 0)[k]);
                        const float te = vertex(part, r, 6)[k] + along * (vertex(part, r + 1, 6)[k] - vertex(part, r, 6)[k]);
                        q[k] = le + across * (te - le);
                    }
                    const int x = int((q[0] + 6.0f) / 12.0f * 1024.0f), y = int((4.5f - q[2]) / 9.0f * 768.0f);
                    ASSERT_TRUE(x >= 0 && x < 1024 && y >= 0 && y < 768) << part;
                    ++samples;
                    lit += px[(size_t(y) * 1024 + x) * 4 + 1] > 128;
                }
        EXPECT_EQ(lit, samples) << "wing part " << part;
    }
}
