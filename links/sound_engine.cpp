// The engine, propeller, jet, rumble, wind, rain and hail loops of the user
// plane, set every frame from the engines and the air around the plane. In
// the outside views the loops fade with the camera's distance and shift in
// pitch with its closing speed; two wandering factors keep the jet roar alive.
//
// Reads: sim_graphics_view (camera, view_is_external), frame_clock,
// sim_operation_misc.frame_rate_period, sim_weather (speed of sound, rain,
// hail), pln[0], flt[0], sim_cockpit_switches.jato_on.
// Writes: sound_engine; the loops' volume and pitch through
// SOUND_set_volume_pitch.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/part_presence.h"
#include "core/reset_registry.h"
#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "links/sound.h"

sound_engine_record sound_engine;

namespace {

constexpr int GEAR_LEG_FIRST = 67;
constexpr float FADE_PER_M = 0.001f;   // loops fade out over 1000 m
constexpr float DOPPLER_LIMIT = 0.999f;

// a / b, or 0 when b is 0 or the answer is not a number: a zero reference
// (an aircraft file without it, a zero frame period) would give an infinite
// or NaN pitch and level to the sound layer; it makes its slot silent instead.
float ratio(float a, float b)
{
    if (b == 0.0f) return 0.0f;
    const float r = a / b;
    return std::isfinite(r) ? r : 0.0f;
}

struct level_mix {
    float a, b, c;   // base, throttle and speed shares
};

level_mix mix_of_type(int type)
{
    switch (type) {
    case ENGINE_PISTON_CARBURETTED: case ENGINE_PISTON_INJECTED: case ENGINE_TURBINE_FREE: case ENGINE_TURBINE_FIXED:
        return {0.6f, 0.2f, 0.2f};
    case ENGINE_ELECTRIC: case ENGINE_ROCKET: case ENGINE_TIP_ROCKET:
        return {0.0f, 1.0f, 0.0f};
    case ENGINE_JET_LOW_BYPASS: case ENGINE_JET_HIGH_BYPASS:
        return {0.8f, 0.1f, 0.1f};
    default:
        return {0.0f, 0.0f, 0.0f};
    }
}

// Engine i's speed against the aircraft's reference: shaft speed for the
// pistons and the electric motor, N1 for the turbines, jets and rockets.
float engine_speed_ratio(const acf_struct& a, const flt_struct& f, int i)
{
    const int type = a.acf_en_type[i];
    if (type == ENGINE_PISTON_CARBURETTED || type == ENGINE_PISTON_INJECTED || type == ENGINE_ELECTRIC)
        return std::fabs(ratio(f.ENGN_tacrad[i], a.acf_unpub_638104 * UNIT.rpm_to_radps));
    return std::fabs(ratio(f.ENGN_N1_[i], a.acf_unpub_638108));
}

}  // namespace

void SOUND_engine_reset()
{
    sound_engine = sound_engine_record{};
    sound_engine.wander_1 = 1.0f;
    sound_engine.wander_2 = 1.0f;
}
ORVELL_RESET(SOUND_engine_reset, program);

