#include "flightmodel/plane_state.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_override.h"
#include "flightmodel/weapons/weapons.h"
#include "links/net_slots.h"
#include "world/ships.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/app_mode.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/network.h"

namespace {

constexpr int NET_ROLE_MASTER_IOS = 9;   // while enabled, records do not set engine failure states

// ---------------------------------------------------------------------------
// Quantisation. Every float-to-integer conversion goes through trunc_clamp, so
// NaN, infinities and huge values never reach an undefined conversion.

// trunc(v) limited to lo..hi; NaN counts as 0.
int64_t trunc_clamp(double v, int64_t lo, int64_t hi)
{
    if (std::isnan(v)) v = 0.0;
    if (v <= static_cast<double>(lo)) return lo;
    if (v >= static_cast<double>(hi)) return hi;
    return static_cast<int64_t>(v);
}

// Nearest integer, halves away from zero, limited to lo..hi.
int64_t nearest_clamp(double v, int64_t lo, int64_t hi)
{
    if (std::isnan(v)) v = 0.0;
    return trunc_clamp(v >= 0.0 ? v + 0.5 : v - 0.5, lo, hi);
}

// A control of range -1..1 in steps of 0.02: 0..99.
int64_t q100(float v) { return trunc_clamp(50.0f * v + 50.0f, 0, 99); }

// trunc(v) brought into 0..n-1 (n = 360 or 3600); non-finite values give 0.
int64_t wrap_trunc(double v, double n) { return static_cast<int64_t>(UTIL_wrap_floor(std::trunc(v), n)); }

int32_t to_word(int64_t v)
{
    // The fields are clamped so that every sum fits; this guards the rest.
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Sign digit of a reference coordinate: 1 negative, 2 zero or positive.
int64_t sign_digit(float v) { return v < 0.0f ? 1 : 2; }

// ---------------------------------------------------------------------------
// Angles.

// Brought into [-180, 180] or [0, 360] by whole turns, as repeated +-360
// would; a value already there stays exactly as it is, and non-finite values
// are returned unchanged.
float wrap_pm180(float x) { return std::isfinite(x) ? UTIL_wrap_pm180(x) : x; }
float wrap_0_360(float x) { return std::isfinite(x) ? UTIL_wrap_between(x, 0.0f, 360.0f) : x; }

float blend(float a, float b, float f) { return a + f * (b - a); }
float blend_angle(float a, float b, float f) { return a + f * wrap_pm180(b - a); }

// A record's float, or the fallback when it holds NaN, infinity or a
// magnitude no plane state reaches (beyond which blends could overflow). A
// record from a datagram is taken as it comes otherwise; such a value would
// stay in the plane's position, attitude or clock for good.
constexpr float PLAUSIBLE_MAGNITUDE = 1e30f;
float finite_or(float v, float fallback) { return std::fabs(v) <= PLAUSIBLE_MAGNITUDE ? v : fallback; }

// ---------------------------------------------------------------------------
// A record decoded into its fields (before blending).

struct decoded_state {
    float time;
    float ref_lat, ref_lon;              // signed whole degrees
    int32_t flags;
    float ctl[4];                        // codes of FC_ptch, FC_roll, FC_hdng, flaprat
    float swdi, elv_trim, jettison, nws; // codes
    float vect[2], cant[2], tilt_elev[2], tilt_ailn[2];
    int32_t tire_locked[6];
    float deploy[6], def[6];             // codes
    float ias, nws_speed, turn, slip;    // codes
    int32_t nav[2], adf[2];
    float pos[3], vel[3], att[3];
    float ship_x[2], ship_z[2];
    float ship_tenths[2];
    float thro[8], tac[8];
    float dvinc[8];
    int32_t fail[8];
    int32_t pitot, window;
};

void decode(const plane_state_record& r, const flt_struct& cur, decoded_state& d)
{
    d.time = finite_or(r.network_time_sec, sim_network_misc.network_time_sec);

    const int32_t w1 = r.ref_point;
    const int32_t s_lat = w1 / 1000000, a_lat = (w1 / 10000) % 100;
    const int32_t s_lon = (w1 / 1000) % 10, a_lon = w1 % 1000;
    d.ref_lat = static_cast<float>(s_lat == 2 ? a_lat : -a_lat);
    d.ref_lon = static_cast<float>(s_lon == 2 ? a_lon : -a_lon);

    d.flags = r.flags;
    d.ctl[0] = static_cast<float>(r.controls / 1000000);
    d.ctl[1] = static_cast<float>((r.controls / 10000) % 100);
    d.ctl[2] = static_cast<float>((r.controls / 100) % 100);
    d.ctl[3] = static_cast<float>(r.controls % 100);
    d.swdi = static_cast<float>(r.sweep_trim / 1000000);
    d.elv_trim = static_cast<float>((r.sweep_trim / 10000) % 100);
    d.jettison = static_cast<float>((r.sweep_trim / 100) % 100);
    d.nws = static_cast<float>(r.sweep_trim % 100);

    for (int k = 0; k < 2; ++k) {
        d.vect[k] = static_cast<float>(r.vector_cant[k] / 1000);
        d.cant[k] = static_cast<float>(r.vector_cant[k] % 1000);
        d.tilt_elev[k] = static_cast<float>(r.disc_tilt[k] / 1000);
        d.tilt_ailn[k] = static_cast<float>(r.disc_tilt[k] % 1000);
    }
    for (int g = 0; g < 6; ++g) {
        d.tire_locked[g] = r.gear[g] / 1000000000;
        d.deploy[g] = static_cast<float>((r.gear[g] / 1000000) % 1000);
        d.def[g] = static_cast<float>(r.gear[g] % 1000000);
    }
    d.ias = static_cast<float>(r.speeds / 1000);
    d.nws_speed = static_cast<float>(r.speeds % 1000);
    d.turn = static_cast<float>(r.turn_slip / 1000);
    d.slip = static_cast<float>(r.turn_slip % 1000);
    for (int k = 0; k < 2; ++k) {
        d.nav[k] = r.radios[k] / 1000;
        d.adf[k] = r.radios[k] % 1000;
    }

    const float pos[3] = {r.local_x, r.local_y, r.local_z};
    const float vel[3] = {r.local_vx, r.local_vy, r.local_vz};
    const float att[3] = {r.theta, r.psi, r.phi};
    const float cur_pos[3] = {cur.local_x, cur.local_y, cur.local_z};
    const float cur_vel[3] = {cur.local_vx, cur.local_vy, cur.local_vz};
    const float cur_att[3] = {cur.theta, cur.psi, cur.phi};
    for (int k = 0; k < 3; ++k) {
        d.pos[k] = finite_or(pos[k], cur_pos[k]);
        d.vel[k] = finite_or(vel[k], cur_vel[k]);
        d.att[k] = finite_or(att[k], cur_att[k]);
    }
    d.ship_x[0] = finite_or(r.ship_x0, ship_x[SHIP_CARRIER]);
    d.ship_z[0] = finite_or(r.ship_z0, ship_z[SHIP_CARRIER]);
    d.ship_x[1] = finite_or(r.ship_x1, ship_x[SHIP_FRIGATE]);
    d.ship_z[1] = finite_or(r.ship_z1, ship_z[SHIP_FRIGATE]);
    d.ship_tenths[0] = static_cast<float>(r.ship_headings / 10000);
    d.ship_tenths[1] = static_cast<float>(r.ship_headings % 10000);

    for (int e = 0; e < 8; ++e) {
        const float v = r.engine_thro_tac[e];
        if (std::isfinite(v)) {
            const int64_t code = trunc_clamp(v / 1000.0f, -999999, 999999);
            d.thro[e] = static_cast<float>(code);
            d.tac[e] = v - 1000.0f * static_cast<float>(code);
        } else {
            // A word that is not a number would make the throttle and the
            // propeller speed NaN; the slot keeps its own.
            d.thro[e] = 100.0f * cur.ENGN_thro_use[e];
            d.tac[e] = cur.POINT_tacrad[e];
        }
        d.dvinc[e] = static_cast<float>(r.engine_fail_jet[e] % 10000 - 5000);
        // Failure states are 0..6: a state from a datagram outside them would
        // put into the failure table a state that neither the failure model nor
        // the failures screen has, so it is brought into range.
        const int32_t f = r.engine_fail_jet[e] / 10000;
        d.fail[e] = f < 0 ? 0 : (f > FAILURE_STATE_FAILED ? FAILURE_STATE_FAILED : f);
    }
    d.pitot = r.ice / 1000;
    d.window = r.ice % 1000;
}

}  // namespace

// ---------------------------------------------------------------------------

uint32_t PLANE_state_word(const plane_state_record& rec, int k)
{
    if (k < 0 || k >= PLANE_STATE_WORDS) return 0;
    uint32_t w;
    std::memcpy(&w, reinterpret_cast<const unsigned char*>(&rec) + 4 * k, 4);
    return w;
}

void PLANE_set_state_word(plane_state_record& rec, int k, uint32_t bits)
{
    if (k < 0 || k >= PLANE_STATE_WORDS) return;
    std::memcpy(reinterpret_cast<unsigned char*>(&rec) + 4 * k, &bits, 4);
}

void PLANE_pack_state(plane_state_record& rec, int p)
{
    // A slot outside 0..9 would read past the plane records: such a call
    // leaves an empty record.
    rec = plane_state_record{};
    if (p < 0 || p >= FLT_SLOTS) return;
    const flt_struct& f = flt[p];
    const acf_struct& a = pln[p];

    rec.network_time_sec = sim_network_misc.network_time_sec;
    rec.ref_point = to_word(sign_digit(lat_ref) * 1000000 + nearest_clamp(std::fabs(lat_ref), 0, 99) * 10000 +
                            sign_digit(lon_ref) * 1000 + nearest_clamp(std::fabs(lon_ref), 0, 999));

    int64_t flags = 0;
    auto flag = [&](int32_t set, int64_t bit) { if (set != 0) flags |= bit; };
    flag(f.onground_any, PSR_FLAG_ONGROUND_ANY);
    flag(f.smoking, PSR_FLAG_SMOKING);
    for (int e = 0; e < FLT_ENGINES; ++e) {
        flag(f.ENGN_running[e], int64_t{1} << (PSR_FLAG_RUNNING_BIT + e));
        flag(f.ENGN_burning[e], int64_t{1} << (PSR_FLAG_BURNING_BIT + e));
    }
    flag(f.nav_lights_on, PSR_FLAG_NAV_LIGHTS);
    flag(f.beacon_lights_on, PSR_FLAG_BEACON_LIGHTS);
    flag(f.landing_lights_on, PSR_FLAG_LANDING_LIGHTS);
    flag(f.strobe_lights_on, PSR_FLAG_STROBE_LIGHTS);
    flag(f.taxi_light_on, PSR_FLAG_TAXI_LIGHT);
    flag(f.sbrkrqst > 0.0f, PSR_FLAG_SPEEDBRAKE);
    rec.flags = to_word(flags);

    rec.controls = to_word(q100(f.FC_ptch) * 1000000 + q100(f.FC_roll) * 10000 + q100(f.FC_hdng) * 100 +
                           q100(f.flaprat));
    rec.sweep_trim = to_word(q100(f.swdi) * 1000000 + q100(f.elv_trim) * 10000 +
                             trunc_clamp(f.m_jettison, 0, 99) * 100 + trunc_clamp(f.nosewheel_steer + 50.0f, 0, 99));

    for (int k = 0; k < 2; ++k) {
        rec.vector_cant[k] =
            to_word(wrap_trunc(a.thrust_vector_angle[k], 360.0) * 1000 + wrap_trunc(a.acf_sidecant[k], 360.0));
        rec.disc_tilt[k] = to_word(wrap_trunc(f.cyclic_elev_disc_tilt[k], 360.0) * 1000 +
                                   wrap_trunc(f.cyclic_ailn_disc_tilt[k], 360.0));
    }
    // The gear and radio fields are bounded to their digits: a negative strut
    // deflection (a wheel off the ground), a locked flag above 1 or an ADF
    // frequency of 1000 and more would borrow from the next field's digits and
    // unpack as a different deployment or NAV frequency.
    for (int g = 0; g < FLT_GEAR_COUNT; ++g) {
        const int part = FLT_FIRST_GEAR_PART + g;
        rec.gear[g] = to_word(int64_t{f.tire_locked[part] != 0} * 1000000000 +
                              nearest_clamp(a.acf_gear_deploy[part] * 100.0f, 0, 999) * 1000000 +
                              nearest_clamp(a.acf_gear_def[part] * 1000.0f, 0, 999999));
    }
    rec.speeds = to_word(trunc_clamp(f.indicated_airspeed, 0, 999) * 1000 + trunc_clamp(f.nosewheel_speed, 0, 999));
    const int64_t turn = trunc_clamp((f.turnrate_roll + 55.0f) * 999.0f / 110.0f, 0, 999);
    const int64_t slip = trunc_clamp((f.slip + 15.0f) * 33.3f, 0, 999);
    rec.turn_slip = to_word(turn * 1000 + slip);

    const sim_cockpit_radios_block& radio = sim_cockpit_radios;
    rec.radios[0] = to_word(std::min<int64_t>(std::max<int64_t>(radio.nav1_freq_hz, 0), 2147482) * 1000 +
                            std::min<int64_t>(std::max<int64_t>(radio.adf1_freq_hz, 0), 999));
    rec.radios[1] = to_word(std::min<int64_t>(std::max<int64_t>(radio.nav2_freq_hz, 0), 2147482) * 1000 +
                            std::min<int64_t>(std::max<int64_t>(radio.adf2_freq_hz, 0), 999));

    rec.local_x = f.local_x;
    rec.local_y = f.local_y;
    rec.local_z = f.local_z;
    rec.local_vx = f.local_vx;
    rec.local_vy = f.local_vy;
    rec.local_vz = f.local_vz;
    rec.theta = f.theta;
    rec.psi = f.psi;
    rec.phi = f.phi;
    rec.ship_x0 = ship_x[SHIP_CARRIER];
    rec.ship_z0 = ship_z[SHIP_CARRIER];
    rec.ship_x1 = ship_x[SHIP_FRIGATE];
    rec.ship_z1 = ship_z[SHIP_FRIGATE];
    rec.ship_headings = to_word(wrap_trunc(ship_heading[SHIP_CARRIER] * 10.0f, 3600.0) * 10000 +
                                wrap_trunc(ship_heading[SHIP_FRIGATE] * 10.0f, 3600.0));

    for (int e = 0; e < FLT_ENGINES; ++e) {
        const float tac = std::isnan(f.POINT_tacrad[e]) ? 0.0f
                          : f.POINT_tacrad[e] < 0.0f    ? 0.0f
                          : f.POINT_tacrad[e] > 999.9f  ? 999.9f
                                                        : f.POINT_tacrad[e];
        rec.engine_thro_tac[e] =
            static_cast<float>(nearest_clamp(f.ENGN_thro_use[e] * 100.0f, 0, 999)) * 1000.0f + tac;
        const int64_t state = std::min<int64_t>(std::max<int64_t>(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE + e], 0), 214747);
        rec.engine_fail_jet[e] = to_word(state * 10000 + trunc_clamp(f.DVinc[e] + 5000.0f, 0, 9999));
    }
    rec.ice = to_word(trunc_clamp(f.pitot_ice * 999.0f, 0, 999) * 1000 + trunc_clamp(f.window_ice * 999.0f, 0, 999));
}

