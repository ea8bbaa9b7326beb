// The trims and throttle for level flight at the plane's speed: the plane is
// held level along its heading and the force build-up's own stages are asked
// for its moments and accelerations at trial angles of attack and controls.
// Newton's method balances the pitching moment and the vertical acceleration
// over the angle of attack and the elevator trim, then the rolling and
// yawing moments over the aileron and rudder trims; the secant method finds
// the throttle that leaves no acceleration along the path, the engines
// settling at each throttle tried.
#include "flightmodel/forces/level_trim.h"

#include <cmath>
#include <memory>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/units.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/attitude.h"
#include "flightmodel/control/governing.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems/wind_at_plane.h"

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

// What the stages write besides the plane's own record, put back afterwards.
struct kept_records {
    std::unique_ptr<flt_struct> plane = std::make_unique<flt_struct>(flt[0]);
    std::unique_ptr<acf_struct> aircraft = std::make_unique<acf_struct>(pln[0]);
    forces_state forces = fm_state;
    propulsion_state engines = prop_state;
    sim_cockpit_engine_block cockpit_engines = sim_cockpit_engine;
    float dim = gload_dim_factor;
    float period = sim_operation_misc.frame_rate_period;
    float wind[3] = {wind_vector[0], wind_vector[1], wind_vector[2]};
    ~kept_records()
    {
        for (int k = 0; k < 3; ++k) wind_vector[k] = wind[k];
        flt[0] = *plane;
        pln[0] = *aircraft;
        fm_state = forces;
        prop_state = engines;
        sim_cockpit_engine = cockpit_engines;
        gload_dim_factor = dim;
        sim_operation_misc.frame_rate_period = period;
    }
};

// The angle of attack and the trims of a trial, the stick let go.
struct trial {
    float alpha, elv, ail, rud;
};

struct balance {
    float pitch, roll, yaw;   // moments, N m
    float climb;              // vertical acceleration, m/s^2
    float gain;               // acceleration along the heading, m/s^2
};

// The stages that make the forces of the airframe and its engines in steady
// flight, in the build-up's order; the ropes, ground, water, launch and
// weapons stages and the integration are left out.
void airframe_and_engines()
{
    const acf_struct& a = pln[0];
    FM_predict();
    FM_clear_part_values();
    FM_ground_effect();
    FM_clear_totals();
    FM_blown_flaps();
    if (sim_weather.rho > 0.0f) {
        const int n = a.acf_num_engines < 0 ? 0 : (a.acf_num_engines > ACF_MAX_ENGINES ? ACF_MAX_ENGINES : a.acf_num_engines);
        for (int e = 0; e < n; ++e)
            if (ENGINE_type_is_jet(a.acf_en_type[e])) ENGN_jet_engines(e);
        ENGN_prop_engines();
    }
    FM_wing_elements();
    FM_downwash_and_centroids();
    FM_body_stage();
    FM_gear_drag();
    ENGN_torque_roll_trim();
    FM_mass_and_inertia();
    FM_accelerations();
}

