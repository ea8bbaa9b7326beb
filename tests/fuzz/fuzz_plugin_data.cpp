// A plug-in reading and writing the published data: the program registers
// its names with the plug-in manager (ours, built in), and the input plays a
// plug-in that looks names up through the manager's lookup and calls the
// accessors it finds with indices, counts and values of its own choosing,
// with simulation cycles of the flying view between, which read what it wrote.
//
// Input: a run of operations, each a lead byte (255: a simulation cycle
// instead), the name (a byte below 250 and a two-byte index into the
// published names, or a byte of 250 or more, a length byte and that many
// bytes of a name of its own), the accessor's byte, then its numbers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/plugin_host.h"
#include "shell/cycle.h"
#include "tests/fuzz/fuzz_support.h"

// The manager the program ships, built into this target rather than loaded.
#include "plugins/orpm.cpp"

namespace {

constexpr int MOST_ELEMENTS = 4096;   // the plug-in's buffer, in elements
constexpr int MOST_CYCLES = 8;

std::vector<std::string> names;

const ORPM_data_ref* pick(fuzz_input& in)
{
    const uint8_t how = in.byte();
    if (how < 250) {
        const size_t index = (static_cast<size_t>(in.byte()) | static_cast<size_t>(in.byte()) << 8) % names.size();
        return find_data(names[index].c_str());
    }
    std::string own;
    for (int n = in.byte(); n > 0 && in.more(); --n) own.push_back(static_cast<char>(in.byte()));
    return find_data(own.c_str());
}

// An array call: the plug-in's buffer holds the count it passes (none when
// the count is not positive); a set copies the input's words into it first.
template <typename T, typename Get, typename Set>
void array_call(fuzz_input& in, bool set, Get get, Set set_fn, void* read_context, void* write_context)
{
    const int32_t offset = in.integer();
    const int16_t count = static_cast<int16_t>(in.byte() | in.byte() << 8);
    std::vector<T> buffer(static_cast<size_t>(std::clamp<int>(count, 0, MOST_ELEMENTS)));
    const int max = std::min<int>(count, MOST_ELEMENTS);
    if (set) {
        for (T& v : buffer) {
            const uint32_t w = in.word();
            std::memcpy(&v, &w, std::min(sizeof v, sizeof w));
        }
        if (set_fn) set_fn(write_context, buffer.empty() ? nullptr : buffer.data(), offset, max);
    } else if (get) {
        get(read_context, nullptr, offset, max);   // the element count
        get(read_context, buffer.empty() ? nullptr : buffer.data(), offset, max);
    }
}

void operate(fuzz_input& in, const ORPM_data_ref& r)
{
    switch (in.byte() % 12) {
    case 0: if (r.get_int) r.get_int(r.read_context); break;
    case 1: if (r.set_int) r.set_int(r.write_context, in.integer()); break;
    case 2: if (r.get_float) r.get_float(r.read_context); break;
    case 3: if (r.set_float) r.set_float(r.write_context, in.real()); break;
    case 4: if (r.get_double) r.get_double(r.read_context); break;
    case 5: if (r.set_double) r.set_double(r.write_context, static_cast<double>(in.real())); break;
    case 6: array_call<int>(in, false, r.get_int_array, r.set_int_array, r.read_context, r.write_context); break;
    case 7: array_call<int>(in, true, r.get_int_array, r.set_int_array, r.read_context, r.write_context); break;
    case 8: array_call<float>(in, false, r.get_float_array, r.set_float_array, r.read_context, r.write_context); break;
    case 9: array_call<float>(in, true, r.get_float_array, r.set_float_array, r.read_context, r.write_context); break;
    case 10: array_call<uint8_t>(in, false, r.get_bytes, r.set_bytes, r.read_context, r.write_context); break;
    default: array_call<uint8_t>(in, true, r.get_bytes, r.set_bytes, r.read_context, r.write_context); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (names.empty()) {
        fuzz_program_folder();
        PLUGIN_host_reset();
        plugin_host.entries.register_data = ORPMRegisterDataAccessor;
        PLUGIN_register_datarefs();
        for (const auto& [name, ref] : state().data) names.push_back(name);
        std::sort(names.begin(), names.end());
        if (names.empty()) return 0;
    }
    RESET_all();
    pln[0] = acf_struct{};
    flt[0] = flt_struct{};
    sim_graphics_settings.draw_aircrafts = 1;   // the user's plane is stepped
    app_mode = MODE_FLYING;
    fuzz_input in{data, size};
    int cycles = 0;
    try {
        while (in.more()) {
            // Operation 255 hands the frame to the program for a cycle.
            if (in.data[in.at] == 255) {
                ++in.at;
                if (cycles++ < MOST_CYCLES) update_plane_cycle();
                continue;
            }
            ++in.at;
            if (const ORPM_data_ref* r = pick(in)) operate(in, *r);
        }
        update_plane_cycle();
    } catch (const fuzz_fatal_alert&) {
    }
    return 0;
}