void SOUND_engine_update(float x, float y, float z)
{
    sound_engine_record& s = sound_engine;
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;

    // 1. Distance and Doppler.
    const float dx = sim_graphics_view.view_x - x;
    const float dy = sim_graphics_view.view_y - y;
    const float dz = sim_graphics_view.view_z - z;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    float L = 1.0f;
    float P = 1.0f;
    if (sim_graphics_view.view_is_external) {
        const float near = std::clamp(1.0f - FADE_PER_M * d, 0.0f, 1.0f);
        L = near * near;
        const float closing = ratio(ratio(d - s.previous_distance_m, dt), sim_weather.speed_of_sound_ms);
        P = 1.0f - std::clamp(closing, -DOPPLER_LIMIT, DOPPLER_LIMIT);
    }
    // A camera position that is not a number would keep the Doppler factor
    // NaN from frame to frame; the distance then starts again from 0.
    s.previous_distance_m = std::isfinite(d) ? d : 0.0f;

    // 2. Wander.
    if (frame_clock > s.next_change_sec) {
        s.next_change_sec = frame_clock + 0.1f + 0.1f * UTIL_rand_fraction();
        s.wander_rate_1 = UTIL_rand_fraction() - 0.5f;
        s.wander_rate_2 = UTIL_rand_fraction() - 0.5f;
    }
    s.wander_1 = (s.wander_1 + s.wander_rate_1 * dt) * (1.0f - dt) + dt;
    s.wander_2 = (s.wander_2 + s.wander_rate_2 * dt) * (1.0f - dt) + dt;

    // 3. Engines and propellers.
    const float prop_ref_radps = a.acf_unpub_638100 * UNIT.rpm_to_radps;
    for (int i = 0; i < FLT_ENGINES && i < 8; ++i) {
        const float E = FLT_slot_failed(0, FAIL_SLOT_ENGINE_BASE + i) ? 0.0f : L;
        if (ACF_part_present(0, i)) {
            const float geared = ratio(f.POINT_tacrad[i] * a.acf_prop_gear_rat[i], a.acf_prop_gear_rat[0]);
            const float sp = std::fabs(ratio(geared, prop_ref_radps));
            SOUND_set_volume_pitch(sp * P, sp * E, SOUND_PROP_FIRST + i);
        }
        if (i < a.acf_num_engines && ACF_part_not_failed_or_hidden(0, i)) {
            const float se = engine_speed_ratio(a, f, i);
            const float t = std::fabs(f.ENGN_thro_use[i] * f.ENGN_mixt_pow_rat[i]);
            const level_mix m = mix_of_type(a.acf_en_type[i]);
            SOUND_set_volume_pitch(se * P, (m.a + m.b * t + m.c * se) * E, i);
        }
    }

    // 4. Jet roar.
    float sum_pitch = 0.0f;
    float sum_level = 0.0f;
    const float n_engines = static_cast<float>(a.acf_num_engines);
    for (int i = 0; i < a.acf_num_engines && i < FLT_ENGINES && i < 8; ++i) {
        if (!ACF_part_not_failed_or_hidden(0, i) || !ACF_engine_is_jet(0, i)) continue;
        if (f.ENGN_running[i] && f.ENGN_burning[i]) {
            sum_pitch += P / n_engines;
            sum_level += L / n_engines;
        }
        if (f.ENGN_running[i] && f.ENGN_propmode[i] == 3) {
            // A negative N1 (a spool turning backwards) would make the square
            // root NaN; it counts as 0.
            const float n = std::max(0.0f, f.ENGN_N1_[i] * 0.01f);
            const float t = std::fabs(f.ENGN_thro_use[i] * f.ENGN_mixt_pow_rat[i]);
            sum_pitch += P * std::sqrt(n) * s.wander_1 / n_engines;
            sum_level += ((0.5f * t + 0.5f * n) * 0.9f + 0.1f) * L * s.wander_2 / n_engines;
        }
    }
    if (sim_cockpit_switches.jato_on || frame_clock < f.rocket_timeout) {
        sum_pitch = P;
        sum_level = L;
    }
    if (!(sum_pitch > 0.01f) || !(sum_level > 0.01f)) {
        if (sound_slots.playing[SOUND_JET]) SOUND_stop(SOUND_JET);
    } else {
        if (!sound_slots.playing[SOUND_JET]) SOUND_play(SOUND_JET, 1, 1.0f, 0.0f);
        SOUND_set_volume_pitch(sum_pitch, sum_level, SOUND_JET);
    }

    // 5. Ground rumble (the camera does not change it).
    const float groundspeed_kt = std::fabs(f.groundspeed) * UNIT.mps_to_kts;
    if (f.onground_any && a.acf_gear_deploy[GEAR_LEG_FIRST] > 0.1f) {
        const float r = std::sqrt(groundspeed_kt / 90.0f);
        SOUND_set_volume_pitch(r, r, SOUND_RUMBLE);
    } else {
        SOUND_set_volume_pitch(1.0f, 0.0f, SOUND_RUMBLE);
    }

    // 6. Wind.
    const float gear_out = a.acf_gear_deploy[GEAR_LEG_FIRST] > 0.01f ? 1.2f : 1.0f;
    const float v = std::fabs(ratio(f.indicated_airspeed, a.acf_unpub_638096)) * gear_out;
    SOUND_set_volume_pitch(v * P, v * v * L, SOUND_WIND);

    // 7. Rain and hail.
    const float k = a.acf_Vne == 0.0f ? 1.25f : 0.5f + 1.5f * ratio(groundspeed_kt, a.acf_Vne);
    const float gs_mps = std::fabs(f.groundspeed);
    const float rain = sim_weather.precip_rain;
    const float hail = sim_weather.precip_hail;
    if (rain > 0.01f) SOUND_set_volume_pitch((0.5f + 0.005f * gs_mps) * rain * P, rain * k * L, SOUND_RAIN);
    if (hail > 0.01f) SOUND_set_volume_pitch((0.5f + 0.01f * gs_mps) * hail * P, hail * k * L, SOUND_HAIL);
}
