// The aircraft model preparation without drawing: part presence, span points,
// meshes, hinge lines, normals, paint coordinates and the shadow footprint.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/failure_slots.h"
#include "core/numeric.h"
#include "core/random.h"
#include "scene/aircraft/acf_textures.h"
#include "scene/aircraft/paint_layout.h"
#include "aircraft/part_presence.h"
#include "scene/aircraft/shadow.h"
#include "tests/scene/aircraft/model_fixture.h"

using namespace model_test;

namespace {

constexpr int P = 3;   // the plane slot the hand-made aircraft go into

class AircraftModel : public ::testing::Test {
protected:
    void SetUp() override { clear_plane(P); }
    acf_struct& a = pln[P];
    flt_struct& f = flt[P];
};

const float* vtx(int part, int row, int point) { return geo(P).part_vertex[part][row][point]; }
const float* nrm(int part, int row, int point) { return geo(P).part_normal[part][row][point]; }
const float* tex(int part, int row, int point) { return geo(P).part_texcoord[part][row][point]; }

float length3(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

}  // namespace

TEST_F(AircraftModel, PresenceFollowsFailuresHidingEnginesAndThrustPoints)
{
    // Two piston engines, a jet as engine 2 and four thrust points.
    a.acf_num_engines = 3;
    a.acf_num_thrustpoints = 5;
    a.acf_en_type[2] = 4;
    a.acf_en_type[3] = 4;   // beyond the engines: a thrust point whatever its type
    for (int p : {8, 44, 53, 54}) a.acf_part_eq[p] = 1;
    struct row {
        const char* what;
        int failure;        // entry set to the failed state, or -1
        int hide;           // acf_hide_prop_at_90_vect, with engine 1 canted to 90
        int part;
        bool present, thrust;
    } rows[] = {
        {"a propeller", -1, 0, 0, true, true},
        {"a jet has no propeller but a thrust point", -1, 0, 2, false, true},
        {"between the engine and thrust point counts", -1, 0, 3, true, true},
        {"the last thrust point", -1, 0, 4, true, true},
        {"at or above both counts", -1, 0, 5, false, false},
        {"engine 0 failed: its propeller", FAIL_SLOT_ENGINE_BASE + 0, 0, 0, false, false},
        {"engine 0 failed: its nacelle", FAIL_SLOT_ENGINE_BASE + 0, 0, 53, false, false},
        {"engine 0 failed: another nacelle", FAIL_SLOT_ENGINE_BASE + 0, 0, 54, true, true},
        {"engine 1 vectored to 90 and hidden", -1, 1, 1, false, false},
        {"engine 1 vectored to 90, not hidden", -1, 0, 1, true, true},
        {"a failed wing", 130 + 8, 0, 8, false, false},
        {"a wing not fitted", -1, 0, 9, false, false},
        {"no part 73", -1, 0, 73, false, false},
    };
    for (const row& r : rows) {
        std::memset(f.failures, 0, sizeof f.failures);
        if (r.failure >= 0) f.failures[r.failure] = FAILURE_STATE_FAILED;
        a.acf_hide_prop_at_90_vect = r.hide;
        a.acf_vect_cant[1] = 90.0f;
        EXPECT_EQ(ACF_part_present(P, r.part), r.present) << r.what;
        EXPECT_EQ(ACF_part_present_thrust(P, r.part), r.thrust) << r.what;
    }
    a.acf_en_type[2] = 7;   // tip rockets turn a rotor of their own
    EXPECT_TRUE(ACF_part_present(P, 2));
    f.failures[130 + 8] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(ACF_part_fitted(P, 8));   // built all the same
    EXPECT_FALSE(ACF_part_present(-1, 0) || ACF_part_present(10, 0));
}

TEST_F(AircraftModel, SpanPointOfASweptLeftPart)
{
    hand_wing(P, 10, 4, 1.5f, 1.0f, -1.0f, 10.0f, 5.0f);
    a.acf_Xarm[10] = 0.5f;
    a.acf_Yarm[10] = -0.3f;
    a.acf_Zarm[10] = 2.0f;
    const acf_span_xyz tip = ACF_span_point(P, 10, 4.0f);
    EXPECT_NEAR(tip.x, -5.3864f, 1e-4f);
    EXPECT_NEAR(tip.y, 0.2150f, 1e-4f);
    EXPECT_NEAR(tip.z, 3.0419f, 1e-4f);
}

TEST_F(AircraftModel, WingMeshFollowsTheAirfoilIncidenceAndControls)
{
    // Two elements of 1 m, chord 2 m, thickness ratio 0.12, on the right.
    hand_wing(P, 9, 2, 1.0f, 2.0f, 1.0f);
    ACF_prepare_model(P);
    const float* origin = vtx(9, 0, 3);
    EXPECT_NEAR(origin[1], 0.12f, 1e-6f);                // point 3: half the thickness above
    EXPECT_NEAR(vtx(9, 0, 0)[2], -0.5f, 1e-6f);          // point 0: a quarter chord ahead
    EXPECT_NEAR(vtx(9, 3, 0)[0], 2.0f, 1e-6f);           // the tip station
    // The outline points (c, t) of the table, times the chord 2 m and the thickness 0.24 m;
    // without a control the hinge points sit at c 0.5 on the line from (0.2, +-0.5) to (0.75, 0).
    const float foil_c[14] = {-0.25f, -0.22f, -0.15f, 0.0f, 0.2f, 0.5f, 0.75f, 0.75f, 0.5f, 0.2f, 0.0f, -0.15f, -0.22f, -0.25f};
    const float foil_t[14] = {0.0f, 0.2f, 0.4f, 0.5f, 0.5f, 5.0f / 22.0f, 0.0f, 0.0f, -5.0f / 22.0f, -0.5f, -0.5f, -0.4f, -0.2f, 0.0f};
    for (int i = 0; i < 14; ++i) {
        EXPECT_NEAR(vtx(9, 0, i)[2], foil_c[i] * 2.0f, 1e-5f) << i;
        EXPECT_NEAR(vtx(9, 0, i)[1], foil_t[i] * 0.24f, 1e-5f) << i;
    }

    // Incidence at the stations: half-way to the neighbour, mirrored at the ends.
    a.acf_anginc[ACF_el(9, 0)] = 2.0f;
    a.acf_anginc[ACF_el(9, 1)] = 4.0f;
    ACF_prepare_model(P);
    const float expected[4] = {1.0f, 3.0f, 3.0f, 5.0f};
    for (int r = 0; r < 4; ++r) {
        const float* le = vtx(9, r, 0);
        const float* te = vtx(9, r, 6);
        EXPECT_NEAR(std::atan2(le[1] - te[1], te[2] - le[2]) / DEG, expected[r], 1e-4f) << r;
    }
    a.acf_anginc[ACF_el(9, 0)] = 4.0f;
    ACF_prepare_model(P);
    EXPECT_NEAR(vtx(9, 1, 6)[2], 1.4963f, 1e-4f);
    EXPECT_NEAR(vtx(9, 1, 6)[1], -0.1046f, 1e-4f);

    // An aileron of chord ratio 0.3: the hinge points at 0.45 of the chord from the quarter chord.
    a.acf_anginc[ACF_el(9, 0)] = a.acf_anginc[ACF_el(9, 1)] = 0.0f;
    a.acf_ail1[ACF_el(9, 0)] = a.acf_ail1[ACF_el(9, 1)] = 1;
    a.acf_ail1_el_first[9] = 0.0f;
    a.acf_ail1_el_end[9] = 2.0f;
    a.acf_ail1_crat = a.acf_ail1_crat2 = 0.3f;
    ACF_prepare_model(P);
    for (int r = 0; r < 4; ++r) {
        EXPECT_NEAR(vtx(9, r, 5)[2], 0.9f, 1e-5f);
        EXPECT_NEAR(vtx(9, r, 8)[2], 0.9f, 1e-5f);
        EXPECT_NEAR(vtx(9, r, 5)[1], 0.2727f * 0.24f, 1e-5f);
        EXPECT_NEAR(vtx(9, r, 8)[1], -0.2727f * 0.24f, 1e-5f);
    }

    // A slotted flap (type 1) hinges 1.5 x (point 5 - point 8) below point 8,
    // a plain one (types 0 and 5) half-way between them; the flap decides over the aileron.
    a.acf_flap[ACF_el(9, 0)] = 1;
    a.acf_flap_el_first[9] = 0.0f;
    a.acf_flap_el_end[9] = 1.0f;
    a.acf_flap_crat = a.acf_flap_crat2 = 0.25f;
    for (float type : {1.0f, 0.0f, 5.0f}) {
        a.acf_flap_type = type;
        ACF_prepare_model(P);
        const float* p5 = vtx(9, 0, 5);
        const float* p8 = vtx(9, 0, 8);
        EXPECT_NEAR(p5[2], 0.5f * 2.0f, 1e-5f);
        const float* h = geo(P).element_hinge[9][0][0];
        for (int q = 0; q < 3; ++q) {
            const float want = type == 1.0f ? p8[q] - 1.5f * (p5[q] - p8[q]) : 0.5f * (p5[q] + p8[q]);
            EXPECT_NEAR(h[q], want, 1e-5f) << type << " " << q;
        }
    }
    // The hinge axis per element length; a part without length keeps the plain line.
    EXPECT_NEAR(geo(P).element_hinge_axis[9][0][0], 1.0f, 1e-5f);
    a.acf_semilen_SEG[9] = 0.0f;
    ACF_prepare_model(P);
    EXPECT_NEAR(geo(P).element_hinge_axis[9][0][0], 1.0f, 1e-5f);
    EXPECT_TRUE(std::isfinite(geo(P).element_hinge_axis[9][1][0]));

    // Unit normals; the upper surface faces up on both sides of the aircraft.
    hand_wing(P, 8, 2, 1.0f, 2.0f, -1.0f);
    ACF_prepare_model(P);
    for (int k : {8, 9})
        for (int r = 0; r < 4; ++r)
            for (int i = 0; i < 14; ++i) EXPECT_NEAR(length3(nrm(k, r, i)), 1.0f, 1e-5f);
    EXPECT_GT(nrm(8, 0, 3)[1], 0.9f);
    EXPECT_GT(nrm(9, 0, 3)[1], 0.9f);
    EXPECT_LT(nrm(9, 0, 10)[1], -0.9f);
}

TEST_F(AircraftModel, APropellerBladeTurnsWithItsEngineAndSweep)
{
    // One flat blade element of 1 m, chord 0.4 m, incidence 30 degrees, swept
    // back 20 degrees; the engine's turning direction flips the incidence.
    hand_wing(P, 0, 1, 1.0f, 0.4f, 1.0f, 0.0f, 0.0f, 0.0f);
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_anginc[ACF_el(0, 0)] = 30.0f;
    a.acf_bladesweep[0] = 20.0f;
    struct row {
        float dir;
        int r, i;
        float x, y, z;
    } rows[] = {
        {-1.0f, 0, 0, 0.0296198f, -0.05f, -0.0813798f},   // root leading edge
        {-1.0f, 1, 0, 0.9693128f, -0.05f, 0.2606402f},    // tip leading edge
        {-1.0f, 0, 6, -0.0888594f, 0.15f, 0.2441394f},    // root trailing edge
        {1.0f, 0, 0, 0.0296198f, 0.05f, -0.0813798f},
        {1.0f, 1, 6, 0.8508334f, -0.15f, 0.5861596f},
    };
    for (const row& w : rows) {
        a.acf_prop_dir[0] = w.dir;
        ACF_prepare_model(P);
        const float* v = vtx(0, w.r, w.i);
        EXPECT_NEAR(v[0], w.x, 1e-5f) << w.dir << " " << w.r << " " << w.i;
        EXPECT_NEAR(v[1], w.y, 1e-5f) << w.dir << " " << w.r << " " << w.i;
        EXPECT_NEAR(v[2], w.z, 1e-5f) << w.dir << " " << w.r << " " << w.i;
    }
}

TEST_F(AircraftModel, BodyNormalsShareTheirSeamsAndAFlatBodyFacesUp)
{
    hand_body(P, 44, 1.0f);
    a.acf_part_eq[45] = 1;   // every point at the origin
    ACF_prepare_model(P);
    for (int r = 0; r < 12; ++r) {
        for (int q = 0; q < 3; ++q) {
            EXPECT_EQ(nrm(44, r, 8)[q], nrm(44, r, 9)[q]);
            EXPECT_EQ(nrm(44, r, 0)[q], nrm(44, r, 17)[q]);
        }
        EXPECT_NEAR(length3(nrm(44, r, 4)), 1.0f, 1e-5f);
        EXPECT_EQ(nrm(45, r, 4)[1], 1.0f);
    }
    EXPECT_NEAR(nrm(44, 5, 8)[0], 0.0f, 1e-5f);   // the keel's seam reads the points either side of it
    EXPECT_NEAR(nrm(44, 5, 8)[1], -1.0f, 1e-5f);
    EXPECT_GT(nrm(44, 5, 0)[1], 0.9f);   // outwards: the top faces up, the sides sideways
    EXPECT_GT(nrm(44, 5, 4)[0], 0.9f);
    EXPECT_LT(nrm(44, 5, 13)[0], -0.9f);
}

TEST_F(AircraftModel, PaintCoordinatesFollowTheLayout)
{
    hand_wing(P, 8, 2, 2.5f, 2.0f, -1.0f);
    a.acf_Zarm[8] = 1.0f;
    hand_wing(P, 18, 2, 1.0f, 1.5f, 1.0f, 0.0f, 90.0f);
    hand_wing(P, 0, 3, 0.5f, 0.3f, 1.0f);
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    hand_body(P, 44, 1.0f);
    ACF_prepare_model(P);

    EXPECT_FLOAT_EQ(tex(8, 0, 0)[0], 774.0f / 1024.0f);   // root leading edge
    EXPECT_FLOAT_EQ(tex(8, 0, 0)[1], 0.0f);
    EXPECT_NEAR(tex(8, 3, 0)[1], 393.0f / 1024.0f, 1e-6f);   // tip row
    EXPECT_NEAR(tex(8, 0, 6)[0], 1.0f, 1e-6f);             // trailing edge
    EXPECT_FLOAT_EQ(tex(0, 0, 0)[0], 16.0f / 1024.0f);     // a propeller is mirrored across
    EXPECT_NEAR(tex(18, 1, 13)[0] - tex(18, 1, 0)[0], 252.0f / 1024.0f, 1e-6f);   // the fin's lower side beside
    EXPECT_NEAR(tex(18, 1, 7)[0] - tex(18, 1, 6)[0], 252.0f / 1024.0f, 1e-6f);   // from point 7 on

    // A circular fuselage centred on its waterline: top, side and keel.
    const float top = 1024.0f / 1024.0f, side = 899.0f / 1024.0f, keel = 774.0f / 1024.0f;
    for (int r : {0, 6, 11}) {
        EXPECT_NEAR(tex(44, r, 0)[1], top, 1e-5f);
        EXPECT_NEAR(tex(44, r, 4)[1], side, 1e-5f);
        EXPECT_NEAR(tex(44, r, 8)[1], keel, 1e-5f);
        EXPECT_NEAR(tex(44, r, 17)[1], top - 252.0f / 1024.0f, 1e-5f);
        EXPECT_NEAR(tex(44, r, 13)[1], side - 252.0f / 1024.0f, 1e-5f);
        EXPECT_NEAR(tex(44, r, 0)[0], r / 11.0f * 772.0f / 1024.0f, 1e-5f);
    }
    // A body with no length or no section gets the middle of its rectangle.
    a.acf_part_eq[45] = 1;
    ACF_prepare_model(P);
    EXPECT_FLOAT_EQ(tex(45, 3, 2)[0], (522.0f + 772.0f) * 0.5f / 1024.0f);
    EXPECT_FLOAT_EQ(tex(45, 3, 2)[1], (395.0f + 520.0f) * 0.5f / 1024.0f);
}

// Each part's bitmap and rectangle (s0, s1, t0, t1 in texels), and a body
// whose rows lie wholly above or below its waterline.
TEST_F(AircraftModel, PaintRectanglesAndRowsOffTheWaterline)
{
    const struct {
        int first, last, bitmap, s0, s1, t0, t1;
    } layout[] = {
        {0, 7, 1, 16, 0, 261, 389},       {8, 9, 1, 774, 1024, 0, 393},     {10, 11, 1, 522, 772, 0, 259},
        {12, 13, 1, 522, 646, 261, 393},  {14, 15, 1, 648, 772, 261, 393},  {16, 17, 1, 774, 1024, 522, 772},
        {18, 18, 1, 18, 268, 0, 259},     {19, 19, 1, 18, 268, 261, 520},   {20, 20, 2, 0, 128, 129, 256},
        {21, 21, 2, 127, 256, 129, 256},  {22, 22, 2, 255, 384, 129, 256},  {23, 23, 2, 383, 512, 129, 256},
        {24, 24, 2, 511, 640, 129, 256},  {25, 25, 2, 639, 768, 129, 256},  {26, 26, 2, 767, 896, 129, 256},
        {27, 27, 2, 895, 1024, 129, 256}, {28, 35, 1, 774, 1024, 458, 520}, {36, 43, 1, 774, 1024, 395, 456},
        {44, 44, 1, 0, 772, 774, 1024},   {45, 46, 1, 522, 772, 395, 520},  {47, 47, 2, 255, 384, 0, 127},
        {48, 48, 2, 383, 512, 0, 127},    {49, 49, 2, 511, 640, 0, 127},    {50, 50, 2, 639, 768, 0, 127},
        {51, 51, 2, 767, 896, 0, 127},    {52, 52, 2, 895, 1024, 0, 127},   {53, 60, 1, 774, 1024, 900, 1024},
        {61, 65, 1, 392, 520, 16, 0},     {66, 72, 1, 0, 0, 0, 0},
    };
    for (const auto& row : layout)
        for (int k = row.first; k <= row.last; ++k) {
            const paint_rect r = paint_layout_of(k);
            EXPECT_EQ(r.bitmap, row.bitmap) << k;
            EXPECT_TRUE(r.s0 == row.s0 && r.s1 == row.s1 && r.t0 == row.t0 && r.t1 == row.t1) << k;
        }

    // Body 45: rows 0..5 round y = 3, rows 6..11 round y = -3, radius 1, so the
    // waterline is y = 0. A chord of the ring is 2 sin 11.25 = 0.390181 m.
    // Above: u = the arc down to point 8 plus point 9's height 2; below: minus
    // the arc from point 0 minus point 0's depth 2. u runs -5.121445..5.121445
    // and t = (395 + u' x 125) / 1024.
    hand_body(P, 45, 1.0f, 3.0f);
    for (int r = 6; r < 12; ++r)
        for (int i = 0; i < 18; ++i) a.acf_body_Y[(45 * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i] -= 6.0f;
    ACF_prepare_model(P);
    EXPECT_NEAR(tex(45, 0, 0)[1], 520.0f / 1024.0f, 1e-5f);
    EXPECT_NEAR(tex(45, 0, 8)[1], 481.90717f / 1024.0f, 1e-5f);
    EXPECT_NEAR(tex(45, 11, 0)[1], 433.09283f / 1024.0f, 1e-5f);
    EXPECT_NEAR(tex(45, 11, 8)[1], 395.0f / 1024.0f, 1e-5f);
}

TEST_F(AircraftModel, NacellesFairingsAndWeaponsFollowTheirOwnPaintRules)
{
    // Engine 0's nacelle: 12 round rows 1 m apart, rows 6..11 raised by
    // 0.75 m, so its rows' own path (11.25 m) differs from its length (11 m).
    hand_body(P, 53, 1.0f);
    for (int r = 6; r < 12; ++r)
        for (int i = 0; i < 18; ++i) a.acf_body_Y[(53 * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i] += 0.75f;
    // Gear fairing 61: 8 rows of 10 points, a circle in 45-degree steps.
    a.acf_part_eq[61] = 1;
    for (int r = 0; r < 8; ++r)
        for (int i = 0; i < 10; ++i) {
            const int k = i < 5 ? i : 9 - i;
            const int at = (61 * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i;
            a.acf_body_X[at] = (i < 5 ? 1.0f : -1.0f) * std::sin(k * 45.0f * DEG);
            a.acf_body_Y[at] = std::cos(k * 45.0f * DEG);
            a.acf_body_Z[at] = static_cast<float>(r);
        }
    // A weapon in slot 2: its body in the body arrays at index 2.
    hand_body(P, 2, 0.2f);
    a.acf_wpn_slot[2].wpn_type = 1;

    constexpr float T = 1.0f / 1024.0f;
    struct row {
        const char* what;
        int engine_type;   // of engine 0
        int part, r, i;    // part, or -1 for the weapon
        int axis;          // 0 = s, 1 = t
        float want;
    } rows[] = {
        {"piston nacelle: along its length", 0, 53, 6, 0, 0, (774.0f + 6.0f / 11.0f * 250.0f) * T},
        {"jet nacelle: along its rows' path", 4, 53, 6, 0, 0, (774.0f + 6.25f / 11.25f * 250.0f) * T},
        {"jet nacelle: along, second side", 5, 53, 6, 17, 0, (774.0f + 6.25f / 11.25f * 250.0f) * T},
        // A turned fairing keeps its rectangle's roles (around 16..0, along
        // 392..520) but stores around as s and along as t.
        {"fairing: around goes to s, top", 0, 61, 3, 0, 0, 0.0f},
        {"fairing: around goes to s, side", 0, 61, 3, 2, 0, 8.0f * T},
        {"fairing: around goes to s, keel", 0, 61, 3, 4, 0, 16.0f * T},
        {"fairing: second side mirrors, no shift", 0, 61, 3, 9, 0, 0.0f},
        {"fairing: along goes to t, first row", 0, 61, 0, 0, 1, 392.0f * T},
        {"fairing: along goes to t, row 7", 0, 61, 7, 3, 1, 520.0f * T},
        {"weapon: along, last row", 0, -1, 11, 0, 0, 0.5078125f},
        {"weapon: along, row 4", 0, -1, 4, 5, 0, 4.0f / 11.0f * 0.5078125f},
        {"weapon: first side top", 0, -1, 3, 0, 1, 1.0f},
        {"weapon: first side middle", 0, -1, 3, 4, 1, 0.7578125f},
        {"weapon: second side top", 0, -1, 3, 17, 1, 0.484375f},
        {"weapon: second side keel", 0, -1, 3, 9, 1, 0.0f},
        {"weapon: second side middle", 0, -1, 3, 13, 1, 0.2421875f},
    };
    for (const row& w : rows) {
        a.acf_en_type[0] = w.engine_type;
        ACF_prepare_model(P);
        const float* st = w.part >= 0 ? tex(w.part, w.r, w.i) : geo(P).weapon_texcoord[2][w.r][w.i];
        EXPECT_NEAR(st[w.axis], w.want, 1e-5f) << w.what;
    }
    // The nacelle's second side lies 126 texels below its first.
    EXPECT_NEAR(tex(53, 2, 0)[1] - tex(53, 2, 17)[1], 126.0f * T, 1e-5f);
}

TEST_F(AircraftModel, FailedPartsAreBuiltButCastNoShadow)
{
    // A straight wing of two 5 m halves, chord 1.5 m, roots at the origin.
    hand_wing(P, 8, 2, 2.5f, 1.5f, -1.0f);
    hand_wing(P, 9, 2, 2.5f, 1.5f, 1.0f);
    constexpr int S = 32;
    std::vector<uint8_t> tex_rgba(S * S * 4);
    const auto alpha = [&](int col, int row) { return tex_rgba[(row * S + col) * 4 + 3]; };
    ACF_shadow_raster(P, S, tex_rgba.data());
    EXPECT_FLOAT_EQ(a.acf_size_x, 5.625f);
    EXPECT_FLOAT_EQ(a.acf_size_z, 1.265625f);
    for (int row = 0; row < S; ++row)
        for (int col = 0; col < S; ++col) {
            const bool inside = col >= 1 && col <= 29 && row >= 1 && row <= 19;
            ASSERT_EQ(alpha(col, row), inside ? 255 : 0) << col << ", " << row;
            ASSERT_EQ(tex_rgba[(row * S + col) * 4], 255);
        }
    // The blur keeps the border and softens the edges; the mean cut down in
    // place takes a unit or two from the inside.
    ACF_shadow_blur(tex_rgba.data(), S);
    EXPECT_GE(alpha(15, 10), 250);
    EXPECT_EQ(alpha(0, 10) + alpha(15, 0), 0);
    EXPECT_GT(alpha(1, 10), 0);
    EXPECT_LT(alpha(1, 10), 255);
    // Each texel takes the mean of its nine, cut down: 8 alone in a 3 x 3 block becomes 0, 17 becomes 1.
    for (const auto& [centre, blurred] : {std::pair{8, 0}, std::pair{17, 1}, std::pair{255, 28}}) {
        std::vector<uint8_t> small(3 * 3 * 4, 0);
        small[(1 * 3 + 1) * 4 + 3] = static_cast<uint8_t>(centre);
        ACF_shadow_blur(small.data(), 3);
        EXPECT_EQ(small[(1 * 3 + 1) * 4 + 3], blurred) << centre;
    }

    // A failed left wing: built all the same, but out of the shadow and its extents.
    ACF_prepare_model(P);
    std::vector<uint8_t> before(reinterpret_cast<uint8_t*>(&geo(P)),
                                reinterpret_cast<uint8_t*>(&geo(P)) + sizeof(acf_part_geometry));
    std::memset(geo(P).part_vertex[8], 0, sizeof geo(P).part_vertex[8]);   // as another aircraft left it
    f.failures[130 + 8] = FAILURE_STATE_FAILED;
    ACF_prepare_model(P);
    EXPECT_EQ(std::memcmp(before.data(), &geo(P), before.size()), 0);
    ACF_shadow_raster(P, S, tex_rgba.data());
    EXPECT_FLOAT_EQ(a.acf_size_z, 1.265625f);
    for (int col = 0; col < S; ++col) EXPECT_EQ(alpha(col, 10), col >= 16 && col <= 29 ? 255 : 0) << col;

    // Nothing present: all transparent, the least extents.
    clear_plane(P);
    ACF_shadow_raster(P, S, tex_rgba.data());
    EXPECT_FLOAT_EQ(a.acf_size_x, 0.01125f);
    EXPECT_FLOAT_EQ(a.acf_size_z, 0.01125f);
    for (int t = 0; t < S * S; ++t) ASSERT_EQ(tex_rgba[t * 4 + 3], 0);

    EXPECT_EQ(ACF_shadow_size(0, 256), 32);
    EXPECT_EQ(ACF_shadow_size(4, 256), 256);
    EXPECT_EQ(ACF_shadow_size(2, 0), 128);
    EXPECT_EQ(ACF_shadow_size(3, 0), 256);
    EXPECT_EQ(UTIL_max3(1, 3, 2), 3);
    EXPECT_EQ(UTIL_max3(2, 2, 2), 2);
}

TEST_F(AircraftModel, ABodyFillsItsOutlineInTheShadow)
{
    // A fuselage 11 m long and 2 m wide, 6 m behind the reference point.
    hand_body(P, 44, 1.0f);
    a.acf_Zarm[44] = -6.0f;
    constexpr int S = 64;
    std::vector<uint8_t> rgba(S * S * 4);
    ACF_shadow_raster(P, S, rgba.data());
    EXPECT_FLOAT_EQ(a.acf_size_x, 1.0f * 68.0f / 64.0f);
    EXPECT_FLOAT_EQ(a.acf_size_z, 6.0f * 68.0f / 64.0f);
    int inside = 0;
    for (int row = 0; row < S; ++row)
        for (int col = 0; col < S; ++col) {
            const float x = ((col + 0.5f) / S - 0.5f) * 2.0f * a.acf_size_x;
            const float z = (0.5f - (row + 0.5f) / S) * 2.0f * a.acf_size_z;
            const bool in = std::fabs(x) < 0.95f && z > -5.9f && z < 4.9f;
            const bool out = std::fabs(x) > 1.0f || z < -6.0f || z > 5.0f;
            const int al = rgba[(row * S + col) * 4 + 3];
            if (in) {
                EXPECT_EQ(al, 255) << col << ", " << row;
            }
            if (out) {
                EXPECT_EQ(al, 0) << col << ", " << row;
            }
            inside += al == 255;
        }
    EXPECT_GT(inside, 100);

    // Engine 0's nacelle canted 90 degrees: X = -z of the body, Z = its x, so
    // it lies along the left half of the texture (32 texels, 11 x 36 / 32 m wide).
    clear_plane(P);
    hand_body(P, 53, 1.0f);
    a.acf_sidecant[0] = 90.0f;
    ACF_shadow_raster(P, 32, rgba.data());
    EXPECT_FLOAT_EQ(a.acf_size_x, 11.0f * 36.0f / 32.0f);
    EXPECT_NEAR(a.acf_size_z, 1.0f * 36.0f / 32.0f, 1e-6f);
    EXPECT_EQ(rgba[(16 * 32 + 8) * 4 + 3], 255);
    EXPECT_EQ(rgba[(16 * 32 + 23) * 4 + 3], 0);
}

// Counts and values that peers and plug-ins may have written into the record
// are held: no index leaves its array, no texel leaves the shadow.
TEST_F(AircraftModel, DamagedFleetRecordsStayInBounds)
{
    fleet_folder folder;
    std::vector<acf_struct> fleet;
    for (const char* plane : FLEET) {
        ASSERT_TRUE(folder.load(P, plane)) << plane;
        fleet.push_back(pln[P]);
    }
    const flt_struct set_up = flt[P];
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 3e38f, -3e38f, 1e-30f, 0.0f, -1.0f, 1e6f};
    const int ints[] = {-1, 11, 50, 100000, -100000, 9, 1 << 30};
    UTIL_srand(7);
    std::vector<uint8_t> rgba(512 * 512 * 4);
    for (int round = 0; round < 300; ++round) {
        pln[P] = fleet[static_cast<size_t>(round) % fleet.size()];
        flt[P] = set_up;
        for (int k = 0; k < 12; ++k) {
            const int part = UTIL_rand() % ACF_NUM_PARTS;
            switch (UTIL_rand() % 8) {
            case 0: a.acf_els[part] = ints[UTIL_rand() % 7]; break;
            case 1: a.acf_num_engines = ints[UTIL_rand() % 7]; a.acf_num_thrustpoints = ints[UTIL_rand() % 7]; break;
            case 2: a.acf_Xarm[part] = odd[UTIL_rand() % 9]; break;
            case 3: a.acf_body_X[part * 360 + UTIL_rand() % 360] = odd[UTIL_rand() % 9]; break;
            case 4: a.acf_body_Z[part * 360 + UTIL_rand() % 360] = odd[UTIL_rand() % 9]; break;
            case 5: a.acf_Croot[part] = odd[UTIL_rand() % 9]; break;
            case 6: f.foil_cos_swe[part] = odd[UTIL_rand() % 9]; break;
            default: a.acf_anginc[part * 10 + UTIL_rand() % 10] = odd[UTIL_rand() % 9]; break;
            }
            a.acf_part_eq[part] = 1;
        }
        ACF_prepare_model(P);
        const int S = 32 << (round % 5);
        ACF_shadow_raster(P, S, rgba.data());
        ACF_shadow_blur(rgba.data(), S);
        EXPECT_TRUE(a.acf_size_x >= 0.01f && a.acf_size_z >= 0.01f) << round;
    }
}

// Surface normals point out of the surface they light: on a right wing, a left
// wing and a propeller blade (whose side sign is unused), the normal at the
// top of the section leans away from the bottom point beneath it.
TEST_F(AircraftModel, WingAndBladeNormalsPointOutOfTheirSurface)
{
    hand_wing(P, 9, 2, 1.0f, 2.0f, 1.0f);
    hand_wing(P, 10, 2, 1.0f, 2.0f, -1.0f);
    hand_wing(P, 0, 3, 0.5f, 0.3f, 1.0f);
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    ACF_prepare_model(P);
    for (int part : {9, 10, 0}) {
        for (int r = 0; r < 3; ++r) {
            const float* top = vtx(part, r, 3);
            const float* bottom = vtx(part, r, 10);
            const float* n = nrm(part, r, 3);
            const float out = n[0] * (top[0] - bottom[0]) + n[1] * (top[1] - bottom[1]) + n[2] * (top[2] - bottom[2]);
            EXPECT_GT(out, 0.0f) << "part " << part << " row " << r;
        }
    }
}
