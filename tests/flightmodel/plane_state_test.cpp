#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "links/net_slots.h"
#include "world/ships.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/simvars.h"

namespace {

class PlaneState : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int p = 0; p < FLT_SLOTS; ++p) {
            std::memset(static_cast<void*>(&flt[p]), 0, sizeof(flt_struct));
            std::memset(static_cast<void*>(&pln[p]), 0, sizeof(acf_struct));
        }
        sim_network_misc = {};
        sim_cockpit_radios = {};
        sim_operation_override = {};
        for (int32_t& e : net_slot_enabled) e = 0;
        for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) ship_x[k] = ship_z[k] = ship_vx[k] = ship_vz[k] = ship_heading[k] = 0;
        sim_physics.earth_radius_m = 6378145.0f;
        sim_graphics_scenery.current_planet = 0;
        app_mode = 0;
        lat_ref = -33.0f, lon_ref = 151.0f;
    }
    void TearDown() override { lat_ref = lon_ref = 0.0f; }

    // A plane in slot 2 with a value in every packed field.
    static void fill_plane_2()
    {
        flt_struct& f = flt[2];
        acf_struct& a = pln[2];
        sim_network_misc.network_time_sec = 123.5f;
        f.onground_any = f.ENGN_running[0] = f.ENGN_running[1] = f.ENGN_burning[1] = 1;
        f.nav_lights_on = f.strobe_lights_on = 1, f.sbrkrqst = 0.5f;
        f.FC_ptch = 1.0f, f.FC_roll = -1.0f, f.FC_hdng = 0.0f, f.flaprat = 0.5f;
        f.swdi = 0.0f, f.elv_trim = -0.2f, f.m_jettison = 12.7f, f.nosewheel_steer = -7.5f;
        a.acf_vect_cant[0] = 90.7f, a.acf_sidecant[0] = -5.5f, a.acf_vect_cant[1] = 400.0f;
        f.cyclic_elev_disc_tilt[0] = -1.5f, f.cyclic_ailn_disc_tilt[0] = 2.9f;
        f.tire_locked[67] = 1, a.acf_gear_deploy[67] = 1.0f, a.acf_gear_def[67] = 0.1234f, a.acf_gear_deploy[68] = 0.25f;
        f.indicated_airspeed = 123.9f, f.nosewheel_speed = 45.2f, f.turnrate_roll = 54.0f, f.slip = -3.0f;
        sim_cockpit_radios.nav1_freq_hz = 11170, sim_cockpit_radios.adf1_freq_hz = 210;
        sim_cockpit_radios.nav2_freq_hz = 10850, sim_cockpit_radios.adf2_freq_hz = 1234;   // 4 digits: clamped
        f.local_x = 100.5f, f.local_y = 250.25f, f.local_z = -3000.75f;
        f.local_vx = 10.0f, f.local_vy = -1.5f, f.local_vz = -60.0f;
        f.theta = 5.5f, f.psi = 359.5f, f.phi = -20.0f;
        ship_x[0] = 1000.0f, ship_z[0] = -2000.0f, ship_x[1] = -500.0f, ship_z[1] = 800.0f;
        ship_heading[0] = 123.45f, ship_heading[1] = -10.0f;
        f.ENGN_thro_use[0] = 0.75f, f.POINT_tacrad[0] = 600.0f, f.ENGN_thro_use[1] = 1.0f, f.POINT_tacrad[1] = 1500.0f;
        f.failures[50] = 6, f.DVinc[0] = 12.3f, f.DVinc[1] = -6000.0f, f.pitot_ice = 0.5f, f.window_ice = 1.5f;
    }
};

uint32_t fbits(float v) { return std::bit_cast<uint32_t>(v); }

}  // namespace

