// The trims and throttle for level flight at the plane's speed: the plane is
// held level along its heading and the force build-up's list of stages is
// run on it for its moments and accelerations at trial attitudes and
// controls. The trim stands above the models: it runs the control step's
// propeller governing and the incidence pass as the plane step does, then
// every stage of the build-up in the build-up's own order.
//
// A fixed-wing aircraft: Newton's method balances the pitching moment and
// the vertical acceleration over the angle of attack and the elevator trim,
// then the rolling and yawing moments over the aileron and rudder trims; the
// secant method finds the throttle that leaves no acceleration along the
// path, the engines settling at each throttle tried.
//
// A rotorcraft: its rotor's wash and disc settle only over seconds, so each
// round settles the plane at the trial controls first; from there Newton's
// method balances the pitching moment and the vertical and forward
// accelerations over the attitude, the collective and the fore-and-aft
// cyclic, then the rolling and yawing moments, the side acceleration and the
// rotor's acceleration over the lateral cyclic, the pedal, the bank and the
// throttle (the rotor held at its governed speed), until a round moves none
// of them.
#include "flightmodel/level_trim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/attitude.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/control/governing.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/plane_snapshot.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/weapons/weapons.h"

namespace {

constexpr float ALPHA_STEP_DEG = 0.5f;   // the trial steps of the derivatives
constexpr float TRIM_STEP = 0.05f;
constexpr float ALPHA_LOW_DEG = -10.0f, ALPHA_HIGH_DEG = 25.0f;
constexpr int NEWTON_STEPS = 6;
constexpr int TRIAL_PASSES = 2;          // the second sees the downwash of the first
// Below it (about 8 kt at sea level) the surfaces give no moment worth trimming.
constexpr float MIN_DYNAMIC_PRESSURE_PA = 10.0f;
// The engines settle in steps of a 60-Hz frame whatever the program runs at,
// half a second at a time, until their force changes by less than a part in
// a thousand, at most 20 s.
constexpr float SETTLE_DT = 1.0f / 60.0f;
constexpr int SETTLE_CHUNK_PASSES = 30;
constexpr int SETTLE_CHUNKS = 40;
constexpr float SETTLED = 1e-3f;
constexpr int THROTTLE_ROUNDS = 5;
constexpr float THROTTLE_STEP = 0.1f;
constexpr float LEVEL_GAIN_MSS = 0.05f;   // what counts as holding the speed

// A rotorcraft's trial steps and bounds: a degree of attitude or bank, a
// tenth of a degree of collective; its attitude within 20 degrees and its
// bank within 30 of level.
constexpr float ROTOR_ATTITUDE_STEP_DEG = 1.0f;
constexpr float COLLECTIVE_STEP_DEG = 0.1f;
constexpr float ROTOR_ATTITUDE_LIMIT_DEG = 20.0f;
constexpr float ROTOR_BANK_LIMIT_DEG = 30.0f;
constexpr int ROTOR_ROUNDS = 30;
constexpr int ROTOR_STOP_ROUNDS = 4;   // rounds with the collective at a stop before the trim gives up
// A second: the rotor's disc follows the cyclic and its wash the collective
// over about that.
constexpr int ROTOR_TRIAL_PASSES = 60;

// The angle of attack (on a rotorcraft its attitude: it flies level), bank,
// trims, collective and throttle of a trial, the stick let go.
struct trial {
    float alpha, elv, ail, rud;
    float phi = 0.0f;
    float collective = 0.0f;
    float throttle = NAN;   // of every engine; not a number: as the plane has them
    // A rotorcraft's engines and rotors turn at these speeds (rad/s), as
    // their governor holds them in steady flight.
    bool speeds_held = false;
    std::array<float, FLT_ENGINES> engine_speed{}, prop_speed{};
};

struct balance {
    float pitch, roll, yaw;   // moments, N m
    float climb;              // vertical acceleration, m/s^2
    float gain;               // acceleration along the heading, m/s^2
    float side;               // horizontal acceleration to the right of the heading, m/s^2
    float spin;               // the collective rotor's angular acceleration, rad/s^2
};

// The plane held at the trial along its heading at `speed`, level, turning
// about no axis. Posed again before every pass: the build-up's integration
// moves the rates and the velocity on.
void pose(flt_struct& f, float speed, const trial& t)
{
    f.theta = t.alpha;
    f.phi = t.phi;
    f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    // Along the heading, no sideslip (near a pole the start's velocity,
    // turned into the area's frame, points elsewhere than its heading there).
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    f.local_vx = speed * std::sin(h);
    f.local_vy = 0.0f;
    f.local_vz = -speed * std::cos(h);
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.y_agl = f.local_y - pln[0].acf_h_eqlbm - WATER_surface_under_plane();
    f.elv_trim = t.elv;
    f.ail_trim = t.ail;
    f.rud_trim = t.rud;
    f.FC_ptch = UTIL_clamp(t.elv, -1.0f, 1.0f);
    f.FC_roll = UTIL_clamp(t.ail, -1.0f, 1.0f);
    f.FC_hdng = UTIL_clamp(t.rud, -1.0f, 1.0f);
    const int k = FM_collective_rotor();
    if (k >= 0) f.POINT_pitch_deg[k] = t.collective;
    if (std::isfinite(t.throttle))
        for (float& e : f.ENGN_thro) e = t.throttle;
    if (t.speeds_held)
        for (int e = 0; e < FLT_ENGINES; ++e) f.ENGN_tacrad[e] = t.engine_speed[e], f.POINT_tacrad[e] = t.prop_speed[e];
    FLTMOD_flow_at_plane(0);
}

// The plane from `from` held at the trial, the build-up's stages run
// `passes` times.
balance hold(const flt_struct& from, float speed, const trial& t, int passes)
{
    flt_struct& f = flt[0];
    f = from;
    pose(f, speed, t);
    // The incidences follow the deflections of the pass before: once more
    // first, so that every pass has those of these controls.
    ACF_control_incidence(0);
    forces_state& s = fm_state;
    for (int pass = 0; pass < passes; ++pass) {
        pose(f, speed, t);
        // Held, not moving: no change of the flow angles to predict from.
        s.prev_alpha = f.alpha;
        s.prev_beta = f.beta;
        s.prev_Prad = s.prev_Qrad = s.prev_Rrad = 0.0f;
        // The weapons it carries on their attach points, the propeller
        // governors, the thrust points and the throttles' use, as the plane
        // step leaves them each frame.
        WPN_hang_carried(0);
        GOV_propulsion(0);
        GOV_thrust_point_positions(0);
        ACF_control_incidence(0);
        for (const fm_stage& stage : FM_stages()) stage.run();
    }
    const int rotor = FM_collective_rotor();
    return {f.M,
            f.L,
            f.N,
            f.local_ay,
            f.local_ax * f.track_sin - f.local_az * f.track_cos,
            f.local_ax * f.track_cos + f.local_az * f.track_sin,
            rotor >= 0 ? f.POINT_omegadot[rotor] : 0.0f};
}

// One Newton step on two unknowns: the change of x and y that brings the
// two residues r and s to zero, from their changes over the trial steps dx
// and dy; false when they do not depend on x and y.
bool newton_step(float r, float s, float r_x, float r_y, float s_x, float s_y, float& dx, float& dy)
{
    const float det = r_x * s_y - r_y * s_x;
    dx = (-r * s_y + r_y * s) / det;
    dy = (-r_x * s + r * s_x) / det;
    return std::isfinite(dx) && std::isfinite(dy);
}

// A trial step within [lo, hi] from v: toward the middle of the range.
float step_within(float v, float step, float hi) { return v + step <= hi ? step : -step; }

// The angle of attack and elevator trim that balance the pitching moment and
// the weight; false when they do not, within the trim's range: when the last
// step still asks for more than a quarter of a degree or a fiftieth of the
// trim's travel (the forces' own unsteadiness moves the balance less).
bool balance_pitch(const flt_struct& settled, float speed, trial& t)
{
    const acf_struct& a = pln[0];
    const float lo = -a.acf_elv_trim_dn, hi = a.acf_elv_trim_up;
    float d_alpha = NAN, d_elv = NAN;
    for (int k = 0; k < NEWTON_STEPS; ++k) {
        const balance b = hold(settled, speed, t, TRIAL_PASSES);
        trial ta = t, te = t;
        ta.alpha += ALPHA_STEP_DEG;
        const float de = step_within(t.elv, TRIM_STEP, hi);
        te.elv += de;
        const balance ba = hold(settled, speed, ta, TRIAL_PASSES), be = hold(settled, speed, te, TRIAL_PASSES);
        if (!newton_step(b.pitch, b.climb, (ba.pitch - b.pitch) / ALPHA_STEP_DEG, (be.pitch - b.pitch) / de,
                         (ba.climb - b.climb) / ALPHA_STEP_DEG, (be.climb - b.climb) / de, d_alpha, d_elv))
            return false;
        if (std::fabs(d_alpha) < 0.05f && std::fabs(d_elv) < 0.002f) return true;
        t.alpha = UTIL_clamp(t.alpha + UTIL_clamp(d_alpha, -5.0f, 5.0f), ALPHA_LOW_DEG, ALPHA_HIGH_DEG);
        t.elv = UTIL_clamp(t.elv + UTIL_clamp(d_elv, -0.5f, 0.5f), lo, hi);
    }
    return std::fabs(d_alpha) < 0.25f && std::fabs(d_elv) < 0.02f;
}

// The aileron and rudder trims that balance the rolling and yawing moments
// (the engines' torque and pull) with the wings level and no sideslip.
void balance_roll_and_yaw(const flt_struct& settled, float speed, trial& t)
{
    const acf_struct& a = pln[0];
    for (int k = 0; k < NEWTON_STEPS; ++k) {
        const balance b = hold(settled, speed, t, TRIAL_PASSES);
        trial ta = t, tr = t;
        const float da = step_within(t.ail, TRIM_STEP, a.acf_ail_trim_rt);
        const float dr = step_within(t.rud, TRIM_STEP, a.acf_rud_trim_rt);
        ta.ail += da;
        tr.rud += dr;
        const balance ba = hold(settled, speed, ta, TRIAL_PASSES), br = hold(settled, speed, tr, TRIAL_PASSES);
        float d_ail, d_rud;
        if (!newton_step(b.roll, b.yaw, (ba.roll - b.roll) / da, (br.roll - b.roll) / dr, (ba.yaw - b.yaw) / da,
                         (br.yaw - b.yaw) / dr, d_ail, d_rud))
            return;
        t.ail = UTIL_clamp(t.ail + UTIL_clamp(d_ail, -0.5f, 0.5f), -a.acf_ail_trim_lt, a.acf_ail_trim_rt);
        t.rud = UTIL_clamp(t.rud + UTIL_clamp(d_rud, -0.5f, 0.5f), -a.acf_rud_trim_lt, a.acf_rud_trim_rt);
        if (std::fabs(d_ail) < 0.002f && std::fabs(d_rud) < 0.002f) return;
    }
}

// The plane from `from` held at the trial, every engine at `throttle` when
// it is a number, until its engines' speeds, spools and the wash behind its
// propellers and rotors have settled.
std::unique_ptr<flt_struct> settle(const flt_struct& from, float speed, float throttle, const trial& t)
{
    auto held = std::make_unique<flt_struct>(from);
    if (std::isfinite(throttle))
        for (float& e : held->ENGN_thro) e = throttle;
    float before = NAN;
    for (int chunk = 0; chunk < SETTLE_CHUNKS; ++chunk) {
        hold(*held, speed, t, SETTLE_CHUNK_PASSES);
        *held = flt[0];
        const float force = std::hypot(held->faxil_prop, held->fnrml_prop);
        if (std::fabs(force - before) <= SETTLED * std::fabs(force)) break;
        before = force;
    }
    return held;
}

// The plane's speed through the air: its velocity less the mean wind that the
// weather blows at its height above the ground.
float airspeed(const flt_struct& f)
{
    float wind_x, wind_z;
    FM_mean_wind_at(f, &wind_x, &wind_z);
    return std::hypot(f.local_vx - wind_x, f.local_vz - wind_z);
}

level_trim fixed_wing(const flt_struct& start, float v, float throttle)
{
    const acf_struct& a = pln[0];
    level_trim found{0.0f, 0.0f, 0.0f, throttle, start.theta, start.phi, 0.0f};
    std::unique_ptr<flt_struct> settled = std::make_unique<flt_struct>(start);
    const bool engines = a.acf_num_engines > 0;
    trial t{0.0f, 0.0f, 0.0f, 0.0f};
    float t0 = throttle, g0 = 0.0f, t1 = throttle;
    for (int round = 0; round < (engines ? THROTTLE_ROUNDS : 1); ++round) {
        // Each throttle settles from the engines of the one before.
        settled = settle(*settled, v, t1, t);
        // No balance within the trim's range (an aircraft the level-flight
        // balance does not describe, or a speed it cannot fly): the start
        // keeps its plain settings.
        if (!balance_pitch(*settled, v, t)) return {0.0f, 0.0f, 0.0f, throttle, start.theta, start.phi, 0.0f};
        balance_roll_and_yaw(*settled, v, t);
        found = {t.elv, t.ail, t.rud, t1, t.alpha, 0.0f, 0.0f, true};
        const float gain = hold(*settled, v, t, TRIAL_PASSES).gain;
        if (!engines || !std::isfinite(gain) || std::fabs(gain) < LEVEL_GAIN_MSS) break;
        // The next throttle from the last two (the first a tenth away).
        float next = round == 0 ? t1 - std::copysign(THROTTLE_STEP, gain) : t1 - gain * (t1 - t0) / (gain - g0);
        if (!std::isfinite(next)) break;
        next = UTIL_clamp(next, 0.0f, 1.0f);
        if (next == t1) break;
        t0 = t1, g0 = gain, t1 = next;
    }
    return found;
}

// The change x of N unknowns that brings N residues r to zero, from the
// columns d[j] of their changes per unit of unknown j (Gaussian elimination
// with the largest pivot); false when the residues do not depend on them.
template <std::size_t N>
bool solve(const std::array<float, N>& r, const std::array<std::array<float, N>, N>& d, std::array<float, N>& x)
{
    std::array<std::array<float, N + 1>, N> m;
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j) m[i][j] = d[j][i];
        m[i][N] = -r[i];
    }
    for (std::size_t c = 0; c < N; ++c) {
        std::size_t pivot = c;
        for (std::size_t i = c + 1; i < N; ++i)
            if (std::fabs(m[i][c]) > std::fabs(m[pivot][c])) pivot = i;
        std::swap(m[c], m[pivot]);
        for (std::size_t i = c + 1; i < N; ++i) {
            const float k = m[i][c] / m[c][c];
            for (std::size_t j = c; j <= N; ++j) m[i][j] -= k * m[c][j];
        }
    }
    for (std::size_t c = N; c-- > 0;) {
        float v = m[c][N];
        for (std::size_t j = c + 1; j < N; ++j) v -= m[c][j] * x[j];
        x[c] = v / m[c][c];
        if (!std::isfinite(x[c])) return false;
    }
    return true;
}