namespace {

// From the frame a record was taken in (its reference point) to ours: the
// two frames' centres, degrees.
struct frame_move {
    bool needed = false;
    double from_lat = 0.0, from_lon = 0.0, to_lat = 0.0, to_lon = 0.0;
};

frame_move move_from(float ref_lat, float ref_lon)
{
    const float dlat = lat_ref - ref_lat;
    float dlon = lon_ref - ref_lon;
    // A reference that is not a number would make the position NaN; the
    // position is then left as it is.
    if (!std::isfinite(dlat) || !std::isfinite(dlon)) return {};
    dlon = UTIL_wrap_pm180(dlon);
    // Latitudes are not wrapped: a reference past a pole (-91, the area
    // centred on the South Pole) is a place of its own, and wrapped, a copy
    // at one pole would read a record from the other as taken about itself.
    if (std::fabs(dlat) <= 0.1f && std::fabs(dlon) <= 0.1f) return {};
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    frame_move m;
    m.needed = true;
    m.from_lat = static_cast<double>(lat_ref - dlat) + reference_lat_offset[planet];
    m.from_lon = static_cast<double>(lon_ref - dlon) + reference_lon_offset[planet];
    // The local reference, kept in whole degrees.
    m.to_lat = GEO_round(lat_ref) + static_cast<double>(reference_lat_offset[planet]);
    m.to_lon = GEO_round(lon_ref) + static_cast<double>(reference_lon_offset[planet]);
    return m;
}

// A point of the record's frame in ours, in double precision (a position far
// out keeps its centimetres).
void carry(const frame_move& m, double x, double y, double z, double out[3])
{
    const geo_point g = GEO_local_to_latlon_about(m.from_lat, m.from_lon, x, y, z);
    GEO_latlon_to_local_about(m.to_lat, m.to_lon, g, out[0], out[1], out[2]);
}

// The heading, degrees, of a plane at (x, y, z) of the record's frame with
// heading psi there, once its place is `at` in ours: where a point ahead of
// it lands gives the way it points.
float carried_heading(const frame_move& m, double x, double y, double z, const double at[3], float psi)
{
    constexpr double AHEAD_M = 100.0;
    const double heading = static_cast<double>(psi) * DEG_TO_RAD_DOUBLE;
    if (!std::isfinite(heading)) return psi;
    double ahead[3];
    carry(m, x + AHEAD_M * std::sin(heading), y, z - AHEAD_M * std::cos(heading), ahead);
    return static_cast<float>(std::atan2(ahead[0] - at[0], -(ahead[2] - at[2])) * RAD_TO_DEG_DOUBLE);
}

// Takes the geographic position about the record's reference point and
// expresses it about the local one.
void rebase_point(const frame_move& m, float& x, float& y, float& z)
{
    double p[3];
    carry(m, x, y, z, p);
    x = static_cast<float>(p[0]);
    y = static_cast<float>(p[1]);
    z = static_cast<float>(p[2]);
}

}  // namespace