TEST_F(PlaneState, PacksTheWordsWorkedOutByHandAndUnpacksEveryField)
{
    fill_plane_2();
    plane_state_record rec;
    PLANE_pack_state(rec, 2);

    // Word 1: S=1 (negative) 33, S=2 151. Word 2: bits 0, 2, 3, 11, 18, 21, 23. Word 3: 99 | 00 | 50 | 75.
    // Word 4: 50 | 40 | 12 | 42. Words 5-8: 90, -5 -> 355; 400 -> 40, 0; -1 -> 359, 2.
    // Words 9-10: locked, 100 %, 123 mm; 25 %. Word 16: trunc(109 * 999 / 110) = 989, trunc(12 * 33.3) = 399.
    // Word 32: 1234 tenths, -100 -> 3500. Words 33-34: 75 %, 600 rad/s; 100 %, 999.9 rad/s at most.
    // Words 41-42: state 6, 5012; state 0, -6000 + 5000 clamped to 0.
    const uint32_t expect[50] = {
        fbits(123.5f), 1332151, 10749965, 99005075, 50401242, 90355, 40000, 359002, 0, 1100000123, 25000000,
        0, 0, 0, 0, 123045, 989399, 11170210, 10850999,
        fbits(100.5f), fbits(250.25f), fbits(-3000.75f), fbits(10.0f), fbits(-1.5f), fbits(-60.0f),
        fbits(5.5f), fbits(359.5f), fbits(-20.0f), fbits(1000.0f), fbits(-2000.0f), fbits(-500.0f), fbits(800.0f),
        12343500, fbits(75600.0f), fbits(100999.9f), 0, 0, 0, 0, 0, 0,
        65012, 0, 5000, 5000, 5000, 5000, 5000, 5000, 499999};
    for (int w = 0; w < 50; ++w) {
        uint32_t got;
        std::memcpy(&got, reinterpret_cast<const unsigned char*>(&rec) + 4 * w, 4);
        EXPECT_EQ(got, expect[w]) << "word " << w;
        EXPECT_EQ(PLANE_state_word(rec, w), expect[w]) << "word " << w;
    }
    EXPECT_EQ(PLANE_state_word(rec, 50), 0u);

    // Unpacked into slot 0, every field comes back: slot 0 packs into the same words.
    sim_network_misc.network_time_sec = 0.0f;
    for (int k = 0; k < 2; ++k) ship_x[k] = ship_z[k] = ship_heading[k] = 0.0f;
    sim_cockpit_radios = {};
    pln[0].acf_part_eq[67] = pln[0].acf_part_eq[69] = 1;
    PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_REPLAY, 0);
    plane_state_record again;
    PLANE_pack_state(again, 0);
    for (int w = 0; w < 50; ++w) EXPECT_EQ(PLANE_state_word(again, w), expect[w]) << "word " << w;
}

TEST_F(PlaneState, ZeroReferenceCountsAsPositiveAndDigitFieldsNeverOverflow)
{
    lat_ref = 0.0f, lon_ref = -0.4f;
    flt[0].tire_locked[67] = 7;
    pln[0].acf_gear_deploy[67] = 50.0f;   // far beyond its three digits
    pln[0].acf_gear_def[67] = 1e9f;
    flt[0].failures[50] = 1000000;
    flt[0].ENGN_thro_use[0] = std::numeric_limits<float>::quiet_NaN();
    flt[0].indicated_airspeed = std::numeric_limits<float>::infinity();
    sim_cockpit_radios.nav1_freq_hz = std::numeric_limits<int32_t>::max();
    plane_state_record rec;
    PLANE_pack_state(rec, 0);
    EXPECT_EQ(rec.ref_point, 2 * 1000000 + 0 + 1 * 1000 + 0);
    EXPECT_EQ(rec.gear[0], 1999999999);
    EXPECT_EQ(rec.engine_fail_jet[0], 2147475000);
    EXPECT_EQ(rec.engine_thro_tac[0], 0.0f);
    EXPECT_EQ(rec.speeds, 999000);
    EXPECT_EQ(rec.radios[0], 2147482000);
}

