// One frame of the simulation cycle in flying mode, from the state a first
// start leaves (the simulation defaults, no preference file) with the default
// trainer loaded into the user's slot and held in steady flight at 3,000 m:
// frames per second of the cycle alone, with the 0.05-, 0.1- and 1-s flags
// raised as a 20-frame-a-second run raises them (replay recording on every
// second frame). Particles expire once a frame as the scene pass, not run
// here, lets them.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/plat_sound.h"
#include "platform/plat_speech.h"
#include "core/alert.h"
#include "core/constants.h"
#include "shell/cycle.h"
#include "shell/defaults.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tools/bench/bench_aircraft.h"
#include "tools/bench/bench_defaults.h"
#include "tools/bench/bench_particles.h"
#include "core/replay.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"

namespace {

int alerts_seen = 0;

// A missing data folder beside the benchmark only costs the values it holds
// (the keys, the radio chatter); the run goes on.
void count_alert(int, const char* const[4], int) { ++alerts_seen; }

bench_aircraft::steady_flight steady;
bool trainer_loaded = false;

void first_start_state()
{
    static bool done = false;
    if (done) return;
    done = true;
    bench_default_state(count_alert);
    std::atexit(PLAT_speech_close);   // runs first: the voice's worker ends before the device closes
    // Without an aircraft the user's plane has nothing to stand on and falls
    // through the ground, and the cycle then rebuilds the scenery every frame.
    const float period = sim_operation_misc.frame_rate_period;
    std::string label;
    trainer_loaded = bench_aircraft::prepare(bench_aircraft::kind::trainer, 36.0f, &label);
    sim_operation_misc.frame_rate_period = period;
    steady.keep();
    MACIBM_set_alert_handler(count_alert);
    app_mode = MODE_FLYING;
}

void BM_plane_cycle_flying(benchmark::State& state)
{
    first_start_state();
    if (!trainer_loaded) {
        state.SkipWithError("no trainer in the data folder");
        return;
    }
    const float dt = sim_operation_misc.frame_rate_period;   // 0.05 s by default
    float last_fire[INTERVAL_COUNT] = {};
    int64_t frames = 0;
    for (auto _ : state) {
        if (frame_clock > 10000.0f) {   // keep the float clock fine enough to tell the 0.05-s steps apart
            frame_clock = 0.0f;
            for (float& t : last_fire) t = 0.0f;
            cycle.dataout_last_send = 0.0f;
        }
        frame_clock += dt;
        for (int k = 0; k < INTERVAL_COUNT; ++k) {
            interval_ticks[k] = frame_clock > last_fire[k] + interval_periods[k] ? 1 : 0;
            if (interval_ticks[k]) last_fire[k] = frame_clock;
        }
        update_plane_cycle();
        steady.restore();
        bench::expire_particles(dt);
        ++frames;
    }
    if (app_mode != MODE_FLYING) state.SkipWithError("left flying mode");
    state.counters["planes"] = sim_graphics_settings.draw_aircrafts;
    state.counters["replay_index"] = replay_index;
    state.counters["alerts"] = alerts_seen;
    state.counters["particles"] = static_cast<double>(particle_list.size());
    state.counters["height_m"] = flt[0].local_y;
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_plane_cycle_flying);

}  // namespace
