// The published data names: a constant table in seven runs (integers, floats,
// float arrays, integer arrays, byte arrays, computed integers, computed
// floats), each name pointing at the variable of the user's plane (slot 0)
// where the variable is per-plane, and the accessors the plug-in manager
// calls with the context given at registration.
//
// Values written through the accessors are in general not range-checked:
// every reader of a count or index a plug-in can write bounds it where it
// uses it. The few integers whose value chooses something the program cannot
// do without (the planet drawn, the language whose text and menu files are
// read at the next start) refuse a write outside their range: the value they
// hold stays.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/time_probe.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/systems/gyros.h"
#include "graphics/ogl_state.h"
#include "links/plugin_host.h"

namespace {

struct scalar_entry {
    const char* name;
    int32_t flag;
    void* address;
};
struct array_entry {
    const char* name;
    int32_t flag;
    int32_t count;   // 4-byte elements, or bytes for the byte run
    void* address;
};
struct computed_entry {
    const char* name;
    int32_t flag;
    intptr_t index;
};

// The flag word of a row is not read (every name registers writable); the
// rows carry 1, the split of 0 and 1 between the names not being recorded
// with them (a stand-in with no effect on any caller).
// A row's variable must be of its run's type: the accessors read the word as
// that type, so an integer variable in the float run would be read as the bits
// of a float. The casts refuse to compile such a row.
#define SIM_INT(name, var) {name, 1, static_cast<void*>(static_cast<int32_t*>(&(var)))}
#define SIM_FLOAT(name, var) {name, 1, static_cast<void*>(static_cast<float*>(&(var)))}
#define SIM_ARRAY(name, var) {name, 1, static_cast<int32_t>(sizeof(var) / 4), static_cast<void*>(&(var))}
// `n` elements from the element `var` (a run inside a larger array).
#define SIM_ARRAY_N(name, var, n) {name, 1, n, static_cast<void*>(&(var))}
// Names whose value the program does not hold: each stands for a word of its
// own that nothing else reads, registered with the plain
// accessors like every other name, so a plug-in reads zero until it writes and
// then reads back what it wrote. The word takes the row's type.
#define SIM_ZERO_INT(name) {name, 1, []() -> void* { static int32_t word; return &word; }()}
#define SIM_ZERO_FLOAT(name) {name, 1, []() -> void* { static float word; return &word; }()}
// "sim/aircraft/acf_struct" (the ten aircraft records' addresses as 32-bit
// words) publishes zeros: no address of this program fits in 32 bits.
int32_t acf_struct_words[10];
#define SIM_BYTES(name, var) {name, 1, static_cast<int32_t>(sizeof(var)), static_cast<void*>(&(var))}
// The first `n` bytes of `var`.
#define SIM_BYTES_N(name, var, n) {name, 1, n, static_cast<void*>(&(var))}

// The names of the records' fields, written by tools/gen_plugin_names.py.
#include "core/units.h"
#include "links/plugin_data_blocks.inc"

const scalar_entry INT_RUN[] = {
    BLOCK_INT_ROWS
    {nullptr, 0, nullptr},
};

const scalar_entry FLOAT_RUN[] = {
    BLOCK_FLOAT_ROWS
    {nullptr, 0, nullptr},
};

const array_entry FLOAT_ARRAY_RUN[] = {
    BLOCK_FLOAT_ARRAY_ROWS
    {nullptr, 0, 0, nullptr},
};

const array_entry INT_ARRAY_RUN[] = {
    BLOCK_INT_ARRAY_ROWS
    {nullptr, 0, 0, nullptr},
};

const array_entry BYTE_RUN[] = {
    BLOCK_BYTES_ROWS
    {nullptr, 0, 0, nullptr},
};

enum : intptr_t {
    COMPUTED_AP_HEADING = 1,
    COMPUTED_AP_STATE = 2,
    COMPUTED_NAV1_OBS = 3,
    COMPUTED_NAV2_OBS = 4,
    COMPUTED_ADF1_CARD = 5,
    COMPUTED_ADF2_CARD = 6,
    COMPUTED_BARO_SEALEVEL = 7,
    COMPUTED_BARO_CURRENT = 8,
};

const computed_entry COMPUTED_INT_RUN[] = {
    {"sim/cockpit/autopilot/autopilot_state", 1, COMPUTED_AP_STATE},
    {nullptr, 0, 0},
};

const computed_entry COMPUTED_FLOAT_RUN[] = {
    {"sim/cockpit/autopilot/heading", 1, COMPUTED_AP_HEADING},
    {"sim/cockpit/radios/nav1_obs_degt", 1, COMPUTED_NAV1_OBS},
    {"sim/cockpit/radios/nav2_obs_degt", 1, COMPUTED_NAV2_OBS},
    {"sim/cockpit/radios/adf1_obs_card", 1, COMPUTED_ADF1_CARD},
    {"sim/cockpit/radios/adf2_obs_card", 1, COMPUTED_ADF2_CARD},
    {"sim/weather/barometer_sealevel_inhg", 1, COMPUTED_BARO_SEALEVEL},
    {"sim/weather/barometer_current_inhg", 1, COMPUTED_BARO_CURRENT},
    {nullptr, 0, 0},
};

// ---- accessors ------------------------------------------------------------
int DATAREF_get_int(void* context) { return *static_cast<int32_t*>(context); }
void DATAREF_set_int(void* context, int value) { *static_cast<int32_t*>(context) = value; }
float DATAREF_get_float(void* context) { return *static_cast<float*>(context); }
void DATAREF_set_float(void* context, float value) { *static_cast<float*>(context) = value; }

// Elements a copy of at most `max` from `offset` may touch: the smaller of
// max and count - offset, none for an offset at or past the count. A negative
// offset from a plug-in would copy from before the variable, and a negative
// maximum would hand memcpy a huge length: both copy nothing.
int span(const array_entry* e, int offset, int max)
{
    if (offset < 0 || max < 0 || offset >= e->count) return 0;
    return std::min(max, e->count - offset);
}

// One routine pair serves both 4-byte array runs: the float and the int forms
// are the same code, one for each pointer type the manager's slots take.
template <typename T> int DATAREF_get_array(void* context, T* out, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    if (out == nullptr) return e->count;
    const int n = span(e, offset, max);
    if (n > 0) std::memcpy(out, static_cast<const char*>(e->address) + size_t(offset) * 4, size_t(n) * 4);
    return n;
}
template <typename T> void DATAREF_set_array(void* context, T* in, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    const int n = in ? span(e, offset, max) : 0;   // no buffer to copy from (it would be read through null): nothing
    if (n > 0) std::memcpy(static_cast<char*>(e->address) + size_t(offset) * 4, in, size_t(n) * 4);
}

int DATAREF_get_bytes(void* context, void* out, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    if (out == nullptr) return e->count;
    const int n = span(e, offset, max);
    if (n > 0) std::memcpy(out, static_cast<const char*>(e->address) + offset, size_t(n));
    return n;
}
void DATAREF_set_bytes(void* context, void* in, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    const int n = in ? span(e, offset, max) : 0;
    if (n > 0) std::memcpy(static_cast<char*>(e->address) + offset, in, size_t(n));
}

int autopilot_state()
{
    const sim_cockpit_autopilot_block& a = sim_cockpit_autopilot;
    int word = 0;
    if (a.airspeed_mode == 10) word += 1;
    if (a.heading_mode == 11) word += 2;
    if (a.heading_mode == 12) word += 4;
    if (a.altitude_mode >= 13 && a.altitude_mode <= 17) word += 8 << (a.altitude_mode - 13);
    if (a.hnav_mode == 18) word += 256;
    if (a.hnav_mode == 19) word += 512;
    if (a.vnav_mode == 20) word += 1024;
    if (a.vnav_mode == 21) word += 2048;
    return word;
}

int DATAREF_get_computed_int(void* context) { return reinterpret_cast<intptr_t>(context) == COMPUTED_AP_STATE ? autopilot_state() : 0; }
void DATAREF_set_nothing(void*, int) {}

// The magnetic value a true-bearing name stands for, null for the others.
float* magnetic_of(intptr_t index)
{
    switch (index) {
    case COMPUTED_AP_HEADING: return &sim_cockpit_autopilot.heading_mag;
    case COMPUTED_NAV1_OBS: return &sim_cockpit_radios.nav1_obs_degm;
    case COMPUTED_NAV2_OBS: return &sim_cockpit_radios.nav2_obs_degm;
    case COMPUTED_ADF1_CARD: return &sim_cockpit_radios.adf1_obs_card_mag;
    case COMPUTED_ADF2_CARD: return &sim_cockpit_radios.adf2_obs_card_mag;
    default: return nullptr;
    }
}

float* pressure_of(intptr_t index)
{
    if (index == COMPUTED_BARO_SEALEVEL) return &sim_physics.earth_pressure_p;
    if (index == COMPUTED_BARO_CURRENT) return &sim_physics.ambient_pressure;
    return nullptr;
}

float DATAREF_get_computed_float(void* context)
{
    const intptr_t index = reinterpret_cast<intptr_t>(context);
    if (float* m = magnetic_of(index)) return *m - sim_flightmodel_position.magnetic_variation;
    if (float* p = pressure_of(index)) return *p * UNIT.pa_to_inhg;
    return 0.0f;
}

void DATAREF_set_computed_float(void* context, float value)
{
    const intptr_t index = reinterpret_cast<intptr_t>(context);
    if (float* m = magnetic_of(index)) *m = value + sim_flightmodel_position.magnetic_variation;
    else if (float* p = pressure_of(index)) *p = value * UNIT.inhg_to_pa;
}

// The published integers that refuse a value outside [low, high].
struct bounded_int {
    int32_t* address;
    int32_t low, high;
};
const bounded_int BOUNDED_INTS[] = {
    {&sim_graphics_scenery.current_planet, PLANET_EARTH, PLANET_MARS},
    {&sim_operation_prefs_misc.language, 0, LANGUAGE_COUNT - 1},
};

const bounded_int* bounds_of(const void* address)
{
    for (const bounded_int& b : BOUNDED_INTS)
        if (b.address == address) return &b;
    return nullptr;
}

// The setter of a bounded integer: its context is the variable, as for every
// other integer (a manager may take the read and write contexts as one). A
// planet other than the Earth or Mars would stop the program with a fatal
// alert at the next scene, and a language past the list would index past the
// text and menu tables: such a write is refused and the old value stays.
void set_bounded_int(void* context, int value)
{
    const bounded_int* b = bounds_of(context);
    if (b && (value < b->low || value > b->high)) return;
    *static_cast<int32_t*>(context) = value;
}

template <typename E, size_t N> constexpr int run_length(const E (&)[N]) { return static_cast<int>(N) - 1; }

}   // namespace

