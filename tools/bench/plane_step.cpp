// One whole plane step of the user's plane (slot 0) for the trainer and the
// airliner in steady flight, with every stage: the control step, the element
// incidence, both integration half-steps with the force build-up, wheels,
// exhaust, lights, propellers and the cockpit's sounds and calls; the
// interval flags rise as in a 25-frames-a-second run. Beside them one step of
// a computer-flown plane on its approach. Particles expire once a frame as
// the scene pass lets them, so the exhaust puffs each step spawns go into a
// list of the size a running program keeps.

#include <benchmark/benchmark.h>

#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/plane_step.h"
#include "tools/bench/bench_particles.h"
#include "tools/bench/bench_aircraft.h"
#include "world/airport_state.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

namespace {

constexpr float FRAME_PERIOD = 0.04f;   // 25 frames a second

// The interval flags of the frame loop: each rises on the first frame past its period.
struct interval_clock {
    float time = 0.0f;
    float last[INTERVAL_COUNT] = {};
    void next_frame()
    {
        time += FRAME_PERIOD;
        for (int i = 0; i < INTERVAL_COUNT; ++i) {
            interval_ticks[i] = time > last[i] + interval_periods[i] ? 1 : 0;
            if (interval_ticks[i]) last[i] = time;
        }
        frame_clock = time;
    }
};

void cockpit_on()
{
    sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
    sim_operation_prefs.warn_bb = 1;
    screen_settings.radio_chatter_on = 1;
    sim_cockpit_switches.marker_panel_out = 1;
}

void user_plane(benchmark::State& state, bool airliner, float v)
{
    std::string label;
    if (!bench_aircraft::prepare(airliner ? bench_aircraft::kind::airliner : bench_aircraft::kind::trainer, v, &label)) {
        state.SkipWithError(airliner ? "no airliner in the data folder yet" : "no trainer in the data folder");
        return;
    }
    cockpit_on();
    PARTICLE_list_reset();
    sim_operation_misc.frame_rate_period = FRAME_PERIOD;
    bench_aircraft::steady_flight steady;
    steady.keep();
    interval_clock clock;
    for (auto _ : state) {
        clock.next_frame();
        FLTMOD_plane_step(0);
        // Hold the flight steady: the integration moves the plane on.
        steady.restore();
        benchmark::DoNotOptimize(flt[0].L);
        bench::expire_particles(FRAME_PERIOD);
    }
    state.counters["particles"] = static_cast<double>(particle_list.size());
    state.SetLabel(label);
}

void BM_plane_step_trainer(benchmark::State& state) { user_plane(state, false, 36.0f); }
void BM_plane_step_airliner(benchmark::State& state) { user_plane(state, true, 130.0f); }

// One computer-flown trainer on its approach to a runway 6 nm ahead.
void BM_traffic_step(benchmark::State& state)
{
    std::string label;
    if (!bench_aircraft::prepare(bench_aircraft::kind::trainer, 36.0f, &label)) {
        state.SkipWithError("no trainer in the data folder");
        return;
    }
    cockpit_on();
    PARTICLE_list_reset();
    std::memcpy(static_cast<void*>(&pln[2]), &pln[0], sizeof pln[0]);
    scenery_area = {-100000.0f, 100000.0f, -100000.0f, 100000.0f};
    airport_record apt{};
    runway_record rw{};
    rw.lat = lat_ref + 1.0f;
    rw.lon = lon_ref + 1.5f;
    rw.heading = 90.0f;
    rw.length = 1500.0f;
    apt.runways.push_back(rw);
    airport_table.assign(1, apt);
    traffic_runway_state = traffic_runway_record{};
    sim_graphics_settings.draw_aircrafts = 3;
    sim_operation_misc.frame_rate_period = FRAME_PERIOD;
    flt_struct& f = flt[2];
    f = flt_struct{};
    f.local_x = -12000.0f, f.local_y = 700.0f, f.groundspeed = 50.0f, f.psi = 90.0f;
    f.ai_app_mode = 1;
    interval_clock clock;
    for (auto _ : state) {
        clock.next_frame();
        FLTMOD_plane_step(2);
        // Back to the start of the approach (the record is large: only what the step moved).
        f.local_x = -12000.0f, f.local_y = 700.0f, f.local_z = 0.0f;
        f.groundspeed = 50.0f, f.psi = 90.0f, f.theta = f.phi = f.P = f.Q = 0.0f;
        f.ai_app_mode = 1;
        bench::expire_particles(FRAME_PERIOD);
    }
    state.counters["particles"] = static_cast<double>(particle_list.size());
    airport_table.clear();
}

}  // namespace

BENCHMARK(BM_plane_step_trainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_plane_step_airliner)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_traffic_step)->Unit(benchmark::kMicrosecond);