// The plane from `from` held level at the trial's angle of attack and trims,
// its stages run `passes` times.
balance hold(const flt_struct& from, const trial& t, int passes)
{
    flt_struct& f = flt[0];
    f = from;
    f.theta = t.alpha;
    f.phi = 0.0f;
    f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    // Along the heading, no sideslip (near a pole the start's velocity,
    // turned into the area's frame, points elsewhere than its heading there).
    const float v = std::hypot(from.local_vx, from.local_vz);
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    f.local_vx = v * std::sin(h);
    f.local_vy = 0.0f;
    f.local_vz = -v * std::cos(h);
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.y_agl = f.local_y - pln[0].acf_h_eqlbm - terrain_height_m;
    f.elv_trim = t.elv;
    f.ail_trim = t.ail;
    f.rud_trim = t.rud;
    f.FC_ptch = UTIL_clamp(t.elv, -1.0f, 1.0f);
    f.FC_roll = UTIL_clamp(t.ail, -1.0f, 1.0f);
    f.FC_hdng = UTIL_clamp(t.rud, -1.0f, 1.0f);
    FLTMOD_flow_at_plane(0);
    // The incidences follow the deflections of the pass before: once more
    // first, so that every pass has those of these controls.
    ACF_control_incidence(0);
    forces_state& s = fm_state;
    for (int pass = 0; pass < passes; ++pass) {
        // Held, not moving: no change of the flow angles to predict from.
        s.prev_alpha = f.alpha;
        s.prev_beta = f.beta;
        s.prev_Prad = s.prev_Qrad = s.prev_Rrad = 0.0f;
        // The propeller governors, the thrust points and the throttles' use,
        // as the control step and the incidence pass leave them each frame.
        GOV_propulsion(0);
        GOV_thrust_point_positions(0);
        ACF_control_incidence(0);
        airframe_and_engines();
    }
    return {f.M, f.L, f.N, f.local_ay, f.local_ax * f.track_sin - f.local_az * f.track_cos};
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
bool balance_pitch(const flt_struct& settled, trial& t)
{
    const acf_struct& a = pln[0];
    const float lo = -a.acf_elv_trim_dn, hi = a.acf_elv_trim_up;
    float d_alpha = NAN, d_elv = NAN;
    for (int k = 0; k < NEWTON_STEPS; ++k) {
        const balance b = hold(settled, t, TRIAL_PASSES);
        trial ta = t, te = t;
        ta.alpha += ALPHA_STEP_DEG;
        const float de = step_within(t.elv, TRIM_STEP, hi);
        te.elv += de;
        const balance ba = hold(settled, ta, TRIAL_PASSES), be = hold(settled, te, TRIAL_PASSES);
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
void balance_roll_and_yaw(const flt_struct& settled, trial& t)
{
    const acf_struct& a = pln[0];
    for (int k = 0; k < NEWTON_STEPS; ++k) {
        const balance b = hold(settled, t, TRIAL_PASSES);
        trial ta = t, tr = t;
        const float da = step_within(t.ail, TRIM_STEP, a.acf_ail_trim_rt);
        const float dr = step_within(t.rud, TRIM_STEP, a.acf_rud_trim_rt);
        ta.ail += da;
        tr.rud += dr;
        const balance ba = hold(settled, ta, TRIAL_PASSES), br = hold(settled, tr, TRIAL_PASSES);
        float d_ail, d_rud;
        if (!newton_step(b.roll, b.yaw, (ba.roll - b.roll) / da, (br.roll - b.roll) / dr, (ba.yaw - b.yaw) / da,
                         (br.yaw - b.yaw) / dr, d_ail, d_rud))
            return;
        t.ail = UTIL_clamp(t.ail + UTIL_clamp(d_ail, -0.5f, 0.5f), -a.acf_ail_trim_lt, a.acf_ail_trim_rt);
        t.rud = UTIL_clamp(t.rud + UTIL_clamp(d_rud, -0.5f, 0.5f), -a.acf_rud_trim_lt, a.acf_rud_trim_rt);
        if (std::fabs(d_ail) < 0.002f && std::fabs(d_rud) < 0.002f) return;
    }
}

// The plane from `from` with every engine at `throttle`, held until its
// engines' speeds, spools and the wash behind its propellers have settled.
std::unique_ptr<flt_struct> settle(const flt_struct& from, float throttle, const trial& t)
{
    auto held = std::make_unique<flt_struct>(from);
    for (float& e : held->ENGN_thro) e = throttle;
    float before = NAN;
    for (int chunk = 0; chunk < SETTLE_CHUNKS; ++chunk) {
        hold(*held, t, SETTLE_CHUNK_PASSES);
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
    float speed_kt, from_deg, gust, variation, turbulence;
    ATMO_wind_at_alt(f.local_y - pln[0].acf_h_eqlbm - terrain_height_m, &speed_kt, &from_deg, &gust, &variation,
                     &turbulence);
    const float w = speed_kt * UNIT.kts_to_mps, d = from_deg * DEG_TO_RAD_FLOAT;
    return std::hypot(f.local_vx + w * std::sin(d), f.local_vz - w * std::cos(d));
}

}  // namespace

level_trim FM_level_flight_trim(float throttle)
{
    const acf_struct& a = pln[0];
    level_trim found{0.0f, 0.0f, 0.0f, throttle};
    const float v = airspeed(flt[0]);
    if (!(0.5f * sim_weather.rho * v * v > MIN_DYNAMIC_PRESSURE_PA)) return found;

    const kept_records kept;
    sim_operation_misc.frame_rate_period = SETTLE_DT;
    // The trims of the air the plane flies in, at the speed it meets it with:
    // the wind carries the plane with it, and is not a sideslip to trim against.
    for (float& w : wind_vector) w = 0.0f;
    std::unique_ptr<flt_struct> settled = std::make_unique<flt_struct>(*kept.plane);
    settled->local_vx = v * std::sin(settled->psi * DEG_TO_RAD_FLOAT);
    settled->local_vz = -v * std::cos(settled->psi * DEG_TO_RAD_FLOAT);
    const bool engines = a.acf_num_engines > 0;
    trial t{0.0f, 0.0f, 0.0f, 0.0f};
    float t0 = throttle, g0 = 0.0f, t1 = throttle;
    for (int round = 0; round < (engines ? THROTTLE_ROUNDS : 1); ++round) {
        // Each throttle settles from the engines of the one before.
        settled = settle(*settled, t1, t);
        // No balance within the trim's range (an aircraft the level-flight
        // balance does not describe, or a speed it cannot fly): the start
        // keeps its plain settings.
        if (!balance_pitch(*settled, t)) return {0.0f, 0.0f, 0.0f, throttle};
        balance_roll_and_yaw(*settled, t);
        found = {t.elv, t.ail, t.rud, t1};
        const float gain = hold(*settled, t, TRIAL_PASSES).gain;
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