// An unknown of a rotorcraft's balance: which value of the trial, its trial
// step and its range.
struct rotor_unknown {
    float trial::*value;
    float step, lo, hi;
};

// One Newton step of N unknowns from the settled plane, balancing the N
// residues `of` picks from a balance; the largest step of any unknown in its
// own trial steps, or NAN when the residues do not depend on the unknowns.
template <std::size_t N, class Residues>
float rotor_newton(const flt_struct& settled, float speed, trial& t, const std::array<rotor_unknown, N>& u, Residues of)
{
    const std::array<float, N> r = of(hold(settled, speed, t, ROTOR_TRIAL_PASSES));
    std::array<std::array<float, N>, N> d;
    for (std::size_t j = 0; j < N; ++j) {
        trial moved = t;
        const float step = step_within(t.*u[j].value, u[j].step, u[j].hi);
        moved.*u[j].value += step;
        const std::array<float, N> rj = of(hold(settled, speed, moved, ROTOR_TRIAL_PASSES));
        for (std::size_t i = 0; i < N; ++i) d[j][i] = (rj[i] - r[i]) / step;
    }
    std::array<float, N> x;
    if (!solve(r, d, x)) return NAN;
    float largest = 0.0f;
    for (std::size_t j = 0; j < N; ++j) {
        // At most five trial steps at once: the settled response differs
        // from the trial's, and a long step would overshoot.
        const float limit = 5.0f * u[j].step;
        t.*u[j].value = UTIL_clamp(t.*u[j].value + UTIL_clamp(x[j], -limit, limit), u[j].lo, u[j].hi);
        largest = std::max(largest, std::fabs(x[j]) / u[j].step);
    }
    return largest;
}

