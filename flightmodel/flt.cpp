#include "flightmodel/flt.h"

#include <bit>

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