TEST_F(PlaneState, UnpackGivesTheValuesOfTheDigitFields)
{
    fill_plane_2();
    plane_state_record rec;
    PLANE_pack_state(rec, 2);
    pln[0].acf_part_eq[67] = 1;
    PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_REPLAY, 0);
    // The values as the digit fields give them, and the fields filled from others.
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    EXPECT_FLOAT_EQ(f.FC_ptch, 0.98f);   // 1.0 packs as 99
    EXPECT_FLOAT_EQ(f.nosewheel_steer, -8.0f);
    EXPECT_FLOAT_EQ(a.acf_sidecant[0], 355.0f);
    EXPECT_FLOAT_EQ(a.acf_vect_cant[7], 90.0f);   // entries 2..7 copy entry 0
    EXPECT_FLOAT_EQ(f.cyclic_elev_disc_tilt[0], -1.0f);   // 359 -> -1
    EXPECT_FLOAT_EQ(a.acf_gear_def[67], 0.123f);
    EXPECT_NEAR(f.turnrate_roll, 54.0f, 110.0f / 999.0f);
    EXPECT_FLOAT_EQ(f.turnrate_noroll, f.turnrate_roll);
    EXPECT_FLOAT_EQ(f.tire_speed_term[67], 45.0f);
    EXPECT_FLOAT_EQ(f.tire_speed_term[68], 0.0f);   // not present
    EXPECT_DOUBLE_EQ(f.local_z_d, -3000.75);   // same reference point: the position is unchanged
    EXPECT_FLOAT_EQ(ship_heading[1], 350.0f);
    EXPECT_FLOAT_EQ(f.ENGN_tacrad[0], 600.0f);
    EXPECT_FLOAT_EQ(f.DVinc[1], -5000.0f);
}

TEST_F(PlaneState, BlendsTwoRecordsWithHeadingsAcrossNorth)
{
    plane_state_record a{}, b{};
    a.ref_point = b.ref_point = 1332151;
    a.network_time_sec = 10.0f, b.network_time_sec = 10.1f;
    a.psi = 350.0f, b.psi = 10.0f;
    a.theta = 170.0f, b.theta = -170.0f;
    a.phi = -90.0f, b.phi = 90.0f;
    a.local_x = 0.0f, b.local_x = 10.0f;
    a.controls = 50505050, b.controls = 99000000;
    a.engine_thro_tac[0] = 50000.0f, b.engine_thro_tac[0] = 70200.0f;
    a.ship_headings = 3590 * 10000, b.ship_headings = 10 * 10000;

    PLANE_unpack_state(a, b, 0.5f, PLANE_UNPACK_REPLAY, 0);
    const flt_struct& f = flt[0];
    EXPECT_FLOAT_EQ(f.psi, 360.0f);
    EXPECT_FLOAT_EQ(f.theta, 180.0f);
    EXPECT_FLOAT_EQ(f.phi, 0.0f);
    EXPECT_FLOAT_EQ(f.local_x, 5.0f);
    EXPECT_FLOAT_EQ(sim_network_misc.network_time_sec, 10.05f);
    EXPECT_FLOAT_EQ(f.FC_ptch, (74.5f - 50.0f) / 50.0f);
    EXPECT_FLOAT_EQ(f.POINT_tacrad[0], 100.0f);
    EXPECT_FLOAT_EQ(ship_heading[0], 180.0f);   // ship headings blend as plain numbers

    PLANE_unpack_state(a, b, 0.25f, PLANE_UNPACK_REPLAY, 0);
    EXPECT_FLOAT_EQ(f.psi, 355.0f);
    PLANE_unpack_state(b, a, 0.75f, PLANE_UNPACK_REPLAY, 0);
    EXPECT_FLOAT_EQ(f.psi, 355.0f);
}

