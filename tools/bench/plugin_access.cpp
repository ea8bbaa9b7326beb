// Plug-in data access through the registered accessors, as a plug-in calls
// them every frame: a scalar float get and set, and an 8-float array get.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "links/plugin_host.h"
#include "tests/support/plugin_capture.h"

namespace {

std::map<std::string, ORPM_data_ref>& refs = captured_data_refs;

const ORPM_data_ref& ref(const char* name)
{
    if (refs.empty()) {
        plugin_host.entries.register_data = capture_data_ref;
        PLUGIN_register_datarefs();
        PLUGIN_host_reset();
    }
    return refs.at(name);
}

void ScalarFloatGet(benchmark::State& state)
{
    const ORPM_data_ref& r = ref("sim/flightmodel/position/indicated_airspeed");
    for (auto _ : state) benchmark::DoNotOptimize(r.get_float(r.read_context));
}
BENCHMARK(ScalarFloatGet);

void ScalarFloatSet(benchmark::State& state)
{
    const ORPM_data_ref& r = ref("sim/cockpit/autopilot/airspeed");
    float v = 0.0f;
    for (auto _ : state) {
        r.set_float(r.write_context, v);
        v += 1.0f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ScalarFloatSet);

void EightFloatArrayGet(benchmark::State& state)
{
    const ORPM_data_ref& r = ref("sim/flightmodel/engine/ENGN_thro");
    float out[8];
    for (auto _ : state) {
        benchmark::DoNotOptimize(r.get_float_array(r.read_context, out, 0, 8));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(EightFloatArrayGet);

}   // namespace
