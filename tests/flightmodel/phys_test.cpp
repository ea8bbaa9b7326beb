#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "core/constants.h"
#include "core/simvars/operation.h"
#include "flightmodel/attitude.h"
#include "flightmodel/environment/random_interp.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "core/camera.h"
#include "world/ships.h"

namespace {

struct PhysKit : ::testing::Test {
    void SetUp() override { flt[0] = flt_struct{}; }
    static void set_attitude(float theta, float psi, float phi)
    {
        flt_struct& f = flt[0];
        const float d = DEG_TO_RAD_FLOAT;
        f.sin_theta = std::sin(theta * d), f.cos_theta = std::cos(theta * d);
        f.track_sin = std::sin(psi * d), f.track_cos = std::cos(psi * d);
        f.sin_phi = std::sin(phi * d), f.cos_phi = std::cos(phi * d);
    }
};

}  // namespace

TEST_F(PhysKit, AddersFollowTheMomentRule)
{
    PHYS_add_gear_normal(0, 1000.0f, 2.0f, 0.0f);   // up, right of the centre: rolls left
    EXPECT_FLOAT_EQ(flt[0].L, -2000.0f);
    EXPECT_FLOAT_EQ(flt[0].fnrml_gear, 1000.0f);
    PHYS_add_gear_axial(0, 1000.0f, 0.0f, -1.0f);   // aft, below the centre: nose down
    EXPECT_FLOAT_EQ(flt[0].M, -1000.0f);
    PHYS_add_prop_side(0, 10.0f, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(flt[0].fside_prop, 10.0f);
    EXPECT_FLOAT_EQ(flt[0].L, -1990.0f);
    EXPECT_FLOAT_EQ(flt[0].N, -20.0f);
    PHYS_add_gear_axial(12, 1000.0f, 1.0f, 1.0f);   // no such plane: nothing happens, nothing breaks

    float pitch = 0, yaw = 0, roll = 0;
    PHYS_add_axial_moment(3.0f, 2.0f, 5.0f, &pitch, &yaw);
    PHYS_add_normal_moment(1.0f, 4.0f, 1.0f, &roll, &pitch);
    EXPECT_FLOAT_EQ(pitch, 14.0f);
    EXPECT_FLOAT_EQ(yaw, 6.0f);
    EXPECT_FLOAT_EQ(roll, -4.0f);
}

TEST_F(PhysKit, VectorsCrossRightHandedAndMeasureTheirLength)
{
    const vec3 x{1.0f, 0.0f, 0.0f}, y{0.0f, 1.0f, 0.0f}, z{0.0f, 0.0f, 1.0f};
    const auto is = [](vec3 v, vec3 w) { return v.x == w.x && v.y == w.y && v.z == w.z; };
    EXPECT_TRUE(is(cross(x, y), z));
    EXPECT_TRUE(is(cross(y, z), x));
    EXPECT_TRUE(is(cross(z, x), y));
    // A product of two vectors stands square to both.
    const vec3 a{3.0f, -4.0f, 12.0f}, b{-2.0f, 5.0f, 1.5f};
    EXPECT_EQ(dot(cross(a, b), a), 0.0f);
    EXPECT_EQ(dot(cross(a, b), b), 0.0f);
    EXPECT_EQ(length(a), 13.0f);
    const float p[3] = {1.0f, 2.0f, 2.0f};
    EXPECT_EQ(length(vec3_at(p) - vec3{1.0f, 0.0f, 0.0f}), std::sqrt(8.0f));
}

TEST_F(PhysKit, ElementForceKeepsItsSlotAndTakesItsMomentInBodyAxes)
{
    flt[0].cos_alpha = flt[0].cos_beta = 1.0f;
    PHYS_add_element_aero_force(50.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 8, 2);   // pure drag above the centre
    EXPECT_FLOAT_EQ(flt[0].M, 50.0f);
    EXPECT_FLOAT_EQ(flt[0].faxil_aero, 50.0f);
    EXPECT_FLOAT_EQ(flt[0].force_XYZ[3 * 82 + 2], 50.0f);
    PHYS_add_element_aero_force(0.0f, 7.0f, 9.0f, 0.0f, 0.0f, 0.0f, -1, -1);   // no slot: totals only
    EXPECT_FLOAT_EQ(flt[0].fside_aero, 7.0f);
    EXPECT_FLOAT_EQ(flt[0].fnrml_aero, 9.0f);
    EXPECT_FLOAT_EQ(flt[0].force_XYZ[3 * 82 + 2], 50.0f);

    // At 90 degrees of alpha a lift (normal) force points along the body's axis.
    flt[0] = flt_struct{};
    flt[0].sin_alpha = 1.0f, flt[0].cos_beta = 1.0f;
    PHYS_add_element_aero_force(0.0f, 0.0f, 10.0f, 0.0f, 2.0f, 0.0f, -1, -1);
    EXPECT_NEAR(flt[0].M, -20.0f, 1e-5f);   // Fz = -C at y = 2

    // 30 degrees of sideslip turns drag 10 and side force 4 into body axes:
    // side 10 sin 30 + 4 cos 30 = 8.4641, axial 10 cos 30 - 4 sin 30 = 6.6603,
    // at (3, 2, 5): L = 8.4641 x 2, M = 6.6603 x 2, N = 6.6603 x 3 - 8.4641 x 5.
    flt[0] = flt_struct{};
    flt[0].cos_alpha = 1.0f, flt[0].sin_beta = 0.5f, flt[0].cos_beta = 0.8660254f;
    PHYS_add_element_aero_force(10.0f, 4.0f, 0.0f, 3.0f, 2.0f, 5.0f, -1, -1);
    EXPECT_NEAR(flt[0].L, 16.9282f, 1e-3f);
    EXPECT_NEAR(flt[0].M, 13.3205f, 1e-3f);
    EXPECT_NEAR(flt[0].N, -22.3397f, 1e-3f);

    // At 30 degrees of alpha a drag of 10 at x = 2 has normal 10 sin 30 = 5
    // (L = -5 x 2) and axial 10 cos 30 = 8.6603 (N = 8.6603 x 2).
    flt[0] = flt_struct{};
    flt[0].sin_alpha = 0.5f, flt[0].cos_alpha = 0.8660254f, flt[0].cos_beta = 1.0f;
    PHYS_add_element_aero_force(10.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f, -1, -1);
    EXPECT_NEAR(flt[0].L, -10.0f, 1e-4f);
    EXPECT_NEAR(flt[0].M, 0.0f, 1e-4f);
    EXPECT_NEAR(flt[0].N, 17.3205f, 1e-3f);
}

TEST_F(PhysKit, RotationsTurnTheNoseAndComeBack)
{
    set_attitude(30.0f, 90.0f, 0.0f);
    float x, y, z;
    PHYS_body_to_local(0.0f, 0.0f, -1.0f, &x, &y, &z, 0);   // the nose points east and up
    EXPECT_NEAR(x, std::cos(30.0 * DEG_TO_RAD_DOUBLE), 1e-6);
    EXPECT_NEAR(y, 0.5, 1e-6);
    EXPECT_NEAR(z, 0.0, 1e-6);

    set_attitude(-12.0f, 237.0f, 41.0f);
    float bx, by, bz;
    PHYS_body_to_local(1.5f, -2.0f, 3.0f, &x, &y, &z, 0);
    PHYS_local_to_body(x, y, z, &bx, &by, &bz, 0);
    EXPECT_NEAR(bx, 1.5f, 1e-5f);
    EXPECT_NEAR(by, -2.0f, 1e-5f);
    EXPECT_NEAR(bz, 3.0f, 1e-5f);

    PHYS_rotate_by_cyclic(1.0f, 2.0f, 3.0f, &x, &y, &z, 0, 0);   // no cant: unchanged
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, 2.0f);
    EXPECT_FLOAT_EQ(z, 3.0f);
    flt[0].vertcant[1] = 90.0f;   // a disc tilted a quarter turn: the aft axis comes out pointing down
    PHYS_rotate_by_cyclic(0.0f, 0.0f, 1.0f, &x, &y, &z, 0, 1);
    EXPECT_NEAR(y, -1.0f, 1e-6f);
    EXPECT_NEAR(z, 0.0f, 1e-6f);
}

