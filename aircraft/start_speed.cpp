// The speed of the starts in company of a second aircraft (the formation, the
// air refuelling and the mother ship's drop), held within the user's own
// aircraft's limits. Those starts take the other aircraft's speed and height
// whatever the user flies: a trainer behind the tanker at four times its
// never-exceed speed dived into the ground, and one behind a leader at its
// stall speed rolled off. The speed is held:
// - no slower than 1.3 times the aircraft's stall speed (the file's, or the
//   one its wing works out where that is higher);
// - no faster than its normal operating limit (the top of its green arc, or
//   its never-exceed speed where the file gives no such arc) and a little
//   below its Mach limit at that height;
// - for an aircraft with engines, no faster than its full throttle holds in
//   level flight there.
// Where the Mach limit leaves no speed above the stall margin the start comes
// down, a thousand feet at a time, until it does; and an aircraft with
// engines started above its ceiling, where full throttle holds not even 1.3
// times its stall speed, comes down to the highest thousand-foot step where
// it does: held there at that speed, the float plane behind the tanker at
// 25,000 ft sank 270 to 600 ft/min at full power. The second aircraft flies
// the speed and height with the user's, so the pair stays together, and one
// line says so. Where the aircraft can fly what the start asks, it stands.
//
// A rotorcraft has no stall speed: it flies as slowly as it likes, and is
// held to the speeds its level-flight trim balances at a throttle with power
// to spare. Its forward cyclic runs out at speed (and sooner the higher it
// flies, at more true airspeed), and its power with height: a helicopter
// started at 100 KIAS by the forest fire or at 25,000 ft by the tanker found
// no trim and tumbled. Where it holds not even its speed of least power
// there, the start comes down, a thousand feet at a time, to the highest
// place it does; then it flies the fastest speed up to the asked one that it
// holds. Every start in the air of a rotorcraft is held so, with or without
// a second aircraft.
// The random start's speed, 1.3 times the stall speed indicated at its place
// and in its wind, is worked out here too.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/flight_start_internal.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/level_trim.h"
#include "flightmodel/systems/environment.h"
#include "links/speech.h"

