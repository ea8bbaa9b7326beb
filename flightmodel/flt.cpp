#include "flightmodel/flt.h"

#include <bit>

#include "aircraft/acf_struct.h"
#include "core/engine_types.h"

flt_struct flt[FLT_SLOTS]{};

namespace {

bool plane_ok(int plane) { return plane >= 0 && plane < FLT_SLOTS; }

}  // namespace

int32_t FLT_word_after_failures(int plane)
{
    if (!plane_ok(plane)) return 0;
    return std::bit_cast<int32_t>(flt[plane].failure_param[0]);
}

float FLT_word_after_failure_param(int plane)
{
    if (!plane_ok(plane)) return 0.0f;
    return std::bit_cast<float>(flt[plane].comp_fail_stat[0]);
}

int32_t FLT_failure_state(int plane, int slot)
{
    if (!plane_ok(plane) || slot < 0 || slot >= FAILURE_SLOTS) return 0;
    return flt[plane].failures[slot];
}

int FLT_failure_slot_of_part(int part)
{
    if (part >= 0 && part <= 7) return FAIL_SLOT_ENGINE_BASE + part;
    if (part >= 8 && part <= 43) return FAIL_SLOT_SURFACE_BASE + part;
    if (part >= 53 && part <= 60) return FAIL_SLOT_ENGINE_BASE + (part - 53);   // nacelles share their engine's slot
    if (part >= FLT_FIRST_GEAR_PART && part < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT)
        return FAIL_SLOT_GEAR_BASE + (part - FLT_FIRST_GEAR_PART);
    return -1;
}

int FLT_part_present(int plane, int part)
{
    if (!plane_ok(plane) || part < 0 || part >= FLT_PARTS) return 0;
    const acf_struct& a = pln[plane];

    if (part <= 7) {
        if (a.acf_hide_prop_at_90_vect != 0 && a.acf_vect_cant[part] >= 90.0f) return 0;
        if (FLT_slot_failed(plane, FAIL_SLOT_ENGINE_BASE + part)) return 0;
        if (part < a.acf_num_engines) return ACF_engine_has_prop(plane, part) || a.acf_en_type[part] == ENGINE_TIP_ROCKET;
        return part < a.acf_num_thrustpoints;
    }
    if (part <= 43 || (part >= 53 && part <= 60)) {
        if (FLT_slot_failed(plane, FLT_failure_slot_of_part(part))) return 0;
    }
    return a.acf_part_eq[part] != 0;
}