TEST_F(PhysKit, ShipAndCameraAxes)
{
    // The carrier heading east with its bow 10 degrees up: the bow points east and up.
    ship_heading[SHIP_CARRIER] = 90.0f;
    ship_pitch[SHIP_CARRIER] = 10.0f;
    ship_roll[SHIP_CARRIER] = 0.0f;
    float x, y, z;
    PHYS_ship_to_local(0.0f, 0.0f, -1.0f, &x, &y, &z, SHIP_CARRIER);
    EXPECT_NEAR(x, std::cos(10.0 * DEG_TO_RAD_DOUBLE), 1e-6);
    EXPECT_NEAR(y, std::sin(10.0 * DEG_TO_RAD_DOUBLE), 1e-6);
    EXPECT_NEAR(z, 0.0, 1e-6);
    PHYS_ship_to_local(1.0f, 2.0f, 3.0f, &x, &y, &z, SEA_OBJECT_SLOTS);   // no such ship: unchanged
    EXPECT_EQ(x + y + z, 6.0f);
    ship_heading[SHIP_CARRIER] = ship_pitch[SHIP_CARRIER] = 0.0f;

    // A camera looking south (heading 180): its forward axis is local +z.
    const camera_trig_block saved = camera_trig;
    camera_trig = {0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 1.0f};
    const float ahead[3] = {0.0f, 0.0f, -1.0f};
    float out[3];
    PHYS_rotate_by_camera(ahead, out);
    EXPECT_NEAR(out[0], 0.0f, 1e-6f);
    EXPECT_NEAR(out[2], 1.0f, 1e-6f);
    camera_trig = saved;
}

