// A released weapon: its air forces turned into body axes and its body-axis
// force turned into local accelerations, worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "core/weapon_kinds.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/weapons/weapons.h"
#include "tests/support/flight_fixture.h"

namespace {

constexpr float G = 9.7982788f;
constexpr float DEG = DEG_TO_RAD_FLOAT;

class WeaponMotion : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        flt[0].local_y = 1000.0f;
        frame_clock = 1.0f;
        wind_vector[0] = wind_vector[1] = wind_vector[2] = 0.0f;
        sim_operation_misc.frame_rate_period = 0.05f;
    }
    static wpn_slot_record& released_bomb()
    {
        wpn_slot_record& w = pln[0].acf_wpn_slot[0];
        w = wpn_slot_record{};
        w.wpn_type = WPN_KIND_BOMB;
        w.wpn_valid = w.wpn_released = 1;
        w.wpn_mass = w.wpn_mass_now = 100.0f;
        w.wpn_pos[1] = 1000.0f;
        w.wpn_quat[0] = 1.0f;
        return w;
    }
};

}  // namespace

// One pair of level fins (0.1 m^2 each) at 5 degrees of attack and no body:
// each fin lifts 0.05 x 5 x 0.1 q and drags 0.001 x 25 x 0.1 q, so L = 0.05 q
// and D = 0.005 q along the flight path; in body axes up is D sin 5 + L cos 5
// = 0.0502455 q and aft is D cos 5 - L sin 5 = 0.000623187 q. The fins act
// 2 m aft plus half their 0.5 m span: the nose goes down by 2.25 x 0.0502455 q.
TEST_F(WeaponMotion, FlightPathForcesIntoBodyAxes)
{
    wpn_slot_record& w = released_bomb();
    const float a = 5.0f * DEG;
    w.wpn_vel[1] = -100.0f * std::sin(a), w.wpn_vel[2] = -100.0f * std::cos(a);
    w.wpn_fin_span[0] = 0.5f, w.wpn_fin_root[0] = w.wpn_fin_tip[0] = 0.2f, w.wpn_fin_arm[0] = 2.0f;
    WPN_fire_and_fly();
    const float rho = ATMO_temp_pressure() * ATMO_density_at_alt(sim_graphics_scenery.current_planet, 1000.0f);
    const float u = 100.0f * std::cos(a);
    const float q = 0.5f * rho * u * u;
    EXPECT_NEAR(w.wpn_force[1], 0.0502455f * q, 1e-4f * q);
    EXPECT_NEAR(w.wpn_force[2], 0.000623187f * q, 1e-5f * q);
    EXPECT_NEAR(w.wpn_force[0], 0.0f, 1e-5f * q);
    EXPECT_NEAR(w.wpn_moment[1], -2.25f * 0.0502455f * q, 1e-4f * q);
}

// 1,000 N on 100 kg for 0.05 s: along the nose pitched up 30 degrees it climbs
// at 5 and runs north at 8.66 m/s^2; along the nose heading east it runs east;
// body-up in a 90-degree right roll pushes east.
TEST_F(WeaponMotion, BodyForceIntoLocalAccelerations)
{
    struct row {
        float theta, psi, phi, fx, fy, fz;
        float ax, ay, az;
    };
    const row rows[] = {
        {30.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1000.0f, 0.0f, 5.0f, -8.660254f},
        {0.0f, 90.0f, 0.0f, 0.0f, 0.0f, -1000.0f, 10.0f, 0.0f, 0.0f},
        {0.0f, 0.0f, 90.0f, 0.0f, 1000.0f, 0.0f, 10.0f, 0.0f, 0.0f},
        {0.0f, 0.0f, 0.0f, 1000.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f},
    };
    for (const row& r : rows) {
        wpn_slot_record& w = released_bomb();
        w.wpn_sin_theta = std::sin(r.theta * DEG), w.wpn_cos_theta = std::cos(r.theta * DEG);
        w.wpn_sin_psi = std::sin(r.psi * DEG), w.wpn_cos_psi = std::cos(r.psi * DEG);
        w.wpn_sin_phi = std::sin(r.phi * DEG), w.wpn_cos_phi = std::cos(r.phi * DEG);
        w.wpn_force[0] = r.fx, w.wpn_force[1] = r.fy, w.wpn_force[2] = r.fz;
        WPN_fly_released(0);
        EXPECT_NEAR(w.wpn_vel[0], r.ax * 0.05f, 1e-5f) << r.theta << " " << r.psi << " " << r.phi;
        EXPECT_NEAR(w.wpn_vel[1], (r.ay - G) * 0.05f, 1e-5f) << r.theta << " " << r.psi << " " << r.phi;
        EXPECT_NEAR(w.wpn_vel[2], r.az * 0.05f, 1e-5f) << r.theta << " " << r.psi << " " << r.phi;
    }
}

// A missile at 1,000 m heading north, pitched up 10 degrees, guided at plane 1:
// a target 1,000 m ahead and 1,000 m above lies 45 degrees up (35 above the
// nose); one 1,000 m east and 1,000 m below lies at a bearing of 90 and 45
// degrees down (55 below the nose).
TEST_F(WeaponMotion, GuidanceBearingAndElevationErrors)
{
    struct row {
        float tx, ty, tz;
        float hdg_err, pitch_err;
    };
    const row rows[] = {
        {0.0f, 2000.0f, -1000.0f, 0.0f, 35.0f},
        {1000.0f, 0.0f, 0.0f, 90.0f, -55.0f},
    };
    sim_graphics_settings.draw_aircrafts = 2;
    sim_cockpit_weapons.plane_target_index = 1;
    for (const row& r : rows) {
        wpn_slot_record& w = released_bomb();
        w.wpn_type = WPN_KIND_MISSILE_FIRST;
        w.wpn_theta = 10.0f;
        flt[1].local_x = r.tx, flt[1].local_y = r.ty, flt[1].local_z = r.tz;
        WPN_fire_and_fly();
        EXPECT_NEAR(w.wpn_hdg_err, r.hdg_err, 1e-3f) << r.tx;
        EXPECT_NEAR(w.wpn_pitch_err, r.pitch_err, 1e-3f) << r.tx;
    }
}