level_trim rotorcraft(const flt_struct& start, float v, float throttle, int rotor)
{
    const acf_struct& a = pln[0];
    const level_trim plain{0.0f, 0.0f, 0.0f, throttle, start.theta, start.phi, start.POINT_pitch_deg[rotor]};
    const float c_lo = std::min(a.acf_min_pitch[rotor], a.acf_max_pitch[rotor]);
    const float c_hi = std::max(a.acf_min_pitch[rotor], a.acf_max_pitch[rotor]);

    // The engines and rotors held at the speeds the start gives them, as
    // their governor holds them in steady flight, and the throttle sought
    // that keeps them there: the governor, left to run, hunts over seconds,
    // and the rotor's thrust and the yaw of the engine's torque with it. A
    // free rotor is left to turn at the speed the air gives it, and the
    // throttle stays.
    for (int32_t& on : sim_cockpit_engine.fadec_on) on = 0;
    const bool driven = a.acf_num_engines > 0 && !PROP_is_rotor(rotor);
    trial t{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, UTIL_clamp(start.POINT_pitch_deg[rotor], c_lo, c_hi)};
    t.throttle = UTIL_clamp(throttle, 0.0f, a.acf_throtmax_FWD);
    t.speeds_held = driven;
    for (int e = 0; e < FLT_ENGINES; ++e) t.engine_speed[e] = start.ENGN_tacrad[e], t.prop_speed[e] = start.POINT_tacrad[e];

    const std::array<rotor_unknown, 3> longitudinal{{
        {&trial::alpha, ROTOR_ATTITUDE_STEP_DEG, -ROTOR_ATTITUDE_LIMIT_DEG, ROTOR_ATTITUDE_LIMIT_DEG},
        {&trial::collective, COLLECTIVE_STEP_DEG, c_lo, c_hi},
        {&trial::elv, TRIM_STEP, -a.acf_elv_trim_dn, a.acf_elv_trim_up},
    }};
    auto vertical = [](const balance& b) { return std::array<float, 3>{b.pitch, b.climb, b.gain}; };
    const std::array<rotor_unknown, 3> lateral{{
        {&trial::ail, TRIM_STEP, -a.acf_ail_trim_lt, a.acf_ail_trim_rt},
        {&trial::rud, TRIM_STEP, -a.acf_rud_trim_lt, a.acf_rud_trim_rt},
        {&trial::phi, ROTOR_ATTITUDE_STEP_DEG, -ROTOR_BANK_LIMIT_DEG, ROTOR_BANK_LIMIT_DEG},
    }};
    auto sideways = [](const balance& b) { return std::array<float, 3>{b.roll, b.yaw, b.side}; };
    // With the speeds held, the throttle balances the rotor's acceleration,
    // and moves the yaw of the engine's torque that the pedal balances.
    const std::array<rotor_unknown, 4> lateral_and_drive{{
        lateral[0], lateral[1], lateral[2], {&trial::throttle, THROTTLE_STEP / 2.0f, 0.0f, a.acf_throtmax_FWD}}};
    const float speed = t.prop_speed[rotor];
    auto sideways_and_spin = [speed](const balance& b) {
        return std::array<float, 4>{b.roll, b.yaw, b.side, speed > 0.0f ? b.spin / speed : 0.0f};
    };

    std::unique_ptr<flt_struct> settled = std::make_unique<flt_struct>(start);
    int at_stop = 0;   // rounds running that left the collective at a stop
    for (int round = 0; round < ROTOR_ROUNDS; ++round) {
        settled = settle(*settled, v, t.throttle, t);
        const float moved = rotor_newton(*settled, v, t, longitudinal, vertical);
        const float turned = driven ? rotor_newton(*settled, v, t, lateral_and_drive, sideways_and_spin)
                                    : rotor_newton(*settled, v, t, lateral, sideways);
        if (!std::isfinite(moved) || !std::isfinite(turned)) return plain;
        // Settled, and asking for less than a tenth of a trial step.
        if (moved < 0.1f && turned < 0.1f)
            return {t.elv, t.ail, t.rud, driven ? t.throttle : throttle, t.alpha, t.phi, t.collective, true};
        // Round after round the lever is asked past its stop: the balance
        // lies beyond its travel (too high, too fast), and the rounds left
        // would end where this does. A start's search for the height and
        // speed a rotorcraft holds asks many such trims.
        at_stop = t.collective <= c_lo || t.collective >= c_hi ? at_stop + 1 : 0;
        if (at_stop >= ROTOR_STOP_ROUNDS) return plain;
    }
    return plain;
}

}  // namespace

