// The published data names: a constant table in seven runs (integers, floats,
// float arrays, integer arrays, byte arrays, computed integers, computed
// floats), each name pointing at the variable of the user's plane (slot 0)
// where the variable is per-plane, and the accessors the plug-in manager
// calls with the context given at registration.
//
// Values written through the accessors are not range-checked: every reader of
// a count or index a plug-in can write bounds it where it uses it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
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

#define SIM_INT(name, var) {name, 1, static_cast<void*>(&(var))}
#define SIM_FLOAT(name, var) {name, 1, static_cast<void*>(&(var))}
#define SIM_ARRAY(name, var) {name, 1, static_cast<int32_t>(sizeof(var) / 4), static_cast<void*>(&(var))}
// "sim/aircraft/acf_struct" (the ten aircraft records' addresses as 32-bit
// words) publishes zeros: no address of this program fits in 32 bits.
int32_t acf_struct_words[10];
#define SIM_INT_ARRAY_ACF_STRUCT SIM_ARRAY("sim/aircraft/acf_struct", acf_struct_words),
#define SIM_BYTES(name, var) {name, 1, static_cast<int32_t>(sizeof(var)), static_cast<void*>(&(var))}

// The fields of the global blocks, one name each.
#include "links/plugin_data_blocks.inc"

const scalar_entry INT_RUN[] = {
    BLOCK_INT_ROWS
    {nullptr, 0, nullptr},
};

const scalar_entry FLOAT_RUN[] = {
    BLOCK_FLOAT_ROWS
    SIM_FLOAT("sim/flightmodel/position/local_x", flt[0].local_x),
    SIM_FLOAT("sim/flightmodel/position/local_y", flt[0].local_y),
    SIM_FLOAT("sim/flightmodel/position/local_z", flt[0].local_z),
    SIM_FLOAT("sim/flightmodel/position/theta", flt[0].theta),
    SIM_FLOAT("sim/flightmodel/position/phi", flt[0].phi),
    SIM_FLOAT("sim/flightmodel/position/psi", flt[0].psi),
    SIM_FLOAT("sim/flightmodel/position/latitude", flt[0].latitude),
    SIM_FLOAT("sim/flightmodel/position/longitude", flt[0].longitude),
    SIM_FLOAT("sim/flightmodel/position/indicated_airspeed", flt[0].indicated_airspeed),
    SIM_FLOAT("sim/flightmodel/position/vh_ind", flt[0].vh_ind),
    SIM_FLOAT("sim/flightmodel/controls/flaprat", flt[0].flaprat),
    SIM_FLOAT("sim/flightmodel/controls/flaprqst", flt[0].flaprqst),
    SIM_FLOAT("sim/flightmodel/controls/sbrkrat", flt[0].sbrkrat),
    SIM_FLOAT("sim/flightmodel/controls/sbrkrqst", flt[0].sbrkrqst),
    SIM_FLOAT("sim/flightmodel/controls/slatrat", flt[0].slatrat),
    SIM_FLOAT("sim/flightmodel/controls/swdi", flt[0].swdi),
    SIM_FLOAT("sim/aircraft/specialcontrols/acf_splr_up", pln[0].acf_splr_up),
    SIM_FLOAT("sim/joystick/FC_ptch", flt[0].FC_ptch),
    SIM_FLOAT("sim/joystick/FC_roll", flt[0].FC_roll),
    SIM_FLOAT("sim/joystick/FC_hdng", flt[0].FC_hdng),
    // The gravity at the user's plane, published (as it always was) under the
    // speed-of-sound name too; plug-ins rely on what it reads.
    SIM_FLOAT("sim/weather/speed_sound_ms", sim_physics.g_sealevel),
    {nullptr, 0, nullptr},
};

const array_entry FLOAT_ARRAY_RUN[] = {
    BLOCK_FLOAT_ARRAY_ROWS
    SIM_ARRAY("sim/flightmodel/engine/ENGN_thro", flt[0].ENGN_thro),
    SIM_ARRAY("sim/flightmodel/engine/ENGN_thro_use", flt[0].ENGN_thro_use),
    {nullptr, 0, 0, nullptr},
};

const array_entry INT_ARRAY_RUN[] = {
    BLOCK_INT_ARRAY_ROWS
    SIM_ARRAY("sim/operation/failures/failures", flt[0].failures),
    SIM_INT_ARRAY_ACF_STRUCT
    {nullptr, 0, 0, nullptr},
};

