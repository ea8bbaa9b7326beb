// The plane state record: a fixed 200-byte snapshot of one plane (50 words of
// 32 bits, no header). It is the payload of the "SNAP" datagram, the element of
// the replay ring of the user's plane and the store that keeps the user's plane
// while a replay runs. Words are in the packing machine's byte order. The
// flight model packs and unpacks it (flightmodel/plane_state.h).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PLANE_STATE_WORDS = 50;
constexpr int PLANE_STATE_BYTES = 200;

struct plane_state_record {
    float network_time_sec;        // 0   network clock, seconds
    int32_t ref_point;             // 1   S_lat*1e6 + A_lat*1e4 + S_lon*1e3 + A_lon (S: 1 negative, 2 otherwise)
    int32_t flags;                 // 2   flag bits (PSR_FLAG_...)
    int32_t controls;              // 3   q100 pitch, roll, yaw, flap ratio (2 digits each)
    int32_t sweep_trim;            // 4   q100 sweep, q100 elevator trim, jettison, nose-wheel steer + 50
    int32_t vector_cant[2];        // 5-6 engine 0, 1: thrust-vector angle*1000 + side cant (degrees 0..359)
    int32_t disc_tilt[2];          // 7-8 rotor 0, 1: elevator disc tilt*1000 + aileron disc tilt
    int32_t gear[6];               // 9-14 tire locked*1e9 + deploy(%)*1e6 + deflection(mm)
    int32_t speeds;                // 15  indicated airspeed*1000 + nose-wheel speed
    int32_t turn_slip;             // 16  turn needle code*1000 + slip code
    int32_t radios[2];             // 17-18 navN_freq_hz*1000 + adfN_freq_hz
    float local_x, local_y, local_z;       // 19-21
    float local_vx, local_vy, local_vz;    // 22-24
    float theta, psi, phi;                 // 25-27 degrees
    float ship_x0, ship_z0;                // 28-29 the carrier
    float ship_x1, ship_z1;                // 30-31 the frigate
    int32_t ship_headings;                 // 32  carrier tenths*10000 + frigate tenths
    float engine_thro_tac[8];              // 33-40 throttle%*1000 + propeller rad/s
    int32_t engine_fail_jet[8];            // 41-48 failure state*10000 + (DVinc + 5000)
    int32_t ice;                           // 49  pitot ice code*1000 + window ice code
};
static_assert(sizeof(plane_state_record) == PLANE_STATE_BYTES);
static_assert(offsetof(plane_state_record, ref_point) == 4);
static_assert(offsetof(plane_state_record, vector_cant) == 20);
static_assert(offsetof(plane_state_record, gear) == 36);
static_assert(offsetof(plane_state_record, radios) == 68);
static_assert(offsetof(plane_state_record, local_x) == 76);
static_assert(offsetof(plane_state_record, local_vx) == 88);
static_assert(offsetof(plane_state_record, theta) == 100);
static_assert(offsetof(plane_state_record, ship_x0) == 112);
static_assert(offsetof(plane_state_record, ship_headings) == 128);
static_assert(offsetof(plane_state_record, engine_thro_tac) == 132);
static_assert(offsetof(plane_state_record, engine_fail_jet) == 164);
static_assert(offsetof(plane_state_record, ice) == 196);

// Flag word bits.
constexpr int32_t PSR_FLAG_ONGROUND_ANY = 1 << 0;
constexpr int32_t PSR_FLAG_SMOKING = 1 << 1;
constexpr int PSR_FLAG_RUNNING_BIT = 2;    // + engine
constexpr int PSR_FLAG_BURNING_BIT = 10;   // + engine
constexpr int32_t PSR_FLAG_NAV_LIGHTS = 1 << 18;
constexpr int32_t PSR_FLAG_BEACON_LIGHTS = 1 << 19;
constexpr int32_t PSR_FLAG_LANDING_LIGHTS = 1 << 20;
constexpr int32_t PSR_FLAG_STROBE_LIGHTS = 1 << 21;
constexpr int32_t PSR_FLAG_TAXI_LIGHT = 1 << 22;
constexpr int32_t PSR_FLAG_SPEEDBRAKE = 1 << 23;