TEST_F(PlaneState, NetworkRecordsSteerOrJumpAndKeepTheUsersRadios)
{
    plane_state_record rec{};
    rec.ref_point = 1332151, rec.network_time_sec = 100.0f, rec.radios[0] = 11170210, rec.ship_x0 = 100.0f;
    rec.local_x = 50.0f, rec.local_vx = 20.0f, rec.psi = 10.0f, rec.theta = 10.0f, rec.phi = -170.0f;
    flt[3].psi = 350.0f, flt[3].theta = 4.0f, flt[3].phi = 170.0f;
    sim_cockpit_radios.nav1_freq_hz = 10800, sim_network_misc.network_time_sec = 90.0f;
    auto unpack = [&] { PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_NETWORK, 3); };

    unpack();
    EXPECT_FLOAT_EQ(flt[3].local_x, 0.0f);          // close: not moved ...
    EXPECT_FLOAT_EQ(flt[3].local_vx, 20.0f + 25.0f);   // ... but steered
    EXPECT_FLOAT_EQ(flt[3].R, 10.0f);               // half of +20 across north
    EXPECT_FLOAT_EQ(flt[3].Q, 3.0f);                // half of 10 - 4
    EXPECT_FLOAT_EQ(flt[3].P, 10.0f);               // half of -170 - 170 = -340, i.e. +20
    EXPECT_FLOAT_EQ(flt[3].psi, 350.0f);
    EXPECT_FLOAT_EQ(sim_network_misc.network_time_sec, 90.1f);
    EXPECT_EQ(sim_cockpit_radios.nav1_freq_hz, 10800);   // slot 3 leaves the radios alone
    EXPECT_FLOAT_EQ(ship_x[0], 0.0f);
    EXPECT_FLOAT_EQ(ship_vx[0], 10.0f);

    rec.local_x = 1500.0f;
    unpack();
    EXPECT_DOUBLE_EQ(flt[3].local_x_d, 1500.0);   // far: jumps

    // A master machine moves the slot: everything is taken as it comes, but
    // role 9 keeps the failure states.
    net_slot_enabled[9] = 1, flt[3].failures[50] = 3;
    rec.engine_fail_jet[0] = 60000, rec.local_x = 7.0f;
    unpack();
    EXPECT_FLOAT_EQ(flt[3].local_x, 7.0f);
    EXPECT_FLOAT_EQ(flt[3].psi, 10.0f);
    EXPECT_FLOAT_EQ(sim_network_misc.network_time_sec, 100.0f);
    EXPECT_EQ(flt[3].failures[50], 3);
    net_slot_enabled[9] = 0;
    unpack();
    EXPECT_EQ(flt[3].failures[50], 6);
}

TEST_F(PlaneState, OnTheFailuresScreenRecordsLeaveTheEngineFailuresAlone)
{
    plane_state_record rec{};
    rec.ref_point = 1332151;
    rec.engine_fail_jet[0] = 6 * 10000 + 5100;   // failed, DVinc 100
    flt[0].failures[50] = 2, flt[0].DVinc[0] = 7.0f;
    app_mode = MODE_FAILURES;
    PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_REPLAY, 0);
    EXPECT_EQ(flt[0].failures[50], 2);
    EXPECT_FLOAT_EQ(flt[0].DVinc[0], 7.0f);
    app_mode = 0;
    PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_REPLAY, 0);
    EXPECT_EQ(flt[0].failures[50], 6);
    EXPECT_FLOAT_EQ(flt[0].DVinc[0], 100.0f);
}