namespace {

constexpr float STALL_MARGIN = 1.3f;
// Below the Mach limit by this share: the first seconds' swing of a start in
// the air and the gusts must not carry the plane past it.
constexpr float MACH_MARGIN = 0.95f;
constexpr int TOP_SPEED_STEPS = 5;                       // halvings of the speed range searched
constexpr float LOWER_STEP_M = 1000.0f * UNIT.ft_to_mtrs;   // the start comes down by this much at a time
constexpr float LOWEST_AGL_M = 1000.0f * UNIT.ft_to_mtrs;   // and no lower above the ground than this
constexpr float SAME_KT = 1.0f;                          // a speed within this of the asked one is the asked one
constexpr float NO_LIMIT = std::numeric_limits<float>::infinity();
// A rotorcraft's speed of least power, as a share of its never-exceed speed
// (about that of light helicopters), and the share of its full throttle its
// trim may take: the rest is for the gusts and the first seconds' swing.
constexpr float ROTOR_EASY_VNE = 0.4f;
constexpr float ROTOR_POWER_MARGIN = 0.9f;
// The share of its full throttle that holds an aeroplane come down from
// above its ceiling at its least speed.
constexpr float CEILING_POWER_MARGIN = 0.9f;

// The air the plane meets at its place: the root of its density ratio, the
// speed of sound there and the mean wind the weather blows at that height,
// as the offset (x, z) it adds to the plane's velocity through the air.
struct air_at_plane {
    float root_sigma, sound_mps;
    float wind_x, wind_z;
};

air_at_plane air_here(const flt_struct& f)
{
    SYSTEMS_air_at_plane();
    float wind_x, wind_z;
    FM_mean_wind_at(f, &wind_x, &wind_z);
    return {std::sqrt(std::max(sim_weather.sigma, 0.0f)), sim_weather.speed_of_sound_ms, -wind_x, -wind_z};
}

// Indicated airspeed (kt) of a groundspeed along the plane's heading, and the
// groundspeed of an indicated airspeed (the headwind and the crosswind taken
// into account as the trim finder takes them).
struct heading_frame {
    float hx, hz;
    air_at_plane air;
    float kias(float gs) const
    {
        return std::hypot(gs * hx + air.wind_x, gs * hz + air.wind_z) * air.root_sigma * UNIT.mps_to_kts;
    }
    float groundspeed(float kias) const
    {
        const float tas = air.root_sigma > 0.0f ? kias * UNIT.kts_to_mps / air.root_sigma : 0.0f;
        const float along = hx * air.wind_x + hz * air.wind_z;   // the headwind
        const float wind2 = air.wind_x * air.wind_x + air.wind_z * air.wind_z;
        return std::max(0.0f, -along + std::sqrt(std::max(0.0f, along * along - wind2 + tas * tas)));
    }
};

float stall_kias(const acf_struct& a) { return std::max(a.acf_Vs, a.acf_est_Vs * UNIT.mps_to_kts); }

// The fastest the aircraft may fly there by its airspeed and Mach limits.
float limit_kias(const acf_struct& a, const air_at_plane& air)
{
    float top = a.acf_Vno > 0.0f ? a.acf_Vno : (a.acf_Vne > 0.0f ? a.acf_Vne : NO_LIMIT);
    if (a.acf_Mmo > 0.0f && air.sound_mps > 0.0f)
        top = std::min(top, MACH_MARGIN * a.acf_Mmo * air.sound_mps * UNIT.mps_to_kts * air.root_sigma);
    return top;
}

// Whether full throttle holds the plane level at groundspeed `gs` along its
// heading: the trim finder, asked from full throttle, comes back with less.
// An aircraft it finds no balance for at all (no trim moves it) is taken to
// hold every speed: the start then keeps to the airspeed limits alone. An
// aeroplane asked to hold it with power to spare (`share` of full throttle)
// holds it below that share.
// A rotorcraft holds the speed where its trim balances, at no more than
// its share of full throttle.
// The plane is tried at the start's own velocity scaled to the speed, as it
// will start: tried along its heading instead, a few hundredths of a degree
// off the start's velocity in the area's frame, a rotorcraft at the edge of
// its cyclic found a balance there that its start's trim did not.
struct start_velocity {
    float vx, vy, vz, gs;
};
start_velocity start_v{};

bool holds(flt_struct& f, float gs, float share = 1.0f)
{
    const float scale = start_v.gs > 0.0f ? gs / start_v.gs : 0.0f;
    f.local_vx = start_v.vx * scale;
    f.local_vy = start_v.vy * scale;
    f.local_vz = start_v.vz * scale;
    f.groundspeed = gs;
    const level_trim t = FM_level_flight_trim(1.0f);
    const acf_struct& a = pln[0];
    if (FM_collective_rotor() >= 0) return t.balanced && t.throttle <= ROTOR_POWER_MARGIN * a.acf_throtmax_FWD;
    const bool no_balance = t.elv_trim == 0.0f && t.ail_trim == 0.0f && t.rud_trim == 0.0f;
    return t.throttle < share || no_balance;
}

// The fastest speed between `slow` (held) and `fast` (not held) that full
// throttle (or its `share`) holds, to a thirty-second of the range.
float top_speed(flt_struct& f, const heading_frame& frame, float slow, float fast, float share)
{
    for (int k = 0; k < TOP_SPEED_STEPS; ++k) {
        const float mid = 0.5f * (slow + fast);
        (holds(f, frame.groundspeed(mid), share) ? slow : fast) = mid;
    }
    return slow;
}

const char* partner_name(int code)
{
    switch (code) {
    case SIT_FORMATION: return "The leader";
    case SIT_MOTHER_SHIP: return "The mother ship";
    default: return "The tanker";
    }
}

// The plane moved to `drop` below the height `top` (local y) it started at.
void lower_to(flt_struct& f, heading_frame& frame, float top, float drop)
{
    f.local_y = top - drop;
    GEO_local_to_latlon(f.latitude, f.longitude, f.elevation, f.local_x, f.local_y, f.local_z);
    frame.air = air_here(f);
}

}  // namespace

void FLIGHT_at_stall_margin()
{
    flt_struct& f = flt[0];
    if (!(f.groundspeed > 0.0f)) return;
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    const heading_frame frame{std::sin(h), -std::cos(h), air_here(f)};
    if (!(frame.air.root_sigma > 0.0f)) return;   // no air there: no airspeed to meet, the speed stands
    const float scale = frame.groundspeed(STALL_MARGIN * stall_kias(pln[0])) / f.groundspeed;
    f.local_vx *= scale;
    f.local_vy *= scale;
    f.local_vz *= scale;
    f.groundspeed *= scale;
}

bool FLIGHT_in_company(int code)
{
    return code == SIT_FORMATION || code == SIT_REFUEL_A || code == SIT_REFUEL_B || code == SIT_MOTHER_SHIP;
}

