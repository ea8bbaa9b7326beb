// One force-and-moment build-up of each kind of the fleet (the default
// trainer, the twin turboprop, the airliner and the helicopter) in steady
// flight at 3,000 m in still air with its engines running at cruise power
// (the plane step calls it twice a frame). The aircraft come from the data
// folder beside the benchmark through the aircraft set-up; where the set-up is
// not built yet the file alone is read and its missing set-up values are
// filled with plausible constants, which times the same stages on the same
// parts.

#include <benchmark/benchmark.h>

#include "tools/bench/bench_aircraft.h"

namespace {

using bench_aircraft::kind;
using bench_aircraft::prepare;

void run(benchmark::State& state, kind k, float v)
{
    std::string label;
    if (!prepare(k, v, &label)) {
        state.SkipWithError("no such aircraft in the data folder yet");
        return;
    }
    flt_struct& f = flt[0];
    const flt_struct steady = f;
    for (auto _ : state) {
        FM_forces_and_moments();
        // Hold the flight steady: the build-up integrates the velocities and rates.
        f.local_vx = steady.local_vx, f.local_vy = steady.local_vy, f.local_vz = steady.local_vz;
        f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
        benchmark::DoNotOptimize(f.L);
    }
    state.SetLabel(label);
}

void BM_forces_trainer(benchmark::State& state) { run(state, kind::trainer, 36.0f); }
void BM_forces_turboprop(benchmark::State& state) { run(state, kind::turboprop, 100.0f); }
void BM_forces_airliner(benchmark::State& state) { run(state, kind::airliner, 130.0f); }
void BM_forces_helicopter(benchmark::State& state) { run(state, kind::helicopter, 40.0f); }

}  // namespace

BENCHMARK(BM_forces_trainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_forces_turboprop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_forces_airliner)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_forces_helicopter)->Unit(benchmark::kMicrosecond);