TEST_F(PlaneState, RebasesAPositionTakenAboutAnotherReferencePoint)
{
    float x = 1000.0f, y = 50.0f, z = -2000.0f, la = -33.05f, lo = 151.05f;
    PLANE_rebase_position(x, y, z, la, lo);   // within 0.1 degree: unchanged
    EXPECT_FLOAT_EQ(x, 1000.0f);
    EXPECT_FLOAT_EQ(la, -33.05f);

    // 0.15 degree off in latitude is past the tolerance: re-based, about 16.7 km moved.
    x = 1000.0f, y = 50.0f, z = -2000.0f, la = -33.15f, lo = 151.0f;
    PLANE_rebase_position(x, y, z, la, lo);
    EXPECT_FLOAT_EQ(la, -33.0f);
    EXPECT_GT(std::hypot(x - 1000.0f, z + 2000.0f), 16000.0f);
    lat_ref = -33.0f, lon_ref = 151.0f;

    // The point as taken about the record's reference.
    float rlat = -32.0f, rlon = 151.0f;
    lat_ref = rlat, lon_ref = rlon;
    float glat, glon, gelev;
    GEO_local_to_latlon(glat, glon, gelev, 1000.0, 50.0, -2000.0);
    lat_ref = -33.4f, lon_ref = 149.6f;
    x = 1000.0f, y = 50.0f, z = -2000.0f;
    PLANE_rebase_position(x, y, z, rlat, rlon);
    EXPECT_FLOAT_EQ(lat_ref, -33.0f);   // the local reference ends in whole degrees
    EXPECT_FLOAT_EQ(lon_ref, 150.0f);
    EXPECT_FLOAT_EQ(rlat, -33.0f);
    EXPECT_FLOAT_EQ(rlon, 150.0f);
    float blat, blon, belev;
    GEO_local_to_latlon(blat, blon, belev, x, y, z);
    EXPECT_NEAR(blat, glat, 1e-4f);
    EXPECT_NEAR(blon, glon, 1e-4f);
    EXPECT_NEAR(belev, gelev, 0.5f);
}

TEST_F(PlaneState, RecordsWithAnyBitPatternUnpackSafely)
{
    UTIL_srand(4242);
    const uint32_t specials[] = {0x7fc00000u, 0xff800000u, 0x7f800000u, 0x7f7fffffu, 0xff7fffffu,
                                 0x80000000u, 0x7fffffffu, 0xffffffffu, 0x00000001u, 0x4f000000u};
    auto random_word = [&]() -> uint32_t {
        if (UTIL_rand() % 4 == 0) return specials[UTIL_rand() % 10];
        return (static_cast<uint32_t>(UTIL_rand()) << 17) ^ (static_cast<uint32_t>(UTIL_rand()) << 2) ^
               static_cast<uint32_t>(UTIL_rand());
    };
    pln[4].acf_part_eq[70] = 1;
    const std::vector<unsigned char> before_1(reinterpret_cast<unsigned char*>(&flt[1]),
                                              reinterpret_cast<unsigned char*>(&flt[1]) + sizeof(flt_struct));
    for (int round = 0; round < 300; ++round) {
        plane_state_record a, b;
        for (int w = 0; w < 50; ++w) {
            PLANE_set_state_word(a, w, random_word());
            PLANE_set_state_word(b, w, random_word());
        }
        float frac;
        const uint32_t fb = random_word();
        std::memcpy(&frac, &fb, 4);
        if (round % 3 == 0) frac = 0.5f;
        net_slot_enabled[9] = round % 7 == 0;
        sim_operation_override.override_planepath[4] = round % 5 == 0;
        lat_ref = -33.0f, lon_ref = 151.0f;
        PLANE_unpack_state(a, b, frac, round % 2, 4);
        for (int e = 0; e < 8; ++e) {
            ASSERT_GE(flt[4].failures[50 + e], 0);
            ASSERT_LE(flt[4].failures[50 + e], 6);
        }
        ASSERT_TRUE(std::isfinite(sim_network_misc.network_time_sec));
        ASSERT_TRUE(std::isfinite(flt[4].local_x));
        ASSERT_TRUE(std::isfinite(flt[4].psi));
        plane_state_record again;
        PLANE_pack_state(again, 4);   // whatever was unpacked packs again
    }
    EXPECT_EQ(std::memcmp(before_1.data(), &flt[1], sizeof(flt_struct)), 0);

    // Slots outside 0..9 are ignored.
    plane_state_record rec{};
    rec.local_x = 9.0f;
    for (int p : {-1, 10, std::numeric_limits<int>::min()}) PLANE_unpack_state(rec, rec, 0.0f, 0, p);
    PLANE_pack_state(rec, 10);
    EXPECT_EQ(PLANE_state_word(rec, 19), 0u);
}