int FM_collective_rotor()
{
    const acf_struct& a = pln[0];
    const int k = a.acf_collective_rotor_index;
    return a.acf_has_collective_rotor && k >= 0 && k < FLT_ENGINES ? k : -1;
}

void FM_mean_wind_at(const flt_struct& f, float* wind_x, float* wind_z)
{
    float speed_kt, from_deg, gust, variation, turbulence;
    ATMO_wind_at_alt(f.local_y - pln[0].acf_h_eqlbm - terrain_height_m, &speed_kt, &from_deg, &gust, &variation,
                     &turbulence);
    // The wind blows from `from_deg`: toward the opposite bearing.
    const float w = speed_kt * UNIT.kts_to_mps, d = from_deg * DEG_TO_RAD_FLOAT;
    *wind_x = -w * std::sin(d);
    *wind_z = w * std::cos(d);
}

level_trim FM_level_flight_trim(float throttle)
{
    const float v = airspeed(flt[0]);
    const int rotor = FM_collective_rotor();
    const level_trim none{0.0f, 0.0f, 0.0f, throttle, flt[0].theta, flt[0].phi,
                          rotor >= 0 ? flt[0].POINT_pitch_deg[rotor] : 0.0f};
    // A rotor holds itself up at any speed; wings only with air coming at them.
    if (rotor >= 0 ? !(sim_weather.rho > 0.0f) : !(0.5f * sim_weather.rho * v * v > MIN_DYNAMIC_PRESSURE_PA))
        return none;

    const plane_snapshot kept;
    sim_operation_misc.frame_rate_period = SETTLE_DT;
    // The trims of the air the plane flies in, at the speed it meets it with:
    // the wind carries the plane with it, and is not a sideslip to trim against.
    for (float& w : wind_vector) w = 0.0f;
    // Free flight: no rope, carriage, catapult or hook holds the plane; no
    // report or stability test is written from a trial.
    launch_flags_block& l = launch_flags;
    l.aero_tow_mode = l.tow_attached = l.winch_mode = l.winch_attached = 0;
    l.mothership_carried = l.catapult_fired = l.arrest_engaged = l.hook_active = 0;
    sim_network_dataout.dump_next_cycle = 0;
    sim_flightmodel_misc.stab_ptch_test = sim_flightmodel_misc.stab_hdng_test = 0;
    return rotor >= 0 ? rotorcraft(kept.plane(), v, throttle, rotor) : fixed_wing(kept.plane(), v, throttle);
}
