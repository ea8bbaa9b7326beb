// Plug-in data access through the registered accessors, as a plug-in calls
// them every frame: a scalar float get and set, and an 8-float array get.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "links/plugin_host.h"

namespace {

std::map<std::string, ORPM_data_ref> refs;

int capture(const char* name, int type, int writable, ORPM_get_int_fn gi, ORPM_set_int_fn si, ORPM_get_float_fn gf,
            ORPM_set_float_fn sf, ORPM_get_double_fn gd, ORPM_set_double_fn sd, ORPM_get_int_array_fn gia,
            ORPM_set_int_array_fn sia, ORPM_get_float_array_fn gfa, ORPM_set_float_array_fn sfa, ORPM_get_bytes_fn gb,
            ORPM_set_bytes_fn sb, void* rc, void* wc)
{
    refs[name] = ORPM_data_ref{nullptr, type, writable, gi, si, gf, sf, gd, sd, gia, sia, gfa, sfa, gb, sb, rc, wc};
    return 1;
}

const ORPM_data_ref& ref(const char* name)
{
    if (refs.empty()) {
        plugin_host.entries.register_data = capture;
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