void FLIGHT_start_within_limits(int code)
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    if (!(f.groundspeed > 0.0f)) return;
    const float vx = f.local_vx, vy = f.local_vy, vz = f.local_vz, asked_gs = f.groundspeed;
    start_v = {vx, vy, vz, asked_gs};
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    heading_frame frame{std::sin(h), -std::cos(h), air_here(f)};
    const float asked_kias = frame.kias(asked_gs), asked_ft = f.elevation * UNIT.mtrs_to_ft;
    const bool rotor = FM_collective_rotor() >= 0;
    const float lo = rotor ? ROTOR_EASY_VNE * a.acf_Vne : STALL_MARGIN * stall_kias(a);

    // Too high for any speed between the stall margin and the Mach limit:
    // down until there is one, and no nearer the ground than a thousand feet.
    float drop = 0.0f;
    const float asked_y = f.local_y;
    while (limit_kias(a, frame.air) < lo && f.local_y - LOWER_STEP_M > terrain_height_m + LOWEST_AGL_M) {
        drop += LOWER_STEP_M;
        lower_to(f, frame, asked_y, drop);
    }
    // Too high to hold the least speed it may fly (a rotorcraft's speed of
    // least power, an aeroplane's stall margin) at full throttle: down to the
    // highest thousand-foot step that does (the fewest steps found by
    // halving: each is a trim), and no nearer the ground than a thousand feet.
    // Whether the least speed is known to be held where the plane now is:
    // each trim asked is costly, and none is asked twice.
    // An aeroplane holds it there with power to spare: at its ceiling, on
    // full throttle, the float plane let go sank 80 to 260 ft/min as it
    // settled and turned.
    const float share = rotor ? 1.0f : CEILING_POWER_MARGIN;
    bool lo_held = false, below_ceiling = false;
    if (a.acf_num_engines > 0 && frame.air.root_sigma > 0.0f && !(lo_held = holds(f, frame.groundspeed(lo), share))) {
        below_ceiling = !rotor;
        const float top = f.local_y;
        const int steps = static_cast<int>(std::floor((top - terrain_height_m - LOWEST_AGL_M) / LOWER_STEP_M));
        if (steps > 0) {
            int fails = 0, held = steps;
            while (held - fails > 1) {
                const int mid = (fails + held) / 2;
                lower_to(f, frame, top, static_cast<float>(mid) * LOWER_STEP_M);
                (holds(f, frame.groundspeed(lo), share) ? held : fails) = mid;
            }
            drop += static_cast<float>(held) * LOWER_STEP_M;
            lower_to(f, frame, top, static_cast<float>(held) * LOWER_STEP_M);
            lo_held = held < steps;   // the lowest step was taken unasked
        }
    }
    // No air there at all (above the atmosphere's top, and no lower place to
    // go): no airspeed to hold, and a groundspeed worked from none would be 0.
    if (!(frame.air.root_sigma > 0.0f)) {
        f.local_vx = vx, f.local_vy = vy, f.local_vz = vz;
        f.groundspeed = asked_gs;
        return;
    }
    const float hi = std::max(lo, limit_kias(a, frame.air));
    // A rotorcraft may fly as slowly as the start asks.
    float kias = rotor ? std::min(asked_kias, hi) : std::clamp(asked_kias, lo, hi);
    // Come down below its ceiling, it flies with the same power to spare.
    const float top_share = below_ceiling ? share : 1.0f;
    bool searched = false;
    if (a.acf_num_engines > 0 && !holds(f, frame.groundspeed(kias), top_share)) {
        kias = kias > lo && (lo_held || holds(f, frame.groundspeed(lo), top_share))
                   ? top_speed(f, frame, lo, kias, top_share)
                   : lo;
        searched = true;
    }

    // The asked groundspeed stands only for the asked speed at the asked
    // height. A speed the search found is flown as found, however near the
    // asked one, and a lower start flies its speed at the groundspeed of its
    // own air: taken back to the asked groundspeed (a knot faster, or the
    // thin air's groundspeed in the thicker air below), the helicopter met
    // a speed it holds no trim at, started with its collective at mid travel
    // and its cyclic centred, and fell (at some of the formation's random
    // heights near 20,000 ft in the first start's cold air).
    const bool as_asked = !searched && drop == 0.0f && std::fabs(kias - asked_kias) < SAME_KT;
    const float gs = as_asked ? asked_gs : frame.groundspeed(kias);
    const float scale = gs / asked_gs;
    f.local_vx = vx * scale;
    f.local_vy = vy * scale;
    f.local_vz = vz * scale;
    f.groundspeed = gs;
    if (drop == 0.0f && gs == asked_gs) return;
    f.h_ind = f.elevation;
    f.local_y_d = f.local_y;

    // The second aircraft flies with it, unless it is a peer's.
    const bool partner = FLIGHT_in_company(code) && !FLIGHT_live_peer();
    if (partner) {
        flt_struct& other = flt[1];
        other.local_y -= drop;
        other.local_y_d = other.local_y;
        other.groundspeed = gs;
        const float h1 = other.psi * DEG_TO_RAD_FLOAT;
        other.local_vx = gs * std::sin(h1);
        other.local_vz = -gs * std::cos(h1);
    }
    const char* subject = partner ? partner_name(code) : "Held to";
    char line[TEXT_SIZE];
    const char* keeps = partner ? " keeps to" : "";
    const int new_kias = static_cast<int>(std::lround(kias)), old_kias = static_cast<int>(std::lround(asked_kias));
    auto hundreds = [](float ft) { return 100 * static_cast<int>(std::lround(ft / 100.0f)); };
    if (drop == 0.0f)
        std::snprintf(line, sizeof line, "%s%s %d KIAS, within this aircraft's limits at %d ft (the start asks %d KIAS).",
                      subject, keeps, new_kias, hundreds(asked_ft), old_kias);
    else
        std::snprintf(line, sizeof line,
                      "%s%s %d KIAS at %d ft, within this aircraft's limits (the start asks %d KIAS at %d ft).",
                      subject, keeps, new_kias, hundreds(f.elevation * UNIT.mtrs_to_ft), old_kias, hundreds(asked_ft));
    SOUND_speak(line, 1);
}