void PLANE_rebase_position(float& x, float& y, float& z, float& lat_ref_in, float& lon_ref_in)
{
    const frame_move m = move_from(lat_ref_in, lon_ref_in);
    if (!m.needed) return;
    rebase_point(m, x, y, z);
    lon_ref = static_cast<float>(GEO_round(lon_ref));
    lat_ref = static_cast<float>(GEO_round(lat_ref));
    lat_ref_in = lat_ref;
    lon_ref_in = lon_ref;
}

void PLANE_carry_pose(double from_lat, double from_lon, double to_lat, double to_lon, float& x, float& y, float& z,
                      float& psi)
{
    frame_move m;
    m.needed = true;
    m.from_lat = from_lat, m.from_lon = from_lon, m.to_lat = to_lat, m.to_lon = to_lon;
    double at[3];
    carry(m, x, y, z, at);
    psi = carried_heading(m, x, y, z, at, psi);
    x = static_cast<float>(at[0]);
    y = static_cast<float>(at[1]);
    z = static_cast<float>(at[2]);
}

namespace {

// A record taken about another reference point, re-expressed in the local
// frame: its position, and the velocity and heading with it. The frames'
// axes differ by the angle between their norths at the plane (near a pole,
// anything up to a half turn): left as they were, the velocity would send
// the plane off the way it is not going and the heading point elsewhere.
void rebase_record(decoded_state& d)
{
    const frame_move m = move_from(d.ref_lat, d.ref_lon);
    if (!m.needed) return;
    const double x = d.pos[0], y = d.pos[1], z = d.pos[2];
    double at[3], moved[3];
    carry(m, x, y, z, at);
    carry(m, x + d.vel[0], y + d.vel[1], z + d.vel[2], moved);
    d.att[1] = carried_heading(m, x, y, z, at, d.att[1]);
    for (int k = 0; k < 3; ++k) {
        d.pos[k] = static_cast<float>(at[k]);
        d.vel[k] = static_cast<float>(moved[k] - at[k]);
    }
    lon_ref = static_cast<float>(GEO_round(lon_ref));
    lat_ref = static_cast<float>(GEO_round(lat_ref));
    d.ref_lat = lat_ref;
    d.ref_lon = lon_ref;
}

}  // namespace