const array_entry BYTE_RUN[] = {
    BLOCK_BYTES_ROWS
    SIM_BYTES("sim/aircraft/view/acf_tailnum", pln[0].acf_tailnum),
    SIM_BYTES("sim/aircraft/view/acf_author", pln[0].acf_author),
    SIM_BYTES("sim/aircraft/view/acf_descrip", pln[0].acf_descrip),
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

constexpr float INHG_PER_PA = 0.00029528743f;
const float PA_PER_INHG = 1.0f / INHG_PER_PA;

// ---- accessors ------------------------------------------------------------
int get_int(void* context) { return *static_cast<int32_t*>(context); }
void set_int(void* context, int value) { *static_cast<int32_t*>(context) = value; }
float get_float(void* context) { return *static_cast<float*>(context); }
void set_float(void* context, float value) { *static_cast<float*>(context) = value; }

// Elements a copy of at most `max` from `offset` may touch: none for a
// negative offset or maximum or an offset at or past the count.
int span(const array_entry* e, int offset, int max)
{
    if (offset < 0 || max < 0 || offset >= e->count) return 0;
    return std::min(max, e->count - offset);
}

template <typename T> int get_array(void* context, T* out, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    if (out == nullptr) return e->count;
    const int n = span(e, offset, max);
    if (n > 0) std::memcpy(out, static_cast<const char*>(e->address) + size_t(offset) * 4, size_t(n) * 4);
    return n;
}
template <typename T> void set_array(void* context, T* in, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    const int n = in ? span(e, offset, max) : 0;
    if (n > 0) std::memcpy(static_cast<char*>(e->address) + size_t(offset) * 4, in, size_t(n) * 4);
}

int get_bytes(void* context, void* out, int offset, int max)
{
    const auto* e = static_cast<const array_entry*>(context);
    if (out == nullptr) return e->count;
    const int n = span(e, offset, max);
    if (n > 0) std::memcpy(out, static_cast<const char*>(e->address) + offset, size_t(n));
    return n;
}
void set_bytes(void* context, void* in, int offset, int max)
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

int get_computed_int(void* context) { return reinterpret_cast<intptr_t>(context) == COMPUTED_AP_STATE ? autopilot_state() : 0; }
void set_nothing(void*, int) {}

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

float get_computed_float(void* context)
{
    const intptr_t index = reinterpret_cast<intptr_t>(context);
    if (float* m = magnetic_of(index)) return *m - sim_flightmodel_position.magnetic_variation;
    if (float* p = pressure_of(index)) return *p * INHG_PER_PA;
    return 0.0f;
}

void set_computed_float(void* context, float value)
{
    const intptr_t index = reinterpret_cast<intptr_t>(context);
    if (float* m = magnetic_of(index)) *m = value + sim_flightmodel_position.magnetic_variation;
    else if (float* p = pressure_of(index)) *p = value * PA_PER_INHG;
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
        reg(e->name, ORPM_TYPE_INT, 1, get_int, set_int, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr, e->address, e->address);
    for (const scalar_entry* e = FLOAT_RUN; e->name; ++e)
        reg(e->name, ORPM_TYPE_FLOAT, 1, nullptr, nullptr, get_float, set_float, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, e->address, e->address);
    for (const array_entry* e = FLOAT_ARRAY_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_FLOAT_ARRAY, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            get_array<float>, set_array<float>, nullptr, nullptr, ctx, ctx);
    }
    for (const array_entry* e = INT_ARRAY_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_INT_ARRAY, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, get_array<int>,
            set_array<int>, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
    for (const array_entry* e = BYTE_RUN; e->name; ++e) {
        void* ctx = const_cast<array_entry*>(e);
        reg(e->name, ORPM_TYPE_BYTES, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, get_bytes, set_bytes, ctx, ctx);
    }
    for (const computed_entry* e = COMPUTED_INT_RUN; e->name; ++e) {
        void* ctx = reinterpret_cast<void*>(e->index);
        reg(e->name, ORPM_TYPE_INT, 1, get_computed_int, set_nothing, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
    for (const computed_entry* e = COMPUTED_FLOAT_RUN; e->name; ++e) {
        void* ctx = reinterpret_cast<void*>(e->index);
        reg(e->name, ORPM_TYPE_FLOAT, 1, nullptr, nullptr, get_computed_float, set_computed_float, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, ctx, ctx);
    }
}