int PLUGIN_dataref_count()
{
    return run_length(INT_RUN) + run_length(FLOAT_RUN) + run_length(FLOAT_ARRAY_RUN) + run_length(INT_ARRAY_RUN) +
           run_length(BYTE_RUN) + run_length(COMPUTED_INT_RUN) + run_length(COMPUTED_FLOAT_RUN);
}

void PLUGIN_register_datarefs()
{
    const ORPMRegisterDataAccessor_fn reg = plugin_host.entries.register_data;
    if (reg == nullptr) return;
    for (const scalar_entry* e = INT_RUN; e->name; ++e)
        reg(e->name, ORPM_TYPE_INT, 1, DATAREF_get_int, bounds_of(e->address) ? set_bounded_int : DATAREF_set_int,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, e->address,
            e->address);
    for (const scalar_entry* e = FLOAT_RUN; e->name; ++e)
        reg(e->name, ORPM_TYPE_FLOAT, 1, nullptr, nullptr, DATAREF_get_float, DATAREF_set_float, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, e->address, e->address);
    for (const array_entry* e = FLOAT_ARRAY_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_FLOAT_ARRAY, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            DATAREF_get_array<float>, DATAREF_set_array<float>, nullptr, nullptr, ctx, ctx);
    }
    for (const array_entry* e = INT_ARRAY_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_INT_ARRAY, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            DATAREF_get_array<int>, DATAREF_set_array<int>, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
    for (const array_entry* e = BYTE_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_BYTES, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, DATAREF_get_bytes, DATAREF_set_bytes, ctx, ctx);
    }
    for (const computed_entry* e = COMPUTED_INT_RUN; e->name; ++e) {
        void* ctx = reinterpret_cast<void*>(e->index);
        reg(e->name, ORPM_TYPE_INT, 1, DATAREF_get_computed_int, DATAREF_set_nothing, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
    for (const computed_entry* e = COMPUTED_FLOAT_RUN; e->name; ++e) {
        void* ctx = reinterpret_cast<void*>(e->index);
        reg(e->name, ORPM_TYPE_FLOAT, 1, nullptr, nullptr, DATAREF_get_computed_float, DATAREF_set_computed_float,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
}