TEST(Attitude, QuaternionOfAnglesAndIntegrationBack)
{
    float q[4];
    PHYS_euler_to_quat(0.0f, 90.0f, 0.0f, q);
    EXPECT_NEAR(q[0], std::cos(M_PI / 4), 1e-6);
    EXPECT_NEAR(q[3], std::sin(M_PI / 4), 1e-6);
    EXPECT_NEAR(q[1], 0.0f, 1e-7);

    sim_operation_misc.frame_rate_period = 0.05f;
    float theta = 1, psi = 1, phi = 1;
    PHYS_integrate_quat(0.0f, 0.0f, 0.0f, &theta, &psi, &phi, q);
    EXPECT_NEAR(psi, 90.0f, 1e-4f);
    EXPECT_NEAR(theta, 0.0f, 1e-4f);

    // Yawing left for one second from heading 0 comes out as 350, not -10.
    PHYS_euler_to_quat(0.0f, 0.0f, 0.0f, q);
    const float R = static_cast<float>(-10.0 * DEG_TO_RAD_DOUBLE);
    for (int i = 0; i < 20; ++i) PHYS_integrate_quat(0.0f, 0.0f, R, &theta, &psi, &phi, q);
    EXPECT_NEAR(psi, 350.0f, 1e-2f);

    // A pitch rate carries the nose over the top: pitch never leaves -90..90.
    PHYS_euler_to_quat(80.0f, 0.0f, 0.0f, q);
    for (int i = 0; i < 20; ++i) PHYS_integrate_quat(0.0f, 1.0f, 0.0f, &theta, &psi, &phi, q);
    EXPECT_LE(theta, 90.0f);
    EXPECT_NEAR(std::fabs(phi), 180.0f, 1e-2f);

    // One step of all three rates from level, each line taking the ones above
    // it: with k = 0.05, q1 = 0.05, q2 = 0.05 (2 - 3 x 0.05) = 0.0925,
    // q3 = 0.05 (2 x 0.05 + 3 - 0.0925) = 0.150375, then normalised.
    sim_operation_misc.frame_rate_period = 0.1f;
    PHYS_euler_to_quat(0.0f, 0.0f, 0.0f, q);
    PHYS_integrate_quat(1.0f, 2.0f, 3.0f, &theta, &psi, &phi, q);
    const float worked[4] = {0.9835791f, 0.04917895f, 0.09098106f, 0.1479057f};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(q[k], worked[k], 1e-6f) << k;
    EXPECT_NEAR(theta, 9.463917f, 1e-4f);
    EXPECT_NEAR(psi, 17.700466f, 1e-4f);
    EXPECT_NEAR(phi, 7.201677f, 1e-4f);
    // A roll rate of 1 at heading 90 (q = (c, 0, 0, c), c = cos 45): q1 = 0.05 c,
    // q2 = 0.05 q3 = 0.05 c, q3 = c - 0.05 q2, then normalised.
    PHYS_euler_to_quat(0.0f, 90.0f, 0.0f, q);
    PHYS_integrate_quat(1.0f, 0.0f, 0.0f, &theta, &psi, &phi, q);
    const float rolled[4] = {0.7071057f, 0.03535528f, 0.03535528f, 0.7053379f};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(q[k], rolled[k], 1e-6f) << k;
    // The same roll rate at roll 90 (q = (c, c, 0, 0)): q0 = 0.95 c first, then
    // q1 = c + 0.05 q0 = 1.0475 c from that new q0, then normalised.
    PHYS_euler_to_quat(0.0f, 0.0f, 90.0f, q);
    PHYS_integrate_quat(1.0f, 0.0f, 0.0f, &theta, &psi, &phi, q);
    EXPECT_NEAR(q[0], 0.6717924f, 1e-6f);
    EXPECT_NEAR(q[1], 0.7407395f, 1e-6f);
    sim_operation_misc.frame_rate_period = 0.05f;

    // Any attitude built into a quaternion comes back out unchanged when held
    // still (heading in 0..360, pitch and roll in -180..180).
    for (auto [t, h, r] : {std::array{20.0f, 40.0f, 30.0f}, {-35.0f, 200.0f, -120.0f}, {60.0f, 310.0f, 170.0f}}) {
        PHYS_euler_to_quat(t, h, r, q);
        PHYS_integrate_quat(0.0f, 0.0f, 0.0f, &theta, &psi, &phi, q);
        EXPECT_NEAR(theta, t, 1e-3f) << h;
        EXPECT_NEAR(psi, h, 1e-3f) << h;
        EXPECT_NEAR(phi, r, 1e-3f) << h;
    }

    // A degenerate quaternion restarts level instead of spreading NaN.
    float zero[4] = {0, 0, 0, 0};
    PHYS_integrate_quat(0.0f, 0.0f, 0.0f, &theta, &psi, &phi, zero);
    EXPECT_FLOAT_EQ(zero[0], 1.0f);
    EXPECT_FLOAT_EQ(theta, 0.0f);
}

TEST(RandomInterp, KeysWrapIntoTheTable)
{
    CONST_fill_random_table();
    EXPECT_FLOAT_EQ(UTIL_random_interp(0.0f, 1.0f, 7), UTIL_random_interp(0.0f, 1.0f, 10007));
    EXPECT_FLOAT_EQ(UTIL_random_interp(0.0f, 1.0f, 7), random_table[7]);
    EXPECT_FLOAT_EQ(UTIL_random_interp(3.0f, 3.0f, 123), 3.0f);
    EXPECT_FLOAT_EQ(UTIL_random_interp(0.0f, 1.0f, -3), random_table[9997]);
}