void PLANE_unpack_state(plane_state_record a, plane_state_record b, float frac, int mode, int p)
{
    // A slot outside 0..9 (named by a datagram) would write past the plane
    // records: the record is dropped.
    if (p < 0 || p >= FLT_SLOTS) return;
    flt_struct& f = flt[p];
    acf_struct& acf = pln[p];
    // The callers' blend factor lies between the two records (0..1). One that
    // is not a number, or far outside, would make every blended value NaN or
    // infinite, so it is kept within the two records.
    if (!(frac >= 0.0f)) frac = 0.0f;
    if (frac > 1.0f) frac = 1.0f;

    decoded_state da{}, db{};
    decode(a, f, da);
    decode(b, f, db);

    // Record a's position, velocity and heading about its reference point,
    // re-expressed locally.
    rebase_record(da);
    for (int k = 0; k < 3; ++k) da.pos[k] = finite_or(da.pos[k], db.pos[k]);

    // Flags of record a, from bit 23 down.
    int64_t rest = da.flags;
    auto take = [&](int bit) {
        const int64_t value = int64_t{1} << bit;
        if (rest >= value) {
            rest -= value;
            return 1;
        }
        return 0;
    };
    f.sbrkrqst = take(23) ? 1.0f : 0.0f;
    f.taxi_light_on = take(22);
    f.strobe_lights_on = take(21);
    f.landing_lights_on = take(20);
    f.beacon_lights_on = take(19);
    f.nav_lights_on = take(18);
    for (int e = 7; e >= 0; --e) f.ENGN_burning[e] = take(PSR_FLAG_BURNING_BIT + e);
    for (int e = 7; e >= 0; --e) f.ENGN_running[e] = take(PSR_FLAG_RUNNING_BIT + e);
    f.smoking = take(1);
    f.onground_any = rest > 0 ? 1 : 0;

    // Attitude.
    const float theta = wrap_pm180(blend_angle(da.att[0], db.att[0], frac));
    const float psi = wrap_0_360(blend_angle(da.att[1], db.att[1], frac));
    const float phi = wrap_pm180(blend_angle(da.att[2], db.att[2], frac));

    // Position, velocity and time.
    float& clock = sim_network_misc.network_time_sec;
    float* pos[3] = {&f.local_x, &f.local_y, &f.local_z};
    double* pos_d[3] = {&f.local_x_d, &f.local_y_d, &f.local_z_d};
    float* vel[3] = {&f.local_vx, &f.local_vy, &f.local_vz};
    // The integrator works on the double-precision words, so a position
    // written here is written to both: written to the single words alone, the
    // next integration half-step of a plane under its own physics (the user's
    // plane after a replay, or jumped by a peer's record) would copy the old
    // doubles back over it and the move would be lost.
    auto set_pos = [&](int k, float v) {
        *pos[k] = v;
        *pos_d[k] = v;
    };
    if (mode == PLANE_UNPACK_REPLAY) {
        f.theta = theta;
        f.psi = psi;
        f.phi = phi;
        clock = blend(da.time, db.time, frac);
        for (int k = 0; k < 3; ++k) {
            set_pos(k, blend(da.pos[k], db.pos[k], frac));
            *vel[k] = blend(da.vel[k], db.vel[k], frac);
        }
    } else if (!PLANE_path_overridden(p)) {
        // Smooth towards record a: steer the rates and velocity, jump only when far off.
        clock += 0.01f * (da.time - clock);
        f.Q = 0.5f * wrap_pm180(theta - f.theta);
        f.R = 0.5f * wrap_pm180(psi - f.psi);
        f.P = 0.5f * wrap_pm180(phi - f.phi);
        double d2 = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double diff = static_cast<double>(da.pos[k]) - *pos[k];
            d2 += diff * diff;
            *vel[k] = da.vel[k] + 0.5f * (da.pos[k] - *pos[k]);
        }
        if (d2 > 1000.0 * 1000.0)
            for (int k = 0; k < 3; ++k) set_pos(k, da.pos[k]);
    } else {
        clock = da.time;
        f.theta = theta;
        f.psi = psi;
        f.phi = phi;
        for (int k = 0; k < 3; ++k) {
            set_pos(k, da.pos[k]);
            *vel[k] = da.vel[k];
        }
    }

    // Controls.
    f.FC_ptch = (blend(da.ctl[0], db.ctl[0], frac) - 50.0f) / 50.0f;
    f.FC_roll = (blend(da.ctl[1], db.ctl[1], frac) - 50.0f) / 50.0f;
    f.FC_hdng = (blend(da.ctl[2], db.ctl[2], frac) - 50.0f) / 50.0f;
    f.flaprat = (blend(da.ctl[3], db.ctl[3], frac) - 50.0f) / 50.0f;
    f.swdi = (blend(da.swdi, db.swdi, frac) - 50.0f) / 50.0f;
    f.elv_trim = (blend(da.elv_trim, db.elv_trim, frac) - 50.0f) / 50.0f;
    f.m_jettison = blend(da.jettison, db.jettison, frac);
    f.nosewheel_steer = blend(da.nws, db.nws, frac) - 50.0f;

    // Engine and rotor angles; engines 2..7 copy engine 0.
    for (int k = 0; k < 2; ++k) {
        acf.thrust_vector_angle[k] = blend_angle(da.vect[k], db.vect[k], frac);
        acf.acf_sidecant[k] = blend_angle(da.cant[k], db.cant[k], frac);
        f.cyclic_elev_disc_tilt[k] = wrap_pm180(blend_angle(da.tilt_elev[k], db.tilt_elev[k], frac));
        f.cyclic_ailn_disc_tilt[k] = wrap_pm180(blend_angle(da.tilt_ailn[k], db.tilt_ailn[k], frac));
    }
    for (int e = 2; e < FLT_ENGINES; ++e) {
        acf.thrust_vector_angle[e] = acf.thrust_vector_angle[0];
        acf.acf_sidecant[e] = acf.acf_sidecant[0];
        f.cyclic_elev_disc_tilt[e] = f.cyclic_elev_disc_tilt[0];
        f.cyclic_ailn_disc_tilt[e] = f.cyclic_ailn_disc_tilt[0];
    }

    // Gear.
    for (int g = 0; g < FLT_GEAR_COUNT; ++g) {
        const int part = FLT_FIRST_GEAR_PART + g;
        f.tire_locked[part] = da.tire_locked[g];
        acf.acf_gear_deploy[part] = blend(da.deploy[g], db.deploy[g], frac) / 100.0f;
        acf.acf_gear_def[part] = blend(da.def[g], db.def[g], frac) / 1000.0f;
    }

    // Speeds and the turn and slip indications.
    f.indicated_airspeed = blend(da.ias, db.ias, frac);
    f.nosewheel_speed = blend(da.nws_speed, db.nws_speed, frac);
    f.turnrate_roll = blend(da.turn, db.turn, frac) * 110.0f / 999.0f - 55.0f;
    f.turnrate_noroll = f.turnrate_roll;
    f.slip = blend(da.slip, db.slip, frac) * 30.0f / 999.0f - 15.0f;

    // Wheels turn with the nose-wheel speed.
    for (int part = FLT_FIRST_GEAR_PART; part < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT; ++part)
        if (acf.acf_part_eq[part] != 0) f.tire_speed_term[part] = f.nosewheel_speed;

    // The user's radios.
    if (p == 0) {
        sim_cockpit_radios.nav1_freq_hz = da.nav[0];
        sim_cockpit_radios.adf1_freq_hz = da.adf[0];
        sim_cockpit_radios.nav2_freq_hz = da.nav[1];
        sim_cockpit_radios.adf2_freq_hz = da.adf[1];
    }

    // The two ships.
    for (int k = 0; k < 2; ++k) {
        ship_heading[k] = blend(da.ship_tenths[k], db.ship_tenths[k], frac) * 0.1f;
        const float x = blend(da.ship_x[k], db.ship_x[k], frac);
        const float z = blend(da.ship_z[k], db.ship_z[k], frac);
        if (mode == PLANE_UNPACK_REPLAY) {
            ship_x[k] = x;
            ship_z[k] = z;
            ship_vx[k] = 0.0f;
            ship_vz[k] = 0.0f;
        } else {
            ship_vx[k] = 0.1f * (x - ship_x[k]);
            ship_vz[k] = 0.1f * (z - ship_z[k]);
        }
    }

    // Engines.
    const bool failures_screen = app_mode == MODE_FAILURES;
    const bool master_ios = net_slot_enabled[NET_ROLE_MASTER_IOS] != 0;
    for (int e = 0; e < FLT_ENGINES; ++e) {
        f.ENGN_thro_use[e] = blend(da.thro[e], db.thro[e], frac) / 100.0f;
        f.ENGN_tacrad[e] = blend(da.tac[e], db.tac[e], frac);
        f.POINT_tacrad[e] = f.ENGN_tacrad[e];
        if (!failures_screen) {
            f.DVinc[e] = blend(da.dvinc[e], db.dvinc[e], frac);
            if (!master_ios) f.failures[FAIL_SLOT_ENGINE_FIRE_BASE + e] = da.fail[e];
        }
    }

    // Loaded weapons still aboard go back on their attach points.
    for (int k = 0; k < ACF_WPN_SLOTS; ++k)
        if (acf.acf_wpn_slot[k].wpn_type != 0 && WPN_not_released(p, k)) WPN_hang(p, k);

    // Icing, from record a.
    f.pitot_ice = static_cast<float>(da.pitot) / 999.0f;
    f.window_ice = static_cast<float>(da.window) / 999.0f;
}
